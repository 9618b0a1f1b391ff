#include "platform/sys/CdMediaMonitor.h"

#include <libudev.h>

#include <QSocketNotifier>
#include <cstring>
#include <memory>
#include <string>

#include "platform/sys/Drives.h"

namespace {

struct TMonitor {
  udev* Udev = nullptr;
  udev_monitor* Monitor = nullptr;
  std::unique_ptr<QSocketNotifier> Notifier;
  ~TMonitor() {
    Notifier.reset();
    if (Monitor) udev_monitor_unref(Monitor);
    if (Udev) udev_unref(Udev);
  }
};

TCdMediaHandler& Handler() {
  static TCdMediaHandler handler;
  return handler;
}

std::unique_ptr<TMonitor>& Monitor() {
  static std::unique_ptr<TMonitor> monitor;
  return monitor;
}

char LetterOfDevice(const char* node) {
  if (!node) return 0;
  for (const auto& d : DriveTable())
    if (d.Type == DRIVE_CDROM && d.Device == node) return d.Letter;
  return 0;
}

void Receive() {
  udev_device* dev = udev_monitor_receive_device(Monitor()->Monitor);
  if (!dev) return;
  const char* action = udev_device_get_action(dev);
  const char letter = LetterOfDevice(udev_device_get_devnode(dev));
  const char* media = udev_device_get_property_value(dev, "ID_CDROM_MEDIA");
  const bool hasMedia = media && std::strcmp(media, "1") == 0;
  udev_device_unref(dev);
  if (!letter || !action) return;
  // A tray opened or closed, a disc put in or taken out: the drive sends "change".
  if (std::strcmp(action, "change") == 0 || std::strcmp(action, "add") == 0)
    NotifyCdMediaChange(letter, hasMedia ? TCdMediaEvent::Arrived : TCdMediaEvent::Removed);
  else if (std::strcmp(action, "remove") == 0)
    NotifyCdMediaChange(letter, TCdMediaEvent::Removed);
}

}  // namespace

bool StartCdMediaMonitor(TCdMediaHandler H) {
  Handler() = std::move(H);
  if (Monitor()) return true;
  auto m = std::make_unique<TMonitor>();
  m->Udev = udev_new();
  if (!m->Udev) return false;
  m->Monitor = udev_monitor_new_from_netlink(m->Udev, "udev");
  if (!m->Monitor ||
      udev_monitor_filter_add_match_subsystem_devtype(m->Monitor, "block", "disk") < 0 ||
      udev_monitor_enable_receiving(m->Monitor) < 0)
    return false;
  m->Notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m->Monitor),
                                                  QSocketNotifier::Read);
  QObject::connect(m->Notifier.get(), &QSocketNotifier::activated, [] { Receive(); });
  Monitor() = std::move(m);
  return true;
}

void StopCdMediaMonitor() {
  Monitor().reset();
  Handler() = nullptr;
}

void NotifyCdMediaChange(char Letter, TCdMediaEvent Event) {
  if (Handler()) Handler()(Letter, Event);
}

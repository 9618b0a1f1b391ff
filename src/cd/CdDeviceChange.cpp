#include "cd/CdDeviceChange.h"

#include "platform/sys/CdMediaMonitor.h"
#include "platform/win/Windows.h"

namespace {

void Broadcast(char Letter, TCdMediaEvent Event) {
  if (Letter >= 'a' && Letter <= 'z') Letter = char(Letter - 32);
  if (Letter < 'A' || Letter > 'Z') return;
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (Letter - 'A');
  volume.dbcv_flags = DBTF_MEDIA;
  const WPARAM kind = Event == TCdMediaEvent::Arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [&](HWND w, LPARAM) {
        windows.push_back(w);
        return TRUE;
      },
      0);
  // A window may go away while an earlier one handles the message: each is asked by handle.
  for (HWND w : windows)
    if (IsWindow(w)) SendMessage(w, WM_DEVICECHANGE, kind, reinterpret_cast<LPARAM>(&volume));
}

}  // namespace

bool StartCdDeviceNotifications() { return StartCdMediaMonitor(Broadcast); }

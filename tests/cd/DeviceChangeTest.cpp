// A disc change of a drive reaches every top-level window as the device-change message.

#include <gtest/gtest.h>

#include "cd/CdDeviceChange.h"
#include "platform/sys/CdMediaMonitor.h"
#include "platform/win/Windows.h"

namespace {

struct TSeen {
  WPARAM Kind;
  uint32_t Type, Units;
  uint16_t Flags;
};
std::vector<TSeen> gSeen;

LRESULT Record(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_DEVICECHANGE) {
    const auto* v = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lp);
    gSeen.push_back({wp, v->dbcv_devicetype, v->dbcv_unitmask, v->dbcv_flags});
    return TRUE;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

TEST(DeviceChange, ImageDriveChangeReachesTopLevelWindows) {
  HWND a = CreateWindowEx(0, "STATIC", "a", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, "STATIC", "b", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, "STATIC", "c", WS_CHILD, 0, 0, 5, 5, a, nullptr, nullptr, nullptr);
  for (HWND w : {a, b, child}) SetWindowSubclass(w, Record, 1, 0);
  StartCdDeviceNotifications();  // without udev only the image drives report

  gSeen.clear();
  NotifyCdMediaChange('e', TCdMediaEvent::Removed);
  NotifyCdMediaChange('E', TCdMediaEvent::Arrived);
  ASSERT_EQ(gSeen.size(), 4u);  // two windows, two changes; the child hears nothing
  EXPECT_EQ(gSeen[0].Kind, DBT_DEVICEREMOVECOMPLETE);
  EXPECT_EQ(gSeen[3].Kind, DBT_DEVICEARRIVAL);
  for (const auto& s : gSeen) {
    EXPECT_EQ(s.Type, DBT_DEVTYP_VOLUME);
    EXPECT_EQ(s.Units, 1u << 4);
    EXPECT_EQ(s.Flags, DBTF_MEDIA);
  }
  StopCdMediaMonitor();
  gSeen.clear();
  NotifyCdMediaChange('E', TCdMediaEvent::Arrived);
  EXPECT_TRUE(gSeen.empty());
  for (HWND w : {a, b}) DestroyWindow(w);
}

}  // namespace

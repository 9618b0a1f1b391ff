#pragma once
// Disc changes reach the windows as the device-change message: sent to every top-level window
// of the GUI thread, with a volume record naming the drive.

#include <cstdint>

constexpr unsigned DBT_DEVICEARRIVAL = 0x8000;
constexpr unsigned DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr uint32_t DBT_DEVTYP_VOLUME = 2;
constexpr uint16_t DBTF_MEDIA = 1;

struct DEV_BROADCAST_HDR {
  uint32_t dbch_size;
  uint32_t dbch_devicetype;
  uint32_t dbch_reserved;
};

struct DEV_BROADCAST_VOLUME {
  uint32_t dbcv_size;
  uint32_t dbcv_devicetype;
  uint32_t dbcv_reserved;
  uint32_t dbcv_unitmask;  // bit 0 for A:, bit 3 for D:...
  uint16_t dbcv_flags;
};

// Starts the drive monitor with the broadcast as its handler (idempotent); false when only
// image drives can report (NotifyCdMediaChange).
bool StartCdDeviceNotifications();

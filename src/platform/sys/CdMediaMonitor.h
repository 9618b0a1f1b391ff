#pragma once
// Disc changes in the CD drives of the drive table: a libudev monitor of the sr devices watched
// from the GUI thread's event loop, and the same report made by hand for image drives (whose
// cue sheet was replaced).

#include <functional>

enum class TCdMediaEvent { Arrived, Removed };
using TCdMediaHandler = std::function<void(char Letter, TCdMediaEvent Event)>;

// Installs the handler and starts the monitor (once); false when udev cannot be watched, in
// which case only NotifyCdMediaChange reports. A null handler stops the reports.
bool StartCdMediaMonitor(TCdMediaHandler Handler);
void StopCdMediaMonitor();
// Reports a change of a drive as the monitor reports one of a real drive.
void NotifyCdMediaChange(char Letter, TCdMediaEvent Event);

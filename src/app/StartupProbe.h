#pragma once
// For measuring start-up: with SONALIX_STARTUP_PROBE naming a file, the program writes there the
// monotonic clock (nanoseconds, CLOCK_MONOTONIC) at which the main window had completely
// painted, and with a file on the command line the moment its waveform had painted too, then
// quits. A benchmark reads the clock before starting the program and subtracts.

// Installs the watcher when the variable is set; does nothing otherwise.
void InstallStartupProbe();

#pragma once
// The desktop-composition library, bound at run time by name on systems after version 5.

#include <string>

#include "platform/sys/Modules.h"

extern const char* const DwmApiEntryNames[12];
// The bound entry of a name (null when the library or the entry is missing).
FARPROC DwmApiEntry(const std::string& Name);

bool IsDwmApiLoaded();
// False without the library or its entry.
bool IsCompositionEnabled();

void cxDWMApiInitialize();
void cxDWMApiFinalize();

#include "suite/core/cxDWMApi.h"

#include <array>
#include <cstdint>

const char* const DwmApiEntryNames[12] = {
    "DwmDefWindowProc", "DwmEnableBlurBehindWindow", "DwmEnableComposition", "DwmEnableMMCSS",
    "DwmExtendFrameIntoClientArea", "DwmGetColorizationColor", "DwmGetWindowAttribute",
    "DwmIsCompositionEnabled", "DwmSetWindowAttribute", "DwmSetIconicThumbnail",
    "DwmSetIconicLivePreviewBitmap", "DwmInvalidateIconicBitmaps"};

namespace {
HMODULE gDwmApi = nullptr;
bool gDwmApiLoaded = false;
std::array<FARPROC, 12> gEntries{};
int gDwmUnitCount = 0;
}  // namespace

FARPROC DwmApiEntry(const std::string& Name) {
  for (std::size_t i = 0; i < gEntries.size(); ++i)
    if (Name == DwmApiEntryNames[i]) return gEntries[i];
  return nullptr;
}

bool IsDwmApiLoaded() { return gDwmApiLoaded; }

bool IsCompositionEnabled() {
  if (!gDwmApiLoaded) return false;
  using TDwmIsCompositionEnabled = int32_t (*)(int* Enabled);
  auto f = reinterpret_cast<TDwmIsCompositionEnabled>(DwmApiEntry("DwmIsCompositionEnabled"));
  int enabled = 0;
  if (!f || f(&enabled) < 0) return false;
  return enabled != 0;
}

void cxDWMApiInitialize() {
  if (gDwmUnitCount++ > 0) return;
  gEntries.fill(nullptr);
  if (OSVersion().Major <= 5) return;
  gDwmApi = LoadLibrary("dwmapi.dll");
  if (!gDwmApi) return;
  for (std::size_t i = 0; i < gEntries.size(); ++i)
    gEntries[i] = GetProcAddress(gDwmApi, DwmApiEntryNames[i]);
  gDwmApiLoaded = true;
}

void cxDWMApiFinalize() {
  if (gDwmUnitCount == 0 || --gDwmUnitCount > 0) return;
  if (gDwmApi) FreeLibrary(gDwmApi);
  gDwmApi = nullptr;
  gDwmApiLoaded = false;
  gEntries.fill(nullptr);
}

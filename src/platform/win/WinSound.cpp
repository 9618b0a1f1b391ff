#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "platform/win/Windows.h"

namespace {
// The system sound events this desktop knows; none has a sound attached.
constexpr std::array<std::string_view, 12> kSilentAliases = {
    "MenuPopup", "MenuCommand", "SystemAsterisk", "SystemExclamation", "SystemHand",
    "SystemQuestion", "SystemDefault", "SystemStart", "SystemExit", "Minimize", "Maximize",
    "RestoreUp"};

bool SameAlias(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

std::function<void(const char*)>& SoundWatcher() {
  static std::function<void(const char*)> watcher;
  return watcher;
}

void SetPlaySoundWatcher(std::function<void(const char* Sound)> Watcher) { SoundWatcher() = std::move(Watcher); }

BOOL PlaySound(const char* pszSound, HMODULE, DWORD fdwSound) {
  if (SoundWatcher()) SoundWatcher()(pszSound);
  // A null name stops whatever plays; nothing ever plays here.
  if (!pszSound) return TRUE;
  std::string_view name(pszSound);
  bool known = std::any_of(kSilentAliases.begin(), kSilentAliases.end(),
                           [&](std::string_view a) { return SameAlias(a, name); });
  if (known) return TRUE;
  if (fdwSound & SND_NODEFAULT) return FALSE;
  MessageBeep(0);
  return TRUE;
}

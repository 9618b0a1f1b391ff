#include "appbase/Globals.h"

#include "appbase/Utils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Registry.h"

TGlobalVars GlobalVars;

const char* const SettingsKey = "SOFTWARE\\KRV\\Sonalix Sound Editor\\5.0\\";

namespace {

#define SONALIX_GV_INFO(name, type, def, stored) \
  {#name, gv##type, TGlobalDefault(def), stored, &TGlobalVars::name},
const TGlobalVarInfo kInfos[] = {SONALIX_GLOBAL_VARS(SONALIX_GV_INFO)};
#undef SONALIX_GV_INFO

constexpr int kCount = int(sizeof kInfos / sizeof kInfos[0]);

// The stop-after time is written as a time text; it is read with its own separator so that the
// process-wide settings stay as they are.
double TimeDefault(const char* text) {
  TFormatSettings settings;
  settings.TimeSeparator = ':';
  return StrToTime(text, settings);
}

void AssignDefault(const TGlobalVarInfo& info, TGlobalVars& vars) {
  const TGlobalDefault& d = info.Default;
  if (d.Kind == gdSetAtStart) return;
  std::visit(
      [&](auto member) {
        using T = std::remove_reference_t<decltype(vars.*member)>;
        if constexpr (std::is_same_v<T, std::string>) {
          if (d.Kind == gdMyMusic)
            vars.*member = GetShellFolder("My Music");
          else if (d.Kind == gdDataFolder)
            vars.*member = vars.DataFolder;
          else
            vars.*member = d.Text;
        } else if constexpr (std::is_same_v<T, double>) {
          vars.*member = TimeDefault(d.Text);
        } else if constexpr (std::is_same_v<T, bool>) {
          vars.*member = d.Boolean;
        } else {
          vars.*member = T(d.Integer);
        }
      },
      info.Field);
}

}  // namespace

const TGlobalVarInfo* GlobalVarInfos() { return kInfos; }
int GlobalVarCount() { return kCount; }

const TGlobalVarInfo* FindGlobalVarInfo(const std::string& Name) {
  for (const TGlobalVarInfo& info : kInfos)
    if (Name == info.Name) return &info;
  return nullptr;
}

void SetDefaultGlobalVars(TGlobalVars& Vars) {
  for (const TGlobalVarInfo& info : kInfos) AssignDefault(info, Vars);
}

bool LoadSettings() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKeyReadOnly(SettingsKey)) {
    SaveSettings();
    return false;
  }
  // Each value is checked for its type before it is read, so one damaged value cannot stop the
  // values after it from loading.
  for (const TGlobalVarInfo& info : kInfos) {
    if (!info.Stored) continue;
    const TRegDataType want = info.Type == gvString ? rdString : rdInteger;
    if (reg.GetDataType(info.Name) != want) {
      AssignDefault(info, GlobalVars);
      continue;
    }
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(GlobalVars.*member)>;
          if constexpr (std::is_same_v<T, std::string>)
            GlobalVars.*member = reg.ReadString(info.Name);
          else if constexpr (std::is_same_v<T, bool>)
            GlobalVars.*member = reg.ReadInteger(info.Name) != 0;
          else if constexpr (std::is_same_v<T, uint8_t>)
            GlobalVars.*member = uint8_t(reg.ReadInteger(info.Name) & 0xFF);
          else if constexpr (std::is_same_v<T, int32_t>)
            GlobalVars.*member = reg.ReadInteger(info.Name);
        },
        info.Field);
  }
  reg.CloseKey();
  return true;
}

void SaveSettings() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(SettingsKey, true))
    throw ERegistryException(Format("Failed to create key %s", {SettingsKey}));
  for (const TGlobalVarInfo& info : kInfos) {
    if (!info.Stored) continue;
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(GlobalVars.*member)>;
          if constexpr (std::is_same_v<T, std::string>)
            reg.WriteString(info.Name, GlobalVars.*member);
          else if constexpr (std::is_same_v<T, bool>)
            reg.WriteBool(info.Name, GlobalVars.*member);
          else if constexpr (std::is_same_v<T, double>)
            ;  // the only Double is not stored
          else
            reg.WriteInteger(info.Name, int(GlobalVars.*member));
        },
        info.Field);
  }
  reg.CloseKey();
}

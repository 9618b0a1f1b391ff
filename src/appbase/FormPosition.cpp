// Window placement under the settings key.
#include <algorithm>

#include "appbase/Globals.h"
#include "platform/gui/Forms.h"
#include "platform/sys/Registry.h"

bool LoadFormPosition(const std::string& SubKey, TCustomForm* Form) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(std::string(SettingsKey) + SubKey + "\\", false)) return false;
  // A damaged value must not stop the start-up: it counts as absent.
  auto read = [&](const char* name, int current) {
    return reg.GetDataType(name) == rdInteger ? reg.ReadInteger(name) : current;
  };
  bool maximized = read("maximized", Form->WindowState() == wsMaximized) != 0;
  int x = read("x", Form->Left());
  int y = read("y", Form->Top());
  int height = read("height", Form->Height());
  int width = read("width", Form->Width());
  reg.CloseKey();
  const int sw = Screen->Width(), sh = Screen->Height();
  width = std::min(width, sw);
  height = std::min(height, sh);
  if (x + width > sw) x = sw - width;
  if (y + height > sh) y = sh - height;
  x = std::max(x, 0);
  y = std::max(y, 0);
  Form->SetBounds(x, y, width, height);
  Form->SetWindowState(maximized ? wsMaximized : wsNormal);
  return true;
}

void SaveFormPosition(const std::string& SubKey, TCustomForm* Form) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(std::string(SettingsKey) + SubKey + "\\", true)) return;
  bool maximized = Form->WindowState() == wsMaximized;
  TRect r = Form->BoundsRect();
  reg.WriteInteger("x", r.Left);
  reg.WriteInteger("y", r.Top);
  reg.WriteInteger("height", r.Height());
  reg.WriteInteger("width", r.Width());
  reg.WriteBool("maximized", maximized);
  reg.CloseKey();
}

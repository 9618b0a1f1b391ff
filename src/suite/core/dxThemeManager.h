#pragma once
// One visual-style theme handle per kind of themed object for the whole process, opened on first
// use and closed when the user changes the theme or the system colours; listeners hear of it.

#include "platform/rtl/Events.h"
#include "platform/rtl/System.h"
#include "suite/core/dxUxTheme.h"

enum class TdxThemedObjectType {
  totButton, totClock, totComboBox, totEdit, totExplorerBar, totHeader, totListBox, totListView,
  totMenu, totPage, totProgress, totRebar, totScrollBar, totSpin, totStartPanel, totStatus, totTab,
  totTaskBand, totTaskBar, totToolBar, totToolTip, totTrackBar, totTrayNotify, totTreeView,
  totWindow
};
using enum TdxThemedObjectType;
using TdxThemedObjectTypes = TSet<TdxThemedObjectType, 25>;
constexpr int dxThemedObjectTypeCount = 25;

// The kind's default theme class name ("Button"...).
const char* dxThemedObjectClassName(TdxThemedObjectType Kind);

// Visual styles are active and the library is loaded; every kind of the set must open too.
bool IsThemingAvailable(const TdxThemedObjectTypes& Kinds = {});
// The kind's handle, opened on first use; 0 when theming is not available or the open fails.
// A class list different from the stored one (compared ignoring case) reopens the kind.
HTHEME AcquireThemeHandle(TdxThemedObjectType Kind, const WideString& ClassList = {});
// 1 without theming, 0 for a kind without handle; otherwise the handle is closed.
int ReleaseThemeHandle(TdxThemedObjectType Kind);
// Closes every handle; each kind reopens its class list at the next acquisition.
void CloseAllThemeHandles();

// Told after every theme or system-colour change, while the visual-style library is loaded.
class TdxThemeChangedNotificator : public TObject {
 public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;
  virtual void NotifyThemeChanged();

  TNotifyEvent OnThemeChanged;
};

// The hidden window that hears theme and colour changes (null without the library).
HWND dxThemeChangedReceiverHandle();

void dxThemeManagerInitialize();
void dxThemeManagerFinalize();
void dxThemeConstsInitialize();
void dxThemeConstsFinalize();

#include "suite/core/dxThemeManager.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/win/Messages.h"

namespace {

const char* const kClassNames[dxThemedObjectTypeCount] = {
    "Button", "Clock",    "ComboBox", "Edit",      "ExplorerBar", "Header",  "ListBox",
    "ListView", "Menu",   "Page",     "Progress",  "Rebar",       "ScrollBar", "Spin",
    "StartPanel", "Status", "Tab",    "TaskBand",  "TaskBar",     "ToolBar", "ToolTip",
    "TrackBar", "TrayNotify", "TreeView", "Window"};

struct TThemeRecord {
  HTHEME Handle = 0;
  WideString ClassList;
};

TThemeRecord gThemes[dxThemedObjectTypeCount];
WideString gDefaultClassNames[dxThemedObjectTypeCount];
bool gThemeActive = false;

class TReceiver;
TReceiver* gReceiver = nullptr;
std::vector<TdxThemeChangedNotificator*>* gListeners = nullptr;
int gThemeManagerUnitCount = 0;
int gThemeConstsUnitCount = 0;

WideString LowerWide(const WideString& s) {
  WideString r = s;
  for (char16_t& c : r)
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  return r;
}

class TReceiver {
 public:
  TReceiver() { FHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); }); }
  ~TReceiver() { DeallocateHWnd(FHandle); }
  HWND Handle() const { return FHandle; }

 private:
  void WndProc(TMessage& M) {
    if (M.Msg == WM_THEMECHANGED || M.Msg == WM_SYSCOLORCHANGE) {
      try {
        CloseAllThemeHandles();
        M.Result = DefWindowProc(FHandle, M.Msg, M.WParam, M.LParam);
        gThemeActive = UxIsThemeActive();
        // A listener may free itself or others while being told: call over a snapshot and
        // skip those that left meanwhile.
        if (gListeners) {
          std::vector<TdxThemeChangedNotificator*> snapshot = *gListeners;
          for (TdxThemeChangedNotificator* n : snapshot)
            if (gListeners &&
                std::find(gListeners->begin(), gListeners->end(), n) != gListeners->end())
              n->NotifyThemeChanged();
        }
      } catch (...) {
        GetApplication()->HandleException(nullptr, std::current_exception());
      }
      M.Result = 0;
      return;
    }
    M.Result = DefWindowProc(FHandle, M.Msg, M.WParam, M.LParam);
  }

  HWND FHandle = nullptr;
};

HTHEME OpenKind(int kind, const WideString& classList) {
  TThemeRecord& r = gThemes[kind];
  WideString list = !classList.empty()      ? classList
                    : !r.ClassList.empty() ? r.ClassList
                                           : gDefaultClassNames[kind];
  HTHEME h = UxOpenThemeData(nullptr, list);
  if (h) {
    r.Handle = h;
    r.ClassList = list;
  } else {
    r.ClassList.clear();
  }
  return h;
}

}  // namespace

const char* dxThemedObjectClassName(TdxThemedObjectType Kind) {
  int k = int(Kind);
  return k >= 0 && k < dxThemedObjectTypeCount ? kClassNames[k] : "";
}

bool IsThemingAvailable(const TdxThemedObjectTypes& Kinds) {
  if (!gThemeActive || !IsUxThemeLoaded()) return false;
  for (int k = 0; k < dxThemedObjectTypeCount; ++k)
    if (Kinds.Contains(TdxThemedObjectType(k)) && AcquireThemeHandle(TdxThemedObjectType(k)) == 0)
      return false;
  return true;
}

HTHEME AcquireThemeHandle(TdxThemedObjectType Kind, const WideString& ClassList) {
  if (!IsThemingAvailable()) return 0;
  int k = int(Kind);
  if (k < 0 || k >= dxThemedObjectTypeCount) return 0;
  TThemeRecord& r = gThemes[k];
  if (r.Handle) {
    if (ClassList.empty() || LowerWide(ClassList) == LowerWide(r.ClassList)) return r.Handle;
    UxCloseThemeData(r.Handle);
    r.Handle = 0;
  }
  return OpenKind(k, ClassList);
}

int ReleaseThemeHandle(TdxThemedObjectType Kind) {
  if (!IsThemingAvailable()) return 1;
  int k = int(Kind);
  if (k < 0 || k >= dxThemedObjectTypeCount || !gThemes[k].Handle) return 0;
  HRESULT r = UxCloseThemeData(gThemes[k].Handle);
  gThemes[k].Handle = 0;
  gThemes[k].ClassList.clear();
  return int(r);
}

void CloseAllThemeHandles() {
  for (TThemeRecord& r : gThemes)
    if (r.Handle) {
      UxCloseThemeData(r.Handle);
      r.Handle = 0;
    }
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator() {
  if (IsUxThemeLoaded() && gListeners) gListeners->push_back(this);
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator() {
  if (gListeners)
    gListeners->erase(std::remove(gListeners->begin(), gListeners->end(), this),
                      gListeners->end());
}

void TdxThemeChangedNotificator::NotifyThemeChanged() {
  if (OnThemeChanged) OnThemeChanged(this);
}

HWND dxThemeChangedReceiverHandle() { return gReceiver ? gReceiver->Handle() : nullptr; }

void dxThemeManagerInitialize() {
  if (gThemeManagerUnitCount++ > 0) return;
  for (int k = 0; k < dxThemedObjectTypeCount; ++k) {
    gDefaultClassNames[k] = AnsiToWideInCodePage(kClassNames[k], CP_ACP);
    gThemes[k] = TThemeRecord();
  }
  gThemeActive = false;
  if (IsUxThemeLoaded()) {
    gThemeActive = UxIsThemeActive();
    gReceiver = new TReceiver;
    gListeners = new std::vector<TdxThemeChangedNotificator*>;
  }
}

void dxThemeManagerFinalize() {
  if (gThemeManagerUnitCount == 0 || --gThemeManagerUnitCount > 0) return;
  if (gReceiver) {
    delete gReceiver;
    gReceiver = nullptr;
    // The receiver is gone: visual styles count as off from here on.
    gThemeActive = false;
  }
  CloseAllThemeHandles();
  delete gListeners;
  gListeners = nullptr;
  for (TThemeRecord& r : gThemes) r = TThemeRecord();
}

void dxThemeConstsInitialize() { ++gThemeConstsUnitCount; }
void dxThemeConstsFinalize() {
  if (gThemeConstsUnitCount > 0) --gThemeConstsUnitCount;
}

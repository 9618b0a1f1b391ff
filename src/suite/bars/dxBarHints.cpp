// Item hints: one hint window for every manager of the process, shown after the mouse rested
// on an item, hidden after a while, and shown at once when it follows another hint closely.
// The show and hide timers share one id (only one of them runs); a third timer ends the short
// period after a hint was hidden in which the next one needs no wait. All are thread timers on
// the platform clock.

#include "suite/bars/dxBarHints.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarControl.h"
#include "suite/bars/dxBarItemControlsImpl.h"
#include "suite/core/cxGraphics.h"

namespace {

constexpr UINT kReshowPeriod = 400;
constexpr int kStandardShowDelay = 1000;
constexpr int kStandardHideDelay = 10000;

THintWindow* gHintWindow = nullptr;
// The manager whose show or hide timer runs (or whose hint shows).
TWeakLink<TdxBarManager> gHintManager;
UINT_PTR gHintTimer = 0;
UINT_PTR gReshowTimer = 0;
bool gReshowPeriod = false;
bool gHintRequested = false;
std::string gHintText;

void StopTimer(UINT_PTR& Id) {
  if (Id) KillTimer(nullptr, Id);
  Id = 0;
}

bool HintWindowVisible() {
  return gHintWindow && gHintWindow->HandleAllocated() && IsWindowVisible(gHintWindow->Handle());
}

void HideHintWindow() {
  if (HintWindowVisible()) ShowWindow(gHintWindow->Handle(), SW_HIDE);
}

// ---- adaptors of the hint objects

class TItemControlHintSource : public IdxBarHintSource {
 public:
  explicit TItemControlHintSource(TdxBarItemControl* AControl) : FControl(AControl) {}
  bool PlainHint() override { return FControl->PainterHintFlag(); }
  bool GetHintTexts(bool& Hide, std::string& Hint, std::string& ShortCut) override {
    return FControl->GetHintTexts(Hide, Hint, ShortCut);
  }
  bool HintEnabled() override { return FControl->IsEnabled(); }
  TPoint HintPosition(const TPoint& Cursor, int Height) override { return FControl->CalcHintPosition(Cursor, Height); }
  TdxCustomHintViewInfo* NewHintViewInfo(const std::string& Hint, const std::string& ShortCut) override {
    return FControl->CreateHintViewInfo(Hint, ShortCut);
  }

 private:
  TdxBarItemControl* FControl;
};

class TBarControlHintSource : public IdxBarHintSource {
 public:
  explicit TBarControlHintSource(TCustomdxBarControl* ABar) : FBar(ABar) {}
  bool PlainHint() override {
    TdxBarPainter* p = FBar->Painter();
    return !p || dxBarControlsImpl::PainterBarWindowFlagA(p);
  }
  bool GetHintTexts(bool& Hide, std::string& Hint, std::string& ShortCut) override {
    Hide = false;
    return FBar->GetHintTexts(FBar, Hint, ShortCut);
  }
  bool HintEnabled() override { return FBar->Enabled(); }
  TPoint HintPosition(const TPoint& Cursor, int Height) override { return FBar->CalcHintPositionAtMark(Cursor, Height); }
  TdxCustomHintViewInfo* NewHintViewInfo(const std::string& Hint, const std::string& ShortCut) override {
    return FBar->NewHintViewInfo(Hint, ShortCut, nullptr);
  }

 private:
  TCustomdxBarControl* FBar;
};

class TForwardingHintSource : public IdxBarHintSource {
 public:
  explicit TForwardingHintSource(IdxBarHintSource* ASource) : FSource(ASource) {}
  bool PlainHint() override { return FSource->PlainHint(); }
  bool GetHintTexts(bool& Hide, std::string& Hint, std::string& ShortCut) override {
    return FSource->GetHintTexts(Hide, Hint, ShortCut);
  }
  bool HintEnabled() override { return FSource->HintEnabled(); }
  TPoint HintPosition(const TPoint& Cursor, int Height) override { return FSource->HintPosition(Cursor, Height); }
  TdxCustomHintViewInfo* NewHintViewInfo(const std::string& Hint, const std::string& ShortCut) override {
    return FSource->NewHintViewInfo(Hint, ShortCut);
  }

 private:
  IdxBarHintSource* FSource;
};

void ShowTimerProc(HWND, UINT, UINT_PTR, DWORD);
void HideTimerProc(HWND, UINT, UINT_PTR, DWORD);

void ReshowTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(gReshowTimer);
  gReshowPeriod = false;
}

}  // namespace

std::unique_ptr<IdxBarHintSource> dxBarHintSourceOf(TObject* Object) {
  if (!Object) return nullptr;
  if (auto* s = dynamic_cast<IdxBarHintSource*>(Object)) return std::make_unique<TForwardingHintSource>(s);
  if (auto* c = dynamic_cast<TdxBarItemControl*>(Object)) return std::make_unique<TItemControlHintSource>(c);
  if (auto* b = dynamic_cast<TCustomdxBarControl*>(Object)) return std::make_unique<TBarControlHintSource>(b);
  return nullptr;
}

// ---- the hint window of all managers

THintWindow* (*dxBarHintWindowClass)(TComponent*) = &MakeHintWindow<TdxBarHintWindow>;

THintWindow* dxBarHintWindow() { return gHintWindow; }

void dxBarFreeHintWindow() {
  THintWindow* w = gHintWindow;
  gHintWindow = nullptr;
  delete w;
}

THintWindow* (*TdxBarManager::HintWindowClass() const)(TComponent*) {
  return UsesStandardHintWindow() ? ::HintWindowClass : dxBarHintWindowClass;
}

void TdxBarManager::EnsureHintWindow() {
  THintWindowClass cls = HintWindowClass();
  if (gHintWindow && gHintWindow->WindowClass() == cls) return;
  dxBarFreeHintWindow();
  if (cls && GetApplication() && GetScreen()) gHintWindow = CreateHintWindow(cls, nullptr);
}

bool TdxBarManager::IsHintWindowShowing() const { return HintWindowVisible(); }

int TdxBarManager::HintShowDelay() const {
  auto* w = UsesStandardHintWindow() ? nullptr : dynamic_cast<TdxBarHintWindow*>(gHintWindow);
  return w ? w->ShowPause() : kStandardShowDelay;
}

int TdxBarManager::HintHideDelay() const {
  auto* w = UsesStandardHintWindow() ? nullptr : dynamic_cast<TdxBarHintWindow*>(gHintWindow);
  return w ? w->HidePause() : kStandardHideDelay;
}

TObject* TdxBarManager::HintObject() const { return FHintObject.get(); }

// ---- showing and hiding

void TdxBarManager::ShowItemHint(bool Show, const std::string& Text, TObject* Object) {
  if (IsCustomizingOrDesigning() || !ShowHint) return;
  std::unique_ptr<IdxBarHintSource> source = dxBarHintSourceOf(Object);
  FPlainHint = source && source->PlainHint();
  EnsureHintWindow();
  // The bar hint window lays every hint out anew, so a showing one goes first; the hint that
  // follows it still counts as following a visible one and shows without a wait.
  bool wasVisible = HintWindowVisible();
  if (Show && !UsesStandardHintWindow() && wasVisible) ShowItemHint(false, Text, Object);
  if (Show || gHintRequested) {
    gHintRequested = Show;
    gHintText = Text;
  }
  bool wanted = false;
  if (Show) {
    TdxBarItemControl* selected = SelectedItemControl();
    wanted = (selected && selected->BarControl() && !selected->BarControl()->IsActive()) || !Text.empty() ||
             Object;
  }
  StopTimer(gHintTimer);
  FHintObject = Object;
  if (wanted) {
    gHintManager = this;
    if (wasVisible || HintWindowVisible() || gReshowPeriod)
      ShowHintNow();
    else
      gHintTimer = SetTimer(nullptr, 0, UINT(HintShowDelay()), ShowTimerProc);
  } else if (wasVisible) {
    HideHintWindow();
    if (Show) {
      StopTimer(gReshowTimer);
      gReshowTimer = SetTimer(nullptr, 0, kReshowPeriod, ReshowTimerProc);
      gReshowPeriod = true;
    }
  }
}

void TdxBarManager::HideItemHint() { ShowItemHint(false, std::string(), nullptr); }

void TdxBarManager::ShowHintNow() {
  bool shown = false;
  if (!gHintText.empty()) {
    shown = ShowHintText(gHintText, std::string());
  } else if (std::unique_ptr<IdxBarHintSource> source = dxBarHintSourceOf(HintObject())) {
    bool hide = false;
    std::string hint, shortCut;
    TWeakLink<TdxBarManager> self(this);
    bool has = source->GetHintTexts(hide, hint, shortCut);
    // The item's action may have done anything while it was asked for its hint.
    if (!self) return;
    source = dxBarHintSourceOf(HintObject());
    if (has && !hide && source && (source->HintEnabled() || ShowHintForDisabledItems)) {
      if (!ShowShortCutInHint && !Application->HintShortCuts()) shortCut.clear();
      shown = ShowHintText(hint, shortCut);
    }
  }
  if (!shown) HideHintWindow();
}

bool TdxBarManager::ShowHintText(const std::string& Text, const std::string& ShortCut) {
  FHintShortCut = ShortCut;
  if (!gHintWindow) return false;
  const bool standard = UsesStandardHintWindow();
  std::string text = standard ? (Text.empty() ? std::string() : Text + ShortCut) : Text;
  TRect r = gHintWindow->CalcHintRect(Screen->Width(), text, this);
  if (r.IsEmpty()) return false;
  POINT cursor{-1, -1};
  if (!GetCursorPos(&cursor)) cursor = {-1, -1};
  TPoint at(cursor.x, cursor.y);
  if (std::unique_ptr<IdxBarHintSource> source = dxBarHintSourceOf(HintObject()))
    at = source->HintPosition(at, r.Height());
  r = TRect(at.X, at.Y, at.X + r.Width(), at.Y + r.Height());
  if (standard) {
    THintInfo info;
    THintWindow* window = gHintWindow;
    const bool may = PrepareHintInfo(info, window, nullptr, text, r, this, HintHideDelay());
    gHintWindow = window;
    if (!may) return false;
    text = info.HintStr;
  }
  ActivateHintOnScreen(gHintWindow, r, text);
  gHintManager = this;
  StopTimer(gHintTimer);
  gHintTimer = SetTimer(nullptr, 0, UINT(HintHideDelay()), HideTimerProc);
  return true;
}

void TdxBarManager::StopHintTimers() {
  TdxBarManager* owner = gHintManager.get();
  if (owner && owner != this) return;
  if (gHintTimer) {
    StopTimer(gHintTimer);
    HideHintWindow();
  }
  StopTimer(gReshowTimer);
  gReshowPeriod = false;
}

namespace {

void ShowTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(gHintTimer);
  TdxBarManager* m = gHintManager.get();
  if (m && !m->IsDestroying()) m->ShowHintNow();
}

void HideTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  StopTimer(gHintTimer);
  TdxBarManager* m = gHintManager.get();
  if (m && !m->IsDestroying()) HideHintWindow();
}

}  // namespace

// ---- view infos

void TdxBarCustomHintViewInfo::PrepareWindow(TdxBarHintWindow* Window) {
  Window->SetScreenTip(IsScreenTip());
  Window->HandleNeeded();
}

TdxBarHintViewInfoHelper::TdxBarHintViewInfoHelper(TdxBarManager* AManager, const std::string& AHint,
                                                   const std::string& AShortCut, TPoint APosition)
    : TdxHintViewInfoHelper(AHint, AShortCut, APosition), FManager(AManager) {}

void TdxBarHintViewInfoHelper::ApplyHintFont(TcxCanvas* ACanvas) {
  TdxBarManager* m = FManager.get();
  if (!m || m->UseSystemFont())
    TdxHintViewInfoHelper::ApplyHintFont(ACanvas);
  else
    ACanvas->CurrentFont()->Assign(m->Font());
}

TdxBarHintViewInfo::TdxBarHintViewInfo(TdxBarManager* AManager, const std::string& AHint,
                                       const std::string& AShortCut, TPoint ACursorPos)
    : FManager(AManager), FHint(AHint), FShortCut(AShortCut), FCursorPos(ACursorPos) {}

TdxBarManager* TdxBarHintViewInfo::Manager() const { return FManager.get(); }

TdxCustomHintViewInfoHelper* TdxBarHintViewInfo::CreateHelper() {
  return new TdxBarHintViewInfoHelper(FManager.get(), FHint, FShortCut, FCursorPos);
}

void TdxBarHintViewInfo::PrepareWindow(TdxBarHintWindow* Window) {
  TdxBarCustomHintViewInfo::PrepareWindow(Window);
  if (auto* helper = dynamic_cast<TdxHintViewInfoHelper*>(Helper())) Window->SetCaption(helper->Text());
  Window->SetColor(Application->HintColor());
}

// ---- the bar hint window

TdxBarHintWindow::TdxBarHintWindow(TComponent* AOwner) : TcxBaseHintWindow(AOwner) {
  SetColor(clInfoBk);
  SetNeedsEraseBackground(true);
  SetAnimationStyle(cxhaNone);
}

TdxBarHintWindow::~TdxBarHintWindow() = default;

TRect TdxBarHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) {
  FViewInfo.reset();
  auto* manager = static_cast<TdxBarManager*>(AData);
  const std::string shortCut = manager ? manager->HintShortCut() : std::string();
  if (manager)
    if (std::unique_ptr<IdxBarHintSource> source = dxBarHintSourceOf(manager->HintObject()))
      FViewInfo.reset(source->NewHintViewInfo(AHint, shortCut));
  if (!FViewInfo) FViewInfo = std::make_unique<TdxBarHintViewInfo>(manager, AHint, shortCut, GetMouseScreenPos());
  if (auto* bar = dynamic_cast<TdxBarCustomHintViewInfo*>(FViewInfo.get()))
    bar->PrepareWindow(this);
  else
    HandleNeeded();
  FViewInfo->Calculate(cxCanvas());
  return FViewInfo->HintBounds();
}

void TdxBarHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  if (FIsScreenTip) {
    Rect.Right += 1;
    Rect.Bottom += 1;
  }
  TcxBaseHintWindow::ActivateHint(Rect, AHint);
}

void TdxBarHintWindow::SetWindowRegion() {
  if (!HandleAllocated()) return;
  SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width(), Height(), 2, 2), TRUE);
}

void TdxBarHintWindow::Paint() {
  if (!FIsScreenTip) ClearWindowRegion();
  if (FViewInfo)
    FViewInfo->Paint(cxCanvas());
  else
    TcxBaseHintWindow::Paint();
}

void TdxBarHintWindow::Dispatch(TMessage& Message) {
  TcxBaseHintWindow::Dispatch(Message);
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 0) FViewInfo.reset();
}

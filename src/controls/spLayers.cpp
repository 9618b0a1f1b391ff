#include "controls/spLayers.h"

#include "controls/spUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/GdiExtras.h"
#include "platform/win/Messages.h"

namespace {

using TUpdateLayeredWindow = BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
constexpr DWORD kULW_ALPHA = 2;

// Looked up at each use: the entry is absent where windows cannot be drawn with per-pixel alpha.
TUpdateLayeredWindow UpdateLayeredWindowEntry() {
  HMODULE user32 = GetModuleHandle("user32.dll");
  return user32 ? GetProcAddressAs<TUpdateLayeredWindow>(user32, "UpdateLayeredWindow") : nullptr;
}

}  // namespace

TspLayerWindow::TspLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

void TspLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TspLayerWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(Message);
}

TspLayerManager::TspLayerManager(TComponent* AOwner) : TComponent(AOwner), FFadeTimer(std::make_unique<TTimer>(nullptr)) {
  FFadeTimer->SetEnabled(false);
  FFadeTimer->SetInterval(25);
  FFadeTimer->SetOnTimer([this](TObject*) { FadeTick(); });
}

TspLayerManager::~TspLayerManager() {
  FFadeTimer.reset();
  delete FLayerWindow;
  FLayerWindow = nullptr;
}

void TspLayerManager::MakeLayerImage(TspBitmap* Image, TspBitmap* Mask, TspBitmap* Target) {
  Target->Assign(Image);
  spAlphaFromMask(Target, Mask);
  Target->ClampToAlpha();
}

void TspLayerManager::UpdateLayer(TspBitmap* Image, int Alpha, TspLayerWindow* Window) {
  TUpdateLayeredWindow update = UpdateLayeredWindowEntry();
  if (!update || !Image || Image->Empty() || !Window || !Window->HandleAllocated()) return;
  RECT r{};
  GetWindowRect(Window->Handle(), &r);
  POINT at{r.left, r.top}, source{0, 0};
  SIZE size{Image->Width(), Image->Height()};
  BLENDFUNCTION blend;
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = BYTE(Alpha);
  blend.AlphaFormat = AC_SRC_ALPHA;
  update(Window->Handle(), nullptr, &at, &size, Image->DC(), &source, 0, &blend, kULW_ALPHA);
}

void TspLayerManager::ShowLayer(int X, int Y, int TargetAlpha, TspBitmap* Mask, TspBitmap* Image) {
  if (!IsWindows2000OrLater() || !Image || Image->Empty()) return;
  if (FLayerWindow) HideLayer();
  FShowing = true;
  FLayerWindow = new TspLayerWindow(nullptr);
  FLayerWindow->SetBounds(X, Y, Image->Width(), Image->Height());
  FLayerWindow->HandleNeeded();
  HWND h = FLayerWindow->Handle();
  SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
  FLayerImage = std::make_unique<TspBitmap>();
  MakeLayerImage(Image, Mask, FLayerImage.get());
  UpdateLayer(FLayerImage.get(), 0, FLayerWindow);
  SetWindowPos(h, TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FTargetAlpha = TargetAlpha;
  FAlphaStep = TargetAlpha / 10;
  StartFade();
}

void TspLayerManager::HideLayer() {
  if (!IsWindows2000OrLater()) return;
  StopFade();
  FLayerImage.reset();
  FShowing = false;
  if (FLayerWindow) {
    if (FLayerWindow->HandleAllocated())
      SetWindowPos(FLayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    delete FLayerWindow;
    FLayerWindow = nullptr;
  }
}

void TspLayerManager::StartFade() {
  FCurrentAlpha = 0;
  FFadeTimer->SetEnabled(true);
}

void TspLayerManager::StopFade() { FFadeTimer->SetEnabled(false); }

void TspLayerManager::FadeTick() {
  if (!FLayerImage || !FLayerWindow) return;
  // A step of 0 (a target below 10) would never arrive: take the target at once.
  FCurrentAlpha = FAlphaStep == 0 ? FTargetAlpha : std::min(FCurrentAlpha + FAlphaStep, FTargetAlpha);
  UpdateLayer(FLayerImage.get(), FCurrentAlpha, FLayerWindow);
  if (FCurrentAlpha == FTargetAlpha) StopFade();
}

// Drag and drop inside a control, the platform drag of a control, and its drag images.
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "suite/core/cxControls.h"

namespace {
TWeakLink<TObject> gPlatformDragObject;
}  // namespace

TDragObject* CurrentPlatformDragObject() { return static_cast<TDragObject*>(gPlatformDragObject.get()); }

// ---- the object that follows the mouse

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* AControl) : FControl(AControl) {
  if (AControl) FCanvas = AControl->Canvas();
}

void TcxDragAndDropObject::SetDirty(bool Value) {
  if (FDirty == Value) return;
  FDirty = Value;
  DirtyChanged();
}

void TcxDragAndDropObject::SetMousePos(TPoint P) {
  FPrevMousePos = FCurMousePos;
  FCurMousePos = P;
}

void TcxDragAndDropObject::Start() {
  FCurMousePos = FPrevMousePos = GetClientCursorPos();
  BeginDragAndDrop();
}

void TcxDragAndDropObject::Move(TPoint P, bool& Accepted) {
  SetMousePos(P);
  DragAndDrop(P, Accepted);
}

void TcxDragAndDropObject::Finish(bool Accepted) {
  EndDragAndDrop(Accepted);
  AfterDragAndDrop(Accepted);
}

TPoint TcxDragAndDropObject::GetClientCursorPos() {
  POINT p;
  if (!GetCursorPos(&p)) return TPoint(-1, -1);
  return FControl->ScreenToClient(TPoint(p.x, p.y));
}

TCursor TcxDragAndDropObject::GetDragAndDropCursor(bool Accepted) { return Accepted ? crDrag : crNoDrop; }

void TcxDragAndDropObject::DragAndDrop(TPoint, bool& Accepted) {
  FDirty = false;
  Screen->SetCursor(GetDragAndDropCursor(Accepted));
}

// ---- the control's side

TcxDragAndDropObject* TcxControl::DragAndDropObject() {
  if (!FDragAndDropObject) FDragAndDropObject.reset(CreateDragAndDropObject());
  return FDragAndDropObject.get();
}

TcxDragAndDropObject* TcxControl::CreateDragAndDropObject() { return DragAndDropObjectClass()(this); }

TcxDragAndDropObjectClass TcxControl::DragAndDropObjectClass() {
  if (FDragAndDropObjectClass) return FDragAndDropObjectClass;
  return [](TcxControl* Control) { return new TcxDragAndDropObject(Control); };
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState Value) {
  if (FDragAndDropState == Value) return;
  FDragAndDropState = Value;
  if (Value == ddsNone && !FFinishingDragAndDrop) ResetMouseState();
}

void TcxControl::BeginDragAndDrop() {
  DragAndDropObject()->Start();
  SetMouseCapture(true);
  FDragAndDropPrevCursor = Screen->Cursor();
  FDragAndDropState = ddsInProcess;
}

void TcxControl::DragAndDrop(TPoint P, bool& Accepted) { DragAndDropObject()->Move(P, Accepted); }

void TcxControl::EndDragAndDrop(bool Accepted) {
  SetDragAndDropState(ddsNone);
  Screen->SetCursor(FDragAndDropPrevCursor);
  SetMouseCapture(false);
  SetMouseCaptureObject(nullptr);
  DragAndDropObject()->Finish(Accepted);
}

void TcxControl::FinishDragAndDrop(bool Accepted) {
  if (FFinishingDragAndDrop) return;
  FFinishingDragAndDrop = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FFinishingDragAndDrop};
  if (FDragAndDropState == ddsInProcess) EndDragAndDrop(Accepted);
  else SetDragAndDropState(ddsNone);
  FDragAndDropObject.reset();
}

// ---- the platform drag

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, int X, int Y) {
  auto* control = dynamic_cast<TcxControl*>(Control());
  if (Accepted && control && control->IsCopyDragDrop()) return crcxDragCopy;
  return TDragControlObject::GetDragCursor(Accepted, X, Y);
}

void TcxDragControlObject::Finished(TObject* Target, int X, int Y, bool Accepted) {
  TDragControlObject::Finished(Target, X, Y, Accepted);
  // The control made this object for the drag; nobody else frees it.
  delete this;
}

TDragControlObject* TcxControl::CreateDragControlObject() { return new TcxDragControlObject(this); }

void TcxControl::DoStartDrag(TDragObject*& DragObject) {
  Update();
  TCustomControl::DoStartDrag(DragObject);
  if (!DragObject) DragObject = CreateDragControlObject();
  if (!AcceptsStartDrag(DragObject)) {
    delete DragObject;
    DragObject = nullptr;
    EndDrag(false);
  }
}

void TcxControl::DoEndDrag(TObject* Target, int X, int Y) {
  TCustomControl::DoEndDrag(Target, X, Y);
  FDragImages.reset();
}

void TcxControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (auto* object = dynamic_cast<TDragObject*>(Source)) {
    if (State == dsDragLeave) gPlatformDragObject = nullptr;
    else gPlatformDragObject = object;
  }
  TCustomControl::DragOver(Source, X, Y, State, Accept);
}

TcxDragImageList* TcxControl::CreateDragImageList() { return new TcxDragImageList; }

TcxDragImageList* TcxControl::GetDragImages() {
  if (!HasDragImages()) return nullptr;
  if (!FDragImages) {
    FDragImages.reset(CreateDragImageList());
    InitDragImages(FDragImages.get());
  }
  return FDragImages->Count() == 0 ? nullptr : FDragImages.get();
}

void TcxControl::InitDragImages(TcxDragImageList* ImageList) {
  TSize size = DragImageSize();
  ImageList->SetSize(size.cx, size.cy);
  if (size.cx == 0 || size.cy == 0) return;
  auto image = std::make_unique<TBitmap>();
  image->SetSize(size.cx, size.cy);
  TcxCanvas canvas(image->Canvas());
  DrawDragImage(&canvas, TRect(0, 0, size.cx, size.cy));
  TColor mask = image->TransparentColor();
  ImageList->AddMasked(std::move(image), mask);
}

void TcxDragImageList::AddMasked(std::unique_ptr<TBitmap> Image, TColor Mask) {
  FImages.push_back(std::move(Image));
  FMasks.push_back(Mask);
}

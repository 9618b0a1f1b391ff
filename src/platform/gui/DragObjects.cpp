// In-process drag and drop between controls: BeginDrag, the capture window that follows the
// mouse, the CM_DRAG questions to the control under it, the cursor, and the end of the drag.
#include <cstdlib>
#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }

TCursor TBaseDragControlObject::GetDragCursor(bool Accepted, int, int) {
  if (!Accepted) return crNoDrop;
  return Control() ? Control()->DragCursor() : crDrag;
}

void TBaseDragControlObject::Finished(TObject* Target, int X, int Y, bool) {
  // A source being destroyed hears nothing more: its handlers may need what is already gone.
  TControl* c = Control();
  if (c && !c->ComponentState().Contains(csDestroying)) c->DoEndDrag(Target, X, Y);
}

struct TDragEngine {
  TWeakLink<TControl> Source;
  TDragObject* Object = nullptr;
  std::unique_ptr<TDragObject> OwnObject;  // the one the drag made itself
  bool Started = false;  // past the threshold: the drag is on
  bool Ending = false;
  bool Accepted = false;
  TPoint StartPos;
  int Threshold = 0;
  TCursor SavedCursor = crDefault;

  void Begin(TControl* control, bool immediate, int threshold);
  bool Start();
  void MoveTo(TPoint pos);
  void Done(bool drop);
  LRESULT Ask(TControl* target, TDragMessage kind, TPoint pos);
  void WndProc(TMessage& m);
};

namespace {
std::unique_ptr<TDragEngine> gDrag;

// One hidden window holds the capture of every drag; it outlives them (a drag may end inside
// one of its messages).
HWND DragCaptureWindow() {
  static HWND window = AllocateHWnd([](TMessage& m) {
    if (gDrag) gDrag->WndProc(m);
    else m.Result = DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
  });
  return window;
}

TPoint CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return TPoint{p.x, p.y};
}
}  // namespace

LRESULT TDragEngine::Ask(TControl* target, TDragMessage kind, TPoint pos) {
  TDragRec rec;
  rec.Pos = pos;
  rec.Source = Object;
  rec.Target = target;
  return target->Perform(CM_DRAG, WPARAM(kind), reinterpret_cast<LPARAM>(&rec));
}

void TDragEngine::Begin(TControl* control, bool immediate, int threshold) {
  Source = control;
  StartPos = CursorPos();
  Threshold = threshold < 0 ? Mouse->DragThreshold() : threshold;
  SetCapture(DragCaptureWindow());
  if (immediate && Start()) MoveTo(StartPos);
}

// The drag begins: the source names its drag object (or gets a control object). False when the
// drag ended meanwhile.
bool TDragEngine::Start() {
  Started = true;
  TControl* source = Source.get();
  TDragObject* object = nullptr;
  if (source) source->DoStartDrag(object);
  if (gDrag.get() != this) return false;
  if (!Source.get()) {
    Done(false);
    return false;
  }
  if (!object) {
    OwnObject = std::make_unique<TDragControlObject>(source);
    object = OwnObject.get();
  }
  Object = object;
  SavedCursor = Screen->Cursor();
  return true;
}

void TDragEngine::MoveTo(TPoint pos) {
  if (!Started) {
    if (std::abs(pos.X - StartPos.X) <= Threshold && std::abs(pos.Y - StartPos.Y) <= Threshold) return;
    if (!Start()) return;
  }
  if (!Source.get()) return Done(false);
  TControl* target = FindDragTarget(pos, false);
  TControl* old = Object->FDragTarget.get();
  if (old != target) {
    if (old) Ask(old, dmDragLeave, pos);
    if (!gDrag) return;
    Object->FDragTarget = target;
    Accepted = target && Ask(target, dmDragEnter, pos) != 0;
  } else {
    Accepted = target && Ask(target, dmDragMove, pos) != 0;
  }
  if (!gDrag) return;
  Object->FDragPos = pos;
  Object->FDragTargetPos = target ? target->ScreenToClient(pos) : pos;
  Screen->SetCursor(Object->GetDragCursor(Accepted, Object->FDragTargetPos.X, Object->FDragTargetPos.Y));
}

void TDragEngine::Done(bool drop) {
  if (Ending) return;
  Ending = true;
  // The engine leaves the global slot first: handlers below may start another drag.
  std::unique_ptr<TDragEngine> self = std::move(gDrag);
  if (GetCapture() == DragCaptureWindow()) ReleaseCapture();
  if (!Started || !Object) return;  // the drag never began: nobody was told of it
  Screen->SetCursor(SavedCursor);
  TControl* target = Object->FDragTarget.get();
  TPoint pos = Object->FDragPos;
  bool accepted = drop && Accepted && target;
  Object->FCancelling = !drop;
  Object->FDropped = accepted;
  if (target) {
    if (accepted) Ask(target, dmDragDrop, pos);
    else Ask(target, drop ? dmDragLeave : dmDragCancel, pos);
  }
  target = Object->FDragTarget.get();
  TPoint at = accepted && target ? target->ScreenToClient(pos) : pos;
  Object->Finished(accepted ? target : nullptr, at.X, at.Y, accepted);
}

void TDragEngine::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      // The capture window is a hidden one at the screen's origin: its points are screen points.
      return MoveTo(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      MoveTo(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (gDrag.get() == this) Done(true);
      return;
    }
    case WM_RBUTTONDOWN: return Done(false);
    case WM_CAPTURECHANGED: return Done(false);
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      m.Result = 1;
      if (m.WParam == VK_ESCAPE) Done(false);
      return;
    case CN_KEYUP:
    case CN_CHAR:
    case CN_SYSKEYUP:
    case CN_SYSCHAR: m.Result = 1; return;
  }
  m.Result = DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
}

// ---------------------------------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
  if (gDrag) return;
  gDrag = std::make_unique<TDragEngine>();
  gDrag->Begin(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) gDrag->Done(Drop);
}

bool TControl::Dragging() const { return gDrag && gDrag->Source.get() == this; }

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::CMDrag(TMessage& m) {
  auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
  auto kind = TDragMessage(m.WParam);
  if (kind == dmFindTarget) {
    m.Result = reinterpret_cast<LRESULT>(this);
    return;
  }
  // A control's drag shows its control to the targets, any other drag itself.
  TObject* source = rec->Source;
  if (auto* c = dynamic_cast<TBaseDragControlObject*>(rec->Source); c && c->Control()) source = c->Control();
  TPoint p = ScreenToClient(rec->Pos);
  switch (kind) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      bool accept = false;
      DragOver(source, p.X, p.Y,
               kind == dmDragEnter ? dsDragEnter : kind == dmDragLeave ? dsDragLeave : dsDragMove,
               accept);
      m.Result = accept ? 1 : 0;
      return;
    }
    case dmDragDrop: DragDrop(source, p.X, p.Y); return;
    default: return;
  }
}

#pragma once
// Forms: top-level windows built from their stored description, shown modeless or modal (with
// their own message loop and a modal result), closed through CloseQuery/OnClose with a close
// action, kept inside their constraints; and the action handling a form does (shortcuts through
// its action lists, idle updates).

#include <string>
#include <vector>

#include "platform/gui/Controls.h"

class TCustomActionList;

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using enum TBorderIcon;
using TBorderIcons = TSet<TBorderIcon>;
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
using enum TPosition;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;
enum class TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using enum TFormStateItem;
using TFormState = TSet<TFormStateItem>;

enum class TTileMode { tbHorizontal, tbVertical };
// The monitor a form first shows on (one screen here: kept for the form's users).
enum class TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
using enum TDefaultMonitor;
using enum TTileMode;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
constexpr TModalResult mrClose = 11;

using TCloseEvent = Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Event<void(TObject* Sender, bool& CanClose)>;

// The form designer editing a form (a design-time tool; a running program has none).
class IDesignerNotify {
 public:
  virtual ~IDesignerNotify() = default;
  virtual void Modified() = 0;
};

class TCustomForm : public TWinControl {
 public:
  // A form without a description (what the platform calls CreateNew); a form class reads its
  // own with InitForm.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Shows the form and brings it to the front.
  void Show();
  // Shows the form modally and runs messages until ModalResult becomes non-zero (or the
  // application ends: mrCancel). Raises EInvalidOperation for a visible or disabled form.
  virtual int ShowModal();
  // Asks CloseQuery, then OnClose with the close action, and acts on it (hide, free later,
  // minimise); the main form ends the application instead. A modal form only sets mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages being handled now are done.
  void Release();

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  bool KeyPreview() const override { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  const TFormState& FormState() const { return FFormState; }
  bool Active() const { return FActive; }
  // The DPI the description was designed at (kept; forms are not scaled).
  int PixelsPerInch() const { return 96; }
  void SetPixelsPerInch(int) {}
  bool Scaled() const { return false; }
  void SetScaled(bool) {}
  int TextHeight() const { return FTextHeight; }
  void SetTextHeight(int Value) { FTextHeight = Value; }
  bool OldCreateOrder() const { return false; }
  void SetOldCreateOrder(bool) {}
  void SetClientSize(int W, int H) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool HasParent() const override { return false; }

  // Shortcuts go to the form's OnShortCut, then to its action lists (each action updated first).
  bool IsShortCut(TMessage& Message) override;
  // Offers the action to the active control, the form, then each visible control in turn.
  bool ExecuteAction(TBasicAction* Action) override;

  // The MDI frame (fsMDIForm): its client window holds the MDI children (fsMDIChild), which the
  // application's main form must be when they are made.
  HWND ClientHandle() const { return FClientHandle; }
  int MDIChildCount() const;
  // Topmost first.
  TCustomForm* MDIChildren(int Index) const;
  // The child activated last (also while the frame itself is not active).
  TCustomForm* ActiveMDIChild() const { return FActiveMDIChild.get(); }
  void Cascade();
  // Side by side for tbVertical, full-width strips for tbHorizontal.
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  // Runs the idle update of every action list the form owns.
  virtual void UpdateActions();
  IDesignerNotify* Designer() const { return FDesigner; }
  void SetDesigner(IDesignerNotify* Value) { FDesigner = Value; }
  // A constant opacity for the whole window (a layered window; visible with a compositor).
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE Value);
  // The form whose window owns this one's (kept above it); null for the default owner.
  TCustomForm* PopupParent() const { return FPopupParent.get(); }
  void SetPopupParent(TCustomForm* Value);
  TDefaultMonitor DefaultMonitor() const { return FDefaultMonitor; }
  void SetDefaultMonitor(TDefaultMonitor Value) { FDefaultMonitor = Value; }
  // The form's own drawing surface while it paints (forms that paint themselves).
  TCanvas* Canvas();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  Event<void(TMessage& Msg, bool& Handled)> OnShortCut;

 protected:
  void WndProc(TMessage& Message) override;
  // Reads the description named ResName (when there is one), then runs OnCreate; form classes
  // call it at the end of their constructor.
  void InitForm(const std::string& ResName);
  // Runs OnDestroy while the whole form still exists: form classes call it first thing in
  // their destructor (the base destructor calls it for forms that do not).
  void BeforeDestruction();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  // The form gains or loses the activation: OnActivate, OnDeactivate.
  virtual void Activate();
  virtual void Deactivate();
  // Forms that paint themselves set this; Paint then draws on Canvas.
  void SetPaintsItself(bool Value) { FPaintsItself = Value; }
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void DestroyWnd() override;
  void Loaded() override;

 private:
  IDesignerNotify* FDesigner = nullptr;
  void ApplyPosition();
  void ApplyAlphaBlend();
  void RaiseStayOnTopForms();
  void SetWindowFocus();
  void ApplySizeLimits();
  bool IsFixedBorder() const;
  void CloseModal();
  void ConstraintsChanged() override;
  void CreateMDIClient();
  std::vector<TCustomForm*> MDIChildList(bool StackingOrder) const;

  bool FAlphaBlend = false;
  BYTE FAlphaBlendValue = 255;
  TWeakLink<TCustomForm> FPopupParent;
  TDefaultMonitor FDefaultMonitor = dmActiveForm;
  bool FPaintsItself = false;
  TControlCanvas* FCanvas = nullptr;

  HWND FClientHandle = nullptr;
  TWeakLink<TCustomForm> FActiveMDIChild;
  TTileMode FTileMode = tbHorizontal;

  TModalResult FModalResult = mrNone;
  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FPositioned = false;
  bool FDestroyed = false;
  int FTextHeight = 13;
  TFormState FFormState;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form that holds a control, or null.
TCustomForm* GetParentCustomForm(TControl* Control);

// Creates a form class owned by the application; the first form made becomes the main form.
template <class T>
T* CreateForm(T*& Reference);

// The idle step: every visible form updates its actions. Also called by tests.
void DoActionIdle();

// Registers TCustomForm, TForm and the control classes of this layer with their published
// properties, and the graphic classes. Static libraries drop self-registering initialisers, so
// the program calls this before reading any description.
void RegisterGuiClasses();

TComponent* FormsApplicationOwner();
void FormsSetMainFormIfNone(TCustomForm* Form);

template <class T>
T* CreateForm(T*& Reference) {
  Reference = nullptr;
  T* form = new T(FormsApplicationOwner());
  Reference = form;
  FormsSetMainFormIfNone(form);
  return form;
}

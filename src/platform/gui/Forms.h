#pragma once
// The application object (its loop, exception handling, message boxes), the screen (forms,
// cursors, fonts) and the mouse, with their one instance each: Application, Screen, Mouse.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

using TMessageEvent = Event<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = Event<void(TObject* Sender, Exception* E)>;
using TIdleEvent = Event<void(TObject* Sender, bool& Done)>;
using TShortCutEvent = Event<void(TMessage& Msg, bool& Handled)>;
using TShowHintEvent = Event<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TBasicAction;

// The window a hint shows in: a top-level window that never takes the activation, painted with
// the screen's hint font on its colour (clInfoBk unless the hint asks for another).
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  // The size the text needs at most MaxWidth wide (word-wrapped), at (0, 0).
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
  // Shows the text in the rectangle (screen coordinates, kept on the screen).
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
  // Hides the hint by destroying its window.
  void ReleaseHandle() { DestroyHandle(); }
  // The class the window was made with by CreateHintWindow (null otherwise).
  THintWindow* (*WindowClass() const)(TComponent*) { return FWindowClass; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  friend THintWindow* CreateHintWindow(THintWindow* (*)(TComponent*), TComponent*);
  THintWindow* (*FWindowClass)(TComponent*) = nullptr;
};

// A hint window class: the factory the application makes its hint window with.
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);
template <class T>
THintWindow* MakeHintWindow(TComponent* AOwner) {
  return new T(AOwner);
}
// The class of the application's hint windows (THintWindow unless replaced).
extern THintWindowClass HintWindowClass;
// A hint window of the class, which it remembers.
THintWindow* CreateHintWindow(THintWindowClass Class, TComponent* AOwner);

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  const std::string& ExeName() const { return FExeName; }
  // A hidden window of the application (posted messages addressed to the application).
  HWND Handle();
  TWinControl* MainForm() const { return FMainForm.get(); }
  void SetMainForm(TWinControl* Value) { FMainForm = Value; }
  bool Terminated() const { return FTerminated; }
  // Lets a finished loop run again (tests run many loops in one process).
  void ClearTerminated() { FTerminated = false; }
  bool Active() const;

  // The application's loop: messages until the quit request, then Terminated is set.
  void Run();
  // Handles every waiting message (and Qt event), then returns.
  void ProcessMessages();
  // Handles one message, or waits for the next when there is none (after the idle step).
  void HandleMessage();
  // Asks the loop to end (a quit request).
  void Terminate();
  // The default exception handler: silent for EAbort, else OnException or a message box.
  void HandleException(TObject* Sender);
  void HandleException(TObject* Sender, std::exception_ptr E);
  void ShowException(Exception* E);
  // A message box captioned with the title unless a caption is given.
  int MessageBox(const std::string& Text, const std::string& Caption = {}, UINT Flags = MB_OK);
  void BringToFront();
  void Minimize();
  void Restore();
  bool IsShortCut(TMessage& Message);
  // Offers an action to the active form's controls (OnActionExecute first); true when taken.
  bool ExecuteAction(TBasicAction* Action);
  // Hides the hint showing now; the next one waits for the mouse to reach another control.
  void CancelHint();
  // The hint window showing now, or null.
  THintWindow* HintWindow() const;

  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  // Whether hints of commands carry their shortcut's text (read by the bars).
  bool HintShortCuts() const { return FHintShortCuts; }
  void SetHintShortCuts(bool Value) { FHintShortCuts = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TShortCutEvent OnShortCut;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  Event<void(TBasicAction* Action, bool& Handled)> OnActionExecute;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  // The pre-dispatch step of every retrieved message; true when it was handled.
  virtual bool FilterMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  virtual void Idle(const MSG& Msg);
  bool ProcessMessage(MSG& Msg);

 private:
  friend struct THintState;
  void HintMouseMessage(const MSG& Msg);
  void HintTimer(UINT_PTR Id);
  void ActivateHint(TPoint CursorPos);
  void FreeHints();
  struct THintState* FHintState = nullptr;
  std::string FTitle;
  std::string FExeName;
  HWND FHandle = nullptr;
  TWeakLink<TWinControl> FMainForm;
  bool FTerminated = false;
  TColor FHintColor = clInfoBk;
  int FHintPause = 500;
  int FHintShortPause = 50;
  int FHintHidePause = 2500;
  bool FShowHint = true;
  bool FHintShortCuts = true;
  std::string FHint;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // Forms register themselves here when made and leave when freed.
  int FormCount() const { return int(FForms.size()); }
  TWinControl* Forms(int Index) const { return FForms.at(size_t(Index)); }
  void AddForm(TWinControl* Form);
  void RemoveForm(TWinControl* Form);
  // The top-level control of the active window, and the control with the focus.
  TWinControl* ActiveForm() const;
  TWinControl* ActiveControl() const;

  // The application-wide cursor: crDefault lets each control show its own.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(int Index) const;
  void SetCursors(int Index, HCURSOR Handle);

  const std::vector<std::string>& Fonts();
  TFont* HintFont() const { return FHintFont; }
  TFont* IconFont() const { return FIconFont; }
  TFont* MenuFont() const { return FMenuFont; }
  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  TRect WorkAreaRect() const;
  TRect DesktopRect() const;

 private:
  std::vector<TWinControl*> FForms;
  TCursor FCursor = crDefault;
  std::map<int, HCURSOR> FCursors;
  HCURSOR FDefaultCursor = nullptr;
  std::vector<std::string> FFonts;
  TFont* FHintFont;
  TFont* FIconFont;
  TFont* FMenuFont;
};

class TMouse {
 public:
  TPoint CursorPos() const;
  void SetCursorPos(TPoint Value);
  HWND Capture() const { return GetCapture(); }
  void SetCapture(HWND Value);
  int DragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(int Value) { FDragThreshold = Value; }
  bool DragImmediate() const { return FDragImmediate; }
  void SetDragImmediate(bool Value) { FDragImmediate = Value; }
  int WheelScrollLines() const { return 3; }
  bool MousePresent() const { return true; }
  bool WheelPresent() const { return true; }

 private:
  int FDragThreshold = 5;
  bool FDragImmediate = true;
};

// The single instances, made on first use (after Qt's application object exists).
TApplication* GetApplication();
TScreen* GetScreen();
TMouse* GetMouse();

template <class T, T* (*Get)()>
struct TGlobalRef {
  T* operator->() const { return Get(); }
  T& operator*() const { return *Get(); }
  operator T*() const { return Get(); }  // NOLINT
};
inline constexpr TGlobalRef<TApplication, GetApplication> Application{};
inline constexpr TGlobalRef<TScreen, GetScreen> Screen{};
inline constexpr TGlobalRef<TMouse, GetMouse> Mouse{};

// A message box with the application's title and an OK button.
void ShowMessage(const std::string& Msg);

// Forms and the action idle step build on the application object.
#include "platform/gui/CustomForms.h"

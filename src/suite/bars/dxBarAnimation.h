#pragma once
// Opening animations of menus: the unfold and slide reveal of a sub-menu window, step by step
// from an off-screen picture of the finished menu. Our bar windows belong to the GUI thread, so
// the "thread" runs its steps on a GUI-thread timer of the platform clock; it keeps the
// lifecycle of a worker (created suspended, resumed, stopped with or without finishing, freeing
// itself when it ran to its end).

#include <functional>

#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

class TcxObjectLink;

// What the animation knows of the menu, copied whole when the animation is made.
struct TdxBarAnimationInfo {
  TWinControl* Menu = nullptr;  // the menu window being revealed
  uint8_t AnimationType = 2;    // 2 unfold, 3 slide
  bool LeftDirection = false;   // grows towards the left: its right edge stays
  bool TopDirection = false;    // grows upwards: its bottom edge stays
  int RealLeft = 0, RealTop = 0;
  int RealClientWidth = 0, RealClientHeight = 0;
  int BorderWidth = 0, BorderHeight = 0;  // window size less client size
  int FirstValue = 0;  // unfold: client height less client width; slide: 0
  int Delta = 0;       // the distance covered: unfold the shorter client side, slide the height
  int Step = 8;        // pixels per step: unfold 8, slide 17
  TRect OldClientRect;
};

constexpr uint8_t dxBarAnimationUnfold = 2;
constexpr uint8_t dxBarAnimationSlide = 3;

// The record for a menu whose final window is (Left, Top) with the given client and border
// sizes.
TdxBarAnimationInfo MakeAnimationInfo(TWinControl* Menu, uint8_t AnimationType, int Left, int Top,
                                      int ClientWidth, int ClientHeight, int BorderWidth, int BorderHeight,
                                      bool LeftDirection, bool TopDirection);
int AnimationStepCount(const TdxBarAnimationInfo& Info);
// The client size after step I; a slide keeps the menu's current client width.
TSize AnimationStepClientSize(const TdxBarAnimationInfo& Info, int I, int CurrentClientWidth);
// The window bounds after step I, from the window's current bounds and client size (the
// anchored edges stay where they are).
TRect AnimationStepBounds(const TdxBarAnimationInfo& Info, int I, const TRect& CurrentWindow,
                          const TSize& CurrentClient);
// The part of the finished picture a client area of the given size shows.
TRect AnimationSourceRect(const TdxBarAnimationInfo& Info, const TSize& Client);

class TdxBarAnimationThread : public TObject {
 public:
  // Made suspended; the menu paints its whole client area into the off-screen picture now
  // (WM_PRINTCLIENT).
  explicit TdxBarAnimationThread(const TdxBarAnimationInfo& AInfo);
  ~TdxBarAnimationThread() override;

  virtual void DoTerminate();
  virtual void Execute();

  void Resume();
  // Ends a running animation: with Finish the menu still gets its final placement. The object
  // is freed either way (by this call, or by itself when it had already run to its end).
  void Stop(bool Finish);

  bool Suspended() const { return FSuspended; }
  bool Finished() const { return FFinished; }
  bool Terminated() const { return FTerminated; }
  int StepsDone() const { return FStepIndex; }
  const TdxBarAnimationInfo& Info() const { return FInfo; }
  HDC ImageDC() const { return FDC; }

  bool FreeOnTerminate = true;
  // Runs when the steps end (the menu forgets the animation there).
  TNotifyEvent OnTerminate;
  // Runs at the final placement, before the window takes its real bounds.
  std::function<void()> OnFinishAnimation;

  // The timer pace of the steps, in milliseconds of the platform clock.
  static constexpr UINT StepInterval = 10;

 private:
  static void TimerProc(HWND, UINT, UINT_PTR Id, DWORD);
  void Tick();
  void AnimationStep(int I);
  void FinishAnimation();
  TWinControl* LiveMenu() const;
  void KillStepTimer();

  TdxBarAnimationInfo FInfo;
  TcxObjectLink* FMenuLink = nullptr;
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  UINT_PTR FTimer = 0;
  int FStepIndex = 0;
  bool FFinishWanted = true;
  bool FFinished = false;
  bool FSuspended = true;
  bool FTerminated = false;
};

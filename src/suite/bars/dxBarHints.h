#pragma once
// Hints of bar items, bar windows and caption buttons: what the manager's hint display asks of
// the object under the mouse, the view info that lays a hint out with its shortcut, and the bar
// hint window that shows it.

#include <memory>
#include <string>

#include "suite/core/cxControls.h"
#include "suite/core/dxCustomHint.h"

class TdxBarManager;
class TdxBarHintWindow;

// What the manager's hint display asks of the object a hint is about. Item controls and bar
// windows answer through adaptors (dxBarHintSourceOf); other objects implement it themselves.
class IdxBarHintSource {
 public:
  virtual ~IdxBarHintSource() = default;
  // The plain-hint query: the standard hint window may show this object's hint.
  virtual bool PlainHint() = 0;
  // False when there is no hint now; Hide is set when the hint was refused.
  virtual bool GetHintTexts(bool& Hide, std::string& Hint, std::string& ShortCut) = 0;
  virtual bool HintEnabled() = 0;
  // Where a hint of the given height goes for the mouse at Cursor (screen coordinates).
  virtual TPoint HintPosition(const TPoint& Cursor, int Height) = 0;
  // A view info for the bar hint window, owned by the caller; null leaves the window's own.
  virtual TdxCustomHintViewInfo* NewHintViewInfo(const std::string& Hint, const std::string& ShortCut) = 0;
};

// The hint source of Object (an item control, a bar window, or an object implementing the
// interface), or null. The answer lives as long as the object.
std::unique_ptr<IdxBarHintSource> dxBarHintSourceOf(TObject* Object);

class TdxBarCustomHintViewInfo : public TdxCustomHintViewInfo {
 public:
  virtual bool IsScreenTip() const { return false; }
  // Gives the window this view info's flavour and makes sure it has a window to measure on.
  virtual void PrepareWindow(TdxBarHintWindow* Window);
};

class TdxBarHintViewInfoHelper : public TdxHintViewInfoHelper {
 public:
  TdxBarHintViewInfoHelper(TdxBarManager* AManager, const std::string& AHint, const std::string& AShortCut,
                           TPoint APosition);
  // The manager's font unless the manager follows the system font.
  void ApplyHintFont(TcxCanvas* ACanvas) override;

 private:
  TWeakLink<TdxBarManager> FManager;
};

// A hint's text followed by its shortcut text, at the mouse position it was made for.
class TdxBarHintViewInfo : public TdxBarCustomHintViewInfo {
 public:
  TdxBarHintViewInfo(TdxBarManager* AManager, const std::string& AHint, const std::string& AShortCut,
                     TPoint ACursorPos);
  void PrepareWindow(TdxBarHintWindow* Window) override;
  TdxBarManager* Manager() const;
  const std::string& Hint() const { return FHint; }
  const std::string& ShortCut() const { return FShortCut; }
  TPoint CursorPos() const { return FCursorPos; }

 protected:
  TdxCustomHintViewInfoHelper* CreateHelper() override;

 private:
  TWeakLink<TdxBarManager> FManager;
  std::string FHint;
  std::string FShortCut;
  TPoint FCursorPos;
};

// The tool tip of the bars: a hint window painted by the view info its hint object gives.
class TdxBarHintWindow : public TcxBaseHintWindow {
 public:
  explicit TdxBarHintWindow(TComponent* AOwner);
  ~TdxBarHintWindow() override;

  // Data is the manager whose hint is shown (null for a hint without manager).
  TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  void ActivateHint(TRect Rect, const std::string& AHint) override;
  void SetWindowRegion() override;
  bool NeedsAnimation() override { return FIsScreenTip; }
  // How long a hint stays, and how long the mouse rests before it shows (milliseconds).
  virtual int HidePause() const { return FIsScreenTip ? 200000 : 10000; }
  virtual int ShowPause() const { return FIsScreenTip ? 900 : 1000; }

  bool IsScreenTip() const { return FIsScreenTip; }
  void SetScreenTip(bool Value) { FIsScreenTip = Value; }
  TdxCustomHintViewInfo* ViewInfo() const { return FViewInfo.get(); }

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TdxCustomHintViewInfo> FViewInfo;
  bool FIsScreenTip = false;
};

#pragma once
// The extra bar items that plug into the bar manager through its item registry: the static text
// item and the recent-files list, plus the borderless form that hosts a window control on a bar.

#include <string>

#include "platform/gui/CustomForms.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"

class TBitmap;

// ---- static text

class TdxBarStatic : public TdxBarItem {
 public:
  explicit TdxBarStatic(TComponent* AOwner);

  bool CanClick() const override { return FAllowClick; }
  bool IsEnabledFor(TdxBarItemLink* Link) const override { return false; }
  bool IsStaticItem() const override { return true; }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  TdxBarStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxBarStaticBorderStyle Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetSize(4, Value); }
  int LeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(int Value) { SetSize(1, Value); }
  int RightIndent() const { return FRightIndent; }
  void SetRightIndent(int Value) { SetSize(2, Value); }
  // The fixed width along the bar; 0 sizes the item to its contents.
  int Width() const override { return FWidth; }
  void SetWidth(int Value) override { SetSize(3, Value); }

 private:
  // One setter for the four extents, by index: 1 left indent, 2 right indent, 3 width, 4 height.
  void SetSize(int Index, int Value);
  int& SizeField(int Index);

  TAlignment FAlignment = taCenter;
  bool FAllowClick = false;
  TdxBarStaticBorderStyle FBorderStyle = sbsNone;
  int FLeftIndent = 0;
  int FRightIndent = 0;
  int FHeight = 0;
};

class TdxBarStaticControl : public TdxBarCustomStaticControl {
 public:
  using TdxBarCustomStaticControl::TdxBarCustomStaticControl;

  TdxBarStatic* StaticItem() const { return static_cast<TdxBarStatic*>(LinkItem()); }

  // Whether the item answers the mouse at all: both follow the item's AllowClick.
  bool IsSelectable() const;
  bool CanHotTrack() const { return IsSelectable(); }
  // The hook for controls that draw neither text nor icon (the progress control); never here.
  virtual bool DrawsWithoutContent() const { return false; }
  virtual TAlignment ContentAlignment() const;

  bool CanFocusByKey() const override { return !IsLockedInCustomizing(); }
  bool IsKeyNavigable() const override;
  bool ClickFiresItem() const override { return IsSelectable(); }
  bool IsActiveNow() const override { return IsSelectable() && TdxBarCustomStaticControl::IsActiveNow(); }
  void HitTest(const TPoint& P) override;
  void CaptionChanged() override;
  void CalcDrawParams(bool WithTexts = true) override;
  void Draw(const TRect& R, int APaintKind) override;
  void DrawContent(const TRect& R) override;
  int NaturalHeight() override;
  int NaturalWidth() override;
};

// ---- recent-files list

class TdxBarMRUListItem : public TdxBarListItem {
 public:
  explicit TdxBarMRUListItem(TComponent* AOwner);

  int MaxItemCount() const { return FMaxItemCount; }
  void SetMaxItemCount(int Value);
  bool RemoveItemOnClick() const { return FRemoveItemOnClick; }
  void SetRemoveItemOnClick(bool Value) { FRemoveItemOnClick = Value; }

  // Moves a listed entry (found by text, else by object) to the top; lists a new one there.
  void InsertAtTop(const std::string& Text, TObject* Obj = nullptr);
  // Deletes the entry with the text (by object when the text is empty); nothing when none.
  void RemoveEntry(const std::string& Text, TObject* Obj = nullptr);
  void TrimToMaxCount();

  std::string ItemDisplayText(const std::string& Text) const override;
  void Click() override;

  // The widest a shortened entry caption may be, in pixels.
  static constexpr int DisplayWidth = 300;

 private:
  int FMaxItemCount = 5;
  bool FRemoveItemOnClick = false;
};

// ---- host form of a window control on a bar

class TPlaceForm : public TCustomForm {
 public:
  explicit TPlaceForm(TComponent* AOwner);

  // The container control the form serves now, or null when detached.
  TdxBarItemControl* BarItemControl() const { return FBarItemControl; }
  void SetBarItemControl(TdxBarItemControl* Value) { FBarItemControl = Value; }

  void WndProc(TMessage& Message) override;

 private:
  void EraseBackground(TMessage& Message);
  TdxBarItemControl* FBarItemControl = nullptr;
};

// ---- module start and end

// Registers the extra item kinds with the bar manager and loads the shared pictures; counted,
// so only the first start and the matching last end do anything.
void dxBarExtItemsInitialize();
void dxBarExtItemsFinalize();
// The marks drawn before TrueType and other font names; null outside start and end.
TBitmap* dxBarTrueTypeFontBitmap();
TBitmap* dxBarNonTrueTypeFontBitmap();

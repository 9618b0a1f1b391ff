#pragma once
// Appearance records of the navigation bar: one style per element state, the bar's twenty
// default styles (whose values come from the current view), the repository of named style
// items, and the slots through which the bar, a group or an item points at a repository item.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "suite/navbar/dxNavBarBase.h"

enum TdxBarStyleAssignedValue : uint8_t {
  savAlphaBlending,
  savAlphaBlending2,
  savBackColor,
  savBackColor2,
  savFont,
  savGradientMode,
  savHAlignment,
  savVAlignment,
  savImage
};
using TdxBarStyleAssignedValues = TSet<TdxBarStyleAssignedValue, 16>;
enum TdxBarStyleGradientMode : uint8_t { gmHorizontal, gmVertical, gmForwardDiagonal, gmBackwardDiagonal };
// Scoped: the suite's painters already use haLeft, vaTop... for other enumerations.
enum class TdxBarStyleHAlignment : uint8_t { haLeft, haCenter, haRight };
enum class TdxBarStyleVAlignment : uint8_t { vaTop, vaCenter, vaBottom };

using TdxNavBarChangeEvent = Event<void(TObject* Sender, int ChangeType)>;

class TdxNavBarBaseStyle : public TcxOwnedPersistent {
 public:
  explicit TdxNavBarBaseStyle(TPersistent* AOwner);
  ~TdxNavBarBaseStyle() override;
  void Assign(TPersistent* Source) override;
  // The initial values, written without change events (the views' default procedures start here).
  void ResetValues();

  uint8_t AlphaBlending() const { return FAlphaBlending; }
  void SetAlphaBlending(uint8_t Value);
  uint8_t AlphaBlending2() const { return FAlphaBlending2; }
  void SetAlphaBlending2(uint8_t Value);
  TdxBarStyleAssignedValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TdxBarStyleAssignedValues Value);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  TColor BackColor2() const { return FBackColor2; }
  void SetBackColor2(TColor Value);
  TdxBarStyleGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxBarStyleGradientMode Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TPicture* Image() const { return FImage.get(); }
  void SetImage(TPicture* Value);
  TdxBarStyleHAlignment HAlignment() const { return FHAlignment; }
  void SetHAlignment(TdxBarStyleHAlignment Value);
  TdxBarStyleVAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TdxBarStyleVAlignment Value);

  bool IsValueAssigned(TdxBarStyleAssignedValue Value) const { return FAssignedValues.Contains(Value); }

  TdxNavBarChangeEvent OnChange;

  virtual bool TracksAssignedValues() const { return true; }
  virtual void Changed(int ChangeType);

 private:
  void MarkAssigned(TdxBarStyleAssignedValue Value);
  void FontChanged(TObject* Sender);
  void ImageChanged(TObject* Sender);

  uint8_t FAlphaBlending = 255;
  uint8_t FAlphaBlending2 = 255;
  TdxBarStyleAssignedValues FAssignedValues;
  TColor FBackColor = 0xFFFFFF;
  TColor FBackColor2 = 0xFFFFFF;
  TdxBarStyleGradientMode FGradientMode = gmHorizontal;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPicture> FImage;
  TdxBarStyleHAlignment FHAlignment = TdxBarStyleHAlignment::haLeft;
  TdxBarStyleVAlignment FVAlignment = TdxBarStyleVAlignment::vaCenter;
  bool FAssigning = false;
};

class TdxNavBarStyle : public TdxNavBarBaseStyle {
 public:
  using TdxNavBarBaseStyle::TdxNavBarBaseStyle;
};

class TdxNavBarDefaultStyles;

class TdxNavBarDefaultStyle : public TdxNavBarBaseStyle {
 public:
  using TdxNavBarBaseStyle::TdxNavBarBaseStyle;
  bool HoldsViewDefaults() const { return FHoldsViewDefaults; }
  void SetHoldsViewDefaults(bool Value) { FHoldsViewDefaults = Value; }
  std::function<void()> ResetProc;
  void Changed(int ChangeType) override;

 private:
  bool FHoldsViewDefaults = true;
};

// Indexes of the default styles.
enum TdxNavBarDefaultStyleIndex : int {
  nbsBackground,
  nbsButton,
  nbsButtonPressed,
  nbsButtonHotTracked,
  nbsGroupBackground,
  nbsGroupControl,
  nbsGroupHeader,
  nbsGroupHeaderActive,
  nbsGroupHeaderActiveHotTracked,
  nbsGroupHeaderActivePressed,
  nbsGroupHeaderHotTracked,
  nbsGroupHeaderPressed,
  nbsHint,
  nbsItem,
  nbsItemDisabled,
  nbsItemHotTracked,
  nbsItemPressed,
  nbsDropTargetGroup,
  nbsDropTargetLink,
  nbsNavigationPaneHeader
};

// What fills a default style with its view's values (the bar, through its view information).
class IdxNavBarDefaultStyleSource {
 public:
  virtual ~IdxNavBarDefaultStyleSource() = default;
  virtual void AssignDefaultStyle(int Index, TdxNavBarBaseStyle* Style) = 0;
};

class TdxNavBarDefaultStyles : public TcxOwnedPersistent {
 public:
  static constexpr int StyleCount = 20;
  // AOwner is the bar; when it offers IdxNavBarDefaultStyleSource, resets ask it for the values.
  explicit TdxNavBarDefaultStyles(TPersistent* AOwner);
  ~TdxNavBarDefaultStyles() override;
  void Assign(TPersistent* Source) override;

  int Count() const { return int(FStyles.size()); }
  TdxNavBarDefaultStyle* StyleAt(int Index) const { return FStyles.at(size_t(Index)).get(); }
  void SetStyleAt(int Index, TdxNavBarBaseStyle* Source) { StyleAt(Index)->Assign(Source); }
  bool IsStoredAt(int Index) const { return !StyleAt(Index)->HoldsViewDefaults(); }
  void ResetStyles(bool OnlyUntouched = false);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() { --FUpdateCount; }

  TdxNavBarDefaultStyle* Background() const { return StyleAt(nbsBackground); }
  TdxNavBarDefaultStyle* Button() const { return StyleAt(nbsButton); }
  TdxNavBarDefaultStyle* ButtonPressed() const { return StyleAt(nbsButtonPressed); }
  TdxNavBarDefaultStyle* ButtonHotTracked() const { return StyleAt(nbsButtonHotTracked); }
  TdxNavBarDefaultStyle* GroupBackground() const { return StyleAt(nbsGroupBackground); }
  TdxNavBarDefaultStyle* GroupControl() const { return StyleAt(nbsGroupControl); }
  TdxNavBarDefaultStyle* GroupHeader() const { return StyleAt(nbsGroupHeader); }
  TdxNavBarDefaultStyle* GroupHeaderActive() const { return StyleAt(nbsGroupHeaderActive); }
  TdxNavBarDefaultStyle* GroupHeaderActiveHotTracked() const { return StyleAt(nbsGroupHeaderActiveHotTracked); }
  TdxNavBarDefaultStyle* GroupHeaderActivePressed() const { return StyleAt(nbsGroupHeaderActivePressed); }
  TdxNavBarDefaultStyle* GroupHeaderHotTracked() const { return StyleAt(nbsGroupHeaderHotTracked); }
  TdxNavBarDefaultStyle* GroupHeaderPressed() const { return StyleAt(nbsGroupHeaderPressed); }
  TdxNavBarDefaultStyle* Hint() const { return StyleAt(nbsHint); }
  TdxNavBarDefaultStyle* Item() const { return StyleAt(nbsItem); }
  TdxNavBarDefaultStyle* ItemDisabled() const { return StyleAt(nbsItemDisabled); }
  TdxNavBarDefaultStyle* ItemHotTracked() const { return StyleAt(nbsItemHotTracked); }
  TdxNavBarDefaultStyle* ItemPressed() const { return StyleAt(nbsItemPressed); }
  TdxNavBarDefaultStyle* DropTargetGroup() const { return StyleAt(nbsDropTargetGroup); }
  TdxNavBarDefaultStyle* DropTargetLink() const { return StyleAt(nbsDropTargetLink); }
  TdxNavBarDefaultStyle* NavigationPaneHeader() const { return StyleAt(nbsNavigationPaneHeader); }

  TdxNavBarChangeEvent OnChange;

  virtual void CreateStyles();
  virtual void DestroyStyles();

 private:
  friend class TdxNavBarDefaultStyle;
  void StyleChanged(TdxNavBarDefaultStyle* Style, int ChangeType);

  int FUpdateCount = 0;
  std::vector<std::unique_ptr<TdxNavBarDefaultStyle>> FStyles;
};

class TdxNavBarStyleRepository;

class TdxNavBarStyleItem : public TdxNavBarComponentCollectionItem {
 public:
  explicit TdxNavBarStyleItem(TComponent* AOwner);
  ~TdxNavBarStyleItem() override;
  void Assign(TPersistent* Source) override;
  TdxNavBarStyle* Style() const { return FStyle.get(); }
  void SetStyle(TdxNavBarStyle* Value) { FStyle->Assign(Value); }
  void AddChangeHandler(const TcxEventHandler& Handler);
  void RemoveChangeHandler(const TcxEventHandler& Handler);

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;

 private:
  std::unique_ptr<TdxNavBarStyle> FStyle;
  std::unique_ptr<TcxEventHandlerCollection> FHandlers;
};

class TdxNavBarStyleRepository : public TdxNavBarComponentCollection {
 public:
  explicit TdxNavBarStyleRepository(TComponent* AParentComponent);
  TdxNavBarStyleItem* Add() { return static_cast<TdxNavBarStyleItem*>(AddNew()); }
  TdxNavBarStyleItem* Items(int Index) const { return static_cast<TdxNavBarStyleItem*>(ItemAt(Index)); }
};

class TdxNavBarBaseCustomStyles : public TdxNavBarNexusPersistent {
 public:
  explicit TdxNavBarBaseCustomStyles(TPersistent* AOwner) : TdxNavBarNexusPersistent(AOwner) {}
  ~TdxNavBarBaseCustomStyles() override;
  void Assign(TPersistent* Source) override;
  TdxNavBarStyleItem* StyleAt(int Index) const;
  void SetStyleAt(int Index, TdxNavBarStyleItem* Value);
  virtual int StyleCount() const = 0;

  TdxNavBarChangeEvent OnChange;

 protected:
  void FreeNotification(TComponent* AComponent) override;
  virtual void Subscribe(int Index);
  virtual void Unsubscribe(int Index);
  void EnsureSlots() const;

 private:
  void StyleItemChanged(TObject* Sender, TcxEventArgs* Args);
  TcxEventHandler Handler();

  mutable std::vector<TdxNavBarStyleItem*> FStyles;
};

class TdxNavBarCustomStyles : public TdxNavBarBaseCustomStyles {
 public:
  using TdxNavBarBaseCustomStyles::TdxNavBarBaseCustomStyles;
  int StyleCount() const override { return 8; }
  TdxNavBarStyleItem* Background() const { return StyleAt(0); }
  TdxNavBarStyleItem* Hint() const { return StyleAt(1); }
  TdxNavBarStyleItem* DropTargetGroup() const { return StyleAt(2); }
  TdxNavBarStyleItem* DropTargetLink() const { return StyleAt(3); }
  TdxNavBarStyleItem* Button() const { return StyleAt(4); }
  TdxNavBarStyleItem* ButtonHotTracked() const { return StyleAt(5); }
  TdxNavBarStyleItem* ButtonPressed() const { return StyleAt(6); }
  TdxNavBarStyleItem* NavigationPaneHeader() const { return StyleAt(7); }
};

class TdxNavBarGroupCustomStyles : public TdxNavBarBaseCustomStyles {
 public:
  using TdxNavBarBaseCustomStyles::TdxNavBarBaseCustomStyles;
  int StyleCount() const override { return 8; }
  TdxNavBarStyleItem* Background() const { return StyleAt(0); }
  TdxNavBarStyleItem* Control() const { return StyleAt(1); }
  TdxNavBarStyleItem* Header() const { return StyleAt(2); }
  TdxNavBarStyleItem* HeaderActive() const { return StyleAt(3); }
  TdxNavBarStyleItem* HeaderActiveHotTracked() const { return StyleAt(4); }
  TdxNavBarStyleItem* HeaderActivePressed() const { return StyleAt(5); }
  TdxNavBarStyleItem* HeaderHotTracked() const { return StyleAt(6); }
  TdxNavBarStyleItem* HeaderPressed() const { return StyleAt(7); }
};

class TdxNavBarItemCustomStyles : public TdxNavBarBaseCustomStyles {
 public:
  using TdxNavBarBaseCustomStyles::TdxNavBarBaseCustomStyles;
  int StyleCount() const override { return 4; }
  TdxNavBarStyleItem* Item() const { return StyleAt(0); }
  TdxNavBarStyleItem* ItemDisabled() const { return StyleAt(1); }
  TdxNavBarStyleItem* ItemHotTracked() const { return StyleAt(2); }
  TdxNavBarStyleItem* ItemPressed() const { return StyleAt(3); }
};

class TdxNavBarStyleOptions : public TcxOwnedPersistent {
 public:
  // ANavBar is the repository's parent component and the default styles' owner.
  explicit TdxNavBarStyleOptions(TComponent* ANavBar);
  ~TdxNavBarStyleOptions() override;
  void Assign(TPersistent* Source) override;

  TdxNavBarDefaultStyles* DefaultStyles() const { return FDefaultStyles.get(); }
  void SetDefaultStyles(TdxNavBarDefaultStyles* Value) { FDefaultStyles->Assign(Value); }
  TdxNavBarCustomStyles* CustomStyles() const { return FCustomStyles.get(); }
  void SetCustomStyles(TdxNavBarCustomStyles* Value) { FCustomStyles->Assign(Value); }
  TdxNavBarStyleRepository* CustomStyleRepository() const { return FRepository.get(); }
  void SetCustomStyleRepository(TdxNavBarStyleRepository* Value) { FRepository->Assign(Value); }

  TNotifyEvent OnChange;

 private:
  void Changed();

  std::unique_ptr<TdxNavBarStyleRepository> FRepository;
  std::unique_ptr<TdxNavBarDefaultStyles> FDefaultStyles;
  std::unique_ptr<TdxNavBarCustomStyles> FCustomStyles;
};

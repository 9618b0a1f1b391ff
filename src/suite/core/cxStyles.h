#pragma once
// Styles (background colour, background bitmap, font and text colour, each optional), the style
// repository that holds them on a form, styles objects that map element indexes to styles, and
// style sheets: named styles objects that several styles objects can share.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "suite/core/cxClasses.h"

class TcxCustomStyle;
class TcxStyleRepository;
class TcxCustomStyleSheet;
class TcxCustomStyles;

enum class TcxStyleValue { svBitmap, svColor, svFont, svTextColor };
using enum TcxStyleValue;
using TcxStyleValues = TSet<TcxStyleValue, 4>;

// How a style tells its users about changes. A watcher must take itself off the style's list in
// StyleRemoving (one that does not is taken off after the call).
class IcxStyleWatcher {
 public:
  virtual ~IcxStyleWatcher() = default;
  virtual void StyleModified(TcxCustomStyle* AStyle) = 0;
  virtual void StyleRemoving(TcxCustomStyle* AStyle) = 0;
};

class TcxCustomStyle : public TComponent {
 public:
  explicit TcxCustomStyle(TComponent* AOwner);
  ~TcxCustomStyle() override;

  TcxStyleRepository* StyleRepository() const { return FStyleRepository; }
  void SetStyleRepository(TcxStyleRepository* Value);
  int Index() const;

  bool HasParent() const override { return FStyleRepository != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  virtual void NotifyStyleModified();
  virtual void ApplyScale(int M, int D) {}
  virtual void AddWatcher(IcxStyleWatcher* AWatcher);
  virtual void RemoveWatcher(IcxStyleWatcher* AWatcher);
  virtual void ResetValues() {}
  int WatcherCount() const { return int(FWatchers.size()); }

 protected:
  void ReadState(TReader* Reader) override;

 private:
  std::vector<IcxStyleWatcher*> FWatchers;
  TcxStyleRepository* FStyleRepository = nullptr;
};

class TcxStyle : public TcxCustomStyle {
 public:
  explicit TcxStyle(TComponent* AOwner);
  ~TcxStyle() override;

  void Assign(TPersistent* Source) override;
  void ApplyScale(int M, int D) override;
  void ResetValues() override;

 protected:
  // The picture is stored as the bitmap's own data, when assigned.
  void DefineProperties(TFiler* Filer) override;

 public:
  TcxStyleValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxStyleValues Value);
  // The background picture (empty when none); setting copies into it, null clears it.
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);

 private:
  void BitmapChanged(TObject* Sender);
  void FontChanged(TObject* Sender);
  void SetValueAssigned(TcxStyleValue V, bool On);

  TcxStyleValues FAssignedValues;
  std::unique_ptr<TBitmap> FBitmap;
  TColor FColor = clDefault;
  std::unique_ptr<TFont> FFont;
  TColor FTextColor = clDefault;
};

class TcxCustomStyles : public TcxInterfacedPersistent, public IcxStyleWatcher {
 public:
  explicit TcxCustomStyles(TPersistent* AOwner);
  ~TcxCustomStyles() override;

  void Assign(TPersistent* Source) override;
  // The style of an element index held by this object itself, or null.
  TcxCustomStyle* Values(int Index) const;
  void SetValues(int Index, TcxCustomStyle* Value);
  // The style of an index here, else along the chain of sheets.
  TcxCustomStyle* EffectiveValues(int Index) const;
  TcxCustomStyleSheet* StyleSheet() const { return FStyleSheet; }
  void SetStyleSheet(TcxCustomStyleSheet* Value);
  TcxCustomStyleSheet* OwnerStyleSheet() const { return FOwnerStyleSheet; }
  void SetOwnerStyleSheet(TcxCustomStyleSheet* Value) { FOwnerStyleSheet = Value; }
  bool IsValidStyleSheet(TcxCustomStyleSheet* Value) const;
  int LinkCount() const { return int(FItems.size()); }

  void StyleModified(TcxCustomStyle* AStyle) override;
  void StyleRemoving(TcxCustomStyle* AStyle) override;

 protected:
  virtual void StyleValueChanged(int Index) {}
  virtual void NotifyIndexChanged(int Index);
  friend class TcxCustomStyleSheet;

 private:
  struct TLink {
    int Index;
    TcxCustomStyle* Style;
  };
  void DeleteLink(std::size_t Position);
  void CollectIndexes(std::vector<int>& Indexes) const;

  std::vector<TLink> FItems;
  TcxCustomStyleSheet* FStyleSheet = nullptr;
  TcxCustomStyleSheet* FOwnerStyleSheet = nullptr;
  bool FDestroying = false;
};

class TcxCustomStyleSheet : public TcxComponent {
 public:
  explicit TcxCustomStyleSheet(TComponent* AOwner);
  ~TcxCustomStyleSheet() override;

  void Assign(TPersistent* Source) override;
  std::string Caption() const;
  void SetCaption(const std::string& Value);
  bool IsCaptionStored() const { return !FCaption.empty(); }
  bool BuiltIn() const { return FBuiltIn; }
  TcxCustomStyles* GetStyles();
  TcxStyleRepository* StyleRepository() const { return FStyleRepository; }
  void SetStyleRepository(TcxStyleRepository* Value);
  int UserCount() const { return int(FUsers.size()); }
  TcxCustomStyles* Users(int Index) const { return FUsers[std::size_t(Index)]; }

  bool HasParent() const override { return FStyleRepository != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  virtual void CollectForeignOwners(std::vector<TComponent*>& List);
  // Makes the styles object this sheet holds (of the sheet's styles class).
  virtual TcxCustomStyles* CreateStyles() { return new TcxCustomStyles(this); }

 protected:
  void DefineProperties(TFiler* Filer) override;
  void ReadState(TReader* Reader) override;

 private:
  friend class TcxCustomStyles;
  void AddUser(TcxCustomStyles* AUser);
  void RemoveUser(TcxCustomStyles* AUser);
  void DoStyleChanged(int Index);

  bool FBuiltIn = false;
  std::string FCaption;
  std::unique_ptr<TcxCustomStyles> FStyles;
  std::vector<TcxCustomStyles*> FUsers;
  TcxStyleRepository* FStyleRepository = nullptr;
};

class TcxStyleRepository : public TcxScalableComponent {
 public:
  explicit TcxStyleRepository(TComponent* AOwner);
  ~TcxStyleRepository() override;

  int Count() const { return int(FItems.size()); }
  TcxCustomStyle* Items(int Index) const { return FItems[std::size_t(Index)]; }
  int StyleSheetCount() const { return int(FStyleSheets.size()); }
  TcxCustomStyleSheet* StyleSheets(int Index) const { return FStyleSheets[std::size_t(Index)]; }
  bool Scalable() const { return TcxScalableComponent::Scalable(); }
  void SetScalable(bool Value) { TcxScalableComponent::SetScalable(Value); }

  virtual void ApplyScale(int M, int D);
  // Classes by their registration.
  virtual TcxCustomStyle* NewStyle(const TClassInfo* AStyleClass);
  virtual TcxCustomStyle* NewStyleOwned(const TClassInfo* AStyleClass, TComponent* AOwner);
  virtual TcxCustomStyleSheet* NewStyleSheet(const TClassInfo* ASheetClass);
  virtual TcxCustomStyleSheet* NewStyleSheetOwned(const TClassInfo* ASheetClass,
                                                  TComponent* AOwner);

 protected:
  void ChangeScale(int M, int D) override { ApplyScale(M, D); }
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 private:
  friend class TcxCustomStyle;
  friend class TcxCustomStyleSheet;
  std::vector<TcxCustomStyle*> FItems;
  std::vector<TcxCustomStyleSheet*> FStyleSheets;
};

void cxStylesInitialize();
void cxStylesFinalize();

#pragma once
// Screen tips: rich hints with a header, a description and a footer (text and an optional glyph
// each), kept in a repository and linked to controls or actions; the hint style that finds the
// tip of the hinted control, and the window that lays it out and paints it.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Pictures.h"
#include "suite/core/cxClasses.h"
#include "suite/core/dxCustomHint.h"

class TdxScreenTip;
class TdxScreenTipRepository;
class TcxCustomLookAndFeelPainter;

enum TdxScreenTipBandType : uint8_t { stbHeader, stbDescription, stbFooter };
enum TdxScreenTipBandTextAlign : uint8_t { stbtaLeft, stbtaRight };
using TdxScreenTipRepositoryFonts = TSet<TdxScreenTipBandType>;

// The colour a band font has while nobody chose one.
constexpr TColor dxScreenTipDefaultFontColor = 0x004C4C4C;

class TdxCustomScreenTipBand : public TPersistent {
 public:
  explicit TdxCustomScreenTipBand(TdxScreenTipBandType ABandType);
  ~TdxCustomScreenTipBand() override;
  void Assign(TPersistent* Source) override;

  TdxScreenTipBandType BandType() const { return FBandType; }
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  TdxScreenTipBandTextAlign TextAlign() const { return FTextAlign; }
  void SetTextAlign(TdxScreenTipBandTextAlign Value);
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }

  virtual void Changed();
  // The font the band is drawn with.
  virtual TFont* Font() const;
  virtual bool IsFontColorDefault() const;

  TNotifyEvent OnChange;

 protected:
  virtual TdxScreenTipRepository* Repository() const = 0;

 private:
  TdxScreenTipBandType FBandType;
  std::unique_ptr<TBitmap> FGlyph;
  std::string FText;
  TdxScreenTipBandTextAlign FTextAlign = stbtaRight;
};

class TdxScreenTipBand : public TdxCustomScreenTipBand {
 public:
  TdxScreenTipBand(TdxScreenTip* AScreenTip, TdxScreenTipBandType ABandType)
      : TdxCustomScreenTipBand(ABandType), FScreenTip(AScreenTip) {}

 protected:
  TdxScreenTipRepository* Repository() const override;
  TPersistent* GetOwner() const override;

 private:
  TdxScreenTip* FScreenTip;
};

// The repository's standard footer.
class TdxScreenTipFooterBand : public TdxCustomScreenTipBand {
 public:
  explicit TdxScreenTipFooterBand(TdxScreenTipRepository* ARepository)
      : TdxCustomScreenTipBand(stbFooter), FRepository(ARepository) {}

 protected:
  TdxScreenTipRepository* Repository() const override { return FRepository; }
  TPersistent* GetOwner() const override;

 private:
  TdxScreenTipRepository* FRepository;
};

class TdxScreenTipCollection;

class TdxScreenTip : public TcxComponentCollectionItem {
 public:
  explicit TdxScreenTip(TComponent* AOwner);
  ~TdxScreenTip() override;
  void Assign(TPersistent* Source) override;
  void SetName(const std::string& NewName) override;
  void DisplayText(std::string& Text) const override;

  TdxCustomScreenTipBand* Header() const { return FBands[stbHeader].get(); }
  TdxCustomScreenTipBand* Description() const { return FBands[stbDescription].get(); }
  TdxCustomScreenTipBand* Footer() const { return FBands[stbFooter].get(); }
  void SetHeader(TdxCustomScreenTipBand* Value) { FBands[stbHeader]->Assign(Value); }
  void SetDescription(TdxCustomScreenTipBand* Value) { FBands[stbDescription]->Assign(Value); }
  void SetFooter(TdxCustomScreenTipBand* Value) { FBands[stbFooter]->Assign(Value); }
  bool UseHintAsHeader() const { return FUseHintAsHeader; }
  void SetUseHintAsHeader(bool Value) { FUseHintAsHeader = Value; }
  bool UseStandardFooter() const { return FUseStandardFooter; }
  void SetUseStandardFooter(bool Value) { FUseStandardFooter = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }

  // The band shown for a type: the repository's standard footer when the tip uses it.
  TdxCustomScreenTipBand* BandOf(TdxScreenTipBandType BandType) const;
  virtual TdxScreenTipCollection* OwningCollection() const;
  TdxScreenTipRepository* Repository() const;
  // Width, or 210 (318 with a description glyph) at 96 DPI when Width is 0.
  virtual int EffectiveWidth() const;

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;

 private:
  std::unique_ptr<TdxCustomScreenTipBand> FBands[3];
  bool FUseHintAsHeader = false;
  bool FUseStandardFooter = false;
  int FWidth = 0;
};

class TdxScreenTipCollection : public TcxComponentCollection {
 public:
  explicit TdxScreenTipCollection(TdxScreenTipRepository* ARepository);
  TdxScreenTip* Items(int Index) const { return static_cast<TdxScreenTip*>(ItemAt(Index)); }
  TdxScreenTip* Add() { return static_cast<TdxScreenTip*>(AddNew()); }

 protected:
  void AssignItemName(TcxComponentCollectionItem* Item) override;
};

class TdxScreenTipRepository : public TComponent {
 public:
  explicit TdxScreenTipRepository(TComponent* AOwner);
  ~TdxScreenTipRepository() override;
  void Assign(TPersistent* Source) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TdxScreenTipRepositoryFonts AssignedFonts() const { return FAssignedFonts; }
  void SetAssignedFonts(TdxScreenTipRepositoryFonts Value) { FAssignedFonts = Value; }
  TFont* HeaderFont() const { return FFonts[stbHeader].get(); }
  TFont* DescriptionFont() const { return FFonts[stbDescription].get(); }
  TFont* FooterFont() const { return FFonts[stbFooter].get(); }
  void SetHeaderFont(TFont* Value) { FFonts[stbHeader]->Assign(Value); }
  void SetDescriptionFont(TFont* Value) { FFonts[stbDescription]->Assign(Value); }
  void SetFooterFont(TFont* Value) { FFonts[stbFooter]->Assign(Value); }
  TdxScreenTipCollection* Items() const { return FItems.get(); }
  TdxScreenTipFooterBand* StandardFooter() const { return FStandardFooter.get(); }
  void SetStandardFooter(TdxScreenTipFooterBand* Value) { FStandardFooter->Assign(Value); }
  bool ShowDescription() const { return FShowDescription; }
  void SetShowDescription(bool Value) { FShowDescription = Value; }

  virtual TFont* BandFont(TdxScreenTipBandType BandType) const;

 protected:
  virtual TdxScreenTipCollection* CreateItems();

 private:
  void FontChanged(TdxScreenTipBandType BandType);

  TdxScreenTipRepositoryFonts FAssignedFonts;
  std::unique_ptr<TFont> FFonts[3];
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TdxScreenTipCollection> FItems;
  std::unique_ptr<TdxScreenTipFooterBand> FStandardFooter;
  bool FShowDescription = true;
};

// ---- links

class TdxScreenTipStyle;

class TdxCustomScreenTipLink : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  ~TdxCustomScreenTipLink() override;
  void Assign(TPersistent* Source) override;
  TComponent* Component() const { return FComponent; }
  void SetComponent(TComponent* Value);
  TdxScreenTip* ScreenTip() const { return FScreenTip; }
  void SetScreenTip(TdxScreenTip* Value);

 private:
  TComponent* Notifier() const;
  void Move(TComponent* Old, TComponent* New);

  TComponent* FComponent = nullptr;
  TdxScreenTip* FScreenTip = nullptr;
};

class TdxScreenTipLink : public TdxCustomScreenTipLink {
 public:
  using TdxCustomScreenTipLink::TdxCustomScreenTipLink;
  TControl* Control() const { return dynamic_cast<TControl*>(Component()); }
  void SetControl(TControl* Value) { SetComponent(Value); }
};

class TdxScreenTipActionLink : public TdxCustomScreenTipLink {
 public:
  using TdxCustomScreenTipLink::TdxCustomScreenTipLink;
  TBasicAction* Action() const { return dynamic_cast<TBasicAction*>(Component()); }
  void SetAction(TBasicAction* Value) { SetComponent(Value); }
};

class TdxCustomScreenTipLinks : public TCollection {
 public:
  TdxCustomScreenTipLinks(TdxScreenTipStyle* AStyle, TCollectionItemClass AItemClass);
  TdxScreenTipStyle* Style() const { return FStyle; }
  TdxCustomScreenTipLink* Items(int Index) const { return Get<TdxCustomScreenTipLink>(Index); }
  TdxCustomScreenTipLink* Add() { return static_cast<TdxCustomScreenTipLink*>(TCollection::Add()); }
  // The first link whose component or screen tip is AComponent.
  TdxCustomScreenTipLink* FindByComponent(TComponent* AComponent) const;

 protected:
  TPersistent* GetOwner() const override;

 private:
  TdxScreenTipStyle* FStyle;
};

class TdxScreenTipLinks : public TdxCustomScreenTipLinks {
 public:
  explicit TdxScreenTipLinks(TdxScreenTipStyle* AStyle)
      : TdxCustomScreenTipLinks(AStyle, ItemClassOf<TdxScreenTipLink>()) {}
};

class TdxScreenTipActionLinks : public TdxCustomScreenTipLinks {
 public:
  explicit TdxScreenTipActionLinks(TdxScreenTipStyle* AStyle)
      : TdxCustomScreenTipLinks(AStyle, ItemClassOf<TdxScreenTipActionLink>()) {}
};

// What a control of another library answers when it keeps its screen tips itself.
class IdxScreenTipProvider {
 public:
  virtual ~IdxScreenTipProvider() = default;
  virtual TBasicAction* GetAction() = 0;
  virtual TdxScreenTip* GetScreenTip() = 0;
  virtual std::string GetShortCut() = 0;
};

class TdxScreenTipStyle : public TcxCustomHintStyle {
 public:
  explicit TdxScreenTipStyle(TPersistent* AOwner);
  ~TdxScreenTipStyle() override;
  static TcxCustomHintStyle* CreateStyle(TPersistent* AOwner) { return new TdxScreenTipStyle(AOwner); }
  void Assign(TPersistent* Source) override;

  THintWindowClass HintWindowClass() const override;
  void ComponentRemoved(TComponent* AComponent) override;
  void ShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) override;
  bool FindScreenTip(TControl* AControl, TdxScreenTip*& AScreenTip, std::string& AShortCutText) const;

  TdxScreenTipLinks* ScreenTipLinks() const { return FScreenTipLinks.get(); }
  void SetScreenTipLinks(TdxScreenTipLinks* Value) { FScreenTipLinks->Assign(Value); }
  TdxScreenTipActionLinks* ScreenTipActionLinks() const { return FScreenTipActionLinks.get(); }
  void SetScreenTipActionLinks(TdxScreenTipActionLinks* Value) { FScreenTipActionLinks->Assign(Value); }

 private:
  std::unique_ptr<TdxScreenTipLinks> FScreenTipLinks;
  std::unique_ptr<TdxScreenTipActionLinks> FScreenTipActionLinks;
};
extern const TcxHintStyleClassRec TdxScreenTipStyleClass;

// ---- layout, painting and window

class TdxScreenTipPainter : public TObject {
 public:
  explicit TdxScreenTipPainter(TcxCustomLookAndFeelPainter* APainter) : FPainter(APainter) {}
  virtual TColor DescriptionTextColor() const;
  virtual int FooterLineSize() const;
  virtual TColor TitleTextColor() const;
  virtual void DrawBackground(TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawFooterLine(TcxCanvas* ACanvas, const TRect& R) const;

 private:
  TcxCustomLookAndFeelPainter* FPainter;
};

class TdxScreenTipBandViewInfo : public TObject {
 public:
  TdxScreenTipBandViewInfo(TdxCustomScreenTipBand* ABand, const std::string& AHintText,
                           const std::string& AShortCutText);
  int CalcHeight(TcxCanvas* ACanvas, int AWidth, const TdxScreenTipPainter* APainter);
  void Arrange(int AWidth, int ATop, const TdxScreenTipPainter* APainter, int AHeight);
  void Paint(TcxCanvas* ACanvas, const TdxScreenTipPainter* APainter);

  TdxCustomScreenTipBand* Band() const { return FBand; }
  const std::string& Text() const { return FText; }
  bool HasGlyph() const { return FBand->HasGlyph(); }
  TRect GlyphRect() const { return FGlyphRect; }
  TSize GlyphSize() const { return FGlyphSize; }
  TRect TextRect() const { return FTextRect; }
  TSize TextSize() const { return FTextSize; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int HorizontalIndent() const;
  int VerticalIndent(const TdxScreenTipPainter* APainter) const;
  int GlyphColumnWidth() const;

 private:
  UINT TextFlags() const;
  TdxCustomScreenTipBand* FBand;
  std::string FText;
  TRect FGlyphRect, FTextRect;
  TSize FGlyphSize{0, 0}, FTextSize{0, 0};
  int FTop = 0, FWidth = 0, FHeight = 0;
};

class TdxScreenTipViewInfoHelper : public TdxCustomHintViewInfoHelper {
 public:
  TdxScreenTipViewInfoHelper(TdxScreenTip* AScreenTip, const std::string& AShortCut,
                             const std::string& AHint, TdxScreenTipPainter* APainter);
  void Calculate(TcxCanvas* ACanvas) override;
  void Paint(TcxCanvas* ACanvas) override;
  int BandCount() const { return int(FBands.size()); }
  TdxScreenTipBandViewInfo* Bands(int Index) const { return FBands.at(size_t(Index)).get(); }
  virtual TdxScreenTipBandViewInfo* CreateBandViewInfo(TdxCustomScreenTipBand* ABand);

 private:
  TdxScreenTipPainter* FPainter;
  TdxScreenTip* FScreenTip;
  std::string FHintText;
  std::string FShortCutText;
  std::vector<std::unique_ptr<TdxScreenTipBandViewInfo>> FBands;
  int FWidth = 0;
};

class TdxScreenTipViewInfo : public TdxCustomHintViewInfo {
 public:
  TdxScreenTipViewInfo(TdxScreenTip* AScreenTip, const std::string& AShortCut, const std::string& AHint,
                       TcxCustomLookAndFeelPainter* APainter);
  TdxScreenTipViewInfoHelper* ScreenTipHelper() { return static_cast<TdxScreenTipViewInfoHelper*>(Helper()); }

 protected:
  TdxCustomHintViewInfoHelper* CreateHelper() override;

 private:
  TdxScreenTip* FScreenTip;
  std::string FShortCut, FHint;
  TdxScreenTipPainter FPainter;
};

// A plain hint drawn in the screen tips' look.
class TdxScreenTipLikeHintViewInfoHelper : public TdxHintViewInfoHelper {
 public:
  TdxScreenTipLikeHintViewInfoHelper(const std::string& AHint, const std::string& AShortCut, TPoint APosition,
                                     TdxScreenTipPainter* APainter)
      : TdxHintViewInfoHelper(AHint, AShortCut, APosition), FPainter(APainter) {}
  void CorrectMinSize(TSize& Size) override;
  TRect GetTextRect() override;
  void ApplyTextColor(TcxCanvas* ACanvas) override;
  void Paint(TcxCanvas* ACanvas) override;

 private:
  TdxScreenTipPainter* FPainter;
};

class TdxScreenTipLikeHintViewInfo : public TdxCustomHintViewInfo {
 public:
  TdxScreenTipLikeHintViewInfo(const std::string& AHint, const std::string& AShortCut, TPoint ACursorPos,
                               TcxCustomLookAndFeelPainter* APainter)
      : FHint(AHint), FShortCut(AShortCut), FCursorPos(ACursorPos), FPainter(APainter) {}

 protected:
  TdxCustomHintViewInfoHelper* CreateHelper() override {
    return new TdxScreenTipLikeHintViewInfoHelper(FHint, FShortCut, FCursorPos, &FPainter);
  }

 private:
  std::string FHint, FShortCut;
  TPoint FCursorPos;
  TdxScreenTipPainter FPainter;
};

class TdxScreenTipWindow : public TcxCustomHintWindow {
 public:
  explicit TdxScreenTipWindow(TComponent* AOwner);
  ~TdxScreenTipWindow() override;

  TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  void FitToDesktop(TRect& Rect) override;
  bool NeedsAnimation() override { return true; }
  void SetWindowRegion() override;
  void ShowHintAt(int X, int Y, const std::string& ACaption, const std::string& AHint, int AMaxWidth) override;

  // The tip to show whatever control is hinted (set by the bars' item controls).
  TdxScreenTip* ScreenTip() const { return FScreenTip; }
  void SetScreenTip(TdxScreenTip* Value) { FScreenTip = Value; }
  TdxCustomHintViewInfo* ViewInfo() const { return FViewInfo.get(); }
  int BorderWidth() const { return FBorderWidth; }

 protected:
  virtual TdxCustomHintViewInfo* CreateViewInfo(const std::string& AHint);
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TdxCustomHintViewInfo> FViewInfo;
  TdxScreenTip* FScreenTip = nullptr;
  int FBorderWidth = 1;
};

void dxScreenTipInitialize();
void dxScreenTipFinalize();

#include "controls/spPngImageList.h"

#include <QImage>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

TspPngImageItem::TspPngImageItem(TCollection* Collection) : TCollectionItem(Collection) {
  FName = "PngImage" + IntToStr(Index());
  // The platform list holds one placeholder per item, so that its count follows the items.
  if (TspPngImageList* list = List()) {
    TBitmap placeholder;
    placeholder.SetPixelFormat(pf1bit);
    placeholder.SetSize(list->Width(), list->Height());
    list->Add(&placeholder, nullptr);
  }
}

TspPngImageItem::~TspPngImageItem() {
  TspPngImageList* list = List();
  const int index = Index();
  if (list && index >= 0 && index < list->Count()) list->Delete(index);
}

TspPngImageList* TspPngImageItem::List() const {
  auto* items = dynamic_cast<TspPngImageItems*>(Collection());
  return items ? items->List() : nullptr;
}

void TspPngImageItem::SetPngImage(TspPngImage* Value) {
  FPngImage->Assign(Value);
  Changed(false);
}

void TspPngImageItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TspPngImageItem*>(Source)) {
    FPngImage->Assign(item->PngImage());
    FName = item->Name();
    return;
  }
  TCollectionItem::Assign(Source);
}

std::string TspPngImageItem::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

void TspPngImageItem::DefineProperties(TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "PngImage", [this](TStream* S) { FPngImage->LoadFromStream(S); },
      [this](TStream* S) { FPngImage->SaveToStream(S); }, !FPngImage->Empty());
}

// ---------------------------------------------------------------------------------------------

TspPngImageItems::TspPngImageItems(TspPngImageList* AOwner)
    : TCollection(ItemClassOf<TspPngImageItem>()), FList(AOwner) {}

TPersistent* TspPngImageItems::GetOwner() const { return FList; }

TspPngImageList::TspPngImageList(TComponent* AOwner) : TCustomImageList(AOwner) {
  FPngImages = std::make_unique<TspPngImageItems>(this);
}

TspPngImageList::~TspPngImageList() {
  // The items take their placeholders out of the platform list, which must still be there.
  FPngImages.reset();
}

void TspPngImageList::SetPngWidth(int Value) {
  if (Value == Width()) return;
  SetWidth(Value);
  if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::SetPngHeight(int Value) {
  if (Value == Height()) return;
  SetHeight(Value);
  if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool Enabled) {
  if (Index < 0 || Index >= FPngImages->Count()) return;
  TspPngImage* png = FPngImages->Item(Index)->PngImage();
  const TRect r(X, Y, X + Width(), Y + Height());
  if (Enabled) {
    Canvas->StretchDraw(r, png);
    return;
  }
  TspPngImage disabled;
  MakeDisabledPngImage(png, &disabled);
  Canvas->StretchDraw(r, &disabled);
}

void MakeDisabledPngImage(const TspPngImage* Source, TspPngImage* Dest) {
  const TspPngLayerIHDR* h = Source->Header();
  const QImage image = Source->ToImage();
  if (!h || image.isNull()) {
    Dest->Assign(nullptr);
    return;
  }
  // Palette and grey pictures show their colour key or nothing of their own alpha.
  const bool flat = h->ColorType == 0 || h->ColorType == 3;
  TBitmap colours;
  colours.SetPixelFormat(pf32bit);
  colours.SetImage(image.convertToFormat(QImage::Format_RGB32));
  Dest->AssignBitmapHandle(colours.Handle(), false, 0);
  Dest->AddAlphaChannel();
  for (int y = 0; y < image.height(); ++y) {
    const auto* s = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uint8_t* a = Dest->AlphaRowPointer(y);
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = qAlpha(s[x]);
      a[x] = flat ? (alpha == 0 ? 0 : 127) : uint8_t(Round(alpha * 128 / 256.0));
    }
  }
}

void RegisterSpPngImageListClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!FindClassInfo(typeid(TCustomImageList))) RegisterClass<TCustomImageList, TComponent>();
  RegisterClass<TspPngImageList, TCustomImageList>();
  Published<TspPngImageList>()
      .Property("PngWidth", &TspPngImageList::PngWidth, &TspPngImageList::SetPngWidth).Default(16)
      .Property("PngHeight", &TspPngImageList::PngHeight, &TspPngImageList::SetPngHeight).Default(16)
      .Property("PngImages", &TspPngImageList::PngImages, &TspPngImageList::SetPngImages);
  RegisterClass<TspPngImageItem, TCollectionItem>();
  Published<TspPngImageItem>().Property("Name", &TspPngImageItem::Name, &TspPngImageItem::SetName);
}

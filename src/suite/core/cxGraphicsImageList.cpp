#include <QImage>
#include <QtCore/qglobal.h>
#include <algorithm>
#include <cstring>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/DeviceContext.h"
#include "suite/core/cxGraphics.h"

namespace {

// A bitmap of its own over a copy of the pixels (and the source's depth).
void CopyInto(TcxBitmap* Dest, TBitmap* Source) {
  if (!Source || Source->Empty()) {
    Dest->SetSize(0, 0);
    return;
  }
  Dest->SetPixelFormat(Source->PixelFormat());
  Dest->SetImage(Source->ToImage().copy());
}

bool IsEmptyBitmap(TBitmap* B) { return !B || B->Empty(); }

QImage PieceOf(TBitmap* B, int X, int Y, int W, int H) { return B->ToImage().copy(X, Y, W, H); }

}  // namespace

// ---- TcxImageInfo

TcxImageInfo::TcxImageInfo()
    : FImage(std::make_unique<TcxBitmap>()), FMask(std::make_unique<TcxBitmap>()),
      FInternalMask(std::make_unique<TcxBitmap>()) {}

TcxImageInfo::~TcxImageInfo() = default;

void TcxImageInfo::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TcxImageInfo*>(Source)) {
    SetImage(src->FImage.get());
    SetMask(src->FMask.get());
    FMaskColor = src->FMaskColor;
    return;
  }
  TPersistent::Assign(Source);
}

void TcxImageInfo::SetImage(TBitmap* Value) {
  CopyInto(FImage.get(), Value);
  if (!FImage->Empty()) FImage->Handle();
}

void TcxImageInfo::SetMask(TBitmap* Value) {
  CopyInto(FMask.get(), Value);
  if (!FMask->Empty()) FMask->Handle();
}

// ---- TcxImageInfoItem

TcxImageInfoItem::TcxImageInfoItem(TCollection* Collection)
    : TCollectionItem(Collection), FImageInfo(std::make_unique<TcxImageInfo>()) {
  if (auto* c = dynamic_cast<TcxImageInfoCollection*>(Collection)) SetCompressData(c->CompressData() != 0);
}

TcxImageInfoItem::~TcxImageInfoItem() = default;

void TcxImageInfoItem::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TcxImageInfoItem*>(Source)) {
    FImageInfo->Assign(src->FImageInfo.get());
    return;
  }
  TCollectionItem::Assign(Source);
}

TBitmap* TcxImageInfoItem::Image() const { return FImageInfo->Image(); }
void TcxImageInfoItem::SetImage(TBitmap* Value) { FImageInfo->SetImage(Value); }
TBitmap* TcxImageInfoItem::Mask() const { return FImageInfo->Mask(); }
void TcxImageInfoItem::SetMask(TBitmap* Value) { FImageInfo->SetMask(Value); }

bool TcxImageInfoItem::CompressData() const {
  return FImageInfo->Image()->CompressData() && FImageInfo->Mask()->CompressData();
}

void TcxImageInfoItem::SetCompressData(bool Value) {
  FImageInfo->Image()->SetCompressData(Value);
  FImageInfo->Mask()->SetCompressData(Value);
}

// ---- TcxImageInfoCollection

TcxImageInfoCollection::TcxImageInfoCollection(TcxImageList* AImageList)
    : TCollection(ItemClassOf<TcxImageInfoItem>()), FImageList(AImageList) {}

TPersistent* TcxImageInfoCollection::GetOwner() const { return FImageList; }

TcxImageInfoItem* TcxImageInfoCollection::AddItem(TBitmap* Image, TBitmap* Mask, TColor MaskColor) {
  auto* item = static_cast<TcxImageInfoItem*>(Add());
  item->SetImage(Image);
  item->SetMask(Mask);
  item->SetMaskColor(MaskColor);
  return item;
}

void TcxImageInfoCollection::SetCompressData(uint8_t Value) {
  if (FCompressData == Value) return;
  FCompressData = Value;
  for (int i = 0; i < Count(); ++i) Items(i)->SetCompressData(Value != 0);
}

// ---- TcxImageList

TcxImageList::TcxImageList(TComponent* AOwner) : TDragImageList(AOwner) { Initialize(); }

TcxImageList::~TcxImageList() = default;

void TcxImageList::Initialize() {
  BeginUpdate();
  if (!FImageInfo) FImageInfo = std::make_unique<TcxImageInfoCollection>(this);
  FDrawThroughSuite = 1;
  SetHandleValue(ImageList_Create(Width(), Height(), ILC_MASK | ILC_COLOR32, AllocBy(), AllocBy()));
  CancelUpdate();
}

void TcxImageList::EndUpdate() {
  if (--FUpdateCount == 0) Change();
}

void TcxImageList::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(1, AWidth);
  AHeight = std::max(1, AHeight);
  if (AWidth == Width() && AHeight == Height()) return;
  BeginUpdate();
  DeleteImage(-1);
  FWidth = AWidth;
  FHeight = AHeight;
  ImageList_SetIconSize(Handle(), AWidth, AHeight);
  EndUpdate();
}

void TcxImageList::Change() {
  if (FUpdateCount > 0) return;
  const TComponentState& s = ComponentState();
  if (s.Contains(csLoading) || s.Contains(csReading) || s.Contains(csDestroying)) return;
  if (ImageList_GetImageCount(Handle()) == FImageInfo->Count()) TDragImageList::Change();
  else SynchronizeImageInfo();
}

int TcxImageList::AddBitmap(TBitmap* Image, TBitmap* Mask) {
  if (IsEmptyBitmap(Image)) return -1;
  HBITMAP mask = nullptr;
  TBitmap blank;
  if (!IsEmptyBitmap(Mask)) mask = Mask->Handle();
  else {
    // No mask: every pixel shows.
    QImage black(Width(), Height(), QImage::Format_RGB32);
    black.fill(0xFF000000u);
    blank.SetImage(black);
    blank.SetMonochrome(true);
    mask = blank.Handle();
  }
  const int r = ImageList_Add(Handle(), Image->Handle(), mask);
  if (r != -1 && !FSynchronizing) AddImageInfoItems(Image, IsEmptyBitmap(Mask) ? nullptr : Mask, clNone);
  Change();
  return r;
}

int TcxImageList::AddMaskedBitmap(TBitmap* Image, TColor MaskColor) {
  if (MaskColor == clNone) return AddBitmap(Image, nullptr);
  if (IsEmptyBitmap(Image)) return -1;
  BeginUpdate();
  TBitmap copy;
  copy.Assign(Image);
  int r = ImageList_AddMasked(Handle(), copy.Handle(), COLORREF(ColorToRGB(MaskColor)));
  if (r >= ImageList_GetImageCount(Handle())) r = -1;
  if (r != -1 && !FSynchronizing) AddImageInfoItems(Image, nullptr, MaskColor);
  EndUpdate();
  return r;
}

int TcxImageList::AddImageInfo(TcxImageInfo* Info) {
  if (!IsEmptyBitmap(Info->Mask())) return AddBitmap(Info->Image(), Info->Mask());
  return AddMaskedBitmap(Info->Image(), Info->MaskColor());
}

void TcxImageList::AddImageInfoItems(TBitmap* Bitmap, TBitmap* Mask, TColor MaskColor) {
  const int w = Width(), h = Height();
  const bool strip = Bitmap->Width() % w == 0 && Bitmap->Height() % h == 0 &&
                     !(Bitmap->Width() == w && Bitmap->Height() == h);
  if (!strip) {
    FImageInfo->AddItem(Bitmap, Mask, MaskColor);
    return;
  }
  for (int y = 0; y < Bitmap->Height(); y += h)
    for (int x = 0; x < Bitmap->Width(); x += w) {
      TcxBitmap image, mask;
      image.SetPixelFormat(Bitmap->PixelFormat());
      image.SetImage(PieceOf(Bitmap, x, y, w, h));
      if (Mask) {
        mask.SetPixelFormat(Mask->PixelFormat());
        mask.SetImage(PieceOf(Mask, x, y, w, h));
      }
      FImageInfo->AddItem(&image, Mask ? &mask : nullptr, MaskColor);
    }
}

void TcxImageList::DeleteImage(int Index) {
  BeginUpdate();
  TDragImageList::Delete(Index);
  if (Index == -1) FImageInfo->Clear();
  else if (Index >= 0 && Index < FImageInfo->Count()) FImageInfo->Delete(Index);
  EndUpdate();
}

void TcxImageList::AddImagesFrom(TCustomImageList* Source, int StartIndex, int EndIndex) {
  if (!Source) return;
  BeginUpdate();
  auto* cx = dynamic_cast<TcxImageList*>(Source);
  std::unique_ptr<TcxImageList> temp;
  if (!cx) {
    temp = std::make_unique<TcxImageList>(nullptr);
    temp->Assign(Source);
    cx = temp.get();
  }
  const int last = cx->FImageInfo->Count() - 1;
  EndIndex = EndIndex < 0 ? last : std::min(EndIndex, last);
  StartIndex = std::max(0, StartIndex);
  for (int i = StartIndex; i <= EndIndex; ++i) AddImageInfo(cx->FImageInfo->Items(i)->ImageInfo());
  EndUpdate();
}

void TcxImageList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomImageList*>(Source);
  if (!src) {
    TDragImageList::Assign(Source);
    return;
  }
  BeginUpdate();
  SetBkColor(src->BkColor());
  SetBlendColor(src->BlendColor());
  SetDrawingStyle(src->DrawingStyle());
  SetImageType(src->ImageType());
  SetSize(src->Width(), src->Height());
  ClearImages();
  if (auto* cx = dynamic_cast<TcxImageList*>(src)) {
    for (int i = 0; i < cx->FImageInfo->Count(); ++i) AddImageInfo(cx->FImageInfo->Items(i)->ImageInfo());
  } else {
    for (int i = 0; i < src->Count(); ++i) {
      TBitmap image, mask;
      ExtractImageBitmaps(src->Handle(), i, &image, &mask);
      image.SetPixelFormat(pf32bit);
      mask.SetMonochrome(true);
      AddBitmap(&image, &mask);
    }
  }
  EndUpdate();
}

void TcxImageList::ExtractImageBitmaps(HIMAGELIST Handle, int Index, TBitmap* Image, TBitmap* Mask) {
  IMAGEINFO info;
  if (!ImageList_GetImageInfo(Handle, Index == -1 ? 0 : Index, &info)) return;
  auto take = [&](HBITMAP h, TBitmap* Dest, bool mask) {
    if (!Dest) return;
    QImage strip;
    if (h) strip = FindBitmap(h)->Image;
    else {
      // A list without masks: nothing is transparent.
      int cx = 0, cy = 0;
      ImageList_GetIconSize(Handle, &cx, &cy);
      strip = QImage(cx * ImageList_GetImageCount(Handle), cy, QImage::Format_RGB32);
      strip.fill(0xFF000000u);
    }
    QImage part = Index == -1 ? strip.copy()
                              : strip.copy(info.rcImage.left, info.rcImage.top, info.rcImage.right - info.rcImage.left,
                                           info.rcImage.bottom - info.rcImage.top);
    Dest->SetImage(part);
    if (mask) Dest->SetMonochrome(true);
    else Dest->SetPixelFormat(ImageList_GetColorDepth(Handle) == 32 ? pf32bit : pf24bit);
  };
  take(info.hbmMask, Mask, true);
  take(info.hbmImage, Image, false);
  if (info.hbmImage) DeleteObject(info.hbmImage);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

void TcxImageList::GetImage(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= FImageInfo->Count()) return;
  TcxImageInfo* info = FImageInfo->Items(Index)->ImageInfo();
  if (info->Image()->PixelFormat() == pf32bit) {
    if (Image) {
      Image->Assign(info->Image());
      Image->SetPixelFormat(pf32bit);
    }
    if (Mask) {
      if (!IsEmptyBitmap(info->Mask())) Mask->Assign(info->Mask());
      else {
        if (info->InternalMask()->Empty()) {
          TBitmap m;
          ExtractImageBitmaps(Handle(), Index, nullptr, &m);
          CopyInto(info->InternalMask(), &m);
        }
        Mask->Assign(info->InternalMask());
      }
    }
  } else {
    ExtractImageBitmaps(Handle(), Index, Image, Mask);
    if (Image) Image->SetPixelFormat(info->Image()->PixelFormat());
  }
  info->Image()->Dormant();
}

int TcxImageList::GetPixelFormat(HIMAGELIST Handle) {
  if (ImageList_GetImageCount(Handle) == 0) return 0;
  return ImageList_GetColorDepth(Handle);
}

void TcxImageList::DrawImage(TCanvas* Canvas, const TRect& R, int Index, bool Stretch, bool Smooth, bool Enabled) {
  DrawImageEx(Index, Canvas, R, ILD_NORMAL, Stretch, Smooth, Enabled);
}

void TcxImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  DrawImageEx(Index, Canvas, TRect(X, Y, X + Width(), Y + Height()), Style, false, false, Enabled);
}

void TcxImageList::DrawImageEx(int Index, TCanvas* Canvas, const TRect& R, UINT Style, bool Stretch, bool Smooth,
                               bool Enabled) {
  if (!Canvas) return;
  if (R.Width() == Width() && R.Height() == Height()) Stretch = false;
  TRect image = R;
  if (!Stretch) {
    const int x = R.Left + (R.Width() - Width()) / 2, y = R.Top + (R.Height() - Height()) / 2;
    image = TRect(x, y, x + Width(), y + Height());
  }
  const TcxImageDrawMode mode = Enabled ? ImageDrawNormal : ImageDrawDisabled;
  if (FDrawThroughSuite) DrawImageInState(Canvas->Handle(), image, image, nullptr, this, Index, mode, Smooth);
  else TDragImageList::DoDraw(Index, Canvas, image.Left, image.Top, Style, Enabled);
}

void TcxImageList::SynchronizeImageInfo() {
  BeginUpdate();
  FSynchronizing = 1;
  try {
    ImageList_Remove(Handle(), -1);
    for (int i = 0; i < FImageInfo->Count();) {
      if (AddImageInfo(FImageInfo->Items(i)->ImageInfo()) == -1) FImageInfo->Delete(i);
      else FImageInfo->Items(i++)->Image()->Dormant();
    }
  } catch (...) {
    FSynchronizing = 0;
    CancelUpdate();
    throw;
  }
  FSynchronizing = 0;
  // An item the list splits differently keeps the counts apart: report the change rather than
  // rebuilding again and again.
  if (--FUpdateCount == 0) TDragImageList::Change();
}

void TcxImageList::ConvertLegacyImages() {
  FImageInfo->BeginUpdate();
  FImageInfo->Clear();
  for (int i = 0; i < ImageList_GetImageCount(Handle()); ++i) {
    TBitmap image, mask;
    ExtractImageBitmaps(Handle(), i, &image, &mask);
    image.SetPixelFormat(pf32bit);
    mask.SetMonochrome(true);
    FImageInfo->AddItem(&image, &mask, clNone);
  }
  FImageInfo->EndUpdate();
}

void TcxBitmap::DefineProperties(TFiler* Filer) {
  TBitmap::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data",
      [this](TStream* s) {
        ReadData(s);
        // Stored alpha comes back as a 32-bit bitmap.
        if (!Empty() && ToImage().format() == QImage::Format_ARGB32) SetPixelFormat(pf32bit);
      },
      [this](TStream* s) { WriteData(s); }, !Empty());
}

void TcxImageList::DefineProperties(TFiler* Filer) {
  // The platform list's own "Bitmap" data is only read (older descriptions); the images are
  // written as "ImageInfo".
  if (dynamic_cast<TReader*>(Filer)) TDragImageList::DefineProperties(Filer);
  Filer->DefineProperty(
      "FormatVersion", [this](TReader* r) { FFormatVersion = r->ReadInteger(); },
      [](TWriter* w) { w->WriteInteger(1); }, true);
  // Descriptions have no ancestor to compare with: the images are stored whenever there are any.
  Filer->DefineProperty(
      "ImageInfo", [this](TReader* r) { ReadImageInfo(r); }, [this](TWriter* w) { WriteImageInfo(w); },
      FImageInfo->Count() > 0);
}

void TcxImageList::ReadData(TStream* Stream) {
  TDragImageList::ReadData(Stream);
  ConvertLegacyImages();
}

void TcxImageList::ReadImageInfo(TReader* Reader) {
  FImageInfo->Clear();
  Reader->ReadCollection(FImageInfo.get());
  SynchronizeImageInfo();
}

void TcxImageList::WriteImageInfo(TWriter* Writer) { Writer->WriteCollection(FImageInfo.get()); }

static void InitSuiteImages() { Q_INIT_RESOURCE(sonalix_suite_images); }

void RegisterImageListClasses() {
  if (FindClassInfo(typeid(TcxImageList))) return;
  InitSuiteImages();
  RegisterEnumNames<TDrawingStyle>({"dsFocus", "dsSelected", "dsNormal", "dsTransparent"});
  RegisterEnumNames<TImageType>({"itImage", "itMask"});
  if (!FindClassInfo(typeid(TCustomImageList))) RegisterClass<TCustomImageList, TComponent>();
  if (!FindClassInfo(typeid(TDragImageList))) RegisterClass<TDragImageList, TCustomImageList>();
  RegisterClass<TcxImageList, TDragImageList>();
  Published<TcxImageList>()
      .Property("BlendColor", &TcxImageList::BlendColor, &TcxImageList::SetBlendColor).Default(clNone)
      .Property("BkColor", &TcxImageList::BkColor, &TcxImageList::SetBkColor).Default(clNone)
      .Property("CompressData", &TcxImageList::CompressData, &TcxImageList::SetCompressData).Default(0)
      .Property("DrawingStyle", &TcxImageList::DrawingStyle, &TcxImageList::SetDrawingStyle).Default(dsNormal)
      .Property("Height", &TcxImageList::Height, &TcxImageList::SetHeight).Default(16)
      .Property("ImageType", &TcxImageList::ImageType, &TcxImageList::SetImageType).Default(itImage)
      .Property("ShareImages", &TcxImageList::ShareImages, &TcxImageList::SetShareImages).Default(0)
      .Property("Width", &TcxImageList::Width, &TcxImageList::SetWidth).Default(16)
      .Property("OnChange", &TcxImageList::OnChange);
  RegisterClass<TcxImageInfoItem, TCollectionItem>();
  Published<TcxImageInfoItem>()
      .Property("Image", [](TcxImageInfoItem* i) { return i->ImageInfo()->Image(); })
      .Property("Mask", [](TcxImageInfoItem* i) { return i->ImageInfo()->Mask(); })
      .Property("MaskColor", &TcxImageInfoItem::MaskColor, &TcxImageInfoItem::SetMaskColor).Default(clNone);
}

bool CompareImageLists(TCustomImageList* A, TCustomImageList* B) {
  if (!A || !B) return A == B;
  if (A->Count() != B->Count()) return false;
  if (A->Count() == 0) return true;
  TMemoryStream a, b;
  ImageList_Write(A->Handle(), &a);
  ImageList_Write(B->Handle(), &b);
  return a.Size() == b.Size() && std::memcmp(a.Memory(), b.Memory(), size_t(a.Size())) == 0;
}

void FlattenImageListOnColor(TcxImageList* List, TColor Color, bool Enabled) {
  TcxImageList copy(nullptr);
  copy.SetSize(List->Width(), List->Height());
  copy.AddImagesFrom(List);
  List->BeginUpdate();
  List->ClearImages();
  for (int i = 0; i < copy.Count(); ++i) {
    TcxAlphaBitmap back(List->Width(), List->Height());
    back.Canvas()->Brush()->SetColor(Color);
    back.Canvas()->FillRect(back.FullRect());
    back.MakeOpaque();
    copy.DrawImage(back.Canvas(), back.FullRect(), i, false, false, Enabled);
    TBitmap flat;
    flat.Assign(&back);
    flat.SetPixelFormat(pf24bit);
    List->AddMaskedBitmap(&flat, Color);
  }
  List->EndUpdate();
}

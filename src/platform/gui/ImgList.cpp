#include "platform/gui/ImgList.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/win/DeviceContext.h"

struct TImageListData {
  int Width = 16, Height = 16;
  UINT Flags = 0;
  struct TItem {
    QImage Image;  // ARGB32, straight alpha
    QImage Mask;   // RGB32, white where transparent
  };
  std::vector<TItem> Items;
};

namespace {

constexpr char kListSignature[4] = {'S', 'X', 'I', 'L'};

QImage BitmapToImage(HBITMAP h) {
  TGdiBitmap* b = FindBitmap(h);
  if (!b) return {};
  return b->Image.convertToFormat(QImage::Format_ARGB32);
}

int BitmapDepth(HBITMAP h) {
  TGdiBitmap* b = FindBitmap(h);
  return b ? b->BitsPerPixel : 0;
}

HBITMAP MakeBitmap(const QImage& img, int bits) {
  HBITMAP h = CreateBitmapFromImage(img);
  if (TGdiBitmap* b = FindBitmap(h)) b->BitsPerPixel = bits;
  return h;
}

bool HasAnyAlpha(const QImage& img) {
  for (int y = 0; y < img.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (row[x] >> 24) return true;
  }
  return false;
}

int AddPieces(HIMAGELIST list, const QImage& image, const QImage* mask) {
  if (!list || image.isNull() || image.width() < list->Width || image.height() < list->Height) return -1;
  const int first = int(list->Items.size());
  const int n = image.width() / list->Width;
  for (int i = 0; i < n; ++i) {
    TImageListData::TItem item;
    item.Image = image.copy(i * list->Width, 0, list->Width, list->Height);
    if (mask && !mask->isNull()) {
      // A mask is a monochrome bitmap: any non-black pixel counts as white.
      QImage m = mask->copy(i * list->Width, 0, list->Width, list->Height).convertToFormat(QImage::Format_RGB32);
      for (int y = 0; y < m.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(m.scanLine(y));
        for (int x = 0; x < m.width(); ++x) row[x] = (row[x] & 0xFFFFFF) ? 0xFFFFFFFFu : 0xFF000000u;
      }
      item.Mask = m;
    } else {
      item.Mask = QImage(list->Width, list->Height, QImage::Format_RGB32);
      item.Mask.fill(0xFF000000u);
    }
    list->Items.push_back(std::move(item));
  }
  return first;
}

// The item as premultiplied pixels: masked pixels transparent, alpha-less images opaque.
QImage Composed(const TImageListData::TItem& item, bool useMask) {
  QImage out = item.Image.copy();
  const bool alpha = HasAnyAlpha(out);
  for (int y = 0; y < out.height(); ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(out.scanLine(y));
    const uint32_t* m = reinterpret_cast<const uint32_t*>(item.Mask.constScanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      uint32_t p = row[x];
      uint32_t a = alpha ? p >> 24 : 255;
      if (useMask && (m[x] & 0xFFFFFF)) a = 0;
      uint32_t q = a << 24;
      for (int ch = 0; ch < 3; ++ch) q |= (((p >> (8 * ch)) & 0xFF) * a + 127) / 255 << (8 * ch);
      row[x] = q;
    }
  }
  return out;
}

void WriteInt(TStream* s, int32_t v) { s->WriteBuffer(&v, 4); }
int32_t ReadInt(TStream* s) {
  int32_t v = 0;
  s->ReadBuffer(&v, 4);
  return v;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* list = new TImageListData;
  list->Width = cx;
  list->Height = cy;
  list->Flags = flags;
  return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  if (!list) return FALSE;
  delete list;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) { return list ? int(list->Items.size()) : 0; }

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  if (!list) return FALSE;
  if (cx) *cx = list->Width;
  if (cy) *cy = list->Height;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy) {
  if (!list || cx <= 0 || cy <= 0) return FALSE;
  list->Width = cx;
  list->Height = cy;
  list->Items.clear();
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  QImage img = BitmapToImage(image);
  // Below 32 bits an image has no alpha of its own.
  if (BitmapDepth(image) < 32)
    for (int y = 0; y < img.height(); ++y) {
      uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) row[x] &= 0xFFFFFF;
    }
  QImage m;
  if (mask) m = BitmapToImage(mask);
  return AddPieces(list, img, (list && (list->Flags & ILC_MASK) && mask) ? &m : nullptr);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
  QImage img = BitmapToImage(image);
  if (!list || img.isNull()) return -1;
  const bool keepAlpha = BitmapDepth(image) >= 32;
  const uint32_t key = (uint32_t(GetRValue(maskColor)) << 16) | (uint32_t(GetGValue(maskColor)) << 8) | GetBValue(maskColor);
  QImage m(img.size(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    uint32_t* mrow = reinterpret_cast<uint32_t*>(m.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const bool hit = (row[x] & 0xFFFFFF) == key;
      mrow[x] = hit ? 0xFFFFFFFFu : 0xFF000000u;
      if (hit) row[x] = 0;
      else if (!keepAlpha) row[x] &= 0xFFFFFF;
    }
  }
  return AddPieces(list, img, (list->Flags & ILC_MASK) ? &m : nullptr);
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  if (!list) return FALSE;
  if (index == -1) {
    list->Items.clear();
    return TRUE;
  }
  if (index < 0 || index >= int(list->Items.size())) return FALSE;
  list->Items.erase(list->Items.begin() + index);
  return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info) {
  if (!list || !info || index < 0 || index >= int(list->Items.size())) return FALSE;
  const int n = int(list->Items.size());
  QImage strip(list->Width * n, list->Height, QImage::Format_ARGB32);
  QImage mstrip(list->Width * n, list->Height, QImage::Format_RGB32);
  strip.fill(0u);
  for (int i = 0; i < n; ++i)
    for (int y = 0; y < list->Height; ++y) {
      std::memcpy(strip.scanLine(y) + size_t(i) * list->Width * 4, list->Items[i].Image.constScanLine(y),
                  size_t(list->Width) * 4);
      std::memcpy(mstrip.scanLine(y) + size_t(i) * list->Width * 4, list->Items[i].Mask.constScanLine(y),
                  size_t(list->Width) * 4);
    }
  const bool color32 = (list->Flags & 0xFE) == ILC_COLOR32;
  info->hbmImage = MakeBitmap(color32 ? strip : strip.convertToFormat(QImage::Format_RGB32), color32 ? 32 : 24);
  info->hbmMask = (list->Flags & ILC_MASK) ? MakeBitmap(mstrip, 1) : nullptr;
  info->rcImage = RECT{index * list->Width, 0, (index + 1) * list->Width, list->Height};
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
  if (!list || index < 0 || index >= int(list->Items.size())) return FALSE;
  const auto& item = list->Items[size_t(index)];
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp;
  if (style & ILD_MASK) {
    bmp = MakeBitmap(item.Mask, 1);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(dc, x, y, list->Width, list->Height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
  } else {
    bmp = MakeBitmap(Composed(item, (list->Flags & ILC_MASK) != 0), 32);
    HGDIOBJ old = SelectObject(mem, bmp);
    BLENDFUNCTION bf;
    bf.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(dc, x, y, list->Width, list->Height, mem, 0, 0, list->Width, list->Height, bf);
    SelectObject(mem, old);
  }
  DeleteObject(bmp);
  DeleteDC(mem);
  return TRUE;
}

BOOL ImageList_Write(HIMAGELIST list, TStream* stream) {
  if (!list || !stream) return FALSE;
  stream->WriteBuffer(kListSignature, 4);
  WriteInt(stream, 1);
  WriteInt(stream, list->Width);
  WriteInt(stream, list->Height);
  WriteInt(stream, int32_t(list->Flags));
  WriteInt(stream, int32_t(list->Items.size()));
  for (const auto& item : list->Items)
    for (const QImage* img : {&item.Image, &item.Mask})
      for (int y = 0; y < list->Height; ++y) stream->WriteBuffer(img->constScanLine(y), int64_t(list->Width) * 4);
  return TRUE;
}

HIMAGELIST ImageList_Read(TStream* stream) {
  char sig[4];
  if (!stream || stream->Read(sig, 4) != 4 || std::memcmp(sig, kListSignature, 4) != 0) return nullptr;
  try {
    if (ReadInt(stream) != 1) return nullptr;
    const int w = ReadInt(stream), h = ReadInt(stream);
    const UINT flags = UINT(ReadInt(stream));
    const int n = ReadInt(stream);
    // Sizes come from the stream: refuse what the remaining bytes cannot hold.
    const int64_t left = stream->Size() - stream->Position();
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096 || n < 0 || int64_t(n) * w * h * 8 > left) return nullptr;
    std::unique_ptr<TImageListData> list(ImageList_Create(w, h, flags, n, 4));
    for (int i = 0; i < n; ++i) {
      TImageListData::TItem item;
      item.Image = QImage(w, h, QImage::Format_ARGB32);
      item.Mask = QImage(w, h, QImage::Format_RGB32);
      for (QImage* img : {&item.Image, &item.Mask})
        for (int y = 0; y < h; ++y) stream->ReadBuffer(img->scanLine(y), int64_t(w) * 4);
      list->Items.push_back(std::move(item));
    }
    return list.release();
  } catch (const Exception&) {
    return nullptr;
  }
}

int ImageList_GetColorDepth(HIMAGELIST list) {
  return list && (list->Flags & 0xFE) == ILC_COLOR32 ? 32 : 24;
}

// ---- TCustomImageList

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->SetSender(nullptr);
  ImageList_Destroy(FHandle);
}

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
  if (!Link || std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end()) return;
  Link->SetSender(this);
  FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
  auto it = std::find(FLinks.begin(), FLinks.end(), Link);
  if (it == FLinks.end()) return;
  (*it)->SetSender(nullptr);
  FLinks.erase(it);
}

void TCustomImageList::Initialize() { FHandle = ImageList_Create(FWidth, FHeight, ILC_MASK | ILC_COLOR32, FAllocBy, FAllocBy); }

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) Initialize();
  return FHandle;
}

void TCustomImageList::SetHandleValue(HIMAGELIST Value) {
  if (FHandle != Value) ImageList_Destroy(FHandle);
  FHandle = Value;
  if (FHandle) ImageList_GetIconSize(FHandle, &FWidth, &FHeight);
}

int TCustomImageList::Count() const { return ImageList_GetImageCount(FHandle); }

void TCustomImageList::SetWidth(int Value) { SetSize(Value, FHeight); }
void TCustomImageList::SetHeight(int Value) { SetSize(FWidth, Value); }

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(1, AWidth);
  AHeight = std::max(1, AHeight);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) return -1;
  int r = ImageList_Add(Handle(), Image->Handle(), Mask ? Mask->Handle() : nullptr);
  Change();
  return r;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) return -1;
  int r = ImageList_AddMasked(Handle(), Image->Handle(), COLORREF(ColorToRGB(MaskColor)));
  Change();
  return r;
}

void TCustomImageList::Delete(int Index) {
  if (ImageList_Remove(Handle(), Index)) Change();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->FillRect(TRect(0, 0, FWidth, FHeight));
  ImageList_Draw(FHandle, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
  return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Canvas && Index >= 0 && Index < Count()) DoDraw(Index, Canvas, X, Y, ILD_NORMAL, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool) {
  ImageList_Draw(FHandle, Index, Canvas->Handle(), X, Y, Style);
}

void TCustomImageList::Change() {
  if (ComponentState().Contains(csDestroying)) return;
  // A link may unregister itself while it is told.
  const std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links)
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, Count() > 0);
}

void TCustomImageList::ReadData(TStream* Stream) {
  HIMAGELIST list = ImageList_Read(Stream);
  if (!list) throw EReadError("Failed to read ImageList data");
  SetHandleValue(list);
  Change();
}

void TCustomImageList::WriteData(TStream* Stream) {
  if (!ImageList_Write(Handle(), Stream)) throw EWriteError("Failed to write ImageList data");
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomImageList*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  FBkColor = src->FBkColor;
  FBlendColor = src->FBlendColor;
  FDrawingStyle = src->FDrawingStyle;
  FImageType = src->FImageType;
  FAllocBy = src->FAllocBy;
  if (FWidth != src->FWidth || FHeight != src->FHeight) {
    FWidth = src->FWidth;
    FHeight = src->FHeight;
    if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  }
  HIMAGELIST h = Handle();
  if (src->FHandle) {
    h->Items = src->FHandle->Items;
    h->Flags = src->FHandle->Flags;
  } else {
    h->Items.clear();
  }
  Change();
}

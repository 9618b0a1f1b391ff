#include "platform/gui/Pictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <vector>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/DeviceContext.h"

// ---------------------------------------------------------------------------------------------
// TGraphic's stream and file routines

void TGraphic::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value) Changed(this);
  else FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromStream(TStream*) {
  throw EInvalidGraphicOperation(Format("%s cannot be read from a stream", {ClassName()}));
}

void TGraphic::SaveToStream(TStream*) {
  throw EInvalidGraphicOperation(Format("%s cannot be written to a stream", {ClassName()}));
}

void TGraphic::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EInvalidGraphicOperation(Format("%s cannot be read from the clipboard", {ClassName()}));
}

void TGraphic::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphicOperation(Format("%s cannot be put on the clipboard", {ClassName()}));
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

// ---------------------------------------------------------------------------------------------
// BMP files

namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }
void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// The value of a masked field scaled to 8 bits.
int MaskedChannel(uint32_t pixel, uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  uint32_t v = (pixel >> shift) & mask;
  return mask == 255 ? int(v) : int(v * 255 / mask);
}

[[noreturn]] void BadBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

}  // namespace

QImage ReadBmpImage(TStream* Stream) {
  int64_t start = Stream->Position();
  int64_t available = Stream->Size() - start;
  if (available < 26) BadBitmap();
  std::vector<uint8_t> data(size_t(available), 0);
  Stream->ReadBuffer(data.data(), available);
  const uint8_t* d = data.data();
  if (d[0] != 'B' || d[1] != 'M') BadBitmap();
  uint32_t fileSize = Get32(d + 2);
  uint32_t offBits = Get32(d + 10);
  uint32_t headerSize = Get32(d + 14);
  int64_t width, height;
  int bits, compression = 0, paletteEntry = 4;
  uint32_t colorsUsed = 0;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (headerSize == 12) {
    width = Get16(d + 18);
    height = int16_t(Get16(d + 20));
    bits = Get16(d + 24);
    paletteEntry = 3;
  } else if (headerSize >= 40 && 14 + headerSize <= available) {
    width = int32_t(Get32(d + 18));
    height = int32_t(Get32(d + 22));
    bits = Get16(d + 28);
    compression = int(Get32(d + 30));
    colorsUsed = Get32(d + 46);
    if (compression == 3) {
      // The masks follow a short header, or sit inside a longer one.
      if (14 + 40 + 12 > available) BadBitmap();
      for (int i = 0; i < 3; ++i) masks[i] = Get32(d + 54 + 4 * i);
    } else if (bits == 32) {
      masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
  } else {
    BadBitmap();
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535) BadBitmap();
  if (!(compression == 0 || (compression == 3 && (bits == 16 || bits == 32)))) BadBitmap();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) BadBitmap();

  std::vector<QRgb> palette;
  if (bits <= 8) {
    uint32_t count = colorsUsed ? colorsUsed : (1u << bits);
    if (count > 256) BadBitmap();
    size_t at = 14 + headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
    if (at + size_t(count) * paletteEntry > data.size()) BadBitmap();
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = d + at + i * paletteEntry;
      palette.push_back(qRgb(e[2], e[1], e[0]));
    }
    palette.resize(size_t(1) << bits, qRgb(0, 0, 0));
  }
  int64_t stride = ((width * bits + 31) / 32) * 4;
  if (offBits > data.size() || int64_t(offBits) + stride * height > int64_t(data.size())) BadBitmap();

  bool alpha = false;
  QImage image(int(width), int(height), QImage::Format_ARGB32);
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* src = d + offBits + row * stride;
    int y = int(topDown ? row : height - 1 - row);
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int64_t x = 0; x < width; ++x) {
      switch (bits) {
        case 1: dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
        case 8: dst[x] = palette[src[x]]; break;
        case 16: {
          uint32_t p = Get16(src + 2 * x);
          dst[x] = qRgb(MaskedChannel(p, masks[0]), MaskedChannel(p, masks[1]), MaskedChannel(p, masks[2]));
          break;
        }
        case 24: dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
        case 32: {
          uint32_t p = Get32(src + 4 * x);
          int a = compression == 0 ? int(p >> 24) : 255;
          if (a) alpha = true;
          dst[x] = qRgba(MaskedChannel(p, masks[0]), MaskedChannel(p, masks[1]), MaskedChannel(p, masks[2]), a);
          break;
        }
      }
    }
  }
  // A 32-bit file whose fourth byte is never used is opaque.
  if (bits == 32 && !alpha) image = image.convertToFormat(QImage::Format_RGB32);
  else if (bits != 32) image.reinterpretAsFormat(QImage::Format_RGB32);
  // Leave the stream just after the bitmap when the file says how long it is.
  if (fileSize >= offBits && fileSize <= data.size()) Stream->SetPosition(start + fileSize);
  return image;
}

void WriteBmpImage(TStream* Stream, const QImage& Image, int Bits) {
  if (Bits != 32) Bits = 24;
  QImage img = Image.format() == QImage::Format_ARGB32 || Image.format() == QImage::Format_RGB32
                   ? Image
                   : Image.convertToFormat(Image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                   : QImage::Format_RGB32);
  const int w = img.width(), h = img.height();
  const uint32_t stride = uint32_t(((w * Bits + 31) / 32) * 4);
  const uint32_t imageSize = stride * uint32_t(h);
  std::vector<uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(h));
  Put16(out, 1);
  Put16(out, uint16_t(Bits));
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 3780);  // 96 dots per inch
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    size_t rowStart = out.size();
    for (int x = 0; x < w; ++x) {
      out.push_back(uint8_t(qBlue(src[x])));
      out.push_back(uint8_t(qGreen(src[x])));
      out.push_back(uint8_t(qRed(src[x])));
      if (Bits == 32) out.push_back(img.hasAlphaChannel() ? uint8_t(qAlpha(src[x])) : 0);
    }
    while (out.size() - rowStart < stride) out.push_back(0);
  }
  Stream->WriteBuffer(out.data(), int64_t(out.size()));
}

// ---------------------------------------------------------------------------------------------
// TBitmap

class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* Owner) : FBitmap(Owner) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext() {
    if (!HandleAllocated()) return;
    HDC dc = Handle();
    SetHandle(nullptr);
    if (FOld) SelectObject(dc, FOld);
    FOld = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(dc, FBitmap->Handle());
    SetHandle(dc);
  }
  void Changed() override {
    TCanvas::Changed();
    FBitmap->Changed(FBitmap);
  }

 private:
  TBitmap* FBitmap;
  HGDIOBJ FOld = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FCanvas.reset();
  if (FHandle) DeleteObject(FHandle);
}

TGdiBitmap* TBitmap::Bits() const { return FHandle ? FindBitmap(FHandle) : nullptr; }

void TBitmap::FreeCanvasHandle() {
  if (FCanvas) FCanvas->FreeContext();
}

HBITMAP TBitmap::Handle() {
  if (!FHandle) {
    QImage img(std::max(FWidth, 0), std::max(FHeight, 0), QImage::Format_RGB32);
    img.fill(Qt::white);
    FHandle = CreateBitmapFromImage(img);
  }
  return FHandle;
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeCanvasHandle();
  HBITMAP h = Handle();
  FHandle = CreateBitmapFromImage(FindBitmap(h)->Image.copy());
  return h;
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  FreeCanvasHandle();
  if (FHandle) DeleteObject(FHandle);
  FHandle = Value;
  TGdiBitmap* b = Bits();
  FWidth = b ? b->Image.width() : 0;
  FHeight = b ? b->Image.height() : 0;
  Changed(this);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

QImage TBitmap::ToImage() const {
  if (TGdiBitmap* b = Bits()) return b->Image;
  QImage img(FWidth, FHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

void TBitmap::SetImage(const QImage& Image) {
  QImage img = Image;
  if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
    img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  FreeCanvasHandle();
  if (FHandle) DeleteObject(FHandle);
  FHandle = CreateBitmapFromImage(img);
  FWidth = img.width();
  FHeight = img.height();
  Changed(this);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  QImage img(AWidth, AHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  // An empty size keeps nothing of the old picture (and has nothing to paint on).
  if (TGdiBitmap* b = Bits(); b && !img.isNull()) {
    if (b->Image.hasAlphaChannel()) img = img.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, b->Image);
  }
  SetImage(img);
  // Empty in one direction, the bitmap still keeps the other.
  FWidth = AWidth;
  FHeight = AHeight;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (FPixelFormat == Value) return;
  FPixelFormat = Value;
  Changed(this);
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  TGdiBitmap* b = Bits();
  if (!b || b->Image.isNull()) return clDefault;
  QRgb p = b->Image.pixel(0, b->Image.height() - 1);
  return TColor(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

uint8_t* TBitmap::ScanLine(int Row) {
  Handle();
  TGdiBitmap* b = Bits();
  if (Row < 0 || Row >= b->Image.height())
    throw EInvalidGraphicOperation(Format("Scan line index out of range", {}));
  Changed(this);
  return b->Image.scanLine(Row);
}

void TBitmap::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TBitmap*>(Source)) {
    if (src == this) return;
    FPixelFormat = src->FPixelFormat;
    FTransparentColor = src->FTransparentColor;
    FTransparentMode = src->FTransparentMode;
    FTransparent = src->FTransparent;
    if (src->FHandle) SetImage(src->ToImage().copy());
    else {
      FreeCanvasHandle();
      if (FHandle) DeleteObject(FHandle);
      FHandle = nullptr;
      FWidth = src->FWidth;
      FHeight = src->FHeight;
      Changed(this);
    }
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Any other graphic is drawn onto a white bitmap of its size.
    SetSize(0, 0);
    SetSize(g->Width(), g->Height());
    Canvas()->Draw(0, 0, g);
    return;
  }
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  QImage img = ReadBmpImage(Stream);
  SetImage(img);
}

void TBitmap::SaveToStream(TStream* Stream) {
  WriteBmpImage(Stream, ToImage(), FPixelFormat == pf32bit ? 32 : 24);
}

void TBitmap::LoadFromResourceName(const std::string& ResName) {
  // Bitmap resources are embedded files under ":/images".
  QFile f(QString::fromStdString(":/images/" + ResName + ".bmp"));
  if (!f.open(QIODevice::ReadOnly)) throw EResNotFound(Format("Resource %s not found", {ResName}));
  QByteArray bytes = f.readAll();
  TMemoryStream stream;
  stream.WriteBuffer(bytes.constData(), bytes.size());
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  TGdiBitmap* b = Bits();
  if (!b) return;
  if (!Transparent()) {
    DrawImageOnCanvas(ACanvas, Rect, b->Image);
    return;
  }
  // The transparent colour's pixels leave the canvas as it is.
  TColor key = ColorToRGB(TransparentColor());
  QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
  QImage masked = b->Image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < masked.height(); ++y) {
    auto* px = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x)
      if ((px[x] & 0xFFFFFF) == k) px[x] = 0;
  }
  DrawImageOnCanvas(ACanvas, Rect, masked);
}

void TBitmap::Changed(TObject* Sender) { TGraphic::Changed(Sender); }

void TBitmap::LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE) {
  TGdiBitmap* b = AFormat == CF_BITMAP ? FindBitmap(static_cast<HBITMAP>(AData)) : nullptr;
  if (!b) throw EInvalidGraphic("Unsupported clipboard format");
  SetImage(b->Image.copy());
}

void TBitmap::SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) {
  AFormat = CF_BITMAP;
  AData = CreateBitmapFromImage(ToImage().copy());
  APalette = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::SetOwnedGraphic(TGraphic* Value) {
  FGraphic.reset(Value);
  if (FGraphic) FGraphic->OnChange = [this](TObject* s) { Changed(s); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    SetOwnedGraphic(nullptr);
    return;
  }
  const TClassInfo* cls = FindClassInfo(typeid(*Value));
  if (!cls || !cls->CreateObject)
    throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {Value->ClassName()}));
  std::unique_ptr<TGraphic> copy(dynamic_cast<TGraphic*>(cls->CreateObject()));
  if (!copy) throw EInvalidGraphic("Invalid graphic format");
  copy->Assign(Value);
  SetOwnedGraphic(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get())) return b;
  SetOwnedGraphic(new TBitmap);
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string ext = LowerCase(ExtractFileExt(FileName));
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  const TClassInfo* cls = GraphicClassForExtension(ext);
  if (!cls || !cls->CreateObject)
    throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {ext}));
  std::unique_ptr<TGraphic> g(dynamic_cast<TGraphic*>(cls->CreateObject()));
  g->LoadFromFile(FileName);
  SetOwnedGraphic(g.release());
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) SetGraphic(nullptr);
  else if (auto* p = dynamic_cast<TPicture*>(Source)) SetGraphic(p->Graphic());
  else if (auto* g = dynamic_cast<TGraphic*>(Source)) SetGraphic(g);
  else TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (auto* g = dynamic_cast<TGraphic*>(Dest); g && FGraphic) g->Assign(FGraphic.get());
  else TPersistent::AssignTo(Dest);
}

namespace {
std::vector<std::pair<WORD, const TClassInfo*>>& ClipboardFormats() {
  static std::vector<std::pair<WORD, const TClassInfo*>> formats;
  return formats;
}
}  // namespace

void TPicture::RegisterClipboardFormat(WORD AFormat, const TClassInfo* GraphicClass) {
  auto& list = ClipboardFormats();
  for (auto& f : list)
    if (f.first == AFormat) {
      f.second = GraphicClass;
      return;
    }
  list.emplace_back(AFormat, GraphicClass);
}

bool TPicture::SupportsClipboardFormat(WORD AFormat) {
  for (const auto& f : ClipboardFormats())
    if (f.first == AFormat) return true;
  return false;
}

std::vector<WORD> TPicture::ClipboardFormatList() {
  std::vector<WORD> out;
  for (const auto& f : ClipboardFormats()) out.push_back(f.first);
  return out;
}

void TPicture::LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) {
  const TClassInfo* cls = nullptr;
  for (const auto& f : ClipboardFormats())
    if (f.first == AFormat) cls = f.second;
  if (!cls || !cls->CreateObject) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> g(dynamic_cast<TGraphic*>(cls->CreateObject()));
  if (!g) throw EInvalidGraphic("Unsupported clipboard format");
  g->LoadFromClipboardFormat(AFormat, AData, APalette);
  SetOwnedGraphic(g.release());
}

void TPicture::SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) {
  if (FGraphic) FGraphic->SaveToClipboardFormat(AFormat, AData, APalette);
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
      FGraphic && !FGraphic->Empty());
}

void TPicture::ReadData(TStream* Stream) {
  const TClassInfo* cls = ReadGraphicClassName(Stream);
  std::unique_ptr<TGraphic> g(dynamic_cast<TGraphic*>(cls->CreateObject()));
  if (!g) throw EReadError("Invalid graphic format");
  g->LoadFromStream(Stream);
  SetOwnedGraphic(g.release());
}

void TPicture::WriteData(TStream* Stream) {
  WriteGraphicClassName(Stream, FGraphic->ClassName());
  FGraphic->SaveToStream(Stream);
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
  SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() = default;

void TImage::PictureChanged(TObject*) {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  if (TGraphic* g = FPicture->Graphic(); g && FTransparent) g->SetTransparent(true);
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  FAutoSize = Value;
  PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  FProportional = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(Value);
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = FPicture->Width(), h = FPicture->Height();
  int cw = Width(), ch = Height();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      double xr = double(cw) / w, yr = double(ch) / h;
      double r = std::min(xr, yr);
      w = int(w * r);
      h = int(h * r);
    } else {
      w = cw;
      h = ch;
    }
  }
  int x = 0, y = 0;
  if (FCenter) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return Rect(x, y, x + w, y + h);
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------------------------

void RegisterPictureClasses() {
  RegisterClass<TGraphic, TPersistent>();
  RegisterClass<TBitmap, TGraphic>();
  RegisterClass<TPicture, TPersistent>();
  RegisterClass<TImage, TGraphicControl>();
  RegisterGraphicClass("bmp", "Bitmaps", FindClassInfo(typeid(TBitmap)));
  TPicture::RegisterClipboardFormat(CF_BITMAP, FindClassInfo(typeid(TBitmap)));
  Published<TImage>()
      .Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false)
      .Property("Center", &TImage::Center, &TImage::SetCenter).Default(false)
      .Property("Picture", &TImage::Picture)
      .Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false)
      .Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false)
      .Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
}

// The suite's bitmaps: batched change notifications, 32-bit colour access, per-pixel
// operations, rotation and the compressed bitmap stream.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/rtl/Streams.h"
#include "platform/win/DeviceContext.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxCore.h"

namespace {

int BitsPerPixelOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: return 15;
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit:
    case pfDevice: return 32;  // the screen's depth
    default: return 0;
  }
}

// Colour values keep red in the low byte; pixels keep blue there.
uint32_t SwapRB(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

QImage& BitmapImage(TBitmap* b) { return FindBitmap(b->Handle())->Image; }

// 32-bit bitmaps keep their alpha byte.
void EnsureAlphaImage(TBitmap* b) {
  QImage& img = BitmapImage(b);
  if (img.format() != QImage::Format_ARGB32) img = img.convertToFormat(QImage::Format_ARGB32);
}

constexpr char kSignature[4] = {'X', 'D', 'B', 'M'};

}  // namespace

// ---- TcxBitmap

TcxBitmap* TcxBitmap::CreateSizedBitmap(int Width, int Height) { return new TcxBitmap(Width, Height, pf24bit); }

TcxBitmap* TcxBitmap::CreateWithFormat(int Width, int Height, TPixelFormat Format) {
  return new TcxBitmap(Width, Height, Format);
}

TcxBitmap32* TcxBitmap::Create32(int Width, int Height, bool Clear) { return new TcxBitmap32(Width, Height, Clear); }

TcxBitmap::~TcxBitmap() = default;

TcxBitmap* TcxBitmap::CreateSized(int Width, int Height) const { return CreateSizedBitmap(Width, Height); }

void TcxBitmap::InitializeBitmap(int Width, int Height, TPixelFormat Format) {
  FcxCanvas = std::make_unique<TcxCanvas>(Canvas());
  BeginUpdate();
  SetPixelFormat(Format);
  SetSize(Width, Height);
  EndUpdate(true);
}

void TcxBitmap::SetSize(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == this->Width() && Height == this->Height()) return;
  BeginUpdate();
  TBitmap::SetSize(Width, Height);
  if (PixelFormat() == pf32bit) EnsureAlphaImage(this);
  EndUpdate(false);
}

void TcxBitmap::EndUpdate(bool Force) {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && (Force || FModified)) Changed(this);
}

void TcxBitmap::Changed(TObject* Sender) {
  if (FUpdateCount > 0) {
    FModified = true;
    return;
  }
  TBitmap::Changed(Sender);
  ValidateFormat();
  FModified = false;
}

void TcxBitmap::CopyBitmap(TBitmap* Bitmap, DWORD Rop) {
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), Bitmap->Canvas()->Handle(), 0, 0, Rop);
}

void TcxBitmap::CopyBitmapRect(TBitmap* Bitmap, const TRect& DestRect, TPoint SourceTopLeft, DWORD Rop) {
  BitBltRect(Canvas()->Handle(), Bitmap->Canvas()->Handle(), DestRect, SourceTopLeft, Rop);
}

void TcxBitmap::RotateFlip(TcxRotationAngle Rotation, bool Mirror) { RotateBitmap(this, Rotation, Mirror); }

void RotateBitmap(TBitmap* Bitmap, TcxRotationAngle Rotation, bool Mirror) {
  if (Rotation == raNone && !Mirror) return;
  QImage src = Bitmap->ToImage();
  if (src.format() != QImage::Format_ARGB32 && src.format() != QImage::Format_RGB32)
    src = src.convertToFormat(QImage::Format_ARGB32);
  const int w = src.width(), h = src.height();
  const bool turn = Rotation == raPlus90 || Rotation == raMinus90;
  QImage dst(turn ? h : w, turn ? w : h, src.format());
  for (int r = 0; r < h; ++r) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(src.constScanLine(r));
    for (int n = 0; n < w; ++n) {
      int x, y;
      switch (Rotation) {
        case raNone: x = n, y = h - 1 - r; break;
        case raPlus90: x = r, y = Mirror ? n : w - 1 - n; break;
        case raMinus90: x = h - 1 - r, y = Mirror ? w - 1 - n : n; break;
        default: x = w - 1 - n, y = Mirror ? r : h - 1 - r; break;
      }
      reinterpret_cast<uint32_t*>(dst.scanLine(y))[x] = row[n];
    }
  }
  if (auto* cx = dynamic_cast<TcxBitmap*>(Bitmap)) {
    cx->BeginUpdate();
    Bitmap->SetImage(dst);
    cx->EndUpdate(true);
  } else {
    Bitmap->SetImage(dst);
  }
}

// The platform bitmap's own data: a 32-bit length and a BMP file.
void TcxBitmap::WriteData(TStream* Stream) {
  TMemoryStream bmp;
  if (!Empty()) SaveToStream(&bmp);
  int32_t length = int32_t(bmp.Size());
  if (!FCompressData) {
    Stream->WriteValue(length);
    if (length) Stream->WriteBuffer(bmp.Memory(), length);
    return;
  }
  std::vector<uint8_t> plain(size_t(4 + length));
  std::memcpy(plain.data(), &length, 4);
  if (length) std::memcpy(plain.data() + 4, bmp.Memory(), size_t(length));
  int block = std::max(1, BitsPerPixelOf(PixelFormat()) / 8);
  std::vector<uint8_t> body = CompressBitmapData(plain, block);
  int32_t bodyLength = int32_t(body.size());
  Stream->WriteValue(bodyLength);
  Stream->WriteBuffer(kSignature, 4);
  Stream->WriteValue(uint16_t(2));
  Stream->WriteBuffer(body.data(), bodyLength);
}

namespace {
// Reads the platform bitmap's own data; a length beyond the stream's end is refused.
void ReadPlainBitmapData(TBitmap* Bitmap, TStream* Stream) {
  int32_t length = Stream->ReadValue<int32_t>();
  int64_t left = Stream->Size() - Stream->Position();
  if (length < 0 || length > left) throw EInvalidGraphic("Bitmap image is not valid");
  if (length == 0) {
    Bitmap->SetSize(0, 0);
    return;
  }
  TMemoryStream bmp;
  bmp.CopyFrom(Stream, length);
  bmp.SetPosition(0);
  Bitmap->LoadFromStream(&bmp);
}
}  // namespace

void TcxBitmap::ReadData(TStream* Stream) {
  int64_t start = Stream->Position();
  char header[10] = {};
  if (Stream->Read(header, 10) < 10 || std::memcmp(header + 4, kSignature, 4) != 0) {
    Stream->SetPosition(start);
    ReadPlainBitmapData(this, Stream);
    return;
  }
  int32_t length;
  uint16_t version;
  std::memcpy(&length, header, 4);
  std::memcpy(&version, header + 8, 2);
  if (length < 0 || (version != 1 && version != 2)) throw EInvalidGraphic("Bitmap image is not valid");
  // A body shorter than announced expands to what is there.
  int64_t available = std::min<int64_t>(length, Stream->Size() - Stream->Position());
  std::vector<uint8_t> body(size_t(std::max<int64_t>(available, 0)));
  if (!body.empty()) Stream->ReadBuffer(body.data(), int64_t(body.size()));
  std::vector<uint8_t> plain = ExpandBitmapData(body.data(), body.size(), version);
  TMemoryStream mem;
  if (!plain.empty()) mem.WriteBuffer(plain.data(), int64_t(plain.size()));
  mem.SetPosition(0);
  ReadPlainBitmapData(this, &mem);
}

std::vector<uint8_t> CompressBitmapData(const std::vector<uint8_t>& Data, int BlockSize) {
  const size_t B = size_t(std::max(1, BlockSize));
  std::vector<uint8_t> out;
  const size_t rest = Data.size() % B;
  out.push_back(uint8_t(B));
  out.push_back(uint8_t(rest));
  out.insert(out.end(), Data.begin(), Data.begin() + long(rest));
  auto same = [&](size_t a, size_t b) { return std::memcmp(&Data[a], &Data[b], B) == 0; };
  size_t pos = rest;
  const size_t n = Data.size();
  while (pos + B <= n) {
    if (pos + 2 * B > n) {
      out.push_back(0x81);
      out.insert(out.end(), Data.begin() + long(pos), Data.begin() + long(pos + B));
      break;
    }
    const bool repeat = same(pos, pos + B);
    int count = 1;
    size_t prev = pos, cur = pos + B;
    while (count < 125 && cur + B <= n) {
      bool equal = same(prev, cur);
      if (repeat) {
        if (!equal) break;
      } else if (equal) {
        --count;  // the last block starts the next run, which repeats
        break;
      }
      ++count;
      prev = cur;
      cur += B;
    }
    out.push_back(uint8_t(count | (repeat ? 0 : 0x80)));
    if (repeat) out.insert(out.end(), Data.begin() + long(pos), Data.begin() + long(pos + B));
    else out.insert(out.end(), Data.begin() + long(pos), Data.begin() + long(pos + size_t(count) * B));
    pos += size_t(count) * B;
  }
  return out;
}

std::vector<uint8_t> ExpandBitmapData(const uint8_t* Body, size_t Length, int Version) {
  std::vector<uint8_t> out;
  size_t pos = 0, B = 1;
  if (Version == 2) {
    if (Length < 2) return out;
    B = std::max<size_t>(1, Body[0]);
    size_t rest = std::min<size_t>(Body[1], Length - 2);
    out.insert(out.end(), Body + 2, Body + 2 + rest);
    pos = 2 + rest;
  }
  while (pos < Length) {
    uint8_t control = Body[pos++];
    size_t count = control & 0x7F;
    if (control & 0x80) {
      size_t bytes = std::min(count * B, Length - pos);
      out.insert(out.end(), Body + pos, Body + pos + bytes);
      pos += bytes;
    } else {
      if (pos + B > Length) break;
      for (size_t i = 0; i < count; ++i) out.insert(out.end(), Body + pos, Body + pos + B);
      pos += B;
    }
  }
  return out;
}

// ---- TcxBitmap32

TcxBitmap32::TcxBitmap32(int Width, int Height, bool Clear) : TcxBitmap(TNoInit{}) {
  InitializeBitmap(Width, Height, pf32bit);
  if (Clear) ClearBits();
}

TcxBitmap* TcxBitmap32::CreateSized(int Width, int Height) const { return new TcxBitmap32(Width, Height); }

void TcxBitmap32::ValidateFormat() {
  if (BitsPerPixelOf(PixelFormat()) != 32) throw EdxException("Wrong PixelFormat");
}

void TcxBitmap32::ClearBits() {
  if (Empty()) return;
  EnsureAlphaImage(this);
  BitmapImage(this).fill(0);
  Changed(this);
}

void TcxBitmap32::GetColors(std::vector<uint32_t>& Colors) {
  const int w = Width(), h = Height();
  Colors.assign(size_t(w) * size_t(h), 0);
  if (Empty()) return;
  EnsureAlphaImage(this);
  const QImage& img = BitmapImage(this);
  for (int r = 0; r < h; ++r)
    std::memcpy(&Colors[size_t(r) * size_t(w)], img.constScanLine(h - 1 - r), size_t(w) * 4);
}

void TcxBitmap32::SetColors(const std::vector<uint32_t>& Colors) {
  const int w = Width(), h = Height();
  if (Empty() || Colors.size() < size_t(w) * size_t(h)) return;
  EnsureAlphaImage(this);
  QImage& img = BitmapImage(this);
  for (int r = 0; r < h; ++r) std::memcpy(img.scanLine(h - 1 - r), &Colors[size_t(r) * size_t(w)], size_t(w) * 4);
  Changed(this);
}

void TcxBitmap32::SetAlpha(uint8_t Value) {
  std::vector<uint32_t> c;
  GetColors(c);
  for (uint32_t& p : c) p = (p & 0xFFFFFF) | (uint32_t(Value) << 24);
  SetColors(c);
}

void TcxBitmap32::LoadFromStream(TStream* Stream) {
  BeginUpdate();
  TBitmap::LoadFromStream(Stream);
  SetPixelFormat(pf32bit);
  if (!Empty()) EnsureAlphaImage(this);
  EndUpdate(true);
}

// ---- TcxAlphaBitmap

void TcxColorList::AddColor(TColor Color) { FItems.push_back(SwapRB(uint32_t(ColorToRGB(Color)) & 0xFFFFFF)); }

bool TcxColorList::Contains(uint32_t Rgb) const {
  return std::find(FItems.begin(), FItems.end(), Rgb & 0xFFFFFF) != FItems.end();
}

TcxAlphaBitmap::TcxAlphaBitmap(int Width, int Height) : TcxBitmap32(TNoInit{}) {
  InitializeBitmap(Width, Height, pf32bit);
}

TcxAlphaBitmap::TcxAlphaBitmap(int Width, uint32_t TransparentBkColor, int Height) : TcxBitmap32(TNoInit{}) {
  FTransparentBkColor = TransparentBkColor;
  InitializeBitmap(Width, Height, pf32bit);
}

TcxBitmap* TcxAlphaBitmap::CreateSized(int Width, int Height) const { return new TcxAlphaBitmap(Width, Height); }

void TcxAlphaBitmap::InitializeBitmap(int Width, int Height, TPixelFormat Format) {
  FTransparentPixels = std::make_unique<TcxColorList>();
  TcxBitmap32::InitializeBitmap(Width, Height, Format);
}

void TcxAlphaBitmap::ClearBits() {
  if ((FTransparentBkColor >> 24) == 0) {
    TcxBitmap32::ClearBits();
    return;
  }
  std::vector<uint32_t> c;
  GetColors(c);
  std::fill(c.begin(), c.end(), FTransparentBkColor);
  SetColors(c);
}

bool TcxAlphaBitmap::IsColorTransparent(uint32_t Pixel) const {
  return Pixel == FTransparentBkColor || FTransparentPixels->Contains(Pixel);
}

void BlendPixel(uint32_t& Pixel, uint32_t Color, uint8_t Factor) {
  double k = Factor / 255.0, d = k * double(Color >> 24), e = 1 - d / 255.0;
  uint32_t out = 0;
  for (int ch = 0; ch < 3; ++ch) {
    double v = k * double((Color >> (8 * ch)) & 0xFF) + e * double((Pixel >> (8 * ch)) & 0xFF);
    out |= uint32_t(std::clamp<long>(std::lrint(v), 0, 255)) << (8 * ch);
  }
  double a = d + e * double(Pixel >> 24);
  out |= uint32_t(std::clamp<long>(std::lrint(a), 0, 255)) << 24;
  Pixel = out;
}

namespace {
uint32_t Grey(uint32_t p, float wr, float wg, float wb) {
  float sum = wr * float((p >> 16) & 0xFF) + wg * float((p >> 8) & 0xFF) + wb * float(p & 0xFF);
  uint32_t g = uint32_t(std::clamp<long>(std::lrintf(sum), 0, 255));
  return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
}
}  // namespace

void TcxAlphaBitmap::ProcessPixel(uint32_t& p, TcxPixelOperation Operation) {
  switch (Operation) {
    case poMakeOpaque: p |= 0xFF000000u; return;
    case poMask: p = IsColorTransparent(p) ? 0xFFFFFFFFu : 0u; return;
    case poFillBackground: p = FTransparentBkColor; return;
    case poMakeTransparent: p &= 0xFFFFFF; return;
    default: break;
  }
  if (IsColorTransparent(p)) return;
  switch (Operation) {
    case poLighten:
      if ((p >> 24) == 255) {
        uint32_t out = 0xFF000000u;
        for (int ch = 0; ch < 3; ++ch) {
          int c = int((p >> (8 * ch)) & 0xFF);
          out |= uint32_t(c + MulDiv(255 - c, 3, 10)) << (8 * ch);
        }
        p = out;
      } else {
        uint32_t out = 0;
        for (int ch = 0; ch < 4; ++ch) out |= uint32_t(MulDiv(int((p >> (8 * ch)) & 0xFF), 200, 255)) << (8 * ch);
        p = out;
      }
      break;
    case poShadow:
      p = Grey(p, 0.299f, 0.587f, 0.114f);
      BlendPixel(p, 0xC0000000u | SwapRB(uint32_t(ColorToRGB(clBtnShadow)) & 0xFFFFFF), 238);
      break;
    case poGrayMean: {
      uint32_t g = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
      p = (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
      break;
    }
    case poGray: p = Grey(p, 0.299f, 0.587f, 0.114f); break;
    case poGrayGreen: p = Grey(p, 0.0729f, 0.7146f, 0.2125f); break;
    case poRestoreAlpha:
      if ((p >> 24) == 0) p |= 0xFF000000u;
      break;
    case poHatch: {
      int step = std::max<int>(1, FHatchData.Step);
      if ((FCurrentX / step + FCurrentY / step) % 2) BlendPixel(p, FHatchData.Color2, FHatchData.Alpha2);
      else BlendPixel(p, FHatchData.Color1, FHatchData.Alpha1);
      break;
    }
    default: break;
  }
}

void TcxAlphaBitmap::RunPixelOperation(TcxPixelOperation Operation) {
  std::vector<uint32_t> c;
  GetColors(c);
  const int w = Width(), h = Height();
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) {
      FCurrentX = x;
      FCurrentY = y;
      ProcessPixel(c[size_t(y) * size_t(w) + size_t(x)], Operation);
    }
  SetColors(c);
}

void TcxAlphaBitmap::ApplyHatch(const TcxHatchData& Data) {
  FHatchData = Data;
  RunPixelOperation(poHatch);
}

void TcxAlphaBitmap::Hatch(TColor Color1, TColor Color2, uint8_t Step, uint8_t Alpha1, uint8_t Alpha2) {
  TcxHatchData d;
  d.Color1 = 0xFF000000u | SwapRB(uint32_t(ColorToRGB(Color1)) & 0xFFFFFF);
  d.Color2 = 0xFF000000u | SwapRB(uint32_t(ColorToRGB(Color2)) & 0xFFFFFF);
  d.Step = Step;
  d.Alpha1 = Alpha1;
  d.Alpha2 = Alpha2;
  ApplyHatch(d);
}

void ResizeAndClearAlphaBitmap(TcxAlphaBitmap* Bitmap, int Width, int Height) {
  Bitmap->SetSize(Width, Height);
  Bitmap->TransparentPixels()->Clear();
  Bitmap->ClearBits();
}

#include "controls/PngImage.h"

#include <zlib.h>

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include "platform/rtl/Streaming.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"

namespace {

const char* const kSizeMessage =
    "The \"Portable Network Graphics\" image can not be resize by changing width and height "
    "properties. Try assigning the image from a bitmap.";
const char* const kInvalidHeader =
    "The file being readed is not a valid \"Portable Network Graphics\" image because it "
    "contains an invalid header. This file may be corruped, try obtaining it again.";
const char* const kUnexpectedEnd =
    "This \"Portable Network Graphics\" image is invalid because the decoder found an "
    "unexpected end of the file.";
const char* const kIHDRNotFirst =
    "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n"
    "(IHDR chunk is not the first)";
const char* const kUnknownCritical =
    "This \"Portable Network Graphics\" image contains an unknown critical part which could not "
    "be decoded.";
const char* const kNoImageData = "This \"Portable Network Graphics\" image contains no data.";
const char* const kInvalidCRC =
    "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces "
    "of data (crc error)";
const char* const kInvalidIHDR =
    "The \"Portable Network Graphics\" image could not be loaded because one of its main piece "
    "of data (ihdr) might be corrupted";
const char* const kSizeExceeds =
    "This \"Portable Network Graphics\" image is not supported because either it's width or "
    "height exceeds the maximum size, which is 65535 pixels length.";
const char* const kUnknownCompression =
    "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme "
    "which could not be decoded.";
const char* const kUnknownInterlace =
    "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not "
    "be decoded.";
const char* const kInvalidPalette =
    "The \"Portable Network Graphics\" image contains an invalid palette.";
const char* const kMissingIDAT =
    "This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
const char* const kZlibError =
    "Could not decompress the image because it contains invalid compressed data.\r\n "
    "Description: ";
const char* const kNoHeader =
    "This operation is not valid because the current image contains no valid header.";
const char* const kOutOfMemory =
    "Some operation could not be performed because the system is out of resources. Close some "
    "windows and try again.";
const char* const kNoPaletteEntry = "There is no such palette entry.";
const char* const kExistentCritical =
    "The program tried to add a existent critical chunk to the current image which is not "
    "allowed.";
const char* const kInvalidImage =
    "It's not allowed to add a new chunk because the current image is invalid.";
const char* const kNotCompatible = "The chunks must be compatible to be assigned.";

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

template <class E>
[[noreturn]] void RaisePngError(const std::string& Message) {
  throw E(Message);
}

std::string ZlibDescription(int Code) {
  switch (Code) {
    case -6: return "incompatible version (-6)";
    case -5: return "buffer error (-5)";
    case -4: return "insufficient memory (-4)";
    case -3: return "data error (-3)";
    case -2: return "stream error (-2)";
    case -1: return "file error (-1)";
    case 0: return "(0)";
    case 1: return "stream end (1)";
    case 2: return "need dictionary (2)";
    default: return "(" + std::to_string(Code) + ")";
  }
}

uint32_t GetBE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
void PutBE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

// A chunk body's length must be a PNG length (below 2^31) and fit in what is left of the stream
// (with the CRC after it); checked before anything is allocated for it.
void CheckChunkLength(TStream* Stream, uint32_t Length) {
  if (Length > 0x7FFFFFFFu) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
  int64_t left = Stream->Size() - Stream->Position();
  if (int64_t(Length) + 4 > left) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
}

uint8_t PaethPredictor(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  if (pb <= pc) return uint8_t(b);
  return uint8_t(c);
}

int MulDivRound(int a, int b, int c) { return int((int64_t(a) * b + c / 2) / c); }

// Samples per pixel of a colour type, or 0 for an unknown one.
int SampleCount(int ColorType) {
  switch (ColorType) {
    case 0: case 3: return 1;
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
  }
}

bool ValidFormat(int ColorType, int BitDepth) {
  switch (ColorType) {
    case 0: return BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8 || BitDepth == 16;
    case 3: return BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8;
    case 2: case 4: case 6: return BitDepth == 8 || BitDepth == 16;
    default: return false;
  }
}

void LayoutFor(const TChunkIHDR* h, uint32_t Width, uint32_t& RowBytes, uint32_t& PixelOffset) {
  uint64_t bits = uint64_t(h->BitDepth) * SampleCount(h->ColorType);
  RowBytes = uint32_t((uint64_t(Width) * bits + 7) / 8);
  switch (h->ColorType) {
    case 0: PixelOffset = h->BitDepth == 16 ? 2 : 1; break;
    case 3: PixelOffset = 1; break;
    case 2: PixelOffset = h->BitDepth * 3 / 8; break;
    case 4: PixelOffset = h->BitDepth / 4; break;
    case 6: PixelOffset = h->BitDepth / 2; break;
    default: PixelOffset = 0;
  }
}

// Adam7 passes.
const int kRowStart[7] = {0, 0, 4, 0, 2, 0, 1};
const int kColStart[7] = {0, 4, 0, 2, 0, 1, 0};
const int kRowStep[7] = {8, 8, 8, 4, 4, 2, 2};
const int kColStep[7] = {8, 8, 4, 4, 2, 2, 1};

constexpr size_t kMaxInflatedText = size_t(16) << 20;

// The pictures of this program are glyphs, icons and window art. A few hundred bytes of valid
// file can describe gigabytes of pixels, so an image beyond these bounds is refused before
// anything is allocated for it. The memory counts the decoded planes and the 32-bit form that
// drawing makes of them.
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;
constexpr uint64_t kMaxImageBytes = uint64_t(384) << 20;

std::atomic<uint64_t> gPixelStamps{0};

// The one-shot zlib helpers for text chunks; output goes through a 256-byte work buffer.
bool InflateBuffer(const uint8_t* In, size_t Size, std::string& Out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<uint8_t*>(In);
  z.avail_in = uInt(Size);
  uint8_t work[256];
  int r;
  do {
    z.next_out = work;
    z.avail_out = sizeof work;
    r = inflate(&z, Z_NO_FLUSH);
    // Anything but progress or the end fails: truncated input comes back as no progress, and a
    // stream that asks for a preset dictionary (which a text chunk cannot name) would be asked
    // again for ever.
    if (r != Z_OK && r != Z_STREAM_END) break;
    Out.append(reinterpret_cast<char*>(work), sizeof work - z.avail_out);
    // Text of a picture: a few bytes that inflate without end are a bomb, not a comment.
    if (Out.size() > kMaxInflatedText) {
      r = Z_MEM_ERROR;
      break;
    }
  } while (r != Z_STREAM_END);
  inflateEnd(&z);
  return r == Z_STREAM_END;
}

bool DeflateBuffer(const std::string& In, int Level, std::string& Out) {
  z_stream z{};
  if (deflateInit(&z, Level) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(In.data()));
  z.avail_in = uInt(In.size());
  uint8_t work[256];
  int r;
  do {
    z.next_out = work;
    z.avail_out = sizeof work;
    r = deflate(&z, Z_FINISH);
    if (r < 0) break;
    Out.append(reinterpret_cast<char*>(work), sizeof work - z.avail_out);
  } while (r != Z_STREAM_END);
  deflateEnd(&z);
  return r == Z_STREAM_END;
}

// Chunk classes by type name; the plain chunk holds any other type.
using TChunkFactory = TChunk* (*)(TPNGObject*);
std::vector<std::pair<std::string, TChunkFactory>>& ChunkClasses() {
  static std::vector<std::pair<std::string, TChunkFactory>> list = [] {
    std::vector<std::pair<std::string, TChunkFactory>> l;
    auto add = [&l](TChunkFactory f) {
      std::unique_ptr<TChunk> c(f(nullptr));
      l.emplace_back(c->ChunkName(), f);
    };
    add([](TPNGObject* o) -> TChunk* { return new TChunkIEND(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunkIHDR(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunkIDAT(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunkPLTE(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunkgAMA(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunktRNS(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunktIME(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunktEXt(o); });
    add([](TPNGObject* o) -> TChunk* { return new TChunkzTXt(o); });
    return l;
  }();
  return list;
}

TChunk* CreateChunkByName(TPNGObject* Owner, const std::string& Name) {
  TChunk* chunk = nullptr;
  for (auto& [name, create] : ChunkClasses())
    if (name == Name) {
      chunk = create(Owner);
      break;
    }
  if (!chunk) chunk = new TChunk(Owner);
  chunk->SetName(Name);
  return chunk;
}

void WriteChunk(TStream* Stream, const char* Name, const uint8_t* Body, uint32_t Size) {
  uint8_t head[8];
  PutBE32(head, Size);
  std::memcpy(head + 4, Name, 4);
  Stream->WriteBuffer(head, 8);
  if (Size) Stream->WriteBuffer(Body, Size);
  uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
  crc = PngUpdateCrc(crc, Body, Size) ^ 0xFFFFFFFFu;
  uint8_t tail[4];
  PutBE32(tail, crc);
  Stream->WriteBuffer(tail, 4);
}

}  // namespace

uint32_t PngUpdateCrc(uint32_t Crc, const uint8_t* Buffer, size_t Size) {
  // zlib's CRC-32 is the same polynomial and conditioning, computed several bytes at a time.
  while (Size > 0) {
    uInt n = uInt(std::min<size_t>(Size, 1u << 30));
    Crc = uint32_t(crc32(Crc ^ 0xFFFFFFFFu, Buffer, n)) ^ 0xFFFFFFFFu;
    Buffer += n;
    Size -= n;
  }
  return Crc;
}

// ---------------------------------------------------------------------------------------------
// TChunk

TChunk::TChunk(TPNGObject* AOwner) : FOwner(AOwner) {}

void TChunk::SetName(const std::string& Value) {
  for (size_t i = 0; i < 4; ++i) FName[i] = i < Value.size() ? Value[i] : ' ';
}

void TChunk::ResizeData(uint32_t Size) {
  FData.resize(size_t(Size) + 1);
  FData[Size] = 0;
  FDataSize = Size;
}

void TChunk::Assign(TChunk* Source) {
  FName = Source->FName;
  FDataSize = Source->FDataSize;
  FData = Source->FData;
}

bool TChunk::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  SetName(ChunkType);
  CheckChunkLength(Stream, Size);
  FData.assign(size_t(Size) + 1, 0);
  FDataSize = Size;
  if (Stream->Read(FData.data(), Size) != int64_t(Size))
    RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
  uint8_t crcBytes[4];
  if (Stream->Read(crcBytes, 4) != 4) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
  uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(FName.data()), 4);
  crc = PngUpdateCrc(crc, FData.data(), Size) ^ 0xFFFFFFFFu;
  if (crc != GetBE32(crcBytes)) RaisePngError<EPngInvalidCRC>(kInvalidCRC);
  return true;
}

bool TChunk::SaveData(TStream* Stream) {
  WriteChunk(Stream, FName.data(), FData.data(), FDataSize);
  return true;
}

bool TChunk::SaveChunk(TStream* Stream) { return SaveData(Stream); }

TChunkIEND::TChunkIEND(TPNGObject* AOwner) : TChunk(AOwner) { SetName("IEND"); }

// ---------------------------------------------------------------------------------------------
// TChunkIHDR

TChunkIHDR::TChunkIHDR(TPNGObject* AOwner) : TChunk(AOwner) { SetName("IHDR"); }

TChunkIHDR::~TChunkIHDR() { FreeImageData(); }

void TChunkIHDR::Touch() { FStamp = ++gPixelStamps; }

void TChunkIHDR::FreeImageData() {
  std::free(FBits);
  std::free(FAlpha);
  FBits = FAlpha = nullptr;
  FKeyMask = {};
  FBytesPerRow = 0;
  FBitCount = 0;
  Touch();
}

void TChunkIHDR::PrepareImageData() {
  FreeImageData();
  if (FOwner) FOwner->DropPaletteHandle();
  FHasPalette = ColorType == 0 || ColorType == 3 || ColorType == 4;
  switch (ColorType) {
    case 0:
      FBitCount = BitDepth == 2 ? 4 : BitDepth == 16 ? 8 : BitDepth;
      break;
    case 3:
      FBitCount = BitDepth == 2 ? 4 : BitDepth;
      break;
    case 4:
      FBitCount = 8;
      break;
    default:
      FBitCount = 24;
  }
  const uint64_t rowBytes = ((uint64_t(FBitCount) * Width + 31) / 32) * 4;
  const uint64_t pixels = uint64_t(Width) * Height;
  const bool alpha = ColorType == 4 || ColorType == 6;
  const bool keyMask = BitDepth == 16 && (ColorType == 0 || ColorType == 2);
  const uint64_t memory = rowBytes * Height + pixels * ((alpha ? 1 : 0) + (keyMask ? 1 : 0) + 4);
  if (pixels > kMaxPixels || memory > kMaxImageBytes) {
    FBitCount = 0;
    RaisePngError<EPNGSizeExceeds>(kSizeExceeds);
  }
  FBytesPerRow = uint32_t(rowBytes);
  size_t bytes = size_t(FBytesPerRow) * Height;
  // calloc: a large image costs address space, not memory, until its rows are written.
  FBits = static_cast<uint8_t*>(std::calloc(std::max<size_t>(bytes, 1), 1));
  if (FBits && (ColorType == 4 || ColorType == 6))
    FAlpha = static_cast<uint8_t*>(std::calloc(std::max<size_t>(size_t(Width) * Height, 1), 1));
  if (!FBits || ((ColorType == 4 || ColorType == 6) && !FAlpha)) {
    FreeImageData();
    RaisePngError<EPNGOutMemory>(kOutOfMemory);
  }
}

bool TChunkIHDR::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize < 13) RaisePngError<EPngInvalidIHDR>(kInvalidIHDR);
  const uint8_t* d = FData.data();
  Width = GetBE32(d);
  Height = GetBE32(d + 4);
  BitDepth = d[8];
  ColorType = d[9];
  CompressionMethod = d[10];
  FilterMethod = d[11];
  InterlaceMethod = d[12];
  if (Width > 65535 || Height > 65535) RaisePngError<EPNGSizeExceeds>(kSizeExceeds);
  if (Width == 0 || Height == 0) RaisePngError<EPngInvalidIHDR>(kInvalidIHDR);
  if (CompressionMethod != 0) RaisePngError<EPNGUnknownCompression>(kUnknownCompression);
  if (InterlaceMethod > 1) RaisePngError<EPNGUnknownInterlace>(kUnknownInterlace);
  if (!ValidFormat(ColorType, BitDepth)) RaisePngError<EPngInvalidIHDR>(kInvalidIHDR);
  if (FOwner) FOwner->SetInterlaceMethod(InterlaceMethod);
  PrepareImageData();
  return true;
}

void TChunkIHDR::Assign(TChunk* Source) {
  auto* s = dynamic_cast<TChunkIHDR*>(Source);
  if (!s) RaisePngError<EPngError>(kNotCompatible);
  Width = s->Width;
  Height = s->Height;
  BitDepth = s->BitDepth;
  ColorType = s->ColorType;
  CompressionMethod = s->CompressionMethod;
  FilterMethod = s->FilterMethod;
  InterlaceMethod = s->InterlaceMethod;
  PrepareImageData();
  if (s->FBits) std::memcpy(FBits, s->FBits, size_t(FBytesPerRow) * Height);
  if (FAlpha && s->FAlpha) std::memcpy(FAlpha, s->FAlpha, size_t(Width) * Height);
  FKeyMask = s->FKeyMask;
  FColorTable = s->FColorTable;
}

bool TChunkIHDR::SaveChunk(TStream* Stream) {
  // Two-bit images are held with four-bit rows, and written that way; a grey key follows its
  // levels (v becomes v x 5, as the rows' values do).
  if (BitDepth == 2) {
    BitDepth = 4;
    auto* trns = FOwner ? FOwner->Chunks().FindChunk<TChunktRNS>() : nullptr;
    if (trns && ColorType == 0 && trns->DataSize() >= 2) {
      uint32_t v = ((uint32_t(trns->Data()[0]) << 8) | trns->Data()[1]) & 3;
      trns->Data()[0] = 0;
      trns->Data()[1] = uint8_t(v * 5);
    }
  }
  ResizeData(13);
  uint8_t* d = FData.data();
  PutBE32(d, Width);
  PutBE32(d + 4, Height);
  d[8] = BitDepth;
  d[9] = ColorType;
  d[10] = CompressionMethod;
  d[11] = FilterMethod;
  d[12] = FOwner ? FOwner->InterlaceMethod() : InterlaceMethod;
  return SaveData(Stream);
}

// ---------------------------------------------------------------------------------------------
// TChunkgAMA

TChunkgAMA::TChunkgAMA(TPNGObject* AOwner) : TChunk(AOwner) {
  SetName("gAMA");
  SetGamma(1);
}

uint32_t TChunkgAMA::Gamma() const { return FDataSize >= 4 ? GetBE32(FData.data()) : 1; }

void TChunkgAMA::SetGamma(uint32_t Value) {
  ResizeData(4);
  PutBE32(FData.data(), Value);
}

void TChunkgAMA::Assign(TChunk* Source) {
  auto* s = dynamic_cast<TChunkgAMA*>(Source);
  if (!s) RaisePngError<EPngError>(kNotCompatible);
  SetGamma(s->Gamma());
}

bool TChunkgAMA::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize != 4) SetGamma(1);
  uint32_t g = Gamma();
  if (g != 0 && FOwner) {
    double exponent = 1.0 / (double(g) / 100000.0 * 2.2);
    for (int i = 0; i < 256; ++i) {
      double base = i / 255.0;
      double v = exponent == 0 ? 1.0 : base == 0 ? 0.0 : std::pow(base, exponent);
      double r = std::nearbyint(255.0 * v);  // ties to even in the default rounding mode
      uint8_t out = uint8_t(std::clamp(r, 0.0, 255.0));
      FOwner->GammaTable[i] = out;
      FOwner->InverseGammaTable[out] = uint8_t(i);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// TChunkPLTE

void TChunkPLTE::Assign(TChunk* Source) {
  auto* s = dynamic_cast<TChunkPLTE*>(Source);
  if (!s) RaisePngError<EPngError>(kNotCompatible);
  FCount = s->FCount;
}

TPngRgbQuad TChunkPLTE::Item(int Index) const {
  if (Index < 0 || Index >= FCount || !FOwner || !FOwner->HasHeaderChunk())
    RaisePngError<EPngError>(kNoPaletteEntry);
  return FOwner->HeaderChunk()->ColorTable()[Index];
}

bool TChunkPLTE::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize % 3 != 0 || FDataSize / 3 > 256) RaisePngError<EPNGInvalidPalette>(kInvalidPalette);
  FCount = int(FDataSize / 3);
  TChunkIHDR* h = FOwner->HeaderChunk();
  auto& gamma = FOwner->GammaTable;
  for (int i = 0; i < FCount; ++i) {
    const uint8_t* e = FData.data() + i * 3;
    h->ColorTable()[i] = {gamma[e[2]], gamma[e[1]], gamma[e[0]], 0};
  }
  return true;
}

bool TChunkPLTE::SaveChunk(TStream* Stream) {
  TChunkIHDR* h = FOwner->HeaderChunk();
  int count = std::clamp(FCount, 0, 256);
  ResizeData(uint32_t(count * 3));
  auto& inv = FOwner->InverseGammaTable;
  for (int i = 0; i < count; ++i) {
    const TPngRgbQuad& q = h->ColorTable()[i];
    FData[i * 3] = inv[q.Red];
    FData[i * 3 + 1] = inv[q.Green];
    FData[i * 3 + 2] = inv[q.Blue];
  }
  return SaveData(Stream);
}

// ---------------------------------------------------------------------------------------------
// TChunktRNS

void TChunktRNS::Assign(TChunk* Source) {
  if (auto* s = dynamic_cast<TChunktRNS*>(Source)) {
    PaletteValues = s->PaletteValues;
    BitTransparency = s->BitTransparency;
  }
  TChunk::Assign(Source);
}

bool TChunktRNS::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize > 256) RaisePngError<EPNGInvalidPalette>(kInvalidPalette);
  PaletteValues.fill(255);
  std::memcpy(PaletteValues.data(), FData.data(), FDataSize);
  TChunkIHDR* h = FOwner->HeaderChunk();
  if (h->ColorType == 0 || h->ColorType == 2) {
    BitTransparency = true;
  } else if (h->ColorType == 3) {
    // A colour key only when one entry is fully transparent and all others opaque; an entry in
    // between needs blending.
    int below = 0, clear = 0;
    for (uint32_t i = 0; i < FDataSize; ++i) {
      if (FData[i] < 255) ++below;
      if (FData[i] == 0) ++clear;
    }
    BitTransparency = below == 1 && clear == 1;
  }
  return true;
}

bool TChunktRNS::SaveChunk(TStream* Stream) {
  TChunkIHDR* h = FOwner->HasHeaderChunk() ? FOwner->HeaderChunk() : nullptr;
  if (h && FDataSize <= 256 && h->ColorType == 3)
    std::memcpy(FData.data(), PaletteValues.data(), FDataSize);
  return SaveData(Stream);
}

void TChunktRNS::SetTransparentColor(COLORREF Value) {
  PaletteValues.fill(0);
  BitTransparency = true;
  TChunkIHDR* h = FOwner->HeaderChunk();
  switch (h->ColorType) {
    case 0:
      ResizeData(2);
      FData[0] = 0;
      FData[1] = GetRValue(Value);
      break;
    case 2:
      ResizeData(6);
      FData[0] = 0;
      FData[1] = GetRValue(Value);
      FData[2] = 0;
      FData[3] = GetGValue(Value);
      FData[4] = 0;
      FData[5] = GetBValue(Value);
      break;
    case 3: {
      int i = 0;
      for (; i < 256; ++i) {
        const TPngRgbQuad& q = h->ColorTable()[i];
        if (RGB(q.Red, q.Green, q.Blue) == (Value & 0xFFFFFF)) break;
      }
      if (i == 256) i = 0;
      for (int k = 0; k < i; ++k) PaletteValues[k] = 255;
      PaletteValues[i] = 0;
      ResizeData(uint32_t(i + 1));
      std::memcpy(FData.data(), PaletteValues.data(), size_t(i) + 1);
      break;
    }
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// TChunktIME, TChunktEXt, TChunkzTXt

void TChunktIME::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* s = dynamic_cast<TChunktIME*>(Source)) {
    Year = s->Year;
    Month = s->Month;
    Day = s->Day;
    Hour = s->Hour;
    Minute = s->Minute;
    Second = s->Second;
  }
}

bool TChunktIME::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize == 7) {
    const uint8_t* d = FData.data();
    Year = uint16_t((d[0] << 8) | d[1]);
    Month = d[2];
    Day = d[3];
    Hour = d[4];
    Minute = d[5];
    Second = d[6];
  }
  return true;
}

bool TChunktIME::SaveChunk(TStream* Stream) {
  ResizeData(7);
  uint8_t* d = FData.data();
  d[0] = uint8_t(Year >> 8);
  d[1] = uint8_t(Year);
  d[2] = Month;
  d[3] = Day;
  d[4] = Hour;
  d[5] = Minute;
  d[6] = Second;
  return SaveData(Stream);
}

void TChunktEXt::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* s = dynamic_cast<TChunktEXt*>(Source)) {
    Keyword = s->Keyword;
    Text = s->Text;
  }
}

bool TChunktEXt::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunk::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize > 2) {
    const char* d = reinterpret_cast<const char*>(FData.data());
    const void* zero = std::memchr(d, 0, FDataSize);
    // Without a zero byte the whole body is the keyword.
    size_t k = zero ? size_t(static_cast<const char*>(zero) - d) : FDataSize;
    Keyword.assign(d, k);
    Text = k < FDataSize ? std::string(d + k + 1, FDataSize - k - 1) : std::string();
  }
  return true;
}

bool TChunktEXt::SaveChunk(TStream* Stream) {
  std::string body = Keyword + std::string(1, '\0') + Text;
  ResizeData(uint32_t(body.size()));
  std::memcpy(FData.data(), body.data(), body.size());
  return SaveData(Stream);
}

bool TChunkzTXt::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  TChunktEXt::LoadChunk(Stream, ChunkType, Size);
  if (FDataSize > 3) {
    size_t k = Keyword.size();
    Text.clear();
    if (k + 2 <= FDataSize && FData[k + 1] == 0) {
      std::string out;
      if (InflateBuffer(FData.data() + k + 2, FDataSize - k - 2, out)) Text = std::move(out);
    }
  }
  return true;
}

bool TChunkzTXt::SaveChunk(TStream* Stream) {
  if (Text.empty()) Text = " ";
  std::string packed;
  if (!DeflateBuffer(Text, FOwner ? FOwner->CompressionLevel() : 7, packed)) return false;
  std::string body = Keyword + std::string(2, '\0') + packed;
  ResizeData(uint32_t(body.size()));
  std::memcpy(FData.data(), body.data(), body.size());
  return SaveData(Stream);
}

// ---------------------------------------------------------------------------------------------
// Image data: decoding

namespace {

class TIdatReader {
 public:
  TIdatReader(TStream* Stream, uint32_t Length) : FStream(Stream) {
    FCrc = PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>("IDAT"), 4);
    CheckChunkLength(Stream, Length);
    FChunkEnd = Stream->Position() + Length;
    FInput.resize(65535);
    if (inflateInit(&FZ) != Z_OK) RaisePngError<EPNGZLIBError>(kZlibError + ZlibDescription(-4));
  }
  ~TIdatReader() { inflateEnd(&FZ); }

  // Fills up to N bytes; fewer when the image data ends.
  size_t Read(uint8_t* Buffer, size_t N) {
    FZ.next_out = Buffer;
    FZ.avail_out = uInt(N);
    while (FZ.avail_out > 0 && !FEnded) {
      if (FZ.avail_in == 0 && FStream->Position() >= FChunkEnd) {
        // zlib may still hold output for input it has already taken.
        uInt room = FZ.avail_out;
        Inflate();
        if (FEnded || FZ.avail_out != room) continue;
        CheckCrc();
        uint8_t head[8];
        if (FStream->Read(head, 8) != 8) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
        if (std::memcmp(head + 4, "IDAT", 4) != 0)
          RaisePngError<EPNGMissingMultipleIDAT>(kMissingIDAT);
        uint32_t length = GetBE32(head);
        CheckChunkLength(FStream, length);
        FCrc = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
        FChunkEnd = FStream->Position() + length;
      }
      if (FZ.avail_in == 0) {
        int64_t want = std::min<int64_t>(65535, FChunkEnd - FStream->Position());
        int64_t got = want > 0 ? FStream->Read(FInput.data(), want) : 0;
        if (got <= 0) break;
        FCrc = PngUpdateCrc(FCrc, FInput.data(), size_t(got));
        FZ.next_in = FInput.data();
        FZ.avail_in = uInt(got);
      }
      Inflate();
    }
    return N - FZ.avail_out;
  }

  // Reads what is left of the current chunk and checks its CRC.
  void Finish() {
    int64_t left = FChunkEnd - FStream->Position();
    while (left > 0) {
      int64_t got = FStream->Read(FInput.data(), std::min<int64_t>(left, 65535));
      if (got <= 0) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
      FCrc = PngUpdateCrc(FCrc, FInput.data(), size_t(got));
      left -= got;
    }
    CheckCrc();
  }

 private:
  // No progress is no error here (it means all input taken so far is out); anything else but
  // progress or the end is, a request for a preset dictionary included: image data cannot name one.
  void Inflate() {
    int r = inflate(&FZ, Z_NO_FLUSH);
    if (r == Z_STREAM_END) FEnded = true;
    else if (r != Z_OK && r != Z_BUF_ERROR)
      RaisePngError<EPNGZLIBError>(kZlibError + ZlibDescription(r));
  }

  void CheckCrc() {
    uint8_t b[4];
    if (FStream->Read(b, 4) != 4) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
    if ((FCrc ^ 0xFFFFFFFFu) != GetBE32(b)) RaisePngError<EPngInvalidCRC>(kInvalidCRC);
  }

  TStream* FStream;
  z_stream FZ{};
  std::vector<uint8_t> FInput;
  uint32_t FCrc;
  int64_t FChunkEnd;
  bool FEnded = false;
};

void UnfilterRow(uint8_t* Row, const uint8_t* Prev, uint32_t RowBytes, uint32_t Offset) {
  // Row[0] and Prev[0] are the filter bytes; samples are 1..RowBytes.
  uint8_t type = Row[0];
  uint8_t* r = Row + 1;
  const uint8_t* p = Prev + 1;
  switch (type) {
    case 1:
      for (uint32_t i = Offset; i < RowBytes; ++i) r[i] = uint8_t(r[i] + r[i - Offset]);
      break;
    case 2:
      for (uint32_t i = 0; i < RowBytes; ++i) r[i] = uint8_t(r[i] + p[i]);
      break;
    case 3:
      for (uint32_t i = 0; i < RowBytes; ++i) {
        int left = i >= Offset ? r[i - Offset] : 0;
        r[i] = uint8_t(r[i] + ((left + p[i]) >> 1));
      }
      break;
    case 4:
      for (uint32_t i = 0; i < RowBytes; ++i) {
        int left = i >= Offset ? r[i - Offset] : 0;
        int upLeft = i >= Offset ? p[i - Offset] : 0;
        r[i] = uint8_t(r[i] + PaethPredictor(left, p[i], upLeft));
      }
      break;
    default:
      break;  // none, or an unknown type: the row stays as read
  }
}

uint32_t PackedSample(const uint8_t* Src, uint32_t X, int Bits) {
  uint32_t bit = X * uint32_t(Bits);
  return (Src[bit >> 3] >> (8 - Bits - (bit & 7))) & ((1u << Bits) - 1);
}
void PutPacked(uint8_t* Dib, uint32_t X, int Bits, uint32_t Value) {
  uint32_t bit = X * uint32_t(Bits);
  int shift = 8 - Bits - int(bit & 7);
  uint8_t mask = uint8_t(((1u << Bits) - 1) << shift);
  Dib[bit >> 3] = uint8_t((Dib[bit >> 3] & ~mask) | ((Value << shift) & mask));
}

// (a x source + (255 - a) x background + 255) / 256 in each colour channel, red with blue in
// one multiplication (neither exceeds 16 bits), opaque.
inline uint32_t Blend(uint32_t Src, uint32_t Dst, uint32_t A) {
  const uint32_t na = 255 - A;
  const uint32_t rb = (((Src & 0xFF00FF) * A + (Dst & 0xFF00FF) * na + 0xFF00FF) >> 8) & 0xFF00FF;
  const uint32_t g = (((Src & 0xFF00) * A + (Dst & 0xFF00) * na + 0xFF00) >> 8) & 0xFF00;
  return 0xFF000000u | rb | g;
}

const uint8_t* HeldRow(const TChunkIHDR& H, uint32_t Y) {
  return H.ImageData() + size_t(H.BytesPerRow()) * (H.Height - 1 - Y);
}

// The colour key of a grey or RGB image in the form its pixels are held: a grey level index (-1
// when the key is no level of the image) or an RGB colour.
struct THeldKey {
  int GreyIndex = -1;
  COLORREF Colour = 0;
};

THeldKey HeldKey(const TPNGObject& Png) {
  THeldKey key;
  key.Colour = Png.KeyColor();
  const TChunktRNS* t = Png.Chunks().FindChunk<TChunktRNS>();
  const TChunkIHDR* h = Png.HeaderChunk();
  if (t && h->ColorType == 0 && t->DataSize() >= 2) {
    uint32_t v = (uint32_t(t->Data()[0]) << 8) | t->Data()[1];
    if (h->BitDepth == 16) key.GreyIndex = int(v >> 8);
    else if (v < (1u << h->BitDepth)) key.GreyIndex = int(h->BitDepth == 2 ? v * 5 : v);
  }
  return key;
}

bool HeldFormShowsKey(const TChunkIHDR& H, const THeldKey& Key, const uint8_t* Row, uint32_t X) {
  if (H.ColorType == 0)
    return int(H.BitsPerPixel() == 8 ? Row[X] : PackedSample(Row, X, H.BitsPerPixel())) ==
           Key.GreyIndex;
  const uint8_t* p = Row + size_t(X) * 3;
  return RGB(p[2], p[1], p[0]) == Key.Colour;
}

// Whether a pixel of a grey or RGB image shows the colour key: as decoding marked it for 16-bit
// images, else by the pixel as held.
bool ShowsKey(const TChunkIHDR& H, const THeldKey& Key, const uint8_t* Row, uint32_t X,
              uint32_t Y) {
  if (!H.KeyMask().empty()) return H.KeyMask()[size_t(Y) * H.Width + X] != 0;
  return HeldFormShowsKey(H, Key, Row, X);
}

// Puts the Count pixels of a PNG row (its samples) into the image at columns X0, X0 + Step...:
// Dib is the image row, Alpha the alpha row. Chosen once per image.
using TRowSink = void (*)(const TChunkIHDR& H, const std::array<uint8_t, 256>& Gamma,
                          const uint8_t* Src, uint32_t Count, uint8_t* Dib, uint8_t* Alpha,
                          uint32_t X0, uint32_t Step);

template <int Samples, int Bytes>
void SinkRgb(const TChunkIHDR&, const std::array<uint8_t, 256>& G, const uint8_t* S, uint32_t N,
             uint8_t* D, uint8_t* A, uint32_t X0, uint32_t Step) {
  uint8_t* d = D + size_t(X0) * 3;
  const size_t dStep = size_t(Step) * 3;
  uint8_t* a = A ? A + X0 : nullptr;
  for (uint32_t k = 0; k < N; ++k, S += Samples * Bytes, d += dStep) {
    d[0] = G[S[2 * Bytes]];
    d[1] = G[S[Bytes]];
    d[2] = G[S[0]];
    if constexpr (Samples == 4) {
      *a = S[3 * Bytes];
      a += Step;
    }
  }
}
template <int Samples, int Bytes>
void SinkGrey(const TChunkIHDR&, const std::array<uint8_t, 256>&, const uint8_t* S, uint32_t N,
              uint8_t* D, uint8_t* A, uint32_t X0, uint32_t Step) {
  // 16-bit grey, and grey with alpha: the first byte of each sample.
  for (uint32_t k = 0; k < N; ++k, S += Samples * Bytes) {
    D[X0 + k * Step] = S[0];
    if constexpr (Samples == 2) A[X0 + k * Step] = S[Bytes];
  }
}
void SinkPacked(const TChunkIHDR& H, const std::array<uint8_t, 256>&, const uint8_t* S, uint32_t N,
                uint8_t* D, uint8_t*, uint32_t X0, uint32_t Step) {
  for (uint32_t k = 0; k < N; ++k) {
    uint32_t v = PackedSample(S, k, H.BitDepth);
    if (H.BitDepth == 2) {
      PutPacked(D, X0 + k * Step, 4, H.ColorType == 0 ? v * 5 : v);
    } else {
      PutPacked(D, X0 + k * Step, H.BitDepth, v);
    }
  }
}

// Marks the pixels of a 16-bit grey or RGB row whose samples equal the key in all their bits.
void MarkKeyed(const uint8_t* Src, uint32_t Count, const uint8_t* Key, size_t PixelBytes,
               uint8_t* Mask, uint32_t X0, uint32_t Step) {
  for (uint32_t k = 0; k < Count; ++k, Src += PixelBytes)
    Mask[X0 + k * Step] = std::memcmp(Src, Key, PixelBytes) == 0;
}

TRowSink SinkFor(const TChunkIHDR& H) {
  const bool wide = H.BitDepth == 16;
  switch (H.ColorType) {
    case 2: return wide ? SinkRgb<3, 2> : SinkRgb<3, 1>;
    case 6: return wide ? SinkRgb<4, 2> : SinkRgb<4, 1>;
    case 4: return wide ? SinkGrey<2, 2> : SinkGrey<2, 1>;
    case 0: return wide ? SinkGrey<1, 2> : SinkPacked;
    default: return SinkPacked;
  }
}

}  // namespace

bool TChunkIDAT::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  SetName(ChunkType);
  TChunkIHDR* h = FOwner->HeaderChunk();
  if (h->HasPalette() && (h->ColorType == 0 || h->ColorType == 4)) {
    int bits = h->BitsPerPixel();
    int levels = 1 << bits;
    for (int n = 0; n < levels; ++n) {
      uint8_t v = FOwner->GammaTable[MulDivRound(n, 255, levels - 1)];
      h->ColorTable()[n] = {v, v, v, 0};
    }
  }
  uint32_t rowBytes, offset;
  FOwner->RowLayout(rowBytes, offset);
  TIdatReader reader(Stream, Size);
  std::vector<uint8_t> rowA(size_t(rowBytes) + 1), rowB(size_t(rowBytes) + 1);
  uint8_t* cur = rowA.data();
  uint8_t* prev = rowB.data();
  TRowSink sink = SinkFor(*h);
  const uint32_t width = h->Width, height = h->Height;
  uint8_t* bits = h->ImageData();
  uint8_t* alpha = h->ImageAlpha();
  const size_t dibRow = h->BytesPerRow();
  const bool copyPacked = (h->ColorType == 0 || h->ColorType == 3) && h->BitDepth <= 8 &&
                          h->BitDepth != 2;
  // 16-bit samples keep only their high byte: which pixels hold the colour key is decided here.
  const size_t keyBytes = h->ColorType == 0 ? 2 : 6;
  const TChunktRNS* trns = FOwner->Chunks().FindChunk<TChunktRNS>();
  uint8_t* keyMask = nullptr;
  if (h->BitDepth == 16 && (h->ColorType == 0 || h->ColorType == 2) && trns &&
      trns->DataSize() >= keyBytes) {
    h->KeyMask().assign(size_t(width) * height, 0);
    keyMask = h->KeyMask().data();
  }
  if (FOwner->InterlaceMethod() == 0) {
    for (uint32_t y = 0; y < height; ++y) {
      if (reader.Read(cur, size_t(rowBytes) + 1) == 0) break;
      UnfilterRow(cur, prev, rowBytes, offset);
      uint8_t* d = bits + dibRow * (height - 1 - y);
      uint8_t* a = alpha ? alpha + size_t(width) * y : nullptr;
      if (copyPacked) {
        std::memcpy(d, cur + 1, rowBytes);
      } else {
        sink(*h, FOwner->GammaTable, cur + 1, width, d, a, 0, 1);
      }
      if (keyMask)
        MarkKeyed(cur + 1, width, trns->Data(), keyBytes, keyMask + size_t(width) * y, 0, 1);
      std::swap(cur, prev);
    }
  } else {
    bool ended = false;
    for (int pass = 0; pass < 7 && !ended; ++pass) {
      if (width <= uint32_t(kColStart[pass])) continue;
      uint32_t passWidth = (width + kColStep[pass] - kColStart[pass] - 1) / kColStep[pass];
      uint32_t passBytes, passOffset;
      LayoutFor(h, passWidth, passBytes, passOffset);
      std::fill(prev, prev + rowBytes + 1, 0);
      if (passBytes == 0) continue;
      for (uint32_t y = kRowStart[pass]; y < height; y += kRowStep[pass]) {
        if (reader.Read(cur, size_t(passBytes) + 1) == 0) {
          ended = true;
          break;
        }
        UnfilterRow(cur, prev, passBytes, passOffset);
        uint8_t* d = bits + dibRow * (height - 1 - y);
        uint8_t* a = alpha ? alpha + size_t(width) * y : nullptr;
        sink(*h, FOwner->GammaTable, cur + 1, passWidth, d, a, kColStart[pass], kColStep[pass]);
        if (keyMask)
          MarkKeyed(cur + 1, passWidth, trns->Data(), keyBytes, keyMask + size_t(width) * y,
                    kColStart[pass], kColStep[pass]);
        std::swap(cur, prev);
      }
    }
  }
  reader.Finish();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Image data: encoding

namespace {

class TIdatWriter {
 public:
  TIdatWriter(TStream* Stream, int Level, uint32_t MaxBytes) : FStream(Stream), FMax(MaxBytes) {
    if (deflateInit(&FZ, Level) != Z_OK)
      RaisePngError<EPNGZLIBError>(kZlibError + ZlibDescription(-2));
    FBuffer.resize(std::min<uint32_t>(FMax, 1u << 20));
  }
  ~TIdatWriter() { deflateEnd(&FZ); }

  void Write(const uint8_t* Data, size_t N) { Run(Data, N, Z_NO_FLUSH); }
  void Finish() {
    Run(nullptr, 0, Z_FINISH);
    if (FFill) Flush();
  }

 private:
  void Run(const uint8_t* Data, size_t N, int Flush) {
    FZ.next_in = const_cast<uint8_t*>(Data);
    FZ.avail_in = uInt(N);
    for (;;) {
      if (FFill == FBuffer.size()) {
        if (FFill >= FMax) {
          this->Flush();
        } else {
          FBuffer.resize(std::min<size_t>(size_t(FMax), FBuffer.size() * 2));
        }
      }
      FZ.next_out = FBuffer.data() + FFill;
      FZ.avail_out = uInt(FBuffer.size() - FFill);
      int r = deflate(&FZ, Flush);
      FFill = FBuffer.size() - FZ.avail_out;
      if (r < 0 && r != Z_BUF_ERROR) RaisePngError<EPNGZLIBError>(kZlibError + ZlibDescription(r));
      if (Flush == Z_FINISH ? r == Z_STREAM_END : (FZ.avail_in == 0 && FZ.avail_out != 0)) break;
    }
  }
  void Flush() {
    WriteChunk(FStream, "IDAT", FBuffer.data(), uint32_t(FFill));
    FFill = 0;
  }

  TStream* FStream;
  z_stream FZ{};
  uint32_t FMax;
  std::vector<uint8_t> FBuffer;
  size_t FFill = 0;
};

}  // namespace

bool TChunkIDAT::SaveChunk(TStream* Stream) {
  const TChunkIHDR* h = FOwner->HeaderChunk();
  uint32_t rowBytes, offset;
  FOwner->RowLayout(rowBytes, offset);
  // A header whose reading failed has no pixels: no rows are written.
  const uint32_t rows = h->ImageData() ? h->Height : 0;
  if (!rows) rowBytes = 0;
  TPngFilters filters = FOwner->Filters();
  std::vector<uint8_t> cur(rowBytes), prev(rowBytes);
  std::array<std::vector<uint8_t>, 5> out;
  for (int t = 1; t < 5; ++t)
    if (filters.Contains(TPngFilter(t))) out[t].resize(rowBytes);
  TIdatWriter writer(Stream, FOwner->CompressionLevel(), FOwner->MaxIdatBytes());
  const auto& inv = FOwner->InverseGammaTable;
  const uint32_t width = h->Width, height = h->Height;
  const int depth = h->BitDepth, step = depth / 8;
  // 16-bit samples go out as their high byte followed by 0, but pixels that show a colour key go
  // out as the key itself, and no other pixel may come out equal to it.
  const TChunktRNS* trns = FOwner->Chunks().FindChunk<TChunktRNS>();
  const size_t keyBytes = h->ColorType == 0 ? 2 : 6;
  const bool key16 = depth == 16 && (h->ColorType == 0 || h->ColorType == 2) && trns &&
                     trns->DataSize() >= keyBytes;
  const THeldKey heldKey = key16 ? HeldKey(*FOwner) : THeldKey{};

  // One PNG pixel from image column X into position K of the current row.
  auto gather = [&](uint32_t Y, uint32_t X, uint32_t K) {
    const uint8_t* d = h->ImageData() + size_t(h->BytesPerRow()) * (height - 1 - Y);
    const uint8_t* a = h->ImageAlpha() ? h->ImageAlpha() + size_t(width) * Y : nullptr;
    uint8_t* c = cur.data();
    switch (h->ColorType) {
      case 2: case 6: {
        int samples = h->ColorType == 6 ? 4 : 3;
        uint8_t* o = c + size_t(K) * samples * step;
        const uint8_t* s = d + size_t(X) * 3;
        uint8_t v[4] = {inv[s[2]], inv[s[1]], inv[s[0]], a ? a[X] : uint8_t(255)};
        for (int i = 0; i < samples; ++i) {
          o[i * step] = v[i];
          if (step == 2) o[i * step + 1] = 0;
        }
        break;
      }
      case 4: {
        uint8_t* o = c + size_t(K) * 2 * step;
        o[0] = d[X];
        o[step] = a ? a[X] : 255;
        if (step == 2) o[1] = o[3] = 0;
        break;
      }
      default:
        if (depth == 16) {
          c[size_t(K) * 2] = d[X];
          c[size_t(K) * 2 + 1] = 0;
        } else {
          int bits = depth == 2 ? 4 : depth;
          PutPacked(c, K, bits, PackedSample(d, X, bits));
        }
    }
    if (key16) {
      uint8_t* o = c + size_t(K) * keyBytes;
      if (ShowsKey(*h, heldKey, d, X, Y)) std::memcpy(o, trns->Data(), keyBytes);
      else if (std::memcmp(o, trns->Data(), keyBytes) == 0) o[keyBytes - 1] = 1;
    }
  };

  auto emitRow = [&](uint32_t Bytes) {
    // Filter outputs, then the choice; prev becomes this row (the None output).
    for (int t = 1; t < 5; ++t) {
      if (out[t].empty()) continue;
      uint8_t* o = out[t].data();
      for (uint32_t i = 0; i < Bytes; ++i) {
        int x = cur[i], left = i >= offset ? cur[i - offset] : 0, above = prev[i],
            upLeft = i >= offset ? prev[i - offset] : 0;
        int pred = t == 1 ? left : t == 2 ? above : t == 3 ? (left + above) / 2
                                                          : PaethPredictor(left, above, upLeft);
        o[i] = uint8_t(x - pred);
      }
    }
    std::copy(cur.begin(), cur.begin() + Bytes, prev.begin());
    int chosen = 0;
    if (!(filters.Empty() || filters == TPngFilters{fltNone})) {
      int best = 0;
      for (int t = 0; t < 5; ++t) {
        if (!filters.Contains(TPngFilter(t))) continue;
        if (filters.Count() == 1) {
          chosen = t;
          break;
        }
        const uint8_t* o = t == 0 ? prev.data() : out[t].data();
        int score = 0;
        for (uint32_t j = 2; j < Bytes; ++j)
          if (o[j] == o[j - 1] || o[j] == o[j - 2]) ++score;
        if (score > best) {
          best = score;
          chosen = t;
        }
      }
    }
    uint8_t type = uint8_t(chosen);
    writer.Write(&type, 1);
    writer.Write(chosen == 0 ? prev.data() : out[chosen].data(), Bytes);
  };

  const bool wholeRows = h->ColorType == 0 || h->ColorType == 3;
  if (FOwner->InterlaceMethod() == 0) {
    for (uint32_t y = 0; y < rows && rowBytes; ++y) {
      if (wholeRows && depth <= 8) {
        const uint8_t* d = h->ImageData() + size_t(h->BytesPerRow()) * (height - 1 - y);
        std::memcpy(cur.data(), d, rowBytes);
      } else {
        for (uint32_t x = 0; x < width; ++x) gather(y, x, x);
      }
      emitRow(rowBytes);
    }
  } else {
    for (int pass = 0; pass < 7; ++pass) {
      if (width <= uint32_t(kColStart[pass])) continue;
      uint32_t passWidth = (width + kColStep[pass] - kColStart[pass] - 1) / kColStep[pass];
      uint32_t passBytes, passOffset;
      LayoutFor(h, passWidth, passBytes, passOffset);
      std::fill(prev.begin(), prev.end(), 0);
      if (passBytes == 0) continue;
      for (uint32_t y = kRowStart[pass]; y < rows; y += kRowStep[pass]) {
        std::fill(cur.begin(), cur.end(), 0);
        for (uint32_t k = 0; k < passWidth; ++k) gather(y, kColStart[pass] + k * kColStep[pass], k);
        emitRow(passBytes);
      }
    }
  }
  writer.Finish();
  return true;
}

// ---------------------------------------------------------------------------------------------
// TPNGList

TPNGList::~TPNGList() { Clear(); }

TChunk* TPNGList::Item(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[size_t(Index)] : nullptr;
}

void TPNGList::Insert(TChunk* Chunk, int Index) {
  if (Index >= 0 && Index < Count()) FItems.insert(FItems.begin() + Index, Chunk);
}

TChunk* TPNGList::ItemFromList(TChunk* Chunk) {
  auto it = std::find(FItems.begin(), FItems.end(), Chunk);
  if (it == FItems.end()) return nullptr;
  FItems.erase(it);
  return Chunk;
}

void TPNGList::Clear() {
  for (TChunk* c : FItems) delete c;
  FItems.clear();
}

int TPNGList::IndexOf(const TChunk* Chunk) const {
  auto it = std::find(FItems.begin(), FItems.end(), Chunk);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TPNGList::PlaceNewChunk(TChunk* Chunk) {
  std::string name = Chunk->ChunkName();
  if (name == "IHDR" || name == "IDAT" || name == "PLTE" || name == "IEND" ||
      (name == "gAMA" && FindChunk<TChunkgAMA>()) || (name == "tRNS" && FindChunk<TChunktRNS>()))
    RaisePngError<EPngError>(kExistentCritical);
  TChunk* header = FindChunk<TChunkIHDR>();
  TChunk* end = FindChunk<TChunkIEND>();
  if (!header || !end) RaisePngError<EPngError>(kInvalidImage);
  int at;
  if (name == "gAMA") {
    at = IndexOf(header) + 1;
  } else if (name == "tRNS") {
    if (TChunk* p = FindChunk<TChunkPLTE>()) at = IndexOf(p) + 1;
    else if (TChunk* d = FindChunk<TChunkIDAT>()) at = IndexOf(d);
    else at = IndexOf(header) + 1;
  } else {
    at = IndexOf(end);
  }
  FItems.insert(FItems.begin() + at, Chunk);
}

// ---------------------------------------------------------------------------------------------
// TPNGObject

TPNGObject::TPNGObject() { ResetGamma(); }

TPNGObject::~TPNGObject() {
  FreeChunks();
  DropPaletteHandle();
}

void TPNGObject::DropPaletteHandle() {
  if (FPaletteHandle) DeleteObject(FPaletteHandle);
  FPaletteHandle = nullptr;
}

HPALETTE TPNGObject::GetPalette() {
  TChunkIHDR* h = HeaderChunk();
  if (h->ColorType != 0 && h->ColorType != 3) return nullptr;
  if (!FPaletteHandle) {
    auto log = std::make_unique<LOGPALETTE>();
    log->palVersion = 0x300;
    log->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
      const TPngRgbQuad& q = h->ColorTable()[i];
      log->palPalEntry[i] = {q.Red, q.Green, q.Blue, 0};
    }
    FPaletteHandle = CreatePalette(log.get());
  }
  return FPaletteHandle;
}

void TPNGObject::SetPalette(HPALETTE Value) {
  TChunkIHDR* h = HeaderChunk();
  if (h->ColorType != 0 && h->ColorType != 3) return;
  PALETTEENTRY entries[256]{};
  UINT n = GetPaletteEntries(Value, 0, 256, entries);
  for (UINT i = 0; i < n; ++i)
    h->ColorTable()[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  DropPaletteHandle();
}

void TPNGObject::ResetGamma() {
  for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGammaTable[i] = uint8_t(i);
}

void TPNGObject::FreeChunks() {
  ResetGamma();
  FChunks.Clear();
  FConverted = QImage();
}

int TPNGObject::Width() const { return HasHeaderChunk() ? int(HeaderChunk()->Width) : 0; }
int TPNGObject::Height() const { return HasHeaderChunk() ? int(HeaderChunk()->Height) : 0; }
void TPNGObject::SetWidth(int) { RaisePngError<EPngError>(kSizeMessage); }
void TPNGObject::SetHeight(int) { RaisePngError<EPngError>(kSizeMessage); }

void TPNGObject::SetMaxIdatBytes(uint32_t Value) {
  // A chunk holds at most 2^31-1 bytes.
  FMaxIdatBytes = std::min<uint32_t>(std::max<uint32_t>(Value, 65535), 0x7FFFFFFFu);
}

bool TPNGObject::HasHeaderChunk() const {
  return dynamic_cast<TChunkIHDR*>(FChunks.Item(0)) != nullptr;
}

TChunkIHDR* TPNGObject::HeaderChunk() const {
  auto* h = dynamic_cast<TChunkIHDR*>(FChunks.Item(0));
  if (!h) RaisePngError<EPNGHeaderNotPresent>(kNoHeader);
  return h;
}

void TPNGObject::RowLayout(uint32_t& RowBytes, uint32_t& PixelOffset) const {
  RowBytes = PixelOffset = 0;
  if (!HasHeaderChunk()) return;
  TChunkIHDR* h = HeaderChunk();
  LayoutFor(h, h->Width, RowBytes, PixelOffset);
}

TPngTransparencyKind TPNGObject::TransparencyKind() const {
  if (!HasHeaderChunk()) return ptkNone;
  TChunkIHDR* h = HeaderChunk();
  TChunktRNS* t = FChunks.FindChunk<TChunktRNS>();
  switch (h->ColorType) {
    case 0: case 2: return t ? ptkColorKey : ptkNone;
    case 3: return !t ? ptkNone : t->BitTransparency ? ptkColorKey : ptkAlpha;
    case 4: case 6: return ptkAlpha;
    default: return ptkNone;
  }
}

COLORREF TPNGObject::KeyColor() const {
  TChunktRNS* t = FChunks.FindChunk<TChunktRNS>();
  if (!t || !HasHeaderChunk()) return 0;
  TChunkIHDR* h = HeaderChunk();
  const uint8_t* d = t->Data();
  // The key is given as the image shows it: 16-bit samples by their high byte, low grey depths
  // scaled to the grey table, colours through the gamma table.
  switch (h->ColorType) {
    case 0: {
      if (t->DataSize() < 2) return 0;
      uint32_t v = (uint32_t(d[0]) << 8) | d[1];
      uint32_t index = h->BitDepth == 16 ? v >> 8 : h->BitDepth == 2 ? (v & 3) * 5
                                                                     : v & ((1u << h->BitDepth) - 1);
      const TPngRgbQuad& q = h->ColorTable()[index & 255];
      return RGB(q.Red, q.Green, q.Blue);
    }
    case 2: {
      if (t->DataSize() < 6) return 0;
      int hi = h->BitDepth == 16 ? 0 : 1;
      return RGB(GammaTable[d[hi]], GammaTable[d[2 + hi]], GammaTable[d[4 + hi]]);
    }
    case 3:
      for (uint32_t i = 0; i < t->DataSize(); ++i)
        if (t->PaletteValues[i] == 0) {
          const TPngRgbQuad& q = h->ColorTable()[i];
          return RGB(q.Red, q.Green, q.Blue);
        }
      return 0;
    default:
      return 0;
  }
}

void TPNGObject::LoadFromStream(TStream* Stream) {
  FreeChunks();
  uint8_t sig[8];
  if (Stream->Read(sig, 8) != 8 || std::memcmp(sig, kSignature, 8) != 0)
    RaisePngError<EPNGInvalidFileHeader>(kInvalidHeader);
  bool hasIdat = false;
  std::string name;
  do {
    uint8_t head[8];
    int64_t got = Stream->Read(head, 4);
    if (got != 4) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
    if (Stream->Read(head + 4, 4) != 4) RaisePngError<EPngUnexpectedEnd>(kUnexpectedEnd);
    uint32_t length = GetBE32(head);
    name.assign(reinterpret_cast<char*>(head + 4), 4);
    CheckChunkLength(Stream, length);
    if (FChunks.Count() == 0 && name != "IHDR") RaisePngError<EPNGIHDRNotFirst>(kIHDRNotFirst);
    if ((hasIdat && name == "IDAT") || name == "cHRM") {
      Stream->Seek(int64_t(length) + 4, soCurrent);
      continue;
    }
    if (name == "IDAT") hasIdat = true;
    TChunk* chunk = CreateChunkByName(this, name);
    FChunks.Add(chunk);
    if (typeid(*chunk) == typeid(TChunk) && (head[4] & 0x20) == 0)
      RaisePngError<EPNGUnknownCriticalChunk>(kUnknownCritical);
    // Chunks that need the header's image (or a palette, for tRNS) before any exists.
    if ((name == "PLTE" || name == "tRNS" || name == "IDAT") && !HasHeaderChunk())
      RaisePngError<EPNGIHDRNotFirst>(kIHDRNotFirst);
    if (!chunk->LoadChunk(Stream, name, length)) break;
  } while (name != "IEND");
  if (!hasIdat) RaisePngError<EPNGNoImageData>(kNoImageData);
  Changed(this);
}

void TPNGObject::SaveToStream(TStream* Stream) {
  Stream->WriteBuffer(kSignature, 8);
  for (int i = 0; i < FChunks.Count(); ++i) FChunks.Item(i)->SaveChunk(Stream);
}

void TPNGObject::CopyPng(TPNGObject* Source) {
  if (Source == this) return;
  FInterlaceMethod = Source->FInterlaceMethod;
  SetMaxIdatBytes(Source->FMaxIdatBytes);
  FCompressionLevel = Source->FCompressionLevel;
  FFilters = Source->FFilters;
  FreeChunks();
  GammaTable = Source->GammaTable;
  InverseGammaTable = Source->InverseGammaTable;
  for (int i = 0; i < Source->FChunks.Count(); ++i) {
    TChunk* s = Source->FChunks.Item(i);
    TChunk* c = s->NewOfSameClass(this);
    FChunks.Add(c);
    c->Assign(s);
  }
  Changed(this);
}

void TPNGObject::Assign(TPersistent* Source) {
  if (auto* png = dynamic_cast<TPNGObject*>(Source)) {
    CopyPng(png);
  } else if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    AssignBitmapHandle(bmp->Handle(), bmp->Transparent(), ColorToRGB(bmp->TransparentColor()));
  } else {
    TGraphic::Assign(Source);
  }
}

void TPNGObject::AssignBitmapHandle(HBITMAP Handle, bool Transparent, COLORREF TransparentColor) {
  BITMAP bm;
  if (!GetObject(Handle, sizeof bm, &bm)) bm = BITMAP{0, 0, 0, 0, 1, 24, nullptr};
  FreeChunks();
  auto* header = new TChunkIHDR(this);
  FChunks.Add(header);
  TChunkPLTE* plte = nullptr;
  const bool indexed = bm.bmBitsPixel < 16;
  if (indexed) {
    plte = new TChunkPLTE(this);
    FChunks.Add(plte);
  }
  TChunktRNS* trns = nullptr;
  if (Transparent) {
    trns = new TChunktRNS(this);
    FChunks.Add(trns);
  }
  FChunks.Add(new TChunkIDAT(this));
  FChunks.Add(new TChunkIEND(this));
  header->Width = uint32_t(std::max<LONG>(0, bm.bmWidth));
  header->Height = uint32_t(std::abs(bm.bmHeight));
  // Depths a palette image cannot have are read at the next one it can.
  header->BitDepth = !indexed ? 8 : bm.bmBitsPixel <= 1 ? 1 : bm.bmBitsPixel <= 4 ? 4 : 8;
  header->ColorType = indexed ? 3 : 2;
  header->CompressionMethod = header->FilterMethod = header->InterlaceMethod = 0;
  FInterlaceMethod = 0;
  header->PrepareImageData();
  BITMAPINFO info;
  info.bmiHeader.biWidth = LONG(header->Width);
  info.bmiHeader.biHeight = LONG(header->Height);
  info.bmiHeader.biBitCount = WORD(header->BitsPerPixel());
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, Handle, 0, header->Height, header->ImageData(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (plte) {
    plte->SetCount(1 << header->BitDepth);
    for (int i = 0; i < plte->Count(); ++i) {
      const RGBQUAD& q = info.bmiColors[i];
      header->ColorTable()[i] = {q.rgbBlue, q.rgbGreen, q.rgbRed, 0};
    }
  }
  if (trns) trns->SetTransparentColor(TransparentColor);
  Changed(this);
}

void TPNGObject::AssignTo(TPersistent* Dest) {
  if (auto* png = dynamic_cast<TPNGObject*>(Dest)) {
    png->CopyPng(this);
  } else if (auto* bmp = dynamic_cast<TBitmap*>(Dest); bmp && HasHeaderChunk()) {
    TChunkIHDR* h = HeaderChunk();
    QImage image = ToImage();
    bmp->SetImage(image.convertToFormat(QImage::Format_RGB32));
    switch (h->BitsPerPixel()) {
      case 1: bmp->SetPixelFormat(pf1bit); break;
      case 4: bmp->SetPixelFormat(pf4bit); break;
      case 8: bmp->SetPixelFormat(pf8bit); break;
      default: bmp->SetPixelFormat(pf24bit);
    }
    if (TransparencyKind() == ptkColorKey) {
      bmp->SetTransparentColor(TColor(KeyColor()));
      bmp->SetTransparent(true);
    }
  } else {
    TGraphic::AssignTo(Dest);
  }
}

uint8_t* TPNGObject::RowPointer(int Y) {
  TChunkIHDR* h = HeaderChunk();
  if (!h->ImageData()) return nullptr;
  return h->ImageData() + size_t(h->BytesPerRow()) * (h->Height - 1 - uint32_t(Y));
}

uint8_t* TPNGObject::AlphaRowPointer(int Y) {
  TChunkIHDR* h = HeaderChunk();
  if (h->ColorType != 4 && h->ColorType != 6) return nullptr;
  return h->ImageAlpha() + size_t(h->Width) * uint32_t(Y);
}

COLORREF TPNGObject::ReadPixel(int X, int Y) {
  const TChunkIHDR* h = HeaderChunk();
  // A header whose reading failed has no pixels.
  if (X < 0 || Y < 0 || uint32_t(X) >= h->Width || uint32_t(Y) >= h->Height || !h->ImageData())
    return 0;
  const uint8_t* row = HeldRow(*h, uint32_t(Y));
  switch (h->ColorType) {
    case 0: case 3: {
      // Two-bit images are held with four-bit rows; they are addressed as such.
      int bits = h->BitsPerPixel();
      uint32_t index = PackedSample(row, uint32_t(X), bits);
      if (h->ColorType == 3 || bits != h->BitDepth || bits == 8) {
        // Indexed rows, and grey rows whose table already maps levels.
        const TPngRgbQuad& q = h->ColorTable()[index];
        if (h->ColorType == 3)
          return RGB(GammaTable[q.Red], GammaTable[q.Green], GammaTable[q.Blue]);
        return RGB(q.Red, q.Green, q.Blue);
      }
      uint8_t level = bits == 1 ? GammaTable[index ? 255 : 0]
                                : GammaTable[(index * ((1u << bits) + 1)) % 256];
      return RGB(level, level, level);
    }
    case 4:
      return RGB(row[X], row[X], row[X]);
    default: {
      const uint8_t* p = row + size_t(X) * 3;
      return RGB(p[2], p[1], p[0]);
    }
  }
}

void TPNGObject::WritePixel(int X, int Y, COLORREF Value) {
  TChunkIHDR* h = HeaderChunk();
  if (X < 0 || Y < 0 || uint32_t(X) >= h->Width || uint32_t(Y) >= h->Height ||
      !std::as_const(*h).ImageData())
    return;
  uint8_t* row = RowPointer(Y);
  switch (h->ColorType) {
    case 0: case 3: {
      int bits = h->BitsPerPixel();
      int entries = 1 << bits;
      if (h->ColorType == 3)
        if (auto* p = FChunks.FindChunk<TChunkPLTE>()) entries = std::min(entries, p->Count());
      int best = 0, bestDistance = INT32_MAX;
      for (int i = 0; i < entries; ++i) {
        const TPngRgbQuad& q = h->ColorTable()[i];
        int dr = q.Red - GetRValue(Value), dg = q.Green - GetGValue(Value),
            db = q.Blue - GetBValue(Value);
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
          bestDistance = distance;
          best = i;
        }
      }
      PutPacked(row, uint32_t(X), bits, uint32_t(best));
      break;
    }
    case 4:
      row[X] = GetRValue(Value);
      break;
    default: {
      uint8_t* p = row + size_t(X) * 3;
      p[0] = GetBValue(Value);
      p[1] = GetGValue(Value);
      p[2] = GetRValue(Value);
    }
  }
  // A pixel written with 8 bits shows the key when its colour is the key's.
  if (!std::as_const(*h).KeyMask().empty())
    h->KeyMask()[size_t(Y) * h->Width + uint32_t(X)] =
        HeldFormShowsKey(*h, HeldKey(*this), row, uint32_t(X));
}

void TPNGObject::AddAlphaChannel() {
  TChunkIHDR* h = HeaderChunk();
  if (!h->ImageData()) return;
  if ((h->ColorType == 0 && h->BitDepth >= 8) || h->ColorType == 2) {
    // Keep the pixels across the change of format.
    size_t bytes = size_t(h->BytesPerRow()) * h->Height;
    std::vector<uint8_t> old(h->ImageData(), h->ImageData() + bytes);
    auto table = h->ColorTable();
    h->ColorType = h->ColorType == 0 ? 4 : 6;
    h->PrepareImageData();
    std::memcpy(h->ImageData(), old.data(), bytes);
    h->ColorTable() = table;
    std::memset(h->ImageAlpha(), 255, size_t(h->Width) * h->Height);
  } else if (h->ColorType == 3) {
    TChunktRNS* t = FChunks.FindChunk<TChunktRNS>();
    if (!t) t = FChunks.InsertChunkOfClass<TChunktRNS>();
    t->PaletteValues.fill(255);
    t->ResizeData(1u << h->BitDepth);
    std::memset(t->Data(), 255, t->DataSize());
    t->BitTransparency = false;
  }
  // Grey images below 8 bits keep their format: packed rows cannot carry an alpha plane.
}

TPNGObject::TConversionKey TPNGObject::ConversionKey() const {
  const TChunkIHDR* h = HeaderChunk();
  TConversionKey key;
  key.PixelStamp = h->PixelStamp();
  key.Kind = TransparencyKind();
  key.Colors = h->ColorTable();
  if (const TChunkPLTE* plte = FChunks.FindChunk<TChunkPLTE>()) key.PaletteCount = plte->Count();
  if (const TChunktRNS* trns = FChunks.FindChunk<TChunktRNS>()) {
    key.Alphas = trns->PaletteValues;
    std::memcpy(key.Key.data(), trns->Data(), std::min<size_t>(trns->DataSize(), key.Key.size()));
  }
  return key;
}

QImage TPNGObject::ToImage() const {
  if (!HasHeaderChunk() || !std::as_const(*HeaderChunk()).ImageData()) return {};
  TConversionKey key = ConversionKey();
  if (FConverted.isNull() || !(key == FConvertedKey)) {
    FConverted = QImage();
    FConverted = ConvertImage();
    FConvertedKey = key;
  }
  return FConverted;
}

QImage TPNGObject::ConvertImage() const {
  const TChunkIHDR* h = HeaderChunk();
  QImage image(int(h->Width), int(h->Height), QImage::Format_ARGB32);
  if (image.isNull()) RaisePngError<EPNGOutMemory>(kOutOfMemory);
  const TPngTransparencyKind kind = TransparencyKind();
  const TChunktRNS* trns = FChunks.FindChunk<TChunktRNS>();
  const TChunkPLTE* plte = FChunks.FindChunk<TChunkPLTE>();
  const THeldKey key = HeldKey(*this);
  const auto& table = h->ColorTable();
  const int bits = h->BitsPerPixel();
  for (uint32_t y = 0; y < h->Height; ++y) {
    const uint8_t* row = HeldRow(*h, y);
    const uint8_t* alpha = h->ImageAlpha() ? h->ImageAlpha() + size_t(h->Width) * y : nullptr;
    auto* out = reinterpret_cast<uint32_t*>(image.scanLine(int(y)));
    for (uint32_t x = 0; x < h->Width; ++x) {
      uint8_t r, g, b, a = 255;
      if (h->ColorType == 0 || h->ColorType == 3) {
        uint32_t index = bits == 8 ? row[x] : PackedSample(row, x, bits);
        const TPngRgbQuad& q = table[index];
        r = q.Red, g = q.Green, b = q.Blue;
        // Each palette entry has its own alpha, whether it draws keyed or blended.
        if (h->ColorType == 3 && trns) {
          if (kind == ptkAlpha && (!plte || int(index) >= plte->Count()))
            RaisePngError<EPngError>(kNoPaletteEntry);
          a = trns->PaletteValues[index];
        }
      } else if (h->ColorType == 4) {
        r = g = b = row[x];
      } else {
        b = row[x * 3], g = row[x * 3 + 1], r = row[x * 3 + 2];
      }
      if (alpha) a = alpha[x];
      if (kind == ptkColorKey && h->ColorType != 3 && ShowsKey(*h, key, row, x, y)) a = 0;
      out[x] = (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    }
  }
  return image;
}

void TPNGObject::SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) {
  TBitmap bitmap;
  bitmap.SetSize(Width(), Height());
  Draw(bitmap.Canvas(), TRect(0, 0, Width(), Height()));
  bitmap.SaveToClipboardFormat(AFormat, AData, APalette);
}

void TPNGObject::LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) {
  TBitmap bitmap;
  bitmap.LoadFromClipboardFormat(AFormat, AData, APalette);
  AssignBitmapHandle(bitmap.Handle(), false, 0);
}

void TPNGObject::Draw(TCanvas* ACanvas, const TRect& Rect) { DrawImage(ACanvas, Rect, false); }

void TPNGObject::DrawImage(TCanvas* ACanvas, const TRect& Rect, bool StretchAlpha) {
  if (!HasHeaderChunk() || !std::as_const(*HeaderChunk()).ImageData()) return;
  const TChunkIHDR* h = HeaderChunk();
  const TPngTransparencyKind kind = TransparencyKind();
  TRect dest = Rect;
  const bool natural = kind == ptkAlpha && !StretchAlpha;
  if (natural) dest = TRect(Rect.Left, Rect.Top, Rect.Left + int(h->Width), Rect.Top + int(h->Height));
  const int w = dest.Width(), ht = dest.Height();
  if (w <= 0 || ht <= 0) return;
  // The image is blended or keyed straight into the canvas's pixels (32 bits each, as the blits
  // make them), only where the canvas shows them.
  TDibSync sync;
  TDeviceContext* dc = FindDeviceContext(ACanvas->Handle());
  QImage* surface = dc ? dc->Surface() : nullptr;
  if (!surface || surface->isNull()) return;
  if (surface->format() != QImage::Format_RGB32 && surface->format() != QImage::Format_ARGB32)
    *surface = surface->convertToFormat(QImage::Format_RGB32);
  const QPoint at = dc->ToSurface(QPoint(dest.Left, dest.Top));
  const QRegion area = dc->EffectiveClip() & QRegion(QRect(at, QSize(w, ht)));
  if (area.isEmpty()) return;
  const QImage image = ToImage();
  const int iw = int(h->Width), ih = int(h->Height);
  // The image column under every surface column of the area.
  const QRect bounds = area.boundingRect();
  std::vector<int> column(size_t(bounds.width()));
  for (int px = bounds.left(); px <= bounds.right(); ++px) {
    const int dx = px - at.x();
    column[size_t(px - bounds.left())] = natural ? dx : int(int64_t(dx) * iw / w);
  }
  for (const QRect& r : area) {
    for (int py = r.top(); py <= r.bottom(); ++py) {
      uint32_t* o = reinterpret_cast<uint32_t*>(surface->scanLine(py)) + r.left();
      const int dy = py - at.y();
      const auto* s = reinterpret_cast<const uint32_t*>(
          image.constScanLine(natural ? dy : int(int64_t(dy) * ih / ht)));
      const int* col = column.data() + (r.left() - bounds.left());
      for (int k = 0; k < r.width(); ++k) {
        const uint32_t src = s[col[k]], a = src >> 24;
        // The blend below gives the source at full alpha and the background at none.
        if (kind == ptkNone || a == 255) {
          o[k] = src | 0xFF000000u;
        } else if (kind == ptkAlpha && a != 0) {
          o[k] = Blend(src, o[k], a);
        }
      }
    }
  }
}

void RegisterPngClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClass<TPNGObject, TGraphic>();
  RegisterGraphicClass("png", "Portable Network Graphics", FindClassInfo(typeid(TPNGObject)));
}

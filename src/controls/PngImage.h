#pragma once
// PNG pictures: the chunk list as read, the image decoded once into a bottom-up device-independent
// pixel buffer (with a separate alpha plane for images that carry alpha), drawing, writing, and
// per-pixel access.

#include <QImage>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

SONALIX_DECLARE_EXCEPTION(EPngError, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGInvalidFileHeader, Exception);
SONALIX_DECLARE_EXCEPTION(EPngUnexpectedEnd, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGIHDRNotFirst, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGUnknownCriticalChunk, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGNoImageData, Exception);
SONALIX_DECLARE_EXCEPTION(EPngInvalidCRC, Exception);
SONALIX_DECLARE_EXCEPTION(EPngInvalidIHDR, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGSizeExceeds, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGUnknownCompression, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGUnknownInterlace, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGInvalidPalette, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGMissingMultipleIDAT, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGZLIBError, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGHeaderNotPresent, Exception);
SONALIX_DECLARE_EXCEPTION(EPNGOutMemory, Exception);

enum class TPngFilter { fltNone, fltSub, fltUp, fltAverage, fltPaeth };
using enum TPngFilter;
using TPngFilters = TSet<TPngFilter, 5>;

enum class TPngTransparencyKind { ptkNone, ptkColorKey, ptkAlpha };
using enum TPngTransparencyKind;

class TPNGObject;

class TChunk : public TObject {
 public:
  explicit TChunk(TPNGObject* AOwner);
  ~TChunk() override = default;

  // The type this class stands for ("IHDR" for TChunkIHDR); empty for the plain chunk.
  virtual std::string ChunkName() const { return {}; }
  // A new chunk of the same class for another owner.
  virtual TChunk* NewOfSameClass(TPNGObject* AOwner) const { return new TChunk(AOwner); }
  virtual void Assign(TChunk* Source);
  virtual bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size);
  virtual bool SaveChunk(TStream* Stream);

  std::string Name() const { return std::string(FName.data(), 4); }
  void SetName(const std::string& Value);
  TPNGObject* Owner() const { return FOwner; }
  uint8_t* Data() { return FData.data(); }
  const uint8_t* Data() const { return FData.data(); }
  uint32_t DataSize() const { return FDataSize; }
  // Keeps the data that fits; new bytes are zero.
  void ResizeData(uint32_t Size);

 protected:
  bool SaveData(TStream* Stream);
  std::vector<uint8_t> FData = std::vector<uint8_t>(1);  // always one byte more than the size
  uint32_t FDataSize = 0;
  TPNGObject* FOwner;
  std::array<char, 4> FName{};
};

class TChunkIEND : public TChunk {
 public:
  explicit TChunkIEND(TPNGObject* AOwner);
  std::string ChunkName() const override { return "IEND"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkIEND(AOwner); }
};

struct TPngRgbQuad {
  uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
  bool operator==(const TPngRgbQuad&) const = default;
};

class TChunkIHDR : public TChunk {
 public:
  explicit TChunkIHDR(TPNGObject* AOwner);
  ~TChunkIHDR() override;
  std::string ChunkName() const override { return "IHDR"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkIHDR(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;

  uint32_t Width = 0, Height = 0;
  uint8_t BitDepth = 0, ColorType = 0, CompressionMethod = 0, FilterMethod = 0,
          InterlaceMethod = 0;

  // The decoded image: rows bottom-up, BytesPerRow() bytes each (a multiple of 4). Writable
  // access counts as a change of the pixels (see PixelStamp).
  int BitsPerPixel() const { return FBitCount; }
  uint32_t BytesPerRow() const { return FBytesPerRow; }
  uint8_t* ImageData() { Touch(); return FBits; }
  const uint8_t* ImageData() const { return FBits; }
  // Width x Height bytes, rows top-down; null for images without alpha.
  uint8_t* ImageAlpha() { Touch(); return FAlpha; }
  const uint8_t* ImageAlpha() const { return FAlpha; }
  // For 16-bit grey and RGB images read with a colour key, whose 8-bit pixels cannot tell: one
  // byte per pixel, rows top-down, set where every sample equals the key in all 16 bits. Empty
  // otherwise.
  std::vector<uint8_t>& KeyMask() { Touch(); return FKeyMask; }
  const std::vector<uint8_t>& KeyMask() const { return FKeyMask; }
  bool HasPalette() const { return FHasPalette; }
  std::array<TPngRgbQuad, 256>& ColorTable() { return FColorTable; }
  const std::array<TPngRgbQuad, 256>& ColorTable() const { return FColorTable; }
  // A number that changes, to one never used before, whenever the pixels may have changed.
  uint64_t PixelStamp() const { return FStamp; }

  // Makes an empty (zeroed) image of the header's size and format. Raises EPNGSizeExceeds,
  // before allocating, for an image beyond the pixel and memory budget; EPNGOutMemory when the
  // memory cannot be had.
  void PrepareImageData();
  void FreeImageData();

 private:
  void Touch();
  uint8_t* FBits = nullptr;
  uint8_t* FAlpha = nullptr;
  std::vector<uint8_t> FKeyMask;
  int FBitCount = 0;
  uint32_t FBytesPerRow = 0;
  bool FHasPalette = false;
  uint64_t FStamp = 0;
  std::array<TPngRgbQuad, 256> FColorTable{};
};

class TChunkgAMA : public TChunk {
 public:
  explicit TChunkgAMA(TPNGObject* AOwner);
  std::string ChunkName() const override { return "gAMA"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkgAMA(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  uint32_t Gamma() const;
  void SetGamma(uint32_t Value);
};

class TChunkPLTE : public TChunk {
 public:
  explicit TChunkPLTE(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "PLTE"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkPLTE(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
  int Count() const { return FCount; }
  void SetCount(int Value) { FCount = Value; }
  // Raises EPngError for an index at or above Count.
  TPngRgbQuad Item(int Index) const;

 private:
  int FCount = 0;
};

class TChunktRNS : public TChunk {
 public:
  explicit TChunktRNS(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "tRNS"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunktRNS(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
  void SetTransparentColor(COLORREF Value);

  bool BitTransparency = false;
  std::array<uint8_t, 256> PaletteValues{};
};

class TChunkIDAT : public TChunk {
 public:
  explicit TChunkIDAT(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "IDAT"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkIDAT(AOwner); }
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
};

class TChunktIME : public TChunk {
 public:
  explicit TChunktIME(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "tIME"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunktIME(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
  uint16_t Year = 0;
  uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
 public:
  explicit TChunktEXt(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "tEXt"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunktEXt(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
  std::string Keyword, Text;
};

class TChunkzTXt : public TChunktEXt {
 public:
  explicit TChunkzTXt(TPNGObject* AOwner) : TChunktEXt(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "zTXt"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TChunkzTXt(AOwner); }
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;
};

// The chunk list: owns its chunks, in stream order.
class TPNGList {
 public:
  explicit TPNGList(TPNGObject* AOwner) : FOwner(AOwner) {}
  ~TPNGList();
  TPNGList(const TPNGList&) = delete;
  TPNGList& operator=(const TPNGList&) = delete;

  int Count() const { return int(FItems.size()); }
  // Null outside 0..Count-1.
  TChunk* Item(int Index) const;
  void Add(TChunk* Chunk) { FItems.push_back(Chunk); }
  // Only below Count; later items move up.
  void Insert(TChunk* Chunk, int Index);
  // Removes the first occurrence and returns it; null when absent.
  TChunk* ItemFromList(TChunk* Chunk);
  void RemoveChunk(TChunk* Chunk) { delete ItemFromList(Chunk); }
  void DeleteChunk(TChunk* Chunk) { RemoveChunk(Chunk); }
  void Clear();
  int IndexOf(const TChunk* Chunk) const;

  template <class T>
  T* FindChunk() const {
    for (TChunk* c : FItems)
      if (auto* t = dynamic_cast<T*>(c)) return t;
    return nullptr;
  }
  // Creates a chunk of class T and puts it where that kind belongs; raises EPngError for
  // chunks that may exist only once or when the image is incomplete.
  template <class T>
  T* InsertChunkOfClass() {
    T* chunk = new T(FOwner);
    try {
      PlaceNewChunk(chunk);
    } catch (...) {
      delete chunk;
      throw;
    }
    return chunk;
  }

 private:
  void PlaceNewChunk(TChunk* Chunk);
  TPNGObject* FOwner;
  std::vector<TChunk*> FItems;
};

class TPNGObject : public TGraphic {
 public:
  TPNGObject();
  ~TPNGObject() override;

  int Width() const override;
  int Height() const override;
  // Raise EPngError: the image is resized only by assigning it from a bitmap.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool Empty() const override { return FChunks.Count() == 0; }
  bool Transparent() const override { return TransparencyKind() != ptkNone; }

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  void CopyPng(TPNGObject* Source);
  // Builds a PNG from a GDI bitmap: a palette image below 16 bits per pixel, RGB otherwise, with
  // a colour key when Transparent.
  void AssignBitmapHandle(HBITMAP Handle, bool Transparent, COLORREF TransparentColor);
  // Through a platform bitmap: the image is drawn on one of its size (transparent parts over
  // white) that puts itself on the clipboard; reading takes a bitmap's pixels, opaque.
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;

  TPNGList& Chunks() { return FChunks; }
  const TPNGList& Chunks() const { return FChunks; }
  TChunkIHDR* HeaderChunk() const;
  bool HasHeaderChunk() const;
  TPngTransparencyKind TransparencyKind() const;
  COLORREF KeyColor() const;
  void FreeChunks();
  // PNG row bytes and bytes per complete pixel (at least 1); zeros without a header.
  void RowLayout(uint32_t& RowBytes, uint32_t& PixelOffset) const;

  TPngFilters Filters() const { return FFilters; }
  void SetFilters(TPngFilters Value) { FFilters = Value; }
  int CompressionLevel() const { return FCompressionLevel; }
  void SetCompressionLevel(int Value) { FCompressionLevel = uint8_t(Value); }
  uint32_t MaxIdatBytes() const { return FMaxIdatBytes; }
  void SetMaxIdatBytes(uint32_t Value);
  uint8_t InterlaceMethod() const { return FInterlaceMethod; }
  void SetInterlaceMethod(uint8_t Value) { FInterlaceMethod = Value; }

  std::array<uint8_t, 256> GammaTable{};
  std::array<uint8_t, 256> InverseGammaTable{};

  uint8_t* RowPointer(int Y);
  uint8_t* AlphaRowPointer(int Y);
  virtual COLORREF ReadPixel(int X, int Y);
  virtual void WritePixel(int X, int Y, COLORREF Value);
  void AddAlphaChannel();
  // A logical palette of the colour table (grey and palette images only, else null), made on
  // first use and kept until the table changes or the image is freed.
  HPALETTE GetPalette();
  // Takes up to 256 entries of the palette into the colour table (grey and palette images).
  void SetPalette(HPALETTE Value);
  void DropPaletteHandle();
  // The image as 32-bit pixels (blue, green, red, alpha), top row first: alpha is 255 but where
  // the image's transparency says otherwise. Converted once and kept until the pixels, the
  // colour table or the transparency change.
  QImage ToImage() const;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // Alpha images are drawn at their own size unless StretchAlpha; the others fill Rect.
  void DrawImage(TCanvas* ACanvas, const TRect& Rect, bool StretchAlpha);

 private:
  // What the 32-bit form is made from, but the pixels themselves (they carry a stamp).
  struct TConversionKey {
    uint64_t PixelStamp = 0;
    TPngTransparencyKind Kind = ptkNone;
    int PaletteCount = -1;
    std::array<TPngRgbQuad, 256> Colors{};
    std::array<uint8_t, 256> Alphas{};
    std::array<uint8_t, 6> Key{};
    bool operator==(const TConversionKey&) const = default;
  };
  TConversionKey ConversionKey() const;
  QImage ConvertImage() const;
  void ResetGamma();
  mutable QImage FConverted;
  mutable TConversionKey FConvertedKey;
  TPngFilters FFilters{fltSub};
  uint8_t FCompressionLevel = 7;
  uint32_t FMaxIdatBytes = 65535;
  uint8_t FInterlaceMethod = 0;
  HPALETTE FPaletteHandle = nullptr;
  TPNGList FChunks{this};
};

// The CRC-32 of PNG chunks, continued from Crc (start with 0xFFFFFFFF, complement at the end).
uint32_t PngUpdateCrc(uint32_t Crc, const uint8_t* Buffer, size_t Size);

// Registers TPNGObject with the class and graphic-class registries (extension "png").
void RegisterPngClasses();

#pragma once
// The skin library's PNG picture: the PNG codec's chunk model, decoder and writer, read so that a
// damaged picture gives what could be read instead of an exception, plus resizing, the pHYs chunk
// and drawing that stretches pictures with alpha too.

#include <string>

#include "controls/PngImage.h"

using TspPngLayer = TChunk;
using TspPngLayerIEND = TChunkIEND;
using TspPngLayerIHDR = TChunkIHDR;
using TspPngLayergAMA = TChunkgAMA;
using TspPngLayerPLTE = TChunkPLTE;
using TspPngLayertRNS = TChunktRNS;
using TspPngLayerIDAT = TChunkIDAT;
using TspPngLayertIME = TChunktIME;
using TspPngLayertEXt = TChunktEXt;
using TspPngLayerzTXt = TChunkzTXt;
using TspPngList = TPNGList;

// Physical pixel size: pixels per unit along x and y, and the unit (1 = metre, 0 = none).
class TspPngLayerpHYs : public TChunk {
 public:
  explicit TspPngLayerpHYs(TPNGObject* AOwner) : TChunk(AOwner) { SetName(ChunkName()); }
  std::string ChunkName() const override { return "pHYs"; }
  TChunk* NewOfSameClass(TPNGObject* AOwner) const override { return new TspPngLayerpHYs(AOwner); }
  void Assign(TChunk* Source) override;
  bool LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) override;
  bool SaveChunk(TStream* Stream) override;

  uint32_t PPUnitX = 0, PPUnitY = 0;
  uint8_t UnitType = 0;
};

class TspPngImage : public TPNGObject {
 public:
  // Never raises: a wrong signature leaves the picture empty; a damaged or cut-off stream keeps
  // the chunks read so far, and the rows decoded before the damage.
  void LoadFromStream(TStream* Stream) override;
  // Nil empties the picture.
  void Assign(TPersistent* Source) override;
  // Resize the picture, keeping the top-left part; new alpha is opaque. Sizes below 1, or a
  // picture without pixels, change nothing.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  COLORREF ReadPixel(int X, int Y) override;
  void WritePixel(int X, int Y, COLORREF Value) override;

  // The header, or null.
  TspPngLayerIHDR* Header() const { return HasHeaderChunk() ? HeaderChunk() : nullptr; }
  // A new chunk of class T where that kind belongs, or null where the codec refuses one (a
  // second header, palette, image data or end; a second gAMA, tRNS or pHYs; no header or end).
  template <class T>
  T* InsertLayerOfClass() {
    if constexpr (std::is_same_v<T, TspPngLayerpHYs>) {
      return InsertPhys();
    } else {
      try {
        return Chunks().InsertChunkOfClass<T>();
      } catch (const Exception&) {
        return nullptr;
      }
    }
  }

 protected:
  // The rectangle is taken with its corners in order and filled, whatever the transparency.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  void Resize(int W, int H);
  TspPngLayerpHYs* InsertPhys();
  bool HasPixels() const;
};

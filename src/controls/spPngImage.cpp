#include "controls/spPngImage.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

uint32_t GetBE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void PutBE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

// The chunk types this picture knows; any other is kept as a plain chunk.
TChunk* CreateLayer(TPNGObject* Owner, const std::string& Name) {
  TChunk* c = Name == "IEND"   ? new TspPngLayerIEND(Owner)
              : Name == "IHDR" ? new TspPngLayerIHDR(Owner)
              : Name == "IDAT" ? new TspPngLayerIDAT(Owner)
              : Name == "PLTE" ? new TspPngLayerPLTE(Owner)
              : Name == "gAMA" ? new TspPngLayergAMA(Owner)
              : Name == "tRNS" ? new TspPngLayertRNS(Owner)
              : Name == "pHYs" ? new TspPngLayerpHYs(Owner)
              : Name == "tIME" ? new TspPngLayertIME(Owner)
              : Name == "tEXt" ? new TspPngLayertEXt(Owner)
              : Name == "zTXt" ? new TspPngLayerzTXt(Owner)
                               : new TspPngLayer(Owner);
  c->SetName(Name);
  return c;
}

}  // namespace

void TspPngLayerpHYs::Assign(TChunk* Source) {
  TChunk::Assign(Source);
  if (auto* s = dynamic_cast<TspPngLayerpHYs*>(Source)) {
    PPUnitX = s->PPUnitX;
    PPUnitY = s->PPUnitY;
    UnitType = s->UnitType;
  }
}

bool TspPngLayerpHYs::LoadChunk(TStream* Stream, const std::string& ChunkType, uint32_t Size) {
  if (!TChunk::LoadChunk(Stream, ChunkType, Size)) return false;
  if (FDataSize == 9) {
    PPUnitX = GetBE32(FData.data());
    PPUnitY = GetBE32(FData.data() + 4);
    UnitType = FData[8];
  }
  return true;
}

bool TspPngLayerpHYs::SaveChunk(TStream* Stream) {
  ResizeData(9);
  PutBE32(FData.data(), PPUnitX);
  PutBE32(FData.data() + 4, PPUnitY);
  FData[8] = UnitType;
  return SaveData(Stream);
}

// ---------------------------------------------------------------------------------------------

void TspPngImage::LoadFromStream(TStream* Stream) {
  FreeChunks();
  uint8_t sig[8];
  if (Stream->Read(sig, 8) != 8 || std::memcmp(sig, kSignature, 8) != 0) {
    Changed(this);
    return;
  }
  bool hasIdat = false;
  std::string name;
  do {
    uint8_t head[8];
    if (Stream->Read(head, 8) != 8) break;
    const uint32_t length = GetBE32(head);
    name.assign(reinterpret_cast<const char*>(head + 4), 4);
    if (Chunks().Count() == 0 && name != "IHDR") {
      FreeChunks();
      break;
    }
    // A length beyond what is left cannot be read.
    if (length > 0x7FFFFFFFu || int64_t(length) + 4 > Stream->Size() - Stream->Position()) break;
    if ((hasIdat && name == "IDAT") || name == "cHRM") {
      Stream->Seek(int64_t(length) + 4, soCurrent);
      continue;
    }
    if (name == "IDAT") hasIdat = true;
    TChunk* layer = CreateLayer(this, name);
    Chunks().Add(layer);
    bool ok;
    try {
      ok = layer->LoadChunk(Stream, name, length);
    } catch (const Exception&) {
      ok = false;
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    if (!ok) break;
  } while (name != "IEND");
  Changed(this);
}

void TspPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    FreeChunks();
    Changed(this);
    return;
  }
  TPNGObject::Assign(Source);
}

bool TspPngImage::HasPixels() const {
  const TspPngLayerIHDR* h = Header();
  return h && h->ImageData();
}

void TspPngImage::SetWidth(int Value) {
  if (HasPixels()) Resize(Value, Height());
}

void TspPngImage::SetHeight(int Value) {
  if (HasPixels()) Resize(Width(), Value);
}

void TspPngImage::Resize(int W, int H) {
  TspPngLayerIHDR* h = HeaderChunk();
  if (W <= 0 || H <= 0 || W > 65535 || H > 65535 || (uint32_t(W) == h->Width && uint32_t(H) == h->Height)) return;
  const uint32_t oldW = h->Width, oldH = h->Height, oldRow = h->BytesPerRow();
  const std::vector<uint8_t> bits(std::as_const(*h).ImageData(), std::as_const(*h).ImageData() + size_t(oldRow) * oldH);
  std::vector<uint8_t> alpha, key = std::as_const(*h).KeyMask();
  if (const uint8_t* a = std::as_const(*h).ImageAlpha()) alpha.assign(a, a + size_t(oldW) * oldH);
  const auto table = h->ColorTable();
  auto rebuild = [&](uint32_t NewW, uint32_t NewH) {
    h->Width = NewW;
    h->Height = NewH;
    h->PrepareImageData();
    h->ColorTable() = table;
    const uint32_t rows = std::min(oldH, NewH), cols = std::min(oldW, NewW);
    const size_t rowBytes = std::min(oldRow, h->BytesPerRow());
    uint8_t* d = h->ImageData();
    for (uint32_t y = 0; y < rows; ++y)
      std::memcpy(d + size_t(h->BytesPerRow()) * (NewH - 1 - y), bits.data() + size_t(oldRow) * (oldH - 1 - y), rowBytes);
    if (uint8_t* a = h->ImageAlpha()) {
      std::memset(a, 255, size_t(NewW) * NewH);
      for (uint32_t y = 0; y < rows; ++y) std::memcpy(a + size_t(NewW) * y, alpha.data() + size_t(oldW) * y, cols);
    }
    if (!key.empty()) {
      std::vector<uint8_t>& k = h->KeyMask();
      k.assign(size_t(NewW) * NewH, 0);
      for (uint32_t y = 0; y < rows; ++y) std::memcpy(k.data() + size_t(NewW) * y, key.data() + size_t(oldW) * y, cols);
    }
  };
  try {
    rebuild(uint32_t(W), uint32_t(H));
  } catch (const Exception&) {
    // Too large to hold: the picture stays as it was.
    rebuild(oldW, oldH);
    return;
  }
  Changed(this);
}

COLORREF TspPngImage::ReadPixel(int X, int Y) { return HasPixels() ? TPNGObject::ReadPixel(X, Y) : 0; }

void TspPngImage::WritePixel(int X, int Y, COLORREF Value) {
  if (HasPixels()) TPNGObject::WritePixel(X, Y, Value);
}

TspPngLayerpHYs* TspPngImage::InsertPhys() {
  if (!HasHeaderChunk() || !Chunks().FindChunk<TspPngLayerIEND>() || Chunks().FindChunk<TspPngLayerpHYs>())
    return nullptr;
  auto* layer = new TspPngLayerpHYs(this);
  Chunks().Insert(layer, Chunks().IndexOf(HeaderChunk()) + 1);
  return layer;
}

void TspPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  const TRect r(std::min(Rect.Left, Rect.Right), std::min(Rect.Top, Rect.Bottom), std::max(Rect.Left, Rect.Right),
                std::max(Rect.Top, Rect.Bottom));
  if (r.IsEmpty()) return;
  DrawImage(ACanvas, r, true);
}

#include "suite/bars/dxBarGlyphCache.h"

#include <QHash>
#include <QImage>
#include <cstring>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/win/Gdi.h"
#include "suite/core/cxGraphics.h"

namespace {

// Everything the rendering depends on besides the source's pixels.
struct TRenderSettings {
  int Width = 0, Height = 0;
  TcxImageDrawMode Mode = ImageDrawNormal;
  bool Smooth = false;
  TColor TransparentColor = clNone;
  // Resolved colours: the transparent one may be a system colour, and the disabled and shadowed
  // looks draw with these two.
  uint32_t TransparentRGB = 0, Highlight = 0, Shadow = 0;
  bool operator==(const TRenderSettings&) const = default;
};

struct TEntry {
  TRenderSettings Settings;
  // Bitmap glyphs: a private copy of the source and its transparency settings.
  QImage Source;
  bool Source32 = false, SourceTransparent = false;
  TColor SourceTransparentColor = clNone;
  // Image-list images.
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  std::vector<uint32_t> Pixels;  // the rendering, as TcxBitmap32::GetColors gives it
};

bool SameBytes(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.format() != b.format()) return false;
  const size_t row = size_t(a.width()) * size_t(a.depth()) / 8;
  for (int y = 0; y < a.height(); ++y)
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), row) != 0) return false;
  return true;
}

size_t HashBytes(const QImage& img, size_t seed) {
  const size_t row = size_t(img.width()) * size_t(img.depth()) / 8;
  for (int y = 0; y < img.height(); ++y) seed = qHashBits(img.constScanLine(y), row, seed);
  return seed;
}

class TGlyphRenderCache {
 public:
  ~TGlyphRenderCache() { Clear(); }

  void Clear() {
    FEntries.clear();
    Prepared.clear();
    FListeners.clear();
  }

  TEntry* FindGlyph(const TRenderSettings& s, TBitmap* Glyph, const QImage& Source, size_t Hash) {
    auto range = FEntries.equal_range(Hash);
    for (auto it = range.first; it != range.second; ++it) {
      TEntry& e = it->second;
      if (!e.Images && e.Settings == s && e.Source32 == (Glyph->PixelFormat() == pf32bit) &&
          e.SourceTransparent == Glyph->Transparent() && e.SourceTransparentColor == Glyph->TransparentColor() &&
          SameBytes(e.Source, Source))
        return &e;
    }
    return nullptr;
  }

  TEntry* FindImage(const TRenderSettings& s, TCustomImageList* Images, int Index, size_t Hash) {
    Listen(Images);
    auto range = FEntries.equal_range(Hash);
    for (auto it = range.first; it != range.second; ++it) {
      TEntry& e = it->second;
      if (e.Images == Images && e.ImageIndex == Index && e.Settings == s) return &e;
    }
    return nullptr;
  }

  void Add(size_t Hash, TEntry Entry) {
    // Glyphs are few; a runaway number of renderings (glyphs made on the fly) starts afresh.
    if (FEntries.size() >= 1024) FEntries.clear();
    FEntries.emplace(Hash, std::move(Entry));
  }

 private:
  // Keeps a change link registered with the list; a list freed since (its link lost its sender)
  // or changed drops every entry of the list.
  void Listen(TCustomImageList* Images) {
    auto it = FListeners.find(Images);
    if (it != FListeners.end() && it->second->Sender() == Images) return;
    Forget(Images);
    auto link = std::make_unique<TChangeLink>();
    link->OnChange = [this, Images](TObject*) { Forget(Images); };
    Images->RegisterChanges(link.get());
    FListeners[Images] = std::move(link);
  }

  void Forget(TCustomImageList* Images) {
    for (auto it = FEntries.begin(); it != FEntries.end();)
      it = it->second.Images == Images ? FEntries.erase(it) : std::next(it);
  }

  std::unordered_multimap<size_t, TEntry> FEntries;
  std::unordered_map<TCustomImageList*, std::unique_ptr<TChangeLink>> FListeners;

 public:
  // Rendered glyphs made ready for blending, found by the rendering's pixels.
  struct TPrepared {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Rendered, Pixels;
  };
  std::unordered_multimap<size_t, TPrepared> Prepared;
};

TGlyphRenderCache*& Cache() {
  static TGlyphRenderCache* c = nullptr;
  return c;
}

int gRenderCount = 0;

size_t SettingsHash(const TRenderSettings& s) {
  size_t h = qHashMulti(0, s.Width, s.Height, int(s.Mode), s.Smooth, uint32_t(s.TransparentColor));
  return qHashMulti(h, s.TransparentRGB, s.Highlight, s.Shadow);
}

}  // namespace

void dxBarRenderGlyphCached(TcxAlphaBitmap* Target, const TRect& R, TBitmap* Glyph, TCustomImageList* Images,
                            int ImageIndex, TcxImageDrawMode Mode, bool Smooth, TColor TransparentColor) {
  auto render = [&] {
    DrawImageInState(Target->Canvas()->Handle(), R, R, Glyph, Images, ImageIndex, Mode, Smooth, nullptr,
                     TransparentColor);
  };
  const bool useGlyph = Glyph && !Glyph->Empty();
  const bool useImage = !useGlyph && Images && ImageIndex >= 0 && ImageIndex < Images->Count();
  // A drawing hook may draw anything, from anything: its results are not ours to keep.
  if (cxCustomDrawImageProc || (!useGlyph && !useImage) || R.Width() <= 0 || R.Height() <= 0) {
    render();
    return;
  }
  TRenderSettings s;
  s.Width = R.Width();
  s.Height = R.Height();
  s.Mode = Mode;
  s.Smooth = Smooth;
  s.TransparentColor = TransparentColor;
  s.TransparentRGB = TransparentColor == clNone ? 0 : uint32_t(ColorToRGB(TransparentColor));
  s.Highlight = uint32_t(ColorToRGB(clBtnHighlight));
  s.Shadow = uint32_t(ColorToRGB(clBtnShadow));
  if (!Cache()) Cache() = new TGlyphRenderCache;
  TGlyphRenderCache& cache = *Cache();
  size_t hash = SettingsHash(s);
  QImage source;
  TEntry* hit;
  if (useGlyph) {
    source = Glyph->ToImage();
    hash = HashBytes(source, hash);
    hit = cache.FindGlyph(s, Glyph, source, hash);
  } else {
    hash = qHashMulti(hash, reinterpret_cast<uintptr_t>(Images), ImageIndex);
    hit = cache.FindImage(s, Images, ImageIndex, hash);
  }
  if (hit) {
    Target->SetColors(hit->Pixels);
    return;
  }
  render();
  ++gRenderCount;
  TEntry e;
  e.Settings = s;
  if (useGlyph) {
    e.Source = source.copy();
    e.Source32 = Glyph->PixelFormat() == pf32bit;
    e.SourceTransparent = Glyph->Transparent();
    e.SourceTransparentColor = Glyph->TransparentColor();
  } else {
    e.Images = Images;
    e.ImageIndex = ImageIndex;
  }
  Target->GetColors(e.Pixels);
  cache.Add(hash, std::move(e));
}

void dxBarPrepareGlyphCached(TcxAlphaBitmap* Rendered, TcxAlphaBitmap* Prepared) {
  const int w = Rendered->Width(), h = Rendered->Height();
  if (Rendered->Empty()) {
    cxPrepareImageForDrawing(Rendered, Prepared);
    return;
  }
  if (!Cache()) Cache() = new TGlyphRenderCache;
  auto& prepared = Cache()->Prepared;
  TGlyphRenderCache::TPrepared e;
  e.Width = w;
  e.Height = h;
  Rendered->GetColors(e.Rendered);
  const size_t hash = qHashBits(e.Rendered.data(), e.Rendered.size() * sizeof(uint32_t), qHashMulti(0, w, h));
  auto range = prepared.equal_range(hash);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second.Width == w && it->second.Height == h && it->second.Rendered == e.Rendered) {
      ResizeAndClearAlphaBitmap(Prepared, w, h);
      Prepared->SetColors(it->second.Pixels);
      return;
    }
  }
  cxPrepareImageForDrawing(Rendered, Prepared);
  Prepared->GetColors(e.Pixels);
  if (prepared.size() >= 1024) prepared.clear();
  prepared.emplace(hash, std::move(e));
}

int dxBarGlyphRenderCount() { return gRenderCount; }

void dxBarClearGlyphRenderCache() {
  delete Cache();
  Cache() = nullptr;
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <QImage>
#include <memory>
#include <utility>

#include "PngFiles.h"
#include "common/TestEnv.h"
#include "controls/PngImage.h"
#include "platform/rtl/Streaming.h"

using namespace pngfiles;

namespace {

std::unique_ptr<TPNGObject> Load(const Bytes& data) {
  TMemoryStream s;
  s.WriteBuffer(data.data(), int64_t(data.size()));
  s.SetPosition(0);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromStream(&s);
  return png;
}

Bytes Save(TPNGObject& png) {
  TMemoryStream s;
  png.SaveToStream(&s);
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return {p, p + s.Size()};
}

// Our decoded image as 0xAARRGGBB, as libpng reads the same file.
std::vector<uint32_t> OurPixels(const TPNGObject& png) {
  QImage img = png.ToImage();
  std::vector<uint32_t> v;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) v.push_back(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]);
  return v;
}

bool PngcheckAccepts(const Bytes& data) {
  auto path = sonalix::test::MakeTempDir("png") / "out.png";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), long(data.size()));
  std::string cmd = "pngcheck -q '" + path.string() + "' >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::string Describe(const TPngShape& s) {
  return "ct" + std::to_string(s.ColorType) + " depth" + std::to_string(s.BitDepth) +
         (s.Interlaced ? " adam7" : "") + (s.Trns ? " trns" : "") + " " + std::to_string(s.Width) +
         "x" + std::to_string(s.Height);
}

std::vector<TPngShape> EveryFormat() {
  const std::pair<int, std::vector<int>> formats[] = {
      {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
  std::vector<TPngShape> shapes;
  unsigned seed = 1;
  for (auto& [ct, depths] : formats)
    for (int depth : depths)
      for (bool interlaced : {false, true})
        for (bool trns : {false, true}) {
          if (trns && ct != 0 && ct != 2 && ct != 3) continue;
          for (auto [w, h] : {std::pair{13, 11}, std::pair{3, 2}}) {
            TPngShape s;
            s.Width = w, s.Height = h, s.ColorType = ct, s.BitDepth = depth;
            s.Interlaced = interlaced, s.Trns = trns, s.Seed = seed++;
            shapes.push_back(s);
          }
        }
  return shapes;
}

int ExpectedDibBits(int ct, int depth) {
  switch (ct) {
    case 0: return depth == 2 ? 4 : depth == 16 ? 8 : depth;
    case 3: return depth == 2 ? 4 : depth;
    case 4: return 8;
    default: return 24;
  }
}

}  // namespace

TEST(PngImage, ReadsEveryFormatAsLibpngDoes) {
  for (const TPngShape& shape : EveryFormat()) {
    SCOPED_TRACE(Describe(shape));
    Bytes file = WritePng(shape, RandomRows(shape));
    TRgbaImage ref = ReadPng(file);
    auto png = Load(file);
    ASSERT_EQ(png->Width(), shape.Width);
    ASSERT_EQ(png->Height(), shape.Height);
    TChunkIHDR* h = png->HeaderChunk();
    EXPECT_EQ(h->BitsPerPixel(), ExpectedDibBits(shape.ColorType, shape.BitDepth));
    EXPECT_EQ(h->ImageAlpha() != nullptr, shape.ColorType == 4 || shape.ColorType == 6);
    EXPECT_EQ(png->InterlaceMethod(), shape.Interlaced ? 1 : 0);
    EXPECT_EQ(OurPixels(*png), ref.Argb);
    for (int y = 0; y < shape.Height; ++y)
      for (int x = 0; x < shape.Width; ++x) {
        uint32_t c = ref.At(x, y);
        ASSERT_EQ(png->ReadPixel(x, y), RGB(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)))
            << x << "," << y;
      }
    TPngTransparencyKind kind =
        shape.ColorType >= 4 ? ptkAlpha : !shape.Trns ? ptkNone
        : shape.ColorType == 3 ? ptkAlpha : ptkColorKey;
    EXPECT_EQ(png->TransparencyKind(), kind);
  }
}

TEST(PngImage, WritesWhatLibpngAndPngcheckAccept) {
  const TPngFilters filterSets[] = {TPngFilters{fltSub}, TPngFilters{},
                                    TPngFilters{fltNone, fltSub, fltUp, fltAverage, fltPaeth},
                                    TPngFilters{fltPaeth}, TPngFilters{fltAverage, fltUp}};
  int n = 0;
  for (const TPngShape& shape : EveryFormat()) {
    SCOPED_TRACE(Describe(shape));
    Bytes file = WritePng(shape, RandomRows(shape));
    TRgbaImage ref = ReadPng(file);
    auto png = Load(file);
    png->SetFilters(filterSets[n % 5]);
    // Every other image changes its interlacing on the way out.
    if (n++ % 2) png->SetInterlaceMethod(shape.Interlaced ? 0 : 1);
    Bytes ours = Save(*png);
    TRgbaImage back = ReadPng(ours);
    EXPECT_EQ(back.Argb, ref.Argb);
    EXPECT_EQ(back.ColorType, shape.ColorType);
    EXPECT_EQ(back.BitDepth, shape.BitDepth == 2 ? 4 : shape.BitDepth);
    EXPECT_EQ(back.Interlace, png->InterlaceMethod());
    EXPECT_TRUE(PngcheckAccepts(ours));
    // And our reader takes our own output back unchanged.
    EXPECT_EQ(OurPixels(*Load(ours)), ref.Argb);
  }
}

namespace {

// One-row-filter (None) image data from rows of raw samples.
Bytes RawImageData(const std::vector<Bytes>& rows) {
  Bytes raw;
  for (const Bytes& r : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), r.begin(), r.end());
  }
  return Deflate(raw);
}

Bytes FileOf(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes f = Signature();
  for (auto& [n, b] : chunks) AddChunk(f, n, b);
  return f;
}

}  // namespace

TEST(PngImage, DrawsOpaqueStretchedKeyedAndBlended) {
  struct TCase {
    const char* Name;
    Bytes File;
    TPngTransparencyKind Kind;
  };
  auto shape = [](int ct, int depth, bool trns, int below = 2) {
    TPngShape s;
    s.Width = 7, s.Height = 5, s.ColorType = ct, s.BitDepth = depth, s.Trns = trns;
    s.PaletteTrnsBelow255 = below;
    return WritePng(s, RandomRows(s));
  };
  // Palette entries 0 and 1 share a colour; only the first is transparent.
  const Bytes twins = {10, 20, 30, 10, 20, 30, 200, 0, 0};
  const std::vector<Bytes> indices = {{0, 1, 2, 1}, {2, 1, 0, 0}};
  // 16-bit keys, and pixels that differ from them in a low byte only.
  const Bytes rgbKey = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
  const Bytes rgbTwin = {0x12, 0xFF, 0x56, 0x78, 0x9A, 0xBC};
  const Bytes other = {0x40, 0, 0x80, 0, 0xC0, 0};
  auto rgbRow = [&](const std::vector<Bytes>& pixels) {
    Bytes r;
    for (const Bytes& p : pixels) r.insert(r.end(), p.begin(), p.end());
    return r;
  };
  const TCase cases[] = {
      {"opaque rgb", shape(2, 8, false), ptkNone},
      {"opaque grey 2-bit", shape(0, 2, false), ptkNone},
      {"palette one entry 0", shape(3, 4, true, 1), ptkColorKey},
      {"grey key", shape(0, 8, true), ptkColorKey},
      {"rgb16 key", shape(2, 16, true), ptkColorKey},
      {"palette two entries below 255", shape(3, 2, true, 2), ptkAlpha},
      {"rgba", shape(6, 8, false), ptkAlpha},
      {"grey alpha 16", shape(4, 16, false), ptkAlpha},
      {"palette key whose colour an opaque entry shares",
       FileOf({{"IHDR", Ihdr(4, 2, 8, 3)}, {"PLTE", twins}, {"tRNS", {0}},
               {"IDAT", RawImageData(indices)}, {"IEND", {}}}),
       ptkColorKey},
      {"palette with one half-transparent entry",
       FileOf({{"IHDR", Ihdr(4, 2, 8, 3)}, {"PLTE", twins}, {"tRNS", {255, 128}},
               {"IDAT", RawImageData(indices)}, {"IEND", {}}}),
       ptkAlpha},
      {"rgb16 key against a pixel equal in its high bytes",
       FileOf({{"IHDR", Ihdr(3, 2, 16, 2)}, {"tRNS", rgbKey},
               {"IDAT", RawImageData({rgbRow({rgbKey, rgbTwin, other}), rgbRow({other, rgbKey, rgbTwin})})},
               {"IEND", {}}}),
       ptkColorKey},
      {"grey16 key against a pixel equal in its high byte",
       FileOf({{"IHDR", Ihdr(3, 2, 16, 0)}, {"tRNS", {0x12, 0x34}},
               {"IDAT", RawImageData({{0x12, 0x34, 0x12, 0x00, 0x80, 0}, {0x12, 0x35, 0x12, 0x34, 0xFF, 0xFF}})},
               {"IEND", {}}}),
       ptkColorKey},
      {"grey16 key with a zero low byte",
       FileOf({{"IHDR", Ihdr(3, 1, 16, 0)}, {"tRNS", {0x12, 0x00}},
               {"IDAT", RawImageData({{0x12, 0x00, 0x12, 0x01, 0x12, 0x00}})}, {"IEND", {}}}),
       ptkColorKey},
  };
  const uint32_t background = 0x336699;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const Bytes& file = c.File;
    TRgbaImage ref = ReadPng(file);
    auto png = Load(file);
    ASSERT_EQ(png->TransparencyKind(), c.Kind);
    EXPECT_EQ(OurPixels(*png), ref.Argb);
    // Written out and read by libpng, the transparency is the same.
    EXPECT_EQ(ReadPng(Save(*png)).Argb, ref.Argb);
    TBitmap bmp;
    bmp.SetSize(30, 20);
    bmp.Canvas()->Brush()->SetColor(TColor(RGB(0x33, 0x66, 0x99)));
    bmp.Canvas()->FillRect(TRect(0, 0, 30, 20));
    const int left = 2, top = 3, w = ref.Width, h = ref.Height;
    bmp.Canvas()->StretchDraw(TRect(left, top, left + 2 * w, top + 2 * h), png.get());
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        uint32_t got = reinterpret_cast<const uint32_t*>(bmp.ScanLine(y))[x] & 0xFFFFFF;
        uint32_t want = background;
        int dx = x - left, dy = y - top;
        if (c.Kind == ptkAlpha) {
          // At the image's own size, blended over the background.
          if (dx >= 0 && dy >= 0 && dx < w && dy < h) {
            uint32_t s = ref.At(dx, dy), a = s >> 24;
            want = 0;
            for (int sh = 0; sh < 24; sh += 8) {
              uint32_t sc = (s >> sh) & 0xFF, dc = (background >> sh) & 0xFF;
              want |= (((a * sc + (255 - a) * dc + 255) >> 8) & 0xFF) << sh;
            }
          }
        } else if (dx >= 0 && dy >= 0 && dx < 2 * w && dy < 2 * h) {
          uint32_t s = ref.At(dx / 2, dy / 2);
          if (c.Kind == ptkNone || (s >> 24) != 0) want = s & 0xFFFFFF;
        }
        ASSERT_EQ(got, want) << x << "," << y;
      }
  }
}

TEST(PngImage, DrawsOnlyWhereTheCanvasShows) {
  // Opaque and blended, partly off the canvas, through a clip and a moved origin.
  for (int ct : {2, 6}) {
    SCOPED_TRACE(ct);
    TPngShape s;
    s.Width = 7, s.Height = 5, s.ColorType = ct, s.BitDepth = 8;
    Bytes file = WritePng(s, RandomRows(s));
    TRgbaImage ref = ReadPng(file);
    auto png = Load(file);
    TBitmap bmp;
    bmp.SetSize(10, 8);
    bmp.Canvas()->Brush()->SetColor(TColor(RGB(0x33, 0x66, 0x99)));
    bmp.Canvas()->FillRect(TRect(0, 0, 10, 8));
    HDC dc = bmp.Canvas()->Handle();
    SetWindowOrgEx(dc, 1, 1, nullptr);  // logical (1, 1) is the bitmap's (0, 0)
    IntersectClipRect(dc, 2, 2, 8, 7);
    // Stretched twice over from (-5, -3) when opaque; at its own size there when blended.
    bmp.Canvas()->StretchDraw(TRect(-5, -3, 9, 7), png.get());
    SetWindowOrgEx(dc, 0, 0, nullptr);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        uint32_t got = reinterpret_cast<const uint32_t*>(bmp.ScanLine(y))[x] & 0xFFFFFF;
        uint32_t want = 0x336699;
        const int lx = x + 1, ly = y + 1, dx = lx + 5, dy = ly + 3;
        const bool clipped = lx >= 2 && lx < 8 && ly >= 2 && ly < 7;
        if (clipped && ct == 2) {
          want = ref.At(dx / 2, dy / 2) & 0xFFFFFF;
        } else if (clipped && dx < 7 && dy < 5) {
          uint32_t src = ref.At(dx, dy), a = src >> 24;
          want = 0;
          for (int sh = 0; sh < 24; sh += 8)
            want |= (((a * ((src >> sh) & 0xFF) + (255 - a) * ((0x336699u >> sh) & 0xFF) + 255) >> 8) & 0xFF) << sh;
        }
        ASSERT_EQ(got, want) << x << "," << y;
      }
  }
}

namespace {

Bytes GreyFile(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes f = Signature();
  for (auto& [n, b] : chunks) AddChunk(f, n, b);
  return f;
}
// 4x2 8-bit grey, rows filtered None.
Bytes GreyRaw() { return {0, 10, 20, 30, 40, 0, 50, 60, 70, 80}; }

}  // namespace

TEST(PngImage, RejectsMalformedStreams) {
  using Check = std::function<bool(const Exception&)>;
  auto is = []<class E>(E*) -> Check { return [](const Exception& e) { return dynamic_cast<const E*>(&e) != nullptr; }; };
  Bytes idat = Deflate(GreyRaw());
  Bytes ihdr = Ihdr(4, 2, 8, 0);
  auto corrupt = [](Bytes f, size_t at) { f[at] ^= 0x40; return f; };
  Bytes good = GreyFile({{"IHDR", ihdr}, {"IDAT", idat}, {"IEND", {}}});
  Bytes hugeLength = Signature();
  PutBE32(hugeLength, 0x80000000u);
  hugeLength.insert(hugeLength.end(), {'I', 'H', 'D', 'R'});
  Bytes pastEnd = Signature();
  PutBE32(pastEnd, 1000);
  pastEnd.insert(pastEnd.end(), {'I', 'H', 'D', 'R', 0, 0, 0, 1});
  Bytes split1(idat.begin(), idat.begin() + 4), split2(idat.begin() + 4, idat.end());
  Bytes badZlib = idat;
  badZlib[2] = 0xFF;  // an invalid block type
  Bytes bigIdatLength = GreyFile({{"IHDR", ihdr}});
  PutBE32(bigIdatLength, 0xFFFFFFF0u);
  bigIdatLength.insert(bigIdatLength.end(), {'I', 'D', 'A', 'T', 1, 2, 3});

  struct TCase {
    const char* Name;
    Bytes File;
    Check Is;
  };
  const TCase cases[] = {
      {"signature", corrupt(good, 1), is((EPNGInvalidFileHeader*)nullptr)},
      {"nothing after the signature", Signature(), is((EPngUnexpectedEnd*)nullptr)},
      {"truncated in a chunk", Bytes(good.begin(), good.end() - 20), is((EPngUnexpectedEnd*)nullptr)},
      {"gAMA first", GreyFile({{"gAMA", {0, 0, 0xB1, 0x8F}}, {"IHDR", ihdr}, {"IDAT", idat}, {"IEND", {}}}), is((EPNGIHDRNotFirst*)nullptr)},
      {"unknown critical", GreyFile({{"IHDR", ihdr}, {"ABCD", {1}}, {"IDAT", idat}, {"IEND", {}}}), is((EPNGUnknownCriticalChunk*)nullptr)},
      {"no image data", GreyFile({{"IHDR", ihdr}, {"IEND", {}}}), is((EPNGNoImageData*)nullptr)},
      {"header crc", corrupt(good, 8 + 8 + 3), is((EPngInvalidCRC*)nullptr)},
      {"image data crc", corrupt(good, good.size() - 12 - 2), is((EPngInvalidCRC*)nullptr)},
      {"short header", GreyFile({{"IHDR", Bytes(ihdr.begin(), ihdr.end() - 1)}, {"IEND", {}}}), is((EPngInvalidIHDR*)nullptr)},
      {"width 65536", GreyFile({{"IHDR", Ihdr(65536, 1, 8, 0)}, {"IDAT", idat}, {"IEND", {}}}), is((EPNGSizeExceeds*)nullptr)},
      {"zero width", GreyFile({{"IHDR", Ihdr(0, 2, 8, 0)}, {"IDAT", idat}, {"IEND", {}}}), is((EPngInvalidIHDR*)nullptr)},
      {"zero height", GreyFile({{"IHDR", Ihdr(4, 0, 8, 0)}, {"IDAT", idat}, {"IEND", {}}}), is((EPngInvalidIHDR*)nullptr)},
      {"rgb at 4 bits", GreyFile({{"IHDR", Ihdr(4, 2, 4, 2)}, {"IDAT", idat}, {"IEND", {}}}), is((EPngInvalidIHDR*)nullptr)},
      {"colour type 5", GreyFile({{"IHDR", Ihdr(4, 2, 8, 5)}, {"IDAT", idat}, {"IEND", {}}}), is((EPngInvalidIHDR*)nullptr)},
      {"compression 1", GreyFile({{"IHDR", [&] { Bytes b = ihdr; b[10] = 1; return b; }()}, {"IEND", {}}}), is((EPNGUnknownCompression*)nullptr)},
      {"interlace 2", GreyFile({{"IHDR", Ihdr(4, 2, 8, 0, 2)}, {"IEND", {}}}), is((EPNGUnknownInterlace*)nullptr)},
      {"palette of 7 bytes", GreyFile({{"IHDR", Ihdr(4, 2, 8, 3)}, {"PLTE", Bytes(7)}, {"IEND", {}}}), is((EPNGInvalidPalette*)nullptr)},
      {"palette of 257 entries", GreyFile({{"IHDR", Ihdr(4, 2, 8, 3)}, {"PLTE", Bytes(771)}, {"IEND", {}}}), is((EPNGInvalidPalette*)nullptr)},
      {"tRNS of 257 bytes", GreyFile({{"IHDR", Ihdr(4, 2, 8, 3)}, {"PLTE", Bytes(768)}, {"tRNS", Bytes(257)}, {"IEND", {}}}), is((EPNGInvalidPalette*)nullptr)},
      {"length above 2^31-1", hugeLength, is((EPngUnexpectedEnd*)nullptr)},
      {"length past the end", pastEnd, is((EPngUnexpectedEnd*)nullptr)},
      {"image data length past the end", bigIdatLength, is((EPngUnexpectedEnd*)nullptr)},
      {"ancillary chunk inside the image data", GreyFile({{"IHDR", ihdr}, {"IDAT", split1}, {"tEXt", {'a', 0, 'b'}}, {"IDAT", split2}, {"IEND", {}}}), is((EPNGMissingMultipleIDAT*)nullptr)},
      {"bad compressed data", GreyFile({{"IHDR", ihdr}, {"IDAT", badZlib}, {"IEND", {}}}),
       [](const Exception& e) {
         return dynamic_cast<const EPNGZLIBError*>(&e) &&
                e.Message() == "Could not decompress the image because it contains invalid "
                               "compressed data.\r\n Description: data error (-3)";
       }},
      {"image data that needs a preset dictionary",
       GreyFile({{"IHDR", ihdr}, {"IDAT", DeflateWithDictionary(GreyRaw(), "dictionary")}, {"IEND", {}}}),
       [](const Exception& e) {
         return dynamic_cast<const EPNGZLIBError*>(&e) &&
                e.Message() == "Could not decompress the image because it contains invalid "
                               "compressed data.\r\n Description: need dictionary (2)";
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMemoryStream s;
    s.WriteBuffer(c.File.data(), int64_t(c.File.size()));
    s.SetPosition(0);
    TPNGObject png;
    try {
      png.LoadFromStream(&s);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_TRUE(c.Is(e)) << e.Message();
    }
    // What a failed read leaves (chunks read so far, maybe a header without pixels) stays usable.
    if (png.HasHeaderChunk()) {
      EXPECT_FALSE(png.Empty());
      png.ReadPixel(0, 0);
      png.WritePixel(0, 0, 0xFFFFFF);
      png.ToImage();
      Save(png);
      TBitmap bmp;
      bmp.SetSize(4, 4);
      bmp.Canvas()->Draw(0, 0, &png);
    }
  }
  // Width 65535 is within bounds.
  Bytes wide = GreyFile({{"IHDR", Ihdr(65535, 1, 1, 0)}, {"IDAT", Deflate(Bytes(8193))}, {"IEND", {}}});
  EXPECT_EQ(Load(wide)->Width(), 65535);
}

TEST(PngImage, ChunksAreKeptSkippedAndWrittenBack) {
  Bytes raw = GreyRaw();
  raw[5] = 9;  // an unknown filter type: the row stays as read
  Bytes idat = Deflate(raw);
  Bytes a(idat.begin(), idat.begin() + 3), b(idat.begin() + 3, idat.end() - 2), c(idat.end() - 2, idat.end());
  Bytes ztxt = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
  Bytes packedText = Deflate(Bytes{'h', 'e', 'l', 'l', 'o'});
  ztxt.insert(ztxt.end(), packedText.begin(), packedText.end());
  Bytes file = GreyFile({{"IHDR", Ihdr(4, 2, 8, 0)},
                         {"cHRM", Bytes(32)},
                         {"tEXt", {'K', 'e', 'y', 'w', 'o', 'r', 'd'}},
                         {"zTXt", ztxt},
                         {"tIME", {0x07, 0xD8, 5, 6, 7, 8, 9}},
                         {"prIv", {1, 2, 3}},
                         {"IDAT", a}, {"IDAT", b}, {"IDAT", c},
                         {"IDAT", Deflate(Bytes(10))},  // after the image: skipped
                         {"IEND", {}}});
  auto png = Load(file);
  // Compressed texts that cannot be read are left empty, and the image still loads: one that
  // inflates beyond 16 MiB, and one that needs a preset dictionary.
  const std::pair<const char*, Bytes> unreadable[] = {
      {"bomb", Deflate(Bytes(size_t(17) << 20), 9)},
      {"dictionary", DeflateWithDictionary({'h', 'e', 'l', 'l', 'o'}, "hello world")}};
  for (auto& [keyword, packed] : unreadable) {
    SCOPED_TRACE(keyword);
    Bytes body(keyword, keyword + std::strlen(keyword));
    body.insert(body.end(), {0, 0});
    body.insert(body.end(), packed.begin(), packed.end());
    Bytes withText = GreyFile({{"IHDR", Ihdr(4, 2, 8, 0)}, {"zTXt", body}, {"IDAT", Deflate(GreyRaw())}, {"IEND", {}}});
    auto read = Load(withText);
    EXPECT_EQ(read->Chunks().FindChunk<TChunkzTXt>()->Keyword, keyword);
    EXPECT_EQ(read->Chunks().FindChunk<TChunkzTXt>()->Text, "");
    EXPECT_EQ(read->ReadPixel(3, 1), RGB(80, 80, 80));
  }
  std::vector<std::string> names;
  for (int i = 0; i < png->Chunks().Count(); ++i) names.push_back(png->Chunks().Item(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "tEXt", "zTXt", "tIME", "prIv", "IDAT", "IEND"}));
  EXPECT_EQ(png->Chunks().Item(8), nullptr);
  auto* text = png->Chunks().FindChunk<TChunktEXt>();
  EXPECT_EQ(text->Keyword, "Keyword");
  EXPECT_EQ(text->Text, "");
  auto* z = png->Chunks().FindChunk<TChunkzTXt>();
  EXPECT_EQ(z->Keyword, "Comment");
  EXPECT_EQ(z->Text, "hello");
  EXPECT_EQ(png->Chunks().FindChunk<TChunktIME>()->Year, 2008);
  const uint32_t want[] = {10, 20, 30, 40, 50, 60, 70, 80};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(png->ReadPixel(i % 4, i / 4), RGB(want[i], want[i], want[i]));

  Bytes out = Save(*png);
  EXPECT_TRUE(PngcheckAccepts(out));
  auto chunks = ChunksOf(out);
  std::vector<std::string> outNames;
  for (auto& ch : chunks) outNames.push_back(ch.Name);
  EXPECT_EQ(outNames, (std::vector<std::string>{"IHDR", "tEXt", "zTXt", "tIME", "prIv", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[3].Body, (Bytes{0x07, 0xD8, 5, 6, 7, 8, 9}));
  EXPECT_EQ(chunks[4].Body, (Bytes{1, 2, 3}));
  auto back = Load(out);
  EXPECT_EQ(back->Chunks().FindChunk<TChunkzTXt>()->Text, "hello");
  EXPECT_EQ(back->Chunks().FindChunk<TChunktEXt>()->Keyword, "Keyword");
  EXPECT_EQ(OurPixels(*back), OurPixels(*png));
}

TEST(PngImage, GammaTables) {
  struct TCase {
    uint32_t Gamma;
    std::vector<std::pair<int, int>> Map;
  };
  const TCase cases[] = {{45455, {{0, 0}, {64, 64}, {128, 128}, {255, 255}}},
                         {100000, {{0, 0}, {64, 136}, {128, 186}, {255, 255}}},
                         {0, {{64, 64}, {128, 128}}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Gamma);
    Bytes g;
    PutBE32(g, c.Gamma);
    auto png = Load(GreyFile({{"IHDR", Ihdr(4, 2, 8, 0)}, {"gAMA", g}, {"IDAT", Deflate(GreyRaw())}, {"IEND", {}}}));
    for (auto [in, out] : c.Map) EXPECT_EQ(png->GammaTable[in], out) << in;
    if (c.Gamma == 100000) {
      EXPECT_EQ(png->InverseGammaTable[136], 64);
      // The grey table carries the gamma: level 60 shows through it.
      EXPECT_EQ(png->ReadPixel(1, 1), RGB(png->GammaTable[60], png->GammaTable[60], png->GammaTable[60]));
    }
  }
}

TEST(PngImage, EncoderFiltersAndImageDataChunks) {
  // Noise does not compress, so the image data is about as large as the rows.
  TPngShape s;
  s.Width = 400, s.Height = 250, s.ColorType = 2, s.BitDepth = 8, s.Seed = 9;
  auto rows = RandomRows(s);
  auto png = Load(WritePng(s, rows));
  png->SetMaxIdatBytes(1000);
  EXPECT_EQ(png->MaxIdatBytes(), 65535u);
  struct TCase {
    TPngFilters Filters;
    int Type;  // every row's filter type; -1: only rows equal to the one above, which Up wins
  };
  const TCase cases[] = {{TPngFilters{fltSub}, 1}, {TPngFilters{}, 0}, {TPngFilters{fltNone}, 0},
                         {TPngFilters{fltPaeth}, 4}, {TPngFilters{fltSub, fltUp}, -1}};
  for (const TCase& c : cases) {
    png->SetFilters(c.Filters);
    Bytes out = Save(*png);
    Bytes data;
    std::vector<size_t> sizes;
    for (auto& ch : ChunksOf(out))
      if (ch.Name == "IDAT") {
        sizes.push_back(ch.Body.size());
        data.insert(data.end(), ch.Body.begin(), ch.Body.end());
      }
    ASSERT_GE(sizes.size(), 3u);
    for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 65535u);
    EXPECT_LE(sizes.back(), 65535u);
    uLongf rawSize = uLongf(s.Height) * (s.Width * 3 + 1);
    Bytes raw(rawSize);
    ASSERT_EQ(uncompress(raw.data(), &rawSize, data.data(), uLong(data.size())), Z_OK);
    for (int y = 0; y < s.Height; ++y) {
      uint8_t type = raw[size_t(y) * (s.Width * 3 + 1)];
      if (c.Type >= 0) EXPECT_EQ(type, c.Type) << y;
      else if (y % 3 == 1) EXPECT_EQ(type, 2) << y;
    }
    EXPECT_EQ(ReadPng(out).Argb, ReadPng(WritePng(s, rows)).Argb);
  }
}

TEST(PngImage, ModelOperations) {
  TPngShape s;
  s.Width = 5, s.Height = 4, s.ColorType = 2, s.BitDepth = 8;
  auto png = Load(WritePng(s, RandomRows(s)));
  EXPECT_THROW(png->SetWidth(3), EPngError);
  EXPECT_THROW(png->SetHeight(3), EPngError);
  EXPECT_EQ(png->ReadPixel(5, 0), 0u);
  EXPECT_EQ(png->ReadPixel(-1, 0), 0u);
  QImage before = png->ToImage();
  png->WritePixel(5, 0, 0xFFFFFF);
  png->WritePixel(0, 4, 0xFFFFFF);
  EXPECT_EQ(png->ToImage(), before);
  png->WritePixel(2, 1, RGB(1, 2, 3));
  EXPECT_EQ(png->ReadPixel(2, 1), RGB(1, 2, 3));

  auto* gamma = png->Chunks().InsertChunkOfClass<TChunkgAMA>();
  EXPECT_EQ(png->Chunks().IndexOf(gamma), 1);
  EXPECT_THROW(png->Chunks().InsertChunkOfClass<TChunkgAMA>(), EPngError);
  EXPECT_THROW(png->Chunks().InsertChunkOfClass<TChunkIDAT>(), EPngError);
  auto* trns = png->Chunks().InsertChunkOfClass<TChunktRNS>();
  EXPECT_EQ(png->Chunks().IndexOf(trns) + 1, png->Chunks().IndexOf(png->Chunks().FindChunk<TChunkIDAT>()));
  png->Chunks().DeleteChunk(trns);
  EXPECT_EQ(png->Chunks().FindChunk<TChunktRNS>(), nullptr);

  png->AddAlphaChannel();
  EXPECT_EQ(png->HeaderChunk()->ColorType, 6);
  EXPECT_EQ(png->TransparencyKind(), ptkAlpha);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(png->AlphaRowPointer(y)[x], 255);
  EXPECT_EQ(png->ReadPixel(2, 1), RGB(1, 2, 3));
  png->AlphaRowPointer(1)[2] = 128;
  TRgbaImage back = ReadPng(Save(*png));
  EXPECT_EQ(back.ColorType, 6);
  EXPECT_EQ(back.At(2, 1), 0x80010203u);

  // A palette image gains a fully opaque tRNS.
  TPngShape p;
  p.ColorType = 3, p.BitDepth = 4;
  auto pal = Load(WritePng(p, RandomRows(p)));
  pal->AddAlphaChannel();
  auto* t = pal->Chunks().FindChunk<TChunktRNS>();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->DataSize(), 16u);
  EXPECT_EQ(pal->TransparencyKind(), ptkAlpha);

  TPNGObject empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_THROW(empty.HeaderChunk(), EPNGHeaderNotPresent);
  EXPECT_THROW(empty.ReadPixel(0, 0), EPNGHeaderNotPresent);
  EXPECT_THROW(empty.AddAlphaChannel(), EPNGHeaderNotPresent);
  EXPECT_THROW(empty.Chunks().InsertChunkOfClass<TChunkgAMA>(), EPngError);
}

TEST(PngImage, BitmapsPicturesAndCopies) {
  TBitmap bmp;
  bmp.SetSize(6, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) bmp.Canvas()->SetPixel(x, y, TColor(RGB(uint8_t(x * 40), uint8_t(y * 80), 7)));
  TPNGObject png;
  bmp.SetTransparentColor(TColor(RGB(40, 80, 7)));
  bmp.SetTransparent(true);
  png.Assign(&bmp);
  EXPECT_EQ(png.Width(), 6);
  EXPECT_EQ(png.TransparencyKind(), ptkColorKey);
  EXPECT_EQ(png.KeyColor(), RGB(40, 80, 7));
  TRgbaImage read = ReadPng(Save(png));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      uint32_t rgb = (uint32_t(x * 40) << 16) | (uint32_t(y * 80) << 8) | 7;
      EXPECT_EQ(read.At(x, y), ((x == 1 && y == 1) ? 0u : 0xFF000000u) | rgb) << x << "," << y;
    }

  TBitmap out;
  png.AssignTo(&out);
  EXPECT_EQ(out.Width(), 6);
  EXPECT_TRUE(out.Transparent());
  EXPECT_EQ(out.Canvas()->Pixel(5, 2), TColor(RGB(200, 160, 7)));

  // A monochrome GDI bitmap becomes a 1-bit palette image.
  const uint8_t mono[] = {0xF0, 0, 0x0F, 0};
  HBITMAP handle = CreateBitmap(8, 2, 1, 1, mono);
  TPNGObject fromMono;
  fromMono.AssignBitmapHandle(handle, false, 0);
  DeleteObject(handle);
  EXPECT_EQ(fromMono.HeaderChunk()->ColorType, 3);
  EXPECT_EQ(fromMono.HeaderChunk()->BitDepth, 1);
  EXPECT_EQ(fromMono.Chunks().FindChunk<TChunkPLTE>()->Count(), 2);
  TRgbaImage mono1 = ReadPng(Save(fromMono));
  EXPECT_EQ(mono1.BitDepth, 1);
  const uint32_t white = 0xFFFFFFFF, black = 0xFF000000;
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(mono1.At(x, 0), x < 4 ? white : black) << x;
    EXPECT_EQ(mono1.At(x, 1), x < 4 ? black : white) << x;
  }

  TPNGObject copy;
  copy.Assign(&png);
  EXPECT_EQ(OurPixels(copy), OurPixels(png));
  EXPECT_EQ(Save(copy), Save(png));

  RegisterPngClasses();
  EXPECT_NE(FindGraphicClass("TPNGObject"), nullptr);
  auto file = sonalix::test::MakeTempDir("pic") / "image.png";
  png.SaveToFile(file.string());
  TPicture picture;
  picture.LoadFromFile(file.string());
  ASSERT_NE(dynamic_cast<TPNGObject*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 6);
}

TEST(PngImage, FilterChoiceTies) {
  // One grey row, filtered with a choice of Sub and Up (above is all zeros on the first row).
  struct TCase {
    const char* Name;
    Bytes Row;
    int Type;
  };
  const TCase cases[] = {{"both outputs all different", {0, 1, 4, 9, 16, 25, 36, 49, 64, 81}, 0},
                         {"equal scores", Bytes(10, 7), 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPngShape s;
    s.Width = 10, s.Height = 1, s.ColorType = 0, s.BitDepth = 8;
    auto png = Load(WritePng(s, {c.Row}));
    png->SetFilters(TPngFilters{fltSub, fltUp});
    Bytes data;
    for (auto& ch : ChunksOf(Save(*png)))
      if (ch.Name == "IDAT") data.insert(data.end(), ch.Body.begin(), ch.Body.end());
    Bytes raw(11);
    uLongf size = 11;
    ASSERT_EQ(uncompress(raw.data(), &size, data.data(), uLong(data.size())), Z_OK);
    EXPECT_EQ(raw[0], c.Type);
  }
}

TEST(PngImage, ConvertsOnceUntilThePixelsChange) {
  TPngShape s;
  s.Width = 6, s.Height = 4, s.ColorType = 3, s.BitDepth = 8, s.Trns = true;
  auto png = Load(WritePng(s, RandomRows(s)));
  const qint64 first = png->ToImage().cacheKey();
  TBitmap bmp;
  bmp.SetSize(8, 8);
  bmp.Canvas()->Draw(0, 0, png.get());
  bmp.Canvas()->Draw(1, 1, png.get());
  EXPECT_EQ(png->ToImage().cacheKey(), first) << "converted again with nothing changed";

  // Every kind of change shows in the next conversion: compared with a fresh copy's.
  struct TCase {
    const char* Name;
    std::function<void(TPNGObject&)> Change;
  };
  const TCase cases[] = {
      {"pixel written", [](TPNGObject& p) { p.WritePixel(1, 1, RGB(255, 255, 255)); }},
      {"row written in place", [](TPNGObject& p) { p.RowPointer(2)[3] ^= 1; }},
      {"image data written in place",
       [](TPNGObject& p) { p.HeaderChunk()->ImageData()[0] ^= 1; }},
      {"colour table",
       [](TPNGObject& p) {
         for (TPngRgbQuad& q : p.HeaderChunk()->ColorTable()) q.Red ^= 0x80;
       }},
      {"palette alphas",
       [](TPNGObject& p) {
         for (uint8_t& a : p.Chunks().FindChunk<TChunktRNS>()->PaletteValues) a ^= 0x55;
       }},
      {"transparency removed",
       [](TPNGObject& p) { p.Chunks().DeleteChunk(p.Chunks().FindChunk<TChunktRNS>()); }},
      {"another image read", [&](TPNGObject& p) {
         TPngShape t = s;
         t.Seed = 77;
         Bytes other = WritePng(t, RandomRows(t));
         TMemoryStream in;
         in.WriteBuffer(other.data(), int64_t(other.size()));
         in.SetPosition(0);
         p.LoadFromStream(&in);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    QImage before = png->ToImage();
    c.Change(*png);
    TPNGObject fresh;
    fresh.Assign(png.get());
    QImage after = png->ToImage();
    EXPECT_NE(after, before);
    EXPECT_EQ(after, fresh.ToImage());
  }
}

TEST(PngImage, RefusesImagesBeyondThePixelAndMemoryBudget) {
  // A valid header and the start of the image data: what decides is the header.
  struct TCase {
    const char* Name;
    uint32_t Width, Height;
    int Depth, ColorType;
    bool Refused;
  };
  const TCase cases[] = {
      {"widest and tallest", 65535, 65535, 1, 0, true},
      {"one row over the pixel budget", 8192, 8193, 1, 0, true},
      {"at the pixel budget, one bit per pixel", 8192, 8192, 1, 0, false},
      {"under the pixel budget, over the memory budget with alpha", 7200, 7200, 8, 6, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Bytes file = FileOf({{"IHDR", Ihdr(c.Width, c.Height, c.Depth, c.ColorType)},
                         {"IDAT", Deflate(Bytes(64))}, {"IEND", {}}});
    TMemoryStream in;
    in.WriteBuffer(file.data(), int64_t(file.size()));
    in.SetPosition(0);
    TPNGObject png;
    if (!c.Refused) {
      png.LoadFromStream(&in);
      EXPECT_EQ(png.Width(), int(c.Width));
      continue;
    }
    try {
      png.LoadFromStream(&in);
      ADD_FAILURE() << "loaded";
    } catch (const EPNGSizeExceeds& e) {
      EXPECT_EQ(e.Message(),
                "This \"Portable Network Graphics\" image is not supported because either it's "
                "width or height exceeds the maximum size, which is 65535 pixels length.");
    }
    // Refused before anything was allocated for its pixels.
    ASSERT_TRUE(png.HasHeaderChunk());
    EXPECT_EQ(png.HeaderChunk()->ImageData(), nullptr);
  }
}

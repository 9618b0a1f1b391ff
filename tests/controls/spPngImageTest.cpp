// The skin library's PNG picture and image list: damaged files read as far as they go, pHYs kept,
// resizing, streaming in a form description and disabled drawing at half opacity.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <random>

#include "PngFiles.h"
#include "controls/spPngImageList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"

using namespace pngfiles;

namespace {

std::unique_ptr<TspPngImage> Load(const Bytes& data) {
  TMemoryStream s;
  if (!data.empty()) s.WriteBuffer(data.data(), int64_t(data.size()));
  s.SetPosition(0);
  auto png = std::make_unique<TspPngImage>();
  png->LoadFromStream(&s);
  return png;
}

Bytes Save(TspPngImage& png) {
  TMemoryStream s;
  png.SaveToStream(&s);
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return {p, p + s.Size()};
}

// A 64 x 64 RGB picture of noise whose image data is split over three IDAT chunks.
struct TSplitPng {
  static constexpr int W = 64, H = 64;
  std::vector<Bytes> Rows;
  Bytes File;
  size_t FirstIdatCrc = 0;  // offset of the first IDAT's CRC
  size_t AfterLastIdat = 0;

  TSplitPng() {
    std::mt19937 rng(7);
    Rows.assign(H, Bytes(W * 3));
    Bytes raw;
    for (auto& r : Rows) {
      for (auto& b : r) b = uint8_t(rng());
      raw.push_back(0);
      raw.insert(raw.end(), r.begin(), r.end());
    }
    Bytes z = Deflate(raw);
    File = Signature();
    AddChunk(File, "IHDR", Ihdr(W, H, 8, 2));
    const size_t part = z.size() / 3 + 1;
    for (size_t at = 0; at < z.size(); at += part) {
      AddChunk(File, "IDAT", Bytes(z.begin() + at, z.begin() + std::min(z.size(), at + part)));
      if (at == 0) FirstIdatCrc = File.size() - 4;
    }
    AfterLastIdat = File.size();
    AddChunk(File, "IEND", {});
  }

  // Rows of the picture read as the source has them, from the top.
  int RowsMatching(TspPngImage& png) const {
    int y = 0;
    for (; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const uint8_t* p = Rows[size_t(y)].data() + x * 3;
        if (png.ReadPixel(x, y) != RGB(p[0], p[1], p[2])) return y;
      }
    return y;
  }
};

TEST(SpPngImage, DamagedStreamsGiveWhatCouldBeReadWithoutException) {
  const TSplitPng src;
  struct TCase {
    const char* Name;
    Bytes File;
    int Layers;  // -1: not checked
    bool PartRows;
  };
  Bytes badCrc = src.File;
  badCrc[src.FirstIdatCrc] ^= 0x55;
  Bytes cut(src.File.begin(), src.File.begin() + src.AfterLastIdat);
  Bytes badSignature = src.File;
  badSignature[1] = 'X';
  Bytes notFirst = Signature();
  AddChunk(notFirst, "gAMA", {0, 0, 0xB1, 0x8F});
  notFirst.insert(notFirst.end(), src.File.begin() + 8, src.File.end());
  Bytes longChunk(src.File.begin(), src.File.begin() + src.AfterLastIdat);
  PutBE32(longChunk, 1000);
  longChunk.insert(longChunk.end(), {'t', 'E', 'X', 't', 'a', 0, 'b'});
  Bytes upperUnknown = src.File;
  Bytes tail = Bytes(upperUnknown.begin() + src.AfterLastIdat, upperUnknown.end());
  upperUnknown.resize(src.AfterLastIdat);
  AddChunk(upperUnknown, "QQQQ", {1, 2, 3});
  upperUnknown.insert(upperUnknown.end(), tail.begin(), tail.end());
  const TCase cases[] = {
      {"first IDAT's CRC wrong", badCrc, 2, true},
      {"cut after the last IDAT", cut, 2, false},
      {"length beyond the end", longChunk, 2, false},
      {"unknown critical chunk kept", upperUnknown, 4, false},
      {"wrong signature", badSignature, 0, false},
      {"IHDR not first", notFirst, 0, false},
      {"nothing at all", {}, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TspPngImage> png;
    ASSERT_NO_THROW(png = Load(c.File));
    EXPECT_EQ(png->Chunks().Count(), c.Layers);
    if (c.Layers == 0) {
      EXPECT_TRUE(png->Empty());
      EXPECT_EQ(png->Header(), nullptr);
      continue;
    }
    const int rows = src.RowsMatching(*png);
    if (c.PartRows) {
      // The rows inflated from the first chunk are there; the rest stay zero.
      EXPECT_GT(rows, 5);
      EXPECT_LT(rows, TSplitPng::H / 2);
      EXPECT_EQ(png->ReadPixel(TSplitPng::W - 1, TSplitPng::H - 1), 0u);
      EXPECT_EQ(png->ReadPixel(0, TSplitPng::H - 1), 0u);
    } else {
      EXPECT_EQ(rows, TSplitPng::H);
    }
  }
}

TEST(SpPngImage, PhysicalSizeIsKeptAndWrittenBack) {
  Bytes file = Signature();
  AddChunk(file, "IHDR", Ihdr(2, 2, 8, 2));
  Bytes phys;
  PutBE32(phys, 3780);
  PutBE32(phys, 0x80000001u);
  phys.push_back(1);
  AddChunk(file, "pHYs", phys);
  AddChunk(file, "IDAT", Deflate(Bytes(2 * 7, 0x40)));
  AddChunk(file, "IEND", {});
  auto png = Load(file);
  auto* layer = png->Chunks().FindChunk<TspPngLayerpHYs>();
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->PPUnitX, 3780u);
  EXPECT_EQ(layer->PPUnitY, 0x80000001u);
  EXPECT_EQ(layer->UnitType, 1);
  EXPECT_EQ(png->InsertLayerOfClass<TspPngLayerpHYs>(), nullptr) << "one pHYs at most";

  // Written, read by libpng, and copied with the picture.
  const Bytes saved = Save(*png);
  png_image check{};
  check.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&check, saved.data(), saved.size()));
  png_image_free(&check);
  TspPngImage copy;
  copy.Assign(png.get());
  auto reread = Load(Save(copy));
  auto* back = reread->Chunks().FindChunk<TspPngLayerpHYs>();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->PPUnitX, 3780u);
  EXPECT_EQ(back->PPUnitY, 0x80000001u);
  EXPECT_EQ(back->UnitType, 1);
  EXPECT_EQ(reread->Chunks().IndexOf(back), 1);

  // A new one goes right after the header.
  auto plain = Load(Save(*Load([] {
    Bytes f = Signature();
    AddChunk(f, "IHDR", Ihdr(1, 1, 8, 0));
    AddChunk(f, "IDAT", Deflate(Bytes(2, 0)));
    AddChunk(f, "IEND", {});
    return f;
  }())));
  TspPngLayerpHYs* added = plain->InsertLayerOfClass<TspPngLayerpHYs>();
  ASSERT_TRUE(added);
  EXPECT_EQ(plain->Chunks().IndexOf(added), 1);
  EXPECT_EQ(plain->InsertLayerOfClass<TspPngLayerIDAT>(), nullptr);
}

// A 24 x 24 RGBA picture whose pixel (x, y) has colour (x, y, 7) and alpha 10 * x + y.
std::unique_ptr<TspPngImage> Gradient() {
  TPngShape shape;
  shape.Width = shape.Height = 24;
  shape.ColorType = 6;
  std::vector<Bytes> rows(24, Bytes(24 * 4));
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      uint8_t* p = rows[size_t(y)].data() + x * 4;
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 7, p[3] = uint8_t(10 * x + y);
    }
  return Load(WritePng(shape, rows));
}

TEST(SpPngImage, ResizingKeepsTheTopLeftAndMakesNewAlphaOpaque) {
  auto png = Gradient();
  png->SetWidth(48);
  ASSERT_EQ(png->Width(), 48);
  png->SetHeight(30);
  ASSERT_EQ(png->Height(), 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 48; ++x) {
      const uint8_t a = png->AlphaRowPointer(y)[x];
      if (x < 24 && y < 24) {
        ASSERT_EQ(png->ReadPixel(x, y), RGB(x, y, 7)) << x << "," << y;
        ASSERT_EQ(a, 10 * x + y);
      } else {
        ASSERT_EQ(a, 255) << x << "," << y;
      }
    }
  // Written and read back by libpng at the new size.
  const TRgbaImage back = ReadPng(Save(*png));
  EXPECT_EQ(back.Width, 48);
  EXPECT_EQ(back.Height, 30);
  EXPECT_EQ(back.At(23, 23), uint32_t(10 * 23 + 23) << 24 | 23u << 16 | 23u << 8 | 7u);

  for (int bad : {0, -5}) {
    png->SetWidth(bad);
    png->SetHeight(bad);
  }
  EXPECT_EQ(png->Width(), 48);
  EXPECT_EQ(png->Height(), 30);
  TspPngImage empty;
  empty.SetWidth(10);
  EXPECT_TRUE(empty.Empty());
  png->Assign(nullptr);
  EXPECT_TRUE(png->Empty());
}

TEST(SpPngImage, AlphaPicturesStretchToTheRectangle) {
  auto png = Gradient();
  TBitmap target;
  target.SetSize(60, 60);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 60, 60));
  // Corners given backwards are put in order first.
  target.Canvas()->StretchDraw(Rect(58, 50, 10, 2), png.get());
  const QImage img = target.ToImage();
  EXPECT_EQ(img.pixel(9, 30) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(img.pixel(58, 30) & 0xFFFFFF, 0xFFFFFFu);
  // Source column trunc(x / 2): the last destination column shows column 23, opaque enough to
  // differ from white.
  EXPECT_NE(img.pixel(57, 49) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_NE(img.pixel(57, 49), img.pixel(10, 2));
}

// Images of one black picture with the given alphas, one pixel each, in a list of that size.
struct TAlphaStrip {
  std::unique_ptr<TForm> Owner = std::make_unique<TForm>(nullptr);
  TspPngImageList* List = new TspPngImageList(Owner.get());

  explicit TAlphaStrip(const std::vector<int>& Alphas) {
    List->SetPngWidth(int(Alphas.size()));
    List->SetPngHeight(1);
    TPngShape shape;
    shape.Width = int(Alphas.size()), shape.Height = 1, shape.ColorType = 6;
    std::vector<Bytes> rows(1, Bytes(Alphas.size() * 4, 0));
    for (size_t i = 0; i < Alphas.size(); ++i) rows[0][i * 4 + 3] = uint8_t(Alphas[i]);
    auto png = Load(WritePng(shape, rows));
    static_cast<TspPngImageItem*>(List->PngImages()->Add())->SetPngImage(png.get());
  }

  std::vector<int> Drawn(bool Enabled) {
    TBitmap target;
    target.SetSize(List->Width(), 1);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, List->Width(), 1));
    List->Draw(target.Canvas(), 0, 0, 0, Enabled);
    const QImage img = target.ToImage();
    std::vector<int> v;
    for (int x = 0; x < img.width(); ++x) v.push_back(qRed(img.pixel(x, 0)));
    return v;
  }
};

TEST(SpPngImageList, DisabledImagesShowAtHalfOpacityRoundedToEven) {
  // round(a x 128 / 256), halves to the even neighbour: 1 -> 0, 3 -> 2, 5 -> 2, 255 -> 128.
  const std::vector<int> alphas = {0, 1, 3, 5, 128, 200, 255};
  const std::vector<int> halved = {0, 0, 2, 2, 64, 100, 128};
  TAlphaStrip disabled(alphas), expected(halved);
  EXPECT_EQ(disabled.Drawn(false), expected.Drawn(true));
  EXPECT_NE(disabled.Drawn(false), disabled.Drawn(true));
}

TEST(SpPngImageList, DisabledPaletteImagesKeepTheirKeyAndShowTheRestAt127) {
  Bytes file = Signature();
  AddChunk(file, "IHDR", Ihdr(2, 1, 8, 3));
  AddChunk(file, "PLTE", {0, 0, 0, 200, 0, 0});
  AddChunk(file, "tRNS", {0});
  AddChunk(file, "IDAT", Deflate({0, 0, 1}));
  AddChunk(file, "IEND", {});
  auto png = Load(file);
  TspPngImage half;
  MakeDisabledPngImage(png.get(), &half);
  ASSERT_EQ(half.Header()->ColorType, 6);
  EXPECT_EQ(half.AlphaRowPointer(0)[0], 0);
  EXPECT_EQ(half.AlphaRowPointer(0)[1], 127);
  EXPECT_EQ(half.ReadPixel(1, 0), RGB(200, 0, 0));
}

TEST(SpPngImageList, ItemsFollowTheListAndItsDescription) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Holder");
  RegisterGuiClasses();
  RegisterSpPngImageListClasses();
  auto* list = new TspPngImageList(form.get());
  list->SetName("Icons");
  list->SetPngWidth(24);
  list->SetPngHeight(24);
  auto picture = Gradient();
  for (int i = 0; i < 3; ++i)
    static_cast<TspPngImageItem*>(list->PngImages()->Add())->SetPngImage(picture.get());
  EXPECT_EQ(list->Count(), 3) << "one platform entry per item";
  EXPECT_EQ(list->PngImages()->Item(2)->Name(), "PngImage2");
  list->PngImages()->Delete(0);
  EXPECT_EQ(list->Count(), 2);

  // Through a form description and back: the pictures come back as PNG data.
  const std::string text = WriteComponentToText(form.get());
  EXPECT_NE(text.find("PngImage = hex"), std::string::npos) << text.substr(0, 400);
  auto again = std::make_unique<TForm>(nullptr);
  ReadComponentFromText(again.get(), text, "Holder.form");
  auto* read = dynamic_cast<TspPngImageList*>(again->FindComponent("Icons"));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->PngImages()->Count(), 2);
  EXPECT_EQ(read->Count(), 2);
  EXPECT_EQ(read->PngWidth(), 24);
  EXPECT_EQ(read->PngImages()->Item(1)->Name(), "PngImage2");
  EXPECT_EQ(read->PngImages()->Item(1)->PngImage()->ReadPixel(5, 9), RGB(5, 9, 7));

  // A new size empties the list.
  read->SetPngWidth(32);
  EXPECT_EQ(read->PngImages()->Count(), 0);
  EXPECT_EQ(read->Count(), 0);
}

}  // namespace

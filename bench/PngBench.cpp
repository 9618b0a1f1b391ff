// Decoding a large PNG with our codec beside libpng on the same bytes in memory. Each
// "Png/Ours/..." row carries vs_libpng: libpng's time divided by ours (above 1: we are faster).
// libpng expands to 8-bit RGBA rows, which is about the work ours does into its pixel buffer and
// alpha plane. Then drawing the decoded picture, beside QPainter (see below).
// SONALIX_PNG_BENCH_SIZE sets the side of the square image (default 4096).
#include <benchmark/benchmark.h>
#include <png.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "controls/PngImage.h"

namespace {

using Bytes = std::vector<uint8_t>;

int Side() {
  const char* s = std::getenv("SONALIX_PNG_BENCH_SIZE");
  return s ? std::max(16, std::atoi(s)) : 4096;
}

struct TKind {
  const char* Name;
  int ColorType;
  bool Interlaced;
};
const TKind kKinds[] = {{"rgba8", 6, false}, {"rgb8", 2, false}, {"rgba8_adam7", 6, true}};

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// A photo-like picture: smooth gradients with a little noise, which the filters and zlib work on
// as they would on real images.
const Bytes& File(const TKind& k) {
  static std::map<std::string, Bytes> files;
  Bytes& out = files[k.Name];
  if (!out.empty()) return out;
  const int side = Side(), channels = k.ColorType == 6 ? 4 : 3;
  std::mt19937 rng(5);
  std::vector<Bytes> rows(size_t(side), Bytes(size_t(side) * channels));
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      for (int c = 0; c < channels; ++c)
        rows[size_t(y)][size_t(x) * channels + c] =
            uint8_t((x * (c + 1) + y * (3 - c)) / 16 + rng() % 6);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, side, side, 8, k.ColorType,
               k.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(r.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct TSource {
  const Bytes* Data;
  size_t Pos;
};
void Take(png_structp png, png_bytep data, png_size_t n) {
  auto* s = static_cast<TSource*>(png_get_io_ptr(png));
  std::memcpy(data, s->Data->data() + s->Pos, n);
  s->Pos += n;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::map<std::string, double>& LibpngSeconds() {
  static std::map<std::string, double> m;
  return m;
}

// libpng reads a file as 8-bit rows of four channels, red first or (Bgr) blue first, into the
// rows Layout(width, height) gives.
void LibpngRead(const Bytes& file, bool Bgr,
                const std::function<std::vector<png_bytep>(size_t, size_t)>& Layout) {
  TSource src{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_read_fn(png, &src, Take);
  png_read_info(png, info);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  if (Bgr) png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::vector<png_bytep> rows = Layout(png_get_image_width(png, info), png_get_image_height(png, info));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

void BM_Libpng(benchmark::State& state, const TKind* k) {
  const Bytes& file = File(*k);
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    std::vector<uint8_t> pixels;
    LibpngRead(file, false, [&](size_t w, size_t h) {
      pixels.resize(w * h * 4);
      std::vector<png_bytep> rows(h);
      for (size_t y = 0; y < h; ++y) rows[y] = pixels.data() + y * w * 4;
      return rows;
    });
    benchmark::DoNotOptimize(pixels.data());
    total += Now() - t0;
  }
  LibpngSeconds()[k->Name] = total / double(state.iterations());
}

void BM_Ours(benchmark::State& state, const TKind* k) {
  const Bytes& file = File(*k);
  TMemoryStream in;
  in.WriteBuffer(file.data(), int64_t(file.size()));
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    in.SetPosition(0);
    TPNGObject png;
    png.LoadFromStream(&in);
    benchmark::DoNotOptimize(png.HeaderChunk()->ImageData());
    total += Now() - t0;
  }
  const double ours = total / double(state.iterations());
  auto it = LibpngSeconds().find(k->Name);
  if (it != LibpngSeconds().end()) state.counters["vs_libpng"] = it->second / ours;
  state.counters["megapixels_per_s"] =
      benchmark::Counter(double(Side()) * Side() * double(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}

// Drawing: the decoded picture painted again and again, as a window repaints it, onto a bitmap
// of its size (after a first paint). Beside it QPainter draws libpng's pixels of the same file onto a QImage; each
// "Png/Draw/Ours/..." row carries vs_qpainter, QPainter's time divided by ours.
std::map<std::string, double>& QPainterSeconds() {
  static std::map<std::string, double> m;
  return m;
}

// Blue first with the filler last is QImage's ARGB32 in memory on this machine.
QImage LibpngImage(const TKind& k) {
  QImage image;
  LibpngRead(File(k), true, [&](size_t w, size_t h) {
    image = QImage(int(w), int(h), QImage::Format_ARGB32);
    std::vector<png_bytep> rows(h);
    for (size_t y = 0; y < h; ++y) rows[y] = image.scanLine(int(y));
    return rows;
  });
  return image;
}

void BM_QPainterDraw(benchmark::State& state, const TKind* k) {
  BenchEnsureApplication();
  const QImage image = LibpngImage(*k);
  QImage target(image.size(), QImage::Format_RGB32);
  target.fill(0x336699);
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    QPainter p(&target);
    p.drawImage(0, 0, image);
    p.end();
    benchmark::DoNotOptimize(target.constBits());
    total += Now() - t0;
  }
  QPainterSeconds()[k->Name] = total / double(state.iterations());
}

void BM_OursDraw(benchmark::State& state, const TKind* k) {
  BenchEnsureApplication();
  const Bytes& file = File(*k);
  TMemoryStream in;
  in.WriteBuffer(file.data(), int64_t(file.size()));
  in.SetPosition(0);
  TPNGObject png;
  png.LoadFromStream(&in);
  TBitmap target;
  target.SetSize(png.Width(), png.Height());
  target.Canvas()->Brush()->SetColor(TColor(0x996633));
  target.Canvas()->FillRect(TRect(0, 0, png.Width(), png.Height()));
  target.Canvas()->Draw(0, 0, &png);  // the first paint converts the image; repaints do not
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    target.Canvas()->Draw(0, 0, &png);
    benchmark::DoNotOptimize(target.ScanLine(0));
    total += Now() - t0;
  }
  const double ours = total / double(state.iterations());
  auto it = QPainterSeconds().find(k->Name);
  if (it != QPainterSeconds().end()) state.counters["vs_qpainter"] = it->second / ours;
}

const bool kRegistered = [] {
  for (const TKind& k : kKinds) {
    benchmark::RegisterBenchmark((std::string("Png/Libpng/") + k.Name).c_str(), BM_Libpng, &k)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("Png/Ours/") + k.Name).c_str(), BM_Ours, &k)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (const TKind& k : kKinds) {
    benchmark::RegisterBenchmark((std::string("Png/Draw/QPainter/") + k.Name).c_str(),
                                 BM_QPainterDraw, &k)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("Png/Draw/Ours/") + k.Name).c_str(), BM_OursDraw, &k)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

#pragma once
// PNG files made and read with libpng, as an independent peer of our codec, and raw chunk
// assembly for malformed files.

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pngfiles {

using Bytes = std::vector<uint8_t>;

struct TPngShape {
  int Width = 13, Height = 11;
  int ColorType = 2, BitDepth = 8;
  bool Interlaced = false;
  bool Trns = false;  // a colour key (grey/RGB) or partial alpha (palette)
  int PaletteTrnsBelow255 = 2;  // palette entries given a value below 255
  double Gamma = 0;             // writes gAMA when not 0
  unsigned Seed = 1;
};

inline int Samples(int ct) { return ct == 2 ? 3 : ct == 4 ? 2 : ct == 6 ? 4 : 1; }

// Raw (unfiltered) PNG rows of random samples; indices of palette images stay within the palette.
inline std::vector<Bytes> RandomRows(const TPngShape& s) {
  std::mt19937 rng(s.Seed);
  size_t rowBytes = (size_t(s.Width) * s.BitDepth * Samples(s.ColorType) + 7) / 8;
  std::vector<Bytes> rows(size_t(s.Height), Bytes(rowBytes));
  for (auto& r : rows)
    for (auto& b : r) b = uint8_t(rng());
  // Runs and repeats, so that the filters and the key colour have something to find.
  for (size_t y = 1; y < rows.size(); y += 3) rows[y] = rows[y - 1];
  // Low bytes of 16-bit samples follow their high byte, so that a sample is told apart by its
  // high byte alone (the codec keeps only that) while still differing from it.
  if (s.BitDepth == 16)
    for (auto& r : rows)
      for (size_t i = 0; i + 1 < r.size(); i += 2) r[i + 1] = uint8_t(r[i] ^ 0x5A);
  return rows;
}

inline void WriteCallback(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

inline Bytes WritePng(const TPngShape& s, const std::vector<Bytes>& rows) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng write failed");
  }
  png_set_write_fn(png, &out, WriteCallback, nullptr);
  png_set_IHDR(png, info, png_uint_32(s.Width), png_uint_32(s.Height), s.BitDepth, s.ColorType,
               s.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, 0, PNG_ALL_FILTERS);
  std::vector<png_color> palette;
  if (s.ColorType == 3) {
    std::mt19937 rng(s.Seed + 100);
    palette.resize(size_t(1) << s.BitDepth);
    for (auto& c : palette) c = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
    png_set_PLTE(png, info, palette.data(), int(palette.size()));
  }
  png_color_16 key{};
  std::vector<png_byte> alphas;
  if (s.Trns) {
    if (s.ColorType == 3) {
      alphas.assign(std::min(size_t(s.PaletteTrnsBelow255) + 1, size_t(1) << s.BitDepth), 255);
      for (size_t i = 0; i < alphas.size() && int(i) < s.PaletteTrnsBelow255; ++i)
        alphas[i] = uint8_t(i * 97);
      png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    } else {
      // The key is a colour the image shows: its first pixel.
      const Bytes& r = rows[0];
      if (s.ColorType == 0) {
        key.gray = s.BitDepth == 16 ? png_uint_16((r[0] << 8) | r[1])
                                    : png_uint_16(r[0] >> (8 - s.BitDepth));
      } else if (s.BitDepth == 16) {
        key.red = png_uint_16((r[0] << 8) | r[1]);
        key.green = png_uint_16((r[2] << 8) | r[3]);
        key.blue = png_uint_16((r[4] << 8) | r[5]);
      } else {
        key.red = r[0], key.green = r[1], key.blue = r[2];
      }
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  if (s.Gamma != 0) png_set_gAMA(png, info, s.Gamma);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct TReadSource {
  const Bytes* Data;
  size_t Pos = 0;
};
inline void ReadCallback(png_structp png, png_bytep data, png_size_t n) {
  auto* src = static_cast<TReadSource*>(png_get_io_ptr(png));
  if (src->Pos + n > src->Data->size()) png_error(png, "read past end");
  std::memcpy(data, src->Data->data() + src->Pos, n);
  src->Pos += n;
}

struct TRgbaImage {
  int Width = 0, Height = 0;
  int ColorType = 0, BitDepth = 0, Interlace = 0;
  std::vector<uint32_t> Argb;  // 0xAARRGGBB, top row first
  uint32_t At(int x, int y) const { return Argb[size_t(y) * size_t(Width) + size_t(x)]; }
};

// Reads a PNG as 8-bit RGBA: 16-bit samples by their high byte, tRNS made alpha, no gamma.
inline TRgbaImage ReadPng(const Bytes& data) {
  TRgbaImage img;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error("libpng read failed");
  }
  TReadSource src{&data};
  png_set_read_fn(png, &src, ReadCallback);
  png_read_info(png, info);
  img.Width = int(png_get_image_width(png, info));
  img.Height = int(png_get_image_height(png, info));
  img.ColorType = png_get_color_type(png, info);
  img.BitDepth = png_get_bit_depth(png, info);
  img.Interlace = png_get_interlace_type(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::vector<Bytes> rows(size_t(img.Height), Bytes(size_t(img.Width) * 4));
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(r.data());
  png_read_image(png, pointers.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  for (auto& r : rows)
    for (int x = 0; x < img.Width; ++x) {
      const uint8_t* p = r.data() + size_t(x) * 4;
      img.Argb.push_back((uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) |
                         p[2]);
    }
  return img;
}

// Raw chunk assembly.
inline void PutBE32(Bytes& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}
inline uint32_t GetBE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline Bytes Signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }
inline void AddChunk(Bytes& out, const std::string& name, const Bytes& body) {
  PutBE32(out, uint32_t(body.size()));
  size_t start = out.size();
  out.insert(out.end(), name.begin(), name.end());
  out.insert(out.end(), body.begin(), body.end());
  uint32_t crc = uint32_t(crc32(0, out.data() + start, uInt(out.size() - start)));
  PutBE32(out, crc);
}
inline Bytes Ihdr(uint32_t w, uint32_t h, int depth, int ct, int interlace = 0) {
  Bytes b;
  PutBE32(b, w);
  PutBE32(b, h);
  b.insert(b.end(), {uint8_t(depth), uint8_t(ct), 0, 0, uint8_t(interlace)});
  return b;
}
inline Bytes Deflate(const Bytes& raw, int level = 6) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  compress2(out.data(), &size, raw.data(), uLong(raw.size()), level);
  out.resize(size);
  return out;
}

// A zlib stream that can only be inflated with the preset dictionary it was made with.
inline Bytes DeflateWithDictionary(const Bytes& raw, const std::string& dictionary) {
  z_stream z{};
  deflateInit(&z, 9);
  deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()), uInt(dictionary.size()));
  Bytes out(deflateBound(&z, uLong(raw.size())) + 16);
  z.next_in = const_cast<Bytef*>(raw.data());
  z.avail_in = uInt(raw.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct TChunkView {
  std::string Name;
  Bytes Body;
};
inline std::vector<TChunkView> ChunksOf(const Bytes& file) {
  std::vector<TChunkView> chunks;
  size_t p = 8;
  while (p + 12 <= file.size()) {
    uint32_t len = GetBE32(&file[p]);
    chunks.push_back({std::string(file.begin() + long(p) + 4, file.begin() + long(p) + 8),
                      Bytes(file.begin() + long(p) + 8, file.begin() + long(p) + 8 + len)});
    p += 12 + len;
  }
  return chunks;
}

}  // namespace pngfiles

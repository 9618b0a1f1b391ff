#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "PngFiles.h"
#include "controls/PngImage.h"

using namespace pngfiles;

namespace {

// Valid files of several kinds: every colour type, interlacing, palettes with tRNS, text,
// gamma, and image data spread over several chunks.
std::vector<Bytes> Seeds() {
  std::vector<Bytes> files;
  const TPngShape shapes[] = {
      {13, 11, 2, 8, false, false}, {9, 7, 0, 2, true, true},   {16, 5, 3, 4, false, true},
      {6, 6, 6, 16, true, false},   {11, 3, 4, 8, false, false}, {21, 4, 0, 16, false, true},
      {5, 9, 3, 1, true, true, 1},  {8, 8, 2, 16, true, true, 2, 0.45455}};
  for (const TPngShape& s : shapes) files.push_back(WritePng(s, RandomRows(s)));
  // One with its image data over three chunks and ancillary chunks before it.
  Bytes raw;
  for (int y = 0; y < 10; ++y) {
    raw.push_back(uint8_t(y % 5));
    for (int x = 0; x < 30; ++x) raw.push_back(uint8_t(x * y));
  }
  Bytes z = Deflate(raw);
  Bytes f = Signature();
  AddChunk(f, "IHDR", Ihdr(10, 10, 8, 2));
  AddChunk(f, "tEXt", {'T', 'i', 't', 'l', 'e', 0, 'x'});
  AddChunk(f, "zTXt", [] {
    Bytes b{'C', 0, 0};
    Bytes t = Deflate(Bytes(40, 'a'));
    b.insert(b.end(), t.begin(), t.end());
    return b;
  }());
  AddChunk(f, "tIME", {0x07, 0xD8, 1, 2, 3, 4, 5});
  size_t third = z.size() / 3;
  AddChunk(f, "IDAT", Bytes(z.begin(), z.begin() + long(third)));
  AddChunk(f, "IDAT", Bytes(z.begin() + long(third), z.begin() + long(2 * third)));
  AddChunk(f, "IDAT", Bytes(z.begin() + long(2 * third), z.end()));
  AddChunk(f, "IEND", {});
  files.push_back(f);
  return files;
}

Bytes Mutate(const Bytes& in, std::mt19937& rng) {
  Bytes b = in;
  int edits = 1 + int(rng() % 4);
  for (int e = 0; e < edits && !b.empty(); ++e) {
    size_t at = rng() % b.size();
    switch (rng() % 6) {
      case 0: b[at] ^= uint8_t(1u << (rng() % 8)); break;
      case 1: b[at] = uint8_t(rng()); break;
      case 2: b.resize(at); break;
      case 3: b[at] = (rng() & 1) ? 0xFF : 0x00; break;
      case 4:  // a 32-bit field (a length, a size) set to something extreme
        for (int i = 0; i < 4 && at + size_t(i) < b.size(); ++i) b[at + size_t(i)] = uint8_t(rng() % 3 ? 0xFF : rng());
        break;
      default: {  // a stretch repeated
        size_t len = std::min<size_t>(b.size() - at, 1 + rng() % 64);
        Bytes piece(b.begin() + long(at), b.begin() + long(at + len));
        b.insert(b.begin() + long(rng() % b.size()), piece.begin(), piece.end());
      }
    }
  }
  return b;
}

// Most damage is caught by the CRCs; recomputing them lets it reach the decoder.
void FixCrcs(Bytes& b) {
  size_t p = 8;
  while (p + 12 <= b.size()) {
    uint32_t len = GetBE32(&b[p]);
    if (len > b.size() - p - 12) break;
    uint32_t crc = uint32_t(crc32(0, &b[p + 4], uInt(len + 4)));
    for (int i = 0; i < 4; ++i) b[p + 8 + len + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    p += 12 + len;
  }
}

// Damage inside the compressed image data: the rows (filter types, samples) or their count.
Bytes MutateImageData(const Bytes& in, std::mt19937& rng) {
  Bytes out = Signature(), idat;
  for (auto& c : ChunksOf(in))
    if (c.Name == "IDAT") idat.insert(idat.end(), c.Body.begin(), c.Body.end());
  Bytes raw(1 << 16);
  uLongf size = uLongf(raw.size());
  if (uncompress(raw.data(), &size, idat.data(), uLong(idat.size())) != Z_OK) return in;
  raw.resize(size);
  switch (rng() % 3) {
    case 0: for (int i = 0; i < 4 && !raw.empty(); ++i) raw[rng() % raw.size()] = uint8_t(rng() % 8); break;
    case 1: raw.resize(rng() % (raw.size() + 1)); break;
    default: raw.resize(raw.size() + rng() % 200, uint8_t(rng()));
  }
  bool written = false;
  for (auto& c : ChunksOf(in)) {
    if (c.Name != "IDAT") AddChunk(out, c.Name, c.Body);
    else if (!written) AddChunk(out, "IDAT", Deflate(raw)), written = true;
  }
  return out;
}

long AddressSpaceInUse() {
  long pages = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  return pages * sysconf(_SC_PAGESIZE);
}

}  // namespace

// The decoder on damaged files: only its own exceptions come out, never a crash or a hang. It
// runs in a child process with its address space and CPU time capped, so that a runaway
// allocation fails as an allocation and a loop that never ends is killed.
TEST(PngMutation, DamagedFilesFailCleanly) {
  std::vector<Bytes> seeds = Seeds();
  for (const Bytes& s : seeds) ASSERT_NO_THROW(ReadPng(s));
  long cap = AddressSpaceInUse() + (1L << 30);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit as{rlim_t(cap), rlim_t(cap)};
    setrlimit(RLIMIT_AS, &as);
    rlimit cpu{120, 120};
    setrlimit(RLIMIT_CPU, &cpu);
    std::mt19937 rng(20261210);
    const char* rounds = std::getenv("SONALIX_PNG_MUTATIONS");
    const int count = rounds ? std::atoi(rounds) : 20000;
    for (int i = 0; i < count; ++i) {
      const Bytes& seed = seeds[rng() % seeds.size()];
      Bytes file;
      switch (rng() % 3) {
        case 0: file = Mutate(seed, rng); break;
        case 1: file = Mutate(seed, rng), FixCrcs(file); break;
        default: file = MutateImageData(seed, rng);
      }
      TMemoryStream in;
      in.WriteBuffer(file.data(), int64_t(file.size()));
      in.SetPosition(0);
      TPNGObject png;
      // Whatever a failed read leaves behind must still be safe to use.
      for (int stage = 0; stage < 2; ++stage) {
        try {
          if (stage == 0) {
            png.LoadFromStream(&in);
          } else if (int64_t(png.Width()) * png.Height() <= (1 << 20)) {
            QImage img = png.ToImage();
            png.ReadPixel(png.Width() / 2, png.Height() / 2);
            png.WritePixel(0, 0, 0x123456);
            TMemoryStream out;
            png.SaveToStream(&out);
          }
        } catch (const Exception&) {
        } catch (...) {
          std::fprintf(stderr, "mutation %d: an exception of another kind\n", i);
          _exit(3);
        }
      }
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status)
                                 << (WTERMSIG(status) == SIGXCPU ? " (CPU limit: a hang)" : "");
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

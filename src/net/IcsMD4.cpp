#include "net/IcsMD4.h"

#include <cstring>

namespace {

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void CheckInitialized(const TMD4Context& c) {
  if (!c.Initialized) throw MD4Exception("MD4 not initialized");
}

void Transform(TMD4Context& c, const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i)
    x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 |
           uint32_t(block[4 * i + 2]) << 16 | uint32_t(block[4 * i + 3]) << 24;
  uint32_t a = c.A, b = c.B, cc = c.C, d = c.D;
  auto f = [](uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (~x & z); };
  auto g = [](uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (x & z) | (y & z); };
  auto h = [](uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; };
  static const int s1[4] = {3, 7, 11, 19}, s2[4] = {3, 5, 9, 13}, s3[4] = {3, 9, 11, 15};
  static const int order2[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
  static const int order3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  // Each step updates one of a, d, c, b in turn; rotating the names keeps one loop body.
  uint32_t* v[4] = {&a, &d, &cc, &b};
  for (int i = 0; i < 16; ++i) {
    uint32_t &w = *v[i % 4], &p = *v[(i + 3) % 4], &q = *v[(i + 2) % 4], &r = *v[(i + 1) % 4];
    w = Rol(w + f(p, q, r) + x[i], s1[i % 4]);
  }
  for (int i = 0; i < 16; ++i) {
    uint32_t &w = *v[i % 4], &p = *v[(i + 3) % 4], &q = *v[(i + 2) % 4], &r = *v[(i + 1) % 4];
    w = Rol(w + g(p, q, r) + x[order2[i]] + 0x5A827999u, s2[i % 4]);
  }
  for (int i = 0; i < 16; ++i) {
    uint32_t &w = *v[i % 4], &p = *v[(i + 3) % 4], &q = *v[(i + 2) % 4], &r = *v[(i + 1) % 4];
    w = Rol(w + h(p, q, r) + x[order3[i]] + 0x6ED9EBA1u, s3[i % 4]);
  }
  c.A += a;
  c.B += b;
  c.C += cc;
  c.D += d;
}

}  // namespace

void Md4Init(TMD4Context& Context) {
  Context = TMD4Context();
  Context.A = 0x67452301u;
  Context.B = 0xEFCDAB89u;
  Context.C = 0x98BADCFEu;
  Context.D = 0x10325476u;
  Context.Initialized = true;
}

void Md4Update(TMD4Context& Context, const void* Data, std::size_t Length) {
  CheckInitialized(Context);
  const uint64_t bits =
      (uint64_t(Context.LengthHi) << 32 | Context.LengthLo) + uint64_t(Length) * 8;
  Context.LengthLo = uint32_t(bits);
  Context.LengthHi = uint32_t(bits >> 32);
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  while (Length > 0) {
    const std::size_t n = std::min<std::size_t>(Length, 64 - Context.BufferCount);
    std::memcpy(Context.Buffer + Context.BufferCount, p, n);
    Context.BufferCount += uint32_t(n);
    p += n;
    Length -= n;
    if (Context.BufferCount == 64) {
      Transform(Context, Context.Buffer);
      Context.BufferCount = 0;
    }
  }
}

void Md4UpdateText(TMD4Context& Context, const std::string& Text) {
  Md4Update(Context, Text.data(), Text.size());
}

void Md4Final(TMD4Context& Context, TMD4Digest& Digest) {
  CheckInitialized(Context);
  uint8_t length[8];
  for (int i = 0; i < 4; ++i) {
    length[i] = uint8_t(Context.LengthLo >> (8 * i));
    length[4 + i] = uint8_t(Context.LengthHi >> (8 * i));
  }
  static const uint8_t padding[64] = {0x80};
  const uint32_t used = Context.BufferCount;
  Md4Update(Context, padding, used < 56 ? 56 - used : 120 - used);
  Md4Update(Context, length, 8);
  const uint32_t state[4] = {Context.A, Context.B, Context.C, Context.D};
  for (int i = 0; i < 16; ++i) Digest[i] = uint8_t(state[i / 4] >> (8 * (i % 4)));
  Context = TMD4Context();
}

std::string Md4OfText(const std::string& Text) {
  TMD4Context context;
  Md4Init(context);
  Md4UpdateText(context, Text);
  TMD4Digest digest;
  Md4Final(context, digest);
  return std::string(reinterpret_cast<const char*>(digest), 16);
}

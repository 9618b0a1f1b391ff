#include "net/IcsMD5.h"

#include <algorithm>
#include <cstring>

namespace {

const uint32_t Sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

const int Shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t* state, const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i)
    x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 |
           uint32_t(block[4 * i + 2]) << 16 | uint32_t(block[4 * i + 3]) << 24;
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    const int round = i / 16;
    uint32_t f;
    int k;
    switch (round) {
      case 0:
        f = (b & c) | (~b & d);
        k = i;
        break;
      case 1:
        f = (b & d) | (c & ~d);
        k = (5 * i + 1) % 16;
        break;
      case 2:
        f = b ^ c ^ d;
        k = (3 * i + 5) % 16;
        break;
      default:
        f = c ^ (b | ~d);
        k = (7 * i) % 16;
        break;
    }
    const uint32_t next = b + Rol(a + f + Sines[i] + x[k], Shifts[round][i % 4]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void Md5Init(TMD5Context& Context) {
  Context = TMD5Context();
  Context.State[0] = 0x67452301u;
  Context.State[1] = 0xefcdab89u;
  Context.State[2] = 0x98badcfeu;
  Context.State[3] = 0x10325476u;
}

void Md5Update(TMD5Context& Context, const void* Data, std::size_t Length) {
  std::size_t used = (Context.Count[0] >> 3) & 63;
  const uint64_t bits =
      (uint64_t(Context.Count[1]) << 32 | Context.Count[0]) + uint64_t(Length) * 8;
  Context.Count[0] = uint32_t(bits);
  Context.Count[1] = uint32_t(bits >> 32);
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  while (Length > 0) {
    const std::size_t n = std::min<std::size_t>(Length, 64 - used);
    std::memcpy(Context.Buffer + used, p, n);
    used += n;
    p += n;
    Length -= n;
    if (used == 64) {
      Transform(Context.State, Context.Buffer);
      used = 0;
    }
  }
}

void Md5UpdateStaged(TMD5Context& Context, const void* Data, std::size_t Length) {
  static constexpr std::size_t StageSize = 16384;
  uint8_t stage[StageSize];
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  while (Length > 0) {
    const std::size_t n = std::min(Length, StageSize);
    std::memcpy(stage, p, n);
    Md5Update(Context, stage, n);
    p += n;
    Length -= n;
  }
}

void Md5Final(TMD5Digest& Digest, TMD5Context& Context) {
  uint8_t length[8];
  for (int i = 0; i < 4; ++i) {
    length[i] = uint8_t(Context.Count[0] >> (8 * i));
    length[4 + i] = uint8_t(Context.Count[1] >> (8 * i));
  }
  static const uint8_t padding[64] = {0x80};
  const std::size_t used = (Context.Count[0] >> 3) & 63;
  Md5Update(Context, padding, used < 56 ? 56 - used : 120 - used);
  Md5Update(Context, length, 8);
  for (int i = 0; i < 16; ++i) Digest[i] = uint8_t(Context.State[i / 4] >> (8 * (i % 4)));
  Context = TMD5Context();
}

#include "net/IcsSha1.h"

#include <cstring>

namespace {

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void ProcessBlock(TSha1Context& c) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t)
    w[t] = uint32_t(c.MessageBlock[4 * t]) << 24 | uint32_t(c.MessageBlock[4 * t + 1]) << 16 |
           uint32_t(c.MessageBlock[4 * t + 2]) << 8 | uint32_t(c.MessageBlock[4 * t + 3]);
  for (int t = 16; t < 80; ++t) w[t] = Rol(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t a = c.Intermediate[0], b = c.Intermediate[1], cc = c.Intermediate[2],
           d = c.Intermediate[3], e = c.Intermediate[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f, k;
    if (t < 20) {
      f = (b & cc) | (~b & d);
      k = 0x5A827999u;
    } else if (t < 40) {
      f = b ^ cc ^ d;
      k = 0x6ED9EBA1u;
    } else if (t < 60) {
      f = (b & cc) | (b & d) | (cc & d);
      k = 0x8F1BBCDCu;
    } else {
      f = b ^ cc ^ d;
      k = 0xCA62C1D6u;
    }
    const uint32_t temp = Rol(a, 5) + f + e + w[t] + k;
    e = d;
    d = cc;
    cc = Rol(b, 30);
    b = a;
    a = temp;
  }
  c.Intermediate[0] += a;
  c.Intermediate[1] += b;
  c.Intermediate[2] += cc;
  c.Intermediate[3] += d;
  c.Intermediate[4] += e;
  c.MessageBlockIndex = 0;
}

void PadMessage(TSha1Context& c) {
  c.MessageBlock[c.MessageBlockIndex++] = 0x80;
  if (c.MessageBlockIndex > 56) {
    while (c.MessageBlockIndex < 64) c.MessageBlock[c.MessageBlockIndex++] = 0;
    ProcessBlock(c);
  }
  while (c.MessageBlockIndex < 56) c.MessageBlock[c.MessageBlockIndex++] = 0;
  for (int i = 0; i < 4; ++i) {
    c.MessageBlock[56 + i] = uint8_t(c.LengthHigh >> (24 - 8 * i));
    c.MessageBlock[60 + i] = uint8_t(c.LengthLow >> (24 - 8 * i));
  }
  ProcessBlock(c);
}

}  // namespace

int Sha1Reset(TSha1Context* Context) {
  if (!Context) return shaNull;
  *Context = TSha1Context();
  Context->Intermediate[0] = 0x67452301u;
  Context->Intermediate[1] = 0xEFCDAB89u;
  Context->Intermediate[2] = 0x98BADCFEu;
  Context->Intermediate[3] = 0x10325476u;
  Context->Intermediate[4] = 0xC3D2E1F0u;
  return shaSuccess;
}

int Sha1Input(TSha1Context* Context, const void* Data, std::size_t Length) {
  if (Length == 0) return shaSuccess;
  if (!Context || !Data) return shaNull;
  if (Context->Computed) {
    Context->Corrupted = shaStateError;
    return shaStateError;
  }
  if (Context->Corrupted != shaSuccess) return Context->Corrupted;
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  for (; Length > 0 && Context->Corrupted == shaSuccess; --Length) {
    Context->MessageBlock[Context->MessageBlockIndex++] = *p++;
    Context->LengthLow += 8;
    if (Context->LengthLow == 0 && ++Context->LengthHigh == 0) Context->Corrupted = shaNull;
    if (Context->MessageBlockIndex == 64) ProcessBlock(*Context);
  }
  return Context->Corrupted;
}

int Sha1Result(TSha1Context* Context, uint8_t* Digest) {
  if (!Context || !Digest) return shaNull;
  if (Context->Corrupted != shaSuccess) return Context->Corrupted;
  if (!Context->Computed) {
    PadMessage(*Context);
    std::memset(Context->MessageBlock, 0, sizeof Context->MessageBlock);
    Context->LengthLow = Context->LengthHigh = 0;
    Context->Computed = true;
  }
  for (int i = 0; i < 20; ++i)
    Digest[i] = uint8_t(Context->Intermediate[i / 4] >> (24 - 8 * (i % 4)));
  return shaSuccess;
}

void HmacSha1(const void* Text, std::size_t TextLength, const void* Key, std::size_t KeyLength,
              TSha1Digest& Digest) {
  uint8_t key[64] = {};
  TSha1Context context;
  if (KeyLength > 64) {
    Sha1Reset(&context);
    Sha1Input(&context, Key, KeyLength);
    Sha1Result(&context, key);
  } else if (KeyLength > 0) {
    std::memcpy(key, Key, KeyLength);
  }
  uint8_t pad[64];
  for (int i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x36;
  TSha1Digest inner;
  Sha1Reset(&context);
  Sha1Input(&context, pad, 64);
  Sha1Input(&context, Text, TextLength);
  Sha1Result(&context, inner);
  for (int i = 0; i < 64; ++i) pad[i] = key[i] ^ 0x5c;
  Sha1Reset(&context);
  Sha1Input(&context, pad, 64);
  Sha1Input(&context, inner, 20);
  Sha1Result(&context, Digest);
}

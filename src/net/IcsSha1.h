#pragma once
// SHA-1 (FIPS 180-1) and HMAC-SHA1 (RFC 2104), used for CRAM-SHA1.

#include <cstddef>
#include <cstdint>

// Status results.
enum : int {
  shaSuccess = 0,
  shaNull = 1,        // missing argument, or a message longer than 2^64 - 1 bits
  shaStateError = 3,  // input after the result was computed
};

struct TSha1Context {
  uint32_t Intermediate[5] = {};
  uint32_t LengthLow = 0, LengthHigh = 0;  // message length in bits
  uint8_t MessageBlock[64] = {};
  int MessageBlockIndex = 0;
  bool Computed = false;
  int Corrupted = shaSuccess;
};

using TSha1Digest = uint8_t[20];

int Sha1Reset(TSha1Context* Context);
int Sha1Input(TSha1Context* Context, const void* Data, std::size_t Length);
// Finishes the digest on the first call; every call writes it, most significant byte first.
int Sha1Result(TSha1Context* Context, uint8_t* Digest);
void HmacSha1(const void* Text, std::size_t TextLength, const void* Key, std::size_t KeyLength,
              TSha1Digest& Digest);

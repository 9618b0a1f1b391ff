#pragma once
// MD5 message digest (RFC 1321), used for CRAM-MD5.

#include <cstddef>
#include <cstdint>

struct TMD5Context {
  uint32_t State[4] = {};
  uint32_t Count[2] = {};  // bit count, low half first
  uint8_t Buffer[64] = {};
};

using TMD5Digest = uint8_t[16];

void Md5Init(TMD5Context& Context);
void Md5Update(TMD5Context& Context, const void* Data, std::size_t Length);
// Same result as Md5Update; the data pass through a bounded staging copy.
void Md5UpdateStaged(TMD5Context& Context, const void* Data, std::size_t Length);
// Writes the digest and clears the whole context.
void Md5Final(TMD5Digest& Digest, TMD5Context& Context);

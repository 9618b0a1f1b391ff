#pragma once
// MD4 message digest (RFC 1320), used for the NT password hash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/SysUtils.h"

SONALIX_DECLARE_EXCEPTION(MD4Exception, Exception);

struct TMD4Context {
  uint32_t A = 0, B = 0, C = 0, D = 0;
  uint32_t LengthLo = 0, LengthHi = 0;  // message length in bits
  uint8_t Buffer[64] = {};
  uint32_t BufferCount = 0;
  bool Initialized = false;
};

using TMD4Digest = uint8_t[16];

void Md4Init(TMD4Context& Context);
// Both raise MD4Exception "MD4 not initialized" on a context not (re)initialised by Md4Init.
void Md4Update(TMD4Context& Context, const void* Data, std::size_t Length);
void Md4UpdateText(TMD4Context& Context, const std::string& Text);
// Writes the digest and clears the context; it must be initialised again before reuse.
void Md4Final(TMD4Context& Context, TMD4Digest& Digest);
// The 16 raw digest bytes of the text's bytes.
std::string Md4OfText(const std::string& Text);

#pragma once
// DES block encryption (FIPS 46), used for the NTLM challenge responses.

#include <cstdint>

// One DES block operation on 8 bytes: encryption when Encrypt is true, decryption otherwise.
// The low bit of every key byte is a parity bit and is ignored.
void DesBlock(const uint8_t* Input, uint8_t* Output, const uint8_t* Key, bool Encrypt);

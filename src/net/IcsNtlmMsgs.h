#pragma once
// The three NTLMSSP messages of NTLM (version 1) authentication, base64-encoded.

#include <array>
#include <cstdint>
#include <string>

using TNtlmChallenge = std::array<uint8_t, 8>;

struct TNTLM_Msg2_Info {
  bool ReplyPresent = false;
  // UTF-8; the server may send them as UTF-16 (decoded) or as 8-bit text (each byte one
  // character).
  std::string TargetName;
  std::string NetbiosDomain;
  std::string NetbiosServer;
  TNtlmChallenge ServerChallenge = {};
};

// DES of the 8-byte Data under a 56-bit key spread over 8 bytes, seven bits per byte.
std::array<uint8_t, 8> DesWith7ByteKey(const uint8_t* Key, const uint8_t* Data);

// Type 1 (negotiate): host and domain upper-cased.
std::string NtlmMessage1(const std::string& Host, const std::string& Domain);
// Type 2 (challenge) as the server sent it. Anything that is not a challenge message (empty,
// not base64, too short, another signature or type) gives ReplyPresent false; names whose
// descriptors point outside the message are left empty.
TNTLM_Msg2_Info NtlmReadMessage2(const std::string& Text);
// Type 3 (authenticate) with the LM and NT responses to Challenge. The texts are UTF-8; they
// travel as UTF-16LE.
std::string NtlmMessage3(const std::string& Domain, const std::string& Host,
                         const std::string& User, const std::string& Password,
                         const TNtlmChallenge& Challenge);

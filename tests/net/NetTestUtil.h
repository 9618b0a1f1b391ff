#pragma once
// Helpers of the network tests: hexadecimal text and the openssl command as an independent check.

#include <cstdint>
#include <string>
#include <vector>

namespace nettest {

std::string Hex(const std::string& bytes);  // lower case
std::string Hex(const uint8_t* bytes, std::size_t n);
std::string Unhex(const std::string& hex);

// Runs openssl with the arguments, feeding Input on stdin; returns stdout. A failed run is
// reported as a test failure and returns an empty text.
std::string Openssl(const std::vector<std::string>& args, const std::string& input);

// Deterministic pseudo-random bytes.
std::string RandomBytes(std::size_t n, uint32_t seed);

}  // namespace nettest

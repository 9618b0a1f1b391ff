#pragma once
// URL splitting and the small text routines of the HTTP client.

#include <string>

// 1-based position of the Count-th occurrence of Sub in Text: from the left when Count > 0
// (past the end of Text when there are fewer), from the right when Count < 0 (0 when there are
// fewer); 0 for Count = 0.
int Posn(const std::string& Sub, const std::string& Text, int Count);

// Splits Url. Every output is cleared first; the Path held on entry is the base against which
// "./" and "../" are resolved.
void ParseURL(const std::string& Url, std::string& Proto, std::string& User, std::string& Password,
              std::string& Host, std::string& Port, std::string& Path);

bool IsHexDigit(char Ch);
int HexDigitValue(char Ch);

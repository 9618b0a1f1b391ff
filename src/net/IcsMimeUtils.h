#pragma once
// Text encodings of mail: base64, RFC 2047 encoded words, header folding, content types.

#include <string>

// Sets of characters are passed as a text listing the characters.
extern const char* const HdrBreakChars;     // tab, blank, ",", ";", ">", "]"
extern const char* const QuotedWordSpecials;  // always escaped in a "Q" word

// "text/html", "image/jpeg"... from the file name's extension; "application/octet-stream" else.
std::string ContentTypeOfFile(const std::string& FileName);

std::string EncodeBase64(const std::string& Data);
// Appends 4-character groups for the 3-byte groups from Pos (1-based, advanced by 3 per group)
// while Result is shorter than MaxLen and data remain.
void EncodeBase64Part(const std::string& Data, int MaxLen, int& Pos, std::string& Result);
// Decodes groups of four base64 characters; CR and LF between groups are skipped. Text that is
// not base64 (a byte outside the alphabet, a misplaced pad, a group cut short) yields an empty
// result: the text usually comes from the network.
std::string DecodeBase64(const std::string& Text);

// True when a character is outside tab, LF, CR and 32 to 126.
bool HasUnsafeChars(const std::string& Text);

// RFC 2047 encoded words of Input ("B" or "Q" EncType), folded with CR LF tab when DoFold is set.
std::string HdrEncodeInLine(const std::string& Input, const std::string& Specials, char EncType,
                            const std::string& CharSet, int MaxCol, bool DoFold);
// One quoted-printable piece from Pos (1-based); with DoFold it ends with a soft break "=" where
// MaxLen would be reached, leaving Pos at the first character not encoded.
std::string EncodeQuotedWord(const std::string& Input, int MaxLen, const std::string& Specials,
                             bool SpaceAsUnderscore, int& Pos, bool DoFold);
// The next piece of Text from Pos (1-based) to put on one folded line.
std::string TakeFoldPiece(const std::string& Text, const std::string& Delimiter,
                          const std::string& BreakChars, int MaxCol, const std::string& QuoteChars,
                          int& Pos);
std::string FoldText(const std::string& Text, const std::string& BreakChars, int MaxCol);

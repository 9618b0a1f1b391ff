#pragma once
// Text encodings of mail: base64, RFC 2047 encoded words, header folding, content types.

#include <cstdint>
#include <memory>
#include <string>

class TStream;
class TStrings;

// Sets of characters are passed as a text listing the characters.
extern const char* const HdrBreakChars;       // tab, blank, ",", ";", ">", "]"
extern const char* const QuotedWordSpecials;  // always escaped in a "Q" word

// "text/html", "image/jpeg"... from the file name's extension; "application/octet-stream" else.
std::string ContentTypeOfFile(const std::string& FileName);

// A file stream opened with the TFileStream modes; FreeFileStream frees it and clears Stream.
std::unique_ptr<TStream> OpenFileStream(const std::string& FileName, uint16_t Mode);
void FreeFileStream(std::unique_ptr<TStream>& Stream);

std::string EncodeBase64(const std::string& Data);
// Appends 4-character groups for the 3-byte groups from Pos (1-based, advanced by 3 per group)
// while Result is shorter than MaxLen and data remain.
void EncodeBase64Part(const std::string& Data, int MaxLen, int& Pos, std::string& Result);
// One line of at most 72 base64 characters read from Stream 3 bytes at a time; More tells
// whether the last read was a full group, so that more data may follow.
std::string EncodeBase64Line(TStream* Stream, bool& More);
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
// Appends Header to List as folded lines of 76 columns, continuation lines starting with a tab.
void FoldHeaderLines(TStrings* List, const std::string& Header);
std::string FoldText(const std::string& Text, const std::string& BreakChars, int MaxCol);

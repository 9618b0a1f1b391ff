#include "net/IcsMimeUtils.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

const char* const HdrBreakChars = "\t ,;>]";
const char* const QuotedWordSpecials = " =?_";

namespace {

// The hexadecimal digits, then the base64 alphabet with the pad as entry 64.
const char HexAndBase64[] =
    "0123456789ABCDEF"
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
const char* const Base64Out = HexAndBase64 + 16;

struct DecodeTable {
  uint8_t Value[128];
  DecodeTable() {
    std::memset(Value, 255, sizeof Value);
    for (int i = 0; i <= 64; ++i) Value[uint8_t(Base64Out[i])] = uint8_t(i);
  }
};
const DecodeTable Base64In;

const char* const FoldDelimiter = "\r\n\t";

bool InSet(const std::string& set, char c) { return set.find(c) != std::string::npos; }

void EncodeGroup(const std::string& data, std::size_t i, std::string& out) {
  const std::size_t n = std::min<std::size_t>(3, data.size() - i);
  const uint32_t b0 = uint8_t(data[i]), b1 = n > 1 ? uint8_t(data[i + 1]) : 0,
                 b2 = n > 2 ? uint8_t(data[i + 2]) : 0;
  const uint32_t v = b0 << 16 | b1 << 8 | b2;
  out += Base64Out[v >> 18];
  out += Base64Out[(v >> 12) & 63];
  out += n > 1 ? Base64Out[(v >> 6) & 63] : '=';
  out += n > 2 ? Base64Out[v & 63] : '=';
}

bool DelimiterAt(const std::string& text, std::size_t i, const std::string& delimiter) {
  return !delimiter.empty() && i + delimiter.size() <= text.size() &&
         SameText(text.substr(i, delimiter.size()), delimiter);
}

}  // namespace

std::string ContentTypeOfFile(const std::string& FileName) {
  const std::size_t dot = FileName.rfind('.');
  const std::string ext =
      dot == std::string::npos ? std::string() : LowerCase(FileName.substr(dot + 1));
  if (ext == "htm" || ext == "html") return "text/html";
  if (ext == "gif") return "image/gif";
  if (ext == "bmp") return "image/bmp";
  if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
  if (ext == "txt") return "text/plain";
  return "application/octet-stream";
}

namespace {

// A file opened for reading, read ahead in large blocks so that line-sized reads cost no system
// call each; a failing read raises instead of looking like the end of the file.
class TReadAheadFileStream : public TFileStream {
 public:
  TReadAheadFileStream(const std::string& FileName, uint16_t Mode)
      : TFileStream(FileName, Mode), FBuffer(1 << 16) {}

  int64_t Read(void* Buffer, int64_t Count) override {
    char* out = static_cast<char*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
      if (FPos == FEnd && !Fill()) break;
      const int64_t n = std::min<int64_t>(Count - done, int64_t(FEnd - FPos));
      std::memcpy(out + done, FBuffer.data() + FPos, std::size_t(n));
      FPos += std::size_t(n);
      done += n;
    }
    return done;
  }
  int64_t Write(const void* Buffer, int64_t Count) override {
    Discard();
    return TFileStream::Write(Buffer, Count);
  }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    Discard();
    return TFileStream::Seek(Offset, Origin);
  }

 private:
  bool Fill() {
    FPos = FEnd = 0;
    for (;;) {
      const ssize_t n = ::read(FHandle, FBuffer.data(), FBuffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0)
        throw EReadError(
            Format("Cannot read file \"%s\". %s", {FileName(), SysErrorMessage(errno)}));
      FEnd = std::size_t(n);
      return n > 0;
    }
  }
  // Puts the file's position back where the reader is.
  void Discard() {
    if (FPos == FEnd) return;
    const int64_t unread = int64_t(FEnd - FPos);
    FPos = FEnd = 0;
    TFileStream::Seek(-unread, soCurrent);
  }

  std::vector<char> FBuffer;
  std::size_t FPos = 0, FEnd = 0;
};

}  // namespace

std::unique_ptr<TStream> OpenFileStream(const std::string& FileName, uint16_t Mode) {
  if ((Mode & fmCreate) != fmCreate && (Mode & 3) == fmOpenRead)
    return std::make_unique<TReadAheadFileStream>(FileName, Mode);
  return std::make_unique<TFileStream>(FileName, Mode);
}

void FreeFileStream(std::unique_ptr<TStream>& Stream) { Stream.reset(); }

std::string EncodeBase64Line(TStream* Stream, bool& More) {
  constexpr int64_t LineBytes = 54;  // 72 characters
  char data[LineBytes];
  int64_t got = 0;
  while (got < LineBytes) {
    const int64_t n = Stream->Read(data + got, LineBytes - got);
    if (n <= 0) break;
    got += n;
  }
  More = got == LineBytes;
  return EncodeBase64(std::string(data, std::size_t(got)));
}

std::string EncodeBase64(const std::string& Data) {
  std::string r;
  r.reserve((Data.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < Data.size(); i += 3) EncodeGroup(Data, i, r);
  return r;
}

void EncodeBase64Part(const std::string& Data, int MaxLen, int& Pos, std::string& Result) {
  while (int(Result.size()) < MaxLen && Pos >= 1 && std::size_t(Pos) <= Data.size()) {
    EncodeGroup(Data, std::size_t(Pos - 1), Result);
    Pos += 3;
  }
}

std::string DecodeBase64(const std::string& Text) {
  std::string r;
  r.reserve(Text.size() / 4 * 3);
  std::size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '\r' || Text[i] == '\n') {
      ++i;
      continue;
    }
    if (i + 4 > Text.size()) return {};
    uint8_t v[4];
    for (int k = 0; k < 4; ++k) {
      const uint8_t c = uint8_t(Text[i + k]);
      v[k] = c < 128 ? Base64In.Value[c] : 255;
      if (v[k] == 255) return {};
    }
    // The pad may only end a group: "xx==" or "xxx=".
    if (v[0] == 64 || v[1] == 64 || (v[2] == 64 && v[3] != 64)) return {};
    r += char(v[0] << 2 | v[1] >> 4);
    if (v[2] != 64) r += char((v[1] & 15) << 4 | v[2] >> 2);
    if (v[3] != 64) r += char((v[2] & 3) << 6 | v[3]);
    i += 4;
  }
  return r;
}

bool HasUnsafeChars(const std::string& Text) {
  for (unsigned char c : Text)
    if ((c < 32 || c > 126) && c != '\t' && c != '\n' && c != '\r') return true;
  return false;
}

std::string EncodeQuotedWord(const std::string& Input, int MaxLen, const std::string& Specials,
                             bool SpaceAsUnderscore, int& Pos, bool DoFold) {
  std::string r;
  if (Pos < 1) Pos = 1;
  while (std::size_t(Pos) <= Input.size()) {
    const unsigned char c = uint8_t(Input[Pos - 1]);
    std::string piece;
    if (c == ' ' && SpaceAsUnderscore)
      piece = "_";
    else if (c >= 32 && c <= 126 && c != '=' && !InSet(Specials, char(c)))
      piece = char(c);
    else
      piece = std::string("=") + HexAndBase64[c >> 4] + HexAndBase64[c & 15];
    // The piece and its soft break must stay within MaxLen; the first character of a piece is
    // always taken so that a tiny MaxLen cannot stall the caller's loop.
    if (DoFold && !r.empty() && int(r.size() + piece.size()) >= MaxLen) {
      r += '=';
      return r;
    }
    r += piece;
    ++Pos;
  }
  return r;
}

std::string HdrEncodeInLine(const std::string& Input, const std::string& Specials, char EncType,
                            const std::string& CharSet, int MaxCol, bool DoFold) {
  std::string r;
  if (DoFold && MaxCol < 25) MaxCol = 25;
  if (CharSet.size() < 4)
    throw Exception("Function 'HdrEncodeInLine', invalid CharSet: " + CharSet);
  if (EncType != 'B' && EncType != 'Q')
    throw Exception(std::string("Function 'HdrEncodeInLine', invalid EncType: ") + EncType);
  const std::string prefix = "=?" + LowerCase(CharSet) + "?" + EncType + "?";
  if (EncType == 'Q') {
    const int maxLen = MaxCol - int(prefix.size()) - 2;
    const std::string specials = Specials + QuotedWordSpecials;
    int pos = 1;
    while (std::size_t(pos) <= Input.size()) {
      std::string piece = EncodeQuotedWord(Input, maxLen, specials, true, pos, DoFold);
      if (!piece.empty() && piece.back() == '=') piece.pop_back();
      if (r.empty() && piece.empty()) return r;
      if (!r.empty()) r += "\r\n\t";
      r += prefix + piece + "?=";
    }
    return r;
  }
  r = prefix;
  int col = int(prefix.size()) + 2;
  for (std::size_t i = 0; i < Input.size(); i += 3) {
    // A word holds at least one group, whatever the prefix's length.
    if (DoFold && col + 4 > MaxCol && r.back() != '?') {
      r += "?=\r\n\t" + prefix;
      col = int(prefix.size()) + 2;
    }
    EncodeGroup(Input, i, r);
    col += 4;
  }
  return r + "?=";
}

std::string TakeFoldPiece(const std::string& Text, const std::string& Delimiter,
                          const std::string& BreakChars, int MaxCol, const std::string& QuoteChars,
                          int& Pos) {
  if (Pos < 1) Pos = 1;
  const std::size_t start = std::size_t(Pos) - 1;
  std::size_t lastBreak = std::string::npos;  // 0-based index of the last break character
  bool forced = false;
  char quote = 0;
  int col = 0;
  for (std::size_t i = start; i < Text.size(); ++i) {
    const char c = Text[i];
    if (!quote && InSet(BreakChars, c)) lastBreak = i;
    if (InSet(QuoteChars, c)) {
      if (!quote)
        quote = c;
      else if (c == quote)
        quote = 0;
    } else if (!quote && DelimiterAt(Text, i, Delimiter)) {
      i += Delimiter.size() - 1;
      lastBreak = i;
      forced = true;
    }
    ++col;
    if (quote || (!forced && (col <= MaxCol || lastBreak == std::string::npos))) continue;
    std::string piece = Text.substr(start, lastBreak + 1 - start);
    std::size_t next = lastBreak + 1;
    if (!InSet(QuoteChars, Text[lastBreak]))
      while (next < Text.size() && InSet(BreakChars, Text[next])) ++next;
    if (forced) piece.erase(piece.size() - Delimiter.size());
    Pos = int(next) + 1;
    return piece;
  }
  Pos = int(Text.size()) + 1;
  return start < Text.size() ? Text.substr(start) : std::string();
}

void FoldHeaderLines(TStrings* List, const std::string& Header) {
  int pos = 1;
  bool first = true;
  while (std::size_t(pos) <= Header.size()) {
    const std::string piece =
        Trim(TakeFoldPiece(Header, FoldDelimiter, HdrBreakChars, 76, "", pos));
    List->Add(first ? piece : "\t" + piece);
    first = false;
  }
}

std::string FoldText(const std::string& Text, const std::string& BreakChars, int MaxCol) {
  std::string r;
  int pos = 1;
  while (std::size_t(pos) <= Text.size()) {
    const std::string piece = Trim(TakeFoldPiece(Text, FoldDelimiter, BreakChars, MaxCol, "", pos));
    if (!r.empty()) r += FoldDelimiter;
    r += piece;
  }
  return r;
}

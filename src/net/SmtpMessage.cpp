#include "net/SmtpMessage.h"

#include <algorithm>
#include <ctime>
#include <random>

#include "net/IcsMimeUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

// RFC 5321 line limit without CR LF; a longer text line is sent quoted-printable.
constexpr size_t MaxTextLine = 998;

// Lines cut at CR LF, bare CR and bare LF alike.
std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> r;
  size_t p = 0;
  for (;;) {
    size_t e = Text.find_first_of("\r\n", p);
    if (e == std::string::npos) {
      r.push_back(Text.substr(p));
      break;
    }
    r.push_back(Text.substr(p, e - p));
    p = e + (Text.compare(e, 2, "\r\n") == 0 ? 2 : 1);
  }
  return r;
}

// Quoted-printable of one text line: blanks inside stay, blanks at the end are encoded, soft
// breaks keep every output line within 76 characters.
void QuotedPrintableLine(const std::string& Line, std::vector<std::string>& Out) {
  static const char hex[] = "0123456789ABCDEF";
  std::string cur;
  for (size_t i = 0; i < Line.size(); ++i) {
    uint8_t c = uint8_t(Line[i]);
    bool last = i + 1 == Line.size();
    std::string piece;
    if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
      piece = std::string(1, char(c));
    else
      piece = std::string("=") + hex[c >> 4] + hex[c & 15];
    if (cur.size() + piece.size() > 75) {
      Out.push_back(cur + "=");
      cur.clear();
    }
    cur += piece;
  }
  Out.push_back(cur);
}

std::string BaseName(const std::string& Path) {
  size_t s = Path.find_last_of("/\\");
  return s == std::string::npos ? Path : Path.substr(s + 1);
}

}  // namespace

void ParseAddress(const std::string& Text, std::string& Name, std::string& Address) {
  Name.clear();
  Address.clear();
  size_t i = 0;
  while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) ++i;
  std::string t = Text.substr(i);
  if (!t.empty() && (t[0] == '"' || t[0] == '\'')) {
    char q = t[0];
    size_t e = t.find(q, 1);
    Name = t.substr(1, e == std::string::npos ? std::string::npos : e - 1);
    std::string rest = e == std::string::npos ? "" : t.substr(e + 1);
    size_t lt = rest.find('<');
    if (lt != std::string::npos) {
      size_t gt = rest.find('>', lt);
      Address = rest.substr(lt + 1, gt == std::string::npos ? std::string::npos : gt - lt - 1);
    } else {
      Address = Trim(rest);
    }
  } else if (t.find('<') != std::string::npos) {
    size_t lt = t.find('<');
    size_t gt = t.find('>', lt);
    Name = Trim(t.substr(0, lt));
    Address = t.substr(lt + 1, gt == std::string::npos ? std::string::npos : gt - lt - 1);
  } else {
    size_t sp = t.find(' ');
    Name = t.substr(0, sp);
    Address = sp == std::string::npos ? "" : Trim(t.substr(sp));
  }
  if (Address.empty() && Name.find('@') != std::string::npos) {
    Address = Name;
    Name.clear();
  }
}

void FormatAddressHeader(TStrings* Lines, const std::string& HeaderName,
                         const std::string& Addresses, char EncType, const std::string& CharSet,
                         bool Allow8bit, bool DoFold) {
  std::vector<std::string> items;
  std::string cur;
  char quote = 0;
  for (char c : Addresses) {
    if (quote) {
      if (c == quote) quote = 0;
      cur += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
      cur += c;
    } else if (c == ',' || c == ';') {
      items.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  items.push_back(cur);
  std::string list;
  for (std::string item : items) {
    size_t b = item.find_first_not_of(" \t");
    if (b == std::string::npos) continue;
    item = item.substr(b);
    std::string name, addr;
    ParseAddress(item, name, addr);
    if (name.empty()) {
      list += addr + ",";
      continue;
    }
    std::string n;
    if (Allow8bit || !HasUnsafeChars(name)) {
      n = "\"";
      for (char c : name) {
        if (c == '"' || c == '\\') n += '\\';
        n += c;
      }
      n += "\"";
    } else {
      n = HdrEncodeInLine(name, QuotedWordSpecials, EncType, CharSet, 76 - int(HeaderName.size()),
                          DoFold);
    }
    list += n + " <" + addr + ">,";
  }
  while (!list.empty() && list.back() == ',') list.pop_back();
  std::string line = Trim(HeaderName) + " " + Trim(list);
  if (DoFold && line.size() > 76)
    FoldHeaderLines(Lines, line);
  else
    Lines->Add(line);
}

std::string Rfc822Date() {
  std::time_t now = std::time(nullptr);
  std::tm lt{};
  localtime_r(&now, &lt);
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  long off = lt.tm_gmtoff / 60;
  char sign = off < 0 ? '-' : '+';
  off = std::labs(off);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %d %s %04d %02d:%02d:%02d %c%02ld%02ld", days[lt.tm_wday],
                lt.tm_mday, months[lt.tm_mon], lt.tm_year + 1900, lt.tm_hour, lt.tm_min, lt.tm_sec,
                sign, off / 60, off % 60);
  return buf;
}

std::string NewMessageId() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm g{};
  gmtime_r(&ts.tv_sec, &g);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d%03ld.", g.tm_year + 1900, g.tm_mon + 1,
                g.tm_mday, g.tm_hour, g.tm_min, g.tm_sec, ts.tv_nsec / 1000000);
  static std::mt19937 rng{std::random_device{}()};
  std::string id = buf;
  for (int i = 0; i < 4; ++i) id += IntToHex(int64_t(rng() % 32767), 4);
  std::string host;
  try {
    host = LocalHostName();
  } catch (...) {
  }
  return id + "@" + host;
}

TSmtpCli::TSmtpCli(TComponent* AOwner) : TCustomSmtpClient(AOwner) {
  FEmailFiles = std::make_unique<TStringList>();
}

TSmtpCli::~TSmtpCli() { FAttachStream.reset(); }

void TSmtpCli::SetEmailFiles(const TStrings* Value) {
  FEmailFiles->Clear();
  if (!Value) return;
  for (int i = 0; i < Value->Count(); ++i) {
    std::string f = Trim(Value->Strings(i));
    if (f.empty()) continue;
    if (!FileExists(f)) throw SmtpException("File not found '" + f + "'");
    FEmailFiles->Add(f);
  }
}

TSmtpShareMode TSmtpCli::ShareMode() const {
  switch (FShareMode) {
    case fmShareCompat:
      return smtpShareCompat;
    case fmShareExclusive:
      return smtpShareExclusive;
    case fmShareDenyRead:
      return smtpShareDenyRead;
    case fmShareDenyNone:
      return smtpShareDenyNone;
    default:
      return smtpShareDenyWrite;
  }
}

void TSmtpCli::SetShareMode(TSmtpShareMode Value) {
  static const uint16_t modes[] = {fmShareCompat, fmShareExclusive, fmShareDenyWrite,
                                   fmShareDenyRead, fmShareDenyNone};
  FShareMode = modes[int(Value)];
}

std::string TSmtpCli::EncodingName() const {
  switch (FBodyEncoding) {
    case smtpEnc7bit:
      return "7bit";
    case smtpEnc8bit:
      return "8bit";
    case smtpEncQuotedPrintable:
      return "quoted-printable";
    case smtpEncBase64:
      return "base64";
  }
  return "7bit";
}

void TSmtpCli::TriggerAttachContentType(int FileNumber, std::string& FileName,
                                        std::string& ContentType) {
  if (OnAttachContentType) OnAttachContentType(this, FileNumber, FileName, ContentType);
}

void TSmtpCli::TriggerAttachHeader(int FileNumber, const std::string& FileName,
                                   TStrings* HdrLines) {
  if (OnAttachHeader) OnAttachHeader(this, FileNumber, FileName, HdrLines);
}

void TSmtpCli::PrepareParts() {
  FTextPartActive = true;
  FFileIndex = 0;
  FTextLineNum = 0;
  FAttachStream.reset();
  FClosingWritten = false;
  FPartLines.clear();
  FPartIndex = 0;
  FBodyEncoding = DefaultEncoding;
  std::string text;
  for (int i = 0; i < FMailMessage->Count(); ++i) {
    if (i) text += "\r\n";
    text += FMailMessage->Strings(i);
  }
  std::vector<std::string> lines =
      FMailMessage->Count() ? SplitLines(text) : std::vector<std::string>{};
  bool longLine = false;
  for (const auto& l : lines) longLine |= l.size() > MaxTextLine;
  if (!text.empty() && (FBodyEncoding == smtpEnc7bit || FBodyEncoding == smtpEnc8bit) &&
      ((!Allow8bitChars && HasUnsafeChars(text)) || longLine))
    FBodyEncoding = smtpEncQuotedPrintable;
  FTextLines.clear();
  FTextIndex = 0;
  switch (FBodyEncoding) {
    case smtpEnc7bit:
    case smtpEnc8bit:
      for (const auto& l : lines) {
        if (!WrapMessageText || l.size() <= 76) {
          FTextLines.push_back(l);
          continue;
        }
        // Wrapping breaks after a blank and keeps every character.
        std::string rest = l;
        while (rest.size() > 76) {
          size_t cut = rest.find_last_of(' ', 75);
          if (cut == std::string::npos) break;
          FTextLines.push_back(rest.substr(0, cut + 1));
          rest.erase(0, cut + 1);
        }
        FTextLines.push_back(rest);
      }
      break;
    case smtpEncQuotedPrintable:
      for (const auto& l : lines) QuotedPrintableLine(l, FTextLines);
      break;
    case smtpEncBase64: {
      std::string b = EncodeBase64(text);
      for (size_t p = 0; p < b.size(); p += 76) FTextLines.push_back(b.substr(p, 76));
      break;
    }
  }
  if (FEmailFiles->Count() == 0) {
    FBoundary.clear();
    return;
  }
  std::time_t now = std::time(nullptr);
  std::tm lt{};
  localtime_r(&now, &lt);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d%02d", lt.tm_mon + 1, lt.tm_mday,
                lt.tm_year % 100, lt.tm_hour, lt.tm_min);
  FBoundary = std::string("= Multipart Boundary ") + stamp;
  FPartLines = {"This is a multipart MIME message.",
                "",
                "--" + FBoundary,
                "Content-Type: " + FContentTypeText + "; charset=\"" + CharSet + "\"",
                "Content-Transfer-Encoding: " + EncodingName(),
                ""};
}

bool TSmtpCli::NextTextPiece(std::string& Line) {
  if (FTextIndex >= FTextLines.size()) return false;
  Line = FTextLines[FTextIndex++];
  return true;
}

void TSmtpCli::TriggerHeaderLine(std::string& Line) {
  if (!FBoundary.empty()) {
    if (UpperCase(Line.substr(0, 13)) == "CONTENT-TYPE:")
      Line = "Content-Type: multipart/mixed;\r\n\tboundary=\"" + FBoundary + "\"";
  } else if (UpperCase(Line.substr(0, 18)) == "CONTENT-TYPE: TEXT" &&
             FBodyEncoding != smtpEnc7bit) {
    Line += "\r\nContent-Transfer-Encoding: " + EncodingName();
  }
  TCustomSmtpClient::TriggerHeaderLine(Line);
}

void TSmtpCli::Data() {
  PrepareParts();
  TCustomSmtpClient::Data();
}

void TSmtpCli::Abort() {
  FAttachStream.reset();
  TCustomSmtpClient::Abort();
}

// Opens the next attachment that is not skipped and queues its part header. False when the
// message must not be completed (the file could not be used and no handler chose otherwise).
bool TSmtpCli::OpenNextFile() {
  while (FFileIndex < FEmailFiles->Count()) {
    std::string path = FEmailFiles->Strings(FFileIndex);
    TSmtpBeforeOpenFileAction before = smtpBeforeOpenFileNone;
    if (OnBeforeFileOpen) OnBeforeFileOpen(this, FFileIndex, path, before);
    if (before == smtpBeforeOpenFileNext) {
      ++FFileIndex;
      continue;
    }
    if (before == smtpBeforeOpenFileAbort) {
      FailBody("Attachment refused: " + path);
      return false;
    }
    std::string error;
    try {
      FAttachStream = OpenFileStream(path, uint16_t(fmOpenRead | FShareMode));
    } catch (Exception& E) {
      error = E.Message();
      FAttachStream.reset();
    }
    TSmtpAfterOpenFileAction after = smtpAfterOpenFileNone;
    if (OnAfterFileOpen) OnAfterFileOpen(this, FFileIndex, path, error, after);
    if (after == smtpAfterOpenFileNext) {
      FAttachStream.reset();
      ++FFileIndex;
      continue;
    }
    if (after == smtpAfterOpenFileRetry) {
      FAttachStream.reset();
      continue;
    }
    if (after == smtpAfterOpenFileAbort || !FAttachStream) {
      FAttachStream.reset();
      FailBody(error.empty() ? "Attachment refused: " + path : "Attachment failed: " + error);
      return false;
    }
    std::string name = BaseName(path);
    std::string type = ContentTypeOfFile(name);
    TriggerAttachContentType(FFileIndex, name, type);
    if ((name + type).find_first_of("\r\n") != std::string::npos) {
      FAttachStream.reset();
      FailBody("Line break in attachment name");
      return false;
    }
    if (!Allow8bitChars && HasUnsafeChars(name))
      name = HdrEncodeInLine(name, QuotedWordSpecials, FBodyEncoding == smtpEncBase64 ? 'B' : 'Q',
                             CharSet, 63, true);
    else if (name.size() > 64 && FoldHeaders)
      name = FoldText(name, " 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 63);
    FPartLines = {"--" + FBoundary,
                  "Content-Type: " + type + ";",
                  "\tname=\"" + name + "\"",
                  "Content-Transfer-Encoding: base64",
                  "Content-Disposition: attachment;",
                  "\tfilename=\"" + name + "\""};
    TStringList extra;
    TriggerAttachHeader(FFileIndex, name, &extra);
    for (int i = 0; i < extra.Count(); ++i) FPartLines.push_back(extra.Strings(i));
    FPartLines.push_back("");
    FPartIndex = 0;
    return true;
  }
  return true;
}

void TSmtpCli::TriggerGetData(int LineNum, std::string& Line, bool& More) {
  More = true;
  for (;;) {
    if (FPartIndex < FPartLines.size()) {
      Line = FPartLines[FPartIndex++];
      if (FPartIndex == FPartLines.size()) {
        FPartLines.clear();
        FPartIndex = 0;
      }
      return;
    }
    if (FTextPartActive) {
      if (NextTextPiece(Line)) return;
      ++FTextLineNum;
      std::string l;
      bool more = false;
      if (OnGetData) OnGetData(this, FTextLineNum, l, more);
      if (more) {
        Line = l;
        return;
      }
      FTextPartActive = false;
      if (FBoundary.empty()) {
        More = false;
        return;
      }
    }
    if (FAttachStream) {
      bool more = false;
      Line = EncodeBase64Line(FAttachStream.get(), more);
      if (!more) {
        FAttachStream.reset();
        ++FFileIndex;
      }
      if (!Line.empty()) return;
      continue;
    }
    if (FFileIndex < FEmailFiles->Count()) {
      if (!OpenNextFile()) {
        More = false;
        return;
      }
      continue;
    }
    // The closing boundary ends every multipart message, also when each file was skipped.
    if (!FClosingWritten) {
      FClosingWritten = true;
      FPartLines = {"", "--" + FBoundary + "--"};
      FPartIndex = 0;
      continue;
    }
    More = false;
    return;
  }
}

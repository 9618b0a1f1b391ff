#include "cd/Cddb.h"

#include <cstdio>

#include "net/HttpProt.h"
#include "net/IcsWSocket.h"
#include "net/SmtpMessage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/sys/CdTrackFiles.h"

const char* const CddbDefaultServer = "gnudb.gnudb.org";

namespace {

int Seconds(const TCDTrack& t) { return t.Minute * 60 + t.Second; }

int ReplyCode(const std::string& line) { return StrToIntDef(line.substr(0, 3), 0); }

std::string Hex8(uint32_t id, bool upper) {
  char b[16];
  std::snprintf(b, sizeof b, upper ? "%8.8X" : "%8.8x", id);
  return b;
}

}  // namespace

// ---- disc id and request text

int CDDBDigitSum(int N) {
  int sum = 0;
  for (; N > 0; N /= 10) sum += N % 10;
  return sum;
}

uint32_t ComputeDiscId(const TCDTOC& Toc) {
  uint32_t n = 0;
  for (int i = 0; i < Toc.TrackCount && i < 100; ++i) n += uint32_t(CDDBDigitSum(Seconds(Toc.Tracks[i])));
  const uint32_t t = uint32_t(Seconds(Toc.LeadOut) - Seconds(Toc.Tracks[0]));
  return ((n % 255) << 24) | (t << 8) | Toc.TrackCount;
}

std::string BuildQueryCommand(const TCDTOC& Toc) {
  std::string s = "cddb query " + Hex8(ComputeDiscId(Toc), false) + " " + std::to_string(Toc.TrackCount);
  for (int i = 0; i < Toc.TrackCount && i < 100; ++i) {
    const TCDTrack& t = Toc.Tracks[i];
    s += " " + std::to_string(t.Minute * 4500 + t.Second * 75 + t.Frame);
  }
  return s + " " + std::to_string(Seconds(Toc.LeadOut));
}

std::string CDDBURLEncode(const std::string& Text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : Text) {
    if (c == ' ')
      out += '+';
    else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      out += char(c);
    else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

std::string EmailToHelloUser(const std::string& Address) {
  std::string result;
  for (size_t at = Address.find('@'); at != std::string::npos; at = Address.find('@', at + 1))
    result = Address.substr(0, at) + " " + Address.substr(at + 1);
  return result;
}

void SplitReplyLines(TMemoryStream& Stream, TStrings& List) {
  const char* p = static_cast<const char*>(Stream.Memory());
  const size_t n = size_t(Stream.Size());
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != '\r' && p[i] != '\n') continue;
    List.Add(std::string(p + start, i - start));
    if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) List.Add(std::string(p + start, n - start));
}

// ---- the component

TCddb::TCddb(TComponent* AOwner) : TComponent(AOwner) {
  FSocket = std::make_unique<TWSocket>(nullptr);
  FSocket->SetLineMode(true);
  FSocket->SetLineEnd("\r\n");
  FSocket->SetProto("tcp");
  FSocket->SetPort("8880");
  FSocket->SetAddr(ServerAddr);
  FSocket->OnSessionConnected = [this](TObject* s, WORD e) { SocketConnected(s, e); };
  FSocket->OnSessionClosed = [this](TObject* s, WORD e) { SocketClosed(s, e); };
  FSocket->OnDataAvailable = [this](TObject* s, WORD e) { SocketDataAvailable(s, e); };

  LoadASPILayer();
  InstallCdTrackFiles();
  if (CDInterfaceUsable()) {
    InternalTOCRetrieve = true;
    if (EnumerateCDDrives(FDrives, CDInterface)) {
      ReadCDTOC(FDrives, 0, FCDInfo.TOC, CDInterface);
      FDrives.Current = 0;
    }
  }

  FHttpCli = std::make_unique<THttpCli>(nullptr);
  FHttpCli->OnCommand = [this](TObject* s, std::string& line) { HttpCommand(s, line); };
  FHttpCli->OnRequestDone = [this](TObject* s, THttpRequest r, WORD e) { HttpRequestDone(s, r, e); };
  FHttpCli->SetReplyStream(&FReceived);
  FHttpCli->SetPostStream(&FSend);

  FSmtpCli = std::make_unique<TSmtpCli>(nullptr);
  FSmtpCli->OnRequestDone = [this](TObject* s, TSmtpRequest r, WORD e) { SmtpRequestDone(s, r, e); };
  FSmtpCli->OnDisplay = [this](TObject*, const std::string& line) { Exchange(line); };
  FSmtpCli->OnHeaderLine = [this](TObject* s, std::string& line) { SmtpHeaderLine(s, line); };
  MailServerPort = FSmtpCli->Port;
}

TCddb::~TCddb() = default;

void TCddb::Status(const std::string& Text) {
  if (OnStatusMessage) OnStatusMessage(this, Text);
}

void TCddb::Exchange(const std::string& Text) {
  if (OnDataExchange) OnDataExchange(this, Text);
}

void TCddb::SetNoteToUser(const std::string& Value) { FNoteToUser = Value.substr(0, 70); }

std::string TCddb::ProxyAddress() const { return FHttpCli->Proxy; }
void TCddb::SetProxyAddress(const std::string& Value) { FHttpCli->Proxy = Value; }
std::string TCddb::ProxyPort() const { return FHttpCli->ProxyPort; }
void TCddb::SetProxyPort(const std::string& Value) { FHttpCli->ProxyPort = Value; }
std::string TCddb::ProxyUsername() const { return FHttpCli->ProxyUsername; }
void TCddb::SetProxyUsername(const std::string& Value) { FHttpCli->ProxyUsername = Value; }
std::string TCddb::ProxyPassword() const { return FHttpCli->ProxyPassword; }
void TCddb::SetProxyPassword(const std::string& Value) { FHttpCli->ProxyPassword = Value; }

bool TCddb::SelectDrive(int Index) {
  if (!InternalTOCRetrieve) {
    Status("No CD-ROM interface detected!");
    return false;
  }
  EnumerateCDDrives(FDrives, CDInterface);
  if (Index < 0 || Index >= FDrives.Count) return false;
  const bool disc = ReadCDTOC(FDrives, Index, FCDInfo.TOC, CDInterface) == 0;
  if (!disc) Status("No CD in CD/DVD drive!");
  FCDInfo.DiscId = Hex8(ComputeDiscId(FCDInfo.TOC), false);
  FDrives.Current = uint8_t(Index);
  return disc;
}

bool TCddb::RefreshTOC() { return SelectDrive(FDrives.Current); }

char TCddb::DriveLetter() {
  if (!InternalTOCRetrieve) {
    Status("No CD-ROM interface detected!");
    return 0;
  }
  const char l = FDrives.Drives[FDrives.Current].Letter;
  return (l >= 'a' && l <= 'z') ? char(l - 32) : l;
}

std::string TCddb::HelloParameters() const {
  return "&hello=" + CDDBURLEncode(EmailToHelloUser(EmailUser)) + "+" + CDDBURLEncode(ClientName) +
         "+" + CDDBURLEncode(ClientVersion) + "&proto=5";
}

int TCddb::StartGet(const std::string& Url, const std::string& StatusText, int NewState) {
  FReceived.Clear();
  FReceived.SetPosition(0);
  FHttpCli->SetReplyStream(&FReceived);
  FHttpCli->URL = Url;
  // The new state comes first: the announcement must not carry the failure of the last request.
  FState = NewState;
  Status(StatusText);
  Exchange(Url + "\r\n");
  try {
    FHttpCli->GetAsync();
  } catch (const Exception&) {
    FState = 16;
    Status("CDDB Component Internal Error: THttpCli.GetAsync failed because of error \"" +
           FHttpCli->ReplyText() + "\"");
    return -1;
  }
  return 0;
}

int TCddb::QueryDisc() {
  if (ServerType != HTTP) {
    Status("Selected server not an HTTP server");
    return -1;
  }
  const std::string url = "http://" + ServerAddr + ":" + ServerPort + ServerAdditionalAddr +
                          "?cmd=" + CDDBURLEncode(BuildQueryCommand(FCDInfo.TOC)) + HelloParameters();
  return StartGet(url, "Querying CD", 6);
}

int TCddb::ReadEntry() {
  if (FState == 5) {
    Status("Can't perform a CDDB READ without a successful CDDB QUERY!");
    return -1;
  }
  if (ServerType != HTTP) {
    Status("Selected server not an HTTP server");
    return -1;
  }
  const std::string url = "http://" + ServerAddr + ":" + ServerPort + ServerAdditionalAddr +
                          "?cmd=cddb+read+" + Trim(FCDInfo.Category) + "+" + Trim(FCDInfo.DiscId) +
                          HelloParameters();
  return StartGet(url, "Reading CD info", 11);
}

void TCddb::AbortQuery() { FHttpCli->AbortRequest(); }

void TCddb::HttpRequestDone(TObject*, THttpRequest, uint16_t Error) {
  const int state = FState;
  const std::string failed = std::string("CDDB Component Internal Error: THttpCli.") +
                             (state == 14 ? "PostAsync" : "GetAsync") + " failed because of error \"";
  if (Error != 0) {
    FState = 16;
    Status(failed + FHttpCli->ReplyText() + "\"");
    return;
  }
  // An error page (404...) is no disc database reply: reading it as one left the request
  // waiting for ever.
  const int code = FHttpCli->ReplyCode();
  if (code < 200 || code > 299) {
    FState = 16;
    Status(failed + std::to_string(code) + " " + FHttpCli->ReplyText() + "\"");
    return;
  }
  TStringList lines;
  SplitReplyLines(FReceived, lines);
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines[i];
    switch (state) {
      case 6: HandleQueryLine(line); break;
      case 7: HandleSiteLine(line); break;
      case 11: HandleReadLine(line); break;
      case 14: HandleSubmitReply(line); break;
      default: break;
    }
  }
  if ((state == 6 || state == 11) && FState == state) {
    // The reply ended before its closing ".".
    FState = 16;
    Status(failed + "Incomplete reply\"");
    return;
  }
  if (state == 11) ParseReadEntry();
}

int TCddb::HandleStatusReply(const std::string& Line) {
  const int code = ReplyCode(Line);
  std::string text;
  int flags = 0;
  switch (code) {
    case 402: text = "Server error"; flags = 258; break;
    case 408: text = "CGI environment error"; flags = 258; break;
    case 500: text = "Command syntax error, command unknown, command unimplemented"; flags = 257; break;
    case 530:
      text = "Server error, server timeout";
      FHandshaken = false;
      flags = 257;
      break;
    default:
      switch (code / 100) {
        case 1: text = "Informative message"; flags = 4; break;
        case 2: text = "Command OK"; flags = 16; break;
        case 3: text = "Command OK so far"; flags = 8; break;
        case 4: text = "Command OK, but cannot be performed"; flags = 2; break;
        case 5: text = "Command unimplemented, incorrect, or program error"; flags = 1; break;
        default: break;
      }
      switch (code % 100) {
        case 0: text += ", ready for further commands"; flags |= 256; break;
        case 10: text += ", more server-to-client output follows"; flags |= 128; break;
        case 20: text += ", more client-to-server input follows"; flags |= 64; break;
        case 30:
          text += ", connection will close";
          FState = -1;
          FHandshaken = false;
          flags |= 32;
          break;
        default: break;
      }
  }
  Status(text);
  return flags;
}

int TCddb::ChooseMatch() {
  int rightOne = 0;
  // Without a handler the first match is taken.
  if (OnMatch) OnMatch(this, FMatchLines, rightOne);
  return rightOne;
}

int TCddb::HandleQueryLine(const std::string& Line) {
  const std::string head = Line.substr(0, 3);
  if (head == "200") {
    FState = 3;
    Status("Found exact match");
    FMatchLines.fill("");
    FMatchLines[0] = Trim(Line.size() > 4 ? Line.substr(4) : "");
    const int rightOne = ChooseMatch();
    if (rightOne < 0) {
      FState = 5;
    } else {
      FCDInfo.Category = FMatchLines[0].substr(0, FMatchLines[0].find(' '));
      FCDInfo.DiscId = Hex8(ComputeDiscId(FCDInfo.TOC), true);
    }
    return 272;
  }
  if (head == "202") {
    FState = 5;
    Status("No match found");
    return 272;
  }
  if (head == "210" || head == "211") {
    Status(head == "210" ? "Found exact matches" : "Found inexact matches");
    FMatchLines.fill("");
    Status("OK, receiving matches");
    return 144;
  }
  if (head == "403") {
    FState = 5;
    Status("Database entry is corrupt");
    return 258;
  }
  if (head == "409") {
    FState = 5;
    FHandshaken = false;
    Status("No handshake");
    return 258;
  }
  if (!Line.empty() && Line[0] >= '0' && Line[0] <= '9') return HandleStatusReply(Line);
  if (Line != ".") {
    for (auto& m : FMatchLines)
      if (m.empty()) {
        m = Trim(Line);
        break;
      }
    return 144;
  }
  FState = 4;
  Status("Received matches");
  const int rightOne = ChooseMatch();
  if (rightOne < 0 || rightOne >= int(FMatchLines.size()) || FMatchLines[size_t(rightOne)].empty()) {
    FState = 5;
  } else {
    const std::string& m = FMatchLines[size_t(rightOne)];
    const size_t blank = m.find(' ');
    FCDInfo.Category = m.substr(0, blank);
    FCDInfo.DiscId = blank == std::string::npos ? "" : m.substr(blank + 1, 8);
    FState = 3;
  }
  return 272;
}

int TCddb::HandleReadLine(const std::string& Line) {
  const std::string head = Line.substr(0, 3);
  if (head == "210") {
    Status("OK, CDDB database entry follows");
    FEntryLines.fill("");
    return 144;
  }
  if (head == "401" || head == "403" || head == "409") {
    FState = 13;
    if (head == "409") FHandshaken = false;
    Status(head == "401" ? "Specified CDDB entry not found"
                         : head == "403" ? "Database entry is corrupt" : "No handshake");
    return 258;
  }
  if (head == "402") return 0;
  if (Line == ".") {
    FState = 12;
    Status("Entry read");
    return 272;
  }
  if (!Line.empty() && std::string("#TDEP").find(Line[0]) != std::string::npos) {
    // Lines past the array's end are dropped.
    for (auto& e : FEntryLines)
      if (e.empty()) {
        e = Trim(Line);
        break;
      }
    return 144;
  }
  FState = 13;
  return HandleStatusReply(Line);
}

int TCddb::ParseReadEntry() {
  const std::string category = FCDInfo.Category;
  TLocalCDDB parser;
  parser.SetClientString(ClientName + " " + ClientVersion + " " + ClientComments);
  const int result = parser.ParseEntry(FCDInfo, FEntryLines);
  if (result == -4) Status("The entry is corrupt");
  RefreshTOC();
  FCDInfo.Category = category;
  return result;
}

namespace {

template <class V>
auto Field(V TCddb::*Member) {
  return [Member](TCddb* c, V v) { c->*Member = std::move(v); };
}

}  // namespace

void RegisterCddbClasses() {
  RegisterClass<TCddb, TComponent>();
  RegisterEnumNames<TCDInterface>({"cdiAutoDetect", "cdiASPI", "cdiNTSCSI"});
  RegisterEnumNames<TLocalCDDBType>({"lctWIN", "lctUNIX"});
  RegisterEnumNames<TServerType>({"CDDBP", "HTTP"});
  RegisterEnumNames<TSubmissionType>({"TEST", "SUBMIT"});
  Published<TCddb>()
      .Property("InternalTOCRetrieve", &TCddb::InternalTOCRetrieve, Field(&TCddb::InternalTOCRetrieve))
      .Property("CDInterface", &TCddb::CDInterface, Field(&TCddb::CDInterface))
      .Property("LocalCDDBPath", &TCddb::LocalCDDBPath, Field(&TCddb::LocalCDDBPath))
      .Property("LocalCDDBDLLPath", &TCddb::LocalCDDBDLLPath, Field(&TCddb::LocalCDDBDLLPath))
      .Property("LocalCDDBType", &TCddb::LocalCDDBType, Field(&TCddb::LocalCDDBType))
      .Property("NoteToUser", &TCddb::NoteToUser, &TCddb::SetNoteToUser)
      .Property("EmailUser", &TCddb::EmailUser, Field(&TCddb::EmailUser))
      .Property("EmailSubmit", &TCddb::EmailSubmit, Field(&TCddb::EmailSubmit))
      .Property("EmailTestSubmit", &TCddb::EmailTestSubmit, Field(&TCddb::EmailTestSubmit))
      .Property("ServerAddr", &TCddb::ServerAddr, Field(&TCddb::ServerAddr))
      .Property("ServerAdditionalAddr", &TCddb::ServerAdditionalAddr, Field(&TCddb::ServerAdditionalAddr))
      .Property("ServerPort", &TCddb::ServerPort, Field(&TCddb::ServerPort))
      .Property("ServerType", &TCddb::ServerType, Field(&TCddb::ServerType))
      .Property("ServerLatitude", &TCddb::ServerLatitude, Field(&TCddb::ServerLatitude))
      .Property("ServerLongitude", &TCddb::ServerLongitude, Field(&TCddb::ServerLongitude))
      .Property("ServerDescription", &TCddb::ServerDescription, Field(&TCddb::ServerDescription))
      .Property("ProxyAddress", &TCddb::ProxyAddress, &TCddb::SetProxyAddress)
      .Property("ProxyPort", &TCddb::ProxyPort, &TCddb::SetProxyPort)
      .Property("ProxyUsername", &TCddb::ProxyUsername, &TCddb::SetProxyUsername)
      .Property("ProxyPassword", &TCddb::ProxyPassword, &TCddb::SetProxyPassword)
      .Property("SubmissionType", &TCddb::SubmissionType, Field(&TCddb::SubmissionType))
      .Property("MailServerAddress", &TCddb::MailServerAddress, Field(&TCddb::MailServerAddress))
      .Property("MailServerPort", &TCddb::MailServerPort, Field(&TCddb::MailServerPort))
      .Property("ClientName", &TCddb::ClientName, Field(&TCddb::ClientName))
      .Property("ClientVersion", &TCddb::ClientVersion, Field(&TCddb::ClientVersion))
      .Property("ClientComments", &TCddb::ClientComments, Field(&TCddb::ClientComments))
      .Property("OnStatusMessage", &TCddb::OnStatusMessage)
      .Property("OnDataExchange", &TCddb::OnDataExchange)
      .Property("OnMatch", &TCddb::OnMatch);
}

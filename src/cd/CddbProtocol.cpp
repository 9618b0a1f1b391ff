// The CDDBP line dialogue and the submission of an entry, by HTTP POST or by mail.

#include "cd/Cddb.h"
#include "net/HttpProt.h"
#include "net/IcsWSocket.h"
#include "net/SmtpMessage.h"
#include "platform/rtl/SysUtils.h"

namespace {

int ReplyCode(const std::string& line) { return StrToIntDef(line.substr(0, 3), 0); }

// A value put into a request or mail header: a line break in it would start a header line of
// its own.
std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

std::string SmtpRequestName(TSmtpRequest r) {
  switch (r) {
    case smtpConnect: return "Connect";
    case smtpHelo: return "Helo";
    case smtpMail: return "Mail";
    case smtpQuit: return "Quit";
    default: return "";
  }
}

}  // namespace

// ---- CDDBP

void TCddb::CddbpConnect() {
  FSocket->SetAddr(ServerAddr);
  FSocket->SetPort(ServerPort.empty() ? "8880" : ServerPort);
  FSocket->Connect();
}

void TCddb::SendCddbpCommand(const std::string& Command, int NewState) {
  FState = NewState;
  Exchange(Command);
  FSocket->SendLine(Command);
}

void TCddb::CddbpHello() {
  SendCddbpCommand("cddb hello " + EmailToHelloUser(EmailUser) + " " + ClientName + " " + ClientVersion, 1);
}
void TCddb::CddbpSites() { SendCddbpCommand("sites", 7); }
void TCddb::CddbpProtocolLevel() { SendCddbpCommand("proto 5", 9); }
void TCddb::CddbpQuery() { SendCddbpCommand(BuildQueryCommand(FCDInfo.TOC), 6); }
void TCddb::CddbpRead() {
  SendCddbpCommand("cddb read " + Trim(FCDInfo.Category) + " " + Trim(FCDInfo.DiscId), 11);
}
void TCddb::CddbpQuit() { SendCddbpCommand("quit", 15); }

void TCddb::SocketConnected(TObject*, uint16_t Error) {
  if (Error == 0) FState = 0;
}

void TCddb::SocketClosed(TObject*, uint16_t) {
  const int before = FState;
  FState = -1;
  if (before != -1) Status("Connection closed");
}

void TCddb::SocketDataAvailable(TObject*, uint16_t) {
  const std::string line = Trim(FSocket->ReceiveText());
  Exchange(line);
  switch (FState) {
    case 0: HandleGreeting(line); break;
    case 1: HandleHelloReply(line); break;
    case 6: HandleQueryLine(line); break;
    case 7: HandleSiteLine(line); break;
    case 9: HandleProtocolReply(line); break;
    case 11: HandleReadLine(line); break;
    case 15:
      Status("Connection closed");
      FState = -1;
      break;
    default: HandleStatusReply(line); break;
  }
}

int TCddb::HandleReplyTable(const std::string& Line, std::initializer_list<TReplyRow> Rows,
                            bool Others) {
  const int code = ReplyCode(Line);
  for (const TReplyRow& row : Rows)
    if (row.Code == code) {
      FState = row.State;
      if (row.Handshaken >= 0) FHandshaken = row.Handshaken == 1;
      Status(row.Text);
      return row.Flags;
    }
  return Others ? HandleStatusReply(Line) : 0;
}

int TCddb::HandleGreeting(const std::string& Line) {
  return HandleReplyTable(
      Line, {{200, 18, 0, "OK, read/write allowed", 272},
             {201, 17, 0, "OK, read only", 272},
             {432, -1, 0, "No connections allowed: permission denied", 34},
             {433, -1, 0, "No connections allowed: X users allowed, Y currently active", 34},
             {434, -1, 0, "No connections allowed: system load too high", 34}});
}

int TCddb::HandleHelloReply(const std::string& Line) {
  return HandleReplyTable(Line, {{200, 2, 1, "Handshake successful", 272},
                                 {402, 2, 1, "Already shook hands", 258},
                                 {431, -1, 0, "Handshake not successful, closing connection", 34}});
}

int TCddb::HandleProtocolReply(const std::string& Line) {
  return HandleReplyTable(Line, {{201, 10, -1, "OK, protocol level now: 5", 272},
                                 {501, 0, -1, "Illegal protocol level", 257},
                                 {502, 10, -1, "Protocol level already 5", 257}});
}

int TCddb::HandleSiteLine(const std::string& Line) {
  if (Line == ".") {
    FState = 8;
    Status("Got sites");
    return 272;
  }
  const std::string head = Line.substr(0, 3);
  if (head == "210") {
    Status("OK, receiving sites");
    FSites.fill(TServer());
    return 144;
  }
  if (head == "401") {
    Status("No site information available");
    FState = 19;
    return 258;
  }
  // site protocol port address latitude longitude description...
  std::string words[6];
  size_t pos = 0;
  for (auto& w : words) {
    const size_t blank = Line.find(' ', pos);
    w = Line.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
    pos = blank == std::string::npos ? Line.size() : blank + 1;
  }
  for (auto& s : FSites)
    if (s.Site.empty()) {
      s.Site = words[0];
      s.Protocol = SameText(words[1], "http") ? HTTP : CDDBP;
      s.Port = StrToIntDef(words[2], 0);
      s.Address = words[3];
      s.Location.Latitude = words[4];
      s.Location.Longitude = words[5];
      s.Location.Description = Line.substr(pos);
      break;
    }
  return 144;
}

// ---- submission

int TCddb::SubmitByHttp(const TEntryArray& Entry) {
  FSend.Clear();
  for (const std::string& line : Entry) {
    if (line.empty()) break;
    const std::string l = line + "\r\n";
    FSend.Write(l.data(), int64_t(l.size()));
  }
  FSend.SetPosition(0);
  FReceived.Clear();
  FHttpCli->SetReplyStream(&FReceived);
  FHttpCli->SetPostStream(&FSend);
  // The submission script sits beside the query script.
  const std::string folder = ServerAdditionalAddr.substr(0, ServerAdditionalAddr.rfind('/') + 1);
  FHttpCli->URL = "http://" + ServerAddr + ":" + ServerPort + folder + "submit.cgi";
  FHttpCli->ContentTypePost = "text/plain";
  Exchange(FHttpCli->URL + "\r\n");
  FState = 14;
  try {
    FHttpCli->PostAsync();
  } catch (const Exception&) {
    FState = 16;
    Status("CDDB Component Internal Error: THttpCli.PostAsync failed because of error \"" +
           FHttpCli->ReplyText() + "\"");
    return -1;
  }
  return 0;
}

void TCddb::HttpCommand(TObject*, std::string& Line) {
  if (FState != 14 || Line.compare(0, 15, "Content-Length:") != 0) return;
  Line += "\r\nCategory: " + OneLine(Trim(FCDInfo.Category)) + "\r\nDiscid: " +
          OneLine(FCDInfo.DiscId) + "\r\nUser-Email: " + OneLine(EmailUser) +
          "\r\nSubmit-Mode: " + (SubmissionType == TEST ? "test" : "submit") +
          "\r\nX-Cddbd-Note: " + OneLine(FNoteToUser);
}

int TCddb::HandleSubmitReply(const std::string& Line) {
  // Other codes change nothing.
  return HandleReplyTable(Line, {{200, 22, -1, "OK, submission has been sent.", 272},
                                 {500, 23, -1, "Missing required header information.", 257},
                                 {501, 23, -1, "Invalid header information.", 257}},
                          false);
}

void TCddb::SubmitByMail(const TEntryArray& Entry) {
  const std::string to = SubmissionType == TEST ? EmailTestSubmit : EmailSubmit;
  FSmtpCli->Host = MailServerAddress;
  FSmtpCli->Port = MailServerPort;
  FSmtpCli->FromName = OneLine(EmailUser);
  FSmtpCli->HdrFrom = OneLine(EmailUser);
  FSmtpCli->HdrTo = OneLine(to);
  FSmtpCli->HdrSubject = OneLine("cddb " + Trim(FCDInfo.Category) + " " + Trim(FCDInfo.DiscId));
  TStringList rcpt;
  rcpt.Add(OneLine(to));
  FSmtpCli->SetRcptName(&rcpt);
  TStringList body;
  for (const std::string& line : Entry) {
    if (line.empty()) break;
    body.Add(line);
  }
  FSmtpCli->SetMailMessage(&body);
  FSmtpCli->Connect();
}

void TCddb::SmtpRequestDone(TObject*, TSmtpRequest Request, uint16_t Error) {
  if (Error != 0) {
    FState = 21;
    Status("CDDB Component Internal Error: TSmtpCli." + SmtpRequestName(Request) +
           " failed because of error \"" + FSmtpCli->ErrorMessage() + "\"");
    return;
  }
  switch (Request) {
    case smtpConnect: FSmtpCli->Helo(); break;
    case smtpHelo: FSmtpCli->Mail(); break;
    case smtpMail: FSmtpCli->Quit(); break;
    case smtpQuit: Status("OK, submission has been sent."); break;
    default: break;
  }
}

void TCddb::SmtpHeaderLine(TObject*, std::string& Line) {
  if (Line.size() >= 5 && SameText(Line.substr(0, 5), "From:"))
    Line += "\r\nX-Cddbd-Note: " + OneLine(FNoteToUser);
}

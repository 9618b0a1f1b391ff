#include "net/SmtpProt.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "net/IcsMD5.h"
#include "net/IcsMimeUtils.h"
#include "net/IcsNtlmMsgs.h"
#include "net/IcsSha1.h"
#include "net/SmtpMessage.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A reply line longer than this ends the request: the reply cannot be read any further.
constexpr size_t MaxReplyLine = 4095;
// Mail data goes to the socket in pieces of about this size: one send per line would cost a
// round through the message loop for every 76 bytes.
constexpr size_t DataBatchSize = 65536;

int ReplyCodeOf(const std::string& Line) {
  size_t i = 0;
  while (i < Line.size() && Line[i] == ' ') ++i;
  bool neg = false;
  if (i < Line.size() && (Line[i] == '-' || Line[i] == '+')) neg = Line[i++] == '-';
  if (i >= Line.size() || !std::isdigit(uint8_t(Line[i]))) return 20600;
  int v = 0;
  while (i < Line.size() && std::isdigit(uint8_t(Line[i])) && v < 100000)
    v = v * 10 + (Line[i++] - '0');
  return neg ? -v : v;
}

bool IsContinuation(const std::string& Line) { return Line.size() > 3 && Line[3] == '-'; }

std::string ToHex(const uint8_t* p, size_t n) {
  static const char d[] = "0123456789abcdef";
  std::string r;
  for (size_t i = 0; i < n; ++i) {
    r += d[p[i] >> 4];
    r += d[p[i] & 15];
  }
  return r;
}

std::string Md5Of(const std::string& s) {
  TMD5Context c;
  Md5Init(c);
  Md5Update(c, s.data(), s.size());
  TMD5Digest d;
  Md5Final(d, c);
  return std::string(reinterpret_cast<char*>(d), 16);
}

// Appends Line to the mail data: each CR, LF or CR LF inside it becomes a line end of its own,
// and every line starting with "." gets a second one, so no text can end the data early.
void AppendDataLines(std::string& Out, const std::string& Line) {
  size_t p = 0;
  for (;;) {
    size_t e = Line.find_first_of("\r\n", p);
    size_t end = e == std::string::npos ? Line.size() : e;
    if (end > p && Line[p] == '.') Out += '.';
    Out.append(Line, p, end - p);
    Out += "\r\n";
    if (e == std::string::npos) return;
    p = e + (Line.compare(e, 2, "\r\n") == 0 ? 2 : 1);
  }
}

// A value that goes into a command or a header line must not hold a line break of its own: it
// would add commands or headers the caller never meant.
void CheckNoLineBreak(const std::string& Value, const char* Name) {
  if (Value.find_first_of("\r\n") != std::string::npos)
    throw SmtpException(std::string("Line break in ") + Name);
}

}  // namespace

std::string HmacMd5(const std::string& Key, const std::string& Text) {
  std::string k = Key.size() > 64 ? Md5Of(Key) : Key;
  k.resize(64, '\0');
  std::string ipad(64, '\0'), opad(64, '\0');
  for (int i = 0; i < 64; ++i) {
    ipad[i] = char(k[i] ^ 0x36);
    opad[i] = char(k[i] ^ 0x5C);
  }
  return Md5Of(opad + Md5Of(ipad + Text));
}

// ---------------------------------------------------------------------------------------------
// TCustomSmtpClient

TCustomSmtpClient::TCustomSmtpClient(TComponent* AOwner) : TIcsWndControl(AOwner) {
  AllocateWindow();
  FAuthTypesSupported = std::make_unique<TStringList>();
  FRcptName = std::make_unique<TStringList>();
  FMailMessage = std::make_unique<TStringList>();
  FHdrLines = std::make_unique<TStringList>();
  CreateSocket();
  FRequestDoneFlag = true;
}

TCustomSmtpClient::~TCustomSmtpClient() {
  TComponent::Destroying();
  if (FWSocket) {
    FWSocket->OnSessionClosed = nullptr;
    FWSocket->OnDataSent = nullptr;
    FWSocket.reset();
  }
  ShutdownWindowOnce();
}

void TCustomSmtpClient::CreateSocket() {
  FWSocket = std::make_unique<TWSocket>(nullptr);
  FWSocket->OnSessionClosed = TSessionClosed::Bind(this, &TCustomSmtpClient::SocketSessionClosed);
}

int TCustomSmtpClient::MessageCount() { return TIcsWndControl::MessageCount() + 3; }

void TCustomSmtpClient::AllocateMessages() {
  TIcsWndControl::AllocateMessages();
  FMsg_WM_SMTP_REQUEST_DONE = WndHandler()->AllocateMessage(this);
  FMsg_WM_SMTP_SEND_NEXT = WndHandler()->AllocateMessage(this);
  FMsg_WM_SMTP_SPARE = WndHandler()->AllocateMessage(this);
}

void TCustomSmtpClient::FreeMessages() {
  if (TIcsWndHandler* h = WndHandler()) {
    h->FreeMessage(FMsg_WM_SMTP_REQUEST_DONE);
    h->FreeMessage(FMsg_WM_SMTP_SEND_NEXT);
    h->FreeMessage(FMsg_WM_SMTP_SPARE);
  }
  TIcsWndControl::FreeMessages();
}

void TCustomSmtpClient::AttachToThread() {
  TIcsWndControl::AttachToThread();
  FWSocket->AttachToThread();
}

void TCustomSmtpClient::DetachFromThread() {
  FWSocket->DetachFromThread();
  TIcsWndControl::DetachFromThread();
}

void TCustomSmtpClient::WindowProcedure(TMessage& MsgRec) {
  try {
    if (MsgRec.Msg == FMsg_WM_SMTP_REQUEST_DONE) {
      FStatusCode = int(MsgRec.WParam);
      HandleRequestDoneMessage();
    } else if (MsgRec.Msg == FMsg_WM_SMTP_SEND_NEXT) {
      SendNextData();
    } else {
      TIcsWndControl::WindowProcedure(MsgRec);
    }
  } catch (Exception& E) {
    HandleEventException(E);
  }
}

void TCustomSmtpClient::HandleEventException(Exception& E) {
  bool canClose = true;
  CallBgExceptionEvent(E, canClose);
  if (canClose) {
    try {
      Abort();
    } catch (...) {
    }
  }
}

void TCustomSmtpClient::HandleRequestDoneMessage() { TriggerRequestDone(WORD(FStatusCode)); }

void TCustomSmtpClient::SetRcptName(const TStrings* Value) {
  FRcptName->Clear();
  if (Value) FRcptName->AddStrings(Value);
}

void TCustomSmtpClient::SetMailMessage(const TStrings* Value) {
  FMailMessage->Clear();
  if (Value) FMailMessage->AddStrings(Value);
}

void TCustomSmtpClient::SetContentType(TSmtpContentType Value) {
  FContentType = Value;
  FContentTypeText = Value == smtpHtml ? "text/html" : "text/plain";
}

void TCustomSmtpClient::SetState(TSmtpState Value) {
  if (FState == Value) return;
  FState = Value;
  TriggerStateChange();
}

void TCustomSmtpClient::TriggerDisplay(const std::string& Msg) {
  if (OnDisplay) OnDisplay(this, Msg);
}
void TCustomSmtpClient::TriggerCommand(const std::string& Msg) {
  if (OnCommand) OnCommand(this, Msg);
}
void TCustomSmtpClient::TriggerResponse(const std::string& Msg) {
  if (OnResponse) OnResponse(this, Msg);
}
void TCustomSmtpClient::TriggerRequestDone(WORD Error) {
  if (OnRequestDone) OnRequestDone(this, FRequestType, Error);
}
void TCustomSmtpClient::TriggerStateChange() {
  if (OnStateChange) OnStateChange(this);
}
void TCustomSmtpClient::TriggerGetData(int LineNum, std::string& Line, bool& More) {
  More = false;
  if (OnGetData) OnGetData(this, LineNum, Line, More);
}
void TCustomSmtpClient::TriggerHeaderLine(std::string& Line) {
  if (OnHeaderLine) OnHeaderLine(this, Line);
}
void TCustomSmtpClient::TriggerProcessHeader(TStrings* HdrLines) {
  if (OnProcessHeader) OnProcessHeader(this, HdrLines);
}
void TCustomSmtpClient::TriggerSessionConnected(WORD ErrCode) {
  if (OnSessionConnected) OnSessionConnected(this, ErrCode);
}
void TCustomSmtpClient::TriggerSessionClosed(WORD ErrCode) {
  if (OnSessionClosed) OnSessionClosed(this, ErrCode);
}

void TCustomSmtpClient::CheckReady() {
  if (FState != smtpReady && FState != smtpInternalReady)
    throw SmtpException("SMTP component not ready");
}

void TCustomSmtpClient::SetError(int Code, const std::string& Text) {
  FLastResponse = Text;
  FStatusCode = Code;
  if (FErrorMessage.empty()) FErrorMessage = Text;
}

void TCustomSmtpClient::RequestDone(int Status) {
  if (FRequestDoneFlag) return;
  FRequestDoneFlag = true;
  FStatusCode = Status;
  FOkHandler = nullptr;
  if (FCombined) {
    if (FState != smtpAbort) SetState(smtpInternalReady);
    RunNextStep();
    return;
  }
  SetState(smtpReady);
  PostMessage(Handle(), FMsg_WM_SMTP_REQUEST_DONE, WPARAM(Status & 0xFFFF), 0);
}

void TCustomSmtpClient::SendCommand(const std::string& Cmd) {
  TriggerCommand(Cmd);
  TriggerDisplay("> " + Cmd);
  if (FWSocket->State() == wsConnected) FWSocket->SendText(Cmd + "\r\n");
}

void TCustomSmtpClient::ExecRequest(TSmtpRequest RqType, const std::string& Cmd,
                                    std::vector<int> Expected, THandler OkHandler) {
  CheckReady();
  if (!FConnected) throw SmtpException("SMTP component not connected");
  CheckNoLineBreak(Cmd, "command");
  if (!FCombined) FRequestType = RqType;
  FExpected = std::move(Expected);
  FRequestDoneFlag = false;
  FHaveNext = true;
  FOkHandler = OkHandler;
  SetState(smtpWaitingResponse);
  SendCommand(Cmd);
}

std::string TCustomSmtpClient::SignOnName() const {
  std::string name = SignOn;
  if (name.empty()) {
    try {
      name = LocalHostName();
    } catch (...) {
      name = "localhost";
    }
  }
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

// ---------------------------------------------------------------------------------------------
// Connection

void TCustomSmtpClient::Connect() {
  CheckReady();
  if (FConnected) throw SmtpException("SMTP component already connected");
  if (!FCombined) FRequestType = smtpConnect;
  FRequestDoneFlag = false;
  FReceiveBuffer.clear();
  FReceivePos = 0;
  FDroppingLongLine = false;
  FStatusCode = 0;
  FESmtpSupported = false;
  FErrorMessage.clear();
  FLastResponse.clear();
  FRunningStep = FCombined ? FRunningStep : 2;
  SetState(smtpDnsLookup);
  FWSocket->OnDnsLookupDone = TDnsLookupDone::Bind(this, &TCustomSmtpClient::SocketDnsLookupDone);
  FWSocket->DnsLookup(Host);
}

void TCustomSmtpClient::SocketDnsLookupDone(TObject*, WORD Err) {
  TWeakLink<TCustomSmtpClient> self(this);
  if (Err != 0) {
    SetError(500, "500 " + WinsockErrorText(Err) + " (Winsock error #" + IntToStr(Err) + ")");
    TriggerSessionConnected(Err);
    if (!self) return;
    TriggerSessionClosed(Err);
    if (!self) return;
    RequestDone(Err);
    return;
  }
  FWSocket->SetAddr(FWSocket->DnsResult());
  FWSocket->SetLocalAddr(LocalAddr);
  FWSocket->SetProto("tcp");
  FWSocket->SetPort(Port);
  FWSocket->OnSessionConnected =
      TSessionConnected::Bind(this, &TCustomSmtpClient::SocketSessionConnected);
  FWSocket->OnDataAvailable = TDataAvailable::Bind(this, &TCustomSmtpClient::SocketDataAvailable);
  SetState(smtpConnecting);
  try {
    FWSocket->Connect();
  } catch (Exception& E) {
    SetError(500, "500 " + E.ClassName() + ": " + E.Message());
    RequestDone(FWSocket->LastError() ? FWSocket->LastError() : 500);
  }
}

void TCustomSmtpClient::SocketSessionConnected(TObject*, WORD Err) {
  if (Err != 0) {
    SetError(500, "500 " + WinsockErrorText(Err) + " (Winsock error #" + IntToStr(Err) + ")");
    RequestDone(Err);
    FWSocket->Close();
    if (FState != smtpReady && !FCombined) SetState(smtpReady);
    return;
  }
  FConnected = true;
  SetState(smtpWaitingBanner);
}

void TCustomSmtpClient::SocketSessionClosed(TObject*, WORD Err) {
  TWeakLink<TCustomSmtpClient> self(this);
  FConnected = false;
  FSendingData = false;
  FWSocket->OnDataSent = nullptr;
  TriggerSessionClosed(Err);
  if (!self) return;
  bool quitting = FRunningStep == 7;
  if (!FRequestDoneFlag) RequestDone(quitting ? FStatusCode : (FStatusCode ? FStatusCode : 10004));
}

void TCustomSmtpClient::SocketDataAvailable(TObject*, WORD) {
  TWeakLink<TCustomSmtpClient> self(this);
  std::string got = FWSocket->ReceiveText();
  if (got.empty()) return;
  FReceiveBuffer += got;
  // Lines are taken from a read position and the buffer is compacted once: erasing each line
  // from the front would make a long multi-line reply cost the square of its size.
  for (;;) {
    size_t nl = FReceiveBuffer.find('\n', FReceivePos);
    if (nl == std::string::npos) {
      FReceiveBuffer.erase(0, FReceivePos);
      FReceivePos = 0;
      if (FReceiveBuffer.size() > MaxReplyLine) {
        // Nothing can be understood after a reply that does not fit: the request ends and the
        // connection goes.
        FReceiveBuffer.clear();
        SetError(500, "500 Reply line too long");
        FWSocket->Abort();
      }
      return;
    }
    std::string line = FReceiveBuffer.substr(FReceivePos, nl - FReceivePos);
    FReceivePos = nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > MaxReplyLine) {
      SetError(500, "500 Reply line too long");
      FWSocket->Abort();
      return;
    }
    ProcessLine(line);
    if (!self) return;
  }
}

void TCustomSmtpClient::ProcessLine(const std::string& Line) {
  FLastResponse = Line;
  if (FRunningStep == 9 && FState == smtpWaitingResponse && Line.size() > 9) {
    // A line of blanks trims to less than the code and its separator.
    const std::string t = UpperCase(Trim(Line));
    const std::string s = t.size() > 4 ? t.substr(4) : std::string();
    if (s.compare(0, 5, "AUTH ") == 0 || s.compare(0, 5, "AUTH=") == 0) {
      std::string words = s.substr(5);
      std::replace(words.begin(), words.end(), '=', ' ');
      size_t p = 0;
      while (p < words.size()) {
        size_t b = words.find_first_not_of(' ', p);
        if (b == std::string::npos) break;
        size_t e = words.find(' ', b);
        std::string w = words.substr(b, e == std::string::npos ? std::string::npos : e - b);
        if (FAuthTypesSupported->IndexOf(w) < 0) FAuthTypesSupported->Add(w);
        p = e == std::string::npos ? words.size() : e;
      }
    }
  }
  TriggerResponse(Line);
  switch (FState) {
    case smtpWaitingBanner: {
      TriggerDisplay("< " + Line);
      if (IsContinuation(Line)) return;
      int code = ReplyCodeOf(Line);
      if (code != 220) {
        if (FErrorMessage.empty()) FErrorMessage = Line;
        FStatusCode = code;
        FWSocket->Close();
        return;
      }
      SetState(smtpConnected);
      TriggerSessionConnected(0);
      RequestDone(0);
      return;
    }
    case smtpWaitingResponse:
      if (!FHaveNext) throw SmtpException("Program error: FNext is nil");
      GotResponse();
      return;
    default:
      TriggerDisplay("< " + Line);
  }
}

void TCustomSmtpClient::GotResponse() {
  TriggerDisplay("< " + FLastResponse);
  if (IsContinuation(FLastResponse)) return;
  int code = ReplyCodeOf(FLastResponse);
  FLastReplyCode = code;
  if (FSendingData) {
    // The server answered before the end of the data: it refused the mail. What is still queued
    // must not reach it, and nothing sent later (a QUIT) may land inside the data, so the
    // connection goes and the request ends with the reply.
    FSendingData = false;
    FWSocket->OnDataSent = nullptr;
    SetError(code != 0 ? code : 500, FLastResponse);
    TWeakLink<TCustomSmtpClient> self(this);
    FWSocket->Abort();
    if (self) RequestDone(FStatusCode);
    return;
  }
  bool ok = FExpected.empty()
                ? code < 500
                : std::find(FExpected.begin(), FExpected.end(), code) != FExpected.end();
  FStatusCode = ok ? 0 : code;
  if (!ok && FErrorMessage.empty()) FErrorMessage = FLastResponse;
  if (FOkHandler) {
    THandler h = FOkHandler;
    FOkHandler = nullptr;
    (this->*h)();
  } else if (FRunningStep == 7 && FConnected && ok) {
    // The server's close ends QUIT.
  } else {
    RequestDone(FStatusCode);
  }
}

// ---------------------------------------------------------------------------------------------
// Requests

void TCustomSmtpClient::Helo() {
  FRunningStep = 1;
  ExecRequest(smtpHelo, "HELO " + SignOnName(), {250}, nullptr);
}

void TCustomSmtpClient::Ehlo() {
  FAuthTypesSupported->Clear();
  FRunningStep = 9;
  ExecRequest(smtpEhlo, "EHLO " + SignOnName(), {250}, &TCustomSmtpClient::EhloDone);
}

void TCustomSmtpClient::EhloDone() {
  if (FConnected && FStatusCode == 0) FESmtpSupported = true;
  RequestDone(FStatusCode);
}

void TCustomSmtpClient::Vrfy() {
  FRunningStep = 6;
  ExecRequest(smtpVrfy, "VRFY " + HdrTo, {250}, nullptr);
}

void TCustomSmtpClient::MailFrom() {
  FRunningStep = 3;
  CheckNoLineBreak(FromName, "FromName");
  std::string name, addr;
  ParseAddress(FromName, name, addr);
  ExecRequest(smtpMailFrom, "MAIL FROM:<" + addr + ">", {250}, nullptr);
}

void TCustomSmtpClient::RcptTo() {
  if (FRcptName->Count() == 0) throw SmtpException("RcptName list is empty");
  // All of them now: a later one is sent from a reply's event, where nothing could report it.
  for (int i = 0; i < FRcptName->Count(); ++i) CheckNoLineBreak(FRcptName->Strings(i), "RcptName");
  FRunningStep = 4;
  FRcptNameIdx = 0;
  std::string name, addr;
  ParseAddress(FRcptName->Strings(0), name, addr);
  ExecRequest(smtpRcptTo, "RCPT TO:<" + addr + ">", {250, 251}, &TCustomSmtpClient::RcptToNext);
}

void TCustomSmtpClient::RcptToNext() {
  if (FStatusCode != 0) {
    TSmtpRcptToErrorAction action = srteAbort;
    if (OnRcptToError) OnRcptToError(this, FStatusCode, FRcptNameIdx, action);
    if (action == srteAbort) {
      RequestDone(FStatusCode);
      return;
    }
    if (action == srteIgnore) {
      FStatusCode = 0;
      FErrorMessage.clear();
      ++FRcptNameIdx;
    }
  } else {
    ++FRcptNameIdx;
  }
  if (FRcptNameIdx >= FRcptName->Count()) {
    RequestDone(FStatusCode);
    return;
  }
  std::string name, addr;
  ParseAddress(FRcptName->Strings(FRcptNameIdx), name, addr);
  SetState(smtpInternalReady);
  ExecRequest(smtpRcptTo, "RCPT TO:<" + addr + ">", {250, 251}, &TCustomSmtpClient::RcptToNext);
}

void TCustomSmtpClient::BuildHeader() {
  FHdrLines->Clear();
  if (OwnHeaders) return;
  const std::pair<const std::string*, const char*> values[] = {
      {&HdrReplyTo, "HdrReplyTo"}, {&HdrReturnPath, "HdrReturnPath"},
      {&HdrFrom, "HdrFrom"},       {&HdrTo, "HdrTo"},
      {&HdrCc, "HdrCc"},           {&HdrSubject, "HdrSubject"},
      {&HdrSender, "HdrSender"},   {&CharSet, "CharSet"}};
  for (const auto& [value, name] : values) CheckNoLineBreak(*value, name);
  char encType = DefaultEncoding == smtpEncBase64 ? 'B' : 'Q';
  bool raw = Allow8bitChars && !FoldHeaders;
  auto address = [&](const std::string& name, const std::string& value) {
    std::string v = Trim(value);
    if (v.empty()) return;
    if (raw)
      FHdrLines->Add(name + " " + v);
    else
      FormatAddressHeader(FHdrLines.get(), name, v, encType, CharSet, Allow8bitChars, FoldHeaders);
  };
  address("Reply-To:", HdrReplyTo);
  address("Return-Path:", HdrReturnPath);
  address("From:", HdrFrom);
  address("To:", HdrTo);
  address("Cc:", HdrCc);
  std::string subject = Trim(HdrSubject);
  if (Allow8bitChars && !FoldHeaders) {
    FHdrLines->Add("Subject: " + subject);
  } else if (!Allow8bitChars && HasUnsafeChars(subject)) {
    FHdrLines->Add("Subject: " +
                   HdrEncodeInLine(subject, QuotedWordSpecials, encType, CharSet, 66, FoldHeaders));
  } else {
    FoldHeaderLines(FHdrLines.get(), "Subject: " + subject);
  }
  address("Sender:", HdrSender.empty() ? HdrFrom : HdrSender);
  FHdrLines->Add("Mime-Version: 1.0");
  FHdrLines->Add("Content-Type: " + FContentTypeText + "; charset=\"" + CharSet + "\"");
  FHdrLines->Add("Date: " + Rfc822Date());
  if (HdrPriority != smtpPriorityNone) {
    int p = int(HdrPriority);
    FHdrLines->Add("X-Priority: " + IntToStr(p));
    if (p <= 2) {
      FHdrLines->Add("Priority: urgent");
      FHdrLines->Add("X-MSMail-Priority: High");
    } else if (p == 3) {
      FHdrLines->Add("Priority: Normal");
      FHdrLines->Add("X-MSMail-Priority: Normal");
    } else {
      FHdrLines->Add("Priority: non-urgent");
      FHdrLines->Add("X-MSMail-Priority: Low");
    }
  }
  FHdrLines->Add("Message-ID: <" + NewMessageId() + ">");
  if (ConfirmReceipt && !Trim(HdrFrom).empty()) address("Disposition-Notification-To:", HdrFrom);
  FHdrLines->Add("X-Mailer: ICS SMTP Component V6.4");
  TriggerProcessHeader(FHdrLines.get());
  FHdrLines->Add("");
}

void TCustomSmtpClient::Data() {
  BuildHeader();
  FRunningStep = 5;
  ExecRequest(smtpData, "DATA", {354}, &TCustomSmtpClient::DataSendLines);
}

void TCustomSmtpClient::DataSendLines() {
  if (FStatusCode != 0) {
    RequestDone(FStatusCode);
    return;
  }
  FHdrIndex = 0;
  FLineNum = 0;
  FMoreData = true;
  FSendingData = true;
  FWSocket->OnDataSent = TDataSent::Bind(this, &TCustomSmtpClient::SocketDataSent);
  SendNextData();
}

void TCustomSmtpClient::SocketDataSent(TObject*, WORD) {
  if (FSendingData) SendNextData();
}

void TCustomSmtpClient::FailBody(const std::string& Text) {
  // The message is incomplete: the connection goes without the final ".", so nothing is
  // delivered, and the request ends with the reason.
  FSendingData = false;
  FWSocket->OnDataSent = nullptr;
  SetError(500, "500 " + Text);
  FWSocket->Abort();
}

// Sends the next piece of the mail data: header lines, then body lines, as many as make about
// DataBatchSize bytes; the socket's OnDataSent asks for the next piece.
void TCustomSmtpClient::SendNextData() {
  if (!FSendingData) return;
  if (!FConnected || FWSocket->State() != wsConnected) {
    FSendingData = false;
    FWSocket->OnDataSent = nullptr;
    return;
  }
  TWeakLink<TCustomSmtpClient> self(this);
  std::string piece;
  bool more = true;
  while (piece.size() < DataBatchSize) {
    std::string line;
    if (FHdrIndex < FHdrLines->Count()) {
      line = FHdrLines->Strings(FHdrIndex++);
      TriggerHeaderLine(line);
    } else {
      ++FLineNum;
      try {
        TriggerGetData(FLineNum, line, more);
      } catch (Exception& E) {
        if (self) FailBody("Message data could not be read: " + E.Message());
        return;
      }
    }
    if (!self || !FSendingData) return;
    if (!more) break;
    TriggerDisplay("> " + line);
    if (!self || !FSendingData) return;
    AppendDataLines(piece, line);
  }
  if (!piece.empty()) {
    FWSocket->SendText(piece);
    if (!self || !FSendingData) return;
  }
  if (!more) {
    FSendingData = false;
    FWSocket->OnDataSent = nullptr;
    FExpected = {250};
    FOkHandler = nullptr;
    SendCommand(".");
  }
}

void TCustomSmtpClient::Quit() {
  CheckReady();
  FRunningStep = 7;
  if (FConnected) {
    ExecRequest(smtpQuit, "QUIT", {221}, nullptr);
    return;
  }
  if (!FCombined) FRequestType = smtpQuit;
  FRequestDoneFlag = false;
  RequestDone(0);
}

void TCustomSmtpClient::Rset() {
  FRunningStep = 8;
  ExecRequest(smtpRset, "RSET", {250}, nullptr);
}

void TCustomSmtpClient::Abort() {
  FSendingData = false;
  SetState(smtpAbort);
  FWSocket->Abort();
  SetState(smtpReady);
}

// ---------------------------------------------------------------------------------------------
// Authentication

void TCustomSmtpClient::Auth() {
  FRunningStep = 10;
  if (!FCombined) FRequestType = smtpAuth;
  if (!FESmtpSupported) {
    SetError(500, "500 ESMTP not supported.");
    FRequestDoneFlag = false;
    RequestDone(500);
    return;
  }
  TSmtpAuthType mech = AuthType;
  FAutoSelect = mech == smtpAuthAutoSelect;
  if (FAutoSelect) {
    auto offered = [this](const char* m) { return FAuthTypesSupported->IndexOf(m) >= 0; };
    mech = offered("NTLM")        ? smtpAuthNtlm
           : offered("CRAM-MD5")  ? smtpAuthCramMD5
           : offered("CRAM-SHA1") ? smtpAuthCramSha1
           : offered("LOGIN")     ? smtpAuthLogin
           : offered("PLAIN")     ? smtpAuthPlain
                                  : smtpAuthCramMD5;
  }
  if (mech == smtpAuthNone) {
    SetError(500, "500 No Authentication Type Selected.");
    FRequestDoneFlag = false;
    RequestDone(500);
    return;
  }
  StartMechanism(mech);
}

void TCustomSmtpClient::StartMechanism(TSmtpAuthType Mech) {
  FAuthMech = Mech;
  switch (Mech) {
    case smtpAuthPlain:
      ExecRequest(smtpAuth,
                  "AUTH PLAIN " + EncodeBase64(std::string(1, '\0') + Username +
                                               std::string(1, '\0') + Password),
                  {235}, &TCustomSmtpClient::AuthFinished);
      break;
    case smtpAuthLogin:
      ExecRequest(smtpAuth, "AUTH LOGIN", {334}, &TCustomSmtpClient::AuthLoginUser);
      break;
    case smtpAuthCramMD5:
      ExecRequest(smtpAuth, "AUTH CRAM-MD5", {334}, &TCustomSmtpClient::AuthCramResponse);
      break;
    case smtpAuthCramSha1:
      ExecRequest(smtpAuth, "AUTH CRAM-SHA1", {334}, &TCustomSmtpClient::AuthCramResponse);
      break;
    case smtpAuthNtlm:
      ExecRequest(smtpAuth, "AUTH NTLM " + NtlmMessage1("", ""), {334},
                  &TCustomSmtpClient::AuthNtlmResponse);
      break;
    default:
      RequestDone(500);
  }
}

// The first reply of a mechanism was refused: with automatic selection 504 tries the next one.
void TCustomSmtpClient::AuthNextMechanism() {
  int code = FStatusCode;
  if (FAutoSelect && code == 504 && FAuthMech != smtpAuthPlain) {
    static const TSmtpAuthType order[] = {smtpAuthNtlm, smtpAuthCramMD5, smtpAuthCramSha1,
                                          smtpAuthLogin, smtpAuthPlain};
    auto it = std::find(std::begin(order), std::end(order), FAuthMech);
    FErrorMessage.clear();
    SetState(smtpInternalReady);
    StartMechanism(*(it + 1));
    return;
  }
  if (FAutoSelect) {
    FErrorMessage.clear();
    SetError(500, "500 Authentication Type could not be determined.");
    RequestDone(500);
    return;
  }
  RequestDone(code);
}

void TCustomSmtpClient::AuthLoginUser() {
  if (FStatusCode != 0) {
    AuthNextMechanism();
    return;
  }
  SetState(smtpInternalReady);
  ExecRequest(smtpAuth, EncodeBase64(Username), {334}, &TCustomSmtpClient::AuthLoginPass);
}

void TCustomSmtpClient::AuthLoginPass() {
  if (FStatusCode != 0) {
    RequestDone(FStatusCode);
    return;
  }
  SetState(smtpInternalReady);
  ExecRequest(smtpAuth, EncodeBase64(Password), {235}, &TCustomSmtpClient::AuthFinished);
}

void TCustomSmtpClient::AuthCramResponse() {
  if (FStatusCode != 0) {
    AuthNextMechanism();
    return;
  }
  bool md5 = FAuthMech == smtpAuthCramMD5;
  // A challenge that does not decode would be answered with a digest of nothing.
  const std::string challenge =
      FLastResponse.size() > 4 ? DecodeBase64(Trim(FLastResponse.substr(4))) : std::string();
  if (challenge.empty()) {
    SetError(500,
             std::string(md5 ? "500 Malformed MD5 Challege: " : "500 Malformed SHA1 Challege: ") +
                 FLastResponse);
    RequestDone(500);
    return;
  }
  std::string digest;
  if (md5) {
    digest = HmacMd5(Password, challenge);
  } else {
    TSha1Digest d;
    HmacSha1(challenge.data(), challenge.size(), Password.data(), Password.size(), d);
    digest.assign(reinterpret_cast<char*>(d), 20);
  }
  std::string response =
      Username + " " + ToHex(reinterpret_cast<const uint8_t*>(digest.data()), digest.size());
  SetState(smtpInternalReady);
  ExecRequest(smtpAuth, EncodeBase64(response), {235}, &TCustomSmtpClient::AuthFinished);
}

void TCustomSmtpClient::AuthNtlmResponse() {
  if (FStatusCode != 0) {
    AuthNextMechanism();
    return;
  }
  TNTLM_Msg2_Info info =
      NtlmReadMessage2(FLastResponse.size() > 4 ? Trim(FLastResponse.substr(4)) : std::string());
  if (!info.ReplyPresent) {
    SetError(500, "500 Malformed NtlmMsg2: " + FLastResponse);
    RequestDone(500);
    return;
  }
  SetState(smtpInternalReady);
  ExecRequest(smtpAuth, NtlmMessage3("", "", Username, Password, info.ServerChallenge), {235},
              &TCustomSmtpClient::AuthFinished);
}

void TCustomSmtpClient::AuthFinished() {
  if (FStatusCode != 0 && FAuthMech == smtpAuthPlain && FAutoSelect) {
    AuthNextMechanism();
    return;
  }
  RequestDone(FStatusCode);
}

// ---------------------------------------------------------------------------------------------
// Combined operations

void TCustomSmtpClient::Open() {
  if (AuthType == smtpAuthNone)
    RunCombined(smtpOpen, {2, 1});
  else
    RunCombined(smtpOpen, {2, 9, 10});
}

void TCustomSmtpClient::Mail() { RunCombined(smtpMail, {3, 4, 5}); }

void TCustomSmtpClient::RunCombined(TSmtpRequest RqType, std::vector<int> Steps) {
  if (FConnected && std::find(Steps.begin(), Steps.end(), 2) != Steps.end())
    throw SmtpException("SMTP component already connected");
  CheckReady();
  FRequestType = RqType;
  FStatusCode = 0;
  FPendingSteps = std::move(Steps);
  FRunningStep = 0;
  FSavedError = 0;
  FCombined = true;
  FLastResponse.clear();
  FErrorMessage.clear();
  RunNextStep();
}

void TCustomSmtpClient::RunNextStep() {
  auto pending = [this](int s) {
    return std::find(FPendingSteps.begin(), FPendingSteps.end(), s) != FPendingSteps.end();
  };
  if (FState == smtpAbort) {
    FPendingSteps.clear();
    FSavedError = FStatusCode = 426;
    FErrorMessage = "426 Operation aborted.";
  } else if (FStatusCode != 0) {
    if (FRunningStep == 9) {
      FPendingSteps = {1};
      FStatusCode = 0;
      FErrorMessage.clear();
    } else {
      FSavedError = FStatusCode;
      bool quit = pending(7) && FRunningStep != 7;
      FPendingSteps.clear();
      if (quit) FPendingSteps = {7};
    }
  }
  for (int step : {2, 1, 9, 10, 6, 3, 4, 5, 7}) {
    if (!pending(step)) continue;
    FPendingSteps.erase(std::find(FPendingSteps.begin(), FPendingSteps.end(), step));
    FRunningStep = step;
    try {
      switch (step) {
        case 2:
          Connect();
          break;
        case 1:
          Helo();
          break;
        case 9:
          Ehlo();
          break;
        case 10:
          Auth();
          break;
        case 6:
          Vrfy();
          break;
        case 3:
          MailFrom();
          break;
        case 4:
          RcptTo();
          break;
        case 5:
          Data();
          break;
        case 7:
          Quit();
          break;
      }
    } catch (Exception& E) {
      SetError(500, "500 " + E.Message());
      FRequestDoneFlag = false;
      RequestDone(500);
    }
    return;
  }
  FCombined = false;
  FRequestDoneFlag = false;
  RequestDone(FSavedError);
}

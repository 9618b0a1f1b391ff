#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

#include "net/IcsMimeUtils.h"
#include "net/IcsUrl.h"

namespace {

// Bounds on what a server can make us hold.
constexpr int64_t MaxHeaderBytes = 64 * 1024;
constexpr int MaxChunkDigits = 15;

const char* const StateNames[] = {"httpReady",       "httpNotConnected",  "httpConnected",
                                  "httpDnsLookup",   "httpDnsLookupDone", "httpWaitingHeader",
                                  "httpWaitingBody", "httpBodyReceived",  "httpWaitingProxyConnect",
                                  "httpClosing",     "httpAborting"};

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == Lower(prefix);
}

}  // namespace

THttpCli::THttpCli(TComponent* AOwner) : TIcsWndControl(AOwner) {
  AllocateWindow();
  FCtrlSocket = std::make_unique<TWSocket>(nullptr);
  FCtrlSocket->OnSessionClosed = TSessionClosed::Bind(this, &THttpCli::SocketSessionClosed);
  FCtrlSocket->OnDataAvailable = TDataAvailable::Bind(this, &THttpCli::SocketDataAvailable);
  FCtrlSocket->OnSessionConnected =
      TSessionConnected::Bind(this, &THttpCli::SocketSessionConnected);
  FCtrlSocket->OnDataSent = TDataSent::Bind(this, &THttpCli::SocketDataSent);
  FCtrlSocket->OnDnsLookupDone = TDnsLookupDone::Bind(this, &THttpCli::SocketDnsLookupDone);
  FCtrlSocket->OnSocksConnected = [this](TObject*, WORD e) {
    if (OnSocksConnected) OnSocksConnected(this, e);
  };
  FCtrlSocket->OnSocksError = [this](TObject*, int e, const std::string& m) {
    if (OnSocksError) OnSocksError(this, e, m);
  };
  FCtrlSocket->OnSocksAuthState = [this](TObject*, TSocksAuthState s) {
    if (OnSocksAuthState) OnSocksAuthState(this, s);
  };
  FCtrlSocket->OnError = [this](TObject*) {
    if (OnSocketError) OnSocketError(this);
  };
  FContentCodingHnd =
      std::make_unique<THttpContCodHandler>(&FRcvdStream, [this](const void* b, int n) {
        if (OnDocData) OnDocData(this, b, n);
      });
}

THttpCli::~THttpCli() {
  TComponent::Destroying();
  FBandwidthTimer.reset();
  if (FCtrlSocket) {
    FCtrlSocket->OnSessionClosed = nullptr;
    FCtrlSocket->OnDnsLookupDone = nullptr;
    FCtrlSocket.reset();
  }
  ShutdownWindowOnce();
}

int THttpCli::MessageCount() { return TIcsWndControl::MessageCount() + 3; }

void THttpCli::AllocateMessages() {
  TIcsWndControl::AllocateMessages();
  FMsg_WM_HTTP_REQUEST_DONE = WndHandler()->AllocateMessage(this);
  FMsg_WM_HTTP_SET_READY = WndHandler()->AllocateMessage(this);
  FMsg_WM_HTTP_RESTART = WndHandler()->AllocateMessage(this);
}

void THttpCli::FreeMessages() {
  if (TIcsWndHandler* h = WndHandler()) {
    h->FreeMessage(FMsg_WM_HTTP_REQUEST_DONE);
    h->FreeMessage(FMsg_WM_HTTP_SET_READY);
    h->FreeMessage(FMsg_WM_HTTP_RESTART);
  }
  TIcsWndControl::FreeMessages();
}

void THttpCli::AttachToThread() {
  TIcsWndControl::AttachToThread();
  FCtrlSocket->AttachToThread();
}

void THttpCli::DetachFromThread() {
  FCtrlSocket->DetachFromThread();
  TIcsWndControl::DetachFromThread();
}

void THttpCli::SetMultiThreaded(bool Value) {
  TIcsWndControl::SetMultiThreaded(Value);
  FCtrlSocket->SetMultiThreaded(Value);
}

void THttpCli::SetRequestVer(const std::string& Value) {
  if (Value != "1.0" && Value != "1.1") throw EHttpException("Insupported HTTP version", 5);
  FRequestVer = Value;
}

void THttpCli::WindowProcedure(TMessage& MsgRec) {
  try {
    if (MsgRec.Msg == FMsg_WM_HTTP_REQUEST_DONE) {
      if (OnRequestDone) OnRequestDone(this, FRequestType, WORD(FRequestDoneError));
    } else if (MsgRec.Msg == FMsg_WM_HTTP_SET_READY) {
      if (FReadyPosted) SetReady();
    } else if (MsgRec.Msg == FMsg_WM_HTTP_RESTART) {
      if (FRestartPosted) {
        FRestartPosted = false;
        StartRequest(true);
      }
    } else {
      TIcsWndControl::WindowProcedure(MsgRec);
    }
  } catch (Exception& E) {
    HandleEventException(E);
  }
}

void THttpCli::StateChange(THttpState NewState) {
  if (FState == NewState) return;
  FState = NewState;
  TWeakLink<THttpCli> self(this);
  Trace(std::string("State = ") + StateNames[int(NewState)]);
  if (self && OnStateChange) OnStateChange(this);
}

void THttpCli::Trace(const std::string& Line) {
  TIcsLogger* logger = FCtrlSocket ? FCtrlSocket->IcsLogger() : nullptr;
  if (logger && logger->LogOptions().Contains(loProtSpecInfo))
    logger->WriteLine(this, loProtSpecInfo, Line);
  if (OnTrace) OnTrace(this, Line);
}

// ---------------------------------------------------------------------------------------------
// Starting requests

void THttpCli::GetAsync() { StartRequest(httpGET, false); }
void THttpCli::PostAsync() { StartRequest(httpPOST, false); }
void THttpCli::PutAsync() { StartRequest(httpPUT, false); }
void THttpCli::HeadAsync() { StartRequest(httpHEAD, false); }
void THttpCli::CloseAsync() { DoRequestAsync(httpCLOSE); }

void THttpCli::Get() { StartRequest(httpGET, true); }
void THttpCli::Post() { StartRequest(httpPOST, true); }
void THttpCli::Put() { StartRequest(httpPUT, true); }
void THttpCli::Head() { StartRequest(httpHEAD, true); }

// A request the caller starts (not a relocation) counts its relocations from zero.
void THttpCli::StartRequest(THttpRequest Rq, bool Wait) {
  FLocationChangeCurCount = 0;
  if (Wait)
    DoRequestSync(Rq);
  else
    DoRequestAsync(Rq);
}

void THttpCli::DoRequestSync(THttpRequest Rq) {
  DoRequestAsync(Rq);
  TWeakLink<THttpCli> self(this);
  while (self && FState != httpReady) {
    if (MultiThreaded()) {
      FCtrlSocket->ProcessPendingMessages();
      Sleep(0);
      continue;
    }
    // Wait (at most a second) for something to happen, then run what came.
    QTimer::singleShot(1000, [] {});
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    IcsProcessApplicationMessages();
    if (IcsApplicationTerminated()) {
      AbortRequest();
      break;
    }
  }
  if (!self) return;
  if (FStatusCode > 399 && FStatusCode != 401 && FStatusCode != 407)
    throw EHttpException(FReasonPhrase, FStatusCode);
}

void THttpCli::DoRequestAsync(THttpRequest Rq) {
  if (Rq != httpCLOSE && FState != httpReady)
    throw EHttpException("HTTP component " + Name() + " is busy", 1);
  if ((Rq == httpPOST || Rq == httpPUT) && !FSendStream)
    throw EHttpException("HTTP component has nothing to post or put", 2);
  FRequestType = Rq;
  FRequestDoneError = 0;
  FReadyPosted = FRestartPosted = false;
  if (Rq == httpCLOSE) {
    FStatusCode = 200;
    FReasonPhrase = "OK";
    StateChange(httpClosing);
    if (FCtrlSocket->State() == wsClosed)
      PostSetReady();
    else
      FCtrlSocket->Close();
    return;
  }
  FTargetURL = URL;
  {
    std::string proto, user, pass, port, path;
    ParseURL(URL, proto, user, pass, FOriginHost, port, path);
    FOriginProto = proto.empty() ? "http" : proto;
    FOriginPort = port.empty() ? "80" : port;
  }
  StartRequest(false);
}

void THttpCli::ResetReply(bool KeepLocation) {
  FRcvdHeader.clear();
  FStatusCode = 0;
  FReasonPhrase.clear();
  FContentLength = -1;
  FRcvdBodyLen = 0;
  FContentType.clear();
  FTransferEncoding.clear();
  FContentEncoding.clear();
  FReplyVer.clear();
  if (!KeepLocation) FLocation = FTargetURL;
  FDoAuthor.clear();
  FCloseReq = FRequestVer == "1.0";
  FLocationFlag = false;
  FRelocAfterClose = false;
  FBodyStarted = FBodyDone = FHeaderDone = false;
  FRcvdCount = 0;
  FHeaderBytes = 0;
  FHeaderLineCount = 0;
  FChunkLength = FChunkRcvd = 0;
  FChunkState = FChunkDigits = 0;
  FSentCount = 0;
}

void THttpCli::PrepareTarget(const std::string& Url) {
  std::string proto, user, pass, host, port, path;
  ParseURL(Url, proto, user, pass, host, port, path);
  if (proto.empty()) proto = "http";
  FProtocol = proto;
  FTargetHost = host;
  FTargetPort = port;
  if (Proxy.empty()) {
    FHostName = host;
    FPort = port.empty() ? "80" : port;
    FPath = path.empty() ? "/" : path;
  } else {
    // The proxy is reached on its own port whatever port the document names.
    FHostName = Proxy;
    FPort = ProxyPort.empty() ? "80" : ProxyPort;
    FPath = proto + "://" + host + (port.empty() ? "" : ":" + port) + path;
  }
  FCurrUsername = Username;
  FCurrPassword = Password;
  if (!user.empty() || !pass.empty()) {
    FCurrUsername = user;
    FCurrPassword = pass;
  } else if (proto != FOriginProto || !SameText(host, FOriginHost) ||
             (port.empty() ? "80" : port) != FOriginPort) {
    // A relocation to another server must not hand it the credentials meant for the first.
    FCurrUsername.clear();
    FCurrPassword.clear();
    FAuthBasicState = FAuthNTLMState = 0;
  }
  FDocName = DeriveDocName(path);
}

std::string THttpCli::DeriveDocName(const std::string& Path) const {
  std::string p = Path.substr(0, Path.find('?'));
  if (p.empty() || p.back() == '/') return "document.htm";
  size_t slash = p.rfind('/');
  std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  return name.empty() ? "document.htm" : name;
}

void THttpCli::StartRequest(bool Restart) {
  ResetReply(Restart);
  if (Restart) FTargetURL = FLocation;
  PrepareTarget(FTargetURL);
  bool sameTarget = FConnected && FCtrlSocket->State() == wsConnected &&
                    FConnectedHost == FHostName && FConnectedPort == FPort &&
                    FConnectedProto == FProtocol;
  // Credentials sent before any challenge.
  if (!Proxy.empty() && !ProxyUsername.empty() && !ProxyPassword.empty() && !sameTarget) {
    if (ProxyAuth == httpAuthNtlm && FProxyAuthNTLMState == 0) {
      FProxyAuthNTLMState = 1;
      if (FRequestVer == "1.0") ProxyConnection = "Keep-alive";
    } else if (ProxyAuth == httpAuthBasic && FProxyAuthBasicState == 0) {
      FProxyAuthBasicState = 1;
    }
  }
  if (!FCurrUsername.empty() && !FCurrPassword.empty() && !sameTarget) {
    if (ServerAuth == httpAuthNtlm && FAuthNTLMState == 0) {
      FAuthNTLMState = 1;
      if (FRequestVer == "1.0") Connection = "Keep-alive";
    } else if (ServerAuth == httpAuthBasic && FAuthBasicState == 0) {
      FAuthBasicState = 1;
    }
  }
  StartBandwidthControl();
  FSentOnKeptConnection = sameTarget;
  if (sameTarget) {
    StateChange(httpWaitingHeader);
    static const char* const methods[] = {"", "GET", "POST", "PUT", "HEAD", ""};
    SendRequest(methods[int(FRequestType)], FRequestVer);
    return;
  }
  if (FCtrlSocket->State() != wsClosed) FCtrlSocket->Abort();
  FConnected = false;
  StateChange(httpNotConnected);
  StateChange(httpDnsLookup);
  try {
    FCtrlSocket->DnsLookup(FHostName);
  } catch (Exception& E) {
    FStatusCode = 404;
    FReasonPhrase = E.Message();
    FRequestDoneError = FCtrlSocket->LastError() ? FCtrlSocket->LastError() : WSAHOST_NOT_FOUND;
    SetReady();
  }
}

void THttpCli::SocketDnsLookupDone(TObject*, WORD Err) {
  if (FState != httpDnsLookup) return;
  if (Err != 0) {
    FStatusCode = 404;
    FReasonPhrase = "can't resolve hostname to IP address";
    SocketSessionClosed(nullptr, Err);
    return;
  }
  StateChange(httpDnsLookupDone);
  FCtrlSocket->SetAddr(FCtrlSocket->DnsResult());
  FCtrlSocket->SetLocalAddr(LocalAddr);
  FCtrlSocket->SetPort(FPort);
  FCtrlSocket->SetProto("tcp");
  FCtrlSocket->SetSocksServer(SocksServer);
  if (!SocksServer.empty()) {
    FCtrlSocket->SetSocksLevel(SocksLevel);
    FCtrlSocket->SetSocksPort(SocksPort);
    FCtrlSocket->SetSocksUsercode(SocksUsercode);
    FCtrlSocket->SetSocksPassword(SocksPassword);
    FCtrlSocket->SetSocksAuthentication(SocksAuthentication);
  }
  FConnectedHost = FHostName;
  FConnectedPort = FPort;
  FConnectedProto = FProtocol;
  if (FProtocol != "http") {
    FStatusCode = 501;
    FReasonPhrase = "Protocol \"" + FProtocol + "\" not implemented";
    FRequestDoneError = WSAEPROTONOSUPPORT;
    SetReady();
    return;
  }
  try {
    FCtrlSocket->Connect();
  } catch (Exception&) {
    FStatusCode = 404;
    int e = FCtrlSocket->LastError();
    FReasonPhrase = "can't connect: " + WinsockErrorText(e) + " (Error #" + IntToStr(e) + ")";
    FRequestDoneError = e ? e : WSAECONNREFUSED;
    SetReady();
  }
}

void THttpCli::SocketSessionConnected(TObject*, WORD Err) {
  if (Err != 0) {
    FStatusCode = 404;
    FReasonPhrase = WinsockErrorText(Err) + " (Error #" + IntToStr(Err) + ")";
    FRequestDoneError = Err;
    FConnected = false;
    if (OnSessionConnected) OnSessionConnected(this, Err);
    return;
  }
  FConnected = true;
  StateChange(httpConnected);
  if (OnSessionConnected) OnSessionConnected(this, 0);
  StateChange(httpWaitingHeader);
  static const char* const methods[] = {"", "GET", "POST", "PUT", "HEAD", ""};
  SendRequest(methods[int(FRequestType)], FRequestVer);
}

std::string THttpCli::RfcDate(TDateTime Local) const {
  // The stored time is local; the header speaks GMT.
  uint16_t y, mo, d, h, mi, s, ms;
  DecodeDate(Local, y, mo, d);
  DecodeTime(Local, h, mi, s, ms);
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  std::tm g{};
  gmtime_r(&t, &g);
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %2.2d %s %4.4d %2.2d:%2.2d:%2.2d GMT", days[g.tm_wday],
                g.tm_mday, months[g.tm_mon], g.tm_year + 1900, g.tm_hour, g.tm_min, g.tm_sec);
  return buf;
}

void THttpCli::SendRequest(const std::string& Method, const std::string& Version) {
  if (OnRequestHeaderBegin) OnRequestHeaderBegin(this);
  std::vector<std::string> h;
  auto add = [&h](const std::string& name, const std::string& value) {
    if (!value.empty()) h.push_back(name + value);
  };
  bool body = Method == "POST" || Method == "PUT";
  h.push_back(Method + " " + FPath + " HTTP/" + Version);
  add("From: ", Sender);
  add("Accept: ", Accept);
  add("Referer: ", Reference);
  add("Connection: ", Connection);
  add("Accept-Language: ", AcceptLanguage);
  if (Method != "HEAD" && Options.Contains(httpoEnableContentCoding)) {
    FContentCodingHnd->SetEnabled(true);
    FContentCodingHnd->SetUseQuality(Options.Contains(httpoUseQuality));
    add("Accept-Encoding: ", FContentCodingHnd->HeaderText());
  }
  if (body) add("Content-Type: ", ContentTypePost);
  add("User-Agent: ", Agent);
  add("Host: ",
      FTargetHost + (!FTargetPort.empty() && FTargetPort != "80" ? ":" + FTargetPort : ""));
  if (NoCache) h.push_back("Pragma: no-cache");
  add("Proxy-Connection: ", ProxyConnection);
  if (body) {
    int64_t len = 0;
    if (FAuthNTLMState != 1 && FProxyAuthNTLMState != 1 && FSendStream)
      len = FSendStream->Size() - FSendStream->Position();
    h.push_back("Content-Length: " + IntToStr(len));
  }
  if (ModifiedSince != 0) h.push_back("If-Modified-Since: " + RfcDate(ModifiedSince));
  if (FProxyAuthNTLMState != 1) {
    if (FAuthNTLMState == 1)
      h.push_back("Authorization: NTLM " + NtlmMessage1("", ""));
    else if (FAuthNTLMState == 3)
      h.push_back("Authorization: NTLM " + NtlmMessage3(
                                               FNTLMMsg2Info.NetbiosDomain,
                                               [] {
                                                 try {
                                                   return LocalHostName();
                                                 } catch (...) {
                                                   return std::string();
                                                 }
                                               }(),
                                               FCurrUsername, FCurrPassword,
                                               FNTLMMsg2Info.ServerChallenge));
    else if (FAuthBasicState == 1)
      h.push_back("Authorization: Basic " + EncodeBase64(FCurrUsername + ":" + FCurrPassword));
  }
  if (FProxyAuthNTLMState == 1)
    h.push_back("Proxy-Authorization: NTLM " + NtlmMessage1("", ""));
  else if (FProxyAuthNTLMState == 3)
    h.push_back("Proxy-Authorization: NTLM " + NtlmMessage3(FProxyNTLMMsg2Info.NetbiosDomain, "",
                                                            ProxyUsername, ProxyPassword,
                                                            FProxyNTLMMsg2Info.ServerChallenge));
  else if (FProxyAuthBasicState == 1)
    h.push_back("Proxy-Authorization: Basic " + EncodeBase64(ProxyUsername + ":" + ProxyPassword));
  add("Cookie: ", Cookie);
  if (!ContentRangeBegin.empty() || !ContentRangeEnd.empty()) {
    h.push_back("Range: bytes=" + ContentRangeBegin + "-" + ContentRangeEnd);
    ContentRangeBegin.clear();
    ContentRangeEnd.clear();
    FAcceptRanges.clear();
  }
  if (OnBeforeHeaderSend) OnBeforeHeaderSend(this, Method, h);
  std::string out;
  for (std::string line : h) {
    if (OnCommand) OnCommand(this, line);
    out += line;
    out += "\r\n";
  }
  if (OnRequestHeaderEnd) OnRequestHeaderEnd(this);
  std::string last;
  if (OnCommand) OnCommand(this, last);
  out += last + "\r\n";
  FCtrlSocket->SendText(out);
  if (body && FAuthNTLMState != 1 && FProxyAuthNTLMState != 1 && FSendStream) {
    if (OnSendBegin) OnSendBegin(this);
    SendBodyPiece();
  }
}

void THttpCli::SendBodyPiece() {
  if (!FSendStream || FState == httpReady) return;
  char buf[8192];
  int64_t n = FSendStream->Read(buf, sizeof buf);
  if (n <= 0) {
    if (OnSendEnd) OnSendEnd(this);
    return;
  }
  FSentCount += n;
  if (OnSendData) OnSendData(this, buf, int(n));
  FCtrlSocket->Send(buf, int(n));
}

void THttpCli::SocketDataSent(TObject*, WORD) {
  if ((FRequestType == httpPOST || FRequestType == httpPUT) && FSendStream && FAuthNTLMState != 1 &&
      FProxyAuthNTLMState != 1 && (FState == httpWaitingHeader || FState == httpWaitingBody) &&
      FSentCount > 0 && FSendStream->Position() < FSendStream->Size())
    SendBodyPiece();
}

// ---------------------------------------------------------------------------------------------
// Receiving

// Whatever a handler or the reply stream raises while a reply is taken in ends the request here,
// with its text; left to the socket, it would only close the connection, and a body that ends
// with the connection would then pass as complete.
void THttpCli::SocketDataAvailable(TObject*, WORD) {
  TWeakLink<THttpCli> self(this);
  try {
    ReceiveAvailable();
  } catch (Exception& E) {
    if (self && FState != httpReady) ReplyDamaged(E.Message(), httperrDocNotStored);
  }
}

void THttpCli::ReceiveAvailable() {
  if (FRcvBuf.size() < size_t(FRcvdCount) + 8192 + 1) FRcvBuf.resize(size_t(FRcvdCount) + 8192 + 1);
  int n = FCtrlSocket->Receive(FRcvBuf.data() + FRcvdCount, 8192);
  if (n <= 0) return;
  if (FState == httpReady || FState == httpAborting || FState == httpClosing) return;
  if (Options.Contains(httpoBandwidthControl)) {
    FBandwidthCount += n;
    if (FBandwidthCount > FBandwidthMaxCount && !FBandwidthPaused) {
      FBandwidthPaused = true;
      FCtrlSocket->Pause();
    }
  }
  FRcvdCount += n;
  ReceiveBytes();
}

void THttpCli::ReceiveBytes() {
  TWeakLink<THttpCli> self(this);
  while (FState != httpWaitingBody && FRcvdCount > 0) {
    // Bytes after a reply that has no body belong to no request: read as header lines they
    // would make a second reply and a second completion.
    if (FState != httpWaitingHeader || FHeaderDone) {
      FRcvdCount = 0;
      return;
    }
    uint8_t* b = FRcvBuf.data();
    uint8_t* nl = static_cast<uint8_t*>(std::memchr(b, '\n', size_t(FRcvdCount)));
    if (!nl) {
      if (FHeaderBytes + FRcvdCount > MaxHeaderBytes) ReplyDamaged("Reply header too long");
      return;
    }
    int len = int(nl - b);
    std::string line(reinterpret_cast<char*>(b), size_t(len));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::memmove(b, nl + 1, size_t(FRcvdCount - len - 1));
    FRcvdCount -= len + 1;
    FHeaderBytes += len + 1;
    if (FHeaderBytes > MaxHeaderBytes) {
      ReplyDamaged("Reply header too long");
      return;
    }
    ParseHeaderLine(line);
    if (!self) return;
  }
  if (FState == httpWaitingBody && FRcvdCount > 0) {
    int n = FRcvdCount;
    FRcvdCount = 0;
    std::vector<uint8_t> chunk(FRcvBuf.begin(), FRcvBuf.begin() + n);
    BodyBytes(chunk.data(), n);
  }
}

void THttpCli::ParseHeaderLine(const std::string& Line) {
  TWeakLink<THttpCli> self(this);
  if (FHeaderLineCount == 0) {
    if (OnHeaderBegin) OnHeaderBegin(this);
    if (!self) return;
    if (!Line.empty() && Line[0] == '<' &&
        (StartsWithNoCase(Line, "<HTML>") || StartsWithNoCase(Line, "<!DOCTYPE"))) {
      if (FContentType.empty()) FContentType = "text/html";
      FHeaderDone = true;
      StateChange(httpWaitingBody);
      std::string first = Line + "\r\n";
      BodyBytes(reinterpret_cast<const uint8_t*>(first.data()), int(first.size()));
      return;
    }
  }
  if (Line.empty()) {
    if (FReplyVer == "1.1" && FStatusCode == 100) {
      FRcvdHeader.clear();
      FHeaderLineCount = 0;
      return;
    }
    HeaderEnded();
    return;
  }
  ++FHeaderLineCount;
  FRcvdHeader.push_back(Line);
  if (OnHeaderData) OnHeaderData(this);
  if (!self) return;
  if (FHeaderLineCount == 1) {
    // Without a status line nothing tells what the rest is: passing it on as a reply would
    // report success with no status at all.
    if (Line.compare(0, 8, "HTTP/1.0") != 0 && Line.compare(0, 8, "HTTP/1.1") != 0) {
      if (OnDataPush2) OnDataPush2(this, Line);
      if (self) ReplyDamaged("The reply has no HTTP/1.x status line");
      return;
    }
    size_t i = 9;
    while (i < Line.size() && !std::isdigit(uint8_t(Line[i]))) ++i;
    std::string code = Line.substr(std::min(i, Line.size()), 3);
    if (code.size() != 3 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return std::isdigit(uint8_t(c)); })) {
      ReplyDamaged("The reply's status line has no status code");
      return;
    }
    FReplyVer = Line.substr(5, 3);
    FCloseReq = FRequestVer == "1.0" || FReplyVer == "1.0";
    FStatusCode = std::stoi(code);
    FReasonPhrase = i + 4 <= Line.size() ? Line.substr(i + 4) : "";
    return;
  }
  size_t colon = Line.find(':');
  if (colon == std::string::npos) return;
  std::string name = Lower(Line.substr(0, colon));
  size_t v = colon + 1;
  while (v < Line.size() && Line[v] == ' ') ++v;
  std::string value = Line.substr(v);
  if (name == "content-length") {
    std::string t = Trim(value);
    int64_t len = 0;
    bool ok = !t.empty() && t.size() <= 18;
    for (char c : t) ok = ok && std::isdigit(uint8_t(c));
    if (ok)
      for (char c : t) len = len * 10 + (c - '0');
    // A negative or unreadable length counts as not announced.
    FContentLength = ok ? len : -1;
  } else if (name == "transfer-encoding") {
    FTransferEncoding = Lower(value);
  } else if (name == "content-range") {
    size_t dash = value.find('-'), slash = value.find('/');
    ContentRangeBegin =
        value.size() > 6 && dash != std::string::npos ? value.substr(6, dash - 6) : "";
    ContentRangeEnd = dash != std::string::npos && slash != std::string::npos && slash > dash
                          ? value.substr(dash + 1, slash - dash - 1)
                          : "";
  } else if (name == "accept-ranges") {
    FAcceptRanges = value;
  } else if (name == "content-type") {
    FContentType = Lower(value);
  } else if (name == "www-authenticate" || name == "proxy-authenticate") {
    FDoAuthor.push_back(value);
  } else if (name == "set-cookie") {
    bool accept = true;
    if (OnCookie) OnCookie(this, value, accept);
  } else if (name == "connection" || name == "proxy-connection") {
    std::string t = Lower(Trim(value));
    if (t == "close")
      FCloseReq = true;
    else if (t == "keep-alive")
      FCloseReq = false;
  } else if (name == "content-encoding") {
    FContentEncoding = value;
  } else if (name == "location") {
    if (FRequestType == httpPUT) {
      FLocation = value;
    } else if (FollowRelocation) {
      FLocationFlag = true;
      ResolveLocation(value);
    }
  }
}

void THttpCli::ResolveLocation(const std::string& Value) {
  if (StartsWithNoCase(Value, "http://") || StartsWithNoCase(Value, "https://")) {
    std::string proto, user, pass, host, port, path;
    ParseURL(Value, proto, user, pass, host, port, path);
    FNewProto = proto.empty() ? "http" : proto;
    FNewHost = host;
    FNewPort = port;
    FNewPath = path.empty() ? "/" : path;
    if (!user.empty() && !pass.empty()) {
      FCurrUsername = user;
      FCurrPassword = pass;
    }
  } else {
    FNewProto = FProtocol.empty() ? "http" : FProtocol;
    FNewHost = FTargetHost;
    FNewPort = FTargetPort;
    std::string cur;
    {
      std::string proto, user, pass, host, port, path;
      ParseURL(FTargetURL, proto, user, pass, host, port, path);
      cur = path.empty() ? "/" : path;
    }
    if (!Value.empty() && Value[0] == '/') {
      FNewPath = Value;
    } else {
      std::string base = cur.substr(0, cur.find('?'));
      size_t cut = base.find_last_of("/:");
      FNewPath = (cut == std::string::npos ? "/" : base.substr(0, cut + 1)) + Value;
    }
  }
  FLocation = FNewProto + "://" + FNewHost + (FNewPort.empty() ? "" : ":" + FNewPort) + FNewPath;
}

void THttpCli::HeaderEnded() {
  TWeakLink<THttpCli> self(this);
  FHeaderDone = true;
  if (OnHeaderEnd) OnHeaderEnd(this);
  if (!self || FState == httpReady) return;
  bool chunked = FTransferEncoding == "chunked";
  bool noBody =
      FContentLength == 0 || FRequestType == httpHEAD ||
      (FContentLength < 0 && !chunked &&
       (FStatusCode < 200 || FStatusCode == 204 || FStatusCode == 301 || FStatusCode == 302 ||
        FStatusCode == 304 || FStatusCode == 401 || FStatusCode == 407));
  if (noBody) {
    FBodyDone = true;
    if (!FCloseReq && FCtrlSocket->State() == wsConnected) {
      if (FLocationFlag)
        StartRelocation();
      else
        PostSetReady();
    } else {
      if (FRequestType == httpHEAD) StateChange(httpWaitingBody);
      FCtrlSocket->Close();
    }
    return;
  }
  if (FContentType == "text/html") {
    size_t dot = FDocName.rfind('.');
    if (dot == std::string::npos)
      FDocName += ".htm";
    else if (Lower(FDocName.substr(dot)) == ".exe")
      FDocName = FDocName.substr(0, dot) + ".htm";
  }
  StateChange(httpWaitingBody);
  if (FRcvdCount > 0) {
    int n = FRcvdCount;
    FRcvdCount = 0;
    std::vector<uint8_t> chunk(FRcvBuf.begin(), FRcvBuf.begin() + n);
    BodyBytes(chunk.data(), n);
  }
}

void THttpCli::BodyBytes(const uint8_t* Data, int Len) {
  TWeakLink<THttpCli> self(this);
  if (FRequestType == httpHEAD) {
    FCtrlSocket->Abort();
    return;
  }
  if (FBodyDone) return;
  if (!FBodyStarted) {
    FBodyStarted = true;
    FChunkLength = FChunkRcvd = 0;
    FChunkState = FChunkDigits = 0;
    if (OnDocBegin) OnDocBegin(this);
    if (!self) return;
    if (Options.Contains(httpoEnableContentCoding))
      FContentCodingHnd->Prepare(FContentEncoding);
    else
      FContentCodingHnd->Prepare("");
    FReceiveStreamStart = FRcvdStream ? FRcvdStream->Size() : 0;
  }
  if (FTransferEncoding != "chunked") {
    int n = Len;
    if (FContentLength >= 0) n = int(std::min<int64_t>(n, FContentLength - FRcvdBodyLen));
    if (n > 0) {
      FRcvdBodyLen += n;
      StoreBody(Data, n);
      if (!self) return;
    }
    if (FContentLength >= 0 && FRcvdBodyLen >= FContentLength) DocumentEnd();
    return;
  }
  int i = 0;
  while (i < Len && !FBodyDone) {
    uint8_t c = Data[i];
    switch (FChunkState) {
      case 0:
        if (IsHexDigit(char(c))) {
          if (++FChunkDigits > MaxChunkDigits) {
            ReplyDamaged("Bad chunk size");
            return;
          }
          FChunkLength = FChunkLength * 16 + HexDigitValue(char(c));
          ++i;
        } else {
          if (FChunkDigits == 0) {
            ReplyDamaged("Bad chunk size");
            return;
          }
          FChunkState = 1;
        }
        break;
      case 1:
        ++i;
        if (c == '\n') {
          FChunkRcvd = 0;
          FChunkState = FChunkLength == 0 ? 4 : 2;
          FTrailerLineLen = 0;
        }
        break;
      case 2: {
        int n = int(std::min<int64_t>(Len - i, FChunkLength - FChunkRcvd));
        FRcvdBodyLen += n;
        FChunkRcvd += n;
        StoreBody(Data + i, n);
        if (!self) return;
        i += n;
        if (FChunkRcvd >= FChunkLength) FChunkState = 3;
        break;
      }
      case 3:
        ++i;
        if (c == '\n') {
          FChunkState = 0;
          FChunkLength = 0;
          FChunkDigits = 0;
        }
        break;
      default:
        // Trailer lines after the last chunk, up to the empty line that ends the reply: a part
        // left unread would be taken for the next request's reply on a kept connection.
        ++i;
        if (c == '\n') {
          if (FTrailerLineLen == 0) {
            Trace("httpChunkDone, end of document");
            DocumentEnd();
            return;
          }
          FTrailerLineLen = 0;
        } else if (c != '\r') {
          ++FTrailerLineLen;
        }
    }
  }
}

// A stream that cannot take the bytes says no more than that; the system's reason (a full disk)
// goes into the text.
void THttpCli::StoreBody(const uint8_t* Data, int Len) {
  errno = 0;
  try {
    FContentCodingHnd->WriteInput(Data, Len);
  } catch (EWriteError& E) {
    int reason = errno;
    if (reason == 0) throw;
    throw EWriteError(E.Message() + " (" + SysErrorMessage(reason) + ")");
  }
}

void THttpCli::DocumentEnd() {
  TWeakLink<THttpCli> self(this);
  FBodyDone = true;
  StateChange(httpBodyReceived);
  StopBandwidthControl();
  FContentCodingHnd->Complete();
  if (OnDocEnd) OnDocEnd(this);
  if (!self) return;
  if (FCloseReq || FCtrlSocket->State() != wsConnected) {
    if (FCtrlSocket->State() != wsClosed)
      FCtrlSocket->Close();
    else
      PostSetReady();
  } else if (FLocationFlag) {
    StartRelocation();
  } else {
    PostSetReady();
  }
}

void THttpCli::ReplyDamaged(const std::string& Text, int Error) {
  FReasonPhrase = Text;
  FRequestDoneError = Error;
  FLocationFlag = false;
  FBodyDone = true;
  FRcvdCount = 0;
  StopBandwidthControl();
  StateChange(httpAborting);
  FCtrlSocket->Abort();
  if (FState != httpReady) SetReady();
}

void THttpCli::SocketSessionClosed(TObject*, WORD Err) {
  TWeakLink<THttpCli> self(this);
  try {
    ConnectionClosed(Err);
  } catch (Exception& E) {
    if (self && FState != httpReady) ReplyDamaged(E.Message(), httperrDocNotStored);
  }
}

void THttpCli::ConnectionClosed(WORD Err) {
  TWeakLink<THttpCli> self(this);
  if (FRestartPosted) {
    FConnected = false;
    return;
  }
  if (FSentOnKeptConnection && FState == httpWaitingHeader && !FHeaderDone && FHeaderBytes == 0 &&
      FRcvdCount == 0 && (FRequestType == httpGET || FRequestType == httpHEAD)) {
    // A server may let a kept connection go at any time, here just as the request went out.
    // Nothing of a reply came, so a request that is safe to repeat goes again, once, on a new
    // connection.
    FSentOnKeptConnection = false;
    FConnected = false;
    PostRestart();
    return;
  }
  if (Err != 0 && FRequestDoneError == 0) FRequestDoneError = Err;
  FConnected = false;
  if (FState == httpAborting || FState == httpReady) return;
  if (FState == httpClosing) {
    if (OnSessionClosed) OnSessionClosed(this, Err);
    if (self) SetReady();
    return;
  }
  // The close may have been ours (after a complete reply) or the server's.
  if (!FHeaderDone) {
    if (FState == httpWaitingHeader) {
      if (OnHeaderEnd) OnHeaderEnd(this);
      if (!self) return;
      // Completing the request with the fragment as a success would hand it on as a reply.
      if (FRequestDoneError == 0) FRequestDoneError = httperrReplyDamaged;
      FReasonPhrase = "Connection closed before the reply header was complete";
      FLocationFlag = false;
    } else if (FRequestDoneError == 0) {
      // Closed before the request could be sent (a proxy ending its handshake): no reply.
      FStatusCode = 404;
      FReasonPhrase = "Connection closed before the request was sent";
      FRequestDoneError = httperrReplyDamaged;
      FLocationFlag = false;
    }
  } else if (!FBodyDone) {
    bool chunked = FTransferEncoding == "chunked";
    if (FBodyStarted || FContentLength > 0 || chunked) {
      // The body ends with the connection, or it was complete but for its trailer.
      if ((!chunked && FContentLength < 0) || (chunked && FChunkState == 4)) {
        FBodyDone = true;
        StateChange(httpBodyReceived);
        FContentCodingHnd->Complete();
      } else {
        if (FRequestDoneError == 0) FRequestDoneError = httperrReplyDamaged;
        FReasonPhrase = chunked ? "Connection closed before the last chunk"
                                : "Connection closed before the announced length";
        FLocationFlag = false;
      }
      StopBandwidthControl();
      if (OnDocEnd) OnDocEnd(this);
      if (!self) return;
    }
  }
  if (FLocationFlag && FRequestDoneError == 0) {
    ContinueRelocation();
    return;
  }
  if (OnSessionClosed) OnSessionClosed(this, Err);
  if (!self) return;
  if (FState != httpReady) PostSetReady();
}

// ---------------------------------------------------------------------------------------------
// Relocation

void THttpCli::StartRelocation() {
  ++FLocationChangeCurCount;
  if (FLocationChangeCurCount > LocationChangeMaxCount) {
    bool allow = false;
    if (OnLocationChangeExceeded) OnLocationChangeExceeded(this, FLocationChangeCurCount, allow);
    if (!allow) {
      // The relocation reply stands as the result.
      FLocationFlag = false;
      PostSetReady();
      return;
    }
  }
  std::string newHost = Proxy.empty() ? FNewHost : Proxy;
  std::string newPort = Proxy.empty() ? (FNewPort.empty() ? "80" : FNewPort) : FPort;
  if (newHost != FConnectedHost || newPort != FConnectedPort || FNewProto != FConnectedProto ||
      FCloseReq || FCtrlSocket->State() != wsConnected) {
    FRelocAfterClose = true;
    if (FCtrlSocket->State() != wsClosed)
      FCtrlSocket->Close();
    else
      ContinueRelocation();
    return;
  }
  if (OnLocationChange) OnLocationChange(this);
  if (FRequestType == httpPOST) FRequestType = httpGET;
  if (FRcvdStream)
    FRcvdStream->SetSize(FReceiveStreamStart), FRcvdStream->SetPosition(FReceiveStreamStart);
  PostRestart();
}

// The relocation is under way: what the old connection does until the restart arrives (the
// server's close, above all) must neither follow it again nor complete the request.
void THttpCli::PostRestart() {
  FLocationFlag = false;
  FRestartPosted = true;
  PostMessage(Handle(), FMsg_WM_HTTP_RESTART, 0, 0);
}

void THttpCli::ContinueRelocation() {
  size_t hash = FLocation.find('#');
  if (hash != std::string::npos) FLocation.erase(hash);
  if (!FRelocAfterClose) {
    // Reached by the server's close before the relocation was counted.
    ++FLocationChangeCurCount;
    if (FLocationChangeCurCount > LocationChangeMaxCount) {
      bool allow = false;
      if (OnLocationChangeExceeded) OnLocationChangeExceeded(this, FLocationChangeCurCount, allow);
      if (!allow) {
        FLocationFlag = false;
        PostSetReady();
        return;
      }
    }
  }
  FLocationFlag = false;
  FRelocAfterClose = false;
  if (OnLocationChange) OnLocationChange(this);
  if (FRequestType == httpPOST) FRequestType = httpGET;
  if (FRcvdStream)
    FRcvdStream->SetSize(FReceiveStreamStart), FRcvdStream->SetPosition(FReceiveStreamStart);
  PostRestart();
}

// ---------------------------------------------------------------------------------------------
// Completion and authentication

// One completion per reply: the server's close after a complete reply, or an abort, must not
// finish the request a second time when its completion is already on its way.
void THttpCli::PostSetReady() {
  if (FReadyPosted) return;
  FReadyPosted = true;
  PostMessage(Handle(), FMsg_WM_HTTP_SET_READY, 0, 0);
}

void THttpCli::SetReady() {
  FReadyPosted = false;
  TWeakLink<THttpCli> self(this);
  StopBandwidthControl();
  bool proxy407 = FStatusCode == 407, server401 = FStatusCode == 401;
  if (FAuthNTLMState == 3 && !server401 && !proxy407)
    FAuthNTLMState = 4;
  else if (FAuthNTLMState == 4 && server401)
    FAuthNTLMState = 0;
  if (FProxyAuthNTLMState == 3 && !proxy407)
    FProxyAuthNTLMState = 4;
  else if (FProxyAuthNTLMState == 4 && proxy407)
    FProxyAuthNTLMState = 0;
  if (FAuthBasicState == 1 && !server401 && !proxy407)
    FAuthBasicState = 2;
  else if (FAuthBasicState == 2 && server401)
    FAuthBasicState = 0;
  if (FProxyAuthBasicState == 1 && !proxy407)
    FProxyAuthBasicState = 2;
  else if (FProxyAuthBasicState == 2 && proxy407)
    FProxyAuthBasicState = 0;
  StateChange(httpReady);
  if (!self) return;
  if (FRequestDoneError == 0 && DoAuthentication()) {
    if (FRcvdStream) {
      FRcvdStream->SetSize(FReceiveStreamStart);
      FRcvdStream->SetPosition(FReceiveStreamStart);
    }
    if (FSendStream) FSendStream->Seek(-FSentCount, soCurrent);
    std::string doc = FDocName;
    StartRequest(true);
    FDocName = doc;
    return;
  }
  PostMessage(Handle(), FMsg_WM_HTTP_REQUEST_DONE, 0, 0);
}

bool THttpCli::DoAuthentication() {
  if (FStatusCode != 401 && FStatusCode != 407) return false;
  bool proxy = FStatusCode == 407;
  if (!(Options.Contains(httpoNoNTLMAuth) &&
        ((!proxy && ServerAuth == httpAuthNtlm) || (proxy && ProxyAuth == httpAuthNtlm)))) {
    if (DoNtlmStep(proxy)) return true;
  }
  if (!(Options.Contains(httpoNoBasicAuth) &&
        ((!proxy && ServerAuth == httpAuthBasic) || (proxy && ProxyAuth == httpAuthBasic)))) {
    if (DoBasicStep(proxy)) return true;
  }
  return false;
}

bool THttpCli::DoNtlmStep(bool Proxy) {
  int& state = Proxy ? FProxyAuthNTLMState : FAuthNTLMState;
  int basic = Proxy ? FProxyAuthBasicState : FAuthBasicState;
  const std::string& user = Proxy ? ProxyUsername : FCurrUsername;
  const std::string& pass = Proxy ? ProxyPassword : FCurrPassword;
  if (FDoAuthor.empty() || basic != 0 || user.empty() || pass.empty()) return false;
  std::string challenge;
  for (const auto& c : FDoAuthor)
    if (StartsWithNoCase(c, "NTLM")) challenge = c;
  if (challenge.empty()) return false;
  switch (state) {
    case 0:
      state = 1;
      Trace("Starting NTLM authentication");
      if (FRequestVer == "1.0") (Proxy ? ProxyConnection : Connection) = "Keep-alive";
      return true;
    case 1: {
      TNTLM_Msg2_Info info =
          NtlmReadMessage2(challenge.size() > 5 ? Trim(challenge.substr(5)) : "");
      (Proxy ? FProxyNTLMMsg2Info : FNTLMMsg2Info) = info;
      if (!info.ReplyPresent) {
        state = 0;
        return false;
      }
      state = 3;
      return true;
    }
    case 3:
    case 4:
      FDoAuthor.clear();
      state = 0;
      return false;
    default:
      throw EHttpException(Proxy ? "Unexpected ProxyAuthNTLMState" : "Unexpected AuthNTLMState", 6);
  }
}

bool THttpCli::DoBasicStep(bool Proxy) {
  int& state = Proxy ? FProxyAuthBasicState : FAuthBasicState;
  int ntlm = Proxy ? FProxyAuthNTLMState : FAuthNTLMState;
  const std::string& user = Proxy ? ProxyUsername : FCurrUsername;
  const std::string& pass = Proxy ? ProxyPassword : FCurrPassword;
  if (FDoAuthor.empty() || ntlm != 0 || user.empty() || pass.empty()) return false;
  bool basicOffered = false;
  for (const auto& c : FDoAuthor) basicOffered |= StartsWithNoCase(c, "Basic");
  if (!basicOffered) return false;
  switch (state) {
    case 0:
      state = 1;
      Trace("Starting Basic authentication");
      return true;
    case 1:
    case 2:
      FDoAuthor.clear();
      state = 0;
      return false;
    default:
      throw EHttpException(Proxy ? "Unexpected ProxyAuthBasicState" : "Unexpected AuthBasicState",
                           6);
  }
}

void THttpCli::AbortRequest() {
  if (FState != httpReady) {
    bool lookup = FState == httpDnsLookup;
    StateChange(httpAborting);
    if (lookup) {
      try {
        FCtrlSocket->CancelLookup();
      } catch (...) {
      }
    }
    FStatusCode = 404;
    FReasonPhrase = "Connection aborted on request";
    FRequestDoneError = httperrAborted;
    FLocationFlag = false;
    FRestartPosted = false;
    if (FCtrlSocket->State() != wsClosed) FCtrlSocket->Abort();
    FConnected = false;
    SetReady();
    return;
  }
  if (FCtrlSocket->State() != wsClosed) FCtrlSocket->Close();
  FStatusCode = 200;
  FReasonPhrase = "OK";
  FRequestDoneError = 0;
  StateChange(httpReady);
  if (OnRequestDone) OnRequestDone(this, FRequestType, 0);
}

// ---------------------------------------------------------------------------------------------
// Bandwidth control

void THttpCli::StartBandwidthControl() {
  if (!Options.Contains(httpoBandwidthControl)) return;
  FBandwidthMaxCount = int64_t(BandwidthLimit) * BandwidthSampling / 1000;
  FBandwidthCount = 0;
  FBandwidthPaused = false;
  if (!FBandwidthTimer) FBandwidthTimer = std::make_unique<TIcsTimer>(this);
  FBandwidthTimer->SetInterval(DWORD(BandwidthSampling));
  FBandwidthTimer->SetOnTimer([this](TObject*) {
    if (FBandwidthPaused) {
      FBandwidthCount = std::max<int64_t>(0, FBandwidthCount - FBandwidthMaxCount);
      FBandwidthPaused = false;
      FCtrlSocket->Resume();
    } else {
      FBandwidthCount = 0;
    }
  });
  FBandwidthTimer->SetEnabled(true);
}

void THttpCli::StopBandwidthControl() {
  if (FBandwidthTimer && FBandwidthTimer->Enabled()) FBandwidthTimer->SetEnabled(false);
  if (FBandwidthPaused) {
    FBandwidthPaused = false;
    FCtrlSocket->Resume();
  }
}

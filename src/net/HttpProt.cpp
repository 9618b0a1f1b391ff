// The request half of the HTTP client: starting requests, connecting, sending the request and its
// body, completion, abort and bandwidth control. Taking in the reply is in HttpProtReply.cpp.
#include "net/HttpProt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "net/IcsMimeUtils.h"
#include "net/IcsUrl.h"

namespace {

const char* const StateNames[] = {"httpReady",       "httpNotConnected",  "httpConnected",
                                  "httpDnsLookup",   "httpDnsLookupDone", "httpWaitingHeader",
                                  "httpWaitingBody", "httpBodyReceived",  "httpWaitingProxyConnect",
                                  "httpClosing",     "httpAborting"};

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
// Completion and abort

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

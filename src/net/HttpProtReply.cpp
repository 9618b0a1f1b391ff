// The reply half of the HTTP client: reading the header and the body by its framing, closes,
// relocations and the answers to authentication challenges.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "net/HttpProt.h"
#include "net/IcsUrl.h"

namespace {

// Bounds on what a server can make us hold.
constexpr int64_t MaxHeaderBytes = 64 * 1024;
constexpr int MaxChunkDigits = 15;

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == Lower(prefix);
}

}  // namespace

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

// Counts one more relocation; past the limit OnLocationChangeExceeded decides, and a refusal
// leaves the relocation reply standing as the result.
bool THttpCli::CountRelocation() {
  ++FLocationChangeCurCount;
  if (FLocationChangeCurCount <= LocationChangeMaxCount) return true;
  bool allow = false;
  if (OnLocationChangeExceeded) OnLocationChangeExceeded(this, FLocationChangeCurCount, allow);
  if (allow) return true;
  FLocationFlag = false;
  PostSetReady();
  return false;
}

void THttpCli::StartRelocation() {
  if (!CountRelocation()) return;
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
  RestartRelocated();
}

// The relocated request goes as a GET, into the reply stream as it was before this reply.
void THttpCli::RestartRelocated() {
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
  // Reached by the server's close before the relocation was counted.
  if (!FRelocAfterClose && !CountRelocation()) return;
  FLocationFlag = false;
  FRelocAfterClose = false;
  RestartRelocated();
}

// ---------------------------------------------------------------------------------------------
// Authentication challenges

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

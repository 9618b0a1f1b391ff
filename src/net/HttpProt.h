#pragma once
// The asynchronous HTTP/1.0 and 1.1 client: a request is started, the call returns, and the
// exchange runs from the component's window messages until OnRequestDone. Sources: HttpProt.cpp
// (the request) and HttpProtReply.cpp (the reply).

#include <memory>
#include <string>
#include <vector>

#include "net/IcsHttpContCod.h"
#include "net/IcsNtlmMsgs.h"
#include "net/IcsWSocket.h"
#include "net/IcsWndControl.h"
#include "platform/rtl/Streams.h"

class EHttpException : public Exception {
 public:
  EHttpException(const std::string& Msg, int ErrorCode) : Exception(Msg), FErrorCode(ErrorCode) {}
  int ErrorCode() const { return FErrorCode; }

 private:
  int FErrorCode;
};

enum class THttpRequest { httpABORT, httpGET, httpPOST, httpPUT, httpHEAD, httpCLOSE };
using enum THttpRequest;
enum class THttpState {
  httpReady,
  httpNotConnected,
  httpConnected,
  httpDnsLookup,
  httpDnsLookupDone,
  httpWaitingHeader,
  httpWaitingBody,
  httpBodyReceived,
  httpWaitingProxyConnect,
  httpClosing,
  httpAborting
};
using enum THttpState;
enum class THttpAuthType { httpAuthNone, httpAuthBasic, httpAuthNtlm };
using enum THttpAuthType;
enum class THttpCliOption {
  httpoNoBasicAuth,
  httpoNoNTLMAuth,
  httpoBandwidthControl,
  httpoEnableContentCoding,
  httpoUseQuality
};
using enum THttpCliOption;
using THttpCliOptions = TSet<THttpCliOption>;

// The error code of a request whose reply was cut short or damaged (with an explaining
// ReplyText), and of one aborted on request.
constexpr int httperrAborted = 3;
constexpr int httperrReplyDamaged = WSAECONNABORTED;
// The error code of a request whose reply could not be taken in (the reply stream, OnDocData or
// another handler of the reply failed; ReplyText names the cause): the client broke the
// connection off itself.
constexpr int httperrDocNotStored = WSAECONNABORTED;

using THttpRequestDone = Event<void(TObject* Sender, THttpRequest RqType, WORD ErrCode)>;
using TDocDataEvent = Event<void(TObject* Sender, const void* Buffer, int Len)>;
using TOnCommand = Event<void(TObject* Sender, std::string& S)>;
using TCookieRcvdEvent = Event<void(TObject* Sender, const std::string& Data, bool& Accept)>;
using TLocationChangeExceeded =
    Event<void(TObject* Sender, int RelocationCount, bool& AllowMoreRelocations)>;
using TBeforeHeaderSendEvent =
    Event<void(TObject* Sender, const std::string& Method, std::vector<std::string>& Headers)>;
using THttpDataPush = Event<void(TObject* Sender, const std::string& Line)>;
// One line of the request's trace: "State = httpReady" at every change of state, and the steps
// of chunked bodies and authentication.
using THttpTraceEvent = Event<void(TObject* Sender, const std::string& Line)>;

class THttpCli : public TIcsWndControl {
 public:
  explicit THttpCli(TComponent* AOwner);
  ~THttpCli() override;

  // Requests.
  void GetAsync();
  void PostAsync();
  void PutAsync();
  void HeadAsync();
  void CloseAsync();
  void AbortRequest();
  // The same requests, returning once the client is ready again; a reply code above 399 other
  // than 401 and 407 raises EHttpException with the reply text and the code.
  void Get();
  void Post();
  void Put();
  void Head();

  // Properties.
  std::string URL;
  std::string LocalAddr = "0.0.0.0";
  std::string Proxy;
  std::string ProxyPort = "80";
  std::string Sender;
  std::string Agent = "Mozilla/4.0 (compatible; ICS)";
  std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  std::string AcceptLanguage;
  std::string Reference;
  std::string Connection;
  std::string ProxyConnection;
  std::string Username;
  std::string Password;
  std::string ProxyUsername;
  std::string ProxyPassword;
  bool NoCache = false;
  TDateTime ModifiedSince = 0;
  std::string Cookie;
  std::string ContentTypePost = "application/x-www-form-urlencoded";
  std::string ContentRangeBegin;
  std::string ContentRangeEnd;
  bool FollowRelocation = true;
  int LocationChangeMaxCount = 5;
  THttpAuthType ServerAuth = httpAuthNone;
  THttpAuthType ProxyAuth = httpAuthNone;
  int BandwidthLimit = 10000;
  int BandwidthSampling = 1000;
  THttpCliOptions Options;
  std::string SocksServer;
  std::string SocksLevel = "5";
  std::string SocksPort;
  std::string SocksUsercode;
  std::string SocksPassword;
  TSocksAuthentication SocksAuthentication = socksNoAuthentication;

  const std::string& RequestVer() const { return FRequestVer; }
  void SetRequestVer(const std::string& Value);
  const std::string& AcceptRanges() const { return FAcceptRanges; }
  int LocationChangeCurCount() const { return FLocationChangeCurCount; }
  void SetMultiThreaded(bool Value) override;
  TIcsLogger* IcsLogger() const { return FCtrlSocket->IcsLogger(); }
  void SetIcsLogger(TIcsLogger* Value) { FCtrlSocket->SetIcsLogger(Value); }

  // Public state.
  int ReplyCode() const { return FStatusCode; }
  const std::string& ReplyText() const { return FReasonPhrase; }
  TStream* ReplyStream() const { return FRcvdStream; }
  void SetReplyStream(TStream* Value) { FRcvdStream = Value; }
  TStream* PostStream() const { return FSendStream; }
  void SetPostStream(TStream* Value) { FSendStream = Value; }
  const std::vector<std::string>& RcvdHeader() const { return FRcvdHeader; }
  const std::string& DocName() const { return FDocName; }
  const std::string& Location() const { return FLocation; }
  THttpState State() const { return FState; }
  THttpRequest RequestType() const { return FRequestType; }
  int64_t ContentLength() const { return FContentLength; }
  int64_t RcvdCount() const { return FRcvdBodyLen; }
  const std::string& ContentType() const { return FContentType; }
  TWSocket* CtrlSocket() const { return FCtrlSocket.get(); }

  // Events.
  THttpTraceEvent OnTrace;
  TSessionConnected OnSessionConnected;
  TSessionClosed OnSessionClosed;
  TNotifyEvent OnHeaderData;
  TOnCommand OnCommand;
  TNotifyEvent OnHeaderBegin;
  TNotifyEvent OnHeaderEnd;
  TNotifyEvent OnRequestHeaderBegin;
  TNotifyEvent OnRequestHeaderEnd;
  TNotifyEvent OnDocBegin;
  TDocDataEvent OnDocData;
  TNotifyEvent OnDocEnd;
  TNotifyEvent OnSendBegin;
  TDocDataEvent OnSendData;
  TNotifyEvent OnSendEnd;
  TNotifyEvent OnStateChange;
  THttpRequestDone OnRequestDone;
  TNotifyEvent OnLocationChange;
  TCookieRcvdEvent OnCookie;
  THttpDataPush OnDataPush;
  THttpDataPush OnDataPush2;
  TLocationChangeExceeded OnLocationChangeExceeded;
  TSessionConnected OnSocksConnected;
  TSocksAuthStateEvent OnSocksAuthState;
  TSocksErrorEvent OnSocksError;
  TNotifyEvent OnSocketError;
  TBeforeHeaderSendEvent OnBeforeHeaderSend;

  int MessageCount() override;
  void AllocateMessages() override;
  void FreeMessages() override;
  void WindowProcedure(TMessage& MsgRec) override;
  void AttachToThread() override;
  void DetachFromThread() override;

 protected:
  void StateChange(THttpState NewState);
  // To OnTrace, and to the logger when it asks for protocol information.
  void Trace(const std::string& Line);
  void DoRequestAsync(THttpRequest Rq);
  void DoRequestSync(THttpRequest Rq);
  void StartRequest(THttpRequest Rq, bool Wait);
  void StartRequest(bool Restart);
  void PrepareTarget(const std::string& Url);
  void SendRequest(const std::string& Method, const std::string& Version);
  void SendCommand(const std::string& Cmd);
  void SendBodyPiece();
  void Fail(int Code, const std::string& Text, int Error);
  void ResetReply(bool KeepLocation);
  void SetReady();
  void PostSetReady();
  void DocumentEnd();
  void HeaderEnded();
  void ParseHeaderLine(const std::string& Line);
  void BodyBytes(const uint8_t* Data, int Len);
  void StoreBody(const uint8_t* Data, int Len);
  void ReceiveAvailable();
  void ReceiveBytes();
  void ReplyDamaged(const std::string& Text, int Error = httperrReplyDamaged);
  void ResolveLocation(const std::string& Value);
  bool CountRelocation();
  void StartRelocation();
  void RestartRelocated();
  void ContinueRelocation();
  void PostRestart();
  bool DoAuthentication();
  bool DoNtlmStep(bool Proxy);
  bool DoBasicStep(bool Proxy);
  void StartBandwidthControl();
  void StopBandwidthControl();
  std::string DeriveDocName(const std::string& Path) const;
  std::string RfcDate(TDateTime Local) const;

  void SocketDnsLookupDone(TObject* Sender, WORD Err);
  void SocketSessionConnected(TObject* Sender, WORD Err);
  void SocketDataAvailable(TObject* Sender, WORD Err);
  void SocketDataSent(TObject* Sender, WORD Err);
  void SocketSessionClosed(TObject* Sender, WORD Err);
  void ConnectionClosed(WORD Err);

  std::unique_ptr<TWSocket> FCtrlSocket;
  std::unique_ptr<THttpContCodHandler> FContentCodingHnd;
  std::unique_ptr<TIcsTimer> FBandwidthTimer;
  UINT FMsg_WM_HTTP_REQUEST_DONE = 0;
  UINT FMsg_WM_HTTP_SET_READY = 0;
  UINT FMsg_WM_HTTP_RESTART = 0;

  THttpState FState = httpReady;
  THttpRequest FRequestType = httpABORT;
  std::string FRequestVer = "1.0";
  int FRequestDoneError = 0;
  int FStatusCode = 0;
  std::string FReasonPhrase;
  TStream* FRcvdStream = nullptr;
  TStream* FSendStream = nullptr;
  int64_t FSentCount = 0;
  int64_t FReceiveStreamStart = 0;
  std::vector<std::string> FRcvdHeader;
  std::vector<std::string> FDoAuthor;
  std::string FDocName;
  std::string FLocation;
  std::string FTargetURL;  // the address the running request asks for
  std::string FAcceptRanges;
  int FLocationChangeCurCount = 0;

  // The target of the request and of the open connection.
  std::string FProtocol, FHostName, FPort, FPath, FTargetHost, FTargetPort;
  std::string FConnectedHost, FConnectedPort, FConnectedProto;
  std::string FCurrUsername, FCurrPassword;
  std::string FOriginProto, FOriginHost, FOriginPort;  // the server the caller's URL names
  bool FConnected = false;

  // Reply.
  std::vector<uint8_t> FRcvBuf;
  int FRcvdCount = 0;
  int64_t FHeaderBytes = 0;
  int FHeaderLineCount = 0;
  std::string FReplyVer;
  bool FCloseReq = false;
  bool FLocationFlag = false;
  bool FRelocAfterClose = false;
  bool FRestartPosted = false;
  bool FSentOnKeptConnection = false;  // the request went out on a connection kept from before
  bool FReadyPosted = false;
  bool FBodyStarted = false;
  bool FBodyDone = false;
  bool FHeaderDone = false;
  int64_t FContentLength = -1;
  int64_t FRcvdBodyLen = 0;
  std::string FContentType, FTransferEncoding, FContentEncoding;
  // New target named by a "location" header.
  std::string FNewProto, FNewHost, FNewPort, FNewPath;
  // Chunk reader.
  int64_t FChunkLength = 0;
  int64_t FChunkRcvd = 0;
  int FChunkState = 0;
  int FChunkDigits = 0;
  int FTrailerLineLen = 0;  // bytes of the trailer line being read, its CR not counted

  // Authentication progress.
  int FAuthNTLMState = 0, FProxyAuthNTLMState = 0;
  int FAuthBasicState = 0, FProxyAuthBasicState = 0;
  TNTLM_Msg2_Info FNTLMMsg2Info, FProxyNTLMMsg2Info;

  // Bandwidth control.
  int64_t FBandwidthCount = 0;
  int64_t FBandwidthMaxCount = 0;
  bool FBandwidthPaused = false;
};

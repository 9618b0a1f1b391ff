#pragma once
// The asynchronous SMTP client: single requests or the combined Open and Mail operations, each
// reported once through OnRequestDone. The message with attachments is TSmtpCli (SmtpMessage).

#include <memory>
#include <string>
#include <vector>

#include "net/IcsWSocket.h"
#include "net/IcsWndControl.h"
#include "platform/rtl/Classes.h"

SONALIX_DECLARE_EXCEPTION(SmtpException, Exception);

enum class TSmtpState {
  smtpReady,
  smtpDnsLookup,
  smtpConnecting,
  smtpConnected,
  smtpInternalReady,
  smtpWaitingBanner,
  smtpWaitingResponse,
  smtpAbort
};
using enum TSmtpState;
enum class TSmtpRequest {
  smtpConnect,
  smtpHelo,
  smtpMailFrom,
  smtpVrfy,
  smtpRcptTo,
  smtpData,
  smtpQuit,
  smtpRset,
  smtpOpen,
  smtpMail,
  smtpEhlo,
  smtpAuth,
  smtpCustom
};
using enum TSmtpRequest;
enum class TSmtpAuthType {
  smtpAuthNone,
  smtpAuthPlain,
  smtpAuthLogin,
  smtpAuthCramMD5,
  smtpAuthCramSha1,
  smtpAuthNtlm,
  smtpAuthAutoSelect
};
using enum TSmtpAuthType;
enum class TSmtpPriority {
  smtpPriorityNone,
  smtpPriorityHighest,
  smtpPriorityHigh,
  smtpPriorityNormal,
  smtpPriorityLow,
  smtpPriorityLowest
};
using enum TSmtpPriority;
enum class TSmtpContentType { smtpHtml, smtpPlainText };
using enum TSmtpContentType;
enum class TSmtpDefaultEncoding { smtpEnc7bit, smtpEnc8bit, smtpEncQuotedPrintable, smtpEncBase64 };
using enum TSmtpDefaultEncoding;
enum class TSmtpRcptToErrorAction { srteAbort, srteIgnore, srteRetry };
using enum TSmtpRcptToErrorAction;
using TSmtpDisplay = Event<void(TObject* Sender, const std::string& Msg)>;
using TSmtpRequestDone = Event<void(TObject* Sender, TSmtpRequest RqType, WORD ErrorCode)>;
// Supplies body line LineNum (from 1) in Line; More false ends the body.
using TSmtpGetDataEvent = Event<void(TObject* Sender, int LineNum, std::string& Line, bool& More)>;
using TSmtpHeaderLineEvent = Event<void(TObject* Sender, std::string& Line)>;
using TSmtpProcessHeaderEvent = Event<void(TObject* Sender, TStrings* HdrLines)>;
using TSmtpRcptToErrorEvent =
    Event<void(TObject* Sender, int ErrorCode, int RcptNameIdx, TSmtpRcptToErrorAction& Action)>;
// HMAC-MD5 (RFC 2104); a key over 64 bytes is hashed first.
std::string HmacMd5(const std::string& Key, const std::string& Text);

class TCustomSmtpClient : public TIcsWndControl {
 public:
  explicit TCustomSmtpClient(TComponent* AOwner);
  ~TCustomSmtpClient() override;

  std::string Host;
  std::string LocalAddr = "0.0.0.0";
  std::string Port = "smtp";
  std::string SignOn;
  std::string Username;
  std::string Password;
  TSmtpAuthType AuthType = smtpAuthNone;
  std::string FromName;
  std::string HdrFrom, HdrTo, HdrCc, HdrReplyTo, HdrReturnPath, HdrSubject, HdrSender;
  TSmtpPriority HdrPriority = smtpPriorityNone;
  std::string CharSet = "utf-8";
  TSmtpDefaultEncoding DefaultEncoding = smtpEnc7bit;
  bool Allow8bitChars = true;
  bool FoldHeaders = false;
  bool WrapMessageText = false;
  bool ConfirmReceipt = false;
  bool OwnHeaders = false;

  TStringList* RcptName() const { return FRcptName.get(); }
  void SetRcptName(const TStrings* Value);
  TStringList* MailMessage() const { return FMailMessage.get(); }
  void SetMailMessage(const TStrings* Value);
  const TStringList* AuthTypesSupported() const { return FAuthTypesSupported.get(); }
  TSmtpContentType ContentType() const { return FContentType; }
  virtual void SetContentType(TSmtpContentType Value);
  const std::string& ContentTypeText() const { return FContentTypeText; }
  TSmtpState State() const { return FState; }
  const std::string& LastResponse() const { return FLastResponse; }
  const std::string& ErrorMessage() const { return FErrorMessage; }
  bool Connected() const { return FConnected; }
  bool ESmtp() const { return FESmtpSupported; }
  TSmtpRequest RequestType() const { return FRequestType; }
  int StatusCode() const { return FStatusCode; }
  TWSocket* CtrlSocket() const { return FWSocket.get(); }

  TSmtpDisplay OnDisplay;
  TSmtpDisplay OnCommand;
  TSmtpDisplay OnResponse;
  TSmtpGetDataEvent OnGetData;
  TSmtpHeaderLineEvent OnHeaderLine;
  TSmtpProcessHeaderEvent OnProcessHeader;
  TSmtpRcptToErrorEvent OnRcptToError;
  TSmtpRequestDone OnRequestDone;
  TNotifyEvent OnStateChange;
  TSessionConnected OnSessionConnected;
  TSessionClosed OnSessionClosed;

  // Virtual operations in slot order.
  virtual void CreateSocket();
  virtual void TriggerDisplay(const std::string& Msg);
  virtual void TriggerCommand(const std::string& Msg);
  virtual void TriggerResponse(const std::string& Msg);
  virtual void TriggerRequestDone(WORD Error);
  virtual void TriggerStateChange();
  virtual void TriggerGetData(int LineNum, std::string& Line, bool& More);
  virtual void TriggerHeaderLine(std::string& Line);
  virtual void TriggerProcessHeader(TStrings* HdrLines);
  virtual void TriggerSessionConnected(WORD ErrCode);
  virtual void TriggerSessionClosed(WORD ErrCode);
  virtual void SendCommand(const std::string& Cmd);
  virtual void RunNextStep();
  virtual void HandleRequestDoneMessage();
  virtual void Connect();
  virtual void Helo();
  virtual void Ehlo();
  virtual void Auth();
  virtual void Vrfy();
  virtual void MailFrom();
  virtual void RcptTo();
  virtual void Data();
  virtual void Quit();
  virtual void Rset();
  virtual void Abort();
  virtual void Open();
  virtual void Mail();

  void WindowProcedure(TMessage& MsgRec) override;
  void HandleEventException(Exception& E) override;
  int MessageCount() override;
  void AllocateMessages() override;
  void FreeMessages() override;
  void AttachToThread() override;
  void DetachFromThread() override;

 protected:
  using THandler = void (TCustomSmtpClient::*)();
  void SetState(TSmtpState Value);
  void CheckReady();
  void ExecRequest(TSmtpRequest RqType, const std::string& Cmd, std::vector<int> Expected,
                   THandler OkHandler);
  void RunCombined(TSmtpRequest RqType, std::vector<int> Steps);
  void SetError(int Code, const std::string& Text);
  void RequestDone(int Status);
  void ProcessLine(const std::string& Line);
  void GotResponse();
  void BuildHeader();
  void SendNextData();
  void StartSendingLines();
  void FailBody(const std::string& Text);
  void StartMechanism(TSmtpAuthType Mech);
  void AuthNextMechanism();
  std::string SignOnName() const;

  // Continuations of multi-command requests.
  void EhloDone();
  void RcptToNext();
  void DataSendLines();
  void AuthLoginUser();
  void AuthLoginPass();
  void AuthCramResponse();
  void AuthNtlmResponse();
  void AuthFinished();

  void SocketDnsLookupDone(TObject* Sender, WORD Err);
  void SocketSessionConnected(TObject* Sender, WORD Err);
  void SocketDataAvailable(TObject* Sender, WORD Err);
  void SocketSessionClosed(TObject* Sender, WORD Err);
  void SocketDataSent(TObject* Sender, WORD Err);

  std::unique_ptr<TWSocket> FWSocket;
  std::unique_ptr<TStringList> FAuthTypesSupported;
  std::unique_ptr<TStringList> FRcptName;
  std::unique_ptr<TStringList> FMailMessage;
  std::unique_ptr<TStringList> FHdrLines;
  TSmtpContentType FContentType = smtpPlainText;
  std::string FContentTypeText = "text/plain";
  TSmtpState FState = smtpReady;
  std::string FLastResponse;
  std::string FErrorMessage;
  bool FConnected = false;
  bool FESmtpSupported = false;
  TSmtpRequest FRequestType = smtpConnect;
  bool FRequestDoneFlag = false;
  std::string FReceiveBuffer;
  size_t FReceivePos = 0;  // start of the first reply line not yet taken
  bool FDroppingLongLine = false;
  int FStatusCode = 0;
  int FLastReplyCode = 0;
  bool FHaveNext = false;
  // Combined operations.
  std::vector<int> FPendingSteps;
  int FRunningStep = 0;
  int FSavedError = 0;
  bool FCombined = false;
  std::vector<int> FExpected;
  THandler FOkHandler = nullptr;
  UINT FMsg_WM_SMTP_REQUEST_DONE = 0;
  UINT FMsg_WM_SMTP_SEND_NEXT = 0;
  UINT FMsg_WM_SMTP_SPARE = 0;
  int FRcptNameIdx = -1;
  int FLineNum = 0;
  int FHdrIndex = 0;
  bool FMoreData = false;
  bool FSendingData = false;
  // Authentication.
  TSmtpAuthType FAuthMech = smtpAuthNone;
  bool FAutoSelect = false;
};

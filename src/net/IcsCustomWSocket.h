#pragma once
// The asynchronous IPv4 socket component. Nothing blocks: connection, data, room to send,
// incoming connections, closing and look-up results arrive as messages on the component's hidden
// window.

#include <netinet/in.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/IcsLogger.h"
#include "net/IcsWSockBuf.h"
#include "net/IcsWinsock.h"
#include "net/IcsWndControl.h"
#include "platform/sys/WinSock.h"

enum class TSocketState {
  wsInvalidState,
  wsOpened,
  wsBound,
  wsConnecting,
  wsSocksConnected,
  wsConnected,
  wsAccepting,
  wsListening,
  wsClosed
};
using enum TSocketState;
enum class TSocketSendFlags { wsSendNormal, wsSendUrgent };
using enum TSocketSendFlags;
enum class TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
using enum TSocketLingerOnOff;
enum class TSocketKeepAliveOnOff { wsKeepAliveOff, wsKeepAliveOnCustom, wsKeepAliveOnSystem };
using enum TSocketKeepAliveOnOff;
enum class TWSocketOption { wsoNoReceiveLoop, wsoTcpNoDelay, wsoSIO_RCVALL };
using enum TWSocketOption;
using TWSocketOptions = TSet<TWSocketOption>;

using TDataAvailable = Event<void(TObject* Sender, WORD ErrCode)>;
using TDataSent = Event<void(TObject* Sender, WORD ErrCode)>;
using TSessionClosed = Event<void(TObject* Sender, WORD ErrCode)>;
using TSessionAvailable = Event<void(TObject* Sender, WORD ErrCode)>;
using TSessionConnected = Event<void(TObject* Sender, WORD ErrCode)>;
using TDnsLookupDone = Event<void(TObject* Sender, WORD ErrCode)>;
using TSendData = Event<void(TObject* Sender, int BytesSent)>;
using TChangeState = Event<void(TObject* Sender, TSocketState OldState, TSocketState NewState)>;

class TCustomWSocket : public TIcsWndControl {
 public:
  explicit TCustomWSocket(TComponent* AOwner);
  ~TCustomWSocket() override;

  // Properties.
  const std::string& Addr() const { return FAddrStr; }
  void SetAddr(const std::string& Value);
  const std::string& Port() const { return FPortStr; }
  virtual void SetPort(const std::string& Value);
  const std::string& Proto() const { return FProtoStr; }
  virtual void SetProto(const std::string& Value);
  const std::string& LocalPort() const { return FLocalPortStr; }
  void SetLocalPort(const std::string& Value);
  const std::string& LocalAddr() const { return FLocalAddr; }
  void SetLocalAddr(const std::string& Value);
  TSocketSendFlags SendFlags() const;
  void SetSendFlags(TSocketSendFlags Value);
  int LastError() const { return FLastError; }
  void SetLastError(int Value) { FLastError = Value; }
  TSocketState State() const { return FState; }
  SOCKET SocketHandle() const { return FHSocket; }
  bool AllSent() const { return FAllSent; }
  const std::string& DnsResult() const { return FLookupResult; }
  const std::string& LookupResult() const { return FLookupResult; }
  const std::vector<std::string>& DnsResultList() const { return FLookupResultList; }
  TIcsLogger* IcsLogger() const { return FIcsLogger; }
  virtual void SetIcsLogger(TIcsLogger* Value);
  bool MultiCast() const { return FMultiCast; }
  void SetMultiCast(bool Value) { FMultiCast = Value; }
  const std::string& MultiCastAddrStr() const { return FMultiCastAddrStr; }
  void SetMultiCastAddrStr(const std::string& Value) { FMultiCastAddrStr = Value; }
  int MultiCastIpTTL() const { return FMultiCastIpTTL; }
  void SetMultiCastIpTTL(int Value) { FMultiCastIpTTL = Value; }
  int FlushTimeout() const { return FFlushTimeout; }
  void SetFlushTimeout(int Value) { FFlushTimeout = Value; }
  TSocketLingerOnOff LingerOnOff() const { return FLingerOnOff; }
  void SetLingerOnOff(TSocketLingerOnOff Value) { FLingerOnOff = Value; }
  int LingerTimeout() const { return FLingerTimeout; }
  void SetLingerTimeout(int Value) { FLingerTimeout = Value; }
  TSocketKeepAliveOnOff KeepAliveOnOff() const { return FKeepAliveOnOff; }
  void SetKeepAliveOnOff(TSocketKeepAliveOnOff Value) { FKeepAliveOnOff = Value; }
  int KeepAliveTime() const { return FKeepAliveTime; }
  void SetKeepAliveTime(int Value) { FKeepAliveTime = Value; }
  int KeepAliveInterval() const { return FKeepAliveInterval; }
  void SetKeepAliveInterval(int Value) { FKeepAliveInterval = Value; }
  int ListenBacklog() const { return FListenBacklog; }
  void SetListenBacklog(int Value) { FListenBacklog = Value; }
  bool ReuseAddr() const { return FReuseAddr; }
  void SetReuseAddr(bool Value) { FReuseAddr = Value; }
  TWSocketOptions ComponentOptions() const { return FComponentOptions; }
  void SetComponentOptions(TWSocketOptions Value) { FComponentOptions = Value; }
  BYTE ReqVerLow() const;
  void SetReqVerLow(BYTE Value);
  BYTE ReqVerHigh() const;
  void SetReqVerHigh(BYTE Value);
  bool Paused() const { return FPaused; }
  void QueueText(const std::string& Str);

  // Events.
  TSessionAvailable OnSessionAvailable;
  TSessionConnected OnSessionConnected;
  TSessionClosed OnSessionClosed;
  TChangeState OnChangeState;
  TDataAvailable OnDataAvailable;
  TDataSent OnDataSent;
  TSendData OnSendData;
  TDnsLookupDone OnDnsLookupDone;
  TNotifyEvent OnError;

  // Virtual operations in slot order.
  virtual void WriteLog(TLogOption LogOption, const std::string& Msg);
  virtual bool LogOptionActive(TLogOption LogOption);
  virtual void AcquireWindow();
  virtual void GiveBackWindow();
  virtual void TryToSend();
  virtual void ResetToDefaults();
  virtual void CloseConnection(bool Shut, WORD ErrCode);
  virtual void AbortWithCode(WORD ErrCode);
  virtual int PendingByteCount();
  virtual void SetChunkSize(int Size);
  virtual int ChunkSize();
  virtual void SetReceiveBufferSize(int Size);
  virtual void SetSendBufferSize(int Size);
  virtual void BindLocal();
  virtual int RawSend(const void* Data, int Len);
  virtual void RaiseOrReport(const std::string& Msg);
  bool SetEndpointText(const std::string& Value, const char* Name, std::string& Text,
                       bool& Assigned, bool& Resolved);
  virtual bool TriggerDataAvailable(WORD ErrCode);
  virtual void TriggerSessionAvailable(WORD ErrCode);
  virtual void TriggerConnectStage(WORD ErrCode);
  virtual void TriggerSessionConnected(WORD ErrCode);
  virtual void TriggerSessionClosed(WORD ErrCode);
  virtual void TriggerDataSent(WORD ErrCode);
  virtual void TriggerChangeState(TSocketState OldState, TSocketState NewState);
  virtual void TriggerDnsLookupDone(WORD ErrCode);
  virtual void TriggerError();
  virtual int RecvRaw(void* Buffer, int Len);
  virtual int RecvFromRaw(void* Buffer, int Len, sockaddr_in& From, int& FromLen);
  virtual void HandleConnectEvent(WORD ErrCode);
  virtual void HandleReadEvent(WORD ErrCode);
  virtual void HandleWriteEvent(WORD ErrCode);
  virtual void HandleAcceptEvent(WORD ErrCode);
  virtual void HandleCloseEvent(WORD ErrCode);
  virtual void EnterConnected();
  virtual void Connect();
  virtual void Close();
  virtual void CloseLater();
  virtual void Abort();
  virtual void FlushSendBuffer();
  virtual void DrainUntilClosed();
  virtual void Listen();
  virtual SOCKET Accept();
  virtual int Receive(void* Buffer, int Len);
  virtual std::string ReceiveText();
  virtual int ReceiveFrom(void* Buffer, int Len, sockaddr_in& From, int& FromLen);
  virtual int Send(const void* Data, int Len);
  virtual int SendByte(BYTE Value);
  virtual int SendTo(const sockaddr_in& Dest, int DestLen, const void* Data, int Len);
  virtual int SendText(const std::string& Str);
  virtual void DnsLookup(const std::string& HostName);
  virtual void ReverseLookup(const std::string& IpText);
  virtual void ReverseLookupBlocking(const std::string& IpText);
  virtual void CancelLookup();
  virtual std::string PeerAddress();
  virtual std::string PeerPort();
  virtual int PeerName(sockaddr_in& Name, int& NameLen);
  virtual std::string LocalPortText();
  virtual std::string LocalAddressText();
  virtual int SockName(sockaddr_in& Name, int& NameLen);
  virtual void Dup(SOCKET NewHSocket);
  virtual void Shutdown(int How);
  virtual void Pause();
  virtual void Resume();
  virtual void QueueData(const void* Data, int Len);

  void WindowProcedure(TMessage& MsgRec) override;
  void HandleEventException(Exception& E) override;
  int MessageCount() override;
  void AllocateMessages() override;
  void FreeMessages() override;
  void AttachToThread() override;
  void DetachFromThread() override;
  void AbortAfterException() override;

  // The message numbers the socket holds (tests post to them).
  UINT MsgSelect() const { return FMsg_WM_ASYNCSELECT; }
  UINT MsgCloseDelayed() const { return FMsg_WM_CLOSE_DELAYED; }
  UINT MsgTriggerException() const { return FMsg_WM_TRIGGER_EXCEPTION; }

 protected:
  void ReportWinsockFailure(const std::string& Operation);
  void ChangeState(TSocketState NewState);
  void ApplyLinger();
  void ApplyKeepAlive();
  void ReceiveLoop(WORD ErrCode, TWSocketOptions Options);
  void DropSendData();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void HandleSelectMessage(WPARAM WParam, LPARAM LParam);
  void HandleLookupDone(TMessage& Msg, bool Reverse);
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  int FRecvCalls = 0;
  uint16_t FSocksTargetPort = 0;

  std::string FLookupResult;
  std::vector<std::string> FLookupResultList;
  int FSendFlags = 0;
  int FLastError = 0;
  alignas(8) std::array<char, 1025> FDnsLookupBuffer{};
  SOCKET FHSocket = INVALID_SOCKET;
  UINT FMsg_WM_ASYNCSELECT = 0;
  UINT FMsg_WM_ASYNCGETHOSTBYNAME = 0;
  UINT FMsg_WM_ASYNCGETHOSTBYADDR = 0;
  UINT FMsg_WM_CLOSE_DELAYED = 0;
  UINT FMsg_WM_TRIGGER_EXCEPTION = 0;
  UINT FMsg_WM_TRIGGER_DATA_AVAILABLE = 0;
  std::string FAddrStr;
  bool FAddrResolved = false;
  int FAddrFormat = AF_INET;
  bool FAddrAssigned = false;
  int FProto = IPPROTO_TCP;
  bool FProtoAssigned = false;
  bool FProtoResolved = false;
  bool FLocalPortResolved = false;
  std::string FProtoStr = "tcp";
  std::string FPortStr;
  bool FPortAssigned = false;
  bool FPortResolved = false;
  uint16_t FPortNum = 0;
  std::string FLocalPortStr = "0";
  uint16_t FLocalPortNum = 0;
  std::string FLocalAddr = "0.0.0.0";
  int FType = SOCK_STREAM;
  std::unique_ptr<TIcsBufferHandler> FBufHandler;
  TSocketLingerOnOff FLingerOnOff = wsLingerOn;
  int FLingerTimeout = 0;
  TSocketKeepAliveOnOff FKeepAliveOnOff = wsKeepAliveOff;
  int FKeepAliveTime = 0;
  int FKeepAliveInterval = 0;
  int FListenBacklog = 5;
  bool FAllSent = true;
  bool FPaused = false;
  bool FCloseInvoked = false;
  int FFlushTimeout = 60;
  uintptr_t FDnsLookupHandle = 0;
  bool FMultiCast = false;
  std::string FMultiCastAddrStr;
  int FMultiCastIpTTL = 1;
  bool FReuseAddr = false;
  TWSocketOptions FComponentOptions;
  TSocketState FState = wsClosed;
  long FSelectEvent = 0;
  TIcsLogger* FIcsLogger = nullptr;
  sockaddr_in Fsin{};
};

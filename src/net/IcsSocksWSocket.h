#pragma once
// The socket's SOCKS 4, 4A and 5 client: the peer is reached through a proxy.

#include <array>
#include <string>

#include "net/IcsCustomWSocket.h"

enum class TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };
using enum TSocksAuthentication;
enum class TSocksAuthState {
  socksAuthStart,
  socksAuthSuccess,
  socksAuthFailure,
  socksAuthNotRequired
};
using enum TSocksAuthState;
using TSocksErrorEvent = Event<void(TObject* Sender, int Error, const std::string& Msg)>;
using TSocksAuthStateEvent = Event<void(TObject* Sender, TSocksAuthState AuthState)>;

class TCustomSocksWSocket : public TCustomWSocket {
 public:
  explicit TCustomSocksWSocket(TComponent* AOwner) : TCustomWSocket(AOwner) {}

  const std::string& SocksServer() const { return FSocksServer; }
  virtual void SetSocksServer(const std::string& Value);
  const std::string& SocksLevel() const { return FSocksLevel; }
  void SetSocksLevel(const std::string& Value);
  const std::string& SocksPort() const { return FSocksPort; }
  virtual void SetSocksPort(const std::string& Value);
  const std::string& SocksUsercode() const { return FSocksUsercode; }
  void SetSocksUsercode(const std::string& Value) { FSocksUsercode = Value; }
  const std::string& SocksPassword() const { return FSocksPassword; }
  void SetSocksPassword(const std::string& Value) { FSocksPassword = Value; }
  TSocksAuthentication SocksAuthentication() const { return FSocksAuthentication; }
  void SetSocksAuthentication(TSocksAuthentication Value) { FSocksAuthentication = Value; }

  TSocksErrorEvent OnSocksError;
  TSessionConnected OnSocksConnected;
  TSocksAuthStateEvent OnSocksAuthState;

  virtual void TriggerSocksConnected(WORD ErrCode);
  virtual void TriggerSocksError(int Error, const std::string& Msg);

  void Connect() override;
  void Listen() override;
  void ResetToDefaults() override;
  void TriggerConnectStage(WORD ErrCode) override;
  bool TriggerDataAvailable(WORD ErrCode) override;
  void TriggerSessionClosed(WORD ErrCode) override;
  int PendingByteCount() override;
  int RecvRaw(void* Buffer, int Len) override;

 protected:
  void SocksDoConnect();
  void SocksDoAuthenticate();
  void SocksFail(int Code, const std::string& Msg);
  bool SocksActive() const { return FSocksState != 0; }

  BYTE FSocksState = 0;
  std::string FSocksServer;
  std::string FSocksLevel = "5";
  std::string FSocksPort;
  bool FSocksServerAssigned = false;
  std::string FSocksUsercode;
  std::string FSocksPassword;
  TSocksAuthentication FSocksAuthentication = socksNoAuthentication;
  BYTE FSocksAuthNumber = 0;
  std::array<uint8_t, 262> FRcvBuf{};
  int FRcvCnt = 0;
  int FSocksRcvdCnt = 0;
  int FSocksRcvdPtr = 0;
};

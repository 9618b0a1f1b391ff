#include "net/IcsSocksWSocket.h"

#include <algorithm>
#include <cstring>

void TCustomSocksWSocket::SetSocksServer(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks server if not closed");
    return;
  }
  FSocksServer = Trim(Value);
  FSocksServerAssigned = !FSocksServer.empty();
}

void TCustomSocksWSocket::SetSocksLevel(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks level if not closed");
    return;
  }
  std::string v = UpperCase(Value);
  if (v != "4" && v != "5" && v != "4A") {
    RaiseOrReport("Invalid socks level. Must be 4, 4A or 5.");
    return;
  }
  FSocksLevel = v;
}

void TCustomSocksWSocket::SetSocksPort(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks port if not closed");
    return;
  }
  FSocksPort = Trim(Value);
}

void TCustomSocksWSocket::ResetToDefaults() {
  TCustomWSocket::ResetToDefaults();
  FSocksServer.clear();
  FSocksPort.clear();
  FSocksServerAssigned = false;
  FSocksLevel = "5";
  FSocksState = 0;
  FSocksRcvdCnt = 0;
}

void TCustomSocksWSocket::Connect() {
  if (!FSocksServerAssigned) {
    TCustomWSocket::Connect();
    return;
  }
  if (LowerCase(FProtoStr) != "tcp" && Trim(FProtoStr) != "6") {
    RaiseOrReport("TCP is the only protocol supported thru socks server");
    return;
  }
  // Lengths travel in one byte: longer texts are refused before anything goes out.
  if (FAddrStr.size() > 255) {
    RaiseOrReport("Connect: socks target address too long");
    return;
  }
  if (FSocksUsercode.size() > 255 || FSocksPassword.size() > 255) {
    RaiseOrReport("Connect: socks user code or password too long");
    return;
  }
  try {
    if (!FPortResolved) {
      FPortNum = ResolvePort(FSocksPort, FProtoStr);
      Fsin.sin_port = htons(FPortNum);
      FPortResolved = true;
    }
    if (!FAddrResolved) {
      Fsin.sin_addr.s_addr = ResolveHost(FSocksServer);
      FAddrResolved = true;
    }
    FSocksTargetPort = ResolvePort(FPortStr, FProtoStr);
    FSocksState = 1;
    FRcvCnt = 0;
    FSocksRcvdCnt = 0;
  } catch (Exception& E) {
    RaiseOrReport("Connect: " + E.Message());
    return;
  }
  TCustomWSocket::Connect();
}

void TCustomSocksWSocket::Listen() {
  if (FSocksServerAssigned) {
    RaiseOrReport("Listening is not supported thru socks server");
    return;
  }
  TCustomWSocket::Listen();
}

void TCustomSocksWSocket::TriggerSocksConnected(WORD ErrCode) {
  if (OnSocksConnected) OnSocksConnected(this, ErrCode);
}

void TCustomSocksWSocket::TriggerSocksError(int Error, const std::string& Msg) {
  if (OnSocksError) OnSocksError(this, Error, Msg);
}

void TCustomSocksWSocket::TriggerConnectStage(WORD ErrCode) {
  if (FSocksState != 1) {
    TCustomWSocket::TriggerConnectStage(ErrCode);
    return;
  }
  TWeakLink<TCustomSocksWSocket> self(this);
  TriggerSocksConnected(ErrCode);
  if (!self) return;
  if (ErrCode != 0) {
    TriggerSessionConnected(ErrCode);
    return;
  }
  if (FSocksLevel[0] == '4') {
    SocksDoConnect();
    return;
  }
  FSocksAuthNumber = FSocksAuthentication == socksAuthenticateUsercode ? 2 : 0;
  uint8_t greeting[3] = {5, 1, FSocksAuthNumber};
  try {
    Send(greeting, 3);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksDoConnect() {
  FSocksState = 3;
  FRcvCnt = 0;
  std::string req;
  if (FSocksLevel[0] == '4') {
    uint32_t addr;
    if (FSocksLevel == "4A") {
      addr = htonl(1);
    } else {
      try {
        addr = ResolveHost(FAddrStr);
      } catch (Exception& E) {
        TWeakLink<TCustomSocksWSocket> self(this);
        TriggerSocksError(20017, E.ClassName() + " " + E.Message());
        if (self) CloseConnection(true, 20017);
        return;
      }
    }
    req += char(4);
    req += char(1);
    req += char(FSocksTargetPort >> 8);
    req += char(FSocksTargetPort & 0xFF);
    req.append(reinterpret_cast<const char*>(&addr), 4);
    req += FSocksUsercode;
    req += char(0);
    if (FSocksLevel == "4A") {
      req += FAddrStr;
      req += char(0);
    }
  } else {
    req += char(5);
    req += char(1);
    req += char(0);
    req += char(3);
    req += char(FAddrStr.size());
    req += FAddrStr;
    req += char(FSocksTargetPort >> 8);
    req += char(FSocksTargetPort & 0xFF);
  }
  try {
    SendText(req);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksDoAuthenticate() {
  FSocksState = 2;
  FRcvCnt = 0;
  TWeakLink<TCustomSocksWSocket> self(this);
  if (OnSocksAuthState) OnSocksAuthState(this, socksAuthStart);
  if (!self) return;
  std::string req;
  req += char(1);
  req += char(FSocksUsercode.size());
  req += FSocksUsercode;
  req += char(FSocksPassword.size());
  req += FSocksPassword;
  try {
    SendText(req);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksFail(int Code, const std::string& Msg) {
  TWeakLink<TCustomSocksWSocket> self(this);
  TriggerSocksError(Code, Msg);
  if (!self) return;
  FSocksState = 0;
  TriggerConnectStage(WORD(Code));
  if (!self) return;
  CloseConnection(true, WORD(Code));
}

bool TCustomSocksWSocket::TriggerDataAvailable(WORD ErrCode) {
  if (FSocksState == 0) return TCustomWSocket::TriggerDataAvailable(ErrCode);
  if (ErrCode != 0) {
    SocksFail(ErrCode, "data receive error");
    return true;
  }
  bool v4 = FSocksLevel[0] == '4';
  int limit = (v4 && FSocksState == 3) ? 8 : int(FRcvBuf.size());
  if (FSocksState == 1) limit = 2;
  if (FRcvCnt >= limit) return true;
  int n = TCustomWSocket::RecvRaw(FRcvBuf.data() + FRcvCnt, limit - FRcvCnt);
  if (n <= 0) return true;
  FRcvCnt += n;
  TWeakLink<TCustomSocksWSocket> self(this);
  switch (FSocksState) {
    case 1: {
      if (v4) {
        SocksFail(20001, "TWSocket logic error");
        return true;
      }
      if (FRcvCnt < 2) return true;
      FRcvCnt = 0;
      if (FRcvBuf[0] != 5) {
        SocksFail(20002, "socks version error");
      } else if (FRcvBuf[1] == 0) {
        if (FSocksAuthNumber == 2 && OnSocksAuthState) OnSocksAuthState(this, socksAuthNotRequired);
        if (self) SocksDoConnect();
      } else if (FRcvBuf[1] == 2) {
        SocksDoAuthenticate();
      } else {
        SocksFail(20003, "authentification method not acceptable");
      }
      return true;
    }
    case 2: {
      if (FRcvBuf[0] != 1) {
        SocksFail(20002, "socks version error");
        return true;
      }
      if (FRcvCnt > 2) {
        SocksFail(20001, "too much data availaible");
        return true;
      }
      if (FRcvCnt < 2) return true;
      if (FRcvBuf[1] != 0) {
        SocksFail(20015, "socks authentication failed");
        return true;
      }
      FRcvCnt = 0;
      if (OnSocksAuthState) OnSocksAuthState(this, socksAuthSuccess);
      if (self) SocksDoConnect();
      return true;
    }
    case 3: {
      int replyLen;
      if (v4) {
        if (FRcvCnt < 8) return true;
        replyLen = 8;
        if (FRcvBuf[0] != 0) {
          SocksFail(20002, "socks version error");
          return true;
        }
        switch (FRcvBuf[1]) {
          case 90:
            break;
          case 91:
            SocksFail(20016, "request rejected or failed");
            return true;
          case 92:
            SocksFail(20008, "connection refused");
            return true;
          case 93:
            SocksFail(20015, "authentification failed");
            return true;
          default:
            SocksFail(20012, "unassigned error #" + IntToStr(FRcvBuf[1]));
            return true;
        }
      } else {
        if (FRcvBuf[0] != 5) {
          SocksFail(20002, "socks version error");
          return true;
        }
        if (FRcvCnt < 2) return true;
        if (FRcvBuf[1] != 0) {
          static const char* const texts[] = {
              "general SOCKS server failure", "connection not allowed by ruleset",
              "network unreachable",          "host unreachable",
              "connection refused",           "time to live expired",
              "command not supported",        "address type not supported"};
          int code = FRcvBuf[1];
          if (code >= 1 && code <= 8)
            SocksFail(20003 + code, texts[code - 1]);
          else
            SocksFail(20012, "unassigned error #" + IntToStr(code));
          return true;
        }
        if (FRcvCnt < 5) return true;
        replyLen = FRcvBuf[3] == 1 ? 10 : FRcvBuf[3] == 3 ? 7 + FRcvBuf[4] : 5;
        if (FRcvCnt < replyLen) return true;
        if (FRcvBuf[3] != 1 && FRcvBuf[3] != 3) {
          SocksFail(20011, "address type not supported");
          return true;
        }
      }
      FSocksRcvdCnt = FRcvCnt - replyLen;
      FSocksRcvdPtr = replyLen;
      FRcvCnt = 0;
      FSocksState = 0;
      TriggerConnectStage(0);
      if (!self || FHSocket == INVALID_SOCKET) return true;
      TriggerDataAvailable(0);
      return true;
    }
    default:
      SocksFail(20013, "internal error");
      return true;
  }
}

void TCustomSocksWSocket::TriggerSessionClosed(WORD ErrCode) {
  if (FSocksState == 2) {
    TWeakLink<TCustomSocksWSocket> self(this);
    if (OnSocksAuthState) OnSocksAuthState(this, socksAuthFailure);
    if (!self) return;
  }
  TCustomWSocket::TriggerSessionClosed(ErrCode);
}

int TCustomSocksWSocket::PendingByteCount() {
  if (FSocksRcvdCnt > 0) return FSocksRcvdCnt;
  return TCustomWSocket::PendingByteCount();
}

int TCustomSocksWSocket::RecvRaw(void* Buffer, int Len) {
  if (FSocksRcvdCnt <= 0) return TCustomWSocket::RecvRaw(Buffer, Len);
  ++FRecvCalls;
  int n = std::min(Len, FSocksRcvdCnt);
  if (n <= 0) return 0;
  std::memcpy(Buffer, FRcvBuf.data() + FSocksRcvdPtr, size_t(n));
  FSocksRcvdPtr += n;
  FSocksRcvdCnt -= n;
  return n;
}

#include "net/IcsLineWSocket.h"

#include <algorithm>
#include <cstring>

TCustomLineWSocket::TCustomLineWSocket(TComponent* AOwner) : TCustomSocksWSocket(AOwner) {}

TCustomLineWSocket::~TCustomLineWSocket() = default;

void TCustomLineWSocket::TriggerLineLimitExceeded(int Cnt, bool& ClearData) {
  if (OnLineLimitExceeded) OnLineLimitExceeded(this, Cnt, ClearData);
}

void TCustomLineWSocket::SetLineMode(bool Value) {
  if (Value == FLineMode) return;
  FLineMode = Value;
  FLineScanned = 0;
  if ((FRcvdCnt > 0 || FLineLength > 0) && HandleValue())
    PostMessage(HandleValue(), FMsg_WM_TRIGGER_DATA_AVAILABLE, 0, 0);
}

void TCustomLineWSocket::SetLineEnd(const std::string& Value) {
  FLineEnd = Value;
  FLineScanned = 0;
}

int TCustomLineWSocket::SendLine(const std::string& Str) {
  if (Str.empty()) return 0;
  QueueText(Str);
  SendText(FLineEnd);
  return int(Str.size() + FLineEnd.size());
}

void TCustomLineWSocket::EditReceivedBytes(int& Len) {
  // The new bytes follow the FRcvdCnt held ones; edited, they replace everything from the first
  // changed byte on.
  uint8_t* held = FRcvdPtr.data() + FRcvdPos;
  std::vector<uint8_t> out(held, held + FRcvdCnt);
  std::string echo;
  for (int i = 0; i < Len; ++i) {
    uint8_t c = held[FRcvdCnt + i];
    if (c == 8) {
      if (!out.empty()) {
        if (FLineEcho) echo += "\b \b";
        out.pop_back();
      }
    } else if (c == 9) {
      do {
        out.push_back(' ');
        if (FLineEcho) echo += ' ';
      } while (out.size() % 8 != 0);
    } else {
      out.push_back(c);
      if (FLineEcho) echo += char(c);
    }
  }
  if (out.size() < size_t(FRcvdCnt)) {
    FRcvdCnt = int(out.size());
    Len = 0;
  } else {
    Len = int(out.size()) - FRcvdCnt;
  }
  out.push_back(0);
  if (FRcvdPtr.size() < FRcvdPos + out.size()) FRcvdPtr.resize(FRcvdPos + out.size());
  std::copy(out.begin(), out.end(), FRcvdPtr.begin() + std::ptrdiff_t(FRcvdPos));
  if (!echo.empty()) {
    try {
      SendText(echo);
    } catch (...) {
    }
  }
}

void TCustomLineWSocket::Consume(int Count) {
  FRcvdPos += size_t(Count);
  FRcvdCnt -= Count;
  FLineScanned = std::max(0, FLineScanned - Count);
  if (FRcvdCnt == 0) FRcvdPos = 0;
}

void TCustomLineWSocket::ClearHeld() {
  FRcvdPos = 0;
  FRcvdCnt = 0;
  FLineScanned = 0;
  if (!FRcvdPtr.empty()) FRcvdPtr[0] = 0;
}

bool TCustomLineWSocket::TriggerDataAvailable(WORD ErrCode) {
  if (!FLineMode || FLineEnd.empty() || FSocksState != 0) {
    if (FRcvdCnt > 0 && FSocksState == 0) {
      DeliverHeld(false);
      return true;
    }
    return TCustomSocksWSocket::TriggerDataAvailable(ErrCode);
  }
  int n = TCustomSocksWSocket::PendingByteCount();
  if (n < 0) return true;
  if (n == 0) n = 255;
  // Lines taken since the last notification only moved the read position: the held rest moves
  // to the front once here.
  if (FRcvdPos > 0) {
    std::memmove(FRcvdPtr.data(), FRcvdPtr.data() + FRcvdPos, size_t(FRcvdCnt) + 1);
    FRcvdPos = 0;
  }
  if (FRcvdPtr.size() < size_t(FRcvdCnt + n + 1)) FRcvdPtr.resize(size_t(FRcvdCnt + n + 1));
  int got = TCustomSocksWSocket::RecvRaw(FRcvdPtr.data() + FRcvdCnt, n);
  // Nothing new: held bytes were offered when they came and wait for news.
  if (got < 1) return true;
  if (FLineEdit) {
    EditReceivedBytes(got);
  } else if (FLineEcho) {
    try {
      Send(FRcvdPtr.data() + FRcvdCnt, got);
    } catch (...) {
    }
  }
  FRcvdCnt += got;
  FRcvdPtr[size_t(FRcvdCnt)] = 0;
  FLineScanned = std::min(FLineScanned, FRcvdCnt);
  DeliverHeld(false);
  return true;
}

// Offers the held bytes: in line mode each complete line, otherwise all of them. A handler that
// takes nothing ends the pass with the bytes still held; they come again with new data, a mode
// change or the close. Returns false when the component went away.
bool TCustomLineWSocket::DeliverHeld(bool AtClose) {
  if (FInLineLoop) return true;
  FInLineLoop = true;
  FStalled = false;
  TWeakLink<TCustomLineWSocket> self(this);
  for (;;) {
    if (FRcvdCnt <= 0) break;
    if (!FLineMode || FLineEnd.empty()) {
      if (!OnDataAvailable) {
        ClearHeld();
        break;
      }
      int before = FRcvdCnt;
      OnDataAvailable(this, 0);
      if (!self) return false;
      if (FRcvdCnt == before) break;
      continue;
    }
    // The terminator is looked for only where it could not have been seen before, so a long
    // line arriving in many reads is scanned once.
    const int le = int(FLineEnd.size());
    const int from = std::max(0, FLineScanned - le + 1);
    const uint8_t* held = FRcvdPtr.data() + FRcvdPos;
    const void* hit = from < FRcvdCnt ? ::memmem(held + from, size_t(FRcvdCnt - from),
                                                 FLineEnd.data(), size_t(le))
                                      : nullptr;
    if (!hit) {
      FLineScanned = FRcvdCnt;
      if (!AtClose && FLineLimit > 0 && FRcvdCnt > FLineLimit) {
        bool clear = true;
        TriggerLineLimitExceeded(FRcvdCnt, clear);
        if (!self) return false;
        FLineClearData = clear;
        if (clear) ClearHeld();
      }
      break;
    }
    FLineScanned = 0;
    FLineLength = int(static_cast<const uint8_t*>(hit) - held) + le;
    FLineFound = true;
    bool stalled = false;
    while (FLineMode && FLineLength > 0) {
      if (!OnDataAvailable) {
        Consume(FLineLength);
        FLineLength = 0;
        break;
      }
      int before = FLineLength;
      OnDataAvailable(this, 0);
      if (!self) return false;
      if (FLineLength == before) {
        stalled = true;
        break;
      }
    }
    FLineLength = 0;
    if (stalled) {
      FStalled = true;
      break;
    }
  }
  FLineFound = false;
  FInLineLoop = false;
  return true;
}

void TCustomLineWSocket::ProcessBufferedLines() {
  if (FRcvdCnt > 0) DeliverHeld(false);
}

void TCustomLineWSocket::WindowProcedure(TMessage& MsgRec) {
  if (MsgRec.Msg == FMsg_WM_TRIGGER_DATA_AVAILABLE && FMsg_WM_TRIGGER_DATA_AVAILABLE != 0) {
    try {
      ProcessBufferedLines();
    } catch (Exception& E) {
      HandleEventException(E);
    }
    return;
  }
  TCustomSocksWSocket::WindowProcedure(MsgRec);
}

int TCustomLineWSocket::RecvRaw(void* Buffer, int Len) {
  const bool pendingLine = FLineMode && FLineLength > 0;
  if (pendingLine || (!FLineMode && FRcvdCnt > 0)) {
    ++FRecvCalls;
    int n = std::min(Len, pendingLine ? FLineLength : FRcvdCnt);
    if (n <= 0) return 0;
    std::memcpy(Buffer, FRcvdPtr.data() + FRcvdPos, size_t(n));
    Consume(n);
    if (pendingLine) FLineLength -= n;
    return n;
  }
  return TCustomSocksWSocket::RecvRaw(Buffer, Len);
}

int TCustomLineWSocket::PendingByteCount() {
  if (FLineMode && FLineLength > 0) return FLineLength;
  if (!FLineMode && FRcvdCnt > 0) return FRcvdCnt;
  return TCustomSocksWSocket::PendingByteCount();
}

void TCustomLineWSocket::TriggerSessionClosed(WORD ErrCode) {
  TWeakLink<TCustomLineWSocket> self(this);
  if (FRcvdCnt > 0 && !FLineClearData && !FInLineLoop) {
    // Complete lines first, then what is left as a last line without terminator, offered for
    // as long as the handler takes some of it.
    if (!DeliverHeld(true)) return;
    if (!FStalled) {
      FInLineLoop = true;
      while (FRcvdCnt > 0 && OnDataAvailable) {
        const int before = FRcvdCnt;
        FLineLength = FLineMode ? FRcvdCnt : 0;
        OnDataAvailable(this, 0);
        if (!self) return;
        if (FRcvdCnt == before) break;
      }
      FInLineLoop = false;
    }
  }
  FRcvdPtr.clear();
  FRcvdPtr.shrink_to_fit();
  FRcvdPos = 0;
  FRcvdCnt = 0;
  FLineScanned = 0;
  FLineLength = 0;
  FLineClearData = false;
  TCustomSocksWSocket::TriggerSessionClosed(ErrCode);
}

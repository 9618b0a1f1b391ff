#pragma once
// The socket's line mode: received bytes are held and delivered one line at a time.

#include <string>
#include <vector>

#include "net/IcsSocksWSocket.h"

using TLineLimitEvent = Event<void(TObject* Sender, int RcvdLength, bool& ClearData)>;

class TCustomLineWSocket : public TCustomSocksWSocket {
 public:
  explicit TCustomLineWSocket(TComponent* AOwner);
  ~TCustomLineWSocket() override;

  const std::string& LineEnd() const { return FLineEnd; }
  void SetLineEnd(const std::string& Value);
  bool LineMode() const { return FLineMode; }
  int LineLimit() const { return FLineLimit; }
  void SetLineLimit(int Value) { FLineLimit = Value; }
  bool LineEcho() const { return FLineEcho; }
  void SetLineEcho(bool Value) { FLineEcho = Value; }
  bool LineEdit() const { return FLineEdit; }
  void SetLineEdit(bool Value) { FLineEdit = Value; }
  // Bytes held by the line level (tests look at it).
  int RcvdCnt() const { return FRcvdCnt; }

  TLineLimitEvent OnLineLimitExceeded;

  virtual void TriggerLineLimitExceeded(int Cnt, bool& ClearData);
  virtual void SetLineMode(bool Value);
  virtual void EditReceivedBytes(int& Len);
  virtual int SendLine(const std::string& Str);

  bool TriggerDataAvailable(WORD ErrCode) override;
  void TriggerSessionClosed(WORD ErrCode) override;
  int RecvRaw(void* Buffer, int Len) override;
  int PendingByteCount() override;
  void WindowProcedure(TMessage& MsgRec) override;

 protected:
  bool DeliverHeld(bool AtClose);
  void ProcessBufferedLines();
  // Takes Count held bytes from the front.
  void Consume(int Count);
  void ClearHeld();

  // The held bytes are FRcvdCnt bytes from FRcvdPos, always followed by a NUL.
  std::vector<uint8_t> FRcvdPtr;
  size_t FRcvdPos = 0;
  int FRcvdCnt = 0;
  // Held bytes from the front known to hold no LineEnd.
  int FLineScanned = 0;
  std::string FLineEnd = "\r\n";
  bool FLineMode = false;
  int FLineLength = 0;
  int FLineLimit = 65536;
  bool FLineFound = false;
  bool FLineClearData = false;
  bool FLineEcho = false;
  bool FLineEdit = false;
  bool FInLineLoop = false;
  bool FStalled = false;
};

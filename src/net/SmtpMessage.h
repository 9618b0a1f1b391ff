#pragma once
// The mail message of the SMTP client: TSmtpCli sends a MIME message of the MailMessage text and
// the EmailFiles as base64 attachments; the address and date helpers of the header.

#include <memory>
#include <string>
#include <vector>

#include "net/SmtpProt.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

enum class TSmtpBeforeOpenFileAction {
  smtpBeforeOpenFileNone,
  smtpBeforeOpenFileNext,
  smtpBeforeOpenFileAbort
};
using enum TSmtpBeforeOpenFileAction;
enum class TSmtpAfterOpenFileAction {
  smtpAfterOpenFileNone,
  smtpAfterOpenFileNext,
  smtpAfterOpenFileRetry,
  smtpAfterOpenFileAbort
};
using enum TSmtpAfterOpenFileAction;
enum class TSmtpShareMode {
  smtpShareCompat,
  smtpShareExclusive,
  smtpShareDenyWrite,
  smtpShareDenyRead,
  smtpShareDenyNone
};
using enum TSmtpShareMode;

using TSmtpAttachmentContentType =
    Event<void(TObject* Sender, int FileNumber, std::string& FileName, std::string& ContentType)>;
using TSmtpAttachHeader =
    Event<void(TObject* Sender, int FileNumber, const std::string& FileName, TStrings* HdrLines)>;
using TSmtpBeforeFileOpenEvent = Event<void(TObject* Sender, int Idx, const std::string& FileName,
                                            TSmtpBeforeOpenFileAction& Action)>;
using TSmtpAfterFileOpenEvent = Event<void(TObject* Sender, int Idx, const std::string& FileName,
                                           const std::string& E, TSmtpAfterOpenFileAction& Action)>;

// The name and address parts of "Name <address>", "\"Name\" <address>" or "address".
void ParseAddress(const std::string& Text, std::string& Name, std::string& Address);
void FormatAddressHeader(TStrings* Lines, const std::string& HeaderName,
                         const std::string& Addresses, char EncType, const std::string& CharSet,
                         bool Allow8bit, bool DoFold);
std::string Rfc822Date();
std::string NewMessageId();

class TSmtpCli : public TCustomSmtpClient {
 public:
  explicit TSmtpCli(TComponent* AOwner);
  ~TSmtpCli() override;

  TStringList* EmailFiles() const { return FEmailFiles.get(); }
  void SetEmailFiles(const TStrings* Value);
  TSmtpShareMode ShareMode() const;
  void SetShareMode(TSmtpShareMode Value);
  const std::string& Boundary() const { return FBoundary; }

  TSmtpAttachmentContentType OnAttachContentType;
  TSmtpAttachHeader OnAttachHeader;
  TSmtpBeforeFileOpenEvent OnBeforeFileOpen;
  TSmtpAfterFileOpenEvent OnAfterFileOpen;

  virtual void TriggerAttachContentType(int FileNumber, std::string& FileName,
                                        std::string& ContentType);
  virtual void TriggerAttachHeader(int FileNumber, const std::string& FileName, TStrings* HdrLines);
  virtual void PrepareParts();
  virtual bool NextTextPiece(std::string& Line);

  void TriggerGetData(int LineNum, std::string& Line, bool& More) override;
  void TriggerHeaderLine(std::string& Line) override;
  void Data() override;
  void Abort() override;

 protected:
  bool OpenNextFile();
  std::string EncodingName() const;

  std::vector<std::string> FPartLines;  // waiting to be sent, first first
  size_t FPartIndex = 0;
  std::unique_ptr<TStringList> FEmailFiles;
  int FFileIndex = 0;
  std::string FBoundary;
  std::unique_ptr<TStream> FAttachStream;
  bool FTextPartActive = false;
  bool FClosingWritten = false;
  int FTextLineNum = 0;
  std::vector<std::string> FTextLines;  // the message text, ready to send
  size_t FTextIndex = 0;
  TSmtpDefaultEncoding FBodyEncoding = smtpEnc7bit;
  uint16_t FShareMode = fmShareDenyWrite;
};

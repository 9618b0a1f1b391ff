#pragma once
// The disc database component: the CD drives and the disc in the selected one, the CDDB query
// and read over HTTP at protocol level 5, the replies of the CDDBP line protocol, and the
// submission of an entry by HTTP POST or by mail. Also the disc id and the request texts.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "cd/AspiCD.h"
#include "cd/LocalCDDB.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/Streams.h"

class THttpCli;
class TWSocket;
class TSmtpCli;
enum class THttpRequest;
enum class TSmtpRequest;

// ---- disc id and request text

int CDDBDigitSum(int N);
uint32_t ComputeDiscId(const TCDTOC& Toc);
// "cddb query <id> <tracks> <offsets...> <seconds>"
std::string BuildQueryCommand(const TCDTOC& Toc);
// Blank to "+", letters and digits kept, every other byte "%XX".
std::string CDDBURLEncode(const std::string& Text);
// The address with its "@" made a blank: user and host as two words ("" without an "@").
std::string EmailToHelloUser(const std::string& Address);
// Appends the lines of the stream (from its start) to List; CR, LF and CR LF end a line.
void SplitReplyLines(TMemoryStream& Stream, TStrings& List);

// ---- the component

enum class TLocalCDDBType { lctWIN, lctUNIX };
using enum TLocalCDDBType;
enum class TServerType { CDDBP, HTTP };
using enum TServerType;
enum class TSubmissionType { TEST, SUBMIT };
using enum TSubmissionType;

struct TLocation {
  std::string Latitude;
  std::string Longitude;
  std::string Description;
};

struct TServer {
  std::string Site;
  std::string Address;
  TServerType Protocol = CDDBP;
  int Port = 0;
  TLocation Location;
};

using TMatchArray = std::array<std::string, 100>;
using TServerArray = std::array<TServer, 100>;
using TStatusEvent = Event<void(TObject* Sender, const std::string& Status)>;
using TMatchEvent = Event<void(TObject* Sender, const TMatchArray& Matches, int& RightOne)>;

// Where the component asks when nothing else is set.
extern const char* const CddbDefaultServer;

class TCddb : public TComponent {
 public:
  explicit TCddb(TComponent* AOwner);
  ~TCddb() override;

  bool SelectDrive(int Index);
  bool RefreshTOC();
  char DriveLetter();
  TCDInfo& CDInfo() { return FCDInfo; }
  const TCDDriveTable& DriveTable() const { return FDrives; }
  // 0 when the request was started, -1 when not.
  int QueryDisc();
  int ReadEntry();
  void AbortQuery();

  int State() const { return FState; }
  bool Handshaken() const { return FHandshaken; }
  const TMatchArray& MatchLines() const { return FMatchLines; }
  const TEntryArray& EntryLines() const { return FEntryLines; }
  const TServerArray& Sites() const { return FSites; }

  // Reply handlers: each answers the reply flags.
  int HandleStatusReply(const std::string& Line);
  int HandleQueryLine(const std::string& Line);
  int HandleReadLine(const std::string& Line);
  int ParseReadEntry();

  // The CDDBP dialogue and the submission, which the CD dialog does not use. Each sends its
  // command and sets the state whose reply it waits for.
  void CddbpConnect();                // state 0 once connected
  void CddbpHello();                  // 1
  void CddbpSites();                  // 7
  void CddbpProtocolLevel();          // 9
  void CddbpQuery();                  // 6
  void CddbpRead();                   // 11
  void CddbpQuit();                   // 15
  // Sends the entry lines (up to the first empty one) by HTTP POST (state 14) or by mail.
  int SubmitByHttp(const TEntryArray& Entry);
  void SubmitByMail(const TEntryArray& Entry);
  THttpCli& HttpCli() { return *FHttpCli; }
  TWSocket& CddbpSocket() { return *FSocket; }
  TSmtpCli& SmtpCli() { return *FSmtpCli; }

  // Properties.
  bool InternalTOCRetrieve = false;
  TCDInterface CDInterface = cdiAutoDetect;
  std::string LocalCDDBPath = ".\\";
  std::string LocalCDDBDLLPath = ".\\LocalCDDB.dll";
  TLocalCDDBType LocalCDDBType = lctUNIX;
  const std::string& NoteToUser() const { return FNoteToUser; }
  void SetNoteToUser(const std::string& Value);
  std::string EmailUser;
  // No mail addresses are built in: the built-in service is asked over HTTP only.
  std::string EmailSubmit;
  std::string EmailTestSubmit;
  std::string ServerAddr = CddbDefaultServer;
  std::string ServerAdditionalAddr = "/~cddb/cddb.cgi";
  std::string ServerPort;
  TServerType ServerType = CDDBP;
  std::string ServerLatitude, ServerLongitude, ServerDescription;
  std::string ProxyAddress() const;
  void SetProxyAddress(const std::string& Value);
  std::string ProxyPort() const;
  void SetProxyPort(const std::string& Value);
  std::string ProxyUsername() const;
  void SetProxyUsername(const std::string& Value);
  std::string ProxyPassword() const;
  void SetProxyPassword(const std::string& Value);
  TSubmissionType SubmissionType = TEST;
  std::string MailServerAddress;
  std::string MailServerPort;
  std::string ClientName = "Sonalix";
  std::string ClientVersion = "1.0";
  std::string ClientComments;

  TStatusEvent OnStatusMessage;
  TStatusEvent OnDataExchange;
  TMatchEvent OnMatch;

 private:
  void Status(const std::string& Text);
  void Exchange(const std::string& Text);
  std::string HelloParameters() const;
  int StartGet(const std::string& Url, const std::string& Status, int NewState);
  void HttpRequestDone(TObject* Sender, THttpRequest Request, uint16_t Error);
  void HttpCommand(TObject* Sender, std::string& Line);
  int ChooseMatch();
  // CDDBP and submission replies.
  void SocketConnected(TObject* Sender, uint16_t Error);
  void SocketClosed(TObject* Sender, uint16_t Error);
  void SocketDataAvailable(TObject* Sender, uint16_t Error);
  void SendCddbpCommand(const std::string& Command, int NewState);
  struct TReplyRow {
    int Code, State;
    int Handshaken;  // -1 leaves it
    const char* Text;
    int Flags;
  };
  // Applies the row of the reply's code; a code without a row goes to HandleStatusReply when
  // Others is set, else changes nothing.
  int HandleReplyTable(const std::string& Line, std::initializer_list<TReplyRow> Rows,
                       bool Others = true);
  int HandleGreeting(const std::string& Line);
  int HandleHelloReply(const std::string& Line);
  int HandleProtocolReply(const std::string& Line);
  int HandleSiteLine(const std::string& Line);
  int HandleSubmitReply(const std::string& Line);
  void SmtpRequestDone(TObject* Sender, TSmtpRequest Request, uint16_t Error);
  void SmtpHeaderLine(TObject* Sender, std::string& Line);

  std::unique_ptr<TWSocket> FSocket;
  std::unique_ptr<TSmtpCli> FSmtpCli;
  std::unique_ptr<THttpCli> FHttpCli;
  TMemoryStream FReceived;
  TMemoryStream FSend;
  TCDDriveTable FDrives{};
  std::string FNoteToUser = "Sonalix sound editor";
  bool FHandshaken = false;
  TCDInfo FCDInfo;
  TMatchArray FMatchLines;
  TEntryArray FEntryLines;
  int FState = -1;
  TServerArray FSites;
};

// Publishes the component's properties and events, so that a form description can carry it.
void RegisterCddbClasses();

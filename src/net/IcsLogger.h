#pragma once
// The diagnostic logger that network components may be given: lines go to an event, a file
// and/or the debug output.

#include <memory>
#include <mutex>
#include <string>

#include "platform/rtl/Classes.h"

class TStream;

enum class TLogOption {
  loDestEvent,
  loDestFile,
  loDestOutDebug,
  loAddStamp,
  loWsockErr,
  loWsockInfo,
  loWsockDump,
  loSslErr,
  loSslInfo,
  loSslDump,
  loProtSpecErr,
  loProtSpecInfo,
  loProtSpecDump
};
using enum TLogOption;
using TLogOptions = TSet<TLogOption, 16>;

enum class TLogFileOption { lfoAppend, lfoOverwrite };
using enum TLogFileOption;

using TIcsLogEvent = Event<void(TObject* Sender, TLogOption LogOption, const std::string& Msg)>;

SONALIX_DECLARE_EXCEPTION(ELoggerException, Exception);

class TIcsLogger : public TComponent {
 public:
  explicit TIcsLogger(TComponent* AOwner);
  ~TIcsLogger() override;

  TLogOptions LogOptions() const { return FLogOptions; }
  void SetLogOptions(TLogOptions Value);
  const std::string& LogFileName() const { return FLogFileName; }
  // A new name closes the open file; the next file line opens the new one.
  void SetLogFileName(const std::string& Value);
  TLogFileOption LogFileOption() const { return FLogFileOption; }
  void SetLogFileOption(TLogFileOption Value);

  void WriteLine(TObject* Sender, TLogOption LogOption, const std::string& Msg);
  void CloseLogFile();

  TIcsLogEvent OnIcsLogEvent;

 private:
  void OpenLogFile();

  TLogOptions FLogOptions;
  std::string FLogFileName;
  std::unique_ptr<TStream> FLogFile;
  TLogFileOption FLogFileOption = lfoAppend;
  std::recursive_mutex FLock;
};

#include "net/IcsLogger.h"

#include <cstdio>

#include "platform/rtl/Streams.h"

TIcsLogger::TIcsLogger(TComponent* AOwner) : TComponent(AOwner) {}

TIcsLogger::~TIcsLogger() {
  Destroying();
  std::lock_guard lock(FLock);
  FLogFile.reset();
}

void TIcsLogger::SetLogOptions(TLogOptions Value) {
  std::lock_guard lock(FLock);
  FLogOptions = Value;
}

void TIcsLogger::SetLogFileName(const std::string& Value) {
  std::lock_guard lock(FLock);
  if (Value == FLogFileName) return;
  FLogFileName = Value;
  FLogFile.reset();
}

void TIcsLogger::SetLogFileOption(TLogFileOption Value) {
  std::lock_guard lock(FLock);
  FLogFileOption = Value;
}

void TIcsLogger::CloseLogFile() {
  std::lock_guard lock(FLock);
  FLogFile.reset();
}

void TIcsLogger::OpenLogFile() {
  FLogFile.reset();
  if (FLogFileName.empty()) throw ELoggerException("File name empty");
  if (!FileExists(FLogFileName)) TFileStream(FLogFileName, fmCreate);
  auto file = std::make_unique<TFileStream>(FLogFileName, fmOpenReadWrite | fmShareDenyWrite);
  if (FLogFileOption == lfoOverwrite)
    file->SetSize(0);
  else
    file->Seek(0, soEnd);
  FLogFile = std::move(file);
}

void TIcsLogger::WriteLine(TObject* Sender, TLogOption LogOption, const std::string& Msg) {
  std::lock_guard lock(FLock);
  if (ComponentState().Contains(csDestroying)) return;
  const std::string line =
      FLogOptions.Contains(loAddStamp) ? FormatDateTime("hh:nn:ss:zzz", Now()) + " " + Msg : Msg;
  if (FLogOptions.Contains(loDestEvent) && OnIcsLogEvent) OnIcsLogEvent(Sender, LogOption, line);
  // The debug output of this platform is the standard error stream.
  if (FLogOptions.Contains(loDestOutDebug)) std::fprintf(stderr, "%s\n", line.c_str());
  if (FLogOptions.Contains(loDestFile)) {
    if (!FLogFile) OpenLogFile();
    FLogFile->WriteString(line + "\r\n");
  }
}

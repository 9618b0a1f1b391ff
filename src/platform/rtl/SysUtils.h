#pragma once
// Exceptions, formatting and the string, number and file helpers with the platform's semantics.

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/System.h"

class Exception : public TObject, public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
  int FHelpContext = 0;
};

#define SONALIX_DECLARE_EXCEPTION(Name, Base)  \
  class Name : public Base {                   \
   public:                                     \
    using Base::Base;                          \
  }

// EAbort is the silent exception: the default handler shows nothing for it.
SONALIX_DECLARE_EXCEPTION(EAbort, Exception);
SONALIX_DECLARE_EXCEPTION(EConvertError, Exception);
SONALIX_DECLARE_EXCEPTION(EClassNotFound, Exception);
SONALIX_DECLARE_EXCEPTION(EComponentError, Exception);
SONALIX_DECLARE_EXCEPTION(EInvalidOperation, Exception);
SONALIX_DECLARE_EXCEPTION(EInvalidPointer, Exception);
SONALIX_DECLARE_EXCEPTION(EListError, Exception);
SONALIX_DECLARE_EXCEPTION(EStringListError, Exception);
SONALIX_DECLARE_EXCEPTION(EOutOfMemory, Exception);
SONALIX_DECLARE_EXCEPTION(EInOutError, Exception);
SONALIX_DECLARE_EXCEPTION(EStreamError, Exception);
SONALIX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
SONALIX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
SONALIX_DECLARE_EXCEPTION(EReadError, EStreamError);
SONALIX_DECLARE_EXCEPTION(EWriteError, EStreamError);
SONALIX_DECLARE_EXCEPTION(EFilerError, EStreamError);
SONALIX_DECLARE_EXCEPTION(EResNotFound, Exception);
SONALIX_DECLARE_EXCEPTION(EInvalidCast, Exception);
SONALIX_DECLARE_EXCEPTION(EArgumentException, Exception);
SONALIX_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
SONALIX_DECLARE_EXCEPTION(ENotSupportedException, Exception);
SONALIX_DECLARE_EXCEPTION(EOSError, Exception);
SONALIX_DECLARE_EXCEPTION(EIntError, Exception);
SONALIX_DECLARE_EXCEPTION(EDivByZero, EIntError);
SONALIX_DECLARE_EXCEPTION(ERangeError, EIntError);
SONALIX_DECLARE_EXCEPTION(EMathError, Exception);
SONALIX_DECLARE_EXCEPTION(EInvalidOp, EMathError);
// A programming error found by a check in the code (the unit's name in the message).
SONALIX_DECLARE_EXCEPTION(EAssertionFailed, Exception);

// Raises EAbort.
[[noreturn]] void Abort();

// One argument of Format: integer, floating point, text, character or pointer.
struct TVarRec {
  std::variant<int64_t, double, std::string, char, const void*> Value;
  TVarRec(int v) : Value(int64_t(v)) {}                    // NOLINT
  TVarRec(unsigned v) : Value(int64_t(v)) {}               // NOLINT
  TVarRec(long v) : Value(int64_t(v)) {}                   // NOLINT
  TVarRec(unsigned long v) : Value(int64_t(v)) {}          // NOLINT
  TVarRec(long long v) : Value(int64_t(v)) {}              // NOLINT
  TVarRec(unsigned long long v) : Value(int64_t(v)) {}     // NOLINT
  TVarRec(double v) : Value(v) {}                          // NOLINT
  TVarRec(float v) : Value(double(v)) {}                   // NOLINT
  TVarRec(const char* v) : Value(std::string(v ? v : "")) {}  // NOLINT
  TVarRec(std::string v) : Value(std::move(v)) {}          // NOLINT
  TVarRec(char v) : Value(v) {}                            // NOLINT
  TVarRec(const void* v) : Value(v) {}                     // NOLINT
};

// The platform's Format: %d %u %x (upper case) %s %f %e %g %n %m %p %c, with index ("%0:s"),
// left alignment, width and precision ("*" reads an argument). A conversion that does not fit
// its argument, or a missing argument, raises EConvertError.
std::string Format(const std::string& format, std::initializer_list<TVarRec> args);

std::string UpperCase(const std::string& s);  // ASCII only, as the platform's
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

std::string IntToStr(int64_t value);
std::string IntToHex(int64_t value, int digits);
// Strict: decimal with optional sign, or hexadecimal after "$" or "0x"; surrounding blanks are
// refused. Raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int fallback);
bool TryStrToInt(const std::string& s, int& value);
bool TryStrToInt64(const std::string& s, int64_t& value);

// ---------------------------------------------------------------------------------------------
// Strings with the platform's 1-based positions.

// Position (1-based) of Sub in S, 0 when absent.
int Pos(const std::string& Sub, const std::string& S, int Offset = 1);
// Count characters from the 1-based Index; out-of-range parts are clipped.
std::string Copy(const std::string& S, int Index, int Count);
enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag, 2>;
using enum TReplaceFlag;
std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags);
std::string QuotedStr(const std::string& S);
// Byte-wise comparison.
int CompareStr(const std::string& S1, const std::string& S2);
bool SameStr(const std::string& S1, const std::string& S2);
// The "Ansi" routines of the platform follow the user's language; on UTF-8 text they map and
// compare cases by Unicode, the same on every machine. AnsiCompareStr orders as a dictionary:
// letters without regard to case first, then lower case before upper case.
std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);
int AnsiCompareText(const std::string& S1, const std::string& S2);
int AnsiCompareStr(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);
bool AnsiSameStr(const std::string& S1, const std::string& S2);
inline int AnsiPos(const std::string& Sub, const std::string& S) { return Pos(Sub, S); }

// ---------------------------------------------------------------------------------------------
// Numbers with the platform's exact semantics.

// A * B / C with a 64-bit intermediate, rounded half away from zero; -1 when C is zero or the
// result does not fit in 32 bits.
int MulDiv(int A, int B, int C);
// Rounds half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Round and Trunc raise EInvalidOp
// "Invalid floating point operation" for NaN and values outside 64 bits.
int64_t Round(double X);
// Towards zero.
int64_t Trunc(double X);
double Frac(double X);
double Int(double X);
// Truncating integer division and remainder (the sign of the remainder follows A); a zero
// divisor raises EDivByZero.
int64_t Div(int64_t A, int64_t B);
int64_t Mod(int64_t A, int64_t B);
double Power(double Base, double Exponent);
double IntPower(double Base, int Exponent);

// Pseudo-random numbers: Random(Range) in [0, Range), Random() in [0, 1). The sequence
// repeats for a seed; Randomize seeds from the clock.
int Random(int Range);
double Random();
void Randomize();
void SetRandSeed(uint32_t Seed);

// Texts of floating-point numbers always use '.' as the decimal separator.
// 15 significant digits, the shortest of fixed and scientific ("0.5", "1E20").
std::string FloatToStr(double Value);
// Optional sign, digits with an optional '.' fraction and an optional exponent; blanks around
// are allowed. Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const std::string& S);
double StrToFloatDef(const std::string& S, double Default);
bool TryStrToFloat(const std::string& S, double& Value);
// Formats with a picture such as "0.00", "#,##0.0", "0.###".
std::string FormatFloat(const std::string& Format, double Value);

// ---------------------------------------------------------------------------------------------
// Date and time: days since 1899-12-30, the time of day as the fraction.

using TDateTime = double;

// Separators and names that date and time texts use. The global FormatSettings is the
// process-wide default; functions that take a TFormatSettings never change it.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "m/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  std::string LongTimeFormat = "h:nn:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string LongMonthNames[12] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
  std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
};
extern TFormatSettings FormatSettings;

constexpr double HoursPerDay = 24, MinsPerDay = 24 * 60, SecsPerDay = 24 * 60 * 60,
                 MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
void DecodeDate(TDateTime Date, uint16_t& Year, uint16_t& Month, uint16_t& Day);
void DecodeTime(TDateTime Time, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Date);
// Milliseconds since midnight and days since 0001-01-01 (counted from 1).
struct TTimeStamp {
  int Time = 0;
  int Date = 0;
};
constexpr int DateDelta = 693594;  // days from 0001-01-01 to 1899-12-31
TTimeStamp DateTimeToTimeStamp(TDateTime DateTime);
TDateTime TimeStampToDateTime(const TTimeStamp& TimeStamp);
// Local time. Tests may put a clock of their own behind Now, Date and Time (an empty
// function restores the system's).
TDateTime Now();
void SetNowFunction(std::function<TDateTime()> Function);
TDateTime Date();
TDateTime Time();
// Coordinated universal time.
TDateTime NowUTC();
TDateTime UnixToDateTime(int64_t Seconds);
int64_t DateTimeToUnix(TDateTime Value);

// Specifiers: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt
// am/pm a/p ampm / : and quoted text; "m" right after an hour means minutes.
std::string FormatDateTime(const std::string& Format, TDateTime DateTime);
std::string FormatDateTime(const std::string& Format, TDateTime DateTime,
                           const TFormatSettings& Settings);
std::string DateToStr(TDateTime Date);
std::string TimeToStr(TDateTime Time);
std::string DateTimeToStr(TDateTime DateTime);
// "h:n[:s[.zzz]]" with an optional AM/PM suffix; raises EConvertError "'%s' is not a valid time".
TDateTime StrToTime(const std::string& S);
TDateTime StrToTime(const std::string& S, const TFormatSettings& Settings);
bool TryStrToTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings);
// Day, month and year in the order of ShortDateFormat, separated by DateSeparator; raises
// EConvertError "'%s' is not a valid date".
TDateTime StrToDate(const std::string& S);
TDateTime StrToDate(const std::string& S, const TFormatSettings& Settings);
bool TryStrToDate(const std::string& S, TDateTime& Value, const TFormatSettings& Settings);
// A date, a time, or a date followed by a time.
TDateTime StrToDateTime(const std::string& S);
TDateTime StrToDateTime(const std::string& S, const TFormatSettings& Settings);

// ---------------------------------------------------------------------------------------------
// Paths and files. Paths are POSIX and UTF-8, '/' separates folders. Paths that start with a
// drive letter ("D:\Track01.cda", the drives of the drives table) also accept '\'.

constexpr char PathDelim = '/';
constexpr char DriveDelim = ':';
constexpr char PathSep = ':';

// True when Path[Index] (0-based) separates folders.
bool IsPathDelimiter(const std::string& Path, int Index);
// "X:" for drive-letter paths, "" otherwise.
std::string ExtractFileDrive(const std::string& FileName);
// Up to and including the last delimiter.
std::string ExtractFilePath(const std::string& FileName);
// Like ExtractFilePath without the trailing delimiter, unless that is the root.
std::string ExtractFileDir(const std::string& FileName);
std::string ExtractFileName(const std::string& FileName);
// From the last '.' of the name on (".wav"), or "".
std::string ExtractFileExt(const std::string& FileName);
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
std::string IncludeTrailingPathDelimiter(const std::string& S);
std::string ExcludeTrailingPathDelimiter(const std::string& S);
// Absolute, with "." and ".." resolved against the current folder (no symbolic links followed).
std::string ExpandFileName(const std::string& FileName);

// File attributes of TSearchRec.Attr.
constexpr int faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faVolumeID = 0x08,
              faDirectory = 0x10, faArchive = 0x20, faNormal = 0x80, faSymLink = 0x400,
              faAnyFile = 0x1FF;

struct TFindState;
struct TSearchRec {
  int Attr = 0;
  int64_t Size = 0;
  TDateTime TimeStamp = 0;  // last modification, local time
  std::string Name;
  int ExcludeAttr = 0;
  std::shared_ptr<TFindState> FindHandle;
};

// FindFirst(Path with a mask such as "dir/*.wav", Attr, F): 0 and the first match in F, or an
// error number (ENOENT when nothing matches). Masks match case-insensitively, '*' and '?' as
// wildcards, "*.*" matching every name. Plain files always match; folders, hidden (dot) files and
// other special entries only when Attr asks for them.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// Files that live outside the file system (the audio tracks of a CD as "D:\Track01.cda"): a
// provider claims paths, answers whether a file exists, and lists a folder for FindFirst.
class TVirtualFileProvider {
 public:
  virtual ~TVirtualFileProvider() = default;
  virtual bool Handles(const std::string& Path) const = 0;
  virtual bool FileExists(const std::string& Path) const = 0;
  // Fills Entries with the folder's files (Name, Attr, Size, TimeStamp); false when no folder.
  virtual bool ListFolder(const std::string& Folder, std::vector<TSearchRec>& Entries) const = 0;
};
// Installs the provider (nullptr removes it); returns the previous one. Not owned.
TVirtualFileProvider* SetVirtualFileProvider(TVirtualFileProvider* Provider);

// A regular file (or a provider's file); false for folders.
bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Directory);
// Creates the folder and its missing parents; false when that fails or Dir is empty.
bool ForceDirectories(const std::string& Dir);
bool CreateDir(const std::string& Dir);
bool RemoveDir(const std::string& Dir);
bool DeleteFile(const std::string& FileName);
// Fails (false) when NewName already exists, as the platform's does, instead of replacing it.
bool RenameFile(const std::string& OldName, const std::string& NewName);
// Last modification time (local); false when the file does not exist.
bool FileAge(const std::string& FileName, TDateTime& FileDateTime);
// Size in bytes, -1 when the file does not exist.
int64_t FileSizeByName(const std::string& FileName);
bool FileIsReadOnly(const std::string& FileName);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& Dir);
std::string GetEnvironmentVariable(const std::string& Name);
// The text of an OS error number (errno).
std::string SysErrorMessage(int ErrorCode);

// Program arguments: ParamStr(0) is the program's absolute path. Set from main; until then they
// come from the running QCoreApplication.
void SetCommandLine(int argc, char** argv);
int ParamCount();
std::string ParamStr(int Index);

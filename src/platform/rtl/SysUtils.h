#pragma once
// Exceptions, formatting and the string, number and file helpers with the platform's semantics.

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <variant>

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
SONALIX_DECLARE_EXCEPTION(EArgumentException, Exception);
SONALIX_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
SONALIX_DECLARE_EXCEPTION(ENotSupportedException, Exception);
SONALIX_DECLARE_EXCEPTION(EOSError, Exception);
SONALIX_DECLARE_EXCEPTION(EIntError, Exception);
SONALIX_DECLARE_EXCEPTION(EDivByZero, EIntError);
SONALIX_DECLARE_EXCEPTION(ERangeError, EIntError);
SONALIX_DECLARE_EXCEPTION(EMathError, Exception);

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

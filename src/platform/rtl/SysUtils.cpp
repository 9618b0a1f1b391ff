#include "platform/rtl/SysUtils.h"

#include <locale.h>

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cinttypes>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

void Abort() { throw EAbort("Operation aborted"); }

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return r;
}

int CompareText(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int ca = (unsigned char)a[i], cb = (unsigned char)b[i];
    if (ca >= 'a' && ca <= 'z') ca -= 32;
    if (cb >= 'a' && cb <= 'z') cb -= 32;
    if (ca != cb) return ca - cb;
  }
  return int(a.size()) - int(b.size());
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

// The platform trims every control character and blank (code <= 32).
std::string TrimLeft(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (unsigned char)s[i] <= ' ') ++i;
  return s.substr(i);
}

std::string TrimRight(const std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && (unsigned char)s[n - 1] <= ' ') --n;
  return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(int64_t value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*" PRIX64, std::max(digits, 0), uint64_t(value));
  return buf;
}

bool TryStrToInt64(const std::string& s, int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
  for (; i < s.size(); ++i) {
    int d;
    char c = s[i];
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    if (acc > (limit - d) / base) return false;
    acc = acc * base + d;
  }
  value = negative ? int64_t(0 - acc) : int64_t(acc);
  return true;
}

bool TryStrToInt(const std::string& s, int& value) {
  int64_t v;
  if (!TryStrToInt64(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
  value = int(v);
  return true;
}

int64_t StrToInt64(const std::string& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError(Format("'%s' is not a valid integer value", {s}));
  return v;
}

int StrToInt(const std::string& s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError(Format("'%s' is not a valid integer value", {s}));
  return v;
}

int StrToIntDef(const std::string& s, int fallback) {
  int v;
  return TryStrToInt(s, v) ? v : fallback;
}

namespace {

[[noreturn]] void FormatError(const std::string& format) {
  throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

std::string ThousandSeparated(const std::string& digits) {
  // digits: optional '-', integer part, optional fraction.
  std::size_t start = digits[0] == '-' ? 1 : 0;
  std::size_t point = digits.find('.');
  if (point == std::string::npos) point = digits.size();
  std::string r = digits.substr(0, start);
  for (std::size_t i = start; i < point; ++i) {
    r += digits[i];
    std::size_t remaining = point - i - 1;
    if (remaining > 0 && remaining % 3 == 0) r += ',';
  }
  return r + digits.substr(point);
}

// Texts of numbers round a decimal 5 away from zero (2.25 -> "2.3" with one decimal), as the
// platform does; printf rounds the binary value to even instead. Both helpers print the exact
// expansion with spare digits and round the decimal text.

// printf in the "C" locale: the process locale (which Qt sets from the user's) may use a
// decimal comma.
template <class... A>
void CPrintf(char* buf, std::size_t size, const char* format, A... args) {
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  locale_t old = uselocale(cLocale);
  std::snprintf(buf, size, format, args...);
  uselocale(old);
}

// Value >= 0 with Digits decimals.
std::string FixedHalfAway(double v, int digits) {
  char buf[512];
  CPrintf(buf, sizeof buf, "%.*f", digits + 30, v);
  std::string s = buf;
  std::size_t dot = s.find('.');
  std::size_t cut = dot + 1 + std::size_t(digits);
  bool up = s[cut] >= '5';
  s.resize(digits == 0 ? dot : cut);
  for (std::size_t i = s.size(); up && i-- > 0;) {
    if (s[i] == '.') continue;
    if (s[i] == '9') {
      s[i] = '0';
    } else {
      ++s[i];
      up = false;
    }
  }
  if (up) s = "1" + s;
  return s;
}

// Value > 0 as Count significant digits and the decimal exponent of the first.
void SignificantHalfAway(double v, int count, std::string& digits, int& exponent) {
  char buf[128];
  CPrintf(buf, sizeof buf, "%.*e", count - 1 + 30, v);
  std::string s = buf;
  std::size_t e = s.find('e');
  exponent = std::atoi(s.c_str() + e + 1);
  std::string all = s.substr(0, 1) + s.substr(2, e - 2);
  bool up = all[std::size_t(count)] >= '5';
  digits = all.substr(0, std::size_t(count));
  for (std::size_t i = digits.size(); up && i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      up = false;
    }
  }
  if (up) {
    digits = "1" + digits.substr(0, digits.size() - 1);
    ++exponent;
  }
}

// Fixed notation with sign; no "-" when the text shows zero.
std::string Fixed(double v, int digits) {
  std::string s = FixedHalfAway(std::fabs(v), digits);
  bool zero = s.find_first_of("123456789") == std::string::npos;
  return (v < 0 && !zero ? "-" : "") + s;
}

// Scientific notation as the platform writes it: d.ddddE+ddd, precision significant digits.
std::string Scientific(double v, int precision) {
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  std::string digits(std::size_t(precision), '0');
  int exponent = 0;
  if (v != 0) SignificantHalfAway(std::fabs(v), precision, digits, exponent);
  std::string mantissa = digits.substr(0, 1);
  if (precision > 1) mantissa += "." + digits.substr(1);
  std::string exp = std::to_string(std::abs(exponent));
  while (exp.size() < 3) exp = "0" + exp;
  return (v < 0 ? "-" : "") + mantissa + "E" + (exponent < 0 ? "-" : "+") + exp;
}

// General format: the shortest of fixed and scientific with precision significant digits,
// trailing zeros removed.
std::string General(double v, int precision) {
  if (precision < 1 || precision > 15) precision = 15;
  if (v == 0) return "0";
  std::string digits;
  int exponent;
  SignificantHalfAway(std::fabs(v), precision, digits, exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string sign = v < 0 ? "-" : "";
  if (exponent >= precision || exponent < -4) {
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1) mantissa += "." + digits.substr(1);
    return sign + mantissa + "E" + (exponent < 0 ? "-" : "") + std::to_string(std::abs(exponent));
  }
  std::string r;
  if (exponent < 0) {
    r = "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
  } else if (int(digits.size()) <= exponent + 1) {
    r = digits + std::string(std::size_t(exponent + 1 - int(digits.size())), '0');
  } else {
    r = digits.substr(0, std::size_t(exponent + 1)) + "." +
        digits.substr(std::size_t(exponent + 1));
  }
  return sign + r;
}

}  // namespace

std::string Format(const std::string& format, std::initializer_list<TVarRec> argList) {
  const TVarRec* args = argList.begin();
  const std::size_t count = argList.size();
  std::size_t next = 0;
  std::string out;
  std::size_t i = 0;
  const std::size_t n = format.size();

  auto readNumber = [&](int& value) -> bool {
    if (i < n && format[i] == '*') {
      ++i;
      if (next >= count) FormatError(format);
      const auto* v = std::get_if<int64_t>(&args[next++].Value);
      if (!v) FormatError(format);
      value = int(*v);
      return true;
    }
    if (i >= n || !std::isdigit((unsigned char)format[i])) return false;
    value = 0;
    while (i < n && std::isdigit((unsigned char)format[i]))
      value = value * 10 + (format[i++] - '0');
    return true;
  };

  while (i < n) {
    char c = format[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < n && format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    int number = -1;
    bool left = false;
    int width = -1, precision = -1;
    // [index ":"] ["-"] [width] ["." prec]
    if (readNumber(number)) {
      if (i < n && format[i] == ':') {
        ++i;
        next = std::size_t(number);
        number = -1;
        if (i < n && format[i] == '-') {
          left = true;
          ++i;
        }
        readNumber(width);
      } else {
        width = number;
      }
    } else {
      if (i < n && format[i] == '-') {
        left = true;
        ++i;
      }
      readNumber(width);
    }
    if (i < n && format[i] == '.') {
      ++i;
      if (!readNumber(precision)) precision = 0;
    }
    if (i >= n) FormatError(format);
    char type = char(std::toupper((unsigned char)format[i++]));
    if (next >= count) FormatError(format);
    const TVarRec& arg = args[next++];
    std::string text;
    const auto* integer = std::get_if<int64_t>(&arg.Value);
    const auto* real = std::get_if<double>(&arg.Value);
    switch (type) {
      case 'D':
      case 'U': {
        if (!integer) FormatError(format);
        int64_t v = *integer;
        if (type == 'U' && v < 0) v = int64_t(uint32_t(v));
        std::string digits = std::to_string(v < 0 ? 0 - uint64_t(v) : uint64_t(v));
        while (precision > 0 && int(digits.size()) < precision) digits = "0" + digits;
        text = (v < 0 ? "-" : "") + digits;
        break;
      }
      case 'X': {
        if (!integer) FormatError(format);
        uint64_t v = uint64_t(*integer);
        if (*integer < 0 && *integer >= INT32_MIN) v = uint32_t(*integer);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%" PRIX64, v);
        text = buf;
        while (precision > 0 && int(text.size()) < precision) text = "0" + text;
        break;
      }
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M': {
        if (!real) FormatError(format);
        double v = *real;
        if (type == 'E') {
          text = Scientific(v, precision < 0 ? 15 : precision);
        } else if (type == 'G') {
          text = General(v, precision < 0 ? 15 : precision);
        } else {
          int p = precision < 0 ? 2 : std::min(precision, 18);
          text = Fixed(v, p);
          if (type != 'F') text = ThousandSeparated(text);
          if (type == 'M') text = text[0] == '-' ? "-$" + text.substr(1) : "$" + text;
        }
        break;
      }
      case 'S': {
        if (const auto* s = std::get_if<std::string>(&arg.Value))
          text = *s;
        else if (const auto* ch = std::get_if<char>(&arg.Value))
          text = std::string(1, *ch);
        else
          FormatError(format);
        if (precision >= 0 && int(text.size()) > precision) text.resize(precision);
        break;
      }
      case 'P': {
        const auto* p = std::get_if<const void*>(&arg.Value);
        if (!p) FormatError(format);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%0*" PRIXPTR, int(2 * sizeof(void*)), uintptr_t(*p));
        text = buf;
        break;
      }
      default:
        FormatError(format);
    }
    if (width > int(text.size())) {
      std::string pad(std::size_t(width) - text.size(), ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

int Pos(const std::string& Sub, const std::string& S, int Offset) {
  if (Sub.empty() || Offset < 1 || Offset > int(S.size())) return 0;
  std::size_t p = S.find(Sub, std::size_t(Offset - 1));
  return p == std::string::npos ? 0 : int(p) + 1;
}

std::string Copy(const std::string& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || Index > int(S.size())) return {};
  return S.substr(std::size_t(Index - 1), std::size_t(Count));
}

std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool ignoreCase = Flags.Contains(rfIgnoreCase);
  const std::string hay = ignoreCase ? UpperCase(S) : S;
  const std::string needle = ignoreCase ? UpperCase(OldPattern) : OldPattern;
  std::string r;
  std::size_t from = 0;
  while (true) {
    std::size_t p = hay.find(needle, from);
    if (p == std::string::npos) break;
    r.append(S, from, p - from);
    r += NewPattern;
    from = p + needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  r.append(S, from, std::string::npos);
  return r;
}

std::string QuotedStr(const std::string& S) {
  return "'" + StringReplace(S, "'", "''", {rfReplaceAll}) + "'";
}

int MulDiv(int A, int B, int C) {
  if (C == 0) return -1;
  int64_t p = int64_t(A) * int64_t(B);
  const bool negative = (p < 0) != (C < 0);
  uint64_t num = p < 0 ? uint64_t(0) - uint64_t(p) : uint64_t(p);
  uint64_t den = C < 0 ? uint64_t(0) - uint64_t(int64_t(C)) : uint64_t(C);
  uint64_t q = num / den;
  if ((num % den) * 2 >= den) ++q;
  if (negative ? q > uint64_t(INT32_MAX) + 1 : q > uint64_t(INT32_MAX)) return -1;
  return negative ? int(-int64_t(q)) : int(q);
}

namespace {
double CheckInt64Range(double X) {
  // 2^63 itself is out of range; -2^63 is in.
  if (!(X >= -9223372036854775808.0 && X < 9223372036854775808.0))
    throw EInvalidOp("Invalid floating point operation");
  return X;
}
}  // namespace

int64_t Round(double X) {
  double f = std::floor(X);
  double diff = X - f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
  return int64_t(CheckInt64Range(f));
}

int64_t Trunc(double X) { return int64_t(CheckInt64Range(std::trunc(X))); }
double Int(double X) { return std::trunc(X); }
double Frac(double X) { return X - std::trunc(X); }

int64_t Div(int64_t A, int64_t B) {
  if (B == 0) throw EDivByZero("Division by zero");
  if (B == -1) return int64_t(0 - uint64_t(A));  // INT64_MIN / -1 wraps instead of trapping
  return A / B;
}

int64_t Mod(int64_t A, int64_t B) {
  if (B == 0) throw EDivByZero("Division by zero");
  if (B == -1) return 0;
  return A % B;
}

double Power(double Base, double Exponent) { return std::pow(Base, Exponent); }

double IntPower(double Base, int Exponent) {
  double r = 1;
  double b = Base;
  for (int64_t e = std::abs(int64_t(Exponent)); e > 0; e >>= 1) {
    if (e & 1) r *= b;
    b *= b;
  }
  return Exponent < 0 ? 1 / r : r;
}

std::string FloatToStr(double Value) { return Format("%g", {Value}); }

bool TryStrToFloat(const std::string& S, double& Value) {
  std::string s = Trim(S);
  std::size_t i = 0;
  const std::size_t n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && std::isdigit((unsigned char)s[i])) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && std::isdigit((unsigned char)s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && std::isdigit((unsigned char)s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  // strtod follows LC_NUMERIC; the text was checked to hold only '.' as separator, so read it
  // in the "C" locale.
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  double v = strtod_l(s.c_str(), nullptr, cLocale);
  if (!std::isfinite(v)) return false;
  Value = v;
  return true;
}

double StrToFloat(const std::string& S) {
  double v;
  if (!TryStrToFloat(S, v))
    throw EConvertError(Format("'%s' is not a valid floating point value", {S}));
  return v;
}

double StrToFloatDef(const std::string& S, double Default) {
  double v;
  return TryStrToFloat(S, v) ? v : Default;
}

std::string FormatFloat(const std::string& Fmt, double Value) {
  // Picture: [#,]0[.0#], a literal prefix/suffix kept as written.
  std::size_t first = Fmt.find_first_of("0#");
  if (first == std::string::npos) return Fmt;
  std::size_t last = Fmt.find_last_of("0#");
  std::string prefix = Fmt.substr(0, first), suffix = Fmt.substr(last + 1);
  std::string picture = Fmt.substr(first, last - first + 1);
  bool thousands = picture.find(',') != std::string::npos;
  std::size_t point = picture.find('.');
  std::string intPart = picture.substr(0, point);
  std::string fracPart = point == std::string::npos ? "" : picture.substr(point + 1);
  int minFrac = 0, maxFrac = 0;
  for (char c : fracPart) {
    if (c == '0')
      minFrac = ++maxFrac;
    else if (c == '#')
      ++maxFrac;
  }
  int minInt = 0;
  for (char c : intPart)
    if (c == '0') ++minInt;
  std::string digits = FixedHalfAway(std::fabs(Value), maxFrac);
  std::size_t dot = digits.find('.');
  std::string ip = digits.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : digits.substr(dot + 1);
  while (int(fp.size()) > minFrac && fp.back() == '0') fp.pop_back();
  if (ip == "0" && minInt == 0) ip.clear();
  while (int(ip.size()) < minInt) ip = "0" + ip;
  if (thousands) {
    std::string t;
    for (std::size_t i = 0; i < ip.size(); ++i) {
      t += ip[i];
      std::size_t rest = ip.size() - i - 1;
      if (rest > 0 && rest % 3 == 0) t += FormatSettings.ThousandSeparator;
    }
    ip = t;
  }
  std::string body = ip + (fp.empty() ? "" : std::string(1, FormatSettings.DecimalSeparator) + fp);
  bool negative = Value < 0 && std::any_of(body.begin(), body.end(),
                                           [](char c) { return c >= '1' && c <= '9'; });
  if (body.empty()) body = "0";
  return prefix + (negative ? "-" : "") + body + suffix;
}

int CompareStr(const std::string& S1, const std::string& S2) {
  int c = S1.compare(S2);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool SameStr(const std::string& S1, const std::string& S2) { return S1 == S2; }

std::string AnsiUpperCase(const std::string& S) {
  return QString::fromStdString(S).toUpper().toStdString();
}

std::string AnsiLowerCase(const std::string& S) {
  return QString::fromStdString(S).toLower().toStdString();
}

namespace {
// One collation for every machine: the language-neutral Unicode order (ICU's root), whatever
// the user's locale. Punctuation sorts before digits and letters, accented letters beside their
// base letter, lower case before upper case.
QCollator& Collator(bool caseSensitive) {
  thread_local QCollator sensitive = [] {
    QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  thread_local QCollator insensitive = [] {
    QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  return caseSensitive ? sensitive : insensitive;
}

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }
}  // namespace

int AnsiCompareText(const std::string& S1, const std::string& S2) {
  return Sign(Collator(false).compare(QString::fromStdString(S1), QString::fromStdString(S2)));
}

int AnsiCompareStr(const std::string& S1, const std::string& S2) {
  if (S1 == S2) return 0;
  int c = Sign(Collator(true).compare(QString::fromStdString(S1), QString::fromStdString(S2)));
  // Only equal texts compare equal, so a sorted list keeps distinct strings apart.
  return c != 0 ? c : CompareStr(S1, S2);
}

bool AnsiSameText(const std::string& S1, const std::string& S2) {
  return AnsiCompareText(S1, S2) == 0;
}

bool AnsiSameStr(const std::string& S1, const std::string& S2) { return S1 == S2; }

namespace {
std::mt19937& RandomEngine() {
  static std::mt19937 engine(0);
  return engine;
}
}  // namespace

int Random(int Range) {
  if (Range <= 0) return 0;
  return int(std::uniform_int_distribution<int>(0, Range - 1)(RandomEngine()));
}

double Random() { return std::uniform_real_distribution<double>(0.0, 1.0)(RandomEngine()); }

void Randomize() {
  RandomEngine().seed(uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      std::random_device{}());
}

void SetRandSeed(uint32_t Seed) { RandomEngine().seed(Seed); }

// Date and time helpers of SysUtils.h.
#include <cmath>
#include <cstring>
#include <ctime>

#include "platform/rtl/SysUtils.h"

TFormatSettings FormatSettings;

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a day number

// Milliseconds of the day in [0, MSecsPerDay), rounded to the nearest millisecond; a time that
// rounds up to midnight carries into the day.
void Split(TDateTime t, int64_t& day, int64_t& msec) {
  day = int64_t(std::trunc(t));
  double f = std::fabs(t - std::trunc(t));
  msec = int64_t(std::llround(f * MSecsPerDay));
  if (msec >= int64_t(MSecsPerDay)) {
    msec -= int64_t(MSecsPerDay);
    day += t < 0 ? -1 : 1;
  }
}

TDateTime FromTimespec(const timespec& ts, bool local) {
  std::tm tm{};
  time_t secs = ts.tv_sec;
  if (local)
    localtime_r(&secs, &tm);
  else
    gmtime_r(&secs, &tm);
  TDateTime d = EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  TDateTime t = (tm.tm_hour * 3600000.0 + tm.tm_min * 60000.0 + tm.tm_sec * 1000.0 +
                 double(ts.tv_nsec / 1000000)) /
                MSecsPerDay;
  return d + t;
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return days[Month - 1] + (Month == 2 && IsLeapYear(Year));
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInAMonth(Year, Month))
    return false;
  Date = double(DaysFromCivil(Year, Month, Day) + kUnixEpochDays);
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    return false;
  Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime r;
  if (!TryEncodeDate(Year, Month, Day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime r;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, r))
    throw EConvertError("Invalid argument to time encode");
  return r;
}

void DecodeDate(TDateTime Date, uint16_t& Year, uint16_t& Month, uint16_t& Day) {
  int64_t day, msec;
  Split(Date, day, msec);
  int y, m, d;
  CivilFromDays(day - kUnixEpochDays, y, m, d);
  Year = uint16_t(y);
  Month = uint16_t(m);
  Day = uint16_t(d);
}

void DecodeTime(TDateTime Time, uint16_t& Hour, uint16_t& Min, uint16_t& Sec, uint16_t& MSec) {
  int64_t day, msec;
  Split(Time, day, msec);
  Hour = uint16_t(msec / 3600000);
  Min = uint16_t(msec / 60000 % 60);
  Sec = uint16_t(msec / 1000 % 60);
  MSec = uint16_t(msec % 1000);
}

int DayOfWeek(TDateTime Date) {
  int64_t day, msec;
  Split(Date, day, msec);
  // Day 0 (1899-12-30) was a Saturday.
  return int(((day - 1) % 7 + 7) % 7) + 1;
}

TTimeStamp DateTimeToTimeStamp(TDateTime DateTime) {
  int64_t day, msec;
  Split(DateTime, day, msec);
  return TTimeStamp{int(msec), int(day + DateDelta)};
}

TDateTime TimeStampToDateTime(const TTimeStamp& TimeStamp) {
  double day = double(TimeStamp.Date - DateDelta);
  double time = TimeStamp.Time / MSecsPerDay;
  return day < 0 ? day - time : day + time;
}

namespace {
std::function<TDateTime()>& NowFunction() {
  static std::function<TDateTime()> f;
  return f;
}
}  // namespace

void SetNowFunction(std::function<TDateTime()> Function) { NowFunction() = std::move(Function); }

TDateTime Now() {
  if (NowFunction()) return NowFunction()();
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return FromTimespec(ts, true);
}

TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() { return Frac(Now()); }

TDateTime NowUTC() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return FromTimespec(ts, false);
}

TDateTime UnixToDateTime(int64_t Seconds) {
  return double(kUnixEpochDays) + double(Seconds) / SecsPerDay;
}

int64_t DateTimeToUnix(TDateTime Value) {
  return int64_t(std::llround((Value - double(kUnixEpochDays)) * SecsPerDay));
}

// ---------------------------------------------------------------------------------------------

namespace {

bool StartsWithNoCase(const std::string& s, std::size_t i, const char* prefix) {
  std::size_t n = std::strlen(prefix);
  return i + n <= s.size() && SameText(s.substr(i, n), prefix);
}

std::string Pad(int v, int width) {
  std::string s = std::to_string(v);
  while (int(s.size()) < width) s = "0" + s;
  return s;
}

void AppendFormatted(std::string& out, const std::string& fmt, TDateTime dt,
                     const TFormatSettings& fs, int depth) {
  uint16_t year, month, day, hour, minute, sec, msec;
  DecodeDate(dt, year, month, day);
  DecodeTime(dt, hour, minute, sec, msec);
  bool afterHour = false;  // the last specifier was an hour: "m" means minutes
  std::size_t i = 0;
  const std::size_t n = fmt.size();
  // Whether the format holds an am/pm specifier, which makes hours 12-based.
  bool twelve = false;
  for (std::size_t k = 0; k < n; ++k)
    if (StartsWithNoCase(fmt, k, "am/pm") || StartsWithNoCase(fmt, k, "a/p") ||
        StartsWithNoCase(fmt, k, "ampm"))
      twelve = true;
  auto hour12 = [&] { return twelve ? (hour % 12 == 0 ? 12 : hour % 12) : hour; };
  auto count = [&](char c) {
    std::size_t k = i;
    while (k < n && std::toupper((unsigned char)fmt[k]) == c) ++k;
    return int(k - i);
  };
  while (i < n) {
    char c = fmt[i];
    char u = char(std::toupper((unsigned char)c));
    if (c == '"' || c == '\'') {
      std::size_t end = fmt.find(c, i + 1);
      if (end == std::string::npos) end = n;
      out.append(fmt, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    switch (u) {
      case 'Y': {
        int k = count('Y');
        out += k <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
        i += k;
        break;
      }
      case 'M': {
        int k = count('M');
        i += k;
        if (afterHour && k <= 2) {
          out += Pad(minute, k);
          afterHour = false;
        } else if (k == 1 || k == 2) {
          out += Pad(month, k);
        } else if (k == 3) {
          out += fs.ShortMonthNames[month - 1];
        } else {
          out += fs.LongMonthNames[month - 1];
        }
        break;
      }
      case 'D': {
        int k = count('D');
        i += k;
        if (k <= 2)
          out += Pad(day, k);
        else if (k == 3)
          out += fs.ShortDayNames[DayOfWeek(dt) - 1];
        else if (k == 4)
          out += fs.LongDayNames[DayOfWeek(dt) - 1];
        else if (depth < 2)
          AppendFormatted(out, k == 5 ? fs.ShortDateFormat : fs.LongDateFormat, dt, fs, depth + 1);
        break;
      }
      case 'H': {
        int k = std::min(count('H'), 2);
        i += count('H');
        out += Pad(hour12(), k);
        afterHour = true;
        continue;
      }
      case 'N': {
        int k = count('N');
        i += k;
        out += Pad(minute, std::min(k, 2));
        break;
      }
      case 'S': {
        int k = count('S');
        i += k;
        out += Pad(sec, std::min(k, 2));
        break;
      }
      case 'Z': {
        int k = count('Z');
        i += k;
        out += Pad(msec, k >= 3 ? 3 : 1);
        break;
      }
      case 'T': {
        int k = count('T');
        i += k;
        if (depth < 2)
          AppendFormatted(out, k == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, fs, depth + 1);
        break;
      }
      case 'C': {
        ++i;
        if (depth < 2) {
          AppendFormatted(out, fs.ShortDateFormat, dt, fs, depth + 1);
          if (Frac(dt) != 0) {
            out += ' ';
            AppendFormatted(out, fs.LongTimeFormat, dt, fs, depth + 1);
          }
        }
        break;
      }
      case 'A': {
        if (StartsWithNoCase(fmt, i, "am/pm")) {
          bool upper = fmt[i] == 'A';
          std::string s = hour >= 12 ? "pm" : "am";
          out += upper ? UpperCase(s) : s;
          i += 5;
        } else if (StartsWithNoCase(fmt, i, "a/p")) {
          out += hour >= 12 ? (fmt[i] == 'A' ? 'P' : 'p') : (fmt[i] == 'A' ? 'A' : 'a');
          i += 3;
        } else if (StartsWithNoCase(fmt, i, "ampm")) {
          out += hour >= 12 ? fs.TimePMString : fs.TimeAMString;
          i += 4;
        } else {
          out += c;
          ++i;
        }
        break;
      }
      case '/':
        out += fs.DateSeparator;
        ++i;
        break;
      case ':':
        out += fs.TimeSeparator;
        ++i;
        break;
      default:
        out += c;
        ++i;
        break;
    }
    if (u != 'H' && u != ' ' && u != ':' && !std::ispunct((unsigned char)c)) afterHour = false;
  }
}

}  // namespace

std::string FormatDateTime(const std::string& Fmt, TDateTime DateTime,
                           const TFormatSettings& Settings) {
  std::string out;
  AppendFormatted(out, Fmt.empty() ? "c" : Fmt, DateTime, Settings, 0);
  return out;
}

std::string FormatDateTime(const std::string& Fmt, TDateTime DateTime) {
  return FormatDateTime(Fmt, DateTime, FormatSettings);
}

std::string DateToStr(TDateTime Date) { return FormatDateTime("ddddd", Date); }
std::string TimeToStr(TDateTime Time) { return FormatDateTime("tt", Time); }
std::string DateTimeToStr(TDateTime DateTime) { return FormatDateTime("c", DateTime); }

namespace {

// Reads an unsigned decimal number at i; false when there is none.
bool ReadNumber(const std::string& s, std::size_t& i, int& value, int maxDigits = 9) {
  std::size_t start = i;
  value = 0;
  while (i < s.size() && std::isdigit((unsigned char)s[i]) && int(i - start) < maxDigits)
    value = value * 10 + (s[i++] - '0');
  return i > start;
}

void SkipBlanks(const std::string& s, std::size_t& i) {
  while (i < s.size() && s[i] == ' ') ++i;
}

bool ParseTime(const std::string& s, std::size_t& i, TDateTime& value, const TFormatSettings& fs) {
  int h = 0, m = 0, sec = 0, ms = 0;
  SkipBlanks(s, i);
  if (!ReadNumber(s, i, h)) return false;
  if (i >= s.size() || s[i] != fs.TimeSeparator) return false;
  ++i;
  if (!ReadNumber(s, i, m)) return false;
  if (i < s.size() && s[i] == fs.TimeSeparator) {
    ++i;
    if (!ReadNumber(s, i, sec)) return false;
    if (i < s.size() && (s[i] == fs.DecimalSeparator)) {
      ++i;
      std::size_t start = i;
      if (!ReadNumber(s, i, ms, 3)) return false;
      for (std::size_t k = i - start; k < 3; ++k) ms *= 10;
    }
  }
  SkipBlanks(s, i);
  for (const auto& [text, pm] : {std::pair{fs.TimeAMString, false},
                                 {fs.TimePMString, true},
                                 {std::string("AM"), false},
                                 {std::string("PM"), true}}) {
    if (!text.empty() && StartsWithNoCase(s, i, text.c_str())) {
      if (h < 1 || h > 12) return false;
      h = h % 12 + (pm ? 12 : 0);
      i += text.size();
      break;
    }
  }
  SkipBlanks(s, i);
  return TryEncodeTime(h, m, sec, ms, value);
}

bool ParseDate(const std::string& s, std::size_t& i, TDateTime& value, const TFormatSettings& fs) {
  // Order of the fields as ShortDateFormat names them.
  std::string order;
  for (char c : UpperCase(fs.ShortDateFormat))
    if ((c == 'D' || c == 'M' || c == 'Y') && order.find(c) == std::string::npos) order += c;
  if (order.size() != 3) order = "MDY";
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int count = 0;
  SkipBlanks(s, i);
  for (; count < 3; ++count) {
    std::size_t start = i;
    if (!ReadNumber(s, i, parts[count], 4)) break;
    digits[count] = int(i - start);
    if (count < 2) {
      if (i < s.size() && s[i] == fs.DateSeparator)
        ++i;
      else {
        ++count;
        break;
      }
    }
  }
  if (count < 2) return false;
  int y = 0, m = 0, d = 0;
  uint16_t cy, cm, cd;
  DecodeDate(Date(), cy, cm, cd);
  if (count == 2) {
    // Without a year: the current year, the other two in their order.
    std::string two;
    for (char c : order)
      if (c != 'Y') two += c;
    (two[0] == 'M' ? m : d) = parts[0];
    (two[1] == 'M' ? m : d) = parts[1];
    y = cy;
  } else {
    for (int k = 0; k < 3; ++k) {
      if (order[k] == 'Y') {
        y = parts[k];
        if (digits[k] <= 2) y += cy / 100 * 100;
      } else if (order[k] == 'M') {
        m = parts[k];
      } else {
        d = parts[k];
      }
    }
  }
  SkipBlanks(s, i);
  return TryEncodeDate(y, m, d, value);
}

}  // namespace

bool TryStrToTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings) {
  std::size_t i = 0;
  TDateTime v;
  if (!ParseTime(S, i, v, Settings) || i != S.size()) return false;
  Value = v;
  return true;
}

TDateTime StrToTime(const std::string& S, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToTime(S, v, Settings)) throw EConvertError(Format("'%s' is not a valid time", {S}));
  return v;
}

TDateTime StrToTime(const std::string& S) { return StrToTime(S, FormatSettings); }

bool TryStrToDate(const std::string& S, TDateTime& Value, const TFormatSettings& Settings) {
  std::size_t i = 0;
  TDateTime v;
  if (!ParseDate(S, i, v, Settings) || i != S.size()) return false;
  Value = v;
  return true;
}

TDateTime StrToDate(const std::string& S, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToDate(S, v, Settings)) throw EConvertError(Format("'%s' is not a valid date", {S}));
  return v;
}

TDateTime StrToDate(const std::string& S) { return StrToDate(S, FormatSettings); }

TDateTime StrToDateTime(const std::string& S, const TFormatSettings& Settings) {
  TDateTime d = 0, t = 0;
  std::size_t i = 0;
  if (ParseDate(S, i, d, Settings)) {
    if (i == S.size()) return d;
    std::size_t j = i;
    if (ParseTime(S, j, t, Settings) && j == S.size()) return d < 0 ? d - t : d + t;
  }
  if (TryStrToTime(S, t, Settings)) return t;
  throw EConvertError(Format("'%s' is not a valid date and time", {S}));
}

TDateTime StrToDateTime(const std::string& S) { return StrToDateTime(S, FormatSettings); }

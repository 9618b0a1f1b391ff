#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"

TEST(DateTime, EncodeAndDecodeAroundTheEpoch) {
  struct Case {
    int y, m, d;
    double serial;
    int weekday;
  } cases[] = {{1899, 12, 30, 0, 7},   {1900, 1, 1, 2, 2},    {2000, 2, 29, 36585, 3},
               {1970, 1, 1, 25569, 5}, {1899, 12, 29, -1, 6}, {2024, 12, 31, 45657, 3}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    uint16_t y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
    EXPECT_EQ(DayOfWeek(c.serial), c.weekday) << c.serial;
  }
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);

  TDateTime t = EncodeTime(13, 45, 30, 250);
  uint16_t h, n, s, ms;
  DecodeTime(EncodeDate(2001, 5, 6) + t, h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 134530250);
  // Just below midnight rounds into the next day, not to 24:00.
  DecodeTime(1 - 0.1 / MSecsPerDay, h, n, s, ms);
  EXPECT_EQ(h + n + s + ms, 0);
}

TEST(DateTime, StrToTimeAndDateLeaveGlobalSettingsAlone) {
  const char saved = FormatSettings.TimeSeparator;
  FormatSettings.TimeSeparator = '.';
  TFormatSettings fs;
  EXPECT_DOUBLE_EQ(StrToTime("00:00:30", fs), 30 / SecsPerDay);
  EXPECT_EQ(FormatSettings.TimeSeparator, '.');
  FormatSettings.TimeSeparator = saved;

  struct Case {
    const char* text;
    int h, n, s, ms;
  } good[] = {{"1:02", 1, 2, 0, 0},      {"23:59:59", 23, 59, 59, 0},
              {"12:00 AM", 0, 0, 0, 0},  {"12:30:00 pm", 12, 30, 0, 0},
              {"1:15 PM", 13, 15, 0, 0}, {"00:00:01.5", 0, 0, 1, 500}};
  for (const auto& c : good)
    EXPECT_DOUBLE_EQ(StrToTime(c.text, fs), EncodeTime(c.h, c.n, c.s, c.ms)) << c.text;
  for (const char* bad : {"", "12", "24:00", "1:60", "13:00 PM", "1:2:3:4", "a:b"}) {
    try {
      StrToTime(bad, fs);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid time");
    }
  }
  EXPECT_DOUBLE_EQ(StrToDate("2/29/2000", fs), EncodeDate(2000, 2, 29));
  EXPECT_THROW(StrToDate("2/30/2000", fs), EConvertError);
  EXPECT_DOUBLE_EQ(StrToDateTime("12/31/1999 23:59", fs),
                   EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 0, 0));
}

TEST(DateTime, FormatDateTimePictures) {
  TDateTime dt = EncodeDate(2007, 3, 4) + EncodeTime(15, 6, 7, 89);
  TFormatSettings fs;
  struct Case {
    const char* format;
    const char* expected;
  } cases[] = {
      {"yyyy-mm-dd hh:nn:ss", "2007-03-04 15:06:07"},
      {"hh:nn:ss:zzz", "15:06:07:089"},
      {"yyyymmddhhnnsszzz", "20070304150607089"},
      {"mmddyyhhnn", "0304071506"},
      {"h:mm", "15:06"},  // m after an hour is minutes
      {"d mmm yyyy, dddd", "4 Mar 2007, Sunday"},
      {"ddd, dd mmmm", "Sun, 04 March"},
      {"hh:nn am/pm", "03:06 pm"},
      {"h AMPM", "3 PM"},
      {"'at' h \"o'clock\"", "at 15 o'clock"},
      {"ddddd", "3/4/2007"},
      {"c", "3/4/2007 3:06:07 PM"},
      {"m/d/yy", "3/4/07"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, dt, fs), c.expected) << c.format;
  fs.DateSeparator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", dt, fs), "04.03.2007");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2007, 3, 4), fs), "3.4.2007");
}

TEST(DateTime, UnixConversionsAndClock) {
  TTimeStamp ts = DateTimeToTimeStamp(EncodeDate(2000, 1, 2) + EncodeTime(0, 0, 1, 500));
  EXPECT_EQ(ts.Date, 730121);
  EXPECT_EQ(ts.Time, 1500);
  EXPECT_DOUBLE_EQ(TimeStampToDateTime(ts), EncodeDate(2000, 1, 2) + EncodeTime(0, 0, 1, 500));
  EXPECT_EQ(DateTimeToTimeStamp(0).Date, DateDelta);
  EXPECT_DOUBLE_EQ(UnixToDateTime(0), 25569);
  EXPECT_EQ(DateTimeToUnix(EncodeDate(2001, 9, 9) + EncodeTime(1, 46, 40, 0)), 1000000000);
  TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_NEAR(now, NowUTC(), 1.0);
  SetNowFunction([] { return EncodeDate(2010, 6, 7) + EncodeTime(8, 9, 10, 0); });
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", Date()) + " " + FormatDateTime("hh:nn:ss", Time()),
            "2010-06-07 08:09:10");
  SetNowFunction(nullptr);
  EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/SysUtils.h"

TEST(Numeric, MulDivRoundsHalfAwayFromZeroWithWideIntermediate) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {-5, -1, 2, 3},
      {7, 1, 3, 2},
      {8, 1, 3, 3},
      {-8, 1, 3, -3},
      {1, 1, 0, -1},
      {0, 5, 0, -1},
      {100000, 100000, 100000, 100000},  // product beyond 32 bits
      {96, 120, 96, 120},
      {INT32_MAX, 2, 2, INT32_MAX},
      {INT32_MAX, 2, 1, -1},  // result does not fit
      {INT32_MIN, 1, 1, INT32_MIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Numeric, RoundHalfToEvenAndTruncation) {
  struct Case {
    double x;
    int64_t round, trunc;
  } cases[] = {{0.5, 0, 0},
               {1.5, 2, 1},
               {2.5, 2, 2},
               {3.5, 4, 3},
               {-0.5, 0, 0},
               {-1.5, -2, -1},
               {-2.5, -2, -2},
               {2.4999, 2, 2},
               {2.5001, 3, 2},
               {-2.7, -3, -2},
               {1e12 + 0.5, 1000000000000, 1000000000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.x), c.round) << c.x;
    EXPECT_EQ(Trunc(c.x), c.trunc) << c.x;
  }
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
  for (double bad : {double(NAN), double(INFINITY), 9.3e18, -9.3e18}) {
    EXPECT_THROW(Round(bad), EInvalidOp) << bad;
    EXPECT_THROW(Trunc(bad), EInvalidOp) << bad;
  }
  EXPECT_EQ(Trunc(-9223372036854775808.0), INT64_MIN);
}

TEST(Numeric, TruncatingDivisionAndPower) {
  struct Case {
    int64_t a, b, div, mod;
  } cases[] = {{7, 2, 3, 1},    {-7, 2, -3, -1}, {7, -2, -3, 1},
               {-7, -2, 3, -1}, {0, 5, 0, 0},    {INT64_MIN, -1, INT64_MIN, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(Div(c.a, c.b), c.div) << c.a << " div " << c.b;
    EXPECT_EQ(Mod(c.a, c.b), c.mod) << c.a << " mod " << c.b;
  }
  EXPECT_THROW(Div(1, 0), EDivByZero);
  EXPECT_THROW(Mod(1, 0), EDivByZero);
  EXPECT_DOUBLE_EQ(Power(2, 10), 1024);
  EXPECT_DOUBLE_EQ(Power(10, -2), 0.01);
  EXPECT_DOUBLE_EQ(Power(0, 0), 1);
  EXPECT_DOUBLE_EQ(IntPower(2, -3), 0.125);
}

TEST(Numeric, FloatTextUsesPointWhateverTheLocale) {
  // A process locale with a decimal comma must not change the texts.
  const char* old = setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  setlocale(LC_NUMERIC, "de_DE.UTF-8");
  struct Case {
    const char* text;
    double value;
  } good[] = {{"1.5", 1.5},      {"-0.25", -0.25}, {"+3", 3}, {"1e3", 1000},
              {"2.5E-2", 0.025}, {".5", 0.5},      {"7.", 7}, {" 4.0 ", 4}};
  for (const auto& c : good) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << c.text;
  for (const char* bad : {"", "1,5", "abc", "1.5x", "e5", "1e", "--1", "nan", "inf", "$10"}) {
    try {
      StrToFloat(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' is not a valid floating point value");
    }
  }
  EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
  EXPECT_EQ(FloatToStr(0.5), "0.5");
  EXPECT_EQ(FloatToStr(-1234.125), "-1234.125");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatFloat("0.00", 3.14159), "3.14");
  EXPECT_EQ(FormatFloat("#,##0.0", 1234567.25), "1,234,567.3");
  EXPECT_EQ(FormatFloat("0.###", 2.5), "2.5");
  EXPECT_EQ(FormatFloat("0 dB", -3), "-3 dB");
  setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Strings, OneBasedHelpers) {
  EXPECT_EQ(Pos("lo", "hello"), 4);
  EXPECT_EQ(Pos("x", "hello"), 0);
  EXPECT_EQ(Pos("l", "hello", 4), 4);
  EXPECT_EQ(Copy("hello", 2, 3), "ell");
  EXPECT_EQ(Copy("hello", 4, 100), "lo");
  EXPECT_EQ(Copy("hello", 9, 1), "");
  EXPECT_EQ(StringReplace("a<b<c", "<", "", {rfReplaceAll}), "abc");
  EXPECT_EQ(StringReplace("a<b<c", "<", "", {}), "ab<c");
  EXPECT_EQ(StringReplace("Wave WAVE", "wave", "x", {rfReplaceAll, rfIgnoreCase}), "x x");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
}

TEST(Strings, UnicodeCaseAndOrder) {
  EXPECT_EQ(AnsiUpperCase("straße ünd é"), "STRASSE ÜND É");
  EXPECT_EQ(AnsiLowerCase("ÄÖÜ Abc"), "äöü abc");
  EXPECT_EQ(UpperCase("é"), "é");  // the plain routine maps ASCII only
  EXPECT_TRUE(AnsiSameText("Übung", "üBUNG"));
  EXPECT_FALSE(AnsiSameStr("Übung", "übung"));
  struct Case {
    const char* a;
    const char* b;
    int text, str, ordinal;
  } cases[] = {
      {"apple", "Banana", -1, -1, 1},
      {"a", "A", 0, -1, 1},
      {"Ab", "aB", 0, 1, -1},
      {"abc", "ab", 1, 1, 1},
      {"x", "x", 0, 0, 0},
      {"_", "a", -1, -1, -1},
      {"Ärger", "zebra", -1, -1, 1},
      {"arger", "Ärger", -1, -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiCompareText(c.a, c.b), c.text) << c.a << " " << c.b;
    EXPECT_EQ(AnsiCompareStr(c.a, c.b), c.str) << c.a << " " << c.b;
    EXPECT_EQ(CompareStr(c.a, c.b), c.ordinal) << c.a << " " << c.b;
  }
}

TEST(Numeric, RandomRepeatsForASeedAndStaysInRange) {
  SetRandSeed(42);
  std::vector<int> first;
  for (int i = 0; i < 200; ++i) first.push_back(Random(100));
  SetRandSeed(42);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(Random(100), first[std::size_t(i)]);
  EXPECT_EQ(*std::min_element(first.begin(), first.end()), 0);
  EXPECT_EQ(*std::max_element(first.begin(), first.end()), 99);
  EXPECT_EQ(Random(0), 0);
  double r = Random();
  EXPECT_TRUE(r >= 0 && r < 1);
}

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"

TEST(Format, PlatformRules) {
  struct Case {
    std::string format;
    std::string expected;
    std::vector<TVarRec> args;
  };
  EXPECT_EQ(Format("%.2d:%.2d:%.2d.%.3d", {1, 2, 3, 45}), "01:02:03.045");
  EXPECT_EQ(Format("%x", {255}), "FF");
  EXPECT_EQ(Format("%.4x", {255}), "00FF");
  EXPECT_EQ(Format("%5s|%-5s|", {"ab", "cd"}), "   ab|cd   |");
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format("%.3d", {-5}), "-005");
  // A decimal 5 rounds away from zero (1.005 is stored just below it).
  EXPECT_EQ(Format("%f %.1f %n", {1.005, 2.25, 1234567.5}), "1.00 2.3 1,234,567.50");
  EXPECT_EQ(Format("%.0f|%.0f|%.1f|%.2f", {2.5, -0.5, -0.04, 0.125}), "3|-1|0.0|0.13");
  EXPECT_EQ(Format("%.3e|%e|%g|%g", {2.5e-7, 0.0, -0.000125, 123456.75}),
            "2.50E-007|0.00000000000000E+000|-0.000125|123456.75");
  EXPECT_EQ(Format("%e", {1234.5}), "1.23450000000000E+003");
  EXPECT_EQ(Format("%g %g", {0.5, 1e20}), "0.5 1E20");
  EXPECT_EQ(Format("%*d%%", {4, 7}), "   7%");
  EXPECT_EQ(Format("%s:\\temp\\", {'C'}), "C:\\temp\\");
}

TEST(Format, MismatchedOrMissingArgumentRaises) {
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {3}), EConvertError);
  EXPECT_THROW(Format("%f", {3}), EConvertError);
  EXPECT_THROW(Format("%d %d", {3}), EConvertError);
  EXPECT_THROW(Format("%q", {3}), EConvertError);
}

TEST(StrToInt, StrictParsing) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", " 1", "1 ", "1.5", "abc", "2147483648", "-", "$", "0x"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

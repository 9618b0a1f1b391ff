// The system fonts a program asks for are the fonts the screen object reports.
#include <gtest/gtest.h>

#include "platform/gui/Forms.h"
#include "platform/win/Windows.h"

namespace {

void ExpectSameFont(const LOGFONT& Log, TFont* Font, const char* What) {
  SCOPED_TRACE(What);
  EXPECT_EQ(std::string(Log.lfFaceName), Font->Name());
  EXPECT_EQ(Log.lfHeight, Font->Height());
}

TEST(SystemFonts, NonClientMetricsAnswerTheScreensFontsAndTheMetricsTable) {
  for (UINT size : {UINT(340), UINT(sizeof(NONCLIENTMETRICS))}) {
    SCOPED_TRACE(size);
    NONCLIENTMETRICS m;
    m.cbSize = size;
    m.iPaddedBorderWidth = 77;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, size, &m, 0));
    ExpectSameFont(m.lfStatusFont, Screen->HintFont(), "status");
    ExpectSameFont(m.lfMessageFont, Screen->HintFont(), "message");
    ExpectSameFont(m.lfMenuFont, Screen->MenuFont(), "menu");
    EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(m.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(m.iScrollHeight, GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(m.iCaptionHeight, GetSystemMetrics(SM_CYSIZE));
    EXPECT_EQ(m.iMenuHeight, GetSystemMetrics(SM_CYMENUSIZE));
    // The short record ends before the padded border width, which stays untouched.
    EXPECT_EQ(m.iPaddedBorderWidth, size == 340 ? 77 : 0);
  }
  NONCLIENTMETRICS wrong;
  wrong.cbSize = 100;
  EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 100, &wrong, 0));

  LOGFONT icon;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  ExpectSameFont(icon, Screen->IconFont(), "icon title");
}

}  // namespace

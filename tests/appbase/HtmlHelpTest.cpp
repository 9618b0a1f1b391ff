#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "appbase/HtmlHelp.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"

namespace {

std::vector<std::string> gCalls;

HWND RecordingViewer(HWND owner, const char* file, unsigned command, uintptr_t data) {
  gCalls.push_back(Format("%s %d %d", {std::string(file ? file : "(none)"), int(command),
                                       int(data != 0)}));
  return reinterpret_cast<HWND>(owner);
}

std::string ExceptionText(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(none)";
}

// Binding happens once per run, so the failures come before the one successful binding.
TEST(HtmlHelp, BindsTheViewerOnceAndForwardsEveryCall) {
  TModuleTableGuard guard;
  auto call = [] { HtmlHelpCall(nullptr, "a.chm::/x.htm", HH_DISPLAY_TOPIC, 0); };
  SetModulePresent("HHCTRL.OCX", false);
  EXPECT_EQ(ExceptionText(call), "HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!");
  SetModulePresent("HHCTRL.OCX", true);
  SetModuleEntry("HHCTRL.OCX", "HtmlHelpA", nullptr);
  EXPECT_EQ(ExceptionText(call), "Function HTMLHELP cannot loaded!");
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA", &RecordingViewer);
  HWND owner = reinterpret_cast<HWND>(uintptr_t(7));
  EXPECT_EQ(HtmlHelpCall(owner, "a.chm::/x.htm", HH_DISPLAY_TOPIC, 0), owner);
  HtmlHelpCall(owner, "b.chm::/y.htm", 5, 9);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"(none) 28 1", "a.chm::/x.htm 0 0",
                                              "b.chm::/y.htm 5 1"}));
}

TEST(HtmlHelp, TopicAddressIsTheProgramsHelpFileAndTheLowerCasedTopic) {
  EXPECT_EQ(HelpTopicTarget("MP3Settings"),
            ChangeFileExt(ParamStr(0), ".chm") + "::/mp3settings.htm");
}

TEST(HtmlHelp, ThePageOfEachFormatTopicIsThere) {
  for (const char* topic : {"WAVSettings", "MP3Settings", "OGGSettings", "WMASettings"}) {
    SCOPED_TRACE(topic);
    const std::string file = HelpPageFile(HelpTopicTarget(topic));
    ASSERT_FALSE(file.empty());
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("<title>"), std::string::npos);
    EXPECT_NE(text.str().find("File Setup</title>"), std::string::npos);
  }
  EXPECT_EQ(HelpPageFile("a.chm::/nosuchtopic.htm"), "");
  EXPECT_EQ(HelpPageFile("a.chm::/../wavsettings.htm"), "");
  EXPECT_EQ(HelpPageFile("wavsettings.htm"), "");
}

}  // namespace

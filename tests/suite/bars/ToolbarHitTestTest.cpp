// What a toolbar answers to WM_NCHITTEST and which code it records for its mouse-down handling.
#include <gtest/gtest.h>

#include "suite/bars/dxBarToolbar.h"

TEST(ToolbarHitTest, DockedAndFloatingBarsAnswerTheirCodes) {
  struct TCase {
    const char* Name;
    TdxBarHitTestInput In;
    LRESULT Result;
    int Code;
  };
  auto docked = [](TPoint P, LRESULT Platform = HTCLIENT) {
    TdxBarHitTestInput in;
    in.PlatformResult = Platform;
    in.ClientPoint = P;
    in.ClientRect = TRect(0, 0, 200, 22);
    return in;
  };
  auto floating = [](TPoint P, LRESULT Platform) {
    TdxBarHitTestInput in;
    in.Floating = true;
    in.PlatformResult = Platform;
    in.ScreenPoint = P;
    in.WindowRect = TRect(100, 100, 300, 150);
    in.FrameWidth = 3;
    in.FrameHeight = 3;
    return in;
  };
  std::vector<TCase> cases;
  {
    auto in = docked({10, 5});
    in.OverSelectableControl = true;
    cases.push_back({"docked over a button", in, HTCLIENT, 1});
  }
  cases.push_back({"docked empty client space drags", docked({150, 5}), HTCLIENT, 2});
  cases.push_back({"docked border strip drags", docked({-4, 5}, HTNOWHERE), HTCLIENT, 2});
  {
    auto in = docked({10, -4}, HTNOWHERE);
    in.Vertical = true;
    cases.push_back({"vertical border strip drags", in, HTCLIENT, 2});
  }
  {
    auto in = docked({195, 18}, HTNOWHERE);
    in.OverSizeGrip = true;
    cases.push_back({"size grip", in, HTBOTTOMRIGHT, 17});
  }
  {
    auto in = docked({195, 18});
    in.OverMark = true;
    cases.push_back({"mark stays client", in, HTCLIENT, 0});
  }
  {
    auto in = docked({10, 5}, HTBORDER);
    cases.push_back({"other platform codes are recorded", in, HTCLIENT, int(HTBORDER)});
  }
  {
    auto in = docked({10, 5});
    in.OverAnyControl = true;
    cases.push_back({"a disabled control drags outside customizing", in, HTCLIENT, 2});
    in.Customizing = true;
    cases.push_back({"any control while customizing", in, HTCLIENT, 1});
  }
  {
    auto in = docked({10, 5}, HTBORDER);
    in.KeepsPlatformResult = true;
    cases.push_back({"flag 128 keeps the platform's answer", in, HTBORDER, int(HTBORDER)});
  }
  cases.push_back({"floating top edge", floating({101, 100}, HTNOWHERE), HTTOP, int(HTTOP)});
  cases.push_back({"floating top-right corner is top", floating({299, 100}, HTNOWHERE), HTTOP, int(HTTOP)});
  cases.push_back({"floating right edge", floating({299, 120}, HTNOWHERE), HTRIGHT, int(HTRIGHT)});
  cases.push_back({"floating bottom-left corner is bottom", floating({100, 149}, HTNOWHERE), HTBOTTOM, int(HTBOTTOM)});
  cases.push_back({"floating left edge", floating({100, 120}, HTNOWHERE), HTLEFT, int(HTLEFT)});
  cases.push_back({"floating caption drags", floating({150, 110}, HTNOWHERE), HTCLIENT, 2});
  {
    auto in = floating({280, 110}, HTNOWHERE);
    in.OverCloseButton = true;
    cases.push_back({"close button through the client", in, HTCLIENT, int(HTCLOSE)});
    in.CloseButtonHitTestDirect = true;
    cases.push_back({"close button answered directly", in, HTCLOSE, 1});
  }
  {
    auto in = floating({150, 130}, HTCLIENT);
    cases.push_back({"floating empty client drags", in, HTCLIENT, 2});
    in.OverSelectableControl = true;
    cases.push_back({"floating over a button", in, HTCLIENT, 0});
  }
  for (const TCase& c : cases) {
    TdxBarHitTestResult r = ToolbarHitTest(c.In);
    EXPECT_EQ(r.Result, c.Result) << c.Name;
    EXPECT_EQ(r.Code, c.Code) << c.Name;
  }
}

// Hint styles and screen tips: the application's hint handling taken over and given back, the
// controller's pauses, finding a control's tip, the tip's layout in pixels, and a tip shown by
// real mouse moves over a control.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <memory>
#include <string>

#include "ControlTestSupport.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"
#include "suite/core/dxCustomHint.h"
#include "suite/core/dxScreenTip.h"

namespace {

struct THintStateGuard {
  THintWindowClass SavedClass = HintWindowClass;
  ~THintStateGuard() {
    Application->OnShowHint = nullptr;
    HintWindowClass = SavedClass;
  }
};

THintWindowClass ScreenTipWindowClass() { return TdxScreenTipStyle(nullptr).HintWindowClass(); }

TEST(HintController, TakesOverTheApplicationsHintsWhileControllersExistAndGivesThemBack) {
  THintStateGuard guard;
  int ownCalls = 0;
  Application->OnShowHint = [&](std::string&, bool&, THintInfo&) { ++ownCalls; };
  THintWindowClass own = HintWindowClass;

  auto first = std::make_unique<TcxCustomHintStyleController>(nullptr, &TdxScreenTipStyleClass);
  auto second = std::make_unique<TcxCustomHintStyleController>(nullptr);
  EXPECT_TRUE(first->Global());
  EXPECT_FALSE(second->Global());
  EXPECT_EQ(HintWindowClass, second->HintWindowClass());
  EXPECT_NE(HintWindowClass, own);

  // The application's own handler still runs after the controller's.
  std::string hint = "Play";
  bool canShow = true;
  THintInfo info;
  Application->OnShowHint(hint, canShow, info);
  EXPECT_EQ(ownCalls, 1);
  EXPECT_EQ(info.HintWindowClass, first->HintWindowClass());  // the global one serves

  first.reset();
  EXPECT_EQ(HintWindowClass, second->HintWindowClass());
  second.reset();
  EXPECT_EQ(HintWindowClass, own);
  Application->OnShowHint(hint, canShow, info);
  EXPECT_EQ(ownCalls, 2);
  EXPECT_EQ(cxHintController()->ControllerCount(), 0);
}

TEST(HintController, PausesReachTheApplicationOnlyOnARealChange) {
  THintStateGuard guard;
  TcxCustomHintStyleController c(nullptr);
  Application->SetHintPause(777);
  Application->SetHintShortPause(7);
  c.SetHintPause(500);
  EXPECT_EQ(Application->HintPause(), 777);
  c.SetHintPause(600);
  EXPECT_EQ(Application->HintPause(), 600);
  EXPECT_EQ(Application->HintShortPause(), 50);
  EXPECT_EQ(Application->HintHidePause(), 2500);
  c.BeginUpdate();
  c.SetHintHidePause(4000);
  EXPECT_EQ(Application->HintHidePause(), 2500);
  c.EndUpdate();
  EXPECT_EQ(Application->HintHidePause(), 4000);
  Application->SetHintPause(500);
  Application->SetHintHidePause(2500);
}

// A form with a button linked to a tip and a second one whose action is linked.
struct TTipScene {
  THintStateGuard Guard;
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxScreenTipRepository* Repository = new TdxScreenTipRepository(Form.get());
  TcxCustomHintStyleController* Controller = new TcxCustomHintStyleController(Form.get(), &TdxScreenTipStyleClass);
  TPanel* Linked = new TPanel(Form.get());
  TPanel* ByAction = new TPanel(Form.get());
  TAction* Save = new TAction(Form.get());
  TdxScreenTip* Tip = Repository->Items()->Add();
  TdxScreenTip* SaveTip = Repository->Items()->Add();

  TTipScene() {
    Form->SetBounds(0, 0, 400, 300);
    Form->SetShowHint(true);
    Linked->SetBounds(10, 10, 80, 30);
    Linked->SetParent(Form.get());
    ByAction->SetBounds(100, 10, 80, 30);
    ByAction->SetParent(Form.get());
    Save->SetCaption("Save");
    Save->SetShortCut(0x4000 | 'S');
    ByAction->SetAction(Save);
    ByAction->SetHint("");
    Tip->Header()->SetText("Open");
    Tip->Description()->SetText("Opens a sound file and shows it in a new document window.");
    SaveTip->Header()->SetText("Save");
    Style()->ScreenTipLinks()->Add()->SetComponent(Linked);
    Style()->ScreenTipLinks()->Items(0)->SetScreenTip(Tip);
    auto* a = Style()->ScreenTipActionLinks()->Add();
    a->SetComponent(Save);
    a->SetScreenTip(SaveTip);
  }
  TdxScreenTipStyle* Style() const { return static_cast<TdxScreenTipStyle*>(Controller->HintStyle()); }
};

TEST(ScreenTips, AControlFindsItsTipThroughItsLinkOrItsAction) {
  TTipScene s;
  TdxScreenTip* tip = nullptr;
  std::string shortCut;
  ASSERT_TRUE(s.Style()->FindScreenTip(s.Linked, tip, shortCut));
  EXPECT_EQ(tip, s.Tip);
  EXPECT_EQ(shortCut, "");
  ASSERT_TRUE(s.Style()->FindScreenTip(s.ByAction, tip, shortCut));
  EXPECT_EQ(tip, s.SaveTip);
  EXPECT_EQ(shortCut, " (Ctrl+S)");

  // No hint text: the header, or a space when the header is empty too.
  struct TCase {
    std::string Header;
    std::string Expected;
  } cases[] = {{"Open", "Open"}, {"", " "}};
  for (const TCase& c : cases) {
    s.Tip->Header()->SetText(c.Header);
    std::string hint;
    bool canShow = true;
    THintInfo info;
    info.HintControl = s.Linked;
    s.Controller->DoShowHint(hint, canShow, info);
    EXPECT_EQ(hint, c.Expected);
  }

  // A freed tip leaves its link empty.
  delete s.SaveTip;
  EXPECT_FALSE(s.Style()->FindScreenTip(s.ByAction, tip, shortCut));
  EXPECT_EQ(s.Style()->ScreenTipActionLinks()->Items(0)->ScreenTip(), nullptr);
}

TEST(ScreenTips, NamesHeadersAndFonts) {
  TTipScene s;
  EXPECT_EQ(s.Tip->Name(), "ScreenTip1");  // unique among the form's components
  EXPECT_EQ(s.SaveTip->Name(), "ScreenTip2");
  s.Tip->Header()->SetText("ScreenTip1");
  s.Tip->SetName("OpenTip");
  EXPECT_EQ(s.Tip->Header()->Text(), "OpenTip");
  s.Tip->Header()->SetText("Open");
  s.Tip->SetName("OpenTip2");
  EXPECT_EQ(s.Tip->Header()->Text(), "Open");
  std::string display;
  s.Tip->DisplayText(display);
  EXPECT_EQ(display, "OpenTip2 - 'Open'");

  EXPECT_TRUE(s.Repository->AssignedFonts().Empty());
  EXPECT_TRUE(s.Tip->Header()->IsFontColorDefault());
  EXPECT_TRUE(s.Tip->Header()->Font()->Style().Contains(fsBold));
  EXPECT_FALSE(s.Tip->Description()->Font()->Style().Contains(fsBold));
  s.Repository->HeaderFont()->SetColor(clRed);
  EXPECT_EQ(s.Repository->AssignedFonts(), TdxScreenTipRepositoryFonts{stbHeader});
  EXPECT_EQ(s.Tip->Header()->Font()->Color(), clRed);
  EXPECT_FALSE(s.Tip->Header()->IsFontColorDefault());
  EXPECT_EQ(s.Tip->Description()->Font()->Color(), dxScreenTipDefaultFontColor);
}

std::unique_ptr<TBitmap> Glyph(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(W, H);
  b->Canvas()->Brush()->SetColor(clNavy);
  b->Canvas()->FillRect(TRect(0, 0, W, H));
  return b;
}

TEST(ScreenTips, LayoutOfTheBands) {
  TTipScene s;
  TBitmap canvasOwner;
  canvasOwner.SetSize(10, 10);
  TcxCanvas canvas(canvasOwner.Canvas());
  TdxScreenTipPainter painter(nullptr);  // footer line size 3

  struct TCase {
    const char* Name;
    int GlyphW, GlyphH;
    int Width;
  } widths[] = {{"no glyph", 0, 0, 210}, {"a description glyph", 32, 32, 318}};
  for (const TCase& c : widths) {
    SCOPED_TRACE(c.Name);
    if (c.GlyphW) s.Tip->Description()->SetGlyph(Glyph(c.GlyphW, c.GlyphH).get());
    EXPECT_EQ(s.Tip->EffectiveWidth(), c.Width);
  }

  // Header only: one band, text height + 12.
  TdxScreenTip* plain = s.Repository->Items()->Add();
  plain->Header()->SetText("Cut the selection");
  TdxScreenTipViewInfoHelper header(plain, "", "", &painter);
  header.Calculate(&canvas);
  ASSERT_EQ(header.BandCount(), 1);
  canvas.AssignFont(plain->Header()->Font());
  SelectCanvasObjects(&canvas);
  RECT measured{0, 0, 200, 0};
  ::DrawText(canvas.CurrentDC(), "Cut the selection", -1, &measured, DT_CALCRECT | DT_NOPREFIX);
  int textHeight = measured.bottom - measured.top;
  ASSERT_GT(textHeight, 8);
  // Measured in the header's own (bold) font.
  EXPECT_EQ(header.Bands(0)->TextSize().cx, measured.right - measured.left);
  EXPECT_EQ(header.Bounds(), TRect(0, 0, 210, textHeight + 12));
  EXPECT_EQ(header.Bands(0)->TextRect().Top, 6);

  // A wide description glyph is scaled into its column, keeping its shape.
  s.Tip->Description()->SetGlyph(Glyph(200, 100).get());
  s.Tip->Footer()->SetText("Press F1 for more help.");
  TdxScreenTipViewInfoHelper full(s.Tip, "", "", &painter);
  full.Calculate(&canvas);
  ASSERT_EQ(full.BandCount(), 3);
  TdxScreenTipBandViewInfo* description = full.Bands(1);
  EXPECT_EQ(description->GlyphSize().cx, 94);
  EXPECT_EQ(description->GlyphSize().cy, 47);
  EXPECT_EQ(description->GlyphRect().Left, 14);
  EXPECT_EQ(description->TextRect().Left, 14 + 94 + 14);
  TdxScreenTipBandViewInfo* footer = full.Bands(2);
  EXPECT_EQ(footer->TextRect().Top - footer->Top(), 9);
  EXPECT_EQ(full.Bounds().Height(), footer->Top() + footer->TextSize().cy + 18);
}

TEST(ScreenTips, ShownByTheApplicationForAHoveredControl) {
  TTipScene s;
  s.Linked->SetHint("Open a file");  // the application starts hints for controls with a hint
  suitetest::TManualClock clock;
  s.Form->Show();
  suitetest::MouseEvent(s.Form.get(), QEvent::MouseMove, TPoint(300, 200));
  suitetest::MouseEvent(s.Form.get(), QEvent::MouseMove, TPoint(30, 20));
  suitetest::Tick(500);
  auto* window = dynamic_cast<TdxScreenTipWindow*>(Application->HintWindow());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(IsWindowVisible(window->Handle()));
  auto* view = dynamic_cast<TdxScreenTipViewInfo*>(window->ViewInfo());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->ScreenTipHelper()->BandCount(), 2);
  EXPECT_EQ(window->Width(), 210 + 1);

  // Without descriptions the same window shows the header as a plain hint.
  Application->CancelHint();
  s.Repository->SetShowDescription(false);
  suitetest::MouseEvent(s.Form.get(), QEvent::MouseMove, TPoint(300, 200));
  suitetest::Tick(3000);
  suitetest::MouseEvent(s.Form.get(), QEvent::MouseMove, TPoint(31, 21));
  suitetest::Tick(500);
  window = dynamic_cast<TdxScreenTipWindow*>(Application->HintWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_NE(dynamic_cast<TdxScreenTipLikeHintViewInfo*>(window->ViewInfo()), nullptr);
  Application->CancelHint();
}

TEST(ScreenTips, Screenshot) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  TTipScene s;
  s.Tip->Description()->SetGlyph(Glyph(48, 48).get());
  s.Tip->Footer()->SetText("Press F1 for more help.");
  s.Tip->Footer()->SetGlyph(Glyph(16, 16).get());
  TdxScreenTipWindow window(nullptr);
  window.SetScreenTip(s.Tip);
  window.ShowHintAt(40, 40, "", "Open", 0);
  ASSERT_TRUE(window.HandleAllocated());
  PaintWindowNow(window.Handle());
  QImage* pixels = GetWindowBackBuffer(window.Handle());
  ASSERT_NE(pixels, nullptr);
  // The header's bold text darkens the top band; the footer line sits above the footer text.
  auto* view = dynamic_cast<TdxScreenTipViewInfo*>(window.ViewInfo());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->ScreenTipHelper()->BandCount(), 3);
  if (dir) pixels->save(QString::fromUtf8(dir) + "/screen-tip.png");
  window.ReleaseHandle();
}

}  // namespace

namespace {

TEST(ScreenTips, StoredInAFormDescriptionAndReadBack) {
  TComponent form(nullptr);
  form.SetName("MainForm");
  auto* repository = new TdxScreenTipRepository(&form);
  repository->SetName("Tips");
  repository->SetShowDescription(false);
  repository->HeaderFont()->SetColor(clNavy);
  TdxScreenTip* tip = repository->Items()->Add();
  tip->Header()->SetText("Open");
  tip->Description()->SetText("Opens a sound file.");
  tip->Description()->SetTextAlign(stbtaLeft);
  tip->SetUseStandardFooter(true);
  tip->SetWidth(250);
  repository->StandardFooter()->SetText("Press F1 for help.");
  std::string text = WriteComponentToText(&form);

  TComponent back(nullptr);
  ReadComponentFromText(&back, text);
  auto* repository2 = dynamic_cast<TdxScreenTipRepository*>(back.FindComponent("Tips"));
  ASSERT_NE(repository2, nullptr) << text;
  ASSERT_EQ(repository2->Items()->Count(), 1) << text;
  TdxScreenTip* tip2 = repository2->Items()->Items(0);
  EXPECT_EQ(tip2->Name(), "TipsScreenTip1");
  EXPECT_EQ(tip2->Header()->Text(), "Open");
  EXPECT_EQ(tip2->Description()->TextAlign(), stbtaLeft);
  EXPECT_EQ(tip2->Width(), 250);
  EXPECT_EQ(tip2->BandOf(stbFooter)->Text(), "Press F1 for help.");
  EXPECT_FALSE(repository2->ShowDescription());
  EXPECT_EQ(repository2->AssignedFonts(), TdxScreenTipRepositoryFonts{stbHeader});
  EXPECT_EQ(repository2->BandFont(stbHeader)->Color(), clNavy);
  EXPECT_EQ(WriteComponentToText(&back), text);
}

}  // namespace

// Skinned controls on the recording skin made at build time: real mouse and key input on the
// offscreen platform, timers on the test clock, faces read back as pixels.
#include <gtest/gtest.h>

#include "ControlsScene.h"
#include "controls/SkinCtrls.h"
#include "controls/spSkinImages.h"

using namespace controlstest;

namespace {

struct TSkinnedForm {
  std::unique_ptr<TForm> Form = MakeForm(400, 300);
  TspCompressedStoredSkin* Stored = new TspCompressedStoredSkin(Form.get());
  TspSkinData* Data = new TspSkinData(Form.get());
  explicit TSkinnedForm(const std::string& Package = std::string(SONALIX_SKIN_DIR) + "/recordskin.pkg") {
    RegisterSkinControlClasses();
    Stored->CompressedStream()->LoadFromFile(Package);
    Data->SetCompressedStoredSkin(Stored);
    Form->Show();
  }
  template <class T>
  T* Add(int L, int T_, int W, int H) {
    auto* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetDrawDefault(false);
    c->SetSkinData(Data);
    c->SetBounds(L, T_, W, H);
    return c;
  }
};

QRgb At(const QImage& img, TControl*, int x, int y) { return img.pixel(x, y); }

int Green(QRgb p) { return qGreen(p); }

}  // namespace

TEST(SkinGauge, FillsItsAreaFromTheBottom) {
  TSkinnedForm f;
  auto* g = f.Add<TspSkinGauge>(10, 10, 19, 193);
  g->SetMaxValue(32512);
  g->SetValue(0);
  EXPECT_TRUE(g->Vertical()) << "the description makes it vertical";
  QImage empty = Painted(g);
  g->SetValue(16256);
  QImage half = Painted(g);
  EXPECT_EQ(g->FilledRect(g->ProgressArea()), Rect(4, 96, 15, 171));
  // The lower 75 rows of the 150-row well light up; the rows above stay as they were.
  EXPECT_GT(Green(At(half, g, 9, 165)), 150);
  EXPECT_GT(Green(At(half, g, 9, 97)), 150);
  EXPECT_EQ(At(half, g, 9, 94), At(empty, g, 9, 94));
  EXPECT_EQ(At(half, g, 1, 150), At(empty, g, 1, 150)) << "nothing outside the well";
  g->SetValue(40000);
  EXPECT_EQ(g->Value(), 32512);
  QImage full = Painted(g);
  EXPECT_GT(Green(At(full, g, 9, 22)), 150);
  EXPECT_EQ(At(full, g, 9, 19), At(empty, g, 9, 19));
}

TEST(SkinGauge, RangeEdges) {
  TspSkinGauge g(nullptr);
  g.SetMaxValue(0);
  EXPECT_EQ(g.Value(), 0);
  EXPECT_EQ(g.FilledRect(Rect(0, 0, 100, 10)), Rect(0, 0, 0, 10)) << "min = max: empty";
  g.SetMinValue(100);  // above the maximum: the value follows, the bar stays inside the area
  TRect filled = g.FilledRect(Rect(0, 0, 100, 10));
  EXPECT_GE(filled.Left, 0);
  EXPECT_LE(filled.Right, 100);
}

TEST(SkinTrackBar, DragJumpAndKeys) {
  TSkinnedForm f;
  TManualClock clock;
  auto* t = f.Add<TspSkinTrackBar>(50, 10, 18, 193);
  t->SetSkinDataName("trackbar");
  t->ApplySkin();
  t->SetMaxValue(65535);
  t->SetValue(0);
  t->JumpWhenClick = true;
  int changes = 0, lastChanges = 0;
  t->OnChange = [&](TObject*) { ++changes; };
  t->OnLastChange = [&](TObject*) { ++lastChanges; };
  Painted(t);
  ASSERT_TRUE(t->Vertical());
  EXPECT_EQ(t->TravelHigh() - t->TravelLow(), 173);
  TRect b = t->ButtonRect();
  EXPECT_EQ(b.Bottom, t->TravelHigh() + 23 - 23 / 2) << "the minimum is at the bottom";
  // Drag the button up by 100 pixels.
  QPoint press(b.Left + 5, b.Top + 5);
  SendMouse(t, QEvent::MouseButtonPress, press);
  SendMouse(t, QEvent::MouseMove, press - QPoint(0, 100));
  EXPECT_EQ(t->Value(), 37882);
  SendMouse(t, QEvent::MouseMove, press - QPoint(0, 400));
  EXPECT_EQ(t->Value(), 65535) << "beyond the end clamps";
  SendMouse(t, QEvent::MouseButtonRelease, press - QPoint(0, 400));
  EXPECT_EQ(lastChanges, 1);
  // A click on the track jumps; it is no last change.
  changes = 0;
  SendMouse(t, QEvent::MouseButtonPress, QPoint(9, 150));
  SendMouse(t, QEvent::MouseButtonRelease, QPoint(9, 150));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastChanges, 1);
  Painted(t);
  // The track area runs 2 pixels past the bottom of this bar, so the centre lands 2 lower.
  EXPECT_EQ(t->ButtonRect().Top + t->ButtonRect().Height() / 2, 152);
  // Without CanFocused neither keys nor the wheel move it.
  int before = t->Value();
  SendKey(t, Qt::Key_Up);
  EXPECT_EQ(t->Value(), before);
  t->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(t->Value(), before);
  // Setting the same value fires nothing.
  changes = 0;
  t->SetValue(t->Value());
  EXPECT_EQ(changes, 0);
}

TEST(SkinTrackBar, DefaultFaceFollowsTheMouse) {
  // Default face, 100 x 20: the button is 8 x 16, its centre travels 6 .. 94.
  auto form = MakeForm();
  form->Show();
  auto* t = new TspSkinTrackBar(form.get());
  t->SetParent(form.get());
  t->SetBounds(0, 0, 100, 20);
  Painted(t);
  EXPECT_EQ(t->TravelHigh() - t->TravelLow(), 88);
  t->SetMaxValue(88);
  t->SetValue(0);
  Painted(t);
  TRect b = t->ButtonRect();
  SendMouse(t, QEvent::MouseButtonPress, QPoint(b.Left + 2, 10));
  SendMouse(t, QEvent::MouseMove, QPoint(b.Left + 2 + 41, 10));
  EXPECT_EQ(t->Value(), 41);
  SendMouse(t, QEvent::MouseButtonRelease, QPoint(b.Left + 2 + 41, 10));
}

TEST(SkinButton, MorphsBothWaysInFifths) {
  TSkinnedForm f;
  TManualClock clock;
  auto* b = f.Add<TspSkinButton>(100, 100, 90, 30);
  b->UseSkinSize = false;
  b->SetCanFocused(false);  // a focused button stays lit: only the mouse drives the morph here
  b->SetBounds(100, 100, 90, 40);
  EXPECT_EQ(b->Height(), 40) << "the requested size stays";
  QImage normal = Painted(b);
  b->Perform(CM_MOUSEENTER, 0, 0);
  std::vector<double> levels;
  for (int i = 0; i < 6; ++i) {
    clock.Advance(20);
    levels.push_back(b->MorphLevel());
  }
  EXPECT_EQ(levels, (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1, 1}));
  QImage hot = Painted(b);
  EXPECT_NE(At(hot, b, 45, 2), At(normal, b, 45, 2)) << "the hot face has its own border";
  b->Perform(CM_MOUSELEAVE, 0, 0);
  clock.Advance(20);
  clock.Advance(20);
  EXPECT_DOUBLE_EQ(b->MorphLevel(), 0.6);
  b->Perform(CM_MOUSEENTER, 0, 0);
  clock.Advance(20);
  EXPECT_DOUBLE_EQ(b->MorphLevel(), 0.8);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  for (int i = 0; i < 6; ++i) clock.Advance(20);
  EXPECT_DOUBLE_EQ(b->MorphLevel(), 0);
  EXPECT_EQ(Painted(b), normal);
}

// Paints Count solid frames of the given colours one under the other at R of the skin's picture
// and returns the strip's rectangle.
TRect PaintStrip(TspSkinData* Data, TRect R, const std::vector<TColor>& Colours) {
  TCanvas* c = Data->Pictures()[0]->Canvas();
  const int h = R.Height() / int(Colours.size());
  for (size_t i = 0; i < Colours.size(); ++i) {
    c->Brush()->SetColor(Colours[i]);
    c->FillRect(Rect(R.Left, R.Top + int(i) * h, R.Right, R.Top + int(i + 1) * h));
  }
  return R;
}

TEST(SkinButton, HoverFramesPlayForwardThenBackward) {
  TSkinnedForm f;
  TManualClock clock;
  auto* b = f.Add<TspSkinButton>(100, 100, 90, 30);
  b->UseSkinSize = false;
  b->SetCanFocused(false);  // a focused button stays lit: only the mouse drives the frames here
  b->SetBounds(100, 100, 90, 40);
  const QImage normal = Painted(b);
  TspDataSkinControl* d = b->Description();
  ASSERT_TRUE(d);
  d->SetRect("animateskinrect", PaintStrip(f.Data, Rect(94, 100, 138, 187), {clRed, clBlue, clWhite}));
  d->SetInt("framecount", 3);
  d->SetInt("animateinterval", 30);
  d->SetInt("morphing", 0);
  b->ApplySkin();
  auto centre = [&] { return Painted(b).pixel(45, 20); };
  b->Perform(CM_MOUSEENTER, 0, 0);
  std::vector<QRgb> seen{centre()};
  for (int i = 0; i < 3; ++i) {
    clock.Advance(30);
    seen.push_back(centre());
  }
  const QRgb hot = seen.back();
  EXPECT_EQ(seen, (std::vector<QRgb>{Rgb(clRed), Rgb(clBlue), Rgb(clWhite), hot}));
  EXPECT_NE(Painted(b).pixel(45, 2), normal.pixel(45, 2)) << "ends on the plain hot face";
  clock.Advance(30);
  EXPECT_EQ(centre(), hot) << "the animation has stopped";

  b->Perform(CM_MOUSELEAVE, 0, 0);
  seen = {centre()};
  for (int i = 0; i < 3; ++i) {
    clock.Advance(30);
    seen.push_back(centre());
  }
  EXPECT_EQ(seen, (std::vector<QRgb>{Rgb(clWhite), Rgb(clBlue), Rgb(clRed), normal.pixel(45, 20)}));
  EXPECT_EQ(Painted(b), normal);

  // A press stops the frames: the down face shows at once.
  b->Perform(CM_MOUSEENTER, 0, 0);
  SendMouse(b, QEvent::MouseButtonPress, QPoint(45, 20));
  const QRgb down = centre();
  EXPECT_NE(down, Rgb(clRed));
  clock.Advance(30);
  EXPECT_EQ(centre(), down);
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(45, 20));
}

TEST(SkinGauge, ProgressAnimationRunsFramesThenPauses) {
  TSkinnedForm f;
  TManualClock clock;
  auto* g = f.Add<TspSkinGauge>(10, 10, 19, 193);
  g->SetMaxValue(100);
  g->SetValue(50);
  const QRgb bar = Painted(g).pixel(9, 165);
  TspDataSkinControl* d = g->Description();
  ASSERT_TRUE(d);
  // Three frames as tall as "progressrect" (16 rows), one under the other.
  d->SetRect("progressanimationskinrect", PaintStrip(f.Data, Rect(112, 110, 123, 158), {clRed, clBlue, clWhite}));
  d->SetInt("progressanimationcountframes", 3);
  d->SetInt("progressanimationtimerinterval", 50);
  g->SetProgressAnimationPause(200);
  g->SetProgressAnimationPause(-1);
  EXPECT_EQ(g->ProgressAnimationPause(), 200) << "a negative pause is not taken";
  g->ApplySkin();
  EXPECT_EQ(Painted(g).pixel(9, 165), bar) << "nothing runs until it is begun";
  g->BeginProgressAnimation();
  auto at = [&] { return Painted(g).pixel(9, 165); };
  std::vector<QRgb> seen{at()};
  for (int i = 0; i < 4; ++i) {
    clock.Advance(50);
    seen.push_back(at());
  }
  EXPECT_EQ(seen, (std::vector<QRgb>{bar, Rgb(clRed), Rgb(clBlue), Rgb(clWhite), bar}));
  // The empty part of the well shows no frame.
  EXPECT_NE(Painted(g).pixel(9, 30), Rgb(clRed));
  clock.Advance(150);
  EXPECT_EQ(at(), bar) << "paused";
  clock.Advance(50);
  EXPECT_EQ(at(), bar) << "a new run starts at frame 0";
  clock.Advance(50);
  EXPECT_EQ(at(), Rgb(clRed));
  // A new skin keeps it running; ending it shows the bar for good.
  g->ApplySkin();
  clock.Advance(50);
  EXPECT_EQ(at(), Rgb(clRed));
  g->EndProgressAnimation();
  EXPECT_EQ(at(), bar);
  clock.Advance(500);
  EXPECT_EQ(at(), bar);
}

TEST(SkinButton, ClicksOfEveryKind) {
  TSkinnedForm f;
  TManualClock clock;
  auto* b = f.Add<TspSkinButton>(10, 10, 80, 30);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  // A release outside clicks nothing.
  SendMouse(b, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_TRUE(b->Down());
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(200, 10));
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(b->Down());
  SendMouse(b, QEvent::MouseButtonPress, QPoint(10, 10));
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
  // Checked mode: down and a click on the first press, up and a click on the second release.
  clicks = 0;
  b->SetCheckedMode(true);
  EXPECT_EQ(b->GroupIndex(), -1);
  SendMouse(b, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_TRUE(b->Down());
  SendMouse(b, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 2);
  // Auto-repeat: after 500 ms, then every RepeatInterval.
  b->SetCheckedMode(false);
  b->RepeatMode = true;
  b->RepeatInterval = 100;
  clicks = 0;
  SendMouse(b, QEvent::MouseButtonPress, QPoint(10, 10));
  clock.Advance(499);
  EXPECT_EQ(clicks, 0);
  clock.Advance(1);
  clock.Advance(100);
  EXPECT_EQ(clicks, 1);
  clock.Advance(100);
  EXPECT_EQ(clicks, 2);
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 3) << "the release of a repeating button clicks once more";
  clock.Advance(500);
  EXPECT_EQ(clicks, 3);
}

TEST(SkinButton, GroupsAndTheDefaultButton) {
  TSkinnedForm f;
  auto* a = f.Add<TspSkinButton>(10, 10, 80, 30);
  auto* b = f.Add<TspSkinButton>(10, 50, 80, 30);
  a->SetGroupIndex(2);
  b->SetGroupIndex(2);
  EXPECT_FALSE(a->CanFocused());
  int clicksA = 0;
  a->OnClick = [&](TObject*) { ++clicksA; };
  SendMouse(a, QEvent::MouseButtonPress, QPoint(5, 5));
  EXPECT_EQ(clicksA, 1) << "a grouped button clicks on the press";
  SendMouse(a, QEvent::MouseButtonRelease, QPoint(5, 5));
  EXPECT_TRUE(a->Down());
  SendMouse(b, QEvent::MouseButtonPress, QPoint(5, 5));
  SendMouse(b, QEvent::MouseButtonRelease, QPoint(5, 5));
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());

  // Enter goes to the default button while an edit has the focus, to a focused skinned button
  // otherwise.
  auto* ok = f.Add<TspSkinButton>(100, 10, 80, 30);
  auto* other = f.Add<TspSkinButton>(100, 50, 80, 30);
  auto* edit = new TEdit(f.Form.get());
  edit->SetParent(f.Form.get());
  edit->SetBounds(200, 10, 100, 24);
  ok->SetDefault(true);
  int okClicks = 0, otherClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  other->OnClick = [&](TObject*) { ++otherClicks; };
  edit->SetFocus();
  Application->ProcessMessages();
  SendKey(edit, Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  other->SetFocus();
  Application->ProcessMessages();
  SendKey(other, Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 1);
}

TEST(SkinCheckBox, GrayedCycleAndRadioGroups) {
  TSkinnedForm f;
  auto* c = f.Add<TspSkinCheckRadioBox>(10, 10, 150, 25);
  c->SetSkinDataName("checkradio");
  c->SetAllowGrayed(true);
  int clicks = 0;
  c->OnClick = [&](TObject*) { ++clicks; };
  std::vector<TCheckBoxState> states;
  for (int i = 0; i < 3; ++i) {
    SendMouse(c, QEvent::MouseButtonPress, QPoint(5, 10));
    SendMouse(c, QEvent::MouseButtonRelease, QPoint(5, 10));
    states.push_back(c->State());
  }
  EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  EXPECT_EQ(clicks, 3);
  // Clearing Checked leaves a grayed box grayed, and still clicks.
  c->SetState(cbGrayed);
  clicks = 0;
  c->SetChecked(false);
  EXPECT_EQ(c->State(), cbGrayed);
  EXPECT_EQ(clicks, 1);
  // A press inside and a release outside toggles nothing.
  c->SetState(cbUnchecked);
  SendMouse(c, QEvent::MouseButtonPress, QPoint(5, 10));
  SendMouse(c, QEvent::MouseButtonRelease, QPoint(300, 10));
  EXPECT_EQ(c->State(), cbUnchecked);

  auto* r1 = f.Add<TspSkinCheckRadioBox>(10, 50, 150, 25);
  auto* r2 = f.Add<TspSkinCheckRadioBox>(10, 80, 150, 25);
  for (auto* r : {r1, r2}) {
    r->SetRadio(true);
    r->GroupIndex = 1;
  }
  int clicks1 = 0, clicks2 = 0;
  r1->OnClick = [&](TObject*) { ++clicks1; };
  r2->OnClick = [&](TObject*) { ++clicks2; };
  r1->SetChecked(true);
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_EQ(clicks1, 1) << "no click for the one that was unchecked";
  EXPECT_EQ(clicks2, 1);
  SendMouse(r2, QEvent::MouseButtonPress, QPoint(5, 10));
  SendMouse(r2, QEvent::MouseButtonRelease, QPoint(5, 10));
  EXPECT_TRUE(r2->Checked()) << "a checked radio button stays checked";
  // Without CanFocused, Space does nothing and a click takes no focus.
  c->SetCanFocused(false);
  SendMouse(c, QEvent::MouseButtonPress, QPoint(5, 10));
  SendMouse(c, QEvent::MouseButtonRelease, QPoint(5, 10));
  EXPECT_FALSE(c->Focused());
  TCheckBoxState s = c->State();
  SendKey(c, Qt::Key_Space);
  EXPECT_EQ(c->State(), s);
}

namespace {

// A control whose description is given directly, for the resize-mode table.
struct TResizeCase {
  const char* Name;
  TRect SkinRect;
  TPoint LT, RT, LB, RB;
  int W, H;
  int Mode, ExpectedW, ExpectedH;
  TPoint ExpectedRT, ExpectedLB;
};

}  // namespace

TEST(SkinControl, ResizeModes) {
  const TResizeCase cases[] = {
      {"fixed", {0, 0, 49, 29}, {}, {}, {}, {}, 100, 50, 0, 49, 29, {}, {}},
      {"across", {0, 0, 49, 29}, {3, 5}, {45, 5}, {}, {}, 100, 50, 2, 100, 29, {96, 5}, {}},
      {"down", {0, 0, 18, 46}, {0, 8}, {}, {0, 38}, {}, 30, 193, 3, 18, 193, {}, {0, 185}},
      {"nine", {0, 0, 30, 20}, {5, 5}, {25, 5}, {5, 15}, {25, 15}, 60, 40, 1, 60, 40, {55, 5}, {5, 35}},
  };
  for (const auto& c : cases) {
    std::string ini = "[SKINCONTROLS]\r\ncount=1\r\n0=x:panel\r\n[x]\r\npictureindex=0\r\nskinrect=" +
                      IntToStr(c.SkinRect.Left) + "," + IntToStr(c.SkinRect.Top) + "," + IntToStr(c.SkinRect.Right) +
                      "," + IntToStr(c.SkinRect.Bottom) + "\r\nlefttoppoint=" + IntToStr(c.LT.X) + "," +
                      IntToStr(c.LT.Y) + "\r\nrighttoppoint=" + IntToStr(c.RT.X) + "," + IntToStr(c.RT.Y) +
                      "\r\nleftbottompoint=" + IntToStr(c.LB.X) + "," + IntToStr(c.LB.Y) + "\r\nrightbottompoint=" +
                      IntToStr(c.RB.X) + "," + IntToStr(c.RB.Y) + "\r\n";
    // A one-picture package with this INI.
    std::vector<uint8_t> pkg;
    auto put32 = [&](int32_t v) {
      const auto* p = reinterpret_cast<const uint8_t*>(&v);
      pkg.insert(pkg.end(), p, p + 4);
    };
    put32(2);
    pkg.insert(pkg.end(), {1, 1, 1, 1, 1});
    put32(1);
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(0x808080);
    TMemoryStream bmp, in, out;
    WriteBmpImage(&bmp, img, 24);
    const auto* bp = static_cast<const uint8_t*>(bmp.Memory());
    pkg.insert(pkg.end(), bp, bp + bmp.Size());
    pkg.insert(pkg.end(), ini.begin(), ini.end());
    in.WriteBuffer(pkg.data(), int64_t(pkg.size()));
    spDeflatePackage(&in, &out);
    std::string path = std::string(SONALIX_BINARY_DIR) + "/skin/resize-case.pkg";
    out.SaveToFile(path);
    TSkinnedForm f(path);
    auto* control = f.Add<TspSkinCustomControl>(0, 0, 10, 10);
    control->SetSkinDataName("x");
    control->ApplySkin();
    control->SetBounds(0, 0, c.W, c.H);
    EXPECT_EQ(control->ResizeMode(), c.Mode) << c.Name;
    EXPECT_EQ(control->Width(), c.ExpectedW) << c.Name;
    EXPECT_EQ(control->Height(), c.ExpectedH) << c.Name;
    if (c.Mode == 2 || c.Mode == 1) EXPECT_EQ(control->NewRTPoint(), c.ExpectedRT) << c.Name;
    if (c.Mode == 3 || c.Mode == 1) EXPECT_EQ(control->NewLBPoint(), c.ExpectedLB) << c.Name;
  }
}

TEST(SkinControl, AlphaBlendShowsFaceOrBackground) {
  TSkinnedForm f;
  f.Form->SetColor(clLime);
  auto* g = f.Add<TspSkinGauge>(10, 10, 19, 193);
  g->SetValue(0);
  QImage plain = Painted(g);
  g->SetAlphaBlend(true);
  g->SetAlphaBlendValue(255);
  EXPECT_EQ(At(Painted(g), g, 9, 50), At(plain, g, 9, 50));
  g->SetAlphaBlendValue(0);
  EXPECT_EQ(At(Painted(g), g, 9, 50), qRgb(0, 255, 0));
}

TEST(SkinControl, WithoutADescriptionOnlyTheDefaultFace) {
  TSkinnedForm f;
  f.Form->SetColor(clLime);
  auto* g = f.Add<TspSkinGauge>(10, 10, 50, 20);
  g->SetSkinDataName("nothing");
  g->SetBounds(10, 10, 50, 20);
  QImage img = Painted(g);
  EXPECT_NE(At(img, g, 0, 0), Rgb(clBtnShadow)) << "no description and no default: nothing painted";
  g->SetDrawDefault(true);
  img = Painted(g);
  EXPECT_EQ(At(img, g, 0, 0), Rgb(clBtnShadow));
}

TEST(SkinControl, ADamagedSkinGivesDefaultFaces) {
  std::vector<uint8_t> junk(64, 0x42);
  std::string path = std::string(SONALIX_BINARY_DIR) + "/skin/damaged.pkg";
  TMemoryStream m;
  m.WriteBuffer(junk.data(), int64_t(junk.size()));
  m.SaveToFile(path);
  TSkinnedForm f(path);
  EXPECT_TRUE(f.Data->Empty());
  EXPECT_FALSE(f.Data->LoadErrorText().empty());
  auto* g = f.Add<TspSkinGauge>(10, 10, 60, 20);
  QImage img = Painted(g);
  EXPECT_EQ(At(img, g, 0, 0), Rgb(clBtnShadow)) << "DrawDefault is off, yet the plain face shows";
  EXPECT_EQ(At(img, g, 10, 10), qRgb(0xB6, 0xBD, 0xD2));
}

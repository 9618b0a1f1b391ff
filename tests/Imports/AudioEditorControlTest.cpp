// The waveform editor control on the offscreen platform: what it draws (read back from its
// window's buffer), its view arithmetic, and the mouse gestures with the events they raise.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 1000;
// Colours chosen apart from each other so every pixel tells what was drawn there.
constexpr uint32_t kBack = 0x000000, kCursor = 0xFFFFFF, kZero = 0x404040, kSelBack = 0xA75F05,
                   kPlay = 0x00FFFF, kWave = 0x66FF66, kSelWave = 0x0000FF, kScale = 0x202020;

QRgb Q(uint32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Left channel: alternating +0.8 and -0.8 over frames [400, 500), silence elsewhere. Right:
// alternating -0.6 and 0 over [200, 300).
SampleBuffer KnownSignal() {
  SampleBuffer b(2, kRate, kFrames);
  for (int f = 400; f < 500; ++f) b.At(f, 0) = f % 2 ? -0.8f : 0.8f;
  for (int f = 200; f < 300; ++f) b.At(f, 1) = f % 2 ? 0.f : -0.6f;
  return b;
}

// Whether any pixel of the rectangle (inclusive) has the colour.
bool Drawn(const QImage& img, int x0, int x1, int y0, int y1, QRgb c) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
    for (int x = x0; x <= x1; ++x)
      if (img.pixel(x, y) == c) return true;
  return false;
}

struct Editor {
  std::unique_ptr<TAudioEditor2> E = std::make_unique<TAudioEditor2>(nullptr);
  std::vector<std::string> Log;

  explicit Editor(bool withSignal = true) {
    E->SetBounds(0, 0, 460, 240);
    IAudioEditor2Colors* c = E->Colors();
    c->SetColor1(kBack);
    c->SetColor2(kCursor);
    c->SetColor3(kZero);
    c->SetColor4(kSelBack);
    c->SetColor5(kPlay);
    c->SetColor8(kScale);
    c->SetColor9(kWave);
    c->SetColor11(kBack);  // no grid: it would cross the probes
    c->SetColor13(kBack);
    c->SetColor14(kSelWave);
    E->NewDocument(kRate, 2);
    if (withSignal) {
      SampleBuffer s = KnownSignal();
      E->InsertPcm(s);
      E->ZoomFull();
    }
    E->OnChangePosition = [this](TObject*) { Log.push_back("position"); };
    E->OnChangeMarker = [this](TObject*, int n) { Log.push_back("marker " + std::to_string(n)); };
    E->OnMarkerClick = [this](TObject*, int n) { Log.push_back("click " + std::to_string(n)); };
    E->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
    E->OnScaleXClick = [this](TObject*) { Log.push_back("scalex"); };
    E->OnScaleYClick = [this](TObject*) { Log.push_back("scaley"); };
    E->OnMouseDown = [this](TObject*, int16_t b, int16_t s, int, int) {
      Log.push_back("down " + std::to_string(b) + " " + std::to_string(s));
    };
  }

  QImage Shot() {
    E->Invalidate();
    PaintWindowNow(E->Handle());
    return *GetWindowBackBuffer(E->Handle());
  }
  // The row of a level in a channel's lane.
  int Y(int channel, double level) {
    const TRect w = E->WaveRect();
    const int top = w.Top + w.Height() * channel / 2,
              bottom = w.Top + w.Height() * (channel + 1) / 2;
    const int mid = (top + bottom) / 2, half = (bottom - top) / 2 - 1;
    return mid - int(level * half);
  }
  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    SendMessage(E->Handle(), msg, keys, MAKELPARAM(x, y));
  }
  void Drag(int x0, int y0, int x1, int y1, WPARAM keys = 0) {
    Mouse(WM_LBUTTONDOWN, x0, y0, MK_LBUTTON | keys);
    Mouse(WM_MOUSEMOVE, (x0 + x1) / 2, y1, MK_LBUTTON | keys);
    Mouse(WM_MOUSEMOVE, x1, y1, MK_LBUTTON | keys);
    Mouse(WM_LBUTTONUP, x1, y1, keys);
  }
  int BandY() { return (E->MarkerBandRect().Top + E->MarkerBandRect().Bottom) / 2; }
  int LaneY() { return Y(0, 0.95); }  // high in the left lane, clear of the wave mostly
  int64_t Frames(int x) { return E->FrameAtX(x); }
  std::pair<int, int> View() { return {E->Position()->ViewStart(), E->Position()->ViewEnd()}; }
  std::pair<int, int> Sel() {
    return {E->Position()->SelectionStart(), E->Position()->SelectionEnd()};
  }
};

TEST(AudioEditorControl, DrawsTheSignalsPeaksInTheirLanesAndColumns) {
  Editor ed;
  const TRect w = ed.E->WaveRect();
  // The view maps the document's ends to the wave area's edges.
  EXPECT_EQ(ed.E->XOfFrame(0), w.Left);
  EXPECT_EQ(ed.E->XOfFrame(kFrames), w.Right);
  EXPECT_NEAR(ed.E->XOfFrame(kFrames / 2), w.Left + w.Width() / 2, 1);

  // Where each channel's wave reaches, over the columns of a range of frames.
  struct Probe {
    const char* What;
    int First, Last, Channel;
    double From, To;  // levels
    bool Wave;        // wave colour somewhere in there, or none at all
  };
  const std::vector<Probe> probes = {
      {"left peak", 440, 460, 0, 0.77, 0.83, true},
      {"left trough", 440, 460, 0, -0.77, -0.83, true},
      {"nothing above", 440, 460, 0, 0.87, 1.0, false},
      {"nothing below", 440, 460, 0, -0.87, -1.0, false},
      {"left silent", 100, 300, 0, 0.1, 0.9, false},
      {"left silent below", 100, 300, 0, -0.1, -0.9, false},
      {"right trough", 220, 280, 1, -0.57, -0.63, true},
      {"right not below", 220, 280, 1, -0.67, -1.0, false},
      {"right not above", 220, 280, 1, 0.05, 1.0, false},
  };
  // Full view (summaries) and a view narrower than the area (samples drawn).
  for (bool zoomed : {false, true}) {
    if (zoomed) ed.E->ZoomToRange(430, 470);
    const QImage img = ed.Shot();
    for (const Probe& p : probes) {
      const int first = std::max(p.First, 431), last = std::min(p.Last, 469);
      if (zoomed && first > last) continue;
      const int x0 = ed.E->XOfFrame(zoomed ? first : p.First) + 1;
      const int x1 = ed.E->XOfFrame(zoomed ? last : p.Last) - 1;
      EXPECT_EQ(Drawn(img, x0, x1, ed.Y(p.Channel, p.From), ed.Y(p.Channel, p.To), Q(kWave)),
                p.Wave)
          << p.What << (zoomed ? " zoomed" : " full");
    }
  }
  // Effects reach the document through the control and show at once.
  ed.E->ZoomFull();
  ed.E->Position()->SetSelectionActive(true);
  ed.E->Position()->SetSelectionStart(400);
  ed.E->Position()->SetSelectionEnd(500);
  ed.E->Effects()->Silence();
  const QImage silenced = ed.Shot();
  EXPECT_FALSE(Drawn(silenced, ed.E->XOfFrame(440), ed.E->XOfFrame(460), ed.Y(0, 0.77),
                     ed.Y(0, 0.83), Q(kSelWave)));
  ed.E->Undo();
  EXPECT_TRUE(Drawn(ed.Shot(), ed.E->XOfFrame(440), ed.E->XOfFrame(460), ed.Y(0, 0.77),
                    ed.Y(0, 0.83), Q(kSelWave)));
  ed.E->Position()->SetSelectionActive(false);

  // The cursor and the play cursor at their columns.
  ed.E->ZoomFull();
  ed.E->Position()->SetCursor(700);
  ed.E->SetPlayPosition(800);
  QImage img = ed.Shot();
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(700), ed.Y(0, 0.5)), Q(kCursor));
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(800), ed.Y(1, 0.5)), Q(kPlay));
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(750), ed.Y(0, 0.5)), Q(kBack));
}

TEST(AudioEditorControl, AnEmptyDocumentDrawsBackgroundAndScales) {
  Editor ed(false);
  ASSERT_EQ(ed.E->Position()->Length(), 0);
  ed.E->ZoomFull();
  ed.E->ZoomToRange(0, 100);
  EXPECT_EQ(ed.View(), std::make_pair(0, 0));
  const QImage img = ed.Shot();
  const TRect w = ed.E->WaveRect();
  EXPECT_EQ(img.pixel(w.Left + w.Width() / 2, ed.Y(0, 0.5)), Q(kBack));
  EXPECT_EQ(img.pixel(2, 2 + w.Top / 2), Q(kScale));
}

TEST(AudioEditorControl, SelectionAndMarkersAtTheirColumns) {
  Editor ed;
  ed.E->Position()->SetSelectionActive(true);
  ed.E->Position()->SetSelectionStart(250);
  ed.E->Position()->SetSelectionEnd(480);
  IAudioEditor2Markers* m = ed.E->Markers();
  m->Add(100, 0, "one", AUDIO_MARKER_BOOKMARK, 0, 0, 0, 0, 0);
  m->Add(600, 200, "zone", AUDIO_MARKER_REGION, 0, 0, 0, 0, 0);
  const QImage img = ed.Shot();
  const int x0 = ed.E->XOfFrame(250), x1 = ed.E->XOfFrame(480);
  const int blank = ed.Y(1, 0.4);  // the right lane is silent there
  EXPECT_EQ(img.pixel(x0 - 1, blank), Q(kBack));
  EXPECT_EQ(img.pixel(x0 + 1, blank), Q(kSelBack));
  EXPECT_EQ(img.pixel(x1 - 1, blank), Q(kSelBack));
  EXPECT_EQ(img.pixel(x1 + 1, blank), Q(kBack));
  // The wave inside the selection takes its own colour, outside the usual one.
  EXPECT_TRUE(Drawn(img, ed.E->XOfFrame(440), ed.E->XOfFrame(470), ed.Y(0, 0.7), ed.Y(0, 0.7),
                    Q(kSelWave)));
  EXPECT_FALSE(
      Drawn(img, ed.E->XOfFrame(440), ed.E->XOfFrame(470), ed.Y(0, 0.7), ed.Y(0, 0.7), Q(kWave)));
  EXPECT_TRUE(Drawn(img, x1 + 1, ed.E->XOfFrame(495), ed.Y(0, 0.7), ed.Y(0, 0.7), Q(kWave)));
  EXPECT_FALSE(Drawn(img, x1 + 1, ed.E->XOfFrame(495), ed.Y(0, 0.7), ed.Y(0, 0.7), Q(kSelWave)));
  EXPECT_TRUE(Drawn(img, x0 + 1, ed.E->XOfFrame(290), ed.Y(1, -0.4), ed.Y(1, -0.4), Q(kSelWave)));

  // Markers: the bookmark's line and the region's edges through the lanes, flags in the band.
  const QRgb bookmark = img.pixel(ed.E->XOfFrame(100), ed.Y(1, 0.4));
  const QRgb region = img.pixel(ed.E->XOfFrame(700), ed.BandY());
  EXPECT_NE(bookmark, Q(kBack));
  EXPECT_NE(region, Q(kScale));
  EXPECT_NE(bookmark, region);
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(100) + 1, ed.Y(1, 0.4)), Q(kBack));
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(600), ed.Y(1, 0.4)), region);
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(800) - 1, ed.Y(1, 0.4)), region);
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(700), ed.Y(1, 0.4)), Q(kBack));
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(100), ed.BandY()), bookmark);
  EXPECT_EQ(img.pixel(ed.E->XOfFrame(500), ed.BandY()), Q(kScale));

  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR")) {
    ed.E->SetBounds(0, 0, 900, 300);
    ed.E->ScaleX()->SetFont({"Tahoma", 7, 0xF8DCA8});
    ed.E->ScaleY()->SetFont({"Tahoma", 7, 0xF8DCA8});
    ed.E->Colors()->SetColor11(0x808080);
    ed.E->Colors()->SetColor14(0x66FF66);
    ed.E->Colors()->SetColor3(0x808080);
    SampleBuffer tone(2, kRate, 4000);
    for (int f = 0; f < 4000; ++f) {
      const double env = 0.3 + 0.6 * f / 4000.0;
      tone.At(f, 0) = float(env * std::sin(f * 0.05) * std::sin(f * 0.0031));
      tone.At(f, 1) = float(0.5 * std::sin(f * 0.021 + 1) * std::cos(f * 0.0017));
    }
    ed.E->Position()->SetSelectionActive(false);
    ed.E->Position()->SetCursor(ed.E->Position()->Length());
    ed.E->InsertPcm(tone);
    ed.E->ZoomFull();
    m->Add(2500, 0, "Chorus", AUDIO_MARKER_BOOKMARK, 0, 0, 0, 0, 0);
    ed.E->Position()->SetSelectionActive(true);
    ed.E->Position()->SetSelectionStart(1800);
    ed.E->Position()->SetSelectionEnd(3000);
    ed.Shot().save(QString::fromStdString(std::string(dir) + "/editor.png"));
  }
}

TEST(AudioEditorControl, ViewArithmetic) {
  Editor ed;
  auto* pos = ed.E->Position();
  struct Case {
    const char* What;
    int A, B;
    std::pair<int, int> View;
  };
  const std::vector<Case> ranges = {
      {"given", 100, 300, {100, 300}},
      {"reversed", 300, 100, {100, 300}},
      {"clamped", -50, 20000, {0, kFrames}},
      {"narrow widens", 500, 502, {493, 509}},
      {"at the start", 0, 0, {0, 16}},
      {"at the end", kFrames, kFrames, {kFrames - 16, kFrames}},
  };
  for (const Case& c : ranges) {
    ed.E->ZoomToRange(c.A, c.B);
    EXPECT_EQ(ed.View(), c.View) << c.What;
  }
  // ZoomToSelection takes exactly the selection, however narrow.
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(123);
  pos->SetSelectionEnd(128);
  ed.E->ZoomToSelection();
  EXPECT_EQ(ed.View(), std::make_pair(123, 128));

  // ViewStart and ViewEnd wait for RefreshView and may come in either order.
  ed.E->ZoomFull();
  EXPECT_EQ(ed.View(), std::make_pair(0, kFrames));
  pos->SetViewEnd(900);
  pos->SetViewStart(700);
  EXPECT_EQ(ed.E->Document().ViewStart(), 0);
  ed.E->RefreshView();
  EXPECT_EQ(ed.View(), std::make_pair(700, 900));
  pos->SetViewStart(100);
  pos->SetViewEnd(200);
  ed.E->RefreshView();
  EXPECT_EQ(ed.View(), std::make_pair(100, 200));

  // A full view stays full when the length changes; a partial one stays where it was.
  ed.E->ZoomFull();
  SampleBuffer more(2, kRate, 500);
  ed.E->InsertPcm(more);
  EXPECT_EQ(ed.View(), std::make_pair(0, kFrames + 500));
  ed.E->ZoomToRange(100, 200);
  ed.Log.clear();
  pos->SetSelectionActive(false);
  pos->SetCursor(1400);
  ed.E->InsertPcm(more);
  EXPECT_EQ(ed.View(), std::make_pair(100, 200));
  // Every change of view or selection is reported.
  ASSERT_FALSE(ed.Log.empty());
  ed.Log.clear();
  ed.E->ZoomToRange(0, 50);
  ed.E->ZoomFull();
  EXPECT_EQ(ed.Log, (std::vector<std::string>{"position", "position"}));

  // Playback out of sight pages the view along, keeping its width.
  ed.E->ZoomToRange(0, 200);
  ed.E->SetPlayPosition(450);
  EXPECT_EQ(ed.View(), std::make_pair(450, 650));
  ed.E->SetPlayPosition(1990);
  EXPECT_EQ(ed.View(), std::make_pair(1800, 2000));
}

TEST(AudioEditorControl, MouseSelectsPlacesTheCursorAndExtends) {
  Editor ed;
  const int y = ed.LaneY();
  const int x200 = ed.E->XOfFrame(200), x600 = ed.E->XOfFrame(600), x800 = ed.E->XOfFrame(800);
  struct Step {
    const char* What;
    int From, To;
    WPARAM Keys;
    std::pair<int, int> Selection;
    bool Active;
  };
  const std::vector<Step> steps = {
      {"drag right", x200, x600, 0, {int(ed.Frames(x200)), int(ed.Frames(x600))}, true},
      {"drag left", x600, x200, 0, {int(ed.Frames(x200)), int(ed.Frames(x600))}, true},
      {"shift extends the end",
       x800,
       x800,
       MK_SHIFT,
       {int(ed.Frames(x200)), int(ed.Frames(x800))},
       true},
      {"shift moves the nearer edge",
       x600,
       x600,
       MK_SHIFT,
       {int(ed.Frames(x200)), int(ed.Frames(x600))},
       true},
      {"click drops the selection",
       x800,
       x800,
       0,
       {int(ed.Frames(x800)), int(ed.Frames(x800))},
       false},
  };
  for (const Step& s : steps) {
    ed.Drag(s.From, y, s.To, y, s.Keys);
    EXPECT_EQ(ed.Sel(), s.Selection) << s.What;
    EXPECT_EQ(ed.E->Position()->SelectionActive(), s.Active) << s.What;
  }
  EXPECT_EQ(ed.E->Position()->Cursor(), ed.Frames(x800));
  EXPECT_NEAR(ed.Frames(x200), 200, 3);

  // A double click raises OnDblClick and its second press keeps what the handler made.
  ed.E->OnDblClick = [&](TObject*) {
    ed.Log.push_back("dblclick");
    ed.E->Position()->SetSelectionActive(true);
    ed.E->Position()->SetSelectionStart(0);
    ed.E->Position()->SetSelectionEnd(kFrames);
  };
  ed.Log.clear();
  ed.Mouse(WM_LBUTTONDOWN, x200, y, MK_LBUTTON);
  ed.Mouse(WM_LBUTTONUP, x200, y);
  ed.Mouse(WM_LBUTTONDBLCLK, x200, y, MK_LBUTTON);
  ed.Mouse(WM_LBUTTONUP, x200, y);
  EXPECT_EQ(ed.Sel(), std::make_pair(0, kFrames));
  EXPECT_NE(std::find(ed.Log.begin(), ed.Log.end(), "dblclick"), ed.Log.end());

  // Scales report their clicks and select nothing; the right button only raises OnMouseDown.
  ed.Log.clear();
  const TRect t = ed.E->TimeScaleRect(), l = ed.E->LevelScaleRect();
  ed.Mouse(WM_LBUTTONDOWN, t.Left + 20, t.Top + 3, MK_LBUTTON);
  ed.Mouse(WM_LBUTTONUP, t.Left + 20, t.Top + 3);
  ed.Mouse(WM_LBUTTONDOWN, l.Left + 3, l.Top + 20, MK_LBUTTON);
  ed.Mouse(WM_LBUTTONUP, l.Left + 3, l.Top + 20);
  ed.Mouse(WM_RBUTTONDOWN, x600, y, MK_RBUTTON | MK_SHIFT);
  ed.Mouse(WM_RBUTTONUP, x600, y);
  EXPECT_EQ(ed.Log,
            (std::vector<std::string>{"down 1 0", "scalex", "down 1 0", "scaley", "down 2 1"}));
  EXPECT_EQ(ed.Sel(), std::make_pair(0, kFrames));
}

TEST(AudioEditorControl, WheelZoomsAroundTheMouseAndShiftWheelScrolls) {
  Editor ed;
  const int x = ed.E->XOfFrame(250);
  const TPoint screen = ed.E->ClientToScreen(TPoint(x, ed.LaneY()));
  const auto wheel = [&](int delta, WORD keys) {
    SendMessage(ed.E->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, WORD(int16_t(delta))),
                MAKELPARAM(screen.X, screen.Y));
  };
  const int64_t under = ed.Frames(x);
  wheel(120, 0);
  auto [a, b] = ed.View();
  EXPECT_LT(b - a, kFrames);
  EXPECT_LE(a, under);
  EXPECT_GE(b, under);
  EXPECT_NEAR(ed.Frames(x), under, 2);  // the frame under the mouse stays there
  const int width = b - a;
  wheel(-120, MK_SHIFT);  // backward turn: towards the end
  EXPECT_EQ(ed.View().second - ed.View().first, width);
  EXPECT_GT(ed.View().first, a);
  for (int i = 0; i < 6; ++i) wheel(-120, 0);
  EXPECT_EQ(ed.View(), std::make_pair(0, kFrames));
}

TEST(AudioEditorControl, MarkerClicksAndDragsRaiseTheirEvents) {
  Editor ed;
  IAudioEditor2Markers* m = ed.E->Markers();
  m->Add(100, 0, "one", AUDIO_MARKER_BOOKMARK, 0, 0, 0, 0, 0);
  m->Add(600, 200, "zone", AUDIO_MARKER_REGION, 0, 0, 0, 0, 0);
  ed.Shot();
  const int band = ed.BandY();
  const auto x = [&](int f) { return ed.E->XOfFrame(f); };
  ed.Log.clear();

  // Clicking a bookmark puts the cursor there; clicking a region selects it.
  ed.Drag(x(100), band, x(100), band);
  EXPECT_FALSE(ed.E->Position()->SelectionActive());
  EXPECT_EQ(ed.E->Position()->Cursor(), 100);
  ed.Drag(x(700), band, x(700), band);
  EXPECT_TRUE(ed.E->Position()->SelectionActive());
  EXPECT_EQ(ed.Sel(), std::make_pair(600, 800));
  EXPECT_EQ(std::count(ed.Log.begin(), ed.Log.end(), "click 1"), 1);
  EXPECT_EQ(std::count(ed.Log.begin(), ed.Log.end(), "click 2"), 1);
  EXPECT_EQ(std::count(ed.Log.begin(), ed.Log.end(), "marker 1") +
                std::count(ed.Log.begin(), ed.Log.end(), "marker 2"),
            0);

  struct Case {
    const char* What;
    int From, To;
    int Index;
    int Start, End;  // frames, -1: the frame at the target column
  };
  const std::vector<Case> drags = {
      {"bookmark", 100, 300, 1, -1, -1},
      {"region end", 800, 900, 2, 600, -1},
      {"region start", 600, 500, 2, -1, -2},
      {"region start past its end", 500, 990, 2, -2, -2},
  };
  for (const Case& c : drags) {
    const int64_t target = ed.Frames(x(c.To));
    m->SetCurrentIndex(c.Index);
    const int64_t oldEnd = m->MarkerPosition() + m->MarkerLength();
    ed.Log.clear();
    ed.Drag(x(c.From), band, x(c.To), band);
    m->SetCurrentIndex(c.Index);
    const int64_t start = m->MarkerPosition(), end = start + m->MarkerLength();
    const int64_t wantStart = c.Start == -1 ? target : c.Start == -2 ? oldEnd : c.Start;
    const int64_t wantEnd = c.End == -1 ? target : c.End == -2 ? oldEnd : c.End;
    EXPECT_EQ(start, wantStart) << c.What;
    EXPECT_EQ(end, wantEnd) << c.What;
    EXPECT_EQ(ed.Log, (std::vector<std::string>{"down 1 0", "marker " + std::to_string(c.Index)}))
        << c.What;
  }
  EXPECT_NEAR(ed.Frames(x(300)), 300, 3);

  // Over a grip the pointer offers to move it, over a region's body to select it.
  m->Add(600, 100, "again", AUDIO_MARKER_REGION, 0, 0, 0, 0, 0);
  ed.Shot();
  const std::vector<std::pair<int, TCursor>> pointers = {
      {x(300), crSizeWE}, {x(650), crHandPoint}, {x(200), crDefault}, {x(700), crSizeWE}};
  for (auto [px, shape] : pointers) {
    ed.Mouse(WM_MOUSEMOVE, px, band);
    EXPECT_EQ(ed.E->Cursor(), shape) << px;
  }
}

TEST(AudioEditorControl, PlaybackShowsThePlayCursorUntilStopped) {
  Editor ed;
  ed.E->Position()->SetCursor(300);
  ed.E->Play(AUDIO_PLAY_ONCE);
  EXPECT_EQ(ed.E->PlayState(), AUDIO_PLAYSTATE_PLAYING);
  EXPECT_GE(ed.E->PlayPosition(), 300);
  ed.E->Pause();
  EXPECT_EQ(ed.E->PlayState(), AUDIO_PLAYSTATE_PAUSED);
  ed.E->Stop();
  EXPECT_EQ(ed.E->PlayState(), AUDIO_PLAYSTATE_IDLE);
  EXPECT_EQ(ed.E->PlayPosition(), -1);
  EXPECT_EQ(ed.E->Position()->Cursor(), 300);
}

TEST(AudioEditorControl, StoredDescriptionsCanCreateIt) {
  RegisterAudioEditor2();
  const TClassInfo* info = FindClassInfo("TAudioEditor2");
  ASSERT_TRUE(info);
  for (const char* name : {"OnChangePosition", "OnChangeMarker", "OnMarkerClick", "OnMouseDown",
                           "OnDblClick", "OnScaleXClick", "TypeBorder"})
    EXPECT_TRUE(GetPropInfo(info, name)) << name;
}

}  // namespace

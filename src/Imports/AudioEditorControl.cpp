#include "Imports/AudioEditorControl.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "Imports/AudioEditor2Parts.h"
#include "audio/BlockStore.h"
#include "platform/rtl/TypInfo.h"

namespace {

// Marker colours; the colour set the host puts has none for markers.
constexpr TColor kBookmarkColor = 0x00D7FF;
constexpr TColor kRegionColor = 0xE0A040;
constexpr TColor kMarkerTextColor = 0x000000;
constexpr int kMarkerBandHeight = 14;
constexpr int kGripPixels = 3;
constexpr int kDragThreshold = 2;

QRgb Rgb(TColor c) {
  c = ColorToRGB(c);
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QFont ScaleQFont(const TAudioEditor2ScaleFont& f) {
  QFont font(QString::fromStdString(f.Name));
  font.setPixelSize(std::max(1, (f.Size * 96 + 36) / 72));
  return font;
}

// A tick step (ms) leaving at least `minPixels` between labels.
int64_t TickStepMs(double pixelsPerMs, int minPixels) {
  static const int64_t steps[] = {1,       2,       5,        10,      20,     50,     100,
                                  200,     500,     1000,     2000,    5000,   10000,  15000,
                                  30000,   60000,   120000,   300000,  600000, 900000, 1800000,
                                  3600000, 7200000, 18000000, 36000000};
  for (int64_t s : steps)
    if (s * pixelsPerMs >= minPixels) return s;
  return steps[std::size(steps) - 1];
}

std::string TimeLabel(int64_t ms, int64_t stepMs) {
  const int64_t h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, z = ms % 1000;
  char buf[48];
  if (h > 0)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", (long long)h, (long long)m, (long long)s);
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", (long long)m, (long long)s);
  std::string out = buf;
  if (stepMs < 1000) {
    std::snprintf(buf, sizeof buf, ".%03lld", (long long)z);
    std::string frac = buf;
    if (stepMs % 100 == 0)
      frac.resize(2);
    else if (stepMs % 10 == 0)
      frac.resize(3);
    out += frac;
  }
  return out;
}

}  // namespace

// ---- sub-objects --------------------------------------------------------------------------

class TAudioEditor2::TScalePart : public IAudioEditor2Scale {
 public:
  explicit TScalePart(TAudioEditor2* owner) : FOwner(owner) { FFont.Color = 0xA8DCF8; }
  void SetFont(const TAudioEditor2ScaleFont& font) override {
    FFont = font;
    FOwner->Invalidate();
  }
  void SetScaleOption(int value) override { FOption = value; }
  const TAudioEditor2ScaleFont& Font() const { return FFont; }

 private:
  TAudioEditor2* FOwner;
  TAudioEditor2ScaleFont FFont;
  int FOption = 0;
};

class TAudioEditor2::TColorsPart : public IAudioEditor2Colors {
 public:
  explicit TColorsPart(TAudioEditor2* owner) : FOwner(owner) {
    FColors.fill(0x808080);
    const std::pair<int, uint32_t> defaults[] = {
        {1, 0}, {2, 0xFFFFFF}, {3, 0x808080},  {4, 0xA75F05}, {5, 0xFFFFFF},
        {8, 0}, {9, 0x66FF66}, {11, 0x808080}, {13, 0},       {14, 0x66FF66}};
    for (auto [i, c] : defaults) FColors[size_t(i - 1)] = c;
  }
  uint32_t Color(int index) override {
    Check(index);
    return FColors[size_t(index - 1)];
  }
  void SetColor(int index, uint32_t value) override {
    Check(index);
    FColors[size_t(index - 1)] = value & 0xFFFFFF;
    FOwner->Invalidate();
  }

 private:
  static void Check(int index) {
    if (index < 1 || index > 14)
      throw EArgumentOutOfRangeException(Format("Colour index %d is out of range.", {index}));
  }
  TAudioEditor2* FOwner;
  std::array<uint32_t, 14> FColors;
};

class TAudioEditor2::TOutputPart : public IAudioEditor2Output {
 public:
  explicit TOutputPart(TAudioEditor2* owner) : FOwner(owner) {}
  void SetVolume(int value) override {
    FVolume = std::clamp(value, 0, 65535);
    FOwner->FPlayer->SetVolume(FVolume);
  }

 private:
  TAudioEditor2* FOwner;
  int FVolume = 65535;
};

class TAudioEditor2::TEffectsPart : public IAudioEditor2Effects {
 public:
  explicit TEffectsPart(TAudioEditor2* owner) : FOwner(owner), E(owner->FEffectsEngine) {}
  void PitchChange(float percent) override {
    Run([&] { E.PitchChange(percent); });
  }
  void SpeedChange(float percent) override {
    Run([&] { E.SpeedChange(percent); });
  }
  void InsertSilence(int ms) override {
    Run([&] { E.InsertSilence(ms); });
  }
  void MixStereo(float ll, float lr, float rl, float rr) override {
    Run([&] { E.MixStereo(ll, lr, rl, rr); });
  }
  void Silence() override {
    Run([&] { E.Silence(); });
  }
  void Reverse() override {
    Run([&] { E.Reverse(); });
  }
  void Amplify(float percent) override {
    Run([&] { E.Amplify(percent); });
  }
  void Fade(float startPercent, float endPercent) override {
    Run([&] { E.Fade(startPercent, endPercent); });
  }
  void Normalize(float percent, int reserved) override {
    Run([&] { E.Normalize(percent, reserved); });
  }
  void Envelope(SampleBuffer& gains) override {
    Run([&] { E.Envelope(gains); });
  }
  void Compressor(float threshold, float rate, float reserved) override {
    Run([&] { E.Compressor(threshold, rate, reserved); });
  }
  void NoiseReduction(float threshold, float rate, float rmsTime) override {
    Run([&] { E.NoiseReduction(threshold, rate, rmsTime); });
  }
  void Echo(float delay, float mixDepth, float feedbackGain) override {
    Run([&] { E.Echo(delay, mixDepth, feedbackGain); });
  }
  void Flanger(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
               float sweepRate, float sweepPhase) override {
    Run([&] { E.Flanger(delayRate, mixDepth, feedbackGain, sweepDepth, sweepRate, sweepPhase); });
  }
  void Chorus(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
              float sweepRate, float sweepPhase) override {
    Run([&] { E.Chorus(delayRate, mixDepth, feedbackGain, sweepDepth, sweepRate, sweepPhase); });
  }
  void Phaser(float delay, float mixDepth, float feedbackGain) override {
    Run([&] { E.Phaser(delay, mixDepth, feedbackGain); });
  }
  void Reverb(float delay, float mixDepth, float feedbackGain, float gain, float frequency,
              int taps) override {
    Run([&] { E.Reverb(delay, mixDepth, feedbackGain, gain, frequency, taps); });
  }
  void HighPass(float cutoff, float reserved) override {
    Run([&] { E.HighPass(cutoff, reserved); });
  }
  void Equalizer(SampleBuffer& gains, SampleBuffer& frequencies) override {
    Run([&] { E.Equalizer(gains, frequencies); });
  }

 private:
  // Effects that keep every position still change the samples: redraw whatever happens.
  template <class F>
  void Run(const F& f) {
    struct Redraw {
      TAudioEditor2* Owner;
      ~Redraw() { Owner->Invalidate(); }
    } redraw{FOwner};
    f();
  }
  TAudioEditor2* FOwner;
  AudioEditorEffects& E;
};

// View puts wait for RefreshView, so that a caller may put the two edges in either order.
class TAudioEditor2::TViewPositionPart : public TAudioEditor2PositionPart {
 public:
  TViewPositionPart(TAudioEditor2* owner) : TAudioEditor2PositionPart(owner->FDoc), FOwner(owner) {}
  int ViewStart() override {
    return int(FOwner->FPendingViewStart.value_or(FOwner->FDoc.ViewStart()));
  }
  void SetViewStart(int value) override { FOwner->FPendingViewStart = value; }
  int ViewEnd() override { return int(FOwner->FPendingViewEnd.value_or(FOwner->FDoc.ViewEnd())); }
  void SetViewEnd(int value) override { FOwner->FPendingViewEnd = value; }

 private:
  TAudioEditor2* FOwner;
};

// ---- the control --------------------------------------------------------------------------

TAudioEditor2::TAudioEditor2(TComponent* AOwner)
    : TCustomControl(AOwner),
      FEffectsEngine(FDoc),
      FPosition(std::make_unique<TViewPositionPart>(this)),
      FMarkers(std::make_unique<TAudioEditor2MarkersPart>(FDoc)),
      FFileInfo(std::make_unique<TAudioEditor2FileInfoPart>(FDoc)),
      FFileFormat(std::make_unique<TAudioEditor2FileFormatPart>(FDoc)),
      FScaleX(std::make_unique<TScalePart>(this)),
      FScaleY(std::make_unique<TScalePart>(this)),
      FColors(std::make_unique<TColorsPart>(this)),
      FOutput(std::make_unique<TOutputPart>(this)),
      FEffects(std::make_unique<TEffectsPart>(this)) {
  RegisterAudioEditor2();
  SetBounds(0, 0, 400, 200);
  FDoc.OnChangePosition = [this] { PositionChanged(); };
  FDoc.OnChangeMarker = [this](int num) {
    Invalidate();
    if (OnChangeMarker) OnChangeMarker(this, num);
  };
  FDoc.OnBlockOperation = [this](int16_t percent) {
    if (OnBlockOperation) OnBlockOperation(this, percent);
  };
  FDoc.OnEndOperation = [this] {
    Invalidate();
    if (OnEndOperation) OnEndOperation(this);
  };
  FPlayer = std::make_unique<DocumentPlayer>(FDoc);
  FPlayer->OnChangePlayPosition = [this] {
    if (FPlayer->PlayState() != DocumentPlayer::psIdle) SetPlayPosition(FPlayer->PlayPosition());
    if (OnChangePlayPosition) OnChangePlayPosition(this);
  };
  FPlayer->OnMeter = [this](int left, int right) {
    if (OnMeter) OnMeter(this, left, right);
  };
  FPlayer->OnEndPlay = [this] {
    SetPlayPosition(-1);
    if (OnEndPlay) OnEndPlay(this);
  };
}

TAudioEditor2::~TAudioEditor2() {
  FPlayer.reset();
  FDoc.OnChangePosition = nullptr;
  FDoc.OnChangeMarker = nullptr;
  FDoc.OnBlockOperation = nullptr;
  FDoc.OnEndOperation = nullptr;
}

void TAudioEditor2::PositionChanged() {
  Invalidate();
  if (OnChangePosition) OnChangePosition(this);
}

// Every forwarded edit redraws: some change samples without moving any position.
#define SONALIX_EDIT(call) \
  do {                     \
    try {                  \
      call;                \
    } catch (...) {        \
      Invalidate();        \
      throw;               \
    }                      \
    Invalidate();          \
  } while (0)

void TAudioEditor2::OpenFile(const std::string& path, int) {
  FPendingViewStart.reset();
  FPendingViewEnd.reset();
  SONALIX_EDIT(FDoc.OpenFile(path));
}
void TAudioEditor2::NewDocument(int sampleRate, int channels) {
  FPendingViewStart.reset();
  FPendingViewEnd.reset();
  SONALIX_EDIT(FDoc.NewDocument(sampleRate, channels));
}
void TAudioEditor2::SaveFile(const std::string& path, bool selectionOnly, int format) {
  FDoc.SaveFile(path, selectionOnly, format);
}
void TAudioEditor2::Play(int mode) {
  FPlayer->Play(mode);
  SetPlayPosition(FPlayer->PlayPosition());
}
void TAudioEditor2::Stop() {
  FPlayer->Stop();
  SetPlayPosition(-1);
}
void TAudioEditor2::Pause() { FPlayer->Pause(); }
void TAudioEditor2::Resume() { FPlayer->Resume(); }
int16_t TAudioEditor2::PlayState() { return FPlayer->PlayState(); }
SampleBuffer TAudioEditor2::CopyPcm(int count) { return FDoc.CopyPcm(count); }
void TAudioEditor2::InsertPcm(SampleBuffer& samples) { SONALIX_EDIT(FDoc.InsertPcm(samples)); }
void TAudioEditor2::Undo() { SONALIX_EDIT(FDoc.Undo()); }
void TAudioEditor2::Redo() { SONALIX_EDIT(FDoc.Redo()); }
void TAudioEditor2::Copy() { FDoc.Copy(); }
void TAudioEditor2::Cut() { SONALIX_EDIT(FDoc.Cut()); }
void TAudioEditor2::Paste() { SONALIX_EDIT(FDoc.Paste()); }
void TAudioEditor2::InsertFile(const std::string& path) { SONALIX_EDIT(FDoc.InsertFile(path)); }
void TAudioEditor2::PasteMix(float selectPartPercent, float audioInBufferPercent) {
  SONALIX_EDIT(FDoc.PasteMix(selectPartPercent, audioInBufferPercent));
}
void TAudioEditor2::MixFile(float selectPartPercent, const std::string& path,
                            float audioInBufferPercent) {
  SONALIX_EDIT(FDoc.MixFile(selectPartPercent, path, audioInBufferPercent));
}
void TAudioEditor2::DeleteSelection() { SONALIX_EDIT(FDoc.DeleteSelection()); }
void TAudioEditor2::ConvertFormat(int sampleRate, int channels) {
  SONALIX_EDIT(FDoc.ConvertFormat(sampleRate, channels));
}
void TAudioEditor2::BeginGroup() { FDoc.BeginGroup(); }
void TAudioEditor2::EndGroup() { FDoc.EndGroup(); }

#undef SONALIX_EDIT

IAudioEditor2Scale* TAudioEditor2::ScaleX() { return FScaleX.get(); }
IAudioEditor2Scale* TAudioEditor2::ScaleY() { return FScaleY.get(); }
IAudioEditor2Colors* TAudioEditor2::Colors() { return FColors.get(); }
IAudioEditor2FileInfo* TAudioEditor2::FileInfo() { return FFileInfo.get(); }
IAudioEditor2Output* TAudioEditor2::OutputDevice() { return FOutput.get(); }
IAudioEditor2Effects* TAudioEditor2::Effects() { return FEffects.get(); }
IAudioEditor2Position* TAudioEditor2::Position() { return FPosition.get(); }
IAudioEditor2FileFormat* TAudioEditor2::FileFormat() { return FFileFormat.get(); }

// Markers added through the interface show at once.
IAudioEditor2Markers* TAudioEditor2::Markers() {
  Invalidate();
  return FMarkers.get();
}

void TAudioEditor2::SetTypeBorder(int16_t value) {
  FTypeBorder = value;
  Invalidate();
}

// ---- view ---------------------------------------------------------------------------------

void TAudioEditor2::ApplyView(int64_t start, int64_t end) {
  FPendingViewStart.reset();
  FPendingViewEnd.reset();
  FDoc.ZoomToRange(start, end);
  Invalidate();
}

void TAudioEditor2::ZoomToSelection() {
  FPendingViewStart.reset();
  FPendingViewEnd.reset();
  FDoc.ZoomToSelection();
}

void TAudioEditor2::ZoomOut() {
  FPendingViewStart.reset();
  FPendingViewEnd.reset();
  FDoc.ZoomOut();
}

void TAudioEditor2::ZoomFull() { ApplyView(0, FDoc.Length()); }

void TAudioEditor2::ZoomToRange(int viewStart, int viewEnd) {
  int64_t a = std::min(viewStart, viewEnd), b = std::max(viewStart, viewEnd);
  const int64_t length = FDoc.Length();
  a = std::clamp<int64_t>(a, 0, length);
  b = std::clamp<int64_t>(b, 0, length);
  const int64_t minWidth = std::min(kMinViewFrames, length);
  if (b - a < minWidth) {
    a = (a + b) / 2 - minWidth / 2;
    b = a + minWidth;
    if (a < 0) b -= a, a = 0;
    if (b > length) a -= b - length, b = length;
  }
  ApplyView(a, b);
}

void TAudioEditor2::RefreshView() {
  if (FPendingViewStart || FPendingViewEnd)
    ApplyView(FPendingViewStart.value_or(FDoc.ViewStart()),
              FPendingViewEnd.value_or(FDoc.ViewEnd()));
  Invalidate();
}

void TAudioEditor2::SetPlayPosition(int64_t frame) {
  FPlayPosition = frame;
  const int64_t vs = FDoc.ViewStart(), ve = FDoc.ViewEnd(), width = ve - vs;
  if (frame >= 0 && width > 0 && (frame < vs || frame > ve)) {
    const int64_t start =
        std::clamp<int64_t>(frame, 0, std::max<int64_t>(FDoc.Length() - width, 0));
    ApplyView(start, start + width);
  }
  Invalidate();
}

// ---- layout -------------------------------------------------------------------------------

int TAudioEditor2::ScaleHeight() const {
  return QFontMetrics(ScaleQFont(FScaleX->Font())).height() + 4;
}

int TAudioEditor2::LevelScaleWidth() const {
  return QFontMetrics(ScaleQFont(FScaleY->Font())).horizontalAdvance("-100") + 8;
}

TRect TAudioEditor2::TimeScaleRect() const {
  const int b = FTypeBorder ? 1 : 0;
  return Rect(b + LevelScaleWidth(), b, Width() - b, b + ScaleHeight());
}

TRect TAudioEditor2::MarkerBandRect() const {
  const TRect t = TimeScaleRect();
  return Rect(t.Left, t.Bottom, t.Right, t.Bottom + kMarkerBandHeight);
}

TRect TAudioEditor2::WaveRect() const {
  const int b = FTypeBorder ? 1 : 0;
  const TRect m = MarkerBandRect();
  return Rect(m.Left, m.Bottom, m.Right, std::max<int>(m.Bottom, Height() - b));
}

TRect TAudioEditor2::LevelScaleRect() const {
  const int b = FTypeBorder ? 1 : 0;
  const TRect w = WaveRect();
  return Rect(b, w.Top, w.Left, w.Bottom);
}

int TAudioEditor2::XOfFrame(int64_t frame) const {
  const TRect w = WaveRect();
  const int64_t vs = FDoc.ViewStart(), width = FDoc.ViewEnd() - vs;
  if (width <= 0) return w.Left;
  return w.Left + int(std::floor(double(frame - vs) * w.Width() / double(width) + 0.5));
}

int64_t TAudioEditor2::FrameAtX(int x) const {
  const TRect w = WaveRect();
  const int64_t vs = FDoc.ViewStart(), width = FDoc.ViewEnd() - vs;
  if (width <= 0 || w.Width() <= 0) return std::clamp<int64_t>(vs, 0, FDoc.Length());
  const int64_t f = vs + int64_t(std::floor(double(x - w.Left) * double(width) / w.Width() + 0.5));
  return std::clamp<int64_t>(f, 0, FDoc.Length());
}

int TAudioEditor2::MarkerX(int64_t frame) const { return XOfFrame(frame); }

// ---- drawing ------------------------------------------------------------------------------

void TAudioEditor2::Paint() {
  QImage image(std::max(1, ClientWidth()), std::max(1, ClientHeight()), QImage::Format_RGB32);
  Render(image);
  DrawImageOnCanvas(Canvas(), ClientRect(), image);
}

void TAudioEditor2::Render(QImage& image) {
  const auto color = [this](int i) { return Rgb(TColor(FColors->Color(i))); };
  const QRgb background = color(1), cursorColor = color(2), zeroColor = color(3),
             selBack = color(4), playColor = color(5), scaleBack = color(8), waveColor = color(9),
             gridColor = color(11), borderColor = color(13), selWave = color(14);

  // While a file loads, what has arrived is drawn over the whole expected length.
  const AudioDocument::TLoadingView* loading = FDoc.Loading();
  const SampleSequence& seq = loading ? *loading->Samples : FDoc.Samples();
  const int channels = std::max(1, seq.Channels() ? seq.Channels() : FDoc.Channels());
  const int rate = loading ? loading->SampleRate : FDoc.SampleRate();
  int64_t vs = FDoc.ViewStart(), ve = FDoc.ViewEnd();
  if (loading) vs = 0, ve = std::max(loading->Length, seq.Length());
  const int64_t viewWidth = ve - vs;

  const TRect wave = WaveRect(), timeScale = TimeScaleRect(), band = MarkerBandRect(),
              levelScale = LevelScaleRect();
  const int W = wave.Width(), H = wave.Height();
  const auto xOf = [&](int64_t f) {
    if (viewWidth <= 0) return wave.Left;
    return wave.Left + int(std::floor(double(f - vs) * W / double(viewWidth) + 0.5));
  };

  image.fill(background);
  QPainter p(&image);
  p.fillRect(0, 0, image.width(), wave.Top, QColor(scaleBack));
  p.fillRect(levelScale.Left, levelScale.Top, levelScale.Width(), levelScale.Height(),
             QColor(scaleBack));

  // Selection background.
  const bool selActive =
      !loading && FDoc.SelectionActive() && FDoc.SelectionEnd() > FDoc.SelectionStart();
  int selX0 = 0, selX1 = 0;
  if (selActive) {
    selX0 = std::clamp(xOf(FDoc.SelectionStart()), wave.Left, wave.Right);
    selX1 = std::clamp(xOf(FDoc.SelectionEnd()), wave.Left, wave.Right);
    if (selX1 == selX0 && selX1 < wave.Right) ++selX1;  // a narrow selection still shows
    p.fillRect(selX0, wave.Top, selX1 - selX0, H, QColor(selBack));
  }

  // Time scale and vertical grid.
  QFont timeFont = ScaleQFont(FScaleX->Font());
  p.setFont(timeFont);
  const QFontMetrics timeMetrics(timeFont);
  if (viewWidth > 0 && W > 0 && rate > 0) {
    const double pixelsPerMs = double(W) * rate / (double(viewWidth) * 1000.0);
    const int labelWidth = timeMetrics.horizontalAdvance("00:00:00.000") + 12;
    const int64_t step = TickStepMs(pixelsPerMs, labelWidth);
    const int64_t firstMs = (vs * 1000 / rate) / step * step;
    p.setPen(QColor(Rgb(TColor(FScaleX->Font().Color))));
    for (int64_t ms = firstMs;; ms += step) {
      const int64_t frame = (ms * rate + 999) / 1000;
      if (frame > ve) break;
      if (frame < vs) continue;
      const int x = xOf(frame);
      p.fillRect(x, wave.Top, 1, H, QColor(gridColor));
      p.fillRect(x, timeScale.Bottom - 3, 1, 3, QColor(Rgb(TColor(FScaleX->Font().Color))));
      p.drawText(x + 2, timeScale.Top + timeMetrics.ascent() + 1,
                 QString::fromStdString(TimeLabel(ms, step)));
    }
  }

  // Lanes: grid, zero line and level scale.
  QFont levelFont = ScaleQFont(FScaleY->Font());
  const QFontMetrics levelMetrics(levelFont);
  p.setFont(levelFont);
  const auto laneTop = [&](int c) { return wave.Top + int(int64_t(H) * c / channels); };
  for (int c = 0; c < channels; ++c) {
    const int top = laneTop(c), bottom = laneTop(c + 1), mid = (top + bottom) / 2;
    const int half = std::max(1, (bottom - top) / 2 - 1);
    if (c > 0) p.fillRect(levelScale.Left, top, wave.Right - levelScale.Left, 1, QColor(gridColor));
    p.fillRect(wave.Left, mid - half / 2, W, 1, QColor(gridColor));
    p.fillRect(wave.Left, mid + half / 2, W, 1, QColor(gridColor));
    p.fillRect(wave.Left, mid, W, 1, QColor(zeroColor));
    p.setPen(QColor(Rgb(TColor(FScaleY->Font().Color))));
    const bool roomy = bottom - top >= 4 * levelMetrics.height();
    const std::pair<int, const char*> labels[] = {
        {mid - half / 2, "50"}, {mid, "0"}, {mid + half / 2, "-50"}};
    for (auto [y, text] : labels) {
      if (!roomy && y != mid) continue;
      const QString t = QString::fromLatin1(text);
      p.drawText(levelScale.Right - 3 - levelMetrics.horizontalAdvance(t),
                 y + levelMetrics.ascent() / 2 - 1, t);
    }
  }
  p.end();

  // The waveform itself, written straight into the image.
  if (viewWidth > 0 && W > 0 && !seq.Empty()) {
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto span = [&](int x, int y0, int y1, QRgb c) {
      if (y0 > y1) std::swap(y0, y1);
      for (int y = y0; y <= y1; ++y) reinterpret_cast<QRgb*>(bits + y * stride)[x] = c;
    };
    if (viewWidth >= W) {
      // One column covers whole frames: the min/max summary of its range. Edges fall on
      // summary points where the columns are wide enough, so whole points are read.
      const bool align = viewWidth / W >= 2 * kSummaryFrames;
      std::vector<int64_t> edges(size_t(W) + 1);
      for (int x = 0; x <= W; ++x) {
        int64_t f = vs + int64_t((__int128)viewWidth * x / W);
        if (align) f = f / kSummaryFrames * kSummaryFrames;
        edges[size_t(x)] = std::clamp<int64_t>(f, vs, ve);
      }
      edges[0] = vs;
      edges[size_t(W)] = ve;
      for (int c = 0; c < channels; ++c) {
        const int top = laneTop(c), bottom = laneTop(c + 1) - 1,
                  mid = (laneTop(c) + laneTop(c + 1)) / 2;
        const double half = std::max(1, (laneTop(c + 1) - top) / 2 - 1);
        int prevLo = mid, prevHi = mid;
        for (int x = 0; x < W; ++x) {
          const int64_t f0 = edges[size_t(x)], f1 = std::max(edges[size_t(x) + 1], f0 + 1);
          const SummaryValue v = seq.Summary(c, f0, f1);
          int yHi = mid - int(std::lround(std::clamp(v.Max, -1.f, 1.f) * half));
          int yLo = mid - int(std::lround(std::clamp(v.Min, -1.f, 1.f) * half));
          yHi = std::clamp(yHi, top, bottom);
          yLo = std::clamp(yLo, top, bottom);
          // Join the previous column so that a steep wave stays one line.
          int y0 = yHi, y1 = yLo;
          if (x > 0) y0 = std::min(y0, prevLo), y1 = std::max(y1, prevHi);
          const int px = wave.Left + x;
          span(px, y0, y1, selActive && px >= selX0 && px < selX1 ? selWave : waveColor);
          prevHi = yHi;
          prevLo = yLo;
        }
      }
    } else {
      // Fewer frames than columns: a line through the samples.
      const int64_t first = std::max<int64_t>(vs - 1, 0);
      const int64_t last = std::min<int64_t>(ve + 1, seq.Length());
      std::vector<float> values(size_t(last - first) * size_t(seq.Channels()));
      seq.Read(first, last - first, values.data());
      QPainter lp(&image);
      lp.setClipRect(wave.Left, wave.Top, W, H);
      for (int c = 0; c < channels && c < seq.Channels(); ++c) {
        const int top = laneTop(c), mid = (laneTop(c) + laneTop(c + 1)) / 2;
        const double half = std::max(1, (laneTop(c + 1) - top) / 2 - 1);
        QPoint prev;
        for (int64_t f = first; f < last; ++f) {
          const float v =
              std::clamp(values[size_t(f - first) * size_t(seq.Channels()) + size_t(c)], -1.f, 1.f);
          // A frame is drawn at the middle of its width.
          const int x = wave.Left + int(std::floor((double(f - vs) + 0.5) * W / double(viewWidth)));
          const QPoint pt(x, mid - int(std::lround(v * half)));
          const bool inSel = selActive && x >= selX0 && x < selX1;
          lp.setPen(QColor(inSel ? selWave : waveColor));
          if (f > first) lp.drawLine(prev, pt);
          if (W / viewWidth >= 4)
            lp.fillRect(pt.x() - 1, pt.y() - 1, 3, 3, QColor(inSel ? selWave : waveColor));
          prev = pt;
        }
      }
    }
  }

  QPainter q(&image);
  q.setClipRect(0, 0, image.width(), image.height());
  // Markers: a line through the lanes and a flag with the name in the band.
  q.setFont(timeFont);
  FMarkerFlags.clear();
  for (int i = 1; i <= FDoc.MarkerCount() && !loading; ++i) {
    int64_t start = FDoc.MarkerPositionAt(i), length = FDoc.MarkerLengthAt(i);
    if (FDrag == TDrag::Marker && FDragMoved && FDragMarker.Index == i)
      start = FDragStart, length = FDragEnd - FDragStart;
    const bool region = length > 0;
    const QColor mc(Rgb(region ? kRegionColor : kBookmarkColor));
    const int x0 = xOf(start), x1 = xOf(start + length);
    if (x1 < wave.Left - 200 || x0 > wave.Right) continue;
    const QString name = QString::fromStdString(FDoc.MarkerNameAt(i));
    q.setClipRect(wave.Left, band.Top, W, wave.Bottom - band.Top);
    QRect flag;
    if (region) {
      flag = QRect(x0, band.Top + 1, std::max(1, x1 - x0), band.Height() - 2);
      q.fillRect(flag, mc);
      for (int x : {x0, x1 - 1}) q.fillRect(x, band.Top, 1, wave.Bottom - band.Top, mc);
    } else {
      flag = QRect(x0, band.Top + 1, timeMetrics.horizontalAdvance(name) + 6, band.Height() - 2);
      q.fillRect(flag, mc);
      q.fillRect(x0, band.Top, 1, wave.Bottom - band.Top, mc);
    }
    q.setPen(QColor(Rgb(kMarkerTextColor)));
    q.setClipRect(flag.intersected(QRect(wave.Left, band.Top, W, band.Height())));
    q.drawText(flag.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name);
    FMarkerFlags.push_back(
        {i, TRect{flag.left(), flag.top(), flag.right() + 1, flag.bottom() + 1}});
  }
  q.setClipRect(wave.Left, wave.Top, W, H);
  if (!loading) {
    const int64_t cursor = FDoc.Cursor();
    if (cursor >= vs && cursor <= ve)
      q.fillRect(std::min(xOf(cursor), wave.Right - 1), wave.Top, 1, H, QColor(cursorColor));
    if (FPlayPosition >= vs && FPlayPosition <= ve)
      q.fillRect(std::min(xOf(FPlayPosition), wave.Right - 1), wave.Top, 1, H, QColor(playColor));
  }
  q.setClipping(false);
  if (FTypeBorder) {
    q.setPen(QColor(borderColor));
    q.drawRect(0, 0, image.width() - 1, image.height() - 1);
  }
}

// ---- mouse --------------------------------------------------------------------------------

int16_t TAudioEditor2::ShiftBits(TShiftState Shift) const {
  return int16_t((Shift.Contains(ssShift) ? 1 : 0) | (Shift.Contains(ssCtrl) ? 2 : 0) |
                 (Shift.Contains(ssAlt) ? 4 : 0));
}

TAudioEditor2::TMarkerHit TAudioEditor2::MarkerAt(int x, int y) const {
  const TRect band = MarkerBandRect();
  if (y < band.Top || y >= band.Bottom || x < band.Left || x >= band.Right) return {};
  // Grips (bookmarks and region edges) come before region bodies; the newest marker wins.
  for (int i = FDoc.MarkerCount(); i >= 1; --i) {
    const int64_t start = FDoc.MarkerPositionAt(i), length = FDoc.MarkerLengthAt(i);
    const int x0 = XOfFrame(start);
    if (length == 0) {
      bool onFlag = std::abs(x - x0) <= kGripPixels;
      for (const auto& [index, r] : FMarkerFlags)
        if (index == i && x >= r.Left && x < r.Right) onFlag = true;
      if (onFlag) return {TMarkerGrip::Bookmark, i};
      continue;
    }
    const int x1 = XOfFrame(start + length);
    if (std::abs(x - x1) <= kGripPixels && x > (x0 + x1) / 2) return {TMarkerGrip::RegionEnd, i};
    if (std::abs(x - x0) <= kGripPixels) return {TMarkerGrip::RegionStart, i};
    if (std::abs(x - x1) <= kGripPixels) return {TMarkerGrip::RegionEnd, i};
  }
  for (int i = FDoc.MarkerCount(); i >= 1; --i) {
    const int64_t start = FDoc.MarkerPositionAt(i), length = FDoc.MarkerLengthAt(i);
    if (length > 0 && x > XOfFrame(start) && x < XOfFrame(start + length))
      return {TMarkerGrip::RegionBody, i};
  }
  return {};
}

void TAudioEditor2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const int16_t code = Button == mbLeft ? 1 : Button == mbRight ? 2 : 4;
  if (OnMouseDown) OnMouseDown(this, code, ShiftBits(Shift), X, Y);
  // The second press of a double click leaves what the double click made alone.
  if (Button != mbLeft || Shift.Contains(ssDouble) || FDoc.Loading()) return;
  const TPoint pt(X, Y);
  if (PtInRect(TimeScaleRect(), pt)) {
    if (OnScaleXClick) OnScaleXClick(this);
    return;
  }
  if (PtInRect(LevelScaleRect(), pt)) {
    if (OnScaleYClick) OnScaleYClick(this);
    return;
  }
  FPressX = X;
  FDragMoved = false;
  const TMarkerHit hit = MarkerAt(X, Y);
  if (hit.Grip != TMarkerGrip::None) {
    FDrag = TDrag::Marker;
    FDragMarker = hit;
    FDragStart = FDoc.MarkerPositionAt(hit.Index);
    FDragEnd = FDragStart + FDoc.MarkerLengthAt(hit.Index);
    return;
  }
  if (!PtInRect(WaveRect(), pt) && !PtInRect(MarkerBandRect(), pt)) return;
  const int64_t frame = FrameAtX(X);
  FDrag = TDrag::Select;
  if (Shift.Contains(ssShift)) {
    if (FDoc.SelectionActive())
      FAnchor = std::abs(frame - FDoc.SelectionStart()) > std::abs(frame - FDoc.SelectionEnd())
                    ? FDoc.SelectionStart()
                    : FDoc.SelectionEnd();
    else
      FAnchor = FDoc.Cursor();
    FDragMoved = true;
    FDoc.Select(FAnchor, frame);
    return;
  }
  FAnchor = frame;
  FDoc.SetSelectionActive(false);
  FDoc.SetCursor(frame);
}

void TAudioEditor2::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, ShiftBits(Shift), X, Y);
  if (FDrag == TDrag::None) {
    // The pointer tells what a press would do: move a marker, select a region, or select.
    const TMarkerGrip grip = MarkerAt(X, Y).Grip;
    const TCursor shape = grip == TMarkerGrip::RegionBody ? crHandPoint
                          : grip != TMarkerGrip::None     ? crSizeWE
                                                          : crDefault;
    if (Cursor() != shape) SetCursor(shape);
    return;
  }
  if (!FDragMoved && std::abs(X - FPressX) < kDragThreshold) return;
  FDragMoved = true;
  const int64_t frame = FrameAtX(X);
  if (FDrag == TDrag::Select) {
    FDoc.Select(FAnchor, frame);
    return;
  }
  const int64_t start = FDoc.MarkerPositionAt(FDragMarker.Index);
  const int64_t end = start + FDoc.MarkerLengthAt(FDragMarker.Index);
  switch (FDragMarker.Grip) {
    case TMarkerGrip::Bookmark:
      FDragStart = FDragEnd = frame;
      break;
    case TMarkerGrip::RegionStart:
      FDragStart = std::min(frame, end), FDragEnd = end;
      break;
    case TMarkerGrip::RegionEnd:
      FDragStart = start, FDragEnd = std::max(frame, start);
      break;
    default:
      FDragMoved = false;
      return;  // a region's body only clicks
  }
  Invalidate();
}

void TAudioEditor2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const int16_t code = Button == mbLeft ? 1 : Button == mbRight ? 2 : 4;
  if (OnMouseUp) OnMouseUp(this, code, ShiftBits(Shift), X, Y);
  if (Button != mbLeft) return;
  const TDrag drag = FDrag;
  FDrag = TDrag::None;
  if (drag != TDrag::Marker) return;
  const int index = FDragMarker.Index;
  if (FDragMoved) {
    FDoc.MoveMarker(index, FDragStart, FDragEnd - FDragStart);
    Invalidate();
    return;
  }
  const int64_t start = FDoc.MarkerPositionAt(index), length = FDoc.MarkerLengthAt(index);
  if (length > 0) {
    FDoc.Select(start, start + length);
  } else {
    FDoc.SetSelectionActive(false);
    FDoc.SetCursor(start);
  }
  if (OnMarkerClick) OnMarkerClick(this, index);
}

bool TAudioEditor2::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const int64_t vs = FDoc.ViewStart(), ve = FDoc.ViewEnd(), width = ve - vs;
  if (width <= 0 || WheelDelta == 0) return true;
  const double notches = WheelDelta / 120.0;
  if (Shift.Contains(ssShift)) {
    // Scroll by an eighth of the view per notch, towards the start for a forward turn.
    int64_t start = vs - int64_t(std::lround(notches * double(width) / 8));
    start = std::clamp<int64_t>(start, 0, std::max<int64_t>(FDoc.Length() - width, 0));
    ApplyView(start, start + width);
    return true;
  }
  // Zoom around the frame under the mouse: forward zooms in.
  const TPoint local = ScreenToClient(MousePos);
  const TRect wave = WaveRect();
  const int64_t focus = FrameAtX(std::clamp<int>(local.X, wave.Left, wave.Right));
  const double factor = std::pow(0.8, notches);
  const double newWidth = std::max(1.0, double(width) * factor);
  const int64_t start = int64_t(std::lround(double(focus) - double(focus - vs) * factor));
  ZoomToRange(int(std::max<int64_t>(start, 0)),
              int(std::min<int64_t>(start + int64_t(newWidth), FDoc.Length())));
  return true;
}

// ---- registration -------------------------------------------------------------------------

void RegisterAudioEditor2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterClass<TAudioEditor2, TCustomControl>("TAudioEditor2");
    Published<TAudioEditor2>()
        .Property("TypeBorder", &TAudioEditor2::TypeBorder, &TAudioEditor2::SetTypeBorder)
        .Property("OnMouseDown", &TAudioEditor2::OnMouseDown)
        .Property("OnMouseUp", &TAudioEditor2::OnMouseUp)
        .Property("OnMouseMove", &TAudioEditor2::OnMouseMove)
        .Property("OnMeter", &TAudioEditor2::OnMeter)
        .Property("OnBlockOperation", &TAudioEditor2::OnBlockOperation)
        .Property("OnChangePosition", &TAudioEditor2::OnChangePosition)
        .Property("OnEndPlay", &TAudioEditor2::OnEndPlay)
        .Property("OnChangePlayPosition", &TAudioEditor2::OnChangePlayPosition)
        .Property("OnEndOperation", &TAudioEditor2::OnEndOperation)
        .Property("OnMarkerClick", &TAudioEditor2::OnMarkerClick)
        .Property("OnNewMarker", &TAudioEditor2::OnNewMarker)
        .Property("OnGainChange", &TAudioEditor2::OnGainChange)
        .Property("OnScaleXClick", &TAudioEditor2::OnScaleXClick)
        .Property("OnScaleYClick", &TAudioEditor2::OnScaleYClick)
        .Property("OnChangeMarker", &TAudioEditor2::OnChangeMarker);
  });
}

// Redrawing the waveform editor's whole view (1000 x 300 pixels) of a one-hour 44.1 kHz stereo
// document at zoom levels from the whole hour down to a few milliseconds (samples drawn). The
// document is ten seconds of a two-tone signal pasted after itself until it lasts an hour, so
// its blocks are shared and it needs little memory; drawing reads their summaries as it would
// for any hour-long document.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>

#include "BenchCommon.h"
#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"

namespace {

constexpr int kRate = 44100;

// Made on first use and torn down before the process exits, editor first: left to the exit, they
// would be destroyed after parts of the platform layer they still use.
TAudioEditor2& HourEditor() {
  static TAudioEditor2* editor = nullptr;
  if (editor) return *editor;
  BenchEnsureApplication();
  editor = new TAudioEditor2(nullptr);
  BenchAtEnd([] {
    delete editor;
    editor = nullptr;
  });
  editor->SetBounds(0, 0, 1000 + 60, 300 + 40);
  editor->NewDocument(kRate, 2);
  SampleBuffer tone(2, kRate, 10 * kRate);
  for (int64_t f = 0; f < tone.Frames(); ++f) {
    const double t = double(f) / kRate;
    tone.At(f, 0) = float(0.4 * std::sin(2 * M_PI * 440 * t) * std::sin(2 * M_PI * 0.3 * t));
    tone.At(f, 1) = float(0.3 * std::sin(2 * M_PI * 660 * t));
  }
  editor->InsertPcm(tone);
  AudioDocument& doc = editor->Document();
  while (doc.Length() < int64_t(3600) * kRate) {
    const int64_t missing = int64_t(3600) * kRate - doc.Length();
    doc.Select(0, std::min(doc.Length(), missing));
    doc.Copy();
    doc.SetSelectionActive(false);
    doc.SetCursor(doc.Length());
    doc.Paste();
  }
  doc.Select(int64_t(600) * kRate, int64_t(1800) * kRate);
  doc.AddMarker(int64_t(900) * kRate, 0, "Bookmark", "Bookmark");
  doc.AddMarker(int64_t(1200) * kRate, int64_t(60) * kRate, "Region", "Region");
  return *editor;
}

// Argument: the view's width in milliseconds, centred in the document.
void BM_EditorRedraw(benchmark::State& state) {
  TAudioEditor2& ed = HourEditor();
  const int64_t width = std::max<int64_t>(1, state.range(0) * kRate / 1000);
  const int64_t start = ed.Document().Length() / 2 - width / 2;
  ed.ZoomToRange(int(start), int(start + width));
  QImage image(ed.ClientWidth(), ed.ClientHeight(), QImage::Format_RGB32);
  for (auto _ : state) {
    ed.Render(image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["frames_per_pixel"] = double(width) / ed.WaveRect().Width();
}
BENCHMARK(BM_EditorRedraw)
    ->Arg(3600000)
    ->Arg(600000)
    ->Arg(60000)
    ->Arg(1000)
    ->Arg(100)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace

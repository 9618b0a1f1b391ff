#include <gtest/gtest.h>

#include <functional>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"

using namespace audiotest;

namespace {
struct Sel {
  int64_t start, end, cursor;
  bool active;
  bool operator==(const Sel&) const = default;
};
Sel Of(const AudioDocument& d) {
  return {d.SelectionStart(), d.SelectionEnd(), d.Cursor(), d.SelectionActive()};
}
std::ostream& operator<<(std::ostream& os, const Sel& s) {
  return os << "(" << s.start << "," << s.end << " cursor " << s.cursor
            << (s.active ? " active)" : ")");
}
}  // namespace

TEST(AudioDocument, CursorAndSelectionPuts) {
  AudioDocument doc;
  Fill(doc, 1000);
  using Put = std::function<void(AudioDocument&)>;
  struct Step {
    const char* what;
    Put put;
    Sel expected;
  };
  const Step steps[] = {
      {"cursor alone", [](auto& d) { d.SetCursor(300); }, {300, 300, 300, false}},
      {"activate: empty at the cursor",
       [](auto& d) { d.SetSelectionActive(true); },
       {300, 300, 300, true}},
      {"start moves the cursor", [](auto& d) { d.SetSelectionStart(100); }, {100, 300, 100, true}},
      {"end", [](auto& d) { d.SetSelectionEnd(400); }, {100, 400, 100, true}},
      {"cursor leaves the selection", [](auto& d) { d.SetCursor(700); }, {100, 400, 700, true}},
      {"start past the end drags it",
       [](auto& d) { d.SetSelectionStart(500); },
       {500, 500, 500, true}},
      {"then end: range asked", [](auto& d) { d.SetSelectionEnd(800); }, {500, 800, 500, true}},
      {"start then end below",
       [](auto& d) {
         d.SetSelectionStart(100);
         d.SetSelectionEnd(200);
       },
       {100, 200, 100, true}},
      {"end before start drags it", [](auto& d) { d.SetSelectionEnd(50); }, {50, 50, 100, true}},
      {"clipped to the document",
       [](auto& d) {
         d.SetSelectionStart(-5);
         d.SetSelectionEnd(5000);
       },
       {0, 1000, 0, true}},
      {"drop the selection",
       [](auto& d) {
         d.SetCursor(250);
         d.SetSelectionActive(false);
       },
       {250, 250, 250, false}},
      {"mouse selection backwards", [](auto& d) { d.Select(900, 600); }, {600, 900, 600, true}},
      {"cursor clipped",
       [](auto& d) {
         d.SetSelectionActive(false);
         d.SetCursor(99999);
       },
       {1000, 1000, 1000, false}},
  };
  for (const Step& s : steps) {
    s.put(doc);
    EXPECT_EQ(Of(doc), s.expected) << s.what;
  }
}

TEST(AudioDocument, EditsPlaceCursorAndSelection) {
  struct Case {
    const char* what;
    std::function<void(AudioDocument&)> edit;
    int64_t length;
    Sel after;
    std::vector<float> head;  // first left values from frame 98
  };
  const Case cases[] = {
      {"delete leaves the cursor at the old start",
       [](auto& d) {
         d.Select(100, 150);
         d.DeleteSelection();
       },
       950,
       {100, 100, 100, false},
       {98, 99, 150, 151}},
      {"insert at the cursor, cursor at the insertion point",
       [](auto& d) {
         d.SetCursor(100);
         d.InsertPcm(Ramp(2, 2, 44100, 5000));
       },
       1002,
       {100, 100, 100, false},
       {98, 99, 5000, 5001, 100}},
      {"paste over the selection selects the pasted frames",
       [](auto& d) {
         d.Select(0, 3);
         d.Copy();
         d.Select(100, 110);
         d.Paste();
       },
       993,
       {100, 103, 100, true},
       {98, 99, 0, 1, 2, 110}},
      {"paste without a selection inserts at the cursor",
       [](auto& d) {
         d.Select(0, 2);
         d.Copy();
         d.SetSelectionActive(false);
         d.SetCursor(100);
         d.Paste();
       },
       1002,
       {100, 102, 100, true},
       {98, 99, 0, 1, 100}},
      {"cut",
       [](auto& d) {
         d.Select(100, 200);
         d.Cut();
       },
       900,
       {100, 100, 100, false},
       {98, 99, 200}},
      {"empty selection deletes nothing",
       [](auto& d) {
         d.Select(100, 100);
         d.DeleteSelection();
       },
       1000,
       {100, 100, 100, true},
       {98, 99, 100}},
  };
  for (const Case& c : cases) {
    AudioDocument doc;
    Fill(doc, 1000);
    c.edit(doc);
    EXPECT_EQ(doc.Length(), c.length) << c.what;
    EXPECT_EQ(Of(doc), c.after) << c.what;
    std::vector<float> head = Left(Contents(doc).Slice(98, int64_t(c.head.size())));
    EXPECT_EQ(head, c.head) << c.what;
  }
}

TEST(AudioDocument, CopyPcmFromSelectionStartNeverRaises) {
  AudioDocument doc;
  Fill(doc, 100, 2);
  struct Case {
    int64_t start, count, frames;
  };
  for (const Case& c : {Case{10, 5, 5}, Case{90, 50, 10}, Case{100, 10, 0}, Case{0, -3, 0}}) {
    doc.Select(c.start, c.start);
    SampleBuffer b = doc.CopyPcm(c.count);
    EXPECT_EQ(b.Frames(), c.frames) << c.start << "+" << c.count;
    EXPECT_EQ(b.Channels(), 2);
    EXPECT_EQ(b.SampleRate(), 44100);
    if (c.frames) EXPECT_EQ(b.At(0, 1), float(c.start) + 0.25f);
  }
}

TEST(AudioDocument, UndoRedoAndGroups) {
  AudioDocument doc;
  Fill(doc, 1000);  // step 1
  doc.Select(0, 100);
  doc.DeleteSelection();  // step 2
  EXPECT_EQ(doc.Length(), 900);
  doc.Undo();
  EXPECT_EQ(doc.Length(), 1000);
  EXPECT_EQ(Of(doc), (Sel{0, 100, 0, true}));  // the selection before the edit
  doc.Redo();
  EXPECT_EQ(doc.Length(), 900);
  EXPECT_FALSE(doc.CanRedo());

  // A repeat loop: three inserts in a group undo as one step.
  doc.BeginGroup();
  for (int i = 0; i < 3; ++i) {
    doc.SetCursor(doc.Length());
    doc.InsertPcm(Ramp(10));
  }
  doc.EndGroup();
  EXPECT_EQ(doc.Length(), 930);
  doc.Undo();
  EXPECT_EQ(doc.Length(), 900);
  doc.Redo();
  EXPECT_EQ(doc.Length(), 930);

  // Undo inside an open (nested) group closes it first, then undoes it whole.
  doc.BeginGroup();
  doc.BeginGroup();
  doc.InsertPcm(Ramp(5));
  doc.EndGroup();
  doc.InsertPcm(Ramp(5));
  doc.Undo();
  EXPECT_EQ(doc.Length(), 930);
  EXPECT_TRUE(doc.CanRedo());
  // The group is closed: the next two edits are two steps.
  doc.InsertPcm(Ramp(1));
  doc.InsertPcm(Ramp(1));
  EXPECT_FALSE(doc.CanRedo());
  doc.Undo();
  EXPECT_EQ(doc.Length(), 931);
  doc.EndGroup();  // unmatched: harmless

  // An empty group records nothing.
  doc.Undo();
  doc.Undo();
  doc.Undo();
  doc.Undo();
  EXPECT_EQ(doc.Length(), 0);
  EXPECT_FALSE(doc.CanUndo());
  doc.BeginGroup();
  doc.EndGroup();
  EXPECT_FALSE(doc.CanUndo());
}

TEST(AudioDocument, MarkersFollowEditsUndoRedoAndConversion) {
  AudioDocument doc;
  Fill(doc, 1000);
  std::vector<int> events;
  doc.OnChangeMarker = [&](int num) {
    events.push_back(num);
    doc.SetCurrentMarkerIndex(num);  // as the main window's handler does, inside the edit
  };
  doc.AddMarker(100, 0, "a", "Bookmark");
  doc.AddMarker(200, 100, "b", "Region");
  doc.AddMarker(900, 0, "c", "Bookmark");
  EXPECT_TRUE(events.empty());
  auto places = [&] {
    std::vector<std::pair<int64_t, int64_t>> v;
    for (int i = 1; i <= doc.MarkerCount(); ++i) {
      doc.SetCurrentMarkerIndex(i);
      v.push_back({doc.MarkerPosition(), doc.MarkerLength()});
    }
    return v;
  };
  using P = std::vector<std::pair<int64_t, int64_t>>;

  doc.Select(150, 250);
  doc.DeleteSelection();
  EXPECT_EQ(places(), (P{{100, 0}, {150, 50}, {800, 0}}));
  EXPECT_EQ(events, (std::vector<int>{2, 3}));

  events.clear();
  doc.AddMarker(700, 0, "d", "Bookmark");  // added after the edit
  doc.Undo();
  EXPECT_EQ(places(), (P{{100, 0}, {200, 100}, {900, 0}, {800, 0}}));
  EXPECT_EQ(events, (std::vector<int>{2, 3, 4}));

  events.clear();
  doc.Redo();
  EXPECT_EQ(places(), (P{{100, 0}, {150, 50}, {800, 0}, {700, 0}}));
  EXPECT_EQ(events, (std::vector<int>{2, 3, 4}));

  // Deleting lowers the later indexes; undo neither adds nor removes markers.
  doc.SetCurrentMarkerIndex(2);
  doc.DeleteCurrentMarker();
  doc.SetCurrentMarkerIndex(2);
  EXPECT_EQ(doc.MarkerName(), "c");
  EXPECT_EQ(doc.MarkerKind(), "Bookmark");
  doc.Undo();
  EXPECT_EQ(doc.MarkerCount(), 3);
  EXPECT_EQ(places(), (P{{100, 0}, {900, 0}, {800, 0}}));

  events.clear();
  doc.ConvertFormat(22050, 2);
  EXPECT_EQ(doc.Length(), 500);
  EXPECT_EQ(places(), (P{{50, 0}, {450, 0}, {400, 0}}));
  EXPECT_EQ(events, (std::vector<int>{1, 2, 3}));
  doc.Undo();
  EXPECT_EQ(doc.SampleRate(), 44100);
  EXPECT_EQ(places(), (P{{100, 0}, {900, 0}, {800, 0}}));

  doc.SetCurrentMarkerIndex(9);
  EXPECT_EQ(doc.MarkerPosition(), -1);
  doc.DeleteCurrentMarker();
  EXPECT_EQ(doc.MarkerCount(), 3);
}

TEST(AudioDocument, ClipboardIsSharedAcrossEditorsAndFormats) {
  AudioDocument a, b;
  a.NewDocument(44100, 2);
  a.InsertPcm(Constant(44100, {0.5f, 0.25f}));
  b.NewDocument(22050, 1);
  a.Select(0, 4410);
  a.Copy();
  EXPECT_TRUE(AudioDocument::ClipboardFilled());
  b.Paste();
  EXPECT_EQ(b.Length(), 2205);
  EXPECT_EQ(b.Channels(), 1);
  SampleBuffer got = Contents(b);
  EXPECT_NEAR(got.At(1000, 0), 0.375f, 1e-3);  // both channels averaged
  // Back into a stereo document at another rate.
  AudioDocument c;
  c.NewDocument(48000, 2);
  b.Select(0, 2205);
  b.Cut();
  EXPECT_EQ(b.Length(), 0);
  c.Paste();
  EXPECT_EQ(c.Length(), 4800);
  got = Contents(c);
  EXPECT_NEAR(got.At(2400, 0), 0.375f, 1e-3);
  EXPECT_NEAR(got.At(2400, 1), 0.375f, 1e-3);
}

TEST(AudioDocument, MixLengths) {
  struct Case {
    const char* what;
    int64_t selStart, selEnd;  // selEnd < 0: no selection, cursor at selStart
    int64_t clip;
    int64_t length;
    Sel after;
  };
  const Case cases[] = {
      {"clip shorter than the selection", 100, 300, 50, 1000, {100, 300, 100, true}},
      {"clip longer: runs on and grows the document", 100, 200, 250, 1150, {100, 350, 100, true}},
      {"no selection: mixed in at the cursor", 500, -1, 40, 1040, {500, 540, 500, true}},
  };
  for (const Case& c : cases) {
    AudioDocument source;
    source.NewDocument(44100, 2);
    source.InsertPcm(Constant(c.clip, {0.25f, 0.25f}));
    source.Select(0, c.clip);
    source.Copy();

    AudioDocument doc;
    doc.NewDocument(44100, 2);
    doc.InsertPcm(Constant(1000, {0.5f, 0.5f}));
    if (c.selEnd >= 0)
      doc.Select(c.selStart, c.selEnd);
    else
      doc.SetCursor(c.selStart);
    doc.PasteMix(50, 100);
    EXPECT_EQ(doc.Length(), c.length) << c.what;
    EXPECT_EQ(Of(doc), c.after) << c.what;
    const SampleBuffer got = Contents(doc);
    const int64_t s = c.selStart, selLen = c.selEnd >= 0 ? c.selEnd - c.selStart : 0;
    const int64_t grow = std::max<int64_t>(0, c.clip - selLen);
    for (int64_t f : {s - 1, s, s + std::min(selLen, c.clip) - 1, s + c.clip - 1, s + c.clip,
                      s + std::max(selLen, c.clip)}) {
      if (f < 0 || f >= got.Frames()) continue;
      const int64_t k = f - s;
      float expected = 0.5f;  // outside the mix
      if (k >= 0 && k < std::max(selLen, c.clip))
        expected = (k < selLen ? 0.25f : 0.0f) + (k < c.clip ? 0.25f : 0.0f);
      EXPECT_FLOAT_EQ(got.At(f, 1), expected) << c.what << " frame " << f;
    }
    EXPECT_EQ(doc.Length(), 1000 + grow);
    doc.Undo();
    EXPECT_EQ(doc.Length(), 1000) << c.what;
  }
}

TEST(AudioDocument, ConversionLengthsAndQuality) {
  struct Case {
    int fromRate, fromChannels;
    int64_t frames;
    int toRate, toChannels;
    int64_t length;
  };
  const Case cases[] = {
      {44100, 2, 44100, 48000, 2, 48000}, {44100, 2, 1000, 22050, 1, 500},
      {8000, 1, 1, 44100, 2, 6},          {48000, 1, 4801, 44100, 1, 4411},
      {44100, 2, 0, 8000, 1, 0},          {96000, 2, 12345, 96000, 1, 12345},
  };
  for (const Case& c : cases) {
    AudioDocument doc;
    doc.NewDocument(c.fromRate, c.fromChannels);
    if (c.frames) doc.InsertPcm(Sine(c.frames, 1000, c.fromRate, c.fromChannels, 0.5));
    doc.Select(c.frames / 4, c.frames / 2);
    doc.ConvertFormat(c.toRate, c.toChannels);
    EXPECT_EQ(doc.Length(), c.length) << c.fromRate << "->" << c.toRate;
    EXPECT_EQ(doc.SampleRate(), c.toRate);
    EXPECT_EQ(doc.Channels(), c.toChannels);
    EXPECT_EQ(doc.SelectionStart(), (c.frames / 4 * c.toRate + c.fromRate / 2) / c.fromRate);
  }
  // The tone keeps its level and pitch: 1 kHz over one second crosses zero 2000 times.
  AudioDocument doc;
  doc.NewDocument(44100, 1);
  doc.InsertPcm(Sine(44100, 1000, 44100, 1, 0.5));
  doc.ConvertFormat(48000, 1);
  const SampleBuffer got = Contents(doc);
  int crossings = 0;
  double sum = 0;
  for (int64_t f = 1000; f < 47000; ++f) {
    crossings += (got.At(f - 1, 0) < 0) != (got.At(f, 0) < 0);
    sum += double(got.At(f, 0)) * got.At(f, 0);
  }
  EXPECT_NEAR(crossings, 2000 * 46000.0 / 48000, 3);
  EXPECT_NEAR(std::sqrt(sum / 46000), 0.5 / std::sqrt(2.0), 0.005);
}

TEST(AudioDocument, PositionEventsAreSynchronousAndOnlyOnChange) {
  AudioDocument doc;
  Fill(doc, 1000);
  int fired = 0;
  Sel seen{};
  doc.OnChangePosition = [&] {
    ++fired;
    seen = Of(doc);
  };
  struct Case {
    std::function<void(AudioDocument&)> call;
    int events;
  };
  const Case cases[] = {
      {[](auto& d) { d.SetCursor(10); }, 1},     {[](auto& d) { d.SetCursor(10); }, 0},
      {[](auto& d) { d.Select(10, 20); }, 1},    {[](auto& d) { d.SetSelectionEnd(20); }, 0},
      {[](auto& d) { d.DeleteSelection(); }, 1}, {[](auto& d) { d.ZoomToRange(0, 500); }, 1},
      {[](auto& d) { d.ZoomFull(); }, 1},        {[](auto& d) { d.Copy(); }, 0},
  };
  for (const Case& c : cases) {
    fired = 0;
    c.call(doc);
    EXPECT_EQ(fired, c.events);
    if (fired) EXPECT_EQ(seen, Of(doc));  // the handler saw the new state
  }
}

TEST(AudioDocument, MsAndFramesIn64Bits) {
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  struct Case {
    int64_t ms, frames;
  };
  for (const Case& c : {Case{0, 0}, Case{1000, 44100}, Case{1, 44}, Case{48000000, 2116800000},
                        Case{-1000, -44100}}) {
    EXPECT_EQ(doc.MsToSamples(c.ms), c.frames) << c.ms;
    EXPECT_EQ(doc.SamplesToMs(c.frames), c.ms) << c.frames;
  }
  EXPECT_EQ(doc.SamplesToMs(22), 0);
  EXPECT_EQ(doc.SamplesToMs(23), 1);
}

TEST(AudioDocument, FileInfoAndFormatSettings) {
  AudioDocument doc;
  EXPECT_EQ(doc.FileFormat(), TOutputFormat());
  EXPECT_EQ(doc.FileFormat().WavSampleRate, 44100);
  EXPECT_EQ(doc.FileFormat().WmaProfile, 10);
  TLameEncoderSettings lame;
  lame.Preset = 3;
  doc.SetMp3EncoderFormat(lame);
  lame.Preset = 7;  // the editor kept its own copy
  EXPECT_EQ(doc.FileFormat().Mp3Encoder.Preset, 3);
  doc.SetMp3CbrFormat(44100, 192, 1);
  EXPECT_EQ(doc.FileFormat().Mp3Mode, TMp3Mode::Cbr);
  EXPECT_EQ(doc.FileFormat().Mp3Encoder.Preset, 3);
  EXPECT_THROW(doc.SetWavFormat(44100, 2, 12), EArgumentException);
  EXPECT_EQ(AudioDocument::GenreName(0), "Blues");
  EXPECT_EQ(AudioDocument::GenreName(147), "Synthpop");
  EXPECT_EQ(AudioDocument::GenreName(148), "");
}

TEST(AudioDocument, FormatsOutsideTheEditorsRangeAreRefusedAndChangeNothing) {
  struct Case {
    int rate, channels;
    const char* words;  // the message names the value and the range
  } cases[] = {{999, 2, "999 Hz: the editor handles 1000 to 768000 Hz"},
               {768001, 1, "768001 Hz"},
               {0, 1, "0 Hz"},
               {44100, 0, "count 0: the editor handles 1 to 32 channels"},
               {44100, 33, "count 33"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    AudioDocument doc;
    Fill(doc, 100, 2, 22050);
    for (int call = 0; call < 3; ++call) {
      try {
        if (call == 0) doc.NewDocument(c.rate, c.channels);
        if (call == 1) doc.ConvertFormat(c.rate, c.channels);
        if (call == 2) doc.SetWavFormat(c.rate, c.channels, 16);
        ADD_FAILURE() << "call " << call << " accepted the format";
      } catch (const EArgumentException& e) {
        EXPECT_NE(e.Message().find(c.words), std::string::npos) << e.Message();
      }
      EXPECT_EQ(doc.SampleRate(), 22050);
      EXPECT_EQ(doc.Channels(), 2);
      EXPECT_EQ(doc.Length(), 100);
    }
  }
}

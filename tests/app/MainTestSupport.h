#pragma once
// What the main window's tests share: a started program without its loop, sound files to open,
// and answers for the questions the program asks.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "audio/SampleBuffer.h"
#include "common/TestEnv.h"
#include "platform/win/QtWindows.h"

namespace maintest {

// The whole document, leaving its selection and cursor as they were.
inline SampleBuffer DocumentSamples(TChildForm* Doc) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd(), cursor = pos->Cursor();
  const bool active = pos->SelectionActive();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
  SampleBuffer all = Doc->AudioEditor->CopyPcm(pos->Length());
  pos->SetSelectionActive(active);
  pos->SetSelectionStart(start);
  pos->SetSelectionEnd(end);
  if (!active) pos->SetCursor(cursor);
  return all;
}

// Samples as the 16-bit integers they were recorded or written as.
inline std::vector<int> Integers(const SampleBuffer& B) {
  std::vector<int> v;
  v.reserve(B.Values().size());
  for (float f : B.Values()) v.push_back(int(std::lround(f * 32768.0f)));
  return v;
}

// A stereo or mono 16-bit WAV of a 440 Hz tone, in a fresh folder.
inline std::string WriteTone(const std::string& Name, int Rate, int Channels, int Frames) {
  const std::filesystem::path path = sonalix::test::MakeTempDir("wav") / Name;
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  const uint32_t data = uint32_t(Frames) * Channels * 2;
  f.write("RIFF", 4);
  u32(36 + data);
  f.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(uint16_t(Channels));
  u32(uint32_t(Rate));
  u32(uint32_t(Rate * Channels * 2));
  u16(uint16_t(Channels * 2));
  u16(16);
  f.write("data", 4);
  u32(data);
  for (int i = 0; i < Frames; ++i)
    for (int c = 0; c < Channels; ++c)
      u16(uint16_t(int16_t(12000 * std::sin(2 * M_PI * 440 * i / Rate))));
  return path.string();
}

// Answers message boxes with Answer and counts them.
struct TAnswers {
  int Answer;
  int Boxes = 0;
  std::string LastText;
  TModalHook Old;
  explicit TAnswers(int AAnswer) : Answer(AAnswer) {
    Old = SetModalHook([this](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      ++Boxes;
      LastText = r.Text;
      return Answer;
    });
  }
  ~TAnswers() { SetModalHook(Old); }
};

// A started program without its loop: the main window and the progress window, documents
// neither tiled nor played after opening.
struct TProgram {
  TProgram() {
    RegisterAppClasses();
    CreateForm(MainForm);
    CreateForm(FormProgress);
    Application->ProcessMessages();
    GlobalVars.OP_TileFormAfter = false;
    GlobalVars.OP_PlayAfterOpened = false;
    GlobalVars.OP_PromptNewFile = false;
  }
  ~TProgram() {
    delete FormProgress;
    FormProgress = nullptr;
    delete MainForm;
  }
  TMainForm* operator->() const { return MainForm; }
  TChildForm* Open(const std::string& Path) {
    MainForm->OpenAsDocument(Path);
    Application->ProcessMessages();
    return MainForm->ActiveDocument();
  }
  // The idle step the loop runs between messages.
  void Idle() const {
    Application->ProcessMessages();
    MainForm->UpdateActions();
  }
  bool Enabled(const std::string& Action) const {
    auto* a = dynamic_cast<TCustomAction*>(MainForm->FindComponent("Action" + Action));
    return a && a->Enabled();
  }
};

}  // namespace maintest

// Echo 200/70/40 and Normalize 100 as the user runs them, through the main window's command
// (offscreen, the dialog answered OK by the modal hook, the progress window showing), against
// the same effect called on the engine (AudioEditorEffects over an AudioDocument of the same
// file). The two take turns in every round; each round times the effect alone, on a document
// opened for it. The row reports the minimum and median of each side
// and their ratio (command / engine; the goal is 1.2 at most). The argument is the input's
// length in seconds (the engine benchmarks' two-tone WAV).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "audio/AudioDocument.h"
#include "audio/EditorEffects.h"
#include "platform/gui/ActnList.h"
#include "platform/win/QtWindows.h"

namespace fs = std::filesystem;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The main window and the progress window, made once, with their settings and data folders
// kept inside the bench folder.
TMainForm& Program() {
  static bool made = false;
  if (made) return *MainForm;
  made = true;
  const fs::path home = BenchFolder() / "main-window-home";
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
    fs::create_directories(home / name);
    setenv(name, (home / name).c_str(), 1);
  }
  BenchEnsureApplication();
  RegisterAppClasses();
  CreateForm(MainForm);
  CreateForm(FormProgress);
  Application->ProcessMessages();
  BenchAtEnd([] {
    SetModalHook(nullptr);
    for (TChildForm* doc : MainForm->Documents()) doc->Modified = false;
    delete FormProgress;
    FormProgress = nullptr;
    delete MainForm;
    MainForm = nullptr;
  });
  GlobalVars.OP_TileFormAfter = false;
  GlobalVars.OP_PlayAfterOpened = false;
  GlobalVars.OP_PlayAfterEdit = false;
  GlobalVars.OP_PromptNewFile = false;
  GlobalVars.DefEchoDelayTime = 200;
  GlobalVars.DefEchoMixDepth = 70;
  GlobalVars.DefEchoFeedbackGain = 40;
  GlobalVars.DefNormalize = 100;
  // Every effect dialog is answered OK, as a user who keeps the settings shown.
  SetModalHook([](const TModalRequest& r) {
    return r.Kind == TModalRequest::mrDialog ? int(mrOk) : 0;
  });
  return *MainForm;
}

struct TEffectCase {
  const char* Action;
  void (*Engine)(AudioEditorEffects&);
};

// The main window's document of Path, open and active; null when it did not open.
TChildForm* OpenInMainWindow(TMainForm& Main, const std::string& Path) {
  Main.OpenAsDocument(Path);
  Application->ProcessMessages();
  return Main.ActiveDocument();
}

void CloseAll(TMainForm& Main) {
  for (TChildForm* doc : Main.Documents()) {
    doc->Modified = false;
    doc->Close();
  }
  Application->ProcessMessages();
}

// Each side works on a document of its own opened for the round and closed after it, so that
// neither pays for the other's blocks in the shared memory budget.
void BM_CommandVsEngine(benchmark::State& state, TEffectCase Case) {
  const std::string input = BenchTwoToneWav(int(state.range(0)));
  TMainForm& main = Program();
  CloseAll(main);
  auto* action = dynamic_cast<TBasicAction*>(main.FindComponent(std::string("Action") + Case.Action));
  if (!action) {
    state.SkipWithError("no such command");
    return;
  }
  std::vector<double> ours, theirs;
  for (auto _ : state) {
    // The command: nothing selected, so it selects everything, as the engine side does below.
    TChildForm* doc = OpenInMainWindow(main, input);
    if (!doc) {
      state.SkipWithError("the main window did not open the input");
      return;
    }
    double t0 = BenchNow();
    action->Execute();
    Application->ProcessMessages();
    ours.push_back(BenchNow() - t0);
    CloseAll(main);

    {
      AudioDocument engine;
      engine.SetTempDirectory((BenchFolder() / "swap").string());
      engine.OpenFile(input);
      AudioEditorEffects effects(engine);
      engine.Select(0, engine.Length());
      t0 = BenchNow();
      Case.Engine(effects);
      theirs.push_back(BenchNow() - t0);
    }
  }
  state.counters["command_min_s"] = *std::min_element(ours.begin(), ours.end());
  state.counters["command_median_s"] = Median(ours);
  state.counters["engine_min_s"] = *std::min_element(theirs.begin(), theirs.end());
  state.counters["engine_median_s"] = Median(theirs);
  state.counters["ratio_min"] = state.counters["command_min_s"] / state.counters["engine_min_s"];
  state.counters["ratio_median"] = Median(ours) / Median(theirs);
}

BENCHMARK_CAPTURE(BM_CommandVsEngine, Echo, TEffectCase{"Echo", [](AudioEditorEffects& e) {
                    e.Echo(200, 70, 40);
                  }})
    ->Name("MainCommand/Echo_200_70_40")
    ->Arg(60)
    ->Arg(3600)
    ->Iterations(5)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

BENCHMARK_CAPTURE(BM_CommandVsEngine, Normalize, TEffectCase{"Normalize", [](AudioEditorEffects& e) {
                    e.Normalize(100, -1);
                  }})
    ->Name("MainCommand/Normalize_100")
    ->Arg(60)
    ->Arg(3600)
    ->Iterations(5)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

// The main window's command table and idle enabling, over real editor controls in the four
// states a user meets: no document, an empty one, one with sound and no selection, and one with
// a selection in a zoomed view.
#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "app/AppPictures.h"
#include "app/MainCommands.h"
#include "app/Program.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"

namespace {

SampleBuffer Tone(int frames) {
  SampleBuffer b(2, 8000, frames);
  for (int f = 0; f < frames; ++f) b.At(f, 0) = b.At(f, 1) = (f % 8 < 4) ? 0.5f : -0.5f;
  return b;
}

enum TFixture { fxNoDocument, fxEmpty, fxLength, fxSelectionZoomed };

// The editor of the active document (none for fxNoDocument) and what the frame knows besides.
struct TDocumentFixture {
  std::unique_ptr<TAudioEditor2> Editor;
  std::string FileName;
  int Windows = 0;
  bool Clipboard = false;

  explicit TDocumentFixture(TFixture Kind) {
    if (Kind == fxNoDocument) return;
    Windows = 1;
    Editor = std::make_unique<TAudioEditor2>(nullptr);
    Editor->SetBounds(0, 0, 400, 200);
    Editor->NewDocument(8000, 2);
    if (Kind == fxEmpty) return;
    FileName = "/music/take.wav";
    SampleBuffer a = Tone(800), b = Tone(400);
    Editor->InsertPcm(a);
    if (Kind == fxLength) {
      Editor->ZoomFull();
      Editor->Position()->SetCursor(100);
      return;
    }
    // Two inserts and one undone: both undo and redo have something to do.
    Editor->InsertPcm(b);
    Editor->Undo();
    Windows = 2;
    Clipboard = true;
    Editor->Position()->SetSelectionActive(true);
    Editor->Position()->SetSelectionStart(100);
    Editor->Position()->SetSelectionEnd(300);
    Editor->ZoomToRange(50, 400);
  }
  TCommandState State() const { return CommandStateOf(Editor.get(), FileName, Windows, Clipboard); }
};

TEST(MainCommands, EnablingFollowsTheActiveDocument) {
  RegisterAppClasses();
  struct Case {
    TFixture Fixture;
    std::vector<std::string> Enabled, Disabled;  // action names without "Action"
    std::set<std::string> Groups;                // command panel groups shown
  } cases[] = {
      {fxNoDocument,
       {"NewFile", "OpenFile", "LoadCD", "Record", "Play", "Stop", "Batch", "TextToSpeech",
        "Options", "Help", "About", "ShowCommandBar", "Exit"},
       {"SaveFile", "SaveAs", "CloseFile", "Undo", "Redo", "Cut", "Paste", "SelectAll",
        "InsertFileBegin", "Amplify", "Echo", "FadeIn", "ZoomIn", "ZoomOut", "ZoomToSelection",
        "ZoomFull", "SetBookmark", "Cascade", "CloseAll", "FrequencyAnalysis",
        "OpenBookmarkList", "OpenRegionList"},
       {"Files", "Tools"}},
      {fxEmpty,
       {"SaveAs", "CloseFile", "ConvertSampleRate", "EditID3", "MixFile", "InsertFileBegin",
        "InsertFileCurrent", "InsertSilenceEnd", "Cascade", "CloseAll", "FrequencyAnalysis",
        "OpenBookmarkList", "OpenRegionList"},
       {"SaveFile", "Undo", "Paste", "PasteMix", "SelectAll", "SelectToEnd", "Amplify",
        "Reverse", "Chorus", "SetBookmark", "ZoomIn", "ZoomFull", "Cut", "TrimStart"},
       {"Files", "Edit", "Tools", "Boolmark", "Region"}},
      {fxLength,
       {"SaveFile", "Undo", "SelectAll", "SelectToStart", "SelectSpecifiedTime", "RepeatLoop",
        "TrimStart", "TrimEnd", "SplitIntoTwo", "Amplify", "Reverse", "Envelope",
        "SpeedPitchChange", "SetBookmark", "ZoomIn", "ZoomOut"},
       {"Redo", "Cut", "Copy", "CopyToNew", "Delete", "Trim", "SilenceSelect", "SaveSelect",
        "FadeIn", "FadeOut", "FadeOutAndTrim", "CrossFade", "AddRegion", "ZoomToSelection",
        "ZoomFull", "Paste", "PasteMix"},
       {"Files", "Edit", "Effects", "Tools", "Boolmark", "Region"}},
      {fxSelectionZoomed,
       {"Undo", "Redo", "Cut", "Copy", "CopyToNew", "Delete", "Trim", "SilenceSelect",
        "SaveSelect", "FadeIn", "FadeOut", "FadeOutAndTrim", "CrossFade", "AddRegion",
        "ZoomToSelection", "ZoomFull", "Paste", "PasteMix", "TileVertical"},
       {},
       {"Files", "Edit", "Effects", "Tools", "Boolmark", "Region"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Fixture));
    TDocumentFixture document(c.Fixture);
    const TCommandState state = document.State();
    TComponent owner(nullptr);
    auto* list = new TActionList(&owner);
    CreateMainActions(list, &owner);
    // Every state is set each time: start from the opposite of what is expected.
    for (int i = 0; i < list->ActionCount(); ++i)
      dynamic_cast<TCustomAction*>(list->Actions(i))->SetEnabled(c.Fixture == fxNoDocument);
    ApplyCommandStates(list, state);
    auto enabled = [&](const std::string& name) {
      auto* action = dynamic_cast<TCustomAction*>(owner.FindComponent("Action" + name));
      EXPECT_TRUE(action) << name;
      return action && action->Enabled();
    };
    for (const std::string& name : c.Enabled) EXPECT_TRUE(enabled(name)) << name;
    for (const std::string& name : c.Disabled) EXPECT_FALSE(enabled(name)) << name;
    std::set<std::string> shown;
    for (const TCommandPanelGroup& g : CommandPanelGroups())
      if (CommandPanelGroupVisible(g, state)) shown.insert(g.Caption);
    EXPECT_EQ(shown, c.Groups);
  }
}

TEST(MainCommands, ZoomFullWaitsForAViewOtherThanTheWholeFile) {
  TDocumentFixture document(fxLength);
  EXPECT_FALSE(CommandEnabled(ceZoomFull, document.State()));
  document.Editor->ZoomToRange(0, 400);
  EXPECT_TRUE(CommandEnabled(ceZoomFull, document.State()));
  document.Editor->ZoomFull();
  EXPECT_FALSE(CommandEnabled(ceZoomFull, document.State()));
}

TEST(MainCommands, ActionsCarryTheirTextsKeysAndPlaces) {
  RegisterAppClasses();
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  CreateMainActions(list, &owner);
  ASSERT_EQ(list->ActionCount(), int(MainCommands().size()));
  std::map<TShortCut, std::string> keys;
  std::set<std::string> nowhere, hidden;
  for (const TCommandInfo& c : MainCommands()) {
    SCOPED_TRACE(c.Name);
    auto* action = dynamic_cast<TAction*>(owner.FindComponent(c.Name));
    ASSERT_TRUE(action);
    EXPECT_EQ(action->Caption(), c.Caption);
    EXPECT_EQ(action->Category(), c.Category);
    EXPECT_EQ(action->Hint(), c.Hint);
    if (*c.ShortCut) {
      EXPECT_NE(action->ShortCut(), 0);
      EXPECT_EQ(action->ShortCut(), TextToShortCut(c.ShortCut));
      EXPECT_TRUE(keys.emplace(action->ShortCut(), c.Name).second) << "key shared with " << keys[action->ShortCut()];
    } else {
      EXPECT_EQ(action->ShortCut(), 0);
    }
    EXPECT_EQ(action->Visible(), !c.Hidden);
    if (c.Place == cpNowhere) nowhere.insert(action->Caption());
    if (c.Hidden) hidden.insert(action->Caption());
  }
  EXPECT_EQ(nowhere, (std::set<std::string>{"Auto Trim", "Auto Split...", "Mark First Position",
                                            "Mark Second Position", "Recall Mark Selection",
                                            "Copy All Open File(s) to CD...",
                                            "Spee&d and Pitch Change..."}));
  EXPECT_EQ(hidden, (std::set<std::string>{"Main Toolbar", "Effects Toolbar"}));
  // Texts kept as the program has always shown them, slips included.
  EXPECT_EQ(FindMainCommand("ActionForword")->Caption, std::string("&Fast Forword"));
  EXPECT_EQ(FindMainCommand("ActionPlay")->Hint,
            std::string("Plays the current file from the current position. "));
  EXPECT_EQ(FindMainCommand("ActionSelectToEnd")->Hint,
            std::string("Selects everything after the current postion."));
  for (const TCommandPanelGroup& g : CommandPanelGroups())
    for (const TCommandPanelItem& item : g.Items) EXPECT_TRUE(FindMainCommand(item.Action)) << item.Action;
}

// Each command on a menu, bar or button has a glyph at both sizes; read back with Qt's own PNG
// reader, every glyph has ink of its own within its square.
TEST(MainCommands, EveryPlacedCommandHasAGlyphAtBothSizes) {
  RegisterAppClasses();
  const QImage strips[] = {QImage(":/images/Glyphs16.png"), QImage(":/images/Glyphs32.png")};
  const int sizes[] = {16, 32};
  for (int s = 0; s < 2; ++s) {
    ASSERT_FALSE(strips[s].isNull());
    EXPECT_EQ(strips[s].height(), sizes[s]);
    EXPECT_EQ(strips[s].width(), sizes[s] * int(AppGlyphNames().size()));
  }
  for (const TCommandInfo& c : MainCommands()) {
    if (c.Place != cpMenus) continue;
    SCOPED_TRACE(c.Name);
    const int index = AppGlyphIndex(c.Name);
    ASSERT_GE(index, 0);
    for (int s = 0; s < 2; ++s) {
      const int n = sizes[s];
      int opaque = 0;
      for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
          opaque += qAlpha(strips[s].pixel(index * n + x, y)) > 128;
        }
      EXPECT_GT(opaque, n * n / 12) << n;
      EXPECT_LT(opaque, n * n) << n;
    }
  }
}

}  // namespace

// The main window as a user meets it: its menus, bars, command panel and pop-ups against the
// command table, the idle enabling over real documents, the editor hook, closing with modified
// documents, and what survives a restart.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QThread>
#include <QImage>
#include <QScreen>
#include <QWindow>
#include <functional>
#include <QWidget>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <set>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "app/AppPictures.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/MainCommands.h"
#include "app/Program.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "common/FormPictures.h"
#include "common/TestEnv.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/sys/Registry.h"
#include "platform/win/QtWindows.h"
#include "controls/PngSpeedButton.h"
#include "controls/SUIImagePanel.h"
#include "platform/win/VisualStyles.h"
#include "suite/bars/dxBar.h"
#include "platform/sys/Modules.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/bars/dxBarToolbar.h"
#include "suite/bars/dxBarXPPainter.h"
#include "suite/extras/dxStatusBar.h"
#include "suite/extras/dxBarExtItems.h"
#include "suite/navbar/dxNavBar.h"
#include "suite/navbar/dxNavBarCollns.h"
#include "MainTestSupport.h"

using sonalix::test::SavePicture;
using namespace maintest;

namespace {

// "caption, caption | caption": a list of links, "|" before a link that begins a group.
std::string LinkText(TdxBarItemLinks* Links) {
  std::string text;
  for (int i = 0; i < Links->Count(); ++i) {
    auto* link = static_cast<TdxBarItemLink*>(Links->Items(i));
    if (i > 0) text += link->BeginGroup() ? " | " : ", ";
    text += link->Item()->Caption();
  }
  return text;
}

std::string MenuText(TMenuItem* Menu) {
  std::string text;
  bool group = false;
  for (int i = 0; i < Menu->Count(); ++i) {
    TMenuItem* item = Menu->Items(i);
    if (item->Caption() == "-") {
      group = true;
      continue;
    }
    if (!text.empty()) text += group ? " | " : ", ";
    group = false;
    text += item->Caption();
    if (item->ShortCut()) text += " (" + ShortCutToText(item->ShortCut()) + ")";
    if (item->Count() > 0) text += " [" + MenuText(item) + "]";
  }
  return text;
}

// Every bar item a user can reach from the bars and the bar pop-up menus.
void Reach(TdxBarItemLinks* Links, std::set<TdxBarItem*>& Items) {
  for (int i = 0; i < Links->Count(); ++i) {
    TdxBarItem* item = static_cast<TdxBarItemLink*>(Links->Items(i))->Item();
    if (!Items.insert(item).second) continue;
    if (TdxBarItemLinks* inner = item->ItemLinks()) Reach(inner, Items);
  }
}

}  // namespace

TEST(MainWindow, CommandsMenusBarsAndPanelAsDescribed) {
  TProgram p;
  // The action list is the command table, in its order, each action with its handler.
  const auto& table = MainCommands();
  ASSERT_EQ(p->ActionList->ActionCount(), int(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    auto* a = dynamic_cast<TCustomAction*>(p->ActionList->Actions(int(i)));
    ASSERT_NE(a, nullptr);
    SCOPED_TRACE(table[i].Name);
    EXPECT_EQ(a->Name(), table[i].Name);
    EXPECT_EQ(a->Category(), table[i].Category);
    EXPECT_EQ(a->Caption(), table[i].Caption);
    EXPECT_EQ(a->Hint(), table[i].Hint);
    EXPECT_EQ(a->ShortCut(), *table[i].ShortCut ? TextToShortCut(table[i].ShortCut) : 0);
    EXPECT_EQ(a->Visible(), !table[i].Hidden);
    EXPECT_TRUE(bool(a->OnExecute));
  }

  TdxBarManager* m = p->dxBarManager;
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->Bars()->Count(), 3);
  struct {
    const char* Owner;  // a bar caption or a sub-menu item name
    const char* Links;
  } menus[] = {
      {"Menu", "&File, &Edit, &Effects, &Control, &Tools, &Bookmark, &View, &Window, &Help"},
      {"dxBarSubItemFile",
       "&New File..., &Open File..., &Load Audio CD Track(s)... | Close File | &Save File, Save File "
       "&As... | &Convert Sample Rate and Channels... | Edit ID3 Tags... | O&ptions... | List of "
       "Recently Used Files | E&xit"},
      {"dxBarSubItemEdit",
       "&Undo, Redo | Cu&t, &Copy, Copy To &New, &Paste, Paste Mi&x..., &Delete | &Select All, Select "
       "To Start, Select To End, Select Specified Time | &Mix File... | Repeat &Loop... | Tri&m, Trim "
       "St&art, Trim En&d | S&plit into two at this point | Silence Select Re&gion, Save Select "
       "&Region As... | Insert Silen&ce..., &Insert File..."},
      {"dxBarSubItemInsertSilence", "Begin, Current, End"},
      {"dxBarSubItemInsertFile", "Begin, Current, End"},
      {"dxBarSubItemEffects",
       "&Amplify..., &Normalize..., Dynamic Range Co&mpressor..., &High-Pass Filter..., E&qualizer..., "
       "Ech&o..., &Reverb..., Re&verse | &Fade In, &Fade Out, Fade Out and &Trim, CrossFade..., "
       "En&velope..., &Mix Stereo Channels... | &Noise Reduction... | S&peed Change..., &Pitch "
       "Change... | Speciall Effects"},
      {"dxBarSubItemSpecialEffects", "Phaser..., Flanger..., Chorus..."},
      {"dxBarSubItemControl",
       "&Record | &Play, L&oop Play, &Pause, &Stop | &Go to Start, Re&wind, &Fast Forword, Go To &End"},
      {"dxBarSubItemTools", "&Frequency Analysis (FFT) | Text To &Speech, Batch Converter | O&ptions..."},
      {"dxBarSubItemBookmark", "&Set Bookmark, &Open Bookmark List | &Add Region, &Open Region List"},
      {"dxBarSubItemView",
       "Command bar | Main Toolbar, Effects Toolbar | &Open Bookmark List, &Open Region List"},
      {"dxBarSubItemCommandBar", "Show Command Bar | On the Left, On the Right"},
      {"dxBarSubItemWindow",
       "&Cascade, Tile &Horizontal, Tile &Vertical, &Arrange Icons | &Zoom In, Zoom &Out, Zoom To "
       "&Selection, Zoom &Full | Close All | List of Current Windows"},
      {"dxBarSubItemHelp",
       "&Help Contents | Sonalix Home Page, Sonalix Technical Support | More Related Software, "
       "Korvane Homepage | About"},
      {"Toolbar",
       "&New, &Open, &Save, Save &As | &Undo, Redo, Cu&t, &Copy, &Paste, &Delete | &Load CD | "
       "&Bookmark, &Region, Select | &Batch | &Options, &Help"},
      {"Quick",
       "Edit ID3 Tags... | Copy To &New, Repeat &Loop... | Tri&m, Trim St&art, Trim En&d, S&plit into "
       "two at this point | &Mix File..., Current, Current | &Amplify..., &Normalize..., Dynamic "
       "Range Co&mpressor..., &High-Pass Filter..., E&qualizer..., Ech&o..., &Reverb..., Re&verse | "
       "&Fade In, &Fade Out, CrossFade... | &Mix Stereo Channels..., &Noise Reduction... | S&peed "
       "Change..., &Pitch Change... | Flanger..."},
  };
  for (const auto& menu : menus) {
    SCOPED_TRACE(menu.Owner);
    TdxBarItemLinks* links = nullptr;
    for (int b = 0; b < m->Bars()->Count(); ++b)
      if (m->Bars()->Items(b)->Caption() == menu.Owner) links = m->Bars()->Items(b)->ItemLinks();
    if (!links)
      if (auto* sub = dynamic_cast<TdxBarSubItem*>(p->FindComponent(menu.Owner))) links = sub->ItemLinks();
    ASSERT_NE(links, nullptr);
    EXPECT_EQ(LinkText(links), menu.Links);
  }
  EXPECT_TRUE(m->Bars()->Items(0)->IsMainMenu());
  for (const char* check : {"dxBarLargeButtonShowCommandBar", "dxBarLargeButtonBarOntheLeft", "dxBarLargeButtonBarOntheRight"})
    EXPECT_EQ(dynamic_cast<TdxBarButton*>(p->FindComponent(check))->ButtonStyle(), bsChecked) << check;
  EXPECT_TRUE(p->dxBarListWindows->ShowCheck());
  // Glyphs: every command's at 16 pixels in the menus and at 32 in the toolbars.
  EXPECT_EQ(p->ImageListSmall->Count(), int(AppGlyphNames().size()));
  EXPECT_EQ(p->ImageListLarge->Count(), int(AppGlyphNames().size()));
  // The glyphs keep their transparency: drawn on red, a corner stays red (not a white square).
  for (TCustomImageList* list : {p->ImageListSmall, p->ImageListLarge}) {
    TBitmap canvas;
    canvas.SetSize(list->Width(), list->Height());
    canvas.Canvas()->Brush()->SetColor(clRed);
    canvas.Canvas()->FillRect(TRect(0, 0, list->Width(), list->Height()));
    list->Draw(canvas.Canvas(), 0, 0, AppGlyphIndex("ActionOpenFile"));
    EXPECT_EQ(canvas.ToImage().pixel(0, 0) & 0xFFFFFF, 0xFF0000u) << list->Width();
  }
  auto* open = dynamic_cast<TdxBarLargeButton*>(p->FindComponent("dxBarLargeButtonOpenFileToolbar"));
  EXPECT_EQ(open->LargeImageIndex(), AppGlyphIndex("ActionOpenFile"));
  EXPECT_EQ(open->ImageIndex(), AppGlyphIndex("ActionOpenFile"));
  EXPECT_EQ(p->dxBarMRUFiles->MaxItemCount(), 5);
  EXPECT_FALSE(p->dxBarMRUFiles->RemoveItemOnClick());

  // The seven commands without a handler of their own, and the stored "New Item", are on no bar,
  // menu, panel or key.
  std::set<TdxBarItem*> reached;
  for (int b = 0; b < m->Bars()->Count(); ++b) Reach(m->Bars()->Items(b)->ItemLinks(), reached);
  Reach(p->dxBarPopupMenuSelection->ItemLinks(), reached);
  EXPECT_EQ(reached.count(dynamic_cast<TdxBarItem*>(p->FindComponent("dxBarStatic1"))), 0u);
  const std::set<std::string> nowhere = {"ActionAutoTrim",           "ActionAutoSplit",
                                         "ActionMarkFirstPosition",  "ActionMarkSecondPosition",
                                         "ActionRecallMarkSelection", "ActionCopyAllToCD",
                                         "ActionSpeedPitchChange"};
  for (TdxBarItem* item : reached)
    if (TBasicAction* a = item->Action()) EXPECT_EQ(nowhere.count(a->Name()), 0u) << a->Name();
  for (int g = 0; g < p->dxNavBar->Groups()->Count(); ++g) {
    TdxNavBarGroup* group = p->dxNavBar->Groups()->Items(g);
    for (int l = 0; l < group->LinkCount(); ++l)
      EXPECT_EQ(nowhere.count(group->LinkAt(l)->Item()->Action()->Name()), 0u);
  }
  for (const std::string& name : nowhere)
    EXPECT_EQ(dynamic_cast<TCustomAction*>(p->FindComponent(name))->ShortCut(), 0) << name;

  // The command panel: six groups of items with captions of their own.
  std::string panel;
  for (int g = 0; g < p->dxNavBar->Groups()->Count(); ++g) {
    TdxNavBarGroup* group = p->dxNavBar->Groups()->Items(g);
    panel += (g ? " / " : "") + group->Caption() + ":";
    for (int l = 0; l < group->LinkCount(); ++l) panel += " " + group->LinkAt(l)->Item()->Caption() + ";";
  }
  EXPECT_EQ(panel,
            "Files: Open an existing file; Create a new file; Load tracks from CD; Save this file; Save "
            "file as...; / Edit: Undo last edit or effect; Cut selection; Copy selection; Delete "
            "selection; Mix file with selection; Trim start and end; Split into two files; / Effects: "
            "Amplify louder or softer; Normalize to optimal level; Fade In; Fade Out; Remove noise or "
            "hiss; / Tools: Batch processor; / Boolmark: Bookmark current position; Open bookmark list; "
            "/ Region: Make selection a new region; Open region list;");
  EXPECT_EQ(p->dxNavBar->Width(), 209);

  // The two pop-up menus.
  EXPECT_EQ(MenuText(p->PopupMenu->Items()),
            "&Undo (Ctrl+Z) | Cu&t (Ctrl+X), &Copy (Ctrl+C), &Paste (Ctrl+V), Paste Mi&x..., &Delete "
            "(Del) | &Select All (Ctrl+A), Select To Start (Shift+Home), Select To End (Shift+End), "
            "Select Specified Time (Ctrl+G) | &Mix File... | Tri&m (Ctrl+T), Trim St&art (Ctrl+M), Trim "
            "En&d (Ctrl+E), S&plit into two at this point | Silence Select Re&gion, Save Select &Region "
            "As..., Insert Silence... [Begin, Current, End], Insert File... [Begin, Current, End] | "
            "Copy To &New | Effects [&Amplify..., &Normalize..., &High-Pass Filter..., E&qualizer..., "
            "Ech&o..., &Reverb..., Re&verse | &Fade In, &Fade Out, Fade Out and &Trim, En&velope... | "
            "&Noise Reduction... | S&peed Change..., &Pitch Change...] | &Set Bookmark (Ctrl+B), &Add "
            "Region (Ctrl+R)");
  EXPECT_EQ(LinkText(p->dxBarPopupMenuSelection->ItemLinks()),
            "Select Specified Time | Select To Start, Select To End | &Select All");

  // The outside components are parts of the window, read from its description.
  const std::vector<std::pair<std::string, std::string>> outside = {
      {"LameEnc", "TAudioEditor2LameEnc"},
      {"AudioInfo", "TAudioInformation2"},
      {"AudioPlayer", "TAudioPlayer2"},
      {"AudioTransform", "TAudioTransform2"}};
  for (const auto& [name, cls] : outside) {
    TComponent* c = p->FindComponent(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->ClassName(), cls);
    EXPECT_EQ(c->Owner(), static_cast<TComponent*>(MainForm));
  }
  EXPECT_EQ(static_cast<TComponent*>(p->LameEnc), p->FindComponent("LameEnc"));
  EXPECT_EQ(static_cast<TComponent*>(p->AudioInfo), p->FindComponent("AudioInfo"));
  EXPECT_EQ(&p->LameEncoder(), p->LameEnc);
}

TEST(MainWindow, Picture) {
  TProgram p;
  p->SetBounds(0, 0, 1000, 700);
  TChildForm* doc = p.Open(WriteTone("picture.wav", 44100, 2, 44100 * 3));
  ASSERT_NE(doc, nullptr);
  p.Idle();
  QImage shot = GetWindowWidget(p->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
  SavePicture(shot, "main-window");
}

// SONALIX_THEMES=0 leaves the visual-style library out: the main window's bars take the Enhanced
// look.
TEST(MainWindow, WithoutVisualStylesTheBarsTakeTheEnhancedLook) {
  const char* before = std::getenv("SONALIX_THEMES");
  const std::string saved = before ? before : "";
  setenv("SONALIX_THEMES", "0", 1);
  {
    FinalizeSuiteUnits();
    TModuleTableGuard guard;
    InstallVisualStyles();
    InitializeSuiteUnits();
    {
      TProgram p;
      p->SetBounds(0, 0, 900, 600);
      p.Idle();
      EXPECT_NE(dynamic_cast<TdxBarEnhancedPainter*>(p->dxBarManager->Painter()), nullptr);
      SavePicture(GetWindowWidget(p->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32),
                  "main-window-without-visual-styles");
    }
    FinalizeSuiteUnits();
  }
  if (before)
    setenv("SONALIX_THEMES", saved.c_str(), 1);
  else
    unsetenv("SONALIX_THEMES");
  InitializeSuiteUnits();
}

TEST(MainWindow, EnablingOverFourDocumentStates) {
  TProgram p;
  struct Case {
    const char* Name;
    std::vector<std::string> Enabled, Disabled;
    std::set<std::string> Groups;
  } cases[] = {
      {"no document",
       {"NewFile", "OpenFile", "LoadCD", "Record", "Play", "Batch", "TextToSpeech", "Options", "Help", "About"},
       {"SaveFile", "SaveAs", "Undo", "Cut", "Paste", "SelectAll", "Amplify", "FadeIn", "ZoomIn", "ZoomFull",
        "SetBookmark", "Cascade", "CloseAll", "CloseFile"},
       {"Files", "Tools"}},
      {"empty",
       {"SaveFile", "SaveAs", "CloseFile", "InsertFileBegin", "InsertSilenceCurrent", "MixFile", "Cascade",
        "OpenRegionList"},
       {"SelectAll", "Amplify", "SetBookmark", "ZoomIn", "Cut", "Undo", "Paste"},
       {"Files", "Tools", "Edit", "Boolmark", "Region"}},
      {"length, no selection",
       {"SelectAll", "Amplify", "Echo", "SetBookmark", "ZoomIn", "ZoomOut"},
       {"Cut", "Copy", "Delete", "Trim", "FadeIn", "AddRegion", "ZoomToSelection", "ZoomFull", "Paste"},
       {"Files", "Tools", "Edit", "Effects", "Boolmark", "Region"}},
      {"selection, zoomed",
       {"Cut", "Copy", "Delete", "FadeIn", "CrossFade", "AddRegion", "ZoomToSelection", "ZoomFull"},
       {"Paste", "PasteMix", "Redo"},
       {"Files", "Tools", "Edit", "Effects", "Boolmark", "Region"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string name = c.Name;
    if (name == "empty") p->ActionNewFileExecute(nullptr);
    if (name == "length, no selection") p.Open(WriteTone("states.wav", 8000, 2, 8000));
    if (name == "selection, zoomed") {
      IAudioEditor2Position* pos = p->ActiveEditor()->Position();
      pos->SetSelectionActive(true);
      pos->SetSelectionStart(1000);
      pos->SetSelectionEnd(3000);
      p->ActiveEditor()->ZoomToRange(500, 4000);
    }
    p.Idle();
    for (const auto& a : c.Enabled) EXPECT_TRUE(p.Enabled(a)) << a;
    for (const auto& a : c.Disabled) EXPECT_FALSE(p.Enabled(a)) << a;
    std::set<std::string> shown;
    for (int g = 0; g < p->dxNavBar->Groups()->Count(); ++g)
      if (p->dxNavBar->Groups()->Items(g)->Visible()) shown.insert(p->dxNavBar->Groups()->Items(g)->Caption());
    EXPECT_EQ(shown, c.Groups);
  }
}

// Under a real X server (run by the test below): the started program with a document, as a
// person sees it, saved as a picture and searched for its parts.
TEST(MainWindowOnX, StartedProgramWithADocument) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
  TProgram p;
  p->SetBounds(0, 0, 1000, 700);
  p->Show();
  TChildForm* doc = p.Open(WriteTone("shown.wav", 44100, 2, 44100 * 4));
  ASSERT_NE(doc, nullptr);
  p->ActionTileHorizontalExecute(nullptr);
  p.Idle();
  QWindow* window = GetWindowWidget(p->Handle())->windowHandle();
  for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    Application->ProcessMessages();
  }
  const QImage shot = window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  SavePicture(shot, "main-window-xvfb");

  // Where each part lies, in the window's client coordinates.
  auto rectOf = [&](TControl* c) {
    const TPoint origin = c->ClientToScreen(TPoint{0, 0});
    const TPoint frame = p->ClientToScreen(TPoint{0, 0});
    return QRect(origin.X - frame.X, origin.Y - frame.Y, c->Width(), c->Height());
  };
  auto count = [&](const QRect& r, const std::function<bool(QRgb)>& match) {
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(shot.height() - 1, r.bottom()); ++y)
      for (int x = std::max(0, r.left()); x <= std::min(shot.width() - 1, r.right()); ++x)
        n += match(shot.pixel(x, y));
    return n;
  };
  auto dark = [](QRgb c) { return qGray(c) < 100; };
  // Waveform: the editor's green lanes.
  const int green = count(rectOf(doc->AudioEditor), [](QRgb c) { return c == qRgb(0x66, 0xFF, 0x66); });
  EXPECT_GT(green, 2000);
  // The menu row and the two toolbars fill the top, above the command panel: captions in the
  // menu row, captions and 32-pixel glyphs in the toolbars.
  const int barsBottom = rectOf(p->dxNavBar).top();
  EXPECT_GT(barsBottom, 60);
  EXPECT_GT(count(QRect(0, 0, shot.width(), 20), dark), 150);
  const QRect toolbars(0, 22, shot.width(), barsBottom - 22);
  EXPECT_GT(count(toolbars, dark), 400);
  EXPECT_GT(count(toolbars, [](QRgb c) { return qGray(c) < 180; }), 4000);
  // The command panel's group captions are text on its headers.
  EXPECT_GT(count(rectOf(p->dxNavBar), dark), 200);
  // The status bar sits at the bottom, below the panel of transport buttons.
  const QRect status = rectOf(p->dxStatusBar);
  EXPECT_GE(status.top(), rectOf(p->PanelBottom).bottom());
  EXPECT_GE(status.bottom(), p->ClientHeight() - 2);
  // The time labels and transport pictures are drawn on the bottom panel.
  EXPECT_GT(count(rectOf(p->LabelFileLength), [](QRgb c) { return qBlue(c) > qRed(c) + 40; }), 20);
  EXPECT_GT(count(rectOf(p->ButtonPlay), [](QRgb c) { return qGreen(c) > qRed(c) + 60; }), 30);
}

// Under a real X server (run by the test below): the program with visual styles on as a new user
// tries it: a maximized document, the mouse resting on a toolbar button, then pressing one, then
// the File menu open. Each look is saved as a picture of the screen around the window.
TEST(MainWindowOnX, ThemedMenusButtonsAndMaximizedDocument) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
  ASSERT_TRUE(VisualStylesActive());
  TProgram p;
  p->SetBounds(0, 0, 900, 640);
  p->Show();
  TChildForm* doc = p.Open(WriteTone("maximized.wav", 44100, 2, 44100 * 2));
  ASSERT_NE(doc, nullptr);
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  p.Idle();
  QWindow* window = GetWindowWidget(p->Handle())->windowHandle();
  for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  auto pump = [&](int Ms) {
    for (int i = 0; i < Ms / 10; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      Application->ProcessMessages();
      QThread::msleep(10);
    }
  };
  pump(300);
  TdxBarManager* manager = p->dxBarManager;
  ASSERT_NE(dynamic_cast<TdxBarXPPainter*>(manager->Painter()), nullptr);

  // The maximized document fills the frame's client window, and the main menu carries its
  // buttons.
  EXPECT_TRUE(manager->ActiveMDIChildMaximized());
  RECT area{};
  GetClientRect(p->ClientHandle(), &area);
  EXPECT_GE(doc->Width(), area.right - 2);
  EXPECT_GE(doc->Height(), area.bottom - 2);

  auto bar = [&](const char* Caption) -> TdxBar* {
    for (int i = 0; i < manager->Bars()->Count(); ++i)
      if (manager->Bars()->Items(i)->Caption() == Caption) return manager->Bars()->Items(i);
    return nullptr;
  };
  TdxBar* toolbar = bar("Toolbar");
  TdxBar* menu = bar("Menu");
  ASSERT_TRUE(toolbar && menu && toolbar->BarControl() && menu->BarControl());
  auto screen = [&]() {
    QGuiApplication::primaryScreen()->grabWindow(0);
    pump(100);
    const QRect frame = window->frameGeometry();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(frame).convertToFormat(QImage::Format_RGB32);
  };
  auto mouse = [&](TWinControl* W, QEvent::Type Type, const TPoint& At, Qt::MouseButtons Buttons) {
    // At is in the window's client coordinates; the widget also holds the window's frame.
    QWidget* widget = GetWindowWidget(W->Handle());
    const TPoint screenAt = W->ClientToScreen(At);
    const QPoint global(screenAt.X, screenAt.Y);
    const QPoint local = widget->mapFromGlobal(global);
    QCursor::setPos(global);
    pump(50);
    if (Type != QEvent::MouseMove) {
      QMouseEvent e(Type, QPointF(local), QPointF(global), Qt::LeftButton, Buttons, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &e);
    }
    pump(100);
  };
  auto centre = [](const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); };
  TdxBarControl* tools = toolbar->BarControl();
  // The second button ("Open") at rest, under the mouse and pressed; the press ends away from
  // every button, so nothing runs.
  const TRect open = toolbar->ItemLinks()->LinkByIndex(1)->ItemRect();
  const TPoint o = tools->ClientToScreen(TPoint(0, 0));
  const QRect inShot(o.X - window->frameGeometry().x() + open.Left, o.Y - window->frameGeometry().y() + open.Top,
                     open.Width(), open.Height());
  const QImage rest = screen().copy(inShot);
  mouse(tools, QEvent::MouseMove, centre(open), Qt::NoButton);
  QImage shot = screen();
  const QImage hot = shot.copy(inShot);
  SavePicture(shot, "main-window-themed-hot");
  mouse(tools, QEvent::MouseButtonPress, centre(open), Qt::LeftButton);
  shot = screen();
  const QImage pressed = shot.copy(inShot);
  SavePicture(shot, "main-window-themed-pressed");
  const TPoint away(open.Left - 200 < 0 ? 1 : open.Left - 200, tools->ClientHeight() + 300);
  mouse(tools, QEvent::MouseMove, away, Qt::LeftButton);
  mouse(tools, QEvent::MouseButtonRelease, away, Qt::NoButton);
  EXPECT_NE(hot, rest);
  EXPECT_NE(pressed, hot);

  // The File menu open, the mouse on its second entry.
  TdxBarControl* menuBar = menu->BarControl();
  TdxBarItemLink* fileLink = nullptr;
  for (int i = 0; i < menu->ItemLinks()->Count() && !fileLink; ++i)
    if (menu->ItemLinks()->LinkByIndex(i)->Item()->Caption() == "&File") fileLink = menu->ItemLinks()->LinkByIndex(i);
  ASSERT_NE(fileLink, nullptr);
  mouse(menuBar, QEvent::MouseMove, centre(fileLink->ItemRect()), Qt::NoButton);
  mouse(menuBar, QEvent::MouseButtonPress, centre(fileLink->ItemRect()), Qt::LeftButton);
  mouse(menuBar, QEvent::MouseButtonRelease, centre(fileLink->ItemRect()), Qt::NoButton);
  auto* subMenu = dynamic_cast<TCustomdxBarControl*>(fileLink->Item()->ItemLinks()->BarControl());
  ASSERT_NE(subMenu, nullptr);
  pump(300);
  mouse(subMenu, QEvent::MouseMove, centre(fileLink->Item()->ItemLinks()->LinkByIndex(1)->ItemRect()), Qt::NoButton);
  pump(200);
  SavePicture(screen(), "main-window-themed-menu");
  CloseActiveMenusOf(manager);
  pump(100);
}

TEST(MainWindow, PictureUnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir() / "xvfb";
  std::filesystem::create_directories(dir);
  for (const char* f : {"main-window-xvfb.png", "main-window-themed-hot.png", "main-window-themed-pressed.png",
                        "main-window-themed-menu.png"})
    std::filesystem::remove(dir / f);
  const auto run = sonalix::test::RunUnderXvfb("MainWindowOnX.*", {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  for (const char* f : {"main-window-xvfb.png", "main-window-themed-hot.png", "main-window-themed-pressed.png",
                        "main-window-themed-menu.png"})
    EXPECT_FALSE(QImage(QString::fromStdString((dir / f).string())).isNull()) << f;
}

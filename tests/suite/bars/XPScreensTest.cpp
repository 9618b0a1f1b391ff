// What a user of the editor sees first: a form with its main menu, a toolbar of large buttons in
// their states, an open menu and a floating bar, drawn by the XP painter with visual styles on.
// The picture goes to the sheet folder to be looked at.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>
#include <string>

#include "common/FormPictures.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/bars/dxBarToolbar.h"
#include "suite/bars/dxBarXPPainter.h"
#include "suite/core/VisualStyleState.h"

namespace {

QImage Shot(TWinControl* C) {
  return GetWindowWidget(C->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void FillGlyph(TBitmap& B, int Size, TColor Color) {
  B.SetWidth(Size);
  B.SetHeight(Size);
  B.Canvas()->Brush()->SetColor(TColor(0x303030));
  B.Canvas()->FillRect(TRect(0, 0, Size, Size));
  B.Canvas()->Brush()->SetColor(Color);
  B.Canvas()->FillRect(TRect(1, 1, Size - 1, Size - 1));
  B.Canvas()->Brush()->SetColor(TColor(0xF0F0F0));
  B.Canvas()->FillRect(TRect(Size / 4, Size / 4, Size - Size / 4, Size - Size / 4));
}

struct TXPScreen : ::testing::Test {
  TVisualStylesOn Styles;
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());

  template <class T>
  T* Item(const std::string& Caption) {
    auto* i = new T(Form.get());
    i->SetCaption(Caption);
    return i;
  }
  TdxBar* NewBar(const std::string& Caption, int Row) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(true);
    return bar;
  }
};

}  // namespace

TEST_F(TXPScreen, MainMenuToolbarOpenMenuAndFloatingBar) {
  Manager->SetStyle(bmsXP);
  Manager->MenuAnimations = maNone;
  Manager->HideFloatingBarsWhenInactive = false;
  ASSERT_NE(dynamic_cast<TdxBarXPPainter*>(Manager->Painter()), nullptr);
  Form->SetBounds(40, 40, 620, 260);
  Form->SetColor(clAppWorkSpace);
  Form->Show();
  Application->ProcessMessages();

  TdxBar* menu = NewBar("Menu", 0);
  menu->SetIsMainMenu(true);
  auto* file = Item<TdxBarSubItem>("&File");
  const TColor colours[] = {TColor(0x20A020), TColor(0xC06010), TColor(0x1030C0), TColor(0x10A0C0)};
  const char* commands[] = {"&New File...", "&Open File...", "&Save File", "E&xit"};
  for (int i = 0; i < 4; ++i) {
    auto* b = Item<TdxBarButton>(commands[i]);
    TBitmap g;
    FillGlyph(g, 16, colours[i]);
    b->SetGlyph(&g);
    if (i == 2) {
      b->SetButtonStyle(bsChecked);
      b->SetDown(true);
    }
    if (i == 1) b->SetShortCut(TextToShortCut("Ctrl+O"));
    file->ItemLinks()->AddLinkForItem(b)->SetBeginGroup(i == 3);
  }
  menu->ItemLinks()->AddLinkForItem(file);
  for (const char* c : {"&Edit", "Effe&cts", "&View", "&Help"}) menu->ItemLinks()->AddLinkForItem(Item<TdxBarSubItem>(c));
  menu->SetDockingStyle(dsTop);
  menu->SetVisible(true);

  TdxBar* tools = NewBar("Toolbar", 1);
  const char* captions[] = {"Open", "Save", "Record", "Play", "Loop", "Undo"};
  std::vector<TdxBarLargeButton*> buttons;
  for (int i = 0; i < 6; ++i) {
    auto* b = Item<TdxBarLargeButton>(captions[i]);
    TBitmap g;
    FillGlyph(g, 32, colours[i % 4]);
    b->SetLargeGlyph(&g);
    b->SetShowCaption(true);
    tools->ItemLinks()->AddLinkForItem(b)->SetBeginGroup(i == 4);
    buttons.push_back(b);
  }
  buttons[4]->SetButtonStyle(bsChecked);
  buttons[4]->SetDown(true);
  buttons[3]->SetEnabled(false);
  tools->SetDockingStyle(dsTop);
  tools->SetVisible(true);

  TdxBar* floating = NewBar("Zoom", 0);
  floating->SetWholeRow(false);
  for (const char* c : {"In", "Out", "All"}) floating->ItemLinks()->AddLinkForItem(Item<TdxBarButton>(c));
  floating->SetFloatLeft(Form->Left() + 380);
  floating->SetFloatTop(Form->Top() + 170);
  floating->SetDockingStyle(dsNone);
  floating->SetVisible(true);
  Application->ProcessMessages();

  // The mouse rests on "Save".
  TdxBarControl* toolbar = tools->BarControl();
  ASSERT_TRUE(toolbar);
  const TRect save = tools->ItemLinks()->LinkByIndex(1)->ItemRect();
  SendMessage(toolbar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((save.Left + save.Right) / 2, (save.Top + save.Bottom) / 2));
  Application->ProcessMessages();

  // The File menu open from the main menu.
  TdxBarControl* menuBar = menu->BarControl();
  ASSERT_TRUE(menuBar);
  TdxBarItemLink* fileLink = menu->ItemLinks()->LinkByIndex(0);
  const TRect f = fileLink->ItemRect();
  SendMessage(menuBar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2));
  auto* fileControl = dynamic_cast<TdxBarSubItemControl*>(fileLink->Control());
  ASSERT_NE(fileControl, nullptr);
  menuBar->SetDowned(true);
  fileControl->DoClick(false, false);
  Application->ProcessMessages();
  auto* open = dynamic_cast<TCustomdxBarControl*>(file->ItemLinks()->BarControl());
  ASSERT_NE(open, nullptr);
  // The second entry is hot.
  SendMessage(open->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessage(open->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  for (TWinControl* w : {static_cast<TWinControl*>(menuBar), static_cast<TWinControl*>(toolbar),
                         static_cast<TWinControl*>(open), static_cast<TWinControl*>(floating->BarControl())})
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  Application->ProcessMessages();

  // One picture: the form, the open menu and the floating bar where they lie on the screen.
  const TRect formRect = Form->BoundsRect();
  QImage picture(formRect.Width() + 40, formRect.Height() + 40, QImage::Format_RGB32);
  picture.fill(QColor(0x70, 0x90, 0xB0));
  {
    QPainter p(&picture);
    auto place = [&](TWinControl* W) {
      TRect r;
      GetWindowRect(W->Handle(), reinterpret_cast<RECT*>(&r));
      p.drawImage(QPoint(r.Left - formRect.Left + 20, r.Top - formRect.Top + 20), Shot(W));
    };
    place(Form.get());
    place(floating->BarControl());
    place(open);
  }
  sonalix::test::SavePicture(picture, "bars-xp-window");
  sonalix::test::SavePicture(Shot(Form.get()), "bars-xp-form");

  // The open main-menu entry is lit in the highlight colour with its caption in the highlight text
  // colour.
  const QImage menuShot = Shot(menuBar);
  int lit = 0, text = 0;
  for (int y = f.Top; y < f.Bottom; ++y)
    for (int x = f.Left; x < f.Right; ++x) {
      const COLORREF c = COLORREF(menuShot.pixel(x, y) & 0xFFFFFF);
      const COLORREF bgr = RGB(GetBValue(c), GetGValue(c), GetRValue(c));
      lit += bgr == GetSysColor(COLOR_HIGHLIGHT);
      text += bgr == GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
  EXPECT_GT(lit, f.Width() * f.Height() / 2);
  EXPECT_GT(text, 5);
  // The checked button and the disabled one differ from a button at rest.
  const QImage bar = Shot(toolbar);
  auto centre = [&](int Index) {
    const TRect r = tools->ItemLinks()->LinkByIndex(Index)->ItemRect();
    return bar.copy(r.Left, r.Top, r.Width(), r.Height());
  };
  EXPECT_NE(centre(4), centre(5));
  EXPECT_NE(centre(1), centre(0));
  CloseActiveMenusOf(Manager);
  Application->ProcessMessages();
}

// One picture per bar style, with visual styles switched on and off: an MDI frame with its main
// menu (the maximized document's MDI buttons at its end), a toolbar whose buttons show every
// state, the File menu open with a hot entry, and a floating bar. Everything is drawn by the real
// bar windows; the hot and pressed looks come from mouse input sent to them. The pictures go to
// the sheet folder to be looked at; the test checks what a user would notice first.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <memory>
#include <typeinfo>
#include <string>
#include <vector>

#include "common/FormPictures.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/bars/dxBarToolbar.h"
#include "suite/core/VisualStyleState.h"

namespace {

QImage Shot(TWinControl* C) {
  return GetWindowWidget(C->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Mouse input as the window system gives it: the cursor moves there, then the event reaches the
// window's widget. At is in the window's client coordinates.
void Mouse(TWinControl* W, QEvent::Type Type, const TPoint& At, Qt::MouseButtons Buttons);

// Where a window's client area lies in the picture of its widget (bar windows draw their
// borders and grips outside it).
QPoint ClientOffset(TWinControl* W) {
  const TPoint client = W->ClientToScreen(TPoint(0, 0));
  return QPoint(client.X, client.Y) - GetWindowWidget(W->Handle())->mapToGlobal(QPoint(0, 0));
}

// The part of a window's picture that shows the client rectangle R.
QImage ClientPart(TWinControl* W, const QImage& Shot, const TRect& R) {
  const QPoint o = ClientOffset(W);
  return Shot.copy(R.Left + o.x(), R.Top + o.y(), R.Width(), R.Height());
}

void Mouse(TWinControl* W, QEvent::Type Type, const TPoint& At, Qt::MouseButtons Buttons) {
  QWidget* widget = GetWindowWidget(W->Handle());
  const QPoint local = QPoint(At.X, At.Y) + ClientOffset(W);
  const QPoint global = widget->mapToGlobal(local);
  QCursor::setPos(global);
  const Qt::MouseButton button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(Type, QPointF(local), QPointF(global), button, Buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &e);
  Application->ProcessMessages();
}

TPoint Centre(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

// 16 pixel pictures: a framed square with a coloured middle.
TCustomImageList* NewGlyphs(TComponent* Owner) {
  auto* images = new TCustomImageList(Owner);
  images->SetSize(16, 16);
  const TColor colours[] = {TColor(0x20A020), TColor(0xC06010), TColor(0x1030C0), TColor(0x10A0C0)};
  for (TColor c : colours) {
    TBitmap b;
    b.SetWidth(16);
    b.SetHeight(16);
    b.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    b.Canvas()->FillRect(TRect(0, 0, 16, 16));
    b.Canvas()->Brush()->SetColor(TColor(0x303030));
    b.Canvas()->FillRect(TRect(1, 1, 15, 15));
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(TRect(2, 2, 14, 14));
    b.Canvas()->Brush()->SetColor(TColor(0xF0F0F0));
    b.Canvas()->FillRect(TRect(5, 5, 11, 11));
    images->AddMasked(&b, TColor(0xFF00FF));
  }
  return images;
}

// The toolbar's buttons, one per state, captioned with it.
enum { kNormal, kHot, kPressed, kChecked, kDisabled, kCheckedHot, kStates };
const char* const kStateNames[kStates] = {"Normal", "Hot", "Pressed", "Checked", "Disabled", "Checked hot"};

struct TStyleCase {
  const char* Name;
  TdxBarManagerStyle Style;
};
const TStyleCase kStyles[] = {{"standard", bmsStandard}, {"enhanced", bmsEnhanced}, {"flat", bmsFlat},
                              {"xp", bmsXP},             {"office11", bmsOffice11}};

// What one style and theme state draw, kept for the checks.
struct TDrawn {
  QImage Picture;
  QImage Toolbar;               // the toolbar window at rest
  QImage States[kStates];       // each button in its own state
  QImage Rest[kStates];         // each button at rest
  QImage HotOfPressed;          // the button to be pressed, under the mouse first
  QImage TitleHot, TitleOpen;   // the main menu's File entry under the mouse, and with its menu open
  QImage Grip;                  // the docked toolbar's grip, from its window
  QColor GripFace;              // the toolbar's face beside the grip
  bool MDIButtons = false;
  int FloatingFits = 0;         // buttons of the floating bar shown whole
  int FirstEntryLeft = -1;      // where the open menu's entries start in its client area
  QRgb ColumnBesideEntry = 0;   // the icon column's colour at its left edge, beside the first entry
  std::vector<QRgb> ColumnAcrossSeparators;  // ... and across each group separator
  std::string PainterClass;
};

struct TStyleSheets : ::testing::Test {
  TVisualStylesOn Styles;

  static std::string PainterName(TdxBarPainter* P) {
    std::string n = typeid(*P).name();
    return n;
  }

  TDrawn Draw(const TStyleCase& Case, bool Themed) {
    TDrawn out;
    SetVisualStylesActive(Themed);
    // The frame is the program's main form, as MDI documents need one.
    TForm* frame = nullptr;
    CreateForm(frame);
    std::unique_ptr<TForm> form(frame);
    form->SetFormStyle(fsMDIForm);
    form->SetColor(clAppWorkSpace);
    form->SetBounds(40, 40, 640, 300);
    auto* manager = new TdxBarManager(form.get());
    manager->SetStyle(Case.Style);
    manager->MenuAnimations = maNone;
    manager->HideFloatingBarsWhenInactive = false;
    manager->ImageOptions()->SetImages(NewGlyphs(form.get()));
    form->Show();
    Application->ProcessMessages();

    auto item = [&](auto* I, const std::string& Caption) {
      I->SetCaption(Caption);
      return I;
    };
    auto bar = [&](const char* Caption, int Row) {
      TdxBar* b = manager->Bars()->Add();
      b->SetCaption(Caption);
      b->SetRow(Row);
      return b;
    };

    // The main menu: File holds a checked command, a disabled one, one with a shortcut and a
    // sub-menu.
    TdxBar* menu = bar("Menu", 0);
    menu->SetIsMainMenu(true);
    menu->SetOneOnRow(true);
    menu->SetWholeRow(true);
    menu->SetDockingStyle(dsTop);
    auto* file = item(new TdxBarSubItem(form.get()), "&File");
    const char* commands[] = {"&New File...", "&Open File...", "&Save File", "Save &As...", "&Recent", "E&xit"};
    for (int i = 0; i < 6; ++i) {
      TdxBarItem* entry = i == 4 ? static_cast<TdxBarItem*>(item(new TdxBarSubItem(form.get()), commands[i]))
                                 : item(new TdxBarButton(form.get()), commands[i]);
      if (auto* b = dynamic_cast<TdxBarButton*>(entry)) {
        if (i < 4) b->SetImageIndex(i);
        if (i == 1) b->SetShortCut(TextToShortCut("Ctrl+O"));
        if (i == 2) {
          b->SetButtonStyle(bsChecked);
          b->SetDown(true);
        }
        if (i == 3) b->SetEnabled(false);
      }
      file->ItemLinks()->AddLinkForItem(entry)->SetBeginGroup(i == 4 || i == 5);
    }
    menu->ItemLinks()->AddLinkForItem(file);
    for (const char* c : {"&Edit", "Effe&cts", "&View", "&Help"})
      menu->ItemLinks()->AddLinkForItem(item(new TdxBarSubItem(form.get()), c));
    menu->SetDockingStyle(dsTop);
    menu->SetVisible(true);

    // The toolbar: glyph and caption buttons, one per state, a separator before the checked ones.
    TdxBar* tools = bar("Toolbar", 0);
    std::vector<TdxBarButton*> buttons;
    for (int i = 0; i < kStates; ++i) {
      auto* b = item(new TdxBarButton(form.get()), kStateNames[i]);
      b->SetImageIndex(i % 4);
      b->SetPaintStyle(psCaptionGlyph);
      if (i == kChecked || i == kCheckedHot) {
        b->SetButtonStyle(bsChecked);
        b->SetDown(true);
      }
      if (i == kDisabled) b->SetEnabled(false);
      tools->ItemLinks()->AddLinkForItem(b)->SetBeginGroup(i == kChecked);
      buttons.push_back(b);
    }
    tools->SetOneOnRow(true);
    // Docked at the foot of the frame, clear of the open menu.
    tools->SetDockingStyle(dsBottom);
    tools->SetVisible(true);

    // A floating bar below the toolbar.
    TdxBar* floating = bar("Zoom", 0);
    for (int i = 0; i < 3; ++i) {
      auto* b = item(new TdxBarButton(form.get()), i == 0 ? "In" : i == 1 ? "Out" : "All");
      b->SetImageIndex(i);
      floating->ItemLinks()->AddLinkForItem(b);
    }
    floating->SetFloatLeft(form->Left() + 380);
    floating->SetFloatTop(form->Top() + 150);
    floating->SetDockingStyle(dsNone);
    floating->SetVisible(true);

    // A maximized document: its MDI buttons sit at the end of the main menu.
    auto* doc = new TForm(form.get());
    doc->SetFormStyle(fsMDIChild);
    doc->SetCaption("Sound 1");
    doc->SetColor(clWindow);
    doc->Show();
    Application->ProcessMessages();
    SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Application->ProcessMessages();
    out.MDIButtons = manager->ActiveMDIChildMaximized();
    // Every button of the floating bar lies inside its client area.
    if (TdxBarControl* fc = floating->BarControl())
      for (int i = 0; i < floating->ItemLinks()->Count(); ++i) {
        const TRect r = floating->ItemLinks()->LinkByIndex(i)->ItemRect();
        out.FloatingFits += !r.IsEmpty() && r.Right <= fc->ClientWidth() && r.Bottom <= fc->ClientHeight();
      }
    out.PainterClass = PainterName(manager->Painter());

    TdxBarControl* toolbar = tools->BarControl();
    TdxBarControl* menuBar = menu->BarControl();
    if (!toolbar || !menuBar || !floating->BarControl()) {
      ADD_FAILURE() << "bar windows missing";
      return out;
    }
    auto rectOf = [&](int I) { return tools->ItemLinks()->LinkByIndex(I)->ItemRect(); };
    const TPoint away(2, toolbar->ClientHeight() - 1);

    out.Toolbar = Shot(toolbar);
    for (int i = 0; i < kStates; ++i) out.Rest[i] = ClientPart(toolbar, out.Toolbar, rectOf(i));
    {
      // The grip lies left of the client area, in the window's frame.
      out.Grip = out.Toolbar.copy(0, 0, ClientOffset(toolbar).x(), out.Toolbar.height());
      out.GripFace = QColor(out.Toolbar.pixel(ClientOffset(toolbar).x() + away.X, out.Toolbar.height() / 2));
    }
    // The hot buttons: the mouse rests on each.
    for (int i : {kNormal, kHot, kCheckedHot}) {
      Mouse(toolbar, QEvent::MouseMove, Centre(rectOf(i)), Qt::NoButton);
      if (i != kNormal) out.States[i] = ClientPart(toolbar, Shot(toolbar), rectOf(i));
    }
    out.States[kNormal] = out.Rest[kNormal];
    out.States[kChecked] = out.Rest[kChecked];
    out.States[kDisabled] = out.Rest[kDisabled];
    // The pressed button: the left button held on it, released away from every button.
    Mouse(toolbar, QEvent::MouseMove, Centre(rectOf(kPressed)), Qt::NoButton);
    out.HotOfPressed = ClientPart(toolbar, Shot(toolbar), rectOf(kPressed));
    Mouse(toolbar, QEvent::MouseButtonPress, Centre(rectOf(kPressed)), Qt::LeftButton);
    out.States[kPressed] = ClientPart(toolbar, Shot(toolbar), rectOf(kPressed));
    Mouse(toolbar, QEvent::MouseMove, away, Qt::LeftButton);
    Mouse(toolbar, QEvent::MouseButtonRelease, away, Qt::NoButton);
    SendMessage(toolbar->Handle(), WM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();

    // The File entry under the mouse, then with its menu open and the second entry hot.
    TdxBarItemLink* fileLink = menu->ItemLinks()->LinkByIndex(0);
    for (int i = 0; i < menu->ItemLinks()->Count(); ++i)
      if (menu->ItemLinks()->LinkByIndex(i)->Item() == file) fileLink = menu->ItemLinks()->LinkByIndex(i);
    const TRect f = fileLink->ItemRect();
    Mouse(menuBar, QEvent::MouseMove, Centre(f), Qt::NoButton);
    out.TitleHot = ClientPart(menuBar, Shot(menuBar), f);
    Mouse(menuBar, QEvent::MouseButtonPress, Centre(f), Qt::LeftButton);
    Mouse(menuBar, QEvent::MouseButtonRelease, Centre(f), Qt::NoButton);
    auto* open = dynamic_cast<TCustomdxBarControl*>(file->ItemLinks()->BarControl());
    if (!open) {
      ADD_FAILURE() << "the File menu did not open";
      return out;
    }
    // The mouse goes down into the menu, onto its second entry.
    Mouse(open, QEvent::MouseMove, Centre(file->ItemLinks()->LinkByIndex(1)->ItemRect()), Qt::NoButton);
    for (TWinControl* w : {static_cast<TWinControl*>(menuBar), static_cast<TWinControl*>(open)})
      RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Application->ProcessMessages();
    out.TitleOpen = ClientPart(menuBar, Shot(menuBar), f);
    {
      // The menu's left column beside its first entry and across each group separator.
      const QImage menuShot = Shot(open);
      const QPoint o = ClientOffset(open);
      const TRect first = file->ItemLinks()->LinkByIndex(0)->ItemRect();
      out.FirstEntryLeft = first.Left;
      out.ColumnBesideEntry = menuShot.pixel(o.x() + first.Left + 1, o.y() + (first.Top + first.Bottom) / 2);
      for (int i = 0; i < open->ViewInfo()->SeparatorCount(); ++i) {
        TRect r;
        uint8_t kind = 0;
        open->ViewInfo()->GetSeparator(i, r, kind);
        out.ColumnAcrossSeparators.push_back(menuShot.pixel(o.x() + first.Left + 1, o.y() + (r.Top + r.Bottom) / 2));
      }
    }

    // One picture: the frame with the open menu and the floating bar where they lie on the
    // screen, the toolbar's buttons each in its state, and a caption saying what is shown.
    const TRect formRect = form->BoundsRect();
    out.Picture = QImage(formRect.Width() + 40, formRect.Height() + 70, QImage::Format_RGB32);
    out.Picture.fill(QColor(0x70, 0x90, 0xB0));
    {
      QPainter p(&out.Picture);
      auto place = [&](TWinControl* W) {
        TRect r;
        GetWindowRect(W->Handle(), reinterpret_cast<RECT*>(&r));
        const QPoint at(r.Left - formRect.Left + 20, r.Top - formRect.Top + 20);
        p.drawImage(at, GetWindowWidget(W->Handle())->grab().toImage());
        return at;
      };
      const QPoint formAt = place(form.get());
      // The toolbar's client area inside the frame's picture.
      QWidget* frameWidget = GetWindowWidget(form->Handle());
      QWidget* barWidget = GetWindowWidget(toolbar->Handle());
      const QPoint bar = formAt + barWidget->mapTo(frameWidget, QPoint(0, 0)) + ClientOffset(toolbar);
      for (int i = 0; i < kStates; ++i) {
        const TRect r = rectOf(i);
        p.drawImage(bar + QPoint(r.Left, r.Top), out.States[i]);
      }
      place(floating->BarControl());
      place(open);
      p.setPen(Qt::white);
      QFont font("DejaVu Sans");
      font.setPixelSize(13);
      p.setFont(font);
      p.drawText(QRect(20, formRect.Height() + 28, formRect.Width(), 30), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromStdString(std::string(Case.Name) + (Themed ? ", visual styles on" : ", visual styles off") +
                                        (out.MDIButtons ? ", maximized document" : "")));
    }
    CloseActiveMenusOf(manager);
    Application->ProcessMessages();
    return out;
  }
};

// How far apart two pictures of one size are: the number of pixels that differ.
int Differing(const QImage& A, const QImage& B) {
  if (A.size() != B.size()) return A.width() * A.height() + 1;
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) n += A.pixel(x, y) != B.pixel(x, y);
  return n;
}

// The strongest contrast of the grip's pixels against the bar's face.
int GripContrast(const QImage& Grip, const QColor& Face) {
  int best = 0;
  for (int y = 0; y < Grip.height(); ++y)
    for (int x = 0; x < Grip.width(); ++x) best = std::max(best, std::abs(qGray(Grip.pixel(x, y)) - qGray(Face.rgb())));
  return best;
}

}  // namespace

TEST_F(TStyleSheets, EveryStyleWithVisualStylesOnAndOff) {
  for (const TStyleCase& c : kStyles)
    for (bool themed : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (themed ? " themed" : " plain"));
      TDrawn d = Draw(c, themed);
      if (d.Picture.isNull()) continue;
      sonalix::test::SavePicture(d.Picture, std::string("bars-style-") + c.Name + (themed ? "-themed" : "-plain"));
      EXPECT_TRUE(d.MDIButtons);
      EXPECT_EQ(d.FloatingFits, 3);
      // The menu's entries start at its frame, their icon column at their left, and the column
      // runs on unbroken across the group separators.
      EXPECT_LE(d.FirstEntryLeft, 3);
      EXPECT_EQ(d.ColumnAcrossSeparators.size(), 2u);
      for (QRgb c : d.ColumnAcrossSeparators) EXPECT_EQ(QColor(c).name(), QColor(d.ColumnBesideEntry).name());
      // Every state shows: hot, pressed and checked-hot differ from the same button at rest,
      // and the pressed look is not the hot look.
      EXPECT_GT(Differing(d.States[kHot], d.Rest[kHot]), 10);
      EXPECT_GT(Differing(d.States[kPressed], d.Rest[kPressed]), 10);
      EXPECT_GT(Differing(d.States[kPressed], d.HotOfPressed), 10);
      EXPECT_GT(Differing(d.Rest[kChecked], d.Rest[kNormal]), 10);
      // The grip of a docked toolbar stands out from the bar's face.
      EXPECT_GE(GripContrast(d.Grip, d.GripFace), 60);
      // The themed XP look draws a checked button the same under the mouse, and lights an open
      // main-menu entry as it lights a hot one, as the system's menu bar does.
      const bool xpThemed = c.Style == bmsXP && themed;
      if (!xpThemed) {
        EXPECT_GT(Differing(d.States[kCheckedHot], d.Rest[kCheckedHot]), 10);
        // The open main-menu entry is drawn otherwise than the one the mouse merely rests on.
        EXPECT_GT(Differing(d.TitleOpen, d.TitleHot), 10);
      }
    }
}

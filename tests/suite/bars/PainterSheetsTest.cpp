// One picture per bar painter: every item kind in every state on a horizontal bar, in a menu and
// on a vertical bar, with a docked toolbar's border, grip, mark and separators above them. The
// pictures go to the sheet folder to be looked at; the test checks that every cell was painted
// whole and that the states differ where they should.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "common/TestEnv.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/VisualStyleState.h"

using namespace painter_test;

namespace {

const TColor kUnpainted = TColor(0xFF00FF);

// A bar window that draws into the sheet.
struct TSheetBar : TCustomdxBarControl {
  int Kind = 0;  // 0 toolbar, 2 sub-menu
  bool Rotated = false;
  TcxCanvas* Canvas = nullptr;
  TRect Client;
  int BarControlKind() const override { return Kind; }
  bool IsRotated() const override { return Rotated; }
  bool IsVertical() const override { return Rotated; }
  TdxBarDockingStyle DockingStyle() const override { return Kind == 2 ? dsNone : Rotated ? dsLeft : dsTop; }
  TcxCanvas* CurrentCanvas() const override { return Canvas; }
  TRect ClientBounds() const override { return Client; }
  HBRUSH BackgroundBrush() const override {
    TdxBarPainter* p = Painter();
    if (!p) return nullptr;
    if (Kind != 2) return p->BarBrush(const_cast<TSheetBar*>(this));
    // A menu's own brush, as the menu window takes it.
    HBRUSH brush = p->MenuBrush(const_cast<TSheetBar*>(this));
    p->MenuBackgroundBrush(nullptr, brush);
    return brush;
  }
  int TextSize() const override { return 19; }
  int IconAreaWidth() const override { return 24; }
  int MenuArrowWidth() const override { return 13; }
  int MenuArrowHeight() const override { return 4; }
  int GroupIndent() const override { return Kind == 2 ? 10 : 6; }
  bool HasHiddenItems() const override { return true; }
};

// 16 and 32 pixel pictures: a framed square with a coloured dot, one colour per image.
TCustomImageList* NewPictures(TComponent* Owner, int Size) {
  auto* images = new TCustomImageList(Owner);
  images->SetSize(Size, Size);
  const TColor colours[] = {TColor(0x00A000), TColor(0xC05000), TColor(0x0000C0)};
  for (TColor c : colours) {
    TBitmap b;
    b.SetSize(Size, Size);
    TcxCanvas canvas(b.Canvas());
    canvas.FillRectWithColor(TRect(0, 0, Size, Size), TColor(0xFF00FF));
    canvas.FillRectWithColor(TRect(1, 1, Size - 1, Size - 1), TColor(0x202020));
    canvas.FillRectWithColor(TRect(2, 2, Size - 2, Size - 2), TColor(0xF0F0F0));
    int q = Size / 4;
    canvas.FillRectWithColor(TRect(q, q, Size - q, Size - q), c);
    images->AddMasked(&b, TColor(0xFF00FF));
  }
  return images;
}

struct TState {
  const char* Name;
  bool Hot, Pressed, Down, Enabled, Dropped;
};
const TState kStates[] = {
    {"normal", false, false, false, true, false}, {"hot", true, false, false, true, false},
    {"pressed", true, true, false, true, false},  {"down", false, false, true, true, false},
    {"down hot", true, false, true, true, false}, {"disabled", false, false, false, false, false},
    {"dropped", true, false, false, true, true},
};
constexpr int kStateCount = int(sizeof(kStates) / sizeof(kStates[0]));

struct TSheetFixture : TBarFixture {
  TSheetBar Bar;
  TdxBarSubItem* Owner = NewItem<TdxBarSubItem>("owner");
  std::unique_ptr<TSurface> Sheet;

  TSheetFixture() {
    Manager->ImageOptions()->SetImages(NewPictures(Form.get(), 16));
    Manager->ImageOptions()->SetLargeImages(NewPictures(Form.get(), 32));
    Owner->ItemLinks()->SetBarControl(&Bar);
    Bar.SetItemLinks(Owner->ItemLinks());
  }
  ~TSheetFixture() override {
    TdxBarItemLinks* links = Owner->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) links->LinkByIndex(i)->FreeControl();
    links->SetBarControl(nullptr);
  }

  void Label(int X, int Y, const std::string& Text) {
    HDC dc = Sheet->C()->CurrentDC();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0);
    TextOut(dc, X, Y, Text);
  }

  // A control of the item on the sheet bar, with its item rectangle.
  TdxBarItemControl* ControlFor(TdxBarItem* Item, const TRect& Bounds) {
    TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(Item);
    link->SetItemBounds(Bounds);
    link->CreateControl();
    TdxBarItemControl* c = link->Control();
    c->CalcPartRects();
    return c;
  }
};

struct TKind {
  const char* Name;
  std::function<TdxBarItem*(TSheetFixture&)> Make;
  bool Large = false;
  bool ArrowInside = false;  // drawn as a sub item: the arrow inside the button
  bool Separator = false;    // as thick as a bar separator across the bar
};

}  // namespace

TEST_F(TSheetFixture, EveryItemKindInEveryStateForEachPainter) {
  // The XP sheet needs the visual styles; the other looks do not look at them.
  TVisualStylesOn styles;
  const std::vector<TKind> kinds = {
      {"glyph", [](TSheetFixture& f) {
         auto* b = f.NewItem<TdxBarButton>("&Open");
         b->SetImageIndex(0);
         return b;
       }},
      {"caption", [](TSheetFixture& f) { return f.NewItem<TdxBarButton>("&Save"); }},
      {"glyph+caption", [](TSheetFixture& f) {
         auto* b = f.NewItem<TdxBarButton>("&Play");
         b->SetImageIndex(1);
         b->SetPaintStyle(psCaptionGlyph);
         b->SetShortCut(TextToShortCut("Ctrl+P"));
         return b;
       }},
      {"split", [](TSheetFixture& f) {
         auto* b = f.NewItem<TdxBarButton>("&Undo");
         b->SetImageIndex(2);
         b->SetButtonStyle(bsDropDown);
         b->SetDropDownMenu(new TdxBarPopupMenu(f.Form.get()));
         return b;
       }},
      {"sub item", [](TSheetFixture& f) { return f.NewItem<TdxBarButton>("&Effects"); }, false, true},
      {"large left", [](TSheetFixture& f) {
         auto* b = f.NewItem<TdxBarLargeButton>("Record");
         b->SetLargeImageIndex(2);
         b->SetShowCaption(true);
         b->SetGlyphLayout(glLeft);
         return b;
       }, true},
      {"large top", [](TSheetFixture& f) {
         auto* b = f.NewItem<TdxBarLargeButton>("Stop");
         b->SetLargeImageIndex(1);
         b->SetShowCaption(true);
         b->SetGlyphLayout(glTop);
         return b;
       }, true},
      {"separator", [](TSheetFixture& f) { return f.NewItem<TdxBarSeparator>("Recent"); }, false, false, true},
  };

  struct TPainterCase {
    const char* File;
    TdxBarManagerStyle Style;  // the manager's style; the base painter is set on it directly
    bool Base;
  } painters[] = {{"bars-base.png", bmsStandard, true},
                  {"bars-standard.png", bmsStandard, false},
                  {"bars-enhanced.png", bmsEnhanced, false},
                  {"bars-flat.png", bmsFlat, false},
                  {"bars-office11.png", bmsOffice11, false},
                  {"bars-xp.png", bmsXP, false}};

  // Sections: a horizontal bar, a menu and a rotated vertical bar.
  struct TSection {
    const char* Name;
    int Kind;
    bool Rotated;
    TSize Cell, LargeCell;
  } sections[] = {{"bar", 0, false, {84, 24}, {84, 56}},
                  {"menu", 2, false, {176, 22}, {176, 40}},
                  {"vertical bar", 0, true, {26, 84}, {58, 84}}};

  const int labelWidth = 84, gap = 6, top = 60;
  int width = labelWidth, height = top;
  for (auto& s : sections) {
    int w = labelWidth + kStateCount * (std::max(s.Cell.cx, s.LargeCell.cx) + gap);
    width = std::max(width, w);
    if (s.Rotated) {
      height += 20 + int(kinds.size()) * (s.Cell.cy + gap) + 10;
    } else {
      for (auto& k : kinds) height += (k.Large ? s.LargeCell.cy : s.Cell.cy) + gap;
      height += 30;
    }
  }
  height += 90;

  for (auto& pc : painters) {
    SCOPED_TRACE(pc.File);
    Manager->SetStyle(pc.Style);
    std::unique_ptr<TdxBarPainter> base;
    Sheet = std::make_unique<TSurface>(width, height, TColor(0xE8E8E8));
    TcxCanvas* canvas = Sheet->C();
    canvas->CurrentFont()->SetName("DejaVu Sans");
    canvas->CurrentFont()->SetHeight(-12);
    Bar.Canvas = canvas;
    TdxBarPainter* painter = Manager->Painter();
    if (pc.Base) {
      base = std::make_unique<TdxBarPainter>();
      painter = base.get();
    }
    ASSERT_NE(painter, nullptr);
    HDC dc = canvas->CurrentDC();

    // A docked toolbar: its border with the grip, two buttons, a separator and the mark.
    {
      Bar.Kind = 0;
      Bar.Rotated = false;
      // The border belongs to the window's frame; the separator and the mark to its client area,
      // which the bar window draws in its own coordinates.
      TRect outer(8, 8, 330, 40);
      FillRectSolid(dc, outer, clBtnFace);
      painter->DrawDockedBorder(&Bar, dc, outer);
      TRect border = painter->DockedBorderRect(nullptr, dsTop);
      border.Left += painter->GripSizeWithBorder(&Bar);
      TRect client(outer.Left + border.Left, outer.Top + border.Top, outer.Right - border.Right,
                   outer.Bottom - border.Bottom);
      POINT previous;
      SetWindowOrgEx(dc, -client.Left, -client.Top, &previous);
      Bar.Client = TRect(0, 0, client.Width(), client.Height());
      painter->DrawBarSeparator(&Bar, dc, false, painter->BarBrush(&Bar), TRect(100, 0, 106, client.Height()));
      painter->DrawMark(&Bar, canvas, painter->BarBrush(&Bar), painter->MarkRect(&Bar));
      SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
      TRect grip(340, 8, 340 + painter->SizeGripSize(Manager).cx + 40, 40);
      FillRectSolid(dc, grip, clBtnFace);
      painter->DrawBarSizeGrip(&Bar, dc, painter->BarBrush(&Bar), grip);
      Label(grip.Right + 10, 16, "toolbar, mark with hidden items, size grip");
    }

    int y = top;
    for (auto& s : sections) {
      Bar.Kind = s.Kind;
      Bar.Rotated = s.Rotated;
      canvas->SetFontAngle(0);
      Label(4, y, s.Name);
      for (int i = 0; i < kStateCount; ++i)
        Label(labelWidth + i * (std::max(s.Cell.cx, s.LargeCell.cx) + gap), y, kStates[i].Name);
      y += 18;
      for (size_t k = 0; k < kinds.size(); ++k) {
        const TKind& kind = kinds[k];
        TSize cell = kind.Large ? s.LargeCell : s.Cell;
        if (s.Rotated) cell = kind.Large ? TSize{s.LargeCell.cx, s.Cell.cy} : s.Cell;
        if (kind.Separator && s.Kind == 0) {
          int thick = Manager->Painter()->BarSeparatorSize();
          cell = s.Rotated ? TSize{s.Cell.cx, thick} : TSize{thick, s.Cell.cy};
        }
        canvas->SetFontAngle(0);
        Label(4, y + 2, kind.Name);
        // A vertical bar turns its font, reading downwards.
        if (s.Rotated) canvas->SetFontAngle(270);
        for (int i = 0; i < kStateCount; ++i) {
          const TState& st = kStates[i];
          int x = labelWidth + i * (std::max(s.Cell.cx, s.LargeCell.cx) + gap);
          TRect r(x, y, x + cell.cx, y + cell.cy);
          // The base painter and the flat looks leave parts of the bar's background to the window
          // behind their items; the others paint every pixel.
          const bool behind = pc.Base || painter->IsFlat();
          if (behind) {
            RECT cellRect = r;
            FillRect(dc, &cellRect, Bar.BackgroundBrush());
          } else {
            canvas->FillRectWithColor(r, kUnpainted);
          }
          TdxBarItem* item = kind.Make(*this);
          item->SetEnabled(st.Enabled);
          if (auto* b = dynamic_cast<TdxBarButton*>(item)) {
            if (st.Down && !kind.ArrowInside) {
              if (b->ButtonStyle() == bsDefault) b->SetButtonStyle(bsChecked);
              b->SetDown(true);
            }
          }
          Bar.Client = TRect(0, 0, r.Right, r.Bottom);
          TdxBarItemControl* c = ControlFor(item, r);
          ASSERT_NE(c, nullptr);
          c->CalcDrawParams(true);
          TdxBarItemControlDrawParams* dp = c->DrawParams();
          dp->DrawCanvas = canvas;
          dp->DrawEnabled = st.Enabled;
          dp->Highlighted = st.Hot && st.Enabled;
          if (auto* b = dynamic_cast<TdxBarButtonLikeControlDrawParams*>(dp)) {
            b->PressedState = b->PressedLook = st.Pressed;
            b->PopupOpen = st.Dropped && (b->HasDropDownPart || kind.ArrowInside);
            if (kind.ArrowInside) {
              b->HasDropDownPart = true;
              b->SeparateArrowPart = false;
            }
            painter->DrawButtonLike(b, r);
          } else if (auto* sep = dynamic_cast<TdxBarSeparatorControlDrawParams*>(dp)) {
            painter->DrawSeparatorItem(sep, r);
          }
          delete item;
          // Every pixel of the cell belongs to the item.
          if (!behind) EXPECT_EQ(Sheet->Count(r, kUnpainted), 0) << s.Name << " " << kind.Name << " " << st.Name;
        }
        y += cell.cy + gap;
      }
      y += 12;
    }

    // Statics and progress bars drawn from their draw parameters, as the extra items do.
    canvas->SetFontAngle(0);
    Bar.Kind = 0;
    Bar.Rotated = false;
    Label(4, y, "static");
    const TdxBarStaticBorderStyle borders[] = {sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump};
    for (int i = 0; i < 5; ++i) {
      TRect r(labelWidth + i * 90, y, labelWidth + i * 90 + 84, y + 22);
      TdxBarStaticLikeControlDrawParams dp(nullptr);
      dp.DrawCanvas = canvas;
      dp.ShownParts = dxBarCaptionPart;
      dp.CaptionText = "Ready";
      dp.BorderStyle = borders[i];
      dp.Alignment = i % 2 ? taCenter : taLeftJustify;
      dp.DrawEnabled = i != 4;
      painter->DrawStatic(&dp, r);
    }
    y += 28;
    Label(4, y, "progress");
    const int positions[] = {0, 33, 66, 100, 150};
    for (int i = 0; i < 5; ++i) {
      TRect r(labelWidth + i * 90, y, labelWidth + i * 90 + 84, y + 12);
      TdxBarProgressControlDrawParams dp(nullptr);
      dp.DrawCanvas = canvas;
      dp.Position = positions[i];
      painter->DrawProgressBar(&dp, r, clDefault);
    }

    y += 20;
    Label(4, y, "edit parts");
    {
      // Spin buttons: normal, hot, pressed and disabled; combo buttons: normal, hot, dropped and
      // disabled; a colour combo's ellipsis button.
      int x = labelWidth;
      const struct {
        bool Enabled;
        int Hot, Pressed;
      } spins[] = {{true, -1, -1}, {true, 3, -1}, {true, 3, 1}, {false, -1, -1}};
      for (auto& sp : spins) {
        TdxBarSpinEditDrawParams dp(nullptr);
        dp.DrawCanvas = canvas;
        dp.DrawEnabled = sp.Enabled;
        dp.HotPart = sp.Hot;
        dp.PressedButton = sp.Pressed;
        dp.ButtonSizes[0] = dp.ButtonSizes[1] = painter->SpinButtonSizes(22);
        TRect column(x, y, x + 17, y + 22);
        FillRectSolid(dc, column.Inflate(2, 2), clBtnFace);
        painter->DrawSpinButton(&dp, TRect(column.Left, column.Top, column.Right, column.Top + 11), 1);
        painter->DrawSpinButton(&dp, TRect(column.Left, column.Top + 11, column.Right, column.Bottom), 2);
        x += 30;
      }
      const struct {
        bool Enabled, Hot, Dropped;
      } combos[] = {{true, false, false}, {true, true, false}, {true, true, true}, {false, false, false}};
      for (auto& cb : combos) {
        TdxBarEditLikeControlDrawParams dp(nullptr);
        dp.DrawCanvas = canvas;
        dp.DrawEnabled = cb.Enabled;
        dp.Highlighted = cb.Hot;
        dp.PopupOpen = cb.Dropped;
        TRect button(x, y + 2, x + 15, y + 20);
        FillRectSolid(dc, button.Inflate(2, 2), clBtnFace);
        painter->DrawComboButton(&dp, button, cb.Dropped);
        x += 26;
      }
      TdxBarColorComboControlDrawParams dp(nullptr);
      dp.DrawCanvas = canvas;
      dp.Highlighted = true;
      TRect ellipsis(x, y + 2, x + 16, y + 20);
      FillRectSolid(dc, ellipsis.Inflate(2, 2), clBtnFace);
      painter->DrawEllipsisButton(&dp, ellipsis);
    }

    std::filesystem::path file = sonalix::test::SheetDir() / pc.File;
    EXPECT_TRUE(Sheet->Bitmap.ToImage().save(QString::fromStdString(file.string()))) << file;
  }
}

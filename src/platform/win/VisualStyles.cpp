#include "platform/win/VisualStyles.h"

#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/sys/Modules.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"
#include "platform/win/WinInternal.h"
#include "platform/win/Windows.h"

namespace {

constexpr HRESULT kOk = 0;
constexpr HRESULT kFail = HRESULT(0x80004005u);
constexpr HRESULT kInvalidArg = HRESULT(0x80070057u);
constexpr HRESULT kNotFound = HRESULT(0x80070490u);  // the property or part is not defined

constexpr int kBorderColor = 3801;
constexpr int kFillColor = 3802;
constexpr int kTextColor = 3803;
constexpr int kGradientColor1 = 3810;
constexpr int kGradientColor2 = 3811;
constexpr int kContentMargins = 3602;

enum TClass {
  cButton, cComboBox, cEdit, cHeader, cListBox, cListView, cProgress, cRebar, cScrollBar,
  cSpin, cStatus, cTab, cToolBar, cToolTip, cTrackBar, cTreeView, cWindow, cClassCount
};
const char* const kClassNames[cClassCount] = {
    "Button", "ComboBox", "Edit", "Header", "ListBox", "ListView", "Progress", "Rebar",
    "ScrollBar", "Spin", "Status", "Tab", "ToolBar", "ToolTip", "TrackBar", "TreeView", "Window"};

// One drawable part: its states run from 1 to MaxState (0 draws as 1), sizes at 96 DPI.
struct TPartInfo {
  int Part;
  int MaxState;
  QSize True;
  QSize Min;  // empty: as True
  QMargins Content;
};

const std::vector<TPartInfo>& Parts(int c) {
  static const std::vector<TPartInfo> table[cClassCount] = {
      /* Button */ {{1, 5, {0, 0}, {}, {3, 3, 3, 3}},
                    {2, 8, {13, 13}, {}, {}},
                    {3, 12, {13, 13}, {}, {}},
                    {4, 2, {0, 0}, {}, {4, 4, 4, 4}}},
      /* ComboBox */ {{1, 4, {17, 20}, {}, {}}},
      /* Edit */ {{1, 6, {0, 0}, {}, {1, 1, 1, 1}}},
      /* Header */ {{1, 6, {0, 0}, {}, {3, 0, 3, 0}},
                    {2, 3, {0, 0}, {}, {3, 0, 3, 0}},
                    {3, 3, {0, 0}, {}, {3, 0, 3, 0}}},
      /* ListBox */ {{1, 4, {0, 0}, {}, {1, 1, 1, 1}},
                     {2, 4, {0, 0}, {}, {1, 1, 1, 1}},
                     {3, 4, {0, 0}, {}, {1, 1, 1, 1}},
                     {4, 4, {0, 0}, {}, {1, 1, 1, 1}}},
      /* ListView */ {{5, 1, {0, 0}, {}, {1, 1, 1, 1}}},
      /* Progress */ {{1, 1, {0, 0}, {}, {2, 2, 2, 2}},
                      {2, 1, {0, 0}, {}, {2, 2, 2, 2}},
                      {3, 1, {8, 12}, {}, {}},
                      {4, 1, {12, 8}, {}, {}}},
      /* Rebar */ {{0, 1, {0, 0}, {}, {}},
                   {1, 1, {5, 5}, {}, {}},
                   {2, 1, {5, 5}, {}, {}}},
      /* ScrollBar */ {{1, 16, {17, 17}, {}, {}},
                       {2, 4, {8, 17}, {}, {2, 0, 2, 0}},
                       {3, 4, {17, 8}, {}, {0, 2, 0, 2}},
                       {4, 4, {0, 0}, {}, {}},
                       {5, 4, {0, 0}, {}, {}},
                       {6, 4, {0, 0}, {}, {}},
                       {7, 4, {0, 0}, {}, {}},
                       {8, 4, {8, 8}, {}, {}},
                       {9, 4, {8, 8}, {}, {}},
                       {10, 2, {17, 17}, {}, {}}},
      /* Spin */ {{1, 4, {15, 11}, {}, {}},
                  {2, 4, {15, 11}, {}, {}}},
      /* Status */ {{0, 1, {0, 0}, {}, {}},
                    {1, 1, {2, 2}, {}, {}},
                    {2, 1, {2, 2}, {}, {}},
                    {3, 1, {16, 16}, {}, {}}},
      /* Tab */ {{1, 5, {0, 0}, {}, {2, 2, 2, 2}},
                 {9, 1, {0, 0}, {}, {2, 2, 2, 2}}},
      /* ToolBar */ {{0, 1, {0, 0}, {}, {}},
                     {1, 6, {0, 0}, {}, {3, 3, 3, 3}},
                     {2, 6, {0, 0}, {}, {3, 3, 3, 3}},
                     {3, 6, {0, 0}, {}, {3, 3, 3, 3}},
                     {4, 6, {13, 0}, {}, {3, 3, 3, 3}},
                     {5, 6, {6, 6}, {6, 6}, {}},
                     {6, 6, {6, 6}, {6, 6}, {}}},
      /* ToolTip */ {{1, 1, {0, 0}, {}, {3, 3, 3, 3}}},
      /* TrackBar */ {{1, 1, {0, 4}, {}, {1, 1, 1, 1}},
                      {2, 1, {4, 0}, {}, {1, 1, 1, 1}},
                      {3, 5, {11, 21}, {}, {}},
                      {4, 5, {11, 21}, {}, {}},
                      {5, 5, {11, 21}, {}, {}},
                      {6, 5, {21, 11}, {}, {}},
                      {7, 5, {21, 11}, {}, {}},
                      {8, 5, {21, 11}, {}, {}}},
      /* TreeView */ {{2, 2, {9, 9}, {}, {}}},
      /* Window */ {{16, 4, {16, 14}, {}, {}},
                    {19, 4, {13, 13}, {}, {}},
                    {20, 4, {16, 14}, {}, {}},
                    {22, 4, {16, 14}, {}, {}}},
  };
  return table[c];
}

const TPartInfo* FindPart(int c, int part, int state) {
  for (const TPartInfo& p : Parts(c))
    if (p.Part == part) return state >= 0 && state <= p.MaxState ? &p : nullptr;
  return nullptr;
}

bool gActive = true;
std::string gColorName = "NormalColor";

int ClassOf(uintptr_t theme) {
  return theme >= 1 && theme <= uintptr_t(cClassCount) ? int(theme - 1) : -1;
}

// ---- rendering

QStyle* Fusion() {
  static std::unique_ptr<QStyle> style(QStyleFactory::create("Fusion"));
  return style.get();
}

QColor Sys(int index) { return ColorRefToQColor(GetSysColor(index)); }

bool gPaletteBuilt = false;

const QPalette& Palette() {
  static QPalette palette;
  if (!gPaletteBuilt) {
    gPaletteBuilt = true;
    palette = QPalette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, QPalette::Window, Sys(COLOR_BTNFACE));
      palette.setColor(group, QPalette::Button, Sys(COLOR_BTNFACE));
      palette.setColor(group, QPalette::Base, Sys(group == QPalette::Disabled ? COLOR_BTNFACE : COLOR_WINDOW));
      palette.setColor(group, QPalette::AlternateBase, Sys(COLOR_BTNFACE));
      palette.setColor(group, QPalette::WindowText, Sys(group == QPalette::Disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      palette.setColor(group, QPalette::Text, Sys(group == QPalette::Disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      palette.setColor(group, QPalette::ButtonText, Sys(group == QPalette::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
      palette.setColor(group, QPalette::Light, Sys(COLOR_BTNHIGHLIGHT));
      palette.setColor(group, QPalette::Midlight, Sys(COLOR_3DLIGHT));
      palette.setColor(group, QPalette::Mid, Sys(COLOR_BTNSHADOW));
      palette.setColor(group, QPalette::Dark, Sys(COLOR_BTNSHADOW));
      palette.setColor(group, QPalette::Shadow, Sys(COLOR_3DDKSHADOW));
      palette.setColor(group, QPalette::Highlight, Sys(COLOR_HIGHLIGHT));
      palette.setColor(group, QPalette::HighlightedText, Sys(COLOR_HIGHLIGHTTEXT));
      palette.setColor(group, QPalette::ToolTipBase, Sys(COLOR_INFOBK));
      palette.setColor(group, QPalette::ToolTipText, Sys(COLOR_INFOTEXT));
    }
  }
  return palette;
}
QImage Blank(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Prepare(QStyleOption& o, QRect r, QStyle::State s) {
  o.rect = r;
  o.state = s;
  o.palette = Palette();
  o.palette.setCurrentColorGroup(s & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled);
  o.direction = Qt::LeftToRight;
}

// The usual state numbering: 1 normal, 2 hot, 3 pressed, 4 disabled.
QStyle::State PushState(int state) {
  switch (state) {
    case 2: return QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_Raised;
    case 3: return QStyle::State_Enabled | QStyle::State_Sunken;
    case 4: return QStyle::State_None;
    default: return QStyle::State_Enabled | QStyle::State_Raised;
  }
}

void Primitive(QImage& image, QStyle::PrimitiveElement e, QStyleOption& o) {
  QPainter p(&image);
  Fusion()->drawPrimitive(e, &o, &p);
}
void Element(QImage& image, QStyle::ControlElement e, QStyleOption& o) {
  QPainter p(&image);
  Fusion()->drawControl(e, &o, &p);
}

// Fusion draws these controls only whole: draw the whole control and cut the piece out.
QImage Cut(const QImage& whole, QRect piece, QSize target) {
  QImage part = whole.copy(piece);
  if (part.size() != target && !target.isEmpty())
    part = part.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return part;
}
QImage WholeComplex(QStyle::ComplexControl cc, QStyleOptionComplex& o) {
  QImage whole = Blank(o.rect.size());
  QPainter p(&whole);
  Fusion()->drawComplexControl(cc, &o, &p);
  return whole;
}

QImage ScrollBarPart(int part, int state, QSize size) {
  QStyleOptionSlider o;
  bool horizontal = true;
  QStyle::SubControl sc = QStyle::SC_ScrollBarSlider;
  int sub = state;
  if (part == 1) {
    int direction = (state - 1) / 4;  // up, down, left, right
    sub = (state - 1) % 4 + 1;
    horizontal = direction >= 2;
    sc = direction % 2 == 0 ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
  } else if (part == 2 || part == 8) {
    horizontal = true;
  } else if (part == 3 || part == 9) {
    horizontal = false;
  } else {
    horizontal = part == 4 || part == 5;
    sc = QStyle::SC_ScrollBarSubPage;
  }
  int cross = horizontal ? size.height() : size.width();
  int along = horizontal ? size.width() : size.height();
  int length = along + 4 * cross + 60;
  Prepare(o, horizontal ? QRect(0, 0, length, cross) : QRect(0, 0, cross, length),
          PushState(sub) & ~QStyle::State_Raised);
  if (horizontal) o.state |= QStyle::State_Horizontal;
  o.orientation = horizontal ? Qt::Horizontal : Qt::Vertical;
  o.subControls = QStyle::SC_All;
  o.activeSubControls = (sub == 2 || sub == 3) ? sc : QStyle::SC_None;
  o.minimum = 0;
  o.singleStep = 1;
  if (sc == QStyle::SC_ScrollBarSlider) {
    // Size the page so that the thumb has the part's own length.
    o.maximum = 100;
    o.pageStep = 10;
    QRect groove = Fusion()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarGroove);
    int grooveLength = horizontal ? groove.width() : groove.height();
    o.pageStep = std::max(1, along);
    o.maximum = std::max(1, grooveLength - along);
    o.sliderPosition = o.sliderValue = 0;
  } else {
    o.maximum = 100;
    o.pageStep = 1;
    o.sliderPosition = o.sliderValue = 100;  // the thumb out of the way at the far end
  }
  QImage whole = WholeComplex(QStyle::CC_ScrollBar, o);
  if (part == 8 || part == 9) {
    // Fusion's thumb has no grip of its own: three short ridges in the thumb's colours.
    QImage grip = Blank(size);
    QPainter p(&grip);
    p.setPen(Sys(COLOR_BTNSHADOW));
    for (int i = -1; i <= 1; ++i) {
      int m = 2 * i;
      if (horizontal)
        p.drawLine(size.width() / 2 + m, 2, size.width() / 2 + m, size.height() - 3);
      else
        p.drawLine(2, size.height() / 2 + m, size.width() - 3, size.height() / 2 + m);
    }
    return grip;
  }
  QRect r = Fusion()->subControlRect(QStyle::CC_ScrollBar, &o, sc);
  if (sc == QStyle::SC_ScrollBarSubPage) {
    if (horizontal) r.setWidth(std::min(r.width(), along));
    else r.setHeight(std::min(r.height(), along));
  }
  return Cut(whole, r, size);
}

QImage SpinPart(int part, int state, QSize size) {
  QStyleOptionSpinBox o;
  Prepare(o, QRect(0, 0, size.width() * 3 + 40, size.height() * 2), PushState(state) & ~QStyle::State_Raised);
  o.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
  QStyle::SubControl sc = part == 1 ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown;
  o.activeSubControls = (state == 2 || state == 3) ? sc : QStyle::SC_None;
  o.stepEnabled = state == 4 ? QAbstractSpinBox::StepNone
                             : QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
  o.frame = true;
  QImage whole = WholeComplex(QStyle::CC_SpinBox, o);
  return Cut(whole, Fusion()->subControlRect(QStyle::CC_SpinBox, &o, sc), size);
}

QImage ComboButton(int state, QSize size) {
  QStyleOptionComboBox o;
  Prepare(o, QRect(0, 0, size.width() + 60, size.height()), PushState(state) & ~QStyle::State_Raised);
  o.subControls = QStyle::SC_All;
  o.activeSubControls = (state == 2 || state == 3) ? QStyle::SC_ComboBoxArrow : QStyle::SC_None;
  if (state == 3) o.state |= QStyle::State_On;
  o.frame = true;
  o.editable = false;
  QImage whole = WholeComplex(QStyle::CC_ComboBox, o);
  // The right end of the whole box holds the button with its edges.
  return whole.copy(QRect(o.rect.width() - size.width(), 0, size.width(), size.height()));
}

QImage TrackBarPart(int part, int state, QSize size) {
  QImage image = Blank(size);
  bool horizontal = part == 1 || part == 3 || part == 4 || part == 5;
  QStyleOptionSlider o;
  QStyle::State s = QStyle::State_Enabled;
  if (state == 2) s |= QStyle::State_MouseOver;
  if (state == 3) s |= QStyle::State_Sunken;
  if (state == 4) s |= QStyle::State_HasFocus;
  if (state == 5) s = QStyle::State_None;
  if (part == 1 || part == 2) {
    Prepare(o, QRect(QPoint(0, 0), size), s);
    if (horizontal) o.state |= QStyle::State_Horizontal;
    o.orientation = horizontal ? Qt::Horizontal : Qt::Vertical;
    o.subControls = QStyle::SC_SliderGroove;
    o.maximum = 100;
    QPainter p(&image);
    Fusion()->drawComplexControl(QStyle::CC_Slider, &o, &p);
    return image;
  }
  int cross = (horizontal ? size.height() : size.width()) + 10;
  int along = (horizontal ? size.width() : size.height()) * 4 + 40;
  Prepare(o, horizontal ? QRect(0, 0, along, cross) : QRect(0, 0, cross, along), s);
  if (horizontal) o.state |= QStyle::State_Horizontal;
  o.orientation = horizontal ? Qt::Horizontal : Qt::Vertical;
  o.subControls = QStyle::SC_SliderHandle;
  o.activeSubControls = (state == 2 || state == 3) ? QStyle::SC_SliderHandle : QStyle::SC_None;
  o.maximum = 100;
  o.sliderPosition = o.sliderValue = 50;
  QImage whole = WholeComplex(QStyle::CC_Slider, o);
  return Cut(whole, Fusion()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle), size);
}

QImage WindowButton(int part, int state, QSize size) {
  QImage image = Blank(size);
  QStyleOptionButton o;
  Prepare(o, QRect(QPoint(0, 0), size), PushState(state));
  Primitive(image, QStyle::PE_PanelButtonCommand, o);
  // The glyph in the button text colour: a bar, a cross or two stacked windows.
  QPainter p(&image);
  p.setPen(QPen(Sys(state == 4 ? COLOR_GRAYTEXT : COLOR_BTNTEXT), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  int side = std::max(4, std::min(size.width(), size.height()) - 8);
  QRect g(0, 0, side, side);
  g.moveCenter(QRect(QPoint(0, 0), size).center());
  if (state == 3) g.translate(1, 1);
  if (part == 16) {
    p.drawLine(g.left() + 1, g.bottom(), g.right(), g.bottom());
  } else if (part == 22) {
    int d = std::max(2, side / 3);
    p.setPen(QPen(p.pen().color(), 1));
    p.drawRect(g.adjusted(d, 0, 0, -d));
    p.fillRect(g.adjusted(0, d, -d, 0), Sys(COLOR_BTNFACE));
    p.drawRect(g.adjusted(0, d, -d, 0));
    p.drawLine(g.left(), g.top() + d + 1, g.right() - d, g.top() + d + 1);
  } else {
    p.setRenderHint(QPainter::Antialiasing);
    QRectF f = QRectF(g).adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawLine(f.topLeft(), f.bottomRight());
    p.drawLine(f.topRight(), f.bottomLeft());
  }
  return image;
}

QImage ToolBarPart(int part, int state, QSize size) {
  QImage image = Blank(size);
  QRect all(QPoint(0, 0), size);
  if (part == 0) {
    image.fill(Sys(COLOR_BTNFACE));
    return image;
  }
  if (part == 5 || part == 6) {
    // An etched line across the middle, short of the ends.
    QPainter p(&image);
    if (part == 5) {
      int x = size.width() / 2 - 1;
      p.fillRect(QRect(x, 2, 1, size.height() - 4), Sys(COLOR_BTNSHADOW));
      p.fillRect(QRect(x + 1, 2, 1, size.height() - 4), Sys(COLOR_BTNHIGHLIGHT));
    } else {
      int y = size.height() / 2 - 1;
      p.fillRect(QRect(2, y, size.width() - 4, 1), Sys(COLOR_BTNSHADOW));
      p.fillRect(QRect(2, y + 1, size.width() - 4, 1), Sys(COLOR_BTNHIGHLIGHT));
    }
    return image;
  }
  QStyleOptionToolButton o;
  QStyle::State s = QStyle::State_AutoRaise;
  switch (state) {
    case 2: s |= QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_Raised; break;
    case 3: s |= QStyle::State_Enabled | QStyle::State_Sunken; break;
    case 4: break;
    case 5: s |= QStyle::State_Enabled | QStyle::State_On; break;
    case 6: s |= QStyle::State_Enabled | QStyle::State_On | QStyle::State_MouseOver; break;
    default: s |= QStyle::State_Enabled; break;
  }
  Prepare(o, all, s);
  // A flat button at rest (or disabled) shows the bar behind it.
  if (state != 1 && state != 4) Primitive(image, QStyle::PE_PanelButtonTool, o);
  if (part == 2 || part == 4) {
    QStyleOption arrow;
    int w = std::min(size.width(), 9);
    Prepare(arrow, QRect(size.width() - w - (part == 2 ? 2 : (size.width() - w) / 2), 0, w, size.height()),
            state == 4 ? QStyle::State_None : QStyle::State_Enabled);
    Primitive(image, QStyle::PE_IndicatorArrowDown, arrow);
  }
  return image;
}

// Fusion's own size grip is too faint on the face colour: a triangle of raised dots.
void SizeGrip(QImage& image) {
  QPainter p(&image);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col <= row; ++col) {
      int x = image.width() - 4 - col * 4, y = image.height() - 4 - (row - col) * 4;
      p.fillRect(QRect(x + 1, y + 1, 2, 2), Sys(COLOR_BTNHIGHLIGHT));
      p.fillRect(QRect(x, y, 2, 2), Sys(COLOR_BTNSHADOW));
    }
}

QImage Render(int c, int part, int state, QSize size) {
  if (state == 0) state = 1;
  QImage image = Blank(size);
  QRect all(QPoint(0, 0), size);
  switch (c) {
    case cButton: {
      QStyleOptionButton o;
      if (part == 1) {
        Prepare(o, all, PushState(state == 5 ? 1 : state));
        if (state == 5) o.features = QStyleOptionButton::DefaultButton;
        Primitive(image, QStyle::PE_PanelButtonCommand, o);
      } else if (part == 2 || part == 3) {
        int sub = (state - 1) % 4 + 1;
        int check = (state - 1) / 4;  // unchecked, checked, mixed
        Prepare(o, all, PushState(sub) & ~QStyle::State_Raised);
        o.state |= check == 0 ? QStyle::State_Off : check == 1 ? QStyle::State_On : QStyle::State_NoChange;
        Primitive(image, part == 2 ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, o);
      } else {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Sys(state == 2 ? COLOR_GRAYTEXT : COLOR_BTNSHADOW));
        p.drawRoundedRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
      }
      return image;
    }
    case cComboBox:
      return ComboButton(state, size);
    case cEdit: {
      QStyleOptionFrame o;
      QStyle::State s = QStyle::State_Enabled | QStyle::State_Sunken;
      if (state == 2) s |= QStyle::State_MouseOver;
      if (state == 3 || state == 5) s |= QStyle::State_HasFocus;
      if (state == 4) s = QStyle::State_Sunken;
      if (state == 6) s |= QStyle::State_ReadOnly;
      Prepare(o, all, s);
      o.lineWidth = 1;
      if (state == 6) o.palette.setColor(QPalette::Base, Sys(COLOR_BTNFACE));
      {
        QPainter p(&image);
        p.fillRect(all.adjusted(1, 1, -1, -1), o.palette.base());
      }
      Primitive(image, QStyle::PE_PanelLineEdit, o);
      return image;
    }
    case cHeader: {
      QStyleOptionHeader o;
      int sub = (state - 1) % 3 + 1;
      Prepare(o, all, PushState(sub));
      o.position = part == 2 ? QStyleOptionHeader::Beginning
                   : part == 3 ? QStyleOptionHeader::End : QStyleOptionHeader::Middle;
      o.orientation = Qt::Horizontal;
      Element(image, QStyle::CE_HeaderSection, o);
      return image;
    }
    case cListBox:
    case cListView: {
      QStyleOptionFrame o;
      Prepare(o, all, c == cListBox && state == 4 ? QStyle::State_None : QStyle::State_Enabled);
      if (c == cListBox && (state == 2 || state == 3)) o.state |= QStyle::State_HasFocus;
      o.lineWidth = 1;
      o.frameShape = QFrame::StyledPanel;
      Primitive(image, QStyle::PE_Frame, o);
      return image;
    }
    case cProgress: {
      bool horizontal = part == 1 || part == 3;
      QStyleOptionProgressBar o;
      if (part == 1 || part == 2) {
        Prepare(o, all, QStyle::State_Enabled | (horizontal ? QStyle::State_Horizontal : QStyle::State_None));
        Element(image, QStyle::CE_ProgressBarGroove, o);
        return image;
      }
      QRect whole(0, 0, size.width() + 4, size.height() + 4);
      Prepare(o, whole, QStyle::State_Enabled | (horizontal ? QStyle::State_Horizontal : QStyle::State_None));
      o.minimum = 0;
      o.maximum = o.progress = 100;
      QImage bar = Blank(whole.size());
      Element(bar, QStyle::CE_ProgressBarContents, o);
      return bar.copy(QRect(2, 2, size.width(), size.height()));
    }
    case cRebar: {
      if (part == 0) {
        image.fill(Sys(COLOR_BTNFACE));
        return image;
      }
      // Fusion's handle dots are too pale to find on the bar's face: a row of raised dots in
      // the shadow and highlight colours instead, along the strip (down it for part 1, across
      // for part 2), each a dark 2 x 2 square with a light one behind it.
      QPainter p(&image);
      const bool down = part == 1;
      const int length = down ? size.height() : size.width();
      const int across = down ? size.width() : size.height();
      const int at = std::max(0, (across - 3) / 2);
      for (int i = 2; i + 3 <= length - 1; i += 4) {
        const QPoint dot = down ? QPoint(at, i) : QPoint(i, at);
        p.fillRect(QRect(dot + QPoint(1, 1), QSize(2, 2)), Sys(COLOR_BTNHIGHLIGHT));
        p.fillRect(QRect(dot, QSize(2, 2)), Sys(COLOR_BTNSHADOW));
      }
      return image;
    }
    case cScrollBar: {
      if (part == 10) {
        image.fill(Sys(COLOR_BTNFACE));
        SizeGrip(image);
        return image;
      }
      return ScrollBarPart(part, state, size);
    }
    case cSpin:
      return SpinPart(part, state, size);
    case cStatus: {
      if (part == 0) {
        image.fill(Sys(COLOR_BTNFACE));
        QPainter p(&image);
        p.setPen(Sys(COLOR_BTNSHADOW));
        p.drawLine(0, 0, size.width() - 1, 0);
        return image;
      }
      if (part == 3) {
        SizeGrip(image);
        return image;
      }
      QPainter p(&image);  // a pane's etched edge
      p.setPen(Sys(COLOR_BTNSHADOW));
      p.drawLine(0, 2, 0, size.height() - 3);
      p.setPen(Sys(COLOR_BTNHIGHLIGHT));
      p.drawLine(1, 2, 1, size.height() - 3);
      return image;
    }
    case cTab: {
      if (part == 9) {
        QStyleOptionTabWidgetFrame o;
        Prepare(o, all, QStyle::State_Enabled);
        o.lineWidth = 1;
        o.shape = QTabBar::RoundedNorth;
        image.fill(Qt::transparent);
        {
          QPainter p(&image);
          p.fillRect(all.adjusted(1, 1, -1, -1), Sys(COLOR_BTNFACE));
        }
        Primitive(image, QStyle::PE_FrameTabWidget, o);
        return image;
      }
      QStyleOptionTab o;
      QStyle::State s = QStyle::State_Enabled;
      if (state == 2) s |= QStyle::State_MouseOver;
      if (state == 3) s |= QStyle::State_Selected;
      if (state == 4) s = QStyle::State_None;
      if (state == 5) s |= QStyle::State_Selected | QStyle::State_HasFocus;
      Prepare(o, all, s);
      o.shape = QTabBar::RoundedNorth;
      o.position = QStyleOptionTab::Middle;
      Element(image, QStyle::CE_TabBarTabShape, o);
      return image;
    }
    case cToolBar:
      return ToolBarPart(part, state, size);
    case cToolTip: {
      QStyleOptionFrame o;
      Prepare(o, all, QStyle::State_Enabled);
      o.lineWidth = 1;
      {
        QPainter p(&image);
        p.fillRect(all, Sys(COLOR_INFOBK));
        p.setPen(Sys(COLOR_INFOTEXT));
        p.drawRect(all.adjusted(0, 0, -1, -1));
      }
      return image;
    }
    case cTrackBar:
      return TrackBarPart(part, state, size);
    case cTreeView: {
      QStyleOption o;
      Prepare(o, all, QStyle::State_Enabled | QStyle::State_Children | QStyle::State_Item |
                          (state == 2 ? QStyle::State_Open : QStyle::State_None));
      Primitive(image, QStyle::PE_IndicatorBranch, o);
      return image;
    }
    case cWindow:
      return WindowButton(part, state, size);
  }
  return image;
}

// Rendered parts by class, part, state and size; emptied whenever the look may have changed.
using TKey = std::tuple<int, int, int, int, int>;
std::map<TKey, QImage>& Cache() {
  static std::map<TKey, QImage> cache;
  return cache;
}

const QImage& CachedPart(int c, int part, int state, QSize size) {
  auto& cache = Cache();
  if (cache.size() > 4096) cache.clear();
  TKey key{c, part, std::max(state, 1), size.width(), size.height()};
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, Render(c, part, state, size)).first;
  return it->second;
}

void Forget() {
  Cache().clear();
  gPaletteBuilt = false;
}

QSize ReferenceSize(const TPartInfo& info) {
  QSize s = info.True;
  if (s.width() <= 0) s.setWidth(48);
  if (s.height() <= 0) s.setHeight(24);
  return s;
}

QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

bool Disabled(int c, int part, int state) {
  switch (c) {
    case cButton: return part == 4 ? state == 2 : (state - 1) % 4 == 3;
    case cEdit: return state == 4;
    case cTrackBar: return state == 5;
    case cComboBox: case cSpin: case cTab: case cToolBar: case cWindow: case cListBox:
      return state == 4;
    default: return false;
  }
}

COLORREF PartColor(int c, int part, int state, int prop, bool& found) {
  found = true;
  switch (prop) {
    case kBorderColor: return GetSysColor(COLOR_BTNSHADOW);
    case kGradientColor1: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case kGradientColor2: return GetSysColor(COLOR_BTNFACE);
    case kFillColor:
      if (c == cEdit) return GetSysColor(state == 4 || state == 6 ? COLOR_BTNFACE : COLOR_WINDOW);
      if (c == cToolTip) return GetSysColor(COLOR_INFOBK);
      if (c == cProgress && (part == 3 || part == 4)) return GetSysColor(COLOR_HIGHLIGHT);
      if (c == cListBox || c == cListView || c == cTreeView) return GetSysColor(COLOR_WINDOW);
      return GetSysColor(COLOR_BTNFACE);
    case kTextColor:
      if (Disabled(c, part, state)) return GetSysColor(COLOR_GRAYTEXT);
      if (c == cToolTip) return GetSysColor(COLOR_INFOTEXT);
      if (c == cEdit || c == cListBox || c == cListView || c == cTreeView)
        return GetSysColor(COLOR_WINDOWTEXT);
      return GetSysColor(COLOR_BTNTEXT);
  }
  found = false;
  return 0;
}

// ---- the entries

uintptr_t OpenThemeDataEntry(HWND, const char16_t* classList) {
  if (!gActive || !classList) return 0;
  QString list = QString::fromUtf16(classList);
  for (const QString& name : list.split(u';')) {
    QString n = name.trimmed();
    for (int c = 0; c < cClassCount; ++c)
      if (n.compare(QLatin1String(kClassNames[c]), Qt::CaseInsensitive) == 0) return uintptr_t(c + 1);
  }
  return 0;
}

HRESULT CloseThemeDataEntry(uintptr_t theme) { return ClassOf(theme) < 0 ? kInvalidArg : kOk; }

HRESULT DrawThemeBackgroundEntry(uintptr_t theme, HDC hdc, int part, int state, const RECT* rect,
                                 const RECT* clip) {
  int c = ClassOf(theme);
  if (c < 0 || !rect) return kInvalidArg;
  if (!FindPart(c, part, state)) return kNotFound;
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return kInvalidArg;
  QRect r = ToQRect(*rect);
  if (r.isEmpty()) return kOk;
  const QImage& image = CachedPart(c, part, state, r.size());
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return kFail;
  if (clip) p.setClipRect(ToQRect(*clip), Qt::IntersectClip);
  p.drawImage(r.topLeft(), image);
  return kOk;
}

HRESULT DrawThemeTextEntry(uintptr_t theme, HDC hdc, int part, int state, const char16_t* text,
                           int count, DWORD flags, DWORD, const RECT* rect) {
  int c = ClassOf(theme);
  if (c < 0 || !rect || !text) return kInvalidArg;
  std::u16string w = count < 0 ? std::u16string(text) : std::u16string(text, size_t(count));
  std::string utf8 = QString::fromStdU16String(w).toStdString();
  RECT r = *rect;
  int mode = SetBkMode(hdc, TRANSPARENT);
  COLORREF old = 0;
  bool gray = Disabled(c, part, state);
  if (gray) old = SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  DrawText(hdc, utf8, -1, &r, flags);
  if (gray) SetTextColor(hdc, old);
  SetBkMode(hdc, mode);
  return kOk;
}

HRESULT GetThemeBackgroundContentRectEntry(uintptr_t theme, HDC, int part, int state,
                                           const RECT* bounds, RECT* content) {
  int c = ClassOf(theme);
  if (c < 0 || !bounds || !content) return kInvalidArg;
  const TPartInfo* info = FindPart(c, part, state);
  if (!info) return kNotFound;
  *content = {bounds->left + info->Content.left(), bounds->top + info->Content.top(),
              bounds->right - info->Content.right(), bounds->bottom - info->Content.bottom()};
  return kOk;
}

HRESULT GetThemePartSizeEntry(uintptr_t theme, HDC, int part, int state, const RECT* rect,
                              int kind, SIZE* size) {
  int c = ClassOf(theme);
  if (c < 0 || !size) return kInvalidArg;
  const TPartInfo* info = FindPart(c, part, state);
  if (!info) return kNotFound;
  QSize s = kind == 0 && !info->Min.isEmpty() ? info->Min : info->True;
  if (kind == 2 && rect) s = ToQRect(*rect).size();
  size->cx = s.width();
  size->cy = s.height();
  return kOk;
}

HRESULT GetThemeBackgroundRegionEntry(uintptr_t theme, HDC, int part, int state, const RECT* rect,
                                      HRGN* region) {
  int c = ClassOf(theme);
  if (c < 0 || !rect || !region) return kInvalidArg;
  if (!FindPart(c, part, state)) return kNotFound;
  QRect r = ToQRect(*rect);
  QRegion covered;
  if (!r.isEmpty()) {
    const QImage& image = CachedPart(c, part, state, r.size());
    covered = QRegion(QBitmap::fromImage(image.createAlphaMask())).translated(r.topLeft());
  }
  HRGN h = CreateRectRgn(0, 0, 0, 0);
  if (TGdiRegion* g = FindRegion(h)) g->Region = covered;
  *region = h;
  return kOk;
}

HRESULT DrawThemeEdgeEntry(uintptr_t theme, HDC hdc, int, int, const RECT* dest, UINT edge,
                           UINT flags, RECT* content) {
  if (ClassOf(theme) < 0 || !dest) return kInvalidArg;
  RECT r = *dest;
  DrawEdge(hdc, &r, edge, flags | BF_ADJUST);
  if (content) *content = r;
  return kOk;
}

BOOL IsThemeBackgroundPartiallyTransparentEntry(uintptr_t theme, int part, int state) {
  int c = ClassOf(theme);
  const TPartInfo* info = c < 0 ? nullptr : FindPart(c, part, state);
  if (!info) return FALSE;
  const QImage& image = CachedPart(c, part, state, ReferenceSize(*info));
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) < 255) return TRUE;
  }
  return FALSE;
}

HRESULT GetThemeColorEntry(uintptr_t theme, int part, int state, int prop, COLORREF* color) {
  int c = ClassOf(theme);
  if (c < 0 || !color) return kInvalidArg;
  if (part != 0 && !FindPart(c, part, state)) return kNotFound;
  bool found = false;
  COLORREF value = PartColor(c, part, state, prop, found);
  if (!found) return kNotFound;
  *color = value;
  return kOk;
}

struct TMargins {
  int Left, Right, Top, Bottom;
};

HRESULT GetThemeMarginsEntry(uintptr_t theme, HDC, int part, int state, int prop, const RECT*,
                             TMargins* margins) {
  int c = ClassOf(theme);
  if (c < 0 || !margins) return kInvalidArg;
  const TPartInfo* info = FindPart(c, part, state);
  if (!info || prop != kContentMargins) return kNotFound;
  *margins = {info->Content.left(), info->Content.right(), info->Content.top(), info->Content.bottom()};
  return kOk;
}

void CopyName(const std::u16string& s, char16_t* buffer, int max) {
  if (!buffer || max <= 0) return;
  size_t n = std::min(s.size(), size_t(max - 1));
  std::copy_n(s.begin(), n, buffer);
  buffer[n] = 0;
}

HRESULT GetCurrentThemeNameEntry(char16_t* file, int maxFile, char16_t* color, int maxColor,
                                 char16_t* size, int maxSize) {
  if (!gActive) return kFail;
  CopyName(u"Fusion.msstyles", file, maxFile);
  CopyName(QString::fromStdString(gColorName).toStdU16String(), color, maxColor);
  CopyName(u"NormalSize", size, maxSize);
  return kOk;
}

BOOL IsThemeActiveEntry() { return gActive ? TRUE : FALSE; }

// The parent's background, as the parent would paint it, under the child's rectangle.
HRESULT DrawThemeParentBackgroundEntry(HWND wnd, HDC hdc, const RECT* rect) {
  HWND parent = GetParent(wnd);
  if (!parent) return kFail;
  POINT origin{0, 0};
  MapWindowPoints(wnd, parent, &origin, 1);
  int saved = SaveDC(hdc);
  if (rect) IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  OffsetWindowOrgEx(hdc, origin.x, origin.y, nullptr);
  SendMessage(parent, WM_ERASEBKGND, WPARAM(hdc), 0);
  SendMessage(parent, WM_PRINTCLIENT, WPARAM(hdc), PRF_CLIENT);
  RestoreDC(hdc, saved);
  return kOk;
}

void TellEveryWindow() {
  std::vector<HWND> windows;
  {
    std::lock_guard lock(gTableLock);
    for (auto& [id, w] : gWindows) windows.push_back(w->Handle);
  }
  for (UINT message : {WM_THEMECHANGED, WM_SYSCOLORCHANGE})
    for (HWND h : windows)
      if (IsWindow(h)) SendMessage(h, message, 0, 0);
}

}  // namespace

void InstallVisualStyles() {
  const char* env = std::getenv("SONALIX_THEMES");
  const std::string m = "UxTheme.dll";
  SetModuleEntryAs(m, "OpenThemeData", &OpenThemeDataEntry);
  SetModuleEntryAs(m, "CloseThemeData", &CloseThemeDataEntry);
  SetModuleEntryAs(m, "DrawThemeBackground", &DrawThemeBackgroundEntry);
  SetModuleEntryAs(m, "DrawThemeText", &DrawThemeTextEntry);
  SetModuleEntryAs(m, "GetThemeBackgroundContentRect", &GetThemeBackgroundContentRectEntry);
  SetModuleEntryAs(m, "GetThemePartSize", &GetThemePartSizeEntry);
  SetModuleEntryAs(m, "GetThemeBackgroundRegion", &GetThemeBackgroundRegionEntry);
  SetModuleEntryAs(m, "DrawThemeEdge", &DrawThemeEdgeEntry);
  SetModuleEntryAs(m, "IsThemeBackgroundPartiallyTransparent",
                   &IsThemeBackgroundPartiallyTransparentEntry);
  SetModuleEntryAs(m, "GetThemeColor", &GetThemeColorEntry);
  SetModuleEntryAs(m, "GetThemeMargins", &GetThemeMarginsEntry);
  SetModuleEntryAs(m, "GetCurrentThemeName", &GetCurrentThemeNameEntry);
  SetModuleEntryAs(m, "IsThemeActive", &IsThemeActiveEntry);
  SetModuleEntryAs(m, "IsAppThemed", &IsThemeActiveEntry);
  SetModuleEntryAs(m, "DrawThemeParentBackground", &DrawThemeParentBackgroundEntry);
  SetModulePresent(m, !(env && std::strcmp(env, "0") == 0));
}

void SetVisualStylesActive(bool Active) {
  gActive = Active;
  Forget();
  TellEveryWindow();
}

bool VisualStylesActive() { return gActive; }

void SetVisualStyleColorName(const std::string& Name) {
  gColorName = Name;
  Forget();
  TellEveryWindow();
}

int VisualStyleCachedParts() { return int(Cache().size()); }

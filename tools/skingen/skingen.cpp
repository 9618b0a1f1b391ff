// Draws the recording window's skin, a clean dark one, and its six icons into a folder:
//   recordskin.ini, recordskin.bmp   the skin as a designer keeps it
//   recordskin.pkg                   the compressed package (what "CompressedData" holds)
//   recordskin.skn                   the same as a skin file
//   icon0.png .. icon5.png           Record, Pause, Delete, Timer Record, Mixer, Settings (24 x 24)
//   SkinDemo.form                    a panel of skinned controls on the package with the icons
//                                    in a PNG image list, for tests and screenshots
// With two more arguments, SOURCE and TARGET, it also writes the form description SOURCE to
// TARGET with the package and the icons put in where its comment lines ask for them:
//   # CompressedData: ...            the compressed package
//   # PngImages: ...                 the six icons as a PNG image list's items
// The picture is 138 x 193; its layout (pixel rectangles) is in kIni below.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <string>

#include "controls/PngImage.h"
#include "controls/SkinData.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {

const QColor kKey(255, 0, 255);
const QColor kWindow(0x2B, 0x2F, 0x36), kWell(0x17, 0x1A, 0x1E), kEdge(0x4A, 0x51, 0x5C),
    kAccent(0x4D, 0xA3, 0xFF), kText(0xE8, 0xEC, 0xF1), kGreen(0x3D, 0xDC, 0x84), kAmber(0xF5, 0xB7, 0x3B),
    kRed(0xEF, 0x53, 0x50);

const char* const kIni =
    "[VERSION]\r\n"
    "skinname=Record\r\n"
    "skinauthor=Sonalix\r\n"
    "\r\n"
    "[PICTURES]\r\n"
    "activepicturescount=1\r\n"
    "0=recordskin.bmp\r\n"
    "\r\n"
    "[FORMINFO]\r\n"
    "clientrect=0,0,0,0\r\n"
    "\r\n"
    "[SKINOBJECTS]\r\n"
    "count=0\r\n"
    "\r\n"
    "[SKINCONTROLS]\r\n"
    "count=4\r\n"
    "0=gauge:gauge\r\n"
    "1=button:button\r\n"
    "2=checkradio:checkradio\r\n"
    "3=trackbar:trackbar\r\n"
    "\r\n"
    "[gauge]\r\n"
    "pictureindex=0\r\n"
    "skinrect=19,0,38,193\r\n"
    "progressarea=4,21,15,171\r\n"
    "progressrect=112,90,123,106\r\n"
    "vertical=1\r\n"
    "fontname=Tahoma\r\n"
    "fontheight=13\r\n"
    "fontcolor=15854824\r\n"
    "\r\n"
    "[button]\r\n"
    "pictureindex=0\r\n"
    "skinrect=44,78,93,107\r\n"
    "lefttoppoint=3,5\r\n"
    "righttoppoint=45,5\r\n"
    "clientrect=3,5,46,25\r\n"
    "leftstretch=1\r\n"
    "topstretch=1\r\n"
    "rightstretch=1\r\n"
    "bottomstretch=1\r\n"
    "stretcheffect=1\r\n"
    "morphing=1\r\n"
    "morphkind=mkdefault\r\n"
    "activeskinrect=44,0,93,29\r\n"
    "downskinrect=44,30,93,59\r\n"
    "disabledskinrect=44,163,93,192\r\n"
    "fontname=Tahoma\r\n"
    "fontheight=13\r\n"
    "fontcolor=16777215\r\n"
    "activefontcolor=16777215\r\n"
    "downfontcolor=16777215\r\n"
    "disabledfontcolor=9405306\r\n"
    "\r\n"
    "[checkradio]\r\n"
    "pictureindex=0\r\n"
    "skinrect=40,110,137,135\r\n"
    "activeskinrect=40,136,137,161\r\n"
    "checkimagearea=2,6,15,19\r\n"
    "textarea=18,0,97,25\r\n"
    "uncheckimagerect=96,0,109,13\r\n"
    "checkimagerect=96,14,109,27\r\n"
    "activeuncheckimagerect=96,28,109,41\r\n"
    "activecheckimagerect=96,42,109,55\r\n"
    "unenableduncheckimagerect=96,56,109,69\r\n"
    "unenabledcheckimagerect=96,70,109,83\r\n"
    "fontname=Tahoma\r\n"
    "fontheight=13\r\n"
    "fontcolor=15854824\r\n"
    "activefontcolor=16777215\r\n"
    "framefontcolor=15854824\r\n"
    "unenabledfontcolor=8421504\r\n"
    "\r\n"
    "[trackbar]\r\n"
    "pictureindex=0\r\n"
    "skinrect=0,0,18,46\r\n"
    "lefttoppoint=0,8\r\n"
    "leftbottompoint=0,38\r\n"
    "clientrect=0,8,18,38\r\n"
    "stretcheffect=1\r\n"
    "activeskinrect=0,50,18,96\r\n"
    "vertical=1\r\n"
    "trackarea=0,0,18,48\r\n"
    "buttonrect=120,0,138,23\r\n"
    "activebuttonrect=120,26,138,49\r\n"
    "buttontransparent=1\r\n"
    "buttontransparentcolor=16711935\r\n";

QRectF Inner(QRect r, double inset) { return QRectF(r).adjusted(inset, inset, -inset, -inset); }

void ButtonFace(QPainter& p, QRect r, QColor top, QColor bottom, QColor edge) {
  p.fillRect(r, kWindow);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(QPen(edge, 1));
  p.setBrush(g);
  p.drawRoundedRect(Inner(r, 0.5), 4, 4);
}

void Track(QPainter& p, QRect face, bool active) {
  p.fillRect(face, kWindow);
  QRectF groove(face.left() + 7, face.top() + 2, 4, face.height() - 4);
  p.setPen(Qt::NoPen);
  p.setBrush(active ? kAccent : kWell);
  p.drawRoundedRect(groove, 2, 2);
}

void Thumb(QPainter& p, QRect r, bool active) {
  p.fillRect(r, kKey);
  p.setRenderHint(QPainter::Antialiasing, false);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, active ? QColor(0x8F, 0xC6, 0xFF) : QColor(0xD5, 0xDA, 0xE1));
  g.setColorAt(1, active ? kAccent : QColor(0x9A, 0xA3, 0xAF));
  p.setPen(QPen(QColor(0x20, 0x24, 0x2A), 1));
  p.setBrush(g);
  p.drawRect(r.adjusted(1, 2, -2, -3));
  p.setPen(QColor(0x40, 0x46, 0x50));
  for (int y = r.top() + 8; y <= r.top() + 14; y += 3) p.drawLine(r.left() + 5, y, r.right() - 5, y);
}

void CheckImage(QPainter& p, QRect r, bool checked, bool hot, bool enabled) {
  p.fillRect(r, kKey);
  QColor border = !enabled ? QColor(0x55, 0x5A, 0x62) : hot ? kAccent : QColor(0x7A, 0x83, 0x8F);
  QColor fill = checked && enabled ? kAccent : checked ? QColor(0x55, 0x5A, 0x62) : kWell;
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(border);
  p.setBrush(fill);
  p.drawRect(r.adjusted(1, 1, -2, -2));
  if (checked) {
    p.setPen(QPen(QColor(Qt::white), 2));
    p.drawLine(r.left() + 3, r.top() + 6, r.left() + 5, r.top() + 9);
    p.drawLine(r.left() + 5, r.top() + 9, r.left() + 9, r.top() + 3);
  }
}

QImage SkinPicture() {
  QImage img(138, 193, QImage::Format_RGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Track bar faces, 18 x 46: the groove, and the groove lit up to the thumb.
  Track(p, QRect(0, 0, 18, 46), false);
  Track(p, QRect(0, 50, 18, 46), true);
  // The level gauge, 19 x 193, with its well in 4..15 x 21..171 and scale marks beside it.
  QRect gauge(19, 0, 19, 193);
  p.fillRect(gauge, kWindow);
  p.setPen(QPen(kEdge, 1));
  p.setBrush(kWell);
  p.drawRoundedRect(QRectF(19 + 2.5, 18.5, 14, 156), 3, 3);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(19 + 4, 21, 11, 150), kWell);
  for (int i = 0; i <= 10; ++i) {
    int y = 21 + i * 15;
    p.setPen(i == 0 ? kRed : i < 3 ? kAmber : kEdge);
    p.drawLine(19 + 0, y, 19 + 1, y);
    p.drawLine(19 + 17, y, 19 + 18, y);
  }
  p.setRenderHint(QPainter::Antialiasing);
  // Button faces, 49 x 29: hot, down, normal, and disabled below the check box rows.
  ButtonFace(p, QRect(44, 0, 49, 29), QColor(0x4C, 0x55, 0x63), QColor(0x3A, 0x41, 0x4C), kAccent);
  ButtonFace(p, QRect(44, 30, 49, 29), QColor(0x1F, 0x23, 0x29), QColor(0x2A, 0x2F, 0x37), kAccent.darker(130));
  ButtonFace(p, QRect(44, 78, 49, 29), QColor(0x40, 0x46, 0x50), QColor(0x31, 0x36, 0x3E), kEdge);
  // A disabled button sinks into the window: flat, a faint edge and no accent, so that it is
  // not taken for the pressed or the focused one.
  ButtonFace(p, QRect(44, 163, 49, 29), QColor(0x2F, 0x33, 0x3A), QColor(0x2F, 0x33, 0x3A), QColor(0x3B, 0x41, 0x4A));
  // Check images, 13 x 13: unchecked and checked, normal, hot, disabled.
  for (int i = 0; i < 6; ++i) CheckImage(p, QRect(96, 14 * i, 13, 13), i % 2 == 1, i / 2 == 1, i / 2 != 2);
  // The level bar tile, 11 x 16: a lit segment and a one-pixel gap.
  QLinearGradient bar(QPointF(112, 0), QPointF(123, 0));
  bar.setColorAt(0, kGreen.darker(120));
  bar.setColorAt(0.5, kGreen.lighter(115));
  bar.setColorAt(1, kGreen.darker(120));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRect(112, 90, 11, 16), kWell);
  p.fillRect(QRect(112, 90, 11, 14), bar);
  // The check box row faces (97 x 25), plain and hot.
  p.fillRect(QRect(40, 110, 97, 25), kWindow);
  p.fillRect(QRect(40, 136, 97, 25), kWindow.lighter(115));
  // Thumbs, 18 x 23, on the key colour.
  Thumb(p, QRect(120, 0, 18, 23), false);
  Thumb(p, QRect(120, 26, 18, 23), true);
  return img;
}

// ---- icons

QImage Icon(int Index) {
  QImage img(24, 24, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  switch (Index) {
    case 0:  // Record
      p.setBrush(kRed);
      p.drawEllipse(QRectF(4, 4, 16, 16));
      p.setBrush(QColor(255, 255, 255, 90));
      p.drawEllipse(QRectF(8, 7, 6, 4));
      break;
    case 1:  // Pause
      p.setBrush(kText);
      p.drawRoundedRect(QRectF(6, 4, 4.5, 16), 1, 1);
      p.drawRoundedRect(QRectF(13.5, 4, 4.5, 16), 1, 1);
      break;
    case 2: {  // Delete: a bin
      p.setBrush(kText);
      p.drawRoundedRect(QRectF(5, 5, 14, 2.5), 1, 1);
      p.drawRect(QRectF(10, 3, 4, 2));
      QPainterPath bin;
      bin.moveTo(6.5, 9);
      bin.lineTo(17.5, 9);
      bin.lineTo(16.5, 21);
      bin.lineTo(7.5, 21);
      bin.closeSubpath();
      p.drawPath(bin);
      p.setPen(QPen(kWindow, 1.2));
      for (double x : {10.0, 12.0, 14.0}) p.drawLine(QPointF(x, 11), QPointF(x, 19));
      break;
    }
    case 3:  // Timer Record: a clock with a red dot
      p.setPen(QPen(kText, 2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(3, 3, 16, 16));
      p.drawLine(QPointF(11, 11), QPointF(11, 6));
      p.drawLine(QPointF(11, 11), QPointF(14.5, 12.5));
      p.setPen(Qt::NoPen);
      p.setBrush(kRed);
      p.drawEllipse(QRectF(15, 15, 8, 8));
      break;
    case 4:  // Mixer: three faders
      for (int i = 0; i < 3; ++i) {
        double x = 5 + i * 7;
        p.setBrush(kEdge.lighter(150));
        p.drawRect(QRectF(x, 3, 2, 18));
        p.setBrush(i == 1 ? kAccent : kText);
        p.drawRoundedRect(QRectF(x - 2.5, 6 + i * 4.5, 7, 4), 1, 1);
      }
      break;
    default: {  // Settings: a gear
      QPainterPath gear;
      const double c = 12, outer = 10, inner = 7.5;
      for (int i = 0; i < 16; ++i) {
        double a0 = i * M_PI / 8, r = i % 2 == 0 ? outer : inner;
        for (double a : {a0 - M_PI / 20, a0 + M_PI / 20}) {
          QPointF pt(c + r * std::cos(a), c + r * std::sin(a));
          if (gear.elementCount() == 0) {
            gear.moveTo(pt);
          } else {
            gear.lineTo(pt);
          }
        }
      }
      gear.closeSubpath();
      gear.addEllipse(QPointF(c, c), 3.2, 3.2);
      p.setBrush(kText);
      p.drawPath(gear);
      break;
    }
  }
  p.end();
  return img;
}

void WritePng(const QImage& img, TStream* Out) {
  QImage colours(img.width(), img.height(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) colours.setPixel(x, y, img.pixel(x, y) | 0xFF000000u);
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetImage(colours);
  TPNGObject png;
  png.Assign(&bmp);
  png.AddAlphaChannel();
  for (int y = 0; y < img.height(); ++y) {
    uint8_t* alpha = png.AlphaRowPointer(y);
    for (int x = 0; x < img.width(); ++x) alpha[x] = uint8_t(qAlpha(img.pixel(x, y)));
  }
  png.SaveToStream(Out);
}

std::string Hex(TMemoryStream* Data, const std::string& Indent) {
  static const char digits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const uint8_t*>(Data->Memory());
  std::string out;
  for (int64_t i = 0; i < Data->Size(); ++i) {
    if (i % 32 == 0) out += (i ? "\n" : "") + Indent;
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

std::string Quoted(const std::string& Text) { return "\"" + Text + "\""; }

// Two level meters, the volume bar, the six recording buttons in four rows (normal, then rows
// a test makes hot, down and disabled) and the check box, all on one skin container.
std::string DemoForm(TMemoryStream* Package, TMemoryStream* const* Icons) {
  std::string t =
      "object SkinDemo: TForm {\n"
      "  Left = 0\n  Top = 0\n  Caption = \"Skin demo\"\n  ClientWidth = 880\n  ClientHeight = 220\n"
      "  Color = $362F2B\n"
      "  object StoredSkin: TspCompressedStoredSkin {\n"
      "    CompressedFileName = \"cool.skn\"\n"
      "    CompressedData = hex {\n" +
      Hex(Package, "      ") +
      "\n    }\n  }\n"
      "  object SkinData: TspSkinData {\n    CompressedStoredSkin = StoredSkin\n  }\n"
      "  object Icons: TspPngImageList {\n    PngWidth = 24\n    PngHeight = 24\n    PngImages = items {\n";
  for (int i = 0; i < 6; ++i)
    t += "      item {\n        Name = " + Quoted("PngImage" + IntToStr(i)) + "\n        PngImage = hex {\n" +
         Hex(Icons[i], "          ") + "\n        }\n      }\n";
  t += "    }\n  }\n";
  auto control = [&t](const std::string& Class, const std::string& Name, int L, int T, int W, int H,
                      const std::string& DataName, const std::string& More) {
    t += "  object " + Name + ": " + Class + " {\n    Left = " + IntToStr(L) + "\n    Top = " + IntToStr(T) +
         "\n    Width = " + IntToStr(W) + "\n    Height = " + IntToStr(H) +
         "\n    SkinData = SkinData\n    SkinDataName = " + Quoted(DataName) + "\n    DrawDefault = false\n" + More +
         "  }\n";
  };
  control("TspSkinGauge", "LeftGauge", 10, 12, 19, 193, "gauge",
          "    AreaName = \"LeftGauge\"\n    Vertical = true\n    MaxValue = 32512\n    Value = 24000\n");
  control("TspSkinGauge", "RightGauge", 34, 12, 19, 193, "gauge",
          "    AreaName = \"RightGauge\"\n    Vertical = true\n    MaxValue = 32512\n    Value = 9000\n");
  control("TspSkinTrackBar", "Volume", 64, 12, 18, 193, "trackbar",
          "    MaxValue = 65535\n    Value = 40000\n    Vertical = true\n    JumpWhenClick = true\n");
  const char* captions[] = {"Record", "Pause", "Delete", "Timer Record", "Mixer", "Settings"};
  const char* rows[] = {"Normal", "Hot", "Down", "Disabled"};
  for (int row = 0; row < 4; ++row)
    for (int i = 0; i < 6; ++i) {
      std::string more = "    Caption = " + Quoted(captions[i]) + "\n    ImageList = Icons\n    ImageIndex = " +
                         IntToStr(i) + "\n    UseSkinSize = false\n    CanFocused = false\n    Margin = 8\n"
                         "    Spacing = 6\n";
      if (row == 2) more += "    GroupIndex = " + IntToStr(10 + i) + "\n    Down = true\n";
      if (row == 3) more += "    Enabled = false\n";
      control("TspSkinButton", std::string(rows[row]) + "Button" + IntToStr(i), 96 + 130 * i, 12 + 40 * row, 124, 34,
              "button", more);
    }
  control("TspSkinCheckRadioBox", "WithoutSilence", 100, 180, 220, 25, "checkradio",
          "    Caption = \"Recording without silence\"\n    Flat = true\n    CanFocused = false\n    Checked = true\n");
  return t + "}\n";
}

// The description with the marked comment lines replaced by the data, indented like them.
std::string Spliced(const std::string& Source, TMemoryStream* Package, TMemoryStream* const* Icons) {
  std::string out;
  size_t at = 0;
  int done = 0;
  while (at < Source.size()) {
    size_t end = Source.find('\n', at);
    if (end == std::string::npos) end = Source.size();
    const std::string line = Source.substr(at, end - at);
    at = end + 1;
    const size_t text = line.find_first_not_of(' ');
    const std::string indent = line.substr(0, text == std::string::npos ? 0 : text);
    if (line.compare(indent.size(), 17, "# CompressedData:") == 0) {
      out += indent + "CompressedData = hex {\n" + Hex(Package, indent + "  ") + "\n" + indent + "}\n";
      ++done;
    } else if (line.compare(indent.size(), 12, "# PngImages:") == 0) {
      out += indent + "PngImages = items {\n";
      for (int i = 0; i < 6; ++i)
        out += indent + "  item {\n" + indent + "    Name = " + Quoted("PngImage" + IntToStr(i)) + "\n" + indent +
               "    PngImage = hex {\n" + Hex(Icons[i], indent + "      ") + "\n" + indent + "    }\n" + indent +
               "  }\n";
      out += indent + "}\n";
      ++done;
    } else {
      out += line + "\n";
    }
  }
  if (done == 0) throw Exception("no line of the description asks for the skin or the icons");
  return out;
}

void WriteText(const std::string& path, const std::string& text) {
  TFileStream out(path, fmCreate);
  out.WriteBuffer(text.data(), int64_t(text.size()));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: skingen FOLDER [SOURCE TARGET]\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  try {
    {
      TFileStream bmp(dir + "recordskin.bmp", fmCreate);
      WriteBmpImage(&bmp, SkinPicture(), 24);
    }
    WriteText(dir + "recordskin.ini", kIni);
    TMemoryStream icons[6];
    TMemoryStream* iconData[6];
    for (int i = 0; i < 6; ++i) {
      WritePng(Icon(i), &icons[i]);
      icons[i].SaveToFile(dir + "icon" + IntToStr(i) + ".png");
      iconData[i] = &icons[i];
    }
    RegisterSkinDataClasses();
    TspCompressedStoredSkin skin(nullptr);
    skin.BuildFromSkinFile(dir + "recordskin.ini");
    if (skin.IsEmpty()) {
      std::fprintf(stderr, "skingen: the skin INI lacks a section\n");
      return 1;
    }
    skin.CompressedStream()->SaveToFile(dir + "recordskin.pkg");
    {
      TFileStream skn(dir + "recordskin.skn", fmCreate);
      skin.SaveToSknStream(&skn);
    }
    WriteText(dir + "SkinDemo.form", DemoForm(skin.CompressedStream(), iconData));
    if (argc == 4) {
      TMemoryStream source;
      source.LoadFromFile(argv[2]);
      const std::string text(static_cast<const char*>(source.Memory()), size_t(source.Size()));
      WriteText(argv[3], Spliced(text, skin.CompressedStream(), iconData));
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}

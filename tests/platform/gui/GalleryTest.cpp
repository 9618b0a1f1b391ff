// One dialog holding every standard and common control, built from a description: a label lies
// on a picture and lets it show around its text, the controls draw in one look. With
// SONALIX_SCREENSHOT_DIR set (run under Xvfb with "-platform xcb") the dialog is saved as
// gallery.png for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/TestEnv.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

namespace {

const char* kGallery = R"(object Gallery: TForm {
  BorderStyle = bsDialog
  Caption = "Gallery"
  ClientHeight = 470
  ClientWidth = 760
  Color = clBtnFace
  Font {
    Height = -11
    Name = "DejaVu Sans"
  }
  object Banner: TPanel {
    Left = 0
    Top = 0
    Width = 760
    Height = 52
    Align = alTop
    BevelOuter = bvNone
    object Picture: TImage {
      Left = 0
      Top = 0
      Width = 760
      Height = 52
      Align = alClient
      Stretch = true
    }
    object Title: TLabel {
      Left = 14
      Top = 10
      Caption = "Sonalix controls"
      Font {
        Color = clWhite
        Height = -21
        Name = "DejaVu Sans"
        Style = [fsBold]
      }
      Transparent = true
    }
  }
  object Pages: TPageControl {
    Left = 8
    Top = 62
    Width = 370
    Height = 224
    ActivePage = FilesPage
    object FilesPage: TTabSheet {
      Caption = "Files"
      object Files: TListView {
        Left = 6
        Top = 6
        Width = 350
        Height = 180
        Columns = items {
          item {
            Caption = "File"
            Width = 120
          }
          item {
            Caption = "Path"
            Width = 200
          }
        }
        HideSelection = false
        MultiSelect = true
        ReadOnly = true
        RowSelect = true
        ViewStyle = vsReport
      }
    }
    object TimerPage: TTabSheet {
      Caption = "Timer"
    }
    object HiddenPage: TTabSheet {
      Caption = "Hidden"
      TabVisible = false
    }
  }
  object Side: TPanel {
    Left = 388
    Top = 62
    Width = 164
    Height = 224
    BevelOuter = bvLowered
    object Tools: TLabel {
      Left = 10
      Top = 10
      Caption = "&Zoom"
    }
    object ZoomIn: TSpeedButton {
      Left = 10
      Top = 30
      Width = 44
      Height = 24
      Caption = "In"
      GroupIndex = 1
      Down = true
    }
    object ZoomOut: TSpeedButton {
      Left = 58
      Top = 30
      Width = 44
      Height = 24
      Caption = "Out"
      GroupIndex = 1
    }
    object ZoomFull: TSpeedButton {
      Left = 106
      Top = 30
      Width = 44
      Height = 24
      Caption = "Full"
      Flat = true
      GroupIndex = 1
    }
    object Line: TBevel {
      Left = 10
      Top = 66
      Width = 140
      Height = 2
      Shape = bsTopLine
    }
    object VolumeLabel: TLabel {
      Left = 10
      Top = 78
      Caption = "Volume"
    }
    object Volume: TScrollBar {
      Left = 10
      Top = 96
      Width = 140
      Height = 17
      LargeChange = 8192
      Max = 65535
      Position = 40000
      SmallChange = 1024
    }
    object BatchLabel: TLabel {
      Left = 10
      Top = 124
      Caption = "Batch = 60%"
    }
    object Batch: TProgressBar {
      Left = 10
      Top = 142
      Width = 140
      Height = 16
      Position = 60
    }
  }
  object StartLabel: TLabel {
    Left = 8
    Top = 298
    Caption = "Start:"
  }
  object StartDay: TDateTimePicker {
    Left = 46
    Top = 294
    Width = 110
    Height = 22
  }
  object StartTime: TDateTimePicker {
    Left = 162
    Top = 294
    Width = 104
    Height = 22
    Kind = dtkTime
  }
  object StopLabel: TLabel {
    Left = 280
    Top = 298
    Caption = "Stop after:"
  }
  object StopAfter: TDateTimePicker {
    Left = 346
    Top = 294
    Width = 78
    Height = 22
    Format = "HH:mm:ss"
    Kind = dtkTime
  }
  object Hours: TLabel {
    Left = 430
    Top = 298
    Caption = "h : m : s"
  }
  object Output: TGroupBox {
    Left = 560
    Top = 62
    Width = 192
    Height = 134
    Caption = "Output"
    object Wav: TRadioButton {
      Left = 10
      Top = 20
      Width = 70
      Height = 17
      Caption = "&WAV"
      Checked = true
    }
    object Mp3: TRadioButton {
      Left = 96
      Top = 20
      Width = 70
      Height = 17
      Caption = "&MP3"
    }
    object Rate: TComboBox {
      Left = 10
      Top = 44
      Width = 172
      Height = 22
      Style = csDropDownList
      Items = ("48,000 Hz", "44,100 Hz", "22,050 Hz")
      ItemIndex = 1
    }
    object FileName: TEdit {
      Left = 10
      Top = 74
      Width = 172
      Height = 22
      Text = "take 2"
    }
    object Tags: TCheckBox {
      Left = 10
      Top = 106
      Width = 172
      Height = 17
      Caption = "Write &tags"
      Checked = true
    }
  }
  object Channels: TRadioGroup {
    Left = 560
    Top = 202
    Width = 192
    Height = 84
    Caption = "Channels"
    Items = ("Mono", "Stereo", "Left only", "Right only")
    Columns = 2
    ItemIndex = 1
  }
  object Notes: TMemo {
    Left = 8
    Top = 328
    Width = 370
    Height = 90
    Lines = ("Recorded live on the second night.", "Trim the applause at the end, then normalize to -1 dB.")
    ScrollBars = ssVertical
  }
  object Recent: TListBox {
    Left = 388
    Top = 328
    Width = 164
    Height = 90
    Items = ("intro.wav", "take 2.mp3", "voice.ogg", "loop.aiff")
  }
  object OK: TButton {
    Left = 560
    Top = 328
    Width = 92
    Height = 25
    Caption = "OK"
    Default = true
    ModalResult = 1
  }
  object Cancel: TButton {
    Left = 660
    Top = 328
    Width = 92
    Height = 25
    Cancel = true
    Caption = "Cancel"
    ModalResult = 2
  }
  object Status: TPanel {
    Left = 8
    Top = 434
    Width = 744
    Height = 26
    Alignment = taLeftJustify
    BevelOuter = bvLowered
    Caption = " Ready"
  }
}
)";

// A picture to lie under the label: a dark blue to teal sweep.
void PaintBanner(TImage* Image) {
  TBitmap bmp;
  bmp.SetSize(280, 26);
  for (int x = 0; x < bmp.Width(); ++x)
    for (int y = 0; y < bmp.Height(); ++y) {
      uint8_t* p = bmp.ScanLine(y) + 4 * x;
      p[0] = uint8_t(120 + x * 100 / 280);  // blue
      p[1] = uint8_t(40 + x * 80 / 280);    // green
      p[2] = uint8_t(20);                   // red
    }
  Image->Picture()->SetBitmap(&bmp);
}

TEST(Gallery, EveryControlInOneDialog) {
  RegisterGuiClasses();
  auto form = std::make_unique<TForm>(nullptr);
  ReadComponentFromText(form.get(), kGallery);
  PaintBanner(static_cast<TImage*>(form->FindComponent("Picture")));
  auto* files = static_cast<TListView*>(form->FindComponent("Files"));
  const char* rows[][2] = {{"intro.wav", "/home/user/Music/"}, {"take 2.mp3", "/home/user/Music/live/"},
                           {"voice.ogg", "/home/user/Recordings/"}};
  for (auto& r : rows) {
    TListItem* item = files->Items()->Add();
    item->SetCaption(r[0]);
    item->SubItems()->Add(r[1]);
  }
  files->Items()->Item(1)->SetSelected(true);
  static_cast<TDateTimePicker*>(form->FindComponent("StartDay"))->SetDateTime(46000.5);
  static_cast<TDateTimePicker*>(form->FindComponent("StartTime"))->SetDateTime(46000.5);
  static_cast<TDateTimePicker*>(form->FindComponent("StopAfter"))->SetTime(EncodeTime(0, 30, 0, 0));
  form->Show();
  Application->ProcessMessages();

  QWidget* window = GetWindowWidget(form->Handle());
  QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(form->ClientWidth(), form->ClientHeight()));

  // Around the label's letters the picture shows, not the form's face colour.
  auto* title = static_cast<TControl*>(form->FindComponent("Title"));
  const QRgb face = TColorToQColor(clBtnFace).rgb();
  QRgb nearTitle = shot.pixel(title->Left() + 1, title->Top() + title->Height() - 1);
  EXPECT_NE(nearTitle, face);
  EXPECT_GT(qBlue(nearTitle), qRed(nearTitle) + 60);
  // The label's white letters are there.
  bool white = false;
  for (int x = title->Left(); x < title->Left() + title->Width() && !white; ++x)
    for (int y = title->Top(); y < title->Top() + title->Height() && !white; ++y)
      white = shot.pixel(x, y) == qRgb(255, 255, 255);
  EXPECT_TRUE(white);

  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR"))
    EXPECT_TRUE(shot.save(QString::fromStdString(std::string(dir) + "/gallery.png")));
  else
    EXPECT_TRUE(shot.save(QString::fromStdString((sonalix::test::SheetDir() / "gallery.png").string())));
}

}  // namespace

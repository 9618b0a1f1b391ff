// The WAV, MP3, OGG and WMA setup dialogs and their Configure dialogs, built from their
// descriptions, loaded from the settings record and driven with real input; the nested Configure
// dialog answers through the modal hook.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FormatDialogInput.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "controls/ImageSlider.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/WaveFormat.h"
#include "operations/WmaFormat.h"
#include "platform/gui/GuiInput.h"
#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"

namespace {

using formatdialogs::FreshSettings;
using formatdialogs::Press;
using formatdialogs::ShowLoaded;

template <class T>
T* Find(TComponent* Form, const char* Name) {
  auto* c = dynamic_cast<T*>(Form->FindComponent(Name));
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

// A point on the control (Dx from its left edge, halfway down) in its form's client area.
QPoint At(TControl* C, int Dx = -1) {
  TPoint p =
      C->ClientToParent(TPoint(Dx < 0 ? C->Width() / 2 : Dx, C->Height() / 2), GetParentForm(C));
  return QPoint(p.X, p.Y);
}

void ClickRadio(TForm* Form, const char* Name) {
  guitest::Click(Form, At(Find<TRadioButton>(Form, Name), 6));
}

std::string Caption(TComponent* Form, const char* Name) {
  return Find<TLabel>(Form, Name)->Caption();
}

bool Enabled(TComponent* Form, const char* Name) { return Find<TControl>(Form, Name)->Enabled(); }

// Answers every modal dialog while alive with Answer(request), then puts the hook back.
class ModalAnswers {
 public:
  explicit ModalAnswers(std::function<int(const TModalRequest&)> Answer)
      : FPrevious(SetModalHook([this, Answer](const TModalRequest& r) {
          Seen.push_back(r.DialogClass.empty() ? r.Text : r.DialogClass);
          return Answer(r);
        })) {}
  ~ModalAnswers() { SetModalHook(FPrevious); }
  std::vector<std::string> Seen;

 private:
  TModalHook FPrevious;
};

struct SetupCase {
  const char* Name;
  std::function<std::unique_ptr<TFormatSetupForm>()> Make;
  const char* Preset;
  const char* Description;
  const char* Summary;
};

const SetupCase SetupCases[] = {
    {"wav", [] { return ShowLoaded<TWaveFormatForm>(); }, "CD Quality",
     "44,100 Hz, 16 bits, Stereo", "WAV, 44,100 Hz, 16 bits, Stereo"},
    {"mp3", [] { return ShowLoaded<TMp3FormatForm>(); }, "CD Quality",
     "[MPEG 1, Layer 3, 192kbps, Stereo]", "MPEG 1, Layer 3, 192kbps, Stereo"},
    {"ogg", [] { return ShowLoaded<TOGGFormatForm>(); }, "CD Quality", "192 kbps, Stereo",
     "Variable bit rate 60%, Stereo"},
};

const char* const kPresetParts[] = {"LabelPresetQuality1", "LabelPresetQuality2", "LabelLowQuality",
                                    "ImageSliderPreset", "LabelHighQuality"};
const char* const kSpecifyParts[] = {"LabelSpecifySettings", "ButtonConfigure"};

TEST(FormatSetupDialogs, DefaultsShowTheStoredPresetAndTheRadiosSwapWhatIsEnabled) {
  FreshSettings();
  for (const SetupCase& c : SetupCases) {
    SCOPED_TRACE(c.Name);
    SetDefaultGlobalVars(GlobalVars);
    auto form = c.Make();
    EXPECT_EQ(Caption(form.get(), "LabelPresetQuality1"), c.Preset);
    EXPECT_EQ(Caption(form.get(), "LabelPresetQuality2"), c.Description);
    EXPECT_EQ(Caption(form.get(), "LabelSpecifySettings"), c.Summary);
    EXPECT_EQ(form->DescribeSettings(), c.Summary);
    EXPECT_TRUE(form->RadioButtonPresetQuality->Checked());
    for (const char* part : kPresetParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;
    for (const char* part : kSpecifyParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;

    ClickRadio(form.get(), "RadioButtonSpecifySettings");
    EXPECT_FALSE(form->RadioButtonPresetQuality->Checked());
    for (const char* part : kPresetParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
    for (const char* part : kSpecifyParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;

    ClickRadio(form.get(), "RadioButtonPresetQuality");
    for (const char* part : kPresetParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;
    for (const char* part : kSpecifyParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  }
}

// Each slider position shows its row; the ends of every table, and a stored value off the table
// keeps the texts the slider last showed.
TEST(FormatSetupDialogs, PresetSliderShowsTheRowOfItsPosition) {
  FreshSettings();
  struct Row {
    std::function<std::unique_ptr<TFormatSetupForm>()> Make;
    int Key;
    const char* Preset;
    const char* Description;
  };
  const Row rows[] = {
      {[] { return ShowLoaded<TWaveFormatForm>(); }, Qt::Key_Home, "FM Quality",
       "22,050 Hz, 16 bits, Stereo"},
      {[] { return ShowLoaded<TWaveFormatForm>(); }, Qt::Key_End, "Hi-Fi Quality",
       "96,000 Hz, 16 bits, Stereo"},
      {[] { return ShowLoaded<TMp3FormatForm>(); }, Qt::Key_Home, "Phone Quality",
       "[MPEG 2.5, Layer 3, 16kbps, Mono]"},
      {[] { return ShowLoaded<TMp3FormatForm>(); }, Qt::Key_End, "Super Quality!",
       "[MPEG 1, Layer 3, 320kbps, Stereo]"},
      {[] { return ShowLoaded<TMp3FormatForm>(); }, Qt::Key_Left, "Hi-Fi Quality",
       "[MPEG 1, Layer 3, 160kbps, Joint Stereo]"},
      {[] { return ShowLoaded<TOGGFormatForm>(); }, Qt::Key_Home, "Voice Quality", "64 kbps, Mono"},
      {[] { return ShowLoaded<TOGGFormatForm>(); }, Qt::Key_End, "Best Quality",
       "320 kbps, Stereo"},
      {[] { return ShowLoaded<TWMAFormatForm>(); }, Qt::Key_Home, "Phone Quality",
       "[WMA, 8 kbps, 8,000 Hz, Mono]"},
      {[] { return ShowLoaded<TWMAFormatForm>(); }, Qt::Key_Left, "Tape Quality",
       "[WMA, 96 kbps, 44,100 Hz, Stereo]"},
      {[] { return ShowLoaded<TWMAFormatForm>(); }, Qt::Key_End, "Studio Quality",
       "[WMA, 192 kbps, 44,100 Hz, Stereo]"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Preset);
    auto form = r.Make();
    Press(form->ImageSliderPreset, r.Key);
    EXPECT_EQ(Caption(form.get(), "LabelPresetQuality1"), r.Preset);
    EXPECT_EQ(Caption(form.get(), "LabelPresetQuality2"), r.Description);
  }
  auto wma = ShowLoaded<TWMAFormatForm>();
  EXPECT_EQ(Caption(wma.get(), "LabelPresetQuality1"), "CD Quality");
  wma->ImageSliderPreset->SetMaxValue(20);
  wma->ImageSliderPreset->SetValue(12);
  EXPECT_EQ(Caption(wma.get(), "LabelPresetQuality1"), "CD Quality");
  EXPECT_EQ(Caption(wma.get(), "LabelPresetQuality2"), "[WMA, 128 kbps, 44,100 Hz, Stereo]");
}

TEST(FormatSetupDialogs, SavingStoresTheCheckedChoiceAndTheSlidersLowByte) {
  FreshSettings();
  // The MP3 dialog loads "specify" and its stored preset; moving and saving stores both.
  GlobalVars.OutputMP3Type = 1;
  GlobalVars.OutputMP3Presets = 3;
  auto mp3 = ShowLoaded<TMp3FormatForm>();
  EXPECT_TRUE(mp3->RadioButtonSpecifySettings->Checked());
  EXPECT_FALSE(Enabled(mp3.get(), "ImageSliderPreset"));
  EXPECT_EQ(Caption(mp3.get(), "LabelPresetQuality1"), "FM Quality");
  ClickRadio(mp3.get(), "RadioButtonPresetQuality");
  Press(mp3->ImageSliderPreset, Qt::Key_Right, 2);
  mp3->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputMP3Type, 0);
  EXPECT_EQ(GlobalVars.OutputMP3Presets, 5);

  // A stored type other than 0 and 1 leaves the radios as described.
  GlobalVars.OutputOGGType = 2;
  auto ogg = ShowLoaded<TOGGFormatForm>();
  EXPECT_TRUE(ogg->RadioButtonPresetQuality->Checked());
  EXPECT_FALSE(ogg->RadioButtonSpecifySettings->Checked());

  // Neither radio checked: the type stays as stored.
  GlobalVars.OutputWAVType = 1;
  auto wav = ShowLoaded<TWaveFormatForm>();
  wav->RadioButtonSpecifySettings->SetChecked(false);
  GlobalVars.OutputWAVType = 7;
  wav->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputWAVType, 7);
  // Loading type 0 checks the preset radio again.
  GlobalVars.OutputWAVType = 0;
  wav->RadioButtonSpecifySettings->SetChecked(true);
  wav->LoadSettings();
  EXPECT_TRUE(wav->RadioButtonPresetQuality->Checked());
  EXPECT_TRUE(Enabled(wav.get(), "ImageSliderPreset"));

  // Only the low byte of the position is stored.
  auto wma = ShowLoaded<TWMAFormatForm>();
  wma->ImageSliderPreset->SetMaxValue(400);
  wma->ImageSliderPreset->SetValue(300);
  wma->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputWMAPresets, 300 - 256);
}

// Configure writes the specified fields at once; Cancel on the setup dialog keeps them and the
// old type. The whole round goes through the callers' protocol, the modal hook playing the user.
TEST(FormatSetupDialogs, ConfigureOkThenSetupCancelKeepsTheSpecifiedFieldsAndTheOldType) {
  FreshSettings();
  TForm caller(nullptr);
  caller.SetBounds(100, 50, 801, 600);
  TWaveFormatForm setup(&caller);
  std::string summaryAfterConfigure;
  ModalAnswers answers([&](const TModalRequest& r) {
    if (r.DialogClass == "TWaveFormatSpecifyForm") {
      auto* d = static_cast<TWaveFormatSpecifyForm*>(r.Dialog);
      // Loaded from the record before it shows, and centred over the setup dialog.
      EXPECT_EQ(d->ComboBoxSampleRate->ItemIndex(), 7);
      EXPECT_TRUE(d->RadioButtonStereo->Checked());
      EXPECT_EQ(d->Top(), setup.Top() + (setup.Height() - d->Height()) / 2);
      d->ComboBoxSampleRate->SetItemIndex(0);
      d->ComboBoxBitDepth->SetItemIndex(0);
      d->RadioButtonMono->SetChecked(true);
      return mrOk;
    }
    if (r.DialogClass == "TWaveFormatForm") {
      setup.RadioButtonSpecifySettings->SetChecked(true);
      setup.ButtonConfigureClick(setup.ButtonConfigure);
      summaryAfterConfigure = setup.LabelSpecifySettings->Caption();
      return mrCancel;
    }
    return 0;
  });
  EXPECT_FALSE(RunFormatDialog(setup, &caller));
  EXPECT_EQ(answers.Seen, (std::vector<std::string>{"TWaveFormatForm", "TWaveFormatSpecifyForm"}));
  EXPECT_EQ(summaryAfterConfigure, "WAV, 8,000 Hz, 8 bits, Mono");
  EXPECT_EQ(GlobalVars.OutputWAVSampleType, 0);
  EXPECT_EQ(GlobalVars.OutputWAVBitesPerSample, 0);
  EXPECT_EQ(GlobalVars.OutputWAVMode, 1);
  EXPECT_EQ(GlobalVars.OutputWAVType, 0);
  EXPECT_EQ(setup.Left(), 100 + (801 - setup.Width()) / 2);
}

TEST(FormatSetupDialogs, ConfigureCancelStoresNothing) {
  FreshSettings();
  auto setup = ShowLoaded<TOGGFormatForm>();
  ClickRadio(setup.get(), "RadioButtonSpecifySettings");
  ModalAnswers answers([](const TModalRequest& r) {
    static_cast<TOGGSettingsSpecifyForm*>(r.Dialog)->RadioButtonAverage->SetChecked(true);
    return mrCancel;
  });
  const TGlobalVars before = GlobalVars;
  guitest::Click(setup.get(), At(setup->ButtonConfigure));
  EXPECT_EQ(answers.Seen, std::vector<std::string>{"TOGGSettingsSpecifyForm"});
  EXPECT_TRUE(GlobalVars == before);
  EXPECT_EQ(setup->LabelSpecifySettings->Caption(), "Variable bit rate 60%, Stereo");
}

std::vector<std::string> gHelpShown;

HWND RecordingViewer(HWND, const char* File, unsigned Command, uintptr_t) {
  if (Command == HH_DISPLAY_TOPIC) gHelpShown.push_back(File);
  return nullptr;
}

// Each Help button opens its format's page.
TEST(FormatSetupDialogs, HelpOpensTheFormatsPage) {
  FreshSettings();
  TModuleTableGuard guard;
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA", &RecordingViewer);
  std::vector<std::unique_ptr<TFormatSetupForm>> forms;
  forms.push_back(ShowLoaded<TWaveFormatForm>());
  forms.push_back(ShowLoaded<TMp3FormatForm>());
  forms.push_back(ShowLoaded<TOGGFormatForm>());
  forms.push_back(ShowLoaded<TWMAFormatForm>());
  for (auto& form : forms) guitest::Click(form.get(), At(form->ButtonHelp));
  EXPECT_EQ(gHelpShown, (std::vector<std::string>{
                            HelpTopicTarget("wavsettings"), HelpTopicTarget("mp3settings"),
                            HelpTopicTarget("oggsettings"), HelpTopicTarget("wmasettings")}));
}

// ---- the Configure dialogs

std::unique_ptr<TMp3SettingsSpecifyForm> ShowMp3Configure() {
  return ShowLoaded<TMp3SettingsSpecifyForm>();
}

TEST(Mp3Configure, ConstantDisablesTheWholeVariableGroupAndChecksumStays) {
  FreshSettings();
  auto form = ShowMp3Configure();
  const char* const variableParts[] = {
      "GroupBoxVariable", "LabelMin",           "ComboBoxMin",           "LabelMax",
      "ComboBoxMax",      "RadioButtonQuality", "RadioButtonSetAverage", "CheckBoxWriteXING"};
  const char* const qualityParts[] = {"ImageSliderQuality", "LabelLow", "LabelHigh",
                                      "LabelQuality"};
  EXPECT_TRUE(form->RadioButtonConstant->Checked());
  EXPECT_TRUE(Enabled(form.get(), "ComboBoxConstant"));
  for (const char* part : variableParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  for (const char* part : qualityParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  EXPECT_FALSE(Enabled(form.get(), "ComboBoxSetAverage"));
  EXPECT_TRUE(Enabled(form.get(), "CheckBoxChecksum"));

  ClickRadio(form.get(), "RadioButtonVariable");
  EXPECT_FALSE(Enabled(form.get(), "ComboBoxConstant"));
  for (const char* part : variableParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;
  for (const char* part : qualityParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;
  EXPECT_FALSE(Enabled(form.get(), "ComboBoxSetAverage"));

  // The two radios inside the group share the handler with the two outside it.
  ClickRadio(form.get(), "RadioButtonSetAverage");
  EXPECT_TRUE(form->RadioButtonVariable->Checked()) << "another parent, another group";
  for (const char* part : qualityParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  EXPECT_TRUE(Enabled(form.get(), "ComboBoxSetAverage"));
  EXPECT_TRUE(Enabled(form.get(), "CheckBoxChecksum"));

  ClickRadio(form.get(), "RadioButtonConstant");
  for (const char* part : variableParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  EXPECT_FALSE(Enabled(form.get(), "ComboBoxSetAverage"));
}

TEST(Mp3Configure, MinimumAboveMaximumRaisesItAndMaximumBelowMinimumLowersIt) {
  FreshSettings();
  GlobalVars.OutputMP3CBR = false;
  GlobalVars.OutputMP3VBRBitRateMin = 2;
  GlobalVars.OutputMP3VBRBitRateMax = 3;
  auto form = ShowMp3Configure();
  Press(form->ComboBoxMin, Qt::Key_Down);
  EXPECT_EQ(form->ComboBoxMin->ItemIndex(), 3);
  EXPECT_EQ(form->ComboBoxMax->ItemIndex(), 3) << "equal indices: the maximum one rate higher";
  Press(form->ComboBoxMin, Qt::Key_Down);
  EXPECT_EQ(form->ComboBoxMin->ItemIndex(), 4);
  EXPECT_EQ(form->ComboBoxMax->ItemIndex(), 4);
  Press(form->ComboBoxMax, Qt::Key_Up, 3);
  EXPECT_EQ(form->ComboBoxMax->ItemIndex(), 1);
  EXPECT_EQ(form->ComboBoxMin->ItemIndex(), 1);
  Press(form->ComboBoxMax, Qt::Key_End);
  EXPECT_EQ(form->ComboBoxMax->ItemIndex(), 12);
  EXPECT_EQ(form->ComboBoxMin->ItemIndex(), 1) << "a higher maximum leaves the minimum";
  form->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputMP3VBRBitRateMin, 1);
  EXPECT_EQ(GlobalVars.OutputMP3VBRBitRateMax, 12);
}

// The slider runs from "Low: 9" to "High: 0": position 7 reads, stores and summarises 2.
TEST(Mp3Configure, QualitySliderReadsAndStoresTheLevelCountedFromTheHighEnd) {
  FreshSettings();
  GlobalVars.OutputMP3Type = 1;
  GlobalVars.OutputMP3CBR = false;
  GlobalVars.OutputMP3QualityLevelValue = 5;
  auto form = ShowMp3Configure();
  EXPECT_EQ(form->ImageSliderQuality->Value(), 4);
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "5");
  Press(form->ImageSliderQuality, Qt::Key_Right, 3);
  EXPECT_EQ(form->ImageSliderQuality->Value(), 7);
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "2");
  Press(form->ImageSliderQuality, Qt::Key_End);
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "0");
  Press(form->ImageSliderQuality, Qt::Key_Left, 2);
  form->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputMP3QualityLevelValue, 2);
  EXPECT_EQ(DescribeMp3Settings(GlobalVars),
            "MPEG 1, Layer 3, Variable 128kbps - 320kbps, Quality 2, Stereo, XING compatible "
            "variable bit rate "
            "header");
}

// Every stored MP3 field comes back as it went in, through the controls.
TEST(Mp3Configure, LoadThenSaveKeepsEveryField) {
  FreshSettings();
  TGlobalVars& s = GlobalVars;
  s.OutputMP3Mode = 2;
  s.OutputMP3CBR = false;
  s.OutputMP3CBRBitRate = 13;
  s.OutputMP3VBRBitRateMin = 4;
  s.OutputMP3VBRBitRateMax = 9;
  s.OutputMP3QualityLevel = false;
  s.OutputMP3QualityLevelValue = 8;
  s.OutputMP3ABRBitRate = 3;
  s.OutputMP3WriteXING = false;
  s.OutputMP3Checksum = true;
  const TGlobalVars stored = s;
  auto form = ShowMp3Configure();
  EXPECT_TRUE(form->RadioButtonVariable->Checked());
  EXPECT_TRUE(form->RadioButtonSetAverage->Checked());
  EXPECT_FALSE(form->RadioButtonQuality->Checked());
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "8");
  SetDefaultGlobalVars(s);
  form->SaveSettings();
  EXPECT_TRUE(s == stored);
}

TEST(OggConfigure, AverageAndVariableSwapTheirControlsAndTheReadOutFollowsTheSlider) {
  FreshSettings();
  GlobalVars.OutputOGGQualityValue = 35;
  auto form = ShowLoaded<TOGGSettingsSpecifyForm>();
  const char* const variableParts[] = {"LabelLowQuality", "ImageSliderQuality", "LabelHighQuality",
                                       "LabelQuality"};
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "35%");
  EXPECT_FALSE(Enabled(form.get(), "ComboBoxSetAverage"));
  for (const char* part : variableParts) EXPECT_TRUE(Enabled(form.get(), part)) << part;
  Press(form->ImageSliderQuality, Qt::Key_Home);
  EXPECT_EQ(Caption(form.get(), "LabelQuality"), "1%");
  ClickRadio(form.get(), "RadioButtonAverage");
  EXPECT_TRUE(Enabled(form.get(), "ComboBoxSetAverage"));
  for (const char* part : variableParts) EXPECT_FALSE(Enabled(form.get(), part)) << part;
  Press(form->ComboBoxSetAverage, Qt::Key_End);
  guitest::Click(form.get(), At(form->GroupBoxMode->Buttons(1), 6));
  form->SaveSettings();
  EXPECT_TRUE(GlobalVars.OutputOGGABR);
  EXPECT_EQ(GlobalVars.OutputOGGABRBitRate, 6);
  EXPECT_EQ(GlobalVars.OutputOGGMode, 1);
  EXPECT_EQ(GlobalVars.OutputOGGQualityValue, 1) << "not inverted";
  EXPECT_EQ(DescribeOggSettings(GlobalVars), "Average Bit Rate: 350 kbps, Mono");
}

TEST(WaveConfigure, ListsAndChannelsFollowTheStoredIndices) {
  FreshSettings();
  GlobalVars.OutputWAVSampleType = 9;
  GlobalVars.OutputWAVBitesPerSample = 2;
  GlobalVars.OutputWAVMode = 1;
  auto form = ShowLoaded<TWaveFormatSpecifyForm>();
  EXPECT_EQ(form->ComboBoxSampleRate->Text(), "96000 Hz");
  EXPECT_EQ(form->ComboBoxBitDepth->Text(), "24 bits");
  EXPECT_TRUE(form->RadioButtonMono->Checked());
  EXPECT_FALSE(form->RadioButtonStereo->Checked());
  // Neither channel radio checked: the stored mode stays.
  form->RadioButtonMono->SetChecked(false);
  GlobalVars.OutputWAVMode = 5;
  form->SaveSettings();
  EXPECT_EQ(GlobalVars.OutputWAVMode, 5);
  EXPECT_EQ(GlobalVars.OutputWAVSampleType, 9);
  EXPECT_EQ(GlobalVars.OutputWAVBitesPerSample, 2);
}

}  // namespace

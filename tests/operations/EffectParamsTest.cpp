// Every effect dialog against the table it is made from: its caption and code, and for each
// parameter the components, range, end labels, edit length and kind and settings field, in the
// order that loading and saving use; and every preset row.
#include <QString>

#include "EffectTestUtil.h"
#include "operations/EffectPresets.h"
#include "platform/rtl/SysUtils.h"

namespace {

using namespace effecttest;
using G = TGlobalVars;

struct Param {
  const char* Caption;  // "" for equalizer bands
  const char* CaptionLabel;
  const char* Slider;  // "" for single edits
  int Min, Max;
  const char* MinLabel;
  const char* MinText;
  const char* MaxLabel;
  const char* MaxText;
  const char* Edit;  // "" for equalizer bands
  int MaxLength;
  bool Tolerant, KeyFilter;
  int32_t G::*Field;
};

struct Dialog {
  const char* Class;
  const char* Caption;
  int Code;
  std::vector<Param> Params;
};

#define SLIDER(P, cap, lo, hi, mn, mx, len, tol, filt, field)                                              \
  Param{cap, "Label" #P, "ImageSlider" #P, lo, hi, "Label" #P "Min", mn, "Label" #P "Max", mx, "Edit" #P, len, \
        tol, filt, &G::field}
#define SINGLE(P, cap, len, field) Param{cap, "", "", 0, 0, "", "", "", "", "Edit" #P, len, false, false, &G::field}

std::vector<Param> DelayMixFeedback(int32_t G::*delay, int32_t G::*mix, int32_t G::*feedback) {
  return {
      {"&Delay Time:", "LabelDelayTime", "ImageSliderDelayTime", 0, 5000, "LabelTDelayTimeMin", "0 ms",
       "LabelDelayTimeMax", "5000 ms", "EditDelayTime", 4, true, false, delay},
      {"&Mix Depth:", "LabelMixDepth", "ImageSliderMixDepth", 0, 100, "LabelMixDepthMin", "0 %",
       "LabelMixDepthMax", "100 %", "EditMixDepth", 3, false, false, mix},
      {"&Feedback &Gain:", "LabelFeedbackGain", "ImageSliderFeedbackGain", 0, 100, "LabelFeedbackGainMin", "0 %",
       "LabelFeedbackGainMax", "100 %", "EditFeedbackGain", 3, false, false, feedback},
  };
}

std::vector<Param> Modulation(std::vector<int32_t G::*> f) {
  return {
      {"&Delay Rate (%):", "LabelDelayRate", "ImageSliderDelayRate", 0, 100, "LabelDelayTimeMin", "0 %",
       "LabelDelayTimeMax", "100 %", "EditDelayRate", 4, true, false, f[0]},
      {"Depth &Percent (%):", "LabelMixDepth", "ImageSliderMixDepth", 0, 100, "LabelMixDepthMin", "0 %",
       "LabelMixDepthMax", "100 %", "EditMixDepth", 3, false, false, f[1]},
      {"&Gain Percent (%):", "LabelFeedbackGain", "ImageSliderFeedbackGain", 0, 100, "LabelFeedbackGainMin",
       "0 %", "LabelFeedbackGainMax", "100 %", "EditFeedbackGain", 3, false, false, f[2]},
      {"Sweep Depth (%):", "LabelSweepDepth", "ImageSliderSweepDepth", 0, 100, "LabelSweepDepthMin", "0 %",
       "LabelSweepDepthMax", "100 %", "EditSweepDepth", 3, false, false, f[3]},
      {"Sweep Rate (%):", "LabelSweepRate", "ImageSliderSweepRate", 0, 100, "LabelSweepRateMin", "0 %",
       "LabelSweepRateMax", "100 %", "EditSweepRate", 3, false, false, f[4]},
      {"Sweep Phase (Deg):", "LabelSweepPhase", "ImageSliderSweepPhase", 0, 359, "LabelSweepPhaseMin", "0 Deg",
       "LabelSweepPhaseMax", "359 Deg", "EditSweepPhase", 3, false, false, f[5]},
  };
}

std::vector<Param> Bands() {
  static const char* const sliders[] = {"Band1", "Band2", "Band3", "Band4",  "Band5",  "Band6",
                                        "Band7", "Band8", "Band9", "Band10", "Band11", "Band12"};
  static const char* const labels[] = {"LabelBand1", "LabelBand2", "LabelBand3",  "LabelBand4",
                                       "LabelBand5", "LabelBand6", "LabelBand7",  "LabelBand8",
                                       "LabelBand9", "LabelBand10", "LabelBand11", "LabelBand12"};
  static const char* const caps[] = {"31", "62", "125", "252", "500", "1k", "2k", "4k", "6k", "9k", "12k", "16k"};
  int32_t G::*fields[] = {&G::EqualizerBuf1, &G::EqualizerBuf2,  &G::EqualizerBuf3,  &G::EqualizerBuf4,
                          &G::EqualizerBuf5, &G::EqualizerBuf6,  &G::EqualizerBuf7,  &G::EqualizerBuf8,
                          &G::EqualizerBuf9, &G::EqualizerBuf10, &G::EqualizerBuf11, &G::EqualizerBuf12};
  std::vector<Param> p;
  for (int i = 0; i < 12; ++i)
    p.push_back(Param{caps[i], labels[i], sliders[i], -180, 180, "", "", "", "", "", 0, false, false, fields[i]});
  return p;
}

std::vector<Dialog> Dialogs() {
  auto reverb = DelayMixFeedback(&G::DefReverbDelayTime, &G::DefReverbMixDepth, &G::DefReverbFeedbackGain);
  reverb[0].Max = 1000;
  reverb[0].MaxText = "1000 ms";
  reverb.push_back(SLIDER(ReverbGain, "&Reverb Gain:", 0, 100, "0 %", "100 %", 3, false, false, DefReverbGain));
  // Five digits: the slider reaches 22500 and the default 11025 must be typeable.
  reverb.push_back(SLIDER(ReverbFrequency, "Reverb &Frequency:", 10, 22500, "10 Hz", "22050 Hz", 5, false, false,
                          DefReverbFrequency));
  reverb.push_back(SLIDER(Taps, "Taps Before delay Feedback:", 0, 10, "1", "10", 3, false, false, DefReverbTaps));
  auto fade = std::vector<Param>{
      SLIDER(Initial, "Initial &Amplification:", 0, 100, "0 %", "100 %", 3, false, false, DefFadeInt),
      SLIDER(Final, "&Final Amplification:", 0, 100, "0 %", "100 %", 3, false, false, DefFadeFin)};
  fade[0].CaptionLabel = "LabelMixDepth";
  return {
      {"TDynamicRangeCompressorForm", "Dynamic Range Compressor", 1,
       {SLIDER(Threshold, "&Threshold:", -40, 0, "-40 dB", "0 dB", 4, true, true, DefCompressorThreshold),
        SLIDER(Rate, "&Rate:", 0, 100, "0 %", "100 %", 3, false, false, DefCompressorRate)}},
      {"TAmplifyForm", "Amplify", 2, {SINGLE(Amplify, "&Amplify Gain (%):", 3, DefAmplify)}},
      {"THighPassForm", "High-Pass Filter", 3, {SINGLE(Frequency, "Frequency (Hz):", 4, DefHighPass)}},
      {"TEqualizerForm", "Equalizer", 4, Bands()},
      {"TEchoForm", "Echo", 5, DelayMixFeedback(&G::DefEchoDelayTime, &G::DefEchoMixDepth, &G::DefEchoFeedbackGain)},
      {"TReverbForm", "Reverb", 6, reverb},
      {"TCossFadeForm", "Coss Fade", 7, fade},
      {"TMixStereoForm", "Mix Stereo Channels", 8,
       {SLIDER(NewLeftChannelLeft, "&Left:", 0, 100, "0 %", "100 %", 3, false, false, DefMixChanLL),
        SLIDER(NewLeftChannelRight, "&R&ight:", 0, 100, "0 %", "100 %", 3, false, false, DefMixChanLR),
        SLIDER(NewRightChannelLeft, "&Left:", 0, 100, "0 %", "100 %", 3, false, false, DefMixChanRL),
        SLIDER(NewRightChannelRight, "&R&ight:", 0, 100, "0 %", "100 %", 3, false, false, DefMixChanRR)}},
      {"TNoiseReductionForm", "Noise Reduction", 9,
       {SLIDER(Threshold, "&Threshold:", -96, 10, "-96 dB", "10 dB", 4, true, true, DefNoiseReductionThreshold),
        SLIDER(Rate, "&Rate:", 1, 100, "1 %", "100 %", 3, false, false, DefNoiseReductionRate),
        // Four digits: the slider reaches 1000.
        SLIDER(RMSTime, "&Root-Mean-Square Time:", 0, 1000, "0 ms", "1000 ms", 4, false, false,
               DefNoiseReductionRMSTime)}},
      {"TSpeedChangeForm", "Speed Change", 10, {SINGLE(SpeedAdjust, "Speed Adjust (%)", 3, DefSpeedChange)}},
      {"TPitchChangeForm", "Pitch Change", 11, {SINGLE(PitchAdjust, "Pitch Adjust (%)", 3, DefPitchChange)}},
      {"TPhaserForm", "Phaser", 12,
       DelayMixFeedback(&G::DefPhaserDelayTime, &G::DefPhaserMixDepth, &G::DefPhaserFeedbackGain)},
      {"TFlangerForm", "Flanger", 13,
       Modulation({&G::DefFlangerDelayRate, &G::DefFlangerMixDepth, &G::DefFlangerFeedbackGain,
                   &G::DefFlangerSweepDepth, &G::DefFlangerSweepRate, &G::DefFlangerSweepPhase})},
      {"TChorusForm", "Chorus", 14,
       Modulation({&G::DefChorusDelayRate, &G::DefChorusMixDepth, &G::DefChorusFeedbackGain,
                   &G::DefChorusSweepDepth, &G::DefChorusSweepRate, &G::DefChorusSweepPhase})},
      {"TNormalizeForm", "Normalize", -1, {SINGLE(NormalizePeak, "&Normalize Peak Level:", 3, DefNormalize)}},
  };
}

using EffectParams = EffectDialogTest;

TEST_F(EffectParams, EveryDialogShowsItsParametersAsTheTableSays) {
  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), EffectDialogs().size());
  for (const Dialog& d : dialogs) {
    SCOPED_TRACE(d.Class);
    auto form = Open(d.Class);
    EXPECT_EQ(form->Caption(), d.Caption);
    EXPECT_EQ(form->Info().Code, d.Code);
    ASSERT_EQ(form->Info().Params.size(), d.Params.size());
    for (size_t i = 0; i < d.Params.size(); ++i) {
      const Param& p = d.Params[i];
      SCOPED_TRACE(p.Caption);
      if (*p.CaptionLabel) EXPECT_EQ(Find<TLabel>(form.get(), p.CaptionLabel)->Caption(), p.Caption);
      if (*p.Slider) {
        auto* slider = Find<TImageSlider>(form.get(), p.Slider);
        ASSERT_EQ(form->ImageSlider(i), slider);
        EXPECT_EQ(slider->MinValue(), p.Min);
        EXPECT_EQ(slider->MaxValue(), p.Max);
        EXPECT_EQ(slider->Increment(), 1);
        EXPECT_EQ(slider->Options(), TSliderOptions{soSmooth});
        EXPECT_EQ(slider->Orientation(), d.Code == 4 ? soVertical : soHorizontal);
      }
      if (*p.MinLabel) {
        EXPECT_EQ(Find<TLabel>(form.get(), p.MinLabel)->Caption(), p.MinText);
        EXPECT_EQ(Find<TLabel>(form.get(), p.MaxLabel)->Caption(), p.MaxText);
      }
      if (*p.Edit) {
        auto* edit = Find<TEdit>(form.get(), p.Edit);
        ASSERT_EQ(form->Edit(i), edit);
        EXPECT_EQ(edit->MaxLength(), p.MaxLength);
        // Number-only unless the threshold's key filter stands in for it.
        const bool number = GetWindowLong(edit->Handle(), GWL_STYLE) & ES_NUMBER;
        EXPECT_EQ(number, !p.KeyFilter);
        if (*p.Slider) {
          // A text that is no number: tolerant edits turn red, strict ones raise.
          Messages.clear();
          edit->SetText("x");
          EXPECT_EQ(edit->Font()->Color() == clRed, p.Tolerant);
          EXPECT_EQ(Messages, p.Tolerant ? std::vector<std::string>{}
                                         : std::vector<std::string>{"'x' is not a valid integer value."});
        }
      }
    }
  }
}

TEST_F(EffectParams, LoadAndSaveMoveTheFieldsInParameterOrderAfterTheCode) {
  for (const Dialog& d : Dialogs()) {
    SCOPED_TRACE(d.Class);
    // Distinct values inside every range, so that a swapped field shows.
    std::vector<int> values;
    for (size_t i = 0; i < d.Params.size(); ++i) {
      const Param& p = d.Params[i];
      const int lo = *p.Slider ? p.Min : 10;
      values.push_back(lo + 1 + int(i));
      GlobalVars.*p.Field = values.back();
    }
    GlobalVars.PreviewOperationTypes = 77;
    auto form = Open(d.Class);
    EXPECT_EQ(form->Values(), values);
    for (size_t i = 0; i < d.Params.size(); ++i)
      if (*d.Params[i].Edit) EXPECT_EQ(form->Edit(i)->Text(), IntToStr(values[i]));
    std::vector<int> changed;
    for (int v : values) changed.push_back(v + 2);
    form->SetValues(changed);
    for (const Param& p : d.Params) GlobalVars.*p.Field = -999;
    form->SaveParams();
    std::vector<int> saved;
    for (const Param& p : d.Params) saved.push_back(GlobalVars.*p.Field);
    EXPECT_EQ(saved, changed);
    EXPECT_EQ(GlobalVars.PreviewOperationTypes, d.Code < 0 ? 77 : d.Code) << "Normalize writes no code";
  }
}

TEST_F(EffectParams, EveryPresetRowSetsItsValuesAndOtherIndexesChangeNothing) {
  const std::pair<const char*, int> counts[] = {
      {"TDynamicRangeCompressorForm", 2}, {"TAmplifyForm", 4},  {"THighPassForm", 2},   {"TEqualizerForm", 20},
      {"TEchoForm", 12},  {"TReverbForm", 9},  {"TCossFadeForm", 6},   {"TMixStereoForm", 7},
      {"TNoiseReductionForm", 7}, {"TSpeedChangeForm", 3}, {"TPitchChangeForm", 4}, {"TPhaserForm", 4},
      {"TFlangerForm", 17}, {"TChorusForm", 11}, {"TNormalizeForm", 4}};
  for (auto [cls, count] : counts) {
    SCOPED_TRACE(cls);
    auto form = Open(cls);
    TComboBox* list = form->ComboBoxPreset();
    ASSERT_EQ(list->Items()->Count(), count + 1);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->Items()->Strings(0), "Select Preset");
    const auto presets = form->Info().Presets;
    ASSERT_EQ(int(presets.size()), count);
    for (int i = 1; i <= count; ++i) {
      const TEffectPreset& row = presets[size_t(i - 1)];
      SCOPED_TRACE(row.Name);
      EXPECT_EQ(list->Items()->Strings(i), row.Name);
      ASSERT_EQ(row.Values.size(), form->Info().Params.size());
      list->SetItemIndex(i);
      form->ComboBoxPresetChange(list);
      EXPECT_EQ(form->Values(), row.Values);
      for (size_t k = 0; k < row.Values.size(); ++k) {
        if (form->ImageSlider(k)) {
          EXPECT_GE(row.Values[k], form->ImageSlider(k)->MinValue());
          EXPECT_LE(row.Values[k], form->ImageSlider(k)->MaxValue());
        }
        if (form->Edit(k)) EXPECT_EQ(form->Edit(k)->Text(), IntToStr(row.Values[k]));
      }
    }
    const std::vector<int> before = form->Values();
    // "Select Preset", and no row chosen at all.
    for (int index : {0, -1}) {
      list->SetItemIndex(index);
      form->ComboBoxPresetChange(list);
      EXPECT_EQ(form->Values(), before) << index;
    }
  }
}

TEST_F(EffectParams, PresetNamesKeepTheirSpelling) {
  auto names = [](std::span<const TEffectPreset> presets) {
    std::vector<std::string> n;
    for (const auto& p : presets) n.push_back(p.Name);
    return n;
  };
  EXPECT_EQ(names(ReverbPresets())[0], "Allien Saying");
  EXPECT_EQ(names(NormalizePresets())[3], "Maximun Audio Level");
  EXPECT_EQ(names(EqualizerPresets())[8], "Ghetto Fab (Attention: extreme  bass boost)");
  EXPECT_EQ(names(EqualizerPresets())[10], "Raver Neighhor");
  EXPECT_EQ(names(EchoPresets())[6], "Phylarmonic hall");
  EXPECT_EQ(names(ChorusPresets())[2], "Cassete Tape Hard Stretched");
  EXPECT_EQ(FlangerPresets()[10].Values, (std::vector<int>{14, 50, 75, 99, 0, 120})) << "Old TV-Set";
  EXPECT_EQ(EchoPresets()[9].Values, (std::vector<int>{200, 70, 0})) << "Small Echo";
}

TEST_F(EffectParams, TheListKeepsTheChosenNameAfterAValueChanges) {
  auto form = Open("TEchoForm");
  TComboBox* list = form->ComboBoxPreset();
  list->SetItemIndex(10);
  form->ComboBoxPresetChange(list);
  TypeInto(form->Edit(1), "33");
  guitest::Key(form.get(), Qt::Key_Tab);
  EXPECT_EQ(form->ImageSlider(1)->Value(), 33);
  EXPECT_EQ(list->ItemIndex(), 10);
  EXPECT_EQ(list->Text(), "Small Echo");
}

}  // namespace

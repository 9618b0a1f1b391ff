#pragma once
// The effect dialogs: one design of sliders with number edits (or a single edit), presets,
// Preview, OK, Cancel and Help, shared by fifteen dialog classes that each have their own
// description. They move values between their controls and the settings record and ask their
// preview host to play the selection through the effect; with no host (the batch converter's
// use) Preview is hidden.

#include <cstddef>
#include <string>
#include <vector>

#include "operations/EffectParams.h"
#include "operations/EffectPreview.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TImageSlider;

class TEffectForm : public TForm {
 public:
  const TEffectDialogInfo& Info() const { return *FInfo; }
  IEffectPreviewHost* Host() const { return FHost; }

  void LoadParams();
  void SaveParams();
  void EnableControls(bool Enabled);
  // The parameters in their order: slider values, or single edits converted strictly.
  std::vector<int> Values() const;
  void SetValues(const std::vector<int>& Values);

  // The parameter's slider (null in single-edit dialogs) and edit (null for equalizer bands).
  TImageSlider* ImageSlider(size_t Index) const { return FSliders[Index]; }
  TEdit* Edit(size_t Index) const { return FEdits[Index]; }
  TButton* ButtonPreview() const { return FButtonPreview; }
  TButton* ButtonOK() const { return FButtonOK; }
  TComboBox* ComboBoxPreset() const { return FComboBoxPreset; }
  TTimer* TimerMonitor() const { return FTimerMonitor; }

  // Handlers the descriptions bind under each dialog's own names.
  void FormShow(TObject* Sender);
  void SliderChange(TObject* Sender);
  void EditChange(TObject* Sender);
  void EditExit(TObject* Sender);
  void SingleEditExit(TObject* Sender);
  void EditThresholdKeyPress(TObject* Sender, char32_t& Key);
  void ComboBoxPresetChange(TObject* Sender);
  void ButtonPreviewClick(TObject* Sender);
  void ButtonOKClick(TObject* Sender);
  void TimerMonitorTimer(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);

  bool CloseQuery() override;

 protected:
  TEffectForm(TComponent* AOwner, IEffectPreviewHost* Host, const char* ClassName);
  // Reads the description and finds the components; called by the most derived constructor, so
  // that the handlers bind to that class.
  void Build();

 private:
  static constexpr size_t npos = size_t(-1);
  // The parameter whose slider or edit Sender is, or npos.
  size_t ParamOf(TObject* Sender) const;
  // The edit's number: false when a tolerant edit holds none (a strict edit raises instead).
  bool EditNumber(size_t Index, int& Value) const;
  void SetParamValue(size_t Index, int Value);
  // Closes now when a close was asked for while the host was starting the preview.
  void EndStartingPreview();
  // The single edit's range check with its message; true when the value passes.
  bool CheckSingleEdit(bool ShowMessage);

  const TEffectDialogInfo* FInfo;
  IEffectPreviewHost* FHost;
  std::vector<TImageSlider*> FSliders;
  std::vector<TEdit*> FEdits;
  TButton* FButtonPreview = nullptr;
  TButton* FButtonOK = nullptr;
  TComboBox* FComboBoxPreset = nullptr;
  TTimer* FTimerMonitor = nullptr;
  bool FStartingPreview = false;
  bool FCloseAfterStart = false;
};

#define SONALIX_EFFECT_FORM(Name)                                                 \
  class Name : public TEffectForm {                                               \
   public:                                                                        \
    explicit Name(TComponent* AOwner, IEffectPreviewHost* Host = nullptr);        \
  };

SONALIX_EFFECT_FORM(TDynamicRangeCompressorForm)
SONALIX_EFFECT_FORM(TAmplifyForm)
SONALIX_EFFECT_FORM(THighPassForm)
SONALIX_EFFECT_FORM(TEchoForm)
SONALIX_EFFECT_FORM(TReverbForm)
SONALIX_EFFECT_FORM(TCossFadeForm)
SONALIX_EFFECT_FORM(TMixStereoForm)
SONALIX_EFFECT_FORM(TNoiseReductionForm)
SONALIX_EFFECT_FORM(TSpeedChangeForm)
SONALIX_EFFECT_FORM(TPitchChangeForm)
SONALIX_EFFECT_FORM(TPhaserForm)
SONALIX_EFFECT_FORM(TFlangerForm)
SONALIX_EFFECT_FORM(TChorusForm)
SONALIX_EFFECT_FORM(TNormalizeForm)

#undef SONALIX_EFFECT_FORM

// Creates the dialog of a class name (one of the fifteen), or null.
TEffectForm* CreateEffectForm(const std::string& ClassName, TComponent* AOwner,
                              IEffectPreviewHost* Host = nullptr);

// Registers the fifteen classes with their handlers for the descriptions.
void RegisterEffectDialogClasses();

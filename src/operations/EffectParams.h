#pragma once
// The effect dialogs' table: for each dialog its class, preview code and parameters in the order
// that loading, saving, presets and the effect calls share, each with how its edit takes text and
// which setting it lives in. Ranges, captions and edit lengths live in the dialogs' descriptions.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "appbase/Globals.h"

enum class TEffectEditKind {
  ekTolerant,  // a bad number shows red and is put right when the edit is left
  ekStrict,    // a text that is no number raises the conversion error
  ekNone       // the slider stands alone (equalizer bands)
};
using enum TEffectEditKind;

// What the dialog's OK (and for some the edit's exit) demands of a single edit.
enum class TEffectCheck { ecNone, ecSpeed, ecPitch, ecNormalize };
using enum TEffectCheck;

enum class TEffectLayout {
  elSliders,     // a slider with its edit per parameter
  elSingleEdit,  // one edit, no slider
  elEqualizer    // twelve vertical band sliders
};
using enum TEffectLayout;

struct TEffectParam {
  // The parameter's part of its components' names: ImageSlider<Name>, Edit<Name>.
  const char* Name;
  TEffectEditKind EditKind;
  // The threshold key filter instead of the number-only style.
  bool KeyFilter;
  int32_t TGlobalVars::*Field;
};

struct TEffectPreset {
  const char* Name;
  // In parameter order; as many as the dialog has parameters.
  std::vector<int> Values;
};

struct TEffectDialogInfo {
  const char* ClassName;
  // -1: the dialog neither previews nor writes a code.
  int Code;
  TEffectLayout Layout;
  std::span<const TEffectParam> Params;
  std::span<const TEffectPreset> Presets;
  TEffectCheck Check = ecNone;
  // The compressor's presets set its last slider first.
  bool PresetsLastFirst = false;
  // Whether OK moves the focus first (and runs the single edits' checks).
  bool OKHandler = true;

  bool Previews() const { return Code >= 0; }
  std::string SliderName(size_t Index) const;
  std::string EditName(size_t Index) const;
};

// All fifteen, in the order of their codes, the one without a code last.
std::span<const TEffectDialogInfo> EffectDialogs();
const TEffectDialogInfo* FindEffectDialog(const std::string& ClassName);
const TEffectDialogInfo* FindEffectDialogByCode(int Code);

// The values a dialog's fields hold in the settings record, in parameter order.
std::vector<int> EffectSettings(const TEffectDialogInfo& Info, const TGlobalVars& Vars = GlobalVars);

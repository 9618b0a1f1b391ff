#pragma once
// The settings record: every setting of the program in one global instance, its defaults, and
// its store under the current user's settings key.

#include <cstdint>
#include <string>
#include <variant>

// The one list of settings, in declaration order: X(field, type, default, stored). A stored field
// is kept under a registry value of exactly the field's name (misspellings included: they are
// the names existing stores use). Defaults that depend on the machine are named by a gd...
// constant and computed when the defaults are assigned.
#define SONALIX_GLOBAL_VARS(X)                          \
  X(DataFolder, String, gdSetAtStart, false)            \
  X(TempFolder, String, gdSetAtStart, false)            \
  X(RecordingFile, String, "", false)                   \
  X(RecordingStopAfter, Double, "00:00:30", false)      \
  X(LastOpenDir, String, gdMyMusic, true)               \
  X(ShowCommandBar, Boolean, true, true)                \
  X(CommandBarOnTheLeft, Boolean, true, true)           \
  X(AccuEnabled, Boolean, false, true)                  \
  X(AccuAttackTime, Integer, 100, true)                 \
  X(AccuReleaseTime, Integer, 300, true)                \
  X(AccuAttackLevel, Integer, -45, true)                \
  X(AccuReleaseLevel, Integer, -45, true)               \
  X(DeviceOutputVolume, Integer, 32767, true)           \
  X(OP_PromptNewFile, Boolean, true, true)              \
  X(OP_DefSample, Integer, 44100, true)                 \
  X(OP_DefChannel, Integer, 2, true)                    \
  X(OP_TileFormAfter, Boolean, true, true)              \
  X(OP_AddToExplorer, Boolean, true, true)              \
  X(OP_UseDefFolder, Boolean, true, true)               \
  X(OP_WorkingFolder, String, gdDataFolder, true)       \
  X(OP_PlayAfterOpened, Boolean, false, true)           \
  X(OP_PlayAfterEdit, Boolean, false, true)             \
  X(OP_PlayAfterBookmark, Boolean, false, true)         \
  X(OP_PlayAfterRegion, Boolean, false, true)           \
  X(RegionFormLeft, Integer, 0, true)                   \
  X(RegionFormTop, Integer, 0, true)                    \
  X(RegionFormWidth, Integer, 550, true)                \
  X(RegionFormHeight, Integer, 200, true)               \
  X(BookmarkFormLeft, Integer, 0, true)                 \
  X(BookmarkFormTop, Integer, 200, true)                \
  X(BookmarkFormWidth, Integer, 550, true)              \
  X(BookmarkFormHeight, Integer, 200, true)             \
  X(ExportFolder, String, gdMyMusic, true)              \
  X(ExportFormat, Integer, 0, true)                     \
  X(FreAnalysisFormLeft, Integer, 0, true)              \
  X(FreAnalysisFormTop, Integer, 0, true)               \
  X(FreAnalysisFormWidth, Integer, 550, true)           \
  X(FreAnalysisFormHeight, Integer, 300, true)          \
  X(BatchFileFormatUseTheSame, Boolean, true, true)     \
  X(BatchFileFormatIndex, Integer, 1, true)             \
  X(BatchFileSaveFolderUseTheSame, Boolean, true, true) \
  X(BatchFileSaveFolderpath, String, gdMyMusic, true)   \
  X(PreviewOperationTypes, Integer, -1, true)           \
  X(DefNewFileSampleRate, Byte, 3, true)                \
  X(DefNewFileChannels, Byte, 0, true)                  \
  X(SelectePartPercent, Integer, 100, true)             \
  X(AudioInBufferPercent, Integer, 100, true)           \
  X(IncreaseSelection, Boolean, true, true)             \
  X(InsertSilenceTime, Integer, 100, true)              \
  X(DefAmplify, Integer, 25, true)                      \
  X(DefNormalize, Integer, 100, true)                   \
  X(DefCompressorThreshold, Integer, -10, true)         \
  X(DefCompressorRate, Integer, 50, true)               \
  X(DefHighPass, Integer, 200, true)                    \
  X(EqualizerBuf1, Integer, 0, true)                    \
  X(EqualizerBuf2, Integer, 0, true)                    \
  X(EqualizerBuf3, Integer, 0, true)                    \
  X(EqualizerBuf4, Integer, 0, true)                    \
  X(EqualizerBuf5, Integer, 0, true)                    \
  X(EqualizerBuf6, Integer, 0, true)                    \
  X(EqualizerBuf7, Integer, 0, true)                    \
  X(EqualizerBuf8, Integer, 0, true)                    \
  X(EqualizerBuf9, Integer, 0, true)                    \
  X(EqualizerBuf10, Integer, 0, true)                   \
  X(EqualizerBuf11, Integer, 0, true)                   \
  X(EqualizerBuf12, Integer, 0, true)                   \
  X(DefEchoDelayTime, Integer, 200, true)               \
  X(DefEchoMixDepth, Integer, 70, true)                 \
  X(DefEchoFeedbackGain, Integer, 40, true)             \
  X(DefReverbDelayTime, Integer, 30, true)              \
  X(DefReverbMixDepth, Integer, 60, true)               \
  X(DefReverbFeedbackGain, Integer, 60, true)           \
  X(DefReverbGain, Integer, 30, true)                   \
  X(DefReverbFrequency, Integer, 11025, true)           \
  X(DefReverbTaps, Integer, 8, true)                    \
  X(DefFadeInt, Integer, 50, true)                      \
  X(DefFadeFin, Integer, 50, true)                      \
  X(DefMixChanLL, Integer, 50, true)                    \
  X(DefMixChanLR, Integer, 50, true)                    \
  X(DefMixChanRL, Integer, 50, true)                    \
  X(DefMixChanRR, Integer, 50, true)                    \
  X(DefNoiseReductionThreshold, Integer, -54, true)     \
  X(DefNoiseReductionRate, Integer, 75, true)           \
  X(DefNoiseReductionRMSTime, Integer, 100, true)       \
  X(DefSpeedChange, Integer, 100, true)                 \
  X(DefPitchChange, Integer, 100, true)                 \
  X(DefPhaserDelayTime, Integer, 300, true)             \
  X(DefPhaserMixDepth, Integer, 30, true)               \
  X(DefPhaserFeedbackGain, Integer, 45, true)           \
  X(DefFlangerDelayRate, Integer, 14, true)             \
  X(DefFlangerMixDepth, Integer, 50, true)              \
  X(DefFlangerFeedbackGain, Integer, 30, true)          \
  X(DefFlangerSweepDepth, Integer, 99, true)            \
  X(DefFlangerSweepRate, Integer, 18, true)             \
  X(DefFlangerSweepPhase, Integer, 40, true)            \
  X(DefChorusDelayRate, Integer, 10, true)              \
  X(DefChorusMixDepth, Integer, 20, true)               \
  X(DefChorusFeedbackGain, Integer, 60, true)           \
  X(DefChorusSweepDepth, Integer, 0, true)              \
  X(DefChorusSweepRate, Integer, 0, true)               \
  X(DefChorusSweepPhase, Integer, 90, true)             \
  X(OutputWAVType, Byte, 0, true)                       \
  X(OutputWAVPersets, Byte, 1, true)                    \
  X(OutputWAVSampleType, Byte, 7, true)                 \
  X(OutputWAVBitesPerSample, Byte, 1, true)             \
  X(OutputWAVMode, Byte, 0, true)                       \
  X(OutputMP3Type, Byte, 0, true)                       \
  X(OutputMP3Presets, Byte, 8, true)                    \
  X(OutputMP3Mode, Byte, 0, true)                       \
  X(OutputMP3CBR, Boolean, true, true)                  \
  X(OutputMP3CBRBitRate, Byte, 10, true)                \
  X(OutputMP3VBRBitRateMin, Byte, 8, true)              \
  X(OutputMP3VBRBitRateMax, Byte, 12, true)             \
  X(OutputMP3QualityLevel, Boolean, true, true)         \
  X(OutputMP3QualityLevelValue, Integer, 2, true)       \
  X(OutputMP3ABRBitRate, Byte, 10, true)                \
  X(OutputMP3WriteXING, Boolean, true, true)            \
  X(OutputMP3Checksum, Boolean, false, true)            \
  X(OutputOGGType, Byte, 0, true)                       \
  X(OutputOGGPresets, Byte, 4, true)                    \
  X(OutputOGGMode, Byte, 0, true)                       \
  X(OutputOGGABR, Boolean, false, true)                 \
  X(OutputOGGABRBitRate, Byte, 4, true)                 \
  X(OutputOGGQualityValue, Integer, 60, true)           \
  X(OutputWMAPresets, Byte, 5, true)

enum class TGlobalVarType { gvString, gvInteger, gvByte, gvBoolean, gvDouble };
using enum TGlobalVarType;

enum class TGlobalDefaultKind {
  gdValue,       // the literal of the table
  gdSetAtStart,  // the start-up computes it; assigning defaults leaves it alone
  gdMyMusic,     // the user's music folder (GetShellFolder("My Music"))
  gdDataFolder,  // the value of DataFolder at that moment
};
using enum TGlobalDefaultKind;

struct TGlobalDefault {
  TGlobalDefaultKind Kind = gdValue;
  int Integer = 0;
  bool Boolean = false;
  const char* Text = "";
  constexpr TGlobalDefault(TGlobalDefaultKind k) : Kind(k) {}   // NOLINT
  constexpr TGlobalDefault(int v) : Integer(v) {}               // NOLINT
  constexpr TGlobalDefault(bool v) : Integer(v), Boolean(v) {}  // NOLINT
  constexpr TGlobalDefault(const char* v) : Text(v) {}          // NOLINT
};

#define SONALIX_GV_CTYPE_String std::string
#define SONALIX_GV_CTYPE_Integer int32_t
#define SONALIX_GV_CTYPE_Byte uint8_t
#define SONALIX_GV_CTYPE_Boolean bool
#define SONALIX_GV_CTYPE_Double double

struct TGlobalVars {
  bool operator==(const TGlobalVars&) const = default;
#define SONALIX_GV_FIELD(name, type, def, stored) SONALIX_GV_CTYPE_##type name{};
  SONALIX_GLOBAL_VARS(SONALIX_GV_FIELD)
#undef SONALIX_GV_FIELD
};

extern TGlobalVars GlobalVars;

// One row of the list, with the field it describes.
struct TGlobalVarInfo {
  const char* Name;
  TGlobalVarType Type;
  TGlobalDefault Default;
  bool Stored;
  std::variant<std::string TGlobalVars::*, int32_t TGlobalVars::*, uint8_t TGlobalVars::*,
               bool TGlobalVars::*, double TGlobalVars::*>
      Field;
};

// Every row, in declaration order.
const TGlobalVarInfo* GlobalVarInfos();
int GlobalVarCount();
const TGlobalVarInfo* FindGlobalVarInfo(const std::string& Name);

// The settings key under HKEY_CURRENT_USER.
extern const char* const SettingsKey;

// Assigns every default but those set at start (the folders computed by the start-up, which
// OP_WorkingFolder's default reads, so they come first).
void SetDefaultGlobalVars(TGlobalVars& Vars = GlobalVars);

// Reads the settings key into GlobalVars; true when the key existed. When it does not, the
// defaults are written and the key made. A value that is missing or of another type leaves its
// field at the default; the other values still load.
bool LoadSettings();
// Writes every stored field under the settings key.
void SaveSettings();

class TCustomForm;
// Places Form from the subkey of that name under the settings key (kept on the screen); true
// when the subkey exists. A value of another type leaves that part of the placement as it is.
bool LoadFormPosition(const std::string& SubKey, TCustomForm* Form);
// Writes the form's placement (its current bounds, also when maximised) under the subkey.
void SaveFormPosition(const std::string& SubKey, TCustomForm* Form);

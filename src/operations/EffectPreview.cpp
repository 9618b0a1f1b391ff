#include "operations/EffectPreview.h"

#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "operations/EffectParams.h"
#include "platform/rtl/SysUtils.h"

const float EqualizerFrequencies[12] = {31.25f, 62.5f,  125,  250,  500,   1000,
                                        2000,   4000,   6000, 9000, 12000, 16000};

void TransformPreviewArray(TAudioTransform2& T, int Code, const std::vector<int>& Values, SampleBuffer& A) {
  const TEffectDialogInfo* info = FindEffectDialogByCode(Code);
  if (!info) return;
  if (Values.size() < info->Params.size())
    throw Exception(Format("Preview code %d takes %d values, not %d",
                           {Code, int(info->Params.size()), int(Values.size())}));
  auto v = [&](size_t i) { return float(Values[i]); };
  switch (Code) {
    case 1: T.Compressor(A, v(0), v(1), 100); break;
    case 2: T.Amplify(A, v(0)); break;
    case 3: T.HighPass(A, v(0), 100); break;
    case 4: {
      SampleBuffer gains(1, 0, 12), frequencies(1, 0, 12);
      for (int i = 0; i < 12; ++i) {
        gains[i] = v(size_t(i)) / 100;
        frequencies[i] = EqualizerFrequencies[i];
      }
      T.Equalizer(A, gains, frequencies);
      break;
    }
    case 5: T.Echo(A, v(0), v(1), v(2)); break;
    case 6: T.Reverb(A, v(0), v(1), v(2), v(3), v(4), Values[5]); break;
    case 7: T.Fade(A, v(0), v(1)); break;
    case 8: T.MixStereo(A, v(0), v(1), v(2), v(3)); break;
    case 9: T.NoiseReduction(A, v(0), v(1), v(2)); break;
    case 10: T.SpeedChange(A, v(0)); break;
    case 11: T.PitchChange(A, v(0)); break;
    case 12: T.Phaser(A, v(0), v(1), v(2)); break;
    case 13: T.Flanger(A, v(0), v(1), v(2), v(3), v(4), v(5)); break;
    case 14: T.Chorus(A, v(0), v(1), v(2), v(3), v(4), v(5)); break;
    default: break;
  }
}

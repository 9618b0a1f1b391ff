#pragma once
// What the output format setup dialogs share: the one-line summaries of the stored specified
// settings, and where a dialog opened from another window goes.

#include <string>

struct TGlobalVars;
class TControl;

// "WAV, 44,100 Hz, 16 bits, Stereo"; an index off its list reads "Unknow".
std::string DescribeWaveSettings(const TGlobalVars& Settings);
// "MPEG 1, Layer 3, 192kbps, Stereo" or the variable rate's range, quality or average and flags.
std::string DescribeMp3Settings(const TGlobalVars& Settings);
// "Variable bit rate 60%, Stereo" or "Average Bit Rate: 350 kbps, Mono".
std::string DescribeOggSettings(const TGlobalVars& Settings);

// Centres Dialog over Caller, halving the differences of the sizes with truncation toward zero.
void CenterOverWindow(TControl* Dialog, TControl* Caller);

#pragma once
// The drawing of the frequency-analysis display: one picture per view type over the analysis
// results, filling the whole display so that a pixel's place across the width and down the
// height is the same fraction the analysis turns into mouse values. Scale captions sit inside,
// in the display font.
//
// View types: 0 "Analog" (a trace), 1 "Linear" (the area under the spectrum), 2 "Normal"
// (bars), 3 "Fire", 4 "Glass" and 5 "Kryptonite" (bars in their own colourings).

#include <functional>
#include <string>

#include "platform/gui/Controls.h"

class QImage;

struct TVisualizationSource {
  int View = 0;
  float Floor = -120.f;  // dB at the bottom edge; 0 dB is the top edge
  // The level (dB) at a place across the width, 0 left .. 1 right.
  std::function<float(double fraction)> LevelAt;
  // What the horizontal axis shows there: the sample number (view 0) or the frequency in Hz.
  std::function<double(double fraction)> XValueAt;
};

struct TVisualizationFont {
  std::string Name = "Tahoma";
  int Size = 7;               // points
  unsigned Color = 0xC0C0C0;  // $BBGGRR
};

// The fraction of the width or height a pixel stands for (0 at the first, 1 at the last).
double VisualizationFraction(int pixel, int size);

// Draws the display into an RGB32 image of its size.
void PaintVisualization(QImage& image, const TVisualizationSource& source,
                        const TVisualizationFont& font);

using TVisualizationMouseMoveEvent =
    Event<void(TObject* Sender, int X, int Y, int XValue, int YValue)>;

// The display as a control: draws its source and reports, as the mouse moves over it, the
// horizontal value under the mouse and the level of the vertical scale there (0 dB at the top).
class TAudioVisualizationView : public TCustomControl {
 public:
  explicit TAudioVisualizationView(TComponent* AOwner);
  const TVisualizationSource& Source() const { return FSource; }
  void SetSource(TVisualizationSource source);
  const TVisualizationFont& DisplayFont() const { return FFont; }
  void SetDisplayFont(const TVisualizationFont& font);
  // The values a point of the control stands for.
  void ValuesAt(int X, int Y, int& XValue, int& YValue) const;

  // Replaces the control's own mouse-move event, with the values added.
  TVisualizationMouseMoveEvent OnMouseMove;

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  TVisualizationSource FSource;
  TVisualizationFont FFont;
};

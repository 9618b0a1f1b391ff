#pragma once
// The splash window: a shaped picture shown while the program starts, freed by the main
// window's splash timer.

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"

class TSplashForm : public TForm {
 public:
  explicit TSplashForm(TComponent* AOwner);
  TImage* Image = nullptr;
  void FormCreate(TObject* Sender);
  void ImageClick(TObject* Sender);
};

extern TSplashForm* SplashForm;

// The region of the pixels of Bitmap that differ from KeyColor: one rectangle per run of such
// pixels in a row (a run reaching the row's end included); empty when every pixel is the key.
HRGN BitmapShapeRegion(TBitmap* Bitmap, TColor KeyColor);
// Makes the window's shape that region (the window owns it afterwards).
void SetWindowShapeFromBitmap(HWND Window, TBitmap* Bitmap, TColor KeyColor);

void RegisterSplashClasses();

#include "app/Splash.h"

#include <QImage>

#include "platform/rtl/TypInfo.h"

TSplashForm* SplashForm = nullptr;

namespace {
constexpr TColor kSplashKey = TColor(0xFF00FF);
}

TSplashForm::TSplashForm(TComponent* AOwner) : TForm(AOwner) {
  InitForm("TSplashForm");
}

void TSplashForm::FormCreate(TObject*) {
  Image = dynamic_cast<TImage*>(FindComponent("Image"));
  if (!Image) return;
  Image->Picture()->Bitmap()->LoadFromResourceName("Splash");
  SetWindowShapeFromBitmap(Handle(), Image->Picture()->Bitmap(), kSplashKey);
}

void TSplashForm::ImageClick(TObject*) { Hide(); }

HRGN BitmapShapeRegion(TBitmap* Bitmap, TColor KeyColor) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  QImage image = Bitmap->ToImage();
  const TColor key = ColorToRGB(KeyColor);
  const QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int start = -1;
    // One step past the last pixel closes a run that reaches the row's end, so the last column
    // belongs to the shape like any other.
    for (int x = 0; x <= image.width(); ++x) {
      bool opaque = x < image.width() && (row[x] & 0xFFFFFF) != k;
      if (opaque && start < 0) start = x;
      if (!opaque && start >= 0) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(region, region, run, RGN_OR);
        DeleteObject(run);
        start = -1;
      }
    }
  }
  return region;
}

void SetWindowShapeFromBitmap(HWND Window, TBitmap* Bitmap, TColor KeyColor) {
  HRGN region = BitmapShapeRegion(Bitmap, KeyColor);
  SetWindowRgn(Window, region, TRUE);
}

void RegisterSplashClasses() {
  RegisterClass<TSplashForm, TForm>();
  Published<TSplashForm>()
      .Method("FormCreate", &TSplashForm::FormCreate)
      .Method("ImageClick", &TSplashForm::ImageClick);
}

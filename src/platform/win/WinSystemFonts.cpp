// The system fonts and frame sizes SystemParametersInfo answers.
#include <QApplication>
#include <QToolTip>
#include <cstddef>
#include <cstring>

#include "platform/win/WinInternal.h"
#include "platform/win/Windows.h"

namespace {

LOGFONT MakeLogFont(const std::string& Face, LONG Height, LONG Weight = FW_NORMAL) {
  LOGFONT lf;
  lf.lfHeight = Height;
  lf.lfWeight = Weight;
  std::strncpy(lf.lfFaceName, Face.c_str(), sizeof lf.lfFaceName - 1);
  return lf;
}

// The tool-tip font is the screen's hint font, and so the status-bar and message font.
LOGFONT HintLogFont() {
  if (!QApplication::instance()) return MakeLogFont("Tahoma", -11);
  QFont tip = QToolTip::font();
  LONG height = tip.pixelSize() > 0 ? -tip.pixelSize() : -((tip.pointSize() * 96 + 36) / 72);
  return MakeLogFont(tip.family().toStdString(), height);
}

}  // namespace

LOGFONT SystemLogFont(TSystemFont Kind) {
  switch (Kind) {
    case TSystemFont::Status:
    case TSystemFont::Message: return HintLogFont();
    case TSystemFont::Caption: return MakeLogFont("Tahoma", -11, FW_BOLD);
    default: return MakeLogFont("Tahoma", -11);  // the default font of every control
  }
}

bool FillNonClientMetrics(NONCLIENTMETRICS& Metrics) {
  constexpr UINT withoutPadding = offsetof(NONCLIENTMETRICS, iPaddedBorderWidth);
  if (Metrics.cbSize != withoutPadding && Metrics.cbSize != sizeof(NONCLIENTMETRICS)) return false;
  Metrics.iBorderWidth = GetSystemMetrics(SM_CXBORDER);
  Metrics.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  Metrics.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  Metrics.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
  Metrics.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
  Metrics.lfCaptionFont = SystemLogFont(TSystemFont::Caption);
  Metrics.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
  Metrics.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
  Metrics.lfSmCaptionFont = SystemLogFont(TSystemFont::SmallCaption);
  Metrics.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
  Metrics.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
  Metrics.lfMenuFont = SystemLogFont(TSystemFont::Menu);
  Metrics.lfStatusFont = SystemLogFont(TSystemFont::Status);
  Metrics.lfMessageFont = SystemLogFont(TSystemFont::Message);
  if (Metrics.cbSize == sizeof(NONCLIENTMETRICS)) Metrics.iPaddedBorderWidth = 0;
  return true;
}

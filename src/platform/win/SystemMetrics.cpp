#include "platform/win/SystemMetrics.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <map>

namespace {

int Classic(int index) {
  switch (index) {
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVTHUMB: case SM_CXHTHUMB:
    case SM_CYVSCROLL: case SM_CXHSCROLL:
      return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_SWAPBUTTON: return 0;
    case SM_CXSIZE: case SM_CYSIZE: case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

std::map<int, int>& Overrides() {
  static std::map<int, int> m;
  return m;
}

}  // namespace

int GetSystemMetrics(int nIndex) {
  auto it = Overrides().find(nIndex);
  if (it != Overrides().end()) return it->second;
  if (nIndex == SM_CXSCREEN || nIndex == SM_CYSCREEN) {
    QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                     ? QGuiApplication::primaryScreen()
                     : nullptr;
    if (!s) return nIndex == SM_CXSCREEN ? 1024 : 768;
    return nIndex == SM_CXSCREEN ? s->geometry().width() : s->geometry().height();
  }
  return Classic(nIndex);
}

void SetSystemMetric(int nIndex, int Value) {
  if (Value < 0)
    Overrides().erase(nIndex);
  else
    Overrides()[nIndex] = Value;
}

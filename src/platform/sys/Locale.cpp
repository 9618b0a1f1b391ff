#include "platform/sys/Locale.h"

#include <QtCore/QLocale>
#include <cstring>

LCID GetThreadLocale() { return LOCALE_USER_DEFAULT; }
LCID GetUserDefaultLCID() { return LOCALE_USER_DEFAULT; }

bool GetLocaleText(LCID, LCTYPE Type, std::string& Text) {
  QLocale l;
  QString s;
  if (Type == LOCALE_IFIRSTDAYOFWEEK) {
    s = QString::number(int(l.firstDayOfWeek()) - 1);  // Qt: Monday 1 ... Sunday 7
  } else if (Type >= LOCALE_SDAYNAME1 && Type < LOCALE_SDAYNAME1 + 7) {
    s = l.dayName(int(Type - LOCALE_SDAYNAME1) + 1, QLocale::LongFormat);
  } else if (Type >= LOCALE_SABBREVDAYNAME1 && Type < LOCALE_SABBREVDAYNAME1 + 7) {
    s = l.dayName(int(Type - LOCALE_SABBREVDAYNAME1) + 1, QLocale::ShortFormat);
  } else if (Type >= LOCALE_SMONTHNAME1 && Type < LOCALE_SMONTHNAME1 + 12) {
    s = l.monthName(int(Type - LOCALE_SMONTHNAME1) + 1, QLocale::LongFormat);
  } else if (Type >= LOCALE_SABBREVMONTHNAME1 && Type < LOCALE_SABBREVMONTHNAME1 + 12) {
    s = l.monthName(int(Type - LOCALE_SABBREVMONTHNAME1) + 1, QLocale::ShortFormat);
  } else {
    switch (Type) {
      case LOCALE_SLIST: s = l.groupSeparator() == QLatin1String(",") ? ";" : ","; break;
      case LOCALE_SDECIMAL: s = l.decimalPoint(); break;
      case LOCALE_STHOUSAND: s = l.groupSeparator(); break;
      case LOCALE_S1159: s = l.amText(); break;
      case LOCALE_S2359: s = l.pmText(); break;
      case LOCALE_SDATE: {
        // The first non-letter of the short date pattern.
        QString f = l.dateFormat(QLocale::ShortFormat);
        s = "/";
        for (QChar c : f)
          if (!c.isLetter()) {
            s = c;
            break;
          }
        break;
      }
      case LOCALE_STIME: {
        QString f = l.timeFormat(QLocale::ShortFormat);
        s = ":";
        for (QChar c : f)
          if (!c.isLetter() && !c.isSpace()) {
            s = c;
            break;
          }
        break;
      }
      default: Text.clear(); return false;
    }
  }
  Text = s.toStdString();
  return true;
}

int GetLocaleInfo(LCID Locale, LCTYPE Type, char* Buffer, int Size) {
  std::string t;
  if (!GetLocaleText(Locale, Type, t)) return 0;
  int need = int(t.size()) + 1;
  if (Size == 0) return need;
  if (!Buffer || Size < need) return 0;
  std::memcpy(Buffer, t.c_str(), std::size_t(need));
  return need;
}

#pragma once
// Locale values by number, from the user's locale (Qt's default locale, which tests may set).
// Texts are UTF-8. Only the items the libraries ask for are answered.

#include <cstdint>
#include <string>

using LCID = uint32_t;
using LCTYPE = uint32_t;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr LCTYPE LOCALE_SLIST = 0x000C;
constexpr LCTYPE LOCALE_SDECIMAL = 0x000E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x000F;
constexpr LCTYPE LOCALE_SDATE = 0x001D;
constexpr LCTYPE LOCALE_STIME = 0x001E;
constexpr LCTYPE LOCALE_S1159 = 0x0028;
constexpr LCTYPE LOCALE_S2359 = 0x0029;
constexpr LCTYPE LOCALE_SDAYNAME1 = 0x002A;          // Monday; ...7 is Sunday
constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x0031;
constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x0038;
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x0044;
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;    // "0" Monday ... "6" Sunday

LCID GetThreadLocale();
LCID GetUserDefaultLCID();
// The text of an item, or "" with false when the locale has no such item.
bool GetLocaleText(LCID Locale, LCTYPE Type, std::string& Text);
// The platform's two-call form: with Size 0 the length including the terminating zero, else the
// number of bytes written (zero included); 0 for an unknown item or a buffer too small.
int GetLocaleInfo(LCID Locale, LCTYPE Type, char* Buffer, int Size);

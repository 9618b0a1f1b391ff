#pragma once
// The lowest layer of the interface suite: operating-system flags, the deferred units loader, the
// resource-string repository, the suite's exception class and small helpers for locale data,
// code pages, memory blocks and streams.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Locale.h"

// Text in the platform's wide form (UTF-16).
using WideString = std::u16string;

// ---- operating-system flags, set by the unit's start-up

extern bool IsWin9xPlatform;
extern bool IsWindows95;
extern bool IsWindows98;
extern bool IsWindowsMe;
extern bool IsNTPlatform;
extern bool IsWindows2000;
extern bool IsWindows2000OrLater;
extern bool IsWindowsXP;
extern bool IsWindowsXPOrLater;
extern bool IsWindows2000OrXP;
extern bool IsWindowsVista;
extern bool IsWindowsVistaOrLater;
extern bool IsWindows7;
extern bool IsWow64;
// The short name other suite libraries test.
inline bool IsWin9x() { return IsWin9xPlatform; }

// The start of the week (0 Sunday ... 6 Saturday) read at start-up, and the override flag that
// makes GetFirstDayOfWeek answer it instead of the locale.
extern uint16_t dxStartOfWeek;
extern uint8_t dxStartOfWeekOverridden;

// ---- exceptions

class EdxException : public Exception {
 public:
  using Exception::Exception;
  EdxException() : Exception("") {}
};

// ---- resource strings

// A resource string of the program's string table: its id and built-in text.
struct TResStringRec {
  int Identifier = 0;
  const char* Text = "";
};
std::string LoadResString(const TResStringRec* ResString);

// Told when the registered strings changed (a localizer replaced them).
class IdxLocalizerListener {
 public:
  virtual ~IdxLocalizerListener() = default;
  virtual void TranslationChanged() = 0;
};

class TdxProductResourceStrings;
using TdxAddResourceStringsProcedure = void (*)(TdxProductResourceStrings* Product);

class TdxProductResourceStrings : public TObject {
 public:
  TdxProductResourceStrings(const std::string& AName,
                            TdxAddResourceStringsProcedure ARegistrationProc);
  ~TdxProductResourceStrings() override;

  void AddString(const std::string& AName, const TResStringRec* AResStringAddr);
  void CallRegistration();
  const std::string& Name() const { return FName; }
  TdxAddResourceStringsProcedure RegistrationProc() const { return FRegistrationProc; }
  // Sorted names; each object is the address of the string's descriptor.
  TStringList* Names() const { return FResStringNames.get(); }
  int ResStringCount() const { return FResStringNames->Count(); }
  const TResStringRec* ResStrings(int Index) const;

 private:
  std::string FName;
  std::unique_ptr<TStringList> FResStringNames;
  TdxAddResourceStringsProcedure FRegistrationProc = nullptr;
};

class TdxResourceStringsRepository : public TObject {
 public:
  TdxResourceStringsRepository();
  ~TdxResourceStringsRepository() override;

  void RegisterProduct(const std::string& AProductName,
                       TdxAddResourceStringsProcedure AAddStringsProc);
  void UnregisterProduct(const std::string& AProductName);
  int IndexOfProduct(const std::string& AProductName) const;
  int ProductCount() const { return FProducts.Count(); }
  TdxProductResourceStrings* Products(int Index) const {
    return FProducts.Get<TdxProductResourceStrings>(Index);
  }

  void AddListener(IdxLocalizerListener* AListener);
  void RemoveListener(IdxLocalizerListener* AListener);
  // Tells every listener that the strings changed (what a localizer calls). Listeners removed
  // meanwhile are not called.
  void NotifyListeners();
  int ListenerCount() const { return int(FListeners.size()); }

 private:
  TObjectList FProducts{true};
  std::vector<IdxLocalizerListener*> FListeners;
};

TdxResourceStringsRepository* GetResourceStringsRepository();

// ---- units loader

using TdxUnitProc = void (*)();

class TdxUnitsLoader : public TObject {
 public:
  // Inside a library loaded by a host, initialisation waits for an explicit Initialize call.
  explicit TdxUnitsLoader(bool ADeferInitialization = false);
  ~TdxUnitsLoader() override;

  void RegisterUnit(TdxUnitProc AInitializeProc, TdxUnitProc AFinalizeProc);
  void UnregisterUnit(TdxUnitProc AFinalizeProc);
  // Runs the waiting initialize procedures, in registration order.
  void Initialize();
  void RunFinalizers();
  int FinalizeCount() const { return int(FFinalizeList.size()); }
  bool Initialized() const { return FInitialized; }

 private:
  bool FDeferInitialization;
  std::vector<TdxUnitProc> FInitializeList;
  std::vector<TdxUnitProc> FFinalizeList;
  bool FInitialized = false;
};

TdxUnitsLoader* GetUnitsLoader();
// The explicit start and end a host calls around a library of suite units.
void dxInitialize();
void dxFinalize();

// ---- helpers

inline bool CheckCondition(bool Value, const std::string& /*Message*/) { return Value; }
std::string GetLocaleText(LCID Locale, LCTYPE LCType, const std::string& Default);
int GetLocaleFirstDayOfWeek();
int GetFirstDayOfWeek();

std::string FormatSettingsLongDayName(TObject* Unused, int Index);
std::string FormatSettingsLongMonthName(TObject* Unused, int Index);
std::string FormatSettingsShortDayName(TObject* Unused, int Index);
std::string FormatSettingsShortMonthName(TObject* Unused, int Index);
int FormatSettingsCurrencyDecimals(TObject* Unused = nullptr);
int FormatSettingsCurrencyFormat(TObject* Unused = nullptr);
std::string FormatSettingsCurrencyString(TObject* Unused = nullptr);
char FormatSettingsDateSeparator(TObject* Unused = nullptr);
char FormatSettingsDecimalSeparator(TObject* Unused = nullptr);
char FormatSettingsListSeparator(TObject* Unused = nullptr);
std::string FormatSettingsLongDateFormat(TObject* Unused = nullptr);
std::string FormatSettingsLongTimeFormat(TObject* Unused = nullptr);
int FormatSettingsNegCurrFormat(TObject* Unused = nullptr);
std::string FormatSettingsShortDateFormat(TObject* Unused = nullptr);
std::string FormatSettingsShortTimeFormat(TObject* Unused = nullptr);
std::string FormatSettingsTimeAMString(TObject* Unused = nullptr);
std::string FormatSettingsTimePMString(TObject* Unused = nullptr);
char FormatSettingsTimeSeparator(TObject* Unused = nullptr);

// The program is never a library loaded by a host.
bool IsInsideNonPackageLibrary();
// Bit Index (0..255) of a set stored as 32-bit words.
bool TestBit(int Index, const uint32_t* Words);

constexpr unsigned CP_ACP = 0;
constexpr unsigned CP_UTF8 = 65001;
// "ANSI" text is UTF-8 in this program, whatever code page is named.
WideString AnsiToWideInCodePage(const std::string& Text, unsigned CodePage, int Length = -1);
std::string WideToAnsiInCodePage(const WideString& Text, unsigned CodePage, int Length = -1);
inline std::string AnsiToNativeString(const std::string& Text, unsigned /*CodePage*/ = CP_ACP) {
  return Text;
}
inline std::string NativeToAnsiString(const std::string& Text, unsigned /*CodePage*/ = CP_ACP) {
  return Text;
}
// At most 255 bytes, never cutting a character in two.
std::string AnsiToShortString(const std::string& Text);
inline std::string ShortToAnsiString(const std::string& Text) { return Text; }

void ZeroFillMemory(void* Block, std::size_t Length);
void* AllocZeroed(std::size_t Size);
void FreeBlock(void* Block);
void CopyBlock(const void* Source, void* Dest, std::size_t Count);
template <class T>
void FreeAndClearObject(T*& Obj) {
  T* o = Obj;
  Obj = nullptr;
  delete o;
}
void WriteIntToStream(TStream* Stream, int32_t Value);
// Alpha shl 24 or Red shl 16 or Green shl 8 or Blue, system colours resolved.
uint32_t ColorToQuadWithAlpha(int32_t Color, uint8_t Alpha);

class TBitmap;
struct BITMAPINFOHEADER;
// Zeroes the header and makes it describe a 32-bit uncompressed bitmap (negative height for
// rows from the top).
void InitBitmapInfoHeader(BITMAPINFOHEADER& Header, int Width, int Height, bool TopDown);
// Bits per pixel of a bitmap's format (15-bit counts 16; device and custom formats: the screen's).
int GetBitmapBitsPerPixel(TBitmap* Bitmap);
// The pixels as 32-bit values (alpha << 24 | red << 16 | green << 8 | blue), rows from the top
// when TopDown, else from the bottom. False for an empty bitmap.
bool ReadBitmapColors(TBitmap* Bitmap, std::vector<uint32_t>& Colors, bool TopDown);
bool WriteBitmapColors(TBitmap* Bitmap, const std::vector<uint32_t>& Colors, bool TopDown);
// A bitmap of 32 bits per pixel with any non-zero alpha byte.
bool IsBitmapAlphaUsed(TBitmap* Bitmap);

void dxCoreInitialize();
void dxCoreFinalize();

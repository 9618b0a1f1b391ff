#include "suite/core/dxCore.h"

#include <QtCore/QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "platform/win/GdiExtras.h"
#include "platform/sys/Modules.h"

bool IsWin9xPlatform = false;
bool IsWindows95 = false;
bool IsWindows98 = false;
bool IsWindowsMe = false;
bool IsNTPlatform = false;
bool IsWindows2000 = false;
bool IsWindows2000OrLater = false;
bool IsWindowsXP = false;
bool IsWindowsXPOrLater = false;
bool IsWindows2000OrXP = false;
bool IsWindowsVista = false;
bool IsWindowsVistaOrLater = false;
bool IsWindows7 = false;
bool IsWow64 = false;

uint16_t dxStartOfWeek = 0;
uint8_t dxStartOfWeekOverridden = 0;

std::string LoadResString(const TResStringRec* ResString) {
  return ResString && ResString->Text ? ResString->Text : "";
}

// ---- repository

TdxProductResourceStrings::TdxProductResourceStrings(
    const std::string& AName, TdxAddResourceStringsProcedure ARegistrationProc)
    : FName(AName), FResStringNames(std::make_unique<TStringList>()),
      FRegistrationProc(ARegistrationProc) {
  FResStringNames->SetSorted(true);
  FResStringNames->SetDuplicates(dupAccept);
  CallRegistration();
}

TdxProductResourceStrings::~TdxProductResourceStrings() { FRegistrationProc = nullptr; }

void TdxProductResourceStrings::AddString(const std::string& AName,
                                          const TResStringRec* AResStringAddr) {
  // The descriptor rides in the object slot; the list never frees it.
  FResStringNames->AddObject(
      AName, reinterpret_cast<TObject*>(const_cast<TResStringRec*>(AResStringAddr)));
}

const TResStringRec* TdxProductResourceStrings::ResStrings(int Index) const {
  return reinterpret_cast<const TResStringRec*>(FResStringNames->Objects(Index));
}

void TdxProductResourceStrings::CallRegistration() {
  if (FRegistrationProc) FRegistrationProc(this);
}

TdxResourceStringsRepository::TdxResourceStringsRepository() = default;
TdxResourceStringsRepository::~TdxResourceStringsRepository() = default;

void TdxResourceStringsRepository::RegisterProduct(const std::string& AProductName,
                                                   TdxAddResourceStringsProcedure AAddStringsProc) {
  FProducts.Add(new TdxProductResourceStrings(AProductName, AAddStringsProc));
}

void TdxResourceStringsRepository::UnregisterProduct(const std::string& AProductName) {
  int i = IndexOfProduct(AProductName);
  if (i >= 0) FProducts.Delete(i);
}

int TdxResourceStringsRepository::IndexOfProduct(const std::string& AProductName) const {
  for (int i = 0; i < FProducts.Count(); ++i)
    if (Products(i)->Name() == AProductName) return i;
  return -1;
}

void TdxResourceStringsRepository::AddListener(IdxLocalizerListener* AListener) {
  if (AListener && std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TdxResourceStringsRepository::RemoveListener(IdxLocalizerListener* AListener) {
  auto it = std::find(FListeners.begin(), FListeners.end(), AListener);
  if (it != FListeners.end()) FListeners.erase(it);
}

void TdxResourceStringsRepository::NotifyListeners() {
  // A listener may remove itself or others while being told; those removed are skipped.
  std::vector<IdxLocalizerListener*> snapshot = FListeners;
  for (IdxLocalizerListener* l : snapshot)
    if (std::find(FListeners.begin(), FListeners.end(), l) != FListeners.end())
      l->TranslationChanged();
}

namespace {
TdxResourceStringsRepository* gRepository = nullptr;
TdxUnitsLoader* gUnitsLoader = nullptr;
bool gCoreFinalized = false;
}  // namespace

TdxResourceStringsRepository* GetResourceStringsRepository() {
  if (!gRepository && !gCoreFinalized) gRepository = new TdxResourceStringsRepository;
  return gRepository;
}

// ---- units loader

TdxUnitsLoader::TdxUnitsLoader(bool ADeferInitialization)
    : FDeferInitialization(ADeferInitialization) {}

TdxUnitsLoader::~TdxUnitsLoader() { RunFinalizers(); }

void TdxUnitsLoader::RegisterUnit(TdxUnitProc AInitializeProc, TdxUnitProc AFinalizeProc) {
  if (AInitializeProc) {
    if (FDeferInitialization) {
      FInitializeList.push_back(AInitializeProc);
    } else {
      FInitialized = true;
      AInitializeProc();
    }
  }
  if (AFinalizeProc) FFinalizeList.push_back(AFinalizeProc);
}

void TdxUnitsLoader::UnregisterUnit(TdxUnitProc AFinalizeProc) {
  if (!AFinalizeProc) return;
  auto it = std::find(FFinalizeList.begin(), FFinalizeList.end(), AFinalizeProc);
  if (it == FFinalizeList.end()) return;
  FFinalizeList.erase(it);
  AFinalizeProc();
}

void TdxUnitsLoader::Initialize() {
  std::vector<TdxUnitProc> waiting;
  waiting.swap(FInitializeList);
  for (TdxUnitProc p : waiting) {
    FInitialized = true;
    p();
  }
}

void TdxUnitsLoader::RunFinalizers() {
  if (FInitialized) {
    // A finalizer may unregister another unit; take the list first so nothing runs twice.
    std::vector<TdxUnitProc> list;
    list.swap(FFinalizeList);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
      if (*it) (*it)();
  }
  FInitialized = false;
  FFinalizeList.clear();
}

TdxUnitsLoader* GetUnitsLoader() {
  if (!gUnitsLoader && !gCoreFinalized)
    gUnitsLoader = new TdxUnitsLoader(IsInsideNonPackageLibrary());
  return gUnitsLoader;
}

void dxInitialize() {
  if (TdxUnitsLoader* l = GetUnitsLoader()) l->Initialize();
}

void dxFinalize() {
  if (gUnitsLoader) gUnitsLoader->RunFinalizers();
}

// ---- helpers

std::string GetLocaleText(LCID Locale, LCTYPE LCType, const std::string& Default) {
  int size = GetLocaleInfo(Locale, LCType, nullptr, 0);
  if (size == 0) return Default;
  std::string buffer(std::size_t(size), '\0');
  GetLocaleInfo(Locale, LCType, buffer.data(), size);
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

int GetLocaleFirstDayOfWeek() {
  int day = StrToIntDef(GetLocaleText(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, "0"), 0);
  return day >= 6 ? 0 : day + 1;
}

int GetFirstDayOfWeek() {
  return dxStartOfWeekOverridden ? dxStartOfWeek : GetLocaleFirstDayOfWeek();
}

namespace {
template <std::size_t N>
std::string NameAt(const std::string (&names)[N], int index) {
  return index >= 1 && index <= int(N) ? names[index - 1] : std::string();
}
}  // namespace

std::string FormatSettingsLongDayName(TObject*, int Index) {
  return NameAt(FormatSettings.LongDayNames, Index);
}
std::string FormatSettingsLongMonthName(TObject*, int Index) {
  return NameAt(FormatSettings.LongMonthNames, Index);
}
std::string FormatSettingsShortDayName(TObject*, int Index) {
  return NameAt(FormatSettings.ShortDayNames, Index);
}
std::string FormatSettingsShortMonthName(TObject*, int Index) {
  return NameAt(FormatSettings.ShortMonthNames, Index);
}
// The run-time library keeps no currency settings: those of the classic English locale.
int FormatSettingsCurrencyDecimals(TObject*) { return 2; }
int FormatSettingsCurrencyFormat(TObject*) { return 0; }
std::string FormatSettingsCurrencyString(TObject*) { return "$"; }
char FormatSettingsDateSeparator(TObject*) { return FormatSettings.DateSeparator; }
char FormatSettingsDecimalSeparator(TObject*) { return FormatSettings.DecimalSeparator; }
char FormatSettingsListSeparator(TObject*) { return ','; }
std::string FormatSettingsLongDateFormat(TObject*) { return FormatSettings.LongDateFormat; }
std::string FormatSettingsLongTimeFormat(TObject*) { return FormatSettings.LongTimeFormat; }
int FormatSettingsNegCurrFormat(TObject*) { return 0; }
std::string FormatSettingsShortDateFormat(TObject*) { return FormatSettings.ShortDateFormat; }
std::string FormatSettingsShortTimeFormat(TObject*) { return FormatSettings.ShortTimeFormat; }
std::string FormatSettingsTimeAMString(TObject*) { return FormatSettings.TimeAMString; }
std::string FormatSettingsTimePMString(TObject*) { return FormatSettings.TimePMString; }
char FormatSettingsTimeSeparator(TObject*) { return FormatSettings.TimeSeparator; }

bool IsInsideNonPackageLibrary() { return false; }

bool TestBit(int Index, const uint32_t* Words) {
  if (Index < 0 || Index > 255 || !Words) return false;
  return (Words[Index / 32] >> (Index % 32)) & 1u;
}

WideString AnsiToWideInCodePage(const std::string& Text, unsigned, int Length) {
  if (Text.empty() || Length == 0) return {};
  std::size_t n = Length < 0 ? Text.size() : std::min(Text.size(), std::size_t(Length));
  QString s = QString::fromUtf8(Text.data(), qsizetype(n));
  return WideString(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
}

std::string WideToAnsiInCodePage(const WideString& Text, unsigned, int Length) {
  if (Text.empty() || Length == 0) return {};
  std::size_t n = Length < 0 ? Text.size() : std::min(Text.size(), std::size_t(Length));
  return QString::fromUtf16(Text.data(), qsizetype(n)).toStdString();
}

std::string AnsiToShortString(const std::string& Text) {
  if (Text.size() <= 255) return Text;
  std::size_t n = 255;
  while (n > 0 && (uint8_t(Text[n]) & 0xC0) == 0x80) --n;  // a continuation byte starts no character
  return Text.substr(0, n);
}

void ZeroFillMemory(void* Block, std::size_t Length) {
  if (Block && Length) std::memset(Block, 0, Length);
}
void* AllocZeroed(std::size_t Size) { return std::calloc(std::max<std::size_t>(Size, 1), 1); }
void FreeBlock(void* Block) { std::free(Block); }
void CopyBlock(const void* Source, void* Dest, std::size_t Count) {
  if (Count) std::memmove(Dest, Source, Count);
}

void WriteIntToStream(TStream* Stream, int32_t Value) {
  uint8_t b[4] = {uint8_t(Value), uint8_t(Value >> 8), uint8_t(Value >> 16), uint8_t(Value >> 24)};
  Stream->WriteBuffer(b, 4);
}

uint32_t ColorToQuadWithAlpha(int32_t Color, uint8_t Alpha) {
  uint32_t rgb = uint32_t(ColorToRGB(Color));
  return uint32_t(Alpha) << 24 | (rgb & 0xFF) << 16 | ((rgb >> 8) & 0xFF) << 8 | ((rgb >> 16) & 0xFF);
}

void InitBitmapInfoHeader(BITMAPINFOHEADER& Header, int Width, int Height, bool TopDown) {
  std::memset(&Header, 0, sizeof Header);
  Header.biSize = 40;
  Header.biWidth = Width;
  Header.biHeight = TopDown ? -Height : Height;
  Header.biPlanes = 1;
  Header.biBitCount = 32;
  Header.biCompression = BI_RGB;
}

int GetBitmapBitsPerPixel(TBitmap* Bitmap) {
  switch (Bitmap->PixelFormat()) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return GetDeviceCaps(Bitmap->Canvas()->Handle(), BITSPIXEL);
  }
}

bool ReadBitmapColors(TBitmap* Bitmap, std::vector<uint32_t>& Colors, bool TopDown) {
  int w = Bitmap->Width(), h = Bitmap->Height();
  if (w <= 0 || h <= 0) return false;
  Colors.assign(std::size_t(w) * std::size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = Bitmap->ScanLine(TopDown ? y : h - 1 - y);
    std::memcpy(&Colors[std::size_t(y) * std::size_t(w)], row, std::size_t(w) * 4);
  }
  return true;
}

bool WriteBitmapColors(TBitmap* Bitmap, const std::vector<uint32_t>& Colors, bool TopDown) {
  int w = Bitmap->Width(), h = Bitmap->Height();
  if (w <= 0 || h <= 0 || Colors.size() < std::size_t(w) * std::size_t(h)) return false;
  for (int y = 0; y < h; ++y)
    std::memcpy(Bitmap->ScanLine(TopDown ? y : h - 1 - y), &Colors[std::size_t(y) * std::size_t(w)],
                std::size_t(w) * 4);
  return true;
}

bool IsBitmapAlphaUsed(TBitmap* Bitmap) {
  if (GetBitmapBitsPerPixel(Bitmap) < 32) return false;
  std::vector<uint32_t> colors;
  if (!ReadBitmapColors(Bitmap, colors, false)) return false;
  for (uint32_t c : colors)
    if (c >> 24) return true;
  return false;
}

// ---- unit start-up

namespace {
int gCoreUnitCount = 0;

void ComputeOSFlags() {
  const TOSVersion& v = OSVersion();
  IsWin9xPlatform = v.Platform == VER_PLATFORM_WIN32_WINDOWS;
  IsWindows95 = IsWin9xPlatform && v.Minor == 0;
  IsWindows98 = IsWin9xPlatform && v.Minor == 10;
  IsWindowsMe = IsWin9xPlatform && v.Minor == 90;
  IsNTPlatform = v.Platform == VER_PLATFORM_WIN32_NT;
  IsWindows2000 = IsNTPlatform && v.Major == 5 && v.Minor == 0;
  IsWindows2000OrLater = IsNTPlatform && v.Major >= 5;
  IsWindowsXP = IsNTPlatform && v.Major == 5 && v.Minor > 0;
  IsWindowsXPOrLater = IsNTPlatform && v.Major >= 5 && !IsWindows2000;
  IsWindows2000OrXP = IsWindows2000 || IsWindowsXP;
  IsWindowsVista = IsNTPlatform && v.Major == 6;
  IsWindowsVistaOrLater = IsNTPlatform && v.Major >= 6;
  IsWindows7 = IsNTPlatform && v.Major == 6 && v.Minor == 1;
  IsWow64 = false;
  if (HMODULE k = GetModuleHandle("kernel32.dll")) {
    using TIsWow64Process = int (*)(void* Process, int* Wow64Process);
    if (auto f = GetProcAddressAs<TIsWow64Process>(k, "IsWow64Process")) {
      int wow = 0;
      IsWow64 = f(nullptr, &wow) != 0 && wow != 0;
    }
  }
}
}  // namespace

void dxCoreInitialize() {
  if (gCoreUnitCount++ > 0) return;
  gCoreFinalized = false;
  ComputeOSFlags();
  dxStartOfWeek = uint16_t(GetLocaleFirstDayOfWeek());
}

void dxCoreFinalize() {
  if (gCoreUnitCount == 0 || --gCoreUnitCount > 0) return;
  gCoreFinalized = true;
  FreeAndClearObject(gRepository);
  if (IsInsideNonPackageLibrary() && gUnitsLoader && gUnitsLoader->FinalizeCount() > 0)
    throw Exception("Need call dxFinalize before free library!");
  FreeAndClearObject(gUnitsLoader);
}

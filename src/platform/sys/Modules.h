#pragma once
// Optional libraries bound at run time by name. There are no real dynamic libraries behind
// these names: one table lists our modules ("kernel32.dll", "dwmapi.dll"...) and the entries each
// offers, so that code written for "load the library, look the entry up, fall back when either is
// missing" runs as written. Layers above add the entries they implement; tests remove a module
// or an entry (TModuleTableGuard puts the table back) to drive the fallbacks.
//
// The system identity the run-time library reports lives here too: Windows 7 (NT 6.1), not WOW64.

#include <cstdint>
#include <string>
#include <vector>

struct TInstanceTag;
using HMODULE = TInstanceTag*;
// Any entry point; callers cast it to the entry's own function type.
using FARPROC = void (*)();

// Names compare without regard to case and with or without the ".dll" extension.
// LoadLibrary counts loads of a present module and answers null for an absent one.
HMODULE LoadLibrary(const std::string& FileName);
// Null unless the module is loaded (the system modules always are).
HMODULE GetModuleHandle(const std::string& ModuleName);
// Null for an unknown module handle or an entry the module does not offer.
FARPROC GetProcAddress(HMODULE Module, const std::string& ProcName);
// False for a handle that is not loaded.
bool FreeLibrary(HMODULE Module);
// The load count of a module (0 when not loaded); system modules count 1 at least.
int ModuleLoadCount(const std::string& ModuleName);

template <class F>
F GetProcAddressAs(HMODULE Module, const std::string& ProcName) {
  return reinterpret_cast<F>(GetProcAddress(Module, ProcName));
}

// ---- the table

// Declares a module (present unless told otherwise). A system module is loaded from the start
// and never unloaded.
void RegisterModule(const std::string& ModuleName, bool SystemModule = false);
// An absent module fails LoadLibrary; its entries are kept for when it becomes present again.
void SetModulePresent(const std::string& ModuleName, bool Present);
bool ModulePresent(const std::string& ModuleName);
// Adds or replaces an entry (the module is declared when unknown); a null Proc removes it.
void SetModuleEntry(const std::string& ModuleName, const std::string& ProcName, FARPROC Proc);
template <class F>
void SetModuleEntryAs(const std::string& ModuleName, const std::string& ProcName, F Proc) {
  SetModuleEntry(ModuleName, ProcName, reinterpret_cast<FARPROC>(Proc));
}
std::vector<std::string> ModuleEntryNames(const std::string& ModuleName);

// Saves the whole table and puts it back when it goes out of scope (load counts included).
class TModuleTableGuard {
 public:
  TModuleTableGuard();
  ~TModuleTableGuard();
  TModuleTableGuard(const TModuleTableGuard&) = delete;
  TModuleTableGuard& operator=(const TModuleTableGuard&) = delete;

 private:
  struct Impl;
  Impl* FImpl;
};

// ---- system identity

constexpr unsigned VER_PLATFORM_WIN32s = 0;
constexpr unsigned VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr unsigned VER_PLATFORM_WIN32_NT = 2;

struct TOSVersion {
  unsigned Platform = VER_PLATFORM_WIN32_NT;
  unsigned Major = 6;
  unsigned Minor = 1;
  unsigned Build = 7601;
};
// What the run-time library reads at start; tests may set another to exercise version branches.
const TOSVersion& OSVersion();
void SetOSVersion(const TOSVersion& Version);

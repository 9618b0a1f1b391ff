#include "platform/sys/Modules.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>

#include "platform/rtl/SysUtils.h"

namespace {

struct TModule {
  std::string Name;  // as first declared
  bool Present = true;
  bool System = false;
  int LoadCount = 0;
  std::map<std::string, FARPROC> Entries;  // entry names are case-sensitive, as the platform's
};

struct TTable {
  std::vector<TModule> Modules;  // a handle is the index + 1; modules are never removed
};

std::string Key(const std::string& name) {
  std::string k = LowerCase(name);
  if (k.size() > 4 && k.compare(k.size() - 4, 4, ".dll") == 0) k.resize(k.size() - 4);
  return k;
}

// kernel32: the process is never a 32-bit process on a 64-bit system.
int IsWow64ProcessEntry(void* /*process*/, int* wow64) {
  if (!wow64) return 0;
  *wow64 = 0;
  return 1;
}

// dwmapi: composition is off.
int32_t DwmIsCompositionEnabledEntry(int* enabled) {
  if (!enabled) return int32_t(0x80070057);  // E_INVALIDARG
  *enabled = 0;
  return 0;
}

std::recursive_mutex gLock;

TTable BuiltInTable() {
  TTable t;
  auto add = [&](const char* name, bool system, bool present) -> TModule& {
    TModule m;
    m.Name = name;
    m.System = system;
    m.Present = present;
    m.LoadCount = system ? 1 : 0;
    t.Modules.push_back(std::move(m));
    return t.Modules.back();
  };
  add("kernel32.dll", true, true).Entries["IsWow64Process"] =
      reinterpret_cast<FARPROC>(&IsWow64ProcessEntry);
  add("user32.dll", true, true);
  add("gdi32.dll", true, true);
  add("dwmapi.dll", false, true).Entries["DwmIsCompositionEnabled"] =
      reinterpret_cast<FARPROC>(&DwmIsCompositionEnabledEntry);
  add("msimg32.dll", false, true);
  // The visual-style library stays absent until its stand-in exists.
  add("UxTheme.dll", false, false);
  return t;
}

TTable& Table() {
  static TTable table = BuiltInTable();
  return table;
}

TModule* Find(const std::string& name) {
  std::string k = Key(name);
  for (auto& m : Table().Modules)
    if (Key(m.Name) == k) return &m;
  return nullptr;
}

TModule* FromHandle(HMODULE h) {
  auto i = reinterpret_cast<uintptr_t>(h);
  auto& mods = Table().Modules;
  if (i == 0 || i > mods.size()) return nullptr;
  return &mods[i - 1];
}

HMODULE HandleOf(const TModule* m) {
  auto& mods = Table().Modules;
  return reinterpret_cast<HMODULE>(uintptr_t(m - mods.data()) + 1);
}

TModule& Declare(const std::string& name) {
  if (TModule* m = Find(name)) return *m;
  TModule m;
  m.Name = name;
  Table().Modules.push_back(std::move(m));
  return Table().Modules.back();
}

TOSVersion gVersion;

}  // namespace

HMODULE LoadLibrary(const std::string& FileName) {
  std::lock_guard lock(gLock);
  TModule* m = Find(ExtractFileName(FileName));
  if (!m || !m->Present) return nullptr;
  ++m->LoadCount;
  return HandleOf(m);
}

HMODULE GetModuleHandle(const std::string& ModuleName) {
  std::lock_guard lock(gLock);
  TModule* m = Find(ModuleName);
  if (!m || !m->Present || m->LoadCount <= 0) return nullptr;
  return HandleOf(m);
}

FARPROC GetProcAddress(HMODULE Module, const std::string& ProcName) {
  std::lock_guard lock(gLock);
  TModule* m = FromHandle(Module);
  if (!m || !m->Present || m->LoadCount <= 0) return nullptr;
  auto it = m->Entries.find(ProcName);
  return it == m->Entries.end() ? nullptr : it->second;
}

bool FreeLibrary(HMODULE Module) {
  std::lock_guard lock(gLock);
  TModule* m = FromHandle(Module);
  if (!m || m->LoadCount <= 0) return false;
  if (!m->System) --m->LoadCount;
  return true;
}

int ModuleLoadCount(const std::string& ModuleName) {
  std::lock_guard lock(gLock);
  TModule* m = Find(ModuleName);
  return m ? m->LoadCount : 0;
}

void RegisterModule(const std::string& ModuleName, bool SystemModule) {
  std::lock_guard lock(gLock);
  TModule& m = Declare(ModuleName);
  m.Present = true;
  if (SystemModule && !m.System) {
    m.System = true;
    m.LoadCount = std::max(m.LoadCount, 1);
  }
}

void SetModulePresent(const std::string& ModuleName, bool Present) {
  std::lock_guard lock(gLock);
  Declare(ModuleName).Present = Present;
}

bool ModulePresent(const std::string& ModuleName) {
  std::lock_guard lock(gLock);
  TModule* m = Find(ModuleName);
  return m && m->Present;
}

void SetModuleEntry(const std::string& ModuleName, const std::string& ProcName, FARPROC Proc) {
  std::lock_guard lock(gLock);
  TModule& m = Declare(ModuleName);
  if (Proc)
    m.Entries[ProcName] = Proc;
  else
    m.Entries.erase(ProcName);
}

std::vector<std::string> ModuleEntryNames(const std::string& ModuleName) {
  std::lock_guard lock(gLock);
  std::vector<std::string> names;
  if (TModule* m = Find(ModuleName))
    for (auto& [name, proc] : m->Entries) names.push_back(name);
  return names;
}

struct TModuleTableGuard::Impl {
  TTable Saved;
};

TModuleTableGuard::TModuleTableGuard() : FImpl(new Impl) {
  std::lock_guard lock(gLock);
  FImpl->Saved = Table();
}

TModuleTableGuard::~TModuleTableGuard() {
  std::lock_guard lock(gLock);
  // Modules declared meanwhile keep their slots (handles stay valid) but become absent.
  TTable& t = Table();
  for (std::size_t i = 0; i < t.Modules.size(); ++i) {
    if (i < FImpl->Saved.Modules.size()) {
      t.Modules[i] = FImpl->Saved.Modules[i];
    } else {
      t.Modules[i].Present = false;
      t.Modules[i].Entries.clear();
      t.Modules[i].LoadCount = 0;
    }
  }
  delete FImpl;
}

const TOSVersion& OSVersion() { return gVersion; }
void SetOSVersion(const TOSVersion& Version) { gVersion = Version; }

#include "platform/sys/ShellFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <fstream>

#include "platform/rtl/SysUtils.h"

namespace {

// An XDG base folder variable counts only when it holds an absolute path.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
  std::string v = GetEnvironmentVariable(variable);
  if (!v.empty() && v[0] == '/') return ExcludeTrailingPathDelimiter(v);
  return HomeFolder() + "/" + fallbackUnderHome;
}

// Reads NAME="value" from user-dirs.dirs: the value is "$HOME/..." or an absolute path.
std::string UserDir(const std::string& name) {
  std::string file = XdgFolder("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs";
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line.substr(0, eq)) != name) continue;
    std::string value = Trim(line.substr(eq + 1));
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    // Backslash escapes as the shell reads them inside double quotes.
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '\\' && i + 1 < value.size()) ++i;
      unescaped += value[i];
    }
    if (unescaped.compare(0, 5, "$HOME") == 0)
      unescaped = HomeFolder() + unescaped.substr(5);
    else if (unescaped.empty() || unescaped[0] != '/')
      continue;
    std::string dir = ExcludeTrailingPathDelimiter(unescaped);
    // A user dir equal to the home folder means the folder is disabled.
    if (dir == HomeFolder() || dir.empty()) return {};
    return dir;
  }
  return {};
}

}  // namespace

std::string HomeFolder() {
  std::string home = GetEnvironmentVariable("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid())) home = pw->pw_dir ? pw->pw_dir : "";
  }
  if (home.empty()) home = "/";
  return home == "/" ? home : ExcludeTrailingPathDelimiter(home);
}

std::string AppDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

std::string MusicFolder() {
  std::string dir = UserDir("XDG_MUSIC_DIR");
  if (!dir.empty()) return dir;
  std::string music = HomeFolder() + "/Music";
  return DirectoryExists(music) ? music : HomeFolder();
}

std::string TempFolder() {
  std::string dir = XdgFolder("XDG_CACHE_HOME", ".cache") + "/sonalix/temp";
  ForceDirectories(dir);
  return dir;
}

std::string ShellFolderByName(const std::string& Name) {
  if (SameText(Name, "AppData")) return AppDataFolder();
  if (SameText(Name, "My Music")) return MusicFolder();
  if (SameText(Name, "Personal")) return HomeFolder();
  if (SameText(Name, "Temp")) return TempFolder();
  return {};
}

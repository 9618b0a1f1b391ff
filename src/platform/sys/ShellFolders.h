#pragma once
// The user's folders on a freedesktop system: application data, music and the program's
// temporary folder. Paths come without a trailing delimiter.

#include <string>

// $XDG_DATA_HOME, else ~/.local/share.
std::string AppDataFolder();
// XDG_MUSIC_DIR of $XDG_CONFIG_HOME/user-dirs.dirs; else ~/Music when it exists; else the home
// folder.
std::string MusicFolder();
// $XDG_CACHE_HOME/sonalix/temp (else ~/.cache/sonalix/temp), created when missing. Never the
// program's folder, which may be read-only.
std::string TempFolder();
// The home folder: $HOME, else the password database's entry.
std::string HomeFolder();
// A shell folder by the name the settings use: "AppData", "My Music", "Personal" (the home
// folder), "Temp"; "" for other names.
std::string ShellFolderByName(const std::string& Name);

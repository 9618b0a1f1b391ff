#pragma once
// The "open with" verb of the desktop: a hidden desktop entry that offers the program for the
// MIME types of the sound-file extensions, and a MIME package naming the extensions the
// desktop has no type for. Both live in the user's data folder ($XDG_DATA_HOME).

#include <string>
#include <vector>

// Offers CommandPath, under the name Verb, for the sound MIME types of Extension (with or without
// its dot); an extension without a sound type gets one of ours, of low weight. True when the desktop entry holds them.
// Nothing raises: a failure gives false.
bool AddExplorerVerb(const std::string& CommandPath, const std::string& Verb,
                     const std::string& Extension);
// Withdraws the offer for the extension's types; the entry goes with its last type. True when
// the entry no longer offers them.
bool RemoveExplorerVerb(const std::string& Verb, const std::string& Extension);
// The same for several extensions at once: each file is written, and each desktop database
// rebuilt, at most once.
bool AddExplorerVerbs(const std::string& CommandPath, const std::string& Verb,
                      const std::vector<std::string>& Extensions);
bool RemoveExplorerVerbs(const std::string& Verb, const std::vector<std::string>& Extensions);

// The files the two routines maintain.
std::string ExplorerVerbDesktopFile();
std::string ExplorerVerbMimePackage();

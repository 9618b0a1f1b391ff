#pragma once
// Disc images made at test time: a BIN of sox tones (and data tracks of a fixed byte pattern)
// with its cue sheet, and drive tables that list them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sys/Drives.h"

namespace cdtest {

struct TImageTrack {
  bool Audio = true;
  int Sectors = 150;               // 75 sectors a second
  std::string Synth = "sine 440";  // sox synth arguments of an audio track
};

inline std::string Msf(int sectors) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", sectors / 4500, sectors / 75 % 60, sectors % 75);
  return b;
}

// Writes Name.bin and Name.cue into Dir; returns the cue sheet's path ("" after a failure,
// which is reported).
inline std::string MakeCueImage(const std::filesystem::path& Dir,
                                const std::vector<TImageTrack>& Tracks,
                                const std::string& Name = "disc") {
  const std::filesystem::path bin = Dir / (Name + ".bin");
  std::ofstream(bin, std::ios::binary | std::ios::trunc).close();
  std::string cue = "FILE \"" + Name + ".bin\" BINARY\n";
  int at = 0, number = 1;
  for (const auto& t : Tracks) {
    char head[64];
    std::snprintf(head, sizeof head, "  TRACK %02d %s\n    INDEX 01 %s\n", number++,
                  t.Audio ? "AUDIO" : "MODE1/2352", Msf(at).c_str());
    cue += head;
    if (t.Audio) {
      const std::filesystem::path part = Dir / (Name + ".part.raw");
      const std::string cmd = "sox -q -r 44100 -c 2 -n -r 44100 -c 2 -b 16 -e signed-integer -L -t raw '" +
                              part.string() + "' synth " + std::to_string(t.Sectors * 588) +
                              "s " + t.Synth + " vol 0.5 && cat '" + part.string() + "' >> '" +
                              bin.string() + "'";
      if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << "sox failed: " << cmd;
        return "";
      }
    } else {
      std::ofstream out(bin, std::ios::binary | std::ios::app);
      std::string sector(2352, '\x5A');
      for (int i = 0; i < t.Sectors; ++i) out << sector;
    }
    at += t.Sectors;
  }
  const std::filesystem::path cuePath = Dir / (Name + ".cue");
  std::ofstream(cuePath) << cue;
  return cuePath.string();
}

// The bytes of the BIN behind a cue sheet made above.
inline std::string BinBytes(const std::string& CuePath) {
  std::filesystem::path bin = CuePath;
  bin.replace_extension(".bin");
  std::ifstream in(bin, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A table of C: and one CD drive per device from D: on.
inline void UseCdDrives(const std::vector<std::string>& Devices) {
  std::vector<TDriveInfo> drives(1);
  drives[0].RootPath = "/";
  char letter = 'D';
  for (const auto& d : Devices) {
    TDriveInfo cd;
    cd.Letter = letter++;
    cd.Type = DRIVE_CDROM;
    cd.Device = d;
    drives.push_back(cd);
  }
  SetDriveTable(drives);
}

}  // namespace cdtest

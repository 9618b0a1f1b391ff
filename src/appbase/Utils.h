#pragma once
// Free-standing routines the windows share: file and folder names, drives, time texts and the
// tables that turn stored format choices into numbers.

#include <memory>
#include <string>

#include "platform/gui/FontSubstitution.h"

class TStringList;

// Names and folders.

// Folder (with a trailing delimiter added) followed by Name when nothing of that name exists
// there; otherwise the first free "name(n).ext", n = 1, 2, ... 32768. Raises EInOutError when
// every one of those names is taken.
std::string MakeUniqueFileName(const std::string& Name, const std::string& Folder);
// The path without the extension of its file name.
std::string ExtractFileNameNoExt(const std::string& Path);
// Every \ / : * ? " < > | of Text replaced by Replacement.
std::string ReplaceInvalidFileChars(const std::string& Text, const std::string& Replacement);
// Path ending in exactly one delimiter; "" stays "".
std::string AddTrailingBackslash(const std::string& Path);
// The user's folder of that name ("AppData", "My Music"); the home folder when unknown.
std::string GetShellFolder(const std::string& ValueName);
std::string GetSystemDir();
bool IsVistaOrLater();

// Drives of the drives table.

// Free space available to the user on the drive, in GiB; -1 when it cannot be asked.
float DriveFreeSpaceGB(char Letter);
// The fixed drive with the most free space; the lower letter on a tie.
char DriveWithMostFreeSpace();
int CountCDDrives();

// Files.

// The sixteen extensions the editor opens, in the order the Explorer verb handles them.
inline constexpr const char* SupportedAudioExts[16] = {
    ".wav", ".mp3",  ".mp2",  ".mpga", ".wma", ".ogg",  ".cda",  ".vox",
    ".raw", ".g721", ".g723", ".g726", ".aif", ".aiff", ".aifc", ".mpc"};
// Extension with its dot, compared without regard to case.
bool IsSupportedAudioExt(const std::string& Extension);

// Text.

// 1-based position of the first blank; the length of Text when it has none.
int FirstSpacePos(const std::string& Text);
// The pieces between delimiters, empty ones and the one after the last delimiter included.
std::unique_ptr<TStringList> SplitString(const std::string& Text, const std::string& Delimiter);

// Time in milliseconds.

int TimeToMs(int H, int M, int S, int Ms);
void MsToTime(int Time, int& H, int& M, int& S, int& Ms);
// "h:mm:ss.zzz" (hours not wrapped): 5250 gives "0:00:05.250".
std::string FormatMsTime(int Ms);

// Format choices to numbers; an index outside its table gives the table's default.

int ChannelsFromMode(int Mode);     // 1 -> 1, else 2
int Mp3ChannelsFromMode(int Mode);  // 3 -> 1, else 2
int SampleRateFromIndex(int Index);
int BitsFromIndex(int Index);
int Mp3CbrBitRateFromIndex(int Index);
int Mp3AbrBitRateFromIndex(int Index);
int Mp3VbrMinBitRateFromIndex(int Index);
int Mp3VbrMaxBitRateFromIndex(int Index);
int OggAbrBitRateFromIndex(int Index);

// Two more rate lists that differ from SampleRateFromIndex's on purpose: the new-file dialog's
// (DefNewFileSampleRate indexes it) and the sample-rate conversion's (also the batch command's
// RateIndex).
inline constexpr int NewFileSampleRates[12] = {96000, 88200, 48000, 44100, 32000, 24000,
                                               22050, 16000, 12000, 11025, 8000,  6000};
inline constexpr int ConvertSampleRates[10] = {96000, 88200, 48000, 44100, 32000,
                                               22050, 16000, 11025, 8000,  6000};

// Busy cursor, links and fonts.

// The hourglass while the count of BeginBusy calls not yet ended is above zero.
void BeginBusy();
// Ends one BeginBusy; does nothing when none is open.
void EndBusy();
int BusyCount();
// Opens a web address or a file with the desktop's handler (xdg-open), with the busy cursor.
void OpenURL(const std::string& Target);
class TWinControl;
// The folder picker over Owner, starting on Folder (RootFolder when that is empty); on OK Folder
// becomes the chosen folder and the result is true. Callers pass Flags 65 (file-system folders).
bool BrowseForFolder(TWinControl* Owner, std::string& Folder, const std::string& Title,
                     const std::string& RootFolder, unsigned Flags);

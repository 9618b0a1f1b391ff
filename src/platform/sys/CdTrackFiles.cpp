#include "platform/sys/CdTrackFiles.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstdio>
#include <vector>

#include "platform/sys/CdDevice.h"
#include "platform/sys/Drives.h"

namespace {

bool IsCdDrive(char letter) {
  const TDriveInfo* d = FindDrive(letter);
  return d && d->Type == DRIVE_CDROM;
}

std::string TrackName(int track) {
  char name[16];
  std::snprintf(name, sizeof name, "Track%02d.cda", track);
  return name;
}

// The audio tracks of the disc: number, first sector, sectors.
struct TAudioTrack {
  int Number;
  int32_t Start;
  int32_t Sectors;
};

// False when the drive has no disc.
bool AudioTracks(char letter, std::vector<TAudioTrack>& tracks) {
  tracks.clear();
  std::vector<TCdTocEntry> toc;
  if (!ReadCdTracks(letter, toc)) return false;
  for (size_t i = 0; i + 1 < toc.size(); ++i)
    if (!(toc[i].Control & 0x04) && toc[i].Number != 0xAA)
      tracks.push_back({toc[i].Number, toc[i].Lba, toc[i + 1].Lba - toc[i].Lba});
  return true;
}

bool HasTrack(const std::vector<TAudioTrack>& tracks, int number) {
  for (const auto& t : tracks)
    if (t.Number == number) return true;
  return false;
}

class TTrackFiles : public TVirtualFileProvider {
 public:
  bool Handles(const std::string& Path) const override {
    return Path.size() >= 2 && Path[1] == ':' && IsCdDrive(Path[0]);
  }

  bool FileExists(const std::string& Path) const override {
    char letter;
    int track;
    std::vector<TAudioTrack> tracks;
    return ParseCdTrackPath(Path, letter, track) && AudioTracks(letter, tracks) &&
           HasTrack(tracks, track);
  }

  bool ListFolder(const std::string& Folder, std::vector<TSearchRec>& Entries) const override {
    if (Folder.size() < 2 || !IsCdDrive(Folder[0])) return false;
    const std::string rest = Folder.substr(2);
    if (!rest.empty() && rest != "\\" && rest != "/") return false;
    std::vector<TAudioTrack> tracks;
    if (!AudioTracks(Folder[0], tracks)) return false;
    for (const auto& t : tracks) {
      TSearchRec r;
      r.Name = TrackName(t.Number);
      r.Attr = faReadOnly;
      r.Size = int64_t(t.Sectors) * CdSectorBytes;
      r.TimeStamp = EncodeDate(1995, 1, 1);
      Entries.push_back(r);
    }
    return true;
  }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TVirtualFileProvider& CdTrackFileProvider() {
  static TTrackFiles provider;
  return provider;
}

void InstallCdTrackFiles() {
  TVirtualFileProvider* previous = SetVirtualFileProvider(&CdTrackFileProvider());
  if (previous && previous != &CdTrackFileProvider()) SetVirtualFileProvider(previous);
}

bool ParseCdTrackPath(const std::string& Path, char& Letter, int& Track) {
  // "X:" + one delimiter + "TrackNN.cda"
  if (Path.size() != 3 + 11 || Path[1] != ':' || (Path[2] != '\\' && Path[2] != '/')) return false;
  const std::string name = Path.substr(3);
  if (!SameText(name.substr(0, 5), "Track") || !SameText(name.substr(7), ".cda") ||
      !IsDigit(name[5]) || !IsDigit(name[6]))
    return false;
  Letter = Path[0];
  Track = (name[5] - '0') * 10 + (name[6] - '0');
  return Track > 0;
}

struct TCdTrackReader::TImpl {
  CdIo_t* Cdio = nullptr;
  cdrom_drive_t* Drive = nullptr;
  cdrom_paranoia_t* Paranoia = nullptr;
  int32_t Sectors = 0;
  int32_t Done = 0;
  std::string Path;

  ~TImpl() {
    if (Paranoia) cdio_paranoia_free(Paranoia);
    if (Drive) cdio_cddap_close_no_free_cdio(Drive);
    if (Cdio) cdio_destroy(Cdio);
  }
};

TCdTrackReader::TCdTrackReader(const std::string& Path) : F(std::make_unique<TImpl>()) {
  F->Path = Path;
  char letter;
  int track;
  if (!ParseCdTrackPath(Path, letter, track))
    throw EInOutError("\"" + Path + "\" is not a CD track.");
  const TDriveInfo* drive = FindDrive(letter);
  if (!drive || drive->Type != DRIVE_CDROM)
    throw EInOutError("There is no CD drive " + std::string(1, letter) + ":.");
  const std::string disc = "The disc in drive " + std::string(1, drive->Letter) + ":";
  const std::string noTrack = disc + " has no audio track " + std::to_string(track) + ".";
  std::vector<TAudioTrack> tracks;
  if (!AudioTracks(letter, tracks))
    throw EInOutError("There is no disc in drive " + std::string(1, drive->Letter) + ":.");
  if (!HasTrack(tracks, track)) throw EInOutError(noTrack);

  cdio_loglevel_default = CDIO_LOG_ERROR;
  const bool image = IsCdImage(*drive);
  F->Cdio = image ? cdio_open_cue(drive->Device.c_str())
                  : cdio_open(drive->Device.c_str(), DRIVER_DEVICE);
  if (F->Cdio) F->Drive = cdio_cddap_identify_cdio(F->Cdio, CDDA_MESSAGE_FORGETIT, nullptr);
  if (!F->Drive || cdio_cddap_open(F->Drive) != 0) throw EInOutError(disc + " cannot be read.");
  // Audio sectors come little-endian from drives and BIN files alike; the library's guess from
  // the samples themselves takes plain tones for the other order.
  F->Drive->bigendianp = 0;
  const lsn_t first = cdio_cddap_track_firstsector(F->Drive, track_t(track));
  const lsn_t last = cdio_cddap_track_lastsector(F->Drive, track_t(track));
  if (first < 0 || last < first) throw EInOutError(noTrack);
  F->Sectors = last - first + 1;
  F->Paranoia = cdio_paranoia_init(F->Drive);
  // An image reads the same every time: the overlap checks only cost time there.
  cdio_paranoia_modeset(F->Paranoia, image ? PARANOIA_MODE_DISABLE
                                           : PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
  cdio_paranoia_seek(F->Paranoia, first, SEEK_SET);
}

TCdTrackReader::~TCdTrackReader() = default;

int64_t TCdTrackReader::Frames() const { return int64_t(F->Sectors) * FramesPerSector; }

bool TCdTrackReader::ReadSector(const int16_t*& Samples) {
  if (F->Done >= F->Sectors) return false;
  Samples = cdio_paranoia_read(F->Paranoia, nullptr);
  if (!Samples) throw EInOutError("Reading \"" + F->Path + "\" failed.");
  ++F->Done;
  return true;
}

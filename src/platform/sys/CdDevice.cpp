#include "platform/sys/CdDevice.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "platform/rtl/SysUtils.h"

namespace {

std::map<char, TScriptedCd*>& Scripts() {
  static std::map<char, TScriptedCd*> scripts;
  return scripts;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

void PutMsf(int32_t lba, uint8_t* at) {
  const int32_t abs = lba + 150;
  at[0] = 0;
  at[1] = uint8_t(abs / 4500);
  at[2] = uint8_t(abs / 75 % 60);
  at[3] = uint8_t(abs % 75);
}

// ---- Linux drives

class TLinuxCd : public TCdDevice {
 public:
  explicit TLinuxCd(int fd) : FFd(fd) {}
  ~TLinuxCd() override { ::close(FFd); }

  int Inquiry(uint8_t* Data, int Len, int TimeoutMs) override {
    uint8_t cdb[6] = {0x12, 0, 0, 0, uint8_t(Len), 0};
    return Command(cdb, sizeof cdb, Data, Len, TimeoutMs);
  }

  int ScsiAddress(uint8_t& HostAdapter, uint8_t& Target, uint8_t& Lun) override {
    sg_scsi_id id{};
    if (::ioctl(FFd, SG_GET_SCSI_ID, &id) == 0) {
      HostAdapter = uint8_t(id.host_no);
      Target = uint8_t(id.scsi_id);
      Lun = uint8_t(id.lun);
      return 0;
    }
    // The sr driver answers the older request: id | lun << 8 | channel << 16 | host << 24.
    struct {
      uint32_t Id;
      uint32_t HostUniqueId;
    } idlun{};
    if (::ioctl(FFd, SCSI_IOCTL_GET_IDLUN, &idlun) != 0) return errno;
    HostAdapter = uint8_t(idlun.Id >> 24);
    Target = uint8_t(idlun.Id);
    Lun = uint8_t(idlun.Id >> 8);
    return 0;
  }

  int ReadTocPassThrough(uint8_t* Buffer, int Len, int TimeoutMs) override {
    uint8_t cdb[10] = {0x43, 0x02, 0, 0, 0, 0, 0, uint8_t(Len >> 8), uint8_t(Len), 0};
    return Command(cdb, sizeof cdb, Buffer, Len, TimeoutMs);
  }

  int ReadTocControl(uint8_t* Buffer, int Len) override {
    cdrom_tochdr hdr{};
    if (::ioctl(FFd, CDROMREADTOCHDR, &hdr) != 0) return errno;
    std::vector<TCdTocEntry> entries;
    for (int t = hdr.cdth_trk0; t <= hdr.cdth_trk1 + 1; ++t) {
      cdrom_tocentry e{};
      e.cdte_track = uint8_t(t > hdr.cdth_trk1 ? CDROM_LEADOUT : t);
      e.cdte_format = CDROM_LBA;
      if (::ioctl(FFd, CDROMREADTOCENTRY, &e) != 0) return errno;
      entries.push_back({e.cdte_track, uint8_t(e.cdte_adr << 4 | e.cdte_ctrl), e.cdte_addr.lba});
    }
    BuildRawToc(hdr.cdth_trk0, hdr.cdth_trk1, entries, Buffer, Len);
    return 0;
  }

 private:
  int Command(uint8_t* cdb, int cdbLen, uint8_t* data, int len, int timeoutMs) {
    uint8_t sense[32]{};
    sg_io_hdr_t io{};
    io.interface_id = 'S';
    io.cmdp = cdb;
    io.cmd_len = uint8_t(cdbLen);
    io.dxfer_direction = SG_DXFER_FROM_DEV;
    io.dxferp = data;
    io.dxfer_len = unsigned(len);
    io.sbp = sense;
    io.mx_sb_len = sizeof sense;
    io.timeout = unsigned(timeoutMs);
    if (::ioctl(FFd, SG_IO, &io) != 0) return errno;
    if (io.status != 0 || io.host_status != 0 || (io.driver_status & 0x0F) != 0) return EIO;
    return 0;
  }

  int FFd;
};

// ---- cue sheets

class TImageCd : public TCdDevice {
 public:
  TImageCd(CdIo_t* cdio, char letter) : FCdio(cdio), FLetter(letter) {}
  ~TImageCd() override { cdio_destroy(FCdio); }

  int Inquiry(uint8_t* Data, int Len, int) override {
    std::memset(Data, 0, size_t(Len));
    // A CD-ROM device, its identification in the standard places.
    const char text[] = "SONALIX CUE SHEET IMAGE 1.0 ";
    if (Len > 0) Data[0] = 0x05;
    if (Len > 4) Data[4] = uint8_t(std::min(Len, 36) - 5);
    for (int i = 0; i < 28 && 8 + i < Len; ++i) Data[8 + i] = uint8_t(text[i]);
    return 0;
  }

  int ScsiAddress(uint8_t& HostAdapter, uint8_t& Target, uint8_t& Lun) override {
    HostAdapter = 0;
    Target = uint8_t(FLetter - 'A');
    Lun = 0;
    return 0;
  }

  int ReadTocPassThrough(uint8_t* Buffer, int Len, int) override { return ReadToc(Buffer, Len); }
  int ReadTocControl(uint8_t* Buffer, int Len) override { return ReadToc(Buffer, Len); }

 private:
  int ReadToc(uint8_t* Buffer, int Len) {
    const track_t first = cdio_get_first_track_num(FCdio);
    const track_t last = cdio_get_last_track_num(FCdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK) return EIO;
    std::vector<TCdTocEntry> entries;
    for (int t = first; t <= last + 1; ++t) {
      const bool leadOut = t > last;
      const track_t track = leadOut ? CDIO_CDROM_LEADOUT_TRACK : track_t(t);
      const lsn_t lsn = cdio_get_track_lsn(FCdio, track);
      if (lsn == CDIO_INVALID_LSN) return EIO;
      const bool audio = !leadOut && cdio_get_track_format(FCdio, track) == TRACK_FORMAT_AUDIO;
      entries.push_back({uint8_t(leadOut ? 0xAA : t), uint8_t(audio || leadOut ? 0x10 : 0x14),
                         int32_t(lsn)});
    }
    BuildRawToc(uint8_t(first), uint8_t(last), entries, Buffer, Len);
    return 0;
  }

  CdIo_t* FCdio;
  char FLetter;
};

// ---- scripts

class TScriptCd : public TCdDevice {
 public:
  explicit TScriptCd(TScriptedCd& s) : S(s) {}

  int Inquiry(uint8_t* Data, int Len, int) override {
    ++S.Inquiries;
    if (S.InquiryError) return S.InquiryError;
    std::memset(Data, 0, size_t(Len));
    std::copy_n(S.InquiryData.begin(), std::min<size_t>(S.InquiryData.size(), size_t(Len)), Data);
    return 0;
  }
  int ScsiAddress(uint8_t& HostAdapter, uint8_t& Target, uint8_t& Lun) override {
    if (S.AddressError) return S.AddressError;
    HostAdapter = S.HostAdapter;
    Target = S.Target;
    Lun = S.Lun;
    return 0;
  }
  int ReadTocPassThrough(uint8_t* Buffer, int Len, int) override {
    ++S.PassThroughTocReads;
    return S.TocError ? S.TocError : Copy(Buffer, Len);
  }
  int ReadTocControl(uint8_t* Buffer, int Len) override {
    ++S.ControlTocReads;
    return S.ControlTocError ? S.ControlTocError : Copy(Buffer, Len);
  }

 private:
  int Copy(uint8_t* Buffer, int Len) {
    std::memset(Buffer, 0, size_t(Len));
    std::copy_n(S.Toc.begin(), std::min<size_t>(S.Toc.size(), size_t(Len)), Buffer);
    return 0;
  }
  TScriptedCd& S;
};

}  // namespace

bool IsCdImage(const TDriveInfo& Drive) {
  const std::string& d = Drive.Device;
  return d.size() > 4 && SameText(d.substr(d.size() - 4), ".cue");
}

void SetScriptedCd(char Letter, TScriptedCd* Script) {
  if (Script)
    Scripts()[Upper(Letter)] = Script;
  else
    Scripts().erase(Upper(Letter));
}

std::unique_ptr<TCdDevice> OpenCdDevice(char Letter, int& Error) {
  Error = 0;
  const TDriveInfo* drive = FindDrive(Letter);
  if (!drive || drive->Type != DRIVE_CDROM) {
    Error = ENOENT;
    return nullptr;
  }
  auto script = Scripts().find(drive->Letter);
  if (script != Scripts().end()) {
    if ((Error = script->second->OpenError)) return nullptr;
    return std::make_unique<TScriptCd>(*script->second);
  }
  if (IsCdImage(*drive)) {
    if (::access(drive->Device.c_str(), R_OK) != 0) {
      Error = errno;
      return nullptr;
    }
    // libcdio reports a damaged sheet on stderr by default; the failure is ours to report.
    cdio_loglevel_default = CDIO_LOG_ERROR;
    CdIo_t* cdio = cdio_open_cue(drive->Device.c_str());
    if (!cdio) {
      Error = EIO;
      return nullptr;
    }
    return std::make_unique<TImageCd>(cdio, drive->Letter);
  }
  const int fd = ::open(drive->Device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = errno;
    return nullptr;
  }
  return std::make_unique<TLinuxCd>(fd);
}

void BuildRawToc(uint8_t First, uint8_t Last, const std::vector<TCdTocEntry>& Entries,
                 uint8_t* Buffer, int Len) {
  std::memset(Buffer, 0, size_t(Len));
  if (Len < 4) return;
  const int count = std::min<int>(int(Entries.size()), (Len - 4) / 8);
  const int length = 2 + count * 8;
  Buffer[0] = uint8_t(length >> 8);
  Buffer[1] = uint8_t(length);
  Buffer[2] = First;
  Buffer[3] = Last;
  for (int i = 0; i < count; ++i) {
    uint8_t* d = Buffer + 4 + i * 8;
    d[1] = Entries[size_t(i)].Control;
    d[2] = Entries[size_t(i)].Number;
    PutMsf(Entries[size_t(i)].Lba, d + 4);
  }
}

bool ReadCdTracks(char Letter, std::vector<TCdTocEntry>& Tracks) {
  Tracks.clear();
  int error;
  auto device = OpenCdDevice(Letter, error);
  if (!device) return false;
  uint8_t raw[CdRawTocSize];
  if (device->ReadTocControl(raw, sizeof raw) != 0) return false;
  const int first = raw[2], last = raw[3];
  if (first == 0 || last < first) return false;
  const int length = raw[0] << 8 | raw[1];
  const int count = std::min((length - 2) / 8, (CdRawTocSize - 4) / 8);
  for (int i = 0; i < count; ++i) {
    const uint8_t* d = raw + 4 + i * 8;
    Tracks.push_back({d[2], d[1], int32_t(d[5]) * 4500 + d[6] * 75 + d[7] - 150});
  }
  return !Tracks.empty();
}

bool CdVolumeLabel(const TDriveInfo& Drive, std::string& Label) {
  std::vector<TCdTocEntry> tracks;
  if (!ReadCdTracks(Drive.Letter, tracks)) return false;
  Label.clear();
  for (const auto& t : tracks)
    if (t.Number != 0xAA && !(t.Control & 0x04)) Label = "Audio CD";
  return true;
}

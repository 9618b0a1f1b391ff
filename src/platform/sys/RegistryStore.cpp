#include "platform/sys/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>

#include "platform/rtl/AtomicFile.h"

// The store file is plain text:
//
//   Sonalix registry 1
//   [HKEY_CURRENT_USER\SOFTWARE\KRV]
//   "Name"=sz:"text with \" and \\ escaped"
//   @=dword:-45
//   "Blob"=hex:00ff10
//
// A section per key (empty keys included), "@" for the unnamed value. Key names hold no
// control characters, so a header needs no escaping beyond the backslash separator.

namespace {

const char kMagic[] = "Sonalix registry 1";

struct TCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      unsigned char x = a[i], y = b[i];
      if (x >= 'A' && x <= 'Z') x += 32;
      if (y >= 'A' && y <= 'Z') y += 32;
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && !TCaseLess()(a, b) && !TCaseLess()(b, a);
}

bool IsHiveName(const std::string& name) {
  for (HKEY key : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    if (name == TRegistryStore::HiveName(key)) return true;
  return false;
}

bool ValidKeyName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '\\') return false;
  return true;
}

void Report(const std::string& text) { std::fprintf(stderr, "sonalix: %s\n", text.c_str()); }

}  // namespace

struct TRegistryStore::TNode {
  std::vector<std::pair<std::string, TRegValue>> Values;  // in the order they were first written
  std::map<std::string, std::unique_ptr<TNode>, TCaseLess> Keys;
  std::string Name;

  TNode* Child(const std::string& name) const {
    auto it = Keys.find(name);
    return it == Keys.end() ? nullptr : it->second.get();
  }
  TNode* AddChild(const std::string& name) {
    auto& slot = Keys[name];
    if (!slot) {
      slot = std::make_unique<TNode>();
      slot->Name = name;
    }
    return slot.get();
  }
  TRegValue* Value(const std::string& name) {
    for (auto& [n, v] : Values)
      if (SameName(n, name)) return &v;
    return nullptr;
  }
  void SetValue(const std::string& name, const TRegValue& value) {
    if (TRegValue* v = Value(name))
      *v = value;
    else
      Values.emplace_back(name, value);
  }
  bool DeleteValue(const std::string& name) {
    for (auto it = Values.begin(); it != Values.end(); ++it)
      if (SameName(it->first, name)) {
        Values.erase(it);
        return true;
      }
    return false;
  }
};

struct TRegistryStore::TChange {
  enum TKind { ckCreateKey, ckDeleteKey, ckSetValue, ckDeleteValue } Kind;
  TPath Path;
  std::string Name;
  TRegValue Value;
};

namespace {

using TNode = TRegistryStore::TNode;
using TPath = TRegistryStore::TPath;

TNode* FindNode(TNode& root, const TPath& path) {
  TNode* node = &root;
  for (const std::string& name : path) {
    node = node->Child(name);
    if (!node) return nullptr;
  }
  return node;
}

TNode* MakeNode(TNode& root, const TPath& path) {
  TNode* node = &root;
  for (const std::string& name : path) node = node->AddChild(name);
  return node;
}

std::unique_ptr<TNode> NewRoot() {
  auto root = std::make_unique<TNode>();
  for (HKEY key : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    root->AddChild(TRegistryStore::HiveName(key));
  return root;
}


// --- text form ---------------------------------------------------------------------------------

void AppendQuoted(std::string& out, const std::string& text) {
  static const char hex[] = "0123456789abcdef";
  out += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          out += "\\x";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += char(c);
        }
    }
  }
  out += '"';
}

void AppendNode(std::string& out, const TNode& node, const std::string& path, bool hive) {
  // A key with subkeys and no values needs no section: its subkeys' headers make it.
  if (!node.Values.empty() || (!hive && node.Keys.empty())) {
    out += "\n[" + path + "]\n";
    for (const auto& [name, value] : node.Values) {
      if (name.empty())
        out += '@';
      else
        AppendQuoted(out, name);
      switch (value.Type) {
        case rdString:
          out += "=sz:";
          AppendQuoted(out, value.Text);
          break;
        case rdInteger:
          out += "=dword:" + std::to_string(value.Integer);
          break;
        default: {
          static const char hex[] = "0123456789abcdef";
          out += "=hex:";
          for (unsigned char c : value.Bytes) {
            out += hex[c >> 4];
            out += hex[c & 15];
          }
        }
      }
      out += '\n';
    }
  }
  for (const auto& [name, child] : node.Keys)
    AppendNode(out, *child, path + "\\" + child->Name, false);
}

std::string Serialize(const TNode& root) {
  std::string out = kMagic;
  out += '\n';
  for (const auto& [name, hive] : root.Keys) AppendNode(out, *hive, hive->Name, true);
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at line[pos]; pos ends after the closing quote.
bool ParseQuoted(const std::string& line, size_t& pos, std::string& text) {
  if (pos >= line.size() || line[pos] != '"') return false;
  ++pos;
  text.clear();
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\') {
      text += c;
      continue;
    }
    if (pos >= line.size()) return false;
    char e = line[pos++];
    switch (e) {
      case '\\':
        text += '\\';
        break;
      case '"':
        text += '"';
        break;
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case 'x': {
        if (pos + 2 > line.size()) return false;
        int hi = HexDigit(line[pos]), lo = HexDigit(line[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        text += char(hi * 16 + lo);
        pos += 2;
        break;
      }
      default:
        return false;
    }
  }
  return false;
}

bool ParseValue(const std::string& line, std::string& name, TRegValue& value) {
  size_t pos = 0;
  if (line[0] == '@') {
    name.clear();
    pos = 1;
  } else if (!ParseQuoted(line, pos, name) || name.empty()) {
    return false;
  }
  std::string rest = line.substr(pos);
  value = TRegValue();
  if (rest.starts_with("=sz:")) {
    size_t p = 4;
    value.Type = rdString;
    return ParseQuoted(rest, p, value.Text) && p == rest.size();
  }
  if (rest.starts_with("=dword:")) {
    std::string digits = rest.substr(7);
    size_t i = digits.starts_with("-") ? 1 : 0;
    if (i == digits.size() || digits.size() > 11) return false;
    for (size_t k = i; k < digits.size(); ++k)
      if (digits[k] < '0' || digits[k] > '9') return false;
    long long v = std::stoll(digits);
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value.Type = rdInteger;
    value.Integer = int32_t(v);
    return true;
  }
  if (rest.starts_with("=hex:")) {
    std::string digits = rest.substr(5);
    if (digits.size() % 2) return false;
    value.Type = rdBinary;
    for (size_t k = 0; k < digits.size(); k += 2) {
      int hi = HexDigit(digits[k]), lo = HexDigit(digits[k + 1]);
      if (hi < 0 || lo < 0) return false;
      value.Bytes += char(hi * 16 + lo);
    }
    return true;
  }
  return false;
}

// Fills root from the text. False when the text is not a store at all; a line that cannot be
// read is left out and listed in damaged, with the values that follow a damaged key header.
bool Parse(const std::string& text, TNode& root, std::vector<std::string>& damaged) {
  damaged.clear();
  if (text.empty()) return true;
  size_t start = 0;
  int lineNo = 0;
  TNode* current = nullptr;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1) {
      if (line != kMagic) return false;
      continue;
    }
    auto skip = [&](const char* why) {
      std::string shown = line.size() > 60 ? line.substr(0, 60) + "..." : line;
      for (char& c : shown)
        if ((unsigned char)c < 0x20) c = '?';
      damaged.push_back("line " + std::to_string(lineNo) + ", " + why + ": " + shown);
    };
    if (line.empty()) continue;
    if (line[0] == '[') {
      current = nullptr;
      if (line.size() < 3 || line.back() != ']') {
        skip("bad key header");
        continue;
      }
      TPath path;
      std::string inner = line.substr(1, line.size() - 2);
      size_t p = 0;
      while (true) {
        size_t q = inner.find('\\', p);
        path.push_back(inner.substr(p, q == std::string::npos ? std::string::npos : q - p));
        if (q == std::string::npos) break;
        p = q + 1;
      }
      if (!TRegistryStore::ValidPath(path)) {
        skip("bad key name");
        continue;
      }
      current = MakeNode(root, path);
      continue;
    }
    if (!current) {
      skip("value outside a key");
      continue;
    }
    std::string name;
    TRegValue value;
    if (!ParseValue(line, name, value)) {
      skip("bad value");
      continue;
    }
    current->SetValue(name, value);
  }
  return true;
}

// --- files -------------------------------------------------------------------------------------

struct TDisk {
  enum { dsOk, dsMissing, dsCorrupt, dsFailed } Status = dsMissing;
  std::unique_ptr<TNode> Root = NewRoot();
  std::string Content;
  std::string Error;
  std::vector<std::string> Damaged;  // lines left out of a readable store
};

template <class Id>
Id IdOf(const struct stat& st) {
  Id id;
  id.Device = st.st_dev;
  id.Inode = st.st_ino;
  id.Size = uint64_t(st.st_size);
  id.MTimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  id.Exists = true;
  return id;
}

template <class Id>
Id StatFile(const std::string& file) {
  struct stat st;
  if (::stat(file.c_str(), &st) != 0) return Id();
  return IdOf<Id>(st);
}

template <class Id>
TDisk ReadDisk(const std::string& file, Id& id) {
  TDisk disk;
  id = Id();
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return disk;
    disk.Status = TDisk::dsFailed;
    disk.Error = std::strerror(errno);
    return disk;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0) id = IdOf<Id>(st);
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      disk.Status = TDisk::dsFailed;
      disk.Error = std::strerror(errno);
      ::close(fd);
      return disk;
    }
    if (n == 0) break;
    disk.Content.append(buffer, size_t(n));
  }
  ::close(fd);
  if (Parse(disk.Content, *disk.Root, disk.Damaged)) {
    disk.Status = TDisk::dsOk;
  } else {
    disk.Status = TDisk::dsCorrupt;
    disk.Error = "not a settings store";
    disk.Root = NewRoot();
  }
  return disk;
}

// An exclusive advisory lock on a file beside the store, held for one read-merge-write.
class TStoreLock {
 public:
  explicit TStoreLock(const std::string& file) {
    FFd = ::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FFd < 0) {
      FError = errno;
      return;
    }
    while (::flock(FFd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        FError = errno;
        ::close(FFd);
        FFd = -1;
        return;
      }
    }
  }
  ~TStoreLock() {
    if (FFd >= 0) ::close(FFd);  // closing releases the lock
  }
  bool Held() const { return FFd >= 0; }
  int Error() const { return FError; }

 private:
  int FFd = -1;
  int FError = 0;
};

void ReportDamaged(const std::string& file, const std::vector<std::string>& damaged) {
  if (damaged.empty()) return;
  std::string text = "the settings store " + file + " has damaged lines, which are left out:";
  for (const std::string& line : damaged) text += "\n  " + line;
  Report(text);
}

// Moves an unreadable store out of the way so that the program can start from its defaults;
// the old file stays for the user to inspect.
bool SetAside(const std::string& store, const std::string& reason) {
  // A linked store is moved aside where it really is; the link is left to lead to the new one.
  const std::string file = FollowSymlinks(store);
  char stamp[32];
  time_t now = ::time(nullptr);
  struct tm tm;
  ::localtime_r(&now, &tm);
  ::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::string aside = file + ".corrupt-" + stamp;
  for (int n = 2; ::access(aside.c_str(), F_OK) == 0; ++n)
    aside = file + ".corrupt-" + stamp + "-" + std::to_string(n);
  if (::rename(file.c_str(), aside.c_str()) != 0) {
    Report("the settings store " + file + " cannot be read (" + reason + ") nor renamed aside (" +
           std::strerror(errno) + "); it is left untouched");
    return false;
  }
  Report("the settings store " + file + " cannot be read (" + reason + "); it was renamed to " +
         aside + " and the defaults are used");
  return true;
}

}  // namespace

// --- TRegistryStore ----------------------------------------------------------------------------

const char* TRegistryStore::HiveName(HKEY key) {
  switch (key) {
    case HKEY_CLASSES_ROOT:
      return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
      return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
      return "HKEY_LOCAL_MACHINE";
    default:
      return nullptr;
  }
}

bool TRegistryStore::ValidPath(const TPath& path) {
  if (path.empty() || !IsHiveName(path[0])) return false;
  for (const std::string& name : path)
    if (!ValidKeyName(name)) return false;
  return true;
}

TRegistryStore::TRegistryStore(std::string FileName)
    : FFileName(std::move(FileName)), FRoot(NewRoot()) {}

TRegistryStore::~TRegistryStore() = default;

namespace {
std::mutex gDefaultLock;
std::shared_ptr<TRegistryStore> gDefault;
}  // namespace

std::shared_ptr<TRegistryStore> TRegistryStore::Default() {
  std::lock_guard guard(gDefaultLock);
  if (!gDefault) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
      base = xdg;
    } else {
      const char* home = std::getenv("HOME");
      base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    gDefault = std::make_shared<TRegistryStore>(base + "/sonalix/registry");
  }
  return gDefault;
}

void TRegistryStore::SetDefault(std::shared_ptr<TRegistryStore> Store) {
  std::lock_guard guard(gDefaultLock);
  gDefault = std::move(Store);
}

void TRegistryStore::EnsureLoaded() {
  if (!FLoaded) Refresh();
}

void TRegistryStore::Refresh() {
  std::lock_guard guard(FLock);
  if (FLoaded && StatFile<TFileId>(FFileName) == FFileId) return;
  TFileId id;
  TDisk disk = ReadDisk(FFileName, id);
  if (disk.Status == TDisk::dsCorrupt) {
    TStoreLock lock(FFileName);
    disk = ReadDisk(FFileName, id);  // another instance may have dealt with it meanwhile
    if (disk.Status == TDisk::dsCorrupt && SetAside(FFileName, disk.Error)) id = TFileId();
  } else if (disk.Status == TDisk::dsFailed) {
    if (FLoaded) return;  // keep what was read before
    Report("the settings store " + FFileName + " cannot be read (" + disk.Error +
           "); the defaults are used");
  }
  ReportDamaged(FFileName, disk.Damaged);
  FRoot = std::move(disk.Root);
  for (const TChange& change : FPending) Apply(*FRoot, change);
  FFileId = id;
  FLoaded = true;
}

void TRegistryStore::Commit() {
  std::lock_guard guard(FLock);
  if (FPending.empty()) return;
  auto fail = [&](const std::string& reason) {
    throw ERegistryException("Failed to save the settings in \"" + FFileName + "\": " + reason);
  };
  const std::filesystem::path folder = std::filesystem::path(FFileName).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) fail("the folder " + folder.string() + " cannot be made (" + ec.message() + ")");
  TStoreLock lock(FFileName);
  if (!lock.Held()) fail(std::strerror(lock.Error()));
  TFileId id;
  TDisk disk = ReadDisk(FFileName, id);
  if (disk.Status == TDisk::dsCorrupt) {
    if (!SetAside(FFileName, disk.Error))
      fail("it is not a settings store and cannot be moved aside");
    disk.Status = TDisk::dsMissing;
    disk.Content.clear();
  }
  if (disk.Status == TDisk::dsFailed) fail(disk.Error);
  for (const TChange& change : FPending) Apply(*disk.Root, change);
  std::string text = Serialize(*disk.Root);
  if (disk.Status != TDisk::dsOk || text != disk.Content) {
    try {
      WriteFileAtomically(FFileName, text, 0600);
    } catch (const EAtomicFileError& e) {
      fail(e.Reason());
    }
    id = StatFile<TFileId>(FFileName);
  }
  FRoot = std::move(disk.Root);
  FPending.clear();
  FFileId = id;
  FLoaded = true;
}

bool TRegistryStore::HasPendingChanges() const {
  std::lock_guard guard(FLock);
  return !FPending.empty();
}

void TRegistryStore::Apply(TNode& Root, const TChange& Change) {
  switch (Change.Kind) {
    case TChange::ckCreateKey:
      MakeNode(Root, Change.Path);
      break;
    case TChange::ckDeleteKey: {
      TPath parent(Change.Path.begin(), Change.Path.end() - 1);
      if (TNode* node = FindNode(Root, parent)) node->Keys.erase(Change.Path.back());
      break;
    }
    case TChange::ckSetValue:
      MakeNode(Root, Change.Path)->SetValue(Change.Name, Change.Value);
      break;
    case TChange::ckDeleteValue:
      if (TNode* node = FindNode(Root, Change.Path)) node->DeleteValue(Change.Name);
      break;
  }
}

void TRegistryStore::Record(TChange Change) {
  Apply(*FRoot, Change);
  FPending.push_back(std::move(Change));
}

bool TRegistryStore::KeyExists(const TPath& Path) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  return ValidPath(Path) && FindNode(*FRoot, Path);
}

bool TRegistryStore::CreateKey(const TPath& Path) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  if (!ValidPath(Path)) return false;
  if (!FindNode(*FRoot, Path)) Record({TChange::ckCreateKey, Path, {}, {}});
  return true;
}

bool TRegistryStore::DeleteKey(const TPath& Path) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  if (!ValidPath(Path) || Path.size() < 2 || !FindNode(*FRoot, Path)) return false;
  Record({TChange::ckDeleteKey, Path, {}, {}});
  return true;
}

bool TRegistryStore::FindValue(const TPath& Path, const std::string& Name, TRegValue& Value) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  TNode* node = ValidPath(Path) ? FindNode(*FRoot, Path) : nullptr;
  const TRegValue* value = node ? node->Value(Name) : nullptr;
  if (!value) return false;
  Value = *value;
  return true;
}

bool TRegistryStore::SetValue(const TPath& Path, const std::string& Name, const TRegValue& Value) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  if (!ValidPath(Path) || !FindNode(*FRoot, Path) || Value.Type == rdUnknown) return false;
  Record({TChange::ckSetValue, Path, Name, Value});
  return true;
}

bool TRegistryStore::DeleteValue(const TPath& Path, const std::string& Name) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  TNode* node = ValidPath(Path) ? FindNode(*FRoot, Path) : nullptr;
  if (!node || !node->Value(Name)) return false;
  Record({TChange::ckDeleteValue, Path, Name, {}});
  return true;
}

bool TRegistryStore::ValueNames(const TPath& Path, std::vector<std::string>& Names) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  Names.clear();
  TNode* node = ValidPath(Path) ? FindNode(*FRoot, Path) : nullptr;
  if (!node) return false;
  for (const auto& [name, value] : node->Values) Names.push_back(name);
  return true;
}

bool TRegistryStore::KeyNames(const TPath& Path, std::vector<std::string>& Names) {
  std::lock_guard guard(FLock);
  EnsureLoaded();
  Names.clear();
  TNode* node = ValidPath(Path) ? FindNode(*FRoot, Path) : nullptr;
  if (!node) return false;
  for (const auto& [name, child] : node->Keys) Names.push_back(child->Name);
  return true;
}

#include "app/ExplorerVerb.h"

#include <unistd.h>

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/SysUtils.h"

namespace {

namespace fs = std::filesystem;

// Our own types, for extensions the MIME database does not know, share this prefix.
const std::string kOwnTypePrefix = "audio/x-sonalix-";

std::string DataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

// ".wav" from " wav " or ".WAV"; "" when nothing usable is left.
std::string NormalExtension(const std::string& extension) {
  std::string ext = LowerCase(Trim(extension));
  if (!ext.empty() && ext[0] != '.') ext = "." + ext;
  if (ext.size() < 2) return {};
  for (size_t i = 1; i < ext.size(); ++i) {
    char c = ext[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '+'))
      return {};
  }
  return ext;
}

std::string OwnType(const std::string& ext) { return kOwnTypePrefix + ext.substr(1); }

// The sound types the desktop gives files of that extension; empty when it knows none but ours.
// Other kinds of type are never claimed (".raw" is also a camera's picture).
std::vector<std::string> KnownTypes(const std::string& ext) {
  std::vector<std::string> audio;
  QMimeDatabase db;
  for (const QMimeType& type : db.mimeTypesForFileName(QString::fromStdString("file" + ext))) {
    std::string name = type.name().toStdString();
    if (name.starts_with("audio/") && !name.starts_with(kOwnTypePrefix)) audio.push_back(name);
  }
  return audio;
}

// The types to offer the program for: the known sound types of each extension, else our own
// type, which Own lists.
struct TOffer {
  std::vector<std::string> Types;
  std::vector<std::string> Own;
  bool Any = false;  // some extension was usable
};

TOffer OfferFor(const std::vector<std::string>& extensions) {
  TOffer offer;
  for (const std::string& extension : extensions) {
    const std::string ext = NormalExtension(extension);
    if (ext.empty()) continue;
    offer.Any = true;
    std::vector<std::string> types = KnownTypes(ext);
    if (types.empty()) {
      offer.Own.push_back(ext);
      types = {OwnType(ext)};
    }
    for (const std::string& type : types)
      if (std::find(offer.Types.begin(), offer.Types.end(), type) == offer.Types.end())
        offer.Types.push_back(type);
  }
  return offer;
}

bool ReadFile(const std::string& file, std::string& content) {
  content.clear();
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  content = s.str();
  return true;
}

bool SaveFile(const std::string& file, const std::string& content) {
  std::error_code ec;
  fs::create_directories(fs::path(file).parent_path(), ec);
  try {
    WriteFileAtomically(file, content);
    return true;
  } catch (const EAtomicFileError&) {
    return false;
  }
}

// The desktop's caches are refreshed by their tools when those are installed; without them the
// desktop reads the files themselves.
void RunTool(const char* tool, const std::string& folder) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return;
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(program, {QString::fromStdString(folder)});
  if (process.waitForStarted()) process.waitForFinished(60000);
}

// --- desktop entry -----------------------------------------------------------------------------

std::string EscapeValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  if (!out.empty() && out[0] == ' ') out = "\\s" + out.substr(1);
  return out;
}

// The program path as one quoted argument of Exec: quoting rules first, then the escaping every
// string value gets.
std::string ExecArgument(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EscapeValue(quoted);
}

std::vector<std::string> MimeTypesOf(const std::string& content) {
  std::vector<std::string> types;
  std::istringstream in(content);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.starts_with("MimeType=")) continue;
    std::string list = line.substr(9);
    size_t p = 0;
    while (p < list.size()) {
      size_t q = list.find(';', p);
      if (q == std::string::npos) q = list.size();
      if (q > p) types.push_back(list.substr(p, q - p));
      p = q + 1;
    }
  }
  return types;
}

std::string MimeTypeLine(const std::vector<std::string>& types) {
  std::string line = "MimeType=";
  for (const std::string& type : types) line += type + ";";
  return line;
}

// The content with its MimeType line replaced.
std::string WithMimeTypes(const std::string& content, const std::vector<std::string>& types) {
  std::istringstream in(content);
  std::string line, out;
  bool done = false;
  while (std::getline(in, line)) {
    if (line.starts_with("MimeType=")) {
      if (done) continue;
      line = MimeTypeLine(types);
      done = true;
    }
    out += line + "\n";
  }
  if (!done) out += MimeTypeLine(types) + "\n";
  return out;
}

bool SaveDesktopEntry(const std::string& file, const std::string& old, const std::string& content) {
  if (content == old) return true;
  if (!SaveFile(file, content)) return false;
  RunTool("update-desktop-database", fs::path(file).parent_path().string());
  return true;
}

// --- MIME package ------------------------------------------------------------------------------

std::vector<std::string> PackageExtensions(const std::string& content) {
  std::vector<std::string> exts;
  QXmlStreamReader xml(QByteArray::fromStdString(content));
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("glob")) {
      std::string pattern = xml.attributes().value("pattern").toString().toStdString();
      if (pattern.starts_with("*.")) exts.push_back(pattern.substr(1));
    }
  }
  return exts;
}

std::string PackageContent(const std::vector<std::string>& exts) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const std::string& ext : exts) {
    // A low weight: should the desktop learn a type of its own for the extension, that wins.
    out += "  <mime-type type=\"" + OwnType(ext) + "\">\n";
    out += "    <comment>" + UpperCase(ext.substr(1)) + " sound</comment>\n";
    out += "    <glob pattern=\"*" + ext + "\" weight=\"10\"/>\n";
    out += "  </mime-type>\n";
  }
  out += "</mime-info>\n";
  return out;
}

// Adds or removes our types for the extensions, rebuilding the desktop's database once; the
// package goes with its last type.
bool UpdatePackage(const std::vector<std::string>& changed, bool present) {
  if (changed.empty()) return true;
  const std::string file = ExplorerVerbMimePackage();
  std::string old;
  ReadFile(file, old);
  const std::vector<std::string> before = PackageExtensions(old);
  std::vector<std::string> exts = before;
  for (const std::string& ext : changed) {
    auto it = std::find(exts.begin(), exts.end(), ext);
    if (present && it == exts.end()) exts.push_back(ext);
    if (!present && it != exts.end()) exts.erase(it);
  }
  if (exts == before) return true;
  if (exts.empty()) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) return false;
  } else if (!SaveFile(file, PackageContent(exts))) {
    return false;
  }
  RunTool("update-mime-database", fs::path(file).parent_path().parent_path().string());
  return true;
}

}  // namespace

std::string ExplorerVerbDesktopFile() { return DataHome() + "/applications/sonalix-edit.desktop"; }

std::string ExplorerVerbMimePackage() { return DataHome() + "/mime/packages/sonalix.xml"; }

bool AddExplorerVerbs(const std::string& CommandPath, const std::string& Verb,
                      const std::vector<std::string>& Extensions) {
  try {
    const TOffer offer = OfferFor(Extensions);
    if (!offer.Any) return false;
    if (!UpdatePackage(offer.Own, true)) return false;
    const std::string file = ExplorerVerbDesktopFile();
    std::string old;
    ReadFile(file, old);
    std::vector<std::string> list = MimeTypesOf(old);
    for (const std::string& type : offer.Types)
      if (std::find(list.begin(), list.end(), type) == list.end()) list.push_back(type);
    std::string content = "[Desktop Entry]\nType=Application\n";
    content += "Name=" + EscapeValue(Verb) + "\n";
    content += "Exec=" + ExecArgument(CommandPath) + " %f\n";
    content += "NoDisplay=true\n";
    content += MimeTypeLine(list) + "\n";
    return SaveDesktopEntry(file, old, content);
  } catch (...) {
    return false;
  }
}

bool RemoveExplorerVerbs(const std::string& Verb, const std::vector<std::string>& Extensions) {
  try {
    const TOffer offer = OfferFor(Extensions);
    if (!offer.Any) return false;
    const std::string file = ExplorerVerbDesktopFile();
    std::string old;
    bool ok = true;
    if (ReadFile(file, old)) {
      std::vector<std::string> list = MimeTypesOf(old);
      std::erase_if(list, [&](const std::string& type) {
        return std::find(offer.Types.begin(), offer.Types.end(), type) != offer.Types.end();
      });
      if (list.empty())
        ok = ::unlink(file.c_str()) == 0 || errno == ENOENT;
      else
        ok = SaveDesktopEntry(file, old, WithMimeTypes(old, list));
      if (ok && list.empty())
        RunTool("update-desktop-database", fs::path(file).parent_path().string());
    }
    return UpdatePackage(offer.Own, false) && ok;
  } catch (...) {
    return false;
  }
}

bool AddExplorerVerb(const std::string& CommandPath, const std::string& Verb,
                     const std::string& Extension) {
  return AddExplorerVerbs(CommandPath, Verb, {Extension});
}

bool RemoveExplorerVerb(const std::string& Verb, const std::string& Extension) {
  return RemoveExplorerVerbs(Verb, {Extension});
}

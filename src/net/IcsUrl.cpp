#include "net/IcsUrl.h"

#include "platform/rtl/SysUtils.h"

namespace {

bool StartsWithText(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool SchemeChar(char c) {
  return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

// The previous path up to and including its last "/", or "/" when it has none.
std::string BaseFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "/" : path.substr(0, slash + 1);
}

}  // namespace

int Posn(const std::string& Sub, const std::string& Text, int Count) {
  if (Count == 0 || Sub.empty()) return Count > 0 ? int(Text.size()) + 1 : 0;
  if (Count > 0) {
    std::size_t from = 0;
    for (int found = 0;;) {
      const std::size_t at = Text.find(Sub, from);
      if (at == std::string::npos) return int(Text.size()) + 1;
      if (++found == Count) return int(at) + 1;
      from = at + Sub.size();
    }
  }
  int found = 0;
  for (std::size_t i = Text.size(); i-- > 0;)
    if (Text.compare(i, Sub.size(), Sub) == 0 && ++found == -Count) return int(i) + 1;
  return 0;
}

void ParseURL(const std::string& Url, std::string& Proto, std::string& User, std::string& Password,
              std::string& Host, std::string& Port, std::string& Path) {
  const std::string previous = Path;
  Proto.clear();
  User.clear();
  Password.clear();
  Host.clear();
  Port.clear();
  Path.clear();
  if (Url.empty()) return;

  if (Url.compare(0, 2, "./") == 0) {
    Path = BaseFolder(previous) + Url.substr(2);
    return;
  }
  if (Url.compare(0, 3, "../") == 0) {
    std::string base = BaseFolder(previous);
    std::size_t at = 0;
    while (Url.compare(at, 3, "../") == 0) {
      at += 3;
      // Drop the last folder: "/a/c/" becomes "/a/"; the root stays.
      const std::size_t slash =
          base.size() >= 2 ? base.rfind('/', base.size() - 2) : std::string::npos;
      if (slash != std::string::npos) base.erase(slash + 1);
    }
    Path = base + Url.substr(at);
    return;
  }

  std::string rest;
  bool schemeFound = false;
  const std::size_t sep = Url.find("://");
  if (sep != std::string::npos) {
    const std::string scheme = LowerCase(Url.substr(0, sep));
    schemeFound = true;
    for (char c : scheme) schemeFound = schemeFound && SchemeChar(c);
    if (schemeFound) {
      Proto = scheme;
      rest = Url.substr(sep + 3);
    } else {
      Proto = "http";
    }
  }
  if (!schemeFound) {
    if (Url[0] == '/') {
      Proto = "http";
      if (Url.size() < 2 || Url[1] != '/') {
        Path = Url;
        return;
      }
      rest = Url.substr(2);
    } else if (StartsWithText(Url, "http:")) {
      Proto = "http";
      if (Url.size() < 7 || Url[6] != '/') {
        Path = Url.substr(5);
        return;
      }
      rest = Url.size() > 7 ? Url.substr(7) : std::string();
    } else if (StartsWithText(Url, "mailto:")) {
      Proto = "mailto";
      rest = Url.substr(7);
    } else {
      rest = Url;  // the protocol stays as it is: none, or "http" after a refused scheme
    }
  }

  const std::size_t pathStart = rest.find_first_of("/?");
  std::string authority = rest;
  if (pathStart != std::string::npos) {
    Path = rest.substr(pathStart);
    authority = rest.substr(0, pathStart);
  }
  const std::size_t c = authority.rfind(':'), d = authority.rfind('@');
  const bool hasColon = c != std::string::npos, hasAt = d != std::string::npos;
  if (!hasColon && !hasAt) {
    Host = authority;
    return;
  }
  if (hasColon && (!hasAt || d < c)) {
    Port = authority.substr(c + 1);
    Host = hasAt ? authority.substr(d + 1, c - d - 1) : authority.substr(0, c);
    if (!hasAt) return;
  } else {
    Host = authority.substr(d + 1);
  }
  const std::string userInfo = authority.substr(0, d);
  const std::size_t colon = userInfo.find(':');
  User = userInfo.substr(0, colon);
  if (colon != std::string::npos) Password = userInfo.substr(colon + 1);
}

bool IsHexDigit(char Ch) {
  return (Ch >= '0' && Ch <= '9') || (Ch >= 'a' && Ch <= 'f') || (Ch >= 'A' && Ch <= 'F');
}

int HexDigitValue(char Ch) {
  if (Ch >= '0' && Ch <= '9') return Ch - '0';
  if (Ch >= 'a' && Ch <= 'f') return Ch - 'a' + 10;
  if (Ch >= 'A' && Ch <= 'F') return Ch - 'A' + 10;
  return 0;
}

#include "net/IcsNtlmMsgs.h"

#include <cstring>

#include "net/IcsDES.h"
#include "net/IcsMD4.h"
#include "net/IcsMimeUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

const char Signature[8] = {'N', 'T', 'L', 'M', 'S', 'S', 'P', '\0'};
// Descriptor lengths are 16-bit; a UTF-16 text is cut at a whole code unit.
constexpr std::size_t MaxItem = 0xFFFF, MaxWideItem = 0xFFFE;

void Put16(std::string& m, std::size_t at, uint32_t v) {
  m[at] = char(v);
  m[at + 1] = char(v >> 8);
}

void Put32(std::string& m, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) m[at + i] = char(v >> (8 * i));
}

uint32_t Get16(const std::string& m, std::size_t at) {
  return uint32_t(uint8_t(m[at])) | uint32_t(uint8_t(m[at + 1])) << 8;
}

uint32_t Get32(const std::string& m, std::size_t at) {
  return Get16(m, at) | Get16(m, at + 2) << 16;
}

// Appends an item to the payload and fills its descriptor.
void AddItem(std::string& m, std::size_t descriptor, const std::string& item) {
  Put16(m, descriptor, uint32_t(item.size()));
  Put16(m, descriptor + 2, uint32_t(item.size()));
  Put32(m, descriptor + 4, uint32_t(m.size()));
  m += item;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | cp >> 6);
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | cp >> 12);
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | cp >> 18);
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// UTF-8 to UTF-16LE; a malformed sequence becomes U+FFFD.
std::string Utf16Le(const std::string& text) {
  std::string out;
  auto unit = [&](uint32_t u) {
    out += char(u);
    out += char(u >> 8);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const uint8_t b = uint8_t(text[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    uint32_t cp = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + extra < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const uint8_t c = uint8_t(text[i + k]);
      ok = (c & 0xC0) == 0x80;
      cp = cp << 6 | (c & 0x3F);
    }
    static const uint32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      unit(0xFFFD);
      ++i;
      continue;
    }
    i += std::size_t(extra) + 1;
    if (cp >= 0x10000) {
      unit(0xD800 | ((cp - 0x10000) >> 10));
      unit(0xDC00 | ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

std::string FromUtf16Le(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t u = Get16(bytes, i);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
      const uint32_t low = Get16(bytes, i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
  }
  return out;
}

std::string FromLatin1(const std::string& bytes) {
  std::string out;
  for (char c : bytes) AppendUtf8(out, uint8_t(c));
  return out;
}

// The 24-byte response: the challenge encrypted under the three 7-byte thirds of the 16-byte
// hash padded to 21 bytes.
std::string Response(const uint8_t* hash16, const TNtlmChallenge& challenge) {
  uint8_t key[21] = {};
  std::memcpy(key, hash16, 16);
  std::string r;
  for (int part = 0; part < 3; ++part) {
    const auto block = DesWith7ByteKey(key + 7 * part, challenge.data());
    r.append(reinterpret_cast<const char*>(block.data()), 8);
  }
  return r;
}

std::string LmResponse(const std::string& password, const TNtlmChallenge& challenge) {
  uint8_t pw[14] = {};
  const std::string upper = UpperCase(password);
  std::memcpy(pw, upper.data(), std::min<std::size_t>(14, upper.size()));
  static const uint8_t magic[8] = {'K', 'G', 'S', '!', '@', '#', '$', '%'};
  uint8_t hash[16];
  const auto first = DesWith7ByteKey(pw, magic), second = DesWith7ByteKey(pw + 7, magic);
  std::memcpy(hash, first.data(), 8);
  std::memcpy(hash + 8, second.data(), 8);
  return Response(hash, challenge);
}

std::string NtResponse(const std::string& password, const TNtlmChallenge& challenge) {
  const std::string hash = Md4OfText(Utf16Le(password));
  return Response(reinterpret_cast<const uint8_t*>(hash.data()), challenge);
}

std::string WideItem(const std::string& text) {
  std::string wide = Utf16Le(text);
  if (wide.size() > MaxWideItem) wide.resize(MaxWideItem);
  return wide;
}

}  // namespace

std::array<uint8_t, 8> DesWith7ByteKey(const uint8_t* Key, const uint8_t* Data) {
  uint64_t bits = 0;
  for (int i = 0; i < 7; ++i) bits = bits << 8 | Key[i];
  uint8_t key[8];
  for (int i = 0; i < 8; ++i) key[i] = uint8_t((bits >> (49 - 7 * i)) & 0x7F) << 1;
  std::array<uint8_t, 8> out;
  DesBlock(Data, out.data(), key, true);
  return out;
}

std::string NtlmMessage1(const std::string& Host, const std::string& Domain) {
  const std::string host = UpperCase(Host).substr(0, MaxItem);
  const std::string domain = UpperCase(Domain).substr(0, MaxItem);
  std::string m(32, '\0');
  std::memcpy(m.data(), Signature, 8);
  Put32(m, 8, 1);
  Put32(m, 12, 0x8207 | (host.empty() ? 0 : 0x2000) | (domain.empty() ? 0 : 0x1000));
  if (!host.empty()) AddItem(m, 24, host);
  if (!domain.empty()) AddItem(m, 16, domain);
  return EncodeBase64(m);
}

TNTLM_Msg2_Info NtlmReadMessage2(const std::string& Text) {
  TNTLM_Msg2_Info info;
  if (Text.empty()) return info;
  const std::string m = DecodeBase64(Text);
  if (m.size() < 32 || std::memcmp(m.data(), Signature, 8) != 0 || Get32(m, 8) != 2) return info;
  info.ReplyPresent = true;
  std::memcpy(info.ServerChallenge.data(), m.data() + 24, 8);
  const bool unicode = Get32(m, 20) & 1;
  // The value a descriptor points to, or nothing when it lies outside the message.
  auto item = [&](std::size_t descriptor, std::string& value) {
    const std::size_t length = Get16(m, descriptor), offset = Get32(m, descriptor + 4);
    if (offset > m.size() || length > m.size() - offset) return false;
    value = m.substr(offset, length);
    return true;
  };
  std::string raw;
  if (item(12, raw)) info.TargetName = unicode ? FromUtf16Le(raw) : FromLatin1(raw);
  std::string list;
  if (m.size() >= 48 && item(40, list)) {
    for (std::size_t at = 0; at + 4 <= list.size();) {
      const uint32_t type = Get16(list, at), length = Get16(list, at + 2);
      if ((type == 0 && length == 0) || length > list.size() - at - 4) break;
      const std::string value = list.substr(at + 4, length);
      if (type == 1) info.NetbiosServer = FromUtf16Le(value);
      if (type == 2) info.NetbiosDomain = FromUtf16Le(value);
      at += 4 + length;
    }
  }
  return info;
}

std::string NtlmMessage3(const std::string& Domain, const std::string& Host,
                         const std::string& User, const std::string& Password,
                         const TNtlmChallenge& Challenge) {
  std::string m(64, '\0');
  std::memcpy(m.data(), Signature, 8);
  Put32(m, 8, 3);
  AddItem(m, 28, WideItem(Domain));
  AddItem(m, 36, WideItem(User));
  AddItem(m, 44, WideItem(Host));
  AddItem(m, 12, LmResponse(Password, Challenge));
  AddItem(m, 20, NtResponse(Password, Challenge));
  Put32(m, 60, 0x8205);
  return EncodeBase64(m);
}

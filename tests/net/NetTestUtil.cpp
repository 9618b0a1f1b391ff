#include "NetTestUtil.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

namespace nettest {

std::string Hex(const uint8_t* bytes, std::size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string r;
  for (std::size_t i = 0; i < n; ++i) {
    r += digits[bytes[i] >> 4];
    r += digits[bytes[i] & 15];
  }
  return r;
}

std::string Hex(const std::string& bytes) {
  return Hex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string Unhex(const std::string& hex) {
  auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string r;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    r += char(value(hex[i]) << 4 | value(hex[i + 1]));
  return r;
}

std::string Openssl(const std::vector<std::string>& args, const std::string& input) {
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  QProcess p;
  p.start("openssl", list);
  if (!p.waitForStarted(30000)) {
    ADD_FAILURE() << "openssl did not start";
    return {};
  }
  p.write(input.data(), qint64(input.size()));
  p.closeWriteChannel();
  p.waitForFinished(60000);
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    ADD_FAILURE() << "openssl failed: " << p.readAllStandardError().toStdString();
    return {};
  }
  const QByteArray out = p.readAllStandardOutput();
  return std::string(out.constData(), std::size_t(out.size()));
}

std::string RandomBytes(std::size_t n, uint32_t seed) {
  std::string r(n, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (auto& c : r) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = char(x >> 24);
  }
  return r;
}

}  // namespace nettest

#include "app/AppPictures.h"

#include <QFile>

#include "controls/PngImage.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

bool LoadAppPng(const std::string& Name, TPNGObject& Png) {
  const std::string path = ":/images/" + Name + ".png";
  if (!QFile::exists(QString::fromStdString(path))) return false;
  TResourceStream stream(path);
  Png.LoadFromStream(&stream);
  return true;
}

void LoadAppPicture(TImage* Image, const std::string& Name) {
  TPNGObject png;
  if (LoadAppPng(Name, png)) Image->Picture()->SetGraphic(&png);
}

const std::vector<std::string>& AppGlyphNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    QFile f(QStringLiteral(":/images/Glyphs.txt"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return list;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (!line.trimmed().isEmpty()) list.push_back(line.trimmed().toStdString());
    return list;
  }();
  return names;
}

int AppGlyphIndex(const std::string& ActionName) {
  const auto& names = AppGlyphNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == ActionName) return int(i);
  return -1;
}

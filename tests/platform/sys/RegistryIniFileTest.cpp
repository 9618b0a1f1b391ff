#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/RegistryIniFile.h"

TEST(RegistryIniFile, ValuesOfAnotherTypeReadAsTheDefault) {
  const std::string key = "\\Software\\Sonalix\\IniTest";
  {
    TRegistryIniFile ini(key);
    ini.WriteString("S", "Text", "12");
    ini.WriteInteger("S", "Number", 7);
    TMemoryStream m;
    m.WriteBuffer("\x01\x02", 2);
    m.SetPosition(0);
    ini.WriteBinaryStream("S", "Bytes", &m);
    ini.WriteBool("S\\Deeper", "Flag", true);
  }
  TRegistryIniFile ini(key);
  EXPECT_EQ(ini.ReadInteger("S", "Text", -1), 12);
  EXPECT_EQ(ini.ReadString("S", "Number", ""), "7");
  EXPECT_EQ(ini.ReadInteger("S", "Bytes", -1), -1);
  EXPECT_EQ(ini.ReadString("S", "Bytes", "none"), "none");
  TMemoryStream m;
  EXPECT_EQ(ini.ReadBinaryStream("S", "Text", &m), 0);
  EXPECT_EQ(ini.ReadBinaryStream("S", "Bytes", &m), 2);
  EXPECT_TRUE(ini.ReadBool(key + "\\S\\Deeper", "Flag", false));
  TStringList sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.Text(), "S\n");
  ini.EraseSection("S");
  EXPECT_FALSE(ini.SectionExists("S\\Deeper"));
}

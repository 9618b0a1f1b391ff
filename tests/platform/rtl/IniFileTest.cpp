#include <gtest/gtest.h>

#include <fstream>

#include "common/TestEnv.h"
#include "platform/rtl/IniFiles.h"

TEST(IniFile, ReadsHandWrittenTextAndRoundTrips) {
  std::string dir = sonalix::test::MakeTempDir("ini").string();
  std::string name = dir + "/layout.ini";
  std::ofstream(name) << "orphan=ignored\n"
                         "; a comment\n"
                         "[Main]\n"
                         "  Count = 3 \n"
                         "Flag=1\n"
                         "Hex=$1F\n"
                         "Bad=12x\n"
                         "\n"
                         "[Bar0]\n"
                         "Caption=File and Edit\n"
                         "[main]\n"
                         "Extra=yes\n";
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("MAIN", "count", 0), 3);
  EXPECT_EQ(ini.ReadInteger("Main", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Main", "Bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Main", "Missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Main", "Flag", false));
  EXPECT_TRUE(ini.ReadBool("Main", "Missing", true));
  EXPECT_EQ(ini.ReadString("Bar0", "Caption", ""), "File and Edit");
  EXPECT_EQ(ini.ReadString("Main", "Extra", ""), "yes");  // a repeated section merges
  EXPECT_EQ(ini.ReadString("Nowhere", "x", "dflt"), "dflt");

  TStringList sections, names;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.CommaText(), "Main,Bar0");
  ini.ReadSection("Main", &names);
  EXPECT_EQ(names.CommaText(), "Count,Flag,Hex,Bad,Extra");

  ini.WriteBool("Main", "Flag", false);
  ini.WriteInteger("Bar1", "Row", -2);
  ini.WriteFloat("Bar1", "Scale", 1.25);
  ini.WriteString("Bar1", "Name", "Tools = more");
  TMemoryStream bytes;
  bytes.WriteString(std::string("\x00\x7F\xFF", 3));
  bytes.SetPosition(0);
  ini.WriteBinaryStream("Bar1", "Data", &bytes);
  ini.DeleteKey("Main", "Bad");
  ini.EraseSection("Bar0");
  EXPECT_FALSE(ini.SectionExists("Bar0"));
  EXPECT_TRUE(ini.ValueExists("bar1", "ROW"));
  EXPECT_EQ(ini.ReadString("Bar1", "Data", ""), "007FFF");

  // Nothing reaches the file before UpdateFile.
  EXPECT_EQ(TMemIniFile(name).ReadString("Bar1", "Row", "none"), "none");
  ini.UpdateFile();
  TMemIniFile back(name);
  EXPECT_EQ(back.Text(), ini.Text());
  EXPECT_EQ(back.Text(),
            "[Main]\nCount=3\nFlag=0\nHex=$1F\nExtra=yes\n\n"
            "[Bar1]\nRow=-2\nScale=1.25\nName=Tools = more\nData=007FFF\n\n");
  EXPECT_DOUBLE_EQ(back.ReadFloat("Bar1", "Scale", 0), 1.25);
  TMemoryStream read;
  EXPECT_EQ(back.ReadBinaryStream("Bar1", "Data", &read), 3);
  EXPECT_EQ(std::string(static_cast<const char*>(read.Memory()), 3),
            std::string("\x00\x7F\xFF", 3));
  TStringList values;
  back.ReadSectionValues("Bar1", &values);
  EXPECT_EQ(values.Values("Row"), "-2");
}

TEST(IniFile, WritesThroughAndReportsUnwritableFiles) {
  std::string dir = sonalix::test::MakeTempDir("ini").string();
  {
    TIniFile ini(dir + "/direct.ini");
    ini.WriteString("S", "A", "1");
  }
  EXPECT_EQ(TMemIniFile(dir + "/direct.ini").ReadInteger("S", "A", 0), 1);

  TMemIniFile ini(dir + "/missing/x.ini");
  ini.WriteString("S", "A", "1");
  try {
    ini.UpdateFile();
    ADD_FAILURE();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot create file \"" + dir + "/missing/x.ini\". No such file or directory");
  }
  TMemIniFile memoryOnly("");
  memoryOnly.WriteString("S", "A", "1");
  memoryOnly.UpdateFile();
  EXPECT_EQ(memoryOnly.ReadString("s", "a", ""), "1");
}

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLibraryInfo>
#include <QResource>
#include <fstream>

#include "common/TestEnv.h"
#include "platform/rtl/Classes.h"

TEST(Streams, FileStreamModesAndErrors) {
  std::string dir = sonalix::test::MakeTempDir("streams").string();
  std::string name = dir + "/data.bin";
  {
    TFileStream f(name, fmCreate | fmShareDenyWrite);
    f.WriteValue<uint32_t>(0x11223344);
    f.WriteString("abc");
    EXPECT_EQ(f.Size(), 7);
    f.SetSize(5);
    EXPECT_EQ(f.Size(), 5);
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_EQ(f.ReadValue<uint32_t>(), 0x11223344u);
    f.Seek(0, soEnd);
    f.WriteString("Z");
    f.SetPosition(4);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 2);  // short read at the end
    EXPECT_EQ(std::string(buf), "aZ");
    f.SetPosition(5);
    try {
      f.ReadBuffer(buf, 2);
      ADD_FAILURE();
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
  }
  {
    TFileStream f(name, fmOpenRead);
    EXPECT_THROW(f.WriteString("no"), EWriteError);
  }

  struct Case {
    std::string file;
    uint16_t mode;
    std::string message;
    bool create;
  } cases[] = {
      {dir + "/none.wav", fmOpenRead,
       "Cannot open file \"" + dir + "/none.wav\". No such file or directory", false},
      {dir, fmOpenRead, "Cannot open file \"" + dir + "\". Is a directory", false},
      {dir + "/no/such.wav", fmCreate,
       "Cannot create file \"" + dir + "/no/such.wav\". No such file or directory", true},
  };
  for (const auto& c : cases) {
    try {
      TFileStream f(c.file, c.mode);
      ADD_FAILURE() << c.file;
    } catch (const EFCreateError& e) {
      EXPECT_TRUE(c.create);
      EXPECT_EQ(e.Message(), c.message);
    } catch (const EFOpenError& e) {
      EXPECT_FALSE(c.create);
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  if (geteuid() != 0) {
    chmod(name.c_str(), 0444);
    EXPECT_THROW(TFileStream(name, fmOpenWrite), EFOpenError);
  }
}

TEST(Streams, MemoryStringAndCopy) {
  TMemoryStream m;
  m.SetPosition(4);
  m.WriteValue<int16_t>(-2);  // the gap reads as zeros
  EXPECT_EQ(m.Size(), 6);
  m.SetPosition(0);
  EXPECT_EQ(m.ReadValue<int32_t>(), 0);
  EXPECT_EQ(m.ReadValue<int16_t>(), -2);
  EXPECT_EQ(m.Read(nullptr, 4), 0);
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  m.SetPosition(-1);
  char c;
  EXPECT_EQ(m.Read(&c, 1), 0);

  TStringStream s("hello world");
  EXPECT_EQ(s.ReadString(5), "hello");
  s.Seek(1, soCurrent);
  EXPECT_EQ(s.ReadString(100), "world");
  s.Seek(-5, soEnd);
  s.WriteString("there!");
  EXPECT_EQ(s.DataString(), "hello there!");

  TMemoryStream copy;
  s.SetPosition(3);
  EXPECT_EQ(copy.CopyFrom(&s, 0), 12);  // 0 copies everything from the start
  EXPECT_EQ(std::string(static_cast<const char*>(copy.Memory()), 12), "hello there!");
  s.SetPosition(6);
  copy.Clear();
  copy.CopyFrom(&s, 3);
  EXPECT_EQ(copy.Size(), 3);
  s.SetPosition(10);
  EXPECT_THROW(copy.CopyFrom(&s, 5), EReadError);
}

TEST(Streams, ResourceStreamByTypeAndName) {
  // A resource registered at run time stands in for the program's embedded ones.
  std::string dir = sonalix::test::MakeTempDir("res").string();
  std::string rcc = dir + "/test.rcc";
  // A tiny resource file built with Qt's own resource compiler.
  std::ofstream(dir + "/Skin.bin") << "SKIN";
  std::ofstream(dir + "/test.qrc")
      << "<RCC><qresource prefix=\"/res/RCDATA\"><file alias=\"Skin\">Skin.bin</file>"
         "</qresource></RCC>";
  std::string tool =
      QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath).toStdString() + "/rcc";
  std::string cmd = "cd '" + dir + "' && '" + tool + "' -binary test.qrc -o test.rcc";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  ASSERT_TRUE(QResource::registerResource(QString::fromStdString(rcc)));

  TResourceStream r("skin", "rcdata");
  EXPECT_EQ(r.Size(), 4);
  char buf[4];
  r.ReadBuffer(buf, 4);
  EXPECT_EQ(std::string(buf, 4), "SKIN");
  EXPECT_THROW(r.WriteString("x"), EStreamError);
  TResourceStream byPath(":/res/RCDATA/Skin");
  EXPECT_EQ(byPath.Size(), 4);
  try {
    TResourceStream missing("NOPE", "RCDATA");
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NOPE not found");
  }
  QResource::unregisterResource(QString::fromStdString(rcc));
}

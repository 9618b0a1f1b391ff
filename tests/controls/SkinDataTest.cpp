// Skin packages: the recording skin made at build time, packages of every version and skin
// files, the sections the loader reads, damaged packages ending empty with one reason, the
// broadcast, skin lists, and every description class written and read back.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstring>
#include <random>

#include "ControlsScene.h"
#include "controls/SkinData.h"
#include "platform/rtl/SysUtils.h"

using namespace controlstest;

namespace {

using Bytes = std::vector<uint8_t>;

std::string SkinDir() { return SONALIX_SKIN_DIR; }

Bytes FileBytes(const std::string& path) {
  TMemoryStream m;
  m.LoadFromFile(path);
  const auto* p = static_cast<const uint8_t*>(m.Memory());
  return Bytes(p, p + m.Size());
}

Bytes Inflate(const Bytes& compressed) {
  TMemoryStream in, out;
  in.WriteBuffer(compressed.data(), int64_t(compressed.size()));
  bool complete = false;
  spInflatePackage(&in, &out, 1 << 30, complete);
  const auto* p = static_cast<const uint8_t*>(out.Memory());
  return Bytes(p, p + out.Size());
}

Bytes Deflate(const Bytes& package) {
  TMemoryStream in, out;
  in.WriteBuffer(package.data(), int64_t(package.size()));
  spDeflatePackage(&in, &out);
  const auto* p = static_cast<const uint8_t*>(out.Memory());
  return Bytes(p, p + out.Size());
}

Bytes Bmp(int W, int H, uint32_t Colour = 0x336699) {
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(Colour);
  TMemoryStream m;
  WriteBmpImage(&m, img, 24);
  const auto* p = static_cast<const uint8_t*>(m.Memory());
  return Bytes(p, p + m.Size());
}

void Put32(Bytes& b, int32_t v) {
  const auto* p = reinterpret_cast<const uint8_t*>(&v);
  b.insert(b.end(), p, p + 4);
}

// A package: version, the flag records (0 with a BMP, 1 empty), the pictures, the INI text.
Bytes Package(int32_t Version, const std::vector<bool>& Flags, int Pictures, const std::string& Ini) {
  Bytes b;
  Put32(b, Version);
  for (bool empty : Flags) {
    b.push_back(empty ? 1 : 0);
    if (!empty) {
      Bytes bmp = Bmp(3, 2);
      b.insert(b.end(), bmp.begin(), bmp.end());
    }
  }
  Put32(b, Pictures);
  for (int i = 0; i < Pictures; ++i) {
    Bytes bmp = Bmp(4 + i, 5);
    b.insert(b.end(), bmp.begin(), bmp.end());
  }
  b.insert(b.end(), Ini.begin(), Ini.end());
  return b;
}

struct TLoaded {
  TspCompressedStoredSkin Stored{nullptr};
  TspSkinData Data{nullptr};
  int Loads = 0;
  explicit TLoaded(const Bytes& Compressed) {
    Data.OnLoadData = [this](TObject*) { ++Loads; };
    Stored.CompressedStream()->WriteBuffer(Compressed.data(), int64_t(Compressed.size()));
    Data.SetCompressedStoredSkin(&Stored);
  }
};

const std::string kControlsIni =
    "[SKINCONTROLS]\r\ncount=5\r\n0=a:button\r\n1=b:Button\r\n2=c:gauge\r\n4=d:updown\r\n"
    "[a]\r\nskinrect=1,2,3,4\r\n[d]\r\nlefttoppoint=4,4\r\nclientrect=1,1,5,5\r\n";

}  // namespace

TEST(SkinData, TheRecordingSkinLoads) {
  RegisterSkinDataClasses();
  TLoaded skin(FileBytes(SkinDir() + "/recordskin.pkg"));
  TspSkinData& d = skin.Data;
  ASSERT_FALSE(d.Empty()) << d.LoadErrorText();
  EXPECT_EQ(skin.Loads, 1);
  ASSERT_EQ(d.Pictures().size(), 1u);
  EXPECT_EQ(d.Pictures()[0]->Width(), 138);
  EXPECT_EQ(d.Pictures()[0]->Height(), 193);
  ASSERT_EQ(d.ControlDescriptions().size(), 4u);
  const char* names[] = {"gauge", "button", "checkradio", "trackbar"};
  const char* classes[] = {"TspDataSkinGaugeControl", "TspDataSkinButtonControl", "TspDataSkinCheckRadioControl",
                           "TspDataSkinTrackBarControl"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d.ControlDescription(i)->SectionName(), names[i]);
    EXPECT_EQ(d.ControlDescription(i)->ClassName(), classes[i]);
  }
  EXPECT_TRUE(d.ObjectDescriptions().empty());
  EXPECT_TRUE(d.Areas().empty());
  for (TColor c : d.Colors()->Values) EXPECT_EQ(c, 0);
  EXPECT_EQ(d.IndexOfControlDescription("button"), 1);
  EXPECT_EQ(d.IndexOfControlDescription("Button"), -1);

  const TspDataSkinControl* b = d.ControlDescription(1);
  EXPECT_EQ(b->Int("pictureindex"), 0);
  EXPECT_EQ(b->Rect("skinrect"), Rect(44, 78, 93, 107));
  EXPECT_EQ(b->Point("lefttoppoint"), Point(3, 5));
  EXPECT_EQ(b->Point("righttoppoint"), Point(45, 5));
  EXPECT_EQ(b->Rect("clientrect"), Rect(3, 5, 46, 25));
  for (const char* k : {"leftstretch", "topstretch", "rightstretch", "bottomstretch", "stretcheffect", "morphing"})
    EXPECT_TRUE(b->Bool(k)) << k;
  EXPECT_EQ(b->Int("morphkind"), 0);
  EXPECT_EQ(b->Rect("activeskinrect"), Rect(44, 0, 93, 29));
  EXPECT_EQ(b->Rect("downskinrect"), Rect(44, 30, 93, 59));
  EXPECT_EQ(b->Rect("disabledskinrect"), Rect(44, 163, 93, 192));
  EXPECT_EQ(b->Str("fontname"), "Tahoma");
  EXPECT_EQ(b->Int("fontheight"), 13);
  EXPECT_EQ(b->Int("fontcolor"), 16777215);
  EXPECT_EQ(b->Int("disabledfontcolor"), 9405306);
  EXPECT_EQ(b->Int("animateinterval"), 25);
  EXPECT_EQ(b->Int("glowlayerpictureindex"), -1);
  EXPECT_EQ(b->Int("glowlayeralphablendvalue"), 255);
  const TspDataSkinControl* t = d.ControlDescription(3);
  EXPECT_TRUE(t->Bool("vertical"));
  EXPECT_EQ(t->Rect("trackarea"), Rect(0, 0, 18, 48));
  EXPECT_EQ(t->Rect("buttonrect"), Rect(120, 0, 138, 23));
  EXPECT_EQ(t->Rect("activebuttonrect"), Rect(120, 26, 138, 49));
  EXPECT_EQ(t->Int("buttontransparentcolor"), 16711935);
  EXPECT_EQ(d.ControlDescription(0)->Rect("skinrect").Width(), 19);
  EXPECT_EQ(d.ControlDescription(0)->Rect("skinrect").Height(), 193);

  // The skin file carries the same bytes.
  TspCompressedStoredSkin fromFile(nullptr);
  fromFile.LoadFromSknFile(SkinDir() + "/recordskin.skn");
  EXPECT_EQ(fromFile.CompressedStream()->Size(), skin.Stored.CompressedStream()->Size());
}

TEST(SkinData, PackagesOfEveryVersion) {
  const std::string ini = "[PICTURES]\r\nmask=m.bmp\r\n";
  struct TCase {
    int32_t Version;
    int Records;
    bool MaskLoaded;  // the record holding the mask is the one given a picture
    int MaskRecord;
  } cases[] = {{1, 4, true, 1}, {2, 5, true, 2}, {3, 3, true, 2}, {0, 2, true, 1}, {-7, 2, true, 1}};
  for (const auto& c : cases) {
    std::vector<bool> flags(size_t(c.Records), true);
    flags[size_t(c.MaskRecord)] = false;
    TLoaded skin(Deflate(Package(c.Version, flags, 2, ini)));
    ASSERT_FALSE(skin.Data.Empty()) << c.Version << " " << skin.Data.LoadErrorText();
    EXPECT_EQ(skin.Data.Mask()->Width(), 3) << c.Version;
    EXPECT_EQ(skin.Data.Picture()->Width(), 0) << c.Version;
    ASSERT_EQ(skin.Data.Pictures().size(), 2u);
    EXPECT_EQ(skin.Data.Pictures()[1]->Width(), 5);
    EXPECT_EQ(skin.Data.MaskName, "m.bmp");
  }
}

TEST(SkinData, SknStreamsAndTheirVersion) {
  Bytes compressed = Deflate(Package(2, {true, true, true, true, true}, 0, ""));
  TspCompressedStoredSkin skin(nullptr);
  skin.CompressedStream()->WriteBuffer(compressed.data(), int64_t(compressed.size()));
  TMemoryStream skn;
  skin.SaveToSknStream(&skn);
  EXPECT_EQ(skn.Size(), int64_t(8 + compressed.size()));
  skn.SetPosition(0);
  TspCompressedStoredSkin back(nullptr);
  back.LoadFromSknStream(&skn);
  EXPECT_EQ(back.CompressedStream()->Size(), int64_t(compressed.size()));
  // A newer version loads nothing; a length beyond the data is an error.
  Bytes newer;
  Put32(newer, 4);
  Put32(newer, 3);
  newer.insert(newer.end(), {1, 2, 3});
  TMemoryStream s;
  s.WriteBuffer(newer.data(), int64_t(newer.size()));
  s.SetPosition(0);
  back.LoadFromSknStream(&s);
  EXPECT_TRUE(back.IsEmpty());
  Bytes lying;
  Put32(lying, 2);
  Put32(lying, 1000);
  TMemoryStream l;
  l.WriteBuffer(lying.data(), int64_t(lying.size()));
  l.SetPosition(0);
  EXPECT_THROW(back.LoadFromSknStream(&l), EReadError);
}

TEST(SkinData, ControlEntriesAreMatchedExactly) {
  TLoaded skin(Deflate(Package(2, {true, true, true, true, true}, 0, kControlsIni)));
  const auto& c = skin.Data.ControlDescriptions();
  ASSERT_EQ(c.size(), 3u);  // "Button" creates nothing; entry 3 is absent
  EXPECT_EQ(c[0]->SectionName(), "a");
  EXPECT_EQ(c[0]->Rect("skinrect"), Rect(1, 2, 3, 4));
  EXPECT_EQ(c[1]->SectionName(), "c");
  EXPECT_EQ(c[2]->ClassName(), "TspDataSkinUpDownControl");
  EXPECT_EQ(c[2]->Point("lefttoppoint"), TPoint());
  EXPECT_EQ(c[2]->Rect("clientrect"), TRect());
}

TEST(SkinData, AreasFormInfoAndKeywords) {
  const std::string ini =
      "[PICTURES]\r\nmask=m.bmp\r\n"
      "[FORMINFO]\r\nclientrect=5,5,50,50\r\nmaskrectarea=0,0,0,0\r\nlefttoppoint=2,3\r\nrightbottompoint=60,70\r\n"
      "righttoppoint=60,1\r\nleftbottompoint=1,60\r\nhittestrighttoppoint=9,9\r\n"
      "[SKINAREAS]\r\ncount=3\r\n0=a:1,2,3,4;1,0,1,0,1\r\n1=b:1,2,3,4;1,0\r\n2=nocolon\r\n"
      "[SKINCOLORS]\r\ncbtnface=255\r\n"
      "[SKINOBJECTS]\r\ncount=3\r\n0=s:stdbutton\r\n1=t:stdbutton\r\n2=m:menuitem\r\n"
      "[s]\r\nhint=Maximize\r\ncommand=cmmaximize\r\n[t]\r\nhint=Maximize\r\ncommand=cmclose\r\n"
      "[m]\r\narrowimagerect=1,2,9,9\r\n";
  TLoaded skin(Deflate(Package(2, {true, true, true, true, true}, 0, ini)));
  TspSkinData& d = skin.Data;
  ASSERT_FALSE(d.Empty()) << d.LoadErrorText();
  const auto& f = d.FormInfo();
  EXPECT_EQ(f.Rect("maskrectarea"), Rect(5, 5, 50, 50));
  EXPECT_EQ(f.Point("hittestlefttoppoint"), Point(2, 3));  // unset: taken from the corner
  EXPECT_EQ(f.Point("hittestrighttoppoint"), Point(9, 9));
  // The corners are pulled inside the client rectangle.
  EXPECT_EQ(f.Point("lefttoppoint"), Point(5, 5));
  EXPECT_EQ(f.Point("rightbottompoint"), Point(50, 50));
  EXPECT_EQ(f.Point("righttoppoint"), Point(50, 5));
  EXPECT_EQ(f.Point("leftbottompoint"), Point(5, 50));
  EXPECT_EQ(f.Int("inactiveeffect"), 0);
  ASSERT_EQ(d.Areas().size(), 3u);
  EXPECT_EQ(d.Areas()[0].Name, "a");
  EXPECT_EQ(d.Areas()[0].Rect, Rect(1, 2, 3, 4));
  const bool expected[5] = {true, false, true, false, true};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(d.Areas()[0].Flags[i], expected[i]);
    EXPECT_FALSE(d.Areas()[1].Flags[i]);
  }
  EXPECT_EQ(d.Areas()[2].Name, "");
  EXPECT_EQ(d.Areas()[2].Rect, TRect());
  EXPECT_EQ(d.Colors()->Values[0], 255);
  EXPECT_EQ(d.Colors()->Values[1], 0);
  ASSERT_EQ(d.ObjectDescriptions().size(), 3u);
  EXPECT_EQ(d.ObjectDescriptions()[0]->Str("restorehint"), "Restore");
  EXPECT_EQ(d.ObjectDescriptions()[1]->Str("restorehint"), "");
  EXPECT_EQ(d.ObjectDescriptions()[2]->Rect("activearrowimagerect"), Rect(1, 2, 9, 9));
  EXPECT_EQ(d.ObjectDescriptions()[0]->Image("normal"), nullptr);  // no layer frame picture

  TMemIniFile kw("");
  kw.SetText("[k]\r\ncaps=STVERT\r\nlow=stvert\r\ncmd=whatever\r\nframes=0\r\n");
  EXPECT_EQ(ReadStretchKind(&kw, "k", "caps"), 1);
  EXPECT_EQ(ReadStretchKind(&kw, "k", "low"), 2);
  EXPECT_EQ(ReadStretchKind(&kw, "k", "missing"), 0);
  EXPECT_EQ(ReadSkinKeyword(&kw, "k", "cmd", TspKeyKind::CommandKind), 6);
  EXPECT_EQ(SkinKeywordText(TspKeyKind::CommandKind, 6), "cmminimizetotray");
  EXPECT_EQ(ReadImageEffect(&kw, "k", "cmd"), 2);
  for (const char* count : {"0", "-3"}) {
    TMemIniFile frame("");
    frame.SetText(std::string("[f]\r\nframescount=") + count + "\r\n");
    TspDataSkinControl fc(FindSkinDescClass("TspDataSkinFrameGauge"), "f");
    fc.ReadDescription(&frame);
    EXPECT_EQ(fc.Int("framescount"), 1) << count;
  }
}

TEST(SkinData, EveryDescriptionClassRoundTrips) {
  std::mt19937 rng(46);
  auto check = [&](const TspDescClass* cls, bool object) {
    std::unique_ptr<TspDataSkinDescription> a, b;
    if (object) {
      a = std::make_unique<TspDataSkinObject>(cls, "x");
      b = std::make_unique<TspDataSkinObject>(cls, "x");
    } else {
      a = std::make_unique<TspDataSkinControl>(cls, "x");
      b = std::make_unique<TspDataSkinControl>(cls, "x");
    }
    for (const TspKeyDef* k : a->AllKeys()) {
      int n = int(rng() % 7) + 1;
      switch (k->Kind) {
        case TspKeyKind::Integer: a->SetInt(k->Key, int(rng() % 100000) - 50000); break;
        case TspKeyKind::Bool: a->SetInt(k->Key, int(rng() % 2)); break;
        case TspKeyKind::Rect: a->SetRect(k->Key, Rect(n, n + 1, n + 20, n + 30)); break;
        case TspKeyKind::Point: a->SetPoint(k->Key, Point(n, n * 2)); break;
        case TspKeyKind::String: a->SetStr(k->Key, "v" + IntToStr(n)); break;
        case TspKeyKind::Alignment: a->SetInt(k->Key, n % 3); break;
        case TspKeyKind::StretchKind: a->SetInt(k->Key, n % 3); break;
        case TspKeyKind::MorphKind: a->SetInt(k->Key, n % 7); break;
        case TspKeyKind::FramesPlacement:
        case TspKeyKind::GaugeKind: a->SetInt(k->Key, n % 2); break;
        case TspKeyKind::RegulatorKind: a->SetInt(k->Key, n % 3); break;
        case TspKeyKind::CommandKind: a->SetInt(k->Key, n % 7); break;
        default: break;
      }
    }
    if (a->Int("framescount") < 1 && a->InheritsFrom("TspDataSkinFrameControl")) a->SetInt("framescount", 3);
    if (cls->ClassName == "TspDataSkinUpDownControl") {
      for (const char* p : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"})
        a->SetPoint(p, TPoint());
      a->SetRect("clientrect", TRect());
    }
    if (cls->ClassName == "TspDataSkinMenuItem")
      for (const char* k : {"check", "radio", "arrow"})
        a->SetRect(std::string("active") + k + "imagerect", a->Rect(std::string(k) + "imagerect"));
    if (cls->ClassName == "TspDataSkinTrackBar" || cls->ClassName == "TspDataSkinAnimate") a->SetInt("morphing", 0);
    if (a->InheritsFrom("TspDataSkinStdButton") || cls->ClassName == "TspDataSkinAnimate") a->SetStr("restorehint", "r");
    TMemIniFile ini("");
    a->WriteDescription(&ini);
    b->ReadDescription(&ini);
    for (const TspKeyDef* k : a->AllKeys())
      EXPECT_TRUE(a->Values().at(k->Key) == b->Values().at(k->Key)) << cls->ClassName << " " << k->Key;
  };
  for (const auto& [word, cls] : SkinControlTypes()) check(cls, false);
  for (const auto& [word, cls] : SkinObjectTypes()) check(cls, true);
  EXPECT_EQ(SkinControlTypes().size(), 33u);
  EXPECT_EQ(SkinObjectTypes().size(), 18u);
  // A user object reads only its own three keys.
  TMemIniFile ini("");
  ini.SetText("[u]\r\nhint=h\r\nactivepictureindex=3\r\ncursorindex=2\r\n");
  TspDataSkinObject user(FindSkinDescClass("TspDataUserObject"), "u");
  user.ReadDescription(&ini);
  EXPECT_EQ(user.Int("cursorindex"), 2);
  EXPECT_EQ(user.Str("hint"), "");
  EXPECT_EQ(user.Int("activepictureindex"), 0);
}

// ---- damage

namespace {

struct TDamage {
  const char* Name;
  Bytes Compressed;
  const char* Reason;  // a piece of the text kept in LoadErrorText
};

std::vector<TDamage> Damages() {
  Bytes good = FileBytes(SkinDir() + "/recordskin.pkg");
  Bytes plain = Inflate(good);
  std::vector<TDamage> d;
  d.push_back({"truncated compressed data", Bytes(good.begin(), good.begin() + long(good.size() / 2)), "cut short"});
  Bytes flipped = good;
  flipped[20] ^= 0x5A;
  d.push_back({"bit-flipped", flipped, ""});
  Bytes v4 = plain;
  v4[0] = 4;
  d.push_back({"version 4", Deflate(v4), "newer than 3"});
  Bytes lying = plain;
  uint32_t huge = 0x7FFFFFF0;
  std::memcpy(&lying[4 + 5 + 4 + 2], &huge, 4);  // the picture's BMP size field
  d.push_back({"lying BMP size", Deflate(lying), "size field"});
  Bytes count = plain;
  int32_t many = 0x40000000;
  std::memcpy(&count[4 + 5], &many, 4);
  d.push_back({"huge picture count", Deflate(count), "picture count"});
  Bytes bigPicture = plain;
  int32_t wide = 100000;
  std::memcpy(&bigPicture[4 + 5 + 4 + 18], &wide, 4);
  d.push_back({"huge picture", Deflate(bigPicture), ""});
  std::string text(plain.begin(), plain.end());
  size_t at = text.find("skinrect=44,78,93,107");
  text.replace(at, 21, "skinrect=44,,93,107");
  d.push_back({"rectangle with an empty field", Deflate(Bytes(text.begin(), text.end())), "valid integer"});
  d.push_back({"plain package ends early", Deflate(Bytes(plain.begin(), plain.begin() + 3000)), ""});
  return d;
}

}  // namespace

TEST(SkinData, DamagedPackagesEndEmptyWithOneReason) {
  for (const TDamage& dmg : Damages()) {
    TLoaded skin(dmg.Compressed);
    EXPECT_TRUE(skin.Data.Empty()) << dmg.Name;
    EXPECT_EQ(skin.Loads, 0) << dmg.Name;
    EXPECT_FALSE(skin.Data.LoadErrorText().empty()) << dmg.Name;
    EXPECT_NE(skin.Data.LoadErrorText().find(dmg.Reason), std::string::npos)
        << dmg.Name << ": " << skin.Data.LoadErrorText();
    EXPECT_TRUE(skin.Data.ControlDescriptions().empty()) << dmg.Name;
    EXPECT_TRUE(skin.Data.Pictures().empty()) << dmg.Name;
  }
  // A huge control count reads the entries that are there.
  std::string ini = kControlsIni;
  ini.replace(ini.find("count=5"), 7, "count=2147483647");
  TLoaded skin(Deflate(Package(2, {true, true, true, true, true}, 0, ini)));
  EXPECT_FALSE(skin.Data.Empty());
  EXPECT_EQ(skin.Data.ControlDescriptions().size(), 3u);
}

// Package bytes and INI text damaged at random, in a child whose address space and CPU time are
// capped: every load ends loaded or empty with a reason, never with a crash, a hang or a huge
// allocation.
TEST(SkinData, FuzzedPackagesLoadOrFailCleanly) {
  Bytes plain = Inflate(FileBytes(SkinDir() + "/recordskin.pkg"));
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    rlim_t cap = rlim_t(pages * sysconf(_SC_PAGESIZE) + (1L << 30));
    rlimit as{cap, cap};
    setrlimit(RLIMIT_AS, &as);
    rlimit cpu{120, 120};
    setrlimit(RLIMIT_CPU, &cpu);
    std::fclose(stderr);  // each failed load reports itself
    std::mt19937 rng(4611);
    const size_t textStart = plain.size() - 1647;
    for (int i = 0; i < 1500; ++i) {
      Bytes b = plain;
      int edits = 1 + int(rng() % 4);
      for (int e = 0; e < edits; ++e) {
        if (b.empty()) break;
        bool inText = rng() % 2 == 0 && b.size() > textStart;
        size_t at = inText ? textStart + rng() % (b.size() - textStart) : rng() % std::min<size_t>(b.size(), 200);
        if (at >= b.size()) continue;
        switch (rng() % 4) {
          case 0: b[at] = uint8_t(rng()); break;
          case 1: b.resize(at); break;
          case 2:
            for (int k = 0; k < 4 && at + size_t(k) < b.size(); ++k) b[at + size_t(k)] = 0xFF;
            break;
          default: b[at] = inText ? ",:;=9\r["[rng() % 7] : uint8_t(rng() % 3);
        }
      }
      Bytes compressed = Deflate(b);
      if (rng() % 5 == 0) compressed[rng() % compressed.size()] ^= uint8_t(1 + rng() % 255);
      try {
        TLoaded skin(compressed);
        if (skin.Data.Empty() && skin.Data.LoadErrorText().empty()) _exit(4);
        for (const auto& c : skin.Data.ControlDescriptions()) (void)c->Rect("skinrect");
      } catch (...) {
        _exit(3);
      }
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// ---- lists and the broadcast

TEST(SkinData, SkinIndexFollowsTheList) {
  TspSkinData data(nullptr);
  data.SetSkinIndex(3);
  EXPECT_EQ(data.SkinIndex(), 3) << "without a list the value is kept";
  TspCompressedSkinList list(nullptr);
  Bytes one = Deflate(Package(2, {true, true, true, true, true}, 1, ""));
  Bytes two = Deflate(Package(2, {true, true, true, true, true}, 2, ""));
  for (const Bytes* b : {&one, &two}) {
    auto* item = static_cast<TspSkinListItem*>(list.Skins()->Add());
    item->StoredSkin()->CompressedStream()->WriteBuffer(b->data(), int64_t(b->size()));
  }
  EXPECT_EQ(list.Item(1)->Name(), "spSkin1");
  data.SetSkinIndex(0);
  data.SetSkinList(&list);
  EXPECT_EQ(data.Pictures().size(), 1u);
  data.SetSkinIndex(3);
  EXPECT_EQ(data.SkinIndex(), 0);
  data.SetSkinIndex(1);
  EXPECT_EQ(data.Pictures().size(), 2u);
}

namespace {

class TRecordingForm : public TForm {
 public:
  explicit TRecordingForm(std::vector<std::pair<TRecordingForm*, UINT>>* Log) : TForm(nullptr), FLog(Log) {}
  void WndProc(TMessage& Message) override {
    if (Message.Msg >= SKINMSG_BEGINCHANGE && Message.Msg <= SKINMSG_AEROBLURCHANGED) {
      EXPECT_EQ(Message.LParam, 1000);
      FLog->push_back({this, Message.Msg});
    }
    TForm::WndProc(Message);
  }

 private:
  std::vector<std::pair<TRecordingForm*, UINT>>* FLog;
};

}  // namespace

TEST(SkinData, BroadcastOrder) {
  std::vector<std::pair<TRecordingForm*, UINT>> log;
  TRecordingForm a(&log), b(&log);
  a.HandleNeeded();
  b.HandleNeeded();
  auto* data = new TspSkinData(&b);
  TLoaded skin(FileBytes(SkinDir() + "/recordskin.pkg"));
  log.clear();
  data->SetCompressedStoredSkin(&skin.Stored);
  // Every form, in screen order: 1225, then 1226 and 1227.
  std::vector<UINT> seenByA;
  for (auto& [form, msg] : log)
    if (form == &a) seenByA.push_back(msg);
  EXPECT_EQ(seenByA, (std::vector<UINT>{SKINMSG_BEGINCHANGE, SKINMSG_CHANGED, SKINMSG_ENDCHANGE}));
  // Without layered borders the owner form hears it first.
  log.clear();
  data->SetShowLayeredBorders(false);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().first, &b);
  EXPECT_EQ(log.front().second, SKINMSG_LAYEREDBORDERSCHANGED);
  int heardByB = int(std::count_if(log.begin(), log.end(), [&](auto& e) { return e.first == &b; }));
  EXPECT_EQ(heardByB, 1);
}

// Look-and-feel chains, change notification, controllers, the painters' registry, and look and
// feel in form descriptions.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/VisualStyleState.h"

namespace {

// Records every notification of a look and feel.
struct TRecorder {
  std::vector<TcxLookAndFeelValues> Calls;
  void Watch(TcxLookAndFeel& L) {
    L.OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues V) { Calls.push_back(V); };
  }
};

class TProbeListener : public TObject, public IcxLookAndFeelChangeListener {
 public:
  std::function<void(TcxLookAndFeel*)> OnMasterChanged;
  int Changed = 0, Destroying = 0;
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues) override {
    ++Changed;
    if (OnMasterChanged) OnMasterChanged(Sender);
  }
  void MasterDestroying(TcxLookAndFeel*) override { ++Destroying; }
};

// Leaves the root as the test found it.
struct TRootGuard {
  TcxLookAndFeelValues Saved = RootLookAndFeelInstance()->AssignedValues();
  TcxLookAndFeelData Data = RootLookAndFeelInstance()->Data();
  ~TRootGuard() {
    TcxLookAndFeel* root = RootLookAndFeelInstance();
    root->SetKind(Data.Kind);
    root->SetNativeStyle(Data.NativeStyle);
    root->SetSkinName(Data.SkinName);
    root->SetAssignedValues(Saved);
  }
};

}  // namespace

TEST(LookAndFeel, FollowsTheRootAndItsMasters) {
  TRootGuard guard;
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->IsRoot());
  EXPECT_EQ(root->Kind(), lfUltraFlat);

  TcxLookAndFeel child(nullptr), grandchild(nullptr);
  EXPECT_EQ(child.Kind(), lfUltraFlat);
  EXPECT_FALSE(child.NativeStyle());
  EXPECT_EQ(child.SkinName(), "");
  EXPECT_EQ(child.EffectiveMaster(), root);
  grandchild.AttachMaster(&child);
  EXPECT_EQ(grandchild.EffectiveMaster(), &child);

  TRecorder rc, rg;
  rc.Watch(child);
  rg.Watch(grandchild);
  root->SetKind(lfFlat);
  EXPECT_EQ(child.Kind(), lfFlat);
  EXPECT_EQ(grandchild.Kind(), lfFlat);
  ASSERT_EQ(rc.Calls.size(), 1u);
  EXPECT_EQ(rc.Calls[0], TcxLookAndFeelValues{lfvKind});
  ASSERT_EQ(rg.Calls.size(), 1u) << "the child passes the change on";
  EXPECT_EQ(grandchild.ActivePainter(), cxLookAndFeelPaintersManager()->PainterForKind(psFlat));

  // Assigning the value the master already gives: marked assigned, nothing sent.
  rc.Calls.clear();
  child.SetKind(lfFlat);
  EXPECT_TRUE(child.AssignedValues().Contains(lfvKind));
  EXPECT_TRUE(rc.Calls.empty());

  // A child with its own kind hears of the root's kind with an empty set, which does nothing.
  rg.Calls.clear();
  root->SetKind(lfStandard);
  EXPECT_EQ(child.Kind(), lfFlat);
  EXPECT_TRUE(rc.Calls.empty());
  EXPECT_TRUE(rg.Calls.empty());
  EXPECT_EQ(grandchild.Kind(), lfFlat);

  child.ResetToMaster();
  EXPECT_EQ(child.Kind(), lfStandard);
  EXPECT_EQ(grandchild.Kind(), lfStandard);
  ASSERT_EQ(rc.Calls.size(), 1u);
  EXPECT_EQ(rc.Calls[0], TcxLookAndFeelValues{lfvKind});

  // Assign copies the values and the master.
  TcxLookAndFeel copy(nullptr);
  grandchild.SetSkinName("x");
  copy.Assign(&grandchild);
  EXPECT_EQ(copy.EffectiveMaster(), &child);
  EXPECT_EQ(copy.SkinName(), "x");
  EXPECT_TRUE(copy.StoresEmptySkinName() == false);
  copy.SetSkinName("");
  EXPECT_TRUE(copy.StoresEmptySkinName()) << "an assigned empty name is kept for streaming";
  EXPECT_EQ(copy.SkinPainter(), nullptr);
}

TEST(LookAndFeel, StyleIndexAndPainterChoice) {
  TVisualStylesAbsent styles;
  TRootGuard guard;
  struct TCase {
    int Index;
    bool Native;
    TcxLookAndFeelKind Kind;
  };
  const TCase cases[] = {{0, false, lfFlat},     {1, false, lfStandard}, {2, false, lfUltraFlat},
                         {3, true, lfUltraFlat}, {4, false, lfOffice11}, {5, false, lfUltraFlat}};
  for (const TCase& c : cases) {
    TcxLookAndFeel lf(nullptr);
    lf.SetKind(lfUltraFlat);
    lf.ApplyStyleIndex(c.Index);
    EXPECT_EQ(lf.NativeStyle(), c.Native) << c.Index;
    EXPECT_EQ(lf.Kind(), c.Kind) << c.Index << ": index 3 leaves the kind untouched";
  }
  // Native style without an active visual style: the kind's painter is used.
  TcxLookAndFeel lf(nullptr);
  lf.SetKind(lfStandard);
  lf.SetNativeStyle(true);
  EXPECT_EQ(lf.PainterStyle(), psStandard);
  EXPECT_EQ(lf.ActivePainter()->KindName(), "Standard");
  // A skin name that names a registered painter selects it.
  lf.SetNativeStyle(false);
  lf.SetSkinName("flat");
  EXPECT_EQ(lf.PainterStyle(), psSkin);
  EXPECT_EQ(lf.ActivePainter()->KindName(), "Flat");
  EXPECT_EQ(LookAndFeelKindToPainterStyle(lfOffice11), psOffice11);
}

TEST(LookAndFeel, ListenersJoiningAndLeavingDuringANotification) {
  TRootGuard guard;
  TcxLookAndFeel master(nullptr);
  TProbeListener a, b, c, late;
  // a leaves during its call: b must still be reached; b adds a newcomer: the walk goes on.
  a.OnMasterChanged = [&](TcxLookAndFeel* s) { s->DetachListener(&a); };
  b.OnMasterChanged = [&](TcxLookAndFeel* s) { s->AttachListener(&late); };
  master.AttachListener(&a);
  master.AttachListener(&b);
  master.AttachListener(&c);
  master.AttachListener(&c);
  EXPECT_EQ(master.ListenerCount(), 3) << "a listener joins once";
  master.SetKind(lfFlat);
  EXPECT_EQ(a.Changed, 1);
  EXPECT_EQ(b.Changed, 1) << "not called again and again after adding a listener";
  EXPECT_EQ(c.Changed, 1);
  EXPECT_EQ(late.Changed, 1);
  EXPECT_EQ(master.ListenerCount(), 3);
  master.DetachListener(&b);
  master.DetachListener(&c);
  master.DetachListener(&late);
}

TEST(LookAndFeel, DestroyedMastersAndControllers) {
  TRootGuard guard;
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  root->SetKind(lfStandard);
  TcxLookAndFeel follower(nullptr);
  TRecorder rf;
  {
    TcxLookAndFeel master(nullptr);
    master.SetKind(lfOffice11);
    follower.AttachMaster(&master);
    EXPECT_EQ(follower.Kind(), lfOffice11);
    rf.Watch(follower);
  }
  EXPECT_EQ(follower.EffectiveMaster(), root) << "falls back to the root";
  EXPECT_EQ(follower.Kind(), lfStandard);
  ASSERT_EQ(rf.Calls.size(), 1u);
  EXPECT_EQ(rf.Calls[0], TcxLookAndFeelValues{lfvKind});

  // A master chain may not loop back.
  TcxLookAndFeel other(nullptr);
  other.AttachMaster(&follower);
  follower.AttachMaster(&other);
  EXPECT_EQ(follower.EffectiveMaster(), root);

  // Controllers edit the root; the last one leaving returns the root to its defaults.
  int before = LookAndFeelControllerCount();
  auto c1 = std::make_unique<TcxLookAndFeelController>(nullptr);
  auto c2 = std::make_unique<TcxLookAndFeelController>(nullptr);
  EXPECT_EQ(LookAndFeelControllerCount(), before + 2);
  c1->SetKind(lfFlat);
  EXPECT_EQ(follower.Kind(), lfFlat);
  EXPECT_EQ(c2->Kind(), lfFlat);
  TcxLookAndFeel plain(nullptr);
  plain.AttachListener(c1.get());
  EXPECT_EQ(plain.ListenerCount(), 0) << "a controller on a non-root is ignored";
  c1.reset();
  EXPECT_TRUE(root->AssignedValues().Contains(lfvKind));
  c2.reset();
  EXPECT_TRUE(root->AssignedValues().Empty());
  EXPECT_EQ(follower.Kind(), lfUltraFlat);
}

TEST(LookAndFeel, ShutDownLeavesFollowersAtTheDefaults) {
  TcxLookAndFeelPaintersManager* painters = cxLookAndFeelPaintersManager();
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  root->SetKind(lfFlat);
  root->SetNativeStyle(true);
  TcxLookAndFeel follower(nullptr), grandchild(nullptr);
  grandchild.AttachMaster(&follower);
  ASSERT_EQ(grandchild.Kind(), lfFlat);
  TRecorder r;
  r.Watch(grandchild);

  cxLookAndFeelsFinalize();
  EXPECT_EQ(RootLookAndFeelInstance(), nullptr);
  EXPECT_EQ(follower.EffectiveMaster(), nullptr);
  EXPECT_EQ(grandchild.Kind(), lfUltraFlat);
  EXPECT_FALSE(grandchild.NativeStyle());
  EXPECT_EQ(grandchild.ActivePainter(), painters->PainterForKind(psUltraFlat));
  ASSERT_EQ(r.Calls.size(), 1u);
  EXPECT_EQ(r.Calls[0], (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  {
    // Without a root a controller reads the defaults and changes nothing.
    TcxLookAndFeelController controller(nullptr);
    controller.SetKind(lfOffice11);
    EXPECT_EQ(controller.Kind(), lfUltraFlat);
    EXPECT_EQ(LookAndFeelControllerCount(), 0);
  }

  cxLookAndFeelsInitialize();
  ASSERT_NE(RootLookAndFeelInstance(), nullptr);
  EXPECT_TRUE(RootLookAndFeelInstance()->AssignedValues().Empty());
  EXPECT_EQ(RootLookAndFeelInstance()->ActivePainter(), painters->PainterForKind(psUltraFlat))
      << "the new root picks its painter at once";
}

TEST(LookAndFeel, PaletteChangesReachEveryLookAndFeel) {
  TcxLookAndFeel lf(nullptr);
  TRecorder r;
  r.Watch(lf);
  ASSERT_NE(CurrentPaletteListener(), nullptr);
  SendMessage(CurrentPaletteListener()->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  // Once from its own notifier and once more through the root it follows.
  ASSERT_EQ(r.Calls.size(), 2u);
  for (const auto& v : r.Calls) EXPECT_EQ(v, TcxLookAndFeelValues{lfvNativeStyle});
  // Primary notifiers hear it before ordinary ones, each list newest first.
  std::vector<int> order;
  TcxSystemPaletteChangedNotifier n1(false), n2(true), n3(false), n4(true);
  n1.OnSystemPaletteChanged = [&] { order.push_back(1); };
  n2.OnSystemPaletteChanged = [&] { order.push_back(2); };
  n3.OnSystemPaletteChanged = [&] { order.push_back(3); };
  n4.OnSystemPaletteChanged = [&] { order.push_back(4); };
  CurrentPaletteListener()->Broadcast();
  std::vector<int> tail(order.end() - 2, order.end());
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(order[0], 4);
  EXPECT_EQ(order[1], 2);
  EXPECT_EQ(tail, (std::vector<int>{3, 1}));
}

TEST(PaintersManager, RegistryByStyleAndName) {
  TcxLookAndFeelPaintersManager* m = cxLookAndFeelPaintersManager();
  ASSERT_NE(m, nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < m->PainterCount(); ++i) names.push_back(m->PainterAt(i)->KindName());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(names.front(), "Flat");
  for (const char* n : {"Native", "Standard", "UltraFlat"})
    EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
  EXPECT_EQ(m->PainterForName("native"), m->PainterForKind(psNative));
  int count = m->PainterCount();
  TcxCustomLookAndFeelPainter* flat = m->PainterForName("FLAT");
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(flat->StyleKind(), psFlat);

  struct TSpy : TcxFlatLookAndFeelPainter {
    bool* Freed;
    explicit TSpy(bool* F) : Freed(F) {}
    ~TSpy() override { *Freed = true; }
    std::string KindName() const override { return "fLaT"; }
  };
  bool freed = false;
  EXPECT_FALSE(m->RegisterPainter(new TSpy(&freed)));
  EXPECT_TRUE(freed) << "the newcomer is freed";
  EXPECT_EQ(m->PainterForName("flat"), flat) << "the first stays";
  EXPECT_EQ(m->PainterCount(), count);
  EXPECT_EQ(m->PainterForKind(psSkin), nullptr);
  EXPECT_EQ(m->PainterForName("nothing"), nullptr);
}

// ---- form descriptions

namespace {

// A component that owns a look and feel and publishes it as a nested object, as controls do.
class TStyledHost : public TComponent {
 public:
  explicit TStyledHost(TComponent* AOwner) : TComponent(AOwner), FLookAndFeel(this) {}
  TcxLookAndFeel* LookAndFeel() { return &FLookAndFeel; }

 private:
  TcxLookAndFeel FLookAndFeel;
};

const bool kStyledHostRegistered = [] {
  RegisterClass<TStyledHost, TComponent>();
  Published<TStyledHost>().Property("LookAndFeel", &TStyledHost::LookAndFeel);
  return true;
}();

int Occurrences(const std::string& Text, const std::string& What) {
  int n = 0;
  for (std::size_t at = Text.find(What); at != std::string::npos; at = Text.find(What, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(LookAndFeelStreaming, RoundTripKeepsExactlyWhatWasAssigned) {
  TRootGuard guard;
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  root->SetKind(lfStandard);
  root->SetSkinName("UltraFlat");
  struct TCase {
    const char* Name;
    std::function<void(TcxLookAndFeel&)> Setup;
    const char* Block;
    TcxLookAndFeelValues Assigned;
    TcxLookAndFeelKind Kind;
    bool Native;
    const char* Skin;
  };
  const TCase cases[] = {
      {"nothing",
       [](TcxLookAndFeel&) {},
       "    LookAndFeel {\n      AssignedValues = []\n    }\n",
       {},
       lfStandard,
       false,
       "UltraFlat"},
      {"kind",
       [](TcxLookAndFeel& L) { L.SetKind(lfOffice11); },
       "      AssignedValues = [lfvKind]\n      Kind = lfOffice11\n    }",
       {lfvKind},
       lfOffice11,
       false,
       "UltraFlat"},
      {"kind the root has too",
       [](TcxLookAndFeel& L) { L.SetKind(lfStandard); },
       "      AssignedValues = [lfvKind]\n      Kind = lfStandard\n    }",
       {lfvKind},
       lfStandard,
       false,
       "UltraFlat"},
      {"native style",
       [](TcxLookAndFeel& L) { L.SetNativeStyle(true); },
       "      AssignedValues = [lfvNativeStyle]\n      NativeStyle = true\n    }",
       {lfvNativeStyle},
       lfStandard,
       true,
       "UltraFlat"},
      {"empty skin name",
       [](TcxLookAndFeel& L) { L.SetSkinName(""); },
       "      AssignedValues = [lfvSkinName]\n      SkinName = \"\"\n    }",
       {lfvSkinName},
       lfStandard,
       false,
       ""},
      {"skin name",
       [](TcxLookAndFeel& L) { L.SetSkinName("Flat"); },
       "      AssignedValues = [lfvSkinName]\n      SkinName = \"Flat\"\n    }",
       {lfvSkinName},
       lfStandard,
       false,
       "Flat"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TComponent form(nullptr);
    form.SetName("Form1");
    auto* host = new TStyledHost(&form);
    host->SetName("Host1");
    c.Setup(*host->LookAndFeel());
    std::string text = WriteComponentToText(&form);
    EXPECT_NE(text.find(c.Block), std::string::npos) << text;
    EXPECT_EQ(Occurrences(text, "SkinName ="), c.Assigned.Contains(lfvSkinName) ? 1 : 0) << text;

    TComponent back(nullptr);
    ReadComponentFromText(&back, text);
    auto* host2 = dynamic_cast<TStyledHost*>(back.FindComponent("Host1"));
    ASSERT_NE(host2, nullptr) << text;
    TcxLookAndFeel* lf = host2->LookAndFeel();
    EXPECT_EQ(lf->AssignedValues(), c.Assigned);
    EXPECT_EQ(lf->Kind(), c.Kind);
    EXPECT_EQ(lf->NativeStyle(), c.Native);
    EXPECT_EQ(lf->SkinName(), c.Skin);
    // Native style puts the skin aside.
    EXPECT_EQ(lf->SkinPainter(),
              c.Native ? nullptr : cxLookAndFeelPaintersManager()->PainterForName(c.Skin));
    EXPECT_EQ(WriteComponentToText(&back), text);

    // What was read keeps following the root in everything it did not assign.
    root->SetKind(lfFlat);
    EXPECT_EQ(lf->Kind(), c.Assigned.Contains(lfvKind) ? c.Kind : lfFlat);
    root->SetKind(lfStandard);
  }
}

TEST(LookAndFeelStreaming, ControllerInADescriptionRestylesTheRootUntilFreed) {
  TRootGuard guard;
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  root->ResetToMaster();
  TcxLookAndFeel follower(nullptr);
  TRecorder r;
  r.Watch(follower);
  const std::string text = R"(object Form1: TComponent {
  object Controller1: TcxLookAndFeelController {
    Kind = lfFlat
    NativeStyle = false
    SkinName = "Standard"
  }
  object Host1: TStyledHost {
    LookAndFeel {
      AssignedValues = [lfvKind]
      Kind = lfOffice11
    }
  }
}
)";
  const int before = LookAndFeelControllerCount();
  auto form = std::make_unique<TComponent>(nullptr);
  ReadComponentFromText(form.get(), text);
  EXPECT_EQ(LookAndFeelControllerCount(), before + 1);
  EXPECT_EQ(root->AssignedValues(), cxAllLookAndFeelValues);
  EXPECT_EQ(follower.Kind(), lfFlat);
  EXPECT_EQ(follower.SkinName(), "Standard");
  EXPECT_EQ(follower.ActivePainter(), cxLookAndFeelPaintersManager()->PainterForName("Standard"));
  auto* host = dynamic_cast<TStyledHost*>(form->FindComponent("Host1"));
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->LookAndFeel()->Kind(), lfOffice11);
  EXPECT_EQ(host->LookAndFeel()->SkinName(), "Standard") << "the skin name comes from the root";
  EXPECT_EQ(WriteComponentToText(form.get()), text);

  // An empty skin name is not written for the controller.
  auto* controller = dynamic_cast<TcxLookAndFeelController*>(form->FindComponent("Controller1"));
  ASSERT_NE(controller, nullptr);
  controller->SetSkinName("");
  EXPECT_EQ(Occurrences(WriteComponentToText(form.get()), "SkinName ="), 0);

  r.Calls.clear();
  form.reset();
  EXPECT_EQ(LookAndFeelControllerCount(), before);
  EXPECT_TRUE(root->AssignedValues().Empty())
      << "the last controller gone, the root is at its defaults";
  EXPECT_EQ(follower.Kind(), lfUltraFlat);
  EXPECT_EQ(follower.ActivePainter(), cxLookAndFeelPaintersManager()->PainterForKind(psUltraFlat));
  ASSERT_EQ(r.Calls.size(), 1u);
  EXPECT_EQ(r.Calls[0], TcxLookAndFeelValues{lfvKind});
}

TEST(LookAndFeelStreaming, DamagedValueNamesThePropertyAndLeavesTheRootAlone) {
  TRootGuard guard;
  TcxLookAndFeel* root = RootLookAndFeelInstance();
  root->ResetToMaster();
  struct TCase {
    const char* ControllerLine;
    const char* HostLine;
    const char* Path;
    const char* Message;
  };
  const TCase cases[] = {
      {"Kind = lfOffice11", "Kind = lfBogus", "Host1.LookAndFeel.Kind",
       R"(Invalid value "lfBogus" for TcxLookAndFeelKind)"},
      {"Kind = lfOffice11", "Kind = 1", "Host1.LookAndFeel.Kind",
       "Identifier of TcxLookAndFeelKind expected"},
      {"Kind = lfOffice11", "AssignedValues = [lfvKind, lfvColor]",
       "Host1.LookAndFeel.AssignedValues",
       R"(Invalid set element "lfvColor" for TcxLookAndFeelValue)"},
      {"Kind = lfOffice11", "NativeStyle = 1", "Host1.LookAndFeel.NativeStyle",
       "Boolean value (true or false) expected"},
      {"Kind = lfOffice11", "SkinName = Flat", "Host1.LookAndFeel.SkinName", "String expected"},
      {"Kind = lfXP", "Kind = lfFlat", "Controller1.Kind",
       R"(Invalid value "lfXP" for TcxLookAndFeelKind)"},
      {"SkinName = 3", "Kind = lfFlat", "Controller1.SkinName", "String expected"},
  };
  const int before = LookAndFeelControllerCount();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.HostLine);
    std::string text =
        std::string(
            "object Form1: TComponent {\n  object Controller1: TcxLookAndFeelController {\n    ") +
        c.ControllerLine + "\n  }\n  object Host1: TStyledHost {\n    LookAndFeel {\n      " +
        c.HostLine + "\n    }\n  }\n}\n";
    TComponent form(nullptr);
    try {
      ReadComponentFromText(&form, text, "styled.form");
      ADD_FAILURE() << "read without an error";
    } catch (const EDescriptionError& e) {
      EXPECT_EQ(e.Path(), c.Path);
      EXPECT_EQ(e.Text(), c.Message);
      EXPECT_EQ(e.Line(), std::string(c.Path).starts_with("Host1") ? 7 : 3);
      EXPECT_NE(
          e.Message().find(std::string("styled.form:") + std::to_string(e.Line()) + ": " + c.Path),
          std::string::npos)
          << e.Message();
    }
    EXPECT_EQ(form.ComponentCount(), 0) << "nothing of a failed description stays";
    EXPECT_EQ(LookAndFeelControllerCount(), before);
    EXPECT_TRUE(root->AssignedValues().Empty());
    EXPECT_EQ(root->Kind(), lfUltraFlat);
  }
}

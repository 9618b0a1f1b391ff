#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Streaming.h"

namespace {

enum class TShade { shLight, shMedium, shDark };
enum class TFlag { fA, fB, fC };
using TFlags = TSet<TFlag>;

int gLiveWidgets = 0;
std::vector<std::string> gLoaded;

class TPenBase : public TPersistent {
 public:
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }

 private:
  int FWidth = 1;
};

class TPen : public TPenBase {
 public:
  int Color() const { return FColor; }
  void SetColor(int v) { FColor = v; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade v) { FShade = v; }

 private:
  int FColor = 0;
  TShade FShade = TShade::shLight;
};

// Integer properties that accept colour names.
const TIdentMap kColors{[](const std::string& s, int64_t& v) {
                          if (SameText(s, "clRed"))
                            v = 0xFF;
                          else if (SameText(s, "clBlack"))
                            v = 0;
                          else
                            return false;
                          return true;
                        },
                        [](int64_t v, std::string& s) {
                          if (v == 0xFF)
                            s = "clRed";
                          else if (v == 0)
                            s = "clBlack";
                          else
                            return false;
                          return true;
                        }};

class TTestItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }

 private:
  int FWidth = 0;
  std::string FCaption;
};

class TTestItems : public TCollection {
 public:
  TTestItems() : TCollection(ItemClassOf<TTestItem>()) {}
  int Updates = 0;

 protected:
  void Update(TCollectionItem* item) override { ++Updates; }
};

class TWidget : public TComponent {
 public:
  explicit TWidget(TComponent* owner) : TComponent(owner) { ++gLiveWidgets; }
  ~TWidget() override { --gLiveWidgets; }

  int Count() const { return FCount; }
  void SetCount(int v) { FCount = v; }
  int16_t Small() const { return FSmall; }
  void SetSmall(int16_t v) { FSmall = v; }
  int64_t Big() const { return FBig; }
  void SetBig(int64_t v) { FBig = v; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade v) { FShade = v; }
  TFlags Flags() const { return FFlags; }
  void SetFlags(TFlags v) { FFlags = v; }
  bool Active() const { return FActive; }
  void SetActive(bool v) { FActive = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  TWidget* Buddy() const { return FBuddy; }
  void SetBuddy(TWidget* v) { FBuddy = v; }
  TComponent* Other() const { return FOther; }
  void SetOther(TComponent* v) { FOther = v; }
  TPen* Pen() const { return FPen.get(); }
  TTestItems* Items() const { return FItems.get(); }
  TStringList* Lines() const { return FLines.get(); }
  int Serial() const { return 99; }
  TTestItems Extra;

  TNotifyEvent OnClick;
  Event<void(TObject*, int&)> OnMeasure;

  std::vector<uint8_t> Blob;
  int Version = 0;
  std::vector<std::string> Names;
  TComponent* ReaderParent = nullptr;

  TComponent* ParentComp = nullptr;
  bool BuddyAtLoaded = false;
  bool ReadingAtLoaded = true;
  bool LoadingAtLoaded = false;

  bool HasParent() const override { return ParentComp != nullptr; }
  TComponent* GetParentComponent() const override { return ParentComp; }
  void SetParentComponent(TComponent* v) override { ParentComp = v; }

  void Loaded() override {
    gLoaded.push_back(Name());
    BuddyAtLoaded = FBuddy != nullptr;
    ReadingAtLoaded = ComponentState().Contains(csReading);
    LoadingAtLoaded = ComponentState().Contains(csLoading);
    TComponent::Loaded();
  }

 protected:
  void ReadState(TReader* reader) override {
    ReaderParent = reader->Parent();
    TComponent::ReadState(reader);
  }
  void DefineProperties(TFiler* filer) override {
    filer->DefineProperty(
        "Version", [this](TReader* r) { Version = r->ReadInteger(); },
        [this](TWriter* w) { w->WriteInteger(Version); }, Version != 0);
    filer->DefineProperty(
        "Names",
        [this](TReader* r) {
          Names.clear();
          r->ReadListBegin();
          while (!r->EndOfList()) Names.push_back(r->ReadString());
          r->ReadListEnd();
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (const auto& l : Names) w->WriteString(l);
          w->WriteListEnd();
        },
        !Names.empty());
    filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          Blob.resize(std::size_t(s->Size()));
          if (!Blob.empty()) s->ReadBuffer(Blob.data(), int64_t(Blob.size()));
        },
        [this](TStream* s) {
          if (!Blob.empty()) s->WriteBuffer(Blob.data(), int64_t(Blob.size()));
        },
        !Blob.empty());
    filer->DefineProperty(
        "Extra", [this](TReader* r) { r->ReadCollection(&Extra); },
        [this](TWriter* w) { w->WriteCollection(&Extra); }, Extra.Count() > 0);
  }

 private:
  int FCount = 0;
  int16_t FSmall = 0;
  int64_t FBig = 0;
  TShade FShade = TShade::shLight;
  TFlags FFlags;
  bool FActive = false;
  double FRatio = 0;
  std::string FCaption;
  TWidget* FBuddy = nullptr;
  TComponent* FOther = nullptr;
  std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
  std::unique_ptr<TTestItems> FItems = std::make_unique<TTestItems>();
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

// A component that owns what is written inside it, reached from outside as Frame.Name.
class TFrame : public TComponent {
 public:
  using TComponent::TComponent;

 protected:
  TComponent* GetChildOwner() override { return this; }
  void GetChildren(TGetChildProc proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }
};

class TTestForm : public TComponent {
 public:
  using TComponent::TComponent;
  std::string Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  void ButtonClick(TObject* sender) { Clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
  void Measure(TObject*, int& size) { size = 42; }
  void Loaded() override {
    gLoaded.push_back(Name());
    TComponent::Loaded();
  }
  std::vector<std::string> Clicks;

 private:
  std::string FTitle;
};

// A form that reads its own description when constructed.
int gSelfLoadingReads = 0;
class TSelfLoading : public TComponent {
 public:
  explicit TSelfLoading(TComponent* owner) : TComponent(owner) {
    ReadComponentRes(this, "tselfloading");
    ++gSelfLoadingReads;
  }
};

// Graphic classes and a picture holder that stores "class name + data".
class TGraphA : public TPersistent {
 public:
  std::string Data;
};
class TGraphB : public TGraphA {};

class TPictureHolder : public TComponent {
 public:
  using TComponent::TComponent;
  std::unique_ptr<TGraphA> Graphic;
  TStringList Notes;

 protected:
  void DefineProperties(TFiler* filer) override {
    filer->DefineBinaryProperty(
        "Picture",
        [this](TStream* s) {
          const TClassInfo* cls = ReadGraphicClassName(s);
          Graphic.reset(static_cast<TGraphA*>(cls->CreateObject()));
          Graphic->Data.resize(std::size_t(s->Size() - s->Position()));
          s->ReadBuffer(Graphic->Data.data(), int64_t(Graphic->Data.size()));
        },
        [this](TStream* s) {
          WriteGraphicClassName(s, Graphic->ClassName());
          s->WriteString(Graphic->Data);
        },
        Graphic != nullptr);
  }
};

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  // Registered before their parent: the link is made when the parent comes.
  RegisterClass<TPen, TPenBase>();
  RegisterClass<TPenBase>();
  RegisterClass<TGraphB, TGraphA>();
  RegisterClass<TTestItem>();
  RegisterClass<TWidget, TComponent>();
  RegisterClass<TFrame, TComponent>();
  RegisterClass<TTestForm, TComponent>();
  RegisterClass<TSelfLoading, TComponent>();
  RegisterClass<TPictureHolder, TComponent>();
  Published<TPictureHolder>().Property("Notes", &TPictureHolder::Notes);
  RegisterClass<TGraphA>();
  RegisterEnumNames<TShade>({"shLight", "shMedium", "shDark"});
  RegisterEnumNames<TFlag>({"fA", "fB", "fC"});
  Published<TPenBase>().Property("Width", &TPenBase::Width, &TPenBase::SetWidth).Default(1);
  Published<TPen>()
      .Property("Color", &TPen::Color, &TPen::SetColor)
      .Default(0)
      .Idents(&kColors)
      .Property("Shade", &TPen::Shade, &TPen::SetShade)
      .Default(TShade::shLight);
  Published<TTestItem>()
      .Property("Width", &TTestItem::Width, &TTestItem::SetWidth)
      .Default(0)
      .Property("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  Published<TWidget>()
      .Property("Count", &TWidget::Count, &TWidget::SetCount)
      .Default(0)
      .Property("Small", &TWidget::Small, &TWidget::SetSmall)
      .Default(0)
      .Property("Big", &TWidget::Big, &TWidget::SetBig)
      .Default(0)
      .Property("Shade", &TWidget::Shade, &TWidget::SetShade)
      .Default(0)
      .Property("Flags", &TWidget::Flags, &TWidget::SetFlags)
      .Default(TFlags{})
      .Property("Active", &TWidget::Active, &TWidget::SetActive)
      .Default(0)
      .Property("Ratio", &TWidget::Ratio, &TWidget::SetRatio)
      .DefaultFloat(0)
      .Property("Caption", &TWidget::Caption, &TWidget::SetCaption)
      .Property("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
      .Property("Other", &TWidget::Other, &TWidget::SetOther)
      .Property("Pen", &TWidget::Pen)
      .Property("Items", &TWidget::Items)
      .Property("Lines", &TWidget::Lines)
      .Property("Serial", &TWidget::Serial)  // read-only: never written
      .Property("OnClick", &TWidget::OnClick)
      .Property("OnMeasure", &TWidget::OnMeasure);
  Published<TTestForm>()
      .Property("Title", &TTestForm::Title, &TTestForm::SetTitle)
      .Method("ButtonClick", &TTestForm::ButtonClick)
      .Method("Measure", &TTestForm::Measure);
}

// Every property kind, a forward and a backward reference, a reference to the root and one
// into a frame, nested objects, defined properties (typed, list, binary) and nesting.
const char* kCanonical = R"(object Form: TTestForm {
  Tag = 7
  Title = "Sonalix \"test\" ÄÖ \x01second line"
  object W1: TWidget {
    Count = -2147483648
    Small = -32768
    Big = 9223372036854775807
    Shade = shDark
    Flags = [fA, fC]
    Active = true
    Ratio = 0.1
    Caption = "line one\n" +
      "line two"
    Buddy = W2
    Other = Form
    Pen {
      Width = 3
      Color = clRed
    }
    Items = items {
      item {
        Width = 10
        Caption = "first"
      }
      item {
      }
    }
    Lines = ("alpha", "", "gamma \"g\"")
    OnClick = ButtonClick
    OnMeasure = Measure
    Version = 2
    Names = ("a", "b", "")
    Blob = hex {
      000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
      FF
    }
    Extra = items {
      item {
        Width = 3
      }
    }
    object Inner: TWidget {
      Ratio = -1e+300
      Buddy = W1
      Other = Frame1.Edit1
      Pen {
        Color = 16
      }
      Lines = (
        "a string long enough to go on a line of its own",
        "two\n" +
          "lines"
      )
      OnClick = ButtonClick
      Blob = hex { 00 }
    }
  }
  object W2: TWidget {
    Caption = "x"
    Buddy = W1
  }
  object Frame1: TFrame {
    object Edit1: TWidget {
      Count = 5
    }
  }
}
)";

std::unique_ptr<TTestForm> Load(const std::string& text) {
  RegisterTestClasses();
  auto form = std::make_unique<TTestForm>(nullptr);
  ReadComponentFromText(form.get(), text, "test.form");
  return form;
}

template <class T>
T* Find(TComponent* root, const std::string& path) {
  TComponent* c = root;
  std::size_t start = 0;
  while (c && start <= path.size()) {
    std::size_t dot = path.find('.', start);
    c = c->FindComponent(path.substr(start, dot == std::string::npos ? dot : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return dynamic_cast<T*>(c);
}

TEST(Streaming, RoundTripGivesEqualTextAndEqualObjects) {
  gLoaded.clear();
  auto form = Load(kCanonical);
  EXPECT_EQ(WriteComponentToText(form.get()), kCanonical);

  auto* w1 = Find<TWidget>(form.get(), "W1");
  auto* w2 = Find<TWidget>(form.get(), "W2");
  auto* inner = Find<TWidget>(form.get(), "Inner");
  auto* edit = Find<TWidget>(form.get(), "Frame1.Edit1");
  ASSERT_TRUE(w1 && w2 && inner && edit);
  EXPECT_EQ(form->Tag(), 7);
  EXPECT_EQ(form->Title(), "Sonalix \"test\" ÄÖ \x01second line");
  EXPECT_EQ(w1->Count(), INT32_MIN);
  EXPECT_EQ(w1->Small(), -32768);
  EXPECT_EQ(w1->Big(), INT64_MAX);
  EXPECT_EQ(w1->Shade(), TShade::shDark);
  EXPECT_TRUE(w1->Flags() == (TFlags{TFlag::fA, TFlag::fC}));
  EXPECT_TRUE(w1->Active());
  EXPECT_EQ(w1->Ratio(), 0.1);
  EXPECT_EQ(w1->Caption(), "line one\nline two");
  EXPECT_EQ(w1->Buddy(), w2);  // forward
  EXPECT_EQ(w2->Buddy(), w1);  // backward
  EXPECT_EQ(w1->Other(), form.get());
  EXPECT_EQ(inner->Other(), edit);
  EXPECT_EQ(edit->Owner(), form->FindComponent("Frame1"));
  EXPECT_EQ(w1->Pen()->Width(), 3);
  EXPECT_EQ(w1->Pen()->Color(), 0xFF);
  EXPECT_EQ(inner->Pen()->Color(), 16);
  EXPECT_EQ(inner->Ratio(), -1e300);
  EXPECT_EQ(w1->Version, 2);
  EXPECT_EQ(w1->Names, (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(w1->Lines()->Text(), "alpha\n\ngamma \"g\"\n");
  ASSERT_EQ(w1->Blob.size(), 33u);
  EXPECT_EQ(w1->Blob[31], 0x1F);
  EXPECT_EQ(w1->Blob[32], 0xFF);
  EXPECT_EQ(inner->Blob, std::vector<uint8_t>{0});
  ASSERT_EQ(w1->Items()->Count(), 2);
  EXPECT_EQ(w1->Items()->Get<TTestItem>(0)->Caption(), "first");
  EXPECT_EQ(w1->Items()->Get<TTestItem>(0)->Width(), 10);
  EXPECT_EQ(w1->Items()->Get<TTestItem>(1)->Caption(), "");
  EXPECT_EQ(w1->Items()->Updates, 1);  // filled in one update
  ASSERT_EQ(w1->Extra.Count(), 1);
  EXPECT_EQ(w1->Extra.Get<TTestItem>(0)->Width(), 3);
  // Owned by the root, held by the block it was written in.
  EXPECT_EQ(inner->Owner(), form.get());
  EXPECT_EQ(inner->ParentComp, w1);
  EXPECT_EQ(inner->ReaderParent, w1);
  EXPECT_EQ(w1->ParentComp, form.get());

  // Handlers are bound to the root's methods under their names.
  ASSERT_TRUE(w1->OnClick);
  w1->OnClick(w1);
  inner->OnClick(inner);
  EXPECT_EQ(form->Clicks, (std::vector<std::string>{"W1", "Inner"}));
  EXPECT_EQ(w1->OnClick.HandlerName(), "ButtonClick");
  EXPECT_TRUE(w1->OnClick == TNotifyEvent::Bind(form.get(), &TTestForm::ButtonClick));
  int size = 0;
  w1->OnMeasure(w1, size);
  EXPECT_EQ(size, 42);

  // Loaded runs in creation order once references are resolved and reading is over; the
  // components still count as loading until their own Loaded.
  EXPECT_EQ(gLoaded, (std::vector<std::string>{"Form", "W1", "Inner", "W2", "Edit1"}));
  EXPECT_TRUE(w1->BuddyAtLoaded);
  EXPECT_FALSE(w1->ReadingAtLoaded);
  EXPECT_TRUE(w1->LoadingAtLoaded);
  EXPECT_FALSE(w1->ComponentState().Contains(csLoading));
  EXPECT_FALSE(form->ComponentState().Contains(csReading));

  // A second read of the written text builds the same objects.
  auto copy = Load(WriteComponentToText(form.get()));
  EXPECT_EQ(WriteComponentToText(copy.get()), kCanonical);
  EXPECT_EQ(Find<TWidget>(copy.get(), "Inner")->Other(), Find<TWidget>(copy.get(), "Frame1.Edit1"));
}

TEST(Streaming, WriterOmitsDefaultsAndUnreachableValues) {
  RegisterTestClasses();
  TTestForm form(nullptr);
  form.SetName("Form");
  auto* w = new TWidget(&form);
  w->SetName("W");
  TWidget outsider(nullptr);  // no owner: a reference to it cannot be read back
  w->SetBuddy(&outsider);
  w->OnClick = [](TObject*) {};  // a handler without a name is not stored
  TTestForm other(nullptr);
  w->OnMeasure = Event<void(TObject*, int&)>::Bind(&other, &TTestForm::Measure, "Elsewhere");
  EXPECT_EQ(WriteComponentToText(&form),
            "object Form: TTestForm {\n  object W: TWidget {\n  }\n}\n");
  w->SetCaption("");
  w->SetRatio(-0.0);
  w->Pen()->SetShade(TShade::shMedium);
  EXPECT_EQ(WriteComponentToText(&form),
            "object Form: TTestForm {\n  object W: TWidget {\n    Ratio = -0.0\n    Pen {\n"
            "      Shade = shMedium\n    }\n  }\n}\n");
}

TEST(Streaming, CreatesTheRootFromItsClassName) {
  RegisterTestClasses();
  TComponent owner(nullptr);
  TComponent* root = CreateComponentFromText(kCanonical, &owner, "test.form");
  EXPECT_EQ(root->Owner(), &owner);
  EXPECT_EQ(root->Name(), "Form");
  // A second instance under the same owner gets a numbered name.
  TComponent* second = CreateComponentFromText(kCanonical, &owner, "test.form");
  EXPECT_EQ(second->Name(), "Form_1");
  EXPECT_EQ(Find<TWidget>(second, "W1")->Other(), second);
}

struct ErrorCase {
  const char* Body;  // inside "object Form: TTestForm {" ... "}"
  const char* Message;
};

TEST(Streaming, ErrorsNameFileLineAndPropertyAndLeaveNothingBehind) {
  RegisterTestClasses();
  const ErrorCase cases[] = {
      {"object W1: TNoSuch {\n}", "test.form:2: W1: Class TNoSuch not found"},
      {"object W1: TPen {\n}", "test.form:2: W1: Class TPen is not a component class"},
      {"object W1: TWidget {\n  Captoin = \"x\"\n}",
       "test.form:3: W1.Captoin: Unknown property in class TWidget"},
      {"object W1: TWidget {\n  Serial = 1\n}", "test.form:3: W1.Serial: Property is read-only"},
      {"object W1: TWidget {\n  Count = \"x\"\n}", "test.form:3: W1.Count: Integer value expected"},
      {"object W1: TWidget {\n  Count = clRed\n}",
       "test.form:3: W1.Count: Invalid integer value \"clRed\""},
      {"object W1: TWidget {\n  Count = 2147483648\n}",
       "test.form:3: W1.Count: Value 2147483648 out of range (-2147483648..2147483647)"},
      {"object W1: TWidget {\n  Small = -32769\n}",
       "test.form:3: W1.Small: Value -32769 out of range (-32768..32767)"},
      {"object W1: TWidget {\n  Big = 9223372036854775808\n}",
       "test.form:3: Integer 9223372036854775808 out of range"},
      {"object W1: TWidget {\n  Shade = shPurple\n}",
       "test.form:3: W1.Shade: Invalid value \"shPurple\" for TShade"},
      {"object W1: TWidget {\n  Flags = [fA, fZ]\n}",
       "test.form:3: W1.Flags: Invalid set element \"fZ\" for TFlag"},
      {"object W1: TWidget {\n  Active = 1\n}",
       "test.form:3: W1.Active: Boolean value (true or false) expected"},
      {"object W1: TWidget {\n  Ratio = \"0.5\"\n}", "test.form:3: W1.Ratio: Number expected"},
      {"object W1: TWidget {\n  Caption = x\n}", "test.form:3: W1.Caption: String expected"},
      {"object W1: TWidget {\n  Pen {\n    Wdth = 2\n  }\n}",
       "test.form:4: W1.Pen.Wdth: Unknown property in class TPen"},
      {"object W1: TWidget {\n  Pen = 3\n}", "test.form:3: W1.Pen: Nested object { ... } expected"},
      {"object W1: TWidget {\n  Items {\n  }\n}",
       "test.form:3: W1.Items: Collection items { ... } expected"},
      {"object W1: TWidget {\n  Items = items {\n    item {\n    }\n    item {\n      Wdth = 1\n"
       "    }\n  }\n}",
       "test.form:7: W1.Items[1].Wdth: Unknown property in class TTestItem"},
      {"object W1: TWidget {\n  Items = items {\n    object X: TWidget {\n    }\n  }\n}",
       "test.form:4: \"item\" expected, found \"object\""},
      {"object W1: TWidget {\n  Extra = items {\n    item {\n      Width = \"3\"\n    }\n  }\n}",
       "test.form:5: W1.Extra[0].Width: Integer value expected"},
      {"object W1: TWidget {\n\n  Buddy = Nobody\n}",
       "test.form:4: W1.Buddy: Unknown component \"Nobody\""},
      {"object W1: TWidget {\n  Buddy = Form\n}",
       "test.form:3: W1.Buddy: TTestForm is not a TWidget"},
      {"object W1: TWidget {\n  Other = Frame9.Edit1\n}",
       "test.form:3: W1.Other: Unknown component \"Frame9.Edit1\""},
      {"object W1: TWidget {\n  OnClick = NoSuchClick\n}",
       "test.form:3: W1.OnClick: Unknown handler \"NoSuchClick\" in class TTestForm"},
      {"object W1: TWidget {\n  OnClick = Measure\n}",
       "test.form:3: W1.OnClick: Handler Measure does not match the type of OnClick"},
      {"object W1: TWidget {\n  Count = 1\n  count = 2\n}",
       "test.form:4: W1.count: Property given twice"},
      {"object W1: TWidget {\n}\nobject W1: TWidget {\n}",
       "test.form:4: W1: A component named W1 already exists"},
      {"object W1: TWidget {\n  Version = \"2\"\n}",
       "test.form:3: W1.Version: integer expected, found string"},
      {"object W1: TWidget {\n  Version = (2)\n}",
       "test.form:3: W1.Version: integer expected, found list"},
      {"object W1: TWidget {\n  Names = (\"a\", 2)\n}",
       "test.form:3: W1.Names: string expected, found integer"},
      {"object W1: TWidget {\n  Lines = (\"a\", 2)\n}",
       "test.form:3: W1.Lines: String expected, found integer"},
      {"object W1: TWidget {\n  Lines = \"a\"\n}",
       "test.form:3: W1.Lines: List of strings ( ... ) expected"},
      {"object W1: TWidget {\n  Blob = \"00\"\n}",
       "test.form:3: W1.Blob: Binary data hex { ... } expected"},
      {"object W1: TWidget {\n  Blob = hex { 0A0 }\n}",
       "test.form:3: Invalid binary data: hexadecimal digit pairs expected"},
      {"object W1: TWidget {\n  Count =\n", "test.form:5: Value expected, found \"}\""},
      {"object W1: TWidget {\n  Count = 1\n",
       "test.form:6: \"}\" expected, found the end of the text"},
      {"object W1: TWidget {\n  Caption = \"abc\n}", "test.form:3: Unterminated string"},
      {"object W1: TWidget {\n  Count = 12px\n}", "test.form:3: Invalid number \"12p\""},
      {"object W1: TWidget {\n  Caption = \"a\" + 5\n}",
       "test.form:3: String expected after \"+\", found \"5\""},
      {"object W1: TWidget {\n  Flags = [fA fB]\n}",
       "test.form:3: \",\" or \"]\" expected, found \"fB\""},
      {"  object W1: TWidget {\n    Count = 1\n  }\n} trailing",
       "test.form:5: Text after the end of the description"},
  };
  for (const auto& c : cases) {
    std::string text = std::string("object Form: TTestForm {\n") + c.Body + "\n}\n";
    auto form = std::make_unique<TTestForm>(nullptr);
    gLiveWidgets = 0;
    try {
      ReadComponentFromText(form.get(), text, "test.form");
      ADD_FAILURE() << "no error for:\n" << text;
    } catch (const EDescriptionError& e) {
      EXPECT_EQ(e.Message(), c.Message) << text;
      EXPECT_EQ(e.File(), "test.form");
    }
    EXPECT_EQ(form->ComponentCount(), 0) << text;
    EXPECT_EQ(gLiveWidgets, 0) << text;
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->ComponentState().Contains(csReading));
  }
}

// A description that fails part way, after it has set every kind of property on an existing
// root, leaves that root exactly as it was.
TEST(Streaming, FailedReadLeavesAnExistingRootAsItWas) {
  RegisterTestClasses();
  const char* before = R"(object Root: TWidget {
  Count = 5
  Shade = shDark
  Flags = [fA]
  Active = true
  Ratio = 0.25
  Caption = "before"
  Buddy = Mate
  Pen {
    Width = 2
  }
  Items = items {
    item {
      Width = 7
      Caption = "kept"
    }
  }
  Lines = ("a", "b")
  object Mate: TWidget {
  }
})";
  const std::string changes = R"(object Root: TWidget {
  Count = 6
  Shade = shLight
  Flags = [fB, fC]
  Active = false
  Ratio = 0.5
  Caption = "after"
  Buddy = nil
  Pen {
    Width = 9
  }
  Items = items {
    item {
      Width = 1
    }
    item {
      Width = 2
    }
  }
  Lines = ("c")
)";
  struct Case {
    const char* name;
    std::string tail;
  };
  const Case cases[] = {
      {"unknown property", "  Wdth = 1\n}"},
      {"child of an unknown class", "  object W8: TWidget {\n    Count = 1\n  }\n"
                                    "  object W9: TNoSuch {\n  }\n}"},
      {"reference resolved at the end", "  Other = Nobody\n}"},
      {"reference to the root, then a bad one", "  Other = Root\n  object W8: TWidget {\n"
                                                "    Buddy = Nobody\n  }\n}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto root = std::make_unique<TWidget>(nullptr);
    ReadComponentFromText(root.get(), before);
    const std::string original = WriteComponentToText(root.get());
    const int widgets = gLiveWidgets;
    EXPECT_THROW(ReadComponentFromText(root.get(), changes + c.tail), EDescriptionError);
    EXPECT_EQ(WriteComponentToText(root.get()), original);
    EXPECT_EQ(root->Other(), nullptr);
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(gLiveWidgets, widgets);
  }
  // A root without a name keeps none.
  auto unnamed = std::make_unique<TWidget>(nullptr);
  EXPECT_THROW(ReadComponentFromText(unnamed.get(), changes + cases[0].tail), EDescriptionError);
  EXPECT_EQ(unnamed->Name(), "");
  EXPECT_EQ(unnamed->Count(), 0);
}

TEST(Streaming, ReadsHandWrittenLayouts) {
  // Byte-order mark, CR LF line ends, tabs, comments, hexadecimal integers, one-line blocks.
  auto form = Load(
      "\xEF\xBB\xBFobject Form: TTestForm { # the root\r\n"
      "\tobject W1: TWidget { Count = $7F  Small = -0x10  Pen { Width = 2 } Flags = [] }\r\n"
      "\tobject TWidget { Caption = \"unnamed\" }\r\n"
      "}\r\n");
  auto* w1 = Find<TWidget>(form.get(), "W1");
  ASSERT_TRUE(w1);
  EXPECT_EQ(w1->Count(), 127);
  EXPECT_EQ(w1->Small(), -16);
  EXPECT_EQ(w1->Pen()->Width(), 2);
  ASSERT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(static_cast<TWidget*>(form->Components(1))->Caption(), "unnamed");
  EXPECT_EQ(WriteComponentToText(form.get()),
            "object Form: TTestForm {\n"
            "  object W1: TWidget {\n    Count = 127\n    Small = -16\n    Pen {\n"
            "      Width = 2\n    }\n  }\n"
            "  object TWidget {\n    Caption = \"unnamed\"\n  }\n"
            "}\n");
}

TEST(Streaming, RootMustMatchTheDescriptionsClass) {
  RegisterTestClasses();
  TTestForm form(nullptr);
  try {
    ReadComponentFromText(&form, "object X: TWidget {\n}\n", "x.form");
    FAIL();
  } catch (const EDescriptionError& e) {
    EXPECT_EQ(e.Message(), "x.form:1: X: The description is of class TWidget, not TTestForm");
  }
}

TEST(Streaming, MalformedDescriptionsNeverCrash) {
  RegisterTestClasses();
  const std::string base = kCanonical;
  const std::string alphabet = "{}[]()=,:+\"#$-.\\x0aZ \n";
  std::mt19937 rng(20261210);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
  int accepted = 0;
  for (int round = 0; round < 1500; ++round) {
    std::string text = base;
    int edits = 1 + int(pick(3));
    for (int e = 0; e < edits && !text.empty(); ++e) {
      std::size_t at = pick(text.size() - 1);
      switch (pick(3)) {
        case 0:
          text.erase(at, 1 + pick(8));
          break;
        case 1:
          text.insert(at, 1, alphabet[pick(alphabet.size() - 1)]);
          break;
        case 2:
          text.insert(at, text.substr(pick(text.size() - 1), pick(40)));
          break;
        default:
          text.resize(at);
          break;
      }
    }
    gLiveWidgets = 0;
    try {
      TComponent* root = CreateComponentFromText(text, nullptr, "fuzz.form");
      ++accepted;
      WriteComponentToText(root);
      delete root;
    } catch (const Exception&) {
    }
    ASSERT_EQ(gLiveWidgets, 0) << text;
  }
  // Some mutations (inside strings and comments) keep the text valid.
  EXPECT_GT(accepted, 0);
}

TEST(Streaming, EmbeddedDescriptionsAreFoundAndChecked) {
  RegisterTestClasses();
  EXPECT_TRUE(DescriptionExists("TTESTFORM"));
  EXPECT_FALSE(DescriptionExists("TNoSuchForm"));
  TTestForm form(nullptr);
  ReadComponentRes(&form, "ttestform");
  EXPECT_EQ(form.Title(), "embedded");
  EXPECT_THROW(ReadComponentRes(&form, "TNoSuchForm"), EResNotFound);

  // The check loads each description once: through the constructor when it reads its own.
  gSelfLoadingReads = 0;
  EXPECT_EQ(CheckDescriptions(":/forms"), std::vector<std::string>{});
  EXPECT_EQ(gSelfLoadingReads, 1);
  EXPECT_EQ(CheckDescriptions(":/badforms"),
            std::vector<std::string>{
                "badforms/TTestForm.form:3: W1.Cont: Unknown property in class TWidget"});
}

TEST(Streaming, PictureDataNamesARegisteredGraphicClass) {
  RegisterTestClasses();
  const TClassInfo* a = FindClassInfo(typeid(TGraphA));
  const TClassInfo* b = FindClassInfo(typeid(TGraphB));
  RegisterGraphicClass("png", "Portable Network Graphics", a);
  RegisterGraphicClass(".PNG", "Portable Network Graphics", b);
  EXPECT_EQ(GraphicClassForExtension("Png"), b);  // the later registration wins
  EXPECT_EQ(FindGraphicClass("tgrapha"), a);
  EXPECT_EQ(FindGraphicClass("TWidget"), nullptr);  // registered, but not as a graphic

  TPictureHolder holder(nullptr);
  holder.SetName("Holder");
  holder.Graphic = std::make_unique<TGraphB>();
  holder.Graphic->Data = "\x89PNG";
  holder.Notes.Add("kept by value");
  const std::string text = WriteComponentToText(&holder);
  EXPECT_EQ(text,
            "object Holder: TPictureHolder {\n  Notes = (\"kept by value\")\n"
            "  Picture = hex { 075447726170684289504E47 }\n}\n");
  TPictureHolder copy(nullptr);
  ReadComponentFromText(&copy, text, "pic.form");
  ASSERT_TRUE(dynamic_cast<TGraphB*>(copy.Graphic.get()));
  EXPECT_EQ(copy.Graphic->Data, "\x89PNG");
  EXPECT_EQ(copy.Notes.Text(), "kept by value\n");

  // A class that is not a registered graphic, and a cut name, are read errors.
  for (const char* data : {"0754576964676574", "0754477261"}) {
    TPictureHolder bad(nullptr);
    std::string desc =
        std::string("object Holder: TPictureHolder {\n  Picture = hex { ") + data + " }\n}\n";
    EXPECT_THROW(ReadComponentFromText(&bad, desc, "pic.form"), EDescriptionError) << data;
  }
  UnregisterGraphicClass(b);
  EXPECT_EQ(GraphicClassForExtension("png"), a);
  UnregisterGraphicClass(a);
  EXPECT_EQ(GraphicClassForExtension("png"), nullptr);
}

TEST(TypInfo, AccessorsByNameFollowTheRegistry) {
  RegisterTestClasses();
  TWidget w(nullptr);
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(ClassInfoOf(&w))) names.push_back(p->Name);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.front(), "Tag");  // inherited first
  EXPECT_EQ(names.back(), "OnMeasure");
  EXPECT_TRUE(IsPublishedProp(&w, "caption"));
  EXPECT_FALSE(IsPublishedProp(&w, "Version"));  // defined, not published

  SetOrdProp(&w, "Count", 12);
  SetInt64Prop(&w, "Big", int64_t(1) << 40);
  SetEnumProp(&w, "Shade", "SHMEDIUM");
  SetEnumProp(&w, "Active", "True");
  SetSetProp(&w, "Flags", "[fC, fA]");
  SetFloatProp(&w, "Ratio", 2.5);
  SetStrProp(&w, "Caption", "hello");
  TWidget buddy(nullptr);
  SetObjectProp(&w, "Buddy", &buddy);
  EXPECT_EQ(w.Count(), 12);
  EXPECT_EQ(GetInt64Prop(&w, "Big"), int64_t(1) << 40);
  EXPECT_EQ(GetEnumProp(&w, "Shade"), "shMedium");
  EXPECT_EQ(GetEnumProp(&w, "Active"), "True");
  EXPECT_EQ(GetSetProp(&w, "Flags"), "[fA,fC]");
  EXPECT_EQ(GetFloatProp(&w, "Ratio"), 2.5);
  EXPECT_EQ(GetStrProp(&w, "Caption"), "hello");
  EXPECT_EQ(GetObjectProp(&w, "Buddy"), &buddy);
  EXPECT_EQ(GetObjectProp(&w, "Pen"), w.Pen());

  TTestForm form(nullptr);
  SetMethodProp(&w, "OnClick", &form, "buttonclick");
  EXPECT_EQ(GetMethodProp(&w, "OnClick"), "ButtonClick");
  w.OnClick(&w);
  EXPECT_EQ(form.Clicks.size(), 1u);
  SetMethodProp(&w, "OnClick", &form, "");
  EXPECT_FALSE(w.OnClick);

  EXPECT_THROW(SetOrdProp(&w, "Small", 70000), ERangeError);
  EXPECT_THROW(SetOrdProp(&w, "Shade", 3), ERangeError);
  EXPECT_THROW(SetEnumProp(&w, "Shade", "shNone"), EPropertyConvertError);
  EXPECT_THROW(SetSetProp(&w, "Flags", "[fA,,fB]"), EPropertyConvertError);
  EXPECT_THROW(SetObjectProp(&w, "Buddy", &form), EPropertyError);
  EXPECT_THROW(SetObjectProp(&w, "Pen", nullptr), EPropertyError);  // read-only
  EXPECT_THROW(GetStrProp(&w, "Count"), EPropertyError);
  EXPECT_THROW(GetOrdProp(&w, "NoSuch"), EPropertyError);
  EXPECT_THROW(SetMethodProp(&w, "OnClick", &form, "Measure"), EPropertyError);
  EXPECT_THROW(SetMethodProp(&w, "OnClick", &form, "Nothing"), EPropertyError);
}

}  // namespace

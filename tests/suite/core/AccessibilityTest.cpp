// The accessibility base as a client sees it: child ids checked before any helper code runs, the
// answers for missing texts and properties, navigation between helpers, silence once the owner
// is gone, and the same helpers read through Qt's accessibility.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/AccessibleBridge.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxAccessibility.h"

namespace {

// A bar-like helper: named children of their own, each a button; it counts every call of its
// virtual operations and records the indexes ChildIsElement was asked about.
class TItemHelper;

class TBarHelper : public TcxAccessibilityHelper {
 public:
  TBarHelper(std::string AName, int ASupported) : TcxAccessibilityHelper(nullptr), Name(std::move(AName)), Supported(ASupported) {}
  ~TBarHelper() override;

  std::string Name;
  int Supported;
  HWND Window = nullptr;
  std::vector<TcxAccessibilityHelper*> Children;
  std::vector<int> ElementQuestions;
  int Calls = 0;

  bool ChildIsElement(int Index) override {
    ++Calls;
    ElementQuestions.push_back(Index);
    return false;
  }
  TcxAccessibilityHelper* ChildAt(int Index) override {
    ++Calls;
    return Children.at(size_t(Index));
  }
  int ChildCount() override {
    ++Calls;
    return int(Children.size());
  }
  int IndexOfChild(TcxAccessibilityHelper* Child) override {
    ++Calls;
    for (size_t i = 0; i < Children.size(); ++i)
      if (Children[i] == Child) return int(i);
    return -1;
  }
  std::string NameText(int) override {
    ++Calls;
    return Name;
  }
  int RoleOf(int) override {
    ++Calls;
    return ROLE_SYSTEM_TOOLBAR;
  }
  int StateOf(int) override {
    ++Calls;
    return STATE_SYSTEM_FOCUSABLE;
  }
  int SupportedProperties(int) override {
    ++Calls;
    return Supported;
  }
  int NavigateFrom(int Index, TcxAccessibilityNavigationDirection Direction) override {
    ++Calls;
    if (Direction == andNext) return std::min(Index + 1, int(Children.size()) - 1);
    if (Direction == andPrev) return std::max(Index - 1, 0);
    return Index;
  }
  HWND OwnerWindow() override {
    ++Calls;
    return Window;
  }
  TRect ScreenBoundsOf(int) override {
    ++Calls;
    return TRect(100, 100, 300, 124);
  }
};

class TItemHelper : public TcxAccessibilityHelper {
 public:
  TItemHelper(TcxAccessibilityHelper* AParent, std::string AName, std::string ACaption = {},
              TShortCut AShortCut = 0)
      : TcxAccessibilityHelper(nullptr), Parent(AParent), Name(std::move(AName)),
        Caption(std::move(ACaption)), ShortCut(AShortCut) {}
  TcxAccessibilityHelper* Parent;
  std::string Name, Caption;
  TShortCut ShortCut;
  bool* Freed = nullptr;
  ~TItemHelper() override {
    if (Freed) *Freed = true;
  }
  TcxAccessibilityHelper* QueryParent() override { return Parent; }
  std::string NameText(int) override { return Name; }
  int RoleOf(int) override { return ROLE_SYSTEM_PUSHBUTTON; }
  int SupportedProperties(int) override { return cxAccessibleKeyboardShortcut | cxAccessibleLocation; }
  void KeyboardShortcutText(int, TShortCut& AShortCut, std::string& Text) override {
    AShortCut = ShortCut;
    Text = Caption;
  }
};

TBarHelper::~TBarHelper() {
  for (TcxAccessibilityHelper* c : Children) c->Release();
}

// A bar "Tools" with the buttons "Open" and "Save"; its helpers live in the holder.
struct TBar {
  TComPtr<TBarHelper> Bar;
  explicit TBar(int Supported = cxAccessibleLocation, std::string Name = "Tools")
      : Bar(new TBarHelper(std::move(Name), Supported)) {
    Bar->Children.push_back(new TItemHelper(Bar.get(), "Open", "&open"));
    Bar->Children.push_back(new TItemHelper(Bar.get(), "Save", "Save", 0x4000 | 'S'));
  }
  IAccessible* Acc() const { return Bar.get(); }
};

std::string AccessibleName(IDispatch* D) {
  TComPtr<IAccessible> acc = QueryAs<IAccessible>(D, IID_IAccessible);
  std::string name;
  if (acc) acc->get_accName(VARIANT::I4(CHILDID_SELF), &name);
  return name;
}

TEST(AccessibilityHelper, ChildIdsAreCheckedBeforeAnyChildQuestion) {
  TBar bar;
  struct TCase {
    const char* Name;
    VARIANT Child;
    HRESULT Expected;
  } cases[] = {
      {"the count itself", VARIANT::I4(2), S_OK},
      {"one above the count", VARIANT::I4(3), E_INVALIDARG},
      {"zero names no child", VARIANT::I4(0), E_INVALIDARG},
      {"a negative id", VARIANT::I4(-1), E_INVALIDARG},
      {"an empty variant", VARIANT(), E_INVALIDARG},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    bar.Bar->ElementQuestions.clear();
    IDispatch* child = nullptr;
    EXPECT_EQ(bar.Acc()->get_accChild(c.Child, &child), c.Expected);
    TComPtr<IDispatch> held(child);
    EXPECT_EQ(child != nullptr, c.Expected == S_OK);
    for (int index : bar.Bar->ElementQuestions) EXPECT_GE(index, 0);
  }
  IDispatch* second = nullptr;
  ASSERT_EQ(bar.Acc()->get_accChild(VARIANT::I4(2), &second), S_OK);
  TComPtr<IDispatch> held(second);
  EXPECT_EQ(AccessibleName(second), "Save");

  // A child with an object of its own is not asked through its parent.
  std::string name;
  EXPECT_EQ(bar.Acc()->get_accName(VARIANT::I4(1), &name), E_INVALIDARG);
  EXPECT_EQ(bar.Acc()->get_accName(VARIANT::I4(-5), &name), E_INVALIDARG);
}

TEST(AccessibilityHelper, TextsAndPropertiesAnswerByWhatTheHelperSupports) {
  TBar bar(cxAccessibleLocation, "");
  std::string text = "x";
  EXPECT_EQ(bar.Acc()->get_accName(VARIANT::I4(CHILDID_SELF), &text), S_FALSE);
  EXPECT_EQ(text, "");
  EXPECT_EQ(bar.Acc()->get_accValue(VARIANT::I4(CHILDID_SELF), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(bar.Acc()->get_accDescription(VARIANT::I4(CHILDID_SELF), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(bar.Acc()->get_accHelp(VARIANT::I4(CHILDID_SELF), &text), DISP_E_MEMBERNOTFOUND);
  VARIANT role;
  EXPECT_EQ(bar.Acc()->get_accRole(VARIANT::I4(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TOOLBAR);
  LONG l, t, w, h;
  ASSERT_EQ(bar.Acc()->accLocation(&l, &t, &w, &h, VARIANT::I4(CHILDID_SELF)), S_OK);
  EXPECT_EQ(TRect(l, t, l + w, t + h), TRect(100, 100, 300, 124));

  // Shortcuts: the access key of the caption, else the shortcut's text.
  IDispatch* d1 = nullptr;
  IDispatch* d2 = nullptr;
  bar.Acc()->get_accChild(VARIANT::I4(1), &d1);
  bar.Acc()->get_accChild(VARIANT::I4(2), &d2);
  TComPtr<IAccessible> open = QueryAs<IAccessible>(d1, IID_IAccessible);
  TComPtr<IAccessible> save = QueryAs<IAccessible>(d2, IID_IAccessible);
  TComPtr<IDispatch> h1(d1), h2(d2);
  EXPECT_EQ(open->get_accKeyboardShortcut(VARIANT::I4(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(text, "O");
  EXPECT_EQ(save->get_accKeyboardShortcut(VARIANT::I4(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(text, "Ctrl+S");
}

TEST(AccessibilityHelper, NavigationBetweenChildrenAndThroughTheParent) {
  TBar bar;
  VARIANT end;
  EXPECT_EQ(bar.Acc()->accNavigate(NAVDIR_FIRSTCHILD, VARIANT::I4(1), &end), E_INVALIDARG);
  ASSERT_EQ(bar.Acc()->accNavigate(NAVDIR_LASTCHILD, VARIANT::I4(CHILDID_SELF), &end), S_OK);
  ASSERT_EQ(end.vt, VT_DISPATCH);
  EXPECT_EQ(AccessibleName(end.pdispVal), "Save");
  ASSERT_EQ(bar.Acc()->accNavigate(NAVDIR_NEXT, VARIANT::I4(1), &end), S_OK);
  EXPECT_EQ(AccessibleName(end.pdispVal), "Save");
  EXPECT_EQ(bar.Acc()->accNavigate(NAVDIR_NEXT, VARIANT::I4(2), &end), S_FALSE);
  EXPECT_EQ(bar.Acc()->accNavigate(NAVDIR_NEXT, VARIANT::I4(3), &end), E_INVALIDARG);

  // From a child's own object, the parent navigates.
  IAccessible* open = bar.Bar->Children[0];
  ASSERT_EQ(open->accNavigate(NAVDIR_NEXT, VARIANT::I4(CHILDID_SELF), &end), S_OK);
  EXPECT_EQ(AccessibleName(end.pdispVal), "Save");
  EXPECT_EQ(bar.Bar->Children[1]->accNavigate(NAVDIR_NEXT, VARIANT::I4(CHILDID_SELF), &end), S_FALSE);

  // A parent helper without its own child lookup raises inside; the client only sees a failure.
  struct TBaseParent : TcxAccessibilityHelper {
    using TcxAccessibilityHelper::TcxAccessibilityHelper;
    int SupportedProperties(int) override { return cxAccessibleLocation; }
  };
  TComPtr<TcxAccessibilityHelper> baseParent(new TBaseParent(nullptr));
  TComPtr<TcxAccessibilityHelper> child(new TItemHelper(baseParent.get(), "Lost"));
  EXPECT_EQ(child->accNavigate(NAVDIR_NEXT, VARIANT::I4(CHILDID_SELF), &end), E_FAIL);
  std::string value;
  struct TValued : TcxAccessibilityHelper {
    using TcxAccessibilityHelper::TcxAccessibilityHelper;
    int SupportedProperties(int) override { return cxAccessibleValue; }
  };
  TComPtr<TcxAccessibilityHelper> valued(new TValued(nullptr));
  EXPECT_EQ(valued->get_accValue(VARIANT::I4(CHILDID_SELF), &value), E_FAIL);
}

TEST(AccessibilityHelper, AfterTheOwnerIsGoneEverythingAnswersOkWithoutAsking) {
  TBar bar;
  IcxAccessibilityHelper* link = bar.Bar.get();
  link->OwnerObjectDestroyed();
  bar.Bar->Calls = 0;
  IAccessible* a = bar.Acc();
  IDispatch* d = reinterpret_cast<IDispatch*>(1);
  std::string s = "x";
  VARIANT v;
  LONG n = 7, l, t, w, h;
  HWND wnd = nullptr;
  EXPECT_EQ(a->get_accParent(&d), S_OK);
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(a->get_accChildCount(&n), S_OK);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(a->get_accChild(VARIANT::I4(9), &d), S_OK);
  EXPECT_EQ(a->get_accName(VARIANT::I4(9), &s), S_OK);
  EXPECT_EQ(s, "");
  EXPECT_EQ(a->get_accValue(VARIANT::I4(0), &s), S_OK);
  EXPECT_EQ(a->get_accRole(VARIANT::I4(0), &v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(a->get_accState(VARIANT::I4(0), &v), S_OK);
  EXPECT_EQ(a->get_accFocus(&v), S_OK);
  EXPECT_EQ(a->get_accKeyboardShortcut(VARIANT::I4(0), &s), S_OK);
  EXPECT_EQ(a->accLocation(&l, &t, &w, &h, VARIANT::I4(0)), S_OK);
  EXPECT_EQ(a->accNavigate(NAVDIR_FIRSTCHILD, VARIANT::I4(3), &v), S_OK);
  EXPECT_EQ(a->accHitTest(150, 110, &v), S_OK);
  EXPECT_EQ(a->accDoDefaultAction(VARIANT::I4(0)), S_OK);
  EXPECT_EQ(a->put_accValue(VARIANT::I4(0), "v"), S_OK);
  EXPECT_EQ(static_cast<IOleWindow*>(bar.Bar.get())->GetWindow(&wnd), S_OK);
  EXPECT_EQ(bar.Bar->Calls, 0);
}

TEST(AccessibilityHelper, FreedWithItsLastReference) {
  bool freed = false;
  auto* item = new TItemHelper(nullptr, "Solo");
  item->Freed = &freed;
  TComPtr<IAccessible> acc = QueryAs<IAccessible>(static_cast<IAccessible*>(item), IID_IAccessible);
  TComPtr<IOleWindow> window = QueryAs<IOleWindow>(static_cast<IAccessible*>(item), IID_IOleWindow);
  item->Release();
  acc = {};
  EXPECT_FALSE(freed);
  window = {};
  EXPECT_TRUE(freed);
}

TEST(AccessibilityHelper, AssistiveToolsReadTheHelpersThroughQt) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 200);
  form.HandleNeeded();
  TBar bar;
  bar.Bar->Window = form.Handle();
  cxSetWindowAccessibilityHelper(form.Handle(), bar.Bar.get());
  QWidget* widget = GetWindowWidget(form.Handle());

  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(widget);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(QAccessible::Name), "Tools");
  EXPECT_EQ(root->role(), QAccessible::ToolBar);
  EXPECT_TRUE(root->state().focusable);
  ASSERT_EQ(root->childCount(), 2);
  const char* names[] = {"Open", "Save"};
  for (int i = 0; i < 2; ++i) {
    QAccessibleInterface* c = root->child(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->text(QAccessible::Name).toStdString(), names[i]);
    EXPECT_EQ(c->role(), QAccessible::Button);
    EXPECT_EQ(c->parent(), root);
    EXPECT_EQ(root->indexOfChild(c), i);
  }
  EXPECT_EQ(root->child(1)->text(QAccessible::Accelerator), "Ctrl+S");
  EXPECT_EQ(root->childAt(150, 110), nullptr);  // the bar answers hits on itself only

  cxSetWindowAccessibilityHelper(form.Handle(), nullptr);
  QAccessibleInterface* own = QAccessible::queryAccessibleInterface(widget);
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own->text(QAccessible::Name), "Tools");
}

TEST(AccessibilityHelper, ARootHelperFindsTheWindowAroundItThroughQt) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 320, 200);
  form.HandleNeeded();
  HWND child = CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form.Handle(),
                              nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  TBar bar;
  bar.Bar->Window = child;
  IDispatch* parent = nullptr;
  ASSERT_EQ(bar.Acc()->get_accParent(&parent), S_OK);
  TComPtr<IDispatch> held(parent);
  TComPtr<IAccessible> acc = QueryAs<IAccessible>(parent, IID_IAccessible);
  ASSERT_TRUE(acc);
  LONG count = 0;
  EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
  EXPECT_GE(count, 1);

  // A top-level owner window has the desktop around it, which has no object here.
  bar.Bar->Window = form.Handle();
  IDispatch* none = nullptr;
  EXPECT_EQ(bar.Acc()->get_accParent(&none), S_FALSE);
  EXPECT_EQ(none, nullptr);
  DestroyWindow(child);
}

}  // namespace

// The MDI frame and its children on Qt's MDI area.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/QtWindows.h"

namespace {

TEST(Mdi, ChildrenLiveInTheFramesClientArea) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  auto* bar = new TCustomControl(frame);
  bar->SetParent(frame);
  bar->SetHeight(40);
  bar->SetAlign(alTop);
  frame->Show();
  ASSERT_TRUE(frame->ClientHandle());
  RECT client;
  GetWindowRect(frame->ClientHandle(), &client);
  POINT origin{client.left, client.top};
  ScreenToClient(frame->Handle(), &origin);
  EXPECT_EQ(origin.y, 40);
  EXPECT_EQ(client.right - client.left, frame->ClientWidth());

  // A child needs the frame; made, it shows in a sub-window.
  std::vector<TForm*> children;
  for (int i = 0; i < 2; ++i) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption("Doc " + std::to_string(i + 1));
    child->SetBounds(10 * i, 10 * i, 300, 200);
    child->Show();
    children.push_back(child);
  }
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), children[1]);
  EXPECT_EQ(frame->MDIChildren(0), children[1]);
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(children[0]->Handle()));
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->windowTitle(), "Doc 1");
  // The client area lies below the title bar, and the child's controls in it.
  EXPECT_LT(children[0]->ClientHeight(), children[0]->Height());
  auto* inner = new TCustomControl(children[0]);
  inner->SetParent(children[0]);
  inner->SetBounds(0, 0, 20, 20);
  inner->HandleNeeded();
  QWidget* innerWidget = GetWindowWidget(inner->Handle());
  EXPECT_EQ(innerWidget->parentWidget(), sub);
  EXPECT_GE(innerWidget->y(), sub->contentsMargins().top());
  // The user moving the sub-window moves the form.
  sub->move(50, 30);
  EXPECT_EQ(children[0]->Left(), 50);
  EXPECT_EQ(children[0]->Top(), 30);

  struct Case {
    TTileMode Mode;
    int Left1, Top1;
  };
  RECT area;
  GetClientRect(frame->ClientHandle(), &area);
  for (Case c : std::vector<Case>{{tbVertical, area.right / 2, 0}, {tbHorizontal, 0, area.bottom / 2}}) {
    frame->SetTileMode(c.Mode);
    frame->Tile();
    EXPECT_EQ(children[0]->Left(), 0);
    EXPECT_EQ(children[0]->Top(), 0);
    EXPECT_EQ(children[1]->Left(), c.Left1) << int(c.Mode);
    EXPECT_EQ(children[1]->Top(), c.Top1) << int(c.Mode);
  }
  // Closing a child minimises it; freeing it takes it out of the frame.
  children[1]->Close();
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(GetWindowWidget(children[1]->Handle()))->isMinimized());
  delete children[1];
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_NE(frame->ActiveMDIChild(), children[1]);
  delete frame;

  // Without an MDI frame as main form there is no child.
  TForm* plain = nullptr;
  CreateForm(plain);
  TForm orphan(nullptr);
  orphan.SetFormStyle(fsMDIChild);
  EXPECT_THROW(orphan.HandleNeeded(), EInvalidOperation);
  delete plain;
}

// What each child hears of activation, in order, and what the client answers about it.
TEST(Mdi, ActivationMessagesAndTheActiveChildQuery) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  static std::vector<std::string> heard;
  static std::map<HWND, std::string> names;
  heard.clear();
  names.clear();
  SUBCLASSPROC spy = [](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
    auto name = [](WPARAM x) { return x ? names[reinterpret_cast<HWND>(x)] : std::string("0"); };
    if (msg == WM_MDIACTIVATE) heard.push_back(names[h] + ":activate " + name(w) + ">" + name(LPARAM(l)));
    if (msg == WM_CHILDACTIVATE) heard.push_back(names[h] + ":child");
    return DefSubclassProc(h, msg, w, l);
  };
  std::vector<TForm*> docs;
  for (const char* n : {"A", "B"}) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 300, 200);
    child->HandleNeeded();
    names[child->Handle()] = n;
    SetWindowSubclass(child->Handle(), spy, 1, 0);
    docs.push_back(child);
  }
  docs[0]->Show();
  docs[1]->Show();
  docs[0]->Show();
  EXPECT_EQ(heard, (std::vector<std::string>{"A:activate 0>A", "A:child", "A:activate A>B", "B:activate A>B",
                                             "B:child", "B:activate B>A", "A:activate B>A", "A:child"}));

  struct Case {
    bool Maximize;
    BOOL Flag;
  };
  for (Case c : std::vector<Case>{{false, FALSE}, {true, TRUE}}) {
    auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[0]->Handle()));
    c.Maximize ? sub->showMaximized() : sub->showNormal();
    BOOL maximized = !c.Flag;
    HWND active = reinterpret_cast<HWND>(
        SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    EXPECT_EQ(active, docs[0]->Handle());
    EXPECT_EQ(maximized, c.Flag) << c.Maximize;
  }
  // Without a flag to fill, the child is still answered.
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0)), docs[0]->Handle());
  for (TForm* d : docs) RemoveWindowSubclass(d->Handle(), spy, 1);
  delete frame;
}

// The window-menu commands act on the child they are sent to.
TEST(Mdi, SystemCommandsActOnTheChild) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  std::vector<TForm*> docs;
  for (int i = 0; i < 2; ++i) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 300, 200);
    child->Show();
    docs.push_back(child);
  }
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[1]->Handle()));
  struct Case {
    WPARAM Command;
    bool Maximized, Minimized;
  };
  for (Case c : std::vector<Case>{{SC_MAXIMIZE, true, false},
                                  {SC_RESTORE, false, false},
                                  {SC_MINIMIZE | 2, false, true},
                                  {SC_RESTORE, false, false}}) {
    SendMessage(docs[1]->Handle(), WM_SYSCOMMAND, c.Command, 0);
    EXPECT_EQ(sub->isMaximized(), c.Maximized) << std::hex << c.Command;
    EXPECT_EQ(sub->isMinimized(), c.Minimized) << std::hex << c.Command;
    // The window follows its sub-window: the whole client area when maximized, its own size
    // again when restored.
    RECT doc, client;
    GetWindowRect(docs[1]->Handle(), &doc);
    GetWindowRect(frame->ClientHandle(), &client);
    const QRect g = sub->geometry();
    EXPECT_EQ(doc.right - doc.left, g.width()) << std::hex << c.Command;
    EXPECT_EQ(doc.bottom - doc.top, g.height()) << std::hex << c.Command;
    if (c.Maximized) {
      EXPECT_EQ(doc.left, client.left);
      EXPECT_EQ(doc.top, client.top);
      EXPECT_EQ(doc.right, client.right);
      EXPECT_EQ(doc.bottom, client.bottom);
    } else if (!c.Minimized) {
      EXPECT_EQ(g.size(), QSize(300, 200)) << std::hex << c.Command;
    }
  }
  EXPECT_EQ(frame->ActiveMDIChild(), docs[1]);
  SendMessage(docs[1]->Handle(), WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[0]);
  // Closing goes through the form's own close, which minimises a child.
  SendMessage(docs[0]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[0]->Handle()))->isMinimized());
  delete frame;
}

// A minimized document shows its title alone: its controls, which its empty client area would
// put over the title, go out of sight and come back when it is restored, hidden ones staying so.
TEST(Mdi, AMinimizedChildShowsNoControls) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  auto* doc = new TForm(frame);
  doc->SetFormStyle(fsMDIChild);
  auto* shown = new TPanel(doc);
  shown->SetParent(doc);
  shown->SetAlign(alBottom);
  auto* hidden = new TPanel(doc);
  hidden->SetParent(doc);
  hidden->SetVisible(false);
  doc->Show();
  auto widgetShown = [](TWinControl* c) { return GetWindowWidget(c->Handle())->isVisibleTo(GetWindowWidget(c->Parent()->Handle())); };
  ASSERT_TRUE(widgetShown(shown));
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(widgetShown(shown));
  EXPECT_FALSE(widgetShown(hidden));
  EXPECT_TRUE(shown->Visible());
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(widgetShown(shown));
  EXPECT_FALSE(widgetShown(hidden));
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(widgetShown(shown));
  delete frame;
}

// The sub-window's own close (its title bar's button) goes through the form's close: a refusing
// close query keeps the document shown, an agreeing one closes it with the form's close action.
TEST(Mdi, TheSubWindowsCloseButtonAsksTheForm) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  auto* doc = new TForm(frame);
  doc->SetFormStyle(fsMDIChild);
  doc->SetBounds(0, 0, 300, 200);
  doc->Show();
  bool allow = false;
  int asked = 0;
  doc->OnCloseQuery = [&](TObject*, bool& can) {
    ++asked;
    can = allow;
  };
  doc->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
  TWeakLink<TForm> link(doc);
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(doc->Handle()));
  ASSERT_TRUE(sub);
  // The button closes the sub-window from Qt's own handling of the mouse release, which runs
  // with our routing of its events stepped aside.
  QPointer<QMdiSubWindow> guard(sub);
  auto closeFromTheButton = [guard] {
    guard->setProperty("sonalix_bypass", true);
    guard->close();
    if (guard) guard->setProperty("sonalix_bypass", QVariant());
  };
  closeFromTheButton();
  Application->ProcessMessages();
  EXPECT_EQ(asked, 1);
  ASSERT_TRUE(link);
  EXPECT_TRUE(doc->Visible());
  EXPECT_TRUE(sub->isVisible());
  allow = true;
  closeFromTheButton();
  Application->ProcessMessages();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(link);
  delete frame;
}

// A document already as large as the client area keeps its rectangle when maximized; losing
// its title bar still gives its client area that height, and its aligned controls follow.
TEST(Mdi, AMaximizedChildsControlsTakeTheTitleBarsPlace) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  auto* doc = new TForm(frame);
  doc->SetFormStyle(fsMDIChild);
  auto* panel = new TPanel(doc);
  panel->SetParent(doc);
  panel->SetAlign(alClient);
  doc->Show();
  RECT area;
  GetClientRect(frame->ClientHandle(), &area);
  doc->SetBounds(0, 0, area.right, area.bottom);
  const int before = doc->ClientHeight();
  ASSERT_EQ(panel->Height(), before);
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  RECT r;
  GetWindowRect(doc->Handle(), &r);
  EXPECT_EQ(r.bottom - r.top, area.bottom);
  EXPECT_GT(doc->ClientHeight(), before);
  EXPECT_EQ(panel->Height(), doc->ClientHeight());
  SendMessage(doc->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(doc->ClientHeight(), before);
  EXPECT_EQ(panel->Height(), before);
  delete frame;
}

}  // namespace

namespace {

struct TMenuLine {
  std::string Text;
  UINT Id;
  HBITMAP Bitmap;
  bool Grey;
};

// Reads a menu as the bar manager does: by position, the type query, the text after it.
std::vector<TMenuLine> ReadMenu(HMENU menu) {
  std::vector<TMenuLine> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    MENUITEMINFO mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE;
    mii.dwTypeData = text;
    mii.cch = sizeof(text);
    EXPECT_TRUE(GetMenuItemInfo(menu, UINT(i), TRUE, &mii));
    if (mii.fType & MFT_SEPARATOR) {
      lines.push_back({"-", 0, nullptr, false});
      continue;
    }
    char viaString[64] = {};
    EXPECT_EQ(GetMenuString(menu, UINT(i), viaString, sizeof(viaString), MF_BYPOSITION), int(std::strlen(text)));
    EXPECT_STREQ(viaString, text);
    lines.push_back({text, mii.wID, mii.hbmpItem, (mii.fState & MFS_GRAYED) != 0});
  }
  return lines;
}

}  // namespace

// Each document has its window menu, greyed by its state, and answers with its small icon.
TEST(Mdi, WindowMenuAndIcon) {
  RegisterGuiClasses();
  QImage red(16, 16, QImage::Format_ARGB32);
  red.fill(QColor(255, 0, 0));
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(red)));
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  auto* doc = new TForm(frame);
  doc->SetFormStyle(fsMDIChild);
  doc->SetBounds(0, 0, 300, 200);
  doc->Show();
  HWND h = doc->Handle();
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(h));
  HMENU menu = GetSystemMenu(h, FALSE);
  ASSERT_TRUE(menu);
  EXPECT_EQ(GetSystemMenu(h, FALSE), menu);

  struct Case {
    const char* State;
    std::vector<bool> Grey;  // restore, move, size, minimize, maximize
  };
  for (const Case& c : std::vector<Case>{{"normal", {true, false, false, false, false}},
                                         {"maximized", {false, true, true, false, true}},
                                         {"minimized", {false, false, true, true, false}}}) {
    std::string state = c.State;
    if (state == "normal") sub->showNormal();
    if (state == "maximized") sub->showMaximized();
    if (state == "minimized") sub->showMinimized();
    auto lines = ReadMenu(GetSystemMenu(h, FALSE));
    const std::vector<TMenuLine> expected = {
        {"&Restore", UINT(SC_RESTORE), HBMMENU_POPUP_RESTORE, c.Grey[0]},
        {"&Move", UINT(SC_MOVE), nullptr, c.Grey[1]},
        {"&Size", UINT(SC_SIZE), nullptr, c.Grey[2]},
        {"Mi&nimize", UINT(SC_MINIMIZE), HBMMENU_POPUP_MINIMIZE, c.Grey[3]},
        {"Ma&ximize", UINT(SC_MAXIMIZE), HBMMENU_POPUP_MAXIMIZE, c.Grey[4]},
        {"-", 0, nullptr, false},
        {"&Close\tCtrl+F4", UINT(SC_CLOSE), HBMMENU_POPUP_CLOSE, false},
        {"-", 0, nullptr, false},
        {"Nex&t\tCtrl+F6", UINT(SC_NEXTWINDOW), nullptr, false}};
    ASSERT_EQ(lines.size(), expected.size()) << state;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].Text, expected[i].Text) << state << " " << i;
      EXPECT_EQ(lines[i].Id, expected[i].Id) << state << " " << i;
      EXPECT_EQ(lines[i].Bitmap, expected[i].Bitmap) << state << " " << i;
      EXPECT_EQ(lines[i].Grey, expected[i].Grey) << state << " " << i;
    }
    EXPECT_EQ(bool(GetMenuState(menu, UINT(SC_MAXIMIZE), MF_BYCOMMAND) & MF_GRAYED), c.Grey[4]) << state;
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), UINT(SC_CLOSE));
  }
  sub->showNormal();

  // A maximized document shows no title bar: its client area is the whole sub-window.
  const int normalTop = sub->contentsMargins().top();
  EXPECT_GT(normalTop, 0);
  sub->showMaximized();
  EXPECT_EQ(sub->contentsMargins().top(), 0);
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.bottom, wr.bottom - wr.top);
  sub->showNormal();
  EXPECT_EQ(sub->contentsMargins().top(), normalTop);

  // A greyed entry the program set stays; without a minimize box the entry is grey.
  EnableMenuItem(menu, UINT(SC_CLOSE), MF_BYCOMMAND | MF_GRAYED);
  EXPECT_EQ(GetMenuState(GetSystemMenu(h, FALSE), UINT(SC_CLOSE), MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED), UINT(SC_CLOSE));
  EXPECT_EQ(GetSystemMenu(h, TRUE), nullptr);
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_EQ(GetMenuState(GetSystemMenu(h, FALSE), UINT(SC_CLOSE), MF_BYCOMMAND) & MF_GRAYED, 0u);
  doc->SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});
  EXPECT_NE(doc->Handle(), nullptr);
  EXPECT_EQ(GetMenuState(GetSystemMenu(doc->Handle(), FALSE), UINT(SC_MINIMIZE), MF_BYCOMMAND) & MF_GRAYED,
            MF_GRAYED);

  // Its small icon is the application's, drawn at 16 x 16; a copy of its own is drawn too.
  auto icon = reinterpret_cast<HICON>(SendMessage(doc->Handle(), WM_GETICON, ICON_SMALL, 0));
  ASSERT_TRUE(icon);
  auto copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
  ASSERT_TRUE(copy);
  QImage canvas(32, 32, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  HDC dc = CreateImageDC(&canvas);
  EXPECT_TRUE(DrawIconEx(dc, 8, 8, copy, 0, 0, 0, nullptr, DI_NORMAL));
  DeleteDC(dc);
  EXPECT_EQ(canvas.pixel(8, 8), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.pixel(23, 23), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.pixel(24, 24), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(7, 7), qRgb(255, 255, 255));
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_FALSE(DestroyIcon(copy));
  // A window without a window menu has none.
  TForm plain(nullptr);
  plain.SetBorderIcons(TBorderIcons{});
  plain.HandleNeeded();
  EXPECT_EQ(GetSystemMenu(plain.Handle(), FALSE), nullptr);
  QApplication::setWindowIcon(QIcon());
  delete frame;
}

// Menus made by the program: sub-menus, commands found inside them, texts cut to the buffer.
TEST(Menus, EntriesByCommandAndPosition) {
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING | MF_CHECKED, 201, "Inner\tCtrl+I");
  AppendMenu(menu, MF_STRING, 101, "&First");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetSubMenu(menu, 2), sub);
  EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), MF_POPUP | (1u << 8));
  EXPECT_EQ(GetMenuState(menu, 201, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
  char text[6];
  EXPECT_EQ(GetMenuString(menu, 201, text, sizeof(text), MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "Inner");
  MENUITEMINFO mii;
  mii.fMask = MIIM_STRING;
  EXPECT_TRUE(GetMenuItemInfo(menu, 201, FALSE, &mii));
  EXPECT_EQ(mii.cch, 12u);
  EXPECT_EQ(EnableMenuItem(menu, 101, MF_BYCOMMAND | MF_DISABLED), 0u);
  EXPECT_EQ(EnableMenuItem(menu, 101, MF_BYCOMMAND | MF_ENABLED), DWORD(MF_DISABLED));
  EXPECT_TRUE(SetMenuDefaultItem(menu, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 101u);
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
  EXPECT_TRUE(DeleteMenu(menu, 2, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(GetMenuItemCount(menu), -1);
}

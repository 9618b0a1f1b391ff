// The MDI frame and its children on Qt's MDI area.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include "platform/gui/Forms.h"
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

}  // namespace

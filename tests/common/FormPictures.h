#pragma once
// Helpers of the tests that take pictures of forms: where a picture is kept, and the check that
// no visible control sticks out of its parent.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdlib>
#include <string>

#include "common/TestEnv.h"
#include "platform/gui/Controls.h"

namespace sonalix::test {

// Writes the picture into the sheets folder, and also into $SONALIX_SCREENSHOT_DIR when set.
inline void SavePicture(const QImage& Shot, const std::string& Name) {
  EXPECT_TRUE(Shot.save(QString::fromStdString((SheetDir() / (Name + ".png")).string())));
  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR"))
    EXPECT_TRUE(Shot.save(QString::fromStdString(std::string(dir) + "/" + Name + ".png")));
}

// Every visible control, at every depth, lies inside its parent's client area.
inline void ExpectControlsInside(TWinControl* Parent) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (!c->Visible()) continue;
    SCOPED_TRACE(c->Name());
    EXPECT_GE(c->Left(), 0);
    EXPECT_GE(c->Top(), 0);
    EXPECT_LE(c->Left() + c->Width(), Parent->ClientWidth());
    EXPECT_LE(c->Top() + c->Height(), Parent->ClientHeight());
    if (auto* inner = dynamic_cast<TWinControl*>(c)) ExpectControlsInside(inner);
  }
}

}  // namespace sonalix::test

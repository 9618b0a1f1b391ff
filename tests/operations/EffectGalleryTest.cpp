// The effect dialogs as a person sees them: every control inside its parent and clear of its
// neighbours, and (with SONALIX_SCREENSHOT_DIR set, run under Xvfb with
// SONALIX_TEST_PLATFORM=xcb) pictures of six of them to look at.
#include <QImage>
#include <QWidget>
#include <cstdlib>

#include "EffectTestUtil.h"
#include "common/TestEnv.h"

namespace {

using namespace effecttest;

std::string Describe(TControl* c) {
  return c->Name() + " " + std::to_string(c->Left()) + "," + std::to_string(c->Top()) + " " +
         std::to_string(c->Width()) + "x" + std::to_string(c->Height());
}

// Controls that share a parent do not overlap, and each lies inside its parent's client area.
void ExpectTidy(TWinControl* Parent) {
  std::vector<TControl*> children;
  for (int i = 0; i < Parent->ControlCount(); ++i)
    if (Parent->Controls(i)->Visible()) children.push_back(Parent->Controls(i));
  const TRect area = Parent->ClientRect();
  for (size_t i = 0; i < children.size(); ++i) {
    TControl* c = children[i];
    EXPECT_GE(c->Left(), area.Left) << Describe(c);
    EXPECT_GE(c->Top(), area.Top) << Describe(c);
    EXPECT_LE(c->Left() + c->Width(), area.Right) << Describe(c);
    EXPECT_LE(c->Top() + c->Height(), area.Bottom) << Describe(c);
    for (size_t k = i + 1; k < children.size(); ++k) {
      TRect a = c->BoundsRect(), b = children[k]->BoundsRect(), both;
      EXPECT_FALSE(IntersectRect(both, a, b)) << Describe(c) << " / " << Describe(children[k]);
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) ExpectTidy(w);
  }
}

using EffectGallery = EffectDialogTest;

TEST_F(EffectGallery, DialogsAreTidyAndSavedForALook) {
  TFakeHost host;
  const char* shown[][2] = {{"TEchoForm", "echo"},
                            {"TReverbForm", "reverb"},
                            {"TDynamicRangeCompressorForm", "compressor"},
                            {"TAmplifyForm", "amplify"},
                            {"TMixStereoForm", "mixstereo"},
                            {"TEqualizerForm", "equalizer"}};
  for (const auto& d : EffectDialogs()) {
    SCOPED_TRACE(d.ClassName);
    auto form = Open(d.ClassName, &host);
    ExpectTidy(form.get());
    for (const auto& s : shown) {
      if (std::string(s[0]) != d.ClassName) continue;
      if (d.Layout == elEqualizer) {
        TComboBox* list = form->ComboBoxPreset();
        list->SetItemIndex(3);
        form->ComboBoxPresetChange(list);
      }
      QImage shot = GetWindowWidget(form->Handle())->grab().toImage();
      EXPECT_EQ(shot.width(), form->ClientWidth());
      const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
      const std::string path =
          (dir ? std::filesystem::path(dir) : sonalix::test::SheetDir()) / (std::string("effect-") + s[1] + ".png");
      EXPECT_TRUE(shot.save(QString::fromStdString(path)));
    }
  }
}

}  // namespace

#pragma once
// Effect dialogs under test: a preview host that records what the dialog asks of it, the modal
// hook that answers message boxes and keeps their texts, the test clock, and dialogs opened
// from the settings record and shown.
#include <gtest/gtest.h>

#include <QPoint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "appbase/Globals.h"
#include "controls/ImageSlider.h"
#include "operations/EffectDialogs.h"
#include "operations/Equalizer.h"
#include "platform/gui/GuiInput.h"
#include "platform/win/QtWindows.h"

namespace effecttest {

class TFakeHost : public IEffectPreviewHost {
 public:
  void StartPreview() override {
    Log.push_back("start " + std::to_string(GlobalVars.PreviewOperationTypes));
    if (OnStart) OnStart();
  }
  void StopPreview() override {
    Log.push_back("stop");
    Playing = false;
  }
  bool PreviewPlaying() const override { return Playing; }
  bool PreviewTransforming() const override { return Transforming; }
  void ClearPreviewPlaying() override {
    Log.push_back("clear");
    Playing = false;
  }
  bool Playing = false, Transforming = false;
  std::vector<std::string> Log;
  std::function<void()> OnStart;
};

// Message boxes are answered OK and their texts kept; the clock moves only when told.
class EffectDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterEffectDialogClasses();
    SetDefaultGlobalVars();
    SetManualClock(true);
    FOldHook = SetModalHook([this](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      Messages.push_back(r.Text);
      return IDOK;
    });
  }
  void TearDown() override {
    SetModalHook(FOldHook);
    SetManualClock(false);
    SetDefaultGlobalVars();
  }

  // The dialog of the class, loaded from the settings record and shown.
  template <class F = TEffectForm>
  std::unique_ptr<F> Open(const std::string& ClassName, IEffectPreviewHost* Host = nullptr) {
    std::unique_ptr<F> form(static_cast<F*>(CreateEffectForm(ClassName, nullptr, Host)));
    form->LoadParams();
    form->Show();
    Application->ProcessMessages();
    return form;
  }

  std::vector<std::string> Messages;

 private:
  TModalHook FOldHook;
};

template <class T>
T* Find(TComponent* Root, const std::string& Name) {
  auto* c = dynamic_cast<T*>(Root->FindComponent(Name));
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

// A control's centre in its form's client coordinates.
inline QPoint Centre(TControl* Control) {
  TPoint p = Control->ClientToScreen(TPoint{Control->Width() / 2, Control->Height() / 2});
  TPoint q = GetParentForm(Control)->ScreenToClient(p);
  return QPoint(q.X, q.Y);
}

inline void ClickOn(TControl* Control) { guitest::Click(GetParentForm(Control), Centre(Control)); }

// Puts the focus in the edit with its text selected, then types over it.
inline void TypeInto(TEdit* Edit, const QString& Text) {
  Edit->SetFocus();
  Edit->SelectAll();
  guitest::Type(GetParentForm(Edit), Text);
}

inline void PressKey(TControl* Control, int QtKey) { guitest::Key(GetParentForm(Control), QtKey); }

// One tick of the dialog's monitor timer.
inline void Tick() {
  AdvanceClock(50);
  Application->ProcessMessages();
}

}  // namespace effecttest

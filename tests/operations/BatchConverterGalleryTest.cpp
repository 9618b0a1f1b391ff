// The batch converter's steps, its dialogs and a run in progress as the user meets them, checked
// for controls that leave their window, and saved as pictures: to the sheets folder, and with
// SONALIX_SCREENSHOT_DIR set (run under Xvfb with SONALIX_TEST_PLATFORM=xcb) there as well.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "DialogTestUtil.h"
#include "appbase/Globals.h"
#include "audio/WavFile.h"
#include "common/FormPictures.h"
#include "common/TestEnv.h"
#include "operations/BatchCommands.h"
#include "operations/BatchConverter.h"
#include "operations/ConvertSampleRate.h"

using namespace dialogtest;
namespace fs = std::filesystem;

using sonalix::test::ExpectControlsInside;
using sonalix::test::SavePicture;

namespace {

QImage Shot(TCustomForm* Form) {
  Application->ProcessMessages();
  ExpectControlsInside(Form);
  return GetWindowWidget(Form->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::string Wav(const fs::path& Path, double Seconds) {
  WavWriter w(Path.string(), 44100, 2, 16);
  std::vector<float> v(size_t(2 * 44100 * Seconds), 0.1f);
  w.Write(v.data(), int64_t(v.size() / 2));
  w.Close();
  return Path.string();
}

TEST(BatchConverterGallery, TheThreeStepsTheDialogsAndARun) {
  SetDefaultGlobalVars();
  const fs::path dir = sonalix::test::MakeTempDir("gallery");
  TBatchConverterForm form(nullptr);
  form.Show();
  for (const char* n : {"Morning.wav", "Evening.wav", "Interlude.wav"})
    form.AddFile(Wav(dir / n, 8));
  form.ListViewFiles->Items()->Item(1)->SetSelected(true);
  bool handled = false;
  form.ActionListUpdate(nullptr, handled);
  QImage step1 = Shot(&form);
  SavePicture(step1, "batch-step1");
  // The header is white and the rows carry their icon.
  EXPECT_EQ(step1.pixel(form.ClientWidth() - 4, 4) | 0xFF000000, 0xFFFFFFFFu);
  const TPoint list = form.ListViewFiles->ClientToScreen(TPoint{0, 0});
  const TPoint origin = form.ClientToScreen(TPoint{0, 0});
  bool iconInk = false;
  for (int y = 0; y < 60 && !iconInk; ++y)
    for (int x = 0; x < 24; ++x) {
      const QRgb p = step1.pixel(list.X - origin.X + x, list.Y - origin.Y + y);
      iconInk |= qRed(p) < 40 && qGreen(p) > 50 && qGreen(p) < 120 && qBlue(p) > 130;
    }
  EXPECT_TRUE(iconInk) << "the wave icon shows on the file rows";

  form.ShowStep(1);
  auto add = [&](int command, std::vector<int> values) {
    TListItem* item = form.ListViewCommand->Items()->Add();
    item->SetCaption(BatchCommandNames[command]);
    std::unique_ptr<TObject> record = MakeBatchCommand(command, values);
    item->SubItems()->Add(BatchCommandSettingsText(command, *record));
    item->SetData(std::move(record));
  };
  add(bcInsertSilenceAtTheStart, {500});
  add(bcAmplify, {120});
  add(bcEcho, {200, 70, 40});
  add(bcNormalize, {98});
  form.ActionListUpdate(nullptr, handled);
  SavePicture(Shot(&form), "batch-step2");

  TAddCommandForm addDialog(nullptr);
  addDialog.Show();
  addDialog.ListBoxCommand->SetItemIndex(6);
  SavePicture(Shot(&addDialog), "batch-add-command");
  addDialog.Close();
  TConvertSampleRateForm convert(nullptr);
  convert.Show();
  SavePicture(Shot(&convert), "convert-sample-rate");
  convert.Close();

  form.ShowStep(2);
  GlobalVars.BatchFileFormatUseTheSame = false;
  form.RadioButtonutputFormatConvertTo->SetChecked(true);
  form.ComboBoxFormat->SetItemIndex(1);
  form.ActionListUpdate(nullptr, handled);
  SavePicture(Shot(&form), "batch-step3");

  // A run, pictured when the first file is under way.
  MessageBoxes boxes;
  Steps steps;
  std::function<void()> watch = [&] {
    if (form.ProgressBar->Position() > 0 || !form.Running()) {
      if (form.Running()) SavePicture(Shot(&form), "batch-running");
      return;
    }
    steps.Later(watch);
  };
  steps.Later(watch);
  form.RunBatch();
  EXPECT_TRUE(boxes.Texts.empty());
  EXPECT_EQ(form.ListViewFiles->Items()->Count(), 0);
}

}  // namespace

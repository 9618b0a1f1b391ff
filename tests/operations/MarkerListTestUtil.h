#pragma once
// The region and bookmark windows over real editors: a small stand-in for the main window that
// keeps numbered documents, and helpers that add markers the way Set Bookmark and Add Region do.

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "appbase/Globals.h"
#include "operations/OutputFormatApply.h"
#include "operations/RegionList.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace markertest {

class Host : public IMarkerListHost {
 public:
  struct Document {
    int Number;
    std::unique_ptr<TAudioEditor2> Editor;
  };

  Host() : FMain(std::make_unique<TForm>(nullptr)), FLame(nullptr) {
    FMain->SetBounds(100, 80, 800, 600);
  }

  // A document of Seconds of a 440 Hz tone, in front.
  TAudioEditor2& Open(int Number, double Seconds = 2.0, int Rate = 44100, int Channels = 2) {
    auto editor = std::make_unique<TAudioEditor2>(nullptr);
    editor->NewDocument(Rate, Channels);
    const int64_t frames = int64_t(Seconds * Rate);
    SampleBuffer tone(Channels, Rate, frames);
    for (int64_t f = 0; f < frames; ++f)
      for (int c = 0; c < Channels; ++c)
        tone.FrameData(f)[c] = 0.5f * float(std::sin(2 * M_PI * 440.0 * double(f) / Rate));
    editor->InsertPcm(tone);
    Docs.push_back({Number, std::move(editor)});
    Active = Docs.back().Editor.get();
    return *Active;
  }

  void Close(int Number) {
    for (auto it = Docs.begin(); it != Docs.end(); ++it)
      if (it->Number == Number) {
        if (Active == it->Editor.get()) Active = nullptr;
        Docs.erase(it);
        break;
      }
    if (!Active && !Docs.empty()) Active = Docs.back().Editor.get();
  }

  TAudioEditor2& Editor(int Number) {
    for (auto& d : Docs)
      if (d.Number == Number) return *d.Editor;
    throw std::runtime_error("no document " + std::to_string(Number));
  }

  bool HasDocument() const override { return !Docs.empty(); }
  bool BringDocumentToFront(int Number) override {
    for (auto& d : Docs)
      if (d.Number == Number) {
        Active = d.Editor.get();
        return true;
      }
    return false;
  }
  TAudioEditor2* ActiveEditor() override { return Active; }
  TCustomForm* HostForm() override { return FMain.get(); }
  void ActionPlayExecute(TObject*) override { ++Plays; }
  void ActionSaveSelectExecute(TObject*) override { Saved.push_back(Selection()); }
  void ActionCopyToNewExecute(TObject*) override { Copied.push_back(Selection()); }
  bool ApplyWavFormat() override { return Apply(afWav); }
  bool ApplyMp3Format() override { return Apply(afMp3); }
  bool ApplyOggFormat() override { return Apply(afOgg); }
  bool ApplyWmaFormat() override { return Apply(afWma); }

  std::pair<int, int> Selection() {
    IAudioEditor2Position* p = Active->Position();
    return {p->SelectionStart(), p->SelectionEnd()};
  }

  std::vector<Document> Docs;
  TAudioEditor2* Active = nullptr;
  int Plays = 0;
  std::vector<std::pair<int, int>> Saved, Copied;
  std::vector<int> Applied;

 private:
  bool Apply(int Format) {
    Applied.push_back(Format);
    return ApplyOutputFormat(GlobalVars, Format, FLame, *Active->FileFormat());
  }
  std::unique_ptr<TForm> FMain;
  TAudioEditor2LameEnc FLame;
};

// Set Bookmark and Add Region as the main window does them, without the name dialog.
inline void AddBookmark(Host& H, int Number, int Position, const std::string& Name) {
  TAudioEditor2& e = H.Editor(Number);
  e.Markers()->Add(Position, 0, Name, AUDIO_MARKER_BOOKMARK, 0, 0, 0, 0, 0);
  e.Markers()->SetCurrentIndex(e.Markers()->Count());
  BookmarkForm->AddBookmarkItem(e, Number);
}

inline void AddRegion(Host& H, int Number, int Start, int End, const std::string& Name) {
  TAudioEditor2& e = H.Editor(Number);
  e.Markers()->Add(Start, End - Start, Name, AUDIO_MARKER_REGION, 0, 0, 0, 0, 0);
  e.Markers()->SetCurrentIndex(e.Markers()->Count());
  RegionForm->AddRegionItem(e, Number, "doc" + std::to_string(Number) + ".wav");
}

// Answers the modal requests: dialogs of a class by a function that fills them and gives the
// result, message boxes by Answer (texts kept).
class Modal {
 public:
  explicit Modal(int Answer = IDYES) : FAnswer(Answer) {
    FPrevious = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Messages.push_back(r.Text);
        return FAnswer;
      }
      if (r.Kind != TModalRequest::mrDialog) return 0;
      for (auto& [cls, fn] : FDialogs)
        if (cls == r.DialogClass) {
          ++Shown;
          return fn(r);
        }
      return 0;
    });
  }
  ~Modal() { SetModalHook(std::move(FPrevious)); }
  Modal(const Modal&) = delete;
  Modal& operator=(const Modal&) = delete;

  template <class F>
  void On(const std::string& DialogClass, std::function<int(F&)> Fill) {
    FDialogs.emplace_back(DialogClass, [Fill](const TModalRequest& r) {
      auto* form = dynamic_cast<F*>(static_cast<TCustomForm*>(r.Dialog));
      return form ? Fill(*form) : int(mrAbort);
    });
  }
  void OnRequest(const std::string& DialogClass, std::function<int(const TModalRequest&)> Fill) {
    FDialogs.emplace_back(DialogClass, std::move(Fill));
  }

  std::vector<std::string> Messages;
  int Shown = 0;

 private:
  int FAnswer;
  std::vector<std::pair<std::string, std::function<int(const TModalRequest&)>>> FDialogs;
  TModalHook FPrevious;
};

}  // namespace markertest

#pragma once
// The editor's document-side sub-objects (Position, Markers, FileInfo, FileFormat) over an
// AudioDocument, for the visual control to hand out. 64-bit positions of the document fit the
// interfaces' 32 bits because documents are limited to 2^31-1 frames.

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "audio/AudioDocument.h"

class TAudioEditor2PositionPart : public IAudioEditor2Position {
 public:
  explicit TAudioEditor2PositionPart(AudioDocument& doc) : FDoc(doc) {}
  void MsToSamples(int ms, int& samples) override;
  void SamplesToMs(int samples, int& ms) override;
  int SelectionStart() override { return int(FDoc.SelectionStart()); }
  void SetSelectionStart(int value) override { FDoc.SetSelectionStart(value); }
  int SelectionEnd() override { return int(FDoc.SelectionEnd()); }
  void SetSelectionEnd(int value) override { FDoc.SetSelectionEnd(value); }
  int ViewStart() override { return int(FDoc.ViewStart()); }
  void SetViewStart(int value) override { FDoc.SetViewStart(value); }
  int ViewEnd() override { return int(FDoc.ViewEnd()); }
  void SetViewEnd(int value) override { FDoc.SetViewEnd(value); }
  int Cursor() override { return int(FDoc.Cursor()); }
  void SetCursor(int value) override { FDoc.SetCursor(value); }
  bool SelectionActive() override { return FDoc.SelectionActive(); }
  void SetSelectionActive(bool value) override { FDoc.SetSelectionActive(value); }
  int Length() override { return int(FDoc.Length()); }

 private:
  AudioDocument& FDoc;
};

class TAudioEditor2MarkersPart : public IAudioEditor2Markers {
 public:
  explicit TAudioEditor2MarkersPart(AudioDocument& doc) : FDoc(doc) {}
  void Add(int position, int length, const std::string& name, const std::string& kind, int, int,
           int, int, int) override {
    FDoc.AddMarker(position, length, name, kind);
  }
  void DeleteCurrent() override { FDoc.DeleteCurrentMarker(); }
  int Count() override { return FDoc.MarkerCount(); }
  int CurrentIndex() override { return FDoc.CurrentMarkerIndex(); }
  void SetCurrentIndex(int value) override { FDoc.SetCurrentMarkerIndex(value); }
  int MarkerPosition() override { return int(FDoc.MarkerPosition()); }
  int MarkerLength() override { return int(FDoc.MarkerLength()); }
  std::string MarkerName() override { return FDoc.MarkerName(); }

 private:
  AudioDocument& FDoc;
};

class TAudioEditor2FileInfoPart : public IAudioEditor2FileInfo {
 public:
  explicit TAudioEditor2FileInfoPart(AudioDocument& doc) : FDoc(doc) {}
  int SampleRate() override { return FDoc.SampleRate(); }
  int Channels() override { return FDoc.Channels(); }
  std::string Title() override { return FDoc.Tags().Title; }
  void SetTitle(const std::string& value) override { Put(&AudioTags::Title, value); }
  std::string Artist() override { return FDoc.Tags().Artist; }
  void SetArtist(const std::string& value) override { Put(&AudioTags::Artist, value); }
  std::string Album() override { return FDoc.Tags().Album; }
  void SetAlbum(const std::string& value) override { Put(&AudioTags::Album, value); }
  std::string Comment() override { return FDoc.Tags().Comment; }
  void SetComment(const std::string& value) override { Put(&AudioTags::Comment, value); }
  int Year() override { return FDoc.Tags().Year; }
  void SetYear(int value) override { Put(&AudioTags::Year, value); }
  int GenreIndex() override { return FDoc.Tags().GenreIndex; }
  void SetGenreIndex(int value) override { Put(&AudioTags::GenreIndex, value); }
  void GenreName(int index, std::string& name) override { name = AudioDocument::GenreName(index); }

 private:
  template <class T>
  void Put(T AudioTags::*field, const T& value) {
    AudioTags tags = FDoc.Tags();
    tags.*field = value;
    FDoc.SetTags(tags);
  }
  AudioDocument& FDoc;
};

class TAudioEditor2FileFormatPart : public IAudioEditor2FileFormat {
 public:
  explicit TAudioEditor2FileFormatPart(AudioDocument& doc) : FDoc(doc) {}
  void SetWavFormat(int sampleRate, int channels, int bits) override {
    FDoc.SetWavFormat(sampleRate, channels, bits);
  }
  void SetMp3CbrFormat(int sampleRate, int kbps, int channels) override {
    FDoc.SetMp3CbrFormat(sampleRate, kbps, channels);
  }
  void SetMp3EncoderFormat(const TLameEncSettingsBase& settings) override;
  void SetOggFormat(int sampleRate, int channels, int kbps, int reserved1, int reserved2,
                    int16_t quality) override {
    FDoc.SetOggFormat(sampleRate, channels, kbps, reserved1, reserved2, quality);
  }
  void SetWmaFormat(int profile) override { FDoc.SetWmaFormat(profile); }

 private:
  AudioDocument& FDoc;
};

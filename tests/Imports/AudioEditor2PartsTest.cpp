#include <gtest/gtest.h>

#include "Imports/AudioEditor2Parts.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"

TEST(AudioEditor2Parts, ForwardToTheDocument) {
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(SampleBuffer(2, 44100, 88200));
  TAudioEditor2PositionPart position(doc);
  TAudioEditor2MarkersPart markers(doc);
  TAudioEditor2FileInfoPart info(doc);
  TAudioEditor2FileFormatPart format(doc);

  // The main window's way to select: active, start, end; times through the 32-bit calls.
  position.SetSelectionActive(true);
  int start = 0, end = 0;
  position.MsToSamples(500, start);
  position.MsToSamples(1500, end);
  position.SetSelectionStart(start);
  position.SetSelectionEnd(end);
  EXPECT_EQ(position.SelectionStart(), 22050);
  EXPECT_EQ(position.SelectionEnd(), 66150);
  EXPECT_EQ(position.Cursor(), 22050);
  int ms = 0;
  position.SamplesToMs(position.Length(), ms);
  EXPECT_EQ(ms, 2000);

  markers.Add(position.SelectionStart(), position.SelectionEnd() - position.SelectionStart(), "r",
              AUDIO_MARKER_REGION, 0, 0, 0, 0, 0);
  markers.SetCurrentIndex(markers.Count());
  EXPECT_EQ(markers.MarkerPosition(), 22050);
  EXPECT_EQ(markers.MarkerLength(), 44100);
  EXPECT_EQ(markers.MarkerName(), "r");

  info.SetTitle("T");
  info.SetYear(1999);
  info.SetGenreIndex(17);
  std::string genre;
  info.GenreName(info.GenreIndex(), genre);
  EXPECT_EQ(info.Title(), "T");
  EXPECT_EQ(info.Year(), 1999);
  EXPECT_EQ(genre, "Rock");
  EXPECT_EQ(info.SampleRate(), 44100);

  TAudioEditor2LameEnc lame(nullptr);
  lame.SetPreset(5);
  lame.SetVbrQuality(7);
  format.SetMp3EncoderFormat(lame);
  lame.SetPreset(9);  // the editor keeps the settings it was given
  EXPECT_EQ(doc.FileFormat().Mp3Encoder.Preset, 5);
  EXPECT_EQ(doc.FileFormat().Mp3Encoder.VbrQuality, 7);
  EXPECT_EQ(doc.FileFormat().Mp3Mode, TMp3Mode::Encoder);
}

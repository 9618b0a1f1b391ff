#pragma once
// The entries of the region and bookmark lists: each is the data object of one list row and is
// freed with it. Entries are not changed in place once a row holds them: a changed entry is a
// new one given to the row.

#include <string>

#include "platform/rtl/System.h"

// One entry of the region list.
class TRegion : public TObject {
 public:
  std::string Name;
  std::string TimeText;  // "start-end", each as FormatMsTime gives it
  std::string FileName;  // the document's file name without its folder
  int MarkerIndex = 0;   // 1-based, in the document's editor
  int DocumentNumber = 0;
  int StartSample = 0;
  int EndSample = 0;
};

// One entry of the bookmark list.
class TBookmark : public TObject {
 public:
  std::string Name;
  std::string TimeText;
  int Position = 0;  // frames
  int MarkerIndex = 0;
  int DocumentNumber = 0;
};

#pragma once
// Plain records that the windows exchange. Each is the data object of one list item and is
// freed with it.

#include <array>
#include <cstdint>
#include <string>

#include "appbase/BatchRecords.h"
#include "cd/CDItem.h"
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

// One track of the CD load dialog: TCDItem, made by the dialog in the CD library.

// The batch converter's file and command records: appbase/BatchRecords.h.

#pragma once
// One track of the CD load dialog, the data object of its list item; the main window opens
// TrackPath of the chosen one.

#include <string>

#include "platform/rtl/System.h"

class TCDItem : public TObject {
 public:
  std::string TrackPath;  // "D:\Track01.cda"
  std::string Caption;
};

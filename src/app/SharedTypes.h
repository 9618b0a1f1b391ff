#pragma once
// Plain records that the windows exchange. Each is the data object of one list item and is
// freed with it.

#include <array>
#include <cstdint>
#include <string>

#include "appbase/BatchRecords.h"
#include "appbase/MarkerEntries.h"
#include "cd/CDItem.h"
#include "platform/rtl/System.h"

// The region and bookmark entries: appbase/MarkerEntries.h.

// One track of the CD load dialog: TCDItem, made by the dialog in the CD library.

// The batch converter's file and command records: appbase/BatchRecords.h.

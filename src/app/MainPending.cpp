// Commands whose windows and operations join the frame later: each is shown and enabled as its
// rule says, and does nothing yet.
#include "app/Main.h"

#define SONALIX_PENDING_ACTIONS(X) \
  X(LoadCD) X(CopyAllToCD) X(AutoTrim) X(AutoSplit) X(MarkFirstPosition) X(MarkSecondPosition) \
  X(RecallMarkSelection) X(SpeedPitchChange) \
  X(Batch) 

#define SONALIX_PENDING(n) \
  void TMainForm::Action##n##Execute(TObject*) {}
SONALIX_PENDING_ACTIONS(SONALIX_PENDING)

// The sonalix executable: the program block lives in the application layer.
#include <cstdlib>

#include "app/Program.h"

int main(int argc, char** argv) {
  // The interface libraries place popups by screen position, which needs X11 (or XWayland).
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
  return RunProgram(argc, argv);
}

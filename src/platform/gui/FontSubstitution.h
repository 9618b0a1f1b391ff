#pragma once
// Replacing a font family in a window's controls, for dialogs designed with a font the desktop
// may lack.

#include <string>

class TWinControl;

// Gives NewName to the font of every child (windowed children recursively) whose font is named
// OldName, when NewName is an installed font other than OldName. The control's own font stays.
void SubstituteFontName(TWinControl* Control, const std::string& OldName, const std::string& NewName);

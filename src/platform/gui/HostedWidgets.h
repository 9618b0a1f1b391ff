#pragma once
// How the Qt widget behind a windowed control takes the control's look: the system colours the
// painted controls use, and the control's font.

class QWidget;
class TFont;

// Gives the widget a palette of the fixed system colours, so that a dialog mixing hosted and
// painted controls looks like one; answers the widget.
QWidget* WithSystemColors(QWidget* Widget);

// Shows the font and its colour. The colour goes to the enabled states only: a disabled widget
// keeps its palette's grey text.
void ShowControlFont(QWidget* Widget, TFont* Font);

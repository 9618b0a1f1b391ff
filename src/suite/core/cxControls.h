#pragma once
// Window helpers the suite's controls and bar windows share.

#include <vector>

#include "platform/gui/CustomForms.h"
#include "platform/win/Windows.h"

// The window itself or its first ancestor without WS_CHILD; null when none.
HWND FindNonChildAncestor(HWND Window);
// The form has a window and is the active window, or it is the active MDI child of the active
// main form, or its first non-child ancestor is the active window.
bool IsFormActive(TWinControl* Form);
// Records and disables the window when it is enabled.
void DisableWindowAndRecord(std::vector<HWND>& List, HWND Window);
// Enables every recorded window that still exists.
void EnableRecordedWindows(const std::vector<HWND>& List);
// Removes the window's queued messages from FirstMessage to LastMessage (0: FirstMessage only;
// a null window: every window of the thread), one or All. A quit request met is posted again
// and ends the removal. True when something was removed.
bool RemovePendingMessages(HWND Window, UINT FirstMessage, UINT LastMessage = 0, bool All = true);

// ---- Window utilities, mouse tracking, subclassing chains and hint windows

// ---- The base control, its scroll bars, size grip and drag and drop

#pragma once
// The visual-style library ("UxTheme.dll" in the module table): themed parts of the seventeen
// classes the suite draws with, rendered by a private Fusion style on the classic system
// colours at 96 DPI and copied into our device contexts. Present and active unless
// SONALIX_THEMES=0, which leaves the module absent so that callers take their unthemed paths.

#include <string>

// Puts the entries into the module table; the module is present unless SONALIX_THEMES is "0".
// Runs once at start-up; tests call it again after changing the variable.
void InstallVisualStyles();

// Test hooks. Switching the active state (or the colour name) empties the part cache and sends
// WM_THEMECHANGED, then WM_SYSCOLORCHANGE, to every window, message-only windows included.
void SetVisualStylesActive(bool Active);
bool VisualStylesActive();
// The colour name GetCurrentThemeName reports ("NormalColor", "HomeStead", "Metallic"...).
void SetVisualStyleColorName(const std::string& Name);
// Rendered parts kept in the cache (for tests of the cache itself).
int VisualStyleCachedParts();

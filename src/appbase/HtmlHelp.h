#pragma once
// The help routine behind every Help button, and the help viewer it binds to.

#include <cstdint>
#include <string>

struct TWindowHandleTag;
using HWND = TWindowHandleTag*;

constexpr unsigned HH_DISPLAY_TOPIC = 0;
constexpr unsigned HH_INITIALIZE = 28;

// Forwards to the viewer's "HtmlHelpA" of "HHCTRL.OCX", bound on the first call that finds it
// (which also initialises the viewer); raises Exception when the module or the entry is missing.
HWND HtmlHelpCall(HWND Owner, const std::string& Target, unsigned Command, uintptr_t Data);

// The address of a topic: the program's path with ".chm", "::/", the lower-cased topic, ".htm".
std::string HelpTopicTarget(const std::string& Topic);
// Shows the page of a topic (a message naming the topic when the program has no page for it).
void ShowHelpTopic(HWND Owner, const std::string& Topic);

// The viewer's answer to an address whose page the program lacks: a message naming the topic.
std::string MissingHelpTopicText(const std::string& Target);

// The viewer's side: the page an address names, copied out of the program's resources into a
// file a browser can open; "" when the program has no such page.
std::string HelpPageFile(const std::string& Target);

#pragma once
// The main window's commands: one action per command with its caption, category, shortcut and
// hint, when the idle update enables it, and the groups of the command panel. The window builds
// its action list from this table and runs ApplyCommandStates whenever the application is idle.

#include <string>
#include <vector>

class TActionList;
class TComponent;
class IAudioEditor2;

// When a command can run.
enum class TCommandEnabling {
  ceAlways,
  ceDocument,    // a document is active
  ceFileName,    // the active document has a file name
  ceUndo,        // its editor can undo
  ceRedo,        // its editor can redo
  ceLength,      // it holds at least one frame
  ceSelection,   // it holds frames and its selection ends after it starts
  ceClipboard,   // a document is active and a Cut or Copy happened since start
  ceAnyWindow,   // at least one document window exists
  ceZoomFull,    // it holds frames and the view is not the whole file
};
using enum TCommandEnabling;

// Where a command is reachable.
enum class TCommandPlace {
  cpMenus,         // menus, toolbars, panel or buttons
  cpShortCutOnly,  // only its key
  cpNowhere,       // exists with a handler that does nothing
};
using enum TCommandPlace;

struct TCommandInfo {
  const char* Name;
  const char* Category;
  const char* Caption;
  const char* ShortCut;  // as the menus show it ("Ctrl+Shift+B"), "" for none
  const char* Hint;
  TCommandEnabling Enabling;
  TCommandPlace Place;
  bool Hidden;  // invisible wherever it is linked
};

// Every command, in the order of the action list.
const std::vector<TCommandInfo>& MainCommands();
const TCommandInfo* FindMainCommand(const std::string& Name);

// What the idle update looks at.
struct TCommandState {
  bool Document = false;     // an active document
  int DocumentWindows = 0;   // document windows of the frame
  bool HasFileName = false;  // the active document's file name is not empty
  bool CanUndo = false, CanRedo = false;
  int SelectionStart = 0, SelectionEnd = 0, Length = 0, ViewStart = 0, ViewEnd = 0;
  bool ClipboardFilled = false;
};

// The state of the active document's editor (none: no document) among DocumentWindows windows.
TCommandState CommandStateOf(IAudioEditor2* ActiveEditor, const std::string& ActiveFileName,
                             int DocumentWindows, bool ClipboardFilled);
bool CommandEnabled(TCommandEnabling Enabling, const TCommandState& State);

// Creates the actions of MainCommands in List (owned by Owner, named as the commands; the
// glyph index is the command's place in the application's glyph strips).
void CreateMainActions(TActionList* List, TComponent* Owner);
// Sets the enabled state of every action of List that is a main command.
void ApplyCommandStates(TActionList* List, const TCommandState& State);

// The command panel: groups of items, each item bound to an action under a caption of its own.
struct TCommandPanelItem {
  const char* Caption;
  const char* Action;
};
struct TCommandPanelGroup {
  const char* Caption;
  std::vector<TCommandPanelItem> Items;
};
const std::vector<TCommandPanelGroup>& CommandPanelGroups();
// A group shows while at least one of its items can run.
bool CommandPanelGroupVisible(const TCommandPanelGroup& Group, const TCommandState& State);

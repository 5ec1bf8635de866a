#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/folder_lock.h"

#include "app/session.h"
#include "archive/archive_choice.h"

// The event handlers of the main window as plain functions on the session. The desktop window
// calls them and then shows Session::Window; the command line and the tests call them the same
// way.
namespace zorvane::app {

struct StartUpOptions {
  // A DATA folder that takes the place of the settings file (the command line's --data).
  std::optional<std::string> DataFolder;
};

// Runs once the DATA folder is known and recovered, before anything of it is read; the start-up
// ends when it returns false. The command line takes its lock here.
using BeforeListing = std::function<bool(Session&)>;

// The start-up sequence of the main window: caption, settings, the folder dialog when no
// settings file exists, the all-archives listing, EXT.IDX and the listing the user sees,
// captions, and the compact state. Returns whether both index files were loaded and listed;
// Session::Terminated tells whether the user ended the program in the folder dialog.
bool RunStartUp(Session& session, const StartUpOptions& options = {},
                const BeforeListing& beforeListing = {});

// The window caption: "Tovrin's Zorvane, Version:  2. 4. 0".
std::string WindowCaption();

// Selects option button 1 to 6 (clearing the others of its group) and runs its click handler,
// as a click of the user or a selection in code does. Returns what the handler's worker
// returned.
bool ClickOption(Session& session, int option);

// The archive choice of the selected option button among Option1 to Option4.
archive::ArchiveChoice SelectedArchiveChoice(const Session& session);

// The shared lock of the DATA folder while the caller reads it; nothing, with a message shown,
// when another program is changing it.
std::optional<platform::FolderLock> LockForReading(Session& session);

// Lists the members as the selected archive choice asks.
bool ListArchiveMembers(Session& session);

// Reloads EXT.IDX and refreshes the member list.
bool LoadExtIndex(Session& session);

// Toggle Details: switches between the compact window and the detailed one with the list and
// the choices; opening the detailed one first loads the internal palettes (or says how to make
// them).
void OnToggleDetails(Session& session);

// The Setup menu: asks for the DATA folder again, even when the current one is valid, then
// reloads EXT.IDX and the list.
void OnSetupMenu(Session& session);

}  // namespace zorvane::app

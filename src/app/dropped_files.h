#pragma once

#include <string>
#include <vector>

#include "app/session.h"

namespace zorvane::app {

// Files dropped on a window, or given to the desktop program when it starts, one after another:
// a sprite file (.SHP) is inserted as Insert SHP file inserts the file chosen in its dialog
// (the same worker, messages and questions); a folder, or a file in it named PFPDATA.IDX, is
// offered as the installation to switch to and, when the user agrees, switched to with the
// checks of Setup; anything else is refused with a message.
void OnFilesDropped(Session& session, const std::vector<std::string>& paths);

// "Switch to the PacGen installation in FOLDER?"
std::string SwitchQuestion(const std::string& folder);
// The message for a file that is neither a sprite file nor an installation.
std::string NotDroppableMessage(const std::string& path);

}  // namespace zorvane::app

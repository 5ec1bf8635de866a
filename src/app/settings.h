#pragma once

#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "app/session.h"
#include "platform/result.h"

namespace zorvane::app {

inline constexpr char kSettingsFileName[] = "Zorvane.ini";
inline constexpr std::string_view kSettingsKey = "PFP-path =";

inline constexpr char kFolderDialogTitle[] = "Show me your PacGen DATA folder";
inline constexpr char kFolderDialogFilter[] = "PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP";
inline constexpr char kFolderDialogInitialName[] = "PFPDATA.IDX";
inline constexpr char kShowFolderMessage[] =
    "You have to show the program where your PacGen DATA folder is located.Otherwise the program "
    "cannot work.";
inline constexpr char kTerminateQuestion[] = "Terminate the program?";

// The DATA folder named by the first line of the settings file, or nothing when the line is
// not a folder entry: its first 10 characters must be exactly "PFP-path =", and the value is
// the rest from the 11th character on, trimmed of spaces, taken unchanged.
std::optional<std::string> FolderFromSettingsLine(std::string_view line);

// The line written to the settings file for a DATA folder, CR LF included.
std::string SettingsFileContent(const std::string& dataFolder);

// Sets ProgramFolder, SettingsFound, SettingsLine and, when the settings file names one,
// DataFolder, and the Browse window's layout and the picture format when later lines hold
// them. An existing settings file
// always counts as found, whatever its first line holds (an empty file included).
void ReadSettings(Session& session);

// Uses `dataFolder` as if a settings file had named it (the command line's --data); the
// separator is appended when missing.
void UseDataFolder(Session& session, const std::string& dataFolder);

// Asks for the DATA folder until a folder holding PFPDATA.IDX is chosen (then writes the
// settings file) or the user ends the program (then sets Terminated). Returns at once when the
// settings were found.
void SetupDataFolder(Session& session);

// Writes the settings file through a transaction of the program folder. The failure's reason
// is the whole sentence to show.
platform::Status ReplaceSettingsFile(const std::string& path, const std::string& content,
                                     platform::Ui& ui);

// The settings file's text with `line` (CR LF included) in place of the earlier line that
// starts with `key` (later such lines dropped), or at the end; every other line is kept.
std::string WithSettingsLine(std::string_view settings, std::string_view key,
                             const std::string& line);

// Puts `line` into the settings file (see WithSettingsLine) when the file exists: without it
// the next start asks for the DATA folder, which a file of later lines only would prevent. A
// failure to read or write it is shown.
void SaveSettingsLine(Session& session, std::string_view key, const std::string& line);

inline constexpr std::string_view kPictureFormatKey = "Picture format =";

// The line "Picture format = PNG" (CR LF included) and the format of such a line, or nothing
// when the line is not one or names no format.
std::string PictureFormatLine(graphics::PictureFormat format);
std::optional<graphics::PictureFormat> PictureFormatFromLine(std::string_view line);

// Uses `format` for every later extraction and keeps it in the settings file.
void ChoosePictureFormat(Session& session, graphics::PictureFormat format);

// Shows the folder dialog; returns what it returned.
std::string BrowseDataFolder(Session& session);

// Setup > Recent installations: the last DATA folders, one line each in the settings file
// ("Recent installation = FOLDER"), the latest first.
inline constexpr std::string_view kRecentInstallationKey = "Recent installation =";
inline constexpr std::size_t kMostRecentInstallations = 5;
std::string RecentInstallationLines(const std::vector<std::string>& folders);
// Puts the DATA folder first in the list (once, at most five kept) and saves the list when the
// settings file exists. The start-up and Setup call it for the folder they use.
void RememberInstallation(Session& session);
// Switches to the DATA folder `folder` with the checks of Setup (the folder and its PFPDATA.IDX
// exist): it becomes the first recent installation, is written into the settings file, and
// EXT.IDX and the list are loaded from it. A folder that fails them is refused with Setup's
// message and nothing changes. Returns whether it switched.
bool SwitchInstallation(Session& session, const std::string& folder);
// The same for the folder of the recent list's entry `index`.
bool OpenRecentInstallation(Session& session, std::size_t index);
// Empties the list, in the settings file too.
void ClearRecentInstallations(Session& session);

}  // namespace zorvane::app

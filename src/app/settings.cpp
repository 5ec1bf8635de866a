#include "app/settings.h"

#include "app/browse_layout.h"
#include "app/main_window_events.h"

#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/leftover_files.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::app {

namespace {

// The program and settings folders as the session was given them, trimmed, with a trailing
// separator.
void SetProgramFolder(Session& session) {
  session.ProgramFolder = platform::WithTrailingSeparator(
      std::string(platform::TrimSpaces(session.ProgramFolderSource)));
  session.SettingsFolder =
      session.SettingsFolderSource.empty()
          ? session.ProgramFolder
          : platform::WithTrailingSeparator(
                std::string(platform::TrimSpaces(session.SettingsFolderSource)));
}

std::string SettingsPath(const Session& session) {
  return session.SettingsFolder + kSettingsFileName;
}

// A settings file that an earlier version kept in the program folder moves, once, to the
// settings folder of its own, through the transaction: written there whole, then taken away.
void MoveSettingsFileOver(Session& session) {
  if (session.SettingsFolder == session.ProgramFolder) return;
  const std::string old = session.ProgramFolder + kSettingsFileName;
  const std::string path = SettingsPath(session);
  if (platform::FileExists(path) || !platform::FileExists(old)) return;
  auto content = platform::ReadWholeFile(old);
  if (!content) {
    session.Ui.ShowMessage(platform::CannotReadMessage(old, content.Reason()));
    return;
  }
  if (auto written = platform::ReplaceWholeFile(path, content.Value(), session.Ui,
                                                "The settings file");
      !written) {
    session.Ui.ShowMessage(written.Reason());
    return;
  }
  platform::RemoveFile(platform::ResolvePath(old));
  session.Ui.ShowMessage("The settings file " + old + " has been moved to " + path + ".");
}

}  // namespace

platform::Status ReplaceSettingsFile(const std::string& path, const std::string& content,
                                     platform::Ui& ui) {
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  return platform::ReplaceWholeFile(path, bytes, ui, "The settings file");
}

namespace {

void WriteSettingsFile(Session& session) {
  const std::string path = SettingsPath(session);
  std::string content = SettingsFileContent(session.DataFolder);
  content += RecentInstallationLines(session.RecentInstallations);
  if (session.BrowseLayout) content += BrowseLayoutLine(*session.BrowseLayout);
  if (session.Extraction.Format != graphics::PictureFormat::Bmp) {
    content += PictureFormatLine(session.Extraction.Format);
  }
  if (auto written = ReplaceSettingsFile(path, content, session.Ui); !written) {
    session.Ui.ShowMessage(platform::JoinLines(
        {written.Reason(), "The chosen folder is used until the program ends."}));
  }
}

}  // namespace

std::optional<std::string> FolderFromSettingsLine(std::string_view line) {
  if (line.substr(0, kSettingsKey.size()) != kSettingsKey) return std::nullopt;
  return std::string(platform::TrimSpaces(line.substr(kSettingsKey.size())));
}

std::string SettingsFileContent(const std::string& dataFolder) {
  return "PFP-path = " + dataFolder + std::string(platform::kLineEnd);
}

void ReadSettings(Session& session) {
  session.SettingsFound = false;
  SetProgramFolder(session);
  MoveSettingsFileOver(session);
  const std::string path = SettingsPath(session);
  if (!platform::FileExists(path)) return;
  auto content = platform::ReadWholeFile(path);
  if (!content) {
    session.Ui.ShowMessage(platform::CannotReadMessage(path, content.Reason()));
  } else {
    const std::string text(content.Value().begin(), content.Value().end());
    platform::TextLineReader lines(text);
    session.SettingsLine = lines.AtEnd() ? std::string() : std::string(lines.Next());
    if (auto folder = FolderFromSettingsLine(session.SettingsLine)) session.DataFolder = *folder;
    while (!lines.AtEnd()) {
      const std::string_view line = lines.Next();
      if (auto layout = BrowseLayoutFromLine(line)) session.BrowseLayout = *layout;
      if (line.starts_with(kRecentInstallationKey) &&
          session.RecentInstallations.size() < kMostRecentInstallations) {
        session.RecentInstallations.emplace_back(
            platform::TrimSpaces(line.substr(kRecentInstallationKey.size())));
      }
      if (auto format = PictureFormatFromLine(line)) session.Extraction.Format = *format;
    }
  }
  session.SettingsFound = true;
}

std::string WithSettingsLine(std::string_view settings, std::string_view key,
                             const std::string& line) {
  std::string text;
  bool placed = false;
  platform::TextLineReader lines(settings);
  while (!lines.AtEnd()) {
    const std::string_view old = lines.Next();
    if (!old.starts_with(key)) {
      text += std::string(old) + std::string(platform::kLineEnd);
    } else if (!placed) {
      text += line;
      placed = true;
    }
  }
  return placed ? text : text + line;
}

void SaveSettingsLine(Session& session, std::string_view key, const std::string& line) {
  const std::string path = SettingsPath(session);
  if (!platform::FileExists(path)) return;
  auto content = platform::ReadWholeFile(path);
  if (!content) {
    session.Ui.ShowMessage(platform::CannotReadMessage(path, content.Reason()));
    return;
  }
  const std::string old(content.Value().begin(), content.Value().end());
  if (auto written = ReplaceSettingsFile(path, WithSettingsLine(old, key, line), session.Ui);
      !written) {
    session.Ui.ShowMessage(written.Reason());
  }
}

std::string PictureFormatLine(graphics::PictureFormat format) {
  return std::string(kPictureFormatKey) + " " + std::string(graphics::PictureFormatName(format)) +
         std::string(platform::kLineEnd);
}

std::optional<graphics::PictureFormat> PictureFormatFromLine(std::string_view line) {
  if (!line.starts_with(kPictureFormatKey)) return std::nullopt;
  return graphics::PictureFormatNamed(platform::TrimSpaces(line.substr(kPictureFormatKey.size())));
}

void ChoosePictureFormat(Session& session, graphics::PictureFormat format) {
  if (session.Extraction.Format == format) return;
  session.Extraction.Format = format;
  SaveSettingsLine(session, kPictureFormatKey, PictureFormatLine(format));
}

void UseDataFolder(Session& session, const std::string& dataFolder) {
  SetProgramFolder(session);
  session.DataFolder = platform::WithTrailingSeparator(dataFolder);
  session.SettingsFound = true;
}

std::string BrowseDataFolder(Session& session) {
  return session.Ui.ChooseFileToOpen(
      {kFolderDialogTitle, kFolderDialogFilter, kFolderDialogInitialName, {}});
}

namespace {

// Setup's check of a DATA folder: it exists and holds PFPDATA.IDX.
bool UsableDataFolder(const std::string& folder) {
  return platform::FolderExists(folder) && platform::FileExists(folder + "PFPDATA.IDX");
}

// The list with `folder` first and no other entry naming it.
std::vector<std::string> WithFirst(const std::vector<std::string>& folders,
                                   const std::string& folder) {
  std::vector<std::string> list{folder};
  for (const std::string& other : folders) {
    if (other != folder && list.size() < kMostRecentInstallations) list.push_back(other);
  }
  return list;
}

void SaveRecentInstallations(Session& session) {
  SaveSettingsLine(session, kRecentInstallationKey,
                   RecentInstallationLines(session.RecentInstallations));
}

}  // namespace

std::string RecentInstallationLines(const std::vector<std::string>& folders) {
  std::string lines;
  for (const std::string& folder : folders) {
    lines += std::string(kRecentInstallationKey) + " " + folder + std::string(platform::kLineEnd);
  }
  return lines;
}

void RememberInstallation(Session& session) {
  if (!session.RecentInstallations.empty() &&
      session.RecentInstallations.front() == session.DataFolder) {
    return;
  }
  session.RecentInstallations = WithFirst(session.RecentInstallations, session.DataFolder);
  SaveRecentInstallations(session);
}

bool SwitchInstallation(Session& session, const std::string& folder) {
  const std::string dataFolder = platform::WithTrailingSeparator(folder);
  if (!UsableDataFolder(dataFolder)) {
    session.Ui.ShowMessage(kShowFolderMessage);
    return false;
  }
  session.DataFolder = dataFolder;
  session.RecentInstallations = WithFirst(session.RecentInstallations, dataFolder);
  WriteSettingsFile(session);
  LoadExtIndex(session);
  return true;
}

bool OpenRecentInstallation(Session& session, std::size_t index) {
  if (index >= session.RecentInstallations.size()) return false;
  return SwitchInstallation(session, session.RecentInstallations[index]);
}

void ClearRecentInstallations(Session& session) {
  session.RecentInstallations.clear();
  SaveSettingsLine(session, kRecentInstallationKey, std::string());
}

void SetupDataFolder(Session& session) {
  // The folder used so far stays in the list, after the one chosen now.
  if (!session.DataFolder.empty()) {
    session.RecentInstallations = WithFirst(session.RecentInstallations, session.DataFolder);
  }
  while (!session.SettingsFound) {
    const std::string chosen(platform::TrimSpaces(BrowseDataFolder(session)));
    session.DataFolder = platform::FolderPart(chosen);
    if (UsableDataFolder(session.DataFolder)) {
      session.RecentInstallations = WithFirst(session.RecentInstallations, session.DataFolder);
      WriteSettingsFile(session);
      session.SettingsFound = true;
      return;
    }
    if (session.Ui.AskOkCancel(kShowFolderMessage) == platform::Answer::Ok) continue;
    if (session.Ui.AskOkCancel(kTerminateQuestion) == platform::Answer::Ok) {
      session.Terminated = true;
      return;
    }
  }
}

}  // namespace zorvane::app

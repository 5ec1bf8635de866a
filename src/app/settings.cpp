#include "app/settings.h"

#include "app/browse_layout.h"

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

void SetupDataFolder(Session& session) {
  while (!session.SettingsFound) {
    const std::string chosen(platform::TrimSpaces(BrowseDataFolder(session)));
    session.DataFolder = platform::FolderPart(chosen);
    if (platform::FolderExists(session.DataFolder) &&
        platform::FileExists(session.DataFolder + "PFPDATA.IDX")) {
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

#include "app/main_window_events.h"

#include "app/extraction_events.h"
#include "app/repack_events.h"
#include "app/settings.h"
#include "app/version.h"
#include "archive/ext_index.h"
#include "archive/member_listing.h"
#include "platform/file_transaction.h"
#include "platform/number_text.h"
#include "platform/text_lines.h"

namespace zorvane::app {

namespace {

constexpr char kInstallationTitle[] = "Installation of '.PFP' files:";
constexpr char kInstallHint[] = "To install a file use the Insert Menu.";
constexpr char kHowToHint[] =
    "To learn more about how to use this program, select the 'HowTo' in the 'Help' menu.";

archive::ArchiveChoice ChoiceOfOption(int option) {
  switch (option) {
    case 1:
      return archive::ArchiveChoice::AllArchives;
    case 2:
      return archive::ArchiveChoice::ShpArchive;
    case 3:
      return archive::ArchiveChoice::TilArchive;
    case 4:
      return archive::ArchiveChoice::PalArchive;
    default:
      return archive::ArchiveChoice::None;
  }
}

// Option1 to Option4: clear the destination choices, list, set the captions.
bool OnArchiveOptionClick(Session& session, int option) {
  MainWindowModel& window = session.Window;
  window.Option[5] = false;
  window.Option[6] = false;
  const bool listed = ListArchiveMembers(session);
  const archive::ArchiveChoiceTexts& texts = archive::TextsFor(ChoiceOfOption(option));
  window.Label1Caption = texts.Title;
  window.Label2Caption = archive::kMemberListHeader;
  window.Label3Caption = texts.Hint;
  return listed;
}

}  // namespace

std::string WindowCaption() {
  return std::string(kProductName) + ", Version: " + platform::SignedNumberText(kVersionMajor) +
         "." + platform::SignedNumberText(kVersionMinor) + "." +
         platform::SignedNumberText(kVersionRevision);
}

archive::ArchiveChoice SelectedArchiveChoice(const Session& session) {
  for (int option = 1; option <= 4; ++option) {
    if (session.Window.Option[option]) return ChoiceOfOption(option);
  }
  return archive::ArchiveChoice::None;
}

bool ClickOption(Session& session, int option) {
  auto& buttons = session.Window.Option;
  const int first = option <= 4 ? 1 : 5;
  const int last = option <= 4 ? 4 : 6;
  for (int other = first; other <= last; ++other) buttons[other] = other == option;
  if (option >= 1 && option <= 4) return OnArchiveOptionClick(session, option);
  return OnDestinationOptionClick(session, option);
}

std::optional<platform::FolderLock> LockForReading(Session& session) {
  auto lock = platform::FolderLock::Take(session.DataFolder, platform::LockMode::Shared);
  if (!lock) {
    session.Ui.ShowMessage(platform::JoinLines({lock.Reason(), "The list has not been read."}));
    return std::nullopt;
  }
  return std::move(lock).Value();
}

bool ListArchiveMembers(Session& session) {
  const auto reading = LockForReading(session);
  if (!reading) return false;
  MainWindowModel& window = session.Window;
  window.ListIndex = -1;
  return archive::ListArchiveMembers(session.DataFolder, SelectedArchiveChoice(session),
                                     session.Index, {window.List1, window.List1ToolTip},
                                     session.Ui);
}

bool LoadExtIndex(Session& session) {
  const auto reading = LockForReading(session);
  if (!reading) return false;
  const bool loaded = archive::LoadArchiveTable(session.DataFolder, session.Index, session.Ui);
  const bool listed = ListArchiveMembers(session);
  return loaded && listed;
}

bool RunStartUp(Session& session, const StartUpOptions& options,
                const BeforeListing& beforeListing) {
  MainWindowModel& window = session.Window;
  window.File1Visible = false;
  window.Frame1Visible = false;
  window.Caption = WindowCaption();
  if (options.DataFolder) {
    UseDataFolder(session, *options.DataFolder);
  } else {
    ReadSettings(session);
  }
  SetupDataFolder(session);
  if (session.Terminated) return false;
  // A change that a run ending early left unfinished is completed or undone before anything is
  // read.
  platform::RecoverInterrupted(session.ProgramFolder, session.Ui);
  if (session.SettingsFolder != session.ProgramFolder) {
    platform::RecoverInterrupted(session.SettingsFolder, session.Ui);
  }
  platform::RecoverInterrupted(session.DataFolder, session.Ui);
  if (beforeListing && !beforeListing(session)) return false;
  // Both index files are read as one program left them.
  const auto reading = LockForReading(session);
  if (!reading) return false;
  const bool firstListing = ClickOption(session, 1);
  const bool loaded = LoadExtIndex(session);
  window.Label1Caption = kInstallationTitle;
  window.Label3Caption = platform::JoinLines({kInstallHint, kHowToHint});
  window.List1Visible = false;
  window.Label2Visible = false;
  window.HeightTwips = kCompactHeightTwips;
  return firstListing && loaded;
}

void OnToggleDetails(Session& session) {
  MainWindowModel& window = session.Window;
  if (window.Detailed()) {
    window.Label1Caption = kInstallationTitle;
    window.Label3Caption = kInstallHint;
    window.HeightTwips = kCompactHeightTwips;
    window.Label2Visible = false;
    window.List1Visible = false;
    window.Frame1Visible = false;
    return;
  }
  CheckPalettes(session);
  window.Label1Caption = archive::TextsFor(archive::ArchiveChoice::AllArchives).Title;
  window.Label2Caption = archive::kMemberListHeader;
  window.Label3Caption.clear();
  window.HeightTwips = kDetailedHeightTwips;
  ClickOption(session, 1);
  window.CentreOnScreen = true;
  window.Label2Visible = true;
  window.List1Visible = true;
  window.Frame1Visible = true;
}

void OnSetupMenu(Session& session) {
  session.SettingsFound = false;
  SetupDataFolder(session);
  if (session.Terminated) return;
  LoadExtIndex(session);
}

}  // namespace zorvane::app

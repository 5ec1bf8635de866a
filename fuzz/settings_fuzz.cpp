// Feeds arbitrary bytes as the settings file Zorvane.ini to the start-up: ReadSettings takes
// the first line, FolderFromSettingsLine the DATA folder it names. The folder must come back
// unchanged through the line the program writes for it, and a start-up on a folder that lies
// inside the fuzzer's own folder (relative, no "..") must run without a dialog. A relative
// folder is taken from the fuzzer's folder, so that no other folder of the machine is read.
// Input: the whole settings file.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/main_window_events.h"
#include "app/session.h"
#include "app/settings.h"
#include "archive/index_files.h"
#include "fuzz_support.h"
#include "platform/scripted_ui.h"

namespace {

using namespace zorvane;
using fuzz::Check;

constexpr std::size_t kMaxInput = 4 * 1024;

// The fuzzer's folder: program/ for the settings file, DATA/ with a two-member installation.
const std::string& Root() {
  static const std::string root = [] {
    const std::string folder = fuzz::MakeScratchFolder("settings");
    std::filesystem::create_directory(folder + "program");
    std::filesystem::create_directory(folder + "DATA");
    const std::vector<archive::MemberRecord> members{{archive::MakeName("INTRO", '\0'), 5, 0},
                                                     {archive::MakeName("AUDIO"), 3, 0},
                                                     {archive::MakeName("", '\0'), 0, 0}};
    const std::vector<archive::ArchiveRecord> archives{
        {archive::MakeName("TXT", '\0'), 0, 1},
        {archive::MakeName("SND", '\0'), 1, 2},
        {archive::MakeName("", '\0'), 0x20202020, 0x20202020}};
    const auto memberIndex = archive::SerialiseMemberIndex(0, members);
    const auto archiveIndex = archive::SerialiseArchiveIndex(archives);
    fuzz::WriteBytes(folder + "DATA/PFPDATA.IDX", memberIndex);
    fuzz::WriteBytes(folder + "DATA/EXT.IDX", archiveIndex);
    return folder;
  }();
  return root;
}

std::string SettingsPath() {
  return Root() + "program/" + app::kSettingsFileName;
}

// The first line of the file: everything before the first CR.
std::string_view FirstLine(std::string_view text) {
  return text.substr(0, text.find('\r'));
}

// Makes the fuzzer's folder the working folder while it lives, so that a relative DATA folder
// stays inside it; the fuzzer's own relative paths hold again once it is gone.
class InsideRoot {
 public:
  InsideRoot() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Root());
  }
  ~InsideRoot() { std::filesystem::current_path(previous_); }
  InsideRoot(const InsideRoot&) = delete;
  InsideRoot& operator=(const InsideRoot&) = delete;

 private:
  std::filesystem::path previous_;
};

bool StaysInside(const std::string& folder) {
  if (folder.starts_with('/')) return false;
  std::size_t start = 0;
  while (start <= folder.size()) {
    const std::size_t end = std::min(folder.find('/', start), folder.size());
    if (folder.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The line on its own: a folder only after the exact key, without spaces at either end.
  const auto folder = app::FolderFromSettingsLine(text);
  Check(folder.has_value() == text.starts_with(app::kSettingsKey));
  if (folder) {
    Check(folder->empty() || (folder->front() != ' ' && folder->back() != ' '));
    Check(text.substr(app::kSettingsKey.size()).find(*folder) != std::string_view::npos);
  }

  // The file, read at start-up.
  fuzz::WriteBytes(SettingsPath(), text);
  platform::ScriptedUi ui;
  app::Session session(ui, Root() + "program");
  app::ReadSettings(session);
  Check(session.SettingsFound);
  Check(session.ProgramFolder == Root() + "program/");
  Check(session.SettingsLine == FirstLine(text));
  const auto named = app::FolderFromSettingsLine(session.SettingsLine);
  Check(session.DataFolder == named.value_or(""));
  Check(ui.Events().empty());

  // The line written for that folder names it again.
  if (named) {
    fuzz::WriteBytes(SettingsPath(), app::SettingsFileContent(*named));
    app::Session again(ui, Root() + "program");
    app::ReadSettings(again);
    Check(again.DataFolder == *named);
  }

  if (!StaysInside(session.DataFolder)) return 0;
  fuzz::WriteBytes(SettingsPath(), text);
  app::Session started(ui, Root() + "program");
  bool listed = false;
  {
    const InsideRoot inside;
    listed = app::RunStartUp(started);
  }
  Check(!started.Terminated);
  Check(ui.FileRequests().empty());
  Check(started.DataFolder == session.DataFolder);
  if (started.DataFolder == "DATA/") Check(listed);
  if (listed) Check(started.Index.LastRow >= 0);
  return 0;
}

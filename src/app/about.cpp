#include "app/about.h"

#include "app/version.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/start_program.h"

namespace zorvane::app {

namespace {

constexpr std::string_view kToolPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kToolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kToolFileName[] = "\\MSINFO32.EXE";

}  // namespace

void OnAboutMenu(AboutWindowModel& window) {
  window.Title = "About " + std::string(kProductName);
  window.TitleLabel = kProductName;
  window.VersionLabel = "Version " + std::to_string(kVersionMajor) + "." +
                        std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
  window.DescriptionLabel = kFileDescription;
  window.DisclaimerLabel = kLegalNotice;
  window.Visible = true;
}

void OnAboutOk(AboutWindowModel& window) {
  window = AboutWindowModel{};
}

bool GetKeyValue(RegistryRoot, std::string_view keyName, std::string_view valueName,
                 std::string& value) {
  value = platform::MachineRegistryText(keyName, valueName).value_or("");
  return !value.empty();
}

void StartSysInfo(platform::Ui& ui) {
  std::string path;
  if (GetKeyValue(RegistryRoot::LocalMachine, kToolPathKey, "PATH", path) &&
      platform::StartProgram(path)) {
    return;
  }
  if (GetKeyValue(RegistryRoot::LocalMachine, kToolFolderKey, "MSINFO", path) &&
      platform::FileExists(path + kToolFileName) && platform::StartProgram(path + kToolFileName)) {
    return;
  }
  ui.ShowMessage(kSysInfoUnavailable);
}

}  // namespace zorvane::app

#pragma once

#include <string>
#include <string_view>

#include "platform/ui.h"

// The About window: the program's name, version, description and legal notice, and the button
// that starts the system's information tool.
namespace zorvane::app {

struct AboutWindowModel {
  bool Visible = false;
  std::string Title;
  std::string TitleLabel;  // lblTitle
  std::string VersionLabel;
  std::string DescriptionLabel;
  std::string DisclaimerLabel;
};

inline constexpr char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// Help > About: loads the window afresh and shows it.
void OnAboutMenu(AboutWindowModel& window);
// OK (also Enter and Escape): closes and unloads the window.
void OnAboutOk(AboutWindowModel& window);
// System Info: starts the system's information tool, or says it is unavailable.
void StartSysInfo(platform::Ui& ui);

enum class RegistryRoot { LocalMachine };
// Reads a text value of the system's registry; false when there is none (and always where the
// system has no registry).
bool GetKeyValue(RegistryRoot root, std::string_view keyName, std::string_view valueName,
                 std::string& value);

}  // namespace zorvane::app

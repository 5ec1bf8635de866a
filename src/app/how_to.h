#pragma once

#include <array>
#include <string>
#include <string_view>

// The How-To window: eleven topics, one shown at a time. It reads no file and changes nothing
// outside itself.
namespace zorvane::app {

inline constexpr int kHowToOptionCount = 11;         // Option1 to Option11
inline constexpr int kGeneralDescriptionOption = 7;  // outside the frame of topics

struct HowToWindowModel {
  bool Loaded = false;  // made on first use; Close only hides it
  bool Visible = false;
  std::string Label1Caption;
  std::array<bool, kHowToOptionCount + 1> Option{};  // Option[1] to Option[11]
  std::string Text1;
};

std::string_view HowToOptionCaption(int option);
// The text of a topic: its lines joined with CR LF, no line end after the last.
std::string HowToTopicText(int option);

// Help > HowTo: loads the window the first time, then shows it with the topic chosen last.
void OnHowToMenu(HowToWindowModel& window);
void OnHowToLoad(HowToWindowModel& window);
void OnHowToOptionClick(HowToWindowModel& window, int option);
void OnHowToClose(HowToWindowModel& window);

}  // namespace zorvane::app

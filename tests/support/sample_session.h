#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/main_window_events.h"
#include "app/row_dispatch.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::testing {

// What the main window shows: captions, tool tip, then the option buttons 1 to 6, the
// visibility of the column header, list, frame and file list, the height and the selected row.
inline std::vector<std::string> Shown(const app::MainWindowModel& w) {
  std::string state = "options ";
  for (int option = 1; option <= 6; ++option) state += w.Option[option] ? '1' : '0';
  for (const bool visible : {w.Label2Visible, w.List1Visible, w.Frame1Visible, w.File1Visible})
    state += visible ? " shown" : " hidden";
  state += " height " + std::to_string(w.HeightTwips) + " row " + std::to_string(w.ListIndex);
  return {w.Label1Caption, w.Label2Caption, w.Label3Caption, w.List1ToolTip, state};
}

// The sample installation in a fresh DATA folder, a settings file naming it, and a session of
// the desktop program on it, not yet started.
struct SampleSession {
  SampleSession() {
    if (!sample::WriteSampleInstallation(data.Path(), {})) throw std::runtime_error("no sample");
    WriteFile(program / "Zorvane.ini", "PFP-path = " + data.Path() + "\r\n");
  }
  // Selects `option` and double-clicks the first row named `name`; false when there is none.
  bool DoubleClick(int option, const std::string& name) {
    app::ClickOption(session, option);
    const auto& rows = session.Window.List1;
    const auto row = std::find_if(rows.begin(), rows.end(), [&name](const std::string& text) {
      return text.starts_with((name + std::string(12, ' ')).substr(0, 12));
    });
    session.Window.ListIndex = row == rows.end() ? -1 : static_cast<int>(row - rows.begin());
    if (row != rows.end()) app::OnList1DoubleClick(session);
    return row != rows.end();
  }

  TempFolder program;
  TempFolder data;
  platform::ScriptedUi ui;
  app::Session session{ui, program.Path()};
};

}  // namespace zorvane::testing

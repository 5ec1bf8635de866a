#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_window_events.h"
#include "app/session.h"
#include "cli/printing_ui.h"

namespace zorvane::cli {

// What a command works with: a fresh session, started as the desktop program starts, and the
// printing Ui whose queues the command may fill before it acts.
struct CommandContext {
  app::Session& Session;
  PrintingUi& Ui;
  std::ostream& Out;
};

struct Command {
  const char* Name;
  const char* Arguments;  // for the usage text
  const char* Summary;
  // Whether the arguments are usable; a command refuses what it cannot parse before anything
  // runs.
  bool (*ArgumentsValid)(const std::vector<std::string>& args);
  // Runs the command on a started session; returns the exit code.
  int (*Run)(CommandContext& context, const std::vector<std::string>& args);
  // Whether the command changes files of the DATA folder: it then holds the folder's lock from
  // before the start-up reads it to its end, so no other program changes it in between.
  bool Changes;
  // Whether Ctrl+C stops the command (which then changes nothing); at other times it ends the
  // program.
  bool Stoppable = false;
};

// Every command of zorvane-cli, in the order of the usage text.
const std::vector<Command>& Commands();

// Prints the column header and every row of the main window's list.
void PrintList(const app::Session& session, std::ostream& out);

}  // namespace zorvane::cli

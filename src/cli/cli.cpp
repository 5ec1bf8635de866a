#include "cli/cli.h"

#include <iostream>
#include "app/main_window_events.h"
#include "app/version.h"
#include "cli/check_command.h"
#include "cli/command.h"
#include "cli/extract_command.h"
#include "cli/insert_command.h"
#include "cli/list_command.h"
#include "cli/palettes_command.h"
#include "cli/render_command.h"
#include "cli/repack_command.h"
#include "cli/restore_command.h"
#include "cli/sets_command.h"
#include "cli/stop_request.h"
#include "cli/terminal_progress.h"
#include "cli/unit_commands.h"

#include "platform/command_line.h"
#include "platform/file_transaction.h"
#include "platform/ordered_work.h"
#include "platform/program_folder.h"
#include "platform/text_lines.h"

namespace zorvane::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {"list", "[all|shp|til|pal]", "the member list, as the main window shows it",
       ListArgumentsValid, RunList, false},
      {"insert", "FILE...",
       "puts each sprite file into the game's archive in place of the member of its name",
       InsertArgumentsValid, RunInsert, true},
      {"extract", "shp|til|pal NAME... | --all [--format bmp|png|sheet]",
       "extracts the named members (or all) of one archive, as a double-click in its list does",
       ExtractArgumentsValid, RunExtract, true, true},
      {"palettes", "", "loads the 15 internal palettes, or says how to make them",
       PalettesArgumentsValid, RunPalettes, false},
      {"render", "shp|til NAME [--frame N] [--palette NAME] [--zoom 1-16] --png FILE",
       "writes one sub-image as the Browse window shows it, transparent pixels pink, as a PNG",
       RenderArgumentsValid, RunRender, false},
      {"sets", "icons|tiles",
       "the list of BMP and PNG sets waiting to be packed, as the window shows it",
       SetsArgumentsValid, RunSets, false},
      {"repack", "icons|tiles SET... | --all",
       "packs the named BMP sets (or all) into sprite files, as a double-click in their list does",
       RepackArgumentsValid, RunRepack, true, true},
      {"extract-units", "", "Extract -> UnitDescriptions: the DATA folder's EXTRACTS folder",
       ExtractUnitsArgumentsValid, RunExtractUnits, true},
      {"insert-units", "FOLDER",
       "Insert -> Insert Unitdescriptions: the extracts in FOLDER, with OLD_ backups",
       InsertUnitsArgumentsValid, RunInsertUnits, true},
      {"restore", "",
       "Insert -> Restore previous version: puts back the backups of the last insertion",
       RestoreArgumentsValid, RunRestore, true},
      {"check", "", "verifies the installation: index files, archives, members, unfinished changes",
       CheckArgumentsValid, RunCheck, false},
  };
  return commands;
}

void PrintList(const app::Session& session, std::ostream& out) {
  out << session.Window.Label2Caption << '\n';
  for (const std::string& row : session.Window.List1) out << row << '\n';
}

namespace {

// --help or --version among the options: that is printed, nothing else done.
enum class Request { Command, Help, Version };

struct Invocation {
  Request Asked = Request::Command;
  std::optional<std::string> DataFolder;
  std::optional<std::string> ProgramFolder;
  bool Quiet = false;
  unsigned Threads = 0;  // the machine's
  const Command* Chosen = nullptr;
  std::vector<std::string> Arguments;
};

// A number of threads from 1 to 64, in decimal digits only.
std::optional<unsigned> ThreadCount(const std::string& text) {
  if (text.empty() || text.size() > 2 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const auto count = static_cast<unsigned>(std::stoul(text));
  if (count < 1 || count > 64) return std::nullopt;
  return count;
}

void PrintUsage(std::ostream& err) {
  err << "usage: zorvane-cli [--data DIR] [--program-dir DIR] [--quiet] [--threads N] COMMAND "
         "[ARG...]\n"
         "       zorvane-cli --help | --version\n"
         "  --data DIR         the game's DATA folder (instead of the settings file)\n"
         "  --program-dir DIR  the folder of the settings file and the internal palettes\n"
         "  --quiet            no progress line on the terminal\n"
         "  --threads N        work on N threads (1 to 64; the machine's cores by default)\n"
         "commands:\n";
  for (const Command& command : Commands()) {
    err << "  " << command.Name << ' ' << command.Arguments << "\n      " << command.Summary
        << '\n';
  }
}

std::optional<Invocation> Parse(const std::vector<std::string>& args, std::ostream& err) {
  Invocation invocation;
  std::size_t i = 0;
  for (; i < args.size() && (args[i].starts_with("--") || args[i] == "-h"); ++i) {
    const std::string& option = args[i];
    if ((option == "--data" || option == "--program-dir") && i + 1 < args.size() &&
        !args[i + 1].empty()) {
      (option == "--data" ? invocation.DataFolder : invocation.ProgramFolder) = args[++i];
    } else if (option == "--help" || option == "-h" || option == "--version") {
      invocation.Asked = option == "--version" ? Request::Version : Request::Help;
      return invocation;
    } else if (option == "--quiet") {
      invocation.Quiet = true;
    } else if (const auto threads = option == "--threads" && i + 1 < args.size()
                                        ? ThreadCount(args[i + 1])
                                        : std::nullopt) {
      invocation.Threads = *threads;
      ++i;
    } else {
      err << "zorvane-cli: unknown option or missing value: " << option << '\n';
      return std::nullopt;
    }
  }
  if (i == args.size()) {
    err << "zorvane-cli: no command given\n";
    return std::nullopt;
  }
  for (const Command& command : Commands()) {
    if (args[i] == command.Name) invocation.Chosen = &command;
  }
  if (invocation.Chosen == nullptr) {
    err << "zorvane-cli: unknown command: " << args[i] << '\n';
    return std::nullopt;
  }
  invocation.Arguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  if (!invocation.Chosen->ArgumentsValid(invocation.Arguments)) {
    err << "zorvane-cli: wrong arguments for " << invocation.Chosen->Name << '\n';
    return std::nullopt;
  }
  return invocation;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
  const auto invocation = Parse(args, err);
  if (!invocation) {
    PrintUsage(err);
    return kExitUsage;
  }
  if (invocation->Asked == Request::Help) {
    PrintUsage(out);
    return kExitCompleted;
  }
  if (invocation->Asked == Request::Version) {
    out << "zorvane-cli " << app::VersionNumber() << '\n';
    return kExitCompleted;
  }
  platform::SetWorkThreads(invocation->Threads);
  PrintingUi ui(out);
  TerminalProgress progress(err, errIsTerminal && !invocation->Quiet);
  ui.SetProgress(&progress);
  // The default folder is only looked for (and made) when no folder is named.
  const platform::ProgramFolders folders =
      invocation->ProgramFolder
          ? platform::ProgramFolders{*invocation->ProgramFolder, *invocation->ProgramFolder}
          : platform::DefaultProgramFolders();
  app::Session session(ui, folders.Data, folders.Settings);
  // Nobody can answer the folder dialog here: should it be shown (no settings file, no
  // --data), it is cancelled, and the program ends when asked whether to.
  ui.QueueAnswer(platform::Answer::Cancel);
  ui.QueueAnswer(platform::Answer::Ok);
  std::optional<platform::FolderLock> changing;
  bool lockRefused = false;
  app::BeforeListing takeLock;
  if (invocation->Chosen->Changes) {
    takeLock = [&](app::Session& started) {
      auto lock = platform::LockForChanges(started.DataFolder, ui);
      if (!lock) {
        ui.ShowMessage(platform::JoinLines({lock.Reason(), "Nothing has been changed."}));
        lockRefused = true;
        return false;
      }
      changing.emplace(std::move(lock).Value());
      return true;
    };
  }
  const bool started = app::RunStartUp(session, {invocation->DataFolder}, takeLock);
  if (lockRefused) return kExitRefused;
  if (session.Terminated) {
    err << "zorvane-cli: no DATA folder is set up; name one with --data DIR\n";
    return kExitRefused;
  }
  ui.Clear();
  CommandContext context{session, ui, out};
  std::optional<StopWatch> stoppable;
  if (invocation->Chosen->Stoppable) stoppable.emplace();
  const int code = invocation->Chosen->Run(context, invocation->Arguments);
  return started ? code : kExitRefused;
}

int RunCliMain(int argc, char** argv) {
  HandleInterrupts();
  return RunCli(platform::ProgramArguments(argc, argv), std::cout, std::cerr,
                platform::StandardErrorIsTerminal());
}

}  // namespace zorvane::cli

#include "cli/palettes_command.h"

#include "app/extraction_events.h"

namespace zorvane::cli {

bool PalettesArgumentsValid(const std::vector<std::string>& args) {
  return args.empty();
}

int RunPalettes(CommandContext& context, const std::vector<std::string>& /*args*/) {
  if (!app::CheckPalettes(context.Session)) return kExitRefused;
  context.Out << "The 15 internal palettes have been loaded from " << context.Session.ProgramFolder
              << '\n';
  return kExitCompleted;
}

}  // namespace zorvane::cli

#include "cli/extract_command.h"

#include <map>
#include <optional>

#include "app/extraction_events.h"
#include "archive/archive_choice.h"
#include "cli/cli.h"
#include "cli/row_clicks.h"

namespace zorvane::cli {

namespace {

const std::map<std::string, int>& ExtractChoices() {
  static const std::map<std::string, int> choices{{"shp", 2}, {"til", 3}, {"pal", 4}};
  return choices;
}

const std::map<std::string, graphics::PictureFormat>& FormatChoices() {
  static const std::map<std::string, graphics::PictureFormat> choices{
      {"bmp", graphics::PictureFormat::Bmp},
      {"png", graphics::PictureFormat::Png},
      {"sheet", graphics::PictureFormat::Sheet}};
  return choices;
}

constexpr char kFormatOption[] = "--format";

// The arguments without "--format FORMAT" and the format it names; nothing when the option
// has no known format after it or is given twice.
struct ExtractArguments {
  std::vector<std::string> Rest;
  std::optional<graphics::PictureFormat> Format;
};

std::optional<ExtractArguments> SplitFormat(const std::vector<std::string>& args) {
  ExtractArguments split;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != kFormatOption) {
      split.Rest.push_back(args[i]);
      continue;
    }
    if (split.Format || i + 1 == args.size() || !FormatChoices().contains(args[i + 1])) {
      return std::nullopt;
    }
    split.Format = FormatChoices().at(args[++i]);
  }
  return split;
}

}  // namespace

bool ExtractArgumentsValid(const std::vector<std::string>& args) {
  const auto split = SplitFormat(args);
  return split && ChoiceWithNamesOrAllValid(split->Rest, ExtractChoices());
}

int RunExtract(CommandContext& context, const std::vector<std::string>& given) {
  app::Session& session = context.Session;
  const ExtractArguments split = *SplitFormat(given);
  const std::vector<std::string>& args = split.Rest;
  if (split.Format) session.Extraction.Format = *split.Format;
  app::CheckPalettes(session);
  if (!app::ClickOption(session, ExtractChoices().at(args[0]))) return kExitRefused;
  const archive::ArchiveChoice choice = app::SelectedArchiveChoice(session);

  std::string unknown;
  const auto rows = RowsNamed(
      session, args,
      [&session, choice](const std::string& name) { return RowOfMember(session, choice, name); },
      unknown);
  if (!rows) {
    context.Out << archive::TextsFor(choice).BaseName << ".PFP has no member named " << unknown
                << ". Nothing has been extracted.\n";
    return kExitRefused;
  }
  if (rows->empty()) return kExitCompleted;
  session.Window.ListIndex = rows->back();
  app::ExtractRows(session, *rows);
  if (session.Extraction.Stopped) return kExitStopped;
  return session.Extraction.Completed ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli

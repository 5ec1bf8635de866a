#include "cli/render_command.h"

#include <charconv>
#include <map>
#include <optional>

#include "app/extraction_events.h"
#include "archive/archive_choice.h"
#include "cli/row_clicks.h"
#include "graphics/member_extraction.h"
#include "graphics/member_view.h"
#include "graphics/png_file.h"
#include "graphics/rendering.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::cli {

namespace {

constexpr char kNothingRendered[] = "Nothing has been rendered.";

const std::map<std::string, graphics::MemberArchive>& RenderChoices() {
  static const std::map<std::string, graphics::MemberArchive> choices{
      {"shp", graphics::MemberArchive::Shp}, {"til", graphics::MemberArchive::Til}};
  return choices;
}

struct RenderOptions {
  graphics::MemberArchive Archive = graphics::MemberArchive::Shp;
  std::string Name;
  std::int32_t Frame = 0;
  std::optional<std::string> Palette;  // as given
  int Zoom = graphics::kSmallestZoom;
  std::string Png;
};

// The whole text as a number from `least` to `most`.
std::optional<std::int32_t> NumberIn(const std::string& text, std::int32_t least,
                                     std::int32_t most) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
    return std::nullopt;
  }
  return value;
}

std::optional<RenderOptions> ParseOptions(const std::vector<std::string>& args) {
  if (args.size() < 2 || !RenderChoices().contains(args[0]) || args[1].empty() ||
      args[1].starts_with("--")) {
    return std::nullopt;
  }
  RenderOptions options;
  options.Archive = RenderChoices().at(args[0]);
  options.Name = args[1];
  std::map<std::string, std::string> given;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 == args.size() || args[i + 1].empty() ||
        !given.emplace(args[i], args[i + 1]).second) {
      return std::nullopt;
    }
  }
  for (const auto& [option, value] : given) {
    if (option == "--frame") {
      const auto frame = NumberIn(value, 0, INT32_MAX);
      if (!frame) return std::nullopt;
      options.Frame = *frame;
    } else if (option == "--zoom") {
      const auto zoom = NumberIn(value, graphics::kSmallestZoom, graphics::kLargestZoom);
      if (!zoom) return std::nullopt;
      options.Zoom = *zoom;
    } else if (option == "--palette") {
      options.Palette = value;
    } else if (option == "--png") {
      options.Png = value;
    } else {
      return std::nullopt;
    }
  }
  if (options.Png.empty()) return std::nullopt;
  return options;
}

// One of the 15 palettes by its name in any case.
std::optional<graphics::PaletteId> PaletteCalled(const std::string& name) {
  for (std::size_t i = 0; i < graphics::kPaletteCount; ++i) {
    if (platform::EqualIgnoringCase(graphics::kPaletteNames[i], name)) {
      return static_cast<graphics::PaletteId>(i);
    }
  }
  return std::nullopt;
}

std::string UnknownPaletteMessage(const std::string& name) {
  std::string names;
  for (std::string_view known : graphics::kPaletteNames) {
    names += (names.empty() ? "" : ", ") + std::string(known);
  }
  return "There is no palette named " + name + "; the palettes are " + names + ". " +
         kNothingRendered;
}

std::string SubImageCountText(std::int32_t count) {
  return std::to_string(count) + (count == 1 ? " sub-image" : " sub-images");
}

// The sub-image as the preview shows it, or why it cannot be shown.
platform::Result<graphics::RenderedPicture> RenderedSubImage(
    const app::Session& session, const RenderOptions& options, graphics::PaletteId palette,
    const graphics::MemberLocation& member) {
  const auto view = graphics::SpriteView::Open(member);
  if (!view) return platform::Status::Failure(view.Reason());
  const std::int32_t count = view.Value()->SubImageCount();
  const std::string frame = std::to_string(options.Frame);
  if (options.Frame >= count) {
    return platform::Status::Failure(member.Name + " has " + SubImageCountText(count) +
                                     ": sub-image " + frame + " does not exist.");
  }
  const auto shown = view.Value()->Decode(options.Frame, graphics::ShowsTransparency(palette));
  if (!shown) return platform::Status::Failure(shown.Reason());
  const graphics::PixelBuffer& pixels = shown.Value().Pixels;
  graphics::RenderedPicture picture =
      graphics::RenderPicture(pixels, session.Palettes, palette, options.Zoom);
  if (picture.Width == 0) {
    return platform::Status::Failure(
        "Sub-image " + frame + " of " + member.Name + " is " + std::to_string(pixels.Width) +
        " x " + std::to_string(pixels.Height) + " pixels: at zoom " + std::to_string(options.Zoom) +
        " it would have more than " + std::to_string(graphics::kMostRenderedPixels) + " pixels.");
  }
  return picture;
}

}  // namespace

bool RenderArgumentsValid(const std::vector<std::string>& args) {
  return ParseOptions(args).has_value();
}

int RunRender(CommandContext& context, const std::vector<std::string>& args) {
  app::Session& session = context.Session;
  const RenderOptions options = *ParseOptions(args);
  const std::optional<graphics::PaletteId> palette =
      options.Palette ? PaletteCalled(*options.Palette) : graphics::PaletteForSprite(options.Name);
  if (!palette) {
    context.Ui.ShowMessage(UnknownPaletteMessage(*options.Palette));
    return kExitRefused;
  }
  if (!app::CheckPalettes(session)) return kExitRefused;
  const bool shp = options.Archive == graphics::MemberArchive::Shp;
  if (!app::ClickOption(session, shp ? 2 : 3)) return kExitRefused;
  const archive::ArchiveChoice choice = app::SelectedArchiveChoice(session);
  const auto row = RowOfMember(session, choice, options.Name);
  const std::string archiveName(graphics::ArchiveFileName(options.Archive));
  if (!row) {
    context.Ui.ShowMessage(archiveName + " has no member named " + options.Name + ". " +
                           kNothingRendered);
    return kExitRefused;
  }
  const archive::MemberRecord& record =
      archive::TableFor(session.Index, choice)[static_cast<std::size_t>(*row)];
  const graphics::MemberLocation member{session.DataFolder + archiveName, options.Name,
                                        record.Offset, record.Length};
  const auto picture = RenderedSubImage(session, options, *palette, member);
  if (!picture) {
    context.Ui.ShowMessage(platform::JoinLines({picture.Reason(), kNothingRendered}));
    return kExitRefused;
  }
  const std::string png = platform::AbsolutePath(options.Png);
  if (auto written = graphics::WritePng(png, picture.Value(), context.Ui); !written) {
    context.Ui.ShowMessage(written.Reason());
    return kExitRefused;
  }
  const int zoom = options.Zoom;
  context.Ui.ShowMessage("Sub-image " + std::to_string(options.Frame) + " of " + options.Name +
                         " (" + std::to_string(picture.Value().Width / zoom) + " x " +
                         std::to_string(picture.Value().Height / zoom) + " pixels, palette " +
                         std::string(graphics::PaletteName(*palette)) + ", zoom " +
                         std::to_string(zoom) + ") has been written to " + png + ".");
  return kExitCompleted;
}

}  // namespace zorvane::cli

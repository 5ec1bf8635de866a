// Feeds arbitrary bytes to the two readers of palettes: a palette member of PAL.PFP, extracted
// the way a double-click on its row does, and the 15 internal palette files the palette check
// loads. An exported member must give files that hold exactly its colours; a refused extraction
// or palette check must leave the tables and the files as they were.
// Input: one byte that picks the member name, two bytes of member offset (little-endian), one
// byte that picks an internal palette file to leave out (none when 15 or more), then PAL.PFP.
// Internal palette file i holds PAL.PFP from byte 16 * i on, so that a short input gives short
// files.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "graphics/act_palette_file.h"
#include "graphics/member_extraction.h"
#include "graphics/palette.h"
#include "graphics/palette_export.h"
#include "graphics/palette_state.h"
#include "platform/folder_lock.h"
#include "platform/scripted_ui.h"
#include "platform/text_lines.h"

namespace {

using namespace zorvane;
using fuzz::Bytes;
using fuzz::Check;

constexpr std::size_t kMaxInput = 16 * 1024;
constexpr std::size_t kPrefix = 4;
constexpr std::size_t kInternalFileStep = 16;

// The 15 palette names, two of them in other cases, a name of no palette (it refreshes the DAY
// table), and names that cannot be file names.
constexpr std::array<std::string_view, 22> kMemberNames{
    "DAY",     "MAIN",    "MENU2",   "TURN01U", "TURN02U", "TURN03U", "TURN04U", "TURN05U",
    "TURN06U", "TURN01J", "TURN02J", "TURN03J", "TURN04J", "TURN05J", "TURN06J", "day",
    "Menu2",   "SKY",     "",        "..",      "PAL/X",   "C:"};

struct Folders {
  std::string Data, Palettes, Program;
};

const Folders& Root() {
  static const Folders folders = [] {
    const std::string root = fuzz::MakeScratchFolder("palette");
    return Folders{root + "DATA/", root + "DATA/TOVRIN_PFP/PALETTES/", root + "program/"};
  }();
  return folders;
}

// The files in a folder, its lock file left out.
std::size_t FilesIn(const std::string& folder) {
  if (!std::filesystem::exists(folder)) return 0;
  return static_cast<std::size_t>(std::count_if(
      std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator(),
      [](const auto& entry) { return entry.path().filename() != platform::kLockFileName; }));
}

// Tables with colours of their own and Spare bytes that no exported palette leaves, so that a
// table refreshed by mistake shows.
graphics::PaletteState MarkedState() {
  graphics::PaletteState state;
  for (std::size_t t = 0; t < graphics::kPaletteCount; ++t) {
    for (std::size_t e = 0; e < graphics::kPaletteEntries; ++e) {
      const auto mark = static_cast<std::uint8_t>(t * 16 + e);
      state.PaletteTables[t][e] = {mark, mark, mark, 0x5A};
    }
  }
  state.PaletteRaw = state.PaletteTables[0];
  return state;
}

bool SameTables(const graphics::PaletteState& a, const graphics::PaletteState& b) {
  return a.PaletteTables == b.PaletteTables && a.PaletteRaw == b.PaletteRaw;
}

// The "Red Green Blue" lines of the PSP file, the 768 bytes of the ACT file and the GIMP lines
// hold the member's colours; entry 213 is pink in all only for the member named exactly DAY.
void CheckPaintProgramFiles(const std::string& name, const Bytes& member) {
  const bool pink = name == "DAY";
  const Bytes psp = fuzz::ReadBytes(Root().Palettes + graphics::PspPaletteFileName(name));
  const auto lines = platform::SplitTextLines(std::string(psp.begin(), psp.end()));
  Check(lines.size() == 3 + graphics::kPaletteEntries);
  Check(lines[0] == "JASC-PAL" && lines[1] == "0100" && lines[2] == "256");
  const Bytes act = fuzz::ReadBytes(Root().Palettes + graphics::ActPaletteFileName(name));
  Check(act.size() == graphics::kActBytes);
  const Bytes gpl = fuzz::ReadBytes(Root().Palettes + graphics::GimpPaletteFileName(name));
  std::vector<std::string> gimp(1);  // its lines end in LF alone
  for (const std::uint8_t byte : gpl) {
    if (byte == '\n') {
      gimp.emplace_back();
    } else {
      gimp.back() += static_cast<char>(byte);
    }
  }
  Check(gimp.back().empty());
  gimp.pop_back();
  Check(gimp.size() == 4 + graphics::kPaletteEntries && gimp[0] == "GIMP Palette");
  const auto threeWide = [](int value) {
    const std::string digits = std::to_string(value);
    return std::string(3 - digits.size(), ' ') + digits;
  };
  for (std::size_t i = 0; i < graphics::kPaletteEntries; ++i) {
    const bool isPink = pink && i == graphics::kTransparentIndex;
    const std::uint8_t blue = isPink ? 225 : member[4 * i];
    const std::uint8_t green = isPink ? 225 : member[4 * i + 1];
    const std::uint8_t red = isPink ? 255 : member[4 * i + 2];
    Check(lines[3 + i] ==
          std::to_string(red) + " " + std::to_string(green) + " " + std::to_string(blue));
    Check(act[3 * i] == red && act[3 * i + 1] == green && act[3 * i + 2] == blue);
    Check(gimp[4 + i] == threeWide(red) + " " + threeWide(green) + " " + threeWide(blue) +
                             "\tIndex " + std::to_string(i));
  }
}

void FuzzExtraction(std::string_view name, std::uint16_t offset, const std::uint8_t* archive,
                    std::size_t archiveSize) {
  const Folders& root = Root();
  std::filesystem::remove_all(root.Data);
  std::filesystem::remove_all(root.Program);
  std::filesystem::create_directories(root.Data);
  std::filesystem::create_directories(root.Program);
  fuzz::WriteBytes(root.Data + "PAL.PFP", {archive, archiveSize});

  const std::string memberName(name);
  graphics::PaletteState palettes = MarkedState();
  const graphics::PaletteState before = palettes;
  graphics::PictureState picture;
  graphics::ExtractionContext context;
  platform::ScriptedUi ui;
  const graphics::MemberToExtract member{graphics::MemberArchive::Pal, memberName, offset,
                                         static_cast<std::int32_t>(graphics::kPaletteBytes)};
  graphics::ExtractMember({root.Data, root.Program}, member, {context, palettes, picture}, ui);
  Check(ui.Messages().size() == 1);
  Check(!ui.Busy());

  const bool exportable = graphics::IsSafeMemberFileName(memberName) && offset < archiveSize;
  Check(context.Completed == exportable);
  if (!exportable) {
    Check(SameTables(palettes, before));
    Check(FilesIn(root.Palettes) == 0 && FilesIn(root.Program) == 0);
    return;
  }
  // The member's 1024 bytes, zeros where the archive ends.
  Bytes member1024(graphics::kPaletteBytes, 0);
  for (std::size_t i = 0; i < member1024.size() && offset + i < archiveSize; ++i) {
    member1024[i] = archive[offset + i];
  }
  CheckPaintProgramFiles(memberName, member1024);
  Check(fuzz::ReadBytes(root.Program + graphics::InternalPaletteFileName(memberName)) ==
        member1024);
  Check(FilesIn(root.Palettes) == 3 && FilesIn(root.Program) == 1);

  // Exactly one table is refreshed: the one of the name, DAY for any other name.
  const auto table = static_cast<std::size_t>(graphics::PaletteForMember(memberName));
  for (std::size_t t = 0; t < graphics::kPaletteCount; ++t) {
    if (t != table) {
      Check(palettes.PaletteTables[t] == before.PaletteTables[t]);
      continue;
    }
    for (std::size_t e = 0; e < graphics::kPaletteEntries; ++e) {
      const graphics::PaletteEntry expected =
          t == 0 && e == graphics::kTransparentIndex
              ? graphics::kTransparentPink
              : graphics::PaletteEntry{member1024[4 * e], member1024[4 * e + 1],
                                       member1024[4 * e + 2], 0};
      Check(palettes.PaletteTables[t][e] == expected);
    }
  }
}

void FuzzPaletteCheck(std::size_t leftOut, const std::uint8_t* archive, std::size_t archiveSize) {
  const Folders& root = Root();
  std::filesystem::remove_all(root.Program);
  std::filesystem::create_directories(root.Program);
  std::array<Bytes, graphics::kPaletteCount> files;
  for (std::size_t i = 0; i < graphics::kPaletteCount; ++i) {
    const std::size_t start = std::min(archiveSize, i * kInternalFileStep);
    files[i].assign(archive + start, archive + archiveSize);
    if (i == leftOut) continue;
    // The file names in lower case: the check must find them all the same.
    std::string fileName = graphics::InternalPaletteFileName(graphics::kPaletteNames[i]);
    if (i % 2 == 1) {
      for (char& c : fileName) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    fuzz::WriteBytes(root.Program + fileName, files[i]);
  }

  graphics::PaletteState palettes = MarkedState();
  const graphics::PaletteState before = palettes;
  platform::ScriptedUi ui;
  const bool loaded = graphics::CheckPalettes(root.Program, palettes, ui);
  bool loadable = leftOut >= graphics::kPaletteCount;
  for (const Bytes& file : files) loadable = loadable && file.size() >= graphics::kPaletteBytes;
  Check(loaded == loadable);
  if (!loaded) {
    Check(ui.Messages().size() == 1);
    Check(SameTables(palettes, before));
    return;
  }
  Check(ui.Events().empty());
  for (std::size_t t = 0; t < graphics::kPaletteCount; ++t) {
    for (std::size_t e = 0; e < graphics::kPaletteEntries; ++e) {
      // The colours come from the file; the Spare byte of the table stays.
      const graphics::PaletteEntry expected{files[t][4 * e], files[t][4 * e + 1],
                                            files[t][4 * e + 2], before.PaletteTables[t][e].Spare};
      Check(palettes.PaletteTables[t][e] == expected);
    }
  }
  Check(palettes.PaletteRaw == graphics::ParsePalette(files.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kPrefix || size > kMaxInput) return 0;
  const std::string_view name = kMemberNames[data[0] % kMemberNames.size()];
  const auto offset = static_cast<std::uint16_t>(data[1] | (data[2] << 8));
  const std::size_t leftOut = data[3];
  const std::uint8_t* archive = data + kPrefix;
  const std::size_t archiveSize = size - kPrefix;

  // The palette itself: 1024 bytes, zeros where the input ends, and back to the same bytes.
  const graphics::Palette palette = graphics::ParsePalette({archive, archiveSize});
  const Bytes serialised = graphics::SerialisePalette(palette);
  Check(serialised.size() == graphics::kPaletteBytes);
  for (std::size_t i = 0; i < serialised.size(); ++i) {
    Check(serialised[i] == (i < archiveSize ? archive[i] : 0));
  }

  FuzzExtraction(name, offset, archive, archiveSize);
  FuzzPaletteCheck(leftOut, archive, archiveSize);
  return 0;
}

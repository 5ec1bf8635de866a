#include "graphics/palette_export.h"

#include <array>
#include <vector>

#include "graphics/act_palette_file.h"
#include "graphics/gimp_palette_file.h"
#include "graphics/graphics_messages.h"
#include "graphics/psp_palette_file.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

std::string PspPaletteFileName(const std::string& memberName) {
  return memberName + "-palette for PSP.PAL";
}

std::string ActPaletteFileName(const std::string& memberName) {
  return memberName + "-palette for Photoshop.ACT";
}

std::string GimpPaletteFileName(const std::string& memberName) {
  return memberName + ".gpl";
}

std::string InternalPaletteFileName(std::string_view paletteName) {
  return std::string(paletteName) + ".RGB";
}

std::string MissingPalettesMessage() {
  return platform::JoinLines(
      {"The program need to generate internal palettes from your PacGen installation,",
       "to be able to work correct with icons and Tiles.",
       "To make these palettes, click the 'Toggle Details' button,",
       "Click the 'PAL.PFP' option and doubleclick each of the palettefiles in the list.",
       "Doing this you will get palettes for Photoshop and PaintShopPro generated, and this "
       "message will no longer appear."});
}

namespace {

struct PendingFile {
  std::string Path;  // as formed, for messages
  std::vector<std::uint8_t> Bytes;
  platform::Durability Durability;
};

// Writes every file whole under a temporary name first and puts them in place together, so
// that a failure anywhere leaves the earlier versions of all of them as they were.
bool WriteAll(const platform::FolderLock& lock, const std::vector<PendingFile>& files,
              platform::Ui& ui) {
  platform::FileTransaction replacement(lock);
  for (const PendingFile& file : files) {
    const auto write = [&file](platform::SafeFileWriter& out) { return out.Write(file.Bytes); };
    if (auto staged = replacement.StageWritten(file.Path, std::string(), write, file.Durability);
        !staged) {
      ui.ShowMessage(CannotWriteMessage(file.Path, staged.Reason()));
      return false;
    }
  }
  if (auto committed = replacement.Commit(); !committed) {
    ui.ShowMessage(committed.FailureMessage(NothingReplacedMessage(committed.Outcome.Reason())));
    return false;
  }
  return true;
}

std::vector<std::uint8_t> BytesOf(const std::string& text) {
  return {text.begin(), text.end()};
}

}  // namespace

bool ExportPalette(const platform::FolderLock& dataLock, const std::string& programFolder,
                   const ExtractionContext& context, PaletteState& palettes, platform::Ui& ui) {
  // The internal palette goes to the program folder, which has a lock of its own.
  const auto programLock = platform::LockForChanges(programFolder, ui);
  if (!programLock) {
    ui.ShowMessage(platform::JoinLines({programLock.Reason(), "Nothing has been extracted."}));
    return false;
  }
  const std::string& name = context.MemberName;
  // The paint programs see the transparent colour only in the palette named exactly DAY.
  const bool pink = name == PaletteName(PaletteId::Day);
  const std::vector<PendingFile> files{
      {context.ExtractFolder + PspPaletteFileName(name),
       BytesOf(PspPaletteText(palettes.PaletteRaw, pink)), platform::Durability::Unsynced},
      {context.ExtractFolder + ActPaletteFileName(name), ActPaletteBytes(palettes.PaletteRaw, pink),
       platform::Durability::Unsynced},
      {context.ExtractFolder + GimpPaletteFileName(name),
       BytesOf(GimpPaletteText(name, palettes.PaletteRaw, pink)), platform::Durability::Unsynced},
      {programFolder + InternalPaletteFileName(name), SerialisePalette(palettes.PaletteRaw),
       platform::Durability::Synced},
  };
  if (!WriteAll(dataLock, files, ui)) return false;
  RefreshPaletteTable(palettes, PaletteForMember(name), palettes.PaletteRaw);
  ui.ShowMessage(platform::JoinLines(
      {name + "-palettes for Adobe Photoshop and PaintShopPro has been created in ",
       context.ExtractFolder,
       name + "-palette for GIMP has been created as " + GimpPaletteFileName(name) +
           " in the same folder."}));
  return true;
}

bool CheckPalettes(const std::string& programFolder, PaletteState& palettes, platform::Ui& ui) {
  for (std::string_view name : kPaletteNames) {
    if (!platform::FileExists(programFolder + InternalPaletteFileName(name))) {
      ui.ShowMessage(MissingPalettesMessage());
      return false;
    }
  }
  std::array<Palette, kPaletteCount> loaded;
  for (std::size_t i = 0; i < kPaletteCount; ++i) {
    const std::string path = programFolder + InternalPaletteFileName(kPaletteNames[i]);
    auto bytes = platform::ReadWholeFile(path);
    if (bytes && bytes.Value().size() < kPaletteBytes) {
      bytes = platform::Status::Failure("it holds " + std::to_string(bytes.Value().size()) +
                                        " bytes instead of " + std::to_string(kPaletteBytes));
    }
    if (!bytes) {
      ui.ShowMessage(platform::CannotReadMessage(path, bytes.Reason()) +
                     std::string(platform::kLineEnd) + MissingPalettesMessage());
      return false;
    }
    loaded[i] = ParsePalette(bytes.Value());
  }
  for (std::size_t i = 0; i < kPaletteCount; ++i) {
    Palette& table = palettes.PaletteTables[i];
    // Only the colours are taken; the Spare bytes of the table stay as they are.
    for (std::size_t e = 0; e < kPaletteEntries; ++e) {
      table[e].Blue = loaded[i][e].Blue;
      table[e].Green = loaded[i][e].Green;
      table[e].Red = loaded[i][e].Red;
    }
  }
  palettes.PaletteRaw = loaded.back();
  return true;
}

}  // namespace zorvane::graphics

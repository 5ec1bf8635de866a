#include "graphics/bmp_repack.h"

#include <new>
#include <optional>

#include "graphics/bmp_reader.h"
#include "graphics/graphics_messages.h"
#include "graphics/palette_export.h"
#include "graphics/png_repack.h"
#include "graphics/sprite_packer.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

constexpr char kShpExtension[] = ".SHP";

// Reads and codes every BMP of the set in order; nothing when a file is refused (after its
// message).
bool PackBmpFiles(const std::vector<std::string>& files, const std::string& resolvedFolder,
                  const std::string& bmpFolder, const std::string& spriteFile, bool useTransparency,
                  PictureState& picture, SpritePacker& packer, platform::Ui& ui) {
  for (const std::string& name : files) {
    const auto file = platform::InputFile::OpenResolved(resolvedFolder + name);
    if (!file || !ReadBmpFile(file.Value(), picture.BmpHeader, picture.PixelBuffer)) {
      ui.ShowMessage(NotA256ColourBmpMessage(bmpFolder + name));
      return false;
    }
    if (!packer.Add(picture.PixelBuffer, useTransparency)) {
      ui.ShowMessage(SpriteFileTooLargeMessage(spriteFile));
      return false;
    }
  }
  return true;
}

// Reads and codes the files of the set, BMP or PNG; nothing when a file is refused (after its
// message).
std::optional<SpritePacker> PackFiles(const RepackRequest& request, const FilesOfSet& set,
                                      const std::string& bmpFolder, const std::string& setName,
                                      const std::string& spriteFile, PaletteState& palettes,
                                      PictureState& picture, platform::Ui& ui) {
  SpritePacker packer;
  // The names come from a listing of this folder: only the folder needs resolving.
  const std::string resolvedFolder =
      platform::WithTrailingSeparator(platform::ResolvePath(bmpFolder));
  if (set.Format == PictureFormat::Bmp) {
    if (!PackBmpFiles(set.Files, resolvedFolder, bmpFolder, spriteFile, palettes.UseTransparency,
                      picture, packer, ui)) {
      return std::nullopt;
    }
    return packer;
  }
  if (!CheckPalettes(request.ProgramFolder, palettes, ui)) return std::nullopt;
  const PaletteId palette = PaletteForSprite(setName);
  const Palette colours = BmpColours(palettes, palette);
  const PngMapping mapping{colours, PaletteName(palette), palettes.UseTransparency};
  if (!PackPngSet({set.Files, set.Format, resolvedFolder, bmpFolder}, mapping, spriteFile,
                  picture.PixelBuffer, packer, ui)) {
    return std::nullopt;
  }
  return packer;
}

// The failure's reason is the whole message to show.
platform::Status WriteSpriteFile(const platform::FolderLock& lock, const std::string& path,
                                 const SpritePacker& packer) {
  platform::FileTransaction transaction(lock);
  const auto write = [&packer](platform::SafeFileWriter& out) {
    if (auto written = out.Write(packer.HeaderAndTable()); !written) return written;
    return out.Write(packer.PackBuffer());
  };
  if (auto staged =
          transaction.StageWritten(path, std::string(), write, platform::Durability::Unsynced);
      !staged) {
    return platform::Status::Failure(CannotWriteMessage(path, staged.Reason()));
  }
  if (auto committed = transaction.Commit(); !committed) {
    return platform::Status::Failure(
        committed.FailureMessage(CannotWriteMessage(path, committed.Outcome.Reason())));
  }
  return platform::Status::Success();
}

// Lists, reads, codes and writes under the busy pointer, keeping the listing in `listed`;
// returns whether the file was written.
bool PackAndWrite(const platform::FolderLock& lock, const RepackRequest& request,
                  const std::string& setName, const std::string& folder,
                  const std::string& spriteFile, std::optional<ListedBmpFiles>& listed,
                  PaletteState& palettes, PictureState& picture, platform::Ui& ui) {
  platform::BusyPointer busy(ui);
  SetFolderListing listing = ListSetFolder(folder + "BMPFILES", setName);
  listed = std::move(listing.Bmps);
  const FilesOfSet set = FindFilesOfSet(listing.Names, setName);
  if (set.Mixed) {
    ui.ShowMessage(MixedSetMessage(setName, listed->Folder));
    return false;
  }
  if (set.Files.empty()) {
    ui.ShowMessage(NoFilesOfSetMessage(setName, listed->Folder));
    return false;
  }
  const std::string bmpFolder = listed->Folder + platform::kSeparator;
  const auto packer =
      PackFiles(request, set, bmpFolder, setName, spriteFile, palettes, picture, ui);
  if (!packer) return false;
  if (auto written = WriteSpriteFile(lock, spriteFile, *packer); !written) {
    ui.ShowMessage(written.Reason());
    return false;
  }
  return true;
}

}  // namespace

bool SetUsesTransparency(RepackDestination destination, std::string_view setName) {
  return destination == RepackDestination::Tiles || PaletteForSprite(setName) == PaletteId::Day;
}

FilesOfSet FindFilesOfSet(const std::vector<std::string>& fileNames, std::string_view setName) {
  const std::string wanted = platform::UpperCase(setName);
  FilesOfSet set;
  for (const std::string& name : fileNames) {
    const auto file = SetFileOf(name);
    if (!file || file->Set != wanted) continue;
    if (set.Files.empty()) set.Format = file->Format;
    if (file->Format != set.Format || (set.Format == PictureFormat::Sheet && !set.Files.empty())) {
      return {{}, set.Format, true};
    }
    set.Files.push_back(name);
  }
  return set;
}

std::optional<ListedBmpFiles> RepackBmpSet(const RepackRequest& request, RepackContext& repack,
                                           PaletteState& palettes, PictureState& picture,
                                           platform::Ui& shown) {
  // The messages wait until the lock, taken below, is let go.
  platform::MessagesAfterUnlock ui(shown);
  repack.Completed = false;
  const std::string setName = platform::UpperCase(SetNameOfRow(request.Row));
  palettes.UseTransparency = SetUsesTransparency(request.Destination, setName);
  if (setName.size() > kMaxSetName) {
    ui.ShowMessage(SetNameTooLongMessage(setName));
    return std::nullopt;
  }
  // Before the first listing no folder is chosen: the destination's own is the only sound one.
  const std::string folder =
      request.DataFolder +
      (repack.RepackFolder.empty() ? RepackFolderOf(request.Destination) : repack.RepackFolder);
  const std::string spriteFile = folder + setName + kShpExtension;
  // One program changes the installation at a time, from before the set is listed to the end.
  const auto lock = platform::LockForChanges(request.DataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), "No SHP file made."}));
    return std::nullopt;
  }
  std::optional<ListedBmpFiles> listed;
  try {
    if (!PackAndWrite(lock.Value(), request, setName, folder, spriteFile, listed, palettes, picture,
                      ui)) {
      return listed;
    }
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(platform::NotEnoughMemoryMessage("convert the BMP files of " + setName) +
                   " No SHP file made.");
    return listed;
  }
  repack.Completed = true;
  ui.ShowMessage(RepackedMessage(spriteFile));
  return listed;
}

std::string NotA256ColourBmpMessage(const std::string& path) {
  return platform::JoinLines(
      {"File: " + path, "is NOT a 256 color, uncompressed  BMP file. Conversion aborted."});
}

std::string RepackedMessage(const std::string& spriteFile) {
  return platform::JoinLines({"The files has been converted and saved as: ", spriteFile,
                              "To insert the file into your PacGen installation use the "
                              "'Insert' menu.",
                              "", "The file " + spriteFile,
                              "can be distributed to other installations, where it can be "
                              "inserted by this tool."});
}

std::string NoFilesOfSetMessage(std::string_view setName, const std::string& folder) {
  return platform::JoinLines(
      {"There are no BMP files of the set " + std::string(setName) + " in the folder:", folder,
       "No SHP file made."});
}

std::string SetNameTooLongMessage(std::string_view shownName) {
  return platform::JoinLines(
      {"The BMP files of the set " + std::string(shownName) +
           " cannot be converted: the name of a SHP file has at most 8 characters.",
       "Rename them NAME_00000.BMP, NAME_00001.BMP, ... with a NAME of 8 characters or fewer."});
}

std::string MixedSetMessage(std::string_view setName, const std::string& folder) {
  return platform::JoinLines(
      {"The set " + std::string(setName) + " has files of more than one kind in the folder:",
       folder,
       "Keep either its BMP files, or its PNG files, or its one PNG sheet, and move the others "
       "away. No SHP file made."});
}

std::string SpriteFileTooLargeMessage(const std::string& spriteFile) {
  return platform::JoinLines(
      {"The BMP files make a SHP file larger than 2 GB, which the SHP format cannot hold:",
       spriteFile, "No SHP file made."});
}

}  // namespace zorvane::graphics

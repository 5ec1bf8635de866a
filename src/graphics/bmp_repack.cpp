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
#include "platform/held_messages.h"
#include "platform/messages_after_unlock.h"
#include "platform/number_text.h"
#include "platform/ordered_work.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

constexpr char kShpExtension[] = ".SHP";

// How far a repack of many files is: each file packed is a step of its progress.
struct RepackRun {
  std::uint64_t Done = 0;
  std::uint64_t Total = 0;
  bool Stopped = false;
};

// A BMP as a worker read it.
struct ReadPicture {
  bool Valid = false;
  PixelBuffer Pixels;
};

// Reads the BMPs of the set on WorkThreads() threads and codes them in order; nothing when a
// file is refused (after its message) or the user asked to stop (run.Stopped).
bool PackBmpFiles(const std::vector<std::string>& files, const std::string& resolvedFolder,
                  const std::string& bmpFolder, const std::string& spriteFile, bool useTransparency,
                  SpritePacker& packer, platform::Ui& ui, RepackRun& run) {
  std::vector<BmpHeader> headers(platform::WorkThreads());
  platform::Progress& progress = ui.WorkProgress();
  const std::string what = "Packing " + platform::FileNamePart(spriteFile);
  return platform::ProduceInOrder<ReadPicture>(
      files.size(),
      [&](unsigned worker, std::size_t item) {
        ReadPicture read;
        const auto file = platform::InputFile::OpenResolved(resolvedFolder + files[item]);
        read.Valid = file && ReadBmpFile(file.Value(), headers[worker], read.Pixels);
        return read;
      },
      [&](std::size_t item, ReadPicture& read) {
        if (!read.Valid) {
          ui.ShowMessage(NotA256ColourBmpMessage(bmpFolder + files[item]));
          return false;
        }
        if (!packer.Add(read.Pixels, useTransparency)) {
          ui.ShowMessage(SpriteFileTooLargeMessage(spriteFile));
          return false;
        }
        progress.Report(what, ++run.Done, run.Total);
        run.Stopped = progress.StopRequested();
        return !run.Stopped;
      });
}

// Reads and codes the files of the set, BMP or PNG; nothing when a file is refused (after its
// message) or the user asked to stop.
std::optional<SpritePacker> PackFiles(const RepackRequest& request, const FilesOfSet& set,
                                      const std::string& bmpFolder, const std::string& setName,
                                      const std::string& spriteFile, PaletteState& palettes,
                                      PictureState& picture, platform::Ui& ui, RepackRun& run) {
  SpritePacker packer;
  // The names come from a listing of this folder: only the folder needs resolving.
  const std::string resolvedFolder =
      platform::WithTrailingSeparator(platform::ResolvePath(bmpFolder));
  if (set.Format == PictureFormat::Bmp) {
    if (!PackBmpFiles(set.Files, resolvedFolder, bmpFolder, spriteFile, palettes.UseTransparency,
                      packer, ui, run)) {
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
  run.Done += set.Files.size();
  ui.WorkProgress().Report("Packing " + platform::FileNamePart(spriteFile), run.Done, run.Total);
  run.Stopped = ui.WorkProgress().StopRequested();
  if (run.Stopped) return std::nullopt;
  return packer;
}

// One set of the change: its name, sprite file and files.
struct SetToPack {
  std::string Name;
  std::string SpriteFile;
  FilesOfSet Files;
  std::optional<std::string> Refusal;
};

SetToPack FindSet(const std::string& row, const std::string& folder,
                  const SetFolderListing& listing) {
  SetToPack set;
  set.Name = platform::UpperCase(SetNameOfRow(row));
  set.SpriteFile = folder + set.Name + kShpExtension;
  if (set.Name.size() > kMaxSetName) {
    set.Refusal = SetNameTooLongMessage(set.Name);
    return set;
  }
  set.Files = FindFilesOfSet(listing.Names, set.Name);
  if (set.Files.Mixed) {
    set.Refusal = MixedSetMessage(set.Name, listing.Bmps.Folder);
  } else if (set.Files.Files.empty()) {
    set.Refusal = NoFilesOfSetMessage(set.Name, listing.Bmps.Folder);
  }
  return set;
}

// Lists the folder, then reads, codes and stages every set under the busy pointer, and puts
// the sprite files in place together; keeps the listing in `listed`.
void PackAndWrite(const platform::FolderLock& lock, const RepackRequest& request,
                  const std::string& folder, std::optional<ListedBmpFiles>& listed,
                  RepackContext& repack, PaletteState& palettes, PictureState& picture,
                  platform::Ui& shown) {
  platform::BusyPointer busy(shown);
  const bool one = request.Rows.size() == 1;
  const SetFolderListing listing = ListSetFolder(
      folder + "BMPFILES", one ? platform::UpperCase(SetNameOfRow(request.Rows[0])) : "");
  listed = listing.Bmps;
  std::vector<SetToPack> sets;
  RepackRun run;
  for (const std::string& row : request.Rows) {
    sets.push_back(FindSet(row, folder, listing));
    if (!sets.back().Refusal) run.Total += sets.back().Files.Files.size();
  }
  const std::string bmpFolder = listed->Folder + platform::kSeparator;
  platform::HeldMessages ui(shown);
  platform::FileTransaction files(lock);
  bool all = true;
  for (const SetToPack& set : sets) {
    palettes.UseTransparency = SetUsesTransparency(request.Destination, set.Name);
    if (set.Refusal) {
      ui.ShowMessage(*set.Refusal);
      all = false;
      continue;
    }
    const auto packer = PackFiles(request, set.Files, bmpFolder, set.Name, set.SpriteFile,
                                  palettes, picture, ui, run);
    if (run.Stopped) {
      repack.Stopped = true;
      ui.Forget();
      shown.ShowMessage(platform::kStoppedMessage);
      return;
    }
    if (!packer) {
      all = false;
      continue;
    }
    const auto write = [&packer](platform::SafeFileWriter& out) {
      if (auto written = out.Write(packer->HeaderAndTable()); !written) return written;
      return out.Write(packer->PackBuffer());
    };
    if (auto staged = files.StageWritten(set.SpriteFile, std::string(), write,
                                         platform::Durability::Unsynced);
        !staged) {
      ui.Show(false);
      shown.ShowMessage(CannotWriteMessage(set.SpriteFile, staged.Reason()));
      return;
    }
    ui.AddSummary(RepackedMessage(set.SpriteFile));
  }
  if (auto committed = files.Commit(); !committed) {
    ui.Show(false);
    const std::string& first = sets.front().SpriteFile;
    shown.ShowMessage(
        committed.FailureMessage(CannotWriteMessage(first, committed.Outcome.Reason())));
    return;
  }
  ui.Show(true);
  repack.Completed = all;
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

std::optional<ListedBmpFiles> RepackBmpSets(const RepackRequest& request, RepackContext& repack,
                                            PaletteState& palettes, PictureState& picture,
                                            platform::Ui& shown) {
  // The messages wait until the lock, taken below, is let go.
  platform::MessagesAfterUnlock ui(shown);
  repack.Completed = false;
  repack.Stopped = false;
  if (request.Rows.empty()) return std::nullopt;
  // A single set too long a name is refused before anything is looked at.
  if (request.Rows.size() == 1) {
    const std::string setName = platform::UpperCase(SetNameOfRow(request.Rows[0]));
    palettes.UseTransparency = SetUsesTransparency(request.Destination, setName);
    if (setName.size() > kMaxSetName) {
      ui.ShowMessage(SetNameTooLongMessage(setName));
      return std::nullopt;
    }
  }
  // Before the first listing no folder is chosen: the destination's own is the only sound one.
  const std::string folder =
      request.DataFolder +
      (repack.RepackFolder.empty() ? RepackFolderOf(request.Destination) : repack.RepackFolder);
  // One program changes the installation at a time, from before the sets are listed to the end.
  const auto lock = platform::LockForChanges(request.DataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), "No SHP file made."}));
    return std::nullopt;
  }
  std::optional<ListedBmpFiles> listed;
  try {
    PackAndWrite(lock.Value(), request, folder, listed, repack, palettes, picture, ui);
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(platform::NotEnoughMemoryMessage("convert the BMP files of " +
                                                    platform::UpperCase(SetNameOfRow(
                                                        request.Rows.front()))) +
                   " No SHP file made.");
  }
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

#include "graphics/member_extraction.h"

#include <new>

#include "graphics/graphics_messages.h"
#include "graphics/palette_export.h"
#include "platform/copy_range.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

using platform::NativeRelative;

constexpr char kRootFolder[] = "TOVRIN_PFP\\";
constexpr char kShpExtension[] = ".SHP";

struct MemberFolders {
  const char* Extract;  // relative to the DATA folder
  const char* Bmp;
};

MemberFolders FoldersOf(MemberArchive archive) {
  switch (archive) {
    case MemberArchive::Shp:
      return {"TOVRIN_PFP\\ICONS\\", "TOVRIN_PFP\\ICONS\\BMPFILES\\"};
    case MemberArchive::Til:
      return {"TOVRIN_PFP\\TILES\\", "TOVRIN_PFP\\TILES\\BMPFILES\\"};
    case MemberArchive::Pal:
      break;
  }
  return {"TOVRIN_PFP\\PALETTES\\", nullptr};
}

bool MakeFolder(const std::string& path, platform::Ui& ui) {
  if (auto made = platform::CreateFolder(path); !made) {
    ui.ShowMessage(CannotCreateFolderMessage(path, made.Reason()));
    return false;
  }
  return true;
}

// Opens the archive and checks that the member's bytes lie in it; shows why not otherwise.
std::optional<platform::InputFile> OpenMemberArchive(const MemberToExtract& member,
                                                     const std::string& archivePath,
                                                     platform::Ui& ui) {
  auto archive = platform::InputFile::Open(archivePath);
  if (!archive) {
    ui.ShowMessage(platform::CannotReadMessage(archivePath, archive.Reason()));
    return std::nullopt;
  }
  const auto length = static_cast<std::int64_t>(archive.Value().Length());
  // A palette takes 1024 bytes whatever its Length says, and is padded with zeros where the
  // archive ends; it must start inside the archive.
  const bool inside = member.Archive == MemberArchive::Pal
                          ? member.Offset >= 0 && member.Offset < length
                          : member.Offset >= 0 && member.Length >= 0 &&
                                std::int64_t{member.Offset} + member.Length <= length;
  if (!inside) {
    ui.ShowMessage(MemberOutsideArchiveMessage(member, archivePath, archive.Value().Length()));
    return std::nullopt;
  }
  return std::move(archive).Value();
}

// The .SHP file and its BMPs are written whole under temporary names and put in place together
// at the end, so that a failure anywhere leaves every earlier file of the member as it was. The
// BMPs are converted from the member's bytes in the archive, the same bytes the .SHP receives.
void ExtractSprite(const platform::FolderLock& lock, const MemberToExtract& member,
                   const platform::InputFile& archive, const std::string& archivePath,
                   GraphicsState state, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  if (!MakeFolder(context.ExtractFolder, ui) || !MakeFolder(context.BmpFolder, ui)) return;
  platform::FileTransaction files(lock);
  const std::string shpPath = context.ExtractFolder + context.MemberName + context.MemberExtension;
  const auto copy = [&](platform::SafeFileWriter& out) {
    return platform::CopyRange(archive, static_cast<std::uint64_t>(member.Offset),
                               static_cast<std::uint64_t>(member.Length), out);
  };
  if (auto staged =
          files.StageWritten(shpPath, std::string(), copy, platform::Durability::Unsynced);
      !staged) {
    ui.ShowMessage(CannotWriteMessage(shpPath, staged.Reason()));
    return;
  }
  const ShpFileReader reader(archive, static_cast<std::uint64_t>(member.Offset),
                             static_cast<std::uint64_t>(member.Length));
  if (!StageShpConversion(reader, archivePath, state, files, ui)) return;
  if (auto committed = files.Commit(); !committed) {
    ui.ShowMessage(committed.FailureMessage(NothingReplacedMessage(committed.Outcome.Reason())));
    return;
  }
  if (context.ShpRejected) return;
  ui.ShowMessage(ExtractionSummary(context));
  context.Completed = true;
}

void ExtractPalette(const platform::FolderLock& lock, const std::string& programFolder,
                    const MemberToExtract& member, const platform::InputFile& archive,
                    const std::string& archivePath, GraphicsState state, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  std::array<std::uint8_t, kPaletteBytes> bytes{};
  if (auto read = archive.ReadSomeAt(static_cast<std::uint64_t>(member.Offset), bytes); !read) {
    ui.ShowMessage(platform::CannotReadMessage(archivePath, read.Reason()));
    return;
  }
  if (!MakeFolder(context.ExtractFolder, ui)) return;
  state.Palettes.PaletteRaw = ParsePalette(bytes);
  context.Completed = ExportPalette(lock, programFolder, context, state.Palettes, ui);
}

}  // namespace

std::string_view ArchiveFileName(MemberArchive archive) {
  switch (archive) {
    case MemberArchive::Shp:
      return "SHP.PFP";
    case MemberArchive::Til:
      return "TIL.PFP";
    case MemberArchive::Pal:
      break;
  }
  return "PAL.PFP";
}

std::string ExtractedSpritePath(const std::string& dataFolder, MemberArchive archive,
                                std::string_view name) {
  return dataFolder + NativeRelative(FoldersOf(archive).Extract) + std::string(name) +
         kShpExtension;
}

bool IsSafeMemberFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string_view::npos;
}

std::string CannotFindArchiveMessage(const std::string& archivePath) {
  return "I cannot find the file: " + archivePath + std::string(platform::kLineEnd) +
         "This file MUST be in the DATA folder of your game. Check your settings for this "
         "program.";
}

std::string UnsafeMemberNameMessage(std::string_view name) {
  return "The member name '" + std::string(name) +
         "' cannot be used as a file name, because it is empty or names a folder. Nothing has "
         "been extracted.";
}

std::string MemberOutsideArchiveMessage(const MemberToExtract& member,
                                        const std::string& archivePath,
                                        std::uint64_t archiveLength) {
  const std::int64_t length =
      member.Archive == MemberArchive::Pal ? std::int64_t{kPaletteBytes} : member.Length;
  return "The file: " + member.Name + " cannot be extracted: its " + std::to_string(length) +
         " bytes at offset " + std::to_string(member.Offset) + " do not lie in " + archivePath +
         ", which holds " + std::to_string(archiveLength) + " bytes." +
         std::string(platform::kLineEnd) + "The index of your game does not match its archive.";
}

std::string ExtractionSummary(const ExtractionContext& context) {
  const std::string& name = context.MemberName;
  const std::string emptyLine = std::string(platform::kLineEnd) + std::string(platform::kLineEnd);
  const std::string extracted = context.ExtractFolder + name + context.MemberExtension;
  const std::string count = std::to_string(context.ImageIndex);
  if (context.Format == PictureFormat::Sheet) {
    return platform::JoinLines({"The File: " + name, "Has been extracted to:", extracted,
                                "and converted to the sheet.", context.BmpFolder + name + ".PNG",
                                "Total number of sub-images in " + name + ".SHP is " + count},
                               emptyLine);
  }
  const std::string kind(PictureExtension(context.Format).substr(1));
  return platform::JoinLines(
      {"The File: " + name, "Has been extracted to:", extracted, "and converted to.",
       context.BmpFolder + name + "_xxxxx." + kind, "Where xxxxx is the iconnumber inside " + name,
       "Total number of " + kind + "s in " + name + ".SHP is " + count},
      emptyLine);
}

void ExtractMember(const ExtractionFolders& folders, const std::optional<MemberToExtract>& member,
                   GraphicsState state, platform::Ui& shown) {
  platform::BusyPointer busy(shown);
  ExtractionContext& context = state.Extraction;
  context.Completed = false;
  // One program changes the installation at a time, from before the first check to the end.
  // The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(folders.DataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), "Nothing has been extracted."}));
    return;
  }
  if (!MakeFolder(folders.DataFolder + NativeRelative(kRootFolder), ui) || !member) return;

  const std::string archivePath =
      folders.DataFolder + std::string(ArchiveFileName(member->Archive));
  if (!platform::FileExists(archivePath)) {
    ui.ShowMessage(CannotFindArchiveMessage(archivePath));
    return;
  }
  const MemberFolders relative = FoldersOf(member->Archive);
  context.ExtractFolder = folders.DataFolder + NativeRelative(relative.Extract);
  if (relative.Bmp != nullptr) {
    context.MemberExtension = kShpExtension;
    context.BmpFolder = folders.DataFolder + NativeRelative(relative.Bmp);
  }
  context.MemberName = member->Name;
  if (!IsSafeMemberFileName(member->Name)) {
    ui.ShowMessage(UnsafeMemberNameMessage(member->Name));
    return;
  }
  try {
    const auto archive = OpenMemberArchive(*member, archivePath, ui);
    if (!archive) return;
    if (member->Archive == MemberArchive::Pal) {
      ExtractPalette(lock.Value(), folders.ProgramFolder, *member, *archive, archivePath, state,
                     ui);
    } else {
      ExtractSprite(lock.Value(), *member, *archive, archivePath, state, ui);
    }
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(platform::NotEnoughMemoryMessage("extract " + member->Name));
  }
}

}  // namespace zorvane::graphics

#include "graphics/member_extraction.h"

#include <algorithm>
#include <new>
#include <set>

#include "graphics/graphics_messages.h"
#include "graphics/palette_export.h"
#include "platform/copy_range.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/held_messages.h"
#include "platform/messages_after_unlock.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

using platform::NativeRelative;

constexpr char kRootFolder[] = "TOVRIN_PFP\\";
constexpr char kShpExtension[] = ".SHP";
// The most files an extraction makes room for in advance (it stages more when there are).
constexpr std::uint64_t kMostFilesReserved = 1 << 20;

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

// The folders an extraction makes, so that a stopped one can take them away again.
class MadeFolders {
 public:
  bool Make(const std::string& path, platform::Ui& ui) {
    const bool existed = platform::FolderExists(path);
    if (auto made = platform::CreateFolder(path); !made) {
      ui.ShowMessage(CannotCreateFolderMessage(path, made.Reason()));
      return false;
    }
    if (!existed) made_.push_back(path);
    return true;
  }
  // Removes the folders made, newest first, where they are still empty.
  void RemoveAll() {
    for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) {
      platform::RemoveEmptyFolder(*folder);
    }
    made_.clear();
  }

 private:
  std::vector<std::string> made_;
};

// The folders of a member's archive below the DATA folder, set in the context.
void SetMemberFolders(const std::string& dataFolder, MemberArchive archive,
                      ExtractionContext& context) {
  const MemberFolders relative = FoldersOf(archive);
  context.ExtractFolder = dataFolder + NativeRelative(relative.Extract);
  if (relative.Bmp != nullptr) {
    context.MemberExtension = kShpExtension;
    context.BmpFolder = dataFolder + NativeRelative(relative.Bmp);
  }
}

// Why a member cannot be extracted: its name cannot be a file name, or its bytes do not lie in
// the archive; nothing when it can.
std::optional<std::string> MemberRefusal(const MemberToExtract& member,
                                         const std::string& archivePath,
                                         std::uint64_t archiveLength) {
  if (!IsSafeMemberFileName(member.Name)) return UnsafeMemberNameMessage(member.Name);
  const auto length = static_cast<std::int64_t>(archiveLength);
  // A palette takes 1024 bytes whatever its Length says, and is padded with zeros where the
  // archive ends; it must start inside the archive.
  const bool inside = member.Archive == MemberArchive::Pal
                          ? member.Offset >= 0 && member.Offset < length
                          : member.Offset >= 0 && member.Length >= 0 &&
                                std::int64_t{member.Offset} + member.Length <= length;
  if (inside) return std::nullopt;
  return MemberOutsideArchiveMessage(member, archivePath, archiveLength);
}

// The members without those whose name (without regard to case, as file names are found) a
// later one has: one after the other, the later one's files would take their place.
std::vector<MemberToExtract> LastOfEachName(const std::vector<MemberToExtract>& members) {
  std::vector<MemberToExtract> last;
  std::set<std::string> seen;
  for (auto member = members.rbegin(); member != members.rend(); ++member) {
    if (seen.insert(platform::UpperCase(member->Name)).second) last.push_back(*member);
  }
  std::reverse(last.begin(), last.end());
  return last;
}

// The number of sub-images of the members not refused, for the progress: what their headers
// say, where their tables lie in them and can be converted.
std::uint64_t SubImagesOf(const std::vector<MemberToExtract>& members,
                          const std::vector<std::optional<std::string>>& refusals,
                          const platform::InputFile& archive) {
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (refusals[i]) continue;
    const ShpFileReader reader(archive, static_cast<std::uint64_t>(members[i].Offset),
                               static_cast<std::uint64_t>(members[i].Length), kShpFileHeaderSize);
    if (reader.TableUsable()) {
      total += static_cast<std::uint64_t>(
          std::min(reader.Header().ImageCount, kMostConvertibleSubImages));
    }
  }
  return total;
}

// Stages a member's .SHP file and its BMPs; false when the extraction cannot go on (a file
// could not be written or read, or the user asked to stop).
bool StageSprite(platform::FileTransaction& files, const MemberToExtract& member,
                 const platform::InputFile& archive, const std::string& archivePath,
                 GraphicsState state, platform::HeldMessages& ui, ConversionRun& run) {
  ExtractionContext& context = state.Extraction;
  const std::string shpPath = context.ExtractFolder + member.Name + context.MemberExtension;
  const auto copy = [&](platform::SafeFileWriter& out) {
    return platform::CopyRange(archive, static_cast<std::uint64_t>(member.Offset),
                               static_cast<std::uint64_t>(member.Length), out);
  };
  if (auto staged =
          files.StageWritten(shpPath, std::string(), copy, platform::Durability::Unsynced);
      !staged) {
    ui.ShowMessage(CannotWriteMessage(shpPath, staged.Reason()));
    return false;
  }
  const ShpFileReader reader(archive, static_cast<std::uint64_t>(member.Offset),
                             static_cast<std::uint64_t>(member.Length));
  if (!StageShpConversion(reader, archivePath, state, files, ui, run)) return false;
  if (!context.ShpRejected) ui.AddSummary(ExtractionSummary(context));
  return true;
}

// The .SHP files of the members and their BMPs are written whole under temporary names and
// put in place together at the end, so that a failure anywhere, or the user's wish to stop,
// leaves every earlier file as it was. The BMPs are converted from the members' bytes in the
// archive, the same bytes the .SHP files receive.
void ExtractSprites(const platform::FolderLock& lock, const std::vector<MemberToExtract>& asked,
                    const platform::InputFile& archive, const std::string& archivePath,
                    MadeFolders& folders, GraphicsState state, platform::Ui& shown) {
  ExtractionContext& context = state.Extraction;
  const std::vector<MemberToExtract> members = LastOfEachName(asked);
  std::vector<std::optional<std::string>> refusals;
  for (const MemberToExtract& member : members) {
    refusals.push_back(MemberRefusal(member, archivePath, archive.Length()));
  }
  // Without a member to extract no folder is made.
  if (std::all_of(refusals.begin(), refusals.end(), [](const auto& r) { return r.has_value(); })) {
    for (const auto& refusal : refusals) shown.ShowMessage(*refusal);
    return;
  }
  if (!folders.Make(context.ExtractFolder, shown) || !folders.Make(context.BmpFolder, shown)) {
    return;
  }
  platform::HeldMessages ui(shown);
  // Let go before the folders made are taken away again.
  std::optional<platform::FileTransaction> staged(std::in_place, lock);
  platform::FileTransaction& files = *staged;
  ConversionRun run(context.BmpFolder, SubImagesOf(members, refusals, archive));
  // Each member's .SHP file, and a file per sub-image (or a sheet); a hint, kept within reason
  // whatever the headers say.
  const std::uint64_t expected =
      members.size() + (context.Format == PictureFormat::Sheet ? members.size() : run.Total);
  files.Reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, kMostFilesReserved)));
  bool all = true;
  for (std::size_t i = 0; i < members.size(); ++i) {
    const MemberToExtract& member = members[i];
    context.MemberName = member.Name;
    if (refusals[i]) {
      ui.ShowMessage(*refusals[i]);
      all = false;
      continue;
    }
    if (!StageSprite(files, member, archive, archivePath, state, ui, run)) {
      if (context.Stopped) {
        ui.Forget();
        staged.reset();
        folders.RemoveAll();
        shown.ShowMessage(platform::kStoppedMessage);
        return;
      }
      ui.Show(false);
      if (members.size() > 1) shown.ShowMessage("Nothing has been extracted.");
      return;
    }
    all = all && !context.ShpRejected;
  }
  if (auto committed = files.Commit(); !committed) {
    ui.Show(false);
    shown.ShowMessage(committed.FailureMessage(NothingReplacedMessage(committed.Outcome.Reason())));
    return;
  }
  ui.Show(true);
  context.Completed = all;
}

// Exports each palette member in turn, as a change of its own.
void ExtractPalettes(const platform::FolderLock& lock, const std::string& programFolder,
                     const std::vector<MemberToExtract>& members,
                     const platform::InputFile& archive, const std::string& archivePath,
                     MadeFolders& folders, GraphicsState state, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  bool all = true;
  for (const MemberToExtract& member : members) {
    context.MemberName = member.Name;
    if (auto refusal = MemberRefusal(member, archivePath, archive.Length())) {
      ui.ShowMessage(*refusal);
      all = false;
      continue;
    }
    std::array<std::uint8_t, kPaletteBytes> bytes{};
    if (auto read = archive.ReadSomeAt(static_cast<std::uint64_t>(member.Offset), bytes);
        !read) {
      ui.ShowMessage(platform::CannotReadMessage(archivePath, read.Reason()));
      return;
    }
    if (!folders.Make(context.ExtractFolder, ui)) return;
    state.Palettes.PaletteRaw = ParsePalette(bytes);
    all = ExportPalette(lock, programFolder, context, state.Palettes, ui) && all;
  }
  context.Completed = all;
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
                   GraphicsState state, platform::Ui& ui) {
  ExtractMembers(folders, member ? std::vector{*member} : std::vector<MemberToExtract>{}, state,
                 ui);
}

void ExtractMembers(const ExtractionFolders& folders, const std::vector<MemberToExtract>& members,
                    GraphicsState state, platform::Ui& shown) {
  platform::BusyPointer busy(shown);
  ExtractionContext& context = state.Extraction;
  context.Completed = false;
  context.Stopped = false;
  // One program changes the installation at a time, from before the first check to the end.
  // The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(folders.DataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), "Nothing has been extracted."}));
    return;
  }
  MadeFolders made;
  if (!made.Make(folders.DataFolder + NativeRelative(kRootFolder), ui) || members.empty()) return;

  const MemberArchive kind = members.front().Archive;
  const std::string archivePath = folders.DataFolder + std::string(ArchiveFileName(kind));
  if (!platform::FileExists(archivePath)) {
    ui.ShowMessage(CannotFindArchiveMessage(archivePath));
    return;
  }
  SetMemberFolders(folders.DataFolder, kind, context);
  context.MemberName = members.front().Name;
  try {
    const auto archive = platform::InputFile::Open(archivePath);
    if (!archive) {
      ui.ShowMessage(platform::CannotReadMessage(archivePath, archive.Reason()));
      return;
    }
    if (kind == MemberArchive::Pal) {
      ExtractPalettes(lock.Value(), folders.ProgramFolder, members, archive.Value(), archivePath,
                      made, state, ui);
    } else {
      ExtractSprites(lock.Value(), members, archive.Value(), archivePath, made, state, ui);
    }
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(platform::NotEnoughMemoryMessage("extract " + context.MemberName));
  }
}

}  // namespace zorvane::graphics

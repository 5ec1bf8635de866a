#include "sample/sample_installation.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "archive/index_files.h"
#include "archive/index_record.h"
#include "archive/index_tables.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/paths.h"
#include "platform/scripted_ui.h"
#include "sample/sample_palettes.h"
#include "sample/sample_pictures.h"
#include "sample/sample_sprites.h"
#include "sample/sample_texts.h"

namespace zorvane::sample {

namespace {

using Bytes = std::vector<std::uint8_t>;

struct SampleMember {
  std::string Name;
  char Pad;  // '\0' or ' ': how the name is padded in PFPDATA.IDX
  std::function<Bytes()> Content;
};

struct SampleArchive {
  std::string Name;
  char Pad;  // how the name is padded in EXT.IDX
  std::vector<SampleMember> Members;
};

Bytes TextBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

SampleArchive TextArchive(const SampleCounts& counts) {
  SampleArchive archive{"TXT", '\0', {}};
  for (const char* name : {"STRINGS", "TERRAIN", "HELP"}) {
    archive.Members.push_back({name, '\0', [name] { return TextBytes(TextMember(name)); }});
  }
  for (int unit = 0; unit < counts.UnitDescriptions; ++unit) {
    archive.Members.push_back(
        {std::to_string(unit), '\0', [unit] { return TextBytes(UnitDescription(unit)); }});
  }
  return archive;
}

Bytes SoundBytes(int number) {
  // Something that looks like 8-bit audio: a decaying tone.
  Bytes bytes(400 + Hash(number, 5, 9) % 1600);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto phase = static_cast<int>((i * (3 + number % 7)) % 64);
    const int wave = phase < 32 ? phase : 63 - phase;
    const auto decay = static_cast<int>(bytes.size() - i) * 4 / static_cast<int>(bytes.size());
    bytes[i] = static_cast<std::uint8_t>(128 + (wave - 16) * decay);
  }
  return bytes;
}

SampleArchive SoundArchive(const SampleCounts& counts) {
  SampleArchive archive{"SND", ' ', {}};  // the one archive name padded with spaces
  archive.Members.push_back({"AUDIO", ' ', [] { return SoundBytes(0); }});
  for (int sound = 1; sound <= counts.SoundMembers; ++sound) {
    char name[16];
    std::snprintf(name, sizeof name, "SOUND%03d", sound);
    archive.Members.push_back({name, ' ', [sound] { return SoundBytes(sound); }});
  }
  return archive;
}

template <class Make>
std::function<Bytes()> Sprite(int count, bool transparency, Make make) {
  return [=] {
    std::vector<Picture> pictures;
    pictures.reserve(count);
    for (int i = 0; i < count; ++i) pictures.push_back(make(i));
    return SpriteFile(pictures, transparency);
  };
}

SampleArchive SpriteArchive(const SampleCounts& counts) {
  SampleArchive archive{"SHP", '\0', {}};
  auto& members = archive.Members;
  members.push_back(
      {"MAINMENU", '\0', Sprite(1, false, [](int) { return Landscape(640, 480, 1); })});
  members.push_back(
      {"MAINMEN2", '\0', Sprite(1, false, [](int) { return Landscape(640, 480, 2); })});
  for (char side : {'U', 'J'}) {
    for (int turn = 1; turn <= 6; ++turn) {
      const std::string name = "TURN0" + std::to_string(turn) + "_" + side;
      const int seed = (side == 'U' ? 10 : 20) + turn;
      members.push_back(
          {name, '\0', Sprite(1, false, [seed](int) { return Landscape(320, 200, seed); })});
    }
  }
  members.push_back({"UNITICON", '\0', Sprite(counts.UnitIcons, true, UnitIcon)});
  members.push_back({"BUTTONS", '\0', Sprite(12, true, Button)});
  members.push_back({"CURSORS", '\0', Sprite(6, true, Cursor)});
  members.push_back({"PANELS", ' ', Sprite(3, true, Panel)});
  return archive;
}

SampleArchive TileArchive(const SampleCounts& counts) {
  SampleArchive archive{"TIL", '\0', {}};
  for (const std::string& name : TileNames(counts.TileFiles)) {
    archive.Members.push_back({name, '\0', Sprite(counts.HexesPerTile, true, [name](int variant) {
                                 return HexTile(name, variant);
                               })});
  }
  return archive;
}

SampleArchive PaletteArchive() {
  SampleArchive archive{"PAL", '\0', {}};
  for (std::size_t p = 0; p < kPaletteNames.size(); ++p) {
    const char pad = kPaletteNames[p] == "MENU2" ? ' ' : '\0';
    archive.Members.push_back(
        {std::string(kPaletteNames[p]), pad, [p] { return SamplePalette(p); }});
  }
  return archive;
}

Bytes FillerBytes(int number) {
  Bytes bytes(32 + Hash(number, 7, 11) % 480);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(Hash(number, static_cast<std::uint32_t>(i), 3));
  }
  return bytes;
}

// The filler archives DAT001, DAT002, ...: the members REC00000, REC00001, ... shared out in
// order, the first archives taking one more when they do not divide evenly.
std::vector<SampleArchive> FillerArchives(const SampleCounts& counts) {
  std::vector<SampleArchive> archives;
  int number = 0;
  for (int a = 0; a < counts.FillerArchives; ++a) {
    char name[16];
    std::snprintf(name, sizeof name, "DAT%03d", (a + 1) % 1000);
    SampleArchive archive{name, '\0', {}};
    const int members = counts.FillerMembers / counts.FillerArchives +
                        (a < counts.FillerMembers % counts.FillerArchives);
    for (int m = 0; m < members; ++m, ++number) {
      std::snprintf(name, sizeof name, "REC%05d", number % 100000);
      archive.Members.push_back({name, '\0', [number] { return FillerBytes(number); }});
    }
    archives.push_back(std::move(archive));
  }
  return archives;
}

platform::Status StageArchive(platform::FileTransaction& transaction, const std::string& dataFolder,
                              const SampleArchive& archive,
                              std::vector<archive::MemberRecord>& records) {
  const auto write = [&](platform::SafeFileWriter& out) {
    std::int32_t offset = 0;
    for (const SampleMember& member : archive.Members) {
      const Bytes bytes = member.Content();
      if (auto written = out.Write(bytes); !written) return written;
      records.push_back({archive::MakeName(member.Name, member.Pad),
                         static_cast<std::int32_t>(bytes.size()), offset});
      offset += static_cast<std::int32_t>(bytes.size());
    }
    return platform::Status::Success();
  };
  return transaction.StageWritten(dataFolder + archive.Name + ".PFP", std::string(), write);
}

}  // namespace

SampleCounts CountsForScale(int scale) {
  scale = std::clamp(scale, 1, kMaxScale);
  SampleCounts counts{};
  counts.UnitIcons = 48 * scale;
  counts.HexesPerTile = std::min(40 * scale, 2000);
  counts.TileFiles = std::min(
      {12 * scale, static_cast<int>(TileNames(192).size()), kMaxTileHexes / counts.HexesPerTile});
  counts.FillerArchives = std::min(5 * (scale - 1), kMaxFillerArchives);
  // PFPDATA.IDX holds at most 32767 records: 3 texts, AUDIO, 18 sprites, 15 palettes and the
  // terminator come on top of the counted members, and every filler archive needs a member.
  const int fixedRecords = 3 + 1 + 18 + 15 + 1 + counts.TileFiles;
  const int room = archive::kMemberCapacity - fixedRecords;
  counts.UnitDescriptions = std::min(40 * scale, (room - counts.FillerArchives) * 8 / 9);
  counts.SoundMembers = std::min(
      {5 * scale, kMostSoundMembers, room - counts.FillerArchives - counts.UnitDescriptions});
  counts.FillerMembers = std::clamp(400 * (scale - 1), counts.FillerArchives,
                                    room - counts.UnitDescriptions - counts.SoundMembers);
  return counts;
}

int MemberIndexRecords(const SampleCounts& counts) {
  return 3 + counts.UnitDescriptions + 1 + counts.SoundMembers + 18 + counts.TileFiles + 15 +
         counts.FillerMembers + 1;
}

int ArchiveIndexRecords(const SampleCounts& counts) {
  return 5 + counts.FillerArchives + 1;
}

platform::Status WriteSampleInstallation(const std::string& dataFolderPath,
                                         const SampleOptions& options) {
  if (auto made = platform::CreateFolderWithParents(dataFolderPath); !made) return made;
  const std::string dataFolder = platform::WithTrailingSeparator(dataFolderPath);
  const SampleCounts counts = CountsForScale(options.Scale);
  std::vector<SampleArchive> archives{TextArchive(counts), SoundArchive(counts),
                                      SpriteArchive(counts), TileArchive(counts), PaletteArchive()};
  for (SampleArchive& filler : FillerArchives(counts)) archives.push_back(std::move(filler));

  // Every file is written whole, then all are put in place together.
  platform::ScriptedUi quiet;
  const auto lock = platform::LockForChanges(dataFolder, quiet);
  if (!lock) return platform::Status::Failure(lock.Reason());
  platform::FileTransaction transaction(lock.Value());
  std::vector<archive::MemberRecord> members;
  std::vector<archive::ArchiveRecord> archiveRecords;
  for (const SampleArchive& archive : archives) {
    const auto first = static_cast<std::int32_t>(members.size());
    if (!archiveRecords.empty()) archiveRecords.back().EndMember = first;
    archiveRecords.push_back({archive::MakeName(archive.Name, archive.Pad), first, 0});
    if (auto staged = StageArchive(transaction, dataFolder, archive, members); !staged) {
      return staged;
    }
  }
  // The terminator: one more group start after the last archive, and its archive record.
  const auto terminator = static_cast<std::int32_t>(members.size());
  archiveRecords.back().EndMember = terminator;
  members.push_back({archive::MakeName("", '\0'), 0, 0});
  archiveRecords.push_back({archive::MakeName("", '\0'), 0x20202020, 0x20202020});

  if (auto staged =
          transaction.StageBytes(dataFolder + archive::kMemberIndexName, std::string(),
                                 archive::SerialiseMemberIndex(kSampleIndexHeader, members));
      !staged) {
    return staged;
  }
  if (auto staged = transaction.StageBytes(dataFolder + archive::kArchiveIndexName, std::string(),
                                           archive::SerialiseArchiveIndex(archiveRecords));
      !staged) {
    return staged;
  }
  return transaction.Commit().Outcome;
}

}  // namespace zorvane::sample

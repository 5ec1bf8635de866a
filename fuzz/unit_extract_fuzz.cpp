// Feeds arbitrary extracts to the unit-description insertion: LoadUnitExtracts reads
// UnitIDX.KRT and UnitDescriptions.KRT, and InsertUnitDescriptions puts them into a small fixed
// installation. A refused extract must leave the installation as it was; an inserted one whose
// first unit is "0" must extract again to the same records and text.
// Input: two bytes giving the length of UnitIDX.KRT (little-endian), UnitIDX.KRT, then
// UnitDescriptions.KRT.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/index_files.h"
#include "fuzz_support.h"
#include "platform/folder_lock.h"
#include "platform/scripted_ui.h"
#include "unitdesc/text_line_copy.h"
#include "unitdesc/unit_extraction.h"
#include "unitdesc/unit_index_file.h"
#include "unitdesc/unit_insertion.h"

namespace {

using namespace zorvane;
using fuzz::Bytes;

constexpr std::size_t kMaxInput = 64 * 1024;

const std::string& Root() {
  static const std::string root = [] {
    const std::string folder = fuzz::MakeScratchFolder("units");
    std::filesystem::create_directory(folder + "DATA");
    std::filesystem::create_directory(folder + "extract");
    return folder;
  }();
  return root;
}

// TXT (INTRO, units "0" and "1"), SND (AUDIO, BEEP), SHP (MAIN) and the terminator.
struct Installation {
  Bytes Text, MemberIndex, ArchiveIndex;
};

const Installation& Fixed() {
  static const Installation installation = [] {
    const std::string text = "Intro\r\n0 zero\r\n1 one\r\n";
    std::vector<archive::MemberRecord> members{
        {archive::MakeName("INTRO", '\0'), 7, 0},  {archive::MakeName("0", '\0'), 8, 7},
        {archive::MakeName("1", '\0'), 7, 15},     {archive::MakeName("AUDIO"), 10, 0},
        {archive::MakeName("BEEP", '\0'), 10, 10}, {archive::MakeName("MAIN", '\0'), 40, 0},
        {archive::MakeName("", '\0'), 0, 0}};
    std::vector<archive::ArchiveRecord> archives{
        {archive::MakeName("TXT", '\0'), 0, 3},
        {archive::MakeName("SND", '\0'), 3, 5},
        {archive::MakeName("SHP", '\0'), 5, 6},
        {archive::MakeName("", '\0'), 0x20202020, 0x20202020}};
    return Installation{Bytes(text.begin(), text.end()), archive::SerialiseMemberIndex(9, members),
                        archive::SerialiseArchiveIndex(archives)};
  }();
  return installation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > kMaxInput) return 0;
  const std::size_t indexSize = std::min<std::size_t>(size - 2, data[0] | (data[1] << 8));
  const std::uint8_t* index = data + 2;
  const std::uint8_t* text = index + indexSize;
  const std::size_t textSize = size - 2 - indexSize;

  // The reader on its own.
  const auto units = unitdesc::ParseUnitIndex({index, indexSize});

  const std::string dataFolder = Root() + "DATA/";
  const std::string extractFolder = Root() + "extract/";
  std::filesystem::remove_all(dataFolder);
  std::filesystem::create_directory(dataFolder);
  const Installation& fixed = Fixed();
  fuzz::WriteBytes(dataFolder + "TXT.PFP", fixed.Text);
  fuzz::WriteBytes(dataFolder + "PFPDATA.IDX", fixed.MemberIndex);
  fuzz::WriteBytes(dataFolder + "EXT.IDX", fixed.ArchiveIndex);
  fuzz::WriteBytes(extractFolder + "UnitIDX.KRT", {index, indexSize});
  fuzz::WriteBytes(extractFolder + "UnitDescriptions.KRT", {text, textSize});

  platform::ScriptedUi ui;
  ui.QueueFileChoice(extractFolder + "UnitDescriptions.KRT");
  unitdesc::UnitExtracts extracts;
  if (!unitdesc::InsertUnitDescriptions(dataFolder, extracts, ui, {})) {
    if (fuzz::ReadBytes(dataFolder + "TXT.PFP") != fixed.Text ||
        fuzz::ReadBytes(dataFolder + "PFPDATA.IDX") != fixed.MemberIndex ||
        fuzz::ReadBytes(dataFolder + "EXT.IDX") != fixed.ArchiveIndex ||
        std::count_if(std::filesystem::directory_iterator(dataFolder),
                      std::filesystem::directory_iterator(), [](const auto& entry) {
                        return entry.path().filename() != platform::kLockFileName;
                      }) != 3) {
      abort();  // a refused insertion changed the installation
    }
    return 0;
  }
  if (!units || extracts.UnitRecords != *units) abort();
  if (archive::ComparableName(units->front().Name) != "0") return 0;

  if (!unitdesc::ExtractUnitDescriptions(dataFolder, ui)) abort();
  const auto extracted =
      unitdesc::ParseUnitIndex(fuzz::ReadBytes(dataFolder + "EXTRACTS/UnitIDX.KRT"));
  if (!extracted || extracted->size() != units->size()) abort();
  std::int64_t offset = 0;
  for (std::size_t r = 0; r < units->size(); ++r) {
    archive::RecordName name = (*units)[r].Name;
    archive::NormaliseName(name);
    const auto& record = (*extracted)[r];
    if (record.Name != name || record.Length != (*units)[r].Length || record.Offset != offset) {
      abort();
    }
    offset += record.Length;
  }
  const Bytes again = fuzz::ReadBytes(dataFolder + "EXTRACTS/UnitDescriptions.KRT");
  const std::string expected =
      unitdesc::NormaliseLineEnds(std::string_view(reinterpret_cast<const char*>(text), textSize));
  if (std::string(again.begin(), again.end()) != expected) abort();
  return 0;
}

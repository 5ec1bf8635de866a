// Feeds arbitrary bytes to the readers of EXT.IDX and PFPDATA.IDX and to the member listing.
// Input: one byte that splits the rest into EXT.IDX and PFPDATA.IDX, then both files.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "archive/member_listing.h"
#include "fuzz_support.h"
#include "platform/scripted_ui.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

const std::string& Folder() {
  static const std::string folder = zorvane::fuzz::MakeScratchFolder("index");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  using namespace zorvane;
  const std::size_t split = std::min<std::size_t>(size - 1, data[0] * 4u);
  const std::uint8_t* ext = data + 1;
  const std::uint8_t* pfp = ext + split;
  const std::size_t pfpSize = size - 1 - split;

  // The parsers on their own.
  archive::ParseArchiveIndex({ext, split});
  archive::ParseMemberIndex({pfp, pfpSize});

  // The workers on files.
  fuzz::WriteBytes(Folder() + "EXT.IDX", {ext, split});
  fuzz::WriteBytes(Folder() + "PFPDATA.IDX", {pfp, pfpSize});
  archive::IndexTables tables;
  platform::ScriptedUi ui;
  std::vector<std::string> rows;
  std::string toolTip;
  archive::LoadArchiveTable(Folder(), tables, ui);
  for (auto choice : {archive::ArchiveChoice::AllArchives, archive::ArchiveChoice::ShpArchive,
                      archive::ArchiveChoice::TilArchive, archive::ArchiveChoice::PalArchive}) {
    archive::ListArchiveMembers(Folder(), choice, tables, {rows, toolTip}, ui);
    fuzz::Check(static_cast<std::int32_t>(rows.size()) - 1 == tables.LastRow);
  }
  return 0;
}

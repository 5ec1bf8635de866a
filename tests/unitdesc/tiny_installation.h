#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fault_injection.h"
#include "support/files.h"

// Small hand-made installations and extracts for the unit-description tests, and index bytes
// written out by hand.
namespace zorvane::unitdesc::test {

using testing::Bytes;

// An index record as the files hold it: the 8 name bytes exactly as given, then the two
// numbers little-endian.
Bytes RecordBytes(std::string_view name, std::int32_t first, std::int32_t second);
Bytes HeaderBytes(std::int32_t header);
Bytes Concat(std::initializer_list<Bytes> parts);

struct TinyMember {
  std::string Name;
  std::string Content;
  char Pad = '\0';
};

struct TinyArchive {
  std::string Name;
  std::vector<TinyMember> Members;
};

// TXT (INTRO, then the units "0" and "1"), SND (AUDIO, BEEP), SHP (MAIN).
std::vector<TinyArchive> TinyArchives();

inline constexpr std::int32_t kTinyHeader = 77;

// Writes each archive with its members back to back, PFPDATA.IDX (header kTinyHeader, names
// NUL- or space-padded as the members say, the terminator last) and EXT.IDX (EndMember
// chained, the end record holding four spaces).
void WriteInstallation(const std::string& dataFolder, const std::vector<TinyArchive>& archives);

struct TinyUnit {
  std::string Name;
  std::int32_t Length;
};

// Writes UnitDescriptions.KRT with `text` and UnitIDX.KRT with one record per unit, offsets
// following from the lengths.
void WriteExtract(const std::string& folder, std::string_view text,
                  const std::vector<TinyUnit>& units);

// "Write", "Rename", ...: names the test cases of each kind of operation.
std::string OperationName(const ::testing::TestParamInfo<platform::FileOperation>& info);

// Runs `attempt` with the n-th operation of kind `operation` failing, for n = 1, 2, ... until
// an attempt succeeds; after each failed attempt `checkFailure(n)` checks what it left behind.
// Returns how many attempts failed.
int FailEachOperationInTurn(platform::FileOperation operation, const std::function<bool()>& attempt,
                            const std::function<void(int n)>& checkFailure);

}  // namespace zorvane::unitdesc::test

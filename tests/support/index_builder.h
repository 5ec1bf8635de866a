#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/index_record.h"

// Small hand-made index files for tests.
namespace zorvane::testing {

archive::MemberRecord Member(const std::string& name, std::int32_t length, std::int32_t offset,
                             char pad = '\0');
archive::ArchiveRecord Archive(const std::string& name, std::int32_t firstMember,
                               std::int32_t endMember = 0, char pad = '\0');

void WriteMemberIndex(const std::string& path, std::int32_t header,
                      const std::vector<archive::MemberRecord>& records);
void WriteArchiveIndex(const std::string& path, const std::vector<archive::ArchiveRecord>& records);

}  // namespace zorvane::testing

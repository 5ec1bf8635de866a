#include "support/index_builder.h"

#include "archive/index_files.h"
#include "support/files.h"

namespace zorvane::testing {

archive::MemberRecord Member(const std::string& name, std::int32_t length, std::int32_t offset,
                             char pad) {
  return {archive::MakeName(name, pad), length, offset};
}

archive::ArchiveRecord Archive(const std::string& name, std::int32_t firstMember,
                               std::int32_t endMember, char pad) {
  return {archive::MakeName(name, pad), firstMember, endMember};
}

void WriteMemberIndex(const std::string& path, std::int32_t header,
                      const std::vector<archive::MemberRecord>& records) {
  WriteFile(path, archive::SerialiseMemberIndex(header, records));
}

void WriteArchiveIndex(const std::string& path,
                       const std::vector<archive::ArchiveRecord>& records) {
  WriteFile(path, archive::SerialiseArchiveIndex(records));
}

}  // namespace zorvane::testing

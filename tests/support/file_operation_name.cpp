#include "support/file_operation_name.h"

namespace zorvane::testing {

const char* FileOperationName(platform::FileOperation operation) {
  switch (operation) {
    case platform::FileOperation::Create:
      return "Create";
    case platform::FileOperation::Write:
      return "Write";
    case platform::FileOperation::Flush:
      return "Flush";
    case platform::FileOperation::Rename:
      return "Rename";
    case platform::FileOperation::Delete:
      return "Delete";
    case platform::FileOperation::CreateFolder:
      return "CreateFolder";
    case platform::FileOperation::Link:
      return "Link";
    case platform::FileOperation::FolderFlush:
      return "FolderFlush";
  }
  return "Unknown";
}

}  // namespace zorvane::testing

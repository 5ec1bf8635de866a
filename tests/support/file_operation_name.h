#pragma once

#include "platform/fault_injection.h"

namespace zorvane::testing {

// "Create", "Write", "Flush", "Rename", "Delete", "CreateFolder": for test names and tables.
const char* FileOperationName(platform::FileOperation operation);

}  // namespace zorvane::testing

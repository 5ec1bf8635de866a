#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvane::platform {

// A text value of the system's registry under HKEY_LOCAL_MACHINE; nothing where there is none
// (and on systems without a registry).
std::optional<std::string> MachineRegistryText(std::string_view keyName,
                                               std::string_view valueName);

}  // namespace zorvane::platform

#include "platform/registry.h"

namespace zorvane::platform {

std::optional<std::string> MachineRegistryText(std::string_view, std::string_view) {
  return std::nullopt;
}

}  // namespace zorvane::platform

#include "platform/failure_messages.h"

namespace zorvane::platform {

std::string CannotReadMessage(std::string_view path, std::string_view reason) {
  return "Cannot read " + std::string(path) + ": " + std::string(reason);
}

std::string NotEnoughMemoryMessage(std::string_view toDo) {
  std::string message = "There is not enough memory";
  if (!toDo.empty()) message += " to " + std::string(toDo);
  return message + ".";
}

}  // namespace zorvane::platform

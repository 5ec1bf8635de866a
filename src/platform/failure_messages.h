#pragma once

#include <string>
#include <string_view>

// The reasons every worker gives in the same words.
namespace zorvane::platform {

// "Cannot read " + path + ": " + reason
std::string CannotReadMessage(std::string_view path, std::string_view reason);

// "There is not enough memory." or, with what could not be done, "There is not enough memory to
// " + toDo + "."
std::string NotEnoughMemoryMessage(std::string_view toDo = {});

}  // namespace zorvane::platform

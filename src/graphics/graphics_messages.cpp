#include "graphics/graphics_messages.h"

#include "platform/text_lines.h"

namespace zorvane::graphics {

std::string CannotWriteMessage(const std::string& path, const std::string& reason) {
  return "The file " + path + " cannot be written: " + reason + ".";
}

std::string CannotCreateFolderMessage(const std::string& path, const std::string& reason) {
  return "The folder " + path + " cannot be created: " + reason + ".";
}

std::string NothingReplacedMessage(const std::string& reason) {
  return "The new files cannot be put in place: " + reason + "." + std::string(platform::kLineEnd) +
         "Every earlier file is as it was.";
}

}  // namespace zorvane::graphics

#include "graphics/graphics_messages.h"

namespace zorvane::graphics {

std::string CannotWriteMessage(const std::string& path, const std::string& reason) {
  return "The file " + path + " cannot be written: " + reason + ".";
}

std::string CannotCreateFolderMessage(const std::string& path, const std::string& reason) {
  return "The folder " + path + " cannot be created: " + reason + ".";
}

std::string CannotReadFileMessage(const std::string& path, const std::string& reason) {
  return "Cannot read " + path + ": " + reason;
}

}  // namespace zorvane::graphics

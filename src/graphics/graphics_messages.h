#pragma once

#include <string>

// Messages of the graphics workers that more than one of them shows.
namespace zorvane::graphics {

// "The file " + path + " cannot be written: " + reason + "."
std::string CannotWriteMessage(const std::string& path, const std::string& reason);

// "The folder " + path + " cannot be created: " + reason + "."
std::string CannotCreateFolderMessage(const std::string& path, const std::string& reason);

// After the new versions of several files were written whole but could not all be put in
// place: the reason, which names the file, and that every earlier file is as it was.
std::string NothingReplacedMessage(const std::string& reason);

}  // namespace zorvane::graphics

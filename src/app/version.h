#pragma once

#include <string>
#include <string_view>

// The program's version information.
namespace zorvane::app {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 4;
inline constexpr int kVersionRevision = 0;

// "2.4.0", as --version prints it.
inline std::string VersionNumber() {
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

inline constexpr std::string_view kProductName = "Tovrin's Zorvane";
inline constexpr std::string_view kFileDescription =
    "This tool is for extractions and insertions of internal files in PacGen's *.PFP files.";
inline constexpr std::string_view kLegalNotice =
    "Zorvane is free software, distributed under the MIT licence, without any warranty. "
    "PacGen belongs to its makers; keep backups of your game files.";

}  // namespace zorvane::app

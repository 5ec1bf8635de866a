#pragma once

#include <string>

namespace zorvane::graphics {

// Where the BMP sets are packed, kept for the whole run.
struct RepackContext {
  // TOVRIN_PFP/ICONS/ or TOVRIN_PFP/TILES/ (relative to the DATA folder, ending in the
  // separator), as the last BMP-set listing set it; empty before the first.
  std::string RepackFolder;
  // Set when the last repack wrote every sprite file it was asked for.
  bool Completed = false;
  // Set when the last repack stopped at the user's request and wrote nothing.
  bool Stopped = false;
};

}  // namespace zorvane::graphics

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/result.h"
#include "platform/safe_file.h"

// Copying text line by line, each line followed by CR LF: a line ends at CR LF or at a lone CR,
// a lone LF stays inside its line, and a last line without line end gets one. The text is taken
// in pieces of any size, so that a file of any length is copied through one bounded buffer.
namespace zorvane::unitdesc {

class LineEndNormaliser {
 public:
  // Appends the lines that `piece` completes, and what it has of the line still open, to `out`.
  void Feed(std::string_view piece, std::string& out);
  // Ends the text: a line still open gets its CR LF.
  void Finish(std::string& out);

 private:
  bool pendingCr_ = false;  // a CR was the last byte fed; a LF may still belong to it
  bool lineOpen_ = false;   // bytes of a line have been fed since its start
};

// The whole text at once, as Feed and Finish give it.
std::string NormaliseLineEnds(std::string_view text);

// Copies the text of `source` from `offset` to its end into `target` in that form. Returns the
// number of bytes written. The reasons of failures name the file read or written.
platform::Result<std::uint64_t> CopyTextLines(const platform::InputFile& source,
                                              const std::string& sourcePath, std::uint64_t offset,
                                              platform::SafeFileWriter& target,
                                              const std::string& targetPath);

}  // namespace zorvane::unitdesc

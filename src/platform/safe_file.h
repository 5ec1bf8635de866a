#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace zorvane::platform {

// A name beside `resolved` that no other run of the tool uses: hidden (it begins with a dot),
// holding ".zorvane-", the purpose, the process and a count, so that a file left behind by a
// crashed run never stands in the way of a later one.
std::string UniqueSiblingName(const std::string& resolved, std::string_view purpose = {});

// Whether a file is forced to the disk before it is renamed into place. Game files are; the
// tool's own outputs (BMPs, extracted sprites) need only be whole, which the rename gives them.
enum class Durability { Synced, Unsynced };

// Writes a file whole under a temporary name in the target's folder; only Commit() flushes it
// to the disk and renames it over the target. A writer that is destroyed without a successful
// Commit() removes its temporary file, so a failed write never leaves a half-written file and
// never touches the target.
class SafeFileWriter {
 public:
  // Creates the temporary file beside `target` (whose folder must exist).
  static Result<SafeFileWriter> Create(const std::string& target,
                                       Durability durability = Durability::Synced);
  // The same for a target whose path is resolved already (see ResolvedFolder), which spares
  // the scan of its folder that resolving a new file's name takes.
  static Result<SafeFileWriter> CreateResolved(const std::string& resolvedTarget,
                                               Durability durability = Durability::Synced);
  SafeFileWriter(SafeFileWriter&& other) noexcept;
  SafeFileWriter& operator=(SafeFileWriter&& other) noexcept;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  Status Write(std::span<const std::uint8_t> bytes);
  Status Write(std::string_view text);
  // Flushes the temporary file and renames it over the target.
  Status Commit();
  // Flushes the temporary file but leaves it under its temporary name, for callers that
  // replace several files together (see Release()).
  Status Flush();
  // Leaves the flushed temporary file on disk; the caller now owns it.
  std::string Release();

  const std::string& Target() const { return target_; }

 private:
  SafeFileWriter(int descriptor, std::string target, std::string temporary, Durability durability)
      : descriptor_(descriptor),
        target_(std::move(target)),
        temporary_(std::move(temporary)),
        durability_(durability) {}
  void Abandon();
  int descriptor_ = -1;
  std::string target_;
  std::string temporary_;
  Durability durability_ = Durability::Synced;
};

// Replaces `target` with `bytes` through a SafeFileWriter.
Status ReplaceFile(const std::string& target, std::span<const std::uint8_t> bytes,
                   Durability durability = Durability::Synced);
Status ReplaceFile(const std::string& target, std::string_view text,
                   Durability durability = Durability::Synced);

}  // namespace zorvane::platform

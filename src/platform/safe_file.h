#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/checksum.h"
#include "platform/result.h"

namespace zorvane::platform {

// Whose journal names a temporary file: the lock folder's own (".zv-"), or that of another
// folder whose transaction also writes here (".zx-": the DATA folder's, for an internal palette
// in the program folder). A crashed run's temporaries of the first kind belong to nobody once
// the folder's lock is free; those of the second kind are removed only by the recovery of the
// journal that names them, which may still need them.
enum class TemporaryOwner { ThisFolder, JournalElsewhere };

// A short name, unused at this moment, in the folder of `resolved`: a prefix and a number.
// Short, so that any path that works for a file works for its temporaries; hidden, so that no
// listing of the program shows it. Only the holder of the folder's lock makes such names.
std::string TemporaryNameBeside(const std::string& resolved,
                                TemporaryOwner owner = TemporaryOwner::ThisFolder);

// Whether a file name (without folder) is one that TemporaryNameBeside() makes, of either owner
// or of the given one.
bool IsTemporaryName(std::string_view fileName);
bool IsTemporaryName(std::string_view fileName, TemporaryOwner owner);

// Whether a file is forced to the disk before it is put in place. Game files are; the tool's
// own outputs (BMPs, extracted sprites) need only be whole, which the rename gives them.
enum class Durability { Synced, Unsynced };

// Writes a file whole under a temporary name in the target's folder, counting its length and
// checksum; FileTransaction puts it in place. A writer that is destroyed before Release()
// removes its temporary file, so a failed write never leaves a half-written file and never
// touches the target.
class SafeFileWriter {
 public:
  // Creates the temporary file beside `target` (whose folder must exist).
  static Result<SafeFileWriter> Create(const std::string& target,
                                       Durability durability = Durability::Synced);
  // The same for a target whose path is resolved already (see ResolvedFolder), which spares
  // the scan of its folder that resolving a new file's name takes. The new file gets the
  // permissions of the current one, unless the caller knows that there is none (`targetNew`).
  static Result<SafeFileWriter> CreateResolved(const std::string& resolvedTarget,
                                               Durability durability = Durability::Synced,
                                               TemporaryOwner owner = TemporaryOwner::ThisFolder,
                                               bool targetNew = false);
  SafeFileWriter(SafeFileWriter&& other) noexcept;
  SafeFileWriter& operator=(SafeFileWriter&& other) noexcept;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  Status Write(std::span<const std::uint8_t> bytes);
  Status Write(std::string_view text);
  // Flushes the temporary file (to the disk when Synced) and closes it.
  Status Flush();
  // Leaves the flushed temporary file on disk; the caller now owns it.
  std::string Release();

  const std::string& Target() const { return target_; }
  const std::string& Temporary() const { return temporary_; }
  std::uint64_t Length() const { return length_; }
  std::uint64_t ChecksumValue() const { return checksum_.Value(); }

 private:
  SafeFileWriter(std::intptr_t handle, std::string target, std::string temporary,
                 Durability durability)
      : handle_(handle),
        target_(std::move(target)),
        temporary_(std::move(temporary)),
        durability_(durability) {}
  void Abandon();
  std::intptr_t handle_ = -1;  // an os::Handle
  std::string target_;
  std::string temporary_;
  Durability durability_ = Durability::Synced;
  std::uint64_t length_ = 0;
  Checksum checksum_;
};

}  // namespace zorvane::platform

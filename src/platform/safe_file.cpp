#include "platform/safe_file.h"

#include <atomic>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/os_calls.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

constexpr std::string_view kTemporaryPrefix = ".zv-";
constexpr std::string_view kForeignTemporaryPrefix = ".zx-";

std::string_view PrefixOf(TemporaryOwner owner) {
  return owner == TemporaryOwner::ThisFolder ? kTemporaryPrefix : kForeignTemporaryPrefix;
}

std::string InBase36(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[number % 36]);
    number /= 36;
  } while (number > 0);
  return digits;
}

// The next name of the sequence, which may exist (a left-over): creating it with O_EXCL tells.

std::string NextTemporaryNameBeside(const std::string& resolved, TemporaryOwner owner) {
  static std::atomic<std::uint64_t> counter{0};
  return FolderPart(resolved) + std::string(PrefixOf(owner)) + InBase36(counter++);
}

}  // namespace

std::string TemporaryNameBeside(const std::string& resolved, TemporaryOwner owner) {
  for (;;) {
    std::string name = NextTemporaryNameBeside(resolved, owner);
    if (!os::ExistingSpelling(name)) return name;
  }
}

bool IsTemporaryName(std::string_view fileName, TemporaryOwner owner) {
  const std::string_view prefix = PrefixOf(owner);
  if (!fileName.starts_with(prefix) || fileName.size() == prefix.size()) return false;
  return fileName.substr(prefix.size()).find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz") ==
         std::string_view::npos;
}

bool IsTemporaryName(std::string_view fileName) {
  return IsTemporaryName(fileName, TemporaryOwner::ThisFolder) ||
         IsTemporaryName(fileName, TemporaryOwner::JournalElsewhere);
}

Result<SafeFileWriter> SafeFileWriter::Create(const std::string& target, Durability durability) {
  return CreateResolved(ResolvePath(target), durability);
}

Result<SafeFileWriter> SafeFileWriter::CreateResolved(const std::string& resolved,
                                                      Durability durability, TemporaryOwner owner,
                                                      bool targetNew) {
  if (auto fault = CheckFault(FileOperation::Create); !fault) return fault;
  os::Outcome failure;
  for (int attempt = 0; attempt < 64; ++attempt) {
    std::string temporary = NextTemporaryNameBeside(resolved, owner);
    os::Handle handle = os::kNoHandle;
    failure = os::CreateNew(temporary, handle);
    if (!failure) {
      if (!targetNew) os::CopyPermissions(resolved, handle);
      return SafeFileWriter(handle, resolved, std::move(temporary), durability);
    }
    if (failure->Kind != os::ErrorKind::Exists) break;
  }
  return Status::Failure(failure->Text);
}

SafeFileWriter::SafeFileWriter(SafeFileWriter&& other) noexcept
    : handle_(std::exchange(other.handle_, os::kNoHandle)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      durability_(other.durability_),
      length_(other.length_),
      checksum_(other.checksum_) {}

SafeFileWriter& SafeFileWriter::operator=(SafeFileWriter&& other) noexcept {
  if (this != &other) {
    Abandon();
    handle_ = std::exchange(other.handle_, os::kNoHandle);
    target_ = std::move(other.target_);
    temporary_ = std::exchange(other.temporary_, {});
    durability_ = other.durability_;
    length_ = other.length_;
    checksum_ = other.checksum_;
  }
  return *this;
}

SafeFileWriter::~SafeFileWriter() {
  Abandon();
}

void SafeFileWriter::Abandon() {
  if (handle_ != os::kNoHandle) (void)os::Close(std::exchange(handle_, os::kNoHandle));
  if (!temporary_.empty()) (void)os::RemoveFile(std::exchange(temporary_, {}));
}

Status SafeFileWriter::Write(std::span<const std::uint8_t> bytes) {
  if (handle_ == os::kNoHandle) return Status::Failure("The file is closed");
  if (auto fault = CheckFault(FileOperation::Write); !fault) return fault;
  if (auto failure = os::WriteAll(handle_, bytes)) return Status::Failure(failure->Text);
  length_ += bytes.size();
  checksum_.Add(bytes);
  return Status::Success();
}

Status SafeFileWriter::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Status SafeFileWriter::Flush() {
  if (handle_ == os::kNoHandle) return Status::Failure("The file is closed");
  if (auto fault = CheckFault(FileOperation::Flush); !fault) return fault;
  if (durability_ == Durability::Synced) {
    if (auto failure = os::Sync(handle_)) return Status::Failure(failure->Text);
  }
  return os::StatusOf(os::Close(std::exchange(handle_, os::kNoHandle)));
}

std::string SafeFileWriter::Release() {
  return std::exchange(temporary_, {});
}

}  // namespace zorvane::platform

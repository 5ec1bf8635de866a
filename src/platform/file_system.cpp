#include "platform/file_system.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/number_text.h"
#include "platform/os_calls.h"
#include "platform/paths.h"

namespace zorvane::platform {

// An open file and the path it was opened by, shared by its InputFile and, where readers must
// be closed before a rename, the list of them.
struct OpenReader {
  std::mutex Lock;  // a read, against a close by a rename on another thread
  os::Handle Handle = os::kNoHandle;
  std::string Path;
  OpenReader() = default;
  OpenReader(const OpenReader&) = delete;
  OpenReader& operator=(const OpenReader&) = delete;
  ~OpenReader() {
    if (Handle != os::kNoHandle) (void)os::Close(Handle);
  }
};

namespace {

struct OpenReaders {
  std::mutex Lock;
  std::vector<std::weak_ptr<OpenReader>> All;
  std::size_t PruneAt = 64;  // the readers that went are let go when the list is this long
};

OpenReaders& TheOpenReaders() {
  static OpenReaders readers;
  return readers;
}

// Whether two resolved paths name one file where names match without regard to case.
bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (IsSeparator(x) && IsSeparator(y)) || AsciiUpper(x) == AsciiUpper(y);
         });
}

void CloseReadersOf(const std::string& resolvedPath) {
  OpenReaders& readers = TheOpenReaders();
  std::lock_guard guard(readers.Lock);
  std::erase_if(readers.All, [&](const std::weak_ptr<OpenReader>& each) {
    const auto reader = each.lock();
    if (!reader) return true;
    if (!SamePathIgnoringCase(reader->Path, resolvedPath)) return false;
    std::lock_guard readerGuard(reader->Lock);
    (void)os::Close(std::exchange(reader->Handle, os::kNoHandle));
    return true;
  });
}

void AddReader(const std::shared_ptr<OpenReader>& reader) {
  OpenReaders& readers = TheOpenReaders();
  std::lock_guard guard(readers.Lock);
  if (readers.All.size() >= readers.PruneAt) {
    std::erase_if(readers.All,
                  [](const std::weak_ptr<OpenReader>& each) { return each.expired(); });
    readers.PruneAt = std::max<std::size_t>(64, 2 * readers.All.size());
  }
  readers.All.push_back(reader);
}

Status NoSuchFile() {
  return Status::Failure("No such file or directory");
}

os::EntryType TypeOf(const std::string& resolvedPath) {
  if (CutShortBySystem(resolvedPath)) return os::EntryType::None;
  return os::LookAt(resolvedPath).Type;
}

}  // namespace

bool FileExists(const std::string& path) {
  return !path.empty() && TypeOf(ResolvePath(path)) == os::EntryType::File;
}

bool FolderExists(const std::string& path) {
  return !path.empty() && TypeOf(ResolvePath(path)) == os::EntryType::Folder;
}

bool ResolvedFileExists(const std::string& resolvedPath) {
  return !resolvedPath.empty() && TypeOf(resolvedPath) == os::EntryType::File;
}

Status CreateFolder(const std::string& path) {
  if (FolderExists(path)) return Status::Success();
  if (auto fault = CheckFault(FileOperation::CreateFolder); !fault) return fault;
  std::string resolved = ResolvePath(path);
  if (CutShortBySystem(resolved)) return NoSuchFile();
  while (resolved.size() > 1 && IsSeparator(resolved.back())) resolved.pop_back();
  return os::StatusOf(os::MakeFolder(resolved));
}

Status CreateFolderWithParents(const std::string& path) {
  for (std::size_t end = path.find_first_of(kSeparators, 1); end != std::string::npos;
       end = path.find_first_of(kSeparators, end + 1)) {
    if (FolderExists(path.substr(0, end + 1))) continue;
    if (auto made = CreateFolder(path.substr(0, end)); !made) return made;
  }
  return CreateFolder(path);
}

std::optional<std::int64_t> EntryChangedAt(const std::string& path) {
  return os::ChangedAt(ResolvePath(path));
}

void RemoveEmptyFolder(const std::string& path) {
  os::RemoveFolder(ResolvePath(path));
}

Status DeleteResolvedFile(const std::string& resolvedPath) {
  if (auto fault = CheckFault(FileOperation::Delete); !fault) return fault;
  return os::StatusOf(os::RemoveFile(resolvedPath));
}

Status RenameResolvedFile(const std::string& resolvedFrom, const std::string& resolvedTo) {
  if (auto fault = CheckFault(FileOperation::Rename); !fault) return fault;
  if (os::kOpenFilesBlockReplacing) CloseReadersOf(resolvedTo);
  return os::StatusOf(os::Rename(resolvedFrom, resolvedTo));
}

namespace {

// Copies a whole file to a new one, for file systems without hard links.
Status CopyWholeFile(const std::string& from, const std::string& to, bool flush) {
  auto source = InputFile::OpenResolved(from);
  if (!source) return Status::Failure(source.Reason());
  os::Handle target = os::kNoHandle;
  if (auto failure = os::CreateNew(to, target)) return Status::Failure(failure->Text);
  std::vector<std::uint8_t> buffer(1 << 20);
  os::Outcome outcome;
  for (std::uint64_t offset = 0; !outcome;) {
    auto got = source.Value().ReadSomeAt(offset, buffer);
    if (!got) outcome = os::Error{os::ErrorKind::Other, got.Reason()};
    if (!got || got.Value() == 0) break;
    outcome = os::WriteAll(target, std::span(buffer).first(got.Value()));
    offset += got.Value();
  }
  if (!outcome && flush) outcome = os::Sync(target);
  if (auto closed = os::Close(target); closed && !outcome) outcome = closed;
  if (outcome) (void)os::RemoveFile(to);
  return os::StatusOf(outcome);
}

}  // namespace

Status LinkOrCopyResolvedFile(const std::string& resolvedExisting, const std::string& resolvedNew,
                              bool flush) {
  if (auto fault = CheckFault(FileOperation::Link); !fault) return fault;
  const os::Outcome linked = os::Link(resolvedExisting, resolvedNew);
  if (!linked) return Status::Success();
  if (linked->Kind != os::ErrorKind::NoLinks) return Status::Failure(linked->Text);
  return CopyWholeFile(resolvedExisting, resolvedNew, flush);
}

Status FlushFolder(const std::string& resolvedFolder) {
  if (auto fault = CheckFault(FileOperation::FolderFlush); !fault) return fault;
  return os::StatusOf(os::FlushFolder(resolvedFolder));
}

Result<std::uint64_t> FileLength(const std::string& path) {
  if (CutShortBySystem(path)) return NoSuchFile();
  const os::EntryInfo info = os::LookAt(ResolvePath(path));
  if (info.Type == os::EntryType::None) return Status::Failure(info.Problem);
  return info.Length;
}

Result<Bytes> ReadWholeFile(const std::string& path) {
  auto file = InputFile::Open(path);
  if (!file) return Status::Failure(file.Reason());
  Bytes bytes(file.Value().Length());
  if (auto read = file.Value().ReadAt(0, bytes); !read) return read;
  return bytes;
}

Result<InputFile> InputFile::Open(const std::string& path) {
  return OpenResolved(ResolvePath(path));
}

Result<InputFile> InputFile::OpenResolved(const std::string& resolved) {
  if (CutShortBySystem(resolved)) return NoSuchFile();
  auto reader = std::make_shared<OpenReader>();
  std::uint64_t length = 0;
  if (auto failure = os::OpenToRead(resolved, reader->Handle, length)) {
    return Status::Failure(failure->Text);
  }
  if (os::kOpenFilesBlockReplacing) {
    reader->Path = resolved;
    AddReader(reader);
  }
  return InputFile(std::move(reader), length);
}

Result<std::size_t> InputFile::ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!os::kOpenFilesBlockReplacing) return os::ReadSomeAt(reader_->Handle, offset, out);
  std::lock_guard guard(reader_->Lock);
  if (reader_->Handle == os::kNoHandle) {
    return Status::Failure("The file has been replaced while it was read");
  }
  return os::ReadSomeAt(reader_->Handle, offset, out);
}

Status InputFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  auto got = ReadSomeAt(offset, out);
  if (!got) return Status::Failure(got.Reason());
  if (got.Value() != out.size()) return Status::Failure("The file ends too early");
  return Status::Success();
}

}  // namespace zorvane::platform

#include "platform/journal.h"

#include <charconv>

namespace zorvane::platform {

namespace {

constexpr std::string_view kFirstLine = "Zorvane journal 1\n";
constexpr std::string_view kLastLine = "end\n";

// A path as "LENGTH:BYTES", so that any byte, spaces and line ends included, may stand in it.
void AppendPath(std::string& out, std::string_view path, std::string_view journalFolder) {
  if (!journalFolder.empty() && path.starts_with(journalFolder)) {
    path.remove_prefix(journalFolder.size());
    out += "+";  // relative to the journal's folder
  }
  out += std::to_string(path.size());
  out += ':';
  out += path;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Word(std::string_view word) {
    if (!text_.starts_with(word)) return false;
    text_.remove_prefix(word.size());
    return true;
  }

  std::optional<std::uint64_t> Number(int base = 10) {
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(text_.data(), text_.data() + text_.size(), value, base);
    if (error != std::errc() || end == text_.data()) return std::nullopt;
    text_.remove_prefix(static_cast<std::size_t>(end - text_.data()));
    return value;
  }

  std::optional<std::string> Path(std::string_view journalFolder) {
    const bool relative = Word("+");
    const auto length = Number();
    if (!length || !Word(":") || *length > text_.size()) return std::nullopt;
    std::string path = relative ? std::string(journalFolder) : std::string();
    path += text_.substr(0, *length);
    text_.remove_prefix(*length);
    return path;
  }

  bool AtEnd() const { return text_.empty(); }

 private:
  std::string_view text_;
};

std::optional<JournalEntry> ParseEntry(Reader& in, std::string_view journalFolder) {
  JournalEntry entry;
  const auto length = in.Number();
  if (!length || !in.Word(" ")) return std::nullopt;
  const auto checksum = in.Number(16);
  if (!checksum) return std::nullopt;
  entry.Length = *length;
  entry.Checksum = *checksum;
  for (std::string* path : {&entry.Target, &entry.Temporary, &entry.SecondName, &entry.Backup}) {
    auto read = in.Word(" ") ? in.Path(journalFolder) : std::nullopt;
    if (!read) return std::nullopt;
    *path = std::move(*read);
  }
  if (!in.Word("\n") || entry.Target.empty() || entry.Temporary.empty()) return std::nullopt;
  return entry;
}

}  // namespace

Status SerialiseJournal(const Journal& journal, std::string_view journalFolder,
                        const JournalSink& sink) {
  // A journal of a hundred thousand files is megabytes: it goes out in pieces.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string out;
  out.reserve(kPiece + 4096);
  const auto flushIfFull = [&](bool last) {
    if (out.size() < kPiece && !last) return Status::Success();
    Status written = sink(out);
    out.clear();
    return written;
  };
  out += kFirstLine;
  out += journal.Committed ? "committed\n" : "staging\n";
  out += journal.Synced ? "synced\n" : "unsynced\n";
  for (const std::string& folder : journal.Folders) {
    out += "folder ";
    AppendPath(out, folder, journalFolder);
    out += '\n';
    if (auto written = flushIfFull(false); !written) return written;
  }
  char checksum[17];
  for (const JournalEntry& entry : journal.Entries) {
    out += "entry " + std::to_string(entry.Length) + " ";
    const auto [end, error] = std::to_chars(checksum, checksum + 16, entry.Checksum, 16);
    out.append(checksum, end);
    for (const std::string* path :
         {&entry.Target, &entry.Temporary, &entry.SecondName, &entry.Backup}) {
      out += ' ';
      AppendPath(out, *path, journalFolder);
    }
    out += '\n';
    if (auto written = flushIfFull(false); !written) return written;
  }
  out += kLastLine;
  return flushIfFull(true);
}

std::string SerialiseJournal(const Journal& journal, std::string_view journalFolder) {
  std::string text;
  (void)SerialiseJournal(journal, journalFolder, [&text](std::string_view piece) {
    text += piece;
    return Status::Success();
  });
  return text;
}

std::optional<Journal> ParseJournal(std::string_view text, std::string_view journalFolder) {
  Reader in(text);
  Journal journal;
  if (!in.Word(kFirstLine)) return std::nullopt;
  if (in.Word("committed\n")) {
    journal.Committed = true;
  } else if (!in.Word("staging\n")) {
    return std::nullopt;
  }
  if (in.Word("synced\n")) {
    journal.Synced = true;
  } else if (!in.Word("unsynced\n")) {
    return std::nullopt;
  }
  while (in.Word("folder ")) {
    auto folder = in.Path(journalFolder);
    if (!folder || !in.Word("\n")) return std::nullopt;
    journal.Folders.push_back(std::move(*folder));
  }
  while (in.Word("entry ")) {
    auto entry = ParseEntry(in, journalFolder);
    if (!entry) return std::nullopt;
    journal.Entries.push_back(std::move(*entry));
  }
  if (!in.Word(kLastLine) || !in.AtEnd()) return std::nullopt;
  return journal;
}

}  // namespace zorvane::platform

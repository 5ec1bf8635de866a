// Times the insertion of one tile member into the sample's TIL.PFP (about 200 MB at --scale 16)
// against copying that archive, and prints the ratio. The insertion is the whole command as
// the menu runs it: both indexes read, the new archive and PFPDATA.IDX written and fsync'ed,
// the files renamed into place, older backups deleted. The floors copy the same archive:
// "read/write + fsync" through a 1 MiB buffer with one fsync at the end (the same work the
// insertion cannot avoid), and "cp" and "cp + fsync" for reference.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "archive/index_files.h"
#include "archive/sprite_insertion.h"
#include "floor_files.h"
#include "median.h"
#include "platform/file_system.h"
#include "platform/safe_file.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace archive = zorvane::archive;
namespace platform = zorvane::platform;

struct Options {
  int Scale = 16;
  int Runs = 9;
  std::string Folder;  // where the sample goes; a fresh temporary folder when empty
};

[[noreturn]] void Fail(const std::string& what) {
  std::cerr << "insertion_bench: " << what << '\n';
  std::exit(1);
}

// Times `work` alone: whatever the disk still has to do for earlier steps (the deletion of a
// 200 MB file, say) is done first.
double Seconds(const std::function<void()>& work) {
  ::sync();
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

using zorvane::bench::Median;

void Fsync(const std::string& path) {
  const int file = ::open(path.c_str(), O_RDONLY);
  if (file < 0 || ::fsync(file) != 0) Fail("cannot fsync " + path);
  ::close(file);
}

// The same bytes through read and write, 1 MiB at a time, then fsync.
void CopyThroughBuffer(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0) Fail("cannot open " + from + " or " + to);
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0) Fail("cannot read " + from);
    if (got == 0) break;
    if (::write(out, buffer.data(), static_cast<std::size_t>(got)) != got) Fail("cannot write");
  }
  if (::fsync(out) != 0) Fail("cannot fsync " + to);
  ::close(in);
  ::close(out);
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) Fail("failed: " + command);
}

// The middle member of TIL.PFP: the insertion copies the bytes before it and after it.
archive::MemberRecord MiddleTile(const std::string& dataFolder) {
  const auto bytes = platform::ReadWholeFile(dataFolder + "PFPDATA.IDX");
  const auto extBytes = platform::ReadWholeFile(dataFolder + "EXT.IDX");
  if (!bytes || !extBytes) Fail("cannot read the indexes of " + dataFolder);
  const auto records = archive::ParseMemberIndex(bytes.Value()).Records;
  for (const auto& group : archive::ParseArchiveIndex(extBytes.Value())) {
    if (archive::ComparableName(group.Name) != "TIL") continue;
    auto first = records.begin() + group.FirstMember;
    auto end = std::find_if(first + 1, records.end(), [](const auto& r) { return r.Offset == 0; });
    return first[(end - first) / 2];
  }
  Fail("no TIL archive in " + dataFolder);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--scale" && i + 1 < argc) {
      options.Scale = std::atoi(argv[++i]);
    } else if (arg == "--runs" && i + 1 < argc) {
      options.Runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--folder" && i + 1 < argc) {
      options.Folder = argv[++i];
    } else {
      Fail("usage: insertion_bench [--scale N] [--runs R] [--folder DIR]");
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  std::string work = options.Folder;
  if (work.empty()) {
    char pattern[] = "/tmp/zorvane-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) Fail("cannot make a temporary folder");
    work = pattern;
  }
  work = std::filesystem::absolute(work).string() + "/";
  const std::string data = work + "DATA/";
  if (auto written = zorvane::sample::WriteSampleInstallation(data, {options.Scale}); !written) {
    Fail("cannot write the sample: " + written.Reason());
  }
  const std::string archivePath = data + "TIL.PFP";
  const auto archiveLength = platform::FileLength(archivePath);
  if (!archiveLength) Fail("no " + archivePath);

  const archive::MemberRecord tile = MiddleTile(data);
  const std::string chosen = work + archive::ComparableName(tile.Name) + ".SHP";
  {
    auto input = platform::InputFile::Open(archivePath);
    if (!input) Fail("cannot open " + archivePath);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(tile.Length));
    if (!input.Value().ReadAt(static_cast<std::uint64_t>(tile.Offset), bytes)) Fail("short");
    bytes.back() ^= 1;  // an edited tile
    zorvane::bench::WriteFileWhole(chosen, bytes);
  }

  std::vector<double> insertion, bufferCopy, cp, cpSync;
  for (int run = 0; run < options.Runs; ++run) {
    const std::string copy = work + "COPY.PFP";
    bufferCopy.push_back(Seconds([&] { CopyThroughBuffer(archivePath, copy); }));
    std::filesystem::remove(copy);
    cp.push_back(Seconds([&] { Shell("cp '" + archivePath + "' '" + copy + "'"); }));
    std::filesystem::remove(copy);
    cpSync.push_back(Seconds([&] {
      Shell("cp '" + archivePath + "' '" + copy + "'");
      Fsync(copy);
    }));
    std::filesystem::remove(copy);

    platform::ScriptedUi ui;
    archive::IndexTables tables;
    ui.QueueFileChoice(chosen);
    archive::InsertionOutcome outcome{};
    insertion.push_back(Seconds([&] { outcome = archive::InsertShpFile(data, tables, ui); }));
    if (outcome != archive::InsertionOutcome::Inserted) {
      Fail("the insertion was refused: " + (ui.Messages().empty() ? "" : ui.Messages().back()));
    }
  }

  const double megabytes = static_cast<double>(archiveLength.Value()) / 1e6;
  std::printf("TIL.PFP: %.1f MB (--scale %d), member %s of %d bytes, %d runs\n", megabytes,
              options.Scale, archive::ComparableName(tile.Name).c_str(), tile.Length, options.Runs);
  std::printf("                                          median     best\n");
  const auto row = [](const char* label, const std::vector<double>& times) {
    std::printf("  %-38s %7.3f s %7.3f s\n", label, Median(times),
                *std::min_element(times.begin(), times.end()));
  };
  row("insertion (fsync of archive and index)", insertion);
  row("read/write + fsync", bufferCopy);
  row("cp + fsync", cpSync);
  row("cp (no fsync)", cp);
  const auto ratio = [](const char* label, const std::vector<double>& times,
                        const std::vector<double>& floor) {
    std::printf("ratio insertion / (%s): %.2f median, %.2f best\n", label,
                Median(times) / Median(floor),
                *std::min_element(times.begin(), times.end()) /
                    *std::min_element(floor.begin(), floor.end()));
  };
  ratio("read/write + fsync", insertion, bufferCopy);
  ratio("cp + fsync", insertion, cpSync);
  if (options.Folder.empty()) std::filesystem::remove_all(work);
  return 0;
}

// The benchmark table: every command of zorvane-cli run as a process of its own on the largest
// installation (zorvane-sample --scale 100), each held against its floor, the same bytes
// copied with cp or read, or the same files written without any decoding. Prints one table
// with the median wall and CPU time, the throughput and the peak memory of each command, and
// then the aims with the figures that meet or miss them.
//
//   build/bench/bench/table_bench [--runs N] [--archive-runs N] [--no-archive] [--no-wait]
//
// The installation is kept in build/bench/largest/ and made again only when it is missing or
// older than zorvane-sample; the commands run on a copy in build/bench/table-work/, removed at
// the end.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "process_measurement.h"
#include "sample/sample_installation.h"
#include "table_printer.h"
#include "workloads.h"

namespace {

using namespace zorvane::bench;
namespace fs = std::filesystem;

struct Options {
  int Runs = 5;
  int ArchiveRuns = 3;
  bool WholeArchive = true;
  bool Wait = true;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      options.Runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--archive-runs" && i + 1 < argc) {
      options.ArchiveRuns = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--no-archive") {
      options.WholeArchive = false;
    } else if (arg == "--no-wait") {
      options.Wait = false;
    } else {
      Fail("usage: table_bench [--runs N] [--archive-runs N] [--no-archive] [--no-wait]");
    }
  }
  return options;
}

std::size_t CountFiles(const std::string& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

bool OlderThan(const std::string& path, const std::string& other) {
  struct stat mine {};
  struct stat theirs {};
  if (::stat(path.c_str(), &mine) != 0 || ::stat(other.c_str(), &theirs) != 0) return true;
  return mine.st_mtim.tv_sec < theirs.st_mtim.tv_sec;
}

// Makes the largest installation unless an up-to-date one is there.
std::string LargestInstallation() {
  const std::string folder = std::string(ZORVANE_BENCH_FOLDER) + "/largest/";
  const std::string stamp =
      folder + "made-at-scale-" + std::to_string(zorvane::sample::kLargestScale);
  if (fs::exists(folder + "DATA/PFPDATA.IDX") && !OlderThan(stamp, ZORVANE_SAMPLE_TOOL)) {
    return folder + "DATA/";
  }
  std::cout << "Making the largest installation in " << folder << " ..." << std::endl;
  fs::remove_all(folder);
  fs::create_directories(folder);
  RunProgram({ZORVANE_SAMPLE_TOOL, folder + "DATA", "--scale",
              std::to_string(zorvane::sample::kLargestScale)},
             folder + "zorvane-sample.log");
  std::ofstream(stamp) << "zorvane-sample --scale " << zorvane::sample::kLargestScale << '\n';
  return folder + "DATA/";
}

// The commands, their floors and the folders they work in.
class Bench {
 public:
  Bench(const Options& options, const std::string& largest)
      : options_(options),
        work_(std::string(ZORVANE_BENCH_FOLDER) + "/table-work/"),
        data_(work_ + "DATA/"),
        program_(work_ + "program/"),
        installation_(ReadInstallation(largest)) {
    if (fs::exists(work_)) RemoveWork();  // left by a run that stopped
    WaitForRemovedInodes();
    fs::create_directories(program_);
    RunProgram({"/bin/cp", "-r", largest, data_}, work_ + "copy.log");
    installation_.DataFolder = data_;
  }
  ~Bench() {
    std::cout << "Removing " << work_ << " ..." << std::endl;
    RemoveWork();
  }

  void Run(Table& table);

 private:
  Measurement Cli(std::vector<std::string> args, const std::string& log = "") {
    std::vector<std::string> argv{ZORVANE_CLI, "--data", data_, "--program-dir", program_};
    argv.insert(argv.end(), args.begin(), args.end());
    SettleDisk();
    return RunProgram(argv, log.empty() ? work_ + "command.log" : log);
  }
  Measurement Program(std::vector<std::string> argv, const std::string& log = "/dev/null") {
    SettleDisk();
    return RunProgram(argv, log);
  }
  Measurement Child(const std::function<std::vector<double>()>& work) {
    SettleDisk();
    return RunInChild(work);
  }
  // cp of the files into the work folder, each flushed to the disk with sync FILE.
  Measurement CopyAndSync(const std::vector<std::string>& names) {
    std::vector<std::string> argv{"/bin/sh", "-c",
                                  "for f; do cp -- \"$f\" \"$f.copy\" && sync -- \"$f.copy\" || "
                                  "exit 1; done",
                                  "sh"};
    for (const auto& name : names) argv.push_back(data_ + name);
    const Measurement measurement = Program(argv);
    for (const auto& name : names) SetAside(data_ + name + ".copy");
    return measurement;
  }
  void RemoveWork() {
    fs::remove_all(work_);
    SettleDisk();
    std::ofstream(removedStamp_) << "the benchmark's files were removed\n";
  }
  // See SetAside: the inodes of the files that the last run removed are skipped for a minute
  // after they are written back, and for six while a file made next to them keeps their block
  // dirty.
  void WaitForRemovedInodes() {
    if (!options_.Wait || !fs::exists(removedStamp_)) return;
    const auto age = fs::file_time_type::clock::now() - fs::last_write_time(removedStamp_);
    const auto wait = std::chrono::seconds(370) - age;
    if (wait <= std::chrono::seconds(0)) return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait).count() + 1;
    std::cout << "Waiting " << seconds
              << " s until the inodes of the last run's files may be used again (--no-wait "
                 "to start at once) ..."
              << std::endl;
    std::this_thread::sleep_for(wait);
  }
  // Moves a folder that a run wrote out of the way, to be deleted at the end: on a file system
  // without a journal, ext4 passes over recently freed inodes when it makes a file, looking at each
  // of them, so deleting thousands of files between runs would slow down the next run's files. A
  // single file frees one inode and goes at once.
  void SetAside(const std::string& path) {
    if (!fs::is_directory(path)) {
      fs::remove(path);
      return;
    }
    fs::create_directories(work_ + "set-aside/");
    fs::rename(path, work_ + "set-aside/" + std::to_string(setAside_++));
  }
  std::vector<double> Describe(const std::vector<Member>& members) {
    return RunInChild([&] { return DescribeSprites(data_ + "TIL.PFP", members); }).Reported;
  }
  // Runs the command and its floor one after the other, `runs` times.
  void Measure(Row& row, int runs, const std::function<Measurement()>& command,
               const std::function<Measurement()>& floor = {}) {
    for (int run = 0; run < runs; ++run) {
      row.Runs.push_back(command());
      if (floor) row.FloorRuns.push_back(floor());
    }
  }
  void Listings(Table& table);
  void Extractions(Table& table);
  void Repacks(Table& table);
  void PngRoundTrip(Table& table);
  void Insertions(Table& table);
  void UnitDescriptions(Table& table);
  void WholeArchive(Table& table);
  void Coding(Table& table);
  void Window(Table& table);
  void Browse(Table& table);

  Options options_;
  std::string work_, data_, program_;
  Installation installation_;
  int setAside_ = 0;
  std::string removedStamp_ = std::string(ZORVANE_BENCH_FOLDER) + "/table-work.removed";
};

void Bench::Listings(Table& table) {
  const auto readIndex = [&] { return Program({"/bin/cat", data_ + "PFPDATA.IDX"}); };
  for (const auto& [choice, archive] : std::vector<std::pair<std::string, std::string>>{
           {"all", ""}, {"shp", "SHP"}, {"til", "TIL"}, {"pal", "PAL"}}) {
    const double rows = archive.empty()
                            ? static_cast<double>(installation_.Records)
                            : static_cast<double>(installation_.MembersOf(archive).size());
    Row& row = table.Add("list " + choice, FormatCount(rows) + " rows", rows, "rows",
                         "reading PFPDATA.IDX (cat)", archive.empty() ? Aim::Listing : Aim::None);
    Measure(
        row, options_.Runs,
        [&] {
          return Cli({"list", choice}, "/dev/null");
        },
        readIndex);
  }
  Row& palettes = table.Add("extract pal --all", "15 palettes, 45 files", 15, "palettes",
                            "reading PAL.PFP (cat)");
  Measure(
      palettes, options_.Runs,
      [&] {
        SetAside(data_ + "TOVRIN_PFP/PALETTES");
        return Cli({"extract", "pal", "--all"});
      },
      [&] {
        return Program({"/bin/cat", data_ + "PAL.PFP"});
      });
  std::vector<std::string> rgbFiles;
  for (const auto& entry : fs::directory_iterator(program_)) {
    if (entry.path().extension() == ".RGB") rgbFiles.push_back(entry.path().string());
  }
  Row& loading =
      table.Add("palettes", "15 internal palettes", 15, "palettes", "reading the 15 .RGB files");
  Measure(
      loading, options_.Runs, [&] { return Cli({"palettes"}); },
      [&] { return Child([&] { return ReadFiles(rgbFiles); }); });
}

void Bench::Extractions(Table& table) {
  const std::string floorFolder = work_ + "floor/";
  for (const auto& [archive, folder, choice, member] :
       std::vector<std::tuple<std::string, std::string, std::string, Member>>{
           {"TIL", "TILES", "til", installation_.Longest("TIL")},
           {"SHP", "ICONS", "shp", installation_.Find("SHP", "UNITICON")}}) {
    const auto info =
        RunInChild([&] { return DescribeSprites(data_ + archive + ".PFP", {member}); }).Reported;
    Row& row =
        table.Add("extract " + choice + " " + member.Name,
                  FormatBytes(member.Length) + ", " + FormatCount(info[0]) + " BMPs", info[0],
                  "BMPs", "writing " + FormatCount(info[0]) + " files of the BMPs' sizes");
    const std::string archivePath = data_ + archive + ".PFP";
    const Member copy = member;
    Measure(
        row, options_.Runs,
        [&] {
          SetAside(data_ + "TOVRIN_PFP/" + folder);
          return Cli({"extract", choice, copy.Name});
        },
        [&] {
          SetAside(floorFolder);
          fs::create_directories(floorFolder);
          const Measurement m =
              Child([&] { return WriteFilesLikeTheBmps(archivePath, {copy}, floorFolder); });
          SetAside(floorFolder);
          return m;
        });
  }
  const auto icons = static_cast<double>(CountFiles(data_ + "TOVRIN_PFP/ICONS/BMPFILES"));
  Row& sets = table.Add("sets icons", FormatCount(icons) + " BMPs in the folder", icons, "BMPs",
                        "listing the folder (ls)");
  Measure(
      sets, options_.Runs,
      [&] {
        return Cli({"sets", "icons"});
      },
      [&] {
        return Program({"/bin/ls", data_ + "TOVRIN_PFP/ICONS/BMPFILES"});
      });
}

void Bench::Repacks(Table& table) {
  for (const auto& [archive, folder, choice, member] :
       std::vector<std::tuple<std::string, std::string, std::string, Member>>{
           {"SHP", "ICONS", "icons", installation_.Find("SHP", "UNITICON")},
           {"TIL", "TILES", "tiles", installation_.Longest("TIL")}}) {
    const std::string bmpFolder = data_ + "TOVRIN_PFP/" + folder + "/BMPFILES/";
    const auto bmps = static_cast<double>(CountFiles(bmpFolder));
    Row& row = table.Add("repack " + choice + " " + member.Name,
                         FormatCount(bmps) + " BMPs into " + FormatBytes(member.Length), bmps,
                         "BMPs", "reading the BMPs, writing one file");
    const std::string floorFile = work_ + "floor.SHP";
    const Member copy = member;
    Measure(
        row, options_.Runs,
        [&] {
          return Cli({"repack", choice, copy.Name});
        },
        [&] {
          const Measurement m =
              Child([&] { return ReadFolderAndWriteOne(bmpFolder, floorFile, copy.Length); });
          SetAside(floorFile);
          return m;
        });
    // The sample's sprites are coded as the tool codes them: the repack gives each back.
    RunInChild([&] {
      return CheckFileIsMember(data_ + "TOVRIN_PFP/" + folder + "/" + copy.Name + ".SHP",
                               data_ + archive + ".PFP", copy);
    });
  }
}

// The largest tile file extracted as PNGs and packed again from them, beside its BMP rows.
void Bench::PngRoundTrip(Table& table) {
  const Member member = installation_.Longest("TIL");
  const std::string tiles = data_ + "TOVRIN_PFP/TILES/";
  const std::string pngFolder = tiles + "BMPFILES/";
  const std::string floorFolder = work_ + "floor/";
  const double images = Describe({member})[0];
  Row& extract = table.Add("extract til " + member.Name + " --format png",
                           FormatBytes(member.Length) + ", " + FormatCount(images) + " PNGs",
                           images, "PNGs", "writing as many files of the PNGs' sizes");
  Measure(
      extract, options_.Runs,
      [&] {
        SetAside(tiles);
        return Cli({"extract", "til", member.Name, "--format", "png"});
      },
      [&] {
        SetAside(floorFolder);
        fs::create_directories(floorFolder);
        const Measurement m = Child([&] { return WriteFilesLikeThoseIn(pngFolder, floorFolder); });
        SetAside(floorFolder);
        return m;
      });
  Row& repack = table.Add("repack tiles " + member.Name + " (PNG)",
                          FormatCount(images) + " PNGs into " + FormatBytes(member.Length), images,
                          "PNGs", "reading the PNGs, writing one file");
  const std::string floorFile = work_ + "floor.SHP";
  Measure(
      repack, options_.Runs,
      [&] {
        return Cli({"repack", "tiles", member.Name});
      },
      [&] {
        const Measurement m =
            Child([&] { return ReadFolderAndWriteOne(pngFolder, floorFile, member.Length); });
        SetAside(floorFile);
        return m;
      });
  RunInChild(
      [&] { return CheckFileIsMember(tiles + member.Name + ".SHP", data_ + "TIL.PFP", member); });
}

void Bench::Insertions(Table& table) {
  for (const auto& [archive, folder, member] :
       std::vector<std::tuple<std::string, std::string, Member>>{
           {"TIL", "TILES", installation_.Longest("TIL")},
           {"SHP", "ICONS", installation_.Find("SHP", "UNITICON")}}) {
    const std::string archiveFile = archive + ".PFP";
    const auto length = static_cast<double>(fs::file_size(data_ + archiveFile));
    Row& row =
        table.Add("insert " + folder + "/" + member.Name + ".SHP",
                  "into " + FormatBytes(length) + " " + archiveFile, length, "B",
                  "cp + sync of " + archiveFile, archive == "TIL" ? Aim::Insertion : Aim::None);
    const std::string sprite = data_ + "TOVRIN_PFP/" + folder + "/" + member.Name + ".SHP";
    Measure(
        row, options_.Runs,
        [&] {
          return Cli({"insert", sprite});
        },
        [&] { return CopyAndSync({archiveFile}); });
    // The sprite put in is the member that was there: the archive is rewritten unchanged.
    RunInChild([&] { return CheckFilesEqual(data_ + archiveFile, data_ + archive + "_OLD.PFP"); });
  }
}

void Bench::UnitDescriptions(Table& table) {
  const auto units = static_cast<double>(installation_.MembersOf("TXT").size() - 3);
  Row& extract = table.Add("extract-units", FormatCount(units) + " unit descriptions", units,
                           "units", "cp of TXT.PFP");
  Measure(
      extract, options_.Runs, [&] { return Cli({"extract-units"}); },
      [&] {
        const Measurement m = Program({"/bin/cp", data_ + "TXT.PFP", work_ + "TXT.copy"});
        SetAside(work_ + "TXT.copy");
        return m;
      });
  const std::vector<std::string> rewritten{"TXT.PFP", "PFPDATA.IDX", "EXT.IDX"};
  double bytes = 0;
  for (const auto& name : rewritten) bytes += static_cast<double>(fs::file_size(data_ + name));
  Row& insert = table.Add("insert-units EXTRACTS",
                          FormatCount(units) + " units; " + FormatBytes(bytes) + " rewritten",
                          bytes, "B", "cp + sync of the 3 files");
  Measure(
      insert, options_.Runs,
      [&] {
        return Cli({"insert-units", data_ + "EXTRACTS"});
      },
      [&] { return CopyAndSync(rewritten); });
  // The descriptions of the installation itself: its text archive comes back unchanged.
  RunInChild([&] { return CheckFilesEqual(data_ + "TXT.PFP", data_ + "OLD_TXT.PFP"); });
}

void Bench::WholeArchive(Table& table) {
  const auto& members = installation_.MembersOf("TIL");
  const std::string archivePath = data_ + "TIL.PFP";
  const auto length = static_cast<double>(fs::file_size(archivePath));
  const std::string copies = work_ + "copies/";
  Row& copy = table.Add(
      "(extract til --all: member copies only)",
      FormatCount(static_cast<double>(members.size())) + " members, " + FormatBytes(length), length,
      "B", "reading TIL.PFP (cat)", Aim::MemberCopies);
  Measure(
      copy, options_.Runs,
      [&] {
        SetAside(copies);
        fs::create_directories(copies);
        return Child([&] { return CopyMembers(archivePath, members, copies); });
      },
      [&] {
        return Program({"/bin/cat", archivePath});
      });
  SetAside(copies);
  Row& cp = table.Add("(cp TIL.PFP)", FormatBytes(length), length, "B", "reading TIL.PFP (cat)");
  Measure(
      cp, options_.Runs,
      [&] {
        const Measurement m = Program({"/bin/cp", archivePath, work_ + "TIL.copy"});
        SetAside(work_ + "TIL.copy");
        return m;
      },
      [&] {
        return Program({"/bin/cat", archivePath});
      });
  if (!options_.WholeArchive) return;

  const auto info = Describe(members);
  Row& all = table.Add(
      "extract til --all",
      FormatBytes(length) + ", " + FormatCount(info[0]) + " BMPs (" + FormatBytes(info[2]) + ")",
      info[0], "BMPs", "writing as many files of the BMPs' sizes", Aim::Conversion);
  const std::string floorFolder = work_ + "floor/";
  const auto writeAlone = [&] {
    SetAside(data_ + "TOVRIN_PFP/TILES");
    SetAside(floorFolder);
    fs::create_directories(floorFolder);
    const Measurement m =
        Child([&] { return WriteFilesLikeTheBmps(archivePath, members, floorFolder); });
    SetAside(floorFolder);
    return m;
  };
  // The command on both cores, on one, and the files alone written as it replaces files.
  Row& oneThread = table.Add("extract til --all --threads 1", all.Work, info[0], "BMPs",
                             all.Floor, Aim::OneThread);
  Row& staged = table.Add("(the same files staged, then renamed)", all.Work, info[0], "BMPs",
                          all.Floor);
  for (int run = 0; run < options_.ArchiveRuns; ++run) {
    Measure(
        all, 1,
        [&] {
          SetAside(data_ + "TOVRIN_PFP/TILES");
          return Cli({"extract", "til", "--all"});
        },
        writeAlone);
    Measure(oneThread, 1, [&] {
      SetAside(data_ + "TOVRIN_PFP/TILES");
      return Cli({"--threads", "1", "extract", "til", "--all"});
    });
    Measure(staged, 1, [&] {
      SetAside(floorFolder);
      fs::create_directories(floorFolder);
      const Measurement m =
          Child([&] { return StageAndRenameFilesLikeTheBmps(archivePath, members, floorFolder); });
      SetAside(floorFolder);
      return m;
    });
  }
  oneThread.FloorRuns = all.FloorRuns;
  staged.FloorRuns = all.FloorRuns;
}

void Bench::Coding(Table& table) {
  const Member tile = installation_.Longest("TIL");
  const std::string archivePath = data_ + "TIL.PFP";
  const auto info = Describe({tile});
  const std::string work =
      tile.Name + ": " + FormatCount(info[0]) + " hexes, " + FormatCount(info[1]) + " pixels";
  Row& decode = table.Add("(decoding, one core)", work, 0, "px", "", Aim::Decoding);
  decode.PerCpuSecond = true;
  Measure(decode, options_.Runs,
          [&] { return Child([&] { return DecodeRate(archivePath, tile, 0.5); }); });
  Row& encode = table.Add("(encoding, one core)", work, 0, "px", "", Aim::Encoding);
  encode.PerCpuSecond = true;
  Measure(encode, options_.Runs,
          [&] { return Child([&] { return EncodeRate(archivePath, tile, 0.5); }); });
}

void Bench::Window(Table& table) {
  const std::string windowBench = ZORVANE_WINDOW_BENCH;
  if (windowBench.empty()) {
    std::cout << "(the main window is not measured: this build has no Qt)\n";
    return;
  }
  Row& row = table.Add("(main window: *.PFP clicked)",
                       FormatCount(static_cast<double>(installation_.Records)) + " rows shown",
                       static_cast<double>(installation_.Records), "rows", "", Aim::Window);
  const std::string log = work_ + "window.log";
  SettleDisk();
  // It prints the medians of its own runs: the whole click (wall and CPU), then the handler
  // and Refresh with the painting apart.
  Measurement m =
      RunProgram({windowBench, data_, program_, "--runs", std::to_string(3 * options_.Runs)}, log);
  std::ifstream in(log);  // Qt's own remarks come first
  for (std::string line; std::getline(in, line);) {
    for (const char* label : {"click_wall ", "click_cpu ", "handler ", "refresh "}) {
      if (line.starts_with(label))
        m.Reported.push_back(std::atof(line.c_str() + std::strlen(label)));
    }
  }
  if (m.Reported.size() != 4) Fail("window_list_bench printed no figures; see " + log);
  // As a self-timed run reports: wall, CPU, the rows shown; then the two halves.
  m.Reported.insert(m.Reported.begin() + 2, static_cast<double>(installation_.Records));
  row.Runs.push_back(m);
}

void Bench::Browse(Table& table) {
  const std::string browseBench = ZORVANE_BROWSE_BENCH;
  if (browseBench.empty()) return;
  const std::string log = work_ + "browse.log";
  SettleDisk();
  // One run of it measures both: the medians of a keystroke in the filter box (wall, CPU, the
  // rows filtered), then of the largest tile file's first picture (wall, CPU, its hexes).
  const Measurement m =
      RunProgram({browseBench, data_, program_, "--runs", std::to_string(3 * options_.Runs)}, log);
  std::vector<double> figures;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    for (const char* label :
         {"filter_wall ", "filter_cpu ", "rows ", "picture_wall ", "picture_cpu ", "hexes "}) {
      if (line.starts_with(label)) figures.push_back(std::atof(line.c_str() + std::strlen(label)));
    }
  }
  if (figures.size() != 6) Fail("browse_bench printed no figures; see " + log);
  Row& filter =
      table.Add("(Browse: a filter keystroke)", FormatCount(figures[2]) + " rows filtered",
                figures[2], "rows", "", Aim::BrowseFilter);
  Row& picture =
      table.Add("(Browse: largest tile file)", FormatCount(figures[5]) + " hexes, first shown",
                figures[5], "hexes", "", Aim::BrowsePicture);
  for (const auto& [row, first] : {std::pair{&filter, 0}, std::pair{&picture, 3}}) {
    Measurement run = m;
    run.Reported.assign(figures.begin() + first, figures.begin() + first + 3);
    row->Runs.push_back(run);
  }
}

void Bench::Run(Table& table) {
  Listings(table);
  Extractions(table);
  Repacks(table);
  PngRoundTrip(table);
  Insertions(table);
  UnitDescriptions(table);
  WholeArchive(table);
  Coding(table);
  Window(table);
  Browse(table);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  const std::string largest = LargestInstallation();
  Table table;
  table.OwnKiB = OwnResidentKiB();
  Bench bench(options, largest);
  std::cout << "Measuring on a copy of " << largest << " (" << options.Runs << " runs a command, "
            << options.ArchiveRuns << " for the whole archive) ..." << std::endl;
  bench.Run(table);
  table.Print(std::cout, options.Runs);
  std::cout << std::endl;
  return 0;  // the bench's files are removed last: that takes a while
}

#include <gtest/gtest.h>

#include <filesystem>

#include "app/extraction_events.h"
#include "app/repack_events.h"
#include "platform/fault_injection.h"
#include "platform/ordered_work.h"
#include "support/sample_session.h"

namespace zorvane::app {
namespace {

using testing::SnapshotFolder;
using Snapshot = std::map<std::string, std::vector<std::uint8_t>>;

// The names of the files and folders that are in only one of the two, or differ.
std::vector<std::string> Differences(const Snapshot& a, const Snapshot& b) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : a) {
    if (!b.contains(name) || b.at(name) != bytes) names.push_back(name);
  }
  for (const auto& [name, bytes] : b) {
    if (!a.contains(name)) names.push_back(name);
  }
  return names;
}

// The threads long work runs on, for one test.
class WorkThreadsFor {
 public:
  explicit WorkThreadsFor(unsigned threads) { platform::SetWorkThreads(threads); }
  ~WorkThreadsFor() { platform::SetWorkThreads(0); }
};

// The sample installation started, with its palettes extracted and loaded.
struct StartedSample : testing::SampleSession {
  StartedSample() {
    if (!RunStartUp(session)) throw std::runtime_error("no start-up");
    ExtractAll(4);
    if (!CheckPalettes(session)) throw std::runtime_error("no palettes");
    ui.Clear();
  }
  // Extracts every member of the list of option 2 (SHP.PFP), 3 (TIL.PFP) or 4 (PAL.PFP), or
  // packs every set of the list of option 5 (icons) or 6 (tiles).
  void ExtractAll(int option) {
    ClickOption(session, option);
    std::vector<int> rows(session.Window.List1.size());
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = static_cast<int>(row);
    if (option >= 5) {
      RepackRows(session, rows);
    } else {
      ExtractRows(session, rows);
    }
  }
  // The messages with the DATA folder's path taken out.
  std::vector<std::string> Messages() const {
    auto messages = ui.Messages();
    for (std::string& text : messages) {
      for (std::size_t at; (at = text.find(data.Path())) != std::string::npos;) {
        text.replace(at, data.Path().size(), "DATA/");
      }
    }
    return messages;
  }
};

class ExtractionOnThreads : public ::testing::TestWithParam<graphics::PictureFormat> {};

// Every member of both sprite archives, as BMPs, PNGs or sheets, then every set packed again:
// the same files, byte for byte, and the same messages on one thread and on three.
TEST_P(ExtractionOnThreads, GivesWhatOneThreadGives) {
  StartedSample one, three;
  for (const int option : {2, 3, 5, 6}) {
    for (auto [sample, threads] : {std::pair{&one, 1u}, {&three, 3u}}) {
      const WorkThreadsFor chosen(threads);
      sample->session.Extraction.Format = GetParam();
      sample->ExtractAll(option);
      EXPECT_TRUE(option < 5 ? sample->session.Extraction.Completed
                             : sample->session.Repack.Completed);
    }
  }
  const Snapshot files = SnapshotFolder(one.data.Path() + "TOVRIN_PFP");
  EXPECT_GT(files.size(), GetParam() == graphics::PictureFormat::Sheet ? 60u : 500u);
  EXPECT_EQ(Differences(SnapshotFolder(three.data.Path() + "TOVRIN_PFP"), files),
            std::vector<std::string>{});
  EXPECT_EQ(three.Messages(), one.Messages());
}

INSTANTIATE_TEST_SUITE_P(Formats, ExtractionOnThreads,
                         ::testing::Values(graphics::PictureFormat::Bmp,
                                           graphics::PictureFormat::Png,
                                           graphics::PictureFormat::Sheet));

// A member named twice (as the command line's extract T_CLR_DD T_BCH_DD T_CLR_DD asks) is
// extracted once, in the place of the last: one change cannot write a file twice.
TEST(ManyMembers, ANameGivenTwiceIsExtractedOnceInItsLastPlace) {
  StartedSample sample;
  ClickOption(sample.session, 3);
  const auto nameOf = [&](int row) {
    const std::string& text = sample.session.Window.List1[static_cast<std::size_t>(row)];
    return text.substr(0, text.find(' '));
  };
  ExtractRows(sample.session, {0, 1, 0});
  EXPECT_TRUE(sample.session.Extraction.Completed);
  const auto messages = sample.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[0].starts_with("The File: " + nameOf(1) + "\r\n")) << messages[0];
  EXPECT_TRUE(messages[1].starts_with("The File: " + nameOf(0) + "\r\n")) << messages[1];
}

// A file of a later member or set that cannot be written changes nothing, and no earlier one's
// closing message says that it was done.
TEST(ManyMembers, AFailedWriteLaterOnReportsNothingAsDone) {
  StartedSample sample;
  ClickOption(sample.session, 3);
  ExtractRows(sample.session, {0});
  const auto firstImages = static_cast<int>(sample.ui.ReportCount());
  sample.ExtractAll(6);
  ASSERT_TRUE(sample.session.Repack.Completed);
  const Snapshot before = SnapshotFolder(sample.data.Path());
  // Made in turn: the journal, the first sprite file and its images, the second sprite file,
  // its first image; or, packing, the journal, the first sprite file, the second.
  for (const auto& [option, failingCreate] : {std::pair{3, firstImages + 4}, {6, 3}}) {
    sample.ui.Clear();
    ClickOption(sample.session, option);
    platform::FaultInjection::FailAt(platform::FileOperation::Create, failingCreate, "Disk full");
    option == 3 ? ExtractRows(sample.session, {0, 1}) : RepackRows(sample.session, {0, 1});
    platform::FaultInjection::Reset();
    EXPECT_EQ(Differences(SnapshotFolder(sample.data.Path()), before), std::vector<std::string>{});
    const auto messages = sample.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.front().find("Disk full"), std::string::npos) << messages.front();
    for (const std::string& text : messages) {
      EXPECT_FALSE(text.starts_with("The File:") || text.starts_with("The files has been"))
          << text;
    }
  }
}

// Stopping after the n-th sub-image, for a spread of n, into an empty folder and over an
// earlier extraction: the folder is as it was, no temporary file is left, and the one message
// says that nothing has changed. Stopped after the last one, the change is still not made.
TEST(StoppedExtraction, LeavesEverythingAsItWas) {
  StartedSample sample;
  const WorkThreadsFor two(2);
  sample.ExtractAll(3);
  const std::uint64_t subImages = sample.ui.ReportCount();
  ASSERT_GT(subImages, 100u);
  const auto stopEachTime = [&] {
    const Snapshot before = SnapshotFolder(sample.data.Path());
    for (const std::uint64_t n : {std::uint64_t{1}, std::uint64_t{15}, std::uint64_t{16},
                                  std::uint64_t{17}, subImages / 2, subImages}) {
      sample.ui.Clear();
      sample.ui.StopAfterReports(n);
      sample.ExtractAll(3);
      EXPECT_EQ(Differences(SnapshotFolder(sample.data.Path()), before),
                std::vector<std::string>{})
          << n;
      EXPECT_EQ(sample.ui.Messages(), std::vector<std::string>{platform::kStoppedMessage}) << n;
      EXPECT_TRUE(sample.session.Extraction.Stopped);
      EXPECT_FALSE(sample.session.Extraction.Completed);
    }
  };
  stopEachTime();
  std::filesystem::remove_all(sample.data / "TOVRIN_PFP/TILES");
  stopEachTime();
  sample.ui.StopAfterReports(subImages + 1);
  sample.ExtractAll(3);
  EXPECT_TRUE(sample.session.Extraction.Completed);
  EXPECT_FALSE(sample.session.Extraction.Stopped);
}

// The same for packing every tile set again, with some of their sprite files missing (the
// extraction wrote the others).
TEST(StoppedRepack, LeavesEverythingAsItWas) {
  StartedSample sample;
  const WorkThreadsFor two(2);
  sample.ExtractAll(3);
  std::filesystem::remove(sample.data / "TOVRIN_PFP/TILES/T_BCH_DD.SHP");
  const std::uint64_t start = sample.ui.ReportCount();
  sample.ExtractAll(6);
  const std::uint64_t files = sample.ui.ReportCount() - start;
  ASSERT_GT(files, 100u);
  for (int round = 0; round < 2; ++round) {
    const Snapshot before = SnapshotFolder(sample.data.Path());
    for (const std::uint64_t n : {std::uint64_t{1}, std::uint64_t{17}, files / 2, files}) {
      sample.ui.Clear();
      sample.ui.StopAfterReports(n);
      sample.ExtractAll(6);
      EXPECT_EQ(Differences(SnapshotFolder(sample.data.Path()), before),
                std::vector<std::string>{})
          << n;
      EXPECT_EQ(sample.ui.Messages(), std::vector<std::string>{platform::kStoppedMessage}) << n;
      EXPECT_TRUE(sample.session.Repack.Stopped);
    }
    std::filesystem::remove(sample.data / "TOVRIN_PFP/TILES/T_RIV_DD.SHP");
  }
}

}  // namespace
}  // namespace zorvane::app

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "insertion_test_support.h"
#include "small_installation.h"
#include "support/index_builder.h"

namespace zorvane::archive {
namespace {

using testing::Archive;
using testing::Member;

std::string NothingChanged(const std::string& first) {
  return first + "\r\nNothing has been changed.";
}

std::string CannotInsert(const std::string& chosen, const std::string& reason) {
  return NothingChanged("Cannot insert " + chosen + ": " + reason + ".");
}

std::string NotFound(const std::string& baseName) {
  return "I couldn't find the file " + baseName +
         ", you have to insert a file that is allready known to PacGen.";
}

std::string MissingFiles(const std::string& data) {
  return "I cannot find the files:\r\n" + data + "PFPDATA.IDX\r\nand\r\n" + data +
         "EXT.IDX\r\nCheck your foldersettings in the 'Settings' menu.";
}

std::string DoesNotMatch(const std::string& data, int archiveLength, const std::string& member) {
  return data + "PFPDATA.IDX does not match " + data + "SHP.PFP (" + std::to_string(archiveLength) +
         " bytes): it places the member " + member +
         " or the members after it outside the archive, out of order or not back to back";
}

struct Folders {
  const std::string& Data;   // ends in the separator
  const std::string& Edits;  // where the chosen file is
};

struct RefusalCase {
  const char* Label;
  // Spoils the installation or prepares the chosen file; returns the path chosen in the dialog.
  std::function<std::string(const Folders&)> Prepare;
  std::function<std::string(const Folders&, const std::string& chosen)> Message;
  bool DialogShown = true;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
  *out << c.Label;
}

class Refusal : public testing::InsertionFixture,
                public ::testing::WithParamInterface<RefusalCase> {
 protected:
  void SetUp() override { testing::WriteSmallInstallation(data.Path()); }
};

// A refused insertion says why, naming the file, and leaves every file of the DATA folder as it
// was; nothing is written, so the busy pointer is never shown.
TEST_P(Refusal, SaysWhyAndChangesNothing) {
  const Folders folders{data.Path(), edits.Path()};
  const std::string chosen = GetParam().Prepare(folders);
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(InsertChosen(chosen), InsertionOutcome::Refused);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{GetParam().Message(folders, chosen)});
  EXPECT_EQ(ui.FileRequests().size(), GetParam().DialogShown ? 1u : 0u);
  EXPECT_FALSE(std::any_of(ui.Events().begin(), ui.Events().end(), [](const auto& event) {
    return event.Kind == platform::ScriptedUi::Event::Kind::Busy;
  }));
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

std::string Chosen(const Folders& f, const std::string& name, std::string_view content) {
  testing::WriteFile(f.Edits + name, content);
  return f.Edits + name;
}

std::string ChosenIcons(const Folders& f) {
  return Chosen(f, "ICONS.SHP", "new icons");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    ::testing::Values(
        RefusalCase{"MissingIndex",
                    [](const Folders& f) {
                      std::filesystem::remove(f.Data + "PFPDATA.IDX");
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string&) { return MissingFiles(f.Data); },
                    false},
        RefusalCase{"MissingExtIndex",
                    [](const Folders& f) {
                      std::filesystem::remove(f.Data + "EXT.IDX");
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string&) { return MissingFiles(f.Data); },
                    false},
        RefusalCase{"IndexNotWhole",
                    [](const Folders& f) {
                      auto bytes = testing::SmallIndexBytes(testing::SmallIndexRecords());
                      bytes.insert(bytes.end(), {1, 2, 3});
                      testing::WriteFile(f.Data + "PFPDATA.IDX", bytes);
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string&) {
                      return NothingChanged("Cannot insert into the archives: " + f.Data +
                                            "PFPDATA.IDX does not end on a whole record (its "
                                            "length is not 4 bytes plus a multiple of 16).");
                    },
                    false},
        RefusalCase{"NoExtensionInAFolderWithAPoint",
                    [](const Folders& f) {
                      std::filesystem::create_directory(f.Edits + "edits.v2");
                      return Chosen(f, "edits.v2/ICONS", "new icons");
                    },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen,
                                          "its file name has no extension, so it names no member");
                    }},
        RefusalCase{"NoPointAtAll", [](const Folders& f) { return Chosen(f, "ICONS", "x"); },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen,
                                          "its file name has no extension, so it names no member");
                    }},
        RefusalCase{"BaseNameOverEightCharacters",
                    [](const Folders& f) { return Chosen(f, "MAINMENUX.SHP", "x"); },
                    [](const Folders&, const std::string&) { return NotFound("MAINMENUX"); }},
        RefusalCase{"TerminatorNeverMatched",
                    [](const Folders& f) { return Chosen(f, ".SHP", "x"); },
                    [](const Folders&, const std::string&) { return NotFound(""); }},
        RefusalCase{"MemberNamedInLowerCase",
                    [](const Folders& f) { return Chosen(f, "credits.shp", "x"); },
                    [](const Folders&, const std::string&) { return NotFound("CREDITS"); }},
        RefusalCase{"UnknownName", [](const Folders& f) { return Chosen(f, "NOTHERE.SHP", "x"); },
                    [](const Folders&, const std::string&) { return NotFound("NOTHERE"); }},
        RefusalCase{"EmptyFile", [](const Folders& f) { return Chosen(f, "ICONS.SHP", ""); },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen, "the file is empty");
                    }},
        RefusalCase{"ChosenFileMissing", [](const Folders& f) { return f.Edits + "ICONS.SHP"; },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen,
                                          "cannot read " + chosen + ": No such file or directory");
                    }},
        RefusalCase{"ChosenFileIsAFolder",
                    [](const Folders& f) {
                      std::filesystem::create_directory(f.Edits + "ICONS.SHP");
                      return f.Edits + "ICONS.SHP";
                    },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen, "cannot read " + chosen + ": Is a directory");
                    }},
        RefusalCase{"ChosenFileIsANamedPipe",
                    [](const Folders& f) {
                      ::mkfifo((f.Edits + "ICONS.SHP").c_str(), 0600);
                      return f.Edits + "ICONS.SHP";
                    },
                    [](const Folders&, const std::string& chosen) {
                      return CannotInsert(chosen, "cannot read " + chosen + ": Not a regular file");
                    }},
        RefusalCase{"ArchiveMissing",
                    [](const Folders& f) {
                      std::filesystem::remove(f.Data + "SHP.PFP");
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen,
                                          "the archive " + f.Data + "SHP.PFP does not exist");
                    }},
        RefusalCase{"ArchiveShorterThanTheMember",
                    [](const Folders& f) {
                      testing::WriteFile(f.Data + "SHP.PFP", "mainmenuicon");
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, DoesNotMatch(f.Data, 12, "ICONS"));
                    }},
        RefusalCase{"NegativeOffset",
                    [](const Folders& f) {
                      testing::WriteFile(f.Data + "PFPDATA.IDX",
                                         testing::SmallIndexBytes(testing::WithRecords(
                                             testing::SmallIndexRecords(), {{3, {5, -8}}})));
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, DoesNotMatch(f.Data, 24, "ICONS"));
                    }},
        RefusalCase{"LaterMemberOutOfOrder",
                    [](const Folders& f) {
                      testing::WriteFile(f.Data + "PFPDATA.IDX",
                                         testing::SmallIndexBytes(testing::WithRecords(
                                             testing::SmallIndexRecords(), {{5, {4, 9}}})));
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, DoesNotMatch(f.Data, 24, "ICONS"));
                    }},
        RefusalCase{"ArchiveNotInExtIndex",
                    [](const Folders& f) {
                      testing::WriteArchiveIndex(f.Data + "EXT.IDX",
                                                 {Archive("TXT", 0, 2), Archive("SHP", 2, 6)});
                      return Chosen(f, "DAY.SHP", "night");
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, f.Data +
                                                      "EXT.IDX names no archive for the "
                                                      "member DAY");
                    }},
        RefusalCase{"IndexStartingInsideAnArchive",
                    [](const Folders& f) {
                      testing::WriteFile(f.Data + "PFPDATA.IDX",
                                         testing::SmallIndexBytes(testing::WithRecords(
                                             testing::SmallIndexRecords(), {{0, {10, 5}}})));
                      return Chosen(f, "README.SHP", "text");
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, f.Data +
                                                      "EXT.IDX names no archive for the "
                                                      "member README");
                    }},
        RefusalCase{"ArchiveNameLeavingTheFolder",
                    [](const Folders& f) {
                      auto archives = testing::SmallArchiveRecords();
                      archives[1] = Archive("../SHP", 2, 6);
                      testing::WriteArchiveIndex(f.Data + "EXT.IDX", archives);
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, "the archive name '../SHP' in " + f.Data +
                                                      "EXT.IDX is not a file name");
                    }},
        RefusalCase{"BackupWouldReplaceAnotherArchive",
                    [](const Folders& f) {
                      auto archives = testing::SmallArchiveRecords();
                      archives[0] = Archive("shp_old", 0, 2);
                      testing::WriteArchiveIndex(f.Data + "EXT.IDX", archives);
                      return ChosenIcons(f);
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, "its backup " + f.Data +
                                                      "SHP_OLD.PFP would take the place of the "
                                                      "archive shp_old, which " +
                                                      f.Data + "EXT.IDX lists");
                    }},
        RefusalCase{"FileTooLargeForTheIndex",
                    [](const Folders& f) {
                      const std::string chosen = ChosenIcons(f);
                      // Sparse: 2 GiB that take no room on the disk.
                      std::filesystem::resize_file(chosen, std::uintmax_t{1} << 31);
                      return chosen;
                    },
                    [](const Folders& f, const std::string& chosen) {
                      return CannotInsert(chosen, "the new " + f.Data +
                                                      "SHP.PFP would be too large for the "
                                                      "offsets of " +
                                                      f.Data + "PFPDATA.IDX");
                    }}),
    [](const auto& info) { return std::string(info.param.Label); });

}  // namespace
}  // namespace zorvane::archive

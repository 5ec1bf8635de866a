#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The pieces of work that the benchmark table runs in a child process of their own: the
// coding rates, the floors that the commands are held against, and the checks of their
// results. Each returns what it reports about itself (see RunInChild).
namespace zorvane::bench {

// One member of an archive: its name (NULs removed, spaces trimmed), offset and length.
struct Member {
  std::string Name;
  std::int64_t Offset = 0;
  std::int64_t Length = 0;
};

// The members of each archive in the installation's index files, by archive base name.
struct Installation {
  std::string DataFolder;
  std::int64_t Records = 0;   // records of PFPDATA.IDX, the terminator included
  std::int64_t Archives = 0;  // records of EXT.IDX
  std::vector<std::pair<std::string, std::vector<Member>>> Groups;

  const std::vector<Member>& MembersOf(const std::string& archive) const;
  const Member& Find(const std::string& archive, const std::string& name) const;
  const Member& Longest(const std::string& archive) const;
};

Installation ReadInstallation(const std::string& dataFolder);

// Sub-images, pixels and the bytes of the BMPs the extraction writes for some members of an
// archive: {images, pixels, BMP bytes}.
std::vector<double> DescribeSprites(const std::string& archivePath,
                                    const std::vector<Member>& members);

// Decoding every sub-image of a sprite member again and again for about `seconds` of CPU
// time: {wall seconds, CPU seconds, pixels decoded}.
std::vector<double> DecodeRate(const std::string& archivePath, const Member& member,
                               double seconds);
// The same for coding its decoded pictures into a sprite file held in memory.
std::vector<double> EncodeRate(const std::string& archivePath, const Member& member,
                               double seconds);

// The floor of a conversion into BMPs: the same number of files of the same sizes written
// into `folder`, each opened, written and closed, nothing decoded. Times itself: {wall
// seconds, CPU seconds}.
std::vector<double> WriteFilesLikeTheBmps(const std::string& archivePath,
                                          const std::vector<Member>& members,
                                          const std::string& folder);
// The same files written as the tool replaces files: each whole under a temporary name beside
// it, then, once all are written, each renamed over its name.
std::vector<double> StageAndRenameFilesLikeTheBmps(const std::string& archivePath,
                                                   const std::vector<Member>& members,
                                                   const std::string& folder);

// The same for files of the sizes of those in `sourceFolder` (the PNGs an extraction wrote).
std::vector<double> WriteFilesLikeThoseIn(const std::string& sourceFolder,
                                          const std::string& folder);

// Reading whole files through a 1 MiB buffer.
std::vector<double> ReadFiles(const std::vector<std::string>& paths);

// The floor of a repack: the files of `folder` read whole, and one file of `length` bytes
// written.
std::vector<double> ReadFolderAndWriteOne(const std::string& folder, const std::string& target,
                                          std::int64_t length);

// The member copy of an extraction without its conversion: each member copied into
// `folder` + NAME.SHP through the tool's own copy, as the extraction does before it converts.
std::vector<double> CopyMembers(const std::string& archivePath, const std::vector<Member>& members,
                                const std::string& folder);

// Whether a file holds exactly the bytes of a member; whether two files are equal. Fail when
// not.
std::vector<double> CheckFileIsMember(const std::string& path, const std::string& archivePath,
                                      const Member& member);
std::vector<double> CheckFilesEqual(const std::string& first, const std::string& second);

}  // namespace zorvane::bench

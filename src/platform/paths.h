#pragma once

#include <string>
#include <string_view>

namespace zorvane::platform {

// The separator of this platform's paths. Folder paths that the program keeps (the DATA
// folder, the program folder) always end in it.
// On Windows '/' separates the parts of a path too, and is kept where the user wrote it.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
inline constexpr std::string_view kSeparators = "\\/";
#else
inline constexpr char kSeparator = '/';
inline constexpr std::string_view kSeparators = "/";
#endif

constexpr bool IsSeparator(char c) {
  return kSeparators.find(c) != std::string_view::npos;
}

// Appends the separator unless the path already ends in one (either one, on Windows).
std::string WithTrailingSeparator(std::string folder);

// Writes a relative name given with backslashes ("TOVRIN_PFP\ICONS\") with this platform's
// separator.
std::string NativeRelative(std::string_view backslashName);

// The part of a path up to and including its last separator; empty when it has none.
std::string FolderPart(std::string_view path);

// The part of a path after its last separator (the whole path when it has none).
std::string FileNamePart(std::string_view path);

// Whether the system would read `path` as another, shorter name: it holds a NUL byte, where the
// system ends every name. Such a path names no file.
bool CutShortBySystem(std::string_view path);

// Whether a path starts at a root (on Windows also at a drive: "C:\\", "C:/").
bool IsAbsolutePath(std::string_view path);
// The path itself when absolute, else the path under the current folder.
std::string AbsolutePath(std::string_view path);

// Compares two names without regard to the case of ASCII letters.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Resolves every part of the path against what exists on disk, matching names without regard
// to case: an existing "pfpdata.idx" answers for "PFPDATA.IDX", an existing "extracts" folder
// for "EXTRACTS". Parts that match nothing keep the spelling given, so a new file or folder
// gets the name the caller asked for. An exact match always wins over a case-insensitive one.
std::string ResolvePath(std::string_view path);

}  // namespace zorvane::platform

#include "platform/program_folder.h"

#include "platform/file_system.h"
#include "platform/os_calls.h"

namespace zorvane::platform {

namespace {

std::string MadeFolder(std::string folder) {
  (void)CreateFolderWithParents(folder);
  return folder;
}

// Whether the executable is an installed copy: its folder cannot be written, or it lies in the
// bin folder of an installation (which a root user can write).
bool Installed(const std::string& executableFolder) {
  if (!os::FolderWritable(executableFolder)) return true;
  return os::LookAt(executableFolder + "/../share/man/man1/zorvane-cli.1").Type ==
         os::EntryType::File;
}

}  // namespace

ProgramFolders DefaultProgramFolders() {
  const std::string executableFolder = os::ExecutableFolder();
  if (!Installed(executableFolder)) return {executableFolder, executableFolder};
  return {MadeFolder(os::UserFolder(os::UserFolderKind::Data)),
          MadeFolder(os::UserFolder(os::UserFolderKind::Settings))};
}

}  // namespace zorvane::platform

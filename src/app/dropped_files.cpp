#include "app/dropped_files.h"

#include "app/settings.h"
#include "archive/sprite_insertion.h"
#include "platform/file_system.h"
#include "platform/number_text.h"
#include "platform/paths.h"

namespace zorvane::app {

namespace {

// The session's Ui with the file dialog answered by the dropped file, as if the user had
// chosen it there.
class FileChosenAlready : public platform::ForwardingUi {
 public:
  FileChosenAlready(platform::Ui& shown, std::string path)
      : ForwardingUi(shown), path_(std::move(path)) {}
  std::string ChooseFileToOpen(const platform::OpenFileRequest&) override { return path_; }

 private:
  std::string path_;
};

bool EndsWithNoCase(const std::string& text, std::string_view end) {
  return text.size() >= end.size() &&
         platform::UpperCase(std::string_view(text).substr(text.size() - end.size())) == end;
}

}  // namespace

std::string SwitchQuestion(const std::string& folder) {
  return "Switch to the PacGen installation in " + folder + "?";
}

std::string NotDroppableMessage(const std::string& path) {
  return path +
         " cannot be used here: drop sprite files (.SHP) to insert them, or a DATA folder (or "
         "its PFPDATA.IDX) to switch to that installation.";
}

void OnFilesDropped(Session& session, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const bool folder = platform::FolderExists(path);
    if (folder || platform::FileNamePart(platform::UpperCase(path)) == "PFPDATA.IDX") {
      const std::string dataFolder =
          folder ? platform::WithTrailingSeparator(path) : platform::FolderPart(path);
      if (session.Ui.AskOkCancel(SwitchQuestion(dataFolder)) == platform::Answer::Ok) {
        SwitchInstallation(session, dataFolder);
      }
    } else if (EndsWithNoCase(path, ".SHP") && platform::FileExists(path)) {
      FileChosenAlready chosen(session.Ui, path);
      session.LastInsertion = archive::InsertShpFile(session.DataFolder, session.Index, chosen);
    } else {
      session.Ui.ShowMessage(NotDroppableMessage(path));
    }
  }
}

}  // namespace zorvane::app

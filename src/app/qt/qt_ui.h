#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "long_work.h"
#include "platform/ui.h"

class QMessageBox;
class QProgressDialog;
class QWidget;

namespace zorvane::qt {

// The Ui port on Qt: message boxes titled with the program's name and without icon, the
// open-file dialog, the busy pointer, and the progress of work run off the window's thread.
// Called from the work's thread, each comes up on the window's thread, the work waiting.
class QtUi : public platform::Ui {
 public:
  void ShowMessage(const std::string& text) override;
  platform::Answer AskOkCancel(const std::string& text) override;
  std::string ChooseFileToOpen(const platform::OpenFileRequest& request) override;
  void SetBusy(bool busy) override;
  platform::Progress& WorkProgress() override { return progress_; }

  // Runs a command off the window's thread, with the progress dialog once it runs longer than
  // half a second (see qt::RunOffWindowThread); a command started while one runs runs at once.
  void RunOffWindowThread(const std::function<void()>& work);
  // Whether a command runs off the window's thread now.
  bool Running() const { return running_; }

  // The window the dialogs belong to, and the folder the file dialog opens in (followed as it
  // changes: the session's DATA folder).
  void SetParentWindow(QWidget* parent) { parent_ = parent; }
  void SetStartFolder(const std::string* folder) { startFolder_ = folder; }
  // Runs before every message box and file dialog comes up, so that the window behind it can
  // first show what the command has changed so far.
  void SetBeforeDialog(std::function<void()> hook) { beforeDialog_ = std::move(hook); }

 private:
  // Gets the progress dialog out of the way of a dialog the work asks for.
  void HideProgress();
  std::string ChooseOnWindowThread(const platform::OpenFileRequest& request);
  QWidget* parent_ = nullptr;
  SharedProgress progress_;
  QProgressDialog* progressDialog_ = nullptr;
  bool running_ = false;
  const std::string* startFolder_ = nullptr;
  std::function<void()> beforeDialog_;
  int busyDepth_ = 0;
};

// Runs a command of the windows: off the window's thread, with the progress dialog, on the
// desktop program's Ui; at once on any other Ui (a test's scripted one).
void RunCommand(platform::Ui& ui, const std::function<void()>& work);

// A message box as the program shows it: OK, or OK and Cancel.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, bool withCancel,
                                            QWidget* parent = nullptr);

// "PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP" as a Qt name filter, each pattern shown once:
// "PacGen Datafiles (*.IDX *.PFP)".
QString NameFilter(const std::string& filter);

}  // namespace zorvane::qt

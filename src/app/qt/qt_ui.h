#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui.h"

class QMessageBox;
class QWidget;

namespace zorvane::qt {

// The Ui port on Qt: message boxes titled with the program's name and without icon, the
// open-file dialog, the busy pointer.
class QtUi : public platform::Ui {
 public:
  void ShowMessage(const std::string& text) override;
  platform::Answer AskOkCancel(const std::string& text) override;
  std::string ChooseFileToOpen(const platform::OpenFileRequest& request) override;
  void SetBusy(bool busy) override;

  // The window the dialogs belong to, and the folder the file dialog opens in (followed as it
  // changes: the session's DATA folder).
  void SetParentWindow(QWidget* parent) { parent_ = parent; }
  void SetStartFolder(const std::string* folder) { startFolder_ = folder; }
  // Runs before every message box and file dialog comes up, so that the window behind it can
  // first show what the command has changed so far.
  void SetBeforeDialog(std::function<void()> hook) { beforeDialog_ = std::move(hook); }

 private:
  QWidget* parent_ = nullptr;
  const std::string* startFolder_ = nullptr;
  std::function<void()> beforeDialog_;
  int busyDepth_ = 0;
};

// A message box as the program shows it: OK, or OK and Cancel.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, bool withCancel,
                                            QWidget* parent = nullptr);

// "PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP" as a Qt name filter, each pattern shown once:
// "PacGen Datafiles (*.IDX *.PFP)".
QString NameFilter(const std::string& filter);

}  // namespace zorvane::qt

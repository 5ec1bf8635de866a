#pragma once

#include <string>

#include "platform/progress.h"

namespace zorvane::platform {

enum class Answer { Ok, Cancel };

// What the open-file dialog shows. The filter is written as "Description|*.A;*.B".
struct OpenFileRequest {
  std::string Title;
  std::string Filter;
  std::string InitialName;
  // A file the dialog shows chosen at first; unlike InitialName, Cancel does not return it.
  std::string SuggestedName;
};

// Everything a worker says to or asks of the user goes through this port: the desktop program
// shows message boxes and dialogs, the command line prints and takes its answers from its
// arguments, tests script it.
class Ui {
 public:
  virtual ~Ui() = default;
  // A modal message with an OK button. Lines of the text are separated by CR LF.
  virtual void ShowMessage(const std::string& text) = 0;
  // A modal message with OK and Cancel buttons.
  virtual Answer AskOkCancel(const std::string& text) = 0;
  // The open-file dialog; only an existing file can be chosen. Returns the chosen path or,
  // when the user cancels, the initial name the dialog was opened with.
  virtual std::string ChooseFileToOpen(const OpenFileRequest& request) = 0;
  // Shows or restores the busy mouse pointer on the main window.
  virtual void SetBusy(bool busy) = 0;
  // Where a long worker reports how far it is and asks whether to stop; by default nobody
  // watches and nothing stops.
  virtual Progress& WorkProgress() {
    static NoProgress none;
    return none;
  }
};

// A Ui that passes everything on to another: the base of the decorators, which change one or
// two of its answers.
class ForwardingUi : public Ui {
 public:
  explicit ForwardingUi(Ui& shown) : shown_(shown) {}
  ForwardingUi(const ForwardingUi&) = delete;
  ForwardingUi& operator=(const ForwardingUi&) = delete;

  void ShowMessage(const std::string& text) override { shown_.ShowMessage(text); }
  Answer AskOkCancel(const std::string& text) override { return shown_.AskOkCancel(text); }
  std::string ChooseFileToOpen(const OpenFileRequest& request) override {
    return shown_.ChooseFileToOpen(request);
  }
  void SetBusy(bool busy) override { shown_.SetBusy(busy); }
  Progress& WorkProgress() override { return shown_.WorkProgress(); }

 protected:
  Ui& Shown() { return shown_; }

 private:
  Ui& shown_;
};

// Shows the busy pointer for as long as it lives.
class BusyPointer {
 public:
  explicit BusyPointer(Ui& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyPointer() { ui_.SetBusy(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  Ui& ui_;
};

}  // namespace zorvane::platform

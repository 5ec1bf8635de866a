#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "app/session.h"

class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStringListModel;

class QMenu;

namespace zorvane::qt {

class BrowseWindow;
class Form2;
class FrmAbout;

// The main window. It holds no state of its own: every event calls its handler on the session
// and then shows the session's window model.
class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit Form1(app::Session& session);
  ~Form1() override;

  // The window's load event: the start-up sequence. False when the user ended the program in
  // the folder dialog.
  bool Load();

  // Shows the session's window model.
  void Refresh();

  // Files dropped on a window or given on the command line (see app::OnFilesDropped).
  void OpenFiles(const std::vector<std::string>& paths);

  Form2* HowToWindow() const { return howTo_; }
  FrmAbout* AboutWindow() const;
  // Extract > Browse: opens the Browse window, or brings it to the front.
  void ShowBrowse();
  BrowseWindow* Browse() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildMenus();
  // Setup > Picture format: BMP, PNG or PNG sheet, one of them marked.
  void BuildPictureFormatMenu(QMenu* setup);
  void BuildRecentMenu(QMenu* setup);
  void BuildTopPanel(QWidget* central);
  void BuildList(QWidget* central);
  void BuildChoices(QWidget* central);
  // Runs a handler of the session, then shows the result.
  template <class Handler>
  void Run(Handler handler);
  void ApplyHeight(int twips);
  void CentreOnScreen();
  void EndProgram();
  void ShowHowTo();
  void ShowAbout();

  app::Session& session_;
  QFrame* frame3_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QPushButton* command1_ = nullptr;
  QListView* list1_ = nullptr;
  QStringListModel* list1Rows_ = nullptr;
  QGroupBox* frame1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  QListWidget* file1_ = nullptr;
  std::array<QRadioButton*, 7> options_{};  // options_[1] to options_[6]
  std::vector<std::string> shownRows_;      // the rows List1 holds
  std::vector<std::string> shownFiles_;     // the names File1 holds
  Form2* howTo_ = nullptr;
  QPointer<FrmAbout> about_;
  QPointer<BrowseWindow> browse_;
  bool ending_ = false;
};

}  // namespace zorvane::qt

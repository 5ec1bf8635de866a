#include "form1.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringListModel>

#include "app/check_menu.h"
#include "app/dropped_files.h"
#include "app/extraction_events.h"
#include "app/insert_menu.h"
#include "app/main_window_events.h"
#include "app/restore.h"
#include "app/row_dispatch.h"
#include "app/settings.h"
#include "app/unit_description_menu.h"
#include "platform/file_system.h"
#include "browse_window.h"
#include "form2.h"
#include "frm_about.h"
#include "qt_ui.h"
#include "twips.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

constexpr int kClientWidthTwips = 8625;

QRadioButton* MakeOption(QWidget* parent, int number, const char* caption, const QRect& geometry) {
  auto* option = new QRadioButton(QString::fromLatin1(caption), parent);
  option->setObjectName(QStringLiteral("Option%1").arg(number));
  option->setGeometry(geometry);
  // The session decides which options are selected; the two frames are separate groups.
  option->setAutoExclusive(false);
  return option;
}

}  // namespace

Form1::Form1(app::Session& session) : session_(session) {
  setObjectName(QStringLiteral("Form1"));
  setWindowIcon(ProgramIcon());
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Form1Client"));
  central->setFixedWidth(Pixels(kClientWidthTwips));
  setCentralWidget(central);
  BuildMenus();
  BuildTopPanel(central);
  BuildList(central);
  BuildChoices(central);
  setFixedWidth(Pixels(kClientWidthTwips));
  setAcceptDrops(true);
}

Form1::~Form1() = default;

FrmAbout* Form1::AboutWindow() const {
  return about_.data();
}

BrowseWindow* Form1::Browse() const {
  return browse_.data();
}

void Form1::ShowBrowse() {
  if (browse_ == nullptr) {
    browse_ = new BrowseWindow(
        session_, [this] { Refresh(); }, this);
  } else {
    browse_->Reload();
  }
  // The pictures are shown in the palettes extraction uses; without them, how to make them.
  Run(app::CheckPalettes);
  browse_->show();
  browse_->raise();
  browse_->activateWindow();
}

void Form1::BuildMenus() {
  const auto addAction = [this](QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  const auto addMenu = [this](const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
  };
  QMenu* file = addMenu("mnu_file", "File");
  connect(addAction(file, "mnu_end", "End"), &QAction::triggered, this, &Form1::EndProgram);
  QMenu* extract = addMenu("mnu_extr", "Extract");
  connect(addAction(extract, "Ext_unitdescr", "UnitDescriptions"), &QAction::triggered, this,
          [this] { Run(app::OnExtractUnitDescriptionsMenu); });
  QAction* browse = addAction(extract, "mnu_browse", "Browse...");
  browse->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  connect(browse, &QAction::triggered, this, &Form1::ShowBrowse);
  QMenu* insert = addMenu("mnu_insert", "Insert");
  connect(addAction(insert, "ins_unitdescr", "Insert Unitdescriptions"), &QAction::triggered, this,
          [this] { Run(app::OnInsertUnitDescriptionsMenu); });
  insert->addSeparator()->setObjectName(QStringLiteral("insert_fill1"));
  connect(addAction(insert, "mnu_SHP_PFP", "Insert SHP file"), &QAction::triggered, this,
          [this] { Run(app::OnInsertShpFileMenu); });
  connect(addAction(insert, "mnu_restore", "Restore previous version"), &QAction::triggered,
          this, [this] { Run(app::OnRestoreMenu); });
  // Setup is a menu so that it can hold Check installation; its first entry is the designed
  // Setup command under its control name, mnu_setup.
  QMenu* setup = addMenu("mnu_setup_menu", "Setup");
  connect(addAction(setup, "mnu_setup", "DATA folder"), &QAction::triggered, this, [this] {
    Run(app::OnSetupMenu);
    if (session_.Terminated) EndProgram();
  });
  BuildRecentMenu(setup);
  connect(addAction(setup, "mnu_check", "Check installation"), &QAction::triggered, this,
          [this] { Run(app::OnCheckInstallation); });
  BuildPictureFormatMenu(setup);
  QMenu* help = addMenu("mnu_help", "Help");
  connect(addAction(help, "mnu_howto", "HowTo"), &QAction::triggered, this, &Form1::ShowHowTo);
  connect(addAction(help, "mnu_about", "About"), &QAction::triggered, this, &Form1::ShowAbout);
}

void Form1::BuildRecentMenu(QMenu* setup) {
  QMenu* recent = setup->addMenu(QStringLiteral("Recent installations"));
  recent->menuAction()->setObjectName(QStringLiteral("mnu_recent"));
  // Made again each time it opens: the list follows the session, a missing folder greyed out.
  connect(recent, &QMenu::aboutToShow, this, [this, recent] {
    recent->clear();
    const auto& folders = session_.RecentInstallations;
    for (std::size_t i = 0; i < folders.size(); ++i) {
      QAction* entry = recent->addAction(ToQString(folders[i]));
      entry->setObjectName(QStringLiteral("mnu_recent_%1").arg(i));
      entry->setEnabled(platform::FolderExists(folders[i]));
      connect(entry, &QAction::triggered, this, [this, i] {
        Run([i](app::Session& session) { app::OpenRecentInstallation(session, i); });
      });
    }
    recent->addSeparator();
    QAction* clear = recent->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("mnu_recent_clear"));
    clear->setEnabled(!folders.empty());
    connect(clear, &QAction::triggered, this,
            [this] { Run(app::ClearRecentInstallations); });
  });
}

void Form1::BuildPictureFormatMenu(QMenu* setup) {
  QMenu* formats = setup->addMenu(QStringLiteral("Picture format"));
  formats->menuAction()->setObjectName(QStringLiteral("mnu_picture_format"));
  auto* group = new QActionGroup(formats);
  const std::pair<graphics::PictureFormat, const char*> choices[] = {
      {graphics::PictureFormat::Bmp, "mnu_format_bmp"},
      {graphics::PictureFormat::Png, "mnu_format_png"},
      {graphics::PictureFormat::Sheet, "mnu_format_sheet"}};
  for (const auto& [format, name] : choices) {
    QAction* action =
        formats->addAction(ToQString(std::string(graphics::PictureFormatName(format))));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    group->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, format] { app::ChoosePictureFormat(session_, format); });
  }
  // The marks follow the session, whose format the settings file may have set.
  connect(setup, &QMenu::aboutToShow, this, [this, formats, choices] {
    for (const auto& [format, name] : choices) {
      formats->findChild<QAction*>(QString::fromLatin1(name))
          ->setChecked(session_.Extraction.Format == format);
    }
  });
}

void Form1::BuildTopPanel(QWidget* central) {
  frame3_ = new QFrame(central);
  frame3_->setObjectName(QStringLiteral("Frame3"));
  frame3_->setFrameShape(QFrame::StyledPanel);
  frame3_->setGeometry(TwipsRect(0, 0, 8535, 1215));
  label1_ = MakeLabel(frame3_, "Label1", TwipsRect(120, 240, 6735, 375));
  // 480 twips high rather than 375, so that the two lines of the start-up hint are not
  // clipped in this font.
  label3_ = MakeLabel(frame3_, "Label3", TwipsRect(120, 720, 8295, 480));
  command1_ = new QPushButton(QStringLiteral("Toggle Details"), frame3_);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setGeometry(TwipsRect(6720, 120, 1695, 375));
  connect(command1_, &QPushButton::clicked, this, [this] { Run(app::OnToggleDetails); });
}

void Form1::BuildList(QWidget* central) {
  // The header lines up with the rows inside the list's frame, and is high enough for this
  // fixed-pitch font (1305/300 rather than 1320/255 twips).
  label2_ = MakeLabel(central, "Label2", TwipsRect(0, 1305, 6015, 300));
  label2_->setFont(FixedPitchFont());
  label2_->setWordWrap(false);
  list1_ = new QListView(central);
  list1_->setObjectName(QStringLiteral("List1"));
  list1_->setGeometry(TwipsRect(0, 1680, 6015, 5730));
  list1_->setFont(FixedPitchFont());
  list1_->setUniformItemSizes(true);
  list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list1_->setSelectionMode(QAbstractItemView::SingleSelection);
  // The header's columns line up with the rows' text, which starts inside the list's frame.
  label2_->setIndent(list1_->frameWidth() + 3);
  list1Rows_ = new QStringListModel(this);
  list1_->setModel(list1Rows_);
  connect(list1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { session_.Window.ListIndex = current.row(); });
  connect(list1_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    session_.Window.ListIndex = index.row();
    Run(app::OnList1DoubleClick);
  });
  list1_->installEventFilter(this);
}

void Form1::BuildChoices(QWidget* central) {
  frame1_ = new QGroupBox(QStringLiteral("Select PFP-file for extractions"), central);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setGeometry(TwipsRect(6120, 1440, 2415, 2775));
  options_[1] = MakeOption(frame1_, 1, "*.PFP", TwipsRect(120, 360, 1095, 375));
  MakeLine(frame1_, "Line2", 120, 2400, 840);
  options_[2] = MakeOption(frame1_, 2, "SHP.PFP", TwipsRect(120, 1035, 1095, 375));
  options_[3] = MakeOption(frame1_, 3, "TIL.PFP", TwipsRect(120, 1485, 1095, 375));
  options_[4] = MakeOption(frame1_, 4, "PAL.PFP", TwipsRect(120, 1920, 1095, 375));

  frame2_ = new QGroupBox(QStringLiteral("Select Destination File"), central);
  frame2_->setObjectName(QStringLiteral("Frame2"));
  frame2_->setGeometry(TwipsRect(6120, 4320, 2415, 3015));
  options_[5] = MakeOption(frame2_, 5, "SHP's for SHP.PFP", TwipsRect(120, 360, 1935, 375));
  options_[6] = MakeOption(frame2_, 6, "SHP's for TIL.PFP", TwipsRect(120, 840, 1935, 375));
  file1_ = new QListWidget(frame2_);
  file1_->setObjectName(QStringLiteral("File1"));
  file1_->setGeometry(TwipsRect(240, 2400, 2055, 480));

  for (int option = 1; option <= 6; ++option) {
    connect(options_[option], &QRadioButton::clicked, this,
            [this, option] { Run([option](app::Session& s) { app::ClickOption(s, option); }); });
  }
}

template <class Handler>
void Form1::Run(Handler handler) {
  RunCommand(session_.Ui, [this, &handler] { handler(session_); });
  Refresh();
  // What the command changed shows in the Browse window too.
  if (browse_ != nullptr && browse_->isVisible()) browse_->Reload();
}

bool Form1::Load() {
  if (app::RunStartUp(session_)) app::RememberInstallation(session_);
  if (session_.Terminated) return false;
  Refresh();
  return true;
}

void Form1::Refresh() {
  const app::MainWindowModel& window = session_.Window;
  setWindowTitle(ToQString(window.Caption));
  label1_->setText(ToQString(window.Label1Caption));
  label2_->setText(ToQString(window.Label2Caption));
  const QString hint = ToQString(window.Label3Caption);
  label3_->setText(TextFittingLabel(hint, *label3_));
  label3_->setToolTip(label3_->text() == hint ? QString() : hint);
  if (window.List1 != shownRows_) {
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(window.List1.size()));
    for (const std::string& row : window.List1)
      rows << QString::fromLatin1(row.data(), static_cast<qsizetype>(row.size()));
    list1Rows_->setStringList(rows);
    shownRows_ = window.List1;
  }
  const QModelIndex selected = list1Rows_->index(window.ListIndex);
  if (selected != list1_->currentIndex()) {
    list1_->setCurrentIndex(selected);
    if (!selected.isValid()) list1_->clearSelection();
  }
  list1_->setToolTip(ToQString(window.List1ToolTip));
  for (int option = 1; option <= 6; ++option) options_[option]->setChecked(window.Option[option]);
  if (window.File1.Names != shownFiles_) {
    file1_->clear();
    for (const std::string& name : window.File1.Names) file1_->addItem(ToQString(name));
    shownFiles_ = window.File1.Names;
  }
  label2_->setVisible(window.Label2Visible);
  list1_->setVisible(window.List1Visible);
  frame1_->setVisible(window.Frame1Visible);
  file1_->setVisible(window.File1Visible);
  ApplyHeight(window.HeightTwips);
  if (window.CentreOnScreen) {
    CentreOnScreen();
    session_.Window.CentreOnScreen = false;
  }
}

void Form1::ApplyHeight(int twips) {
  // The height counts the window's frame and title too, as the window's own height does.
  const int decoration = frameGeometry().height() - geometry().height();
  setFixedHeight(Pixels(twips) - decoration);
}

void Form1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // A window manager puts its frame around the window only after it is shown, and moves the
  // window as it does; only then is the frame's height known, so the height is applied again.
  ApplyHeight(session_.Window.HeightTwips);
}

void Form1::CentreOnScreen() {
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const QRect frame = frameGeometry();
  move(area.x() + (area.width() - frame.width()) / 2,
       area.y() + (area.height() - frame.height()) / 2);
}

void Form1::ShowHowTo() {
  if (howTo_ == nullptr) howTo_ = new Form2(session_.HowTo, this);
  app::OnHowToMenu(session_.HowTo);
  howTo_->Refresh();
}

void Form1::ShowAbout() {
  if (about_ == nullptr) about_ = new FrmAbout(session_, this);
  app::OnAboutMenu(session_.About);
  about_->Refresh();
}

void Form1::EndProgram() {
  ending_ = true;
  QApplication::closeAllWindows();
  QApplication::quit();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  // Enter on the selected row of the list does what a double-click does.
  if (watched == list1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list1_->currentIndex().isValid()) {
      Run(app::OnList1DoubleClick);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::OpenFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  Run([&paths](app::Session& session) { app::OnFilesDropped(session, paths); });
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  AcceptFileDrag(event);
}

void Form1::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = TakeDroppedFiles(event);
  if (paths.empty()) return;
  OpenFiles(paths);
}

void Form1::closeEvent(QCloseEvent* event) {
  // A command still running ends first: its Cancel is in the progress dialog.
  if (const auto* ui = dynamic_cast<const QtUi*>(&session_.Ui); ui != nullptr && ui->Running()) {
    event->ignore();
    return;
  }
  // Closing the main window ends the program at once, with no question and nothing saved.
  event->accept();
  if (!ending_) EndProgram();
}

}  // namespace zorvane::qt

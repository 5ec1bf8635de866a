#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <thread>

#include "app/dropped_files.h"
#include "browse_window.h"
#include "form1.h"
#include "form2.h"
#include "frm_about.h"
#include "qt_ui.h"
#include "support/sample_session.h"
#include "widgets.h"

using zorvane::qt::ToQString;

namespace {

// The main window on the sample installation, loaded and shown as the program does it.
struct MainWindowOnSample {
  MainWindowOnSample() : window(sample.session) {
    QFont font = QApplication::font();  // the heights below are those of this font
    font.setPixelSize(11);
    QApplication::setFont(font);
    if (!window.Load()) qFatal("start-up ended the program");
    window.show();
    window.Refresh();
  }

  template <class T = QWidget>
  T* Find(const QString& name, QWidget* parent = nullptr) const {
    T* child = (parent ? parent : (QWidget*)&window)->findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", qPrintable(name));
    return child;
  }
  void Click(const QString& name, QWidget* parent = nullptr) {
    QWidget* button = Find(name, parent);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  // The option buttons 1 to `count`, 1 for checked.
  QString Checked(int count, QWidget* parent = nullptr) const {
    QString state;
    for (int n = 1; n <= count; ++n)
      state += Find<QRadioButton>(QString("Option%1").arg(n), parent)->isChecked() ? '1' : '0';
    return state;
  }
  // Title, labels, tool tip, options, visible parts, rows and files: shown, then in the model.
  std::pair<QStringList, QStringList> ShownAndModel() const {
    QStringList shown{window.windowTitle()}, model{ToQString(sample.session.Window.Caption)};
    for (const char* label : {"Label1", "Label2", "Label3"}) shown << Find<QLabel>(label)->text();
    shown << Find("List1")->toolTip() << "options " + Checked(6);
    for (const char* name : {"Label2", "List1", "Frame1", "File1"})
      shown.back() += Find(name)->isVisible() ? " shown" : " hidden";
    const auto* rows = Find<QListView>("List1")->model();
    for (int row = 0; row < rows->rowCount(); ++row) shown << rows->index(row, 0).data().toString();
    for (const auto* file : Find<QListWidget>("File1")->findItems("*", Qt::MatchWildcard))
      shown << file->text();
    auto texts = zorvane::testing::Shown(sample.session.Window);
    texts[4].erase(texts[4].find(" height"));
    const zorvane::app::MainWindowModel& m = sample.session.Window;
    for (const auto* list : {&m.List1, &m.File1.Names})
      texts.insert(texts.end(), list->begin(), list->end());
    for (const auto& text : texts) model << ToQString(text);
    return {shown, model};
  }

  zorvane::testing::SampleSession sample;
  zorvane::qt::Form1 window;
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The window shows its model, 2000 or 8100 twips high; options, rows and menu entries call
  // their handlers (a row extracts a member, or packs a set when a destination is chosen).
  void theMainWindowShowsItsModelAndCallsItsHandlers() {
    MainWindowOnSample w;
    for (const int height : {133, 540, 133}) {
      QCOMPARE(w.window.frameGeometry().height(), height);
      QCOMPARE(w.ShownAndModel().first, w.ShownAndModel().second);
      QTest::mouseClick(w.Find("Command1"), Qt::LeftButton);
    }
    for (const auto& [option, checked] :
         {std::pair{6, "000001"}, {5, "000010"}, {4, "000100"}, {3, "001000"}, {2, "010000"}}) {
      w.Click(QString("Option%1").arg(option));
      QCOMPARE(w.Checked(6), checked);
      QCOMPARE(w.ShownAndModel().first, w.ShownAndModel().second);
    }
    auto* list = w.Find<QListView>("List1");
    const auto doubleClickFirstRow = [list] {
      const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    };
    w.sample.ui.Clear();
    doubleClickFirstRow();
    const std::string sprite = w.sample.data / "TOVRIN_PFP/ICONS/MAINMENU.SHP";
    const auto extracted = zorvane::testing::ReadFile(sprite);
    QVERIFY(w.sample.ui.Messages().at(0).starts_with("The File: MAINMENU\r\n"));
    w.Click("Option5");
    QCOMPARE(w.ShownAndModel().first.mid(6),
             (QStringList{"MAINMENU    SHP.PFP             1", "MAINMENU_00000.BMP"}));
    QVERIFY(std::filesystem::remove(sprite));
    doubleClickFirstRow();
    QVERIFY(zorvane::testing::ReadFile(sprite) == extracted);
    QVERIFY(w.sample.ui.Messages().at(1).starts_with("The files has been converted and saved"));

    // A hint too wide for the top panel keeps its two lines, the folder shortened in its middle;
    // the tool tip holds it whole.
    auto& hint = w.sample.session.Window.Label3Caption;
    hint = "Doubleclick\r\nThe SHP file will be saved in /" + std::string(200, 'x') + "/ICONS/";
    w.window.Refresh();
    const auto* label3 = w.Find<QLabel>("Label3");
    const QStringList lines = label3->text().split('\n');
    QVERIFY(lines.size() == 2 && lines[1].startsWith("The SHP file will be saved in /x"));
    QVERIFY(lines[1].endsWith("x/ICONS/") &&
            label3->fontMetrics().horizontalAdvance(lines[1]) <= 553);
    QCOMPARE(label3->toolTip(), ToQString(hint));

    QStringList menus;
    for (QAction* menu : w.window.menuBar()->actions()) {
      menus << menu->text() + ":";
      for (QAction* entry : menu->menu()->actions())
        menus.back() +=
            " " + (entry->isSeparator() ? "-" : entry->objectName() + "=" + entry->text());
    }
    QCOMPARE(
        menus,
        (QStringList{"File: mnu_end=End", "Extract: Ext_unitdescr=UnitDescriptions mnu_browse=Browse...",
                     "Insert: ins_unitdescr=Insert Unitdescriptions - mnu_SHP_PFP=Insert SHP file "
                     "mnu_restore=Restore previous version",
                     "Setup: mnu_setup=DATA folder mnu_recent=Recent installations mnu_check=Check installation "
                     "mnu_picture_format=Picture format",
                     "Help: mnu_howto=HowTo mnu_about=About"}));
    const std::string data = w.sample.data.Path();
    const std::tuple<const char*, std::string, std::string> entries[] = {
        {"Ext_unitdescr", "", " / Your Unitdescriptions has been extracted to"},
        {"ins_unitdescr", data + "EXTRACTS/UnitDescriptions.KRT",
         "Show me Folder where you have placed the Extracts of the unitdescriptions / "
         "Unitdescriptions inserted."},
        {"mnu_SHP_PFP", "", "Select the SHP-file you want to insert."},  // cancelled
        {"mnu_setup", data + "PFPDATA.IDX", "Show me your PacGen DATA folder"},
        {"mnu_check", "", " / No problems found in " + data + "."}};
    for (const auto& [action, choice, expected] : entries) {
      w.sample.ui.Clear();
      if (!choice.empty()) w.sample.ui.QueueFileChoice(choice);
      w.Find<QAction>(action)->trigger();
      const auto& asked = w.sample.ui.FileRequests();
      std::string seen = asked.empty() ? "" : asked[0].Title;
      for (const std::string& message : w.sample.ui.Messages()) seen += " / " + message;
      QCOMPARE(seen.substr(0, expected.size()), expected);
    }
    // The picture format is kept in the settings file and marked in the menu.
    w.Find<QAction>("mnu_format_sheet")->trigger();
    QCOMPARE(w.sample.session.Extraction.Format, zorvane::graphics::PictureFormat::Sheet);
    QVERIFY(zorvane::testing::ReadText(w.sample.program / "Zorvane.ini")
                .ends_with("\r\nPicture format = PNG sheet\r\n"));
    w.Find<QAction>("mnu_format_bmp")->trigger();
    emit w.Find<QMenu>("mnu_setup_menu")->aboutToShow();
    QVERIFY(w.Find<QAction>("mnu_format_bmp")->isChecked());
    QVERIFY(!w.Find<QAction>("mnu_format_sheet")->isChecked());
    // Recent installations: one entry a folder, a missing one greyed out, then Clear.
    w.sample.session.RecentInstallations = {w.sample.data.Path(), "/gone/"};
    QMenu* recent = w.Find<QAction>("mnu_recent")->menu();
    emit recent->aboutToShow();
    QCOMPARE(w.Find<QAction>("mnu_recent_0")->text(), ToQString(w.sample.data.Path()));
    QVERIFY(w.Find<QAction>("mnu_recent_0")->isEnabled());
    QVERIFY(!w.Find<QAction>("mnu_recent_1")->isEnabled());
    w.Find<QAction>("mnu_recent_clear")->trigger();
    QVERIFY(w.sample.session.RecentInstallations.empty());
    emit recent->aboutToShow();
    QVERIFY(!w.Find<QAction>("mnu_recent_clear")->isEnabled());
    // Files dropped on the main window, or on the Browse window, go to the dropped-files handler.
    const std::string notes = w.sample.program / "notes.txt";
    zorvane::testing::WriteFile(notes, "x");
    w.window.ShowBrowse();
    for (QWidget* target : {static_cast<QWidget*>(&w.window),
                            static_cast<QWidget*>(w.window.Browse())}) {
      w.sample.ui.Clear();
      QMimeData mime;
      mime.setUrls({QUrl::fromLocalFile(ToQString(notes))});
      QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(target, &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(target, &drop);
      QCOMPARE(w.sample.ui.Messages(),
               std::vector<std::string>{zorvane::app::NotDroppableMessage(notes)});
    }
  }

  // Each How-To topic shows its own text; Close and the title bar hide the window and the model
  // alike, the topic kept. About shows the version; Escape unloads it.
  void theHelpWindowsShowTheirModels() {
    MainWindowOnSample w;
    w.Find<QAction>("mnu_howto")->trigger();
    auto* howTo = w.window.HowToWindow();
    QCOMPARE(w.Find<QLabel>("Label1", howTo)->text(),
             "To get specific instructions on a single item, select the appropriate option below.");
    auto* text = w.Find<QPlainTextEdit>("Text1", howTo);
    const QWidget* topics = w.Find("Frame1", howTo);  // each topic lies whole below the title
    for (const auto* option : topics->findChildren<QRadioButton*>())
      QVERIFY2(topics->contentsRect().contains(option->geometry()), qPrintable(option->text()));
    const QStringList beginnings =  // of each topic's text, topic 0 unused
        QString(
            "|1.: Select 'EXTRACT'|All PacGen Icons|All PacGen tiles|To insert Unitdescriptions|"
            "Before repacking Icons|Before repacking Tiles|This Tool serves two|This has to be "
            "done|Each Tileset consists|To insert new Icons|To repack the BMP files")
            .split('|');
    for (int topic : {7, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 5}) {
      if (topic != 7) w.Click(QString("Option%1").arg(topic), howTo);
      QCOMPARE(w.Checked(11, howTo), QString(11, '0').replace(topic - 1, 1, '1'));
      QCOMPARE(text->toPlainText(), ToQString(w.sample.session.HowTo.Text1));
      QVERIFY(text->toPlainText().startsWith(beginnings[topic]));
    }
    for (const bool titleBar : {false, true}) {
      if (titleBar) QVERIFY(howTo->close());
      if (!titleBar) QTest::mouseClick(w.Find("Command1", howTo), Qt::LeftButton);
      howTo->Refresh();
      QVERIFY(!howTo->isVisible() && !w.sample.session.HowTo.Visible);
      w.Find<QAction>("mnu_howto")->trigger();
      QVERIFY(howTo->isVisible() && w.Checked(11, howTo) == "00001000000");
      QCOMPARE(text->toPlainText(), ToQString(w.sample.session.HowTo.Text1));
    }

    w.Find<QAction>("mnu_about")->trigger();
    QWidget* about = w.window.AboutWindow();
    QStringList shown{about->windowTitle(), w.Find<QPushButton>("cmdSysInfo", about)->text()};
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"})
      shown << w.Find<QLabel>(name, about)->text();
    QVERIFY(!shown.takeLast().isEmpty() && w.Find<QPushButton>("cmdOK", about)->isDefault());
    QCOMPARE(shown, (QStringList{"About Tovrin's Zorvane", "&System Info...", "Tovrin's Zorvane",
                                 "Version 2.4.0",
                                 "This tool is for extractions and insertions of internal files "
                                 "in PacGen's *.PFP files."}));
    w.Click("cmdSysInfo", about);
    QCOMPARE(w.sample.ui.Messages().at(0), "System Information Is Unavailable At This Time");
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(w.window.AboutWindow() == nullptr);
    QVERIFY(!w.sample.session.About.Visible);
  }

  void messageBoxesCarryTheProgramsTitleAndNoIcon() {
    for (const bool withCancel : {false, true}) {
      const auto box = zorvane::qt::MakeMessageBox("first line\r\nsecond line", withCancel);
      QCOMPARE(box->windowTitle() + ": " + box->text(),
               "Tovrin's Zorvane: first line\nsecond line");
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->standardButtons(), withCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                  : QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    for (const auto& [filter, shown] :
         {std::pair{"PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP",
                    "PacGen Datafiles (*.IDX *.PFP)"},
          {"SHP-files for insertions|*.SHP", "SHP-files for insertions (*.SHP)"}})
      QCOMPARE(zorvane::qt::NameFilter(filter), QString(shown));

    // Each dialog comes up after the hook that lets the main window show its state first.
    zorvane::qt::QtUi ui;
    int hooked = 0;
    QString seen;  // the hook's count as each dialog came up
    ui.SetBeforeDialog([&hooked] { ++hooked; });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        seen += QString::number(hooked);
        dialog->close();
      }
    });
    closer.start(10);
    ui.ShowMessage("");
    ui.AskOkCancel("");
    ui.ChooseFileToOpen({});
    QCOMPARE(seen, "123");
  }

  // Long work runs on a thread of its own while the window's thread goes on: no dialog in the
  // first half second, then the progress dialog with what the work reports; its Cancel asks
  // the work to stop, and the work's message comes up on the window's thread.
  void longWorkShowsProgressAndStopsOnCancel() {
    QWidget window;
    window.show();
    zorvane::qt::QtUi ui;
    ui.SetParentWindow(&window);
    const std::thread::id windowThread = std::this_thread::get_id();
    std::thread::id workThread = windowThread;
    QElapsedTimer clock;
    qint64 dialogAt = -1;
    QString label, message;
    int ticks = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      ++ticks;
      auto* dialog = window.findChild<QProgressDialog*>("ProgressDialog");
      if (dialog && dialog->isVisible() && dialogAt < 0) dialogAt = clock.elapsed();
      if (dialog && dialog->isVisible() && clock.elapsed() > 700 && label.isEmpty()) {
        QVERIFY(dialog->windowModality() == Qt::ApplicationModal);
        label = dialog->labelText();
        dialog->findChild<QPushButton*>()->click();
      } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        message = box->text();
        box->close();
      }
    });
    clock.start();
    watcher.start(10);
    ui.RunOffWindowThread([&] {
      workThread = std::this_thread::get_id();
      auto& progress = ui.WorkProgress();
      while (!progress.StopRequested()) {
        progress.Report("Working", 900, 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      ui.ShowMessage(zorvane::platform::kStoppedMessage);
    });
    QVERIFY(workThread != windowThread);
    QVERIFY(dialogAt > zorvane::qt::kProgressDialogDelayMs);
    QCOMPARE(label, "Working\n900 of 1000");
    QCOMPARE(message, zorvane::platform::kStoppedMessage);
    QVERIFY(ticks > 10);  // the window thread went on handling its events
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    // Short work shows no dialog at all.
    dialogAt = -1;
    clock.restart();
    ui.RunOffWindowThread([] {});
    QCOMPARE(dialogAt, -1);
  }
};

QTEST_MAIN(MainWindowTest)
#include "window_tests.moc"

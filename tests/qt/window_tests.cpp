#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "app/session.h"
#include "form1.h"
#include "form2.h"
#include "frm_about.h"
#include "how_to_texts.h"
#include "platform/scripted_ui.h"
#include "qt_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"
#include "widgets.h"

using zorvane::app::Session;
using zorvane::platform::ScriptedUi;
using zorvane::qt::Form1;

namespace {

// A main window on the sample installation, started as the program starts.
struct MainWindowOnSample {
  MainWindowOnSample() : session(ui, program.Path()) {
    if (!zorvane::sample::WriteSampleInstallation(data.Path(), {})) qFatal("no sample");
    zorvane::testing::WriteFile(program / "Zorvane.ini", "PFP-path = " + data.Path() + "\r\n");
    window = std::make_unique<Form1>(session);
    if (!window->Load()) qFatal("start-up ended the program");
    window->show();
    window->Refresh();
  }

  template <class T>
  T* Find(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }

  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  zorvane::testing::TempFolder program;
  zorvane::testing::TempFolder data;
  ScriptedUi ui;
  Session session;
  std::unique_ptr<Form1> window;
};

QString Text(const std::string& text) {
  return zorvane::qt::ToQString(text);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsCompactWithTheStartUpCaptions() {
    MainWindowOnSample fixture;
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Tovrin's Zorvane, Version:  2. 4. 0"));
    QCOMPARE(fixture.Find<QLabel>("Label1")->text(),
             QStringLiteral("Installation of '.PFP' files:"));
    QCOMPARE(
        fixture.Find<QLabel>("Label3")->text(),
        QStringLiteral("To install a file use the Insert Menu.\nTo learn more about how to use "
                       "this program, select the 'HowTo' in the 'Help' menu."));
    QCOMPARE(fixture.window->frameGeometry().height(), 2000 / 15);
    QVERIFY(!fixture.Find<QLabel>("Label2")->isVisible());
    QVERIFY(!fixture.Find<QListView>("List1")->isVisible());
    QVERIFY(!fixture.Find<QGroupBox>("Frame1")->isVisible());
    QVERIFY(!fixture.Find<QWidget>("File1")->isVisible());
    QVERIFY(fixture.ui.Events().empty());
  }

  void toggleDetailsTwiceReturnsToTheCompactWindow() {
    MainWindowOnSample fixture;
    auto* toggle = fixture.Find<QPushButton>("Command1");
    QTest::mouseClick(toggle, Qt::LeftButton);
    QCOMPARE(fixture.window->frameGeometry().height(), 8100 / 15);
    QVERIFY(fixture.Find<QLabel>("Label2")->isVisible());
    QVERIFY(fixture.Find<QListView>("List1")->isVisible());
    QVERIFY(fixture.Find<QGroupBox>("Frame1")->isVisible());
    QVERIFY(fixture.Find<QGroupBox>("Frame2")->isVisible());
    QCOMPARE(fixture.Find<QLabel>("Label1")->text(),
             QStringLiteral("Current Content of all '.PFP' files."));
    QCOMPARE(fixture.Find<QLabel>("Label2")->text(),
             QStringLiteral("Filename    Located in    Offset in *.PFP  FileLength"));
    QCOMPARE(fixture.Find<QLabel>("Label3")->text(), QString());
    QCOMPARE(fixture.Find<QListView>("List1")->model()->rowCount(),
             static_cast<int>(fixture.session.Window.List1.size()));
    QVERIFY(fixture.Find<QListView>("List1")->model()->rowCount() > 0);

    QTest::mouseClick(toggle, Qt::LeftButton);
    QCOMPARE(fixture.window->frameGeometry().height(), 2000 / 15);
    QVERIFY(!fixture.Find<QLabel>("Label2")->isVisible());
    QVERIFY(!fixture.Find<QListView>("List1")->isVisible());
    QVERIFY(!fixture.Find<QGroupBox>("Frame1")->isVisible());
    QVERIFY(fixture.Find<QRadioButton>("Option1")->isChecked());
    // The hint has lost its second line.
    QCOMPARE(fixture.Find<QLabel>("Label3")->text(),
             QStringLiteral("To install a file use the Insert Menu."));
  }

  void theTwoOptionGroupsClearEachOther() {
    MainWindowOnSample fixture;
    QTest::mouseClick(fixture.Find<QPushButton>("Command1"), Qt::LeftButton);
    const auto checked = [&fixture] {
      QString state;
      for (int option = 1; option <= 6; ++option) {
        state += fixture.Find<QRadioButton>(QStringLiteral("Option%1").arg(option).toLatin1())
                         ->isChecked()
                     ? QLatin1Char('1')
                     : QLatin1Char('0');
      }
      return state;
    };
    QCOMPARE(checked(), QStringLiteral("100000"));
    QTest::mouseClick(fixture.Find<QRadioButton>("Option6"), Qt::LeftButton);
    QCOMPARE(checked(), QStringLiteral("000001"));
    QTest::mouseClick(fixture.Find<QRadioButton>("Option5"), Qt::LeftButton);
    QCOMPARE(checked(), QStringLiteral("000010"));
    QTest::mouseClick(fixture.Find<QRadioButton>("Option3"), Qt::LeftButton);
    QCOMPARE(checked(), QStringLiteral("001000"));
    QCOMPARE(fixture.Find<QLabel>("Label1")->text(),
             QStringLiteral("Current Content of the 'TIL.PFP' file."));
    QCOMPARE(fixture.Find<QListView>("List1")->toolTip(),
             QStringLiteral("Doubleclick to extract and convert a file."));
    QTest::mouseClick(fixture.Find<QRadioButton>("Option4"), Qt::LeftButton);
    QCOMPARE(checked(), QStringLiteral("000100"));
  }

  void detailsCheckThePalettesEachTimeTheyOpen() {
    MainWindowOnSample fixture;
    auto* toggle = fixture.Find<QPushButton>("Command1");
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::mouseClick(toggle, Qt::LeftButton);
    const std::string howToMake =
        "The program need to generate internal palettes from your PacGen installation,\r\n"
        "to be able to work correct with icons and Tiles.\r\n"
        "To make these palettes, click the 'Toggle Details' button,\r\n"
        "Click the 'PAL.PFP' option and doubleclick each of the palettefiles in the list.\r\n"
        "Doing this you will get palettes for Photoshop and PaintShopPro generated, and this "
        "message will no longer appear.";
    QCOMPARE(fixture.ui.Messages(), (std::vector<std::string>{howToMake, howToMake}));
  }

  void aDoubleClickExtractsAnArchiveRowAndPacksADestinationRow() {
    MainWindowOnSample fixture;
    QTest::mouseClick(fixture.Find<QPushButton>("Command1"), Qt::LeftButton);
    fixture.ui.Clear();
    auto* list = fixture.Find<QListView>("List1");
    const auto doubleClickRow = [list](int row) {
      const QRect place = list->visualRect(list->model()->index(row, 0));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
    };
    QTest::mouseClick(fixture.Find<QRadioButton>("Option2"), Qt::LeftButton);
    doubleClickRow(0);
    QCOMPARE(fixture.session.Window.ListIndex, 0);
    QVERIFY(QFile::exists(QString::fromStdString(fixture.data / "TOVRIN_PFP/ICONS/MAINMENU.SHP")));
    QCOMPARE(fixture.ui.Messages().size(), std::size_t{1});
    QVERIFY(
        fixture.ui.Messages()[0].starts_with("The File: MAINMENU\r\n\r\nHas been extracted to:"));

    // With a destination chosen, the list holds BMP sets: a double-click packs the set into
    // its sprite file, and never extracts.
    fixture.ui.Clear();
    QTest::mouseClick(fixture.Find<QRadioButton>("Option5"), Qt::LeftButton);
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(list->model()->index(0, 0).data().toString(),
             QStringLiteral("MAINMENU    SHP.PFP             1"));
    auto* file1 = fixture.Find<QListWidget>("File1");
    QCOMPARE(file1->count(), 1);
    QCOMPARE(file1->item(0)->text(), QStringLiteral("MAINMENU_00000.BMP"));
    const std::string sprite = fixture.data / "TOVRIN_PFP/ICONS/MAINMENU.SHP";
    const auto extracted = zorvane::testing::ReadFile(sprite);
    QVERIFY(QFile::remove(QString::fromStdString(sprite)));
    doubleClickRow(0);
    QCOMPARE(fixture.ui.Messages(),
             std::vector<std::string>{
                 "The files has been converted and saved as: \r\n" + sprite +
                 "\r\nTo insert the file into your PacGen installation use the 'Insert' "
                 "menu.\r\n\r\nThe file " +
                 sprite +
                 "\r\ncan be distributed to other installations, where it can be inserted by "
                 "this tool."});
    QVERIFY(zorvane::testing::ReadFile(sprite) == extracted);
  }

  void theMenusAreInTheirOrderWithTheirCaptions() {
    MainWindowOnSample fixture;
    QStringList captions;
    for (QAction* action : fixture.window->menuBar()->actions()) captions << action->text();
    QCOMPARE(captions, (QStringList{"File", "Extract", "Insert", "Setup", "Help"}));
    const auto entries = [&fixture](const char* menu) {
      QStringList names;
      for (QAction* action : fixture.Find<QMenu>(menu)->actions()) {
        names << (action->isSeparator() ? QStringLiteral("-")
                                        : action->objectName() + "=" + action->text());
      }
      return names;
    };
    QCOMPARE(entries("mnu_file"), QStringList{"mnu_end=End"});
    QCOMPARE(entries("mnu_extr"), QStringList{"Ext_unitdescr=UnitDescriptions"});
    QCOMPARE(entries("mnu_insert"), (QStringList{"ins_unitdescr=Insert Unitdescriptions", "-",
                                                 "mnu_SHP_PFP=Insert SHP file"}));
    QCOMPARE(entries("mnu_setup_menu"),
             (QStringList{"mnu_setup=DATA folder", "mnu_check=Check installation"}));
    QCOMPARE(entries("mnu_help"), (QStringList{"mnu_howto=HowTo", "mnu_about=About"}));
  }

  void theMenuEntriesRunTheirCommands() {
    MainWindowOnSample fixture;
    fixture.Trigger("Ext_unitdescr");
    QVERIFY(QFile::exists(QString::fromStdString(fixture.data / "EXTRACTS/UnitIDX.KRT")));
    QVERIFY(
        fixture.ui.Messages().back().starts_with("Your Unitdescriptions has been extracted to"));

    fixture.ui.Clear();
    fixture.ui.QueueFileChoice(fixture.data / "EXTRACTS/UnitDescriptions.KRT");
    fixture.Trigger("ins_unitdescr");
    QCOMPARE(
        fixture.ui.FileRequests().at(0).Title,
        std::string("Show me Folder where you have placed the Extracts of the unitdescriptions"));
    QVERIFY(fixture.ui.Messages().back().starts_with("Unitdescriptions inserted."));
    QVERIFY(QFile::exists(QString::fromStdString(fixture.data / "OLD_TXT.PFP")));

    fixture.ui.Clear();
    fixture.Trigger("mnu_SHP_PFP");  // cancelled: returns silently
    QCOMPARE(fixture.ui.FileRequests().at(0).Title,
             std::string("Select the SHP-file you want to insert."));
    QVERIFY(fixture.ui.Messages().empty());

    fixture.ui.Clear();
    fixture.Trigger("mnu_check");
    QCOMPARE(fixture.ui.Messages(),
             std::vector<std::string>{"No problems found in " + fixture.data.Path() + "."});
  }

  void howToShowsEveryTopicWholeAndKeepsTheLastAfterClose() {
    MainWindowOnSample fixture;
    fixture.Trigger("mnu_howto");
    auto* howTo = fixture.window->HowToWindow();
    QVERIFY(howTo != nullptr);
    QVERIFY(howTo->isVisible());
    QCOMPARE(howTo->windowTitle(), QStringLiteral("Form2"));
    const auto option = [howTo](int number) {
      return howTo->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(number));
    };
    auto* text = howTo->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QCOMPARE(howTo->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("To get specific instructions on a single item, select the appropriate "
                            "option below."));
    QVERIFY(option(7)->isChecked());
    for (int other = 1; other <= 11; ++other) QCOMPARE(option(other)->isChecked(), other == 7);
    QCOMPARE(text->toPlainText(), Text(zorvane::testing::HowToTopicTexts().at(7)));

    for (const auto& [number, expected] : zorvane::testing::HowToTopicTexts()) {
      QTest::mouseClick(option(number), Qt::LeftButton, {},
                        QPoint(8, option(number)->height() / 2));
      QCOMPARE(text->toPlainText(), Text(expected));
      for (int other = 1; other <= 11; ++other)
        QCOMPARE(option(other)->isChecked(), other == number);
      // The model holds the text with CR LF between lines and none after the last.
      QCOMPARE(fixture.session.HowTo.Text1, expected);
    }
    QCOMPARE(zorvane::testing::HowToTopicTexts().size(), std::size_t{11});

    QTest::mouseClick(option(3), Qt::LeftButton, {}, QPoint(8, option(3)->height() / 2));
    QTest::mouseClick(howTo->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!howTo->isVisible());
    fixture.Trigger("mnu_howto");
    QVERIFY(howTo->isVisible());
    QVERIFY(option(3)->isChecked());
    QCOMPARE(text->toPlainText(), Text(zorvane::testing::HowToTopicTexts().at(3)));
  }

  void howToClosedByItsTitleBarIsHiddenInTheModelToo() {
    MainWindowOnSample fixture;
    fixture.Trigger("mnu_howto");
    auto* howTo = fixture.window->HowToWindow();
    auto* option5 = howTo->findChild<QRadioButton*>(QStringLiteral("Option5"));
    QTest::mouseClick(option5, Qt::LeftButton, {}, QPoint(8, option5->height() / 2));
    QVERIFY(fixture.session.HowTo.Visible);

    QVERIFY(howTo->close());
    QVERIFY(!howTo->isVisible());
    QVERIFY(!fixture.session.HowTo.Visible);
    howTo->Refresh();  // a later refresh does not bring it back
    QVERIFY(!howTo->isVisible());
    fixture.Trigger("mnu_howto");
    QVERIFY(howTo->isVisible());
    QVERIFY(option5->isChecked());
  }

  void aboutShowsTheVersionInformationAndSaysSystemInfoIsUnavailable() {
    MainWindowOnSample fixture;
    fixture.Trigger("mnu_about");
    auto* about = fixture.window->AboutWindow();
    QVERIFY(about != nullptr);
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About Tovrin's Zorvane"));
    const auto label = [about](const char* name) {
      return about->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(label("lblTitle"), QStringLiteral("Tovrin's Zorvane"));
    QCOMPARE(label("lblVersion"), QStringLiteral("Version 2.4.0"));
    QCOMPARE(label("lblDescription"),
             QStringLiteral("This tool is for extractions and insertions of internal files in "
                            "PacGen's *.PFP files."));
    QVERIFY(!label("lblDisclaimer").isEmpty());
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QVERIFY(ok->isDefault());
    auto* sysInfo = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
    QTest::mouseClick(sysInfo, Qt::LeftButton);
    QCOMPARE(fixture.ui.Messages(),
             std::vector<std::string>{"System Information Is Unavailable At This Time"});
    QVERIFY(about->isVisible());
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(fixture.window->AboutWindow() == nullptr);  // closed and unloaded
    QVERIFY(!fixture.session.About.Visible);
  }

  void messageBoxesCarryTheProgramsTitleAndNoIcon() {
    const auto ok = zorvane::qt::MakeMessageBox("first line\r\nsecond line", false);
    QCOMPARE(ok->windowTitle(), QStringLiteral("Tovrin's Zorvane"));
    QCOMPARE(ok->icon(), QMessageBox::NoIcon);
    QCOMPARE(ok->text(), QStringLiteral("first line\nsecond line"));
    QCOMPARE(ok->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    const auto question = zorvane::qt::MakeMessageBox("Terminate the program?", true);
    QCOMPARE(question->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question->icon(), QMessageBox::NoIcon);
    QCOMPARE(zorvane::qt::NameFilter("PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP"),
             QStringLiteral("PacGen Datafiles (*.IDX, *.PFP) (*.IDX *.PFP)"));
    QCOMPARE(zorvane::qt::NameFilter("SHP-files for insertions (*.SHP)|*.SHP"),
             QStringLiteral("SHP-files for insertions (*.SHP) (*.SHP)"));
  }
};

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);
  MainWindowTest mainWindow;
  return QTest::qExec(&mainWindow, argc, argv);
}

#include "window_tests.moc"

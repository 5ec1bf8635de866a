#include <QtTest>
#include <QtWidgets>
#include <filesystem>

#include "app/extraction_events.h"
#include "browse_window.h"
#include "form1.h"
#include "member_table.h"
#include "palette_grid.h"
#include "picture_view.h"
#include "preview_pane.h"
#include "support/sample_session.h"

using namespace zorvane;

namespace {

// The main window on the sample installation with its internal palettes made, and the Browse
// window opened from its menu.
struct BrowseOnSample {
  BrowseOnSample() : window(sample.session) {
    if (!window.Load()) qFatal("start-up ended the program");
    for (const auto name : graphics::kPaletteNames) sample.DoubleClick(4, std::string(name));
    window.findChild<QAction*>("mnu_browse")->trigger();
    browse = window.Browse();
    filter = browse->findChild<QLineEdit*>("FilterBox");
    status = browse->findChild<QLabel*>("FilterStatus");
    QApplication::setActiveWindow(browse);  // for the window's shortcuts
    if (!QTest::qWaitForWindowActive(browse)) qFatal("the Browse window is not active");
  }
  // Filters the table down to `name` and makes its row the current one.
  void Choose(const QString& name) {
    filter->setText(name);
    QAbstractItemModel* rows = browse->Table().model();
    for (int row = 0; row < rows->rowCount(); ++row) {
      if (rows->index(row, 0).data().toString() == name) {
        return browse->Table().setCurrentIndex(rows->index(row, 0));
      }
    }
    qFatal("no member %s", qPrintable(name));
  }
  QImage Shown() const { return browse->Preview().Picture().Picture(); }

  testing::SampleSession sample;
  qt::Form1 window;
  qt::BrowseWindow* browse = nullptr;
  QLineEdit* filter = nullptr;
  QLabel* status = nullptr;
};

}  // namespace

class BrowseWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { w = std::make_unique<BrowseOnSample>(); }

  void filterCountsMatchingNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    for (const auto& [typed, status] : {std::pair{"uniticon", "1 of 95 members"},
                                        {"turn0?_u", "6 of 95 members"},
                                        {"_dd", "12 of 95 members"},
                                        {"t*u", "24 of 95 members"},
                                        {"1?", "14 of 95 members"},
                                        {"", "95 of 95 members"},
                                        {"nothing", "0 of 95 members"}}) {
      QTest::newRow(typed) << typed << status;
    }
  }
  // Typed key by key into the box; Esc empties it and shows every member again.
  void filterCountsMatchingNames() {
    QFETCH(QString, typed);
    QFETCH(QString, status);
    w->filter->clear();
    QTest::keyClicks(w->filter, typed);
    QCOMPARE(w->status->text(), status);
    QTest::keyClick(w->filter, Qt::Key_Escape);
    QCOMPARE(w->filter->text(), QString());
    QCOMPARE(w->status->text(), QStringLiteral("95 of 95 members"));
  }

  // Offsets and lengths sort as numbers, up and down.
  void sortsNumbersAsNumbers() {
    QTableView& table = w->browse->Table();
    for (const int column : {qt::MemberTableModel::kOffset, qt::MemberTableModel::kLength}) {
      for (const auto order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        table.sortByColumn(column, order);
        QList<qlonglong> values;
        for (int row = 0; row < table.model()->rowCount(); ++row)
          values << table.model()->index(row, column).data().toLongLong();
        QList<qlonglong> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        if (order == Qt::DescendingOrder) std::reverse(sorted.begin(), sorted.end());
        QCOMPARE(values, sorted);
      }
    }
    table.sortByColumn(-1, Qt::AscendingOrder);
  }

  void picturesAreTheDecodersInThePalettesColours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("palette");  // -1: the extraction's
    QTest::addColumn<bool>("checkerboard");
    QTest::newRow("sprite, DAY over the checkerboard") << "UNITICON" << 5 << -1 << true;
    QTest::newRow("sprite, DAY in pink") << "UNITICON" << 5 << -1 << false;
    QTest::newRow("sprite in another palette") << "UNITICON" << 1 << 4 << true;
    QTest::newRow("its own TURN palette") << "TURN03_J" << 0 << -1 << true;
    QTest::newRow("MAIN palette") << "MAINMENU" << 0 << -1 << true;
    QTest::newRow("tile, last hex") << "T_RIV_DD" << 1000 << -1 << true;
  }
  // Every pixel: the decoder's index in the palette table, 213 of DAY transparent over the
  // checkerboard or pink.
  void picturesAreTheDecodersInThePalettesColours() {
    QFETCH(QString, name);
    QFETCH(int, frame);
    QFETCH(int, palette);
    QFETCH(bool, checkerboard);
    w->Choose(name);
    qt::PreviewPane& preview = w->browse->Preview();
    w->browse->findChild<QCheckBox*>("Checkerboard")->setChecked(checkerboard);
    if (palette >= 0) preview.SetPalette(static_cast<graphics::PaletteId>(palette));
    preview.ShowFrame(frame);
    frame = preview.Frame();  // the last one, for a tile asked past its end
    const auto id = preview.Palette();
    const bool day = id == graphics::PaletteId::Day;
    QCOMPARE(day, palette < 0 && name != "TURN03_J" && name != "MAINMENU");
    const auto sprite =
        graphics::SpriteView::Open(app::LocationOf(w->sample.session, *preview.Shown()));
    const auto decoded = sprite.Value()->Decode(frame, day);
    const graphics::PixelBuffer& pixels = decoded.Value().Pixels;
    const QImage shown = w->Shown();
    QCOMPARE(shown.size(), QSize(pixels.Width, pixels.Height));
    const graphics::Palette& table = w->sample.session.Palettes.Table(id);
    int transparent = 0;
    for (int y = 0; y < pixels.Height; ++y) {
      for (int x = 0; x < pixels.Width; ++x) {
        const std::uint8_t index = pixels.At(x, pixels.Height - 1 - y);
        QRgb expected = qRgb(table[index].Red, table[index].Green, table[index].Blue);
        if (day && index == graphics::kTransparentIndex) {
          ++transparent;
          expected = checkerboard ? qRgba(0, 0, 0, 0) : qRgb(255, 225, 225);
        }
        if (shown.pixel(x, y) != expected) QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
      }
    }
    QCOMPARE(transparent > 0, day);
  }

  // The 16 x 16 grid names each entry's index and colour as the member's bytes hold them
  // (blue, green, red), the transparent one of DAY marked.
  void palettesShowTheirEntries() {
    w->Choose("DAY");
    auto* grid = w->browse->findChild<qt::PaletteGrid*>("PaletteGrid");
    QVERIFY(grid->isVisible());
    const auto& row = *w->browse->Preview().Shown();
    const auto bytes = testing::ReadFile(w->sample.data / "PAL.PFP");
    const auto entry = [&](int index) {
      const std::uint8_t* e = bytes.data() + row.Offset + 4 * index;
      return QString("%1, %2, %3").arg(e[2]).arg(e[1]).arg(e[0]);
    };
    const int square = std::min(grid->width(), grid->height()) / 16;
    QCOMPARE(grid->DescriptionAt(QPoint(square / 2, square / 2)), "Index 0: " + entry(0));
    QCOMPARE(grid->DescriptionAt(QPoint(5 * square + 1, 13 * square + 1)),
             "Index 213: " + entry(213) + " (transparent)");
    QCOMPARE(grid->DescriptionAt(QPoint(16 * square, 0)), QString());
  }

  // Page keys, Home and End move through the sub-images; the arrows through the table, the
  // preview following; Enter extracts the chosen member.
  void keysMoveThroughSubImagesAndMembers() {
    w->filter->clear();
    w->Choose("UNITICON");
    qt::PreviewPane& preview = w->browse->Preview();
    QTableView& table = w->browse->Table();
    table.setFocus();
    QList<int> frames;
    for (const auto key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageDown,
                           Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageUp}) {
      QTest::keyClick(&table, key);
      frames << preview.Frame();
    }
    const int last = preview.FrameCount() - 1;
    QCOMPARE(frames, (QList<int>{1, 2, last, last, last - 1, 0, 0}));
    w->filter->clear();  // the row stays the current one
    QTest::keyClick(&table, Qt::Key_Down);
    QCOMPARE(QString::fromStdString(preview.Shown()->Name), QStringLiteral("BUTTONS"));
    w->sample.ui.Clear();
    QTest::keyClick(&table, Qt::Key_Return);
    QCOMPARE(w->sample.ui.Messages().size(), std::size_t{1});
    QVERIFY(w->sample.ui.Messages()[0].starts_with("The File: BUTTONS"));
    // In the main window too, Enter on the chosen row does what a double-click does.
    QTest::mouseClick(w->window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTest::mouseClick(w->window.findChild<QRadioButton*>("Option3"), Qt::LeftButton, {},
                      QPoint(8, 8));
    auto* list = w->window.findChild<QListView*>("List1");
    QApplication::setActiveWindow(&w->window);
    QVERIFY(QTest::qWaitForWindowActive(&w->window));
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 0));
    w->sample.ui.Clear();
    QTest::keyClick(list, Qt::Key_Enter);
    QCOMPARE(w->sample.ui.Messages().size(), std::size_t{1});
    QVERIFY(w->sample.ui.Messages()[0].starts_with("The File: T_BCH_DD"));
    QApplication::setActiveWindow(w->browse);
  }

  // Text members as text, anything else as the hex of its first bytes, and a member whose
  // archive is gone in words.
  void membersWithoutPicturesShowTheirBytesOrWhyNot() {
    auto* text = w->browse->findChild<QPlainTextEdit*>("TextView");
    w->Choose("STRINGS");
    QVERIFY(text->isVisible());
    const auto& strings = *w->browse->Preview().Shown();
    const auto txt = testing::ReadFile(w->sample.data / "TXT.PFP");
    const std::string first(txt.begin() + strings.Offset,
                            std::find(txt.begin() + strings.Offset, txt.end(), '\r'));
    QVERIFY(text->toPlainText().startsWith(QString::fromLatin1(first.c_str()) + "\n"));
    w->Choose("AUDIO");
    QVERIFY(text->toPlainText().startsWith("00000000  "));
    QCOMPARE(text->toPlainText().count('\n'),
             std::min<int>(256, (w->browse->Preview().Shown()->Length + 15) / 16));
    std::filesystem::rename(w->sample.data / "SND.PFP", w->sample.data / "SND.OLD");
    w->Choose("SOUND001");
    std::filesystem::rename(w->sample.data / "SND.OLD", w->sample.data / "SND.PFP");
    QCOMPARE(w->browse->findChild<QLabel*>("PreviewMessage")->text(),
             QString::fromStdString("SOUND001 cannot be shown: its archive " +
                                    w->sample.data / "SND.PFP" + " does not exist."));
  }

  // The size and panes go into the settings file when the window closes, and come back.
  void theLayoutIsKept() {
    w->browse->resize(700, 450);
    w->browse->close();
    const std::string ini = testing::ReadText(w->sample.program / "Zorvane.ini");
    QVERIFY(ini.find("\r\nBrowse window = 700 450 ") != std::string::npos);
    qt::BrowseWindow again(w->sample.session, {});
    QCOMPARE(again.size(), QSize(700, 450));
  }

 private:
  std::unique_ptr<BrowseOnSample> w;
};

QTEST_MAIN(BrowseWindowTest)
#include "browse_tests.moc"

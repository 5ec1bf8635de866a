// How quickly the Browse window answers on an installation: one keystroke in the filter box,
// from the key to the painted table, and the first picture of the largest tile file, from the
// choice of its row to the painted preview. Runs on the Qt platform the environment names
// (QT_QPA_PLATFORM=offscreen without a display).
//
//   browse_bench DATA_FOLDER PROGRAM_FOLDER [--runs N]
//
// Prints the medians: "filter_wall S", "filter_cpu S", "rows N", "picture_wall S",
// "picture_cpu S", "hexes N".
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/extraction_events.h"
#include "app/main_window_events.h"
#include "browse_window.h"
#include "median.h"
#include "picture_view.h"
#include "platform/scripted_ui.h"
#include "preview_pane.h"

namespace {

double CpuNow() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timed {
  std::vector<double> Wall;
  std::vector<double> Cpu;
  void Measure(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    const double cpu = CpuNow();
    work();
    Wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    Cpu.push_back(CpuNow() - cpu);
    QApplication::processEvents();
  }
};

void Key(QWidget* target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: browse_bench DATA_FOLDER PROGRAM_FOLDER [--runs N]\n");
    return 2;
  }
  const std::string data = std::filesystem::absolute(argv[1]).string() + "/";
  const std::string program = std::filesystem::absolute(argv[2]).string() + "/";
  const int runs =
      argc >= 5 && std::string(argv[3]) == "--runs" ? std::max(1, std::atoi(argv[4])) : 9;
  zorvane::platform::ScriptedUi ui;
  zorvane::app::Session session(ui, program);
  if (!zorvane::app::RunStartUp(session, {data})) {
    std::fprintf(stderr, "browse_bench: the start-up failed on %s\n", data.c_str());
    return 1;
  }
  zorvane::app::CheckPalettes(session);
  zorvane::qt::BrowseWindow browse(session, {});
  browse.show();
  QApplication::processEvents();
  auto* filter = browse.findChild<QLineEdit*>(QStringLiteral("FilterBox"));
  QTableView& table = browse.Table();
  const int rows = table.model()->rowCount();

  // A keystroke that narrows the table, then one that widens it again.
  Timed keys;
  filter->setFocus();
  for (int run = 0; run < runs; ++run) {
    keys.Measure([&] {
      Key(filter, Qt::Key_T, QStringLiteral("t"));
      table.viewport()->repaint();
    });
    keys.Measure([&] {
      Key(filter, Qt::Key_Backspace, QString());
      table.viewport()->repaint();
    });
  }
  if (table.model()->rowCount() != rows) {
    std::fprintf(stderr, "browse_bench: the filter did not come back to every row\n");
    return 1;
  }

  // The largest tile file, chosen after another member.
  int largest = -1;
  int other = -1;
  for (int row = 0; row < rows; ++row) {
    const QModelIndex length = table.model()->index(row, 3);
    if (table.model()->index(row, 4).data().toString() != QStringLiteral("tile")) {
      other = row;
    } else if (largest < 0 ||
               length.data().toLongLong() > table.model()->index(largest, 3).data().toLongLong()) {
      largest = row;
    }
  }
  if (largest < 0 || other < 0) {
    std::fprintf(stderr, "browse_bench: no tile file\n");
    return 1;
  }
  Timed picture;
  for (int run = 0; run < runs; ++run) {
    table.setCurrentIndex(table.model()->index(other, 0));
    QApplication::processEvents();
    picture.Measure([&] {
      table.setCurrentIndex(table.model()->index(largest, 0));
      browse.Preview().repaint();
    });
  }
  const int hexes = browse.Preview().FrameCount();
  if (hexes == 0 || browse.Preview().Picture().Picture().isNull()) {
    std::fprintf(stderr, "browse_bench: the tile file shows no picture\n");
    return 1;
  }
  using zorvane::bench::Median;
  std::printf(
      "filter_wall %.6f\nfilter_cpu %.6f\nrows %d\npicture_wall %.6f\npicture_cpu %.6f\n"
      "hexes %d\n",
      Median(keys.Wall), Median(keys.Cpu), rows, Median(picture.Wall), Median(picture.Cpu), hexes);
  return 0;
}

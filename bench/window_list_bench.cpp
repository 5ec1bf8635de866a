// How long the main window takes to show the all-archives list of an installation: a click
// on "*.PFP" while another archive is listed, from the click to the painted list, and the
// handler (the listing) and Refresh with the painting apart. Runs on the Qt platform the
// environment names (QT_QPA_PLATFORM=offscreen without a display).
//
//   window_list_bench DATA_FOLDER PROGRAM_FOLDER [--runs N]
//
// Prints the medians: "click_wall S", "click_cpu S", "handler S", "refresh S".
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window_events.h"
#include "app/session.h"
#include "form1.h"
#include "median.h"
#include "platform/scripted_ui.h"

namespace {

double CpuNow() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

using zorvane::bench::Median;

template <class T>
T* Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    std::fprintf(stderr, "window_list_bench: no %s in the main window\n", name);
    std::exit(1);
  }
  return child;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_list_bench DATA_FOLDER PROGRAM_FOLDER [--runs N]\n");
    return 2;
  }
  const std::string data = std::filesystem::absolute(argv[1]).string() + "/";
  const std::string program = std::filesystem::absolute(argv[2]).string() + "/";
  const int runs =
      argc >= 5 && std::string(argv[3]) == "--runs" ? std::max(1, std::atoi(argv[4])) : 9;
  zorvane::platform::ScriptedUi ui;
  zorvane::app::Session session(ui, program);
  zorvane::qt::Form1 window(session);
  if (!zorvane::app::RunStartUp(session, {data})) {
    std::fprintf(stderr, "window_list_bench: the start-up failed on %s\n", data.c_str());
    return 1;
  }
  window.Refresh();
  window.show();
  QApplication::processEvents();
  // The detailed window, where the list is visible.
  Child<QPushButton>(window, "Command1")->click();
  QApplication::processEvents();
  auto* list = Child<QListView>(window, "List1");
  auto* all = Child<QRadioButton>(window, "Option1");
  auto* palettes = Child<QRadioButton>(window, "Option4");

  std::vector<double> clickWall, clickCpu, handler, refresh;
  QElapsedTimer timer;
  for (int run = 0; run < runs; ++run) {
    palettes->click();
    QApplication::processEvents();
    // The whole click, as the user sees it: the handler, Refresh, and the list painted.
    timer.start();
    const double cpu = CpuNow();
    all->click();
    list->viewport()->repaint();
    clickWall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    clickCpu.push_back(CpuNow() - cpu);
    if (!list->isVisible() || session.Window.List1.empty() ||
        list->model()->rowCount() != static_cast<int>(session.Window.List1.size())) {
      std::fprintf(stderr, "window_list_bench: the list does not show the rows\n");
      return 1;
    }
    QApplication::processEvents();

    // The two halves apart.
    palettes->click();
    QApplication::processEvents();
    timer.start();
    zorvane::app::ClickOption(session, 1);
    handler.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    timer.start();
    window.Refresh();
    list->viewport()->repaint();
    refresh.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    QApplication::processEvents();
  }
  std::printf("click_wall %.6f\nclick_cpu %.6f\nhandler %.6f\nrefresh %.6f\n", Median(clickWall),
              Median(clickCpu), Median(handler), Median(refresh));
  return 0;
}

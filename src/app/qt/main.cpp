#include <QApplication>
#include <QFont>
#include <QTimer>
#include <cstring>
#include <iostream>

#include "app/version.h"

#include "app/session.h"
#include "form1.h"
#include "platform/program_folder.h"
#include "qt_ui.h"
#include "widgets.h"

int main(int argc, char** argv) {
  // Answered before any window system is needed.
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << "usage: zorvane [FILE...]\n"
                 "       zorvane --help | --version\n"
                 "  the desktop program: lists the members of a PacGen installation's archives,\n"
                 "  extracts, browses, packs and inserts its pictures, carries unit descriptions.\n"
                 "  Each FILE is taken as dropped on its window: a sprite file (.SHP) is\n"
                 "  inserted, a DATA folder or its PFPDATA.IDX is offered as the installation.\n"
                 "  Its settings file is Zorvane.ini; zorvane-cli runs the same commands.\n";
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "zorvane " << zorvane::app::VersionNumber() << '\n';
    return 0;
  }
  QApplication application(argc, argv);
  QFont font = QApplication::font();
  font.setPixelSize(11);  // the size the window's twips were laid out for
  QApplication::setFont(font);

  zorvane::qt::QtUi ui;
  const auto folders = zorvane::platform::DefaultProgramFolders();
  zorvane::app::Session session(ui, folders.Data, folders.Settings);
  zorvane::qt::Form1 window(session);
  ui.SetParentWindow(&window);
  ui.SetStartFolder(&session.DataFolder);
  // A message comes up over the captions and choice that its command has already set.
  ui.SetBeforeDialog([&window] {
    if (window.isVisible()) window.Refresh();
  });
  if (!window.Load()) return 0;
  window.show();
  // Files it is started with (a file manager's Open With) are taken as dropped on the window.
  std::vector<std::string> files;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    files.push_back(zorvane::qt::ToStdString(argument));
  }
  QTimer::singleShot(0, &window, [&window, files] { window.OpenFiles(files); });
  return QApplication::exec();
}

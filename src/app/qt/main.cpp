#include <QApplication>
#include <QFont>

#include "app/session.h"
#include "form1.h"
#include "platform/program_folder.h"
#include "qt_ui.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QFont font = QApplication::font();
  font.setPixelSize(11);  // the size the window's twips were laid out for
  QApplication::setFont(font);

  zorvane::qt::QtUi ui;
  zorvane::app::Session session(ui, zorvane::platform::DefaultProgramFolder());
  zorvane::qt::Form1 window(session);
  ui.SetParentWindow(&window);
  ui.SetStartFolder(&session.DataFolder);
  // A message comes up over the captions and choice that its command has already set.
  ui.SetBeforeDialog([&window] {
    if (window.isVisible()) window.Refresh();
  });
  if (!window.Load()) return 0;
  window.show();
  return QApplication::exec();
}

#include "app/insert_menu.h"

#include "archive/sprite_insertion.h"

namespace zorvane::app {

void OnInsertShpFileMenu(Session& session) {
  session.LastInsertion = archive::InsertShpFile(session.DataFolder, session.Index, session.Ui);
}

}  // namespace zorvane::app

#include "cli/row_clicks.h"

#include "app/row_dispatch.h"

namespace zorvane::cli {

std::vector<int> AllRows(const app::Session& session) {
  std::vector<int> rows;
  for (int row = 0; row < static_cast<int>(session.Window.List1.size()); ++row) {
    rows.push_back(row);
  }
  return rows;
}

bool DoubleClickEachRow(app::Session& session, const std::vector<int>& rows,
                        const std::function<bool()>& completed) {
  bool allCompleted = true;
  for (int row : rows) {
    session.Window.ListIndex = row;
    app::OnList1DoubleClick(session);
    allCompleted = completed() && allCompleted;
  }
  return allCompleted;
}

}  // namespace zorvane::cli

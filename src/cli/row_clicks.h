#pragma once

#include <functional>
#include <vector>

#include "app/session.h"

namespace zorvane::cli {

// Every row of the main window's list, in order.
std::vector<int> AllRows(const app::Session& session);

// Double-clicks each row in turn, as the user would, and asks `completed` after each click
// whether its command ran to the end; returns whether every one did.
bool DoubleClickEachRow(app::Session& session, const std::vector<int>& rows,
                        const std::function<bool()>& completed);

}  // namespace zorvane::cli

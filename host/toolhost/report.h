// report.h: what a replay found, as aligned text tables or as JSON.
#pragma once

#include "replay.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace toolhost {

// Rows of cells as columns padded to their widest cell; the columns marked
// in `right` are aligned to the right.
std::string alignedTable(const std::vector<std::vector<std::string>> &rows, const std::vector<bool> &right = {});

// Six decimals, and never "-0.000000".
std::string formatNumber(double value);

// The keys before and after at the current time, and the panel's fields.
std::string textReport(const Outcome &outcome);
nlohmann::json jsonReport(const Outcome &outcome);

// Every control of a panel with its kind, position and size.
std::string controlsTable(const host::Panel &panel);

} // namespace toolhost

// The text that Ctrl+C puts on the clipboard from a list: the column headers as the first line,
// then one line per row, cells joined by a tab, so that a mail or a spreadsheet takes it as a
// table. Platform-neutral.
#pragma once

#include <string>
#include <vector>

namespace orv {

// Every line ends in CR LF. A tab or line break inside a cell becomes a space, so a cell never
// spills into the next column or row. A column without a header whose cells are all empty (a
// column that shows only icons) is left out.
std::string RowsAsText(const std::vector<std::string>& headers,
                       const std::vector<std::vector<std::string>>& rows);

}  // namespace orv

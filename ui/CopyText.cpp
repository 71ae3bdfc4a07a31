#include "ui/CopyText.h"

#include <cstddef>

namespace orv {
namespace {

std::string Cell(const std::vector<std::string>& cells, std::size_t column) {
  return column < cells.size() ? cells[column] : std::string();
}

void AppendLine(std::string& text, const std::vector<std::string>& cells,
                const std::vector<std::size_t>& columns) {
  bool first = true;
  for (const std::size_t column : columns) {
    if (!first) text += '\t';
    first = false;
    for (const char c : Cell(cells, column)) {
      text += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
  }
  text += "\r\n";
}

}  // namespace

std::string RowsAsText(const std::vector<std::string>& headers,
                       const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> columns;
  for (std::size_t column = 0; column < headers.size(); ++column) {
    bool shown = !headers[column].empty();
    for (std::size_t row = 0; row < rows.size() && !shown; ++row) {
      shown = !Cell(rows[row], column).empty();
    }
    if (shown) columns.push_back(column);
  }
  if (columns.empty()) return std::string();
  std::string text;
  AppendLine(text, headers, columns);
  for (const auto& row : rows) AppendLine(text, row, columns);
  return text;
}

}  // namespace orv

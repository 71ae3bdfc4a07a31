#include "ui/ListView.h"

#include <climits>

#include <vector>

#include "ui/CopyText.h"

namespace orv {
namespace {

// The list view copies the texts it is given and never writes to them: no copy of ours is needed.
char* ListText(const std::string& text) { return const_cast<char*>(text.c_str()); }

}  // namespace

bool ListView::Create(HWND parent, int left, int top, int width, int height,
                      const ListViewStyle& style) {
  if (!CreateChild(WC_LISTVIEWA, WS_EX_CLIENTEDGE,
                   WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS, "", left, top, width,
                   height, parent)) {
    return false;
  }
  DWORD ex = 0;
  if (style.gridLines) ex |= LVS_EX_GRIDLINES;
  if (style.rowSelect) ex |= LVS_EX_FULLROWSELECT;
  if (style.infoTips) ex |= LVS_EX_INFOTIP | LVS_EX_LABELTIP;
  ListView_SetExtendedListViewStyleEx(hwnd_, ex, ex);
  ListView_SetBkColor(hwnd_, style.background);
  ListView_SetTextBkColor(hwnd_, style.background);
  ListView_SetTextColor(hwnd_, style.textColor);
  return true;
}

void ListView::AddColumn(const std::string& caption, int width) {
  std::string text = caption;
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = width;
  column.iSubItem = ColumnCount();
  SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column.iSubItem),
               reinterpret_cast<LPARAM>(&column));
}

int ListView::ColumnCount() const {
  HWND header = ListView_GetHeader(hwnd_);
  return header ? Header_GetItemCount(header) : 0;
}

std::string ListView::ColumnCaption(int column) const {
  char text[512] = {};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = text;
  col.cchTextMax = sizeof(text);
  if (!SendMessageA(hwnd_, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&col))) {
    return std::string();
  }
  return std::string(col.pszText);
}

void ListView::SetColumnCaption(int column, const std::string& caption) {
  std::string text = caption;
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = text.data();
  SendMessageA(hwnd_, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(hwnd_, column); }

void ListView::SetSmallImages(HIMAGELIST images) {
  ListView_SetImageList(hwnd_, images, LVSIL_SMALL);
}

void ListView::SetDoubleBuffered(bool on) {
  ListView_SetExtendedListViewStyleEx(hwnd_, LVS_EX_DOUBLEBUFFER, on ? LVS_EX_DOUBLEBUFFER : 0);
}

bool ListView::DoubleBuffered() const {
  return (ListView_GetExtendedListViewStyle(hwnd_) & LVS_EX_DOUBLEBUFFER) != 0;
}

void ListView::Clear() { ListView_DeleteAllItems(hwnd_); }

int ListView::AddItem(const std::string& caption, int imageIndex) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = INT_MAX;  // past the last row: appended
  item.pszText = ListText(caption);
  item.iImage = imageIndex < 0 ? I_IMAGENONE : imageIndex;
  return static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetSubItem(int row, int subItem, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = subItem;
  item.pszText = ListText(text);
  SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::Reserve(int rows) {
  if (rows > 0) SendMessageA(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
}

int ListView::Count() const { return ListView_GetItemCount(hwnd_); }

std::string ListView::ItemText(int row, int subItem) const {
  // The list view copies at most the buffer it is given; grow it until the text fits.
  for (std::size_t size = 512; size <= (1u << 20); size *= 4) {
    std::vector<char> buffer(size, '\0');
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    const auto copied = static_cast<std::size_t>(SendMessageA(
        hwnd_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < size) return std::string(buffer.data(), copied);
  }
  return std::string();
}

int ListView::ImageIndex(int row) const {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (!SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int ListView::Selected() const {
  // Of several selected rows, the one the user came to last.
  const int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED | LVNI_SELECTED);
  return focused >= 0 ? focused : ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(hwnd_, row, LVNI_SELECTED)) {
    rows.push_back(row);
  }
  return rows;
}

void ListView::SelectAll() { ListView_SetItemState(hwnd_, -1, LVIS_SELECTED, LVIS_SELECTED); }

std::string ListView::CopyText() const {
  const int columns = ColumnCount();
  std::vector<std::string> headers;
  for (int column = 0; column < columns; ++column) headers.push_back(ColumnCaption(column));
  std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    for (int row = 0; row < Count(); ++row) rows.push_back(row);
  }
  std::vector<std::vector<std::string>> cells;
  cells.reserve(rows.size());
  for (const int row : rows) {
    std::vector<std::string>& line = cells.emplace_back();
    for (int column = 0; column < columns; ++column) line.push_back(ItemText(row, column));
  }
  return RowsAsText(headers, cells);
}

POINT ListView::KeyboardMenuPoint() const {
  int row = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED | LVNI_SELECTED);
  if (row < 0) row = Selected();
  RECT item{};
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (row >= 0 && ListView_GetItemRect(hwnd_, row, &item, LVIR_LABEL) && item.bottom > client.top &&
      item.bottom < client.bottom) {
    POINT at{item.left, item.bottom};
    ClientToScreen(hwnd_, &at);
    return at;
  }
  return Control::KeyboardMenuPoint();
}

void ListView::Select(int row) {
  // As a click on the row: it alone is selected.
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(hwnd_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd_, row, FALSE);
}

void ListView::BeginUpdate() { SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0); }

void ListView::EndUpdate() {
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace orv

// A report-style list view (SysListView32): columns, grid lines, whole-row selection of one row or
// many, small images from a shared image list, optional double-buffered drawing, rows copied as
// text. Read-only: no label editing.
#pragma once

#include <string>
#include <vector>

#include "ui/Clipboard.h"
#include "ui/Control.h"

namespace orv {

struct ListViewStyle {
  bool gridLines = true;
  bool rowSelect = true;
  bool infoTips = false;  // tool tips for texts cut at a column's edge
  COLORREF background = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
};

class ListView : public Control, public CopySource {
 public:
  bool Create(HWND parent, int left, int top, int width, int height, const ListViewStyle& style);

  void AddColumn(const std::string& caption, int width);
  int ColumnCount() const;
  std::string ColumnCaption(int column) const;
  void SetColumnCaption(int column, const std::string& caption);
  int ColumnWidth(int column) const;

  // The image list stays the owner's: the list view only shows it.
  void SetSmallImages(HIMAGELIST images);

  void SetDoubleBuffered(bool on);
  bool DoubleBuffered() const;

  void Clear();
  // Appends a row with its caption (column 0) and image (-1: none); returns its index.
  int AddItem(const std::string& caption, int imageIndex = -1);
  void SetSubItem(int row, int subItem, const std::string& text);
  // Lets the list make room for rows rows at once before many are added.
  void Reserve(int rows);
  int Count() const;
  // The text of a row's caption (subItem 0) or sub-item; empty when the row has none.
  std::string ItemText(int row, int subItem = 0) const;
  int ImageIndex(int row) const;

  // The selected row (of several, the focused one, else the first); -1 when none is selected.
  int Selected() const;
  std::vector<int> SelectedRows() const;
  // Selects row alone, as a click on it does.
  void Select(int row);
  void SelectAll() override;
  // The column captions and the selected rows (all rows when none is selected) as RowsAsText.
  std::string CopyText() const override;

  // Suspends drawing while many rows change.
  void BeginUpdate();
  void EndUpdate();

 protected:
  // Under the focused row, or the first selected one, when it is in view.
  POINT KeyboardMenuPoint() const override;
};

// Drawing of a list suspended for one scope, however the scope ends.
class ListUpdate {
 public:
  explicit ListUpdate(ListView& list) : list_(list) { list_.BeginUpdate(); }
  ~ListUpdate() { list_.EndUpdate(); }
  ListUpdate(const ListUpdate&) = delete;
  ListUpdate& operator=(const ListUpdate&) = delete;

 private:
  ListView& list_;
};

}  // namespace orv

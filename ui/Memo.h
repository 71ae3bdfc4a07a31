// A read-only multi-line text box (EDIT) holding lines of plain text, whose lines can be selected
// and copied like a list's rows.
#pragma once

#include <string>
#include <vector>

#include "ui/Clipboard.h"
#include "ui/Control.h"

namespace orv {

class Memo : public Control, public CopySource {
 public:
  // No word wrap and no scroll bars: long lines are cut at the edge, as the page expects.
  bool Create(HWND parent, int left, int top, int width, int height);

  // Lines are held as text with CR LF after every line, so one empty line is a lone CR LF and an
  // empty box holds no line at all.
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void Clear();

  void SelectAll() override;
  // The selected text, or every line when nothing is selected.
  std::string CopyText() const override;

  HBRUSH OnCtlColor(HDC dc) override;
};

// The lines of a text whose lines end in CR LF (a last line without one counts too).
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace orv

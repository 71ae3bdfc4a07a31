// Copying to the clipboard: the controls whose rows can be selected and copied, and the one way
// text gets onto the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

// A control whose rows Ctrl+A selects and Ctrl+C copies.
class CopySource {
 public:
  virtual void SelectAll() = 0;
  // What Ctrl+C copies now: the selected rows, or every row when none is selected.
  virtual std::string CopyText() const = 0;

 protected:
  ~CopySource() = default;
};

// Puts text (in the system code page) on the clipboard as text and as Unicode text, so that any
// program pastes it right. False when the clipboard could not be had.
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace orv

// Drawn controls without text: a bevel line and a picture. Both are child windows of the
// program's own classes that paint their parent's background first, so they look transparent
// on a themed tab page.
#pragma once

#include "base/Handles.h"
#include "ui/Control.h"

namespace orv {

// A horizontal rule: a shadow line over a highlight line, as an etched separator.
class Bevel : public Control {
 public:
  bool Create(HWND parent, int left, int top, int width, int height);
};

// A bitmap picture that sizes itself to its bitmap. A 32-bit bitmap is blended by its alpha
// channel over the parent's background; others are copied as they are.
class Picture : public Control {
 public:
  bool Create(HWND parent, int left, int top, int width, int height);
  // Takes ownership of bitmap and fits the control to its size.
  void SetBitmap(HBITMAP bitmap);
  // Loads a named bitmap resource of the program; false (and no picture) when there is none.
  bool LoadResource(const char* name);
  HBITMAP Bitmap() const noexcept { return bitmap_.Get(); }
  bool HasAlpha() const noexcept { return alpha_; }

  void Paint(HDC dc) const;

 private:
  UniqueBitmap bitmap_;
  bool alpha_ = false;
};

}  // namespace orv

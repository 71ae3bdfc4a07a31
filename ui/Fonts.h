// Fonts by description, created once per process and shared by every control that asks for the
// same one ("Arial, character height 11" is LOGFONT lfHeight -11).
#pragma once

#include <windows.h>

#include <string>

namespace orv {

struct FontSpec {
  std::string face = "Arial";
  int height = 11;  // character height in pixels
  bool bold = false;
  bool underline = false;

  FontSpec Underlined(bool on = true) const {
    FontSpec wanted = *this;
    wanted.underline = on;
    return wanted;
  }
  bool operator==(const FontSpec&) const = default;
};

// The font of that description; owned by the process-wide cache, valid until the program ends.
HFONT SharedFont(const FontSpec& wanted);

// What the font of a window is, as far as the cache knows it (the default for other fonts).
FontSpec DescribeFont(HFONT font);

}  // namespace orv

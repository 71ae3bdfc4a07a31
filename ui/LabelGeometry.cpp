#include "ui/LabelGeometry.h"

namespace orv {

int AutoSizedLeft(TextAlign align, int oldLeft, int oldWidth, int newWidth) {
  if (align == TextAlign::Right) return oldLeft + oldWidth - newWidth;
  return oldLeft;
}

}  // namespace orv

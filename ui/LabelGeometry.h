// Where an auto-sized label goes when its text changes width. Platform-neutral.
#pragma once

namespace orv {

enum class TextAlign { Left, Center, Right };

// The new left edge of a label that sizes itself to its text: a right-aligned label keeps its right
// edge, every other label keeps its left edge.
int AutoSizedLeft(TextAlign align, int oldLeft, int oldWidth, int newWidth);

}  // namespace orv

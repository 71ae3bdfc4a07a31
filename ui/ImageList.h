// An owned image list of small (16 x 16) icons, shared by list views that do not destroy it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "base/Handles.h"

namespace orv {

struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ImageList_Destroy(h); }
};

class ImageList {
 public:
  bool Create(int width = 16, int height = 16);
  HIMAGELIST Handle() const noexcept { return list_.Get(); }
  // Adds a copy of icon, scaled to the list's size; returns its index, -1 when it fails.
  int AddIcon(HICON icon);
  void Clear();
  // Removes the images from index count on; the first count keep their indexes.
  void Truncate(int count);
  int Count() const;

 private:
  UniqueHandle<ImageListTraits> list_;
};

}  // namespace orv

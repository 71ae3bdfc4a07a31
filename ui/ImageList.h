// An owned image list of small (16 x 16) icons, shared by list views that do not destroy it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <vector>

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

// Appends the images of one list fill. Turning an icon into a list image is the slow part of a
// fill and most rows share their icon with others, so each icon is fitted to the list's size once;
// the rows' images are then laid side by side in a strip and appended to the list together, since
// every append is a costly call of its own. Each call still gives the index a plain AddIcon would
// give; the images reach the list at the latest when the batch ends, so a list view showing them
// keeps its redraw off until then.
class ImageBatch {
 public:
  explicit ImageBatch(ImageList& list);
  // Appends the images still waiting.
  ~ImageBatch();
  ImageBatch(const ImageBatch&) = delete;
  ImageBatch& operator=(const ImageBatch&) = delete;

  // As ImageList::AddIcon: the new image's index, -1 when the list takes no image.
  int AddIcon(HICON icon);

 private:
  struct Bitmaps {
    UniqueBitmap color;
    UniqueBitmap mask;
  };
  // The icon's image and mask at the list's size; none when it cannot be fitted.
  Bitmaps FittedBitmaps(HICON icon) const;
  // Appends the waiting images to the list.
  void Flush();

  ImageList& list_;
  int width_ = 0;
  int height_ = 0;
  int next_;  // the index of the next image
  std::map<HICON, Bitmaps> fitted_;
  std::vector<HICON> waiting_;  // icons with fitted bitmaps whose images are not appended yet
};

}  // namespace orv

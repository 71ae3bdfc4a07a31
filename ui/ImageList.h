// An owned image list of small (16 x 16) icons, shared by list views that do not destroy it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>

#include "base/Handles.h"

namespace orv {

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
  UniqueHandle<HIMAGELIST, &ImageList_Destroy> list_;
};

// Appends the images of one list fill. Turning an icon into a list image is the slow part of a
// fill and most rows share their icon with others, so each icon is fitted to the list's size once
// and every row's image is appended from the bitmaps that gave; room is made in large steps, since
// each step copies every image held. Each call still appends one image of its own, at the index a
// plain AddIcon would give.
class ImageBatch {
 public:
  explicit ImageBatch(ImageList& list);
  // Gives back the room that was not used.
  ~ImageBatch();
  ImageBatch(const ImageBatch&) = delete;
  ImageBatch& operator=(const ImageBatch&) = delete;

  // Makes room for count more images at once.
  void Reserve(int count);
  // As ImageList::AddIcon: the new image's index, -1 when the list takes no image.
  int AddIcon(HICON icon);

 private:
  struct Bitmaps {
    UniqueBitmap color;
    UniqueBitmap mask;
  };
  // The icon's image and mask at the list's size; none when it cannot be fitted.
  Bitmaps FittedBitmaps(HICON icon) const;

  ImageList& list_;
  int next_;      // where the next image goes
  int reserved_;  // the list's count, the room included
  std::map<HICON, Bitmaps> added_;
};

}  // namespace orv

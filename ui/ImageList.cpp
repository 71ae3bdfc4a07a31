#include "ui/ImageList.h"

namespace orv {

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

bool ImageList::Create(int width, int height) {
  if (list_) ImageList_Destroy(list_);
  list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16);
  return list_ != nullptr;
}

int ImageList::AddIcon(HICON icon) {
  if (!list_ || !icon) return -1;
  return ImageList_AddIcon(list_, icon);
}

void ImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_);
}

void ImageList::Truncate(int count) {
  if (!list_) return;
  if (count <= 0) {
    Clear();
    return;
  }
  // From the end, so that no image is moved down to a new index.
  for (int last = Count() - 1; last >= count; --last) ImageList_Remove(list_, last);
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

}  // namespace orv

#include "ui/ImageList.h"

namespace orv {

bool ImageList::Create(int width, int height) {
  list_.Reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16));
  return list_.Valid();
}

int ImageList::AddIcon(HICON icon) {
  if (!list_ || !icon) return -1;
  return ImageList_AddIcon(list_.Get(), icon);
}

void ImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_.Get());
}

void ImageList::Truncate(int count) {
  if (!list_) return;
  if (count <= 0) {
    Clear();
    return;
  }
  // From the end, so that no image is moved down to a new index.
  for (int last = Count() - 1; last >= count; --last) ImageList_Remove(list_.Get(), last);
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

}  // namespace orv

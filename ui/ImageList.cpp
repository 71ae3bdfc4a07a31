#include "ui/ImageList.h"

namespace orv {
namespace {

constexpr int kGrowth = 256;

}  // namespace

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

bool ImageList::Create(int width, int height) {
  if (list_) ImageList_Destroy(list_);
  // Grown in large steps: every growth copies all the images held, and the lists hold thousands.
  list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, kGrowth);
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
  // In one step: each single removal copies every image held. The first count keep their indexes.
  if (count < Count()) ImageList_SetImageCount(list_, static_cast<UINT>(count));
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

}  // namespace orv

#include "ui/ImageList.h"

namespace orv {
namespace {

constexpr int kGrowth = 256;

}  // namespace

bool ImageList::Create(int width, int height) {
  // Grown in large steps: every growth copies all the images held, and the lists hold thousands.
  list_.Reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, kGrowth));
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
  // In one step: each single removal copies every image held. The first count keep their indexes.
  if (count < Count()) ImageList_SetImageCount(list_.Get(), static_cast<UINT>(count));
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

ImageBatch::ImageBatch(ImageList& list) : list_(list), next_(list.Count()), reserved_(next_) {}

ImageBatch::~ImageBatch() {
  if (reserved_ > next_) ImageList_SetImageCount(list_.Handle(), static_cast<UINT>(next_));
}

void ImageBatch::Reserve(int count) {
  if (!list_.Handle() || count <= 0 || reserved_ - next_ >= count) return;
  if (ImageList_SetImageCount(list_.Handle(), static_cast<UINT>(next_ + count))) {
    reserved_ = next_ + count;
  }
}

int ImageBatch::AddIcon(HICON icon) {
  if (!list_.Handle() || !icon) return -1;
  if (next_ == reserved_) Reserve(next_ < 64 ? 64 : next_);
  if (next_ == reserved_) {  // no room could be made: one at a time
    const int index = list_.AddIcon(icon);
    if (index >= 0) next_ = reserved_ = index + 1;
    return index;
  }
  const auto added = added_.find(icon);
  if (added != added_.end()) {
    if (!ImageList_Replace(list_.Handle(), next_, added->second.color.Get(),
                           added->second.mask.Get())) {
      return -1;
    }
  } else {
    if (ImageList_ReplaceIcon(list_.Handle(), next_, icon) < 0) return -1;
    // The image as the list holds it now: the icon fitted to the list's size, with its mask.
    const UniqueIcon fitted(ImageList_GetIcon(list_.Handle(), next_, ILD_NORMAL));
    ICONINFO parts{};
    if (fitted && GetIconInfo(fitted.Get(), &parts)) {
      added_.emplace(icon, Bitmaps{UniqueBitmap(parts.hbmColor), UniqueBitmap(parts.hbmMask)});
    }
  }
  return next_++;
}

}  // namespace orv

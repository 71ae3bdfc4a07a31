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

ImageBatch::Bitmaps ImageBatch::FittedBitmaps(HICON icon) const {
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(list_.Handle(), &width, &height);
  UniqueBitmap color;
  Bitmaps bitmaps;
  BITMAP shape{};
  // A monochrome icon keeps image and mask in one bitmap (no colour bitmap): the list takes it as
  // an icon.
  const auto take = [&](HICON from) {
    ICONINFO info{};
    if (!from || !GetIconInfo(from, &info)) return false;
    color.Reset(info.hbmColor);
    bitmaps.mask.Reset(info.hbmMask);
    return color && GetObjectA(color.Get(), sizeof(shape), &shape);
  };
  if (!take(icon)) return {};
  if (shape.bmWidth != width || shape.bmHeight != height) {
    // Fitted as the list itself fits an icon: the file's own image of that size when the icon
    // came from a resource, else the icon scaled. An icon of the list's size is taken as it is.
    UniqueIcon fitted(
        static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE)));
    if (!fitted) fitted.Reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, 0)));
    if (!take(fitted.Get())) return {};
  }
  // The image goes to the list as a DIB section of 32 bits a pixel, alpha and all: the list puts
  // the bitmap into a DC for every row, and for a device bitmap that costs far more than the row.
  BITMAPINFO format{};
  format.bmiHeader = {
      sizeof(BITMAPINFOHEADER), shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  bitmaps.color.Reset(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmaps.color || !dc ||
      GetDIBits(dc.Get(), color.Get(), 0, static_cast<UINT>(shape.bmHeight), bits, &format,
                DIB_RGB_COLORS) != shape.bmHeight) {
    return {};
  }
  return bitmaps;
}

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
  auto added = added_.find(icon);
  if (added == added_.end()) added = added_.emplace(icon, FittedBitmaps(icon)).first;
  const Bitmaps& bitmaps = added->second;
  if (bitmaps.color) {
    if (!ImageList_Replace(list_.Handle(), next_, bitmaps.color.Get(), bitmaps.mask.Get())) {
      return -1;
    }
  } else if (ImageList_ReplaceIcon(list_.Handle(), next_, icon) < 0) {
    return -1;
  }
  return next_++;
}

}  // namespace orv

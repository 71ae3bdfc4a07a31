#include "ui/ImageList.h"

namespace orv {
namespace {

constexpr int kGrowth = 256;
// The most images appended at once, so that a strip stays small (256 KB for 16 x 16 images).
constexpr std::size_t kStripImages = 256;

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
  // Fitted as the list itself fits an icon: the file's own image of that size when the icon came
  // from a resource, else the icon scaled.
  UniqueIcon fitted(
      static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width_, height_, LR_COPYFROMRESOURCE)));
  if (!fitted) fitted.Reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width_, height_, 0)));
  ICONINFO info{};
  if (!fitted || !GetIconInfo(fitted.Get(), &info)) return {};
  Bitmaps bitmaps{UniqueBitmap(info.hbmColor), UniqueBitmap(info.hbmMask)};
  // A monochrome icon keeps image and mask in one bitmap; an image of another size would be
  // scaled. The list takes either as an icon.
  BITMAP color{};
  if (!bitmaps.color || !GetObjectA(bitmaps.color.Get(), sizeof(color), &color) ||
      color.bmWidth != width_ || color.bmHeight != height_) {
    return {};
  }
  return bitmaps;
}

ImageBatch::ImageBatch(ImageList& list) : list_(list), next_(list.Count()) {
  if (list_.Handle()) ImageList_GetIconSize(list_.Handle(), &width_, &height_);
}

ImageBatch::~ImageBatch() { Flush(); }

int ImageBatch::AddIcon(HICON icon) {
  if (!list_.Handle() || !icon) return -1;
  auto fitted = fitted_.find(icon);
  if (fitted == fitted_.end()) fitted = fitted_.emplace(icon, FittedBitmaps(icon)).first;
  if (!fitted->second.color) {
    // Appended at once, behind the images before it.
    Flush();
    const int index = list_.AddIcon(icon);
    if (index >= 0) next_ = index + 1;
    return index;
  }
  waiting_.push_back(icon);
  const int index = next_++;
  if (waiting_.size() == kStripImages) Flush();
  return index;
}

void ImageBatch::Flush() {
  if (waiting_.empty()) return;
  const int count = static_cast<int>(waiting_.size());
  const int first = next_ - count;
  // 32 bits a pixel keep the images' alpha as it is.
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), width_ * count, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueBitmap mask(CreateBitmap(width_ * count, height_, 1, 1, nullptr));
  UniqueMemoryDc colorDc(CreateCompatibleDC(nullptr));
  UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
  UniqueMemoryDc sourceDc(CreateCompatibleDC(nullptr));
  bool laid = color && mask && colorDc && maskDc && sourceDc;
  if (laid) {
    SelectGuard colorStrip(colorDc.Get(), color.Get());
    SelectGuard maskStrip(maskDc.Get(), mask.Get());
    std::map<HICON, int> placed;  // where each icon's image is in the strip first
    for (int i = 0; i < count && laid; ++i) {
      const int x = i * width_;
      const auto before = placed.find(waiting_[i]);
      if (before != placed.end()) {
        const int from = before->second * width_;
        laid = BitBlt(colorDc.Get(), x, 0, width_, height_, colorDc.Get(), from, 0, SRCCOPY) &&
               BitBlt(maskDc.Get(), x, 0, width_, height_, maskDc.Get(), from, 0, SRCCOPY);
        continue;
      }
      const Bitmaps& bitmaps = fitted_.at(waiting_[i]);
      {
        SelectGuard source(sourceDc.Get(), bitmaps.color.Get());
        laid = BitBlt(colorDc.Get(), x, 0, width_, height_, sourceDc.Get(), 0, 0, SRCCOPY);
      }
      if (laid) {
        SelectGuard source(sourceDc.Get(), bitmaps.mask.Get());
        laid = BitBlt(maskDc.Get(), x, 0, width_, height_, sourceDc.Get(), 0, 0, SRCCOPY);
      }
      placed.emplace(waiting_[i], i);
    }
  }
  // The strips are appended once no DC holds them; should that fail, image by image.
  if (!laid || ImageList_Add(list_.Handle(), color.Get(), mask.Get()) != first) {
    ImageList_SetImageCount(list_.Handle(), static_cast<UINT>(first));
    for (HICON icon : waiting_) list_.AddIcon(icon);
  }
  waiting_.clear();
}

}  // namespace orv

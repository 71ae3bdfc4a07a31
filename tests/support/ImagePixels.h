// What an image list shows: the tests compare icons by their drawn pixels.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/Handles.h"

namespace orv::test {

// The 16 x 16 pixels of image index of list, drawn over a grey of known alpha; empty when no
// bitmap can be made.
inline std::vector<std::uint32_t> ImagePixels(HIMAGELIST list, int index) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniqueBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  SelectGuard select(dc.Get(), bitmap.Get());
  std::memset(bits, 0x7F, 16 * 16 * 4);
  ImageList_Draw(list, index, dc.Get(), 0, 0, ILD_NORMAL);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  return std::vector<std::uint32_t>(first, first + 16 * 16);
}

// The first icon of the file at path, its image for the lists' 16 x 16 (the nearest scaled where
// it has none); empty when the file has no icon.
inline UniqueIcon SmallFileIcon(const std::string& path) {
  HICON icon = nullptr;
  UINT id = 0;
  PrivateExtractIconsA(path.c_str(), 0, 16, 16, &icon, &id, 1, 0);
  return UniqueIcon(icon);
}

}  // namespace orv::test

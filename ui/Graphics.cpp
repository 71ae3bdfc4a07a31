#include "ui/Graphics.h"

#include <cstdint>

#include "ui/Theme.h"

namespace orv {
namespace {

void PaintParentBackground(HWND hwnd, HDC dc) { theme::DrawParentBackground(hwnd, dc); }

void PaintBevel(HWND hwnd, HDC dc) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  PaintParentBackground(hwnd, dc);
  RECT line{rc.left, rc.top, rc.right, rc.top + 1};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
  line = {rc.left, rc.top + 1, rc.right, rc.top + 2};
  FillRect(dc, &line, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

void PaintPicture(HWND hwnd, HDC dc) {
  if (auto* picture = dynamic_cast<Picture*>(Control::FromHandle(hwnd))) picture->Paint(dc);
}

// A control that only paints itself (no erasing, so no flicker) and lets the mouse through to
// what lies under it.
template <void (*Paint)(HWND, HDC)>
LRESULT CALLBACK PaintOnlyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps{};
      HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
      Paint(hwnd, dc);
      if (message == WM_PAINT) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void RegisterOnce(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, name, &wc)) return;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

// AlphaBlend wants premultiplied colour; a bitmap whose colour exceeds its alpha anywhere is
// straight alpha and is premultiplied here once.
bool PremultiplyIfNeeded(HBITMAP bitmap) {
  DIBSECTION dib{};
  if (GetObjectA(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
      !dib.dsBm.bmBits) {
    return false;
  }
  auto* pixels = static_cast<std::uint8_t*>(dib.dsBm.bmBits);
  const std::size_t count =
      static_cast<std::size_t>(dib.dsBm.bmWidth) * static_cast<std::size_t>(dib.dsBm.bmHeight);
  bool anyAlpha = false;
  bool straight = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = pixels + i * 4;
    if (p[3] != 0) anyAlpha = true;
    if (p[0] > p[3] || p[1] > p[3] || p[2] > p[3]) straight = true;
  }
  if (!anyAlpha) return false;  // an alpha channel of zeros: an ordinary 32-bit picture
  if (straight) {
    for (std::size_t i = 0; i < count; ++i) {
      std::uint8_t* p = pixels + i * 4;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * p[3] / 255);
    }
  }
  return true;
}

}  // namespace

bool Bevel::Create(HWND parent, int left, int top, int width, int height) {
  RegisterOnce("OrvBevel", &PaintOnlyProc<PaintBevel>);
  return CreateChild("OrvBevel", 0, WS_VISIBLE, "", left, top, width, height, parent);
}

bool Picture::Create(HWND parent, int left, int top, int width, int height) {
  RegisterOnce("OrvPicture", &PaintOnlyProc<PaintPicture>);
  return CreateChild("OrvPicture", 0, WS_VISIBLE, "", left, top, width, height, parent);
}

void Picture::SetBitmap(HBITMAP bitmap) {
  bitmap_.Reset(bitmap);
  alpha_ = bitmap && PremultiplyIfNeeded(bitmap);
  BITMAP bm{};
  if (bitmap && GetObjectA(bitmap, sizeof(bm), &bm)) {
    SetBounds(Left(), Top(), bm.bmWidth, bm.bmHeight);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Picture::LoadResource(const char* name) {
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return false;
  SetBitmap(bitmap);
  return true;
}

void Picture::Paint(HDC dc) const {
  PaintParentBackground(hwnd_, dc);
  if (!bitmap_) return;
  BITMAP bm{};
  GetObjectA(bitmap_.Get(), sizeof(bm), &bm);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectGuard select(memory.Get(), bitmap_.Get());
  if (alpha_) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // gdi32's own AlphaBlend: msimg32.dll, which exports it too, would be taken from the
    // program's folder first.
    GdiAlphaBlend(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                  blend);
  } else {
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.Get(), 0, 0, SRCCOPY);
  }
}

}  // namespace orv

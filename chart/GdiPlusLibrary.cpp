// The GDI+ functions the chart draws with, bound at run time to the system's gdiplus.dll.
// Linked by name, Windows would take gdiplus.dll from the program's own folder first, where a
// planted copy would run inside the program. gdiplus.h declares the functions without import
// attributes, so these definitions stand in for the import library; without the library every
// call answers GdiplusNotInitialized, so GdiplusStartup fails and the chart draws no pie.
#include <objidl.h>

#include <gdiplus.h>

#include <type_traits>

#include "base/SystemLibrary.h"

namespace {

// GDI+ as the manifest binds it (Microsoft.Windows.GdiPlus 1.0): Windows XP keeps gdiplus.dll
// only in its side-by-side store. The loader redirects a bare name through the activation context
// before it searches any folder, and never a full path; so the bare name is loaded when the
// context redirects it. Else (a process without the manifest) a bare name would be searched for,
// in the program's folder first before Windows 8 without KB2533623: the system folder's copy is
// loaded by its full path instead.
HMODULE Library() {
  static const HMODULE library = [] {
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(ACTCTX_SECTION_KEYED_DATA_2600);  // the size XP knows
    return FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    "gdiplus.dll", &redirection)
               ? LoadLibraryA("gdiplus.dll")
               : orv::LoadSystemLibrary("gdiplus.dll");
  }();
  return library;
}

// Calls the library's function of that name, which has the signature of Self.
template <auto Self, typename... Args>
auto Forward(const char* name, Args... args) -> decltype(Self(args...)) {
  using Result = decltype(Self(args...));
  static const auto real = orv::SystemFunction<decltype(Self)>(Library(), name);
  if (real) return real(args...);
  if constexpr (std::is_same_v<Result, Gdiplus::GpStatus>) {
    return Gdiplus::GdiplusNotInitialized;
  } else if constexpr (!std::is_void_v<Result>) {
    return Result{};
  }
}

}  // namespace

namespace Gdiplus {
extern "C" {

GpStatus WINGDIPAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                   GdiplusStartupOutput* output) {
  return Forward<&GdiplusStartup>("GdiplusStartup", token, input, output);
}
VOID WINGDIPAPI GdiplusShutdown(ULONG_PTR token) {
  Forward<&GdiplusShutdown>("GdiplusShutdown", token);
}
VOID* WINGDIPAPI GdipAlloc(size_t size) { return Forward<&GdipAlloc>("GdipAlloc", size); }
VOID WINGDIPAPI GdipFree(VOID* block) { Forward<&GdipFree>("GdipFree", block); }

GpStatus WINGDIPAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics) {
  return Forward<&GdipCreateFromHDC>("GdipCreateFromHDC", dc, graphics);
}
GpStatus WINGDIPAPI GdipDeleteGraphics(GpGraphics* graphics) {
  return Forward<&GdipDeleteGraphics>("GdipDeleteGraphics", graphics);
}
GpStatus WINGDIPAPI GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height,
                                     CombineMode mode) {
  return Forward<&GdipSetClipRectI>("GdipSetClipRectI", graphics, x, y, width, height, mode);
}
GpStatus WINGDIPAPI GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode) {
  return Forward<&GdipSetPixelOffsetMode>("GdipSetPixelOffsetMode", graphics, mode);
}
GpStatus WINGDIPAPI GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
  return Forward<&GdipSetSmoothingMode>("GdipSetSmoothingMode", graphics, mode);
}
GpStatus WINGDIPAPI GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2,
                                 REAL y2) {
  return Forward<&GdipDrawLine>("GdipDrawLine", graphics, pen, x1, y1, x2, y2);
}
GpStatus WINGDIPAPI GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  return Forward<&GdipDrawPath>("GdipDrawPath", graphics, pen, path);
}
GpStatus WINGDIPAPI GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  return Forward<&GdipFillPath>("GdipFillPath", graphics, brush, path);
}

GpStatus WINGDIPAPI GdipCreatePath(GpFillMode mode, GpPath** path) {
  return Forward<&GdipCreatePath>("GdipCreatePath", mode, path);
}
GpStatus WINGDIPAPI GdipDeletePath(GpPath* path) {
  return Forward<&GdipDeletePath>("GdipDeletePath", path);
}
GpStatus WINGDIPAPI GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count) {
  return Forward<&GdipAddPathLine2>("GdipAddPathLine2", path, points, count);
}
GpStatus WINGDIPAPI GdipClosePathFigure(GpPath* path) {
  return Forward<&GdipClosePathFigure>("GdipClosePathFigure", path);
}

GpStatus WINGDIPAPI GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  return Forward<&GdipCreatePen1>("GdipCreatePen1", color, width, unit, pen);
}
GpStatus WINGDIPAPI GdipDeletePen(GpPen* pen) {
  return Forward<&GdipDeletePen>("GdipDeletePen", pen);
}
GpStatus WINGDIPAPI GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  return Forward<&GdipCreateSolidFill>("GdipCreateSolidFill", color, brush);
}
GpStatus WINGDIPAPI GdipCreateLineBrush(const GpPointF* from, const GpPointF* to, ARGB color1,
                                        ARGB color2, GpWrapMode wrap, GpLineGradient** brush) {
  return Forward<&GdipCreateLineBrush>("GdipCreateLineBrush", from, to, color1, color2, wrap,
                                       brush);
}
GpStatus WINGDIPAPI GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors,
                                           const REAL* positions, INT count) {
  return Forward<&GdipSetLinePresetBlend>("GdipSetLinePresetBlend", brush, colors, positions,
                                          count);
}
GpStatus WINGDIPAPI GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
  return Forward<&GdipCloneBrush>("GdipCloneBrush", brush, clone);
}
GpStatus WINGDIPAPI GdipDeleteBrush(GpBrush* brush) {
  return Forward<&GdipDeleteBrush>("GdipDeleteBrush", brush);
}

}  // extern "C"
}  // namespace Gdiplus

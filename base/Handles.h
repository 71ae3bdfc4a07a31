// RAII owners for Windows handles: one template over the call that gives a handle back and the
// value that means "no handle". No raw handle outlives its scope by accident.
#pragma once

#include <windows.h>

#include <utility>

namespace orv {

// invalid is the failure value as a number: 0 (NULL) for most kinds, -1 (INVALID_HANDLE_VALUE)
// for CreateFile, FindFirstFile and Toolhelp snapshots.
template <typename T, auto Close, LONG_PTR invalid = 0>
class UniqueHandle {
 public:
  using Type = T;

  UniqueHandle() noexcept : h_(Invalid()) {}
  explicit UniqueHandle(Type h) noexcept : h_(h) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type Get() const noexcept { return h_; }
  bool Valid() const noexcept { return h_ != Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  // For out-parameters of Windows calls: releases what was held and hands out the slot.
  Type* Put() noexcept {
    Reset();
    return &h_;
  }

  Type Release() noexcept { return std::exchange(h_, Invalid()); }

  void Reset(Type h = Invalid()) noexcept {
    if (h_ != Invalid()) Close(h_);
    h_ = h;
  }

 private:
  static Type Invalid() noexcept { return reinterpret_cast<Type>(invalid); }

  Type h_;
};

using UniqueKey = UniqueHandle<HKEY, &RegCloseKey>;
// Kernel handles whose failure value is NULL (processes, mutexes).
using UniqueHandleNull = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueFile = UniqueHandle<HANDLE, &CloseHandle, -1>;
using UniqueFind = UniqueHandle<HANDLE, &FindClose, -1>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniquePen = UniqueHandle<HPEN, &DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteObject>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteDC>;
using UniqueLibrary = UniqueHandle<HMODULE, &FreeLibrary>;

// Selects a GDI object into a DC for one scope and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window DC obtained with GetDC, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

}  // namespace orv

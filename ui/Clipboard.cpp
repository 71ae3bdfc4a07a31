#include "ui/Clipboard.h"

#include <cstring>

#include "base/CodePage.h"

namespace orv {
namespace {

// A moveable global memory block until the clipboard takes it.
class ClipboardBlock {
 public:
  explicit ClipboardBlock(std::size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~ClipboardBlock() {
    if (memory_) GlobalFree(memory_);
  }
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;

  bool Fill(const void* data, std::size_t bytes) {
    void* target = memory_ ? GlobalLock(memory_) : nullptr;
    if (!target) return false;
    std::memcpy(target, data, bytes);
    GlobalUnlock(memory_);
    return true;
  }
  // Hands the block to the clipboard, which owns it from then on.
  bool Give(UINT format) {
    if (!memory_ || !SetClipboardData(format, memory_)) return false;
    memory_ = nullptr;
    return true;
  }

 private:
  HGLOBAL memory_;
};

struct ClipboardOpen {
  bool open;
  explicit ClipboardOpen(HWND owner) : open(false) {
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
      open = OpenClipboard(owner) != FALSE;
      if (!open) Sleep(10);
    }
  }
  ~ClipboardOpen() {
    if (open) CloseClipboard();
  }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
};

bool Put(UINT format, const void* data, std::size_t bytes) {
  ClipboardBlock block(bytes);
  return block.Fill(data, bytes) && block.Give(format);
}

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::string& text) {
  const std::wstring wide = WideText(text);

  const ClipboardOpen clipboard(owner);
  if (!clipboard.open || !EmptyClipboard()) return false;
  // Both with their terminating nul.
  const bool ansi = Put(CF_TEXT, text.c_str(), text.size() + 1);
  const bool unicode = Put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  return ansi && unicode;
}

}  // namespace orv

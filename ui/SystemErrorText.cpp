#include "ui/SystemErrorText.h"

#include "base/TextRules.h"

namespace orv {

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  text = TrimControl(text);
  while (!text.empty() && (text.back() == '.' || static_cast<unsigned char>(text.back()) <= ' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    char hex[16];
    wsprintfA(hex, "0x%08lX", static_cast<unsigned long>(code));
    text = std::string("error ") + hex;
  }
  return text;
}

}  // namespace orv

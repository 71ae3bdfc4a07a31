#include "sysinfo/RegText.h"

#include "base/TextRules.h"

namespace orv {

std::string RegKeyPathArgument(std::string_view keyPath) {
  if (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  return std::string(keyPath);
}

std::string RegStringData(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0) return std::string();
  return UpToNul(reinterpret_cast<const char*>(data), size);
}

std::string RegTrimmedStringData(const unsigned char* data, std::size_t size) {
  return TrimControl(RegStringData(data, size));
}

std::string RegBinaryDataToPath(const unsigned char* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; data != nullptr && i < size; ++i) {
    if (data[i] >= 32) text.push_back(static_cast<char>(data[i]));
  }
  const std::size_t colon = text.find(":\\");
  if (colon == std::string::npos) return std::string();
  // Keep the one character before the colon, normally the drive letter.
  if (colon >= 1) text.erase(0, colon - 1);
  return text;
}

}  // namespace orv

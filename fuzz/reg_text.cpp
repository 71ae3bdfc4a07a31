// The registry readers' byte rules on any stored data: string data with or without its NUL,
// binary data read as a path, key paths as callers write them.
#include <cstring>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "sysinfo/RegText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = orv::RegStringData(data, size);
  orv::fuzz::Require(text.size() <= size, "string data never grows");
  orv::fuzz::Require(text.find('\0') == std::string::npos, "string data ends at its first NUL");
  orv::fuzz::Require(std::memcmp(text.data(), data, text.size()) == 0, "string data is a prefix");

  const std::string trimmed = orv::RegTrimmedStringData(data, size);
  orv::fuzz::Require(trimmed.size() <= text.size(), "trimming never grows");

  const std::string path = orv::RegBinaryDataToPath(data, size);
  if (!path.empty()) {
    const std::size_t colon = path.find(":\\");
    orv::fuzz::Require(colon <= 1, "a binary path starts at its drive letter");
  }
  const std::string key =
      orv::RegKeyPathArgument(std::string_view(reinterpret_cast<const char*>(data), size));
  orv::fuzz::Require(key.size() + 1 >= size, "at most one leading backslash goes");
  return 0;
}

#include "sysinfo/RegistryKey.h"

#include "sysinfo/RegText.h"

namespace orv {
namespace {

// Names are at most 16383 characters; in a double-byte code page that can take twice the bytes.
constexpr DWORD kLongestNameBytes = 2 * 16384;

// A value may grow between the size query and the read; a few tries cover that race.
constexpr int kReadAttempts = 4;
constexpr DWORD kFirstReadSize = 512;
// Any program may write a value of any size where the pages read; one larger than this reads as
// empty rather than being held whole (no text the pages show comes near it).
constexpr DWORD kLargestValue = 1u << 20;

template <typename EnumFn>
bool EnumName(DWORD lengthHint, std::string& name, EnumFn enumerate) {
  DWORD capacity = lengthHint + 1;
  for (;;) {
    std::vector<char> buffer(capacity + 1, '\0');
    DWORD size = capacity;  // reset on every call: the call overwrites it
    const LONG result = enumerate(buffer.data(), &size);
    if (result == ERROR_SUCCESS) {
      name.assign(buffer.data(), size < capacity ? size : capacity);
      return true;
    }
    // The hint is in characters and the names may have changed since it was taken.
    if (result != ERROR_MORE_DATA || capacity >= kLongestNameBytes) return false;
    capacity = capacity * 2 > kLongestNameBytes ? kLongestNameBytes : capacity * 2;
  }
}

}  // namespace

bool RegistryKey::Open(HKEY root, const std::string& keyPath, REGSAM view) {
  key_.Reset();
  const std::string path = RegKeyPathArgument(keyPath);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) {
    return false;
  }
  key_.Reset(opened);
  return true;
}

bool RegistryKey::QueryCounts(RegKeyCounts& counts) const {
  counts = RegKeyCounts{};
  if (!IsOpen()) return false;
  const LONG result = RegQueryInfoKeyA(key_.Get(), nullptr, nullptr, nullptr, &counts.subKeys,
                                       &counts.maxSubKeyLength, nullptr, &counts.values,
                                       &counts.maxValueNameLength, nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) counts = RegKeyCounts{};
  return result == ERROR_SUCCESS;
}

bool RegistryKey::SubKeyName(DWORD index, DWORD lengthHint, std::string& name) const {
  if (!IsOpen()) return false;
  return EnumName(lengthHint, name, [&](char* buffer, DWORD* size) {
    return RegEnumKeyExA(key_.Get(), index, buffer, size, nullptr, nullptr, nullptr, nullptr);
  });
}

bool RegistryKey::ValueName(DWORD index, DWORD lengthHint, std::string& name) const {
  if (!IsOpen()) return false;
  return EnumName(lengthHint, name, [&](char* buffer, DWORD* size) {
    return RegEnumValueA(key_.Get(), index, buffer, size, nullptr, nullptr, nullptr, nullptr);
  });
}

bool RegistryKey::ReadValue(const std::string& valueName, RegValueData& value) const {
  value = RegValueData{};
  if (!IsOpen()) return false;
  // Most values fit the first buffer, so a read is one call; a longer one says its size.
  DWORD size = kFirstReadSize;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    // One spare NUL beyond the data: a string stored without its terminator still ends.
    value.bytes.assign(static_cast<std::size_t>(size) + 1, 0);
    DWORD read = size;
    const LONG result = RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &value.type,
                                         value.bytes.data(), &read);
    if (result == ERROR_SUCCESS) {
      value.bytes.resize(read < size ? read : size);
      return true;
    }
    if (result != ERROR_MORE_DATA) break;
    if (read > kLargestValue) {
      value.bytes.clear();
      return true;
    }
    size = read;
  }
  value = RegValueData{};
  return false;
}

}  // namespace orv

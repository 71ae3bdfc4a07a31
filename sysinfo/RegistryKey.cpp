#include "sysinfo/RegistryKey.h"

#include <algorithm>
#include <cstring>

#include "sysinfo/RegText.h"

namespace orv {
namespace {

// Names are at most 16383 characters through the registry calls; the native API writes longer.
constexpr DWORD kLongestName = 32768;

// A value may grow between the size query and the read; a few tries cover that race.
constexpr int kReadAttempts = 4;
constexpr DWORD kFirstReadSize = 512;
// Any program may write a value of any size where the pages read; one larger than this reads as
// empty rather than being held whole (no text the pages show comes near it).
constexpr DWORD kLargestValue = 1u << 20;

template <typename EnumFn>
bool EnumName(DWORD lengthHint, RegName& name, EnumFn enumerate) {
  DWORD capacity = lengthHint < kLongestName ? lengthHint + 1 : kLongestName;
  for (;;) {
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    DWORD size = capacity;  // reset on every call: the call overwrites it
    const LONG result = enumerate(buffer.data(), &size);
    if (result == ERROR_SUCCESS) {
      name.exact.assign(buffer.data(), std::min(size, capacity));
      name.text = CodePageText(name.exact);
      return true;
    }
    // The hint may be short of a name written meanwhile.
    if (result != ERROR_MORE_DATA || capacity >= kLongestName) return false;
    capacity = std::min(capacity * 2, kLongestName);
  }
}

// The types whose data the wide calls give as UTF-16.
bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Most values fit the first buffer, so a read is one call; a longer one says its size.
template <typename QueryFn>
bool QueryValue(RegValueData& value, QueryFn query) {
  value = RegValueData{};
  DWORD size = kFirstReadSize;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    // One spare NUL beyond the data: a string stored without its terminator still ends.
    value.bytes.assign(static_cast<std::size_t>(size) + 1, 0);
    DWORD read = size;
    const LONG result = query(&value.type, value.bytes.data(), &read);
    if (result == ERROR_SUCCESS) {
      value.bytes.resize(read < size ? read : size);
      return true;
    }
    if (result != ERROR_MORE_DATA) break;
    // Text takes two bytes a character here, so that the same values stay readable as through
    // the ANSI calls.
    if (read > (IsText(value.type) ? 2 * kLargestValue : kLargestValue)) {
      value.bytes.clear();
      return true;
    }
    size = read;
  }
  value = RegValueData{};
  return false;
}

// String data read through the wide calls, made what the ANSI calls give: the UTF-16 units
// converted to the system code page, an odd last byte dropped.
void ToCodePage(RegValueData& value) {
  if (!IsText(value.type)) return;
  std::wstring wide(value.bytes.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(wide.data(), value.bytes.data(), wide.size() * sizeof(wchar_t));
  const std::string text = NarrowText(wide);
  value.bytes.assign(text.begin(), text.end());
}

}  // namespace

bool RegistryKey::Open(HKEY root, const std::string& keyPath, REGSAM view) {
  key_.Reset();
  const std::string path = RegKeyPathArgument(keyPath);
  HKEY opened = nullptr;
  const bool ok = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &opened) == ERROR_SUCCESS;
  if (ok) key_.Reset(opened);
  return ok;
}

bool RegistryKey::Open(HKEY root, const std::string& keyPath, const std::wstring& subKey,
                       REGSAM view) {
  key_.Reset();
  std::wstring path = WideText(RegKeyPathArgument(keyPath));
  if (!path.empty() && path.back() != L'\\') path.push_back(L'\\');
  path += subKey;
  HKEY opened = nullptr;
  const bool ok = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &opened) == ERROR_SUCCESS;
  if (ok) key_.Reset(opened);
  return ok;
}

bool RegistryKey::QueryCounts(RegKeyCounts& counts) const {
  counts = RegKeyCounts{};
  if (!IsOpen()) return false;
  const LONG result = RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, &counts.subKeys,
                                       &counts.maxSubKeyLength, nullptr, &counts.values,
                                       &counts.maxValueNameLength, nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) counts = RegKeyCounts{};
  return result == ERROR_SUCCESS;
}

bool RegistryKey::SubKeyName(DWORD index, DWORD lengthHint, RegName& name) const {
  if (!IsOpen()) return false;
  return EnumName(lengthHint, name, [&](wchar_t* buffer, DWORD* size) {
    return RegEnumKeyExW(key_.Get(), index, buffer, size, nullptr, nullptr, nullptr, nullptr);
  });
}

bool RegistryKey::ValueName(DWORD index, DWORD lengthHint, RegName& name) const {
  if (!IsOpen()) return false;
  return EnumName(lengthHint, name, [&](wchar_t* buffer, DWORD* size) {
    return RegEnumValueW(key_.Get(), index, buffer, size, nullptr, nullptr, nullptr, nullptr);
  });
}

bool RegistryKey::ReadValue(const std::wstring& valueName, RegValueData& value) const {
  if (!ReadExactValue(valueName, value)) return false;
  ToCodePage(value);
  return true;
}

bool RegistryKey::ReadExactValue(const std::wstring& valueName, RegValueData& value) const {
  value = RegValueData{};
  if (!IsOpen()) return false;
  if (valueName.find(L'\0') != std::wstring::npos) return ReadValueByIndex(valueName, value);
  return QueryValue(value, [&](DWORD* type, BYTE* data, DWORD* size) {
    return RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, type, data, size);
  });
}

bool RegistryKey::ReadValueByIndex(const std::wstring& valueName, RegValueData& value) const {
  RegKeyCounts counts;
  if (!QueryCounts(counts)) return false;
  RegName listed;
  for (DWORD index = 0; index < counts.values; ++index) {
    if (!ValueName(index, counts.maxValueNameLength, listed) || listed.exact != valueName) {
      continue;
    }
    std::vector<wchar_t> name(valueName.size() + 1, L'\0');
    return QueryValue(value, [&](DWORD* type, BYTE* data, DWORD* size) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      const LONG result =
          RegEnumValueW(key_.Get(), index, name.data(), &nameSize, nullptr, type, data, size);
      // A value deleted meanwhile moves the next one to this index: that one is not ours.
      if (result == ERROR_SUCCESS && std::wstring_view(name.data(), nameSize) != valueName) {
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
      }
      return result;
    });
  }
  return false;
}

}  // namespace orv

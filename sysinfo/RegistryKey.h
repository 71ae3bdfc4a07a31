// A registry key opened for reading, closed when the owner goes. The only door to the registry:
// open, query counts, enumerate subkey and value names, read a value. Every read checks
// its sizes, so stored data that is missing its NUL, oversized or changing under us is safe.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/Handles.h"

namespace orv {

struct RegKeyCounts {
  DWORD subKeys = 0;
  DWORD maxSubKeyLength = 0;  // longest subkey name, in characters, without the NUL
  DWORD values = 0;
  DWORD maxValueNameLength = 0;
};

struct RegValueData {
  DWORD type = REG_NONE;
  std::vector<unsigned char> bytes;
};

class RegistryKey {
 public:
  // Opens root\keyPath for reading (KEY_READ plus view, which is 0 for the process's default
  // registry view or KEY_WOW64_64KEY / KEY_WOW64_32KEY). One leading backslash is ignored.
  bool Open(HKEY root, const std::string& keyPath, REGSAM view);
  bool IsOpen() const noexcept { return key_.Valid(); }

  bool QueryCounts(RegKeyCounts& counts) const;
  // Name of the subkey or value at index; false when there is none or it cannot be read.
  bool SubKeyName(DWORD index, DWORD lengthHint, std::string& name) const;
  bool ValueName(DWORD index, DWORD lengthHint, std::string& name) const;
  // Type and data of a value; false when the value does not exist or cannot be read. A value of
  // more than 1 MiB gives its type and no data.
  bool ReadValue(const std::string& valueName, RegValueData& value) const;

 private:
  UniqueKey key_;
};

}  // namespace orv

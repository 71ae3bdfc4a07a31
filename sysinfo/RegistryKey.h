// A registry key opened for reading, closed when the owner goes. The only door to the registry:
// open, query counts, enumerate subkey and value names, read a value. Every read checks
// its sizes, so stored data that is missing its NUL, oversized or changing under us is safe.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/CodePage.h"
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

// A subkey or value name as listed. The ANSI calls turn every character outside the system code
// page into "?", and that text no longer names the entry; so the exact name, as stored, travels
// beside the text that is shown and written.
struct RegName {
  std::string text;    // the system code page's form, as the ANSI calls give it
  std::wstring exact;  // as stored; what opens the subkey or reads the value
};

class RegistryKey {
 public:
  // Opens root\keyPath for reading (KEY_READ plus view, which is 0 for the process's default
  // registry view or KEY_WOW64_64KEY / KEY_WOW64_32KEY). One leading backslash is ignored.
  bool Open(HKEY root, const std::string& keyPath, REGSAM view);
  // Opens the subkey of root\keyPath that enumeration named exactly subKey.
  bool Open(HKEY root, const std::string& keyPath, const std::wstring& subKey, REGSAM view);
  bool IsOpen() const noexcept { return key_.Valid(); }

  bool QueryCounts(RegKeyCounts& counts) const;
  // Name of the subkey or value at index; false when there is none or it cannot be read.
  bool SubKeyName(DWORD index, DWORD lengthHint, RegName& name) const;
  bool ValueName(DWORD index, DWORD lengthHint, RegName& name) const;
  // Type and data of a value, read by its exact name; false when the value does not exist or
  // cannot be read. A value of more than 1 MiB gives its type and no data. String data comes in
  // the system code page, as the read by ANSI name gives it.
  bool ReadValue(const std::wstring& valueName, RegValueData& value) const;
  // The same read by a name in the system code page: the exact name it stands for.
  bool ReadValue(const std::string& valueName, RegValueData& value) const {
    return ReadValue(WideText(valueName), value);
  }
  // The same with string data as stored: UTF-16, every character kept.
  bool ReadExactValue(const std::wstring& valueName, RegValueData& value) const;

 private:
  // A name that holds a NUL cannot be passed to the registry calls; its value is found by
  // enumeration and read at its index.
  bool ReadValueByIndex(const std::wstring& valueName, RegValueData& value) const;

  UniqueKey key_;
};

}  // namespace orv

// The registry readers the pages and the start-up code use. Each call opens its key for reading,
// does one read, closes the key and returns; a key or value that is missing, unreadable or of
// another type gives the empty result (empty text, empty list, 0 or false), never an error.
// The "64" readers and most others look at the 64-bit registry view of 64-bit Windows;
// RegGetValueNames and RegReadStr use the process's default view (the 32-bit view for the 32-bit
// program there).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sysinfo/RegistryKey.h"

namespace orv {

using StringList = std::vector<std::string>;
using RegNameList = std::vector<RegName>;

// Clear list, then append the names of the key's subkeys (or values) in enumeration order, each
// in the system code page's form; return the number of entries.
int RegGetKeyNames(HKEY root, const std::string& keyPath, StringList& list);
int RegGetValueNames(HKEY root, const std::string& keyPath, StringList& list);
int RegGetValueNames64(HKEY root, const std::string& keyPath, StringList& list);
// The same listings for a window's long fills: betweenNames runs after every few names, so that a
// key of thousands of entries does not keep the window from answering while it is listed. Each
// name comes with its exact form, which the reads of that subkey or value then use.
using NamePacer = std::function<void()>;
int RegGetKeyNamesPaced(HKEY root, const std::string& keyPath, RegNameList& list,
                        const NamePacer& betweenNames);
int RegGetValueNamesPaced(HKEY root, const std::string& keyPath, RegNameList& list,
                          const NamePacer& betweenNames);
int RegGetValueNames64Paced(HKEY root, const std::string& keyPath, RegNameList& list,
                            const NamePacer& betweenNames);

// A string or expandable-string value (not expanded), up to its first NUL, trimmed of blanks and
// control characters at both ends.
std::string RegReadStr(HKEY root, const std::string& keyPath, const std::string& valueName);
std::string RegReadStr64(HKEY root, const std::string& keyPath, const std::string& valueName);

// RegReadStr's text as stored, every character kept (a folder path that must still name the
// folder when it holds characters outside the code page).
std::wstring RegReadExactStr(HKEY root, const std::string& keyPath, const std::string& valueName);

// A 32-bit integer value as a signed number; 0 for anything else.
std::int32_t RegReadInt(HKEY root, const std::string& keyPath, const std::string& valueName);

// A 32-bit integer value read as a flag: true when non-zero; false for anything else.
bool RegReadBool(HKEY root, const std::string& keyPath, const std::string& valueName);

// A binary value read as a path from its drive letter on (see RegBinaryDataToPath).
std::string RegReadBinaryPath(HKEY root, const std::string& keyPath, const std::string& valueName);

// Whether the value exists, whatever its type.
bool RegValueExists(HKEY root, const std::string& keyPath, const std::string& valueName);

// One key opened once for several reads of its values, each with exactly the result of
// RegReadStr (RegReadStr64 for the 64-bit view), RegReadBool or RegValueExists on that key (those
// helpers are built on it). A key that does not open reads as empty, false and missing. Each value
// is read from the registry once, whatever is asked of it: a reader is for the moment of one
// entry's reads.
class RegKeyReader {
 public:
  // The key in the process's default registry view, or with view64 in the 64-bit view.
  RegKeyReader(HKEY root, const std::string& keyPath, bool view64);
  // The subkey of keyPath that a listing named subKey, opened by its exact name.
  RegKeyReader(HKEY root, const std::string& keyPath, const RegName& subKey, bool view64);
  std::string ReadStr(const std::string& valueName) const;
  // A value that a listing named, read by its exact name.
  std::string ReadStr(const RegName& valueName) const;
  bool ReadBool(const std::string& valueName) const;
  bool ValueExists(const std::string& valueName) const;

 private:
  struct Read {
    bool found = false;
    RegValueData value;
  };
  const Read& Value(const std::wstring& valueName) const;

  RegistryKey key_;
  mutable std::unordered_map<std::wstring, Read> reads_;
};

class RegKeyReader64 : public RegKeyReader {
 public:
  RegKeyReader64(HKEY root, const std::string& keyPath) : RegKeyReader(root, keyPath, true) {}
  RegKeyReader64(HKEY root, const std::string& keyPath, const RegName& subKey)
      : RegKeyReader(root, keyPath, subKey, true) {}
};

}  // namespace orv

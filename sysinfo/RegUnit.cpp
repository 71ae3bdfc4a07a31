#include "sysinfo/RegUnit.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "sysinfo/RegText.h"
#include "sysinfo/RegistryKey.h"

namespace orv {
namespace {

constexpr REGSAM kDefaultView = 0;
constexpr REGSAM kView64 = KEY_WOW64_64KEY;

enum class NameKind { SubKeys, Values };

// How many names are listed between two calls of the pacer: each name is a round trip to the
// registry, and a few dozen of them take well under a millisecond.
constexpr DWORD kNamesPerPace = 32;

int GetNames(HKEY root, const std::string& keyPath, REGSAM view, NameKind kind, RegNameList& list,
             const NamePacer& betweenNames = nullptr) {
  // Cleared first, so a key that does not open leaves the list empty.
  list.clear();
  RegistryKey key;
  RegKeyCounts counts;
  if (!key.Open(root, keyPath, view) || !key.QueryCounts(counts)) return 0;
  const DWORD count = kind == NameKind::SubKeys ? counts.subKeys : counts.values;
  const DWORD hint = kind == NameKind::SubKeys ? counts.maxSubKeyLength : counts.maxValueNameLength;
  RegName name;
  std::unordered_set<std::wstring> listed;
  for (DWORD index = 0; index < count; ++index) {
    const bool read = kind == NameKind::SubKeys ? key.SubKeyName(index, hint, name)
                                                : key.ValueName(index, hint, name);
    // A name deleted meanwhile is skipped rather than listed as a stale or empty entry. A
    // deletion meanwhile also moves the later names one index down, so a name can come twice;
    // names are unique within a key, so the second time is dropped. Only the exact names are
    // unique: two names may have the same form in the code page, and both are listed.
    if (read && listed.insert(name.exact).second) list.push_back(name);
    if (betweenNames && (index + 1) % kNamesPerPace == 0) betweenNames();
  }
  return static_cast<int>(list.size());
}

// The string rule: a string or expandable string up to its first NUL, trimmed; anything else
// is empty.
std::string StringOf(const RegValueData& value) {
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::string();
  return RegTrimmedStringData(value.bytes.data(), value.bytes.size());
}

// The string rule on data read as stored: UTF-16 up to its first NUL, trimmed likewise.
std::wstring ExactStringOf(const RegValueData& value) {
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::wstring();
  std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
  text.resize(std::min(text.find(L'\0'), text.size()));
  const auto blank = [](wchar_t c) { return c <= L' '; };
  text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
  text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
  return text;
}

// A REG_DWORD of its proper four bytes; anything else (another type, a malformed size) is not an
// integer.
bool DwordOf(const RegValueData& value, std::uint32_t& number) {
  if (value.type != REG_DWORD || value.bytes.size() != sizeof(std::uint32_t)) return false;
  number = static_cast<std::uint32_t>(value.bytes[0]) |
           static_cast<std::uint32_t>(value.bytes[1]) << 8 |
           static_cast<std::uint32_t>(value.bytes[2]) << 16 |
           static_cast<std::uint32_t>(value.bytes[3]) << 24;
  return true;
}

bool ReadDword(const RegistryKey& key, const std::string& valueName, std::uint32_t& number) {
  RegValueData value;
  return key.ReadValue(valueName, value) && DwordOf(value, number);
}

int GetNameTexts(HKEY root, const std::string& keyPath, REGSAM view, NameKind kind,
                 StringList& list) {
  RegNameList names;
  GetNames(root, keyPath, view, kind, names);
  list.clear();
  for (RegName& name : names) list.push_back(std::move(name.text));
  return static_cast<int>(list.size());
}

}  // namespace

int RegGetKeyNames(HKEY root, const std::string& keyPath, StringList& list) {
  return GetNameTexts(root, keyPath, kView64, NameKind::SubKeys, list);
}

int RegGetValueNames(HKEY root, const std::string& keyPath, StringList& list) {
  return GetNameTexts(root, keyPath, kDefaultView, NameKind::Values, list);
}

int RegGetValueNames64(HKEY root, const std::string& keyPath, StringList& list) {
  return GetNameTexts(root, keyPath, kView64, NameKind::Values, list);
}

int RegGetKeyNamesPaced(HKEY root, const std::string& keyPath, RegNameList& list,
                        const NamePacer& betweenNames) {
  return GetNames(root, keyPath, kView64, NameKind::SubKeys, list, betweenNames);
}

int RegGetValueNamesPaced(HKEY root, const std::string& keyPath, RegNameList& list,
                          const NamePacer& betweenNames) {
  return GetNames(root, keyPath, kDefaultView, NameKind::Values, list, betweenNames);
}

int RegGetValueNames64Paced(HKEY root, const std::string& keyPath, RegNameList& list,
                            const NamePacer& betweenNames) {
  return GetNames(root, keyPath, kView64, NameKind::Values, list, betweenNames);
}

std::string RegReadStr(HKEY root, const std::string& keyPath, const std::string& valueName) {
  return RegKeyReader(root, keyPath, false).ReadStr(valueName);
}

std::string RegReadStr64(HKEY root, const std::string& keyPath, const std::string& valueName) {
  return RegKeyReader64(root, keyPath).ReadStr(valueName);
}

std::wstring RegReadExactStr(HKEY root, const std::string& keyPath, const std::string& valueName) {
  RegistryKey key;
  RegValueData value;
  if (!key.Open(root, keyPath, kDefaultView) || !key.ReadExactValue(WideText(valueName), value)) {
    return std::wstring();
  }
  return ExactStringOf(value);
}

std::int32_t RegReadInt(HKEY root, const std::string& keyPath, const std::string& valueName) {
  RegistryKey key;
  std::uint32_t number = 0;
  return key.Open(root, keyPath, kView64) && ReadDword(key, valueName, number)
             ? static_cast<std::int32_t>(number)
             : 0;
}

bool RegReadBool(HKEY root, const std::string& keyPath, const std::string& valueName) {
  return RegKeyReader64(root, keyPath).ReadBool(valueName);
}

std::string RegReadBinaryPath(HKEY root, const std::string& keyPath, const std::string& valueName) {
  RegistryKey key;
  RegValueData value;
  if (!key.Open(root, keyPath, kView64) || !key.ReadValue(valueName, value)) return std::string();
  if (value.type != REG_BINARY) return std::string();
  return RegBinaryDataToPath(value.bytes.data(), value.bytes.size());
}

bool RegValueExists(HKEY root, const std::string& keyPath, const std::string& valueName) {
  return RegKeyReader64(root, keyPath).ValueExists(valueName);
}

RegKeyReader::RegKeyReader(HKEY root, const std::string& keyPath, bool view64) {
  key_.Open(root, keyPath, view64 ? kView64 : kDefaultView);
}

RegKeyReader::RegKeyReader(HKEY root, const std::string& keyPath, const RegName& subKey,
                           bool view64) {
  key_.Open(root, keyPath, subKey.exact, view64 ? kView64 : kDefaultView);
}

const RegKeyReader::Read& RegKeyReader::Value(const std::wstring& valueName) const {
  const auto known = reads_.find(valueName);
  if (known != reads_.end()) return known->second;
  Read& read = reads_[valueName];
  read.found = key_.ReadValue(valueName, read.value);
  return read;
}

std::string RegKeyReader::ReadStr(const std::string& valueName) const {
  const Read& read = Value(WideText(valueName));
  return read.found ? StringOf(read.value) : std::string();
}

std::string RegKeyReader::ReadStr(const RegName& valueName) const {
  const Read& read = Value(valueName.exact);
  return read.found ? StringOf(read.value) : std::string();
}

bool RegKeyReader::ReadBool(const std::string& valueName) const {
  // A value that is not a 32-bit integer (installers write "1" as text) reads as false.
  std::uint32_t number = 0;
  const Read& read = Value(WideText(valueName));
  return read.found && DwordOf(read.value, number) && number != 0;
}

bool RegKeyReader::ValueExists(const std::string& valueName) const {
  return Value(WideText(valueName)).found;
}

}  // namespace orv

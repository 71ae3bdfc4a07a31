// The rules of the Installed programs list that need no window: which uninstall entry is listed,
// the entry string of five fields joined by "|" and its split back into fields, the order of the
// list and the choice of an entry's icon source. Platform-neutral, so the host build tests and
// fuzzes them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orv {

struct ProgramEntry {
  std::string name;       // trimmed "DisplayName"
  std::string publisher;  // trimmed "Publisher"; may be empty
  char root = 'M';        // 'U' for HKEY_CURRENT_USER, 'M' for HKEY_LOCAL_MACHINE
  std::string keyPath;    // uninstall key path (with its backslashes) followed by the subkey name
  std::string command;    // the quiet uninstall command when not empty, else the plain one
};

// The five fields joined by single vertical bars. A "|" inside the name, the publisher or the key
// path is written as the byte 0x01 and "b", and a 0x01 as 0x01 and "a", so that each field comes
// back whole; the command, the last field, is written as it is.
std::string JoinProgramEntry(const ProgramEntry& entry);

// Field 1 up to the first "|", field 2 up to the next, one character for the root letter and
// one for its "|", field 4 up to the next "|", field 5 the whole rest; fields 1, 2 and 4 with
// JoinProgramEntry's escapes undone. Total: a field the text does not reach is empty (the root
// letter then 'M'), whatever the text holds.
ProgramEntry SplitProgramEntry(std::string_view entry);

// The display name of an entry string: its first field.
std::string ProgramEntryName(std::string_view entry);

// The values of one uninstall subkey, each read only when a rule asks for it, with the results of
// the registry helpers: flag = RegReadBool, exists = RegValueExists, text = RegReadStr64.
struct UninstallValues {
  std::function<bool(const std::string&)> flag;
  std::function<bool(const std::string&)> exists;
  std::function<std::string(const std::string&)> text;
};

// The entry string of one uninstall subkey, or nothing when it is not listed: a system component,
// no uninstall value, no display name, a Windows Live part, a name already in listedNames (exact,
// case-sensitive), a hotfix or update release type, a knowledge-base number in the name, or an
// empty command. The rules run in this order and read only what they need.
std::optional<std::string> AcceptUninstallEntry(const UninstallValues& values, char rootLetter,
                                                const std::string& subkeyPath,
                                                const std::unordered_set<std::string>& listedNames);

// Whole entries in ascending order of compare (negative, zero, positive like strcmp); entries that
// compare equal keep their collection order.
using EntryCompareFn = std::function<int(const std::string&, const std::string&)>;
void SortProgramEntries(std::vector<std::string>& entries, const EntryCompareFn& compare);

// Whether an entry's icon is its installer product's: the command starts with "MSIEXEC" in any
// ASCII case and holds a "{".
bool IsMsiProductCommand(std::string_view command);

}  // namespace orv

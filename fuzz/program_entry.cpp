// The uninstall entry string: its split on any text, the join and split round trip, the
// acceptance rules on any values, the order, and the installer-product test.
#include <unordered_set>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "pages/ProgramEntry.h"

namespace {

bool SameEntry(const orv::ProgramEntry& a, const orv::ProgramEntry& b) {
  return a.name == b.name && a.publisher == b.publisher && a.root == b.root &&
         a.keyPath == b.keyPath && a.command == b.command;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string raw = in.ConsumeRandomLengthString(256);
  const orv::ProgramEntry split = orv::SplitProgramEntry(raw);
  orv::fuzz::Require(orv::ProgramEntryName(raw) == split.name, "the name is the first field");

  // Any bytes in any field, bars included: the round trip is exact.
  orv::ProgramEntry entry;
  entry.name = in.ConsumeRandomLengthString(64);
  entry.publisher = in.ConsumeRandomLengthString(64);
  entry.root = in.ConsumeBool() ? 'U' : 'M';
  entry.keyPath = in.ConsumeRandomLengthString(64);
  entry.command = in.ConsumeRandomLengthString(64);
  orv::fuzz::Require(SameEntry(orv::SplitProgramEntry(orv::JoinProgramEntry(entry)), entry),
                     "split undoes join");

  // Values of one subkey as the registry would hand them over, each possibly missing.
  const bool systemComponent = in.ConsumeBool();
  const bool hasPlain = in.ConsumeBool();
  const bool hasQuiet = in.ConsumeBool();
  std::vector<std::string> texts;
  for (int i = 0; i < 5; ++i) texts.push_back(in.ConsumeRandomLengthString(48));
  auto textOf = [&](const std::string& name) -> std::string {
    if (name == "DisplayName") return texts[0];
    if (name == "Publisher") return texts[1];
    if (name == "ReleaseType") return texts[2];
    if (name == "UninstallString") return hasPlain ? texts[3] : "";
    if (name == "QuietUninstallString") return hasQuiet ? texts[4] : "";
    return "";
  };
  orv::UninstallValues values{
      [&](const std::string&) { return systemComponent; },
      [&](const std::string& name) {
        return name == "UninstallString" ? hasPlain : name == "QuietUninstallString" && hasQuiet;
      },
      textOf};
  const std::unordered_set<std::string> listed = {in.ConsumeRandomLengthString(16)};
  const auto accepted = orv::AcceptUninstallEntry(values, 'M', raw, listed);
  if (accepted) {
    orv::fuzz::Require(!systemComponent, "a system component is never listed");
    orv::fuzz::Require(!texts[0].empty(), "a listed entry has a name");
    if (texts[0].find('|') == std::string::npos) {
      orv::fuzz::Require(orv::ProgramEntryName(*accepted) == texts[0],
                         "the listed name is DisplayName");
    }
  }

  std::vector<std::string> entries;
  while (in.remaining_bytes() > 0 && entries.size() < 64) {
    entries.push_back(in.ConsumeRandomLengthString(16));
  }
  orv::SortProgramEntries(entries,
                          [](const std::string& a, const std::string& b) { return a.compare(b); });
  for (std::size_t i = 1; i < entries.size(); ++i) {
    orv::fuzz::Require(entries[i - 1] <= entries[i], "entries are in order");
  }
  orv::IsMsiProductCommand(raw);
  return 0;
}

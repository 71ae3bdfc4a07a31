// A language lookup for tests: the compiled default unless a translation is given, and a record of
// every (section, key) asked, in order; and a chart slice as the user sees it.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "pages/DriveText.h"

namespace orv::test {

class FakeLookup {
 public:
  FakeLookup() = default;
  explicit FakeLookup(std::map<std::pair<std::string, std::string>, std::string> texts)
      : texts_(std::move(texts)) {}

  LookupFn Fn() {
    return [this](const std::string& section, const std::string& key, const std::string& def) {
      asked.push_back(section + "/" + key);
      auto it = texts_.find({section, key});
      return it == texts_.end() ? def : it->second;
    };
  }

  std::vector<std::string> asked;

 private:
  std::map<std::pair<std::string, std::string>, std::string> texts_;
};

// A chart slice (or a drawn chart's point) as "<label> <value> <colour>": green and blue by their
// COLORREF values, any other colour "other".
template <typename Slice>
std::string SliceText(const Slice& slice) {
  char value[32];
  std::snprintf(value, sizeof value, "%g", slice.value);
  return slice.label + " " + value +
         (slice.color == 0x008000   ? " green"
          : slice.color == 0xFF0000 ? " blue"
                                    : " other");
}

}  // namespace orv::test

// What several page tests ask of the system or give the pages in its place: a sorted list, a
// volume's file system with the Drives page's kind and row suffix, a process list.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/WinTestTools.h"

namespace orv::test {

inline std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// The file-system name the volume query gives for a root ("C:\"), or "".
inline std::string VolumeFsName(const std::string& root) {
  char fs[MAX_PATH + 1] = {};
  if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fs, sizeof fs)) {
    return "";
  }
  return fs;
}

// The Drives page's kind and row suffix for a file-system name Windows reports; every other name
// is none of them.
struct KnownFs {
  std::uint8_t kind;
  std::string suffix;
};
inline KnownFs KnownFsNamed(const std::string& fsName) {
  if (fsName == "FAT") return {16, "(FAT16)"};
  if (fsName == "FAT32") return {32, "(FAT32)"};
  if (fsName == "NTFS") return {64, "(NTFS)"};
  return {0, ""};
}

// A process list that lets messages through before each of its lines, as the real one does.
inline std::function<std::vector<std::string>(const std::function<void()>&)> FakeProcesses(
    std::vector<std::string> lines) {
  return [lines](const std::function<void()>& beforeEach) {
    for (std::size_t i = 0; i < lines.size(); ++i) beforeEach();
    return lines;
  };
}

}  // namespace orv::test

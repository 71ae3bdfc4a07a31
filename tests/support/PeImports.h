// The DLLs a Windows program file loads by name when it starts, and the functions it takes from
// each: its import and delay-import directories, read from the file's bytes. Platform-neutral, so
// the host build reads the built programs of both Windows builds.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

class PeFile {
 public:
  explicit PeFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

  static std::optional<PeFile> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return PeFile(std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {}));
  }

  struct Import {
    std::string dll;                     // lower-cased
    std::vector<std::string> functions;  // as written, or "#<ordinal>"
  };

  // The imports in directory order; nothing when the bytes are no PE image or a directory points
  // outside them.
  std::optional<std::vector<Import>> Imports() const {
    const std::optional<std::uint32_t> nt = U32(0x3C);
    if (!nt || U32(*nt) != 0x00004550u) return std::nullopt;  // "PE\0\0"
    const std::optional<std::uint32_t> sections = Bytes(*nt + 6, 2);
    const std::optional<std::uint32_t> optionalSize = Bytes(*nt + 20, 2);
    const std::uint32_t optional = *nt + 24;
    const std::optional<std::uint32_t> magic = Bytes(optional, 2);
    if (!sections || !optionalSize || !magic || (*magic != 0x10B && *magic != 0x20B)) {
      return std::nullopt;
    }
    const Sections table{optional + *optionalSize, *sections};
    const std::uint32_t directories = optional + (*magic == 0x10B ? 96 : 112);
    const std::uint32_t thunkSize = *magic == 0x10B ? 4 : 8;
    std::vector<Import> imports;
    // Index 1: the import directory (20-byte entries, name at 12, name table at 0); index 13: the
    // delay-import directory (32-byte entries, name at 4, name table at 16).
    const struct {
      std::uint32_t index, entrySize, nameOffset, tableOffset;
    } kDirectories[] = {{1, 20, 12, 0}, {13, 32, 4, 16}};
    for (const auto& d : kDirectories) {
      const std::optional<std::uint32_t> rva = U32(directories + 8 * d.index);
      if (!rva) return std::nullopt;
      if (*rva == 0) continue;
      const std::optional<std::uint32_t> start = Offset(table, *rva);
      if (!start) return std::nullopt;
      for (std::uint32_t entry = *start;; entry += d.entrySize) {
        const std::optional<std::uint32_t> nameRva = U32(entry + d.nameOffset);
        if (!nameRva) return std::nullopt;
        if (*nameRva == 0) break;
        const std::optional<std::string> name = Text(table, *nameRva, true);
        const std::optional<std::uint32_t> tableRva = U32(entry + d.tableOffset);
        const std::optional<std::uint32_t> thunks = tableRva ? Offset(table, *tableRva) : tableRva;
        if (!name || !thunks) return std::nullopt;
        Import import{*name, {}};
        // Each entry: the ordinal flag in its top bit, else the address of a 2-byte hint and name.
        for (std::uint64_t thunk = *thunks;; thunk += thunkSize) {
          const auto low = U32(thunk), high = U32(thunk + thunkSize - 4);
          if (!low || !high) return std::nullopt;
          if (*low == 0 && *high == 0) break;
          const std::optional<std::string> function =
              *high >> 31 ? "#" + std::to_string(*low & 0xFFFF) : Text(table, *low + 2, false);
          if (!function) return std::nullopt;
          import.functions.push_back(*function);
        }
        imports.push_back(std::move(import));
      }
    }
    return imports;
  }

 private:
  struct Sections {
    std::uint64_t at;
    std::uint32_t count;
  };

  std::optional<std::uint32_t> Bytes(std::uint64_t at, int count) const {
    if (at + static_cast<std::uint64_t>(count) > bytes_.size()) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes_[at + static_cast<unsigned>(i)];
    return value;
  }
  std::optional<std::uint32_t> U32(std::uint64_t at) const { return Bytes(at, 4); }

  // The file offset of a relative virtual address, through the section that holds it.
  std::optional<std::uint32_t> Offset(const Sections& sections, std::uint32_t rva) const {
    for (std::uint32_t i = 0; i < sections.count; ++i) {
      const std::uint64_t header = sections.at + 40ull * i;
      const auto size = U32(header + 8), address = U32(header + 12), raw = U32(header + 20);
      if (!size || !address || !raw) return std::nullopt;
      if (rva >= *address && rva - *address < *size) return *raw + (rva - *address);
    }
    return std::nullopt;
  }

  std::optional<std::string> Text(const Sections& sections, std::uint32_t rva, bool lower) const {
    const std::optional<std::uint32_t> at = Offset(sections, rva);
    if (!at) return std::nullopt;
    std::string text;
    for (std::size_t i = *at; i < bytes_.size() && bytes_[i] != 0; ++i) {
      const char c = static_cast<char>(bytes_[i]);
      text += lower && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
  }

  std::vector<unsigned char> bytes_;
};

}  // namespace orv::test

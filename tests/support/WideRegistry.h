// Registry entries and files named by exact UTF-16 names, for the tests of names outside the
// system code page: values and keys written in the 64-bit view and removed again, a value name
// holding a NUL written through the native API (as software that hides from registry editors
// does), and the system's own conversion of a name to the code page, which is what the program
// must show.
#pragma once

#include <windows.h>

#include <winternl.h>

#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// The system code page's form of text, as the ANSI calls give it.
inline std::string InCodePage(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

inline std::wstring FromCodePage(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

// Values set and keys made for one test, by exact name in the 64-bit view; every key of a path
// that did not exist is deleted with its subkeys at the end, and in a key that existed only the
// value goes.
class WideSeeds {
 public:
  WideSeeds() = default;
  WideSeeds(const WideSeeds&) = delete;
  WideSeeds& operator=(const WideSeeds&) = delete;
  ~WideSeeds() {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(it->root, it->key.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) ==
          ERROR_SUCCESS) {
        UNICODE_STRING name = Counted(it->name);
        if (auto* remove = Native<DeleteFn>("NtDeleteValueKey")) remove(key, &name);
        RegCloseKey(key);
      }
    }
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) DeleteTree(it->first, it->second);
  }

  // Sets the REG_SZ value name (which may hold a NUL) of root\key to text, making the key;
  // false when it could not be written.
  bool Value(HKEY root, const std::wstring& key, const std::wstring& name,
             const std::wstring& text) {
    HKEY opened = Make(root, key);
    if (!opened) return false;
    auto* set = Native<SetFn>("NtSetValueKey");
    std::wstring data = text;
    data.push_back(L'\0');
    UNICODE_STRING counted = Counted(name);
    const bool ok = set && set(opened, &counted, 0, REG_SZ, data.data(),
                               static_cast<ULONG>(data.size() * sizeof(wchar_t))) >= 0;
    RegCloseKey(opened);
    if (ok) values_.push_back({root, key, name});
    return ok;
  }

  // Makes root\key (deleted at the end with what lies below it if it did not exist).
  bool Key(HKEY root, const std::wstring& key) {
    HKEY opened = Make(root, key);
    if (opened) RegCloseKey(opened);
    return opened != nullptr;
  }

 private:
  using SetFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
  using DeleteFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*);
  struct Seeded {
    HKEY root;
    std::wstring key;
    std::wstring name;
  };

  template <typename Fn>
  static Fn Native(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
  }
  // The native calls only read the name.
  static UNICODE_STRING Counted(const std::wstring& text) {
    const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return UNICODE_STRING{bytes, bytes, const_cast<wchar_t*>(text.data())};
  }

  HKEY Make(HKEY root, const std::wstring& key) {
    // The first part of the path that does not exist yet is this test's to delete.
    for (std::size_t end = 0; end != std::wstring::npos;) {
      end = key.find(L'\\', end + 1);
      const std::wstring part = key.substr(0, end);
      HKEY probe = nullptr;
      if (RegOpenKeyExW(root, part.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &probe) !=
          ERROR_SUCCESS) {
        made_.emplace_back(root, part);
        break;
      }
      RegCloseKey(probe);
    }
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                        &opened, nullptr) != ERROR_SUCCESS) {
      return nullptr;
    }
    return opened;
  }

  static void DeleteTree(HKEY root, const std::wstring& path) {
    const std::size_t cut = path.rfind(L'\\');
    HKEY parent = nullptr;
    if (cut == std::wstring::npos ||
        RegOpenKeyExW(root, path.substr(0, cut).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                      &parent) != ERROR_SUCCESS) {
      return;
    }
    RegDeleteTreeW(parent, path.substr(cut + 1).c_str());
    RegDeleteKeyExW(parent, path.substr(cut + 1).c_str(), KEY_WOW64_64KEY, 0);
    RegCloseKey(parent);
  }

  std::vector<Seeded> values_;
  std::vector<std::pair<HKEY, std::wstring>> made_;
};

}  // namespace orv::test

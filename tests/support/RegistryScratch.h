// Registry keys and values changed for one test and put back as they were when it ends: a value
// gets its old type and data again or goes, a key the test made goes with everything below it, and
// a parent made on the way goes only when nothing else is left in it (another test's key may be).
// Names come in the system code page, as the ANSI calls take them, or exact (UTF-16), for names
// outside the code page; an exact value name may hold a NUL (written through the native API, as
// software that hides from registry editors does).
#pragma once

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "base/Handles.h"

namespace orv::test {

// The bytes the registry stores for a string: the text and its NUL.
inline std::string Sz(const std::string& text) { return text + '\0'; }
inline std::string DwordBytes(DWORD number) {
  return std::string(reinterpret_cast<const char*>(&number), sizeof number);
}

class RegistryScratch {
 public:
  // One key of the scratch, to change several of its values; every change is undone with the
  // scratch that made the key.
  class Key {
   public:
    // The key's path in the code page's form.
    const std::string& Path() const { return path_; }
    bool Made() const { return made_; }
    // name and string data in the system code page, as RegSetValueExA takes them.
    bool Set(const std::string& name, DWORD type, const std::string& bytes) const {
      const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
      return Set(WideText(name), type, text ? Utf16Bytes(WideText(bytes)) : bytes);
    }
    // An exact name and the data as stored (UTF-16 for text).
    bool Set(const std::wstring& name, DWORD type, const std::string& bytes) const {
      return scratch_->SetValue(*this, name, type, bytes);
    }
    bool SetSz(const std::string& name, const std::string& text) const {
      return Set(name, REG_SZ, Sz(text));
    }
    bool SetSz(const std::wstring& name, const std::wstring& text) const {
      return Set(name, REG_SZ, Utf16Bytes(text + L'\0'));
    }
    bool SetDword(const std::string& name, DWORD number) const {
      return Set(name, REG_DWORD, DwordBytes(number));
    }
    // strings holds the strings separated by NULs; the closing double NUL is added here.
    bool SetMultiSz(const std::string& name, const std::string& strings) const {
      return Set(name, REG_MULTI_SZ, strings + '\0' + '\0');
    }
    bool Delete(const std::string& name) const {
      return scratch_->DeleteValue(*this, WideText(name));
    }
    // A value's name and text as the ANSI enumeration lists them: the code page's forms that the
    // system makes of the exact ones (both empty when there is no such value).
    std::pair<std::string, std::string> ListedInCodePage(const std::wstring& exactName) const {
      UniqueKey key;
      if (RegOpenKeyExW(root_, exact_.c_str(), 0, KEY_READ | view_, key.Put()) != ERROR_SUCCESS) {
        return {};
      }
      std::vector<wchar_t> wide(32768);
      std::vector<char> name(65536);
      std::string data(65536, '\0');
      for (DWORD index = 0;; ++index) {
        DWORD wideSize = static_cast<DWORD>(wide.size());
        if (RegEnumValueW(key.Get(), index, wide.data(), &wideSize, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
          return {};
        }
        if (std::wstring_view(wide.data(), wideSize) != exactName) continue;
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        RegEnumValueA(key.Get(), index, name.data(), &nameSize, nullptr, nullptr,
                      reinterpret_cast<BYTE*>(data.data()), &dataSize);
        data.resize(std::min<std::size_t>(dataSize, data.find('\0')));
        return {std::string(name.data(), nameSize), data};
      }
    }
    Key SubKey(const std::string& name) const {
      return scratch_->At(root_, exact_ + L"\\" + WideText(name), view_);
    }

   private:
    friend class RegistryScratch;
    Key(RegistryScratch* scratch, HKEY root, std::wstring exact, REGSAM view, bool made)
        : scratch_(scratch),
          root_(root),
          exact_(std::move(exact)),
          path_(NarrowText(exact_)),
          view_(view),
          made_(made) {}
    static std::string Utf16Bytes(const std::wstring& text) {
      return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
    RegistryScratch* scratch_;
    HKEY root_;
    std::wstring exact_;
    std::string path_;
    REGSAM view_;
    bool made_;
  };

  RegistryScratch() = default;
  RegistryScratch(const RegistryScratch&) = delete;
  RegistryScratch& operator=(const RegistryScratch&) = delete;
  ~RegistryScratch() {
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
      UniqueKey key;
      if (RegOpenKeyExW(it->root, it->key.c_str(), 0, KEY_SET_VALUE | it->view, key.Put()) !=
          ERROR_SUCCESS) {
        continue;
      }
      if (it->existed) {
        WriteValue(key, it->name, it->type, it->old);
      } else {
        RemoveValue(key, it->name);
      }
    }
    for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) {
      RemoveKey(it->root, it->path, it->view, it->whole);
    }
  }

  // A key that exists (or is made) for the test, whose values it changes.
  Key At(HKEY root, const std::string& path, REGSAM view = 0) {
    return At(root, WideText(path), view);
  }
  Key At(HKEY root, const std::wstring& path, REGSAM view = 0) {
    return Key(this, root, path, view, MakeKey(root, path, view));
  }

  // A key of the test's own: whatever an earlier run left there goes first.
  Key Fresh(HKEY root, const std::string& path, REGSAM view = 0) {
    return Fresh(root, WideText(path), view);
  }
  Key Fresh(HKEY root, const std::wstring& path, REGSAM view = 0) {
    RemoveKey(root, path, view, true);
    return At(root, path, view);
  }

 private:
  struct SavedValue {
    HKEY root;
    std::wstring key;
    REGSAM view;
    std::wstring name;
    bool existed;
    DWORD type;
    std::string old;
  };
  struct MadeKey {
    HKEY root;
    std::wstring path;
    REGSAM view;
    bool whole;  // the key asked for; a parent made on the way goes only when empty
  };

  // Values are written and removed through the native calls, which take a counted name: the
  // registry calls end a name at its first NUL.
  template <typename Fn>
  static Fn Native(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
  }
  static UNICODE_STRING Counted(const std::wstring& text) {
    const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return UNICODE_STRING{bytes, bytes, const_cast<wchar_t*>(text.data())};
  }
  static bool WriteValue(const UniqueKey& key, const std::wstring& name, DWORD type,
                         const std::string& bytes) {
    using SetFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
    auto* set = Native<SetFn>("NtSetValueKey");
    UNICODE_STRING counted = Counted(name);
    return set && set(key.Get(), &counted, 0, type, const_cast<char*>(bytes.data()),
                      static_cast<ULONG>(bytes.size())) >= 0;
  }
  static void RemoveValue(const UniqueKey& key, const std::wstring& name) {
    using DeleteFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*);
    UNICODE_STRING counted = Counted(name);
    if (auto* remove = Native<DeleteFn>("NtDeleteValueKey")) remove(key.Get(), &counted);
  }

  static void RemoveKey(HKEY root, const std::wstring& path, REGSAM view, bool whole) {
    const std::size_t cut = path.rfind(L'\\');
    UniqueKey parent;
    if (cut != std::wstring::npos &&
        RegOpenKeyExW(root, path.substr(0, cut).c_str(), 0, KEY_ALL_ACCESS | view, parent.Put()) !=
            ERROR_SUCCESS) {
      return;
    }
    const HKEY from = cut == std::wstring::npos ? root : parent.Get();
    const std::wstring name = cut == std::wstring::npos ? path : path.substr(cut + 1);
    if (whole) RegDeleteTreeW(from, name.c_str());
    RegDeleteKeyExW(from, name.c_str(), view, 0);
  }

  // Makes the key and every missing parent, remembering each one made; whether it could. Each
  // is opened below its parent, since a whole path may be longer than the system takes at once.
  bool MakeKey(HKEY root, const std::wstring& path, REGSAM view) {
    UniqueKey parent;
    for (std::size_t start = 0;;) {
      const std::size_t end = path.find(L'\\', start);
      const std::wstring name = path.substr(start, end == std::wstring::npos ? end : end - start);
      const HKEY from = start == 0 ? root : parent.Get();
      UniqueKey key;
      if (RegOpenKeyExW(from, name.c_str(), 0, KEY_ALL_ACCESS | view, key.Put()) != ERROR_SUCCESS) {
        if (RegCreateKeyExW(from, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                            key.Put(), nullptr) != ERROR_SUCCESS) {
          return false;
        }
        keys_.push_back({root, path.substr(0, end), view, end == std::wstring::npos});
      }
      if (end == std::wstring::npos) return true;
      parent = std::move(key);
      start = end + 1;
    }
  }

  bool SetValue(const Key& at, const std::wstring& name, DWORD type, const std::string& bytes) {
    UniqueKey key;
    if (!Open(at, key)) return false;
    Save(at, key, name);
    return WriteValue(key, name, type, bytes);
  }

  // Whether the value is gone afterwards (also when there was none).
  bool DeleteValue(const Key& at, const std::wstring& name) {
    UniqueKey key;
    if (!Open(at, key)) return false;
    Save(at, key, name);
    RemoveValue(key, name);
    return RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_FILE_NOT_FOUND;
  }

  // The key, made again (and remembered) when the test has removed it meanwhile.
  bool Open(const Key& at, UniqueKey& key) {
    const auto open = [&] {
      return RegOpenKeyExW(at.root_, at.exact_.c_str(), 0, KEY_ALL_ACCESS | at.view_, key.Put()) ==
             ERROR_SUCCESS;
    };
    return open() || (MakeKey(at.root_, at.exact_, at.view_) && open());
  }

  // The value's type and data as stored, to be written back. A name holding a NUL cannot be
  // asked for; only a test writes one, so there is none to keep.
  void Save(const Key& at, const UniqueKey& key, const std::wstring& name) {
    SavedValue saved{at.root_, at.exact_, at.view_, name, false, REG_NONE, {}};
    DWORD size = 0;
    if (name.find(L'\0') == std::wstring::npos &&
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &saved.type, nullptr, &size) ==
            ERROR_SUCCESS) {
      saved.existed = true;
      saved.old.resize(size);
      RegQueryValueExW(key.Get(), name.c_str(), nullptr, &saved.type,
                       reinterpret_cast<BYTE*>(saved.old.data()), &size);
      saved.old.resize(size);
    }
    values_.push_back(std::move(saved));
  }

  std::vector<SavedValue> values_;
  std::vector<MadeKey> keys_;
};

}  // namespace orv::test

// Registry keys and values changed for one test and put back as they were when it ends: a value
// gets its old data again or goes, a key the test made goes with everything below it, and a
// parent made on the way goes only when nothing else is left in it (another test's key may be).
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

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
    const std::string& Path() const { return path_; }
    bool Made() const { return made_; }
    bool Set(const std::string& name, DWORD type, const std::string& bytes) const {
      return scratch_->SetValue(*this, name, type, bytes);
    }
    bool SetSz(const std::string& name, const std::string& text) const {
      return Set(name, REG_SZ, Sz(text));
    }
    bool SetDword(const std::string& name, DWORD number) const {
      return Set(name, REG_DWORD, DwordBytes(number));
    }
    // strings holds the strings separated by NULs; the closing double NUL is added here.
    bool SetMultiSz(const std::string& name, const std::string& strings) const {
      return Set(name, REG_MULTI_SZ, strings + '\0' + '\0');
    }
    bool Delete(const std::string& name) const { return scratch_->DeleteValue(*this, name); }
    Key SubKey(const std::string& name) const {
      return scratch_->At(root_, path_ + "\\" + name, view_);
    }

   private:
    friend class RegistryScratch;
    Key(RegistryScratch* scratch, HKEY root, std::string path, REGSAM view, bool made)
        : scratch_(scratch), root_(root), path_(std::move(path)), view_(view), made_(made) {}
    RegistryScratch* scratch_;
    HKEY root_;
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
      if (RegOpenKeyExA(it->root, it->key.c_str(), 0, KEY_SET_VALUE | it->view, key.Put()) !=
          ERROR_SUCCESS) {
        continue;
      }
      if (it->existed) {
        RegSetValueExA(key.Get(), it->name.c_str(), 0, it->type,
                       reinterpret_cast<const BYTE*>(it->old.data()),
                       static_cast<DWORD>(it->old.size()));
      } else {
        RegDeleteValueA(key.Get(), it->name.c_str());
      }
    }
    for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) {
      RemoveKey(it->root, it->path, it->view, it->whole);
    }
  }

  // A key that exists (or is made) for the test, whose values it changes.
  Key At(HKEY root, const std::string& path, REGSAM view = 0) {
    return Key(this, root, path, view, MakeKey(root, path, view));
  }

  // A key of the test's own: whatever an earlier run left there goes first.
  Key Fresh(HKEY root, const std::string& path, REGSAM view = 0) {
    RemoveKey(root, path, view, true);
    return At(root, path, view);
  }

 private:
  struct SavedValue {
    HKEY root;
    std::string key;
    REGSAM view;
    std::string name;
    bool existed;
    DWORD type;
    std::string old;
  };
  struct MadeKey {
    HKEY root;
    std::string path;
    REGSAM view;
    bool whole;  // the key asked for; a parent made on the way goes only when empty
  };

  static void RemoveKey(HKEY root, const std::string& path, REGSAM view, bool whole) {
    const std::size_t cut = path.rfind('\\');
    UniqueKey parent;
    if (cut != std::string::npos &&
        RegOpenKeyExA(root, path.substr(0, cut).c_str(), 0, KEY_ALL_ACCESS | view, parent.Put()) !=
            ERROR_SUCCESS) {
      return;
    }
    const HKEY from = cut == std::string::npos ? root : parent.Get();
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (whole) RegDeleteTreeA(from, name.c_str());
    RegDeleteKeyExA(from, name.c_str(), view, 0);
  }

  // Makes the key and every missing parent, remembering each one made; whether it could. Each
  // is opened below its parent, since a whole path may be longer than the system takes at once.
  bool MakeKey(HKEY root, const std::string& path, REGSAM view) {
    UniqueKey parent;
    for (std::size_t start = 0;;) {
      const std::size_t end = path.find('\\', start);
      const std::string name = path.substr(start, end == std::string::npos ? end : end - start);
      const HKEY from = start == 0 ? root : parent.Get();
      UniqueKey key;
      if (RegOpenKeyExA(from, name.c_str(), 0, KEY_ALL_ACCESS | view, key.Put()) != ERROR_SUCCESS) {
        if (RegCreateKeyExA(from, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                            key.Put(), nullptr) != ERROR_SUCCESS) {
          return false;
        }
        keys_.push_back({root, path.substr(0, end), view, end == std::string::npos});
      }
      if (end == std::string::npos) return true;
      parent = std::move(key);
      start = end + 1;
    }
  }

  bool SetValue(const Key& at, const std::string& name, DWORD type, const std::string& bytes) {
    UniqueKey key;
    if (!Open(at, key)) return false;
    Save(at, key, name);
    return RegSetValueExA(key.Get(), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  }

  // Whether the value is gone afterwards (also when there was none).
  bool DeleteValue(const Key& at, const std::string& name) {
    UniqueKey key;
    if (!Open(at, key)) return false;
    Save(at, key, name);
    const LONG result = RegDeleteValueA(key.Get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }

  // The key, made again (and remembered) when the test has removed it meanwhile.
  bool Open(const Key& at, UniqueKey& key) {
    const auto open = [&] {
      return RegOpenKeyExA(at.root_, at.path_.c_str(), 0, KEY_ALL_ACCESS | at.view_, key.Put()) ==
             ERROR_SUCCESS;
    };
    return open() || (MakeKey(at.root_, at.path_, at.view_) && open());
  }

  void Save(const Key& at, const UniqueKey& key, const std::string& name) {
    SavedValue saved{at.root_, at.path_, at.view_, name, false, REG_NONE, {}};
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &saved.type, nullptr, &size) ==
        ERROR_SUCCESS) {
      saved.existed = true;
      saved.old.resize(size);
      RegQueryValueExA(key.Get(), name.c_str(), nullptr, &saved.type,
                       reinterpret_cast<BYTE*>(saved.old.data()), &size);
      saved.old.resize(size);
    }
    values_.push_back(std::move(saved));
  }

  std::vector<SavedValue> values_;
  std::vector<MadeKey> keys_;
};

}  // namespace orv::test

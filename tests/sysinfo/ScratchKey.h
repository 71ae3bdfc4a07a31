// A registry key of the test prefix that exists for one test: "Software\OrvendelTest\<name>" under
// HKCU or HKLM in a chosen registry view, deleted (with its subkeys) before it is made and when the
// test ends, so no test depends on another's leftovers.
#pragma once

#include <windows.h>

#include <string>

namespace orv::test {

class ScratchKey {
 public:
  ScratchKey(HKEY root, REGSAM view, const std::string& name)
      : root_(root),
        view_(view),
        relative_("OrvendelTest\\" + name),
        path_("Software\\" + relative_) {
    Delete();
    RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, &key_,
                    nullptr);
  }
  ~ScratchKey() {
    if (key_) RegCloseKey(key_);
    Delete();
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  bool Made() const { return key_ != nullptr; }
  const std::string& Path() const { return path_; }

  void SetRaw(const std::string& value, DWORD type, const char* data, DWORD size) const {
    RegSetValueExA(key_, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(data), size);
  }
  void Set(const std::string& value, DWORD type, const std::string& bytes) const {
    SetRaw(value, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  }
  void SetSz(const std::string& value, const std::string& text) const {
    Set(value, REG_SZ, text + std::string(1, '\0'));
  }
  void SetDword(const std::string& value, DWORD number) const {
    Set(value, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number)));
  }
  void AddSubKey(const std::string& name) const {
    HKEY sub = nullptr;
    if (RegCreateKeyExA(key_, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, &sub,
                        nullptr) == ERROR_SUCCESS) {
      RegCloseKey(sub);
    }
  }

 private:
  void Delete() const {
    HKEY software = nullptr;
    if (RegOpenKeyExA(root_, "Software", 0, KEY_ALL_ACCESS | view_, &software) != ERROR_SUCCESS) {
      return;
    }
    RegDeleteTreeA(software, relative_.c_str());
    RegDeleteKeyExA(software, "OrvendelTest", view_, 0);  // only when no other test's key is left
    RegCloseKey(software);
  }

  HKEY root_;
  REGSAM view_;
  std::string relative_;
  std::string path_;
  HKEY key_ = nullptr;
};

inline std::string CurrentTestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

}  // namespace orv::test

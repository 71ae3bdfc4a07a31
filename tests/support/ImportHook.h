// Replaces one imported function of this test program for the length of a scope, by rewriting the
// program's import address table. The code under test is linked into the program, so its calls of
// a system function go through that table and can be watched without any hook in the program.
#pragma once

#include <windows.h>

#include <cstring>

namespace orv::test {

class ImportHook {
 public:
  // Points every import slot that holds module!function at replacement; Ok() tells whether one
  // was found.
  ImportHook(const char* module, const char* function, void* replacement) {
    HMODULE system = GetModuleHandleA(module);
    original_ = system ? reinterpret_cast<void*>(GetProcAddress(system, function)) : nullptr;
    if (original_) Rewrite(original_, replacement);
  }
  ~ImportHook() {
    for (int i = 0; i < count_; ++i) Write(slots_[i], original_);
  }
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  bool Ok() const { return count_ > 0; }
  void* Original() const { return original_; }

 private:
  void Rewrite(void* from, void* to) {
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name; ++entry) {
      for (auto* slot = reinterpret_cast<void**>(base + entry->FirstThunk); *slot; ++slot) {
        if (*slot != from || count_ == kMaxSlots) continue;
        slots_[count_++] = slot;
        Write(slot, to);
      }
    }
  }

  static void Write(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    std::memcpy(slot, &value, sizeof(void*));
    VirtualProtect(slot, sizeof(void*), old, &old);
  }

  static constexpr int kMaxSlots = 8;
  void* original_ = nullptr;
  void** slots_[kMaxSlots] = {};
  int count_ = 0;
};

}  // namespace orv::test

// The Memory page's process list: one line per running process that can be opened, its
// executable's full path or, when that cannot be read, the file name from the process snapshot; in
// snapshot order, duplicates kept.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {

// The system functions the list needs, looked up at run time (kernel32's Toolhelp functions and
// PSAPI's module functions). A missing function is a null pointer and behaves as a failed call.
struct ProcessFunctions {
  using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
  using ProcessWalkFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
  using EnumModulesFn = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD bytes,
                                      DWORD* bytesNeeded);
  using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE process, HMODULE module, char* name, DWORD size);

  CreateSnapshotFn createSnapshot = nullptr;  // CreateToolhelp32Snapshot
  ProcessWalkFn first = nullptr;              // Process32First
  ProcessWalkFn next = nullptr;               // Process32Next
  EnumModulesFn enumModules = nullptr;        // EnumProcessModules
  ModuleFileNameFn moduleFileName = nullptr;  // GetModuleFileNameExA
};

// The functions of this system, looked up on the first call.
const ProcessFunctions& SystemProcessFunctions();

// The list with the system's functions. beforeEachProcess runs once per snapshot record, before the
// process is opened (the page lets pending window messages be processed there).
std::vector<std::string> ListProcessPaths(const std::function<void()>& beforeEachProcess);

// The same with the given functions.
std::vector<std::string> ListProcessPaths(const ProcessFunctions& functions,
                                          const std::function<void()>& beforeEachProcess);

}  // namespace orv

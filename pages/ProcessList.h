// The Memory page's process list: one line per running process that can be opened, its
// executable's full path or, when that cannot be read, the file name from the process snapshot; in
// snapshot order, duplicates kept. The path is asked of the process's image first, which works for
// a process of the other bitness (a 64-bit one seen from the 32-bit program) and with the limited
// rights a standard user has on other accounts' processes; then of its first module.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {

// The system functions the list needs, looked up at run time (kernel32's Toolhelp and image-name
// functions, PSAPI's module functions). A missing function is a null pointer and behaves as a
// failed call; the image name is missing before Vista.
struct ProcessFunctions {
  using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
  using ProcessWalkFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
  using EnumModulesFn = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD bytes,
                                      DWORD* bytesNeeded);
  using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE process, HMODULE module, char* name, DWORD size);
  using ImageNameFn = BOOL(WINAPI*)(HANDLE process, DWORD flags, char* name, DWORD* size);

  CreateSnapshotFn createSnapshot = nullptr;  // CreateToolhelp32Snapshot
  ProcessWalkFn first = nullptr;              // Process32First
  ProcessWalkFn next = nullptr;               // Process32Next
  EnumModulesFn enumModules = nullptr;        // EnumProcessModules
  ModuleFileNameFn moduleFileName = nullptr;  // GetModuleFileNameExA
  ImageNameFn imageName = nullptr;            // QueryFullProcessImageNameA
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

#include "pages/ProcessList.h"

#include "base/Handles.h"
#include "base/SystemLibrary.h"
#include "base/TextRules.h"

namespace orv {

namespace {

// The record size the snapshot functions check: 296 bytes in the 32-bit program; the 64-bit
// structure is 304 bytes and the functions refuse any other size.
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 8 ? 304 : 296));

ProcessFunctions LookUpSystemFunctions() {
  ProcessFunctions f;
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  f.createSnapshot =
      SystemFunction<ProcessFunctions::CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  f.first = SystemFunction<ProcessFunctions::ProcessWalkFn>(kernel, "Process32First");
  f.next = SystemFunction<ProcessFunctions::ProcessWalkFn>(kernel, "Process32Next");
  f.imageName = SystemFunction<ProcessFunctions::ImageNameFn>(kernel, "QueryFullProcessImageNameA");
  const HMODULE psapi = LoadSystemLibrary("psapi.dll");
  f.enumModules = SystemFunction<ProcessFunctions::EnumModulesFn>(psapi, "EnumProcessModules");
  f.moduleFileName =
      SystemFunction<ProcessFunctions::ModuleFileNameFn>(psapi, "GetModuleFileNameExA");
  return f;
}

// Not in the headers for the XP target this program is built for.
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

// The path of the process's image in the Win32 form; empty when it cannot be read.
std::string ImagePath(const ProcessFunctions& f, HANDLE process) {
  if (!f.imageName) return "";
  std::string name(MAX_PATH, '\0');
  DWORD size = static_cast<DWORD>(name.size());
  if (!f.imageName(process, 0, name.data(), &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return "";
    // A path beyond MAX_PATH: the longest one Windows names.
    name.assign(32768, '\0');
    size = static_cast<DWORD>(name.size());
    if (!f.imageName(process, 0, name.data(), &size)) return "";
  }
  name.resize(size < name.size() ? size : name.size());
  return name;
}

// The executable's path as the process's first module reports it; empty when it cannot be read.
std::string ModulePath(const ProcessFunctions& f, HANDLE process) {
  if (!f.enumModules || !f.moduleFileName) return "";
  HMODULE modules[256] = {};
  DWORD needed = 0;
  if (!f.enumModules(process, modules, sizeof modules, &needed) || !modules[0]) return "";
  char name[260] = {};
  const DWORD length = f.moduleFileName(process, modules[0], name, 256);
  return std::string(name, length < 256 ? length : 256);
}

}  // namespace

const ProcessFunctions& SystemProcessFunctions() {
  static const ProcessFunctions functions = LookUpSystemFunctions();
  return functions;
}

std::vector<std::string> ListProcessPaths(const std::function<void()>& beforeEachProcess) {
  return ListProcessPaths(SystemProcessFunctions(), beforeEachProcess);
}

std::vector<std::string> ListProcessPaths(const ProcessFunctions& f,
                                          const std::function<void()>& beforeEachProcess) {
  std::vector<std::string> lines;
  if (!f.createSnapshot || !f.first || !f.next) return lines;
  HANDLE taken = f.createSnapshot(TH32CS_SNAPPROCESS, 0);
  if (taken == nullptr || taken == INVALID_HANDLE_VALUE) return lines;
  UniqueFile snapshot(taken);

  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = f.first(snapshot.Get(), &entry); more; more = f.next(snapshot.Get(), &entry)) {
    if (beforeEachProcess) beforeEachProcess();
    std::string path;
    UniqueHandleNull limited(OpenProcess(kQueryLimitedInformation, FALSE, entry.th32ProcessID));
    if (limited) path = ImagePath(f, limited.Get());
    if (path.size() < 3) {
      // The least rights that reading the module path needs; without memory-read rights the
      // module path cannot be read, but the process is still listed under its snapshot name.
      UniqueHandleNull process(
          OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
      if (!process)
        process.Reset(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
      if (!process && !limited) continue;
      if (process) path = ModulePath(f, process.Get());
      if (path.size() < 3) path = UpToNul(entry.szExeFile, sizeof entry.szExeFile);
    }
    lines.push_back(std::move(path));
  }
  return lines;
}

}  // namespace orv

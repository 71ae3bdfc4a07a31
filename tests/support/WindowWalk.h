// The window walk of the checks that start the real program in a process of its own: starting it
// from its folder as Explorer does, finding its top-level windows and their children by title,
// text or class, and waiting for a condition. No test framework: the package check uses it too.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

#include "base/Handles.h"

namespace orv::test {

// A window's text, asked with a time limit: the window may belong to a process that hangs.
inline std::string WindowText(HWND window) {
  char text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &length);
  return std::string(text, length);
}

struct TopWindow {
  HWND hwnd;
  std::string title;
  HWND owner;
  bool visible;
};

namespace walk {
// Named WINAPI callbacks: a lambda does not convert to the 32-bit build's stdcall pointer.
struct Search {
  DWORD processId;
  std::vector<TopWindow> found;
};
inline BOOL CALLBACK AddIfOwned(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) {
    search->found.push_back(
        {window, WindowText(window), GetWindow(window, GW_OWNER), IsWindowVisible(window) != 0});
  }
  return TRUE;
}
inline BOOL CALLBACK AddChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}
}  // namespace walk

inline std::vector<TopWindow> TopWindowsOf(DWORD processId) {
  walk::Search search{processId, {}};
  EnumWindows(walk::AddIfOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every child window, at any depth.
inline std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, walk::AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// The first child window (at any depth) with that text, or null.
inline HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND child : ChildrenOf(parent)) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

// The visible top-level window of the process with that title, or null.
inline HWND WindowTitled(DWORD processId, const std::string& title) {
  for (const TopWindow& w : TopWindowsOf(processId)) {
    if (w.visible && w.title == title) return w.hwnd;
  }
  return nullptr;
}

// The visible top-level window of that class in the process, or null.
inline HWND WindowOfClass(DWORD processId, const char* className) {
  for (const TopWindow& w : TopWindowsOf(processId)) {
    char name[64] = {};
    GetClassNameA(w.hwnd, name, sizeof(name));
    if (w.visible && lstrcmpA(name, className) == 0) return w.hwnd;
  }
  return nullptr;
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

inline std::string ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof(name);
  GetComputerNameA(name, &size);
  return name;
}

// A program started from its own folder; ended with what it started when the owner goes.
class StartedProgram {
 public:
  bool Start(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('\\'));
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    std::string commandLine = "\"" + path + "\"";
    started_ = GetTickCount64();
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
      return false;
    }
    process_.Reset(pi.hProcess);
    thread_.Reset(pi.hThread);
    id_ = pi.dwProcessId;
    return true;
  }
  ~StartedProgram() {
    EndChildren();
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 1);
    }
  }
  DWORD Id() const { return id_; }
  HANDLE Process() const { return process_.Get(); }
  ULONGLONG Started() const { return started_; }

  // Waits for the title window "Orvendel" and the visible main window that it owns.
  bool WaitForWindows(HWND& title, HWND& form, DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
          title = form = nullptr;
          const std::vector<TopWindow> windows = TopWindowsOf(id_);
          for (const TopWindow& w : windows) {
            if (w.title == "Orvendel" && !w.owner) title = w.hwnd;
          }
          for (const TopWindow& w : windows) {
            if (title && w.owner == title && w.visible) form = w.hwnd;
          }
          return title && form;
        },
        timeoutMs);
  }

  // Ends the processes the program started (the viewers of the files it opened).
  void EndChildren() const {
    if (!id_) return;
    const UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
      if (entry.th32ParentProcessID != id_) continue;
      const UniqueHandleNull child(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
      if (child) TerminateProcess(child.Get(), 1);
    }
  }

  bool Ended(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.Get(), &exitCode);
    return true;
  }

 private:
  UniqueHandleNull process_;
  UniqueHandleNull thread_;
  DWORD id_ = 0;
  ULONGLONG started_ = 0;
};

}  // namespace orv::test

#include "app/SingleInstance.h"

#include "app/ShellText.h"
#include "base/Handles.h"
#include "base/SystemLibrary.h"
#include "sysinfo/SysInfo.h"

namespace orv {

namespace {

// Asks the running copy to come to the front, when its window is found.
void ForwardToTheRunningCopy() {
  const UINT restore = RegisterWindowMessageA(kRestoreMessageName);
  if (HWND running = FindWindowA(nullptr, kAppTitle)) {
    // Windows lets only the foreground process bring a window forward. This copy was just
    // started by the user, so it holds that right and hands it to the running copy; otherwise
    // the running copy's taskbar button would only flash.
    DWORD runningProcess = 0;
    if (GetWindowThreadProcessId(running, &runningProcess) && runningProcess) {
      AllowSetForegroundWindow(runningProcess);
    }
    PostMessageA(running, restore, kRestoreWParam, 0);
    Sleep(500);
  }
}

}  // namespace

StartOutcome ClaimSingleInstance(Outside& outside) {
  OSVERSIONINFOA version;
  if (QueryVersion(version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
    outside.ShowMessage(GetActiveWindow(), "The program works under XP/Vista/Windows 7/Windows 8!",
                        "Warning", MB_ICONERROR);
    return StartOutcome::Refused;
  }
  // The name has no "Global\" prefix, so another user's copy in another session does not see
  // it. Seeing it takes no more than the right to wait on it, which may be all that a copy
  // started under another account or token grants this one.
  if (UniqueHandleNull(OpenMutexA(SYNCHRONIZE, FALSE, kMutexName))) {
    ForwardToTheRunningCopy();
    return StartOutcome::Forwarded;
  }
  // Two copies started at the same moment can both find no mutex to open; only the one that
  // made it runs. A mutex that exists but is closed to this copy (Run as a different user, or
  // elevated beside a standard copy) marks a running copy too.
  UniqueHandleNull mutex(CreateMutexA(nullptr, FALSE, kMutexName));
  const DWORD error = GetLastError();
  if ((mutex && error == ERROR_ALREADY_EXISTS) || (!mutex && error == ERROR_ACCESS_DENIED)) {
    mutex.Reset();
    ForwardToTheRunningCopy();
    return StartOutcome::Forwarded;
  }
  // Never closed: the mutex marks this copy as the running one until the process ends.
  mutex.Release();
  return StartOutcome::First;
}

void AcceptRestoreRequests(HWND titleWindow) {
  // From Vista on, Windows drops what a process of lower integrity posts unless the receiver lets
  // it through: per window from Windows 7, per process on Vista. XP has neither, nor the need.
  const HMODULE user = GetModuleHandleA("user32.dll");
  const UINT restore = RegisterWindowMessageA(kRestoreMessageName);
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD for the per-process call
  using PerWindowFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using PerProcessFn = BOOL(WINAPI*)(UINT, DWORD);
  if (const auto perWindow = SystemFunction<PerWindowFn>(user, "ChangeWindowMessageFilterEx")) {
    perWindow(titleWindow, restore, kAllow, nullptr);
  } else if (const auto perProcess =
                 SystemFunction<PerProcessFn>(user, "ChangeWindowMessageFilter")) {
    perProcess(restore, kAllow);
  }
}

}  // namespace orv

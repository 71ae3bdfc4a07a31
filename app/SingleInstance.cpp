#include "app/SingleInstance.h"

#include "app/ShellText.h"
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
  // The running copy's handle is never closed: the mutex marks it until the process ends. The
  // name has no "Global\" prefix, so another user's copy in another session does not see it.
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName)) {
    ForwardToTheRunningCopy();
    return StartOutcome::Forwarded;
  }
  // Two copies started at the same moment can both find no mutex to open; only the one that
  // made it runs.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    ForwardToTheRunningCopy();
    return StartOutcome::Forwarded;
  }
  return StartOutcome::First;
}

}  // namespace orv

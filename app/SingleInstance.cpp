#include "app/SingleInstance.h"

#include "app/ShellText.h"
#include "sysinfo/SysInfo.h"

namespace orv {

StartOutcome ClaimSingleInstance(Outside& outside) {
  OSVERSIONINFOA version;
  if (QueryVersion(version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
    outside.ShowMessage(GetActiveWindow(), "The program works under XP/Vista/Windows 7/Windows 8!",
                        "Warning", MB_ICONERROR);
    return StartOutcome::Refused;
  }
  // Neither handle is ever closed: the mutex marks this copy until the process ends. The name
  // has no "Global\" prefix, so another user's copy in another session does not see it.
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName)) {
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
    return StartOutcome::Forwarded;
  }
  CreateMutexA(nullptr, FALSE, kMutexName);
  return StartOutcome::First;
}

}  // namespace orv

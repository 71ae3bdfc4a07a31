// The single-instance rule when two copies start at the same moment.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/ShellText.h"
#include "app/SingleInstance.h"
#include "tests/support/ImportHook.h"
#include "tests/support/RecordingOutside.h"

namespace orv {
namespace {

// The race: this copy looked for the mutex just before the other copy made it.
HANDLE WINAPI OpenFindsNothing(DWORD, BOOL, LPCSTR) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

TEST(SingleInstance, TwoCopiesStartedTogetherOpenOneWindow) {
  // The other copy: its mutex and its title window.
  HANDLE other = CreateMutexA(nullptr, FALSE, kMutexName);
  ASSERT_TRUE(other);
  HWND title = CreateWindowExA(0, "STATIC", kAppTitle, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(title);
  StartOutcome outcome;
  {
    test::ImportHook hook("kernel32.dll", "OpenMutexA", reinterpret_cast<void*>(&OpenFindsNothing));
    ASSERT_TRUE(hook.Ok());
    test::RecordingOutside outside;
    outcome = ClaimSingleInstance(outside);
  }
  EXPECT_EQ(outcome, StartOutcome::Forwarded);
  MSG restore{};
  EXPECT_TRUE(PeekMessageA(&restore, title, RegisterWindowMessageA(kRestoreMessageName),
                           RegisterWindowMessageA(kRestoreMessageName), PM_REMOVE));
  EXPECT_EQ(restore.wParam, kRestoreWParam);
  // This copy does not keep the mutex: once the other copy ends, the next start runs.
  DestroyWindow(title);
  CloseHandle(other);
  HANDLE next = CreateMutexA(nullptr, FALSE, kMutexName);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(next);
}

}  // namespace
}  // namespace orv

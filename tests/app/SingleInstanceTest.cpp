// The single-instance rule: a second start finds the running copy, however its mutex is seen.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <optional>

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

// A mutex closed to this test's user, as a copy's under another account or token is: an empty
// DACL, owned by another account where a test may say so (Wine lets an owner wait), else by
// this user, whom Windows then lets only read and change the DACL.
HANDLE OtherAccountsMutex() {
  for (const char* sddl : {"O:SYD:", "D:"}) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                         &security.lpSecurityDescriptor, nullptr);
    HANDLE mutex = CreateMutexA(&security, FALSE, kMutexName);
    LocalFree(security.lpSecurityDescriptor);
    if (mutex) return mutex;
  }
  return nullptr;
}

TEST(SingleInstance, ASecondCopyAsksTheRunningOneToComeForwardAndEnds) {
  const struct {
    const char* why;
    bool otherAccount;     // the running copy's mutex grants this copy nothing
    bool startedTogether;  // this copy's open came before the other copy's creation
  } cases[] = {
      {"the running copy belongs to another account", true, false},
      {"two copies started together", false, true},
      {"a copy runs", false, false},
  };
  HWND title = CreateWindowExA(0, "STATIC", kAppTitle, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(title);
  const UINT restoreId = RegisterWindowMessageA(kRestoreMessageName);
  for (const auto& c : cases) {
    HANDLE other = c.otherAccount ? OtherAccountsMutex() : CreateMutexA(nullptr, FALSE, kMutexName);
    ASSERT_TRUE(other) << c.why;
    if (c.otherAccount && OpenMutexA(SYNCHRONIZE, FALSE, kMutexName)) {
      GTEST_SKIP() << "this system lets the mutex be opened against its DACL";
    }
    StartOutcome outcome;
    {
      std::optional<test::ImportHook> hook;
      if (c.startedTogether) {
        hook.emplace("kernel32.dll", "OpenMutexA", reinterpret_cast<void*>(&OpenFindsNothing));
        ASSERT_TRUE(hook->Ok());
      }
      test::RecordingOutside outside;
      outcome = ClaimSingleInstance(outside);
    }
    EXPECT_EQ(outcome, StartOutcome::Forwarded) << c.why;
    MSG restore{};
    EXPECT_TRUE(PeekMessageA(&restore, title, restoreId, restoreId, PM_REMOVE)) << c.why;
    EXPECT_EQ(restore.wParam, kRestoreWParam) << c.why;
    // This copy does not keep the mutex: once the other copy ends, the next start runs.
    CloseHandle(other);
    HANDLE next = CreateMutexA(nullptr, FALSE, kMutexName);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << c.why;
    CloseHandle(next);
  }
  DestroyWindow(title);
}

}  // namespace
}  // namespace orv

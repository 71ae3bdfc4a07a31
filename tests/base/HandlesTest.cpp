#include "base/Handles.h"

#include <gtest/gtest.h>

#include "tests/support/HandleProbe.h"

namespace orv {
namespace {

TEST(UniqueHandle, ClosesOnScopeExitAndOnReset) {
  test::HandleProbe probe;
  {
    UniqueHandleNull event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event.Valid());
    EXPECT_FALSE(probe.NothingLeaked());
    event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  }
  EXPECT_TRUE(probe.NothingLeaked());
}

TEST(HandleProbe, SeesAHandleLeftOpenInAnySlot) {
  test::HandleProbe probe;
  HANDLE first = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE second = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(first);  // the lowest free slot is free again, the leak sits above it
  EXPECT_EQ(probe.Leaked(), 1);
  CloseHandle(second);
  EXPECT_TRUE(probe.NothingLeaked());
}

TEST(UniqueHandle, FileHandlesTreatInvalidHandleValueAsEmpty) {
  UniqueFile file(
      CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(file.Valid());
  EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
}

TEST(UniqueHandle, MoveTransfersOwnershipAndClosesOnce) {
  test::HandleProbe probe;
  {
    UniqueKey a;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, a.Put()), ERROR_SUCCESS);
    UniqueKey b(std::move(a));
    EXPECT_FALSE(a.Valid());
    EXPECT_TRUE(b.Valid());
  }
  EXPECT_TRUE(probe.NothingLeaked());
}

}  // namespace
}  // namespace orv

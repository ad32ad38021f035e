#include <gtest/gtest.h>
#include <functional>

#include "Harness.h"

namespace krelmix::e2e {
namespace {

bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  for (DWORD waited = 0; !done(); waited += 100) {
    if (waited >= milliseconds) return false;
    Sleep(100);
  }
  return true;
}

TEST(SingleInstance, SecondCopyRestoresTheMinimisedFirstAndEnds) {
  RunningProgram first("", false);
  first.Start();
  HWND main = first.WaitForWindow(L"TForm1");
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));

  RunningProgram second("", false);  // another folder, the same file name
  second.Start();
  EXPECT_TRUE(second.WaitForExit(15000)) << "the second copy did not end";
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); }, 5000)) << "the first copy stayed minimised";
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(first.Running());
}

}  // namespace
}  // namespace krelmix::e2e

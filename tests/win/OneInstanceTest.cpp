#include <gtest/gtest.h>

#include <memory>

#include "ChildTest.h"
#include "toolkit/OneInstance.h"

namespace krelmix {
namespace {

const wchar_t kApplicationClass[] = L"TApplication";

std::wstring Unique(const wchar_t* what) { return std::wstring(what) + std::to_wstring(GetCurrentProcessId()); }

TEST(OneInstance, MutexIsTheExecutablesFileNameInAsciiUpperCase) {
  EXPECT_EQ(OneInstance::MutexNameFor(L"C:\\Program Files\\Krelmix\\Krelmix.exe"), L"KRELMIX.EXE");
  EXPECT_EQ(OneInstance::MutexNameFor(L"\\\\?\\D:\\tools/krelmix2.exe"), L"KRELMIX2.EXE");
  EXPECT_EQ(OneInstance::MutexNameFor(L"Z:\\Чистка\\чистилка.exe"), L"чистилка.EXE");
  EXPECT_EQ(OneInstance::MutexNameFor(L"krelmix.exe"), L"KRELMIX.EXE");

  OneInstance own;
  EXPECT_FALSE(own.PreviousInstance());
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"WIN_TESTS.EXE");
  EXPECT_NE(mutex, nullptr);
  if (mutex) CloseHandle(mutex);
}

TEST(OneInstance, ASecondProcessSeesThePreviousInstanceUntilItEnds) {
  const std::wstring name = Unique(L"KRELMIX-TEST-");
  auto first = std::make_unique<OneInstance>(name);
  EXPECT_FALSE(first->PreviousInstance());
  {
    test::ChildTest second(L"Helper.DISABLED_ReportsPreviousInstance",
                           {{L"KRELMIX_MUTEX", name}, {L"KRELMIX_EXPECT", L"1"}});
    EXPECT_EQ(second.Wait(15000), 0);
  }
  first.reset();
  test::ChildTest later(L"Helper.DISABLED_ReportsPreviousInstance",
                        {{L"KRELMIX_MUTEX", name}, {L"KRELMIX_EXPECT", L"0"}});
  EXPECT_EQ(later.Wait(15000), 0);
}

TEST(Helper, DISABLED_ReportsPreviousInstance) {
  const std::wstring name = test::Environment(L"KRELMIX_MUTEX");
  ASSERT_FALSE(name.empty());
  OneInstance instance(name);
  EXPECT_EQ(instance.PreviousInstance(), test::Environment(L"KRELMIX_EXPECT") == L"1");
  // Created not owned: any process can take it at once.
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

// An application window and the main window it owns, as the program entry makes them; the
// application window's procedure passes a bring-forward on as the program's does. (Windows are
// shown only where a test needs it: under Wine with no window manager each hide takes 2 s.)
struct Shown {
  bool application = false;
  bool main = false;
};

class RunningCopy {
 public:
  RunningCopy(const std::wstring& title, Shown shown) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = ApplicationProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kApplicationClass;
      RegisterClassExW(&wc);
      wc.lpfnWndProc = DefWindowProcW;
      wc.lpszClassName = L"KrelmixTestMain";
      return RegisterClassExW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    application =
        CreateWindowExW(0, kApplicationClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                        0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    main = CreateWindowExW(0, L"KrelmixTestMain", L"main", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100, 300, 200,
                           application, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(application, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(main));
    if (shown.application) ShowWindow(application, SW_SHOWNA);
    if (shown.main) ShowWindow(main, SW_SHOW);
  }
  ~RunningCopy() {
    DestroyWindow(main);
    DestroyWindow(application);
  }
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  HWND application = nullptr;
  HWND main = nullptr;

 private:
  static LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PassOnBringForward(hwnd, reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)), message, wParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

std::wstring Text(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

TEST(BringForward, RestoresTheMinimisedApplicationWindowFoundByTitleNotItsOwn) {
  const std::wstring title = Unique(L"Krelmix test ");
  RunningCopy running(title, {.application = true});
  ShowWindow(running.application, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(running.application));
  RunningCopy second(title, {});

  BringPreviousInstanceForward(second.application, title);
  EXPECT_EQ(Text(second.application), L"");
  EXPECT_EQ(Text(running.application), title);
  EXPECT_FALSE(IsIconic(running.application));
}

TEST(BringForward, NoRunningCopyFoundDoesNothing) {
  const std::wstring title = Unique(L"Krelmix alone ");
  RunningCopy alone(title, {});
  BringPreviousInstanceForward(alone.application, title);  // finds nothing once its own text is gone
  EXPECT_EQ(Text(alone.application), L"");
  EXPECT_FALSE(IsWindowVisible(alone.application));
}

// The whole path between two processes: the second copy activates the running copy's hidden
// application window, which restores the minimised main window it owns.
TEST(BringForward, ASecondProcessRestoresTheRunningCopysMainWindow) {
  const std::wstring title = Unique(L"Krelmix running ");
  RunningCopy running(title, {.main = true});
  ShowWindow(running.main, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(running.main));
  test::ChildTest second(L"Helper.DISABLED_BringsForward", {{L"KRELMIX_TITLE", title}});
  EXPECT_EQ(second.Wait(15000), 0);
  EXPECT_TRUE(test::PumpUntil([&] { return !IsIconic(running.main); }, 5000)) << "the main window stayed minimised";
  EXPECT_TRUE(IsWindowVisible(running.main));
}

TEST(Helper, DISABLED_BringsForward) {
  const std::wstring title = test::Environment(L"KRELMIX_TITLE");
  ASSERT_FALSE(title.empty());
  RunningCopy own(title, {});
  BringPreviousInstanceForward(own.application, title);
  EXPECT_EQ(Text(own.application), L"");
}

}  // namespace
}  // namespace krelmix

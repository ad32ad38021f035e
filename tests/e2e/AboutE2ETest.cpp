// The About window as the user meets it: opened by "О..." and as the start-up splash, closed by its
// keys, its home-page link as a browser sees it, and its hidden message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

const std::string kNoSplash = "[Options]\r\n0=0\r\n";

bool Shown(HWND window) { return window && IsWindow(window) && IsWindowVisible(window); }

HWND OpenAbout(RunningProgram& program) {
  HWND main = program.MainWindow();
  if (!main) return nullptr;
  program.ClickControl(L"SpeedButton1");
  HWND about = program.WaitForWindow(L"TAboutForm", 10000);
  for (int i = 0; i < 30 && about && GetForegroundWindow() != about; ++i) Sleep(100);
  Sleep(300);
  return about;
}

// A modal box of the program titled "Krelmix", if one shows within the time.
bool HiddenMessageShows(RunningProgram& program, DWORD milliseconds) {
  MessageBoxInfo box = program.WaitForMessageBox(milliseconds);
  if (!box.hwnd) return false;
  const bool right = box.caption == L"Krelmix" && box.text == L"Nosce te ipsum!";
  PressOk(box.hwnd);
  return right;
}

// While it lives, addresses of a scheme go to open_recorder (built beside this test program),
// which appends each one to a file on the scratch drive; the prefix's own handler comes back after.
class RecordedScheme {
 public:
  RecordedScheme(const std::wstring& scheme, const std::wstring& record) : key_(L"Software\\Classes\\" + scheme) {
    key_ += L"\\shell\\open\\command";
    const std::wstring recorder = HelperProgram(L"open_recorder.exe");
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keyHandle_,
                        nullptr) != ERROR_SUCCESS)
      return;
    wchar_t old[1024]{};
    DWORD size = sizeof old;
    hadOld_ =
        RegQueryValueExW(keyHandle_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    old_ = old;
    Set(L"\"" + recorder + L"\" \"" + record + L"\" \"%1\"");
  }
  ~RecordedScheme() {
    if (!keyHandle_) return;
    if (hadOld_)
      Set(old_);
    else
      RegDeleteValueW(keyHandle_, nullptr);
    RegCloseKey(keyHandle_);
  }
  bool Registered() const { return keyHandle_ != nullptr; }

 private:
  void Set(const std::wstring& command) {
    RegSetValueExW(keyHandle_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegFlushKey(keyHandle_);
  }
  std::wstring key_, old_;
  HKEY keyHandle_ = nullptr;
  bool hadOld_ = false;
};

std::string ReadAll(const std::wstring& path) {
  std::string text;
  if (FILE* in = _wfopen(path.c_str(), L"rb")) {
    char buffer[512];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, got);
    fclose(in);
  }
  return text;
}

}  // namespace

TEST(About, ADoubleClickOnTheHomePageOpensItInTheBrowserOnceASingleClickOpensNothing) {
  ClearScratchDrive();
  const std::wstring record = L"T:\\opened.txt";
  RecordedScheme browser(L"https", record);
  ASSERT_TRUE(browser.Registered());
  RunningProgram program(kNoSplash);
  program.Start();
  HWND about = OpenAbout(program);
  ASSERT_NE(about, nullptr);
  const POINT homePage{135 + 62, 155 + 7};
  ClickAt(about, homePage);
  Sleep(1500);
  EXPECT_FALSE(Exists(record)) << "a single click opened " << ReadAll(record);
  Sleep(700);  // apart from the single click, so the next two clicks make a double-click of their own
  DoubleClickAt(about, homePage);
  for (int i = 0; i < 100 && !Exists(record); ++i) Sleep(100);
  Sleep(1500);  // a second opening would have come by now
  EXPECT_EQ(ReadAll(record), "https://krelmix.example.org/\n");
}

TEST(About, OpensCentredWithItsControlsAndClosesOnEscAndEnterButNotCtrlEnter) {
  RunningProgram program(kNoSplash);
  program.Start();
  HWND about = OpenAbout(program);
  ASSERT_NE(about, nullptr);
  RECT r{};
  GetWindowRect(about, &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 205);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
  EXPECT_EQ(FindControl(about, L"SRLabel4").caption, L"Версия 0.08");
  EXPECT_EQ(FindControl(about, L"SRLabel1").caption, L"Релиз 30 декабря 2007 г.");
  EXPECT_EQ(FindControl(about, L"SRLabel2").hint, L"Заходите!");
  EXPECT_EQ(FindControl(about, L"fcShapeBtn1").caption, L"Угу!");
  // The cut corner: outside the outline at (0, 0), inside at (1, 0) and (0, 1).
  HRGN outline = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(about, outline), ERROR);
  EXPECT_FALSE(PtInRegion(outline, 0, 0));
  EXPECT_TRUE(PtInRegion(outline, 1, 0));
  EXPECT_TRUE(PtInRegion(outline, 0, 1));
  EXPECT_FALSE(PtInRegion(outline, 2, 203));
  EXPECT_TRUE(PtInRegion(outline, 3, 203));
  DeleteObject(outline);

  SendKey(VK_CONTROL, false);
  TapKey(VK_RETURN);
  SendKey(VK_CONTROL, true);
  EXPECT_FALSE(GoneWithin(about, 1000)) << "Ctrl+Enter closed the window";
  TapKey(VK_ESCAPE);
  EXPECT_TRUE(GoneWithin(about, 5000)) << "Esc did not close the window";

  about = OpenAbout(program);
  ASSERT_NE(about, nullptr);
  TapKey(VK_RETURN);
  EXPECT_TRUE(GoneWithin(about, 5000)) << "Enter did not close the window";
}

TEST(About, ShiftCtrlAlt1HeldWhileDoubleClickingTheLogoShowsTheHiddenMessage) {
  RunningProgram program(kNoSplash);
  program.Start();
  HWND about = OpenAbout(program);
  ASSERT_NE(about, nullptr);
  const POINT logo{105 + 89, 9 + 35};
  for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, int('1')}) SendKey(static_cast<WORD>(key), false);
  DoubleClickAt(about, logo);
  for (int key : {int('1'), VK_MENU, VK_CONTROL, VK_SHIFT}) SendKey(static_cast<WORD>(key), true);
  EXPECT_TRUE(HiddenMessageShows(program, 5000));
  // Releasing a key before the double-click disarms it.
  Sleep(300);
  for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, int('1')}) SendKey(static_cast<WORD>(key), false);
  SendKey('1', true);
  DoubleClickAt(about, logo);
  for (int key : {VK_MENU, VK_CONTROL, VK_SHIFT}) SendKey(static_cast<WORD>(key), true);
  EXPECT_FALSE(HiddenMessageShows(program, 1500));
  // Without the keys: nothing.
  DoubleClickAt(about, logo);
  EXPECT_FALSE(HiddenMessageShows(program, 1500));
  EXPECT_TRUE(Shown(about));
}

TEST(About, TheSplashComesBeforeTheMainWindowTakesInputUnlessSwitchedOffOrInANightTrashRun) {
  {
    RunningProgram program("", false);
    program.Start();
    HWND splash = program.WaitForWindow(L"TAboutForm", 15000);
    ASSERT_NE(splash, nullptr);
    Sleep(500);
    HWND main = GetWindow(splash, GW_OWNER);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes input under the splash";
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(GoneWithin(splash, 5000));
    for (int i = 0; i < 30 && !IsWindowEnabled(main); ++i) Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(main));
  }
  {
    RunningProgram program(kNoSplash);
    program.Start();
    ASSERT_NE(program.WaitForWindow(L"TForm1"), nullptr);
    EXPECT_EQ(program.WaitForWindow(L"TAboutForm", 3000), nullptr);
  }
  {
    ClearScratchDrive();
    MakeFile(L"T:\\splashtemp\\a.txt");
    RunningProgram program("");  // a settings file with the splash on by default
    program.StartWithTemp(L"/nighttrash", L"T:\\splashtemp");
    bool splash = false;
    for (int i = 0; i < 100 && program.Running(); ++i) {
      splash = splash || program.WaitForWindow(L"TAboutForm", 100) != nullptr;
    }
    EXPECT_FALSE(splash);
    EXPECT_TRUE(program.WaitForExit(30000));
    ClearScratchDrive();
  }
}

}  // namespace krelmix::e2e

// Every deletion can be put back: what /nightfly and "Очистка" delete is kept, and the restore
// window (Ctrl+Z) brings it back, byte for byte and with its times, never over another file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

// A file of its own size and bytes with its own last-write time, as a user's files differ.
struct Made {
  std::wstring path;
  std::string content;
  FILETIME written;
};

Made MakeDistinctFile(const std::wstring& path, int i) {
  Made made{path, std::string(static_cast<size_t>(37 * i + 1), static_cast<char>('a' + i % 26)), {}};
  MakeFolder(path.substr(0, path.rfind(L'\\')));
  std::ofstream(std::filesystem::path(path), std::ios::binary) << made.content;
  ULARGE_INTEGER time;
  time.QuadPart = 132000000000000000ull + static_cast<uint64_t>(i) * 864000000000ull;  // a day apart
  made.written = {time.LowPart, time.HighPart};
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &made.written);
  CloseHandle(file);
  return made;
}

bool WrittenAt(const std::wstring& path, const FILETIME& expected) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
         CompareFileTime(&data.ftLastWriteTime, &expected) == 0;
}

void PressCtrl(WORD key) {
  SendKey(VK_CONTROL, false);
  TapKey(key);
  SendKey(VK_CONTROL, true);
}

// Opens the restore window from the main window with Ctrl+Z.
HWND OpenRestoreWindow(RunningProgram& program) {
  HWND main = program.MainWindow();
  if (!main) return nullptr;
  // The key goes where the display's focus is; on a busy machine it may come late to the window.
  for (DWORD wait : {3000u, 10000u}) {
    SetForegroundWindow(main);
    Sleep(300);
    PressCtrl('Z');
    if (HWND restore = program.WaitForWindow(L"TRestoreForm", wait)) return restore;
  }
  return nullptr;
}

// The files in the keep folders of drive T: (the record among them).
int KeptOnT() {
  std::error_code error;
  int count = 0;
  for (std::filesystem::recursive_directory_iterator it(L"T:\\.KrelmixRestore", error), end; !error && it != end;
       it.increment(error))
    count += it->is_regular_file(error);
  return count;
}

}  // namespace

TEST(Restore, NightFlyKeepsItsFindsAndCtrlZEnterBringsThemBackButNeverOverANewFile) {
  ClearScratchDrive();
  std::vector<Made> made;
  for (int i = 0; i < 50; ++i)
    made.push_back(MakeDistinctFile(L"T:\\r\\d" + std::to_wstring(i % 5) + L"\\f" + std::to_wstring(i) + L".bak", i));
  {
    RunningProgram night(SettingsTickingScratch());
    night.Start(L"/nightfly");
    ASSERT_TRUE(night.WaitForExit(120000));
  }
  for (const Made& file : made) ASSERT_FALSE(Exists(file.path)) << "not deleted";
  // A new file where a find was: it must stay as it is.
  std::ofstream(std::filesystem::path(made[7].path), std::ios::binary) << "new";

  RunningProgram program(SettingsTickingScratch());
  program.Start();
  HWND restore = OpenRestoreWindow(program);
  ASSERT_NE(restore, nullptr);
  const std::vector<std::wstring> runs = ListLines(GetDlgItem(restore, 601));
  ASSERT_FALSE(runs.empty());
  EXPECT_NE(runs[0].find(L"/nightfly"), std::wstring::npos) << testing::PrintToString(runs[0]);
  EXPECT_NE(runs[0].find(L"файлов: 50"), std::wstring::npos) << testing::PrintToString(runs[0]);
  EXPECT_EQ(ListLines(GetDlgItem(restore, 602)).size(), 50u);
  SetForegroundWindow(restore);
  TapKey(VK_RETURN);
  const MessageBoxInfo report = program.WaitForMessageBox();
  ASSERT_NE(report.hwnd, nullptr);
  EXPECT_NE(report.text.find(L"Возвращено файлов: 49 из 50."), std::wstring::npos);
  EXPECT_NE(report.text.find(made[7].path), std::wstring::npos);
  PressOk(report.hwnd);
  for (size_t i = 0; i < made.size(); ++i) {
    if (i == 7) continue;
    EXPECT_EQ(Content(made[i].path), made[i].content) << i;
    EXPECT_TRUE(WrittenAt(made[i].path, made[i].written)) << i;
  }
  EXPECT_EQ(Content(made[7].path), "new");
  // The one that could not come back is still kept.
  EXPECT_NE(ListLines(GetDlgItem(restore, 601))[0].find(L"файлов: 1 "), std::wstring::npos);
  TapKey(VK_ESCAPE);
  EXPECT_TRUE(GoneWithin(restore, 5000));
  ClearScratchDrive();
}

// A run ended by force in the middle of its deletion: every file is in its place or kept with its
// record, and the restore window brings every kept one back.
TEST(Restore, ARunKilledInTheMiddleLosesNoFile) {
  ClearScratchDrive();
  constexpr int kFolders = 20, kPerFolder = 1000;
  for (int d = 0; d < kFolders; ++d) {
    MakeFolder(L"T:\\k\\d" + std::to_wstring(d));
    MakeEmptyFiles(L"T:\\k\\d" + std::to_wstring(d), kPerFolder, ".bak");
  }
  const auto path = [](int d, int f) {
    return L"T:\\k\\d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".bak";
  };
  const auto left = [&] {
    int count = 0;
    for (int d = 0; d < kFolders; ++d)
      for (int f = 0; f < kPerFolder; ++f) count += Exists(path(d, f));
    return count;
  };
  {
    RunningProgram night(SettingsTickingScratch());
    night.Start(L"/nightfly");
    // Ended once the deletion is well under way, a tenth of the files kept (folders are walked
    // in the order the system lists them, so no one file tells).
    for (int waited = 0; waited < 120000 && KeptOnT() < kFolders * kPerFolder / 10; waited += 20) Sleep(20);
    TerminateProcess(night.Process(), 9);
    WaitForSingleObject(night.Process(), 10000);
  }
  const int before = left();
  ASSERT_LT(before, kFolders * kPerFolder) << "the run was ended before it deleted anything";
  ASSERT_GT(before, 0) << "the run was over before it could be ended";
  RunningProgram program(SettingsTickingScratch());
  program.Start();
  HWND restore = OpenRestoreWindow(program);
  ASSERT_NE(restore, nullptr);
  SetForegroundWindow(restore);
  TapKey(VK_RETURN);
  // Every file comes back, so no report is shown; the list of runs is read again when it is over.
  for (int waited = 0; waited < 120000 && left() < kFolders * kPerFolder; waited += 1000) Sleep(1000);
  EXPECT_EQ(left(), kFolders * kPerFolder);
  TapKey(VK_ESCAPE);
  ClearScratchDrive();
}

}  // namespace krelmix::e2e

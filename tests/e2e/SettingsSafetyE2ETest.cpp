// The settings file under what a user's machine does to it: another program holding it for
// moments or for good, and a full drive. It is never taken for a missing file, never written over
// with defaults and never cut.
#include <gtest/gtest.h>

#include "../win/SmallDrive.h"
#include "Harness.h"
#include "Scratch.h"
#include "Watchdog.h"

namespace krelmix::e2e {

namespace {

// A second program holding the file with no sharing: `heldMs` on and `freeMs` off in turn, or
// (heldMs 0) for good, until it is destroyed.
class FileLocker {
 public:
  FileLocker(const std::wstring& file, int heldMs, int freeMs) : stop_(file + L".stop~") {
    DeleteFileW(stop_.c_str());
    std::wstring command = L"\"" + HelperProgram(L"file_locker.exe") + L"\" \"" + file + L"\" " +
                           std::to_wstring(heldMs) + L" " + std::to_wstring(freeMs) + L" \"" + stop_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
      return;
    TrackProgram(process_.hProcess);
    // Held at least once before the test goes on.
    for (int i = 0; i < 100; ++i) {
      HANDLE probe = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
      if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) break;
      if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
      Sleep(heldMs == 0 ? 50 : 2);
    }
  }
  ~FileLocker() {
    if (!process_.hProcess) return;
    CloseHandle(CreateFileW(stop_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    UntrackProgram(process_.hProcess);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    DeleteFileW(stop_.c_str());
  }
  bool Running() const { return process_.hProcess != nullptr; }

 private:
  std::wstring stop_;
  PROCESS_INFORMATION process_{};
};

const std::string kSections =
    "[Options]\r\n0=0\r\n1=1\r\n2=1\r\n"
    "[Kill]\r\n*.old=1\r\n*.bak=0\r\n"
    "[ExcludeDir]\r\nT:\\Keep=1\r\n"
    "[Soundz]\r\ns.wav=0\r\nx.wav=0\r\nt.wav=0\r\nn.wav=0\r\nf.wav=0\r\nk.wav=0\r\n"
    "[UseSoundz]\r\nSubj=0\r\n";

// What the issue lost: the user's excluded folder, the switched-off built-in mask and the user's
// own mask.
std::vector<Canary> LayOutUsersFiles() {
  ClearScratchDrive();
  MakeFile(L"T:\\docs\\old.old");
  return {MakeCanary(L"T:\\Keep\\important.bak"), MakeCanary(L"T:\\docs\\report.bak")};
}
}  // namespace

TEST(SettingsSafety, AFileHeldOnAndOffKeepsEverySectionWhileTheDriveListIsClicked) {
  ClearScratchDrive();
  RunningProgram program("[Area]\r\nT=1\r\n" + kSections);
  program.Start(L"");
  ASSERT_NE(program.MainWindow(), nullptr);
  const int line = program.DriveLineIndex(L'T');
  ASSERT_GE(line, 0);
  {
    FileLocker locker(program.SettingsPath(), 20, 20);
    ASSERT_TRUE(locker.Running());
    for (int click = 0; click < 24; ++click) {
      program.ClickDriveLine(line, true);
      const MessageBoxInfo box = program.WaitForMessageBox(100);
      ASSERT_EQ(box.hwnd, nullptr) << "after click " << click << ": " << test::Utf8(box.text);
    }
  }
  // Every section as it was, and section Area, written last, with the tick the list shows.
  const std::string file = program.SettingsBytes();
  EXPECT_EQ(file.substr(0, kSections.size()), kSections);
  const bool ticked = program.DriveTicks()[static_cast<size_t>(line)];
  EXPECT_NE(file.find(std::string("[Area]\r\n"), kSections.size()), std::string::npos);
  EXPECT_NE(file.find(std::string("\r\nT=") + (ticked ? "1" : "0") + "\r\n", kSections.size()), std::string::npos);
}

TEST(SettingsSafety, ARunThatCannotReadTheFileDeletesNothingAndAWindowedStartSaysWhichFile) {
  const std::vector<Canary> canaries = LayOutUsersFiles();
  const std::string settings = "[Area]\r\nT=1\r\n" + kSections;
  RunningProgram unattended(settings), windowed(settings);
  {
    FileLocker locker(unattended.SettingsPath(), 0, 0), windowedLocker(windowed.SettingsPath(), 0, 0);
    ASSERT_TRUE(locker.Running() && windowedLocker.Running());
    unattended.Start(L"/nightfly");
    ASSERT_TRUE(unattended.WaitForExit(30000));
    EXPECT_TRUE(Exists(L"T:\\docs\\old.old"));

    windowed.Start(L"");
    const MessageBoxInfo box = windowed.WaitForMessageBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, L"Не удалось прочитать файл настроек " + windowed.SettingsPath());
    PressOk(box.hwnd);
    EXPECT_TRUE(windowed.WaitForExit(15000));
  }
  EXPECT_EQ(unattended.SettingsBytes(), settings);
  EXPECT_EQ(windowed.SettingsBytes(), settings);
  // Free again, the same run keeps the user's files and takes the user's garbage.
  RunningProgram later(settings);
  later.Start(L"/nightfly");
  ASSERT_TRUE(later.WaitForExit(30000));
  EXPECT_FALSE(Exists(L"T:\\docs\\old.old"));
  ExpectIntact(canaries);
  RemoveCanaries(canaries);
  ClearScratchDrive();
}

// On a full drive, with the old fixed temporary name blocked by a folder of that name, a save
// that needs more room is refused with the message and the old file stays whole; also when no
// new file at all can be made there, so that the write would have to go in place.
TEST(SettingsSafety, OnAFullDriveASaveIsRefusedAndTheFileStaysWhole) {
  ClearScratchDrive();
  test::SmallDrive drive(L'Q', 16384, 64);  // room for the program's copy (8 MB) and its settings
  if (!drive.Ready()) GTEST_SKIP() << drive.Reason();
  // Section Area first: the tick's write moves it to the end with a key for every drive, so the
  // new file differs from its first byte on and is longer. Two whole pages of the drive, so that
  // any growth needs room the drive no longer has.
  std::string settings = "[Area]\r\nT=0\r\n[Options]\r\n0=0\r\n", masks = "[Kill]\r\n";
  for (int i = 0; i < 400; ++i) masks += "*.k" + std::to_string(i) + "=1\r\n";
  settings += ";" + std::string(8192 - settings.size() - masks.size() - 3, '-') + "\r\n" + masks;
  RunningProgram program(settings, true, drive.Root());
  MakeFolder(program.SettingsPath() + L".new~");
  program.Start(L"");
  ASSERT_NE(program.MainWindow(), nullptr);
  const int line = program.DriveLineIndex(L'T');
  ASSERT_GE(line, 0);
  drive.FillSpace();
  for (int round = 0; round < 2; ++round) {
    if (round == 1) drive.FillEntries();
    program.ClickDriveLine(line, true);
    const MessageBoxInfo box = program.WaitForMessageBox();
    ASSERT_NE(box.hwnd, nullptr) << "round " << round;
    EXPECT_EQ(box.text, L"Unable to write to " + program.SettingsPath());
    PressOk(box.hwnd);
    Sleep(300);
    EXPECT_EQ(program.SettingsBytes(), settings) << "round " << round;
  }
  ClearScratchDrive();
}

}  // namespace krelmix::e2e

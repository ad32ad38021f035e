// Search, delete, clean, stop, the temporary folder and the unattended runs, on the scratch
// drive T: only, through the real window and real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../win/UnixLink.h"
#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {
const std::wstring kFoundReport = L" Итого найдено: 4 ====> Размер: 4 kb ====> Каталогов: 3";

// Root files come first, then each folder's files mask by mask just before the walk enters it;
// the excluded folder and the near-miss names give nothing.
void LayOutTree() {
  ClearScratchDrive();
  MakeFile(L"T:\\r.bak");
  MakeFile(L"T:\\k\\a.bak");
  MakeFile(L"T:\\k\\z.tmp");
  MakeFile(L"T:\\k\\notes.bakup");
  MakeFile(L"T:\\k\\keep.txt");
  MakeFile(L"T:\\k\\sub\\b.tmp");
  MakeFile(L"T:\\k\\ex\\d.bak");
}

const std::vector<std::wstring> kExpectedFinds = {L"T:\\r.bak", L"T:\\k\\a.bak", L"T:\\k\\z.tmp", L"T:\\k\\sub\\b.tmp"};

std::string TreeSettings() { return SettingsTickingScratch("[ExcludeDir]\r\nT:\\k\\ex=1\r\n"); }

HWND StartAndSearch(RunningProgram& program) {
  program.Start(L"");
  HWND main = program.MainWindow();
  if (!main) return nullptr;
  program.ClickControl(L"SpeedButton2");
  WaitUntilIdle(main);
  return main;
}

// Enough folders that a run is still walking when the test acts on it.
constexpr int kFolders = 20000;  // long enough a walk to be stopped by a click, on a fast machine too
// kFolders folders T:\<folder>\f<i>, each holding x.bak of 10 bytes, made by the host, which is
// far quicker at it than a Windows program under Wine.
void LayOutWideTree(const std::string& folder = "w") {
  ClearScratchDrive();
  const std::wstring script = L"T:\\wide.py";
  std::ofstream(std::filesystem::path(script)) << "import os, sys\nfor i in range(" << kFolders << "):\n"
                                               << "    d = os.path.join(sys.argv[1], '" << folder << "', 'f%d' % i)\n"
                                               << "    os.makedirs(d)\n"
                                               << "    open(os.path.join(d, 'x.bak'), 'w').write('0123456789')\n";
  if (!test::RunShell("python3 '" + test::UnixName(script) + "' '" + test::UnixName(L"T:\\") + "'", L"T:\\.wide"))
    ADD_FAILURE() << "the wide tree was not made in time";
  DeleteFileW(script.c_str());
}

// Starts the program and a run by its button; null when the run was over too soon to act on.
HWND StartLongRun(RunningProgram& program, const wchar_t* button) {
  program.Start(L"");
  HWND main = program.MainWindow();
  if (!main) return nullptr;
  program.ClickControl(button);
  Sleep(200);
  if (!FindControl(main, L"SpeedButton4").enabled) return nullptr;
  return main;
}

void DoubleClickFoundLine(RunningProgram& program, int index) {
  HWND list = program.FoundList();
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  // Two real clicks close together make the list's double click.
  POINT p{item.left + 60, (item.top + item.bottom) / 2};
  ClientToScreen(list, &p);
  SetCursorPos(p.x, p.y);
  Sleep(100);
  INPUT input[4] = {};
  for (int i = 0; i < 4; ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dwFlags = (i % 2 == 0) ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, input, sizeof(INPUT));
  Sleep(400);
}
}  // namespace

TEST(Cleanup, SearchListsExactlyTheFindsInWalkOrderTicksThemAndCounts) {
  LayOutTree();
  RunningProgram program(TreeSettings());
  HWND main = StartAndSearch(program);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ListLines(program.FoundList()), kExpectedFinds);
  EXPECT_EQ(ListTicks(program.FoundList()), std::vector<bool>(4, true));
  EXPECT_EQ(FindControl(main, L"Label1").caption, L"Каталогов: 2");
  EXPECT_EQ(FindControl(main, L"Label2").caption, L"Файлов: 4");
  EXPECT_EQ(FindControl(main, L"Panel1").caption, kFoundReport);
  EXPECT_TRUE(FindControl(main, L"SpeedButton3").enabled);  // Delete: there are finds
  EXPECT_FALSE(FindControl(main, L"SpeedButton4").enabled);
  EXPECT_TRUE(Exists(L"T:\\r.bak"));  // a search deletes nothing
  ClearScratchDrive();
}

TEST(Cleanup, DeleteRemovesOnlyTheLinesStillTickedAndMarksThem) {
  LayOutTree();
  RunningProgram program(TreeSettings());
  HWND main = StartAndSearch(program);
  ASSERT_NE(main, nullptr);
  DoubleClickFoundLine(program, 1);  // untick T:\k\a.bak
  ASSERT_EQ(ListTicks(program.FoundList()), (std::vector<bool>{true, false, true, true}));
  program.ClickControl(L"SpeedButton3");
  Sleep(500);
  EXPECT_EQ(ListLines(program.FoundList()),
            (std::vector<std::wstring>{L"T:\\r.bak (Убит!)", L"T:\\k\\a.bak", L"T:\\k\\z.tmp (Убит!)",
                                       L"T:\\k\\sub\\b.tmp (Убит!)"}));
  EXPECT_FALSE(Exists(L"T:\\r.bak"));
  EXPECT_TRUE(Exists(L"T:\\k\\a.bak"));
  EXPECT_FALSE(Exists(L"T:\\k\\sub\\b.tmp"));
  EXPECT_TRUE(Exists(L"T:\\k\\ex\\d.bak"));
  EXPECT_EQ(FindControl(main, L"Panel1").caption, L" Итого очищено: 3 ====> Размер: 3 kb ====> Каталогов: 3");
  EXPECT_FALSE(FindControl(main, L"SpeedButton3").enabled);
  ClearScratchDrive();
}

TEST(Cleanup, CleanDeletesEverythingFoundAndLeavesDeleteDisabled) {
  LayOutTree();
  RunningProgram program(TreeSettings());
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  program.ClickControl(L"SpeedButton5");
  ASSERT_TRUE(WaitUntilIdle(main));
  for (const auto& find : kExpectedFinds) EXPECT_FALSE(Exists(find));
  EXPECT_TRUE(Exists(L"T:\\k\\notes.bakup"));
  EXPECT_TRUE(Exists(L"T:\\k\\keep.txt"));
  EXPECT_TRUE(Exists(L"T:\\k\\ex\\d.bak"));
  EXPECT_EQ(FindControl(main, L"Panel1").caption, L" Итого очищено: 4 ====> Размер: 4 kb ====> Каталогов: 3");
  EXPECT_EQ(ListLines(program.FoundList()).front(), L"T:\\r.bak (Убит!)");
  EXPECT_FALSE(FindControl(main, L"SpeedButton3").enabled);
  EXPECT_TRUE(FindControl(main, L"SpeedButton5").enabled);
  ClearScratchDrive();
}

TEST(Cleanup, StopAskedAndConfirmedEndsTheWalkEarly) {
  LayOutWideTree();
  RunningProgram program(SettingsTickingScratch());
  HWND main = StartLongRun(program, L"SpeedButton2");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(FindControl(main, L"SpeedButton7").enabled);
  program.ClickControl(L"SpeedButton4");
  std::wstring question;
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Подтверждение", L"&Да", &question));
  EXPECT_NE(question.find(L"Неужели вы хотите остановить?"), std::wstring::npos);
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_LT(ListLines(program.FoundList()).size(), static_cast<size_t>(kFolders));
  EXPECT_TRUE(FindControl(main, L"SpeedButton7").enabled);
  ClearScratchDrive();
}

// The window answers while it deletes, with the buttons as during a run: "Стоп" asks, ends the
// deletion between two files, and what was not deleted stays ticked, for Delete to take up again.
TEST(Cleanup, StopDuringADeletionEndsItAndWhatWasNotDeletedStaysTicked) {
  // Enough files that the deletion still runs when the test has clicked twice; made by the host,
  // which is quicker at it than a Windows program under Wine.
  constexpr int kFiles = 10000;
  ClearScratchDrive();
  const std::wstring script = L"T:\\make.py";
  std::ofstream(std::filesystem::path(script)) << "import os, sys\nfor i in range(" << kFiles << "):\n"
                                               << "    d = os.path.join(sys.argv[1], 'd%d' % (i // 1000))\n"
                                               << "    os.makedirs(d, exist_ok=True)\n"
                                               << "    open(os.path.join(d, 'f%d.bak' % i), 'w').close()\n";
  ASSERT_TRUE(
      test::RunShell("python3 '" + test::UnixName(script) + "' '" + test::UnixName(L"T:\\") + "'", L"T:\\.made"));
  RunningProgram program(SettingsTickingScratch());
  HWND main = StartAndSearch(program);
  ASSERT_NE(main, nullptr);
  HWND list = program.FoundList();
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), kFiles);
  program.ClickControl(L"SpeedButton3");
  ASSERT_TRUE(FindControl(main, L"SpeedButton4").enabled) << "the deletion was over too soon to be stopped";
  EXPECT_FALSE(FindControl(main, L"SpeedButton2").enabled);
  program.ClickControl(L"SpeedButton4");
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Подтверждение", L"&Да"));
  ASSERT_TRUE(WaitUntilIdle(main));
  // Marks are made first to last: the lines before the first unmarked one were deleted.
  LRESULT done = 0;
  for (LRESULT high = kFiles; done < high;) {
    const LRESULT middle = (done + high) / 2;
    if (ListLine(list, middle).back() == L')')
      done = middle + 1;
    else
      high = middle;
  }
  EXPECT_GT(done, 0);
  ASSERT_LT(done, kFiles);
  const std::wstring first = ListLine(list, 0);
  EXPECT_FALSE(Exists(first.substr(0, first.size() - std::wstring(L" (Убит!)").size()))) << first;
  for (LRESULT i = done; i < kFiles; i += 499) {
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, i, 0), 1) << i;
    EXPECT_TRUE(Exists(ListLine(list, i))) << i;
  }
  EXPECT_TRUE(FindControl(main, L"SpeedButton3").enabled);
  ClearScratchDrive();
}

TEST(Cleanup, ClosingTheWindowDuringACleanEndsTheWalkAndTheProgramCleanly) {
  LayOutWideTree();
  RunningProgram program(SettingsTickingScratch());
  HWND main = StartLongRun(program, L"SpeedButton5");
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);  // the system's close command, as Alt+X gives it
  ASSERT_TRUE(program.WaitForExit(20000)) << "the program did not end";
  DWORD code = 1;
  GetExitCodeProcess(program.Process(), &code);
  EXPECT_EQ(code, 0u);
  // The walk ended at once and no deletion pass followed: most finds are still there.
  int left = 0;
  for (int i = 0; i < kFolders; ++i) left += Exists(L"T:\\w\\f" + std::to_wstring(i) + L"\\x.bak");
  EXPECT_EQ(left, kFolders);
  ClearScratchDrive();
}

TEST(Cleanup, TmpEmptiesTheTemporaryFolderAndCountsWhatResisted) {
  ClearScratchDrive();
  const std::wstring temp = L"T:\\temp";
  MakeFile(temp + L"\\one.txt", 1000);
  MakeFile(temp + L"\\deep\\two.txt", 2000);
  MakeFile(temp + L"\\held\\locked.txt", 10);
  MakeFolder(temp + L"\\held\\s1");
  MakeFolder(temp + L"\\held\\s2");
  // Held open without delete sharing, so every deletion attempt fails.
  HANDLE locked = CreateFileW((temp + L"\\held\\locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  RunningProgram program(SettingsTickingScratch());
  program.StartWithTemp(L"", temp);
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  program.ClickControl(L"SpeedButton6");
  std::wstring question;
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Информация", L"&Да", &question));
  EXPECT_NE(question.find(L"временной папки T:\\temp\\?"), std::wstring::npos) << "question: " << question.size();
  HWND result = program.WaitForWindow(L"TDirKillerForm2");
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(WindowText(result), L"Результаты очистки");
  EXPECT_EQ(FindControl(result, L"Label4").caption, L"3");     // deep, s1, s2 removed
  EXPECT_EQ(FindControl(result, L"Label5").caption, L"2");     // one.txt, two.txt
  EXPECT_EQ(FindControl(result, L"Label6").caption, L"2 Kb");  // 3000 bytes
  EXPECT_EQ(FindControl(result, L"Label9").caption, L"1");     // held
  EXPECT_EQ(FindControl(result, L"Label10").caption, L"3");    // locked.txt, tried three times
  CloseHandle(locked);
  EXPECT_TRUE(Exists(temp));
  EXPECT_FALSE(Exists(temp + L"\\one.txt"));
  EXPECT_FALSE(Exists(temp + L"\\deep"));
  ASSERT_TRUE(AnswerDialog(program, L"TDirKillerForm2", WindowText(result), L"Удостоверился"));
  for (int i = 0; i < 30 && IsWindow(result) && IsWindowVisible(result); ++i) Sleep(100);
  EXPECT_FALSE(IsWindow(result) && IsWindowVisible(result));
  ClearScratchDrive();
}

// The cleanup pumps messages as a search does: while it runs, "Стоп" is the one command, and it
// ends the cleanup (after the usual question) with the result window showing what went.
TEST(Cleanup, WhileTmpRunsNoOtherCommandStartsAndStopEndsIt) {
  LayOutWideTree("bigtemp");
  const std::wstring temp = L"T:\\bigtemp";
  RunningProgram program(SettingsTickingScratch());
  program.StartWithTemp(L"", temp);
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  program.ClickControl(L"SpeedButton6");
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Информация", L"&Да"));
  for (int i = 0; i < 50 && !FindControl(main, L"SpeedButton4").enabled; ++i) Sleep(100);
  ASSERT_TRUE(FindControl(main, L"SpeedButton4").enabled) << "the cleanup was over before it could be watched";
  for (const wchar_t* button :
       {L"SpeedButton2", L"SpeedButton3", L"SpeedButton5", L"SpeedButton6", L"SpeedButton7", L"SpeedButton8"})
    EXPECT_FALSE(FindControl(main, button).enabled) << test::Utf8(button);
  // The status line is brought on screen with the window's next display update, a quarter second apart.
  const auto showsProgress = [&] { return FindControl(main, L"Panel1").caption.rfind(L" T:\\bigtemp\\f", 0) == 0; };
  for (int i = 0; i < 50 && !showsProgress(); ++i) Sleep(100);
  EXPECT_TRUE(showsProgress()) << "no progress shown: " << test::Utf8(FindControl(main, L"Panel1").caption);
  program.ClickControl(L"SpeedButton2");  // "Поиск"
  program.ClickControl(L"SpeedButton4");  // "Стоп"
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Подтверждение", L"&Да"));
  HWND result = program.WaitForWindow(L"TDirKillerForm2");
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(ListLines(program.FoundList()).empty()) << "a search ran inside the cleanup";
  EXPECT_TRUE(Exists(temp + L"\\f" + std::to_wstring(kFolders - 1))) << "the cleanup was not stopped";
  ASSERT_TRUE(AnswerDialog(program, L"TDirKillerForm2", WindowText(result), L"Удостоверился"));
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_TRUE(FindControl(main, L"SpeedButton6").enabled);
  EXPECT_EQ(FindControl(main, L"Panel1").caption, L"");
  EXPECT_TRUE(ListLines(program.FoundList()).empty());
  ClearScratchDrive();
}

TEST(Cleanup, NightFlyDeletesHundredsOfFindsHonouringExclusionsAndMasks) {
  ClearScratchDrive();
  for (int i = 0; i < 300; ++i)
    MakeFile(L"T:\\n\\d" + std::to_wstring(i % 30) + L"\\f" + std::to_wstring(i) + L".old", 5);
  MakeFile(L"T:\\n\\keep.bak", 5);         // *.bak is not enabled: only *.old is
  MakeFile(L"T:\\n\\x\\excluded.old", 5);  // excluded folder
  RunningProgram program(SettingsTickingScratch("[Kill]\r\n*.old=1\r\n*.bak=0\r\n[ExcludeDir]\r\nT:\\n\\x=1\r\n"));
  program.Start(L"/nightfly");
  ASSERT_TRUE(program.WaitForExit(120000));
  int left = 0;
  for (int i = 0; i < 300; ++i)
    left += Exists(L"T:\\n\\d" + std::to_wstring(i % 30) + L"\\f" + std::to_wstring(i) + L".old");
  EXPECT_EQ(left, 0);
  EXPECT_TRUE(Exists(L"T:\\n\\keep.bak"));
  EXPECT_TRUE(Exists(L"T:\\n\\x\\excluded.old"));
  ClearScratchDrive();
}

TEST(Cleanup, NightTrashEmptiesTheTemporaryFolderButKeepsIt) {
  ClearScratchDrive();
  const std::wstring temp = L"T:\\nighttemp";
  MakeFile(temp + L"\\a.txt");
  MakeFile(temp + L"\\sub\\b.txt");
  RunningProgram program(SettingsTickingScratch());
  program.StartWithTemp(L"/nighttrash", temp);
  ASSERT_TRUE(program.WaitForExit(60000));
  EXPECT_TRUE(Exists(temp));
  EXPECT_FALSE(Exists(temp + L"\\a.txt"));
  EXPECT_FALSE(Exists(temp + L"\\sub"));
  ClearScratchDrive();
}

namespace {
// Finds in folders of their own, so that a run pumps messages between them; returns their paths.
std::vector<std::wstring> LayOutFolderFinds() {
  std::vector<std::wstring> finds;
  for (int i = 0; i < 20; ++i) finds.push_back(L"T:\\e\\d" + std::to_wstring(i) + L"\\x.bak");
  for (const auto& find : finds) MakeFile(find, 10);
  return finds;
}

size_t Left(const std::vector<std::wstring>& files) {
  return static_cast<size_t>(std::count_if(files.begin(), files.end(), [](const auto& f) { return Exists(f); }));
}
}  // namespace

// An end asked for before a run (by the help box, an earlier run, or the rule that a second copy
// ends) waits until every run the command line asks for is over.
TEST(Cleanup, EveryRunTheCommandLineAsksForHappensInOrderBeforeTheEnd) {
  ClearScratchDrive();
  const std::wstring temp = L"T:\\bothtemp";
  MakeFile(temp + L"\\a.txt");
  std::vector<std::wstring> finds = LayOutFolderFinds();
  {
    RunningProgram program(SettingsTickingScratch());
    program.StartWithTemp(L"/nighttrash /nightfly", temp);
    ASSERT_TRUE(program.WaitForExit(60000));
    EXPECT_FALSE(Exists(temp + L"\\a.txt"));
    EXPECT_EQ(Left(finds), 0u) << "/nightfly after /nighttrash";
  }
  finds = LayOutFolderFinds();
  {
    RunningProgram program(SettingsTickingScratch());
    program.Start(L"/? /nightfly");
    const MessageBoxInfo help = program.WaitForMessageBox();
    ASSERT_NE(help.hwnd, nullptr);
    EXPECT_EQ(help.caption, L"Опции командной строки");
    PressOk(help.hwnd);
    ASSERT_TRUE(program.WaitForExit(60000));
    EXPECT_EQ(Left(finds), 0u) << "/nightfly after the help box";
  }
  finds = LayOutFolderFinds();
  RunningProgram first(SettingsTickingScratch());
  first.Start(L"");
  ASSERT_NE(first.MainWindow(), nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  std::wstring command = L"\"" + first.Folder() + L"\\Krelmix.exe\" /nightfly";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, first.Folder().c_str(),
                             &startup, &second));
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0)) << "second copy stayed";
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  EXPECT_EQ(Left(finds), 0u) << "/nightfly in a second copy";
  EXPECT_TRUE(first.Running());
  ClearScratchDrive();
}

TEST(Cleanup, LinkedCanaryFoldersSurviveTheSearchTheCleanAndTheTemporaryFolderCleanup) {
  ClearScratchDrive();
  const std::wstring canaries = L"T:\\canaries";
  MakeFile(canaries + L"\\c1.bak");
  MakeFile(canaries + L"\\c2.tmp");
  MakeFile(canaries + L"\\inner\\c3.bak");
  MakeFile(L"T:\\tree\\g.bak");
  ASSERT_TRUE(MakeFolderLink(L"T:\\tree\\link", canaries));
  const std::wstring temp = L"T:\\linktemp";
  MakeFile(temp + L"\\t.txt");
  ASSERT_TRUE(MakeFolderLink(temp + L"\\link", canaries));
  MakeFolder(L"T:\\emptycanary");
  ASSERT_TRUE(MakeFolderLink(temp + L"\\emptylink", L"T:\\emptycanary"));
  // The canary folder itself is excluded, so only a walk through a link could reach it.
  RunningProgram program(SettingsTickingScratch("[ExcludeDir]\r\nT:\\canaries=1\r\nT:\\emptycanary=1\r\n"));
  program.StartWithTemp(L"", temp);
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  program.ClickControl(L"SpeedButton5");
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_FALSE(Exists(L"T:\\tree\\g.bak"));
  program.ClickControl(L"SpeedButton6");
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Информация", L"&Да"));
  HWND result = program.WaitForWindow(L"TDirKillerForm2");
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(Exists(temp + L"\\t.txt"));
  // Windows removes the link itself; Wine cannot without touching its target, so there it stays.
  EXPECT_TRUE(Exists(canaries));
  EXPECT_TRUE(Exists(L"T:\\emptycanary")) << "an empty folder behind a link was removed";
  for (const wchar_t* canary : {L"\\c1.bak", L"\\c2.tmp", L"\\inner\\c3.bak"})
    EXPECT_TRUE(Exists(canaries + canary)) << "canary lost";
  ClearScratchDrive();
}

// --- Nothing but what was found is ever deleted: canaries outside what should go keep their
// content and attributes whatever the temporary folder, the masks, links or hard links say.

namespace {
const std::wstring kFailed = L" (Ошибка удаления)";
}  // namespace

// In a folder that refuses deletions (made immutable on the host) Wine takes the request and keeps
// the file at the close: the find is marked failed, is not counted, and stays read-only.
TEST(Safety, AFindInAFolderThatRefusesDeletionsIsReportedFailedAndKeepsItsAttributes) {
  ClearScratchDrive();
  MakeFile(L"T:\\gone.bak", 1024);
  MakeFile(L"T:\\locked\\kept.bak", 2048);
  SetFileAttributesW(L"T:\\locked\\kept.bak", FILE_ATTRIBUTE_READONLY);
  const DWORD before = GetFileAttributesW(L"T:\\locked\\kept.bak");
  test::ImmutableFolder locked(L"T:\\locked");
  if (!locked.Made()) GTEST_SKIP() << "the host refuses chattr +i";
  RunningProgram program(SettingsTickingScratch());
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  program.ClickControl(L"SpeedButton5");
  ASSERT_TRUE(WaitUntilIdle(main));
  EXPECT_EQ(ListLines(program.FoundList()),
            (std::vector<std::wstring>{L"T:\\gone.bak (Убит!)", L"T:\\locked\\kept.bak" + kFailed}));
  EXPECT_EQ(FindControl(main, L"Panel1").caption, L" Итого очищено: 1 ====> Размер: 1 kb ====> Каталогов: 2");
  EXPECT_EQ(GetFileAttributesW(L"T:\\locked\\kept.bak"), before);
  locked.Undo();
  ClearScratchDrive();
}

TEST(Safety, EverySpellingOfAProtectedFolderIsRefusedAsTheTemporaryFolder) {
  ClearScratchDrive();
  wchar_t profile[MAX_PATH] = {};
  GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  const std::wstring publicDocs = L"C:\\users\\Public\\Documents";
  std::vector<Canary> canaries = {MakeCanary(L"C:\\windows\\krelmix-canary.txt"),
                                  MakeCanary(std::wstring(profile) + L"\\krelmix-canary.txt"),
                                  MakeCanary(publicDocs + L"\\krelmix-canary.txt", FILE_ATTRIBUTE_READONLY),
                                  MakeCanary(L"C:\\ProgramData\\krelmix-canary.txt"),
                                  MakeCanary(L"C:\\Program Files (x86)\\krelmix-canary.txt"),
                                  MakeCanary(L"C:\\Program Files\\krelmix-canary.txt"),
                                  MakeCanary(L"T:\\behind\\sub\\canary.txt", FILE_ATTRIBUTE_HIDDEN)};
  ASSERT_TRUE(MakeFolderLink(L"T:\\link", L"T:\\behind"));
  const std::wstring spellings[] = {
      L"\\\\?\\C:\\windows", L"\\\\?\\" + std::wstring(profile), L"\\\\?\\" + publicDocs, ShortName(publicDocs),
      L"C:\\windows.",       L"C:\\Program Files (x86)",         L"C:\\ProgramData\\",    L"C:\\Program Files",
      L"T:\\link\\sub",      L"C:\\users\\Public\\..\\",         L"\\\\?\\T:\\"};
  for (const auto& temp : spellings) {
    RunningProgram program(SettingsTickingScratch());
    program.StartWithTemp(L"/nighttrash", temp);
    EXPECT_TRUE(program.WaitForExit(30000)) << test::Utf8(temp);
  }
  // The window says why it refuses.
  RunningProgram program(SettingsTickingScratch());
  program.StartWithTemp(L"", L"\\\\?\\C:\\windows");
  ASSERT_NE(program.MainWindow(), nullptr);
  program.ClickControl(L"SpeedButton6");
  ASSERT_TRUE(AnswerDialog(program, L"#32770", L"Информация", L"&Да"));
  EXPECT_EQ(program.WaitForMessageBox().text, L"Ошибка размещения папки временных файлов!");
  ExpectIntact(canaries);
  RemoveCanaries(canaries);
  ClearScratchDrive();
}

// A temporary folder that holds the program's folder would take the program and its settings.
TEST(Safety, ATemporaryFolderAboveTheProgramsFolderIsRefused) {
  ClearScratchDrive();
  const std::wstring temp = L"T:\\apps";
  MakeFolder(temp);
  const std::vector<Canary> canaries = {MakeCanary(temp + L"\\canary.txt")};
  RunningProgram unattended(SettingsTickingScratch(), true, temp), windowed(SettingsTickingScratch(), true, temp);
  unattended.StartWithTemp(L"/nighttrash", temp);
  ASSERT_TRUE(unattended.WaitForExit(30000));
  windowed.StartWithTemp(L"", temp + L"\\");
  ASSERT_NE(windowed.MainWindow(), nullptr);
  windowed.ClickControl(L"SpeedButton6");
  ASSERT_TRUE(AnswerDialog(windowed, L"#32770", L"Информация", L"&Да"));
  EXPECT_EQ(windowed.WaitForMessageBox().text, L"Ошибка размещения папки временных файлов!");
  ExpectIntact(canaries);
  for (RunningProgram* program : {&unattended, &windowed}) {
    EXPECT_EQ(program->SettingsBytes(), SettingsTickingScratch());
    EXPECT_TRUE(Exists(program->Folder() + L"\\Krelmix.exe"));
  }
  ClearScratchDrive();
}

TEST(Safety, RefusedMasksNeitherWidenNorBringBackTheBuiltInOnes) {
  ClearScratchDrive();
  const std::vector<Canary> canaries = {MakeCanary(L"T:\\m\\a.bak"), MakeCanary(L"T:\\m\\b.tmp"),
                                        MakeCanary(L"T:\\xfile.txt"), MakeCanary(L"T:\\m\\dot.ted")};
  const std::string wide = "x" + std::string(5000, '*');
  RunningProgram program(
      SettingsTickingScratch("[Kill]\r\n*.bak=0\r\n*.tmp=0\r\n*=1\r\n>*=1\r\n<.<=1\r\n\"*=1\r\n" + wide + "=1\r\n"));
  program.Start(L"/nightfly");
  ASSERT_TRUE(program.WaitForExit(60000));
  ExpectIntact(canaries);
  ClearScratchDrive();
}

TEST(Safety, DeleteNeverFollowsASwappedParentFolderOrALinkPutInAFindsPlace) {
  ClearScratchDrive();
  MakeFile(L"T:\\r\\sub\\s1.bak", 10);
  MakeFile(L"T:\\r\\swapped.bak", 10);
  const std::vector<Canary> canaries = {MakeCanary(L"T:\\c\\s1.bak", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                                        MakeCanary(L"T:\\keep\\target.txt", FILE_ATTRIBUTE_READONLY)};
  RunningProgram program(SettingsTickingScratch("[ExcludeDir]\r\nT:\\c=1\r\nT:\\keep=1\r\n"));
  HWND main = StartAndSearch(program);
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(ListLines(program.FoundList()), (std::vector<std::wstring>{L"T:\\r\\swapped.bak", L"T:\\r\\sub\\s1.bak"}));
  ASSERT_TRUE(MoveFileW(L"T:\\r\\sub", L"T:\\r\\old"));
  ASSERT_TRUE(MakeFolderLink(L"T:\\r\\sub", L"T:\\c"));
  ASSERT_TRUE(DeleteFileW(L"T:\\r\\swapped.bak"));
  ASSERT_TRUE(MakeFileLink(L"T:\\r\\swapped.bak", L"T:\\keep\\target.txt"));
  program.ClickControl(L"SpeedButton3");
  Sleep(500);
  EXPECT_EQ(ListLines(program.FoundList()),
            (std::vector<std::wstring>{L"T:\\r\\swapped.bak" + kFailed, L"T:\\r\\sub\\s1.bak" + kFailed}));
  ExpectIntact(canaries);
  RemoveCanaries(canaries);
  ClearScratchDrive();
}

TEST(Safety, FileLinksAndWhatTheyPointToAreLeftAlone) {
  ClearScratchDrive();
  const std::vector<Canary> canaries = {MakeCanary(L"T:\\tree\\canary.txt", FILE_ATTRIBUTE_READONLY),
                                        MakeCanary(L"T:\\outside\\temp-canary.txt", FILE_ATTRIBUTE_HIDDEN)};
  MakeFile(L"T:\\tree\\real.bak", 10);
  ASSERT_TRUE(MakeFileLink(L"T:\\tree\\flink.bak", L"T:\\tree\\canary.txt"));
  const std::wstring temp = L"T:\\linktemp";
  MakeFile(temp + L"\\t.txt");
  ASSERT_TRUE(MakeFileLink(temp + L"\\flink.txt", L"T:\\outside\\temp-canary.txt"));
  RunningProgram clean(SettingsTickingScratch("[ExcludeDir]\r\nT:\\outside=1\r\n"));
  clean.Start(L"");
  HWND main = clean.MainWindow();
  ASSERT_NE(main, nullptr);
  clean.ClickControl(L"SpeedButton5");
  ASSERT_TRUE(WaitUntilIdle(main));
  std::vector<std::wstring> lines = ListLines(clean.FoundList());
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"T:\\tree\\flink.bak" + kFailed, L"T:\\tree\\real.bak (Убит!)"}));
  RunningProgram trash(SettingsTickingScratch());
  trash.StartWithTemp(L"/nighttrash", temp);
  ASSERT_TRUE(trash.WaitForExit(60000));
  EXPECT_FALSE(Exists(temp + L"\\t.txt"));
  ExpectIntact(canaries);
  RemoveCanaries(canaries);
  ClearScratchDrive();
}

TEST(Safety, DeletingOneNameOfAHardLinkedFileLeavesTheOtherNamesAttributes) {
  ClearScratchDrive();
  const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const std::vector<Canary> canaries = {MakeCanary(L"T:\\keep\\other.txt", kept),
                                        MakeCanary(L"T:\\keep\\third.txt", kept)};
  MakeFolder(L"T:\\h");
  MakeFolder(L"T:\\hardtemp");
  ASSERT_TRUE(CreateHardLinkW(L"T:\\h\\one.bak", L"T:\\keep\\other.txt", nullptr));
  ASSERT_TRUE(CreateHardLinkW(L"T:\\hardtemp\\two.txt", L"T:\\keep\\third.txt", nullptr));
  RunningProgram fly(SettingsTickingScratch("[ExcludeDir]\r\nT:\\keep=1\r\n"));
  fly.Start(L"/nightfly");
  ASSERT_TRUE(fly.WaitForExit(60000));
  RunningProgram trash(SettingsTickingScratch());
  trash.StartWithTemp(L"/nighttrash", L"T:\\hardtemp");
  ASSERT_TRUE(trash.WaitForExit(60000));
  EXPECT_FALSE(Exists(L"T:\\h\\one.bak"));
  EXPECT_FALSE(Exists(L"T:\\hardtemp\\two.txt"));
  ExpectIntact(canaries);
  RemoveCanaries(canaries);
  ClearScratchDrive();
}

}  // namespace krelmix::e2e

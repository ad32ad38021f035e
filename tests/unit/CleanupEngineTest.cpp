#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeStorage.h"
#include "MemoryFileSystem.h"
#include "RecordingView.h"
#include "cleanup/CleanupEngine.h"

namespace krelmix {
namespace {

using Lines = std::vector<std::wstring>;

using test::FakeClock;

class Engine : public ::testing::Test {
 protected:
  Engine() {
    state.ExeDir = L"P:\\Krelmix\\";
    view.Watch(engine.Finds());
  }

  void Settings(const std::wstring& section, const Lines& keys, const wchar_t* value = L"1") {
    settings.Update([&](IniDocument& d) {
      for (const auto& key : keys) d.Write(section, key, value);
    });
  }
  static DriveTicks Drives(const Lines& roots) { return {false, roots}; }

  test::MemoryFileSystem fs;
  test::RecordingView view;
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile settings{storage, codec, L"P:\\Krelmix\\Krelmix.ini"};
  FakeClock clock;
  ProgramState state;
  CleanupEngine engine{state, fs, view, settings, clock};
};

// --- Masks and exclusions from the settings file

TEST_F(Engine, WithoutEnabledMasksTheBuiltInOnesAreUsedInOrder) {
  Settings(L"Kill", {L"*.old"}, L"0");
  fs.AddFile(L"T:\\a.tmp");
  fs.AddFile(L"T:\\b.bak");
  fs.AddFile(L"T:\\c.old");
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(state.MaskList, (Lines{L"*.bak", L"*.tmp"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\b.bak", L"T:\\a.tmp"}));
}

TEST_F(Engine, OnlyEnabledUsableMasksAreUsedAndLongOnesAreRefusedNotCut) {
  Settings(L"Kill", {L"*.old", L"*.*", L"*.EXE", L"*.Sys", L"*", L"..\\*.old", L"C:*.old", L">*", L"<.<", L"\"*",
                     L"x" + std::wstring(5000, L'*'), L"*." + std::wstring(254, L'x')});
  Settings(L"Kill", {L"*.bak"}, L"0");
  engine.LoadKillMasks();
  EXPECT_EQ(state.MaskList, (Lines{L"*.old"}));
}

TEST_F(Engine, WhenEveryEnabledMaskIsRefusedNothingIsFoundNotTheBuiltInMasks) {
  Settings(L"Kill", {L"*.bak", L"*.tmp"}, L"0");
  Settings(L"Kill", {L"*", L">*", L"x" + std::wstring(300, L'*')});
  fs.AddFile(L"T:\\a.bak");
  fs.AddFile(L"T:\\b.tmp");
  fs.AddFile(L"T:\\xfile.txt");
  engine.CleanClick(Drives({L"T:"}));
  engine.NightFly(Drives({L"T:"}));
  EXPECT_EQ(engine.Finds().Count(), 0u);
  EXPECT_EQ(fs.FileCount(), 3u);
}

TEST_F(Engine, UnusableMasksPutIntoTheListByHandAreNeverUsed) {
  fs.AddFile(L"T:\\keep.txt");
  fs.AddFile(L"T:\\x.old");
  state.MaskList = {L"*.*", L"*.old"};
  engine.SearchDir(L"T:");
  engine.FindGarbageFiles(L"T:", L"*");
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\x.old"}));
}

TEST_F(Engine, FollowReportAndExclusionsComeFromTheFile) {
  EXPECT_TRUE(storage.files.empty());
  state.FollowReport = false;
  engine.LoadKillMasks();
  EXPECT_TRUE(state.FollowReport);  // missing file: on
  Settings(L"Options", {L"1"}, L"0");
  Settings(L"ExcludeDir", {L"T:\\One", L"T:\\Two"});
  Settings(L"ExcludeDir", {L"T:\\Off"}, L"0");
  engine.LoadExcludeDirs();
  EXPECT_FALSE(state.FollowReport);
  EXPECT_EQ(state.ExcludeList, (Lines{L"T:\\One", L"T:\\Two"}));
}

// --- The walk

class Walk : public Engine {
 protected:
  Walk() {
    Settings(L"Kill", {L"*.tmp", L"~*.tmp"});
    fs.AddFile(L"T:\\~root.tmp", 10);
    fs.AddFolder(L"T:\\A");
    fs.AddFile(L"T:\\A\\one.tmp", 20);
    fs.AddFolder(L"T:\\A\\B");
    fs.AddFile(L"T:\\A\\B\\two.tmp", 30);
    fs.AddFolder(L"T:\\A\\.cache");
    fs.AddFile(L"T:\\A\\.cache\\hidden.tmp");
    fs.AddFolder(L"T:\\C");
    fs.AddFile(L"T:\\C\\three.tmp", 40);
  }
};

TEST_F(Walk, FilesAreListedMaskByMaskBeforeDescendingAndFoldersShownAfterTheirSubtree) {
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(),
            (Lines{L"T:\\~root.tmp", L"T:\\~root.tmp", L"T:\\A\\one.tmp", L"T:\\A\\B\\two.tmp", L"T:\\C\\three.tmp"}));
  EXPECT_EQ(view.Logged(L"status: "), (Lines{L" T:\\A\\B", L" T:\\A", L" T:\\C", L"",
                                             L" Итого найдено: 5 ====> Размер: 0 kb ====> Каталогов: 4"}));
  EXPECT_EQ(view.Logged(L"folders: "), (Lines{L"Каталогов:", L"Каталогов: 1", L"Каталогов: 2", L"Каталогов: 3"}));
  EXPECT_EQ(state.FoundFiles, 5u);
  EXPECT_EQ(state.FoundBytes, 110u);
  EXPECT_EQ(view.Ticks(), std::vector<bool>(5, true));
  EXPECT_EQ(view.sounds, std::vector<SoundEvent>{SoundEvent::evFound});
  EXPECT_TRUE(view.driveListEnabled);
  EXPECT_TRUE(view.Enabled(MainButton::Delete));
  EXPECT_FALSE(view.Enabled(MainButton::Stop));
}

TEST_F(Walk, EachFolderIsListedOnceForAllMasks) {
  engine.SearchClick(Drives({L"T:"}));
  for (const auto* dir : {L"T:", L"T:\\A", L"T:\\A\\B", L"T:\\C"}) EXPECT_EQ(fs.lists[dir], 1) << dir;
  EXPECT_EQ(fs.lists.count(L"T:\\A\\.CACHE"), 0u);
}

TEST_F(Walk, MessagesArePumpedOncePerFolderAndMaskAndAtEverySubfolderEntry) {
  engine.SearchClick(Drives({L"T:"}));
  // Root 2 masks; A, B, C each: the entry plus 2 masks; .cache is passed over before pumping.
  EXPECT_EQ(view.pumps, 2 + 3 * 3);
  const auto& log = view.log;
  const auto firstAppend = std::find(log.begin(), log.end(), L"append: T:\\~root.tmp");
  EXPECT_EQ(*(firstAppend - 2), L"pump");  // the mask's pump, then the file counter
}

TEST_F(Walk, FollowReportMakesEveryFindCurrentUnlessOff) {
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Logged(L"current: ").size(), 5u);
  view.log.clear();
  Settings(L"Options", {L"1"}, L"0");
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_TRUE(view.Logged(L"current: ").empty());
}

// An exclusion names one folder however it is spelled: letter case, a trailing separator, '/'.
// It is a whole path, never a prefix, and a drive root is never compared.
TEST_F(Walk, ExclusionsMatchWholePathsAsWindowsComparesThemAndNeverTheRoot) {
  fs.AddFolder(L"T:\\C2");
  fs.AddFile(L"T:\\C2\\four.tmp");
  fs.AddFolder(L"T:\\Время");
  fs.AddFile(L"T:\\Время\\five.tmp");
  Settings(L"ExcludeDir", {L"t:\\a\\b\\", L"T:/c", L"T:\\ВРЕМЯ", L"T:", L"T:\\"});
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\~root.tmp", L"T:\\~root.tmp", L"T:\\A\\one.tmp", L"T:\\C2\\four.tmp"}));
  EXPECT_EQ(state.DirCount, 2u);
  EXPECT_EQ(state.ExcludeList[0], L"t:\\a\\b\\");  // kept as typed
}

TEST_F(Walk, TheSearchNeverEntersALinkNorListsFileLinks) {
  fs.AddFolder(L"X:\\Canaries");
  fs.AddFile(L"X:\\Canaries\\canary.tmp");
  fs.AddLink(L"T:\\A\\Link", L"X:\\Canaries");
  fs.AddFile(L"T:\\filelink.tmp", 0, FileAttr::Archive | FileAttr::ReparsePoint);
  engine.CleanClick(Drives({L"T:"}));
  EXPECT_TRUE(fs.Exists(L"X:\\Canaries\\canary.tmp"));
  EXPECT_TRUE(fs.Exists(L"T:\\filelink.tmp"));
  EXPECT_EQ(fs.lists.count(L"T:\\A\\LINK"), 0u);
  EXPECT_EQ(state.DirCount, 3u);
}

TEST_F(Walk, AFolderThatCannotBeListedContributesNothingAndTheWalkGoesOn) {
  fs.failList.insert(L"T:\\A");
  engine.SearchClick(Drives({L"T:", L"Q:"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\~root.tmp", L"T:\\~root.tmp", L"T:\\C\\three.tmp"}));
  EXPECT_EQ(state.DirCount, 2u);
}

TEST_F(Walk, StopEndsEveryLevelAtItsNextSubfolderButLaterRootsAreStillListed) {
  fs.AddFile(L"U:\\u.tmp");
  fs.AddFolder(L"U:\\Sub");
  fs.AddFile(L"U:\\Sub\\deep.tmp");
  view.onPump = [&](int pump) {
    if (pump == 4) engine.StopClick();  // while A's first mask is being listed
    return true;
  };
  engine.CleanClick(Drives({L"T:", L"U:"}));
  EXPECT_EQ(view.questions, Lines{L"confirm: Неужели вы хотите остановить?"});
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\~root.tmp (Убит!)", L"T:\\~root.tmp (Ошибка удаления)",
                                 L"T:\\A\\one.tmp (Убит!)", L"U:\\u.tmp (Убит!)"}));
  EXPECT_EQ(view.Logged(L"status: ").front(), L" T:\\A");
  EXPECT_EQ(view.status, L" Итого очищено: 3 ====> Размер: 0 kb ====> Каталогов: 2");
  EXPECT_TRUE(state.StopFlag);
}

TEST_F(Walk, ADeclinedStopGoesOn) {
  view.answer = false;
  view.onPump = [&](int pump) {
    if (pump == 4) engine.StopClick();
    return true;
  };
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_FALSE(state.StopFlag);
  EXPECT_EQ(engine.Finds().Count(), 5u);
}

TEST_F(Walk, ClosingTheWindowEndsTheWalkAndDeletesNothing) {
  view.onPump = [&](int pump) {
    if (pump < 5) return true;
    state.MaskList.clear();  // what the window's close does
    state.ExcludeList.clear();
    state.MaskList.shrink_to_fit();
    return false;
  };
  engine.CleanClick(Drives({L"T:", L"U:"}));
  EXPECT_TRUE(engine.Closing());
  EXPECT_FALSE(engine.Running());
  EXPECT_TRUE(fs.removedFiles.empty());
  EXPECT_TRUE(view.sounds.empty());
  EXPECT_EQ(view.pumps, 5);
  EXPECT_EQ(fs.lists.count(L"U:"), 0u);
}

TEST_F(Walk, NightFlyDeletesEveryFindWithoutCountingMarkingOrShowing) {
  Settings(L"ExcludeDir", {L"T:\\C"});
  engine.NightFly(Drives({L"T:"}));
  EXPECT_TRUE(state.NightFlyMode);
  // The second line of the file found twice fails: it is gone already.
  EXPECT_EQ(fs.removedFiles, (Lines{L"T:\\~root.tmp", L"T:\\A\\one.tmp", L"T:\\A\\B\\two.tmp"}));
  EXPECT_TRUE(fs.Exists(L"T:\\C\\three.tmp"));
  EXPECT_EQ(state.FoundFiles + state.KilledFiles + state.FailedFiles, 0u);
  EXPECT_EQ(view.Texts()[0], L"T:\\~root.tmp");
  EXPECT_TRUE(view.Logged(L"status: ").empty());
  EXPECT_TRUE(view.Logged(L"files: ").empty());
  EXPECT_TRUE(view.sounds.empty());
  EXPECT_EQ(state.DirCount, 2u);  // folders are still counted
}

TEST_F(Walk, NightFlyWithoutTickedDrivesOrDrivesDeletesNothing) {
  engine.NightFly(Drives({}));
  engine.NightFly(DriveTicks{});
  EXPECT_TRUE(fs.removedFiles.empty());
  EXPECT_TRUE(fs.lists.empty());
}

// The masks and exclusions come from the file even when another program holds it for a moment;
// held for good, the file stops every run before it lists, deletes or switches anything for good.
TEST_F(Walk, RunsWaitForAHeldSettingsFileAndDoNothingWhenItStaysHeld) {
  Settings(L"ExcludeDir", {L"T:\\A"});
  storage.heldReads = 3;
  engine.SearchClick(Drives({L"T:"}));
  const Lines finds = {L"T:\\~root.tmp", L"T:\\~root.tmp", L"T:\\C\\three.tmp"};
  EXPECT_EQ(view.Texts(), finds);

  storage.heldReads = test::FakeStorage::kAlways;
  const size_t listings = fs.lists.size();
  EXPECT_THROW(engine.SearchClick(Drives({L"T:"})), SettingsReadError);
  EXPECT_THROW(engine.CleanClick(Drives({L"T:"})), SettingsReadError);
  EXPECT_THROW(engine.NightFly(Drives({L"T:"})), SettingsReadError);
  EXPECT_EQ(fs.lists.size(), listings);
  EXPECT_TRUE(fs.removedFiles.empty());
  EXPECT_EQ(view.Texts(), finds);  // the earlier finds stay, with the buttons as after them
  for (MainButton button : {MainButton::Search, MainButton::Delete, MainButton::Clean, MainButton::Tmp,
                            MainButton::Exit, MainButton::Settings})
    EXPECT_TRUE(view.Enabled(button));
  EXPECT_FALSE(view.Enabled(MainButton::Stop));
  EXPECT_EQ(storage.writes, 2);  // the two of the fixture
}

// --- Found entries

TEST_F(Engine, NameTestsSkipOnlyTheFailingEntry) {
  Settings(L"Kill", {L"*.bak*"});
  fs.AddFile(L"T:\\a.bak");
  fs.AddFile(L"T:\\notes.bakup");                   // extension longer than four
  fs.AddFile(L"T:\\DATA.BAK");                      // the reserved name
  fs.AddFile(L"T:\\S\\data.bak");                   // the same name in lower case
  fs.AddFile(L"T:\\z.bakup", 0, FileAttr::Normal);  // other bits: no name tests
  fs.AddFile(L"T:\\DATA.BAK2", 0, FileAttr::Temporary);
  fs.AddFile(L"T:\\last.bak", 0, FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly);
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak", L"T:\\z.bakup", L"T:\\DATA.BAK2", L"T:\\last.bak", L"T:\\S\\data.bak"}));
}

TEST_F(Engine, MasksMatchLongNamesWithWindowsRules) {
  Settings(L"Kill", {L"*.bak", L"Отчёт?.*", L"no*.", L"文件*"});
  fs.AddFile(L"T:\\notes.bakup");
  fs.AddFile(L"T:\\ОТЧЁТ1.doc");
  fs.AddFile(L"T:\\noext");
  fs.AddFile(L"T:\\文件.txt");
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\ОТЧЁТ1.doc", L"T:\\noext", L"T:\\文件.txt"}));
}

TEST_F(Engine, CountersAndSizesAreSixtyFourBit) {
  fs.AddFolder(L"T:\\Many");
  for (int i = 0; i < 70000; ++i) fs.AddFile(L"T:\\Many\\f" + std::to_wstring(i) + L".tmp", 1024);
  fs.AddFile(L"T:\\huge.bak", 5ull << 30);
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.status, L" Итого найдено: 70001 ====> Размер: " + std::to_wstring((5ull << 20) + 70000) +
                             L" kb ====> Каталогов: 2");
  engine.DeleteClick();
  EXPECT_EQ(state.KilledFiles, 70001u);
  EXPECT_EQ(state.KilledBytes, (5ull << 30) + 70000u * 1024);
}

TEST_F(Engine, NothingFoundAndEmptyDriveLists) {
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.status, L" ЧИСТО!!! ====> Каталогов: 1");
  EXPECT_EQ(view.sounds, std::vector<SoundEvent>{SoundEvent::evNothingFound});
  EXPECT_FALSE(view.Enabled(MainButton::Delete));
  view = test::RecordingView();
  engine.SearchClick(DriveTicks{});  // no drive at all: no report, no sound
  EXPECT_EQ(view.Logged(L"status: "), Lines{});
  EXPECT_TRUE(view.sounds.empty());
  EXPECT_TRUE(view.driveListEnabled);
}

TEST_F(Engine, StatusLineIsShortenedToTheListWidth) {
  const std::wstring deep = L"T:\\Первая папка\\Вторая папка\\Третья папка\\Четвёртая";
  fs.AddFolder(deep);
  engine.SearchClick(Drives({L"T:"}));
  const Lines shown = view.Logged(L"status: ");
  EXPECT_EQ(shown[0], L" T:\\...\\Третья папка\\Четвёртая");
  EXPECT_EQ(shown[3], L" T:\\Первая папка");
}

TEST_F(Engine, TimingMessageShowsTheTrueElapsedTimeAcrossMidnight) {
  state.TestMode = true;
  clock.times = {{23, 59, 59, 500}, {0, 0, 1, 12}};
  clock.steady = {1000, 2512};
  engine.SearchClick(Drives({L"T:"}));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(
      view.messages[0],
      L"Начало: 23:59:59:500\nКонец:    0: 0: 1: 12\n------------------------------------\nВсего:      0: 0: 1:512");
  // The sound comes after the message is closed.
  EXPECT_EQ(view.log.back(), L"sound: 3");
}

// --- Deletion

class Deletion : public Engine {
 protected:
  Deletion() {
    fs.AddFile(L"T:\\a.bak", 2047, FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System);
    fs.AddFile(L"T:\\b.bak", 1023);
    fs.AddFile(L"T:\\c.bak", 0);
    engine.SearchClick(Drives({L"T:"}));
  }
};

TEST_F(Deletion, DeleteMarksAndUnticksTheTickedLinesOnly) {
  engine.Finds().SetTicked(1, false);
  engine.DeleteClick();
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak (Убит!)", L"T:\\b.bak", L"T:\\c.bak (Убит!)"}));
  EXPECT_EQ(view.Ticks(), std::vector<bool>(3, false));
  EXPECT_TRUE(fs.Exists(L"T:\\b.bak"));
  EXPECT_EQ(view.status, L" Итого очищено: 2 ====> Размер: 1 kb ====> Каталогов: 1");
  EXPECT_FALSE(view.Enabled(MainButton::Delete));
  EXPECT_EQ(view.sounds.back(), SoundEvent::evKilled);
}

TEST_F(Deletion, DeleteWithNothingTickedStillReportsAndAnEmptyListChangesNothing) {
  for (size_t i = 0; i < 3; ++i) engine.Finds().SetTicked(i, false);
  engine.DeleteClick();
  EXPECT_EQ(view.status, L" Итого очищено: 0 ====> Размер: 0 kb ====> Каталогов: 1");
  EXPECT_EQ(view.sounds.back(), SoundEvent::evKilled);
  engine.Finds().Clear();
  view.log.clear();
  engine.DeleteClick();
  EXPECT_TRUE(view.log.empty());
}

// The window answers during a deletion, with the buttons as during a run: a stop confirmed then
// ends it between two files and the lines not reached keep their ticks; a close ends it too.
TEST_F(Deletion, AStopOrACloseDuringADeletionEndsItBetweenTwoFiles) {
  view.onPump = [&](int) {
    EXPECT_FALSE(view.Enabled(MainButton::Search));
    EXPECT_FALSE(view.Enabled(MainButton::Settings));
    EXPECT_TRUE(view.Enabled(MainButton::Stop));
    if (fs.removedFiles.size() == 1 && view.questions.empty()) engine.StopClick();
    return true;
  };
  engine.DeleteClick();
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak (Убит!)", L"T:\\b.bak", L"T:\\c.bak"}));
  EXPECT_EQ(view.Ticks(), std::vector<bool>({false, true, true}));
  EXPECT_EQ(fs.folderDeletions, 1);  // one folder, opened once for its finds
  EXPECT_TRUE(view.Enabled(MainButton::Search));
  EXPECT_FALSE(view.Enabled(MainButton::Stop));
  EXPECT_TRUE(view.Enabled(MainButton::Delete));  // for the lines still ticked
  EXPECT_EQ(view.status, L" Итого очищено: 1 ====> Размер: 1 kb ====> Каталогов: 1");

  view.onPump = [&](int) { return fs.removedFiles.size() < 2; };
  view.sounds.clear();
  engine.DeleteClick();
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak (Убит!)", L"T:\\b.bak (Убит!)", L"T:\\c.bak"}));
  EXPECT_TRUE(view.sounds.empty());
}

TEST_F(Deletion, AFailedDeletionKeepsTheFileAndItsAttributes) {
  fs.failRemoveFile.insert(L"T:\\A.BAK");
  engine.DeleteClick();
  EXPECT_EQ(view.Texts()[0], L"T:\\a.bak (Ошибка удаления)");
  EXPECT_EQ(fs.AttributesOf(L"T:\\a.bak"), FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System);
  EXPECT_EQ(state.FailedFiles, 1u);
  EXPECT_EQ(view.status, L" Итого очищено: 2 ====> Размер: 0 kb ====> Каталогов: 1");
}

TEST_F(Deletion, APathThatBecameALinkOrAFolderIsNotTouched) {
  fs.AddFolder(L"X:\\Target");
  fs.AddFile(L"X:\\Target\\canary", 5, FileAttr::ReadOnly);
  fs.ReplaceWithLink(L"T:\\a.bak", L"X:\\Target");
  fs.ReplaceWithFolder(L"T:\\b.bak");
  engine.DeleteClick();
  EXPECT_EQ(view.Texts(),
            (Lines{L"T:\\a.bak (Ошибка удаления)", L"T:\\b.bak (Ошибка удаления)", L"T:\\c.bak (Убит!)"}));
  EXPECT_TRUE(fs.Exists(L"X:\\Target\\canary"));
  EXPECT_EQ(fs.AttributesOf(L"X:\\Target\\canary"), FileAttr::ReadOnly);
  EXPECT_TRUE(fs.Exists(L"T:\\a.bak"));
}

// What was found is what goes: a deletion that would reach anything else is refused and marked.
TEST_F(Engine, OnlyTheVeryFileThatWasFoundIsDeleted) {
  fs.AddFile(L"T:\\r\\sub\\s1.bak", 10);
  fs.AddFile(L"T:\\r\\sub\\s2.bak", 10);
  fs.AddFile(L"T:\\r\\swapped.bak", 10);
  fs.AddFile(L"T:\\r\\plainlink.bak", 10);
  fs.AddFile(L"T:\\r\\grown.bak", 10);
  fs.AddFile(L"T:\\r\\renewed.bak", 10);
  fs.AddFile(L"T:\\r\\ok.bak", 10);
  fs.AddFile(L"X:\\canaries\\s1.bak", 10, FileAttr::ReadOnly);
  fs.AddFile(L"X:\\canaries\\s2.bak", 10);
  fs.AddFile(L"X:\\canaries\\target", 10, FileAttr::ReadOnly | FileAttr::Hidden);
  engine.SearchClick(Drives({L"T:"}));
  ASSERT_EQ(engine.Finds().Count(), 7u);
  fs.ReplaceWithLink(L"T:\\r\\sub", L"X:\\canaries");                               // a swapped parent
  fs.ReplaceWithFileLink(L"T:\\r\\swapped.bak", L"X:\\canaries\\target", true);     // a link in its place
  fs.ReplaceWithFileLink(L"T:\\r\\plainlink.bak", L"X:\\canaries\\target", false);  // as Wine shows one
  fs.SetSize(L"T:\\r\\grown.bak", 11);                                              // a changed size
  fs.ReplaceWithFolder(L"T:\\r\\renewed.bak");
  engine.DeleteClick();
  const std::wstring failed = L" (Ошибка удаления)";
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\r\\swapped.bak" + failed, L"T:\\r\\plainlink.bak" + failed,
                                 L"T:\\r\\grown.bak" + failed, L"T:\\r\\renewed.bak" + failed, L"T:\\r\\ok.bak (Убит!)",
                                 L"T:\\r\\sub\\s1.bak" + failed, L"T:\\r\\sub\\s2.bak" + failed}));
  EXPECT_EQ(fs.removedFiles, Lines{L"T:\\r\\ok.bak"});
  EXPECT_EQ(fs.AttributesOf(L"X:\\canaries\\target"), FileAttr::ReadOnly | FileAttr::Hidden);
  EXPECT_EQ(state.FailedFiles, 6u);
  // A file put back at a found path is another file, even with the same name and size.
  fs.AddFile(L"T:\\again.bak", 1);
  engine.SearchClick(Drives({L"T:"}));
  fs.AddFile(L"T:\\new.bak", 1);
  engine.FindGarbageFiles(L"T:", L"new.bak");
  fs.ReplaceWithFolder(L"T:\\again.bak");
  fs.AddFile(L"T:\\again.bak", 1);
  engine.NightFly(Drives({}));  // deletes the found list as it stands
  EXPECT_TRUE(fs.Exists(L"T:\\again.bak"));
  EXPECT_FALSE(fs.Exists(L"T:\\new.bak"));
}

TEST_F(Engine, DeletingOneNameOfAHardLinkedFileKeepsTheOtherNamesAttributes) {
  const uint32_t kept = FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System;
  fs.AddFile(L"T:\\one.bak", 5, kept);
  fs.AddHardLink(L"T:\\keep\\other.txt", L"T:\\one.bak");
  fs.AddFolder(L"T:\\Temp");
  fs.AddHardLink(L"T:\\Temp\\third", L"T:\\one.bak");
  engine.CleanClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), Lines{L"T:\\one.bak (Убит!)"});
  EXPECT_EQ(engine.TmpClick().killedFiles, 1u);
  EXPECT_EQ(fs.AttributesOf(L"T:\\keep\\other.txt"), kept);
}

TEST_F(Engine, CleanDeletesEverythingFoundAndReportsOnlyTheSuccesses) {
  fs.AddFile(L"T:\\a.tmp", 3000);
  fs.AddFile(L"T:\\b.tmp", 500);
  fs.failRemoveFile.insert(L"T:\\B.TMP");
  engine.CleanClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.tmp (Убит!)", L"T:\\b.tmp (Ошибка удаления)"}));
  EXPECT_EQ(view.status, L" Итого очищено: 1 ====> Размер: 2 kb ====> Каталогов: 1");
  EXPECT_EQ(view.sounds, std::vector<SoundEvent>{SoundEvent::evKilled});
  EXPECT_FALSE(view.Enabled(MainButton::Delete));
  EXPECT_TRUE(view.Enabled(MainButton::Search));
  EXPECT_TRUE(view.Enabled(MainButton::Settings));
}

// The system may take a deletion and still keep the file (a folder that refuses deletions,
// another program holding the file): only what is gone counts as deleted.
TEST_F(Engine, ADeletionThatDoesNotTakeIsMarkedFailedAndNotCounted) {
  fs.AddFile(L"T:\\kept.bak", 2048, FileAttr::ReadOnly);
  fs.AddFile(L"T:\\gone.bak", 1024);
  fs.AddFile(L"T:\\Temp\\kept", 10, FileAttr::ReadOnly);
  fs.AddFile(L"T:\\Temp\\gone", 20);
  fs.keepRemovedFile = {L"T:\\KEPT.BAK", L"T:\\TEMP\\KEPT"};
  const Lines marked = {L"T:\\kept.bak (Ошибка удаления)", L"T:\\gone.bak (Убит!)"};
  const std::wstring report = L" Итого очищено: 1 ====> Размер: 1 kb ====> Каталогов: 2";
  engine.SearchClick(Drives({L"T:"}));
  engine.DeleteClick();
  EXPECT_EQ(view.Texts(), marked);
  EXPECT_EQ(view.status, report);
  fs.AddFile(L"T:\\gone.bak", 1024);
  engine.CleanClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), marked);
  EXPECT_EQ(view.status, report);
  EXPECT_EQ(state.FailedFiles, 1u);
  const TempCleanResult result = engine.TmpClick();
  EXPECT_EQ(result.killedFiles, 1u);
  EXPECT_EQ(result.killedBytes, 20u);
  EXPECT_EQ(result.failedFiles, 1u);
  EXPECT_EQ(fs.AttributesOf(L"T:\\kept.bak"), FileAttr::ReadOnly);
  EXPECT_EQ(fs.AttributesOf(L"T:\\Temp\\kept"), FileAttr::ReadOnly);
}

// Files whose data is elsewhere (cloud placeholders, offline files) are never listed, counted,
// or tried; neither the search nor the temporary-folder cleanup enters such a folder.
TEST_F(Engine, PlaceholdersAreNeverListedCountedOrDeleted) {
  int n = 0;
  for (uint32_t kind : {FileAttr::Offline, FileAttr::RecallOnOpen, FileAttr::RecallOnDataAccess}) {
    const std::wstring name = L"cloud" + std::to_wstring(++n) + L".bak";
    fs.AddFile(L"T:\\" + name, 100, FileAttr::Archive | kind);
    fs.AddFile(L"T:\\Temp\\" + name, 100, FileAttr::ReadOnly | kind);
  }
  fs.AddFile(L"T:\\plain.bak", 1);
  fs.AddFile(L"T:\\Temp\\plain", 1);
  fs.AddFolder(L"T:\\Temp\\CloudFolder", FileAttr::Directory | FileAttr::RecallOnOpen);
  fs.AddFile(L"T:\\Temp\\CloudFolder\\inside", 1);
  Lines tried;
  fs.beforeRemoveFile = [&](const std::wstring& path) { tried.push_back(path); };
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), Lines{L"T:\\plain.bak"});
  EXPECT_EQ(state.FoundBytes, 1u);
  engine.CleanClick(Drives({L"T:"}));
  EXPECT_EQ(view.Texts(), Lines{L"T:\\plain.bak (Убит!)"});
  fs.AddFile(L"T:\\plain.bak", 1);
  engine.Finds().Clear();  // an unattended run starts with an empty list
  engine.NightFly(Drives({L"T:"}));
  EXPECT_FALSE(fs.Exists(L"T:\\plain.bak"));
  const TempCleanResult result = engine.TmpClick();
  EXPECT_EQ(result.killedFiles + result.failedFiles + result.removedDirs + result.failedDirs, 1u);
  EXPECT_EQ(fs.lists[L"T:\\TEMP\\CLOUDFOLDER"], 0);  // neither the searches nor the cleanup listed it
  EXPECT_EQ(tried, (Lines{L"T:\\plain.bak", L"T:\\plain.bak", L"T:\\Temp\\plain"}));
  EXPECT_EQ(fs.FileCount(), 7u);
}

TEST_F(Engine, ButtonsAreSwitchedAroundARun) {
  view.onStatus = [&](const std::wstring&) {
    EXPECT_FALSE(view.Enabled(MainButton::Search));
    EXPECT_FALSE(view.Enabled(MainButton::Exit));
    EXPECT_TRUE(view.Enabled(MainButton::Stop));
  };
  engine.SearchClick(Drives({L"T:"}));
  EXPECT_TRUE(view.Enabled(MainButton::Exit));
  EXPECT_FALSE(view.Enabled(MainButton::Stop));
}

// An error in the middle of a run (here, a deletion that throws) reaches the error report, and
// the window is left as after the run: every command usable, the drive list on.
TEST_F(Engine, ARunAnErrorCutsShortStillEndsForTheWindow) {
  fs.AddFile(L"T:\\a.bak");
  fs.AddFolder(L"T:\\Temp");
  fs.AddFile(L"T:\\Temp\\b");
  fs.beforeRemoveFile = [](const std::wstring&) { throw std::runtime_error("no memory"); };
  const auto expectIdle = [&] {
    EXPECT_TRUE(view.Enabled(MainButton::Search));
    EXPECT_TRUE(view.Enabled(MainButton::Exit));
    EXPECT_FALSE(view.Enabled(MainButton::Stop));
    EXPECT_EQ(view.Logged(L"drives ").back(), L"on");
  };
  EXPECT_THROW(engine.CleanClick(Drives({L"T:"})), std::runtime_error);
  expectIdle();
  EXPECT_THROW(engine.DeleteClick(), std::runtime_error);
  expectIdle();
  EXPECT_THROW(engine.TmpClick(), std::runtime_error);
  expectIdle();
  fs.beforeRemoveFile = nullptr;
  view.onStatus = [](const std::wstring& text) {
    if (text.empty()) throw std::runtime_error("no memory");
  };
  EXPECT_THROW(engine.SearchClick(Drives({L"T:"})), std::runtime_error);
  expectIdle();
}

// A find's print stands for its whole identity: the same size and time under another id is
// another file; a find listed without an id is held to its size and time alone.
TEST(FoundList, AFileMatchesOnlyAsItWasFound) {
  FoundList finds;
  const FileIdentity found{{7, 42}, 100, 5000};
  finds.Add(L"T:\\a.bak", found);
  finds.Add(L"T:\\b.bak", {{}, 100, 5000});
  EXPECT_TRUE(finds.Matches(0, found));
  EXPECT_FALSE(finds.Matches(0, {{7, 43}, 100, 5000}));
  EXPECT_FALSE(finds.Matches(0, {{8, 42}, 100, 5000}));
  EXPECT_FALSE(finds.Matches(0, {{7, 42}, 101, 5000}));
  EXPECT_FALSE(finds.Matches(0, {{7, 42}, 100, 5001}));
  EXPECT_TRUE(finds.Matches(1, {{9, 1}, 100, 5000}));
  EXPECT_FALSE(finds.Matches(1, {{9, 1}, 100, 5001}));
  EXPECT_FALSE(finds.Matches(2, found));
}

// A mark follows the path in the line shown, unticks the find and is told to whoever shows it;
// the path itself stays what was found.
TEST_F(Engine, AMarkedFindShowsItsMarkAndKeepsItsPath) {
  fs.AddFile(L"T:\\a.bak");
  fs.AddFile(L"T:\\b.bak");
  engine.SearchClick(Drives({L"T:"}));
  FoundList& finds = engine.Finds();
  finds.SetMark(1, FindMark::Failed);
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak", L"T:\\b.bak (Ошибка удаления)"}));
  EXPECT_EQ(view.Ticks(), (std::vector<bool>{true, false}));
  EXPECT_EQ(finds.Path(1), L"T:\\b.bak");
  wchar_t line[32];
  EXPECT_EQ(finds.CopyText(1, line), finds.TextLength(1));
  EXPECT_EQ(std::wstring(line), L"T:\\b.bak (Ошибка удаления)");
  finds.Clear();
  EXPECT_EQ(view.log.back(), L"clear");
}

// --- Temporary folder

class TempFolder : public Engine {
 protected:
  TempFolder() { fs.AddFolder(L"T:\\Temp"); }
};

TEST_F(TempFolder, FilesOnlyAreDeletedAndTheFolderStays) {
  fs.AddFile(L"T:\\Temp\\a", 1000);
  fs.AddFile(L"T:\\Temp\\b", 2000, FileAttr::Hidden | FileAttr::ReadOnly);
  const TempCleanResult result = engine.TmpClick();
  EXPECT_EQ(view.questions, Lines{L"info: Вы хотите удалить все содержимое\nвременной папки T:\\Temp\\?"});
  EXPECT_EQ(result.outcome, TempOutcome::Cleaned);
  EXPECT_EQ(result.killedFiles, 2u);
  EXPECT_EQ(result.killedBytes, 3000u);
  EXPECT_EQ(result.removedDirs, 0u);
  EXPECT_TRUE(fs.Exists(L"T:\\Temp"));
  EXPECT_EQ(state.TmpDir, L"T:\\Temp");
}

TEST_F(TempFolder, AResistingFileIsTriedOncePerSubfolderAndItsFolderStays) {
  fs.AddFolder(L"T:\\Temp\\Held");
  fs.AddFile(L"T:\\Temp\\Held\\locked", 1, FileAttr::Hidden);
  fs.AddFolder(L"T:\\Temp\\Held\\One");
  fs.AddFolder(L"T:\\Temp\\Held\\Two");
  fs.AddFolder(L"T:\\Temp\\.cache");
  fs.AddFile(L"T:\\Temp\\.cache\\kept");
  fs.failRemoveFile.insert(L"T:\\TEMP\\HELD\\LOCKED");
  state.WarnTmp = false;
  const TempCleanResult result = engine.TmpClick();
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(result.failedFiles, 3u);
  EXPECT_EQ(result.failedDirs, 1u);
  EXPECT_EQ(result.removedDirs, 2u);
  EXPECT_EQ(fs.AttributesOf(L"T:\\Temp\\Held\\locked"), FileAttr::Hidden);
  EXPECT_TRUE(fs.Exists(L"T:\\Temp\\.cache\\kept"));
  EXPECT_EQ(view.pumps, 2 * 3 + 3);  // twice per subfolder, and before each attempt at a file
}

TEST_F(TempFolder, StopEndsTheCleanupBetweenFilesAndTheStatusLineShowsEachFolder) {
  for (const auto* file : {L"T:\\Temp\\Sub\\a", L"T:\\Temp\\Sub\\b", L"T:\\Temp\\Other\\c"}) fs.AddFile(file, 1);
  state.WarnTmp = false;
  view.onPump = [&](int) {
    if (fs.removedFiles.size() == 1 && !state.StopFlag) engine.StopClick();
    return true;
  };
  const TempCleanResult result = engine.TmpClick();
  EXPECT_EQ(view.questions, Lines{L"confirm: Неужели вы хотите остановить?"});
  EXPECT_EQ(result.outcome, TempOutcome::Cleaned);  // the result window shows what went
  EXPECT_EQ(result.killedFiles, 1u);
  EXPECT_EQ(fs.removedFiles, Lines{L"T:\\Temp\\Sub\\a"});
  EXPECT_TRUE(fs.removedFolders.empty());
  EXPECT_NE(std::find(view.log.begin(), view.log.end(), L"status:  T:\\Temp\\Sub"), view.log.end());
  view.onPump = nullptr;
  EXPECT_EQ(engine.TmpClick().killedFiles, 2u);  // the next cleanup starts afresh
  EXPECT_EQ(fs.FileCount(), 0u);
}

TEST_F(TempFolder, ALinkInsideIsRemovedItselfAndItsTargetIsNeverTouched) {
  fs.AddFolder(L"X:\\Target");
  fs.AddFile(L"X:\\Target\\canary", 1);
  fs.AddFile(L"X:\\Target\\file", 2, FileAttr::ReadOnly);
  fs.AddLink(L"T:\\Temp\\Link", L"X:\\Target");
  fs.AddFileLink(L"T:\\Temp\\shown", L"X:\\Target\\file", true);
  fs.AddFileLink(L"T:\\Temp\\looks-plain", L"X:\\Target\\file", false);
  fs.AddFile(L"T:\\Temp\\plain", 3);
  const TempCleanResult result = engine.TmpClick();
  EXPECT_TRUE(fs.Exists(L"X:\\Target\\canary"));
  EXPECT_TRUE(fs.Exists(L"X:\\Target\\file"));
  EXPECT_FALSE(fs.Exists(L"T:\\Temp\\Link"));
  EXPECT_EQ(result.removedDirs, 1u);
  EXPECT_EQ(result.killedFiles, 1u);
  EXPECT_EQ(result.failedFiles, 4u);  // both file links, tried twice
  EXPECT_EQ(fs.lists.count(L"T:\\TEMP\\LINK"), 0u);
}

TEST_F(TempFolder, DeclinedOrMissing) {
  fs.AddFile(L"T:\\Temp\\a");
  view.answer = false;
  EXPECT_EQ(engine.TmpClick().outcome, TempOutcome::Declined);
  EXPECT_TRUE(fs.Exists(L"T:\\Temp\\a"));
  fs.tempPath = L"T:\\Gone\\";
  view.answer = true;
  const TempCleanResult result = engine.TmpClick();
  EXPECT_EQ(result.outcome, TempOutcome::Cleaned);
  EXPECT_EQ(result.killedFiles + result.failedFiles + result.removedDirs + result.failedDirs, 0u);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(TempFolder, UnsafeFoldersAreRefusedAfterTheQuestion) {
  fs.AddFile(L"C:\\Users\\Me\\Documents\\precious");
  fs.AddFile(L"C:\\Windows\\system.dll");
  fs.AddFile(L"T:\\file");
  fs.AddFolder(L"X:\\Real");
  fs.AddFile(L"X:\\Real\\canary");
  fs.AddLink(L"T:\\LinkedTemp", L"X:\\Real");
  for (const auto* path : {L"", L"\\", L"T:\\", L"T:", L"C:\\WINDOWS\\", L"c:\\users\\me\\", L"C:\\Users\\", L"C:\\",
                           L"T:\\LinkedTemp\\", L"T:\\Temp\\..\\", L"\\\\server\\share\\"}) {
    fs.tempPath = path;
    view.messages.clear();
    EXPECT_EQ(engine.TmpClick().outcome, TempOutcome::UnsafeFolder) << path;
    EXPECT_EQ(view.messages, Lines{kTempFolderError}) << path;
    EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::UnsafeFolder) << path;
  }
  EXPECT_TRUE(fs.removedFiles.empty());
  EXPECT_TRUE(fs.removedFolders.empty());
}

// The temporary folder is judged by what it is: every spelling of a protected folder, of a
// folder holding one, of a root or of a folder behind a link is refused.
TEST_F(TempFolder, ProtectedFoldersAreRefusedHoweverTheyAreSpelled) {
  fs.protectedFolders = {L"C:\\Windows",  L"C:\\Users",      L"C:\\Users\\Me", L"C:\\Users\\Public\\Documents",
                         L"C:\\PROGRA~2", L"C:\\ProgramData"};
  fs.AddFile(L"C:\\Windows\\System32\\kernel.dll");
  fs.AddFile(L"C:\\Users\\Public\\Documents\\precious");
  fs.AddShortName(L"C:\\Users\\Public\\Documents", L"DOCUME~1");
  fs.AddFile(L"C:\\Program Files (x86)\\app.exe");
  fs.AddShortName(L"C:\\Program Files (x86)", L"PROGRA~2");
  fs.AddFile(L"C:\\ProgramData\\data");
  fs.AddFile(L"C:\\Users\\Me\\AppData\\Local\\Temp\\junk", 4);
  fs.AddFile(L"X:\\Real\\sub\\canary");
  fs.AddLink(L"T:\\link", L"X:\\Real");
  fs.AddLink(L"T:\\winlink", L"C:\\Windows");
  for (const auto* path :
       {L"\\\\?\\C:\\windows\\", L"\\\\.\\C:\\Users\\Me", L"\\\\?\\C:\\users\\Public\\Documents",
        L"C:\\Users\\Public\\DOCUME~1\\", L"C:\\Windows.\\", L"C:\\Windows\\\\\\", L"C:/Windows/System32/../",
        L"C:\\Program Files (x86)", L"C:\\ProgramData", L"\\\\?\\C:\\", L"\\\\?\\UNC\\server\\share\\",
        L"C:\\Users\\Me\\..\\..\\", L"T:\\link\\sub\\", L"T:\\winlink\\", L"C:\\Users\\Me\\AppData\\..\\..\\"}) {
    fs.tempPath = path;
    EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::UnsafeFolder) << path;
  }
  EXPECT_TRUE(fs.removedFiles.empty());
  // The usual temporary folder inside a profile stays allowed, whatever its spelling.
  fs.tempPath = L"\\\\?\\c:\\users\\me\\AppData\\Local\\Temp\\.\\";
  EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::Cleaned);
  EXPECT_EQ(state.TmpDir, L"C:\\Users\\Me\\AppData\\Local\\Temp");
  EXPECT_EQ(fs.removedFiles, Lines{L"C:\\Users\\Me\\AppData\\Local\\Temp\\junk"});
}

TEST_F(TempFolder, NothingBehindALinkPutInDuringTheCleanupIsTouched) {
  fs.AddFile(L"T:\\Temp\\Sub\\a", 1);
  fs.AddFile(L"T:\\Temp\\Sub\\b", 1);
  fs.AddFile(L"X:\\Real\\b", 1, FileAttr::ReadOnly);
  fs.beforeRemoveFile = [&](const std::wstring& path) {
    if (path == L"T:\\Temp\\Sub\\a") fs.ReplaceWithLink(L"T:\\Temp\\Sub", L"X:\\Real");
  };
  engine.NightTrash();
  EXPECT_TRUE(fs.Exists(L"X:\\Real\\b"));
  EXPECT_EQ(fs.AttributesOf(L"X:\\Real\\b"), FileAttr::ReadOnly);
}

// A file another program rewrote between the listing and its deletion is no longer the one the
// cleanup listed: it stays.
TEST_F(TempFolder, AFileChangedSinceTheListingIsKept) {
  fs.AddFile(L"T:\\Temp\\a", 1);
  fs.AddFile(L"T:\\Temp\\b", 1);
  fs.beforeRemoveFile = [&](const std::wstring& path) {
    if (path == L"T:\\Temp\\b") fs.SetSize(path, 5000);
  };
  EXPECT_EQ(engine.TmpClick().killedFiles, 1u);
  EXPECT_TRUE(fs.Exists(L"T:\\Temp\\b"));
}

TEST_F(TempFolder, TheProgramsFolderIsRefusedWithAMessageOnlyWhenWindowed) {
  fs.AddFile(L"P:\\Krelmix\\Krelmix.ini");
  // A folder holding the program's folder, however spelled, is refused as unsafe.
  state.ExeDir = L"P:\\Programs\\Krelmix\\";
  fs.AddFile(L"P:\\Programs\\Krelmix\\Krelmix.ini");
  for (const auto* path : {L"P:\\Programs", L"\\\\?\\p:\\programs\\", L"P:\\Programs\\Other\\..\\"}) {
    fs.tempPath = path;
    EXPECT_EQ(engine.TmpClick().outcome, TempOutcome::UnsafeFolder) << path;
    EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::UnsafeFolder) << path;
  }
  EXPECT_TRUE(fs.removedFiles.empty());
  state.ExeDir = L"P:\\Krelmix\\";
  state.NightTrashMode = false;
  view.messages.clear();
  view.questions.clear();
  fs.tempPath = L"p:\\krelmix\\";
  EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::ProgramFolder);
  EXPECT_TRUE(state.NightTrashMode);
  EXPECT_TRUE(view.messages.empty());
  // The windowed TMP button in that run asks nothing and reports the refusal.
  EXPECT_EQ(engine.TmpClick().outcome, TempOutcome::ProgramFolder);
  EXPECT_TRUE(view.questions.empty());
  EXPECT_EQ(view.messages, Lines{kTempFolderError});
  EXPECT_TRUE(fs.Exists(L"P:\\Krelmix\\Krelmix.ini"));
}

TEST_F(TempFolder, NightTrashEmptiesSilentlyAndClosingStopsTheCleanup) {
  for (const auto* sub : {L"T:\\Temp\\A", L"T:\\Temp\\B", L"T:\\Temp\\C"}) {
    fs.AddFolder(sub);
    fs.AddFile(std::wstring(sub) + L"\\f");
  }
  view.onPump = [](int pump) { return pump < 4; };  // closed after A's file
  const TempCleanResult result = engine.NightTrash();
  EXPECT_EQ(result.outcome, TempOutcome::Interrupted);
  EXPECT_EQ(fs.removedFolders, Lines{L"T:\\Temp\\A"});
  EXPECT_TRUE(fs.Exists(L"T:\\Temp\\B\\f"));
  view.onPump = nullptr;
  EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::Cleaned);
  EXPECT_EQ(fs.FileCount(), 0u);
  EXPECT_TRUE(view.questions.empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.sounds.empty());
}

}  // namespace
}  // namespace krelmix

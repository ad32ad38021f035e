// Deleted files kept to be put back: the record, the keeping during a run, restoring, purging and
// the rules that give the room back, over the file system in memory.
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeStorage.h"
#include "MemoryFileSystem.h"
#include "RecordingView.h"
#include "cleanup/CleanupEngine.h"
#include "platform/CaseFold.h"
#include "restore/KeptRuns.h"

namespace krelmix {
namespace {

using Lines = std::vector<std::wstring>;
constexpr uint64_t kDay = 864'000'000'000;

TEST(RestoreRecord, LinesReadBackAndACutOffLastLineIsNotRead) {
  const RecordHeader header{12, 34, KeptCommand::NightFly};
  const RecordEntry tricky{true, L"12.1", 5, 6, FileAttr::ReadOnly, 7, L"T:\\папка\\a\t100%.bak"};
  const RecordEntry lost{false, L"12.2", 8, 9, 0, 0, L"T:\\b.bak"};
  std::string text = HeaderLine(header) + EntryLine(tricky) + EntryLine(lost);
  const std::string torn = EntryLine({true, L"12.3", 1, 1, 0, 1, L"T:\\c.bak"});
  const std::optional<Record> record = ParseRecord(text + "junk\n" + torn.substr(0, torn.size() - 1));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->header.run, 12u);
  EXPECT_EQ(record->header.command, KeptCommand::NightFly);
  ASSERT_EQ(record->entries.size(), 2u);
  EXPECT_EQ(record->entries[0].path, tricky.path);
  EXPECT_EQ(record->entries[0].attributes, FileAttr::ReadOnly);
  EXPECT_FALSE(record->entries[1].kept);
  // A later line for the same kept name stands: a move that failed and became a deletion.
  text += EntryLine({false, L"12.1", 5, 6, 1, 7, tricky.path});
  EXPECT_FALSE(ParseRecord(text)->entries[0].kept);
  EXPECT_FALSE(ParseRecord("KRELMIX-RESTORE\t2\t1\t1\tУдалить\n"));
  EXPECT_FALSE(ParseRecord(torn));
  EXPECT_EQ(RunOfRecordName(RecordName(99)), 99u);
  EXPECT_FALSE(RunOfRecordName(KeptName(99, 1)));
}

TEST(RestoreSettings, DaysComeFromTheFileOrTheDefault) {
  IniDocument settings;
  EXPECT_EQ(ReadKeepDays(settings), 7u);
  for (const auto* bad : {L"-1", L"many", L""}) {
    settings.Write(L"Restore", L"Days", bad);
    EXPECT_EQ(ReadKeepDays(settings), 7u) << bad;
  }
  settings.Write(L"Restore", L"Days", L"30");
  EXPECT_EQ(ReadKeepDays(settings), 30u);
}

class Keeping : public ::testing::Test {
 protected:
  Keeping() {
    state.ExeDir = L"P:\\Krelmix\\";
    view.Watch(engine.Finds());
    fs.tempPath = L"H:\\Temp\\";
    fs.AddFile(L"T:\\a.bak", 2048, FileAttr::ReadOnly | FileAttr::Hidden);
    fs.AddFile(L"T:\\d\\b.bak", 1024);
    fs.AddFile(L"T:\\d\\c.bak", 10);
  }
  std::wstring Keep() const { return L"T:\\.KrelmixRestore\\" + fs.userKey; }
  std::wstring KeptAt(uint64_t n) const { return Keep() + L"\\" + KeptName(clock.wall, n); }
  std::optional<Record> RecordOn(const std::wstring& keep) const {
    return ParseRecord(fs.Content(keep + L"\\" + RecordName(clock.wall)));
  }
  std::vector<KeptRun> Runs(const Lines& roots = {L"T:"}) { return ListRuns(fs, roots); }

  test::MemoryFileSystem fs;
  test::RecordingView view;
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile settings{storage, codec, L"P:\\Krelmix\\Krelmix.ini"};
  test::FakeClock clock;
  ProgramState state;
  CleanupEngine engine{state, fs, view, settings, clock};
};

TEST_F(Keeping, CleanKeepsEveryFileWithItsRecordAndReportsAsBefore) {
  const FileId id = fs.Open(L"T:\\a.bak")->id;
  engine.CleanClick({false, {L"T:"}});
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak (Убит!)", L"T:\\d\\b.bak (Убит!)", L"T:\\d\\c.bak (Убит!)"}));
  EXPECT_EQ(view.status, L" Итого очищено: 3 ====> Размер: 3 kb ====> Каталогов: 2");
  EXPECT_EQ(fs.keptFiles.size(), 3u);
  EXPECT_FALSE(fs.Exists(L"T:\\a.bak"));
  EXPECT_EQ(fs.Open(KeptAt(1))->id, id);  // moved, not copied
  EXPECT_EQ(fs.AttributesOf(KeptAt(1)), FileAttr::ReadOnly | FileAttr::Hidden);
  EXPECT_EQ(fs.AttributesOf(L"T:\\.KrelmixRestore"), FileAttr::Directory | FileAttr::Hidden | FileAttr::System);
  const std::optional<Record> record = RecordOn(Keep());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->header.time, clock.wall);
  ASSERT_EQ(record->entries.size(), 3u);
  EXPECT_EQ(record->entries[1].path, L"T:\\d\\b.bak");
  EXPECT_EQ(record->entries[0].size, 2048u);
  EXPECT_EQ(record->entries[0].index, id.index);
  const std::vector<KeptRun> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].command, KeptCommand::Clean);
  EXPECT_EQ(runs[0].keptFiles, 3u);
  EXPECT_EQ(runs[0].keptBytes, 3082u);
  // The keep folder is never searched nor counted, whatever the masks.
  settings.Update([](IniDocument& d) { d.Write(L"Kill", L"*", L"1"), d.Write(L"Kill", L"*.run", L"1"); });
  fs.AddFile(L"T:\\d\\x.run");
  engine.SearchClick({false, {L"T:"}});
  EXPECT_EQ(view.Texts(), Lines{L"T:\\d\\x.run"});
  EXPECT_EQ(state.DirCount, 1u);
}

// Each line is in the record before its file moves; a run cut off anywhere leaves each file in its
// place or kept with its line.
TEST_F(Keeping, TheRecordLineComesFirstAndACutRunLosesNothing) {
  int moves = 0;
  fs.beforeKeep = [&](const std::wstring& from, const std::wstring&) {
    const std::optional<Record> record = RecordOn(Keep());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->entries.back().path, from);
    if (++moves == 2) throw std::runtime_error("killed");
  };
  EXPECT_THROW(engine.CleanClick({false, {L"T:"}}), std::runtime_error);
  const std::optional<Record> record = RecordOn(Keep());
  ASSERT_TRUE(record);
  for (const auto* path : {L"T:\\a.bak", L"T:\\d\\b.bak", L"T:\\d\\c.bak"}) {
    const auto line = std::find_if(record->entries.begin(), record->entries.end(),
                                   [&](const RecordEntry& e) { return e.path == path; });
    const bool kept = line != record->entries.end() && fs.Exists(Keep() + L"\\" + line->keptName);
    EXPECT_NE(fs.Exists(path), kept) << testing::PrintToString(std::wstring(path));
  }
  const std::vector<KeptFile> files = RunFiles(fs, Runs()[0]);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].state, KeptState::Kept);
  EXPECT_EQ(files[1].state, KeptState::Gone);  // its line was written, the move never came
}

// A folder holds a few hundred kept files (a new name makes Wine read the whole folder); folders
// emptied by a restore go with the record.
TEST_F(Keeping, ARunKeepsItsFilesInFoldersOfAFewDozenThatGoWhenPutBack) {
  for (int i = 0; i < 150; ++i) fs.AddFile(L"T:\\m\\f" + std::to_wstring(i) + L".bak", 1);
  engine.CleanClick({false, {L"T:"}});
  std::vector<DirEntry> entries;
  ASSERT_TRUE(fs.ListFolder(Keep(), entries));
  size_t folders = 0;
  for (const DirEntry& entry : entries) {
    if (!entry.IsDirectory() || entry.name == L"." || entry.name == L"..") continue;
    ++folders;
    std::vector<DirEntry> inner;
    ASSERT_TRUE(fs.ListFolder(Keep() + L"\\" + entry.name, inner));
    EXPECT_LE(inner.size(), 66u) << testing::PrintToString(entry.name);
  }
  EXPECT_EQ(folders, 3u);
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].keptFiles, 153u);
  for (const FileResult& result : Restore(fs, Runs()[0])) EXPECT_EQ(result.outcome, FileOutcome::Restored);
  EXPECT_TRUE(fs.Exists(L"T:\\m\\f149.bak"));
  ASSERT_TRUE(fs.ListFolder(Keep(), entries));
  EXPECT_TRUE(entries.empty() || entries.size() == 2u) << entries.size();  // only "." and ".."
}

TEST_F(Keeping, RestorePutsBackNeverOverAnotherFileAndRefusesWhatChanged) {
  fs.AddFile(L"T:\\e.bak", 5);
  fs.AddFile(L"T:\\f.bak", 6);
  const FileId id = fs.Open(L"T:\\d\\b.bak")->id;
  engine.CleanClick({false, {L"T:"}});
  ASSERT_TRUE(fs.RemoveFolder(L"T:\\d", {}));
  fs.AddFile(L"T:\\a.bak", 1);                                // its place is taken
  fs.ReplaceWithFileLink(KeptAt(2), L"T:\\elsewhere", true);  // a link put in the folder
  fs.SetSize(KeptAt(3), 7);                                   // not what its record says
  const std::vector<FileResult> results = Restore(fs, Runs()[0]);
  std::vector<FileOutcome> outcomes;
  for (const auto& result : results) outcomes.push_back(result.outcome);
  EXPECT_EQ(outcomes, (std::vector<FileOutcome>{FileOutcome::PlaceTaken, FileOutcome::Refused, FileOutcome::Refused,
                                                FileOutcome::Restored, FileOutcome::Restored}));
  EXPECT_EQ(fs.Open(L"T:\\d\\b.bak")->id, id);  // its folder made again
  EXPECT_TRUE(fs.Exists(L"T:\\d\\c.bak"));
  EXPECT_EQ(fs.AttributesOf(L"T:\\a.bak"), FileAttr::Archive);  // the other file stays as it was
  EXPECT_TRUE(fs.Exists(KeptAt(1)));
  EXPECT_FALSE(fs.Exists(L"T:\\elsewhere"));
  EXPECT_EQ(Runs()[0].keptFiles, 3u);
  // Purging deletes what may be deleted; the record stays while something is left.
  outcomes.clear();
  for (const auto& result : Purge(fs, Runs()[0])) outcomes.push_back(result.outcome);
  EXPECT_EQ(outcomes, (std::vector<FileOutcome>{FileOutcome::Purged, FileOutcome::Refused, FileOutcome::Refused,
                                                FileOutcome::NotKept, FileOutcome::NotKept}));
  EXPECT_FALSE(fs.Exists(KeptAt(1)));
  ASSERT_EQ(Runs().size(), 1u);
  fs.SetSize(KeptAt(3), 6);
  fs.ReplaceWithFolder(KeptAt(2));
  Purge(fs, Runs()[0]);
  EXPECT_TRUE(Runs().empty());
}

TEST_F(Keeping, OldRunsGoAndOldestFirstWhileTheVolumeIsShort) {
  const auto runAt = [&](uint64_t wall, const std::wstring& name, uint64_t size) {
    clock.wall = wall;
    fs.AddFile(L"T:\\" + name, size);
    engine.CleanClick({false, {L"T:"}});
  };
  const uint64_t now = 140 * kDay;
  runAt(now - 6 * kDay, L"old.bak", 10);
  runAt(now - 3 * kDay, L"mid.bak", 30);
  runAt(now - 2 * kDay, L"new.bak", 30);
  runAt(now - kDay, L"newest.bak", 10);
  ASSERT_EQ(Runs().size(), 4u);
  fs.spaces[L"T:"] = {true, 1000000, 500000};
  ReclaimSpace(fs, {L"T:"}, now, {7});
  EXPECT_EQ(Runs().size(), 4u);
  ReclaimSpace(fs, {L"T:"}, now + 2 * kDay, {7});
  EXPECT_EQ(Runs().size(), 3u);
  fs.spaces[L"T:"] = {true, 1000, 500};  // 70 bytes kept, 50 allowed
  ReclaimSpace(fs, {L"T:"}, now, {});
  ASSERT_EQ(Runs().size(), 2u);
  EXPECT_EQ(Runs()[1].keptBytes, 30u);
  fs.spaces[L"T:"] = {true, 1000, 20};  // little free room: 30 more give 50
  ReclaimSpace(fs, {L"T:"}, now, {});
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0].keptBytes, 10u);
  // The engine gives the room back at the end of its runs, with the days of the file.
  settings.Update([](IniDocument& d) { d.Write(L"Restore", L"Days", L"0"); });
  clock.wall = now + kDay;
  fs.AddFile(L"T:\\x.bak", 1);
  engine.CleanClick({false, {L"T:"}});
  EXPECT_TRUE(Runs().empty());
  EXPECT_EQ(view.Texts(), Lines{L"T:\\x.bak (Убит!)"});
}

// Where no keep folder can be made, or its record cannot be written, files go for good as before,
// and the record at home says they cannot come back.
TEST_F(Keeping, WithoutAKeepFolderFilesAreDeletedAsBeforeAndRecordedLost) {
  fs.failKeepFolder.insert(L"T:");
  engine.CleanClick({false, {L"T:"}});
  EXPECT_EQ(view.status, L" Итого очищено: 3 ====> Размер: 3 kb ====> Каталогов: 2");
  EXPECT_TRUE(fs.keptFiles.empty());
  EXPECT_EQ(fs.FileCount(), 0u);
  std::vector<KeptRun> runs = Runs({L"T:", L"H:"});
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].lostFiles, 3u);
  EXPECT_EQ(runs[0].keptFiles, 0u);

  fs.failKeepFolder.clear();
  fs.AddFile(L"T:\\a.bak", 1);
  fs.AddFile(L"T:\\b.bak", 1);
  clock.wall += 1;
  fs.failAppend.insert(UpperCase(Keep() + L"\\" + RecordName(clock.wall)));
  engine.CleanClick({false, {L"T:"}});
  EXPECT_EQ(view.Texts(), (Lines{L"T:\\a.bak (Убит!)", L"T:\\b.bak (Убит!)"}));
  EXPECT_TRUE(fs.keptFiles.empty());
  runs = Runs({L"T:", L"H:"});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].lostFiles, 2u);
}

TEST_F(Keeping, DeleteAndNightFlyAreKeptAsTheirCommandsAndTempCleanupIsNot) {
  engine.SearchClick({false, {L"T:"}});
  engine.Finds().SetTicked(0, false);
  engine.DeleteClick();
  clock.wall += kDay;
  fs.AddFile(L"T:\\Temp\\t");
  fs.tempPath = L"T:\\Temp\\";
  engine.NightFly({false, {L"T:"}});
  state.WarnTmp = false;
  EXPECT_EQ(engine.TmpClick().killedFiles, 1u);
  const std::vector<KeptRun> runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].command, KeptCommand::NightFly);
  EXPECT_EQ(runs[0].keptFiles, 1u);
  EXPECT_EQ(runs[1].command, KeptCommand::Delete);
  EXPECT_EQ(runs[1].keptFiles, 2u);
  EXPECT_EQ(fs.keptFiles, (Lines{L"T:\\d\\b.bak", L"T:\\d\\c.bak", L"T:\\a.bak"}));
}

}  // namespace
}  // namespace krelmix

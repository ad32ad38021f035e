#include <gtest/gtest.h>

#include "FakeAutostart.h"
#include "FakeStorage.h"
#include "common/OptionsSettings.h"

namespace krelmix {
namespace {

const std::wstring kPath = L"T:\\Krelmix\\Krelmix.ini";
const std::wstring kProgram = L"C:\\Program Files\\Krelmix\\Krelmix.exe";
const FolderTest kNoFolders = [](const std::wstring&) { return false; };

// Records what the settings file held when each registry call came.
class WatchingAutostart : public test::FakeAutostart {
 public:
  explicit WatchingAutostart(test::FakeStorage& storage) : storage_(storage) {}
  std::vector<std::string> fileAtCall;
  bool SetValue(const std::wstring& name, const std::wstring& data) override {
    fileAtCall.push_back(storage_.files[kPath]);
    return FakeAutostart::SetValue(name, data);
  }
  void RemoveValue(const std::wstring& name) override {
    fileAtCall.push_back(storage_.files[kPath]);
    FakeAutostart::RemoveValue(name);
  }
  bool RemoveMachineValue(const std::wstring& name) override {
    fileAtCall.push_back(storage_.files[kPath]);
    return FakeAutostart::RemoveMachineValue(name);
  }

 private:
  test::FakeStorage& storage_;
};

struct Fixture {
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile file{storage, codec, kPath};
  WatchingAutostart registry{storage};
  ProgramState state;
};

OptionsContent Content(std::array<bool, kOptionRowCount> rows, bool useSounds) {
  OptionsContent content;
  content.rows = rows;
  content.masks = {{L"*.bak", true}, {L"*.old", false}};
  content.excludes = {{L"C:\\Keep", true}};
  content.useSounds = useSounds;
  return content;
}

const char kSaved[] =
    "[Area]\r\nC=1\r\n[Kill]\r\n*.bak=1\r\n*.old=0\r\n[ExcludeDir]\r\nC:\\Keep=1\r\n"
    "[Options]\r\n0=0\r\n1=1\r\n2=0\r\n3=1\r\n4=1\r\n5=1\r\n[UseSoundz]\r\nSubj=0\r\n";

TEST(OptionsSave, WritesTheFileWholeInOneReplacementThenTheRegistryAndTheState) {
  Fixture f;
  f.storage.files[kPath] = "[Kill]\r\n*.tmp=1\r\n[Area]\r\nC=1\r\n[Options]\r\n0=1\r\n";
  const AutostartReport report =
      SaveOptions(Content({false, true, false, true, true, true}, false), kProgram, f.file, f.registry, f.state);
  EXPECT_FALSE(report.failedValue);
  EXPECT_TRUE(report.machineLeftovers.empty());
  EXPECT_EQ(f.storage.writes, 1);
  EXPECT_EQ(f.storage.files[kPath], kSaved);  // erased sections come back at the end, in save order
  EXPECT_EQ(f.registry.calls, (std::vector<std::wstring>{L"set Krelmix2001 erase", L"remove machine Krelmix2001 erase",
                                                         L"set Krelmix2001 TMP", L"remove machine Krelmix2001 TMP"}));
  for (const std::string& file : f.registry.fileAtCall) EXPECT_EQ(file, kSaved);
  EXPECT_EQ(f.registry.values[L"Krelmix2001 erase"], L"\"" + kProgram + L"\" /nightfly");
  EXPECT_EQ(f.registry.values[L"Krelmix2001 TMP"], L"\"" + kProgram + L"\" /nighttrash");
  EXPECT_FALSE(f.state.ShowSplash);
  EXPECT_TRUE(f.state.FollowReport);  // left to the next search's read
  EXPECT_FALSE(f.state.WarnTmp);
  EXPECT_TRUE(f.state.UseAnimation);
  EXPECT_FALSE(f.state.UseSounds);

  // Unticked, both values go; an absent value goes silently, every save.
  for (int save = 0; save < 2; ++save) SaveOptions(Content({}, true), kProgram, f.file, f.registry, f.state);
  EXPECT_TRUE(f.registry.values.empty());
  EXPECT_EQ(f.registry.calls.size(), 12u);
}

TEST(OptionsSave, ARefusedWriteIsReportedByNameAfterACompleteFile) {
  Fixture f;
  f.storage.files[kPath] = "[Area]\r\nC=1\r\n";
  f.registry.refuseWrites = true;
  const AutostartReport report =
      SaveOptions(Content({false, true, false, true, true, true}, false), kProgram, f.file, f.registry, f.state);
  ASSERT_TRUE(report.failedValue);
  EXPECT_EQ(AutostartWriteError(*report.failedValue).Message(), L"Failed to set data for 'Krelmix2001 erase'");
  EXPECT_EQ(f.storage.files[kPath], kSaved);
  EXPECT_EQ(f.registry.calls.size(), 4u);  // the second value was still tried
}

// Under User Account Control the machine's key refuses the user's writes: the values go under the
// user's key all the same, and a value an earlier version left for every user is reported.
TEST(OptionsSave, ValuesLeftForEveryUserAreRemovedWhenTheyCanBeAndReportedWhenNot) {
  Fixture f;
  f.registry.machineValues = {{L"Krelmix2001 erase", L"C:\\Old\\Krelmix.exe /nightfly"},
                              {L"Krelmix2001 TMP", L"C:\\Old\\Krelmix.exe /nighttrash"}};
  f.registry.refuseMachineWrites = true;
  AutostartReport report =
      SaveOptions(Content({false, false, false, true, false, false}, false), kProgram, f.file, f.registry, f.state);
  EXPECT_FALSE(report.failedValue);
  EXPECT_EQ(f.registry.values.size(), 1u);
  EXPECT_EQ(f.registry.values[L"Krelmix2001 erase"], L"\"" + kProgram + L"\" /nightfly");
  EXPECT_EQ(report.machineLeftovers, (std::vector<std::wstring>{L"Krelmix2001 erase", L"Krelmix2001 TMP"}));
  EXPECT_EQ(MachineLeftoverNotice({L"Krelmix2001 TMP"}),
            L"Очистка при загрузке остается включенной для всех пользователей, пока администратор не удалит запись "
            L"«Krelmix2001 TMP» из автозагрузки компьютера "
            L"(HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run).");

  f.registry.refuseMachineWrites = false;
  report = SaveOptions(Content({}, false), kProgram, f.file, f.registry, f.state);
  EXPECT_TRUE(report.machineLeftovers.empty());
  EXPECT_TRUE(f.registry.machineValues.empty());
  EXPECT_TRUE(f.registry.values.empty());
}

TEST(OptionsSave, ARefusedFileWriteChangesNeitherRegistryNorState) {
  Fixture f;
  f.storage.refuseWrites = true;
  EXPECT_THROW(
      SaveOptions(Content({false, false, false, true, true, true}, false), kProgram, f.file, f.registry, f.state),
      SettingsWriteError);
  EXPECT_TRUE(f.registry.calls.empty());
  EXPECT_TRUE(f.state.ShowSplash);
  EXPECT_FALSE(f.state.UseAnimation);
}

// The dialog's read and its save wait for a file held for a moment; one held for good raises,
// and the save then writes nothing and changes neither registry nor state.
TEST(OptionsSave, AHeldFileIsWaitedForAndAFileThatStaysHeldIsNeitherReadNorWritten) {
  Fixture f;
  f.storage.files[kPath] = "[Area]\r\nC=1\r\n[Kill]\r\n*.old=1\r\n";
  f.storage.heldReads = 2;
  OptionsContent content;
  EXPECT_TRUE(ReloadOptions(f.state, f.file, kNoFolders, content));
  EXPECT_EQ(content.masks.size(), 1u);
  f.storage.heldReads = 2;
  SaveOptions(Content({false, true, false, true, true, true}, false), kProgram, f.file, f.registry, f.state);
  EXPECT_EQ(f.storage.files[kPath], kSaved);

  f.storage.heldReads = test::FakeStorage::kAlways;
  f.registry.calls.clear();
  const ProgramState before = f.state;
  EXPECT_THROW(ReloadOptions(f.state, f.file, kNoFolders, content), SettingsReadError);
  EXPECT_THROW(SaveOptions(Content({}, true), kProgram, f.file, f.registry, f.state), SettingsReadError);
  EXPECT_EQ(f.storage.writes, 1);
  EXPECT_TRUE(f.registry.calls.empty());
  EXPECT_EQ(f.state.ShowSplash, before.ShowSplash);
  EXPECT_EQ(f.state.UseSounds, before.UseSounds);
}

TEST(OptionsReload, WithoutAFileRowsZeroToTwoComeFromMemoryAndTheRestStays) {
  Fixture f;
  f.state.FollowReport = false;
  OptionsContent content;
  content.rows[kAnimationRow] = true;
  content.masks = {{L"*.x", true}};
  EXPECT_FALSE(ReloadOptions(f.state, f.file, kNoFolders, content));
  EXPECT_EQ(content.rows, (std::array<bool, kOptionRowCount>{true, false, true, false, false, true}));
  EXPECT_EQ(content.masks.size(), 1u);
  EXPECT_TRUE(content.useSounds);
}

TEST(OptionsReload, RowsAreReadByNumberUpToTheKeyCountAndListsInFileOrder) {
  Fixture f;
  f.storage.files[kPath] = "[Options]\r\n4=1\r\n5=1\r\n[Kill]\r\n*.tmp=0\r\n*.bak=1\r\n[ExcludeDir]\r\nD:\\x=junk\r\n";
  OptionsContent content;
  content.rows = {true, true, true, true, true, false};
  content.masks = {{L"old", true}};
  EXPECT_TRUE(ReloadOptions(f.state, f.file, kNoFolders, content));
  // Two keys: rows 0 and 1 from keys "0" and "1" (missing, so off); rows 2 to 5 as they were.
  EXPECT_EQ(content.rows, (std::array<bool, kOptionRowCount>{false, false, true, true, true, false}));
  ASSERT_EQ(content.masks.size(), 2u);
  EXPECT_EQ(content.masks[0].text, L"*.tmp");
  EXPECT_FALSE(content.masks[0].ticked);
  EXPECT_TRUE(content.masks[1].ticked);
  ASSERT_EQ(content.excludes.size(), 1u);
  EXPECT_FALSE(content.excludes[0].ticked);
  EXPECT_FALSE(content.useSounds);  // UseSoundz missing: off
}

}  // namespace
}  // namespace krelmix

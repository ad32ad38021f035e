// The engine on real folders: a scratch tree on the test drive T: for the search, a scratch
// temporary folder for the cleanup, with a Unix link to a folder of canaries inside each.
#include <windows.h>
#include <gtest/gtest.h>

#include "../unit/FakeStorage.h"
#include "../unit/RecordingView.h"
#include "ScratchFolder.h"
#include "UnixLink.h"
#include "cleanup/CleanupEngine.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

namespace krelmix {
namespace {

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE file =
      CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(file, "garbage", 7, &written, nullptr);
  CloseHandle(file);
  SetFileAttributesW(ExtendedPath(path).c_str(), attributes);
}

void MakeFolder(const std::wstring& path) {
  ASSERT_TRUE(CreateDirectoryW(ExtendedPath(path).c_str(), nullptr)) << GetLastError();
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The temporary folder the cleanup is pointed at, instead of the real one.
class ScratchTempFileSystem : public Win32FileSystem {
 public:
  explicit ScratchTempFileSystem(std::wstring temp) : temp_(std::move(temp)) {}
  std::wstring TempPath() override { return temp_ + L"\\"; }

 private:
  std::wstring temp_;
};

class EngineOnDisk : public ::testing::Test {
 protected:
  EngineOnDisk() : tree_(L"T:\\krelmix-engine-" + std::to_wstring(GetCurrentProcessId())) {
    test::RemoveTree(tree_);
    CreateDirectoryW(tree_.c_str(), nullptr);
    state.ExeDir = L"T:\\no-program\\";
    state.WarnTmp = false;
    settings.Update([](IniDocument& d) {
      d.Write(L"Kill", L"*.krx", L"1");
      d.Write(L"Options", L"1", L"0");
    });
    // The canaries: a folder the walk must never reach, though a link inside the tree leads there.
    canaries = scratch.Path() + L"\\canaries";
    MakeFolder(canaries);
    MakeFolder(canaries + L"\\inner");
    for (const auto* name : {L"\\one.krx", L"\\two.tmp", L"\\inner\\three.krx", L"\\readonly.krx"})
      MakeFile(canaries + name);
    SetFileAttributesW((canaries + L"\\readonly.krx").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  ~EngineOnDisk() override {
    test::RemoveTree(tree_);
    test::RemoveTree(L"T:\\.KrelmixRestore");  // what the runs kept
  }

  void ExpectCanariesAlive() {
    for (const auto* name : {L"\\one.krx", L"\\two.tmp", L"\\inner\\three.krx", L"\\readonly.krx"})
      EXPECT_TRUE(Exists(canaries + name)) << "canary lost: " << testing::PrintToString(std::wstring(name));
    EXPECT_TRUE(GetFileAttributesW((canaries + L"\\readonly.krx").c_str()) & FILE_ATTRIBUTE_READONLY);
  }

  std::vector<std::wstring> OurLines() const {
    std::vector<std::wstring> lines;
    for (const auto& line : view.Texts())
      if (line.rfind(tree_ + L"\\", 0) == 0) lines.push_back(line.substr(tree_.size()));
    return lines;
  }

  const std::wstring tree_;
  test::ScratchFolder scratch{L"engine"};
  std::wstring canaries;
  test::FakeStorage storage;
  Cp1251Codec codec;
  SettingsFile settings{storage, codec, L"T:\\no-program\\Krelmix.ini"};
  test::RecordingView view;
  Win32Clock clock;
  ProgramState state;
};

TEST_F(EngineOnDisk, CleanFindsAndDeletesLongAndForeignNamesButNeverFollowsALink) {
  Win32FileSystem fs;
  CleanupEngine engine(state, fs, view, settings, clock);
  view.Watch(engine.Finds());
  std::wstring deep = tree_;
  for (int i = 0; i < 10; ++i) {
    deep += L"\\Вложенная папка с длинным именем " + std::to_wstring(i);
    MakeFolder(deep);
  }
  ASSERT_GT(deep.size(), 300u);
  MakeFile(tree_ + L"\\корень.krx", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  MakeFile(deep + L"\\глубоко.krx");
  MakeFolder(tree_ + L"\\文件夹");
  MakeFile(tree_ + L"\\文件夹\\垃圾.KRX");
  MakeFile(tree_ + L"\\keep.txt");
  ASSERT_TRUE(scratch.Link(tree_ + L"\\link", canaries));

  engine.CleanClick({false, {L"T:"}});

  const std::wstring deepLine = deep.substr(tree_.size()) + L"\\глубоко.krx (Убит!)";
  EXPECT_EQ(OurLines(), (std::vector<std::wstring>{L"\\корень.krx (Убит!)", deepLine.substr(0, deepLine.size()),
                                                   L"\\文件夹\\垃圾.KRX (Убит!)"}));
  EXPECT_FALSE(Exists(tree_ + L"\\корень.krx"));
  EXPECT_FALSE(Exists(deep + L"\\глубоко.krx"));
  EXPECT_FALSE(Exists(tree_ + L"\\文件夹\\垃圾.KRX"));
  EXPECT_TRUE(Exists(tree_ + L"\\keep.txt"));
  ExpectCanariesAlive();
}

// Under Windows' rules each folder of finds is opened once and its files by name relative to it,
// also below a path longer than MAX_PATH.
TEST_F(EngineOnDisk, UnderWindowsRulesCleanDeletesEachFindInItsFolder) {
  Win32FileSystem fs(Win32FileSystem::LinkRules::Windows);
  CleanupEngine engine(state, fs, view, settings, clock);
  view.Watch(engine.Finds());
  std::wstring deep = tree_;
  for (int i = 0; i < 10; ++i) {
    deep += L"\\Вложенная папка с длинным именем " + std::to_wstring(i);
    MakeFolder(deep);
  }
  MakeFile(tree_ + L"\\корень.krx", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  MakeFile(deep + L"\\один.krx");
  MakeFile(deep + L"\\два.krx");
  MakeFile(deep + L"\\keep.txt");
  engine.CleanClick({false, {L"T:"}});
  EXPECT_EQ(state.KilledFiles, 3u);
  EXPECT_EQ(state.FailedFiles, 0u);
  EXPECT_FALSE(Exists(tree_ + L"\\корень.krx"));
  EXPECT_FALSE(Exists(deep + L"\\один.krx"));
  EXPECT_TRUE(Exists(deep + L"\\keep.txt"));
}

TEST_F(EngineOnDisk, AFileThatResistsDeletionKeepsItsAttributes) {
  Win32FileSystem fs;
  CleanupEngine engine(state, fs, view, settings, clock);
  view.Watch(engine.Finds());
  const std::wstring held = tree_ + L"\\held.krx";
  MakeFile(held, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  // Open without FILE_SHARE_DELETE: the deletion is refused as on Windows.
  HANDLE handle =
      CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  const DWORD before = GetFileAttributesW(held.c_str());
  ASSERT_EQ(before & 0x7, DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
  engine.SearchClick({false, {L"T:"}});
  ASSERT_EQ(OurLines(), std::vector<std::wstring>{L"\\held.krx"});
  engine.DeleteClick();
  CloseHandle(handle);
  EXPECT_EQ(OurLines(), std::vector<std::wstring>{L"\\held.krx (Ошибка удаления)"});
  EXPECT_EQ(GetFileAttributesW(held.c_str()), before);
}

TEST_F(EngineOnDisk, TheTemporaryFolderIsEmptiedButALinkInItLeadsNowhere) {
  const std::wstring temp = scratch.Path() + L"\\temp";
  MakeFolder(temp);
  MakeFile(temp + L"\\a.tmp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  std::wstring deep = temp;
  for (int i = 0; i < 10; ++i) {
    deep += L"\\Временная папка с длинным именем " + std::to_wstring(i);
    MakeFolder(deep);
  }
  MakeFile(deep + L"\\b.tmp");
  MakeFolder(temp + L"\\Папка");
  MakeFile(temp + L"\\Папка\\文件");
  ASSERT_TRUE(scratch.Link(temp + L"\\Папка\\link", canaries));
  ScratchTempFileSystem fs(temp);
  CleanupEngine engine(state, fs, view, settings, clock);
  view.Watch(engine.Finds());

  const TempCleanResult result = engine.TmpClick();

  EXPECT_EQ(result.outcome, TempOutcome::Cleaned);
  EXPECT_EQ(result.killedFiles, 3u);
  EXPECT_EQ(result.killedBytes, 21u);
  EXPECT_EQ(result.failedFiles, 0u);
  EXPECT_FALSE(Exists(temp + L"\\a.tmp"));
  EXPECT_FALSE(Exists(temp + L"\\Временная папка с длинным именем 0"));
  EXPECT_TRUE(Exists(temp));
  ExpectCanariesAlive();
  // Windows removes the link and then its folder; Wine refuses the link, and so its folder stays.
  if (Exists(temp + L"\\Папка\\link")) {
    EXPECT_EQ(result.failedDirs, 2u);
    EXPECT_EQ(result.removedDirs, 10u);
  } else {
    EXPECT_EQ(result.failedDirs, 0u);
    EXPECT_EQ(result.removedDirs, 12u);
  }
}

TEST_F(EngineOnDisk, ATemporaryFolderThatIsALinkIsRefused) {
  const std::wstring temp = scratch.Path() + L"\\linked-temp";
  ASSERT_TRUE(scratch.Link(temp, canaries));
  ScratchTempFileSystem fs(temp);
  CleanupEngine engine(state, fs, view, settings, clock);
  view.Watch(engine.Finds());
  EXPECT_EQ(engine.TmpClick().outcome, TempOutcome::UnsafeFolder);
  EXPECT_EQ(view.messages, std::vector<std::wstring>{kTempFolderError});
  EXPECT_EQ(engine.NightTrash().outcome, TempOutcome::UnsafeFolder);
  ExpectCanariesAlive();
}

}  // namespace
}  // namespace krelmix

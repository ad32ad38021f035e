// The sound editor in this process, over settings held in memory, a file chooser that answers
// from the test and a sound output that records.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "../unit/FakeStorage.h"
#include "KeyPress.h"
#include "ScreenReader.h"
#include "common/StartupSettings.h"
#include "forms/SoundForm.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {
namespace {

const wchar_t kSettingsPath[] = L"C:\\Krelmix\\Krelmix.ini";

class RecordingSound : public SoundOutput {
 public:
  struct Call {
    std::wstring path;
    bool asynchronous, looping;
  };
  std::vector<Call> calls;
  void PlayFile(const std::wstring& path, bool asynchronous, bool looping) override {
    calls.push_back({path, asynchronous, looping});
  }
  void StopAll() override {}
};

struct Row {
  Row(std::wstring line = L"", bool on = false) : text(std::move(line)), ticked(on) {}
  std::wstring text;
  bool ticked;
  bool operator==(const Row& other) const { return text == other.text && ticked == other.ticked; }
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << '"' << std::string(row.text.begin(), row.text.end()) << '"' << (row.ticked ? "+" : "");
}

// One opening of the editor over the settings of `storage`, loaded as its activation does.
class Editor {
 public:
  Editor(test::FakeStorage& storage, RecordingSound& sound)
      : settings_(storage, codec_, kSettingsPath), form_(SoundEditorServices{settings_, sound}) {
    SetErrorReportHandler([this](HWND, const std::wstring& text) { errors.push_back(text); });
    form_.chooseSoundFile = [this](HWND) {
      ++dialogs;
      std::optional<std::wstring> answer = answers.front();
      answers.pop_front();
      return answer;
    };
    form_.CreateForm(nullptr);
    list_ = FindWindowExW(form_.Handle(), nullptr, L"LISTBOX", nullptr);
    SendMessageW(form_.Handle(), kFirstActivationMessage, 0, 0);
  }
  ~Editor() { SetErrorReportHandler(nullptr); }

  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(list_, LB_GETTEXTLEN, i, 0)), L'\0');
      SendMessageW(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      rows.push_back({text, SendMessageW(list_, LB_GETITEMDATA, i, 0) != 0});
    }
    return rows;
  }
  void Select(int row) { SendMessageW(list_, LB_SETCURSEL, row, 0); }
  int Selected() const { return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)); }
  // A press on the row's tick box.
  void ToggleTick(int row) {
    const LPARAM at = MAKELPARAM(5, row * 13 + 6);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list_, WM_LBUTTONUP, 0, at);
  }
  void Click(const wchar_t* caption) {
    const std::map<std::wstring, POINT> centres = {{L"Проба", {64, 220}},
                                                   {L"Нет", {179, 220}},
                                                   {L"Обзор", {293, 220}},
                                                   {L"Сохранить", {112, 262}},
                                                   {L"Отменить", {254, 262}}};
    const POINT p = centres.at(caption);
    SendMessageW(form_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(form_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
  // Browses for `file` (nothing: the user cancels) with `row` selected.
  void Choose(int row, std::optional<std::wstring> file) {
    Select(row);
    answers.push_back(std::move(file));
    Click(L"Обзор");
  }
  int ModalResult() const { return form_.CurrentModalResult(); }
  void ResetModalResult() { form_.SetModalResult(mrNone); }
  HWND Window() const { return form_.Handle(); }
  void ShowActive() {
    form_.Show();
    SetForegroundWindow(form_.Handle());
    SetFocus(list_);
  }
  // The sound slots the next start would fill from the file as it is now.
  std::array<std::wstring, 6> SlotsAtNextStart() const {
    ProgramState state;
    ReadStartupSettings(settings_.Load(), state);
    return state.SoundFiles;
  }

  std::deque<std::optional<std::wstring>> answers;
  int dialogs = 0;
  std::vector<std::wstring> errors;

 private:
  Win32AnsiCodec codec_;
  SettingsFile settings_;
  TSoundFRM form_;
  HWND list_ = nullptr;
};

std::vector<Row> EmptyRowsFrom(std::vector<Row> rows) {
  rows.resize(6);
  return rows;
}

TEST(SoundEditor, ShowsSixRowsWhateverTheSectionHolds) {
  const struct {
    std::string file;
    std::vector<Row> rows;
  } cases[] = {
      {"[Soundz]\r\na.wav=1\r\nb.wav=0\r\nc.wav=1\r\nd.wav=1\r\ne.wav=0\r\nf.wav=1\r\ng.wav=1\r\n",
       {{L"a.wav", true}, {L"b.wav", false}, {L"c.wav", true}, {L"d.wav", true}, {L"e.wav", false}, {L"f.wav", true}}},
      {"[Soundz]\r\na.wav=1\r\nb.wav=0\r\nc.wav=1\r\n",
       EmptyRowsFrom({{L"a.wav", true}, {L"b.wav", false}, {L"c.wav", true}})},
      {"", EmptyRowsFrom({})},
  };
  for (const auto& c : cases) {
    test::FakeStorage storage;
    if (!c.file.empty()) storage.files[kSettingsPath] = c.file;
    RecordingSound sound;
    Editor editor(storage, sound);
    EXPECT_EQ(editor.Rows(), c.rows) << c.file;
    EXPECT_EQ(editor.Selected(), -1);
    EXPECT_TRUE(editor.errors.empty()) << c.file;
  }
}

TEST(SoundEditor, BrowsedFileReplacesTheRowUntickedAndSaveWritesItInItsSlot) {
  test::FakeStorage storage;  // no settings file
  RecordingSound sound;
  Editor editor(storage, sound);
  editor.Click(L"Обзор");  // no row selected: nothing to choose for
  EXPECT_EQ(editor.dialogs, 0);

  editor.Choose(2, std::nullopt);
  editor.Choose(2, L"C:\\a=b.wav");  // a path no key can hold is refused
  EXPECT_EQ(editor.Rows(), EmptyRowsFrom({}));
  editor.Choose(2, L"C:\\Звуки\\tmp.wav");
  editor.Choose(4, L"C:\\found.wav");
  EXPECT_EQ(editor.Rows(), EmptyRowsFrom({{L""}, {L""}, {L"C:\\Звуки\\tmp.wav", false}, {L""}, {L"C:\\found.wav"}}));
  EXPECT_EQ(editor.Selected(), -1);
  editor.ToggleTick(2);

  editor.Click(L"Сохранить");
  EXPECT_EQ(editor.ModalResult(), mrOk);
  EXPECT_EQ(storage.writes, 1);
  EXPECT_EQ(editor.SlotsAtNextStart(), (std::array<std::wstring, 6>{L"", L"", L"C:\\Звуки\\tmp.wav", L"", L"", L""}));

  Editor reopened(storage, sound);
  EXPECT_EQ(reopened.Rows(), EmptyRowsFrom({{L""}, {L""}, {L"C:\\Звуки\\tmp.wav", true}, {L""}, {L"C:\\found.wav"}}));
}

TEST(SoundEditor, OneFileForTwoEventsKeepsEveryEventsSoundAfterARestart) {
  test::FakeStorage storage;
  storage.files[kSettingsPath] = "[Soundz]\r\ns.wav=1\r\nx.wav=1\r\nt.wav=1\r\nn.wav=1\r\nf.wav=1\r\nk.wav=1\r\n";
  RecordingSound sound;
  Editor editor(storage, sound);
  editor.Choose(1, L"C:\\Media\\Ding.wav");
  editor.Choose(3, L"C:\\Media\\ding.wav");
  editor.ToggleTick(1);
  editor.ToggleTick(3);
  editor.Click(L"Сохранить");

  const auto slots = editor.SlotsAtNextStart();
  EXPECT_EQ(slots[0], L"s.wav");
  EXPECT_EQ(slots[1], L"C:\\Media\\Ding.wav");
  EXPECT_EQ(PlainSoundPath(slots[3]), L"C:\\Media\\ding.wav");
  EXPECT_EQ(slots[4], L"f.wav");
  EXPECT_EQ(slots[5], L"k.wav");
  Editor reopened(storage, sound);
  EXPECT_EQ(reopened.Rows()[3], (Row{L"C:\\Media\\ding.wav", true}));
}

// The editor's rows come from the file even while another program holds it for a moment; held
// for good, the editor closes unsaved, since a save would write empty rows over the file.
TEST(SoundEditor, AHeldSettingsFileIsWaitedForAndOneThatStaysHeldClosesTheEditor) {
  test::FakeStorage storage;
  storage.files[kSettingsPath] = "[Soundz]\r\na.wav=1\r\n";
  RecordingSound sound;
  storage.heldReads = 3;
  {
    Editor editor(storage, sound);
    EXPECT_EQ(editor.Rows(), EmptyRowsFrom({{L"a.wav", true}}));
    EXPECT_TRUE(editor.errors.empty());
  }
  storage.heldReads = test::FakeStorage::kAlways;
  Editor editor(storage, sound);
  EXPECT_EQ(editor.errors, std::vector<std::wstring>{L"Не удалось прочитать файл настроек C:\\Krelmix\\Krelmix.ini"});
  EXPECT_EQ(editor.ModalResult(), mrCancel);
  editor.Click(L"Сохранить");  // even a press that still came would write nothing
  EXPECT_EQ(storage.writes, 0);
  EXPECT_EQ(storage.files[kSettingsPath], "[Soundz]\r\na.wav=1\r\n");
}

TEST(SoundEditor, CancelWritesNothingARefusedSaveIsReportedAndStillCloses) {
  test::FakeStorage storage;
  const std::string before = "[Soundz]\r\na.wav=1\r\n";
  storage.files[kSettingsPath] = before;
  RecordingSound sound;
  {
    Editor editor(storage, sound);
    editor.Choose(0, L"C:\\new.wav");
    editor.Click(L"Отменить");
    EXPECT_EQ(editor.ModalResult(), mrCancel);
  }
  EXPECT_EQ(storage.writes, 0);
  EXPECT_EQ(storage.files[kSettingsPath], before);

  storage.refuseWrites = true;
  Editor editor(storage, sound);
  editor.Click(L"Сохранить");
  EXPECT_EQ(editor.ModalResult(), mrOk);
  EXPECT_EQ(editor.errors, std::vector<std::wstring>{L"Unable to write to C:\\Krelmix\\Krelmix.ini"});
}

TEST(SoundEditor, TryOutPlaysTheSelectedRowsFileOnceWithoutWaitingTickedOrNot) {
  test::FakeStorage storage;
  storage.files[kSettingsPath] = "[Soundz]\r\nsounds\\start.wav=1\r\nC:\\missing.wav=0\r\n";
  RecordingSound sound;
  Editor editor(storage, sound);
  editor.Click(L"Проба");  // nothing selected
  editor.Select(2);        // an empty row
  editor.Click(L"Проба");
  editor.Click(L"Нет");
  EXPECT_TRUE(sound.calls.empty());

  editor.Select(0);
  editor.Click(L"Проба");
  editor.Select(1);
  editor.Click(L"Проба");
  ASSERT_EQ(sound.calls.size(), 2u);
  EXPECT_EQ(sound.calls[0].path, L"C:\\Krelmix\\sounds\\start.wav");  // from the program's folder
  EXPECT_EQ(sound.calls[1].path, L"C:\\missing.wav");
  for (const auto& call : sound.calls) {
    EXPECT_TRUE(call.asynchronous);
    EXPECT_FALSE(call.looping);
  }
}

void Press(UINT key) { test::PressKey(key); }

TEST(SoundEditorKeys, TabReachesEveryControlEnterSavesEscCancels) {
  test::ComScope com;
  test::FakeStorage storage;
  storage.files[kSettingsPath] = "[Soundz]\r\na.wav=1\r\n";
  RecordingSound sound;
  Editor editor(storage, sound);
  editor.ShowActive();
  std::vector<std::wstring> order;
  for (int step = 0; step < 7; ++step) {
    if (step > 0) Press(VK_TAB);
    order.push_back(test::FocusedName(test::ReadWindow(editor.Window())));
  }
  EXPECT_EQ(order, (std::vector<std::wstring>{L"Звуковой файл", L"Проба", L"Нет", L"Обзор", L"Сохранить", L"Отменить",
                                              L"Звуковой файл"}));
  Press(VK_ESCAPE);
  EXPECT_EQ(editor.ModalResult(), mrCancel);
  EXPECT_EQ(storage.writes, 0);
  editor.ResetModalResult();
  editor.ToggleTick(0);
  Press(VK_RETURN);
  EXPECT_EQ(editor.ModalResult(), mrOk);
  EXPECT_EQ(storage.writes, 1);
  EXPECT_EQ(editor.Rows()[0], Row(L"a.wav", false));
}

}  // namespace
}  // namespace krelmix

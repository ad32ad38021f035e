// The sound editor as the user meets it: opened from the options dialog, a file chosen in the real
// file-open dialog by typing its path, saved and heard at the next start; cancelled; and opened
// with no settings file at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

const wchar_t kSoundFolder[] = L"T:\\Звуки";
const wchar_t kChosenSound[] = L"T:\\Звуки\\старт.wav";
const std::string kSettings =
    "[Options]\r\n0=0\r\n[UseSoundz]\r\nSubj=1\r\n[Soundz]\r\nsounds\\start.wav=1\r\nsounds\\exit.wav=1\r\n"
    "sounds\\tmp.wav=1\r\nsounds\\nothing.wav=1\r\nsounds\\found.wav=1\r\nsounds\\killed.wav=1\r\n";

// A tenth of a second of silence, a WAV file any player takes.
void MakeWave(const std::wstring& path) {
  const uint32_t rate = 8000, samples = 800;
  auto u32 = [](std::ofstream& out, uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](std::ofstream& out, uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << "RIFF";
  u32(out, 36 + samples);
  out << "WAVEfmt ";
  u32(out, 16);
  u16(out, 1);  // PCM, one channel, 8 bits
  u16(out, 1);
  u32(out, rate);
  u32(out, rate);
  u16(out, 1);
  u16(out, 8);
  out << "data";
  u32(out, samples);
  out << std::string(samples, '\x80');
}

// "Настройки", then "Настроить звуки" in the options dialog.
HWND OpenSoundEditor(RunningProgram& program, HWND* options) {
  if (!program.MainWindow()) return nullptr;
  program.ClickControl(L"SpeedButton8");
  *options = program.WaitForWindow(L"TOptionsForm");
  if (!*options) return nullptr;
  Sleep(300);
  ClickControlOf(*options, L"SpeedButton5");
  HWND editor = program.WaitForWindow(L"TSoundFRM");
  Sleep(300);
  return editor;
}

HWND ListOf(HWND editor) { return FindWindowExW(editor, nullptr, L"ListBox", nullptr); }

void ClickRow(HWND editor, int row, bool onTickBox) { ClickAt(ListOf(editor), {onTickBox ? 6 : 80, row * 13 + 6}); }

HWND FileNameBox(HWND dialog) {
  for (int id : {0x480, 0x47C}) {  // the name box, or the combo box that holds it
    HWND box = GetDlgItem(dialog, id);
    if (box && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

// "Обзор" with `row` selected; the path typed into the file-open dialog and confirmed with Enter.
void ChooseByTyping(RunningProgram& program, HWND editor, int row, const std::wstring& path) {
  ClickRow(editor, row, false);
  ClickControlOf(editor, L"SpeedButton5");
  HWND dialog = program.WaitForWindow(L"#32770");
  ASSERT_NE(dialog, nullptr) << "no file-open dialog";
  Sleep(500);
  HWND box = FileNameBox(dialog);
  ASSERT_NE(box, nullptr);
  RECT r{};
  GetClientRect(box, &r);
  ClickAt(box, {8, r.bottom / 2});
  TypeText(path);
  TapKey(VK_RETURN);
  for (int i = 0; i < 50 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) Sleep(100);
  ASSERT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog)) << "the file-open dialog stayed open";
}

// A path as Wine's trace writes it: backslashes doubled, other than printable ASCII as \XXXX.
std::string AsTraced(const std::wstring& path) {
  std::string out;
  char code[8];
  for (wchar_t c : path) {
    if (c == L'\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7F) {
      snprintf(code, sizeof code, "\\%04x", static_cast<unsigned>(c));
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Whether the trace shows the file opened: its CreateFileW followed by a handle, not an error.
bool TraceShowsOpened(const std::wstring& trace, const std::wstring& path) {
  std::ifstream in{std::filesystem::path(trace)};
  const std::string wanted = "CreateFileW L\"" + AsTraced(path) + "\"";
  bool asked = false;
  for (std::string line; std::getline(in, line);) {
    if (line.find("trace:file:CreateFileW L\"") != std::string::npos) {
      asked = line.find(wanted) != std::string::npos;
    } else if (asked && line.find("trace:file:CreateFileW returning") != std::string::npos) {
      const std::string handle = line.substr(line.find_last_of(' ') + 1);
      if (handle.find_first_not_of("F\r") != std::string::npos) return true;
      asked = false;
    }
  }
  return false;
}

TEST(SoundEditor, AFileChosenInTheDialogIsSavedAndPlaysAtTheNextStart) {
  ClearScratchDrive();
  MakeFolder(kSoundFolder);
  MakeWave(kChosenSound);
  RunningProgram program(kSettings);
  // Both starts go through the shell: under Wine, once a program that this process had started
  // itself had ended, a program started through the shell no longer answered its messages.
  program.StartTracingFiles(program.Folder() + L"\\first-trace.txt");
  HWND options = nullptr;
  HWND editor = OpenSoundEditor(program, &options);
  ASSERT_NE(editor, nullptr);
  ChooseByTyping(program, editor, 0, kChosenSound);
  EXPECT_EQ(ListLine(ListOf(editor), 0), kChosenSound);
  EXPECT_EQ(ListTicks(ListOf(editor))[0], false);  // a chosen file starts unticked
  EXPECT_EQ(SendMessageW(ListOf(editor), LB_GETCURSEL, 0, 0), LB_ERR);
  ClickRow(editor, 0, true);
  ASSERT_EQ(ListTicks(ListOf(editor))[0], true);
  ClickControlOf(editor, L"SpeedButton1");  // "Сохранить"
  EXPECT_TRUE(GoneWithin(editor, 5000));
  ClickControlOf(options, L"SpeedButton4");  // the options dialog's "Отмена" keeps the sounds saved
  EXPECT_TRUE(GoneWithin(options, 5000));
  PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(15000));

  const std::wstring trace = program.Folder() + L"\\trace.txt";
  program.StartTracingFiles(trace);
  bool opened = false;
  for (int i = 0; i < 100 && !(opened = TraceShowsOpened(trace, kChosenSound)); ++i) Sleep(100);
  EXPECT_TRUE(opened) << "the start did not open " << AsTraced(kChosenSound);
  // And the editor shows the file again, ticked, with the other events where they were.
  editor = OpenSoundEditor(program, &options);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ListLines(ListOf(editor)),
            (std::vector<std::wstring>{kChosenSound, L"sounds\\exit.wav", L"sounds\\tmp.wav", L"sounds\\nothing.wav",
                                       L"sounds\\found.wav", L"sounds\\killed.wav"}));
  EXPECT_EQ(ListTicks(ListOf(editor)), std::vector<bool>(6, true));
}

TEST(SoundEditor, CancelAfterChoosingLeavesTheFileAsItWas) {
  ClearScratchDrive();
  MakeFolder(kSoundFolder);
  MakeWave(kChosenSound);
  RunningProgram program(kSettings);
  program.Start();
  HWND options = nullptr;
  HWND editor = OpenSoundEditor(program, &options);
  ASSERT_NE(editor, nullptr);
  ChooseByTyping(program, editor, 3, kChosenSound);
  EXPECT_EQ(ListLine(ListOf(editor), 3), kChosenSound);
  ClickControlOf(editor, L"SpeedButton2");  // "Отменить"
  EXPECT_TRUE(GoneWithin(editor, 5000));
  EXPECT_EQ(program.SettingsBytes(), kSettings);
}

TEST(SoundEditor, WithoutASettingsFileSixEmptyRowsAndNoError) {
  RunningProgram program("", false);
  program.Start();
  HWND options = nullptr;
  HWND editor = OpenSoundEditor(program, &options);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ListLines(ListOf(editor)), std::vector<std::wstring>(6));
  EXPECT_EQ(ListTicks(ListOf(editor)), std::vector<bool>(6, false));
  EXPECT_EQ(program.WaitForWindow(L"#32770", 1500), nullptr) << "an error was reported";
  ClickControlOf(editor, L"SpeedButton2");
  EXPECT_TRUE(GoneWithin(editor, 5000));
  EXPECT_FALSE(program.SettingsExist());
}

}  // namespace

}  // namespace krelmix::e2e

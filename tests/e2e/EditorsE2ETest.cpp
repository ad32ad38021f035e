// The mask and exclusion editors of the options dialog with real typing and clicks: what they take
// and refuse, what "Сохранить" writes, and what the next search does with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "Scratch.h"

namespace krelmix::e2e {

namespace {

// Replaces the text box's text by typing: a click into it, Home, Shift+End, then the characters.
void TypeInto(HWND editor, const std::wstring& text) {
  ClickControlOf(editor, L"Edit1");
  SendKey(VK_HOME, false);
  SendKey(VK_HOME, true);
  SendKey(VK_SHIFT, false);
  SendKey(VK_END, false);
  SendKey(VK_END, true);
  SendKey(VK_SHIFT, true);
  SendKey(VK_DELETE, false);
  SendKey(VK_DELETE, true);
  TypeText(text);
  Sleep(200);
}

HWND EditorList(HWND editor) { return FindWindowExW(editor, nullptr, L"ListBox", nullptr); }

// Opens "Настройки" and, by its button, one of the editors; null when a window did not come.
HWND OpenEditor(RunningProgram& program, const wchar_t* button, const wchar_t* editorClass, HWND* dialog) {
  program.ClickControl(L"SpeedButton8");
  *dialog = program.WaitForWindow(L"TOptionsForm");
  if (!*dialog) return nullptr;
  ClickControlOf(*dialog, button);
  return program.WaitForWindow(editorClass);
}

void Close(RunningProgram& program) {
  program.ClickControl(L"SpeedButton7");
  EXPECT_TRUE(program.WaitForExit(15000));
}

}  // namespace

TEST(EditorsE2E, MasksAddedInTheEditorAreSavedInOrderWithTheirTicksAndSearched) {
  ClearScratchDrive();
  MakeFile(L"T:\\k\\a.old");
  MakeFile(L"T:\\k\\b.bak");
  MakeFile(L"T:\\k\\c.exe");
  std::string saved;
  {
    RunningProgram program(SettingsTickingScratch());
    program.Start(L"");
    HWND main = program.MainWindow();
    ASSERT_TRUE(main);
    HWND dialog = nullptr;
    HWND editor = OpenEditor(program, L"SpeedButton1", L"TFileTypeForm", &dialog);
    ASSERT_TRUE(editor);
    for (const wchar_t* mask : {L"*.BAK", L"*.old", L"*.EXE", L"*"}) {
      TypeInto(editor, mask);
      ClickControlOf(editor, L"SpeedButton1");
    }
    HWND list = EditorList(editor);
    EXPECT_EQ(ListLines(list), (std::vector<std::wstring>{L"*.BAK", L"*.old"}));
    EXPECT_EQ(ListTicks(list), (std::vector<bool>{false, false}));
    ClickAt(list, {5, 16 + 8});  // the tick box of "*.old"
    Sleep(150);
    EXPECT_EQ(ListTicks(list), (std::vector<bool>{false, true}));
    ClickControlOf(dialog, L"SpeedButton3");  // "Сохранить"
    saved = program.SettingsBytes();
    EXPECT_NE(saved.find("[Kill]\r\n*.BAK=0\r\n*.old=1\r\n"), std::string::npos) << saved;
    Close(program);
  }
  RunningProgram program(saved);
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  HWND dialog = nullptr;
  HWND editor = OpenEditor(program, L"SpeedButton1", L"TFileTypeForm", &dialog);
  ASSERT_TRUE(editor);
  EXPECT_EQ(ListLines(EditorList(editor)), (std::vector<std::wstring>{L"*.BAK", L"*.old"}));
  EXPECT_EQ(ListTicks(EditorList(editor)), (std::vector<bool>{false, true}));
  ClickControlOf(dialog, L"SpeedButton4");  // "Отмена"
  program.ClickControl(L"SpeedButton2");
  WaitUntilIdle(main);
  EXPECT_EQ(ListLines(program.FoundList()), (std::vector<std::wstring>{L"T:\\k\\a.old"}));
}

TEST(EditorsE2E, AFolderExcludedInAnotherCaseWithATrailingBackslashIsSkipped) {
  ClearScratchDrive();
  MakeFile(L"T:\\Keep\\Inner\\a.bak");
  MakeFile(L"T:\\Other\\b.bak");
  RunningProgram program(SettingsTickingScratch());
  program.Start(L"");
  HWND main = program.MainWindow();
  ASSERT_TRUE(main);
  HWND dialog = nullptr;
  HWND editor = OpenEditor(program, L"SpeedButton2", L"TExcludeForm", &dialog);
  ASSERT_TRUE(editor);
  TypeInto(editor, L"t:\\KEEP\\");
  ClickControlOf(editor, L"SpeedButton1");
  HWND list = EditorList(editor);
  ASSERT_EQ(ListLines(list), std::vector<std::wstring>{L"t:\\KEEP\\"});
  ClickAt(list, {5, 8});
  Sleep(150);
  ClickControlOf(dialog, L"SpeedButton3");  // "Сохранить"
  EXPECT_NE(program.SettingsBytes().find("[ExcludeDir]\r\nt:\\KEEP\\=1\r\n"), std::string::npos);
  program.ClickControl(L"SpeedButton2");
  WaitUntilIdle(main);
  EXPECT_EQ(ListLines(program.FoundList()), std::vector<std::wstring>{L"T:\\Other\\b.bak"});
}

}  // namespace krelmix::e2e

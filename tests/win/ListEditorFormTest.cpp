// The mask and exclusion editors in this process: typed text, presses on their buttons and list,
// and the folder browser replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "KeyPress.h"
#include "ScreenReader.h"
#include "forms/ExcludeForm.h"
#include "forms/FileTypeForm.h"

namespace krelmix {
namespace {

using Entries = std::vector<std::pair<std::wstring, bool>>;

// Drives one editor as the user would, through its window's messages.
class EditorDriver {
 public:
  explicit EditorDriver(ListEditorForm& form) : form_(form) {
    form_.beep = [this] { ++beeps; };
    form_.CreateEditor(nullptr);
    form_.Show();
    edit_ = FindWindowExW(form_.Handle(), nullptr, L"Edit", nullptr);
    list_ = FindWindowExW(form_.Handle(), nullptr, L"ListBox", nullptr);
  }
  void Type(const std::wstring& text) const { SetWindowTextW(edit_, text.c_str()); }
  std::wstring Typed() const {
    wchar_t text[512] = L"";
    GetWindowTextW(edit_, text, 512);
    return text;
  }
  void Press(int x, int y) const {
    SendMessageW(form_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void Add() const { Press(60, 236); }
  // A key where the keyboard focus is.
  void Key(HWND focus, UINT key) const {
    SetFocus(focus);
    test::PressKey(key);
  }
  void Remove() const { Press(60, 264); }
  void ClickRow(int row, UINT message = WM_LBUTTONDOWN) const {
    const LPARAM at = MAKELPARAM(50, row * 16 + 8);
    SendMessageW(list_, message, MK_LBUTTON, at);
    SendMessageW(list_, WM_LBUTTONUP, 0, at);
  }
  void MoveOver(HWND control, int x, int y) const { SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  Entries Listed() const {
    Entries out;
    for (const ListEntry& entry : form_.Entries()) out.emplace_back(entry.text, entry.ticked);
    return out;
  }
  // One field of a control's line in the window's own description: 2-5 the place, 9 the hint.
  std::wstring Field(const std::wstring& control, int field) const {
    std::wstringstream lines(form_.DescribeControls());
    for (std::wstring line; std::getline(lines, line);) {
      if (line.rfind(control + L"\t", 0) != 0) continue;
      std::wstringstream fields(line);
      std::wstring value;
      for (int i = 0; i <= field; ++i) std::getline(fields, value, L'\t');
      return value;
    }
    return L"<missing>";
  }
  std::wstring Place(const std::wstring& control) const {
    std::wstring place;
    for (int field = 2; field <= 5; ++field) place += Field(control, field) + (field < 5 ? L"," : L"");
    return place;
  }

  int beeps = 0;
  HWND edit_ = nullptr, list_ = nullptr;

 private:
  ListEditorForm& form_;
};

TEST(ListEditor, TheMaskEditorAddsNewMasksUntickedAndRefusesWhatTheSearchNeverUses) {
  TFileTypeForm form;
  EditorDriver editor(form);
  EXPECT_EQ(editor.Place(L"CheckListBox1"), L"7,44,106,176");
  EXPECT_EQ(editor.Place(L"Edit1"), L"7,23,106,16");
  editor.Type(L"*.BAK");
  editor.Add();
  for (const wchar_t* refused : {L"*.EXE", L"*.exe", L"*.Sys", L"*.*", L"*", L"", L"..\\*.bak", L"a=b.tmp"}) {
    editor.Type(refused);
    editor.Add();
    EXPECT_EQ(editor.Typed(), refused);  // the text box keeps its text
  }
  EXPECT_EQ(editor.beeps, 8);
  editor.Type(L"*.BAK");
  editor.Add();  // a duplicate: nothing added, no beep
  editor.Type(L"*.bak");
  editor.Add();  // another letter case is another entry
  EXPECT_EQ(editor.beeps, 8);
  EXPECT_EQ(editor.Listed(), (Entries{{L"*.BAK", false}, {L"*.bak", false}}));
}

TEST(ListEditor, ClickDoubleClickRemoveAndTheDialogsReload) {
  TFileTypeForm form;
  EditorDriver editor(form);
  form.AppendEntry(L"*.old", true);
  form.AppendEntry(L"*.tmp", false);
  editor.Remove();  // nothing selected
  EXPECT_EQ(editor.beeps, 1);
  editor.ClickRow(1);
  EXPECT_EQ(editor.Typed(), L"*.tmp");
  editor.Add();  // the clicked entry is in the list already
  editor.ClickRow(1, WM_LBUTTONDBLCLK);
  EXPECT_EQ(editor.Listed(), (Entries{{L"*.old", true}, {L"*.tmp", true}}));
  editor.Remove();
  EXPECT_EQ(editor.Listed(), (Entries{{L"*.old", true}}));
  EXPECT_EQ(editor.beeps, 1);
  form.ClearEntries();
  EXPECT_TRUE(form.Entries().empty());
  EXPECT_EQ(editor.Typed(), L"");
}

TEST(ListEditor, TheExclusionEditorRefusesDriveRootsAndKeepsFoldersAsTyped) {
  TExcludeForm form;
  EditorDriver editor(form);
  EXPECT_EQ(editor.Place(L"CheckListBox1"), L"8,55,106,160");
  EXPECT_EQ(editor.Place(L"SpeedButton3"), L"97,36,16,16");
  for (const wchar_t* root : {L"c:\\", L"C:\\", L"D:\\", L"C:", L"C:/", L"C:\\a=b"}) {
    editor.Type(root);
    editor.Add();
  }
  EXPECT_EQ(editor.beeps, 6);
  editor.Type(L"c:\\Temp\\");
  editor.Add();
  EXPECT_EQ(editor.Listed(), (Entries{{L"c:\\Temp\\", false}}));
}

TEST(ListEditor, TheExclusionTooltipsShowTheTextBoxAndTheEntryUnderTheMouse) {
  TExcludeForm form;
  EditorDriver editor(form);
  form.AppendEntry(L"C:\\One", false);
  form.AppendEntry(L"C:\\Two", false);
  editor.MoveOver(editor.list_, 50, 16 + 8);
  EXPECT_EQ(editor.Field(L"CheckListBox1", 9), L"C:\\Two");
  editor.MoveOver(editor.list_, 50, 150);  // below the entries: the tooltip keeps its text
  EXPECT_EQ(editor.Field(L"CheckListBox1", 9), L"C:\\Two");
  editor.Type(L"D:\\A rather long folder name");
  editor.MoveOver(editor.edit_, 5, 5);
  EXPECT_EQ(editor.Field(L"Edit1", 9), L"D:\\A rather long folder name");
}

// The options dialog, topmost otherwise, is not while the browser shows; a cancel keeps the text.
TEST(ListEditor, TheFolderBrowserFillsTheTextBoxWithTheDialogNotTopmostMeanwhile) {
  HWND dialog = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"dialog", WS_POPUP | WS_VISIBLE, 0, 0, 360, 286, nullptr,
                                nullptr, nullptr, nullptr);
  TExcludeForm form;
  form.beep = [] {};
  form.CreateEditor(dialog);
  std::vector<bool> topmostWhileBrowsing;
  std::optional<std::wstring> answer = L"C:\\Picked";
  form.browseForFolder = [&](HWND owner) {
    EXPECT_EQ(owner, form.Handle());
    topmostWhileBrowsing.push_back((GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    return answer;
  };
  form.Show();
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(104, 43));
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(104, 43));
  answer.reset();
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(104, 43));
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(104, 43));
  wchar_t text[64] = L"";
  GetWindowTextW(FindWindowExW(form.Handle(), nullptr, L"Edit", nullptr), text, 64);
  EXPECT_STREQ(text, L"C:\\Picked");
  EXPECT_EQ(topmostWhileBrowsing, (std::vector<bool>{false, false}));
  // Wine raises the dialog's owned windows first and puts the dialog right below them, marking
  // only those as topmost; Windows marks the dialog too.
  const auto topmost = [](HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_TRUE(topmost(dialog) || topmost(form.Handle()));
  EXPECT_TRUE(form.Entries().empty());  // picking does not add
  form.Hide();
  DestroyWindow(dialog);
}

TEST(ListEditorKeys, EnterInTheTextBoxAddsAndDelInTheListRemovesTheCurrentEntry) {
  TFileTypeForm form;
  EditorDriver editor(form);
  SetForegroundWindow(form.Handle());
  editor.Type(L"*.bak");
  editor.Key(editor.edit_, VK_RETURN);
  editor.Type(L"*.old");
  editor.Key(editor.edit_, VK_RETURN);
  editor.Key(editor.edit_, VK_DELETE);  // in the text box, Del is the text's
  EXPECT_EQ(editor.Listed(), (Entries{{L"*.bak", false}, {L"*.old", false}}));
  SendMessageW(editor.list_, LB_SETCURSEL, 0, 0);
  editor.Key(editor.list_, VK_DELETE);
  EXPECT_EQ(editor.Listed(), (Entries{{L"*.old", false}}));
  // As a screen reader reads the editor: the list by the heading's name, the buttons with their keys.
  test::ComScope com;
  const test::ReadElement tree = test::ReadWindow(form.Handle());
  const auto list = std::find_if(tree.children.begin(), tree.children.end(),
                                 [](const test::ReadElement& e) { return e.role == ROLE_SYSTEM_LIST; });
  ASSERT_NE(list, tree.children.end());
  EXPECT_EQ(list->name, L"Типы файлов:");
  EXPECT_EQ(list->children.size(), 1u);
  EXPECT_EQ(test::Child(tree, L"Добавить").shortcut, L"Enter");
  EXPECT_EQ(test::Child(tree, L"Удалить").shortcut, L"Del");
}

}  // namespace
}  // namespace krelmix

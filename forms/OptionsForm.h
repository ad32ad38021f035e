#pragma once
// The options dialog TOptionsForm ("Настройки"): the six options, the sound switch, the two side
// editors of masks and excluded folders, the sound editor, and "Сохранить", which writes the
// settings file and keeps the two autostart values in step with rows 3 and 4. Opened modally by the
// main window's "Настройки" and freed when it closes.
#include <windows.h>

#include <memory>
#include <string>

#include "common/OptionsSettings.h"
#include "common/ProgramState.h"
#include "forms/ListEditorForm.h"
#include "platform/AutostartRegistry.h"
#include "platform/FileSystem.h"
#include "platform/SoundOutput.h"
#include "settings/SettingsFile.h"
#include "skin/ImageForm.h"
#include "toolkit/CheckButton.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/MessagePump.h"

namespace krelmix {

// What the dialog works on: the program's state, its settings file, the autostart list, the sound
// output (for the sound editor), the executable's path the autostart values start, and the disk
// (which reading of an exclusion names a folder).
struct OptionsDialogServices {
  ProgramState& state;
  SettingsFile& settings;
  AutostartRegistry& autostart;
  SoundOutput& sound;
  std::wstring programPath;
  FileSystem& fileSystem;
};

class TOptionsForm : public Form {
 public:
  explicit TOptionsForm(const OptionsDialogServices& services);
  ~TOptionsForm() override;

  // Creates the dialog owned by the main window and centred on it, runs it modally, applies the
  // close (FormClose) and frees it; returns the modal result.
  static int Execute(HWND mainWindow, const OptionsDialogServices& services);

  // The dialog's side of a close, by any button or key: run by Execute once the modal run is over.
  void FormClose();

 protected:
  void CreateControls() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Esc is taken before the dialog's own keys and whichever of its windows has the focus.
  bool PreTranslateMessage(MSG& msg) override;

 private:
  enum class Side { Left, Right };  // where an editor opens: the mask editor left, the exclusions right

  void CreateSkin();
  void CreateFrame();
  void CreateLists();
  void CreateSoundBox();
  void CreateButtons();
  void CreateLanguageButtons();

  void FormCreate();  // the two editors, hidden
  void FormActivate();
  void CheckBox1Click();
  void CheckListBox2DblClick();
  void SpeedButton1Click();  // "Типы файлов": the mask editor
  void SpeedButton2Click();  // "Исключить": the exclusion editor
  void SpeedButton3Click();  // "Сохранить"
  void SpeedButton4Click();  // "Отмена"
  void SpeedButton5Click();  // "Настроить звуки"
  void ToggleEditor(ListEditorForm& editor, Side side);
  void SlideEditor(HWND editor, int left, int top, int step);
  void SetTopmost(bool topmost);
  bool AnyEditorShowing() const;
  bool IsDialogOrEditor(HWND window) const;
  bool OwnsKeyTarget(HWND target) const;
  // Escape cancels while the dialog or one of its editors is the active window.
  bool TakeEscape(const MSG& msg);
  void ShowContent(const OptionsContent& content, bool withLists);
  OptionsContent ShownContent() const;
  void StageList(CheckListBox& staging, const ListEditorForm& editor);

  OptionsDialogServices services_;
  bool unread_ = false;   // the settings file could not be read: the dialog closes, changing nothing
  bool sliding_ = false;  // an editor is moving; further presses of its button wait for the end
  MessagePump pump_{0};
  Font font_;
  TfcImageForm fcImageForm1;
  std::unique_ptr<ListEditorForm> FileTypeForm;  // the mask editor, left of the dialog
  std::unique_ptr<ListEditorForm> ExcludeForm;   // the exclusion editor, right of the dialog

  BevelLine Bevel1{L"Bevel1", BevelLine::Shape::SunkenFrame};
  BevelLine Bevel2{L"Bevel2"};
  BevelLine Bevel3{L"Bevel3", BevelLine::Shape::Left};
  BevelLine Bevel4{L"Bevel4", BevelLine::Shape::Left};
  CheckListBox CheckListBox2{L"CheckListBox2"};                      // the six options
  CheckButton CheckBox1{L"CheckBox1", CheckButton::Type::CheckBox};  // "Использовать звуки"
  SpeedButton SpeedButton5{L"SpeedButton5"};                         // "Настроить звуки"
  SpeedButton SpeedButton1{L"SpeedButton1"};                         // "Типы файлов"
  SpeedButton SpeedButton2{L"SpeedButton2"};                         // "Исключить"
  SpeedButton SpeedButton3{L"SpeedButton3"};                         // "Сохранить"
  SpeedButton SpeedButton4{L"SpeedButton4"};                         // "Отмена"
  CheckListBox CheckListBox1{L"CheckListBox1"};                      // invisible: the masks as a save writes them
  CheckListBox CheckListBox3{L"CheckListBox3"};                      // invisible: the exclusions as a save writes them
  CheckButton RadioButton1{L"RadioButton1", CheckButton::Type::OptionButton};  // invisible and disabled: "Русский"
  CheckButton RadioButton2{L"RadioButton2", CheckButton::Type::OptionButton};  // invisible and disabled: "English"
};

}  // namespace krelmix

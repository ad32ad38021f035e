#pragma once
// The options dialog's two side windows: the mask editor TFileTypeForm (the stored masks) and the
// exclusion editor TExcludeForm (the stored exclusions). Each is a list of texts with a tick per
// entry, a text box and "Добавить"/"Удалить". They never touch the settings file: the options
// dialog fills them when it reloads, reads them back when it saves, and shows, places and hides
// them. The two windows are TFileTypeForm (forms/FileTypeForm) and TExcludeForm
// (forms/ExcludeForm), both made from this class.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/OptionsSettings.h"
#include "skin/ImageForm.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/EditBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/LinkLabel.h"

namespace krelmix {

// An entry with its tick, as the options dialog reads and writes it.
using ListEntry = OptionsEntry;

// What tells the two editors apart on screen: the title and where the controls lie.
struct ListEditorDesign {
  std::wstring className;
  std::wstring title;  // the heading
  Bounds titleBounds;
  bool wrapTitle;
  Bounds editBounds;
  Bounds listBounds;
  bool dragBySkin;  // the skin is the caption bar
};

class ListEditorForm : public Form {
 public:
  static constexpr int kWidth = 120, kHeight = 286;

  // Makes the window, hidden, owned by the options dialog.
  void CreateEditor(HWND optionsDialog);
  // The dialog's reload: the list and the text box emptied.
  void ClearEntries();
  // An entry as the settings file holds it, appended without the editor's refusal rules.
  void AppendEntry(const std::wstring& text, bool ticked);
  // Every entry with its tick, in list order.
  std::vector<ListEntry> Entries() const;
  bool Showing() const;

  // The refusal signal, the system's default beep; replaceable for the window tests.
  std::function<void()> beep;

 protected:
  explicit ListEditorForm(const ListEditorDesign& design);
  void CreateControls() override;
  // Whether "Добавить" may add this text; a refused text gives the beep.
  virtual bool Accepts(const std::wstring& text) const = 0;
  // The controls only one of the editors has.
  virtual void CreateExtras() {}

  void SpeedButton1Click();      // "Добавить": add the text box's text
  void SpeedButton2Click();      // "Удалить": remove the selected entry
  void CheckListBox1Click();     // the text box takes the clicked entry
  void CheckListBox1DblClick();  // inverts the selected entry's tick

  TfcImageForm fcImageForm1;
  LinkLabel SRLabel1{L"SRLabel1"};
  EditBox Edit1{L"Edit1"};
  CheckListBox CheckListBox1{L"CheckListBox1"};
  SpeedButton SpeedButton1{L"SpeedButton1"};
  SpeedButton SpeedButton2{L"SpeedButton2"};

 private:
  void CreateSkin();
  void CreateTitle();
  void CreateButtons();
  void RemoveEntry(size_t index);

  ListEditorDesign design_;
  Font titleFont_, textFont_, buttonFont_;
};

}  // namespace krelmix

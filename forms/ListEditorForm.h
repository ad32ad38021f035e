#pragma once
// The options dialog's two side windows: the mask editor TFileTypeForm (section Kill) and the
// exclusion editor TExcludeForm (section ExcludeDir). Each is a list of texts with a tick per
// entry, a text box and "Добавить"/"Удалить". They never touch the settings file: the options
// dialog fills them when it reloads, reads them back when it saves, and shows, places and hides
// them. The two windows are TFileTypeForm (forms/FileTypeForm) and TExcludeForm
// (forms/ExcludeForm), both made from this class.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Form.h"

namespace krelmix {

struct ListEntry {
  std::wstring text;
  bool ticked = false;
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

 protected:
  using Form::Form;
};

}  // namespace krelmix

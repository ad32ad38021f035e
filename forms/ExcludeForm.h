#pragma once
// The exclusion editor TExcludeForm: the stored folders kept out of the search,
// right of the options dialog. A folder may be typed or picked with the folder browser.
#include <functional>
#include <optional>
#include <string>

#include "forms/ListEditorForm.h"

namespace krelmix {

class TExcludeForm : public ListEditorForm {
 public:
  TExcludeForm();

  // Shows the system's folder browser owned by `owner` and gives the chosen folder's path, or
  // nothing when the user cancels. Replaceable for the window tests.
  std::function<std::optional<std::wstring>(HWND owner)> browseForFolder;

 protected:
  bool Accepts(const std::wstring& text) const override;
  void CreateExtras() override;

 private:
  void SpeedButton3Click();                   // "<.>": pick a folder
  void Edit1MouseMove();                      // the text box's tooltip shows its whole text
  void CheckListBox1MouseMove(POINT client);  // the list's tooltip shows the entry under the mouse

  Font pickFont_;
  SpeedButton SpeedButton3{L"SpeedButton3"};
};

}  // namespace krelmix

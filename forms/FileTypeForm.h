#pragma once
// The mask editor TFileTypeForm: the stored garbage masks, left of the options dialog.
#include "forms/ListEditorForm.h"

namespace krelmix {

class TFileTypeForm : public ListEditorForm {
 public:
  TFileTypeForm();

 protected:
  // The search's own mask rule: what it would never use is not taken here either; nor is a text
  // the settings file could not hold as a key (an '=' in it, a leading ';').
  bool Accepts(const std::wstring& text) const override;
};

}  // namespace krelmix

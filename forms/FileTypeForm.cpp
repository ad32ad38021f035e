#include "forms/FileTypeForm.h"

#include "cleanup/Wildcard.h"
#include "settings/IniDocument.h"

namespace krelmix {

namespace {
ListEditorDesign MaskEditorDesign() {
  ListEditorDesign design;
  design.className = L"TFileTypeForm";
  design.title = L"Типы файлов:";
  design.titleBounds = {0, 7, 121, 13};
  design.wrapTitle = false;
  design.editBounds = {7, 23, 106, 16};
  design.listBounds = {7, 44, 106, 176};
  design.dragBySkin = true;
  return design;
}
}  // namespace

TFileTypeForm::TFileTypeForm() : ListEditorForm(MaskEditorDesign()) {}

bool TFileTypeForm::Accepts(const std::wstring& text) const {
  return IsUsableMask(text) && IniDocument::CanHoldKey(text);
}

}  // namespace krelmix

#include "forms/ListEditorForm.h"

#include "forms/FormSkin.h"
#include "resources/ResourceIds.h"

namespace krelmix {

namespace {

constexpr UINT kEditId = 401, kListId = 402;
constexpr COLORREF kAqua = RGB(0, 255, 255), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

FormStyle EditorStyle(const ListEditorDesign& design) {
  FormStyle style;
  style.className = design.className;
  style.title = design.title;
  style.clientSize = {ListEditorForm::kWidth, ListEditorForm::kHeight};
  style.style = WS_POPUP;
  style.color = kBlack;
  return style;
}

}  // namespace

ListEditorForm::ListEditorForm(const ListEditorDesign& design) : Form(EditorStyle(design)), design_(design) {
  beep = [] { MessageBeep(MB_OK); };
}

void ListEditorForm::CreateEditor(HWND optionsDialog) { CreateForm(optionsDialog); }

void ListEditorForm::ClearEntries() {
  CheckListBox1.Clear();
  Edit1.SetText(L"");
}

void ListEditorForm::AppendEntry(const std::wstring& text, bool ticked) { CheckListBox1.Add(text, ticked); }

std::vector<ListEntry> ListEditorForm::Entries() const {
  std::vector<ListEntry> entries;
  for (size_t i = 0, n = CheckListBox1.Count(); i < n; ++i)
    entries.push_back({CheckListBox1.Text(i), CheckListBox1.Ticked(i)});
  return entries;
}

bool ListEditorForm::Showing() const { return Exists() && IsWindowVisible(Handle()); }

void ListEditorForm::CreateControls() {
  CreateSkin();
  CreateTitle();
  textFont_ = CreatePixelFont(L"MS Sans Serif", 11);
  Add(Edit1, kEditId, {.bounds = design_.editBounds, .font = textFont_});
  CheckListBox1.Look() = {.tick = TickStyle::Box, .itemHeight = 16, .integralHeight = true};
  Add(CheckListBox1, kListId, {.bounds = design_.listBounds, .font = textFont_});
  CheckListBox1.SetAccessibleName(design_.title);
  CheckListBox1.onClick = [this] { CheckListBox1Click(); };
  CheckListBox1.onDblClick = [this] { CheckListBox1DblClick(); };

  CreateButtons();
  CreateExtras();
  SetTabOrder({Edit1.Handle(), CheckListBox1.Handle(), SpeedButton1, SpeedButton2});
  Keys().Add({VK_RETURN}, SpeedButton1, Edit1.Handle());
  Keys().Add({VK_DELETE}, SpeedButton2, CheckListBox1.Handle());
}

// Both editors wear the same skin, the key colour black; only the mask editor is dragged by it.
void ListEditorForm::CreateSkin() {
  SkinLook look(IDB_SKIN_EDITORS, IDR_SKIN_EDITORS_OUTLINE);
  look.captionBar = design_.dragBySkin ? TfcImageForm::CaptionBar::Skin : TfcImageForm::CaptionBar::None;
  look.autoSize = true;
  look.transparentColor = kBlack;
  AttachSkin(*this, fcImageForm1, look);
}

void ListEditorForm::CreateTitle() {
  titleFont_ = CreatePixelFont(L"MS Sans Serif", 12, FW_BOLD);
  LinkLabelLook& look = SRLabel1.Look();
  look.alignment = DT_CENTER;
  look.layout = TextLayout::Center;
  look.wordWrap = design_.wrapTitle;
  look.transparent = true;
  look.behind = kBlack;
  look.fontColor = kAqua;
  look.showShadow = true;
  look.shadowColor = kBlack;
  look.shadowOffset = 1;
  Add(SRLabel1, {.bounds = design_.titleBounds, .caption = design_.title, .font = titleFont_});
}

void ListEditorForm::CreateButtons() {
  buttonFont_ = CreatePixelFont(L"MS Sans Serif", 11);
  SpeedButton1.SetCaptionColor(kWhite);
  SpeedButton2.SetCaptionColor(kWhite);
  Add(SpeedButton1, {.bounds = {7, 226, 106, 20}, .caption = L"Добавить", .font = buttonFont_});
  Add(SpeedButton2, {.bounds = {7, 254, 106, 20}, .caption = L"Удалить", .font = buttonFont_});
  SpeedButton1.onClick = [this] { SpeedButton1Click(); };
  SpeedButton2.onClick = [this] { SpeedButton2Click(); };
}

// The text stays in the box whatever happens; an equal entry (same text, same letter case) makes
// the add do nothing, quietly.
void ListEditorForm::SpeedButton1Click() {
  const std::wstring text = Edit1.Text();
  if (!Accepts(text)) {
    beep();
    return;
  }
  for (size_t i = 0, n = CheckListBox1.Count(); i < n; ++i)
    if (CheckListBox1.Text(i) == text) return;
  CheckListBox1.Add(text, false);
}

void ListEditorForm::SpeedButton2Click() {
  const int selected = CheckListBox1.ItemIndex();
  if (selected < 0 || static_cast<size_t>(selected) >= CheckListBox1.Count()) {
    beep();
    return;
  }
  RemoveEntry(static_cast<size_t>(selected));
}

// The list keeps no more than a few hundred entries, so it is simply refilled without the one.
void ListEditorForm::RemoveEntry(size_t index) {
  std::vector<ListEntry> entries = Entries();
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  CheckListBox1.Clear();
  for (const ListEntry& entry : entries) CheckListBox1.Add(entry.text, entry.ticked);
}

void ListEditorForm::CheckListBox1Click() {
  const int selected = CheckListBox1.ItemIndex();
  if (selected >= 0 && static_cast<size_t>(selected) < CheckListBox1.Count())
    Edit1.SetText(CheckListBox1.Text(static_cast<size_t>(selected)));
}

void ListEditorForm::CheckListBox1DblClick() {
  const int selected = CheckListBox1.ItemIndex();
  if (selected < 0 || static_cast<size_t>(selected) >= CheckListBox1.Count()) return;
  const size_t index = static_cast<size_t>(selected);
  CheckListBox1.SetTicked(index, !CheckListBox1.Ticked(index));
}

}  // namespace krelmix

#include "forms/SoundForm.h"

#include <commdlg.h>

#include "common/EventSounds.h"
#include "forms/FormSkin.h"
#include "resources/ResourceIds.h"
#include "toolkit/DisplayScale.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {

namespace {

constexpr UINT kListId = 101;
constexpr int kRowHeight = 13;
constexpr COLORREF kSkinUnderHeadings = RGB(214, 220, 230);

FormStyle SoundFormStyle() {
  FormStyle style;
  style.className = L"TSoundFRM";
  style.title = L"Звуки";
  style.clientSize = {360, 286};
  style.style = WS_POPUP;
  return style;
}

Font CreateHeadingFont() {
  LOGFONTW look{};
  look.lfHeight = -DesignScale()(11);
  look.lfWeight = FW_BOLD;
  look.lfUnderline = TRUE;
  look.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(look.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  return Font(CreateFontIndirectW(&look));
}

std::optional<std::wstring> ShowOpenDialog(HWND owner) {
  std::wstring path(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"Звуки\0*.wav\0\0";
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = L"wav";
  dialog.Flags =
      OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON | OFN_ENABLESIZING | OFN_EXPLORER;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return path;
}

// The settings file lies in the program's folder, which relative sound paths are taken from.
std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

}  // namespace

TSoundFRM::TSoundFRM(const SoundEditorServices& services)
    : Form(SoundFormStyle()), services_(services), SRWavePlayer1(services.sound) {
  chooseSoundFile = ShowOpenDialog;
  SRWavePlayer1.SetAsynchronous(true);
}

int TSoundFRM::Execute(HWND owner, const SoundEditorServices& services) {
  TSoundFRM form(services);
  form.CreateForm(owner);
  form.CentreOnMainWindow();
  return form.ShowModal();
}

// The options dialog that opens the editor is owned by the main window, and the editor stands in
// the middle of that, wherever the dialog has been dragged.
void TSoundFRM::CentreOnMainWindow() {
  HWND owner = GetWindow(Handle(), GW_OWNER);
  HWND mainWindow = owner ? GetWindow(owner, GW_OWNER) : nullptr;
  // Above the main window there is only the hidden application window.
  if (!mainWindow || !IsWindowVisible(mainWindow)) mainWindow = owner;
  if (!mainWindow) return;
  RECT around{}, own{};
  GetWindowRect(mainWindow, &around);
  GetWindowRect(Handle(), &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(Handle(), nullptr, around.left + (around.right - around.left - width) / 2,
               around.top + (around.bottom - around.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSoundFRM::CreateControls() {
  CreateSkin();
  font_ = CreatePixelFont(L"MS Sans Serif", 11);
  headingFont_ = CreateHeadingFont();
  CreateLabels();
  CreateList();
  CreateButtons();
  SetTabOrder({RxCheckListBox1.Handle(), SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton1, SpeedButton2});
  Keys().Add({VK_RETURN}, SpeedButton1);
  Keys().Add({VK_ESCAPE}, SpeedButton2);
  onActivate = [this] { FormActivate(); };
}

// The options dialog's skin; the skin is the caption bar, so a press anywhere on it drags.
void TSoundFRM::CreateSkin() {
  SkinLook look(IDB_SKIN_OPTIONS, IDR_SKIN_OPTIONS_OUTLINE);
  look.captionBar = TfcImageForm::CaptionBar::Skin;
  look.transparentColor = RGB(0, 0, 0);
  AttachSkin(*this, fcImageForm1, look);
}

void TSoundFRM::CreateLabels() {
  for (Label* label : {&Label1, &Label2}) {
    label->SetAlignment(DT_CENTER);
    label->SetColor(RGB(0, 0, 0));
    label->SetBackground(kSkinUnderHeadings);
  }
  Add(Label1, {.bounds = {8, 8, 131, 13}, .caption = L"Событие", .font = headingFont_});
  Add(Label2, {.bounds = {130, 8, 220, 13}, .caption = L"Звуковой файл", .font = headingFont_});
  // The six events, each beside its row of the list.
  const BorrowedFont font = font_;
  Add(Label3, {.bounds = {10, 26, 120, 13}, .caption = L"Запуск программы:", .font = font});
  Add(Label4, {.bounds = {10, 39, 120, 13}, .caption = L"Выход из программы:", .font = font});
  Add(Label5, {.bounds = {10, 52, 120, 13}, .caption = L"Очистить TMP:", .font = font});
  Add(Label6, {.bounds = {10, 65, 120, 13}, .caption = L"Ничего не найдено:", .font = font});
  Add(Label7, {.bounds = {10, 78, 120, 13}, .caption = L"Что-то найдено:", .font = font});
  Add(Label8, {.bounds = {10, 91, 120, 13}, .caption = L"Что-то уничтожено:", .font = font});
}

void TSoundFRM::CreateList() {
  RxCheckListBox1.Look() = {.tick = TickStyle::Box, .itemHeight = kRowHeight, .integralHeight = true};
  Add(RxCheckListBox1, kListId, {.bounds = {130, 24, 220, 169}, .font = font_});
  RxCheckListBox1.SetAccessibleName(L"Звуковой файл");
}

void TSoundFRM::CreateButtons() {
  const BorrowedFont font = font_;
  for (SpeedButton* button : {&SpeedButton3, &SpeedButton4, &SpeedButton5, &SpeedButton1, &SpeedButton2})
    button->SetCaptionColor(RGB(0, 0, 0));
  Add(SpeedButton3, {.bounds = {24, 208, 80, 25}, .caption = L"Проба", .font = font});
  Add(SpeedButton4, {.bounds = {139, 208, 80, 25}, .caption = L"Нет", .font = font});
  Add(SpeedButton5, {.bounds = {253, 208, 80, 25}, .caption = L"Обзор", .font = font});
  Add(SpeedButton1, {.bounds = {72, 250, 80, 25}, .caption = L"Сохранить", .font = font});
  Add(SpeedButton2, {.bounds = {214, 250, 80, 25}, .caption = L"Отменить", .font = font});
  SpeedButton1.onClick = [this] { SpeedButton1Click(); };
  SpeedButton2.onClick = [this] { SpeedButton2Click(); };
  SpeedButton3.onClick = [this] { SpeedButton3Click(); };
  SpeedButton5.onClick = [this] { SpeedButton5Click(); };
  // "Нет" has no action.
}

// Without the file's rows a save would write empty ones over it: a file that cannot be read
// closes the editor unsaved.
void TSoundFRM::FormActivate() {
  SoundRows rows;
  try {
    rows = ReadSoundRows(services_.settings.Load());
  } catch (const SettingsReadError& error) {
    ReportError(Handle(), error.Message());
    SetModalResult(mrCancel);
    return;
  }
  RxCheckListBox1.Clear();
  for (const SoundRow& row : rows) RxCheckListBox1.Add(row.file, row.ticked);
}

SoundRows TSoundFRM::Rows() const {
  SoundRows rows;
  for (size_t row = 0; row < rows.size() && row < RxCheckListBox1.Count(); ++row)
    rows[row] = SoundRow(RxCheckListBox1.Text(row), RxCheckListBox1.Ticked(row));
  return rows;
}

// The result comes first, so that the editor closes even when the file refuses the write.
void TSoundFRM::SpeedButton1Click() {
  SetModalResult(mrOk);
  const SoundRows rows = Rows();
  services_.settings.Update([&rows](IniDocument& document) { WriteSoundRows(document, rows); });
}

void TSoundFRM::SpeedButton2Click() { SetModalResult(mrCancel); }

void TSoundFRM::SpeedButton3Click() {
  const int row = RxCheckListBox1.ItemIndex();
  if (row < 0) return;
  const std::wstring file = RxCheckListBox1.Text(static_cast<size_t>(row));
  if (file.empty()) return;
  SRWavePlayer1.SetFileName(ResolveSoundPath(FolderOf(services_.settings.Path()), file));
  SRWavePlayer1.Play();
}

// The options dialog stays on top of other windows, and so would the editor it owns: the
// file-open dialog would then open behind it.
void TSoundFRM::StopBeingTopmost() { SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void TSoundFRM::SpeedButton5Click() {
  const int row = RxCheckListBox1.ItemIndex();
  if (row < 0) return;  // no row to choose the file for
  SetForegroundWindow(Handle());
  StopBeingTopmost();
  const std::optional<std::wstring> file = chooseSoundFile(Handle());
  // A path the settings file cannot hold as a key ('=' in it) would be lost at the save: refused
  // at once, with the beep the list editors give.
  if (file && !IniDocument::CanHoldKey(*file)) {
    MessageBeep(MB_OK);
  } else if (file) {
    RxCheckListBox1.SetText(static_cast<size_t>(row), *file);
    RxCheckListBox1.SetTicked(static_cast<size_t>(row), false);
    RxCheckListBox1.SetItemIndex(-1);
  }
  StopBeingTopmost();
}

}  // namespace krelmix

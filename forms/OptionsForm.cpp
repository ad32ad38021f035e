#include "forms/OptionsForm.h"

#include "forms/ExcludeForm.h"
#include "forms/FileTypeForm.h"
#include "forms/FormSkin.h"
#include "forms/SoundForm.h"
#include "resources/ResourceIds.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {

namespace {
constexpr SIZE kClientSize{360, 286};
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr UINT kOptionListId = 401, kSoundBoxId = 402, kMaskStagingId = 403, kExcludeStagingId = 404, kRussianId = 405,
               kEnglishId = 406;
constexpr DWORD kSlidePauseMs = 2;

FormStyle OptionsStyle() {
  FormStyle style;
  style.className = L"TOptionsForm";
  style.title = L"Настройки";
  style.clientSize = kClientSize;
  style.style = WS_POPUP;
  style.exStyle = WS_EX_TOPMOST;
  style.color = RGB(214, 219, 228);
  return style;
}

}  // namespace

TOptionsForm::TOptionsForm(const OptionsDialogServices& services) : Form(OptionsStyle()), services_(services) {}

// The editors are owned windows of the dialog and go before it.
TOptionsForm::~TOptionsForm() {
  FileTypeForm.reset();
  ExcludeForm.reset();
}

int TOptionsForm::Execute(HWND mainWindow, const OptionsDialogServices& services) {
  TOptionsForm form(services);
  form.CreateForm(mainWindow, true);
  // A file that its opening could not read leaves the dialog unshown; the user has been told.
  const int result = form.unread_ ? mrCancel : form.ShowModal();
  form.FormClose();
  return result;
}

void TOptionsForm::CreateControls() {
  font_ = CreatePixelFont(L"MS Sans Serif", 11);
  CreateSkin();
  CreateFrame();
  CreateLists();
  CreateSoundBox();
  CreateButtons();
  CreateLanguageButtons();
  // Reading order, column by column; Enter saves from wherever the keyboard is (Esc: TakeEscape).
  SetTabOrder({CheckListBox2.Handle(), CheckBox1.Handle(), SpeedButton5, SpeedButton1, SpeedButton2, SpeedButton3,
               SpeedButton4});
  Keys().Add({VK_RETURN}, SpeedButton3);
  onActivate = [this] { FormActivate(); };
  FormCreate();
  // The dialog shows what its first activation reads from the start, not its design state.
  FormActivate();
}

void TOptionsForm::CreateSkin() {
  SkinLook look(IDB_SKIN_OPTIONS, IDR_SKIN_OPTIONS_OUTLINE);
  look.transparentColor = RGB(0, 0, 0);
  AttachSkin(*this, fcImageForm1, look);
}

void TOptionsForm::CreateFrame() {
  Add(Bevel1, {.bounds = {7, 7, 344, 240}});
  Add(Bevel2, {.bounds = {8, 193, 341, 2}});
  Add(Bevel3, {.bounds = {150, 195, 2, 51}});
  Add(Bevel4, {.bounds = {237, 195, 2, 51}});
}

void TOptionsForm::CreateLists() {
  CheckListBox2.Look() = {.itemHeight = 13, .integralHeight = true, .condenseToFit = true};
  Add(CheckListBox2, kOptionListId, {.bounds = {10, 9, 339, 182}, .font = font_});
  CheckListBox2.SetAccessibleName(L"Параметры");
  for (const wchar_t* text : kOptionRowTexts) CheckListBox2.Add(text, false);
  CheckListBox2.onDblClick = [this] { CheckListBox2DblClick(); };

  Add(CheckListBox1, kMaskStagingId, {.bounds = {12, 20, 60, 40}, .font = font_, .visible = false});
  Add(CheckListBox3, kExcludeStagingId, {.bounds = {80, 20, 60, 40}, .font = font_, .visible = false});
}

void TOptionsForm::CreateSoundBox() {
  CheckBox1.SetBackground(kSilver);
  Add(CheckBox1, kSoundBoxId, {.bounds = {13, 199, 131, 17}, .caption = L"Использовать звуки", .font = font_});
  CheckBox1.SetChecked(true);
  CheckBox1.onClick = [this] { CheckBox1Click(); };
}

void TOptionsForm::CreateButtons() {
  const BorrowedFont font = font_;
  for (SpeedButton* button : {&SpeedButton5, &SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4})
    button->SetCaptionColor(RGB(0, 0, 0));
  Add(SpeedButton5, {.bounds = {14, 219, 132, 22}, .caption = L"Настроить звуки", .font = font});
  Add(SpeedButton1,
      {.bounds = {155, 197, 80, 22}, .caption = L"Типы файлов", .hint = L"Типы файлов для удаления", .font = font});
  Add(SpeedButton2,
      {.bounds = {155, 220, 80, 22}, .caption = L"Исключить", .hint = L"Исключить каталоги из поиска", .font = font});
  Add(SpeedButton3, {.bounds = {12, 250, 80, 25}, .caption = L"Сохранить", .font = font});
  Add(SpeedButton4, {.bounds = {269, 250, 80, 25}, .caption = L"Отмена", .font = font});
  SpeedButton5.onClick = [this] { SpeedButton5Click(); };
  SpeedButton1.onClick = [this] { SpeedButton1Click(); };
  SpeedButton2.onClick = [this] { SpeedButton2Click(); };
  SpeedButton3.onClick = [this] { SpeedButton3Click(); };
  SpeedButton4.onClick = [this] { SpeedButton4Click(); };
}

// The language choice was never made to work: both buttons stay hidden and disabled.
void TOptionsForm::CreateLanguageButtons() {
  RadioButton1.SetFirstOfGroup(true);
  Add(RadioButton1, kRussianId,
      {.bounds = {250, 199, 90, 17}, .caption = L"Русский", .font = font_, .enabled = false, .visible = false});
  Add(RadioButton2, kEnglishId,
      {.bounds = {250, 220, 90, 17}, .caption = L"English", .font = font_, .enabled = false, .visible = false});
  RadioButton1.SetChecked(true);
}

void TOptionsForm::FormCreate() {
  FileTypeForm = std::make_unique<TFileTypeForm>();
  FileTypeForm->CreateEditor(Handle());
  ExcludeForm = std::make_unique<TExcludeForm>();
  ExcludeForm->CreateEditor(Handle());
}

LRESULT TOptionsForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Form::OnMessage(message, wParam, lParam);
  // Coming back from a side editor activates the dialog again; the first activation is the
  // form's own event, and a return from another program or a modal window is no activation of it.
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && lParam) {
    const HWND previous = reinterpret_cast<HWND>(lParam);
    if ((FileTypeForm && previous == FileTypeForm->Handle()) || (ExcludeForm && previous == ExcludeForm->Handle()))
      FormActivate();
  }
  return result;
}

// "Настроить звуки" follows the sound box also when the reload has just set the box.
void TOptionsForm::FormActivate() {
  // Back from an editor, the rows, lists and sound box stay as the user left them.
  if (!AnyEditorShowing()) {
    OptionsContent content = ShownContent();
    bool fromFile = false;
    try {
      const FolderTest isFolder = [this](const std::wstring& path) {
        const std::optional<OpenedEntry> entry = services_.fileSystem.Open(path);
        return entry && (entry->attributes & FileAttr::Directory) != 0;
      };
      fromFile = ReloadOptions(services_.state, services_.settings, isFolder, content);
    } catch (const SettingsReadError& error) {
      // A save must never be built from anything but the file: the dialog closes unsaved.
      unread_ = true;
      ReportError(Handle(), error.Message());
      SetModalResult(mrCancel);
      return;
    }
    ShowContent(content, fromFile);
  }
  CheckBox1Click();
}

OptionsContent TOptionsForm::ShownContent() const {
  OptionsContent content;
  for (size_t row = 0; row < kOptionRowCount; ++row) content.rows[row] = CheckListBox2.Ticked(row);
  content.useSounds = CheckBox1.Checked();
  return content;
}

void TOptionsForm::ShowContent(const OptionsContent& content, bool withLists) {
  for (size_t row = 0; row < kOptionRowCount; ++row) CheckListBox2.SetTicked(row, content.rows[row]);
  if (!withLists) return;
  const std::pair<ListEditorForm*, const std::vector<OptionsEntry>*> lists[] = {{FileTypeForm.get(), &content.masks},
                                                                                {ExcludeForm.get(), &content.excludes}};
  for (const auto& [editor, entries] : lists) {
    editor->ClearEntries();
    for (const OptionsEntry& entry : *entries) editor->AppendEntry(entry.text, entry.ticked);
  }
  CheckBox1.SetChecked(content.useSounds);
}

void TOptionsForm::CheckBox1Click() { SpeedButton5.SetEnabled(CheckBox1.Checked()); }

// With no row selected a double click changes nothing.
void TOptionsForm::CheckListBox2DblClick() {
  const int index = CheckListBox2.ItemIndex();
  if (index < 0) return;
  CheckListBox2.SetTicked(static_cast<size_t>(index), !CheckListBox2.Ticked(static_cast<size_t>(index)));
}

void TOptionsForm::SpeedButton1Click() { ToggleEditor(*FileTypeForm, Side::Left); }
void TOptionsForm::SpeedButton2Click() { ToggleEditor(*ExcludeForm, Side::Right); }

void TOptionsForm::ToggleEditor(ListEditorForm& editor, Side side) {
  if (sliding_) return;
  sliding_ = true;
  SetTopmost(true);
  RECT dialog{};
  GetWindowRect(Handle(), &dialog);
  const int width = ListEditorForm::kWidth;
  const int outward = side == Side::Left ? -1 : 1;
  const HWND window = editor.Handle();
  if (!editor.Showing()) {
    // It starts where the dialog covers it and moves out from under it.
    const int start = side == Side::Left ? dialog.left : dialog.right - width;
    SetWindowPos(window, Handle(), start, dialog.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (services_.state.UseAnimation) SlideEditor(window, start, dialog.top, outward);
    const int finalLeft = side == Side::Left ? dialog.left - width : dialog.right;
    SetWindowPos(window, nullptr, finalLeft, dialog.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    RECT shown{};
    GetWindowRect(window, &shown);
    if (services_.state.UseAnimation) SlideEditor(window, shown.left, shown.top, -outward);
    ShowWindow(window, SW_HIDE);
  }
  SetTopmost(false);
  sliding_ = false;
}

// One pixel per step, as many steps as the editor is wide, the window's messages handled between.
void TOptionsForm::SlideEditor(HWND editor, int left, int top, int step) {
  for (int moved = 0; moved < ListEditorForm::kWidth; ++moved) {
    left += step;
    SetWindowPos(editor, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!pump_.PumpNow()) return;  // the program is ending
    Sleep(kSlidePauseMs);
  }
}

void TOptionsForm::SetTopmost(bool topmost) {
  SetForegroundWindow(Handle());
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TOptionsForm::AnyEditorShowing() const {
  return (FileTypeForm && FileTypeForm->Showing()) || (ExcludeForm && ExcludeForm->Showing());
}

bool TOptionsForm::IsDialogOrEditor(HWND window) const {
  return window && (window == Handle() || (FileTypeForm && window == FileTypeForm->Handle()) ||
                    (ExcludeForm && window == ExcludeForm->Handle()));
}

// A key of this thread goes to the focused control of the active window; under Wine it may also
// come addressed to a tooltip showing over the active window, so the active window decides too.
bool TOptionsForm::OwnsKeyTarget(HWND target) const {
  return (target && IsDialogOrEditor(GetAncestor(target, GA_ROOT))) || IsDialogOrEditor(GetActiveWindow());
}

bool TOptionsForm::PreTranslateMessage(MSG& msg) { return TakeEscape(msg) || Form::PreTranslateMessage(msg); }

bool TOptionsForm::TakeEscape(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || ModifierKeyHeld() || !OwnsKeyTarget(msg.hwnd))
    return false;
  SpeedButton4Click();
  return true;
}

void TOptionsForm::SpeedButton5Click() { TSoundFRM::Execute(Handle(), {services_.settings, services_.sound}); }

void TOptionsForm::StageList(CheckListBox& staging, const ListEditorForm& editor) {
  staging.Clear();
  for (const ListEntry& entry : editor.Entries()) staging.Add(entry.text, entry.ticked);
}

// The dialog closes once this handler is over, also when the save has failed on the way.
void TOptionsForm::SpeedButton3Click() {
  StageList(CheckListBox1, *FileTypeForm);
  StageList(CheckListBox3, *ExcludeForm);
  SetModalResult(mrOk);
  OptionsContent content = ShownContent();
  for (size_t i = 0; i < CheckListBox1.Count(); ++i)
    content.masks.push_back({CheckListBox1.Text(i), CheckListBox1.Ticked(i)});
  for (size_t i = 0; i < CheckListBox3.Count(); ++i)
    content.excludes.push_back({CheckListBox3.Text(i), CheckListBox3.Ticked(i)});
  const AutostartReport report =
      SaveOptions(content, services_.programPath, services_.settings, services_.autostart, services_.state);
  if (!report.machineLeftovers.empty())
    MessageBoxW(Handle(), MachineLeftoverNotice(report.machineLeftovers).c_str(), kApplicationTitle,
                MB_OK | MB_ICONWARNING);
  if (report.failedValue) throw AutostartWriteError(*report.failedValue);
}

void TOptionsForm::SpeedButton4Click() { SetModalResult(mrCancel); }

// The sound switch applies to the running program however the dialog closed; the file keeps what
// was last saved.
void TOptionsForm::FormClose() {
  for (ListEditorForm* editor : {FileTypeForm.get(), ExcludeForm.get()})
    if (editor && editor->Exists()) editor->Hide();
  if (Exists() && !unread_) services_.state.UseSounds = CheckBox1.Checked();
}

}  // namespace krelmix

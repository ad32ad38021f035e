#include "forms/RestoreForm.h"

#include <algorithm>
#include <cwchar>

#include "forms/FormSkin.h"
#include "resources/ResourceIds.h"
#include "toolkit/MessageDialog.h"

namespace krelmix {

namespace {
constexpr UINT kRunsId = 601, kFilesId = 602;
constexpr COLORREF kAqua = RGB(0, 255, 255), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF kTextColor = RGB(210, 230, 240);
constexpr COLORREF kMetal = RGB(49, 54, 65);  // the skin's metal behind the title and the kept line
constexpr size_t kReportedPaths = 10;         // a longer list would not fit the message

FormStyle RestoreStyle() {
  FormStyle style;
  style.className = L"TRestoreForm";
  style.title = L"Восстановление";
  style.clientSize = {500, 336};
  style.style = WS_POPUP;
  style.color = kBlack;
  return style;
}

std::wstring Kilobytes(uint64_t bytes) { return std::to_wstring(bytes / 1024) + L" Kb"; }

// "10.12.2026 14:05:33" in the user's time zone.
std::wstring LocalTimeText(uint64_t fileTime) {
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)}, local{};
  SYSTEMTIME t{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return L"??.??.???? ??:??:??";
  wchar_t text[32];
  std::swprintf(text, 32, L"%02u.%02u.%04u %02u:%02u:%02u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute, t.wSecond);
  return text;
}

std::wstring Padded(std::wstring text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return text;
}

const wchar_t* OutcomeText(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::Restored:
      return L"возвращён";
    case FileOutcome::Purged:
      return L"удалён навсегда";
    case FileOutcome::PlaceTaken:
      return L"место занято другим файлом, он остаётся в хранилище";
    case FileOutcome::Refused:
      return L"не тот файл или ссылка, оставлен как есть";
    case FileOutcome::NotKept:
      return L"нет в хранилище";
    case FileOutcome::Failed:
      break;
  }
  return L"система отказала";
}
}  // namespace

std::wstring RunLine(const KeptRun& run) {
  std::wstring line = LocalTimeText(run.time) + L"  " + Padded(std::wstring(CommandName(run.command)), 10) +
                      L"файлов: " + Padded(std::to_wstring(run.keptFiles), 7) + Kilobytes(run.keptBytes);
  if (run.lostFiles) line += L"  (удалено навсегда: " + std::to_wstring(run.lostFiles) + L")";
  return line;
}

std::wstring FileLine(const KeptFile& file) {
  switch (file.state) {
    case KeptState::Kept:
      return file.entry.path + L"  (" + Kilobytes(file.entry.size) + L")";
    case KeptState::Lost:
      return file.entry.path + L"  (удалён навсегда)";
    case KeptState::Gone:
      break;
  }
  return file.entry.path + L"  (нет в хранилище)";
}

std::wstring KeptTotalText(const std::vector<KeptRun>& runs) {
  uint64_t files = 0, bytes = 0;
  for (const KeptRun& run : runs) {
    files += run.keptFiles;
    bytes += run.keptBytes;
  }
  return L"Хранится: " + std::to_wstring(files) + L" файлов, " + Kilobytes(bytes);
}

std::wstring OutcomeReport(const std::vector<FileResult>& results, FileOutcome wanted) {
  const size_t done = static_cast<size_t>(
      std::count_if(results.begin(), results.end(), [&](const FileResult& r) { return r.outcome == wanted; }));
  if (done == results.size()) return {};
  std::wstring text = std::wstring(wanted == FileOutcome::Restored ? L"Возвращено" : L"Удалено") + L" файлов: " +
                      std::to_wstring(done) + L" из " + std::to_wstring(results.size()) + L".";
  size_t listed = 0;
  for (const FileResult& result : results) {
    if (result.outcome == wanted) continue;
    if (listed++ == kReportedPaths) {
      text += L"\n...";
      break;
    }
    text += L"\n" + result.path + L": " + OutcomeText(result.outcome);
  }
  return text;
}

TRestoreForm::TRestoreForm(FileSystem& fs, Drives& drives) : Form(RestoreStyle()), fs_(fs), drives_(drives) {}

void TRestoreForm::Execute(HWND owner, FileSystem& fs, Drives& drives) {
  TRestoreForm form(fs, drives);
  form.CreateForm(owner, true);
  form.ShowModal();
}

void TRestoreForm::CreateControls() {
  CreateSkin();
  titleFont_ = CreatePixelFont(L"MS Sans Serif", 12, FW_BOLD);
  listFont_ = CreatePointFont(L"Courier New", 8, FW_NORMAL, RUSSIAN_CHARSET);
  textFont_ = CreatePixelFont(L"MS Sans Serif", 11);
  LinkLabelLook& title = TitleLabel.Look();
  title.transparent = true;
  title.fontColor = kAqua;
  title.showShadow = true;
  title.shadowColor = kBlack;
  title.behind = kMetal;
  Add(TitleLabel, {.bounds = {12, 9, 300, 16}, .caption = L"Восстановление", .font = titleFont_});
  RunsList.Look() = {.tick = TickStyle::Mark, .itemHeight = 14};
  Add(RunsList, kRunsId, {.bounds = {12, 32, 476, 106}, .font = listFont_});
  RunsList.SetAccessibleName(L"Запуски, удалённое которыми хранится");
  RunsList.onClick = [this] { ShowChosenRun(); };
  FilesList.Look() = {.tick = TickStyle::Mark, .itemHeight = 14};
  Add(FilesList, kFilesId, {.bounds = {12, 148, 476, 120}, .font = listFont_});
  FilesList.SetAccessibleName(L"Файлы выбранного запуска");
  KeptLabel.SetColor(kTextColor);
  KeptLabel.SetBackground(kMetal);
  Add(KeptLabel, {.bounds = {12, 276, 476, 14}, .font = textFont_});
  CreateButtons();
  SetTabOrder({RunsList.Handle(), FilesList.Handle(), RestoreButton, PurgeButton, CloseButton});
  Reload(0);
}

void TRestoreForm::CreateSkin() {
  SkinLook look(IDB_SKIN_RESTORE, IDR_SKIN_RESTORE_OUTLINE);
  look.captionBar = TfcImageForm::CaptionBar::Skin;
  look.autoSize = true;
  look.transparentColor = kBlack;
  AttachSkin(*this, fcImageForm1, look);
}

void TRestoreForm::CreateButtons() {
  const struct {
    SpeedButton& button;
    Bounds bounds;
    const wchar_t* caption;
    const wchar_t* hint;
    void (TRestoreForm::*click)();
  } buttons[] = {
      {RestoreButton,
       {12, 300, 150, 24},
       L"Вернуть",
       L"Вернуть файлы выбранного запуска (Enter)",
       &TRestoreForm::RestoreClick},
      {PurgeButton,
       {174, 300, 150, 24},
       L"Удалить навсегда",
       L"Удалить файлы выбранного запуска навсегда (Del)",
       &TRestoreForm::PurgeClick},
      {CloseButton, {338, 300, 150, 24}, L"Закрыть", L"Закрыть (Esc)", nullptr},
  };
  for (const auto& b : buttons) {
    b.button.SetCaptionColor(kWhite);
    Add(b.button, {.bounds = b.bounds, .caption = b.caption, .hint = b.hint, .font = textFont_});
    const auto click = b.click;
    b.button.onClick = click ? std::function<void()>([this, click] { (this->*click)(); }) : [this] { Close(); };
  }
  Keys().Add({VK_RETURN}, RestoreButton);
  Keys().Add({VK_DELETE}, PurgeButton);
  Keys().Add({VK_ESCAPE}, CloseButton);
}

// Reads what is kept afresh and chooses run `chosen` (the newest first), or the last one.
void TRestoreForm::Reload(size_t chosen) {
  runs_ = ListRuns(fs_, FixedRoots(drives_));
  RunsList.Clear();
  for (const KeptRun& run : runs_) RunsList.Add(RunLine(run));
  KeptLabel.SetCaption(KeptTotalText(runs_));
  if (!runs_.empty()) RunsList.SetItemIndex(static_cast<int>(std::min(chosen, runs_.size() - 1)));
  ShowChosenRun();
  RestoreButton.SetEnabled(!runs_.empty());
  PurgeButton.SetEnabled(!runs_.empty());
}

const KeptRun* TRestoreForm::ChosenRun() const {
  const int index = RunsList.ItemIndex();
  return index >= 0 && static_cast<size_t>(index) < runs_.size() ? &runs_[static_cast<size_t>(index)] : nullptr;
}

void TRestoreForm::ShowChosenRun() {
  FilesList.Clear();
  if (const KeptRun* run = ChosenRun())
    for (const KeptFile& file : RunFiles(fs_, *run)) FilesList.Add(FileLine(file));
}

void TRestoreForm::RestoreClick() {
  const KeptRun* run = ChosenRun();
  if (!run) return;
  const size_t chosen = static_cast<size_t>(RunsList.ItemIndex());
  const std::wstring report = OutcomeReport(Restore(fs_, *run), FileOutcome::Restored);
  Reload(chosen);
  if (!report.empty()) MessageBoxW(Handle(), report.c_str(), L"Восстановление", MB_OK | MB_ICONINFORMATION);
}

void TRestoreForm::PurgeClick() {
  const KeptRun* run = ChosenRun();
  if (!run || !ShowMessageDialog(Handle(), MessageDialogKind::Confirmation,
                                 L"Удалить файлы этого запуска навсегда? Вернуть их будет нельзя.", DefaultAnswer::No))
    return;
  const size_t chosen = static_cast<size_t>(RunsList.ItemIndex());
  const std::wstring report = OutcomeReport(Purge(fs_, *run), FileOutcome::Purged);
  Reload(chosen);
  if (!report.empty()) MessageBoxW(Handle(), report.c_str(), L"Восстановление", MB_OK | MB_ICONINFORMATION);
}

}  // namespace krelmix

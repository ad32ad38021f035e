#include "forms/ExcludeForm.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "cleanup/FolderExclusion.h"
#include "settings/IniDocument.h"

namespace krelmix {

namespace {
ListEditorDesign ExclusionEditorDesign() {
  ListEditorDesign design;
  design.className = L"TExcludeForm";
  design.title = L"Исключить каталоги:";
  design.titleBounds = {-1, 7, 122, 27};
  design.wrapTitle = true;
  design.editBounds = {7, 36, 85, 16};
  design.listBounds = {8, 55, 106, 160};
  design.dragBySkin = false;
  return design;
}

// While the folder browser shows, no other window of the program takes input; the browser
// itself disables only its owner.
class ProgramWindowsDisabled {
 public:
  ProgramWindowsDisabled() { EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&disabled_)); }
  ~ProgramWindowsDisabled() {
    for (HWND hwnd : disabled_)
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
  ProgramWindowsDisabled(const ProgramWindowsDisabled&) = delete;
  ProgramWindowsDisabled& operator=(const ProgramWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
      EnableWindow(hwnd, FALSE);
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

// Rooted at the desktop, file-system folders only, nothing chosen in advance.
std::optional<std::wstring> ShowFolderBrowser(HWND owner) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the browser's shell folders need it; once is enough
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = L"Выберите каталог";
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  CoTaskMemory<PIDLIST_ABSOLUTE> chosen;
  {
    ProgramWindowsDisabled disabled;
    chosen.Reset(SHBrowseForFolderW(&browse));
  }
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH] = L"";
  if (!SHGetPathFromIDListW(chosen.Get(), path)) return std::nullopt;
  return std::wstring(path);
}
}  // namespace

TExcludeForm::TExcludeForm() : ListEditorForm(ExclusionEditorDesign()) { browseForFolder = ShowFolderBrowser; }

bool TExcludeForm::Accepts(const std::wstring& text) const {
  return IsUsableExclusion(text) && IniDocument::CanHoldKey(text);
}

void TExcludeForm::CreateExtras() {
  pickFont_ = CreatePixelFont(L"MS Sans Serif", 11, FW_BOLD);
  SpeedButton3.SetCaptionColor(RGB(255, 0, 0));
  SpeedButton3.onClick = [this] { SpeedButton3Click(); };
  Add(SpeedButton3, {.bounds = {97, 36, 16, 16}, .caption = L"<.>", .hint = L"Выбрать каталог", .font = pickFont_});

  Edit1.SetShowHint(true);
  Edit1.onMouseMove = [this](POINT) { Edit1MouseMove(); };
  CheckListBox1.SetShowHint(true);
  CheckListBox1.onMouseMove = [this](POINT client) { CheckListBox1MouseMove(client); };
}

// The options dialog stays on top of every window but while the browser shows.
void TExcludeForm::SpeedButton3Click() {
  const HWND dialog = GetWindow(Handle(), GW_OWNER);
  if (dialog) {
    SetForegroundWindow(dialog);
    SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  const std::optional<std::wstring> folder = browseForFolder(Handle());
  if (folder) Edit1.SetText(*folder);
  // The browser closed while every window of the program was disabled: the focus goes back to the
  // dialog, as it does after any of its modal windows.
  SetForegroundWindow(dialog ? dialog : Handle());
  if (dialog) SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TExcludeForm::Edit1MouseMove() { Edit1.SetHint(Edit1.Text()); }

void TExcludeForm::CheckListBox1MouseMove(POINT client) {
  const int index = CheckListBox1.ItemAt(client);
  if (index >= 0) CheckListBox1.SetHint(CheckListBox1.Text(static_cast<size_t>(index)));
}

}  // namespace krelmix

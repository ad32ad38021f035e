#include "app/MainForm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

#include "app/CommandLine.h"
#include "app/StartupSettings.h"

namespace krelmix {

namespace {
const wchar_t kApplicationTitle[] = L"Krelmix";
constexpr int kClientWidth = 600, kClientHeight = 463;
constexpr int kDriveListId = 101;
constexpr int kDriveItemHeight = 13;
constexpr int kTickBoxWidth = 13;

std::wstring ExecutableFolder() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}
}  // namespace

bool TForm1::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(RGB(24, 60, 92));
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

HWND TForm1::Create(HINSTANCE instance, HWND applicationWindow, std::vector<std::wstring> args) {
  auto* form = new TForm1(std::move(args));  // owned by the window; freed at WM_NCDESTROY
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
  HWND hwnd = CreateWindowExW(0, kClassName, kApplicationTitle, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                              kClientWidth, kClientHeight, applicationWindow, nullptr, instance, form);
  if (!hwnd) delete form;
  return hwnd;
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (form->font_) DeleteObject(form->font_);
    delete form;
    PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // Nothing may escape into the system's window code: errors go to the error report.
  try {
    return form->OnMessage(message, wParam, lParam);
  } catch (const SettingsWriteError& e) {
    form->ShowError(e.Message());
  } catch (const std::exception& e) {
    form->ShowError(std::wstring(e.what(), e.what() + std::strlen(e.what())));
  }
  return 0;
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kDriveItemHeight;
      return TRUE;
    case WM_DRAWITEM:
      if (wParam == kDriveListId) DrawDriveItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDriveListId && HIWORD(wParam) == LBN_DBLCLK) CheckListBox1DblClick();
      if (LOWORD(wParam) == kDriveListId && HIWORD(wParam) == LBN_SELCHANGE && !(GetKeyState(VK_LBUTTON) & 0x8000))
        CheckListBox1Click();  // a change of the current line by keyboard
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// Start-up order: program folder, modes, drive list, option defaults, settings, command line.
void TForm1::FormCreate() {
  state_.ExeDir = ExecutableFolder();
  state_.TestMode = state_.NightTrashMode = state_.NightFlyMode = false;
  settings_ = std::make_unique<SettingsFile>(storage_, codec_, state_.SettingsPath());
  CreateDriveListControl();
  driveLines_ = FillDriveList(drives_);
  state_.ShowSplash = state_.FollowReport = state_.WarnTmp = true;
  state_.MaskList.clear();
  state_.ExcludeList.clear();
  if (settings_->Exists()) {
    const IniDocument document = settings_->Load();
    RestoreDriveTicks(driveLines_, document);
    ReadStartupSettings(document, state_);
  }
  ShowDriveLines();
  ProcessCommandLine();
}

void TForm1::ProcessCommandLine() {
  for (Switch s : ParseSwitches(args_)) {
    switch (s) {
      case Switch::Test:
        state_.TestMode = true;
        break;
      case Switch::Help:
        MessageBoxW(hwnd_, kHelpText, kHelpCaption, MB_OK);
        PostQuitMessage(0);
        break;
      case Switch::NightFly:
      case Switch::NightTrash:
        break;  // the unattended runs come with the cleanup engine
    }
  }
}

void TForm1::CreateDriveListControl() {
  font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
  checkListBox1_ = CreateWindowExW(0, L"LISTBOX", L"CheckListBox1",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                       LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                   47, 76, 110, 140, hwnd_, reinterpret_cast<HMENU>(kDriveListId),
                                   GetModuleHandleW(nullptr), nullptr);
  SendMessageW(checkListBox1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetWindowSubclass(checkListBox1_, DriveListProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TForm1::ShowDriveLines() {
  SendMessageW(checkListBox1_, LB_RESETCONTENT, 0, 0);
  for (const auto& line : driveLines_) {
    const auto index = SendMessageW(checkListBox1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
    SendMessageW(checkListBox1_, LB_SETITEMDATA, index, line.ticked ? 1 : 0);
  }
}

// The list's mouse handling: a press on the tick box flips the tick, every click on a line is
// the list's click event, and the space bar flips the current tick without saving it.
LRESULT CALLBACK TForm1::DriveListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* form = reinterpret_cast<TForm1*>(self);
  try {
    if (message == WM_LBUTTONDOWN) {
      const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (!HIWORD(hit) && GET_X_LPARAM(lParam) < kTickBoxWidth) form->ToggleDriveTick(LOWORD(hit));
      return result;
    }
    if (message == WM_LBUTTONUP) {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
      if (!HIWORD(hit)) form->CheckListBox1Click();
      return result;
    }
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      form->ToggleDriveTick(static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)));
      return 0;
    }
  } catch (const SettingsWriteError& e) {
    form->ShowError(e.Message());
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void TForm1::ToggleDriveTick(int index) {
  if (index < 0 || index >= static_cast<int>(driveLines_.size())) return;
  driveLines_[index].ticked = !driveLines_[index].ticked;
  SendMessageW(checkListBox1_, LB_SETITEMDATA, index, driveLines_[index].ticked ? 1 : 0);
  InvalidateRect(checkListBox1_, nullptr, FALSE);
}

void TForm1::CheckListBox1Click() {
  settings_->Update([this](IniDocument& document) { WriteDriveTicks(driveLines_, document); });
}

void TForm1::CheckListBox1DblClick() {
  ToggleDriveTick(static_cast<int>(SendMessageW(checkListBox1_, LB_GETCURSEL, 0, 0)));
}

void TForm1::DrawDriveItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = item.itemState & ODS_SELECTED;
  RECT row = item.rcItem;
  FillRect(item.hDC, &row, GetSysColorBrush(COLOR_WINDOW));
  RECT box = {row.left + 1, row.top + 1, row.left + kTickBoxWidth - 1, row.top + kTickBoxWidth - 1};
  DrawFrameControl(item.hDC, &box, DFC_BUTTON,
                   DFCS_BUTTONCHECK | DFCS_FLAT | (item.itemData ? DFCS_CHECKED : 0));
  RECT text = {row.left + kTickBoxWidth + 2, row.top, row.right, row.bottom};
  if (selected) FillRect(item.hDC, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring& line = driveLines_[item.itemID].text;
  DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &text);
}

void TForm1::ShowError(const std::wstring& text) {
  MessageBoxW(hwnd_, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

}  // namespace krelmix

#include "Harness.h"

#include "../win/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace krelmix::e2e {

namespace {
std::wstring g_program;

std::wstring Widen(const std::string& s) {
  std::wstring w;
  for (char c : s) w += (c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

struct Search {
  DWORD pid;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (pid == search->pid && std::wstring(name) == search->className && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

void MouseClickAt(int x, int y) {
  SetCursorPos(x, y);
  Sleep(100);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &inputs[0], sizeof(INPUT));
  Sleep(100);
  SendInput(1, &inputs[1], sizeof(INPUT));
  Sleep(400);
}
}  // namespace

const std::wstring& BuiltProgram() { return g_program; }

std::wstring WindowText(HWND hwnd) {
  wchar_t text[4096] = {};
  SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return text;
}

void PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }

RunningProgram::RunningProgram(const std::string& settings, bool withSettings) {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  folder_ = std::wstring(temp) + L"krelmix-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
  test::RemoveTree(folder_);
  CreateDirectoryW(folder_.c_str(), nullptr);
  CopyFileW(g_program.c_str(), (folder_ + L"\\Krelmix.exe").c_str(), FALSE);
  if (withSettings) {
    std::ofstream out(std::filesystem::path(SettingsPath()), std::ios::binary);
    out << settings;
  }
}

RunningProgram::~RunningProgram() {
  if (process_.hProcess) {
    if (Running()) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  test::RemoveTree(folder_);
}

void RunningProgram::Start(const std::wstring& arguments) {
  std::wstring command = L"\"" + folder_ + L"\\Krelmix.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                             &startup, &process_));
}

bool RunningProgram::WaitForExit(DWORD milliseconds) {
  return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool RunningProgram::Running() { return process_.hProcess && !WaitForExit(0); }

std::string RunningProgram::SettingsBytes() const {
  std::ifstream in(std::filesystem::path(SettingsPath()), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool RunningProgram::SettingsExist() const {
  return GetFileAttributesW(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND RunningProgram::WaitForWindow(const wchar_t* className, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    Search search{process_.dwProcessId, className, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

MessageBoxInfo RunningProgram::WaitForMessageBox(DWORD milliseconds) {
  MessageBoxInfo box;
  box.hwnd = WaitForWindow(L"#32770", milliseconds);
  if (box.hwnd) {
    box.caption = WindowText(box.hwnd);
    box.text = WindowText(GetDlgItem(box.hwnd, 0xFFFF));
  }
  return box;
}

HWND RunningProgram::DriveList() {
  HWND main = WaitForWindow(L"TForm1");
  return main ? FindWindowExW(main, nullptr, L"LISTBOX", L"CheckListBox1") : nullptr;
}

std::vector<std::wstring> RunningProgram::DriveLines() {
  HWND list = DriveList();
  std::vector<std::wstring> lines;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    lines.emplace_back(text);
  }
  return lines;
}

std::vector<bool> RunningProgram::DriveTicks() {
  HWND list = DriveList();
  std::vector<bool> ticks;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) ticks.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0) != 0);
  return ticks;
}

int RunningProgram::DriveLineIndex(wchar_t letter) {
  const auto lines = DriveLines();
  for (size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].empty() && lines[i][0] == letter) return static_cast<int>(i);
  return -1;
}

void RunningProgram::ClickDriveLine(int index, bool onTickBox) {
  HWND list = DriveList();
  RECT item = {};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  POINT p = {onTickBox ? item.left + 6 : item.left + 40, (item.top + item.bottom) / 2};
  ClientToScreen(list, &p);
  MouseClickAt(p.x, p.y);
}

}  // namespace krelmix::e2e

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: e2e_tests PATH-TO-Krelmix.exe\n");
    return 2;
  }
  std::string path = argv[1];
  krelmix::e2e::g_program = (path.size() && path[0] == '/') ? L"Z:" + krelmix::e2e::Widen(path)
                                                           : krelmix::e2e::Widen(path);
  return RUN_ALL_TESTS();
}

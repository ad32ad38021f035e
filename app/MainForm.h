#pragma once
// The main window TForm1: the only window alive for the whole run.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "cleanup/DriveList.h"
#include "platform/win32/Win32AnsiCodec.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32SettingsStorage.h"
#include "settings/SettingsFile.h"

namespace krelmix {

class TForm1 {
 public:
  static constexpr wchar_t kClassName[] = L"TForm1";
  static bool RegisterWindowClass(HINSTANCE instance);
  static HWND Create(HINSTANCE instance, HWND applicationWindow, std::vector<std::wstring> args);

  ProgramState& State() { return state_; }

 private:
  explicit TForm1(std::vector<std::wstring> args) : args_(std::move(args)) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK DriveListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);

  void FormCreate();
  void ProcessCommandLine();
  void CreateDriveListControl();
  void ShowDriveLines();
  void CheckListBox1Click();
  void CheckListBox1DblClick();
  void ToggleDriveTick(int index);
  void DrawDriveItem(const DRAWITEMSTRUCT& item);
  void ShowError(const std::wstring& text);

  HWND hwnd_ = nullptr;
  HWND checkListBox1_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<std::wstring> args_;
  ProgramState state_;
  Win32Drives drives_;
  Win32SettingsStorage storage_;
  Win32AnsiCodec codec_;
  std::unique_ptr<SettingsFile> settings_;
  std::vector<DriveLine> driveLines_;
};

}  // namespace krelmix

#pragma once
// A stand-in for the main window in the benchmarks: the program's own found list at its place and
// size, in its font, two counter labels and a status line.
#include <windows.h>

#include "toolkit/CheckListBox.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"

namespace krelmix {

class BenchForm : public Form {
 public:
  BenchForm() : Form(Style()) {}
  CheckListBox list{L"RxCheckListBox1"};
  HWND folders = nullptr, files = nullptr, status = nullptr;
  Font font;

 protected:
  void CreateControls() override {
    font.Reset(CreatePointFont(L"Courier New", 8, FW_NORMAL, RUSSIAN_CHARSET));
    CheckListStyle style;
    style.tick = TickStyle::Mark;
    style.itemHeight = 14;
    style.font = font.Get();
    list.Create(Handle(), {162, 96, 591, 432}, 102, style);
    AddWindowed(list);
    folders = Child(SS_LEFT, 5, 5, 150, 20);
    files = Child(SS_LEFT, 5, 30, 150, 20);
    status = Child(SS_LEFT | SS_SUNKEN, 5, 440, 590, 20);
  }

 private:
  HWND Child(DWORD style, int x, int y, int w, int h) {
    return CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  }
  static FormStyle Style() {
    FormStyle style;
    style.className = L"KrelmixBench";
    style.title = L"Krelmix bench";
    style.clientSize = {600, 463};
    return style;
  }
};

}  // namespace krelmix

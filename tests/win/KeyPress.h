#pragma once
// A key pressed as the keyboard presses it: the key-down waits in the thread's queue and reaches
// its window through the program's step before dispatch, where the forms take their keys. A key
// sent straight to a window would pass that step by.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/MessageLoop.h"

namespace krelmix::test {

// Presses a key where the keyboard focus is, with Ctrl and Shift held as asked. With no window
// focused, the system gives the active window the key as a system key.
inline void PressKey(UINT key, bool ctrl = false, bool shift = false) {
  BYTE saved[256] = {}, keys[256] = {};
  GetKeyboardState(saved);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  const HWND focus = GetFocus();
  const HWND target = focus ? focus : GetActiveWindow();
  const UINT message = focus ? WM_KEYDOWN : WM_SYSKEYDOWN;
  PostMessageW(target, message, key, 1);
  // Only the key is taken from the queue: what else waits there is the test's to pump.
  MSG msg;
  if (PeekMessageW(&msg, target, message, message, PM_REMOVE)) Deliver(msg);
  SetKeyboardState(saved);
}

// A filter that notes each key-down it is asked about as its name and the key ("BK"), and takes
// the one key it is given.
class KeyLog : public MessageFilter {
 public:
  KeyLog(std::vector<std::string>& log, char name, UINT takes = 0) : log_(log), name_(name), takes_(takes) {}
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message != WM_KEYDOWN) return false;
    log_.push_back({name_, static_cast<char>(msg.wParam)});
    return msg.wParam == takes_;
  }

 private:
  std::vector<std::string>& log_;
  char name_;
  UINT takes_;
};

}  // namespace krelmix::test

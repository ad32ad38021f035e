#include "toolkit/MessagePump.h"

#include "toolkit/MessageLoop.h"

namespace krelmix {

bool MessagePump::Due() const { return !quit_ && GetTickCount64() - last_ >= interval_; }

bool MessagePump::Pump() {
  if (quit_) return false;
  return Due() ? PumpNow() : true;
}

bool MessagePump::PumpNow() {
  MSG msg;
  while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Deliver(msg);
  }
  last_ = GetTickCount64();
  return !quit_;
}

}  // namespace krelmix

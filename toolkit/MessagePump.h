#pragma once
// The pump a long run calls at its fixed points. Those points come thousands of times a second
// in a fast walk, and every look at the queue is a trip to the window system, so the queue is
// read at most once per interval: pending input waits a few milliseconds at most and the
// windows repaint at a steady rate, while the walk keeps its speed.
#include <windows.h>

#include <cstdint>

namespace krelmix {

class MessagePump {
 public:
  explicit MessagePump(uint32_t intervalMs = 15) : interval_(intervalMs) {}

  // Handles the pending messages unless that was done less than the interval ago. Returns
  // false once WM_QUIT has been taken from the queue; it is posted again for the main loop.
  bool Pump();
  // Handles the pending messages now.
  bool PumpNow();
  // True when the next Pump will read the queue: the moment to bring held-back updates on
  // screen.
  bool Due() const;

 private:
  uint32_t interval_;
  uint64_t last_ = 0;
  bool quit_ = false;
};

}  // namespace krelmix

#pragma once
// Time for the timing message: the time of day to show, and a steady count to measure with.
#include <cstdint>

namespace krelmix {

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimeOfDay Now() = 0;
  // Milliseconds from an arbitrary start, never going back (a run across midnight stays right).
  virtual uint64_t SteadyMilliseconds() = 0;
};

}  // namespace krelmix

#pragma once
// Time for the timing message: the time of day to show, and a steady count to measure with; and
// the date and time the records of kept files carry.
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
  // The date and time, as Windows keeps file times: 100 ns units since 1601-01-01 UTC.
  virtual uint64_t WallTime() = 0;
};

}  // namespace krelmix

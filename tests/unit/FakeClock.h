#pragma once
// A clock the test sets: times of day handed out in turn, steady counts likewise, and a wall time.
#include <algorithm>
#include <vector>

#include "platform/Clock.h"

namespace krelmix::test {

class FakeClock : public Clock {
 public:
  std::vector<TimeOfDay> times;  // handed out in turn, the last one repeated
  std::vector<uint64_t> steady;
  uint64_t wall = 134'000'000'000'000'000;  // a day of 2025
  TimeOfDay Now() override { return Next(times, timeAt_); }
  uint64_t SteadyMilliseconds() override { return Next(steady, steadyAt_); }
  uint64_t WallTime() override { return wall; }

 private:
  template <typename T>
  static T Next(const std::vector<T>& values, size_t& at) {
    if (values.empty()) return T{};
    return values[std::min(at++, values.size() - 1)];
  }
  size_t timeAt_ = 0, steadyAt_ = 0;
};

}  // namespace krelmix::test

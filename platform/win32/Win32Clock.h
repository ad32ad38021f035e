#pragma once
#include "platform/Clock.h"

namespace krelmix {

class Win32Clock : public Clock {
 public:
  TimeOfDay Now() override;
  uint64_t SteadyMilliseconds() override;
  uint64_t WallTime() override;
};

}  // namespace krelmix

#pragma once
#include <string>

namespace krelmix::e2e {

// Writes the pictures the README shows into `folder` (a Unix path); 0 when every one was written.
int TakeScreenshots(const std::string& folder);

}  // namespace krelmix::e2e

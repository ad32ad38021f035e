#pragma once
// The link cursor: a 32 x 32 monochrome cursor file of a pointing hand.
#include <string>

namespace artgen {

constexpr int kCursorSize = 32;
void WriteLinkCursor(const std::string& path);

}  // namespace artgen

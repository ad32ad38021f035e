#pragma once
// The link cursor: a monochrome cursor file of a pointing hand, 32 x 32 at 100%.
#include <string>

#include "Image.h"

namespace artgen {

constexpr int kCursorSize = 32;
void WriteLinkCursor(const std::string& path, ArtScale scale = ArtScale());

}  // namespace artgen

#pragma once
// The two 88 x 31 banners of the main window.
#include "Image.h"

namespace artgen {

constexpr int kBannerWidth = 88, kBannerHeight = 31;
ColourImage ProductBanner();
ColourImage StudioBanner();

}  // namespace artgen

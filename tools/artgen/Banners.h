#pragma once
// The two banners, 88 x 31 at 100%, of the main window.
#include "Image.h"

namespace artgen {

constexpr int kBannerWidth = 88, kBannerHeight = 31;
ColourImage ProductBanner(ArtScale scale = ArtScale());
ColourImage StudioBanner(ArtScale scale = ArtScale());

}  // namespace artgen

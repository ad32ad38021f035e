#include "toolkit/ColorScheme.h"

#include <algorithm>
#include <cmath>

namespace krelmix {

namespace {

std::function<bool()>& Probe() {
  static std::function<bool()> probe;
  return probe;
}

double Linear(BYTE channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF c) {
  return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

constexpr double kReadable = 4.5;

}  // namespace

bool HighContrast() {
  if (Probe()) return Probe()();
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void SetHighContrastProbe(std::function<bool()> probe) { Probe() = std::move(probe); }

int SystemTextFor(int background) {
  switch (background) {
    case COLOR_WINDOW:
      return COLOR_WINDOWTEXT;
    case COLOR_INFOBK:
      return COLOR_INFOTEXT;
    case COLOR_HIGHLIGHT:
      return COLOR_HIGHLIGHTTEXT;
    default:
      return COLOR_BTNTEXT;
  }
}

double ContrastRatio(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TextColors TextColorsOn(Shade text, Shade background, int systemBackground) {
  if (background.IsSystem()) {
    const COLORREF behind = background.Get(), pair = GetSysColor(SystemTextFor(background.Index()));
    const bool accentKept = !text.IsSystem() && !HighContrast() && ContrastRatio(text.Get(), behind) >= kReadable;
    return {accentKept ? text.Get() : pair, behind, false};
  }
  if (HighContrast()) return {GetSysColor(SystemTextFor(systemBackground)), GetSysColor(systemBackground), true};
  // A system text colour was never chosen for a fixed background: the design's own colour is.
  return {text.IsSystem() ? RGB(0, 0, 0) : text.Get(), background.Get(), false};
}

}  // namespace krelmix

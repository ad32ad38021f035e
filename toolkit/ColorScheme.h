#pragma once
// Colours of text and of what lies behind it, readable in any colour scheme. Text on one of the
// system's colours is drawn in that colour's system pair; text on a fixed colour or a skin in a
// fixed colour chosen for it; and in high contrast the system pair takes the place of a fixed
// background too, so that the user's scheme decides every text the program shows.
#include <windows.h>

#include <functional>

namespace krelmix {

// A colour as a design names it: a fixed value, or one of the system's colours (COLOR_...), read
// each time it is drawn, so that a change of scheme shows at the next paint.
class Shade {
 public:
  // A fixed colour; implicit, so that a design writes a colour as a colour.
  constexpr Shade(COLORREF fixed) : value_(fixed) {}  // NOLINT(google-explicit-constructor)
  static constexpr Shade System(int index) { return Shade(static_cast<COLORREF>(index), true); }
  bool IsSystem() const { return system_; }
  int Index() const { return static_cast<int>(value_); }
  COLORREF Get() const { return system_ ? GetSysColor(Index()) : value_; }
  bool operator==(const Shade&) const = default;

 private:
  constexpr Shade(COLORREF value, bool system) : value_(value), system_(system) {}
  COLORREF value_;
  bool system_ = false;
};

// Whether the user runs a high-contrast scheme (SPI_GETHIGHCONTRAST), unless a probe is set.
bool HighContrast();
// Replaces the system's answer (Wine 8 always answers "off"); an empty function asks it again.
void SetHighContrastProbe(std::function<bool()> probe);

// The system's text colour that belongs with a system background: WINDOWTEXT on WINDOW,
// INFOTEXT on INFOBK, HIGHLIGHTTEXT on HIGHLIGHT, BTNTEXT on the button face and the others.
int SystemTextFor(int background);

struct TextColors {
  COLORREF text;
  COLORREF background;
  // The background must be painted behind the text: high contrast over a fixed colour or a skin.
  bool fillBackground;
};

// The colours to draw `text` in on `background`. On a system background the text is its system
// pair; a fixed text colour there (an accent, a heading's green) stays only while it stands out
// from the background as the scheme has it (contrast 4.5:1 or more) and the scheme is not high
// contrast. On a fixed background the fixed text stays, but in high contrast both give way to
// `systemBackground` and its pair.
TextColors TextColorsOn(Shade text, Shade background, int systemBackground = COLOR_BTNFACE);

// The contrast of two colours as the accessibility guidelines measure it (1 to 21).
double ContrastRatio(COLORREF a, COLORREF b);

}  // namespace krelmix

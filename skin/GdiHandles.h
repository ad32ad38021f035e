#pragma once
// Owners for the palette and hook handles the skin control works with (the GDI objects, DCs and
// selections are the toolkit's): each one is given back to the system exactly once, also when an
// error leaves the scope early.
#include <windows.h>

#include <utility>

#include "toolkit/Gdi.h"

namespace krelmix {

// A palette selected (and realized) into a device context, the previous one restored after.
class PaletteSelection {
 public:
  PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc), previous_(SelectPalette(dc, palette, FALSE)) {
    RealizePalette(dc);
  }
  ~PaletteSelection() {
    if (previous_) SelectPalette(dc_, previous_, FALSE);
  }
  PaletteSelection(const PaletteSelection&) = delete;
  PaletteSelection& operator=(const PaletteSelection&) = delete;

 private:
  HDC dc_;
  HPALETTE previous_;
};

// A hook procedure installed with SetWindowsHookEx.
class WindowsHook {
 public:
  WindowsHook() = default;
  ~WindowsHook() { Reset(); }
  WindowsHook(const WindowsHook&) = delete;
  WindowsHook& operator=(const WindowsHook&) = delete;
  HHOOK Get() const { return hook_; }
  void Reset(HHOOK hook = nullptr) {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = hook;
  }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace krelmix

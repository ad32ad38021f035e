#pragma once
// The owners of GDI objects, device contexts and selections, and the functions that make GDI
// objects (they hand back an owner). The owner template and the other system handles' owners are
// in platform/win32/Handles.h.
#include <windows.h>

#include <string_view>
#include <utility>

#include "platform/win32/Handles.h"

namespace krelmix {

// Owns one GDI object (font, brush, pen, bitmap, region) and deletes it.
struct GdiObjectTraits {
  static bool Valid(HGDIOBJ object) { return object != nullptr; }
  static void Close(HGDIOBJ object) { DeleteObject(object); }
};
template <typename Handle>
using GdiObject = UniqueHandle<Handle, GdiObjectTraits>;

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;
using Pen = GdiObject<HPEN>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

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

// A memory DC compatible with another one.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Measures text in one font. A run measures the status line for every folder it enters, and a
// window DC costs a trip to the window system each time it is fetched, so this keeps its own.
class TextMeter {
 public:
  explicit TextMeter(HFONT font) : dc_(nullptr), select_(dc_.Get(), font) {}
  void SetFont(HFONT font) { SelectObject(dc_.Get(), font); }
  int Width(std::wstring_view text) const {
    SIZE size{};
    GetTextExtentPoint32W(dc_.Get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  MemoryDC dc_;
  SelectGuard select_;
};

// A DC from GetDC, released on scope exit.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  HDC Get() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// "MS Sans Serif"-style fonts by point size, at the DPI of the form being made.
Font CreatePointFont(const wchar_t* face, int points, int weight = FW_NORMAL, BYTE charset = DEFAULT_CHARSET);
// A font by its character height in 96-DPI pixels, at the scale of the form being made.
Font CreatePixelFont(const wchar_t* face, int pixels, int weight = FW_NORMAL);
// A narrower cut of the font selected into `dc` in which `text` fits `width` pixels, or an empty
// Font when it fits already. A fixed-size label is designed around one system's font; where the
// face is substituted by a wider one, its caption is condensed rather than cut off.
Font CondensedToFit(HDC dc, std::wstring_view text, int width);

// Draws a bitmap with its transparent parts: 32-bit bitmaps by their alpha, others keyed on the
// colour of their bottom-left pixel.
// A bitmap resource of the module as a DIB section; empty when it is missing.
Bitmap LoadBitmapResource(HINSTANCE instance, UINT id);
// At `shown` size when one is given (a 96-DPI picture on a window of another scale).
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, SIZE shown = {0, 0});
SIZE BitmapSize(HBITMAP bitmap);

// A cursor of the system's own set (IDC_HAND, IDC_HELP, ...): shared, and freed by nobody.
inline BorrowedCursor SystemCursor(const wchar_t* id) { return BorrowedCursor(LoadCursorW(nullptr, id)); }

}  // namespace krelmix

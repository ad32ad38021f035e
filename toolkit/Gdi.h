#pragma once
// The owners of GDI objects, device contexts and selections, and the functions that make GDI
// objects (they hand back an owner). The other system handles' owners are in platform/win32/Handles.h.
#include <windows.h>

#include <string_view>
#include <utility>

namespace krelmix {

// Owns one GDI object (font, brush, pen, bitmap, region) and deletes it.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  // Hands the handle to a new owner (e.g. SetWindowRgn), which frees it from then on.
  Handle Release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

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

// "MS Sans Serif"-style fonts by point size at the screen's resolution.
Font CreatePointFont(const wchar_t* face, int points, int weight = FW_NORMAL, BYTE charset = DEFAULT_CHARSET);
// A font by its character height in pixels, whatever the screen's resolution.
Font CreatePixelFont(const wchar_t* face, int pixels, int weight = FW_NORMAL);

// Draws a bitmap with its transparent parts: 32-bit bitmaps by their alpha, others keyed on the
// colour of their bottom-left pixel.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y);
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace krelmix

#include "toolkit/DisplayScale.h"

namespace krelmix {

namespace {
thread_local DisplayScale g_designScale;
}  // namespace

int DpiOf(HWND window) {
  // Looked up, not linked: Windows before 10 has neither, and the program still starts there.
  using ForWindow = UINT(WINAPI*)(HWND);
  using ForSystem = UINT(WINAPI*)();
  const HMODULE user = GetModuleHandleW(L"user32.dll");
  static const auto forWindow =
      reinterpret_cast<ForWindow>(reinterpret_cast<void*>(user ? GetProcAddress(user, "GetDpiForWindow") : nullptr));
  static const auto forSystem =
      reinterpret_cast<ForSystem>(reinterpret_cast<void*>(user ? GetProcAddress(user, "GetDpiForSystem") : nullptr));
  if (window && forWindow) return static_cast<int>(forWindow(window));
  if (forSystem) return static_cast<int>(forSystem());
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int DisplayScale::ArtDpi() const {
  if (dpi_ <= kDesignDpi) return kDesignDpi;
  const int above = kDesignDpi + (dpi_ - kDesignDpi + kArtDpiStep - 1) / kArtDpiStep * kArtDpiStep;
  return above < kLargestArtDpi ? above : kLargestArtDpi;
}

DisplayScale DesignScale() { return g_designScale; }

CreateArgs ScaledToDesign(CreateArgs args) {
  args.bounds = g_designScale(args.bounds);
  return args;
}

DesignScaleScope::DesignScaleScope(DisplayScale scale) : previous_(g_designScale) { g_designScale = scale; }

DesignScaleScope::~DesignScaleScope() { g_designScale = previous_; }

}  // namespace krelmix

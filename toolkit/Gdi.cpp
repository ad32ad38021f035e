#include "toolkit/Gdi.h"

#include <algorithm>

#include "toolkit/DisplayScale.h"

namespace krelmix {

namespace {
Font MakeFont(const wchar_t* face, int height, int weight, BYTE charset) {
  return Font(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face));
}
}  // namespace

Font CreatePointFont(const wchar_t* face, int points, int weight, BYTE charset) {
  // At the DPI of the form being made, its monitor's, which need not be the screen's LOGPIXELSY.
  return MakeFont(face, -MulDiv(points, DesignScale().Dpi(), 72), weight, charset);
}

Font CreatePixelFont(const wchar_t* face, int pixels, int weight) {
  return MakeFont(face, -DesignScale()(pixels), weight, DEFAULT_CHARSET);
}

namespace {

int TextWidth(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

Font CondensedToFit(HDC dc, std::wstring_view text, int width) {
  const int natural = TextWidth(dc, text);
  if (natural <= width || width <= 0 || text.empty()) return Font();
  LOGFONTW lf{};
  TEXTMETRICW metrics{};
  if (!GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf) || !GetTextMetricsW(dc, &metrics)) return Font();
  // Character widths do not scale exactly with lfWidth, so narrow step by step from the estimate.
  for (int average = std::max(1L, metrics.tmAveCharWidth * width / natural); average >= 1; --average) {
    lf.lfWidth = average;
    Font condensed(CreateFontIndirectW(&lf));
    SelectGuard selected(dc, condensed.Get());
    if (TextWidth(dc, text) <= width) return condensed;
  }
  return Font();
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

Bitmap LoadBitmapResource(HINSTANCE instance, UINT id) {
  return Bitmap(
      static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, SIZE shown) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  const int width = shown.cx > 0 ? shown.cx : info.bmWidth, height = shown.cy > 0 ? shown.cy : info.bmHeight;
  MemoryDC source(dc);
  SelectGuard select(source.Get(), bitmap);
  if (info.bmBitsPixel == 32) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight, blend);
    return;
  }
  const COLORREF key = GetPixel(source.Get(), 0, info.bmHeight - 1);
  TransparentBlt(dc, x, y, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight, key);
}

}  // namespace krelmix

#pragma once
// The skin control: placed once on a window, it makes the window borderless, shapes it by the
// skin's outline, paints the skin and lets the user move the window by dragging the skin.
//
// The control is not a window of its own: the form it is attached to paints it (Paint) from its
// WM_PAINT and tells it, through isHandledAt, whether a press lands on one of the form's graphic
// controls that reacts to clicks. Dragging runs in a mouse hook of the GUI thread that every
// live skin control shares.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/RegionData.h"
#include "toolkit/DisplayScale.h"
#include "toolkit/Gdi.h"

namespace krelmix {

class TfcCustomImageForm {
 public:
  struct Callbacks {
    // Is there, at this point of the form's client area, a visible graphic control (disabled
    // ones included) with a click or mouse-down handler? Such a press never drags.
    std::function<bool(POINT client)> isHandledAt;
    // Errors caught at the edge of the hook, for the application's error report.
    std::function<void(const std::wstring& text)> onError;
  };
  // Which control acts as the caption bar: none, or the skin control itself.
  enum class CaptionBar { None, Skin };

  TfcCustomImageForm();
  virtual ~TfcCustomImageForm();
  TfcCustomImageForm(const TfcCustomImageForm&) = delete;
  TfcCustomImageForm& operator=(const TfcCustomImageForm&) = delete;

  // Puts the control on `window`'s top-level form: removes the border and WS_CLIPCHILDREN, fits
  // the control to the client area (or the form to the skin, with AutoSize) and gives the form
  // its outline: the stored one, or else the one computed from the skin.
  void Attach(HWND window, Callbacks callbacks);
  HWND Form() const { return form_; }

  // Properties. The picture is taken over and freed with the control; it is painted for `artDpi`
  // (see DisplayScale::ArtDpi), and the stored outline given with it is that picture's.
  void SetPicture(Bitmap picture, int artDpi = kDesignDpi);
  int PictureDpi() const { return artDpi_; }
  SIZE PictureSize() const;
  void SetTransparentColor(std::optional<COLORREF> colour) { transparentColor_ = colour; }
  // The stored outline (count first); an empty block reads as N = 0.
  void SetRegionData(std::vector<uint8_t> stored) { regionData_ = std::move(stored); }
  const std::vector<uint8_t>& RegionData() const { return regionData_; }
  void SetCaptionBarControl(CaptionBar captionBar) { captionBar_ = captionBar; }
  void SetAutoSize(bool on);
  bool AutoSize() const { return autoSize_; }
  // The window's scale: the skin and its outline are shown at it, as they are when the picture was
  // painted for it, else stretched from the picture's DPI. Set before Attach.
  void SetScale(DisplayScale scale) { scale_ = scale; }
  // The form went to another scale: the skin, its outline and (with AutoSize) the form follow.
  void ChangeScale(DisplayScale scale);

  // The control's place in the form's client area.
  RECT Bounds() const;
  // Draws the skin at the client origin, at its natural size.
  void Paint(HDC dc) const;

  // Whether the shared mouse hook is in place (it is while any skin control lives).
  static bool MouseHookInstalled();

  // What a window designer stores: the outline computed from the current skin, count first.
  std::vector<uint8_t> ComputeRegionData() const;

 private:
  static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
  static bool StartDragOnPress(UINT message, const MOUSEHOOKSTRUCT& mouse);
  bool WantsDrag(HWND activeForm, HWND pressed, POINT client) const;
  void ApplyOutline() const;
  SIZE ShownSize() const { return scale_.Shown(PictureSize(), artDpi_); }
  void FitFormToControl() const;
  // Runs the nested loop of a drag; returns when the button is released, the capture is lost
  // or the program is asked to quit. Touches no member once the control may be gone.
  void DragLoop(POINT pressScreen);
  void ReportError(const std::wstring& text) const;

  HWND form_ = nullptr;
  Callbacks callbacks_;
  GdiObject<HBITMAP> picture_;
  int artDpi_ = kDesignDpi;
  std::optional<COLORREF> transparentColor_;
  std::vector<uint8_t> regionData_;
  CaptionBar captionBar_ = CaptionBar::None;
  static constexpr int kDragTolerance = 5;  // pixels a press must move before the window follows
  bool autoSize_ = false;
  DisplayScale scale_;
  // Expires with the control, so that a drag loop can tell when its window was destroyed
  // by a message it dispatched.
  std::shared_ptr<int> lifeToken_ = std::make_shared<int>(0);
};

class TfcImageForm : public TfcCustomImageForm {};

// The outline of a picture: every pixel that is not of the key colour (by default the colour of
// the bottom-left pixel), united row run by row run. Null for no picture or an empty one.
GdiObject<HRGN> ComputeOutlineRegion(HBITMAP picture, std::optional<COLORREF> transparentColor);
// A region in the stored form: N, then the region data as GetRegionData gives it.
std::vector<uint8_t> StoredOutlineOf(HRGN region);
// The picture's pixels as 0x00RRGGBB, top row first.
std::optional<PixelGrid> ReadPixels(HBITMAP picture);

// A block of RCDATA bytes from the resources (bitmaps: LoadBitmapResource in toolkit/Gdi.h).
std::vector<uint8_t> LoadResourceBytes(HINSTANCE instance, UINT id);

}  // namespace krelmix

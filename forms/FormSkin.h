#pragma once
// How a window of the program wears its skin: the picture and stored outline from the resources,
// drags refused where a graphic control takes the press, errors to the error report, and the skin
// painted as the window's background. What differs from window to window is in SkinLook.
#include <windows.h>

#include <optional>

#include "skin/ImageForm.h"
#include "toolkit/DisplayScale.h"
#include "toolkit/Form.h"

namespace krelmix {

struct SkinLook {
  SkinLook(UINT picture, UINT outline) : pictureId(picture), outlineId(outline) {}
  UINT pictureId;
  UINT outlineId;
  // Whether a press on the skin drags the window (the skin is its caption bar), or only a press
  // on the window itself while it is the active one.
  TfcImageForm::CaptionBar captionBar = TfcImageForm::CaptionBar::None;
  bool autoSize = false;  // the client area takes the skin's size
  // The key colour; none means the skin's bottom-left pixel.
  std::optional<COLORREF> transparentColor;
};

// Puts the skin on the form, painted for the form's scale, and changes it with the scale.
void AttachSkin(Form& form, TfcImageForm& skin, const SkinLook& look);

// A resource of the program's art as painted for `scale` (see DisplayScale::ArtDpi).
UINT ArtResource(UINT id, DisplayScale scale);
// The picture painted for `scale` and the DPI it was painted for.
struct ArtPicture {
  Bitmap picture;
  int dpi = kDesignDpi;
};
ArtPicture LoadArtPicture(UINT id, DisplayScale scale);

}  // namespace krelmix

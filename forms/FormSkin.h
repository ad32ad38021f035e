#pragma once
// How a window of the program wears its skin: the picture and stored outline from the resources,
// the skin itself as the caption bar, drags refused where a graphic control takes the press,
// errors to the error report, and the skin painted as the window's background.
#include <windows.h>

#include "skin/ImageForm.h"
#include "toolkit/Form.h"

namespace krelmix {

void AttachSkin(Form& form, TfcImageForm& skin, UINT pictureId, UINT outlineId);

}  // namespace krelmix

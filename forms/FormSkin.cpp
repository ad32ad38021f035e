#include "forms/FormSkin.h"

#include "toolkit/ErrorReport.h"

namespace krelmix {

void AttachSkin(Form& form, TfcImageForm& skin, const SkinLook& look) {
  const HINSTANCE instance = ModuleInstance();
  skin.SetPicture(LoadBitmapResource(instance, look.pictureId));
  skin.SetTransparentColor(look.transparentColor);
  skin.SetRegionData(LoadResourceBytes(instance, look.outlineId));
  skin.SetCaptionBarControl(look.captionBar);
  skin.SetScale(DesignScale());
  skin.SetAutoSize(look.autoSize);
  TfcImageForm::Callbacks callbacks;
  callbacks.isHandledAt = [&form](POINT client) {
    const GraphicControl* control = form.Graphics().ControlAt(client, true);
    return control && control->HandlesPress();
  };
  callbacks.onError = [](const std::wstring& text) { ShowErrorReport(text); };
  skin.Attach(form.Handle(), callbacks);
  form.onPaintBackground = [&skin](HDC dc) { skin.Paint(dc); };
  form.onScaleChanged = [&skin](DisplayScale scale) { skin.ChangeScale(scale); };
}

}  // namespace krelmix

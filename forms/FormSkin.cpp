#include "forms/FormSkin.h"

#include "toolkit/ErrorReport.h"

namespace krelmix {

void AttachSkin(Form& form, TfcImageForm& skin, UINT pictureId, UINT outlineId) {
  const HINSTANCE instance = ModuleInstance();
  skin.SetPicture(LoadSkinPicture(instance, pictureId));
  skin.SetRegionData(LoadResourceBytes(instance, outlineId));
  skin.SetCaptionBarControl(TfcImageForm::CaptionBar::Skin);
  skin.SetAutoSize(true);
  TfcImageForm::Callbacks callbacks;
  callbacks.isHandledAt = [&form](POINT client) {
    const GraphicControl* control = form.Graphics().ControlAt(client, true);
    return control && control->HandlesPress();
  };
  callbacks.onError = [](const std::wstring& text) { ShowErrorReport(text); };
  skin.Attach(form.Handle(), callbacks);
  form.onPaintBackground = [&skin](HDC dc) { skin.Paint(dc); };
}

}  // namespace krelmix

#include "forms/FormSkin.h"

#include "resources/ResourceIds.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {

namespace {

// The skin's picture and its stored outline, both painted for `scale`.
void TakeArt(TfcImageForm& skin, const SkinLook& look, DisplayScale scale) {
  ArtPicture art = LoadArtPicture(look.pictureId, scale);
  skin.SetPicture(std::move(art.picture), art.dpi);
  skin.SetRegionData(LoadResourceBytes(ModuleInstance(), ArtResource(look.outlineId, DisplayScale(art.dpi))));
}

}  // namespace

UINT ArtResource(UINT id, DisplayScale scale) {
  return id + static_cast<UINT>(KRELMIX_SCALED_RESOURCE_STEP * scale.ArtStep());
}

ArtPicture LoadArtPicture(UINT id, DisplayScale scale) {
  ArtPicture art{LoadBitmapResource(ModuleInstance(), ArtResource(id, scale)), scale.ArtDpi()};
  if (!art.picture) art = {LoadBitmapResource(ModuleInstance(), id), kDesignDpi};  // the design's own, stretched
  return art;
}

void AttachSkin(Form& form, TfcImageForm& skin, const SkinLook& look) {
  TakeArt(skin, look, DesignScale());
  skin.SetTransparentColor(look.transparentColor);
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
  form.onScaleChanged = [&skin, look](DisplayScale scale) {
    TakeArt(skin, look, scale);
    skin.ChangeScale(scale);
  };
}

}  // namespace krelmix

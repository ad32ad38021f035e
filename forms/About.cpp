#include "forms/About.h"

#include <shellapi.h>

#include "forms/FormSkin.h"
#include "forms/ProjectInfo.h"
#include "resources/ResourceIds.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"

namespace krelmix {

namespace {

constexpr UINT kPanelId = 301, kButtonId = 302;
constexpr COLORREF kNavy = RGB(0, 0, 128), kBlue = RGB(0, 0, 255);
constexpr COLORREF kSkinUnderLinks = RGB(214, 220, 230);

FormStyle AboutStyle() {
  FormStyle style;
  style.className = L"TAboutForm";
  style.title = L"О программе";
  style.clientSize = {300, 205};
  style.style = WS_POPUP;
  style.color = RGB(19, 17, 19);
  return style;
}

bool AllModifiersHeld() { return GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) < 0; }

}  // namespace

std::wstring SupportMailLink() {
  return std::wstring(L"mailto:") + kSupportMailAddress + L"?subject=\"(Krelmix Support)\"&body=\"" + kVersionText +
         L" (Rel. 30 декабря 2007 г.)\"";
}

TAboutForm::TAboutForm() : Form(AboutStyle()) {
  shellOpen = [](HWND owner, const std::wstring& target) {
    ShellExecuteW(owner, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
  };
  showMessage = [](HWND owner) { MessageBoxW(owner, L"Nosce te ipsum!", kApplicationTitle, MB_OK); };
}

void TAboutForm::Execute(HWND owner) {
  TAboutForm form;
  form.CreateForm(owner);
  form.ShowModal();
}

// The mascot and the logo painted for the window's scale; loaded again when the scale changes.
void TAboutForm::LoadPictures() {
  ArtPicture mascot = LoadArtPicture(IDB_MASCOT, Scale());
  ArtPicture logo = LoadArtPicture(IDB_LOGO, Scale());
  Image1.SetPicture(mascot.picture, mascot.dpi);
  Image2.SetPicture(logo.picture, logo.dpi);
  mascot_ = std::move(mascot.picture);
  logo_ = std::move(logo.picture);
}

void TAboutForm::CreateControls() {
  CreateSkin();
  LoadPictures();
  Image1.SetCenter(true);
  Add(Image1, {.bounds = {14, 9, 85, 162}, .hint = L"Сама Krelmix!"});
  CreateLabels();

  Image2.SetCenter(true);
  Image2.SetTransparent(true);
  Image2.onDblClick = [this] { Image2DblClick(); };
  ScrewPanel1.AddGraphic(Image2, {.bounds = {1, 10, 176, 49}});
  ScrewPanel1.AddGraphic(SRLabel4, {.bounds = {1, 65, 178, 17}, .font = versionFont_});
  ScrewPanel1.AddGraphic(SRLabel1, {.bounds = {1, 83, 180, 17}, .font = releaseFont_});
  ScrewPanel1.AddGraphic(Label1, {.bounds = {1, 120, 180, 13}, .font = copyrightFont_});
  ScrewPanel1.Look().bevel = Bevel::Raised;
  Add(ScrewPanel1, kPanelId, {.bounds = {105, 9, 180, 141}});

  buttonFont_ = CreatePixelFont(L"MS Sans Serif", 11, FW_BOLD);
  ShapeButtonLook& button = fcShapeBtn1.Look();
  button.textStyle = TextStyle::Lowered;
  button.shading = FaceShading::Highlight;
  button.isDefault = button.isCancel = true;
  button.modalResult = mrOk;
  button.cursor = SystemCursor(IDC_HAND);
  Add(fcShapeBtn1, kButtonId, {.bounds = {14, 173, 85, 25}, .caption = L"Угу!", .font = buttonFont_});
  fcShapeBtn1.onClick = [this] { fcShapeBtn1Click(); };
  fcShapeBtn1.onKey = [this](UINT message, WPARAM key) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
      FormKeyDown(key);
    else
      FormKeyUp();
  };
  SetTabOrder({fcShapeBtn1.Handle()});
}

// No caption-bar control and no auto-size: the window is dragged by a press on itself while it is
// the active window, and keeps its designed 300 x 205, the skin's own size.
void TAboutForm::CreateSkin() { AttachSkin(*this, fcImageForm1, SkinLook(IDB_SKIN_ABOUT, IDR_SKIN_ABOUT_OUTLINE)); }

void TAboutForm::CreateLabels() {
  linkFont_ = CreatePixelFont(L"MS Sans Serif", 11, FW_BOLD);
  versionFont_ = CreatePixelFont(L"MS Sans Serif", 13, FW_BOLD);
  releaseFont_ = CreatePixelFont(L"Verdana", 9, FW_BOLD);
  copyrightFont_ = CreatePixelFont(L"Arial", 9);
  for (LinkLabel* label : {&SRLabel2, &SRLabel3, &SRLabel4, &SRLabel1, &Label1}) {
    LinkLabelLook& look = label->Look();
    look.alignment = DT_CENTER;
    look.layout = TextLayout::Center;
    look.transparent = true;
  }
  for (LinkLabel* link : {&SRLabel2, &SRLabel3}) {
    LinkLabelLook& look = link->Look();
    look.fontColor = kNavy;
    look.behind = kSkinUnderLinks;
    look.linkActive = true;
    look.linkType = LinkType::WWW;
    look.hoverFontColor = kBlue;
    link->SetCursor(ScreenCursor(kLinkCursor));
  }
  SRLabel2.Look().linkedAddress = kHomePageAddress;
  SRLabel3.Look().linkedAddress = kSupportMailAddress;
  const BorrowedFont font = linkFont_;
  Add(SRLabel2, {.bounds = {135, 155, 124, 14}, .caption = L"Домашняя страница", .hint = L"Заходите!", .font = font});
  Add(SRLabel3, {.bounds = {151, 175, 92, 14}, .caption = L"Письмо автору", .hint = L"Пишите!", .font = font});
  SRLabel2.onDblClick = [this] { SRLabel2DblClick(); };
  SRLabel3.onDblClick = [this] { SRLabel3DblClick(); };

  LinkLabelLook& version = SRLabel4.Look();
  version.fontColor = kNavy;
  version.bevel = LabelBevel::Raised;
  version.showHighlight = true;
  version.showShadow = true;
  version.shadowOffset = 0;
}

LRESULT TAboutForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      FormKeyDown(wParam);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      FormKeyUp();
      break;
  }
  return Form::OnMessage(message, wParam, lParam);
}

void TAboutForm::FormActivate() {
  SRLabel4.SetCaption(kVersionText);
  SRLabel1.SetCaption(kReleaseText);
  Label1.SetCaption(kCopyrightLine);
  ScrewPanel1.Repaint();
  armed_ = false;
}

void TAboutForm::FormKeyDown(WPARAM key) {
  if (key == '1' && AllModifiersHeld()) armed_ = true;
}

void TAboutForm::FormKeyUp() { armed_ = false; }

void TAboutForm::fcShapeBtn1Click() { Close(); }

void TAboutForm::SRLabel2DblClick() { shellOpen(Handle(), kHomePageAddress); }

void TAboutForm::SRLabel3DblClick() { shellOpen(Handle(), SupportMailLink()); }

void TAboutForm::Image2DblClick() {
  if (!armed_) return;
  showMessage(Handle());
  armed_ = false;
}

}  // namespace krelmix

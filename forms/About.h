#pragma once
// The About window TAboutForm: mascot, logo, version and release, the copyright line and two
// links. Opened by the main window's "О..." and, as a splash, by its first activation.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/ImageForm.h"
#include "skin/ShapeButton.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/ScrewPanel.h"

namespace krelmix {

// The mail link of "Письмо автору", exactly as it goes to the shell (nothing percent-encoded).
std::wstring SupportMailLink();

class TAboutForm : public Form {
 public:
  TAboutForm();
  // Creates the window over its owner, shows it modally and frees it when it has closed.
  static void Execute(HWND owner);

  // Hands an address to the shell: ShellExecute with the window as owner, the default verb and
  // SW_SHOWDEFAULT; the result is ignored. Replaceable for the window tests.
  std::function<void(HWND owner, const std::wstring& target)> shellOpen;
  // Shows the hidden message; replaceable for the window tests.
  std::function<void(HWND owner)> showMessage;

 protected:
  void CreateControls() override;
  void ScaleChanged() override { LoadPictures(); }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateSkin();
  void CreateLabels();
  void FormActivate();
  void FormKeyDown(WPARAM key);
  void FormKeyUp();
  void fcShapeBtn1Click();
  void SRLabel2DblClick();
  void SRLabel3DblClick();
  void Image2DblClick();

  bool armed_ = false;  // Shift+Ctrl+Alt+1 held: a double-click on the logo shows the message
  void LoadPictures();
  Bitmap mascot_;
  Bitmap logo_;
  Font linkFont_, versionFont_, releaseFont_, copyrightFont_, buttonFont_;

  TfcImageForm fcImageForm1;
  Image Image1{L"Image1"};
  LinkLabel SRLabel2{L"SRLabel2"};
  LinkLabel SRLabel3{L"SRLabel3"};
  ScrewPanel ScrewPanel1{L"ScrewPanel1"};
  // On ScrewPanel1, in its coordinates.
  Image Image2{L"Image2"};
  LinkLabel SRLabel4{L"SRLabel4"};
  LinkLabel SRLabel1{L"SRLabel1"};
  LinkLabel Label1{L"Label1"};
  ShapeButton fcShapeBtn1{L"fcShapeBtn1"};
};

}  // namespace krelmix

#pragma once
// The result window of the temporary-folder cleanup: what was removed and what resisted.
#include <windows.h>

#include "cleanup/CleanupEngine.h"
#include "skin/OutlineLabel.h"
#include "skin/ShapeButton.h"
#include "toolkit/Form.h"
#include "toolkit/Gdi.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Panel.h"

namespace krelmix {

class TDirKillerForm2 : public Form {
 public:
  explicit TDirKillerForm2(const TempCleanResult& result);
  // Shows the window modally over its owner; returns when "Удостоверился" (or Esc, or the
  // close command) ends it.
  static void ShowResult(HWND owner, const TempCleanResult& result);

 protected:
  void CreateControls() override;

 private:
  void SetUpLabels();
  TempCleanResult result_;
  Font headerFont_;
  Font valueFont_;
  Font buttonFont_;
  Bitmap buttonGlyph_;  // a tick, normal and disabled side by side
  // On Panel1: under fcLabel2 "Убрано:" the removed folders (Label4), files (Label5) and
  // kilobytes (Label6); under fcLabel1 "Не убрано:" the folders (Label9) and files (Label10) that
  // stayed. Label1-3, 7 and 8 are their captions, which end 4 pixels before the figures: a wider
  // stand-in font condenses a caption rather than run it into its figure.
  Panel Panel1{L"Panel1"};
  OutlineLabel fcLabel2{L"fcLabel2"};
  Label Label1{L"Label1"};
  Label Label4{L"Label4"};
  Label Label2{L"Label2"};
  Label Label5{L"Label5"};
  Label Label3{L"Label3"};
  Label Label6{L"Label6"};
  OutlineLabel fcLabel1{L"fcLabel1"};
  Label Label7{L"Label7"};
  Label Label9{L"Label9"};
  Label Label8{L"Label8"};
  Label Label10{L"Label10"};
  BevelLine Bevel1{L"Bevel1"};
  BevelLine Bevel2{L"Bevel2"};
  BevelLine Bevel3{L"Bevel3"};
  ShapeButton fcShapeBtn1{L"fcShapeBtn1"};  // "Удостоверился": closes the window
};

}  // namespace krelmix

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
  OutlineLabel fcLabel2{L"fcLabel2", {2, 2, 159, 20}};
  Label Label1{L"Label1", {6, 25, 61, 40}};
  Label Label4{L"Label4", {65, 25, 157, 40}};
  Label Label2{L"Label2", {6, 42, 61, 57}};
  Label Label5{L"Label5", {65, 42, 157, 57}};
  Label Label3{L"Label3", {6, 59, 61, 74}};
  Label Label6{L"Label6", {65, 59, 157, 74}};
  OutlineLabel fcLabel1{L"fcLabel1", {2, 78, 159, 96}};
  Label Label7{L"Label7", {6, 100, 61, 115}};
  Label Label9{L"Label9", {65, 100, 157, 115}};
  Label Label8{L"Label8", {6, 117, 61, 132}};
  Label Label10{L"Label10", {65, 117, 157, 132}};
  BevelLine Bevel1{L"Bevel1", {1, 20, 160, 22}};
  BevelLine Bevel2{L"Bevel2", {1, 76, 160, 78}};
  BevelLine Bevel3{L"Bevel3", {1, 96, 160, 98}};
  ShapeButton fcShapeBtn1{L"fcShapeBtn1"};  // "Удостоверился": closes the window
};

}  // namespace krelmix

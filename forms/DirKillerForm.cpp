#include "forms/DirKillerForm.h"

#include <string>

namespace krelmix {

namespace {
constexpr UINT kPanelId = 201, kButtonId = 202;

FormStyle ResultStyle() {
  FormStyle style;
  style.className = L"TDirKillerForm2";
  style.title = L"Результаты очистки";
  style.clientSize = {163, 178};
  style.style = WS_POPUP | WS_CAPTION;
  style.exStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;
  style.color = GetSysColor(COLOR_BTNFACE);
  return style;
}

// The button's glyph: a 12 x 12 tick, green and then grey, on a magenta key.
Bitmap MakeTickGlyph() {
  constexpr int kSize = 12;
  WindowDC screen(nullptr);
  Bitmap glyph(CreateCompatibleBitmap(screen.Get(), 2 * kSize, kSize));
  MemoryDC memory(screen.Get());
  SelectGuard selected(memory.Get(), glyph.Get());
  RECT all{0, 0, 2 * kSize, kSize};
  Brush key(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(memory.Get(), &all, key.Get());
  const POINT tick[] = {{2, 6}, {5, 9}, {10, 2}};
  for (int image = 0; image < 2; ++image) {
    Pen pen(CreatePen(PS_SOLID, 2, image == 0 ? RGB(0, 128, 0) : GetSysColor(COLOR_BTNSHADOW)));
    SelectGuard selectedPen(memory.Get(), pen.Get());
    POINT points[3];
    for (int i = 0; i < 3; ++i) points[i] = {tick[i].x + image * kSize, tick[i].y};
    Polyline(memory.Get(), points, 3);
  }
  return glyph;
}
}  // namespace

TDirKillerForm2::TDirKillerForm2(const TempCleanResult& result) : Form(ResultStyle()), result_(result) {}

void TDirKillerForm2::ShowResult(HWND owner, const TempCleanResult& result) {
  TDirKillerForm2 form(result);
  form.CreateForm(owner);
  form.ShowModal();
}

void TDirKillerForm2::CreateControls() {
  headerFont_ = CreatePixelFont(L"Arial", 13, FW_BOLD);
  valueFont_ = CreatePixelFont(L"Courier New", 12, FW_BOLD);
  buttonFont_ = CreatePointFont(L"MS Sans Serif", 8);
  SetUpLabels();
  PanelStyle panel;
  panel.bevel = Bevel::RaisedInLoweredOut;
  panel.color = GetSysColor(COLOR_BTNFACE);
  Panel1.Create(Handle(), {2, 2, 163, 138}, kPanelId, panel);
  AddWindowed(Panel1);
  buttonGlyph_ = MakeTickGlyph();
  ShapeButtonStyle button;
  button.textStyle = TextStyle::Raised;
  button.shading = FaceShading::Highlight;
  button.isDefault = button.isCancel = true;
  button.modalResult = mrOk;
  button.glyph = buttonGlyph_.Get();
  fcShapeBtn1.Create(Handle(), {2, 149, 162, 174}, kButtonId, L"Удостоверился", buttonFont_.Get(), button);
  AddWindowed(fcShapeBtn1);
  SetTabOrder({fcShapeBtn1.Handle()});
}

void TDirKillerForm2::SetUpLabels() {
  fcLabel2.SetCaption(L"Убрано:");
  fcLabel2.SetColor(RGB(0, 128, 0));
  fcLabel1.SetCaption(L"Не убрано:");
  fcLabel1.SetColor(RGB(192, 0, 0));
  for (OutlineLabel* header : {&fcLabel2, &fcLabel1}) {
    header->SetFont(headerFont_.Get());
    header->SetTextStyle(TextStyle::Outline);
    header->SetEnabled(false);
    Panel1.AddGraphic(*header);
  }
  const std::pair<Label*, std::wstring> values[] = {
      {&Label1, L"Папок :"}, {&Label4, std::to_wstring(result_.removedDirs)},
      {&Label2, L"Файлов:"}, {&Label5, std::to_wstring(result_.killedFiles)},
      {&Label3, L"Размер:"}, {&Label6, std::to_wstring(result_.killedBytes / 1024) + L" Kb"},
      {&Label7, L"Папок :"}, {&Label9, std::to_wstring(result_.failedDirs)},
      {&Label8, L"Файлов:"}, {&Label10, std::to_wstring(result_.failedFiles)},
  };
  for (const auto& [label, text] : values) {
    label->SetCaption(text);
    label->SetFont(valueFont_.Get());
    Panel1.AddGraphic(*label);
  }
  for (BevelLine* rule : {&Bevel1, &Bevel2, &Bevel3}) Panel1.AddGraphic(*rule);
}

}  // namespace krelmix

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
  style.color = Shade::System(COLOR_BTNFACE);
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
  Panel1.Look() = {.bevel = Bevel::RaisedInLoweredOut, .color = Shade::System(COLOR_BTNFACE)};
  Add(Panel1, kPanelId, {.bounds = {2, 2, 161, 136}});
  buttonGlyph_ = MakeTickGlyph();
  ShapeButtonLook& button = fcShapeBtn1.Look();
  button.textStyle = TextStyle::Raised;
  button.shading = FaceShading::Highlight;
  button.isDefault = button.isCancel = true;
  button.modalResult = mrOk;
  button.glyph = buttonGlyph_;
  Add(fcShapeBtn1, kButtonId, {.bounds = {2, 149, 160, 25}, .caption = L"Удостоверился", .font = buttonFont_});
  SetTabOrder({fcShapeBtn1.Handle()});
}

// The labels lie on Panel1, in its coordinates. The headings are disabled only so that they
// take no clicks.
void TDirKillerForm2::SetUpLabels() {
  fcLabel2.SetColor(RGB(0, 128, 0));
  fcLabel1.SetColor(RGB(192, 0, 0));
  const BorrowedFont header = headerFont_, value = valueFont_;
  Panel1.AddGraphic(fcLabel2, {.bounds = {2, 2, 157, 18}, .caption = L"Убрано:", .font = header, .enabled = false});
  Panel1.AddGraphic(fcLabel1, {.bounds = {2, 78, 157, 18}, .caption = L"Не убрано:", .font = header, .enabled = false});
  const struct {
    Label& label;
    Bounds bounds;
    std::wstring caption;
  } values[] = {
      {Label1, {6, 25, 55, 15}, L"Папок :"},
      {Label4, {65, 25, 92, 15}, std::to_wstring(result_.removedDirs)},
      {Label2, {6, 42, 55, 15}, L"Файлов:"},
      {Label5, {65, 42, 92, 15}, std::to_wstring(result_.killedFiles)},
      {Label3, {6, 59, 55, 15}, L"Размер:"},
      {Label6, {65, 59, 92, 15}, std::to_wstring(result_.killedBytes / 1024) + L" Kb"},
      {Label7, {6, 100, 55, 15}, L"Папок :"},
      {Label9, {65, 100, 92, 15}, std::to_wstring(result_.failedDirs)},
      {Label8, {6, 117, 55, 15}, L"Файлов:"},
      {Label10, {65, 117, 92, 15}, std::to_wstring(result_.failedFiles)},
  };
  for (const auto& v : values) Panel1.AddGraphic(v.label, {.bounds = v.bounds, .caption = v.caption, .font = value});
  Panel1.AddGraphic(Bevel1, {.bounds = {1, 20, 159, 2}});
  Panel1.AddGraphic(Bevel2, {.bounds = {1, 76, 159, 2}});
  Panel1.AddGraphic(Bevel3, {.bounds = {1, 96, 159, 2}});
}

}  // namespace krelmix

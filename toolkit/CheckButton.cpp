#include "toolkit/CheckButton.h"

#include "toolkit/ColorScheme.h"

namespace krelmix {

WindowedControl::WindowClass CheckButton::Class() const {
  if (type_ == Type::CheckBox) return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
  return {L"BUTTON", static_cast<DWORD>(BS_AUTORADIOBUTTON | (firstOfGroup_ ? WS_GROUP | WS_TABSTOP : 0))};
}

void CheckButton::OnCreated(const CreateArgs& args) {
  if (backgroundColor_) background_ = Brush(CreateSolidBrush(*backgroundColor_));
  if (!args.font) return;
  // The caption is condensed where a wider stand-in font would cut it: it has the box's width
  // less the tick box and the gap after it.
  WindowDC screen(nullptr);
  MemoryDC dc(screen.Get());
  SelectGuard selected(dc.Get(), args.font.Get());
  const int room = args.bounds.width - GetSystemMetrics(SM_CXMENUCHECK) - 6;
  condensed_ = CondensedToFit(dc.Get(), args.caption, room);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(condensed_ ? condensed_.Get() : args.font.Get()), FALSE);
}

bool CheckButton::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) && backgroundColor_) {
    // The caption's colour was chosen for the fixed background; in high contrast both follow the scheme.
    const HDC dc = reinterpret_cast<HDC>(wParam);
    const TextColors colors = TextColorsOn(RGB(0, 0, 0), *backgroundColor_);
    SetBkColor(dc, colors.background);
    SetTextColor(dc, colors.text);
    result = reinterpret_cast<LRESULT>(colors.fillBackground ? GetSysColorBrush(COLOR_BTNFACE) : background_.Get());
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (onClick) onClick();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace krelmix

#include "toolkit/MessageDialog.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace krelmix {

const wchar_t kConfirmationCaption[] = L"Подтверждение";
const wchar_t kInformationCaption[] = L"Информация";
const wchar_t kYesButtonText[] = L"&Да";
const wchar_t kNoButtonText[] = L"&Нет";

namespace {
constexpr WORD kIconId = 100;
constexpr WORD kTextId = 101;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
const wchar_t kFontName[] = L"MS Sans Serif";
constexpr WORD kFontPoints = 8;

// Dialog units of the layout, turned into pixels of the dialog's font in WM_INITDIALOG.
constexpr int kMarginDlu = 8, kGapDlu = 6, kButtonWidthDlu = 50, kButtonHeightDlu = 14, kButtonGapDlu = 4;

struct DialogRequest {
  MessageDialogKind kind;
  const std::wstring* text;
  HWND owner;
  DefaultAnswer defaultAnswer;
};

// A dialog template in memory: header, then one item per control, each on a DWORD boundary.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void DoubleWord(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s) {
    for (; *s; ++s) Word(static_cast<WORD>(*s));
    Word(0);
  }
  void AlignToDoubleWord() {
    if (words_.size() % 2) Word(0);
  }
  void Header(const wchar_t* caption, WORD items) {
    DoubleWord(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    DoubleWord(0);  // extended style
    Word(items);
    for (int i = 0; i < 4; ++i) Word(0);  // position and size: set in WM_INITDIALOG
    Word(0);                              // no menu
    Word(0);                              // the standard dialog class
    Text(caption);
    Word(kFontPoints);
    Text(kFontName);
  }
  void Item(DWORD style, WORD id, WORD classAtom, const wchar_t* text) {
    AlignToDoubleWord();
    DoubleWord(style | WS_CHILD | WS_VISIBLE);
    DoubleWord(0);
    for (int i = 0; i < 4; ++i) Word(0);
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

int DluX(HWND dialog, int units) {
  RECT r{0, 0, units, 0};
  MapDialogRect(dialog, &r);
  return r.right;
}

int DluY(HWND dialog, int units) {
  RECT r{0, 0, 0, units};
  MapDialogRect(dialog, &r);
  return r.bottom;
}

SIZE MeasureText(HWND dialog, const std::wstring& text, int maxWidth) {
  WindowDC dc(dialog);
  SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return {r.right, r.bottom};
}

// Centred on the owner when it is on screen, else on the screen; kept inside the work area.
void CenterOn(HWND dialog, HWND owner, int width, int height) {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT around = area;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
  y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
  SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Layout(HWND dialog, const DialogRequest& request) {
  const int margin = DluX(dialog, kMarginDlu), gap = DluX(dialog, kGapDlu);
  const int buttonWidth = DluX(dialog, kButtonWidthDlu), buttonHeight = DluY(dialog, kButtonHeightDlu);
  const int buttonGap = DluX(dialog, kButtonGapDlu), marginY = DluY(dialog, kMarginDlu);
  const int iconSize = GetSystemMetrics(SM_CXICON);

  // Lines wrap at half the screen; a longer unbreakable word (a path) widens the text up to
  // the screen's width.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  SIZE text = MeasureText(dialog, *request.text, screenWidth / 2);
  text.cx = std::min(static_cast<int>(text.cx), screenWidth - 2 * margin - iconSize - gap - 2 * margin);

  const int buttonsWidth = 2 * buttonWidth + buttonGap;
  const int clientWidth =
      std::max(margin + iconSize + gap + static_cast<int>(text.cx) + margin, margin + buttonsWidth + margin);
  const int bodyHeight = std::max(iconSize, static_cast<int>(text.cy));
  const int buttonsTop = marginY + bodyHeight + marginY;
  const int clientHeight = buttonsTop + buttonHeight + marginY;

  SetWindowPos(GetDlgItem(dialog, kIconId), nullptr, margin, marginY, iconSize, iconSize, SWP_NOZORDER);
  const int textTop = marginY + std::max(0, (iconSize - static_cast<int>(text.cy)) / 2);
  SetWindowPos(GetDlgItem(dialog, kTextId), nullptr, margin + iconSize + gap, textTop, text.cx, text.cy, SWP_NOZORDER);
  const int buttonsLeft = (clientWidth - buttonsWidth) / 2;
  SetWindowPos(GetDlgItem(dialog, IDYES), nullptr, buttonsLeft, buttonsTop, buttonWidth, buttonHeight, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(dialog, IDNO), nullptr, buttonsLeft + buttonWidth + buttonGap, buttonsTop, buttonWidth,
               buttonHeight, SWP_NOZORDER);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  CenterOn(dialog, request.owner, frame.right - frame.left, frame.bottom - frame.top);
}

// True when the focus was set here, so the dialog manager must not give it to the first button.
bool InitDialog(HWND dialog, const DialogRequest& request) {
  const wchar_t* icon = request.kind == MessageDialogKind::Confirmation ? IDI_QUESTION : IDI_INFORMATION;
  SendDlgItemMessageW(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
  SetDlgItemTextW(dialog, kTextId, request.text->c_str());
  Layout(dialog, request);
  if (request.defaultAnswer == DefaultAnswer::Yes) return false;
  SendMessageW(dialog, DM_SETDEFID, IDNO, 0);
  SetFocus(GetDlgItem(dialog, IDNO));
  return true;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        // Unless the focus was set to "&Нет", it goes to the first button, "&Да".
        return InitDialog(dialog, *reinterpret_cast<const DialogRequest*>(lParam)) ? FALSE : TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDYES) EndDialog(dialog, IDYES);
        // Esc arrives as IDCANCEL: it answers no, as "&Нет" does.
        else if (LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL)
          EndDialog(dialog, IDNO);
        return TRUE;
      case WM_CLOSE:
        EndDialog(dialog, IDNO);
        return TRUE;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure into the system's code; an unanswered question is a no.
    EndDialog(dialog, IDNO);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

bool ShowMessageDialog(HWND owner, MessageDialogKind kind, const std::wstring& text, DefaultAnswer defaultAnswer) {
  const wchar_t* caption = kind == MessageDialogKind::Confirmation ? kConfirmationCaption : kInformationCaption;
  TemplateWriter dialog;
  dialog.Header(caption, 4);
  dialog.Item(SS_ICON, kIconId, kStaticClass, L"");
  dialog.Item(SS_LEFT | SS_NOPREFIX, kTextId, kStaticClass, L"");
  const bool yesDefault = defaultAnswer == DefaultAnswer::Yes;
  dialog.Item((yesDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | WS_GROUP, IDYES, kButtonClass,
              kYesButtonText);
  dialog.Item((yesDefault ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON) | WS_TABSTOP, IDNO, kButtonClass, kNoButtonText);
  DialogRequest request{kind, &text, owner, defaultAnswer};
  const INT_PTR answer =
      DialogBoxIndirectParamW(ModuleInstance(), dialog.Get(), owner, DialogProc, reinterpret_cast<LPARAM>(&request));
  return answer == IDYES;
}

}  // namespace krelmix

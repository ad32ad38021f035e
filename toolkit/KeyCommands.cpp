#include "toolkit/KeyCommands.h"

#include "toolkit/GraphicControl.h"

namespace krelmix {

namespace {
std::wstring KeyName(UINT key) {
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
  switch (key) {
    case VK_DELETE:
      return L"Del";
    case VK_ESCAPE:
      return L"Esc";
    case VK_RETURN:
      return L"Enter";
    case VK_INSERT:
      return L"Ins";
    default:
      return L"?";
  }
}
}  // namespace

std::wstring ShortcutText(Shortcut shortcut) {
  std::wstring text;
  if (shortcut.ctrl) text += L"Ctrl+";
  if (shortcut.shift) text += L"Shift+";
  return text + KeyName(shortcut.key);
}

void KeyCommands::Add(Shortcut shortcut, GraphicControl& button, HWND onlyIn) {
  entries_.push_back({shortcut, &button, nullptr, onlyIn, nullptr});
}

void KeyCommands::AddAsking(Shortcut shortcut, GraphicControl& button, std::function<bool()> ask) {
  entries_.push_back({shortcut, &button, nullptr, nullptr, std::move(ask)});
}

void KeyCommands::Add(Shortcut shortcut, std::function<void()> action, HWND onlyIn) {
  entries_.push_back({shortcut, nullptr, std::move(action), onlyIn, nullptr});
}

bool KeyCommands::Press(UINT key, HWND focus) {
  // Alt makes a key the system's (menus, Alt+F4, the program's Alt+X): never a command here.
  if (GetKeyState(VK_MENU) < 0) return false;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  for (const Entry& entry : entries_) {
    const Shortcut& s = entry.shortcut;
    if (s.key != key || s.ctrl != ctrl || s.shift != shift) continue;
    if (entry.onlyIn && entry.onlyIn != focus) continue;
    if (entry.button) {
      const auto usable = [&entry] { return entry.button->Visible() && entry.button->Enabled(); };
      // The question's dialog reads messages: the button is looked at again after the answer.
      if (usable() && (!entry.ask || entry.ask()) && usable()) entry.button->DoDefaultAction();
    } else if (entry.action) {
      entry.action();
    }
    return true;
  }
  return false;
}

std::wstring KeyCommands::TextFor(const GraphicControl& button) const {
  for (const Entry& entry : entries_)
    if (entry.button == &button) return ShortcutText(entry.shortcut);
  return {};
}

void DropWaitingKeys(HWND window) {
  // Removing a key message also brings the thread's key state up to date with it, as reading it
  // would, so a modifier released meanwhile does not stay held.
  MSG msg;
  while (PeekMessageW(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

}  // namespace krelmix

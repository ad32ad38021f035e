#pragma once
// A window's command keys: each key presses one of its painted buttons (or runs an action) while
// the window has the keyboard, and does nothing while that button is hidden or greyed, exactly as
// a click on the greyed button does nothing. The form applies them to the keys for it or any of
// its controls before the control sees them (Form::PreTranslateMessage), leaving a control the keys
// it uses itself (a check list's Space); a list keeps its arrows and Home/End only because no
// command takes them.
//
// A key is judged by the state its button showed when it was typed: a key that waited in the
// queue while the buttons changed (a run's end, which reads no messages for a while) is dropped
// (DropWaitingKeys), and a form that a modal window holds takes no command keys.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace krelmix {

class GraphicControl;

struct Shortcut {
  UINT key = 0;  // a virtual-key code
  bool ctrl = false;
  bool shift = false;
};

// The key as a Russian Windows menu writes it: "F3", "Ctrl+F", "Ctrl+Shift+Del", "Esc".
std::wstring ShortcutText(Shortcut shortcut);

class KeyCommands {
 public:
  // The key presses the button (its default action) while it is visible and enabled; with
  // `onlyIn`, only while that window holds the focus.
  void Add(Shortcut shortcut, GraphicControl& button, HWND onlyIn = nullptr);
  // As Add, but the key first asks `ask` (a question to the user) and presses the button only on
  // true, and only if the button is still usable then; a click on the button asks nothing. For
  // commands that delete: a key is pressed by accident far more easily than a button is clicked.
  void AddAsking(Shortcut shortcut, GraphicControl& button, std::function<bool()> ask);
  // The key runs the action; with `onlyIn`, only while that window holds the focus.
  void Add(Shortcut shortcut, std::function<void()> action, HWND onlyIn = nullptr);
  // A key-down with the modifiers held now; true when a command took it (also a greyed one).
  bool Press(UINT key, HWND focus);
  // The first key that presses this button, empty when none does (a screen reader's shortcut).
  std::wstring TextFor(const GraphicControl& button) const;

 private:
  struct Entry {
    Shortcut shortcut;
    GraphicControl* button;
    std::function<void()> action;
    HWND onlyIn;
    std::function<bool()> ask;
  };
  std::vector<Entry> entries_;
};

// Takes the keys typed for the window or its controls that still wait in the thread's queue and
// drops them. A form whose command buttons change state calls it once the change is on screen:
// such a key was typed at the state shown before, and must not be judged by the new one.
void DropWaitingKeys(HWND window);

}  // namespace krelmix

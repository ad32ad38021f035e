#pragma once
// The main window's command bar as one table: each command's button, place, caption, hint, keys,
// cursor and action, and which rule name the run rule gives it. Every command has a key, which
// its hint names; a key obeys its button's state as a click does. None takes Alt+X (the program's
// system-wide key) or a key the lists use.
#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "cleanup/RunButtons.h"
#include "toolkit/Form.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/KeyCommands.h"

namespace krelmix {

struct MainCommand {
  SpeedButton& button;
  Bounds bounds;
  const wchar_t* caption;
  const wchar_t* hint;
  std::vector<Shortcut> keys;
  std::function<void()> run;
  // The run rule's name for the button; none for "О...", which no run switches.
  std::optional<MainButton> ruled;
  bool enabledAtStart = true;
  // The keys ask this first ("Нет" the default); the button, labelled and aimed at, does not.
  const wchar_t* keyQuestion = nullptr;
  LPCWSTR cursor = IDC_HAND;
};

// The buttons the run rule switches, with the rule's name for each.
using RuledButtons = std::vector<std::pair<SpeedButton*, MainButton>>;

// Puts the commands' buttons on the form in their order, gives each its keys and action; a key
// with a question asks it through `ask`.
RuledButtons CreateCommandBar(Form& form, std::vector<MainCommand> commands, BorrowedFont font,
                              const std::function<bool(const wchar_t* question)>& ask);

}  // namespace krelmix

#include "forms/MainCommands.h"

#include "toolkit/Gdi.h"

namespace krelmix {

RuledButtons CreateCommandBar(Form& form, std::vector<MainCommand> commands, BorrowedFont font,
                              const std::function<bool(const wchar_t* question)>& ask) {
  RuledButtons ruled;
  for (MainCommand& command : commands) {
    SpeedButton& button = command.button;
    form.Add(button, {.bounds = command.bounds,
                      .caption = command.caption,
                      .hint = command.hint,
                      .font = font,
                      .enabled = command.enabledAtStart});
    for (const Shortcut& key : command.keys) {
      if (command.keyQuestion)
        form.Keys().AddAsking(key, button, [ask, question = command.keyQuestion] { return ask(question); });
      else
        form.Keys().Add(key, button);
    }
    button.SetCursor(SystemCursor(command.cursor));
    button.onClick = std::move(command.run);
    if (command.ruled) ruled.emplace_back(&button, *command.ruled);
  }
  return ruled;
}

}  // namespace krelmix

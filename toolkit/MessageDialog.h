#pragma once
// The program's question dialog: an icon, the text and the buttons "&Да" and "&Нет", shown
// modally over its owner (which is disabled meanwhile) and centred on it.
#include <windows.h>

#include <string>

namespace krelmix {

enum class MessageDialogKind {
  Confirmation,  // caption "Подтверждение", question icon
  Information,   // caption "Информация", information icon
};

extern const wchar_t kConfirmationCaption[];
extern const wchar_t kInformationCaption[];
extern const wchar_t kYesButtonText[];
extern const wchar_t kNoButtonText[];

// The button that has the focus when the dialog opens, and that Enter presses.
enum class DefaultAnswer { Yes, No };

// True when the user answers "&Да" (also Enter while "&Да" is the default button). "&Нет", Esc
// and closing the dialog answer no, and so does a dialog that cannot be shown, or that is
// destroyed with its owner: a question nobody answered never counts as consent. A question that
// a stray key may bring up (one asked before deleting) makes "&Нет" the default, so that a second
// stray Enter or Space does not answer it yes.
bool ShowMessageDialog(HWND owner, MessageDialogKind kind, const std::wstring& text,
                       DefaultAnswer defaultAnswer = DefaultAnswer::Yes);

}  // namespace krelmix

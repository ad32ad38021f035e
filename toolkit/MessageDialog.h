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

// True when the user answers "&Да" (also Enter: it is the default button). "&Нет", Esc and
// closing the dialog answer no, and so does a dialog that cannot be shown, or that is destroyed
// with its owner: a question nobody answered never counts as consent.
bool ShowMessageDialog(HWND owner, MessageDialogKind kind, const std::wstring& text);

}  // namespace krelmix

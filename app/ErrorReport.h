#pragma once
// The application's standard error report: a message box with the error's text, after which the
// program goes on. Window procedures catch at their edge and hand the error here.
#include <string>

namespace krelmix {

void ShowErrorReport(const std::wstring& text);

// The text of the exception being handled; call only inside a catch block.
std::wstring CurrentExceptionText();

}  // namespace krelmix

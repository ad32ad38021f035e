#pragma once
// The application's error report: every window procedure, hook and callback catches what its
// handlers throw and hands it here, so nothing propagates into the system's window code.
#include <windows.h>

#include <functional>
#include <string>

namespace krelmix {

// The text of the exception being handled (call only inside a catch block).
std::wstring CurrentExceptionText();

// Shows the error text in a message box with the application's title.
void ReportError(HWND owner, const std::wstring& text);

// The report for code that has no window at hand: over the active window.
inline void ShowErrorReport(const std::wstring& text) { ReportError(GetActiveWindow(), text); }

// Shows the exception being handled (call only inside a catch block).
void ReportCurrentException(HWND owner);

// Tests and the unattended runs may route reports elsewhere; an empty function restores the box.
void SetErrorReportHandler(std::function<void(HWND, const std::wstring&)> handler);

}  // namespace krelmix

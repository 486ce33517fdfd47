#pragma once
// Modal dialogs drawn by the platform: the error box, the plain message box and
// the input box. Timers keep firing while they are open. In headless runs the
// backend's script answers them, and every text shown is recorded.
#include <string>

namespace tlb {

constexpr int IDOK = 1, IDCANCEL = 2;

// The class library's error dialog: caption "Error", stop icon, one OK button.
void ShowErrorDialog(const std::string& text);
// A plain message box with one OK button and the application title as caption.
void ShowMessage(const std::string& text);
// The stop box of the default exception handler.
void ShowExceptionDialog(const std::string& text);
// The input box: returns the text typed, or `defaultText` on Cancel.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultText);

}  // namespace tlb

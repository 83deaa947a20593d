// Message boxes. The program shows them with Qt; tests install a handler that
// answers from a script and records the text asked.
#pragma once

#include <functional>
#include <string>

enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };
enum : unsigned {
    MB_OK = 0x00,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// Shows text with the buttons and icon of type; returns the button pressed.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);

using MessageBoxHandler = std::function<int(const std::string& text, unsigned type)>;
// Replaces the handler (an empty one restores the Qt boxes); returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

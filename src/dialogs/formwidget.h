// Qt side of the forms: the real dialogs behind RunForm.
#pragma once

#include "platform/types.h"

#include <span>
#include <string>

struct Form;

// Builds a QDialog from the form (each widget named after its field), runs it
// and copies the widgets' values back; 1 OK, 2 Cancel.
int ShowFormDialog(Form& form);

// The system font dialog; true and the chosen values when accepted.
bool PickSystemFont(std::string& face, int& size, bool& bold, bool& italic);

// The system colour dialog from colour, with the custom colours given; true
// and the chosen colour when accepted.
bool PickSystemColour(COLORREF& colour, std::span<const COLORREF> custom);
// The system file dialog; the chosen path, or empty when cancelled.
std::string PickOpenFile(const std::string& title, const std::string& filter);

// Qt side of the forms: the real dialogs behind RunForm.
#pragma once

#include <string>

struct Form;

// Builds a QDialog from the form (each widget named after its field), runs it
// and copies the widgets' values back; 1 OK, 2 Cancel.
int ShowFormDialog(Form& form);

// The system font dialog; true and the chosen values when accepted.
bool PickSystemFont(std::string& face, int& size, bool& bold, bool& italic);

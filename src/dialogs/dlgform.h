// Modal forms: a dialog described as data (template name, title, fields),
// shown as a Qt dialog in the program and answered by a script in tests.
#pragma once

#include <QImage>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

enum class FieldKind {
    Text,    // static text; with a label it is a "label: value" row
    Edit,    // line edit with a caption
    Check,   // check box; label is its text
    List,    // list of items with a current index
    Choice,  // push button that closes the form with its value
    Button,  // push button that runs an action and keeps the form open
};

// What an edit must hold when the form is accepted.
enum class NumberKind { None, Real, Integer };

struct Form;
class QImage;

struct FormField {
    FieldKind kind = FieldKind::Text;
    std::string name;   // key for scripts and the widget's object name
    std::string label;  // text shown as given
    std::string text;   // edit text, or the value of a Text row
    int maxLength = 0;  // edits; 0 = no limit
    NumberKind number = NumberKind::None;
    double lo = -std::numeric_limits<double>::infinity();
    double hi = std::numeric_limits<double>::infinity();
    bool loExclusive = false;
    bool checked = false;
    std::vector<std::string> items;
    int index = -1;  // list: current item, -1 none
    int value = 0;   // choice: the value the form closes with
    std::function<void(Form&)> onClick;  // button
    // Shown on a choice or button (the label becoming its tip), and by a text
    // row in place of its text.
    QImage picture;
};

struct Form {
    Form() = default;
    Form(std::string templateName_, std::string title_)
        : templateName(std::move(templateName_)), title(std::move(title_))
    {
    }

    std::string templateName;  // upper-case resource name, e.g. "RADIO"
    std::string title;
    std::vector<FormField> fields;
    bool showOnly = false;  // a single OK button
    int choice = 0;         // value of the choice button that closed the form

    // Each Add returns the new field, valid until the next Add.
    FormField& AddText(std::string name, std::string label, std::string text = {});
    FormField& AddEdit(std::string name, std::string label, std::string text);
    // Edit that must hold a finite real in [lo, hi] (lo excluded when loExclusive).
    FormField& AddReal(std::string name, std::string label, std::string text,
                       double lo = -std::numeric_limits<double>::infinity(),
                       double hi = std::numeric_limits<double>::infinity(), bool loExclusive = false);
    FormField& AddInteger(std::string name, std::string label, std::string text, int lo, int hi);
    FormField& AddCheck(std::string name, std::string label, bool checked);
    FormField& AddList(std::string name, std::string label, std::vector<std::string> items, int index);
    FormField& AddChoice(std::string name, std::string label, int value);
    FormField& AddButton(std::string name, std::string label, std::function<void(Form&)> onClick);

    // The field with this name, or null.
    FormField* Find(std::string_view name);
    const FormField* Find(std::string_view name) const;
    // Field values after a run; a missing field or wrong kind gives the fallback.
    std::string Text(std::string_view name) const;
    bool Checked(std::string_view name) const;
    int Index(std::string_view name) const;
    // Value of a number edit that passed validation; fallback when it does not parse.
    double Real(std::string_view name, double fallback = 0.0) const;
    int Integer(std::string_view name, int fallback = 0) const;

private:
    // Open-addressed table of the fields up to m_indexed by name: 0 empty,
    // else the place in fields + 1 of the first field of that name. Every
    // hit is checked against the field's name.
    mutable std::vector<std::uint32_t> m_slots;
    mutable std::size_t m_indexed = 0;
    std::size_t Slot(std::string_view name) const;
};

// What a script does with a shown form: sets values, presses buttons, closes.
struct FormAnswer {
    int result = 1;  // 1 OK, 2 Cancel, 0 leave the form open and be asked again
    // Field name -> edit text, "1"/"0" for a check box, item text for a list.
    std::vector<std::pair<std::string, std::string>> values;
    // Buttons and choices pressed after the values are set; a choice closes the form.
    std::vector<std::string> press;
};

using DialogScript = std::function<FormAnswer(const Form&)>;

// Shows the form modally; 1 OK (the form then holds the edited values and
// the choice), 2 Cancel (the form is unchanged). OK on number edits that do
// not pass is refused with a message box and the form stays open (a script
// is asked again with the form as left).
int RunForm(Form& form);

// Replaces the script (empty: real dialogs); returns the previous one.
DialogScript SetDialogScript(DialogScript script);

// The value a script sees and sets: edit text, "1"/"0", the current item's text ("" none).
std::string FieldValue(const FormField& field);
// False when the field takes no value or the list has no such item.
bool SetFieldValue(FormField& field, std::string_view value);
// Empty when every number edit holds a valid value, else the message to show.
std::string ValidateForm(const Form& form);

// Strict, locale-independent parsing: the whole text (blanks around allowed),
// decimal point only, finite; "1,5", "", "2x" and "nan" fail.
bool ParseReal(std::string_view text, double& value);
bool ParseInt(std::string_view text, int& value);
// Fixed decimals with a leading zero ("2.90", "0.10"); locale-independent.
std::string FormatFixed(double value, int decimals);
// Shortest text that reads back the same value ("90", "0.1").
std::string FormatShortest(double value);

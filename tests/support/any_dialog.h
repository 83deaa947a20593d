// Answers every form and message box the same way and records what was shown,
// for tests that drive commands whose dialogs may change as they are built.
#pragma once

#include "dialogs/dlgform.h"
#include "platform/msgbox.h"

#include <string>
#include <vector>

class AnyDialog {
public:
    // result 1 accepts every form with valid values: number edits that are
    // empty, unreadable or out of their range get "1" (their lower bound, or
    // one above it, when 1 is out of range too), empty text edits "A1", lists
    // without a current item their first one, and a form with choices takes
    // its first choice.
    // result 2 cancels every form. Message boxes get boxAnswer.
    explicit AnyDialog(int result = 1, int boxAnswer = IDOK) : m_result(result)
    {
        m_previousForms = SetDialogScript([this](const Form& form) { return Answer(form); });
        m_previousBoxes = SetMessageBoxHandler([this, boxAnswer](const std::string& text, unsigned) {
            boxes.push_back(text);
            return boxAnswer;
        });
    }
    ~AnyDialog()
    {
        SetDialogScript(m_previousForms);
        SetMessageBoxHandler(m_previousBoxes);
    }
    AnyDialog(const AnyDialog&) = delete;
    AnyDialog& operator=(const AnyDialog&) = delete;

    std::vector<std::string> forms;  // template names, in order
    std::vector<std::string> boxes;  // message texts

private:
    FormAnswer Answer(const Form& form)
    {
        forms.push_back(form.templateName);
        FormAnswer answer{m_result, {}, {}};
        if (m_result != 1)
            return answer;
        for (const FormField& f : form.fields) {
            double value = 0.0;
            if (f.kind == FieldKind::Edit && f.number != NumberKind::None &&
                (!ParseReal(f.text, value) || !Takes(f, value)))
                answer.values.emplace_back(f.name, Takes(f, 1.0) ? "1" : std::to_string(int(f.lo) + 1));
            else if (f.kind == FieldKind::Edit && f.number == NumberKind::None && f.text.empty())
                answer.values.emplace_back(f.name, "A1");
            else if (f.kind == FieldKind::List && f.index < 0 && !f.items.empty())
                answer.values.emplace_back(f.name, f.items.front());
            else if (f.kind == FieldKind::Choice && answer.press.empty())
                answer.press.push_back(f.name);
        }
        return answer;
    }

    static bool Takes(const FormField& f, double v)
    {
        return (f.loExclusive ? v > f.lo : v >= f.lo) && v <= f.hi;
    }

    int m_result;
    DialogScript m_previousForms;
    MessageBoxHandler m_previousBoxes;
};

// Answers every form and message box the same way and records what was shown,
// for tests that drive commands whose dialogs may change as they are built.
#pragma once

#include "dialogs/dlgform.h"
#include "platform/msgbox.h"

#include <string>
#include <vector>

class AnyDialog {
public:
    // result 1 presses OK on every form (a form with choices takes its first
    // choice), 2 cancels it; message boxes get boxAnswer.
    explicit AnyDialog(int result = 1, int boxAnswer = IDOK) : m_result(result)
    {
        m_previousForms = SetDialogScript([this](const Form& form) {
            forms.push_back(form.templateName);
            FormAnswer answer{m_result, {}, {}};
            if (m_result == 1)
                for (const FormField& f : form.fields)
                    if (f.kind == FieldKind::Choice) {
                        answer.press.push_back(f.name);
                        break;
                    }
            return answer;
        });
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
    int m_result;
    DialogScript m_previousForms;
    MessageBoxHandler m_previousBoxes;
};

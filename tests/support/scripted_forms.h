// Answers forms from a script keyed by template name and records what was
// shown. A form nobody scripted fails the running test and is cancelled.
#pragma once

#include "dialogs/dlgform.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

inline FormAnswer OkWith(std::vector<std::pair<std::string, std::string>> values = {})
{
    return FormAnswer{1, std::move(values), {}};
}

inline FormAnswer CancelWith(std::vector<std::pair<std::string, std::string>> values = {})
{
    return FormAnswer{2, std::move(values), {}};
}

// Sets the values and presses the button; the form stays open unless it is a choice.
inline FormAnswer Press(std::string button, std::vector<std::pair<std::string, std::string>> values = {})
{
    return FormAnswer{0, std::move(values), {std::move(button)}};
}

class ScriptedForms {
public:
    struct Shown {
        std::string templateName;
        std::string title;
        std::map<std::string, std::string> values;  // FieldValue by field name
        std::map<std::string, std::string> labels;  // label by field name
    };

    ScriptedForms()
    {
        m_previous = SetDialogScript([this](const Form& form) { return Answer(form); });
    }
    ~ScriptedForms()
    {
        EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted forms not shown, next "
                                       << (m_answers.empty() ? "" : m_answers.front().first);
        SetDialogScript(m_previous);
    }
    ScriptedForms(const ScriptedForms&) = delete;
    ScriptedForms& operator=(const ScriptedForms&) = delete;

    // Queues the answer to the next form, which must have this template name.
    ScriptedForms& Expect(std::string templateName, FormAnswer answer)
    {
        m_answers.emplace_back(std::move(templateName), std::move(answer));
        return *this;
    }

    std::vector<Shown> shown;

private:
    FormAnswer Answer(const Form& form)
    {
        Shown& s = shown.emplace_back();
        s.templateName = form.templateName;
        s.title = form.title;
        for (const FormField& f : form.fields) {
            s.values[f.name] = FieldValue(f);
            s.labels[f.name] = f.label;
        }
        if (m_answers.empty() || m_answers.front().first != form.templateName) {
            ADD_FAILURE() << "unexpected dialog: " << form.templateName;
            return FormAnswer{2, {}, {}};
        }
        FormAnswer answer = std::move(m_answers.front().second);
        m_answers.pop_front();
        Form probe = form;
        for (const auto& [name, value] : answer.values) {
            FormField* f = probe.Find(name);
            EXPECT_TRUE(f && SetFieldValue(*f, value))
                << form.templateName << ": cannot set " << name << " to \"" << value << "\"";
        }
        for (const std::string& name : answer.press) {
            const FormField* f = form.Find(name);
            EXPECT_TRUE(f && (f->kind == FieldKind::Button || f->kind == FieldKind::Choice))
                << form.templateName << ": no button " << name;
        }
        return answer;
    }

    std::deque<std::pair<std::string, FormAnswer>> m_answers;
    DialogScript m_previous;
};

// Installed for the whole run by the test entry.
inline void FailOnUnexpectedDialogs()
{
    SetDialogScript([](const Form& form) {
        ADD_FAILURE() << "unexpected dialog: " << form.templateName;
        return FormAnswer{2, {}, {}};
    });
}

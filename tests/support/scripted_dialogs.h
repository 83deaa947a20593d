// Answers message boxes from a script and records what was asked. While no
// script is installed, any message box fails the running test.
#pragma once

#include "platform/msgbox.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

class ScriptedMessageBoxes {
public:
    explicit ScriptedMessageBoxes(std::deque<int> answers = {}) : m_answers(std::move(answers))
    {
        m_previous = SetMessageBoxHandler([this](const std::string& text, unsigned) {
            asked.push_back(text);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected message box: " << text;
                return int(IDCANCEL);
            }
            int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    }
    ~ScriptedMessageBoxes()
    {
        EXPECT_TRUE(m_answers.empty() || m_allowUnused) << m_answers.size() << " scripted answers left unused";
        SetMessageBoxHandler(m_previous);
    }
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    // The script may end with answers no box asked for.
    void AllowUnused() { m_allowUnused = true; }

    std::vector<std::string> asked;

private:
    bool m_allowUnused = false;
    std::deque<int> m_answers;
    MessageBoxHandler m_previous;
};

// Installed for the whole run by the test entry.
inline void FailOnUnexpectedMessageBoxes()
{
    SetMessageBoxHandler([](const std::string& text, unsigned) {
        ADD_FAILURE() << "unexpected message box: " << text;
        return int(IDCANCEL);
    });
}

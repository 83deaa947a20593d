// Sets the main frame's display options for one test: a host that answers
// them and passes everything else to the host it replaces, back at the end.
#pragma once

#include "doc/apphost.h"

class DisplayOptions final : public CAppHost {
public:
    DisplayOptions(bool fillsHatches, bool showsBitmaps)
        : m_fills(fillsHatches), m_shows(showsBitmaps), m_previous(InstallAppHost(this))
    {
    }
    ~DisplayOptions() override { InstallAppHost(m_previous); }
    DisplayOptions(const DisplayOptions&) = delete;
    DisplayOptions& operator=(const DisplayOptions&) = delete;

    void SetPaneText(int pane, const std::string& text) override
    {
        if (m_previous)
            m_previous->SetPaneText(pane, text);
    }
    void CountNewDocument() override
    {
        if (m_previous)
            m_previous->CountNewDocument();
    }
    bool FillsHatches() const override { return m_fills; }
    bool ShowsBitmaps() const override { return m_shows; }

private:
    bool m_fills, m_shows;
    CAppHost* m_previous;
};

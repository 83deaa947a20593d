// The application object: what the drawing and its views read of it.
#pragma once

#include "app/apptools.h"
#include "app/drawingserver.h"
#include "doc/apphost.h"

#include <array>
#include <functional>
#include <string>

class CInPlaceFrame;
class CRectaDoc;
class CRectaView;

// The seven status-bar panes: 0 prompt, 1 ortho, 2 readouts, 3 layer, then
// caps lock, num lock and scroll lock. Setting a text shows it at once.
class CStatusPanes {
public:
    static constexpr int kPanes = 7;
    void SetPaneText(int pane, const std::string& text);
    const std::string& GetPaneText(int pane) const { return m_text.at(pane); }
    // Called after a pane's text changed (the frame repaints the pane).
    std::function<void(int pane)> m_onChange;

private:
    std::array<std::string, kPanes> m_text;
};

// The application installs itself as the host of the drawings and its view
// tools as the plan views' when it is made, before the program starts.
class CRectaApp final : public CAppHost {
public:
    CRectaApp();
    ~CRectaApp() override;
    CRectaApp(const CRectaApp&) = delete;
    CRectaApp& operator=(const CRectaApp&) = delete;

    void SetPaneText(int pane, const std::string& text) override { Status().SetPaneText(pane, text); }
    void CountNewDocument() override { ++m_newDocuments; }
    bool FillsHatches() const override;
    bool ShowsBitmaps() const override;
    void SetInPlace(int active, CView* view) override;
    bool IsActiveDrawing(const CDocument& doc) const override;
    CView* ActiveView() const override;

    // Active plan view and document of the in-place session; returns 0 (and
    // nulls) when no drawing is being edited in place.
    int GetCurrentView(CRectaView*& view, CRectaDoc*& doc) const;
    // The in-place view and document, else the main frame's active drawing
    // frame's; returns 0 (and nulls) when no drawing window is open.
    int GetActiveView(CRectaView*& view, CRectaDoc*& doc) const;
    // Status panes that show the drawing's texts: the in-place frame's while in place.
    CStatusPanes& Status() { return m_inPlaceView ? m_inPlaceStatus : m_mainStatus; }

    int m_inPlaceActive = 0;
    CRectaView* m_inPlaceView = nullptr;  // non-null while a drawing is edited in place
    CInPlaceFrame* m_inPlaceFrame = nullptr;  // the frame of that drawing
    int m_newDocuments = 0;
    CStatusPanes m_mainStatus;
    CStatusPanes m_inPlaceStatus;
    // Runs the drawings embedded in the open drawings.
    CDrawingServer m_server;

private:
    CAppViewTools m_viewTools;
};

extern CRectaApp theApp;

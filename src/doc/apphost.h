// What the drawing and the layers above it ask of the application that runs
// them. The application installs its host at start-up (tests may install
// their own); until one is installed, texts go nowhere.
#pragma once

#include <string>

class CView;
class CDocument;
class CView;

class CAppHost {
public:
    virtual ~CAppHost() = default;
    // Shows text in a status pane: 0 prompt, 1 ortho, 2 readouts, 3 layer.
    virtual void SetPaneText(int pane, const std::string& text) = 0;
    // A new drawing was begun; the application numbers their titles.
    virtual void CountNewDocument() = 0;
    // The main frame's display options: hatches fill their area (else a
    // marker at the seed), bitmaps show their picture (else frame and name).
    virtual bool FillsHatches() const { return true; }
    virtual bool ShowsBitmaps() const { return true; }
    // A drawing is edited in place from now on (active 1, view its first
    // view, if any), or no longer (0, null): status texts follow.
    virtual void SetInPlace(int active, CView* view)
    {
        (void)active;
        (void)view;
    }
    // The status panes show this drawing's texts: it is the active drawing,
    // or none is active.
    virtual bool IsActiveDrawing(const CDocument& doc) const
    {
        (void)doc;
        return true;
    }
    // The active drawing window's view, or null.
    virtual CView* ActiveView() const { return nullptr; }
};

// The host installed, or one that does nothing.
CAppHost& AppHost();
// Installs host (null: the one that does nothing) and returns the one it replaces.
CAppHost* InstallAppHost(CAppHost* host);

// The frame drawn around an embedded object: its border, its resize handles
// and its hatching, the handle under a point, and a drag that moves or
// resizes it. The drag's points come from the mouse's events in the
// program, from a script in tests.
#pragma once

#include "platform/dc.h"
#include "platform/rect.h"

#include <functional>
#include <optional>
#include <vector>

// A test's drag: the positions after the press, the last one where the button goes up.
using DragScript = std::function<std::vector<LPoint>(LPoint pressedAt)>;
// Replaces the script (empty: the mouse); returns the previous one.
DragScript SetDragScript(DragScript script);
// The installed script's positions for a press at pressedAt; none without a script.
std::optional<std::vector<LPoint>> ScriptedDragPath(LPoint pressedAt);

// Cursor shapes over a tracker.
enum class TrackerCursor { none, sizeAll, sizeNWSE, sizeNESW, sizeNS, sizeWE };

class CRectTracker {
public:
    enum StyleFlags : unsigned {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    enum TrackerHit : int {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker() = default;
    CRectTracker(const CRect& rect, unsigned style) : m_rect(rect), m_nStyle(style) {}

    // Draws on a device context whose logical units are its pixels.
    void Draw(CDC& dc) const;
    // The handle or part of the frame at p.
    int HitTest(LPoint p) const;
    // The cursor over p: a resize shape over a handle, the move shape inside.
    TrackerCursor CursorAt(LPoint p) const;
    // The handle's box (hitTopLeft .. hitLeft); empty when the frame shows no handles.
    CRect HandleRect(int handle) const;
    // A drag in steps, as the mouse's events come: pressed inside the frame it
    // moves the rectangle, pressed on a handle it resizes it. BeginDrag is
    // false when pressedAt misses the frame; DragTo gives the rectangle with
    // the pointer at p; EndDrag takes that rectangle, true when it changed.
    // Until then m_rect is the frame the drag began with.
    bool BeginDrag(LPoint pressedAt);
    CRect DragTo(LPoint p);
    bool EndDrag();
    bool IsDragging() const { return m_dragHandle != hitNothing; }

    CRect m_rect;
    unsigned m_nStyle = 0;
    int m_nHandleSize = 7;

private:
    // The rectangle pressed at handle and dragged by (dx, dy).
    CRect Dragged(const CRect& from, int handle, std::int64_t dx, std::int64_t dy) const;

    int m_dragHandle = hitNothing;
    LPoint m_pressedAt;
    CRect m_dragged;
};

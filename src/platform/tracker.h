// The frame drawn around an embedded object: its border, its resize handles
// and its hatching, the handle under a point, and a drag that moves or
// resizes it. The drag's points come from the mouse in the program, from a
// script in tests.
#pragma once

#include "platform/dc.h"
#include "platform/rect.h"

#include <functional>
#include <vector>

// Where a drag's points come from.
class CDragInput {
public:
    virtual ~CDragInput() = default;
    // The pointer's next position; false when the button went up (p then
    // holds where it was let go).
    virtual bool NextPoint(LPoint& p) = 0;
};

// A test's drag: the positions after the press, the last one where the button goes up.
using DragScript = std::function<std::vector<LPoint>(LPoint pressedAt)>;
// Replaces the script (empty: the caller's input); returns the previous one.
DragScript SetDragScript(DragScript script);

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
    // Moves (pressed inside) or resizes (pressed on a handle) the rectangle
    // with the drag that began at pressedAt; shown tells of each rectangle
    // on the way. True when the rectangle changed.
    bool Track(LPoint pressedAt, CDragInput* input, const std::function<void(const CRect&)>& shown = {});

    CRect m_rect;
    unsigned m_nStyle = 0;
    int m_nHandleSize = 7;

private:
    // The rectangle pressed at handle and dragged by (dx, dy).
    CRect Dragged(const CRect& from, int handle, std::int64_t dx, std::int64_t dy) const;
};

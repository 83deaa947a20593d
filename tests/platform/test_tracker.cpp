#include "platform/imagedc.h"
#include "platform/tracker.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A drag pressed at pressed along path, the button going up at its end; the
// rectangles on the way go to shown. True when the rectangle changed.
bool Drag(CRectTracker& tracker, LPoint pressed, const std::vector<LPoint>& path, std::vector<CRect>& shown)
{
    if (!tracker.BeginDrag(pressed))
        return false;
    for (const LPoint& p : path)
        shown.push_back(tracker.DragTo(p));
    return tracker.EndDrag();
}

bool Black(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}

}  // namespace

TEST(RectTracker, HitTestFindsHandlesInsideTheSelectedFrame)
{
    const CRectTracker selected(CRect(100, 100, 200, 160), CRectTracker::solidLine | CRectTracker::resizeInside);
    const struct {
        LPoint p;
        int hit;
        TrackerCursor cursor;
    } rows[] = {
        {{100, 100}, CRectTracker::hitTopLeft, TrackerCursor::sizeNWSE},
        {{106, 106}, CRectTracker::hitTopLeft, TrackerCursor::sizeNWSE},
        {{107, 107}, CRectTracker::hitMiddle, TrackerCursor::sizeAll},
        {{199, 100}, CRectTracker::hitTopRight, TrackerCursor::sizeNESW},
        {{199, 159}, CRectTracker::hitBottomRight, TrackerCursor::sizeNWSE},
        {{100, 159}, CRectTracker::hitBottomLeft, TrackerCursor::sizeNESW},
        {{150, 100}, CRectTracker::hitTop, TrackerCursor::sizeNS},
        {{199, 130}, CRectTracker::hitRight, TrackerCursor::sizeWE},
        {{150, 159}, CRectTracker::hitBottom, TrackerCursor::sizeNS},
        {{100, 130}, CRectTracker::hitLeft, TrackerCursor::sizeWE},
        {{150, 130}, CRectTracker::hitMiddle, TrackerCursor::sizeAll},
        {{200, 130}, CRectTracker::hitNothing, TrackerCursor::none},
        {{150, 160}, CRectTracker::hitNothing, TrackerCursor::none},
        {{99, 99}, CRectTracker::hitNothing, TrackerCursor::none},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(selected.HitTest(r.p), r.hit) << r.p.x << "," << r.p.y;
        EXPECT_EQ(selected.CursorAt(r.p), r.cursor) << r.p.x << "," << r.p.y;
    }
    // Without handles the frame is one piece; a small one keeps its corners only.
    const CRectTracker plain(CRect(100, 100, 200, 160), CRectTracker::solidLine);
    EXPECT_EQ(plain.HitTest({100, 100}), CRectTracker::hitMiddle);
    const CRectTracker small(CRect(0, 0, 16, 16), CRectTracker::resizeInside);
    EXPECT_EQ(small.HitTest({8, 0}), CRectTracker::hitMiddle);
    EXPECT_EQ(small.HitTest({15, 15}), CRectTracker::hitBottomRight);
    const CRectTracker roomForThree(CRect(0, 0, 21, 21), CRectTracker::resizeInside);
    EXPECT_EQ(roomForThree.HitTest({10, 0}), CRectTracker::hitTop);
    EXPECT_EQ(roomForThree.HitTest({0, 10}), CRectTracker::hitLeft);
    const CRectTracker outside(CRect(100, 100, 200, 160), CRectTracker::resizeOutside);
    EXPECT_EQ(outside.HitTest({95, 95}), CRectTracker::hitTopLeft);
    EXPECT_EQ(outside.HitTest({150, 96}), CRectTracker::hitTop);
}

TEST(RectTracker, DrawsBorderHandlesAndHatchingAsItsStyleSays)
{
    const CRect r(20, 20, 80, 60);
    auto draw = [&](unsigned style) {
        CImageDC dc(100, 80);
        CRectTracker(r, style).Draw(dc);
        return dc.Image();
    };
    const QImage solid = draw(CRectTracker::solidLine);
    for (int x = 20; x < 80; ++x) {
        EXPECT_TRUE(Black(solid, x, 20)) << x;
        EXPECT_TRUE(Black(solid, x, 59)) << x;
    }
    EXPECT_EQ(InkPixels(solid), 2 * 60 + 2 * 38);
    const QImage dotted = draw(CRectTracker::dottedLine);
    EXPECT_GT(InkPixels(dotted), 40);
    EXPECT_LT(InkPixels(dotted), InkPixels(solid) * 3 / 4) << "a dotted border leaves gaps";
    const QImage handles = draw(CRectTracker::solidLine | CRectTracker::resizeInside);
    EXPECT_TRUE(Black(handles, 25, 25)) << "inside the top-left handle";
    EXPECT_TRUE(Black(handles, 74, 54)) << "inside the bottom-right handle";
    EXPECT_TRUE(Black(handles, 50, 24)) << "inside the top handle";
    EXPECT_TRUE(Black(handles, 23, 40)) << "inside the left handle";
    EXPECT_TRUE(Black(handles, 76, 40)) << "inside the right handle";
    EXPECT_FALSE(Black(handles, 40, 40));
    EXPECT_FALSE(Black(solid, 25, 25));
    const QImage hatched = draw(CRectTracker::solidLine | CRectTracker::hatchInside);
    int inside = 0;
    for (int y = 21; y < 59; ++y)
        for (int x = 21; x < 79; ++x)
            inside += Black(hatched, x, y);
    EXPECT_GT(inside, 200) << "hatch lines cross the inside";
    EXPECT_LT(inside, 58 * 38 / 3) << "the object shows between them";
    EXPECT_EQ(CountPixels(hatched, 0x000000) - inside, InkPixels(solid)) << "nothing outside the frame";
    CImageDC empty(10, 10);
    CRectTracker(CRect(5, 5, 5, 9), CRectTracker::solidLine).Draw(empty);
    EXPECT_EQ(InkPixels(empty.Image()), 0);
}

// An image DC that counts the lines it is asked for.
class CountingImageDC : public CImageDC {
public:
    using CImageDC::CImageDC;
    bool LineTo(std::int64_t x, std::int64_t y) override
    {
        ++lines;
        return CImageDC::LineTo(x, y);
    }
    int lines = 0;
};

TEST(RectTracker, HatchingOfAFramePastTheImageDrawsOnlyTheLinesThatShow)
{
    // Each frame hatched on a small image against the same frame moved wholly
    // inside a large one; the huge frame is a view zoomed far into an object.
    const int w = 40, h = 30, shift = 500;
    const CRect rows[] = {
        {-13, -5, 30, 20}, {10, -21, 33, 29}, {25, 7, 57, 26}, {3, 17, 38, 45}, {-9, -7, 51, 39},
        {-1'000'000, -1'000'003, 1'000'000, 1'000'000},
    };
    for (const CRect& r : rows) {
        CountingImageDC small(w, h);
        CRectTracker(r, CRectTracker::hatchInside).Draw(small);
        EXPECT_LE(small.lines, (w + h) / 8 + 2) << r.left << "," << r.top;
        if (r.Width() > 1000)
            continue;
        CImageDC large(2 * shift, 2 * shift);
        const CRect moved(r.left + shift, r.top + shift, r.right + shift, r.bottom + shift);
        CRectTracker(moved, CRectTracker::hatchInside).Draw(large);
        EXPECT_EQ(small.Image(), large.Image().copy(shift, shift, w, h)) << r.left << "," << r.top;
    }
    // The huge frame's lines keep its own spacing: x + y - (left + top) a multiple of 8.
    CImageDC huge(w, h);
    CRectTracker(rows[5], CRectTracker::hatchInside).Draw(huge);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(Black(huge.Image(), x, y), (x + y + 3) % 8 == 0) << x << "," << y;
}

TEST(RectTracker, ADragMovesOrResizesTheRectangle)
{
    const CRect start(100, 100, 200, 160);
    const struct {
        const char* what;
        LPoint pressed;
        std::vector<LPoint> path;
        CRect result;
        bool changed;
    } rows[] = {
        {"move", {150, 130}, {{160, 131}, {170, 140}}, {120, 110, 220, 170}, true},
        {"top-left handle", {102, 102}, {{92, 112}}, {90, 110, 200, 160}, true},
        {"bottom-right handle", {198, 158}, {{218, 138}}, {100, 100, 220, 140}, true},
        {"top-right handle", {198, 102}, {{208, 92}}, {100, 90, 210, 160}, true},
        {"bottom-left handle", {102, 158}, {{112, 170}}, {110, 100, 200, 172}, true},
        {"top handle", {150, 101}, {{170, 81}}, {100, 80, 200, 160}, true},
        {"right handle", {198, 130}, {{178, 150}}, {100, 100, 180, 160}, true},
        {"bottom handle", {150, 158}, {{150, 178}}, {100, 100, 200, 180}, true},
        {"left handle", {101, 130}, {{131, 130}}, {130, 100, 200, 160}, true},
        {"dragged past the other side", {198, 130}, {{50, 130}}, {52, 100, 100, 160}, true},
        {"back where it began", {150, 130}, {{170, 140}, {150, 130}}, start, false},
        {"no move", {150, 130}, {}, start, false},
        {"pressed outside", {10, 10}, {{40, 40}}, start, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        CRectTracker tracker(start, CRectTracker::resizeInside);
        std::vector<CRect> shown;
        EXPECT_EQ(Drag(tracker, r.pressed, r.path, shown), r.changed);
        EXPECT_EQ(tracker.m_rect, r.result);
        if (tracker.HitTest(r.pressed) != CRectTracker::hitNothing || r.changed) {
            ASSERT_EQ(shown.size(), r.path.size());
        }
    }
}

TEST(RectTracker, ADragTakesItsLastPointWhenItEnds)
{
    CRectTracker tracker(CRect(0, 0, 100, 100), 0);
    EXPECT_EQ(tracker.DragTo({70, 65}), CRect(0, 0, 100, 100)) << "no drag yet";
    ASSERT_TRUE(tracker.BeginDrag({50, 50}));
    EXPECT_EQ(tracker.DragTo({60, 60}), CRect(10, 10, 110, 110));
    EXPECT_EQ(tracker.m_rect, CRect(0, 0, 100, 100)) << "the rectangle stays until the drag ends";
    tracker.DragTo({70, 65});
    EXPECT_TRUE(tracker.EndDrag());
    EXPECT_EQ(tracker.m_rect, CRect(20, 15, 120, 115)) << "the last point counts";
    EXPECT_FALSE(tracker.IsDragging());
    EXPECT_FALSE(tracker.EndDrag()) << "nothing to end";
    EXPECT_FALSE(tracker.BeginDrag({500, 500})) << "pressed off the frame";
    EXPECT_EQ(tracker.DragTo({600, 600}), CRect(20, 15, 120, 115));
}

// The whole-drawing and block renderer, and the picture of a window that an
// embedded drawing shows: fitted into targets of any size, never changing the
// drawing, and drawing nothing where there is nothing to fit.
#include "doc/renderer.h"
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "support/blocks.h"
#include "support/pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

namespace {

CRecta* ColouredLine(double x1, double y1, double x2, double y2, COLORREF color, const char* layer = "ZP")
{
    CRecta* line = NewLine(x1, y1, x2, y2);
    line->m_color = color;
    line->m_layer = layer;
    return line;
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    void Add(int type, CObject* e)
    {
        doc.AppendEntityRecord(new CDib(type, e));
        doc.ExtendExtentsByEntity(type, e);
    }
    // A drawing of distinct colours: its four sides and a circle in the middle.
    void AddSides()
    {
        doc.m_extMin = CPointd(1e9, 1e9);
        doc.m_extMax = CPointd(-1e9, -1e9);
        Add(ENT_LINE, ColouredLine(-10, -5, -10, 5, RGB(255, 0, 0)));
        Add(ENT_LINE, ColouredLine(30, -5, 30, 5, RGB(0, 0, 255)));
        Add(ENT_LINE, ColouredLine(-10, -5, 30, -5, RGB(0, 160, 0)));
        Add(ENT_LINE, ColouredLine(-10, 5, 30, 5, RGB(200, 0, 200)));
        auto* circle = new CCirc;
        circle->m_layer = "ZP";
        circle->m_color = RGB(0, 160, 160);
        circle->m_centre = CPointd(10, 0);
        circle->m_rx = circle->m_ry = 3;
        Add(ENT_CIRCLE, circle);
    }
    static std::set<QRgb> Colours(const QImage& image)
    {
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y) & 0xFFFFFF);
        return colours;
    }
    static QImage Render(const CRectaDoc& d, int w, int h, bool* drawn = nullptr)
    {
        QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
        image.fill(Qt::white);
        CImageDC dc(&image);
        const bool ok = RenderDrawingToDC(d, w, h, dc);
        if (drawn)
            *drawn = ok;
        return image;
    }

    CRectaDoc doc;
};

// Every entity shows inside targets of any size and aspect, and the drawing
// fills the target along one direction.
TEST_F(Renderer, EveryEntityShowsInsideTargetsOfAnyShape)
{
    AddSides();
    const CPointd extMin = doc.m_extMin, extMax = doc.m_extMax;
    const QSize sizes[] = {{100, 100}, {400, 60}, {50, 300}, {640, 480}, {12, 9}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        bool drawn = false;
        const QImage image = Render(doc, size.width(), size.height(), &drawn);
        ASSERT_TRUE(drawn);
        const std::set<QRgb> colours = Colours(image);
        for (QRgb c : {0xFF0000u, 0x0000FFu, 0x00A000u, 0xC800C8u})
            EXPECT_TRUE(colours.count(c)) << std::hex << c;
        if (size.width() >= 50) {
            EXPECT_TRUE(colours.count(0x00A0A0u)) << "the circle";
        }
        // The box widened by a twentieth on each side (44 x 11) fitted from the left.
        int red = -1, blue = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                if (p == 0xFF0000u && red < 0)
                    red = x;
                if (p == 0x0000FFu)
                    blue = x;
            }
        const double scale = std::min((size.width() - 1) / 44.0, (size.height() - 1) / 11.0);
        EXPECT_NEAR(red, 2 * scale, 1.5);
        EXPECT_NEAR(blue, 42 * scale, 1.5);
    }
    EXPECT_EQ(doc.m_extMin, extMin);
    EXPECT_EQ(doc.m_extMax, extMax);
}

TEST_F(Renderer, NothingToFitDrawsNothing)
{
    CRecordingDC dc;
    EXPECT_FALSE(RenderDrawingToDC(doc, 100, 100, dc)) << "an empty drawing";
    EXPECT_TRUE(dc.Calls().empty());
    AddSides();
    for (const auto& [w, h] : {std::pair{0, 100}, {100, 0}, {-5, 10}, {0, 0}}) {
        EXPECT_FALSE(RenderDrawingToDC(doc, w, h, dc)) << w << "x" << h;
        EXPECT_TRUE(dc.Calls().empty());
    }
    doc.m_extMax.x = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(RenderDrawingToDC(doc, 100, 100, dc));
    doc.m_extMax.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(RenderDrawingToDC(doc, 100, 100, dc));
    doc.m_extMax = doc.m_extMin;
    EXPECT_FALSE(RenderDrawingToDC(doc, 100, 100, dc)) << "extents of one point";
    EXPECT_TRUE(dc.Calls().empty());
}

// Entities on a layer that is off or missing are left out, whatever their
// own words; hatches are not special here: the same rule.
TEST_F(Renderer, LayersThatAreOffOrMissingAreLeftOut)
{
    doc.AddLayer(0, 0)->m_name = "OFF";
    doc.m_extMin = CPointd(0, 0);
    doc.m_extMax = CPointd(10, 10);
    Add(ENT_LINE, ColouredLine(0, 0, 10, 10, RGB(255, 0, 0)));
    Add(ENT_LINE, ColouredLine(0, 10, 10, 0, RGB(0, 0, 255), "OFF"));
    Add(ENT_LINE, ColouredLine(0, 5, 10, 5, RGB(0, 160, 0), "NOWHERE"));
    Add(ENT_LINE, ColouredLine(5, 0, 5, 10, RGB(200, 0, 200)));
    doc.GetLastEntityRecord()->m_visible = 0;
    const std::set<QRgb> colours = Colours(Render(doc, 80, 80));
    EXPECT_TRUE(colours.count(0xFF0000u));
    EXPECT_TRUE(colours.count(0xC800C8u)) << "hidden by its own visible word only";
    EXPECT_FALSE(colours.count(0x0000FFu));
    EXPECT_FALSE(colours.count(0x00A000u));
}

TEST_F(Renderer, BackgroundFrameTipTextBlockScaleAndBlockByName)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CImageDC dc(&image);
    SetupIsotropicMapping(dc, 40, 20);
    dc.SetBkColor(RGB(0, 0, 255));
    EXPECT_EQ(FillClientBackground(dc, 40, 20), 1);
    EXPECT_EQ(FrameClientRect(dc, 40, 20, RGB(255, 0, 0)), 1);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(39, 19) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(20, 10) & 0xFFFFFF, 0x0000FFu);
    LOGFONT font;
    font.lfHeight = -12;
    for (int mode : {1, 0}) {
        image.fill(Qt::white);
        EXPECT_EQ(DrawToolTipText(dc, "Hi", {2, 10}, 1, font, RGB(0, 160, 0), {0, 0}, {40, 20}, mode), 1);
        EXPECT_GT(CountPixels(image, 0x00A000), 0) << mode;
        EXPECT_EQ(CountPixels(image, 0x0000FF), 0) << "transparent background, mode " << mode;
    }
    EXPECT_EQ(dc.GetCurrentPosition(), (LPoint{2, 10})) << "mode 1 moves there";

    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, ColouredLine(0, 0, 10, 5, 0)}});
    EXPECT_EQ(FindDocBlock(doc, "B"), b);
    EXPECT_EQ(FindDocBlock(doc, "b"), nullptr);
    EXPECT_DOUBLE_EQ(ComputeBlockFitScale(*b, 101, 101), 10.0);
}

// A block is placed through its box's four corners, with its insertion point
// in view and marked in red: 1/15 of a small block's size, 0.25 of a large one.
TEST_F(Renderer, BlocksShowWithTheirInsertionPoint)
{
    CBloq* small = AddNamedBlock(doc, "SMALL", {{ENT_LINE, ColouredLine(0, 0, 1, 0.5, RGB(0, 0, 255))}});
    CBloq* large = AddNamedBlock(doc, "LARGE", {{ENT_LINE, ColouredLine(10, 0, 40, 5, RGB(0, 0, 255))}});
    struct Row {
        const CBloq* block;
        double rotation, sx, sy;
        double radius;  // marker radius, drawing units
    };
    const Row rows[] = {
        {small, 0, 1, 1, 1.0 / 15.0},
        {large, 0, 1, 1, 0.25},
        {large, std::numbers::pi / 2, 1, 1, 0.25},
        {large, 0.3, -2, 0.5, 0.25},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.block->m_name + " " + std::to_string(r.rotation));
        QImage image(121, 81, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            CImageDC dc(&image);
            ASSERT_TRUE(RenderBlockToDC(doc, *r.block, r.rotation, r.sx, r.sy, 121, 81, dc));
        }
        const std::set<QRgb> colours = Colours(image);
        EXPECT_TRUE(colours.count(0x0000FFu));
        CRecordingDC rec;
        RenderBlockToDC(doc, *r.block, r.rotation, r.sx, r.sy, 121, 81, rec);
        const std::vector<DCCall> ellipses = rec.CallsNamed("Ellipse");
        ASSERT_EQ(ellipses.size(), 1u);
        // Fitted scale: the larger of the box's spans over the target's.
        PlanBox box;
        box.Add(0, 0);
        Pt2 corners[4];
        CPlacement pl;
        pl.a = r.rotation;
        pl.sx = r.sx;
        pl.sy = r.sy;
        ASSERT_TRUE(PlacedBlockBox(*r.block, pl, corners));
        for (const Pt2& c : corners)
            box.Add(c.x, c.y);
        const double scale = std::min(120 / (box.hi.x - box.lo.x + 1), 80 / (box.hi.y - box.lo.y + 1));
        const std::int64_t radius = std::int64_t(r.radius * scale);
        EXPECT_EQ((ellipses[0].args[2] - ellipses[0].args[0]) / 2, radius);
        EXPECT_EQ(colours.count(0xFF0000u), radius > 0 ? 1u : 0u) << "a marker cut to no pixels shows none";
    }
    CObList none(ListOwnership::owns);
    CBloq* empty = doc.AddBlock(CPointd(), none, "EMPTY");
    empty->CalcExtents(doc);
    CRecordingDC rec;
    EXPECT_FALSE(RenderBlockToDC(doc, *empty, 0, 1, 1, 50, 50, rec));
    EXPECT_FALSE(RenderBlockToDC(doc, *small, 0, 1, 1, 0, 50, rec));
    EXPECT_TRUE(rec.Calls().empty());
}

// The picture an embedded drawing shows: about a centimetre a drawing unit,
// the pixels a centimetre counted whole, and the window as the view shows it.
TEST_F(Renderer, ServerItemExtentAndPicture)
{
    doc.m_windowMin = CPointd(0, 0);
    doc.m_windowMax = CPointd(10, 5);
    CRectaSrvrItem item(&doc);
    LSize size;
    ASSERT_TRUE(item.OnGetExtent(DVASPECT_CONTENT, size));
    EXPECT_EQ(size.cx, 9790);  // 37 pixels a centimetre at 96 an inch
    EXPECT_EQ(size.cy, 4895);
    EXPECT_FALSE(item.OnGetExtent(2, size));
    const CWindowPicture window(doc, doc.m_windowMin, doc.m_windowMax);
    ASSERT_TRUE(window.ExtentPixels(size));
    EXPECT_EQ(size.cx, 370);
    EXPECT_FALSE(CWindowPicture(doc, CPointd(0, 0), CPointd(1e300, 1)).ExtentPixels(size));
    EXPECT_FALSE(CWindowPicture(doc, CPointd(0, 0), CPointd(std::nan(""), 1)).ExtentPixels(size));

    Add(ENT_LINE, ColouredLine(1, 1, 9, 4, RGB(255, 0, 0)));
    Add(ENT_LINE, ColouredLine(20, 1, 29, 4, RGB(0, 0, 255)));  // outside the window
    auto* hidden = ColouredLine(1, 4, 9, 1, RGB(0, 160, 0));
    doc.AppendEntityRecord(new CDib(ENT_LINE, hidden, 0));
    QImage image(370, 185, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(&image);
        ASSERT_TRUE(window.Record().Play(dc, {0, 0, 370, 185}));
    }
    const std::set<QRgb> colours = Colours(image);
    EXPECT_TRUE(colours.count(0xFF0000u));
    EXPECT_FALSE(colours.count(0x0000FFu));
    EXPECT_FALSE(colours.count(0x00A000u)) << "a record the view hides";
    CRecordingDC rec;
    EXPECT_TRUE(CWindowPicture(doc, CPointd(2, 2), CPointd(2, 2)).Record().IsEmpty());
    EXPECT_FALSE(window.Record().Play(rec, {0, 0, 0, 10}));
    EXPECT_TRUE(rec.Calls().empty());
    int left = 370, bottom = 0;  // the red line's end at (1, 1), a tenth in from the left and the bottom
    for (int y = 0; y < 185; ++y)
        for (int x = 0; x < 370; ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                left = std::min(left, x), bottom = std::max(bottom, y);
    EXPECT_EQ(left, 37);
    EXPECT_EQ(bottom, 148);
}

}  // namespace

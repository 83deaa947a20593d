// The 3D view: perspective wireframe from the document's camera, inverted
// drawing, and sections.
#include "app/rectaapp.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitydraw.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "support/blocks.h"
#include "support/pixels.h"
#include "view3d/cameras.h"
#include "view3d/view3d.h"
#include "view3d/wireframe.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSize = 200;

class View3DTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        // Camera 0 looks along +y at the origin from 10 away: a point at depth d
        // and x aside shows 2 * 0.45 * 200 * x / d = 180 x / d right of the centre.
        doc.m_cameraEye[0] = CPointd(0, -10, 0);
        doc.m_cameraTarget[0] = CPointd(0, 0, 0);
        doc.m_cameraLens[0] = 0.45;
        doc.AddView(&view);
        view.OnSize(kSize, kSize);
    }
    void TearDown() override { doc.RemoveView(&view); }

    CTdface* Face(const CPointd& a, const CPointd& b, const CPointd& c, const CPointd& d, int mask = 0)
    {
        const CPointd corners[4] = {a, b, c, d};
        CTdface* f = doc.AddTdfaceOnLayer(1, RGB(0, 0, 0), "ZP", corners);
        f->m_edgeMask = mask;
        return f;
    }
    bool InkNear(int x, int y) { return ::InkNear(view.Image(), x, y); }
    int Ink() { return InkPixels(view.Image()); }

    CRectaDoc doc;
    CView3D view;
};

}  // namespace

// A cube of six faces from -1 to 1: the front square (depth 9) spans pixels
// 80 to 120, the back one (depth 11) 83.6 to 116.4; inside them nothing.
TEST_F(View3DTest, CubeOfFacesInPerspective)
{
    const CPointd p[8] = {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1},
                          {-1, 1, -1},  {1, 1, -1},  {1, 1, 1},  {-1, 1, 1}};
    Face(p[0], p[1], p[2], p[3]);  // front
    Face(p[4], p[5], p[6], p[7]);  // back
    Face(p[0], p[1], p[5], p[4]);  // bottom
    Face(p[3], p[2], p[6], p[7]);  // top
    Face(p[0], p[3], p[7], p[4]);  // left
    Face(p[1], p[2], p[6], p[5]);  // right

    for (const auto& [x, y] : {std::pair{80, 100}, {120, 100}, {100, 80}, {100, 120}})
        EXPECT_TRUE(InkNear(x, y)) << "front edge at " << x << "," << y;
    for (const auto& [x, y] : {std::pair{84, 100}, {116, 100}, {100, 84}, {100, 116}})
        EXPECT_TRUE(InkNear(x, y)) << "back edge at " << x << "," << y;
    EXPECT_TRUE(InkNear(82, 82)) << "a side edge from the front corner to the back one";
    for (const auto& [x, y] : {std::pair{100, 100}, {90, 100}, {100, 90}, {60, 100}, {100, 140}, {10, 10}})
        EXPECT_FALSE(InkNear(x, y)) << "empty at " << x << "," << y;
}

// A set mask bit hides the face's edge; an extruded line shows its face.
TEST_F(View3DTest, EdgeMaskHidesEdges)
{
    Face(CPointd(-1, 0, -1), CPointd(1, 0, -1), CPointd(1, 0, 1), CPointd(-1, 0, 1), 0b0101);
    EXPECT_FALSE(InkNear(100, 118)) << "edge 1-2 hidden";
    EXPECT_FALSE(InkNear(100, 82)) << "edge 3-4 hidden";
    EXPECT_TRUE(InkNear(118, 100));
    EXPECT_TRUE(InkNear(82, 100));

    CRecta* line = doc.AddRecta();
    line->m_p1 = CPointd(-1, 0, -3);
    line->m_p2 = CPointd(1, 0, -3);
    line->m_extrusionMode = EXTRUSION_THICK;
    line->m_thick1 = line->m_thick2 = 1.0;
    view.Invalidate();
    EXPECT_TRUE(InkNear(100, 154)) << "the base, 3 below";
    EXPECT_TRUE(InkNear(100, 136)) << "raised by 1";
}

// Entities added show at once; inverted drawing twice leaves the image as it was.
TEST_F(View3DTest, AddedAndInvertedEntities)
{
    view.Image();
    CRecta* line = doc.AddRectaOnLayer(1, RGB(0, 0, 0), "ZP", CPointd(-1, 0), CPointd(1, 0));
    EXPECT_TRUE(InkNear(100, 100)) << "drawn when added";
    const QImage before = view.Image().copy();
    doc.DrawInAllViews(0, doc.GetLastEntityRecord());
    EXPECT_FALSE(InkNear(100, 100)) << "erased by inverting it";
    view.DrawEntityXor(ENT_LINE, line);
    EXPECT_EQ(view.Image(), before);
}

// A block insert draws its placed entities, faces shown in 3D only included.
TEST_F(View3DTest, InsertsDrawTheirBlocks)
{
    CObList entities{ListOwnership::owns};
    auto* f = new CTdface(1, 0, "ZP", EXTRUSION_FLAT, 0, 0, 1);
    f->m_c[0] = CPointd(0, 0, 0);
    f->m_c[1] = CPointd(1, 0, 0);
    f->m_c[2] = CPointd(1, 0, 1);
    f->m_c[3] = CPointd(0, 0, 1);
    f->m_display = 0;
    entities.AddTail(new CDib(ENT_3DFACE, f));
    doc.AddBlock(CPointd(), entities, "B");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(-1, 0, -1), 1.0, 0.0, 2.0, "B");
    EXPECT_TRUE(InkNear(82, 100)) << "the left side, placed";
    EXPECT_TRUE(InkNear(118, 100)) << "the right side, scaled by 2";
}

// What lies behind the eye is cut, not mirrored.
TEST_F(View3DTest, LinesThroughTheEyeAreCut)
{
    CProjector projector(view.Camera(), kSize, kSize);
    ASSERT_TRUE(projector.Valid());
    LPoint a, b;
    EXPECT_FALSE(projector.Segment(CPointd(0, -11, 0), CPointd(1, -12, 0), a, b)) << "behind the eye";
    ASSERT_TRUE(projector.Segment(CPointd(1, -20, 1), CPointd(1, 0, 1), a, b));
    EXPECT_EQ(b, (LPoint{118, 82}));
    EXPECT_GT(a.x, 10000) << "the cut end lies far out, on the same side";

    C3DCamera same;
    EXPECT_FALSE(CProjector(same, kSize, kSize).Valid()) << "eye on the target";
}

// A section looks square at its line from the far side of the visible point;
// only what lies between the line and the visible point shows.
TEST_F(View3DTest, SectionShowsWhatLiesBeyondItsLine)
{
    const auto camera = SectionCamera(CPointd(0, 0), CPointd(4, 0), CPointd(1, 3), 1.5);
    ASSERT_TRUE(camera);
    EXPECT_EQ(camera->target, CPointd(2, 0, 1.5));
    EXPECT_EQ(camera->eye, CPointd(2, -4, 1.5));
    EXPECT_EQ(camera->nearDepth, 4.0);
    EXPECT_EQ(camera->farDepth, 7.0);
    const auto flipped = SectionCamera(CPointd(4, 0), CPointd(0, 0), CPointd(1, 3), 1.5);
    ASSERT_TRUE(flipped);
    EXPECT_EQ(flipped->eye, CPointd(2, -4, 1.5)) << "the visible side decides, not the order";
    EXPECT_FALSE(SectionCamera(CPointd(1, 1), CPointd(1, 1), CPointd(3, 3), 1));
    EXPECT_FALSE(SectionCamera(CPointd(0, 0), CPointd(4, 0), CPointd(9, 0), 1));

    view.SetCamera(*camera);
    for (double y : {-1.0, 2.0, 5.0}) {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(1, y, 1.5);
        l->m_p2 = CPointd(3, y, 1.5);
    }
    view.Invalidate();
    // The line at depth 6 spans 100 -+ 180 / 6 pixels; the others are cut away.
    EXPECT_TRUE(InkNear(100, 100));
    EXPECT_EQ(Ink(), 60);
}

TEST_F(View3DTest, CameraSymbolsAndSightLines)
{
    for (int i = 0; i < 6; ++i) {
        doc.m_cameraEye[i] = CPointd(10 + 30 * i, 20);
        doc.m_cameraTarget[i] = CPointd(30 + 30 * i, 80);
    }
    CImageDC dc(kSize, kSize);
    ShowCamaras(dc, WorldMap{1, 0, 0}, doc);
    EXPECT_EQ(InkPixels(dc.Image()), 474) << "six squares, crosses and lines between them";
}

TEST_F(View3DTest, EdgesOfEachKind)
{
    auto edges = [&](int type, const CObject& e) {
        std::vector<Edge3> out;
        AppendEdges3D(type, &e, doc, out);
        return out;
    };
    CRecta line(1, 0, "ZP", 2.0, EXTRUSION_FLAT, 0, 0, 1);
    EXPECT_EQ(edges(ENT_LINE, line).size(), 1u);
    line.m_extrusionMode = EXTRUSION_THICK;
    line.m_edgeMask = 0b0100;
    EXPECT_EQ(edges(ENT_LINE, line).size(), 3u);
    CCirc circle(1, 0, "ZP", 2.0, EXTRUSION_FLAT, 0, 0, 1);
    circle.m_rx = circle.m_ry = 1;
    const std::size_t facets = edges(ENT_CIRCLE, circle).size();
    circle.m_extrusionMode = EXTRUSION_THICK;
    EXPECT_EQ(edges(ENT_CIRCLE, circle).size(), 3 * facets) << "two rings and the sides";
    CArc arc(1, 0, "ZP", 2.0, EXTRUSION_THICK, 0, 0, 1);
    arc.m_rx = arc.m_ry = 1;
    arc.m_end = 1;
    const std::size_t spans = edges(ENT_ARC, arc).size();
    arc.m_extrusionMode = EXTRUSION_FLAT;
    EXPECT_EQ(3 * edges(ENT_ARC, arc).size() + 1, spans) << "an open band has one side more";
    CPunt point(1, 0, "ZP");
    doc.m_pointHeight = 2;
    const auto cross = edges(ENT_POINT, point);
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_EQ(cross[1].a, CPointd(0, -1, 0));
    CObList forPline(ListOwnership::owns), forDim(ListOwnership::owns);
    for (CObList* list : {&forPline, &forPline, &forDim, &forDim})
        list->AddTail(new CDib(ENT_LINE, new CRecta(1, 0, "ZP", 0, EXTRUSION_FLAT, 0, 0, 1)));
    const CPLine pline(1, 0, "ZP", forPline, 0, 0, 0, 1);
    const CAcot dim(1, 0, "ZP", forDim);
    EXPECT_EQ(edges(ENT_PLINE, pline).size(), 2u);
    EXPECT_EQ(edges(ENT_DIMENSION, dim).size(), 1u) << "all but the definition line";
}

// Every line of a block of 60,000 shows.
TEST_F(View3DTest, EveryLineOfALargeBlockShows)
{
    CObList lines(ListOwnership::owns);
    for (int i = 0; i < 60000; ++i) {
        const double x = -1 + (i % 300) / 150.0, y = (i / 300) / 200.0;
        lines.AddTail(new CDib(ENT_LINE, NewLine(x, y, x + 0.005, y)));
    }
    doc.AddBlock(CPointd(), lines, "FLAT");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(), 1, 0, 1, "FLAT");
    CRecordingDC dc;
    view.OnDraw(dc);
    EXPECT_EQ(dc.CallsNamed("LineTo").size(), 60000u);
}

// Islands of a line hatch from the drawing's entities.
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/hatchislands.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/blocks.h"
#include "support/hatch_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

using namespace hatchcheck;

namespace {

constexpr double kPi = std::numbers::pi;

const std::vector<Pt2> kField = {{0, 0}, {100, 0}, {100, 60}, {55, 60}, {50, 45}, {45, 60}, {0, 60}};

// A closed polyline through the corners.
CPLine* NewClosedPLine(const std::vector<Pt2>& corners)
{
    CObList segments(ListOwnership::owns);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Pt2 a = corners[i], b = corners[(i + 1) % corners.size()];
        segments.AddTail(new CDib(ENT_LINE, NewLine(a.x, a.y, b.x, b.y)));
    }
    return new CPLine(1, 0, "L", segments, 0, 0, 0, 1);
}

std::vector<Pt2> TurnedSquare(Pt2 c, double half, double a)
{
    std::vector<Pt2> corners;
    for (int k = 0; k < 4; ++k)
        corners.push_back({c.x + half * std::cos(a + k * kPi / 2), c.y + half * std::sin(a + k * kPi / 2)});
    return corners;
}

// Hatches the field with the islands of the entities and checks the result
// against the regions at four angles.
void HatchAndCheck(const CRectaDoc& doc, const std::vector<std::pair<int, const CObject*>>& entities,
                   const std::vector<Region>& regions)
{
    std::vector<HatchIsland> islands;
    for (auto [type, e] : entities) {
        HatchIsland island;
        ASSERT_TRUE(AddHatchIsland(type, e, doc, island));
        islands.push_back(std::move(island));
    }
    const HatchBoundary boundary(kField);
    for (double degrees : {0.0, 30.0, 90.0, 137.0}) {
        SCOPED_TRACE(degrees);
        const HatchFamily f{DegToRad(degrees), 0.41, 0.41};
        std::vector<HatchSegment> out;
        AddHatchFamily(boundary, islands, f, out);
        CheckHatch({kField, regions, f}, boundary, out);
    }
}

}  // namespace

TEST(HatchIslandKinds, CirclesTextsPolylinesAndInsertsAreIslands)
{
    CRectaDoc doc;
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    CCirc circle;
    circle.m_rx = 1;
    CText text;
    text.m_text = "A";
    text.m_font.lfHeight = 100;
    std::unique_ptr<CPLine> pline(NewClosedPLine({{0, 0}, {1, 0}, {0, 1}}));
    std::unique_ptr<CInsBl> insert(NewInsert("B", 0, 0)), missing(NewInsert("NONE", 0, 0));
    CRecta line;
    CArc arc;
    CPunt point;
    CAcot dim;
    struct Row {
        int type;
        const CObject* entity;
        bool island;
    };
    const Row rows[] = {
        {ENT_CIRCLE, &circle, true},      {ENT_TEXT, &text, true},     {ENT_PLINE, pline.get(), true},
        {ENT_INSERT, insert.get(), true}, {ENT_INSERT, missing.get(), false}, {ENT_LINE, &line, false},
        {ENT_ARC, &arc, false},           {ENT_POINT, &point, false},  {ENT_DIMENSION, &dim, false},
        {ENT_CIRCLE, nullptr, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        HatchIsland island;
        EXPECT_EQ(AddHatchIsland(r.type, r.entity, doc, island), r.island);
        EXPECT_EQ(island.Empty(), !r.island);
    }
}

TEST(HatchIslandKinds, FiftyTexts)
{
    CRectaDoc doc;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(5, 95), y(5, 40);
    std::uniform_int_distribution<int> escapement(-1800, 1800), justify(1, 3), height(80, 250), chars(1, 4);
    std::vector<std::unique_ptr<CText>> texts;
    std::vector<std::pair<int, const CObject*>> entities;
    std::vector<Region> regions;
    std::vector<std::pair<Pt2, double>> taken;
    for (int i = 0; i < 50; ++i) {
        auto& t = texts.emplace_back(std::make_unique<CText>(1, 0, "L"));
        CPointd c[4];
        do {
            t->m_insert = CPointd(x(rng), y(rng));
            t->m_font.lfHeight = height(rng);
            t->m_font.lfEscapement = escapement(rng);
            t->m_justify = justify(rng);
            t->m_text = std::string(std::size_t(chars(rng)), 'W');
            t->AlignPoint(t->m_insert, c[0], c[1], c[2], c[3]);
        } while (!TakeClearDisc(kField, taken, {(c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2},
                                std::hypot(c[2].x - c[0].x, c[2].y - c[0].y) / 2));
        regions.push_back(Polygon({{c[0].x, c[0].y}, {c[1].x, c[1].y}, {c[2].x, c[2].y}, {c[3].x, c[3].y}}));
        entities.emplace_back(ENT_TEXT, t.get());
    }
    HatchAndCheck(doc, entities, regions);
}

TEST(HatchIslandKinds, FiftyPolylines)
{
    CRectaDoc doc;
    std::mt19937 rng(6);
    std::uniform_real_distribution<double> x(3, 97), y(3, 57), half(0.4, 2.5), turn(0, kPi);
    std::vector<std::unique_ptr<CPLine>> plines;
    std::vector<std::pair<int, const CObject*>> entities;
    std::vector<Region> regions;
    std::vector<std::pair<Pt2, double>> taken;
    for (int i = 0; i < 50; ++i) {
        Pt2 c;
        double h = 0.0;
        do {
            c = {x(rng), y(rng)};
            h = half(rng);
        } while (!TakeClearDisc(kField, taken, c, h));
        std::vector<Pt2> corners = TurnedSquare(c, h, turn(rng));
        if (i % 2 == 1)
            corners.pop_back();  // a triangle
        plines.emplace_back(NewClosedPLine(corners));
        regions.push_back(Polygon(corners));
        entities.emplace_back(ENT_PLINE, plines.back().get());
    }
    HatchAndCheck(doc, entities, regions);
}

// An insert's block is taken whole, beyond the budget of a repaint; a walk
// that runs out of its budget marks the island.
TEST(HatchIslandKinds, InsertIslandsAreTakenWholeOrMarked)
{
    CRectaDoc doc;
    CObList circles(ListOwnership::owns);
    for (int i = 0; i < 60000; ++i)
        circles.AddTail(new CDib(ENT_CIRCLE, NewCircle(i % 300, i / 300, 0.1)));
    doc.AddBlock(CPointd(), circles, "MANY");
    const std::unique_ptr<CInsBl> insert(NewInsert("MANY", 0, 0));
    HatchIsland whole, part;
    ASSERT_TRUE(AddHatchIsland(ENT_INSERT, insert.get(), doc, whole));
    EXPECT_EQ(whole.Arcs().size(), 60000u);
    EXPECT_TRUE(whole.whole);
    std::size_t budget = 100;
    ASSERT_TRUE(AddHatchIsland(ENT_INSERT, insert.get(), doc, part, &budget));
    EXPECT_FALSE(part.whole);
}

// A square polyline with a circle inside, placed by an insert nested in
// another block, whose fifty inserts are turned and scaled: each cuts the
// square as it is drawn.
TEST(HatchIslandKinds, FiftyNestedTurnedInserts)
{
    CRectaDoc doc;
    auto* circle = new CCirc;
    circle->m_layer = "L";
    circle->m_centre = CPointd(0.5, 0.5);
    circle->m_rx = 0.1;  // keeps its radius: inside the square at every scale
    CBloq* cell = AddNamedBlock(doc, "CELL", {{ENT_PLINE, NewClosedPLine({{0, 0}, {1, 0}, {1, 1}, {0, 1}})},
                                              {ENT_CIRCLE, circle}});
    const CPlacement inner{2, 1, 0, 0.5, 1.5, 0.8};
    AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("CELL", inner.x, inner.y, inner.a, inner.sx, inner.sy)}});
    const CPointd cellMin = cell->m_extMin, cellMax = cell->m_extMax;

    auto place = [](const CPlacement& p, Pt2 q) {
        const double x = p.sx * q.x, y = p.sy * q.y;
        return Pt2{p.x + x * std::cos(p.a) - y * std::sin(p.a), p.y + x * std::sin(p.a) + y * std::cos(p.a)};
    };
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> x(2, 90), y(2, 45), turn(-kPi, kPi), scale(0.5, 2.0);
    std::vector<std::unique_ptr<CInsBl>> inserts;
    std::vector<std::pair<int, const CObject*>> entities;
    std::vector<Region> regions;
    for (int i = 0; i < 50; ++i) {
        const double s = scale(rng);
        const CPlacement outer{x(rng), y(rng), 0, turn(rng), s, s};
        inserts.emplace_back(NewInsert("OUTER", outer.x, outer.y, outer.a, outer.sx, outer.sy));
        std::vector<Pt2> square;
        for (Pt2 q : {Pt2{0, 0}, Pt2{1, 0}, Pt2{1, 1}, Pt2{0, 1}})
            square.push_back(place(outer, place(inner, q)));
        regions.push_back(Polygon(square));
        entities.emplace_back(ENT_INSERT, inserts.back().get());
    }
    HatchAndCheck(doc, entities, regions);
    // Measured at the inserts' placements, never written into the block.
    EXPECT_EQ(cell->m_extMin, cellMin);
    EXPECT_EQ(cell->m_extMax, cellMax);
}

// A U-shaped polyline goes out as one stretch, the inside of the U with it;
// an arc segment cuts along its curve.
TEST(HatchIslandKinds, PolylineIslandIsOneStretchPerLine)
{
    CRectaDoc doc;
    std::unique_ptr<CPLine> u(NewClosedPLine({{2, 2}, {8, 2}, {8, 6}, {7, 6}, {7, 3}, {3, 3}, {3, 6}, {2, 6}}));
    // A half disc: the diameter and the upper half circle.
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, NewLine(11, 4, 15, 4)));
    auto* arc = new CArc;
    arc->m_centre = CPointd(13, 4);
    arc->m_rx = arc->m_ry = 2;
    arc->m_start = 0;
    arc->m_end = kPi;
    segments.AddTail(new CDib(ENT_ARC, arc));
    CPLine half(1, 0, "L", segments, 0, 0, 0, 1);

    std::vector<HatchIsland> islands(2);
    ASSERT_TRUE(AddHatchIsland(ENT_PLINE, u.get(), doc, islands[0]));
    ASSERT_TRUE(AddHatchIsland(ENT_PLINE, &half, doc, islands[1]));
    std::vector<HatchSegment> out;
    AddHatchFamily(HatchBoundary(std::vector<Pt2>{{0, 0}, {20, 0}, {20, 10}, {0, 10}}), islands, {0.0, 1.0, 1.0},
                   out);
    std::vector<std::pair<double, double>> at5;
    for (const HatchSegment& s : out)
        if (s.a.y == 5)
            at5.emplace_back(s.a.x, s.b.x);
    const double chord = std::sqrt(3.0);
    ASSERT_EQ(at5.size(), 3u);
    EXPECT_NEAR(at5[0].second, 2, 1e-12);
    EXPECT_NEAR(at5[1].first, 8, 1e-12);
    EXPECT_NEAR(at5[1].second, 13 - chord, 1e-12);
    EXPECT_NEAR(at5[2].first, 13 + chord, 1e-12);
}

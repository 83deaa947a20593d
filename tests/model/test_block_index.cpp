// The block index and the culled walk of placed block entities: whatever a
// window may show is walked, under any placement and nesting.
#include "doc/rectadoc.h"
#include "model/blockindex.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/reach.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// Where a placed piece shows, in drawing coordinates.
using Shown = std::tuple<int, double, double, double, double>;

Shown ShownOf(const CDib& piece)
{
    PlacedReach r;
    EntityKind(piece.m_type).Reach(piece.m_entity, r);
    const PlanBox b = Grown(r.box, r.pad);
    return {piece.m_type, b.lo.x, b.lo.y, b.hi.x, b.hi.y};
}

std::vector<Shown> Walked(const CRectaDoc& doc, const CBloq& block, const CPlacement& p, const PlanBox& window,
                          NestedWork& work, std::vector<CElementPtr>* kept = nullptr)
{
    std::vector<Shown> shown;
    PlacedQuery query;
    query.window = window;
    query.pieces = true;
    WalkPlacedInWindow(doc, block, p, query, work, [&](PlacedPart& part) {
        shown.push_back(ShownOf(*part.element));
        if (kept)
            kept->push_back(std::move(part.element));
    });
    std::sort(shown.begin(), shown.end());
    return shown;
}

// The pieces of every entity the budgeted whole walk places: the lines and
// arcs of polylines, each other entity whole.
std::vector<Shown> PiecesOfWholeWalk(const CRectaDoc& doc, const CBloq& block, const CPlacement& p)
{
    std::vector<Shown> shown;
    WalkPlacedEntities(doc, block, p, [&](CElementPtr& placed) {
        if (placed->m_type != ENT_PLINE) {
            shown.push_back(ShownOf(*placed));
            return;
        }
        for (const CObject* obj : static_cast<const CPLine*>(placed->m_entity)->m_segments)
            shown.push_back(ShownOf(*static_cast<const CDib*>(obj)));
    });
    std::sort(shown.begin(), shown.end());
    return shown;
}

PlanBox Box(double x1, double y1, double x2, double y2)
{
    PlanBox b;
    b.Add(x1, y1);
    b.Add(x2, y2);
    return b;
}

// Random entities of every kind a block keeps its size for or not, in a 10 x 10 square.
class RandomBlocks {
public:
    explicit RandomBlocks(unsigned seed) : m_rng(seed) {}

    double U(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }

    // count entities appended to list.
    void Entities(CObList& list, int count)
    {
        for (int i = 0; i < count; ++i) {
            const double x = U(0, 10), y = U(0, 10);
            switch (i % 6) {
            case 0: list.AddTail(new CDib(ENT_LINE, NewLine(x, y, x + U(-2, 2), y + U(-2, 2)))); break;
            case 1: list.AddTail(new CDib(ENT_CIRCLE, NewCircle(x, y, U(0.1, 3)))); break;
            case 2: list.AddTail(new CDib(ENT_ARC, NewArc(x, y, U(0.1, 3), U(0, 2 * kPi), U(0, 2 * kPi)))); break;
            case 3: {
                auto* t = new CText;
                t->m_text = "TEXT";
                t->m_font.lfHeight = LONG(U(10, 300));
                t->m_font.lfEscapement = LONG(U(-1800, 1800));
                t->m_justify = 1 + i % 3;
                t->m_insert = CPointd(x, y);
                list.AddTail(new CDib(ENT_TEXT, t));
                break;
            }
            case 4: {
                auto* pt = new CPunt;
                pt->m_point = CPointd(x, y);
                list.AddTail(new CDib(ENT_POINT, pt));
                break;
            }
            default: {
                CObList segments(ListOwnership::owns);
                segments.AddTail(new CDib(ENT_LINE, NewLine(x, y, x + 1, y)));
                segments.AddTail(new CDib(ENT_ARC, NewArc(x + 1, y + 0.5, 0.5, 1.5 * kPi, 0.5 * kPi)));
                segments.AddTail(new CDib(ENT_LINE, NewLine(x + 1, y + 1, x, y + 1)));
                list.AddTail(new CDib(ENT_PLINE, new CPLine(1, 0, "L", segments, 0, 0, 0, 1)));
                break;
            }
            }
        }
    }

    // Scales of either sign, some equal in size and some not; now and then none.
    CPlacement Placement(double spread)
    {
        CPlacement p{U(-spread, spread), U(-spread, spread), 0, U(-kPi, kPi), U(0.2, 2), U(0.2, 2)};
        switch (std::uniform_int_distribution<int>(0, 5)(m_rng)) {
        case 0: p.sy = p.sx; break;
        case 1: p.sy = -p.sx; break;
        case 2: p.sx = -p.sx; break;
        case 3: p.a = 0; break;
        case 4: p.sx = 0; break;
        default: break;
        }
        return p;
    }

private:
    std::mt19937 m_rng;
};

// Blocks of their own entities and inserts of those below, three levels.
class Nesting : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        RandomBlocks r(GetParam());
        CObList leaf(ListOwnership::owns), mid(ListOwnership::owns), top(ListOwnership::owns);
        r.Entities(leaf, 30);
        doc.AddBlock(CPointd(), leaf, "LEAF");
        r.Entities(mid, 12);
        for (int i = 0; i < 4; ++i) {
            const CPlacement p = r.Placement(8);
            mid.AddTail(new CDib(ENT_INSERT, NewInsert("LEAF", p.x, p.y, p.a, p.sx, p.sy)));
        }
        doc.AddBlock(CPointd(), mid, "MID");
        r.Entities(top, 6);
        for (int i = 0; i < 4; ++i) {
            const CPlacement p = r.Placement(12);
            top.AddTail(new CDib(ENT_INSERT, NewInsert("MID", p.x, p.y, p.a, p.sx, p.sy)));
        }
        block = doc.AddBlock(CPointd(), top, "TOP");
        for (int i = 0; i < 6; ++i)
            placements.push_back(r.Placement(20));
        for (int i = 0; i < 12; ++i) {
            const double x = r.U(-40, 40), y = r.U(-40, 40), s = r.U(0.5, 20);
            windows.push_back(Box(x, y, x + s, y + s * r.U(0.2, 1.5)));
        }
    }

    CRectaDoc doc;
    CBloq* block = nullptr;
    std::vector<CPlacement> placements;
    std::vector<PlanBox> windows;
};

}  // namespace

// Every placed piece that meets a window is walked, and only a part of the
// rest: turned, mirrored, flattened and unequally scaled inserts at each level.
TEST_P(Nesting, EveryPieceThatMeetsTheWindowIsWalked)
{
    std::size_t walked = 0, total = 0;
    for (const CPlacement& p : placements) {
        NestedWork work;
        std::vector<CElementPtr> all;
        const std::vector<Shown> everything = Walked(doc, *block, p, Everywhere(), work, &all);
        ASSERT_FALSE(work.cut);
        EXPECT_EQ(everything, PiecesOfWholeWalk(doc, *block, p)) << "the unculled walk hands on every piece";
        for (const PlanBox& w : windows) {
            const std::vector<Shown> near = Walked(doc, *block, p, w, work);
            for (const CElementPtr& piece : all) {
                if (EntityKind(piece->m_type).InWindow(piece->m_entity, CPointd(w.lo.x, w.lo.y),
                                                       CPointd(w.hi.x, w.hi.y), doc)) {
                    const Shown s = ShownOf(*piece);
                    EXPECT_TRUE(std::binary_search(near.begin(), near.end(), s))
                        << "type " << std::get<0>(s) << " at " << std::get<1>(s) << ", " << std::get<2>(s);
                }
            }
            walked += near.size();
            total += all.size();
        }
    }
    EXPECT_LT(walked, total / 2) << "windows away from most pieces leave them out";
}

// The bounds of a placed block hold every piece, and a block whose bounds are
// under a pixel draws as a point.
TEST_P(Nesting, BoundsHoldEveryPiece)
{
    for (const CPlacement& p : placements) {
        NestedWork work;
        const PlacedBounds b = BlockIndexOf(*block, doc)->Bounds(p);
        ASSERT_TRUE(b.bounded);
        const PlanBox reach = Grown(b.box, b.pad + 1e-9 * (1 + std::fabs(p.x) + std::fabs(p.y)));
        for (const Shown& s : Walked(doc, *block, p, Everywhere(), work)) {
            EXPECT_GE(std::get<1>(s), reach.lo.x);
            EXPECT_GE(std::get<2>(s), reach.lo.y);
            EXPECT_LE(std::get<3>(s), reach.hi.x);
            EXPECT_LE(std::get<4>(s), reach.hi.y);
        }
        Pt2 at;
        const double size = std::max(b.box.hi.x - b.box.lo.x, b.box.hi.y - b.box.lo.y) + 2 * b.pad;
        const double marks = 2 * std::max(doc.PointHeight() / 2, 0.25);
        EXPECT_FALSE(PlacementBelowPixel(doc, *block, p, size * 0.999, at));
        EXPECT_TRUE(PlacementBelowPixel(doc, *block, p, (size + marks) * 1.001, at));
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Nesting, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

TEST(BlockIndex, FollowsTheBlockAsItChanges)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    const PlanBox far = Box(50, 50, 51, 51);
    NestedWork work;
    EXPECT_TRUE(Walked(doc, *b, CPlacement{}, far, work).empty());
    const auto before = BlockIndexOf(*b, doc);
    EXPECT_EQ(BlockIndexOf(*b, doc), before) << "kept while nothing changes";

    b->GetEntityList().AddTail(new CDib(ENT_LINE, NewLine(50, 50, 51, 51)));
    EXPECT_EQ(Walked(doc, *b, CPlacement{}, far, work).size(), 1u) << "a line added in place";
    EXPECT_NE(BlockIndexOf(*b, doc), before);

    // A nested block that grows in place widens the box of the block around it.
    CBloq* outer = AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("B", 100, 0)}});
    EXPECT_TRUE(Walked(doc, *outer, CPlacement{}, Box(200, 0, 201, 1), work).empty());
    b->GetEntityList().AddTail(new CDib(ENT_LINE, NewLine(100, 0, 100.5, 0.5)));
    EXPECT_EQ(Walked(doc, *outer, CPlacement{}, Box(200, 0, 201, 1), work).size(), 1u);

    // A block added later under the name a nested insert gives.
    CBloq* waiting = AddNamedBlock(doc, "WAITING", {{ENT_INSERT, NewInsert("LATER", 0, 0)}});
    EXPECT_TRUE(Walked(doc, *waiting, CPlacement{}, Everywhere(), work).empty());
    AddNamedBlock(doc, "LATER", {{ENT_CIRCLE, NewCircle(3, 3, 1)}});
    EXPECT_EQ(Walked(doc, *waiting, CPlacement{}, Box(3.5, 3.5, 5, 5), work).size(), 1u);
    EXPECT_FALSE(work.cut);
}

// Circles, arcs and texts keep their size when an insert scales them down;
// a mark a drawing sizes (a point's cross) still meets a window beside it.
TEST(BlockIndex, WhatKeepsItsSizeIsNotCulledByTheScale)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    auto* text = new CText;
    text->m_text = "WIDE TEXT";  // 0.73 wide, 0.135 high
    text->m_font.lfHeight = 10;
    text->m_justify = JUSTIFY_LEFT;
    text->m_insert = CPointd(2000, 0);
    auto* point = new CPunt;
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_CIRCLE, NewCircle(0, 0, 1)}, {ENT_TEXT, text}, {ENT_POINT, point}});
    // The circle's centre and the point go to (5, 5), the text to (6.91, 5.59), turned by 0.3.
    const CPlacement tiny{5, 5, 0, 0.3, 0.001, 0.002};
    NestedWork work;
    struct Row {
        PlanBox window;
        std::size_t pieces;
    };
    const Row rows[] = {
        {Box(5.9, 4.9, 6.1, 5.1), 1},      // on the circle
        {Box(6.95, 5.62, 7, 5.66), 1},     // inside the text's box
        {Box(3, 3, 3.5, 3.5), 0},          // nothing there
        {Box(4.99, 4.99, 5.01, 5.01), 2},  // the point, inside the circle
    };
    for (const Row& row : rows)
        EXPECT_EQ(Walked(doc, *b, tiny, row.window, work).size(), row.pieces);
    Pt2 at;
    EXPECT_FALSE(PlacementBelowPixel(doc, *b, tiny, 1.0, at)) << "the circle is 2 across";
    EXPECT_FALSE(PlacedBlockMeets(doc, *b, tiny, Box(8, 2, 9, 3)));

    CBloq* dot = AddNamedBlock(doc, "DOT", {{ENT_POINT, new CPunt}});
    EXPECT_TRUE(PlacedBlockMeets(doc, *dot, tiny, Box(5.2, 5.2, 5.3, 5.3))) << "the point's cross reaches it";
    EXPECT_FALSE(PlacedBlockMeets(doc, *dot, tiny, Box(6, 6, 7, 7)));
    doc.m_pointHeight = 0.1;
    CHatch* seed = new CHatch(1, 0, "L", HATCH_SOLID, CPointd());
    CBloq* hatch = AddNamedBlock(doc, "SEED", {{ENT_HATCH, seed}});
    EXPECT_TRUE(PlacedBlockMeets(doc, *hatch, tiny, Box(5.2, 5.2, 5.3, 5.3))) << "the hatch's marker reaches it";
    CBloq* nested = AddNamedBlock(doc, "NESTED", {{ENT_INSERT, NewInsert("SEED", 0, 0)}});
    EXPECT_TRUE(PlacedBlockMeets(doc, *nested, tiny, Box(5.2, 5.2, 5.3, 5.3))) << "a nested hatch's too";
    EXPECT_FALSE(PlacementBelowPixel(doc, *dot, tiny, 0.4, at)) << "the cross is half a unit across";
    EXPECT_TRUE(PlacementBelowPixel(doc, *dot, tiny, 2 * std::max(doc.PointHeight(), 0.5) + 0.01, at));
    EXPECT_EQ(at.x, 5);
    EXPECT_EQ(at.y, 5);
}

// The pieces of a polyline come in order, the first of each marked; whole
// entities come once however many of their pieces meet the window.
TEST(BlockIndex, PiecesInOrderWholeEntitiesOnce)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    CObList segments(ListOwnership::owns);
    for (int i = 0; i < 10; ++i)
        segments.AddTail(new CDib(ENT_LINE, NewLine(i, 0, i + 1, 0)));
    auto* stray = new CText;  // kept in the polyline, passed over by every member
    stray->m_insert = CPointd(5, 0);
    segments.AddTail(new CDib(ENT_TEXT, stray));
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 1, 9, 1)},
                                        {ENT_PLINE, new CPLine(1, 0, "L", segments, 0, 0, 0, 1)}});
    const PlanBox window = Box(3.5, -0.5, 6.5, 1.5);
    NestedWork work;
    std::vector<std::pair<double, bool>> pieces;
    PlacedQuery query;
    query.window = window;
    query.pieces = true;
    WalkPlacedInWindow(doc, *b, CPlacement{}, query, work, [&](PlacedPart& part) {
        pieces.emplace_back(static_cast<const CRecta*>(part.element->m_entity)->m_p1.x, part.first);
    });
    const std::vector<std::pair<double, bool>> expected{{0, true}, {3, true}, {4, false}, {5, false}, {6, false}};
    EXPECT_EQ(pieces, expected);

    query.pieces = false;
    std::vector<int> whole;
    WalkPlacedInWindow(doc, *b, CPlacement{}, query, work, [&](PlacedPart& part) {
        whole.push_back(part.element->m_type);
        EXPECT_TRUE(part.first);
    });
    EXPECT_EQ(whole, (std::vector<int>{ENT_LINE, ENT_PLINE}));
}

// Blocks that insert each other cannot be bounded: they are walked wherever
// the window lies, until the walk meets a block it is already in.
TEST(BlockIndex, BlocksThatInsertEachOtherAreWalkedWhereverTheWindowLies)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    AddNamedBlock(doc, "A", {{ENT_LINE, NewLine(0, 0, 1, 0)}, {ENT_INSERT, NewInsert("B", 10, 0)}});
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 5, 1, 5)}, {ENT_INSERT, NewInsert("A", 0, 20)}});
    CBloq* top = AddNamedBlock(doc, "TOP", {{ENT_LINE, NewLine(-5, -5, -4, -5)}, {ENT_INSERT, NewInsert("A", 0, 0)}});
    const PlanBox nearB = Box(10.2, 4.9, 10.4, 5.1);  // on B's line, placed by A's insert
    NestedWork work;
    EXPECT_EQ(Walked(doc, *top, CPlacement{}, nearB, work).size(), 1u);
    EXPECT_TRUE(PlacedBlockMeets(doc, *top, CPlacement{}, nearB));
    EXPECT_FALSE(BlockIndexOf(*top, doc)->Bounds(CPlacement{}).bounded);
    // TOP, A, B, then A again inside B is passed over.
    EXPECT_EQ(Walked(doc, *top, CPlacement{}, Everywhere(), work).size(), 3u);
    EXPECT_FALSE(work.cut);
}

// A coordinate that is not a number bounds nothing: its entity is walked
// wherever the window lies, and its block is never drawn as a point.
TEST(BlockIndex, AnEntityThatCannotBeBoundedIsAlwaysWalked)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    for (const CPointd& odd : {CPointd(NAN, 0), CPointd(0, NAN)}) {
        CBloq* b = AddNamedBlock(doc, "ODD", {{ENT_LINE, NewLine(odd.x, odd.y, 1, 1)}, {ENT_LINE, NewLine(2, 2, 3, 3)}});
        NestedWork work;
        EXPECT_EQ(Walked(doc, *b, CPlacement{}, Box(50, 50, 51, 51), work).size(), 1u);
        EXPECT_TRUE(PlacedBlockMeets(doc, *b, CPlacement{}, Box(50, 50, 51, 51)));
        Pt2 at;
        EXPECT_FALSE(PlacementBelowPixel(doc, *b, CPlacement{0, 0, 0, 0, 1e-9, 1e-9}, 1.0, at));
        doc.RemoveBlocks({b});
    }
}

// Entity transforms, and block inserts in the plan view's walkers.
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "view2d/insblpick.h"
#include "view2d/transform.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

void Add(std::vector<double>& g, const CPointd& p)
{
    g.insert(g.end(), {p.x, p.y, p.z});
}

void AddAngle(std::vector<double>& g, double a)
{
    g.insert(g.end(), {std::cos(a), std::sin(a)});
}

// The fields a transform may change; angles by their cosine and sine.
std::vector<double> Geometry(int type, const CObject* e)
{
    std::vector<double> g;
    auto parts = [&](const CObList& list) {
        for (CObject* obj : list) {
            auto* dib = static_cast<const CDib*>(obj);
            const std::vector<double> sub = Geometry(dib->m_type, dib->m_entity);
            g.insert(g.end(), sub.begin(), sub.end());
        }
    };
    switch (type) {
    case ENT_LINE: Add(g, static_cast<const CRecta*>(e)->m_p1), Add(g, static_cast<const CRecta*>(e)->m_p2); break;
    case ENT_CIRCLE: Add(g, static_cast<const CCirc*>(e)->m_centre), g.push_back(static_cast<const CCirc*>(e)->m_rx); break;
    case ENT_ARC: {
        auto* a = static_cast<const CArc*>(e);
        Add(g, a->m_centre);
        g.insert(g.end(), {a->m_rx, double(a->m_arcWord)});
        AddAngle(g, a->m_start);
        AddAngle(g, a->m_end);
        break;
    }
    case ENT_POINT: Add(g, static_cast<const CPunt*>(e)->m_point); break;
    case ENT_TEXT: {
        auto* t = static_cast<const CText*>(e);
        Add(g, t->m_insert);
        g.insert(g.end(), {double(t->m_font.lfEscapement), double(t->m_justify)});
        break;
    }
    case ENT_PLINE: parts(static_cast<const CPLine*>(e)->m_segments); break;
    case ENT_DIMENSION: parts(static_cast<const CAcot*>(e)->m_parts); break;
    case ENT_INSERT: {
        auto* i = static_cast<const CInsBl*>(e);
        Add(g, i->m_insert);
        AddAngle(g, i->m_rotation);
        g.insert(g.end(), {i->m_sx, i->m_sy});
        break;
    }
    default: ADD_FAILURE() << "no geometry for type " << type;
    }
    return g;
}

::testing::AssertionResult SameGeometry(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > 1e-9)
            return ::testing::AssertionFailure() << "value " << i << ": " << a[i] << " vs " << b[i];
    return ::testing::AssertionSuccess();
}

CRecta* Line(double x1, double y1, double x2, double y2)
{
    auto* l = new CRecta;
    l->m_p1 = CPointd(x1, y1, 0.5);
    l->m_p2 = CPointd(x2, y2, 0.5);
    return l;
}

CArc* Arc(double x, double y, double r, double start, double end)
{
    auto* a = new CArc;
    a->m_centre = CPointd(x, y);
    a->m_rx = a->m_ry = r;
    a->m_start = start;
    a->m_end = end;
    return a;
}

CText* Text(double x, double y, int justify, LONG escapement)
{
    auto* t = new CText;
    t->m_text = "AB";
    t->m_font.lfHeight = 100;
    t->m_font.lfEscapement = escapement;
    t->m_justify = justify;
    t->m_insert = CPointd(x, y);
    return t;
}

CInsBl* Insert(const char* block, double x, double y, double a = 0, double sx = 1, double sy = 1)
{
    auto* i = new CInsBl(1, 0, "ZP");
    i->m_block = block;
    i->m_insert = CPointd(x, y);
    i->m_rotation = a;
    i->m_sx = sx;
    i->m_sy = sy;
    return i;
}

// One entity of every kind, as elements the caller frees.
std::vector<CElementPtr> EveryKind()
{
    std::vector<CElementPtr> all;
    auto add = [&](int type, CObject* e) { all.emplace_back(new CDib(type, e)); };
    add(ENT_LINE, Line(1, 2, 4, -1));
    auto* c = new CCirc;
    c->m_centre = CPointd(-2, 3);
    c->m_rx = c->m_ry = 1.5;
    add(ENT_CIRCLE, c);
    add(ENT_ARC, Arc(2, 1, 2, 5.5, 0.5));  // crosses 0
    auto* p = new CPunt;
    p->m_point = CPointd(7, -3, 2);
    add(ENT_POINT, p);
    for (int justify : {JUSTIFY_LEFT, JUSTIFY_RIGHT, JUSTIFY_CENTRE})
        add(ENT_TEXT, Text(1, 1, justify, 450));
    CObList segs;
    segs.AddTail(new CDib(ENT_LINE, Line(0, 0, 3, 0)));
    segs.AddTail(new CDib(ENT_ARC, Arc(3, 1, 1, 6.0, 1.2)));
    add(ENT_PLINE, new CPLine(1, 0, "ZP", segs, 0, 0, 0, 1));
    CObList parts;
    parts.AddTail(new CDib(ENT_LINE, Line(0, -1, 5, -1)));
    parts.AddTail(new CDib(ENT_TEXT, Text(2, -0.5, JUSTIFY_CENTRE, 0)));
    add(ENT_DIMENSION, new CAcot(1, 0, "ZP", parts));
    add(ENT_INSERT, Insert("B", 3, 4, 5.9, 2, -0.5));
    return all;
}

CPointd PointOf(const CElementPtr& e)
{
    return static_cast<const CPunt*>(e->m_entity)->m_point;
}

}  // namespace

TEST(Transform, PlacementScalesPositionsNotSizes)
{
    CRecta line;
    line.m_p1 = CPointd(1, 0), line.m_p2 = CPointd(2, 0);
    TransformRecta(line, {10, 10, 0, kPi / 2, 2, 2});
    EXPECT_NEAR(line.m_p1.x, 10, 1e-12);
    EXPECT_NEAR(line.m_p1.y, 12, 1e-12);
    EXPECT_NEAR(line.m_p2.x, 10, 1e-12);
    EXPECT_NEAR(line.m_p2.y, 14, 1e-12);

    CCirc circ;
    circ.m_centre = CPointd(1, 1);
    circ.m_rx = 1;
    TransformCirc(circ, {0, 0, 0, 0, 3, 3});
    EXPECT_EQ(circ.m_rx, 1.0);
    EXPECT_EQ(circ.m_centre, CPointd(3, 3));

    // Three quarters of a turn, from (1, 0) round to (0, -1).
    std::unique_ptr<CArc> flipped(Arc(0, 0, 1, 0, 3 * kPi / 2));
    TransformArc(*flipped, {0, 0, 0, 0, -1, 1});
    EXPECT_NEAR(flipped->m_start, 3 * kPi / 2, 1e-12) << "from the image of the end";
    EXPECT_NEAR(flipped->m_end, kPi, 1e-12);
    EXPECT_EQ(flipped->m_arcWord, 0);
    std::unique_ptr<CArc> turned(Arc(0, 0, 1, 0, 3 * kPi / 2));
    TransformArc(*turned, {0, 0, 0, 0, -1, -1});
    EXPECT_NEAR(turned->m_start, kPi, 1e-12);
    EXPECT_NEAR(turned->m_end, kPi / 2, 1e-12);
    EXPECT_EQ(turned->m_arcWord, 1);
}

TEST(Transform, RotatingBackAndMirroringTwiceRestoreEveryKind)
{
    const CPointd centre(3, -2);
    CRecta mirror;
    mirror.m_p1 = CPointd(1, 1), mirror.m_p2 = CPointd(4, 3);
    const double perpendicular = std::atan2(2.0, 3.0) + kPi / 2;
    for (const CElementPtr& e : EveryKind()) {
        const int type = e->m_type;
        const std::vector<double> before = Geometry(type, e->m_entity);
        ASSERT_TRUE(RotateEntity(type, e->m_entity, centre, 0.7));
        EXPECT_FALSE(SameGeometry(Geometry(type, e->m_entity), before)) << type;
        RotateEntity(type, e->m_entity, centre, -0.7);
        EXPECT_TRUE(SameGeometry(Geometry(type, e->m_entity), before)) << "rotation, type " << type;

        ASSERT_TRUE(MirrorEntity(type, e->m_entity, mirror, perpendicular));
        EXPECT_FALSE(SameGeometry(Geometry(type, e->m_entity), before)) << type;
        MirrorEntity(type, e->m_entity, mirror, perpendicular);
        EXPECT_TRUE(SameGeometry(Geometry(type, e->m_entity), before)) << "mirror, type " << type;
    }
}

TEST(Transform, TextEscapementAndJustification)
{
    std::unique_ptr<CText> t(Text(1, 0, JUSTIFY_LEFT, 0));
    RotateText(*t, CPointd(0, 0), kPi / 6);
    EXPECT_EQ(t->m_font.lfEscapement, -300);

    CRecta vertical, horizontal, slanted;
    vertical.m_p2 = CPointd(0, 1);
    horizontal.m_p2 = CPointd(1, 0);
    slanted.m_p2 = CPointd(std::cos(11 * kPi / 6), std::sin(11 * kPi / 6));  // 330 degrees
    std::unique_ptr<CText> a(Text(1, 0, JUSTIFY_LEFT, 0));
    MirrorText(*a, vertical, 0);
    EXPECT_EQ(a->m_justify, JUSTIFY_RIGHT);
    EXPECT_EQ(a->m_insert.x, -1);
    std::unique_ptr<CText> b(Text(1, 1, JUSTIFY_LEFT, 0));
    MirrorText(*b, horizontal, kPi / 2);
    EXPECT_EQ(b->m_justify, JUSTIFY_LEFT);
    std::unique_ptr<CText> c(Text(1, 1, JUSTIFY_LEFT, 300));
    MirrorText(*c, slanted, 11 * kPi / 6 + kPi / 2);
    EXPECT_EQ(c->m_justify, JUSTIFY_LEFT) << "runs along the line in the other sense";
    std::unique_ptr<CText> d(Text(1, 1, 0, 0));
    MirrorText(*d, vertical, 0);
    EXPECT_EQ(d->m_justify, JUSTIFY_CENTRE);
}

TEST(Transform, MirroredInsertPlacesEveryBlockPointAtItsImage)
{
    CRectaDoc doc;
    CObList inner, outer;
    inner.AddTail(new CDib(ENT_LINE, Line(0, 0, 2, 1)));
    inner.AddTail(new CDib(ENT_ARC, Arc(1, 1, 1, 0.3, 2.0)));
    doc.AddBlock(CPointd(), inner)->m_name = "INNER";
    outer.AddTail(new CDib(ENT_POINT, new CPunt));
    outer.AddTail(new CDib(ENT_INSERT, Insert("INNER", 1, 2, 0.9, 1.5, 1.5)));
    CBloq* block = doc.AddBlock(CPointd(), outer);
    block->m_name = "OUTER";

    CRecta mirror;
    mirror.m_p1 = CPointd(0, -1), mirror.m_p2 = CPointd(0, 1);  // the y axis
    std::unique_ptr<CInsBl> ins(Insert("OUTER", 0, 0));
    auto leaves = [&] {
        std::vector<CElementPtr> out;
        WalkPlacedEntities(doc, *block, ins->Placement(), [&](CElementPtr& e) { out.push_back(std::move(e)); });
        return out;
    };
    std::vector<CElementPtr> expected = leaves();
    MirrorInsBl(*ins, mirror, 0);
    EXPECT_EQ(ins->m_sx, -1.0);
    const std::vector<CElementPtr> placed = leaves();
    ASSERT_EQ(placed.size(), 3u);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        MirrorEntity(expected[i]->m_type, expected[i]->m_entity, mirror, 0);
        EXPECT_TRUE(SameGeometry(Geometry(placed[i]->m_type, placed[i]->m_entity),
                                 Geometry(expected[i]->m_type, expected[i]->m_entity)))
            << "leaf " << i;
    }
}

TEST(Transform, PlacedBoxAgainstAQuad)
{
    CRectaDoc doc;
    CObList list;
    list.AddTail(new CDib(ENT_LINE, Line(0, 0, 2, 2)));
    doc.AddBlock(CPointd(), list)->m_name = "B";
    std::unique_ptr<CInsBl> ins(Insert("B", 5, 5));
    const Pt2 around[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Pt2 inside[4] = {{5.5, 5.5}, {6, 5.5}, {6, 6}, {5.5, 6}};
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, around), 0) << "no window side meets the box";
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, inside), 1);
    ins->m_block = "MISSING";
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, inside), 0);
}

namespace {

class InsertView : public ViewTest {
protected:
    CBloq* Block(const char* name, std::initializer_list<std::pair<int, CObject*>> entities)
    {
        CObList list;
        for (auto [type, e] : entities)
            list.AddTail(new CDib(type, e));
        CBloq* b = doc.AddBlock(CPointd(), list);
        b->m_name = name;
        b->CalcExtents(doc);
        return b;
    }
    POSITION Pick(double x, double y)
    {
        CObject* e = nullptr;
        int type = 0;
        return view.PickNearestEntity(CPointd(x, y), e, type);
    }
};

}  // namespace

TEST_F(InsertView, BlocksThatInsertThemselvesEndInEveryWalker)
{
    // SELF holds a line and itself one unit on; P and Q insert each other.
    Block("SELF", {{ENT_LINE, Line(0, 0, 1, 0)}, {ENT_INSERT, Insert("SELF", 1, 0)}});
    Block("P", {{ENT_LINE, Line(0, 0, 0, 1)}, {ENT_INSERT, Insert("Q", 0, 1)}});
    Block("Q", {{ENT_CIRCLE, new CCirc}, {ENT_INSERT, Insert("P", 1, 0)}});
    EXPECT_EQ(FindDocBlock(doc, "SELF")->m_extMax, CPointd(1, 0));
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(2, 2), 1, 0, 1, "SELF");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(6, 4), 1, 0, 1, "P");

    EXPECT_GT(Ink(), 0);
    doc.CalcExtents();
    EXPECT_EQ(doc.m_extMin, CPointd(2, 2));
    EXPECT_EQ(doc.m_extMax, CPointd(6, 5));
    EXPECT_EQ(Pick(2.5, 2.05), doc.GetFirstEntityPosition()) << "a box without height still picks";
    view.m_snapMode = 2;  // end point
    CPointd p(2.95, 2.05);
    ASSERT_TRUE(view.OnEditPoint(p));
    EXPECT_EQ(p, CPointd(3, 2));
    view.SelectByWindow(0, CPointd(1, 1), CPointd(9, 7));
    EXPECT_EQ(view.m_selection.GetCount(), 2);
    view.DrawEntityHighlighted(doc.GetFirstEntityPosition());
    CDib* self = doc.GetEntityRecord(doc.GetFirstEntityPosition());
    view.EraseEntity(self->m_type, self->m_entity);

    CBloq container;
    CollectReferencedBlocks(doc, FindDocBlock(doc, "P")->GetEntityList(), container);
    EXPECT_NE(container.FindRefBlock("P"), nullptr);
    EXPECT_NE(container.FindRefBlock("Q"), nullptr);
}

TEST_F(InsertView, InsertsAreDrawnPickedAndCulledByTheirPlacedBox)
{
    Block("B", {{ENT_LINE, Line(0, 0, 2, 0)}, {ENT_LINE, Line(0, 0, 0, 1)}});
    CInsBl* ins = doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(4, 4), 2, kPi / 2, 2, "B");
    const int ink = Ink();
    EXPECT_GT(ink, 0);
    EXPECT_EQ(Pick(4, 7.9), doc.GetFirstEntityPosition()) << "the placed line (4,4)-(4,8)";
    EXPECT_EQ(Pick(3.5, 6), nullptr) << "inside the box, away from every line";
    EXPECT_TRUE(InsBlInWindow(doc, *ins, CPointd(0, 0), CPointd(3.5, 5)));
    EXPECT_FALSE(InsBlInWindow(doc, *ins, CPointd(4.5, 0), CPointd(9, 9)));
    EXPECT_FALSE(InsBlInWindow(doc, *ins, CPointd(-9, -9), CPointd(1, 1)));

    // A missing block is skipped by every walker.
    ins->m_block = "MISSING";
    view.Invalidate();
    EXPECT_EQ(Ink(), 0);
    EXPECT_EQ(Pick(4, 7.9), nullptr);
    view.SelectByWindow(1, CPointd(0, 0), CPointd(9, 9));
    EXPECT_EQ(view.m_selection.GetCount(), 0);
}

TEST_F(InsertView, ChangeStepDuplicatesAnInsert)
{
    Block("B", {{ENT_POINT, new CPunt}});
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(4, 4), 2, 1.0, 3, "B");
    CDib* record = doc.GetEntityRecord(doc.GetFirstEntityPosition());
    std::unique_ptr<CUndoStep> step(MakeUndoStep(&doc, UNDO_CHANGED, ENT_INSERT, record, nullptr));
    ASSERT_NE(step->m_copy, nullptr);
    ASSERT_NE(step->m_copy->m_entity, record->m_entity);
    EXPECT_TRUE(SameGeometry(Geometry(ENT_INSERT, step->m_copy->m_entity), Geometry(ENT_INSERT, record->m_entity)));
    EXPECT_EQ(static_cast<CInsBl*>(step->m_copy->m_entity)->m_block, "B");
}

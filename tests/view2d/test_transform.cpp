// Entity transforms, and block inserts in the plan view's walkers.
#include "model/acot.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/archive.h"
#include "support/blocks.h"
#include "support/files.h"
#include "view2d/insblpick.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// The fields a transform may change; angles by their cosine and sine.
std::vector<double> Geometry(int type, const CObject* e)
{
    std::vector<double> g;
    auto pt = [&](const CPointd& p) { g.insert(g.end(), {p.x, p.y, p.z}); };
    auto angle = [&](double a) { g.insert(g.end(), {std::cos(a), std::sin(a)}); };
    auto parts = [&](const CObList& list) {
        for (CObject* obj : list) {
            const std::vector<double> sub = Geometry(static_cast<CDib*>(obj)->m_type, static_cast<CDib*>(obj)->m_entity);
            g.insert(g.end(), sub.begin(), sub.end());
        }
    };
    if (auto* l = type == ENT_LINE ? static_cast<const CRecta*>(e) : nullptr)
        pt(l->m_p1), pt(l->m_p2);
    else if (auto* c = type == ENT_CIRCLE ? static_cast<const CCirc*>(e) : nullptr)
        pt(c->m_centre), g.push_back(c->m_rx);
    else if (auto* a = type == ENT_ARC ? static_cast<const CArc*>(e) : nullptr)
        pt(a->m_centre), g.insert(g.end(), {a->m_rx, double(a->m_arcWord)}), angle(a->m_start), angle(a->m_end);
    else if (type == ENT_POINT)
        pt(static_cast<const CPunt*>(e)->m_point);
    else if (auto* t = type == ENT_TEXT ? static_cast<const CText*>(e) : nullptr)
        pt(t->m_insert), g.insert(g.end(), {double(t->m_font.lfEscapement), double(t->m_justify)});
    else if (type == ENT_PLINE)
        parts(static_cast<const CPLine*>(e)->m_segments);
    else if (type == ENT_DIMENSION)
        parts(static_cast<const CAcot*>(e)->m_parts);
    else if (auto* i = type == ENT_INSERT ? static_cast<const CInsBl*>(e) : nullptr)
        pt(i->m_insert), angle(i->m_rotation), g.insert(g.end(), {i->m_sx, i->m_sy});
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

// One entity of every kind, as elements the caller frees.
std::vector<CElementPtr> EveryKind()
{
    std::vector<CElementPtr> all;
    auto add = [&](int type, CObject* e) { all.emplace_back(new CDib(type, e)); };
    add(ENT_LINE, NewLine(1, 2, 4, -1, 0.5));
    auto* c = new CCirc;
    c->m_centre = CPointd(-2, 3);
    c->m_rx = c->m_ry = 1.5;
    add(ENT_CIRCLE, c);
    add(ENT_ARC, NewArc(2, 1, 2, 5.5, 0.5));  // crosses 0
    auto* p = new CPunt;
    p->m_point = CPointd(7, -3, 2);
    add(ENT_POINT, p);
    for (int justify : {JUSTIFY_LEFT, JUSTIFY_RIGHT, JUSTIFY_CENTRE})
        add(ENT_TEXT, Text(2, 1, justify, 450));
    CObList segs(ListOwnership::owns);
    segs.AddTail(new CDib(ENT_LINE, NewLine(0, 0, 3, 0)));
    segs.AddTail(new CDib(ENT_ARC, NewArc(3, 1, 1, 6.0, 1.2)));
    add(ENT_PLINE, new CPLine(1, 0, "ZP", segs, 0, 0, 0, 1));
    CObList parts(ListOwnership::owns);
    parts.AddTail(new CDib(ENT_LINE, NewLine(0, -1, 5, -1)));
    parts.AddTail(new CDib(ENT_TEXT, Text(2, -0.5, JUSTIFY_CENTRE, 0)));
    add(ENT_DIMENSION, new CAcot(1, 0, "ZP", parts));
    add(ENT_INSERT, NewInsert("B", 3, 4, 5.9, 2, -0.5));
    return all;
}

}  // namespace

TEST(Transform, PlacementScalesPositionsNotSizes)
{
    CCirc circ;
    circ.m_centre = CPointd(1, 1);
    circ.m_rx = 1;
    PlaceEntity(circ, {0, 0, 0, 0, 3, 3});
    EXPECT_EQ(circ.m_rx, 1.0);
    EXPECT_EQ(circ.m_centre, CPointd(3, 3));

    // Three quarters of a turn, from (1, 0) round to (0, -1).
    std::unique_ptr<CArc> flipped(NewArc(0, 0, 1, 0, 3 * kPi / 2));
    PlaceEntity(*flipped, {0, 0, 0, 0, -1, 1});
    EXPECT_NEAR(flipped->m_start, 3 * kPi / 2, 1e-12) << "from the image of the end";
    EXPECT_NEAR(flipped->m_end, kPi, 1e-12);
    EXPECT_EQ(flipped->m_arcWord, 0);
    std::unique_ptr<CArc> turned(NewArc(0, 0, 1, 0, 3 * kPi / 2));
    PlaceEntity(*turned, {0, 0, 0, 0, -1, -1});
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
    RotateEntity(*t, CPointd(0, 0), kPi / 6);
    EXPECT_EQ(t->m_font.lfEscapement, -300);

    // Mirrored across the line from the origin in direction m, by the perpendicular.
    auto mirrored = [](int justify, LONG escapement, double m) {
        std::unique_ptr<CText> text(Text(1, 1, justify, escapement));
        CRecta line;
        line.m_p2 = CPointd(std::cos(m), std::sin(m));
        MirrorEntity(*text, line, m + kPi / 2);
        return text->m_justify;
    };
    EXPECT_EQ(mirrored(JUSTIFY_LEFT, 0, kPi / 2), JUSTIFY_RIGHT);
    EXPECT_EQ(mirrored(JUSTIFY_RIGHT, 0, kPi / 2), JUSTIFY_LEFT);
    EXPECT_EQ(mirrored(JUSTIFY_LEFT, 0, 0), JUSTIFY_LEFT);
    EXPECT_EQ(mirrored(JUSTIFY_LEFT, 300, 11 * kPi / 6), JUSTIFY_LEFT) << "along the line, the other way";
    EXPECT_EQ(mirrored(0, 0, kPi / 2), JUSTIFY_CENTRE);
}

// Texts turned many times, or mirrored with angles beyond a turn, keep their
// direction through the file's 16-bit words.
TEST(Transform, TurnedTextsKeepTheirDirectionInTheFile)
{
    struct Row {
        double degrees;  // counter-clockwise per turn; 0 mirrors once
        int times;
        LONG escapement, orientation;  // before
    };
    const Row rows[] = {
        {-90, 37, 0, 0}, {90, 37, 0, 0}, {7.5, 500, 0, 900}, {-123.4, 30, 450, -32000}, {0, 1, 7300, -7300},
    };
    QTemporaryDir dir;
    const std::string path = dir.filePath("turned.zpd").toStdString();
    CRectaDoc doc;
    doc.OnNewDocument();
    std::vector<LONG> want;  // escapement and orientation of each text, as turned
    CRecta mirror;
    mirror.m_p2 = CPointd(1, 1);
    for (const Row& r : rows) {
        CText* t = doc.AddText();
        t->m_text = "AB";
        t->m_font.lfEscapement = r.escapement;
        t->m_font.lfOrientation = r.orientation;
        for (int i = 0; i < r.times; ++i) {
            if (r.degrees == 0)
                MirrorEntity(*t, mirror, 3 * kPi / 4);
            else
                RotateEntity(*t, CPointd(1, 2), DegToRad(r.degrees));
        }
        want.insert(want.end(), {t->m_font.lfEscapement, t->m_font.lfOrientation});
        const long long turned = r.escapement - std::llround(10 * r.degrees * r.times);
        EXPECT_EQ((t->m_font.lfEscapement - turned) % 3600, 0) << r.degrees;
        EXPECT_EQ((t->m_font.lfOrientation - r.orientation) % 3600, 0) << r.degrees;
        for (LONG v : {t->m_font.lfEscapement, t->m_font.lfOrientation})
            EXPECT_LT(std::abs(v), 3600) << r.degrees;
    }
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CRectaDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    std::vector<LONG> got;
    for (CObject* obj : reopened.GetEntityList()) {
        const LOGFONT& f = static_cast<CText*>(static_cast<CDib*>(obj)->m_entity)->m_font;
        got.insert(got.end(), {f.lfEscapement, f.lfOrientation});
    }
    EXPECT_EQ(got, want);
}

TEST(Transform, MirroredInsertPlacesEveryBlockPointAtItsImage)
{
    CRectaDoc doc;
    AddNamedBlock(doc, "INNER", {{ENT_LINE, NewLine(0, 0, 2, 1, 0.5)}});
    CBloq* block = AddNamedBlock(doc, "OUTER",
                                 {{ENT_POINT, new CPunt},
                                  {ENT_ARC, NewArc(1, 1, 1, 0.3, 2.0)},
                                  {ENT_INSERT, NewInsert("INNER", 1, 2, 0.9, 1.5, 1.5)}});

    CRecta mirror;
    mirror.m_p1 = CPointd(0, -1), mirror.m_p2 = CPointd(0, 1);  // the y axis
    std::unique_ptr<CInsBl> ins(NewInsert("OUTER", 0, 0));
    auto leaves = [&] {
        std::vector<CElementPtr> out;
        WalkPlacedEntities(doc, *block, ins->Placement(), [&](CElementPtr& e) { out.push_back(std::move(e)); });
        return out;
    };
    std::vector<CElementPtr> expected = leaves();
    MirrorEntity(*ins, mirror, 0);
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
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 2, 2)}});
    std::unique_ptr<CInsBl> ins(NewInsert("B", 5, 5));
    const Pt2 around[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Pt2 inside[4] = {{5.5, 5.5}, {6, 5.5}, {6, 6}, {5.5, 6}};
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, around), 0) << "no window side meets the box";
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, inside), 1);
    ins->m_block = "MISSING";
    EXPECT_EQ(InsBlBoxCrossesQuad(*ins, doc, inside), 0);
}

namespace {

class InsertView : public ViewTest {};

}  // namespace

TEST_F(InsertView, BlocksThatInsertThemselvesEndInEveryWalker)
{
    // SELF holds a line and itself one unit on; P and Q insert each other.
    AddNamedBlock(doc, "SELF", {{ENT_LINE, NewLine(0, 0, 1, 0)}, {ENT_INSERT, NewInsert("SELF", 1, 0)}});
    AddNamedBlock(doc, "P", {{ENT_LINE, NewLine(0, 0, 0, 1)}, {ENT_INSERT, NewInsert("Q", 0, 1)}});
    AddNamedBlock(doc, "Q", {{ENT_CIRCLE, new CCirc}, {ENT_INSERT, NewInsert("P", 1, 0)}});
    EXPECT_EQ(doc.FindBlock("SELF")->m_extMax, CPointd(1, 0));
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
    CollectReferencedBlocks(doc, doc.FindBlock("P")->GetEntityList(), container);
    EXPECT_NE(container.FindRefBlock("P"), nullptr);
    EXPECT_NE(container.FindRefBlock("Q"), nullptr);
}

TEST_F(InsertView, BlockExtentsStoredAtAnotherScaleDoNotHideAnOpenedInsert)
{
    // The file holds the block's extents as measured for an insert at scale 0.25.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("quarter.zpd").toStdString();
    {
        CRectaDoc source;
        source.OnNewDocument();
        AddNamedBlock(source, "B", {{ENT_LINE, NewLine(0, 0, 40, 40)}})->m_extMax = CPointd(10, 10);
        source.AddInsBlOnLayer(1, 0, "ZP", CPointd(0, 0), 1, 0, 1, "B");
        source.m_windowMin = CPointd(20, 20);
        source.m_windowMax = CPointd(52, 44);
        ASSERT_TRUE(source.OnSaveDocument(path));
    }
    ASSERT_TRUE(doc.OnOpenDocument(path));
    view.OnInitialUpdate();

    EXPECT_GT(Ink(), 0) << "drawn where the stored box does not reach";
    EXPECT_EQ(Pick(30, 30), doc.GetFirstEntityPosition());
    view.m_snapMode = 2;  // end point
    CPointd p(39.9, 39.8);
    ASSERT_TRUE(view.OnEditPoint(p));
    EXPECT_EQ(p, CPointd(40, 40));
    view.SelectByWindow(1, CPointd(35, 35), CPointd(45, 37));
    EXPECT_EQ(view.m_selection.GetCount(), 1);
    view.ClearSelection();

    CArchive again;
    doc.Serialize(again);
    EXPECT_EQ(again.TakeData(), FileBytes(path)) << "saved again byte for byte";
    doc.CalcExtents();
    EXPECT_EQ(doc.FindBlock("B")->m_extMax, CPointd(10, 10)) << "measuring leaves the stored extents alone";
    EXPECT_EQ(doc.m_extMax, CPointd(40, 40));
}

TEST_F(InsertView, InsertsAreDrawnPickedCulledAndDuplicated)
{
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 2, 0)}, {ENT_LINE, NewLine(0, 0, 0, 1)}});
    CInsBl* ins = doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(4, 4), 2, kPi / 2, 2, "B");
    const int ink = Ink();
    EXPECT_GT(ink, 0);
    EXPECT_EQ(Pick(4, 7.9), doc.GetFirstEntityPosition()) << "the placed line (4,4)-(4,8)";
    EXPECT_EQ(Pick(3.5, 6), nullptr) << "inside the box, away from every line";
    EXPECT_TRUE(InsBlInWindow(doc, *ins, CPointd(0, 0), CPointd(3.5, 5)));
    EXPECT_FALSE(InsBlInWindow(doc, *ins, CPointd(4.5, 0), CPointd(9, 9)));
    EXPECT_FALSE(InsBlInWindow(doc, *ins, CPointd(-9, -9), CPointd(1, 1)));

    std::unique_ptr<CUndoStep> step(
        MakeUndoStep(&doc, UNDO_CHANGED, ENT_INSERT, doc.GetEntityRecord(doc.GetFirstEntityPosition()), nullptr));
    ASSERT_NE(step->m_copy, nullptr);
    EXPECT_NE(step->m_copy->m_entity, ins);
    EXPECT_TRUE(SameGeometry(Geometry(ENT_INSERT, step->m_copy->m_entity), Geometry(ENT_INSERT, ins)));

    // A missing block is skipped by every walker.
    ins->m_block = "MISSING";
    view.Invalidate();
    EXPECT_EQ(Ink(), 0);
    EXPECT_EQ(Pick(4, 7.9), nullptr);
    view.SelectByWindow(1, CPointd(0, 0), CPointd(9, 9));
    EXPECT_EQ(view.m_selection.GetCount(), 0);
    AddNamedBlock(doc, "P", {{ENT_LINE, NewLine(1, 1, 1, 1)}});  // a box of no size
    EXPECT_TRUE(InsBlInWindow(doc, *std::unique_ptr<CInsBl>(NewInsert("P", 4, 4)), CPointd(0, 0), CPointd(9, 9)));
}

TEST_F(InsertView, AnInsertedArcIsCulledAndPickedByItsWholeSweep)
{
    // The arc's top (0, 100) lies above every sample the stored extents take.
    AddNamedBlock(doc, "A", {{ENT_ARC, NewArc(0, 0, 100, 10 * kPi / 180, 190 * kPi / 180)}});
    EXPECT_LT(doc.FindBlock("A")->m_extMax.y, 99) << "the stored extents keep their samples";
    CInsBl* ins = doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(), 1, 0, 1, "A");
    doc.m_windowMin = CPointd(-10, 99);
    doc.m_windowMax = CPointd(10, 101);
    view.OnInitialUpdate();
    EXPECT_GT(Ink(), 0);
    EXPECT_EQ(Pick(0, 100), doc.GetFirstEntityPosition());
    EXPECT_TRUE(InsBlInWindow(doc, *ins, CPointd(-10, 99), CPointd(10, 101)));
}

TEST_F(InsertView, BlocksThatMultiplyEachOtherEndWithinTheirBudget)
{
    // Eight levels of thirty inserts each: far more placed entities than any walk may visit.
    AddNamedBlock(doc, "B7", {{ENT_LINE, NewLine(0, 0, 0.1, 0)}});
    for (int level = 6; level >= 0; --level) {
        const std::string inner = "B" + std::to_string(level + 1);
        CObList list(ListOwnership::owns);
        for (int i = 0; i < 30; ++i)
            list.AddTail(new CDib(ENT_INSERT, NewInsert(inner.c_str(), 0.0001 * i, 0)));
        CBloq* b = doc.AddBlock(CPointd(), list, "B" + std::to_string(level));
        b->CalcExtents(doc);
    }
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(2, 2), 1, 0, 1, "B0");
    theApp.Status().SetPaneText(2, "");
    EXPECT_GT(Ink(), 0);
    EXPECT_EQ(Pane(2), kNestedWorkMessage) << "the repaint says that it left some out";
    doc.CalcExtents();
    EXPECT_NEAR(doc.m_extMin.x, 2, 1e-9);
}

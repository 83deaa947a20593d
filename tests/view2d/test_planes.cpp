// Working planes: conversions into a plane and back, what the plane hides,
// and what it does to the undo history.
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/extruded.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/ucs.h"
#include "platform/archive.h"
#include "support/scripted_forms.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <QTemporaryDir>

#include <random>

namespace {

CRecta* AddLine(CRectaDoc& doc, const CPointd& a, const CPointd& b, const CPointd& dir, int mode = EXTRUSION_FLAT)
{
    CRecta* l = doc.AddRecta();
    l->m_p1 = a;
    l->m_p2 = b;
    l->m_dir = dir;
    l->m_extrusionMode = mode;
    return l;
}

void ExpectNear(const CPointd& got, const CPointd& want, double tolerance)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

CPointd Minus(const CPointd& a, const CPointd& b)
{
    return CPointd(a.x - b.x, a.y - b.y, a.z - b.z);
}

double Dot(const CPointd& a, const CPointd& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

CPointd CrossOf(const CPointd& a, const CPointd& b)
{
    return CPointd(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

CPointd Unit(const CPointd& a)
{
    const double n = std::sqrt(Dot(a, a));
    return CPointd(a.x / n, a.y / n, a.z / n);
}

}  // namespace

// Random three-point planes whose third point is not square to the X edge:
// entities in the plane go to its coordinates and come back within 1e-9 of
// the drawing's size.
TEST_F(ViewTest, PlaneRoundTripIsExact)
{
    std::mt19937 rng(16);
    std::uniform_real_distribution<double> coord(-500.0, 500.0);
    auto random = [&] { return CPointd(coord(rng), coord(rng), coord(rng)); };
    constexpr double kSize = 1000.0;
    for (int trial = 0; trial < 40; ++trial) {
        const CPointd o = random(), p = random(), q = random();
        ASSERT_GT(std::abs(Dot(Minus(p, o), Minus(q, o))), 1.0) << "a slanted third point";
        const CPointd w = Unit(CrossOf(Minus(p, o), Minus(q, o)));
        const CPointd a = random(), b = random(), c = random();
        CRecta* line = AddLine(doc, a, b, w, EXTRUSION_THICK);
        CPunt* point = doc.AddPunt();
        point->m_point = c;
        CTdface* face = doc.AddTdface();
        face->m_dir = w;
        face->m_c[0] = a;
        face->m_c[2] = c;
        CRecta* seg = view.NewBlockRecta(1, 0, "ZP", b, c);
        CObList segments{ListOwnership::owns};
        segments.AddTail(view.m_blockList);
        CPLine* pline = doc.AddPLine(segments);
        pline->m_dir = w;

        ScriptedForms forms;
        forms.Expect("UCSOBJ", OkWith());
        ASSERT_TRUE(view.SetWorkingPlane(o, p, q, q, PLANE_THREE_POINTS));
        EXPECT_EQ(line->m_extrusionMode, EXTRUSION_OCS);
        EXPECT_NEAR(seg->m_p2.z, Dot(Minus(c, o), w), 1e-9 * kSize) << "a polyline in the plane is converted too";
        CPointd inPlane = p;
        view.ToPlanePoint(inPlane);
        ExpectNear(inPlane, CPointd(std::sqrt(Dot(Minus(p, o), Minus(p, o))), 0, 0), 1e-9 * kSize);
        inPlane = q;
        view.ToPlanePoint(inPlane);
        EXPECT_NEAR(inPlane.z, 0.0, 1e-9 * kSize) << "q lies in the plane";
        EXPECT_GT(inPlane.y, 0.0);

        view.ToWorldSystem();
        ExpectNear(line->m_p1, a, 1e-9 * kSize);
        ExpectNear(line->m_p2, b, 1e-9 * kSize);
        ExpectNear(point->m_point, c, 1e-9 * kSize);
        ExpectNear(face->m_c[0], a, 1e-9 * kSize);
        ExpectNear(face->m_c[2], c, 1e-9 * kSize);
        ExpectNear(seg->m_p1, b, 1e-9 * kSize);
        ExpectNear(seg->m_p2, c, 1e-9 * kSize);
        EXPECT_EQ(line->m_extrusionMode, EXTRUSION_THICK) << "its own mode back";
        EXPECT_EQ(face->m_extrusionMode, EXTRUSION_FLAT);
        EXPECT_EQ(doc.m_extrusionMode, EXTRUSION_FLAT);
        EXPECT_EQ(doc.m_extrusionDir, CPointd(0, 0, 1));
        EXPECT_EQ(doc.m_ucsActive, 0);
        doc.DeleteContents();
    }
}

// What is drawn in a plane comes back at the world points of its plane points.
TEST_F(ViewTest, DrawingInAPlaneGivesWorldPoints)
{
    // Vertical through (10, 5) along +y: plane (a, b, c) is world (10 - c, 5 + a, b).
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(10, 5), CPointd(10, 8), CPointd(), CPointd(), PLANE_VERTICAL));
    EXPECT_EQ(doc.m_extrusionMode, EXTRUSION_OCS);
    EXPECT_EQ(doc.m_extrusionDir, CPointd(1, 0, 0));

    CRecta* line = LineFrom(1, 2, 3, 2);
    EXPECT_EQ(line->m_extrusionMode, EXTRUSION_OCS);
    CObList segments{ListOwnership::owns};
    CRecta* seg = view.NewBlockRecta(1, 0, "ZP", CPointd(0, 0), CPointd(4, 1));
    segments.AddTail(view.m_blockList);
    CPLine* pline = doc.AddPLine(segments);
    CText* text = doc.AddText();
    text->m_insert = CPointd(5, 1);
    text->m_text = "in plane";
    CInsBl* insert = doc.AddInsBl();
    insert->m_insert = CPointd(2, 3);
    CObList parts{ListOwnership::owns};
    auto* dimLine = new CRecta;
    dimLine->m_p1 = CPointd(0, 1);
    dimLine->m_p2 = CPointd(2, 1);
    parts.AddTail(new CDib(ENT_LINE, dimLine));
    CAcot* dim = doc.AddAcot(parts);

    view.OnCommand(ID_WORLD_SYSTEM);
    EXPECT_EQ(line->m_p1, CPointd(10, 6, 2));
    EXPECT_EQ(line->m_p2, CPointd(10, 8, 2));
    EXPECT_EQ(line->m_extrusionMode, EXTRUSION_THICK) << "drawn in the plane, it stands on it";
    EXPECT_EQ(seg->m_p1, CPointd(10, 5, 0));
    EXPECT_EQ(seg->m_p2, CPointd(10, 9, 1));
    EXPECT_EQ(pline->m_extrusionMode, EXTRUSION_THICK);
    EXPECT_EQ(text->m_insert, CPointd(10, 10, 1));
    EXPECT_EQ(insert->m_insert, CPointd(10, 7, 3));
    EXPECT_EQ(static_cast<CRecta*>(dim->DefinitionLine())->m_p2, CPointd(10, 7, 1));
    EXPECT_EQ(doc.m_ucsActive, 0);
}

// The plane hides what is not in it with its own mark: returning shows those
// again, unchanged, but not what was hidden before.
TEST_F(ViewTest, ReturningShowsWhatThePlaneHidOnly)
{
    const CPointd up(0, 0, 1), w(0, -1, 0);
    CRecta* flat = AddLine(doc, CPointd(1, 1), CPointd(3, 1), up);
    CText* text = doc.AddText();
    text->m_insert = CPointd(2, 2);
    CRecta* offLayer = AddLine(doc, CPointd(0, 4), CPointd(1, 4), up);
    doc.GetLastEntityRecord()->m_visible = 0;  // its layer is off
    CRecta* inPlaneHidden = AddLine(doc, CPointd(0, 0, 1), CPointd(1, 0, 1), w);
    doc.GetLastEntityRecord()->m_visible = 0;

    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    std::vector<int> visible;
    for (CObject* obj : doc.GetEntityList())
        visible.push_back(static_cast<CDib*>(obj)->m_visible);
    EXPECT_EQ(visible, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(inPlaneHidden->m_p2, CPointd(1, 1, 0)) << "in the plane although hidden";
    EXPECT_EQ(flat->m_p1, CPointd(1, 1)) << "out of the plane: not converted";

    view.ToWorldSystem();
    visible.clear();
    for (CObject* obj : doc.GetEntityList())
        visible.push_back(static_cast<CDib*>(obj)->m_visible);
    EXPECT_EQ(visible, (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(text->m_insert, CPointd(2, 2));
    EXPECT_EQ(offLayer->m_p1, CPointd(0, 4));
    EXPECT_EQ(inPlaneHidden->m_p2, CPointd(1, 0, 1));
}

// A second plane starts from the world: what the first plane held goes back first.
TEST_F(ViewTest, ASecondPlaneReturnsToTheWorldFirst)
{
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    CRecta* line = LineFrom(1, 2, 3, 2);

    // The world's y axis, as the first plane shows it.
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(0, 0, -1), CPointd(), CPointd(), PLANE_VERTICAL));
    EXPECT_EQ(line->m_p1, CPointd(1, 0, 2)) << "back in the world, then hidden by the second plane";
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 0);
    EXPECT_EQ(doc.m_extrusionDir, CPointd(1, 0, 0));

    view.ToWorldSystem();
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 1);
    EXPECT_EQ(line->m_p2, CPointd(3, 0, 2));
}

// Undo steps hold coordinates of the system they were made in: a plane change clears the history.
TEST_F(ViewTest, APlaneChangeClearsTheUndoHistory)
{
    CRecta* line = AddLine(doc, CPointd(1, 1), CPointd(2, 1), CPointd(0, 0, 1));
    view.AddUndoStep(UNDO_ADDED, ENT_LINE, doc.GetLastEntityRecord(), doc.GetLastEntityPosition());
    view.SaveUndoState();
    view.ClearPendingSteps();
    ScriptedForms forms;
    forms.Expect("UCSOBJ", OkWith({{"above", "0.5"}}));
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0, 3), CPointd(1, 0, 3), CPointd(1, 1, 3), CPointd(),
                                     PLANE_THREE_POINTS));
    EXPECT_EQ(view.UndoStateCount(), 0);
    EXPECT_EQ(line->m_p1, CPointd(1, 1, -3));
    view.DoUndo();
    EXPECT_EQ(doc.GetEntityList().GetCount(), 1);

    view.AddUndoStep(UNDO_CHANGED, ENT_LINE, doc.GetLastEntityRecord(), doc.GetLastEntityPosition());
    line->m_p1.x = 7;
    view.SaveUndoState();
    view.ClearPendingSteps();
    view.ToWorldSystem();
    EXPECT_EQ(view.UndoStateCount(), 0);
    EXPECT_EQ(line->m_p1, CPointd(7, 1, 0));
}

TEST_F(ViewTest, PointsWithoutAPlaneAreRefused)
{
    ScriptedForms forms;
    forms.Expect("UCSOBJ", CancelWith());
    EXPECT_FALSE(view.SetWorkingPlane(CPointd(2, 2, 0), CPointd(2, 2, 5), CPointd(), CPointd(), PLANE_VERTICAL));
    EXPECT_NE(view.PromptBuffer().find("The points do not define a plane"), std::string::npos);
    EXPECT_FALSE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 1), CPointd(2, 2), CPointd(), PLANE_THREE_POINTS));
    EXPECT_FALSE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(0, 1), CPointd(), PLANE_THREE_POINTS))
        << "the dialog cancelled";
    EXPECT_EQ(doc.m_ucsActive, 0);
    EXPECT_EQ(doc.m_extrusionMode, EXTRUSION_FLAT);
}

// The axes icon shows in the lower left corner while a plane is in force.
TEST_F(ViewTest, PlaneShowsTheAxesIcon)
{
    auto armPixel = [&] { return view.Image().pixel(30, kH - 1 - 12) & 0xFFFFFF; };
    EXPECT_EQ(armPixel(), 0xFFFFFFu);
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    EXPECT_EQ(armPixel(), 0u);
    view.OnCommand(ID_WORLD_SYSTEM);
    EXPECT_EQ(armPixel(), 0xFFFFFFu);
}

// The plane commands set the plane through their clicks: three points (the
// third only tilts the plane), or a vertical section through the first two.
TEST_F(ViewTest, ThePlaneCommandsTakeTheirClicks)
{
    doc.m_ortho = 0;
    doc.m_gridStep = 0;
    ScriptedForms forms;
    forms.Expect("UCSOBJ", OkWith());
    view.OnCommand(ID_PLANE_3_POINTS);
    for (const CPointd& p : {CPointd(1, 1), CPointd(2, 2), CPointd(0, 3)})
        view.ClickAt(MK_LBUTTON, p);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(doc.m_ucsActive, 1);
    EXPECT_EQ(doc.m_ucsOrigin, CPointd(1, 1));
    const double h = std::sqrt(0.5);
    ExpectNear(CPointd(doc.m_ucsMatrix[0][0], doc.m_ucsMatrix[0][1], doc.m_ucsMatrix[0][2]), CPointd(h, h, 0), 1e-12);
    ExpectNear(doc.m_extrusionDir, CPointd(0, 0, 1), 1e-12);

    view.ToWorldSystem();
    view.OnCommand(ID_PLANE_VERTICAL);
    for (const CPointd& p : {CPointd(1, 0), CPointd(1, 2), CPointd(5, 2), CPointd(6, 2)})
        view.ClickAt(MK_LBUTTON, p);
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_EQ(doc.m_ucsOrigin, CPointd(1, 0));
    EXPECT_EQ(CPointd(doc.m_ucsMatrix[1][0], doc.m_ucsMatrix[1][1], doc.m_ucsMatrix[1][2]), CPointd(0, 0, 1));
    EXPECT_EQ(doc.m_extrusionDir, CPointd(1, 0, 0));
    view.ToWorldSystem();
}

// A working plane is a way of showing the drawing: saving under one writes
// the world's coordinates with what the plane hides shown, and the plane
// stays in force for the user.
TEST_F(ViewTest, SavingUnderAPlaneWritesTheWorld)
{
    const CPointd up(0, 0, 1), w(0, -1, 0);
    AddLine(doc, CPointd(1, 1), CPointd(3, 1), up);
    CRecta* standing = AddLine(doc, CPointd(0, 0, 1), CPointd(1, 0, 1), w, EXTRUSION_THICK);
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    LineFrom(1, 2, 3, 2);
    CObList segments{ListOwnership::owns};
    view.NewBlockRecta(1, 0, "ZP", CPointd(0, 0), CPointd(4, 1));
    segments.AddTail(view.m_blockList);
    doc.AddPLine(segments);
    CArc* arc = doc.AddArc();  // drawn in the plane: the copy carries its plane too
    arc->m_centre = CPointd(1, 1);
    arc->m_rx = arc->m_ry = 1;
    arc->m_end = 1;

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("plane.zpd").toStdString();
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_ucsActive, 1);
    EXPECT_EQ(standing->m_p2, CPointd(1, 1, 0)) << "still shown in the plane";
    EXPECT_EQ(doc.GetEntityRecord(doc.GetFirstEntityPosition())->m_visible, 0);

    CRectaDoc reopened;
    ASSERT_FALSE(LoadDrawing(path, reopened));
    std::vector<int> visible;
    std::vector<CPointd> ends;
    for (CObject* obj : reopened.GetEntityList()) {
        const auto* dib = static_cast<CDib*>(obj);
        visible.push_back(dib->m_visible);
        if (dib->m_type != ENT_LINE)
            continue;
        ends.push_back(static_cast<CRecta*>(dib->m_entity)->m_p1);
        ends.push_back(static_cast<CRecta*>(dib->m_entity)->m_p2);
    }
    EXPECT_EQ(visible, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(ends, (std::vector<CPointd>{CPointd(1, 1), CPointd(3, 1), CPointd(0, 0, 1), CPointd(1, 0, 1),
                                          CPointd(1, 0, 2), CPointd(3, 0, 2)}));
    EXPECT_EQ(reopened.m_extrusionMode, EXTRUSION_FLAT);
    const auto* pline = static_cast<CPLine*>(static_cast<CDib*>(reopened.GetEntityList().GetAt(reopened.GetEntityList().FindIndex(3)))->m_entity);
    EXPECT_EQ(pline->m_extrusionMode, EXTRUSION_THICK) << "drawn in the plane, it stands on it";
    EXPECT_EQ(pline->m_dir, w);

    // The file holds exactly what returning to the world gives.
    view.ToWorldSystem();
    auto bytes = [](CRectaDoc& d) {
        CArchive ar;
        d.Serialize(ar);
        return ar.TakeData();
    };
    EXPECT_EQ(bytes(reopened), bytes(doc));
}

// Circles and arcs drawn in a plane stay in it back in the world, and so do
// those the plane took in: their paths start and end where they should.
TEST_F(ViewTest, CurvesKeepTheirPlaneInTheWorld)
{
    constexpr double kPi = 3.141592653589793, h = 0.7071067811865476;
    enum Kind { circle, arc, plineArc, groundArc };
    const CPointd o, x(1, 0), turned[] = {CPointd(0, 0, 1), CPointd(1, 1, 1), CPointd(0, 1, 1)};
    const struct Row {
        const char* name;
        Kind kind;
        bool vertical;  // through o and x, else the turned ground plane
        CPointd centre;  // in the plane; in the world for groundArc
        double start, end;
        CPointd first, last;  // world points: where the path starts, and a quarter on (circle) or its end
    } rows[] = {
        {"vertical circle", circle, true, CPointd(0, 5), 0, 0, CPointd(2, 0, 5), CPointd(0, 0, 7)},
        {"vertical arc", arc, true, CPointd(1, 1), 0, kPi / 2, CPointd(3, 0, 1), CPointd(1, 0, 3)},
        {"line-arc-line", plineArc, true, CPointd(2, 1), 3 * kPi / 2, 0, CPointd(2, 0, 0), CPointd(3, 0, 1)},
        {"turned ground plane", arc, false, CPointd(0, 0), 0, kPi / 2, CPointd(2 * h, 2 * h, 1),
         CPointd(-2 * h, 2 * h, 1)},
        {"ground arc taken in", groundArc, false, CPointd(5, 5, 1), 0, kPi / 2, CPointd(7, 5, 1), CPointd(5, 7, 1)},
    };
    ScriptedForms forms;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CArc* a = nullptr;
        auto addArc = [&] {
            a = doc.AddArc();
            a->m_centre = row.centre;
            a->m_rx = a->m_ry = 2;
            a->m_start = row.start;
            a->m_end = row.end;
        };
        if (row.kind == groundArc)
            addArc();
        if (!row.vertical)
            forms.Expect("UCSOBJ", OkWith());
        ASSERT_TRUE(row.vertical ? view.SetWorkingPlane(o, x, o, o, PLANE_VERTICAL)
                                 : view.SetWorkingPlane(turned[0], turned[1], turned[2], o, PLANE_THREE_POINTS));
        CCirc* c = nullptr;
        CRecta *before = nullptr, *after = nullptr;
        if (row.kind == circle) {
            c = doc.AddCirc();
            c->m_centre = row.centre;
            c->m_rx = c->m_ry = 2;
        } else if (row.kind == arc) {
            addArc();
        } else if (row.kind == plineArc) {
            CObList segments{ListOwnership::owns};
            before = view.NewBlockRecta(1, 0, "ZP", CPointd(0, 0), CPointd(2, 0));
            a = view.NewBlockArc(1, 0, "ZP", row.centre, 1, row.start, row.end);
            after = view.NewBlockRecta(1, 0, "ZP", CPointd(3, 1), CPointd(3, 3));
            segments.AddTail(view.m_blockList);
            doc.AddPLine(segments);
        }
        view.ToWorldSystem();
        const ExtrudedBand band = c ? ExtrudedBandOf(*c) : ExtrudedBandOf(*a);
        ASSERT_FALSE(band.base.empty());
        ExpectNear(band.base.front(), row.first, 1e-9);
        ExpectNear(c ? band.base[band.base.size() / 4] : band.base.back(), row.last, 1e-9);
        if (before) {
            EXPECT_EQ(before->m_p2, row.first) << "the arc starts where the line ends";
            EXPECT_EQ(after->m_p1, row.last);
        }
        doc.DeleteContents();
    }
}

// The plane commands start from the world only, and "World System" under a
// plane only; in the wrong state they leave what runs alone, and repeating a
// plane command under a plane shows no prompt.
TEST_F(ViewTest, PlaneStartersNeedTheirState)
{
    doc.m_gridStep = 0;
    const struct Row {
        int id;
        bool underPlane;
    } rows[] = {{ID_PLANE_VERTICAL, true}, {ID_PLANE_3_POINTS, true}, {ID_WORLD_SYSTEM, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        if (row.underPlane) {
            ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0, 0), CPointd(), CPointd(), PLANE_VERTICAL));
        }
        LineFrom(1, 1, 9, 1);
        view.OnCommand(10450);  // erase
        Click(5, 1);
        ASSERT_EQ(view.m_selection.GetCount(), 1);
        view.OnCommand(row.id);
        EXPECT_EQ(view.m_command, CMD_ERASE);
        EXPECT_EQ(view.m_selection.GetCount(), 1);
        EXPECT_EQ(doc.m_ucsActive, row.underPlane ? 1 : 0);
        view.CancelCommand();
        view.ToWorldSystem();
        doc.DeleteContents();
    }
    view.OnCommand(ID_PLANE_VERTICAL);
    view.CancelCommand();
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    Right();
    EXPECT_EQ(view.PromptBuffer(), std::string(CRectaView::kPromptMax, ' '));
}

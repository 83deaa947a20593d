// Polylines and dimensions: file records, geometry, fill and dimension layout.
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitydraw.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "model/transform.h"
#include "platform/archive.h"
#include "platform/recordingdc.h"
#include "support/bytes.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Bytes = std::vector<BYTE>;
constexpr double kPi = std::numbers::pi;

std::string Raw(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

CRecta* AddLine(CObList& list, CPointd a, CPointd b)
{
    auto* l = new CRecta(1, 0, "S", 0.0, 0, 0, 0, 1);
    l->m_p1 = a;
    l->m_p2 = b;
    list.AddTail(new CDib(ENT_LINE, l));
    return l;
}

CArc* AddArc(CObList& list, CPointd c, double r, double s, double e)
{
    auto* a = new CArc(1, 0, "S", 0.0, 0, 0, 0, 1);
    a->m_centre = c;
    a->m_rx = a->m_ry = r;
    a->m_start = s;
    a->m_end = e;
    list.AddTail(new CDib(ENT_ARC, a));
    return a;
}

// A closed square of side 4, counter-clockwise from the origin.
void Square(CObList& list)
{
    const CPointd c[4] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    for (int i = 0; i < 4; ++i)
        AddLine(list, c[i], c[(i + 1) % 4]);
}

std::vector<CPointd> Vertices(const CPLine& pl)
{
    CObList pts(ListOwnership::owns);
    double area = 0, perimeter = 1.0;
    pl.GetVertices(area, pts, perimeter);
    std::vector<CPointd> v;
    for (CObject* p : pts)
        v.push_back(*static_cast<CPointd*>(p));
    return v;
}

template <class T>
T& Part(const CObList& list, int i)
{
    return *static_cast<T*>(static_cast<CDib*>(list.GetAt(list.FindIndex(i)))->m_entity);
}

}  // namespace

TEST(CompositeRecord, PolylineGoldenBytesInEachExtrusionMode)
{
    for (int mode : {0, 1, 2}) {
        CObList segs(ListOwnership::owns);
        const Bytes line = Stored(*AddLine(segs, {0, 0, 1}, {4, 0, 1}));
        const Bytes arc = Stored(*AddArc(segs, {4, 2}, 2, 3 * kPi / 2, kPi / 2));
        CPLine pl(3, RGB(9, 8, 7), "PL", segs, mode, 0.5, 0.25, 1.0);
        EXPECT_TRUE(segs.IsEmpty());
        pl.m_style = 2;
        pl.m_fill = 1;

        ByteWriter w;
        w.u16(3).u16(2).u32(0x070809).str("PL").u16(mode);
        if (mode == 1)
            w.f64(0.5).f64(0.25).f64(1.0);
        w.u16(2).classRecord("CDib").u16(ENT_LINE).u16(1).u16(1).raw(Raw(line));
        w.u16(0x8001).u16(ENT_ARC).u16(1).u16(1).raw(Raw(arc));
        EXPECT_EQ(Stored(pl), w.bytes()) << mode;

        CPLine back;
        CArchive in(w.bytes());
        back.Serialize(in);
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(Stored(back), w.bytes()) << mode;
        EXPECT_EQ(back.m_fill, 0) << "the fill is not stored";
        EXPECT_EQ(back.m_dir, mode == 1 ? CPointd(0.5, 0.25, 1.0) : CPointd(0, 0, 1));
    }
}

TEST(CompositeRecord, DimensionGoldenBytesElementsAndNesting)
{
    CObList parts(ListOwnership::owns);
    const Bytes def = Stored(*AddLine(parts, {0, 1}, {4, 1}));
    auto* t = new CText(1, 0, "D");
    t->m_text = "4.00";
    parts.AddTail(new CDib(ENT_TEXT, t));
    const Bytes text = Stored(*t);
    auto* dim = new CAcot(2, 0xFF, "DIM", parts);
    ByteWriter w;
    w.u16(2).u16(0).u32(0xFF).str("DIM").u16(2).classRecord("CDib").u16(ENT_LINE).u16(1).u16(1).raw(Raw(def));
    w.u16(0x8001).u16(ENT_TEXT).u16(1).u16(1).raw(Raw(text));
    EXPECT_EQ(Stored(*dim), w.bytes());

    // Both kinds come back through their elements, by class name.
    CObList segs(ListOwnership::owns), list(ListOwnership::owns), back(ListOwnership::owns);
    AddArc(segs, {1, 1}, 1, 4.0, 1.0);
    list.AddTail(new CDib(ENT_PLINE, new CPLine(1, 0, "P", segs, 0, 0, 0, 1)));
    list.AddTail(new CDib(ENT_DIMENSION, dim));
    CArchive out;
    list.Serialize(out, RUNTIME_CLASS(CDib));
    const Bytes b = out.TakeData();
    CArchive in(b);
    back.Serialize(in, RUNTIME_CLASS(CDib));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(Part<CPLine>(back, 0).m_segments.GetCount(), 1);
    EXPECT_EQ(Stored(Part<CAcot>(back, 1)), w.bytes());

    // A dimension inside a polyline is refused; what was read is freed.
    CObList inner(ListOwnership::owns);
    inner.AddTail(list.RemoveTail());
    CPLine nest(1, 0, "N", inner, 0, 0, 0, 1);
    const Bytes nested = Stored(nest);
    CPLine loaded;
    CArchive in2(nested);
    EXPECT_THROW(loaded.Serialize(in2), CArchiveException);
}

TEST(PLine, EmptyChainThroughEveryMember)
{
    CPLine pl;
    pl.m_fill = 1;
    CRecordingDC dc;
    EXPECT_EQ(pl.Draw(dc, {1, 0, 0}, DrawKind::normal) + pl.Draw(dc, {1, 0, 0}, DrawKind::erase) + pl.Draw(dc, {1, 0, 0}, DrawKind::dotted), 3);
    EXPECT_EQ(pl.DrawFill(dc, {1, 0, 0}, 1), 0);
    EXPECT_TRUE(dc.CallsNamed("Polygon").empty());
    EXPECT_EQ(pl.IsInRect(-1e9, -1e9, 1e9, 1e9), 0);
    CPointd p(7, 7, 7);
    EXPECT_FALSE(pl.GetStartPoint(p) || pl.GetEndPoint(p));
    EXPECT_EQ(p, CPointd(7, 7, 7));
    CObList pts(ListOwnership::owns);
    double area = -1, perimeter = 0;
    pl.GetVertices(area, pts, perimeter);
    EXPECT_EQ(area + perimeter, 0.0);
    pl.SetColor(5);
    CPLine copy;
    copy.Copy(pl);
    EXPECT_EQ(Stored(copy), Stored(pl));

    CRectaDoc doc;
    doc.OnNewDocument();
    const CPointd lo = doc.m_extMin;
    doc.ExtendExtentsByEntity(ENT_PLINE, &pl);
    EXPECT_EQ(doc.m_extMin, lo);
}

TEST(PLine, EndsVerticesAndMeasures)
{
    CObList segs(ListOwnership::owns);
    AddLine(segs, {0, 0, 5}, {2, 0, 5});
    CArc* arc = AddArc(segs, {2, 1}, 1, 3 * kPi / 2, kPi / 2);  // crosses angle 0: 36 steps
    CPLine pl(1, 0, "P", segs, 0, 0, 0, 1);
    CPointd s, e(0, 0, 9);
    ASSERT_TRUE(pl.GetStartPoint(s) && pl.GetEndPoint(e));
    EXPECT_EQ(s, CPointd(0, 0, 5)) << "a line start gives z";
    EXPECT_NEAR(e.x, 2, 1e-12);
    EXPECT_NEAR(e.y, 2, 1e-12);
    EXPECT_EQ(e.z, 9) << "the end keeps the caller's z";
    for (int word : {1, -1}) {
        CObList arcFirst(ListOwnership::owns);
        AddArc(arcFirst, {0, 0}, 1, 0, kPi / 2)->m_arcWord = word;
        ASSERT_TRUE(CPLine(1, 0, "P", arcFirst, 0, 0, 0, 1).GetStartPoint(s));
        EXPECT_NEAR(s.x, word == 1 ? 1 : 0, 1e-12);
        EXPECT_NEAR(s.y, word == 1 ? 0 : 1, 1e-12);
    }

    const std::vector<CPointd> forward = Vertices(pl);
    ASSERT_EQ(forward.size(), 2u + 37u);
    EXPECT_NEAR(forward[2].y, 0, 1e-12) << "the arc from its start angle, at (2, 0)";
    // Passed the other way the arc gives the same points in reverse order.
    arc->m_arcWord = -1;
    const std::vector<CPointd> backward = Vertices(pl);
    ASSERT_EQ(backward.size(), forward.size());
    for (std::size_t i = 0; i < 37; ++i) {
        EXPECT_NEAR(backward[2 + i].x, forward[forward.size() - 1 - i].x, 1e-9) << i;
        EXPECT_NEAR(backward[2 + i].y, forward[forward.size() - 1 - i].y, 1e-9) << i;
    }

    CObList sq(ListOwnership::owns);
    Square(sq);
    CPLine square(1, 0, "P", sq, 0, 0, 0, 1);
    CObList pts(ListOwnership::owns);
    double area = 0, perimeter = 0;
    square.GetVertices(area, pts, perimeter);
    EXPECT_DOUBLE_EQ(area, 16);
    EXPECT_DOUBLE_EQ(perimeter, 16);
    EXPECT_TRUE(pts.IsEmpty());

    arc->m_end = arc->m_start;  // no sweep, either way round: one point
    for (int word : {1, -1}) {
        arc->m_arcWord = word;
        EXPECT_EQ(Vertices(pl).size(), 3u) << word;
    }
    arc->m_end = 1e300;  // far outside one turn: the walk still ends
    EXPECT_LE(Vertices(pl).size(), 100003u);
    CObList one(ListOwnership::owns);
    AddArc(one, {2, 1}, 1, 3 * kPi / 2, kPi / 2);
    s = CPointd(9, 9);
    ASSERT_TRUE(CPLine(1, 0, "P", one, 0, 0, 0, 1).GetStartPoint(s));
    EXPECT_NEAR(s.y, 0, 1e-12) << "an arc first starts at its start angle";
}

TEST(PLine, FillOnlyWhenClosedAndCopiesAreDeep)
{
    CObList sq(ListOwnership::owns);
    Square(sq);
    CPLine pl(1, 0, "P", sq, 0, 0, 0, 1);
    pl.m_fill = 1;
    pl.m_fillColor = RGB(0, 255, 0);
    CRecordingDC dc;
    pl.Draw(dc, {10, 0, 0}, DrawKind::normal);
    ASSERT_EQ(dc.CallsNamed("Polygon").size(), 1u);
    EXPECT_NE(dc.Log().find("SelectBrush(0,65280)"), std::string::npos);

    CPLine copy;
    copy.Copy(pl);
    Part<CRecta>(pl.m_segments, 3).m_p2 = CPointd(0.001, 0);
    dc.Clear();
    pl.Draw(dc, {10, 0, 0}, DrawKind::normal);
    EXPECT_TRUE(dc.CallsNamed("Polygon").empty()) << "open by 0.001";
    dc.Clear();
    copy.Draw(dc, {10, 0, 0}, DrawKind::normal);
    EXPECT_EQ(dc.CallsNamed("Polygon").size(), 1u) << "the copy keeps its own segments";
}

namespace {

class DimGen : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }
    static bool AllFinite(const CAcot& d)
    {
        for (CObject* o : d.m_parts) {
            const auto* dib = static_cast<CDib*>(o);
            const CPointd p = dib->m_type == ENT_LINE ? static_cast<CRecta*>(dib->m_entity)->m_p2
                                                      : static_cast<CText*>(dib->m_entity)->m_insert;
            const CPointd q = dib->m_type == ENT_LINE ? static_cast<CRecta*>(dib->m_entity)->m_p1 : p;
            if (!std::isfinite(p.x + p.y + q.x + q.y))
                return false;
        }
        return true;
    }

    CRectaDoc doc;
};

}  // namespace

// Angle2D nudges equal coordinates by 0.0001, hence some tolerances of 1e-3.
TEST_F(DimGen, LinearLayoutTicksAndText)
{
    const CAcot& dim = *doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1});
    ASSERT_EQ(dim.m_parts.GetCount(), 7);
    EXPECT_NEAR(Part<CRecta>(dim.m_parts, 0).m_p2.x, 4, 1e-3);
    EXPECT_NEAR(Part<CRecta>(dim.m_parts, 3).m_p1.y, 1.1, 1e-6) << "extension 0.1 beyond";
    EXPECT_NEAR(Part<CRecta>(dim.m_parts, 3).m_p2.y, 0.8, 1e-6) << "and 0.2 back";
    const CText& t = Part<CText>(dim.m_parts, 6);
    EXPECT_EQ(t.m_text, "4.00");
    EXPECT_EQ(t.m_font.lfEscapement, 0);
    EXPECT_NEAR(t.m_insert.x, 2, 1e-3);
    EXPECT_NEAR(t.m_insert.y, 1.2, 1e-6);

    CRecordingDC dc;
    dim.Draw(dc, {10, 0, 0}, DrawKind::normal);
    EXPECT_EQ(dc.CallsNamed("LineTo").size(), 5u) << "the definition line is not drawn";

    EXPECT_EQ(Part<CText>(doc.AddLinearDim(1, 0, "D", {0, 0}, {0, 5}, {-1, 2})->m_parts, 6).m_font.lfEscapement,
              -900);
    doc.m_markName1 = "DEFAULT";
    EXPECT_EQ(doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1})->m_parts.GetCount(), 7);
    doc.m_markName1 = "ARROW";
    EXPECT_EQ(doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1})->m_parts.GetCount(), 3) << "no mark block";
}

TEST_F(DimGen, DegenerateLinearDimensionsStayFinite)
{
    const CAcot& same = *doc.AddLinearDim(1, 0, "D", {3, 3}, {3, 3}, {5, 1});
    EXPECT_TRUE(AllFinite(same));
    EXPECT_EQ(Part<CText>(same.m_parts, 6).m_text, "0");

    // Text on the measured line: the extension lines cross it square at P1 and P2.
    const CAcot& onLine = *doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 0});
    ASSERT_TRUE(AllFinite(onLine));
    EXPECT_NEAR(Part<CRecta>(onLine.m_parts, 3).m_p1.x, 0, 1e-4);
    EXPECT_NEAR(Part<CRecta>(onLine.m_parts, 3).m_p2.x, 0, 1e-4);
}

TEST_F(DimGen, MarksFromBlocksAndTheirMirror)
{
    auto block = [&](const char* name) {
        CObList entities(ListOwnership::owns);
        AddLine(entities, {0, 0}, {0.1, 0.1});
        entities.AddTail(new CDib(ENT_CIRCLE, new CCirc));  // not a line: skipped
        return doc.AddBlock({0, 0}, entities, name);
    };
    CBloq* tick = block("TICK");
    CBloq* other = block("OTHER");
    doc.m_markName1 = doc.m_markName2 = "TICK";
    const CObList& parts = doc.AddLinearDim(1, 0, "M", {0, 0}, {4, 0}, {2, 0})->m_parts;
    ASSERT_EQ(parts.GetCount(), 5);
    EXPECT_NEAR(Part<CRecta>(parts, 2).m_p2.x, 0.1, 1e-3);
    const CRecta& mirrored = Part<CRecta>(parts, 3);
    EXPECT_NEAR(mirrored.m_p2.x, 3.9, 1e-3);
    EXPECT_NEAR(mirrored.m_p2.y, 0.1, 1e-3);
    EXPECT_EQ(mirrored.m_layer, "M");

    CObList list(ListOwnership::owns);
    doc.AddDimensionMarks(*tick, *other, list, "M", {0, 0}, {4, 0}, 0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_NEAR(Part<CRecta>(list, 1).m_p2.x, 3.9, 1e-3) << "flag 0 turns the marks half round";
    EXPECT_NEAR(Part<CRecta>(list, 1).m_p2.y, -0.1, 1e-3);
}

TEST_F(DimGen, RadialShoulderFacesAwayFromThePick)
{
    CCirc c;
    c.m_rx = c.m_ry = 2;
    const CObList& right = doc.AddRadialDim(1, 0, "D", &c, ENT_CIRCLE, {2, 0}, {3, 0})->m_parts;
    ASSERT_EQ(right.GetCount(), 6);
    EXPECT_NEAR(Part<CRecta>(right, 0).m_p2.x, 2, 1e-6) << "definition line from the centre to the curve";
    EXPECT_NEAR(Part<CRecta>(right, 2).m_p2.x, -1, 1e-6) << "shoulder to the left";
    EXPECT_EQ(Part<CText>(right, 5).m_text, "2.00");
    EXPECT_NEAR(Part<CText>(right, 5).m_insert.y, 0.2, 1e-3);

    CArc a;
    a.m_rx = 2;
    EXPECT_NEAR(Part<CRecta>(doc.AddRadialDim(1, 0, "D", &a, ENT_ARC, {-2, 0}, {-3, 0})->m_parts, 2).m_p2.x, 1, 1e-6)
        << "shoulder to the right";
    EXPECT_TRUE(AllFinite(*doc.AddRadialDim(1, 0, "D", &c, ENT_CIRCLE, {0, 0}, {0, 0})));
}

TEST_F(DimGen, StretchRemeasuresWithTheDocumentsTextDistance)
{
    CAcot* dim = doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1});
    dim->m_parts.AddTail(new CDib(ENT_TEXT, new CText));
    doc.m_dimParams[3] = 0.5;
    const StretchWindow window{{{3, 0.5}, {5, 0.5}, {5, 1.5}, {3, 1.5}}, doc.m_dimParams[3], 3};
    StretchAcot(*dim, {0, 0}, {2, 0}, window);
    EXPECT_NEAR(Part<CRecta>(dim->m_parts, 0).m_p1.x, 0, 1e-3);
    EXPECT_NEAR(Part<CRecta>(dim->m_parts, 0).m_p2.x, 6, 1e-3);
    for (int i : {6, 7}) {
        EXPECT_EQ(Part<CText>(dim->m_parts, i).m_text, "6.000");
        EXPECT_NEAR(Part<CText>(dim->m_parts, i).m_insert.x, 3, 1e-3);
        EXPECT_NEAR(Part<CText>(dim->m_parts, i).m_insert.y, 1.5, 1e-6);
    }

    CAcot empty;
    StretchAcot(empty, {0, 0}, {1, 1}, window);
    CRecordingDC dc;
    EXPECT_EQ(empty.Draw(dc, {1, 0, 0}, DrawKind::normal), 1);
    EXPECT_EQ(empty.IsInRect(-1, -1, 1, 1), 0);
    EXPECT_EQ(empty.DefinitionLine(), nullptr);
}

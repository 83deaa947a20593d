// Polylines and dimensions: file records, geometry, drawing and dimension layout.
#include "doc/dimgen.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "platform/recordingdc.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Bytes = std::vector<BYTE>;
constexpr double kPi = std::numbers::pi;

Bytes Store(CObject& e)
{
    CArchive ar;
    e.Serialize(ar);
    return ar.TakeData();
}

template <class T>
void Load(T& e, const Bytes& b)
{
    CArchive ar(b);
    e.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
}

CRecta* AddLine(CObList& list, CPointd a, CPointd b)
{
    auto* l = new CRecta(1, 0, "S", 0.0, 0, 0, 0, 1);
    l->m_p1 = a;
    l->m_p2 = b;
    list.AddTail(new CDib(ENT_LINE, l));
    return l;
}

CArc* AddArc(CObList& list, CPointd c, double r, double s, double e, int word = 1)
{
    auto* a = new CArc(1, 0, "S", 0.0, 0, 0, 0, 1);
    a->m_centre = c;
    a->m_rx = a->m_ry = r;
    a->m_start = s;
    a->m_end = e;
    a->m_arcWord = word;
    list.AddTail(new CDib(ENT_ARC, a));
    return a;
}

// A closed square of four lines, counter-clockwise from the origin.
void Square(CObList& list, double side)
{
    AddLine(list, {0, 0}, {side, 0});
    AddLine(list, {side, 0}, {side, side});
    AddLine(list, {side, side}, {0, side});
    AddLine(list, {0, side}, {0, 0});
}

std::vector<CPointd> Vertices(const CPLine& pl)
{
    CObList pts;
    double area = 0, perimeter = 1.0;
    pl.GetVertices(area, pts, perimeter);
    std::vector<CPointd> v;
    while (!pts.IsEmpty()) {
        auto* p = static_cast<CPointd*>(pts.RemoveHead());
        v.push_back(*p);
        delete p;
    }
    return v;
}

}  // namespace

TEST(PLineRecord, GoldenBytesInEachExtrusionMode)
{
    for (int mode : {0, 1, 2}) {
        CObList segs;
        CRecta* line = AddLine(segs, {0, 0, 1}, {4, 0, 1});
        CArc* arc = AddArc(segs, {4, 2}, 2, 3 * kPi / 2, kPi / 2);
        const Bytes lineRec = Store(*line), arcRec = Store(*arc);
        CPLine pl(3, RGB(9, 8, 7), "PL", segs, mode, 0.5, 0.25, 1.0);
        EXPECT_TRUE(segs.IsEmpty());
        pl.m_style = 2;
        pl.m_fill = 1;

        ByteWriter w;
        w.u16(3).u16(2).u32(0x070809).str("PL").u16(mode);
        if (mode == 1)
            w.f64(0.5).f64(0.25).f64(1.0);
        w.u16(2).classRecord("CDib").u16(ENT_LINE).u16(1).u16(1);
        for (BYTE b : lineRec)
            w.u8(b);
        w.u16(0x8001).u16(ENT_ARC).u16(1).u16(1);
        for (BYTE b : arcRec)
            w.u8(b);
        EXPECT_EQ(Store(pl), w.bytes()) << mode;

        CPLine back;
        Load(back, w.bytes());
        EXPECT_EQ(Store(back), w.bytes()) << mode;
        EXPECT_EQ(back.m_fill, 0) << "the fill is not stored";
        EXPECT_EQ(back.m_segments.GetCount(), 2);
        EXPECT_EQ(back.m_dir, mode == 1 ? CPointd(0.5, 0.25, 1.0) : CPointd(0, 0, 1));
    }
}

TEST(AcotRecord, GoldenBytesAndNestingRejected)
{
    CObList parts;
    CRecta* def = AddLine(parts, {0, 1}, {4, 1});
    auto* t = new CText(1, 0, "D");
    t->m_text = "4.00";
    parts.AddTail(new CDib(ENT_TEXT, t));
    const Bytes defRec = Store(*def), textRec = Store(*t);
    CAcot dim(2, 0xFF, "DIM", parts);

    ByteWriter w;
    w.u16(2).u16(0).u32(0xFF).str("DIM").u16(2).classRecord("CDib").u16(ENT_LINE).u16(1).u16(1);
    for (BYTE b : defRec)
        w.u8(b);
    w.u16(0x8001).u16(ENT_TEXT).u16(1).u16(1);
    for (BYTE b : textRec)
        w.u8(b);
    EXPECT_EQ(Store(dim), w.bytes());
    CAcot back;
    Load(back, w.bytes());
    EXPECT_EQ(Store(back), w.bytes());

    // A dimension inside a polyline is refused, and what was read is freed.
    CObList inner;
    inner.AddTail(new CDib(ENT_DIMENSION, new CAcot));
    CPLine nest(1, 0, "N", inner, 0, 0, 0, 1);
    const Bytes nested = Store(nest);
    CPLine loaded;
    CArchive ar(nested);
    EXPECT_THROW(loaded.Serialize(ar), CArchiveException);
}

TEST(PLineRecord, ElementsOfBothKindsRoundTrip)
{
    CObList segs, parts;
    AddLine(segs, {0, 0}, {1, 0});
    AddArc(segs, {1, 1}, 1, 4.0, 1.0, -1);
    AddLine(parts, {0, 0}, {1, 0});
    CObList list;
    list.AddTail(new CDib(ENT_PLINE, new CPLine(1, 0, "P", segs, 1, 0, 1, 0)));
    list.AddTail(new CDib(ENT_DIMENSION, new CAcot(1, 0, "D", parts)));
    CArchive out;
    list.Serialize(out, RUNTIME_CLASS(CDib));
    const Bytes b = out.TakeData();
    CObList back;
    CArchive in(b);
    back.Serialize(in, RUNTIME_CLASS(CDib));
    ASSERT_EQ(back.GetCount(), 2);
    auto* pl = dynamic_cast<CPLine*>(static_cast<CDib*>(back.GetHead())->m_entity);
    ASSERT_NE(pl, nullptr);
    EXPECT_EQ(pl->m_segments.GetCount(), 2);
    EXPECT_NE(dynamic_cast<CAcot*>(static_cast<CDib*>(back.GetTail())->m_entity), nullptr);
    CArchive again;
    back.Serialize(again, RUNTIME_CLASS(CDib));
    EXPECT_EQ(again.TakeData(), b);
    DestroyParts(list);
    DestroyParts(back);
}

TEST(PLine, EmptyChainThroughEveryMember)
{
    CPLine pl;
    pl.m_fill = 1;
    CRecordingDC dc;
    EXPECT_EQ(pl.Draw(dc, 1, 0, 0), 1);
    EXPECT_EQ(pl.Erase(dc, 1, 0, 0), 1);
    EXPECT_EQ(pl.DrawDotted(dc, 1, 0, 0), 1);
    EXPECT_EQ(pl.DrawFill(dc, 1, 0, 0, 1), 0);
    EXPECT_TRUE(dc.CallsNamed("Polygon").empty());
    EXPECT_EQ(pl.IsInRect(-1e9, -1e9, 1e9, 1e9), 0);
    CPointd p(7, 7, 7);
    EXPECT_FALSE(pl.GetStartPoint(p));
    EXPECT_FALSE(pl.GetEndPoint(p));
    EXPECT_EQ(p, CPointd(7, 7, 7));
    CObList pts;
    double area = -1, perimeter = 0;
    pl.GetVertices(area, pts, perimeter);
    EXPECT_EQ(area, 0.0);
    EXPECT_EQ(perimeter, 0.0);
    pl.SetColor(5);
    pl.SetLayer();
    CPLine copy;
    copy.Copy(pl);
    EXPECT_EQ(copy.m_fill, 1);
    CPLine back;
    Load(back, Store(pl));
    EXPECT_TRUE(back.m_segments.IsEmpty());

    CRectaDoc doc;
    doc.OnNewDocument();
    const CPointd lo = doc.m_extMin, hi = doc.m_extMax;
    doc.ExtendExtentsByEntity(ENT_PLINE, &pl);
    EXPECT_EQ(doc.m_extMin, lo);
    EXPECT_EQ(doc.m_extMax, hi);
}

TEST(PLine, EndsVerticesAndMeasures)
{
    CObList segs;
    AddLine(segs, {0, 0, 5}, {2, 0, 5});
    AddArc(segs, {2, 1}, 1, 3 * kPi / 2, kPi / 2);  // crosses angle 0: 36 steps
    CPLine pl(1, 0, "P", segs, 0, 0, 0, 1);
    CPointd s, e(0, 0, 9);
    ASSERT_TRUE(pl.GetStartPoint(s));
    EXPECT_EQ(s, CPointd(0, 0, 5)) << "a line start gives z";
    ASSERT_TRUE(pl.GetEndPoint(e));
    EXPECT_NEAR(e.x, 2, 1e-12);
    EXPECT_NEAR(e.y, 2, 1e-12);
    EXPECT_EQ(e.z, 9) << "the end keeps the caller's z";

    const std::vector<CPointd> forward = Vertices(pl);
    ASSERT_EQ(forward.size(), 2u + 37u);
    EXPECT_NEAR(forward[2].y, 0.0, 1e-12);
    // Passed the other way the arc gives the same points in reverse order.
    static_cast<CArc*>(static_cast<CDib*>(pl.m_segments.GetTail())->m_entity)->m_arcWord = -1;
    const std::vector<CPointd> backward = Vertices(pl);
    ASSERT_EQ(backward.size(), forward.size());
    for (std::size_t i = 0; i < 37; ++i) {
        EXPECT_NEAR(backward[2 + i].x, forward[forward.size() - 1 - i].x, 1e-9) << i;
        EXPECT_NEAR(backward[2 + i].y, forward[forward.size() - 1 - i].y, 1e-9) << i;
    }

    CObList sq;
    Square(sq, 4);
    CPLine square(1, 0, "P", sq, 0, 0, 0, 1);
    CObList pts;
    double area = 0, perimeter = 0;
    square.GetVertices(area, pts, perimeter);
    EXPECT_DOUBLE_EQ(area, 16);
    EXPECT_DOUBLE_EQ(perimeter, 16);
    EXPECT_TRUE(pts.IsEmpty());

    // Angles far outside one turn still end.
    CObList wild;
    AddArc(wild, {0, 0}, 1, 0, 1e300);
    CPLine w(1, 0, "P", wild, 0, 0, 0, 1);
    EXPECT_LE(Vertices(w).size(), 100001u);
}

TEST(PLine, FillOnlyWhenClosedAndCopiesAreDeep)
{
    CObList sq;
    Square(sq, 4);
    CPLine pl(1, 0, "P", sq, 0, 0, 0, 1);
    pl.m_fill = 1;
    pl.m_fillColor = RGB(0, 255, 0);
    CRecordingDC dc;
    pl.Draw(dc, 10, 0, 0);
    ASSERT_EQ(dc.CallsNamed("Polygon").size(), 1u);
    EXPECT_EQ(dc.CallsNamed("Polygon")[0].args.size(), 2u * 5u);
    EXPECT_NE(dc.Log().find("SelectBrush(0,65280)"), std::string::npos);

    CPLine copy;
    copy.Copy(pl);
    static_cast<CRecta*>(static_cast<CDib*>(pl.m_segments.GetTail())->m_entity)->m_p2 = CPointd(0.001, 0);
    dc.Clear();
    pl.Draw(dc, 10, 0, 0);
    EXPECT_TRUE(dc.CallsNamed("Polygon").empty()) << "open by 0.001";
    dc.Clear();
    copy.Draw(dc, 10, 0, 0);
    EXPECT_EQ(dc.CallsNamed("Polygon").size(), 1u) << "the copy keeps its own segments";
}

namespace {

class DimGen : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    std::vector<CDib*> Parts(const CAcot& d) const
    {
        std::vector<CDib*> v;
        for (CObject* o : d.m_parts)
            v.push_back(static_cast<CDib*>(o));
        return v;
    }
    static const CRecta& LineOf(const CDib* d) { return *static_cast<const CRecta*>(d->m_entity); }
    static const CText& TextOf(const CDib* d) { return *static_cast<const CText*>(d->m_entity); }
    static bool AllFinite(const std::vector<CDib*>& parts)
    {
        for (const CDib* d : parts) {
            const CPointd* pts[2] = {};
            if (d->m_type == ENT_LINE)
                pts[0] = &LineOf(d).m_p1, pts[1] = &LineOf(d).m_p2;
            else
                pts[0] = &TextOf(d).m_insert;
            for (const CPointd* p : pts)
                if (p && !(std::isfinite(p->x) && std::isfinite(p->y)))
                    return false;
        }
        return true;
    }

    CRectaDoc doc;
};

}  // namespace

TEST_F(DimGen, LinearLayoutTicksAndText)
{
    CAcot* dim = doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1});
    EXPECT_EQ(doc.GetLastEntityRecord()->m_type, ENT_DIMENSION);
    const auto parts = Parts(*dim);
    ASSERT_EQ(parts.size(), 7u);
    // Angle2D nudges equal coordinates by 0.0001, hence the tolerances.
    EXPECT_NEAR(LineOf(parts[0]).m_p1.y, 1, 1e-6);
    EXPECT_NEAR(LineOf(parts[0]).m_p2.x, 4, 1e-3);
    // Extension line at D1: from 0.1 above to 0.2 below.
    EXPECT_NEAR(LineOf(parts[3]).m_p1.y, 1.1, 1e-6);
    EXPECT_NEAR(LineOf(parts[3]).m_p2.y, 0.8, 1e-6);
    const CText& t = TextOf(parts[6]);
    EXPECT_EQ(t.m_text, "4.00");
    EXPECT_EQ(t.m_justify, JUSTIFY_CENTRE);
    EXPECT_EQ(t.m_font.lfEscapement, 0);
    EXPECT_NEAR(t.m_insert.x, 2, 1e-3);
    EXPECT_NEAR(t.m_insert.y, 1.2, 1e-6);

    // The definition line is never drawn: six visible parts draw.
    CRecordingDC dc;
    dim->Draw(dc, 10, 0, 0);
    EXPECT_EQ(dc.CallsNamed("LineTo").size(), 5u);

    EXPECT_EQ(TextOf(Parts(*doc.AddLinearDim(1, 0, "D", {0, 0}, {0, 5}, {-1, 2})).back()).m_font.lfEscapement,
              -900);
    doc.m_markName1 = "DEFAULT";
    EXPECT_EQ(Parts(*doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1})).size(), 7u);
    doc.m_markName1 = "ARROW";
    EXPECT_EQ(Parts(*doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1})).size(), 3u) << "no mark block";
}

TEST_F(DimGen, DegenerateLinearDimensionsStayFinite)
{
    const auto same = Parts(*doc.AddLinearDim(1, 0, "D", {3, 3}, {3, 3}, {5, 1}));
    EXPECT_TRUE(AllFinite(same));
    EXPECT_EQ(TextOf(same.back()).m_text, "0");

    // Text on the measured line: the extension lines cross it square at P1 and P2.
    const auto onLine = Parts(*doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 0}));
    ASSERT_TRUE(AllFinite(onLine));
    EXPECT_NEAR(LineOf(onLine[1]).m_p1.y, 0, 1e-9);
    EXPECT_NEAR(LineOf(onLine[3]).m_p1.x, 0, 1e-4);
    EXPECT_NEAR(LineOf(onLine[3]).m_p2.x, 0, 1e-4);
}

TEST_F(DimGen, MarksFromBlocksAndTheirMirror)
{
    auto block = [&](const char* name) {
        CObList entities;
        AddLine(entities, {0, 0}, {0.1, 0.1});
        entities.AddTail(new CDib(ENT_CIRCLE, new CCirc));  // not a line: skipped
        CBloq* b = doc.AddBlock({0, 0}, entities);
        b->m_name = name;
        return b;
    };
    block("TICK");
    CBloq* other = block("OTHER");
    doc.m_markName1 = doc.m_markName2 = "TICK";
    auto parts = Parts(*doc.AddLinearDim(1, 0, "M", {0, 0}, {4, 0}, {2, 0}));
    ASSERT_EQ(parts.size(), 5u);
    const CRecta& first = LineOf(parts[2]);
    const CRecta& mirrored = LineOf(parts[3]);
    EXPECT_NEAR(first.m_p2.x, 0.1, 1e-3);
    EXPECT_NEAR(mirrored.m_p1.x, 4, 1e-3);
    EXPECT_NEAR(mirrored.m_p2.x, 3.9, 1e-3);
    EXPECT_NEAR(mirrored.m_p2.y, 0.1, 1e-3);
    EXPECT_EQ(mirrored.m_layer, "M");

    CObList list;
    doc.AddDimensionMarks(*FindDocBlock(doc, "TICK"), *other, list, "M", {0, 0}, {4, 0}, 0);
    ASSERT_EQ(list.GetCount(), 2);
    const CRecta& turned = *static_cast<CRecta*>(static_cast<CDib*>(list.GetTail())->m_entity);
    EXPECT_NEAR(turned.m_p2.x, 3.9, 1e-3) << "flag 0 turns the marks half round";
    EXPECT_NEAR(turned.m_p2.y, -0.1, 1e-3);
    DestroyParts(list);
}

TEST_F(DimGen, RadialShoulderFacesAwayFromThePick)
{
    CCirc c;
    c.m_rx = c.m_ry = 2;
    const auto right = Parts(*doc.AddRadialDim(1, 0, "D", &c, ENT_CIRCLE, {2, 0}, {3, 0}));
    ASSERT_EQ(right.size(), 6u);
    EXPECT_NEAR(LineOf(right[0]).m_p2.x, 2, 1e-6) << "definition line from the centre to the curve";
    EXPECT_NEAR(LineOf(right[2]).m_p2.x, -1, 1e-6) << "shoulder to the left";
    EXPECT_EQ(TextOf(right[5]).m_text, "2.00");
    EXPECT_NEAR(TextOf(right[5]).m_insert.y, 0.2, 1e-3);

    CArc a;
    a.m_rx = 2;
    const auto left = Parts(*doc.AddRadialDim(1, 0, "D", &a, ENT_ARC, {-2, 0}, {-3, 0}));
    EXPECT_NEAR(LineOf(left[2]).m_p2.x, 1, 1e-6) << "shoulder to the right";
    EXPECT_TRUE(AllFinite(Parts(*doc.AddRadialDim(1, 0, "D", &c, ENT_CIRCLE, {0, 0}, {0, 0}))));
}

TEST_F(DimGen, StretchRemeasuresWithTheDocumentsTextDistance)
{
    CAcot* dim = doc.AddLinearDim(1, 0, "D", {0, 0}, {4, 0}, {2, 1});
    auto* extra = new CText;
    dim->m_parts.AddTail(new CDib(ENT_TEXT, extra));
    doc.m_dimParams[3] = 0.5;
    const Pt2 window[4] = {{3, 0.5}, {5, 0.5}, {5, 1.5}, {3, 1.5}};
    StretchAcot(*dim, doc, {0, 0}, {2, 0}, window, 3);
    const auto parts = Parts(*dim);
    EXPECT_NEAR(LineOf(parts[0]).m_p1.x, 0, 1e-3);
    EXPECT_NEAR(LineOf(parts[0]).m_p2.x, 6, 1e-3);
    for (const CDib* d : {parts[6], parts[7]}) {
        EXPECT_EQ(TextOf(d).m_text, "6.000");
        EXPECT_NEAR(TextOf(d).m_insert.x, 3, 1e-3);
        EXPECT_NEAR(TextOf(d).m_insert.y, 1.5, 1e-6);
    }

    CAcot empty;
    StretchAcot(empty, doc, {0, 0}, {1, 1}, window, 2);
    EXPECT_EQ(empty.DefinitionLine(), nullptr);
    CRecordingDC dc;
    EXPECT_EQ(empty.Draw(dc, 1, 0, 0), 1);
    EXPECT_EQ(empty.IsInRect(-1, -1, 1, 1), 0);
}

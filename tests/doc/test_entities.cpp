// Entity creation, list access, extents, and whole drawings through the file.
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct CountingView : CView {
    void DrawAddedEntity(int type, CObject*) override { drawn.push_back(type); }
    std::vector<int> drawn;
};

// A drawing with n entities of every kind built so far, in turn.
void Fill(CRectaDoc& doc, int n)
{
    for (int i = 0; i < n; ++i) {
        const double x = i % 1000, y = i / 1000;
        switch (i % 5) {
        case 0: {
            CRecta* l = doc.AddRecta();
            l->m_p1 = CPointd(x, y, 0.5);
            l->m_p2 = CPointd(x + 1, y + 2, 0.5);
            if (i % 10 == 0)
                l->m_extrusionMode = EXTRUSION_THICK;
            break;
        }
        case 1: {
            CCirc* c = doc.AddCirc();
            c->m_centre = CPointd(x, y);
            c->m_rx = c->m_ry = 0.25 + i % 7;
            break;
        }
        case 2: {
            CArc* a = doc.AddArc();
            a->m_centre = CPointd(x, y);
            a->m_rx = a->m_ry = 2;
            a->m_start = 0.1 * (i % 60);
            a->m_end = a->m_start + 1;
            break;
        }
        case 3: doc.AddPunt()->m_point = CPointd(x, y, -1); break;
        default: {
            CText* t = doc.AddText();
            t->m_text = "T" + std::to_string(i);
            t->m_font = doc.m_textFont;
            t->m_justify = 1 + i % 3;
            t->m_insert = CPointd(x, y);
            break;
        }
        }
    }
}

}  // namespace

TEST(DocEntities, AddFamilyTakesTheCurrentSettings)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    doc.m_penWidth = 3;
    doc.m_color = RGB(1, 2, 3);
    doc.m_layerName = "WALLS";
    doc.m_thickness = 1.25;
    doc.m_extrusionMode = EXTRUSION_THICK;
    doc.m_extrusionDir = CPointd(0, 1, 0);
    CountingView view;
    doc.AddView(&view);

    CRecta* l = doc.AddRecta();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(l->m_width, 3);
    EXPECT_EQ(l->m_color, RGB(1, 2, 3));
    EXPECT_EQ(l->m_layer, "WALLS");
    EXPECT_EQ(l->m_thick1, 1.25);
    EXPECT_EQ(l->m_thick2, 1.25);
    EXPECT_EQ(l->m_extrusionMode, EXTRUSION_THICK);
    EXPECT_EQ(l->m_dir, CPointd(0, 1, 0));
    CArc* a = doc.AddArc();
    EXPECT_EQ(a->m_arcWord, 1);
    CText* t = doc.AddText();
    EXPECT_EQ(t->m_layer, "WALLS");

    CDib* last = doc.GetLastEntityRecord();
    EXPECT_EQ(last->m_entity, t);
    EXPECT_EQ(last->m_type, ENT_TEXT);
    EXPECT_EQ(last->m_visible, 1);
    EXPECT_TRUE(view.drawn.empty()) << "the Add family draws nothing";
    EXPECT_EQ(doc.m_extMax, CPointd(12, 8)) << "nor widens the extents";
    doc.RemoveView(&view);
}

TEST(DocEntities, OnLayerFamilyUsesTheLayerWordAndCurrentZ)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    SetLastLayerName("OFF");
    doc.AddLayer(0, 0);
    doc.m_currentZ = 4.5;
    CountingView view;
    doc.AddView(&view);

    CRecta* l = doc.AddRectaOnLayer(2, RGB(9, 9, 9), "OFF", CPointd(1, 1, 9), CPointd(20, 30, 9));
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 0);
    EXPECT_EQ(l->m_p1.z, 4.5);
    EXPECT_EQ(doc.m_extMax, CPointd(20, 30)) << "widened by the new line";

    CPunt* p = doc.AddPuntOnLayer(1, 0, "ZP", CPointd(1, 2, 7));
    EXPECT_EQ(p->m_point.z, 7.0);
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 1);

    doc.AddCircOnLayer(1, 0, "NOWHERE", CPointd(0, 0), 50);
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 0);
    EXPECT_EQ(doc.m_extMin, CPointd(-50, -50)) << "quadrant points of the circle";
    EXPECT_EQ(doc.m_extMax.y, 50);

    LOGFONT font = doc.m_textFont;
    CText* t = doc.AddTextOnLayer(1, 0, "ZP", CPointd(0, 0), JUSTIFY_RIGHT, "abc", font);
    EXPECT_EQ(t->m_text, "abc");
    EXPECT_EQ(view.drawn, (std::vector<int>{ENT_LINE, ENT_POINT, ENT_CIRCLE, ENT_TEXT}));
    doc.RemoveView(&view);
}

TEST(DocEntities, ScratchListsHandOverTheirElements)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    CRecta* w = doc.AddWorkRecta();
    doc.AddSegArc();
    EXPECT_FALSE(doc.IsModified());
    CObList taken(ListOwnership::owns);
    taken.AddTail(doc.GetWorkList());  // a new block takes them over
    doc.ClearWorkList();
    EXPECT_EQ(static_cast<CDib*>(taken.GetHead())->m_entity, w);
}

TEST(DocEntities, ListAccessKeepsPositions)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    Fill(doc, 5);
    POSITION pos = doc.GetFirstEntityPosition();
    int type = 0;
    std::vector<int> types;
    while (pos)
        doc.GetNextEntity(pos, type), types.push_back(type);
    EXPECT_EQ(types, (std::vector<int>{ENT_LINE, ENT_CIRCLE, ENT_ARC, ENT_POINT, ENT_TEXT}));

    POSITION third = doc.FindEntityRecord(doc.GetEntityRecord(doc.GetFirstEntityPosition()));
    EXPECT_EQ(third, doc.GetFirstEntityPosition());
    CDib* head = doc.GetEntityRecord(third);
    doc.RemoveEntityRecord(third);
    EXPECT_EQ(doc.FindEntityRecord(head), nullptr);
    doc.AppendEntityRecord(head);
    EXPECT_EQ(doc.GetLastEntityRecord(), head);
    EXPECT_EQ(doc.GetEntityAt(doc.GetLastEntityPosition(), type), head->m_entity);
    EXPECT_EQ(type, ENT_LINE);
}

TEST(DocEntities, CalcExtents)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    doc.CalcExtents();
    EXPECT_EQ(doc.m_extMax, CPointd(12, 8)) << "an empty drawing keeps its extents";

    CArc* a = doc.AddArc();  // 350 to 10 degrees, radius 10: sampled across 0
    a->m_rx = 10;
    a->m_start = 350 * kPi / 180;
    a->m_end = 10 * kPi / 180;
    doc.m_marginX = 1;
    doc.CalcExtents();
    EXPECT_NEAR(doc.m_extMax.x, 11, 1e-9);
    EXPECT_NEAR(doc.m_extMin.x, 10 * std::cos(10 * kPi / 180) - 1, 1e-9);
    EXPECT_NEAR(doc.m_extMax.y, 10 * std::sin(10 * kPi / 180), 1e-9);

    CCirc* c = doc.AddCirc();
    c->m_centre = CPointd(0, 0);
    c->m_rx = 2;
    doc.AppendEntityRecord(new CDib(ENT_POINT, new CPunt, 1));
    static_cast<CDib*>(doc.GetEntityList().GetTail())->m_flag = 0;  // not counted
    static_cast<CPunt*>(static_cast<CDib*>(doc.GetEntityList().GetTail())->m_entity)->m_point = CPointd(-99, -99);
    doc.CalcExtents();
    EXPECT_EQ(doc.m_extMin.y, -2);
    EXPECT_EQ(doc.m_extMin.x, -3);

    CPointd nan(std::nan(""), 5);
    doc.ExtendExtentsByPoint(nan);
    EXPECT_FALSE(std::isnan(doc.m_extMin.x));
}

TEST(DocEntities, ExtentsFarFromTheOriginStartFromEmpty)
{
    const struct {
        CPointd p1, p2;
    } rows[] = {
        {CPointd(2e7, 2e7), CPointd(3e7, 2.5e7)},
        {CPointd(-3e7, -2.5e7), CPointd(-2e7, -2e7)},
        {CPointd(-4e9, 1e12), CPointd(-4e9, 1e12)},
    };
    for (const auto& row : rows) {
        CRectaDoc doc;
        doc.OnNewDocument();
        CRecta* l = doc.AddRecta();
        l->m_p1 = row.p1;
        l->m_p2 = row.p2;
        doc.CalcExtents();
        EXPECT_EQ(doc.m_extMin, CPointd(row.p1.x, row.p1.y)) << row.p1.x;
        EXPECT_EQ(doc.m_extMax, CPointd(row.p2.x, row.p2.y)) << row.p1.x;
    }
}

TEST(DocEntities, LargeDrawingsSaveAndLoad)
{
    for (int n : {40000, 100000}) {
        CRectaDoc doc;
        doc.OnNewDocument();
        Fill(doc, n);
        const auto bytes = Stored(doc);
        CRectaDoc back;
        CArchive in(bytes);
        back.Serialize(in);
        ASSERT_EQ(back.GetEntityList().GetCount(), n);
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(Stored(back), bytes) << n;
        const CText* t = static_cast<const CText*>(static_cast<CDib*>(back.GetEntityList().GetTail())->m_entity);
        EXPECT_EQ(t->m_text, "T" + std::to_string(n - 1));
    }
}

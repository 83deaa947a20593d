// Automatic dimensions of wall lines and enclosure areas.
#include "arch/archgen.h"
#include "arch_fixture.h"
#include "model/acot.h"
#include "support/scripted_forms.h"
#include "view2d/viewtools.h"

#include <array>
#include <cmath>
#include <vector>

// Two walls crossed by the picked segment: a dimension between each two
// neighbouring crossings, within the document's limits; one undo takes all.
TEST_F(ArchTest, AutoDimsBetweenCrossedWallLines)
{
    for (double y : {0.0, 0.3, 4.0, 4.2})
        WallLine(0, y, 10, y);
    CRecta* other = doc.AddRecta();  // not a wall line: not crossed
    other->m_p1 = CPointd(0, 2);
    other->m_p2 = CPointd(10, 2);
    ViewTools().MakeAutoDims(doc, view, CPointd(5, -1), CPointd(5, 5), CPointd(6, 0));
    ASSERT_EQ(Count(ENT_DIMENSION, "COTAS"), 3);
    std::vector<double> lengths;
    for (CObject* obj : doc.GetEntityList())
        if (static_cast<CDib*>(obj)->m_type == ENT_DIMENSION) {
            const CRecta* def = static_cast<CAcot*>(static_cast<CDib*>(obj)->m_entity)->DefinitionLine();
            lengths.push_back(std::hypot(def->m_p2.x - def->m_p1.x, def->m_p2.y - def->m_p1.y));
            // (The dimension builder's angles nudge an upright line a little.)
            EXPECT_NEAR(def->m_p1.x, 6.0, 0.01) << "the dimension line runs through the position";
        }
    ASSERT_EQ(lengths.size(), 3u);
    EXPECT_NEAR(lengths[0], 0.3, 1e-12);
    EXPECT_NEAR(lengths[1], 3.7, 1e-12);
    EXPECT_NEAR(lengths[2], 0.2, 1e-12);
    view.DoUndo();
    EXPECT_EQ(Count(ENT_DIMENSION), 0);

    doc.m_toolReals[12] = 0.25;  // the lowest length dimensioned
    MakeAutoDims(doc, view, CPointd(5, -1), CPointd(5, 5), CPointd(6, 0));
    EXPECT_EQ(Count(ENT_DIMENSION), 2);

    MakeAutoDims(doc, view, CPointd(5, 1), CPointd(5, 3), CPointd(6, 0));
    EXPECT_EQ(Count(ENT_DIMENSION), 2);
    EXPECT_NE(view.PromptBuffer().find("must cross two wall lines"), std::string::npos);
}

// Rooms of walls 0.2 thick with a partition T-joined to the top wall (its
// face opens between the partition's faces) and free at its other end: the
// partition closes nothing, the room round the click is measured.
TEST_F(ArchTest, EnclosureWithAPartitionStub)
{
    struct Row {
        const char* name;
        double width;  // of the inside
        double stubEnd;  // where the partition stops
        CPointd click;
        const char* area;
    } rows[] = {
        {"a short stub", 3.1, 2.5, CPointd(1, 1), "9.61"},
        {"two rooms, the partition stops short", 6.1, 1.0, CPointd(1, 1), "18.91"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const double w = r.width, h = 3.1;
        for (const auto& [x1, y1, x2, y2] : std::vector<std::array<double, 4>>{
                 {-0.2, -0.2, w + 0.2, -0.2}, {w + 0.2, -0.2, w + 0.2, h + 0.2}, {w + 0.2, h + 0.2, -0.2, h + 0.2},
                 {-0.2, h + 0.2, -0.2, -0.2}, {0, 0, w, 0}, {w, 0, w, h}, {w, h, 1.7, h}, {1.5, h, 0, h},
                 {0, h, 0, 0}, {1.5, h, 1.5, r.stubEnd}, {1.7, h, 1.7, r.stubEnd}})
            WallLine(x1, y1, x2, y2);
        auto* inner = static_cast<CRecta*>(doc.GetEntityRecord(doc.GetEntityList().FindIndex(4))->m_entity);
        ScriptedForms forms;
        forms.Expect("AREA", OkWith());
        MakeEnclosure(doc, view, inner, r.click);
        ASSERT_EQ(forms.shown.size(), 1u) << view.PromptBuffer();
        EXPECT_EQ(forms.shown.at(0).values["area"], r.area);
        doc.DeleteContents();
    }
}

// The room of four joined walls 0.2 thick round a 4 x 4 square: its inside is
// 3.6 x 3.6, a door's opening included.
TEST_F(ArchTest, EnclosureAreaOfARoom)
{
    const CPointd corners[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        MakeWall(doc, view, corners[i], corners[i + 1], CPointd(2, 2), i + 1, 0, 0.2);
    CPointd* chain = doc.m_toolPoints;
    JoinWalls(doc, view, chain[1], chain[2], chain[3], chain[4], 0.4);
    doc.m_toolReals[4] = 0.8;
    BuildDoor(doc, view, CPointd(0, 0), CPointd(1, 0), CPointd(1, 0.2));

    CRecta* inner = nullptr;
    CRecta* outer = nullptr;
    for (CObject* obj : doc.GetEntityList()) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_type != ENT_LINE)
            continue;
        auto* l = static_cast<CRecta*>(dib->m_entity);
        if (l->m_p1.x == 3.8 && l->m_p2.x == 3.8)
            inner = l;
        if (l->m_p1.x == 4.0 && l->m_p2.x == 4.0)
            outer = l;
    }
    ASSERT_TRUE(inner && outer);
    ScriptedForms forms;
    forms.Expect("AREA", OkWith());
    ViewTools().MakeEnclosure(doc, view, inner, CPointd(2, 2));
    EXPECT_EQ(forms.shown.at(0).values["area"], "12.96");

    MakeEnclosure(doc, view, outer, CPointd(6, 2));
    EXPECT_NE(view.PromptBuffer().find("no walls close around"), std::string::npos) << "outside the building";
    EXPECT_EQ(forms.shown.size(), 1u);
    CRecta stray(*inner);  // not in the drawing
    MakeEnclosure(doc, view, &stray, CPointd(2, 2));
    EXPECT_NE(view.PromptBuffer().find("pick a wall line"), std::string::npos);
}

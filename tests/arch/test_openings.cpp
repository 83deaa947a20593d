// Doors and windows: their blocks and inserts, the openings they cut, copies,
// erasing them and their 3D heights.
#include "arch/archgen.h"
#include "arch_fixture.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/insbl.h"
#include "model/tdface.h"
#include "model/transform.h"
#include "support/segments.h"
#include "view2d/viewtools.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// A wall 0.3 thick along x from 0 to 10: outer face y = 0, inner face y = 0.3.
class OpeningTest : public ArchTest {
protected:
    void SetUp() override
    {
        ArchTest::SetUp();
        WallLine(0, 0, 10, 0);
        WallLine(0, 0.3, 10, 0.3);
    }
    std::multiset<Seg> Opened(double x1, double x2) const
    {
        return {S(0, 0, x1, 0), S(x2, 0, 10, 0), S(0, 0.3, x1, 0.3), S(x2, 0.3, 10, 0.3)};
    }
    const CBloq& BlockOf(const CInsBl* insert) const { return *doc.FindBlock(insert->m_block); }
    std::string Attribute(const CInsBl* insert, const char* tag) const
    {
        std::string value;
        BlockOf(insert).FindAttribByTag(tag, value);
        return value;
    }
    // The insert of the last opening, selected alone.
    POSITION SelectLastInsert()
    {
        view.ClearSelection();
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos))
            if (doc.GetEntityRecord(pos)->m_type == ENT_INSERT)
                insertPos = pos;
        view.SelectEntity(ENT_INSERT, insertPos);
        return insertPos;
    }
    POSITION insertPos = nullptr;
};

}  // namespace

// A one-leaf door from the insertion point away from the reference point: both
// faces open across its width, its leaf swings to the inner side.
TEST_F(OpeningTest, DoorOpensTheWall)
{
    doc.m_toolReals[4] = 0.8;
    const auto before = Lines(doc);
    ViewTools().BuildDoor(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3));
    EXPECT_EQ(Lines(doc), Opened(2, 2.8));
    ASSERT_EQ(Count(ENT_INSERT, "WALLS"), 1);
    const auto* insert = Last<CInsBl>();
    EXPECT_EQ(insert->m_block, "DOORS1");
    EXPECT_EQ(insert->m_insert, CPointd(2, 0));
    EXPECT_EQ(Attribute(insert, "TYPE"), "DOOR");
    EXPECT_EQ(Attribute(insert, "WIDTH"), "0.8");
    EXPECT_EQ(Attribute(insert, "WALL"), "0.3");
    // Two jambs, the leaf and its swing.
    const CBloq& block = BlockOf(insert);
    EXPECT_EQ(block.GetEntityList().GetCount(), 4);
    POSITION pos = block.GetFirstEntityPosition();
    int type = 0;
    for (int i = 0; i < 2; ++i)
        block.GetNextEntity(pos, type);
    CRecta leaf = *static_cast<const CRecta*>(block.GetNextEntity(pos, type));
    PlaceEntity(leaf, insert->Placement());
    EXPECT_NEAR(leaf.m_p2.x, 2.0, 1e-12);
    EXPECT_NEAR(leaf.m_p2.y, 1.1, 1e-12) << "into the inner side";
    EXPECT_EQ(block.GetNextEntity(pos, type) != nullptr && type == ENT_ARC, true);

    view.DoUndo();
    EXPECT_EQ(Lines(doc), before);
    EXPECT_EQ(Count(ENT_INSERT), 0);
}

// The other way from the reference point the door runs towards -x, its block
// mirrored to keep the leaf inside; a reference on the insertion point centres it.
TEST_F(OpeningTest, DoorDirectionAndCentring)
{
    doc.m_toolReals[4] = 0.8;
    BuildDoor(doc, view, CPointd(5, 0), CPointd(2, 0), CPointd(2, 0.3));
    EXPECT_EQ(Lines(doc), Opened(1.2, 2));
    const auto* insert = Last<CInsBl>();
    EXPECT_EQ(insert->m_sy, -1.0);
    CRecta jamb = *static_cast<const CRecta*>(static_cast<CDib*>(BlockOf(insert).GetEntityList().GetHead())->m_entity);
    PlaceEntity(jamb, insert->Placement());
    EXPECT_NEAR(jamb.m_p2.y, 0.3, 1e-12) << "the jamb spans the wall";
    view.DoUndo();

    BuildDoor(doc, view, CPointd(6, 0.3), CPointd(6, 0.3), CPointd(6, 0));
    EXPECT_EQ(Lines(doc), Opened(5.6, 6.4)) << "centred; the inner face taken as outer";
}

TEST_F(OpeningTest, TwoLeafDoors)
{
    doc.m_toolReals[4] = 0.6;
    BuildDoorD(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3));
    EXPECT_EQ(Lines(doc), Opened(2, 3.2));
    EXPECT_EQ(Last<CInsBl>()->m_block, "DOORD1");
    EXPECT_EQ(BlockOf(Last<CInsBl>()).GetEntityList().GetCount(), 6);
    view.DoUndo();

    BuildDoorUnequal(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3), 0.5, 0.3);
    EXPECT_EQ(Lines(doc), Opened(2, 2.8));
    EXPECT_EQ(Attribute(Last<CInsBl>(), "LEAF2"), "0.3");
    EXPECT_EQ(Last<CInsBl>()->m_block, "DOORD2");
}

// A window centred on the inner line's point, frame, glass and mullions in the wall.
TEST_F(OpeningTest, WindowInTheWall)
{
    doc.m_toolWords[6] = 3;
    doc.m_toolReals[6] = 1.2;
    ViewTools().BuildWindow(doc, view, CPointd(5, 0.3), CPointd(5, 0.3), CPointd(5, 0));
    EXPECT_EQ(Lines(doc), Opened(4.4, 5.6));
    const auto* insert = Last<CInsBl>();
    EXPECT_EQ(insert->m_block, "WINDOW1");
    EXPECT_EQ(Attribute(insert, "LEAVES"), "3");
    EXPECT_EQ(BlockOf(insert).GetEntityList().GetCount(), 2 + 3 + 2);
}

TEST_F(OpeningTest, OpeningsThatDoNotFitAreRefused)
{
    const auto before = Lines(doc);
    doc.m_toolReals[4] = 0.8;
    BuildDoor(doc, view, CPointd(8, 0), CPointd(9.5, 0), CPointd(9.5, 0.3));
    EXPECT_NE(view.PromptBuffer().find("does not fit"), std::string::npos);
    BuildDoor(doc, view, CPointd(1, 3), CPointd(2, 3), CPointd(2, 0.3));
    EXPECT_NE(view.PromptBuffer().find("No wall line"), std::string::npos);
    BuildDoorUnequal(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3), 0.5, 0.0);
    EXPECT_EQ(Lines(doc), before);
    EXPECT_EQ(Count(ENT_INSERT), 0);
    EXPECT_EQ(view.UndoStateCount(), 0);
    WallLine(20, 0, 24, 0);  // a near face shorter than the far one
    WallLine(16, 0.3, 28, 0.3);
    BuildDoor(doc, view, CPointd(22, 0), CPointd(23.5, 0), CPointd(23.5, 0.3));
    EXPECT_EQ(Count(ENT_INSERT), 0);
}

// A copy takes the picked door's leaves into another wall of another thickness.
TEST_F(OpeningTest, DoorCopyInAnotherWall)
{
    doc.m_toolReals[4] = 0.8;
    BuildDoor(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3));
    CObject* door = Last<CInsBl>();
    WallLine(0, 5, 10, 5);
    WallLine(0, 5.4, 10, 5.4);
    ViewTools().PlaceDoorCopy(doc, view, CPointd(9, 5), CPointd(7, 5), CPointd(7, 5.4), door);
    EXPECT_EQ(Count(ENT_INSERT), 2);
    const auto* copy = Last<CInsBl>();
    EXPECT_NEAR(std::stod(Attribute(copy, "WALL")), 0.4, 1e-12);
    EXPECT_EQ(Attribute(copy, "WIDTH"), "0.8");
    const auto lines = Lines(doc);
    EXPECT_EQ(lines.count(S(0, 5, 6.2, 5)), 1u);
    EXPECT_EQ(lines.count(S(7, 5.4, 10, 5.4)), 1u);

    PlaceWindowCopy(doc, view, CPointd(9, 5), CPointd(3, 5), CPointd(3, 5.4), door);
    EXPECT_EQ(Count(ENT_INSERT), 2) << "a door is no window";
}

// Erasing a door closes both faces across its opening again; one undo brings it back.
TEST_F(OpeningTest, EraseDoorsClosesTheWall)
{
    const auto before = Lines(doc);
    doc.m_toolReals[4] = 0.8;
    doc.m_toolReals[6] = 1.0;
    BuildDoor(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3));
    BuildWindow(doc, view, CPointd(6, 0.3), CPointd(6, 0.3), CPointd(6, 0));
    SelectLastInsert();
    ViewTools().EraseDoors(doc, view);
    EXPECT_EQ(Count(ENT_INSERT), 2) << "a window is no door";
    view.ClearSelection();
    for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos))
        if (doc.GetEntityRecord(pos)->m_type == ENT_INSERT) {
            view.SelectEntity(ENT_INSERT, pos);
            break;
        }
    EraseDoors(doc, view);
    EXPECT_EQ(Count(ENT_INSERT), 1);
    EXPECT_EQ(Lines(doc), (std::multiset<Seg>{S(0, 0, 5.5, 0), S(6.5, 0, 10, 0), S(0, 0.3, 5.5, 0.3),
                                             S(6.5, 0.3, 10, 0.3)}));
    view.ClearSelection();
    SelectLastInsert();
    EraseWindows(doc, view);
    EXPECT_EQ(Lines(doc), before);
    EXPECT_EQ(Count(), 2);

    view.DoUndo();
    EXPECT_EQ(Count(ENT_INSERT), 1);
    EXPECT_EQ(Count(ENT_LINE), 4);
}

// Heights give the selected door a block of its own with the 3D faces of its
// jambs and leaf; one undo returns the door to its plan block.
TEST_F(OpeningTest, HeightsGiveDoorsAndWindowsTheirFaces)
{
    doc.m_toolReals[4] = 0.8;
    BuildDoor(doc, view, CPointd(1, 0), CPointd(2, 0), CPointd(2, 0.3));
    SelectLastInsert();
    ViewTools().ApplyDoorHeights3D(doc, view);
    const auto* door = static_cast<CInsBl*>(doc.GetEntityRecord(insertPos)->m_entity);
    EXPECT_EQ(door->m_block, "DOORS2");
    const CBloq& block = BlockOf(door);
    int faces = 0;
    for (POSITION pos = block.GetFirstEntityPosition(); pos;) {
        int type = 0;
        const CObject* e = block.GetNextEntity(pos, type);
        if (type != ENT_3DFACE)
            continue;
        ++faces;
        const auto* f = static_cast<const CTdface*>(e);
        EXPECT_EQ(f->m_c[2].z, 2.1);
        EXPECT_EQ(f->m_display, 0) << "3D views only";
    }
    EXPECT_EQ(faces, 3);
    ApplyDoorHeights3D(doc, view);
    auto blockNow = [&] { return static_cast<CInsBl*>(doc.GetEntityRecord(insertPos)->m_entity)->m_block; };
    EXPECT_EQ(blockNow(), "DOORS3");
    view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(blockNow(), "DOORS1");

    doc.m_toolReals[9] = 1.0;
    doc.m_toolReals[10] = 1.5;
    BuildWindow(doc, view, CPointd(6, 0.3), CPointd(6, 0.3), CPointd(6, 0));
    SelectLastInsert();
    ApplyWindowHeights3D(doc, view);
    const auto* window = static_cast<CInsBl*>(doc.GetEntityRecord(insertPos)->m_entity);
    const auto* glass = static_cast<const CTdface*>(
        static_cast<CDib*>(BlockOf(window).GetEntityList().GetTail())->m_entity);
    EXPECT_EQ(glass->m_c[0].z, 1.0);
    EXPECT_EQ(glass->m_c[2].z, 2.5);
    view.ClearSelection();
}

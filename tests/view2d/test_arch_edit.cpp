// The wall tools' edit helpers, with their undo steps.
#include "arch/archedit.h"
#include "model/recta.h"
#include "view_fixture.h"

namespace {

int Lines(const CRectaDoc& doc)
{
    return doc.GetEntityList().GetCount();
}

}  // namespace

TEST_F(ViewTest, WallHelpersRecordTheirSteps)
{
    CRecta* wall = AddLineByLayer(doc, view, CPointd(0, 2), CPointd(10, 2), "WALLS", RGB(0, 0, 255), 1, 2);
    CLayer* layer = nullptr;
    ASSERT_EQ(doc.FindLayer("WALLS", layer), 1);
    EXPECT_EQ(wall->m_color, RGB(0, 0, 255));
    EXPECT_EQ(wall->m_style, 1);
    EXPECT_EQ(wall->m_width, 2);
    view.SaveUndoState();
    view.ClearPendingSteps();

    CDib* record = doc.GetLastEntityRecord();
    ASSERT_TRUE(CutGapInLine(doc, view, *wall, *record, doc.GetLastEntityPosition(), CPointd(6, 2),
                             CPointd(4, 2)));
    view.SaveUndoState();
    view.ClearPendingSteps();
    ASSERT_EQ(Lines(doc), 2);
    EXPECT_EQ(wall->m_p2, CPointd(4, 2));
    const CRecta* rest = static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(rest->m_p1, CPointd(6, 2));
    EXPECT_EQ(rest->m_p2, CPointd(10, 2));
    EXPECT_EQ(rest->m_layer, "WALLS");

    CDib* restRecord = doc.GetLastEntityRecord();
    ASSERT_TRUE(EraseEntityWithUndo(doc, view, *restRecord, doc.GetLastEntityPosition()));
    EXPECT_FALSE(EraseEntityWithUndo(doc, view, *restRecord, nullptr)) << "no longer in the drawing";
    view.SaveUndoState();
    view.ClearPendingSteps();
    EXPECT_EQ(Lines(doc), 1);

    view.DoUndo();  // the erase
    EXPECT_EQ(Lines(doc), 2);
    view.DoUndo();  // the gap
    ASSERT_EQ(Lines(doc), 1);
    EXPECT_EQ(static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity)->m_p2, CPointd(10, 2));
    view.DoUndo();  // the wall
    EXPECT_EQ(Lines(doc), 0);
}

TEST_F(ViewTest, LineByLayerNamesItsLayerWhole)
{
    const std::string name = "STRUCTURE-WALLS-GROUND-FLOOR";  // longer than 23 bytes
    const int before = doc.GetLayerList().GetCount();
    AddLineByLayer(doc, view, CPointd(0, 0), CPointd(4, 0), name, RGB(255, 0, 0), 0, 1);
    AddLineByLayer(doc, view, CPointd(0, 1), CPointd(4, 1), name, RGB(0, 255, 0), 0, 1);
    EXPECT_EQ(doc.GetLayerList().GetCount(), before + 1) << "the second line finds the layer";
    CLayer* layer = nullptr;
    ASSERT_EQ(doc.FindLayer(name, layer), 1);
    EXPECT_EQ(layer->m_color, RGB(255, 0, 0));
    for (CObject* obj : doc.GetEntityList()) {
        const auto* line = static_cast<CRecta*>(static_cast<CDib*>(obj)->m_entity);
        EXPECT_EQ(line->m_layer, name);
        EXPECT_EQ(line->m_color, RGB(255, 0, 0));
    }
    view.ClearPendingSteps();
}

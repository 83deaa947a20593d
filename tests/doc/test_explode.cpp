// Explode: which parts reach the drawing, where, on which layer, and that
// the exploded entity keeps its own.
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/blocks.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

struct Added {
    int type;
    CDib* record;
    POSITION pos;
};

class Explode : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CRectaDoc::AddedRecordFn Recorder()
    {
        return [this](int type, CDib* record, POSITION pos) { added.push_back({type, record, pos}); };
    }

    CRectaDoc doc;
    std::vector<Added> added;
};

}  // namespace

TEST_F(Explode, PolylineSegmentsBecomeEntitiesOfTheirLayersVisibility)
{
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, NewLine(0, 0, 1, 0)));
    auto* arc = new CArc(1, 0, "OFF", 0, 0, 0, 0, 1);
    arc->m_centre = CPointd(1, 1);
    arc->m_rx = arc->m_ry = 1;
    segments.AddTail(new CDib(ENT_ARC, arc));
    CPLine* pl = doc.AddPLine(segments);
    SetLastLayerName("OFF");
    doc.AddLayer(0, 0);
    SetLastLayerName("L");
    doc.AddLayer(0, 1);
    const int before = doc.GetEntityList().GetCount();

    doc.ExplodePLine(*pl, Recorder());
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(doc.GetEntityList().GetCount(), before + 2);
    EXPECT_EQ(added[0].type, ENT_LINE);
    EXPECT_EQ(added[1].type, ENT_ARC);
    EXPECT_EQ(doc.GetEntityRecord(added[1].pos), added[1].record);
    EXPECT_EQ(added[0].record->m_visible, 1);
    EXPECT_EQ(added[1].record->m_visible, 0) << "its layer is off";
    EXPECT_EQ(pl->m_segments.GetCount(), 2) << "the polyline keeps its own segments";
    EXPECT_NE(added[0].record->m_entity, static_cast<CDib*>(pl->m_segments.GetHead())->m_entity);
    EXPECT_EQ(static_cast<CRecta*>(added[0].record->m_entity)->m_p2, CPointd(1, 0));
}

TEST_F(Explode, DimensionGivesAllButItsDefinitionLine)
{
    CAcot* dim = doc.AddLinearDim(1, 0, "ZP", CPointd(0, 0), CPointd(4, 0), CPointd(2, 1));
    int lines = 0, texts = 0;
    for (CObject* obj : dim->m_parts)
        (static_cast<CDib*>(obj)->m_type == ENT_LINE ? lines : texts) += 1;
    ASSERT_GE(lines, 2);
    ASSERT_EQ(texts, 1);
    doc.ExplodeAcot(*dim, Recorder());
    ASSERT_EQ(int(added.size()), lines - 1 + texts);
    // Copies of the parts after the definition line, in order.
    std::size_t i = 0;
    for (CObject* obj : dim->m_parts) {
        auto* part = static_cast<CDib*>(obj);
        if (part->m_entity == dim->DefinitionLine())
            continue;
        ASSERT_LT(i, added.size());
        EXPECT_NE(added[i].record->m_entity, part->m_entity);
        EXPECT_EQ(Stored(*added[i].record), Stored(*part)) << i;
        ++i;
    }
    EXPECT_EQ(added.back().type, ENT_TEXT);
    EXPECT_EQ(dim->m_parts.GetCount(), lines + texts);
}

TEST_F(Explode, InsertPlacesEveryKindAndAddsMissingLayers)
{
    auto* line = NewLine(1, 0, 2, 0);
    line->m_layer = "NEW ONE";
    line->m_color = RGB(1, 2, 3);
    auto* hatch = new CHatch(1, 0, "ZP", HATCH_SOLID, CPointd(1, 1));
    AddNamedBlock(doc, "INNER", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    AddNamedBlock(doc, "OUTER", {{ENT_LINE, line}, {ENT_HATCH, hatch}, {ENT_INSERT, NewInsert("INNER", 3, 1, 0.5, 1, 2)}});
    CInsBl* outer = NewInsert("OUTER", 10, 10, 0, 2, 1);

    doc.ExplodeInsBl(*outer, *doc.FindBlock("OUTER"), Recorder());
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(static_cast<CRecta*>(added[0].record->m_entity)->m_p1, CPointd(12, 10));
    EXPECT_EQ(static_cast<CHatch*>(added[1].record->m_entity)->m_seed, CPointd(12, 11));
    const auto* nested = static_cast<CInsBl*>(added[2].record->m_entity);
    EXPECT_EQ(nested->m_insert, CPointd(16, 11)) << "twice its block x offset from the insertion point";
    EXPECT_EQ(nested->m_sx, 2.0);
    EXPECT_EQ(nested->m_sy, 2.0);
    EXPECT_EQ(nested->m_rotation, 0.5);

    CLayer* layer = nullptr;
    ASSERT_TRUE(doc.FindLayer("NEW ONE", layer)) << "the name kept whole";
    EXPECT_EQ(layer->m_on, 1);
    EXPECT_EQ(layer->m_color, RGB(1, 2, 3));
    EXPECT_EQ(added[0].record->m_visible, 1);
    delete outer;

    // Rotated: the nested insert turns about the outer insertion point.
    added.clear();
    CInsBl* turned = NewInsert("OUTER", 10, 10, std::numbers::pi / 2, 1, 1);
    doc.ExplodeInsBl(*turned, *doc.FindBlock("OUTER"), Recorder());
    const auto* inner = static_cast<CInsBl*>(added[2].record->m_entity);
    EXPECT_NEAR(inner->m_insert.x, 9, 1e-12);
    EXPECT_NEAR(inner->m_insert.y, 13, 1e-12);
    EXPECT_NEAR(inner->m_rotation, 0.5 + std::numbers::pi / 2, 1e-12);
    delete turned;
}

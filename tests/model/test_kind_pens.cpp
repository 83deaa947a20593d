// The pen columns of the kind table: layer, line type and width, one row per kind.
#include "model/entity.h"
#include "model/entitykind.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct PenRow {
    int type;
    bool takesLayerColour;  // hatches and bitmaps keep their colour
    bool lineTyped;
};

constexpr PenRow kPenRows[] = {
    {ENT_LINE, true, true},        {ENT_CIRCLE, true, true},   {ENT_ARC, true, true},
    {ENT_POINT, true, true},       {ENT_TEXT, true, true},     {ENT_PLINE, true, true},
    {ENT_INSERT, true, false},     {ENT_DIMENSION, true, false}, {ENT_3DFACE, true, false},
    {ENT_HATCH, false, false},     {ENT_BITMAP, false, false},
};

}  // namespace

TEST(KindPens, LayerLineTypeAndWidthByKind)
{
    constexpr COLORREF kOld = 0x123456, kLayer = 0x0000FF;
    for (const PenRow& r : kPenRows) {
        SCOPED_TRACE(r.type);
        const CEntityKind& kind = EntityKind(r.type);
        std::unique_ptr<CObject> entity(CRuntimeClass::FromName(kind.ClassName())->CreateObject());
        auto* pen = dynamic_cast<CEntity*>(entity.get());
        ASSERT_NE(pen, nullptr);
        pen->m_color = kOld;
        pen->m_style = 0;

        kind.SetLayer(entity.get(), "WALLS", kLayer);
        EXPECT_EQ(pen->m_layer, "WALLS");
        EXPECT_EQ(pen->m_color, r.takesLayerColour ? kLayer : kOld);

        EXPECT_EQ(kind.SetLineType(entity.get(), 3), r.lineTyped);
        EXPECT_EQ(pen->m_style, r.lineTyped ? 3 : 0);

        kind.SetWidth(entity.get(), 7);
        EXPECT_EQ(pen->m_width, 7);
    }
}

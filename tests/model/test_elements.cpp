#include "model/circ.h"
#include "model/dib.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/pointd.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "platform/archive.h"
#include "platform/oblist.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

}  // namespace

TEST(Point, StoresThreeDoublesAndOldFilesTwo)
{
    CPointd p(1.5, -2.0, 3.25);
    Bytes b = Stored(p);
    ASSERT_EQ(b.size(), 24u);

    CPointd back;
    CArchive in(b);
    back.Serialize(in);
    EXPECT_EQ(back, p);

    // The same bytes read as an old file: 16 bytes per point, z untouched.
    CArchive old(b);
    old.SetOldFormat(true);
    CPointd first, second;
    first.Serialize(old);
    EXPECT_EQ(old.GetPosition(), 16u);
    EXPECT_EQ(first.x, 1.5);
    EXPECT_EQ(first.y, -2.0);
    EXPECT_EQ(first.z, 0.0);
    EXPECT_THROW(second.Serialize(old), CArchiveException);  // 8 bytes left

    CPointd fromXY(4, 5);
    EXPECT_EQ(fromXY.z, 0.0);
}

TEST(Layer, RecordAndRoundTrip)
{
    CLayer layer;
    layer.m_name = "WALLS";
    layer.m_color = RGB(255, 0, 0);
    layer.m_on = 0;
    Bytes b = Stored(layer);
    EXPECT_EQ(b, (Bytes{5, 'W', 'A', 'L', 'L', 'S', 0xFF, 0, 0, 0, 0, 0}));

    CLayer back;
    CArchive in(b);
    back.Serialize(in);
    EXPECT_EQ(back.m_name, "WALLS");
    EXPECT_EQ(back.m_color, RGB(255, 0, 0));
    EXPECT_EQ(back.m_on, 0);

    // The on word is 16 bits, widened without sign.
    layer.m_on = 0x1FFFF;
    Bytes wide = Stored(layer);
    CArchive in2(wide);
    back.Serialize(in2);
    EXPECT_EQ(back.m_on, 0xFFFF);
}

TEST(Layer, NewLayerTakesTheLastNameCutToItsBuffer)
{
    SetLastLayerName("WALLS");
    EXPECT_EQ(CLayer(RGB(0, 0, 255), 1).m_name, "WALLS");

    const std::string longName(100, 'L');
    SetLastLayerName(longName);
    CLayer cut(0, 1);
    EXPECT_EQ(cut.m_name, std::string(kLastLayerNameMax, 'L'));
    SetLastLayerName("");
}

namespace {

}  // namespace

TEST(Element, ListRecordStartsWithTheClassRecordThenTheClassIndex)
{
    const CRuntimeClass* pointClass = CRuntimeClass::FromName("CPunt");
    ASSERT_NE(pointClass, nullptr);
    CObList list(ListOwnership::owns);
    list.AddTail(new CDib(ENT_POINT, pointClass->CreateObject()));
    list.AddTail(new CDib(ENT_POINT, pointClass->CreateObject(), 0));

    CArchive ar;
    list.Serialize(ar, RUNTIME_CLASS(CDib));
    Bytes b = ar.TakeData();
    const Bytes head = {0x02, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00, 'C', 'D', 'i', 'b', 0x04, 0x00, 0x01, 0x00, 0x01, 0x00};
    ASSERT_GT(b.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), b.begin()));
    const std::size_t entitySize = (b.size() - head.size() - 8) / 2;
    const Bytes second = {0x01, 0x80, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00};
    EXPECT_TRUE(std::equal(second.begin(), second.end(), b.begin() + long(head.size() + entitySize)));

    CArchive in(b);
    CObList back(ListOwnership::owns);
    back.Serialize(in, RUNTIME_CLASS(CDib));
    ASSERT_EQ(back.GetCount(), 2);
    auto* d = static_cast<CDib*>(back.GetTail());
    EXPECT_EQ(d->m_type, ENT_POINT);
    EXPECT_EQ(d->m_visible, 0);
    EXPECT_EQ(d->m_flag, 1);
    ASSERT_NE(d->m_entity, nullptr);
    EXPECT_EQ(d->m_entity->GetRuntimeClass(), pointClass);
}

TEST(Element, WordsAreSixteenBitsAndUnknownTypesFail)
{
    const CRuntimeClass* pointClass = CRuntimeClass::FromName("CPunt");
    CDib dib(ENT_POINT, pointClass->CreateObject());
    dib.m_visible = 65537;
    dib.m_flag = 65536 + 1;
    Bytes b = Stored(dib);
    CDib back;
    CArchive in(b);
    back.Serialize(in);
    EXPECT_EQ(back.m_visible, 1);
    EXPECT_EQ(back.m_flag, 1);

    // Only an element whose stored type names its entity's class can be written.
    for (int code : {1, 65536 + 1, 9, 65536 + 9}) {
        CDib wrong(code, pointClass->CreateObject());
        CArchive ar;
        EXPECT_THROW(wrong.Serialize(ar), CArchiveException) << code;
    }

    for (int code : {0, 9, 10, 12, 20, 23, 0xFFFF}) {
        Bytes bad = {BYTE(code), BYTE(code >> 8), 1, 0, 1, 0, 0, 0, 0, 0};
        CArchive bin(bad);
        CDib d;
        EXPECT_THROW(d.Serialize(bin), CArchiveException) << code;
        EXPECT_EQ(d.m_entity, nullptr);
    }
}

// Words with bits above the sixteenth: the record that follows is the one the
// stored 16 bits announce, so the element reads back with the low 16 bits.
TEST(Element, WideTypeAndExtrusionWordsReloadAsTheirLowSixteenBits)
{
    const CPointd dir(0.5, 0.0, 1.0);
    for (int type : {ENT_POINT, ENT_LINE, ENT_CIRCLE, ENT_ARC, ENT_PLINE, ENT_3DFACE}) {
        SCOPED_TRACE(type);
        CDib wide(65536 + type, CRuntimeClass::FromName(EntityClassName(type))->CreateObject());
        CObject* entity = wide.m_entity;
        auto setMode = [&](auto* e) {
            e->m_extrusionMode = 65536 + EXTRUSION_THICK;
            e->m_dir = dir;
        };
        switch (type) {
        case ENT_LINE: setMode(static_cast<CRecta*>(entity)); break;
        case ENT_CIRCLE: setMode(static_cast<CCirc*>(entity)); break;
        case ENT_ARC: setMode(static_cast<CArc*>(entity)); break;
        case ENT_PLINE: setMode(static_cast<CPLine*>(entity)); break;
        case ENT_3DFACE: setMode(static_cast<CTdface*>(entity)); break;
        default: break;
        }
        const Bytes b = Stored(wide);
        CArchive in(b);
        CDib back;
        ASSERT_NO_THROW(back.Serialize(in));
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(back.m_type, type);
        auto expectThick = [&](const auto* e) {
            EXPECT_EQ(e->m_extrusionMode, EXTRUSION_THICK);
            EXPECT_EQ(e->m_dir, dir);
        };
        switch (type) {
        case ENT_LINE: expectThick(static_cast<const CRecta*>(back.m_entity)); break;
        case ENT_CIRCLE: expectThick(static_cast<const CCirc*>(back.m_entity)); break;
        case ENT_ARC: expectThick(static_cast<const CArc*>(back.m_entity)); break;
        case ENT_PLINE: expectThick(static_cast<const CPLine*>(back.m_entity)); break;
        case ENT_3DFACE: expectThick(static_cast<const CTdface*>(back.m_entity)); break;
        default: break;
        }
    }
}

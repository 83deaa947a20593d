#include "doc/rectadoc.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/recordingdc.h"
#include "view2d/pickkind.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

// Every code of a built kind reaches a kind whose records are of its class,
// and whose copy is a new entity of that class.
TEST(EntityKinds, EachBuiltCodeReachesItsClass)
{
    for (int type : {ENT_LINE, ENT_CIRCLE, ENT_ARC, ENT_POINT, ENT_TEXT, ENT_PLINE, ENT_INSERT, ENT_DIMENSION,
                     ENT_3DFACE}) {
        SCOPED_TRACE(type);
        const CEntityKind& kind = EntityKind(type);
        ASSERT_TRUE(IsEntityType(type));
        EXPECT_STREQ(EntityClassName(type), kind.ClassName());
        std::unique_ptr<CObject> entity(CRuntimeClass::FromName(kind.ClassName())->CreateObject());
        std::unique_ptr<CObject> copy(kind.Duplicate(entity.get()));
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy.get(), entity.get());
        EXPECT_STREQ(copy->GetRuntimeClass()->m_lpszClassName, kind.ClassName());
        EXPECT_EQ(kind.Pen(entity.get()), dynamic_cast<const CEntity*>(entity.get()));
        EXPECT_EQ(kind.Duplicate(nullptr), nullptr);
    }
}

// Kinds not built yet have rows that do nothing, but a move or a stretch of
// one is an error; a code with no row is an error where it is met.
TEST(EntityKinds, UnbuiltKindsDoNothingAndUnknownCodesFail)
{
    CRectaDoc doc;
    CRecordingDC dc;
    const CRecta mirror;
    for (int type : {ENT_HATCH, ENT_BITMAP}) {
        SCOPED_TRACE(type);
        const CEntityKind& kind = EntityKind(type);
        EXPECT_NE(EntityClassName(type), nullptr);
        EXPECT_EQ(kind.Draw(dc, nullptr, {1, 0, 0}, DrawKind::normal, doc), 0);
        EXPECT_FALSE(kind.InWindow(nullptr, {0, 0}, {1, 1}, doc));
        int points = 0;
        kind.ExtentsPoints(nullptr, [&](const CPointd&) { ++points; });
        EXPECT_EQ(points, 0);
        EXPECT_FALSE(kind.Place(nullptr, {}) || kind.Rotate(nullptr, {}, 1.0) || kind.Mirror(nullptr, mirror, 0.0));
        EXPECT_THROW(kind.Move(nullptr, {0, 0}, {1, 1}), std::logic_error) << "a move is never silently skipped";
        EXPECT_THROW(kind.Stretch(nullptr, {0, 0}, {1, 1}, StretchWindow{}), std::logic_error);
        EXPECT_EQ(kind.Duplicate(nullptr), nullptr);
        EXPECT_EQ(kind.Pen(nullptr), nullptr);
        EXPECT_FALSE(PickKind(type).pick(nullptr, {0, 0}, nullptr, doc).hit);
        const Pt2 q[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        EXPECT_FALSE(PickKind(type).inSelWindow(nullptr, q, 1, doc));
    }
    EXPECT_TRUE(dc.Calls().empty());
    for (int type : {0, 9, 10, 12, 20, 23, 0x10001}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(IsEntityType(type));
        EXPECT_EQ(EntityClassName(type), nullptr);
        EXPECT_THROW(EntityKind(type), std::invalid_argument);
        EXPECT_THROW(PickKind(type), std::invalid_argument);
        EXPECT_THROW(DuplicateEntity(type, nullptr), std::invalid_argument);
    }
}

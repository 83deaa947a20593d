#include "model/entitykind.h"
#include "model/entity.h"
#include "view2d/pickkind.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

// Every code of a built kind reaches a kind whose records are of its class,
// and whose copy is a new entity of that class.
TEST(EntityKinds, EachBuiltCodeReachesItsClass)
{
    for (int type : {ENT_LINE, ENT_CIRCLE, ENT_ARC, ENT_POINT, ENT_TEXT, ENT_PLINE, ENT_INSERT, ENT_DIMENSION,
                     ENT_3DFACE, ENT_HATCH, ENT_BITMAP}) {
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

// A code with no row is an error where it is met.
TEST(EntityKinds, UnknownCodesFail)
{
    for (int type : {0, 9, 10, 12, 20, 23, 0x10001}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(IsEntityType(type));
        EXPECT_EQ(EntityClassName(type), nullptr);
        EXPECT_THROW(EntityKind(type), std::invalid_argument);
        EXPECT_THROW(PickKind(type), std::invalid_argument);
        EXPECT_THROW(DuplicateEntity(type, nullptr), std::invalid_argument);
    }
}

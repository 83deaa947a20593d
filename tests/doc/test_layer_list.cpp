#include "doc/rectadoc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Names(const CRectaDoc& doc)
{
    std::vector<std::string> names;
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;)
        names.push_back(doc.GetNextLayer(pos)->m_name);
    return names;
}

}  // namespace

TEST(LayerList, AddFindRemove)
{
    CRectaDoc doc;
    CLayer* found = reinterpret_cast<CLayer*>(1);
    EXPECT_EQ(doc.FindLayer("ZP", found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_FALSE(doc.IsModified());

    SetLastLayerName("WALLS");
    CLayer* walls = doc.AddLayer(RGB(1, 2, 3), 1);
    EXPECT_TRUE(doc.IsModified());
    SetLastLayerName("walls");
    doc.AddLayer(0, 0);
    SetLastLayerName("DOORS");
    doc.AddLayer(0, 1);
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"WALLS", "walls", "DOORS"}));

    ASSERT_EQ(doc.FindLayer("WALLS", found), 1);
    EXPECT_EQ(found, walls);
    EXPECT_EQ(found->m_color, RGB(1, 2, 3));
    ASSERT_EQ(doc.FindLayer("walls", found), 1);
    EXPECT_EQ(found->m_on, 0);
    EXPECT_EQ(doc.FindLayer("WALL", found), 0);

    POSITION pos = doc.GetLayerList().Find(walls);
    doc.RemoveLayerAt(pos);
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"walls", "DOORS"}));
    doc.DeleteAllLayers();
    EXPECT_EQ(doc.GetFirstLayerPosition(), nullptr);
    SetLastLayerName("");
}

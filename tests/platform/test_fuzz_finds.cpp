// Inputs the object-list fuzzer found or that seed it: each must load or fail cleanly.
#include "../fuzz/objlist_loader.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

TEST(FuzzFinds, EveryStoredInputLoadsOrFailsCleanly)
{
    const std::filesystem::path dir = std::filesystem::path(ZP_TEST_DATA) / "fuzz" / "objlist";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::vector<BYTE> bytes = FileBytes(entry.path());
        LoadObjectLists(bytes.data(), bytes.size());
        ++count;
    }
    EXPECT_GT(count, 0);
}

TEST(FuzzFinds, AWellFormedLayerListLoads)
{
    CLayer a;
    a.m_name = "ZP";
    CObList list(ListOwnership::names);
    list.AddTail(&a);
    CArchive ar;
    ar << BYTE(0);  // format byte of the loader
    list.Serialize(ar, RUNTIME_CLASS(CLayer));
    ar << WORD(0);  // no elements
    auto bytes = ar.TakeData();
    EXPECT_TRUE(LoadObjectLists(bytes.data(), bytes.size()));
}

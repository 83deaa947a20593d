#include "platform/oblist.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CItem : public CObject {
public:
    explicit CItem(int v) : value(v) { ++live; }
    ~CItem() override { --live; }
    int value;
    static inline int live = 0;
};

std::vector<int> Values(const CObList& list)
{
    std::vector<int> out;
    for (CObject* obj : list)
        out.push_back(static_cast<CItem*>(obj)->value);
    return out;
}

std::vector<int> ValuesBackwards(const CObList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(static_cast<CItem*>(list.GetPrev(pos))->value);
    return out;
}

}  // namespace

TEST(ObList, PositionsSurviveEditsElsewhere)
{
    CItem a(1), b(2), c(3), d(4), e(5);
    CObList list(ListOwnership::names);
    POSITION pa = list.AddTail(&a);
    POSITION pb = list.AddTail(&b);
    POSITION pc = list.AddTail(&c);

    list.InsertBefore(pb, &d);  // 1 4 2 3
    list.AddHead(&e);           // 5 1 4 2 3
    list.RemoveAt(pa);          // 5 4 2 3
    EXPECT_EQ(list.GetAt(pb), &b);
    EXPECT_EQ(list.GetAt(pc), &c);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 4, 2, 3}));
    EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{3, 2, 4, 5}));

    list.InsertAfter(pc, &a);  // 5 4 2 3 1
    list.RemoveAt(pb);         // 5 4 3 1
    EXPECT_EQ(Values(list), (std::vector<int>{5, 4, 3, 1}));
    EXPECT_EQ(list.GetTail(), &a);
    EXPECT_EQ(list.GetCount(), 4);
}

TEST(ObList, HeadTailRemovalAndSearch)
{
    CItem a(1), b(2), c(3);
    CObList list(ListOwnership::names);
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.Find(&a), nullptr);
    EXPECT_EQ(list.FindIndex(0), nullptr);

    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&a);
    POSITION first = list.Find(&a);
    POSITION second = list.Find(&a, first);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.Find(&a, second), nullptr);
    EXPECT_EQ(list.FindIndex(1), list.Find(&b));
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.SetAt(second, &c);
    EXPECT_EQ(list.RemoveTail(), &c);
    EXPECT_EQ(list.RemoveHead(), &a);
    EXPECT_EQ(list.GetHead(), &b);
    EXPECT_EQ(list.GetTail(), &b);
    EXPECT_EQ(list.RemoveHead(), &b);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTailPosition(), nullptr);

    // Removing the last node leaves a list that grows normally again.
    list.AddHead(&c);
    list.AddHead(&b);
    EXPECT_EQ(Values(list), (std::vector<int>{2, 3}));
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ObList, AppendingAListMovesItsNodes)
{
    CItem a(1), b(2), c(3);
    CObList one(ListOwnership::names), two(ListOwnership::names);
    one.AddTail(&a);
    POSITION pb = two.AddTail(&b);
    two.AddTail(&c);
    one.AddTail(two);
    EXPECT_TRUE(two.IsEmpty());
    EXPECT_EQ(Values(one), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ValuesBackwards(one), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(one.GetAt(pb), &b);
    one.AddTail(one);
    EXPECT_EQ(one.GetCount(), 3);
}

// An owning list frees what it holds when an element or all go, and when it
// goes; what is unlinked or moved to another list is not freed. A naming list
// frees nothing.
TEST(ObList, AnOwningListFreesWhatItHolds)
{
    CItem kept(0);
    const int before = CItem::live;
    {
        CObList owning(ListOwnership::owns), naming(ListOwnership::names);
        POSITION first = owning.AddTail(new CItem(1));
        owning.AddTail(new CItem(2));
        owning.AddTail(new CItem(3));
        const std::unique_ptr<CObject> unlinked(owning.RemoveTail());
        owning.DeleteAt(first);
        EXPECT_EQ(CItem::live, before + 2);

        naming.AddTail(&kept);
        naming.DeleteAll();
        EXPECT_TRUE(naming.IsEmpty());
        EXPECT_EQ(kept.value, 0);

        CObList taker(ListOwnership::owns);
        taker.AddTail(new CItem(4));
        owning.AddTail(taker);
        EXPECT_EQ(Values(owning), (std::vector<int>{2, 4}));
        EXPECT_EQ(CItem::live, before + 3) << "2, 4 and the unlinked 3";
    }
    EXPECT_EQ(CItem::live, before);
}

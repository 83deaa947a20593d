// Blocks, inserts and attributes: records, lookups, extents and the placed walk.
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/entitydraw.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "platform/recordingdc.h"
#include "support/blocks.h"
#include "support/bytes.h"
#include "support/stored.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;
constexpr double kPi = std::numbers::pi;

void LineBytes(ByteWriter& w, double x1, double y1, double x2, double y2)
{
    w.u16(0).u16(0).u32(0).f64(0).f64(0).u16(0).str("L").u16(0).point(x1, y1, 0).point(x2, y2, 0);
}

class BlockDoc : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }
    CRectaDoc doc;
};

}  // namespace

TEST(BlockRecords, NestedBlockWithAttributeIsStoredByteForByte)
{
    CObList none(ListOwnership::owns);
    CBloq outer(1, 0xFF, "L", CPointd(), none);
    outer.m_name = "OUTER";
    outer.m_extMin = CPointd(1, 2);
    outer.m_extMax = CPointd(3, 4);
    outer.GetEntityList().AddTail(new CDib(ENT_INSERT, NewInsert("INNER", 5, 6, 0.5, 2, 3)));
    outer.GetEntityList().AddTail(new CDib(ENT_LINE, NewLine(0, 0, 1, 0)));
    CBloq inner;  // named by the list, not owned
    inner.m_name = "INNER";
    inner.GetEntityList().AddTail(new CDib(ENT_LINE, NewLine(0, 0, 0, 1)));
    outer.GetRefBlockList().AddTail(&inner);
    LOGFONT font;
    font.lfHeight = 38;
    outer.AddAttrib(1, 0xFF, "L", "RGB_R", "RGB_R", "300", 0, 1, CPointd(7, 8), font);
    EXPECT_EQ(outer.m_style, 1);

    ByteWriter w;
    w.u16(1).u16(1).u32(0xFF).str("L").str("OUTER").point(0, 0, 0).point(1, 2, 0).point(3, 4, 0);
    w.u16(2).classRecord("CDib").u16(ENT_INSERT).u16(1).u16(1);
    w.u16(1).u16(1).u32(0xFF).str("L").str("INNER").f64(0.5).f64(2).f64(3).point(5, 6, 0);
    w.u16(0x8001).u16(ENT_LINE).u16(1).u16(1);
    LineBytes(w, 0, 0, 1, 0);
    w.u16(1).classRecord("CBloq");
    w.u16(0).u16(0).u32(0).str("").str("INNER").point(0, 0, 0).point(0, 0, 0).point(0, 0, 0);
    w.u16(1).u16(0x8001).u16(ENT_LINE).u16(1).u16(1);
    LineBytes(w, 0, 0, 0, 1);
    w.u16(0).u16(0);
    w.u16(1).classRecord("CAttrib").str("RGB_R").str("RGB_R");
    w.u16(1).u16(0).u32(0xFF).str("L").str("300").u16(1).u16(38).zeros(8 + 8 + 32).point(7, 8, 0);
    w.u16(0).u16(1);
    ASSERT_EQ(Stored(outer), w.bytes());

    CArchive in(w.bytes());
    CBloq back;
    back.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(Stored(back), w.bytes());
    std::string value = "untouched";
    EXPECT_EQ(back.FindAttribByTag("RGB_G", value), -1);
    EXPECT_EQ(value, "untouched");
    EXPECT_EQ(back.FindAttribByTag("RGB_R", value), 1);
    EXPECT_EQ(value, "300");
    ASSERT_NE(back.FindRefBlock("INNER"), nullptr);
    EXPECT_EQ(back.FindRefBlock("INNE"), nullptr) << "names compare whole";
}

// Blocks nested in referenced-block lists: 32 deep store and load; one more
// fails the store as it fails the load, so no file is written that cannot be read.
TEST(BlockRecords, BlocksNestedPastTheLimitFailTheStoreAndTheLoad)
{
    auto nestedBytes = [](int depth) {
        ByteWriter w;
        for (int i = 0; i < depth; ++i) {
            w.u16(0).u16(0).u32(0).str("").str("").zeros(3 * 24).u16(0);
            if (i + 1 == depth) {
                w.u16(0);
                break;
            }
            w.u16(1);
            if (i == 0)
                w.classRecord("CBloq");
            else
                w.u16(0x8001);
        }
        for (int i = 0; i < depth; ++i)
            w.u16(0);  // attributes
        return w.bytes();
    };
    auto chain = [](int depth) {
        std::vector<std::unique_ptr<CBloq>> blocks;
        for (int i = 0; i < depth; ++i) {
            blocks.push_back(std::make_unique<CBloq>());
            if (i > 0)
                blocks[i - 1]->GetRefBlockList().AddTail(blocks[i].get());
        }
        return blocks;
    };
    const Bytes bytes32 = nestedBytes(32), bytes33 = nestedBytes(33);
    EXPECT_EQ(Stored(*chain(32).front()), bytes32);
    CArchive in32(bytes32);
    CBloq back;
    EXPECT_NO_THROW(back.Serialize(in32));

    CArchive out;
    EXPECT_THROW(chain(33).front()->Serialize(out), CArchiveException);
    CArchive in33(bytes33);
    CBloq deep;
    EXPECT_THROW(deep.Serialize(in33), CArchiveException);
}

TEST_F(BlockDoc, ListsFindsAndFreesBlocks)
{
    CObList work(ListOwnership::owns);
    work.AddTail(new CDib(ENT_LINE, NewLine(0, 0, 2, 1)));
    CBloq* b = doc.AddBlock(CPointd(1, 1), work, "A");
    EXPECT_TRUE(work.IsEmpty()) << "the block owns the elements";
    EXPECT_EQ(b->m_extMax, CPointd(2, 1)) << "extents computed in block coordinates";
    EXPECT_EQ(doc.FindBlock("A"), b);
    EXPECT_EQ(doc.FindBlock("a"), nullptr);

    b->SetColor(0xFF);
    POSITION pos = b->GetFirstEntityPosition();
    int type = 0;
    EXPECT_EQ(static_cast<CRecta*>(b->GetNextEntity(pos, type))->m_color, 0xFFu);

    AddNamedBlock(doc, "B", {{ENT_POINT, new CPunt}});
    doc.RemoveBlocks({b});
    EXPECT_EQ(doc.FindBlock("A"), nullptr);

    // Of two blocks of one name the first in the list is found, through
    // additions at either end, removals and a load; an insert finds the same.
    CInsBl insert;
    insert.m_block = "B";
    EXPECT_EQ(insert.FindBlock(doc), doc.GetBlockList().GetTail());
    CBloq* second = AddNamedBlock(doc, "B", {});
    auto* head = new CBloq;
    head->m_name = "B";
    doc.AdoptBlock(head, true);
    EXPECT_EQ(doc.FindBlock("B"), head);
    EXPECT_EQ(insert.FindBlock(doc), head);
    doc.RemoveBlocks({head});
    EXPECT_EQ(doc.FindBlock("B"), doc.GetBlockList().GetHead());
    EXPECT_EQ(insert.FindBlock(doc), doc.GetBlockList().GetHead());
    doc.RemoveBlocks({doc.FindBlock("B")});
    EXPECT_EQ(doc.FindBlock("B"), second);
    EXPECT_EQ(insert.FindBlock(doc), second);
    AddNamedBlock(doc, "C", {});
    CArchive saved;
    doc.Serialize(saved);
    CRectaDoc loaded;
    const std::vector<BYTE> bytes = saved.TakeData();
    CArchive in(bytes);
    loaded.Serialize(in);
    EXPECT_EQ(loaded.FindBlock("C"), loaded.GetBlockList().GetTail());
    EXPECT_EQ(loaded.FindBlock("B"), loaded.GetBlockList().GetHead());
    EXPECT_EQ(insert.FindBlock(loaded), loaded.GetBlockList().GetHead()) << "another drawing";
    second->m_name = "D";
    EXPECT_EQ(insert.FindBlock(doc), nullptr) << "renamed";
    doc.DeleteContents();  // frees block B with its entity
    EXPECT_EQ(doc.GetFirstBlockPosition(), nullptr);
}

TEST(BlockAttributes, ColourAttributesMakeARegionBlock)
{
    CBloq b;
    LOGFONT font;
    EXPECT_FALSE(HasColourAttributes(b));
    b.AddAttrib(1, 0, "L", "RGB_R", "RGB_R", "  +300x", 0, 0, CPointd(), font);
    b.AddAttrib(1, 0, "L", "RGB_G", "RGB_G", "0", 0, 0, CPointd(), font);
    b.AddAttrib(1, 0, "L", "RGB_B", "RGB_B", "-1", 0, 0, CPointd(), font);
    EXPECT_TRUE(HasColourAttributes(b));
    EXPECT_EQ(GetBlockColour(b), RGB(44, 0, 255));
    EXPECT_EQ(static_cast<const CAttrib*>(b.GetAttribList().GetHead())->m_text.m_justify, JUSTIFY_LEFT);
    b.DeleteAttributes();
    EXPECT_FALSE(HasColourAttributes(b));
}

TEST_F(BlockDoc, CollectsReferencedBlocksDepthFirstAtTheHead)
{
    AddNamedBlock(doc, "B", {{ENT_POINT, new CPunt}});
    AddNamedBlock(doc, "A", {{ENT_INSERT, NewInsert("B", 0, 0)}, {ENT_INSERT, NewInsert("A", 0, 0)}});
    CObList none(ListOwnership::owns);
    CBloq container(1, 0, "L", CPointd(), none);
    container.GetEntityList().AddTail(new CDib(ENT_INSERT, NewInsert("A", 0, 0)));
    container.GetEntityList().AddTail(new CDib(ENT_INSERT, NewInsert("MISSING", 0, 0)));
    CollectReferencedBlocks(doc, container.GetEntityList(), container);
    POSITION pos = container.GetFirstRefBlockPosition();
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(container.GetNextRefBlock(pos), doc.FindBlock("B")) << "the drawing's own block, named";
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(container.GetNextRefBlock(pos), doc.FindBlock("A"));
    EXPECT_EQ(pos, nullptr);

    AddMissingBlocks(doc, container.GetRefBlockList());
    EXPECT_EQ(doc.GetBlockList().GetCount(), 2) << "both names were there already";

    // Blocks of another drawing: the missing one is copied in, naming this drawing's blocks.
    CRectaDoc other;
    other.OnNewDocument();
    AddNamedBlock(other, "B", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    CBloq* c = AddNamedBlock(other, "C", {{ENT_INSERT, NewInsert("B", 0, 0)}});
    AddNamedBlock(other, "GONE", {});
    CollectReferencedBlocks(other, c->GetEntityList(), *c);
    c->GetRefBlockList().AddTail(other.FindBlock("GONE"));
    CObList justC(ListOwnership::names);
    justC.AddTail(c);
    AddMissingBlocks(doc, justC);
    const CBloq* copied = doc.FindBlock("C");
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, c);
    EXPECT_EQ(copied->FindRefBlock("B"), doc.FindBlock("B"));
    EXPECT_EQ(copied->FindRefBlock("GONE"), nullptr) << "a name this drawing lacks is left out";
    other.DeleteContents();
    CArchive out;
    doc.Serialize(out);  // names nothing of the freed drawing
}

TEST_F(BlockDoc, RemovingABlockUnlinksItFromTheReferencedBlockLists)
{
    AddNamedBlock(doc, "INNER", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    CBloq* outer = AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("INNER", 0, 0)}});
    CollectReferencedBlocks(doc, outer->GetEntityList(), *outer);
    ASSERT_NE(outer->FindRefBlock("INNER"), nullptr);
    doc.RemoveBlocks({doc.FindBlock("INNER")});
    EXPECT_EQ(outer->FindRefBlock("INNER"), nullptr);
    CArchive out;
    doc.Serialize(out);  // would read the freed block
}

TEST_F(BlockDoc, InsertDrawsItsBlockPlaced)
{
    AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(1, 0, 2, 0)}});
    std::unique_ptr<CInsBl> ins(NewInsert("B", 10, 10, kPi / 2, 2, 2));
    CRecordingDC dc;
    EXPECT_EQ(ins->Draw(dc, {1.0, 0.0, 0.0}, DrawKind::normal, doc), 1);
    EXPECT_NE(dc.Log().find("MoveTo(10,12)\nLineTo(10,14)"), std::string::npos) << dc.Log();
    dc.Clear();
    ins->m_block = "MISSING";
    EXPECT_EQ(ins->Draw(dc, {1.0, 0.0, 0.0}, DrawKind::normal, doc), 0) << "a missing block draws nothing";
    EXPECT_TRUE(dc.Calls().empty());
}

TEST_F(BlockDoc, NestedInsertComposesThePlacement)
{
    AddNamedBlock(doc, "INNER", {{ENT_POINT, new CPunt}, {ENT_LINE, NewLine(0, 0, 1, 0)}});
    CBloq* outer = AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("INNER", 1, 0, 0, 1, 3)}});
    std::vector<CElementPtr> leaves;
    WalkPlacedEntities(doc, *outer, CPlacement{5, 5, 0, kPi / 2, 2, 2},
                       [&](CElementPtr& e) { leaves.push_back(std::move(e)); });
    ASSERT_EQ(leaves.size(), 2u);
    const CPointd origin = static_cast<CPunt*>(leaves[0]->m_entity)->m_point;
    EXPECT_NEAR(origin.x, 5, 1e-12);
    EXPECT_NEAR(origin.y, 7, 1e-12);
    // The inner x axis turned by pi/2 and scaled by 1 * 2.
    const auto* line = static_cast<CRecta*>(leaves[1]->m_entity);
    EXPECT_NEAR(line->m_p2.x, 5, 1e-12);
    EXPECT_NEAR(line->m_p2.y, 9, 1e-12);
}

TEST_F(BlockDoc, ExtentsPlaceAllFourCornersAndSkipEmptyBlocks)
{
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 2, 1)}});
    AddNamedBlock(doc, "EMPTY", {});
    AddNamedBlock(doc, "WRAP", {{ENT_INSERT, NewInsert("B", 0, 0, kPi / 2, 1, 1)}});
    EXPECT_NEAR(doc.FindBlock("WRAP")->m_extMin.x, -1.0, 1e-12);
    EXPECT_NEAR(doc.FindBlock("WRAP")->m_extMax.y, 2.0, 1e-12);

    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(10, 10), 3, kPi / 2, 3, "B");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(-50, -50), 1, 0, 1, "EMPTY");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(50, 50), 1, 0, 1, "MISSING");
    doc.CalcExtents();
    // Corners (0,0) (2,0) (2,1) (0,1) scaled 3, turned pi/2 about (10,10).
    EXPECT_NEAR(doc.m_extMin.x, 7, 1e-9);
    EXPECT_NEAR(doc.m_extMin.y, 10, 1e-9);
    EXPECT_NEAR(doc.m_extMax.x, 10, 1e-9);
    EXPECT_NEAR(doc.m_extMax.y, 16, 1e-9);
    EXPECT_EQ(b->m_extMax, CPointd(2, 1)) << "the block keeps its own extents";
}

TEST_F(BlockDoc, BoxesFarFromTheOriginStartFromEmpty)
{
    CBloq* far = AddNamedBlock(doc, "FAR", {{ENT_LINE, NewLine(2e7, 2e7, 3e7, 2.5e7)}});
    EXPECT_EQ(far->m_box.lo.x, 2e7);
    EXPECT_EQ(far->m_box.lo.y, 2e7);
    EXPECT_EQ(far->m_box.hi.x, 3e7);
    EXPECT_EQ(far->m_extMin, CPointd(2e7, 2e7)) << "a new block stores what it measured";
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(0, 0), 1, 0, 1, "FAR");
    doc.CalcExtents();
    EXPECT_EQ(doc.m_extMin, CPointd(2e7, 2e7));
    EXPECT_EQ(doc.m_extMax, CPointd(3e7, 2.5e7));
}

// Ten blocks, each inserting the one below twice, over one polyline of 2,000
// segments: were every insert followed, one walk would place two million segments.
TEST_F(BlockDoc, NestedCopiesOfALongPolylineStayWithinTheWalkBudget)
{
    constexpr int kSegments = 2000, kLevels = 10;
    CObList segments(ListOwnership::owns);
    for (int i = 0; i < kSegments; ++i)
        segments.AddTail(new CDib(ENT_LINE, NewLine(i, 0, i + 1, 1)));
    AddNamedBlock(doc, "L0", {{ENT_PLINE, new CPLine(1, 0, "L", segments, 0, 0, 0, 1)}});
    for (int level = 1; level <= kLevels; ++level) {
        const std::string below = "L" + std::to_string(level - 1);
        AddNamedBlock(doc, ("L" + std::to_string(level)).c_str(),
                      {{ENT_INSERT, NewInsert(below.c_str(), 0, 0)}, {ENT_INSERT, NewInsert(below.c_str(), 0, 2)}});
    }
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(), 1, 0, 1, "L10");
    CArchive out;
    doc.Serialize(out);
    const Bytes file = out.TakeData();
    CRectaDoc loaded;
    CArchive in(file);
    loaded.Serialize(in);

    std::size_t work = 0;
    WalkPlacedEntities(loaded, *loaded.FindBlock("L10"), CPlacement{}, [&](CElementPtr& e) {
        work += 1;
        if (e->m_type == ENT_PLINE)
            work += std::size_t(static_cast<const CPLine*>(e->m_entity)->m_segments.GetCount());
    });
    EXPECT_GT(work, std::size_t(kSegments));
    EXPECT_LE(work, kWalkBudget + kSegments) << "the polyline that spends the last of the budget is placed whole";

    // Each block is measured once, so the box still takes in every copy.
    loaded.CalcExtents();
    EXPECT_EQ(loaded.m_extMin, CPointd(0, 0));
    EXPECT_EQ(loaded.m_extMax, CPointd(kSegments, 2 * kLevels + 1));
}

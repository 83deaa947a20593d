// Blocks written as drawing files and drawing files read back as blocks.
#include "doc/drawingblock.h"
#include "fuzz/clipboard_paste.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/layer.h"
#include "support/blocks.h"
#include "support/dxf_listing.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using dxflisting::Row;

std::vector<Row> BlockRows(const CBloq& block)
{
    std::vector<Row> rows;
    for (CObject* obj : block.GetEntityList()) {
        const auto* element = static_cast<const CDib*>(obj);
        rows.push_back(dxflisting::EntityRow(element->m_type, element->m_entity));
    }
    for (CObject* obj : block.GetAttribList()) {
        const auto* a = static_cast<const CAttrib*>(obj);
        rows.push_back({a->m_tag, a->m_prompt, a->Value()});
    }
    return rows;
}

std::vector<std::string> LayerNames(const CRectaDoc& doc)
{
    std::vector<std::string> names;
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;)
        names.push_back(doc.GetNextLayer(pos)->m_name);
    return names;
}

CLayer* Layer(CRectaDoc& doc, const char* name, COLORREF colour, int on = 1)
{
    CLayer* layer = doc.AddLayer(colour, on);
    layer->m_name = name;
    return layer;
}

CRecta* LineOn(const char* layer, double x1, double y1, double x2, double y2)
{
    CRecta* line = NewLine(x1, y1, x2, y2);
    line->m_layer = layer;
    return line;
}

class DrawingBlock : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.OnNewDocument();
        target.OnNewDocument();
        Layer(source, "A", 0x0000FF);
        Layer(source, "B", 0xFF0000);
        Layer(source, "Unused", 0x00FF00);
        inner = AddNamedBlock(source, "Inner", {{ENT_LINE, LineOn("B", 0, 0, 0, 1)}});
        auto* circle = new CCirc;
        circle->m_layer = "A";
        circle->m_centre = CPointd(2, 2);
        circle->m_rx = circle->m_ry = 0.5;
        CInsBl* nested = NewInsert("Inner", 3, 0);
        nested->m_layer = "B";
        door = AddNamedBlock(source, "Door",
                             {{ENT_LINE, LineOn("A", -1, 0, 1, 4)}, {ENT_CIRCLE, circle}, {ENT_INSERT, nested}});
        door->AddAttrib(1, 0, "A", "WIDTH", "WIDTH", "0.90", 0, 1, CPointd(0.2, 0.5), source.m_textFont);
        source.m_layerName = "A";
        dir = testing::TempDir() + "/drawing_block_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        path = dir + "/door.zpd";
    }

    CRectaDoc source, target;
    CBloq* inner = nullptr;
    CBloq* door = nullptr;
    std::string dir, path;
};

TEST_F(DrawingBlock, AWrittenBlockComesBackUnderANewName)
{
    ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *door));
    CLayer* mine = Layer(target, "A", 0x00FF00, 0);

    CBloq* copy = InsertDrawingFile(target, path, "Copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_name, "Copy");
    EXPECT_EQ(copy->m_layer, "A");  // the layer current when it was written
    EXPECT_EQ(BlockRows(*copy), BlockRows(*door));
    EXPECT_EQ(copy->m_extMin, CPointd(-1, 0));
    EXPECT_EQ(copy->m_extMax, CPointd(3, 4));
    // The layers it uses come along; the drawing's own keep their colour and state.
    EXPECT_EQ(LayerNames(target), (std::vector<std::string>{"ZP", "A", "B"}));
    EXPECT_EQ(mine->m_color, 0x00FF00u);
    EXPECT_EQ(mine->m_on, 0);
    // So do the blocks it inserts, which it names for writing it out again.
    const CBloq* innerCopy = target.FindBlock("Inner");
    ASSERT_NE(innerCopy, nullptr);
    EXPECT_EQ(BlockRows(*innerCopy), BlockRows(*inner));
    EXPECT_EQ(copy->FindRefBlock("Inner"), innerCopy);
    EXPECT_TRUE(target.IsModified());
}

// The file's own block of the new block's name comes along under another
// name, which the file's inserts of it follow: the new block never inserts itself.
TEST_F(DrawingBlock, AFileHoldingABlockOfTheNewNameKeepsItUnderAnother)
{
    ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *door));  // holds "Inner" and inserts it
    AddNamedBlock(target, "Inner_1", {});
    CBloq* block = InsertDrawingFile(target, path, "Inner");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(target.FindBlock("Inner"), block);
    EXPECT_EQ(target.GetBlockList().GetCount(), 3);
    const CBloq* renamed = target.FindBlock("Inner_2");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(BlockRows(*renamed), BlockRows(*inner));
    const auto* nested = static_cast<const CInsBl*>(static_cast<const CDib*>(block->GetEntityList().GetTail())->m_entity);
    EXPECT_EQ(nested->m_block, "Inner_2");
    EXPECT_EQ(block->FindRefBlock("Inner"), nullptr);
    EXPECT_EQ(block->m_box.hi.x, 3.0) << "measured through the renamed block";
}

TEST_F(DrawingBlock, TheWrittenFileIsADrawingOfTheBlock)
{
    ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *AddNamedBlock(source, "Plain", {{ENT_LINE, LineOn("A", 0, 0, 1, 1)}})));
    CRectaDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(path));
    EXPECT_EQ(LayerNames(opened), (std::vector<std::string>{"A"}));
    EXPECT_EQ(opened.GetEntityList().GetCount(), 1);
    EXPECT_EQ(opened.m_windowMax, CPointd(1, 1));
    EXPECT_EQ(opened.m_layerName, "A");
}

TEST_F(DrawingBlock, NamesBeginningZpAcMakeOneBlockZpAc)
{
    ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *door));
    CBloq* first = InsertDrawingFile(target, path, "zp_ac17");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_name, "ZP_AC");
    const int blocks = target.GetBlockList().GetCount();
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_EQ(InsertDrawingFile(target, path, "zp_acX"), nullptr);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("block named ZP_AC already"), std::string::npos);
    EXPECT_EQ(target.GetBlockList().GetCount(), blocks);
}

TEST_F(DrawingBlock, AFileThatCannotBeReadWholeAddsNothing)
{
    ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *door));
    const std::string bytes = FileText(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 40);
    target.SetModifiedFlag(false);
    const std::vector<Row> before = dxflisting::ListDrawing(target);
    for (const std::string& file : {path, dir + "/missing.zpd"}) {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_EQ(InsertDrawingFile(target, file, "Copy"), nullptr);
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find(file), std::string::npos);
    }
    EXPECT_EQ(dxflisting::ListDrawing(target), before);
    EXPECT_FALSE(target.IsModified());
}

TEST_F(DrawingBlock, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    std::ofstream(path) << "old";
    namespace fs = std::filesystem;
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
    // The folder's mode stops whoever is not the super-user.
    const bool writable = std::ofstream(dir + "/probe").good();
    {
        ScriptedMessageBoxes boxes({IDOK});
        if (writable)
            boxes.AllowUnused();
        EXPECT_EQ(WriteBlockToDrawingFile(source, path, *door), writable);
    }
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
    if (!writable) {
        EXPECT_EQ(FileText(path), "old");
    }
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(WriteBlockToDrawingFile(source, dir + "/no such folder/x.zpd", *door));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("could not be written"), std::string::npos);
}

}  // namespace

namespace {

// Entities in the drawing's lists, counted as the file holds them.
int EntityCount(const CRectaDoc& doc)
{
    return doc.GetEntityList().GetCount();
}

std::vector<const CObject*> Named(CBloq& block)
{
    std::vector<const CObject*> named;
    for (CObject* obj : block.GetRefBlockList())
        named.push_back(obj);
    return named;
}

}  // namespace

// A block that reaches itself through its inserts, directly or through
// another block, is written as a file that opens and imports; the drawing's
// own blocks keep the blocks they name.
TEST_F(DrawingBlock, ABlockThatReachesItselfIsWrittenAsAFileThatReadsBack)
{
    CBloq* self = AddNamedBlock(source, "SELF", {{ENT_LINE, LineOn("A", 0, 0, 1, 0)}, {ENT_INSERT, NewInsert("SELF", 2, 0)}});
    CBloq* a = AddNamedBlock(source, "PA", {{ENT_LINE, LineOn("A", 0, 0, 0, 1)}, {ENT_INSERT, NewInsert("PB", 1, 1)}});
    CBloq* b = AddNamedBlock(source, "PB", {{ENT_INSERT, NewInsert("PA", 3, 3)}, {ENT_INSERT, NewInsert("Inner", 0, 0)}});
    CollectReferencedBlocks(source, b->GetEntityList(), *b);  // PB names PA, as a drawing may hold it
    struct Row {
        CBloq* block;
        int blocksInFile;
    };
    for (const Row& row : {Row{self, 0}, Row{a, 2}, Row{b, 2}}) {
        SCOPED_TRACE(row.block->m_name);
        std::vector<const CObject*> named = Named(*b);
        if (row.block == b)
            std::erase(named, b);
        ASSERT_TRUE(WriteBlockToDrawingFile(source, path, *row.block));
        EXPECT_EQ(row.block->FindRefBlock(row.block->m_name), nullptr) << "not its own referenced block";
        EXPECT_EQ(Named(*b), named);

        CRectaDoc opened;
        ASSERT_TRUE(opened.OnOpenDocument(path));
        EXPECT_EQ(EntityCount(opened), row.block->GetEntityList().GetCount());
        EXPECT_EQ(opened.GetBlockList().GetCount(), row.blocksInFile);
        EXPECT_EQ(opened.FindBlock(row.block->m_name), nullptr);

        CRectaDoc into;
        into.OnNewDocument();
        CBloq* copy = InsertDrawingFile(into, path, "COPY");
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(BlockRows(*copy), BlockRows(*row.block));
    }
}

// Inputs the clipboard fuzzer found or that seed it: each pastes whole or
// adds nothing, and what it adds renders.
TEST(ClipboardFuzzFinds, EveryStoredInputPastesOrFailsCleanly)
{
    const std::filesystem::path dir = std::filesystem::path(ZP_TEST_DATA) / "fuzz" / "clipboard";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_TRUE(PasteAndRender(FileBytes(entry.path().string())));
        ++count;
    }
    EXPECT_GT(count, 0);
}

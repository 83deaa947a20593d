#include "app/rectaapp.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/blocks.h"
#include "support/bytes.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"
#include "support/stored.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<BYTE>;

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void FontRecord(ByteWriter& w, unsigned height)
{
    w.u16(height).u16(0).u16(0).u16(0).u16(400);
    w.u8(0).u8(0).u8(0).u8(0).u8(4).u8(0).u8(0).u8(0x32);
    std::string face = "Courier New";
    face.resize(32, '\0');
    w.raw(face);
}

// The header and settings of a new drawing; version 2.0 leaves out the third
// name, real A and point height, and writes points without z.
void NewDrawingHeader(ByteWriter& w, const std::string& magic)
{
    const bool v3 = magic == "BARQUELO 3.0";
    const bool v2 = magic == "BARQUELO 2.0";
    auto point = [&](double x, double y, double z) {
        w.f64(x).f64(y);
        if (!v2)
            w.f64(z);
    };
    w.str(magic).f64(0).f64(0).u16(1).str("ZP").u32(0).u16(2).u16(2).f64(0.05);
    FontRecord(w, 38);
    FontRecord(w, 25);
    w.str("DEF").str("DEF");
    if (v3)
        w.str("DEF").f64(1.0).f64(1.0);
    w.f64(0.1).f64(0.2).f64(0.05).f64(0.2);
    w.u16(0).f64(0).f64(0).f64(0).f64(0).f64(1).f64(0).f64(2.9);
    const unsigned words[22] = {0, 0, 2, 2, 1, 1, 1};
    for (unsigned word : words)
        w.u16(word);
    const double reals[21] = {0, 0.06, 0.04, 0.725, 0.04, 1.0, 0.725, 2.1, 0.9, 1.1, 0.25, 0, 2000.0};
    for (double r : reals)
        w.f64(r);
    for (int i = 0; i < 9; ++i)
        point(0, 0, 0);
    const double eyes[6][2] = {{0, 0}, {10, 0}, {20, 0}, {20, 20}, {10, 20}, {0, 20}};
    for (const auto& eye : eyes) {
        point(eye[0], eye[1], 8);
        point(10, 10, 1);
        point(0, 0, 8);
        point(10, 7, 0);
        w.f64(0.45);
    }
    for (int i = 0; i < 2; ++i) {
        point(0, 0, 0);
        point(12, 8, 0);
    }
}

// A new drawing's header, then what lists writes.
Bytes DrawingWith(const std::function<void(ByteWriter&)>& lists)
{
    ByteWriter w;
    NewDrawingHeader(w, "BARQUELO 3.0");
    lists(w);
    return w.bytes();
}

// The layer list of a new drawing: class 1, layer "ZP" 2.
void NewLayerList(ByteWriter& w)
{
    w.u16(1).classRecord("CLayer").str("ZP").u32(0).u16(1);
}

// The head of a block record of the drawing's pen and layer, up to its lists.
void BlockHead(ByteWriter& w, const std::string& name, double maxX = 0, double maxY = 0)
{
    w.u16(1).u16(1).u32(0).str("ZP").str(name).point(0, 0, 0).point(0, 0, 0).point(maxX, maxY, 0);
}

// The words and record of an element holding a point at (1, 2).
void PointElement(ByteWriter& w)
{
    w.u16(ENT_POINT).u16(1).u16(1).u16(0).u16(0).u32(0).str("ZP").point(1, 2, 0);
}

void AttribRecord(ByteWriter& w)
{
    w.str("T").str("T").u16(0).u16(0).u32(0).str("ZP").str("v").u16(1);
    FontRecord(w, 25);
    w.point(0, 0, 0).u16(0).u16(1);
}

class DrawingFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        doc.OnNewDocument();
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    // Opens bytes as a file; the messages shown go to asked.
    bool Open(CRectaDoc& into, const Bytes& bytes, std::vector<std::string>& asked)
    {
        const std::string path = Path("probe.zpd");
        WriteFile(path, bytes);
        ScriptedMessageBoxes boxes({IDOK});
        boxes.AllowUnused();
        const bool opened = into.OnOpenDocument(path);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
        asked = boxes.asked;
        return opened;
    }

    QTemporaryDir dir;
    CRectaDoc doc;
};

}  // namespace

TEST_F(DrawingFile, NewDrawingDefaults)
{
    EXPECT_EQ(doc.GetLayerList().GetCount(), 1);
    CLayer* zp = nullptr;
    ASSERT_EQ(doc.FindLayer("ZP", zp), 1);
    EXPECT_EQ(zp->m_on, 1);
    EXPECT_EQ(zp->m_color, 0u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_ortho, 1);
    EXPECT_EQ(theApp.Status().GetPaneText(1), "ORTHO ON             ");
    EXPECT_EQ(theApp.Status().GetPaneText(3), "ZP");
    doc.ToggleOrtho();
    EXPECT_EQ(doc.m_ortho, 0);
    EXPECT_EQ(theApp.Status().GetPaneText(1), "ORTHO OFF             ");
}

TEST_F(DrawingFile, SaveAndOpenRoundTripsByteForByte)
{
    doc.m_ortho = 0;
    doc.m_gridStep = 0.25;
    doc.m_toolWords[TW_CAMERA] = 3;
    doc.m_cameraEye[2] = CPointd(1, 2, 3);
    doc.m_textFont.lfEscapement = -900;
    SetLastLayerName("WALLS");
    doc.AddLayer(RGB(255, 0, 0), 0);
    const std::string path = Path("a.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());

    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_ortho, 0);
    EXPECT_EQ(theApp.Status().GetPaneText(1), "ORTHO OFF             ");
    EXPECT_EQ(back.m_gridStep, 0.25);
    EXPECT_EQ(back.m_cameraEye[2], CPointd(1, 2, 3));
    EXPECT_EQ(back.m_textFont.lfEscapement, -900);
    EXPECT_EQ(back.GetLayerList().GetCount(), 2);
    EXPECT_EQ(back.GetPathName(), path);
    EXPECT_EQ(back.GetTitle(), "a.zpd");
    EXPECT_EQ(Stored(back), FileBytes(path));
}

TEST_F(DrawingFile, VersionTwoFileLoadsWithoutZAndSavesAsVersionThree)
{
    ByteWriter w;
    NewDrawingHeader(w, "BARQUELO 2.0");
    w.u16(1).classRecord("CLayer").str("OLD").u32(0x00FF00).u16(1);
    w.u16(0).u16(0).u16(0);
    const std::string path = Path("old.zpd");
    WriteFile(path, w.bytes());

    CRectaDoc old;
    ASSERT_TRUE(old.OnOpenDocument(path));
    EXPECT_EQ(old.m_thirdName, "DEF");
    EXPECT_EQ(old.m_realA, 1.0);
    EXPECT_EQ(old.m_pointHeight, 1.0);
    EXPECT_EQ(old.m_cameraEye[1], CPointd(10, 0, 0));  // z not in the file
    EXPECT_EQ(old.m_windowMax, CPointd(12, 8, 0));
    CLayer* layer = nullptr;
    EXPECT_EQ(old.FindLayer("OLD", layer), 1);
    EXPECT_EQ(old.FindLayer("ZP", layer), 0);

    const Bytes resaved = Stored(old);
    ByteWriter head;
    head.str("BARQUELO 3.0");
    EXPECT_TRUE(std::equal(head.bytes().begin(), head.bytes().end(), resaved.begin()));
    CRectaDoc again;
    CArchive in(resaved);
    again.Serialize(in);
    EXPECT_EQ(again.m_cameraEye[1], CPointd(10, 0, 0));
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST_F(DrawingFile, IntermediateMagicReadsWithZButNoVersionThreeFields)
{
    ByteWriter w;
    NewDrawingHeader(w, "BARQUELO 2.01");
    w.u16(0).u16(0).u16(0).u16(0);
    CRectaDoc mid;
    CArchive in(w.bytes());
    mid.Serialize(in);
    EXPECT_EQ(mid.m_cameraEye[3], CPointd(20, 20, 8));
    EXPECT_EQ(mid.m_headerMagic, "BARQUELO 3.0");
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST_F(DrawingFile, LoadedValuesAreBroughtIntoRange)
{
    doc.m_gridStep = 0.0009;
    doc.m_coordDecimals = 40000;
    doc.m_toolWords[TW_CAMERA] = 9;
    doc.m_toolWords[TW_LIGHT] = 5;
    doc.m_extrusionMode = 7;  // draws as extruded: kept
    doc.m_windowMin = CPointd(5, 5);
    doc.m_windowMax = CPointd(1, 1);  // reversed
    doc.m_marginX = std::nan("");
    doc.m_marginY = -HUGE_VAL;
    const std::string path = Path("odd.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_gridStep, 0.05);
    EXPECT_LE(back.m_coordDecimals, 12);
    EXPECT_EQ(back.m_toolWords[TW_CAMERA], 0);
    EXPECT_EQ(back.m_toolWords[TW_LIGHT], 5);
    EXPECT_EQ(back.m_extrusionMode, 7);
    EXPECT_LT(back.m_windowMin.x, back.m_windowMax.x);
    EXPECT_LT(back.m_windowMin.y, back.m_windowMax.y);
    EXPECT_EQ(back.m_marginX, 0.0);
    EXPECT_EQ(back.m_marginY, 0.0);

    doc.m_gridStep = 0.001;
    ASSERT_TRUE(doc.OnSaveDocument(path));
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_gridStep, 0.001);
}

TEST_F(DrawingFile, DamagedFilesLeaveTheOpenDrawingUntouched)
{
    SetLastLayerName("KEEP");
    doc.AddLayer(0, 1);
    doc.m_gridStep = 0.5;
    doc.AddRecta()->m_extrusionMode = EXTRUSION_THICK;
    doc.AddCirc()->m_rx = 2;
    doc.AddArc()->m_end = 1;
    doc.AddPunt();
    doc.AddText()->m_text = "label";
    const Bytes good = Stored(doc);
    const std::string path = Path("bad.zpd");

    CRectaDoc open;
    open.OnNewDocument();
    open.m_gridStep = 0.125;
    SetLastLayerName("MINE");
    open.AddLayer(0, 1);
    open.SetPathName("/somewhere/mine.zpd");
    const Bytes before = Stored(open);

    auto expectUntouched = [&](const Bytes& bytes, const char* what) {
        WriteFile(path, bytes);
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(open.OnOpenDocument(path)) << what;
        ASSERT_EQ(boxes.asked.size(), 1u) << what;
        EXPECT_NE(boxes.asked[0].find(path), std::string::npos);
        EXPECT_EQ(Stored(open), before) << what;
        EXPECT_EQ(open.GetPathName(), "/somewhere/mine.zpd");
    };

    // Truncated at every length short of the whole drawing (the embedded part may go).
    for (std::size_t n = 0; n + 2 < good.size(); ++n)
        expectUntouched(Bytes(good.begin(), good.begin() + long(n)), "truncated");

    // A huge string length, list count or class-name length.
    Bytes bad = good;
    bad[0] = 0xFF;
    bad[1] = 0xFF;
    bad[2] = 0xFF;
    expectUntouched(bad, "magic length");
    // Every count and length of the entity records made huge in turn.
    for (std::size_t i = good.size() - 2 - 2 - 2; i-- > good.size() - 400;) {
        bad = good;
        bad[i] = 0xFF;
        bad[i + 1] = 0xFF;
        WriteFile(path, bad);
        CRectaDoc probe;
        ScriptedMessageBoxes boxes({IDOK});
        boxes.AllowUnused();  // some flips still read as a drawing
        probe.OnOpenDocument(path);
    }
}

TEST_F(DrawingFile, MissingFileIsReported)
{
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(doc.OnOpenDocument(Path("none.zpd")));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("none.zpd"), std::string::npos);
}

// Inputs the drawing-file fuzzer found or that seed it: each loads or fails cleanly.
TEST(DrawingFileFuzzFinds, EveryStoredInputLoadsOrFailsCleanly)
{
    const std::filesystem::path dir = std::filesystem::path(ZP_TEST_DATA) / "fuzz" / "drawing";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const Bytes bytes = FileBytes(entry.path().string());
        CRectaDoc doc;
        try {
            CArchive ar(bytes);
            doc.Serialize(ar);
        } catch (const CArchiveException&) {
        }
        ++count;
    }
    EXPECT_GT(count, 0);
}

// ---------------------------------------------------------------- shared blocks

// The drawing's blocks and referenced-block lists, written as the drawing's
// own objects: every later mention is a back reference.
TEST_F(DrawingFile, ReferencedBlocksAreBackReferencesToTheDrawingsBlocks)
{
    AddNamedBlock(doc, "INNER", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    CBloq* outer = AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("INNER", 0, 0)}});
    CollectReferencedBlocks(doc, outer->GetEntityList(), *outer);

    const Bytes expected = DrawingWith([](ByteWriter& w) {
        NewLayerList(w);
        w.u16(0);                                   // entities
        w.u16(2).classRecord("CBloq");              // class 3
        BlockHead(w, "INNER", 1, 1);                // 4
        w.u16(1).classRecord("CDib");               // class 5
        w.u16(ENT_LINE).u16(1).u16(1);              // 6
        w.u16(0).u16(0).u32(0).f64(0).f64(0).u16(0).str("L").u16(0).point(0, 0, 0).point(1, 1, 0);
        w.u16(0).u16(0);                            // referenced blocks, attributes
        w.u16(0x8003);                              // 7
        BlockHead(w, "OUTER", 1, 1);
        w.u16(1).u16(0x8005).u16(ENT_INSERT).u16(1).u16(1);  // 8
        w.u16(1).u16(1).u32(0xFF).str("L").str("INNER").f64(0).f64(1).f64(1).point(0, 0, 0);
        w.u16(1).u16(4);                            // INNER, already written
        w.u16(0);
        w.u16(0).u16(0);                            // attribute definitions, embedded objects
    });
    EXPECT_EQ(Stored(doc), expected);
}

TEST_F(DrawingFile, BlocksThatInsertBlocksReopenSharedAndSaveByteForByte)
{
    // TOP names LATE before the block list reaches it.
    AddNamedBlock(doc, "TOP", {{ENT_INSERT, NewInsert("LATE", 5, 5)}});
    AddNamedBlock(doc, "INNER", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    AddNamedBlock(doc, "MID", {{ENT_INSERT, NewInsert("INNER", 1, 0)}, {ENT_POINT, new CPunt}});
    AddNamedBlock(doc, "OUTER", {{ENT_INSERT, NewInsert("MID", 0, 0)}, {ENT_INSERT, NewInsert("INNER", 2, 2)}});
    AddNamedBlock(doc, "LATE", {{ENT_INSERT, NewInsert("MID", 0, 0)}});
    for (const char* name : {"TOP", "MID", "OUTER", "LATE"}) {
        CBloq* b = doc.FindBlock(name);
        CollectReferencedBlocks(doc, b->GetEntityList(), *b);
    }
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(5, 5), 1, 0, 1, "OUTER");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(9, 9), 1, 0, 1, "TOP");
    const std::string path = Path("shared.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const Bytes file = FileBytes(path);

    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.GetBlockList().GetCount(), 5);
    for (const char* name : {"TOP", "MID", "OUTER", "LATE"}) {
        const CBloq* b = back.FindBlock(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_NE(b->GetFirstRefBlockPosition(), nullptr) << name;
        for (POSITION pos = b->GetFirstRefBlockPosition(); pos;) {
            const CBloq* named = b->GetNextRefBlock(pos);
            EXPECT_EQ(named, back.FindBlock(named->m_name)) << name << " names " << named->m_name;
        }
    }
    EXPECT_EQ(Stored(back), file);
    back.DeleteContents();  // each block freed once
    EXPECT_EQ(Stored(doc), file);
}

// Files that hand one object to two owners are refused; blocks that only
// referenced-block lists name are kept, freed once, and written again.
TEST_F(DrawingFile, ObjectsNamedInSeveralListsHaveOneOwner)
{
    struct Case {
        const char* what;
        bool opens;
        std::function<void(ByteWriter&)> lists;
    };
    const Case cases[] = {
        {"a layer twice", false,
         [](ByteWriter& w) { w.u16(2).classRecord("CLayer").str("ZP").u32(0).u16(1).u16(2).u16(0).u16(0).u16(0); }},
        {"an element twice in the drawing", false,
         [](ByteWriter& w) {
             w.u16(2).classRecord("CDib");
             PointElement(w);
             w.u16(4).u16(0).u16(0).u16(0);
         }},
        {"an element of the drawing in a block", false,
         [](ByteWriter& w) {
             w.u16(1).classRecord("CDib");
             PointElement(w);
             w.u16(1).classRecord("CBloq");
             BlockHead(w, "B");
             w.u16(1).u16(4).u16(0).u16(0).u16(0).u16(0);
         }},
        {"an attribute in two blocks", false,
         [](ByteWriter& w) {
             w.u16(0).u16(2).classRecord("CBloq");
             BlockHead(w, "A");
             w.u16(0).u16(0).u16(1).classRecord("CAttrib");
             AttribRecord(w);
             w.u16(0x8003);
             BlockHead(w, "B");
             w.u16(0).u16(0).u16(1).u16(6).u16(0).u16(0);
         }},
        {"an attribute in a block and the definitions", false,
         [](ByteWriter& w) {
             w.u16(0).u16(1).classRecord("CBloq");
             BlockHead(w, "A");
             w.u16(0).u16(0).u16(1).classRecord("CAttrib");
             AttribRecord(w);
             w.u16(1).u16(6).u16(0);
         }},
        {"a block listed twice", false,
         [](ByteWriter& w) {
             w.u16(0).u16(2).classRecord("CBloq");
             BlockHead(w, "A");
             w.u16(0).u16(0).u16(0).u16(4).u16(0).u16(0);
         }},
        {"a block named before it is listed", true,
         [](ByteWriter& w) {
             w.u16(0).u16(2).classRecord("CBloq");
             BlockHead(w, "TOP");
             w.u16(0).u16(1).u16(0x8003);
             BlockHead(w, "LATE");
             w.u16(0).u16(0).u16(0);
             w.u16(0).u16(5).u16(0).u16(0);
         }},
        {"a block only a referenced-block list names", true,
         [](ByteWriter& w) {
             w.u16(0).u16(1).classRecord("CBloq");
             BlockHead(w, "TOP");
             w.u16(0).u16(1).u16(0x8003);
             BlockHead(w, "LOST");
             w.u16(1).classRecord("CDib");
             PointElement(w);
             w.u16(0).u16(0);
             w.u16(0).u16(0).u16(0);
         }},
        {"a block that names itself", true,
         [](ByteWriter& w) {
             w.u16(0).u16(1).classRecord("CBloq");
             BlockHead(w, "SELF");
             w.u16(0).u16(1).u16(4).u16(0).u16(0).u16(0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes bytes = DrawingWith([&](ByteWriter& w) {
            if (std::string_view(c.what) != "a layer twice")
                NewLayerList(w);
            c.lists(w);
        });
        std::vector<std::string> asked;
        CRectaDoc probe;
        probe.OnNewDocument();
        const bool opened = Open(probe, bytes, asked);
        EXPECT_EQ(opened, c.opens);
        EXPECT_EQ(asked.size(), c.opens ? 0u : 1u);
        if (!opened)
            continue;
        EXPECT_EQ(Stored(probe), bytes);
        for (POSITION pos = probe.GetFirstBlockPosition(); pos;) {
            const CBloq* b = probe.GetNextBlock(pos);
            for (POSITION r = b->GetFirstRefBlockPosition(); r;) {
                const CBloq* named = b->GetNextRefBlock(r);
                const CBloq* listed = probe.FindBlock(named->m_name);
                EXPECT_TRUE(listed == named || (!listed && named->m_name == "LOST")) << named->m_name;
            }
        }
        // Cut short anywhere, the file fails and whatever was read is freed once.
        for (std::size_t n = bytes.size() - 3; n-- > bytes.size() - 200;) {
            ScriptedMessageBoxes boxes({IDOK});
            CRectaDoc cut;
            WriteFile(Path("cut.zpd"), Bytes(bytes.begin(), bytes.begin() + long(n)));
            EXPECT_FALSE(cut.OnOpenDocument(Path("cut.zpd"))) << n;
        }
    }
}

// ---------------------------------------------------------------- the end of the file

TEST_F(DrawingFile, WhatFollowsTheListsIsNeverDroppedSilently)
{
    doc.AddText()->m_text = "label";
    const Bytes good = Stored(doc);
    const std::size_t end = good.size() - 2;  // where the embedded-object count begins
    auto with = [&](std::initializer_list<BYTE> tail) {
        Bytes b(good.begin(), good.begin() + long(end));
        b.insert(b.end(), tail);
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        bool opens;
        std::string message;  // what the one message says; empty for none
    };
    const std::string text = std::string(1, '\x05') + "label";
    const std::size_t label = std::size_t(std::search(good.begin(), good.end(), text.begin(), text.end()) - good.begin());
    ASSERT_LT(label, good.size());
    Bytes lengthFFFE = good;
    lengthFFFE[label] = 0xFF;
    lengthFFFE.insert(lengthFFFE.begin() + long(label) + 1, {0xFE, 0xFF});
    const Case cases[] = {
        {"no embedded objects", good, true, ""},
        {"no embedded-object part", with({}), true, ""},
        {"half a count", with({0}), false, "at byte " + std::to_string(end)},
        {"bytes after a count of 0", with({0, 0, 7, 0, 0}), false, "at byte " + std::to_string(end + 2)},
        {"two embedded objects", with({2, 0, 0xFF, 0xFF, 1, 0, 3, 0, 'C', 'Z', 'z'}), true, "2 embedded object"},
        {"string length FF FEFF", lengthFFFE, false, "at byte " + std::to_string(label)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> asked;
        CRectaDoc probe;
        EXPECT_EQ(Open(probe, c.bytes, asked), c.opens);
        ASSERT_EQ(asked.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_NE(asked[0].find(c.message), std::string::npos) << asked[0];
        }
        if (c.opens) {
            const CDib* first = probe.GetEntityRecord(probe.GetFirstEntityPosition());
            EXPECT_EQ(static_cast<const CText*>(first->m_entity)->m_text, "label");
            EXPECT_EQ(Stored(probe), c.bytes.size() == end ? good : c.bytes) << "embedded objects are kept";
        }
    }
}

// One-byte changes of a drawing that end its lists early: the rest of the
// file is refused, or reported as embedded objects, never passed over unsaid.
TEST_F(DrawingFile, ChangesThatEndTheListsEarlyAreReported)
{
    const Bytes good = FileBytes(std::string(ZP_TEST_DATA) + "/fuzz/drawing/seed-every-kind");
    ASSERT_GT(good.size(), 2000u);
    int early = 0, refused = 0;
    for (std::size_t i = 0; i < good.size(); ++i)
        for (int delta : {1, -1, 0x10}) {
            Bytes bad = good;
            bad[i] = BYTE(bad[i] + delta);
            std::size_t left = 0;
            try {
                CRectaDoc probe;
                CArchive ar(bad);
                probe.SerializeContents(ar);
                left = ar.Remaining();
            } catch (const CArchiveException&) {
                continue;
            }
            if (left <= 2)
                continue;
            ++early;
            std::vector<std::string> asked;
            CRectaDoc opened;
            const bool ok = Open(opened, bad, asked);
            ASSERT_EQ(asked.size(), 1u) << "byte " << i << " changed by " << delta;
            if (!ok)
                ++refused;
            else
                EXPECT_NE(asked[0].find("embedded object"), std::string::npos) << asked[0];
        }
    EXPECT_GT(early, 5);
    EXPECT_GT(refused, early / 2);
}

// ---------------------------------------------------------------- what is not a file

TEST_F(DrawingFile, OnlyRegularFilesOpen)
{
    const std::string fifo = Path("pipe.zpd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A writer that appears only when someone reads: a reader that waited for
    // one returns, and the open is seen to have tried to read the pipe.
    std::atomic<bool> done = false, readerSeen = false;
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                readerSeen = true;
                ::close(fd);
            }
            std::this_thread::yield();
        }
    });
    for (const std::string& path : {fifo, std::string("/dev/null"), Path(""), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find("not a regular file"), std::string::npos) << boxes.asked[0];
    }
    done = true;
    writer.join();
    EXPECT_FALSE(readerSeen);
}

TEST_F(DrawingFile, FilesOfTwoGigabytesAreRefusedFromTheirSize)
{
    const std::string path = Path("huge.zpd");
    std::ofstream(path).close();
    std::filesystem::resize_file(path, std::uintmax_t(1) << 31);  // no blocks on the disk
    for (bool dxf : {false, true}) {
        SCOPED_TRACE(dxf ? "DXF" : "drawing");
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(dxf ? doc.ReadDXF(path) : doc.OnOpenDocument(path));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find("too large"), std::string::npos) << boxes.asked[0];
    }
}

// Values no command makes (an arc of infinite radius, extents without end)
// save and reload to the same bytes.
TEST_F(DrawingFile, NonFiniteValuesSaveAndReloadToTheSameBytes)
{
    CArc* arc = doc.AddArc();
    arc->m_rx = arc->m_ry = HUGE_VAL;
    arc->m_end = 1;
    doc.ExtendAndDrawEntity(ENT_ARC, arc);
    const std::string path = Path("inf.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    const Bytes saved = FileBytes(path), again = Stored(back);
    ASSERT_EQ(saved.size(), again.size());
    EXPECT_EQ(std::mismatch(saved.begin(), saved.end(), again.begin()).first - saved.begin(), std::ptrdiff_t(saved.size()));
}

#include "app/rectaapp.h"
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/bytes.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Saved(CRectaDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.TakeData();
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

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

class DrawingFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        doc.OnNewDocument();
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    CRectaDoc doc;
};

}  // namespace

TEST_F(DrawingFile, NewDrawingSavedAtOnce)
{
    ByteWriter w;
    NewDrawingHeader(w, "BARQUELO 3.0");
    w.u16(1).classRecord("CLayer").str("ZP").u32(0).u16(1);  // layers
    w.u16(0).u16(0).u16(0);                                   // entities, blocks, attributes
    w.u16(0);                                                 // embedded objects
    EXPECT_EQ(Saved(doc), w.bytes());
}

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
    EXPECT_EQ(Saved(back), ReadFile(path));
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

    const Bytes resaved = Saved(old);
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
    doc.m_windowMin = CPointd(5, 5);
    doc.m_windowMax = CPointd(1, 1);  // reversed
    const std::string path = Path("odd.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_gridStep, 0.05);
    EXPECT_LE(back.m_coordDecimals, 12);
    EXPECT_EQ(back.m_toolWords[TW_CAMERA], 0);
    EXPECT_EQ(back.m_toolWords[TW_LIGHT], 5);
    EXPECT_LT(back.m_windowMin.x, back.m_windowMax.x);
    EXPECT_LT(back.m_windowMin.y, back.m_windowMax.y);

    doc.m_gridStep = 0.001;
    ASSERT_TRUE(doc.OnSaveDocument(path));
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.m_gridStep, 0.001);
}

TEST_F(DrawingFile, ToolWordsAreSixteenBits)
{
    doc.m_toolWords[1] = 70000;
    doc.m_toolWords[20] = -1;
    CRectaDoc back;
    Bytes bytes = Saved(doc);
    CArchive in(bytes);
    back.Serialize(in);
    EXPECT_EQ(back.m_toolWords[1], 4464);
    EXPECT_EQ(back.m_toolWords[20], 65535);
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
    const Bytes good = Saved(doc);
    const std::string path = Path("bad.zpd");

    CRectaDoc open;
    open.OnNewDocument();
    open.m_gridStep = 0.125;
    SetLastLayerName("MINE");
    open.AddLayer(0, 1);
    open.SetPathName("/somewhere/mine.zpd");
    const Bytes before = Saved(open);

    auto expectUntouched = [&](const Bytes& bytes, const char* what) {
        WriteFile(path, bytes);
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(open.OnOpenDocument(path)) << what;
        ASSERT_EQ(boxes.asked.size(), 1u) << what;
        EXPECT_NE(boxes.asked[0].find(path), std::string::npos);
        EXPECT_EQ(Saved(open), before) << what;
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
        const Bytes bytes = ReadFile(entry.path().string());
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

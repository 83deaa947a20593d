// A drawing holding every entity kind: it opens, saves byte for byte as it
// was, and shows as the reference picture.
#include "model/bloq.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "platform/fileio.h"
#include "res/hatchpatterns.h"
#include "support/blocks.h"
#include "support/pixels.h"
#include "view_fixture.h"

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <numbers>

namespace {

const std::string kData = ZP_TEST_DATA;
const std::string kDrawing = kData + "/every_kind.zpd";
const std::string kReference = kData + "/every_kind.png";

std::vector<BYTE> Bytes(const std::string& path)
{
    std::vector<BYTE> bytes;
    std::string error;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 20, bytes, error)) << error;
    return bytes;
}

// Set ZP_UPDATE_REFERENCE to write the stored drawing and picture again.
bool Updating()
{
    return std::getenv("ZP_UPDATE_REFERENCE") != nullptr;
}

CArc* NewArc(double cx, double cy, double r, double start, double end)
{
    auto* arc = new CArc(1, 0, "ZP", 0, 0, 0, 0, 1);
    arc->m_centre = CPointd(cx, cy);
    arc->m_rx = arc->m_ry = r;
    arc->m_start = start;
    arc->m_end = end;
    return arc;
}

// Every kind, a hatch first in the list; the bitmap names a file beside the drawing.
void Build(CRectaDoc& doc)
{
    doc.AddHatchOnLayer(1, RGB(255, 0, 0), "ZP", HATCH_SOLID, CPointd(3, 5));
    doc.AddRectaOnLayer(1, 0, "ZP", CPointd(0.5, 0.5), CPointd(11.5, 0.5));
    doc.AddCircOnLayer(1, RGB(0, 0, 160), "ZP", CPointd(3, 5), 1.2);
    doc.AddArcOnLayer(2, 0, "ZP", CPointd(8, 5), 1, 0, std::numbers::pi);
    doc.AddPuntOnLayer(1, 0, "ZP", CPointd(6, 1));
    doc.AddTextOnLayer(1, RGB(0, 128, 0), "ZP", CPointd(0.7, 7), 1, "ZEPA", doc.m_textFont);
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, NewLine(5, 2, 7, 2)));
    segments.AddTail(new CDib(ENT_ARC, NewArc(7, 2.5, 0.5, -std::numbers::pi / 2, std::numbers::pi / 2)));
    doc.AddPLineOnLayer(1, 0, "ZP", segments);
    auto* ring = new CCirc(1, 0, "ZP", 0, 0, 0, 0, 1);
    ring->m_rx = ring->m_ry = 0.5;
    AddNamedBlock(doc, "B", {{ENT_HATCH, new CHatch(1, RGB(0, 0, 255), "ZP", HATCH_SOLID, CPointd())},
                             {ENT_CIRCLE, ring},
                             {ENT_LINE, NewLine(-0.8, -0.8, 0.8, -0.8)}});
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(9.5, 2), 1, 0.3, 1, "B");
    doc.AddLinearDim(1, 0, "ZP", CPointd(1, 1.5), CPointd(5, 1.5), CPointd(3, 2.1));
    const CPointd face[4] = {{6, 6}, {7.5, 6}, {7.5, 7.5}, {6, 7.5}};
    doc.AddTdfaceOnLayer(1, RGB(128, 0, 128), "ZP", face);
    CHatch* pattern = doc.AddHatchOnLayer(1, 0, "ZP", HATCH_PATTERN, CPointd(10.5, 6.5));
    pattern->SetPattern(HatchPatterns()[0].image);
    doc.AddHatchOnLayer(1, RGB(255, 200, 0), "ZP", HATCH_SWATCH, CPointd(60, 30));
    doc.AddBmpOnLayer(1, 0, "ZP", "every_kind.bmp", CPointd(9.2, 3.4), 2, 1);  // the file keeps whole units
    doc.CalcExtents();
}

// Runs in the data folder, where the drawing's bitmap is.
class InDataFolder {
public:
    InDataFolder() : m_old(std::filesystem::current_path()) { std::filesystem::current_path(kData); }
    ~InDataFolder() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

}  // namespace

TEST(EveryKind, OpensAndSavesByteForByte)
{
    QTemporaryDir dir;
    const std::string built = dir.filePath("built.zpd").toStdString();
    CRectaDoc doc;
    doc.OnNewDocument();
    Build(doc);
    for (int type : {ENT_LINE, ENT_CIRCLE, ENT_ARC, ENT_POINT, ENT_TEXT, ENT_PLINE, ENT_INSERT, ENT_DIMENSION,
                     ENT_3DFACE, ENT_HATCH, ENT_BITMAP}) {
        bool found = false;
        for (CObject* e : doc.GetEntityList())
            found |= static_cast<CDib*>(e)->m_type == type;
        EXPECT_TRUE(found) << type;
    }
    ASSERT_TRUE(doc.OnSaveDocument(Updating() ? kDrawing : built));
    if (!Updating()) {
        EXPECT_EQ(Bytes(built), Bytes(kDrawing)) << "the stored drawing is what this build writes";
    }

    CRectaDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(kDrawing));
    const std::string again = dir.filePath("again.zpd").toStdString();
    ASSERT_TRUE(opened.OnSaveDocument(again));
    EXPECT_EQ(Bytes(again), Bytes(kDrawing));
}

class EveryKindShown : public ViewTest {};

TEST_F(EveryKindShown, AsTheReferencePicture)
{
    InDataFolder here;
    ASSERT_TRUE(doc.OnOpenDocument(kDrawing));
    doc.m_windowMin = CPointd(0, 0);
    doc.m_windowMax = CPointd(12, 8);
    view.OnInitialUpdate();
    const QImage shown = view.Image().convertToFormat(QImage::Format_RGB32);
    if (Updating()) {
        ASSERT_TRUE(shown.save(QString::fromStdString(kReference)));
    }

    const QImage reference = QImage(QString::fromStdString(kReference)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reference.size(), shown.size());
    int differ = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
            differ += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 96;
        }
    EXPECT_LE(differ, shown.width() * shown.height() / 200) << "at most half a percent of the pixels differ";
    EXPECT_GT(CountPixels(shown, 0xFF0000), 1000) << "the hatch listed first fills its ring";
    EXPECT_GT(CountPixels(shown, 0x0000FF), 100) << "the hatch in the block fills the block's ring";
}

// The clipboard: records copied from one drawing and pasted into another with
// one undo state; data that do not read as a drawing add nothing; the area
// copy puts a picture there.
#include "support/pixels.h"
#include "view2d/clipboard.h"

#include "model/bloq.h"
#include "model/hatch.h"
#include "model/text.h"
#include "model/insbl.h"
#include "model/ucs.h"
#include "platform/archive.h"
#include "platform/logfont.h"
#include "platform/metafile.h"
#include "support/blocks.h"
#include "support/bmpfile.h"
#include "support/scripted_dialogs.h"
#include "view_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

class Clipboard : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        other.OnNewDocument();
        Open(other, otherView);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        other.RemoveView(&otherView);
        ViewTest::TearDown();
    }
    POSITION Add(CRectaDoc& d, int type, CObject* e)
    {
        d.AppendEntityRecord(new CDib(type, e));
        return d.GetLastEntityPosition();
    }
    static void Put(const QByteArray& bytes)
    {
        auto* data = new QMimeData;
        data->setData(kZpFormatMime, bytes);
        QGuiApplication::clipboard()->setMimeData(data);
    }
    static QByteArray Held() { return QGuiApplication::clipboard()->mimeData()->data(kZpFormatMime); }

    CRectaDoc other;
    CRectaView otherView;
};

TEST_F(Clipboard, CopiedRecordsPasteIntoAnotherDrawingAndUndo)
{
    doc.AddLayer(RGB(0, 0, 255), 1)->m_name = "PARTS";
    AddNamedBlock(doc, "Bolt", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    CRecta* line = NewLine(1, 1, 5, 2);
    line->m_layer = "PARTS";
    view.SelectEntity(ENT_LINE, Add(doc, ENT_LINE, line));
    view.SelectEntity(ENT_INSERT, Add(doc, ENT_INSERT, NewInsert("Bolt", 3, 3)));
    Add(doc, ENT_LINE, NewLine(7, 7, 8, 8));  // not selected
    CopyObjectsToClipboard(view);
    ASSERT_FALSE(Held().isEmpty());

    const int before = int(other.GetEntityList().GetCount());
    other.SetModifiedFlag(false);
    PasteObjectsFromClipboard(otherView);
    ASSERT_EQ(int(other.GetEntityList().GetCount()), before + 2);
    EXPECT_TRUE(other.IsModified());
    EXPECT_EQ(otherView.UndoStateCount(), 1);
    CLayer* layer = nullptr;
    ASSERT_TRUE(other.FindLayer("PARTS", layer)) << "the layer comes along";
    EXPECT_EQ(layer->m_color, RGB(0, 0, 255));
    ASSERT_NE(other.FindBlock("Bolt"), nullptr) << "and the block the insert needs";
    POSITION pos = other.GetFirstEntityPosition();
    for (int i = 0; i < before; ++i)
        other.GetEntityList().GetNext(pos);
    int type = 0;
    const auto* pasted = static_cast<const CRecta*>(other.GetEntityAt(pos, type));
    ASSERT_EQ(type, ENT_LINE);
    EXPECT_EQ(pasted->m_p2, CPointd(5, 2));
    EXPECT_EQ(pasted->m_layer, "PARTS");
    EXPECT_EQ(other.GetEntityRecord(pos)->m_visible, 1);
    EXPECT_LE(other.m_extMin.x, 1.0) << "the extents take the pasted records";

    otherView.DoUndo();
    EXPECT_EQ(int(other.GetEntityList().GetCount()), before);
    otherView.DoRedo();
    EXPECT_EQ(int(other.GetEntityList().GetCount()), before + 2);

    // The same data paste again into the drawing they came from.
    const int own = int(doc.GetEntityList().GetCount());
    PasteObjectsFromClipboard(view);
    EXPECT_EQ(int(doc.GetEntityList().GetCount()), own + 2);
}

// Under a working plane the records travel in world coordinates, and what is
// pasted under a plane enters it like the drawing's own records.
TEST_F(Clipboard, RecordsTravelInTheWorldUnderAPlane)
{
    const CPointd w(0, -1, 0);
    ASSERT_TRUE(view.SetWorkingPlane(CPointd(0, 0), CPointd(1, 0), CPointd(), CPointd(), PLANE_VERTICAL));
    CRecta* drawn = LineFrom(1, 2, 3, 2);
    view.SelectEntity(ENT_LINE, doc.GetLastEntityPosition());
    CopyObjectsToClipboard(view);
    EXPECT_EQ(drawn->m_p1, CPointd(1, 2)) << "the drawing is not changed";

    PasteObjectsFromClipboard(otherView);
    const auto* pasted = static_cast<const CRecta*>(other.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(pasted->m_p1, CPointd(1, 0, 2));
    EXPECT_EQ(pasted->m_p2, CPointd(3, 0, 2));
    EXPECT_EQ(pasted->m_extrusionMode, EXTRUSION_THICK);
    EXPECT_EQ(pasted->m_dir, w);

    // Back under the plane it shows where the original does; a flat line hides.
    PasteObjectsFromClipboard(view);
    auto* back = static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity);
    EXPECT_EQ(back->m_p1, drawn->m_p1);
    EXPECT_EQ(back->m_p2, drawn->m_p2);
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 1);
    CRecta* flat = NewLine(4, 4, 6, 4);
    flat->m_layer = other.m_layerName;
    Add(other, ENT_LINE, flat);
    otherView.SelectEntity(ENT_LINE, other.GetLastEntityPosition());
    CopyObjectsToClipboard(otherView);
    PasteObjectsFromClipboard(view);
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 0) << "not in the plane";

    view.ToWorldSystem();
    EXPECT_EQ(back->m_p1, CPointd(1, 0, 2));
    EXPECT_EQ(static_cast<CRecta*>(doc.GetLastEntityRecord()->m_entity)->m_p1, CPointd(4, 4));
    EXPECT_EQ(doc.GetLastEntityRecord()->m_visible, 1);
}

// Data that come from anywhere are read like a drawing file: anything that
// does not read whole adds nothing and says so once.
TEST_F(Clipboard, DataThatDoNotReadAddNothing)
{
    view.SelectEntity(ENT_LINE, Add(doc, ENT_LINE, NewLine(1, 1, 5, 2)));
    CopyObjectsToClipboard(view);
    const QByteArray good = Held();
    const int before = int(other.GetEntityList().GetCount());
    const int layers = int(other.GetLayerList().GetCount());
    for (const QByteArray& bad : {QByteArray("not a drawing"), good.left(good.size() / 2), good.left(40), QByteArray()}) {
        Put(bad);
        ScriptedMessageBoxes boxes({IDOK});
        PasteObjectsFromClipboard(otherView);
        EXPECT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(int(other.GetEntityList().GetCount()), before);
        EXPECT_EQ(int(other.GetLayerList().GetCount()), layers);
        EXPECT_EQ(otherView.UndoStateCount(), 0);
    }
    QGuiApplication::clipboard()->setText("just text");
    PasteObjectsFromClipboard(otherView);  // nothing of ours: nothing happens
    EXPECT_EQ(int(other.GetEntityList().GetCount()), before);
}

TEST_F(Clipboard, NothingSelectedCopiesNothing)
{
    QGuiApplication::clipboard()->setText("kept");
    CopyObjectsToClipboard(view);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

TEST_F(Clipboard, AreaCopyIsAPicture)
{
    CRecta* line = NewLine(1, 1, 5, 2);
    line->m_color = RGB(255, 0, 0);
    Add(doc, ENT_LINE, line);
    CopyAreaToClipboardAsMetafile(view, CPointd(6, 3), CPointd(0, 0));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("image/svg+xml"));
    EXPECT_TRUE(data->data("image/svg+xml").startsWith("<?xml"));
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.width(), 6 * 37);
    EXPECT_EQ(image.height(), 3 * 37);
    EXPECT_GT(CountPixels(image, 0xFF0000), 0);

    QGuiApplication::clipboard()->setText("kept");
    CopyAreaToClipboardAsMetafile(view, CPointd(2, 2), CPointd(2, 9));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept") << "an area of no width";
    AreaPicture big;
    ASSERT_TRUE(MakeAreaPicture(doc, CPointd(0, 0), CPointd(1000, 1), big));
    EXPECT_EQ(big.image.width(), 4096) << "a large area is scaled down";
}

// An area copy that holds more than its plays pay for says that part of it
// is left out: here bitmaps over the whole area, more of them than one play
// pays for at one unit a pixel.
TEST_F(Clipboard, AreaCopyCutShortSaysSo)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("dot.bmp").toStdString();
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(qRgb(0, 0, 255));
    WriteFile(path, MakeBmp(dot));
    // 100 x 75 units copy as 3700 x 2775 pixels.
    const int bitmaps = int(CMetaPlayBudget::kRepaintWork / (3700 * 2775)) + 2;
    for (int i = 0; i < bitmaps; ++i)
        doc.AddBmpOnLayer(1, 0, "ZP", path, CPointd(0, 0), 100, 75);
    CopyAreaToClipboardAsMetafile(view, CPointd(0, 0), CPointd(4, 3));
    EXPECT_EQ(view.PromptBuffer().find("left out"), std::string::npos) << "a small area is whole";
    CopyAreaToClipboardAsMetafile(view, CPointd(0, 0), CPointd(100, 75));
    const QImage image = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    EXPECT_EQ(image.size(), QSize(3700, 2775));
    EXPECT_GT(CountPixels(image, 0x0000FF), 3700 * 2775 / 2) << "what was paid for";
    EXPECT_EQ(view.PromptBuffer(), "WMFCopy: part of the area is left out");
}

// The SVG holds the strokes and texts themselves, which other programs scale,
// not an image of them; a solid hatch comes as a filled shape.
TEST_F(Clipboard, AreaCopyIsVectorSvg)
{
    CRecta* line = NewLine(1, 1, 5, 2);
    line->m_color = RGB(255, 0, 0);
    Add(doc, ENT_LINE, line);
    auto* text = new CText(1, RGB(0, 0, 255), "ZP");
    text->m_text = "Plan 1";
    text->m_insert = CPointd(1, 3);
    text->m_justify = JUSTIFY_LEFT;
    text->m_font.lfHeight = 50;
    SetFaceName(text->m_font, "Arial");
    Add(doc, ENT_TEXT, text);
    for (const auto& [a, b] : {std::pair{CPointd(0, 0), CPointd(2, 0)}, {CPointd(2, 0), CPointd(2, 2)},
                               {CPointd(2, 2), CPointd(0, 2)}, {CPointd(0, 2), CPointd(0, 0)}})
        Add(doc, ENT_LINE, NewLine(a.x + 3, a.y + 0.5, b.x + 3, b.y + 0.5));
    Add(doc, ENT_HATCH, new CHatch(1, RGB(0, 160, 0), "ZP", HATCH_SOLID, CPointd(4, 1.5)));
    CopyAreaToClipboardAsMetafile(view, CPointd(0, 0), CPointd(6, 4));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QString svg = QString::fromUtf8(data->data("image/svg+xml"));
    EXPECT_FALSE(svg.contains("<image")) << "no picture inside the SVG";
    EXPECT_TRUE(svg.contains("<polyline") || svg.contains("<path")) << "the line as a stroke";
    EXPECT_TRUE(svg.contains("#ff0000")) << "in its colour";
    EXPECT_TRUE(svg.contains("<text")) << "the text as text";
    EXPECT_TRUE(svg.contains("Plan 1"));
    EXPECT_TRUE(svg.contains("fill=\"#00a000\"")) << "the hatch fill";
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_GT(CountPixels(image, 0x00A000), 37 * 37) << "and the image has the same fill";
    EXPECT_GT(CountPixels(image, 0x0000FF), 0);
    if (HasFailure())
        ADD_FAILURE() << svg.toStdString();
}

}  // namespace

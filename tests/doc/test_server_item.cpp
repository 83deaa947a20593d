// The drawing as an embedded item: its extent, the picture it records from
// its first plan view, the records that picture leaves out, its data, and
// the document that owns it.
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "model/dib.h"
#include "model/hatch.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "platform/imagedc.h"
#include "platform/recordingdc.h"
#include "support/blocks.h"
#include "support/pixels.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

// A plan view as the document sees it: an origin and a zoom state.
class PlanStub : public CView {
public:
    PlanStub(double ox, double oy, int zoom) : m_ox(ox), m_oy(oy), m_zoom(zoom) {}
    bool GetOriginAndZoom(double& ox, double& oy, int& zoom) const override
    {
        ox = m_ox;
        oy = m_oy;
        zoom = m_zoom;
        return true;
    }
    double m_ox, m_oy;
    int m_zoom;
};

// A view that is no plan view (a 3D view).
class OtherView : public CView {};

class ServerItem : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        doc.m_windowMin = CPointd(0, 0);
        doc.m_windowMax = CPointd(10, 5);
    }
    void TearDown() override
    {
        doc.RemoveView(&plan);
        doc.RemoveView(&other);
    }

    CRecta* Line(double x1, double y1, double x2, double y2, COLORREF colour, const char* layer = "ZP",
                 int visible = 1, int flag = 1)
    {
        CRecta* line = NewLine(x1, y1, x2, y2);
        line->m_color = colour;
        line->m_layer = layer;
        auto* record = new CDib(ENT_LINE, line, visible);
        record->m_flag = flag;
        doc.AppendEntityRecord(record);
        return line;
    }
    // The picture the item records, played into a width x height image.
    QImage Picture(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        CImageDC dc(&image);
        CRectaSrvrItem item(&doc);
        item.RecordPicture().Play(dc, {0, 0, width, height});
        return image;
    }

public:
    CRectaDoc doc;
    PlanStub plan{0, 0, 0};
    OtherView other;
};

// The window's corners land on the target's corner pixels, wherever the target is.
TEST_F(ServerItem, WindowFillsThePicture)
{
    doc.AddView(&plan);
    Line(0, 5, 10, 0, RGB(0, 0, 0));
    CRectaSrvrItem item(&doc);
    const CMetaFile picture = item.RecordPicture();
    ASSERT_FALSE(picture.IsEmpty());
    QImage image(300, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(&image);
        ASSERT_TRUE(picture.Play(dc, {50, 20, 250, 120}));
    }
    int xlo = 999, xhi = -1, ylo = 999, yhi = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                xlo = std::min(xlo, x), xhi = std::max(xhi, x);
                ylo = std::min(ylo, y), yhi = std::max(yhi, y);
            }
    EXPECT_EQ(xlo, 50);
    EXPECT_EQ(ylo, 20);
    // The far corner lies on the target's edge, one past its last pixels.
    EXPECT_EQ(xhi, 248);
    EXPECT_EQ(yhi, 119);
    EXPECT_EQ(image.pixel(50, 20) & 0xFFFFFF, 0u);
}

// A centimetre a drawing unit, the pixels a centimetre (37 at 96 an inch) counted whole.
TEST_F(ServerItem, ExtentOfTheWindow)
{
    const struct {
        double w, h;
        bool ok;
        std::int64_t cx, cy;
    } rows[] = {
        {10, 5, true, 9790, 4895},
        {1, 1, true, 979, 979},
        {0.5, 2, true, 503, 1958},  // 18.5 pixels round to 19
        {0, 3, true, 0, 2937},
        {1e6, 1, false, 0, 0},  // beyond 100000 pixels
        {1, 1e6, false, 0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 1, false, 0, 0},
        {std::numeric_limits<double>::infinity(), 1, false, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.w);
        doc.m_windowMax = CPointd(r.w, r.h);
        CRectaSrvrItem item(&doc);
        LSize size{-1, -1};
        ASSERT_EQ(item.OnGetExtent(DVASPECT_CONTENT, size), r.ok);
        if (r.ok) {
            EXPECT_EQ(size.cx, r.cx);
            EXPECT_EQ(size.cy, r.cy);
        }
        EXPECT_FALSE(item.OnGetExtent(DVASPECT_ICON, size)) << "only the content has a size";
    }
    const CWindowPicture window(doc, CPointd(0, 0), CPointd(1, 1));
    LSize size;
    EXPECT_FALSE(window.ExtentPixels(size, 0)) << "a screen without pixels";
    EXPECT_FALSE(window.ExtentHimetric(size, 0));
    // An item without a document has no size and draws nothing.
    CRectaSrvrItem orphan(nullptr);
    EXPECT_FALSE(orphan.OnGetExtent(DVASPECT_CONTENT, size));
    CRecordingDC rec;
    EXPECT_FALSE(orphan.OnDraw(rec, size));
    EXPECT_FALSE(orphan.IsEmbeddedItem());
    EXPECT_TRUE(rec.Calls().empty());
}

// The picture's window: 100 units a drawing unit, y up, from the view's origin.
TEST_F(ServerItem, DrawsAtTheViewsOrigin)
{
    plan.m_ox = 2;
    plan.m_oy = 1;
    doc.AddView(&plan);
    Line(2, 1, 3.5, 2.25, RGB(0, 0, 0));
    CRectaSrvrItem item(&doc);
    CRecordingDC rec;
    LSize size;
    ASSERT_TRUE(item.OnDraw(rec, size));
    const std::vector<DCCall> calls = rec.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].ToString(), "SetMapMode(8)");
    EXPECT_EQ(calls[1].ToString(), "SetWindowExt(1000,-500)");
    EXPECT_EQ(calls[2].ToString(), "SetWindowOrg(0,500)");
    ASSERT_EQ(rec.CallsNamed("MoveTo").size(), 1u);
    EXPECT_EQ(rec.CallsNamed("MoveTo")[0].ToString(), "MoveTo(0,0)");
    EXPECT_EQ(rec.CallsNamed("LineTo")[0].ToString(), "LineTo(150,125)");
}

// Without a plan view, or with a window no extent can hold, nothing is drawn.
TEST_F(ServerItem, RefusesWithoutAViewOrAWindow)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        std::function<void(ServerItem&)> set;
        bool draws;
    } rows[] = {
        {"no view", [](ServerItem&) {}, false},
        {"only a view that is no plan view", [](ServerItem& t) { t.doc.AddView(&t.other); }, false},
        {"no width",
         [](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMax = CPointd(0.001, 5);
         },
         false},
        {"no height",
         [](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMax = CPointd(10, 0);
         },
         false},
        {"not a number",
         [nan](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMin = CPointd(nan, 0);
         },
         false},
        {"wider than an extent holds",
         [](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMax = CPointd(21474836.48, 5);
         },
         false},
        {"higher than an extent holds",
         [](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMin = CPointd(0, -21474836.48);
             t.doc.m_windowMax = CPointd(10, 0);
         },
         false},
        {"as wide as an extent holds",
         [](ServerItem& t) {
             t.doc.AddView(&t.plan);
             t.doc.m_windowMax = CPointd(21474836.47, 21474836.47);
         },
         true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        SetUp();
        r.set(*this);
        Line(1, 1, 4, 4, RGB(0, 0, 0));
        CRectaSrvrItem item(&doc);
        CRecordingDC rec;
        LSize size;
        EXPECT_EQ(item.OnDraw(rec, size), r.draws);
        EXPECT_EQ(rec.Calls().empty(), !r.draws);
        EXPECT_EQ(item.RecordPicture().IsEmpty(), !r.draws);
        TearDown();
    }
    // The first plan view answers, past the views that are not.
    SetUp();
    doc.AddView(&other);
    doc.AddView(&plan);
    Line(1, 1, 4, 4, RGB(0, 0, 0));
    CRectaSrvrItem item(&doc);
    CRecordingDC rec;
    LSize size;
    EXPECT_TRUE(item.OnDraw(rec, size));
}

// What the view hides stays out: records whose visible or flag word is not 1,
// hatches on layers that are off, and what lies outside the window unless the
// view is zooming to the extents, except hatches, which the window decides.
TEST_F(ServerItem, LeavesOutWhatIsNotShown)
{
    doc.AddLayer(0, 0)->m_name = "OFF";
    // A closed box (1,1)-(4,4) holding a hatch seed, and one outside the window.
    auto box = [&](double x, double y, COLORREF c) {
        Line(x, y, x + 3, y, c);
        Line(x + 3, y, x + 3, y + 3, c);
        Line(x + 3, y + 3, x, y + 3, c);
        Line(x, y + 3, x, y, c);
    };
    box(1, 1, RGB(0, 0, 0));
    box(12, 1, RGB(0, 0, 0));
    Line(5, 1, 9, 1, RGB(0, 0, 255), "OFF", 0);              // on a layer that is off: hidden
    Line(5, 2, 9, 2, RGB(0, 200, 0), "ZP", 0);               // hidden
    Line(5, 3, 9, 3, RGB(200, 0, 200), "ZP", 1, 0);          // flag word 0
    Line(20, 1, 25, 4, RGB(255, 0, 0));                      // outside the window
    doc.AppendEntityRecord(new CDib(ENT_HATCH, new CHatch(1, RGB(0, 160, 160), "ZP", HATCH_SOLID, CPointd(2, 2))));
    doc.AppendEntityRecord(new CDib(ENT_HATCH, new CHatch(1, RGB(160, 160, 0), "OFF", HATCH_SOLID, CPointd(6, 4))));
    doc.AppendEntityRecord(new CDib(ENT_HATCH, new CHatch(1, RGB(90, 0, 0), "ZP", HATCH_SOLID, CPointd(13, 2))));

    // With the view's origin 15 units to the right the far box and line come
    // into the picture, though not into the document's window.
    const struct {
        int zoom;
        double ox;
        bool nearHatch, farLine;
    } rows[] = {{0, 0, true, false}, {3, 0, true, false}, {0, 15, false, false}, {3, 15, false, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.zoom << " " << r.ox);
        plan.m_zoom = r.zoom;
        plan.m_ox = r.ox;
        doc.AddView(&plan);
        const QImage image = Picture(400, 200);
        doc.RemoveView(&plan);
        EXPECT_EQ(CountPixels(image, 0x00A0A0) > 100, r.nearHatch) << "the hatch in the window fills its box";
        EXPECT_EQ(CountPixels(image, 0xFF0000) > 0, r.farLine);
        EXPECT_EQ(CountPixels(image, 0x000000) > 0, r.ox == 0 || r.zoom == 3) << "the box in the picture";
        EXPECT_EQ(CountPixels(image, 0x0000FF), 0) << "a layer that is off";
        EXPECT_EQ(CountPixels(image, 0x00C800), 0) << "visible word 0";
        EXPECT_EQ(CountPixels(image, 0xC800C8), 0) << "flag word 0";
        EXPECT_EQ(CountPixels(image, 0xA0A000), 0) << "a hatch on a layer that is off";
        EXPECT_EQ(CountPixels(image, 0x5A0000), 0) << "a hatch outside the window, whatever the zoom state";
    }
}

// The embedded item writes the whole drawing file; any other item writes nothing.
TEST_F(ServerItem, SavesTheDrawingOnlyAsTheEmbeddedItem)
{
    Line(1, 1, 4, 4, RGB(0, 0, 0));
    CArchive whole;
    doc.Serialize(whole);
    COleServerItem* embedded = doc.GetEmbeddedItem();
    ASSERT_NE(embedded, nullptr);
    EXPECT_EQ(embedded, doc.GetEmbeddedItem()) << "made once";
    EXPECT_EQ(embedded->GetDocument(), &doc);
    ASSERT_NE(dynamic_cast<CRectaSrvrItem*>(embedded), nullptr);
    EXPECT_TRUE(embedded->IsEmbeddedItem());
    CArchive stored;
    embedded->Serialize(stored);
    ASSERT_GT(whole.Data().size(), 0u);
    EXPECT_TRUE(std::equal(whole.Data().begin(), whole.Data().end(), stored.Data().begin(), stored.Data().end()));

    CRectaSrvrItem another(&doc);
    EXPECT_FALSE(another.IsEmbeddedItem());
    CArchive nothing;
    another.Serialize(nothing);
    EXPECT_EQ(nothing.Data().size(), 0u);

    // Loading through the embedded item reads the drawing back.
    const std::vector<BYTE> bytes(stored.Data().begin(), stored.Data().end());
    CRectaDoc copy;
    copy.OnNewDocument();
    CArchive load(bytes);
    copy.GetEmbeddedItem()->Serialize(load);
    EXPECT_EQ(copy.GetEntityList().GetCount(), doc.GetEntityList().GetCount());
}

}  // namespace

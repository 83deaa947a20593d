#include "platform/imagedc.h"
#include "platform/metafile.h"
#include "platform/recordingdc.h"
#include "platform/tracker.h"
#include "support/item_pictures.h"
#include "support/bmpfile.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"
#include "support/stored.h"
#include "view_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records what the view asks of its window.
class RecordingHost : public CViewHost {
public:
    void UpdateWindow() override { ++updates; }
    void SetMouseCapture(bool capture) override { captured = capture; }
    void SetCursorShape(ViewCursor cursor) override { cursors.push_back(cursor); }
    int updates = 0;
    bool captured = true;
    std::vector<ViewCursor> cursors;
};

// A drag for the test's length: the path after the press, the last point where the button goes up.
class ScriptedDrag {
public:
    explicit ScriptedDrag(std::vector<LPoint> path)
    {
        m_previous = SetDragScript([path](LPoint) { return path; });
    }
    ~ScriptedDrag() { SetDragScript(m_previous); }

private:
    DragScript m_previous;
};

class ItemViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        view.SetHost(&host);
    }
    void TearDown() override
    {
        view.SetHost(nullptr);
        ViewTest::TearDown();
    }

    // A picture object of w x h pixels at the device rectangle's top-left (x, y).
    CRectaCntrItem* AddPicture(int x, int y, int w, int h, QRgb colour = 0xFF0000, bool linked = false)
    {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        if (linked) {
            const std::string path = Path("linked" + std::to_string(doc.GetItems().size()) + ".png");
            WriteFile(path, PictureBytes(w, h, colour));
            EXPECT_TRUE(item->CreatePictureFromFile(path, true, error)) << error;
        } else {
            EXPECT_TRUE(item->CreatePictureFromBytes(PictureBytes(w, h, colour), "p.png", error)) << error;
        }
        CRectaCntrItem* added = doc.AddItem(std::move(item));
        added->m_rect = CRect(x, y, x + w, y + h);
        added->RectToWorldPoints(view);
        return added;
    }
    CRectaCntrItem* AddDrawing(int x, int y)
    {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        EXPECT_TRUE(MakeDrawingItem(*item, EmptyDrawingBytes(), "Zepa Drawing", error)) << error;
        CRectaCntrItem* added = doc.AddItem(std::move(item));
        added->Place(CRect(x, y, x, y), view);
        added->UpdateExtent(view);
        return added;
    }
    std::string Path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    QRgb PixelAt(int x, int y) { return view.Image().pixel(x, y) & 0xFFFFFF; }

    QTemporaryDir dir;
    RecordingHost host;
};

FormAnswer InsertAnswer(bool fromFile, const std::string& kind, const std::string& file, bool link)
{
    return OkWith({{"fromFile", fromFile ? "1" : "0"}, {"kind", kind}, {"file", file}, {"link", link ? "1" : "0"}});
}

}  // namespace

// ---------------------------------------------------------------- inserting

TEST_F(ItemViewTest, InsertedObjectTakesItsSizeIsSelectedAndANewDrawingRunsInPlace)
{
    FakeDrawingServer server;
    const std::string png = Path("pic.png"), zpd = Path("plan.zpd");
    WriteFile(png, PictureBytes(60, 30, 0x00FF00));
    WriteFile(zpd, EmptyDrawingBytes());
    const struct {
        const char* what;
        FormAnswer answer;
        OleObjectKind kind;
        bool linked;
        std::int64_t w, h;  // pixels
        bool runs;
    } rows[] = {
        {"new drawing", InsertAnswer(false, "Zepa Drawing", "", false), OleObjectKind::drawing, false, 444, 296, true},
        {"picture from a file", InsertAnswer(true, "Zepa Drawing", png, false), OleObjectKind::picture, false, 60, 30,
         false},
        {"linked picture", InsertAnswer(true, "Zepa Drawing", png, true), OleObjectKind::picture, true, 60, 30, false},
        {"drawing from a file", InsertAnswer(true, "Picture", zpd, false), OleObjectKind::drawing, false, 444, 296,
         false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ScriptedForms forms;
        forms.Expect("INSERTOBJECT", r.answer);
        doc.SetModifiedFlag(false);
        const std::size_t runs = server.runs.size();
        ASSERT_TRUE(view.OnCommand(ID_OLE_INSERT_NEW));
        ASSERT_FALSE(doc.GetItems().empty());
        auto* item = static_cast<CRectaCntrItem*>(doc.GetItems().at(doc.GetItems().size() - 1));
        EXPECT_EQ(item->GetKind(), r.kind);
        EXPECT_EQ(item->IsLinked(), r.linked);
        EXPECT_EQ(item->m_rect, CRect(0, 0, LONG(r.w), LONG(r.h)));
        EXPECT_EQ(item->m_corner1, view.DeviceToWorld(CPoint{0, 0}));
        EXPECT_TRUE(view.IsSelected(item));
        EXPECT_TRUE(doc.IsModified());
        ASSERT_EQ(server.runs.size(), runs + (r.runs ? 1 : 0));
        if (r.runs) {
            EXPECT_EQ(server.runs.back().item, item);
            EXPECT_FALSE(server.runs.back().open) << "shown in place";
        }
    }
}

// What cannot be made is reported with message 102 and its reason, and nothing is added.
TEST_F(ItemViewTest, ObjectThatCannotBeMadeIsReportedAndNothingIsAdded)
{
    const std::string text = Path("notes.txt"), zpd = Path("plan.zpd"), bad = Path("bad.zpd"),
                      huge = Path("huge.zpd");
    WriteFile(text, {'h', 'i'});
    WriteFile(zpd, EmptyDrawingBytes());
    WriteFile(bad, {'Z', 'P'});
    {
        CRectaDoc wide;
        wide.OnNewDocument();
        wide.m_windowMax = CPointd(1e6, 8);  // about 27 kilometres at a centimetre a unit
        WriteFile(huge, Stored(wide));
    }
    const struct {
        const char* what;
        FormAnswer answer;
        const char* reason;
    } rows[] = {
        {"a new picture", InsertAnswer(false, "Picture", "", false), "Create from File"},
        {"a file that is no picture", InsertAnswer(true, "Zepa Drawing", text, false), "not a picture"},
        {"a missing file", InsertAnswer(true, "Zepa Drawing", Path("gone.png"), false), "gone.png"},
        {"a linked drawing", InsertAnswer(true, "Zepa Drawing", zpd, true), "untick Link"},
        {"a damaged drawing", InsertAnswer(true, "Zepa Drawing", bad, false), "does not read"},
        {"a drawing too wide to show", InsertAnswer(true, "Zepa Drawing", huge, false), "too large"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ScriptedForms forms;
        forms.Expect("INSERTOBJECT", r.answer);
        ScriptedMessageBoxes boxes({IDOK});
        doc.SetModifiedFlag(false);
        view.OnCommand(ID_OLE_INSERT_NEW);
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0].find(kCreateObjectFailed), 0u) << boxes.asked[0];
        EXPECT_NE(boxes.asked[0].find(r.reason), std::string::npos) << boxes.asked[0];
        EXPECT_TRUE(doc.GetItems().empty());
        EXPECT_FALSE(doc.IsModified());
    }
    ScriptedForms forms;
    forms.Expect("INSERTOBJECT", CancelWith());
    forms.Expect("INSERTOBJECT", InsertAnswer(true, "Zepa Drawing", "", false));
    view.OnCommand(ID_OLE_INSERT_NEW);
    view.OnCommand(ID_OLE_INSERT_NEW);
    EXPECT_TRUE(doc.GetItems().empty()) << "cancelled, or from a file without one";
}

TEST_F(ItemViewTest, DrawingHoldingAnotherProgramsObjectsTakesNoNewOne)
{
    doc.m_embeddedItems = 1;
    doc.m_embeddedPart = {1, 0, 0};
    const std::vector<BYTE> before = Stored(doc);
    AddPicture(0, 0, 4, 4)->CopyToClipboard();
    doc.DeleteItem(static_cast<CRectaCntrItem*>(doc.GetItems().at(0)));
    ScriptedMessageBoxes boxes({IDOK, IDOK});
    view.OnCommand(ID_OLE_INSERT_NEW);
    view.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(boxes.asked.size(), 2u);
    for (const std::string& said : boxes.asked)
        EXPECT_NE(said.find("another program"), std::string::npos) << said;
    EXPECT_TRUE(doc.GetItems().empty());
    EXPECT_EQ(Stored(doc), before);
}

// An object that would take the drawing's objects past what they may hold
// together is refused, inserted or pasted.
TEST_F(ItemViewTest, ObjectPastWhatTheObjectsMayHoldIsRefused)
{
    const std::string small = Path("small.png"), large = Path("large.png");
    WriteFile(small, PictureBytes(3, 3, 0x00FF00));
    AddPicture(0, 0, 3, 3, 0x00FF00)->CopyToClipboard();
    doc.DeleteItem(static_cast<CRectaCntrItem*>(doc.GetItems().at(0)));
    WriteLargePicture(large, kMaxItemBytes / 4 - 8);  // four leave room for no picture
    for (int i = 0; i < 4; ++i) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        ASSERT_TRUE(item->CreatePictureFromFile(large, true, error)) << error;
        doc.AddItem(std::move(item));
    }
    ScriptedForms forms;
    forms.Expect("INSERTOBJECT", InsertAnswer(true, "Picture", small, false));
    ScriptedMessageBoxes boxes({IDOK, IDOK});
    view.OnCommand(ID_OLE_INSERT_NEW);
    view.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(boxes.asked.size(), 2u);
    for (const std::string& said : boxes.asked)
        EXPECT_EQ(said.find(std::string(kCreateObjectFailed) + "\nThe object cannot be added: the objects would hold"),
                  0u) << said;
    EXPECT_EQ(doc.GetItems().size(), 4u);
    std::filesystem::remove(large);
}

// ---------------------------------------------------------------- selecting, moving, resizing

TEST_F(ItemViewTest, ClickSelectsTheLastObjectUnderItAndEndsThere)
{
    CRectaCntrItem* under = AddPicture(50, 50, 100, 100);
    CRectaCntrItem* over = AddPicture(100, 100, 100, 100, 0x0000FF);
    view.OnCommand(10009);  // line
    const int records = Count();
    const struct {
        CPoint p;
        CRectaCntrItem* selected;
    } rows[] = {{{120, 120}, over}, {{60, 60}, under}, {{199, 199}, over}, {{200, 120}, nullptr}};
    for (const auto& r : rows) {
        view.OnLButtonDown(MK_LBUTTON, r.p);
        EXPECT_EQ(view.SelectedItem(), r.selected) << r.p.x << "," << r.p.y;
        EXPECT_EQ(view.IsSelected(under), r.selected == under);
        EXPECT_EQ(view.HitTestItems(r.p), r.selected);
    }
    EXPECT_EQ(view.m_bandState, 1) << "only the click outside the objects was a point";
    EXPECT_EQ(Count(), records);
    EXPECT_FALSE(view.IsSelected(nullptr));
}

TEST_F(ItemViewTest, DragMovesOrResizesTheObjectAndKeepsItInTheDrawing)
{
    CRectaCntrItem* item = AddPicture(100, 100, 80, 60);
    const struct {
        const char* what;
        CPoint press;
        std::vector<LPoint> path;
        CRect result;
    } rows[] = {
        {"move", {140, 130}, {{150, 135}, {170, 150}}, {130, 120, 210, 180}},
        {"resize at the bottom-right handle", {208, 178}, {{228, 198}}, {130, 120, 230, 200}},
        {"resize at the top-left handle", {132, 122}, {{112, 102}}, {110, 100, 230, 200}},
        {"a click without a move", {150, 150}, {}, {110, 100, 230, 200}},
    };
    view.OnLButtonDown(MK_LBUTTON, CPoint{140, 130});  // selected first, so its handles show
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        doc.SetModifiedFlag(false);
        ScriptedDrag drag(r.path);
        view.OnLButtonDown(MK_LBUTTON, r.press);
        EXPECT_EQ(item->m_rect, r.result);
        EXPECT_EQ(item->m_corner1, view.DeviceToWorld(CPoint{r.result.left, r.result.top}));
        EXPECT_EQ(item->m_corner2, view.DeviceToWorld(CPoint{r.result.right, r.result.bottom}));
        EXPECT_EQ(doc.IsModified(), !r.path.empty());
    }
    // The drawn frame is gone once the drag is over: the view's image shows the object only.
    const QImage before = view.Image();
    {
        ScriptedDrag drag({{120, 110}, {150, 150}});
        view.OnLButtonDown(MK_LBUTTON, CPoint{150, 150});
    }
    EXPECT_EQ(view.Image(), before);
}

// After a zoom an object keeps its corners and is drawn at its new device rectangle.
TEST_F(ItemViewTest, ObjectsKeepTheirCornersThroughAZoomAndAreDrawnUnderTheDrawing)
{
    CRectaCntrItem* item = AddPicture(150, 120, 40, 20, 0xFF0000);
    const CPointd c1 = item->m_corner1, c2 = item->m_corner2;
    LineFrom(c1.x - 1, (c1.y + c2.y) / 2, c2.x + 1, (c1.y + c2.y) / 2);
    view.Invalidate();
    EXPECT_EQ(Red(), 38 * 18 - 38) << "inside its frame, but for the line";
    view.ZoomByFactor(0.5);  // in: twice the scale
    EXPECT_EQ(item->m_corner1, c1);
    EXPECT_EQ(item->m_corner2, c2);
    const CRect shown = item->RectIn(view);
    EXPECT_NEAR(double(shown.Width()), 80.0, 1.0);
    ASSERT_GT(shown.left, 2);
    EXPECT_EQ(PixelAt(shown.left + 1, shown.top + 1), 0xFF0000u);
    EXPECT_EQ(PixelAt((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2), 0x000000u)
        << "the line lies over the picture";
    EXPECT_EQ(PixelAt(shown.left - 2, shown.top + 1), 0xFFFFFFu);
}

// Each view draws the objects through its own mapping, whichever view is active.
TEST_F(ItemViewTest, EveryViewDrawsTheObjectsWhereItShowsThem)
{
    CRectaCntrItem* item = AddPicture(100, 100, 40, 20, 0xFF0000);
    CRectaView other;
    Open(doc, other);
    other.ZoomByFactor(0.5);
    const CPoint a = other.WorldToDevicePoint(item->m_corner1), b = other.WorldToDevicePoint(item->m_corner2);
    const QImage& image = other.Image();
    EXPECT_EQ(image.pixel((a.x + b.x) / 2, (a.y + b.y) / 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_NEAR(double(CountPixels(image, 0xFF0000)), 78.0 * 38.0, 200.0) << "at the other view's scale";
    view.Invalidate();
    EXPECT_EQ(PixelAt(120, 110), 0xFF0000u);
    EXPECT_EQ(Red(), 38 * 18);
    doc.RemoveView(&other);
}

TEST_F(ItemViewTest, FramesShowSelectionLinkAndRunningState)
{
    FakeDrawingServer server;
    CRectaCntrItem* plain = AddPicture(20, 20, 60, 40, 0xFFFFFE);
    CRectaCntrItem* linked = AddPicture(120, 20, 60, 40, 0xFFFFFE, true);
    CRectaCntrItem* drawing = AddDrawing(20, 120);
    auto frameInk = [&](const CRectaCntrItem* item) {
        const QImage image = view.Image();
        int n = 0;
        for (int x = item->m_rect.left; x < item->m_rect.right; ++x)
            n += (image.pixel(x, item->m_rect.top) & 0xFFFFFF) == 0;
        return n;
    };
    view.Invalidate();
    EXPECT_EQ(frameInk(plain), 60) << "a solid border";
    EXPECT_LT(frameInk(linked), 40) << "a dotted border";
    EXPECT_GT(frameInk(linked), 10);
    EXPECT_NE(PixelAt(23, 23), 0x000000u);
    view.SetSelection(plain);
    view.Image();
    EXPECT_EQ(PixelAt(23, 23), 0x000000u) << "a handle inside the selected frame";
    CRectTracker tracker;
    view.SetupTracker(*drawing, tracker);
    EXPECT_EQ(tracker.m_nStyle, unsigned(CRectTracker::solidLine));
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_OPEN, &view));
    view.SetupTracker(*drawing, tracker);
    EXPECT_EQ(tracker.m_nStyle, unsigned(CRectTracker::solidLine | CRectTracker::hatchInside));
    view.SetupTracker(*linked, tracker);
    EXPECT_EQ(tracker.m_nStyle, unsigned(CRectTracker::dottedLine));
    view.SetSelection(drawing);
    view.SetupTracker(*drawing, tracker);
    EXPECT_EQ(tracker.m_nStyle,
              unsigned(CRectTracker::solidLine | CRectTracker::hatchInside | CRectTracker::resizeInside));
    drawing->Close();
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    ASSERT_EQ(drawing->GetItemState(), COleClientItem::activeUIState);
    view.SetupTracker(*drawing, tracker);
    EXPECT_TRUE(tracker.m_nStyle & CRectTracker::hatchInside) << "active in place";
}

// An object another view erased is no longer this view's selection.
TEST_F(ItemViewTest, SelectionLeavesWithItsObject)
{
    CRectaCntrItem* item = AddPicture(10, 10, 20, 20);
    view.SetSelection(item);
    ASSERT_EQ(view.SelectedItem(), item);
    CRectaView other;
    Open(doc, other);
    other.SetSelection(item);
    other.OnCommand(ID_EDIT_CLEAR);
    EXPECT_EQ(view.SelectedItem(), nullptr);
    EXPECT_FALSE(view.IsSelected(item));
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_COPY));
    view.OnCommand(ID_EDIT_COPY);
    view.OnCommand(ID_EDIT_CLEAR);
    doc.RemoveView(&other);
}

// Over an object the mouse is let go with the move cursor, or a resize cursor on a handle.
TEST_F(ItemViewTest, MouseOverAnObjectShowsTheMoveOrResizeCursor)
{
    CRectaCntrItem* item = AddPicture(100, 100, 80, 60);
    view.OnMouseMove(0, CPoint{10, 10});
    EXPECT_EQ(view.m_cursorOutside, 0);
    EXPECT_EQ(host.cursors.back(), ViewCursor::cross);
    const struct {
        CPoint p;
        bool selected;
        ViewCursor cursor;
    } rows[] = {{{150, 130}, false, ViewCursor::sizeAll}, {{101, 101}, false, ViewCursor::sizeAll},
                {{101, 101}, true, ViewCursor::sizeNWSE}, {{178, 101}, true, ViewCursor::sizeNESW},
                {{140, 101}, true, ViewCursor::sizeNS},   {{101, 130}, true, ViewCursor::sizeWE},
                {{150, 130}, true, ViewCursor::sizeAll}};
    for (const auto& r : rows) {
        view.SetSelection(r.selected ? item : nullptr);
        host.captured = true;
        view.OnMouseMove(0, r.p);
        EXPECT_EQ(host.cursors.back(), r.cursor) << r.p.x << "," << r.p.y << " " << r.selected;
        EXPECT_FALSE(host.captured);
        EXPECT_EQ(view.m_cursorOutside, 1);
    }
    EXPECT_FALSE(view.OnSetCursor(CPoint{10, 10}));
    view.OnMouseMove(0, CPoint{10, 10});
    EXPECT_EQ(view.m_cursorOutside, 0);
    EXPECT_TRUE(host.captured);
}

// ---------------------------------------------------------------- commands

TEST_F(ItemViewTest, EraseCopyAndPasteWorkOnTheSelectedObject)
{
    CRectaCntrItem* item = AddPicture(30, 40, 50, 20, 0x00FF00);
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_CLEAR));
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_COPY));
    view.SetSelection(item);
    EXPECT_TRUE(view.IsCommandEnabled(ID_EDIT_CLEAR));
    EXPECT_TRUE(view.IsCommandEnabled(ID_EDIT_COPY));
    ASSERT_TRUE(view.OnCommand(ID_EDIT_COPY));
    EXPECT_TRUE(view.IsCommandEnabled(ID_EDIT_PASTE));
    const std::vector<BYTE> data = item->ItemDataBytes();

    doc.SetModifiedFlag(false);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_CLEAR));
    EXPECT_TRUE(doc.GetItems().empty());
    EXPECT_EQ(view.SelectedItem(), nullptr);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_CLEAR));
    ASSERT_TRUE(view.OnCommand(ID_EDIT_CLEAR));  // nothing selected: nothing happens

    doc.SetModifiedFlag(false);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_PASTE));
    ASSERT_EQ(doc.GetItems().size(), 1u);
    auto* pasted = static_cast<CRectaCntrItem*>(doc.GetItems().at(0));
    EXPECT_EQ(pasted->ItemDataBytes(), data);
    EXPECT_EQ(pasted->m_rect, CRect(0, 0, 50, 20)) << "sized from its object";
    EXPECT_TRUE(view.IsSelected(pasted));
    EXPECT_TRUE(doc.IsModified());

    // Another program's picture becomes an embedded picture.
    QImage other(9, 7, QImage::Format_RGB32);
    other.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(other);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_PASTE));
    ASSERT_EQ(doc.GetItems().size(), 2u);
    EXPECT_EQ(doc.GetItems().at(1)->GetKind(), OleObjectKind::picture);
    EXPECT_EQ(static_cast<CRectaCntrItem*>(doc.GetItems().at(1))->m_rect, CRect(0, 0, 9, 7));

    QGuiApplication::clipboard()->setText("text only");
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_PASTE));
    ScriptedMessageBoxes boxes({IDOK});
    view.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].find(kCreateObjectFailed), 0u);
    EXPECT_EQ(doc.GetItems().size(), 2u);
}

// Selecting another object, or nothing, ends the run in place; so does command 32768.
TEST_F(ItemViewTest, RunInPlaceEndsWhenTheSelectionLeavesIt)
{
    FakeDrawingServer server;
    CRectaCntrItem* drawing = AddDrawing(10, 10);
    drawing->OnChangeItemPosition(CRect(10, 10, 110, 80));
    CRectaCntrItem* picture = AddPicture(300, 200, 40, 40);
    view.SetSelection(drawing);
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    EXPECT_EQ(view.InPlaceActiveItem(), drawing);
    EXPECT_TRUE(view.IsCommandEnabled(ID_CANCEL_EDIT_CNTR));
    EXPECT_TRUE(view.OnSetFocus());
    view.SetSelection(drawing);
    EXPECT_TRUE(server.closed.empty()) << "the same object stays active";
    view.OnLButtonDown(MK_LBUTTON, CPoint{310, 210});
    EXPECT_EQ(server.closed, std::vector<CRectaCntrItem*>{drawing});
    EXPECT_EQ(view.SelectedItem(), picture);
    EXPECT_FALSE(view.OnSetFocus());

    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    ASSERT_TRUE(view.OnCommand(ID_CANCEL_EDIT_CNTR));
    EXPECT_EQ(server.closed.size(), 2u);
    EXPECT_EQ(view.InPlaceActiveItem(), nullptr);
    EXPECT_FALSE(view.IsCommandEnabled(ID_CANCEL_EDIT_CNTR));

    // A resized view tells the object active in place its new rectangle.
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    std::vector<CRect> told;
    drawing->SetInPlaceSite(&view, [&](const CRect& r) { told.push_back(r); });
    told.clear();
    view.OnSize(kW / 2, kH / 2);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], drawing->RectIn(view));
    // So does a zoom.
    view.ZoomByFactor(0.5);
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told.back(), drawing->RectIn(view));
    EXPECT_NE(told.back(), told[0]);
}

// A double click is a click first, then the open verb with Ctrl, else the primary verb.
TEST_F(ItemViewTest, DoubleClickRunsTheVerbOfTheObjectUnderIt)
{
    FakeDrawingServer server;
    CRectaCntrItem* drawing = AddDrawing(10, 10);
    drawing->OnChangeItemPosition(CRect(10, 10, 110, 80));
    const struct {
        unsigned flags;
        CPoint p;
        bool runs, open;
    } rows[] = {
        {MK_LBUTTON, {20, 20}, true, false},
        {MK_LBUTTON | MK_CONTROL, {20, 20}, true, true},
        {MK_LBUTTON, {399, 299}, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.flags);
        server.runs.clear();
        drawing->Close();
        view.OnLButtonDblClk(r.flags, r.p);
        ASSERT_EQ(server.runs.size(), r.runs ? 1u : 0u);
        if (r.runs) {
            EXPECT_EQ(server.runs[0].open, r.open);
            EXPECT_EQ(server.runs[0].item, drawing);
            EXPECT_EQ(view.SelectedItem(), drawing);
        }
    }
}

TEST_F(ItemViewTest, PrintedPageShowsTheObjectsWithoutFrames)
{
    CRectaCntrItem* item = AddPicture(100, 100, 40, 20, 0xFF0000);
    view.m_firstPoint = view.DeviceToWorld(CPoint{0, kH});
    view.m_secondPoint = view.DeviceToWorld(CPoint{kW, 0});
    QImage image(kW, kH, QImage::Format_RGB32);  // a pixel a millimetre
    image.fill(Qt::white);
    image.setDotsPerMeterX(1000);
    image.setDotsPerMeterY(1000);
    CImageDC page(&image);
    view.PrintPage(page, kW * 10, kH * 10);
    const int red = CountPixels(image, 0xFF0000);
    EXPECT_GT(red, 40 * 20 * 3 / 4);
    EXPECT_EQ(InkPixels(image), red) << "no frame around it";
    EXPECT_EQ(item->m_rect, CRect(100, 100, 140, 120)) << "the screen rectangle stays";
}

// ---------------------------------------------------------------- embedded drawings

namespace {

// The bytes of a drawing with a line across its window on a layer that is on,
// and one down it on a layer that is off unless offShown.
std::vector<BYTE> TwoLayerDrawing(bool offShown)
{
    CRectaDoc d;
    d.OnNewDocument();
    d.m_layerName = "ON";
    d.AddLayer(RGB(255, 0, 0), 1);
    d.m_layerName = "OFF";
    d.AddLayer(RGB(0, 0, 255), offShown ? 1 : 0);
    auto add = [&](const char* layer, COLORREF colour, CPointd a, CPointd b, int visible) {
        CRecta* line = d.AddRectaOnLayer(3, colour, layer, a, b);
        d.GetLastEntityRecord()->m_visible = visible;
        (void)line;
    };
    add("ON", RGB(255, 0, 0), CPointd(0, 4), CPointd(12, 4), 1);
    add("OFF", RGB(0, 0, 255), CPointd(6, 0), CPointd(6, 8), offShown ? 1 : 0);
    return Stored(d);
}

}  // namespace

// An embedded drawing shows the picture its server item recorded: layers that
// are off stay out of it, and drawing it loads nothing.
TEST_F(ItemViewTest, EmbeddedDrawingShowsItsRecordedPictureWithoutItsHiddenLayers)
{
    for (bool offShown : {false, true}) {
        SCOPED_TRACE(offShown);
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        ASSERT_TRUE(MakeDrawingItem(*item, TwoLayerDrawing(offShown), "two.zpd", error)) << error;
        EXPECT_FALSE(item->GetDrawingPicture().IsEmpty());
        CRectaCntrItem* added = doc.AddItem(std::move(item));
        added->OnChangeItemPosition(CRect(20, 20, 260, 180));
        const std::int64_t records = CDib::LiveCount();
        view.Invalidate();
        const int red = Red(), blue = CountPixels(view.Image(), 0x0000FF);
        EXPECT_GT(red, 200) << "the line on the layer that is on";
        EXPECT_EQ(blue > 100, offShown) << "the line on the layer that is off";
        view.Invalidate();
        view.Image();
        EXPECT_EQ(CDib::LiveCount(), records) << "a repaint loads no drawing";
        doc.DeleteItem(added);
    }
}

// One repaint plays all its objects' pictures on one budget: twenty drawings
// of a thousand fills over the view do, together, no more than a repaint pays
// for at one unit a pixel, before and after Zoom Extents and on a printed
// page, and each drawing cut short shows its frame and name.
TEST_F(ItemViewTest, OneRepaintPlaysAllItsPicturesOnOneBudget)
{
    CMetaFileDC recorder;
    recorder.SetMapMode(MM_ANISOTROPIC);
    recorder.SetWindowExt(1200, 800);
    const CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    for (int i = 0; i < 1000; ++i)
        recorder.FillRect(0, 0, 1200, 800, i % 2 ? red : blue);
    const CMetaFile fills = recorder.Close();
    constexpr int kItems = 20;
    for (int i = 0; i < kItems; ++i) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        ASSERT_TRUE(item->SetDrawing(EmptyDrawingBytes(), fills, LSize{10'000, 7'500}, "fills" + std::to_string(i),
                                     error))
            << error;
        CRectaCntrItem* added = doc.AddItem(std::move(item));
        added->m_rect = CRect(0, 0, kW, kH);
        added->RectToWorldPoints(view);
    }
    LineFrom(view.DeviceToWorld(CPoint{0, kH}).x, view.DeviceToWorld(CPoint{0, kH}).y,
             view.DeviceToWorld(CPoint{kW, 0}).x, view.DeviceToWorld(CPoint{kW, 0}).y);
    for (const bool zoomed : {false, true}) {
        SCOPED_TRACE(zoomed);
        if (zoomed)
            view.OnZoomExtents();
        CRecordingDC dc;
        view.OnDraw(dc);
        const CRect shown = static_cast<CRectaCntrItem*>(doc.GetItems().at(0))->RectIn(view);
        const std::int64_t pixels = std::int64_t(shown.Width()) * shown.Height();
        ASSERT_GT(pixels, kW * kH / 2);
        const std::int64_t filled = std::int64_t(dc.CallsNamed("FillRect").size());
        EXPECT_GT(filled, 1000);
        EXPECT_LE(filled * pixels, CMetaPlayBudget::kRepaintWork);
        int named = 0;
        for (const DCCall& text : dc.CallsNamed("TextOut"))
            named += text.text.starts_with("fills");
        EXPECT_EQ(named, kItems - int(filled / 1000)) << "every drawing cut short";
    }

    // A printed page too: there the objects cover more pixels, and not even one of them is whole.
    view.m_firstPoint = view.DeviceToWorld(CPoint{0, kH});
    view.m_secondPoint = view.DeviceToWorld(CPoint{kW, 0});
    CRecordingDC page;
    view.PrintPage(page, kW * 10, kH * 10);
    EXPECT_LT(page.CallsNamed("FillRect").size(), 1000u);
    int named = 0;
    for (const DCCall& text : page.CallsNamed("TextOut"))
        named += text.text.starts_with("fills");
    EXPECT_EQ(named, kItems);
}

TEST_F(ItemViewTest, DrawingCopiesAsItsItemAnImageAndVectorShapes)
{
    CRectaCntrItem* item = AddDrawing(10, 10);
    std::string error;
    ASSERT_TRUE(MakeDrawingItem(*item, TwoLayerDrawing(true), "two.zpd", error));
    item->CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(kItemMime));
    ASSERT_TRUE(data->hasImage());
    const QString svg = QString::fromUtf8(data->data("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<path") || svg.contains("<polyline")) << svg.left(400).toStdString();
    EXPECT_FALSE(svg.contains("<image"));
}

// The run gives the drawing back: the item takes its bytes, picture and size;
// the container is modified only when something changed.
TEST_F(ItemViewTest, TakenBackDrawingReplacesTheItemsDataPictureAndSize)
{
    CRectaCntrItem* item = AddDrawing(30, 40);
    CRectaDoc embedded;
    ASSERT_FALSE(item->LoadDrawing(embedded));
    CRectaView inner;
    Open(embedded, inner);
    doc.SetModifiedFlag(false);
    inner.OnCommand(ID_REDRAW);
    EXPECT_FALSE(doc.IsModified()) << "nothing changed";

    CRecta* line = embedded.AddRecta();
    line->m_p1 = CPointd(1, 1);
    line->m_p2 = CPointd(11, 7);
    embedded.m_windowMax = CPointd(24, 8);
    const std::vector<BYTE> before = item->NativeData(), pictureBefore = item->GetPresentationData();
    inner.OnCommand(ID_REDRAW);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NE(item->NativeData(), before);
    EXPECT_EQ(item->NativeData(), Stored(embedded));
    EXPECT_NE(item->GetPresentationData(), pictureBefore);
    EXPECT_EQ(item->m_rect, CRect(30, 40, 30 + 888, 40 + 296)) << "twice as wide, top-left kept";
    CRectaDoc back;
    ASSERT_FALSE(ReadDrawingBytes(item->NativeData(), back));
    EXPECT_EQ(back.GetEntityList().GetCount(), 1);
    embedded.RemoveView(&inner);
}

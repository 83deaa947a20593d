#include "doc/apphost.h"
#include "doc/cntritem.h"
#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"
#include "platform/oleframe.h"
#include "support/blocks.h"
#include "support/bmpfile.h"
#include "support/bytes.h"
#include "support/files.h"
#include "support/item_pictures.h"
#include "support/scripted_dialogs.h"
#include "support/stored.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// A plan view of scale pixels a drawing unit, its top-left pixel at drawing point (ox, oy).
class MappingView : public CView, public CPlanMapping {
public:
    CPointd DeviceToDrawing(int x, int y) const override { return CPointd(ox + x / scale, oy - y / scale); }
    void DrawingToDevice(const CPointd& p, int& x, int& y) const override
    {
        x = int(std::lround((p.x - ox) * scale));
        y = int(std::lround((oy - p.y) * scale));
    }
    bool ShowsItems() const override { return true; }
    void OnUpdate(CView*, long hint, CObject* obj) override { updates.push_back({hint, obj}); }

    double scale = 10.0, ox = 0.0, oy = 30.0;
    std::vector<std::pair<long, CObject*>> updates;
};

class ItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        doc.AddView(&view);
    }
    void TearDown() override { doc.RemoveView(&view); }

    // A new picture item of w x h pixels in the drawing.
    CRectaCntrItem* AddPicture(int w, int h, QRgb colour = 0xFF0000)
    {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        EXPECT_TRUE(item->CreatePictureFromBytes(PictureBytes(w, h, colour), "p.png", error)) << error;
        return doc.AddItem(std::move(item));
    }
    CRectaCntrItem* AddDrawing()
    {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        LSize extent;
        CRectaDoc empty;
        empty.OnNewDocument();
        EXPECT_TRUE(DrawingExtent(empty, extent));
        EXPECT_TRUE(item->SetDrawing(EmptyDrawingBytes(), {}, extent, "Zepa Drawing", error)) << error;
        return doc.AddItem(std::move(item));
    }
    std::string Path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }

    QTemporaryDir dir;
    CRectaDoc doc;
    MappingView view;
};

}  // namespace

TEST_F(ItemTest, NewItemStartsAtItsDefaultRectangleWithCornersFromIt)
{
    CRectaCntrItem item(&doc);
    EXPECT_EQ(item.m_rect, CRect(0, 0, 80, 80));
    EXPECT_EQ(item.m_corner1, CPointd(0, 30));
    EXPECT_EQ(item.m_corner2, CPointd(8, 22));
    CRectaCntrItem loose;
    EXPECT_EQ(loose.m_corner1, CPointd()) << "no drawing, no view: nothing changes";
    EXPECT_EQ(loose.GetDocument(), nullptr);
}

// The object's own size, top-left kept; modified only when the size changed.
TEST_F(ItemTest, UpdateExtentGivesTheObjectsSizeAndMarksOnlyAChange)
{
    const struct {
        const char* what;
        int w, h;
        CRect before, after;
        bool modified;
    } rows[] = {
        {"larger", 96, 48, {0, 0, 80, 80}, {0, 0, 96, 48}, true},
        {"the same size", 80, 80, {0, 0, 80, 80}, {0, 0, 80, 80}, false},
        {"top-left kept", 30, 20, {10, 20, 90, 100}, {10, 20, 40, 40}, true},
        {"same width, other height", 80, 81, {0, 0, 80, 80}, {0, 0, 80, 81}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        CRectaCntrItem* item = AddPicture(r.w, r.h);
        item->m_rect = r.before;
        item->RectToWorldPoints();
        const CPointd topLeft = item->m_corner1;
        doc.SetModifiedFlag(false);
        view.updates.clear();
        item->UpdateExtent();
        EXPECT_EQ(item->m_rect, r.after);
        EXPECT_EQ(doc.IsModified(), r.modified);
        EXPECT_EQ(view.updates.size(), r.modified ? 2u : 0u);
        EXPECT_EQ(item->m_corner1, topLeft);
        EXPECT_EQ(item->m_corner2, view.DeviceToDrawing(r.after.right, r.after.bottom));
        doc.DeleteItem(item);
    }
    CRectaCntrItem empty(&doc);
    doc.SetModifiedFlag(false);
    empty.UpdateExtent();
    EXPECT_EQ(empty.m_rect, CRect(0, 0, 80, 80)) << "an object without a size";
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ItemTest, CornersStayThroughAZoomAndGiveTheNewRectangle)
{
    CRectaCntrItem* item = AddPicture(40, 20);
    item->m_rect = CRect(20, 30, 60, 50);
    item->RectToWorldPoints();
    const CPointd c1 = item->m_corner1, c2 = item->m_corner2;
    EXPECT_EQ(c1, CPointd(2, 27));
    view.scale = 20.0;
    view.ox = 1.0;
    item->WorldPointsToRect();
    EXPECT_EQ(item->m_rect, CRect(20, 60, 100, 100));
    EXPECT_EQ(item->m_corner1, c1);
    EXPECT_EQ(item->m_corner2, c2);
}

// Another drawing's active view does not map this drawing's objects.
TEST_F(ItemTest, MappingComesFromAViewOfTheItemsOwnDrawing)
{
    CRectaDoc other;
    MappingView otherView;
    otherView.scale = 1.0;
    other.AddView(&otherView);
    class ActiveHost : public CAppHost {
    public:
        void SetPaneText(int, const std::string&) override {}
        void CountNewDocument() override {}
        CView* ActiveView() const override { return active; }
        CView* active = nullptr;
    } host;
    CAppHost* previous = InstallAppHost(&host);
    host.active = &otherView;
    CRectaCntrItem* item = AddPicture(10, 10);
    item->m_rect = CRect(10, 10, 20, 20);
    item->RectToWorldPoints();
    EXPECT_EQ(item->m_corner1, CPointd(1, 29)) << "through the drawing's own view";
    MappingView second;
    second.scale = 8.0;
    doc.AddView(&second);
    host.active = &second;
    item->RectToWorldPoints();
    EXPECT_EQ(item->m_corner1, CPointd(1.25, 28.75)) << "through the active view when it is the drawing's";
    doc.RemoveView(&second);
    InstallAppHost(previous);
    other.RemoveView(&otherView);
}

TEST_F(ItemTest, ChangesRepaintTheItemAndResizeItToItsObject)
{
    CRectaCntrItem* item = AddPicture(50, 40);
    const struct {
        int notification;
        std::size_t updates;
        CRect rect;
    } rows[] = {
        {OLE_CHANGED, 3, {0, 0, 50, 40}},
        {OLE_CHANGED_STATE, 1, {0, 0, 80, 80}},
        {OLE_CHANGED_ASPECT, 1, {0, 0, 80, 80}},
        {OLE_SAVED, 0, {0, 0, 80, 80}},
        {OLE_CLOSED, 0, {0, 0, 80, 80}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.notification);
        item->m_rect = CRect(0, 0, 80, 80);
        view.updates.clear();
        item->OnChange(r.notification, 0);
        EXPECT_EQ(view.updates.size(), r.updates);
        for (const auto& [hint, obj] : view.updates) {
            EXPECT_EQ(hint, 1);
            EXPECT_EQ(obj, item);
        }
        EXPECT_EQ(item->m_rect, r.rect);
    }
}

TEST_F(ItemTest, ChangeOfPositionTakesTheRectangleOrRefusesIt)
{
    CRectaCntrItem* item = AddPicture(10, 10);
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(item->OnChangeItemPosition(CRect(10, 20, 50, 60)));
    EXPECT_EQ(item->m_rect, CRect(10, 20, 50, 60));
    EXPECT_EQ(item->m_corner1, CPointd(1, 28));
    EXPECT_EQ(item->m_corner2, CPointd(5, 24));
    EXPECT_TRUE(doc.IsModified());
    CRect given;
    item->OnGetItemPosition(given);
    EXPECT_EQ(given, item->m_rect);
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(item->OnChangeItemPosition(CRect(50, 20, 10, 60)));
    EXPECT_EQ(item->m_rect, CRect(10, 20, 50, 60));
    EXPECT_FALSE(doc.IsModified());
}

// Running in place in one view, the item keeps its working rectangle in that
// view and tells the run of it, whichever view moves the item.
TEST_F(ItemTest, AnItemRunningInPlaceKeepsItsViewsRectangle)
{
    CRectaCntrItem* item = AddPicture(40, 20);
    MappingView second;
    second.scale = 20.0;
    doc.AddView(&second);
    std::vector<CRect> told;
    item->SetInPlaceSite(&second, [&told](const CRect& r) { told.push_back(r); });
    item->Place(CRect(0, 0, 50, 50), view);
    EXPECT_EQ(item->m_corner2, CPointd(5, 25));
    EXPECT_EQ(item->m_rect, CRect(0, 0, 100, 100));
    EXPECT_EQ(told.back(), item->m_rect);
    // A view gone from the drawing places nothing.
    doc.RemoveView(&second);
    const std::size_t calls = told.size();
    EXPECT_TRUE(item->OnChangeItemPosition(CRect(10, 10, 30, 20)));
    EXPECT_EQ(item->m_corner1, CPointd(1, 29));
    EXPECT_EQ(told.size(), calls);
}

// ---------------------------------------------------------------- running

TEST_F(ItemTest, DrawingsRunThroughTheInstalledServer)
{
    CRectaCntrItem* drawing = AddDrawing();
    {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find("cannot be edited"), std::string::npos);
    }
    FakeDrawingServer server;
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    ASSERT_EQ(server.runs.size(), 1u);
    EXPECT_FALSE(server.runs[0].open);
    EXPECT_EQ(server.runs[0].view, &view);
    EXPECT_EQ(drawing->GetItemState(), COleClientItem::activeUIState);
    drawing->OnDeactivateUI(false);
    EXPECT_EQ(server.closed, std::vector<CRectaCntrItem*>{drawing}) << "no object stays active without its interface";
    EXPECT_EQ(drawing->GetItemState(), COleClientItem::loadedState);

    // A drawing edited in place itself opens its objects in windows of their own.
    const COleServerDoc::FrameMaker maker = COleServerDoc::SetInPlaceFrameMaker([](COleServerDoc&, QWidget* parent) {
        auto* frame = new COleIPFrameWnd;
        frame->Create(parent, nullptr);
        return frame;
    });
    QWidget container;
    ASSERT_TRUE(doc.CreateInPlaceFrame(&container));
    EXPECT_FALSE(drawing->CanActivate());
    ASSERT_TRUE(drawing->DoVerb(OLEIVERB_PRIMARY, &view));
    EXPECT_TRUE(server.runs.back().open);
    EXPECT_EQ(drawing->GetItemState(), COleClientItem::openState);
    doc.OnDeactivate();
    COleServerDoc::SetInPlaceFrameMaker(maker);
    EXPECT_TRUE(drawing->CanActivate());
    server.refuse = true;
    EXPECT_FALSE(drawing->DoVerb(OLEIVERB_OPEN, &view));
    // Freeing a running object closes it first.
    doc.DeleteItem(drawing);
    EXPECT_EQ(server.closed.size(), 2u);
}

TEST_F(ItemTest, EmbeddedDrawingsNestAtMostSixteenDeep)
{
    CRectaCntrItem* item = AddDrawing();
    std::vector<std::unique_ptr<CRectaDoc>> chain;
    CRectaCntrItem* holder = item;
    for (int depth = 0; depth < kMaxNesting; ++depth) {
        EXPECT_EQ(holder->NestingDepth(), depth);
        auto inner = std::make_unique<CRectaDoc>();
        ASSERT_FALSE(holder->LoadDrawing(*inner)) << depth;
        EXPECT_EQ(inner->m_pEmbeddingItem, holder);
        auto next = std::make_unique<CRectaCntrItem>(inner.get());
        std::string error;
        ASSERT_TRUE(next->SetDrawing(EmptyDrawingBytes(), {}, LSize{100, 100}, "d", error));
        holder = inner->AddItem(std::move(next));
        chain.push_back(std::move(inner));
    }
    EXPECT_EQ(holder->NestingDepth(), kMaxNesting);
    CRectaDoc deepest;
    const auto refused = holder->LoadDrawing(deepest);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("16"), std::string::npos) << *refused;
    EXPECT_EQ(deepest.m_pEmbeddingItem, nullptr);
    CRectaCntrItem* picture = AddPicture(2, 2);
    CRectaDoc none;
    EXPECT_TRUE(picture->LoadDrawing(none));
    while (!chain.empty())
        chain.pop_back();
}

// ---------------------------------------------------------------- the file

namespace {

Bytes ItemRecordTail(const CRect& r, const CPointd& a, const CPointd& b, bool withZ)
{
    ByteWriter w;
    w.u32(unsigned(r.left)).u32(unsigned(r.top)).u32(unsigned(r.right)).u32(unsigned(r.bottom));
    for (const CPointd* p : {&a, &b}) {
        w.f64(p->x).f64(p->y);
        if (withZ)
            w.f64(p->z);
    }
    return w.bytes();
}

}  // namespace

TEST_F(ItemTest, ItemStoresItsDataThenSixteenRawBytesThenTheCorners)
{
    CRectaCntrItem* item = AddPicture(6, 4);
    item->m_rect = CRect(-5, 7, 300, 70000);
    item->m_corner1 = CPointd(1.5, -2, 3);
    item->m_corner2 = CPointd(4, 5, 6);
    const Bytes data = item->ItemDataBytes();
    Bytes expected = data;
    const Bytes tail = ItemRecordTail(item->m_rect, item->m_corner1, item->m_corner2, true);
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(Stored(*item), expected);
    const Bytes negative = {0xFB, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(negative.begin(), negative.end(), expected.begin() + long(data.size())));

    // Files of the oldest version hold the corners without z.
    Bytes old = data;
    const Bytes oldTail = ItemRecordTail(CRect(1, 2, 3, 4), CPointd(7, 8), CPointd(9, 10), false);
    old.insert(old.end(), oldTail.begin(), oldTail.end());
    CRectaCntrItem back;
    CArchive ar(old);
    ar.SetOldFormat(true);
    back.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_EQ(back.m_rect, CRect(1, 2, 3, 4));
    EXPECT_EQ(back.m_corner1, CPointd(7, 8, 0));
    EXPECT_EQ(back.m_corner2, CPointd(9, 10, 0));
    EXPECT_EQ(back.ItemDataBytes(), data);
}

TEST_F(ItemTest, ItemPartHoldsTheCountAndEachItemAsAnObject)
{
    doc.AddText()->m_text = "words";
    const Bytes without = Stored(doc);
    CRectaCntrItem* a = AddPicture(3, 3);
    CRectaCntrItem* b = AddPicture(4, 4, 0x00FF00);
    const Bytes with = Stored(doc);
    const std::size_t part = without.size() - 2;
    ASSERT_TRUE(std::equal(without.begin(), without.begin() + long(part), with.begin()));
    ByteWriter w;
    w.u16(2).u16(0xFFFF).u16(0).u16(14).raw("CRectaCntrItem");
    const Bytes head = w.bytes();
    ASSERT_TRUE(std::equal(head.begin(), head.end(), with.begin() + long(part)));
    const Bytes first = Stored(*a), second = Stored(*b);
    const std::size_t at = part + head.size();
    EXPECT_TRUE(std::equal(first.begin(), first.end(), with.begin() + long(at)));
    // The second item names the class by its index: the one after every list object and class.
    const std::size_t tag = at + first.size();
    EXPECT_EQ(with[tag + 1] & 0x80, 0x80);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), with.begin() + long(tag + 2)));
    EXPECT_EQ(with.size(), tag + 2 + second.size());
}

TEST_F(ItemTest, DrawingWithItemsOfBothKindsSavesReopensAndSavesTheSameBytes)
{
    const std::string picture = Path("linked.png");
    WriteFile(picture, PictureBytes(12, 9, 0x0000FF));
    CRectaCntrItem* embedded = AddPicture(20, 10);
    embedded->m_rect = CRect(5, 6, 25, 16);
    embedded->RectToWorldPoints();
    auto linked = std::make_unique<CRectaCntrItem>(&doc);
    std::string error;
    ASSERT_TRUE(linked->CreatePictureFromFile(picture, true, error)) << error;
    doc.AddItem(std::move(linked));
    AddDrawing();
    doc.AddText()->m_text = "over the objects";
    const std::string path = Path("items.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const Bytes saved = FileBytes(path);

    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    ASSERT_EQ(back.GetItems().size(), 3u);
    const auto* first = static_cast<const CRectaCntrItem*>(back.GetItems().at(0));
    EXPECT_EQ(first->m_rect, CRect(5, 6, 25, 16));
    EXPECT_EQ(first->m_corner1, embedded->m_corner1);
    EXPECT_EQ(first->GetDocument(), &back);
    EXPECT_TRUE(back.GetItems().at(1)->IsLinked());
    EXPECT_EQ(back.GetItems().at(2)->GetKind(), OleObjectKind::drawing);
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(Stored(back), saved);
    const std::string again = Path("again.zpd");
    ASSERT_TRUE(back.OnSaveDocument(again));
    EXPECT_EQ(FileBytes(again), saved);
}

// A linked picture whose file is gone keeps the picture it holds and says so
// once for each opening, whatever the number of such objects.
TEST_F(ItemTest, LinkedPictureWithoutItsFileKeepsItsPictureAndSaysSoOnce)
{
    const std::string p1 = Path("one.png"), p2 = Path("two.png");
    WriteFile(p1, PictureBytes(5, 5, 0x00FF00));
    WriteFile(p2, PictureBytes(6, 6, 0x00FF00));
    for (const std::string& file : {p1, p2}) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        std::string error;
        ASSERT_TRUE(item->CreatePictureFromFile(file, true, error));
        doc.AddItem(std::move(item));
    }
    const Bytes kept = doc.GetItems().at(0)->GetNativeData();
    const std::string path = Path("linked.zpd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    std::filesystem::remove(p1);
    std::filesystem::remove(p2);
    for (int opening = 0; opening < 2; ++opening) {
        ScriptedMessageBoxes boxes({IDOK});
        CRectaDoc back;
        ASSERT_TRUE(back.OnOpenDocument(path));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find(p1), std::string::npos) << boxes.asked[0];
        EXPECT_NE(boxes.asked[0].find(p2), std::string::npos) << boxes.asked[0];
        EXPECT_EQ(back.GetItems().at(0)->GetNativeData(), kept);
        EXPECT_EQ(Stored(back), FileBytes(path));
    }
    // A file that changed is read again.
    WriteFile(p1, PictureBytes(7, 3, 0x00FF00));
    WriteFile(p2, PictureBytes(6, 6, 0x00FF00));
    CRectaDoc fresh;
    ASSERT_TRUE(fresh.OnOpenDocument(path));
    EXPECT_EQ(fresh.GetItems().at(0)->GetNativeData(), FileBytes(p1));
}

TEST_F(ItemTest, ObjectsOfAnotherProgramAreKeptAndNoObjectJoinsThem)
{
    doc.AddText()->m_text = "label";
    const Bytes good = Stored(doc);
    Bytes foreign(good.begin(), good.end() - 2);
    // Their class and schema, but data in another program's form.
    ByteWriter w;
    w.u16(1).u16(0xFFFF).u16(0).u16(14).raw("CRectaCntrItem").raw("OTHERDATA").u32(0);
    foreign.insert(foreign.end(), w.bytes().begin(), w.bytes().end());
    const std::string path = Path("foreign.zpd");
    WriteFile(path, foreign);
    ScriptedMessageBoxes boxes({IDOK});
    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("1 embedded object"), std::string::npos) << boxes.asked[0];
    EXPECT_TRUE(back.GetItems().empty());
    EXPECT_EQ(Stored(back), foreign);
    std::string why;
    EXPECT_FALSE(back.CanTakeItems(why));
    EXPECT_NE(why.find("another program"), std::string::npos) << why;
    EXPECT_TRUE(doc.CanTakeItems(why));
}

// Damaged items refuse the whole file with one message; the drawing open stays as it was.
TEST_F(ItemTest, DamagedItemPartRefusesTheWholeFile)
{
    AddPicture(3, 3);
    const Bytes good = Stored(doc);
    const Bytes item = Stored(*static_cast<CRectaCntrItem*>(doc.GetItems().at(0)));
    const std::size_t end = good.size();
    const std::size_t part = end - item.size() - 2 - 20;  // count, class record, item
    const std::size_t data = part + 2 + 20;
    auto changed = [&](std::size_t at, std::initializer_list<BYTE> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
        return b;
    };
    auto cut = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + long(n)); };
    auto appended = [&](std::initializer_list<BYTE> bytes) {
        Bytes b = good;
        b.insert(b.end(), bytes);
        return b;
    };
    const double nan = std::nan("");
    Bytes nanCorner = good;
    std::memcpy(&nanCorner[end - 48], &nan, 8);
    const struct {
        const char* what;
        Bytes bytes;
        const char* reason;
    } rows[] = {
        {"count of 2 for one item", changed(part, {2, 0}), "data ends"},
        {"cut inside the class record", cut(part + 9), "does not fit"},
        {"another version", changed(data + 8, {2, 0}), "version 2"},
        {"an unknown kind", changed(data + 10, {9}), "unknown kind"},
        {"cut inside the rectangle", cut(end - 50), "data ends"},
        {"cut inside a corner", cut(end - 3), "data ends"},
        {"bytes after the last item", appended({0}), "follow the embedded objects"},
        {"a corner that is not a number", nanCorner, "not finite"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string path = Path("bad.zpd");
        WriteFile(path, r.bytes);
        ScriptedMessageBoxes boxes({IDOK});
        CRectaDoc target;
        target.OnNewDocument();
        target.AddText()->m_text = "kept";
        EXPECT_FALSE(target.OnOpenDocument(path));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find(r.reason), std::string::npos) << boxes.asked[0];
        EXPECT_EQ(target.GetEntityList().GetCount(), 1);
        EXPECT_TRUE(target.GetItems().empty());
    }
    // A second item that is no object, a back reference to the first, or a layer.
    const struct {
        WORD tag;
        const char* reason;
    } seconds[] = {{0, "embedded object 2 is missing"}, {4, "embedded object 2 is missing"}, {2, "found CLayer"}};
    for (const auto& second : seconds) {
        Bytes twice = changed(part, {2, 0});
        twice.push_back(BYTE(second.tag & 0xFF));
        twice.push_back(BYTE(second.tag >> 8));
        twice.insert(twice.end(), item.begin(), item.end());
        CRectaDoc probe;
        CArchive ar(twice);
        try {
            probe.Serialize(ar);
            ADD_FAILURE() << second.tag << " read";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find(second.reason), std::string::npos) << e.what();
        }
    }
}

// Cut anywhere in its item part (its count in either form), a drawing is
// damaged; cut where the part begins, it has no objects.
TEST_F(ItemTest, DrawingCutInsideItsItemPartIsRefused)
{
    const std::size_t part = Stored(doc).size() - 2;
    AddPicture(3, 3);
    AddPicture(4, 4);
    const Bytes good = Stored(doc);
    Bytes wide = good;
    wide.insert(wide.begin() + long(part), {0xFF, 0xFF});
    wide.insert(wide.begin() + long(part + 4), {0, 0});
    for (const Bytes& file : {good, wide})
        for (std::size_t cut = part; cut < file.size(); ++cut) {
            CRectaDoc back;
            EXPECT_EQ(ReadDrawingBytes(std::span(file.data(), cut), back).has_value(), cut > part) << cut;
            EXPECT_EQ(back.m_embeddedItems, 0) << cut;
        }
}

// The part is this program's when its first item is: a count in either
// width, then the item's class record and this program's item data.
TEST_F(ItemTest, ItemPartIsOursOnlyWithItsClassAndItemData)
{
    AddPicture(3, 3);
    const Bytes good = Stored(doc);
    const Bytes item = Stored(*static_cast<CRectaCntrItem*>(doc.GetItems().at(0)));
    const std::size_t part = good.size() - item.size() - 22;
    Bytes wide(good.begin(), good.begin() + long(part));
    for (BYTE b : {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00})
        wide.push_back(b);
    wide.insert(wide.end(), good.begin() + long(part + 2), good.end());
    CRectaDoc probe;
    CArchive in(wide);
    probe.Serialize(in);
    EXPECT_EQ(probe.GetItems().size(), 1u) << "a count of the wide form";
    EXPECT_EQ(probe.m_embeddedItems, 0);

    const struct {
        const char* what;
        std::size_t at;
        BYTE value;
    } foreign[] = {
        {"another class name of the same length", part + 2 + 6 + 13, 'x'},
        {"another schema", part + 2 + 2, 1},
        {"another magic", part + 22, 'Y'},
    };
    for (const auto& f : foreign) {
        SCOPED_TRACE(f.what);
        Bytes other = good;
        other[f.at] = f.value;
        CRectaDoc kept;
        CArchive ar(other);
        kept.Serialize(ar);
        EXPECT_TRUE(kept.GetItems().empty());
        EXPECT_EQ(kept.m_embeddedItems, 1);
        EXPECT_EQ(Stored(kept), other);
    }
}

// Objects holding the same bytes share one copy: linked to one file,
// embedded from it, read back from the drawing, which is written in pieces.
TEST_F(ItemTest, ObjectsHoldingTheSameBytesShareThem)
{
    const std::string file = Path("shared.png"), path = Path("shared.zpd");
    WriteLargePicture(file, 200000);
    std::string error;
    for (bool link : {true, true, false}) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        ASSERT_TRUE(item->CreatePictureFromFile(file, link, error)) << error;
        doc.AddItem(std::move(item));
    }
    AddPicture(9, 9, 0x0000FF);
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), Stored(doc));
    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    for (const CRectaDoc* d : {&doc, &back}) {
        const COleItemList& items = d->GetItems();
        for (std::size_t i : {1, 2})
            EXPECT_EQ(&items.at(i)->GetNativeData(), &items.at(0)->GetNativeData()) << i;
        EXPECT_NE(&items.at(3)->GetNativeData(), &items.at(0)->GetNativeData());
    }
}

// The objects of a drawing hold at most kMaxItemBytes together: links whose
// file grew keep what the drawing stored past it and are named once, and a
// drawing holding more is not saved.
TEST_F(ItemTest, ObjectsHoldAtMostTheirBoundTogether)
{
    const std::string file = Path("scan.png"), path = Path("links.zpd");
    WriteFile(file, PictureBytes(2, 2, 0xFF0000));
    const Bytes stored = FileBytes(file);
    std::string error;
    for (int i = 0; i < 6; ++i) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        ASSERT_TRUE(item->CreatePictureFromFile(file, true, error)) << error;
        doc.AddItem(std::move(item));
    }
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::size_t large = (kMaxItemBytes - 2 * stored.size()) / 4;  // four fit beside two as stored
    WriteLargePicture(file, large);
    ScriptedMessageBoxes boxes({IDOK, IDOK});
    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(&back.GetItems().at(i)->GetNativeData(), &back.GetItems().at(i < 4 ? 0 : 5)->GetNativeData());
    EXPECT_EQ(back.GetItems().at(0)->GetNativeData().size(), large);
    EXPECT_EQ(back.GetItems().at(5)->GetNativeData(), stored);

    back.AddItem(std::make_unique<CRectaCntrItem>())->CreatePictureFromBytes(PictureBytes(1, 1, 0), "p", error);
    const Bytes before = FileBytes(path);
    EXPECT_FALSE(back.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), before);
    ASSERT_EQ(boxes.asked.size(), 2u);
    EXPECT_NE(boxes.asked[0].find("past 1024 MB"), std::string::npos) << boxes.asked[0];
    EXPECT_EQ(boxes.asked[0].find(file), boxes.asked[0].rfind(file)) << boxes.asked[0];
    EXPECT_NE(boxes.asked[1].find("1024 MB one drawing's objects may hold"), std::string::npos) << boxes.asked[1];
    std::filesystem::remove(file);
}

// Missing links are named five at most, each cut short when long, and the rest counted.
TEST_F(ItemTest, MissingLinksAreNamedAFewAtATime)
{
    const Bytes png = PictureBytes(2, 2, 0);
    for (int i = 0; i < 12; ++i) {
        ByteWriter w;
        w.raw("ZPOBJECT").u16(1).u8(2).u8(1).u32(50).u32(50).str("p");
        w.str("/gone/" + std::string(3000, 'd') + "/end" + std::to_string(i) + ".png");
        w.u32(unsigned(png.size())).raw(std::string(png.begin(), png.end())).u32(0);
        ASSERT_FALSE(doc.AddItem(std::make_unique<CRectaCntrItem>())->ReadItemDataBytes(w.bytes()));
    }
    ASSERT_TRUE(doc.OnSaveDocument(Path("gone.zpd")));
    ScriptedMessageBoxes boxes({IDOK});
    CRectaDoc back;
    ASSERT_TRUE(back.OnOpenDocument(Path("gone.zpd")));
    const std::string said = boxes.asked.at(0);
    EXPECT_LT(said.size(), 1000u) << said;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(said.find("dd/end" + std::to_string(i) + ".png") != std::string::npos, i < 5) << said;
    EXPECT_NE(said.find("\nand 7 more"), std::string::npos) << said;
}

// Objects are not records: a block written as a drawing, the clipboard's
// records and DXF leave them out.
TEST_F(ItemTest, ObjectsStayOutOfBlocksRecordCopiesAndDxf)
{
    CBloq* block = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 1, 1)}});
    doc.AddText()->m_text = "kept";
    const CDib* record = doc.GetEntityRecord(doc.GetFirstEntityPosition());
    const Bytes blockBytes = BlockDrawingBytes(doc, *block);
    const Bytes records = RecordsToDrawingBytes(doc, {record});
    ASSERT_TRUE(doc.WriteDXF(Path("without.dxf")));
    AddPicture(5, 5);
    AddDrawing();
    EXPECT_EQ(BlockDrawingBytes(doc, *block), blockBytes);
    EXPECT_EQ(RecordsToDrawingBytes(doc, {record}), records);
    ASSERT_TRUE(doc.WriteDXF(Path("with.dxf")));
    EXPECT_EQ(FileText(Path("with.dxf")), FileText(Path("without.dxf")));
}

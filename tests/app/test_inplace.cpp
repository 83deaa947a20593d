#include "app/aerialwnd.h"
#include "app/drawingserver.h"
#include "app/inplaceframe.h"
#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/rectaapp.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "doc/cntritem.h"
#include "model/dib.h"
#include "model/recta.h"
#include "platform/msgbox.h"
#include "platform/tracker.h"
#include "res/commands.h"
#include "support/bmpfile.h"
#include "support/item_pictures.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>

namespace {

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The bytes of a drawing holding lines, each from (i, 1) to (i + 2, 5).
std::vector<BYTE> DrawingWithLines(int lines, COLORREF color = 0)
{
    CRectaDoc doc;
    doc.InitSettings(1);
    doc.m_color = color;
    for (int i = 0; i < lines; ++i) {
        CRecta* line = doc.AddRecta();
        line->m_p1 = CPointd(i, 1);
        line->m_p2 = CPointd(i + 2, 5);
    }
    std::vector<BYTE> bytes;
    std::string error;
    EXPECT_TRUE(doc.WriteDrawingBytes(bytes, error)) << error;
    return bytes;
}

int LinesIn(const std::vector<BYTE>& bytes)
{
    CRectaDoc doc;
    if (ReadDrawingBytes(bytes, doc))
        return -1;
    return int(doc.GetEntityList().GetCount());
}

class InPlaceTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<Cwm_MainWnd>();
        frame->resize(900, 700);
        frame->show();
        container = frame->NewDocument();
        container->SetModifiedFlag(false);
        // A press on an object lets go where it was pressed.
        m_drag = SetDragScript([](LPoint at) { return std::vector<LPoint>{at}; });
    }
    void TearDown() override
    {
        theApp.m_server.CloseAll();
        for (CRectaDoc* doc : frame->Documents())
            doc->SetModifiedFlag(false);
        frame.reset();
        FlushDeletes();
        SetDragScript(m_drag);
    }
    CRectaView& ContainerView() { return *frame->ActiveView(); }
    // A drawing object of the container over rect (device pixels of its view).
    CRectaCntrItem* AddDrawing(const CRect& rect = CRect(40, 30, 280, 190), std::vector<BYTE> bytes = DrawingWithLines(1),
                               CRectaDoc* in = nullptr)
    {
        CRectaDoc* doc = in ? in : container;
        auto item = std::make_unique<CRectaCntrItem>(doc);
        std::string error;
        EXPECT_TRUE(item->SetDrawing(std::move(bytes), {}, LSize{2000, 1500}, "Drawing", error)) << error;
        item->m_rect = rect;
        item->RectToWorldPoints();
        return doc->AddItem(std::move(item));
    }
    static QRect Rect(const CRect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }
    // Where view shows the item, from its corners.
    static CRect RectIn(const CRectaView& view, const CRectaCntrItem& item)
    {
        CRect r;
        view.DrawingToDevice(item.m_corner1, r.left, r.top);
        view.DrawingToDevice(item.m_corner2, r.right, r.bottom);
        return r;
    }
    // Drags the in-place frame's resize bar from at by by.
    void DragResizeBar(QPoint at, QPoint by)
    {
        COleResizeBar& bar = InPlace()->ResizeBar();
        const QPoint global = bar.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at + by, global + by, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&bar, &release);
    }
    // A second window of the container showing twice as much of it.
    Cwm_MDICHILDWnd* ZoomedOutWindow()
    {
        Cwm_MDICHILDWnd* window = frame->CreateChildFrame(container);
        window->View().ZoomByFactor(2.0);
        return window;
    }
    static void Repaint(CRectaView& view)
    {
        view.Invalidate();
        view.Image();
    }
    CInPlaceFrame* InPlace() const { return theApp.m_inPlaceFrame; }
    CRectaView& InPlaceView() { return InPlace()->ViewWidget()->View(); }
    std::string MainPane(int pane) const { return frame->PaneLabel(pane)->text().toStdString(); }
    std::string InPlacePane(int pane) { return InPlace()->StatusBar().GetPaneText(pane); }
    // Draws a line in view by two clicks and the right button.
    static void DrawLine(CRectaView& view, CPoint from, CPoint to)
    {
        view.OnCommand(10009);
        view.OnLButtonDown(MK_LBUTTON, from);
        view.OnLButtonDown(MK_LBUTTON, to);
        view.OnRButtonDown(MK_RBUTTON, to);
    }

    // Runs item in place over the active window, which gives its view the
    // keyboard, draws a line there and leaves with leave(view): the drawing
    // goes back, the keyboard to the active window, and nothing of the
    // session is left once deferred deletes ran.
    void LeaveTheViewEditedInPlace(CRectaCntrItem& item, const std::function<void(QWidget* view)>& leave)
    {
        ASSERT_TRUE(theApp.m_server.Run(item, frame->ActiveChild()->View(), false));
        QApplication::processEvents();
        DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
        ASSERT_EQ(QApplication::focusWidget(), InPlace()->ViewWidget());
        leave(InPlace()->ViewWidget());
        EXPECT_EQ(theApp.m_server.RunState(item), 0);
        EXPECT_EQ(LinesIn(item.NativeData()), 2);
        EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
        EXPECT_EQ(theApp.m_inPlaceActive, 0);
        EXPECT_EQ(QApplication::focusWidget(), frame->ActiveChild()->ViewWidget());
        const QWidget* left = frame->findChild<COleIPFrameWnd*>();
        EXPECT_TRUE(!left || left->isHidden());
        FlushDeletes();
        EXPECT_EQ(frame->findChild<COleIPFrameWnd*>(), nullptr);
    }
    // The key switches windows from an object of a second drawing, then from
    // one inside an object open in a window of its own.
    void SwitchWindowsFromTheViewEditedInPlace(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        const auto typeKey = [key, modifiers](QWidget* view) { QTest::keyClick(view, key, modifiers); };
        CRectaDoc* first = container;
        container = frame->NewDocument();
        const Cwm_MDICHILDWnd* second = frame->ActiveChild();
        LeaveTheViewEditedInPlace(*AddDrawing(), typeKey);
        EXPECT_NE(frame->ActiveChild(), second);
        container = first;
        CRectaCntrItem* outer = AddDrawing();
        ASSERT_TRUE(theApp.m_server.Run(*outer, ContainerView(), true));
        const Cwm_MDICHILDWnd* open = frame->ActiveChild();
        CRectaCntrItem* inner = AddDrawing(CRect(5, 5, 100, 80), DrawingWithLines(1), theApp.m_server.Drawing(*outer));
        LeaveTheViewEditedInPlace(*inner, typeKey);
        EXPECT_NE(frame->ActiveChild(), open);
    }

    std::unique_ptr<Cwm_MainWnd> frame;
    CRectaDoc* container = nullptr;
    DragScript m_drag;
};

}  // namespace

TEST_F(InPlaceTest, EditingInPlaceDrawsInTheEmbeddedDrawingAndPutsItBack)
{
    CRectaCntrItem* item = AddDrawing();
    const std::vector<BYTE> oldBytes = item->NativeData();
    const std::vector<BYTE> oldPicture = item->GetPresentationData();
    ContainerView().ShowPrompt(0, "container prompt");
    // A double click on the object activates it in place.
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{100, 100});

    EXPECT_EQ(theApp.m_server.RunState(*item), CDrawingServer::activeInPlace);
    EXPECT_EQ(item->GetItemState(), COleClientItem::activeUIState);
    ASSERT_TRUE(InPlace());
    CRectaView* current = nullptr;
    CRectaDoc* currentDoc = nullptr;
    ASSERT_EQ(theApp.GetCurrentView(current, currentDoc), 1);
    EXPECT_EQ(current, &InPlaceView());
    EXPECT_EQ(currentDoc, theApp.m_server.Drawing(*item));
    EXPECT_NE(currentDoc, container);
    EXPECT_TRUE(currentDoc->IsInPlaceActive());
    EXPECT_EQ(theApp.m_inPlaceActive, 1);
    // The frame lies over the item inside the container's plan view, its view over the item.
    EXPECT_EQ(InPlace()->parentWidget(), frame->ActiveChild()->ViewWidget());
    EXPECT_EQ(InPlace()->ViewWidget()->geometry().size(), Rect(item->m_rect).size());
    EXPECT_EQ(InPlace()->ViewWidget()->mapTo(InPlace()->parentWidget(), QPoint(0, 0)), Rect(item->m_rect).topLeft());
    EXPECT_TRUE(InPlace()->isVisible());
    // Its bars show in the main frame, its status bar in place of the frame's own.
    EXPECT_EQ(InPlace()->ToolBar().GetSafeHwnd()->parentWidget(), frame.get());
    EXPECT_TRUE(InPlace()->ToolBar().GetSafeHwnd()->isVisible());
    EXPECT_TRUE(InPlace()->ResizeBar().isVisible());
    EXPECT_TRUE(InPlace()->StatusBar().GetSafeHwnd()->isVisible());
    EXPECT_FALSE(frame->PaneLabel(0)->isVisible());
    EXPECT_EQ(InPlacePane(1).substr(0, 8), "ORTHO ON");
    EXPECT_EQ(InPlacePane(3), "ZP");

    // A menu command and clicks go to the embedded drawing.
    frame->OnCommand(10009);
    EXPECT_EQ(InPlaceView().m_mode, MODE_LINE);
    EXPECT_EQ(ContainerView().m_mode, MODE_NONE);
    EXPECT_EQ(InPlacePane(0).substr(0, 11), "From point:");
    EXPECT_EQ(MainPane(0), "container prompt");
    InPlaceView().OnLButtonDown(MK_LBUTTON, CPoint{20, 20});
    InPlaceView().OnLButtonDown(MK_LBUTTON, CPoint{120, 90});
    InPlaceView().OnRButtonDown(MK_RBUTTON, CPoint{120, 90});
    EXPECT_EQ(currentDoc->GetEntityList().GetCount(), 2);
    EXPECT_EQ(container->GetEntityList().GetCount(), 0);
    EXPECT_EQ(item->NativeData(), oldBytes);

    // A click on the container outside the object ends it.
    container->SetModifiedFlag(false);
    ContainerView().OnLButtonDown(MK_LBUTTON, CPoint{500, 400});
    EXPECT_EQ(theApp.m_server.RunState(*item), CDrawingServer::notRunning);
    EXPECT_EQ(item->GetItemState(), COleClientItem::loadedState);
    EXPECT_NE(item->NativeData(), oldBytes);
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
    EXPECT_NE(item->GetPresentationData(), oldPicture);
    CMetaFile picture;
    ASSERT_FALSE(CMetaFile::FromBytes(item->GetPresentationData(), picture));
    EXPECT_GT(picture.CallCount(), 0u);
    EXPECT_TRUE(container->IsModified());
    // The application's values go back to 0 and the bars leave with the frame.
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
    EXPECT_EQ(theApp.m_inPlaceView, nullptr);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    EXPECT_EQ(theApp.GetCurrentView(current, currentDoc), 0);
    EXPECT_EQ(frame->findChild<QToolBar*>("toolBar" + QString::number(CInPlaceFrame::kToolBarId)), nullptr);
    EXPECT_TRUE(frame->PaneLabel(0)->isVisible());
    EXPECT_EQ(MainPane(0), "container prompt");
    ContainerView().ShowPrompt(0, "back");
    EXPECT_EQ(MainPane(0), "back");
}

TEST_F(InPlaceTest, TheObjectTakesTheDrawingsSizeWhenItComesBack)
{
    CRectaCntrItem* item = AddDrawing(CRect(40, 30, 140, 100));
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{50, 50});
    ASSERT_EQ(theApp.m_server.RunState(*item), CDrawingServer::activeInPlace);
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    frame->OnCommand(ID_CANCEL_EDIT_CNTR);
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    // A 12 x 8 window at 37 pixels a centimetre, the top-left corner kept.
    LSize extent;
    ASSERT_TRUE(item->GetExtent(extent));
    EXPECT_NEAR(double(item->m_rect.left), 40, 1.0);
    EXPECT_NEAR(double(item->m_rect.top), 30, 1.0);
    EXPECT_NEAR(double(item->m_rect.Width()), 12 * 37, 2.0);
    EXPECT_NEAR(double(item->m_rect.Height()), 8 * 37, 2.0);
}

TEST_F(InPlaceTest, AnUnchangedDrawingLeavesTheContainerAsItWas)
{
    CRectaCntrItem* item = AddDrawing();
    const std::vector<BYTE> bytes = item->NativeData();
    container->SetModifiedFlag(false);
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{100, 100});
    ASSERT_EQ(theApp.m_server.RunState(*item), CDrawingServer::activeInPlace);
    frame->OnCommand(ID_CANCEL_EDIT_CNTR);
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    EXPECT_EQ(item->NativeData(), bytes);
    EXPECT_FALSE(container->IsModified());
}

TEST_F(InPlaceTest, TypedCharactersReachTheViewEditedInPlace)
{
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    frame->OnCommand(10009);
    QWidget* target = InPlace()->ViewWidget();
    for (int key : {Qt::Key_3, Qt::Key_Comma, Qt::Key_4}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        EXPECT_TRUE(QApplication::sendEvent(target, &press));
    }
    EXPECT_EQ(InPlaceView().m_typed, "3,4");
    EXPECT_TRUE(ContainerView().m_typed.empty());
    EXPECT_EQ(InPlacePane(0).substr(0, 3), "3,4");
    // Ctrl+C cancels the embedded drawing's command.
    QKeyEvent cancel(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(frame->ActiveChild()->ViewWidget(), &cancel);
    EXPECT_EQ(InPlaceView().m_mode, MODE_NONE);
}

TEST_F(InPlaceTest, TheToolBarsButtonsAndTheStatusBarsPanes)
{
    CRectaCntrItem* item = AddDrawing(CRect(40, 30, 280, 190), DrawingWithLines(1, RGB(255, 0, 0)));
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    CToolBar& bar = InPlace()->ToolBar();
    struct Button {
        UINT id;
        bool enabled;
    };
    const Button expected[] = {{10026, true},  {4010, false},  {10042, true}, {10075, true}, {10130, true},
                               {10222, true},  {0, false},     {10045, true}, {10046, true}, {0, false},
                               {10034, false}, {10036, false}, {4013, false}, {4012, false}, {0, false},
                               {10008, true},  {10080, true},  {10028, true}, {10029, true}, {0, false},
                               {10010, true}};
    ASSERT_EQ(bar.GetCount(), 21);
    EXPECT_EQ(GetDlgCtrlID(bar.GetSafeHwnd()), 0xE800);
    const QList<QAction*> actions = bar.GetSafeHwnd()->actions();
    ASSERT_EQ(actions.size(), 21);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(bar.GetItemID(i), expected[i].id) << i;
        EXPECT_EQ(actions[i]->isSeparator(), expected[i].id == 0) << i;
        if (expected[i].id != 0) {
            EXPECT_EQ(actions[i]->data().toInt(), int(expected[i].id)) << i;
            EXPECT_EQ(actions[i]->isEnabled(), expected[i].enabled) << i;
        }
    }
    // The colour swatch stands at 4013 and shows the current colour.
    ASSERT_TRUE(InPlace()->Swatch());
    EXPECT_EQ(bar.ButtonWindow(12), InPlace()->Swatch());
    EXPECT_EQ(InPlace()->Swatch()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(frame->ColorSwatch()->Color(), container->m_color);
    theApp.m_server.Drawing(*item)->m_color = RGB(0, 0, 255);
    frame->OnCommand(ID_REDRAW);
    EXPECT_EQ(InPlace()->Swatch()->Color(), RGB(0, 0, 255));

    CStatusBar& status = InPlace()->StatusBar();
    EXPECT_EQ(GetDlgCtrlID(status.GetSafeHwnd()), 0xE801);
    const UINT panes[] = {0, 0, 0, 0, 0xE701, 0xE702, 0xE703};
    ASSERT_EQ(status.GetCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(status.GetItemID(i), panes[i]) << i;
    EXPECT_EQ(status.GetPaneText(4), "CAP");
    EXPECT_EQ(GetDlgCtrlID(&InPlace()->ResizeBar()), 0xE803);
    EXPECT_EQ(InPlace()->DropTarget().Window(), InPlace());
    EXPECT_TRUE(InPlace()->acceptDrops());
}

TEST_F(InPlaceTest, ButtonsRunTheirCommandsOnTheDrawingInPlace)
{
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    const std::string mainOrtho = MainPane(1);
    CRectaDoc* drawing = theApp.m_server.Drawing(*item);
    const int containerOrtho = container->m_ortho;
    InPlace()->ToolBar().GetSafeHwnd()->actions()[0]->trigger();
    EXPECT_EQ(drawing->m_ortho, 0);
    EXPECT_EQ(container->m_ortho, containerOrtho);
    EXPECT_EQ(InPlacePane(1), "ORTHO OFF             ");
    EXPECT_EQ(MainPane(1), mainOrtho);
    drawing->ToggleOrtho();
    EXPECT_EQ(InPlacePane(1), "ORTHO ON             ");

    // Every help command runs the frame's help, the about box.
    for (int id : CInPlaceFrame::HelpCommands()) {
        ScriptedMessageBoxes boxes({IDOK});
        InPlace()->OnCommand(id);
        ASSERT_EQ(boxes.asked.size(), 1u) << id;
        EXPECT_EQ(boxes.asked[0], "Zepa - 2D and 3D drafting");
    }
}

TEST_F(InPlaceTest, TheFrameFollowsTheResizeBar)
{
    CRectaCntrItem* item = AddDrawing(CRect(40, 30, 280, 190));
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    COleResizeBar& bar = InPlace()->ResizeBar();
    container->SetModifiedFlag(false);
    // A drag between the handles changes nothing.
    DragResizeBar(QPoint(COleIPFrameWnd::kBorder + 10, 1), QPoint(9, 9));
    EXPECT_EQ(item->m_rect, CRect(40, 30, 280, 190));
    EXPECT_FALSE(container->IsModified());
    struct Drag {
        COleResizeBar::Handle handle;
        QPoint by;
        CRect expected;
    };
    const Drag drags[] = {
        {COleResizeBar::bottomRight, {30, 20}, CRect(40, 30, 310, 210)},
        {COleResizeBar::topLeft, {-10, -5}, CRect(30, 25, 310, 210)},
        {COleResizeBar::left, {400, 7}, CRect(302, 25, 310, 210)},  // no narrower than the least item
        {COleResizeBar::top, {3, 50}, CRect(302, 75, 310, 210)},
    };
    for (const Drag& d : drags) {
        DragResizeBar(bar.HandleRect(d.handle).center(), d.by);
        EXPECT_EQ(item->m_rect, d.expected);
        const QRect expected = Rect(d.expected);
        EXPECT_EQ(InPlace()->ItemRect(), expected);
        EXPECT_EQ(InPlace()->ViewWidget()->size(), expected.size());
        EXPECT_EQ(bar.geometry(), QRect(QPoint(0, 0), InPlace()->size()));
        const int b = COleIPFrameWnd::kBorder;
        EXPECT_EQ(InPlace()->geometry(), expected.adjusted(-b, -b, b, b));
    }
    EXPECT_TRUE(container->IsModified());
    // The object keeps its place in the drawing through a zoom, and the frame follows it.
    const CPointd corner = item->m_corner1;
    ContainerView().OnSize(700, 500);
    EXPECT_EQ(item->m_corner1.x, corner.x);
    EXPECT_EQ(InPlace()->ItemRect(), Rect(item->m_rect));
}

// Two windows of the container, the second showing twice as much of it: an
// object edited in place in either is framed, resized and given its drawing's
// size through that window, whatever the other one paints meanwhile.
TEST_F(InPlaceTest, AnObjectEditedInPlaceIsPlacedThroughItsOwnWindow)
{
    CRectaCntrItem* item = AddDrawing(CRect(40, 30, 280, 190));
    CRectaView& first = ContainerView();
    CRectaView& second = ZoomedOutWindow()->View();
    ASSERT_NEAR(double(RectIn(second, *item).Width()), 120.0, 1.0);
    for (CRectaView* in : {&second, &first}) {
        SCOPED_TRACE(in == &first ? "first window" : "second window");
        CRectaView& other = in == &first ? second : first;
        const CRect shown = RectIn(*in, *item);
        Repaint(other);
        ASSERT_TRUE(theApp.m_server.Run(*item, *in, false));
        EXPECT_EQ(InPlace()->ItemRect(), Rect(shown));
        DragResizeBar(InPlace()->ResizeBar().HandleRect(COleResizeBar::bottomRight).center(), QPoint(20, 10));
        const CRect resized(shown.left, shown.top, shown.right + 20, shown.bottom + 10);
        EXPECT_EQ(InPlace()->ItemRect(), Rect(resized));
        EXPECT_EQ(item->m_corner2, in->DeviceToWorld(CPoint{resized.right, resized.bottom}));

        const CPointd topLeft = item->m_corner1;
        Repaint(other);
        DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
        theApp.m_server.Close(*item);
        LSize extent;
        ASSERT_TRUE(item->GetExtent(extent));
        EXPECT_EQ(item->m_corner1, topLeft);
        const CRect sized = RectIn(*in, *item);
        EXPECT_NEAR(double(sized.Width()), double(HimetricToPixels(extent.cx)), 1.0);
        EXPECT_NEAR(double(sized.Height()), double(HimetricToPixels(extent.cy)), 1.0);
    }
}

// Only the window holding an object's frame places it: a whole-drawing update
// and a resize of another window leave it over the object, and the resize bar
// resizes the object in its own window.
TEST_F(InPlaceTest, OnlyTheWindowHoldingTheFramePlacesIt)
{
    CRectaCntrItem* item = AddDrawing(CRect(40, 30, 280, 190));
    CRectaView& first = ContainerView();
    Cwm_MDICHILDWnd* second = ZoomedOutWindow();
    ASSERT_TRUE(theApp.m_server.Run(*item, first, false));
    const QRect over = InPlace()->ItemRect();
    container->UpdateAllViews(nullptr);
    EXPECT_EQ(InPlace()->ItemRect(), over) << "a whole-drawing update";
    const int width = second->View().m_clientWidth;
    second->resize(second->width() - 60, second->height() - 40);
    QApplication::processEvents();
    ASSERT_NE(second->View().m_clientWidth, width);
    EXPECT_EQ(InPlace()->ItemRect(), over) << "the other window resized";
    const CPointd bottomRight = item->m_corner2;
    DragResizeBar(InPlace()->ResizeBar().HandleRect(COleResizeBar::topLeft).center(), QPoint(-10, -5));
    EXPECT_EQ(InPlace()->ItemRect(), over.adjusted(-10, -5, 0, 0));
    EXPECT_EQ(item->m_corner1, first.DeviceToWorld(CPoint{over.left() - 10, over.top() - 5}));
    EXPECT_EQ(item->m_corner2, bottomRight);
}

// A new drawing object could not run in a drawing edited in place: it is not
// made there at all. A picture is.
TEST_F(InPlaceTest, ADrawingEditedInPlaceMakesNoNewDrawingButTakesAPicture)
{
    CRectaCntrItem* outer = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*outer, ContainerView(), false));
    CRectaDoc* drawing = theApp.m_server.Drawing(*outer);
    const auto insert = [this](bool fromFile, const std::string& file) {
        ScriptedForms forms;
        forms.Expect("INSERTOBJECT", OkWith({{"fromFile", fromFile ? "1" : "0"},
                                             {"kind", "Zepa Drawing"},
                                             {"file", file},
                                             {"link", "0"}}));
        ScriptedMessageBoxes boxes({IDOK});
        boxes.AllowUnused();
        frame->OnCommand(ID_OLE_INSERT_NEW);
        return boxes.asked;
    };
    const std::vector<std::string> asked = insert(false, "");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("The objects of a drawing edited in place cannot be activated", 0), 0u) << asked[0];
    EXPECT_TRUE(drawing->GetItems().empty());
    EXPECT_FALSE(drawing->IsModified());
    EXPECT_EQ(theApp.m_server.RunState(*outer), CDrawingServer::activeInPlace);

    const std::string png = testing::TempDir() + "/inplace_picture.png";
    WriteFile(png, PictureBytes(30, 20, 0x00FF00));
    EXPECT_TRUE(insert(true, png).empty());
    ASSERT_EQ(drawing->GetItems().size(), 1u);
    EXPECT_EQ(drawing->GetItems().at(0)->GetKind(), OleObjectKind::picture);
}

TEST_F(InPlaceTest, DrawingsTooDeepOrDamagedAreNotOpened)
{
    // A chain of drawings each inside an object of the one before.
    std::vector<std::unique_ptr<CRectaDoc>> chain;
    CRectaCntrItem* holder = AddDrawing();
    for (int depth = 0; depth < 16; ++depth) {
        auto inner = std::make_unique<CRectaDoc>();
        ASSERT_FALSE(holder->LoadDrawing(*inner)) << depth;
        holder = AddDrawing(CRect(40, 30, 280, 190), DrawingWithLines(1), inner.get());
        chain.push_back(std::move(inner));
    }
    CRectaCntrItem* damaged = AddDrawing(CRect(300, 200, 400, 300), {1, 2, 3});
    struct Case {
        CRectaCntrItem* item;
        bool open;
    };
    for (const Case c : {Case{holder, false}, Case{holder, true}, Case{damaged, false}, Case{damaged, true}}) {
        const std::size_t children = frame->Children().size();
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(theApp.m_server.Run(*c.item, ContainerView(), c.open));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0].rfind("The embedded drawing cannot be opened: ", 0), 0u) << boxes.asked[0];
        EXPECT_EQ(theApp.m_server.RunState(*c.item), 0);
        EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
        EXPECT_EQ(frame->Children().size(), children);
    }
    // One level less is opened.
    CRectaCntrItem* fifteen = chain[14]->GetItems().size() ? static_cast<CRectaCntrItem*>(chain[14]->GetItems().at(0)) : nullptr;
    ASSERT_TRUE(fifteen);
    EXPECT_EQ(fifteen->NestingDepth(), 15);
    EXPECT_TRUE(theApp.m_server.Run(*fifteen, ContainerView(), false));
    theApp.m_server.Close(*fifteen);
    while (!chain.empty())
        chain.pop_back();
}

TEST_F(InPlaceTest, ChoosingAnotherObjectEndsTheFirstOnesEditing)
{
    CRectaCntrItem* first = AddDrawing(CRect(20, 20, 200, 150));
    CRectaCntrItem* second = AddDrawing(CRect(300, 200, 400, 280));
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{50, 50});
    ASSERT_EQ(theApp.m_server.RunState(*first), CDrawingServer::activeInPlace);
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{350, 250});
    EXPECT_EQ(theApp.m_server.RunState(*first), 0);
    EXPECT_EQ(theApp.m_server.RunState(*second), CDrawingServer::activeInPlace);
    EXPECT_EQ(LinesIn(first->NativeData()), 2);
    EXPECT_EQ(InPlace()->ItemRect(), Rect(second->m_rect));
    // Running it again keeps its session.
    CRectaDoc* drawing = theApp.m_server.Drawing(*second);
    ASSERT_TRUE(theApp.m_server.Run(*second, ContainerView(), false));
    EXPECT_EQ(theApp.m_server.Drawing(*second), drawing);
}

TEST_F(InPlaceTest, EscapeEndsEditingInPlaceEvenWhenTheObjectCoversTheView)
{
    // Nothing of the container shows outside this object to click on.
    CRectaCntrItem* item = AddDrawing(CRect(-50, -50, 2000, 2000));
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    struct Key {
        Qt::KeyboardModifiers modifiers;
        bool ends;
    };
    for (const Key key : {Key{Qt::ShiftModifier, false}, Key{Qt::ControlModifier, false}, Key{Qt::NoModifier, true}}) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, key.modifiers);
        QApplication::sendEvent(InPlace()->ViewWidget(), &escape);
        EXPECT_EQ(theApp.m_server.RunState(*item) == CDrawingServer::notRunning, key.ends) << key.modifiers;
    }
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    // With no object active the key is left alone.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frame->ActiveChild()->ViewWidget(), &escape);
    EXPECT_EQ(ContainerView().m_mode, MODE_NONE);
}

TEST_F(InPlaceTest, TheToolBarTakesARowOfItsOwnAndGivesItBack)
{
    frame->resize(1280, 700);
    QApplication::processEvents();
    const int viewTop = frame->centralWidget()->geometry().top();
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    QToolBar* bar = InPlace()->ToolBar().GetSafeHwnd();
    EXPECT_TRUE(frame->toolBarBreak(bar));
    QApplication::processEvents();
    EXPECT_GT(frame->centralWidget()->geometry().top(), viewTop);
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(bar->widgetForAction(action)->isVisible()) << action->data().toInt();
        }
    }
    theApp.m_server.Close(*item);
    QApplication::processEvents();
    EXPECT_EQ(frame->centralWidget()->geometry().top(), viewTop);
}

TEST_F(InPlaceTest, SavingTheContainerSavesWhatItsRunningObjectsShow)
{
    const std::string path = testing::TempDir() + "/inplace_container_save.zpd";
    for (const bool open : {false, true}) {
        CRectaCntrItem* item = AddDrawing();
        ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), open));
        CRectaDoc* drawing = theApp.m_server.Drawing(*item);
        CRectaView& view = open ? frame->ActiveChild()->View() : InPlaceView();
        DrawLine(view, CPoint{10, 10}, CPoint{50, 50});
        container->SetPathName(path);
        for (Cwm_MDICHILDWnd* child : frame->Children())
            if (child->Document() == container)
                child->mdiArea()->setActiveSubWindow(child);
        ASSERT_EQ(frame->ActiveChild()->Document(), container);
        frame->OnCommand(ID_FILE_SAVE);
        CRectaDoc saved;
        ASSERT_TRUE(saved.OnOpenDocument(path)) << open;
        ASSERT_EQ(saved.GetItems().size(), container->GetItems().size()) << open;
        EXPECT_EQ(LinesIn(static_cast<CRectaCntrItem*>(saved.GetItems().at(saved.GetItems().size() - 1))->NativeData()), 2)
            << open;
        // The session goes on, over the item as it now is.
        EXPECT_EQ(theApp.m_server.Drawing(*item), drawing) << open;
        EXPECT_FALSE(drawing->IsModified()) << open;
        if (!open) {
            EXPECT_EQ(InPlace()->ItemRect(), Rect(item->m_rect));
        }
        theApp.m_server.Close(*item);
        FlushDeletes();
    }
}

TEST_F(InPlaceTest, SaveAsOfAnOpenDrawingWritesACopyAndItStillGoesBack)
{
    const std::string path = testing::TempDir() + "/inplace_embedded_copy.zpd";
    frame->m_askSaveName = [&path](const FileQuestion&) { return path; };
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), true));
    Cwm_MDICHILDWnd* window = frame->ActiveChild();
    CRectaDoc* drawing = theApp.m_server.Drawing(*item);
    const std::string title = window->windowTitle().toStdString();
    DrawLine(window->View(), CPoint{10, 10}, CPoint{90, 70});
    frame->OnCommand(ID_FILE_SAVE_AS);
    std::vector<BYTE> copy;
    ASSERT_FALSE(ReadDrawingFileBytes(path, copy));
    EXPECT_EQ(LinesIn(copy), 2);
    EXPECT_TRUE(drawing->GetPathName().empty());
    EXPECT_TRUE(drawing->IsEmbedded());
    EXPECT_TRUE(drawing->IsModified());
    EXPECT_EQ(window->windowTitle().toStdString(), title);
    {
        ScriptedMessageBoxes none;
        EXPECT_TRUE(window->close());
        EXPECT_TRUE(none.asked.empty());
    }
    FlushDeletes();
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
}

TEST_F(InPlaceTest, ClosingTheContainerPutsTheDrawingBackBeforeItsQuestion)
{
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    container->SetModifiedFlag(false);
    ScriptedMessageBoxes boxes({IDCANCEL});
    EXPECT_FALSE(frame->ActiveChild()->close());
    ASSERT_EQ(boxes.asked.size(), 1u);  // the container was modified by the drawing coming back
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
}

TEST_F(InPlaceTest, FileCloseAsksOnceWithTheDrawingBackInItsObject)
{
    for (const bool open : {false, true}) {
        CRectaDoc* doc = frame->NewDocument();
        container = doc;
        CRectaCntrItem* item = AddDrawing();
        CRectaView& containerView = ContainerView();
        ASSERT_TRUE(theApp.m_server.Run(*item, containerView, open));
        DrawLine(open ? frame->ActiveChild()->View() : InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
        for (Cwm_MDICHILDWnd* child : frame->Children())
            if (child->Document() == doc)
                child->mdiArea()->setActiveSubWindow(child);
        doc->SetModifiedFlag();
        ScriptedMessageBoxes boxes({IDNO});
        frame->OnCommand(ID_FILE_CLOSE);
        FlushDeletes();
        EXPECT_EQ(boxes.asked.size(), 1u) << open;
        // Only the fixture's first drawing is left: the container and its object's drawing are closed.
        EXPECT_EQ(frame->Documents().size(), 1u) << open;
    }
}

TEST_F(InPlaceTest, AnotherDrawingsWindowEndsEditingInPlace)
{
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    ASSERT_TRUE(frame->NewDocument());
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
}

TEST_F(InPlaceTest, AFrameGoingWithItsContainerEndsTheSession)
{
    CRectaCntrItem* item = AddDrawing();
    const std::vector<BYTE> bytes = item->NativeData();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    frame->OpenAerialView();
    CRectaDoc* drawing = theApp.m_server.Drawing(*item);
    ASSERT_TRUE(frame->AerialFrame(drawing));
    delete InPlace();
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
    EXPECT_EQ(theApp.m_inPlaceView, nullptr);
    EXPECT_EQ(item->NativeData(), bytes);
    EXPECT_EQ(frame->AerialFrame(drawing), nullptr);
}

TEST_F(InPlaceTest, TheOpenVerbEditsInAWindowOfItsOwnAndPutsItBackOnClose)
{
    CRectaCntrItem* item = AddDrawing();
    const std::size_t children = frame->Children().size();
    ContainerView().OnLButtonDblClk(MK_LBUTTON | MK_CONTROL, CPoint{100, 100});
    EXPECT_EQ(theApp.m_server.RunState(*item), CDrawingServer::openInWindow);
    EXPECT_EQ(item->GetItemState(), COleClientItem::openState);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    ASSERT_EQ(frame->Children().size(), children + 1);
    Cwm_MDICHILDWnd* window = frame->ActiveChild();
    CRectaDoc* drawing = theApp.m_server.Drawing(*item);
    ASSERT_EQ(window->Document(), drawing);
    EXPECT_EQ(window->windowTitle().toStdString(), "Embedded drawing in " + container->GetTitle());
    EXPECT_TRUE(drawing->IsEmbedded());

    DrawLine(window->View(), CPoint{10, 10}, CPoint{90, 70});
    EXPECT_EQ(drawing->GetEntityList().GetCount(), 2);
    // Save puts it into the object; closing asks nothing and puts it back too.
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(LinesIn(item->NativeData()), 2);
    EXPECT_TRUE(container->IsModified());
    DrawLine(window->View(), CPoint{20, 10}, CPoint{90, 90});
    {
        ScriptedMessageBoxes none;
        EXPECT_TRUE(window->close());
    }
    FlushDeletes();
    EXPECT_EQ(LinesIn(item->NativeData()), 3);
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    EXPECT_EQ(item->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(frame->Children().size(), children);
}

TEST_F(InPlaceTest, ObjectsOfADrawingEditedInPlaceAreRefused)
{
    CRectaCntrItem* outer = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*outer, ContainerView(), false));
    CRectaCntrItem* inner = AddDrawing(CRect(5, 5, 60, 60), DrawingWithLines(1), theApp.m_server.Drawing(*outer));
    for (bool open : {false, true}) {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(theApp.m_server.Run(*inner, InPlaceView(), open));
        EXPECT_EQ(theApp.m_server.RunState(*inner), 0);
    }
    // Through the view: the double click asks the same.
    ScriptedMessageBoxes boxes({IDOK});
    InPlaceView().OnLButtonDblClk(MK_LBUTTON, CPoint{20, 20});
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(theApp.m_server.RunState(*outer), CDrawingServer::activeInPlace);
}

TEST_F(InPlaceTest, ADrawingInsideAnOpenDrawingGoesBackFirst)
{
    CRectaCntrItem* outer = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*outer, ContainerView(), true));
    CRectaDoc* middle = theApp.m_server.Drawing(*outer);
    Cwm_MDICHILDWnd* window = frame->ActiveChild();
    CRectaCntrItem* inner = AddDrawing(CRect(5, 5, 100, 80), DrawingWithLines(1), middle);
    ASSERT_TRUE(theApp.m_server.Run(*inner, window->View(), false));
    EXPECT_EQ(InPlace()->parentWidget(), window->ViewWidget());
    // The lines of the inner drawing as the container's object holds it.
    auto innerLines = [outer] {
        CRectaDoc reread;
        if (ReadDrawingBytes(outer->NativeData(), reread) || reread.GetItems().size() != 1)
            return -1;
        return LinesIn(reread.GetItems().at(0)->GetNativeData());
    };
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    middle->SetModifiedFlag(false);
    // Saving the open drawing takes the inner one in first; both go on.
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(theApp.m_server.RunState(*inner), CDrawingServer::activeInPlace);
    EXPECT_EQ(innerLines(), 2);
    DrawLine(InPlaceView(), CPoint{10, 50}, CPoint{50, 10});
    middle->SetModifiedFlag(false);
    theApp.m_server.Close(*outer);
    FlushDeletes();
    EXPECT_EQ(theApp.m_server.RunState(*outer), 0);
    // The inner drawing went into the middle one, and that into the container's object.
    EXPECT_EQ(innerLines(), 3);
}

TEST_F(InPlaceTest, WithoutAMainFrameOrAWindowNothingIsEditedInPlace)
{
    CRectaCntrItem* item = AddDrawing();
    auto* doc = new CRectaDoc;  // deleted with its last view
    doc->InitSettings(1);
    CRectaViewWidget alone(doc, false);
    alone.resize(300, 200);
    CRectaView bare;
    container->AddView(&bare);
    for (CRectaView* view : {&alone.View(), &bare}) {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(theApp.m_server.Run(*item, *view, false));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0], "The drawing cannot be edited in place here.");
        EXPECT_EQ(theApp.m_server.RunState(*item), 0);
        EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
        EXPECT_EQ(theApp.m_inPlaceActive, 0);
        EXPECT_EQ(alone.findChild<COleIPFrameWnd*>(), nullptr);
    }
    container->RemoveView(&bare);
}

TEST_F(InPlaceTest, AnOpenDrawingsWindowComesForwardForEitherVerb)
{
    CRectaCntrItem* item = AddDrawing();
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), true));
    CRectaDoc* drawing = theApp.m_server.Drawing(*item);
    for (bool open : {true, false}) {
        frame->CreateChildFrame(container);
        ASSERT_NE(frame->ActiveDocument(), drawing);
        ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), open));
        EXPECT_EQ(frame->ActiveDocument(), drawing) << open;
        EXPECT_EQ(theApp.m_server.Drawing(*item), drawing);
        EXPECT_EQ(theApp.m_server.RunState(*item), CDrawingServer::openInWindow);
    }
    // Open while in place: the session moves to a window.
    frame->CreateChildFrame(container);
    CRectaCntrItem* second = AddDrawing(CRect(300, 200, 400, 280));
    ASSERT_TRUE(theApp.m_server.Run(*second, ContainerView(), false));
    ASSERT_TRUE(theApp.m_server.Run(*second, ContainerView(), true));
    EXPECT_EQ(theApp.m_server.RunState(*second), CDrawingServer::openInWindow);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
}

TEST_F(InPlaceTest, ClosingOneOfTheContainersWindowsEndsOnlyWhatLiesInIt)
{
    Cwm_MDICHILDWnd* first = frame->ActiveChild();
    CRectaCntrItem* inPlace = AddDrawing(CRect(20, 20, 200, 150));
    CRectaCntrItem* open = AddDrawing(CRect(300, 200, 400, 280));
    ASSERT_TRUE(theApp.m_server.Run(*open, first->View(), true));
    frame->CreateChildFrame(container);
    Cwm_MDICHILDWnd* second = frame->ActiveChild();
    ASSERT_NE(second, first);
    ASSERT_TRUE(theApp.m_server.Run(*inPlace, first->View(), false));
    EXPECT_TRUE(first->close());
    EXPECT_EQ(theApp.m_server.RunState(*inPlace), 0);
    EXPECT_EQ(theApp.m_server.RunState(*open), CDrawingServer::openInWindow);
    EXPECT_TRUE(second->close());
    EXPECT_EQ(theApp.m_server.RunState(*open), 0);
    FlushDeletes();
}

TEST_F(InPlaceTest, FreeingARunningObjectEndsItsSession)
{
    CRectaCntrItem* item = AddDrawing();
    ContainerView().OnLButtonDblClk(MK_LBUTTON, CPoint{100, 100});
    ASSERT_EQ(theApp.m_server.RunState(*item), CDrawingServer::activeInPlace);
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    EXPECT_TRUE(container->DeleteItem(item));
    EXPECT_TRUE(container->GetItems().empty());
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
}

TEST_F(InPlaceTest, CtrlTabInTheViewEditedInPlaceEndsItAndActivatesTheOtherWindow)
{
    SwitchWindowsFromTheViewEditedInPlace(Qt::Key_Tab, Qt::ControlModifier);
}

TEST_F(InPlaceTest, CtrlShiftTabInTheViewEditedInPlaceEndsItAndActivatesTheOtherWindow)
{
    SwitchWindowsFromTheViewEditedInPlace(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
}

// The other ways out that begin with the keyboard in the view edited in place.
TEST_F(InPlaceTest, EveryWayOutFromTheViewEditedInPlaceLeavesNothingBehind)
{
    QToolBar* standard = frame->findChild<QToolBar*>("standardToolBar");
    QWidget* newButton = standard->widgetForAction(standard->actions().at(0));
    const std::function<void(QWidget*)> ways[] = {
        [](QWidget* view) { QTest::keyClick(view, Qt::Key_Escape); },
        [](QWidget* view) { QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier); },
        [newButton](QWidget*) { QTest::mouseClick(newButton, Qt::LeftButton); },
        [](QWidget* view) { QTest::keyClick(view, Qt::Key_W, Qt::ControlModifier); },
        [](QWidget* view) { QTest::keyClick(view, Qt::Key_F4, Qt::ControlModifier); },
    };
    // Closing asks about the drawing its object's drawing went back into.
    ScriptedMessageBoxes boxes({IDNO, IDNO});
    for (const auto& leave : ways) {
        container = frame->NewDocument();
        LeaveTheViewEditedInPlace(*AddDrawing(), leave);
    }
    EXPECT_EQ(boxes.asked.size(), 2u);
}

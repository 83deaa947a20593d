#include "app/aerialwnd.h"
#include "app/drawingserver.h"
#include "app/inplaceframe.h"
#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/rectaapp.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "model/dib.h"
#include "model/recta.h"
#include "platform/msgbox.h"
#include "platform/metafile.h"
#include "platform/oleserver.h"
#include "res/commands.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

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

// An object of the container holding a drawing's bytes, a rectangle and the
// picture last recorded from the drawing.
class TestItem : public CDrawingItem {
public:
    explicit TestItem(CRectaDoc* container, std::vector<BYTE> data = DrawingWithLines(1))
        : m_container(container), bytes(std::move(data))
    {
    }
    // An object that goes ends its drawing's session.
    ~TestItem() override { theApp.m_server.Close(*this); }
    std::vector<BYTE> NativeData() const override { return bytes; }
    void TakeBackDrawing(std::vector<BYTE> data, CRectaDoc& drawing) override
    {
        bytes = std::move(data);
        picture = drawing.GetEmbeddedItem()->RecordPicture().ToBytes();
        ++takenBack;
        m_container->SetModifiedFlag();
    }
    CRectaDoc* GetDocument() const override { return m_container; }
    void OnGetItemPosition(QRect& r) override { r = rect; }
    bool OnChangeItemPosition(const QRect& r) override
    {
        moves.push_back(r);
        rect = r;
        m_container->SetModifiedFlag();
        return true;
    }
    int NestingDepth() const override { return depth; }
    void InvalidateItem() override { ++invalidated; }

    CRectaDoc* m_container;
    std::vector<BYTE> bytes;
    QRect rect{40, 30, 240, 160};
    std::vector<BYTE> picture;
    int depth = 1;
    int takenBack = 0;
    int invalidated = 0;
    std::vector<QRect> moves;
};

class InPlaceTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<Cwm_MainWnd>();
        frame->resize(900, 700);
        frame->show();
        container = frame->NewDocument();
        container->SetModifiedFlag(false);
    }
    void TearDown() override
    {
        theApp.m_server.CloseAll();
        for (CRectaDoc* doc : frame->Documents())
            doc->SetModifiedFlag(false);
        frame.reset();
        FlushDeletes();
    }
    CRectaView& ContainerView() { return *frame->ActiveView(); }
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

    std::unique_ptr<Cwm_MainWnd> frame;
    CRectaDoc* container = nullptr;
};

}  // namespace

TEST_F(InPlaceTest, EditingInPlaceDrawsInTheEmbeddedDrawingAndPutsItBack)
{
    TestItem item(container);
    ContainerView().ShowPrompt(0, "container prompt");
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));

    EXPECT_EQ(theApp.m_server.RunState(item), CDrawingServer::activeInPlace);
    ASSERT_TRUE(InPlace());
    CRectaView* current = nullptr;
    CRectaDoc* currentDoc = nullptr;
    ASSERT_EQ(theApp.GetCurrentView(current, currentDoc), 1);
    EXPECT_EQ(current, &InPlaceView());
    EXPECT_EQ(currentDoc, theApp.m_server.Drawing(item));
    EXPECT_NE(currentDoc, container);
    EXPECT_EQ(theApp.m_inPlaceActive, 1);
    // The frame lies over the item inside the container's plan view, its view over the item.
    EXPECT_EQ(InPlace()->parentWidget(), frame->ActiveChild()->ViewWidget());
    EXPECT_EQ(InPlace()->ViewWidget()->geometry().size(), item.rect.size());
    EXPECT_EQ(InPlace()->ViewWidget()->mapTo(InPlace()->parentWidget(), QPoint(0, 0)), item.rect.topLeft());
    EXPECT_TRUE(InPlace()->isVisible());
    // Its bars show in the main frame in place of the frame's own status bar.
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
    EXPECT_EQ(item.takenBack, 0);

    const std::vector<BYTE> oldBytes = item.bytes;
    theApp.m_server.Close(item);
    EXPECT_EQ(theApp.m_server.RunState(item), CDrawingServer::notRunning);
    EXPECT_EQ(item.takenBack, 1);
    EXPECT_NE(item.bytes, oldBytes);
    EXPECT_EQ(LinesIn(item.bytes), 2);
    CMetaFile picture;
    ASSERT_FALSE(CMetaFile::FromBytes(item.picture, picture));
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
    EXPECT_GE(item.invalidated, 2);  // hatched while active, plain after
}

TEST_F(InPlaceTest, AnUnchangedDrawingLeavesTheContainerAsItWas)
{
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
    theApp.m_server.Close(item);
    EXPECT_EQ(item.takenBack, 0);
    EXPECT_FALSE(container->IsModified());
}

TEST_F(InPlaceTest, TypedCharactersReachTheViewEditedInPlace)
{
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
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
    TestItem item(container, DrawingWithLines(1, RGB(255, 0, 0)));
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
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
    theApp.m_server.Drawing(item)->m_color = RGB(0, 0, 255);
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
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
    const std::string mainOrtho = MainPane(1);
    CRectaDoc* drawing = theApp.m_server.Drawing(item);
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
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
    COleResizeBar& bar = InPlace()->ResizeBar();
    // A click between the handles changes nothing.
    const QPoint between(COleIPFrameWnd::kBorder + 10, 1);
    QMouseEvent press(QEvent::MouseButtonPress, between, bar.mapToGlobal(between), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&bar, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, between + QPoint(9, 9), bar.mapToGlobal(between) + QPoint(9, 9),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &release);
    EXPECT_TRUE(item.moves.empty());
    struct Drag {
        COleResizeBar::Handle handle;
        QPoint by;
        QRect expected;
    };
    const Drag drags[] = {
        {COleResizeBar::bottomRight, {30, 20}, QRect(40, 30, 270, 180)},
        {COleResizeBar::topLeft, {-10, -5}, QRect(30, 25, 280, 185)},
        {COleResizeBar::left, {400, 7}, QRect(302, 25, 8, 185)},  // no narrower than the least item
        {COleResizeBar::top, {3, 50}, QRect(302, 75, 8, 135)},
    };
    for (const Drag& d : drags) {
        const QPoint at = bar.HandleRect(d.handle).center();
        const QPoint global = bar.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at + d.by, global + d.by, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&bar, &release);
        ASSERT_FALSE(item.moves.empty());
        EXPECT_EQ(item.moves.back(), d.expected);
        EXPECT_EQ(InPlace()->ItemRect(), d.expected);
        EXPECT_EQ(InPlace()->ViewWidget()->size(), d.expected.size());
        EXPECT_EQ(bar.geometry(), QRect(QPoint(0, 0), InPlace()->size()));
        EXPECT_EQ(InPlace()->geometry(),
                  d.expected.adjusted(-COleIPFrameWnd::kBorder, -COleIPFrameWnd::kBorder, COleIPFrameWnd::kBorder,
                                      COleIPFrameWnd::kBorder));
    }
    EXPECT_EQ(item.moves.size(), 4u);
    EXPECT_TRUE(container->IsModified());
    EXPECT_EQ(item.moves.size(), 4u);
}

TEST_F(InPlaceTest, DrawingsTooDeepOrDamagedAreNotOpened)
{
    struct Case {
        int depth;
        std::vector<BYTE> bytes;
        bool open;
        bool runs;
    };
    const std::vector<BYTE> good = DrawingWithLines(1);
    const Case cases[] = {
        {16, good, false, true}, {17, good, false, false}, {17, good, true, false},
        {40, good, true, false}, {1, {1, 2, 3}, false, false}, {1, {1, 2, 3}, true, false},
    };
    for (const Case& c : cases) {
        TestItem item(container, c.bytes);
        item.depth = c.depth;
        const std::size_t children = frame->Children().size();
        ScriptedMessageBoxes boxes(c.runs ? std::deque<int>{} : std::deque<int>{IDOK});
        EXPECT_EQ(theApp.m_server.Run(item, ContainerView(), c.open), c.runs) << c.depth;
        EXPECT_EQ(theApp.m_server.RunState(item) != 0, c.runs) << c.depth;
        EXPECT_EQ(theApp.m_inPlaceFrame != nullptr, c.runs && !c.open);
        EXPECT_EQ(frame->Children().size(), children);
        theApp.m_server.Close(item);
    }
}

TEST_F(InPlaceTest, ChoosingAnotherObjectEndsTheFirstOnesEditing)
{
    TestItem first(container), second(container);
    second.rect = QRect(300, 200, 100, 80);
    ASSERT_TRUE(theApp.m_server.Run(first, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    ASSERT_TRUE(theApp.m_server.Run(second, ContainerView(), false));
    EXPECT_EQ(theApp.m_server.RunState(first), 0);
    EXPECT_EQ(theApp.m_server.RunState(second), CDrawingServer::activeInPlace);
    EXPECT_EQ(LinesIn(first.bytes), 2);
    EXPECT_EQ(InPlace()->ItemRect(), second.rect);
    // Running it again keeps its session.
    CRectaDoc* drawing = theApp.m_server.Drawing(second);
    ASSERT_TRUE(theApp.m_server.Run(second, ContainerView(), false));
    EXPECT_EQ(theApp.m_server.Drawing(second), drawing);
}

TEST_F(InPlaceTest, ClosingTheContainerPutsTheDrawingBackBeforeItsQuestion)
{
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    container->SetModifiedFlag(false);
    ScriptedMessageBoxes boxes({IDNO});
    EXPECT_TRUE(frame->ActiveChild()->close());
    ASSERT_EQ(boxes.asked.size(), 1u);  // the container was modified by the drawing coming back
    EXPECT_EQ(LinesIn(item.bytes), 2);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
    FlushDeletes();
}

TEST_F(InPlaceTest, AnotherDrawingsWindowEndsEditingInPlace)
{
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), false));
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    ASSERT_TRUE(frame->NewDocument());
    EXPECT_EQ(theApp.m_server.RunState(item), 0);
    EXPECT_EQ(LinesIn(item.bytes), 2);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
}

TEST_F(InPlaceTest, AFrameGoingWithItsContainerEndsTheSession)
{
    auto item = std::make_unique<TestItem>(container);
    ASSERT_TRUE(theApp.m_server.Run(*item, ContainerView(), false));
    frame->OpenAerialView();
    EXPECT_EQ(frame->AerialFrame(theApp.m_server.Drawing(*item))->Document(), theApp.m_server.Drawing(*item));
    delete InPlace();
    EXPECT_EQ(theApp.m_server.RunState(*item), 0);
    EXPECT_EQ(theApp.m_inPlaceActive, 0);
    EXPECT_EQ(theApp.m_inPlaceView, nullptr);
    EXPECT_EQ(item->takenBack, 0);
}

TEST_F(InPlaceTest, TheOpenVerbEditsInAWindowOfItsOwnAndPutsItBackOnClose)
{
    TestItem item(container);
    const std::size_t children = frame->Children().size();
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), true));
    EXPECT_EQ(theApp.m_server.RunState(item), CDrawingServer::openInWindow);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
    ASSERT_EQ(frame->Children().size(), children + 1);
    Cwm_MDICHILDWnd* window = frame->ActiveChild();
    CRectaDoc* drawing = theApp.m_server.Drawing(item);
    ASSERT_EQ(window->Document(), drawing);
    EXPECT_EQ(window->windowTitle().toStdString(), "Embedded drawing in " + container->GetTitle());
    EXPECT_TRUE(drawing->IsEmbedded());

    DrawLine(window->View(), CPoint{10, 10}, CPoint{90, 70});
    EXPECT_EQ(drawing->GetEntityList().GetCount(), 2);
    // Save puts it into the object; closing asks nothing and puts it back too.
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(item.takenBack, 1);
    EXPECT_EQ(LinesIn(item.bytes), 2);
    DrawLine(window->View(), CPoint{20, 10}, CPoint{90, 90});
    {
        ScriptedMessageBoxes none;
        EXPECT_TRUE(window->close());
    }
    FlushDeletes();
    EXPECT_EQ(item.takenBack, 2);
    EXPECT_EQ(LinesIn(item.bytes), 3);
    EXPECT_EQ(theApp.m_server.RunState(item), 0);
    EXPECT_EQ(frame->Children().size(), children);
    EXPECT_TRUE(container->IsModified());
}

TEST_F(InPlaceTest, ObjectsOfADrawingEditedInPlaceAreRefused)
{
    TestItem outer(container);
    ASSERT_TRUE(theApp.m_server.Run(outer, ContainerView(), false));
    TestItem inner(theApp.m_server.Drawing(outer));
    inner.depth = 2;
    for (bool open : {false, true}) {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(theApp.m_server.Run(inner, InPlaceView(), open));
        EXPECT_EQ(theApp.m_server.RunState(inner), 0);
    }
    EXPECT_EQ(theApp.m_server.RunState(outer), CDrawingServer::activeInPlace);
}

TEST_F(InPlaceTest, ADrawingInsideAnOpenDrawingGoesBackFirst)
{
    TestItem outer(container);
    ASSERT_TRUE(theApp.m_server.Run(outer, ContainerView(), true));
    CRectaDoc* middle = theApp.m_server.Drawing(outer);
    Cwm_MDICHILDWnd* window = frame->ActiveChild();
    TestItem inner(middle);
    inner.depth = 2;
    ASSERT_TRUE(theApp.m_server.Run(inner, window->View(), false));
    EXPECT_EQ(InPlace()->parentWidget(), window->ViewWidget());
    DrawLine(InPlaceView(), CPoint{10, 10}, CPoint{50, 50});
    middle->SetModifiedFlag(false);
    theApp.m_server.Close(outer);
    EXPECT_EQ(LinesIn(inner.bytes), 2);
    EXPECT_EQ(outer.takenBack, 1);  // modified by the inner drawing coming back
    FlushDeletes();
    EXPECT_EQ(theApp.m_server.RunState(outer), 0);
    EXPECT_EQ(theApp.m_server.RunState(inner), 0);
}

TEST_F(InPlaceTest, WithoutAMainFrameOrAWindowNothingIsEditedInPlace)
{
    TestItem item(container);
    auto* doc = new CRectaDoc;  // deleted with its last view
    doc->InitSettings(1);
    CRectaViewWidget alone(doc, false);
    alone.resize(300, 200);
    CRectaView bare;
    container->AddView(&bare);
    for (CRectaView* view : {&alone.View(), &bare}) {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(theApp.m_server.Run(item, *view, false));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(boxes.asked[0], "The drawing cannot be edited in place here.");
        EXPECT_EQ(theApp.m_server.RunState(item), 0);
        EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
        EXPECT_EQ(theApp.m_inPlaceActive, 0);
        EXPECT_EQ(alone.findChild<COleIPFrameWnd*>(), nullptr);
    }
    container->RemoveView(&bare);
}

TEST_F(InPlaceTest, AnOpenDrawingsWindowComesForwardForEitherVerb)
{
    TestItem item(container);
    ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), true));
    CRectaDoc* drawing = theApp.m_server.Drawing(item);
    for (bool open : {true, false}) {
        frame->CreateChildFrame(container);
        ASSERT_NE(frame->ActiveDocument(), drawing);
        ASSERT_TRUE(theApp.m_server.Run(item, ContainerView(), open));
        EXPECT_EQ(frame->ActiveDocument(), drawing) << open;
        EXPECT_EQ(theApp.m_server.Drawing(item), drawing);
        EXPECT_EQ(theApp.m_server.RunState(item), CDrawingServer::openInWindow);
    }
    // Open while in place: the session moves to a window.
    TestItem second(container);
    ASSERT_TRUE(theApp.m_server.Run(second, ContainerView(), false));
    ASSERT_TRUE(theApp.m_server.Run(second, ContainerView(), true));
    EXPECT_EQ(theApp.m_server.RunState(second), CDrawingServer::openInWindow);
    EXPECT_EQ(theApp.m_inPlaceFrame, nullptr);
}

TEST_F(InPlaceTest, ClosingOneOfTheContainersWindowsEndsOnlyWhatLiesInIt)
{
    Cwm_MDICHILDWnd* first = frame->ActiveChild();
    TestItem inPlace(container), open(container);
    ASSERT_TRUE(theApp.m_server.Run(open, first->View(), true));
    frame->CreateChildFrame(container);
    Cwm_MDICHILDWnd* second = frame->ActiveChild();
    ASSERT_NE(second, first);
    ASSERT_TRUE(theApp.m_server.Run(inPlace, first->View(), false));
    EXPECT_TRUE(first->close());
    EXPECT_EQ(theApp.m_server.RunState(inPlace), 0);
    EXPECT_EQ(theApp.m_server.RunState(open), CDrawingServer::openInWindow);
    EXPECT_TRUE(second->close());
    EXPECT_EQ(theApp.m_server.RunState(open), 0);
    FlushDeletes();
}

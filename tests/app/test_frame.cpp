#include "app/aerialwnd.h"
#include "app/helpwnd.h"
#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/menus.h"
#include "app/rectaapp.h"
#include "app/startup.h"
#include "app/view3dwnd.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "model/blockindex.h"
#include "model/dib.h"
#include "model/recta.h"
#include "res/commands.h"
#include "support/blocks.h"
#include "support/scripted_dialogs.h"
#include "view2d/archedit.h"
#include "view2d/viewtools.h"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QToolBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return QApplication::sendEvent(target, &event);
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<Cwm_MainWnd>();
        frame->show();
    }
    void TearDown() override
    {
        for (CRectaDoc* doc : frame->Documents())
            doc->SetModifiedFlag(false);
        frame.reset();
        FlushDeletes();
    }
    std::unique_ptr<Cwm_MainWnd> frame;
};

// Records the mouse messages instead of running the view's handlers.
class RecordingViewWidget : public CRectaViewWidget {
public:
    using CRectaViewWidget::CRectaViewWidget;
    struct Message {
        int msg;
        unsigned flags;
        int x, y;
    };
    std::vector<Message> got;

protected:
    void SendMouse(Mouse msg, unsigned flags, CPoint point) override
    {
        got.push_back({int(msg), flags, point.x, point.y});
    }
};

}  // namespace

TEST(ViewWidget, MouseFlagsCarryExactlyTheButtonsAndModifiersHeld)
{
    auto* doc = new CRectaDoc;  // deleted with its last view
    doc->OnNewDocument();
    RecordingViewWidget widget(doc, false);
    widget.resize(200, 100);

    struct Case {
        Qt::MouseButton button;
        Qt::MouseButtons held;
        Qt::KeyboardModifiers modifiers;
        unsigned flags;
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier, MK_LBUTTON | MK_SHIFT},
        {Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, MK_LBUTTON | MK_CONTROL},
        {Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, MK_LBUTTON},
        {Qt::LeftButton, Qt::LeftButton, Qt::AltModifier, MK_LBUTTON},
        {Qt::RightButton, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, MK_RBUTTON | MK_SHIFT | MK_CONTROL},
        {Qt::MiddleButton, Qt::MiddleButton | Qt::LeftButton, Qt::NoModifier, MK_MBUTTON | MK_LBUTTON},
    };
    for (const Case& c : cases) {
        widget.got.clear();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(37, 21), widget.mapToGlobal(QPointF(37, 21)), c.button,
                          c.held, c.modifiers);
        QApplication::sendEvent(&widget, &press);
        ASSERT_EQ(widget.got.size(), 1u);
        const int expectMsg = c.button == Qt::LeftButton ? 0 : c.button == Qt::RightButton ? 1 : 2;
        EXPECT_EQ(widget.got[0].msg, expectMsg);
        EXPECT_EQ(widget.got[0].flags, c.flags) << "button " << c.button << " modifiers " << c.modifiers;
        EXPECT_EQ(widget.got[0].x, 37);
        EXPECT_EQ(widget.got[0].y, 21);
    }

    widget.got.clear();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), widget.mapToGlobal(QPointF(5, 6)), Qt::NoButton,
                     Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&widget, &move);
    ASSERT_EQ(widget.got.size(), 1u);
    EXPECT_EQ(widget.got[0].msg, 3);
    EXPECT_EQ(widget.got[0].flags, MK_RBUTTON | MK_CONTROL);
}

TEST(Keys, TypedCharactersComeFromKeyAndModifiers)
{
    EXPECT_EQ(TypedCharFromKey(Qt::Key_C, Qt::ControlModifier), 3);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_C, Qt::NoModifier), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_7, Qt::NoModifier), '7');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_7, Qt::KeypadModifier), '7');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_7, Qt::ControlModifier), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_At, Qt::ShiftModifier), '@');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Less, Qt::ShiftModifier), '<');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Return, Qt::NoModifier), 13);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Backspace, Qt::NoModifier), 8);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Period, Qt::AltModifier), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_A, Qt::NoModifier), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_A, Qt::NoModifier, "a"), 'a');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_E, Qt::ShiftModifier, "E"), 'E');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Space, Qt::NoModifier, " "), ' ');
    EXPECT_EQ(TypedCharFromKey(Qt::Key_A, Qt::ControlModifier, "\x01"), -1);
    EXPECT_EQ(TypedCharFromKey(Qt::Key_Escape, Qt::NoModifier, "\x1b"), -1);
}

TEST_F(FrameTest, KeysReachTheActivePlanViewOnly)
{
    ASSERT_NE(frame->NewDocument(), nullptr);
    QWidget* viewWidget = frame->ActiveChild()->ViewWidget();
    CRectaView& view = *frame->ActiveView();
    frame->OnCommand(10009);  // Line
    ASSERT_EQ(view.m_mode, MODE_LINE);

    for (int key : {Qt::Key_1, Qt::Key_Comma, Qt::Key_2})
        EXPECT_TRUE(Press(viewWidget, key));
    Press(viewWidget, Qt::Key_A);
    EXPECT_EQ(view.m_typed, "1,2");
    EXPECT_EQ(frame->PaneLabel(0)->text().trimmed(), "1,2");

    // A key for a widget of another window is not taken.
    QLineEdit elsewhere;
    Press(&elsewhere, Qt::Key_5);
    EXPECT_EQ(view.m_typed, "1,2");

    Press(viewWidget, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(view.m_mode, MODE_NONE);
    EXPECT_TRUE(view.m_typed.empty());
}

// A palette button's tip shows in the top-level "HelpWnd"; the plan view hides
// it when it takes the mouse or is activated.
TEST_F(FrameTest, QuickTipsOfThePalettes)
{
    frame->NewDocument();
    frame->NewDocument();
    Cwm_HelpWndWnd* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "HelpWnd")
            help = qobject_cast<Cwm_HelpWndWnd*>(w);
    ASSERT_TRUE(help);
    const auto tip = [&](const char* palette, const char* text) {
        auto* bar = frame->findChild<QToolBar*>(palette);
        for (QAction* action : bar->actions())
            if (action->text() == text) {
                QWidget* button = bar->widgetForAction(action);
                QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(button, &event);
            }
        return help->isVisible() && help->m_shown == 1 ? help->text().toStdString() : std::string();
    };
    const auto hidden = [&] {
        return !help->isVisible() && help->m_shown == 0 && help->geometry() == QRect(0, 0, 0, 0) &&
               frame->m_tipShown[0] == 0 && frame->m_tipRect[2] == 0;
    };
    EXPECT_EQ(tip("ArchPalette", "X Joint"), "Clean a X wall intersect");
    EXPECT_EQ(tip("ArchPalette", "T Joint"), "Clean a T wall intersect");
    EXPECT_EQ(tip("ArchPalette", "L Joint"), "Clean a L wall intersect");
    EXPECT_NE(frame->m_tipRect[2], 0);
    // Framed in black on its background, the text inside.
    const QImage shown = help->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(1, 1) & 0xFFFFFF, 0xFFFFE1u);
    int ink = 0;
    for (int y = 2; y < shown.height() - 2; ++y)
        for (int x = 2; x < shown.width() - 2; ++x)
            ink += (shown.pixel(x, y) & 0xFFFFFF) != 0xFFFFE1u;
    EXPECT_GT(ink, 20);
    QWidget* viewWidget = frame->ActiveChild()->ViewWidget();
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), viewWidget->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewWidget, &move);
    EXPECT_TRUE(hidden());

    EXPECT_EQ(tip("3DPalette", "World"), "World System");
    Cwm_MDICHILDWnd* first = frame->Children().front();
    first->mdiArea()->setActiveSubWindow(first);
    EXPECT_TRUE(hidden()) << "activating a plan view hides it";
}

TEST_F(FrameTest, PaneTextsShowAtOnceAndOutliveTheFrame)
{
    theApp.m_mainStatus.SetPaneText(0, "From point:");
    theApp.m_mainStatus.SetPaneText(3, "WALLS");
    EXPECT_EQ(frame->PaneLabel(0)->text(), "From point:");
    EXPECT_EQ(frame->PaneLabel(3)->text(), "WALLS");
    frame.reset();
    theApp.m_mainStatus.SetPaneText(0, "after");  // no frame to show it
    frame = std::make_unique<Cwm_MainWnd>();
    EXPECT_EQ(frame->PaneLabel(0)->text(), "after");
}

// The swatch and the application's active view follow the active frame.
TEST_F(FrameTest, ActiveDrawingFollowsTheActiveFrame)
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    EXPECT_EQ(theApp.GetActiveView(view, doc), 0);
    CRectaDoc* first = frame->NewDocument();
    first->m_color = RGB(255, 0, 0);
    CRectaDoc* second = frame->NewDocument();
    second->m_color = RGB(0, 0, 255);
    second->ToggleOrtho();
    frame->OnCommand(ID_REDRAW);
    EXPECT_EQ(frame->ColorSwatch()->Color(), RGB(0, 0, 255));
    EXPECT_EQ(theApp.GetActiveView(view, doc), 1);
    EXPECT_EQ(doc, second);

    Cwm_MDICHILDWnd* firstFrame = frame->Children().front();
    firstFrame->mdiArea()->setActiveSubWindow(firstFrame);
    EXPECT_EQ(frame->ColorSwatch()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(frame->PaneLabel(1)->text().trimmed(), "ORTHO ON");
    theApp.GetActiveView(view, doc);
    EXPECT_EQ(doc, first);
    EXPECT_EQ(view, &firstFrame->View());
}

TEST_F(FrameTest, CloseAnsweredCancelKeepsTheFrame)
{
    CRectaDoc* doc = frame->NewDocument();
    doc->SetModifiedFlag();
    Cwm_MDICHILDWnd* child = frame->ActiveChild();
    {
        ScriptedMessageBoxes boxes({IDCANCEL});
        EXPECT_FALSE(child->close());
        EXPECT_EQ(boxes.asked.size(), 1u);
    }
    FlushDeletes();
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    {
        ScriptedMessageBoxes boxes({IDNO});
        EXPECT_TRUE(child->close());
    }
    FlushDeletes();
    EXPECT_TRUE(frame->Children().empty());
    EXPECT_EQ(frame->ActiveView(), nullptr);
}

TEST_F(FrameTest, ExitAsksEveryModifiedDrawing)
{
    frame->NewDocument()->SetModifiedFlag();
    frame->NewDocument();
    {
        ScriptedMessageBoxes boxes({IDCANCEL});
        EXPECT_FALSE(frame->close());
    }
    EXPECT_EQ(frame->Children().size(), 2u);
    {
        ScriptedMessageBoxes boxes({IDNO});
        EXPECT_TRUE(frame->close());
    }
    FlushDeletes();
    EXPECT_TRUE(frame->Children().empty());
}

// The drawing lives while any frame shows it; the aerial frame goes with the last drawing frame.
TEST_F(FrameTest, DocumentLivesAsLongAsItsFrames)
{
    CRectaDoc* doc = frame->NewDocument();
    const std::string title = doc->GetTitle();
    frame->OnCommand(57648);  // New Window
    ASSERT_EQ(frame->Children().size(), 2u);
    EXPECT_EQ(frame->Children()[1]->windowTitle(), QString::fromStdString(title + ":2"));

    Cwm_V2Wnd* aerial = frame->OpenAerialView();
    ASSERT_NE(aerial, nullptr);
    EXPECT_EQ(aerial->View().m_aerial, 1);
    EXPECT_EQ(aerial->Document(), doc);
    EXPECT_EQ(frame->OpenAerialView(), aerial);
    EXPECT_EQ(doc->GetViews().size(), 3u);

    frame->Children()[0]->close();
    FlushDeletes();
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_EQ(frame->Children()[0]->Document(), doc);
    EXPECT_EQ(doc->GetTitle(), title);
    EXPECT_EQ(frame->Children()[0]->windowTitle(), QString::fromStdString(title));
    EXPECT_EQ(doc->GetViews().size(), 2u);

    frame->OnCommand(ID_FILE_CLOSE);
    FlushDeletes();
    EXPECT_TRUE(frame->Children().empty());
    EXPECT_TRUE(frame->findChildren<Cwm_V2Wnd*>().isEmpty());
}

// A drawing shown in two frames is asked about only when its last frame
// closes: an answer given earlier would leave it open, unsaved and marked clean.
TEST_F(FrameTest, OnlyTheLastFrameOfADrawingAsksToSaveIt)
{
    CRectaDoc* doc = frame->NewDocument();
    frame->OnCommand(ID_WINDOW_NEW);
    ASSERT_EQ(frame->Children().size(), 2u);
    doc->SetModifiedFlag();
    EXPECT_TRUE(frame->Children()[0]->close()) << "no question: another frame shows the drawing";
    FlushDeletes();
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    {
        ScriptedMessageBoxes boxes({IDCANCEL});
        EXPECT_FALSE(frame->Children()[0]->close());
        EXPECT_EQ(boxes.asked.size(), 1u);
    }
    EXPECT_TRUE(doc->IsModified());

    // File > Close asks once for the drawing and closes all of its frames, or none.
    frame->OnCommand(ID_WINDOW_NEW);
    for (const int answer : {IDCANCEL, IDNO}) {
        ScriptedMessageBoxes boxes({answer});
        frame->OnCommand(ID_FILE_CLOSE);
        FlushDeletes();
        EXPECT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(frame->Children().size(), answer == IDCANCEL ? 2u : 0u);
    }
}

// Blocks that insert thirty of the one below, eight deep: the word that a
// paint of the drawing left some out reaches the status pane while the view
// is painting, and the frame goes on painting.
TEST_F(FrameTest, APaintThatLeavesNestedBlocksOutSaysSoInThePane)
{
    CRectaDoc* doc = frame->NewDocument();
    AddNamedBlock(*doc, "B7", {{ENT_LINE, NewLine(0, 0, 0.1, 0)}});
    for (int level = 6; level >= 0; --level) {
        const std::string inner = "B" + std::to_string(level + 1);
        CObList list(ListOwnership::owns);
        for (int i = 0; i < 30; ++i)
            list.AddTail(new CDib(ENT_INSERT, NewInsert(inner.c_str(), 0.0001 * i, 0)));
        doc->AddBlock(CPointd(), list, "B" + std::to_string(level))->CalcExtents(*doc);
    }
    doc->AddInsBlOnLayer(1, 0, "ZP", CPointd(2, 2), 1, 0, 1, "B0");
    Cwm_MDICHILDWnd* child = frame->ActiveChild();
    theApp.m_mainStatus.SetPaneText(2, "");
    QCoreApplication::processEvents();  // the frame's first paint
    EXPECT_EQ(frame->PaneLabel(2)->text(), kNestedWorkMessage);
    theApp.m_mainStatus.SetPaneText(2, "");
    child->View().Invalidate();
    child->ViewWidget()->repaint();
    EXPECT_EQ(frame->PaneLabel(2)->text(), kNestedWorkMessage);
}

TEST(Startup, OpensTheDrawingNamedOnTheCommandLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("plan.zpd").toStdString();
    {
        CRectaDoc doc;
        doc.OnNewDocument();
        doc.m_layerName = "MUROS";
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    {
        auto frame = InitInstance({"zepa", QString::fromStdString(path)});
        ASSERT_NE(frame->ActiveDocument(), nullptr);
        EXPECT_EQ(frame->ActiveDocument()->GetPathName(), path);
        EXPECT_EQ(frame->ActiveDocument()->m_layerName, "MUROS");
        EXPECT_EQ(frame->ActiveChild()->windowTitle(), "plan.zpd");
        // Opening it again shows the frame already there.
        EXPECT_EQ(frame->OpenDocumentFile(path), frame->ActiveDocument());
        EXPECT_EQ(frame->Children().size(), 1u);
    }
    FlushDeletes();
    {
        auto frame = InitInstance({"zepa"});
        ASSERT_NE(frame->ActiveDocument(), nullptr);
        EXPECT_TRUE(frame->ActiveDocument()->GetPathName().empty());
        EXPECT_EQ(frame->ActiveDocument()->GetTitle(), "Drawing" + std::to_string(theApp.m_newDocuments));
    }
    FlushDeletes();
    {
        ScriptedMessageBoxes boxes({IDOK});
        auto frame = InitInstance({"zepa", dir.filePath("missing.zpd")});
        EXPECT_EQ(boxes.asked.size(), 1u);
        ASSERT_NE(frame->ActiveDocument(), nullptr);
        EXPECT_TRUE(frame->ActiveDocument()->GetPathName().empty());
    }
    FlushDeletes();
}

TEST_F(FrameTest, SaveAsNamesTheDrawing)
{
    QTemporaryDir dir;
    CRectaDoc* doc = frame->NewDocument();
    doc->SetModifiedFlag();
    const std::string expectSuggested = doc->GetTitle() + ".zpd";
    std::string suggested;
    frame->m_askSaveName = [&](const FileQuestion& q) {
        suggested = q.fileName;
        return dir.filePath("house").toStdString();
    };
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(suggested, expectSuggested);
    EXPECT_EQ(doc->GetPathName(), dir.filePath("house.zpd").toStdString());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(frame->ActiveChild()->windowTitle(), "house.zpd");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("house.zpd")));
}

TEST(ChildPlacement, FramesOpenInsideTheArea)
{
    for (QSize area : {QSize(1000, 600), QSize(500, 380), QSize(300, 200), QSize(120, 90)}) {
        for (int index = 0; index < 40; ++index) {
            const QRect r = ChildPlacement(area, index);
            EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(r)) << area.width() << "x" << area.height() << " #" << index;
            EXPECT_GE(r.width(), std::min(area.width(), 400));
        }
    }
    EXPECT_NE(ChildPlacement(QSize(1000, 600), 0), ChildPlacement(QSize(1000, 600), 1));
    EXPECT_EQ(ChildPlacement(QSize(533, 400), 0).size(), QSize(400, 300));
}

TEST_F(FrameTest, NewWindowsOpenInsideTheWorkArea)
{
    frame->resize(700, 500);
    frame->NewDocument();
    for (int i = 0; i < 8; ++i)
        frame->OnCommand(ID_WINDOW_NEW);
    QMdiArea* mdi = frame->findChild<QMdiArea*>();
    ASSERT_TRUE(mdi);
    const QRect area = mdi->viewport()->rect();
    for (Cwm_MDICHILDWnd* child : frame->Children())
        EXPECT_TRUE(area.contains(child->geometry())) << child->windowTitle().toStdString();

    frame->Open3DView();
    frame->Open3DView();
    const QRect screenArea(mdi->viewport()->mapToGlobal(QPoint(0, 0)), area.size());
    for (Cwm_V3DWnd* window : frame->Frames3D(nullptr))
        EXPECT_TRUE(screenArea.contains(window->frameGeometry())) << window->windowTitle().toStdString();
}

// The 3D view opens from the Window menu on the active drawing, closes without
// the save question and goes with the drawing's last frame; a section opens
// through the view tools with its own camera.
TEST_F(FrameTest, ThreeDViewAndSectionWindows)
{
    CRectaDoc* doc = frame->NewDocument();
    doc->SetModifiedFlag();
    frame->OnCommand(ID_WINDOW_3D);
    ASSERT_EQ(frame->Frames3D(doc).size(), 1u);
    Cwm_V3DWnd* window = frame->Frames3D(doc)[0];
    EXPECT_FALSE(window->IsSection());
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("3D View - " + doc->GetTitle()));
    EXPECT_EQ(doc->GetViews().size(), 2u);
    EXPECT_EQ(window->View().Camera().eye, doc->m_cameraEye[0]);
    EXPECT_TRUE(window->close()) << "no question: no message box is scripted";
    FlushDeletes();
    EXPECT_TRUE(frame->Frames3D(doc).empty());
    EXPECT_EQ(doc->GetViews().size(), 1u);

    ViewTools().OpenSectionView(CPointd(0, 0), CPointd(4, 0), CPointd(1, 3));
    ASSERT_EQ(frame->Frames3D(doc).size(), 1u);
    window = frame->Frames3D(doc)[0];
    EXPECT_TRUE(window->IsSection());
    EXPECT_EQ(window->View().Camera().eye, CPointd(2, -4, doc->m_thickness / 2));
    ViewTools().OpenSectionView(CPointd(0, 0), CPointd(0, 0), CPointd(1, 3));
    EXPECT_EQ(frame->Frames3D(doc).size(), 1u) << "no section through one point";
    EXPECT_NE(theApp.Status().GetPaneText(0).find("no section"), std::string::npos);

    doc->SetModifiedFlag(false);
    frame->OnCommand(ID_FILE_CLOSE);
    FlushDeletes();
    EXPECT_TRUE(frame->Frames3D(nullptr).empty());
}

// The solid walls command works on the active drawing.
// The section command's three clicks open a section window looking across
// the section line from the visible side.
TEST_F(FrameTest, SectionCommandOpensItsWindow)
{
    CRectaDoc* doc = frame->NewDocument();
    CRectaView* view = frame->ActiveView();
    ASSERT_NE(view, nullptr);
    doc->m_ortho = 0;
    doc->m_gridStep = 0;
    view->OnCommand(10385);
    for (const CPointd& p : {CPointd(0, 0), CPointd(4, 0), CPointd(1, 3)})
        view->ClickAt(MK_LBUTTON, p);
    EXPECT_EQ(view->m_command, CMD_NONE);
    ASSERT_EQ(frame->Frames3D(doc).size(), 1u);
    const Cwm_V3DWnd* window = frame->Frames3D(doc)[0];
    EXPECT_TRUE(window->IsSection());
    EXPECT_EQ(window->View().Camera().eye, CPointd(2, -4, doc->m_thickness / 2));
    doc->SetModifiedFlag(false);
}

TEST_F(FrameTest, SolidWallsOnTheActiveDrawing)
{
    ViewTools().MakeSolidWalls();  // no drawing: nothing
    CRectaDoc* doc = frame->NewDocument();
    FindOrAddLayer(*doc, "WALLS", 0);
    CRecta* wall = doc->AddRectaOnLayer(1, 0, "WALLS", CPointd(0, 0), CPointd(3, 0));
    ASSERT_NE(wall, nullptr);
    frame->OnCommand(ID_SOLID_WALLS);
    EXPECT_EQ(doc->GetEntityList().GetCount(), 2);
    EXPECT_EQ(static_cast<CDib*>(doc->GetEntityList().GetTail())->m_type, ENT_3DFACE);
    doc->SetModifiedFlag(false);
}

// Panes 0 and 2 and the main window's title show the active drawing: its
// prompt and readout come back when it is activated, and go with it.
TEST_F(FrameTest, PromptReadoutAndTitleFollowTheActiveDrawing)
{
    const auto pane = [&](int i) { return frame->PaneLabel(i)->text().trimmed().toStdString(); };
    const auto activate = [&](Cwm_MDICHILDWnd* child) { child->mdiArea()->setActiveSubWindow(child); };
    const auto close = [&](Cwm_MDICHILDWnd* child) {
        child->Document()->SetModifiedFlag(false);
        EXPECT_TRUE(child->close());
        FlushDeletes();
    };

    CRectaDoc* first = frame->NewDocument();
    Cwm_MDICHILDWnd* firstChild = frame->ActiveChild();
    CRectaView& lines = firstChild->View();
    frame->OnCommand(10009);  // Line
    lines.ClickAt(MK_LBUTTON, CPointd(1, 1));
    lines.OnMouseMove(0, lines.WorldToDevicePoint(CPointd(4, 5)));
    EXPECT_EQ(pane(0), "To point:");
    const std::string readout = pane(2);
    EXPECT_EQ(readout.substr(0, 6), "D:5.00");
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zepa - " + first->GetTitle());

    CRectaDoc* second = frame->NewDocument();
    Cwm_MDICHILDWnd* secondChild = frame->ActiveChild();
    EXPECT_EQ(pane(0), "") << "the new drawing runs nothing";
    EXPECT_EQ(pane(2), "");
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zepa - " + second->GetTitle());

    // The drawing in the background keeps its texts to itself.
    lines.OnMouseMove(0, lines.WorldToDevicePoint(CPointd(2, 2)));
    lines.ShowPrompt(0, "Elsewhere");
    EXPECT_EQ(pane(0), "");
    EXPECT_EQ(pane(2), "");

    activate(firstChild);
    EXPECT_EQ(pane(0), "Elsewhere");
    EXPECT_EQ(pane(2).substr(0, 6), "D:1.41");
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zepa - " + first->GetTitle());
    firstChild->showMaximized();
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zepa - " + first->GetTitle()) << "maximized too";

    // Closed in the middle of its command, the drawing takes its texts along.
    secondChild->View().ShowPrompt(0, "Second's own");
    close(firstChild);
    ASSERT_EQ(frame->ActiveChild(), secondChild);
    EXPECT_EQ(pane(0), "Second's own");
    EXPECT_EQ(pane(2), "");
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zepa - " + second->GetTitle());

    frame->OnCommand(10009);
    secondChild->View().ClickAt(MK_LBUTTON, CPointd(1, 1));
    secondChild->View().OnMouseMove(0, CPoint{30, 30});
    close(secondChild);
    EXPECT_EQ(pane(0), "");
    EXPECT_EQ(pane(2), "");
    EXPECT_EQ(frame->windowTitle(), "Zepa");
}

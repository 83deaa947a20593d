#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/menus.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "res/commands.h"
#include "support/item_pictures.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

const MenuItem* FindMenu(const char* text)
{
    for (const MenuItem& top : MainMenu())
        if (std::string(top.text) == text)
            return &top;
    return nullptr;
}

void Send(QWidget& widget, QEvent::Type type, QPointF p, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool post = false)
{
    auto* event = new QMouseEvent(type, p, widget.mapToGlobal(p), button, held, modifiers);
    if (post) {
        QCoreApplication::postEvent(&widget, event);
        return;
    }
    QApplication::sendEvent(&widget, event);
    delete event;
}

// A frame with one drawing that holds a drawing object at (50, 40)-(150, 100) of its view.
class ItemFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame.show();
        doc = frame.NewDocument();
        QApplication::processEvents();
        widget = frame.ActiveChild()->ViewWidget();
        object = AddObject(CRect(50, 40, 150, 100));
    }
    CRectaCntrItem* AddObject(const CRect& rect)
    {
        auto item = std::make_unique<CRectaCntrItem>(doc);
        std::string error;
        EXPECT_TRUE(MakeDrawingItem(*item, EmptyDrawingBytes(), "Zepa Drawing", error)) << error;
        CRectaCntrItem* added = doc->AddItem(std::move(item));
        added->m_rect = rect;
        added->RectToWorldPoints(widget->View());
        return added;
    }
    void TearDown() override
    {
        for (CRectaDoc* open : frame.Documents())
            open->SetModifiedFlag(false);
    }
    // Presses the left button on the object at p and moves the mouse by 10, 10.
    // The press returns at once, the object following the widget's events; a
    // press still running after two seconds fails and lets go of the button.
    void PressAndMove(QPoint p)
    {
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [this, p] {
            ADD_FAILURE() << "the press waits for the release";
            QTest::mouseRelease(widget, Qt::LeftButton, {}, p);
        });
        stuck.start(2000);
        QTest::mousePress(widget, Qt::LeftButton, {}, p);
        QTest::mouseMove(widget, p + QPoint(10, 10));
    }

    Cwm_MainWnd frame;
    CRectaDoc* doc = nullptr;
    CRectaViewWidget* widget = nullptr;
    CRectaCntrItem* object = nullptr;
};

}  // namespace

TEST(ItemMenus, EditMenuHoldsTheObjectCommands)
{
    const MenuItem* edit = FindMenu("&Edit");
    ASSERT_NE(edit, nullptr);
    std::map<int, std::string> texts;
    for (const MenuItem& item : edit->items)
        if (item.id)
            texts[item.id] = item.text;
    EXPECT_EQ(texts[ID_OLE_INSERT_NEW], "Insert &New Object...");
    EXPECT_EQ(texts[ID_EDIT_CLEAR], "Erase");
    EXPECT_EQ(texts[ID_EDIT_COPY], "&Copy\tCtrl+C");
    EXPECT_EQ(texts[ID_EDIT_PASTE], "&Paste\tCtrl+V");
}

// Erase and Copy wait for a selected object; the menu asks as it opens.
TEST_F(ItemFrameTest, ObjectCommandsAreEnabledAsTheMenuOpens)
{
    QMenu* edit = nullptr;
    for (QAction* top : frame.menuBar()->actions())
        if (top->text() == "&Edit")
            edit = top->menu();
    ASSERT_NE(edit, nullptr);
    emit edit->aboutToShow();
    EXPECT_FALSE(frame.Action(ID_EDIT_CLEAR)->isEnabled());
    EXPECT_FALSE(frame.Action(ID_EDIT_COPY)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_OLE_INSERT_NEW)->isEnabled());
    widget->View().SetSelection(object);
    emit edit->aboutToShow();
    EXPECT_TRUE(frame.Action(ID_EDIT_CLEAR)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_EDIT_COPY)->isEnabled());
    frame.Action(ID_EDIT_CLEAR)->trigger();
    EXPECT_TRUE(doc->GetItems().empty());
}

// The drag follows the widget's own mouse until the button goes up.
TEST_F(ItemFrameTest, WidgetDragsTheObjectWithItsMouse)
{
    Send(*widget, QEvent::MouseButtonPress, {100, 70}, Qt::LeftButton, Qt::LeftButton);
    Send(*widget, QEvent::MouseMove, {120, 90}, Qt::NoButton, Qt::LeftButton);
    Send(*widget, QEvent::MouseMove, {130, 95}, Qt::NoButton, Qt::LeftButton);
    Send(*widget, QEvent::MouseButtonRelease, {140, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(object->m_rect, CRect(90, 70, 190, 130));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(widget->View().SelectedItem(), object);
    // Afterwards the mouse moves the view's cursor again.
    Send(*widget, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(widget->View().m_cursorOutside, 0);
}

// While the object follows the mouse, other buttons do not reach the view.
TEST_F(ItemFrameTest, OtherButtonsWaitWhileTheObjectIsDragged)
{
    CRectaView& view = widget->View();
    view.OnCommand(10009);
    view.OnLButtonDown(MK_LBUTTON, CPoint{10, 200});
    const std::size_t records = doc->GetEntityList().GetCount();
    const CommandCode running = view.m_command;
    const int mode = view.m_mode;
    const int band = view.m_bandState;
    const double originX = view.m_originX, originY = view.m_originY;
    ASSERT_NE(mode, 0);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Send(*widget, QEvent::MouseButtonPress, {100, 70}, Qt::LeftButton, Qt::LeftButton);
        Send(*widget, QEvent::MouseMove, {110, 80}, Qt::NoButton, Qt::LeftButton);
        Send(*widget, QEvent::MouseButtonPress, {110, 80}, button, Qt::LeftButton | button);
        Send(*widget, QEvent::MouseButtonRelease, {110, 80}, Qt::LeftButton, button);
        EXPECT_EQ(view.m_command, running) << button;
        EXPECT_EQ(view.m_mode, mode) << button;
        EXPECT_EQ(doc->GetEntityList().GetCount(), records) << button;
        EXPECT_EQ(view.m_bandState, band) << button;
        EXPECT_EQ(view.m_originX, originX) << button;
        EXPECT_EQ(view.m_originY, originY) << button;
    }
    EXPECT_EQ(object->m_rect, CRect(70, 60, 170, 120));
}

TEST_F(ItemFrameTest, DoubleClickRunsTheObjectsVerb)
{
    FakeDrawingServer server;
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        Send(*widget, QEvent::MouseButtonRelease, {60, 50}, Qt::LeftButton, Qt::NoButton, modifiers, true);
        Send(*widget, QEvent::MouseButtonDblClick, {60, 50}, Qt::LeftButton, Qt::LeftButton, modifiers);
        object->Close();
    }
    ASSERT_EQ(server.runs.size(), 2u);
    EXPECT_FALSE(server.runs[0].open);
    EXPECT_TRUE(server.runs[1].open);
    EXPECT_EQ(server.runs[0].view, &widget->View());
    EXPECT_EQ(server.closed.size(), 2u);
    // The object does not follow the mouse after it: commands run before the button is up.
    frame.Action(ID_FILE_NEW)->trigger();
    EXPECT_EQ(frame.Children().size(), 2u);
}

// While the object follows the mouse, Escape puts it back and other keys,
// shortcuts and commands are refused; a release the widget did not see ends
// the drag at the next move without the button, where the object was.
TEST_F(ItemFrameTest, TheDragOwnsTheKeyboardAndEscapeCancelsIt)
{
    PressAndMove({100, 70});
    QTest::keyClick(widget, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_3);
    frame.Action(ID_FILE_NEW)->trigger();
    EXPECT_EQ(frame.Children().size(), 1u);
    EXPECT_TRUE(widget->View().m_typed.empty());
    QTest::keyClick(widget, Qt::Key_Escape);
    QTest::mouseMove(widget, {130, 95});
    QTest::mouseRelease(widget, Qt::LeftButton, {}, {130, 95});
    EXPECT_EQ(object->m_rect, CRect(50, 40, 150, 100));
    EXPECT_FALSE(doc->IsModified());

    PressAndMove({100, 70});
    Send(*widget, QEvent::MouseMove, {130, 95}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(object->m_rect, CRect(60, 50, 160, 110));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, {130, 95});
    QTest::keyClick(widget, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(frame.Children().size(), 2u);
}

// Closing the drawing's window or the program is refused while the object
// follows the mouse; a window deleted meanwhile ends the drag with it.
TEST_F(ItemFrameTest, ClosingWaitsForTheDragAndAWindowGoneEndsIt)
{
    QPointer<Cwm_MDICHILDWnd> child = frame.ActiveChild();
    const std::function<void()> closes[] = {
        [this] { QTest::keyClick(widget, Qt::Key_W, Qt::ControlModifier); },
        [this] { QTest::keyClick(widget, Qt::Key_F4, Qt::ControlModifier); },
        [this] { frame.close(); },
    };
    for (const auto& close : closes) {
        PressAndMove({100, 70});
        close();
        QTest::mouseRelease(widget, Qt::LeftButton, {}, {110, 80});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(child);
        EXPECT_TRUE(frame.isVisible());
    }
    EXPECT_EQ(object->m_rect, CRect(80, 70, 180, 130));

    PressAndMove({100, 70});
    delete child;
    QTest::mouseRelease(frame.centralWidget(), Qt::LeftButton);
    frame.Action(ID_FILE_NEW)->trigger();
    EXPECT_EQ(frame.Children().size(), 1u);
}

// Edit > Erase is refused while the object follows the mouse; an object
// erased all the same ends the drag untouched.
TEST_F(ItemFrameTest, ErasingWaitsForTheDragAndAnObjectGoneEndsIt)
{
    PressAndMove({100, 70});
    QTest::keyClick(widget, Qt::Key_E, Qt::AltModifier);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}) {
        QWidget* menu = QApplication::activePopupWidget();
        QTest::keyClick(menu ? menu : widget, key);
    }
    frame.Action(ID_EDIT_CLEAR)->trigger();
    QTest::mouseRelease(widget, Qt::LeftButton, {}, {110, 80});
    ASSERT_EQ(doc->GetItems().size(), 1u);
    EXPECT_EQ(object->m_rect, CRect(60, 50, 160, 110));

    // At the next move, with the button or without it (a release not seen).
    CRectaCntrItem* other = AddObject(CRect(200, 40, 300, 100));
    doc->SetModifiedFlag(false);
    std::size_t windows = frame.Children().size();
    for (CRectaCntrItem* erased : {object, other}) {
        const QPoint at = erased == object ? QPoint(100, 70) : QPoint(250, 70);
        PressAndMove(at);
        EXPECT_TRUE(doc->DeleteItem(erased));
        Send(*widget, QEvent::MouseMove, at + QPoint(20, 20), Qt::NoButton,
             erased == object ? Qt::NoButton : Qt::LeftButton);
        frame.Action(ID_FILE_NEW)->trigger();
        EXPECT_EQ(frame.Children().size(), ++windows);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at + QPoint(20, 20));
    }
    EXPECT_TRUE(doc->GetItems().empty());
    EXPECT_FALSE(doc->IsModified());
}

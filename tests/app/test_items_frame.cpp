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
#include <gtest/gtest.h>

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
        CRectaView& view = widget->View();
        auto item = std::make_unique<CRectaCntrItem>(doc);
        std::string error;
        ASSERT_TRUE(MakeDrawingItem(*item, EmptyDrawingBytes(), "Zepa Drawing", error)) << error;
        object = doc->AddItem(std::move(item));
        object->m_rect = CRect(50, 40, 150, 100);
        object->RectToWorldPoints(view);
    }
    void TearDown() override { doc->SetModifiedFlag(false); }

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
    Send(*widget, QEvent::MouseMove, {120, 90}, Qt::NoButton, Qt::LeftButton, Qt::NoModifier, true);
    Send(*widget, QEvent::MouseMove, {130, 95}, Qt::NoButton, Qt::LeftButton, Qt::NoModifier, true);
    Send(*widget, QEvent::MouseButtonRelease, {140, 100}, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, true);
    Send(*widget, QEvent::MouseButtonPress, {100, 70}, Qt::LeftButton, Qt::LeftButton);
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
        Send(*widget, QEvent::MouseMove, {110, 80}, Qt::NoButton, Qt::LeftButton, Qt::NoModifier, true);
        Send(*widget, QEvent::MouseButtonPress, {110, 80}, button, Qt::LeftButton | button, Qt::NoModifier, true);
        Send(*widget, QEvent::MouseButtonRelease, {110, 80}, Qt::LeftButton, button, Qt::NoModifier, true);
        Send(*widget, QEvent::MouseButtonPress, {100, 70}, Qt::LeftButton, Qt::LeftButton);
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
}

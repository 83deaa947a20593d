#include "platform/controlbars.h"
#include "platform/oleframe.h"
#include "platform/oleserver.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the server document's calls to its client.
class CountingClient : public CEmbeddingClient {
public:
    void SaveEmbedding(COleServerDoc&) override { ++saved; }
    void OnDocumentGone(COleServerDoc&) override { ++gone; }
    int saved = 0;
    int gone = 0;
};

class TestServerDoc : public COleServerDoc {
public:
    void DestroyInPlaceFrame(COleIPFrameWnd* frame) override
    {
        ++destroyed;
        COleServerDoc::DestroyInPlaceFrame(frame);
    }
    int destroyed = 0;
};

// Installs a frame maker for one test.
class MakerScope {
public:
    MakerScope()
    {
        m_old = COleServerDoc::SetInPlaceFrameMaker([this](COleServerDoc&, QWidget* parent) {
            ++made;
            auto* frame = new COleIPFrameWnd;
            frame->Create(parent, nullptr);
            return frame;
        });
    }
    ~MakerScope() { COleServerDoc::SetInPlaceFrameMaker(m_old); }
    int made = 0;

private:
    COleServerDoc::FrameMaker m_old;
};

// Takes dropped text.
class TextDropTarget : public COleDropTarget {
public:
    std::string dropped;

protected:
    bool OnDragEnter(const QMimeData& data) override { return data.hasText(); }
    bool OnDrop(const QMimeData& data, QPoint) override
    {
        dropped = data.text().toStdString();
        return true;
    }
};

// Sends a drag entering window with text and reports whether it was accepted.
bool DragEnters(QWidget& window)
{
    QMimeData data;
    data.setText("t");
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(&window, &enter);
    return enter.isAccepted();
}

bool Drops(QWidget& window, const char* text)
{
    QMimeData data;
    data.setText(text);
    QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

}  // namespace

TEST(ServerDoc, TheInstalledMakerMakesTheOneInPlaceFrame)
{
    QWidget container;
    TestServerDoc doc;
    EXPECT_EQ(doc.CreateInPlaceFrame(&container), nullptr);  // no maker
    MakerScope maker;
    EXPECT_EQ(doc.CreateInPlaceFrame(nullptr), nullptr);
    COleIPFrameWnd* frame = doc.CreateInPlaceFrame(&container);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(doc.IsInPlaceActive());
    EXPECT_EQ(doc.GetInPlaceFrame(), frame);
    EXPECT_EQ(doc.CreateInPlaceFrame(&container), nullptr);  // one at a time
    EXPECT_EQ(maker.made, 1);

    // A frame that is not the document's goes, the document's stays.
    auto* other = new COleIPFrameWnd;
    doc.DestroyInPlaceFrame(other);
    EXPECT_EQ(doc.GetInPlaceFrame(), frame);
    doc.OnDeactivate();
    EXPECT_FALSE(doc.IsInPlaceActive());
    EXPECT_EQ(doc.destroyed, 2);
    doc.OnDeactivate();  // nothing left to destroy
    EXPECT_EQ(doc.destroyed, 2);
}

TEST(ServerDoc, AFrameGoneWithItsContainerEndsTheSession)
{
    MakerScope maker;
    TestServerDoc doc;
    {
        QWidget container;
        ASSERT_TRUE(doc.CreateInPlaceFrame(&container));
    }
    EXPECT_FALSE(doc.IsInPlaceActive());
    EXPECT_EQ(doc.destroyed, 1);

    // A document that goes first leaves its frame alone.
    QWidget container;
    auto early = std::make_unique<TestServerDoc>();
    QPointer<COleIPFrameWnd> frame = early->CreateInPlaceFrame(&container);
    early.reset();
    EXPECT_TRUE(frame);
    delete frame;
}

TEST(ServerDoc, AnEmbeddedDocumentHandsItsContentsToItsClient)
{
    CountingClient client;
    {
        COleServerDoc doc;
        EXPECT_FALSE(doc.IsEmbedded());
        EXPECT_FALSE(doc.SaveEmbedding());
        doc.SetEmbedding(&client);
        EXPECT_TRUE(doc.IsEmbedded());
        EXPECT_TRUE(doc.SaveEmbedding());
        EXPECT_EQ(client.saved, 1);
        EXPECT_EQ(client.gone, 0);
    }
    EXPECT_EQ(client.gone, 1);
    COleServerDoc own;
    own.SetEmbedding(&client);
    own.SetEmbedding(nullptr);
    EXPECT_FALSE(own.SaveEmbedding());
    EXPECT_EQ(client.saved, 1);
}

TEST(InPlaceFrame, TheFrameLiesOverTheItemWithTheResizeBarOnItsBorder)
{
    QWidget container;
    container.resize(400, 300);
    container.show();
    auto* frame = new COleIPFrameWnd;
    ASSERT_TRUE(frame->Create(&container, nullptr));
    EXPECT_FALSE(frame->isVisible());
    auto* view = new QWidget;
    frame->SetView(view);
    EXPECT_EQ(frame->focusProxy(), view);
    COleResizeBar bar;
    ASSERT_TRUE(bar.Create(frame, true, 7));
    EXPECT_FALSE(bar.Create(frame, true, 7));
    COleResizeBar orphan;
    EXPECT_FALSE(orphan.Create(nullptr, true, 7));

    const int b = COleIPFrameWnd::kBorder;
    for (const QRect item : {QRect(50, 40, 100, 60), QRect(10, 20, 30, 200)}) {
        frame->SetItemRect(item);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->geometry(), item.adjusted(-b, -b, b, b));
        EXPECT_EQ(view->geometry(), QRect(b, b, item.width(), item.height()));
        EXPECT_EQ(bar.geometry(), QRect(QPoint(0, 0), frame->size()));
        EXPECT_EQ(bar.HitHandle(QPoint(frame->width() - 1, frame->height() - 1)), COleResizeBar::bottomRight);
        EXPECT_EQ(bar.HitHandle(QPoint(0, frame->height() / 2)), COleResizeBar::left);
        EXPECT_EQ(bar.HitHandle(QPoint(frame->width() / 2, 1)), COleResizeBar::top);
        EXPECT_EQ(bar.HitHandle(QPoint(frame->width() / 2, frame->height() / 2)), COleResizeBar::none);
        // Only the border takes the mouse: the view inside gets its clicks.
        EXPECT_FALSE(bar.mask().contains(QPoint(b, b)));
        EXPECT_TRUE(bar.mask().contains(QPoint(b - 1, b)));
    }
    // Over a handle the cursor shows which way it resizes.
    const auto cursorAt = [&bar](QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, bar.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &move);
        return bar.cursor().shape();
    };
    EXPECT_EQ(cursorAt(bar.HandleRect(COleResizeBar::topLeft).center()), Qt::SizeFDiagCursor);
    EXPECT_EQ(cursorAt(bar.HandleRect(COleResizeBar::right).center()), Qt::SizeHorCursor);
    EXPECT_EQ(cursorAt(QPoint(b + 3, 1)), Qt::ArrowCursor);
    // Without a container to ask, the frame takes what the bar asks for.
    frame->RequestPositionChange(QRect(30, 40, 61, 41));
    EXPECT_EQ(frame->ItemRect(), QRect(30, 40, 61, 41));
    COleIPFrameWnd lone;
    EXPECT_FALSE(lone.Create(nullptr, nullptr));
}

TEST(InPlaceFrame, HandlesResizeTheItemNoSmallerThanTheLeast)
{
    const QRect item(100, 100, 50, 40);
    struct Case {
        COleResizeBar::Handle handle;
        QPoint delta;
        QRect expected;
    };
    const int m = COleResizeBar::kMinItem;
    const Case cases[] = {
        {COleResizeBar::topLeft, {-10, -20}, QRect(90, 80, 60, 60)},
        {COleResizeBar::top, {-10, -20}, QRect(100, 80, 50, 60)},
        {COleResizeBar::topRight, {10, 5}, QRect(100, 105, 60, 35)},
        {COleResizeBar::right, {10, 5}, QRect(100, 100, 60, 40)},
        {COleResizeBar::bottomRight, {-5, 7}, QRect(100, 100, 45, 47)},
        {COleResizeBar::bottom, {-5, 7}, QRect(100, 100, 50, 47)},
        {COleResizeBar::bottomLeft, {5, -7}, QRect(105, 100, 45, 33)},
        {COleResizeBar::left, {5, -7}, QRect(105, 100, 45, 40)},
        {COleResizeBar::left, {500, 0}, QRect(150 - m, 100, m, 40)},
        {COleResizeBar::right, {-500, 0}, QRect(100, 100, m, 40)},
        {COleResizeBar::top, {0, 500}, QRect(100, 140 - m, 50, m)},
        {COleResizeBar::bottom, {0, -500}, QRect(100, 100, 50, m)},
        {COleResizeBar::none, {9, 9}, item},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COleResizeBar::Resized(item, c.handle, c.delta), c.expected) << c.handle;
}

TEST(DropTarget, ARegisteredWindowRefusesDropsUnlessTheTargetTakesThem)
{
    QWidget window;
    COleDropTarget plain;
    EXPECT_FALSE(plain.Register(nullptr));
    ASSERT_TRUE(plain.Register(&window));
    EXPECT_FALSE(plain.Register(&window));
    EXPECT_TRUE(window.acceptDrops());
    EXPECT_FALSE(DragEnters(window));
    EXPECT_FALSE(Drops(window, "x"));
    plain.Revoke();
    EXPECT_FALSE(window.acceptDrops());
    EXPECT_EQ(plain.Window(), nullptr);

    TextDropTarget text;
    ASSERT_TRUE(text.Register(&window));
    EXPECT_TRUE(DragEnters(window));
    EXPECT_TRUE(Drops(window, "dropped"));
    EXPECT_EQ(text.dropped, "dropped");
}

TEST(ControlBars, AStatusBarTakesTheMainWindowsStatusLineOverUntilItGoes)
{
    QMainWindow main;
    main.statusBar();
    main.show();
    CStatusBar own;
    const UINT ids[] = {0, 0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    EXPECT_FALSE(own.SetIndicators(ids));  // not made yet
    EXPECT_FALSE(own.Create(nullptr, true, 1));
    ASSERT_TRUE(own.Create(&main, true, 1));
    EXPECT_FALSE(own.Create(&main, true, 1));
    EXPECT_FALSE(own.SetIndicators({}));
    ASSERT_TRUE(own.SetIndicators(ids));
    EXPECT_EQ(own.GetSafeHwnd()->parentWidget(), main.statusBar());
    QWidget plainWidget;
    main.statusBar()->addWidget(&plainWidget);  // not a status bar: left alone
    {
        CStatusBar other;
        ASSERT_TRUE(other.Create(&main, true, 2));
        ASSERT_TRUE(other.SetIndicators(ids));
        EXPECT_TRUE(other.GetSafeHwnd()->isVisible());
        EXPECT_FALSE(own.GetSafeHwnd()->isVisible());
        EXPECT_TRUE(plainWidget.isVisible());
    }
    EXPECT_TRUE(own.GetSafeHwnd()->isVisible());
    main.statusBar()->removeWidget(&plainWidget);
    plainWidget.setParent(nullptr);

    // The first pane stretches; indicators show their key and keep it for an empty text.
    EXPECT_EQ(static_cast<QBoxLayout*>(own.GetSafeHwnd()->layout())->stretch(0), 1);
    EXPECT_EQ(static_cast<QBoxLayout*>(own.GetSafeHwnd()->layout())->stretch(1), 0);
    struct Case {
        int pane;
        const char* text;
        const char* shown;
        bool enabled;
    };
    const Case cases[] = {{0, "Prompt", "Prompt", true}, {1, "", "", true},   {2, "CAP?", "CAP?", false},
                          {2, "", "CAP?", false},        {3, "", "NUM", false}, {4, "X", "X", false}};
    for (const Case& c : cases) {
        own.SetPaneText(c.pane, c.text);
        EXPECT_EQ(own.GetPaneText(c.pane), c.shown) << c.pane;
        EXPECT_EQ(own.Pane(c.pane)->isEnabled(), c.enabled) << c.pane;
    }
    EXPECT_EQ(own.Pane(5), nullptr);
    EXPECT_EQ(own.Pane(-1), nullptr);
    own.SetPaneText(5, "ignored");
    EXPECT_EQ(own.GetPaneText(5), "");
}

TEST(ControlBars, AToolBarHasItsButtonsAndGapsInOrder)
{
    QMainWindow main;
    CToolBar bar;
    const UINT ids[] = {5, 0, 6, 7};
    EXPECT_FALSE(bar.SetButtons(ids));
    EXPECT_FALSE(bar.Create(nullptr, true, 9));
    ASSERT_TRUE(bar.Create(&main, true, 9));
    EXPECT_FALSE(bar.Create(&main, true, 9));
    EXPECT_FALSE(bar.SetButtons({}));
    ASSERT_TRUE(bar.SetButtons(ids));
    EXPECT_EQ(main.toolBarArea(bar.GetSafeHwnd()), Qt::TopToolBarArea);
    EXPECT_EQ(GetDlgCtrlID(bar.GetSafeHwnd()), 9);
    EXPECT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(6), 2);
    EXPECT_EQ(bar.CommandToIndex(0), -1);
    EXPECT_EQ(bar.CommandToIndex(8), -1);
    std::vector<int> ran;
    bar.m_onCommand = [&ran](int id) { ran.push_back(id); };
    const QList<QAction*> actions = bar.GetSafeHwnd()->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_TRUE(actions[1]->isSeparator());
    actions[2]->trigger();
    actions[0]->trigger();
    EXPECT_EQ(ran, (std::vector<int>{6, 5}));
    bar.SetButtonText(0, "Five", "The fifth");
    EXPECT_EQ(actions[0]->text(), "Five");
    EXPECT_EQ(actions[0]->toolTip(), "The fifth");

    // A window in a button's place keeps its id, state and tip.
    bar.EnableButton(3, false);
    EXPECT_EQ(bar.ButtonWindow(3), nullptr);
    auto* window = new QLabel("7");
    bar.ReplaceButton(3, window);
    EXPECT_EQ(bar.ButtonWindow(3), window);
    EXPECT_FALSE(bar.IsButtonEnabled(3));
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(bar.GetSafeHwnd()->actions()[3]->data().toInt(), 7);
    bar.EnableButton(3, true);
    EXPECT_TRUE(window->isEnabled());
    SetDlgCtrlID(window, 44);
    EXPECT_EQ(FindDescendantById(&main, 44), window);
    EXPECT_EQ(FindDescendantById(&main, 45), nullptr);
    EXPECT_EQ(FindDescendantById(&main, 0), nullptr);
}

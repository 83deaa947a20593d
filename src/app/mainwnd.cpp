#include "app/mainwnd.h"

#include "app/aerialwnd.h"
#include "app/helpwnd.h"
#include "app/inplaceframe.h"
#include "app/mdichild.h"
#include "app/menus.h"
#include "app/printing.h"
#include "app/printpreview.h"
#include "app/rectaapp.h"
#include "app/view3dwnd.h"
#include "app/viewwidget.h"
#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"
#include "res/commands.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

Cwm_MainWnd* g_mainFrame = nullptr;

bool IsTextEntry(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

}  // namespace

QRect ChildPlacement(QSize area, int index)
{
    if (area.isEmpty())
        return {QPoint(0, 0), QSize(640, 420)};
    QSize size = area * 3 / 4;
    if (size.width() < 400 || size.height() < 300)
        size = area.boundedTo(QSize(640, 420));
    // Cascade by one title bar, starting over where a frame would leave the area.
    constexpr int kStep = 24;
    const int places = 1 + std::min(area.width() - size.width(), area.height() - size.height()) / kStep;
    const int offset = kStep * (index % places);
    return {QPoint(offset, offset), size};
}

Cwm_MainWnd* MainFrame()
{
    return g_mainFrame;
}

// ---------------------------------------------------------------- colour swatch

CColorSwatch::CColorSwatch(QWidget* parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
    setToolTip("Current color");
}

void CColorSwatch::SetColor(COLORREF color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

// ---------------------------------------------------------------- keys

int TypedCharFromKey(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier)
        return key == Qt::Key_C ? 3 : -1;
    if (modifiers & ~Qt::ShiftModifier)
        return -1;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Backspace)
        return 8;
    if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 127)
        return text[0].unicode();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Period: return '.';
    case Qt::Key_Comma: return ',';
    case Qt::Key_Minus: return '-';
    case Qt::Key_At: return '@';
    case Qt::Key_Less: return '<';
    case Qt::Key_Y: return modifiers & Qt::ShiftModifier ? 'Y' : 'y';  // the wall's thickness request
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    default: return -1;
    }
}

// ---------------------------------------------------------------- frame

Cwm_MainWnd::Cwm_MainWnd() : m_mdi(new QMdiArea), m_helpWnd(std::make_unique<Cwm_HelpWndWnd>())
{
    g_mainFrame = this;
    CRectaDoc::s_saveAs = [this](CRectaDoc& doc) { return OnFileSaveAs(&doc); };
    setWindowTitle("Zepa");
    setCentralWidget(m_mdi);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &Cwm_MainWnd::OnSubWindowActivated);

    for (const MenuItem& top : MainMenu())
        BuildMenu(menuBar()->addMenu(QString::fromLatin1(top.text)), top.items);
    const std::pair<int, QKeySequence> shortcuts[] = {
        {ID_FILE_NEW, QKeySequence::New}, {ID_FILE_OPEN, QKeySequence::Open}, {ID_FILE_SAVE, QKeySequence::Save}};
    for (const auto& [id, keys] : shortcuts)
        Action(id)->setShortcut(keys);
    BuildToolBars();
    BuildStatusBar();

    m_askOpenName = [this](const FileQuestion& question) { return AskFileWithDialog(question, this); };
    m_askSaveName = m_askOpenName;

    theApp.m_mainStatus.m_onChange = [this](int pane) { ShowPane(pane); };
    for (int pane = 0; pane < 4; ++pane)
        ShowPane(pane);
    qApp->installEventFilter(this);
    setAcceptDrops(true);
    UpdateActions();
    resize(1024, 700);
}

Cwm_MainWnd::~Cwm_MainWnd()
{
    qApp->removeEventFilter(this);
    theApp.m_server.AbandonAll();
    CRectaDoc::s_saveAs = nullptr;
    theApp.m_mainStatus.m_onChange = nullptr;
    disconnect(m_mdi, nullptr, this, nullptr);
    // Frames go while this frame is whole: views may still reach it.
    for (Cwm_V2Wnd* aerial : findChildren<Cwm_V2Wnd*>(QString(), Qt::FindDirectChildrenOnly))
        delete aerial;
    for (Cwm_V3DWnd* window : Frames3D(nullptr))
        delete window;
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        delete window;
    g_mainFrame = nullptr;
}

QAction* Cwm_MainWnd::MakeAction(const QString& text, int id)
{
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.emplace(id, action);
    return action;
}

QAction* Cwm_MainWnd::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void Cwm_MainWnd::BuildMenu(QMenu* menu, const std::vector<MenuItem>& items)
{
    // Entries that depend on the view's state (a selected object, the clipboard) are set as the menu opens.
    connect(menu, &QMenu::aboutToShow, this, &Cwm_MainWnd::UpdateActions);
    for (const MenuItem& item : items) {
        if (!item.text) {
            menu->addSeparator();
        } else if (item.id == 0) {
            BuildMenu(menu->addMenu(QString::fromLatin1(item.text)), item.items);
        } else {
            QAction* action = MakeAction(QString::fromLatin1(item.text), item.id);
            action->setCheckable(item.checkable);
            menu->addAction(action);
        }
    }
}

void Cwm_MainWnd::BuildToolBars()
{
    auto fill = [this](QToolBar* bar, std::span<const ToolButton> buttons) {
        for (const ToolButton& button : buttons) {
            if (button.id == 0) {
                bar->addSeparator();
                continue;
            }
            QAction* action = MakeAction(QString::fromLatin1(button.text), button.id);
            action->setToolTip(QString::fromLatin1(button.tip));
            bar->addAction(action);
        }
    };
    QToolBar* standard = addToolBar("Standard");
    standard->setObjectName("standardToolBar");
    standard->setToolButtonStyle(Qt::ToolButtonTextOnly);
    fill(standard, StandardToolButtons());
    standard->addSeparator();
    m_swatch = new CColorSwatch;
    m_swatch->setObjectName("colorSwatch");
    standard->addWidget(m_swatch);

    QToolBar* aids = addToolBar("Aids");
    aids->setObjectName("aidsToolBar");
    aids->setToolButtonStyle(Qt::ToolButtonTextOnly);
    fill(aids, AidsToolButtons());

    // The palettes show their tips in the quick-tip window.
    const std::pair<const char*, std::span<const ToolButton>> palettes[] = {{"Arch", ArchToolButtons()},
                                                                            {"3D", ThreeDToolButtons()}};
    for (const auto& [name, buttons] : palettes) {
        auto* palette = new QToolBar(name, this);
        palette->setObjectName(QString(name) + "Palette");
        palette->setProperty("quickTips", true);
        palette->setToolButtonStyle(Qt::ToolButtonTextOnly);
        addToolBar(Qt::LeftToolBarArea, palette);
        fill(palette, buttons);
    }
}

void Cwm_MainWnd::ShowQuickTip(const QString& text, int id, QPoint at)
{
    m_helpWnd->ShowTip(text, at);
    m_tipShown[0] = 1;
    m_tipShown[1] = id;
    const QRect r = m_helpWnd->geometry();
    m_tipRect[0] = r.left();
    m_tipRect[1] = r.top();
    m_tipRect[2] = r.right() + 1;
    m_tipRect[3] = r.bottom() + 1;
}

void HideQuickTip()
{
    Cwm_MainWnd* frame = MainFrame();
    if (!frame || (frame->m_tipShown[0] == 0 && frame->m_tipShown[1] == 0))
        return;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* tip = qobject_cast<Cwm_HelpWndWnd*>(window); tip && tip->windowTitle() == "HelpWnd") {
            tip->HideTip();
            break;
        }
    std::fill(std::begin(frame->m_tipShown), std::end(frame->m_tipShown), 0);
    std::fill(std::begin(frame->m_tipRect), std::end(frame->m_tipRect), 0);
}

std::span<const UINT> StatusIndicators()
{
    static constexpr UINT ids[] = {0, 0, 0, 0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    return ids;
}

bool CreateStatusPanes(CStatusBar& bar, QWidget* parent, int id)
{
    if (!bar.Create(parent, true, id) || !bar.SetIndicators(StatusIndicators()))
        return false;
    const char* widest[] = {nullptr, "ORTHO OFF ", "D:00000.00  A:000.00  ", "MMMMMMMMMM", "CAP", "NUM", "SCRL"};
    for (int pane = 1; pane < bar.GetCount(); ++pane)
        bar.SetPaneMinWidth(pane, widest[pane]);
    return true;
}

void Cwm_MainWnd::BuildStatusBar()
{
    CreateStatusPanes(m_statusBar, this, CInPlaceFrame::kStatusBarId);
}

void Cwm_MainWnd::ShowPane(int pane)
{
    // A pane written during a paint shows with the next one.
    m_statusBar.SetPaneText(pane, theApp.m_mainStatus.GetPaneText(pane), !CViewPaintScope::Active());
    if (pane == 3)
        UpdateColorSwatch();
}

// ---------------------------------------------------------------- frames and documents

std::vector<Cwm_MDICHILDWnd*> Cwm_MainWnd::Children() const
{
    std::vector<Cwm_MDICHILDWnd*> children;
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* child = qobject_cast<Cwm_MDICHILDWnd*>(window); child && !child->IsClosing())
            children.push_back(child);
    return children;
}

std::vector<CRectaDoc*> Cwm_MainWnd::Documents() const
{
    std::vector<CRectaDoc*> docs;
    for (Cwm_MDICHILDWnd* child : Children())
        if (CRectaDoc* doc = child->Document(); doc && std::find(docs.begin(), docs.end(), doc) == docs.end())
            docs.push_back(doc);
    return docs;
}

Cwm_MDICHILDWnd* Cwm_MainWnd::ActiveChild() const
{
    auto* child = qobject_cast<Cwm_MDICHILDWnd*>(m_mdi->currentSubWindow());
    return child && !child->IsClosing() ? child : nullptr;
}

CRectaView* Cwm_MainWnd::ActiveView() const
{
    Cwm_MDICHILDWnd* child = ActiveChild();
    return child ? &child->View() : nullptr;
}

CRectaDoc* Cwm_MainWnd::ActiveDocument() const
{
    Cwm_MDICHILDWnd* child = ActiveChild();
    return child ? child->Document() : nullptr;
}

CRectaView* Cwm_MainWnd::CurrentView() const
{
    return static_cast<CRectaView*>(theApp.ActiveView());
}

CRectaDoc* Cwm_MainWnd::CurrentDocument() const
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    theApp.GetActiveView(view, doc);
    return doc;
}

CRectaViewWidget* Cwm_MainWnd::CurrentViewWidget() const
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    if (theApp.GetCurrentView(view, doc))
        return theApp.m_inPlaceFrame ? theApp.m_inPlaceFrame->ViewWidget() : nullptr;
    Cwm_MDICHILDWnd* child = ActiveChild();
    return child ? child->ViewWidget() : nullptr;
}

CRectaView* Cwm_MainWnd::DraggingView() const
{
    for (CRectaViewWidget* widget : findChildren<CRectaViewWidget*>())
        if (widget->View().IsDraggingItem())
            return &widget->View();
    return nullptr;
}

Cwm_V2Wnd* Cwm_MainWnd::AerialFrame(const CRectaDoc* doc) const
{
    for (Cwm_V2Wnd* aerial : findChildren<Cwm_V2Wnd*>(QString(), Qt::FindDirectChildrenOnly))
        if (aerial->isVisible() && aerial->Document() == doc)
            return aerial;
    return nullptr;
}

CRectaDoc* Cwm_MainWnd::NewDocument()
{
    auto* doc = new CRectaDoc;
    if (!doc->OnNewDocument()) {
        delete doc;
        return nullptr;
    }
    doc->SetTitle("Drawing" + std::to_string(theApp.m_newDocuments));
    CreateChildFrame(doc);
    return doc;
}

CRectaDoc* Cwm_MainWnd::OpenDocumentFile(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    const QString canonical = info.canonicalFilePath();
    for (Cwm_MDICHILDWnd* child : Children()) {
        const QString open = QFileInfo(QString::fromStdString(child->Document()->GetPathName())).canonicalFilePath();
        if (!canonical.isEmpty() && open == canonical) {
            m_mdi->setActiveSubWindow(child);
            return child->Document();
        }
    }
    auto* doc = new CRectaDoc;
    if (!doc->OnOpenDocument(info.absoluteFilePath().toStdString())) {
        delete doc;
        return nullptr;
    }
    CreateChildFrame(doc);
    return doc;
}

Cwm_MDICHILDWnd* Cwm_MainWnd::CreateChildFrame(CRectaDoc* doc)
{
    auto* child = new Cwm_MDICHILDWnd(doc);
    connect(child, &Cwm_MDICHILDWnd::closing, this, &Cwm_MainWnd::OnChildClosing);
    const int others = int(m_mdi->subWindowList().size());
    m_mdi->addSubWindow(child);
    child->setGeometry(ChildPlacement(m_mdi->viewport()->size(), others));
    child->show();
    m_mdi->setActiveSubWindow(child);
    UpdateTitles();
    UpdateActions();
    return child;
}

Cwm_V2Wnd* Cwm_MainWnd::OpenAerialView()
{
    CRectaDoc* doc = CurrentDocument();
    if (!doc)
        return nullptr;
    Cwm_V2Wnd* aerial = AerialFrame(doc);
    if (!aerial) {
        aerial = new Cwm_V2Wnd(doc, this);
        aerial->move(mapToGlobal(QPoint(std::max(0, width() - aerial->width() - 40), 90)));
    }
    aerial->show();
    aerial->raise();
    return aerial;
}

std::vector<Cwm_V3DWnd*> Cwm_MainWnd::Frames3D(const CRectaDoc* doc) const
{
    std::vector<Cwm_V3DWnd*> frames;
    for (Cwm_V3DWnd* window : findChildren<Cwm_V3DWnd*>(QString(), Qt::FindDirectChildrenOnly))
        if (!doc || window->Document() == doc)
            frames.push_back(window);
    return frames;
}

Cwm_V3DWnd* Cwm_MainWnd::Show3DFrame(const std::optional<C3DCamera>& section)
{
    CRectaDoc* doc = CurrentDocument();
    if (!doc)
        return nullptr;
    const int others = int(Frames3D(nullptr).size());
    auto* window = new Cwm_V3DWnd(doc, section, this);
    // Over the work area, as a drawing frame would open there.
    const QRect place = ChildPlacement(m_mdi->viewport()->size(), others);
    window->show();
    const QSize decoration = window->frameGeometry().size() - window->geometry().size();
    window->resize((place.size() - decoration).expandedTo(QSize(1, 1)));
    window->move(m_mdi->viewport()->mapToGlobal(place.topLeft()));
    window->raise();
    return window;
}

Cwm_V3DWnd* Cwm_MainWnd::Open3DView()
{
    return Show3DFrame(std::nullopt);
}

Cwm_V3DWnd* Cwm_MainWnd::OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible)
{
    CRectaDoc* doc = CurrentDocument();
    if (!doc)
        return nullptr;
    const std::optional<C3DCamera> camera = SectionCamera(p1, p2, visible, doc->m_thickness / 2);
    if (!camera) {
        CurrentView()->ShowPrompt(0, "Section: the points make no section");
        return nullptr;
    }
    return Show3DFrame(camera);
}

void Cwm_MainWnd::OnSubWindowActivated(QMdiSubWindow* window)
{
    // Null comes when the whole frame loses activation: the view stays active.
    auto* child = qobject_cast<Cwm_MDICHILDWnd*>(window);
    // Another drawing's window ends editing in place (nothing stays active without its bars).
    if (child && !child->IsClosing())
        theApp.m_server.DeactivateInPlaceUnless(child->Document());
    if (child && child != m_activated && !child->IsClosing()) {
        if (m_activated && !m_activated->IsClosing())
            m_activated->View().OnActivateView(false);
        m_activated = child;
        child->View().OnActivateView(true);
    }
    UpdateActions();
    UpdateColorSwatch();
    UpdateFrameTitle();
}

void Cwm_MainWnd::OnChildClosing(Cwm_MDICHILDWnd* closing)
{
    if (m_activated == closing)
        m_activated = nullptr;
    // The active drawing's prompt and readout go with it; a drawing activated next shows its own.
    if (!ActiveChild()) {
        theApp.m_mainStatus.SetPaneText(0, {});
        theApp.m_mainStatus.SetPaneText(2, {});
    }
    CRectaDoc* doc = closing->Document();
    const std::vector<Cwm_MDICHILDWnd*> rest = Children();
    const bool shown = std::any_of(rest.begin(), rest.end(), [doc](auto* c) { return c->Document() == doc; });
    if (!shown) {
        for (Cwm_V2Wnd* aerial : findChildren<Cwm_V2Wnd*>(QString(), Qt::FindDirectChildrenOnly))
            if (aerial->Document() == doc)
                aerial->close();
        for (Cwm_V3DWnd* window : Frames3D(doc))
            window->close();
    }
    UpdateTitles();
    UpdateActions();
}

void Cwm_MainWnd::CloseSideWindows(const CRectaDoc* doc)
{
    for (Cwm_V2Wnd* aerial : findChildren<Cwm_V2Wnd*>(QString(), Qt::FindDirectChildrenOnly))
        if (aerial->Document() == doc)
            delete aerial;
    for (Cwm_V3DWnd* window : Frames3D(doc))
        delete window;
}

void Cwm_MainWnd::UpdateActions()
{
    Cwm_MDICHILDWnd* child = ActiveChild();
    const bool drawing = child != nullptr;
    // Drawing commands go to the drawing edited in place; ending that goes to its container.
    const CRectaView* current = child ? CurrentView() : nullptr;
    for (const auto& [id, action] : m_actions) {
        const char* reason = UnavailableReason(id);
        const CRectaView* view = child && id == ID_CANCEL_EDIT_CNTR ? &child->View() : current;
        action->setEnabled(!reason && (drawing || !NeedsDrawing(id)) && (!view || view->IsCommandEnabled(id)));
        if (reason)
            action->setToolTip(QString::fromLatin1(reason));
    }
    if (QAction* preview = Action(ID_PREVIEW_AT_INSERT))
        preview->setChecked(m_previewAtInsert != 0);
}

// Frames of a drawing shown more than once are numbered: "Drawing1:2".
void Cwm_MainWnd::UpdateTitles()
{
    const std::vector<Cwm_MDICHILDWnd*> children = Children();
    for (CRectaDoc* doc : Documents()) {
        const QString title = QString::fromStdString(doc->GetTitle());
        const auto frames = std::count_if(children.begin(), children.end(), [doc](auto* c) { return c->Document() == doc; });
        int n = 0;
        for (Cwm_MDICHILDWnd* child : children)
            if (child->Document() == doc)
                child->setWindowTitle(frames > 1 ? title + ":" + QString::number(++n) : title);
        if (Cwm_V2Wnd* aerial = AerialFrame(doc))
            aerial->setWindowTitle("Aerial View - " + title);
        for (Cwm_V3DWnd* window : Frames3D(doc))
            window->UpdateTitle();
    }
    UpdateFrameTitle();
}

void Cwm_MainWnd::UpdateFrameTitle()
{
    const Cwm_MDICHILDWnd* child = ActiveChild();
    const QString title = child ? "Zepa - " + child->windowTitle() : QString("Zepa");
    if (windowTitle() != title)
        setWindowTitle(title);
}

void Cwm_MainWnd::changeEvent(QEvent* event)
{
    // A maximized drawing frame puts its own title into the window's: ours stays.
    if (event->type() == QEvent::WindowTitleChange)
        UpdateFrameTitle();
    QMainWindow::changeEvent(event);
}

void Cwm_MainWnd::UpdateColorSwatch()
{
    if (CRectaDoc* doc = ActiveDocument())
        m_swatch->SetColor(doc->m_color);
    if (theApp.m_inPlaceFrame)
        theApp.m_inPlaceFrame->UpdateColorSwatch();
}

// ---------------------------------------------------------------- commands

void Cwm_MainWnd::OnCommand(int id)
{
    // Not while an object follows the mouse.
    if (DraggingView())
        return;
    switch (id) {
    case ID_FILE_NEW: NewDocument(); return;
    case ID_FILE_OPEN: OnFileOpen(); return;
    case ID_APP_EXIT: close(); return;
    case ID_APP_ABOUT: AfxMessageBox("Zepa - 2D and 3D drafting", MB_OK | MB_ICONINFORMATION); return;
    case ID_WINDOW_CASCADE: m_mdi->cascadeSubWindows(); return;
    case ID_WINDOW_TILE: m_mdi->tileSubWindows(); return;
    case ID_PREVIEW_AT_INSERT:
        m_previewAtInsert = !m_previewAtInsert;
        UpdateActions();
        return;
    default: break;
    }
    Cwm_MDICHILDWnd* child = ActiveChild();
    if (!child)
        return;
    CRectaDoc* doc = child->Document();
    switch (id) {
    case ID_FILE_SAVE: OnFileSave(doc); return;
    case ID_FILE_SAVE_AS: OnFileSaveAs(doc); return;
    case ID_FILE_CLOSE: OnFileClose(); return;
    case ID_SAVE_OWN_PATH: doc->SaveToOwnPath(); return;
    case ID_WINDOW_NEW: CreateChildFrame(doc); return;
    case ID_VIEW_AERIAL: OpenAerialView(); return;
    case ID_WINDOW_3D: Open3DView(); return;
    // Ends editing in place: the container's view closes its active object.
    case ID_CANCEL_EDIT_CNTR: child->View().OnCommand(id); return;
    default: RunDrawingCommand(id); return;
    }
}

// The drawing edited in place takes the drawing commands while there is one.
void Cwm_MainWnd::RunDrawingCommand(int id)
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    if (!theApp.GetActiveView(view, doc))
        return;
    switch (id) {
    case ID_SNAP_MODES: RunModoAproxDlg(view->m_snapMode); return;
    case ID_FIXED_DISTANCE: {
        // A distance that is not positive leaves the next point free.
        double& distance = view->m_fixedDistance;
        if (RunDistanciaDlg(distance) == 1 && !(distance > 0.0))
            distance = 0.0;
        return;
    }
    default: break;
    }
    if (!view->OnCommand(id) && id == ID_ORTHO)
        doc->ToggleOrtho();
    UpdateColorSwatch();
}

std::string Cwm_MainWnd::AskFileName(const FileQuestion& question) const
{
    return (question.save ? m_askSaveName : m_askOpenName)(question);
}

namespace {

constexpr char kDrawingFilter[] = "Drawing Files (*.zpd) | *.zpd ||";

}  // namespace

void Cwm_MainWnd::OnFileOpen()
{
    const std::string path = AskFileName({false, "Open", "zpd", "*.zpd", kDrawingFilter, false, ""});
    if (!path.empty())
        OpenDocumentFile(path);
}

bool Cwm_MainWnd::OnFileSave(CRectaDoc* doc)
{
    // What its running objects show is what is saved.
    theApp.m_server.PutBackFor(doc);
    // An embedded drawing saves into its item.
    if (doc->SaveEmbedding())
        return true;
    if (doc->GetPathName().empty())
        return OnFileSaveAs(doc);
    return doc->OnSaveDocument(doc->GetPathName());
}

bool Cwm_MainWnd::OnFileSaveAs(CRectaDoc* doc)
{
    const std::string suggested = doc->GetPathName().empty() ? doc->GetTitle() + ".zpd" : doc->GetPathName();
    std::string path = AskFileName({true, "Save As", "zpd", suggested, kDrawingFilter, true, ""});
    if (path.empty())
        return false;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty())
        path += ".zpd";
    theApp.m_server.PutBackFor(doc);
    // An embedded drawing stays its item's: the file gets a copy, and what is
    // not yet back in the item still goes back when its window closes.
    const bool embedded = doc->IsEmbedded();
    const bool modified = doc->IsModified();
    if (!doc->OnSaveDocument(path))
        return false;
    if (embedded) {
        doc->SetModifiedFlag(modified);
        return true;
    }
    doc->SetPathName(path);
    UpdateTitles();
    return true;
}

// One question for the active drawing, with its objects' drawings back in
// them, then every frame showing it closes.
void Cwm_MainWnd::OnFileClose()
{
    CRectaDoc* doc = ActiveDocument();
    if (!doc)
        return;
    theApp.m_server.CloseFor(doc);
    if (!doc->SaveModified())
        return;
    for (Cwm_MDICHILDWnd* child : Children())
        if (child->Document() == doc && !child->close())
            return;
}

void Cwm_MainWnd::PrintActiveView(bool preview)
{
    QPointer<CRectaViewWidget> widget = CurrentViewWidget();
    if (!widget)
        return;
    QPrinter printer(QPrinter::HighResolution);
    auto print = [&] {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted && widget)
            PrintView(widget->View(), printer);
    };
    if (preview) {
        CPrintPreviewDlg dialog(widget, printer.pageLayout(), print, this);
        dialog.exec();
    } else {
        print();
    }
}

// ---------------------------------------------------------------- events

void Cwm_MainWnd::closeEvent(QCloseEvent* event)
{
    // Not while an object follows the mouse.
    if (DraggingView()) {
        event->ignore();
        return;
    }
    // Embedded drawings go back into their objects before their drawings are asked about.
    theApp.m_server.CloseAll();
    for (CRectaDoc* doc : Documents())
        if (!doc->SaveModified()) {
            event->ignore();
            return;
        }
    for (Cwm_MDICHILDWnd* child : Children())
        if (!child->close()) {
            event->ignore();
            return;
        }
    for (Cwm_V2Wnd* aerial : findChildren<Cwm_V2Wnd*>(QString(), Qt::FindDirectChildrenOnly))
        aerial->close();
    for (Cwm_V3DWnd* window : Frames3D(nullptr))
        window->close();
    event->accept();
}

bool Cwm_MainWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* button = qobject_cast<QToolButton*>(watched);
        QAction* action = button ? button->defaultAction() : nullptr;
        if (action && button->parentWidget() && button->parentWidget()->property("quickTips").toBool()) {
            const auto it = std::find_if(m_actions.begin(), m_actions.end(),
                                         [action](const auto& entry) { return entry.second == action; });
            ShowQuickTip(action->toolTip(), it == m_actions.end() ? 0 : it->first,
                         static_cast<QHelpEvent*>(event)->globalPos() + QPoint(12, 16));
            return true;
        }
    }
    // A drag that runs takes the keys and their shortcuts: Escape puts the object back.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
        event->type() == QEvent::ShortcutOverride) {
        if (CRectaView* dragging = DraggingView()) {
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                dragging->CancelItemDrag();
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (QGuiApplication::platformName() == "xcb") {
            // X state bits: Lock is caps lock, Mod2 num lock.
            for (CStatusBar* bar : {&m_statusBar, theApp.m_inPlaceFrame ? &theApp.m_inPlaceFrame->StatusBar() : nullptr})
                if (bar) {
                    bar->Pane(4)->setEnabled(key->nativeModifiers() & 0x02);
                    bar->Pane(5)->setEnabled(key->nativeModifiers() & 0x10);
                }
        }
        if (event->type() == QEvent::KeyPress && HandleKey(watched, key))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Typed characters go to the active plan view while nothing else in the
// frame takes text and no dialog is up.
bool Cwm_MainWnd::HandleKey(QObject* watched, QKeyEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || IsTextEntry(widget) || QApplication::activeModalWidget())
        return false;
    // Escape ends editing in place, as a click outside the object does.
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        Cwm_MDICHILDWnd* child = ActiveChild();
        if (!child || !child->View().IsCommandEnabled(ID_CANCEL_EDIT_CNTR))
            return false;
        OnCommand(ID_CANCEL_EDIT_CNTR);
        return true;
    }
    const int ch = TypedCharFromKey(event->key(), event->modifiers(), event->text());
    if (ch < 0)
        return false;
    CRectaView* view = CurrentView();
    return view && view->OnChar(unsigned(ch));
}

void Cwm_MainWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void Cwm_MainWnd::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            OpenDocumentFile(url.toLocalFile().toStdString());
    event->acceptProposedAction();
}

#include "app/drawingserver.h"

#include "app/inplaceframe.h"
#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/viewwidget.h"
#include "doc/apphost.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"
#include "platform/archive.h"
#include "view2d/rectaview.h"

#include <QMdiArea>

#include <algorithm>

namespace {

// The drawing file's bytes through the drawing's embedded item, a working
// plane in force taken back to the world first.
bool DrawingBytes(CRectaDoc& doc, std::vector<BYTE>& bytes, std::string& error)
{
    if (doc.m_ucsActive) {
        CRectaDoc world;
        if (!doc.WorldSystemCopy(world)) {
            error = "the drawing could not be taken back to the world system";
            return false;
        }
        return DrawingBytes(world, bytes, error);
    }
    COleServerItem* item = doc.GetEmbeddedItem();
    if (!item) {
        error = "the drawing has no embedded item";
        return false;
    }
    CArchive ar;
    try {
        item->Serialize(ar);
    } catch (const CArchiveException& e) {
        error = e.m_message;
        return false;
    }
    bytes = ar.TakeData();
    return true;
}

}  // namespace

CDrawingServer::CDrawingServer() = default;

CDrawingServer::~CDrawingServer()
{
    AbandonAll();
}

void CDrawingServer::AbandonAll()
{
    for (const auto& session : m_sessions)
        session->item = nullptr;
    while (!m_sessions.empty()) {
        Session* session = m_sessions.back().get();
        if (session->open) {
            // Its windows keep the drawing, a drawing of its own from now on.
            session->doc->SetEmbedding(nullptr);
            Erase(session);
        } else {
            End(session);
        }
    }
}

CDrawingServer::Session* CDrawingServer::Find(const CDrawingItem& item) const
{
    for (const auto& session : m_sessions)
        if (session->item == &item)
            return session.get();
    return nullptr;
}

CDrawingServer::Session* CDrawingServer::FindDoc(const COleServerDoc& doc) const
{
    for (const auto& session : m_sessions)
        if (session->doc == &doc)
            return session.get();
    return nullptr;
}

int CDrawingServer::RunState(const CDrawingItem& item) const
{
    const Session* session = Find(item);
    return !session ? notRunning : session->open ? openInWindow : activeInPlace;
}

CRectaDoc* CDrawingServer::Drawing(const CDrawingItem& item) const
{
    const Session* session = Find(item);
    return session ? session->doc : nullptr;
}

bool CDrawingServer::Run(CDrawingItem& item, CView& containerView, bool open)
{
    if (Session* running = Find(item)) {
        // An item open in its window shows that window for either verb.
        if (running->open || !open) {
            if (running->open && MainFrame())
                for (Cwm_MDICHILDWnd* child : MainFrame()->Children())
                    if (child->Document() == running->doc && child->mdiArea())
                        child->mdiArea()->setActiveSubWindow(child);
            return true;
        }
        Close(item);
    }
    CRectaDoc* container = item.GetDocument();
    if (container && container->IsInPlaceActive()) {
        AfxMessageBox("The objects of a drawing edited in place cannot be activated: open that drawing in a "
                      "window of its own first (Ctrl and double click).",
                      MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const int depth = item.NestingDepth();
    if (depth > kMaxDepth) {
        AfxMessageBox("The drawing lies more than " + std::to_string(kMaxDepth) +
                          " drawings deep inside others: it is not opened.",
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!open)
        DeactivateInPlaceUnless(nullptr);  // one drawing is edited in place at a time
    std::unique_ptr<CRectaDoc> doc = Load(item);
    if (!doc)
        return false;
    return open ? OpenWindow(item, containerView, std::move(doc))
                : ActivateInPlace(item, containerView, std::move(doc));
}

std::unique_ptr<CRectaDoc> CDrawingServer::Load(const CDrawingItem& item)
{
    auto doc = std::make_unique<CRectaDoc>();
    const std::vector<BYTE> bytes = item.NativeData();
    if (bytes.empty()) {
        // A new drawing: its defaults, with no pane to show them in yet.
        CAppHost* host = InstallAppHost(nullptr);
        doc->InitSettings(1);
        InstallAppHost(host);
    } else if (const auto damage = ReadDrawingBytes(bytes, *doc)) {
        AfxMessageBox("The embedded drawing is damaged or not a drawing file (" + *damage + ").",
                      MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    const CRectaDoc* container = item.GetDocument();
    doc->SetTitle("Embedded drawing in " + (container ? container->GetTitle() : std::string("a drawing")));
    doc->SetModifiedFlag(false);
    doc->SetEmbedding(this);
    return doc;
}

bool CDrawingServer::ActivateInPlace(CDrawingItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc)
{
    auto* view = dynamic_cast<CRectaView*>(&containerView);
    auto* window = view ? dynamic_cast<QWidget*>(view->GetHost()) : nullptr;
    auto* frame = window ? dynamic_cast<CInPlaceFrame*>(doc->CreateInPlaceFrame(window)) : nullptr;
    if (!frame) {
        doc->SetEmbedding(nullptr);
        AfxMessageBox("The drawing cannot be edited in place here.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    auto session = std::make_unique<Session>();
    Session* s = session.get();
    s->item = &item;
    s->doc = doc.release();
    s->containerView = &containerView;
    s->frame = frame;
    m_sessions.push_back(std::move(session));
    // A frame that goes with its container's window ends the session; nothing goes back.
    s->frameGone = QObject::connect(frame, &QObject::destroyed, [this, s] {
        const auto it = std::find_if(m_sessions.begin(), m_sessions.end(), [s](const auto& p) { return p.get() == s; });
        if (it == m_sessions.end())
            return;
        s->item = nullptr;
        End(s);
    });
    frame->m_onPositionChange = [&item, frame](const QRect& rect) {
        item.OnChangeItemPosition(rect);
        QRect now;
        item.OnGetItemPosition(now);
        frame->SetItemRect(now);
    };
    QRect rect;
    item.OnGetItemPosition(rect);
    frame->SetItemRect(rect);
    s->doc->InitSettings(2);
    if (CRectaViewWidget* widget = frame->ViewWidget())
        widget->setFocus();
    item.InvalidateItem();
    return true;
}

bool CDrawingServer::OpenWindow(CDrawingItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc)
{
    Cwm_MainWnd* main = MainFrame();
    if (!main) {
        doc->SetEmbedding(nullptr);
        AfxMessageBox("The drawing cannot be opened without the main window.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    auto session = std::make_unique<Session>();
    session->item = &item;
    session->doc = doc.get();
    session->containerView = &containerView;
    session->open = true;
    m_sessions.push_back(std::move(session));
    CRectaDoc* drawing = doc.release();  // its window's views own it from now on
    drawing->InitSettings(2);
    main->CreateChildFrame(drawing);
    item.InvalidateItem();
    return true;
}

void CDrawingServer::PutBack(Session& session)
{
    CRectaDoc& doc = *session.doc;
    if (!session.item || !doc.IsModified())
        return;
    std::vector<BYTE> bytes;
    std::string error;
    if (!DrawingBytes(doc, bytes, error)) {
        AfxMessageBox("The drawing could not be put back into its object: " + error, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    session.item->TakeBackDrawing(std::move(bytes), doc);
    doc.SetModifiedFlag(false);
}

void CDrawingServer::SaveEmbedding(COleServerDoc& doc)
{
    if (Session* session = FindDoc(doc))
        PutBack(*session);
}

void CDrawingServer::Close(CDrawingItem& item)
{
    Session* session = Find(item);
    if (!session)
        return;
    // Drawings embedded in this one go back into it first.
    CloseFor(session->doc);
    PutBack(*session);
    session->item = nullptr;
    End(session);
    item.InvalidateItem();
}

void CDrawingServer::End(Session* session)
{
    CRectaDoc* doc = session->doc;
    if (session->open) {
        // The windows close; the drawing goes with the last of its views.
        if (Cwm_MainWnd* main = MainFrame())
            for (Cwm_MDICHILDWnd* child : main->Children())
                if (child->Document() == doc)
                    child->close();
        return;
    }
    QObject::disconnect(session->frameGone);
    if (Cwm_MainWnd* main = MainFrame())
        main->CloseSideWindows(doc);
    doc->SetEmbedding(nullptr);
    doc->OnDeactivate();
    Erase(session);
    delete doc;
}

void CDrawingServer::Erase(Session* session)
{
    std::erase_if(m_sessions, [session](const auto& p) { return p.get() == session; });
}

void CDrawingServer::OnDocumentGone(COleServerDoc& doc)
{
    Session* session = FindDoc(doc);
    if (!session)
        return;
    CDrawingItem* item = session->item;
    Erase(session);
    if (item)
        item->InvalidateItem();
}

void CDrawingServer::CloseFor(const CDocument* container, const CView* view)
{
    std::vector<CDrawingItem*> items;
    for (const auto& session : m_sessions)
        if (session->item && ((container && session->item->GetDocument() == container) ||
                              (view && !session->open && session->containerView == view)))
            items.push_back(session->item);
    for (CDrawingItem* item : items)
        Close(*item);
}

void CDrawingServer::CloseAll()
{
    std::vector<CDrawingItem*> items;
    for (const auto& session : m_sessions)
        if (session->item)
            items.push_back(session->item);
    for (CDrawingItem* item : items)
        Close(*item);
}

void CDrawingServer::DeactivateInPlaceUnless(const CDocument* container)
{
    std::vector<CDrawingItem*> items;
    for (const auto& session : m_sessions)
        if (session->item && !session->open && (!container || session->item->GetDocument() != container))
            items.push_back(session->item);
    for (CDrawingItem* item : items)
        Close(*item);
}

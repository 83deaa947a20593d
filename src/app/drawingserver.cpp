#include "app/drawingserver.h"

#include "app/inplaceframe.h"
#include "app/mainwnd.h"
#include "app/mdichild.h"
#include "app/viewwidget.h"
#include "doc/cntritem.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"
#include "view2d/rectaview.h"

#include <QMdiArea>

#include <algorithm>

namespace {

QRect ToQRect(const CRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

}  // namespace

CDrawingServer::~CDrawingServer()
{
    AbandonAll();
}

void CDrawingServer::AbandonAll()
{
    for (const auto& session : m_sessions)
        Detach(*session);
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

CDrawingServer::Session* CDrawingServer::Find(const CRectaCntrItem& item) const
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

int CDrawingServer::RunState(const CRectaCntrItem& item) const
{
    const Session* session = Find(item);
    return !session ? notRunning : session->open ? openInWindow : activeInPlace;
}

CRectaDoc* CDrawingServer::Drawing(const CRectaCntrItem& item) const
{
    const Session* session = Find(item);
    return session ? session->doc : nullptr;
}

bool CDrawingServer::Run(CRectaCntrItem& item, CView& containerView, bool open)
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
        AfxMessageBox(kInPlaceDrawingRunsNoObjects, MB_OK | MB_ICONINFORMATION);
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

std::unique_ptr<CRectaDoc> CDrawingServer::Load(CRectaCntrItem& item)
{
    auto doc = std::make_unique<CRectaDoc>();
    if (const auto why = item.LoadDrawing(*doc)) {
        AfxMessageBox("The embedded drawing cannot be opened: " + *why + ".", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    const CRectaDoc* container = item.GetDocument();
    doc->SetTitle("Embedded drawing in " + (container ? container->GetTitle() : std::string("a drawing")));
    doc->SetModifiedFlag(false);
    doc->SetEmbedding(this);
    return doc;
}

bool CDrawingServer::ActivateInPlace(CRectaCntrItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc)
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
        Detach(*s);
        End(s);
    });
    // The item takes the resize bar's rectangle, or the frame stays over the item.
    frame->m_onPositionChange = [&item, frame](const QRect& rect) {
        if (item.OnChangeItemPosition(CRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1)))
            return;
        CRect now;
        item.OnGetItemPosition(now);
        frame->SetItemRect(ToQRect(now));
    };
    // The frame lies over the item in this view, and follows it as the view zooms, pans or is
    // resized and as the item moves or takes its drawing's size.
    item.SetInPlaceSite(view, [frame](const CRect& rect) { frame->SetItemRect(ToQRect(rect)); });
    s->doc->InitSettings(2);
    if (CRectaViewWidget* widget = frame->ViewWidget())
        widget->setFocus();
    item.InvalidateItem();
    return true;
}

bool CDrawingServer::OpenWindow(CRectaCntrItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc)
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
    doc.UpdateAllItems();
    doc.SetModifiedFlag(false);
}

void CDrawingServer::SaveEmbedding(COleServerDoc& doc)
{
    if (Session* session = FindDoc(doc))
        PutBack(*session);
}

void CDrawingServer::PutBackFor(const CDocument* container)
{
    for (CRectaCntrItem* item : Items([container](const Session& s) { return s.item->GetDocument() == container; })) {
        Session* session = Find(*item);
        if (!session)
            continue;
        PutBackFor(session->doc);
        PutBack(*session);
    }
}

void CDrawingServer::Close(CRectaCntrItem& item)
{
    Session* session = Find(item);
    if (!session)
        return;
    // Drawings embedded in this one go back into it first.
    CloseFor(session->doc);
    PutBack(*session);
    Detach(*session);
    End(session);
    item.InvalidateItem();
}

void CDrawingServer::Detach(Session& session)
{
    if (session.item)
        session.item->SetInPlaceSite(nullptr, nullptr);
    session.item = nullptr;
    session.doc->m_pEmbeddingItem = nullptr;
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
    CRectaCntrItem* item = session->item;
    Erase(session);
    if (item)
        item->InvalidateItem();
}

template <class Keep>
std::vector<CRectaCntrItem*> CDrawingServer::Items(Keep keep) const
{
    std::vector<CRectaCntrItem*> items;
    for (const auto& session : m_sessions)
        if (session->item && keep(*session))
            items.push_back(session->item);
    return items;
}

void CDrawingServer::CloseFor(const CDocument* container, const CView* view)
{
    for (CRectaCntrItem* item : Items([container, view](const Session& s) {
             return (container && s.item->GetDocument() == container) ||
                    (view && !s.open && s.containerView == view);
         }))
        Close(*item);
}

void CDrawingServer::CloseAll()
{
    for (CRectaCntrItem* item : Items([](const Session&) { return true; }))
        Close(*item);
}

void CDrawingServer::DeactivateInPlaceUnless(const CDocument* container)
{
    for (CRectaCntrItem* item : Items([container](const Session& s) {
             return !s.open && (!container || s.item->GetDocument() != container);
         }))
        Close(*item);
}

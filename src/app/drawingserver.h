// Runs the drawings embedded in other drawings: loaded from their items'
// bytes when the user activates one, edited in place over the item or in a
// window of their own, and put back into the item when the session ends.
#pragma once

#include "doc/embedserver.h"
#include "platform/oleserver.h"

#include <QMetaObject>
#include <QPointer>

#include <memory>
#include <vector>

class CDocument;
class CInPlaceFrame;
class CRectaDoc;
class CView;

class CDrawingServer : public CEmbeddedDrawingServer, public CEmbeddingClient {
public:
    enum { notRunning = 0, openInWindow = 1, activeInPlace = 2 };

    CDrawingServer() = default;
    // Sessions still running end without putting anything back.
    ~CDrawingServer() override;
    CDrawingServer(const CDrawingServer&) = delete;
    CDrawingServer& operator=(const CDrawingServer&) = delete;

    bool Run(CRectaCntrItem& item, CView& containerView, bool open) override;
    void Close(CRectaCntrItem& item) override;
    int RunState(const CRectaCntrItem& item) const override;

    // Ends the sessions of the items of container, and the one in place over view.
    void CloseFor(const CDocument* container, const CView* view = nullptr);
    void CloseAll();
    // Ends every session without putting anything back (the containers are going).
    void AbandonAll();
    // Ends the session in place unless container holds its item.
    void DeactivateInPlaceUnless(const CDocument* container);
    // The drawing the item runs, or null.
    CRectaDoc* Drawing(const CRectaCntrItem& item) const;
    // Puts the changed drawings of container's running items back into them
    // (drawings embedded in those first); the sessions go on.
    void PutBackFor(const CDocument* container);

    void SaveEmbedding(COleServerDoc& doc) override;
    void OnDocumentGone(COleServerDoc& doc) override;

private:
    struct Session {
        CRectaCntrItem* item = nullptr;  // null once the drawing went back
        CRectaDoc* doc = nullptr;        // owned here in place; open, its window's views own it
        const CView* containerView = nullptr;
        bool open = false;
        QPointer<CInPlaceFrame> frame;
        QMetaObject::Connection frameGone;
    };

    Session* Find(const CRectaCntrItem& item) const;
    Session* FindDoc(const COleServerDoc& doc) const;
    // The item's drawing as a document of its own; null, after a message, when it cannot be read.
    std::unique_ptr<CRectaDoc> Load(CRectaCntrItem& item);
    bool ActivateInPlace(CRectaCntrItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc);
    bool OpenWindow(CRectaCntrItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc);
    void PutBack(Session& session);
    // The session no longer reaches its item.
    static void Detach(Session& session);
    // Ends the session: the frames close, an in-place drawing is deleted.
    void End(Session* session);
    void Erase(Session* session);
    // The items of the sessions that pass keep, each once.
    template <class Keep>
    std::vector<CRectaCntrItem*> Items(Keep keep) const;

    std::vector<std::unique_ptr<Session>> m_sessions;
};

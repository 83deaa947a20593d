// Runs the drawings embedded in other drawings: loaded from their items'
// bytes when the user activates one, edited in place over the item or in a
// window of their own, and put back into the item when the session ends.
#pragma once

#include "platform/oleserver.h"
#include "platform/types.h"

#include <QMetaObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class CDocument;
class CInPlaceFrame;
class CRectaDoc;
class CView;

// What a session asks of the item whose drawing it runs.
class CDrawingItem {
public:
    virtual ~CDrawingItem() = default;
    // The drawing file's bytes the item holds (empty: a new drawing).
    virtual std::vector<BYTE> NativeData() const = 0;
    // The drawing's bytes come back, with the drawing to record the item's
    // picture from; the drawing that holds the item is modified.
    virtual void TakeBackDrawing(std::vector<BYTE> bytes, CRectaDoc& drawing) = 0;
    // The drawing that holds the item.
    virtual CRectaDoc* GetDocument() const = 0;
    virtual void OnGetItemPosition(QRect& rect) = 0;
    virtual bool OnChangeItemPosition(const QRect& rect) = 0;
    // Drawings the item's drawing lies in: 1 for an item of a drawing of its own.
    virtual int NestingDepth() const = 0;
    // The item is to be drawn again (its state changed).
    virtual void InvalidateItem() = 0;
};

class CDrawingServer : public CEmbeddingClient {
public:
    // Deepest drawing that is loaded.
    static constexpr int kMaxDepth = 16;
    enum { notRunning = 0, openInWindow = 1, activeInPlace = 2 };

    CDrawingServer();
    // Sessions still running end without putting anything back.
    ~CDrawingServer() override;
    CDrawingServer(const CDrawingServer&) = delete;
    CDrawingServer& operator=(const CDrawingServer&) = delete;

    // Runs the item's drawing in place over its rectangle inside the
    // container view's window, or, open, in a drawing window of its own.
    // False when it cannot run (it says why).
    bool Run(CDrawingItem& item, CView& containerView, bool open);
    // Puts the drawing back into the item and closes its frames.
    void Close(CDrawingItem& item);
    int RunState(const CDrawingItem& item) const;
    // Ends the sessions of the items of container, and the one in place over view.
    void CloseFor(const CDocument* container, const CView* view = nullptr);
    void CloseAll();
    // Ends every session without putting anything back (the containers are going).
    void AbandonAll();
    // Ends the session in place unless container holds its item.
    void DeactivateInPlaceUnless(const CDocument* container);
    // The drawing the item runs, or null.
    CRectaDoc* Drawing(const CDrawingItem& item) const;

    void SaveEmbedding(COleServerDoc& doc) override;
    void OnDocumentGone(COleServerDoc& doc) override;

private:
    struct Session {
        CDrawingItem* item = nullptr;  // null once the drawing went back
        CRectaDoc* doc = nullptr;      // owned here in place; open, its window's views own it
        const CView* containerView = nullptr;
        bool open = false;
        QPointer<CInPlaceFrame> frame;
        QMetaObject::Connection frameGone;
    };

    Session* Find(const CDrawingItem& item) const;
    Session* FindDoc(const COleServerDoc& doc) const;
    // The item's drawing as a document of its own; null, after a message, when it cannot be read.
    std::unique_ptr<CRectaDoc> Load(const CDrawingItem& item);
    bool ActivateInPlace(CDrawingItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc);
    bool OpenWindow(CDrawingItem& item, CView& containerView, std::unique_ptr<CRectaDoc> doc);
    void PutBack(Session& session);
    // Ends the session: the frames close, an in-place drawing is deleted.
    void End(Session* session);
    void Erase(Session* session);

    std::vector<std::unique_ptr<Session>> m_sessions;
};

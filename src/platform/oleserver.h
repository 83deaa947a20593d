// The server side of embedding, as far as this program needs it: a document
// that can be embedded elsewhere, and the item that stands for it there,
// which saves the document's data and draws its picture. An embedded
// document is edited in place, in a frame lying over its item inside the
// container's window, or in a window of its own; either way its contents go
// back into the item, not to a file.
#pragma once

#include "platform/dc.h"
#include "platform/document.h"
#include "platform/metafile.h"

#include <functional>
#include <memory>

class COleIPFrameWnd;
class COleServerDoc;
class QWidget;

// Aspects of an item's picture.
inline constexpr int DVASPECT_CONTENT = 1;
inline constexpr int DVASPECT_THUMBNAIL = 2;
inline constexpr int DVASPECT_ICON = 4;
inline constexpr int DVASPECT_DOCPRINT = 8;

class COleServerItem : public CObject {
public:
    explicit COleServerItem(COleServerDoc* doc) : m_doc(doc) {}

    COleServerDoc* GetDocument() const { return m_doc; }
    // True when the item is its document's embedded item.
    bool IsEmbeddedItem() const;

    // The item's data; nothing here.
    void Serialize(CArchive& ar) override;
    // Draws the item's picture on dc (usually a CMetaFileDC), which the
    // picture's own mapping scales to whatever it is shown in; size is the
    // extent asked for, in hundredths of a millimetre. False when nothing
    // could be drawn.
    virtual bool OnDraw(CDC& dc, LSize& size) = 0;
    // The picture's size in hundredths of a millimetre for the aspect; here
    // no aspect has one (false).
    virtual bool OnGetExtent(int aspect, LSize& size);

    // The item's presentation: OnDraw recorded on a CMetaFileDC, with the
    // content's extent as the size. Empty when OnDraw drew nothing.
    CMetaFile RecordPicture();

private:
    COleServerDoc* m_doc;
};

// The one that loaded a document from an embedded item and takes its
// contents back.
class CEmbeddingClient {
public:
    virtual ~CEmbeddingClient() = default;
    // The document's contents go back into its item.
    virtual void SaveEmbedding(COleServerDoc& doc) = 0;
    // The document is being destroyed; it is no longer a whole document.
    virtual void OnDocumentGone(COleServerDoc& doc) = 0;
};

class COleServerDoc : public CDocument {
public:
    ~COleServerDoc() override;

    // The item that stands for the whole document where it is embedded,
    // made by OnGetEmbeddedItem on the first request. The document owns it
    // and deletes it when it is itself deleted; null when it cannot be made.
    COleServerItem* GetEmbeddedItem();
    // The embedded item when it was made already, else null.
    COleServerItem* PeekEmbeddedItem() const { return m_embeddedItem.get(); }

    // The frame of the in-place session, or null.
    COleIPFrameWnd* GetInPlaceFrame() const { return m_pInPlaceFrame; }
    bool IsInPlaceActive() const { return m_pInPlaceFrame != nullptr; }

    // Embedded: loaded from an item that client keeps (null: a document of
    // its own again).
    void SetEmbedding(CEmbeddingClient* client) { m_client = client; }
    bool IsEmbedded() const { return m_client != nullptr; }
    // Hands the contents back to the client; false when not embedded.
    bool SaveEmbedding();

    // Makes the in-place frame inside parent (the container's view window)
    // through the installed maker; null when none is installed or it fails.
    virtual COleIPFrameWnd* CreateInPlaceFrame(QWidget* parent);
    // The frame is let go and taken down (COleIPFrameWnd::DestroyWindow).
    virtual void DestroyInPlaceFrame(COleIPFrameWnd* frame);
    // The in-place session ends: its frame goes.
    virtual void OnDeactivate();

    // Makes the in-place frame of doc inside parent, its view in it; the
    // application installs it. Returns what it replaces.
    using FrameMaker = std::function<COleIPFrameWnd*(COleServerDoc& doc, QWidget* parent)>;
    static FrameMaker SetInPlaceFrameMaker(FrameMaker maker);

protected:
    // A new item for the whole document, handed to the document to own; null
    // here (a document that cannot be embedded).
    virtual std::unique_ptr<COleServerItem> OnGetEmbeddedItem();

private:
    friend class COleIPFrameWnd;
    // The frame went without DestroyInPlaceFrame: the session ends as if it had.
    void OnFrameDestroyed(COleIPFrameWnd* frame);

    COleIPFrameWnd* m_pInPlaceFrame = nullptr;
    CEmbeddingClient* m_client = nullptr;
    std::unique_ptr<COleServerItem> m_embeddedItem;
};

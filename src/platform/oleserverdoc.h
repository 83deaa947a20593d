// A document that other documents embed: it can be edited in place, in a
// frame lying over its item inside the container's window, or in a window of
// its own; either way its contents go back into the item, not to a file.
#pragma once

#include "platform/document.h"

#include <functional>

class COleIPFrameWnd;
class COleServerDoc;
class QWidget;

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

    // The frame of the in-place session, or null.
    COleIPFrameWnd* GetInPlaceFrame() const { return m_pInPlaceFrame; }
    bool IsInPlaceActive() const { return m_pInPlaceFrame != nullptr; }

    // Embedded: loaded from an item that client keeps (null: a drawing of its
    // own again). depth counts the drawings it lies in.
    void SetEmbedding(CEmbeddingClient* client, int depth);
    bool IsEmbedded() const { return m_client != nullptr; }
    int EmbeddingDepth() const { return m_depth; }
    // Hands the contents back to the client; false when not embedded.
    bool SaveEmbedding();

    // Makes the in-place frame inside parent (the container's view window)
    // through the installed maker; null when none is installed or it fails.
    virtual COleIPFrameWnd* CreateInPlaceFrame(QWidget* parent);
    virtual void DestroyInPlaceFrame(COleIPFrameWnd* frame);
    // The in-place session ends: its frame goes.
    virtual void OnDeactivate();

    // Makes the in-place frame of doc inside parent, its view in it; the
    // application installs it. Returns what it replaces.
    using FrameMaker = std::function<COleIPFrameWnd*(COleServerDoc& doc, QWidget* parent)>;
    static FrameMaker SetInPlaceFrameMaker(FrameMaker maker);

private:
    friend class COleIPFrameWnd;
    // The frame went without DestroyInPlaceFrame: the session ends as if it had.
    void OnFrameDestroyed(COleIPFrameWnd* frame);

    COleIPFrameWnd* m_pInPlaceFrame = nullptr;
    CEmbeddingClient* m_client = nullptr;
    int m_depth = 0;
};

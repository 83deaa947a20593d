// The server side of embedding, as far as this program needs it: a document
// that can be embedded elsewhere, and the item that stands for it there,
// which saves the document's data and draws its picture.
#pragma once

#include "platform/dc.h"
#include "platform/document.h"
#include "platform/metafile.h"

#include <memory>

class COleServerDoc;

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

class COleServerDoc : public CDocument {
public:
    ~COleServerDoc() override;

    // The item that stands for the whole document where it is embedded,
    // made by OnGetEmbeddedItem on the first request. The document owns it
    // and deletes it when it is itself deleted; null when it cannot be made.
    COleServerItem* GetEmbeddedItem();
    // The embedded item when it was made already, else null.
    COleServerItem* PeekEmbeddedItem() const { return m_embeddedItem.get(); }

protected:
    // A new item for the whole document, handed to the document to own; null
    // here (a document that cannot be embedded).
    virtual std::unique_ptr<COleServerItem> OnGetEmbeddedItem();

private:
    std::unique_ptr<COleServerItem> m_embeddedItem;
};

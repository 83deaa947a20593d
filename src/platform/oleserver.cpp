#include "platform/oleserver.h"

bool COleServerItem::IsEmbeddedItem() const { return m_doc && m_doc->PeekEmbeddedItem() == this; }

void COleServerItem::Serialize(CArchive&) {}

bool COleServerItem::OnGetExtent(int, LSize&) { return false; }

CMetaFile COleServerItem::RecordPicture()
{
    LSize size;
    if (!OnGetExtent(DVASPECT_CONTENT, size))
        size = {};
    CMetaFileDC dc;
    if (!OnDraw(dc, size))
        return {};
    return dc.Close();
}

COleServerDoc::~COleServerDoc() = default;

COleServerItem* COleServerDoc::GetEmbeddedItem()
{
    if (!m_embeddedItem)
        m_embeddedItem = OnGetEmbeddedItem();
    return m_embeddedItem.get();
}

std::unique_ptr<COleServerItem> COleServerDoc::OnGetEmbeddedItem() { return nullptr; }

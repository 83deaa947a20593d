#include "platform/oleserver.h"

#include "platform/oleframe.h"

#include <utility>

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

COleServerItem* COleServerDoc::GetEmbeddedItem()
{
    if (!m_embeddedItem)
        m_embeddedItem = OnGetEmbeddedItem();
    return m_embeddedItem.get();
}

std::unique_ptr<COleServerItem> COleServerDoc::OnGetEmbeddedItem() { return nullptr; }

namespace {

COleServerDoc::FrameMaker& Maker()
{
    static COleServerDoc::FrameMaker maker;
    return maker;
}

}  // namespace

COleServerDoc::~COleServerDoc()
{
    if (m_pInPlaceFrame)
        m_pInPlaceFrame->m_doc = nullptr;
    if (CEmbeddingClient* client = std::exchange(m_client, nullptr))
        client->OnDocumentGone(*this);
}

bool COleServerDoc::SaveEmbedding()
{
    if (!m_client)
        return false;
    m_client->SaveEmbedding(*this);
    return true;
}

COleServerDoc::FrameMaker COleServerDoc::SetInPlaceFrameMaker(FrameMaker maker)
{
    return std::exchange(Maker(), std::move(maker));
}

COleIPFrameWnd* COleServerDoc::CreateInPlaceFrame(QWidget* parent)
{
    if (m_pInPlaceFrame || !parent || !Maker())
        return nullptr;
    m_pInPlaceFrame = Maker()(*this, parent);
    if (m_pInPlaceFrame)
        m_pInPlaceFrame->m_doc = this;
    return m_pInPlaceFrame;
}

void COleServerDoc::OnFrameDestroyed(COleIPFrameWnd* frame)
{
    if (frame != m_pInPlaceFrame)
        return;
    m_pInPlaceFrame = nullptr;
    DestroyInPlaceFrame(nullptr);
}

void COleServerDoc::DestroyInPlaceFrame(COleIPFrameWnd* frame)
{
    if (frame == m_pInPlaceFrame)
        m_pInPlaceFrame = nullptr;
    if (!frame)
        return;
    frame->m_doc = nullptr;
    frame->DestroyWindow();
}

void COleServerDoc::OnDeactivate()
{
    if (m_pInPlaceFrame)
        DestroyInPlaceFrame(m_pInPlaceFrame);
}

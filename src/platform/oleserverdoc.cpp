#include "platform/oleserverdoc.h"

#include "platform/oleframe.h"

#include <utility>

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

void COleServerDoc::SetEmbedding(CEmbeddingClient* client, int depth)
{
    m_client = client;
    m_depth = client ? depth : 0;
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
    if (frame)
        frame->m_doc = nullptr;
    delete frame;
}

void COleServerDoc::OnDeactivate()
{
    if (m_pInPlaceFrame)
        DestroyInPlaceFrame(m_pInPlaceFrame);
}

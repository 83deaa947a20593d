#include "doc/rectadoc.h"

CRectaDoc::~CRectaDoc()
{
    DeleteAllLayers();
}

CLayer* CRectaDoc::AddLayer(COLORREF color, int on)
{
    auto* layer = new CLayer(color, on);
    m_layers.AddTail(layer);
    SetModifiedFlag();
    return layer;
}

int CRectaDoc::FindLayer(std::string_view name, CLayer*& layer) const
{
    for (CObject* obj : m_layers) {
        auto* candidate = static_cast<CLayer*>(obj);
        if (candidate->m_name == name) {
            layer = candidate;
            return 1;
        }
    }
    layer = nullptr;
    return 0;
}

void CRectaDoc::RemoveLayerAt(POSITION pos)
{
    delete m_layers.GetAt(pos);
    m_layers.RemoveAt(pos);
}

void CRectaDoc::DeleteAllLayers()
{
    while (!m_layers.IsEmpty())
        delete m_layers.RemoveHead();
}

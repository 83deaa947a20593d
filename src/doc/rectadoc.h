// The drawing: its lists and settings.
#pragma once

#include "model/layer.h"
#include "platform/document.h"
#include "platform/oblist.h"

#include <string_view>

class CRectaDoc : public CDocument {
public:
    CRectaDoc() = default;
    ~CRectaDoc() override;

    // Layer list. A new layer takes the last layer name put aside.
    CLayer* AddLayer(COLORREF color, int on);
    POSITION GetFirstLayerPosition() const { return m_layers.GetHeadPosition(); }
    CLayer* GetNextLayer(POSITION& pos) const { return static_cast<CLayer*>(m_layers.GetNext(pos)); }
    // 1 and the first layer named exactly name, else 0 and null.
    int FindLayer(std::string_view name, CLayer*& layer) const;
    void RemoveLayerAt(POSITION pos);
    void DeleteAllLayers();
    CObList& GetLayerList() { return m_layers; }

private:
    CObList m_layers;
};

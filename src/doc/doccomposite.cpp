// Creation of polylines and dimensions from lists of prepared elements.
#include "doc/rectadoc.h"

#include "model/acot.h"
#include "model/pline.h"

CPLine* CRectaDoc::AddPLine(CObList& segments)
{
    auto* pl = NewPLine(m_penWidth, m_color, m_layerName, segments);
    AppendEntityRecord(new CDib(ENT_PLINE, pl));
    SetModifiedFlag();
    return pl;
}

CAcot* CRectaDoc::AddAcot(CObList& parts)
{
    auto* dim = new CAcot(m_penWidth, m_color, m_layerName, parts);
    AppendEntityRecord(new CDib(ENT_DIMENSION, dim));
    SetModifiedFlag();
    return dim;
}

CPLine* CRectaDoc::AddWorkPLine(CObList& segments)
{
    auto* pl = NewPLine(m_penWidth, m_color, m_layerName, segments);
    m_work.AddTail(new CDib(ENT_PLINE, pl));
    return pl;
}

CAcot* CRectaDoc::AddWorkAcot(CObList& parts)
{
    auto* dim = new CAcot(m_penWidth, m_color, m_layerName, parts);
    m_work.AddTail(new CDib(ENT_DIMENSION, dim));
    SetModifiedFlag();
    return dim;
}

CPLine* CRectaDoc::AddPLineOnLayer(int width, COLORREF color, std::string_view layer, CObList& segments)
{
    auto* pl = NewPLine(width, color, layer, segments);
    AppendEntityRecord(new CDib(ENT_PLINE, pl, GetLayerVisibility(pl->m_layer)));
    SetModifiedFlag();
    return pl;
}

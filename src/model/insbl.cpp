#include "model/insbl.h"

#include "model/bloq.h"
#include "model/entitycontext.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CInsBl, CObject, 1)

CInsBl::CInsBl(int width, COLORREF color, std::string_view layer) : CEntity(width, color, layer)
{
    m_style = 1;
}

int CInsBl::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const
{
    const CBloq* block = FindBlock(drawing);
    return block ? block->Draw(dc, map, kind, Placement(), drawing) : 0;
}

const CBloq* CInsBl::FindBlock(const CEntityContext& drawing) const
{
    const std::uint64_t version = drawing.BlockListVersion();
    if (version && m_foundIn == version && m_found->m_name == m_block)
        return m_found;
    m_found = drawing.FindBlock(m_block);
    m_foundIn = m_found ? version : 0;
    return m_found;
}

void CInsBl::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring())
        ar << m_layer << m_block << m_rotation << m_sx << m_sy;
    else
        ar >> m_layer >> m_block >> m_rotation >> m_sx >> m_sy;
    m_insert.Serialize(ar);
}

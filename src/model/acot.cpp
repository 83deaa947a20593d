#include "model/acot.h"

#include "model/dib.h"
#include "model/entitydraw.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"

IMPLEMENT_SERIAL(CAcot, CObject, 1)

namespace {

// Calls f with the entity of every line and text element.
template <class F>
void ForEachPart(const CObList& parts, F&& f)
{
    for (CObject* obj : parts) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_type == ENT_LINE || dib->m_type == ENT_TEXT)
            f(*static_cast<CEntity*>(dib->m_entity));
    }
}

}  // namespace

CAcot::CAcot(int width, COLORREF color, std::string_view layer, CObList& parts) : CEntity(width, color, layer)
{
    m_parts.AddTail(parts);
}

void CAcot::CopyAttributes(const CAcot& other)
{
    m_width = other.m_width;
    m_style = other.m_style;
    m_layer = other.m_layer;
    m_color = other.m_color;
}

void CAcot::Copy(const CAcot& other)
{
    if (&other == this)
        return;
    CopyAttributes(other);
    DeleteParts();
    CopyParts(m_parts, other.m_parts);
}

CObject* CAcot::GetNextPart(POSITION& pos, int& type) const
{
    return static_cast<const CDib*>(m_parts.GetNext(pos))->Entity(type);
}

void CAcot::DeleteParts()
{
    m_parts.DeleteAll();
}

CRecta* CAcot::DefinitionLine() const
{
    for (CObject* obj : m_parts) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_type == ENT_LINE)
            return static_cast<CRecta*>(dib->m_entity);
    }
    return nullptr;
}

void CAcot::SetColor(COLORREF color)
{
    ForEachPart(m_parts, [&](CEntity& e) { e.SetColor(color); });
    m_color = color;
}

void CAcot::SetLayer()
{
    ForEachPart(m_parts, [&](CEntity& e) { e.m_layer = m_layer; });
}

void CAcot::SetLineType()
{
    ForEachPart(m_parts, [&](CEntity& e) { e.m_style = m_style; });
}

void CAcot::SetWidth()
{
    ForEachPart(m_parts, [&](CEntity& e) { e.m_width = m_width; });
}

void CAcot::MoveTexts(const CPointd& from, const CPointd& to)
{
    for (POSITION pos = GetFirstPartPosition(); pos;) {
        int type = 0;
        CObject* part = GetNextPart(pos, type);
        if (type != ENT_TEXT)
            continue;
        CPointd& p = static_cast<CText*>(part)->m_insert;
        p = CPointd(p.x + to.x - from.x, p.y + to.y - from.y, p.z + to.z - from.z);
    }
}

int CAcot::IsInRect(double x1, double y1, double x2, double y2) const
{
    for (POSITION pos = GetFirstPartPosition(); pos;) {
        int type = 0;
        const CObject* part = GetNextPart(pos, type);
        if ((type == ENT_LINE && static_cast<const CRecta*>(part)->IsInRect(x1, y1, x2, y2)) ||
            (type == ENT_TEXT && static_cast<const CText*>(part)->IsInRect(x1, y1, x2, y2)))
            return 1;
    }
    return 0;
}

int CAcot::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    bool definition = true;
    for (POSITION pos = GetFirstPartPosition(); pos;) {
        int type = 0;
        const CObject* part = GetNextPart(pos, type);
        if (type == ENT_LINE) {
            if (!definition)
                static_cast<const CRecta*>(part)->Draw(dc, map, kind);
            definition = false;
        } else if (type == ENT_TEXT) {
            static_cast<const CText*>(part)->Draw(dc, map, kind);
        }
    }
    return 1;
}

void CAcot::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer;
    } else {
        ar >> m_layer;
        DeleteParts();
    }
    SerializeParts(ar, m_parts);
}

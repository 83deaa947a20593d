// The document's entity creation families, entity-list access and extents.
#include "doc/rectadoc.h"

#include "model/bloq.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/entitykind.h"
#include "model/fontrecord.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/transform.h"

#include <algorithm>
#include <cmath>

namespace {

CPointd AtZ(const CPointd& p, double z)
{
    return CPointd(p.x, p.y, z);
}

}  // namespace

template <class T>
T* CRectaDoc::Append(CObList& list, int type, T* entity, int visible)
{
    auto* dib = new CDib(type, entity, visible);
    if (&list == &m_entities)
        AppendEntityRecord(dib);
    else
        list.AddTail(dib);
    return entity;
}

template <class T>
T* CRectaDoc::AppendOnLayer(int type, T* entity)
{
    ExtendAndDrawEntity(type, entity);
    Append(m_entities, type, entity, GetLayerVisibility(entity->m_layer));
    SetModifiedFlag();
    return entity;
}

// ---------------------------------------------------------------- Add family

CRecta* CRectaDoc::NewRecta(int width, COLORREF color, std::string_view layer) const
{
    return new CRecta(width, color, layer, m_thickness, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                      m_extrusionDir.z);
}

CCirc* CRectaDoc::NewCirc(int width, COLORREF color, std::string_view layer) const
{
    return new CCirc(width, color, layer, m_thickness, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                     m_extrusionDir.z);
}

CArc* CRectaDoc::NewArc(int width, COLORREF color, std::string_view layer) const
{
    return new CArc(width, color, layer, m_thickness, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                    m_extrusionDir.z);
}

CRecta* CRectaDoc::NewRecta(int width, COLORREF color, std::string_view layer, const CPointd& p1,
                            const CPointd& p2) const
{
    auto* line = NewRecta(width, color, layer);
    line->m_p1 = p1;
    line->m_p2 = p2;
    return line;
}

CCirc* CRectaDoc::NewCirc(int width, COLORREF color, std::string_view layer, const CPointd& centre,
                          double radius) const
{
    auto* circle = NewCirc(width, color, layer);
    circle->m_centre = centre;
    circle->m_rx = circle->m_ry = radius;
    return circle;
}

CArc* CRectaDoc::NewArc(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius,
                        double start, double end) const
{
    auto* arc = NewArc(width, color, layer);
    arc->m_centre = centre;
    arc->m_rx = arc->m_ry = radius;
    arc->m_start = start;
    arc->m_end = end;
    return arc;
}

CPunt* CRectaDoc::NewPunt(int width, COLORREF color, std::string_view layer, const CPointd& point) const
{
    auto* punt = new CPunt(width, color, layer);
    punt->m_point = point;
    return punt;
}

CText* CRectaDoc::NewText(int width, COLORREF color, std::string_view layer, const CPointd& insert, int justify,
                          std::string_view text, const LOGFONT& font) const
{
    auto* t = new CText(width, color, layer);
    t->m_insert = insert;
    t->m_text = text;
    t->m_justify = justify;
    CopyLogFont(t->m_font, font);
    return t;
}

CInsBl* CRectaDoc::NewInsBl(int width, COLORREF color, std::string_view layer, std::string_view block,
                            const CPointd& insert, double rotation, double sx, double sy) const
{
    auto* ins = new CInsBl(width, color, layer);
    ins->m_block = block;
    ins->m_insert = insert;
    ins->m_rotation = rotation;
    ins->m_sx = sx;
    ins->m_sy = sy;
    return ins;
}

CTdface* CRectaDoc::NewTdface(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4]) const
{
    auto* face = new CTdface(width, color, layer, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                             m_extrusionDir.z);
    for (int i = 0; i < 4; ++i)
        face->m_c[i] = c[i];
    return face;
}

CPLine* CRectaDoc::NewPLine(int width, COLORREF color, std::string_view layer, CObList& segments) const
{
    return new CPLine(width, color, layer, segments, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                      m_extrusionDir.z);
}

CRecta* CRectaDoc::AddRecta()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_LINE,
                  NewRecta(m_penWidth, m_color, m_layerName));
}

CCirc* CRectaDoc::AddCirc()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_CIRCLE,
                  NewCirc(m_penWidth, m_color, m_layerName));
}

CArc* CRectaDoc::AddArc()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_ARC,
                  NewArc(m_penWidth, m_color, m_layerName));
}

CPunt* CRectaDoc::AddPunt()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_POINT, new CPunt(m_penWidth, m_color, m_layerName));
}

CText* CRectaDoc::AddText()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_TEXT, new CText(m_penWidth, m_color, m_layerName));
}

CInsBl* CRectaDoc::AddInsBl()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_INSERT, new CInsBl(m_penWidth, m_color, m_layerName));
}

CTdface* CRectaDoc::AddTdface()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_3DFACE,
                  new CTdface(m_penWidth, m_color, m_layerName, m_extrusionMode, m_extrusionDir.x, m_extrusionDir.y,
                              m_extrusionDir.z));
}

CHatch* CRectaDoc::AddHatch()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_HATCH, new CHatch);
}

CBmp* CRectaDoc::AddBmp()
{
    SetModifiedFlag();
    return Append(m_entities, ENT_BITMAP, new CBmp);
}

// ---------------------------------------------------------------- on a named layer

CRecta* CRectaDoc::AddRectaOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& p1,
                                   const CPointd& p2)
{
    return AppendOnLayer(ENT_LINE, NewRecta(width, color, layer, AtZ(p1, m_currentZ), AtZ(p2, m_currentZ)));
}

CCirc* CRectaDoc::AddCircOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& centre,
                                 double radius)
{
    return AppendOnLayer(ENT_CIRCLE, NewCirc(width, color, layer, AtZ(centre, m_currentZ), radius));
}

CArc* CRectaDoc::AddArcOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& centre,
                               double radius, double start, double end)
{
    return AppendOnLayer(ENT_ARC, NewArc(width, color, layer, AtZ(centre, m_currentZ), radius, start, end));
}

CPunt* CRectaDoc::AddPuntOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& point)
{
    return AppendOnLayer(ENT_POINT, NewPunt(width, color, layer, point));
}

CText* CRectaDoc::AddTextOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& insert,
                                 int justify, std::string_view text, const LOGFONT& font)
{
    return AppendOnLayer(ENT_TEXT, NewText(width, color, layer, insert, justify, text, font));
}

CInsBl* CRectaDoc::AddInsBlOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& insert,
                                   double sy, double rotation, double sx, std::string_view block)
{
    return AppendOnLayer(ENT_INSERT, NewInsBl(width, color, layer, block, insert, rotation, sx, sy));
}

CTdface* CRectaDoc::AddTdfaceOnLayer(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4])
{
    return AppendOnLayer(ENT_3DFACE, NewTdface(width, color, layer, c));
}

CHatch* CRectaDoc::AddHatchOnLayer(int width, COLORREF color, std::string_view layer, int kind,
                                   const CPointd& seed)
{
    SetModifiedFlag();
    return Append(m_entities, ENT_HATCH, new CHatch(width, color, layer, kind, seed), GetLayerVisibility(layer));
}

CBmp* CRectaDoc::AddBmpOnLayer(int width, COLORREF color, std::string_view layer, std::string_view file,
                               const CPointd& corner, double w, double h)
{
    SetModifiedFlag();
    return Append(m_entities, ENT_BITMAP, new CBmp(width, color, layer, file, corner, w, h),
                  GetLayerVisibility(layer));
}

// ---------------------------------------------------------------- scratch lists

CRecta* CRectaDoc::AddWorkRecta() { return Append(m_work, ENT_LINE, new CRecta); }
CArc* CRectaDoc::AddWorkArc() { return Append(m_work, ENT_ARC, new CArc); }
CCirc* CRectaDoc::AddWorkCirc() { return Append(m_work, ENT_CIRCLE, new CCirc); }
CPunt* CRectaDoc::AddWorkPunt() { return Append(m_work, ENT_POINT, new CPunt); }
CText* CRectaDoc::AddWorkText() { return Append(m_work, ENT_TEXT, new CText); }
CInsBl* CRectaDoc::AddWorkInsBl(int width, COLORREF color, std::string_view layer)
{
    return Append(m_work, ENT_INSERT, new CInsBl(width, color, layer));
}
CTdface* CRectaDoc::AddWorkTdface(int width, COLORREF color, std::string_view layer, int mode, double dx,
                                  double dy, double dz)
{
    SetModifiedFlag();
    return Append(m_work, ENT_3DFACE, new CTdface(width, color, layer, mode, dx, dy, dz));
}
CRecta* CRectaDoc::AddSegRecta() { return Append(m_segments, ENT_LINE, new CRecta); }
CArc* CRectaDoc::AddSegArc() { return Append(m_segments, ENT_ARC, new CArc); }

// ---------------------------------------------------------------- entity list

CObject* CRectaDoc::GetNextEntity(POSITION& pos, int& type) const
{
    return static_cast<const CDib*>(m_entities.GetNext(pos))->Entity(type);
}

CObject* CRectaDoc::GetEntityAt(POSITION pos, int& type) const
{
    return static_cast<const CDib*>(m_entities.GetAt(pos))->Entity(type);
}

CDib* CRectaDoc::GetLastEntityRecord() const
{
    return m_entities.IsEmpty() ? nullptr : static_cast<CDib*>(m_entities.GetTail());
}

POSITION CRectaDoc::FindEntityRecord(const CDib* dib) const
{
    const POSITION pos = dib ? FindEntityBySerial(dib->m_serial) : nullptr;
    return pos && m_entities.GetAt(pos) == dib ? pos : nullptr;
}

POSITION CRectaDoc::FindEntityBySerial(std::uint64_t serial) const
{
    auto it = m_entityIndex.find(serial);
    return it == m_entityIndex.end() ? nullptr : it->second;
}

POSITION CRectaDoc::AppendEntityRecord(CDib* dib)
{
    const POSITION pos = m_entities.AddTail(dib);
    // An element the index cannot take is not taken at all.
    try {
        m_entityIndex[dib->m_serial] = pos;
    } catch (...) {
        m_entities.RemoveAt(pos);
        throw;
    }
    return pos;
}

POSITION CRectaDoc::InsertEntityRecordBefore(POSITION before, CDib* dib)
{
    const POSITION pos = m_entities.InsertBefore(before, dib);
    m_entityIndex[dib->m_serial] = pos;
    return pos;
}

void CRectaDoc::RemoveEntityRecord(POSITION pos)
{
    m_entityIndex.erase(static_cast<CDib*>(m_entities.GetAt(pos))->m_serial);
    m_entities.RemoveAt(pos);
}

void CRectaDoc::RebuildEntityIndex()
{
    m_entityIndex.clear();
    for (POSITION pos = m_entities.GetHeadPosition(); pos; m_entities.GetNext(pos))
        m_entityIndex[static_cast<CDib*>(m_entities.GetAt(pos))->m_serial] = pos;
}

int CRectaDoc::GetLayerVisibility(std::string_view name) const
{
    CLayer* layer = nullptr;
    return FindLayer(name, layer) ? layer->m_on : 0;
}

// ---------------------------------------------------------------- extents

namespace {

// A coordinate beyond the drawing's range (as a damaged file may hold) counts
// at the range's edge, so the extents keep a finite width.
double Bounded(double v)
{
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

}  // namespace

void CRectaDoc::ExtendExtentsByPoint(const CPointd& p)
{
    // A coordinate without a value (NaN, infinite) never replaces a bound.
    if (std::isfinite(p.x)) {
        m_extMin.x = std::min(m_extMin.x, Bounded(p.x));
        m_extMax.x = std::max(m_extMax.x, Bounded(p.x));
    }
    if (std::isfinite(p.y)) {
        m_extMin.y = std::min(m_extMin.y, Bounded(p.y));
        m_extMax.y = std::max(m_extMax.y, Bounded(p.y));
    }
}

void CRectaDoc::ExtendExtentsByEntity(int type, const CObject* entity)
{
    // An insert widens by the four placed corners of its block's measured box;
    // an empty or missing block adds nothing.
    if (type == ENT_INSERT) {
        auto* ins = static_cast<const CInsBl*>(entity);
        const CBloq* block = FindBlock(ins->m_block);
        Pt2 box[4];
        if (block && PlacedBlockBox(*block, ins->Placement(), box))
            for (const Pt2& c : box)
                ExtendExtentsByPoint(CPointd(c.x, c.y));
        return;
    }
    EntityKind(type).ExtentsPoints(entity, [this](const CPointd& p) { ExtendExtentsByPoint(p); });
}

void CRectaDoc::CalcExtents()
{
    if (m_entities.IsEmpty())
        return;
    CalcBlockExtents();
    const CPointd oldMin = m_extMin, oldMax = m_extMax;
    // Empty: the first point measured sets every bound, wherever it lies.
    m_extMin.x = m_extMin.y = PlanBox::kInf;
    m_extMax.x = m_extMax.y = -PlanBox::kInf;
    for (CObject* obj : m_entities) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_flag == 1)
            ExtendExtentsByEntity(dib->m_type, dib->m_entity);
    }
    // A drawing of which nothing measures (only dimensions and hatches) keeps its extents.
    if (!(m_extMin.x <= m_extMax.x && m_extMin.y <= m_extMax.y)) {
        m_extMin = oldMin;
        m_extMax = oldMax;
        return;
    }
    const double mx = InCoordinateRange(m_marginX) ? m_marginX : 0.0;
    const double my = InCoordinateRange(m_marginY) ? m_marginY : 0.0;
    m_extMin.x = Bounded(m_extMin.x - mx);
    m_extMin.y = Bounded(m_extMin.y - my);
    m_extMax.x = Bounded(m_extMax.x + mx);
    m_extMax.y = Bounded(m_extMax.y + my);
}

void CRectaDoc::ExtendAndDrawEntity(int type, CObject* entity)
{
    switch (type) {
    case ENT_CIRCLE:
    case ENT_ARC: {
        // Both kinds widen by their four quadrant points.
        const CPointd& c = type == ENT_CIRCLE ? static_cast<CCirc*>(entity)->m_centre
                                              : static_cast<CArc*>(entity)->m_centre;
        const double r = type == ENT_CIRCLE ? static_cast<CCirc*>(entity)->m_rx : static_cast<CArc*>(entity)->m_rx;
        ExtendExtentsByPoint(CPointd(c.x + r, c.y));
        ExtendExtentsByPoint(CPointd(c.x, c.y + r));
        ExtendExtentsByPoint(CPointd(c.x - r, c.y));
        ExtendExtentsByPoint(CPointd(c.x, c.y - r));
        break;
    }
    case ENT_LINE:
    case ENT_POINT:
    case ENT_TEXT:
    case ENT_3DFACE: ExtendExtentsByEntity(type, entity); break;
    case ENT_INSERT: ExtendExtentsByPoint(static_cast<CInsBl*>(entity)->m_insert); break;
    default: break;
    }
    for (CView* view : GetViews())
        view->DrawAddedEntity(type, entity);
}

void CRectaDoc::DrawInAllViews(int mode, CDib* element)
{
    if (!element || (mode != 0 && mode != 1))
        return;
    for (CView* view : GetViews()) {
        if (mode == 0)
            view->EraseEntity(element->m_type, element->m_entity);
        else
            view->DrawEntity(element->m_type, element->m_entity);
    }
}

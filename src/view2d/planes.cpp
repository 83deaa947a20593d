// Working planes: the plan view shows the drawing in the coordinates of a
// plane other than the ground, and goes back to the world.
#include "view2d/rectaview.h"

#include "dialogs/planedlg.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/ucs.h"
#include "view2d/undo.h"

#include <functional>
#include <optional>

namespace {

using PointMap = std::function<void(CPointd&)>;

// The document's plane: world to plane is (p - origin) times the rows of the
// matrix, plane to world its transpose plus the origin.
class PlaneMap {
public:
    explicit PlaneMap(const CRectaDoc& doc) : m_origin(doc.m_ucsOrigin)
    {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                m_rows[i][j] = doc.m_ucsMatrix[i][j];
                m_columns[j][i] = doc.m_ucsMatrix[i][j];
            }
    }
    void ToPlane(CPointd& p) const
    {
        const CPointd d(p.x - m_origin.x, p.y - m_origin.y, p.z - m_origin.z);
        MulMatrixPoint(m_rows, d, p);
    }
    void ToWorld(CPointd& p) const
    {
        MulMatrixPoint(m_columns, p, p);
        p.x += m_origin.x;
        p.y += m_origin.y;
        p.z += m_origin.z;
    }

private:
    CPointd m_origin;
    double m_rows[3][3];
    double m_columns[3][3];
};

// The extrusion mode and direction of the kinds that carry them; nulls for the others.
struct Extrusion {
    int* mode = nullptr;
    CPointd* dir = nullptr;
};

Extrusion ExtrusionOf(int type, CObject* e)
{
    switch (type) {
    case ENT_LINE: return {&static_cast<CRecta*>(e)->m_extrusionMode, &static_cast<CRecta*>(e)->m_dir};
    case ENT_CIRCLE: return {&static_cast<CCirc*>(e)->m_extrusionMode, &static_cast<CCirc*>(e)->m_dir};
    case ENT_ARC: return {&static_cast<CArc*>(e)->m_extrusionMode, &static_cast<CArc*>(e)->m_dir};
    case ENT_PLINE: return {&static_cast<CPLine*>(e)->m_extrusionMode, &static_cast<CPLine*>(e)->m_dir};
    case ENT_3DFACE: return {&static_cast<CTdface*>(e)->m_extrusionMode, &static_cast<CTdface*>(e)->m_dir};
    default: return {};
    }
}

// Each list element's entity, with its type.
template <class F>
void ForEachPart(const CObList& parts, F&& f)
{
    for (CObject* obj : parts) {
        auto* dib = static_cast<CDib*>(obj);
        f(dib->m_type, dib->m_entity);
    }
}

// Every point that places the entity goes through map. Kinds placed by one
// point that this walk does not know are moved with their first extents point.
void MapPoints(int type, CObject* e, const PointMap& map)
{
    switch (type) {
    case ENT_LINE:
        map(static_cast<CRecta*>(e)->m_p1);
        map(static_cast<CRecta*>(e)->m_p2);
        return;
    case ENT_CIRCLE:
        map(static_cast<CCirc*>(e)->m_centre);
        map(static_cast<CCirc*>(e)->m_refPoint);
        return;
    case ENT_ARC:
        map(static_cast<CArc*>(e)->m_centre);
        map(static_cast<CArc*>(e)->m_refPoint);
        return;
    case ENT_POINT: map(static_cast<CPunt*>(e)->m_point); return;
    case ENT_TEXT: map(static_cast<CText*>(e)->m_insert); return;
    case ENT_PLINE:
        ForEachPart(static_cast<CPLine*>(e)->m_segments, [&](int t, CObject* s) { MapPoints(t, s, map); });
        return;
    case ENT_INSERT: map(static_cast<CInsBl*>(e)->m_insert); return;
    case ENT_DIMENSION:
        ForEachPart(static_cast<CAcot*>(e)->m_parts, [&](int t, CObject* s) { MapPoints(t, s, map); });
        return;
    case ENT_3DFACE:
        for (CPointd& c : static_cast<CTdface*>(e)->m_c)
            map(c);
        return;
    default: {
        const CEntityKind& kind = EntityKind(type);
        std::optional<CPointd> first;
        kind.ExtentsPoints(e, [&](const CPointd& p) {
            if (!first)
                first = p;
        });
        if (!first)
            return;
        CPointd to = *first;
        map(to);
        kind.Move(e, *first, to);
        return;
    }
    }
}

// The entity's extrusion mode, and its segments' for a polyline, from one value to another.
void ChangeMode(int type, CObject* e, int from, int to)
{
    if (const Extrusion x = ExtrusionOf(type, e); x.mode && *x.mode == from)
        *x.mode = to;
    if (type == ENT_PLINE)
        ForEachPart(static_cast<CPLine*>(e)->m_segments, [&](int t, CObject* s) { ChangeMode(t, s, from, to); });
}

// Undo steps name records by the coordinates they had: a plane change ends every history.
void ClearUndoHistories(CRectaDoc& doc)
{
    for (CView* v : doc.GetViews())
        if (auto* plan = dynamic_cast<CRectaView*>(v))
            FreeUndoHistory(*plan);
}

}  // namespace

void CRectaView::ToPlanePoint(CPointd& p) const
{
    PlaneMap(*GetDocument()).ToPlane(p);
}

void CRectaView::ToWorldPoint(CPointd& p) const
{
    PlaneMap(*GetDocument()).ToWorld(p);
}

bool CRectaView::SetWorkingPlane(const CPointd& origin, const CPointd& xPoint, const CPointd& third, const CPointd&,
                                 int mode)
{
    CRectaDoc* doc = GetDocument();
    // Points given in a plane in force are in its coordinates.
    CPointd o = origin, p = xPoint, q = third;
    if (doc->m_ucsActive)
        for (CPointd* point : {&o, &p, &q})
            ToWorldPoint(*point);
    double axes[3][3];
    if (!PlaneAxes(mode, o, p, q, axes)) {
        ShowPrompt(0, "The points do not define a plane");
        return false;
    }
    if (mode == PLANE_THREE_POINTS) {
        double above = 0.0, below = 0.0;
        if (DoUCSOBJDlg(above, below) < 1)
            return false;
    }
    if (doc->m_ucsActive)
        ToWorldSystem();

    doc->m_ucsOrigin = o;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            doc->m_ucsMatrix[i][j] = axes[i][j];
    const CPointd w(axes[2][0], axes[2][1], axes[2][2]);
    doc->m_extrusionDir = w;
    doc->m_extrusionMode = EXTRUSION_OCS;
    doc->m_ucsActive = 1;
    doc->m_planeMarks.clear();

    // Lines, circles, arcs, polylines and faces whose direction is the
    // plane's normal, and points, take the plane's coordinates and draw flat
    // in it; the rest is hidden.
    const PlaneMap plane(*doc);
    const PointMap toPlane = [&](CPointd& pt) { plane.ToPlane(pt); };
    for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
        CDib* dib = doc->GetEntityRecord(pos);
        doc->GetEntityList().GetNext(pos);
        CRectaDoc::CPlaneMark& mark = doc->m_planeMarks[dib->m_serial];
        const Extrusion x = ExtrusionOf(dib->m_type, dib->m_entity);
        if (dib->m_type != ENT_POINT && !(x.dir && SameDirection(*x.dir, w))) {
            mark = {true, dib->m_visible};
            dib->m_visible = 0;
            continue;
        }
        MapPoints(dib->m_type, dib->m_entity, toPlane);
        if (x.mode) {
            mark.previous = *x.mode;
            *x.mode = EXTRUSION_OCS;
        }
    }
    ClearUndoHistories(*doc);
    doc->UpdateAllViews(nullptr);
    return true;
}

void CRectaView::ToWorldSystem()
{
    CRectaDoc* doc = GetDocument();
    if (doc->m_ucsActive) {
        const PlaneMap plane(*doc);
        const PointMap toWorld = [&](CPointd& pt) { plane.ToWorld(pt); };
        for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
            CDib* dib = doc->GetEntityRecord(pos);
            doc->GetEntityList().GetNext(pos);
            const auto found = doc->m_planeMarks.find(dib->m_serial);
            if (found != doc->m_planeMarks.end() && found->second.hidden) {
                dib->m_visible = found->second.previous;
                continue;
            }
            MapPoints(dib->m_type, dib->m_entity, toWorld);
            // What the plane took in gets its mode back; what was drawn in it stands on the plane.
            if (found == doc->m_planeMarks.end())
                ChangeMode(dib->m_type, dib->m_entity, EXTRUSION_OCS, EXTRUSION_THICK);
            else if (const Extrusion x = ExtrusionOf(dib->m_type, dib->m_entity); x.mode)
                *x.mode = found->second.previous;
        }
        ClearUndoHistories(*doc);
    }
    doc->m_planeMarks.clear();
    doc->m_extrusionMode = EXTRUSION_FLAT;
    doc->m_ucsOrigin = CPointd(0.0, 0.0, 0.0);
    doc->m_extrusionDir = CPointd(0.0, 0.0, 1.0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            doc->m_ucsMatrix[i][j] = i == j ? 1.0 : 0.0;
    doc->m_ucsActive = 0;
    doc->UpdateAllViews(nullptr);
}

// Working planes in the drawing: records taken into a plane's coordinates or
// hidden, and given back to the world.
#include "doc/rectadoc.h"

#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/extruded.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/ucs.h"
#include "platform/archive.h"

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

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
    // A direction turned into the plane, without the origin.
    void TurnToPlane(CPointd& d) const { MulMatrixPoint(m_rows, d, d); }
    // Axis i (0 x, 1 y, 2 normal) in world terms.
    CPointd Axis(int i) const { return CPointd(m_rows[i][0], m_rows[i][1], m_rows[i][2]); }

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
    case ENT_CIRCLE: map(static_cast<CCirc*>(e)->m_centre); return;
    case ENT_ARC: map(static_cast<CArc*>(e)->m_centre); return;
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

double Dot(const CPointd& a, const CPointd& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Turns an arc's angles by a turn of its axes, each kept in [0, 2pi) as a rotation keeps them.
void TurnArc(CArc& arc, double by)
{
    constexpr double kTwoPi = 6.283185307179586;
    auto turned = [&](double a) {
        const double r = std::fmod(a + by, kTwoPi);
        return r < 0.0 ? r + kTwoPi : r;
    };
    if (by == 0.0 || !std::isfinite(by))
        return;
    arc.m_start = turned(arc.m_start);
    arc.m_end = turned(arc.m_end);
}

// Circles and arcs, and a polyline's, into the plane: the reference direction
// turns with it and an arc's angles count from the plane's x axis.
void CurvesToPlane(int type, CObject* e, const PlaneMap& plane)
{
    if (type == ENT_PLINE) {
        ForEachPart(static_cast<CPLine*>(e)->m_segments, [&](int t, CObject* s) { CurvesToPlane(t, s, plane); });
        return;
    }
    if (type != ENT_CIRCLE && type != ENT_ARC)
        return;
    const Extrusion x = ExtrusionOf(type, e);
    CPointd& ref = type == ENT_CIRCLE ? static_cast<CCirc*>(e)->m_refPoint : static_cast<CArc*>(e)->m_refPoint;
    if (type == ENT_ARC) {
        CPointd ax, ay;
        CurveAxes(DrawsExtruded(*x.mode) ? ref : CPointd(), *x.dir, ax, ay);
        TurnArc(*static_cast<CArc*>(e), std::atan2(Dot(ax, plane.Axis(1)), Dot(ax, plane.Axis(0))));
    }
    plane.TurnToPlane(ref);
}

// Circles and arcs, and a polyline's, back in the world with their modes set:
// the plane's x axis becomes the reference direction, so the curve stays in
// the plane; an arc drawn flat counts its angles from the world's x again.
void CurvesToWorld(int type, CObject* e, const PlaneMap& plane)
{
    if (type == ENT_PLINE) {
        ForEachPart(static_cast<CPLine*>(e)->m_segments, [&](int t, CObject* s) { CurvesToWorld(t, s, plane); });
        return;
    }
    if (type != ENT_CIRCLE && type != ENT_ARC)
        return;
    const CPointd u = plane.Axis(0);
    (type == ENT_CIRCLE ? static_cast<CCirc*>(e)->m_refPoint : static_cast<CArc*>(e)->m_refPoint) = u;
    if (type == ENT_ARC && !DrawsExtruded(*ExtrusionOf(type, e).mode))
        TurnArc(*static_cast<CArc*>(e), std::atan2(u.y, u.x));
}

// The entity's extrusion mode, and its segments' for a polyline, from one value to another.
void ChangeMode(int type, CObject* e, int from, int to)
{
    if (const Extrusion x = ExtrusionOf(type, e); x.mode && *x.mode == from)
        *x.mode = to;
    if (type == ENT_PLINE)
        ForEachPart(static_cast<CPLine*>(e)->m_segments, [&](int t, CObject* s) { ChangeMode(t, s, from, to); });
}

// The file keeps a direction only with extrusion mode 1: a copy read from it
// takes the directions of the records it was written from.
void CopyDirections(int type, CObject* from, CObject* to)
{
    if (const Extrusion a = ExtrusionOf(type, from); a.dir)
        *ExtrusionOf(type, to).dir = *a.dir;
    if (type != ENT_PLINE)
        return;
    const CObList& theirs = static_cast<CPLine*>(to)->m_segments;
    POSITION pos = theirs.GetHeadPosition();
    ForEachPart(static_cast<CPLine*>(from)->m_segments, [&](int t, CObject* s) {
        if (pos)
            CopyDirections(t, s, static_cast<CDib*>(theirs.GetNext(pos))->m_entity);
    });
}

}  // namespace

void CRectaDoc::ToPlanePoint(CPointd& p) const
{
    PlaneMap(*this).ToPlane(p);
}

void CRectaDoc::ToWorldPoint(CPointd& p) const
{
    PlaneMap(*this).ToWorld(p);
}

void CRectaDoc::EnterPlane(const CPointd& origin, const double (&axes)[3][3])
{
    m_ucsOrigin = origin;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_ucsMatrix[i][j] = axes[i][j];
    m_extrusionDir = CPointd(axes[2][0], axes[2][1], axes[2][2]);
    m_extrusionMode = EXTRUSION_OCS;
    m_ucsActive = 1;
    m_planeMarks.clear();

    std::vector<CDib*> records;
    for (CObject* obj : m_entities)
        records.push_back(static_cast<CDib*>(obj));
    TakeIntoPlane(records);
}

void CRectaDoc::TakeIntoPlane(const std::vector<CDib*>& records)
{
    // Lines, circles, arcs, polylines and faces whose direction is the
    // plane's normal, and points, take the plane's coordinates and draw flat
    // in it; the rest is hidden.
    const PlaneMap plane(*this);
    const PointMap toPlane = [&](CPointd& pt) { plane.ToPlane(pt); };
    for (CDib* dib : records) {
        CPlaneMark& mark = m_planeMarks[dib->m_serial];
        const Extrusion x = ExtrusionOf(dib->m_type, dib->m_entity);
        if (dib->m_type != ENT_POINT && !(x.dir && SameDirection(*x.dir, m_extrusionDir))) {
            mark = {true, dib->m_visible};
            dib->m_visible = 0;
            continue;
        }
        CurvesToPlane(dib->m_type, dib->m_entity, plane);
        MapPoints(dib->m_type, dib->m_entity, toPlane);
        if (x.mode) {
            mark.previous = *x.mode;
            *x.mode = EXTRUSION_OCS;
        }
    }
}

bool CRectaDoc::LeavePlane()
{
    const bool wasActive = m_ucsActive != 0;
    if (wasActive) {
        const PlaneMap plane(*this);
        const PointMap toWorld = [&](CPointd& pt) { plane.ToWorld(pt); };
        for (CObject* obj : m_entities) {
            auto* dib = static_cast<CDib*>(obj);
            const auto found = m_planeMarks.find(dib->m_serial);
            if (found != m_planeMarks.end() && found->second.hidden) {
                dib->m_visible = found->second.previous;
                continue;
            }
            MapPoints(dib->m_type, dib->m_entity, toWorld);
            // What the plane took in gets its mode back; what was drawn in it stands on the plane.
            if (found == m_planeMarks.end())
                ChangeMode(dib->m_type, dib->m_entity, EXTRUSION_OCS, EXTRUSION_THICK);
            else if (const Extrusion x = ExtrusionOf(dib->m_type, dib->m_entity); x.mode)
                *x.mode = found->second.previous;
            CurvesToWorld(dib->m_type, dib->m_entity, plane);
        }
    }
    m_planeMarks.clear();
    m_extrusionMode = EXTRUSION_FLAT;
    m_ucsOrigin = CPointd(0.0, 0.0, 0.0);
    m_extrusionDir = CPointd(0.0, 0.0, 1.0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_ucsMatrix[i][j] = i == j ? 1.0 : 0.0;
    m_ucsActive = 0;
    return wasActive;
}

bool CRectaDoc::WorldSystemCopy(CRectaDoc& copy) const
{
    CArchive ar;
    try {
        const_cast<CRectaDoc*>(this)->Serialize(ar);
    } catch (const CArchiveException&) {
        return false;
    }
    if (ReadDrawingBytes(ar.Data(), copy))
        return false;
    if (!m_ucsActive)
        return true;
    // The copy's records stand in the same order: they take the marks and directions of ours.
    POSITION mine = GetFirstEntityPosition();
    for (CObject* obj : copy.m_entities) {
        const CDib* own = GetEntityRecord(mine);
        m_entities.GetNext(mine);
        auto* theirs = static_cast<CDib*>(obj);
        CopyDirections(own->m_type, own->m_entity, theirs->m_entity);
        if (const auto found = m_planeMarks.find(own->m_serial); found != m_planeMarks.end())
            copy.m_planeMarks[theirs->m_serial] = found->second;
    }
    copy.m_ucsActive = 1;
    copy.m_ucsOrigin = m_ucsOrigin;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            copy.m_ucsMatrix[i][j] = m_ucsMatrix[i][j];
    copy.LeavePlane();
    return true;
}

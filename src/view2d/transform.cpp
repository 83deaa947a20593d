#include "view2d/transform.h"

#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kParallelText = 0.001;

// The angle in [0, 2pi).
double NormalAngle(double a)
{
    double r = std::fmod(a, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    return r < kTwoPi ? r : 0.0;
}

double Direction(const CPointd& from, const CPointd& to)
{
    return NormalAngle(std::atan2(to.y - from.y, to.x - from.x));
}

// A font's escapement (given) and orientation within one turn of tenths of a
// degree, (-3600, 3600), so the file's 16-bit words keep the direction. A value
// that is not finite becomes 0.
void SetFontAngles(LOGFONT& font, double escapement)
{
    auto withinTurn = [](double tenths) { return std::isfinite(tenths) ? LONG(std::fmod(tenths, 3600.0)) : 0; };
    font.lfEscapement = withinTurn(escapement);
    font.lfOrientation = withinTurn(font.lfOrientation);
}

// Tenths of a degree, truncated toward zero; a value within rounding noise
// of a whole tenth (30 degrees given in radians) counts as that tenth.
double EscapementSteps(double radians)
{
    const double v = RadToDeg(radians) * 10.0;
    const double whole = std::round(v);
    return std::fabs(v - whole) < 1e-6 ? whole : std::trunc(v);
}

// Each line, arc or text element of a part list, by its own rule.
template <class Line, class Arc, class Text>
void ForEachPart(CObList& parts, Line&& line, Arc&& arc, Text&& text)
{
    for (CObject* obj : parts) {
        auto* dib = static_cast<CDib*>(obj);
        if (!dib->m_entity)
            continue;
        switch (dib->m_type) {
        case ENT_LINE: line(*static_cast<CRecta*>(dib->m_entity)); break;
        case ENT_ARC: arc(*static_cast<CArc*>(dib->m_entity)); break;
        case ENT_TEXT: text(*static_cast<CText*>(dib->m_entity)); break;
        default: break;
        }
    }
}

void Skip(const CObject&) {}

}  // namespace

// ---------------------------------------------------------------- placement

void TransformPoint(CPointd& p, const CPlacement& pl)
{
    p.x = pl.sx * p.x + pl.x;
    p.y = pl.sy * p.y + pl.y;
    p.z = p.z + pl.z;
}

CPointd PlacePoint(const CPointd& p, const CPlacement& pl)
{
    CPointd q = p;
    TransformPoint(q, pl);
    if (pl.a != 0.0)
        RotatePoint(q, CPointd(pl.x, pl.y), pl.a);
    return q;
}

void TransformRecta(CRecta& e, const CPlacement& pl)
{
    TransformPoint(e.m_p1, pl);
    TransformPoint(e.m_p2, pl);
    if (pl.a != 0.0)
        RotateRecta(e, CPointd(pl.x, pl.y), pl.a);
}

void TransformCirc(CCirc& e, const CPlacement& pl)
{
    TransformPoint(e.m_centre, pl);
    if (pl.a != 0.0)
        RotateCirc(e, CPointd(pl.x, pl.y), pl.a);
}

void TransformArc(CArc& e, const CPlacement& pl)
{
    if (pl.sx > 0.0 && pl.sy > 0.0) {
        TransformPoint(e.m_centre, pl);
        if (pl.a != 0.0)
            RotateArc(e, CPointd(pl.x, pl.y), pl.a);
        return;
    }
    const CPointd c = PlacePoint(e.m_centre, pl);
    const CPointd s = PlacePoint(e.StartPoint(), pl);
    const CPointd t = PlacePoint(e.EndPoint(), pl);
    e.m_centre = c;
    e.m_rx = e.m_ry = std::hypot(s.x - c.x, s.y - c.y);
    if (pl.Reflects()) {
        e.m_start = Direction(c, t);
        e.m_end = Direction(c, s);
        e.m_arcWord = e.m_arcWord == 1 ? 0 : 1;
    } else {
        e.m_start = Direction(c, s);
        e.m_end = Direction(c, t);
    }
}

void TransformPunt(CPunt& e, const CPlacement& pl)
{
    TransformPoint(e.m_point, pl);
    if (pl.a != 0.0)
        RotatePunt(e, CPointd(pl.x, pl.y), pl.a);
}

void TransformText(CText& e, const CPlacement& pl)
{
    TransformPoint(e.m_insert, pl);
    if (pl.a != 0.0)
        RotateText(e, CPointd(pl.x, pl.y), pl.a);
}

void TransformPLine(CPLine& e, const CPlacement& pl)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { TransformRecta(l, pl); }, [&](CArc& a) { TransformArc(a, pl); }, Skip);
}

void TransformAcot(CAcot& e, const CPlacement& pl)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { TransformRecta(l, pl); }, Skip, [&](CText& t) { TransformText(t, pl); });
}

void TransformTdface(CTdface& e, const CPlacement& pl)
{
    for (CPointd& c : e.m_c)
        TransformPoint(c, pl);
    if (pl.a != 0.0)
        RotateTdface(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceNestedInsBl(CInsBl& e, const CPlacement& pl)
{
    e.m_insert.x = pl.x + pl.sx * e.m_insert.x;
    e.m_insert.y = pl.y + pl.sy * e.m_insert.y;
    // Under a mirroring placement the nested block turns the other way.
    if (pl.Reflects())
        e.m_rotation = -e.m_rotation;
    if (pl.a != 0.0)
        RotateInsBl(e, CPointd(pl.x, pl.y), pl.a);
    e.m_sx *= pl.sx;
    e.m_sy *= pl.sy;
}

// ---------------------------------------------------------------- rotation

void RotatePoint(CPointd& p, const CPointd& centre, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    p.x = centre.x + c * dx - s * dy;
    p.y = centre.y + s * dx + c * dy;
}

void RotateRecta(CRecta& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_p1, centre, angle);
    RotatePoint(e.m_p2, centre, angle);
}

void RotateCirc(CCirc& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_centre, centre, angle);
}

void RotateArc(CArc& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_centre, centre, angle);
    e.m_start = NormalAngle(e.m_start + angle);
    e.m_end = NormalAngle(e.m_end + angle);
}

void RotatePunt(CPunt& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_point, centre, angle);
}

void RotateText(CText& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_insert, centre, angle);
    SetFontAngles(e.m_font, double(e.m_font.lfEscapement) - EscapementSteps(angle));
}

void RotatePLine(CPLine& e, const CPointd& centre, double angle)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { RotateRecta(l, centre, angle); },
        [&](CArc& a) { RotateArc(a, centre, angle); }, Skip);
}

void RotateAcot(CAcot& e, const CPointd& centre, double angle)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { RotateRecta(l, centre, angle); }, Skip,
        [&](CText& t) { RotateText(t, centre, angle); });
}

void RotateTdface(CTdface& e, const CPointd& centre, double angle)
{
    for (CPointd& c : e.m_c)
        RotatePoint(c, centre, angle);
}

void RotateInsBl(CInsBl& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_insert, centre, angle);
    e.m_rotation += angle;
}

// ---------------------------------------------------------------- reflection

void MirrorPoint(CPointd& p, const CRecta& mirror, double dir)
{
    // p moves along u to the line and as far again: p + 2t·u.
    const double ux = std::cos(dir), uy = std::sin(dir);
    const double vx = mirror.m_p2.x - mirror.m_p1.x, vy = mirror.m_p2.y - mirror.m_p1.y;
    const double den = ux * vy - uy * vx;
    if (!(std::fabs(den) > 1e-12 * std::hypot(vx, vy)))
        return;
    const double t = ((mirror.m_p1.x - p.x) * vy - (mirror.m_p1.y - p.y) * vx) / den;
    p.x += 2.0 * t * ux;
    p.y += 2.0 * t * uy;
}

void MirrorRecta(CRecta& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_p1, mirror, dir);
    MirrorPoint(e.m_p2, mirror, dir);
}

void MirrorCirc(CCirc& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_centre, mirror, dir);
}

void MirrorArc(CArc& e, const CRecta& mirror, double dir)
{
    CPointd s = e.StartPoint(), t = e.EndPoint();
    MirrorPoint(e.m_centre, mirror, dir);
    MirrorPoint(s, mirror, dir);
    MirrorPoint(t, mirror, dir);
    e.m_start = Direction(e.m_centre, t);
    e.m_end = Direction(e.m_centre, s);
    e.m_arcWord = e.m_arcWord == 1 ? 0 : 1;
}

void MirrorPunt(CPunt& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_point, mirror, dir);
}

void MirrorText(CText& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_insert, mirror, dir);
    SetFontAngles(e.m_font, e.m_font.lfEscapement);
    const double t = DegToRad(double(-std::int64_t(e.m_font.lfEscapement) / 10));
    const double m = Direction(mirror.m_p1, mirror.m_p2);
    if (std::fabs(std::remainder(t - m, kPi)) <= kParallelText)
        return;
    e.m_justify = e.m_justify == JUSTIFY_LEFT ? JUSTIFY_RIGHT : e.m_justify == JUSTIFY_RIGHT ? JUSTIFY_LEFT
                                                                                            : JUSTIFY_CENTRE;
}

void MirrorPLine(CPLine& e, const CRecta& mirror, double dir)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { MirrorRecta(l, mirror, dir); },
        [&](CArc& a) { MirrorArc(a, mirror, dir); }, Skip);
}

void MirrorAcot(CAcot& e, const CRecta& mirror, double dir)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { MirrorRecta(l, mirror, dir); }, Skip,
        [&](CText& t) { MirrorText(t, mirror, dir); });
}

void MirrorTdface(CTdface& e, const CRecta& mirror, double dir)
{
    for (CPointd& c : e.m_c)
        MirrorPoint(c, mirror, dir);
}

void MirrorInsBl(CInsBl& e, const CRecta& mirror, double dir)
{
    CPointd t(e.m_insert.x + std::cos(e.m_rotation), e.m_insert.y + std::sin(e.m_rotation));
    MirrorPoint(e.m_insert, mirror, dir);
    MirrorPoint(t, mirror, dir);
    e.m_rotation = Direction(t, e.m_insert);
    e.m_sx = -e.m_sx;
}

// ---------------------------------------------------------------- by type code

bool PlaceEntity(int type, CObject* entity, const CPlacement& pl)
{
    switch (type) {
    case ENT_LINE: TransformRecta(*static_cast<CRecta*>(entity), pl); return true;
    case ENT_CIRCLE: TransformCirc(*static_cast<CCirc*>(entity), pl); return true;
    case ENT_ARC: TransformArc(*static_cast<CArc*>(entity), pl); return true;
    case ENT_POINT: TransformPunt(*static_cast<CPunt*>(entity), pl); return true;
    case ENT_TEXT: TransformText(*static_cast<CText*>(entity), pl); return true;
    case ENT_PLINE: TransformPLine(*static_cast<CPLine*>(entity), pl); return true;
    case ENT_INSERT: PlaceNestedInsBl(*static_cast<CInsBl*>(entity), pl); return true;
    case ENT_DIMENSION: TransformAcot(*static_cast<CAcot*>(entity), pl); return true;
    case ENT_3DFACE: TransformTdface(*static_cast<CTdface*>(entity), pl); return true;
    default: return false;
    }
}

bool RotateEntity(int type, CObject* entity, const CPointd& centre, double angle)
{
    switch (type) {
    case ENT_LINE: RotateRecta(*static_cast<CRecta*>(entity), centre, angle); return true;
    case ENT_CIRCLE: RotateCirc(*static_cast<CCirc*>(entity), centre, angle); return true;
    case ENT_ARC: RotateArc(*static_cast<CArc*>(entity), centre, angle); return true;
    case ENT_POINT: RotatePunt(*static_cast<CPunt*>(entity), centre, angle); return true;
    case ENT_TEXT: RotateText(*static_cast<CText*>(entity), centre, angle); return true;
    case ENT_PLINE: RotatePLine(*static_cast<CPLine*>(entity), centre, angle); return true;
    case ENT_INSERT: RotateInsBl(*static_cast<CInsBl*>(entity), centre, angle); return true;
    case ENT_DIMENSION: RotateAcot(*static_cast<CAcot*>(entity), centre, angle); return true;
    case ENT_3DFACE: RotateTdface(*static_cast<CTdface*>(entity), centre, angle); return true;
    default: return false;
    }
}

bool MirrorEntity(int type, CObject* entity, const CRecta& mirror, double dir)
{
    switch (type) {
    case ENT_LINE: MirrorRecta(*static_cast<CRecta*>(entity), mirror, dir); return true;
    case ENT_CIRCLE: MirrorCirc(*static_cast<CCirc*>(entity), mirror, dir); return true;
    case ENT_ARC: MirrorArc(*static_cast<CArc*>(entity), mirror, dir); return true;
    case ENT_POINT: MirrorPunt(*static_cast<CPunt*>(entity), mirror, dir); return true;
    case ENT_TEXT: MirrorText(*static_cast<CText*>(entity), mirror, dir); return true;
    case ENT_PLINE: MirrorPLine(*static_cast<CPLine*>(entity), mirror, dir); return true;
    case ENT_INSERT: MirrorInsBl(*static_cast<CInsBl*>(entity), mirror, dir); return true;
    case ENT_DIMENSION: MirrorAcot(*static_cast<CAcot*>(entity), mirror, dir); return true;
    case ENT_3DFACE: MirrorTdface(*static_cast<CTdface*>(entity), mirror, dir); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- lists and copies

void AppendObList(CObList& target, const CObList& source)
{
    for (CObject* obj : source)
        target.AddTail(obj);
}

void AppendObListItems(CObList& target, const CObList& source)
{
    AppendObList(target, source);
}

void CopyPartList(CObList& target, const CObList& source)
{
    for (CObject* obj : source)
        if (CDib* copy = CopyPartRecord(*static_cast<const CDib*>(obj)))
            target.AddTail(copy);
}

void CopyPLineSegments(CPLine& target, const CPLine& source)
{
    CopyPartList(target.m_segments, source.m_segments);
}

void CopyAcotParts(CAcot& target, const CAcot& source)
{
    CopyPartList(target.m_parts, source.m_parts);
}

// ---------------------------------------------------------------- placed extents

bool PlacedBlockBox(const CBloq& block, const CPlacement& pl, Pt2 (&box)[4])
{
    if (!block.m_box.Bounded())
        return false;
    const Pt2& lo = block.m_box.lo;
    const Pt2& hi = block.m_box.hi;
    const CPointd corners[4] = {{lo.x, lo.y}, {hi.x, lo.y}, {hi.x, hi.y}, {lo.x, hi.y}};
    for (int i = 0; i < 4; ++i) {
        const CPointd p = PlacePoint(corners[i], pl);
        box[i] = {p.x, p.y};
    }
    return true;
}

int InsBlBoxCrossesQuad(const CInsBl& insert, const CRectaDoc& doc, const Pt2 (&q)[4])
{
    const CBloq* block = FindDocBlock(doc, insert.m_block);
    Pt2 box[4];
    if (!block || !PlacedBlockBox(*block, insert.Placement(), box))
        return 0;
    for (int i = 0; i < 4; ++i)
        if (IntersectSegmentQuad(1, box[0], box[1], box[2], box[3], q[i], q[(i + 1) % 4]))
            return 1;
    return 0;
}

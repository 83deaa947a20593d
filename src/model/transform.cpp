#include "model/transform.h"

#include "model/acot.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitycontext.h"
#include "model/entitykind.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/strutil.h"
#include "model/tdface.h"
#include "model/text.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

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

// An arc that ran past a whole turn before its angles were set anew within
// one turn runs past one again, to the same end point.
void KeepWholeTurn(CArc& a, bool whole)
{
    if (whole && !ArcPastWholeTurn(a.m_start, a.m_end))
        a.m_end += 2.0 * kTwoPi;
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

void Shift(CPointd& p, const CPointd& d)
{
    p.x += d.x;
    p.y += d.y;
    p.z += d.z;
}

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

void PlaceEntity(CRecta& e, const CPlacement& pl)
{
    TransformPoint(e.m_p1, pl);
    TransformPoint(e.m_p2, pl);
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceEntity(CCirc& e, const CPlacement& pl)
{
    TransformPoint(e.m_centre, pl);
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceEntity(CArc& e, const CPlacement& pl)
{
    if (pl.sx > 0.0 && pl.sy > 0.0) {
        TransformPoint(e.m_centre, pl);
        if (pl.a != 0.0)
            RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
        return;
    }
    const bool whole = ArcPastWholeTurn(e.m_start, e.m_end);
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
    KeepWholeTurn(e, whole);
}

void PlaceEntity(CPunt& e, const CPlacement& pl)
{
    TransformPoint(e.m_point, pl);
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceEntity(CText& e, const CPlacement& pl)
{
    TransformPoint(e.m_insert, pl);
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceEntity(CPLine& e, const CPlacement& pl)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { PlaceEntity(l, pl); }, [&](CArc& a) { PlaceEntity(a, pl); }, Skip);
}

void PlaceEntity(CAcot& e, const CPlacement& pl)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { PlaceEntity(l, pl); }, Skip, [&](CText& t) { PlaceEntity(t, pl); });
}

void PlaceEntity(CTdface& e, const CPlacement& pl)
{
    for (CPointd& c : e.m_c)
        TransformPoint(c, pl);
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
}

void PlaceEntity(CInsBl& e, const CPlacement& pl)
{
    e.m_insert.x = pl.x + pl.sx * e.m_insert.x;
    e.m_insert.y = pl.y + pl.sy * e.m_insert.y;
    // Under a mirroring placement the nested block turns the other way.
    if (pl.Reflects())
        e.m_rotation = -e.m_rotation;
    if (pl.a != 0.0)
        RotateEntity(e, CPointd(pl.x, pl.y), pl.a);
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

void RotateEntity(CRecta& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_p1, centre, angle);
    RotatePoint(e.m_p2, centre, angle);
}

void RotateEntity(CCirc& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_centre, centre, angle);
}

void RotateEntity(CArc& e, const CPointd& centre, double angle)
{
    const bool whole = ArcPastWholeTurn(e.m_start, e.m_end);
    RotatePoint(e.m_centre, centre, angle);
    e.m_start = NormalAngle(e.m_start + angle);
    e.m_end = NormalAngle(e.m_end + angle);
    KeepWholeTurn(e, whole);
}

void RotateEntity(CPunt& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_point, centre, angle);
}

void RotateEntity(CText& e, const CPointd& centre, double angle)
{
    RotatePoint(e.m_insert, centre, angle);
    SetFontAngles(e.m_font, double(e.m_font.lfEscapement) - EscapementSteps(angle));
}

void RotateEntity(CPLine& e, const CPointd& centre, double angle)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { RotateEntity(l, centre, angle); },
        [&](CArc& a) { RotateEntity(a, centre, angle); }, Skip);
}

void RotateEntity(CAcot& e, const CPointd& centre, double angle)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { RotateEntity(l, centre, angle); }, Skip,
        [&](CText& t) { RotateEntity(t, centre, angle); });
}

void RotateEntity(CTdface& e, const CPointd& centre, double angle)
{
    for (CPointd& c : e.m_c)
        RotatePoint(c, centre, angle);
}

void RotateEntity(CInsBl& e, const CPointd& centre, double angle)
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

void MirrorEntity(CRecta& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_p1, mirror, dir);
    MirrorPoint(e.m_p2, mirror, dir);
}

void MirrorEntity(CCirc& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_centre, mirror, dir);
}

void MirrorEntity(CArc& e, const CRecta& mirror, double dir)
{
    const bool whole = ArcPastWholeTurn(e.m_start, e.m_end);
    CPointd s = e.StartPoint(), t = e.EndPoint();
    MirrorPoint(e.m_centre, mirror, dir);
    MirrorPoint(s, mirror, dir);
    MirrorPoint(t, mirror, dir);
    e.m_start = Direction(e.m_centre, t);
    e.m_end = Direction(e.m_centre, s);
    e.m_arcWord = e.m_arcWord == 1 ? 0 : 1;
    KeepWholeTurn(e, whole);
}

void MirrorEntity(CPunt& e, const CRecta& mirror, double dir)
{
    MirrorPoint(e.m_point, mirror, dir);
}

void MirrorEntity(CText& e, const CRecta& mirror, double dir)
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

void MirrorEntity(CPLine& e, const CRecta& mirror, double dir)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { MirrorEntity(l, mirror, dir); },
        [&](CArc& a) { MirrorEntity(a, mirror, dir); }, Skip);
}

void MirrorEntity(CAcot& e, const CRecta& mirror, double dir)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { MirrorEntity(l, mirror, dir); }, Skip,
        [&](CText& t) { MirrorEntity(t, mirror, dir); });
}

void MirrorEntity(CTdface& e, const CRecta& mirror, double dir)
{
    for (CPointd& c : e.m_c)
        MirrorPoint(c, mirror, dir);
}

void MirrorEntity(CInsBl& e, const CRecta& mirror, double dir)
{
    CPointd t(e.m_insert.x + std::cos(e.m_rotation), e.m_insert.y + std::sin(e.m_rotation));
    MirrorPoint(e.m_insert, mirror, dir);
    MirrorPoint(t, mirror, dir);
    e.m_rotation = Direction(t, e.m_insert);
    e.m_sx = -e.m_sx;
}

// ---------------------------------------------------------------- translation

namespace {

CPointd Displacement(const CPointd& from, const CPointd& to)
{
    return CPointd(to.x - from.x, to.y - from.y, to.z - from.z);
}

}  // namespace

void MoveRecta(CRecta& e, const CPointd& from, const CPointd& to)
{
    const CPointd d = Displacement(from, to);
    Shift(e.m_p1, d);
    Shift(e.m_p2, d);
}

void MoveCirc(CCirc& e, const CPointd& from, const CPointd& to)
{
    Shift(e.m_centre, Displacement(from, to));
}

void MoveArc(CArc& e, const CPointd& from, const CPointd& to)
{
    Shift(e.m_centre, Displacement(from, to));
}

void MovePunt(CPunt& e, const CPointd& from, const CPointd& to)
{
    Shift(e.m_point, Displacement(from, to));
}

void MoveText(CText& e, const CPointd& from, const CPointd& to)
{
    Shift(e.m_insert, Displacement(from, to));
}

void MovePLine(CPLine& e, const CPointd& from, const CPointd& to)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { MoveRecta(l, from, to); }, [&](CArc& a) { MoveArc(a, from, to); },
        [&](CText& t) { MoveText(t, from, to); });
}

void MoveAcot(CAcot& e, const CPointd& from, const CPointd& to)
{
    ForEachPart(
        e.m_parts, [&](CRecta& l) { MoveRecta(l, from, to); }, [&](CArc& a) { MoveArc(a, from, to); },
        [&](CText& t) { MoveText(t, from, to); });
}

void MoveTdface(CTdface& e, const CPointd& from, const CPointd& to)
{
    const CPointd d = Displacement(from, to);
    for (CPointd& c : e.m_c)
        Shift(c, d);
}

void MoveInsBl(CInsBl& e, const CPointd& from, const CPointd& to)
{
    Shift(e.m_insert, Displacement(from, to));
}

// ---------------------------------------------------------------- stretch

namespace {

// Moves p by d when it lies inside the window; true when it moved.
bool StretchPoint(CPointd& p, const CPointd& d, const StretchWindow& w)
{
    if (!InStretchWindow(w, p))
        return false;
    Shift(p, d);
    return true;
}

CPointd ArcEnd(const CArc& a, double angle)
{
    return CPointd(a.m_centre.x + a.m_rx * std::cos(angle), a.m_centre.y + a.m_rx * std::sin(angle), a.m_centre.z);
}

// The arc from s counter-clockwise to e with its sweep kept: the centre lies
// on the chord's perpendicular bisector, left of the chord for a sweep below pi.
void FollowMovedEnd(CArc& a, const CPointd& s, const CPointd& e)
{
    const double sweep = NormalAngle(a.m_end - a.m_start);
    const double chord = std::hypot(e.x - s.x, e.y - s.y);
    const double half = std::sin(sweep / 2.0);
    if (!(chord > 0.0) || std::fabs(half) < 1e-12)
        return;  // ends together, or a whole circle: no arc of this sweep joins them
    const double r = chord / (2.0 * half);
    const double h = r * std::cos(sweep / 2.0);  // from the chord's middle to the centre, to its left
    const double ux = (e.x - s.x) / chord, uy = (e.y - s.y) / chord;
    a.m_centre.x = (s.x + e.x) / 2.0 - uy * h;
    a.m_centre.y = (s.y + e.y) / 2.0 + ux * h;
    a.m_rx = a.m_ry = r;
    a.m_start = Direction(a.m_centre, s);
    a.m_end = NormalAngle(a.m_start + sweep);
}

void StretchArcSegment(CArc& a, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    CPointd s = ArcEnd(a, a.m_start), e = ArcEnd(a, a.m_end);
    const bool sIn = InStretchWindow(w, s), eIn = InStretchWindow(w, e);
    if (sIn && eIn) {
        MoveArc(a, from, to);
        return;
    }
    if (!sIn && !eIn)
        return;
    const CPointd d = Displacement(from, to);
    Shift(sIn ? s : e, d);
    FollowMovedEnd(a, s, e);
}

}  // namespace

bool InStretchWindow(const StretchWindow& w, const CPointd& p)
{
    return PointInQuad(w.q[0], w.q[1], w.q[2], w.q[3], Plan(p));
}

void StretchRecta(CRecta& e, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    const CPointd d = Displacement(from, to);
    StretchPoint(e.m_p1, d, w);
    StretchPoint(e.m_p2, d, w);
}

void StretchPLine(CPLine& e, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    ForEachPart(
        e.m_segments, [&](CRecta& l) { StretchRecta(l, from, to, w); },
        [&](CArc& a) { StretchArcSegment(a, from, to, w); }, Skip);
}

void StretchTdface(CTdface& e, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    const CPointd d = Displacement(from, to);
    for (CPointd& c : e.m_c)
        StretchPoint(c, d, w);
}

void StretchAcot(CAcot& e, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    const CRecta* measured = nullptr;
    std::string text;
    CPointd textAt;
    for (POSITION pos = e.GetFirstPartPosition(); pos;) {
        int type = 0;
        CObject* part = e.GetNextPart(pos, type);
        if (type == ENT_LINE) {
            auto* l = static_cast<CRecta*>(part);
            StretchRecta(*l, from, to, w);
            if (measured)
                continue;
            measured = l;
            text = FormatNumber(Distance2D(l->m_p1.x, l->m_p2.x, l->m_p1.y, l->m_p2.y), w.decimals);
            const double a = Angle2D(l->m_p1.x, l->m_p1.y, l->m_p2.x, l->m_p2.y);
            const double mx = (l->m_p1.x + l->m_p2.x) / 2.0, my = (l->m_p1.y + l->m_p2.y) / 2.0;
            textAt = CPointd(PolarX(mx, w.textDistance, a + kPi / 2), PolarY(my, w.textDistance, a + kPi / 2));
        } else if (type == ENT_TEXT) {
            auto* t = static_cast<CText*>(part);
            MoveText(*t, from, to);
            if (measured) {
                t->m_text = text;
                t->m_insert = textAt;
            }
        }
    }
}

// ---------------------------------------------------------------- by type code

bool PlaceEntity(int type, CObject* entity, const CPlacement& pl)
{
    return EntityKind(type).Place(entity, pl);
}

bool RotateEntity(int type, CObject* entity, const CPointd& centre, double angle)
{
    return EntityKind(type).Rotate(entity, centre, angle);
}

bool MirrorEntity(int type, CObject* entity, const CRecta& mirror, double dir)
{
    return EntityKind(type).Mirror(entity, mirror, dir);
}

bool MoveEntity(int type, CObject* entity, const CPointd& from, const CPointd& to)
{
    if (!entity)
        return false;
    EntityKind(type).Move(entity, from, to);
    return true;
}

bool StretchEntity(int type, CObject* entity, const CPointd& from, const CPointd& to, const StretchWindow& w)
{
    return entity && EntityKind(type).Stretch(entity, from, to, w);
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

int InsBlBoxCrossesQuad(const CInsBl& insert, const CEntityContext& drawing, const Pt2 (&q)[4])
{
    const CBloq* block = drawing.FindBlock(insert.m_block);
    Pt2 box[4];
    if (!block || !PlacedBlockBox(*block, insert.Placement(), box))
        return 0;
    for (int i = 0; i < 4; ++i)
        if (IntersectSegmentQuad(1, box[0], box[1], box[2], box[3], q[i], q[(i + 1) % 4]))
            return 1;
    return 0;
}

bool InsBlInWindow(const CEntityContext& drawing, const CInsBl& insert, const CPointd& lo, const CPointd& hi)
{
    const CBloq* block = insert.FindBlock(drawing);
    PlanBox window;
    window.Add(lo.x, lo.y);
    window.Add(hi.x, hi.y);
    return block && PlacedBlockMeets(drawing, *block, insert.Placement(), window);
}

// Offset: parallel copies of the selected lines, circles, arcs and polylines.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/geometry.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/transform.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kTol = 0.0001;

enum class Made { copy, nothing, noRadius, radiusOutOfRange };

// The offset of a circle's or arc's radius r about centre: out when towards
// lies outside or on it, in when inside.
Made OffsetRadius(const CPointd& centre, double& r, const Pt2& towards, double distance)
{
    const double d = Distance2D(Plan(centre), towards);
    if (!std::isfinite(d))
        return Made::nothing;
    r = r <= d ? r + distance : r - distance;
    if (!InCoordinateRange(r))
        return Made::radiusOutOfRange;
    return r > 0.0 ? Made::copy : Made::noRadius;
}

// Offsets copy, a duplicate of an entity of the type, by distance to the side of towards.
Made OffsetCopy(int type, CObject* copy, const Pt2& towards, double distance)
{
    switch (type) {
    case ENT_LINE: {
        auto* line = static_cast<CRecta*>(copy);
        const Pt2 a = Plan(line->m_p1), b = Plan(line->m_p2);
        double t = 0.0;
        if (!FootParameter(towards, a, b, t))
            return Made::nothing;
        const Pt2 foot{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        const double d = Distance2D(foot, towards);
        if (!(d > kTol))
            return Made::nothing;
        const double k = distance / d;
        MoveRecta(*line, CPointd(), CPointd(k * (towards.x - foot.x), k * (towards.y - foot.y)));
        return Made::copy;
    }
    case ENT_CIRCLE: {
        auto* circle = static_cast<CCirc*>(copy);
        const Made made = OffsetRadius(circle->m_centre, circle->m_rx, towards, distance);
        circle->m_ry = circle->m_rx;
        return made;
    }
    case ENT_ARC: {
        auto* arc = static_cast<CArc*>(copy);
        const Made made = OffsetRadius(arc->m_centre, arc->m_rx, towards, distance);
        arc->m_ry = arc->m_rx;
        return made;
    }
    case ENT_PLINE:
        switch (static_cast<CPLine*>(copy)->OffsetSegments(CPointd(towards.x, towards.y), distance)) {
        case CPLine::OffsetResult::done: return Made::copy;
        case CPLine::OffsetResult::onChain: return Made::nothing;
        case CPLine::OffsetResult::noRadius: return Made::noRadius;
        }
        return Made::nothing;
    default: return Made::nothing;
    }
}

}  // namespace

void CRectaView::OffsetSelection(const CPointd& towards)
{
    const double distance = m_fixedDistance;
    if (distance > 0.0 && InCoordinateRange(distance)) {
        for (const CDib* record : SelectedRecords()) {
            const int type = record->m_type;
            std::unique_ptr<CObject> copy(DuplicateEntity(type, record->m_entity));
            const Made made = copy ? OffsetCopy(type, copy.get(), Plan(towards), distance) : Made::nothing;
            if (made == Made::copy)
                AddPieceLike(type, copy.release(), *record, false);
            else if (made == Made::noRadius)
                ShowPrompt(0, "Offset: a radius would not stay above 0; that object is skipped");
            else if (made == Made::radiusOutOfRange)
                ShowPrompt(0, kRadiusOutOfRange);
        }
    }
    CloseState();
    ClearSelection();
}

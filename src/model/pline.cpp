#include "model/pline.h"

#include "model/circ.h"
#include "model/dib.h"
#include "model/entitydraw.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/archive.h"

#include <cmath>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CPLine, CObject, 1)

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kVertexStep = 0.08726646259971647;  // 5 degrees
constexpr double kClosedGap = 0.00001;
constexpr int kMaxFillVertices = 500;
// A step that lands on the last angle but for rounding adds no point of its own.
constexpr double kStepSlack = 1e-9;

// Composite entities being loaded on this thread.
thread_local int t_loadingComposites = 0;

CPointd OnArc(const CArc& a, double angle)
{
    return CPointd(PolarX(a.m_centre.x, a.m_rx, angle), PolarY(a.m_centre.y, a.m_rx, angle));
}

// Points every 5 degrees along the arc in the direction the chain passes it,
// then its last point. A sweep past a whole turn goes round once and on to
// the end it names, so the count never grows with the sweep.
void AppendArcVertices(const CArc& a, CObList& points)
{
    double s, e;
    ArcFrame(a.m_start, a.m_end, s, e);
    if (!std::isfinite(s) || !std::isfinite(e))
        return;
    if (ArcPastWholeTurn(a.m_start, a.m_end)) {
        // A sweep too wide for a double names no end past the turn.
        const double past = std::fmod(a.m_end - a.m_start, kTwoPi);
        e = s + kTwoPi + (std::isfinite(past) ? past : 0.0);
    }
    if (a.m_arcWord == 1) {
        for (double angle = s; angle < e - kStepSlack; angle += kVertexStep)
            points.AddTail(new CPointd(OnArc(a, angle)));
        points.AddTail(new CPointd(OnArc(a, e)));
    } else {
        for (double angle = e; angle > s + kStepSlack; angle -= kVertexStep)
            points.AddTail(new CPointd(OnArc(a, angle)));
        points.AddTail(new CPointd(OnArc(a, s)));
    }
}

// Calls f with the entity of every line and arc element.
template <class F>
void ForEachSegment(const CObList& segments, F&& f)
{
    for (CObject* obj : segments) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_type == ENT_LINE || dib->m_type == ENT_ARC)
            f(*static_cast<CEntity*>(dib->m_entity));
    }
}

}  // namespace

CDib* CopyPartRecord(const CDib& record)
{
    std::unique_ptr<CObject> copy;
    switch (record.m_type) {
    case ENT_LINE: {
        auto l = std::make_unique<CRecta>();
        l->Copy(*static_cast<const CRecta*>(record.m_entity));
        copy = std::move(l);
        break;
    }
    case ENT_ARC: {
        auto a = std::make_unique<CArc>();
        a->Copy(*static_cast<const CArc*>(record.m_entity));
        copy = std::move(a);
        break;
    }
    case ENT_TEXT: {
        auto t = std::make_unique<CText>();
        t->Copy(*static_cast<const CText*>(record.m_entity));
        copy = std::move(t);
        break;
    }
    default: return nullptr;
    }
    auto* dib = new CDib(record.m_type, copy.get(), record.m_visible);
    copy.release();
    dib->m_flag = record.m_flag;
    return dib;
}

void CopyParts(CObList& target, const CObList& source)
{
    for (CObject* obj : source)
        if (CDib* dib = CopyPartRecord(*static_cast<const CDib*>(obj)))
            target.AddTail(dib);
}

void SerializeParts(CArchive& ar, CObList& parts)
{
    if (ar.IsStoring()) {
        parts.Serialize(ar, RUNTIME_CLASS(CDib));
        return;
    }
    if (t_loadingComposites > 0)
        throw CArchiveException(CArchiveException::badValue, ar.GetPosition(),
                                "a polyline or dimension holds another polyline or dimension");
    ++t_loadingComposites;
    try {
        parts.Serialize(ar, RUNTIME_CLASS(CDib));
    } catch (...) {
        --t_loadingComposites;
        throw;
    }
    --t_loadingComposites;
}

// ---------------------------------------------------------------- construction

CPLine::CPLine(int width, COLORREF color, std::string_view layer, CObList& segments, int mode, double dx,
               double dy, double dz)
    : CEntity(width, color, layer), m_extrusionMode(mode), m_dir(dx, dy, dz)
{
    m_segments.AddTail(segments);
}

void CPLine::CopyAttributes(const CPLine& other)
{
    m_width = other.m_width;
    m_style = other.m_style;
    m_layer = other.m_layer;
    m_color = other.m_color;
    m_fill = other.m_fill;
    m_fillColor = other.m_fillColor;
}

void CPLine::Copy(const CPLine& other)
{
    if (&other == this)
        return;
    CopyAttributes(other);
    m_extrusionMode = other.m_extrusionMode;
    m_dir = other.m_dir;
    DeleteSegments();
    CopyParts(m_segments, other.m_segments);
}

CObject* CPLine::GetNextSegment(POSITION& pos, int& type) const
{
    return static_cast<const CDib*>(m_segments.GetNext(pos))->Entity(type);
}

void CPLine::DeleteSegments()
{
    m_segments.DeleteAll();
}

// ---------------------------------------------------------------- attributes

void CPLine::SetColor(COLORREF color)
{
    ForEachSegment(m_segments, [&](CEntity& e) { e.SetColor(color); });
    m_color = color;
}

void CPLine::SetLayer()
{
    ForEachSegment(m_segments, [&](CEntity& e) { e.m_layer = m_layer; });
}

void CPLine::SetLineType()
{
    ForEachSegment(m_segments, [&](CEntity& e) { e.m_style = m_style; });
}

void CPLine::SetWidth()
{
    ForEachSegment(m_segments, [&](CEntity& e) { e.m_width = m_width; });
}

// ---------------------------------------------------------------- geometry

bool CPLine::GetStartPoint(CPointd& p) const
{
    if (m_segments.IsEmpty())
        return false;
    const auto* dib = static_cast<const CDib*>(m_segments.GetHead());
    if (dib->m_type == ENT_LINE) {
        p = static_cast<const CRecta*>(dib->m_entity)->m_p1;
    } else if (dib->m_type == ENT_ARC) {
        const auto* a = static_cast<const CArc*>(dib->m_entity);
        const CPointd q = OnArc(*a, a->m_arcWord == 1 ? a->m_start : a->m_end);
        p.x = q.x;
        p.y = q.y;
    }
    return true;
}

bool CPLine::GetEndPoint(CPointd& p) const
{
    if (m_segments.IsEmpty())
        return false;
    const auto* dib = static_cast<const CDib*>(m_segments.GetTail());
    if (dib->m_type == ENT_LINE) {
        const CPointd& q = static_cast<const CRecta*>(dib->m_entity)->m_p2;
        p.x = q.x;
        p.y = q.y;
    } else if (dib->m_type == ENT_ARC) {
        const auto* a = static_cast<const CArc*>(dib->m_entity);
        const CPointd q = OnArc(*a, a->m_arcWord == 1 ? a->m_end : a->m_start);
        p.x = q.x;
        p.y = q.y;
    }
    return true;
}

void CPLine::GetVertices(double& area, CObList& points, double& perimeter) const
{
    area = 0.0;
    int count = 0;
    for (POSITION pos = GetFirstSegmentPosition(); pos;) {
        int type = 0;
        const CObject* seg = GetNextSegment(pos, type);
        if (type == ENT_LINE) {
            const auto* l = static_cast<const CRecta*>(seg);
            if (count == 0)
                points.AddTail(new CPointd(l->m_p1));
            points.AddTail(new CPointd(l->m_p2));
        } else if (type == ENT_ARC) {
            AppendArcVertices(*static_cast<const CArc*>(seg), points);
        } else {
            continue;
        }
        ++count;
    }
    if (perimeter != 0.0)
        return;
    std::vector<const CPointd*> v;
    for (CObject* obj : points)
        v.push_back(static_cast<const CPointd*>(obj));
    double twice = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const CPointd& a = *v[(i + v.size() - 1) % v.size()];
        const CPointd& b = *v[i];
        twice += a.x * b.y - b.x * a.y;
        perimeter += Distance2D(a.x, b.x, a.y, b.y);
    }
    area = std::fabs(twice / 2.0);
    points.DeleteAll();
}

int CPLine::IsInRect(double x1, double y1, double x2, double y2) const
{
    for (POSITION pos = GetFirstSegmentPosition(); pos;) {
        int type = 0;
        const CObject* seg = GetNextSegment(pos, type);
        if ((type == ENT_LINE && static_cast<const CRecta*>(seg)->IsInRect(x1, y1, x2, y2)) ||
            (type == ENT_ARC && static_cast<const CArc*>(seg)->IsInRect(x1, y1, x2, y2)))
            return 1;
    }
    return 0;
}

// ---------------------------------------------------------------- drawing

int CPLine::Draw(CDC& dc, const WorldMap& map, DrawKind kind) const
{
    if (m_fill == 1 && kind != DrawKind::dotted)
        DrawFill(dc, map, kind == DrawKind::normal ? 1 : 0);
    for (POSITION pos = GetFirstSegmentPosition(); pos;) {
        int type = 0;
        const CObject* seg = GetNextSegment(pos, type);
        if (type == ENT_LINE)
            static_cast<const CRecta*>(seg)->Draw(dc, map, kind);
        else if (type == ENT_ARC)
            static_cast<const CArc*>(seg)->Draw(dc, map, kind);
    }
    return 1;
}

int CPLine::DrawFill(CDC& dc, const WorldMap& map, int mode) const
{
    CPointd start, end;
    if (!GetStartPoint(start) || !GetEndPoint(end))
        return 0;
    if (!(Distance2D(start.x, end.x, start.y, end.y) <= kClosedGap))
        return 0;
    CObList points(ListOwnership::owns);
    double area = 0.0, perimeter = 1.0;
    GetVertices(area, points, perimeter);
    const int n = points.GetCount();
    int made = 0;
    if (n >= 3 && n <= kMaxFillVertices) {
        std::vector<LPoint> lp;
        lp.reserve(std::size_t(n));
        for (CObject* obj : points)
            lp.push_back(map(*static_cast<const CPointd*>(obj)));
        CBrush brush(mode == 1 ? m_fillColor : dc.GetBkColor());
        CBrush* oldBrush = dc.SelectObject(&brush);
        CPen* oldPen = dc.SelectObject(StockPen(NULL_PEN));
        const int oldRop = dc.SetROP2(R2_COPYPEN);
        dc.Polygon(lp.data(), n);
        dc.SetROP2(oldRop);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        made = 1;
    }
    return made;
}

// ---------------------------------------------------------------- file record

void CPLine::Serialize(CArchive& ar)
{
    SerializePen(ar);
    if (ar.IsStoring()) {
        ar << m_layer;
    } else {
        ar >> m_layer;
        m_fill = 0;
        DeleteSegments();
    }
    SerializeExtrusion(ar, m_extrusionMode, nullptr, m_dir);
    SerializeParts(ar, m_segments);
}

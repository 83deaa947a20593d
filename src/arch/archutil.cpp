#include "arch/archutil.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/recta.h"
#include "view2d/archedit.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

CPointd Offset(const CPointd& a, const Pt2& d, double s)
{
    return CPointd(a.x + d.x * s, a.y + d.y * s, a.z);
}

bool UnitDirection(const CPointd& a, const CPointd& b, Pt2& d)
{
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (!(len > 0.0) || !std::isfinite(len))
        return false;
    d = {(b.x - a.x) / len, (b.y - a.y) / len};
    return true;
}

Pt2 LeftOf(const Pt2& d)
{
    return {-d.y, d.x};
}

double Cross(const Pt2& a, const Pt2& b)
{
    return a.x * b.y - a.y * b.x;
}

double Dot(const Pt2& a, const Pt2& b)
{
    return a.x * b.x + a.y * b.y;
}

double SegmentDistance(const CPointd& p, const CRecta& line)
{
    const Pt2 a = Plan(line.m_p1), b = Plan(line.m_p2);
    const Pt2 ab{b.x - a.x, b.y - a.y}, ap{p.x - a.x, p.y - a.y};
    const double len2 = Dot(ab, ab);
    const double t = len2 > 0.0 ? std::clamp(Dot(ap, ab) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(ap.x - t * ab.x, ap.y - t * ab.y);
}

std::vector<LineAt> ShownLines(const CRectaDoc& doc, std::string_view layer)
{
    std::vector<LineAt> lines;
    for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos)) {
        CDib* dib = doc.GetEntityRecord(pos);
        if (dib->m_type != ENT_LINE || dib->m_visible != 1 || dib->m_flag != 1)
            continue;
        auto* line = static_cast<CRecta*>(dib->m_entity);
        if (layer.empty() || line->m_layer == layer)
            lines.push_back({dib, pos, line});
    }
    return lines;
}

std::optional<LineAt> NearestLine(const CRectaDoc& doc, const CPointd& p, double tolerance, const CRecta* skip)
{
    std::optional<LineAt> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const LineAt& l : ShownLines(doc, {})) {
        const double d = SegmentDistance(p, *l.line);
        if (l.line != skip && d <= tolerance && d < bestDistance) {
            best = l;
            bestDistance = d;
        }
    }
    return best;
}

double PickTolerance(const CRectaView& view)
{
    constexpr double kFallback = 1e-6;
    return view.m_scale > 0.0 ? view.m_aperture / view.m_scale : kFallback;
}

COLORREF LayerColour(CRectaDoc& doc, std::string_view layer)
{
    return FindOrAddLayer(doc, layer, doc.m_color)->m_color;
}

void RecordLastAdded(CRectaDoc& doc, CRectaView& view)
{
    CDib* last = doc.GetLastEntityRecord();
    view.AddUndoStep(UNDO_ADDED, last->m_type, last, doc.GetLastEntityPosition());
}

CPLine* AddPolylineByLayer(CRectaDoc& doc, CRectaView& view, const std::vector<CPointd>& points, bool closed,
                           std::string_view layer)
{
    const COLORREF colour = LayerColour(doc, layer);
    CObList segments{ListOwnership::owns};
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
        auto* seg = new CRecta(doc.m_penWidth, colour, layer, 0.0, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
        seg->m_p1 = points[i];
        seg->m_p2 = points[(i + 1) % n];
        segments.AddTail(new CDib(ENT_LINE, seg));
    }
    CPLine* pl = doc.AddPLineOnLayer(doc.m_penWidth, colour, layer, segments);
    doc.ExtendExtentsByEntity(ENT_PLINE, pl);
    doc.ExtendAndDrawEntity(ENT_PLINE, pl);
    RecordLastAdded(doc, view);
    return pl;
}

void CloseUndoState(CRectaView& view)
{
    view.SaveUndoState();
    view.ClearPendingSteps();
}

void Refuse(CRectaView& view, std::string_view why)
{
    view.ShowPrompt(0, std::string(why));
}

std::string NewBlockName(const CRectaDoc& doc, std::string_view prefix, int& counter)
{
    std::string name;
    do
        name = std::string(prefix) + std::to_string(++counter);
    while (doc.FindBlock(name));
    return name;
}

CBloq* AddNamedBlock(CRectaDoc& doc, CObList& entities, const std::string& name)
{
    return doc.AddBlock(CPointd(), entities, name);
}

std::string NumberText(double value)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

double TextNumber(std::string_view text)
{
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && std::isfinite(v) ? v : 0.0;
}

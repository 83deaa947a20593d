#include "doc/renderer.h"

#include "doc/rectadoc.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/entitykind.h"
#include "model/geometry.h"
#include "model/insbl.h"
#include "model/transform.h"
#include "platform/dc.h"

#include <algorithm>
#include <cmath>

namespace {

// Fits box (grown by nothing more) into the target, centred or with its
// lower-left corner on the target's; false without a scale.
bool FitBox(const PlanBox& box, int width, int height, CDC& dc, WorldMap& map, bool centred = true)
{
    if (width <= 0 || height <= 0 || !box.Bounded())
        return false;
    // Pixel centres run from 0 to size - 1.
    const double w = width - 1, h = height - 1;
    const double scale = ComputeFitScale(box.hi.x - box.lo.x, box.hi.y - box.lo.y, w, h);
    if (!(scale > 0.0))
        return false;
    map = centred ? WorldMap{scale, (box.lo.x + box.hi.x) / 2.0 - w / 2.0 / scale,
                             (box.lo.y + box.hi.y) / 2.0 - h / 2.0 / scale}
                  : WorldMap{scale, box.lo.x, box.lo.y};
    if (!std::isfinite(map.ox) || !std::isfinite(map.oy))
        return false;
    SetupIsotropicMapping(dc, width, height);
    return true;
}

void DrawInsertionMarker(CDC& dc, const WorldMap& map, const CPointd& at, double size)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 3, RGB(255, 0, 0)))
        return;
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(StockBrush(HOLLOW_BRUSH));
    const LPoint c = map(at);
    const std::int64_t r = map.Length(size);
    dc.Ellipse(c.x - r, c.y - r, c.x + r, c.y + r);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

}  // namespace

void SetupIsotropicMapping(CDC& dc, int width, int height)
{
    dc.SetYUpMapping(width, height);
    dc.SetViewportOrg(0, std::max(height, 1) - 1);
}

double ComputeFitScale(double ex, double ey, double w, double h)
{
    ex = std::fabs(ex);
    ey = std::fabs(ey);
    if (!(w > 0.0) || !(h > 0.0) || !std::isfinite(w) || !std::isfinite(h) || !std::isfinite(ex) ||
        !std::isfinite(ey))
        return 0.0;
    const double byWidth = ex > 0.0 ? w / ex : HUGE_VAL;
    const double byHeight = ey > 0.0 ? h / ey : HUGE_VAL;
    const double scale = std::min(byWidth, byHeight);
    return std::isfinite(scale) ? scale : 0.0;
}

double ComputeBlockFitScale(const CBloq& block, int width, int height)
{
    const PlanBox& box = block.m_box;
    if (!box.Bounded())
        return 0.0;
    return ComputeFitScale(box.hi.x - box.lo.x, box.hi.y - box.lo.y, width - 1, height - 1);
}

CBloq* FindDocBlock(const CRectaDoc& doc, std::string_view name)
{
    return doc.FindBlock(name);
}

namespace {

// The logical corners of the target's pixels.
void ClientCorners(const CDC& dc, int width, int height, LPoint& a, LPoint& b)
{
    a = dc.DPtoLP({0, 0});
    b = dc.DPtoLP({width, height});
}

}  // namespace

int FillClientBackground(CDC& dc, int width, int height)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(dc.GetBkColor()))
        return 0;
    LPoint a, b;
    ClientCorners(dc, width, height, a, b);
    dc.FillRect(a.x, a.y, b.x, b.y, brush);
    return 1;
}

int FrameClientRect(CDC& dc, int width, int height, COLORREF colour)
{
    CBrush brush;
    if (!brush.CreateSolidBrush(colour))
        return 0;
    LPoint a, b;
    ClientCorners(dc, width, height, a, b);
    dc.FrameRect(a.x, a.y, b.x, b.y, brush);
    return 1;
}

int DrawToolTipText(CDC& dc, std::string_view text, const LPoint& at, int alignment, const LOGFONT& font,
                    COLORREF colour, const LPoint& lo, const LPoint& hi, int mode)
{
    CPen pen;
    CFont made;
    if (!pen.CreatePen(PS_SOLID, 1, colour) || !made.CreateFontIndirect(font))
        return 0;
    CPen* oldPen = dc.SelectObject(&pen);
    CFont* oldFont = dc.SelectObject(&made);
    const COLORREF oldColour = dc.SetTextColor(colour);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const unsigned oldAlign = dc.GetTextAlign();
    if (mode == 1) {
        dc.SetTextAlign(alignment == 2 ? TA_RIGHT : alignment == 3 ? TA_CENTER : TA_LEFT);
        dc.MoveTo(at.x, at.y);
        dc.TextOut(at.x, at.y, text);
    } else {
        // The cell's top half its height above the box's middle, in the mapping's direction of y.
        const std::int64_t cell = dc.GetTextExtent(text).cy;
        const std::int64_t middle = (lo.y + hi.y) / 2;
        dc.SetTextAlign(TA_CENTER | TA_TOP);
        dc.TextOut((lo.x + hi.x) / 2, dc.FactorY() < 0 ? middle + cell / 2 : middle - cell / 2, text);
    }
    dc.SetTextAlign(oldAlign);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldPen);
    return 1;
}

int GetEntityLayerVisibility(const CRectaDoc& doc, const CObject* entity, int type)
{
    const CEntity* pen = entity && IsEntityType(type) ? EntityKind(type).Pen(entity) : nullptr;
    return pen ? doc.GetLayerVisibility(pen->m_layer) : 0;
}

void DrawRecords(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const std::function<bool(const CDib&)>& shows)
{
    POSITION firstHatch = nullptr;
    for (POSITION pos = doc.GetFirstEntityPosition(); pos;) {
        const POSITION here = pos;
        int type = 0;
        CObject* entity = doc.GetNextEntity(pos, type);
        if (type == ENT_HATCH) {
            if (!firstHatch)
                firstHatch = here;
        } else if (shows(*doc.GetEntityRecord(here))) {
            DrawEntity(dc, type, entity, map, DrawKind::normal, doc);
        }
    }
    for (POSITION pos = firstHatch; pos;) {
        const CDib* record = doc.GetEntityRecord(pos);
        int type = 0;
        CObject* entity = doc.GetNextEntity(pos, type);
        if (type == ENT_HATCH && shows(*record))
            DrawEntity(dc, type, entity, map, DrawKind::normal, doc);
    }
}

bool RenderDrawingToDC(const CRectaDoc& doc, int width, int height, CDC& dc)
{
    const CPointd& lo = doc.m_extMin;
    const CPointd& hi = doc.m_extMax;
    if (doc.GetEntityList().IsEmpty() || !std::isfinite(lo.x) || !std::isfinite(lo.y) || !std::isfinite(hi.x) ||
        !std::isfinite(hi.y))
        return false;
    PlanBox box;
    box.Add(lo.x, lo.y);
    box.Add(hi.x, hi.y);
    const double dx = (box.hi.x - box.lo.x) / 20.0, dy = (box.hi.y - box.lo.y) / 20.0;
    box.Add(box.lo.x - dx, box.lo.y - dy);
    box.Add(box.hi.x + dx, box.hi.y + dy);
    WorldMap map{};
    if (!FitBox(box, width, height, dc, map, false))
        return false;
    DrawRecords(doc, dc, map,
                [&](const CDib& r) { return GetEntityLayerVisibility(doc, r.m_entity, r.m_type) == 1; });
    return true;
}

bool RenderBlockToDC(const CRectaDoc& doc, const CBloq& block, double rotation, double sx, double sy, int width,
                     int height, CDC& dc)
{
    const PlanBox& own = block.m_box;
    if (!own.Bounded())
        return false;
    const double s = std::max(own.hi.x - own.lo.x, own.hi.y - own.lo.y);
    const double marker = s < 2.0 ? s / 15.0 : 0.25;
    CPlacement placement;
    placement.a = rotation;
    placement.sx = sx;
    placement.sy = sy;
    Pt2 corners[4];
    PlanBox box;
    box.Add(0.0, 0.0);
    if (PlacedBlockBox(block, placement, corners))
        for (const Pt2& c : corners)
            box.Add(c.x, c.y);
    box.Add(box.lo.x - 0.5, box.lo.y - 0.5);
    box.Add(box.hi.x + 0.5, box.hi.y + 0.5);
    WorldMap map{};
    if (!FitBox(box, width, height, dc, map))
        return false;
    block.Draw(dc, map, DrawKind::normal, placement, doc);
    DrawInsertionMarker(dc, map, CPointd(), marker);
    return true;
}

bool DrawDrawingWindow(const CRectaDoc& doc, CDC& dc, const WorldMap& map, const CPointd& lo, const CPointd& hi,
                       bool all)
{
    DrawScope scope;
    if (!all) {
        scope.window = PlanBox();
        scope.window.Add(lo.x, lo.y);
        scope.window.Add(hi.x, hi.y);
    }
    WorldMap scoped = map;
    scoped.scope = &scope;
    DrawRecords(doc, dc, scoped, [&](const CDib& r) {
        const bool shown = r.m_type == ENT_HATCH ? GetEntityLayerVisibility(doc, r.m_entity, r.m_type) == 1
                                                 : r.m_visible == 1 && r.m_flag == 1;
        return shown && (all || EntityKind(r.m_type).InWindow(r.m_entity, lo, hi, doc));
    });
    return !scope.work.cut;
}

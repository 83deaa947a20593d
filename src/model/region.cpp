#include "model/region.h"

#include "model/bloq.h"
#include "model/pline.h"

#include <vector>

bool PolygonRegionFromPoints(CObList& points, const CDC& dc, CRgn& region, const WorldMap& map)
{
    std::vector<LPoint> device;
    device.reserve(std::size_t(points.GetCount()));
    for (CObject* obj : points)
        device.push_back(dc.LPtoDP(map(*static_cast<const CPointd*>(obj))));
    points.DeleteAll();
    return region.CreatePolygonRgn(device.data(), int(device.size()));
}

void FillRegion(CDC& dc, COLORREF colour, const CRgn& region)
{
    CBrush brush;
    if (brush.CreateSolidBrush(colour))
        dc.FillRgn(region, brush);
}

void FillBlockRegion(CDC& dc, const WorldMap& map, DrawKind kind, const CBloq& block, const CPlacement& p)
{
    if (kind == DrawKind::dotted || !HasColourAttributes(block))
        return;
    CRgn outline, holes;
    int count = 0;
    for (POSITION pos = block.GetFirstEntityPosition(); pos;) {
        int type = 0;
        const CObject* entity = block.GetNextEntity(pos, type);
        if (++count == 1 && type != ENT_PLINE)
            return;  // no outline: nothing is filled
        if (type != ENT_PLINE)
            continue;
        const CElementPtr placed = PlacedCopy(type, entity, p);
        if (!placed)
            continue;
        CObList points(ListOwnership::owns);
        double area = 0.0, perimeter = 1.0;
        static_cast<const CPLine*>(placed->m_entity)->GetVertices(area, points, perimeter);
        CRgn region;
        PolygonRegionFromPoints(points, dc, region, map);
        if (count == 1)
            outline = region;
        else
            holes.Unite(region);
    }
    if (count == 0)
        return;
    CRgn fill;
    fill.Subtract(outline, holes);
    FillRegion(dc, kind == DrawKind::erase ? dc.GetBkColor() : GetBlockColour(block), fill);
}

#include "app/apptools.h"

#include "app/rectaapp.h"
#include "app/view3dwnd.h"
#include "arch/archgen.h"
#include "view3d/cameras.h"
#include "view3d/surfaces.h"

void CAppViewTools::ShowCameras(CDC& dc, const WorldMap& map, const CRectaDoc& doc)
{
    ShowCamaras(dc, map, doc);
}

void CAppViewTools::DrawCamera(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p)
{
    DrawCamara(dc, map, doc, index, p);
}

void CAppViewTools::DrawTarget(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p)
{
    DrawObjetivo(dc, map, doc, index, p);
}

void CAppViewTools::MakeSolidWalls()
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    if (theApp.GetActiveView(view, doc) && doc)
        ::MakeSolidWalls(*doc, *view);
}

int CAppViewTools::IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out)
{
    return ::IntersectSelectedLines(doc, view, out);
}

void CAppViewTools::EraseDoors(CRectaDoc& doc, CRectaView& view)
{
    ::EraseDoors(doc, view);
}

void CAppViewTools::EraseWindows(CRectaDoc& doc, CRectaView& view)
{
    ::EraseWindows(doc, view);
}

void CAppViewTools::ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view)
{
    ::ApplyDoorHeights3D(doc, view);
}

void CAppViewTools::ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view)
{
    ::ApplyWindowHeights3D(doc, view);
}

void CAppViewTools::JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
                              double value)
{
    ::JoinWalls(doc, view, a, b, c, d, value);
}

bool CAppViewTools::MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end,
                             const CPointd& side, int wallCounter, int flag, double thickness)
{
    return ::MakeWall(doc, view, start, end, side, wallCounter, flag, thickness);
}

void CAppViewTools::MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side)
{
    ::MakePillar(doc, view, reference, side);
}

void CAppViewTools::BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                              const CPointd& inner)
{
    ::BuildDoor(doc, view, reference, outer, inner);
}

void CAppViewTools::BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                               const CPointd& inner)
{
    ::BuildDoorD(doc, view, reference, outer, inner);
}

void CAppViewTools::BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference,
                                     const CPointd& outer, const CPointd& inner, double leaf1, double leaf2)
{
    ::BuildDoorUnequal(doc, view, reference, outer, inner, leaf1, leaf2);
}

void CAppViewTools::BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                                const CPointd& side)
{
    ::BuildWindow(doc, view, first, second, side);
}

void CAppViewTools::PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                                  const CPointd& side, CObject* insert)
{
    ::PlaceDoorCopy(doc, view, ref1, ref2, side, insert);
}

void CAppViewTools::PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                                    const CPointd& side, CObject* insert)
{
    ::PlaceWindowCopy(doc, view, ref1, ref2, side, insert);
}

void CAppViewTools::MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                                 const CPointd& position)
{
    ::MakeAutoDims(doc, view, first, second, position);
}

void CAppViewTools::MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click)
{
    ::MakeEnclosure(doc, view, wallLine, click);
}

void CAppViewTools::GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                                     const CPointd& width)
{
    ::GenEscaleraRecta(doc, view, start, length, width);
}

void CAppViewTools::GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start,
                                         const CPointd& length, const CPointd& width)
{
    ::GenEscaleraDosTramos(doc, view, start, length, width);
}

void CAppViewTools::GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre,
                                       const CPointd& start)
{
    ::GenEscaleraEspiral(doc, view, centre, start);
}

void CAppViewTools::GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile)
{
    ::GenSupRev(doc, view, axis, profile);
}

void CAppViewTools::GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge)
{
    ::GenSupTab(doc, view, edge);
}

void CAppViewTools::OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible)
{
    ::OpenSectionView(p1, p2, visible);
}

void CAppViewTools::DrawEjesIcon(CDC& dc)
{
    ::DrawEjesIcon(dc);
}

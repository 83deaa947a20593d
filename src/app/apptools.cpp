#include "app/apptools.h"

#include "arch/archgen.h"
#include "view3d/cameras.h"

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
    ::MakeSolidWalls();
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

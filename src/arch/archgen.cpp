#include "arch/archgen.h"

#include "doc/apphost.h"

#include <string>

namespace {

void NotYet(const char* what)
{
    AppHost().SetPaneText(0, std::string(what) + ": not available yet");
}

}  // namespace

void MakeWall(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&, int, int, double)
{
    NotYet("Walls");
}

void JoinWalls(CRectaDoc&, CRectaView&, CPointd&, CPointd&, CPointd&, CPointd&, double)
{
    NotYet("Wall joints");
}

int IntersectSelectedLines(CRectaDoc&, CRectaView&, CPointd&)
{
    NotYet("Line intersection");
    return 0;
}

void MakePillar(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&)
{
    NotYet("Pillars");
}

void BuildDoor(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Doors");
}

void BuildDoorD(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Double doors");
}

void BuildDoorUnequal(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&, double, double)
{
    NotYet("Unequal doors");
}

void BuildWindow(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Windows");
}

void PlaceDoorCopy(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&, CObject*)
{
    NotYet("Door copy");
}

void PlaceWindowCopy(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&, CObject*)
{
    NotYet("Window copy");
}

void EraseDoors(CRectaDoc&, CRectaView&)
{
    NotYet("Erase doors");
}

void EraseWindows(CRectaDoc&, CRectaView&)
{
    NotYet("Erase windows");
}

void ApplyDoorHeights3D(CRectaDoc&, CRectaView&)
{
    NotYet("Door heights");
}

void ApplyWindowHeights3D(CRectaDoc&, CRectaView&)
{
    NotYet("Window heights");
}

void MakeAutoDims(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Automatic dimensions");
}

void MakeEnclosure(CRectaDoc&, CRectaView&, CRecta*, const CPointd&)
{
    NotYet("Enclosure area");
}

void MakeSolidWalls()
{
    NotYet("Solid walls");
}

void GenEscaleraRecta(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Stairs");
}

void GenEscaleraDosTramos(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&, const CPointd&)
{
    NotYet("Two-flight stairs");
}

void GenEscaleraEspiral(CRectaDoc&, CRectaView&, const CPointd&, const CPointd&)
{
    NotYet("Spiral stairs");
}

// The plan view's tools as the application provides them: the 3D symbols of
// view3d and the generators of arch.
#pragma once

#include "view2d/viewtools.h"

class CAppViewTools final : public CViewTools {
public:
    void ShowCameras(CDC& dc, const WorldMap& map, const CRectaDoc& doc) override;
    void DrawCamera(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override;
    void DrawTarget(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override;

    void MakeSolidWalls() override;
    int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out) override;
    void EraseDoors(CRectaDoc& doc, CRectaView& view) override;
    void EraseWindows(CRectaDoc& doc, CRectaView& view) override;
    void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view) override;
    void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view) override;
    void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
                   double value) override;
};

// The plan view's tools as the application provides them: the 3D symbols,
// views and surfaces of view3d, the generators of arch, and the section window.
#pragma once

#include "view2d/viewtools.h"

class CAppViewTools final : public CViewTools {
public:
    void ShowCameras(CDC& dc, const WorldMap& map, const CRectaDoc& doc) override;
    void DrawCamera(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override;
    void DrawTarget(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override;

    // On the active drawing; nothing without one.
    void MakeSolidWalls() override;
    int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out) override;
    void EraseDoors(CRectaDoc& doc, CRectaView& view) override;
    void EraseWindows(CRectaDoc& doc, CRectaView& view) override;
    void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view) override;
    void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view) override;
    void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
                   double value) override;

    bool MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end, const CPointd& side,
                  int wallCounter, int flag, double thickness) override;
    void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side) override;
    void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                   const CPointd& inner) override;
    void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                    const CPointd& inner) override;
    void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                          const CPointd& inner, double leaf1, double leaf2) override;
    void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                     const CPointd& side) override;
    void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                       const CPointd& side, CObject* insert) override;
    void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                         const CPointd& side, CObject* insert) override;
    void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                      const CPointd& position) override;
    void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click) override;
    void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                          const CPointd& width) override;
    void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                              const CPointd& width) override;
    void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre,
                            const CPointd& start) override;

    void GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile) override;
    void GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge) override;
    void OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible) override;
    void DrawEjesIcon(CDC& dc) override;
};

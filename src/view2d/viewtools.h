// What the plan view's command steps start in the layers above it: the 3D
// symbols of cameras and targets and the architectural generators. The
// application installs its tools at start-up; tests may install their own.
#pragma once

class CDC;
class CPointd;
class CRectaDoc;
class CRectaView;
struct WorldMap;

class CViewTools {
public:
    virtual ~CViewTools() = default;

    // Every camera and its target, each joined to the other by a dotted line.
    virtual void ShowCameras(CDC& dc, const WorldMap& map, const CRectaDoc& doc) = 0;
    // Camera index's symbol (a small square) or its target's (a small cross) at p.
    virtual void DrawCamera(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) = 0;
    virtual void DrawTarget(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) = 0;

    virtual void MakeSolidWalls() = 0;
    // 1 and the crossing of the view's first two selected lines; 0 and out untouched otherwise.
    virtual int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out) = 0;
    virtual void EraseDoors(CRectaDoc& doc, CRectaView& view) = 0;
    virtual void EraseWindows(CRectaDoc& doc, CRectaView& view) = 0;
    virtual void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view) = 0;
    virtual void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view) = 0;
    // a to d are the document's wall-chain points.
    virtual void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
                           double value) = 0;
};

// The tools installed; throws std::logic_error when none is.
CViewTools& ViewTools();
// Installs tools (null: none) and returns the ones it replaces.
CViewTools* InstallViewTools(CViewTools* tools);

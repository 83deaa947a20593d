// What the plan view's commands start in the layers above it: the 3D
// symbols of cameras and targets, the 3D views and surfaces, and the
// architectural generators. The application installs its tools at start-up;
// tests may install their own. Each generator adds what it makes through the
// document, draws it, widens the extents and leaves one undo state.
#pragma once

class CDC;
class CObject;
class CPLine;
class CPointd;
class CRecta;
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

    // ---- architectural generators
    // False when it made no wall (it says why).
    virtual bool MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end,
                          const CPointd& side, int wallCounter, int flag, double thickness) = 0;
    virtual void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side) = 0;
    virtual void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                           const CPointd& inner) = 0;
    virtual void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                            const CPointd& inner) = 0;
    virtual void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                                  const CPointd& inner, double leaf1, double leaf2) = 0;
    virtual void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                             const CPointd& side) = 0;
    // insert: the picked door or window block insert.
    virtual void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                               const CPointd& side, CObject* insert) = 0;
    virtual void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                                 const CPointd& side, CObject* insert) = 0;
    virtual void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                              const CPointd& position) = 0;
    virtual void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click) = 0;
    virtual void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                                  const CPointd& width) = 0;
    virtual void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start,
                                      const CPointd& length, const CPointd& width) = 0;
    virtual void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre,
                                    const CPointd& start) = 0;

    // ---- 3D
    virtual void GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile) = 0;
    virtual void GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge) = 0;
    // A section window on the active drawing: the section line p1-p2, seen up to the visible point.
    virtual void OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible) = 0;
    // The axes icon in the lower left corner of a plan view's logical mapping.
    virtual void DrawEjesIcon(CDC& dc) = 0;
};

// The tools installed; throws std::logic_error when none is.
CViewTools& ViewTools();
// Installs tools (null: none) and returns the ones it replaces.
CViewTools* InstallViewTools(CViewTools* tools);

// The installed view tools with a record of what the plan view called: each
// call is noted by name, with its points, and passed on to the tools it
// replaces, so commands still make what they make.
#pragma once

#include "model/pointd.h"
#include "view2d/viewtools.h"

#include <string>
#include <utility>
#include <vector>

class RecordingTools final : public CViewTools {
public:
    struct Call {
        std::string name;
        std::vector<CPointd> points;
    };

    RecordingTools() : m_next(InstallViewTools(this)) {}
    ~RecordingTools() override { InstallViewTools(m_next); }
    RecordingTools(const RecordingTools&) = delete;
    RecordingTools& operator=(const RecordingTools&) = delete;

    // The names called, in order.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const Call& c : calls)
            names.push_back(c.name);
        return names;
    }

    void ShowCameras(CDC& dc, const WorldMap& map, const CRectaDoc& doc) override
    {
        Note("ShowCameras");
        m_next->ShowCameras(dc, map, doc);
    }
    void DrawCamera(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override
    {
        Note("DrawCamera", {p});
        m_next->DrawCamera(dc, map, doc, index, p);
    }
    void DrawTarget(CDC& dc, const WorldMap& map, const CRectaDoc& doc, int index, const CPointd& p) override
    {
        Note("DrawTarget", {p});
        m_next->DrawTarget(dc, map, doc, index, p);
    }
    void MakeSolidWalls() override
    {
        Note("MakeSolidWalls");
        m_next->MakeSolidWalls();
    }
    int IntersectSelectedLines(CRectaDoc& doc, CRectaView& view, CPointd& out) override
    {
        Note("IntersectSelectedLines");
        return m_next->IntersectSelectedLines(doc, view, out);
    }
    void EraseDoors(CRectaDoc& doc, CRectaView& view) override
    {
        Note("EraseDoors");
        m_next->EraseDoors(doc, view);
    }
    void EraseWindows(CRectaDoc& doc, CRectaView& view) override
    {
        Note("EraseWindows");
        m_next->EraseWindows(doc, view);
    }
    void ApplyDoorHeights3D(CRectaDoc& doc, CRectaView& view) override
    {
        Note("ApplyDoorHeights3D");
        m_next->ApplyDoorHeights3D(doc, view);
    }
    void ApplyWindowHeights3D(CRectaDoc& doc, CRectaView& view) override
    {
        Note("ApplyWindowHeights3D");
        m_next->ApplyWindowHeights3D(doc, view);
    }
    void JoinWalls(CRectaDoc& doc, CRectaView& view, CPointd& a, CPointd& b, CPointd& c, CPointd& d,
                   double value) override
    {
        Note("JoinWalls", {a, b, c, d});
        m_next->JoinWalls(doc, view, a, b, c, d, value);
    }
    bool MakeWall(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& end, const CPointd& side,
                  int wallCounter, int flag, double thickness) override
    {
        Note("MakeWall", {start, end, side});
        return m_next->MakeWall(doc, view, start, end, side, wallCounter, flag, thickness);
    }
    void MakePillar(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& side) override
    {
        Note("MakePillar", {reference, side});
        m_next->MakePillar(doc, view, reference, side);
    }
    void BuildDoor(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                   const CPointd& inner) override
    {
        Note("BuildDoor", {reference, outer, inner});
        m_next->BuildDoor(doc, view, reference, outer, inner);
    }
    void BuildDoorD(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                    const CPointd& inner) override
    {
        Note("BuildDoorD", {reference, outer, inner});
        m_next->BuildDoorD(doc, view, reference, outer, inner);
    }
    void BuildDoorUnequal(CRectaDoc& doc, CRectaView& view, const CPointd& reference, const CPointd& outer,
                          const CPointd& inner, double leaf1, double leaf2) override
    {
        Note("BuildDoorUnequal", {reference, outer, inner});
        m_next->BuildDoorUnequal(doc, view, reference, outer, inner, leaf1, leaf2);
    }
    void BuildWindow(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                     const CPointd& side) override
    {
        Note("BuildWindow", {first, second, side});
        m_next->BuildWindow(doc, view, first, second, side);
    }
    void PlaceDoorCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                       const CPointd& side, CObject* insert) override
    {
        Note("PlaceDoorCopy", {ref1, ref2, side});
        m_next->PlaceDoorCopy(doc, view, ref1, ref2, side, insert);
    }
    void PlaceWindowCopy(CRectaDoc& doc, CRectaView& view, const CPointd& ref1, const CPointd& ref2,
                         const CPointd& side, CObject* insert) override
    {
        Note("PlaceWindowCopy", {ref1, ref2, side});
        m_next->PlaceWindowCopy(doc, view, ref1, ref2, side, insert);
    }
    void MakeAutoDims(CRectaDoc& doc, CRectaView& view, const CPointd& first, const CPointd& second,
                      const CPointd& position) override
    {
        Note("MakeAutoDims", {first, second, position});
        m_next->MakeAutoDims(doc, view, first, second, position);
    }
    void MakeEnclosure(CRectaDoc& doc, CRectaView& view, CRecta* wallLine, const CPointd& click) override
    {
        Note("MakeEnclosure", {click});
        m_next->MakeEnclosure(doc, view, wallLine, click);
    }
    void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                          const CPointd& width) override
    {
        Note("GenEscaleraRecta", {start, length, width});
        m_next->GenEscaleraRecta(doc, view, start, length, width);
    }
    void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                              const CPointd& width) override
    {
        Note("GenEscaleraDosTramos", {start, length, width});
        m_next->GenEscaleraDosTramos(doc, view, start, length, width);
    }
    void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre, const CPointd& start) override
    {
        Note("GenEscaleraEspiral", {centre, start});
        m_next->GenEscaleraEspiral(doc, view, centre, start);
    }
    void GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile) override
    {
        Note("GenSupRev");
        m_next->GenSupRev(doc, view, axis, profile);
    }
    void GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge) override
    {
        Note("GenSupTab");
        m_next->GenSupTab(doc, view, edge);
    }
    void OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible) override
    {
        Note("OpenSectionView", {p1, p2, visible});
        m_next->OpenSectionView(p1, p2, visible);
    }
    void DrawEjesIcon(CDC& dc) override { m_next->DrawEjesIcon(dc); }

    std::vector<Call> calls;

private:
    void Note(const char* name, std::vector<CPointd> points = {}) { calls.push_back({name, std::move(points)}); }

    CViewTools* m_next;
};

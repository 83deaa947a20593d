// A drawing with one record of every built kind at known places, for the
// command step tests: where a click picks each of them, points on empty
// paper, and every text the view writes on the prompt pane. Walls, doors and
// windows for the architectural commands are added by the tests that need
// them, above the rest; the view tools record what the commands call.
#pragma once

#include "doc/apphost.h"
#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "support/blocks.h"
#include "support/recording_tools.h"
#include "view2d/viewtools.h"
#include "view_fixture.h"

#include <array>
#include <string>
#include <vector>

// Records what goes to the prompt pane and passes every text on.
class PaneRecorder : public CAppHost {
public:
    PaneRecorder() : m_next(InstallAppHost(this)) {}
    ~PaneRecorder() override { InstallAppHost(m_next); }
    PaneRecorder(const PaneRecorder&) = delete;
    PaneRecorder& operator=(const PaneRecorder&) = delete;

    void SetPaneText(int pane, const std::string& text) override
    {
        if (pane == 0)
            prompts.push_back(text);
        m_next->SetPaneText(pane, text);
    }
    void CountNewDocument() override { m_next->CountNewDocument(); }

    std::vector<std::string> prompts;

private:
    CAppHost* m_next;
};

class StepsTest : public ViewTest {
public:
    // kRoomWall: just inside the room's bottom inner face (AddRoom); kLeg: wall
    // B's first face above wall A (AddCrossingWalls).
    enum Target { kLine, kLine2, kCircle, kArc, kPLine, kText, kInsert, kDim, kFace, kMiss, kRoomWall, kLeg };
    // Where a click picks the door and the window (AddDoor, AddWindow) and the
    // crossing walls' lines A1, A2, B1, B2 (AddCrossingWalls).
    static inline const CPointd kDoorPick{8, 7.4};
    static inline const CPointd kWindowPick{8, 8.75};
    static inline const std::array<CPointd, 4> kCrossingPicks{{{5.5, 7.4}, {5.5, 7.7}, {7, 6.8}, {7.4, 6.8}}};

protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;
        doc.AddLayer(0, 1)->m_name = "L";
        line = Add(ENT_LINE, NewLine(1, 1, 3, 1));
        line2 = Add(ENT_LINE, NewLine(4, 0.5, 4, 2.5));
        auto* c = new CCirc;
        c->m_centre = CPointd(6, 1.5);
        c->m_rx = c->m_ry = 0.5;
        circle = Add(ENT_CIRCLE, c);
        auto* a = new CArc;
        a->m_centre = CPointd(8, 1.5);
        a->m_rx = a->m_ry = 0.5;
        a->m_end = 3.14159;
        arc = Add(ENT_ARC, a);
        CObList segs(ListOwnership::owns);
        segs.AddTail(new CDib(ENT_LINE, NewLine(1, 3, 3, 3)));
        segs.AddTail(new CDib(ENT_LINE, NewLine(3, 3, 3, 4.5)));
        pline = Add(ENT_PLINE, new CPLine(1, 0, "L", segs, 0, 0, 0, 1));
        auto* t = new CText(1, 0, "L");
        t->m_text = "ABC";
        t->m_insert = CPointd(5, 3.5);
        t->m_font = doc.m_textFont;
        t->m_justify = 1;
        text = Add(ENT_TEXT, t);
        AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 1, 0)}, {ENT_LINE, NewLine(0, 0, 0, 1)}});
        insert = Add(ENT_INSERT, NewInsert("B", 7, 3.2));
        dim = doc.AddLinearDim(1, 0, "L", CPointd(1, 5.5), CPointd(3, 5.5), CPointd(2, 6.2));
        auto* f = new CTdface;
        const CPointd corners[4] = {{9, 3}, {10, 3}, {10, 4}, {9, 4}};
        for (int i = 0; i < 4; ++i)
            f->m_c[i] = corners[i];
        face = Add(ENT_3DFACE, f);
        view.Invalidate();
    }

    template <class T>
    T* Add(int type, T* entity)
    {
        doc.AppendEntityRecord(new CDib(type, entity));
        return entity;
    }

    CPointd PointOn(Target t) const
    {
        switch (t) {
        case kLine: return {2, 1};
        case kLine2: return {4, 2};
        case kCircle: return {6.5, 1.5};
        case kArc: return {8, 2};
        case kPLine: return {2, 3};
        case kText: {
            CPointd c[4];
            text->AlignPoint(text->m_insert, c[0], c[1], c[2], c[3]);
            return {(c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2};
        }
        case kInsert: return {7.5, 3.2};
        case kDim: {
            // The middle of the first line the dimension draws.
            POSITION pos = dim->GetFirstPartPosition();
            int type = 0;
            dim->GetNextPart(pos, type);
            const auto* l = static_cast<const CRecta*>(dim->GetNextPart(pos, type));
            return {(l->m_p1.x + l->m_p2.x) / 2, (l->m_p1.y + l->m_p2.y) / 2};
        }
        case kFace: return {9.5, 3};
        case kMiss: return {11, 7.5};
        case kRoomWall: return {8.5, 7.05};
        case kLeg: return {7, 8.5};
        }
        return {};
    }

    POSITION PosOf(const CObject* e) const
    {
        for (POSITION pos = doc.GetFirstEntityPosition(); pos;) {
            const POSITION here = pos;
            int type = 0;
            if (doc.GetNextEntity(pos, type) == e)
                return here;
        }
        return nullptr;
    }

    CRecta* AddWallLine(double x1, double y1, double x2, double y2)
    {
        CRecta* l = NewLine(x1, y1, x2, y2);
        l->m_layer = "WALLS";
        return Add(ENT_LINE, l);
    }
    // A room of walls 0.3 thick: outer faces x 4.5 to 10, y 6.7 to 8.9; inner
    // faces x 4.8 to 9.7, y 7 to 8.6, enclosing 4.9 x 1.6.
    void AddRoom()
    {
        for (auto [x0, y0, x1, y1] : {std::array{4.5, 6.7, 10.0, 8.9}, std::array{4.8, 7.0, 9.7, 8.6}}) {
            AddWallLine(x0, y0, x1, y0);
            AddWallLine(x1, y0, x1, y1);
            AddWallLine(x1, y1, x0, y1);
            AddWallLine(x0, y1, x0, y0);
        }
    }
    // A door in the room's bottom wall from x 8 to 8.725 (its leaf up to y
    // 7.725 at x 8), and a window in the top wall from x 7.5 to 8.5.
    CObject* AddDoor()
    {
        ViewTools().BuildDoor(doc, view, CPointd(7.5, 6.7), CPointd(8, 6.7), CPointd(8, 7));
        return doc.GetLastEntityRecord()->m_entity;
    }
    CObject* AddWindow()
    {
        ViewTools().BuildWindow(doc, view, CPointd(7, 8.6), CPointd(7.5, 8.6), CPointd(7.5, 8.9));
        return doc.GetLastEntityRecord()->m_entity;
    }
    // Wall A along x (faces y 7.4 and 7.7, x 5 to 9.5) crossing wall B along y
    // (faces x 7 and 7.4, y 6.6 to 8.8): A1, A2, B1, B2.
    std::array<CRecta*, 4> AddCrossingWalls()
    {
        return {AddWallLine(5, 7.4, 9.5, 7.4), AddWallLine(5, 7.7, 9.5, 7.7), AddWallLine(7, 6.6, 7, 8.8),
                AddWallLine(7.4, 6.6, 7.4, 8.8)};
    }


    void Pick(Target t) { view.OnLButtonDown(MK_LBUTTON, At(PointOn(t).x, PointOn(t).y)); }

    int Records() const { return doc.GetEntityList().GetCount(); }

    PaneRecorder panes;
    RecordingTools tools;
    CRecta* line = nullptr;
    CRecta* line2 = nullptr;
    CCirc* circle = nullptr;
    CArc* arc = nullptr;
    CPLine* pline = nullptr;
    CText* text = nullptr;
    CInsBl* insert = nullptr;
    CAcot* dim = nullptr;
    CTdface* face = nullptr;
};

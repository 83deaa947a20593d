// A drawing with one record of every built kind at known places, for the
// command step tests: where a click picks each of them, points on empty
// paper, and every text the view writes on the prompt pane.
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
#include "view2d/notbuilt.h"
#include "view_fixture.h"

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

    // The texts shown that say an operation is missing, joined by "; ".
    std::string MissingTexts() const
    {
        std::string said;
        for (const std::string& p : prompts)
            if (p.find("not in this build yet") != p.npos || p.find("not available yet") != p.npos)
                said += (said.empty() ? "" : "; ") + p;
        return said;
    }
    bool SaidMissing() const { return !MissingTexts().empty(); }

    std::vector<std::string> prompts;

private:
    CAppHost* m_next;
};

class StepsTest : public ViewTest {
public:
    enum Target { kLine, kLine2, kCircle, kArc, kPLine, kText, kInsert, kDim, kFace, kMiss };

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
        }
        return {};
    }

    void Pick(Target t) { view.OnLButtonDown(MK_LBUTTON, At(PointOn(t).x, PointOn(t).y)); }
    void Click(double x, double y) { view.OnLButtonDown(MK_LBUTTON, At(x, y)); }
    void Right() { view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5}); }

    // The text a stub shows, or empty when the operation is built.
    static std::string MissingText(const char* operation)
    {
        for (const NotBuiltOperation& op : NotBuiltOperations())
            if (std::string(op.name) == operation)
                return std::string(op.command) + ": not in this build yet";
        return {};
    }

    int Records() const { return doc.GetEntityList().GetCount(); }

    PaneRecorder panes;
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

// Wall joints: the X, T and L joints of two walls drawn as pairs of face lines.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "view2d/archedit.h"
#include "view2d/archgeom.h"
#include "view2d/lineedit.h"

#include <optional>
#include <vector>

namespace {

struct Face {
    CDib* record = nullptr;
    POSITION pos = nullptr;
    CRecta* line = nullptr;
};

// a[0] and a[1] are the faces of one wall, b[0] and b[1] those of the other.
struct Walls {
    Face a[2];
    Face b[2];
};

// The carriers of a and b meet at out; false when they run parallel.
bool Meet(const CRecta& a, const CRecta& b, Pt2& out)
{
    return IntersectRectas(a, b, 0, out);
}

// Where p lies along the line: 0 at P1, 1 at P2.
double Along(const CRecta& l, const Pt2& p)
{
    double t = 0.0;
    FootParameter(p, Plan(l.m_p1), Plan(l.m_p2), t);
    return t;
}

// p, a point of the line's carrier, lies on the segment, ends included.
bool OnSegment(const CRecta& l, const Pt2& p)
{
    constexpr double kSlack = 1e-9;
    const double t = Along(l, p);
    return t >= -kSlack && t <= 1.0 + kSlack;
}

// The selection as the faces of two walls, or nothing: exactly four lines of
// some length, of which first (the first selected when null) and the one
// parallel to it are one wall and the two that meet it, parallel to each
// other, the other wall (in selection order).
std::optional<Walls> WallRoles(const CRectaView& view, const CObject* first)
{
    const CRectaDoc* doc = view.GetDocument();
    std::vector<Face> faces;
    for (POSITION node = view.GetFirstSelectedPosition(); node;) {
        const POSITION pos = doc->FindEntityBySerial(view.GetNextSelected(node)->m_serial);
        CDib* dib = pos ? doc->GetEntityRecord(pos) : nullptr;
        if (!dib || dib->m_type != ENT_LINE)
            return std::nullopt;
        auto* line = static_cast<CRecta*>(dib->m_entity);
        if (!(DistancePoints(line->m_p1, line->m_p2) > 0.0))
            return std::nullopt;
        Face face{dib, pos, line};
        if (line == first)
            faces.insert(faces.begin(), face);
        else
            faces.push_back(face);
    }
    if (faces.size() != 4 || (first && faces.front().line != first))
        return std::nullopt;
    Walls w;
    w.a[0] = faces[0];
    int parallel = 0, meeting = 0;
    Pt2 x;
    for (std::size_t i = 1; i < faces.size(); ++i) {
        if (!Meet(*faces[0].line, *faces[i].line, x)) {
            if (parallel == 1)
                return std::nullopt;
            w.a[++parallel] = faces[i];
        } else {
            if (meeting == 2)
                return std::nullopt;
            w.b[meeting++] = faces[i];
        }
    }
    if (Meet(*w.b[0].line, *w.b[1].line, x))
        return std::nullopt;
    return w;
}

// The face runs from its end on the side of toward to corner.
void EndAtCorner(CRectaDoc& doc, CRectaView& view, const Face& f, const Pt2& corner, const Pt2& toward)
{
    EndLineAtCorner(doc, view, *f.record, f.pos, corner, toward);
}

}  // namespace

void CRectaView::WallJointX()
{
    const std::optional<Walls> w = WallRoles(*this, nullptr);
    if (!w) {
        ShowPrompt(0, "X Joint: select the four lines of two walls");
        return;
    }
    // x[i][j]: where face a[i] crosses face b[j]; every crossing must lie on both faces.
    Pt2 x[2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            if (!Meet(*w->a[i].line, *w->b[j].line, x[i][j]) || !OnSegment(*w->a[i].line, x[i][j]) ||
                !OnSegment(*w->b[j].line, x[i][j])) {
                ShowPrompt(0, "X Joint: the walls do not cross");
                return;
            }
    CRectaDoc& doc = *GetDocument();
    auto open = [&](const Face& f, const Pt2& p, const Pt2& q) {
        CutGapInLine(doc, *this, *f.line, *f.record, f.pos, OnCarrier(*f.line, p), OnCarrier(*f.line, q));
    };
    for (int i = 0; i < 2; ++i) {
        open(w->a[i], x[i][0], x[i][1]);
        open(w->b[i], x[0][i], x[1][i]);
    }
}

void CRectaView::WallJointT(const CPointd& pick)
{
    const std::optional<Walls> w = WallRoles(*this, m_pickedLine);
    if (!w) {
        ShowPrompt(0, "T Joint: select four wall lines, then the leg");
        return;
    }
    const Face& leg = w->a[0];
    const Face& partner = w->a[1];
    // The through wall's face nearer the pick; on a tie the first selected.
    Pt2 m[2];
    for (int j = 0; j < 2; ++j)
        Meet(*leg.line, *w->b[j].line, m[j]);
    const Pt2 k = Plan(pick);
    const int near = Distance2D(m[1], k) < Distance2D(m[0], k) ? 1 : 0;
    const Face& through = w->b[near];
    const Pt2 i1 = m[near];
    Pt2 i2;
    Meet(*partner.line, *through.line, i2);
    if (!OnSegment(*through.line, i1) || !OnSegment(*through.line, i2)) {
        ShowPrompt(0, "T Joint: the leg does not meet the other wall");
        return;
    }
    // The leg keeps its side of the pick, or its far end when picked at the face.
    CRectaDoc& doc = *GetDocument();
    const Pt2 partnerSide{i2.x + k.x - i1.x, i2.y + k.y - i1.y};
    EndAtCorner(doc, *this, leg, i1, k);
    EndAtCorner(doc, *this, partner, i2, partnerSide);
    CutGapInLine(doc, *this, *through.line, *through.record, through.pos, OnCarrier(*through.line, i1),
                 OnCarrier(*through.line, i2));
}

void CRectaView::WallJointL()
{
    const std::optional<Walls> w = WallRoles(*this, nullptr);
    if (!w) {
        ShowPrompt(0, "L Joint: select the four lines of two walls");
        return;
    }
    const CPointd& click = m_secondPoint;
    // The face nearer the click is the wall's inner one; on a tie the second.
    auto inner = [&](const Face (&pair)[2]) {
        CPointd foot;
        return PerpendicularFoot(click, *pair[0].line, foot) < PerpendicularFoot(click, *pair[1].line, foot) ? 0 : 1;
    };
    const int ia = inner(w->a), ib = inner(w->b);
    CRectaDoc& doc = *GetDocument();
    auto corner = [&](const Face& fa, const Face& fb) {
        Pt2 c;
        if (!Meet(*fa.line, *fb.line, c))
            return;
        CPointd footA, footB;
        PerpendicularFoot(click, *fa.line, footA);
        PerpendicularFoot(click, *fb.line, footB);
        EndAtCorner(doc, *this, fa, c, Plan(footA));
        EndAtCorner(doc, *this, fb, c, Plan(footB));
    };
    corner(w->a[ia], w->b[ib]);
    corner(w->a[1 - ia], w->b[1 - ib]);
}

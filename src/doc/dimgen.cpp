// Linear and radial dimensions laid out from picked points.
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/fontrecord.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/strutil.h"
#include "model/text.h"
#include "model/transform.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kArrowStroke = 0.4;
constexpr double kShoulder = 2.0;

CPointd At(const CPointd& p, double d, double a)
{
    return CPointd(PolarX(p.x, d, a), PolarY(p.y, d, a));
}

bool Finite(Pt2 p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// Foot of the perpendicular from t onto the line through p1 in direction theta.
Pt2 Foot(const CPointd& p1, const CPointd& p2, double theta, const CPointd& t)
{
    Pt2 f;
    const CPointd t2 = At(t, 1.0, theta + kPi / 2);
    if (IntersectLines(Plan(p1), Plan(p2), Plan(t), Plan(t2), f) && Finite(f))
        return f;
    // p1 and p2 coincide: project onto the direction theta instead.
    const double ux = std::cos(theta), uy = std::sin(theta);
    const double s = (t.x - p1.x) * ux + (t.y - p1.y) * uy;
    return {p1.x + s * ux, p1.y + s * uy};
}

// Text direction theta as a font escapement in tenths of a degree, clockwise.
LONG Escapement(double theta)
{
    return LONG(-std::lround(RadToDeg(theta) * 10.0));
}

class PartBuilder {
public:
    PartBuilder(const CRectaDoc& doc, int width, COLORREF color, std::string_view layer)
        : m_doc(doc), m_width(width), m_color(color), m_layer(layer)
    {
    }

    void Line(const CPointd& a, const CPointd& b)
    {
        auto* l = m_doc.NewRecta(m_width, m_color, m_layer);
        l->m_p1 = a;
        l->m_p2 = b;
        m_parts.AddTail(new CDib(ENT_LINE, l));
    }
    void Text(const CPointd& at, const std::string& text, LONG escapement)
    {
        auto* t = new CText(m_width, m_color, m_layer);
        t->m_insert = at;
        t->m_text = text;
        t->m_justify = JUSTIFY_CENTRE;
        CopyLogFont(t->m_font, m_doc.m_dimFont);
        t->m_font.lfEscapement = escapement;
        m_parts.AddTail(new CDib(ENT_TEXT, t));
    }

    CObList m_parts{ListOwnership::owns};  // until the dimension takes them over

private:
    const CRectaDoc& m_doc;
    int m_width;
    COLORREF m_color;
    std::string m_layer;
};

}  // namespace

CAcot* CRectaDoc::AddLinearDim(int width, COLORREF color, std::string_view layer, const CPointd& p1,
                               const CPointd& p2, const CPointd& textAt)
{
    const double o = m_dimParams[0], k = m_dimParams[1], t = m_dimParams[2], g = m_dimParams[3];
    const double len = Distance2D(p1.x, p2.x, p1.y, p2.y);
    const std::string text = FormatNumber(len, m_coordDecimals);
    const double theta = Angle2D(p1.x, p1.y, p2.x, p2.y);
    const Pt2 f = Foot(p1, p2, theta, textAt);
    const double h = Distance2D(f, Plan(textAt));
    // With the text on the measured line the extension lines stand square to it.
    const double phi = h > 1e-9 ? Angle2D(f, Plan(textAt)) : theta + kPi / 2;
    const CPointd d1 = At(p1, h, phi), d2 = At(p2, h, phi);
    const CPointd mid((d1.x + d2.x) / 2.0, (d1.y + d2.y) / 2.0);

    PartBuilder b(*this, width, color, layer);
    b.Line(d1, d2);  // definition line
    b.Line(d1, d2);
    if (m_markName1.compare(0, 3, "DEF") == 0) {
        for (const CPointd& d : {d1, d2}) {
            b.Line(At(d, t, theta + kPi / 4), At(d, t, theta + 5 * kPi / 4));
            b.Line(At(d, o, phi), At(d, k, phi + kPi));
        }
    } else {
        const CBloq* a = FindBlock(m_markName1);
        const CBloq* bm = FindBlock(m_markName2);
        if (a && bm)
            AddDimensionMarks(*a, *bm, b.m_parts, layer, d1, d2, 1);
    }
    b.Text(At(mid, g, theta + kPi / 2), text, Escapement(theta));

    auto* dim = new CAcot(width, color, layer, b.m_parts);
    AppendEntityRecord(new CDib(ENT_DIMENSION, dim));
    SetModifiedFlag();
    return dim;
}

void CRectaDoc::AddDimensionMarks(const CBloq& a, const CBloq& b, CObList& parts, std::string_view layer,
                                  const CPointd& d1, const CPointd& d2, int flag)
{
    const double alpha = Angle2D(d1.x, d1.y, d2.x, d2.y);
    const double rho = flag == 1 ? alpha : alpha + kPi;
    const CPlacement at1{d1.x, d1.y, 0.0, rho, 1.0, 1.0};
    const CPlacement at2{d2.x, d2.y, 0.0, rho, 1.0, 1.0};
    CRecta bisector;  // the perpendicular bisector of d1-d2
    bisector.m_p1 = CPointd((d1.x + d2.x) / 2.0, (d1.y + d2.y) / 2.0);
    bisector.m_p2 = At(bisector.m_p1, 0.1, alpha + kPi / 2);
    auto add = [&](const CBloq& block, auto place) {
        for (CObject* obj : block.GetEntityList()) {
            const auto* dib = static_cast<const CDib*>(obj);
            if (dib->m_type != ENT_LINE)
                continue;
            auto* l = new CRecta;
            l->Copy(*static_cast<const CRecta*>(dib->m_entity));
            l->m_layer = layer;
            place(*l);
            parts.AddTail(new CDib(ENT_LINE, l));
        }
    };
    add(a, [&](CRecta& l) { PlaceEntity(l, at1); });
    if (&b == &a) {
        add(b, [&](CRecta& l) {
            PlaceEntity(l, at1);
            MirrorEntity(l, bisector, alpha);
        });
    } else {
        add(b, [&](CRecta& l) { PlaceEntity(l, at2); });
    }
}

CAcot* CRectaDoc::AddRadialDim(int width, COLORREF color, std::string_view layer, const CObject* curve, int type,
                               const CPointd& p, const CPointd& q)
{
    double r = 0.0;
    CPointd k;
    if (type == ENT_CIRCLE) {
        const auto* c = static_cast<const CCirc*>(curve);
        r = c->m_rx;
        k = c->m_centre;
    } else {
        const auto* a = static_cast<const CArc*>(curve);
        r = a->m_rx;
        k = a->m_centre;
    }
    const std::string text = FormatNumber(r, m_coordDecimals);
    const double len = Distance2D(p.x, q.x, p.y, q.y);
    const double beta = Angle2D(k.x, k.y, p.x, p.y);
    const CPointd a = At(k, r, beta);
    const CPointd bp = At(a, len, beta + kPi);
    const double sigma = AngleBetween(beta, 0.0) <= AngleBetween(beta, kPi) ? kPi : 0.0;
    const CPointd e = At(bp, kShoulder, sigma);

    PartBuilder b(*this, width, color, layer);
    b.Line(CPointd(k.x, k.y), a);  // definition line
    b.Line(bp, a);
    b.Line(bp, e);
    b.Line(a, At(a, kArrowStroke, beta + 3 * kPi / 4));
    b.Line(a, At(a, kArrowStroke, beta + 5 * kPi / 4));
    const CPointd mid((bp.x + e.x) / 2.0, (bp.y + e.y) / 2.0);
    b.Text(At(mid, m_dimParams[3], kPi / 2), text, 0);

    auto* dim = new CAcot(width, color, layer, b.m_parts);
    AppendEntityRecord(new CDib(ENT_DIMENSION, dim));
    SetModifiedFlag();
    return dim;
}

#include "view3d/surfaces.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRevolutionSteps = 12;

// The polyline's vertices, arcs every 5 degrees.
std::vector<CPointd> Vertices(const CPLine& pl)
{
    CObList points{ListOwnership::owns};
    double area = 0.0, perimeter = 1.0;  // not 0: the points stay
    pl.GetVertices(area, points, perimeter);
    std::vector<CPointd> v;
    for (CObject* obj : points)
        v.push_back(*static_cast<const CPointd*>(obj));
    return v;
}

class FaceList {
public:
    explicit FaceList(const CRectaDoc& doc) : m_doc(doc) {}
    void Add(const CPointd& a, const CPointd& b, const CPointd& c, const CPointd& d)
    {
        auto* f = new CTdface(m_doc.m_penWidth, m_doc.m_color, m_doc.m_layerName, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
        f->m_c[0] = a;
        f->m_c[1] = b;
        f->m_c[2] = c;
        f->m_c[3] = d;
        m_faces.AddTail(new CDib(ENT_3DFACE, f));
    }
    CObList& Faces() { return m_faces; }

private:
    const CRectaDoc& m_doc;
    CObList m_faces{ListOwnership::owns};
};

// The faces in a new surface block and its insert at the origin.
void InsertSurface(CRectaDoc& doc, CRectaView& view, CObList& faces)
{
    std::string name;
    int& counter = doc.m_toolWords[TW_SURFACE_BLOCKS];
    do
        name = "ZP_S" + std::to_string(++counter);
    while (doc.FindBlock(name));
    doc.AddBlock(CPointd(), faces, name);
    CInsBl* insert =
        doc.AddInsBlOnLayer(doc.m_penWidth, doc.m_color, doc.m_layerName, CPointd(), 1.0, 0.0, 1.0, name);
    doc.ExtendExtentsByEntity(ENT_INSERT, insert);
    view.AddUndoStep(UNDO_ADDED, ENT_INSERT, doc.GetLastEntityRecord(), doc.GetLastEntityPosition());
    view.SaveUndoState();
    view.ClearPendingSteps();
}

// p turned by angle about the line through o along the unit k.
CPointd Turned(const CPointd& p, const CPointd& o, const CPointd& k, double angle)
{
    const double vx = p.x - o.x, vy = p.y - o.y, vz = p.z - o.z;
    const double c = std::cos(angle), s = std::sin(angle);
    const double along = (k.x * vx + k.y * vy + k.z * vz) * (1.0 - c);
    const double cx = k.y * vz - k.z * vy, cy = k.z * vx - k.x * vz, cz = k.x * vy - k.y * vx;
    return CPointd(o.x + vx * c + cx * s + k.x * along, o.y + vy * c + cy * s + k.y * along,
                   o.z + vz * c + cz * s + k.z * along);
}

}  // namespace

void GenSupRev(CRectaDoc& doc, CRectaView& view, CRecta* axis, CPLine* profile)
{
    const std::vector<CPointd> v = profile ? Vertices(*profile) : std::vector<CPointd>{};
    const double len = axis ? std::hypot(axis->m_p2.x - axis->m_p1.x, axis->m_p2.y - axis->m_p1.y,
                                         axis->m_p2.z - axis->m_p1.z)
                               : 0.0;
    if (v.size() < 2 || !(len > 0.0) || !std::isfinite(len)) {
        view.ShowPrompt(0, "Revolution: needs an axis line and a polyline");
        return;
    }
    const CPointd& o = axis->m_p1;
    const CPointd k((axis->m_p2.x - o.x) / len, (axis->m_p2.y - o.y) / len, (axis->m_p2.z - o.z) / len);
    FaceList faces(doc);
    const double step = 2.0 * std::numbers::pi / kRevolutionSteps;
    for (std::size_t i = 0; i + 1 < v.size(); ++i)
        for (int j = 0; j < kRevolutionSteps; ++j) {
            const double a0 = step * j, a1 = step * (j + 1);
            faces.Add(Turned(v[i], o, k, a0), Turned(v[i + 1], o, k, a0), Turned(v[i + 1], o, k, a1),
                      Turned(v[i], o, k, a1));
        }
    InsertSurface(doc, view, faces.Faces());
}

void GenSupTab(CRectaDoc& doc, CRectaView& view, CPLine* edge)
{
    const std::vector<CPointd> v = edge ? Vertices(*edge) : std::vector<CPointd>{};
    const double h = doc.m_thickness;
    if (v.size() < 2 || !(h != 0.0) || !std::isfinite(h)) {
        view.ShowPrompt(0, "Tab. surface: needs a polyline and a thickness");
        return;
    }
    FaceList faces(doc);
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
        const CPointd& a = v[i];
        const CPointd& b = v[i + 1];
        faces.Add(a, b, CPointd(b.x, b.y, b.z + h), CPointd(a.x, a.y, a.z + h));
    }
    InsertSurface(doc, view, faces.Faces());
}

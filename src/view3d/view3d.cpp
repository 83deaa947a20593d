#include "view3d/view3d.h"

#include "doc/apphost.h"
#include "doc/rectadoc.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/entitydraw.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "platform/imagedc.h"
#include "view3d/wireframe.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kDefaultLens = 0.45;

double Dot3(const double (&a)[3], double x, double y, double z)
{
    return a[0] * x + a[1] * y + a[2] * z;
}

void Unit(double (&v)[3])
{
    const double len = std::hypot(v[0], v[1], v[2]);
    for (double& c : v)
        c /= len;
}

}  // namespace

std::optional<C3DCamera> SectionCamera(const CPointd& p1, const CPointd& p2, const CPointd& visible, double height)
{
    const double dx = p2.x - p1.x, dy = p2.y - p1.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length))
        return std::nullopt;
    // The unit normal of the section towards the visible point, and how far that lies.
    double nx = -dy / length, ny = dx / length;
    double reach = (visible.x - p1.x) * nx + (visible.y - p1.y) * ny;
    if (reach < 0.0) {
        nx = -nx;
        ny = -ny;
        reach = -reach;
    }
    if (!(reach > 0.0))
        return std::nullopt;
    C3DCamera camera;
    camera.target = CPointd((p1.x + p2.x) / 2, (p1.y + p2.y) / 2, height);
    camera.eye = CPointd(camera.target.x - nx * length, camera.target.y - ny * length, height);
    camera.nearDepth = length;
    camera.farDepth = length + reach;
    return camera;
}

// ---------------------------------------------------------------- projection

CProjector::CProjector(const C3DCamera& camera, int width, int height) : m_eye(camera.eye)
{
    double ahead[3] = {camera.target.x - camera.eye.x, camera.target.y - camera.eye.y,
                       camera.target.z - camera.eye.z};
    const double distance = std::hypot(ahead[0], ahead[1], ahead[2]);
    if (!(distance > 0.0) || !std::isfinite(distance))
        return;
    Unit(ahead);
    // Right is level; looking straight up or down, it is the world's x.
    double right[3] = {ahead[1], -ahead[0], 0.0};
    if (std::hypot(right[0], right[1]) < 1e-9) {
        right[0] = 1.0;
        right[1] = 0.0;
    }
    Unit(right);
    const double up[3] = {right[1] * ahead[2] - right[2] * ahead[1], right[2] * ahead[0] - right[0] * ahead[2],
                          right[0] * ahead[1] - right[1] * ahead[0]};
    std::copy(std::begin(ahead), std::end(ahead), m_ahead);
    std::copy(std::begin(right), std::end(right), m_right);
    std::copy(std::begin(up), std::end(up), m_up);
    const double lens = camera.lens > 0.0 && std::isfinite(camera.lens) ? camera.lens : kDefaultLens;
    m_k = 2.0 * lens * std::min(width, height);
    m_cx = width / 2.0;
    m_cy = height / 2.0;
    // Nothing at or behind the eye projects.
    m_near = std::max(camera.nearDepth, distance * 1e-9);
    m_far = camera.farDepth;
    m_valid = true;
}

CProjector::Eye CProjector::ToEye(const CPointd& p) const
{
    const double x = p.x - m_eye.x, y = p.y - m_eye.y, z = p.z - m_eye.z;
    return {Dot3(m_right, x, y, z), Dot3(m_up, x, y, z), Dot3(m_ahead, x, y, z)};
}

LPoint CProjector::ToWindow(const Eye& e) const
{
    return {SaturateToLogical(m_cx + m_k * e.x / e.z), SaturateToLogical(m_cy - m_k * e.y / e.z)};
}

bool CProjector::Segment(const CPointd& a, const CPointd& b, LPoint& pa, LPoint& pb) const
{
    if (!m_valid)
        return false;
    Eye ea = ToEye(a), eb = ToEye(b);
    // Cuts the segment where its depth crosses limit, keeping the side that keep says.
    auto cut = [&](double limit, bool keepAbove) {
        const bool aIn = keepAbove ? ea.z >= limit : ea.z <= limit;
        const bool bIn = keepAbove ? eb.z >= limit : eb.z <= limit;
        if (!aIn && !bIn)
            return false;
        if (aIn && bIn)
            return true;
        const double t = (limit - ea.z) / (eb.z - ea.z);
        const Eye at{ea.x + t * (eb.x - ea.x), ea.y + t * (eb.y - ea.y), limit};
        (aIn ? eb : ea) = at;
        return true;
    };
    if (!cut(m_near, true) || (std::isfinite(m_far) && !cut(m_far, false)))
        return false;
    if (!std::isfinite(ea.x + ea.y + eb.x + eb.y))
        return false;
    pa = ToWindow(ea);
    pb = ToWindow(eb);
    return true;
}

// ---------------------------------------------------------------- view

CRectaDoc* CView3D::GetDocument() const
{
    return static_cast<CRectaDoc*>(CView::GetDocument());
}

C3DCamera CView3D::Camera() const
{
    if (m_fixedCamera)
        return *m_fixedCamera;
    C3DCamera camera;
    if (const CRectaDoc* doc = GetDocument()) {
        const int i = std::clamp(doc->m_toolWords[TW_CAMERA], 0, 5);
        camera.eye = doc->m_cameraEye[i];
        camera.target = doc->m_cameraTarget[i];
        camera.lens = doc->m_cameraLens[i];
    }
    return camera;
}

void CView3D::OnSize(int width, int height)
{
    m_width = std::max(width, 1);
    m_height = std::max(height, 1);
    Invalidate();
}

void CView3D::Invalidate()
{
    m_dirty = true;
    Changed();
}

void CView3D::Changed()
{
    if (m_onChanged)
        m_onChanged();
}

const QImage& CView3D::Image()
{
    if (m_dirty || m_image.width() != m_width || m_image.height() != m_height) {
        m_dirty = false;
        m_image = QImage(m_width, m_height, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        CImageDC dc(&m_image);
        OnDraw(dc);
    }
    return m_image;
}

void CView3D::OnDraw(CDC& dc)
{
    const CRectaDoc* doc = GetDocument();
    if (!doc)
        return;
    const CProjector projector(Camera(), m_width, m_height);
    if (!projector.Valid())
        return;
    NestedWork work;
    for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
        const CDib* dib = doc->GetEntityRecord(pos);
        doc->GetEntityList().GetNext(pos);
        if (dib->m_visible == 1 && dib->m_flag == 1)
            Draw(dc, projector, dib->m_type, dib->m_entity, false, work);
    }
    SayWhatWasLeftOut(work);
}

void CView3D::SayWhatWasLeftOut(const NestedWork& work) const
{
    // A drawing that is not the active one does not write the panes.
    if (work.cut && AppHost().IsActiveDrawing(*GetDocument()))
        AppHost().SetPaneText(2, kNestedWorkMessage);
}

void CView3D::Draw(CDC& dc, const CProjector& projector, int type, const CObject* entity, bool invert,
                   NestedWork& work) const
{
    const CRectaDoc& doc = *GetDocument();
    if (type == ENT_INSERT) {
        // Every face and edge of the block: the camera may see any of them.
        const auto& insert = *static_cast<const CInsBl*>(entity);
        if (const CBloq* block = insert.FindBlock(doc))
            WalkPlacedInWindow(doc, *block, insert.Placement(), PlacedQuery{}, work, [&](PlacedPart& part) {
                Draw(dc, projector, part.element->m_type, part.element->m_entity, invert, work);
            });
        return;
    }
    const CEntity* pen = IsEntityType(type) ? EntityKind(type).Pen(entity) : nullptr;
    if (!pen)
        return;
    std::vector<Edge3> edges;
    AppendEdges3D(type, entity, doc, edges);
    auto draw = [&] {
        for (const Edge3& e : edges) {
            LPoint a, b;
            if (projector.Segment(e.a, e.b, a, b)) {
                dc.MoveTo(a.x, a.y);
                dc.LineTo(b.x, b.y);
            }
        }
    };
    if (invert)
        WithInvertingPen(dc, pen->m_width, draw);
    else
        WithEntityPen(dc, *pen, DrawKind::normal, draw);
}

void CView3D::DrawOnImage(int type, const CObject* entity, bool invert)
{
    if (m_dirty || !GetDocument())
        return;  // the coming repaint draws it
    CImageDC dc(&m_image);
    NestedWork work;
    Draw(dc, CProjector(Camera(), m_width, m_height), type, entity, invert, work);
    SayWhatWasLeftOut(work);
    Changed();
}

void CView3D::OnUpdate(CView*, long hint, CObject*)
{
    if (hint == 0)
        Invalidate();
}

void CView3D::DrawAddedEntity(int type, CObject* entity)
{
    DrawEntity(type, entity);
}

void CView3D::DrawEntity(int type, CObject* entity)
{
    DrawOnImage(type, entity, false);
}

void CView3D::EraseEntity(int type, CObject* entity)
{
    DrawEntityXor(type, entity);
}

void CView3D::DrawEntityXor(int type, CObject* entity)
{
    DrawOnImage(type, entity, true);
}

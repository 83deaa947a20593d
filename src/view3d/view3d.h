// The 3D view: a document's drawing in perspective from a camera, as a
// wireframe. It draws into its own image; a window shows the image and hands
// it its size.
#pragma once

#include "model/pointd.h"
#include "platform/dc.h"
#include "platform/document.h"

#include <QImage>

#include <functional>
#include <limits>
#include <optional>

class CDC;
class CRectaDoc;
struct NestedWork;

// Where a 3D view looks from. A point one unit aside for each unit of depth
// shows 2·lens times the window's smaller side from the window's centre.
// Only what lies between the two depths along the line of sight shows.
struct C3DCamera {
    CPointd eye, target;
    double lens = 0.45;
    double nearDepth = 0.0;
    double farDepth = std::numeric_limits<double>::infinity();
};

// The section along p1-p2 seen towards visible: the eye stands the section's
// length behind its middle, at height, looking square at it; the section's
// plane and the line through visible parallel to it bound what shows.
// Nothing when p1 and p2 coincide in the plan or visible lies on their line.
std::optional<C3DCamera> SectionCamera(const CPointd& p1, const CPointd& p2, const CPointd& visible, double height);

// Takes drawing points to window pixels for one camera and window size.
class CProjector {
public:
    CProjector(const C3DCamera& camera, int width, int height);
    // False when the eye and the target coincide.
    bool Valid() const { return m_valid; }
    // The part of a-b between the camera's depths, in window pixels; false when none is.
    bool Segment(const CPointd& a, const CPointd& b, LPoint& pa, LPoint& pb) const;

private:
    struct Eye {
        double x, y, z;  // aside, up, depth
    };
    Eye ToEye(const CPointd& p) const;
    LPoint ToWindow(const Eye& e) const;

    bool m_valid = false;
    CPointd m_eye;
    double m_right[3] = {}, m_up[3] = {}, m_ahead[3] = {};
    double m_k = 0.0, m_cx = 0.0, m_cy = 0.0;
    double m_near = 0.0, m_far = 0.0;
};

class CView3D : public CView {
public:
    CView3D() = default;
    ~CView3D() override = default;

    CRectaDoc* GetDocument() const;
    // A section window's own camera; without one the view follows the
    // document's current camera (eye, target and focal ratio).
    void SetCamera(const C3DCamera& camera) { m_fixedCamera = camera; }
    C3DCamera Camera() const;

    void OnSize(int width, int height);
    // The image, repainted first when it was invalidated.
    const QImage& Image();
    void Invalidate();
    // Every shown entity of the drawing.
    void OnDraw(CDC& dc);

    void OnUpdate(CView* sender, long hint, CObject* obj) override;
    void DrawAddedEntity(int type, CObject* entity) override;
    // One entity with its pens onto the image as it stands.
    void DrawEntity(int type, CObject* entity) override;
    // Taken off the image by inverting it.
    void EraseEntity(int type, CObject* entity) override;
    // One entity inverted: drawing it twice leaves the image as it was.
    void DrawEntityXor(int type, CObject* entity);

    // Called when the image changed and the window should show it again.
    std::function<void()> m_onChanged;

private:
    // The status pane's word on nested blocks left out, when work ran out.
    void SayWhatWasLeftOut(const NestedWork& work) const;
    // Nested blocks of inserts spend from work.
    void Draw(CDC& dc, const CProjector& projector, int type, const CObject* entity, bool invert,
              NestedWork& work) const;
    void DrawOnImage(int type, const CObject* entity, bool invert);
    void Changed();

    std::optional<C3DCamera> m_fixedCamera;
    QImage m_image;
    int m_width = 1, m_height = 1;
    bool m_dirty = true;
};

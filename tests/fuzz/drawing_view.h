// Loads untrusted bytes as a drawing and works a small plan view over it:
// paints, zooms to the extents, picks, snaps and selects by window. Shared by
// the fuzz target and the regression tests of its finds.
#pragma once

#include "doc/rectadoc.h"
#include "platform/archive.h"
#include "view2d/rectaview.h"

#include <cstddef>

// True when the bytes loaded as a drawing (and the view was worked over it).
inline bool LoadAndViewDrawing(const BYTE* data, std::size_t size)
{
    CRectaDoc doc;
    try {
        CArchive ar(std::span<const BYTE>(data, size));
        doc.Serialize(ar);
    } catch (const CArchiveException&) {
        return false;
    }
    constexpr int kW = 48, kH = 32, kStep = 12;
    CRectaView view;
    doc.AddView(&view);
    view.OnSize(kW, kH);
    view.OnInitialUpdate();
    view.Image();  // the drawing's own window
    view.OnZoomExtents();
    view.Image();
    for (int y = kStep / 2; y < kH; y += kStep)
        for (int x = kStep / 2; x < kW; x += kStep) {
            const CPointd p = view.DeviceToWorld(CPoint{x, y});
            CObject* entity = nullptr;
            int type = 0;
            if (POSITION pos = view.PickNearestEntity(p, entity, type))
                view.DrawEntityHighlighted(pos);
            for (int mode = 1; mode <= 9; ++mode) {
                view.m_snapMode = mode;
                CPointd snapped = p;
                view.OnEditPoint(snapped);
            }
        }
    const CPointd lo = view.DeviceToWorld(CPoint{0, kH}), hi = view.DeviceToWorld(CPoint{kW, 0});
    view.SelectByWindow(0, lo, hi);
    view.SelectByWindow(1, view.DeviceToWorld(CPoint{kW / 4, kH / 2}), view.DeviceToWorld(CPoint{kW / 2, kH / 4}));
    view.Invalidate();
    view.Image();  // the selection drawn dotted
    view.ClearSelection();
    doc.RemoveView(&view);
    return true;
}

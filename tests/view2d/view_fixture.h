// A drawing with one plan view of a fixed client size, for handler tests.
#pragma once

#include "app/rectaapp.h"
#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/recta.h"
#include "res/commands.h"
#include "support/pixels.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <gtest/gtest.h>

class ViewTest : public ::testing::Test {
protected:
    static constexpr int kW = 400, kH = 300;

    void SetUp() override
    {
        doc.OnNewDocument();
        Open(doc, view);
    }
    void TearDown() override { doc.RemoveView(&view); }

    // Opens v on d at the fixture's client size.
    static void Open(CRectaDoc& d, CRectaView& v)
    {
        d.AddView(&v);
        v.OnSize(kW, kH);
        v.OnInitialUpdate();
    }

    // A line of the drawing from (x1, y1) to (x2, y2), with no undo step.
    CRecta* LineFrom(double x1, double y1, double x2, double y2)
    {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(x1, y1);
        l->m_p2 = CPointd(x2, y2);
        return l;
    }
    // Device point of a drawing point.
    CPoint At(double x, double y) const { return view.WorldToDevicePoint(CPointd(x, y)); }
    void Click(double x, double y, unsigned flags = MK_LBUTTON) { view.OnLButtonDown(flags, At(x, y)); }
    void Right() { view.OnRButtonDown(MK_RBUTTON, CPoint{5, 5}); }
    // Records of the type, or all of them for 0.
    int Count(int type = 0) const
    {
        int n = 0;
        for (CObject* obj : doc.GetEntityList())
            n += type == 0 || static_cast<CDib*>(obj)->m_type == type;
        return n;
    }
    // The record a pick at drawing point (x, y) finds, or null.
    POSITION Pick(double x, double y)
    {
        CObject* e = nullptr;
        int type = 0;
        return view.PickNearestEntity(CPointd(x, y), e, type);
    }
    const std::string& Pane(int i) const { return theApp.Status().GetPaneText(i); }
    int Ink() { return InkPixels(view.Image()); }
    int Red() { return CountPixels(view.Image(), 0xFF0000); }

    CRectaDoc doc;
    CRectaView view;
};

// A plan view whose drawing and undo history are freed at the end, every
// element exactly once.
class FreedOnceTest : public ViewTest {
protected:
    void SetUp() override
    {
        base = CDib::LiveCount();
        ViewTest::SetUp();
    }
    void TearDown() override
    {
        FreeUndoHistory(view);
        doc.DeleteContents();
        EXPECT_EQ(CDib::LiveCount(), base) << "every element freed once";
        ViewTest::TearDown();
    }

    std::int64_t base = 0;
};

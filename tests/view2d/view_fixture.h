// A drawing with one plan view of a fixed client size, for handler tests.
#pragma once

#include "app/rectaapp.h"
#include "doc/rectadoc.h"
#include "res/commands.h"
#include "view2d/rectaview.h"

#include <gtest/gtest.h>

class ViewTest : public ::testing::Test {
protected:
    static constexpr int kW = 400, kH = 300;

    void SetUp() override
    {
        doc.OnNewDocument();
        doc.AddView(&view);
        view.OnSize(kW, kH);
        view.OnInitialUpdate();
    }
    void TearDown() override { doc.RemoveView(&view); }

    // Device point of a drawing point.
    CPoint At(double x, double y) const { return view.WorldToDevicePoint(CPointd(x, y)); }
    const std::string& Pane(int i) const { return theApp.Status().GetPaneText(i); }
    int Ink()
    {
        const QImage& img = view.Image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }

    CRectaDoc doc;
    CRectaView view;
};

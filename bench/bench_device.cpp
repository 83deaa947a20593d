// Device context drawing speed: 100,000 lines and 20,000 arcs on a 1600 x 1000
// image through CImageDC, against raw QPainter calls on the same device
// segments and arcs. Lines start anywhere in the image and are up to 200 px
// long in a random direction; arcs have radii of 5 to 100 px and random angles.
// Then a recorded picture of 2,000 such lines on an 800 x 600 image (each line
// with its own pen selected and put back, as entities draw), played 20 times,
// against QPainter::drawLines on the same device segments 20 times.
#include "platform/imagedc.h"
#include "platform/metafile.h"
#include "support/timing.h"

#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr int kW = 1600, kH = 1000;

struct Seg {
    int x0, y0, x1, y1;  // device pixels
};

struct ArcShape {
    int cx, cy, r;     // device centre and radius
    double from, to;  // radians, counter-clockwise
};

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    std::mt19937 rng(20240601);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    std::vector<Seg> segs(100000);
    for (Seg& s : segs) {
        s.x0 = int(unit(rng) * kW);
        s.y0 = int(unit(rng) * kH);
        const double len = unit(rng) * 200.0, dir = unit(rng) * 2 * std::numbers::pi;
        s.x1 = s.x0 + int(std::lround(len * std::cos(dir)));
        s.y1 = s.y0 + int(std::lround(len * std::sin(dir)));
    }
    std::vector<ArcShape> arcs(20000);
    for (ArcShape& a : arcs) {
        a.cx = int(unit(rng) * kW);
        a.cy = int(unit(rng) * kH);
        a.r = 5 + int(unit(rng) * 95);
        a.from = unit(rng) * 2 * std::numbers::pi;
        a.to = unit(rng) * 2 * std::numbers::pi;
    }

    CImageDC dc(kW, kH);
    dc.SetYUpMapping(kW, kH);  // logical y = kH - device y
    QImage baseImage(kW, kH, QImage::Format_RGB32);
    baseImage.fill(Qt::white);

    const double oursLines = Best(5, [&] {
        for (const Seg& s : segs) {
            dc.MoveTo(s.x0, kH - s.y0);
            dc.LineTo(s.x1, kH - s.y1);
        }
    });
    const double baseLines = Best(5, [&] {
        QPainter p(&baseImage);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        for (const Seg& s : segs)
            p.drawLine(s.x0, s.y0, s.x1, s.y1);
    });
    Report("device_lines", oursLines, baseLines);

    const double oursArcs = Best(5, [&] {
        for (const ArcShape& a : arcs) {
            const int ly = kH - a.cy;
            const int xs = a.cx + int(std::lround(a.r * std::cos(a.from)));
            const int ys = ly + int(std::lround(a.r * std::sin(a.from)));
            const int xe = a.cx + int(std::lround(a.r * std::cos(a.to)));
            const int ye = ly + int(std::lround(a.r * std::sin(a.to)));
            dc.Arc(a.cx - a.r, ly + a.r, a.cx + a.r, ly - a.r, xs, ys, xe, ye);
        }
    });
    const double baseArcs = Best(5, [&] {
        QPainter p(&baseImage);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        for (const ArcShape& a : arcs) {
            double span = a.to - a.from;
            if (span <= 0)
                span += 2 * std::numbers::pi;
            const double sixteenths = 180.0 / std::numbers::pi * 16.0;
            p.drawArc(QRect(a.cx - a.r, a.cy - a.r, 2 * a.r, 2 * a.r), int(std::lround(a.from * sixteenths)),
                      int(std::lround(span * sixteenths)));
        }
    });
    Report("device_arcs", oursArcs, baseArcs);

    // The picture's window is 8000 x 6000 logical units, y up, on 800 x 600 pixels.
    constexpr int kPw = 800, kPh = 600, kPlays = 20;
    std::vector<QLine> device(2000);
    CMetaFileDC recorder;
    recorder.SetMapMode(MM_ANISOTROPIC);
    recorder.SetWindowExt(kPw * 10, -kPh * 10);
    recorder.SetWindowOrg(0, kPh * 10);
    for (QLine& d : device) {
        const int x0 = int(unit(rng) * kPw), y0 = int(unit(rng) * kPh);
        const double len = unit(rng) * 200.0, dir = unit(rng) * 2 * std::numbers::pi;
        const int x1 = x0 + int(std::lround(len * std::cos(dir))), y1 = y0 + int(std::lround(len * std::sin(dir)));
        d = QLine(x0, y0, x1, y1);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CBrush* oldBrush = recorder.SelectObject(StockBrush(HOLLOW_BRUSH));
        CPen* oldPen = recorder.SelectObject(&pen);
        recorder.MoveTo(x0 * 10, (kPh - y0) * 10);
        recorder.LineTo(x1 * 10, (kPh - y1) * 10);
        recorder.SelectObject(oldPen);
        recorder.SelectObject(oldBrush);
    }
    const CMetaFile picture = recorder.Close();
    QImage oursImage(kPw, kPh, QImage::Format_RGB32), baseLinesImage(kPw, kPh, QImage::Format_RGB32);
    oursImage.fill(Qt::white);
    baseLinesImage.fill(Qt::white);
    const double oursPlay = Best(5, [&] {
        CImageDC target(&oursImage);
        for (int i = 0; i < kPlays; ++i)
            picture.Play(target, {0, 0, kPw, kPh});
    });
    const double basePlay = Best(5, [&] {
        for (int i = 0; i < kPlays; ++i) {
            QPainter p(&baseLinesImage);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, 0));
            p.drawLines(device.data(), int(device.size()));
        }
    });
    Report("metafile_play", oursPlay, basePlay);
    return 0;
}

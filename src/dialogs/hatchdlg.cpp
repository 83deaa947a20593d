#include "dialogs/hatchdlg.h"

#include "dialogs/dlgform.h"
#include "model/hatchlines.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <initializer_list>
#include <numbers>
#include <vector>

namespace {

// The kind's lines in a square, as its button shows them.
std::shared_ptr<const QImage> KindPicture(std::initializer_list<HatchFamily> families)
{
    constexpr int kSide = 48;
    const Pt2 square[] = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}};
    const HatchBoundary boundary(square);
    std::vector<HatchSegment> lines;
    for (const HatchFamily& family : families)
        AddHatchFamily(boundary, {}, family, lines);
    auto picture = std::make_shared<QImage>(kSide, kSide, QImage::Format_RGB32);
    picture->fill(Qt::white);
    QPainter painter(picture.get());
    painter.setPen(QPen(Qt::black, 1));
    const double last = kSide - 1;
    for (const HatchSegment& s : lines)
        painter.drawLine(QPointF(s.a.x * last, (1.0 - s.a.y) * last), QPointF(s.b.x * last, (1.0 - s.b.y) * last));
    painter.drawRect(0, 0, kSide - 1, kSide - 1);
    return picture;
}

}  // namespace

int RunTramaDlgEx(int& kind)
{
    constexpr double kRising = std::numbers::pi / 4;
    constexpr double kFalling = 3 * kRising;
    Form f{"TRAMA", "Hatch"};
    f.AddText("heading", "", "SELECT HATCH:");
    f.AddChoice("single", "Single Lines", 1).picture = KindPicture({{kRising, 0.125, 0.125}});
    f.AddChoice("families", "Two Line Families", 2).picture =
        KindPicture({{kRising, 0.125, 0.125}, {kFalling, 0.125, 0.125}});
    f.AddChoice("double", "Double Lines", 3).picture = KindPicture({{kRising, 0.06, 0.19}});
    const int r = RunForm(f);
    kind = f.choice;
    return r;
}

int RunTramaParamDlg(int kind, double& a1, double& s1, double& a2, double& s2)
{
    Form f{kind == 1 ? "TRAMAP1" : kind == 2 ? "TRAMAP2" : "TRAMAP3", "Hatch Parameters"};
    f.AddText("heading", "", "HATCH PARAMETERS:");
    if (kind == 1) {
        f.AddReal("angle1", "Rotate Angle:", "90");
        f.AddReal("space1", "Lines Separation:", "0.10");
    } else if (kind == 2) {
        f.AddReal("angle1", "Rotate Ang. Lines 1:", "90");
        f.AddReal("space1", "Lines 1 Separation:", "0.10");
        f.AddReal("angle2", "Rotate Ang. Lines 2:", "0");
        f.AddReal("space2", "Lines 2 Separation:", "0.10");
    } else {
        f.AddReal("angle1", "Rotate Angle:", "90");
        f.AddReal("space1", "Lines 1-2 Separation:", "0.10");
        f.AddReal("space2", "Lines 2-3 Separation:", "0.20");
    }
    // Cancel keeps the shown values, which are copied out all the same.
    const int r = RunForm(f);
    a1 = f.Real("angle1", a1);
    s1 = f.Real("space1", s1);
    if (kind != 1)
        s2 = f.Real("space2", s2);
    if (kind == 2)
        a2 = f.Real("angle2", a2);
    else if (kind != 1)
        a2 = a1;
    return r;
}

// Embedded SVG pictures: the first paint of a plan view of 800 x 600 pixels
// holding five SVG objects of 4000 x 4000 pixels, each at its own size,
// every round with pictures never drawn before.
//
// Each picture is one filled path of 10,000 vertices spread over the whole
// picture, so that the path crosses itself everywhere (about 100 KB). The
// base paints the same view with five SVG pictures of one filled rectangle.
#include "doc/cntritem.h"
#include "doc/rectadoc.h"
#include "support/timing.h"
#include "view2d/rectaview.h"

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kW = 800, kH = 600, kSide = 4000, kPictures = 5, kVertices = 10000;

std::string SvgHead()
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kSide) + "\" height=\"" +
           std::to_string(kSide) + "\">";
}

std::vector<BYTE> CrossingPath(std::mt19937& rng)
{
    std::uniform_int_distribution<int> at(0, kSide - 1);
    std::string svg = SvgHead() + "<path fill=\"#3080c0\" d=\"M";
    for (int i = 0; i < kVertices; ++i)
        svg += std::to_string(at(rng)) + " " + std::to_string(at(rng)) + " ";
    svg += "Z\"/></svg>";
    return std::vector<BYTE>(svg.begin(), svg.end());
}

std::vector<BYTE> Rectangle(std::mt19937& rng)
{
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%06x", unsigned(rng() & 0xFFFFFF));
    const std::string svg = SvgHead() + "<rect x=\"100\" y=\"100\" width=\"3800\" height=\"3800\" fill=\"" +
                            colour + "\"/></svg>";
    return std::vector<BYTE>(svg.begin(), svg.end());
}

// The first paint of a view holding the pictures that make makes.
template <class Make>
double FirstPaint(Make&& make, std::mt19937& rng)
{
    return Best(3, [&] {
        CRectaDoc doc;
        doc.OnNewDocument();
        CRectaView view;
        doc.AddView(&view);
        view.OnSize(kW, kH);
        view.OnInitialUpdate();
        std::string error;
        for (int i = 0; i < kPictures; ++i) {
            auto item = std::make_unique<CRectaCntrItem>(&doc);
            if (!item->CreatePictureFromBytes(make(rng), "p.svg", error))
                Fail(error.c_str());
            const int at = 100 * i;
            doc.AddItem(std::move(item))->OnChangeItemPosition(CRect(at, at, at + kSide, at + kSide));
        }
        view.Invalidate();
        view.Image();
        doc.RemoveView(&view);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    PrintMessageBoxes();
    std::mt19937 rng(20240707);
    const double ours = FirstPaint(CrossingPath, rng);
    const double base = FirstPaint(Rectangle, rng);
    Report("view_first_paint_svg", ours, base);
    return 0;
}

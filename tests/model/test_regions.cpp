// Regions: polygons made into device regions, and region blocks filled
// inside their first polyline but for the polylines after it.
#include "model/bloq.h"
#include "model/circ.h"
#include "model/fontrecord.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/region.h"
#include "platform/imagedc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int kW = 200, kH = 150;

struct Canvas {
    Canvas() : dc(kW, kH) { dc.SetYUpMapping(kW, kH); }
    QRgb At(double x, double y) const { return dc.Image().pixel(int(x * 10), kH - int(y * 10)) & 0xFFFFFF; }
    CImageDC dc;
    WorldMap map{10, 0, 0};
};

// A closed square polyline in a new element.
CDib* Square(double x0, double y0, double x1, double y1)
{
    CObList segments(ListOwnership::owns);
    const CPointd c[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    for (int i = 0; i < 4; ++i) {
        auto* side = new CRecta(1, 0, "ZP", 0, 0, 0, 0, 1);
        side->m_p1 = c[i];
        side->m_p2 = c[(i + 1) % 4];
        segments.AddTail(new CDib(ENT_LINE, side));
    }
    return new CDib(ENT_PLINE, new CPLine(1, 0, "ZP", segments, 0, 0, 0, 1));
}

// A region block of the given elements, coloured red by its attributes.
std::unique_ptr<CBloq> RegionBlock(std::initializer_list<CDib*> elements)
{
    CObList entities(ListOwnership::owns);
    for (CDib* e : elements)
        entities.AddTail(e);
    auto block = std::make_unique<CBloq>(1, 0, "ZP", CPointd(), entities);
    LOGFONT font;
    for (auto [tag, value] : {std::pair{"RGB_R", "255"}, std::pair{"RGB_G", "0"}, std::pair{"RGB_B", "0"}})
        block->AddAttrib(1, 0, "ZP", tag, tag, value, 0, 0, CPointd(), font);
    return block;
}

}  // namespace

TEST(Regions, ABlockIsFilledInsideItsFirstPolylineButNotInTheOthers)
{
    auto block = RegionBlock({Square(1, 1, 11, 11), Square(2, 2, 4, 4), Square(3, 3, 6, 6)});
    Canvas c;
    FillBlockRegion(c.dc, c.map, DrawKind::normal, *block, CPlacement{});
    EXPECT_EQ(c.At(1.5, 1.5), 0xFF0000u);
    EXPECT_EQ(c.At(10, 10), 0xFF0000u);
    EXPECT_EQ(c.At(2.5, 2.5), 0xFFFFFFu) << "in the first hole";
    EXPECT_EQ(c.At(3.5, 3.5), 0xFFFFFFu) << "in both holes: their union is cut";
    EXPECT_EQ(c.At(5, 5), 0xFFFFFFu);
    EXPECT_EQ(c.At(12, 5), 0xFFFFFFu) << "outside";

    FillBlockRegion(c.dc, c.map, DrawKind::dotted, *block, CPlacement{});
    FillBlockRegion(c.dc, c.map, DrawKind::erase, *block, CPlacement{});
    EXPECT_EQ(c.At(1.5, 1.5), 0xFFFFFFu) << "erased in the background colour";

    // Placed by its insert: moved by (5, 2) and turned a quarter about there.
    Canvas placed;
    FillBlockRegion(placed.dc, placed.map, DrawKind::normal, *block,
                    CPlacement{15, 2, 0, std::numbers::pi / 2, 1, 1});
    EXPECT_EQ(placed.At(13.5, 3.5), 0xFF0000u) << "block point (1.5, 1.5)";
    EXPECT_EQ(placed.At(12.5, 4.5), 0xFFFFFFu) << "block point (2.5, 2.5), in a hole";
}

TEST(Regions, OneOutlineIsFilledWholeAndNoOutlineFillsNothing)
{
    auto single = RegionBlock({Square(1, 1, 5, 5)});
    Canvas a;
    FillBlockRegion(a.dc, a.map, DrawKind::normal, *single, CPlacement{});
    EXPECT_EQ(a.At(3, 3), 0xFF0000u);

    auto* circle = new CCirc(1, 0, "ZP", 0, 0, 0, 0, 1);
    circle->m_centre = CPointd(3, 3);
    circle->m_rx = circle->m_ry = 1;
    auto noOutline = RegionBlock({new CDib(ENT_CIRCLE, circle), Square(1, 1, 5, 5)});
    Canvas b;
    FillBlockRegion(b.dc, b.map, DrawKind::normal, *noOutline, CPlacement{});
    EXPECT_EQ(b.At(3, 3), 0xFFFFFFu);

    CObList none(ListOwnership::owns);
    none.AddTail(Square(1, 1, 5, 5));
    const CBloq plain(1, 0, "ZP", CPointd(), none);
    FillBlockRegion(b.dc, b.map, DrawKind::normal, plain, CPlacement{});
    EXPECT_EQ(b.At(3, 3), 0xFFFFFFu) << "a block without colour attributes is no region";
}

TEST(Regions, AnyNumberOfPointsAndPointsFarOffMakeTheRegion)
{
    // 501 points on a circle: a region all the same, and the list emptied.
    CObList points(ListOwnership::owns);
    for (int i = 0; i < 501; ++i) {
        const double a = i * 2 * std::numbers::pi / 501;
        points.AddTail(new CPointd(10 + 5 * std::cos(a), 7 + 5 * std::sin(a)));
    }
    Canvas c;
    CRgn region;
    EXPECT_TRUE(PolygonRegionFromPoints(points, c.dc, region, c.map));
    EXPECT_TRUE(points.IsEmpty());
    FillRegion(c.dc, RGB(0, 0, 255), region);
    EXPECT_EQ(c.At(10, 7), 0x0000FFu);
    EXPECT_EQ(c.At(14.5, 7), 0x0000FFu);
    EXPECT_EQ(c.At(15.5, 7), 0xFFFFFFu);

    // A triangle reaching far beyond any device still covers what it should.
    for (const CPointd& p : {CPointd(-1e12, 5), CPointd(1e12, 5), CPointd(10, 1e12)})
        points.AddTail(new CPointd(p));
    Canvas far;
    EXPECT_TRUE(PolygonRegionFromPoints(points, far.dc, region, far.map));
    FillRegion(far.dc, RGB(0, 0, 255), region);
    EXPECT_EQ(far.At(10, 7), 0x0000FFu);
    EXPECT_EQ(far.At(10, 3), 0xFFFFFFu) << "below its base";

    points.AddTail(new CPointd(1, 1));
    points.AddTail(new CPointd(2, 2));
    EXPECT_FALSE(PolygonRegionFromPoints(points, far.dc, region, far.map));
    EXPECT_TRUE(region.IsEmpty());
}

TEST(Regions, DeleteAttribsKeepsTheOtherTags)
{
    auto block = RegionBlock({});
    LOGFONT font;
    block->AddAttrib(1, 0, "ZP", "DOOR", "DOOR", "1", 0, 7, CPointd(), font);
    block->DeleteAttribs("RGB_G");
    std::vector<std::string> tags;
    for (CObject* a : block->GetAttribList())
        tags.push_back(static_cast<const CAttrib*>(a)->m_tag);
    EXPECT_EQ(tags, (std::vector<std::string>{"RGB_R", "RGB_B", "DOOR"}));
}

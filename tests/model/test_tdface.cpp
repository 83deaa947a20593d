// The 3D face: file record, plan drawing, picking, window selection and snap.
#include "model/entitykind.h"
#include "model/tdface.h"
#include "model/transform.h"
#include "platform/archive.h"
#include "platform/recordingdc.h"
#include "support/bytes.h"
#include "support/stored.h"
#include "view2d/view_fixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Bytes = std::vector<BYTE>;

// A 4 x 2 face lifted to z = 1, counter-clockwise from (1, 1).
CTdface Face(int mode = 0)
{
    CTdface f(2, RGB(1, 2, 3), "F", mode, 0.5, 0.25, 1.0);
    const CPointd c[4] = {{1, 1, 1}, {5, 1, 1}, {5, 3, 1}, {1, 3, 1}};
    for (int i = 0; i < 4; ++i)
        f.m_c[i] = c[i];
    return f;
}

std::size_t Lines(const CTdface& f, DrawKind kind)
{
    CRecordingDC dc;
    f.Draw(dc, {10.0, 0.0, 0.0}, kind);
    return dc.CallsNamed("LineTo").size();
}

}  // namespace

TEST(Tdface, GoldenBytesAndRoundTripInEachExtrusionMode)
{
    for (int mode : {0, 1, 2}) {
        CTdface f = Face(mode);
        f.m_style = 1;
        f.m_edgeMask = 5;
        f.m_name = "N";
        ByteWriter w;
        w.u16(2).u16(1).u32(0x030201).str("F").u16(5).u16(1).str("N").u16(mode);
        if (mode == 1)
            w.f64(0.5).f64(0.25).f64(1.0);
        w.point(1, 1, 1).point(5, 1, 1).point(5, 3, 1).point(1, 3, 1);
        EXPECT_EQ(Stored(f), w.bytes()) << mode;

        CTdface back;
        CArchive in(w.bytes());
        back.Serialize(in);
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(Stored(back), w.bytes()) << mode;
        EXPECT_EQ(back.m_dir, mode == 1 ? CPointd(0.5, 0.25, 1.0) : CPointd(0, 0, 1));
    }
}

TEST(Tdface, PlanDrawingIgnoresMaskAndHonoursDisplayWord)
{
    CTdface f = Face();
    f.m_edgeMask = 15;  // hides edges only in the 3D views
    EXPECT_EQ(Lines(f, DrawKind::normal), 4u);
    f.m_display = 0;
    EXPECT_EQ(Lines(f, DrawKind::normal), 0u);
    EXPECT_EQ(Lines(f, DrawKind::dotted), 4u);
    EXPECT_EQ(Lines(f, DrawKind::erase), 4u);
}

TEST(Tdface, RectangleTestLooksAtFirstEdgeOnly)
{
    const CTdface f = Face();
    EXPECT_EQ(f.IsInRect(4.5, 2.5, 6, 4), 0) << "only corner 3 inside";
    EXPECT_EQ(f.IsInRect(2, 0, 3, 2), 1) << "edge 1-2 crosses";
}

TEST(Tdface, PlaceRotatesAllCornersAndDuplicateCopiesEverything)
{
    CTdface f = Face();
    f.m_name = "N";
    CPlacement pl;
    pl.x = 10;
    pl.a = 1.5707963267948966;
    ASSERT_TRUE(PlaceEntity(ENT_3DFACE, &f, pl));
    EXPECT_NEAR(f.m_c[2].x, 7, 1e-9);
    EXPECT_NEAR(f.m_c[2].y, 5, 1e-9);
    EXPECT_EQ(f.m_c[2].z, 1);
    std::unique_ptr<CObject> dup(DuplicateEntity(ENT_3DFACE, &f));
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(Stored(*dup), Stored(f));
}

class TdfaceView : public ViewTest {};

TEST_F(TdfaceView, ExtentsPickWindowAndSnap)
{
    const CPointd c[4] = {{1, 1}, {5, 1}, {5, 3}, {1, 3}};
    doc.AddTdfaceOnLayer(1, 0, "ZP", c);
    doc.CalcExtents();
    EXPECT_EQ(doc.m_extMin, CPointd(1, 1));
    EXPECT_EQ(doc.m_extMax, CPointd(5, 3));

    CObject* e = nullptr;
    int type = 0;
    ASSERT_NE(view.PickNearestEntity(CPointd(3, 3.05), e, type), nullptr) << "edge 3-4";
    EXPECT_EQ(type, ENT_3DFACE);
    EXPECT_NE(view.PickNearestEntity(CPointd(0.95, 2), e, type), nullptr) << "edge 4-1";
    EXPECT_EQ(view.PickNearestEntity(CPointd(3, 2), e, type), nullptr) << "the inside is not the outline";

    view.SelectByWindow(0, CPointd(0, 0), CPointd(6, 2.5));
    EXPECT_TRUE(view.m_selection.IsEmpty()) << "window mode needs all four edges";
    view.SelectByWindow(1, CPointd(0, 0), CPointd(6, 2.5));
    EXPECT_EQ(view.m_selection.GetCount(), 1);

    view.m_snapMode = 2;
    CPointd p(1.05, 2.95);
    ASSERT_EQ(view.OnEditPoint(p), 1);
    EXPECT_EQ(p, CPointd(1, 3));
}

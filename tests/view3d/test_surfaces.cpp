// Surfaces of revolution and tabulated surfaces.
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "view2d/view_fixture.h"
#include "view2d/viewtools.h"
#include "view3d/surfaces.h"

#include <cmath>

namespace {

class SurfaceTest : public ViewTest {
protected:
    CPLine* Polyline(std::initializer_list<CPointd> points)
    {
        const std::vector<CPointd> v(points);
        for (std::size_t i = 0; i + 1 < v.size(); ++i)
            view.NewBlockRecta(1, 0, "ZP", v[i], v[i + 1]);
        CObList segments{ListOwnership::owns};
        segments.AddTail(view.m_blockList);
        return doc.AddPLine(segments);
    }
    const CBloq* SurfaceBlock() const
    {
        const auto* insert = static_cast<const CInsBl*>(doc.GetLastEntityRecord()->m_entity);
        return doc.FindBlock(insert->m_block);
    }
};

}  // namespace

// A profile of three vertices about the x axis in 12 steps: 24 faces whose
// corners keep their distance from the axis, in a block inserted at the origin.
TEST_F(SurfaceTest, RevolutionAboutTheAxis)
{
    CRecta* axis = doc.AddRecta();
    axis->m_p2 = CPointd(1, 0);
    CPLine* profile = Polyline({{0, 1}, {2, 1}, {3, 2}});
    ViewTools().GenSupRev(doc, view, axis, profile);
    ASSERT_EQ(doc.GetLastEntityRecord()->m_type, ENT_INSERT);
    const CBloq* block = SurfaceBlock();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->m_name, "ZP_S1");
    EXPECT_EQ(block->GetEntityList().GetCount(), 24);
    for (POSITION pos = block->GetFirstEntityPosition(); pos;) {
        int type = 0;
        const auto* f = static_cast<const CTdface*>(block->GetNextEntity(pos, type));
        ASSERT_EQ(type, ENT_3DFACE);
        for (const CPointd& c : f->m_c) {
            const double r = std::hypot(c.y, c.z);
            EXPECT_TRUE(std::abs(r - 1) < 1e-12 || std::abs(r - 2) < 1e-12) << r;
        }
    }
    const auto* last = static_cast<const CTdface*>(static_cast<CDib*>(block->GetEntityList().GetTail())->m_entity);
    EXPECT_NEAR(last->m_c[2].y, 2.0, 1e-12) << "the last step closes the turn";
    EXPECT_NEAR(last->m_c[2].z, 0.0, 1e-12);

    view.DoUndo();
    EXPECT_EQ(doc.GetLastEntityRecord()->m_type, ENT_PLINE);
}

// Each span of the polyline raised by the document's thickness.
TEST_F(SurfaceTest, TabulatedAlongThePolyline)
{
    doc.m_thickness = 3.0;
    CPLine* edge = Polyline({{0, 0}, {2, 0}, {2, 2}});
    GenSupTab(doc, view, edge);
    const CBloq* block = SurfaceBlock();
    ASSERT_TRUE(block);
    ASSERT_EQ(block->GetEntityList().GetCount(), 2);
    const auto* f = static_cast<const CTdface*>(static_cast<CDib*>(block->GetEntityList().GetTail())->m_entity);
    EXPECT_EQ(f->m_c[0], CPointd(2, 0));
    EXPECT_EQ(f->m_c[2], CPointd(2, 2, 3));
    EXPECT_EQ(view.UndoStateCount(), 1);
    GenSupTab(doc, view, Polyline({{5, 0}, {6, 0}}));
    EXPECT_EQ(view.UndoStateCount(), 2) << "one segment makes a surface too";
}

TEST_F(SurfaceTest, MissingPartsAreRefused)
{
    CPLine* profile = Polyline({{0, 1}, {2, 1}});
    GenSupRev(doc, view, nullptr, profile);
    CRecta* point = doc.AddRecta();
    GenSupRev(doc, view, point, profile);
    GenSupTab(doc, view, nullptr);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 2);
    EXPECT_TRUE(doc.GetBlockList().IsEmpty());
    EXPECT_NE(view.PromptBuffer().find("polyline"), std::string::npos);
}

// Wall joints of two walls of different thickness, in every selection order.
#include "model/circ.h"
#include "model/dib.h"
#include "model/recta.h"
#include "support/segments.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace {

class WallJointTest : public ViewTest {
protected:
    // Four lines; returns their positions.
    std::array<POSITION, 4> Walls(const std::array<std::array<double, 4>, 4>& lines)
    {
        std::array<POSITION, 4> pos{};
        for (std::size_t i = 0; i < 4; ++i) {
            LineFrom(lines[i][0], lines[i][1], lines[i][2], lines[i][3]);
            pos[i] = doc.GetLastEntityPosition();
        }
        return pos;
    }
    void Select(const std::array<POSITION, 4>& pos, const std::array<int, 4>& order)
    {
        for (int i : order)
            view.SelectEntity(ENT_LINE, pos[std::size_t(i)]);
    }
    // Saves the joint's state, then checks that one undo brings the walls back.
    void ExpectOneUndoRestores(const std::multiset<Seg>& before)
    {
        view.SaveUndoState();
        view.ClearPendingSteps();
        view.ClearSelection();
        view.DoUndo();
        EXPECT_EQ(Lines(doc), before);
        FreeUndoHistory(view);
        doc.DeleteContents();
    }
};

}  // namespace

// Wall A: faces y = 0 and y = 0.3; wall B: faces x = 0 and x = 0.2. Each face
// opens across the other wall's width.
TEST_F(WallJointTest, XJointInEveryOrder)
{
    std::array<int, 4> order{0, 1, 2, 3};
    int orders = 0;
    do {
        const auto pos = Walls({{{-5, 0, 5, 0}, {-5, 0.3, 5, 0.3}, {0, -5, 0, 5}, {0.2, -5, 0.2, 5}}});
        const auto before = Lines(doc);
        Select(pos, order);
        view.WallJointX();
        const std::multiset<Seg> want{S(-5, 0, 0, 0),     S(0.2, 0, 5, 0),     S(-5, 0.3, 0, 0.3),
                                      S(0.2, 0.3, 5, 0.3), S(0, -5, 0, 0),      S(0, 0.3, 0, 5),
                                      S(0.2, -5, 0.2, 0),  S(0.2, 0.3, 0.2, 5)};
        EXPECT_EQ(Lines(doc), want) << "order " << order[0] << order[1] << order[2] << order[3];
        ExpectOneUndoRestores(before);
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 24);
}

// The leg (x = 0 and 0.2, reaching into the wall and beyond) ends on the
// through wall's face nearer the pick, which opens between the leg's faces.
TEST_F(WallJointTest, TJointInEveryOrder)
{
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        for (int picked : {2, 3}) {
            const auto pos = Walls({{{-5, 0, 5, 0}, {-5, 0.3, 5, 0.3}, {0, -5, 0, 1}, {0.2, 1, 0.2, -5}}});
            const auto before = Lines(doc);
            Select(pos, order);
            view.m_pickedLine = doc.GetEntityRecord(pos[std::size_t(picked)])->m_entity;
            view.WallJointT(CPointd(picked == 2 ? 0 : 0.2, -3));
            const std::multiset<Seg> want{S(-5, 0, 0, 0), S(0.2, 0, 5, 0), S(-5, 0.3, 5, 0.3), S(0, -5, 0, 0),
                                          S(0.2, -5, 0.2, 0)};
            EXPECT_EQ(Lines(doc), want) << "order " << order[0] << order[1] << order[2] << order[3];
            ExpectOneUndoRestores(before);
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

// The click inside the corner: inner faces meet at the inner corner, outer at the outer one.
TEST_F(WallJointTest, LJointInEveryOrder)
{
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        const auto pos = Walls({{{-1, 0, 5, 0}, {-1, 0.3, 5, 0.3}, {0, -1, 0, 5}, {0.2, 5, 0.2, -1}}});
        const auto before = Lines(doc);
        Select(pos, order);
        view.m_secondPoint = CPointd(2, 2);
        view.WallJointL();
        const std::multiset<Seg> want{S(0, 0, 5, 0), S(0.2, 0.3, 5, 0.3), S(0, 0, 0, 5), S(0.2, 0.3, 0.2, 5)};
        EXPECT_EQ(Lines(doc), want) << "order " << order[0] << order[1] << order[2] << order[3];
        ExpectOneUndoRestores(before);
    } while (std::next_permutation(order.begin(), order.end()));
}

// Wrong roles change nothing and say why: another kind selected, a fifth
// line, walls that do not cross (X), parallel walls, a leg that is not
// selected or does not reach the other wall (T).
TEST_F(WallJointTest, JointsCheckTheRoles)
{
    const auto pos = Walls({{{-5, 0, 5, 0}, {-5, 0.3, 5, 0.3}, {0, 1, 0, 5}, {0.2, 1, 0.2, 5}}});
    CCirc* c = doc.AddCirc();
    c->m_rx = c->m_ry = 1;
    const POSITION circle = doc.GetLastEntityPosition();
    CRecta* extra = doc.AddRecta();
    extra->m_p2 = CPointd(1, 1);
    const POSITION fifth = doc.GetLastEntityPosition();
    const auto before = Lines(doc);
    auto unchanged = [&](const char* what, const char* said) {
        EXPECT_EQ(Lines(doc), before) << what;
        EXPECT_EQ(view.m_pendingSteps.GetCount(), 0) << what;
        EXPECT_EQ(view.PromptBuffer().substr(0, std::string(said).size()), said) << what;
        view.ClearPrompt();
        view.ClearSelection();
    };
    Select(pos, {0, 1, 2, 3});
    view.WallJointX();
    unchanged("B stops short of A: no crossing", "X Joint: the walls do not cross");

    Select(pos, {0, 1, 2, 3});
    view.SelectEntity(ENT_CIRCLE, circle);
    view.m_secondPoint = CPointd(2, 2);
    view.WallJointL();
    unchanged("a circle among the lines", "L Joint: select the four lines of two walls");

    Select(pos, {0, 1, 2, 3});
    view.SelectEntity(ENT_LINE, fifth);
    view.WallJointX();
    unchanged("five lines", "X Joint: select the four lines of two walls");

    view.SelectEntity(ENT_LINE, pos[0]);
    view.SelectEntity(ENT_LINE, pos[1]);
    view.SelectEntity(ENT_LINE, pos[2]);
    view.WallJointL();
    unchanged("three lines", "L Joint: select the four lines");

    const auto parallel = Walls({{{-5, 2, 5, 2}, {-5, 2.3, 5, 2.3}, {-5, 4, 5, 4}, {-5, 4.2, 5, 4.2}}});
    const auto withParallel = Lines(doc);
    Select(parallel, {0, 1, 2, 3});
    view.m_secondPoint = CPointd(0, 3);
    view.WallJointL();
    EXPECT_EQ(view.m_pendingSteps.GetCount(), 0) << "parallel walls";
    EXPECT_NE(view.PromptBuffer().find("L Joint: select"), std::string::npos);
    view.ClearSelection();

    Select(pos, {0, 1, 2, 3});
    view.m_pickedLine = extra;
    view.WallJointT(CPointd(0, 3));
    EXPECT_EQ(view.m_pendingSteps.GetCount(), 0) << "the leg is not selected";
    EXPECT_NE(view.PromptBuffer().find("T Joint: select"), std::string::npos);
    view.ClearSelection();

    // Wall A's faces (pos[0] and pos[1]) as the leg of wall B: A does not reach B.
    Select(pos, {0, 1, 2, 3});
    view.m_pickedLine = doc.GetEntityRecord(pos[0])->m_entity;
    view.WallJointT(CPointd(1, 0));
    EXPECT_EQ(Lines(doc), withParallel);
    EXPECT_EQ(view.m_pendingSteps.GetCount(), 0) << "a leg that does not reach the other wall";
    EXPECT_NE(view.PromptBuffer().find("T Joint: the leg does not meet the other wall"), std::string::npos);
}

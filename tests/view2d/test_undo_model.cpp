// Random drawing, erasing, undo and redo in two plan views of one drawing,
// checked after every operation against a reference model of both histories.
#include "model/dib.h"
#include "model/punt.h"
#include "model/recta.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace {

using Serial = std::uint64_t;
enum Kind { kNone, kLine, kPoint, kErase };

struct Step { int op, id; Serial serial; };  // op 1: added, -1: erased
using State = std::vector<Step>;

// One view as the model sees it: its history and the command it runs.
struct ViewModel {
    std::vector<State> states;
    int undone = 0;
    Kind kind = kNone, last = kNone;
    bool started = false;  // the chain has its first point
    CPointd from;
    std::vector<Serial> chain;
};

struct Shape { const CDib* dib; int type; CPointd a, b; };  // a point has a == b

bool SameXY(const CPointd& p, const CPointd& q) { return p.x == q.x && p.y == q.y; }

class UndoModel : public ViewTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;
        doc.AddView(&other);
        other.OnSize(kW, kH);
        other.OnInitialUpdate();
        rng.seed(GetParam());
    }
    void TearDown() override
    {
        FreeUndoHistory(view);
        FreeUndoHistory(other);
        doc.RemoveView(&other);
        ViewTest::TearDown();
    }
    CRectaView& V(int v) { return v ? other : view; }

    // ---- the model: a record out of the list belongs to the one step that took it out
    bool In(Serial s) const { return std::find(list.begin(), list.end(), s) != list.end(); }
    bool Owns(const Step& st) const
    {
        const auto it = owners.find(st.serial);
        return it != owners.end() && it->second == st.id && !In(st.serial);
    }
    // Undo takes out what a state added and puts back what it erased; redo the opposite.
    void Apply(const State& s, bool undo)
    {
        for (std::size_t i = 0; i < s.size(); ++i) {
            const Step& st = s[undo ? s.size() - 1 - i : i];
            if ((st.op > 0) == undo && In(st.serial)) {
                list.erase(std::find(list.begin(), list.end(), st.serial));
                owners[st.serial] = st.id;
            } else if ((st.op > 0) != undo && Owns(st)) {
                list.push_back(st.serial);
            }
        }
    }
    // A freed state frees the records its steps own.
    void Free(const State& s)
    {
        for (const Step& st : s)
            if (Owns(st)) {
                owners.erase(st.serial);
                shapes.erase(st.serial);
            }
    }
    void Discard(ViewModel& m, int keep)
    {
        for (; m.undone > keep; --m.undone) {
            Free(m.states.back());
            m.states.pop_back();
        }
    }
    void Save(ViewModel& m, State s)
    {
        for (const Step& st : s)
            if (st.op < 0)
                owners[st.serial] = st.id;
        Discard(m, 0);
        m.states.push_back(std::move(s));
        if (m.states.size() > kMaxUndoStates) {
            Free(m.states.front());
            m.states.erase(m.states.begin());
        }
    }
    // The chain's lines still in the drawing become one state.
    void CloseChain(ViewModel& m)
    {
        if (m.kind == kLine && !m.chain.empty()) {
            State s;
            for (Serial c : m.chain)
                if (In(c))
                    s.push_back({1, ++ids, c});
            Save(m, std::move(s));
        }
        m.chain.clear();
        m.started = false;
    }

    // ---- operations on a view and on the model
    void Command(int v, int id)
    {
        ViewModel& m = vm[v];
        CloseChain(m);
        m.kind = id == 10009 ? kLine : id == 10065 ? kPoint : id == 10450 ? kErase : kNone;
        if (m.kind != kNone)
            m.last = m.kind;
        V(v).OnCommand(id);
        if (id != ID_UNDO && id != ID_REDO)
            return;
        bool done = false;
        if (id == ID_UNDO && (done = m.undone < int(m.states.size())))
            Apply(m.states[m.states.size() - ++m.undone], true);
        if (id == ID_REDO && (done = m.undone > 0)) {
            Discard(m, 1);
            m.undone = 0;
            Apply(m.states.back(), false);
        }
        const std::string& p = V(v).PromptBuffer();
        EXPECT_EQ(p.rfind(id == ID_UNDO ? "Can not undo" : "Can not redo", 0) == 0, !done) << p;
    }
    void Click(int v)
    {
        ViewModel& m = vm[v];
        CPoint at{10 + int(rng() % (kW - 20)), 10 + int(rng() % (kH - 20))};
        if (m.kind == kErase && !list.empty() && rng() % 3) {
            const Shape& s = shapes.at(list[rng() % list.size()]);
            at = V(v).WorldToDevicePoint(CPointd((s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2));
        }
        const CPointd p = V(v).DeviceToWorld(at);
        V(v).OnLButtonDown(MK_LBUTTON, at);
        if (m.kind == kPoint || (m.kind == kLine && m.started && !SameXY(p, m.from))) {
            const CDib* d = doc.GetLastEntityRecord();
            ASSERT_TRUE(d && !shapes.count(d->m_serial)) << "no new record";
            const bool line = m.kind == kLine;
            shapes[d->m_serial] = {d, line ? ENT_LINE : ENT_POINT, line ? m.from : p, p};
            list.push_back(d->m_serial);
            if (line)
                m.chain.push_back(d->m_serial);
            else
                Save(m, {{1, ++ids, d->m_serial}});
        }
        m.kind = m.kind == kPoint ? kNone : m.kind;
        m.started = m.kind == kLine;
        m.from = p;
    }
    void Right(int v)
    {
        ViewModel& m = vm[v];
        State erased;
        for (POSITION n = V(v).GetFirstSelectedPosition(); n;)
            if (const Serial s = V(v).GetNextSelected(n)->m_serial; In(s))
                erased.push_back({-1, ++ids, s});
        V(v).OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        if (m.kind == kNone) {
            m.kind = m.last;  // the last command starts again
        } else if (m.kind == kLine) {
            CloseChain(m);
        } else if (m.kind == kErase) {
            for (const Step& st : erased)
                list.erase(std::find(list.begin(), list.end(), st.serial));
            Save(m, std::move(erased));
            m.kind = kNone;
        }
    }
    const char* RandomOp(int v)
    {
        // Percentages by the running command for: click, right, line, point,
        // erase, cancel, undo, redo, zoom.
        static constexpr int kOdds[4][9] = {
            {2, 6, 26, 16, 16, 2, 16, 13, 3},
            {62, 14, 4, 3, 3, 2, 7, 2, 3},
            {70, 4, 6, 4, 4, 2, 6, 2, 2},
            {55, 25, 3, 2, 2, 3, 6, 2, 2},
        };
        static constexpr int kIds[] = {10009, 10065, 10450, ID_CANCEL_COMMAND, ID_UNDO, ID_REDO};
        static constexpr const char* kNames[] = {"click", "right", "line", "point", "erase",
                                                 "cancel", "undo", "redo", "zoom"};
        const int* odds = kOdds[vm[v].kind];
        int op = 0;
        for (int r = int(rng() % 100); r >= odds[op]; r -= odds[op++]) {
        }
        if (op == 0)
            Click(v);
        else if (op == 1)
            Right(v);
        else if (op == 8)
            rng() % 3 ? V(v).ZoomByFactor(rng() % 2 ? 0.5 : 2.0) : V(v).OnZoomExtents();
        else  // now and then a run of undos reaches back past the other view's work
            for (int k = op == 6 && bursts && rng() % 4 == 0 ? 2 + int(rng() % 12) : 1; k > 0; --k)
                Command(v, kIds[op - 2]);
        return kNames[op];
    }

    void Verify()
    {
        std::vector<Serial> got;  // a record twice in the list shows here, or in its index
        for (POSITION pos = doc.GetFirstEntityPosition(); pos;) {
            const POSITION here = pos;
            int type = 0;
            const CObject* e = doc.GetNextEntity(pos, type);
            const CDib* d = doc.GetEntityRecord(here);
            EXPECT_EQ(doc.FindEntityRecord(d), here);
            EXPECT_EQ(doc.FindEntityBySerial(d->m_serial), here);
            got.push_back(d->m_serial);
            const auto it = shapes.find(d->m_serial);
            ASSERT_TRUE(it != shapes.end()) << "record " << d->m_serial << " should be gone";
            const Shape& s = it->second;
            ASSERT_TRUE(d == s.dib && type == s.type) << "record " << d->m_serial << " replaced";
            const bool same = type == ENT_LINE ? SameXY(static_cast<const CRecta*>(e)->m_p1, s.a) &&
                                                     SameXY(static_cast<const CRecta*>(e)->m_p2, s.b)
                                               : SameXY(static_cast<const CPunt*>(e)->m_point, s.a);
            EXPECT_TRUE(same) << "record " << d->m_serial << " moved";
        }
        EXPECT_EQ(got, list);
        for (int v : {0, 1}) {
            EXPECT_EQ(V(v).UndoStateCount(), int(vm[v].states.size())) << "view " << v;
            EXPECT_EQ(V(v).m_undone, vm[v].undone) << "view " << v;
            EXPECT_TRUE(V(v).m_pendingSteps.IsEmpty()) << "view " << v;
        }
    }
    // n random operations in view `only`, or in either view when it is -1.
    void Run(int n, int only)
    {
        for (int i = 0; i < n && !HasFailure(); ++i) {
            const int v = only >= 0 ? only : int(rng() % 2);
            trace += std::string(v ? " B:" : " A:") + RandomOp(v);
            ++ops;
            Verify();
            if (HasFailure())
                ADD_FAILURE() << "seed " << GetParam() << ", operation " << ops << ", last ones:"
                              << trace.substr(trace.size() - std::min<std::size_t>(trace.size(), 300));
        }
    }

    CRectaView other;
    std::mt19937 rng;
    ViewModel vm[2];
    std::vector<Serial> list;        // the entity list, in order
    std::map<Serial, int> owners;    // a record out of the list: the step that owns it
    std::map<Serial, Shape> shapes;  // every record alive
    bool bursts = false;
    int ids = 0, ops = 0;
    std::string trace;
};

}  // namespace

TEST_P(UndoModel, RandomOperationsInTwoViews)
{
    // One view alone: undoing everything empties the drawing.
    Run(60, 0);
    for (int i = 0; i < 100; ++i)
        Command(0, ID_UNDO);
    Verify();
    EXPECT_EQ(doc.GetEntityList().GetCount(), 0);
    ASSERT_FALSE(HasFailure());

    // Both views: first the histories fill up, then runs of undos mix them.
    Run(2500, -1);
    bursts = true;
    Run(1000, -1);
    ASSERT_FALSE(HasFailure());

    // One view with more than 99 new states keeps 99 of them.
    for (int i = 0; i < 105; ++i) {
        Command(1, 10065);
        Click(1);
    }
    const int count = doc.GetEntityList().GetCount();
    for (int i = 0; i < kMaxUndoStates; ++i)
        Command(1, ID_UNDO);
    EXPECT_EQ(doc.GetEntityList().GetCount(), count - kMaxUndoStates);
    Command(1, ID_UNDO);
    EXPECT_EQ(other.PromptBuffer().substr(0, 12), "Can not undo");
    Verify();
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoModel, ::testing::Values(1u, 2u, 3u));

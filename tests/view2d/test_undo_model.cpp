// Random drawing, erasing, undo and redo in two plan views of one drawing,
// checked after every operation against a reference model of both histories.
#include "model/dib.h"
#include "model/punt.h"
#include "model/recta.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <vector>

namespace {

using Serial = std::uint64_t;
enum Kind { kNone, kLine, kPoint, kErase };

struct Step {
    int op;  // 1 added, -1 erased
    Serial serial;
    int id;
};
using State = std::vector<Step>;

// One view as the model sees it: its history and the command it runs.
struct ViewModel {
    std::vector<State> states;
    int undone = 0;
    int dropped = 0;
    Kind kind = kNone, last = kNone;
    bool started = false;  // the chain has its first point
    CPointd from;
    std::vector<Serial> chain;
};

struct Shape {
    const CDib* dib;
    int type;
    CPointd a, b;  // line ends; a point has a == b
};

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

    // ---- the model
    bool In(Serial s) const { return std::find(list.begin(), list.end(), s) != list.end(); }
    void Take(Serial s, int owner)
    {
        list.erase(std::find(list.begin(), list.end(), s));
        owners[s] = owner;
    }
    bool Owns(const Step& st) const
    {
        const auto it = owners.find(st.serial);
        return it != owners.end() && it->second == st.id && !In(st.serial);
    }
    // A freed state frees the records out of the list that its steps own.
    void Free(const State& s)
    {
        for (const Step& st : s)
            if (Owns(st)) {
                owners.erase(st.serial);
                shapes.erase(st.serial);
            }
    }
    void Save(ViewModel& m, State s)
    {
        for (const Step& st : s)
            if (st.op < 0)
                owners[st.serial] = st.id;
        for (; m.undone > 0; --m.undone) {
            Free(m.states.back());
            m.states.pop_back();
        }
        m.states.push_back(std::move(s));
        if (m.states.size() > kMaxUndoStates) {
            Free(m.states.front());
            m.states.erase(m.states.begin());
            ++m.dropped;
        }
    }
    bool Undo(ViewModel& m)
    {
        const int n = int(m.states.size());
        if (m.undone >= n)
            return false;
        const State& s = m.states[n - ++m.undone];
        for (auto st = s.rbegin(); st != s.rend(); ++st)
            if (st->op > 0 && In(st->serial))
                Take(st->serial, st->id);
            else if (st->op < 0 && Owns(*st))
                list.push_back(st->serial);
        return true;
    }
    bool Redo(ViewModel& m)
    {
        if (m.undone == 0)
            return false;
        for (; m.undone > 1; --m.undone) {
            Free(m.states.back());
            m.states.pop_back();
        }
        m.undone = 0;
        for (const Step& st : m.states.back())
            if (st.op < 0 && In(st.serial))
                Take(st.serial, st.id);
            else if (st.op > 0 && Owns(st))
                list.push_back(st.serial);
        return true;
    }
    // The chain's lines still in the drawing become one state.
    void CloseChain(ViewModel& m)
    {
        if (m.kind == kLine && !m.chain.empty()) {
            State s;
            for (Serial c : m.chain)
                if (In(c))
                    s.push_back({1, c, ++ids});
            Save(m, std::move(s));
        }
        m.chain.clear();
        m.started = false;
    }

    // ---- operations on a view and the model together
    void Command(int v, int id)
    {
        ViewModel& m = vm[v];
        CloseChain(m);
        m.kind = id == 10009 ? kLine : id == 10065 ? kPoint : id == 10450 ? kErase : kNone;
        if (m.kind != kNone)
            m.last = m.kind;
        V(v).OnCommand(id);
        if (id == ID_UNDO || id == ID_REDO) {
            const bool done = id == ID_UNDO ? Undo(m) : Redo(m);
            const std::string& p = V(v).PromptBuffer();
            EXPECT_EQ(p.rfind(id == ID_UNDO ? "Can not undo" : "Can not redo", 0) == 0, !done) << p;
        }
    }
    void Click(int v)
    {
        ViewModel& m = vm[v];
        CRectaView& w = V(v);
        CPoint at{10 + int(rng() % (kW - 20)), 10 + int(rng() % (kH - 20))};
        if (m.kind == kErase && !list.empty() && rng() % 3) {
            const Shape& s = shapes.at(list[rng() % list.size()]);
            at = w.WorldToDevicePoint(CPointd((s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2));
        }
        const CPointd p = w.DeviceToWorld(at);
        w.OnLButtonDown(MK_LBUTTON, at);
        if (m.kind == kPoint || (m.kind == kLine && m.started && !SameXY(p, m.from))) {
            const CDib* d = doc.GetLastEntityRecord();
            ASSERT_TRUE(d && !shapes.count(d->m_serial)) << "no new record";
            const bool line = m.kind == kLine;
            shapes[d->m_serial] = {d, line ? ENT_LINE : ENT_POINT, line ? m.from : p, p};
            list.push_back(d->m_serial);
            if (line) {
                m.chain.push_back(d->m_serial);
            } else {
                Save(m, {{1, d->m_serial, ++ids}});
                m.kind = kNone;
            }
        }
        m.started = m.kind == kLine;
        m.from = p;
    }
    void Right(int v)
    {
        ViewModel& m = vm[v];
        std::vector<Serial> gone;
        for (POSITION n = V(v).GetFirstSelectedPosition(); n;)
            if (const Serial s = V(v).GetNextSelected(n)->m_serial; In(s))
                gone.push_back(s);
        V(v).OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        if (m.kind == kNone) {
            m.kind = m.last;  // the last command starts again
        } else if (m.kind == kLine) {
            CloseChain(m);
        } else if (m.kind == kErase) {
            State s;
            for (Serial g : gone) {
                s.push_back({-1, g, ++ids});
                list.erase(std::find(list.begin(), list.end(), g));
            }
            Save(m, std::move(s));
            m.kind = kNone;
        }
    }
    const char* RandomOp(int v)
    {
        const int r = int(rng() % 100);
        if (r < 36)
            return Click(v), "click";
        if (r < 50)
            return Right(v), "right";
        if (r < 60)
            return Command(v, 10009), "line";
        if (r < 66)
            return Command(v, 10065), "point";
        if (r < 73)
            return Command(v, 10450), "erase";
        if (r < 75)
            return Command(v, ID_CANCEL_COMMAND), "cancel";
        if (r < 88)
            return Command(v, ID_UNDO), "undo";
        if (r < 96)
            return Command(v, ID_REDO), "redo";
        const double f[] = {0.5, 2.0};
        if (r < 98)
            return V(v).ZoomByFactor(f[rng() % 2]), "zoom";
        return V(v).OnZoomExtents(), "extents";
    }

    void Verify()
    {
        std::vector<Serial> got;
        std::set<const CDib*> seen;
        for (POSITION pos = doc.GetFirstEntityPosition(); pos;) {
            const POSITION here = pos;
            int type = 0;
            const CObject* e = doc.GetNextEntity(pos, type);
            const CDib* d = doc.GetEntityRecord(here);
            ASSERT_TRUE(seen.insert(d).second) << "a record is in the list twice";
            EXPECT_EQ(doc.FindEntityRecord(d), here);
            EXPECT_EQ(doc.FindEntityBySerial(d->m_serial), here);
            got.push_back(d->m_serial);
            const auto it = shapes.find(d->m_serial);
            ASSERT_TRUE(it != shapes.end()) << "record " << d->m_serial << " should be gone";
            const Shape& s = it->second;
            ASSERT_EQ(d, s.dib);
            ASSERT_EQ(type, s.type);
            if (type == ENT_LINE) {
                const auto* l = static_cast<const CRecta*>(e);
                EXPECT_TRUE(SameXY(l->m_p1, s.a) && SameXY(l->m_p2, s.b)) << "line " << d->m_serial;
            } else {
                EXPECT_TRUE(SameXY(static_cast<const CPunt*>(e)->m_point, s.a)) << "point " << d->m_serial;
            }
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
            const char* what = RandomOp(v);
            trace.push_back(std::string(v ? "B:" : "A:") + what);
            if (trace.size() > 30)
                trace.pop_front();
            Verify();
            ++ops;
            if (HasFailure()) {
                std::ostringstream os;
                for (const std::string& t : trace)
                    os << ' ' << t;
                ADD_FAILURE() << "seed " << GetParam() << ", operation " << ops << ", last ones:" << os.str();
            }
        }
    }

    CRectaView other;
    std::mt19937 rng;
    ViewModel vm[2];
    std::vector<Serial> list;       // the entity list, in order
    std::map<Serial, int> owners;   // a record out of the list: the step that owns it
    std::map<Serial, Shape> shapes;  // every record that is alive
    int ids = 0, ops = 0;
    std::deque<std::string> trace;
};

}  // namespace

TEST_P(UndoModel, RandomOperationsInTwoViews)
{
    // One view alone: undoing everything empties the drawing.
    Run(60, 0);
    for (int i = 0; i < 100 && !HasFailure(); ++i) {
        Command(0, ID_UNDO);
        Verify();
    }
    ASSERT_EQ(vm[0].dropped, 0);
    EXPECT_EQ(doc.GetEntityList().GetCount(), 0);
    ASSERT_FALSE(HasFailure());

    Run(900, -1);
    ASSERT_FALSE(HasFailure());

    // One view with more than 99 new states keeps 99 of them.
    for (int i = 0; i < 105; ++i) {
        Command(1, 10065);
        Click(1);
    }
    Verify();
    const int count = doc.GetEntityList().GetCount();
    for (int i = 0; i < kMaxUndoStates; ++i)
        Command(1, ID_UNDO);
    EXPECT_EQ(doc.GetEntityList().GetCount(), count - kMaxUndoStates);
    Command(1, ID_UNDO);
    EXPECT_EQ(other.PromptBuffer().substr(0, 12), "Can not undo");
    Verify();
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoModel, ::testing::Values(1u, 2u, 3u));

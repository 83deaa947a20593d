// Random drafting, editing, undo and redo in two plan views of one drawing,
// checked after every operation against a reference model of both histories.
// The model predicts the entity list and every record's stored bytes after each
// undo and redo, and the number of live elements, so a record or change copy
// that is freed too early, too late or twice shows at once.
#include "dialogs/dlgform.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "platform/archive.h"
#include "support/stored.h"
#include "view2d/undo.h"
#include "view_fixture.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

using Serial = std::uint64_t;
using Bytes = std::vector<BYTE>;

struct Step {
    int op;  // 1 added, -1 erased, 0 changed
    int id;  // names the step as the owner of a record out of the list
    Serial serial;
    Bytes other;  // change steps: the record's other form (before the change, or after its undo)
    bool reversed = false;
};
struct State {
    std::vector<Step> steps;
    // The file before and after an operation that only erased the last
    // records in order: its undo, right after, gives the file before.
    Bytes fileBefore, fileAfter;
};

struct ViewModel {
    std::vector<State> states;
    int undone = 0;
    std::vector<Serial> chain;  // the lines of a running line chain, not yet a state
};

// The view as an operation finds it.
struct Before {
    CommandCode code;
    int mode;
    std::vector<Serial> selected;  // in the drawing, in selection order
};

// What the operation does to the history, told by the command state it ran in.
enum class Effect { add, chain, erase, change, changeWithCopies, block };

// Elements an entity holds besides its own record.
int Parts(const CDib& dib)
{
    if (dib.m_type == ENT_PLINE)
        return static_cast<const CPLine*>(dib.m_entity)->m_segments.GetCount();
    if (dib.m_type == ENT_DIMENSION)
        return static_cast<const CAcot*>(dib.m_entity)->m_parts.GetCount();
    return 0;
}

// A point on the record's outline, where a click picks it.
CPointd PointOn(const CDib& dib)
{
    auto mid = [](const CPointd& a, const CPointd& b) { return CPointd((a.x + b.x) / 2, (a.y + b.y) / 2); };
    auto firstPart = [&](const CObList& parts) {
        const auto* d = static_cast<const CDib*>(parts.GetHead());
        return d->m_type == ENT_LINE ? PointOn(*d) : CPointd();
    };
    const CObject* e = dib.m_entity;
    switch (dib.m_type) {
    case ENT_LINE: return mid(static_cast<const CRecta*>(e)->m_p1, static_cast<const CRecta*>(e)->m_p2);
    case ENT_POINT: return static_cast<const CPunt*>(e)->m_point;
    case ENT_TEXT: return static_cast<const CText*>(e)->m_insert;
    case ENT_3DFACE: return mid(static_cast<const CTdface*>(e)->m_c[0], static_cast<const CTdface*>(e)->m_c[1]);
    case ENT_CIRCLE: {
        const auto* c = static_cast<const CCirc*>(e);
        return CPointd(c->m_centre.x + c->m_rx, c->m_centre.y);
    }
    case ENT_ARC: {
        const auto* a = static_cast<const CArc*>(e);
        return CPointd(a->m_centre.x + a->m_rx * std::cos(a->m_start), a->m_centre.y + a->m_rx * std::sin(a->m_start));
    }
    case ENT_PLINE: return firstPart(static_cast<const CPLine*>(e)->m_segments);
    case ENT_DIMENSION: return firstPart(static_cast<const CAcot*>(e)->m_parts);
    default: return CPointd();
    }
}

class UndoModel : public ViewTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc.m_ortho = 0;
        doc.m_gridStep = 0;
        Open(doc, other);
        rng.seed(GetParam());
        previousScript = SetDialogScript([this](const Form& form) { return Answer(form); });
        base = CDib::LiveCount();
    }
    void TearDown() override
    {
        SetDialogScript(previousScript);
        FreeUndoHistory(view);
        FreeUndoHistory(other);
        doc.RemoveView(&other);
        ViewTest::TearDown();
    }
    CRectaView& V(int v) { return v ? other : view; }
    int Pick(int n) { return int(rng() % unsigned(n)); }

    // The dialogs the commands open, answered at random.
    FormAnswer Answer(const Form& form)
    {
        static const char* const kAngles[] = {"90", "-45", "30", "180", "12.5", "-200"};
        const std::string name = form.templateName;
        if (name == "TEXTO") {
            std::string text(1 + Pick(110), 'a');
            for (char& c : text)
                c = char('a' + Pick(26));
            return {1, {{"text", text}}, {}};
        }
        if (name == "RADIO")
            return {1, {{"radius", Pick(4) ? std::to_string(1 + Pick(3)) : "0"}}, {}};
        if (name == "AGIRO")
            return {1, {{"angle", kAngles[Pick(6)]}}, {}};
        if (name == "BLOQDEF") {
            eraseSource = Pick(2) == 1;
            return {1, {{"name", "B" + std::to_string(++blocks)}, {"erase", eraseSource ? "1" : "0"}}, {}};
        }
        ADD_FAILURE() << "unexpected dialog " << name;
        return {2, {}, {}};
    }

    // ---- the model: a record out of the list belongs to the one step that took it out
    bool In(Serial s) const { return std::find(list.begin(), list.end(), s) != list.end(); }
    bool Owns(const Step& st) const
    {
        const auto it = owners.find(st.serial);
        return it != owners.end() && it->second == st.id && !In(st.serial);
    }
    // Undo reverses the steps newest first, redo applies again the ones undo
    // reversed; a step whose record is not where it needs it is passed over.
    // Undo puts erased records back at the end in step order.
    void Apply(State& state, bool undo)
    {
        std::vector<Step>& s = state.steps;
        std::vector<Serial> back;
        for (std::size_t i = 0; i < s.size(); ++i) {
            Step& st = s[undo ? s.size() - 1 - i : i];
            if (st.reversed == undo)
                continue;
            bool done = false;
            if (st.op == 0) {
                if ((done = In(st.serial)))
                    std::swap(bytes[st.serial], st.other);
            } else if ((st.op > 0) == undo) {
                if ((done = In(st.serial))) {
                    list.erase(std::find(list.begin(), list.end(), st.serial));
                    owners[st.serial] = st.id;
                }
            } else if ((done = Owns(st))) {
                list.insert(back.empty() ? list.end() : std::find(list.begin(), list.end(), back.back()), st.serial);
                if (undo)
                back.push_back(st.serial);
                owners.erase(st.serial);
            }
            st.reversed = undo == done;
        }
    }
    // A freed state frees the records its steps own.
    void Free(const State& s)
    {
        for (const Step& st : s.steps)
            if (Owns(st)) {
                owners.erase(st.serial);
                bytes.erase(st.serial);
            }
    }
    void Discard(ViewModel& m, int keep)
    {
        for (; m.undone > keep; --m.undone) {
            Free(m.states.back());
            m.states.pop_back();
        }
    }
    // An operation that changed nothing records no state.
    void Save(ViewModel& m, State s)
    {
        if (s.steps.empty())
            return;
        for (const Step& st : s.steps)
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
        State s;
        for (Serial c : m.chain)
            if (In(c))
                s.steps.push_back({1, ++ids, c, {}});
        Save(m, std::move(s));
        m.chain.clear();
    }

    // ---- operations on a view, and what the model expects of them
    Before Look(int v)
    {
        file = Stored(doc);
        Before b{V(v).m_command, V(v).m_mode, {}};
        for (POSITION n = V(v).GetFirstSelectedPosition(); n;)
            if (const Serial s = V(v).GetNextSelected(n)->m_serial; In(s))
                b.selected.push_back(s);
        return b;
    }
    // Reads what the operation did from the drawing, checks it against what its
    // effect allows, and records the state the view should have saved.
    void Record(int v, const Before& b, Effect effect)
    {
        std::vector<Serial> added, removed, changed;
        std::set<Serial> now;
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos)) {
            CDib* d = doc.GetEntityRecord(pos);
            now.insert(d->m_serial);
            const auto it = bytes.find(d->m_serial);
            if (it == bytes.end()) {
                added.push_back(d->m_serial);
                bytes[d->m_serial] = Stored(*d);
                parts[d->m_serial] = Parts(*d);
            } else if (Stored(*d) != it->second) {
                changed.push_back(d->m_serial);
            }
        }
        for (Serial s : list)
            if (!now.count(s))
                removed.push_back(s);
        const std::set<Serial> selected(b.selected.begin(), b.selected.end());
        const bool changes = effect == Effect::change || effect == Effect::changeWithCopies;
        const bool erases = effect == Effect::erase || (effect == Effect::block && eraseSource);
        for (Serial s : changed)
            EXPECT_TRUE(changes && selected.count(s)) << "record " << s << " changed";
        EXPECT_EQ(std::set<Serial>(removed.begin(), removed.end()), erases ? selected : std::set<Serial>());
        if (effect == Effect::change || effect == Effect::erase || effect == Effect::block) {
            EXPECT_TRUE(added.empty()) << added.size() << " records added";
        }

        State s;
        for (Serial a : added)
            if (effect == Effect::chain)
                vm[v].chain.push_back(a);
            else
                s.steps.push_back({1, ++ids, a, {}});
        for (Serial r : b.selected) {
            if (changes) {
                s.steps.push_back({0, ++ids, r, bytes[r]});
                bytes[r] = Stored(*doc.GetEntityRecord(doc.FindEntityBySerial(r)));
            } else if (erases) {
                s.steps.push_back({-1, ++ids, r, {}});
            }
        }
        if (effect == Effect::erase && added.empty() && !removed.empty() &&
            std::equal(removed.begin(), removed.end(), list.end() - std::ptrdiff_t(removed.size())) &&
            std::equal(removed.begin(), removed.end(), b.selected.begin(), b.selected.end())) {
            s.fileBefore = file;
            s.fileAfter = Stored(doc);
        }
        for (Serial r : removed)
            list.erase(std::find(list.begin(), list.end(), r));
        list.insert(list.end(), added.begin(), added.end());
        Save(vm[v], std::move(s));
    }

    void Command(int v, int id)
    {
        ViewModel& m = vm[v];
        if (id == ID_UNDO || id == ID_REDO) {
            // A new polyline and its undo in one step would hide its record from the model.
            if (V(v).m_mode == MODE_PLINE && !V(v).m_blockList.IsEmpty())
                Right(v);
            file = Stored(doc);
            V(v).OnCommand(id);
            CloseChain(m);  // every command first ends the running one
            bool done = false;
            if (id == ID_UNDO && (done = m.undone < int(m.states.size()))) {
                State& s = m.states[m.states.size() - ++m.undone];
                Apply(s, true);
                if (!s.fileBefore.empty() && file == s.fileAfter) {
                    EXPECT_TRUE(Stored(doc) == s.fileBefore) << "the file differs from the one before the erase";
                    ++fileChecks;
                }
            }
            if (id == ID_REDO && (done = m.undone > 0)) {
                Discard(m, 1);
                m.undone = 0;
                Apply(m.states.back(), false);
            }
            const std::string& p = V(v).PromptBuffer();
            EXPECT_EQ(p.rfind(id == ID_UNDO ? "Can not undo" : "Can not redo", 0) == 0, !done) << p;
            CompareContents();
            return;
        }
        const Before b = Look(v);
        V(v).OnCommand(id);
        CloseChain(m);
        Record(v, b, Effect::add);  // an open polyline becomes one
    }
    void Click(int v)
    {
        CRectaView& w = V(v);
        CPoint at{10 + Pick(kW - 20), 10 + Pick(kH - 20)};
        if (w.m_mode >= MODE_PICK && Pick(3)) {
            // On a record; the mirror commands want a line.
            const bool mirror = w.m_command == CMD_MIRROR_LINE || w.m_command == CMD_MIRROR_COPY_LINE;
            std::vector<const CDib*> on;
            for (Serial s : list)
                if (const CDib* d = doc.GetEntityRecord(doc.FindEntityBySerial(s)); !mirror || d->m_type == ENT_LINE)
                    on.push_back(d);
            if (!on.empty())
                at = w.WorldToDevicePoint(PointOn(*on[Pick(int(on.size()))]));
        }
        const Before b = Look(v);
        w.OnLButtonDown(MK_LBUTTON, at);
        Effect e = Effect::add;
        if (b.mode == MODE_LINE)
            e = Effect::chain;
        else if (b.code == CMD_MOVE_TARGET || b.code == CMD_ROTATE_CENTRE)
            e = Effect::change;
        else if (b.code == CMD_ROTATE_COPY_CENTRE)
            e = Effect::changeWithCopies;
        else if ((b.code == CMD_MIRROR_LINE || b.code == CMD_MIRROR_COPY_LINE) && w.m_command == CMD_NONE)
            e = b.code == CMD_MIRROR_LINE ? Effect::change : Effect::changeWithCopies;
        else if (b.code == CMD_BLOCK_BASE)
            e = Effect::block;
        Record(v, b, e);
    }
    void Right(int v)
    {
        const Before b = Look(v);
        V(v).OnRButtonDown(MK_RBUTTON, CPoint{5, 5});
        if (b.mode == MODE_LINE && b.code == CMD_NONE)
            CloseChain(vm[v]);
        Record(v, b, b.code == CMD_ERASE ? Effect::erase : Effect::add);
    }

    const char* RandomOp(int v)
    {
        // Drawing commands, then the editing ones twice as often.
        static constexpr int kStarters[] = {10009, 10074, 10063, 10066, 10068, 10069, 10065, 10076, 10077, 10078,
                                            10213, 4002,  10450, 10451, 10452, 10058, 10061, 10059, 10062, 10081,
                                            10450, 10451, 10452, 10058, 10061, 10059, 10062, 10081};
        static constexpr int kCopies[] = {10452, 10061, 10062};
        const CRectaView& w = V(v);
        const bool busy = w.m_command != CMD_NONE || w.m_mode != MODE_NONE;
        const int r = Pick(100);
        if (busy ? r < 72 : r < 4) {
            Click(v);
            return "click";
        }
        if (busy ? r < 84 : r < 8) {
            Right(v);
            return "right";
        }
        if (busy ? r < 86 : r < 63) {
            int id = kStarters[Pick(int(std::size(kStarters)))];
            if (list.size() > 80 && std::find(std::begin(kCopies), std::end(kCopies), id) != std::end(kCopies))
                id = 10450;  // keep the drawing small
            Command(v, id);
            return "command";
        }
        if (busy ? r < 88 : r < 65) {
            Command(v, ID_CANCEL_COMMAND);
            return "cancel";
        }
        if (busy ? r < 95 : r < 85) {
            // Now and then a run of undos reaches back past the other view's work.
            for (int k = bursts && Pick(4) == 0 ? 2 + Pick(12) : 1; k > 0; --k)
                Command(v, ID_UNDO);
            return "undo";
        }
        if (busy ? r < 98 : r < 95) {
            Command(v, ID_REDO);
            return "redo";
        }
        Pick(3) ? V(v).ZoomByFactor(Pick(2) ? 0.5 : 2.0) : V(v).OnZoomExtents();
        return "zoom";
    }

    // Elements the model expects alive: records with their parts, the copies of
    // change steps, polyline segments being drawn, and the blocks' elements.
    std::int64_t ExpectedElements()
    {
        std::int64_t n = base;
        for (const auto& [s, b] : bytes)
            n += 1 + parts[s];
        for (const ViewModel& m : vm)
            for (const State& s : m.states)
                for (const Step& st : s.steps)
                    n += st.op == 0 ? 1 + parts[st.serial] : 0;
        for (int v : {0, 1})
            n += V(v).m_blockList.GetCount();
        for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
            for (CObject* obj : doc.GetNextBlock(pos)->GetEntityList())
                n += 1 + Parts(*static_cast<CDib*>(obj));
        return n;
    }

    // Every record as the model's snapshot has it, after an undo or redo.
    void CompareContents()
    {
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos)) {
            CDib* d = doc.GetEntityRecord(pos);
            const auto it = bytes.find(d->m_serial);
            ASSERT_TRUE(it != bytes.end()) << "record " << d->m_serial << " should be gone";
            EXPECT_TRUE(Stored(*d) == it->second) << "record " << d->m_serial << " differs from the snapshot";
        }
    }
    void Verify()
    {
        std::vector<Serial> got;  // a record twice in the list shows here, or in its index
        for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos)) {
            const CDib* d = doc.GetEntityRecord(pos);
            EXPECT_EQ(doc.FindEntityRecord(d), pos);
            EXPECT_EQ(doc.FindEntityBySerial(d->m_serial), pos);
            got.push_back(d->m_serial);
        }
        EXPECT_EQ(got, list);
        for (int v : {0, 1}) {
            EXPECT_EQ(V(v).UndoStateCount(), int(vm[v].states.size())) << "view " << v;
            EXPECT_EQ(V(v).m_undone, vm[v].undone) << "view " << v;
            EXPECT_TRUE(V(v).m_pendingSteps.IsEmpty()) << "view " << v;
        }
        EXPECT_EQ(CDib::LiveCount(), ExpectedElements()) << "elements alive";
    }
    // n random operations in view `only`, or in either view when it is -1.
    void Run(int n, int only)
    {
        for (int i = 0; i < n && !HasFailure(); ++i) {
            const int v = only >= 0 ? only : Pick(2);
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
    DialogScript previousScript;
    ViewModel vm[2];
    std::vector<Serial> list;        // the entity list, in order
    std::map<Serial, Bytes> bytes;   // every record alive, as stored
    std::map<Serial, int> parts;     // elements each record holds besides itself
    std::map<Serial, int> owners;    // a record out of the list: the step that owns it
    std::int64_t base = 0;           // elements alive before the drawing had any
    bool bursts = false, eraseSource = false;
    int ids = 0, ops = 0, blocks = 0, fileChecks = 0;
    Bytes file;  // the drawing's file before the running operation
    std::string trace;
};

}  // namespace

TEST_P(UndoModel, RandomOperationsInTwoViews)
{
    // One view alone: undoing everything empties the drawing.
    Run(80, 0);
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

    // One view with more than 99 new states keeps 99 of them: the oldest go,
    // with the records their erase steps hold and the copies of their changes.
    for (int i = 0; i < 120; ++i) {
        Command(1, 10065);
        Click(1);
        const CPointd at = PointOn(*doc.GetLastEntityRecord());
        Command(1, i % 2 ? 10450 : 10451);
        other.OnLButtonDown(MK_LBUTTON, other.WorldToDevicePoint(at));
        Right(1);
        if (i % 2 == 0) {
            Click(1);
            Click(1);
        }
        Verify();
        ASSERT_FALSE(HasFailure()) << "round " << i;
    }
    EXPECT_EQ(other.UndoStateCount(), kMaxUndoStates);
    for (int i = 0; i < kMaxUndoStates; ++i)
        Command(1, ID_UNDO);
    Command(1, ID_UNDO);
    EXPECT_EQ(other.PromptBuffer().substr(0, 12), "Can not undo");
    Verify();

    // Freeing the histories and the drawing frees every element left.
    FreeUndoHistory(view);
    FreeUndoHistory(other);
    doc.DeleteContents();
    EXPECT_EQ(CDib::LiveCount(), base);
    EXPECT_GT(fileChecks, 0) << "no undone erase of the last records was checked against the file";
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoModel, ::testing::Values(1u, 2u, 3u));

// Plan view speed: full repaint, rubber-band moves, picking, object snap, and
// erase, move and undo of a large selection.
//
// Drawings are laid out in world units that map one to one onto the pixels of
// a 1600 x 1000 view at zoom extents: the first line runs from the first pixel
// to the last to fix the extents, the other lines start anywhere and are up to
// 200 px long in a random direction (folded back inside the view), and circles
// have radii of 5 to 100 px and lie wholly inside the view. The repaint and
// band drawing has 100,000 lines and 20,000 circles; the pick, snap, erase,
// move and undo drawing 80,000 lines and 20,000 circles.
//
// The insert drawing holds 1,000 inserts of a block of one 30,000-segment
// polyline, a random walk over 400 x 250 px, laid 30 px apart in a grid
// over the view: a click meets the boxes of about a hundred of them. Its
// snap and pick lines give the peak memory of the first round of clicks,
// which makes the block's index (VmHWM less VmRSS before, after resetting
// the peak). Another drawing holds an insert of a block of 50,000 lines and
// then an insert of one line inside its box, which the clicks find.
//
// The host paints as the widget does: requests are collected and the image is
// painted once after each event, inside the timing.
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/transform.h"
#include "platform/imagedc.h"
#include "support/painting_host.h"
#include "support/timing.h"
#include "view2d/pickdist.h"
#include "view2d/rectaview.h"
#include "view2d/snap.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <random>
#include <vector>

namespace {

constexpr int kW = 1600, kH = 1000;
constexpr double kMaxX = kW - 1, kMaxY = kH - 1;  // the last pixel's drawing point
constexpr int kLineCommand = 10009;
constexpr int kEraseCommand = 10450;
constexpr int kMoveCommand = 10451;
constexpr int kUndoCommand = 10028;

void Fill(CRectaDoc& doc, int lines, int circles, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // An end that leaves the view is mirrored about the start.
    auto fold = [](double from, double d, double limit) {
        return from + d < 0 || from + d > limit ? from - d : from + d;
    };
    CRecta* frame = doc.AddRecta();
    frame->m_p1 = CPointd(0, 0);
    frame->m_p2 = CPointd(kMaxX, kMaxY);
    for (int i = 1; i < lines; ++i) {
        const double x = unit(rng) * kMaxX, y = unit(rng) * kMaxY;
        const double len = unit(rng) * 200.0, dir = unit(rng) * 2 * std::numbers::pi;
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(x, y);
        l->m_p2 = CPointd(fold(x, len * std::cos(dir), kMaxX), fold(y, len * std::sin(dir), kMaxY));
    }
    for (int i = 0; i < circles; ++i) {
        const double r = 5.0 + unit(rng) * 95.0;
        CCirc* c = doc.AddCirc();
        c->m_centre = CPointd(r + unit(rng) * (kMaxX - 2 * r), r + unit(rng) * (kMaxY - 2 * r));
        c->m_rx = c->m_ry = r;
    }
}

// One walk over the entity list reading each record; best of many, in milliseconds.
double ListPassMs(const CRectaDoc& doc)
{
    std::uintptr_t sum = 0;
    const double ms = Best(50, [&] {
        for (CObject* obj : doc.GetEntityList()) {
            const auto* dib = static_cast<const CDib*>(obj);
            sum += std::uintptr_t(dib->m_type + dib->m_visible + dib->m_flag) +
                   reinterpret_cast<std::uintptr_t>(dib->m_entity);
        }
    });
    volatile std::uintptr_t sink = sum;
    (void)sink;
    return ms;
}

struct Drawing {
    CRectaDoc doc;
    CRectaView view;
    PaintingHost host{view};

    Drawing(int lines, int circles, unsigned seed)
    {
        doc.OnNewDocument();
        Fill(doc, lines, circles, seed);
        doc.CalcExtents();
        doc.AddView(&view);
        view.SetHost(&host);
        view.OnSize(kW, kH);
        view.OnInitialUpdate();
        view.OnZoomExtents();
        if (std::fabs(view.m_scale - 1.0) > 1e-9)
            Fail("zoom extents did not map the drawing one to one");
        view.Image();
    }
};

int Ink(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += (row[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return n;
}

// One full repaint of the view, best of five.
double FullRepaintMs(Drawing& d)
{
    return Best(5, [&] {
        d.view.Invalidate();
        d.view.Image();
    });
}

// Full repaint against QPainter drawing the same device primitives; returns the repaint time.
double Repaint(Drawing& d)
{
    struct Seg {
        int x0, y0, x1, y1;
    };
    struct Ring {
        int cx, cy, r;
    };
    std::vector<Seg> segs;
    std::vector<Ring> rings;
    for (CObject* obj : d.doc.GetEntityList()) {
        const auto* dib = static_cast<const CDib*>(obj);
        if (dib->m_type == ENT_LINE) {
            const auto* l = static_cast<const CRecta*>(dib->m_entity);
            const CPoint a = d.view.WorldToDevicePoint(l->m_p1), b = d.view.WorldToDevicePoint(l->m_p2);
            segs.push_back({a.x, a.y, b.x, b.y});
        } else if (dib->m_type == ENT_CIRCLE) {
            const auto* c = static_cast<const CCirc*>(dib->m_entity);
            const CPoint p = d.view.WorldToDevicePoint(c->m_centre);
            rings.push_back({p.x, p.y, int(c->m_rx * d.view.m_scale)});
        }
    }

    const double ours = FullRepaintMs(d);
    QImage base(kW, kH, QImage::Format_RGB32);
    const double baseMs = Best(5, [&] {
        base.fill(Qt::white);
        QPainter p(&base);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(Qt::black, 1);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        for (const Seg& s : segs)
            p.drawLine(s.x0, s.y0, s.x1, s.y1);
        for (const Ring& r : rings)
            p.drawEllipse(QRect(r.cx - r.r, r.cy - r.r, 2 * r.r, 2 * r.r));
    });
    // Both images should carry about the same ink, or the view left entities out.
    const int inkOurs = Ink(d.view.Image()), inkBase = Ink(base);
    if (inkOurs < inkBase * 0.9 || inkOurs > inkBase * 1.1)
        Fail("the repaint's ink differs from the plain drawing's by more than 10%");
    Report("view_repaint", ours, baseMs);
    return ours;
}

// Rubber-band moves of the line command after its first click.
void BandMove(Drawing& d, double repaintMs)
{
    CRectaView& v = d.view;
    d.doc.m_ortho = 0;  // bands in any direction, not only along the axes
    v.OnCommand(kLineCommand);
    v.OnLButtonDown(MK_LBUTTON, CPoint{kW / 2, kH / 2});
    if (v.m_bandState != 1)
        Fail("the line command did not start a rubber band");
    // A marker pixel far from every band: a repaint would wipe it.
    const QRgb marker = qRgb(255, 0, 0);
    v.GetClientDC()->SetPixel(1, kH - 2, RGB(255, 0, 0));
    if (v.Image().pixel(1, 1) != marker)
        Fail("the marker pixel did not land where expected");

    constexpr int kMoves = 500;
    std::vector<CPoint> targets(kMoves);
    for (int i = 0; i < kMoves; ++i) {
        const double a = 2 * std::numbers::pi * i / kMoves;
        targets[i] = CPoint{kW / 2 + int(300 * std::cos(a)), kH / 2 + int(300 * std::sin(a))};
    }
    const double per = Best(5, [&] {
        for (const CPoint& p : targets) {
            v.OnMouseMove(0, p);
            d.host.Paint();
        }
    }) / kMoves;
    if (v.Image().pixel(1, 1) != marker)
        Fail("a rubber-band move repainted the drawing");
    if (!(per < repaintMs / 20))
        Fail("a rubber-band move costs more than a twentieth of a repaint");
    v.CancelCommand();
    Report("view_band_move", per, ListPassMs(d.doc));
}

// Pick points spread over the view, in drawing units.
std::vector<CPointd> PickPoints(const CRectaView& v, int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> x(0, kW - 1), y(0, kH - 1);
    std::vector<CPointd> pts(n);
    for (CPointd& p : pts)
        p = v.DeviceToWorld(CPoint{x(rng), y(rng)});
    return pts;
}

void Pick(Drawing& d, double pass)
{
    const std::vector<CPointd> pts = PickPoints(d.view, 20, 7);
    int hits = 0;
    const double per = Best(3, [&] {
        hits = 0;
        for (const CPointd& p : pts) {
            CObject* e = nullptr;
            int type = 0;
            hits += d.view.PickNearestEntity(p, e, type) != nullptr;
        }
    }) / double(pts.size());
    if (hits == 0)
        Fail("no pick hit anything");
    Report("view_pick", per, pass);
}

void Snap(Drawing& d, double pass)
{
    CRectaView& v = d.view;
    const std::vector<CPointd> pts = PickPoints(v, 20, 11);
    auto run = [&](int mode, const char* name) {
        int hits = 0;
        const double per = Best(3, [&] {
            hits = 0;
            for (const CPointd& p : pts) {
                CPointd q = p;
                v.m_snapMode = mode;
                hits += v.OnEditPoint(q);
            }
        }) / double(pts.size());
        if (hits == 0)
            Fail("no object snap found a point");
        Report(name, per, pass);
    };
    run(2, "view_snap_end");
    run(1, "view_snap_intersection");
    v.m_snapMode = 0;
}

// Selects count entities spread evenly over the list, for the command just started.
void SelectSpread(Drawing& d, int count)
{
    CRectaView& v = d.view;
    const int total = d.doc.GetEntityList().GetCount();
    int i = 0;
    for (POSITION pos = d.doc.GetFirstEntityPosition(); pos; d.doc.GetEntityList().GetNext(pos), ++i)
        if (i % (total / count) == 0 && v.m_selection.GetCount() < count)
            v.AddToSelection(d.doc.GetEntityRecord(pos)->m_type, pos);
    if (v.m_selection.GetCount() != count)
        Fail("the selection does not hold the entities to edit");
    v.Image();
}

// The event, then the one paint it asked for.
template <class F>
double PaintedMs(Drawing& d, F&& event)
{
    const auto t0 = Clock::now();
    event();
    d.host.Paint();
    return Ms(t0, Clock::now());
}

// Erase of a tenth of the entities through the erase command, then its undo.
void EraseUndo(Drawing& d, double repaintMs)
{
    constexpr int kErased = 10000;
    CRectaView& v = d.view;
    const int total = d.doc.GetEntityList().GetCount();
    double erase = 1e300, undo = 1e300;
    for (int round = 0; round < 3; ++round) {
        v.OnCommand(kEraseCommand);
        SelectSpread(d, kErased);
        erase = std::min(erase, PaintedMs(d, [&] { v.OnRButtonDown(MK_RBUTTON, CPoint{kW / 2, kH / 2}); }));
        if (d.doc.GetEntityList().GetCount() != total - kErased)
            Fail("the erase command did not remove the selection");
        undo = std::min(undo, PaintedMs(d, [&] { v.OnCommand(kUndoCommand); }));
        if (d.doc.GetEntityList().GetCount() != total)
            Fail("undo did not bring the erased entities back");
    }
    Report("view_erase", erase, repaintMs);
    Report("view_undo", undo, repaintMs);
}

// Move of a tenth of the entities through the move command, then its undo.
void MoveUndo(Drawing& d, double repaintMs)
{
    constexpr int kMoved = 10000;
    CRectaView& v = d.view;
    double move = 1e300, undo = 1e300;
    for (int round = 0; round < 3; ++round) {
        v.OnCommand(kMoveCommand);
        SelectSpread(d, kMoved);
        // A line or circle of the selection, by where it lies.
        POSITION node = v.GetFirstSelectedPosition();
        const CDib* first = d.doc.GetEntityRecord(d.doc.FindEntityBySerial(v.GetNextSelected(node)->m_serial));
        auto anchor = [first] {
            return first->m_type == ENT_LINE ? static_cast<const CRecta*>(first->m_entity)->m_p1
                                             : static_cast<const CCirc*>(first->m_entity)->m_centre;
        };
        const CPointd start = anchor();
        v.OnRButtonDown(MK_RBUTTON, CPoint{kW / 2, kH / 2});
        d.host.Paint();
        v.OnLButtonDown(MK_LBUTTON, CPoint{kW / 2, kH / 2});
        d.host.Paint();
        move = std::min(move, PaintedMs(d, [&] { v.OnLButtonDown(MK_LBUTTON, CPoint{kW / 2 + 40, kH / 2 - 30}); }));
        if (anchor() == start)
            Fail("the move command did not move the selection");
        undo = std::min(undo, PaintedMs(d, [&] { v.OnCommand(kUndoCommand); }));
        if (anchor() != start)
            Fail("undo did not put the moved entities back");
    }
    Report("view_move", move, repaintMs);
    Report("view_move_undo", undo, repaintMs);
    if (move > 3 * repaintMs || undo > 3 * repaintMs)
        Fail("moving a selection or undoing it costs more than three full repaints");
}

// A crossing window over the middle of the drawing, which toggles thousands of records.
void SelectWindow(Drawing& d, double pass)
{
    CRectaView& v = d.view;
    double best = 1e300;
    std::size_t selected = 0;
    for (int round = 0; round < 3; ++round) {
        v.CancelCommand();
        v.OnCommand(kEraseCommand);
        const auto t0 = Clock::now();
        v.SelectByWindow(1, CPointd(kW * 0.25, kH * 0.25), CPointd(kW * 0.75, kH * 0.75));
        best = std::min(best, Ms(t0, Clock::now()));
        selected = std::size_t(v.m_selection.GetCount());
    }
    v.CancelCommand();
    char note[64];
    std::snprintf(note, sizeof note, " (%zu selected)", selected);
    Report("view_select_window", best, pass, note);
}

constexpr int kInserts = 1000, kSegments = 30000;

// Resident memory now and at its peak since the last reset, in MB.
double MemoryMb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(std::string(field).size() + 1)) / 1024.0;
    return 0.0;
}

void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct InsertDrawing {
    CRectaDoc doc;
    CRectaView view;
    PaintingHost host{view};
    CBloq* block = nullptr;

    InsertDrawing()
    {
        doc.OnNewDocument();
        std::mt19937 rng(20240603);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        CObList segments(ListOwnership::owns);
        CPointd at(200, 125);
        for (int i = 0; i < kSegments; ++i) {
            const double len = unit(rng) * 20.0, dir = unit(rng) * 2 * std::numbers::pi;
            auto* l = new CRecta;
            l->m_layer = "ZP";
            l->m_p1 = at;
            at = CPointd(std::clamp(at.x + len * std::cos(dir), 0.0, 400.0),
                         std::clamp(at.y + len * std::sin(dir), 0.0, 250.0));
            l->m_p2 = at;
            segments.AddTail(new CDib(ENT_LINE, l));
        }
        CObList entities(ListOwnership::owns);
        auto* pl = new CPLine;
        pl->m_layer = "ZP";
        pl->m_segments.AddTail(segments);
        entities.AddTail(new CDib(ENT_PLINE, pl));
        const std::string name(1, 'P');
        block = doc.AddBlock(CPointd(), entities, name);
        block->CalcExtents(doc);
        for (int i = 0; i < kInserts; ++i) {
            auto* ins = new CInsBl(1, 0, "ZP");
            ins->m_block = name;
            ins->m_insert = CPointd(30.0 * (i % 40), 30.0 * (i / 40));
            doc.AppendEntityRecord(new CDib(ENT_INSERT, ins, 1));
        }
        doc.CalcExtents();
        doc.AddView(&view);
        view.SetHost(&host);
        view.OnSize(kW, kH);
        view.OnInitialUpdate();
    }
};

// One plain pass over the segments of one insert of the polyline block:
// each placed by the insert and measured by measure(line), as the same
// segments drawn loose would be. This is what one insert costs a click that
// walks its block whole.
template <class Measure>
double PlacedPartsPassMs(const CBloq& block, const CPlacement& placement, Measure&& measure)
{
    const auto* pl = static_cast<const CPLine*>(static_cast<const CDib*>(block.GetEntityList().GetHead())->m_entity);
    int hits = 0;
    const double ms = Best(5, [&] {
        for (const CObject* obj : pl->m_segments) {
            CRecta l;
            l.Copy(*static_cast<const CRecta*>(static_cast<const CDib*>(obj)->m_entity));
            PlaceEntity(l, placement);
            hits += measure(l);
        }
    });
    volatile int sink = hits;
    (void)sink;
    return ms;
}

// Snap and pick at each point: the best of three rounds, per click, with the
// peak memory of the first round in note. The blocks' indexes are made again
// inside the first round.
template <class Click>
double ClicksMs(const std::vector<CPointd>& pts, Click&& click, char (&note)[64])
{
    NoteBlockEdit();
    const double before = MemoryMb("VmRSS:");
    ResetPeakMemory();
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        const auto t0 = Clock::now();
        for (const CPointd& p : pts)
            click(p);
        best = std::min(best, Ms(t0, Clock::now()));
        if (round == 0)
            std::snprintf(note, sizeof note, " peak_mb=%.1f", MemoryMb("VmHWM:") - before);
    }
    return best / double(pts.size());
}

// One benchmark line of clicks: its name, its base, and what a click must find.
template <class Target>
struct ClickLine {
    const char* name;
    double base;
    std::function<bool(Target)> found;
};

// Nearest snap at each point, then pick; each fails the run when no click finds what it must.
void ReportSnapPick(CRectaView& v, const std::vector<CPointd>& pts, const ClickLine<const CPointd&>& snap,
                    const ClickLine<POSITION>& pick)
{
    int hits = 0;
    char note[64];
    const double snapMs = ClicksMs(pts, [&](const CPointd& p) {
        CPointd q = p;
        v.m_snapMode = 4;
        hits += v.OnEditPoint(q) && snap.found(q);
    }, note);
    v.m_snapMode = 0;
    if (hits == 0)
        Fail("no object snap inside the inserts found its point");
    Report(snap.name, snapMs, snap.base, note);
    hits = 0;
    const double pickMs = ClicksMs(pts, [&](const CPointd& p) {
        CObject* e = nullptr;
        int type = 0;
        hits += pick.found(v.PickNearestEntity(p, e, type));
    }, note);
    if (hits == 0)
        Fail("no pick inside the inserts found its insert");
    Report(pick.name, pickMs, pick.base, note);
}

// Object snap and pick inside the inserts, against one insert's segments
// placed and measured in a plain pass.
void InsertsSnapPick()
{
    InsertDrawing d;
    CRectaView& v = d.view;
    v.OnZoomExtents();
    v.Image();
    const std::vector<CPointd> pts = PickPoints(v, 10, 13);
    const Pt2 pp = Plan(pts.front());
    const double t = 6.0 / v.m_scale;
    const Pt2 box[4] = {{pp.x - t, pp.y + t}, {pp.x + t, pp.y + t}, {pp.x + t, pp.y - t}, {pp.x - t, pp.y - t}};
    const CPlacement first = static_cast<const CInsBl*>(d.doc.GetEntityRecord(d.doc.GetFirstEntityPosition())->m_entity)
                                 ->Placement();
    const double snapPass = PlacedPartsPassMs(*d.block, first, [&](const CRecta& l) {
        Pt2 foot;
        double dist = 0.0;
        return SnapRecta(l, box, pp, foot, dist);
    });
    const double pickPass = PlacedPartsPassMs(*d.block, first, [&](const CRecta& l) {
        double dist = 0.0;
        return PickDistRecta(l, pts.front(), dist);
    });
    ReportSnapPick(v, pts, {"view_snap_inserts", snapPass, [](const CPointd&) { return true; }},
                   {"view_pick_inserts", pickPass, [](POSITION pos) { return pos != nullptr; }});
}

// An insert of a block of 50,000 lines, then an insert of one line inside
// its box: clicks on that line snap to it and pick it. The base is one plain
// pass placing and measuring the large block's lines, which a click that
// walked that insert whole would pay before reaching the other.
void SnapPickAfterLargeInsert()
{
    CRectaDoc doc;
    CRectaView view;
    PaintingHost host{view};
    doc.OnNewDocument();
    CObList lines(ListOwnership::owns);
    for (int i = 0; i < 50000; ++i) {
        const double x = (i % 250) * 0.4, y = (i / 250) * 0.5;
        auto* l = new CRecta;
        l->m_layer = "ZP";
        l->m_p1 = CPointd(x, y);
        l->m_p2 = CPointd(x, y + 0.1);
        lines.AddTail(new CDib(ENT_LINE, l));
    }
    const CBloq* grid = doc.AddBlock(CPointd(), lines, "GRID");
    CObList one(ListOwnership::owns);
    auto* target = new CRecta;
    target->m_layer = "ZP";
    target->m_p2 = CPointd(0.2, 0);
    one.AddTail(new CDib(ENT_LINE, target));
    doc.AddBlock(CPointd(), one, "ONE");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(0, 0), 1, 0, 1, "GRID");
    doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(50.1, 50.3), 1, 0, 1, "ONE");
    doc.m_windowMin = CPointd(49.5, 49.5);
    doc.m_windowMax = CPointd(51, 51.125);
    doc.AddView(&view);
    view.SetHost(&host);
    view.OnSize(kW, kH);
    view.OnInitialUpdate();
    view.Image();
    const CPointd at(50.2, 50.303);
    const Pt2 pp = Plan(at);
    const double t = 6.0 / view.m_scale;
    const Pt2 box[4] = {{pp.x - t, pp.y + t}, {pp.x + t, pp.y + t}, {pp.x + t, pp.y - t}, {pp.x - t, pp.y - t}};
    const double base = Best(5, [&] {
        int hits = 0;
        for (const CObject* obj : grid->GetEntityList()) {
            CRecta l;
            l.Copy(*static_cast<const CRecta*>(static_cast<const CDib*>(obj)->m_entity));
            PlaceEntity(l, CPlacement{});
            Pt2 foot;
            double dist = 0.0;
            hits += SnapRecta(l, box, pp, foot, dist);
        }
        volatile int sink = hits;
        (void)sink;
    });
    const std::vector<CPointd> pts(10, at);
    ReportSnapPick(view, pts,
                   {"view_snap_after_large_insert", base,
                    [](const CPointd& q) { return std::fabs(q.y - 50.3) < 1e-3; }},
                   {"view_pick_after_large_insert", base,
                    [&](POSITION pos) { return pos == doc.GetLastEntityPosition(); }});
    doc.RemoveView(&view);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    PrintMessageBoxes();
    if (argc > 1 && std::string(argv[1]) == "inserts") {
        InsertsSnapPick();
        SnapPickAfterLargeInsert();
        return 0;
    }
    InsertsSnapPick();
    SnapPickAfterLargeInsert();

    {
        Drawing big(100000, 20000, 20240601);
        BandMove(big, Repaint(big));
    }
    Drawing d(80000, 20000, 20240602);
    const double pass = ListPassMs(d.doc);
    Pick(d, pass);
    Snap(d, pass);
    SelectWindow(d, pass);
    const double repaintMs = FullRepaintMs(d);
    EraseUndo(d, repaintMs);
    MoveUndo(d, repaintMs);
    return 0;
}

#include "model/blockindex.h"

#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitycontext.h"
#include "model/entitydraw.h"
#include "model/entitykind.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/reach.h"
#include "model/recta.h"
#include "model/text.h"
#include "model/transform.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

// Makes the indexes of one drawing's blocks, following nested blocks.
class CIndexSource {
public:
    explicit CIndexSource(const CEntityContext& drawing) : m_drawing(drawing) {}

    // The index of block; null when block is being made already (it inserts
    // itself) or lies too deep under the one asked for first.
    std::shared_ptr<const CBlockIndex> Of(const CBloq& block);

private:
    const CEntityContext& m_drawing;
    std::uint64_t m_list = 0;
    std::vector<const CBloq*> m_making;
    // Indexes of a drawing that keeps no versions: kept for this source only.
    std::unordered_map<const CBloq*, std::shared_ptr<const CBlockIndex>> m_made;
};

namespace {

constexpr std::uint32_t kFanOut = 16;
// How deep the making of an index follows nested blocks; a block deeper
// stands unbounded.
constexpr std::size_t kMaxIndexNesting = 64;
// The rounding a placement may bring, relative to the coordinates it meets.
constexpr double kRounding = 1e-9;

bool IsComposite(int type)
{
    return type == ENT_PLINE || type == ENT_DIMENSION;
}

// The parts a walk hands on: lines and arcs of a polyline, lines and texts of a dimension.
bool IsPieceOf(int owner, int part)
{
    return part == ENT_LINE || part == (owner == ENT_PLINE ? ENT_ARC : ENT_TEXT);
}

const CObList& PartsOf(const CDib& owner)
{
    return owner.m_type == ENT_PLINE ? static_cast<const CPLine*>(owner.m_entity)->m_segments
                                     : static_cast<const CAcot*>(owner.m_entity)->m_parts;
}

double LargerScale(const CPlacement& p)
{
    return std::max(std::fabs(p.sx), std::fabs(p.sy));
}

// What a pad grows by under p: an arc under a scale of 0 or below takes the scale on.
double PadFactor(const CPlacement& p)
{
    return std::max(1.0, LargerScale(p));
}

bool EqualScales(const CPlacement& p)
{
    return std::fabs(p.sx) == std::fabs(p.sy);
}

// The cosine and sine of a placement's rotation; most inserts are not turned.
void Turn(const CPlacement& p, double& c, double& s)
{
    c = p.a == 0.0 ? 1.0 : std::cos(p.a);
    s = p.a == 0.0 ? 0.0 : std::sin(p.a);
}

// The box's corners placed by p (as PlacePoint places them), bounded.
PlanBox PlacedBox(const PlanBox& box, const CPlacement& p)
{
    double c = 0.0, s = 0.0;
    Turn(p, c, s);
    PlanBox out;
    for (const Pt2 q : {box.lo, Pt2{box.hi.x, box.lo.y}, box.hi, Pt2{box.lo.x, box.hi.y}}) {
        const double dx = p.sx * q.x, dy = p.sy * q.y;
        out.Add(p.x + (c * dx - s * dy), p.y + (s * dx + c * dy));
    }
    return out;
}

void Join(PlanBox& box, const PlanBox& other)
{
    if (other.Empty())
        return;
    box.Add(other.lo.x, other.lo.y);
    box.Add(other.hi.x, other.hi.y);
}

double Farthest(const PlanBox& box)
{
    return std::hypot(std::max(std::fabs(box.lo.x), std::fabs(box.hi.x)),
                      std::max(std::fabs(box.lo.y), std::fabs(box.hi.y)));
}

// A window taken into block coordinates under a placement: every block point
// the placement puts inside the window lies in box, and an item with pad d
// meets the window only when its box meets this one grown by d·gx and d·gy.
struct BlockWindow {
    PlanBox box;
    double gx = 0.0, gy = 0.0;
    bool all = false;  // nothing is left out
};

// reach: how far the block's placed points lie from the insertion point,
// for the rounding of the terms that place them.
BlockWindow IntoBlock(const CPlacement& p, const PlanBox& w, double reach)
{
    BlockWindow b;
    if (!w.Bounded()) {
        b.all = true;
        return b;
    }
    double c = 0.0, s = 0.0;
    Turn(p, c, s);
    const PlanBox g = Grown(w, kRounding * std::max({std::fabs(w.lo.x), std::fabs(w.lo.y), std::fabs(w.hi.x),
                                                     std::fabs(w.hi.y), std::fabs(p.x), std::fabs(p.y), reach}));
    for (const Pt2 k : {g.lo, Pt2{g.hi.x, g.lo.y}, g.hi, Pt2{g.lo.x, g.hi.y}}) {
        const double dx = k.x - p.x, dy = k.y - p.y;
        b.box.Add((c * dx + s * dy) / p.sx, (c * dy - s * dx) / p.sy);
    }
    // An axis the placement flattens, or that did not come out finite, is left whole.
    const bool whole[2] = {!(std::isfinite(b.box.lo.x) && std::isfinite(b.box.hi.x)),
                           !(std::isfinite(b.box.lo.y) && std::isfinite(b.box.hi.y))};
    if (whole[0]) {
        b.box.lo.x = -PlanBox::kInf;
        b.box.hi.x = PlanBox::kInf;
    }
    if (whole[1]) {
        b.box.lo.y = -PlanBox::kInf;
        b.box.hi.y = PlanBox::kInf;
    }
    b.all = whole[0] && whole[1];
    b.gx = PadFactor(p) / std::fabs(p.sx);
    b.gy = PadFactor(p) / std::fabs(p.sy);
    return b;
}

template <class T>
bool Overlaps(const T& e, const BlockWindow& b)
{
    const double px = e.pad > 0.0 ? e.pad * b.gx : 0.0;
    const double py = e.pad > 0.0 ? e.pad * b.gy : 0.0;
    return e.box.lo.x <= b.box.hi.x + px && e.box.hi.x >= b.box.lo.x - px && e.box.lo.y <= b.box.hi.y + py &&
           e.box.hi.y >= b.box.lo.y - py;
}

// Sort-tile order: slices by x, each slice by y, so that runs of kFanOut
// lie close together.
template <class T>
void TileOrder(std::vector<T>& v)
{
    const std::size_t n = v.size();
    if (n <= kFanOut)
        return;
    const std::size_t groups = (n + kFanOut - 1) / kFanOut;
    const auto slices = std::size_t(std::ceil(std::sqrt(double(groups))));
    const std::size_t perSlice = (groups + slices - 1) / slices * kFanOut;
    auto centre = [](const PlanBox& b, bool x) { return x ? b.lo.x / 2 + b.hi.x / 2 : b.lo.y / 2 + b.hi.y / 2; };
    std::sort(v.begin(), v.end(), [&](const T& a, const T& b) { return centre(a.box, true) < centre(b.box, true); });
    for (std::size_t i = 0; i < n; i += perSlice)
        std::sort(v.begin() + std::ptrdiff_t(i), v.begin() + std::ptrdiff_t(std::min(n, i + perSlice)),
                  [&](const T& a, const T& b) { return centre(a.box, false) < centre(b.box, false); });
}

}  // namespace

// ---------------------------------------------------------------- the index

CBlockIndex::CBlockIndex(const CBloq& block, const CEntityContext& drawing, CIndexSource& source)
{
    for (const CObject* obj : block.GetEntityList()) {
        const auto* dib = static_cast<const CDib*>(obj);
        const int type = dib->m_type;
        if (!dib->m_entity || !IsEntityType(type))
            continue;
        if (type == ENT_INSERT) {
            // A missing block shows nothing; one being made (it inserts itself) cannot be bounded.
            const auto& insert = *static_cast<const CInsBl*>(dib->m_entity);
            if (const CBloq* inner = insert.FindBlock(drawing)) {
                if (const auto index = source.Of(*inner))
                    AddNested(dib, insert, *index);
                else
                    AddOpen(dib);
            }
        } else if (IsComposite(type)) {
            for (const CObject* p : PartsOf(*dib)) {
                const auto* part = static_cast<const CDib*>(p);
                if (!part->m_entity || !IsPieceOf(type, part->m_type))
                    continue;
                PlacedReach reach;
                EntityKind(part->m_type).Reach(part->m_entity, reach);
                AddEntity(dib, part, reach);
            }
        } else {
            PlacedReach reach;
            EntityKind(type).Reach(dib->m_entity, reach);
            AddEntity(dib, nullptr, reach);
        }
    }
    Build();
}

void CBlockIndex::AddEntity(const CDib* owner, const CDib* part, const PlacedReach& reach)
{
    const auto id = std::uint32_t(m_items.size());
    m_items.push_back({owner, part});
    m_marker = m_marker || reach.marker;
    if (!reach.Bounded()) {
        m_open.push_back(id);
        return;
    }
    m_leaves.push_back({reach.box, reach.pad, id});
    Join(m_box, reach.box);
    m_pad = std::max(m_pad, reach.pad);
    m_radius = std::max(m_radius, Farthest(reach.box));
}

void CBlockIndex::AddNested(const CDib* owner, const CInsBl& insert, const CBlockIndex& inner)
{
    if (inner.m_items.empty())
        return;  // nothing to show
    if (!inner.m_open.empty()) {
        AddOpen(owner);
        return;
    }
    const CPlacement n = insert.Placement();
    const PlanBox box = PlacedBox(inner.m_box, n);
    const double pad = inner.m_pad * PadFactor(n);
    const double radius = std::hypot(n.x, n.y) + inner.m_radius * LargerScale(n);
    if (!box.Bounded() || !std::isfinite(pad) || !std::isfinite(radius)) {
        AddOpen(owner);
        return;
    }
    const auto id = std::uint32_t(m_items.size());
    m_items.push_back({owner, nullptr});
    const Nested nested{id, std::sin(n.a) == 0.0, EqualScales(n), inner.m_rigid, inner.m_exact};
    m_nested.push_back(nested);
    m_rigid = m_rigid && nested.turnFree && nested.innerRigid;
    m_exact = m_exact && (nested.uniform ? nested.innerExact : nested.innerRigid);
    m_marker = m_marker || inner.m_marker;
    m_leaves.push_back({box, pad, id});
    Join(m_box, box);
    m_pad = std::max(m_pad, pad);
    m_radius = std::max(m_radius, radius);
}

void CBlockIndex::AddOpen(const CDib* owner)
{
    m_open.push_back(std::uint32_t(m_items.size()));
    m_items.push_back({owner, nullptr});
}

void CBlockIndex::Build()
{
    if (m_leaves.empty())
        return;
    TileOrder(m_leaves);
    std::vector<Node> level;
    auto over = [&](auto& from, std::size_t at, std::uint32_t first, bool overLeaves) {
        Node node{{}, 0.0, first, std::uint32_t(std::min<std::size_t>(kFanOut, from.size() - at)), overLeaves};
        for (std::size_t i = at; i < at + node.count; ++i) {
            Join(node.box, from[i].box);
            node.pad = std::max(node.pad, from[i].pad);
        }
        return node;
    };
    for (std::size_t at = 0; at < m_leaves.size(); at += kFanOut)
        level.push_back(over(m_leaves, at, std::uint32_t(at), true));
    while (level.size() > 1) {
        TileOrder(level);
        const auto base = std::uint32_t(m_nodes.size());
        m_nodes.insert(m_nodes.end(), level.begin(), level.end());
        std::vector<Node> up;
        for (std::size_t at = 0; at < level.size(); at += kFanOut)
            up.push_back(over(level, at, base + std::uint32_t(at), false));
        level = std::move(up);
    }
    m_nodes.push_back(level.front());
}

bool CBlockIndex::Trusted(const Nested& n, const CPlacement& p)
{
    // Under unequal scales a turned nested insert is sheared by its composed
    // placement, out of the box its own placement gives.
    return (n.turnFree && n.innerRigid) || (EqualScales(p) && (n.uniform ? n.innerExact : n.innerRigid));
}

template <class Window, class Hit>
void CBlockIndex::Search(const Window& w, Hit&& hit) const
{
    if (m_nodes.empty())
        return;
    // At most kFanOut - 1 nodes wait on each level of a tree of 2^32 items.
    std::uint32_t stack[8 * kFanOut];
    std::size_t waiting = 0;
    stack[waiting++] = std::uint32_t(m_nodes.size() - 1);
    while (waiting > 0) {
        const Node& node = m_nodes[stack[--waiting]];
        if (!Overlaps(node, w))
            continue;
        for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
            if (!node.overLeaves)
                stack[waiting++] = i;
            else if (Overlaps(m_leaves[i], w) && !hit(m_leaves[i].id))
                return;
        }
    }
}

void CBlockIndex::Query(const CPlacement& p, const PlanBox& window, std::vector<std::uint32_t>& hits) const
{
    hits.clear();
    const BlockWindow w = IntoBlock(p, window, m_radius * LargerScale(p));
    if (w.all) {
        for (std::uint32_t id = 0; id < m_items.size(); ++id)
            hits.push_back(id);
        return;
    }
    Search(w, [&](std::uint32_t id) {
        hits.push_back(id);
        return true;
    });
    if (!m_rigid && !(EqualScales(p) && m_exact))
        for (const Nested& n : m_nested)
            if (!Trusted(n, p))
                hits.push_back(n.id);
    hits.insert(hits.end(), m_open.begin(), m_open.end());
    std::sort(hits.begin(), hits.end());
    hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
}

bool CBlockIndex::Meets(const CPlacement& p, const PlanBox& window) const
{
    if (m_items.empty())
        return false;
    const BlockWindow w = IntoBlock(p, window, m_radius * LargerScale(p));
    if (w.all || !m_open.empty())
        return true;
    bool found = false;
    Search(w, [&](std::uint32_t) {
        found = true;
        return false;
    });
    return found || std::ranges::any_of(m_nested, [&](const Nested& n) { return !Trusted(n, p); });
}

PlacedBounds CBlockIndex::Bounds(const CPlacement& p) const
{
    PlacedBounds out;
    out.marker = m_marker;
    if (!m_open.empty()) {
        out.bounded = false;
        return out;
    }
    if (m_items.empty())
        return out;
    if (m_rigid || (EqualScales(p) && m_exact)) {
        out.box = PlacedBox(m_box, p);
    } else {
        // Sheared nested blocks stay within their farthest point from the origin.
        const double r = m_radius * LargerScale(p);
        out.box.Add(p.x - r, p.y - r);
        out.box.Add(p.x + r, p.y + r);
    }
    out.pad = m_pad * PadFactor(p);
    out.bounded = out.box.Bounded() && std::isfinite(out.pad);
    return out;
}

// ---------------------------------------------------------------- making indexes

namespace {

// The kept index was made at this block list version and these block edits,
// and the drawing keeps versions.
bool Current(const CBloq::IndexSlot& slot, std::uint64_t list, std::uint64_t edits)
{
    return list != 0 && slot.index && slot.list == list && slot.edits == edits;
}

}  // namespace

std::shared_ptr<const CBlockIndex> CIndexSource::Of(const CBloq& block)
{
    // A lookup may bring the block list's version up to date.
    const std::uint64_t list = m_drawing.BlockListVersion();
    if (list != m_list) {
        m_list = list;
        m_made.clear();
    }
    const std::uint64_t edits = BlockEdits();
    CBloq::IndexSlot& slot = block.m_index;
    if (Current(slot, list, edits))
        return slot.index;
    if (const auto made = m_made.find(&block); list == 0 && made != m_made.end())
        return made->second;
    if (m_making.size() >= kMaxIndexNesting || std::ranges::find(m_making, &block) != m_making.end())
        return nullptr;
    m_making.push_back(&block);
    auto index = std::make_shared<const CBlockIndex>(block, m_drawing, *this);
    m_making.pop_back();
    if (list != 0)
        slot = {index, list, edits};
    else
        m_made[&block] = index;
    return index;
}

std::shared_ptr<const CBlockIndex> BlockIndexOf(const CBloq& block, const CEntityContext& drawing)
{
    // Kept and still good: the common case, without a source.
    if (Current(block.m_index, drawing.BlockListVersion(), BlockEdits()))
        return block.m_index.index;
    CIndexSource source(drawing);
    return source.Of(block);
}

namespace {

// How far the marks a drawing sizes reach: half a point's cross, the hatch marker.
double MarkReach(const CEntityContext& drawing)
{
    const double h = std::fabs(drawing.PointHeight()) / 2.0;
    return std::isfinite(h) ? std::max(h, kHatchMarkerRadius) : PlanBox::kInf;
}

// The placed block's box grown by its pads and marks.
PlanBox Reach(const PlacedBounds& b, double marks)
{
    return Grown(b.box, b.pad + (b.marker ? marks : 0.0));
}

bool BelowPixel(const PlacedBounds& b, double pixel, double marks, Pt2& at)
{
    if (!b.bounded || b.box.Empty() || !(pixel > 0.0))
        return false;
    const PlanBox r = Reach(b, marks);
    if (!(r.hi.x - r.lo.x < pixel && r.hi.y - r.lo.y < pixel))
        return false;
    at = {b.box.lo.x / 2 + b.box.hi.x / 2, b.box.lo.y / 2 + b.box.hi.y / 2};
    return true;
}

bool Meet(const PlanBox& a, const PlanBox& b)
{
    return a.lo.x <= b.hi.x && a.hi.x >= b.lo.x && a.lo.y <= b.hi.y && a.hi.y >= b.lo.y;
}

// Whether the placed block may show in window: unbounded blocks may.
bool BoundsMeet(const PlacedBounds& b, const PlanBox& window, double marks)
{
    if (!b.bounded || !window.Bounded())
        return true;
    const PlanBox r = Reach(b, marks);
    const double e = kRounding * std::max({std::fabs(r.lo.x), std::fabs(r.lo.y), std::fabs(r.hi.x),
                                           std::fabs(r.hi.y)});
    return Meet(Grown(r, e), window);
}

// The walk of WalkPlacedInWindow.
class CNearWalk {
public:
    CNearWalk(const CEntityContext& drawing, const PlacedQuery& query, NestedWork& work, const PlacedPartFn& leaf,
              const PlacedDotFn& dot)
        : m_drawing(drawing), m_source(drawing), m_query(query), m_work(work), m_leaf(leaf), m_dot(dot),
          m_marks(MarkReach(drawing))
    {
    }

    void Visit(const CBloq& block, const CPlacement& p)
    {
        if (const auto index = m_source.Of(block))
            Visit(block, *index, p);
    }

private:
    void Visit(const CBloq& block, const CBlockIndex& index, const CPlacement& p)
    {
        const bool nested = !m_path.empty();
        m_path.push_back(&block);
        std::vector<std::uint32_t> hits = TakeBuffer();
        index.Query(p, m_query.window, hits);
        const CDib* last = nullptr;  // the owner of the last piece
        for (const std::uint32_t id : hits) {
            const CBlockIndex::Item& item = index.At(id);
            const CDib& owner = *item.owner;
            if (owner.m_type == ENT_INSERT) {
                if (!Spend(nested, 1))
                    break;
                Enter(*static_cast<const CInsBl*>(owner.m_entity), p);
            } else if (!m_query.pieces || !item.part) {
                if (&owner == last)
                    continue;
                last = &owner;
                if (!Spend(nested, 1 + EntityKind(owner.m_type).PartCount(owner.m_entity)))
                    break;
                if (CElementPtr* spare = Refill(owner)) {
                    PlaceEntity(owner.m_type, (*spare)->m_entity, p);
                    PlacedPart part{*spare, owner.m_type, true};
                    m_leaf(part);
                } else if (CElementPtr placed = PlacedCopy(owner.m_type, owner.m_entity, p)) {
                    PlacedPart part{placed, owner.m_type, true};
                    m_leaf(part);
                }
            } else {
                if (!Spend(nested, 1))
                    break;
                CElementPtr& spare = *Refill(*item.part);
                PlaceEntity(item.part->m_type, spare->m_entity, p);
                PlacedPart part{spare, owner.m_type, &owner != last};
                last = &owner;
                m_leaf(part);
            }
        }
        m_buffers.push_back(std::move(hits));
        m_path.pop_back();
    }

    // Work inside nested inserts counts; false once it is spent.
    bool Spend(bool nested, std::size_t n)
    {
        if (!nested)
            return true;
        if (m_work.left == 0) {
            m_work.cut = true;
            return false;
        }
        m_work.left -= std::min(m_work.left, n);
        return true;
    }

    void Enter(const CInsBl& source, const CPlacement& p)
    {
        const CBloq* inner = source.FindBlock(m_drawing);
        if (!inner || int(m_path.size()) >= kMaxBlockNesting || std::ranges::find(m_path, inner) != m_path.end())
            return;
        CInsBl placed;
        placed.Copy(source);
        PlaceEntity(placed, p);
        const CPlacement np = placed.Placement();
        const auto index = m_source.Of(*inner);
        if (!index)
            return;
        const PlacedBounds bounds = index->Bounds(np);
        if (bounds.bounded && bounds.box.Empty())
            return;
        Pt2 at;
        if (BelowPixel(bounds, m_query.pixel, m_marks, at)) {
            if (m_dot)
                m_dot(placed, at);
            return;
        }
        if (BoundsMeet(bounds, m_query.window, m_marks))
            Visit(*inner, *index, np);
    }

    // The spare element of the element's kind, holding a copy of it; null
    // for the kinds with parts of their own, which are copied afresh.
    CElementPtr* Refill(const CDib& element)
    {
        switch (element.m_type) {
        case ENT_LINE: return &Refill<CRecta>(m_spare[0], element);
        case ENT_ARC: return &Refill<CArc>(m_spare[1], element);
        case ENT_TEXT: return &Refill<CText>(m_spare[2], element);
        case ENT_CIRCLE: return &Refill<CCirc>(m_spare[3], element);
        case ENT_POINT: return &Refill<CPunt>(m_spare[4], element);
        default: return nullptr;
        }
    }
    template <class T>
    static CElementPtr& Refill(CElementPtr& spare, const CDib& source)
    {
        // The leaf may have taken the last one over.
        if (!spare)
            spare = std::make_unique<CDib>(source.m_type, new T);
        static_cast<T*>(spare->m_entity)->Copy(*static_cast<const T*>(source.m_entity));
        return spare;
    }

    std::vector<std::uint32_t> TakeBuffer()
    {
        if (m_buffers.empty())
            return {};
        std::vector<std::uint32_t> b = std::move(m_buffers.back());
        m_buffers.pop_back();
        return b;
    }

    const CEntityContext& m_drawing;
    CIndexSource m_source;
    const PlacedQuery& m_query;
    NestedWork& m_work;
    const PlacedPartFn& m_leaf;
    const PlacedDotFn& m_dot;
    const double m_marks;
    std::vector<const CBloq*> m_path;
    std::vector<std::vector<std::uint32_t>> m_buffers;  // hit lists of finished levels, for reuse
    CElementPtr m_spare[5];  // placed copies of lines, arcs, texts, circles and points, for reuse
};

}  // namespace

// ---------------------------------------------------------------- walks and tests

PlanBox Everywhere()
{
    PlanBox all;
    all.lo = {-PlanBox::kInf, -PlanBox::kInf};
    all.hi = {PlanBox::kInf, PlanBox::kInf};
    return all;
}

PlanBox Grown(const PlanBox& box, double d)
{
    PlanBox g = box;
    g.lo = {box.lo.x - d, box.lo.y - d};
    g.hi = {box.hi.x + d, box.hi.y + d};
    return g;
}

double DrawingSlack(const WorldMap& map, const CEntityContext& drawing)
{
    return MarkReach(drawing) + (map.scale > 0.0 ? 2.0 / map.scale : 0.0);
}

bool PlacementBelowPixel(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, double pixel,
                         Pt2& at)
{
    if (!(pixel > 0.0))
        return false;
    const auto index = BlockIndexOf(block, drawing);
    return index && BelowPixel(index->Bounds(p), pixel, MarkReach(drawing), at);
}

bool PlacedBlockMeets(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, const PlanBox& window)
{
    const auto index = BlockIndexOf(block, drawing);
    return index && index->Meets(p, index->Marked() ? Grown(window, MarkReach(drawing)) : window);
}

void WalkPlacedInWindow(const CEntityContext& drawing, const CBloq& block, const CPlacement& p,
                        const PlacedQuery& query, NestedWork& work, const PlacedPartFn& leaf, const PlacedDotFn& dot)
{
    CNearWalk(drawing, query, work, leaf, dot).Visit(block, p);
}

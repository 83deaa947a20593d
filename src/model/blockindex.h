// A spatial index of each block's own entities, kept with the block while
// the drawing's blocks stay as they are, and the walk of placed block
// entities that goes by it: at every level of nesting only what may meet a
// window is placed, so a click or a repaint costs what lies near it.
#pragma once

#include "model/bloq.h"
#include "model/geometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CEntityContext;
class CIndexSource;
class CInsBl;
struct PlacedReach;
struct WorldMap;

// Blocks may insert each other many times over, level under level, so that
// one insert stands for more entities than any drawing holds. One repaint,
// one click or one walk visits at most this many entities, parts and inserts
// inside nested inserts; those of the inserted block itself never count.
inline constexpr std::size_t kNestedWork = 1'000'000;
// The status pane's word when a walk went past kNestedWork.
inline constexpr const char* kNestedWorkMessage = "Nested blocks past the limit are left out";

struct NestedWork {
    std::size_t left = kNestedWork;
    bool cut = false;  // something inside a nested insert was left out
};

// The whole plane: a window that leaves nothing out.
PlanBox Everywhere();

// What one drawing pass shows (drawing coordinates) and what its nested
// blocks may still spend; WorldMap::scope points at it for the pass.
struct DrawScope {
    PlanBox window = Everywhere();
    NestedWork work;
};

// Where a block placed by a placement can show: within box (drawing
// coordinates) grown by pad; marks whose size the drawing sets besides, when
// marker. Unbounded when something in it cannot be bounded.
struct PlacedBounds {
    PlanBox box;
    double pad = 0.0;
    bool marker = false;
    bool bounded = true;
};

// The items of one block, a line, arc or text part of a polyline or
// dimension each on its own, each with where its placed copy can show
// (PlacedReach), in a tree of boxes. A nested insert stands by the bounds of
// its block's index.
class CBlockIndex {
public:
    struct Item {
        const CDib* owner;  // the block's element
        const CDib* part;   // a part of a polyline or dimension; null for the whole owner
    };

    CBlockIndex(const CBloq& block, const CEntityContext& drawing, CIndexSource& source);

    // The ids, ascending (list order, parts in their order), of the items
    // whose placed copies, by p, may meet window (drawing coordinates).
    void Query(const CPlacement& p, const PlanBox& window, std::vector<std::uint32_t>& hits) const;
    // Whether some item may meet window.
    bool Meets(const CPlacement& p, const PlanBox& window) const;
    const Item& At(std::uint32_t id) const { return m_items[id]; }
    std::size_t Size() const { return m_items.size(); }
    // Where the whole block placed by p can show.
    PlacedBounds Bounds(const CPlacement& p) const;
    // Some item draws a mark whose size the drawing sets.
    bool Marked() const { return m_marker; }

private:
    // An item as the tree holds it: where it shows, as its PlacedReach.
    struct Entry {
        PlanBox box;
        double pad;
        std::uint32_t id;
    };
    // A node of the tree over entries (overLeaves) or over other nodes.
    struct Node {
        PlanBox box;
        double pad;
        std::uint32_t first, count;
        bool overLeaves;
    };
    // A nested insert, and whether its box stays good under a placement (see Trusted).
    struct Nested {
        std::uint32_t id;
        bool turnFree;    // no rotation: it composes exactly under any placement
        bool uniform;     // its two scales are equal in size
        bool innerRigid;  // its block's box holds under any placement
        bool innerExact;  // its block's box holds under placements of equal scales
    };

    void AddEntity(const CDib* owner, const CDib* part, const PlacedReach& reach);
    void AddNested(const CDib* owner, const CInsBl& insert, const CBlockIndex& inner);
    void AddOpen(const CDib* owner);
    void Build();
    // The tree's box of an item may stand for nested n under p.
    static bool Trusted(const Nested& n, const CPlacement& p);
    // Calls hit with each entry that meets the window taken into block
    // coordinates, until it returns false.
    template <class Window, class Hit>
    void Search(const Window& w, Hit&& hit) const;

    std::vector<Item> m_items;          // list order
    std::vector<Entry> m_leaves;        // the items that can be bounded, as the tree holds them
    std::vector<Node> m_nodes;          // the root last
    std::vector<std::uint32_t> m_open;  // the items that cannot be bounded: always met
    std::vector<Nested> m_nested;
    // The items' bounds: box and pad; radius: the farthest an item's point
    // lies from the block's origin, times the scales of the inserts between.
    PlanBox m_box;
    double m_pad = 0.0;
    double m_radius = 0.0;
    bool m_marker = false;
    bool m_rigid = true;  // the box holds under any placement
    bool m_exact = true;  // the box holds under placements of equal scales
};

// The index of block in the drawing: kept with the block and made again
// once the drawing's block list or any block changes (BlockListVersion,
// BlockEdits); made anew for a drawing whose lookups are not to be remembered.
std::shared_ptr<const CBlockIndex> BlockIndexOf(const CBloq& block, const CEntityContext& drawing);

// True, with the middle of the placed block in at, when the block placed by p
// covers less than pixel (drawing units) either way: it draws as a point.
bool PlacementBelowPixel(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, double pixel,
                         Pt2& at);
// Whether something of the block placed by p may show in window (drawing
// coordinates), marks sized by the drawing included.
bool PlacedBlockMeets(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, const PlanBox& window);

// What a culled walk visits: the window (drawing coordinates) and how.
struct PlacedQuery {
    PlanBox window = Everywhere();
    // Drawing units of one pixel: a nested insert whose placed block covers
    // less goes to the dot function whole instead of being walked; 0: never.
    double pixel = 0.0;
    // Polylines and dimensions piece by piece, only the pieces that may meet
    // the window; else every entity whole.
    bool pieces = false;
};
// A nested insert (placed) that draws as a point at at.
using PlacedDotFn = std::function<void(const CInsBl& placed, Pt2 at)>;
// Hands a placed copy of each entity, or piece, of block placed by p that
// may meet the window to leaf, in list order; nested inserts whose blocks may
// meet it are followed with the composed placement (missing blocks, those
// already being walked and those deeper than kMaxBlockNesting passed over).
// Work inside nested inserts spends from work; once it is spent the rest of
// them is left out and work.cut set. PlacedPart::first marks the first piece
// handed on of each block entity.
void WalkPlacedInWindow(const CEntityContext& drawing, const CBloq& block, const CPlacement& p,
                        const PlacedQuery& query, NestedWork& work, const PlacedPartFn& leaf,
                        const PlacedDotFn& dot = {});

// How far beyond its reach an entity may draw at map's scale: half the point
// height, the hatch marker, and two pixels.
double DrawingSlack(const WorldMap& map, const CEntityContext& drawing);
// box grown by d on every side.
PlanBox Grown(const PlanBox& box, double d);

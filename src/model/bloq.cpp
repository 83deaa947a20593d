#include "model/bloq.h"

#include "model/acot.h"
#include "model/blockindex.h"
#include "model/circ.h"
#include "model/entitycontext.h"
#include "model/entitykind.h"
#include "model/fontrecord.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/region.h"
#include "model/transform.h"
#include "platform/archive.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CAttrib, CObject, 1)
IMPLEMENT_SERIAL(CBloq, CObject, 1)

namespace {

// The extents stored for a block of which nothing measures.
constexpr double kEmptyExtents = 10000000.0;
// Blocks inside the referenced-block lists of blocks, as a file may nest them.
constexpr int kMaxStoredNesting = 32;

thread_local int g_serializeDepth = 0;

// Counts the blocks stored or loaded inside one another. A store fails where
// the load would, so every file written reads back.
class SerializeDepth {
public:
    explicit SerializeDepth(CArchive& ar)
    {
        if (++g_serializeDepth > kMaxStoredNesting) {
            --g_serializeDepth;
            ar.Fail(ar.IsStoring() ? CArchiveException::writeFailed : CArchiveException::badValue,
                    "blocks are nested too deeply");
        }
    }
    ~SerializeDepth() { --g_serializeDepth; }
    SerializeDepth(const SerializeDepth&) = delete;
    SerializeDepth& operator=(const SerializeDepth&) = delete;
};

// The block named name when a walk along path may go into it: it exists, is
// not already being walked and lies no deeper than kMaxBlockNesting; else null.
const CBloq* EnterableBlock(const CEntityContext& drawing, std::string_view name,
                            const std::vector<const CBloq*>& path)
{
    const CBloq* block = drawing.FindBlock(name);
    if (!block || int(path.size()) >= kMaxBlockNesting ||
        std::find(path.begin(), path.end(), block) != path.end())
        return nullptr;
    return block;
}

// Measures the boxes of blocks in their own coordinates, each block once:
// the entities' points, and each nested block's box placed through its four
// corners. The extents take the entities' extents points; the bounds take
// arcs whole.
class BoxMeasure {
public:
    enum class Points { extents, bounds };
    BoxMeasure(const CEntityContext& drawing, Points points) : m_drawing(drawing), m_points(points) {}

    const PlanBox& Of(const CBloq& block)
    {
        if (const auto known = m_measured.find(&block); known != m_measured.end())
            return known->second;
        PlanBox box;
        m_path.push_back(&block);
        for (POSITION pos = block.GetFirstEntityPosition(); pos;) {
            int type = 0;
            const CObject* entity = block.GetNextEntity(pos, type);
            if (!entity)
                continue;
            if (type != ENT_INSERT) {
                const PointFn add = [&box](const CPointd& p) { box.Add(p.x, p.y); };
                if (m_points == Points::bounds)
                    AddBoundsPoints(type, entity, add);
                else
                    EntityKind(type).ExtentsPoints(entity, add);
                continue;
            }
            const auto* insert = static_cast<const CInsBl*>(entity);
            const CBloq* inner = EnterableBlock(m_drawing, insert->m_block, m_path);
            if (!inner)
                continue;
            // Elements of the map keep their place while it grows.
            const PlanBox& nested = Of(*inner);
            if (nested.Empty())
                continue;
            const CPlacement pl = insert->Placement();
            for (const Pt2& c : {nested.lo, Pt2{nested.hi.x, nested.lo.y}, nested.hi, Pt2{nested.lo.x, nested.hi.y}}) {
                const CPointd placed = PlacePoint(CPointd(c.x, c.y), pl);
                box.Add(placed.x, placed.y);
            }
        }
        m_path.pop_back();
        return m_measured[&block] = box;
    }

private:
    const CEntityContext& m_drawing;
    Points m_points;
    std::vector<const CBloq*> m_path;
    std::unordered_map<const CBloq*, PlanBox> m_measured;
};

// Hands whole placed entities to leaf, on a budget.
struct Walker {
    const CEntityContext& drawing;
    const PlacedEntityFn& leaf;
    std::size_t& budget;
    std::vector<const CBloq*> path;
    bool cut = false;  // an entity was left out for the budget

    void Walk(const CBloq& block, const CPlacement& p)
    {
        path.push_back(&block);
        // The entity that meets the end of the budget is still placed whole.
        for (POSITION pos = block.GetFirstEntityPosition(); pos;) {
            int type = 0;
            const CObject* entity = block.GetNextEntity(pos, type);
            if (!entity)
                continue;
            if (budget == 0) {
                cut = true;
                break;
            }
            budget -= std::min(budget, 1 + EntityKind(type).PartCount(entity));
            if (type != ENT_INSERT) {
                if (CElementPtr placed = PlacedCopy(type, entity, p))
                    leaf(placed);
                continue;
            }
            CInsBl nested;
            nested.Copy(*static_cast<const CInsBl*>(entity));
            PlaceEntity(nested, p);
            const CBloq* inner = EnterableBlock(drawing, nested.m_block, path);
            if (inner)
                Walk(*inner, nested.Placement());
        }
        path.pop_back();
    }
};

// Parses like atoi: leading blanks, a sign, then digits up to the first other
// character; wraps instead of overflowing.
unsigned ParseColourComponent(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    unsigned value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = value * 10u + unsigned(s[i] - '0');
    return negative ? 0u - value : value;
}

void CollectInto(const CEntityContext& drawing, const CObList& entities, CBloq& container,
                 std::unordered_set<std::string>& visited, int depth)
{
    if (depth >= kMaxBlockNesting)
        return;
    for (CObject* obj : entities) {
        auto* dib = static_cast<const CDib*>(obj);
        if (dib->m_type != ENT_INSERT || !dib->m_entity)
            continue;
        CBloq* block = drawing.FindBlock(static_cast<const CInsBl*>(dib->m_entity)->m_block);
        if (!block || !visited.insert(block->m_name).second)
            continue;
        if (!container.FindRefBlock(block->m_name))
            container.GetRefBlockList().AddHead(block);
        CollectInto(drawing, block->GetEntityList(), container, visited, depth + 1);
    }
}

}  // namespace

// ---------------------------------------------------------------- attributes

CAttrib::CAttrib(int width, COLORREF color, std::string_view layer, std::string_view tag, std::string_view prompt,
                 std::string_view value, int word1, int word2, const CPointd& at, const LOGFONT& font)
    : m_tag(tag), m_prompt(prompt), m_text(width, color, layer), m_word1(word1), m_word2(word2)
{
    m_text.m_insert = at;
    m_text.m_text = value;
    CopyLogFont(m_text.m_font, font);
    m_text.m_justify = JUSTIFY_LEFT;
}

void CAttrib::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_tag << m_prompt;
    else
        ar >> m_tag >> m_prompt;
    m_text.Serialize(ar);
    ar.ExchangeWord(m_word1);
    ar.ExchangeWord(m_word2);
}

// ---------------------------------------------------------------- blocks

CBloq::CBloq(int width, COLORREF color, std::string_view layer, const CPointd& base, CObList& entities)
    : m_width(width), m_style(1), m_color(color), m_layer(layer), m_base(base)
{
    SetLastLayerName(layer);
    m_entities.AddTail(entities);
}

CBloq* CBloq::Clone() const
{
    auto* copy = new CBloq;
    copy->CopyAttributes(*this);
    copy->m_name = m_name;
    copy->m_base = m_base;
    copy->m_extMin = m_extMin;
    copy->m_extMax = m_extMax;
    copy->m_box = m_box;
    for (CObject* obj : m_entities) {
        auto* dib = static_cast<const CDib*>(obj);
        if (CObject* dup = DuplicateEntity(dib->m_type, dib->m_entity)) {
            auto* element = new CDib(dib->m_type, dup, dib->m_visible);
            element->m_flag = dib->m_flag;
            copy->m_entities.AddTail(element);
        }
    }
    for (CObject* obj : m_attribs) {
        auto* a = new CAttrib;
        *a = *static_cast<const CAttrib*>(obj);
        copy->m_attribs.AddTail(a);
    }
    return copy;
}

void CBloq::CopyAttributes(const CBloq& other)
{
    m_width = other.m_width;
    m_style = other.m_style;
    m_layer = other.m_layer;
    m_color = other.m_color;
}

void CBloq::SetColor(COLORREF color)
{
    // Inserts keep their own colour.
    for (CObject* obj : m_entities) {
        auto* dib = static_cast<CDib*>(obj);
        if (dib->m_entity && dib->m_type != ENT_INSERT)
            EntityKind(dib->m_type).SetColor(dib->m_entity, color);
    }
    m_color = color;
}

CObject* CBloq::GetNextEntity(POSITION& pos, int& type) const
{
    return static_cast<const CDib*>(m_entities.GetNext(pos))->Entity(type);
}

void CBloq::DeleteEntities()
{
    NoteBlockEdit();
    m_entities.DeleteAll();
    DeleteAttributes();
}

CBloq* CBloq::FindRefBlock(std::string_view name) const
{
    for (CObject* obj : m_refBlocks)
        if (static_cast<CBloq*>(obj)->m_name == name)
            return static_cast<CBloq*>(obj);
    return nullptr;
}

void CBloq::RemoveRefBlockAt(POSITION pos)
{
    m_refBlocks.RemoveAt(pos);
}

void CBloq::ForgetRefBlock(const CBloq* block)
{
    while (POSITION pos = m_refBlocks.Find(block))
        m_refBlocks.RemoveAt(pos);
}

CAttrib* CBloq::AddAttrib(int width, COLORREF color, std::string_view layer, std::string_view tag,
                          std::string_view prompt, std::string_view value, int word1, int word2, const CPointd& at,
                          const LOGFONT& font)
{
    auto a = std::make_unique<CAttrib>(width, color, layer, tag, prompt, value, word1, word2, at, font);
    m_attribs.AddTail(a.get());
    return a.release();
}

CAttrib* CBloq::AddAttrib(const CAttrib& attrib)
{
    auto a = std::make_unique<CAttrib>(attrib);
    m_attribs.AddTail(a.get());
    return a.release();
}

const CAttrib* CBloq::FindAttrib(std::string_view tag) const
{
    for (CObject* obj : m_attribs)
        if (static_cast<const CAttrib*>(obj)->m_tag == tag)
            return static_cast<const CAttrib*>(obj);
    return nullptr;
}

int CBloq::FindAttribByTag(std::string_view tag, std::string& value) const
{
    const CAttrib* a = FindAttrib(tag);
    if (!a)
        return -1;
    value = a->Value();
    return a->m_word2;
}

void CBloq::DeleteAttributes()
{
    m_attribs.DeleteAll();
}

void CBloq::DeleteAttribs(std::string_view tag)
{
    for (POSITION pos = m_attribs.GetHeadPosition(); pos;) {
        const POSITION here = pos;
        if (static_cast<const CAttrib*>(m_attribs.GetNext(pos))->m_tag == tag)
            m_attribs.DeleteAt(here);
    }
}

int CBloq::Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CPlacement& p,
                const CEntityContext& drawing) const
{
    DrawScope own;
    DrawScope& scope = map.scope ? *map.scope : own;
    FillBlockRegion(dc, map, kind, *this, p);
    PlacedQuery query;
    query.window = Grown(scope.window, DrawingSlack(map, drawing));
    query.pixel = map.scale > 0.0 ? 1.0 / map.scale : 0.0;
    // Hatches go over everything else: their fill stops at what is drawn.
    std::vector<CElementPtr> hatches;
    WalkPlacedInWindow(
        drawing, *this, p, query, scope.work,
        [&](PlacedPart& part) {
            if (part.element->m_type == ENT_HATCH)
                hatches.push_back(std::move(part.element));
            else
                DrawEntity(dc, part.element->m_type, part.element->m_entity, map, kind, drawing);
        },
        [&](const CInsBl& placed, Pt2 at) { placed.DrawDot(dc, map, kind, at); });
    for (const CElementPtr& hatch : hatches)
        DrawEntity(dc, hatch->m_type, hatch->m_entity, map, kind, drawing);
    return 1;
}

void CBloq::CalcExtents(const CEntityContext& drawing)
{
    m_box = BoxMeasure(drawing, BoxMeasure::Points::bounds).Of(*this);
    const PlanBox ext = BoxMeasure(drawing, BoxMeasure::Points::extents).Of(*this);
    const bool empty = ext.Empty();
    m_extMin = CPointd(empty ? kEmptyExtents : ext.lo.x, empty ? kEmptyExtents : ext.lo.y, m_extMin.z);
    m_extMax = CPointd(empty ? -kEmptyExtents : ext.hi.x, empty ? -kEmptyExtents : ext.hi.y, m_extMax.z);
}

void CBloq::Serialize(CArchive& ar)
{
    SerializeDepth depth(ar);
    ar.ExchangeWord(m_width);
    ar.ExchangeWord(m_style);
    if (ar.IsStoring())
        ar << DWORD(m_color) << m_layer << m_name;
    else
        ar >> m_color >> m_layer >> m_name;
    m_base.Serialize(ar);
    m_extMin.Serialize(ar);
    m_extMax.Serialize(ar);
    if (!ar.IsStoring())
        NoteBlockEdit();
    m_entities.Serialize(ar, RUNTIME_CLASS(CDib));
    m_refBlocks.Serialize(ar, RUNTIME_CLASS(CBloq));
    m_attribs.Serialize(ar, RUNTIME_CLASS(CAttrib));
}

// ---------------------------------------------------------------- free functions

namespace {

std::atomic<std::uint64_t> g_blockEdits{0};

}  // namespace

std::uint64_t BlockEdits()
{
    return g_blockEdits;
}

void NoteBlockEdit()
{
    ++g_blockEdits;
}

bool HasColourAttributes(const CBloq& block)
{
    return block.FindAttrib("RGB_R") != nullptr;
}

COLORREF GetBlockColour(const CBloq& block)
{
    auto component = [&](std::string_view tag) {
        std::string value;
        block.FindAttribByTag(tag, value);
        return ParseColourComponent(value) & 0xFFu;
    };
    return component("RGB_R") + component("RGB_G") * 256u + component("RGB_B") * 65536u;
}

void CollectReferencedBlocks(const CEntityContext& drawing, const CObList& entities, CBloq& container)
{
    std::unordered_set<std::string> visited;
    CollectInto(drawing, entities, container, visited, 0);
}

void MeasureBlockBoxes(const CEntityContext& drawing, const CObList& blocks)
{
    BoxMeasure measure(drawing, BoxMeasure::Points::bounds);
    for (CObject* obj : blocks) {
        auto* block = static_cast<CBloq*>(obj);
        block->m_box = measure.Of(*block);
    }
}

CElementPtr PlacedCopy(int type, const CObject* entity, const CPlacement& p)
{
    CObject* dup = DuplicateEntity(type, entity);
    if (!dup)
        return nullptr;
    CElementPtr element(new CDib(type, dup));
    PlaceEntity(type, dup, p);
    return element;
}

void WalkPlacedEntities(const CEntityContext& drawing, const CBloq& block, const CPlacement& p,
                        const PlacedEntityFn& leaf)
{
    std::size_t budget = kWalkBudget;
    Walker{drawing, leaf, budget, {}}.Walk(block, p);
}

bool WalkPlacedEntities(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, std::size_t& budget,
                        const PlacedEntityFn& leaf)
{
    Walker walker{drawing, leaf, budget, {}};
    walker.Walk(block, p);
    return !walker.cut;
}

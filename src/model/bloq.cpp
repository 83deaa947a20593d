#include "model/bloq.h"

#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/extentpoints.h"
#include "model/fontrecord.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "platform/archive.h"
#include "view2d/transform.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cmath>
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
const CBloq* EnterableBlock(const CRectaDoc& doc, std::string_view name, const std::vector<const CBloq*>& path)
{
    const CBloq* block = FindDocBlock(doc, name);
    if (!block || int(path.size()) >= kMaxBlockNesting ||
        std::find(path.begin(), path.end(), block) != path.end())
        return nullptr;
    return block;
}

// Measures the boxes of blocks in their own coordinates, each block once:
// the entities' points, and each nested block's box placed through its four
// corners.
class BoxMeasure {
public:
    explicit BoxMeasure(const CRectaDoc& doc) : m_doc(doc) {}

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
                ForEachExtentsPoint(type, entity, [&box](const CPointd& p) { box.Add(p.x, p.y); });
                continue;
            }
            const auto* insert = static_cast<const CInsBl*>(entity);
            const CBloq* inner = EnterableBlock(m_doc, insert->m_block, m_path);
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
    const CRectaDoc& m_doc;
    std::vector<const CBloq*> m_path;
    std::unordered_map<const CBloq*, PlanBox> m_measured;
};

// The parts a placed copy of the entity duplicates besides itself.
std::size_t PartCount(int type, const CObject* entity)
{
    switch (type) {
    case ENT_PLINE: return std::size_t(static_cast<const CPLine*>(entity)->m_segments.GetCount());
    case ENT_DIMENSION: return std::size_t(static_cast<const CAcot*>(entity)->m_parts.GetCount());
    default: return 0;
    }
}

void DrawPlacedEntity(CDC& dc, int type, const CObject* entity, DrawKind kind, double scale, double ox, double oy,
                      const CRectaDoc& doc)
{
    auto draw = [&](const auto* e) {
        switch (kind) {
        case DrawKind::normal: e->Draw(dc, scale, ox, oy); break;
        case DrawKind::dotted: e->DrawDotted(dc, scale, ox, oy); break;
        default: e->Erase(dc, scale, ox, oy); break;
        }
    };
    switch (type) {
    case ENT_LINE: draw(static_cast<const CRecta*>(entity)); break;
    case ENT_CIRCLE: draw(static_cast<const CCirc*>(entity)); break;
    case ENT_ARC: draw(static_cast<const CArc*>(entity)); break;
    case ENT_TEXT: draw(static_cast<const CText*>(entity)); break;
    case ENT_PLINE: draw(static_cast<const CPLine*>(entity)); break;
    case ENT_DIMENSION: draw(static_cast<const CAcot*>(entity)); break;
    case ENT_3DFACE: draw(static_cast<const CTdface*>(entity)); break;
    case ENT_POINT: {
        auto* p = static_cast<const CPunt*>(entity);
        switch (kind) {
        case DrawKind::normal: p->Draw(dc, scale, ox, oy, doc); break;
        case DrawKind::dotted: p->DrawDotted(dc, scale, ox, oy, doc); break;
        default: p->Erase(dc, scale, ox, oy, doc); break;
        }
        break;
    }
    default: break;
    }
}

void DrawBlockAs(const CBloq& block, CDC& dc, double scale, double ox, double oy, const CPlacement& p,
                 const CRectaDoc& doc, DrawKind kind)
{
    WalkPlacedEntities(doc, block, p, [&](CElementPtr& placed) {
        DrawPlacedEntity(dc, placed->m_type, placed->m_entity, kind, scale, ox, oy, doc);
    });
}

struct Walker {
    const CRectaDoc& doc;
    const PlacedEntityFn& leaf;
    const NestedInsertFn& enter;
    std::vector<const CBloq*> path;
    std::size_t budget = kWalkBudget;

    void Walk(const CBloq& block, const CPlacement& p)
    {
        path.push_back(&block);
        // The entity that meets the end of the budget is still placed whole.
        for (POSITION pos = block.GetFirstEntityPosition(); pos && budget > 0;) {
            int type = 0;
            const CObject* entity = block.GetNextEntity(pos, type);
            if (!entity)
                continue;
            budget -= std::min(budget, 1 + PartCount(type, entity));
            if (type != ENT_INSERT) {
                if (CElementPtr placed = PlacedCopy(type, entity, p))
                    leaf(placed);
                continue;
            }
            CInsBl nested;
            nested.Copy(*static_cast<const CInsBl*>(entity));
            PlaceNestedInsBl(nested, p);
            const CBloq* inner = EnterableBlock(doc, nested.m_block, path);
            if (!inner)
                continue;
            if (!enter || enter(nested, *inner))
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

void CollectInto(const CRectaDoc& doc, const CObList& entities, CBloq& container,
                 std::unordered_set<std::string>& visited, int depth)
{
    if (depth >= kMaxBlockNesting)
        return;
    for (CObject* obj : entities) {
        auto* dib = static_cast<const CDib*>(obj);
        if (dib->m_type != ENT_INSERT || !dib->m_entity)
            continue;
        CBloq* block = FindDocBlock(doc, static_cast<const CInsBl*>(dib->m_entity)->m_block);
        if (!block || !visited.insert(block->m_name).second)
            continue;
        if (!container.FindRefBlock(block->m_name))
            container.GetRefBlockList().AddHead(block);
        CollectInto(doc, block->GetEntityList(), container, visited, depth + 1);
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

CBloq::~CBloq()
{
    DeleteEntities();
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
    for (CObject* obj : m_entities) {
        auto* dib = static_cast<CDib*>(obj);
        if (!dib->m_entity)
            continue;
        switch (dib->m_type) {
        case ENT_LINE:
        case ENT_CIRCLE:
        case ENT_ARC:
        case ENT_POINT:
        case ENT_TEXT:
        case ENT_3DFACE: static_cast<CEntity*>(dib->m_entity)->SetColor(color); break;
        case ENT_PLINE: static_cast<CPLine*>(dib->m_entity)->SetColor(color); break;
        case ENT_DIMENSION: static_cast<CAcot*>(dib->m_entity)->SetColor(color); break;
        default: break;
        }
    }
    m_color = color;
}

CObject* CBloq::GetNextEntity(POSITION& pos, int& type) const
{
    auto* dib = static_cast<CDib*>(m_entities.GetNext(pos));
    type = dib->m_type;
    return dib->m_entity;
}

void CBloq::DeleteEntities()
{
    while (!m_entities.IsEmpty())
        DestroyElement(static_cast<CDib*>(m_entities.RemoveHead()));
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
    auto* a = new CAttrib(width, color, layer, tag, prompt, value, word1, word2, at, font);
    m_attribs.AddTail(a);
    return a;
}

CAttrib* CBloq::AddAttrib(const CAttrib& attrib)
{
    auto* a = new CAttrib(attrib);
    m_attribs.AddTail(a);
    return a;
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
    while (!m_attribs.IsEmpty())
        delete m_attribs.RemoveHead();
}

int CBloq::Draw(CDC& dc, double scale, double ox, double oy, const CPlacement& p, const CRectaDoc& doc) const
{
    DrawBlockAs(*this, dc, scale, ox, oy, p, doc, DrawKind::normal);
    return 1;
}

int CBloq::DrawDotted(CDC& dc, double scale, double ox, double oy, const CPlacement& p, const CRectaDoc& doc) const
{
    DrawBlockAs(*this, dc, scale, ox, oy, p, doc, DrawKind::dotted);
    return 1;
}

int CBloq::Erase(CDC& dc, double scale, double ox, double oy, const CPlacement& p, const CRectaDoc& doc) const
{
    DrawBlockAs(*this, dc, scale, ox, oy, p, doc, DrawKind::erase);
    return 1;
}

void CBloq::CalcExtents(const CRectaDoc& doc)
{
    m_box = BoxMeasure(doc).Of(*this);
    const bool empty = m_box.Empty();
    m_extMin = CPointd(empty ? kEmptyExtents : m_box.lo.x, empty ? kEmptyExtents : m_box.lo.y, m_extMin.z);
    m_extMax = CPointd(empty ? -kEmptyExtents : m_box.hi.x, empty ? -kEmptyExtents : m_box.hi.y, m_extMax.z);
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
    m_entities.Serialize(ar, RUNTIME_CLASS(CDib), ListOwnership::owns);
    m_refBlocks.Serialize(ar, RUNTIME_CLASS(CBloq), ListOwnership::names);
    m_attribs.Serialize(ar, RUNTIME_CLASS(CAttrib), ListOwnership::owns);
}

// ---------------------------------------------------------------- free functions

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

CBloq* FindDocBlock(const CRectaDoc& doc, std::string_view name)
{
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
        CBloq* block = doc.GetNextBlock(pos);
        if (block->m_name == name)
            return block;
    }
    return nullptr;
}

void CollectReferencedBlocks(const CRectaDoc& doc, const CObList& entities, CBloq& container)
{
    std::unordered_set<std::string> visited;
    CollectInto(doc, entities, container, visited, 0);
}

void AddMissingBlocks(CRectaDoc& doc, const CObList& blocks)
{
    std::vector<std::pair<const CBloq*, CBloq*>> added;  // original, copy
    for (CObject* obj : blocks) {
        auto* block = static_cast<const CBloq*>(obj);
        if (FindDocBlock(doc, block->m_name))
            continue;
        CBloq* copy = block->Clone();
        doc.GetBlockList().AddHead(copy);
        added.emplace_back(block, copy);
    }
    for (auto [original, copy] : added)
        for (POSITION pos = original->GetFirstRefBlockPosition(); pos;)
            if (CBloq* named = FindDocBlock(doc, original->GetNextRefBlock(pos)->m_name))
                copy->GetRefBlockList().AddTail(named);
    // Inserts of the drawing's blocks may name the new ones.
    if (!added.empty())
        doc.CalcBlockExtents();
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

void WalkPlacedEntities(const CRectaDoc& doc, const CBloq& block, const CPlacement& p, const PlacedEntityFn& leaf,
                        const NestedInsertFn& enter)
{
    Walker{doc, leaf, enter, {}}.Walk(block, p);
}

// ---------------------------------------------------------------- the drawing's block list

CBloq* CRectaDoc::AddBlock(const CPointd& base, CObList& entities)
{
    auto* block = new CBloq(m_penWidth, m_color, m_layerName, base, entities);
    m_blocks.AddTail(block);
    block->CalcExtents(*this);
    SetModifiedFlag();
    return block;
}

CBloq* CRectaDoc::GetNextBlock(POSITION& pos) const
{
    return static_cast<CBloq*>(m_blocks.GetNext(pos));
}

POSITION CRectaDoc::FindBlockPosition(const CBloq* block) const
{
    return m_blocks.Find(block);
}

void CRectaDoc::RemoveBlockAt(POSITION pos)
{
    auto* removed = static_cast<CBloq*>(m_blocks.GetAt(pos));
    m_blocks.RemoveAt(pos);
    for (CObject* obj : m_blocks)
        static_cast<CBloq*>(obj)->ForgetRefBlock(removed);
    for (const auto& obj : m_unlistedBlocks)
        static_cast<CBloq*>(obj.get())->ForgetRefBlock(removed);
    delete removed;
}

void CRectaDoc::DeleteBlocks()
{
    while (!m_blocks.IsEmpty())
        delete m_blocks.RemoveHead();
    m_unlistedBlocks.clear();
}

void CRectaDoc::CalcBlockExtents()
{
    BoxMeasure measure(*this);
    for (CObject* obj : m_blocks) {
        auto* block = static_cast<CBloq*>(obj);
        block->m_box = measure.Of(*block);
    }
}

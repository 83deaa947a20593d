// Block definitions (CBloq) with their attributes (CAttrib), and the walk of
// a block's entities placed by an insert.
#pragma once

#include "model/dib.h"
#include "model/geometry.h"
#include "model/insbl.h"
#include "model/pointd.h"
#include "model/text.h"
#include "platform/oblist.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CBlockIndex;
class CDC;
class CEntityContext;
struct LOGFONT;
struct WorldMap;
enum class DrawKind;

// How deep inserts may nest inside blocks; deeper ones are passed over.
inline constexpr int kMaxBlockNesting = 16;

// Counts the changes made to the entities of any block in place; indexes made
// before a change are made again.
std::uint64_t BlockEdits();
void NoteBlockEdit();

// An element owned by whoever holds it, freed with its entity.
using CElementPtr = std::unique_ptr<CDib>;

// A named text value of a block.
class CAttrib : public CObject {
    DECLARE_SERIAL(CAttrib)
public:
    CAttrib() = default;
    // The text gets the pen, point, value and font, with justification 1.
    CAttrib(int width, COLORREF color, std::string_view layer, std::string_view tag, std::string_view prompt,
            std::string_view value, int word1, int word2, const CPointd& at, const LOGFONT& font);

    const std::string& Value() const { return m_text.m_text; }
    // Tag, prompt, the text's own record, first word, second word.
    void Serialize(CArchive& ar) override;

    std::string m_tag;
    std::string m_prompt;
    CText m_text;
    int m_word1 = 0;
    int m_word2 = 0;
};

class CBloq : public CObject {
    DECLARE_SERIAL(CBloq)
public:
    CBloq() = default;
    // Pen style 1; the layer name is also kept as the last layer name. Every
    // element of entities moves into the block (entities ends empty).
    CBloq(int width, COLORREF color, std::string_view layer, const CPointd& base, CObList& entities);
    CBloq(const CBloq&) = delete;
    CBloq& operator=(const CBloq&) = delete;

    // A new block with copies of the entities and attributes and an empty
    // referenced-block list. Kinds that cannot be copied are left out.
    CBloq* Clone() const;
    // Pen width, pen style, layer name and colour.
    void CopyAttributes(const CBloq& other);
    // Each line, circle, arc, point, text, polyline and dimension, then the block itself.
    void SetColor(COLORREF color);

    POSITION GetFirstEntityPosition() const { return m_entities.GetHeadPosition(); }
    POSITION GetLastEntityPosition() const { return m_entities.GetTailPosition(); }
    CObject* GetNextEntity(POSITION& pos, int& type) const;
    const CObList& GetEntityList() const { return m_entities; }
    // For changing the entities: every block index is made again after it (NoteBlockEdit).
    CObList& GetEntityList()
    {
        NoteBlockEdit();
        return m_entities;
    }
    // Frees every entity, then every attribute; the referenced blocks stay.
    void DeleteEntities();

    POSITION GetFirstRefBlockPosition() const { return m_refBlocks.GetHeadPosition(); }
    CBloq* GetNextRefBlock(POSITION& pos) const { return static_cast<CBloq*>(m_refBlocks.GetNext(pos)); }
    CBloq* FindRefBlock(std::string_view name) const;
    // Unlinks the name; the block stays with its owner.
    void RemoveRefBlockAt(POSITION pos);
    // Unlinks every mention of block.
    void ForgetRefBlock(const CBloq* block);
    CObList& GetRefBlockList() { return m_refBlocks; }

    CAttrib* AddAttrib(int width, COLORREF color, std::string_view layer, std::string_view tag,
                       std::string_view prompt, std::string_view value, int word1, int word2, const CPointd& at,
                       const LOGFONT& font);
    // Appends a copy of attrib.
    CAttrib* AddAttrib(const CAttrib& attrib);
    // The first attribute with this tag, or null.
    const CAttrib* FindAttrib(std::string_view tag) const;
    // The first attribute with this tag: its value into value and its second
    // word returned; -1 and value untouched when none has it.
    int FindAttribByTag(std::string_view tag, std::string& value) const;
    void DeleteAttributes();
    // Frees every attribute with this tag; the others stay in their order.
    void DeleteAttribs(std::string_view tag);
    const CObList& GetAttribList() const { return m_attribs; }

    // The entities placed by p; nested blocks are looked up in the drawing. Returns 1.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CPlacement& p, const CEntityContext& drawing) const;

    // Measures the box again and stores it as the extents, for a block just
    // made or changed. An empty block stores minimum (1e7, 1e7) above maximum.
    void CalcExtents(const CEntityContext& drawing);

    // Pen width, pen style, colour, layer, name, base point, extents, then
    // the entity, referenced-block and attribute lists.
    void Serialize(CArchive& ar) override;

    int m_width = 0;
    int m_style = 0;
    COLORREF m_color = 0;
    std::string m_layer;
    std::string m_name;
    CPointd m_base;
    // The extents as the file holds them, written back unchanged; files keep
    // them at an insert's scale or a nested placement, so nothing measures by them.
    CPointd m_extMin, m_extMax;
    // The box of the entities in the block's own coordinates (arcs whole, not
    // by the extents' samples), nested blocks
    // by their boxes placed through all four corners; culling, picking, snap
    // and window selection go by it. Measured by CalcExtents and by the
    // drawing's CalcBlockExtents; never stored.
    PlanBox m_box;

    // The block's index (blockindex.h) and the block list version and block
    // edits it was made at; kept by BlockIndexOf, never copied or stored.
    struct IndexSlot {
        std::shared_ptr<const CBlockIndex> index;
        std::uint64_t list = 0, edits = 0;
    };
    mutable IndexSlot m_index;

private:
    CObList m_entities{ListOwnership::owns};  // CDib elements, in block coordinates
    // Names the blocks that the inserts refer to, for writing the block on its
    // own; the drawing owns them (its block list, or the blocks only such
    // lists name).
    CObList m_refBlocks{ListOwnership::names};
    CObList m_attribs{ListOwnership::owns};  // CAttrib
};

// True when the block has an "RGB_R" attribute.
bool HasColourAttributes(const CBloq& block);
// Red + green·256 + blue·65536 from the "RGB_R", "RGB_G" and "RGB_B" values,
// each read like atoi and cut to its low 8 bits.
COLORREF GetBlockColour(const CBloq& block);

// For every insert of entities (and, depth first, of the blocks they use) its
// block of the drawing is named at the head of container's referenced-block
// list, unless one of that name is there. Missing blocks are passed over.
void CollectReferencedBlocks(const CEntityContext& drawing, const CObList& entities, CBloq& container);
// Measures the box (CBloq::m_box) of every block of the list again, each once.
void MeasureBlockBoxes(const CEntityContext& drawing, const CObList& blocks);

// A copy of one entity placed by p, in an element of its own; null for kinds
// that cannot be copied.
CElementPtr PlacedCopy(int type, const CObject* entity, const CPlacement& p);

// The work one walk of WalkPlacedEntities does at the most, so that blocks
// that insert each other many times over end: each entity visited counts
// one, and each segment or part a placed copy duplicates one more.
inline constexpr std::size_t kWalkBudget = 50'000;

// Called with each placed copy; it may take the element over.
using PlacedEntityFn = std::function<void(CElementPtr& placed)>;
// Hands a placed copy of every entity of block (placed by p) to leaf. Nested
// inserts are followed with the composed placement; one whose block is
// missing, is already being walked or lies deeper than kMaxBlockNesting is
// passed over, so a block that inserts itself ends. The walk stops once it
// has spent kWalkBudget; the entity that spends the last of it is still placed.
void WalkPlacedEntities(const CEntityContext& drawing, const CBloq& block, const CPlacement& p,
                        const PlacedEntityFn& leaf);
// The same on a budget of the caller's; false when it ran out first.
bool WalkPlacedEntities(const CEntityContext& drawing, const CBloq& block, const CPlacement& p, std::size_t& budget,
                        const PlacedEntityFn& leaf);

// One placed piece of a walk: a whole entity, or one segment (line or arc)
// of a polyline or one part (line or text) of a dimension, placed alone.
struct PlacedPart {
    CElementPtr& element;  // freed or reused after the call unless taken
    int ownerType;         // the block entity's type
    bool first;            // the first piece of its block entity
};
using PlacedPartFn = std::function<void(PlacedPart& part)>;

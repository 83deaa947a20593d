// The operations of every kind of entity, reached by type code. A kind is its
// entity class and one row of the table in entitykind.cpp; a code with no
// row is an error where it is met.
#pragma once

#include "model/entitydraw.h"
#include "model/extentpoints.h"
#include "model/pointd.h"

#include <cstddef>
#include <string_view>

class CDC;
class CEntityContext;
class CRecta;
struct CPlacement;
struct PlacedReach;
struct StretchWindow;

class CEntityKind {
public:
    virtual ~CEntityKind() = default;

    // The class of the kind's records in a drawing file.
    virtual const char* ClassName() const = 0;
    // 0 when nothing was drawn.
    virtual int Draw(CDC& dc, const CObject* e, const WorldMap& map, DrawKind kind,
                     const CEntityContext& drawing) const = 0;
    // False only when the entity surely shows nowhere in the window lo-hi (x and y).
    virtual bool InWindow(const CObject* e, const CPointd& lo, const CPointd& hi,
                          const CEntityContext& drawing) const = 0;
    // Calls add with each point that stands for the entity in the drawing extents.
    virtual void ExtentsPoints(const CObject* e, const PointFn& add) const = 0;
    // Widens reach by where a copy placed by an insert can show (see reach.h);
    // false, and nothing widened, for inserts, which the block index bounds itself.
    virtual bool Reach(const CObject* e, PlacedReach& reach) const = 0;
    // The parts (segments, dimension parts) a copy duplicates besides the entity.
    virtual std::size_t PartCount(const CObject* e) const = 0;
    // The pen header; null for kinds without one.
    virtual const CEntity* Pen(const CObject* e) const = 0;
    // Colours the entity and every part of it; hatches and bitmaps keep theirs.
    virtual void SetColor(CObject* e, COLORREF color) const = 0;
    // Puts the entity and every part of it on the layer, in the layer's colour
    // (hatches and bitmaps keep theirs).
    virtual void SetLayer(CObject* e, std::string_view layer, COLORREF layerColor) const = 0;
    // Gives the entity and every segment the pen style; false, and nothing
    // changed, for kinds without a line type.
    virtual bool SetLineType(CObject* e, int style) const = 0;
    // Gives the entity and every segment or part the pen width.
    virtual void SetWidth(CObject* e, int width) const = 0;

    // Translation by to - from (see transform.h).
    virtual void Move(CObject* e, const CPointd& from, const CPointd& to) const = 0;
    // The kind's stretch; false, and nothing changed, for kinds that have none.
    virtual bool Stretch(CObject* e, const CPointd& from, const CPointd& to, const StretchWindow& w) const = 0;

    // Each changes the entity in place (see transform.h); false, and nothing
    // changed, for kinds without the operation.
    virtual bool Place(CObject* e, const CPlacement& pl) const = 0;
    virtual bool Rotate(CObject* e, const CPointd& centre, double angle) const = 0;
    virtual bool Mirror(CObject* e, const CRecta& mirror, double dir) const = 0;

    // A new entity of the kind's class filled by the class's copy; null for a
    // null entity and for kinds without a copy.
    virtual CObject* Duplicate(const CObject* e) const = 0;
};

// The kind of a type code; throws std::invalid_argument for a code that names none.
const CEntityKind& EntityKind(int type);

// A new entity of the type's class filled by the class's copy, or null.
CObject* DuplicateEntity(int type, const CObject* entity);
// Draws the entity of the type's kind; 0 when nothing was drawn.
int DrawEntity(CDC& dc, int type, const CObject* entity, const WorldMap& map, DrawKind kind,
               const CEntityContext& drawing);

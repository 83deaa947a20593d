#include "model/entitykind.h"

#include "model/acot.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/entitycontext.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/reach.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/transform.h"

#include <array>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace {

template <class T>
using MoveFn = void (*)(T&, const CPointd& from, const CPointd& to);
template <class T>
using StretchFn = void (*)(T&, const CPointd& from, const CPointd& to, const StretchWindow& w);

// The operations of entity class T: its members where it has them, else the
// overloads for T (transform.h, extentpoints.h), and the move and stretch of
// its row (a null stretch: the kind has none).
template <class T>
class CKindOf final : public CEntityKind {
public:
    constexpr CKindOf(const char* className, MoveFn<T> move, StretchFn<T> stretch)
        : m_className(className), m_move(move), m_stretch(stretch)
    {
    }

    const char* ClassName() const override { return m_className; }

    int Draw(CDC& dc, const CObject* e, const WorldMap& map, DrawKind kind,
             const CEntityContext& drawing) const override
    {
        const T& t = Of(e);
        if constexpr (requires { t.Draw(dc, map, kind, drawing); })
            return t.Draw(dc, map, kind, drawing);
        else
            return t.Draw(dc, map, kind);
    }

    bool InWindow(const CObject* e, const CPointd& lo, const CPointd& hi,
                  const CEntityContext& drawing) const override
    {
        if constexpr (std::is_same_v<T, CInsBl>)
            return InsBlInWindow(drawing, Of(e), lo, hi);
        else
            return Of(e).IsInRect(lo.x, lo.y, hi.x, hi.y) != 0;
    }

    void ExtentsPoints(const CObject* e, const PointFn& add) const override { AddExtentsPoints(Of(e), add); }

    bool Reach(const CObject* e, PlacedReach& reach) const override
    {
        if constexpr (requires(const T& t) { AddPlacedReach(t, reach); }) {
            AddPlacedReach(Of(e), reach);
            return true;
        }
        return false;
    }

    std::size_t PartCount(const CObject* e) const override
    {
        if constexpr (requires(const T& t) { t.PartCount(); })
            return Of(e).PartCount();
        else
            return 0;
    }

    const CEntity* Pen(const CObject* e) const override { return static_cast<const T*>(e); }
    void SetColor(CObject* e, COLORREF color) const override
    {
        if constexpr (!requires { T::kKeepsColour; })
            Of(e).SetColor(color);
    }

    void SetLayer(CObject* e, std::string_view layer, COLORREF layerColor) const override
    {
        T& t = Of(e);
        t.m_layer = layer;
        if constexpr (requires { t.SetLayer(); })
            t.SetLayer();
        SetColor(e, layerColor);
    }
    bool SetLineType(CObject* e, int style) const override
    {
        if constexpr (kLineTyped) {
            T& t = Of(e);
            t.m_style = style;
            if constexpr (requires { t.SetLineType(); })
                t.SetLineType();
        }
        return kLineTyped;
    }
    void SetWidth(CObject* e, int width) const override
    {
        T& t = Of(e);
        t.m_width = width;
        if constexpr (requires { t.SetWidth(); })
            t.SetWidth();
    }

    void Move(CObject* e, const CPointd& from, const CPointd& to) const override { m_move(Of(e), from, to); }
    bool Stretch(CObject* e, const CPointd& from, const CPointd& to, const StretchWindow& w) const override
    {
        if (!m_stretch)
            return false;
        m_stretch(Of(e), from, to, w);
        return true;
    }
    bool Place(CObject* e, const CPlacement& pl) const override
    {
        PlaceEntity(Of(e), pl);
        return true;
    }
    bool Rotate(CObject* e, const CPointd& centre, double angle) const override
    {
        if constexpr (requires(T& t) { RotateEntity(t, centre, angle); }) {
            RotateEntity(Of(e), centre, angle);
            return true;
        }
        return false;
    }
    bool Mirror(CObject* e, const CRecta& mirror, double dir) const override
    {
        if constexpr (requires(T& t) { MirrorEntity(t, mirror, dir); }) {
            MirrorEntity(Of(e), mirror, dir);
            return true;
        }
        return false;
    }

    CObject* Duplicate(const CObject* e) const override
    {
        if (!e)
            return nullptr;
        auto* copy = new T;
        copy->Copy(Of(e));
        return copy;
    }

private:
    // The kinds drawn with a line type of their own.
    static constexpr bool kLineTyped = std::is_same_v<T, CRecta> || std::is_same_v<T, CCirc> ||
                                       std::is_same_v<T, CArc> || std::is_same_v<T, CPunt> ||
                                       std::is_same_v<T, CText> || std::is_same_v<T, CPLine>;

    static const T& Of(const CObject* e) { return *static_cast<const T*>(e); }
    static T& Of(CObject* e) { return *static_cast<T*>(e); }

    const char* m_className;
    MoveFn<T> m_move;
    StretchFn<T> m_stretch;
};

const CKindOf<CRecta> kLine("CRecta", MoveRecta, StretchRecta);
const CKindOf<CCirc> kCircle("CCirc", MoveCirc, nullptr);
const CKindOf<CArc> kArc("CArc", MoveArc, nullptr);
const CKindOf<CPunt> kPoint("CPunt", MovePunt, nullptr);
const CKindOf<CText> kText("CText", MoveText, nullptr);
const CKindOf<CPLine> kPolyline("CPLine", MovePLine, StretchPLine);
const CKindOf<CInsBl> kInsert("CInsBl", MoveInsBl, nullptr);
const CKindOf<CAcot> kDimension("CAcot", MoveAcot, StretchAcot);
const CKindOf<CTdface> kFace("CTdface", MoveTdface, StretchTdface);
const CKindOf<CHatch> kHatch("CHatch", MoveHatch, StretchHatch);
const CKindOf<CBmp> kBitmap("CBmp", MoveBmp, StretchBmp);

struct KindRow {
    int type;
    const CEntityKind* kind;
};

const KindRow kKinds[] = {
    {ENT_LINE, &kLine},           {ENT_CIRCLE, &kCircle}, {ENT_ARC, &kArc},   {ENT_POINT, &kPoint},
    {ENT_TEXT, &kText},           {ENT_PLINE, &kPolyline}, {ENT_INSERT, &kInsert},
    {ENT_DIMENSION, &kDimension}, {ENT_3DFACE, &kFace},   {ENT_HATCH, &kHatch}, {ENT_BITMAP, &kBitmap},
};

// The rows by code, for a lookup per entity drawn or picked.
const auto kByCode = [] {
    std::array<const CEntityKind*, ENT_BITMAP + 1> byCode{};
    for (const KindRow& row : kKinds)
        byCode[std::size_t(row.type)] = row.kind;
    return byCode;
}();

const CEntityKind* FindKind(int type)
{
    return type >= 0 && std::size_t(type) < kByCode.size() ? kByCode[std::size_t(type)] : nullptr;
}

}  // namespace

const CEntityKind& EntityKind(int type)
{
    if (const CEntityKind* kind = FindKind(type))
        return *kind;
    throw std::invalid_argument("entity type code " + std::to_string(type) + " names no kind");
}

bool IsEntityType(int type)
{
    return FindKind(type) != nullptr;
}

const char* EntityClassName(int type)
{
    const CEntityKind* kind = FindKind(type);
    return kind ? kind->ClassName() : nullptr;
}

CObject* DuplicateEntity(int type, const CObject* entity)
{
    return EntityKind(type).Duplicate(entity);
}

int DrawEntity(CDC& dc, int type, const CObject* entity, const WorldMap& map, DrawKind kind,
               const CEntityContext& drawing)
{
    return EntityKind(type).Draw(dc, entity, map, kind, drawing);
}

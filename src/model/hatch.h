// The raster hatch (type 21): a fill poured on the screen from a seed point
// into the area the drawing around it encloses. Drawn after every other
// entity, because the fill stops at what is already drawn.
#pragma once

#include "model/entity.h"
#include "model/extentpoints.h"
#include "model/geometry.h"
#include "model/pointd.h"

#include <QImage>

#include <cstdint>

class CDC;
class CEntityContext;
class CRecta;
struct CPlacement;
struct StretchWindow;
struct WorldMap;
enum class DrawKind;

enum HatchKind : int {
    HATCH_SOLID = 1,    // flood fill in the hatch colour
    HATCH_PATTERN = 2,  // flood fill with the pattern
    HATCH_SWATCH = 3,   // a solid rectangle, no flood fill (the colour swatch)
};

// Radius, in drawing units, of the marker a hatch shows at its seed when hatches are not filled.
inline constexpr double kHatchMarkerRadius = 0.25;

class CHatch : public CEntity {
    DECLARE_SERIAL(CHatch)
public:
    // Hatches keep their colour when their block or the selection is recoloured.
    static constexpr bool kKeepsColour = true;

    CHatch() = default;
    // Full constructor: pen style 0, no pattern; the layer name is kept whole.
    CHatch(int width, COLORREF color, std::string_view layer, int kind, const CPointd& seed);

    // Every field; the copy shares the pattern's pixels until one is changed.
    void Copy(const CHatch& other) { *this = other; }
    // Attaches a pattern of any size and sets the size fields from it
    // (32 bits per pixel, one plane); false, and nothing changed, for an empty
    // image or one whose sides do not fit the file's 16-bit words.
    bool SetPattern(const QImage& pattern);
    bool HasPattern() const { return !m_pattern.isNull(); }

    // 1 when the seed lies in the rectangle.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // Normal: the fill (or, with hatch fills off, the marker that bounds it;
    // a pattern hatch without its pattern, as a file loads it, shows the
    // marker). Dotted: the marker, with fills off only. Erase: a solid hatch's
    // fill and marker; the others are left. 0 when nothing could be drawn.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const;
    // Pen, layer, kind, the pattern's size fields, its (empty) record, seed.
    void Serialize(CArchive& ar) override;

    int m_kind = HATCH_SOLID;
    QImage m_pattern;  // kind 2; a file keeps only its size fields
    std::uint32_t m_bitsSize = 0;
    int m_bmWidth = 0, m_bmHeight = 0, m_bmPlanes = 0, m_bmBitsPixel = 0;
    CPointd m_seed;

private:
    // The marker circle about the seed, drawn as a circle entity of the hatch's pen.
    int DrawMarker(CDC& dc, const WorldMap& map, DrawKind kind) const;
};

// The seed moves by to - from in x and y; z stays.
void MoveHatch(CHatch& hatch, const CPointd& from, const CPointd& to);
// The seed moves by to - from (x and y) when it lies inside the window.
void StretchHatch(CHatch& hatch, const CPointd& from, const CPointd& to, const StretchWindow& w);

// The kind table's operations (see transform.h and extentpoints.h).
// TransformHatch: the seed placed as any block point.
void PlaceEntity(CHatch& e, const CPlacement& pl);
// RotateHatch and MirrorHatch: the seed is turned or reflected.
void RotateEntity(CHatch& e, const CPointd& centre, double angle);
void MirrorEntity(CHatch& e, const CRecta& mirror, double dir);
// A hatch adds nothing to the drawing extents.
void AddExtentsPoints(const CHatch& hatch, const PointFn& add);

// The bitmap entity (type 22): a BMP file shown stretched over a rectangle
// of the drawing. The drawing keeps the file name, the lower left corner and
// the size; the picture is decoded from the file when first drawn and kept
// until the file changes.
#pragma once

#include "model/entity.h"
#include "model/extentpoints.h"
#include "model/geometry.h"
#include "model/pointd.h"

#include <string>

class CDC;
class CEntityContext;
struct CPlacement;
struct StretchWindow;
struct WorldMap;
enum class DrawKind;

// The sizes the drawing file holds: whole units from 1 to 65535.
inline constexpr int kMinBitmapSize = 1;
inline constexpr int kMaxBitmapSize = 65535;

class CBmp : public CEntity {
    DECLARE_SERIAL(CBmp)
public:
    // Bitmaps keep their colour when their block or the selection is recoloured.
    static constexpr bool kKeepsColour = true;

    CBmp() = default;
    // Pen style 0; the layer and file names are kept whole.
    CBmp(int width, COLORREF color, std::string_view layer, std::string_view file, const CPointd& corner,
         double w, double h);

    void Copy(const CBmp& other) { *this = other; }
    // c0 the corner, c1 = c0 + (w, 0), c2 = c0 + (w, h), c3 = c0 + (0, h).
    void Corners(CPointd (&c)[4]) const;
    // 1 when a corner lies in the rectangle or a side crosses it.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // With bitmaps shown: the picture, or nothing when the file is missing or
    // no BMP (normal), its rectangle in the background colour (erase), nothing
    // (dotted). Otherwise the frame and the file name in the drawing's label
    // font, with the pen of kind.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const;
    // Pen, layer, file name, width and height as 16-bit words (cut toward
    // zero, kept within 0-65535), corner.
    void Serialize(CArchive& ar) override;

    std::string m_file;
    CPointd m_corner;
    double m_w = 0.0;
    double m_h = 0.0;

private:
    int DrawFrame(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const;
};

// The corner moves by to - from in x and y; z stays.
void MoveBmp(CBmp& bmp, const CPointd& from, const CPointd& to);
// With c1 inside the window and c0 not, the bottom side stretches (the width
// follows c1); else with c3 inside and c0 not, the left side (the height
// follows c3); else nothing. The corner never moves. The new size is taken to
// the nearest whole unit, as the file holds it; one it cannot hold leaves
// the size as it was.
void StretchBmp(CBmp& bmp, const CPointd& from, const CPointd& to, const StretchWindow& w);

// The kind table's operations (see transform.h and extentpoints.h). Bitmaps
// are neither turned nor reflected.
// TransformBmp: the corner is placed as any block point; size and
// orientation stay.
void PlaceEntity(CBmp& e, const CPlacement& pl);
// The four corners.
void AddExtentsPoints(const CBmp& bmp, const PointFn& add);

// The dimension entity (type 8): line parts (type 1) and text parts (type 5)
// held as drawing-list elements. The first line part is the definition line:
// it carries the measured length and is never drawn.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"
#include "platform/oblist.h"

#include <cstddef>

class CDC;
class CRecta;
struct WorldMap;
enum class DrawKind;

class CAcot : public CEntity {
    DECLARE_SERIAL(CAcot)
public:
    CAcot() = default;
    // Full constructor: moves every element of parts (left empty) into the dimension.
    CAcot(int width, COLORREF color, std::string_view layer, CObList& parts);
    CAcot(const CAcot&) = delete;
    CAcot& operator=(const CAcot&) = delete;

    // Pen, layer and colour; not the parts.
    void CopyAttributes(const CAcot& other);
    // Everything, with new copies of other's parts in place of this one's.
    void Copy(const CAcot& other);

    // The part elements a copy duplicates.
    std::size_t PartCount() const { return std::size_t(m_parts.GetCount()); }
    POSITION GetFirstPartPosition() const { return m_parts.GetHeadPosition(); }
    POSITION GetLastPartPosition() const { return m_parts.GetTailPosition(); }
    // The part at pos and its type code; pos moves on.
    CObject* GetNextPart(POSITION& pos, int& type) const;
    void DeleteParts();
    // The first line part, or null.
    CRecta* DefinitionLine() const;

    // Colour of the dimension and every part.
    void SetColor(COLORREF color);
    // Each gives every part the dimension's own layer, pen style or pen width.
    void SetLayer();
    void SetLineType();
    void SetWidth();
    // Translates the text parts by to - from.
    void MoveTexts(const CPointd& from, const CPointd& to);

    // Any part, the definition line included.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // Every part but the definition line.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;

    // Pen, layer, part list.
    void Serialize(CArchive& ar) override;

    CObList m_parts{ListOwnership::owns};  // CDib elements
};

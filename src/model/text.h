// The text entity (type 5): one line of text at an insertion point.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"
#include "platform/logfont.h"

#include <string>

class CDC;
struct WorldMap;
enum class DrawKind;

enum TextJustify : int { JUSTIFY_LEFT = 1, JUSTIFY_RIGHT = 2, JUSTIFY_CENTRE = 3 };

class CText : public CEntity {
    DECLARE_SERIAL(CText)
public:
    CText() = default;
    // Full constructor; font, justification, text and point are set by the caller.
    CText(int width, COLORREF color, std::string_view layer) : CEntity(width, color, layer) {}

    void Copy(const CText& other) { *this = other; }
    // Corners of the text's box placed at reference point r: bottom edge c1-c2,
    // top edge c3-c4. Height 1.35 and width 0.81 per character, in font hundredths.
    void AlignPoint(const CPointd& r, CPointd& c1, CPointd& c2, CPointd& c3, CPointd& c4) const;
    // 1 when a corner of the box lies in the rectangle or a side crosses it.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // 0 when the text is too small to show at this scale.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    void Serialize(CArchive& ar) override;

    LOGFONT m_font;
    int m_justify = 0;
    std::string m_text;
    CPointd m_insert;
};

// The colour a selected text shows in: its own value plus 255, kept to 24 bits.
constexpr COLORREF SelectedTextColor(COLORREF c)
{
    return (c + 255) & 0xFFFFFF;
}

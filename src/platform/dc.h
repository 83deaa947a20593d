// Device context: the drawing surface that entities and views draw on, with
// pens, brushes, fonts, raster operations, text alignment and a mapping from
// logical to device coordinates. CImageDC draws into a QImage, CPainterDC
// through a QPainter (vector output), CMetaFileDC records a picture that
// plays at any size, CRecordingDC keeps the calls for tests.
#pragma once

#include "platform/logfont.h"
#include "platform/types.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

class QPainter;
class CRgn;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;        // 18 on, 6 off (pixels)
constexpr int PS_DOT = 2;         // 3 on, 3 off
constexpr int PS_DASHDOT = 3;     // 9 on, 6 off, 3 on, 6 off
constexpr int PS_DASHDOTDOT = 4;  // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
constexpr int PS_NULL = 5;

// Raster operations: code - 1 is the truth table, bit (2 * pen + screen).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;

// Text alignment: one horizontal and one vertical value, optionally TA_UPDATECP.
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Flood fill kinds.
constexpr int FLOODFILLBORDER = 0;   // fill up to pixels of the given colour
constexpr int FLOODFILLSURFACE = 1;  // fill the pixels of the given colour

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;  // 0.1 mm, y up
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Logical coordinates are 64-bit so that far-away mapped points keep their
// direction; every entry point saturates them to +-kLogicalLimit.
constexpr std::int64_t kLogicalLimit = 1'000'000'000'000'000;  // 1e15, exact in a double

struct LPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const LPoint&, const LPoint&) = default;
};

struct LSize {
    std::int64_t cx = 0;
    std::int64_t cy = 0;
};

// A box of device pixels: left and top inside, right and bottom just past it.
struct LRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    std::int64_t Width() const { return right - left; }
    std::int64_t Height() const { return bottom - top; }
    friend bool operator==(const LRect&, const LRect&) = default;
};

// v truncated toward zero and saturated to +-kLogicalLimit; NaN gives 0.
std::int64_t SaturateToLogical(double v);

// Drawing point to logical point: ((x - ox) * scale, (y - oy) * scale), truncated toward zero, saturated.
LPoint WorldToLogical(double x, double y, double scale, double ox, double oy);

// Liang-Barsky: cuts the segment to the closed rectangle; false when nothing
// is left or a value is not finite.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                 double bottom);

class CGdiObject {
public:
    enum class Kind { pen, brush, font };

    virtual ~CGdiObject() = default;
    virtual Kind GetKind() const = 0;

    bool IsCreated() const { return m_created; }
    // Back to the uncreated state; the DC keeps its own copy of a selected object.
    bool DeleteObject();

protected:
    bool m_created = false;
};

class CPen : public CGdiObject {
public:
    static constexpr int kMaxWidth = 65535;

    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

    // Fails for styles outside 0..5 and widths outside 0..kMaxWidth; width 0 is one pixel.
    bool CreatePen(int style, int width, COLORREF colour);

    Kind GetKind() const override { return Kind::pen; }
    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Colour() const { return m_colour; }

private:
    int m_style = PS_SOLID;
    int m_width = 0;
    COLORREF m_colour = 0;
};

class CBrush : public CGdiObject {
public:
    enum class Style { solid, hollow, pattern };

    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }

    bool CreateSolidBrush(COLORREF colour);
    bool CreateHollowBrush();
    // The pattern tiles the device from pixel (0, 0); fails for an empty image.
    bool CreatePatternBrush(const QImage& pattern);

    Kind GetKind() const override { return Kind::brush; }
    Style GetStyle() const { return m_style; }
    COLORREF Colour() const { return m_colour; }
    const QImage& Pattern() const { return m_pattern; }

private:
    Style m_style = Style::hollow;
    COLORREF m_colour = 0;
    QImage m_pattern;  // Format_RGB32
};

class CFont : public CGdiObject {
public:
    CFont() = default;

    // Missing faces map to an installed metric-compatible one ("Courier New"
    // to Liberation Mono); fails for heights or widths beyond 1e6.
    bool CreateFontIndirect(const LOGFONT& lf);

    Kind GetKind() const override { return Kind::font; }
    const LOGFONT& GetLogFont() const { return m_lf; }
    // The installed family that draws this font.
    const QString& Family() const { return m_family; }

private:
    LOGFONT m_lf;
    QString m_family;
};

// The installed family for a face name and pitch-and-family byte.
QString ResolveFontFamily(std::string_view face, BYTE pitchAndFamily);

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Mapping: device = viewport origin + (logical - window origin) * factor,
    // factor = viewport extent / window extent (equal magnitudes in MM_ISOTROPIC).
    virtual int SetMapMode(int mode);
    virtual bool SetWindowExt(int cx, int cy);
    virtual bool SetWindowOrg(int x, int y);
    virtual bool SetViewportExt(int cx, int cy);
    virtual bool SetViewportOrg(int x, int y);
    int GetMapMode() const { return m_mapMode; }
    // One logical unit per pixel, y up, logical (0, 0) at device (0, height).
    void SetYUpMapping(int width, int height);
    LPoint LPtoDP(LPoint p) const;
    LPoint DPtoLP(LPoint p) const;
    double FactorX() const { return m_fx; }
    double FactorY() const { return m_fy; }
    // The whole mapping, to put back after drawing with another one.
    struct Mapping {
        int mode, winOrgX, winOrgY, winExtX, winExtY, vpOrgX, vpOrgY, vpExtX, vpExtY;
    };
    Mapping GetMapping() const;
    // Through the setters above, so that a recording sees it.
    void SetMapping(const Mapping& m);

    // Objects: the previous object is returned, or null when the given one
    // is not created (the selection then stays).
    virtual CPen* SelectObject(CPen* pen);
    virtual CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CGdiObject* SelectObject(CGdiObject* obj);
    virtual CGdiObject* SelectStockObject(int index);
    const CPen& CurrentPen() const { return m_pen; }
    const CBrush& CurrentBrush() const { return m_brush; }
    const CFont& CurrentFont() const { return m_font; }

    virtual int SetROP2(int rop);  // returns the previous one; 0 (and no change) for codes outside 1..16
    int GetROP2() const { return m_rop; }
    virtual COLORREF SetTextColor(COLORREF c);
    COLORREF GetTextColor() const { return m_textColour; }
    virtual COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const { return m_bkColour; }
    virtual int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    virtual unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const { return m_textAlign; }

    // Current position; MoveTo returns the previous one.
    virtual LPoint MoveTo(std::int64_t x, std::int64_t y);
    LPoint GetCurrentPosition() const { return m_pos; }

    // Lines leave out their last pixel; a pen's pattern runs on across LineTo calls.
    virtual bool LineTo(std::int64_t x, std::int64_t y) = 0;
    virtual bool Polyline(const LPoint* pts, int count) = 0;
    virtual bool Polygon(const LPoint* pts, int count) = 0;
    // Shapes cover their box without its right and bottom device edges.
    virtual bool Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) = 0;
    virtual bool Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) = 0;
    // Counter-clockwise as seen on the device (so in the y-up world too), from
    // the radial through the start point to the radial through the end point;
    // equal radials give the whole ellipse. False for an empty box.
    virtual bool Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs,
                     std::int64_t ys, std::int64_t xe, std::int64_t ye) = 0;
    // Return the colour set or read; CLR_INVALID outside the device.
    virtual COLORREF SetPixel(std::int64_t x, std::int64_t y, COLORREF c) = 0;
    virtual COLORREF GetPixel(std::int64_t x, std::int64_t y) const = 0;
    // 8-bit (Latin-1) text at the reference point given by the text alignment;
    // the escapement turns from the logical x axis toward logical -y.
    virtual bool TextOut(std::int64_t x, std::int64_t y, std::string_view text) = 0;
    // Brush fills without the raster operation.
    virtual bool FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                          const CBrush& brush) = 0;
    virtual bool FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                           const CBrush& brush) = 0;
    // Fills the region (device pixels) with the brush, without the raster operation.
    virtual bool FillRgn(const CRgn& region, const CBrush& brush) = 0;
    // Fills with the current brush from the seed, 4-connected.
    virtual bool ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type) = 0;
    bool FloodFill(std::int64_t x, std::int64_t y, COLORREF border)
    {
        return ExtFloodFill(x, y, border, FLOODFILLBORDER);
    }
    // Stretches the image over the box with corner (x, y) and size (w, h):
    // a negative device width or height mirrors it. No raster operation.
    virtual bool StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                              const QImage& image) = 0;

    // Size of the text in the current font, in logical units (cell height).
    LSize GetTextExtent(std::string_view text) const;
    // The length of the longest beginning of text, ending between UTF-8
    // characters, at most width logical units wide in the current font, in
    // about log2 of text's length measurements.
    std::size_t TextFit(std::string_view text, std::int64_t width) const;
    // Texts measured so far.
    std::uint64_t TextMeasures() const { return m_textMeasures; }

protected:
    // Pixels per millimetre of the device, for MM_LOMETRIC.
    virtual double DevicePixelsPerMm() const { return 96.0 / 25.4; }
    void UpdateFactors();
    // Logical point to unrounded device coordinates.
    void ToDevice(std::int64_t x, std::int64_t y, double& dx, double& dy) const;
    // The device corners (x, y) and (x + w, y + h) of a box given by a corner and a size.
    void ToDeviceBox(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, double& x0, double& y0,
                     double& x1, double& y1) const;
    // The current font at its device size, with ascent, descent and the
    // baseline direction in degrees (Qt's clockwise-positive rotation).
    QFont DeviceFont(double* ascent, double* descent, double* angleDeg) const;
    QFont MakeDeviceFont(double& ascent, double& descent) const;
    // Device pixel size of the current font; 0 when it is too large to draw.
    double DeviceFontPixels() const;

    // A text laid out on the device in the current font and alignment.
    struct TextPlacement {
        double x = 0, y = 0;  // the reference point, on a whole pixel
        QFont font;
        double angle = 0;             // degrees, Qt's clockwise-positive rotation
        double xoff = 0, yoff = 0;    // the baseline's start from the reference point, along the text
        double advance = 0, ascent = 0, descent = 0;
        QString text;
    };
    // Lays the text out at (x, y), or at the current position under
    // TA_UPDATECP, and hands it to paint; under TA_UPDATECP the current
    // position then moves to the text's far end. False, with nothing
    // painted, when the font is too large to draw.
    bool LayOutText(std::int64_t x, std::int64_t y, std::string_view text,
                    const std::function<void(const TextPlacement&)>& paint);
    // Paints the laid-out text, over a box of the background colour in opaque mode.
    void PaintText(QPainter& p, const TextPlacement& t) const;

    CPen m_pen;
    CPen* m_penPtr;
    CBrush m_brush;
    CBrush* m_brushPtr;
    CFont m_font;
    CFont* m_fontPtr;
    int m_rop = R2_COPYPEN;
    COLORREF m_textColour = 0;
    COLORREF m_bkColour = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    unsigned m_textAlign = TA_LEFT | TA_TOP;
    LPoint m_pos;
    std::int64_t m_penPhase = 0;  // position in the pen pattern, carried across LineTo

    // The last device font made, with what it was made from.
    struct DeviceFontMemo;
    mutable std::unique_ptr<DeviceFontMemo> m_deviceFont;
    mutable std::uint64_t m_textMeasures = 0;

    int m_mapMode = MM_TEXT;
    int m_winOrgX = 0, m_winOrgY = 0, m_winExtX = 1, m_winExtY = 1;
    int m_vpOrgX = 0, m_vpOrgY = 0, m_vpExtX = 1, m_vpExtY = 1;
    double m_fx = 1.0, m_fy = 1.0;
};

// The stock objects (shared, never deleted).
CPen* StockPen(int index);
CBrush* StockBrush(int index);
CFont* StockFont(int index);

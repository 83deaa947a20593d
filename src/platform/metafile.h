// Pictures as recorded drawing calls. A CMetaFileDC records what is drawn on
// it; the CMetaFile it closes into plays the calls back into any device
// context at any size, and is kept as bytes of its own format. Embedded
// objects keep their presentation so; the clipboard's vector copy is one.
#pragma once

#include "platform/dc.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

struct CMetaRecording;

// What GetPixel gives while recording: a flood fill given this colour fills
// the colour found at its seed when the picture plays.
inline constexpr COLORREF kPixelAtPlay = 0x01000000;

// What one picture may hold. A recording stays within them, but for the
// call that marks it cut, and reading refuses bytes that ask for more.
struct CMetaLimits {
    std::uint64_t calls = std::uint64_t(1) << 24;
    std::uint64_t points = std::uint64_t(1) << 24;        // of all calls together
    std::uint64_t tableEntries = std::uint64_t(1) << 20;  // in each table, and polygons in a region
    std::uint64_t textBytes = std::uint64_t(1) << 20;     // of one text
    std::uint64_t imageSide = std::uint64_t(1) << 16;
    std::uint64_t imagePixels = std::uint64_t(1) << 26;   // of all images together
};

// Work that playing pictures may do. Each call is charged, before it is
// made, what it does on the device, in units of about a nanosecond of
// drawing: a few tens for any call, more for one a painter DC writes out;
// for what it draws, each point it goes through, each pixel its strokes,
// fills and images cover within the target (more where a pattern brush or a
// raster operation reads them, and for the rows where a wide pen or a region
// crosses many edges), each byte of a text and the pixels its glyphs may
// cover, each source pixel of an image. A flood fill is played only when what
// is left pays for filling the whole target, and is then charged the pixels
// it painted. The first call that costs more than is left is left out with
// the rest of its picture. One budget serves a whole repaint: every picture
// it plays spends from it.
class CMetaPlayBudget {
public:
    // A repaint's: spent whole in about a quarter of a second, where a hundred
    // drawings of 2,000 short lines each take a quarter of it.
    static constexpr std::int64_t kRepaintWork = std::int64_t(1) << 28;

    explicit CMetaPlayBudget(std::int64_t work = kRepaintWork) : m_left(std::max<std::int64_t>(work, 0)) {}

    std::int64_t Left() const { return m_left; }
    // Takes work when that much is left; false, taking nothing, when not.
    bool Spend(std::int64_t work)
    {
        if (work > m_left)
            return false;
        m_left -= work;
        return true;
    }
    // Takes work already done (a picture decoded while anything was left),
    // down to nothing.
    void Charge(std::int64_t work) { m_left = std::max<std::int64_t>(m_left - std::max<std::int64_t>(work, 0), 0); }
    // The calls left out so far, of every picture played on this budget.
    std::uint64_t CallsLeftOut() const { return m_leftOut; }
    void LeaveOut(std::uint64_t calls) { m_leftOut += calls; }

private:
    std::int64_t m_left;
    std::uint64_t m_leftOut = 0;
};

// A recording of drawing calls that plays at any size. A value: copies share
// the recording, which does not change once made.
class CMetaFile {
public:
    CMetaFile();
    ~CMetaFile();
    CMetaFile(const CMetaFile&);
    CMetaFile& operator=(const CMetaFile&);

    bool IsEmpty() const;
    // The number of calls recorded.
    std::size_t CallCount() const;
    // True when the recorder left calls out, or shortened a text, to stay
    // within its limits; the bytes keep it as a call that draws nothing.
    bool IsCut() const;

    // Plays the calls so that the recording's window (set by SetWindowOrg and
    // SetWindowExt while recording; 0..1 when it set none) fills target, a
    // box of dc's device pixels, upside down on an axis where the recording
    // set a negative viewport extent, and keeping its proportions when it set
    // the isotropic mode. Drawing starts from the default pens, brush, font
    // and modes; dc gets its own objects, modes and mapping back afterwards.
    // An image DC is clipped to target exactly, flood fills included; a
    // painter DC clips through its painter; on other DCs, which cannot read
    // pixels, a flood fill fills the pixels it would cover on an image of the
    // target's size (up to 2^24 pixels; larger ones leave fills out).
    // False, with nothing drawn, when the picture is empty or the target has
    // no width or height or lies beyond 2^30 pixels. The calls spend from
    // budget, what they draw counted within target and the DC's pixels; those
    // past it are left out, and the budget says so.
    bool Play(CDC& dc, const LRect& target, CMetaPlayBudget& budget) const;
    // The same on a repaint's budget of its own.
    bool Play(CDC& dc, const LRect& target) const;

    // The stored form: magic, version, then the tables of pens, images,
    // brushes, fonts and texts and the calls, each with its count; numbers
    // little-endian, most of them as base-128 varints.
    std::vector<BYTE> ToBytes() const;
    // Reads bytes from anywhere: every count, length and value is checked
    // against what remains and against the limits. Returns the one error,
    // saying at which byte and what, and leaves out unchanged; nullopt when
    // the bytes read whole.
    static std::optional<std::string> FromBytes(std::span<const BYTE> bytes, CMetaFile& out,
                                                const CMetaLimits& limits = {});

private:
    friend class CMetaFileDC;
    std::shared_ptr<CMetaRecording> m_rec;
};

// A device context that keeps every call instead of drawing. Its own mapping
// is one device unit a logical unit (turned by the sign of the viewport
// extent it was given), so that device regions keep their logical size.
// It records nothing more once a call would pass a limit; an image past the
// side limit or the pixels left is kept scaled down to fit, or as its frame
// when no pixel is left.
class CMetaFileDC : public CDC {
public:
    explicit CMetaFileDC(const CMetaLimits& limits = {});
    ~CMetaFileDC() override;

    // Ends the recording and gives it; the DC goes on with a new, empty one.
    CMetaFile Close();

    int SetMapMode(int mode) override;
    bool SetWindowExt(int cx, int cy) override;
    bool SetWindowOrg(int x, int y) override;
    bool SetViewportExt(int cx, int cy) override;
    bool SetViewportOrg(int x, int y) override;

    CPen* SelectObject(CPen* pen) override;
    CBrush* SelectObject(CBrush* brush) override;
    CFont* SelectObject(CFont* font) override;
    using CDC::SelectObject;
    CGdiObject* SelectStockObject(int index) override;

    int SetROP2(int rop) override;
    COLORREF SetTextColor(COLORREF c) override;
    COLORREF SetBkColor(COLORREF c) override;
    int SetBkMode(int mode) override;
    unsigned SetTextAlign(unsigned align) override;

    LPoint MoveTo(std::int64_t x, std::int64_t y) override;
    bool LineTo(std::int64_t x, std::int64_t y) override;
    bool Polyline(const LPoint* pts, int count) override;
    bool Polygon(const LPoint* pts, int count) override;
    bool Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) override;
    bool Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs, std::int64_t ys,
             std::int64_t xe, std::int64_t ye) override;
    COLORREF SetPixel(std::int64_t x, std::int64_t y, COLORREF c) override;
    // Always kPixelAtPlay.
    COLORREF GetPixel(std::int64_t x, std::int64_t y) const override;
    // Under TA_UPDATECP the current position stays: only the device the
    // picture plays on knows how long the text is.
    bool TextOut(std::int64_t x, std::int64_t y, std::string_view text) override;
    bool FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush) override;
    bool FillRgn(const CRgn& region, const CBrush& brush) override;
    bool ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type) override;
    bool StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                      const QImage& image) override;

private:
    // Whether one more call holding points more points fits; when not, the recording is cut.
    bool Room(std::uint64_t points = 0);
    // Records nothing more.
    void Stop();
    // Marks the recording cut, once, with a call of its own.
    void MarkCut();
    void Add(int op, std::initializer_list<std::int64_t> args);
    void AddPoints(int op, const LPoint* pts, int count);
    // The device side of the mapping: one unit a logical unit.
    void KeepUnitViewport();
    // Table indexes; nullopt, with the recording cut, when a new entry would pass the limit.
    std::optional<std::uint32_t> PenIndex(const CPen& pen);
    std::optional<std::uint32_t> BrushIndex(const CBrush& brush);
    std::optional<std::uint32_t> FontIndex(const CFont& font);
    std::optional<std::uint32_t> TextIndex(std::string_view text);
    // An index past every image (kNoImage) when no pixel is left for it.
    std::optional<std::uint32_t> ImageIndex(const QImage& image);
    std::optional<std::uint32_t> Cut(std::optional<std::uint32_t> index);

    CMetaLimits m_limits;
    std::shared_ptr<CMetaRecording> m_rec;
    std::uint64_t m_pixels = 0;  // of the images kept
    bool m_stopped = false;
    // Table entries already made, so that each is stored once.
    std::map<std::tuple<int, int, COLORREF>, std::uint32_t> m_pens;
    std::map<std::tuple<int, COLORREF, std::uint32_t>, std::uint32_t> m_brushes;
    std::map<std::string, std::uint32_t> m_fonts;
    std::unordered_map<std::string, std::uint32_t> m_texts;
    std::unordered_map<qint64, std::uint32_t> m_images;
    int m_vpSignX = 1, m_vpSignY = 1;
};

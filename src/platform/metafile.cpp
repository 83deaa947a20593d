#include "platform/metafile.h"

#include "platform/dcshared.h"
#include "platform/floodfill.h"
#include "platform/imagedc.h"
#include "platform/painterdc.h"
#include "platform/region.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;

// The calls, by their stored code.
enum MetaOp : int {
    OP_MAP_MODE = 1,
    OP_WINDOW_EXT,
    OP_WINDOW_ORG,
    OP_VIEWPORT_EXT,
    OP_VIEWPORT_ORG,
    OP_PEN,
    OP_BRUSH,
    OP_FONT,
    OP_STOCK,
    OP_ROP,
    OP_TEXT_COLOUR,
    OP_BK_COLOUR,
    OP_BK_MODE,
    OP_TEXT_ALIGN,
    OP_MOVE_TO,
    OP_LINE_TO,
    OP_POLYLINE,
    OP_POLYGON,
    OP_RECTANGLE,
    OP_ELLIPSE,
    OP_ARC,
    OP_SET_PIXEL,
    OP_TEXT_OUT,
    OP_FILL_RECT,
    OP_FRAME_RECT,
    OP_FILL_RGN,
    OP_FLOOD_FILL,
    OP_FLOOD_FILL_AT_SEED,
    OP_STRETCH_IMAGE,
    OP_CUT,  // the recorder left something out here
    OP_COUNT
};

// The calls from OP_LINE_TO on draw, but for the mark of a cut; those before set what they draw with.
constexpr bool IsDrawing(int op) { return op >= OP_LINE_TO && op != OP_CUT; }

// Each call's arguments, one letter each: c coordinate, o origin, e extent
// (not 0), k colour, m mapping mode, r raster operation, b background mode,
// a text alignment, P B F T I an index into the pens, brushes, fonts, texts
// or images, S a stock object, f a flood fill kind, w a flag (winding), L a
// point list, R a list of polygons. In memory L is its count and the index of
// its first point; R its polygon count, each polygon's point count and the
// index of its first point.
constexpr std::string_view kArgs[OP_COUNT] = {
    "",      "m",     "ee",   "oo",    "ee",       "oo",   "P",    "B",    "F",     "S",
    "r",     "k",     "k",    "b",     "a",        "cc",   "cc",   "L",    "L",     "cccc",
    "cccc",  "cccccccc", "cck", "ccT", "ccccB",    "ccccB", "BwR", "cckf", "ccf",   "ccccI",
    "",
};
static_assert(kArgs[OP_STRETCH_IMAGE] == "ccccI" && OP_CUT + 1 == OP_COUNT);

constexpr char kMagic[4] = {'Z', 'P', 'M', 'F'};
constexpr int kVersion = 1;

// Limits on playing, besides what CMetaLimits puts on the bytes.
constexpr i64 kMaxTargetCoord = (i64(1) << 30) - 1;  // widths stay within int
constexpr i64 kMaxShadowPixels = i64(1) << 24;
constexpr std::uint32_t kNoImage = 0xFFFFFFFFu;

i64 Clamp(i64 v) { return std::clamp(v, -kLogicalLimit, kLogicalLimit); }

bool IsSigned(char kind) { return kind == 'c' || kind == 'o' || kind == 'e'; }

}  // namespace

struct CMetaCall {
    int op;
    std::uint32_t at;  // its first argument in args
};

struct CMetaRecording {
    std::vector<CPen> pens;
    std::vector<QImage> images;  // Format_ARGB32
    std::vector<CBrush> brushes;
    std::vector<std::uint32_t> brushImages;  // the pattern's image, or kNoImage
    std::vector<CFont> fonts;
    std::vector<std::string> texts;
    std::vector<CMetaCall> calls;
    std::vector<i64> args;
    std::vector<LPoint> points;
    bool fills = false;  // some call is a flood fill
    bool cut = false;    // the recorder left calls out
};

// ---------------------------------------------------------------- recording

namespace {

// The index of key's entry in table, made by make() when new; nullopt when a
// new entry would pass max.
template <class Made, class Key, class Table, class Make>
std::optional<std::uint32_t> Entry(Made& made, Key&& key, Table& table, u64 max, Make&& make)
{
    if (const auto it = made.find(key); it != made.end())
        return it->second;
    if (table.size() >= max)
        return std::nullopt;
    const auto index = std::uint32_t(table.size());
    table.push_back(make());
    made.emplace(std::forward<Key>(key), index);
    return index;
}

// The size an image is kept at: within side on both axes and within budget
// pixels, its proportions kept as near as whole pixels allow. Empty when no
// pixel is left.
QSize FitImage(QSize size, u64 side, u64 budget)
{
    const u64 w = u64(size.width()), h = u64(size.height());
    if (budget == 0 || side == 0)
        return {};
    if (w <= side && h <= side && w * h <= budget)
        return size;
    const double scale = std::min({double(side) / double(w), double(side) / double(h),
                                   std::sqrt(double(budget) / (double(w) * double(h)))});
    u64 fw = std::clamp<u64>(u64(double(w) * scale), 1, side);
    u64 fh = std::clamp<u64>(u64(double(h) * scale), 1, side);
    if (fw * fh > budget)
        fh = std::max<u64>(1, budget / fw);
    if (fw * fh > budget)
        fw = std::max<u64>(1, budget / fh);
    return {int(fw), int(fh)};
}

}  // namespace

CMetaFileDC::CMetaFileDC(const CMetaLimits& limits) : m_limits(limits), m_rec(std::make_shared<CMetaRecording>()) {}

CMetaFileDC::~CMetaFileDC() = default;

CMetaFile CMetaFileDC::Close()
{
    CMetaFile done;
    done.m_rec = std::move(m_rec);
    m_rec = std::make_shared<CMetaRecording>();
    m_pens.clear();
    m_brushes.clear();
    m_fonts.clear();
    m_texts.clear();
    m_images.clear();
    m_pixels = 0;
    m_stopped = false;
    return done;
}

bool CMetaFileDC::Room(u64 points)
{
    if (m_rec->calls.size() >= m_limits.calls || points > m_limits.points ||
        m_rec->points.size() > m_limits.points - points)
        Stop();
    return !m_stopped;
}

void CMetaFileDC::Stop()
{
    m_stopped = true;
    MarkCut();
}

void CMetaFileDC::MarkCut()
{
    if (m_rec->cut)
        return;
    m_rec->cut = true;
    m_rec->calls.push_back({OP_CUT, std::uint32_t(m_rec->args.size())});
}

std::optional<std::uint32_t> CMetaFileDC::Cut(std::optional<std::uint32_t> index)
{
    if (!index)
        Stop();
    return index;
}

void CMetaFileDC::Add(int op, std::initializer_list<i64> args)
{
    if (!Room())
        return;
    m_rec->calls.push_back({op, std::uint32_t(m_rec->args.size())});
    m_rec->args.insert(m_rec->args.end(), args);
    if (op == OP_FLOOD_FILL || op == OP_FLOOD_FILL_AT_SEED)
        m_rec->fills = true;
}

void CMetaFileDC::AddPoints(int op, const LPoint* pts, int count)
{
    if (!Room(u64(count)))
        return;
    Add(op, {count, i64(m_rec->points.size())});
    for (int i = 0; i < count; ++i)
        m_rec->points.push_back({Clamp(pts[i].x), Clamp(pts[i].y)});
}

void CMetaFileDC::KeepUnitViewport()
{
    auto magnitude = [](int v) { return v == INT_MIN ? INT_MAX : std::abs(v); };
    CDC::SetViewportExt(m_vpSignX * magnitude(m_winExtX), m_vpSignY * magnitude(m_winExtY));
    CDC::SetViewportOrg(0, 0);
}

std::optional<std::uint32_t> CMetaFileDC::PenIndex(const CPen& pen)
{
    return Cut(Entry(m_pens, std::make_tuple(pen.Style(), pen.Width(), pen.Colour()), m_rec->pens,
                     m_limits.tableEntries, [&] { return pen; }));
}

std::optional<std::uint32_t> CMetaFileDC::BrushIndex(const CBrush& brush)
{
    CBrush::Style style = brush.GetStyle();
    COLORREF colour = style == CBrush::Style::solid ? brush.Colour() : 0;
    std::uint32_t image = kNoImage;
    if (style == CBrush::Style::pattern) {
        const auto index = ImageIndex(brush.Pattern());
        if (!index)
            return std::nullopt;
        image = *index;
        if (image == kNoImage) {
            // No pixels left for the pattern: its first pixel's colour stands for it.
            const QRgb first = brush.Pattern().pixel(0, 0);
            style = CBrush::Style::solid;
            colour = RGB(qRed(first), qGreen(first), qBlue(first));
        }
    }
    return Cut(Entry(m_brushes, std::make_tuple(int(style), colour, image), m_rec->brushes, m_limits.tableEntries,
                     [&] {
                         CBrush kept;
                         switch (style) {
                         case CBrush::Style::solid: kept.CreateSolidBrush(colour); break;
                         case CBrush::Style::hollow: kept.CreateHollowBrush(); break;
                         case CBrush::Style::pattern: kept.CreatePatternBrush(m_rec->images[image]); break;
                         }
                         m_rec->brushImages.push_back(image);
                         return kept;
                     }));
}

std::optional<std::uint32_t> CMetaFileDC::FontIndex(const CFont& font)
{
    std::string key(sizeof(LOGFONT), '\0');
    std::memcpy(key.data(), &font.GetLogFont(), sizeof(LOGFONT));
    return Cut(Entry(m_fonts, std::move(key), m_rec->fonts, m_limits.tableEntries, [&] { return font; }));
}

std::optional<std::uint32_t> CMetaFileDC::TextIndex(std::string_view text)
{
    if (text.size() > m_limits.textBytes) {
        text = text.substr(0, std::size_t(m_limits.textBytes));
        MarkCut();
    }
    return Cut(Entry(m_texts, std::string(text), m_rec->texts, m_limits.tableEntries,
                     [&] { return std::string(text); }));
}

std::optional<std::uint32_t> CMetaFileDC::ImageIndex(const QImage& image)
{
    if (const auto it = m_images.find(image.cacheKey()); it != m_images.end())
        return it->second;
    const QSize fit = FitImage(image.size(), m_limits.imageSide, m_limits.imagePixels - m_pixels);
    if (fit.isEmpty()) {
        m_images.emplace(image.cacheKey(), kNoImage);
        return kNoImage;
    }
    return Cut(Entry(m_images, image.cacheKey(), m_rec->images, m_limits.tableEntries, [&] {
        m_pixels += u64(fit.width()) * u64(fit.height());
        if (fit == image.size())
            return image.convertToFormat(QImage::Format_ARGB32);
        return image.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_ARGB32);
    }));
}

int CMetaFileDC::SetMapMode(int mode)
{
    const int prev = CDC::SetMapMode(mode);
    if (prev)
        Add(OP_MAP_MODE, {mode});
    return prev;
}

bool CMetaFileDC::SetWindowExt(int cx, int cy)
{
    if (!CDC::SetWindowExt(cx, cy))
        return false;
    Add(OP_WINDOW_EXT, {cx, cy});
    KeepUnitViewport();
    return true;
}

bool CMetaFileDC::SetWindowOrg(int x, int y)
{
    Add(OP_WINDOW_ORG, {x, y});
    return CDC::SetWindowOrg(x, y);
}

bool CMetaFileDC::SetViewportExt(int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return false;
    Add(OP_VIEWPORT_EXT, {cx, cy});
    m_vpSignX = cx < 0 ? -1 : 1;
    m_vpSignY = cy < 0 ? -1 : 1;
    KeepUnitViewport();
    return true;
}

bool CMetaFileDC::SetViewportOrg(int x, int y)
{
    Add(OP_VIEWPORT_ORG, {x, y});
    return true;
}

CPen* CMetaFileDC::SelectObject(CPen* pen)
{
    if (pen && pen->IsCreated())
        if (const auto index = PenIndex(*pen))
            Add(OP_PEN, {*index});
    return CDC::SelectObject(pen);
}

CBrush* CMetaFileDC::SelectObject(CBrush* brush)
{
    if (brush && brush->IsCreated())
        if (const auto index = BrushIndex(*brush))
            Add(OP_BRUSH, {*index});
    return CDC::SelectObject(brush);
}

CFont* CMetaFileDC::SelectObject(CFont* font)
{
    if (font && font->IsCreated())
        if (const auto index = FontIndex(*font))
            Add(OP_FONT, {*index});
    return CDC::SelectObject(font);
}

CGdiObject* CMetaFileDC::SelectStockObject(int index)
{
    // Kept as the stock object itself, not as the selection it makes.
    CGdiObject* prev = nullptr;
    if (CPen* pen = StockPen(index))
        prev = CDC::SelectObject(pen);
    else if (CBrush* brush = StockBrush(index))
        prev = CDC::SelectObject(brush);
    else if (CFont* font = StockFont(index))
        prev = CDC::SelectObject(font);
    else
        return nullptr;
    Add(OP_STOCK, {index});
    return prev;
}

int CMetaFileDC::SetROP2(int rop)
{
    const int prev = CDC::SetROP2(rop);
    if (prev)
        Add(OP_ROP, {rop});
    return prev;
}

COLORREF CMetaFileDC::SetTextColor(COLORREF c)
{
    Add(OP_TEXT_COLOUR, {c & 0xFFFFFF});
    return CDC::SetTextColor(c);
}

COLORREF CMetaFileDC::SetBkColor(COLORREF c)
{
    Add(OP_BK_COLOUR, {c & 0xFFFFFF});
    return CDC::SetBkColor(c);
}

int CMetaFileDC::SetBkMode(int mode)
{
    const int prev = CDC::SetBkMode(mode);
    if (prev)
        Add(OP_BK_MODE, {mode});
    return prev;
}

unsigned CMetaFileDC::SetTextAlign(unsigned align)
{
    Add(OP_TEXT_ALIGN, {align});
    return CDC::SetTextAlign(align);
}

LPoint CMetaFileDC::MoveTo(std::int64_t x, std::int64_t y)
{
    Add(OP_MOVE_TO, {Clamp(x), Clamp(y)});
    return CDC::MoveTo(x, y);
}

bool CMetaFileDC::LineTo(std::int64_t x, std::int64_t y)
{
    Add(OP_LINE_TO, {Clamp(x), Clamp(y)});
    m_pos = {Clamp(x), Clamp(y)};
    return true;
}

bool CMetaFileDC::Polyline(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    AddPoints(OP_POLYLINE, pts, count);
    return true;
}

bool CMetaFileDC::Polygon(const LPoint* pts, int count)
{
    if (!pts || count < 2)
        return false;
    AddPoints(OP_POLYGON, pts, count);
    return true;
}

bool CMetaFileDC::Rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    Add(OP_RECTANGLE, {Clamp(l), Clamp(t), Clamp(r), Clamp(b)});
    return l != r && t != b;
}

bool CMetaFileDC::Ellipse(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    Add(OP_ELLIPSE, {Clamp(l), Clamp(t), Clamp(r), Clamp(b)});
    return l != r && t != b;
}

bool CMetaFileDC::Arc(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::int64_t xs,
                      std::int64_t ys, std::int64_t xe, std::int64_t ye)
{
    Add(OP_ARC, {Clamp(l), Clamp(t), Clamp(r), Clamp(b), Clamp(xs), Clamp(ys), Clamp(xe), Clamp(ye)});
    return l != r && t != b;
}

COLORREF CMetaFileDC::SetPixel(std::int64_t x, std::int64_t y, COLORREF c)
{
    Add(OP_SET_PIXEL, {Clamp(x), Clamp(y), c & 0xFFFFFF});
    return c & 0xFFFFFF;
}

COLORREF CMetaFileDC::GetPixel(std::int64_t, std::int64_t) const { return kPixelAtPlay; }

bool CMetaFileDC::TextOut(std::int64_t x, std::int64_t y, std::string_view text)
{
    if (const auto index = TextIndex(text))
        Add(OP_TEXT_OUT, {Clamp(x), Clamp(y), *index});
    return true;
}

bool CMetaFileDC::FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    if (const auto index = BrushIndex(brush))
        Add(OP_FILL_RECT, {Clamp(l), Clamp(t), Clamp(r), Clamp(b), *index});
    return true;
}

bool CMetaFileDC::FrameRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, const CBrush& brush)
{
    if (!brush.IsCreated())
        return false;
    if (const auto index = BrushIndex(brush))
        Add(OP_FRAME_RECT, {Clamp(l), Clamp(t), Clamp(r), Clamp(b), *index});
    return true;
}

bool CMetaFileDC::FillRgn(const CRgn& region, const CBrush& brush)
{
    if (!brush.IsCreated() || brush.GetStyle() == CBrush::Style::hollow)
        return false;
    // The region's device points are logical ones moved and turned: they go back exactly.
    std::vector<LPoint> pts;
    std::vector<i64> counts;
    for (const QPolygonF& poly : region.Path().toSubpathPolygons()) {
        if (poly.size() < 3)
            continue;
        for (const QPointF& p : poly)
            pts.push_back(DPtoLP({SaturateToLogical(std::floor(p.x() + 0.5)), SaturateToLogical(std::floor(p.y() + 0.5))}));
        counts.push_back(poly.size());
    }
    if (counts.empty())
        return true;
    if (counts.size() > m_limits.tableEntries)
        Stop();
    const auto index = BrushIndex(brush);
    if (!index || !Room(pts.size()))
        return true;
    m_rec->calls.push_back({OP_FILL_RGN, std::uint32_t(m_rec->args.size())});
    m_rec->args.insert(m_rec->args.end(), {i64(*index), region.IsWinding() ? 1 : 0, i64(counts.size())});
    m_rec->args.insert(m_rec->args.end(), counts.begin(), counts.end());
    m_rec->args.push_back(i64(m_rec->points.size()));
    for (const LPoint& p : pts)
        m_rec->points.push_back({Clamp(p.x), Clamp(p.y)});
    return true;
}

bool CMetaFileDC::ExtFloodFill(std::int64_t x, std::int64_t y, COLORREF colour, int type)
{
    const int kind = type == FLOODFILLSURFACE ? FLOODFILLSURFACE : FLOODFILLBORDER;
    if (colour == kPixelAtPlay)
        Add(OP_FLOOD_FILL_AT_SEED, {Clamp(x), Clamp(y), kind});
    else
        Add(OP_FLOOD_FILL, {Clamp(x), Clamp(y), colour & 0xFFFFFF, kind});
    return true;
}

bool CMetaFileDC::StretchImage(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                               const QImage& image)
{
    if (image.isNull())
        return false;
    const auto index = ImageIndex(image);
    if (index == kNoImage) {
        // No pixels left for it: its frame shows where it is.
        CBrush black(RGB(0, 0, 0));
        return FrameRect(x, y, Clamp(Clamp(x) + Clamp(w)), Clamp(Clamp(y) + Clamp(h)), black);
    }
    if (index)
        Add(OP_STRETCH_IMAGE, {Clamp(x), Clamp(y), Clamp(w), Clamp(h), *index});
    return true;
}

// ------------------------------------------------------------------ playing

namespace {

// The runs of pixels a fill painted, as boxes, runs of the same columns in
// rows one under the other joined, moved by (dx, dy).
std::vector<LRect> RunBoxes(std::vector<FloodRun>& runs, i64 dx, i64 dy)
{
    std::sort(runs.begin(), runs.end(), [](const FloodRun& a, const FloodRun& b) {
        return std::tie(a.x0, a.x1, a.y) < std::tie(b.x0, b.x1, b.y);
    });
    std::vector<LRect> boxes;
    for (const FloodRun& r : runs) {
        LRect* last = boxes.empty() ? nullptr : &boxes.back();
        if (last && last->left == r.x0 + dx && last->right == r.x1 + 1 + dx && last->bottom == r.y + dy)
            ++last->bottom;
        else
            boxes.push_back({r.x0 + dx, r.y + dy, r.x1 + 1 + dx, r.y + 1 + dy});
    }
    return boxes;
}

// What calls cost, in the units of CMetaPlayBudget: about a nanosecond of
// drawing each, as measured on image DCs and on a painter DC writing SVG.
constexpr double kCallWork = 48;            // any call
constexpr double kDrawWork = 128;           // more for one that draws
constexpr double kOutlineWork = 512;        // more for a line, polygon, rectangle, ellipse or arc
constexpr double kCurveWork = 1536;         // more for an ellipse or arc
constexpr double kVectorDrawWork = 6144;    // more for one a painter DC writes out
constexpr double kPointWork = 96;           // each point of a line, polygon or region
constexpr double kTextWork = 6144;          // more for a text: its layout
constexpr double kByteWork = 384;           // each byte of a text
constexpr double kGlyphPixelWork = 3;       // each pixel its glyphs may cover
constexpr double kImageWork = 1024;         // more for an image
constexpr double kSourcePixelWork = 1;      // each pixel of its source
constexpr double kVectorSourcePixelWork = 32;  // each pixel of its source a painter DC writes out
// Each pixel painted: by a fill; by a wide pen; by a one-pixel pen or a frame;
// on an ellipse's or arc's outline; by an image; by a fill with a pattern
// brush or under a raster operation that reads the screen; on an outline
// under such an operation (its pixels are sorted first); by a flood fill.
constexpr double kPixelWork = 1;
constexpr double kWidePixelWork = 2;
constexpr double kLinePixelWork = 3;
constexpr double kCurvePixelWork = 8;
constexpr double kImagePixelWork = 2;
constexpr double kReadPixelWork = 16;
constexpr double kSortedPixelWork = 64;
constexpr double kFloodPixelWork = 4;
constexpr double kEdgeRowWork = 48;      // a polygon's edge on each row its fill goes through
constexpr double kPathRowWork = 3;       // a row of a path Qt fills, by the square of the edges crossing it
constexpr std::size_t kMaxBands = 1024;  // bands of rows that edges are counted in
constexpr double kShortStroke = 64;      // pixels of a stroke charged whole, near what the DC shows or not
constexpr double kDefaultCellPixels = 16;  // the cell DCs give a font of no height

class MetaPlayer {
public:
    // target in dc's device pixels; the shadow, when given, covers target
    // from its (0, 0); clip, within target, the pixels the DC can show.
    MetaPlayer(CMetaRecording& rec, CDC& dc, const LRect& target, const LRect& clip, CImageDC* shadow,
               CMetaPlayBudget& budget)
        : m_rec(rec), m_dc(dc), m_target(target), m_shadow(shadow), m_pixels(dynamic_cast<CImageDC*>(&dc)),
          m_vector(dynamic_cast<CPainterDC*>(&dc) != nullptr), m_budget(budget), m_limit(double(budget.Left())),
          m_clip(QRectF(double(clip.left), double(clip.top), double(clip.Width()), double(clip.Height())))
    {
    }

    void Run()
    {
        Remap();
        const i64* a = m_rec.args.data();
        const std::size_t calls = m_rec.calls.size();
        std::size_t i = 0;
        for (; i < calls; ++i) {
            const CMetaCall& call = m_rec.calls[i];
            if (!(IsDrawing(call.op) ? Pay(call.op, a + call.at) : Spend(kCallWork)))
                break;
            Do(call.op, a + call.at);
        }
        // What was spent, rounded up, is taken from the budget once.
        m_budget.Spend(std::min(m_budget.Left(), i64(std::ceil(m_spent))));
        m_budget.LeaveOut(calls - i);
    }

private:
    template <class F>
    void Each(F&& f)
    {
        f(m_dc);
        if (m_shadow)
            f(static_cast<CDC&>(*m_shadow));
    }

    static void Map(CDC& dc, bool iso, const int (&org)[2], const int (&ext)[2], const bool (&flip)[2],
                    const LRect& box)
    {
        const int w = int(box.Width()), h = int(box.Height());
        dc.SetMapMode(iso ? MM_ISOTROPIC : MM_ANISOTROPIC);
        dc.SetWindowExt(ext[0], ext[1]);
        dc.SetWindowOrg(org[0], org[1]);
        dc.SetViewportExt(flip[0] ? -w : w, flip[1] ? -h : h);
        dc.SetViewportOrg(int(flip[0] ? box.right : box.left), int(flip[1] ? box.bottom : box.top));
    }

    void Remap()
    {
        Map(m_dc, m_iso, m_org, m_ext, m_flip, m_target);
        if (m_shadow)
            Map(*m_shadow, m_iso, m_org, m_ext, m_flip, {0, 0, m_target.Width(), m_target.Height()});
        const CDC::Mapping m = m_dc.GetMapping();
        m_fx = m_dc.FactorX();
        m_fy = m_dc.FactorY();
        m_ox = m.vpOrgX - m.winOrgX * m_fx;
        m_oy = m.vpOrgY - m.winOrgY * m_fy;
        m_penKnown = false;
    }

    // ---- what calls cost

    // Takes work when the budget has it; false, taking nothing, when not.
    bool Spend(double work)
    {
        if (m_spent + work > m_limit)
            return false;
        m_spent += work;
        return true;
    }

    QPointF Device(i64 x, i64 y) const { return {m_ox + double(x) * m_fx, m_oy + double(y) * m_fy}; }
    QPointF Device(const LPoint& p) const { return Device(p.x, p.y); }

    // The pixels of the device box with corners a and b that the DC shows.
    double ClippedArea(const QPointF& a, const QPointF& b) const
    {
        const QRectF shown = QRectF(a, b).normalized().intersected(m_clip);
        return shown.isEmpty() ? 0.0 : shown.width() * shown.height();
    }

    // A fill's pixel with brush, under the current raster operation unless a brush fill.
    double FillPixelWork(const CBrush& brush, bool underRop) const
    {
        if (brush.GetStyle() == CBrush::Style::hollow || (underRop && !m_draws))
            return 0.0;
        return brush.GetStyle() == CBrush::Style::pattern || (underRop && m_ropReads) ? kReadPixelWork : kPixelWork;
    }
    // What the costs of strokes depend on, once the pen, raster operation or mapping changed.
    void TakePen()
    {
        if (m_penKnown)
            return;
        m_penKnown = true;
        m_strokes = m_draws && m_dc.CurrentPen().Style() != PS_NULL;
        m_penPixels = std::max(1.0, m_dc.CurrentPen().Width() * std::fabs(m_fx));
        m_near = m_clip.adjusted(-m_penPixels, -m_penPixels, m_penPixels, m_penPixels);
        m_linePixelWork = StrokePixelWork(false, false);
    }
    // A stroke's pixel along its length with the current pen: of an outline, of a curve.
    double StrokePixelWork(bool outline, bool curve) const
    {
        const double pen = m_penPixels;
        if (pen > 1.0)
            return pen * (m_ropReads ? kReadPixelWork : kWidePixelWork);
        if (m_ropReads && outline)
            return kSortedPixelWork;
        return curve ? kCurvePixelWork : kLinePixelWork;
    }

    // The pixels along the current pen from a to b near what the DC shows:
    // at most the longer side of its box there.
    double StrokeLength(QPointF a, QPointF b) const
    {
        const double l = std::max(std::min(a.x(), b.x()), m_near.left());
        const double r = std::min(std::max(a.x(), b.x()), m_near.right());
        const double t = std::max(std::min(a.y(), b.y()), m_near.top());
        const double d = std::min(std::max(a.y(), b.y()), m_near.bottom());
        return l > r || t > d ? 0.0 : std::max(r - l, d - t) + 1.0;
    }

    // The same from logical point a to b; a short stroke is charged its
    // whole length without cutting it.
    double LineLength(const LPoint& a, const LPoint& b) const
    {
        const double whole = std::max(std::fabs(double(b.x - a.x) * m_fx), std::fabs(double(b.y - a.y) * m_fy));
        return whole <= kShortStroke ? whole + 1.0 : StrokeLength(Device(a), Device(b));
    }

    // Qt fills a path row by row, each row costing about the square of the
    // edges crossing it: the rows the DC shows, in bands, each edge counted in
    // every band it reaches, grown by pad. Each run of pts up to an end closes.
    double PathWork(const std::vector<QPointF>& pts, const std::vector<std::size_t>& ends, double pad)
    {
        const double top = m_clip.top(), rows = m_clip.height();
        if (rows <= 0 || pts.empty())
            return 0.0;
        const std::size_t bands = std::clamp<std::size_t>(pts.size(), 1, kMaxBands);
        const double bandRows = std::ceil(rows / double(bands));
        m_bands.assign(bands + 1, 0);
        for (std::size_t start = 0; const std::size_t end : ends) {
            for (std::size_t i = start; i < end; ++i) {
                const QPointF& p = pts[i];
                const QPointF& q = pts[i + 1 < end ? i + 1 : start];
                const double y0 = std::min(p.y(), q.y()) - pad - top, y1 = std::max(p.y(), q.y()) + pad - top;
                if (y1 < 0 || y0 >= rows)
                    continue;
                m_bands[std::size_t(std::max(y0, 0.0) / bandRows)] += 1;
                m_bands[std::min(std::size_t(std::min(y1, rows - 1) / bandRows), bands - 1) + 1] -= 1;
            }
            start = end;
        }
        double work = 0, edges = 0;
        for (std::size_t band = 0; band < bands; ++band) {
            edges += m_bands[band];
            work += edges * edges * bandRows * kPathRowWork;
        }
        return work;
    }

    static QRectF Bounds(const std::vector<QPointF>& pts)
    {
        double l = pts[0].x(), t = pts[0].y(), r = l, b = t;
        for (const QPointF& p : pts) {
            l = std::min(l, p.x());
            r = std::max(r, p.x());
            t = std::min(t, p.y());
            b = std::max(b, p.y());
        }
        return QRectF(QPointF(l, t), QPointF(r, b));
    }

    // A line through count points from pts; closed and filled as a polygon when polygon.
    double LineWork(const LPoint* pts, std::size_t count, bool polygon)
    {
        m_path.clear();
        for (std::size_t i = 0; i < count; ++i)
            m_path.push_back(Device(pts[i]));
        double work = 0;
        if (m_strokes) {
            double length = polygon ? StrokeLength(m_path.back(), m_path.front()) : 0.0;
            for (std::size_t i = 0; i + 1 < count; ++i)
                length += StrokeLength(m_path[i], m_path[i + 1]);
            work += length * StrokePixelWork(true, false);
            if (m_penPixels > 1.0) {
                m_ends.assign(1, count);
                work += PathWork(m_path, m_ends, m_penPixels / 2);
            }
        }
        const double fill = polygon ? FillPixelWork(m_dc.CurrentBrush(), true) : 0.0;
        if (fill > 0) {
            const QRectF box = Bounds(m_path);
            const double rows = std::max(0.0, std::min(box.bottom(), m_clip.bottom()) -
                                                  std::max(box.top(), m_clip.top()) + 1.0);
            work += rows * double(count) * kEdgeRowWork + ClippedArea(box.topLeft(), box.bottomRight()) * fill;
        }
        return work;
    }

    // A rectangle, ellipse or arc in the box of corners (a[0], a[1]) and (a[2], a[3]).
    double ShapeWork(const i64* a, bool curve, bool filled) const
    {
        const QPointF p = Device(a[0], a[1]), q = Device(a[2], a[3]);
        double work = 0;
        if (m_strokes) {
            const double pen = m_penPixels;
            const QRectF box = QRectF(p, q).normalized().intersected(m_clip.adjusted(-pen, -pen, pen, pen));
            if (!box.isEmpty())
                work += 2 * (box.width() + box.height() + 2) * StrokePixelWork(true, curve);
        }
        if (filled)
            work += ClippedArea(p, q) * FillPixelWork(m_dc.CurrentBrush(), true);
        return work;
    }

    double RegionWork(const i64* a)
    {
        const std::size_t n = std::size_t(a[2]);
        const LPoint* pts = &m_rec.points[std::size_t(a[3 + n])];
        m_path.clear();
        m_ends.clear();
        for (std::size_t i = 0; i < n; ++i) {
            for (i64 k = 0; k < a[3 + i]; ++k)
                m_path.push_back(Device(*pts++));
            m_ends.push_back(m_path.size());
        }
        const QRectF box = Bounds(m_path);
        return PathWork(m_path, m_ends, 0.0) +
               ClippedArea(box.topLeft(), box.bottomRight()) * FillPixelWork(m_rec.brushes[std::size_t(a[0])], false);
    }

    // A flood fill may paint every pixel the DC shows, when it paints any.
    double FloodWork() const
    {
        return m_shadow || m_pixels ? m_clip.width() * m_clip.height() * kFloodPixelWork : 0.0;
    }

    // Charges a drawing call's work before it is made; false, charging
    // nothing more, when it costs more than is left. A call through many
    // points pays for them before they are gone through; what it covers
    // comes after.
    bool Pay(int op, const i64* a)
    {
        const double draw = kCallWork + kDrawWork + (m_vector ? kVectorDrawWork : 0.0);
        TakePen();
        switch (op) {
        case OP_LINE_TO: {
            if (!m_strokes)
                return Spend(draw);
            return Spend(draw + LineLength(m_dc.GetCurrentPosition(), {a[0], a[1]}) * m_linePixelWork);
        }
        case OP_POLYLINE:
        case OP_POLYGON:
            return Spend(draw + kOutlineWork + double(a[0]) * kPointWork) &&
                   Spend(LineWork(&m_rec.points[std::size_t(a[1])], std::size_t(a[0]), op == OP_POLYGON));
        case OP_RECTANGLE: return Spend(draw + kOutlineWork + ShapeWork(a, false, true));
        case OP_ELLIPSE: return Spend(draw + kOutlineWork + kCurveWork + ShapeWork(a, true, true));
        case OP_ARC: return Spend(draw + kOutlineWork + kCurveWork + ShapeWork(a, true, false));
        case OP_TEXT_OUT: {
            // Each glyph within a box of the font's height and width.
            const double bytes = double(m_rec.texts[std::size_t(a[2])].size());
            const LOGFONT& lf = m_dc.CurrentFont().GetLogFont();
            const double height = lf.lfHeight ? std::fabs(double(lf.lfHeight) * m_fy) : kDefaultCellPixels;
            const double width = lf.lfWidth ? std::fabs(double(lf.lfWidth) * m_fx) : height;
            const double glyphs = std::min(bytes * height * width, m_clip.width() * m_clip.height());
            return Spend(draw + kTextWork + bytes * kByteWork + glyphs * kGlyphPixelWork);
        }
        case OP_FILL_RECT:
            return Spend(draw + ClippedArea(Device(a[0], a[1]), Device(a[2], a[3])) *
                                    FillPixelWork(m_rec.brushes[std::size_t(a[4])], false));
        case OP_FRAME_RECT: {
            const QRectF box = QRectF(Device(a[0], a[1]), Device(a[2], a[3])).normalized().intersected(m_clip);
            const double perPixel = std::max(kLinePixelWork, FillPixelWork(m_rec.brushes[std::size_t(a[4])], false));
            return Spend(draw + (box.isEmpty() ? 0.0 : 2 * (box.width() + box.height() + 2) * perPixel));
        }
        case OP_FILL_RGN: {
            double points = 0;
            for (i64 i = 0; i < a[2]; ++i)
                points += double(a[3 + i]);
            return Spend(draw + points * kPointWork) && Spend(RegionWork(a));
        }
        case OP_FLOOD_FILL:
        case OP_FLOOD_FILL_AT_SEED: return Spend(draw + FloodWork());
        case OP_STRETCH_IMAGE: {
            const QImage& image = m_rec.images[std::size_t(a[4])];
            const double source = double(image.width()) * double(image.height()) *
                                  (m_vector ? kVectorSourcePixelWork : kSourcePixelWork);
            return Spend(draw + kImageWork + source +
                         ClippedArea(Device(a[0], a[1]), Device(a[0] + a[2], a[1] + a[3])) * kImagePixelWork);
        }
        case OP_SET_PIXEL:
        default: return Spend(draw);
        }
    }

    // ---- playing

    // A flood fill: on the shadow, when there is one, and its pixels as a
    // region on the DC. It was charged every pixel the DC shows; what it did
    // not paint goes back.
    void Fill(i64 x, i64 y, COLORREF colour, int type)
    {
        CImageDC* pixels = m_shadow ? m_shadow : m_pixels;
        if (!pixels) {
            m_dc.ExtFloodFill(x, y, colour, type);  // a DC that paints no pixels fills nothing
            return;
        }
        m_runs.clear();
        pixels->CollectFloodRuns(&m_runs);
        pixels->ExtFloodFill(x, y, colour, type);
        pixels->CollectFloodRuns(nullptr);
        double painted = 0;
        for (const FloodRun& r : m_runs)
            painted += double(r.x1 - r.x0 + 1);
        m_spent -= FloodWork() - painted * kFloodPixelWork;
        if (!m_shadow || m_runs.empty())
            return;
        const std::vector<LRect> boxes = RunBoxes(m_runs, m_target.left, m_target.top);
        CRgn region;
        region.CreateBoxesRgn(boxes);
        m_dc.FillRgn(region, m_dc.CurrentBrush());
    }

    void Do(int op, const i64* a)
    {
        switch (op) {
        case OP_MAP_MODE:
            m_iso = a[0] == MM_ISOTROPIC;
            Remap();
            break;
        case OP_WINDOW_EXT:
            m_ext[0] = int(a[0]);
            m_ext[1] = int(a[1]);
            Remap();
            break;
        case OP_WINDOW_ORG:
            m_org[0] = int(a[0]);
            m_org[1] = int(a[1]);
            Remap();
            break;
        case OP_VIEWPORT_EXT:
            m_flip[0] = a[0] < 0;
            m_flip[1] = a[1] < 0;
            Remap();
            break;
        case OP_VIEWPORT_ORG: break;  // the target places the picture
        case OP_PEN:
            Each([&](CDC& d) { d.SelectObject(&m_rec.pens[std::size_t(a[0])]); });
            m_penKnown = false;
            break;
        case OP_BRUSH: Each([&](CDC& d) { d.SelectObject(&m_rec.brushes[std::size_t(a[0])]); }); break;
        case OP_FONT: Each([&](CDC& d) { d.SelectObject(&m_rec.fonts[std::size_t(a[0])]); }); break;
        case OP_STOCK:
            Each([&](CDC& d) { d.SelectStockObject(int(a[0])); });
            m_penKnown = false;
            break;
        case OP_ROP:
            Each([&](CDC& d) { d.SetROP2(int(a[0])); });
            m_draws = m_dc.GetROP2() != R2_NOP;
            m_ropReads = !RopIsIdempotent(m_dc.GetROP2());
            m_penKnown = false;
            break;
        case OP_TEXT_COLOUR: Each([&](CDC& d) { d.SetTextColor(COLORREF(a[0])); }); break;
        case OP_BK_COLOUR: Each([&](CDC& d) { d.SetBkColor(COLORREF(a[0])); }); break;
        case OP_BK_MODE: Each([&](CDC& d) { d.SetBkMode(int(a[0])); }); break;
        case OP_TEXT_ALIGN: Each([&](CDC& d) { d.SetTextAlign(unsigned(a[0])); }); break;
        case OP_MOVE_TO: Each([&](CDC& d) { d.MoveTo(a[0], a[1]); }); break;
        case OP_LINE_TO: Each([&](CDC& d) { d.LineTo(a[0], a[1]); }); break;
        case OP_POLYLINE: Each([&](CDC& d) { d.Polyline(&m_rec.points[std::size_t(a[1])], int(a[0])); }); break;
        case OP_POLYGON: Each([&](CDC& d) { d.Polygon(&m_rec.points[std::size_t(a[1])], int(a[0])); }); break;
        case OP_RECTANGLE: Each([&](CDC& d) { d.Rectangle(a[0], a[1], a[2], a[3]); }); break;
        case OP_ELLIPSE: Each([&](CDC& d) { d.Ellipse(a[0], a[1], a[2], a[3]); }); break;
        case OP_ARC: Each([&](CDC& d) { d.Arc(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); }); break;
        case OP_SET_PIXEL: Each([&](CDC& d) { d.SetPixel(a[0], a[1], COLORREF(a[2])); }); break;
        case OP_TEXT_OUT: Each([&](CDC& d) { d.TextOut(a[0], a[1], m_rec.texts[std::size_t(a[2])]); }); break;
        case OP_FILL_RECT:
            Each([&](CDC& d) { d.FillRect(a[0], a[1], a[2], a[3], m_rec.brushes[std::size_t(a[4])]); });
            break;
        case OP_FRAME_RECT:
            Each([&](CDC& d) { d.FrameRect(a[0], a[1], a[2], a[3], m_rec.brushes[std::size_t(a[4])]); });
            break;
        case OP_FILL_RGN: FillRegion(a); break;
        case OP_FLOOD_FILL: Fill(a[0], a[1], COLORREF(a[2]), int(a[3])); break;
        case OP_FLOOD_FILL_AT_SEED: {
            const COLORREF under = m_shadow ? m_shadow->GetPixel(a[0], a[1]) : m_dc.GetPixel(a[0], a[1]);
            if (under != CLR_INVALID)
                Fill(a[0], a[1], under, int(a[2]));
            else
                m_spent -= FloodWork();
            break;
        }
        case OP_STRETCH_IMAGE:
            Each([&](CDC& d) { d.StretchImage(a[0], a[1], a[2], a[3], m_rec.images[std::size_t(a[4])]); });
            break;
        default: break;
        }
    }

    // The polygons' logical points to each DC's device, as one region.
    void FillRegion(const i64* a)
    {
        const CBrush& brush = m_rec.brushes[std::size_t(a[0])];
        const bool winding = a[1] != 0;
        const std::size_t n = std::size_t(a[2]);
        std::vector<int> counts(n);
        std::size_t total = 0;
        for (std::size_t i = 0; i < n; ++i)
            total += std::size_t(counts[i] = int(a[3 + i]));
        const LPoint* pts = &m_rec.points[std::size_t(a[3 + n])];
        Each([&](CDC& d) {
            m_device.clear();
            for (std::size_t i = 0; i < total; ++i)
                m_device.push_back(d.LPtoDP(pts[i]));
            CRgn region;
            region.CreatePolyPolygonRgn(m_device, counts, winding);
            d.FillRgn(region, brush);
        });
    }

    CMetaRecording& m_rec;
    CDC& m_dc;
    LRect m_target;
    CImageDC* m_shadow;
    CImageDC* m_pixels;  // dc, when it is an image
    bool m_vector;       // dc writes its calls out
    CMetaPlayBudget& m_budget;
    double m_limit, m_spent = 0;  // the budget's work when the play began, and what the calls took
    QRectF m_clip;
    // Of the current pen and raster operation.
    bool m_draws = true, m_ropReads = false;  // as the default R2_COPYPEN
    bool m_penKnown = false, m_strokes = true;
    double m_penPixels = 1, m_linePixelWork = kLinePixelWork;
    QRectF m_near;  // the pixels the DC shows, grown by the pen's width
    bool m_iso = false;
    int m_org[2] = {0, 0};
    int m_ext[2] = {1, 1};
    bool m_flip[2] = {false, false};
    double m_fx = 1, m_fy = 1, m_ox = 0, m_oy = 0;  // device = o + logical * f
    std::vector<FloodRun> m_runs;
    std::vector<LPoint> m_device;
    std::vector<QPointF> m_path;
    std::vector<std::size_t> m_ends;
    std::vector<double> m_bands;
};

// The DC's objects, modes and mapping, put back when this ends; the DC starts
// from the defaults meanwhile.
class SavedState {
public:
    explicit SavedState(CDC& dc)
        : m_dc(dc), m_mapping(dc.GetMapping()), m_rop(dc.GetROP2()), m_text(dc.GetTextColor()),
          m_bk(dc.GetBkColor()), m_bkMode(dc.GetBkMode()), m_align(dc.GetTextAlign()),
          m_pos(dc.GetCurrentPosition())
    {
        m_pen = dc.SelectObject(StockPen(BLACK_PEN));
        m_brush = dc.SelectObject(StockBrush(WHITE_BRUSH));
        m_font = dc.SelectObject(StockFont(SYSTEM_FONT));
        dc.SetROP2(R2_COPYPEN);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(RGB(255, 255, 255));
        dc.SetBkMode(OPAQUE);
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.MoveTo(0, 0);
    }
    ~SavedState()
    {
        m_dc.SelectObject(m_pen);
        m_dc.SelectObject(m_brush);
        m_dc.SelectObject(m_font);
        m_dc.SetROP2(m_rop);
        m_dc.SetTextColor(m_text);
        m_dc.SetBkColor(m_bk);
        m_dc.SetBkMode(m_bkMode);
        m_dc.SetTextAlign(m_align);
        m_dc.MoveTo(m_pos.x, m_pos.y);
        m_dc.SetMapping(m_mapping);
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    CDC& m_dc;
    CDC::Mapping m_mapping;
    int m_rop;
    COLORREF m_text, m_bk;
    int m_bkMode;
    unsigned m_align;
    LPoint m_pos;
    CPen* m_pen;
    CBrush* m_brush;
    CFont* m_font;
};

}  // namespace

CMetaFile::CMetaFile() = default;
CMetaFile::~CMetaFile() = default;
CMetaFile::CMetaFile(const CMetaFile&) = default;
CMetaFile& CMetaFile::operator=(const CMetaFile&) = default;

bool CMetaFile::IsEmpty() const { return !m_rec || m_rec->calls.empty(); }

std::size_t CMetaFile::CallCount() const { return m_rec ? m_rec->calls.size() : 0; }

bool CMetaFile::IsCut() const { return m_rec && m_rec->cut; }

bool CMetaFile::Play(CDC& dc, const LRect& target) const
{
    CMetaPlayBudget budget;
    return Play(dc, target, budget);
}

bool CMetaFile::Play(CDC& dc, const LRect& target, CMetaPlayBudget& budget) const
{
    const auto inRange = [](i64 v) { return v >= -kMaxTargetCoord && v <= kMaxTargetCoord; };
    if (IsEmpty() || target.right <= target.left || target.bottom <= target.top || !inRange(target.left) ||
        !inRange(target.top) || !inRange(target.right) || !inRange(target.bottom))
        return false;

    if (auto* image = dynamic_cast<CImageDC*>(&dc)) {
        // A DC over the target's visible part of the same pixels clips everything, flood fills included.
        QImage& whole = image->Image();
        const i64 l = std::max<i64>(target.left, 0), t = std::max<i64>(target.top, 0);
        const i64 r = std::min<i64>(target.right, whole.width()), b = std::min<i64>(target.bottom, whole.height());
        if (l >= r || t >= b)
            return true;
        const qsizetype stride = whole.bytesPerLine();
        QImage part(whole.bits() + t * stride + l * 4, int(r - l), int(b - t), stride, QImage::Format_RGB32);
        part.setDotsPerMeterX(whole.dotsPerMeterX());
        part.setDotsPerMeterY(whole.dotsPerMeterY());
        CImageDC partDC(&part);
        MetaPlayer(*m_rec, partDC, {target.left - l, target.top - t, target.right - l, target.bottom - t},
                   {0, 0, r - l, b - t}, nullptr, budget)
            .Run();
        return true;
    }

    std::unique_ptr<CImageDC> shadow;
    if (m_rec->fills && target.Width() * target.Height() <= kMaxShadowPixels)
        shadow = std::make_unique<CImageDC>(int(target.Width()), int(target.Height()));
    auto* painter = dynamic_cast<CPainterDC*>(&dc);
    if (painter) {
        painter->Painter().save();
        painter->Painter().setClipRect(QRectF(double(target.left), double(target.top), double(target.Width()),
                                              double(target.Height())),
                                       Qt::IntersectClip);
    }
    {
        SavedState saved(dc);
        MetaPlayer(*m_rec, dc, target, target, shadow.get(), budget).Run();
    }
    if (painter)
        painter->Painter().restore();
    return true;
}

// ------------------------------------------------------------------- storing

namespace {

class Writer {
public:
    void Byte(int b) { m_out.push_back(BYTE(b)); }
    void Bytes(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const BYTE*>(p);
        m_out.insert(m_out.end(), b, b + n);
    }
    void U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            Byte(int((v >> (8 * i)) & 0xFF));
    }
    void Unsigned(u64 v)
    {
        while (v >= 0x80) {
            Byte(int((v & 0x7F) | 0x80));
            v >>= 7;
        }
        Byte(int(v));
    }
    void Signed(i64 v) { Unsigned((u64(v) << 1) ^ u64(v >> 63)); }
    std::vector<BYTE> Take() { return std::move(m_out); }

private:
    std::vector<BYTE> m_out;
};

void WriteLogFont(Writer& w, const LOGFONT& lf)
{
    for (LONG v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight})
        w.U32(std::uint32_t(v));
    for (BYTE v : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                   lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
        w.Byte(v);
    w.Bytes(lf.lfFaceName, LF_FACESIZE);
}

}  // namespace

std::vector<BYTE> CMetaFile::ToBytes() const
{
    static const CMetaRecording none;
    const CMetaRecording& rec = m_rec ? *m_rec : none;
    Writer w;
    w.Bytes(kMagic, sizeof kMagic);
    w.Byte(kVersion & 0xFF);
    w.Byte(kVersion >> 8);

    w.Unsigned(rec.pens.size());
    for (const CPen& pen : rec.pens) {
        w.Unsigned(u64(pen.Style()));
        w.Unsigned(u64(pen.Width()));
        w.Unsigned(pen.Colour());
    }
    w.Unsigned(rec.images.size());
    for (const QImage& image : rec.images) {
        w.Unsigned(u64(image.width()));
        w.Unsigned(u64(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                w.U32(row[x]);
        }
    }
    w.Unsigned(rec.brushes.size());
    for (std::size_t i = 0; i < rec.brushes.size(); ++i) {
        const CBrush& brush = rec.brushes[i];
        w.Unsigned(u64(brush.GetStyle()));
        if (brush.GetStyle() == CBrush::Style::solid)
            w.Unsigned(brush.Colour());
        else if (brush.GetStyle() == CBrush::Style::pattern)
            w.Unsigned(rec.brushImages[i]);
    }
    w.Unsigned(rec.fonts.size());
    for (const CFont& font : rec.fonts)
        WriteLogFont(w, font.GetLogFont());
    w.Unsigned(rec.texts.size());
    for (const std::string& text : rec.texts) {
        w.Unsigned(text.size());
        w.Bytes(text.data(), text.size());
    }

    w.Unsigned(rec.calls.size());
    for (const CMetaCall& call : rec.calls) {
        w.Byte(call.op);
        const i64* a = rec.args.data() + call.at;
        for (const char kind : kArgs[call.op]) {
            if (kind == 'L') {
                const i64 count = *a++;
                const LPoint* p = &rec.points[std::size_t(*a++)];
                w.Unsigned(u64(count));
                for (i64 i = 0; i < count; ++i) {
                    w.Signed(p[i].x);
                    w.Signed(p[i].y);
                }
            } else if (kind == 'R') {
                const i64 n = *a++;
                w.Unsigned(u64(n));
                i64 total = 0;
                for (i64 i = 0; i < n; ++i) {
                    w.Unsigned(u64(a[i]));
                    total += a[i];
                }
                const LPoint* p = &rec.points[std::size_t(a[n])];
                a += n + 1;
                for (i64 i = 0; i < total; ++i) {
                    w.Signed(p[i].x);
                    w.Signed(p[i].y);
                }
            } else if (IsSigned(kind)) {
                w.Signed(*a++);
            } else {
                w.Unsigned(u64(*a++));
            }
        }
    }
    return w.Take();
}

// ------------------------------------------------------------------- reading

namespace {

struct BadBytes {
    std::size_t at;
    std::string what;
};

class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : m_bytes(bytes) {}

    std::size_t Pos() const { return m_pos; }
    std::size_t Left() const { return m_bytes.size() - m_pos; }
    [[noreturn]] void Fail(std::string what, std::size_t at) const { throw BadBytes{at, std::move(what)}; }
    [[noreturn]] void Fail(std::string what) const { Fail(std::move(what), m_pos); }

    void Need(std::size_t n, const char* what) const
    {
        if (Left() < n)
            Fail(std::string("the bytes end inside ") + what);
    }
    BYTE Byte(const char* what)
    {
        Need(1, what);
        return m_bytes[m_pos++];
    }
    std::uint32_t U32(const char* what)
    {
        Need(4, what);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(m_bytes[m_pos++]) << (8 * i);
        return v;
    }
    const BYTE* Bytes(std::size_t n, const char* what)
    {
        Need(n, what);
        const BYTE* p = m_bytes.data() + m_pos;
        m_pos += n;
        return p;
    }
    // Base-128, least significant group first, in the fewest bytes.
    u64 Unsigned(const char* what)
    {
        const std::size_t start = m_pos;
        u64 v = 0;
        for (int shift = 0;; shift += 7) {
            const BYTE b = Byte(what);
            if (shift == 63 && b > 1)
                Fail(std::string(what) + " is too large for 64 bits", start);
            v |= u64(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                if (b == 0 && shift > 0)
                    Fail(std::string(what) + " is written in more bytes than it needs", start);
                return v;
            }
        }
    }
    i64 Signed(const char* what)
    {
        const u64 z = Unsigned(what);
        return i64(z >> 1) ^ -i64(z & 1);
    }
    // An unsigned value up to max.
    u64 Upto(u64 max, const char* what)
    {
        const std::size_t start = m_pos;
        const u64 v = Unsigned(what);
        if (v > max)
            Fail(std::string(what) + " " + std::to_string(v) + " is more than " + std::to_string(max), start);
        return v;
    }
    // A count of items of at least perItem bytes each that must fit what is left.
    u64 Count(u64 max, std::size_t perItem, const char* what)
    {
        const std::size_t start = m_pos;
        const u64 n = Upto(max, what);
        if (n > Left() / perItem)
            Fail(std::string(what) + " " + std::to_string(n) + " asks for more than the " +
                     std::to_string(Left()) + " bytes left",
                 start);
        return n;
    }

private:
    std::span<const BYTE> m_bytes;
    std::size_t m_pos = 0;
};

LOGFONT ReadLogFont(Reader& in)
{
    LOGFONT lf;
    LONG* sizes[] = {&lf.lfHeight, &lf.lfWidth, &lf.lfEscapement, &lf.lfOrientation, &lf.lfWeight};
    for (LONG* v : sizes)
        *v = LONG(in.U32("a font"));
    BYTE* flags[] = {&lf.lfItalic,       &lf.lfUnderline,     &lf.lfStrikeOut, &lf.lfCharSet,
                     &lf.lfOutPrecision, &lf.lfClipPrecision, &lf.lfQuality,   &lf.lfPitchAndFamily};
    for (BYTE* v : flags)
        *v = in.Byte("a font");
    std::memcpy(lf.lfFaceName, in.Bytes(LF_FACESIZE, "a font"), LF_FACESIZE);
    return lf;
}

// One argument of kind, checked, into args.
void ReadArg(Reader& in, char kind, const CMetaRecording& rec, std::vector<i64>& args)
{
    const std::size_t at = in.Pos();
    auto index = [&](std::size_t size, const char* table) {
        const u64 i = in.Unsigned(table);
        if (i >= size)
            in.Fail(std::string(table) + " " + std::to_string(i) + " is not among the " + std::to_string(size) +
                        " stored",
                    at);
        args.push_back(i64(i));
    };
    switch (kind) {
    case 'c': {
        const i64 v = in.Signed("a coordinate");
        if (v < -kLogicalLimit || v > kLogicalLimit)
            in.Fail("coordinate " + std::to_string(v) + " is beyond 10^15", at);
        args.push_back(v);
        return;
    }
    case 'o':
    case 'e': {
        const i64 v = in.Signed("an origin or extent");
        if (v < INT_MIN || v > INT_MAX || (kind == 'e' && v == 0))
            in.Fail(kind == 'e' ? "extent " + std::to_string(v) + " is 0 or beyond 32 bits"
                                : "origin " + std::to_string(v) + " is beyond 32 bits",
                    at);
        args.push_back(v);
        return;
    }
    case 'k': args.push_back(i64(in.Upto(0xFFFFFF, "a colour"))); return;
    case 'm': {
        const u64 v = in.Unsigned("a mapping mode");
        if (v != MM_TEXT && v != MM_LOMETRIC && v != MM_ISOTROPIC && v != MM_ANISOTROPIC)
            in.Fail("mapping mode " + std::to_string(v) + " is unknown", at);
        args.push_back(i64(v));
        return;
    }
    case 'r': {
        const u64 v = in.Upto(R2_WHITE, "a raster operation");
        if (v < R2_BLACK)
            in.Fail("raster operation 0 is unknown", at);
        args.push_back(i64(v));
        return;
    }
    case 'b': {
        const u64 v = in.Upto(OPAQUE, "a background mode");
        if (v < TRANSPARENT)
            in.Fail("background mode 0 is unknown", at);
        args.push_back(i64(v));
        return;
    }
    case 'a': args.push_back(i64(in.Upto(0xFFFFFFFFu, "a text alignment"))); return;
    case 'f': args.push_back(i64(in.Upto(FLOODFILLSURFACE, "a flood fill kind"))); return;
    case 'w': args.push_back(i64(in.Upto(1, "a fill rule"))); return;
    case 'S': {
        const u64 v = in.Upto(SYSTEM_FONT, "a stock object");
        if (!StockPen(int(v)) && !StockBrush(int(v)) && !StockFont(int(v)))
            in.Fail("stock object " + std::to_string(v) + " is unknown", at);
        args.push_back(i64(v));
        return;
    }
    case 'P': index(rec.pens.size(), "pen"); return;
    case 'B': index(rec.brushes.size(), "brush"); return;
    case 'F': index(rec.fonts.size(), "font"); return;
    case 'T': index(rec.texts.size(), "text"); return;
    case 'I': index(rec.images.size(), "image"); return;
    default: in.Fail(std::string("argument kind ") + kind + " is unknown", at);
    }
}

// count points into rec.points, each at least two bytes.
void ReadPoints(Reader& in, u64 count, CMetaRecording& rec)
{
    for (u64 i = 0; i < count; ++i) {
        const std::size_t at = in.Pos();
        const i64 x = in.Signed("a point"), y = in.Signed("a point");
        if (x < -kLogicalLimit || x > kLogicalLimit || y < -kLogicalLimit || y > kLogicalLimit)
            in.Fail("a point beyond 10^15", at);
        rec.points.push_back({x, y});
    }
}

void ReadCalls(Reader& in, CMetaRecording& rec, const CMetaLimits& limits)
{
    // A recording the limit cut holds the mark of the cut past it.
    const u64 calls = in.Count(limits.calls + 1, 1, "the call count");
    rec.calls.reserve(calls);
    for (u64 c = 0; c < calls; ++c) {
        const std::size_t at = in.Pos();
        const int op = in.Byte("a call");
        if (op < OP_MAP_MODE || op >= OP_COUNT)
            in.Fail("call code " + std::to_string(op) + " is unknown", at);
        if (c == limits.calls && op != OP_CUT)
            in.Fail("more than " + std::to_string(limits.calls) + " calls", at);
        rec.calls.push_back({op, std::uint32_t(rec.args.size())});
        rec.cut |= op == OP_CUT;
        for (const char kind : kArgs[op]) {
            const std::size_t here = in.Pos();
            if (kind == 'L') {
                const u64 n = in.Count(limits.points - rec.points.size(), 2, "a point count");
                if (n < 2)
                    in.Fail("a line of " + std::to_string(n) + " points", here);
                rec.args.push_back(i64(n));
                rec.args.push_back(i64(rec.points.size()));
                ReadPoints(in, n, rec);
            } else if (kind == 'R') {
                const u64 n = in.Count(limits.tableEntries, 1, "a polygon count");
                if (n < 1)
                    in.Fail("a region of no polygons", here);
                rec.args.push_back(i64(n));
                u64 total = 0;
                for (u64 i = 0; i < n; ++i) {
                    const std::size_t pat = in.Pos();
                    const u64 k = in.Count(limits.points, 2, "a polygon's point count");
                    if (k < 3)
                        in.Fail("a polygon of " + std::to_string(k) + " points", pat);
                    total += k;
                    if (total > limits.points - rec.points.size() || total > in.Left() / 2)
                        in.Fail("the region's polygons ask for more points than there are", pat);
                    rec.args.push_back(i64(k));
                }
                rec.args.push_back(i64(rec.points.size()));
                ReadPoints(in, total, rec);
            } else {
                ReadArg(in, kind, rec, rec.args);
            }
        }
        if (op == OP_FLOOD_FILL || op == OP_FLOOD_FILL_AT_SEED)
            rec.fills = true;
    }
}

void ReadRecording(Reader& in, CMetaRecording& rec, const CMetaLimits& limits)
{
    if (in.Left() < 6 || std::memcmp(in.Bytes(4, "the header"), kMagic, 4) != 0)
        in.Fail("not a picture of this program", 0);
    const int version = in.Byte("the header") | (in.Byte("the header") << 8);
    if (version != kVersion)
        in.Fail("picture version " + std::to_string(version) + " is not known", 4);

    const u64 pens = in.Count(limits.tableEntries, 3, "the pen count");
    for (u64 i = 0; i < pens; ++i) {
        const std::size_t at = in.Pos();
        const int style = int(in.Upto(PS_NULL, "a pen style"));
        const int width = int(in.Upto(CPen::kMaxWidth, "a pen width"));
        const COLORREF colour = COLORREF(in.Upto(0xFFFFFF, "a pen colour"));
        CPen pen;
        if (!pen.CreatePen(style, width, colour))
            in.Fail("a pen that cannot be made", at);
        rec.pens.push_back(pen);
    }

    const u64 images = in.Count(limits.tableEntries, 6, "the image count");
    u64 pixels = 0;
    for (u64 i = 0; i < images; ++i) {
        const std::size_t at = in.Pos();
        const u64 side = std::min<u64>(limits.imageSide, INT_MAX);
        const u64 w = in.Upto(side, "an image width"), h = in.Upto(side, "an image height");
        if (w == 0 || h == 0)
            in.Fail("an image without pixels", at);
        if (w * h > limits.imagePixels - pixels || w * h > in.Left() / 4)
            in.Fail("an image of " + std::to_string(w) + " x " + std::to_string(h) +
                        " pixels asks for more than the bytes or the limit allow",
                    at);
        pixels += w * h;
        QImage image(int(w), int(h), QImage::Format_ARGB32);
        if (image.isNull())
            in.Fail("an image that cannot be made", at);
        for (int y = 0; y < int(h); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < int(w); ++x)
                row[x] = in.U32("an image");
        }
        rec.images.push_back(image);
    }

    const u64 brushes = in.Count(limits.tableEntries, 1, "the brush count");
    for (u64 i = 0; i < brushes; ++i) {
        const std::size_t at = in.Pos();
        const u64 style = in.Upto(2, "a brush style");
        CBrush brush;
        std::uint32_t image = kNoImage;
        if (style == u64(CBrush::Style::solid)) {
            brush.CreateSolidBrush(COLORREF(in.Upto(0xFFFFFF, "a brush colour")));
        } else if (style == u64(CBrush::Style::hollow)) {
            brush.CreateHollowBrush();
        } else {
            const u64 index = in.Unsigned("a brush image");
            if (index >= rec.images.size())
                in.Fail("brush image " + std::to_string(index) + " is not among the images", at);
            image = std::uint32_t(index);
            brush.CreatePatternBrush(rec.images[image]);
        }
        rec.brushes.push_back(brush);
        rec.brushImages.push_back(image);
    }

    const u64 fonts = in.Count(limits.tableEntries, 60, "the font count");
    for (u64 i = 0; i < fonts; ++i) {
        const std::size_t at = in.Pos();
        CFont font;
        if (!font.CreateFontIndirect(ReadLogFont(in)))
            in.Fail("a font whose size is beyond 10^6", at);
        rec.fonts.push_back(font);
    }

    const u64 texts = in.Count(limits.tableEntries, 1, "the text count");
    for (u64 i = 0; i < texts; ++i) {
        const u64 n = in.Count(limits.textBytes, 1, "a text length");
        const BYTE* p = in.Bytes(std::size_t(n), "a text");
        rec.texts.emplace_back(reinterpret_cast<const char*>(p), std::size_t(n));
    }

    ReadCalls(in, rec, limits);
    if (in.Left() != 0)
        in.Fail(std::to_string(in.Left()) + " bytes after the last call");
}

}  // namespace

std::optional<std::string> CMetaFile::FromBytes(std::span<const BYTE> bytes, CMetaFile& out,
                                                const CMetaLimits& limits)
{
    auto rec = std::make_shared<CMetaRecording>();
    try {
        Reader in(bytes);
        ReadRecording(in, *rec, limits);
    } catch (const BadBytes& bad) {
        return "picture, byte " + std::to_string(bad.at) + ": " + bad.what;
    }
    out.m_rec = std::move(rec);
    return std::nullopt;
}

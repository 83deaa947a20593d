#include "platform/dc.h"

#include "platform/utf8.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_map>

std::int64_t SaturateToLogical(double v)
{
    constexpr double lim = double(kLogicalLimit);
    if (std::isnan(v))
        return 0;
    if (v >= lim)
        return kLogicalLimit;
    if (v <= -lim)
        return -kLogicalLimit;
    return std::int64_t(std::trunc(v));
}

LPoint WorldToLogical(double x, double y, double scale, double ox, double oy)
{
    return {SaturateToLogical((x - ox) * scale), SaturateToLogical((y - oy) * scale)};
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                 double bottom)
{
    const double dx = x1 - x0, dy = y1 - y0;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(x0) || !std::isfinite(y0))
        return false;
    double u0 = 0.0, u1 = 1.0;
    // Keeps the part where p * u <= q.
    auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double u = q / p;
        if (p < 0.0) {
            if (u > u1)
                return false;
            u0 = std::max(u0, u);
        } else {
            if (u < u0)
                return false;
            u1 = std::min(u1, u);
        }
        return true;
    };
    if (!edge(-dx, x0 - left) || !edge(dx, right - x0) || !edge(-dy, y0 - top) || !edge(dy, bottom - y0))
        return false;
    const double sx = x0, sy = y0;
    if (u1 < 1.0) {
        x1 = std::clamp(sx + u1 * dx, left, right);
        y1 = std::clamp(sy + u1 * dy, top, bottom);
    }
    if (u0 > 0.0) {
        x0 = std::clamp(sx + u0 * dx, left, right);
        y0 = std::clamp(sy + u0 * dy, top, bottom);
    }
    return true;
}

bool CGdiObject::DeleteObject()
{
    const bool was = m_created;
    m_created = false;
    return was;
}

bool CPen::CreatePen(int style, int width, COLORREF colour)
{
    if (style < PS_SOLID || style > PS_NULL || width < 0 || width > kMaxWidth)
        return false;
    m_style = style;
    m_width = width;
    m_colour = colour & 0xFFFFFF;
    m_created = true;
    return true;
}

bool CBrush::CreateSolidBrush(COLORREF colour)
{
    m_style = Style::solid;
    m_colour = colour & 0xFFFFFF;
    m_pattern = QImage();
    m_created = true;
    return true;
}

bool CBrush::CreateHollowBrush()
{
    m_style = Style::hollow;
    m_pattern = QImage();
    m_created = true;
    return true;
}

bool CBrush::CreatePatternBrush(const QImage& pattern)
{
    if (pattern.isNull() || pattern.width() <= 0 || pattern.height() <= 0)
        return false;
    m_style = Style::pattern;
    m_pattern = pattern.convertToFormat(QImage::Format_RGB32);
    m_created = true;
    return true;
}

namespace {

QString ResolveFontFamilyNow(std::string_view face, BYTE pitchAndFamily, bool haveDb)
{
    static const struct {
        const char* face;
        const char* family;
    } known[] = {
        {"courier new", "Liberation Mono"}, {"courier", "Liberation Mono"},
        {"arial", "Liberation Sans"},       {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"}, {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},      {"ms serif", "Liberation Serif"},
    };
    const QString name = QString::fromLatin1(face.data(), qsizetype(face.size())).trimmed();
    for (const auto& k : known) {
        if (name.compare(QLatin1String(k.face), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(k.family);
    }
    if (haveDb && !name.isEmpty() && QFontDatabase::hasFamily(name))
        return name;
    QString fallback = QStringLiteral("Liberation Sans");
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        fallback = QStringLiteral("Liberation Mono");
    else if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        fallback = QStringLiteral("Liberation Serif");
    if (haveDb && !QFontDatabase::hasFamily(fallback))
        return QFont().defaultFamily();
    return fallback;
}

}  // namespace

QString ResolveFontFamily(std::string_view face, BYTE pitchAndFamily)
{
    if (!qGuiApp)
        return ResolveFontFamilyNow(face, pitchAndFamily, false);
    // The font database is asked once a face name and pitch-and-family byte.
    static std::unordered_map<std::string, QString> resolved;
    std::string key(face);
    key += char(pitchAndFamily);
    if (const auto cached = resolved.find(key); cached != resolved.end())
        return cached->second;
    if (resolved.size() >= 4096)  // a drawing of endless face names
        resolved.clear();
    return resolved.emplace(std::move(key), ResolveFontFamilyNow(face, pitchAndFamily, true)).first->second;
}

bool CFont::CreateFontIndirect(const LOGFONT& lf)
{
    constexpr LONG limit = 1'000'000;
    if (lf.lfHeight < -limit || lf.lfHeight > limit || lf.lfWidth < -limit || lf.lfWidth > limit)
        return false;
    m_lf = lf;
    m_family = ResolveFontFamily(FaceNameOf(lf), lf.lfPitchAndFamily);
    m_created = true;
    return true;
}

CPen* StockPen(int index)
{
    static CPen pens[3] = {CPen(PS_SOLID, 0, RGB(255, 255, 255)), CPen(PS_SOLID, 0, RGB(0, 0, 0)),
                           CPen(PS_NULL, 0, 0)};
    if (index < WHITE_PEN || index > NULL_PEN)
        return nullptr;
    return &pens[index - WHITE_PEN];
}

namespace {

struct StockBrushes {
    CBrush b[6];
    StockBrushes()
    {
        const int grey[5] = {255, 192, 128, 64, 0};
        for (int i = 0; i < 5; ++i)
            b[i].CreateSolidBrush(RGB(grey[i], grey[i], grey[i]));
        b[NULL_BRUSH].CreateHollowBrush();
    }
};

}  // namespace

CBrush* StockBrush(int index)
{
    static StockBrushes brushes;
    if (index < WHITE_BRUSH || index > NULL_BRUSH)
        return nullptr;
    return &brushes.b[index];
}

CFont* StockFont(int index)
{
    static CFont system = [] {
        LOGFONT lf;
        lf.lfHeight = 16;
        lf.lfWeight = FW_BOLD;
        CFont f;
        f.CreateFontIndirect(lf);
        return f;
    }();
    return index == SYSTEM_FONT ? &system : nullptr;
}

struct CDC::DeviceFontMemo {
    LOGFONT lf;
    QString family;
    double fx = 0, fy = 0;
    QFont font;
    double ascent = 0, descent = 0;

    bool Fits(const LOGFONT& l, const QString& fam, double x, double y) const
    {
        return l.lfHeight == lf.lfHeight && l.lfWidth == lf.lfWidth && l.lfWeight == lf.lfWeight &&
               l.lfItalic == lf.lfItalic && l.lfUnderline == lf.lfUnderline && l.lfStrikeOut == lf.lfStrikeOut &&
               x == fx && y == fy && fam == family;
    }
};

CDC::CDC()
    : m_pen(*StockPen(BLACK_PEN)), m_penPtr(StockPen(BLACK_PEN)), m_brush(*StockBrush(WHITE_BRUSH)),
      m_brushPtr(StockBrush(WHITE_BRUSH)), m_font(*StockFont(SYSTEM_FONT)), m_fontPtr(StockFont(SYSTEM_FONT))
{
}

CDC::~CDC() = default;

void CDC::UpdateFactors()
{
    switch (m_mapMode) {
    case MM_LOMETRIC:
        m_fx = DevicePixelsPerMm() / 10.0;
        m_fy = -m_fx;
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        m_fx = double(m_vpExtX) / m_winExtX;
        m_fy = double(m_vpExtY) / m_winExtY;
        if (m_mapMode == MM_ISOTROPIC) {
            const double s = std::min(std::fabs(m_fx), std::fabs(m_fy));
            m_fx = std::copysign(s, m_fx);
            m_fy = std::copysign(s, m_fy);
        }
        break;
    default:
        m_fx = m_fy = 1.0;
        break;
    }
}

int CDC::SetMapMode(int mode)
{
    if (mode != MM_TEXT && mode != MM_LOMETRIC && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC)
        return 0;
    const int prev = m_mapMode;
    m_mapMode = mode;
    UpdateFactors();
    return prev;
}

bool CDC::SetWindowExt(int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return false;
    m_winExtX = cx;
    m_winExtY = cy;
    UpdateFactors();
    return true;
}

bool CDC::SetWindowOrg(int x, int y)
{
    m_winOrgX = x;
    m_winOrgY = y;
    return true;
}

bool CDC::SetViewportExt(int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return false;
    m_vpExtX = cx;
    m_vpExtY = cy;
    UpdateFactors();
    return true;
}

bool CDC::SetViewportOrg(int x, int y)
{
    m_vpOrgX = x;
    m_vpOrgY = y;
    return true;
}

void CDC::SetYUpMapping(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    SetMapMode(MM_ISOTROPIC);
    SetWindowExt(width, height);
    SetWindowOrg(0, 0);
    SetViewportExt(width, -height);
    SetViewportOrg(0, height);
}

void CDC::ToDevice(std::int64_t x, std::int64_t y, double& dx, double& dy) const
{
    x = std::clamp(x, -kLogicalLimit, kLogicalLimit);
    y = std::clamp(y, -kLogicalLimit, kLogicalLimit);
    dx = m_vpOrgX + (double(x) - m_winOrgX) * m_fx;
    dy = m_vpOrgY + (double(y) - m_winOrgY) * m_fy;
}

void CDC::ToDeviceBox(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, double& x0, double& y0,
                      double& x1, double& y1) const
{
    x = std::clamp(x, -kLogicalLimit, kLogicalLimit);
    y = std::clamp(y, -kLogicalLimit, kLogicalLimit);
    w = std::clamp(w, -kLogicalLimit, kLogicalLimit);
    h = std::clamp(h, -kLogicalLimit, kLogicalLimit);
    ToDevice(x, y, x0, y0);
    ToDevice(x + w, y + h, x1, y1);
}

LPoint CDC::LPtoDP(LPoint p) const
{
    double dx, dy;
    ToDevice(p.x, p.y, dx, dy);
    return {SaturateToLogical(std::floor(dx + 0.5)), SaturateToLogical(std::floor(dy + 0.5))};
}

CDC::Mapping CDC::GetMapping() const
{
    return {m_mapMode, m_winOrgX, m_winOrgY, m_winExtX, m_winExtY, m_vpOrgX, m_vpOrgY, m_vpExtX, m_vpExtY};
}

void CDC::SetMapping(const Mapping& m)
{
    SetMapMode(m.mode);
    SetWindowExt(m.winExtX, m.winExtY);
    SetWindowOrg(m.winOrgX, m.winOrgY);
    SetViewportExt(m.vpExtX, m.vpExtY);
    SetViewportOrg(m.vpOrgX, m.vpOrgY);
}

LPoint CDC::DPtoLP(LPoint p) const
{
    const double x = std::clamp(p.x, -kLogicalLimit, kLogicalLimit);
    const double y = std::clamp(p.y, -kLogicalLimit, kLogicalLimit);
    const double lx = m_winOrgX + (x - m_vpOrgX) / m_fx;
    const double ly = m_winOrgY + (y - m_vpOrgY) / m_fy;
    return {SaturateToLogical(std::floor(lx + 0.5)), SaturateToLogical(std::floor(ly + 0.5))};
}

CPen* CDC::SelectObject(CPen* pen)
{
    if (!pen || !pen->IsCreated())
        return nullptr;
    CPen* prev = m_penPtr;
    m_pen = *pen;
    m_penPtr = pen;
    m_penPhase = 0;
    return prev;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    if (!brush || !brush->IsCreated())
        return nullptr;
    CBrush* prev = m_brushPtr;
    m_brush = *brush;
    m_brushPtr = brush;
    return prev;
}

CFont* CDC::SelectObject(CFont* font)
{
    if (!font || !font->IsCreated())
        return nullptr;
    CFont* prev = m_fontPtr;
    m_font = *font;
    m_fontPtr = font;
    return prev;
}

CGdiObject* CDC::SelectObject(CGdiObject* obj)
{
    if (!obj)
        return nullptr;
    switch (obj->GetKind()) {
    case CGdiObject::Kind::pen:
        return SelectObject(static_cast<CPen*>(obj));
    case CGdiObject::Kind::brush:
        return SelectObject(static_cast<CBrush*>(obj));
    case CGdiObject::Kind::font:
        return SelectObject(static_cast<CFont*>(obj));
    }
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    if (CPen* pen = StockPen(index))
        return SelectObject(pen);
    if (CBrush* brush = StockBrush(index))
        return SelectObject(brush);
    if (CFont* font = StockFont(index))
        return SelectObject(font);
    return nullptr;
}

int CDC::SetROP2(int rop)
{
    if (rop < R2_BLACK || rop > R2_WHITE)
        return 0;
    const int prev = m_rop;
    m_rop = rop;
    return prev;
}

COLORREF CDC::SetTextColor(COLORREF c)
{
    const COLORREF prev = m_textColour;
    m_textColour = c & 0xFFFFFF;
    return prev;
}

COLORREF CDC::SetBkColor(COLORREF c)
{
    const COLORREF prev = m_bkColour;
    m_bkColour = c & 0xFFFFFF;
    return prev;
}

int CDC::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    const int prev = m_bkMode;
    m_bkMode = mode;
    return prev;
}

unsigned CDC::SetTextAlign(unsigned align)
{
    const unsigned prev = m_textAlign;
    m_textAlign = align;
    return prev;
}

LPoint CDC::MoveTo(std::int64_t x, std::int64_t y)
{
    const LPoint prev = m_pos;
    m_pos = {std::clamp(x, -kLogicalLimit, kLogicalLimit), std::clamp(y, -kLogicalLimit, kLogicalLimit)};
    m_penPhase = 0;
    return prev;
}

namespace {

constexpr double kDefaultCellPixels = 16.0;
constexpr double kMaxTextPixels = 20000.0;

// Character (em) height in device pixels for a font record, before the cap.
double EmPixels(const LOGFONT& lf, const QString& family, double factor)
{
    if (lf.lfHeight < 0)
        return -double(lf.lfHeight) * factor;
    const double cell = lf.lfHeight > 0 ? lf.lfHeight * factor : kDefaultCellPixels;
    QFont probe(family);
    probe.setPixelSize(1000);
    QFontMetricsF fm(probe);
    const double h = fm.ascent() + fm.descent();
    return h > 0 ? cell * 1000.0 / h : cell;
}

}  // namespace

double CDC::DeviceFontPixels() const
{
    const double px = EmPixels(m_font.GetLogFont(), m_font.Family(), std::fabs(m_fy));
    return px > kMaxTextPixels ? 0.0 : px;
}

QFont CDC::DeviceFont(double* ascent, double* descent, double* angleDeg) const
{
    const LOGFONT& lf = m_font.GetLogFont();
    if (angleDeg) {
        const double a = lf.lfEscapement / 10.0 * std::numbers::pi / 180.0;
        const double dx = std::cos(a) * m_fx;
        const double dy = -std::sin(a) * m_fy;
        *angleDeg = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    }
    // Texts in a row mostly share one font.
    if (!m_deviceFont || !m_deviceFont->Fits(lf, m_font.Family(), m_fx, m_fy)) {
        auto memo = std::make_unique<DeviceFontMemo>();
        memo->lf = lf;
        memo->family = m_font.Family();
        memo->fx = m_fx;
        memo->fy = m_fy;
        memo->font = MakeDeviceFont(memo->ascent, memo->descent);
        m_deviceFont = std::move(memo);
    }
    if (ascent)
        *ascent = m_deviceFont->ascent;
    if (descent)
        *descent = m_deviceFont->descent;
    return m_deviceFont->font;
}

QFont CDC::MakeDeviceFont(double& ascent, double& descent) const
{
    const LOGFONT& lf = m_font.GetLogFont();
    QFont f(m_font.Family());
    const double em = std::min(EmPixels(lf, m_font.Family(), std::fabs(m_fy)), kMaxTextPixels);
    f.setPixelSize(std::max(1, int(std::lround(em))));
    const int weight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp(int(lf.lfWeight), 1, 1000);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    f.setKerning(false);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    if (lf.lfWidth != 0) {
        const double natural = QFontMetricsF(f).averageCharWidth();
        const double wanted = std::fabs(double(lf.lfWidth)) * std::fabs(m_fx);
        if (natural > 0)
            f.setStretch(int(std::lround(std::clamp(100.0 * wanted / natural, 1.0, 4000.0))));
    }
    QFontMetricsF fm(f);
    ascent = fm.ascent();
    descent = fm.descent();
    return f;
}

LSize CDC::GetTextExtent(std::string_view text) const
{
    ++m_textMeasures;
    double ascent = 0, descent = 0;
    const QFont f = DeviceFont(&ascent, &descent, nullptr);
    const double w = QFontMetricsF(f).horizontalAdvance(QString::fromLatin1(text.data(), qsizetype(text.size())));
    return {SaturateToLogical(std::round(w / std::fabs(m_fx))),
            SaturateToLogical(std::round((ascent + descent) / std::fabs(m_fy)))};
}

std::size_t CDC::TextFit(std::string_view text, std::int64_t width) const
{
    // A longer beginning is never narrower: halve the lengths between one
    // known to fit (lo) and one known not to (past hi).
    std::size_t lo = 0, hi = text.size();
    while (lo < hi) {
        const std::size_t mid = hi - (hi - lo) / 2;
        if (GetTextExtent(text.substr(0, mid)).cx <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    // A shorter beginning fits too: one that ends between characters.
    return Utf8CharacterStart(text, lo);
}

bool CDC::LayOutText(std::int64_t x, std::int64_t y, std::string_view text,
                     const std::function<void(const TextPlacement&)>& paint)
{
    TextPlacement t;
    if (m_textAlign & TA_UPDATECP) {
        x = m_pos.x;
        y = m_pos.y;
    }
    ToDevice(x, y, t.x, t.y);
    t.x = std::floor(t.x + 0.5);
    t.y = std::floor(t.y + 0.5);
    if (text.empty())
        return true;
    if (DeviceFontPixels() <= 0)
        return false;
    t.font = DeviceFont(&t.ascent, &t.descent, &t.angle);
    t.text = QString::fromLatin1(text.data(), qsizetype(text.size()));
    t.advance = QFontMetricsF(t.font).horizontalAdvance(t.text);
    switch (m_textAlign & TA_CENTER) {
    case TA_RIGHT: t.xoff = -t.advance; break;
    case TA_CENTER: t.xoff = -std::round(t.advance / 2.0); break;
    default: t.xoff = 0; break;
    }
    // The baseline below the reference point.
    switch (m_textAlign & TA_BASELINE) {
    case TA_BOTTOM: t.yoff = -t.descent; break;
    case TA_BASELINE: t.yoff = 0; break;
    default: t.yoff = t.ascent; break;
    }
    paint(t);
    if (!(m_textAlign & TA_UPDATECP))
        return true;
    // The current position moves to the far end of the text from the reference point.
    double dist = 0;
    switch (m_textAlign & TA_CENTER) {
    case TA_RIGHT: dist = -t.advance; break;
    case TA_CENTER: dist = 0; break;
    default: dist = t.advance; break;
    }
    const double rad = t.angle * std::numbers::pi / 180.0;
    const double ex = t.x + dist * std::cos(rad), ey = t.y + dist * std::sin(rad);
    m_pos = DPtoLP({SaturateToLogical(std::floor(ex + 0.5)), SaturateToLogical(std::floor(ey + 0.5))});
    return true;
}

void CDC::PaintText(QPainter& p, const TextPlacement& t) const
{
    auto colour = [](COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); };
    p.save();
    p.translate(t.x, t.y);
    p.rotate(t.angle);
    if (m_bkMode == OPAQUE)
        p.fillRect(QRectF(t.xoff, t.yoff - t.ascent, t.advance, t.ascent + t.descent), colour(m_bkColour));
    p.setPen(colour(m_textColour));
    p.setFont(t.font);
    p.drawText(QPointF(t.xoff, t.yoff), t.text);
    p.restore();
}

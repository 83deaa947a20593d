#include "platform/svgpicture.h"

#include "platform/bmpread.h"

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QImageReader>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <zlib.h>

#include <algorithm>
#include <bitset>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

QByteArray InPlace(std::span<const BYTE> bytes)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray FormatOf(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

// The picture's text: bytes themselves, or what they inflate to when compressed.
std::optional<std::string> SvgText(std::span<const BYTE> bytes, QByteArray& text)
{
    if (bytes.size() < 2 || bytes[0] != 0x1F || bytes[1] != 0x8B) {
        if (bytes.size() > kMaxSvgBytes)
            return "the SVG is " + std::to_string(bytes.size()) + " bytes long, more than " +
                   std::to_string(kMaxSvgBytes);
        text = InPlace(bytes);
        return std::nullopt;
    }
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        return std::string("the compressed SVG cannot be inflated");
    // One byte past the limit tells a longer text from one that ends there.
    text = QByteArray(qsizetype(kMaxSvgBytes + 1), Qt::Uninitialized);
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = uInt(std::min<std::size_t>(bytes.size(), UINT_MAX));
    z.next_out = reinterpret_cast<Bytef*>(text.data());
    z.avail_out = uInt(text.size());
    const int result = inflate(&z, Z_FINISH);
    const std::size_t length = z.total_out;
    inflateEnd(&z);
    if (result == Z_STREAM_END) {
        text.truncate(qsizetype(length));
        return std::nullopt;
    }
    if (length > kMaxSvgBytes)
        return "the compressed SVG inflates to more than " + std::to_string(kMaxSvgBytes) + " bytes";
    return std::string("the compressed SVG is damaged");
}

std::int64_t Saturated(std::int64_t a, std::int64_t b, std::int64_t limit)
{
    return std::min(a + b, limit + 1);
}

// The pixels of a picture an <image> element embeds, as Qt's reader of SVG
// would load it: only base64 data is read, and never an SVG inside an SVG.
std::optional<std::string> EmbeddedPixels(QStringView href, std::int64_t& pixels)
{
    pixels = 0;
    if (!href.startsWith(u"data"))
        return std::string("the SVG refers to a picture outside it");
    const qsizetype at = href.lastIndexOf(u"base64,");
    if (at < 0)
        return std::nullopt;
    const QByteArray data = QByteArray::fromBase64(href.mid(at + 7).toLatin1());
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.format().startsWith("svg"))
        return std::string("the SVG embeds another SVG");
    const QSize size = reader.size();
    if (size.isValid())
        pixels = std::int64_t(size.width()) * size.height();
    return std::nullopt;
}

// What Qt would spend reading and drawing the text, counted before it does.
std::optional<std::string> CheckSvgText(const QByteArray& text)
{
    enum class Kind : char { other, text, style };
    struct Element {
        std::int64_t parent = -1;
        Kind kind = Kind::other;
        std::int64_t chars = 0;
        QString link;  // the id a <use> repeats
        std::vector<std::int64_t> children;
    };
    std::vector<Element> elements;
    std::vector<std::int64_t> open;
    QHash<QString, std::int64_t> ids;
    std::int64_t rules = 0, pixels = 0;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (elements.size() >= kMaxSvgElements)
                return "the SVG has more than " + std::to_string(kMaxSvgElements) + " elements";
            const std::int64_t index = std::int64_t(elements.size());
            const QStringView name = xml.name();
            const QXmlStreamAttributes attributes = xml.attributes();
            const QStringView href = attributes.hasAttribute(QLatin1String("xlink:href"))
                                         ? attributes.value(QLatin1String("xlink:href"))
                                         : attributes.value(QLatin1String("href"));
            Element e;
            e.parent = open.empty() ? -1 : open.back();
            if (name == u"style")
                e.kind = Kind::style;
            else if (name == u"text" || name == u"tspan" || name == u"textArea")
                e.kind = Kind::text;
            if (name == u"use" && href.startsWith(u'#'))
                e.link = href.mid(1).toString();
            if (name == u"image" && !href.isEmpty()) {
                std::int64_t embedded = 0;
                if (auto why = EmbeddedPixels(href, embedded))
                    return why;
                pixels = Saturated(pixels, embedded, kMaxSvgImagePixels);
                if (pixels > kMaxSvgImagePixels)
                    return "the SVG embeds pictures of more than " + std::to_string(kMaxSvgImagePixels) + " pixels";
            }
            if (const QStringView id = attributes.value(QLatin1String("id")); !id.isEmpty())
                ids.insert(id.toString(), index);
            if (e.parent >= 0)
                elements[std::size_t(e.parent)].children.push_back(index);
            elements.push_back(std::move(e));
            open.push_back(index);
            break;
        }
        case QXmlStreamReader::EndElement: open.pop_back(); break;
        case QXmlStreamReader::Characters:
            if (open.empty() || xml.isWhitespace())
                break;
            if (Element& e = elements[std::size_t(open.back())]; e.kind == Kind::text)
                e.chars += xml.text().size();
            else if (e.kind == Kind::style)
                rules += xml.text().count(u'{');
            break;
        default: break;
        }
    }
    if (xml.hasError())
        return "the SVG does not read (line " + std::to_string(xml.lineNumber()) + ": " +
               xml.errorString().toStdString() + ")";
    if (elements.empty())
        return std::string("the SVG holds no elements");
    // Qt matches every style rule against every element it reads.
    const std::uint64_t matches = std::uint64_t(rules) * elements.size();
    if (matches > kMaxSvgStyleMatches)
        return "the SVG's " + std::to_string(rules) + " style rules are matched against its " +
               std::to_string(elements.size()) + " elements, more than " + std::to_string(kMaxSvgStyleMatches) +
               " matches";

    // Elements and characters drawn, each <use> adding what it repeats: every
    // element after all it holds and repeats; a <use> inside what it repeats
    // draws nothing, as in Qt.
    struct Drawn {
        std::int64_t elements = 0, chars = 0;
    };
    std::vector<Drawn> drawn(elements.size());
    enum class State : char { unseen, open, done };
    std::vector<State> state(elements.size(), State::unseen);
    auto parts = [&](std::int64_t i) {
        std::vector<std::int64_t> all = elements[std::size_t(i)].children;
        if (const QString& link = elements[std::size_t(i)].link; !link.isEmpty())
            if (const auto target = ids.constFind(link); target != ids.constEnd())
                all.push_back(*target);
        return all;
    };
    struct Step {
        std::int64_t element;
        std::vector<std::int64_t> parts;
        std::size_t next = 0;
    };
    std::vector<Step> stack;
    stack.push_back({0, parts(0)});
    state[0] = State::open;
    while (!stack.empty()) {
        Step& step = stack.back();
        if (step.next < step.parts.size()) {
            const std::int64_t part = step.parts[step.next++];
            if (state[std::size_t(part)] == State::unseen) {
                state[std::size_t(part)] = State::open;
                stack.push_back({part, parts(part)});
            }
            continue;
        }
        Drawn total{1, elements[std::size_t(step.element)].chars};
        for (const std::int64_t part : step.parts) {
            if (state[std::size_t(part)] != State::done)
                continue;
            total.elements = Saturated(total.elements, drawn[std::size_t(part)].elements, kMaxSvgElements);
            total.chars = Saturated(total.chars, drawn[std::size_t(part)].chars, kMaxSvgTextChars);
        }
        drawn[std::size_t(step.element)] = total;
        state[std::size_t(step.element)] = State::done;
        stack.pop_back();
    }
    if (std::uint64_t(drawn[0].elements) > kMaxSvgElements)
        return "the SVG draws more than " + std::to_string(kMaxSvgElements) + " elements, counting what it repeats";
    if (std::uint64_t(drawn[0].chars) > kMaxSvgTextChars)
        return "the SVG draws more than " + std::to_string(kMaxSvgTextChars) +
               " characters of text, counting what it repeats";
    return std::nullopt;
}

// Checks the picture's text and has Qt read it.
std::optional<std::string> LoadSvg(std::span<const BYTE> bytes, QSvgRenderer& renderer)
{
    QByteArray text;
    if (auto why = SvgText(bytes, text))
        return why;
    if (auto why = CheckSvgText(text))
        return why;
    if (!renderer.load(text))
        return std::string("the SVG does not read");
    return std::nullopt;
}

// Units of work, about 10 ns each, that Qt's rasterizer spends on a call,
// on an edge of an outline it fills (flattened and sorted) or strokes, on a
// row and a cell the outline passes through, and on a pixel filled.
constexpr double kCallWork = 100;
constexpr double kFillEdgeWork = 10;
constexpr double kStrokeEdgeWork = 40;
constexpr double kRowWork = 20;
constexpr double kOpaquePixelWork = 1.0 / 16;
constexpr double kBlendedPixelWork = 1;
// A row's cells are kept in a list sorted by column, and each cell an edge
// passes through is looked up from the list's start. Lists this short cost
// little, and so do the lists of an outline of few cells, which stay at
// hand (a twentieth).
constexpr double kShortList = 16;
// Places of a row told apart in counting the cells in its list, and the
// crossings of edges with rows placed at most in one picture; past them
// every cell counts as one more in its row's list.
constexpr int kPlaces = 256;
constexpr double kMaxPlacings = 1e6;
constexpr double kFewCells = 4096;
constexpr double kFewCellsShare = 0.05;
// Device coordinates farther than this are taken as this far.
constexpr double kFar = 1e7;

// Counts what the rasterizer would spend on what it is given: most where
// many long edges cross the same rows, as in a self-intersecting outline of
// a few thousand edges across the picture, which takes seconds. A stroke is
// counted as the outline it fills: both sides of each edge.
class RasterWorkEngine final : public QPaintEngine {
public:
    explicit RasterWorkEngine(QSize size) : QPaintEngine(AllFeatures), m_size(size) {}
    double Work() const { return m_work; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return User; }

    void drawPath(const QPainterPath& path) override
    {
        if (Called())
            Outline(path.toSubpathPolygons(state->transform()), true);
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (Called())
            Outline({state->transform().map(QPolygonF(QList<QPointF>(points, points + count)))}, mode != PolylineMode);
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF& sr) override { Picture(r, sr); }
    void drawImage(const QRectF& r, const QImage&, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        Picture(r, sr);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override { Picture(r, r); }

private:
    // Counts a call; false past the limit, where the picture is refused and
    // what follows need not be counted.
    bool Called()
    {
        m_work += kCallWork;
        return m_work <= kMaxSvgRasterWork;
    }
    double PixelWork(const QBrush& brush) const
    {
        return brush.isOpaque() && state->opacity() >= 1 ? kOpaquePixelWork : kBlendedPixelWork;
    }

    void Picture(const QRectF& target, const QRectF& source)
    {
        if (!Called())
            return;
        const QRectF shown = state->transform().mapRect(target) & QRectF(QPointF(0, 0), QSizeF(m_size));
        m_work += shown.width() * shown.height() * kBlendedPixelWork +
                  std::min(std::fabs(source.width() * source.height()), double(kMaxDibPixels)) * kOpaquePixelWork;
    }

    // The outline filled with the brush when closed, and stroked with the
    // pen. Points far off the device are brought nearer, and an outline
    // through a point that is not a number is refused.
    void Outline(QList<QPolygonF> polygons, bool closed)
    {
        for (QPolygonF& p : polygons)
            for (QPointF& q : p) {
                if (!std::isfinite(q.x()) || !std::isfinite(q.y())) {
                    m_work = std::numeric_limits<double>::infinity();
                    return;
                }
                q = {std::clamp(q.x(), -kFar, kFar), std::clamp(q.y(), -kFar, kFar)};
            }
        if (closed && state->brush().style() != Qt::NoBrush)
            Fill(polygons, 0, PixelWork(state->brush()));
        if (state->pen().style() != Qt::NoPen) {
            const QPen& pen = state->pen();
            const double scale = std::sqrt(std::fabs(state->transform().determinant()));
            const double width = pen.isCosmetic() ? pen.widthF() : pen.widthF() * scale;
            Fill(polygons, std::max(0.5, width / 2), PixelWork(pen.brush()));
        }
    }

    // Polygons filled, or stroked half a pen's width to each side.
    void Fill(const QList<QPolygonF>& polygons, double half, double pixelWork)
    {
        const bool stroke = half > 0;
        QRectF box;
        std::size_t edges = 0;
        for (const QPolygonF& p : polygons) {
            box |= p.boundingRect();
            edges += std::size_t(p.size());
        }
        m_work += double(edges) * (stroke ? kStrokeEdgeWork : kFillEdgeWork);
        box = box.adjusted(-half, -half, half, half) & QRectF(QPointF(0, 0), QSizeF(m_size));
        if (box.isEmpty())
            return;
        const int top = int(box.top()), rows = std::min(int(std::ceil(box.bottom())), m_size.height()) - top;
        m_work += rows * kRowWork + box.width() * box.height() * pixelWork;
        auto row = [&](double y) { return int(std::clamp(y, double(top), double(top + rows - 1))) - top; };
        // Each edge passes through cells of the rows it crosses, one more for
        // every pixel it goes across a row, on both sides of a stroke.
        auto forEachEdge = [&](auto&& edge) {
            for (const QPolygonF& p : polygons) {
                for (qsizetype i = 0; i < p.size(); ++i) {
                    QPointF a = p[i], b = p[(i + 1) % p.size()];
                    if (a.y() > b.y())
                        std::swap(a, b);
                    const double y0 = a.y() - half, y1 = b.y() + half;
                    if (y1 < box.top() || y0 >= box.bottom())
                        continue;
                    const double across = std::min(std::fabs(b.x() - a.x()), box.width());
                    edge(a, b, row(y0), row(y1), (stroke ? 2 : 1) * (1 + across / std::max(1.0, y1 - y0)));
                }
            }
        };
        // The cells each row's edges pass through, as changes from the row above.
        std::vector<double> change(std::size_t(rows) + 1, 0.0);
        double cells = 0, crossings = 0;
        forEachEdge([&](QPointF, QPointF, int r0, int r1, double perRow) {
            change[std::size_t(r0)] += perRow;
            change[std::size_t(r1) + 1] -= perRow;
            cells += perRow * (r1 - r0 + 1);
            crossings += r1 - r0 + 1;
        });
        m_work += cells;
        const double share = cells > kFewCells ? 1 : kFewCellsShare;
        // The lists' walks, counting every cell as one more in its row's list.
        const double columns = std::ceil(box.width()) + 1;
        auto walking = [&](auto&& listed) {
            double inRow = 0, walks = 0;
            for (int r = 0; r < rows; ++r) {
                inRow += change[std::size_t(r)];
                walks += inRow * std::max(0.0, std::min(listed(r), std::min(inRow, columns)) - kShortList);
            }
            return walks * share;
        };
        if (m_work > kMaxSvgRasterWork || m_placings + crossings > kMaxPlacings) {
            m_work += walking([](int) { return std::numeric_limits<double>::infinity(); });
            return;
        }
        m_placings += crossings;
        // Where its row's cells lie, to some of the row's columns: the cells
        // of short edges meet in the same few places, where their walks are short.
        const int places = std::min(kPlaces, int(columns));
        const double placeWidth = columns / places;
        std::vector<std::bitset<kPlaces>> taken(static_cast<std::size_t>(rows));
        forEachEdge([&](QPointF a, QPointF b, int r0, int r1, double) {
            const double dy = b.y() - a.y();
            for (int r = r0; r <= r1; ++r) {
                double xa = a.x(), xb = b.x();
                if (dy > 0) {
                    xa += (std::clamp(double(top + r), a.y(), b.y()) - a.y()) / dy * (b.x() - a.x());
                    xb = a.x() + (std::clamp(double(top + r + 1), a.y(), b.y()) - a.y()) / dy * (b.x() - a.x());
                }
                auto place = [&](double x) {
                    return int(std::clamp((x - box.left()) / placeWidth, 0.0, places - 1.0));
                };
                for (int at = place(std::min(xa, xb) - half), last = place(std::max(xa, xb) + half); at <= last; ++at)
                    taken[std::size_t(r)].set(std::size_t(at));
            }
        });
        m_work += walking([&](int r) { return double(taken[std::size_t(r)].count()) * placeWidth; });
    }

    QSize m_size;
    double m_work = 0;
    double m_placings = 0;
};

// A device of size pixels on which nothing is drawn but the work is counted.
class RasterWorkDevice final : public QPaintDevice {
public:
    explicit RasterWorkDevice(QSize size) : m_engine(size), m_size(size) {}
    double Work() const { return m_engine.Work(); }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return int(m_size.width() * 25.4 / 96.0);
        case PdmHeightMM: return int(m_size.height() * 25.4 / 96.0);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        default: return QPaintDevice::metric(m);
        }
    }

private:
    mutable RasterWorkEngine m_engine;
    QSize m_size;
};

double RasterWork(QSvgRenderer& renderer, QSize size)
{
    RasterWorkDevice device(size);
    QPainter painter(&device);
    renderer.render(&painter);
    painter.end();
    return device.Work();
}

}  // namespace

bool IsSvgPicture(std::span<const BYTE> bytes)
{
    return FormatOf(InPlace(bytes)).startsWith("svg");
}

std::optional<std::string> SvgPictureSize(std::span<const BYTE> bytes, QSize& size)
{
    QSvgRenderer renderer;
    if (auto why = LoadSvg(bytes, renderer))
        return why;
    size = renderer.defaultSize();
    return std::nullopt;
}

std::optional<std::string> SvgRasterWork(std::span<const BYTE> bytes, QSize size, double& work)
{
    QSvgRenderer renderer;
    if (auto why = LoadSvg(bytes, renderer))
        return why;
    work = RasterWork(renderer, size);
    return std::nullopt;
}

std::optional<std::string> RenderSvgPicture(std::span<const BYTE> bytes, QSize size, QImage& image, double* work)
{
    QSvgRenderer renderer;
    if (auto why = LoadSvg(bytes, renderer))
        return why;
    // What takes too much work at size may not at a half or a quarter of it.
    double counted = 0;
    QSize at = size;
    for (int halved = 0;; ++halved) {
        const double atWork = RasterWork(renderer, at);
        counted += atWork;
        if (work)
            *work = counted;
        if (atWork <= kMaxSvgRasterWork)
            break;
        if (halved == kMaxSvgHalvings)
            return "drawing the SVG takes more work than a picture may, even over " + std::to_string(at.width()) +
                   " x " + std::to_string(at.height()) + " pixels";
        at = QSize(std::max(1, at.width() / 2), std::max(1, at.height() / 2));
    }
    QImage rendered(at, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    renderer.render(&painter);
    painter.end();
    image = std::move(rendered);
    return std::nullopt;
}

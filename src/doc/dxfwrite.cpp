// The DXF writer: an AC1009 file in code page 1252 with a HEADER, the
// line-type and layer tables, the blocks (the drawing's and one per
// dimension) and the entities. Reals are written with the shortest digits
// that read back the same double; values computed here (angles in degrees,
// bulges, the ends of arcs) are first rounded (to 12 significant digits, or
// onto a grid of a polyline's size), so a file read back and written again
// gives the same bytes.
#include "doc/dxf.h"

#include "doc/dxfgroups.h"
#include "doc/dxftables.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "model/transform.h"
#include "platform/fileio.h"
#include "platform/msgbox.h"
#include "platform/waitcursor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace dxf::writing {

constexpr double kPi = 3.14159265358979323846;

// Rounded to 12 significant digits, and to 0 below 1e-12 of the scale of
// the values it was computed from; not-finite values stay as they are.
double Rounded(double v, double scale = 0.0)
{
    if (!std::isfinite(v))
        return v;
    if (std::fabs(v) <= 1e-12 * scale)
        return 0.0;
    char buf[32];
    const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 12);
    double out = v;
    std::from_chars(buf, written.ptr, out);
    return out;
}

double NormalDegrees(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0.0)
        a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

CPointd RoundedPoint(double x, double y, double z, double scale)
{
    return CPointd(Rounded(x, scale), Rounded(y, scale), z);
}

bool Forbidden(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>/\\\":;?*|=`", c) != nullptr;
}

// Whether name holds a \U+XXXX escape at i.
bool EscapeAt(std::string_view name, std::size_t i)
{
    return name.substr(i, 3) == "\\U+" && i + 7 <= name.size() &&
           std::all_of(name.begin() + std::ptrdiff_t(i) + 3, name.begin() + std::ptrdiff_t(i) + 7,
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// A name other programs take: forbidden characters become '_', blanks at
// the ends are dropped, and an empty name is "UNNAMED". A block name may
// keep a leading '*' when a letter and digits follow (an anonymous block).
// \U+XXXX escapes, which stand for characters code page 1252 lacks, stay.
std::string ValidName(std::string_view name, bool block)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (EscapeAt(name, i)) {
            out += name.substr(i, 7);
            i += 6;
            continue;
        }
        const bool anonymous = block && i == 0 && name[0] == '*' && name.size() >= 2 &&
                               std::isalpha(static_cast<unsigned char>(name[1])) &&
                               name.find_first_not_of("0123456789", 2) == std::string_view::npos;
        out += Forbidden(name[i]) && !anonymous ? '_' : name[i];
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return "UNNAMED";
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// An attribute tag: a valid name without blanks.
std::string TagName(std::string_view tag)
{
    std::string name = ValidName(tag, false);
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

// A text value: control characters become blanks, and where the text holds
// "%%" every '%' is written "%%%", so no control code is read into it.
std::string TextValue(std::string_view text)
{
    const bool escape = text.find("%%") != std::string_view::npos;
    std::string out;
    for (char c : text) {
        if (c == '%' && escape)
            out += "%%%";
        else
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out;
}

// Width of a text of this height, estimated from its characters.
double EstimatedWidth(std::string_view text, double height)
{
    double width = 0.0;
    for (char c : text)
        width += c == '.' ? 0.3 * height : c == '0' ? 0.8 * height : c == '1' ? 0.633 * height : height;
    return width;
}

// The groups of the file, CR LF after every line. Lines are put together in
// a buffer that goes to the text in large pieces: appending each small line
// to the text on its own costs more than making it. Given a sink, the writer
// hands the text on in pieces between records, so a large file is never
// held whole.
class GroupWriter {
public:
    explicit GroupWriter(const ByteSink* sink) : m_p(m_buf), m_sink(sink) {}

    void Group(int code, std::string_view value)
    {
        if (value.size() > kBuffer / 4) {
            Flush();
            char buf[kCodeSize];
            m_text.append(buf, std::size_t(Code(buf, code) - buf));
            m_text.append(value);
            m_text.append("\r\n", 2);
            return;
        }
        Room(value.size());
        m_p = Code(m_p, code);
        m_p = std::copy(value.begin(), value.end(), m_p);
        EndLine();
    }
    void WriteDXFInteger(int code, long long value)
    {
        Room(0);
        m_p = Code(m_p, code);
        m_p = std::to_chars(m_p, m_p + 24, value).ptr;
        EndLine();
    }
    // A value that is not finite, or larger than a reader takes, is not
    // written; it marks the record bad.
    void WriteDXFReal(int code, double value)
    {
        if (!std::isfinite(value) || std::fabs(value) > dxf::kAbsurd) {
            m_bad = true;
            return;
        }
        Room(0);
        m_p = Code(m_p, code);
        m_p = value == 0.0 ? Zero(m_p) : ShortestDigits(m_p, m_p + 32, value);
        EndLine();
    }
    // x at code, y at code + 10, z at code + 20 (with z).
    void Point(int code, const CPointd& p, bool z = true)
    {
        WriteDXFReal(code, p.x);
        WriteDXFReal(code + 10, p.y);
        if (z)
            WriteDXFReal(code + 20, p.z);
    }

    // A record is written whole or not at all.
    std::size_t Mark()
    {
        m_bad = false;
        if (m_sink && Size() - m_sent >= kPiece)
            Send();
        return Size();
    }
    // False, and the record since mark taken back, when a value was not finite.
    bool Keep(std::size_t mark)
    {
        if (!m_bad)
            return true;
        mark -= m_sent;
        if (mark >= m_text.size()) {
            m_p = m_buf + (mark - m_text.size());
        } else {
            m_text.resize(mark);
            m_p = m_buf;
        }
        return false;
    }

    void Reserve(std::size_t bytes) { m_text.reserve(bytes); }
    // The whole text, or the rest of it to the sink; the writer is empty after.
    std::string Take()
    {
        if (m_sink) {
            Send();
            return {};
        }
        Flush();
        return std::move(m_text);
    }

private:
    static constexpr std::size_t kCodeSize = 16;
    static constexpr std::size_t kBuffer = 1 << 16;
    // What the sink is given at a time, about.
    static constexpr std::size_t kPiece = 1 << 18;
    // Room for a code line, a number and the line ends, besides extra bytes.
    static constexpr std::size_t kLine = kCodeSize + 40;

    std::size_t Size() const { return m_sent + m_text.size() + std::size_t(m_p - m_buf); }
    void Flush()
    {
        m_text.append(m_buf, std::size_t(m_p - m_buf));
        m_p = m_buf;
    }
    void Send()
    {
        Flush();
        (*m_sink)(std::span(reinterpret_cast<const BYTE*>(m_text.data()), m_text.size()));
        m_sent += m_text.size();
        m_text.clear();
    }
    void Room(std::size_t extra)
    {
        if (std::size_t(m_buf + kBuffer - m_p) < kLine + extra)
            Flush();
    }
    void EndLine()
    {
        *m_p++ = '\r';
        *m_p++ = '\n';
    }

    static char* Zero(char* p)
    {
        *p = '0';  // not "-0"
        return p + 1;
    }

    // Digits that read back as v, as few as there can be. Values of up to
    // four decimals, which most drawings hold, are found without the general
    // search, and written without an exponent.
    static char* ShortestDigits(char* p, char* end, double v)
    {
        // v has at most four decimals when its nearest number of ten-thousandths,
        // read back over 1e4, gives v itself. Beyond 2^53 integers are not exact.
        const double m = v * 1e4;
        if (std::fabs(m) < 9007199254740992.0) {
            auto n = static_cast<long long>(m < 0.0 ? m - 0.5 : m + 0.5);
            if (double(n) / 1e4 == v) {
                int k = 4;
                for (; k > 0 && n % 10 == 0; --k)
                    n /= 10;
                char digits[24];
                char* const last = std::to_chars(digits, digits + sizeof digits, n < 0 ? -n : n).ptr;
                const int count = int(last - digits);
                if (n < 0)
                    *p++ = '-';
                if (count <= k) {
                    *p++ = '0';
                    *p++ = '.';
                    for (int z = count; z < k; ++z)
                        *p++ = '0';
                    return std::copy(digits, last, p);
                }
                p = std::copy(digits, last - k, p);
                if (k > 0) {
                    *p++ = '.';
                    p = std::copy(last - k, last, p);
                }
                return p;
            }
        }
        return std::to_chars(p, end, v).ptr;
    }

    // The code line at p; the end of what was put there.
    static char* Code(char* p, int code)
    {
        p = std::to_chars(p, p + kCodeSize - 2, code).ptr;
        *p++ = '\r';
        *p++ = '\n';
        return p;
    }

    std::string m_text;
    char m_buf[kBuffer];
    char* m_p;
    const ByteSink* m_sink;
    std::size_t m_sent = 0;  // bytes given to the sink
    bool m_bad = false;
};

// How an entity's record starts: its layer, colour number (256: by layer,
// not written) and line type.
struct Pen {
    const std::string* layer;
    int colour;
    int style;
};

// What the names give every writer of the file: the table's layers, the
// blocks' names in the file, the inserts left out.
struct FileNames {
    struct TableLayer {
        std::string name;
        int colour;
        int on;
    };
    std::vector<TableLayer> tableLayers;
    std::unordered_map<std::string, std::size_t> layerIndex;  // drawing's name -> tableLayers
    std::unordered_map<const CBloq*, std::string> blockName;  // name in the file
    std::unordered_map<std::string, const CBloq*> blocksByName;  // the first of each name, as inserts find it
    std::unordered_set<const CDib*> cyclic;  // inserts that would place a block in itself
    std::vector<const CAcot*> dimensionList;  // the drawing's, in order
};

struct Piece;

class Exporter {
public:
    Exporter(const CRectaDoc& doc, const ByteSink* sink) : m_doc(doc), m_w(sink), m_streamed(sink != nullptr) {}
    DxfExportResult Run();

private:
    void NameLayers();
    void NameBlocks();
    void FindCycles();

    void Header();
    void Tables();
    void Blocks();
    void Entities();

    // One element through the writer of its kind; block is the block it is in, or null.
    void Element(const CDib& element, const CBloq* block);
    void WriteCircle(const CObject& entity);
    void WriteArc(const CObject& entity);
    void WritePoint(const CObject& entity);
    void WriteText(const CObject& entity);
    void WriteDXFPolyline(const CObject& entity);
    void WriteChain(const Pen& pen, int extrusionMode, double thickness, std::span<const Piece> pieces);
    void WriteInsert(const CObject& entity);
    void WriteDXFDimension(const CObject& entity);
    void WriteFace(const CObject& entity);
    void WriteDXFVertex(const std::string& layer, const CPointd& p, double bulge);
    void WriteDXFLayer(const FileNames::TableLayer& layer);
    void WriteDXFBlockHeader(const std::string& name, const std::string& layer, int flags);
    void WriteDXFDimensionBlock(const CAcot& dim, int k);
    friend class ::CRectaDoc;

    Pen PenOf(const CEntity& e) const;
    void Head(std::string_view kind, const Pen& pen);
    void TextRecord(std::string_view kind, const CText& t, const Pen& pen);
    // The groups of a text's place, height, angle and justification.
    void TextPlace(const CText& t);
    void Thickness(int mode, double thickness);
    const std::string& LayerName(const std::string& name) const;
    // The block an insert of this name places, or null.
    const CBloq* BlockNamed(const std::string& name) const;
    void LeaveOut(std::string_view kind, const char* reason = nullptr);
    // A name key not yet used in the table; name itself, else name_2, name_3, ...
    static std::string Unique(const std::string& name, std::unordered_set<std::string>& used);

    const CRectaDoc& m_doc;
    GroupWriter m_w;
    DxfExportResult m_result;
    FileNames m_names;

    mutable bool m_lastKnown = false;  // the name PenOf looked up last, and its index
    mutable std::string m_lastLayer;
    mutable std::size_t m_lastLayerIndex = 0;
    bool m_streamed;                           // the text goes to a sink
    int m_dimensions = 0;                      // dimensions written so far
    bool m_inBlock = false;                    // the element being written lies in a block
};

// ---------------------------------------------------------------- names

std::string Exporter::Unique(const std::string& name, std::unordered_set<std::string>& used)
{
    std::string unique = name;
    for (int n = 2; !used.insert(DxfNameKey(unique)).second; ++n)
        unique = name + "_" + std::to_string(n);
    return unique;
}

// The drawing's layers in their order, then every layer an entity or a
// block names that the drawing lacks, in colour 7. The same walk finds the
// dimensions, each written with a block of its own.
void Exporter::NameLayers()
{
    std::unordered_set<std::string> used;
    const std::string* last = nullptr;  // entities come in runs on one layer
    auto add = [&](const std::string& name, COLORREF colour, int on) {
        if ((last && name == *last) || m_names.layerIndex.count(name))
            return;
        last = &name;
        m_names.layerIndex.emplace(name, m_names.tableLayers.size());
        m_names.tableLayers.push_back({Unique(ValidName(name, false), used), RGBToDXFColor(colour), on});
        m_result.layerNames.emplace(name, m_names.tableLayers.back().name);
    };
    for (POSITION pos = m_doc.GetFirstLayerPosition(); pos;) {
        const CLayer* layer = m_doc.GetNextLayer(pos);
        add(layer->m_name, layer->m_color, layer->m_on);
    }
    auto entities = [&](const CObList& list, bool drawing) {
        for (CObject* obj : list) {
            const auto* element = static_cast<const CDib*>(obj);
            if (!element->m_entity || !IsEntityType(element->m_type) || element->m_type == ENT_HATCH ||
                element->m_type == ENT_BITMAP)
                continue;
            add(static_cast<const CEntity*>(element->m_entity)->m_layer, 0, 1);
            if (drawing && element->m_type == ENT_DIMENSION)
                m_names.dimensionList.push_back(static_cast<const CAcot*>(element->m_entity));
        }
    };
    for (POSITION pos = m_doc.GetFirstBlockPosition(); pos;) {
        const CBloq* block = m_doc.GetNextBlock(pos);
        add(block->m_layer, 0, 1);
        entities(block->GetEntityList(), false);
        for (CObject* obj : block->GetAttribList())
            add(static_cast<const CAttrib*>(obj)->m_text.m_layer, 0, 1);
    }
    entities(m_doc.GetEntityList(), true);
}

// Dimension blocks take "*D0", "*D1", ... first; the drawing's blocks follow.
void Exporter::NameBlocks()
{
    std::unordered_set<std::string> used;
    for (std::size_t k = 0; k < m_names.dimensionList.size(); ++k)
        used.insert("*D" + std::to_string(k));
    for (POSITION pos = m_doc.GetFirstBlockPosition(); pos;) {
        const CBloq* block = m_doc.GetNextBlock(pos);
        const std::string name = Unique(ValidName(block->m_name, true), used);
        m_names.blockName.emplace(block, name);
        m_result.blockNames.emplace(block->m_name, name);
        m_names.blocksByName.emplace(block->m_name, block);
    }
}

// Inserts that close a cycle of blocks inserting each other are left out, so
// that no program reading the file meets a block inside itself.
void Exporter::FindCycles()
{
    enum State { unseen, open, done };
    std::unordered_map<const CBloq*, State> state;
    struct Frame {
        const CBloq* block;
        POSITION next;
    };
    for (POSITION root = m_doc.GetFirstBlockPosition(); root;) {
        const CBloq* start = m_doc.GetNextBlock(root);
        if (state[start] != unseen)
            continue;
        std::vector<Frame> stack{{start, start->GetFirstEntityPosition()}};
        state[start] = open;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (!top.next) {
                state[top.block] = done;
                stack.pop_back();
                continue;
            }
            const auto* element = static_cast<const CDib*>(top.block->GetEntityList().GetNext(top.next));
            if (element->m_type != ENT_INSERT || !element->m_entity)
                continue;
            const CBloq* inner = BlockNamed(static_cast<const CInsBl*>(element->m_entity)->m_block);
            if (!inner)
                continue;
            State& s = state[inner];
            if (s == open) {
                m_names.cyclic.insert(element);
            } else if (s == unseen) {
                s = open;
                stack.push_back({inner, inner->GetFirstEntityPosition()});
            }
        }
    }
}

const CBloq* Exporter::BlockNamed(const std::string& name) const
{
    const auto it = m_names.blocksByName.find(name);
    return it == m_names.blocksByName.end() ? nullptr : it->second;
}

const std::string& Exporter::LayerName(const std::string& name) const
{
    return m_names.tableLayers[m_names.layerIndex.at(name)].name;
}

void Exporter::LeaveOut(std::string_view kind, const char* reason)
{
    std::string label(kind);
    if (reason)
        label.append(" (").append(reason).append(")");
    ++m_result.leftOut[label];
}

// ---------------------------------------------------------------- sections

DxfExportResult Exporter::Run()
{
    NameLayers();
    NameBlocks();
    FindCycles();
    if (!m_streamed)
        m_w.Reserve(std::size_t(m_doc.GetEntityList().GetCount()) * 160 + 4096);
    Header();
    Tables();
    Blocks();
    Entities();
    m_w.Group(0, "EOF");
    m_result.text = m_w.Take();
    return std::move(m_result);
}

void Exporter::Header()
{
    m_w.Group(0, "SECTION");
    m_w.Group(2, "HEADER");
    m_w.Group(9, "$ACADVER");
    m_w.Group(1, "AC1009");
    m_w.Group(9, "$DWGCODEPAGE");
    m_w.Group(3, "ANSI_1252");
    static constexpr std::pair<const char*, int> kCounters[] = {
        {"$USERI3", TW_DOOR_BLOCKS}, {"$USERI4", TW_DOUBLE_DOOR_BLOCKS}, {"$USERI5", TW_WINDOW_BLOCKS}};
    for (const auto& [name, word] : kCounters) {
        m_w.Group(9, name);
        m_w.WriteDXFInteger(70, m_doc.m_toolWords[word]);
    }
    m_w.Group(0, "ENDSEC");
}

void Exporter::Tables()
{
    struct LineType {
        const char* name;
        const char* look;
        std::span<const double> pattern;  // dash lengths, gaps negative
    };
    static constexpr double kDashed[] = {0.5, -0.25};
    static constexpr double kDashDot[] = {0.5, -0.25, 0.0, -0.25};
    static constexpr double kCenter[] = {1.25, -0.25, 0.25, -0.25};
    static constexpr LineType kLineTypes[] = {{"CONTINUOUS", "Solid line", {}},
                                              {"DASHED", "__ __ __ __", kDashed},
                                              {"DASHDOT", "__ . __ . __", kDashDot},
                                              {"CENTER", "____ _ ____ _", kCenter}};
    m_w.Group(0, "SECTION");
    m_w.Group(2, "TABLES");
    m_w.Group(0, "TABLE");
    m_w.Group(2, "LTYPE");
    m_w.WriteDXFInteger(70, std::size(kLineTypes));
    for (const LineType& t : kLineTypes) {
        m_w.Group(0, "LTYPE");
        m_w.Group(2, t.name);
        m_w.WriteDXFInteger(70, 0);
        m_w.Group(3, t.look);
        m_w.WriteDXFInteger(72, 65);
        m_w.WriteDXFInteger(73, long(t.pattern.size()));
        double length = 0.0;
        for (double d : t.pattern)
            length += std::fabs(d);
        m_w.WriteDXFReal(40, length);
        for (double d : t.pattern)
            m_w.WriteDXFReal(49, d);
    }
    m_w.Group(0, "ENDTAB");

    m_w.Group(0, "TABLE");
    m_w.Group(2, "LAYER");
    m_w.WriteDXFInteger(70, long(m_names.tableLayers.size()));
    for (const FileNames::TableLayer& layer : m_names.tableLayers)
        WriteDXFLayer(layer);
    m_w.Group(0, "ENDTAB");
    m_w.Group(0, "ENDSEC");
}

void Exporter::WriteDXFLayer(const FileNames::TableLayer& layer)
{
    m_w.Group(0, "LAYER");
    m_w.Group(2, layer.name);
    // A layer that is off has a negative colour.
    m_w.WriteDXFInteger(70, layer.on ? 0 : 64);
    m_w.WriteDXFInteger(62, layer.on ? layer.colour : -layer.colour);
    m_w.Group(6, "CONTINUOUS");
}

void Exporter::WriteDXFBlockHeader(const std::string& name, const std::string& layer, int flags)
{
    m_w.Group(0, "BLOCK");
    m_w.Group(8, LayerName(layer));
    m_w.Group(2, name);
    m_w.WriteDXFInteger(70, flags);
    // Entities of a block lie about its origin, which an insert places.
    m_w.Point(10, CPointd());
    m_w.Group(3, name);
}

// The block "*D" k of a dimension: its lines but the definition line, and its texts.
void Exporter::WriteDXFDimensionBlock(const CAcot& dim, int k)
{
    WriteDXFBlockHeader("*D" + std::to_string(k), dim.m_layer, 1);
    // Parts take the dimension's colour (0: by block).
    const Pen pen{&LayerName(dim.m_layer), 0, 0};
    bool definition = true;
    for (CObject* part : dim.m_parts) {
        const auto* p = static_cast<const CDib*>(part);
        const std::size_t mark = m_w.Mark();
        // The definition line is not drawn.
        if (p->m_type == ENT_LINE && std::exchange(definition, false))
            continue;
        if (p->m_type == ENT_LINE) {
            const auto* line = static_cast<const CRecta*>(p->m_entity);
            Head("LINE", Pen{pen.layer, pen.colour, line->m_style});
            m_w.Point(10, line->m_p1);
            m_w.Point(11, line->m_p2);
        } else if (p->m_type == ENT_TEXT) {
            TextRecord("TEXT", *static_cast<const CText*>(p->m_entity), pen);
        }
        if (!m_w.Keep(mark))
            LeaveOut("DIMENSION", "part not finite or too large");
    }
    m_w.Group(0, "ENDBLK");
}

void Exporter::Blocks()
{
    m_w.Group(0, "SECTION");
    m_w.Group(2, "BLOCKS");
    for (POSITION pos = m_doc.GetFirstBlockPosition(); pos;) {
        const CBloq* block = m_doc.GetNextBlock(pos);
        const std::string& name = m_names.blockName.at(block);
        const int flags = (name[0] == '*' ? 1 : 0) | (block->GetAttribList().IsEmpty() ? 0 : 2);
        WriteDXFBlockHeader(name, block->m_layer, flags);
        for (CObject* obj : block->GetEntityList())
            Element(*static_cast<const CDib*>(obj), block);
        for (CObject* obj : block->GetAttribList()) {
            const auto* attrib = static_cast<const CAttrib*>(obj);
            const std::size_t mark = m_w.Mark();
            TextRecord("ATTDEF", attrib->m_text, PenOf(attrib->m_text));
            m_w.Group(3, TextValue(attrib->m_prompt));
            m_w.Group(2, TagName(attrib->m_tag));
            if (!m_w.Keep(mark))
                LeaveOut("ATTDEF", "value not finite or too large");
        }
        m_w.Group(0, "ENDBLK");
    }
    int k = 0;
    for (const CAcot* dim : m_names.dimensionList)
        WriteDXFDimensionBlock(*dim, k++);
    m_w.Group(0, "ENDSEC");
}

void Exporter::Entities()
{
    m_w.Group(0, "SECTION");
    m_w.Group(2, "ENTITIES");
    for (CObject* obj : m_doc.GetEntityList())
        Element(*static_cast<const CDib*>(obj), nullptr);
    m_w.Group(0, "ENDSEC");
}

// ---------------------------------------------------------------- entities

struct KindWriter {
    int type;
    const char* kind;  // for what was left out
    void (*write)(Exporter&, const CObject&);
};

void Exporter::Element(const CDib& element, const CBloq* block)
{
    // One row per entity type code. The hatch (21) and bitmap (22) entities
    // have no writer yet: add theirs here when they exist.
    static constexpr KindWriter kWriters[] = {
        {ENT_LINE, "LINE", [](Exporter& out, const CObject& e) { out.m_doc.WriteDXFLine(out, e); }},
        {ENT_CIRCLE, "CIRCLE", [](Exporter& out, const CObject& e) { out.WriteCircle(e); }},
        {ENT_ARC, "ARC", [](Exporter& out, const CObject& e) { out.WriteArc(e); }},
        {ENT_POINT, "POINT", [](Exporter& out, const CObject& e) { out.WritePoint(e); }},
        {ENT_TEXT, "TEXT", [](Exporter& out, const CObject& e) { out.WriteText(e); }},
        {ENT_PLINE, "POLYLINE", [](Exporter& out, const CObject& e) { out.WriteDXFPolyline(e); }},
        {ENT_INSERT, "INSERT", [](Exporter& out, const CObject& e) { out.WriteInsert(e); }},
        {ENT_DIMENSION, "DIMENSION", [](Exporter& out, const CObject& e) { out.WriteDXFDimension(e); }},
        {ENT_3DFACE, "3DFACE", [](Exporter& out, const CObject& e) { out.WriteFace(e); }},
        {ENT_HATCH, "hatch", nullptr},
        {ENT_BITMAP, "bitmap", nullptr},
    };
    const KindWriter* writer = nullptr;
    for (const KindWriter& w : kWriters)
        if (w.type == element.m_type)
            writer = &w;
    if (!writer || !element.m_entity) {
        LeaveOut("element of type " + std::to_string(element.m_type), "unknown kind");
        return;
    }
    if (!writer->write) {
        LeaveOut(writer->kind);
        return;
    }
    if (block && element.m_type == ENT_DIMENSION) {
        LeaveOut(writer->kind, "in a block");
        return;
    }
    if (element.m_type == ENT_INSERT) {
        if (m_names.cyclic.count(&element)) {
            LeaveOut(writer->kind, "of a block into itself");
            return;
        }
        if (!BlockNamed(static_cast<const CInsBl*>(element.m_entity)->m_block)) {
            LeaveOut(writer->kind, "of a missing block");
            return;
        }
    }
    m_inBlock = block != nullptr;
    const std::size_t mark = m_w.Mark();
    const int split[] = {m_result.splitPolylines, m_result.splitRuns};
    writer->write(*this, *element.m_entity);
    if (!m_w.Keep(mark)) {
        LeaveOut(writer->kind, "value not finite or too large");
        m_result.splitPolylines = split[0];
        m_result.splitRuns = split[1];
    }
}

Pen Exporter::PenOf(const CEntity& e) const
{
    // Entities come in runs on one layer.
    if (!m_lastKnown || e.m_layer != m_lastLayer) {
        m_lastKnown = true;
        m_lastLayer = e.m_layer;
        m_lastLayerIndex = m_names.layerIndex.at(e.m_layer);
    }
    const FileNames::TableLayer& layer = m_names.tableLayers[m_lastLayerIndex];
    const int colour = RGBToDXFColor(e.m_color);
    return {&layer.name, colour == layer.colour ? 256 : colour, e.m_style};
}

void Exporter::Head(std::string_view kind, const Pen& pen)
{
    m_w.Group(0, kind);
    m_w.Group(8, *pen.layer);
    if (const char* lineType = PenStyleToDXFLineType(pen.style))
        m_w.Group(6, lineType);
    if (pen.colour != 256)
        m_w.WriteDXFInteger(62, pen.colour);
}

// Thickness is written for entities drawn extruded only.
void Exporter::Thickness(int mode, double thickness)
{
    if (DrawsExtruded(mode) && thickness != 0.0)
        m_w.WriteDXFReal(39, thickness);
}


void Exporter::WriteCircle(const CObject& entity)
{
    const auto& circle = static_cast<const CCirc&>(entity);
    Head("CIRCLE", PenOf(circle));
    Thickness(circle.m_extrusionMode, circle.m_thickness);
    m_w.Point(10, circle.m_centre);
    m_w.WriteDXFReal(40, circle.m_rx);
}

void Exporter::WriteArc(const CObject& entity)
{
    const auto& arc = static_cast<const CArc&>(entity);
    Head("ARC", PenOf(arc));
    Thickness(arc.m_extrusionMode, arc.m_thick1);
    m_w.Point(10, arc.m_centre);
    m_w.WriteDXFReal(40, arc.m_rx);
    m_w.WriteDXFReal(50, Rounded(NormalDegrees(arc.m_start * 180.0 / kPi), 360.0));
    m_w.WriteDXFReal(51, Rounded(NormalDegrees(arc.m_end * 180.0 / kPi), 360.0));
}

void Exporter::WritePoint(const CObject& entity)
{
    const auto& point = static_cast<const CPunt&>(entity);
    Head("POINT", PenOf(point));
    m_w.Point(10, point.m_point);
}

void Exporter::TextPlace(const CText& t)
{
    const double height = t.m_font.lfHeight / 100.0;
    const double angle = NormalDegrees(-t.m_font.lfEscapement / 10.0);
    const bool aligned = t.m_justify == JUSTIFY_RIGHT || t.m_justify == JUSTIFY_CENTRE;
    if (!aligned) {
        m_w.Point(10, t.m_insert);
    } else {
        // The start is estimated; programs reading the file place the text by 11.
        const double width = EstimatedWidth(t.m_text, height) * (t.m_justify == JUSTIFY_CENTRE ? 0.5 : 1.0);
        const double back = angle * kPi / 180.0 + kPi;
        const double scale = std::max({std::fabs(t.m_insert.x), std::fabs(t.m_insert.y), width});
        m_w.Point(10, RoundedPoint(t.m_insert.x + width * std::cos(back), t.m_insert.y + width * std::sin(back),
                                   t.m_insert.z, scale));
    }
    m_w.WriteDXFReal(40, height);
    m_w.WriteDXFReal(50, angle);
    if (aligned) {
        m_w.WriteDXFInteger(72, t.m_justify == JUSTIFY_RIGHT ? 2 : 1);
        m_w.Point(11, t.m_insert);
    }
}

void Exporter::TextRecord(std::string_view kind, const CText& t, const Pen& pen)
{
    Head(kind, pen);
    TextPlace(t);
    m_w.Group(1, TextValue(t.m_text));
    // Attributes are not drawn: the file keeps them invisible.
    if (kind != "TEXT")
        m_w.WriteDXFInteger(70, 1);
}

void Exporter::WriteText(const CObject& entity)
{
    const auto& text = static_cast<const CText&>(entity);
    TextRecord("TEXT", text, PenOf(text));
}

// A piece of a polyline's chain as it is written: a line, or an arc (a
// whole one, or half of one too large for a bulge) left from angle `from`
// by the signed sweep about its centre.
struct Piece {
    const CRecta* line = nullptr;
    const CArc* arc = nullptr;
    double from = 0.0;
    double sweep = 0.0;

    // From the piece's start to its end, for an arc.
    double ChordX() const { return -2.0 * arc->m_rx * std::sin(sweep / 2.0) * std::sin(from + sweep / 2.0); }
    double ChordY() const { return 2.0 * arc->m_rx * std::sin(sweep / 2.0) * std::cos(from + sweep / 2.0); }
    CPointd Start() const { return line ? line->m_p1 : ArcPoint(from); }
    CPointd End() const { return line ? line->m_p2 : ArcPoint(from + sweep); }
    // How far from the origin an arc's points are known from: its centre's distance and radius.
    double Reach() const
    {
        return arc ? std::max(std::fabs(arc->m_centre.x), std::fabs(arc->m_centre.y)) + arc->m_rx : 0.0;
    }

private:
    CPointd ArcPoint(double angle) const
    {
        return CPointd(arc->m_centre.x + arc->m_rx * std::cos(angle), arc->m_centre.y + arc->m_rx * std::sin(angle));
    }
};

namespace {

// Ends closer than this, relative to their size and the reach of the arcs
// they lie on, are one point: far more than the rounding of an arc's ends,
// far less than any gap drawn on purpose.
constexpr double kMeet = 1e-10;

// Whether the chain goes on from a to b: a's end is b's start.
bool Meet(const Piece& a, const Piece& b)
{
    const CPointd p = a.End(), q = b.Start();
    const double within =
        kMeet * std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(q.x), std::fabs(q.y), a.Reach(), b.Reach()});
    return std::isfinite(within) && std::fabs(p.x - q.x) <= within && std::fabs(p.y - q.y) <= within;
}

// Larger bulges are written as two arcs: reading them back resolves a
// sweep so near a full turn too coarsely to give the same bulge again.
constexpr double kMaxBulge = 1000.0;

// v on a grid of step: where values computed from what was read back land
// again, a few units of their last place off at most.
double OnGrid(double v, double step)
{
    return std::nearbyint(v / step) * step;
}

// The step of the grid for values up to scale: 2^-44 of it, 6e-14 of it about.
double GridStep(double scale)
{
    return std::ldexp(1.0, std::ilogb(std::max(scale, 1e-300)) - 44);
}

// A bulge on its grid: steps of 2^-40 up to 1, growing with its square
// above, so that the sweep it stands for keeps steps of about 4e-12.
double BulgeOnGrid(double b)
{
    if (!std::isfinite(b))
        return b;
    return OnGrid(b, std::ldexp(1.0, 2 * std::max(0, std::ilogb(b)) - 40));
}

}  // namespace

// A polyline whose segments do not all meet is written as one POLYLINE for
// each run of segments that do, so that every segment keeps its place; the
// run across the close of a chain back at its start stays whole.
void Exporter::WriteDXFPolyline(const CObject& entity)
{
    const auto& pl = static_cast<const CPLine&>(entity);
    std::vector<Piece> pieces;
    double thickness = 0.0;
    for (CObject* obj : pl.m_segments) {
        const auto* seg = static_cast<const CDib*>(obj);
        if (seg->m_type == ENT_LINE) {
            const auto* line = static_cast<const CRecta*>(seg->m_entity);
            if (pieces.empty())
                thickness = line->m_thick1;
            pieces.push_back({line, nullptr, 0.0, 0.0});
        } else if (seg->m_type == ENT_ARC) {
            const auto* arc = static_cast<const CArc*>(seg->m_entity);
            if (pieces.empty())
                thickness = arc->m_thick1;
            const bool forward = arc->m_arcWord == 1;
            const double sweep = ArcSweep(arc->m_start, arc->m_end);
            const double from = forward ? arc->m_start : arc->m_end;
            const double signedSweep = forward ? sweep : -sweep;
            // Decided on the bulge as written: the sweep read back from it may
            // give a bulge just past the limit before its rounding.
            const double bulge = std::tan(sweep / 4.0);
            if (sweep >= 2.0 * kPi || bulge > 2.0 * kMaxBulge || BulgeOnGrid(bulge) > kMaxBulge) {
                pieces.push_back({nullptr, arc, from, signedSweep / 2.0});
                pieces.push_back({nullptr, arc, from + signedSweep / 2.0, signedSweep / 2.0});
            } else {
                pieces.push_back({nullptr, arc, from, signedSweep});
            }
        }
    }
    if (pieces.empty()) {
        LeaveOut("POLYLINE", "no segments");
        return;
    }
    auto breaks = [&] {
        std::vector<std::size_t> at;  // where a run starts, the first excepted
        for (std::size_t k = 1; k < pieces.size(); ++k)
            if (!Meet(pieces[k - 1], pieces[k]))
                at.push_back(k);
        return at;
    };
    std::vector<std::size_t> runs = breaks();
    if (!runs.empty() && Meet(pieces.back(), pieces.front())) {
        std::rotate(pieces.begin(), pieces.begin() + std::ptrdiff_t(runs.front()), pieces.end());
        runs = breaks();
    }
    if (!runs.empty()) {
        ++m_result.splitPolylines;
        m_result.splitRuns += int(runs.size()) + 1;
    }
    runs.insert(runs.begin(), 0);
    runs.push_back(pieces.size());
    const Pen pen = PenOf(pl);
    for (std::size_t r = 0; r + 1 < runs.size(); ++r)
        WriteChain(pen, pl.m_extrusionMode, thickness,
                   std::span<const Piece>(pieces).subspan(runs[r], runs[r + 1] - runs[r]));
}

// The chain's vertices: the ends of its lines as they are (where a line
// meets an arc the line's point is taken), and the others stepped along the
// arcs' chords from there, on the grid of the chain's size. A chain of arcs
// only starts at the point of its smallest arc, on the grid of that arc's
// size.
void Exporter::WriteChain(const Pen& pen, int extrusionMode, double thickness, std::span<const Piece> pieces)
{
    const std::size_t n = pieces.size();
    std::vector<CPointd> vertex(n + 1);
    std::vector<char> known(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k)
        if (pieces[k].line) {
            vertex[k + 1] = pieces[k].line->m_p2;
            known[k + 1] = 1;
        }
    for (std::size_t k = 0; k < n; ++k)
        if (pieces[k].line) {
            vertex[k] = pieces[k].line->m_p1;
            known[k] = 1;
        }
    // Twice: first to measure the chain, then on the grid of its size.
    const std::vector<CPointd> exact = vertex;
    const std::vector<char> exactKnown = known;
    double step = 0.0;
    double arcSize = 0.0;  // of the arc a chain of arcs only starts at
    bool closed = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertex = exact;
        known = exactKnown;
        auto put = [&](std::size_t k, double x, double y, double z) {
            vertex[k] = step > 0.0 ? CPointd(OnGrid(x, step), OnGrid(y, step), z) : CPointd(x, y, z);
            known[k] = 1;
        };
        // A chain back at its start has one vertex there.
        auto close = [&] {
            if (closed && known[0] != known[n]) {
                const std::size_t from = known[0] ? 0 : n;
                vertex[n - from] = vertex[from];
                known[n - from] = 1;
            }
        };
        auto forward = [&] {
            for (std::size_t k = 0; k < n; ++k)
                if (known[k] && !known[k + 1]) {
                    put(k + 1, vertex[k].x + pieces[k].ChordX(), vertex[k].y + pieces[k].ChordY(),
                        pieces[k].arc->m_centre.z);
                    close();
                }
        };
        if (std::find(known.begin(), known.end(), 1) == known.end()) {
            std::size_t smallest = 0;
            for (std::size_t k = 0; k < n; ++k) {
                const CArc& a = *pieces[k].arc;
                const double s = std::max(std::fabs(a.m_centre.x), std::fabs(a.m_centre.y)) + a.m_rx;
                if (k == 0 || s < arcSize) {
                    smallest = k;
                    arcSize = s;
                }
            }
            const Piece& p = pieces[smallest];
            put(smallest, p.arc->m_centre.x + p.arc->m_rx * std::cos(p.from),
                p.arc->m_centre.y + p.arc->m_rx * std::sin(p.from), p.arc->m_centre.z);
        }
        close();
        forward();
        for (std::size_t k = n; k-- > 0;)
            if (known[k + 1] && !known[k]) {
                put(k, vertex[k + 1].x - pieces[k].ChordX(), vertex[k + 1].y - pieces[k].ChordY(),
                    pieces[k].arc->m_centre.z);
                close();
            }
        if (pass == 0) {
            double scale = 0.0;
            for (const CPointd& v : vertex)
                scale = std::max({scale, std::fabs(v.x), std::fabs(v.y)});
            // Where the chain starts at a point of an arc, that point is known
            // only as well as the arc's centre and radius.
            step = GridStep(std::max(scale, arcSize));
            closed = n >= 2 && std::fabs(vertex[n].x - vertex[0].x) <= step &&
                     std::fabs(vertex[n].y - vertex[0].y) <= step;
        }
    }
    // Back at its start, the chain is written closed.
    closed = n >= 2 && vertex[n] == vertex[0];

    Head("POLYLINE", pen);
    m_w.WriteDXFInteger(66, 1);
    Thickness(extrusionMode, thickness);
    m_w.Point(10, CPointd(0.0, 0.0, vertex[0].z));
    m_w.WriteDXFInteger(70, closed ? 1 : 0);
    for (std::size_t k = 0; k <= n - (closed ? 1 : 0); ++k) {
        const bool arc = k < n && pieces[k].arc;
        WriteDXFVertex(*pen.layer, vertex[k], arc ? BulgeOnGrid(std::tan(pieces[k].sweep / 4.0)) : 0.0);
    }
    m_w.Group(0, "SEQEND");
    m_w.Group(8, *pen.layer);
}

void Exporter::WriteDXFVertex(const std::string& layer, const CPointd& p, double bulge)
{
    m_w.Group(0, "VERTEX");
    m_w.Group(8, layer);
    m_w.Point(10, p);
    if (bulge != 0.0)
        m_w.WriteDXFReal(42, bulge);
}

void Exporter::WriteInsert(const CObject& entity)
{
    const auto& insert = static_cast<const CInsBl&>(entity);
    const CBloq* block = BlockNamed(insert.m_block);
    const std::string& layer = LayerName(insert.m_layer);
    // The drawing's own inserts carry the attribute values; nested ones show
    // their block's definitions, as the values are the same.
    const bool attribs = !m_inBlock && !block->GetAttribList().IsEmpty();
    m_w.Group(0, "INSERT");
    m_w.Group(8, layer);
    if (attribs)
        m_w.WriteDXFInteger(66, 1);
    m_w.Group(2, m_names.blockName.at(block));
    m_w.Point(10, insert.m_insert);
    m_w.WriteDXFReal(41, insert.m_sx);
    m_w.WriteDXFReal(42, insert.m_sy);
    const double degrees = Rounded(NormalDegrees(insert.m_rotation * 180.0 / kPi), 360.0);
    m_w.WriteDXFReal(50, degrees);
    if (!attribs)
        return;
    // The block's values, placed as the insert read back places the block.
    CPlacement placement = insert.Placement();
    placement.a = degrees * kPi / 180.0;
    for (CObject* obj : block->GetAttribList()) {
        const auto* attrib = static_cast<const CAttrib*>(obj);
        CText text;
        text.Copy(attrib->m_text);
        PlaceEntity(text, placement);
        TextRecord("ATTRIB", text, Pen{&layer, 256, 0});
        m_w.Group(2, TagName(attrib->m_tag));
    }
    m_w.Group(0, "SEQEND");
    m_w.Group(8, layer);
}

void Exporter::WriteDXFDimension(const CObject& entity)
{
    const auto& dim = static_cast<const CAcot&>(entity);
    const CRecta* definition = dim.DefinitionLine();
    const CPointd p1 = definition ? definition->m_p1 : CPointd(), p2 = definition ? definition->m_p2 : CPointd();
    Head("DIMENSION", PenOf(dim));
    m_w.Group(2, "*D" + std::to_string(m_dimensions++));
    m_w.Point(10, p1, false);
    m_w.Point(11, p2, false);
    m_w.WriteDXFInteger(70, 1);
    m_w.Point(13, p1, false);
    m_w.Point(14, p2, false);
}

void Exporter::WriteFace(const CObject& entity)
{
    const auto& face = static_cast<const CTdface&>(entity);
    Head("3DFACE", PenOf(face));
    for (int i = 0; i < 4; ++i)
        m_w.Point(10 + i, face.m_c[i]);
    m_w.WriteDXFInteger(70, face.m_edgeMask & 15);
}

}  // namespace dxf::writing

using namespace dxf::writing;

void CRectaDoc::WriteDXFLine(Exporter& out, const CObject& entity) const
{
    const auto& line = static_cast<const CRecta&>(entity);
    out.Head("LINE", out.PenOf(line));
    out.Thickness(line.m_extrusionMode, line.m_thick1);
    out.m_w.Point(10, line.m_p1);
    out.m_w.Point(11, line.m_p2);
}

DxfExportResult ExportDXF(const CRectaDoc& doc)
{
    return Exporter(doc, nullptr).Run();
}

DxfExportResult ExportDXF(const CRectaDoc& doc, const ByteSink& sink)
{
    return Exporter(doc, &sink).Run();
}

bool CRectaDoc::WriteDXF(const std::string& path)
{
    DxfExportResult result;
    std::string error;
    bool written;
    {
        CWaitCursor wait;
        CRectaDoc world;
        const CRectaDoc& source = m_ucsActive && WorldSystemCopy(world) ? world : *this;
        written = ReplaceFileWith(
            path, kMaxFileBytes, [&](const ByteSink& sink) { result = ExportDXF(source, sink); }, error);
    }
    if (!written) {
        AfxMessageBox("The DXF file could not be written to " + path + ": " + error, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::vector<std::string> renamed;
    for (const auto* names : {&result.layerNames, &result.blockNames})
        for (const auto& [name, written] : *names)
            if (name != written)
                renamed.push_back(std::string(names == &result.layerNames ? "layer" : "block") + " \"" + name +
                                  "\" as \"" + written + "\"");
    std::string message;
    if (!result.leftOut.empty())
        message = "Some objects of the drawing were not written to " + path + ":\n" + DescribeLeftOut(result.leftOut);
    if (result.splitPolylines > 0) {
        if (!message.empty())
            message += "\n";
        message += "Polylines whose segments do not all meet, written to " + path +
                   " as one polyline for each run of segments that meet: " + std::to_string(result.splitPolylines) +
                   ", as " + std::to_string(result.splitRuns) + " polylines\n";
    }
    if (!renamed.empty()) {
        if (!message.empty())
            message += "\n";
        message += DescribeRenamed("Names written otherwise to " + path + ":", renamed);
    }
    if (!message.empty())
        AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
    return true;
}

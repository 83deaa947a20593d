// The DXF reader. The records (dxfgroups.h) of the HEADER, TABLES, BLOCKS
// and ENTITIES sections are read into staged lists, which are added to the
// drawing only once the whole file has been read to its EOF record.
#include "doc/dxf.h"

#include "doc/dxfgroups.h"
#include "doc/dxftables.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/entitykind.h"
#include "model/geometry.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "platform/fileio.h"
#include "platform/msgbox.h"
#include "platform/waitcursor.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <initializer_list>
#include <memory>
#include <new>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace dxf::reading {

using namespace dxf;

constexpr double kPi = 3.14159265358979323846;
// Copies an array insert may make; a larger array is left out.
constexpr long long kMaxArrayCopies = 1000;
// Objects (entities, segments, parts) an import may make: this many, and
// one more for every kBytesPerObject bytes of the file. Legitimate files make
// far fewer; shared dimension blocks and arrays could make a great many more.
constexpr std::size_t kFreeObjects = 1000000;
constexpr std::size_t kBytesPerObject = 16;
// Bytes the texts dimensions copy from their blocks may hold: this many,
// and kTextBytesPerByte for every byte of the file. A long text in a block
// that many dimensions share is copied into each.
constexpr std::size_t kFreeTextBytes = std::size_t(64) << 20;
constexpr std::size_t kTextBytesPerByte = 2;

// ---------------------------------------------------------------- staged drawing

struct StagedLayer {
    std::string name;
    COLORREF colour = 0;
    int on = 1;
    bool inDrawing = false;  // the drawing's own layer, which the file's entry does not change
};

struct StagedBlock {
    std::string name;
    std::string layer;
    std::vector<CElementPtr> elements;
    std::vector<CAttrib> attribs;
};

// A dimension waits for its block, which the file may define after it.
struct PendingDimension {
    CAcot* dim;
    std::vector<CElementPtr>* list;
    std::string block;
    CPointd base;
};

// An attribute value of an insert, compared with its block's once all blocks are read.
struct PendingAttrib {
    std::string block;
    std::string tag;
    std::string value;
};

// The groups every entity kind has.
struct Common {
    std::string_view layer;
    int colour = 256;  // 256 by layer
    int style = 0;
    double thickness = 0.0;
    bool paperSpace = false;
    int plane = 1;  // 1 in the plan, -1 seen from below (x mirrored), 0 in another plane
};

// The layer an entity goes on and the colour it takes.
struct Pen {
    const std::string* layer;
    COLORREF colour;
    int on;  // the layer's on/off word
};

int ModeFor(double thickness)
{
    return thickness != 0.0 ? EXTRUSION_THICK : EXTRUSION_FLAT;
}

// Angle in degrees brought into [0, 360).
double NormalDegrees(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0.0)
        a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

double NormalRadians(double radians)
{
    double a = std::fmod(radians, 2.0 * kPi);
    if (a < 0.0)
        a += 2.0 * kPi;
    return a >= 2.0 * kPi ? 0.0 : a;
}

// The arc from p0 to p1 whose bulge (tangent of a quarter of its sweep,
// positive counter-clockwise) is b != 0. Its angles are set first and its
// radius from the chord and the sweep those angles make, so that the
// writer, stepping along the chord the angles and radius give, comes back
// to p1. False when the arc cannot be represented: a sweep the angles do not
// resolve, or a radius or centre that is not finite.
bool ArcFromBulge(const CPointd& p0, const CPointd& p1, double b, CArc& arc)
{
    const double dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double chord = std::hypot(dx, dy);
    const double half = 2.0 * std::atan(std::fabs(b));
    // From the centre towards the arc's middle: right of the chord when counter-clockwise.
    const double middle = std::atan2(dy, dx) + (b > 0.0 ? -kPi / 2.0 : kPi / 2.0);
    const double start = NormalRadians(middle - half), end = NormalRadians(middle + half);
    double radius;
    if (start != end)
        radius = chord / (2.0 * std::sin(ArcSweep(start, end) / 2.0));
    else if (std::fabs(b) > 1.0)  // all but a full turn
        radius = chord * (1.0 + b * b) / (4.0 * std::fabs(b));
    else
        return false;
    const double toCentre = -radius * std::cos(half);
    arc.m_centre = CPointd(0.5 * (p0.x + p1.x) + toCentre * std::cos(middle),
                           0.5 * (p0.y + p1.y) + toCentre * std::sin(middle), p0.z);
    if (!std::isfinite(radius) || !std::isfinite(arc.m_centre.x) || !std::isfinite(arc.m_centre.y))
        return false;
    arc.m_rx = arc.m_ry = radius;
    arc.m_start = start;
    arc.m_end = end;
    arc.m_arcWord = b > 0.0 ? 1 : 0;
    return true;
}

class Importer {
public:
    Importer(CRectaDoc& doc, std::string_view text)
        : m_doc(doc),
          m_in(text),
          m_maxObjects(kFreeObjects + text.size() / kBytesPerObject),
          m_maxTextBytes(kFreeTextBytes + text.size() * kTextBytesPerByte)
    {
        for (POSITION pos = doc.GetFirstLayerPosition(); pos;) {
            const CLayer* layer = doc.GetNextLayer(pos);
            if (m_layerIndex.try_emplace(DxfNameKey(layer->m_name), m_layers.size()).second)
                m_layers.push_back({layer->m_name, layer->m_color, layer->m_on, true});
        }
        for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
            CBloq* block = doc.GetNextBlock(pos);
            m_docBlocks.try_emplace(DxfNameKey(block->m_name), block);
        }
    }

    // Reads the whole file into the staged lists; throws DxfError.
    void Read();
    // Settles what the drawing will take (block names, what is left out)
    // without changing it.
    void Prepare();
    // Adds what was staged to the drawing; when that fails (an allocation),
    // leaves the drawing as it was and throws on. True when the drawing changed.
    bool Commit();

    DxfLeftOut m_leftOut;
    std::set<std::string> m_renamed;  // what the message says of each name changed

private:
    // ---- structure
    bool NextInSection();
    void ReadHeader();
    void ReadTables();
    void ReadBlocks();
    // False when the section ended inside the block.
    bool ReadBlock();
    void ReadEntities();
    void ReadEntity();

    // ---- entity kinds
    void ReadAttdef();
    friend class ::CRectaDoc;

    // ---- shared steps
    Common ReadCommon();
    // Whether the entity read is added; when not, counts it as left out.
    bool Accept(std::string_view kind, const Common& c, bool complete, bool planar = false);
    // The layer (found in the drawing or the file, or staged now with the
    // entity's colour) and the entity's colour by the colour rule.
    Pen PenOf(const Common& c);
    // The layer named name, found in the drawing or the file in any case, or
    // staged now in colour; its index in m_layers.
    std::size_t LayerIndex(std::string name, COLORREF colour);
    void SetPen(CEntity& e, const Pen& pen, int style);
    // Gives e its pen and puts it where entities go; the drawing's own are
    // measured for the extents here, while they are at hand.
    void Add(int type, std::unique_ptr<CEntity> e, const Pen& pen, int style);
    // A point of the entity's plane in the drawing: mirrored for a plane seen
    // from below, then moved by minus the block's base point.
    CPointd Place(CPointd p, int plane) const;
    // Justification, insertion point and font of a TEXT, ATTDEF or ATTRIB;
    // vCode is its vertical alignment's code. False for an unusable height.
    bool ReadTextFields(const Common& c, int vCode, CText& text);
    // Names with characters code page 1252 lacks are noted in m_renamed.
    std::string Decode(std::string_view value, bool text);
    void LeaveOut(std::string_view kind, const char* reason = nullptr);
    // Counts objects about to be made and the bytes of the texts copied
    // among them; throws DxfError past either bound.
    void Make(std::size_t objects, std::size_t textBytes = 0);

    // ---- after the file
    void ResolveDimensions();
    void CheckAttribs();
    // The name the drawing gives the file's block named name.
    std::string FinalBlockName(std::string_view name) const;
    // Where the drawing stood before Commit.
    struct Before {
        POSITION lastLayer, lastEntity;
        int toolWords[3];
        CPointd extMin, extMax;
        std::vector<PlanBox> boxes;  // of its blocks
        bool modified;
    };
    void Rollback(const Before& before);

    CRectaDoc& m_doc;
    RecordReader m_in;
    const std::size_t m_maxObjects;
    const std::size_t m_maxTextBytes;
    std::size_t m_objects = 0;
    std::size_t m_textBytes = 0;
    Record m_rec;
    Fields m_f;
    std::string m_section;

    bool m_utf8 = false;
    int m_counters[3] = {-1, -1, -1};

    std::deque<StagedLayer> m_layers;  // the drawing's, then the file's new ones; never moved
    std::unordered_map<std::string, std::size_t> m_layerIndex;  // name key -> m_layers
    std::string_view m_lastLayer;  // the name last looked up, and where it led
    std::size_t m_lastLayerIndex = 0;

    std::unordered_map<std::string, CBloq*> m_docBlocks;  // name key -> the drawing's block
    std::vector<std::unique_ptr<StagedBlock>> m_blocks;
    std::unordered_map<std::string, StagedBlock*> m_blockIndex;  // name key -> m_blocks
    std::unordered_map<std::string, std::string> m_finalNames;  // name key -> name in the drawing
    CObList m_newLayers{ListOwnership::owns};                   // made by Prepare, taken by Commit

    std::vector<CElementPtr> m_entities;
    PlanBox m_extents;                      // of the drawing's new entities but inserts
    std::vector<CInsBl*> m_drawingInserts;  // the inserts among them
    std::vector<CInsBl*> m_inserts;         // every insert, the blocks' too
    std::vector<PendingDimension> m_dimensions;
    std::vector<PendingAttrib> m_attribs;

    // Where entities go: the ENTITIES list, or the block being read.
    std::vector<CElementPtr>* m_target = &m_entities;
    StagedBlock* m_block = nullptr;
    CPointd m_base;
    bool m_layout = false;   // inside a model or paper space block
    bool m_discard = false;  // inside a block left out as a whole

    struct Vertex {
        CPointd p;
        double bulge;
    };
    std::vector<Vertex> m_vertices;
};

// ---------------------------------------------------------------- structure

void Importer::Read()
{
    while (m_in.Next(m_rec)) {
        if (m_rec.name == "EOF") {
            ResolveDimensions();
            return;
        }
        if (m_rec.name != "SECTION")
            continue;
        m_f.Load(m_rec);
        m_section = std::string(m_f.Name(2));
        if (m_section == "HEADER")
            ReadHeader();
        else if (m_section == "TABLES")
            ReadTables();
        else if (m_section == "BLOCKS")
            ReadBlocks();
        else if (m_section == "ENTITIES")
            ReadEntities();
        else
            while (NextInSection()) {
            }
    }
    throw DxfError("the file ends at line " + std::to_string(m_rec.line) + " without its EOF record");
}

bool Importer::NextInSection()
{
    if (!m_in.Next(m_rec))
        throw DxfError("the file ends inside its " + Visible(m_section) + " section");
    if (m_rec.name == "ENDSEC" || m_rec.name == "EOF" || m_rec.name == "SECTION") {
        m_in.PutBack();
        return false;
    }
    return true;
}

// The HEADER is one record: pairs of a 9 group naming a variable and its value.
void Importer::ReadHeader()
{
    static constexpr std::string_view kCounters[] = {"$USERI3", "$USERI4", "$USERI5"};
    std::string_view variable;
    for (const Group& g : m_rec.groups) {
        if (g.code == 9) {
            variable = Trim(g.value);
            continue;
        }
        if (variable == "$ACADVER") {
            // AC1021 (2007) and later keep their texts in UTF-8.
            const std::string_view version = Trim(g.value);
            m_utf8 = version.size() == 6 && version.substr(0, 2) == "AC" && version >= "AC1021";
        }
        for (int i = 0; i < 3; ++i) {
            int value = 0;
            if (variable == kCounters[i] && ParseInt(g.value, value) && value >= 0 && value < 0xFFFF)
                m_counters[i] = value;
        }
    }
    while (NextInSection()) {
    }
}

void Importer::ReadTables()
{
    while (NextInSection()) {
        if (m_rec.name != "TABLE")
            continue;
        m_f.Load(m_rec);
        const bool layers = m_f.Name(2) == "LAYER";
        while (true) {
            if (!NextInSection())
                return;
            if (m_rec.name == "ENDTAB")
                break;
            if (layers && m_rec.name == "LAYER")
                m_doc.ReadDXFLayer(*this);
        }
    }
}


void Importer::ReadBlocks()
{
    while (NextInSection())
        if (m_rec.name == "BLOCK" && !ReadBlock())
            return;
}

bool Importer::ReadBlock()
{
    m_f.Load(m_rec);
    std::string name = Decode(m_f.Name(m_f.Has(2) ? 2 : 3), false);
    const std::string key = DxfNameKey(name);
    // The model and paper space blocks ("*" and, in some older files, "$") hold no block of the drawing.
    const std::string_view space = key.size() > 1 && (key[0] == '*' || key[0] == '$') ? std::string_view(key).substr(1) : "";
    m_layout = space.rfind("MODEL_SPACE", 0) == 0 || space.rfind("PAPER_SPACE", 0) == 0;
    const CPointd base = m_f.Point(10);
    const char* reason = name.empty() ? "no name" : m_f.bad ? "invalid value"
                                      : m_blockIndex.count(key) ? "defined twice"
                                                                : nullptr;
    std::unique_ptr<StagedBlock> block;
    if (!m_layout && reason) {
        LeaveOut("BLOCK", reason);
        m_discard = true;
    } else if (!m_layout) {
        block = std::make_unique<StagedBlock>();
        block->name = std::move(name);
        const std::string_view layer = m_f.Name(8);
        block->layer = m_layers[LayerIndex(Decode(layer.empty() ? "0" : layer, false), 0)].name;
        m_block = block.get();
        m_target = &block->elements;
    }
    m_base = base;

    bool sectionGoesOn = true;
    while (true) {
        if (!NextInSection()) {
            sectionGoesOn = false;
            break;
        }
        if (m_rec.name == "ENDBLK")
            break;
        ReadEntity();
    }
    m_target = &m_entities;
    m_block = nullptr;
    m_base = CPointd();
    m_layout = m_discard = false;
    if (block) {
        m_blockIndex.emplace(key, block.get());
        m_blocks.push_back(std::move(block));
    }
    return sectionGoesOn;
}

void Importer::ReadEntities()
{
    while (NextInSection())
        ReadEntity();
}

struct EntityReader {
    std::string_view name;
    void (CRectaDoc::*read)(Importer&);
};

void Importer::ReadEntity()
{
    // One row per DXF kind read. The hatch (21) and bitmap (22) entities have
    // no reader: HATCH and IMAGE records are counted as left out like every
    // kind that is not in this table.
    static constexpr EntityReader kReaders[] = {
        {"LINE", &CRectaDoc::ReadDXFLine},
        {"CIRCLE", &CRectaDoc::ReadDXFCircle},
        {"ARC", &CRectaDoc::ReadDXFArc},
        {"POINT", &CRectaDoc::ReadDXFPoint},
        {"TEXT", &CRectaDoc::ReadDXFText},
        {"POLYLINE", &CRectaDoc::ReadDXFPolyline},
        {"INSERT", &CRectaDoc::ReadDXFInsert},
        {"DIMENSION", &CRectaDoc::ReadDXFDimension},
        {"3DFACE", &CRectaDoc::ReadDXF3DFace},
        {"SOLID", &CRectaDoc::ReadDXFSolid},
    };
    m_f.Load(m_rec);
    for (const EntityReader& r : kReaders)
        if (m_rec.name == r.name) {
            (m_doc.*r.read)(*this);
            return;
        }
    if (m_rec.name == "ATTDEF") {
        ReadAttdef();
        return;
    }
    LeaveOut(m_rec.name.empty() ? "(no name)" : Visible(m_rec.name));
}

// ---------------------------------------------------------------- shared steps

Common Importer::ReadCommon()
{
    Common c;
    c.layer = m_f.Name(8);
    if (c.layer.empty())
        c.layer = "0";
    c.colour = m_f.Int(62, 256);
    if (c.colour < -256 || c.colour > 256)
        c.colour = 7;
    if (m_f.Has(6))
        DXFLineTypeCode(m_f.Name(6), c.style);
    c.thickness = m_f.Real(39);
    c.paperSpace = m_f.Int(67, 0) == 1;
    const double nx = m_f.Real(210), ny = m_f.Real(220), nz = m_f.Real(230, 1.0);
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    constexpr double kFlat = 1e-9;
    if (length > 0.0 && !(std::fabs(nx) <= kFlat * length && std::fabs(ny) <= kFlat * length))
        c.plane = 0;
    else if (nz < 0.0)
        c.plane = -1;
    return c;
}

bool Importer::Accept(std::string_view kind, const Common& c, bool complete, bool planar)
{
    if (m_discard)
        return false;
    const char* reason = nullptr;
    if (c.paperSpace || m_layout)
        reason = "paper space";
    else if (!complete)
        reason = "incomplete";
    else if (m_f.bad)
        reason = "invalid value";
    else if (planar && c.plane == 0)
        reason = "not in the plan";
    if (reason)
        LeaveOut(kind, reason);
    return !reason;
}

Pen Importer::PenOf(const Common& c)
{
    if (c.layer != m_lastLayer || m_lastLayer.empty()) {
        m_lastLayerIndex = LayerIndex(Decode(c.layer, false), c.colour == 256 ? 0 : DXFColorToRGB(std::abs(c.colour)));
        m_lastLayer = c.layer;
    }
    const StagedLayer& layer = m_layers[m_lastLayerIndex];
    // 256 is by layer; 0 (by block) and the numbers without a colour of their own are black.
    return {&layer.name, c.colour == 256 ? layer.colour : DXFColorToRGB(std::abs(c.colour)), layer.on};
}

std::size_t Importer::LayerIndex(std::string name, COLORREF colour)
{
    const auto [it, added] = m_layerIndex.try_emplace(DxfNameKey(name), m_layers.size());
    if (added)
        m_layers.push_back({std::move(name), colour, 1, false});
    return it->second;
}

void Importer::SetPen(CEntity& e, const Pen& pen, int style)
{
    e.m_width = 1;
    e.m_style = style;
    e.m_color = pen.colour;
    e.m_layer = *pen.layer;
}

void Importer::Make(std::size_t objects, std::size_t textBytes)
{
    m_objects += objects;
    m_textBytes += textBytes;
    if (m_objects > m_maxObjects)
        throw DxfError("it would make more than " + std::to_string(m_maxObjects) +
                       " objects, too many for a file of its size");
    if (m_textBytes > m_maxTextBytes)
        throw DxfError("its texts would hold more than " + std::to_string(m_maxTextBytes) +
                       " bytes, too many for a file of its size");
}

void Importer::Add(int type, std::unique_ptr<CEntity> e, const Pen& pen, int style)
{
    Make(1);
    SetPen(*e, pen, style);
    // Blocks' elements show as their inserts do.
    auto element = std::make_unique<CDib>(type, e.get(), m_block ? 1 : pen.on);
    CEntity* entity = e.release();
    m_target->push_back(std::move(element));
    if (m_block)
        return;
    // Inserts are measured by their blocks, once those are in the drawing.
    if (type == ENT_INSERT)
        m_drawingInserts.push_back(static_cast<CInsBl*>(entity));
    else
        EntityKind(type).ExtentsPoints(entity, [this](const CPointd& p) { m_extents.Add(p.x, p.y); });
}

// Appends an element of e to list, which owns both from then on; neither is
// left without an owner when the list cannot take it.
void AppendElement(CObList& list, int type, std::unique_ptr<CEntity> e)
{
    auto element = std::make_unique<CDib>(type, e.get());
    e.release();
    list.AddTail(element.get());
    element.release();
}

CPointd Importer::Place(CPointd p, int plane) const
{
    if (plane < 0) {
        p.x = -p.x;
        p.z = -p.z;
    }
    return CPointd(p.x - m_base.x, p.y - m_base.y, p.z - m_base.z);
}

void Importer::LeaveOut(std::string_view kind, const char* reason)
{
    std::string label(kind);
    if (reason)
        label.append(" (").append(reason).append(")");
    ++m_leftOut[label];
}

std::string Importer::Decode(std::string_view value, bool text)
{
    bool escaped = false;
    std::string decoded = DecodeValue(value, m_utf8, text, &escaped);
    if (escaped && !text)
        m_renamed.insert("\"" + decoded + "\" (characters outside code page 1252 kept as \\U+ codes)");
    return decoded;
}

// ---------------------------------------------------------------- entity kinds





bool Importer::ReadTextFields(const Common& c, int vCode, CText& text)
{
    const double defaultHeight = m_doc.m_textFont.lfHeight / 100.0;
    const double height = m_f.Has(40) && m_f.Real(40) != 0.0 ? m_f.Real(40) : defaultHeight;
    double rotation = m_f.Real(50);
    int horizontal = m_f.Int(72, 0);
    const int vertical = m_f.Int(vCode, 0);
    // Left on the base line, aligned and fit texts start at 10; the others are placed at 11.
    const bool atStart = (horizontal == 0 && vertical == 0) || horizontal == 3 || horizontal == 5 || !m_f.Has(11);
    CPointd p = m_f.Point(atStart ? 10 : 11);
    if (c.plane < 0) {
        p.x = -p.x;
        p.z = -p.z;
        rotation = 180.0 - rotation;
    }
    rotation = NormalDegrees(rotation);
    if (!atStart) {
        // Middle (4) is centred half a height below; the base line stands for the bottom.
        const double drop = horizontal == 4 || vertical == 2 ? height / 2.0 : vertical == 3 ? height : 0.0;
        const double up = (rotation + 90.0) * kPi / 180.0;
        p.x -= drop * std::cos(up);
        p.y -= drop * std::sin(up);
    }
    text.m_insert = CPointd(p.x - m_base.x, p.y - m_base.y, p.z - m_base.z);
    text.m_justify = atStart ? JUSTIFY_LEFT
                     : horizontal == 2 ? JUSTIFY_RIGHT
                     : horizontal == 1 || horizontal == 4 ? JUSTIFY_CENTRE
                                                          : JUSTIFY_LEFT;
    // The drawing file keeps the height in 16 bits, hundredths of a unit.
    const double hundredths = std::round(height * 100.0);
    if (!(height > 0.0) || hundredths > 65535.0)
        return false;
    int tenths = int(std::lround(rotation * 10.0));
    if (tenths >= 3600)
        tenths = 0;
    LOGFONT& font = text.m_font;
    font = LOGFONT();
    font.lfHeight = std::max(1, int(hundredths));
    font.lfEscapement = font.lfOrientation = -tenths;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_MODERN;
    SetFaceName(font, "Courier New");
    text.m_text = Decode(m_f.Raw(1), true);
    return true;
}


void Importer::ReadAttdef()
{
    const Common c = ReadCommon();
    CAttrib attrib;
    if (!ReadTextFields(c, 74, attrib.m_text))
        m_f.bad = true;
    attrib.m_tag = Decode(m_f.Name(2), false);
    attrib.m_prompt = Decode(m_f.Raw(3), true);
    if (!m_block) {
        if (!m_discard)
            LeaveOut("ATTDEF", m_layout ? "paper space" : nullptr);
        return;
    }
    if (!Accept("ATTDEF", c, m_f.HasAll({2, 10, 20}) && !attrib.m_tag.empty(), true))
        return;
    SetPen(attrib.m_text, PenOf(c), 0);
    m_block->attribs.push_back(std::move(attrib));
}






// ---------------------------------------------------------------- after the file

// What a dimension takes of its block: the lines and texts, a polyline of
// straight segments as its lines, and the kinds it cannot hold, to be
// reported.
struct DimensionParts {
    bool found = false;  // the block is there
    std::vector<const CDib*> parts;
    std::size_t textBytes = 0;  // of the texts among them
    std::vector<const char*> leftOut;
};

// The DXF kind of a record of this type, for what a dimension leaves out.
const char* DxfKindOf(int type)
{
    static constexpr std::pair<int, const char*> kKinds[] = {
        {ENT_LINE, "LINE"},     {ENT_CIRCLE, "CIRCLE"}, {ENT_ARC, "ARC"},
        {ENT_POINT, "POINT"},   {ENT_TEXT, "TEXT"},     {ENT_PLINE, "POLYLINE"},
        {ENT_INSERT, "INSERT"}, {ENT_DIMENSION, "DIMENSION"}, {ENT_3DFACE, "3DFACE"},
        {ENT_HATCH, "HATCH"},   {ENT_BITMAP, "IMAGE"},
    };
    for (const auto& [t, kind] : kKinds)
        if (t == type)
            return kind;
    return "(other)";
}

const CDib* AsElement(const CElementPtr& e)
{
    return e.get();
}
const CDib* AsElement(const CObject* e)
{
    return static_cast<const CDib*>(e);
}

template <class Elements>
void TakeParts(const Elements& elements, DimensionParts& out)
{
    out.found = true;
    for (const auto& item : elements) {
        const CDib* element = AsElement(item);
        if (element->m_type == ENT_LINE || element->m_type == ENT_TEXT) {
            out.parts.push_back(element);
            if (element->m_type == ENT_TEXT)
                out.textBytes += static_cast<const CText*>(element->m_entity)->m_text.size();
            continue;
        }
        bool straight = element->m_type == ENT_PLINE;
        if (straight)
            for (CObject* seg : static_cast<const CPLine*>(element->m_entity)->m_segments)
                straight = straight && static_cast<const CDib*>(seg)->m_type == ENT_LINE;
        if (!straight) {
            out.leftOut.push_back(DxfKindOf(element->m_type));
            continue;
        }
        for (CObject* seg : static_cast<const CPLine*>(element->m_entity)->m_segments)
            out.parts.push_back(static_cast<const CDib*>(seg));
    }
}

// Each dimension takes copies of what it can hold of its block (its lines
// and texts, the straight segments of its polylines as lines), on its own
// layer and in its own colour; the rest is reported. One whose block is
// missing is left out.
void Importer::ResolveDimensions()
{
    std::unordered_set<const CAcot*> missing;
    std::unordered_map<std::string, DimensionParts> byBlock;  // dimensions share blocks
    for (const PendingDimension& d : m_dimensions) {
        const std::string key = DxfNameKey(d.block);
        const auto [it, fresh] = byBlock.try_emplace(key);
        DimensionParts& taken = it->second;
        if (fresh) {
            if (const auto staged = m_blockIndex.find(key); staged != m_blockIndex.end())
                TakeParts(staged->second->elements, taken);
            else if (const auto doc = m_docBlocks.find(key); doc != m_docBlocks.end())
                TakeParts(doc->second->GetEntityList(), taken);
        }
        if (!taken.found) {
            missing.insert(d.dim);
            LeaveOut("DIMENSION", "no block");
            continue;
        }
        for (const char* kind : taken.leftOut)
            LeaveOut(kind, "part of a dimension");
        Make(taken.parts.size(), taken.textBytes);
        for (const CDib* element : taken.parts) {
            std::unique_ptr<CDib> copy(CopyPartRecord(*element));
            if (element->m_type == ENT_LINE) {
                auto* line = static_cast<CRecta*>(copy->m_entity);
                for (CPointd* p : {&line->m_p1, &line->m_p2})
                    *p = CPointd(p->x - d.base.x, p->y - d.base.y, p->z - d.base.z);
            } else {
                CPointd& p = static_cast<CText*>(copy->m_entity)->m_insert;
                p = CPointd(p.x - d.base.x, p.y - d.base.y, p.z - d.base.z);
            }
            d.dim->m_parts.AddTail(copy.get());
            copy.release();
        }
        d.dim->SetLayer();
        d.dim->SetColor(d.dim->m_color);
        for (CObject* obj : d.dim->m_parts)
            static_cast<CEntity*>(static_cast<CDib*>(obj)->m_entity)->m_width = 1;
    }
    if (missing.empty())
        return;
    for (const PendingDimension& d : m_dimensions)
        if (missing.count(d.dim))
            std::erase_if(*d.list, [&](const CElementPtr& e) { return e->m_entity == d.dim; });
}

// An insert carries no values of its own: the block's attributes hold them,
// so a value that differs from its block's is counted as left out.
void Importer::CheckAttribs()
{
    for (const PendingAttrib& a : m_attribs) {
        const std::string key = DxfNameKey(a.block);
        const CAttrib* found = nullptr;
        auto match = [&](const CAttrib& attrib) {
            if (!found && SameDxfName(attrib.m_tag, a.tag))
                found = &attrib;
        };
        if (const auto it = m_blockIndex.find(key); it != m_blockIndex.end()) {
            for (const CAttrib& attrib : it->second->attribs)
                match(attrib);
        } else if (const auto doc = m_docBlocks.find(key); doc != m_docBlocks.end()) {
            for (CObject* obj : doc->second->GetAttribList())
                match(*static_cast<const CAttrib*>(obj));
        }
        if (!found || found->Value() != a.value)
            LeaveOut("ATTRIB", "value of its own");
    }
}

std::string Importer::FinalBlockName(std::string_view name) const
{
    const std::string key = DxfNameKey(name);
    if (const auto it = m_finalNames.find(key); it != m_finalNames.end())
        return it->second;
    if (const auto doc = m_docBlocks.find(key); doc != m_docBlocks.end())
        return doc->second->m_name;
    return std::string(name);
}

void Importer::Prepare()
{
    CheckAttribs();

    // Dimension blocks that no insert names live on in their dimensions only.
    std::unordered_set<std::string> inserted;
    inserted.reserve(m_inserts.size());
    for (const CInsBl* insert : m_inserts)
        inserted.insert(DxfNameKey(insert->m_block));
    auto unused = [&](const std::unique_ptr<StagedBlock>& b) {
        const std::string key = DxfNameKey(b->name);
        return key.rfind("*D", 0) == 0 && !inserted.count(key);
    };
    std::unordered_set<const CObject*> dropped;
    for (const auto& b : m_blocks)
        if (unused(b))
            for (const CElementPtr& e : b->elements)
                dropped.insert(e->m_entity);
    std::erase_if(m_inserts, [&](const CInsBl* insert) { return dropped.count(insert); });
    std::erase_if(m_blocks, unused);

    // A name the drawing has already takes the first free "_2", "_3", ...
    std::unordered_set<std::string> taken;
    taken.reserve(m_docBlocks.size() + m_blocks.size());
    for (const auto& [key, block] : m_docBlocks)
        taken.insert(key);
    for (const auto& b : m_blocks)
        if (!m_docBlocks.count(DxfNameKey(b->name)))
            taken.insert(DxfNameKey(b->name));
    m_finalNames.reserve(m_blocks.size());
    for (const auto& b : m_blocks) {
        const std::string key = DxfNameKey(b->name);
        std::string name = b->name;
        for (int n = 2; m_docBlocks.count(key) && !taken.insert(DxfNameKey(name)).second; ++n)
            name = b->name + "_" + std::to_string(n);
        if (name != b->name)
            m_renamed.insert("block \"" + b->name + "\" as \"" + name + "\" (the drawing has a block of that name)");
        m_finalNames.emplace(key, std::move(name));
    }
    for (CInsBl* insert : m_inserts)
        insert->m_block = FinalBlockName(insert->m_block);

    for (const StagedLayer& staged : m_layers)
        if (!staged.inDrawing) {
            auto layer = std::make_unique<CLayer>(staged.colour, staged.on);
            layer->m_name = staged.name;
            m_newLayers.AddTail(layer.get());
            layer.release();
        }
}

// A counter counts the blocks made so far: the next is one more than the file's.
constexpr int kCounterWords[] = {TW_DOOR_BLOCKS, TW_DOUBLE_DOOR_BLOCKS, TW_WINDOW_BLOCKS};

bool Importer::Commit()
{
    Before before{m_doc.GetLayerList().GetTailPosition(),
                  m_doc.GetLastEntityPosition(),
                  {},
                  m_doc.m_extMin,
                  m_doc.m_extMax,
                  {},
                  m_doc.IsModified()};
    for (int i = 0; i < 3; ++i)
        before.toolWords[i] = m_doc.m_toolWords[kCounterWords[i]];
    before.boxes.reserve(std::size_t(m_doc.GetBlockList().GetCount()));
    for (CObject* obj : m_doc.GetBlockList())
        before.boxes.push_back(static_cast<const CBloq*>(obj)->m_box);

    bool changed = !m_newLayers.IsEmpty() || !m_blocks.empty() || !m_entities.empty();
    try {
        for (int i = 0; i < 3; ++i)
            if (m_counters[i] >= 0 && m_counters[i] + 1 != m_doc.m_toolWords[kCounterWords[i]]) {
                m_doc.m_toolWords[kCounterWords[i]] = m_counters[i] + 1;
                changed = true;
            }
        m_doc.GetLayerList().AddTail(m_newLayers);

        std::vector<CBloq*> added;
        added.reserve(m_blocks.size());
        m_doc.ReserveBlocks(m_blocks.size());
        for (auto& b : m_blocks) {
            CObList elements{ListOwnership::owns};
            for (CElementPtr& e : b->elements) {
                elements.AddTail(e.get());
                e.release();
            }
            CBloq* block = m_doc.AddBlock(CPointd(), elements, m_finalNames.at(DxfNameKey(b->name)));
            added.push_back(block);
            block->m_layer = b->layer;
            for (const CAttrib& a : b->attribs)
                block->AddAttrib(a);
        }
        for (CBloq* block : added)
            CollectReferencedBlocks(m_doc, block->GetEntityList(), *block);
        for (CBloq* block : added)
            block->CalcExtents(m_doc);
        m_doc.CalcBlockExtents();

        for (CElementPtr& e : m_entities) {
            m_doc.AppendEntityRecord(e.get());
            e.release();
        }
        if (!m_extents.Empty()) {
            m_doc.ExtendExtentsByPoint(CPointd(m_extents.lo.x, m_extents.lo.y));
            m_doc.ExtendExtentsByPoint(CPointd(m_extents.hi.x, m_extents.hi.y));
        }
        for (const CInsBl* insert : m_drawingInserts)
            m_doc.ExtendExtentsByEntity(ENT_INSERT, insert);
    } catch (...) {
        Rollback(before);
        throw;
    }
    if (changed)
        m_doc.SetModifiedFlag();
    return changed;
}

// What the drawing took goes from its tails, the staged rest first, so that
// its memory is free again before the blocks are taken out.
void Importer::Rollback(const Before& before)
{
    m_entities.clear();
    m_blocks.clear();
    m_newLayers.DeleteAll();
    for (POSITION pos; (pos = m_doc.GetLastEntityPosition()) != before.lastEntity;) {
        std::unique_ptr<CDib> record(m_doc.GetEntityRecord(pos));
        m_doc.RemoveEntityRecord(pos);
    }
    for (POSITION pos; (pos = m_doc.GetLayerList().GetTailPosition()) != before.lastLayer;)
        m_doc.RemoveLayerAt(pos);
    for (int i = 0; i < 3; ++i)
        m_doc.m_toolWords[kCounterWords[i]] = before.toolWords[i];
    m_doc.m_extMin = before.extMin;
    m_doc.m_extMax = before.extMax;
    m_doc.SetModifiedFlag(before.modified);
    std::size_t k = 0;
    POSITION pos = m_doc.GetBlockList().GetHeadPosition();
    for (; pos && k < before.boxes.size(); ++k)
        static_cast<CBloq*>(m_doc.GetBlockList().GetNext(pos))->m_box = before.boxes[k];
    std::vector<CBloq*> added;
    while (pos)
        added.push_back(static_cast<CBloq*>(m_doc.GetBlockList().GetNext(pos)));
    m_doc.RemoveBlocks(added);
}

}  // namespace dxf::reading

using namespace dxf::reading;

// ---------------------------------------------------------------- entity readers

void CRectaDoc::ReadDXFLine(Importer& in)
{
    const Common c = in.ReadCommon();
    const CPointd p1 = in.Place(in.m_f.Point(10), 1), p2 = in.Place(in.m_f.Point(11), 1);
    if (!in.Accept("LINE", c, in.m_f.HasAll({10, 20, 11, 21})))
        return;
    auto line = std::make_unique<CRecta>();
    line->m_p1 = p1;
    line->m_p2 = p2;
    line->m_thick1 = line->m_thick2 = c.thickness;
    line->m_extrusionMode = ModeFor(c.thickness);
    in.Add(ENT_LINE, std::move(line), in.PenOf(c), c.style);
}

void CRectaDoc::ReadDXFCircle(Importer& in)
{
    const Common c = in.ReadCommon();
    const CPointd centre = in.Place(in.m_f.Point(10), c.plane);
    const double radius = in.m_f.Real(40);
    if (!(radius > 0.0))
        in.m_f.bad = true;
    if (!in.Accept("CIRCLE", c, in.m_f.HasAll({10, 20, 40}), true))
        return;
    auto circle = std::make_unique<CCirc>();
    circle->m_centre = centre;
    circle->m_rx = circle->m_ry = radius;
    circle->m_thickness = c.thickness;
    circle->m_extrusionMode = ModeFor(c.thickness);
    in.Add(ENT_CIRCLE, std::move(circle), in.PenOf(c), c.style);
}

void CRectaDoc::ReadDXFArc(Importer& in)
{
    const Common c = in.ReadCommon();
    const CPointd centre = in.Place(in.m_f.Point(10), c.plane);
    const double radius = in.m_f.Real(40);
    double start = in.m_f.Real(50), end = in.m_f.Real(51);
    if (!(radius > 0.0))
        in.m_f.bad = true;
    if (!in.Accept("ARC", c, in.m_f.HasAll({10, 20, 40, 50, 51}), true))
        return;
    if (c.plane < 0)
        start = 180.0 - std::exchange(end, 180.0 - start);
    auto arc = std::make_unique<CArc>();
    arc->m_centre = centre;
    arc->m_rx = arc->m_ry = radius;
    arc->m_start = NormalDegrees(start) * kPi / 180.0;
    arc->m_end = NormalDegrees(end) * kPi / 180.0;
    arc->m_thick1 = arc->m_thick2 = c.thickness;
    arc->m_extrusionMode = ModeFor(c.thickness);
    in.Add(ENT_ARC, std::move(arc), in.PenOf(c), c.style);
}

void CRectaDoc::ReadDXFPoint(Importer& in)
{
    const Common c = in.ReadCommon();
    CPointd p = in.m_f.Point(10);
    // An elevation given after the z stands for it.
    if (in.m_f.Has(38) && (!in.m_f.Has(30) || in.m_f.After(38, 30)))
        p.z = in.m_f.Real(38);
    p = in.Place(p, 1);
    if (!in.Accept("POINT", c, in.m_f.HasAll({10, 20})))
        return;
    auto point = std::make_unique<CPunt>();
    point->m_point = p;
    in.Add(ENT_POINT, std::move(point), in.PenOf(c), 0);
}

void CRectaDoc::ReadDXFText(Importer& in)
{
    const Common c = in.ReadCommon();
    auto text = std::make_unique<CText>();
    if (!in.ReadTextFields(c, 73, *text))
        in.m_f.bad = true;
    if (!in.Accept("TEXT", c, in.m_f.HasAll({1, 10, 20}), true))
        return;
    in.Add(ENT_TEXT, std::move(text), in.PenOf(c), 0);
}

void CRectaDoc::ReadDXFPolyline(Importer& in)
{
    const Common c = in.ReadCommon();
    const int flags = in.m_f.Int(70, 0);
    const double elevation = in.m_f.Real(30);
    const bool headerBad = in.m_f.bad;
    const bool is3d = flags & 8;
    bool complete = true, valid = !headerBad;
    in.m_vertices.clear();
    while (in.NextInSection()) {
        if (in.m_rec.name == "SEQEND")
            break;
        if (in.m_rec.name != "VERTEX") {
            in.m_in.PutBack();
            break;
        }
        CPointd p;
        double bulge = 0.0;
        ReadDXFVertex(in, p, bulge);
        const int vertexFlags = in.m_f.Int(70, 0);
        if (!is3d && !in.m_f.Has(30))
            p.z = elevation;
        if (is3d)
            bulge = 0.0;
        complete = complete && in.m_f.HasAll({10, 20});
        valid = valid && !in.m_f.bad;
        // The frame of a spline-fit polyline is not drawn.
        if (!(vertexFlags & 16))
            in.m_vertices.push_back({p, bulge});
    }
    in.m_f.bad = !valid;
    complete = complete && in.m_vertices.size() >= 2;
    if (flags & 16) {
        in.LeaveOut("POLYLINE", "3D mesh");
        return;
    }
    if (flags & 64) {
        in.LeaveOut("POLYLINE", "polyface mesh");
        return;
    }
    if (!in.Accept("POLYLINE", c, complete, !is3d))
        return;

    in.Make(in.m_vertices.size());
    const Pen pen = in.PenOf(c);
    auto pline = std::make_unique<CPLine>();
    pline->m_extrusionMode = ModeFor(c.thickness);
    const int plane = is3d ? 1 : c.plane;
    auto segment = [&](const Importer::Vertex& from, const Importer::Vertex& to) {
        const CPointd p0 = in.Place(from.p, plane), p1 = in.Place(to.p, plane);
        // A plane seen from below runs the other way round.
        const double bulge = plane < 0 ? -from.bulge : from.bulge;
        // A bulge whose arc cannot be represented leaves the straight segment.
        CArc bulged;
        if (bulge != 0.0 && (p0.x != p1.x || p0.y != p1.y) && ArcFromBulge(p0, p1, bulge, bulged)) {
            auto arc = std::make_unique<CArc>(bulged);
            arc->m_thick1 = arc->m_thick2 = c.thickness;
            arc->m_extrusionMode = pline->m_extrusionMode;
            in.SetPen(*arc, pen, c.style);
            AppendElement(pline->m_segments, ENT_ARC, std::move(arc));
        } else {
            auto line = std::make_unique<CRecta>();
            line->m_p1 = p0;
            line->m_p2 = p1;
            line->m_thick1 = line->m_thick2 = c.thickness;
            line->m_extrusionMode = pline->m_extrusionMode;
            in.SetPen(*line, pen, c.style);
            AppendElement(pline->m_segments, ENT_LINE, std::move(line));
        }
    };
    const std::size_t n = in.m_vertices.size();
    for (std::size_t i = 1; i < n; ++i)
        segment(in.m_vertices[i - 1], in.m_vertices[i]);
    if ((flags & 1) && n >= 2 && !(in.m_vertices[n - 1].p == in.m_vertices[0].p))
        segment(in.m_vertices[n - 1], in.m_vertices[0]);
    in.Add(ENT_PLINE, std::move(pline), pen, c.style);
}

void CRectaDoc::ReadDXFInsert(Importer& in)
{
    const Common c = in.ReadCommon();
    const std::string block = in.Decode(in.m_f.Name(2), false);
    const CPointd at = in.m_f.Point(10);
    double sx = in.m_f.Real(41, 1.0);
    const double sy = in.m_f.Real(42, 1.0);
    double rotation = in.m_f.Real(50);
    const long long columns = std::max(1, in.m_f.Int(70, 1)), rows = std::max(1, in.m_f.Int(71, 1));
    const double columnStep = in.m_f.Real(44), rowStep = in.m_f.Real(45);
    const bool complete = in.m_f.HasAll({2, 10, 20}) && !block.empty();
    const bool valid = !in.m_f.bad && sx != 0.0 && sy != 0.0;
    const bool attribs = in.m_f.Int(66, 0) == 1;

    // The attributes that follow: values of this insert.
    std::vector<PendingAttrib> values;
    while (attribs && in.NextInSection()) {
        if (in.m_rec.name == "SEQEND")
            break;
        if (in.m_rec.name != "ATTRIB") {
            in.m_in.PutBack();
            break;
        }
        in.m_f.Load(in.m_rec);
        values.push_back({block, in.Decode(in.m_f.Name(2), false), in.Decode(in.m_f.Raw(1), true)});
    }
    in.m_f.bad = !valid;
    if (columns * rows > kMaxArrayCopies) {
        in.LeaveOut("INSERT", "array too large");
        return;
    }
    if (!in.Accept("INSERT", c, complete, true))
        return;
    for (PendingAttrib& value : values)
        in.m_attribs.push_back(std::move(value));

    if (c.plane < 0) {
        rotation = -rotation;
        sx = -sx;
    }
    rotation = NormalDegrees(rotation);
    const double angle = rotation * kPi / 180.0;
    const Pen pen = in.PenOf(c);
    for (long long r = 0; r < rows; ++r)
        for (long long k = 0; k < columns; ++k) {
            // Array copies step along the insert's own axes.
            const double ox = double(k) * columnStep, oy = double(r) * rowStep;
            CPointd p = at;
            p.x += ox * std::cos(angle) - oy * std::sin(angle);
            p.y += ox * std::sin(angle) + oy * std::cos(angle);
            auto insert = std::make_unique<CInsBl>();
            insert->m_block = block;
            insert->m_insert = in.Place(p, c.plane);
            insert->m_sx = sx;
            insert->m_sy = sy;
            insert->m_rotation = angle;
            CInsBl* added = insert.get();
            in.Add(ENT_INSERT, std::move(insert), pen, c.style);
            in.m_inserts.push_back(added);
        }
}

void CRectaDoc::ReadDXFDimension(Importer& in)
{
    const Common c = in.ReadCommon();
    const std::string block = in.Decode(in.m_f.Name(2), false);
    const CPointd p1 = in.m_f.Point(13), p2 = in.m_f.Point(14);
    if (!in.Accept("DIMENSION", c, !block.empty()))
        return;
    auto dim = std::make_unique<CAcot>();
    auto definition = std::make_unique<CRecta>();
    // The definition line lies in the plan.
    definition->m_p1 = CPointd(p1.x - in.m_base.x, p1.y - in.m_base.y);
    definition->m_p2 = CPointd(p2.x - in.m_base.x, p2.y - in.m_base.y);
    AppendElement(dim->m_parts, ENT_LINE, std::move(definition));
    CAcot* added = dim.get();
    in.Add(ENT_DIMENSION, std::move(dim), in.PenOf(c), c.style);
    in.m_dimensions.push_back({added, in.m_target, block, in.m_base});
}

void CRectaDoc::ReadDXF3DFace(Importer& in)
{
    const Common c = in.ReadCommon();
    CPointd corner[4];
    for (int i = 0; i < 4; ++i)
        corner[i] = in.Place(in.m_f.Point(10 + i), 1);
    // Three corners make a triangle: the fourth is the third.
    if (!in.m_f.Has(13))
        corner[3] = corner[2];
    const int mask = in.m_f.Int(70, 0) & 15;
    if (!in.Accept("3DFACE", c, in.m_f.HasAll({10, 20, 11, 21, 12, 22})))
        return;
    auto face = std::make_unique<CTdface>();
    std::copy(std::begin(corner), std::end(corner), face->m_c);
    face->m_edgeMask = mask;
    in.Add(ENT_3DFACE, std::move(face), in.PenOf(c), c.style);
}

// A solid becomes its outline: 1-2, 1-3, 2-4 and 4-3 (none when 4 is 3).
void CRectaDoc::ReadDXFSolid(Importer& in)
{
    const Common c = in.ReadCommon();
    CPointd corner[4];
    for (int i = 0; i < 4; ++i)
        corner[i] = in.Place(in.m_f.Point(10 + i), c.plane);
    if (!in.m_f.Has(13))
        corner[3] = corner[2];
    if (!in.Accept("SOLID", c, in.m_f.HasAll({10, 20, 11, 21, 12, 22}), true))
        return;
    const Pen pen = in.PenOf(c);
    static constexpr int kSides[4][2] = {{0, 1}, {0, 2}, {1, 3}, {3, 2}};
    for (const auto& side : kSides) {
        if (corner[side[0]] == corner[side[1]])
            continue;
        auto line = std::make_unique<CRecta>();
        line->m_p1 = corner[side[0]];
        line->m_p2 = corner[side[1]];
        line->m_thick1 = line->m_thick2 = c.thickness;
        line->m_extrusionMode = ModeFor(c.thickness);
        in.Add(ENT_LINE, std::move(line), pen, c.style);
    }
}

// A layer the drawing has (by name, in any case) keeps its colour and state.
void CRectaDoc::ReadDXFLayer(Importer& in)
{
    in.m_f.Load(in.m_rec);
    const std::string name = in.Decode(in.m_f.Name(2), false);
    const int flags = in.m_f.Int(70, 0);
    int colour = in.m_f.Int(62, 7);
    if (colour < -256 || colour > 256)
        colour = 7;
    if (name.empty() || in.m_f.bad) {
        in.LeaveOut("LAYER", name.empty() ? "no name" : "invalid value");
        return;
    }
    if (!in.m_layerIndex.try_emplace(DxfNameKey(name), in.m_layers.size()).second)
        return;
    // A negative colour turns the layer off, and so does freezing it (flag 1).
    const int on = colour < 0 || (flags & 1) ? 0 : 1;
    in.m_layers.push_back({name, DXFColorToRGB(std::abs(colour)), on, false});
}

// One VERTEX record: its point and bulge (0 when it has none).
void CRectaDoc::ReadDXFVertex(Importer& in, CPointd& point, double& bulge)
{
    in.m_f.Load(in.m_rec);
    point = in.m_f.Point(10);
    bulge = in.m_f.Real(42);
}

std::string DescribeLeftOut(const DxfLeftOut& leftOut)
{
    std::string text;
    for (const auto& [label, count] : leftOut)
        text += label + ": " + std::to_string(count) + "\n";
    return text;
}

std::string DescribeRenamed(const std::string& heading, const std::vector<std::string>& renamed)
{
    std::string text = heading + "\n";
    for (const std::string& line : renamed)
        text += line + "\n";
    return text;
}

namespace {

constexpr const char* kNoMemory = "there is not enough memory to import it";

// The import of a file without a byte-order mark; bad_alloc thrown on once
// the drawing is as it was.
DxfImportResult ImportText(CRectaDoc& doc, std::string_view text)
{
    DxfImportResult result;
    Importer importer(doc, text);
    try {
        importer.Read();
        importer.Prepare();
    } catch (const DxfError& e) {
        result.error = e.what();
        return result;
    }
    result.leftOut = importer.m_leftOut;
    result.renamed.assign(importer.m_renamed.begin(), importer.m_renamed.end());
    if (importer.Commit())
        doc.UpdateAllViews(nullptr);
    result.ok = true;
    return result;
}

}  // namespace

DxfImportResult ImportDXF(CRectaDoc& doc, std::string_view text)
{
    static constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
    if (text.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
        DxfImportResult result;
        result.error = "it is a binary DXF file, which cannot be read; save it as an ASCII DXF file";
        return result;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    try {
        return ImportText(doc, text);
    } catch (const std::bad_alloc&) {
        // What the import made is freed by now.
        DxfImportResult result;
        result.error = kNoMemory;
        return result;
    }
}

bool CRectaDoc::ReadDXF(const std::string& path)
{
    DxfImportResult result;
    std::vector<BYTE> bytes;
    std::string error;
    {
        CWaitCursor wait;
        bool read = false;
        try {
            read = ReadRegularFile(path, kMaxFileBytes, bytes, error);
        } catch (const std::bad_alloc&) {
            error = kNoMemory;
        }
        if (!read)
            result.error = error;
        else
            result = ImportDXF(*this, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    if (!result.ok) {
        AfxMessageBox("The DXF file " + path + " could not be imported: " + result.error + ". Nothing was added.",
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::string message;
    if (!result.leftOut.empty())
        message = "Some objects of the DXF file " + path + " were not imported:\n" + DescribeLeftOut(result.leftOut);
    if (!result.renamed.empty()) {
        if (!message.empty())
            message += "\n";
        message += DescribeRenamed("Names of the DXF file " + path + " that changed:", result.renamed);
    }
    if (!message.empty())
        AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
    return true;
}

// DXF import: the fixtures ezdxf made and the one written by hand, how groups
// become entities, and that a file that cannot be read whole adds nothing.
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "fuzz/dxf_import.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/blocks.h"
#include "support/dxf_listing.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using dxflisting::ListDrawing;
using dxflisting::Row;

constexpr double kPi = 3.14159265358979323846;

std::string FixturePath(const std::string& name)
{
    return std::string(ZP_TEST_DATA) + "/dxf/" + name;
}

// One record: its name, then code and value lines.
std::string Rec(std::string_view name, std::initializer_list<std::pair<int, std::string_view>> groups)
{
    std::string s = "0\n" + std::string(name) + "\n";
    for (const auto& [code, value] : groups)
        s += std::to_string(code) + "\n" + std::string(value) + "\n";
    return s;
}

// The shortest digits of v.
std::string Num(double v)
{
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string Section(std::string_view name, const std::string& records)
{
    return "0\nSECTION\n2\n" + std::string(name) + "\n" + records + "0\nENDSEC\n";
}

std::string File(const std::string& sections)
{
    return sections + "0\nEOF\n";
}

std::string EntitiesFile(const std::string& records)
{
    return File(Section("ENTITIES", records));
}

class DxfImport : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    // Imports text, which must read whole.
    DxfImportResult Import(const std::string& text)
    {
        DxfImportResult result = ImportDXF(doc, text);
        EXPECT_TRUE(result.ok) << result.error;
        return result;
    }

    // The entity of the drawing at index i.
    template <class T>
    T* Entity(int i)
    {
        return static_cast<T*>(static_cast<CDib*>(doc.GetEntityList().GetAt(doc.GetEntityList().FindIndex(i)))->m_entity);
    }

    CRectaDoc doc;
};

// The layer entry and entity readers, and the LINE writer, are the document's own.
static_assert(std::is_member_function_pointer_v<decltype(&CRectaDoc::ReadDXFLayer)> &&
              std::is_member_function_pointer_v<decltype(&CRectaDoc::ReadDXFLine)> &&
              std::is_member_function_pointer_v<decltype(&CRectaDoc::ReadDXFPolyline)> &&
              std::is_member_function_pointer_v<decltype(&CRectaDoc::ReadDXFVertex)> &&
              std::is_member_function_pointer_v<decltype(&CRectaDoc::ReadDXF3DFace)> &&
              std::is_member_function_pointer_v<decltype(&CRectaDoc::WriteDXFLine)>);

// ---------------------------------------------------------------- fixtures

class DxfFixture : public DxfImport, public ::testing::WithParamInterface<const char*> {};

TEST_P(DxfFixture, ImportGivesTheExpectedDrawing)
{
    const std::string name = GetParam();
    const DxfImportResult result = Import(FileText(FixturePath(name + ".dxf")));
    const std::string difference = dxflisting::Difference(
        dxflisting::ReadListing(FixturePath(name + ".expected")), ListDrawing(doc, result.leftOut));
    EXPECT_TRUE(difference.empty()) << difference;
    EXPECT_TRUE(doc.IsModified());
}

// Cut after every line, the file lacks its end: nothing is added.
TEST_P(DxfFixture, TruncatedAtAnyLineAddsNothing)
{
    const std::string text = FileText(FixturePath(std::string(GetParam()) + ".dxf"));
    doc.SetModifiedFlag(false);
    const std::vector<Row> before = ListDrawing(doc);
    int lines = 0;
    for (std::size_t end = 0; end < text.size(); end = text.find('\n', end) + 1, ++lines) {
        const DxfImportResult result = ImportDXF(doc, std::string_view(text).substr(0, end));
        ASSERT_FALSE(result.ok) << "cut after line " << lines;
        ASSERT_FALSE(result.error.empty());
    }
    EXPECT_GT(lines, 300);
    EXPECT_EQ(ListDrawing(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

// Damaged codes and values, lines lost or doubled: the import reads whole or adds nothing.
TEST_P(DxfFixture, CorruptionNeverLeavesAPartialDrawing)
{
    const std::string text = FileText(FixturePath(std::string(GetParam()) + ".dxf"));
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    static const char* const kJunk[] = {"", " ", "nan", "-inf", "1e308", "1e16", "-2147483649", "0", "SECTION",
                                        "ENDSEC", "EOF", "BLOCK", "ENDBLK", "POLYLINE", "SEQEND", "INSERT",
                                        "VERTEX", "70", "66", "x\ty", "\xFF\xFE", "%%", "\\U+00"};
    std::mt19937 random(20240617);
    const std::vector<Row> before = ListDrawing(doc);
    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> damaged = lines;
        for (int k = 0; k < 3; ++k) {
            const std::size_t at = random() % damaged.size();
            switch (random() % 4) {
            case 0: damaged[at] = kJunk[random() % std::size(kJunk)]; break;
            case 1: damaged[at] = std::to_string(int(random() % 1100) - 5); break;
            case 2: damaged.erase(damaged.begin() + std::ptrdiff_t(at)); break;
            default: damaged.insert(damaged.begin() + std::ptrdiff_t(at), damaged[at]); break;
            }
        }
        std::string joined;
        for (const std::string& line : damaged)
            joined += line + "\n";
        CRectaDoc target;
        target.OnNewDocument();
        const DxfImportResult result = ImportDXF(target, joined);
        if (!result.ok) {
            ASSERT_EQ(ListDrawing(target), before) << "round " << round;
            continue;
        }
        target.CalcExtents();
        ExportDXF(target);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DxfFixture, ::testing::Values("r12", "r2000", "quirks"));

TEST(DxfFuzzFinds, EveryStoredInputImportsOrFailsCleanly)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZP_TEST_DATA) + "/fuzz/dxf")) {
        const std::string bytes = FileText(entry.path().string());
        EXPECT_TRUE(ImportKeepsTheDrawingWhole(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()))
            << entry.path();
        ++inputs;
    }
    EXPECT_GE(inputs, 3);
}

TEST_F(DxfImport, ReadDXFNamesWhatWasLeftOutInOneMessage)
{
    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.ReadDXF(FixturePath("r2000.dxf")));
    ASSERT_EQ(boxes.asked.size(), 1u);
    for (const char* line : {"LWPOLYLINE: 1", "MTEXT: 2", "ELLIPSE: 1", "SPLINE: 1", "HATCH: 1",
                             "POLYLINE (3D mesh): 1", "POLYLINE (polyface mesh): 1", "LINE (paper space): 1",
                             "ATTRIB (value of its own): 1"})
        EXPECT_NE(boxes.asked[0].find(line), std::string::npos) << line << " in\n" << boxes.asked[0];
}

TEST_F(DxfImport, NothingLeftOutShowsNoMessage)
{
    const std::string path = testing::TempDir() + "/plain.dxf";
    std::ofstream(path, std::ios::binary) << EntitiesFile(Rec("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}));
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.ReadDXF(path));  // any message box fails the test
    EXPECT_EQ(doc.GetEntityList().GetCount(), 1);
    EXPECT_TRUE(doc.IsModified());
}

// ---------------------------------------------------------------- failures

// A file the import must refuse, and what the reason says.
struct Refusal {
    std::string text;
    const char* says;
};

// Each file is refused with its reason, and the drawing stays as it was.
void ExpectEachRefused(CRectaDoc& doc, std::initializer_list<Refusal> refusals)
{
    doc.SetModifiedFlag(false);
    const std::vector<Row> before = ListDrawing(doc);
    for (const Refusal& r : refusals) {
        const DxfImportResult result = ImportDXF(doc, r.text);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(r.says), std::string::npos) << result.error;
    }
    EXPECT_EQ(ListDrawing(doc), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DxfImport, FilesThatCannotBeReadWholeAddNothing)
{
    const std::string good = EntitiesFile(Rec("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}));
    const Refusal binary{"AutoCAD Binary DXF\r\n\x1a" + std::string(1, '\0') + "junk", "binary"};
    ExpectEachRefused(doc, {
        binary,
        {"", "without its EOF"},
        {good.substr(0, good.size() - 6), "without its EOF"},
        {"0\nSECTION\n2\nENTITIES\n" + Rec("LINE", {{10, "0"}}), "inside its ENTITIES section"},
        {"0\nSECTION\n2\nENTITIES\n0\nLINE\n1O\n0\n", "line 7: a group code was expected"},
        {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n", "ends after group code 10"},
        {"0\nSECTION\n2\nENTITIES\n0\nLINE\n" + std::string("\0" "1\r\x7F\r\n", 6), "not \"\\01\\r\\x7F\""},
        {"0\nSECTION\n2\nENT\tX\n0\nLINE\n", "inside its ENT\\tX section"},
    });
    EXPECT_EQ(doc.m_extMax, CPointd(12, 8));

    const std::string path = testing::TempDir() + "/binary.dxf";
    std::ofstream(path, std::ios::binary) << binary.text;
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(doc.ReadDXF(path));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("binary DXF"), std::string::npos);
    EXPECT_NE(boxes.asked[0].find("Nothing was added"), std::string::npos);
}

// Dimensions that share one block each copy it: the file is refused before
// the copies outgrow what a file of its size may make, in number or in the
// bytes of their texts, and the drawing stays as it was.
TEST_F(DxfImport, AFileThatWouldMakeTooManyObjectsIsRefused)
{
    auto shared = [](const std::string& parts, int dimensions) {
        std::string records;
        for (int i = 0; i < dimensions; ++i)
            records += Rec("DIMENSION", {{2, "*D1"}, {13, "0"}, {23, "0"}, {14, "1"}, {24, "0"}});
        return File(Section("BLOCKS", Rec("BLOCK", {{2, "*D1"}}) + parts + Rec("ENDBLK", {})) +
                    Section("ENTITIES", records));
    };
    std::string lines;
    for (int i = 0; i < 1000; ++i)
        lines += Rec("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    const std::string longText = Rec("TEXT", {{1, std::string(100000, 'x')}, {10, "0"}, {20, "0"}});
    ExpectEachRefused(doc, {
        {shared(lines, 1100), "it would make more than 1004305 objects, too many for a file of its size"},
        {shared(longText, 12000), "its texts would hold more than 68221078 bytes, too many for a file of its size"},
    });
}

// A dimension copies what it can hold of its block: its lines and texts, and
// a polyline of straight segments as lines. Every other part is reported,
// once for each dimension that lacks it.
TEST_F(DxfImport, DimensionsTakeWhatTheyCanHoldOfTheirBlockAndReportTheRest)
{
    const std::string straight = Rec("POLYLINE", {{66, "1"}}) + Rec("VERTEX", {{10, "1"}, {20, "5"}}) +
                                 Rec("VERTEX", {{10, "2"}, {20, "5"}}) + Rec("VERTEX", {{10, "2"}, {20, "6"}}) +
                                 Rec("SEQEND", {});
    const std::string bulged = Rec("POLYLINE", {{66, "1"}}) + Rec("VERTEX", {{10, "0"}, {20, "0"}, {42, "1"}}) +
                               Rec("VERTEX", {{10, "1"}, {20, "0"}}) + Rec("SEQEND", {});
    const std::string block =
        Rec("BLOCK", {{2, "*D1"}, {10, "1"}, {20, "1"}}) +
        Rec("LINE", {{10, "1"}, {20, "1"}, {11, "4"}, {21, "1"}}) + Rec("TEXT", {{1, "3"}, {10, "2"}, {20, "2"}}) +
        straight + bulged + Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "1"}}) + Rec("POINT", {{10, "0"}, {20, "0"}}) +
        Rec("ARC", {{10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}, {51, "90"}}) +
        Rec("3DFACE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {12, "1"}, {22, "1"}}) +
        Rec("INSERT", {{2, "Mark"}, {10, "0"}, {20, "0"}}) + Rec("ENDBLK", {}) + Rec("BLOCK", {{2, "Mark"}}) +
        Rec("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}}) + Rec("ENDBLK", {});
    const std::string dimension = Rec("DIMENSION", {{2, "*D1"}, {13, "0"}, {23, "0"}, {14, "3"}, {24, "0"}});
    const DxfImportResult result = Import(File(Section("BLOCKS", block) + Section("ENTITIES", dimension + dimension)));
    EXPECT_EQ(result.leftOut, (DxfLeftOut{{"POLYLINE (part of a dimension)", 2},
                                          {"CIRCLE (part of a dimension)", 2},
                                          {"POINT (part of a dimension)", 2},
                                          {"ARC (part of a dimension)", 2},
                                          {"3DFACE (part of a dimension)", 2},
                                          {"INSERT (part of a dimension)", 2}}));
    ASSERT_EQ(doc.GetEntityList().GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        std::vector<std::string> parts;
        for (CObject* obj : Entity<CAcot>(i)->m_parts) {
            const auto* part = static_cast<CDib*>(obj);
            if (part->m_type == ENT_TEXT) {
                const auto* t = static_cast<CText*>(part->m_entity);
                parts.push_back("T " + t->m_text + " " + Num(t->m_insert.x) + " " + Num(t->m_insert.y));
            } else {
                const auto* l = static_cast<CRecta*>(part->m_entity);
                parts.push_back("L " + Num(l->m_p1.x) + " " + Num(l->m_p1.y) + " " + Num(l->m_p2.x) + " " +
                                Num(l->m_p2.y));
            }
        }
        EXPECT_EQ(parts, (std::vector<std::string>{"L 0 0 3 0", "L 0 0 3 0", "T 3 1 1", "L 0 4 1 4", "L 1 4 1 5"}));
    }
}

// ---------------------------------------------------------------- entities

TEST_F(DxfImport, BulgesBecomeArcsInClosedForm)
{
    const double quarter = std::tan(kPi / 8);
    // A sweep of 4e-6 is resolved to 2e-10 by angles near 270 degrees; the radius follows it.
    const struct {
        double bulge;
        double cx, cy, r, startDeg, endDeg;
        int word;
        double within;
    } rows[] = {
        {quarter, 0.5, 0.5, std::sqrt(0.5), 225, 315, 1, 1e-12},
        {-quarter, 0.5, -0.5, std::sqrt(0.5), 45, 135, 0, 1e-12},
        {1.0, 0.5, 0.0, 0.5, 180, 0, 1, 1e-12},
        {-1.0, 0.5, 0.0, 0.5, 0, 180, 0, 1e-12},
        {std::tan(3 * kPi / 8), 0.5, -0.5, std::sqrt(0.5), 135, 45, 1, 1e-12},  // three quarters of a turn
        {1e-6, 0.5, (1 - 1e-12) / 4e-6, (1 + 1e-12) / 4e-6, 270 - 2 * 1e-6 * 180 / kPi, 270 + 2 * 1e-6 * 180 / kPi, 1,
         1e-9},
    };
    auto segment = [](const char* bulge, const char* x1) {
        auto d = std::make_unique<CRectaDoc>();
        d->OnNewDocument();
        EXPECT_TRUE(ImportDXF(*d, EntitiesFile(Rec("POLYLINE", {{66, "1"}}) +
                                               Rec("VERTEX", {{10, "0"}, {20, "0"}, {42, bulge}}) +
                                               Rec("VERTEX", {{10, x1}, {20, "0"}}) + Rec("SEQEND", {})))
                        .ok);
        return d;
    };
    // Arcs the angles cannot tell from their chord are the chord.
    for (const char* bulge : {"1e-300", "-1e-300", "1e-320", "1e-17"})
        for (const char* x1 : {"1", "1e10"}) {
            const auto d = segment(bulge, x1);
            const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(d->GetEntityList().GetHead())->m_entity);
            EXPECT_EQ(static_cast<CDib*>(pl->m_segments.GetHead())->m_type, ENT_LINE) << bulge << " " << x1;
        }
    for (const auto& row : rows) {
        char bulge[40];
        std::snprintf(bulge, sizeof bulge, "%.17g", row.bulge);
        const auto d = segment(bulge, "1");
        const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(d->GetEntityList().GetHead())->m_entity);
        ASSERT_EQ(pl->m_segments.GetCount(), 1);
        const auto* seg = static_cast<CDib*>(pl->m_segments.GetHead());
        ASSERT_EQ(seg->m_type, ENT_ARC);
        const auto* arc = static_cast<CArc*>(seg->m_entity);
        const double scale = std::max(1.0, row.r) * row.within / 1e-12;
        EXPECT_NEAR(arc->m_centre.x, row.cx, 1e-12 * scale) << row.bulge;
        EXPECT_NEAR(arc->m_centre.y, row.cy, 1e-12 * scale) << row.bulge;
        EXPECT_NEAR(arc->m_rx, row.r, 1e-12 * scale) << row.bulge;
        EXPECT_NEAR(arc->m_start * 180 / kPi, row.startDeg, 1e-9) << row.bulge;
        EXPECT_NEAR(arc->m_end * 180 / kPi, row.endDeg, 1e-9) << row.bulge;
        EXPECT_EQ(arc->m_arcWord, row.word);
    }
}

TEST_F(DxfImport, ClosedPolylinesGetTheirClosingSegment)
{
    const std::string square = Rec("VERTEX", {{10, "0"}, {20, "0"}}) + Rec("VERTEX", {{10, "1"}, {20, "0"}}) +
                               Rec("VERTEX", {{10, "1"}, {20, "1"}}) + Rec("VERTEX", {{10, "0"}, {20, "1"}});
    const struct {
        const char* flags;
        std::string vertices;
        int segments;
    } rows[] = {
        {"0", square, 3},
        {"1", square, 4},
        {"129", square, 4},  // 128 is the line-type pattern, not the closing
        {"1", square + Rec("VERTEX", {{10, "0"}, {20, "0"}}), 4},  // already back at its start
    };
    for (const auto& row : rows) {
        CRectaDoc d;
        d.OnNewDocument();
        ASSERT_TRUE(ImportDXF(d, EntitiesFile(Rec("POLYLINE", {{66, "1"}, {70, row.flags}}) + row.vertices +
                                              Rec("SEQEND", {})))
                        .ok);
        const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(d.GetEntityList().GetHead())->m_entity);
        EXPECT_EQ(pl->m_segments.GetCount(), row.segments) << row.flags;
        CPointd end;
        pl->GetEndPoint(end);
        if (row.segments == 4) {
            EXPECT_EQ(end, CPointd(0, 0));
        }
    }
}

TEST_F(DxfImport, TextsArePlacedByTheirAlignment)
{
    const struct {
        const char* h;  // 72
        const char* v;  // 73
        bool second;    // has 11/21 at (10, 20)
        const char* rotation;
        int justify;
        double x, y, degrees;
    } rows[] = {
        {"0", "0", true, "0", JUSTIFY_LEFT, 1, 2, 0},
        {"1", "0", true, "0", JUSTIFY_CENTRE, 10, 20, 0},
        {"2", "0", true, "0", JUSTIFY_RIGHT, 10, 20, 0},
        {"4", "0", true, "0", JUSTIFY_CENTRE, 10, 19, 0},  // middle: half the height of 2 lower
        {"2", "3", true, "90", JUSTIFY_RIGHT, 12, 20, 90},  // top: a height of 2 lower, to the right when turned
        {"0", "1", true, "0", JUSTIFY_LEFT, 10, 20, 0},
        {"3", "0", true, "0", JUSTIFY_LEFT, 1, 2, 0},  // aligned and fit start at 10
        {"5", "0", true, "0", JUSTIFY_LEFT, 1, 2, 0},
        {"1", "0", false, "0", JUSTIFY_LEFT, 1, 2, 0},  // without 11 the text starts at 10
        {"0", "0", true, "-90", JUSTIFY_LEFT, 1, 2, 270},
        {"0", "0", true, "725", JUSTIFY_LEFT, 1, 2, 5},
        {"0", "0", true, "359.96", JUSTIFY_LEFT, 1, 2, 0},
    };
    for (const auto& row : rows) {
        CRectaDoc d;
        d.OnNewDocument();
        std::string text = Rec("TEXT", {{1, "T"}, {10, "1"}, {20, "2"}, {40, "2"}, {50, row.rotation},
                                        {72, row.h}, {73, row.v}});
        if (row.second)
            text += "11\n10\n21\n20\n";
        ASSERT_TRUE(ImportDXF(d, EntitiesFile(text)).ok);
        const auto* t = static_cast<CText*>(static_cast<CDib*>(d.GetEntityList().GetHead())->m_entity);
        const std::string where = std::string(row.h) + "/" + row.v + " at " + row.rotation;
        EXPECT_EQ(t->m_justify, row.justify) << where;
        EXPECT_NEAR(t->m_insert.x, row.x, 1e-12) << where;
        EXPECT_NEAR(t->m_insert.y, row.y, 1e-12) << where;
        EXPECT_EQ(t->m_font.lfEscapement, -LONG(std::lround(row.degrees * 10))) << where;
        EXPECT_EQ(t->m_font.lfHeight, 200);
        EXPECT_EQ(t->m_font.lfPitchAndFamily, 0x32);
    }
}

TEST_F(DxfImport, LineTypesAreNamedByTheirStartInCapitals)
{
    const struct {
        const char* name;
        int style;
    } rows[] = {{"DASHED", 1}, {"DASHED2", 1}, {"DASHEDX2", 1}, {"CENTER2", 3}, {"DASHDOT", 2},
                {"dashed", 0}, {"Center", 0},  {"DASH", 0}};
    std::string records;
    for (const auto& row : rows)
        records += Rec("LINE", {{6, row.name}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    Import(EntitiesFile(records));
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Entity<CEntity>(int(i))->m_style, rows[i].style) << rows[i].name;
}

TEST_F(DxfImport, EntityColoursFollowTheColourNumbers)
{
    const struct {
        const char* colour;  // group 62, or null
        COLORREF expected;
    } rows[] = {
        {nullptr, 0x00FFFF}, {"256", 0x00FFFF}, {"0", 0x000000}, {"3", 0x00FF00},
        {"-1", 0x0000FF},    {"7", 0x000000},   {"42", 0x000000},
    };
    std::string records;
    for (const auto& row : rows) {
        records += Rec("POINT", {{8, "Yellow"}, {10, "0"}, {20, "0"}});
        if (row.colour)
            records += "62\n" + std::string(row.colour) + "\n";
    }
    Import(File(Section("TABLES", Rec("TABLE", {{2, "LAYER"}}) + Rec("LAYER", {{2, "Yellow"}, {62, "2"}}) +
                                      Rec("ENDTAB", {})) +
                Section("ENTITIES", records)));
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(Entity<CEntity>(int(i))->m_color, rows[i].expected) << (rows[i].colour ? rows[i].colour : "none");
}

TEST_F(DxfImport, LayerEntriesTakeColourAndState)
{
    const struct {
        const char* name;
        const char* colour;  // null: none
        const char* flags;
        COLORREF expected;
        int on;
    } rows[] = {
        {"A", "-3", "0", 0x00FF00, 0},  {"B", "3", "64", 0x00FF00, 1}, {"C", "3", "65", 0x00FF00, 0},
        {"D", "5", "1", 0xFF0000, 0},   {"E", nullptr, "0", 0, 1},     {"F", "256", "0", 0, 1},
    };
    std::string entries;
    for (const auto& row : rows) {
        entries += Rec("LAYER", {{2, row.name}, {70, row.flags}});
        if (row.colour)
            entries += "62\n" + std::string(row.colour) + "\n";
    }
    entries += Rec("LAYER", {{2, "Bad"}, {62, "x"}}) + Rec("LAYER", {{70, "0"}});  // left out
    Import(File(Section("TABLES", Rec("TABLE", {{2, "LTYPE"}}) + Rec("LAYER", {{2, "Not a layer"}}) +
                                      Rec("ENDTAB", {}) + Rec("TABLE", {{2, "LAYER"}}) + entries + Rec("ENDTAB", {}))));
    for (const auto& row : rows) {
        CLayer* layer = nullptr;
        ASSERT_TRUE(doc.FindLayer(row.name, layer)) << row.name;
        EXPECT_EQ(layer->m_color, row.expected) << row.name;
        EXPECT_EQ(layer->m_on, row.on) << row.name;
    }
    CLayer* none = nullptr;
    EXPECT_FALSE(doc.FindLayer("Not a layer", none));
    EXPECT_FALSE(doc.FindLayer("Bad", none) || doc.FindLayer("", none));
}

TEST_F(DxfImport, LayersMergeByNameAndTheDrawingKeepsItsOwn)
{
    CLayer* walls = doc.AddLayer(0x0000FF, 0);
    walls->m_name = "Walls";
    const int layers = doc.GetLayerList().GetCount();
    Import(File(Section("TABLES", Rec("TABLE", {{2, "LAYER"}}) + Rec("LAYER", {{2, "WALLS"}, {62, "5"}}) +
                                      Rec("ENDTAB", {})) +
                Section("ENTITIES", Rec("POINT", {{8, "walls"}, {10, "0"}, {20, "0"}}))));
    EXPECT_EQ(doc.GetLayerList().GetCount(), layers);
    EXPECT_EQ(walls->m_color, 0x0000FFu);
    EXPECT_EQ(walls->m_on, 0);
    EXPECT_EQ(Entity<CEntity>(0)->m_layer, "Walls");
    EXPECT_EQ(Entity<CEntity>(0)->m_color, 0x0000FFu);
    EXPECT_EQ(static_cast<CDib*>(doc.GetEntityList().GetHead())->m_visible, 0);
}

TEST_F(DxfImport, ABlockWhoseNameExistsIsRenamedAndItsInsertsFollowIt)
{
    CBloq* mine = AddNamedBlock(doc, "Door", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    const std::string blocks =
        Rec("BLOCK", {{2, "DOOR"}, {10, "0"}, {20, "0"}}) + Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "1"}}) +
        Rec("ENDBLK", {}) + Rec("BLOCK", {{2, "Frame"}, {10, "0"}, {20, "0"}}) +
        Rec("INSERT", {{2, "Door"}, {10, "1"}, {20, "0"}}) + Rec("ENDBLK", {}) +
        Rec("BLOCK", {{2, "DOOR_2"}, {10, "0"}, {20, "0"}}) + Rec("ENDBLK", {});
    Import(File(Section("BLOCKS", blocks) + Section("ENTITIES", Rec("INSERT", {{2, "door"}, {10, "0"}, {20, "0"}}))));
    ASSERT_EQ(doc.GetBlockList().GetCount(), 4);
    EXPECT_EQ(doc.FindBlock("Door"), mine);
    EXPECT_EQ(static_cast<CDib*>(mine->GetEntityList().GetHead())->m_type, ENT_LINE);
    const CBloq* renamed = doc.FindBlock("DOOR_3");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(static_cast<CDib*>(renamed->GetEntityList().GetHead())->m_type, ENT_CIRCLE);
    EXPECT_NE(doc.FindBlock("DOOR_2"), nullptr);
    EXPECT_EQ(Entity<CInsBl>(0)->m_block, "DOOR_3");
    const CBloq* frame = doc.FindBlock("Frame");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(static_cast<CInsBl*>(static_cast<CDib*>(frame->GetEntityList().GetHead())->m_entity)->m_block,
              "DOOR_3");
    // The file's blocks name the blocks they insert, for writing them on their own.
    EXPECT_EQ(frame->FindRefBlock("DOOR_3"), renamed);
}

TEST_F(DxfImport, BlocksThatInsertThemselvesDrawAndMeasure)
{
    Import(FileText(FixturePath("quirks.dxf")));
    const CBloq* self = doc.FindBlock("Self");
    ASSERT_NE(self, nullptr);
    std::size_t placed = 0;
    WalkPlacedEntities(doc, *self, CPlacement(), [&](CElementPtr&) { ++placed; });
    EXPECT_EQ(placed, 0u);  // nothing but inserts of each other
    doc.CalcExtents();
    EXPECT_TRUE(std::isfinite(doc.m_extMin.x) && std::isfinite(doc.m_extMax.y));
}

TEST_F(DxfImport, TheExtentsTakeInWhatWasAdded)
{
    Import(File(Section("BLOCKS", Rec("BLOCK", {{2, "B"}, {10, "0"}, {20, "0"}}) +
                                      Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "5"}}) + Rec("ENDBLK", {})) +
                Section("ENTITIES", Rec("LINE", {{10, "100"}, {20, "200"}, {11, "300"}, {21, "-400"}}) +
                                        Rec("INSERT", {{2, "B"}, {10, "-50"}, {20, "0"}}) +
                                        Rec("INSERT", {{2, "B"}, {10, "-90"}, {20, "0"}, {50, "x"}}))));
    EXPECT_EQ(doc.m_extMin.x, -55) << "an insert with an unreadable value is left out";
    EXPECT_EQ(doc.m_extMin.y, -400);
    EXPECT_EQ(doc.m_extMax.x, 300);
    EXPECT_EQ(doc.m_extMax.y, 200);
}

TEST_F(DxfImport, BlockBasePointsMoveTheirEntities)
{
    Import(File(Section("BLOCKS", Rec("BLOCK", {{2, "B"}, {10, "5"}, {20, "2"}, {30, "1"}}) +
                                      Rec("LINE", {{10, "5"}, {20, "2"}, {30, "1"}, {11, "6"}, {21, "2"}, {31, "1"}}) +
                                      Rec("ENDBLK", {}))));
    const CBloq* b = doc.FindBlock("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->m_base, CPointd());
    const auto* line = static_cast<CRecta*>(static_cast<CDib*>(b->GetEntityList().GetHead())->m_entity);
    EXPECT_EQ(line->m_p1, CPointd(0, 0, 0));
    EXPECT_EQ(line->m_p2, CPointd(1, 0, 0));
}

TEST_F(DxfImport, CountersAreOneMoreThanTheFiles)
{
    doc.m_toolWords[TW_DOOR_BLOCKS] = 7;
    doc.m_toolWords[TW_DOUBLE_DOOR_BLOCKS] = 2;
    doc.m_toolWords[TW_WINDOW_BLOCKS] = 3;
    Import(File(Section("HEADER", "9\n$USERI3\n70\n5\n9\n$USERI4\n70\n5\n9\n$USERI5\n70\nx\n")));
    EXPECT_EQ(doc.m_toolWords[TW_DOOR_BLOCKS], 6);
    EXPECT_EQ(doc.m_toolWords[TW_DOUBLE_DOOR_BLOCKS], 6);
    EXPECT_EQ(doc.m_toolWords[TW_WINDOW_BLOCKS], 3);
}

// Short decimals take a quicker way than other numbers; both read as std::from_chars does.
TEST_F(DxfImport, NumbersReadExactly)
{
    std::mt19937_64 random(29);
    std::vector<std::string> texts = {"0", "-0", "+1.5", "1.", ".5", "-.25", "1e3", "1E-3", "12345678901234.5",
                                      "123456789012345678", "0.000000000000000000001", "4.9e-324", "1e22", "1e23",
                                      "9007199254740993", "0.1e-22", "  7  ", "\t-2.5", ".", "-e2"};
    for (int i = 0; i < 3000; ++i) {
        std::string t = std::to_string(random() % 1000000000000000ull);
        t.insert(random() % (t.size() + 1), ".");
        if (i % 3 == 0)
            t += "e" + std::to_string(int(random() % 50) - 25);
        texts.push_back((i % 2 ? "-" : "") + t);
    }
    std::string records;
    std::vector<double> expected;  // the values read; the others are left out
    for (const std::string& t : texts) {
        records += Rec("POINT", {{10, t}, {20, "0"}});
        std::string_view s = t;
        while (s.front() == ' ' || s.front() == '\t')
            s.remove_prefix(1);
        while (s.back() == ' ')
            s.remove_suffix(1);
        if (s.front() == '+')
            s.remove_prefix(1);
        double value = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec == std::errc() && end == s.data() + s.size() && std::fabs(value) <= 1e15)
            expected.push_back(value);
    }
    Import(EntitiesFile(records));
    ASSERT_EQ(doc.GetEntityList().GetCount(), int(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Entity<CPunt>(int(i))->m_point.x, expected[i]) << i;
}

TEST_F(DxfImport, TextsAreKeptInCodePage1252)
{
    const struct {
        const char* version;
        const char* value;
        const char* expected;
    } rows[] = {
        {"AC1009", "Espa\xF1" "a", "Espa\xF1" "a"},
        {"AC1009", "Espa\\U+00F1a \\U+20AC \\U+4e2d \\U+zz \\X+00F1 \\U+00ff\\U+0039",
         "Espa\xF1" "a \x80 \\U+4E2D \\U+zz \\X+00F1 \xFF" "9"},
        {"AC1027", "Espa\xC3\xB1" "a \xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x98\x80 \xFF \xC3\xBF \xE0\xA0\x80",
         "Espa\xF1" "a \x80 \\U+4E2D \\U+D83D\\U+DE00 ? \xFF \\U+0800"},
        {"AC1009", "20%%dC %%p1 %%c5 %%%% %%uunder%%u %%0650 50%", "20\xB0" "C \xB1" "1 \xD8" "5 %% under A0 50%"},
    };
    for (const auto& row : rows) {
        CRectaDoc d;
        d.OnNewDocument();
        ASSERT_TRUE(ImportDXF(d, File(Section("HEADER", "9\n$ACADVER\n1\n" + std::string(row.version) + "\n") +
                                      Section("ENTITIES", Rec("TEXT", {{10, "0"}, {20, "0"}, {1, row.value}}))))
                        .ok);
        EXPECT_EQ(static_cast<CText*>(static_cast<CDib*>(d.GetEntityList().GetHead())->m_entity)->m_text,
                  row.expected)
            << row.value;
    }
}

// Names and texts in characters code page 1252 lacks stay apart as \U+
// codes, are named in the one message, and go out and come back the same.
TEST_F(DxfImport, NamesOutsideCodePage1252StayApartAndComeBack)
{
    const std::string walls = "\xD0\xA1\xD1\x82\xD0\xB5\xD0\xBD\xD1\x8B";
    const std::string doors = "\xD0\x94\xD0\xB2\xD0\xB5\xD1\x80\xD0\xB8";
    const std::string window = "\xD0\x9E\xD0\xBA\xD0\xBD\xD0\xBE", cupboard = "\xD0\xA8\xD0\xBA\xD0\xB0\xD1\x84";
    const std::string path = testing::TempDir() + "/cyrillic.dxf";
    std::ofstream(path, std::ios::binary) << File(
        Section("HEADER", "9\n$ACADVER\n1\nAC1024\n") +
        Section("TABLES", Rec("TABLE", {{2, "LAYER"}}) + Rec("LAYER", {{2, walls}, {62, "1"}}) +
                              Rec("LAYER", {{2, doors}, {62, "-3"}}) + Rec("ENDTAB", {})) +
        Section("BLOCKS", Rec("BLOCK", {{2, window}, {8, walls}}) + Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "1"}}) +
                              Rec("ENDBLK", {}) + Rec("BLOCK", {{2, cupboard}, {8, doors}}) +
                              Rec("LINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}) + Rec("ENDBLK", {})) +
        Section("ENTITIES", Rec("INSERT", {{2, window}, {8, walls}, {10, "0"}, {20, "0"}}) +
                                Rec("INSERT", {{2, cupboard}, {8, doors}, {10, "5"}, {20, "0"}}) +
                                Rec("TEXT", {{1, window + " " + cupboard}, {8, walls}, {10, "0"}, {20, "0"}})));
    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.ReadDXF(path));
    const std::string wallsCode = "\\U+0421\\U+0442\\U+0435\\U+043D\\U+044B";
    const std::string doorsCode = "\\U+0414\\U+0432\\U+0435\\U+0440\\U+0438";
    ASSERT_EQ(boxes.asked.size(), 1u);
    for (const std::string& name : {wallsCode, doorsCode})
        EXPECT_NE(boxes.asked[0].find("\"" + name + "\""), std::string::npos) << boxes.asked[0];
    CLayer *wallsLayer = nullptr, *doorsLayer = nullptr;
    ASSERT_TRUE(doc.FindLayer(wallsCode, wallsLayer));
    ASSERT_TRUE(doc.FindLayer(doorsCode, doorsLayer));
    EXPECT_EQ(wallsLayer->m_on, 1);
    EXPECT_EQ(doorsLayer->m_on, 0);
    EXPECT_EQ(doorsLayer->m_color, 0x00FF00u);
    const CBloq* windowBlock = doc.FindBlock("\\U+041E\\U+043A\\U+043D\\U+043E");
    const CBloq* cupboardBlock = doc.FindBlock("\\U+0428\\U+043A\\U+0430\\U+0444");
    ASSERT_TRUE(windowBlock && cupboardBlock);
    EXPECT_EQ(static_cast<CDib*>(windowBlock->GetEntityList().GetHead())->m_type, ENT_CIRCLE);
    EXPECT_EQ(static_cast<CDib*>(cupboardBlock->GetEntityList().GetHead())->m_type, ENT_LINE);

    CRectaDoc back;
    back.OnNewDocument();
    const DxfExportResult exported = ExportDXF(doc);
    ASSERT_TRUE(ImportDXF(back, exported.text).ok);
    std::vector<Row> before = ListDrawing(doc), after = ListDrawing(back);
    // The counters come back one higher.
    before.erase(before.begin());
    after.erase(after.begin());
    EXPECT_EQ(after, before);
}

TEST_F(DxfImport, ThicknessMakesAnEntityExtruded)
{
    Import(EntitiesFile(Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "1"}, {39, "2.5"}}) +
                        Rec("CIRCLE", {{10, "0"}, {20, "0"}, {40, "1"}})));
    EXPECT_EQ(Entity<CCirc>(0)->m_extrusionMode, EXTRUSION_THICK);
    EXPECT_EQ(Entity<CCirc>(0)->m_thickness, 2.5);
    EXPECT_EQ(Entity<CCirc>(1)->m_extrusionMode, EXTRUSION_FLAT);
}

TEST_F(DxfImport, ArcAnglesAreBroughtIntoOneTurn)
{
    Import(EntitiesFile(Rec("ARC", {{10, "0"}, {20, "0"}, {40, "1"}, {50, "-1e-20"}, {51, "-90"}})));
    EXPECT_EQ(Entity<CArc>(0)->m_start, 0.0);
    EXPECT_DOUBLE_EQ(Entity<CArc>(0)->m_end, 1.5 * kPi);
}

}  // namespace

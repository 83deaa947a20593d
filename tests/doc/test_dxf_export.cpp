// DXF export: what the file holds, what is left out and reported, and that a
// file read back and written again gives the same bytes, in any locale.
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "support/dxf_drawings.h"
#include "support/dxf_listing.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <locale>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace dxfdrawings;

using Groups = std::vector<std::pair<int, std::string>>;

Groups Parse(const std::string& text)
{
    Groups groups;
    std::size_t pos = 0;
    auto line = [&] {
        const std::size_t end = text.find("\r\n", pos);
        std::string s = text.substr(pos, end - pos);
        pos = end + 2;
        return s;
    };
    while (pos < text.size()) {
        const int code = std::stoi(line());
        groups.emplace_back(code, line());
    }
    return groups;
}

// The groups of each record named name, in order.
std::vector<Groups> Records(const std::string& text, std::string_view name)
{
    std::vector<Groups> records;
    for (const auto& [code, value] : Parse(text)) {
        if (code == 0)
            records.emplace_back();
        if (!records.empty())
            records.back().emplace_back(code, value);
    }
    std::erase_if(records, [&](const Groups& r) { return r.front().second != name; });
    return records;
}

// The value of the first group of code in r, or "(none)".
std::string Value(const Groups& r, int code)
{
    for (const auto& [c, v] : r)
        if (c == code)
            return v;
    return "(none)";
}

class DxfExport : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    std::string Exported()
    {
        DxfExportResult result = ExportDXF(doc);
        leftOut = result.leftOut;
        return result.text;
    }

    CRectaDoc doc;
    DxfLeftOut leftOut;
};

// Drawings whose export leaves something out.
void WithThingsLeftOut(CRectaDoc& doc)
{
    Line(doc, CPointd(0, 0), CPointd(std::numeric_limits<double>::quiet_NaN(), 1));
    Line(doc, CPointd(0, 0), CPointd(1, 1));
    Line(doc, CPointd(0, 0), CPointd(1, 2e15));  // past what the reader takes
    // Not written, so not written in pieces either.
    Polyline(doc, "ZP", 0,
             {SegLine(CPointd(0, 0), CPointd(1, 0)),
              SegLine(CPointd(2, 0), CPointd(std::numeric_limits<double>::infinity(), 1))});
    Insert(doc, "No such block", CPointd());
    Block(doc, "Loop", "ZP", {{ENT_INSERT, Pen(new CInsBl, "ZP")}, {ENT_POINT, Pen(new CPunt, "ZP")}});
    static_cast<CInsBl*>(static_cast<CDib*>(doc.FindBlock("Loop")->GetEntityList().GetHead())->m_entity)
        ->m_block = "Loop";
    Insert(doc, "Loop", CPointd(1, 1));
    CObList parts{ListOwnership::owns};
    auto* definition = new CRecta;
    parts.AddTail(new CDib(ENT_LINE, definition));
    CObList inBlock{ListOwnership::owns};
    inBlock.AddTail(new CDib(ENT_DIMENSION, new CAcot(1, 0, "ZP", parts)));
    doc.AddBlock(CPointd(), inBlock, "Dimensioned");
}

TEST_F(DxfExport, ReadBackAndWrittenAgainGivesTheSameBytes)
{
    std::vector<Sample> drawings = Samples();
    drawings.push_back({"left_out", WithThingsLeftOut});
    for (const Sample& sample : drawings) {
        CRectaDoc first;
        first.OnNewDocument();
        sample.build(first);
        const DxfExportResult exported = ExportDXF(first);
        CRectaDoc second;
        second.OnNewDocument();
        const DxfImportResult imported = ImportDXF(second, exported.text);
        ASSERT_TRUE(imported.ok) << sample.name << ": " << imported.error;
        EXPECT_TRUE(imported.leftOut.empty()) << sample.name << ":\n" << DescribeLeftOut(imported.leftOut);
        // The counters come back one higher; the rest of the file the same.
        for (int word : {TW_DOOR_BLOCKS, TW_DOUBLE_DOOR_BLOCKS, TW_WINDOW_BLOCKS})
            EXPECT_EQ(second.m_toolWords[word]--, first.m_toolWords[word] + 1) << sample.name;
        const DxfExportResult again = ExportDXF(second);
        EXPECT_TRUE(again.leftOut.empty()) << sample.name;
        const auto [a, b] = std::mismatch(exported.text.begin(), exported.text.end(), again.text.begin(), again.text.end());
        EXPECT_EQ(a, exported.text.end()) << sample.name << " differs at\n"
                                          << std::string(a, exported.text.end()).substr(0, 200) << "\nread back as\n"
                                          << std::string(b, again.text.end()).substr(0, 200);
    }
}

TEST_F(DxfExport, WhatIsLeftOutIsReported)
{
    WithThingsLeftOut(doc);
    const std::string text = Exported();
    EXPECT_EQ(leftOut, (DxfLeftOut{{"LINE (value not finite or too large)", 2},
                                   {"POLYLINE (value not finite or too large)", 1},
                                   {"INSERT (of a missing block)", 1},
                                   {"INSERT (of a block into itself)", 1},
                                   {"DIMENSION (in a block)", 1}}));
    EXPECT_EQ(Records(text, "LINE").size(), 1u);
    EXPECT_TRUE(Records(text, "POLYLINE").empty());
    EXPECT_EQ(ExportDXF(doc).splitPolylines, 0);
    EXPECT_EQ(ExportDXF(doc).splitRuns, 0);
    EXPECT_EQ(Records(text, "INSERT").size(), 1u);  // of Loop, in the drawing
    EXPECT_EQ(text.find("nan"), std::string::npos);

    const std::string path = testing::TempDir() + "/left_out.dxf";
    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.WriteDXF(path));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("INSERT (of a missing block): 1"), std::string::npos) << boxes.asked[0];
    EXPECT_EQ(FileText(path), text);
}

// A file larger than the pieces it is written in, with records taken back
// throughout, has the bytes of the text made whole.
TEST_F(DxfExport, AFileWrittenInPiecesIsTheWholeText)
{
    for (int i = 0; i < 20000; ++i) {
        CRecta* line = doc.AddRecta();
        line->m_p1 = CPointd(i / 7.0, i / 3.0);
        line->m_p2 = CPointd(i % 17 == 0 ? std::numeric_limits<double>::infinity() : i + 0.5, 1.0);
    }
    const std::string text = Exported();
    ASSERT_GT(text.size(), 1000000u);
    const std::string path = testing::TempDir() + "/pieces.dxf";
    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.WriteDXF(path));
    EXPECT_TRUE(FileText(path) == text);
}

TEST_F(DxfExport, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept)
{
    const std::string path = testing::TempDir() + "/kept.dxf";
    std::ofstream(path) << "old";
    {
        ScriptedMessageBoxes boxes({IDOK});
        EXPECT_FALSE(doc.WriteDXF(testing::TempDir() + "/no such folder/x.dxf"));
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find("could not be written"), std::string::npos);
    }
    EXPECT_EQ(FileText(path), "old");
}

TEST_F(DxfExport, HeaderAndTablesTellOtherProgramsWhatTheyNeed)
{
    doc.m_toolWords[TW_DOOR_BLOCKS] = 5;
    Pen(Line(doc, CPointd(), CPointd(1, 1)), "Not in the drawing", 0x00FF00);
    const std::string text = Exported();
    const Groups groups = Parse(text);
    const Groups head(groups.begin(), groups.begin() + 8);
    EXPECT_EQ(head, (Groups{{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {9, "$DWGCODEPAGE"},
                            {3, "ANSI_1252"}, {9, "$USERI3"}, {70, "5"}}));
    std::vector<std::string> lineTypes, layers;
    for (const Groups& r : Records(text, "LTYPE"))
        lineTypes.push_back(Value(r, 2));
    for (const Groups& r : Records(text, "LAYER"))
        layers.push_back(Value(r, 2));
    EXPECT_EQ(lineTypes, (std::vector<std::string>{"CONTINUOUS", "DASHED", "DASHDOT", "CENTER"}));
    EXPECT_EQ(layers, (std::vector<std::string>{"ZP", "Not in the drawing"}));
    EXPECT_EQ(Value(Records(text, "LAYER")[1], 62), "7");
    EXPECT_EQ(Value(Records(text, "LINE")[0], 62), "3");
    EXPECT_EQ(text.substr(text.size() - 8), "0\r\nEOF\r\n");
}

TEST_F(DxfExport, PolylineArcsAreBulgesOfTheirWholeSweep)
{
    Polyline(doc, "ZP", 0, {SegLine(CPointd(0, 0), CPointd(1, 0)), SegLine(CPointd(1, 0), CPointd(1, 1))});
    // Three quarters of a turn each way, then a whole turn.
    Polyline(doc, "ZP", 0,
             {SegArc(CPointd(0, 0), 1, 0, 270, 1), SegArc(CPointd(0, -2), 1, 0, 90, 0),
              SegArc(CPointd(2, -2), 1, 180, 180, 1)});
    const std::string text = Exported();
    const std::vector<Groups> vertices = Records(text, "VERTEX");
    ASSERT_EQ(vertices.size(), 3u + 5u);
    const double expected[][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::stod(Value(vertices[i], 10)), expected[i][0]);
        EXPECT_EQ(std::stod(Value(vertices[i], 20)), expected[i][1]);
        EXPECT_EQ(Value(vertices[i], 42), "(none)");
    }
    EXPECT_NEAR(std::stod(Value(vertices[3], 42)), std::tan(3 * kPi / 8), 1e-11);
    EXPECT_NEAR(std::stod(Value(vertices[4], 42)), -std::tan(kPi / 8), 1e-11);
    EXPECT_EQ(Value(vertices[5], 10), "1");
    EXPECT_EQ(Value(vertices[5], 20), "-2");
    EXPECT_EQ(Value(vertices[6], 10), "3");
    EXPECT_EQ(Value(vertices[5], 42), "1");
    EXPECT_EQ(Value(vertices[6], 42), "1");
    EXPECT_EQ(Value(vertices[7], 42), "(none)");

    CRectaDoc back;
    back.OnNewDocument();
    ASSERT_TRUE(ImportDXF(back, text).ok);
    const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(back.GetEntityList().GetTail())->m_entity);
    ASSERT_EQ(pl->m_segments.GetCount(), 4);
    const auto* first = static_cast<CArc*>(static_cast<CDib*>(pl->m_segments.GetHead())->m_entity);
    EXPECT_NEAR(first->m_centre.x, 0, 1e-12);
    EXPECT_NEAR(first->m_centre.y, 0, 1e-12);
    EXPECT_NEAR(std::remainder(first->m_end - first->m_start, 2 * kPi), -0.5 * kPi, 1e-10);
}

// Random chains of arcs and straight segments read from a file: written
// out, their vertices stay where they were, and read back and written again
// they give the same bytes.
TEST_F(DxfExport, BulgedChainsKeepTheirVerticesAndReadBackTheSame)
{
    std::mt19937_64 random(41);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto logUniform = [&](double lo, double hi) { return lo * std::pow(hi / lo, unit(random)); };
    auto number = [](double v) {
        char buf[32];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
    };
    for (int chain = 0; chain < 400; ++chain) {
        const int count = 2 + int(random() % 5);
        const bool closed = chain % 2 == 1;
        std::vector<std::pair<double, double>> input;
        std::string text = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n70\n" + std::string(closed ? "1" : "0") + "\n";
        double scale = 0.0;
        for (int i = 0; i < count; ++i) {
            const double x = (random() % 2 ? -1 : 1) * logUniform(1e-3, 1e6);
            const double y = (random() % 2 ? -1 : 1) * logUniform(1e-3, 1e6);
            input.emplace_back(x, y);
            scale = std::max({scale, std::fabs(x), std::fabs(y)});
            text += "0\nVERTEX\n10\n" + number(x) + "\n20\n" + number(y) + "\n";
            // Some bulges at the largest written whole or just below it, in
            // steps finer and coarser than the grid bulges are written on there.
            const double sign = random() % 2 ? -1 : 1;
            const int kind = int(random() % 8);
            const double bulge = kind < 2   ? 0.0
                                 : kind < 6 ? sign * logUniform(1e-9, 1e3)
                                 : kind < 7 ? sign * 1e3
                                            : sign * (1e3 - std::ldexp(1.0, -int(random() % 48)));
            if (bulge != 0.0)
                text += "42\n" + number(bulge) + "\n";
        }
        text += "0\nSEQEND\n0\nENDSEC\n0\nEOF\n";
        CRectaDoc first;
        first.OnNewDocument();
        ASSERT_TRUE(ImportDXF(first, text).ok);
        const std::string once = ExportDXF(first).text;
        const std::vector<Groups> vertices = Records(once, "VERTEX");
        ASSERT_EQ(vertices.size(), input.size()) << text;
        // A chain of arcs only is known as well as its smallest arc's centre and radius.
        double reach = 1e300;
        const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(first.GetEntityList().GetHead())->m_entity);
        for (CObject* obj : pl->m_segments) {
            const auto* seg = static_cast<CDib*>(obj);
            if (seg->m_type == ENT_LINE) {
                reach = 0.0;
                break;
            }
            const auto* arc = static_cast<const CArc*>(seg->m_entity);
            reach = std::min(reach, std::max(std::fabs(arc->m_centre.x), std::fabs(arc->m_centre.y)) + arc->m_rx);
        }
        const double within = 1e-12 * std::max(scale, reach);
        for (std::size_t i = 0; i < input.size(); ++i) {
            EXPECT_NEAR(std::stod(Value(vertices[i], 10)), input[i].first, within) << text;
            EXPECT_NEAR(std::stod(Value(vertices[i], 20)), input[i].second, within) << text;
        }
        CRectaDoc second;
        second.OnNewDocument();
        ASSERT_TRUE(ImportDXF(second, once).ok);
        std::copy(std::begin(first.m_toolWords), std::end(first.m_toolWords), second.m_toolWords);
        ASSERT_TRUE(ExportDXF(second).text == once) << text;
    }
}

// Every segment of the polylines of a drawing, in list order.
std::vector<CDib*> Segments(const CRectaDoc& d)
{
    std::vector<CDib*> segments;
    for (CObject* obj : d.GetEntityList()) {
        const auto* element = static_cast<const CDib*>(obj);
        if (element->m_type == ENT_PLINE)
            for (CObject* seg : static_cast<const CPLine*>(element->m_entity)->m_segments)
                segments.push_back(static_cast<CDib*>(seg));
    }
    return segments;
}

bool SameSegment(const CDib& a, const CDib& b)
{
    auto near = [](const CPointd& p, const CPointd& q) {
        return std::fabs(p.x - q.x) <= 1e-9 && std::fabs(p.y - q.y) <= 1e-9;
    };
    if (a.m_type != b.m_type)
        return false;
    if (a.m_type == ENT_LINE) {
        const auto &l = *static_cast<const CRecta*>(a.m_entity), &m = *static_cast<const CRecta*>(b.m_entity);
        return near(l.m_p1, m.m_p1) && near(l.m_p2, m.m_p2);
    }
    const auto &p = *static_cast<const CArc*>(a.m_entity), &q = *static_cast<const CArc*>(b.m_entity);
    return near(p.m_centre, q.m_centre) && std::fabs(p.m_rx - q.m_rx) <= 1e-9 &&
           std::fabs(std::remainder(p.m_start - q.m_start, 2 * kPi)) <= 1e-9 &&
           std::fabs(std::remainder(p.m_end - q.m_end, 2 * kPi)) <= 1e-9 && (p.m_arcWord == 1) == (q.m_arcWord == 1);
}

// An offset leaves gaps where an arc meets lines off its tangents. Each run
// of segments that meet is written as a polyline of its own, the run across
// the close of a chain back at its start whole, and every segment reads back
// where it was.
TEST_F(DxfExport, PolylinesWhoseSegmentsDoNotMeetKeepEverySegment)
{
    const double r = 10.0124921972504 - 1;
    auto offsetArc = [&] { return SegArc(CPointd(5.5, 10), r, 267.137594773888, 272.862405226112, 1); };
    const struct {
        const char* name;
        std::function<CPLine*(CRectaDoc&)> build;
        int polylines;
    } rows[] = {
        {"offset of a line, an arc and a line", [&](CRectaDoc& d) {
             return Polyline(d, "ZP", 0,
                             {SegLine(CPointd(0, 1), CPointd(5, 1)), offsetArc(),
                              SegLine(CPointd(5, 0), CPointd(5, 5))});
         }, 3},
        {"closed back to its start", [&](CRectaDoc& d) {
             return Polyline(d, "ZP", 0,
                             {SegLine(CPointd(0, 1), CPointd(5, 1)), offsetArc(), SegLine(CPointd(5, 0), CPointd(5, 5)),
                              SegLine(CPointd(5, 5), CPointd(0, 1))});
         }, 2},
        {"lines apart", [](CRectaDoc& d) {
             return Polyline(d, "ZP", 0,
                             {SegLine(CPointd(0, 0), CPointd(1, 0)), SegLine(CPointd(1, 1e-6), CPointd(2, 0))});
         }, 2},
        {"an arc's end rounded off its line's", [](CRectaDoc& d) {
             return Polyline(d, "ZP", 0,
                             {SegArc(CPointd(1e6, 0), 1, 0, 90, 1), SegLine(CPointd(1e6, 1), CPointd(0, 1))});
         }, 1},
    };
    for (const auto& row : rows) {
        CRectaDoc first;
        first.OnNewDocument();
        row.build(first);
        const DxfExportResult once = ExportDXF(first);
        EXPECT_EQ(int(Records(once.text, "POLYLINE").size()), row.polylines) << row.name;
        EXPECT_EQ(once.splitPolylines, row.polylines > 1 ? 1 : 0) << row.name;
        EXPECT_EQ(once.splitRuns, row.polylines > 1 ? row.polylines : 0) << row.name;
        CRectaDoc back;
        back.OnNewDocument();
        ASSERT_TRUE(ImportDXF(back, once.text).ok) << row.name;
        const std::vector<CDib*> before = Segments(first), after = Segments(back);
        ASSERT_EQ(after.size(), before.size()) << row.name;
        for (const CDib* seg : before)
            EXPECT_TRUE(std::any_of(after.begin(), after.end(), [&](const CDib* s) { return SameSegment(*seg, *s); }))
                << row.name;
        std::copy(std::begin(first.m_toolWords), std::end(first.m_toolWords), back.m_toolWords);
        const DxfExportResult again = ExportDXF(back);
        EXPECT_TRUE(again.text == once.text) << row.name;
        EXPECT_EQ(again.splitPolylines, 0) << row.name;
    }

    rows[0].build(doc);
    const std::string path = testing::TempDir() + "/gaps.dxf";
    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.WriteDXF(path));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("do not all meet, written to " + path +
                                  " as one polyline for each run of segments that meet: 1, as 3 polylines"),
              std::string::npos)
        << boxes.asked[0];
}

// An arc so near a full turn that its bulge would pass what the reader takes is written in halves.
TEST_F(DxfExport, NearlyFullArcsAreWrittenAsTheReaderTakesThem)
{
    ASSERT_TRUE(ImportDXF(doc, "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n0\nVERTEX\n10\n0\n20\n0\n42\n1e15\n"
                               "0\nVERTEX\n10\n1\n20\n0\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n")
                    .ok);
    const std::string text = Exported();
    CRectaDoc back;
    back.OnNewDocument();
    const DxfImportResult result = ImportDXF(back, text);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.leftOut.empty()) << DescribeLeftOut(result.leftOut);
    const auto* pl = static_cast<CPLine*>(static_cast<CDib*>(back.GetEntityList().GetHead())->m_entity);
    EXPECT_EQ(pl->m_segments.GetCount(), 2);
}

TEST_F(DxfExport, NamesAreMadeValidAndUniqueAndInsertsFollow)
{
    Names(doc);
    const DxfExportResult result = ExportDXF(doc);
    EXPECT_EQ(result.layerNames.at("a/b:c"), "a_b_c");
    EXPECT_EQ(result.layerNames.at("wall"), "wall");
    EXPECT_EQ(result.layerNames.at("WALL"), "WALL_2");
    EXPECT_EQ(result.layerNames.at("  padded  "), "padded");
    EXPECT_EQ(result.layerNames.at(""), "UNNAMED");
    EXPECT_EQ(result.layerNames.at("With blanks inside"), "With blanks inside");
    EXPECT_EQ(result.blockNames.at("x:y"), "x_y");
    EXPECT_EQ(result.blockNames.at("X_Y"), "X_Y_2");
    EXPECT_EQ(result.blockNames.at("*U7"), "*U7");
    EXPECT_EQ(result.blockNames.at("*not anonymous"), "_not anonymous");
    std::vector<std::string> inserted;
    for (const Groups& r : Records(result.text, "INSERT"))
        inserted.push_back(Value(r, 2));
    EXPECT_EQ(inserted, (std::vector<std::string>{"x_y", "X_Y_2", "*U7", "_not anonymous", "UNNAMED"}));
    EXPECT_EQ(Value(Records(result.text, "BLOCK")[2], 70), "1");  // "*U7" is anonymous

    ScriptedMessageBoxes boxes({IDOK});
    ASSERT_TRUE(doc.WriteDXF(testing::TempDir() + "/names.dxf"));
    ASSERT_EQ(boxes.asked.size(), 1u);
    for (const char* line : {"layer \"a/b:c\" as \"a_b_c\"", "block \"X_Y\" as \"X_Y_2\""})
        EXPECT_NE(boxes.asked[0].find(line), std::string::npos) << boxes.asked[0];
}

TEST_F(DxfExport, AttributesAreWrittenAndReadBack)
{
    EveryKind(doc);
    const std::string text = Exported();
    std::vector<std::string> tags, values;
    for (const Groups& r : Records(text, "ATTDEF"))
        tags.push_back(Value(r, 2) + "=" + Value(r, 1));
    for (const Groups& r : Records(text, "ATTRIB"))
        values.push_back(Value(r, 2) + "=" + Value(r, 1));
    EXPECT_EQ(tags, (std::vector<std::string>{"WIDTH=0.90", "MAKER=Acme & Sons"}));
    // The drawing's own insert of the door carries its values; those in "Pair" show the definitions.
    EXPECT_EQ(values, (std::vector<std::string>{"WIDTH=0.90", "MAKER=Acme & Sons"}));
    EXPECT_EQ(Value(Records(text, "BLOCK")[0], 70), "2");

    CRectaDoc back;
    back.OnNewDocument();
    const DxfImportResult result = ImportDXF(back, text);
    ASSERT_TRUE(result.ok);
    const CAttrib* maker = back.FindBlock("Door 1")->FindAttrib("MAKER");
    ASSERT_NE(maker, nullptr);
    EXPECT_EQ(maker->m_prompt, "Who made it");
    EXPECT_EQ(maker->Value(), "Acme & Sons");
    EXPECT_EQ(maker->m_text.m_insert, CPointd(0.2, 0.9));
    EXPECT_TRUE(result.leftOut.empty()) << DescribeLeftOut(result.leftOut);
}

TEST_F(DxfExport, RealsReadBackAsTheSameDoubles)
{
    const double values[] = {0.1, 1.0 / 3.0, 1e-7, -123456.789, 1e15, 2.0 / 7.0 * 1e-300, -0.0};
    for (double v : values)
        Line(doc, CPointd(v, -v, v), CPointd(1, 1));
    const std::vector<Groups> lines = Records(Exported(), "LINE");
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(std::stod(Value(lines[i], 10)), values[i]);
        EXPECT_EQ(std::stod(Value(lines[i], 20)), -values[i]);
    }
    EXPECT_EQ(Value(lines[0], 10), "0.1");
    EXPECT_EQ(Value(lines.back(), 10), "0");
}

// Restores the C locale however the test ends.
struct CommaDecimalLocale {
    CommaDecimalLocale()
    {
        active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (active)
            std::locale::global(std::locale("de_DE.UTF-8"));
    }
    ~CommaDecimalLocale()
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
    bool active = false;
};

TEST_F(DxfExport, ExportAndImportIgnoreACommaDecimalLocale)
{
    EveryKind(doc);
    const std::string inC = Exported();
    const std::string r12 = FileText(std::string(ZP_TEST_DATA) + "/dxf/r12.dxf");

    CRectaDoc back;
    back.OnNewDocument();
    DxfImportResult result;
    {
        CommaDecimalLocale locale;
        ASSERT_TRUE(locale.active) << "locale de_DE.UTF-8 is not installed";
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        ASSERT_STREQ(buf, "1,5");
        EXPECT_EQ(Exported(), inC);
        result = ImportDXF(back, r12);
        EXPECT_EQ(ExportDXF(back).text.find(",5"), std::string::npos);
    }
    ASSERT_TRUE(result.ok) << result.error;
    const std::string difference = dxflisting::Difference(
        dxflisting::ReadListing(std::string(ZP_TEST_DATA) + "/dxf/r12.expected"), dxflisting::ListDrawing(back, result.leftOut));
    EXPECT_TRUE(difference.empty()) << difference;
}

}  // namespace

// A drawing as rows of text, in the form tests/data/dxf/*.expected holds
// (see tests/tools/make_dxf_fixtures.py), and their comparison: numbers
// within 1e-9 (relative above 1), values marked "a:" as angles modulo 360.
#pragma once

#include "doc/dxf.h"
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

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dxflisting {

using Row = std::vector<std::string>;

inline std::string Num(double v)
{
    char buf[40];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

inline std::string Angle(double radians)
{
    return "a:" + Num(radians * 180.0 / 3.14159265358979323846);
}

inline std::string Hex(COLORREF c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06x", unsigned(c));
    return buf;
}

inline void Add(Row& row, const CPointd& p)
{
    row.insert(row.end(), {Num(p.x), Num(p.y), Num(p.z)});
}

inline Row EntityRow(int type, const CObject* entity)
{
    const auto& e = *static_cast<const CEntity*>(entity);
    Row row;
    auto head = [&](const char* kind) { row = {kind, e.m_layer, Hex(e.m_color)}; };
    switch (type) {
    case ENT_LINE: {
        const auto& l = static_cast<const CRecta&>(e);
        head("LINE");
        row.push_back(std::to_string(l.m_style));
        Add(row, l.m_p1);
        Add(row, l.m_p2);
        row.push_back(Num(l.m_thick1));
        break;
    }
    case ENT_CIRCLE: {
        const auto& c = static_cast<const CCirc&>(e);
        head("CIRCLE");
        row.push_back(std::to_string(c.m_style));
        Add(row, c.m_centre);
        row.insert(row.end(), {Num(c.m_rx), Num(c.m_thickness)});
        break;
    }
    case ENT_ARC: {
        const auto& a = static_cast<const CArc&>(e);
        head("ARC");
        row.push_back(std::to_string(a.m_style));
        Add(row, a.m_centre);
        row.insert(row.end(), {Num(a.m_rx), Angle(a.m_start), Angle(a.m_end), Num(a.m_thick1)});
        break;
    }
    case ENT_POINT:
        head("POINT");
        Add(row, static_cast<const CPunt&>(e).m_point);
        break;
    case ENT_TEXT: {
        const auto& t = static_cast<const CText&>(e);
        head("TEXT");
        row.push_back(std::to_string(t.m_justify));
        Add(row, t.m_insert);
        row.insert(row.end(), {Num(t.m_font.lfHeight / 100.0), "a:" + Num(-t.m_font.lfEscapement / 10.0), t.m_text});
        break;
    }
    case ENT_PLINE: {
        const auto& pl = static_cast<const CPLine&>(e);
        head("POLYLINE");
        double thickness = 0.0;
        if (!pl.m_segments.IsEmpty()) {
            const auto* first = static_cast<const CDib*>(pl.m_segments.GetHead());
            thickness = first->m_type == ENT_LINE ? static_cast<const CRecta*>(first->m_entity)->m_thick1
                                                  : static_cast<const CArc*>(first->m_entity)->m_thick1;
        }
        row.insert(row.end(), {std::to_string(pl.m_style), Num(thickness)});
        for (CObject* obj : pl.m_segments) {
            const auto* seg = static_cast<const CDib*>(obj);
            if (seg->m_type == ENT_LINE) {
                const auto* l = static_cast<const CRecta*>(seg->m_entity);
                row.push_back("L");
                Add(row, l->m_p1);
                Add(row, l->m_p2);
            } else {
                const auto* a = static_cast<const CArc*>(seg->m_entity);
                row.push_back("A");
                Add(row, a->m_centre);
                row.insert(row.end(), {Num(a->m_rx), Angle(a->m_start), Angle(a->m_end), std::to_string(a->m_arcWord)});
            }
        }
        break;
    }
    case ENT_INSERT: {
        const auto& ins = static_cast<const CInsBl&>(e);
        head("INSERT");
        row.push_back(ins.m_block);
        Add(row, ins.m_insert);
        row.insert(row.end(), {Num(ins.m_sx), Num(ins.m_sy), Angle(ins.m_rotation)});
        break;
    }
    case ENT_DIMENSION: {
        const auto& dim = static_cast<const CAcot&>(e);
        head("DIMENSION");
        const CRecta* definition = dim.DefinitionLine();
        row.insert(row.end(), {std::to_string(dim.m_parts.GetCount()), Num(definition->m_p1.x),
                               Num(definition->m_p1.y), Num(definition->m_p2.x), Num(definition->m_p2.y)});
        break;
    }
    case ENT_3DFACE: {
        const auto& f = static_cast<const CTdface&>(e);
        head("3DFACE");
        for (const CPointd& c : f.m_c)
            Add(row, c);
        row.push_back(std::to_string(f.m_edgeMask));
        break;
    }
    default: row = {"TYPE", std::to_string(type)}; break;
    }
    return row;
}

inline std::vector<Row> ListDrawing(const CRectaDoc& doc, const DxfLeftOut& leftOut = {})
{
    std::vector<Row> rows;
    rows.push_back({"COUNTERS", std::to_string(doc.m_toolWords[TW_DOOR_BLOCKS]),
                    std::to_string(doc.m_toolWords[TW_DOUBLE_DOOR_BLOCKS]),
                    std::to_string(doc.m_toolWords[TW_WINDOW_BLOCKS])});
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;) {
        const CLayer* l = doc.GetNextLayer(pos);
        rows.push_back({"LAYER", l->m_name, Hex(l->m_color), std::to_string(l->m_on)});
    }
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
        const CBloq* b = doc.GetNextBlock(pos);
        rows.push_back({"BLOCK", b->m_name, b->m_layer});
        for (CObject* obj : b->GetEntityList()) {
            const auto* element = static_cast<const CDib*>(obj);
            rows.push_back(EntityRow(element->m_type, element->m_entity));
        }
        for (CObject* obj : b->GetAttribList()) {
            const auto* a = static_cast<const CAttrib*>(obj);
            Row row{"ATTRIB", a->m_tag, a->m_prompt, a->Value()};
            Add(row, a->m_text.m_insert);
            row.push_back(Num(a->m_text.m_font.lfHeight / 100.0));
            rows.push_back(row);
        }
        rows.push_back({"END"});
    }
    rows.push_back({"ENTITIES"});
    for (CObject* obj : doc.GetEntityList()) {
        const auto* element = static_cast<const CDib*>(obj);
        rows.push_back(EntityRow(element->m_type, element->m_entity));
    }
    for (const auto& [label, count] : leftOut)
        rows.push_back({"LEFTOUT", label, std::to_string(count)});
    return rows;
}

inline std::vector<Row> ReadListing(const std::string& path)
{
    std::vector<Row> rows;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        Row row;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            row.push_back(field);
        if (!line.empty() && line.back() == '\t')
            row.push_back("");
        rows.push_back(row);
    }
    return rows;
}

inline bool ParseNumber(const std::string& s, double& v)
{
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

inline bool SameValue(const std::string& expected, const std::string& got)
{
    const bool angle = expected.rfind("a:", 0) == 0 && got.rfind("a:", 0) == 0;
    double e, g;
    if (!ParseNumber(angle ? expected.substr(2) : expected, e) || !ParseNumber(angle ? got.substr(2) : got, g))
        return expected == got;
    if (angle) {
        const double d = std::fmod(std::fabs(e - g), 360.0);
        return std::min(d, 360.0 - d) <= 1e-9 * 360.0;
    }
    return std::fabs(e - g) <= 1e-9 * std::max({1.0, std::fabs(e), std::fabs(g)});
}

inline std::string Join(const Row& row)
{
    std::string s;
    for (const std::string& f : row)
        s += (s.empty() ? "" : " | ") + f;
    return s;
}

// Empty when the listings agree, else where they first differ.
inline std::string Difference(const std::vector<Row>& expected, const std::vector<Row>& got)
{
    for (std::size_t i = 0; i < std::max(expected.size(), got.size()); ++i) {
        if (i >= expected.size())
            return "extra row " + std::to_string(i + 1) + ": " + Join(got[i]);
        if (i >= got.size())
            return "missing row " + std::to_string(i + 1) + ": " + Join(expected[i]);
        const Row& e = expected[i];
        const Row& g = got[i];
        bool same = e.size() == g.size();
        for (std::size_t k = 0; same && k < e.size(); ++k)
            same = SameValue(e[k], g[k]);
        if (!same)
            return "row " + std::to_string(i + 1) + "\n  expected: " + Join(e) + "\n  got:      " + Join(g);
    }
    return {};
}

}  // namespace dxflisting

// Drawings written as short texts, for tables of editing cases, and the
// entity list as a multiset of stored records, for exact undo checks.
//   "L x1 y1 x2 y2"       a line
//   "C x y r"             a circle
//   "A x y r start end"   an arc, angles in degrees; "a ..." passed the other way in a polyline
//   "P seg; seg; ..."     a polyline of such line and arc segments
// Numbers are written with at most three decimals, angles in [0, 360).
#pragma once

#include "dialogs/dlgform.h"
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/pline.h"
#include "model/recta.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace sketch {

inline std::string Num(double v)
{
    std::string s = FormatFixed(v, 3);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

inline std::string Degrees(double radians)
{
    double d = std::fmod(radians * 180.0 / std::numbers::pi, 360.0);
    if (d < 0)
        d += 360.0;
    if (d >= 359.9995)
        d = 0;
    return Num(d);
}

inline CDib* Element(const std::string& text, const std::string& layer = "ZP")
{
    std::istringstream in(text);
    char kind = 0;
    in >> kind;
    double v[5] = {};
    if (kind == 'P') {
        CObList segments(ListOwnership::owns);
        std::string part;
        std::string rest;
        std::getline(in, rest);
        std::istringstream parts(rest);
        while (std::getline(parts, part, ';'))
            segments.AddTail(Element(part, layer));
        return new CDib(ENT_PLINE, new CPLine(1, 0, layer, segments, 0, 0, 0, 1));
    }
    for (double& x : v)
        in >> x;
    switch (kind) {
    case 'L': {
        auto* l = new CRecta(1, 0, layer, 0, 0, 0, 0, 1);
        l->m_p1 = CPointd(v[0], v[1]);
        l->m_p2 = CPointd(v[2], v[3]);
        return new CDib(ENT_LINE, l);
    }
    case 'C': {
        auto* c = new CCirc(1, 0, layer, 0, 0, 0, 0, 1);
        c->m_centre = CPointd(v[0], v[1]);
        c->m_rx = c->m_ry = v[2];
        return new CDib(ENT_CIRCLE, c);
    }
    default: {
        auto* a = new CArc(1, 0, layer, 0, 0, 0, 0, 1);
        a->m_centre = CPointd(v[0], v[1]);
        a->m_rx = a->m_ry = v[2];
        a->m_start = v[3] * std::numbers::pi / 180.0;
        a->m_end = v[4] * std::numbers::pi / 180.0;
        a->m_arcWord = kind == 'a' ? -1 : 1;
        return new CDib(ENT_ARC, a);
    }
    }
}

// Appends the entities to the drawing; returns the first one's record.
inline CDib* Sketch(CRectaDoc& doc, const std::vector<std::string>& entities)
{
    CDib* first = nullptr;
    for (const std::string& e : entities) {
        CDib* dib = Element(e);
        doc.AppendEntityRecord(dib);
        if (!first)
            first = dib;
    }
    return first;
}

inline std::string Describe(int type, const CObject* e)
{
    switch (type) {
    case ENT_LINE: {
        const auto* l = static_cast<const CRecta*>(e);
        return "L " + Num(l->m_p1.x) + " " + Num(l->m_p1.y) + " " + Num(l->m_p2.x) + " " + Num(l->m_p2.y);
    }
    case ENT_CIRCLE: {
        const auto* c = static_cast<const CCirc*>(e);
        return "C " + Num(c->m_centre.x) + " " + Num(c->m_centre.y) + " " + Num(c->m_rx);
    }
    case ENT_ARC: {
        const auto* a = static_cast<const CArc*>(e);
        return std::string(a->m_arcWord == 1 ? "A " : "a ") + Num(a->m_centre.x) + " " + Num(a->m_centre.y) + " " +
               Num(a->m_rx) + " " + Degrees(a->m_start) + " " + Degrees(a->m_end);
    }
    case ENT_PLINE: {
        std::string s = "P";
        const auto* pl = static_cast<const CPLine*>(e);
        for (POSITION pos = pl->GetFirstSegmentPosition(); pos;) {
            int t = 0;
            const CObject* seg = pl->GetNextSegment(pos, t);
            s += (s.size() > 1 ? "; " : " ") + Describe(t, seg);
        }
        return s;
    }
    default: return EntityClassName(type) ? EntityClassName(type) : "?";
    }
}

// The drawing's entities as texts, sorted.
inline std::vector<std::string> Drawing(const CRectaDoc& doc)
{
    std::vector<std::string> out;
    for (CObject* obj : doc.GetEntityList()) {
        const auto* dib = static_cast<const CDib*>(obj);
        out.push_back(Describe(dib->m_type, dib->m_entity));
    }
    std::ranges::sort(out);
    return out;
}

inline std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::ranges::sort(v);
    return v;
}

}  // namespace sketch

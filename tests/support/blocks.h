// Entities, blocks and inserts built in one line, for tests.
#pragma once

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/recta.h"

#include <initializer_list>
#include <utility>

inline CRecta* NewLine(double x1, double y1, double x2, double y2, double z = 0)
{
    auto* l = new CRecta;
    l->m_layer = "L";
    l->m_p1 = CPointd(x1, y1, z);
    l->m_p2 = CPointd(x2, y2, z);
    return l;
}

inline CArc* NewArc(double cx, double cy, double r, double start, double end, int word = 1)
{
    auto* a = new CArc;
    a->m_layer = "L";
    a->m_centre = CPointd(cx, cy);
    a->m_rx = a->m_ry = r;
    a->m_start = start;
    a->m_end = end;
    a->m_arcWord = word;
    return a;
}

inline CCirc* NewCircle(double cx, double cy, double r)
{
    auto* c = new CCirc;
    c->m_layer = "L";
    c->m_centre = CPointd(cx, cy);
    c->m_rx = c->m_ry = r;
    return c;
}

inline CInsBl* NewInsert(const char* block, double x, double y, double a = 0, double sx = 1, double sy = 1)
{
    auto* ins = new CInsBl(1, 0xFF, "L");
    ins->m_block = block;
    ins->m_insert = CPointd(x, y);
    ins->m_rotation = a;
    ins->m_sx = sx;
    ins->m_sy = sy;
    return ins;
}

// A block of the drawing named name, holding the entities (type code, entity).
inline CBloq* AddNamedBlock(CRectaDoc& doc, const char* name, std::initializer_list<std::pair<int, CObject*>> entities)
{
    CObList list(ListOwnership::owns);
    for (auto [type, e] : entities)
        list.AddTail(new CDib(type, e));
    CBloq* b = doc.AddBlock(CPointd(), list, name);
    b->CalcExtents(doc);
    return b;
}

// Drawings with every kind the DXF writer takes, shared by the export tests
// and by the sample files another program checks.
#pragma once

#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/fontrecord.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace dxfdrawings {

constexpr double kPi = 3.14159265358979323846;

inline CLayer* Layer(CRectaDoc& doc, const char* name, COLORREF colour, int on = 1)
{
    CLayer* layer = doc.AddLayer(colour, on);
    layer->m_name = name;
    return layer;
}

template <class E>
E* Pen(E* e, const char* layer, COLORREF colour = 0, int style = 0)
{
    e->m_layer = layer;
    e->m_color = colour;
    e->m_style = style;
    e->m_width = 1;
    return e;
}

inline CRecta* Line(CRectaDoc& doc, const CPointd& a, const CPointd& b)
{
    CRecta* l = doc.AddRecta();
    l->m_p1 = a;
    l->m_p2 = b;
    return l;
}

inline CText* Text(CRectaDoc& doc, const CPointd& at, const char* text, int justify, double height, int escapement)
{
    CText* t = doc.AddText();
    t->m_insert = at;
    t->m_text = text;
    t->m_justify = justify;
    CopyLogFont(t->m_font, doc.m_textFont);
    t->m_font.lfHeight = LONG(height * 100.0 + 0.5);
    t->m_font.lfEscapement = escapement;
    return t;
}

inline CDib* SegLine(const CPointd& a, const CPointd& b)
{
    auto* l = new CRecta;
    l->m_p1 = a;
    l->m_p2 = b;
    return new CDib(ENT_LINE, l);
}

// An arc segment in degrees; word 1 passes it from start to end, 0 the other way.
inline CDib* SegArc(const CPointd& c, double r, double startDeg, double endDeg, int word)
{
    auto* a = new CArc;
    a->m_centre = c;
    a->m_rx = a->m_ry = r;
    a->m_start = startDeg * kPi / 180.0;
    a->m_end = endDeg * kPi / 180.0;
    a->m_arcWord = word;
    return new CDib(ENT_ARC, a);
}

inline CPLine* Polyline(CRectaDoc& doc, const char* layer, COLORREF colour, std::initializer_list<CDib*> segments)
{
    CObList list{ListOwnership::owns};
    for (CDib* s : segments)
        list.AddTail(s);
    CPLine* pl = doc.AddPLine(list);
    pl->m_layer = layer;
    pl->SetLayer();
    pl->SetColor(colour);
    pl->m_width = 1;
    pl->SetWidth();
    return pl;
}

inline CBloq* Block(CRectaDoc& doc, const char* name, const char* layer, std::initializer_list<std::pair<int, CObject*>> entities)
{
    CObList list{ListOwnership::owns};
    for (auto [type, e] : entities)
        list.AddTail(new CDib(type, e));
    CBloq* b = doc.AddBlock(CPointd(), list, name);
    b->m_layer = layer;
    return b;
}

inline CInsBl* Insert(CRectaDoc& doc, const char* block, const CPointd& at, double rotation = 0, double sx = 1,
                      double sy = 1)
{
    CInsBl* ins = doc.AddInsBl();
    ins->m_block = block;
    ins->m_insert = at;
    ins->m_rotation = rotation;
    ins->m_sx = sx;
    ins->m_sy = sy;
    return ins;
}

// Every kind on layers of every state; all of it is written.
inline void EveryKind(CRectaDoc& doc)
{
    doc.m_toolWords[TW_DOOR_BLOCKS] = 5;
    doc.m_toolWords[TW_DOUBLE_DOOR_BLOCKS] = 2;
    doc.m_toolWords[TW_WINDOW_BLOCKS] = 7;
    Layer(doc, "Walls A", 0x0000FF);
    Layer(doc, "Hidden", 0xFF0000, 0);
    Layer(doc, "Frozen", 0x00FF00, 0);
    Layer(doc, "Odd colour", 0x123456);

    Line(doc, CPointd(0, 0), CPointd(10, 0.5));
    Pen(Line(doc, CPointd(0, 1, 2.5), CPointd(10, 1.25, -0.75)), "Walls A", 0x0000FF, 1);
    Pen(Line(doc, CPointd(0, 2), CPointd(10, 2)), "Walls A", 0, 2);
    Pen(Line(doc, CPointd(0, 3), CPointd(10, 3)), "Hidden", 0x00FFFF, 3);
    Pen(Line(doc, CPointd(0.1, 0.2), CPointd(1e-7, 123456.789)), "Odd colour", 0xABCDEF);
    Pen(Line(doc, CPointd(1, 4), CPointd(2, 4)), "Layer the drawing lacks", 0xFF00FF);
    CRecta* tall = Line(doc, CPointd(3, 4), CPointd(4, 5));
    tall->m_extrusionMode = EXTRUSION_THICK;
    tall->m_thick1 = tall->m_thick2 = 2.5;

    CCirc* circle = Pen(doc.AddCirc(), "Walls A", 0x00FF00);
    circle->m_centre = CPointd(5, 5, 1);
    circle->m_rx = circle->m_ry = 1.5;
    CArc* arc = Pen(doc.AddArc(), "Frozen", 0x00FF00);
    arc->m_centre = CPointd(7, 5);
    arc->m_rx = arc->m_ry = 2;
    arc->m_start = 300.0 * kPi / 180.0;  // through 0
    arc->m_end = 45.5 * kPi / 180.0;
    CArc* wide = doc.AddArc();
    wide->m_centre = CPointd(-3, -4);
    wide->m_rx = wide->m_ry = 0.1;
    wide->m_start = 0.3;
    wide->m_end = 0.2;
    doc.AddPunt()->m_point = CPointd(1.5, -2.25, 3);

    Text(doc, CPointd(0, 6), "Left", JUSTIFY_LEFT, 0.38, 0);
    Text(doc, CPointd(5, 6), "10", JUSTIFY_RIGHT, 1.0, 0);
    Text(doc, CPointd(10, 6), "Centred 45.5", JUSTIFY_CENTRE, 0.25, -455);
    Text(doc, CPointd(0, 8, 1), "Up the page", JUSTIFY_LEFT, 0.5, 900);
    Text(doc, CPointd(0, 9), "50% at 20\xB0" "C, 100%% sure", JUSTIFY_LEFT, 0.3, 0);
    Pen(Text(doc, CPointd(0, 10), "Espa\xF1" "a", JUSTIFY_RIGHT, 0.3, -1800), "Walls A", 0x0000FF);

    // Lines and arcs: a bend, an arc of more than half a turn each way, a closed outline.
    Polyline(doc, "Walls A", 0x0000FF,
             {SegLine(CPointd(0, 0), CPointd(4, 0)), SegArc(CPointd(4, 1), 1, 270, 90, 1),
              SegLine(CPointd(4, 2), CPointd(0, 2))});
    Polyline(doc, "ZP", 0,
             {SegArc(CPointd(10, 10), 2, 0, 270, 1), SegArc(CPointd(10, 6), 2, 340, 90, 0),
              SegLine(CPointd(10 + 2 * std::cos(340 * kPi / 180), 6 + 2 * std::sin(340 * kPi / 180)), CPointd(5, 5))});
    CPLine* dashed = Polyline(doc, "Hidden", 0xFF0000,
                              {SegLine(CPointd(20, 0), CPointd(24, 0)), SegLine(CPointd(24, 0), CPointd(24, 3)),
                               SegArc(CPointd(22, 3), 2, 0, 180, 1), SegLine(CPointd(20, 3), CPointd(20, 0))});
    dashed->m_style = 1;
    dashed->SetLineType();

    CText* tagText = nullptr;
    CBloq* door = Block(doc, "Door 1", "Walls A",
                        {{ENT_LINE, Pen(new CRecta, "Walls A", 0x0000FF)},
                         {ENT_CIRCLE, Pen(new CCirc, "ZP", 0x00FFFF)},
                         {ENT_TEXT, tagText = Pen(new CText, "ZP")}});
    auto* doorLine = static_cast<CRecta*>(static_cast<CDib*>(door->GetEntityList().GetHead())->m_entity);
    doorLine->m_p2 = CPointd(0.9, 0);
    auto* knob = static_cast<CCirc*>(static_cast<CDib*>(door->GetEntityList().GetAt(
                                                             door->GetEntityList().FindIndex(1)))
                                         ->m_entity);
    knob->m_centre = CPointd(0.8, 0.05);
    knob->m_rx = knob->m_ry = 0.03;
    tagText->m_insert = CPointd(0.1, 0.2);
    tagText->m_text = "D";
    tagText->m_justify = JUSTIFY_LEFT;
    CopyLogFont(tagText->m_font, doc.m_textFont);
    door->AddAttrib(1, 0, "ZP", "WIDTH", "WIDTH", "0.90", 0, 1, CPointd(0.2, 0.5), doc.m_textFont);
    door->AddAttrib(1, 0, "Walls A", "MAKER", "Who made it", "Acme & Sons", 0, 0, CPointd(0.2, 0.9),
                    doc.m_textFont);
    Block(doc, "Pair", "ZP",
          {{ENT_INSERT, Pen(new CInsBl, "ZP")}, {ENT_INSERT, Pen(new CInsBl, "ZP")},
           {ENT_POINT, Pen(new CPunt, "ZP")}});
    CBloq* pair = doc.FindBlock("Pair");
    int i = 0;
    for (CObject* obj : pair->GetEntityList()) {
        auto* element = static_cast<CDib*>(obj);
        if (element->m_type != ENT_INSERT)
            continue;
        auto* ins = static_cast<CInsBl*>(element->m_entity);
        ins->m_block = "Door 1";
        ins->m_insert = CPointd(i * 2.0, 0);
        ins->m_sx = i == 0 ? 1.0 : -1.0;
        ++i;
    }
    Insert(doc, "Door 1", CPointd(30, 0), 0.5, 2, 2);
    Pen(Insert(doc, "Pair", CPointd(30, 10, 1), kPi / 2), "Walls A", 0x0000FF);
    Insert(doc, "Pair", CPointd(40, 10), 3 * kPi, 0.5, 0.25);

    doc.AddLinearDim(1, 0x0000FF, "Walls A", CPointd(0, -5), CPointd(6, -5), CPointd(3, -6));

    CTdface* face = Pen(doc.AddTdface(), "Odd colour", 0xFF00FF);
    face->m_c[0] = CPointd(0, 0, 0);
    face->m_c[1] = CPointd(1, 0, 0.5);
    face->m_c[2] = CPointd(1, 1, 1);
    face->m_c[3] = CPointd(0, 1, 0.5);
    face->m_edgeMask = 5;
}

// Names DXF cannot take as they are, and names that differ only in case.
inline void Names(CRectaDoc& doc)
{
    Layer(doc, "a/b:c", 0x00FF00);
    Layer(doc, "wall", 0x0000FF);
    Layer(doc, "WALL", 0xFF0000);
    Layer(doc, "  padded  ", 0);
    Layer(doc, "", 0);
    Layer(doc, "With blanks inside", 0xFF00FF);
    const char* layers[] = {"a/b:c", "wall", "WALL", "  padded  ", "", "With blanks inside"};
    double y = 0;
    for (const char* layer : layers) {
        Pen(Line(doc, CPointd(0, y), CPointd(1, y)), layer, 0);
        y += 1;
    }
    Block(doc, "x:y", "a/b:c", {{ENT_LINE, Pen(new CRecta, "wall")}});
    Block(doc, "X_Y", "WALL", {{ENT_LINE, Pen(new CRecta, "WALL")}});
    Block(doc, "*U7", "ZP", {{ENT_CIRCLE, Pen(new CCirc, "ZP")}});
    Block(doc, "*not anonymous", "", {{ENT_POINT, Pen(new CPunt, "")}});
    Block(doc, "", "ZP", {{ENT_POINT, Pen(new CPunt, "ZP")}});
    static_cast<CCirc*>(static_cast<CDib*>(doc.FindBlock("*U7")->GetEntityList().GetHead())->m_entity)->m_rx = 1;
    Insert(doc, "x:y", CPointd(5, 0));
    Insert(doc, "X_Y", CPointd(5, 1));
    Insert(doc, "*U7", CPointd(5, 2));
    Insert(doc, "*not anonymous", CPointd(5, 3));
    Insert(doc, "", CPointd(5, 4));
}

struct Sample {
    const char* name;
    std::function<void(CRectaDoc&)> build;
};

// The drawings whose export other programs must read back whole.
inline std::vector<Sample> Samples()
{
    return {{"empty", [](CRectaDoc&) {}}, {"every_kind", EveryKind}, {"names", Names}};
}

}  // namespace dxfdrawings

// The plan view's picking by entity kind: how a click meets an entity and
// whether an entity passes a selection window, reached by type code like the
// model's EntityKind (one row per kind in pickkind.cpp).
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CEntityContext;
class CObject;
struct NestedWork;

// The pick box about a click: half-width t.
struct PickBox {
    double t;
    double x1, y1, x2, y2;
    NestedWork* work = nullptr;  // what nested blocks may spend in the click, shared by the inserts it measures
};

// How a click meets an entity: no hit, or a hit at dist; a decisive hit
// (inside a text) is taken at once, whatever came before.
struct PickHit {
    bool hit = false;
    double dist = 0.0;
    bool decisive = false;
};

class CPickKind {
public:
    // box is the pick box of a click on the drawing, null inside a placed
    // block (where a line needs no box and inserts are walked, not picked).
    PickHit (*pick)(const CObject* e, const CPointd& p, const PickBox* box, const CEntityContext& drawing);
    // Window (mode 0) or crossing (mode 1) selection by quad q.
    bool (*inSelWindow)(const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext& drawing);
};

// The picking of a type code; throws std::invalid_argument for a code that names no kind.
const CPickKind& PickKind(int type);

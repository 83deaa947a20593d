#include "view2d/pickkind.h"

#include "model/acot.h"
#include "model/blockindex.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "view2d/compositepick.h"
#include "view2d/insblpick.h"
#include "view2d/pickdist.h"
#include "view2d/rasterpick.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

template <class T>
const T& As(const CObject* e)
{
    return *static_cast<const T*>(e);
}

PickHit HitAt(double dist)
{
    return {true, dist, false};
}

// A hit when test(dist) finds one.
template <class Test>
PickHit HitIf(Test&& test)
{
    double d = kNoPickDist;
    return test(d) ? HitAt(d) : PickHit{};
}

PickHit NoHit(const CObject*, const CPointd&, const PickBox*, const CEntityContext&)
{
    return {};
}

struct PickRow {
    int type;
    CPickKind kind;
};

const PickRow kRows[] = {
    {ENT_LINE,
     {[](const CObject* e, const CPointd& p, const PickBox* box, const CEntityContext&) {
          const CRecta& line = As<CRecta>(e);
          if (box && !line.IsInRect(box->x1, box->y1, box->x2, box->y2))
              return PickHit{};
          return HitIf([&](double& d) { return PickDistRecta(line, p, d); });
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return RectaInSelWindow(As<CRecta>(e), q, mode);
      }}},
    {ENT_CIRCLE,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitAt(PickDistCirc(As<CCirc>(e), p));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return CircInSelWindow(As<CCirc>(e), q, mode);
      }}},
    {ENT_ARC,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitIf([&](double& d) { return PickDistArc(As<CArc>(e), p, d); });
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return ArcInSelWindow(As<CArc>(e), q, mode);
      }}},
    {ENT_POINT,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitAt(PickDistPunt(As<CPunt>(e), p));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return PuntInSelWindow(As<CPunt>(e), q, mode);
      }}},
    {ENT_TEXT,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          PickHit hit = HitIf([&](double& d) { return PickDistText(As<CText>(e), p, d); });
          hit.decisive = hit.hit;
          return hit;
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return TextInSelWindow(As<CText>(e), q, mode);
      }}},
    {ENT_PLINE,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitAt(PickDistPLine(As<CPLine>(e), p));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return PLineInSelWindow(As<CPLine>(e), q, mode);
      }}},
    {ENT_INSERT,
     {[](const CObject* e, const CPointd& p, const PickBox* box, const CEntityContext& drawing) {
          if (!box)
              return PickHit{};
          NestedWork own;
          return HitAt(PickDistInsBl(drawing, As<CInsBl>(e), p, box->t, box->work ? *box->work : own));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext& drawing) {
          return InsBlInSelWindow(drawing, As<CInsBl>(e), q, mode);
      }}},
    {ENT_DIMENSION,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitAt(PickDistAcot(As<CAcot>(e), p));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return AcotInSelWindow(As<CAcot>(e), q, mode);
      }}},
    {ENT_3DFACE,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          return HitAt(PickDistTdface(As<CTdface>(e), p));
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return TdfaceInSelWindow(As<CTdface>(e), q, mode);
      }}},
    // A hatch is never picked by a click, only by a window.
    {ENT_HATCH,
     {NoHit,
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return HatchInSelWindow(As<CHatch>(e), q, mode);
      }}},
    // A click inside the picture takes it at once.
    {ENT_BITMAP,
     {[](const CObject* e, const CPointd& p, const PickBox*, const CEntityContext&) {
          PickHit hit = HitIf([&](double& d) { return PickDistBmp(As<CBmp>(e), p, d); });
          hit.decisive = hit.hit;
          return hit;
      },
      [](const CObject* e, const Pt2 (&q)[4], int mode, const CEntityContext&) {
          return BmpInSelWindow(As<CBmp>(e), q, mode);
      }}},
};

// The rows by code, for a lookup per entity picked.
const auto kByCode = [] {
    std::array<const CPickKind*, ENT_BITMAP + 1> byCode{};
    for (const PickRow& row : kRows)
        byCode[std::size_t(row.type)] = &row.kind;
    return byCode;
}();

}  // namespace

const CPickKind& PickKind(int type)
{
    if (type >= 0 && std::size_t(type) < kByCode.size() && kByCode[std::size_t(type)])
        return *kByCode[std::size_t(type)];
    throw std::invalid_argument("entity type code " + std::to_string(type) + " names no kind");
}

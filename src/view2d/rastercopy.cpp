#include "view2d/rastercopy.h"

#include "doc/rectadoc.h"
#include "model/bmp.h"
#include "model/hatch.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

namespace {

template <class T, class Add, class Move>
T* CopyMoved(CRectaView& view, const T& source, int type, Add add, Move move, const CPointd& from,
             const CPointd& to)
{
    CRectaDoc* doc = view.GetDocument();
    T* copy = (doc->*add)();
    copy->Copy(source);
    move(*copy, from, to);
    view.AddUndoStep(UNDO_ADDED, type, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
    return copy;
}

}  // namespace

CHatch* CopyHatchMoved(CRectaView& view, const CHatch& hatch, const CPointd& from, const CPointd& to)
{
    return CopyMoved(view, hatch, ENT_HATCH, &CRectaDoc::AddHatch, MoveHatch, from, to);
}

CBmp* CopyBmpMoved(CRectaView& view, const CBmp& bmp, const CPointd& from, const CPointd& to)
{
    return CopyMoved(view, bmp, ENT_BITMAP, &CRectaDoc::AddBmp, MoveBmp, from, to);
}

// The hatch and bitmap members of the displaced-copy family of the move,
// copy, rotate and mirror commands.
#pragma once

class CBmp;
class CHatch;
class CPointd;
class CRectaView;

// A new entity of the view's drawing, a copy of the given one moved by
// to - from in x and y, with an undo step for it on the view's pending
// list; the caller draws it.
CHatch* CopyHatchMoved(CRectaView& view, const CHatch& hatch, const CPointd& from, const CPointd& to);
CBmp* CopyBmpMoved(CRectaView& view, const CBmp& bmp, const CPointd& from, const CPointd& to);

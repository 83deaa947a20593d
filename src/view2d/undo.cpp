// Undo and redo of the plan view.
#include "view2d/rectaview.h"

void CRectaView::DoUndo()
{
    ShowPrompt(0, "Can not undo");
}

void CRectaView::DoRedo()
{
    ShowPrompt(0, "Can not redo");
}

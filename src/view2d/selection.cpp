// Selection of records in the plan view.
#include "view2d/rectaview.h"

void CRectaView::UnhighlightSelection() {}

void CRectaView::ClearSelection() {}

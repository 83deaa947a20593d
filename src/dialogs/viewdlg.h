// The view's dialogs on a plan view; -1 when there is none.
#pragma once

#include "dialogs/rundlg.h"
#include "view2d/rectaview.h"

inline int RunModoAproxDlg(CRectaView* view)
{
    return view ? RunModoAproxDlg(view->m_snapMode) : -1;
}

inline int RunDistanciaDlg(CRectaView* view)
{
    return view ? RunDistanciaDlg(view->m_fixedDistance) : -1;
}

inline int RunZoomEscDlg(CRectaView* view)
{
    return view ? RunZoomEscDlg([view](double factor) { view->ZoomByFactor(factor); }) : -1;
}

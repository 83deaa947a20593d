// The region command: a closed polyline filled in a colour, or a block given
// the colour attributes that make it a region block.
#include "view2d/rectaview.h"

#include "dialogs/hatchbmpdlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/pline.h"

void CRectaView::MakeRegionFromPLine(CObject* entity, int type)
{
    CRectaDoc* doc = GetDocument();
    COLORREF colour = 0;
    if (!doc || !entity || RunColorDlg(colour) != 1)
        return;
    if (type == ENT_PLINE) {
        auto* pline = static_cast<CPLine*>(entity);
        pline->m_fill = 1;
        pline->m_fillColor = colour;
    } else {
        // Only the colour attributes are replaced: a door's or window's own ones stay.
        auto* block = static_cast<CBloq*>(entity);
        const std::pair<const char*, int> components[] = {
            {"RGB_R", GetRValue(colour)}, {"RGB_G", GetGValue(colour)}, {"RGB_B", GetBValue(colour)}};
        for (const auto& [tag, value] : components)
            block->DeleteAttribs(tag);
        for (const auto& [tag, value] : components)
            block->AddAttrib(1, doc->m_color, doc->m_layerName, tag, tag, std::to_string(value), 0, 0, CPointd(),
                             doc->m_dimFont);
    }
    doc->SetModifiedFlag();
}

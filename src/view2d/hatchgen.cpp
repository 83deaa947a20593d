// Line hatches: the polygon of the point list filled with parallel lines,
// the selected islands left out, the lines kept as a block of their own.
#include "view2d/rectaview.h"

#include "dialogs/hatchdlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/hatchislands.h"
#include "model/hatchlines.h"
#include "model/insbl.h"
#include "platform/msgbox.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// The families of a hatch kind: 1 single lines (a1, s1); 2 two families; any
// other kind one family (a1, s1), kind 3 stepping by s1 and s2 in turn, and
// a second (a2, s2) unless the kind is 3. A spacing of 0 skips its family.
std::vector<HatchFamily> HatchFamilies(int kind, double a1, double s1, double a2, double s2)
{
    std::vector<HatchFamily> families;
    if (s1 != 0.0)
        families.push_back({DegToRad(a1), s1, kind == 3 ? s2 : s1});
    if (s2 != 0.0 && kind != 3)
        families.push_back({DegToRad(a2), s2, s2});
    return families;
}

// "XT" and the next value of the drawing's hatch counter that names no block yet.
std::string NextHatchBlockName(CRectaDoc& doc)
{
    int& counter = doc.m_toolWords[TW_HATCH_BLOCKS];
    std::string name;
    do
        name = "XT" + std::to_string(++counter);
    while (doc.FindBlock(name));
    return name;
}

}  // namespace

void CRectaView::GenerateHatch()
{
    CRectaDoc* doc = GetDocument();
    std::vector<Pt2> outline;
    for (CObject* obj : m_pointList) {
        const auto* p = static_cast<const CPointd*>(obj);
        outline.push_back({p->x, p->y});
    }
    m_pointList.DeleteAll();
    auto refused = [this](HatchError error) {
        if (error == HatchError::none)
            return false;
        AfxMessageBox(HatchErrorText(error), MB_ICONEXCLAMATION);
        ClearSelection();
        return true;
    };
    const HatchBoundary boundary(outline);
    if (refused(boundary.Error()))
        return;

    int kind = 0;
    RunTramaDlgEx(kind);
    double a1 = 0.0, s1 = 0.0, a2 = 0.0, s2 = 0.0;
    if (kind == 0 || RunTramaParamDlg(kind, a1, s1, a2, s2) != 1) {
        ClearSelection();
        return;
    }
    const std::vector<HatchFamily> families = HatchFamilies(kind, a1, s1, a2, s2);
    for (const HatchFamily& family : families)
        if (refused(CheckHatchFamily(boundary, family)))
            return;

    std::vector<HatchIsland> islands;
    std::size_t budget = kIslandWalkBudget;
    for (const CDib* record : SelectedRecords()) {
        HatchIsland island;
        if (!AddHatchIsland(record->m_type, record->m_entity, *doc, island, &budget))
            continue;
        if (refused(island.whole ? HatchError::none : HatchError::islandTooLarge))
            return;
        islands.push_back(std::move(island));
    }
    if (refused(CheckHatchSize(boundary, islands, families)))
        return;
    ClearSelection();
    m_blockList.DeleteAll();

    std::vector<HatchSegment> segments;
    for (const HatchFamily& family : families)
        AddHatchFamily(boundary, islands, family, segments);
    const double z = doc->m_currentZ;
    for (const HatchSegment& s : segments)
        NewBlockRecta(doc->m_penWidth, doc->m_color, doc->m_layerName, CPointd(s.a.x, s.a.y, z),
                      CPointd(s.b.x, s.b.y, z));
    CBloq* block = doc->AddBlock(CPointd(0.0, 0.0, 0.0), m_blockList, NextHatchBlockName(*doc));
    doc->AddInsBl()->m_block = block->m_name;
    doc->DrawInAllViews(1, doc->GetLastEntityRecord());
    RecordAdded(ENT_INSERT);
}

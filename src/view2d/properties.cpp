// Property changes of the selection, the text commands, and the inquiry
// dialogs of the plan view.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/geometry.h"
#include "model/insbl.h"
#include "model/layer.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool Shown(const CDib& record)
{
    return record.m_visible == 1 && record.m_flag == 1;
}

bool AnyRecord(const CDib&)
{
    return true;
}

bool IsText(const CDib& record)
{
    return record.m_type == ENT_TEXT;
}

void NoStep(CDib&, CUndoStep&) {}

// Records a changed step for each selected record that applies passes (step
// sees each as it is made), then erases, changes and redraws each in every
// view; a record that no longer shows is not drawn again.
template <class Applies, class Change, class Step = decltype(&NoStep)>
void ChangeSelected(CRectaView& view, Applies applies, Change change, Step step = &NoStep)
{
    CRectaDoc* doc = view.GetDocument();
    view.MoveHatchesToEnd();
    std::vector<CDib*> records = view.SelectedRecords();
    std::erase_if(records, [&](const CDib* record) { return !applies(*record); });
    for (CDib* record : records) {
        view.AddUndoStep(UNDO_CHANGED, record->m_type, record, doc->FindEntityRecord(record));
        step(*record, *static_cast<CUndoStep*>(view.m_pendingSteps.GetTail()));
    }
    for (CDib* record : records) {
        doc->DrawInAllViews(0, record);
        change(*record);
        if (Shown(*record))
            doc->DrawInAllViews(1, record);
    }
    if (!records.empty())
        doc->SetModifiedFlag();
}

// The font f with the escapement (the angle) of the font it replaces.
LOGFONT KeepingAngle(const LOGFONT& f, const LOGFONT& replaced)
{
    LOGFONT font = f;
    font.lfEscapement = replaced.lfEscapement;
    return font;
}

bool SameFont(const LOGFONT& a, const LOGFONT& b)
{
    static_assert(sizeof(LOGFONT) == 60, "the font record has no padding");
    return std::memcmp(&a, &b, sizeof(LOGFONT)) == 0;
}

// The text parts of a dimension.
template <class Fn>
void ForEachTextPart(const CAcot& dim, Fn fn)
{
    for (POSITION pos = dim.GetFirstPartPosition(); pos;) {
        int type = 0;
        CObject* part = dim.GetNextPart(pos, type);
        if (type == ENT_TEXT && part)
            fn(*static_cast<CText*>(part));
    }
}

// ---- "List object": one row per kind that has a list dialog

template <class T>
const T& As(const CObject* e)
{
    return *static_cast<const T*>(e);
}

void ListLine(const CObject* e, int d)
{
    const auto& l = As<CRecta>(e);
    RunLISRECDlgEx(l.m_layer, l.m_p1, l.m_p2, l.m_thick1, l.m_thick2, d);
}

void ListCircle(const CObject* e, int d)
{
    const auto& c = As<CCirc>(e);
    RunLISCIRDlgEx(c.m_layer, c.m_centre, c.m_rx, c.m_thickness, d);
}

void ListArc(const CObject* e, int d)
{
    const auto& a = As<CArc>(e);
    RunLISARCDlgEx(a.m_layer, a.m_centre, a.m_rx, a.m_start, a.m_end, a.m_thick1, a.m_thick2, d);
}

void ListPoint(const CObject* e, int d)
{
    const auto& p = As<CPunt>(e);
    RunLISPUNDlgEx(p.m_layer, p.m_point, d);
}

void ListText(const CObject* e, int d)
{
    const auto& t = As<CText>(e);
    RunLISTEXDlgEx(t.m_layer, FaceNameOf(t.m_font), t.m_insert, int(t.m_font.lfHeight),
                   -int(t.m_font.lfEscapement) / 10, t.m_justify, d);
}

void ListPolyline(const CObject* e, int d)
{
    const auto& pl = As<CPLine>(e);
    CPointd start, end;
    pl.GetStartPoint(start);
    pl.GetEndPoint(end);
    CObList vertices{ListOwnership::owns};
    double area = 0.0, perimeter = 0.0;
    pl.GetVertices(area, vertices, perimeter);
    RunLISPOLDlgEx(pl.m_layer, start, end, perimeter, area, d);
}

void ListInsert(const CObject* e, int d)
{
    const auto& ins = As<CInsBl>(e);
    RunLISINSDlgEx(ins.m_layer, ins.m_block, ins.m_insert, ins.m_sx, ins.m_sy, ins.m_rotation, d);
}

void ListDimension(const CObject* e, int d)
{
    const auto& dim = As<CAcot>(e);
    std::string face;
    ForEachTextPart(dim, [&](const CText& t) { face = FaceNameOf(t.m_font); });
    const CRecta* line = dim.DefinitionLine();
    RunLISACODlgEx(dim.m_layer, face, line ? line->m_p1 : CPointd(), line ? line->m_p2 : CPointd(), d);
}

void ListFace(const CObject* e, int d)
{
    const auto& f = As<CTdface>(e);
    RunListarTdfDlgEx(f.m_layer, f.m_c, d);
}

struct ListRow {
    int type;
    void (*list)(const CObject* e, int decimals);
};

constexpr ListRow kListRows[] = {
    {ENT_LINE, ListLine},     {ENT_CIRCLE, ListCircle},       {ENT_ARC, ListArc},
    {ENT_POINT, ListPoint},   {ENT_TEXT, ListText},           {ENT_PLINE, ListPolyline},
    {ENT_INSERT, ListInsert}, {ENT_DIMENSION, ListDimension}, {ENT_3DFACE, ListFace},
};

}  // namespace

void CRectaView::ChangeLayer()
{
    CRectaDoc* doc = GetDocument();
    std::string name;
    CLayer* layer = nullptr;
    if (RunCAPASELDlgEx(doc, name, layer) != 1 || !layer)
        return;
    const COLORREF color = layer->m_color;
    const int visible = doc->GetLayerVisibility(name);
    ChangeSelected(*this, AnyRecord, [&](CDib& record) {
        EntityKind(record.m_type).SetLayer(record.m_entity, name, color);
        record.m_visible = visible;
    });
}

void CRectaView::ChangeColor()
{
    CRectaDoc* doc = GetDocument();
    COLORREF chosen = doc->m_color;
    int byLayer = 0;
    if (RunCOLORSELDlgEx(chosen, byLayer) != 1)
        return;
    // The colour a record takes; false when it keeps its own (its layer is missing).
    auto newColor = [&](const CDib& record, COLORREF& color) {
        color = chosen;
        if (byLayer != 1)
            return true;
        const CEntity* pen = EntityKind(record.m_type).Pen(record.m_entity);
        CLayer* layer = nullptr;
        if (!pen || !doc->FindLayer(pen->m_layer, layer))
            return false;
        color = layer->m_color;
        return true;
    };
    auto blockOf = [&](const CDib& record) {
        return record.m_type == ENT_INSERT ? FindBlock(static_cast<const CInsBl*>(record.m_entity)->m_block)
                                           : nullptr;
    };
    // The first step of each block's inserts keeps the block as it was.
    std::vector<const CBloq*> kept;
    auto keepBlock = [&](CDib& record, CUndoStep& step) {
        const CBloq* block = blockOf(record);
        if (block && std::ranges::find(kept, block) == kept.end()) {
            KeepBlockEntities(step, *block);
            kept.push_back(block);
        }
    };
    ChangeSelected(
        *this, AnyRecord,
        [&](CDib& record) {
            COLORREF color = 0;
            if (!newColor(record, color))
                return;
            EntityKind(record.m_type).SetColor(record.m_entity, color);
            if (CBloq* block = blockOf(record))
                block->SetColor(color);
        },
        keepBlock);
}

void CRectaView::ChangeLineType()
{
    int style = 0;
    if (RunTIPOLINDlgEx(style) != 1)
        return;
    ChangeSelected(*this, AnyRecord,
                   [&](CDib& record) { EntityKind(record.m_type).SetLineType(record.m_entity, style); });
}

void CRectaView::ChangeTextHeight()
{
    int height = std::abs(int(GetDocument()->m_textFont.lfHeight));
    if (RunTEXTTAMDlgEx(height) != 1 || height <= 0)
        return;
    ChangeSelected(*this, IsText,
                   [&](CDib& record) { static_cast<CText*>(record.m_entity)->m_font.lfHeight = height; });
}

void CRectaView::ChangeTextFont()
{
    LOGFONT font = GetDocument()->m_textFont;
    COLORREF color = 0;
    if (ChooseTextFont(font, color) != 1)
        return;
    ChangeSelected(*this, IsText, [&](CDib& record) {
        auto* text = static_cast<CText*>(record.m_entity);
        text->m_font = KeepingAngle(font, text->m_font);
        text->SetColor(color);
    });
}

void CRectaView::ChangeText(CObject* text)
{
    CRectaDoc* doc = GetDocument();
    CDib* record = nullptr;
    for (CObject* obj : doc->GetEntityList())
        if (auto* r = static_cast<CDib*>(obj); r->m_type == ENT_TEXT && r->m_entity == text)
            record = r;
    if (!record)
        return;
    auto* t = static_cast<CText*>(text);
    std::string edited = t->m_text;
    if (RunTEXTCAMDlgEx(edited) != 1 || edited == t->m_text)
        return;
    AddUndoStep(UNDO_CHANGED, ENT_TEXT, record, doc->FindEntityRecord(record));
    t->m_text = edited;
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
    doc->UpdateAllViews(nullptr);
}

void CRectaView::ListEntity(int type, CObject* entity)
{
    const auto row = std::ranges::find(kListRows, type, &ListRow::type);
    if (entity && row != std::end(kListRows))
        row->list(entity, GetDocument()->m_coordDecimals);
}

void CRectaView::IdentifyPoint(const CPointd& p)
{
    RunIdentificarDlgEx(p, GetDocument()->m_coordDecimals);
}

void CRectaView::MeasureDistance()
{
    const double d = Distance2D(m_firstPoint.x, m_secondPoint.x, m_firstPoint.y, m_secondPoint.y);
    RunDIST2PDlgEx(d, GetDocument()->m_coordDecimals);
}

void CRectaView::SetDefaultColor()
{
    CRectaDoc* doc = GetDocument();
    COLORREF color = doc->m_color;
    int byLayer = 0;
    if (RunCOLORSELDlgEx(color, byLayer) != 1)
        return;
    CLayer* layer = nullptr;
    if (byLayer == 1)
        color = doc->FindLayer(doc->m_layerName, layer) ? layer->m_color : doc->m_color;
    if (color != doc->m_color) {
        doc->m_color = color;
        doc->SetModifiedFlag();
    }
}

void CRectaView::UpdateDimensionFonts()
{
    CRectaDoc* doc = GetDocument();
    const LOGFONT& dimFont = doc->m_dimFont;
    std::vector<CDib*> changing;
    for (CObject* obj : doc->GetEntityList()) {
        auto* record = static_cast<CDib*>(obj);
        if (record->m_type != ENT_DIMENSION)
            continue;
        bool differs = false;
        ForEachTextPart(*static_cast<CAcot*>(record->m_entity),
                        [&](const CText& t) { differs |= !SameFont(t.m_font, KeepingAngle(dimFont, t.m_font)); });
        if (differs)
            changing.push_back(record);
    }
    for (CDib* record : changing)
        AddUndoStep(UNDO_CHANGED, ENT_DIMENSION, record, doc->FindEntityRecord(record));
    for (CDib* record : changing)
        ForEachTextPart(*static_cast<CAcot*>(record->m_entity),
                        [&](CText& t) { t.m_font = KeepingAngle(dimFont, t.m_font); });
    if (changing.empty())
        return;
    doc->SetModifiedFlag();
    SaveUndoState();
    ClearPendingSteps();
    doc->UpdateAllViews(nullptr);
}

int RunEspesorLineaDlg(CRectaView& view)
{
    CRectaDoc* doc = view.GetDocument();
    if (!doc)
        return -1;
    int width = doc->m_penWidth;
    const int result = RunESPEDIBDlgEx(width);
    if (result == 1)
        ChangeSelected(view, AnyRecord,
                       [&](CDib& record) { EntityKind(record.m_type).SetWidth(record.m_entity, width); });
    return result;
}

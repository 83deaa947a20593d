// The view's file commands: blocks written to and read from drawing files,
// DXF export and import, and the purge of unused blocks and layers.
#include "view2d/rectaview.h"

#include "dialogs/filequestion.h"
#include "dialogs/purgedlg.h"
#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/insbl.h"
#include "view2d/undo.h"

#include <filesystem>

namespace {

constexpr char kDrawingFilter[] = "Drawing Files (*.zpd) | *.zpd ||";
constexpr char kDxfFilter[] = "Drawing Files (*.dxf) | *.dxf ||";

// The host's answer, asked in the drawing's folder, with the default extension
// added to a name typed without one.
std::filesystem::path Ask(CViewHost* host, const CRectaDoc& doc, FileQuestion question)
{
    if (!doc.GetPathName().empty())
        question.folder = std::filesystem::path(doc.GetPathName()).parent_path().string();
    std::filesystem::path path = host ? host->AskFileName(question) : std::string();
    if (!path.empty() && !path.has_extension())
        path += "." + question.defaultExt;
    return path;
}

// What the plan views' undo histories keep out of the drawing still names.
CNamesInUse HeldNames(const CRectaDoc& doc)
{
    CNamesInUse names;
    for (CView* v : doc.GetViews())
        if (const auto* plan = dynamic_cast<const CRectaView*>(v))
            ForEachHeldRecord(*plan, [&](const CDib& record) {
                if (!record.m_entity || !IsEntityType(record.m_type))
                    return;
                if (const CEntity* pen = EntityKind(record.m_type).Pen(record.m_entity))
                    names.layers.insert(pen->m_layer);
                if (record.m_type == ENT_INSERT)
                    names.blocks.insert(static_cast<const CInsBl*>(record.m_entity)->m_block);
            });
    return names;
}

}  // namespace

void CRectaView::OnToolWriteBlock()
{
    CancelCommand();
    m_mode = m_selCount = m_bandState = 0;
    CRectaDoc* doc = GetDocument();
    int index = -1;
    std::string name;
    if (RunSelecDlgEx(*doc, index, name) != 1)
        return;
    CBloq* block = nullptr;
    for (POSITION pos = doc->GetFirstBlockPosition(); pos && index >= 0; --index)
        block = doc->GetNextBlock(pos);
    if (!block || index >= 0)
        return;
    const std::filesystem::path path =
        Ask(m_host, *GetDocument(), {true, "Write Block", "zpd", name, kDrawingFilter, true, ""});
    if (!path.empty())
        WriteBlockToDrawingFile(*doc, path.string(), *block);
}

void CRectaView::OnBlockRead()
{
    CancelCommand();
    m_mode = m_selCount = m_bandState = 0;
    const std::filesystem::path path =
        Ask(m_host, *GetDocument(), {false, "Read Block", "zpd", "*.zpd", kDrawingFilter, false, ""});
    if (path.empty())
        return;
    if (CBloq* block = InsertDrawingFile(*GetDocument(), path.string(), path.stem().string()))
        m_pickedEntity = block;
}

void CRectaView::OnDXFWrite()
{
    CancelCommand();
    CRectaDoc* doc = GetDocument();
    const std::string name = std::filesystem::path(doc->GetTitle()).replace_extension(".dxf").string();
    const std::filesystem::path path =
        Ask(m_host, *GetDocument(), {true, "DXF Write", "dxf", name, kDxfFilter, true, ""});
    if (!path.empty())
        doc->WriteDXF(path.string());
}

void CRectaView::OnDXFRead()
{
    CancelCommand();
    const std::filesystem::path path =
        Ask(m_host, *GetDocument(), {false, "DXF Read", "dxf", "*.dxf", kDxfFilter, false, ""});
    if (!path.empty())
        GetDocument()->ReadDXF(path.string());
}

void CRectaView::OnPurgeBlocks()
{
    CRectaDoc* doc = GetDocument();
    RunPurgaBloqsDlg(*doc, HeldNames(*doc));
}

void CRectaView::OnPurgeLayers()
{
    CRectaDoc* doc = GetDocument();
    RunPurgaCapasDlg(*doc, HeldNames(*doc));
}

#include "doc/drawingblock.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/layer.h"
#include "platform/archive.h"
#include "platform/fileio.h"
#include "platform/msgbox.h"
#include "platform/waitcursor.h"

#include <optional>

namespace {

// The layer an element's entity is on, or null for an element without one.
// The hatch entity (21) keeps its layer in a field of its own: read it here
// once that entity exists.
const std::string* ElementLayer(const CDib& element)
{
    if (!element.m_entity || !IsEntityType(element.m_type) || element.m_type == ENT_HATCH)
        return nullptr;
    return &static_cast<const CEntity*>(element.m_entity)->m_layer;
}


}  // namespace

bool WriteBlockToDrawingFile(CRectaDoc& doc, const std::string& path, CBloq& block)
{
    std::string error;
    {
        CWaitCursor wait;
        block.CalcExtents(doc);
        // The file holds every block the block's inserts need, however deep.
        CollectReferencedBlocks(doc, block.GetEntityList(), block);
        CObList layers{ListOwnership::names};
        for (CObject* obj : block.GetEntityList()) {
            CLayer* layer = nullptr;
            const std::string* name = ElementLayer(*static_cast<const CDib*>(obj));
            if (name && doc.FindLayer(*name, layer) && !layers.Find(layer))
                layers.AddTail(layer);
        }
        CArchive ar;
        try {
            doc.SerializeHeader(ar);
            doc.SerializeSettings(ar);
            for (CPointd corner : {block.m_extMin, block.m_extMax, block.m_extMin, block.m_extMax})
                corner.Serialize(ar);
            // Stored as the drawing's own lists, which the file reads back.
            layers.Serialize(ar, RUNTIME_CLASS(CLayer));
            block.GetEntityList().Serialize(ar, RUNTIME_CLASS(CDib));
            block.GetRefBlockList().Serialize(ar, RUNTIME_CLASS(CBloq));
            CObList attribs{ListOwnership::names};
            for (CObject* obj : block.GetAttribList())
                attribs.AddTail(obj);
            attribs.Serialize(ar, RUNTIME_CLASS(CAttrib));
        } catch (const CArchiveException& e) {
            error = e.m_message;
        }
        if (error.empty())
            ReplaceFile(path, ar.Data(), error);
    }
    if (!error.empty()) {
        AfxMessageBox("The block " + block.m_name + " could not be written to " + path + ": " + error,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

CBloq* InsertDrawingFile(CRectaDoc& doc, const std::string& path, std::string_view name)
{
    const std::string blockName = name.substr(0, 5) == "zp_ac" ? "ZP_AC" : std::string(name);
    if (doc.FindBlock(blockName)) {
        AfxMessageBox("The drawing has a block named " + blockName + " already; " + path + " was not read.",
                      MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    CRectaDoc file;
    if (const std::optional<std::string> error = LoadDrawing(path, file)) {
        AfxMessageBox(*error, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    CWaitCursor wait;
    // Layers the drawing has keep its colour and state.
    for (POSITION pos = file.GetFirstLayerPosition(); pos;) {
        const CLayer* layer = file.GetNextLayer(pos);
        CLayer* found = nullptr;
        if (!doc.FindLayer(layer->m_name, found))
            doc.AddLayer(layer->m_color, layer->m_on)->m_name = layer->m_name;
    }
    AddMissingBlocks(doc, file.GetBlockList());
    CObList entities{ListOwnership::owns};
    while (POSITION pos = file.GetFirstEntityPosition()) {
        entities.AddTail(file.GetEntityRecord(pos));
        file.RemoveEntityRecord(pos);
    }
    CBloq* block = doc.AddBlock(CPointd(), entities);
    block->m_name = blockName;
    block->m_layer = !file.m_layerName.empty() && file.m_layerName[0] == 'Z' ? "ZP" : file.m_layerName;
    for (CObject* obj : file.GetAttribDefList())
        block->AddAttrib(*static_cast<const CAttrib*>(obj));
    block->m_extMin = file.m_extMin;
    block->m_extMax = file.m_extMax;
    CollectReferencedBlocks(doc, block->GetEntityList(), *block);
    doc.CalcBlockExtents();
    return block;
}

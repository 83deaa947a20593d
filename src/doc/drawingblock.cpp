#include "doc/drawingblock.h"

#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/entitykind.h"
#include "model/layer.h"
#include "platform/archive.h"
#include "platform/fileio.h"
#include "platform/msgbox.h"
#include "platform/waitcursor.h"

#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// The layer an element's entity is on, or null for an element without one.
const std::string* ElementLayer(const CDib& element)
{
    if (!element.m_entity || !IsEntityType(element.m_type))
        return nullptr;
    return &static_cast<const CEntity*>(element.m_entity)->m_layer;
}

// The layers and blocks of file that doc lacks; those it has keep its own values.
void AddMissingLayersAndBlocks(CRectaDoc& doc, const CRectaDoc& file)
{
    for (POSITION pos = file.GetFirstLayerPosition(); pos;) {
        const CLayer* layer = file.GetNextLayer(pos);
        CLayer* found = nullptr;
        if (!doc.FindLayer(layer->m_name, found))
            doc.AddLayer(layer->m_color, layer->m_on)->m_name = layer->m_name;
    }
    AddMissingBlocks(doc, const_cast<CRectaDoc&>(file).GetBlockList());
}

// While the file of block is written, the blocks it holds name every block
// they name but block itself, whose entities are the file's own: put back as
// they were when done. The block names itself no more.
class NamesWithout {
public:
    explicit NamesWithout(CBloq& block)
    {
        std::vector<CBloq*> todo{&block};
        std::unordered_set<const CBloq*> seen{&block};
        while (!todo.empty()) {
            CBloq* holder = todo.back();
            todo.pop_back();
            CObList& names = holder->GetRefBlockList();
            for (CObject* obj : names)
                if (auto* named = static_cast<CBloq*>(obj); seen.insert(named).second)
                    todo.push_back(named);
            if (!names.Find(&block))
                continue;
            auto& kept = m_kept.emplace_back(holder, std::make_unique<CObList>(ListOwnership::names));
            for (CObject* obj : names)
                if (obj != &block)
                    kept.second->AddTail(obj);
            names.Swap(*kept.second);
        }
    }
    ~NamesWithout()
    {
        for (auto& [holder, names] : m_kept)
            holder->GetRefBlockList().Swap(*names);
    }
    NamesWithout(const NamesWithout&) = delete;
    NamesWithout& operator=(const NamesWithout&) = delete;

private:
    std::vector<std::pair<CBloq*, std::unique_ptr<CObList>>> m_kept;
};

// The file's own block of the new block's name, if it has one, goes under a
// name of its own, and so do the file's inserts of it: the new block holds
// the file's drawing, which inserts that block, not itself.
void RenameFileBlock(const CRectaDoc& doc, const std::string& name, CObList& entities, CObList& blocks)
{
    std::unordered_set<std::string> taken;
    for (CObject* obj : blocks)
        taken.insert(static_cast<const CBloq*>(obj)->m_name);
    if (!taken.contains(name))
        return;
    std::string fresh;
    for (int n = 1; fresh.empty() || taken.contains(fresh) || doc.FindBlock(fresh); ++n)
        fresh = name + "_" + std::to_string(n);
    auto rename = [&](CObList& list) {
        for (CObject* obj : list) {
            auto* element = static_cast<CDib*>(obj);
            if (element->m_type == ENT_INSERT && element->m_entity)
                if (auto* insert = static_cast<CInsBl*>(element->m_entity); insert->m_block == name)
                    insert->m_block = fresh;
        }
    };
    rename(entities);
    for (CObject* obj : blocks) {
        auto* block = static_cast<CBloq*>(obj);
        rename(block->GetEntityList());
        if (block->m_name == name)
            block->m_name = fresh;
    }
}

// Stores the file WriteBlockToDrawingFile writes.
void StoreBlockDrawing(CArchive& ar, CRectaDoc& doc, CBloq& block)
{
    block.CalcExtents(doc);
    // The file holds every block the block's inserts need, however deep; the
    // block itself is the file's drawing, never one of its blocks.
    CollectReferencedBlocks(doc, block.GetEntityList(), block);
    block.ForgetRefBlock(&block);
    const NamesWithout names(block);
    CObList layers{ListOwnership::names};
    for (CObject* obj : block.GetEntityList()) {
        CLayer* layer = nullptr;
        const std::string* name = ElementLayer(*static_cast<const CDib*>(obj));
        if (name && doc.FindLayer(*name, layer) && !layers.Find(layer))
            layers.AddTail(layer);
    }
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
}

}  // namespace

std::vector<BYTE> BlockDrawingBytes(CRectaDoc& doc, CBloq& block)
{
    CArchive ar;
    StoreBlockDrawing(ar, doc, block);
    return ar.TakeData();
}

bool WriteBlockToDrawingFile(CRectaDoc& doc, const std::string& path, CBloq& block)
{
    std::string error;
    bool written;
    {
        CWaitCursor wait;
        written = StoreToFile(path, kMaxFileBytes, [&](CArchive& ar) { StoreBlockDrawing(ar, doc, block); }, error);
    }
    if (!written) {
        AfxMessageBox("The block " + block.m_name + " could not be written to " + path + ": " + error,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

std::string ReadDrawingHeader(CArchive& ar)
{
    CRectaDoc scratch;
    scratch.SerializeHeader(ar);
    scratch.SerializeSettings(ar);
    return scratch.m_layerName;
}

CBloq* InsertDrawingFile(CRectaDoc& doc, const std::string& path, std::string_view name)
{
    const std::string blockName = name.substr(0, 5) == "zp_ac" ? "ZP_AC" : std::string(name);
    if (doc.FindBlock(blockName)) {
        AfxMessageBox("The drawing has a block named " + blockName + " already; " + path + " was not read.",
                      MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    std::vector<BYTE> bytes;
    if (const std::optional<std::string> error = ReadDrawingFileBytes(path, bytes)) {
        AfxMessageBox(*error, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    CWaitCursor wait;
    // Read whole before anything is added; the embedded objects after the lists are not read.
    std::string fileLayer;
    CPointd extMin, extMax;
    CObList layers{ListOwnership::owns}, entities{ListOwnership::owns}, blocks{ListOwnership::owns},
        attribs{ListOwnership::owns};
    std::vector<std::unique_ptr<CObject>> unlisted;
    try {
        CArchive ar(bytes);
        fileLayer = ReadDrawingHeader(ar);
        CPointd window;
        window.Serialize(ar);
        window.Serialize(ar);
        extMin.Serialize(ar);
        extMax.Serialize(ar);
        layers.Serialize(ar, RUNTIME_CLASS(CLayer));
        entities.Serialize(ar, RUNTIME_CLASS(CDib));
        blocks.Serialize(ar, DrawingListClass("CBloq"));
        attribs.Serialize(ar, DrawingListClass("CAttrib"));
        unlisted = ar.TakeUnowned();
    } catch (const CArchiveException& e) {
        AfxMessageBox(DamagedDrawingMessage(path, e.what()), MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    RenameFileBlock(doc, blockName, entities, blocks);
    for (CObject* obj : layers) {
        const auto* layer = static_cast<const CLayer*>(obj);
        CLayer* found = nullptr;
        if (!doc.FindLayer(layer->m_name, found))
            doc.AddLayer(layer->m_color, layer->m_on)->m_name = layer->m_name;
    }
    CBloq* block = doc.AddBlock(CPointd(), entities, blockName);
    for (CObject* obj : attribs)
        block->AddAttrib(*static_cast<const CAttrib*>(obj));
    block->m_layer = !fileLayer.empty() && fileLayer[0] == 'Z' ? "ZP" : fileLayer;
    block->m_extMin = extMin;
    block->m_extMax = extMax;
    AddMissingBlocks(doc, blocks);
    CollectReferencedBlocks(doc, block->GetEntityList(), *block);
    doc.CalcBlockExtents();
    return block;
}

std::vector<BYTE> RecordsToDrawingBytes(CRectaDoc& doc, const std::vector<const CDib*>& records)
{
    CObList copies{ListOwnership::owns};
    for (const CDib* record : records)
        if (CObject* copy = DuplicateEntity(record->m_type, record->m_entity))
            copies.AddTail(new CDib(record->m_type, copy, record->m_visible));
    if (copies.IsEmpty())
        return {};
    CBloq carrier(0, 0, doc.m_layerName, CPointd(), copies);
    return BlockDrawingBytes(doc, carrier);
}

std::vector<CDib*> PasteDrawingBytes(CRectaDoc& doc, std::span<const BYTE> bytes, std::string& error)
{
    CRectaDoc file;
    if (const std::optional<std::string> damage = ReadDrawingBytes(bytes, file)) {
        error = *damage;
        return {};
    }
    AddMissingLayersAndBlocks(doc, file);
    std::vector<CDib*> added;
    while (POSITION pos = file.GetFirstEntityPosition()) {
        CDib* record = file.GetEntityRecord(pos);
        file.RemoveEntityRecord(pos);
        const CEntity* pen = IsEntityType(record->m_type) ? EntityKind(record->m_type).Pen(record->m_entity) : nullptr;
        record->m_visible = pen ? doc.GetLayerVisibility(pen->m_layer) : 0;
        record->m_flag = 1;
        doc.AppendEntityRecord(record);
        added.push_back(record);
    }
    if (!added.empty())
        doc.SetModifiedFlag();
    return added;
}

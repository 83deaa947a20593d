#include "dialogs/purgedlg.h"

#include "dialogs/dlgform.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/entitykind.h"
#include "model/insbl.h"

#include <algorithm>

namespace {

const CEntity* PenOf(const CDib& record)
{
    return record.m_entity && IsEntityType(record.m_type) ? EntityKind(record.m_type).Pen(record.m_entity) : nullptr;
}

// Calls f with every record of the drawing and of its blocks.
template <class F>
void ForEachRecord(const CRectaDoc& doc, F&& f)
{
    for (CObject* obj : doc.GetEntityList())
        f(*static_cast<const CDib*>(obj));
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        for (CObject* obj : doc.GetNextBlock(pos)->GetEntityList())
            f(*static_cast<const CDib*>(obj));
}

// One check box a name, "item<i>"; OK gives the indices ticked.
int RunPurgeForm(const char* templateName, const char* title, const char* none,
                 const std::vector<std::string>& names, std::vector<std::size_t>& ticked)
{
    Form form(templateName, title);
    if (names.empty()) {
        form.AddText("none", none);
        form.showOnly = true;
        return RunForm(form);
    }
    form.fields.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        form.AddCheck("item" + std::to_string(i), names[i], false);
    const int result = RunForm(form);
    // The check boxes are the form's fields, in order.
    if (result == 1)
        for (std::size_t i = 0; i < names.size(); ++i)
            if (form.fields[i].checked)
                ticked.push_back(i);
    return result;
}

}  // namespace

int RunSelecDlgEx(const CRectaDoc& doc, int& index, std::string& name)
{
    std::vector<std::string> names;
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        names.push_back(doc.GetNextBlock(pos)->m_name);
    Form form("BLOQSEL", "Write Block");
    form.AddList("block", "Blocks:", names, names.empty() ? -1 : 0);
    if (RunForm(form) != 1)
        return 2;
    const int chosen = form.Index("block");
    if (chosen < 0 || chosen >= int(names.size()))
        return 2;
    index = chosen;
    name = names[std::size_t(chosen)];
    return 1;
}

std::vector<CBloq*> UnusedBlocks(const CRectaDoc& doc, const CNamesInUse& inUse)
{
    std::set<std::string> used = inUse.blocks;
    used.insert({doc.m_markName1, doc.m_markName2, doc.m_thirdName});
    ForEachRecord(doc, [&](const CDib& record) {
        if (record.m_type == ENT_INSERT && record.m_entity)
            used.insert(static_cast<const CInsBl*>(record.m_entity)->m_block);
    });
    std::vector<CBloq*> unused;
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        if (CBloq* block = doc.GetNextBlock(pos); !used.count(block->m_name))
            unused.push_back(block);
    return unused;
}

std::vector<std::string> UnusedLayers(const CRectaDoc& doc, const CNamesInUse& inUse)
{
    std::set<std::string> used = inUse.layers;
    used.insert({doc.m_layerName, "ZP"});
    ForEachRecord(doc, [&](const CDib& record) {
        if (const CEntity* pen = PenOf(record))
            used.insert(pen->m_layer);
    });
    auto attribs = [&](const CObList& list) {
        for (CObject* obj : list)
            used.insert(static_cast<const CAttrib*>(obj)->m_text.m_layer);
    };
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
        const CBloq* block = doc.GetNextBlock(pos);
        used.insert(block->m_layer);
        attribs(block->GetAttribList());
    }
    attribs(const_cast<CRectaDoc&>(doc).GetAttribDefList());
    std::vector<std::string> unused;
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;)
        if (const CLayer* layer = doc.GetNextLayer(pos); !used.count(layer->m_name))
            unused.push_back(layer->m_name);
    return unused;
}

int RunPurgaBloqsDlg(CRectaDoc& doc, const CNamesInUse& inUse)
{
    const std::vector<CBloq*> blocks = UnusedBlocks(doc, inUse);
    std::vector<std::string> names;
    for (const CBloq* block : blocks)
        names.push_back(block->m_name);
    std::vector<std::size_t> ticked;
    const int result = RunPurgeForm("BLOQUESMULT", "PURGE BLOCKS", "No block of the drawing is unused.", names, ticked);
    std::vector<CBloq*> purged;
    for (std::size_t i : ticked)
        purged.push_back(blocks[i]);
    doc.RemoveBlocks(purged);
    if (!ticked.empty())
        doc.SetModifiedFlag();
    return result;
}

int RunPurgaCapasDlg(CRectaDoc& doc, const CNamesInUse& inUse)
{
    const std::vector<std::string> names = UnusedLayers(doc, inUse);
    std::vector<std::size_t> ticked;
    const int result = RunPurgeForm("CAPASMULT", "PURGE LAYERS", "No layer of the drawing is unused.", names, ticked);
    for (std::size_t i : ticked) {
        // The first layer of the name; a drawing may hold two of one name.
        for (POSITION pos = doc.GetFirstLayerPosition(); pos;) {
            const POSITION here = pos;
            if (doc.GetNextLayer(pos)->m_name == names[i]) {
                doc.RemoveLayerAt(here);
                break;
            }
        }
    }
    if (!ticked.empty())
        doc.SetModifiedFlag();
    return result;
}

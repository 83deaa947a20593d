// The drawing's block list.
#include "doc/rectadoc.h"

#include "model/bloq.h"

#include <utility>
#include <vector>

CBloq* CRectaDoc::FindBlock(std::string_view name) const
{
    for (CObject* obj : m_blocks) {
        auto* block = static_cast<CBloq*>(obj);
        if (block->m_name == name)
            return block;
    }
    return nullptr;
}

CBloq* CRectaDoc::AddBlock(const CPointd& base, CObList& entities)
{
    auto* block = new CBloq(m_penWidth, m_color, m_layerName, base, entities);
    m_blocks.AddTail(block);
    block->CalcExtents(*this);
    SetModifiedFlag();
    return block;
}

CBloq* CRectaDoc::GetNextBlock(POSITION& pos) const
{
    return static_cast<CBloq*>(m_blocks.GetNext(pos));
}

POSITION CRectaDoc::FindBlockPosition(const CBloq* block) const
{
    return m_blocks.Find(block);
}

void CRectaDoc::RemoveBlockAt(POSITION pos)
{
    const auto* removed = static_cast<const CBloq*>(m_blocks.GetAt(pos));
    for (CObject* obj : m_blocks)
        static_cast<CBloq*>(obj)->ForgetRefBlock(removed);
    for (const auto& obj : m_unlistedBlocks)
        static_cast<CBloq*>(obj.get())->ForgetRefBlock(removed);
    m_blocks.DeleteAt(pos);
}

void CRectaDoc::DeleteBlocks()
{
    m_blocks.DeleteAll();
    m_unlistedBlocks.clear();
}

void CRectaDoc::CalcBlockExtents()
{
    MeasureBlockBoxes(*this, m_blocks);
}

void AddMissingBlocks(CRectaDoc& doc, const CObList& blocks)
{
    std::vector<std::pair<const CBloq*, CBloq*>> added;  // original, copy
    for (CObject* obj : blocks) {
        auto* block = static_cast<const CBloq*>(obj);
        if (doc.FindBlock(block->m_name))
            continue;
        CBloq* copy = block->Clone();
        doc.GetBlockList().AddHead(copy);
        added.emplace_back(block, copy);
    }
    for (auto [original, copy] : added)
        for (POSITION pos = original->GetFirstRefBlockPosition(); pos;)
            if (CBloq* named = doc.FindBlock(original->GetNextRefBlock(pos)->m_name))
                copy->GetRefBlockList().AddTail(named);
    // Inserts of the drawing's blocks may name the new ones.
    if (!added.empty())
        doc.CalcBlockExtents();
}

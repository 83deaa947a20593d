// The drawing's block list.
#include "doc/rectadoc.h"

#include "model/bloq.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

void CRectaDoc::BlocksChanged() const
{
    static std::atomic<std::uint64_t> last{0};
    m_blockVersion = ++last;
}

CBloq* CRectaDoc::FindBlock(std::string_view name) const
{
    if (m_blockIndexStale) {
        BlocksChanged();
        m_blockIndex.clear();
        m_blockNamesRepeat = false;
        for (CObject* obj : m_blocks) {
            auto* block = static_cast<CBloq*>(obj);
            m_blockNamesRepeat |= !m_blockIndex.emplace(block->m_name, block).second;
        }
        m_blockIndexStale = false;
    }
    const auto found = m_blockIndex.find(std::string(name));
    if (found == m_blockIndex.end())
        return nullptr;
    if (found->second->m_name != name) {
        // Renamed behind the list's back: index the names as they are now.
        m_blockIndexStale = true;
        return FindBlock(name);
    }
    return found->second;
}

void CRectaDoc::IndexBlock(CBloq* block, bool atHead)
{
    const auto [it, added] = m_blockIndex.try_emplace(block->m_name, block);
    if (!added) {
        m_blockNamesRepeat = true;
        if (atHead)
            it->second = block;
    }
}

CBloq* CRectaDoc::AddBlock(const CPointd& base, CObList& entities, std::string_view name)
{
    auto block = std::make_unique<CBloq>(m_penWidth, m_color, m_layerName, base, entities);
    block->m_name = name;
    AdoptBlock(block.get(), false);
    CBloq* added = block.release();
    added->CalcExtents(*this);
    SetModifiedFlag();
    return added;
}

void CRectaDoc::AdoptBlock(CBloq* block, bool atHead)
{
    BlocksChanged();
    const POSITION pos = atHead ? m_blocks.AddHead(block) : m_blocks.AddTail(block);
    // A block the index cannot take is not taken at all.
    try {
        if (!m_blockIndexStale)
            IndexBlock(block, atHead);
    } catch (...) {
        m_blocks.RemoveAt(pos);
        throw;
    }
}

void CRectaDoc::ReserveBlocks(std::size_t more)
{
    if (!m_blockIndexStale)
        m_blockIndex.reserve(m_blockIndex.size() + more);
}

CBloq* CRectaDoc::GetNextBlock(POSITION& pos) const
{
    return static_cast<CBloq*>(m_blocks.GetNext(pos));
}

void CRectaDoc::RemoveBlocks(const std::vector<CBloq*>& blocks)
{
    if (blocks.empty())
        return;
    std::vector<const CObject*> gone(blocks.begin(), blocks.end());
    std::sort(gone.begin(), gone.end());
    auto isGone = [&](const CObject* obj) { return std::binary_search(gone.begin(), gone.end(), obj); };
    auto forget = [&](CObject* obj) {
        CObList& refs = static_cast<CBloq*>(obj)->GetRefBlockList();
        for (POSITION pos = refs.GetHeadPosition(); pos;) {
            const POSITION here = pos;
            if (isGone(refs.GetNext(pos)))
                refs.RemoveAt(here);
        }
    };
    BlocksChanged();
    for (const auto& obj : m_unlistedBlocks)
        forget(obj.get());
    // Removing most of the list: the rest is indexed anew on the next lookup.
    if (2 * gone.size() >= std::size_t(m_blocks.GetCount())) {
        m_blockIndex.clear();
        m_blockIndexStale = true;
    }
    for (POSITION pos = m_blocks.GetHeadPosition(); pos;) {
        const POSITION here = pos;
        auto* block = static_cast<CBloq*>(m_blocks.GetNext(pos));
        if (!isGone(block)) {
            forget(block);
            continue;
        }
        const auto it = m_blockIndexStale ? m_blockIndex.end() : m_blockIndex.find(block->m_name);
        if (it != m_blockIndex.end() && it->second == block) {
            m_blockIndex.erase(it);
            // A later block of the name now comes first.
            m_blockIndexStale |= m_blockNamesRepeat;
        }
        m_blocks.DeleteAt(here);
    }
}

void CRectaDoc::DeleteBlocks()
{
    BlocksChanged();
    m_blocks.DeleteAll();
    m_unlistedBlocks.clear();
    m_blockIndex.clear();
    m_blockIndexStale = false;
    m_blockNamesRepeat = false;
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
        doc.AdoptBlock(copy, true);
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

// Loads untrusted bytes as the drawing file's object lists (layers, elements
// and, when bytes remain, blocks) and frees whatever was read. Shared by the
// fuzz target and the regression tests of its finds.
#pragma once

#include "model/bloq.h"
#include "model/dib.h"
#include "model/layer.h"
#include "platform/archive.h"
#include "platform/oblist.h"

#include <cstddef>

// True when the bytes loaded as a layer list and an element list.
inline bool LoadObjectLists(const BYTE* data, std::size_t size)
{
    if (size == 0)
        return false;
    CArchive ar(std::span<const BYTE>(data + 1, size - 1));
    ar.SetOldFormat(data[0] & 1);
    CObList layers(ListOwnership::owns), elements(ListOwnership::owns), blocks(ListOwnership::owns);
    bool ok = true;
    try {
        layers.Serialize(ar, RUNTIME_CLASS(CLayer));
        elements.Serialize(ar, RUNTIME_CLASS(CDib));
        if (ar.Remaining() > 0)
            blocks.Serialize(ar, RUNTIME_CLASS(CBloq));
    } catch (const CArchiveException&) {
        ok = false;
    }
    return ok;
}

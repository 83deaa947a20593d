// The block choice for writing a block out, and the purge of blocks and
// layers that nothing in the drawing uses.
#pragma once

#include <set>
#include <string>
#include <vector>

class CBloq;
class CRectaDoc;

// "BLOQSEL": the drawing's blocks in a list; on OK with a block chosen, its
// index in the block list and its name, and 1. Cancel, or a drawing without
// blocks, gives 2 with nothing changed.
int RunSelecDlgEx(const CRectaDoc& doc, int& index, std::string& name);

// Names that records outside the drawing's lists still use (those an undo
// history can bring back), kept from the purge.
struct CNamesInUse {
    std::set<std::string> blocks;
    std::set<std::string> layers;
};

// The blocks no insert names, of the drawing or of any block, nor the
// dimension settings, nor inUse; in list order.
std::vector<CBloq*> UnusedBlocks(const CRectaDoc& doc, const CNamesInUse& inUse);
// The layers no entity, block entity, block or attribute names, nor inUse;
// the current layer and "ZP" are never among them. In list order.
std::vector<std::string> UnusedLayers(const CRectaDoc& doc, const CNamesInUse& inUse);

// "BLOQUESMULT" and "CAPASMULT": a check box for each unused block (layer);
// OK removes the ticked ones and marks the drawing modified when any went.
int RunPurgaBloqsDlg(CRectaDoc& doc, const CNamesInUse& inUse);
int RunPurgaCapasDlg(CRectaDoc& doc, const CNamesInUse& inUse);

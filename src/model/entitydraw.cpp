#include "model/entitydraw.h"

#include "platform/archive.h"

void SerializeExtrusion(CArchive& ar, int& mode, CPointd* refPoint, CPointd& dir)
{
    if (ar.IsStoring()) {
        // The file keeps 16 bits of the mode; they say whether a direction follows.
        const WORD stored = WORD(mode);
        ar << stored;
        if (stored == EXTRUSION_THICK) {
            if (refPoint)
                refPoint->Serialize(ar);
            ar << dir.x << dir.y << dir.z;
        }
        return;
    }
    WORD w;
    ar >> w;
    mode = w;
    if (mode == EXTRUSION_THICK) {
        if (refPoint)
            refPoint->Serialize(ar);
        ar >> dir.x >> dir.y >> dir.z;
    } else {
        dir = CPointd(0.0, 0.0, 1.0);
    }
}

#include "model/entitydraw.h"

#include "platform/archive.h"

void SerializeExtrusion(CArchive& ar, int& mode, CPointd* refPoint, CPointd& dir)
{
    if (ar.IsStoring()) {
        ar << WORD(mode);
        if (mode == EXTRUSION_THICK) {
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

#include "model/pointd.h"

#include "platform/archive.h"

IMPLEMENT_SERIAL(CPointd, CObject, 1)

void CPointd::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << x << y << z;
    } else {
        ar >> x >> y;
        if (!ar.IsOldFormat())
            ar >> z;
    }
}

#include "model/elevation.h"

#include "model/circ.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/transform.h"

#include <algorithm>

bool SetEntityElevation(int type, CObject* entity, double z)
{
    switch (type) {
    case ENT_LINE: {
        auto& line = *static_cast<CRecta*>(entity);
        const double lift = z - std::min(line.m_p1.z, line.m_p2.z);
        line.m_p1.z += lift;
        line.m_p2.z += lift;
        return true;
    }
    case ENT_CIRCLE: static_cast<CCirc*>(entity)->m_centre.z = z; return true;
    case ENT_ARC: static_cast<CArc*>(entity)->m_centre.z = z; return true;
    case ENT_POINT: static_cast<CPunt*>(entity)->m_point.z = z; return true;
    case ENT_INSERT: static_cast<CInsBl*>(entity)->m_insert.z = z; return true;
    case ENT_PLINE: {
        auto& pline = *static_cast<CPLine*>(entity);
        CPointd start;
        if (pline.GetStartPoint(start))
            MovePLine(pline, start, CPointd(start.x, start.y, z));
        return true;
    }
    case ENT_3DFACE: {
        auto& face = *static_cast<CTdface*>(entity);
        double lowest = face.m_c[0].z;
        for (const CPointd& c : face.m_c)
            lowest = std::min(lowest, c.z);
        for (CPointd& c : face.m_c)
            c.z += z - lowest;
        return true;
    }
    default: return false;
    }
}

bool SetEntityThickness(int type, CObject* entity, double t)
{
    switch (type) {
    case ENT_LINE: {
        auto& line = *static_cast<CRecta*>(entity);
        line.m_thick1 = line.m_thick2 = t;
        return true;
    }
    case ENT_CIRCLE: static_cast<CCirc*>(entity)->m_thickness = t; return true;
    case ENT_ARC: {
        auto& arc = *static_cast<CArc*>(entity);
        arc.m_thick1 = arc.m_thick2 = t;
        return true;
    }
    case ENT_PLINE:
        for (CObject* obj : static_cast<CPLine*>(entity)->m_segments) {
            auto* segment = static_cast<CDib*>(obj);
            if (segment->m_type == ENT_LINE)
                SetEntityThickness(ENT_LINE, segment->m_entity, t);
            else if (segment->m_type == ENT_ARC)
                static_cast<CArc*>(segment->m_entity)->m_thick1 = t;
        }
        return true;
    default: return false;
    }
}

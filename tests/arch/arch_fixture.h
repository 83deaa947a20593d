// A drawing with one plan view for the generators, with counts by kind and layer.
#pragma once

#include "model/dib.h"
#include "model/entity.h"
#include "model/recta.h"
#include "view2d/view_fixture.h"

#include <string_view>

class ArchTest : public ViewTest {
protected:
    // Records of the type (any when 0) on the layer (any when empty).
    int Count(int type = 0, std::string_view layer = {}) const
    {
        int n = 0;
        for (CObject* obj : doc.GetEntityList()) {
            const auto* dib = static_cast<const CDib*>(obj);
            const auto* e = dynamic_cast<const CEntity*>(dib->m_entity);
            n += (type == 0 || dib->m_type == type) && (layer.empty() || (e && e->m_layer == layer));
        }
        return n;
    }
    template <class T>
    T* Last() const
    {
        return static_cast<T*>(doc.GetLastEntityRecord()->m_entity);
    }
    // A line on "WALLS" with no undo step.
    POSITION WallLine(double x1, double y1, double x2, double y2)
    {
        CRecta* l = doc.AddRecta();
        l->m_layer = "WALLS";
        l->m_p1 = CPointd(x1, y1);
        l->m_p2 = CPointd(x2, y2);
        return doc.GetLastEntityPosition();
    }
};

// The drawing-list element: an entity type code, the entity and two words.
#pragma once

#include "model/entity.h"

class CDib : public CObject {
    DECLARE_SERIAL(CDib)
public:
    CDib() = default;
    CDib(int type, CObject* entity) : m_type(type), m_entity(entity) {}
    CDib(int type, CObject* entity, int visible) : m_type(type), m_entity(entity), m_visible(visible) {}
    // Leaves the entity alone: whoever removes an element frees its entity first.
    ~CDib() override = default;

    // type, visible, flag as WORDs, then the entity's own record.
    void Serialize(CArchive& ar) override;

    int m_type = 0;
    CObject* m_entity = nullptr;
    int m_visible = 1;  // 1: drawn by the plan views
    int m_flag = 1;     // 1 in every element the system makes
};

// Frees an element's entity (with any parts it owns), then the element.
void DestroyElement(CDib* dib);

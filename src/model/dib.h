// The drawing-list element: an entity type code, the entity and two words.
#pragma once

#include "model/entity.h"

#include <cstdint>

class CDib : public CObject {
    DECLARE_SERIAL(CDib)
public:
    CDib() = default;
    CDib(int type, CObject* entity) : m_type(type), m_entity(entity) {}
    CDib(int type, CObject* entity, int visible) : m_type(type), m_entity(entity), m_visible(visible) {}
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;
    // The element owns its entity (and the entity its parts): both go together.
    ~CDib() override;

    // type, visible, flag as WORDs, then the entity's own record.
    void Serialize(CArchive& ar) override;
    // The entity, with its type code in type.
    CObject* Entity(int& type) const
    {
        type = m_type;
        return m_entity;
    }

    int m_type = 0;
    CObject* m_entity = nullptr;
    int m_visible = 1;  // 1: drawn by the plan views
    int m_flag = 1;     // 1 in every element the system makes

    // Names this element for as long as the process runs, never reused, so a
    // handle held elsewhere can be checked without touching a freed element.
    const std::uint64_t m_serial = NextSerial();

    // Elements alive now, so a check can see that every element is freed once.
    static std::int64_t LiveCount();

private:
    // A new serial; the element counts as alive from here to its destructor.
    static std::uint64_t NextSerial();
};

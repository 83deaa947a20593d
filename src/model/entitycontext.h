// What entities need of the drawing they lie in: its blocks by name and the
// size at which points show. The document provides it.
#pragma once

#include <string_view>

class CBloq;

class CEntityContext {
public:
    // The first block of the drawing named exactly name, or null.
    virtual CBloq* FindBlock(std::string_view name) const = 0;
    // The height and width of the cross a point entity shows as.
    virtual double PointHeight() const = 0;

protected:
    CEntityContext() = default;
    CEntityContext(const CEntityContext&) = default;
    CEntityContext& operator=(const CEntityContext&) = default;
    ~CEntityContext() = default;
};

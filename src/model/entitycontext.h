// What entities need of the drawing they lie in: its blocks by name, the
// size at which points show, and how hatches and bitmaps show. The document
// provides it.
#pragma once

#include <cstdint>
#include <string_view>

class CBloq;
struct LOGFONT;

class CEntityContext {
public:
    // The first block of the drawing named exactly name, or null.
    virtual CBloq* FindBlock(std::string_view name) const = 0;
    // Changes, to a value no drawing had before, whenever a lookup by name
    // might find another block; 0 when lookups are not to be remembered.
    virtual std::uint64_t BlockListVersion() const { return 0; }
    // The height and width of the cross a point entity shows as.
    virtual double PointHeight() const = 0;
    // True when hatches fill their area; false when each shows a marker at its seed.
    virtual bool FillsHatches() const = 0;
    // True when bitmaps show their picture; false when they show their frame and file name.
    virtual bool ShowsBitmaps() const = 0;
    // The font of a bitmap's file name shown in place of its picture.
    virtual const LOGFONT& LabelFont() const = 0;

protected:
    CEntityContext() = default;
    CEntityContext(const CEntityContext&) = default;
    CEntityContext& operator=(const CEntityContext&) = default;
    ~CEntityContext() = default;
};

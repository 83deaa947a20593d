// A named layer with its colour and on/off state.
#pragma once

#include "platform/object.h"

#include <string>
#include <string_view>

// The name the last entity or layer dialog used; a new layer takes it.
// Holds at most kLastLayerNameMax bytes; longer names are cut there.
constexpr std::size_t kLastLayerNameMax = 23;
void SetLastLayerName(std::string_view name);
const std::string& GetLastLayerName();

class CLayer : public CObject {
    DECLARE_SERIAL(CLayer)
public:
    CLayer() = default;
    // Named after the last layer name put aside.
    CLayer(COLORREF color, int on);

    // name (string), colour (DWORD), on (WORD).
    void Serialize(CArchive& ar) override;

    std::string m_name;
    COLORREF m_color = 0;
    int m_on = 1;
};

// A drawing's lines as segments to a millionth, either end first.
#pragma once

#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/recta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>
#include <tuple>

using Seg = std::tuple<long long, long long, long long, long long>;

inline Seg S(double x1, double y1, double x2, double y2)
{
    auto r = [](double v) { return std::llround(v * 1e6); };
    Seg a{r(x1), r(y1), r(x2), r(y2)}, b{r(x2), r(y2), r(x1), r(y1)};
    return std::min(a, b);
}

// The drawing's lines; each must lie on the layer when one is named.
inline std::multiset<Seg> Lines(const CRectaDoc& doc, std::string_view layer = {})
{
    std::multiset<Seg> out;
    for (CObject* obj : doc.GetEntityList()) {
        const auto* dib = static_cast<const CDib*>(obj);
        if (dib->m_type != ENT_LINE)
            continue;
        const auto* l = static_cast<const CRecta*>(dib->m_entity);
        if (!layer.empty()) {
            EXPECT_EQ(l->m_layer, layer);
        }
        out.insert(S(l->m_p1.x, l->m_p1.y, l->m_p2.x, l->m_p2.y));
    }
    return out;
}

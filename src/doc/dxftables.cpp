#include "doc/dxftables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr COLORREF kPureColours[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};

// Line types by pen style.
constexpr std::string_view kLineTypes[] = {"CONTINUOUS", "DASHED", "DASHDOT", "CENTER"};

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

}  // namespace

COLORREF DXFColorToRGB(int number)
{
    return number >= 1 && number <= 6 ? kPureColours[number - 1] : 0;
}

int RGBToDXFColor(COLORREF colour)
{
    const auto* found = std::find(std::begin(kPureColours), std::end(kPureColours), colour);
    return found == std::end(kPureColours) ? 7 : int(found - std::begin(kPureColours)) + 1;
}

bool DXFLineTypeCode(std::string_view name, int& style)
{
    for (int s = 0; s < int(std::size(kLineTypes)); ++s)
        if (name.starts_with(kLineTypes[s])) {
            style = s;
            return true;
        }
    return false;
}

const char* PenStyleToDXFLineType(int style)
{
    return style >= 1 && style < int(std::size(kLineTypes)) ? kLineTypes[style].data() : nullptr;
}

double ArcSweep(double start, double end)
{
    constexpr double kTurn = 2.0 * 3.14159265358979323846;
    double sweep = std::fmod(end - start, kTurn);
    if (sweep <= 0.0)
        sweep += kTurn;
    return sweep;
}

std::string DxfNameKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        c = Upper(c);
    return key;
}

bool SameDxfName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Upper(x) == Upper(y);
           });
}

// What the DXF reader and writer share: colour numbers, line types and the
// comparison of names, which DXF makes without regard to case.
#pragma once

#include "platform/types.h"

#include <string>
#include <string_view>

// 1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta; any other number black.
COLORREF DXFColorToRGB(int number);
// The six pure colours give 1 to 6, any other colour 7.
int RGBToDXFColor(COLORREF colour);

// Sets style from a line-type name that begins with CONTINUOUS (0), DASHED
// (1), DASHDOT (2) or CENTER (3), in that case; false, style untouched, for
// any other name.
bool DXFLineTypeCode(std::string_view name, int& style);
// The line type a pen style is written with; null for solid and unknown styles.
const char* PenStyleToDXFLineType(int style);

// Radians of an arc from start counter-clockwise to end, in (0, 2π]: equal
// angles make a full turn.
double ArcSweep(double start, double end);

// The name in upper case (ASCII letters only), the key DXF compares names by.
std::string DxfNameKey(std::string_view name);
bool SameDxfName(std::string_view a, std::string_view b);

// Picking and window selection of hatches and bitmaps.
#pragma once

#include "model/geometry.h"
#include "model/pointd.h"

class CHatch;
class CBmp;

// True with distance 0 when p lies inside the bitmap's rectangle; else dist is untouched.
bool PickDistBmp(const CBmp& bmp, const CPointd& p, double& dist);
// The seed inside the window's box and inside the window, whatever the mode.
bool HatchInSelWindow(const CHatch& hatch, const Pt2 (&q)[4], int mode);
// The rectangle's four sides as lines: crossing passes on any side, window needs all four.
bool BmpInSelWindow(const CBmp& bmp, const Pt2 (&q)[4], int mode);

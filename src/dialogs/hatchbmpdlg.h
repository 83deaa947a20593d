// The dialogs of the raster hatch, bitmap and region commands.
#pragma once

#include "platform/types.h"

#include <array>
#include <string>

class CHatch;

// The custom colours the colour dialog offers: black, red, green, blue,
// yellow, cyan, magenta, then white nine times.
extern const std::array<COLORREF, 16> kCustomColours;

// "COLOR": the colour chooser, started from colour, offering the custom
// colours and the system colour dialog. The colour changes only on OK.
int RunColorDlg(COLORREF& colour);
// "PREVHT": the bitmap-hatch browser. A picked thumbnail becomes the hatch's
// pattern and gives 1; otherwise the hatch is unchanged and the form's
// result (2 Cancel) is returned.
int RunPrevHtDlgEx(CHatch& hatch);
// "FICH_PREV_BM" ("Bitmaps Files Preview (*.bmp)"): a BMP file with a
// preview, and the width and height of its rectangle in drawing units, whole
// units from 1 to 65535 as the drawing file holds them. 1 and the three
// values on OK with a file named; 0 on OK without one.
int RunBitmapDlgEx(std::string& file, double& width, double& height);

// Parameter dialogs of the wall, door and window tools. Results 1 OK,
// 2 Cancel, -1 without a document; values change only on OK.
#pragma once

class CRectaDoc;

// "REGRUESM": the wall thickness (offset distance), greater than 0.
int RunRegruesaDlg(double& wallOffset);
// "PARPUERT2": door insert mode (word 2), frame and leaf thickness, width and
// 3D height (reals 2, 3, 4, 8).
int RunSimpleHojaDlg(CRectaDoc* doc);
// "HOJAS": as the door dialog with the two leaf widths (reals 4 and 7).
int RunHOJASDlg(CRectaDoc* doc);
// "PARVENT2": window words 3 to 6 (wall mode, yes/no option, insert mode,
// leaves) and reals 5, 6, 9, 10 (frame thickness, width, sill, height).
int RunSTANDARDDlg(CRectaDoc* doc);
